// The main window's commands: toolbar, menu bar, hot keys and buttons, the
// status bar's mode toggles, the design-condition handlers and the switch
// between steel and SRC projects.
#include "mainwin/frmMain.h"
#include "mainwin/scope_flags.h"

#include "drawing/nm_diagram.h"
#include "drawing/print_out.h"
#include "engine/kv.h"
#include "model/column_check.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/project_file.h"
#include "model/rebar_handover.h"
#include "model/shell.h"
#include "mainwin/flmImmunity.h"
#include "mainwin/frmAbout.h"
#include "mainwin/frmNowLoading.h"
#include "platform/qt/grid/flexgrid.h"
#include "platform/qt/picture_box.h"
#include "platform/text/fixed_text.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"
#include "resources/strings/res_strings.h"
#include "widgets/cIconMenu.h"
#include "widgets/zDLCtlProc_Vendra.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace model;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool SMode() { return gCond.SMode != kFalse; }

// The maker's download page; an address of our own.
constexpr const char* kHomePage = "https://www.example.com/vendra/download/";

// The toolbar: key, caption, tool tip, menu picture id (0: none), checkable;
// a null key is a separator.
struct ToolDef {
    const char* key;
    const char* caption;
    const char* tip;
    int picture;
    bool checkable;
};
constexpr ToolDef kTools[] = {
    {"New", "新規", "新規作成", 1001, false},
    {"Open", "開く", "開く", 1002, false},
    {"Save", "保存", "上書き保存", 1004, false},
    {nullptr, nullptr, nullptr, 0, false},
    {"Print", "印刷", "印刷", 1010, false},
    {nullptr, nullptr, nullptr, 0, false},
    {"AddCol", "追加", "柱追加", 1151, false},
    {"CopyCol", "ｺﾋﾟｰ", "柱コピー", 1152, false},
    {"DelCol", "削除", "柱削除", 1153, false},
    {nullptr, nullptr, nullptr, 0, false},
    {"MoveColLeft", "上", "柱上移動", 1154, false},
    {"MoveColRight", "下", "柱下移動", 1155, false},
    {nullptr, nullptr, nullptr, 0, false},
    {"DispNMLong", "長期", "長期N-M関係の表示", 0, true},
    {"DispNMShort", "短期", "短期N-M関係の表示", 0, true},
    {"DispNMUltimate", "終局", "終局N-M関係の表示", 0, true},
    {nullptr, nullptr, nullptr, 0, false},
    {"DispNMCol", "柱性能", "柱性能の表示", 0, true},
    {nullptr, nullptr, nullptr, 0, false},
    {"DispSI", "SI/従", "SI/従来単位の表示切替え", 0, true},
    {"Rebar", "配筋", "", 0, false},
    {"end", "終了", "終了", 1012, false},
};

// The curve flag a curve key switches: (2) long-term, (1) short-term, (0) ultimate.
int CurveFlag(const QString& key)
{
    if (key == QLatin1String("DispNMLong")) return 2;
    if (key == QLatin1String("DispNMShort")) return 1;
    if (key == QLatin1String("DispNMUltimate")) return 0;
    return -1;
}

QPixmap MenuPicture(int id)
{
    if (id == 0) return {};
    const auto images = MakeMenuImages();
    for (int i = 0; i < images->Count(); ++i)
        if (images->Tag(i) == QString::number(id)) return images->Picture(i);
    return {};
}

}  // namespace

// ---- Building ----

