#include "mainwin/frmMain.h"

#include "engine/kv.h"
#include "model/adapter.h"
#include "model/direction.h"
#include "model/column_check.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/helpers.h"
#include "model/rebar_handover.h"
#include "model/rebar_zone.h"
#include "model/stress.h"
#include "platform/qt/grid/flexgrid.h"
#include "widgets/zDLEditBox_Vendra.h"
#include "widgets/zDLFlex8_Vendra.h"

#include <QFrame>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cmath>

using namespace model;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Grid row of a design-stress component (1..6).
constexpr int kCompRow[] = {0, 4, 5, 10, 4, 5, 10};

// Grid column of design case k in direction dir; -1 for a case without one.
int CaseColumn(int16_t k, int16_t dir)
{
    switch (k) {
    case 1: return 2 + dir;
    case 4: return 4 + 4 * dir;
    case 5: return 6 + 4 * dir;
    case 6: return 12 + 4 * dir;
    case 7: return 14 + 4 * dir;
    default: return -1;
    }
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("frmMain");
    auto* central = new QWidget(this);
    central->setObjectName("centralWidget");
    setCentralWidget(central);
    grdView1 = new qtgrid::FlexGrid(central);
    grdView1->setObjectName("grdView1");
    fraInput1 = new QFrame(central);
    fraInput1->setObjectName("fraInput1");
    fraInput1->hide();
    txtInput1 = new QLineEdit(fraInput1);
    txtInput1->setObjectName("txtInput1");
    connect(grdView1, &qtgrid::FlexGrid::RowColChange, this, &frmMain::grdView1_RowColChange);
}

void frmMain::msub_SetUpTable()
{
    mobjEditBox = std::make_unique<zDLEditBox_Vendra>();
    mobjEditBox->setprpNumeric(true);
    mobjEditBox->setprpAllowMinus(true);
    mobjEditBox->setprpAllowDecimal(true);
    mobjEditBox->setprpIntDigits(6);
    mobjEditBox->setprpDecDigits(3);
    mobjEditBox->setprpMinValue(-100000);
    mobjEditBox->setprpMaxValue(100000);

    mobjFlexInput1 = std::make_unique<zDLFlex8_Vendra>();
    mobjFlexInput1->setprpFlex(grdView1);
    mobjFlexInput1->setprpInputContainer(fraInput1);
    mobjFlexInput1->setprpInputTextBox(txtInput1);
    mobjFlexInput1->setprpMoveMode(4);
    connect(mobjFlexInput1.get(), &zDLFlex8_Vendra::Validate, this, &frmMain::mobjFlexInput1_Validate);

    msub_InitResultTable();
    msub_InitCellMaps();
}

frmMain::~frmMain() = default;

// ---- Stress and result table layout ----

void frmMain::msub_InitResultTable()
{
    auto& g = *grdView1;
    g.setRows(14);
    g.setCols(20);
    g.setFixedRows(4);
    g.setFixedCols(2);
    g.setMergeCells(qtgrid::flexMergeFixedOnly);
    for (int c : {0, 1, 2, 3}) g.setMergeCol(c, true);
    for (int r : {0, 1, 2, 9}) g.setMergeRow(r, true);

    for (int r = 3; r <= 13; ++r)
        for (int c = 5; c <= 19; ++c) g.setCellBackColor(r, c, kOpenColor);

    for (int c = 0; c <= 19; ++c) g.setColWidth(c, 600);
    g.setColAlignment(0, qtgrid::flexAlignCenterCenter);
    g.setColAlignment(1, qtgrid::flexAlignCenterCenter);
    for (int r = 0; r <= 3; ++r)
        for (int c = 2; c <= 19; ++c) g.setCellAlignment(r, c, qtgrid::flexAlignCenterCenter);

    for (int r = 0; r <= 3; ++r)
        for (int c = 0; c <= 1; ++c) g.setTextMatrix(r, c, " ");
    for (int c = 2; c <= 19; ++c)
        g.setTextMatrix(0, c, c <= 3 ? QStringLiteral("長期") : c <= 11 ? QStringLiteral("短期") : QStringLiteral("終局"));
    for (int r = 1; r <= 3; ++r) {
        g.setTextMatrix(r, 2, "X");
        g.setTextMatrix(r, 3, "Y");
    }
    for (int c = 4; c <= 19; ++c) {
        g.setTextMatrix(1, c, ((c - 4) / 4) % 2 == 0 ? "X" : "Y");
        g.setTextMatrix(2, c, (c - 4) % 4 < 2 ? "L" : "R");
    }
    const QStringList row3 = {"X", "Y", "X", "Y", "Y", "X", "Y", "X", "X", "Y", "X", "Y", "Y", "X", "Y", "X"};
    for (int c = 4; c <= 19; ++c) g.setTextMatrix(3, c, row3[c - 4]);

    // The blanks around the second 応力 keep it from merging with row 4's.
    static const char* const labels[][2] = {
        {"軸 力", "応力"},       {"曲げﾓｰﾒﾝﾄ", " 応力 "}, {"曲げﾓｰﾒﾝﾄ", "耐力"}, {"曲げﾓｰﾒﾝﾄ", "検定比"},
        {"曲げﾓｰﾒﾝﾄ", "判定"},   {"ゾーン", "ゾーン"},     {"せん断力", "応力"},  {"せん断力", "耐力"},
        {"せん断力", "検定比"}, {"せん断力", "判定"}};
    for (int i = 0; i < 10; ++i) {
        g.setTextMatrix(4 + i, 0, QString::fromUtf8(labels[i][0]));
        g.setTextMatrix(4 + i, 1, QString::fromUtf8(labels[i][1]));
    }

    for (int c = 2; c <= 19; ++c)
        for (int r : {6, 7, 8, 9, 11, 12, 13}) g.setCellBackColor(r, c, kLockedColor);

    msub_FormatResultTable();
}

