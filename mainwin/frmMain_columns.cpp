// The main window's design-condition controls, route list and calculation
// modes, the column list with its editing commands, and the whole-project
// display.
#include "mainwin/frmMain.h"

#include "mainwin/scope_flags.h"

#include "drawing/nm_diagram.h"
#include "drawing/print_out.h"
#include "engine/kv.h"
#include "model/base_data.h"
#include "model/column_check.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/rebar_handover.h"
#include "model/rebar_zone.h"
#include "model/stress.h"
#include "model/texts.h"
#include "platform/qt/grid/flexgrid.h"
#include "platform/qt/picture_box.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"
#include "resources/strings/res_strings.h"
#include "widgets/fitted_text.h"

#include <QCheckBox>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>

#include <exception>
#include <functional>
#include <utility>

using namespace model;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool SMode() { return gCond.SMode != kFalse; }

// The route list: the code and ultimate mode an entry stands for.
constexpr int16_t kSRouteCodes[] = {11, 12, 2, 3};
constexpr int16_t kSRouteUlt[] = {1, 0, 0, 1};
constexpr int16_t kSrcRouteCodes[] = {1, 21, 22, 23, 3};
constexpr int16_t kSrcRouteUlt[] = {0, 0, 0, 0, 1};

constexpr int16_t kMaxColumns = 32767;

// Column list layout: header text and width (twips).
struct ListColumn {
    const char* header;
    int width;
};
constexpr ListColumn kListColumns[] = {{"No.", 405},       {"柱名", 1005}, {"柱サイズ", 2505},
                                       {"ベース型式", 1995}, {"判定", 615},  {"配筋ｿﾞｰﾝ", 900},
                                       {"Fc", 405}};

}  // namespace

// ---- Controls ----