void frmMain::BuildCommands()
{
    mOpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    // Refusing the terms ends the program: unsaved changes are offered for
    // saving first, as closing the window does.
    mShowImmunity = [this] { flmImmunity::ShowModal(this, [this] { return ConfirmLeavingProject(); }); };
    mShowAbout = [this] { frmAbout::ShowModal(this); };

    // Toolbar.
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbToolBar->setIconSize(QSize(16, 16));
    for (const ToolDef& t : kTools) {
        if (!t.key) {
            tbToolBar->addSeparator();
            continue;
        }
        QAction* a = tbToolBar->addAction(QString::fromUtf8(t.caption));
        a->setObjectName(QString::fromLatin1(t.key));
        if (*t.tip) a->setToolTip(QString::fromUtf8(t.tip));
        const QPixmap picture = MenuPicture(t.picture);
        if (!picture.isNull()) a->setIcon(QIcon(picture));
        a->setCheckable(t.checkable);
        const QString key = a->objectName();
        connect(a, &QAction::triggered, this, [this, key] { UserOperation([&] { tbToolBar_ButtonClick(key); }); });
    }
    for (const char* key : {"DelCol", "MoveColLeft", "MoveColRight"}) ToolButton(QString::fromLatin1(key))->setEnabled(false);
    curveGroup_ = new QActionGroup(this);
    for (const char* key : {"DispNMLong", "DispNMShort", "DispNMUltimate"})
        curveGroup_->addAction(ToolButton(QString::fromLatin1(key)));
    SetCurveButtons(true);

    // Menus around the Edit and View menus.
    const auto item = [this](QMenu* menu, const char* name, const char* caption, void (frmMain::*handler)()) {
        return AddMenuItem(menu, name, caption, handler);
    };
    auto hook = [this](QMenu* menu, const char* name, const char* caption, std::function<void()> frmMain::*member) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [this, member] {
            UserOperation([&] {
                if (this->*member) (this->*member)();
            });
        });
        return a;
    };
    mnuFile = new QMenu(QStringLiteral("1000"), this);
    mnuFile->setObjectName("mnuFile");
    menuBar()->insertMenu(mnuEdit->menuAction(), mnuFile);
    mnuFileNew = item(mnuFile, "mnuFileNew", "1001", &frmMain::mnuFileNew_Click);
    mnuFileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileOpen = item(mnuFile, "mnuFileOpen", "1002", &frmMain::mnuFileOpen_Click);
    mnuFile->addSeparator();
    mnuFileSave = item(mnuFile, "mnuFileSave", "1004", &frmMain::mnuFileSave_Click);
    mnuFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFileSaveAs = item(mnuFile, "mnuFileSaveAs", "名前を付けて保存(&A)...", &frmMain::mnuFileSaveAs_Click);
    mnuFile->addSeparator();
    mnuDevFileOut = hook(mnuFile, "mnuDevFileOut", "1190", &frmMain::mShowDevFileOut);
    mnuFile->addSeparator();
    mnuFileImport = hook(mnuFile, "mnuFileImport", "1269", &frmMain::mImportAnalysisFile);
    mnuFile->addSeparator();
    mnuFilePageSetup = hook(mnuFile, "mnuFilePageSetup", "ﾌﾟﾘﾝﾀ設定(&U)...", &frmMain::mShowPageSetup);
    mnuFilePrint = hook(mnuFile, "mnuFilePrint", "1010", &frmMain::mShowPrintDialog);
    mnuFile->addSeparator();
    mnuFileExit = item(mnuFile, "mnuFileExit", "1012", &frmMain::mnuFileExit_Click);

    mnuTools = menuBar()->addMenu(QStringLiteral("1025"));
    mnuTools->setObjectName("mnuTools");
    mnuToolsOptions = item(mnuTools, "mnuToolsOptions", "ｵﾌﾟｼｮﾝ(&O)...", &frmMain::mnuToolsOptions_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("1033"));
    mnuHelp->setObjectName("mnuHelp");
    mnuHelpContents = item(mnuHelp, "mnuHelpContents", "目次(&C)", &frmMain::mnuHelpContents_Click);
    mnuHelpSearchForHelpOn =
        item(mnuHelp, "mnuHelpSearchForHelpOn", "ﾄﾋﾟｯｸの検索(&S)...", &frmMain::mnuHelpSearchForHelpOn_Click);
    mnuHelp->addSeparator();
    mnuHelpJumpToKinou = item(mnuHelp, "mnuHelpJumpToKinou", "機能概要(pdf)の表示(&K)", &frmMain::mnuHelpJumpToKinou_Click);
    mnuHelpJumpToSendan =
        item(mnuHelp, "mnuHelpJumpToSendan", "せん断検討(pdf)の表示(&Q)", &frmMain::mnuHelpJumpToSendan_Click);
    mnuHelp->addSeparator();
    mnuHelpJumpToHomePage =
        item(mnuHelp, "mnuHelpJumpToHomePage", "ホームページへ(&H)", &frmMain::mnuHelpJumpToHomePage_Click);
    mnuHelp->addSeparator();
    mnuHelpImmunity = hook(mnuHelp, "mnuHelpImmunity", "利用規定", &frmMain::mShowImmunity);
    mnuHelpAbout = hook(mnuHelp, "mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", &frmMain::mShowAbout);

    // Project details beside the project name.
    cmdBDetail = new QPushButton(QStringLiteral("詳細"), Frame5);
    cmdBDetail->setObjectName("cmdBDetail");
    Place(cmdBDetail, 1380, 285, 435, 345);
    Place(txtBukken, 120, 300, 1215, 315);
    connect(cmdBDetail, &QPushButton::clicked, this, [this] { UserOperation([this] { cmdBDetail_Click(); }); });

    // Hidden hot keys, seen before the controls.
    auto hotKey = [this](int key, int code) {
        auto* s = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | key), this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, code] { UserOperation([&] { Form_KeyDown(code, 6); }); });
    };
    hotKey(Qt::Key_B, 66);
    hotKey(Qt::Key_S, 83);

    for (QLabel* p : sbPanels) p->installEventFilter(this);
    ConnectConditionHandlers();
    EnableWaitingCommands();
}

