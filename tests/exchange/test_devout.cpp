// The N-M export dialog offscreen: its state when opened in both modes, the
// count box and its spinner, the output command with the overwrite question,
// its position, and the main window's command.
#include "engine/kv.h"
#include "exchange/frmDevOut.h"
#include "exchange/install_devout.h"
#include "mainwin/frmMain.h"
#include "model/base_data.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/startup.h"
#include "model/texts.h"
#include "platform/qt/twips.h"
#include "platform/text/cp932.h"
#include "tests/platform/ui/scripted_ui.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>

namespace {

using namespace model;
using ui::Answer;
namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& p, const std::string& b) { std::ofstream(p, std::ios::binary) << b; }

// The program started on the sample catalogue in a folder of its own.
class DevOut : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("kv devout " + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString((dir / "settings").string()));
        ui_ = std::make_unique<ui::testing::ScopedUi>(script);
        StartProgram(KV_SAMPLE_DIR, "");
        gFileDir = dir.string() + "/";
        gFileName = "project.kud";
    }
    void TearDown() override
    {
        dlg.reset();
        ui_.reset();
        gKv.reset();
        fs::remove_all(dir);
    }

    // The project as n copies of its first column, named C1, C2, ...
    void Columns(int n)
    {
        const ColumnDataTbl c = gColumns(1);
        const KvBaseTbl b = gKvBase(1);
        gCond.ColCount = static_cast<int16_t>(n);
        gColumns.redim(n);
        gKvBase.redim(n);
        gResults.redim(n);
        for (int i = 1; i <= n; ++i) {
            gColumns(i) = c;
            gColumns(i).ColName = "C" + std::to_string(i);
            gKvBase(i) = b;
        }
    }
    void SrcProject()
    {
        gCond.SMode = kFalse;
        gCond.DesignRootX = gCond.DesignRootY = 3;
        gColumns(1) = gColumnDefaultSrc;
        LoadKvBaseData(gColumns(1).KolvanID, gColumns(1).AbNum, gKvBase(1));
    }
    frmDevOut& Open()
    {
        dlg = std::make_unique<frmDevOut>();
        dlg->show();
        return *dlg;
    }
    int Twips(int px) const { return static_cast<int>(std::lround(px * vbqt::TwipsPerPixelX(*dlg))); }
    void LeaveCountBox()
    {
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(dlg->txtDevNum, &out);
    }
    void Shot(const char* file)
    {
        fs::create_directories(KV_TEST_OUT_DIR);
        QApplication::processEvents();
        EXPECT_TRUE(dlg->grab().save(QString::fromStdString((fs::path(KV_TEST_OUT_DIR) / file).string()))) << file;
    }
    std::string PathOf(const char* name) const { return (dir / name).string(); }

    ui::testing::ScriptedUi script;
    std::unique_ptr<frmDevOut> dlg;
    fs::path dir;

private:
    std::unique_ptr<ui::testing::ScopedUi> ui_;
};

TEST_F(DevOut, SteelProjectWhenOpened)
{
    Columns(3);
    gKvBase(3).KvV = 3;  // a kind without a model text
    Open();
    EXPECT_EQ(dlg->windowTitle(), "N-M関係のファイル出力設定");
    EXPECT_TRUE(dlg->isModal());
    QTreeWidget* list = dlg->lvwColumn;
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->headerItem()->text(0), "柱名称");
    EXPECT_EQ(list->headerItem()->text(1), "型式");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(list->topLevelItem(i)->checkState(0) == Qt::Checked, i == 0) << i;
    EXPECT_EQ(list->topLevelItem(1)->text(0), "C2");
    EXPECT_EQ(list->topLevelItem(1)->text(1).toStdString(), GetKvModelText(gKvBase(2), 50));
    EXPECT_FALSE(list->topLevelItem(1)->text(1).isEmpty());
    EXPECT_EQ(list->topLevelItem(2)->text(1), "");

    EXPECT_TRUE(dlg->chkDrawNMMode[0]->isChecked());
    EXPECT_TRUE(dlg->chkDrawNMMode[1]->isChecked());
    EXPECT_FALSE(dlg->chkDrawNMMode[2]->isChecked());
    // Long-term at the top, ultimate at the bottom.
    EXPECT_LT(dlg->chkDrawNMMode[2]->y(), dlg->chkDrawNMMode[1]->y());
    EXPECT_LT(dlg->chkDrawNMMode[1]->y(), dlg->chkDrawNMMode[0]->y());
    EXPECT_EQ(dlg->txtDevNum->text(), "6");
    EXPECT_EQ(dlg->VScroll1->value(), 3);

    EXPECT_NEAR(Twips(dlg->width()), 5490, 15);
    EXPECT_NEAR(Twips(dlg->cmdDevOut->x()), 2520, 15);
    EXPECT_NEAR(Twips(dlg->cmdCancel->x()), 3960, 15);
    EXPECT_NEAR(Twips(dlg->lvwColumn->height()), 2940, 15);
    // The curve boxes lie outside the narrowed window and are off.
    EXPECT_GE(dlg->Frame2->x(), dlg->width());
    for (QCheckBox* b : dlg->chkDrawNMObj) {
        EXPECT_FALSE(b->isEnabled());
        EXPECT_FALSE(b->isChecked());
    }
    EXPECT_EQ(dlg->pos(), QPoint(static_cast<int>(std::lround(2640 / vbqt::TwipsPerPixelX(*dlg))),
                                 static_cast<int>(std::lround(2640 / vbqt::TwipsPerPixelY(*dlg)))));
    Shot("devout_s.png");
}

