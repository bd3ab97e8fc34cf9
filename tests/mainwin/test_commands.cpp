// The main window's commands: calculation modes on the status bar, the
// design-condition handlers, the structure switch, the toolbar, the menus,
// the hot keys and the help commands.
#include "window_fixture.h"

#include "drawing/recording.h"
#include "model/base_data.h"
#include "model/column_check.h"
#include "model/fendral.h"
#include "model/format.h"
#include "model/project_file.h"
#include "model/rebar_handover.h"
#include "model/shell.h"
#include "model/stress.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

namespace {

using namespace mainwintest;
using namespace model;
using ui::testing::ScopedUi;
using ui::testing::ScriptedUi;

class Commands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        w->mDrawTarget = &picture;
        ui_ = std::make_unique<ScopedUi>(script);
        gFileName = "untitled.kud";
        w->msub_ShowProject();
        gDataChanged = false;
    }
    void TearDown() override
    {
        ui_.reset();
        gDispMode = 0;
        WindowTest::TearDown();
    }
    // An S project of one default column on the route given.
    void ShowS(int16_t route)
    {
        gCond.SMode = kTrue;
        gCond.DesignRootX = gCond.DesignRootY = route;
        w->msub_ShowProject();
        gDataChanged = false;
    }
    void ClickPanel(int panel, bool twice)
    {
        QLabel* p = w->sbPanels[panel - 1];
        const QPointF at(2, 2);
        auto send = [&](QEvent::Type type) {
            QMouseEvent e(type, at, p->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(p, &e);
        };
        send(QEvent::MouseButtonPress);
        send(QEvent::MouseButtonRelease);
        if (!twice) return;
        send(QEvent::MouseButtonDblClick);
        send(QEvent::MouseButtonRelease);
    }
    QAction* Tool(const char* key) const { return w->ToolButton(QString::fromLatin1(key)); }

    drawing::RecordingPicture picture;
    ScriptedUi script;
    std::unique_ptr<ScopedUi> ui_;
};

// ---- Calculation modes ----

TEST_F(Commands, UltimateByHandOpensItsCellsAndRechecks)
{
    ShowS(2);
    ASSERT_EQ(gCond.UltCalcMode, 0);
    gResults(1) = ColumnResultTbl{};
    w->setCalcMode(0, 1, 999);
    EXPECT_EQ(w->sbPanels[2]->text(), "終局マニュアル");
    for (int r : {4, 5, 10})
        for (int c : {12, 14, 16, 18}) EXPECT_EQ(w->grdView1->CellBackColor(r, c), frmMain::kOpenColor) << r << "," << c;
    const ColumnResultTbl shown = gResults(1);
    BuildDesignStresses(1);
    CalcColumnByIndex(1, 0);
    CalcColumnByIndex(1, 1);
    EXPECT_TRUE(gResults(1) == shown);

    // Mode 0 repaints the cells and leaves the result rows.
    w->grdView1->setTextMatrix(6, 4, "marker");
    w->setCalcMode(1, 1, 0);
    EXPECT_EQ(w->sbPanels[1]->text(), "短期マニュアル");
    EXPECT_EQ(w->grdView1->TextMatrix(6, 4), "marker");
    EXPECT_EQ(w->grdView1->CellBackColor(5, 4), frmMain::kOpenColor);
    w->setCalcMode(1, 0, 0);
    EXPECT_EQ(w->grdView1->CellBackColor(5, 4), frmMain::kLockedColor);
    EXPECT_EQ(w->sbPanels[1]->text(), "短期自動計算");
}