QAction* frmMain::ToolButton(const QString& key) const
{
    for (QAction* a : tbToolBar->actions())
        if (a->objectName() == key) return a;
    return nullptr;
}

// Commands whose windows come from elsewhere are offered once they are there.
void frmMain::EnableWaitingCommands()
{
    mnuDevFileOut->setEnabled(static_cast<bool>(mShowDevFileOut));
    cmdInput->setEnabled(static_cast<bool>(mShowStressInputDialog));
    mnuFileImport->setEnabled(static_cast<bool>(mImportAnalysisFile) && SMode());
    mnuFilePageSetup->setEnabled(static_cast<bool>(mShowPageSetup));
    mnuFilePrint->setEnabled(static_cast<bool>(mShowPrintDialog));
    ToolButton(QStringLiteral("Print"))->setEnabled(static_cast<bool>(mShowPrintDialogModal));
    mnuToolsOptions->setEnabled(static_cast<bool>(mShowOptionsDialog));
    cmdBDetail->setEnabled(static_cast<bool>(mShowBukkenDialog));
    mnuHelpImmunity->setEnabled(static_cast<bool>(mShowImmunity));
    mnuHelpAbout->setEnabled(static_cast<bool>(mShowAbout));
}

void frmMain::ConnectConditionHandlers()
{
    auto guarded = [this](void (frmMain::*handler)()) {
        return [this, handler] { UserOperation([&] { (this->*handler)(); }); };
    };
    connect(txtGamma, &QLineEdit::textChanged, this, guarded(&frmMain::txtGamma_Change));
    connect(txtAlpha1, &QLineEdit::textChanged, this, guarded(&frmMain::txtAlpha1_Change));
    connect(txtAlpha2, &QLineEdit::textChanged, this, guarded(&frmMain::txtAlpha2_Change));
    connect(txtGamma, &QLineEdit::editingFinished, this, [this] {
        UserOperation([this] { EndFactorEntry(txtGamma, gammaEntry_, gCond.GammaX, &gCond.GammaY, "γ"); });
    });
    connect(txtAlpha1, &QLineEdit::editingFinished, this, [this] {
        UserOperation([this] { EndFactorEntry(txtAlpha1, alpha1Entry_, gCond.Alpha1, nullptr, "α1"); });
    });
    connect(txtAlpha2, &QLineEdit::editingFinished, this, [this] {
        UserOperation([this] { EndFactorEntry(txtAlpha2, alpha2Entry_, gCond.Alpha2, nullptr, "α2"); });
    });
    connect(txtBukken, &QLineEdit::textChanged, this, guarded(&frmMain::txtBukken_Change));
    connect(txtColName, &QLineEdit::textChanged, this, guarded(&frmMain::txtColName_Change));
    connect(chkSymmetry, &QCheckBox::toggled, this, guarded(&frmMain::chkSymmetry_Click));
    connect(cmbSCondition, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) UserOperation([this] { cmbSCondition_Click(); });
    });
    for (int i = 0; i < 3; ++i)
        connect(optCalcShortMode[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) UserOperation([this, i] { optCalcShortMode_Click(i); });
        });
    for (int i = 0; i < 2; ++i)
        connect(optStruc[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) UserOperation([this, i] { optStruc_Click(i); });
        });
    // The whole text is selected on entry, also after a click placed the caret.
    for (QLineEdit* box : {txtGamma, txtAlpha1, txtAlpha2, txtBukken, txtColName}) box->installEventFilter(this);
}