void frmMain::BuildConditionControls()
{
    auto place = [this](QWidget* w, const char* name, int left, int top, int width, int height) {
        w->setObjectName(name);
        Place(w, left, top, width, height);
    };
    auto label = [](const char* text, QWidget* parent, int resTag) {
        auto* l = new FittedLabel(QString::fromUtf8(text), parent);
        if (resTag) l->setProperty("resTag", resTag);
        return l;
    };

    txtBukken = new QLineEdit(Frame5);
    place(txtBukken, "txtBukken", 120, 300, 1695, 315);

    const char* const structNames[] = {"optStruc_0", "optStruc_1"};
    const char* const structTexts[] = {"鉄骨造", "SRC造"};
    for (int i = 0; i < 2; ++i) {
        optStruc[i] = new QRadioButton(QString::fromUtf8(structTexts[i]), Frame3);
        optStruc[i]->setProperty("resTag", 1211 + i);
        place(optStruc[i], structNames[i], 120, 240 + 240 * i, 915, 240);
    }

    chkSymmetry = new QCheckBox(QStringLiteral("対称"), Frame6);
    chkSymmetry->setProperty("resTag", 1277);
    place(chkSymmetry, "chkSymmetry", 120, 330, 855, 255);

    cmbDRoot = new QComboBox(Frame4);
    place(cmbDRoot, "cmbDRoot", 120, 300, 1195, 315);
    Label2 = label("γ", Frame4, 1275);
    place(Label2, "Label2", 1380, 345, 195, 255);
    txtGamma = new QLineEdit(Frame4);
    place(txtGamma, "txtGamma", 1575, 300, 510, 315);
    chkDRoot = new QCheckBox(Frame4);
    place(chkDRoot, "chkDRoot", 120, 300, 255, 255);
    chkDRoot->hide();

    const char* const shortNames[] = {"optCalcShortMode_0", "optCalcShortMode_1", "optCalcShortMode_2"};
    const char* const shortTexts[] = {"地震", "暴風", "積雪"};
    for (int i = 0; i < 3; ++i) {
        optCalcShortMode[i] = new QRadioButton(QString::fromUtf8(shortTexts[i]), Frame8);
        optCalcShortMode[i]->setProperty("resTag", 1284 + i);
        place(optCalcShortMode[i], shortNames[i], 120 + 690 * i, 330, 675, 255);
    }

    cmbSCondition = new QComboBox(Frame7);
    cmbSCondition->addItems({QStringLiteral("なし"), QStringLiteral("一般"), QStringLiteral("多雪")});
    place(cmbSCondition, "cmbSCondition", 90, 300, 735, 315);
    Label1 = label("α1", Frame7, 1282);
    place(Label1, "Label1", 840, 345, 210, 255);
    txtAlpha1 = new QLineEdit(Frame7);
    place(txtAlpha1, "txtAlpha1", 1050, 300, 420, 315);
    Label4 = label("α2", Frame7, 1283);
    place(Label4, "Label4", 1485, 345, 210, 255);
    txtAlpha2 = new QLineEdit(Frame7);
    place(txtAlpha2, "txtAlpha2", 1695, 300, 420, 315);
    for (QLineEdit* box : {txtGamma, txtAlpha1, txtAlpha2}) {
        box->setTextMargins(0, 0, 0, 0);
        KeepLineEditTextWhole(*box);
    }

    for (int i = 0; i < 3; ++i) {
        sbPanels[i] = new QLabel(sbStatusBar);
        sbPanels[i]->setObjectName(QStringLiteral("sbPanel%1").arg(i + 1));
        sbPanels[i]->setFrameShape(QFrame::Panel);
        sbPanels[i]->setFrameShadow(QFrame::Sunken);
        sbStatusBar->addPermanentWidget(sbPanels[i], i == 0 ? 1 : 0);
    }
    sbPanels[1]->setMinimumWidth(PxX(1500));
    sbPanels[2]->setMinimumWidth(PxX(1500));

    connect(cmbDRoot, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) UserOperation([this] { cmbDRoot_Click(); });
    });

    // The column list.
    auto& g = *grdList;
    g.setCols(7);
    g.setRows(2);
    g.setFixedRows(1);
    g.setFixedCols(0);
    g.setSelectionMode(qtgrid::flexSelectionByRow);
    for (int c = 0; c < 7; ++c) {
        g.setColWidth(c, kListColumns[c].width);
        g.setTextMatrix(0, c, QString::fromUtf8(kListColumns[c].header));
    }
    g.setColAlignment(0, qtgrid::flexAlignLeftCenter);
    connect(grdList, &qtgrid::FlexGrid::RowColChange, this, [this] { UserOperation([this] { grdList_RowColChange(); }); });
    connect(grdList, &qtgrid::FlexGrid::DblClick, this, [this] { UserOperation([this] { grdList_DblClick(); }); });
}

// ---- Route list and calculation modes ----

void frmMain::set_cmbDRoot()
{
    const bool sMode = SMode();
    {
        // Filling selects nothing: only the selection below is the user's
        // choice as far as the click handler is concerned.
        const QSignalBlocker quiet(cmbDRoot);
        cmbDRoot->clear();
        if (sMode)
            cmbDRoot->addItems({QStringLiteral("ルート 1-1"), QStringLiteral("ルート 1-2"), QStringLiteral("ルート 2"),
                                QStringLiteral("ルート 3")});
        else
            cmbDRoot->addItems({QStringLiteral("ルート 1"), QStringLiteral("ルート 2-1"), QStringLiteral("ルート 2-2"),
                                QStringLiteral("ルート 2-3"), QStringLiteral("ルート 3")});
        cmbDRoot->setCurrentIndex(-1);
    }
    const QRect r = cmbDRoot->geometry();
    cmbDRoot->setGeometry(r.x(), PxY(300), PxX(sMode ? 1195 : 1935), r.height());
    // The SRC list reaches over the γ label, which it covers as a list box
    // covers a label.
    cmbDRoot->raise();
    const int16_t entry = RouteEntryOfCode(sMode, gCond.DesignRootX);
    if (entry >= 0) cmbDRoot->setCurrentIndex(entry);
}