TEST_F(Commands, StatusBarPanels)
{
    ShowS(2);
    w->cmbSCondition->setCurrentIndex(2);
    ClickPanel(1, false);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "長期時応力の入力時の注意");
    EXPECT_EQ(script.messages[0].text,
              "長期荷重は入力可能ですが、表を更新すると雪荷重を考慮した値になります。\r\n\r\n"
              "入力間違いを防ぐためには以下の手順で入力してください。\r\n"
              "   ①雪荷重の扱いを\"多雪\"以外にする。\r\n"
              "   ②長期時応力を入力する。\r\n"
              "   ③雪荷重の設定を\"多雪\"にする。");
    // A double click is one click and the double click.
    gDataChanged = false;
    const int16_t ult = gCond.UltCalcMode;
    ClickPanel(1, true);
    EXPECT_EQ(script.messages.size(), 2u);
    EXPECT_FALSE(gDataChanged);
    ClickPanel(3, true);
    EXPECT_EQ(gCond.UltCalcMode, ult ? 0 : 1);
    EXPECT_TRUE(gDataChanged);
    gDataChanged = false;
    ClickPanel(2, true);
    EXPECT_EQ(gCond.ShortCalcMode, 1);
    EXPECT_TRUE(gDataChanged);
    ClickPanel(2, true);
    EXPECT_EQ(gCond.ShortCalcMode, 0);
    w->cmbSCondition->setCurrentIndex(1);
    ClickPanel(1, false);
    EXPECT_EQ(script.messages.size(), 2u);
}

TEST_F(Commands, ABaseFigureStaysThroughAModeSwitch)
{
    w->mnuDrawKV_Click();
    picture = drawing::RecordingPicture();
    w->msub_ShowColumnDetail();
    const auto figure = picture.ops.size();
    ASSERT_GT(figure, 0u);
    // The switch redraws the panel, which draws the figure again; no diagram.
    picture = drawing::RecordingPicture();
    w->setCalcMode(0, 1, 999);
    EXPECT_EQ(picture.ops.size(), figure);
    EXPECT_EQ(gDispMode, 4);
    EXPECT_TRUE(w->mnuDrawKV->isChecked());
}

// ---- Design conditions ----

TEST_F(Commands, RoutesOfBothKinds)
{
    ShowS(2);
    w->cmbDRoot->setCurrentIndex(1);
    EXPECT_EQ(gCond.DesignRootX, 12);
    EXPECT_EQ(gCond.GammaX, 1.67);
    EXPECT_EQ(gCond.GammaY, 1.67);
    EXPECT_EQ(w->txtGamma->text(), "1.67");
    EXPECT_EQ(gCond.UltCalcMode, 0);
    EXPECT_TRUE(gDataChanged);

    // During an open the project's gamma stands.
    gCond.GammaX = gCond.GammaY = 1.9;
    w->Commands().mblnLoading = true;
    w->cmbDRoot->setCurrentIndex(2);
    w->Commands().mblnLoading = false;
    EXPECT_EQ(gCond.DesignRootX, 2);
    EXPECT_EQ(gCond.GammaX, 1.9);

    gCond.SMode = kFalse;
    gColumns(1) = gColumnDefaultSrc;
    gCond.DesignRootX = gCond.DesignRootY = 21;
    w->msub_ShowProject();
    const bool gammaHidden = w->txtGamma->isHidden();
    w->cmbDRoot->setCurrentIndex(0);
    EXPECT_EQ(gCond.DesignRootX, 1);
    EXPECT_EQ(gCond.UltCalcMode, 0);
    w->cmbDRoot->setCurrentIndex(4);
    EXPECT_EQ(gCond.DesignRootX, 3);
    EXPECT_EQ(gCond.UltCalcMode, 1);
    EXPECT_EQ(w->txtGamma->isHidden(), gammaHidden);
}

TEST_F(Commands, SnowHandlingAlphaBoxesAndThePanel)
{
    ShowS(2);
    w->cmbSCondition->setCurrentIndex(2);
    EXPECT_EQ(gCond.SCondition, 2);
    EXPECT_TRUE(w->txtAlpha1->isEnabled());
    EXPECT_TRUE(w->Label4->isEnabled());
    EXPECT_EQ(w->sbPanels[0]->text(), "長期荷重の入力には注意してください。詳細はここをクリックしてください。");
    EXPECT_TRUE(gDataChanged);
    gDataChanged = false;
    w->cmbSCondition->setCurrentIndex(1);
    EXPECT_FALSE(w->txtAlpha2->isEnabled());
    EXPECT_FALSE(w->Label1->isEnabled());
    EXPECT_EQ(w->sbPanels[0]->text(), "");
    EXPECT_TRUE(gDataChanged);
    // A display of a project does not mark it.
    gDataChanged = false;
    gCond.SCondition = 2;
    w->msub_ShowProject();
    EXPECT_EQ(w->sbPanels[0]->text(), "長期荷重の入力には注意してください。詳細はここをクリックしてください。");
}