void frmMain::msub_FormatResultTable()
{
    auto& g = *grdView1;
    for (int r : {4, 5, 10}) g.setCellBackColor(r, 2, kOpenColor);
    g.setCellBackColor(4, 3, kDarkGrey);
    g.setCellBackColor(5, 3, kOpenColor);
    g.setCellBackColor(10, 3, kOpenColor);
    for (int c = 5; c <= 19; c += 2) g.setColHidden(c, true);
    g.setRowHidden(3, true);
}

void frmMain::msub_SelectListRow(long row)
{
    mlngPendingRow = row;
    msub_SelectColumn(false);
}

// ---- Cell maps ----

void frmMain::msub_InitCellMaps()
{
    for (int16_t comp = 1; comp <= 6; ++comp) {
        const int16_t dir = comp <= 3 ? 0 : 1;
        for (int16_t k : {1, 4, 5, 6, 7}) {
            CellPosTbl& p = mintCellMap(comp, k);
            p.Grid = 1;
            p.Row = static_cast<int16_t>(kCompRow[comp]);
            p.Col = static_cast<int16_t>(CaseColumn(k, dir));
        }
    }
}

void frmMain::msub_GetCellPos(int16_t component, int16_t designCase, int16_t& grid, long& row, long& col,
                              bool& found) const
{
    found = false;
    if (component < 1 || component > 6 || designCase < 1 || designCase > 7) return;
    const CellPosTbl& p = mintCellMap(component, designCase);
    if (p.Grid == 0) return;
    grid = p.Grid;
    row = p.Row;
    col = p.Col;
    found = true;
}

void frmMain::setIndexArray()
{
    for (int16_t s = 3; s <= 9; ++s) mintCaseOfSlot(s) = static_cast<int16_t>(s - 2);
    mintCompOfItem.fill(0);
    const int items[] = {1, 2, 6, 9, 10, 14};
    for (int16_t i = 0; i < 6; ++i) mintCompOfItem(items[i]) = static_cast<int16_t>(i + 1);
}

std::vector<std::pair<int, int>> frmMain::EntryFields(long row, long col)
{
    // Load columns of the X and Y sets of each even grid column 4..18.
    struct Entry {
        int gridCol, load;
        bool yMoment;  // M and Q go to the Y components
    };
    static const Entry entries[] = {{4, 13, false},  {6, 14, false},  {8, 19, true},  {10, 20, true},
                                    {12, 15, false}, {14, 16, false}, {16, 17, true}, {18, 18, true}};
    if (row != 4 && row != 5 && row != 10) return {};
    if (col == 2 || col == 3) {
        // The long-term N is one value for both directions.
        if (row == 4) return {{1, 1}, {4, 1}, {1, 2}, {4, 2}};
        const int comp = (row == 5 ? 2 : 3) + (col == 3 ? 3 : 0);
        return {{comp, col == 2 ? 1 : 2}};
    }
    for (const Entry& e : entries) {
        if (e.gridCol != col) continue;
        if (row == 4) return {{1, e.load}, {4, e.load}};
        return {{(row == 5 ? 2 : 3) + (e.yMoment ? 3 : 0), e.load}};
    }
    return {};
}

