// The print dialog offscreen: its state when opened, the style table, the
// options panel, the N-M check, what a run reads of it, the column list to
// PDF, and the print commands of the main window.
#include "drawing/recording.h"
#include "drawing/state_guard.h"
#include "engine/kv.h"
#include "mainwin/frmMain.h"
#include "model/column_list_csv.h"
#include "model/failure.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/startup.h"
#include "platform/qt/print_control.h"
#include "platform/qt/twips.h"
#include "reports/frmPreview.h"
#include "reports/frmPrint.h"
#include "reports/install_print.h"
#include "reports/printers.h"
#include "reports/report_common.h"
#include "reports/report_drivers.h"
#include "tests/platform/ui/scripted_ui.h"
#include "tests/reports/fake_printers.h"
#include "tests/reports/report_fixture.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace {

using namespace model;

class PrintDialog : public reporttest::ReportProgram {
protected:
    void SetUp() override
    {
        ReportProgram::SetUp();
        reports::gPrintShortKind = 2;
    }
    void TearDown() override
    {
        dlg.reset();
        ReportProgram::TearDown();
    }
    frmPrint& Open()
    {
        dlg = std::make_unique<frmPrint>();
        return *dlg;
    }
    template <typename W>
    W* C(const char* name)
    {
        W* w = dlg->findChild<W*>(QString::fromLatin1(name));
        if (!w) ADD_FAILURE() << "no control " << name;
        return w;
    }
    bool Shown(const char* name) { return !C<QWidget>(name)->isHidden(); }

    std::unique_ptr<frmPrint> dlg;
};