TEST_F(Commands, NumberBoxesTakeTheLeadingNumber)
{
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"1.5abc", 1.5}, {"", 0}, {"2", 2}, {" 1.25 ", 1.25}};
    for (const Case& c : cases) {
        gDataChanged = false;
        w->txtGamma->setText("9");
        w->txtGamma->setText(QString::fromUtf8(c.text));
        EXPECT_EQ(gCond.GammaX, c.value) << c.text;
        EXPECT_EQ(gCond.GammaY, c.value) << c.text;
        w->txtAlpha1->setText("9");
        w->txtAlpha1->setText(QString::fromUtf8(c.text));
        EXPECT_EQ(gCond.Alpha1, c.value) << c.text;
        w->txtAlpha2->setText("9");
        w->txtAlpha2->setText(QString::fromUtf8(c.text));
        EXPECT_EQ(gCond.Alpha2, c.value) << c.text;
        EXPECT_TRUE(gDataChanged);
    }
}

TEST_F(Commands, FactorBoxesTakeOnlyFactorsASavedProjectOpensWith)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("kv factors " + std::to_string(::getpid()) + ".kud")).string();
    struct Case {
        const char* box;
        const char* typed;
        bool taken;
    } cases[] = {
        {"txtGamma", "1e308", false}, {"txtGamma", "1e-320", true}, {"txtGamma", "-5", false},
        {"txtGamma", "1.675", true},  {"txtAlpha1", "1e400", false}, {"txtAlpha1", "0.8", true},
        {"txtAlpha2", "101", false},  {"txtAlpha2", "100", true},
    };
    for (const Case& c : cases) {
        gCond.SCondition = 2;  // heavy snow: the alpha boxes take entries
        gCond.GammaX = gCond.GammaY = 2.0;
        gCond.Alpha1 = 0.7;
        gCond.Alpha2 = 0.35;
        ShowS(2);
        script.messages.clear();
        auto* box = w->findChild<QLineEdit*>(c.box);
        ASSERT_TRUE(box);
        const std::string name = c.box;
        double& value = name == "txtGamma" ? gCond.GammaX : name == "txtAlpha1" ? gCond.Alpha1 : gCond.Alpha2;
        const double before = value;
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(c.typed));
        QTest::keyClick(box, Qt::Key_Return);
        if (c.taken) {
            EXPECT_TRUE(script.messages.empty()) << c.typed;
            // Kept as the box can show it.
            EXPECT_EQ(value, RoundDesignFactor(vb::Val(c.typed))) << c.typed;
        } else {
            ASSERT_EQ(script.messages.size(), 1u) << c.typed;
            EXPECT_EQ(script.messages[0].text, DesignFactorRangeText(name == "txtGamma" ? "γ" : name == "txtAlpha1" ? "α1" : "α2"));
            EXPECT_EQ(value, before) << c.typed;
            EXPECT_EQ(box->text().toStdString(), FormatDesignFactor(before)) << c.typed;
        }
        EXPECT_EQ(gCond.GammaY, gCond.GammaX) << c.typed;

        // Saved now, the project opens again with the same factors.
        const ProjectCondTbl held = gCond;
        script.messages.clear();
        if (std::filesystem::exists(path)) script.answers.push_back(ui::Answer::Yes);  // over the case before
        script.files.push_back(path);
        ASSERT_FALSE(w->Commands().msub_SaveProjectAs()) << c.typed;
        gCond.GammaX = gCond.GammaY = gCond.Alpha1 = gCond.Alpha2 = 9;
        script.files.push_back(path);
        w->Commands().msub_OpenProject();
        for (const auto& m : script.messages) ADD_FAILURE() << c.typed << ": " << m.text;
        EXPECT_EQ(gCond.GammaX, held.GammaX) << c.typed;
        EXPECT_EQ(gCond.GammaY, held.GammaY) << c.typed;
        EXPECT_EQ(gCond.Alpha1, held.Alpha1) << c.typed;
        EXPECT_EQ(gCond.Alpha2, held.Alpha2) << c.typed;
        script.messages.clear();
    }
    std::filesystem::remove(path);
    std::filesystem::remove(path + "2");
}

