#include "mainwin/frmMain.h"

#include "drawing/globals.h"
#include "engine/kv.h"
#include "mainwin/load_res_strings.h"
#include "mainwin/scope_flags.h"
#include "model/adapter.h"
#include "model/column_check.h"
#include "model/column_list_csv.h"
#include "model/direction.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/helpers.h"
#include "model/rebar_handover.h"
#include "model/rebar_zone.h"
#include "model/startup.h"
#include "model/stress.h"
#include "platform/qt/font_map.h"
#include "platform/qt/grid/flexgrid.h"
#include "platform/qt/picture_box.h"
#include "platform/qt/twips.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"
#include "widgets/cIconMenu.h"
#include "widgets/fitted_text.h"
#include "widgets/zDLEditBox_Vendra.h"
#include "widgets/zDLFlex8_Vendra.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QSettings>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <algorithm>
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
    // The program's forms use the Japanese UI face at 9 points; set before
    // the controls are made so that they, and the grids' row heights, follow.
    setFont(QFont(vbqt::mapVbFontName(QStringLiteral("ＭＳ Ｐゴシック")), 9));
    programFolder = QCoreApplication::applicationDirPath().toStdString();
    // The inner area above the status bar; controls sit in it by design
    // position, the toolbar docked at its top edge.
    client_ = new QWidget(this);
    client_->setObjectName("centralWidget");
    setCentralWidget(client_);
    sbStatusBar = new QStatusBar(this);
    sbStatusBar->setObjectName("sbStatusBar");
    setStatusBar(sbStatusBar);
    tbToolBar = new QToolBar(client_);
    tbToolBar->setObjectName("tbToolBar");
    tbToolBar->setMovable(false);
    imgMenu = MakeMenuImages();

    auto frame = [this](const char* name, const char* caption, int resTag) {
        auto* f = new QGroupBox(QString::fromUtf8(caption), client_);
        f->setObjectName(name);
        if (resTag) f->setProperty("resTag", resTag);
        return f;
    };
    Frame5 = frame("Frame5", "物件名", 0);
    Frame3 = frame("Frame3", "構造種別", 1274);
    Frame6 = frame("Frame6", "建物形状", 1276);
    Frame4 = frame("Frame4", "計算ルート", 1272);
    Frame8 = frame("Frame8", "短期計算荷重", 1287);
    Frame7 = frame("Frame7", "積雪荷重の扱い", 1278);
    grdList = new qtgrid::FlexGrid(client_);
    grdList->setObjectName("grdList");
    Frame1 = frame("Frame1", "柱", 0);
    Frame2 = frame("Frame2", "柱脚", 0);
    cmdFlgReflesh = new QPushButton(QStringLiteral("応力表･耐力図の更新する。"), client_);
    cmdFlgReflesh->setObjectName("cmdFlgReflesh");
    cmdFlgReflesh->setProperty("resTag", 1181);
    // Created after the refresh button: the tall box covers it.
    pctNM = new vbqt::PictureBox(client_);
    pctNM->setObjectName("pctNM");
    Label5 = new QLabel(QStringLiteral("応力表"), client_);
    Label5->setObjectName("Label5");
    cmdInput = new QPushButton(QStringLiteral("応力入力"), client_);
    cmdInput->setObjectName("cmdInput");
    Label6 = new FittedLabel(QStringLiteral("地震時などの応力は左のボタンをクリックし別画面で入力してください。"), client_);
    Label6->setObjectName("Label6");
    grdView1 = new qtgrid::FlexGrid(client_);
    grdView1->setObjectName("grdView1");
    fraInput1 = new QFrame(client_);
    fraInput1->setObjectName("fraInput1");
    fraInput1->hide();
    txtInput1 = new QLineEdit(fraInput1);
    txtInput1->setObjectName("txtInput1");

    Place(Frame5, 120, 690, 1935, 735);
    Place(Frame3, 2160, 690, 1095, 735);
    Place(Frame6, 3360, 690, 1095, 735);
    Place(Frame4, 4560, 690, 2175, 735);
    Place(Frame8, 6840, 690, 2175, 735);
    Place(Frame7, 9120, 690, 2175, 735);
    Place(grdList, 120, 1590, 8535, 1965);
    Place(pctNM, 8760, 1560, 3840, 3735);
    Place(Frame1, 120, 3600, 4725, 2085);
    Place(Frame2, 4920, 3600, 3765, 2085);
    Place(cmdFlgReflesh, 8760, 5400, 3855, 375);
    Place(Label5, 120, 6000, 855, 375);
    Place(cmdInput, 1440, 6000, 3105, 375);
    Place(Label6, 4920, 6120, 5415, 255);
    Place(grdView1, 120, 6480, 12495, 3285);
    tbToolBar->setGeometry(0, 0, PxX(12720), tbToolBar->sizeHint().height());
    resize(PxX(12720), PxY(10095) + sbStatusBar->sizeHint().height());

    connect(grdView1, &qtgrid::FlexGrid::RowColChange, this, [this] { UserOperation([this] { grdView1_RowColChange(); }); });
    connect(cmdFlgReflesh, &QPushButton::clicked, this, [this] { UserOperation([this] { cmdFlgReflesh_Click(); }); });
    connect(cmdInput, &QPushButton::clicked, this, [this] { UserOperation([this] { cmdInput_Click(); }); });
    connect(grdView1, &qtgrid::FlexGrid::Click, this, [this] { UserOperation([this] { grdView1_Click(); }); });

    BuildConditionControls();
    BuildDetailPanel();
    BuildMenus();
    BuildCommands();
}