model::ProjectCommands& frmMain::Commands()
{
    if (!commands_) commands_ = std::make_unique<ProjectCommands>(*this);
    return *commands_;
}

// ---- Status bar ----

void frmMain::sbStatusBar_PanelClick(int Panel)
{
    if (Panel != 1 || gCond.SCondition != 2) return;
    ui::Current().message(LoadResString(1298).toStdString(), LoadResString(1299).toStdString(),
                          ui::MessageKind::Information);
}

void frmMain::sbStatusBar_PanelDblClick(int Panel)
{
    QCoreApplication::processEvents();
    if (Panel == 2) {
        setCalcMode(1, gCond.ShortCalcMode != 0 ? 0 : 1, 999);
        gDataChanged = true;
    } else if (Panel == 3) {
        setCalcMode(0, gCond.UltCalcMode != 0 ? 0 : 1, 999);
        gDataChanged = true;
    }
    // The mode gives every column other design stresses, verdicts and zones.
    if (Panel == 2 || Panel == 3) RecheckForFactors();
    grdView1_RowColChange();
}

// ---- Design conditions ----

// The factors take only numbers a saved project opens with again.
void frmMain::txtGamma_Change()
{
    if (gammaEntry_.changed(txtGamma->text(), gCond.GammaX, &gCond.GammaY)) gDataChanged = true;
}

void frmMain::txtAlpha1_Change()
{
    if (alpha1Entry_.changed(txtAlpha1->text(), gCond.Alpha1, nullptr)) gDataChanged = true;
}

void frmMain::txtAlpha2_Change()
{
    if (alpha2Entry_.changed(txtAlpha2->text(), gCond.Alpha2, nullptr)) gDataChanged = true;
}

void frmMain::EndFactorEntry(QLineEdit* box, FactorEntry& entry, double& value, double* twin, const char* name)
{
    const std::optional<double> before = entry.before();
    if (entry.finished(box->text(), value, twin)) {
        if (!before || *before == value) return;
        // The box shows what the check now uses.
        if (box->text() != FactorText(value)) box->setText(FactorText(value));
        RecheckForFactors();
        return;
    }
    // Shown before the message, whose window takes the focus and ends the entry again.
    box->setText(FactorText(value));
    ui::Current().message(DesignFactorRangeText(name), "注意", ui::MessageKind::Warning);
}

// A committed factor (or snow handling, or calculation mode) changes the
// design stresses of every column: the list's verdicts and zones and the
// current column are checked again, as after a route change.
// The result rows wait for the refresh button while automatic refresh is off.
void frmMain::RecheckForFactors()
{
    RefillColumnList();
    msub_ShowCurrentColumn();
}

void frmMain::chkSymmetry_Click()
{
    const int16_t value = chkSymmetry->isChecked() ? kTrue : kFalse;
    gCond.SymmetryX = gCond.SymmetryY = value;
    // A display that set the box goes on showing the project itself.
    if (mblnShowingProject) return;
    msub_ShowCurrentColumnQuiet();
    msub_ShowProject();
    gDataChanged = true;
}