void frmMain::cmbDRoot_Click()
{
    const int entry = cmbDRoot->currentIndex();
    const bool sMode = SMode();
    if (entry < 0 || entry >= (sMode ? 4 : 5)) return;
    const int16_t code = sMode ? kSRouteCodes[entry] : kSrcRouteCodes[entry];
    const int16_t ult = sMode ? kSRouteUlt[entry] : kSrcRouteUlt[entry];
    gCond.DesignRootX = gCond.DesignRootY = code;
    if (sMode) {
        if (entry == 1 || entry == 2) {
            // While a project is filled in or opened, its own gamma stands.
            if (!mblnFillingRoutes && !Commands().mblnLoading) {
                gCond.GammaX = gCond.GammaY = entry == 1 ? 1.67 : 2.0;
                Label2->show();
                txtGamma->show();
                txtGamma->setText(FactorText(gCond.GammaX));
            }
        } else {
            Label2->hide();
            txtGamma->hide();
        }
    }
    setCalcMode(0, ult, 999);
    if (!mblnSettingStructure) gDataChanged = true;
    // A display already running shows the project after this anyway.
    if (mblnShowingProject) return;
    const RaisedFlag skip(mblnSkipRouteSync);
    msub_ShowProject();
}

void frmMain::setCalcMode(int16_t SSts, int16_t CalcMode, int16_t Mode)
{
    const int16_t apply = Mode == 999 ? 999 : 0;
    if (SSts == 0) {
        gCond.UltCalcMode = CalcMode;
        if (CalcMode == 0) sbPanels[2]->setText(LoadResString(1079));
        if (CalcMode == 1) sbPanels[2]->setText(LoadResString(1080));
        msub_ApplyCalcModeToGrid(0, apply);
    } else if (SSts == 1) {
        gCond.ShortCalcMode = CalcMode;
        if (CalcMode == 0) sbPanels[1]->setText(LoadResString(1077));
        if (CalcMode == 1) sbPanels[1]->setText(LoadResString(1078));
        msub_ApplyCalcModeToGrid(1, apply);
    }
    DrawCurrentNM();
}

void frmMain::msub_ApplyCalcModeToGrid(int16_t SSts, int16_t Mode)
{
    if (SSts != 0 && SSts != 1) return;
    const RaisedFlag quiet(mblnGridQuiet);
    auto& g = *grdView1;
    g.setRedraw(false);
    const bool byHand = SSts == 0 ? gCond.UltCalcMode != 0 : gCond.ShortCalcMode != 0;
    const int16_t firstSlot = SSts == 0 ? 8 : 6;
    ColumnDataTbl& col = gColumns(gCurCol);
    ColumnResultTbl& res = gResults(gCurCol);
    for (int i = 1; i <= 16; ++i) {
        const int16_t c = mintCompOfItem(i);
        if (c == 0) continue;
        for (int16_t j = firstSlot; j <= firstSlot + 1; ++j) {
            BuildDesignStressTable(res.DesignStress, col.LoadTbl, c);
            const int16_t d = mintCaseOfSlot(j);
            int16_t grid = 0;
            long row = 0, column = 0;
            bool found = false;
            msub_GetCellPos(c, d, grid, row, column, found);
            if (!found) continue;
            g.setTextMatrix(row, column, Q(FormatValue(res.DesignStress(c, d) * gUnitFactor, 2)));
            g.setCellBackColor(row, column, byHand ? kOpenColor : kLockedColor);
        }
    }
    g.setRedraw(true);
    FollowTableWithEditor();
    if (Mode == 999) {
        FillCurrentResultTables();
        msub_ShowColumnDetail();
    }
}

// ---- Column list ----

void frmMain::grdList_RowColChange()
{
    const int row = grdList->Row();
    if (row <= 0) return;
    msub_SelectListRow(row);
    grdView1->setCol(2);
    grdView1->setRow(4);
}

void frmMain::grdList_DblClick() { msub_EditColumnSpec(); }

