// The options dialog over the main window.
#include "tests/mainwin/window_fixture.h"

#include "dialogs/frmOptions.h"
#include "dialogs/install.h"
#include "drawing/recording.h"
#include "model/format.h"
#include "model/startup.h"
#include "platform/qt/picture_box.h"
#include "platform/qt/twips.h"
#include "platform/text/vb.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>

#include <cmath>
#include <filesystem>

namespace {

using namespace model;
using ui::testing::ScopedUi;
using ui::testing::ScriptedUi;

class Options : public mainwintest::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        w->mDrawTarget = &picture;
        ui_ = std::make_unique<ScopedUi>(script);
        gCond.SMode = kTrue;
        gCond.DesignRootX = gCond.DesignRootY = 2;
        gCond.ShortCalcMode = 0;
        gCond.UltCalcMode = 0;
        gCond.UltMQMode = kFalse;
        gCond.UltJadge = kTrue;
        gCond.GammaX = gCond.GammaY = 2.0;
        w->msub_ShowProject();
        gDataChanged = false;
        dlg = std::make_unique<frmOptions>(*w);
    }
    void TearDown() override
    {
        dlg.reset();
        ui_.reset();
        gUnitFactor = gSIDisp ? gCond.GFactor : 1.0;
        WindowTest::TearDown();
    }

    drawing::RecordingPicture picture;
    ScriptedUi script;
    std::unique_ptr<ScopedUi> ui_;
    std::unique_ptr<frmOptions> dlg;
};

TEST_F(Options, LoadsTheProjectsOptions)
{
    EXPECT_EQ(dlg->windowTitle(), "ｵﾌﾟｼｮﾝ");
    EXPECT_EQ(dlg->TabStrip1->tabText(0), "応力計算");
    EXPECT_TRUE(dlg->chkShortCalcMode->isChecked());
    EXPECT_TRUE(dlg->chkUltCalcMode->isChecked());
    EXPECT_TRUE(dlg->txtUltFactor->isEnabled());
    EXPECT_EQ(dlg->txtUltFactor->text(), "2");
    EXPECT_EQ(dlg->txtGFactor->text().toStdString(), vb::CStr(gCond.GFactor));
    EXPECT_FALSE(dlg->chkUltMQMode->isChecked());
    EXPECT_TRUE(dlg->chkUltJadge->isChecked());
    EXPECT_TRUE(dlg->chkReflesh->isChecked());
}

TEST_F(Options, UltimateBoxDrivesTheFactorAndTheLongTermShare)
{
    dlg->chkUltCalcMode->click();
    EXPECT_FALSE(dlg->txtUltFactor->isEnabled());
    EXPECT_FALSE(dlg->Label1->isEnabled());
    EXPECT_FALSE(dlg->chkUltMQMode->isEnabled());
    dlg->chkUltCalcMode->click();
    EXPECT_TRUE(dlg->txtUltFactor->isEnabled());
    EXPECT_TRUE(dlg->chkUltMQMode->isChecked());
    dlg->cmdApply->click();
    EXPECT_EQ(gCond.UltMQMode, kTrue);
    EXPECT_EQ(gCond.UltCalcMode, 0);
    EXPECT_TRUE(gDataChanged);
}

TEST_F(Options, AppliedFactorsReachTheProjectTheWindowAndTheEngine)
{
    dlg->txtUltFactor->setText("1.5");
    dlg->txtGFactor->setText("10");
    dlg->cmdApply->click();
    EXPECT_EQ(gCond.GammaX, 1.5);
    EXPECT_EQ(gCond.GammaY, 1.5);
    EXPECT_EQ(w->txtGamma->text(), "1.50");
    EXPECT_EQ(gCond.GFactor, 10);
    EXPECT_EQ(gKv->SIFactor(), 10);
    EXPECT_EQ(gUnitFactor, gSIDisp ? 10.0 : 1.0);
    EXPECT_TRUE(gDataChanged);

    gSIDisp = !gSIDisp;
    dlg->cmdApply->click();
    EXPECT_EQ(gUnitFactor, gSIDisp ? 10.0 : 1.0);
    gSIDisp = !gSIDisp;
}