// ---- Result table fill ----

void frmMain::msub_FillResultTable(int16_t dir)
{
    if (!gAutoRefresh) return;
    mblnGridQuiet = true;
    auto& g = *grdView1;
    g.setRedraw(false);

    const ColumnDataTbl& col = gColumns(gCurCol);
    const ColumnResultTbl& res = gResults(gCurCol);
    KvEngineRef kv(*gKv);
    SetKvBaseInputs(kv, col);
    if (gCond.SMode == kFalse) SetKvSrcInputs(kv, col);

    const bool ultJadge = gCond.UltJadge != kFalse;
    const long m = dir == 0 ? 2 : 5;  // moment row of the design table
    const long q = m + 1;             // shear row
    auto verdict = [](int16_t code) { return Q("  " + GetJadgeText(code)); };
    for (int16_t k : {1, 4, 5, 6, 7}) {
        const int c = CaseColumn(k, dir);
        if (k == 5 && gShortLoadKind == 2) {
            // Snow has a single short-term case.
            for (int r : {9, 6, 7, 8, 11, 12, 13}) g.setTextMatrix(r, c, QString());
            continue;
        }
        if (k == 6 || k == 7) kv.setCondition(0);
        g.setTextMatrix(9, c, Q("  " + res.Zone(dir, k).value()));
        g.setTextMatrix(6, c, Q(FormatValue(res.Mu(dir, k), 2)));
        g.setTextMatrix(7, c, Q(FormatValue(SafeRatio(res.DesignStress(m, k) * gUnitFactor, res.Mu(dir, k)), 2)));
        const QString shearRatio =
            Q(FormatValue(SafeRatio(res.DesignStress(q, k) * gUnitFactor, res.Qu(dir, k)), 2));
        if ((k == 6 || k == 7) && !ultJadge) {
            // Unjudged ultimate moment: no moment verdict, the shear stands alone.
            g.setTextMatrix(8, c, QString());
            g.setTextMatrix(11, c, Q(FormatValue(res.Qu(dir, k), 2)));
            g.setTextMatrix(12, c, shearRatio);
            g.setTextMatrix(13, c, verdict(res.JadgeQ(dir, k)));
            continue;
        }
        g.setTextMatrix(8, c, verdict(res.JadgeM(dir, k)));
        if (res.JadgeM(dir, k) == 0) {
            for (int r : {11, 12, 13}) g.setTextMatrix(r, c, QStringLiteral(" -   *"));
        } else {
            g.setTextMatrix(11, c, Q(FormatValue(res.Qu(dir, k), 2)));
            g.setTextMatrix(12, c, shearRatio);
            g.setTextMatrix(13, c, verdict(res.JadgeQ(dir, k)));
        }
    }

    g.setRedraw(true);
    mblnGridQuiet = false;
}

// ---- Column verdict and zone mark ----

std::string frmMain::msub_GetColumnJudge(int16_t col) const
{
    // Moment and shear are both tested for every case: the last failing
    // test decides between NG(M) and NG(Q).
    const ColumnResultTbl& res = gResults(col);
    const bool ultJadge = gCond.UltJadge != kFalse;
    std::string text = "OK";
    for (long k = 1; k <= 7; ++k) {
        if (k == 2 || k == 3) continue;
        for (long d = 0; d <= 1; ++d) {
            if ((k <= 5 || ultJadge) && res.JadgeM(d, k) == 0) text = "NG(M)";
            if (res.JadgeQ(d, k) == 0) text = "NG(Q)";
            if (text == "OK" && res.JadgeQ(d, k) > 0) text = "OK*";
        }
    }
    return text;
}

std::string frmMain::msub_GetZoneMark(int16_t col) const
{
    if (gCond.SMode == kFalse) return {};
    switch (GetColumnRebarZone(col)) {
    case 1: return "(Ⅰ)";
    case 2: return "(Ⅱ)";
    default: return {};
    }
}

// ---- Stress cells ----