void frmMain::msub_EnableDelColumn(bool flag)
{
    mnuEditDElCol->setEnabled(flag);
    if (QAction* b = ToolButton(QStringLiteral("DelCol"))) b->setEnabled(flag);
}

void frmMain::msub_EnableMoveColLeft(bool flag)
{
    mnuEditMoveColLeft->setEnabled(flag);
    if (QAction* b = ToolButton(QStringLiteral("MoveColLeft"))) b->setEnabled(flag);
}

void frmMain::msub_EnableMoveColRight(bool flag)
{
    mnuEditMoveColRight->setEnabled(flag);
    if (QAction* b = ToolButton(QStringLiteral("MoveColRight"))) b->setEnabled(flag);
}

void frmMain::msub_AddColumn(int16_t kind)
{
    if (kind != 0 && kind != 1) return;
    // The count is 16-bit in the project file.
    if (gCond.ColCount >= kMaxColumns) {
        ui::Current().message("これ以上柱を追加できません。\r\n柱の数は" + std::to_string(kMaxColumns) + "までです。",
                              "注意", ui::MessageKind::Warning);
        return;
    }
    const long a = mlngPendingRow;
    const auto n = static_cast<int16_t>(a + 1);
    grdList->AddItem(QString(), n);
    ++gCond.ColCount;
    const int16_t count = gCond.ColCount;
    gColumns.redimPreserve(count);
    gResults.redimPreserve(count);
    gKvBase.redimPreserve(count);
    for (long i = count; i >= n + 1; --i) {
        gColumns(i) = gColumns(i - 1);
        gKvBase(i) = gKvBase(i - 1);
        gResults(i) = gResults(i - 1);
    }
    if (kind == 0) {
        gColumns(n) = SMode() ? gColumnDefault : gColumnDefaultSrc;
        gColumns(n).Fc = gCond.Fc;
        // A new column starts from empty records, not from its neighbour's.
        gKvBase(n) = KvBaseTbl{};
        gResults(n) = ColumnResultTbl{};
        gKvBase(n).AbNum = gColumns(n).AbNum;
        LoadKvBaseData(gColumns(n).KolvanID, gColumns(n).AbNum, gKvBase(n));
        CalcColumnByIndex(n, 0);
        CalcColumnByIndex(n, 1);
    } else {
        gColumns(n) = gColumns(a);
        gKvBase(n) = gKvBase(a);
        gResults(n) = gResults(a);
    }
    if (n < count)
        InsertColumnRebar(n, gColumns(n), gKvBase(n));
    else
        AddColumnRebar(gColumns(n), gKvBase(n));
    msub_SelectListRow(n);
    if (count > 1) {
        msub_EnableMoveColLeft(true);
        msub_EnableDelColumn(true);
    }
    for (int i = 1; i <= count; ++i) {
        grdList->setTextMatrix(i, 0, QString::number(i));
        grdList->setTextMatrix(i, 1, Q(vb::Trim(gColumns(i).ColName.value())));
    }
    gDataChanged = true;
}

void frmMain::msub_DeleteColumn()
{
    if (gCond.ColCount <= 1) return;
    mblnDeletingColumn = true;
    const long d = mlngPendingRow;
    const int16_t oldCount = gCond.ColCount;
    grdList->RemoveItem(static_cast<int>(d));
    DeleteColumnRebar(static_cast<int16_t>(d));
    for (long i = d; i <= oldCount - 1; ++i) {
        gColumns(i) = gColumns(i + 1);
        gKvBase(i) = gKvBase(i + 1);
        gResults(i) = gResults(i + 1);
    }
    const int16_t count = --gCond.ColCount;
    gColumns.redimPreserve(count);
    gResults.redimPreserve(count);
    gKvBase.redimPreserve(count);
    msub_SelectListRow(d <= count ? d : count);
    if (count < 2) {
        msub_EnableDelColumn(false);
        msub_EnableMoveColLeft(false);
        msub_EnableMoveColRight(false);
    }
    for (int i = 1; i <= count; ++i) grdList->setTextMatrix(i, 0, QString::number(i));
    mblnDeletingColumn = false;
    gDataChanged = true;
}