void frmMain::cmbSCondition_Click()
{
    const int index = cmbSCondition->currentIndex();
    const bool changed = gCond.SCondition != index;
    gCond.SCondition = static_cast<int16_t>(index);
    ShowSnowFactors(index == 2);
    if (mblnShowingProject) return;
    if (!changed) {
        msub_ShowCurrentColumn();
        return;
    }
    gDataChanged = true;
    // Heavy snow gives every column other design stresses, verdicts and zones.
    RecheckForFactors();
}

void frmMain::optCalcShortMode_Click(int Index)
{
    gShortLoadKind = static_cast<int16_t>(Index);
    if (mblnShowingProject) return;
    msub_ShowCurrentColumnQuiet();
    const RaisedFlag skip(mblnSkipRouteSync);
    msub_ShowProject();
}

void frmMain::txtBukken_Change()
{
    gCond.Bukken = vb::Trim(txtBukken->text().toStdString());
    gDataChanged = true;
}

void frmMain::txtColName_Change()
{
    const std::string typed = vb::Trim(txtColName->text().toStdString());
    if (gCurCol < 1 || gCurCol > gCond.ColCount) return;
    // The name as the project file holds it, so that the list, the rebar
    // record and a fresh open all show the same name.
    const std::string t = text::AsStoredText(typed, gColumns(gCurCol).ColName.size());
    if (t != typed) {
        const QSignalBlocker quiet(txtColName);
        const int at = txtColName->cursorPosition();
        txtColName->setText(Q(t));
        txtColName->setCursorPosition(std::min(at, static_cast<int>(txtColName->text().size())));
    }
    grdList->setTextMatrix(gCurCol, 1, Q(t));
    gColumns(gCurCol).ColName = t;
    // The record carries the name as the column stores it.
    RenameColumnRebar(gCurCol, gColumns(gCurCol).ColName.value());
    gDataChanged = true;
}

// ---- Structure switch ----

void frmMain::optStruc_Click(int Index)
{
    gDispMode = 0;
    mnuDispNMX_Click();
    if (mblnSettingStructure) {
        mblnSettingStructure = false;
        return;
    }
    // Lowered at the latest when the switch ends, also when it fails.
    const RaisedFlag setting(mblnSettingStructure);
    if (gDataChanged) {
        const bool untitled = vb::LCase(gFileName) == "untitled.kud";
        const std::string text =
            std::string("データが変更されています。\r") + (untitled ? "登録しますか？" : "上書きしますか？");
        const ui::Answer a = ui::Current().question(text, "確認", ui::Buttons::YesNoCancel);
        bool keep = a == ui::Answer::Cancel;
        if (a == ui::Answer::Yes) {
            Commands().msub_SaveProject();
            // A save that wrote nothing keeps the project as a Cancel does.
            keep = gDataChanged;
        }
        if (keep) {
            optStruc[SMode() ? 0 : 1]->setChecked(true);
            mblnSettingStructure = false;
            return;
        }
    }
    gDataChanged = false;
    if (!mblnLoading && optStruc[Index]->isChecked()) {
        const double fc = Index == 0 ? (gSIDisp ? 21 : 210) : (gSIDisp ? 24 : 240);
        gCond.SMode = gCondDefault.SMode = Index == 0 ? kTrue : kFalse;
        gCond.Fc = gCondDefault.Fc = fc;
    }
    const bool sMode = SMode();
    SetCurveButtons(sMode);
    Commands().msub_NewProject();
    set_cmbDRoot();
    mblnSettingStructure = false;
    mnuFileImport->setEnabled(sMode && static_cast<bool>(mImportAnalysisFile));
    ShowGammaForRoute(sMode);
    gDataChanged = false;
}

// The gamma box follows the route in S (kept for other codes); SRC has none.
void frmMain::ShowGammaForRoute(bool sMode)
{
    if (sMode) {
        if (gCond.DesignRootX == 2 || gCond.DesignRootX == 12) {
            Label2->show();
            txtGamma->show();
        } else if (gCond.DesignRootX == 3 || gCond.DesignRootX == 11) {
            Label2->hide();
            txtGamma->hide();
        }
    } else {
        txtGamma->hide();
    }
    cmbDRoot->show();
}