TEST_F(PrintDialog, ANewDialog)
{
    Columns(3);
    gCurCol = 2;
    gCond.SMode = kTrue;
    Open();
    EXPECT_EQ(dlg->windowTitle(), "印刷設定");
    EXPECT_TRUE(C<QRadioButton>("optStyle_0")->isChecked());
    EXPECT_TRUE(C<QRadioButton>("optShortMode_0")->isChecked());
    EXPECT_EQ(reports::gPrintShortKind, 0);
    const bool curves[] = {true, true, false, false};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(C<QCheckBox>(("chkDrawNMMode_" + std::to_string(i)).c_str())->isChecked(), curves[i]) << i;
    QTreeWidget* list = C<QTreeWidget>("lvwColumn");
    ASSERT_EQ(list->topLevelItemCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(list->topLevelItem(i)->checkState(0) == Qt::Checked, i == 1) << i;
    EXPECT_EQ(list->headerItem()->text(4), "配筋ｿﾞｰﾝ");
    EXPECT_EQ(list->topLevelItem(1)->text(1), "C2");
    EXPECT_EQ(list->topLevelItem(1)->text(2).toStdString(), reports::ReportModelText(2));
    EXPECT_EQ(C<QLineEdit>("txtPageN")->text(), "1");
    EXPECT_TRUE(C<QCheckBox>("chkPrPage")->isChecked());
    EXPECT_TRUE(reports::gPrPageNumber);
    EXPECT_FALSE(C<QCheckBox>("chkColorMode")->isChecked());
    for (const char* box : {"chkColorMode", "chkPrHeader", "chkPrFooter", "chkPrDrCond", "chkPrPage"})
        EXPECT_FALSE(C<QCheckBox>(box)->isEnabled()) << box;
    EXPECT_TRUE(C<QCheckBox>("chkPrDrRC")->isEnabled());  // as the load leaves it
    EXPECT_TRUE(Shown("Frame1"));
    EXPECT_EQ(C<QPushButton>("cmdOpt")->text(), "ｵﾌﾟｼｮﾝ >>");
    // The options panel is out of sight.
    EXPECT_GE(C<QGroupBox>("fraType1")->y(), dlg->height());
    const double ty = vbqt::TwipsPerPixelY(*dlg);
    EXPECT_NEAR(dlg->height() * ty, 5800, ty);
    const double tx = vbqt::TwipsPerPixelX(*dlg);
    EXPECT_EQ(dlg->pos(), QPoint(static_cast<int>(std::lround(2640 / tx)), static_cast<int>(std::lround(2640 / ty))));
}

TEST_F(PrintDialog, SrcProjectsAndTheStyleTable)
{
    Columns(2);
    gCond.SMode = kFalse;
    Open();
    EXPECT_FALSE(Shown("Frame1"));
    EXPECT_EQ(C<QTreeWidget>("lvwColumn")->columnCount(), 4);
    struct Case {
        int style;
        bool frame1, frame2, color, bon, noneNG;
    } cases[] = {{1, false, true, false, true, false},
                 {2, false, false, false, false, true},
                 {3, false, false, false, false, false},
                 {0, true, true, true, false, false}};
    for (const Case& c : cases) {
        C<QRadioButton>(("optStyle_" + std::to_string(c.style)).c_str())->click();
        EXPECT_EQ(Shown("Frame1"), c.frame1) << c.style;
        EXPECT_EQ(Shown("Frame2"), c.frame2) << c.style;
        EXPECT_EQ(Shown("chkColorMode"), c.color) << c.style;
        EXPECT_EQ(Shown("chkPrDrCond"), c.color) << c.style;
        EXPECT_EQ(Shown("chkBon"), c.bon) << c.style;
        EXPECT_EQ(Shown("chkNoneNG"), c.noneNG) << c.style;
        EXPECT_EQ(Shown("chkNoneOK"), c.noneNG) << c.style;
        EXPECT_TRUE(Shown("chkPrHeader"));
        EXPECT_TRUE(Shown("Frame4"));
        if (c.bon) {
            EXPECT_EQ(C<QWidget>("chkBon")->pos(), C<QWidget>("chkColorMode")->pos());
        }
        if (c.noneNG) {
            EXPECT_EQ(C<QWidget>("chkNoneNG")->pos(), C<QWidget>("chkColorMode")->pos());
            EXPECT_EQ(C<QWidget>("chkNoneOK")->pos(), C<QWidget>("chkPrDrCond")->pos());
        }
    }
    // グラフ shows the N-M frame in SRC mode too.
    EXPECT_TRUE(Shown("Frame1"));
}

TEST_F(PrintDialog, OptionsPanelShowsTheLastRunsFlags)
{
    Columns(1);
    Open();
    C<QPushButton>("cmdOpt")->click();
    const double ty = vbqt::TwipsPerPixelY(*dlg);
    EXPECT_NEAR(dlg->height() * ty, 7400, ty);
    EXPECT_EQ(C<QPushButton>("cmdOpt")->text(), "<< ｵﾌﾟｼｮﾝ");
    C<QCheckBox>("chkColorMode")->setChecked(true);
    C<QCheckBox>("chkPrHeader")->setChecked(true);
    const reports::ReportPages saved = reports::PageTable();
    reports::PageTable().calcSheet = [](drawing::clsPrintOut&, int16_t, int) {};
    drawing::RecordingPage page(1.0);
    dlg->psub_Print(page, 0);  // a run copies the boxes into the flags
    reports::PageTable() = saved;
    EXPECT_TRUE(reports::gPrColorMode);
    EXPECT_TRUE(reports::gPrNoHeader);
    C<QPushButton>("cmdOpt")->click();  // closed: the boxes but the page one are disabled
    EXPECT_FALSE(C<QCheckBox>("chkColorMode")->isEnabled());
    EXPECT_TRUE(C<QCheckBox>("chkPrPage")->isEnabled());
    C<QPushButton>("cmdCancel")->click();

    // A new dialog: opening the panel shows the last run's colour choice.
    Open();
    EXPECT_FALSE(C<QCheckBox>("chkColorMode")->isChecked());
    C<QPushButton>("cmdOpt")->click();
    EXPECT_TRUE(C<QCheckBox>("chkColorMode")->isChecked());
    EXPECT_TRUE(C<QCheckBox>("chkPrHeader")->isChecked());
    EXPECT_TRUE(C<QCheckBox>("chkColorMode")->isEnabled());
    // The page box follows its check box.
    C<QCheckBox>("chkPrPage")->setChecked(false);
    EXPECT_FALSE(C<QLineEdit>("txtPageN")->isEnabled());
    C<QCheckBox>("chkPrPage")->setChecked(true);
    EXPECT_TRUE(C<QLineEdit>("txtPageN")->isEnabled());
}

TEST_F(PrintDialog, ChoicesAndTheNMCheck)
{
    Columns(4);
    Open();
    C<QPushButton>("cmdAllSelect")->click();
    C<QTreeWidget>("lvwColumn")->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
    C<QRadioButton>("optShortMode_1")->click();
    EXPECT_EQ(reports::gPrintShortKind, 1);
    C<QLineEdit>("txtPageN")->setText("3.5");
    const reports::ReportChoices c = dlg->Choices(dlg->ChosenStyle());
    EXPECT_EQ(c.columns, (std::vector<int16_t>{1, 2, 4}));
    EXPECT_EQ(c.pageNumberText, "3.5");
    EXPECT_EQ(c.pageNumber, 1);
    C<QPushButton>("cmdAllDeselect")->click();
    EXPECT_TRUE(dlg->Choices(0).columns.empty());

    // All three first curves off: グラフ refuses, リスト goes on.
    for (int i = 0; i < 3; ++i) C<QCheckBox>(("chkDrawNMMode_" + std::to_string(i)).c_str())->setChecked(false);
    C<QCheckBox>("chkDrawNMMode_3")->setChecked(true);
    C<QPushButton>("cmdPreview")->click();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "全ての応力状態のN-M関係を非表示にできません。");
    EXPECT_EQ(script.messages[0].title, "注意");
    script.messages.clear();
    C<QPushButton>("cmdPrint")->click();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "注意");
    script.messages.clear();
    // With the list style the print goes on: no printer here, so it says so.
    C<QRadioButton>("optStyle_3")->click();
    const QString before = reports::CurrentPrinter().printerName();
    C<QPushButton>("cmdPrint")->click();
    for (const auto& m : script.messages) EXPECT_NE(m.title, "注意");
    EXPECT_EQ(reports::CurrentPrinter().printerName(), before);
}