void frmMain::msub_MoveColumn(int16_t direction)
{
    if (direction != 0 && direction != 1) return;
    const long b = mlngPendingRow;
    const long t = b + (direction == 0 ? -1 : 1);
    // Past either end there is nothing to exchange with.
    if (t < 1 || t > gCond.ColCount) return;
    mblnMovingColumn = true;
    std::swap(gColumns(b), gColumns(t));
    std::swap(gKvBase(b), gKvBase(t));
    std::swap(gResults(b), gResults(t));
    SwapColumnRebar(static_cast<int16_t>(b), static_cast<int16_t>(t));
    msub_SelectListRow(t);
    grdList->setRedraw(false);
    for (int k = 1; k <= 6; ++k) {
        const QString text = grdList->TextMatrix(b, k);
        grdList->setTextMatrix(b, k, grdList->TextMatrix(t, k));
        grdList->setTextMatrix(t, k, text);
    }
    grdList->setRedraw(true);
    gDataChanged = true;
    mblnMovingColumn = false;
}

// ---- Project display ----

// Row i of the column list: the record's texts, then the column checked
// again for its verdict and zone.
void frmMain::FillListRow(int16_t i)
{
    int16_t index = i;
    std::string main, second, material;
    const ColumnDataTbl& col = gColumns(i);
    grdList->setTextMatrix(i, 0, QString::number(i));
    grdList->setTextMatrix(i, 1, Q(vb::Trim(text::Left(col.ColName.value(), 49))));
    grdList->setTextMatrix(i, 2, Q(GetColumnSectionText(index, main, second, material)));
    grdList->setTextMatrix(i, 3, Q(GetKvNameByIndex(i)));
    grdList->setTextMatrix(i, 6, Q(vb::Trim(vb::Str(col.Fc))));
    CheckColumn(i);
    StoreColumnZone(i);
    grdList->setTextMatrix(i, 4, Q(msub_GetColumnJudge(i)));
    grdList->setTextMatrix(i, 5, Q(msub_GetZoneMark(i)));
}

// Every row checked with the project's present conditions; a column that
// cannot be checked is marked rather than left with verdicts it no longer
// has, and the rows after it are filled all the same. The first failure.
std::exception_ptr frmMain::FillColumnList()
{
    const int16_t count = gCond.ColCount;
    if (grdList->Rows() != count + 1) grdList->setRows(count + 1);
    struct Redraw {
        qtgrid::FlexGrid& g;
        ~Redraw() { g.setRedraw(true); }
    } redraw{*grdList};
    grdList->setRedraw(false);
    std::exception_ptr failure;
    for (int16_t i = 1; i <= count; ++i) {
        try {
            FillListRow(i);
        } catch (...) {
            grdList->setTextMatrix(i, 4, Q(kUncheckedMark));
            grdList->setTextMatrix(i, 5, QString());
            if (!failure) failure = std::current_exception();
        }
    }
    return failure;
}

void frmMain::RefillColumnList()
{
    if (const std::exception_ptr failure = FillColumnList()) std::rethrow_exception(failure);
}

// After a failure every row is brought up to date.
void frmMain::RepairColumnList() { FillColumnList(); }

void frmMain::msub_ShowCurrentColumnQuiet()
{
    const RaisedFlag quiet(mblnGridQuiet);
    msub_ShowCurrentColumn();
}