TEST_F(DevOut, SrcProjectWhenOpened)
{
    SrcProject();
    Columns(2);
    Open();
    EXPECT_NEAR(Twips(dlg->width()), 7540, 15);
    EXPECT_NEAR(Twips(dlg->cmdDevOut->x()), 4570, 15);
    EXPECT_NEAR(Twips(dlg->cmdCancel->x()), 6010, 15);
    EXPECT_NEAR(Twips(dlg->lvwColumn->height()), 3480, 15);
    EXPECT_LT(dlg->Frame2->x() + dlg->Frame2->width(), dlg->width());
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(dlg->chkDrawNMObj[i]->isEnabled()) << i;
        EXPECT_EQ(dlg->chkDrawNMObj[i]->isChecked(), i == 0) << i;
    }
    // Select all and deselect all.
    dlg->cmdAllSelect->click();
    EXPECT_EQ(dlg->Choices().lvwColumn, (std::vector<bool>{true, true}));
    dlg->cmdAllDeselect->click();
    EXPECT_EQ(dlg->Choices().lvwColumn, (std::vector<bool>{false, false}));
    dlg->cmdAllSelect->click();
    Shot("devout_src.png");
}

TEST_F(DevOut, CountBoxAndSpinner)
{
    Open();
    for (const auto& [typed, left] : {std::pair{"150", "100"}, {"2", "4"}, {"abc", "4"}, {"99999999", "100"},
                                      {"1e400", "100"}, {"3.5", "3.5"}}) {
        dlg->txtDevNum->clear();
        QTest::keyClicks(dlg->txtDevNum, typed);
        LeaveCountBox();
        EXPECT_EQ(dlg->txtDevNum->text(), left) << typed;
    }
    const auto click = [&](QAbstractSlider::SliderAction a) {
        dlg->VScroll1->triggerAction(a);
        EXPECT_EQ(dlg->VScroll1->value(), 3);
        return dlg->txtDevNum->text();
    };
    const auto up = QAbstractSlider::SliderSingleStepSub;
    const auto down = QAbstractSlider::SliderSingleStepAdd;
    dlg->txtDevNum->setText("100");
    EXPECT_EQ(click(up), "100");
    EXPECT_EQ(click(down), "99");
    dlg->txtDevNum->setText("4");
    EXPECT_EQ(click(down), "4");
    EXPECT_EQ(click(up), "5");

    // A stored count below the range steps up only.
    gCond.DevNum = 2;
    Open();
    EXPECT_EQ(dlg->txtDevNum->text(), "2");
    EXPECT_EQ(click(down), "2");
    EXPECT_EQ(click(up), "3");
}