// The SI factor typed with nothing else changed reaches the project, the
// engine, the unit factor and every number on screen, which then reads as a
// fresh display of the project does; the gammas stay as they were.
TEST_F(Options, SiFactorChangedAloneIsApplied)
{
    const auto screen = [this] {
        QStringList s;
        for (const qtgrid::FlexGrid* grid : {w->grdView1, w->grdList})
            for (int r = 0; r < grid->Rows(); ++r)
                for (int c = 0; c < grid->Cols(); ++c) s << grid->TextMatrix(r, c);
        s << w->txtGamma->text() << w->lblCol->text() << w->lblKv->text();
        for (const QLabel* l : w->lblColSpec) s << l->text();
        for (const QLabel* l : w->lblKvSpec) s << l->text();
        return s;
    };
    const bool siBefore = gSIDisp;
    for (const bool si : {true, false}) {
        for (const bool ok : {false, true}) {
            for (const char* text : {"10", "1", "9.8", "0.5"}) {
                const std::string what = std::string(si ? "SI " : "old units ") + (ok ? "OK " : "更新 ") + text;
                gSIDisp = si;
                gKv->setSIFlag(si);
                gCond.GFactor = 9.80665;
                gCond.GammaX = 2.0;
                gCond.GammaY = 1.75;
                gColumns(1).LoadTbl(2, 1) = 3;
                gKv->setSIFactor(gCond.GFactor);
                gUnitFactor = si ? gCond.GFactor : 1.0;
                w->msub_ShowProject();
                gDataChanged = false;
                dlg = std::make_unique<frmOptions>(*w);
                ProjectCondTbl expected = gCond;
                expected.GFactor = vb::Val(text);

                dlg->txtGFactor->setText(QString::fromUtf8(text));
                (ok ? dlg->cmdOK : dlg->cmdApply)->click();

                EXPECT_TRUE(script.messages.empty()) << what;
                EXPECT_TRUE(gCond == expected) << what;
                EXPECT_EQ(gKv->SIFactor(), expected.GFactor) << what;
                EXPECT_EQ(gUnitFactor, si ? expected.GFactor : 1.0) << what;
                EXPECT_EQ(g->TextMatrix(5, 2).toStdString(), FormatValue(3 * gUnitFactor, 2)) << what;
                EXPECT_EQ(w->txtGamma->text(), "2.00") << what;
                EXPECT_TRUE(gDataChanged) << what;
                EXPECT_EQ(dlg->result() == QDialog::Accepted, ok) << what;
                const QStringList applied = screen();
                w->msub_ShowProject();
                EXPECT_EQ(applied, screen()) << what;
            }
        }
    }
    gSIDisp = siBefore;
    gKv->setSIFlag(siBefore);
}

TEST_F(Options, ModesGoThroughTheWindow)
{
    dlg->chkShortCalcMode->click();
    dlg->chkUltCalcMode->click();
    dlg->cmdApply->click();
    EXPECT_EQ(gCond.ShortCalcMode, 1);
    EXPECT_EQ(gCond.UltCalcMode, 1);
    EXPECT_EQ(w->sbPanels[1]->text(), "短期マニュアル");
    EXPECT_EQ(w->sbPanels[2]->text(), "終局マニュアル");
    EXPECT_EQ(w->grdView1->CellBackColor(5, 12), frmMain::kOpenColor);
}