// The snow factors are entered only for heavy snow, which also shows its
// caution in the status bar.
void frmMain::ShowSnowFactors(bool heavy)
{
    for (QWidget* c : std::initializer_list<QWidget*>{txtAlpha1, txtAlpha2, Label1, Label4}) c->setEnabled(heavy);
    sbPanels[0]->setText(heavy ? LoadResString(1297) : QString());
}

// The curve buttons: independent in S, one at a time in SRC; short-term and
// (in S) ultimate shown.
void frmMain::SetCurveButtons(bool sMode)
{
    curveGroup_->setExclusive(!sMode);
    ToolButton(QStringLiteral("DispNMLong"))->setChecked(false);
    ToolButton(QStringLiteral("DispNMShort"))->setChecked(true);
    ToolButton(QStringLiteral("DispNMUltimate"))->setChecked(sMode);
    gNMCurveShow(0) = sMode;
    gNMCurveShow(1) = true;
    gNMCurveShow(2) = false;
}

// ---- Toolbar ----

void frmMain::tbToolBar_ButtonClick(const QString& key)
{
    if (key == QLatin1String("New")) {
        mnuFileNew_Click();
    } else if (key == QLatin1String("Open")) {
        mnuFileOpen_Click();
    } else if (key == QLatin1String("Save")) {
        mnuFileSave_Click();
    } else if (key == QLatin1String("Print")) {
        // Nothing is printed over results that could not be brought up to date.
        if (!gAutoRefresh && !UserOperation([this] { cmdFlgReflesh_Click(); })) return;
        if (mShowPrintDialogModal) mShowPrintDialogModal();
        QCoreApplication::processEvents();
        return;
    } else if (key == QLatin1String("AddCol") || key == QLatin1String("CopyCol") || key == QLatin1String("DelCol") ||
               key == QLatin1String("MoveColLeft") || key == QLatin1String("MoveColRight")) {
        if (key == QLatin1String("AddCol")) msub_AddColumn(0);
        if (key == QLatin1String("CopyCol")) msub_AddColumn(1);
        if (key == QLatin1String("DelCol")) msub_DeleteColumn();
        if (key == QLatin1String("MoveColLeft")) msub_MoveColumn(0);
        if (key == QLatin1String("MoveColRight")) msub_MoveColumn(1);
        grdList->ShowCell(grdList->Row(), grdList->Col());
    } else if (const int flag = CurveFlag(key); flag >= 0) {
        if (SMode()) {
            gNMCurveShow(flag) = ToolButton(key)->isChecked();
        } else {
            for (int f = 0; f <= 2; ++f) gNMCurveShow(f) = f == flag;
            // The group knows only its last checked button: set all three.
            for (QAction* a : curveGroup_->actions()) a->setChecked(a->objectName() == key);
        }
    } else if (key == QLatin1String("DispNMCol")) {
        gNMCurveShow(3) = ToolButton(key)->isChecked();
    } else if (key == QLatin1String("DispSI")) {
        SwitchUnits(ToolButton(key)->isChecked());
    } else if (key == QLatin1String("end")) {
        close();
        return;
    } else if (key == QLatin1String("Rebar")) {
        msub_RunFendralTool();
        return;
    }
    RedrawAfterCommand(key);
}

void frmMain::RedrawAfterCommand(const QString& key)
{
    for (int f = 0; f <= 2; ++f) {
        if (gNMCurveShow(f)) {
            DrawCurrentNM();
            return;
        }
    }
    ui::Current().message("全ての応力状態のN-M関係を非表示にできません。", "注意", ui::MessageKind::Warning);
    const int flag = CurveFlag(key);
    if (flag >= 0) {
        ToolButton(key)->setChecked(true);
        gNMCurveShow(flag) = true;
    }
}