// A page that fails part way: the user is told once and no part of the
// report reaches the printer; the preview may show what was drawn.
TEST_F(PrintDialog, AFailedRunSendsNothingToThePrinter)
{
    Columns(4);
    const reports::testing::OnePrinter printer;
    reports::testing::FakePrinterBackend* fake = printer.fake;
    drawing::StateGuard back;
    back.onExit([saved = reports::PageTable()] { reports::PageTable() = saved; });

    std::vector<int16_t> drawn;
    bool failThird = true;
    reports::PageTable().calcSheet = [&](drawing::clsPrintOut& po, int16_t column, int) {
        if (failThird && column == 3) throw model::Refusal("主筋の本数は1本以上です。");
        drawn.push_back(column);
        po.setCurrentX(20);
        po.setCurrentY(20);
        po.DPrint("C" + std::to_string(column));
    };
    Open();
    C<QPushButton>("cmdAllSelect")->click();

    C<QPushButton>("cmdPrint")->click();
    EXPECT_EQ(drawn, (std::vector<int16_t>{1, 2}));
    EXPECT_TRUE(fake->printedPages.empty());
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "印刷できませんでした。\r主筋の本数は1本以上です。");
    EXPECT_EQ(script.messages[0].title, "印刷");

    // The preview shows the pages drawn before the failure, with the message.
    script.messages.clear();
    drawn.clear();
    int previewPages = -1;
    QTimer::singleShot(0, [&previewPages] {
        auto* preview = qobject_cast<reports::frmPreview*>(QApplication::activeModalWidget());
        if (!preview) return;
        previewPages = preview->PageControl().PageCount();
        preview->close();
    });
    C<QPushButton>("cmdPreview")->click();
    EXPECT_EQ(drawn, (std::vector<int16_t>{1, 2}));
    EXPECT_GE(previewPages, 2);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "印刷");
    EXPECT_TRUE(fake->printedPages.empty());

    // The same print without the failure sends the whole report, once.
    script.messages.clear();
    failThird = false;
    C<QPushButton>("cmdPrint")->click();
    EXPECT_EQ(fake->printedPages, std::vector<int>{4});
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(PrintDialog, PositionIsKept)
{
    Columns(1);
    Open();
    dlg->move(200, 150);
    C<QPushButton>("cmdCancel")->click();
    QSettings s = AppSettings();
    s.beginGroup(kSettingsGroup);
    EXPECT_EQ(s.value("PrLeft").toString(), QString::number(std::lround(200 * vbqt::TwipsPerPixelX(*dlg))));
    Open();
    EXPECT_EQ(dlg->pos(), QPoint(200, 150));
}