// ---- Twips ----

double frmMain::TwipsPerPixelX() const { return vbqt::TwipsPerPixelX(*this); }
double frmMain::TwipsPerPixelY() const { return vbqt::TwipsPerPixelY(*this); }
int frmMain::PxX(double twips) const { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int frmMain::PxY(double twips) const { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }

void frmMain::Place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(PxX(left), PxY(top), PxX(width), PxY(height));
}

QRect frmMain::TwipsRect(const QWidget* control) const
{
    const QRect r = control->geometry();
    const double x = TwipsPerPixelX();
    const double y = TwipsPerPixelY();
    return {static_cast<int>(std::lround(r.x() * x)), static_cast<int>(std::lround(r.y() * y)),
            static_cast<int>(std::lround(r.width() * x)), static_cast<int>(std::lround(r.height() * y))};
}

QSize frmMain::FrameExtra() const { return frameGeometry().size() - geometry().size(); }

int frmMain::Left() const { return static_cast<int>(std::lround(frameGeometry().x() * TwipsPerPixelX())); }
int frmMain::Top() const { return static_cast<int>(std::lround(frameGeometry().y() * TwipsPerPixelY())); }
int frmMain::Width() const { return static_cast<int>(std::lround(frameGeometry().width() * TwipsPerPixelX())); }
int frmMain::Height() const { return static_cast<int>(std::lround(frameGeometry().height() * TwipsPerPixelY())); }
int frmMain::ScaleWidth() const { return static_cast<int>(std::lround(width() * TwipsPerPixelX())); }

int frmMain::MenuHeight() const
{
    const QWidget* menu = menuWidget();
    return menu && !menu->isHidden() ? menu->height() : 0;
}

int frmMain::ScaleHeight() const
{
    return static_cast<int>(std::lround((height() - MenuHeight()) * TwipsPerPixelY()));
}

void frmMain::setCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

// ---- Lifecycle ----

template <typename F>
void frmMain::WithSettings(F&& f)
{
    if (settings_) {
        f(*settings_);
        return;
    }
    QSettings s = AppSettings();
    f(s);
}