void frmMain::SwitchUnits(bool si)
{
    if (si == gSIDisp) return;
    gSIDisp = si;
    gUnitFactor = si ? gCond.GFactor : 1.0;
    kv::KV& kv = *gKv;
    kv.setSIFlag(gSIDisp);
    // Strengths are held in the shown unit; the switch uses the factor 10.
    const auto convert = [si](double& v) { v = si ? v / 10 : v * 10; };
    for (long i = 1; i <= gCond.ColCount; ++i) {
        convert(gColumns(i).Fc);
        convert(gColumns(i).SlabFc);
    }
    // The project's and the templates' defaults follow, so that a column or
    // project made later is in the shown unit too.
    convert(gCond.Fc);
    convert(gCondDefault.Fc);
    for (ColumnDataTbl* t : {&gColumnDefault, &gColumnDefaultSrc}) {
        convert(t->Fc);
        convert(t->SlabFc);
    }
    convert(gFcUpperLimit);
    kv.setFc(gColumns(gCurCol).Fc);
    kv.setSlabFc(gColumns(gCurCol).SlabFc);
    kv.setSIFlag(gSIDisp);
    msub_ShowColumnDetail();
    FillCurrentColumnTables();
    for (int i = 1; i <= gCond.ColCount; ++i) grdList->setTextMatrix(i, 6, Q(vb::Trim(vb::Str(gColumns(i).Fc))));
}

void frmMain::showLoading(bool on)
{
    if (on)
        ShowNowLoading(this);
    else
        HideNowLoading();
}

// ---- Hot keys, file commands, buttons ----

void frmMain::Form_KeyDown(int KeyCode, int Shift)
{
    if (Shift != 6) return;
    if (KeyCode == 83) Commands().msub_WriteColumnListCsv();
    if (KeyCode == 66) msub_RunFendralTool();
}

void frmMain::mnuFileNew_Click() { Commands().msub_NewProject(); }
void frmMain::mnuFileOpen_Click() { Commands().msub_OpenProject(); }
void frmMain::mnuFileSave_Click() { Commands().msub_SaveProject(); }
void frmMain::mnuFileSaveAs_Click() { Commands().msub_SaveProjectAs(); }

void frmMain::mnuToolsOptions_Click()
{
    if (!mShowOptionsDialog) return;
    mShowOptionsDialog();
    Form_Resize();
    grdView1_RowColChange();
}

void frmMain::cmdBDetail_Click()
{
    if (!mShowBukkenDialog) return;
    mShowBukkenDialog();
    txtBukken->setText(Q(vb::Trim(gCond.Bukken.value())));
}

void frmMain::msub_RunFendralTool()
{
    zDLShell shell;
    IProcessRunner& runner = mProcessRunner ? *mProcessRunner : shell;
    if (RunFendralTool(programFolder, runner) == FendralToolResult::Updated) gDataChanged = true;
}

// ---- Help, documents, web page ----

void frmMain::OpenProgramFile(const char* name, bool reportFailure)
{
    const QString path = QString::fromStdString(programFolder) + QLatin1Char('/') + QString::fromLatin1(name);
    const bool opened = QFileInfo::exists(path) && mOpenUrl(QUrl::fromLocalFile(path));
    if (opened || !reportFailure) return;
    const std::string why = QFileInfo::exists(path) ? "表示するプログラムを起動できませんでした。"
                                                    : "ファイルが見つかりません。";
    ui::Current().message(why + "\r\n" + path.toStdString(), kAppTitle, ui::MessageKind::Critical);
}

void frmMain::mnuHelpContents_Click() { OpenProgramFile("Kolvan.chm", true); }
void frmMain::mnuHelpSearchForHelpOn_Click() { OpenProgramFile("Kolvan.chm", true); }
void frmMain::mnuHelpJumpToKinou_Click() { OpenProgramFile("okv_soft_05.pdf", false); }
void frmMain::mnuHelpJumpToSendan_Click() { OpenProgramFile("shear_01.pdf", false); }

void frmMain::mnuHelpJumpToHomePage_Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mOpenUrl(QUrl(QString::fromLatin1(kHomePage)));
    QApplication::restoreOverrideCursor();
}