TEST_F(PrintDialog, ColumnListOf120ColumnsToPdf)
{
    Columns(120);
    gCond.Bukken = "試験物件";
    gCond.Tantou = "設計者";
    for (int i = 1; i <= 120; ++i) {
        gResults(i).JadgeM.fill(-1);
        gResults(i).JadgeQ.fill(-1);
    }
    gResults(5).JadgeQ(0, 4) = 1;  // OK*
    gCond.SMode = kTrue;
    Open();
    C<QRadioButton>("optStyle_3")->click();
    vbqt::PrintControl pc;
    pc.setPaperSize(9);
    pc.setOrientation(0);
    dlg->psub_Print(pc, 3);
    ASSERT_EQ(pc.PageCount(), 3);  // 49 + 49 + 22 rows
    const std::filesystem::path out = std::filesystem::path(KV_TEST_OUT_DIR);
    std::filesystem::create_directories(out);
    const QString pdf = QString::fromStdString((out / "column_list.pdf").string());
    ASSERT_TRUE(pc.writePdf(pdf));
    QProcess png;
    png.start("pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", pdf,
                           QString::fromStdString((out / "column_list").string())});
    png.waitForFinished(60000);
    QProcess txt;
    txt.start("pdftotext", {pdf, "-"});
    txt.waitForFinished(60000);
    const std::string text = txt.readAllStandardOutput().toStdString();
    for (const char* word : {"柱名称", "配筋ゾーン", "OK*", "試験物件", "設計担当：設計者"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
    EXPECT_NE(text.find(GetZoneMarkText(2)), std::string::npos);
    // The page numbers where the pages put them: (90, 270) mm, y 4.5 mm lower.
    constexpr double kTwipsPerMm = 1440 / 25.4;
    for (int p = 0; p < 3; ++p) {
        bool found = false;
        for (const vbqt::PageOp& op : pc.pages()[static_cast<std::size_t>(p)].ops)
            found = found || (op.kind == vbqt::PageOp::Text && op.text == QStringLiteral("- %1 -").arg(p + 1) &&
                              std::abs(op.p1.x() - 90 * kTwipsPerMm) < 1 && std::abs(op.p1.y() - 274.5 * kTwipsPerMm) < 1);
        EXPECT_TRUE(found) << "page " << p + 1;
    }
}

TEST_F(PrintDialog, Screenshots)
{
    Columns(8);
    gCond.SMode = kTrue;
    const std::filesystem::path dir = std::filesystem::path(KV_TEST_OUT_DIR) / "dialogs";
    std::filesystem::create_directories(dir);
    Open();
    const auto shot = [&](const char* file) {
        dlg->show();
        QApplication::processEvents();
        EXPECT_TRUE(dlg->grab().save(QString::fromStdString((dir / file).string())));
    };
    shot("print_dialog.png");
    C<QRadioButton>("optStyle_2")->click();
    C<QPushButton>("cmdOpt")->click();
    shot("print_dialog_options.png");
}

// ---- From the main window ----

class PrintCommands : public PrintDialog {};

TEST_F(PrintCommands, FileMenuAndToolbarOpenTheDialogModal)
{
    if (!gzDLGetSys) gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
    auto w = std::make_unique<frmMain>();
    InstallPrintCommands(*w);
    for (int way = 0; way < 2; ++way) {
        bool modal = false;
        QString title;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<frmPrint*>(QApplication::activeModalWidget());
            if (!d) return;
            modal = d->isModal();
            title = d->windowTitle();
            d->findChild<QPushButton*>("cmdCancel")->click();
        });
        if (way == 0)
            w->mShowPrintDialog();
        else
            w->mShowPrintDialogModal();
        EXPECT_TRUE(modal) << way;
        EXPECT_EQ(title, "印刷設定") << way;
    }
    // No printer here: the set-up says so, and nothing is remembered.
    reports::gSavedDeviceName = "";
    w->mShowPageSetup();
    EXPECT_EQ(reports::gSavedDeviceName, "");
    EXPECT_FALSE(script.messages.empty());
}

}  // namespace