void frmMain::showEvent(QShowEvent* event)
{
    if (!loaded_) Form_Load();
    QMainWindow::showEvent(event);
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void frmMain::Form_Load()
{
    if (loaded_) return;
    loaded_ = true;

    cIconMenu& icons = gIconMenu();
    icons.setStyle(1);
    icons.sethTargetWnd(this);
    icons.setMenuDefaultImage(imgMenu);
    icons.SetIconMenu();

    helpFile = programFolder + (!programFolder.empty() && programFolder.back() == '/' ? "" : "/") + "Kolvan.chm";

    mlngPendingRow = 1;
    mblnLoading = true;
    mblnSettingStructure = false;
    mblnShowingProject = false;

    LoadResStrings(this);
    setCaption(ProjectCaption(gFileName));

    // Sizes beyond any screen are as unreadable as text.
    const auto geometryValue = [](const QSettings& s, const char* key, double fallback) {
        const auto v = NumberSetting(s, key);
        return v && std::fabs(*v) <= 1e6 ? static_cast<double>(static_cast<float>(*v)) : fallback;
    };
    double left = 0, top = 0, width = 0, height = 0;
    WithSettings([&](QSettings& s) {
        s.beginGroup(QString::fromLatin1(kSettingsGroup));
        left = geometryValue(s, "MainLeft", 1005);
        top = geometryValue(s, "MainTop", 495);
        width = geometryValue(s, "MainWidth", 13710);
        height = geometryValue(s, "MainHeight", 10185);
        gAutoRefresh = BooleanSetting(s, "RefleshFlag").value_or(true);
        if (gFileDir.empty()) gFileDir = TextSetting(s, "DataPath").value_or(programFolder);
        gImportDir = TextSetting(s, "ImportDataPath").value_or(programFolder);
        s.endGroup();
    });
    move(PxX(left), PxY(top));
    const QSize extra = FrameExtra();
    resize(std::max(0, PxX(width) - extra.width()), std::max(0, PxY(height) - extra.height()));
    // A change of size raises the resize rules, shown or not.
    Form_Resize();
    drawing::gNTFlag = true;

    setIndexArray();
    ToolButton(QStringLiteral("DispSI"))->setChecked(gSIDisp);
    EnableWaitingCommands();
    gShortLoadKind = 0;
    mblnMovingColumn = false;
    mblnDeletingColumn = false;
    mblnFillingRoutes = false;
    mblnGridQuiet = true;
    msub_SetUpTable();

    cmdFlgReflesh->setVisible(!gAutoRefresh);
    const QRect nm = pctNM->geometry();
    pctNM->setGeometry(nm.x(), nm.y(), nm.width(), PxY(gAutoRefresh ? 4215 : 3735));

    // Filling the route list must not change the project's routes.
    const int16_t routeX = gCond.DesignRootX;
    const int16_t routeY = gCond.DesignRootY;
    mblnFillingRoutes = true;
    set_cmbDRoot();
    gCond.DesignRootX = routeX;
    gCond.DesignRootY = routeY;

    // A project that cannot be checked is still shown, and the load ends.
    UserOperation([this] {
        msub_UpdateDisplayMenus();
        msub_ShowProject();
    });

    mblnFillingRoutes = false;
    gDataChanged = false;
    mblnLoading = false;
}

void frmMain::Form_Resize()
{
    // The platform refuses sizes while the window is minimised or maximised.
    const bool sizable = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    if (sizable) {
        const QSize extra = FrameExtra();
        if (frameGeometry().width() != PxX(kFixedWidth)) resize(PxX(kFixedWidth) - extra.width(), height());
        if (frameGeometry().height() < PxY(kMinHeight)) resize(width(), PxY(kMinHeight) - extra.height());
    }

    const int innerHeight = height() - MenuHeight();
    const int statusHeight = sbStatusBar->isHidden() ? 0 : sbStatusBar->sizeHint().height();
    tbToolBar->setGeometry(0, 0, width(), tbToolBar->sizeHint().height());

    const int gridTop = innerHeight - statusHeight - grdView1->height() - PxY(60);
    grdView1->move(grdView1->x(), gridTop);
    Frame1->move(Frame1->x(), gridTop - Frame1->height() - PxY(720));
    Frame2->move(Frame2->x(), gridTop - Frame2->height() - PxY(720));
    grdList->resize(grdList->width(), std::max(0, Frame1->y() - grdList->y() - PxY(60)));
    cmdInput->move(cmdInput->x(), gridTop - cmdInput->height() - PxY(120));
    Label5->move(Label5->x(), gridTop - PxY(60) - Label5->height());
    Label6->move(Label6->x(), gridTop - PxY(60) - Label6->height());
}

bool frmMain::ConfirmLeavingProject()
{
    if (!gDataChanged) return true;
    const bool untitled = vb::LCase(gFileName) == "untitled.kud";
    const std::string text =
        std::string("データが変更されています。\r") + (untitled ? "登録しますか？" : "上書きしますか？");
    ProjectCommands& commands = Commands();
    for (;;) {
        const ui::Answer a = ui::Current().question(text, "確認", ui::Buttons::YesNoCancel, ui::Answer::Yes);
        if (a == ui::Answer::Yes) {
            // Until the project is written (or the user says No or Cancel)
            // the question comes back: the program never ends over changes
            // that were not saved.
            if (untitled ? commands.msub_SaveProjectAs() : !commands.msub_WriteProjectFile()) continue;
            return true;
        }
        return a == ui::Answer::No;
    }
}

void frmMain::Form_Unload(bool& Cancel)
{
    if (!ConfirmLeavingProject()) {
        Cancel = true;
        return;
    }

    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (*it != this && (*it)->isVisible() && (*it)->isWindow()) (*it)->close();

    if (!isMinimized()) {
        const auto flag = [](bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); };
        WithSettings([&](QSettings& s) {
            s.beginGroup(QString::fromLatin1(kSettingsGroup));
            s.setValue(QStringLiteral("MainLeft"), QString::number(Left()));
            s.setValue(QStringLiteral("MainTop"), QString::number(Top()));
            s.setValue(QStringLiteral("MainWidth"), QString::number(Width()));
            s.setValue(QStringLiteral("MainHeight"), QString::number(Height()));
            s.setValue(QStringLiteral("NTFlag"), flag(drawing::gNTFlag));
            s.setValue(QStringLiteral("RefleshFlag"), flag(gAutoRefresh));
            s.setValue(QStringLiteral("DataPath"), QString::fromStdString(gFileDir));
            s.setValue(QStringLiteral("ImportDataPath"), QString::fromStdString(gImportDir));
            s.endGroup();
            WriteStartupSettings(s);
        });
    }

    mobjEditBox.reset();
    mobjFlexInput2.reset();
    mobjFlexInput1.reset();
    gIconMenu().UnSetIconMenu();
    ReleaseGlobalObjects();
    QCoreApplication::quit();
}