TEST_F(DevOut, TypedCountIsClampedBeforeWritingEvenWithoutLeavingTheBox)
{
    Open();
    dlg->txtDevNum->clear();
    QTest::keyClicks(dlg->txtDevNum, "99999999");
    script.files.push_back(PathOf("typed.csv"));
    dlg->cmdDevOut_Click();  // as by Enter or the mnemonic: the focus stays in the box
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(gCond.DevNum, 100);
    EXPECT_EQ(dlg->txtDevNum->text(), "100");
    const std::string text = text::FromCp932(ReadBytes(PathOf("typed.csv")));
    EXPECT_NE(text.find("\r\n\r\n-- 終局"), std::string::npos);
    // Header 4, then per state heading, unit line, 101 points and the empty line.
    std::size_t lines = 0;
    for (std::size_t p = 0; (p = text.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    EXPECT_EQ(lines, 4u + 2 * (3 + 101));

    // A count taken over from the project is written as it stands.
    gCond.DevNum = 2;
    Open();
    script.files.push_back(PathOf("stored.csv"));
    dlg->cmdDevOut->click();
    EXPECT_EQ(gCond.DevNum, 2);
    lines = 0;
    const std::string stored = ReadBytes(PathOf("stored.csv"));
    for (std::size_t p = 0; (p = stored.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    EXPECT_EQ(lines, 4u + 2 * (3 + 3));
}

TEST_F(DevOut, OutputCommandAndTheOverwriteQuestion)
{
    gCond.DevNum = 8;
    const std::string fileName = gFileName, fileDir = gFileDir;
    const std::string existing = PathOf("nm.csv");

    // A cancelled save dialog keeps the export dialog open.
    Open();
    dlg->cmdDevOut->click();
    ASSERT_EQ(script.fileRequests.size(), 1u);
    const ui::FileRequest& r = script.fileRequests[0];
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.initDir, gFileDir);
    EXPECT_EQ(r.filter, "ｶﾝﾏ区切りﾃｷｽﾄﾌｧｲﾙ (*.csv)|*.csv");
    EXPECT_EQ(r.defaultExt, "csv");
    EXPECT_EQ(r.fileName, "text");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(script.questions.empty());

    // No asks again with "text"; Cancel then closes without writing.
    WriteBytes(existing, "old");
    script.fileRequests.clear();
    script.files = {existing, existing};
    script.answers = {Answer::No, Answer::Cancel};
    dlg->cmdDevOut->click();
    ASSERT_EQ(script.fileRequests.size(), 2u);
    EXPECT_EQ(script.fileRequests[1].fileName, "text");
    ASSERT_EQ(script.questions.size(), 2u);
    EXPECT_EQ(script.questions[0], "同名のファイルが存在します。\r\n     上書きしますか？");
    EXPECT_EQ(script.questionDefaults[0], Answer::No);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(ReadBytes(existing), "old");
    EXPECT_EQ(gCond.DevNum, 8);

    // Yes writes over the file and closes.
    Open();
    dlg->txtDevNum->setText("5");
    script.files = {existing};
    script.answers = {Answer::Yes};
    dlg->cmdDevOut->click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(text::FromCp932(ReadBytes(existing)).rfind("☆- ", 0), 0u);
    EXPECT_EQ(gCond.DevNum, 5);
    EXPECT_EQ(gFileName, fileName);
    EXPECT_EQ(gFileDir, fileDir);
    EXPECT_FALSE(gDataChanged);
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(DevOut, FailedWriteIsToldAndTheDialogStays)
{
    gCond.DevNum = 8;
    Open();
    dlg->txtDevNum->setText("5");
    const std::string path = PathOf("missing folder/nm.csv");
    script.files = {path};
    dlg->cmdDevOut->click();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_NE(script.messages[0].text.find(path), std::string::npos);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(gCond.DevNum, 8);
    EXPECT_FALSE(fs::exists(dir / "missing folder"));
}

TEST_F(DevOut, ReopensWhereItWasClosed)
{
    Open();
    dlg->move(210, 130);
    dlg->cmdCancel->click();
    QSettings s = AppSettings();
    s.beginGroup(kSettingsGroup);
    EXPECT_EQ(s.value("DevLeft").toString(), QString::number(std::lround(210 * vbqt::TwipsPerPixelX(*dlg))));
    EXPECT_EQ(s.value("DevTop").toString(), QString::number(std::lround(130 * vbqt::TwipsPerPixelY(*dlg))));
    Open();
    EXPECT_EQ(dlg->pos(), QPoint(210, 130));
    // The close box saves too.
    dlg->move(250, 170);
    dlg->close();
    Open();
    EXPECT_EQ(dlg->pos(), QPoint(250, 170));
}

TEST_F(DevOut, FileMenuOpensTheDialogModal)
{
    if (!gzDLGetSys) gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
    auto w = std::make_unique<frmMain>();
    InstallDevFileOut(*w);
    w->Form_Load();
    EXPECT_TRUE(w->mnuDevFileOut->isEnabled());
    EXPECT_EQ(w->mnuDevFileOut->text(), "N-M関係のファイル出力(&W)...");
    bool modal = false;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<frmDevOut*>(QApplication::activeModalWidget());
        if (!d) return;
        modal = d->isModal();
        title = d->windowTitle();
        d->cmdCancel->click();
    });
    w->mnuDevFileOut->trigger();
    EXPECT_TRUE(modal);
    EXPECT_EQ(title, "N-M関係のファイル出力設定");
}

}  // namespace