TEST_F(Commands, NamesGoToTheProjectTheListAndTheRebarRecord)
{
    // Cut once, as the project file's 50 bytes hold it: the box, the list,
    // the column and its rebar record all carry the same name.
    const std::string name60 = "柱" + std::string(59, 'A');
    const std::string stored = "柱" + std::string(48, 'A');
    w->txtColName->setText(QString::fromStdString(name60));
    EXPECT_EQ(vb::Trim(gColumns(1).ColName.value()), stored);
    EXPECT_EQ(w->txtColName->text().toStdString(), stored);
    EXPECT_EQ(w->grdList->TextMatrix(1, 1).toStdString(), stored);
    FendralTbl rec;
    gFendral.Get_Data(1, rec, 1);
    EXPECT_EQ(rec.ColName, stored);
    EXPECT_TRUE(gDataChanged);
    // A blank typed between words stays in the box while it is typed.
    w->txtColName->setText(QStringLiteral("1C "));
    EXPECT_EQ(w->txtColName->text(), "1C ");
    EXPECT_EQ(vb::Trim(gColumns(1).ColName.value()), "1C");

    gDataChanged = false;
    w->txtBukken->setText(QStringLiteral("  新しい物件  "));
    EXPECT_EQ(vb::Trim(gCond.Bukken.value()), "新しい物件");
    EXPECT_TRUE(gDataChanged);
}

TEST_F(Commands, SnowAsShortTermLoadBlanksTheRightHandCells)
{
    w->optCalcShortMode[2]->setChecked(true);
    EXPECT_EQ(gShortLoadKind, 2);
    for (int c : {6, 10})
        for (int r : {4, 5, 10}) EXPECT_EQ(w->grdView1->TextMatrix(r, c), "") << r << "," << c;
    EXPECT_FALSE(gDataChanged);
    w->optCalcShortMode[0]->setChecked(true);
    EXPECT_EQ(gShortLoadKind, 0);
    EXPECT_NE(w->grdView1->TextMatrix(4, 6), "");
}

TEST_F(Commands, SymmetryKeepsATypedGamma)
{
    ShowS(2);
    w->txtGamma->setText("1.80");
    const bool sym = w->chkSymmetry->isChecked();
    w->chkSymmetry->setChecked(!sym);
    EXPECT_EQ(gCond.SymmetryX, sym ? kFalse : kTrue);
    EXPECT_EQ(gCond.SymmetryY, gCond.SymmetryX);
    EXPECT_EQ(gCond.GammaX, 1.80);
    EXPECT_EQ(w->txtGamma->text(), "1.80");
    EXPECT_TRUE(gDataChanged);
}

TEST_F(Commands, FocusSelectsTheWholeText)
{
    w->show();
    w->txtGamma->show();
    w->txtGamma->setText("2.00");
    w->activateWindow();
    w->txtGamma->setFocus();
    QApplication::processEvents();
    QTest::qWait(20);
    EXPECT_EQ(w->txtGamma->selectedText(), "2.00");
}

// ---- Structure switch ----