void frmMain::msub_ShowProject()
{
    const bool sMode = SMode();
    setCaption(ProjectCaption(gFileName));
    const RaisedFlag showing(mblnShowingProject);
    gCurCol = 1;
    // The list's row and the pending row always name the current column.
    mlngPendingRow = 1;

    // A column that cannot be checked is marked and the display goes on, so
    // that every other column and the window are shown; the first failure
    // is told once the display is complete.
    std::exception_ptr failure;
    const auto keepGoing = [&failure](const std::function<void()>& step) {
        try {
            step();
        } catch (const std::exception&) {
            if (!failure) failure = std::current_exception();
        }
    };

    // The whole name: a shorter text would be written back by the box.
    txtBukken->setText(Q(vb::Trim(gCond.Bukken.value())));
    chkSymmetry->setChecked(gCond.SymmetryX != kFalse);

    if (!mblnSkipRouteSync) {
        // A display never replaces the project's gamma.
        const RestoreOnExit filling(mblnFillingRoutes, true);
        set_cmbDRoot();
        const int16_t entry = RouteEntryOfCode(sMode, gCond.DesignRootX);
        if (entry >= 0) {
            int16_t code = 0, ult = 0;
            RouteOfEntry(sMode, entry, code, ult);
            gCond.DesignRootX = gCond.DesignRootY = code;
            if (cmbDRoot->currentIndex() != entry) cmbDRoot->setCurrentIndex(entry);
            keepGoing([this, ult] { setCalcMode(0, ult, 999); });
        }
    }

    txtGamma->setText(FactorText(gCond.GammaX));
    cmbSCondition->setCurrentIndex(gCond.SCondition);
    // Setting the index the combo already shows raises no click.
    ShowSnowFactors(gCond.SCondition == 2);
    txtAlpha1->setText(FactorText(gCond.Alpha1));
    txtAlpha2->setText(FactorText(gCond.Alpha2));
    if (gShortLoadKind >= 0 && gShortLoadKind <= 2) optCalcShortMode[gShortLoadKind]->setChecked(true);

    keepGoing([] { gKv->setFc(gColumns(gCurCol).Fc); });

    {
        const RaisedFlag setting(mblnSettingStructure);
        optStruc[sMode ? 0 : 1]->setChecked(true);
    }

    SetCurveButtons(sMode);
    mnuFileImport->setEnabled(sMode && static_cast<bool>(mImportAnalysisFile));
    chkDRoot->hide();
    ShowGammaForRoute(sMode);

    keepGoing([this] {
        setCalcMode(1, gCond.ShortCalcMode, 0);
        setCalcMode(0, gCond.UltCalcMode, 0);
    });

    keepGoing([this] { msub_ShowCurrentColumnQuiet(); });

    const int16_t count = gCond.ColCount;
    grdList->setRows(count + 1);
    if (const std::exception_ptr listFailure = FillColumnList(); listFailure && !failure) failure = listFailure;
    msub_EnableMoveColLeft(false);
    grdList->setRow(1);

    if (count < 2) {
        msub_EnableDelColumn(false);
        msub_EnableMoveColRight(false);
    } else {
        msub_EnableDelColumn(true);
        msub_EnableMoveColRight(true);
        keepGoing([this] { msub_SelectListRow(1); });
    }

    const RestoreOnExit refresh(gAutoRefresh, true);
    keepGoing([this] {
        CheckColumn(gCurCol);
        msub_ShowCurrentColumn();
    });
    if (failure) std::rethrow_exception(failure);
}

// ---- What the project commands ask of the window ----

void frmMain::showRoute(int16_t entry)
{
    // The opened project's gamma stands while its routes are shown.
    const RestoreOnExit filling(mblnFillingRoutes, true);
    set_cmbDRoot();
    if (entry >= 0 && entry < cmbDRoot->count() && cmbDRoot->currentIndex() != entry) cmbDRoot->setCurrentIndex(entry);
}

void frmMain::showCalcMode(int16_t sSts, int16_t mode) { setCalcMode(sSts, mode, 0); }

void frmMain::showProject() { msub_ShowProject(); }

void frmMain::setBukkenText(const std::string& text) { txtBukken->setText(Q(text)); }

void frmMain::enableColumnEditing(bool del, bool left, bool right)
{
    msub_EnableDelColumn(del);
    msub_EnableMoveColLeft(left);
    msub_EnableMoveColRight(right);
}