TEST_F(Options, RefreshOffShowsTheButtonAndShortensTheBox)
{
    dlg->TabStrip1->setCurrentIndex(1);
    dlg->chkReflesh->click();
    dlg->cmdOK->click();
    EXPECT_FALSE(gAutoRefresh);
    EXPECT_FALSE(w->cmdFlgReflesh->isHidden());
    EXPECT_NEAR(w->TwipsRect(w->pctNM).height(), 3735, w->TwipsPerPixelY());
    // The refresh preference is no project value.
    EXPECT_FALSE(gDataChanged);
    gAutoRefresh = true;
}

TEST_F(Options, CancelWithoutApplyChangesNothing)
{
    const ProjectCondTbl before = gCond;
    dlg->chkShortCalcMode->click();
    dlg->chkUltJadge->click();
    dlg->txtUltFactor->setText("3");
    dlg->chkReflesh->click();
    dlg->cmdCancel->click();
    EXPECT_TRUE(gCond == before);
    EXPECT_TRUE(gAutoRefresh);
    EXPECT_FALSE(gDataChanged);
    EXPECT_EQ(w->txtGamma->text(), "2.00");
}

TEST_F(Options, UnusableSiFactorsAreRefusedAndNothingIsApplied)
{
    const int boxHeight = w->pctNM->height();
    const bool buttonHidden = w->cmdFlgReflesh->isHidden();
    for (const char* text : {"0", "abc", "-9.8", "", "1e999"}) {
        const ProjectCondTbl before = gCond;
        const double unit = gUnitFactor;
        dlg->chkShortCalcMode->click();
        dlg->chkReflesh->click();
        dlg->txtUltFactor->setText("1.5");
        dlg->txtGFactor->setText(QString::fromUtf8(text));
        dlg->cmdOK->click();
        EXPECT_TRUE(gCond == before) << text;
        EXPECT_TRUE(gAutoRefresh) << text;
        EXPECT_EQ(gUnitFactor, unit) << text;
        EXPECT_EQ(w->txtGamma->text(), "2.00") << text;
        EXPECT_EQ(w->cmdFlgReflesh->isHidden(), buttonHidden) << text;
        EXPECT_EQ(w->pctNM->height(), boxHeight) << text;
        EXPECT_FALSE(gDataChanged) << text;
        EXPECT_FALSE(dlg->result() == QDialog::Accepted) << text;
        dlg->chkShortCalcMode->click();
        dlg->chkReflesh->click();
    }
    EXPECT_EQ(script.messages.size(), 5u);
}

TEST_F(Options, FactorsASavedProjectCouldNotOpenWithAreRefused)
{
    for (const char* text : {"1e308", "-5", "1e999", "100.5"}) {
        script.messages.clear();
        const ProjectCondTbl before = gCond;
        dlg->txtUltFactor->setText(QString::fromUtf8(text));
        dlg->cmdOK->click();
        ASSERT_EQ(script.messages.size(), 1u) << text;
        EXPECT_EQ(script.messages[0].text, "割増係数には0～100の数値を入力してください。");
        EXPECT_TRUE(gCond == before) << text;
        EXPECT_FALSE(gDataChanged) << text;
        EXPECT_FALSE(dlg->result() == QDialog::Accepted) << text;
        // The box shows the project's factor again.
        EXPECT_EQ(dlg->txtUltFactor->text(), "2") << text;
    }
    dlg->txtUltFactor->setText("100");
    dlg->cmdOK->click();
    EXPECT_EQ(gCond.GammaX, 100);
    EXPECT_EQ(gCond.GammaY, 100);
}

TEST_F(Options, PlacedByThePrintDialogsKeysAndWritesNone)
{
    const auto at = [](const frmOptions& d, double left, double top) {
        return QPoint(static_cast<int>(std::lround(left / vbqt::TwipsPerPixelX(d))),
                      static_cast<int>(std::lround(top / vbqt::TwipsPerPixelY(d))));
    };
    EXPECT_EQ(dlg->pos(), at(*dlg, 1005, 495));
    {
        QSettings s = AppSettings();
        s.beginGroup(QString::fromLatin1(kSettingsGroup));
        s.setValue("PrLeft", "3000");
        s.setValue("PrTop", "kein");
    }
    const QStringList keysBefore = AppSettings().allKeys();
    {
        frmOptions d(*w);
        EXPECT_EQ(d.pos(), at(d, 3000, 495));
        d.cmdOK->click();
    }
    EXPECT_EQ(AppSettings().allKeys(), keysBefore);
}