void frmMain::msub_SetUpTable()
{
    mobjEditBox = MakeStressEntryFilter();

    mobjFlexInput1 = std::make_unique<zDLFlex8_Vendra>();
    mobjFlexInput1->setprpFlex(grdView1);
    mobjFlexInput1->setprpInputContainer(fraInput1);
    mobjFlexInput1->setprpInputTextBox(txtInput1);
    mobjFlexInput1->setprpMoveMode(4);
    connect(mobjFlexInput1.get(), &zDLFlex8_Vendra::Validate, this, &frmMain::mobjFlexInput1_Validate);

    msub_InitResultTable();
    msub_InitCellMaps();
}

frmMain::~frmMain()
{
    // The focus leaves the factor boxes while the widgets go; their entry end
    // must not reach a window that is no longer one.
    for (QLineEdit* box : {txtGamma, txtAlpha1, txtAlpha2})
        if (box) disconnect(box, &QLineEdit::editingFinished, this, nullptr);
}

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
    const RaisedFlag quiet(mblnGridQuiet);
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
        } else {
            g.setTextMatrix(8, c, verdict(res.JadgeM(dir, k)));
            if (res.JadgeM(dir, k) == 0) {
                for (int r : {11, 12, 13}) g.setTextMatrix(r, c, QStringLiteral(" -   *"));
                continue;
            }
        }
        g.setTextMatrix(11, c, Q(FormatValue(res.Qu(dir, k), 2)));
        g.setTextMatrix(12, c, shearRatio);
        g.setTextMatrix(13, c, verdict(res.JadgeQ(dir, k)));
    }

    g.setRedraw(true);
}

// The current column could not be checked: no result of it is left to read
// as current. The result rows are emptied with the verdicts marked, the list
// row and the panel show the records alone, and the box says why.
void frmMain::MarkUncheckedColumn(const std::string& reason)
{
    {
        const RaisedFlag quiet(mblnGridQuiet);
        auto& g = *grdView1;
        g.setRedraw(false);
        const QString mark = Q(std::string("  ") + kUncheckedMark);
        for (int16_t dir = 0; dir <= 1; ++dir) {
            for (int16_t k : {1, 4, 5, 6, 7}) {
                const int c = CaseColumn(k, dir);
                for (int r : {6, 7, 9, 11, 12}) g.setTextMatrix(r, c, QString());
                for (int r : {8, 13}) g.setTextMatrix(r, c, mark);
            }
        }
        g.setRedraw(true);
    }
    ShowColumnRecordTexts();
    grdList->setTextMatrix(gCurCol, 4, Q(kUncheckedMark));
    grdList->setTextMatrix(gCurCol, 5, QString());
    if (gCond.SMode == kFalse)
        for (QLabel* l : lblKvSpec) l->setText(QString());
    msub_UpdateDisplayMenus();
    ShowReasonInBox(reason);
}

// ---- Column verdict and zone mark ----

std::string frmMain::msub_GetColumnJudge(int16_t col) const
{
    return GetColumnJudgeText(gResults(col), gCond.UltJadge != kFalse);
}

std::string frmMain::msub_GetZoneMark(int16_t col) const
{
    if (gCond.SMode == kFalse) return {};
    return GetZoneMarkText(GetColumnRebarZone(col));
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
    FollowTableWithEditor();
}

// ---- Entry and recalculation ----

bool frmMain::CellTakesEntry(int row, int col) const
{
    if (row != 4 && row != 5 && row != 10) return false;
    if (grdView1->CellBackColor(row, col) != kOpenColor) return false;
    if (col == 2 || col == 3) return true;
    if (col >= 4 && col <= 11) return gCond.ShortCalcMode != 0;
    if (col >= 12 && col <= 19) return gCond.UltCalcMode != 0;
    return false;
}