TEST_F(Commands, UnchangedSteelProjectSwitchesToSrcWithoutAQuestion)
{
    w->mImportAnalysisFile = [] {};
    gSIDisp = true;
    w->optStruc[1]->setChecked(true);
    EXPECT_TRUE(script.questions.empty());
    EXPECT_EQ(gCond.SMode, kFalse);
    EXPECT_EQ(gCondDefault.SMode, kFalse);
    EXPECT_EQ(w->cmbDRoot->currentText(), "ルート 3");
    EXPECT_EQ(gCond.UltCalcMode, 1);
    EXPECT_EQ(gCond.Fc, 24);
    EXPECT_EQ(gCondDefault.Fc, 24);
    EXPECT_FALSE(w->mnuFileImport->isEnabled());
    EXPECT_FALSE(Tool("DispNMLong")->isChecked());
    EXPECT_TRUE(Tool("DispNMShort")->isChecked());
    EXPECT_FALSE(Tool("DispNMUltimate")->isChecked());
    EXPECT_FALSE(gNMCurveShow(0));
    EXPECT_FALSE(gDataChanged);
    EXPECT_TRUE(w->txtGamma->isHidden());

    w->optStruc[0]->setChecked(true);
    EXPECT_EQ(gCond.SMode, kTrue);
    EXPECT_EQ(gCond.Fc, 21);
    EXPECT_TRUE(w->mnuFileImport->isEnabled());
    EXPECT_TRUE(Tool("DispNMUltimate")->isChecked());
    EXPECT_TRUE(gNMCurveShow(0));
    EXPECT_EQ(w->cmbDRoot->currentText(), "ルート 2");
}

// The label γ keeps its state in SRC, where the wider route list lies over
// it: the list is what the user sees there, not "ルート 3   γ".
TEST_F(Commands, TheSrcRouteListCoversTheGammaLabel)
{
    ShowS(2);
    ASSERT_FALSE(w->Label2->isHidden());
    QWidget* frame = w->Label2->parentWidget();
    const QPoint centre = w->Label2->geometry().center();
    EXPECT_EQ(frame->childAt(centre), w->Label2);
    w->optStruc[1]->setChecked(true);
    ASSERT_EQ(gCond.SMode, kFalse);
    EXPECT_FALSE(w->Label2->isHidden());
    EXPECT_TRUE(w->cmbDRoot->geometry().contains(w->Label2->geometry()));
    EXPECT_EQ(frame->childAt(centre), w->cmbDRoot);
    w->optStruc[0]->setChecked(true);
    EXPECT_EQ(frame->childAt(centre), w->Label2);
}

TEST_F(Commands, ChangedProjectAsksAndCancelKeepsEverything)
{
    gColumns(1).ColName = "KEEP";
    gDataChanged = true;
    const ProjectCondTbl cond = gCond;
    const ColumnDataTbl col = gColumns(1);
    script.answers = {ui::Answer::Cancel};
    w->optStruc[1]->setChecked(true);
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0], "データが変更されています。\r登録しますか？");
    EXPECT_TRUE(w->optStruc[0]->isChecked());
    EXPECT_TRUE(gCond == cond);
    EXPECT_TRUE(gColumns(1) == col);
    EXPECT_TRUE(gDataChanged);

    // Yes, then a cancelled name dialog: the project stays too.
    script.answers = {ui::Answer::Yes};
    w->optStruc[1]->setChecked(true);
    EXPECT_EQ(script.fileRequests.size(), 1u);
    EXPECT_TRUE(w->optStruc[0]->isChecked());
    EXPECT_EQ(gCond.SMode, kTrue);
    EXPECT_EQ(vb::Trim(gColumns(1).ColName.value()), "KEEP");

    // No: a new SRC project.
    script.answers = {ui::Answer::No};
    w->optStruc[1]->setChecked(true);
    EXPECT_EQ(gCond.SMode, kFalse);
    EXPECT_FALSE(gDataChanged);
}

TEST_F(Commands, TheLoadKeepsTheProjectsKindAndStrength)
{
    gCond.SMode = kFalse;
    gColumns(1) = gColumnDefaultSrc;
    gCond.Fc = 27;
    gCond.DesignRootX = gCond.DesignRootY = 3;
    w->Form_Load();
    EXPECT_EQ(gCond.SMode, kFalse);
    EXPECT_EQ(gCond.Fc, 27);
    EXPECT_TRUE(w->optStruc[1]->isChecked());
}

// ---- Toolbar and menus ----