TEST_F(Options, ApplyingTheSameOptionsMarksNothing)
{
    dlg->cmdApply->click();
    EXPECT_FALSE(gDataChanged);
    // A mark made before stays.
    gDataChanged = true;
    dlg->cmdApply->click();
    EXPECT_TRUE(gDataChanged);
}

TEST_F(Options, BaseFigureRedrawnInItsTurnOrTheDiagram)
{
    w->mnuDrawKV_Click();
    picture = drawing::RecordingPicture();
    dlg->cmdApply->click();
    ASSERT_FALSE(picture.ops.empty());
    EXPECT_EQ(gDispMode, 4);
    w->mnuDispNMX_Click();
    picture = drawing::RecordingPicture();
    dlg->cmdApply->click();
    EXPECT_FALSE(picture.ops.empty());
}

TEST_F(Options, TheToolsMenuOpensItAndTheWindowFollows)
{
    dlg.reset();
    InstallMainWindowDialogs(*w);
    w->Form_Load();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
        seen = d && d->isModal();
        if (d) {
            d->txtUltFactor->setText("1.25");
            d->cmdOK->click();
        }
    });
    w->mnuToolsOptions->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(gCond.GammaX, 1.25);
}

// Options applied over a column whose check fails (the catalogue lacks the
// KvData row of its model and bolt): told once, nothing thrown into Qt, and
// the drawing box says why instead of keeping the former drawing.
TEST_F(Options, AppliedOverAColumnThatCannotBeChecked)
{
    const std::filesystem::path catalogue(KV_NO_KVDATA_CATALOGUE);
    gDataFilePath = catalogue.parent_path().string();
    gDataFileName = "\\" + catalogue.filename().string();
    gKv->setDataFilePath(gDataFilePath);
    gKv->setDataFileName(gDataFileName);
    gColumns(1).KolvanID = 150310;
    gColumns(1).AbNum = 2;  // diameter 30: no KvData row
    picture.ops.clear();
    dlg->txtUltFactor->setText("1.5");
    EXPECT_NO_THROW(dlg->cmdOK->click());
    ASSERT_EQ(script.messages.size(), 1u);
    // The model is named; the catalogue's query is not.
    EXPECT_NE(script.messages[0].text.find("柱脚形式（番号 150310）"), std::string::npos) << script.messages[0].text;
    EXPECT_EQ(script.messages[0].text.find("KvData"), std::string::npos) << script.messages[0].text;
    EXPECT_DOUBLE_EQ(gCond.GammaX, 1.5);
    EXPECT_TRUE(gDataChanged);
    ASSERT_FALSE(picture.ops.empty());
    EXPECT_EQ(picture.ops.back().kind, "Print");
    bool cleared = false;
    for (const drawing::DrawOp& op : picture.ops) {
        if (op.kind == "Cls") {
            cleared = true;
        } else if (cleared) {
            EXPECT_EQ(op.kind, "Print") << op.str();
        }
    }
    EXPECT_TRUE(cleared);
    EXPECT_EQ(w->grdList->TextMatrix(1, 4), frmMain::kUncheckedMark);
}

TEST_F(Options, Screenshots)
{
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    dlg->show();
    dlg->adjustSize();
    ASSERT_TRUE(dlg->grab().save(QStringLiteral(KV_TEST_OUT_DIR "/options_tab1.png")));
    dlg->TabStrip1->setCurrentIndex(1);
    ASSERT_TRUE(dlg->grab().save(QStringLiteral(KV_TEST_OUT_DIR "/options_tab2.png")));
}

}  // namespace