void frmMain::grdView1_RowColChange()
{
    if (!mobjFlexInput1) return;
    mobjFlexInput1->Input_Reset(true);
    if (CellTakesEntry(grdView1->Row(), grdView1->Col())) mobjFlexInput1->Input_Text(mobjEditBox.get());
}

// The program has rewritten the table: an open editor takes its cell's new
// text, or closes without storing when the cell no longer takes entry, so
// that Enter never stores what the cell showed before.
void frmMain::FollowTableWithEditor()
{
    if (!mobjFlexInput1 || mobjFlexInput1->inputMode() == 0) return;
    if (CellTakesEntry(grdView1->Row(), grdView1->Col()))
        mobjFlexInput1->Input_Text(mobjEditBox.get());
    else
        mobjFlexInput1->Input_Reset(false);
}

void frmMain::mobjFlexInput1_Validate(int Row, int Col, const QVariant& Ans, bool /*Check*/)
{
    // A factor that cannot divide would store an infinite or meaningless
    // stress: nothing is stored or recalculated.
    if (!(std::isfinite(gUnitFactor) && gUnitFactor > 0)) return;
    // Raised from inside the editor's key and focus handling, which would
    // swallow or pass on a failure: it is told here and goes no further.
    // The entry stays stored, and the cell shows it as stored.
    UserOperation([&] {
        const double typed =
            Ans.typeId() == QMetaType::Double ? SafeCDbl(Ans.toDouble()) : SafeCDbl(Ans.toString().toStdString());
        const double value = typed / gUnitFactor;
        ColumnDataTbl& col = gColumns(gCurCol);
        for (const auto& [i, j] : EntryFields(Row, Col)) col.LoadTbl(i, j) = value;
        gDataChanged = true;
        msub_RecalcCurrentColumn();
        UpdateColumnRebar(gCurCol, gColumns(gCurCol), gKvBase(gCurCol));
        msub_ShowColumnDetail();
    });
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
    // Selecting a column never marks the project changed, though filling the
    // name box does; its results are filled even while refresh is off.
    const RestoreOnExit changed(gDataChanged);
    const RestoreOnExit refresh(gAutoRefresh, true);
    if (!mblnMovingColumn) msub_ShowCurrentColumn();
    // Up and down by position; a single column touches only "up".
    const int16_t count = gCond.ColCount;
    if (gCurCol == 1) {
        msub_EnableMoveColLeft(false);
        if (count >= 2) msub_EnableMoveColRight(true);
    } else if (gCurCol == count) {
        msub_EnableMoveColRight(false);
        if (count >= 2) msub_EnableMoveColLeft(true);
    } else {
        msub_EnableMoveColLeft(true);
        msub_EnableMoveColRight(true);
    }
    if (grdList->Row() != gCurCol) grdList->setRow(gCurCol);
    // Reopened on the current cell, but only where that cell takes entry.
    if (mobjFlexInput1 && CellTakesEntry(grdView1->Row(), grdView1->Col()))
        mobjFlexInput1->Input_Text(mobjEditBox.get());
}

// The current column's stress cells, then its check and results in X and Y.
void frmMain::FillCurrentColumnTables()
{
    msub_FillStressInputCells();
    FillCurrentResultTables();
}

// The current column checked again in X and Y, and its result tables.
void frmMain::FillCurrentResultTables()
{
    for (int16_t d = 0; d <= 1; ++d) {
        CalcColumnByIndex(gCurCol, d);
        msub_FillResultTable(d);
    }
}

void frmMain::msub_ShowCurrentColumn()
{
    txtColName->setText(Q(vb::Trim(gColumns(gCurCol).ColName.value())));
    FillCurrentColumnTables();
    msub_ShowColumnDetail();
    msub_UpdateDisplayMenus();
}

void frmMain::cmdFlgReflesh_Click()
{
    if (gAutoRefresh) return;
    const RestoreOnExit refresh(gAutoRefresh, true);
    FillCurrentColumnTables();
    msub_ShowColumnDetail();
}

void frmMain::refleshTable(bool everyColumn)
{
    // Called by the options dialog: a failed check is told here.
    UserOperation([this, everyColumn] {
        msub_FormatResultTable();
        if (everyColumn) RefillColumnList();
        msub_SelectColumn(true);
        FillCurrentColumnTables();
        msub_ShowColumnDetail();
    });
}