TEST_F(Commands, TheLastLoadStateCurveCannotBeHidden)
{
    ShowS(2);
    Tool("DispNMShort")->trigger();
    EXPECT_FALSE(gNMCurveShow(1));
    picture.ops.clear();
    Tool("DispNMUltimate")->trigger();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "全ての応力状態のN-M関係を非表示にできません。");
    EXPECT_EQ(script.messages[0].title, "注意");
    EXPECT_TRUE(Tool("DispNMUltimate")->isChecked());
    EXPECT_TRUE(gNMCurveShow(0));
    EXPECT_TRUE(picture.ops.empty());

    // The column curve is no load state: it goes off alone.
    Tool("DispNMCol")->trigger();
    EXPECT_TRUE(gNMCurveShow(3));
    Tool("DispNMCol")->trigger();
    EXPECT_FALSE(gNMCurveShow(3));
    EXPECT_EQ(script.messages.size(), 1u);
}

TEST_F(Commands, SrcCurvesOneAtATime)
{
    gCond.SMode = kFalse;
    gColumns(1) = gColumnDefaultSrc;
    w->msub_ShowProject();
    Tool("DispNMLong")->trigger();
    EXPECT_TRUE(gNMCurveShow(2));
    EXPECT_FALSE(gNMCurveShow(1));
    EXPECT_FALSE(gNMCurveShow(0));
    EXPECT_TRUE(Tool("DispNMLong")->isChecked());
    EXPECT_FALSE(Tool("DispNMShort")->isChecked());
    Tool("DispNMLong")->trigger();
    EXPECT_TRUE(Tool("DispNMLong")->isChecked());
    EXPECT_TRUE(gNMCurveShow(2));
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(Commands, UnitSwitchThereAndBackRestoresEveryStrength)
{
    w->msub_AddColumn(0);
    gColumns(2).Fc = 22.5;
    gColumns(2).SlabFc = 18;
    gSIDisp = true;
    Tool("DispSI")->setChecked(true);
    const auto fcs = [] {
        std::vector<double> v{gCond.Fc, gCondDefault.Fc, gColumnDefault.Fc, gColumnDefault.SlabFc,
                              gColumnDefaultSrc.Fc, gColumnDefaultSrc.SlabFc, gFcUpperLimit};
        for (long i = 1; i <= gCond.ColCount; ++i) {
            v.push_back(gColumns(i).Fc);
            v.push_back(gColumns(i).SlabFc);
        }
        return v;
    };
    const std::vector<double> si = fcs();
    Tool("DispSI")->trigger();
    EXPECT_FALSE(gSIDisp);
    EXPECT_EQ(gUnitFactor, 1.0);
    const std::vector<double> old = fcs();
    for (std::size_t k = 0; k < si.size(); ++k) EXPECT_DOUBLE_EQ(old[k], si[k] * 10) << k;
    EXPECT_EQ(w->grdList->TextMatrix(2, 6), "225");
    Tool("DispSI")->trigger();
    EXPECT_TRUE(gSIDisp);
    EXPECT_EQ(gUnitFactor, gCond.GFactor);
    EXPECT_EQ(fcs(), si);
    EXPECT_EQ(w->grdList->TextMatrix(2, 6), "22.5");
}

TEST_F(Commands, EveryKeyAndItemReachesItsCommand)
{
    // Waiting commands are offered once their windows are there.
    EXPECT_FALSE(w->mnuFilePrint->isEnabled());
    int print = 0, printModal = 0, setup = 0, devOut = 0, import = 0, terms = 0, about = 0, options = 0, details = 0;
    w->mShowPrintDialog = [&] { ++print; };
    w->mShowPrintDialogModal = [&] { ++printModal; };
    w->mShowPageSetup = [&] { ++setup; };
    w->mShowDevFileOut = [&] { ++devOut; };
    w->mImportAnalysisFile = [&] { ++import; };
    w->mShowImmunity = [&] { ++terms; };
    w->mShowAbout = [&] { ++about; };
    w->mShowOptionsDialog = [&] { ++options; };
    w->mShowBukkenDialog = [&] {
        ++details;
        gCond.Bukken = "詳細で変えた名前";
    };
    w->Form_Load();
    for (QAction* a : {w->mnuFilePrint, w->mnuFilePageSetup, w->mnuDevFileOut, w->mnuFileImport,
                       w->mnuHelpImmunity, w->mnuHelpAbout, w->mnuToolsOptions})
        a->trigger();
    Tool("Print")->trigger();
    w->cmdBDetail->click();
    EXPECT_EQ((std::vector<int>{print, printModal, setup, devOut, import, terms, about, options, details}),
              (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(w->txtBukken->text(), "詳細で変えた名前");

    // Column keys.
    Tool("AddCol")->trigger();
    Tool("CopyCol")->trigger();
    EXPECT_EQ(gCond.ColCount, 3);
    Tool("MoveColLeft")->trigger();
    EXPECT_EQ(gCurCol, 2);
    Tool("MoveColRight")->trigger();
    EXPECT_EQ(gCurCol, 3);
    Tool("DelCol")->trigger();
    EXPECT_EQ(gCond.ColCount, 2);
    EXPECT_FALSE(Tool("MoveColRight")->isEnabled());
    EXPECT_EQ(Tool("MoveColLeft")->isEnabled(), w->mnuEditMoveColLeft->isEnabled());

    // File keys and the end key ask what the menu asks.
    gDataChanged = true;
    script.answers = {ui::Answer::Cancel};
    Tool("New")->trigger();
    EXPECT_EQ(script.questions.size(), 1u);
    script.answers = {ui::Answer::Cancel};
    Tool("end")->trigger();
    EXPECT_EQ(script.questions.size(), 2u);
    EXPECT_EQ(script.questions[1], "データが変更されています。\r登録しますか？");
    script.answers = {ui::Answer::Cancel};
    Tool("Open")->trigger();
    EXPECT_EQ(script.questions.size(), 3u);

    // Menu shortcuts.
    EXPECT_EQ(w->mnuFileNew->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(w->mnuFileSave->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    const QStringList tops = {"mnuFile", "mnuEdit", "mnuView", "mnuTools", "mnuHelp"};
    QStringList names;
    for (QAction* a : w->menuBar()->actions()) names << a->menu()->objectName();
    EXPECT_EQ(names, tops);
}

TEST_F(Commands, HotKeys)
{
    w->Form_KeyDown(83, 6);
    ASSERT_EQ(script.fileRequests.size(), 1u);
    EXPECT_TRUE(script.fileRequests[0].save);
    EXPECT_NE(script.fileRequests[0].filter.find("csv"), std::string::npos);
    w->Form_KeyDown(83, 2);
    EXPECT_EQ(script.fileRequests.size(), 1u);

    // The rebar program: an in-process stand-in that leaves the list as written.
    struct Runner final : IProcessRunner {
        int runs = 0;
        ProcessOutcome ShellWait(const std::string&, const std::vector<std::string>&, int32_t) override
        {
            ++runs;
            return {true, 0, ""};
        }
    } runner;
    const auto folder = std::filesystem::temp_directory_path() / ("kv hotkeys " + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    w->programFolder = folder.string();
    w->mProcessRunner = &runner;
    gDataChanged = false;
    w->Form_KeyDown(66, 6);
    EXPECT_EQ(runner.runs, 0);  // no program there
    std::ofstream(folder / "Fendral") << "";
    w->Form_KeyDown(66, 6);
    EXPECT_EQ(runner.runs, 1);
    EXPECT_TRUE(gDataChanged);
    gCond.SMode = kFalse;
    gDataChanged = false;
    w->Form_KeyDown(66, 6);
    EXPECT_EQ(runner.runs, 1);
    EXPECT_FALSE(gDataChanged);
    EXPECT_TRUE(script.messages.empty());
    std::filesystem::remove_all(folder);
}

TEST_F(Commands, HelpDocumentsAndWebPage)
{
    const auto folder = std::filesystem::temp_directory_path() / ("kv help " + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    w->programFolder = folder.string();
    std::vector<QUrl> opened;
    bool succeed = true;
    w->mOpenUrl = [&](const QUrl& u) {
        opened.push_back(u);
        return succeed;
    };
    // Missing help file: a message naming it; missing documents: nothing.
    w->mnuHelpContents->trigger();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_NE(script.messages[0].text.find((folder / "Kolvan.chm").string()), std::string::npos);
    w->mnuHelpJumpToKinou->trigger();
    EXPECT_EQ(script.messages.size(), 1u);
    EXPECT_TRUE(opened.empty());

    for (const char* f : {"Kolvan.chm", "okv_soft_05.pdf", "shear_01.pdf"}) std::ofstream(folder / f) << "x";
    w->mnuHelpContents->trigger();
    w->mnuHelpSearchForHelpOn->trigger();
    w->mnuHelpJumpToKinou->trigger();
    w->mnuHelpJumpToSendan->trigger();
    w->mnuHelpJumpToHomePage->trigger();
    ASSERT_EQ(opened.size(), 5u);
    EXPECT_EQ(opened[0].toLocalFile().toStdString(), (folder / "Kolvan.chm").string());
    EXPECT_EQ(opened[1], opened[0]);
    EXPECT_EQ(opened[2].toLocalFile().toStdString(), (folder / "okv_soft_05.pdf").string());
    EXPECT_EQ(opened[3].toLocalFile().toStdString(), (folder / "shear_01.pdf").string());
    EXPECT_EQ(opened[4].host(), "www.example.com");
    EXPECT_EQ(script.messages.size(), 1u);

    succeed = false;
    w->mnuHelpContents->trigger();
    EXPECT_EQ(script.messages.size(), 2u);
    w->mnuHelpJumpToSendan->trigger();
    EXPECT_EQ(script.messages.size(), 2u);
    std::filesystem::remove_all(folder);
}

// Every command of the menus, the pop-up and the toolbar is connected; the
// ones whose windows come later are shown disabled until they are there.
void CollectActions(const QList<QAction*>& actions, std::vector<QAction*>& out)
{
    for (QAction* a : actions) {
        if (a->isSeparator()) continue;
        if (a->menu())
            CollectActions(a->menu()->actions(), out);
        else
            out.push_back(a);
    }
}

TEST_F(Commands, EveryCommandIsConnectedOrWaitsForItsWindow)
{
    w->mShowOptionsDialog = nullptr;
    w->mShowBukkenDialog = nullptr;
    w->Form_Load();
    std::vector<QAction*> all;
    CollectActions(w->menuBar()->actions(), all);
    CollectActions(w->mnuPopup->actions(), all);
    CollectActions(w->tbToolBar->actions(), all);
    ASSERT_EQ(all.size(), 27u + 4u + 16u);  // menu bar, pop-up, toolbar
    QStringList waiting;
    for (QAction* a : all) {
        if (!a->isEnabled()) waiting << a->objectName();
        // Breaking a connection succeeds only where there is one.
        EXPECT_TRUE(QObject::disconnect(a, &QAction::triggered, nullptr, nullptr)) << a->objectName().toStdString();
    }
    waiting.sort();
    // The loaded window shows the string table's texts, not the ids.
    const std::pair<QAction*, const char*> texts[] = {
        {w->mnuFileNew, "新規作成(&N)"},         {w->mnuFileOpen, "開く(&O)"},
        {w->mnuDevFileOut, "N-M関係のファイル出力(&W)..."}, {w->mnuFileImport, "データのインポート（&I)..."},
        {w->mnuEditAddCol, "柱追加(&A)"},        {w->mnuEditMoveColRight, "柱下移動(&R)"},
        {w->mnuDispNMX0, "X方向N-M関係の表示(&X)"}, {w->mnuDrawKV, "コルヴァンの詳細表示(&D)"},
        {w->mnuDrawRCCol0, "ベース下柱形詳細表示"}, {w->mnuEdit->menuAction(), "編集(&E)"},
        {w->mnuHelp->menuAction(), "ﾍﾙﾌﾟ(&H)"}};
    for (const auto& [a, text] : texts) EXPECT_EQ(a->text().toStdString(), text) << a->objectName().toStdString();
    // One column whose X and Y are alike: deleting, moving and the Y diagram
    // are off by the column, not waiting.
    EXPECT_EQ(waiting.join(' ').toStdString(),
              "DelCol MoveColLeft MoveColRight Print mnuDevFileOut mnuDispNMY mnuDispNMY0 mnuEditDElCol "
              "mnuEditMoveColLeft mnuEditMoveColRight mnuFileImport mnuFilePageSetup mnuFilePrint mnuToolsOptions");
    EXPECT_FALSE(w->cmdBDetail->isEnabled());
}

}  // namespace