void frmMain::msub_FillStressInputCells()
{
    auto& g = *grdView1;
    g.setRedraw(false);
    BuildCurrentDesignStresses();
    const ColumnResultTbl& res = gResults(gCurCol);
    for (int16_t c = 1; c <= 6; ++c) {
        for (int16_t d = 1; d <= 7; ++d) {
            const QString text = gShortLoadKind == 2 && d == 5
                                     ? QString()
                                     : Q(FormatValue(res.DesignStress(c, d) * gUnitFactor, 2));
            int16_t grid = 0;
            long row = 0, col = 0;
            bool found = false;
            msub_GetCellPos(c, d, grid, row, col, found);
            if (found) g.setTextMatrix(row, col, text);
        }
    }
    mblnGridQuiet = false;
    g.setRedraw(true);
}

// ---- Entry and recalculation ----

void frmMain::grdView1_RowColChange()
{
    if (!mobjFlexInput1) return;
    mobjFlexInput1->Input_Reset(true);
    const int row = grdView1->Row();
    if (row != 4 && row != 5 && row != 10) return;
    const int col = grdView1->Col();
    if (grdView1->CellBackColor(row, col) != kOpenColor) return;
    bool editable = false;
    if (col == 2 || col == 3)
        editable = true;
    else if (col >= 4 && col <= 11)
        editable = gCond.ShortCalcMode != 0;
    else if (col >= 12 && col <= 19)
        editable = gCond.UltCalcMode != 0;
    if (editable) mobjFlexInput1->Input_Text(mobjEditBox.get());
}

void frmMain::mobjFlexInput1_Validate(int Row, int Col, const QVariant& Ans, bool /*Check*/)
{
    // A factor that cannot divide would store an infinite or meaningless
    // stress: nothing is stored or recalculated.
    if (!(std::isfinite(gUnitFactor) && gUnitFactor > 0)) return;
    const double typed =
        Ans.typeId() == QMetaType::Double ? SafeCDbl(Ans.toDouble()) : SafeCDbl(Ans.toString().toStdString());
    const double value = typed / gUnitFactor;
    ColumnDataTbl& col = gColumns(gCurCol);
    for (const auto& [i, j] : EntryFields(Row, Col)) col.LoadTbl(i, j) = value;
    gDataChanged = true;
    msub_RecalcCurrentColumn();
    UpdateColumnRebar(gCurCol, gColumns(gCurCol), gKvBase(gCurCol));
    grdView1_RowColChange();
}

void frmMain::msub_RecalcCurrentColumn()
{
    msub_SelectColumn(true);
    GetGoverningRebarZone(gCurCol);
    ApplyDefaultArrangement(gColumns(gCurCol), gKvBase(gCurCol));
    if (gCond.SMode != kFalse) LoadRebarZoneDetails(gCurCol, gColumns(gCurCol).CenColWall(0));
}

void frmMain::msub_SelectColumn(bool force)
{
    if (!force && mlngPendingRow == gCurCol && !mblnDeletingColumn && !mblnLoading) return;
    gCurCol = static_cast<int16_t>(mlngPendingRow);
    KvEngineRef kv(*gKv);
    SetKvBaseInputs(kv, gColumns(gCurCol));
    const bool autoRefresh = gAutoRefresh;
    const bool changed = gDataChanged;
    gAutoRefresh = true;
    if (!mblnMovingColumn) msub_ShowCurrentColumn();
    gDataChanged = changed;
    gAutoRefresh = autoRefresh;
    if (mobjFlexInput1) mobjFlexInput1->Input_Text(mobjEditBox.get());
}

void frmMain::msub_ShowCurrentColumn()
{
    msub_FillStressInputCells();
    for (int16_t d = 0; d <= 1; ++d) {
        CalcColumnByIndex(gCurCol, d);
        msub_FillResultTable(d);
    }
}

void frmMain::cmdFlgReflesh_Click()
{
    if (gAutoRefresh) return;
    gAutoRefresh = true;
    msub_FillStressInputCells();
    for (int16_t d = 0; d <= 1; ++d) {
        CalcColumnByIndex(gCurCol, d);
        msub_FillResultTable(d);
    }
    gAutoRefresh = false;
}

void frmMain::refleshTable()
{
    msub_FormatResultTable();
    msub_SelectColumn(true);
    msub_FillStressInputCells();
    for (int16_t d = 0; d <= 1; ++d) {
        CalcColumnByIndex(gCurCol, d);
        msub_FillResultTable(d);
    }
}
