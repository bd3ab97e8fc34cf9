// The print preview window on a fake printing window: its kept place and
// size, its layout rules, the owner's document, a failing owner, closing and
// printing without a printer.
#include "engine/kverror.h"
#include "model/startup.h"
#include "platform/qt/print_control.h"
#include "platform/qt/twips.h"
#include "reports/frmPreview.h"
#include "reports/print_form.h"
#include "reports/printers.h"
#include "tests/platform/ui/scripted_ui.h"
#include "tests/reports/fake_printers.h"

#include <QApplication>
#include <QPageLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using reports::frmPreview;

constexpr const char* kTitle = "印刷プレビュー";

// A printing window whose document has pagesFor(mode) pages, each framed and
// numbered; no pages means it draws nothing at all.
class FakeOwner : public reports::IPrintForm {
public:
    std::function<int(int)> pagesFor = [](int mode) { return mode + 1; };
    std::function<void()> fail;  // thrown from after the first page when set
    std::vector<int> modes;
    bool whole = true;  // false: says its run failed after drawing its pages

    bool psub_Print(vbqt::PageTarget& target, int mode) override
    {
        modes.push_back(mode);
        const int n = pagesFor(mode);
        if (n == 0) return true;
        target.StartDoc();
        for (int i = 0; i < n; ++i) {
            if (i > 0) target.NewPage();
            target.setBrushStyle(1);
            target.setPenWidth(3);
            target.DrawRectangle(1134, 1134, 10772, 15704);
            target.setFont({"ＭＳ 明朝", 20, true});
            target.setCurrentX(1700);
            target.setCurrentY(1700);
            target.setText("計算書 モード " + std::to_string(mode));
            target.setFont({"ＭＳ 明朝", 10});
            target.setCurrentX(5500);
            target.setCurrentY(15900);
            target.setText("- " + std::to_string(i + 1) + " -");
            if (fail) fail();
        }
        target.EndDoc();
        return whole;
    }
};

class Preview : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("kv preview " + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir_.string()));
        ui_ = std::make_unique<ui::testing::ScopedUi>(script);
    }
    void TearDown() override
    {
        dlg.reset();
        ui_.reset();
        std::filesystem::remove_all(dir_);
    }

    frmPreview& Make(int mode = 0)
    {
        dlg = std::make_unique<frmPreview>();
        dlg->setprpPrintForm(&owner);
        dlg->setprpPrintMode(mode);
        return *dlg;
    }
    // Loaded and shown, as exec() would, but without a modal loop.
    frmPreview& Open(int mode = 0)
    {
        Make(mode).show();
        QApplication::processEvents();
        EXPECT_TRUE(dlg->isVisible());
        return *dlg;
    }

    static void Keep(const std::map<QString, QString>& values)
    {
        QSettings s = model::AppSettings();
        s.beginGroup(QString::fromLatin1(model::kSettingsGroup));
        for (const auto& [k, v] : values) s.setValue(k, v);
    }
    static std::optional<double> Kept(const char* key)
    {
        QSettings s = model::AppSettings();
        s.beginGroup(QString::fromLatin1(model::kSettingsGroup));
        return model::NumberSetting(s, key);
    }

    double Tw(int px) const { return px * vbqt::TwipsPerPixelX(*dlg); }
    int Px(double twips) const { return static_cast<int>(std::lround(twips / vbqt::TwipsPerPixelX(*dlg))); }

    void ExpectNoMessage()
    {
        for (const auto& m : script.messages) ADD_FAILURE() << m.title << ": " << m.text;
        script.messages.clear();
    }

    ui::testing::ScriptedUi script;
    FakeOwner owner;
    std::unique_ptr<frmPreview> dlg;

private:
    std::unique_ptr<ui::testing::ScopedUi> ui_;
    std::filesystem::path dir_;
};

// The layout rules, checked in pixels against a 60-twip gap.
void ExpectLaidOut(const frmPreview& d, int gap, const QRect& previewBefore)
{
    const QRect end = d.cmdEnd->geometry();
    const QRect print = d.cmdPrint->geometry();
    const QRect view = d.VSPrinter1->geometry();
    EXPECT_EQ(end.x(), d.width() - end.width() - gap);
    EXPECT_EQ(end.y(), d.height() - end.height() - gap);
    EXPECT_EQ(print.x(), end.x() - print.width() - gap);
    EXPECT_EQ(print.y(), end.y());
    EXPECT_EQ(view.topLeft(), previewBefore.topLeft());
    const int w = d.width() - view.x() - gap;
    const int h = print.y() - view.y() - gap;
    EXPECT_EQ(view.width(), w >= 0 ? w : previewBefore.width());
    EXPECT_EQ(view.height(), h >= 0 ? h : previewBefore.height());
}

TEST_F(Preview, FirstOpeningTakesTheDefaultPlaceAndSize)
{
    Open();
    const QRect frame = dlg->frameGeometry();
    const double onePixel = vbqt::TwipsPerPixelX(*dlg);
    EXPECT_NEAR(Tw(frame.x()), 0, onePixel);
    EXPECT_NEAR(Tw(frame.y()), 0, onePixel);
    EXPECT_NEAR(Tw(frame.width()), 7560, onePixel);
    EXPECT_NEAR(frame.height() * vbqt::TwipsPerPixelY(*dlg), 8250, onePixel);
    EXPECT_EQ(dlg->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), Qt::WindowNoState);

    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8(kTitle));
    EXPECT_EQ(dlg->cmdPrint->text(), QStringLiteral("印刷"));
    EXPECT_EQ(dlg->cmdEnd->text(), QStringLiteral("終了"));
    EXPECT_EQ(dlg->VSPrinter1->objectName(), QStringLiteral("VSPrinter1"));
    EXPECT_EQ(dlg->VSPrinter1->pos(), QPoint(Px(120), Px(120)));
    ExpectLaidOut(*dlg, Px(60), dlg->VSPrinter1->geometry());
    ExpectNoMessage();
}

TEST_F(Preview, ResizingKeepsTheButtonsInTheCornerEvenInATinyWindow)
{
    Open();
    // Sizes in pixels: larger, smaller than the buttons, smaller than the
    // preview's place, and nothing at all.
    const QSize sizes[] = {{900, 700}, {150, 60}, {5, 5}, {0, 0}, {640, 480}};
    for (const QSize& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
        const QRect before = dlg->VSPrinter1->geometry();
        dlg->resize(size);
        QApplication::processEvents();
        ExpectLaidOut(*dlg, Px(60), before);
        EXPECT_GE(dlg->VSPrinter1->width(), 0);
        EXPECT_GE(dlg->VSPrinter1->height(), 0);
    }
    EXPECT_TRUE(dlg->isVisible());
    ExpectNoMessage();
}

TEST_F(Preview, MinimisingMovesNoControl)
{
    Open();
    const QRect end = dlg->cmdEnd->geometry();
    const QRect print = dlg->cmdPrint->geometry();
    const QRect view = dlg->VSPrinter1->geometry();
    dlg->showMinimized();
    QApplication::processEvents();
    ASSERT_TRUE(dlg->isMinimized());
    // A minimised window may still be told of a new size, as small as none.
    dlg->resize(1, 1);
    QApplication::processEvents();
    dlg->Form_Resize();
    EXPECT_EQ(dlg->cmdEnd->geometry(), end);
    EXPECT_EQ(dlg->cmdPrint->geometry(), print);
    EXPECT_EQ(dlg->VSPrinter1->geometry(), view);
    ExpectNoMessage();
}

// Mode by mode, the preview holds what a print of the same owner holds, and
// shows every page of it.
TEST_F(Preview, PreviewHoldsTheOwnersDocumentForItsMode)
{
    for (int mode : {0, 1, 2, 3}) {
        SCOPED_TRACE(mode);
        owner.modes.clear();
        Open(mode);
        EXPECT_EQ(owner.modes, std::vector<int>{mode});

        vbqt::PrintControl printed;
        owner.psub_Print(printed, mode);
        ASSERT_EQ(dlg->PageControl().PageCount(), printed.PageCount());
        EXPECT_EQ(dlg->PageControl().PageCount(), mode + 1);
        EXPECT_EQ(dlg->VSPrinter1->pageCount(), mode + 1);
        for (const vbqt::RecordedPage& page : dlg->PageControl().pages()) {
            EXPECT_EQ(page.paperSize, 9);
            EXPECT_EQ(page.orientation, 1);  // portrait in the printer's code
        }
        dlg->close();
    }
    ExpectNoMessage();
}

TEST_F(Preview, OwnerWithoutPagesGivesAnEmptyPreviewThatPrintsNothing)
{
    owner.pagesFor = [](int) { return 0; };
    Open();
    EXPECT_EQ(dlg->PageControl().PageCount(), 0);
    EXPECT_EQ(dlg->VSPrinter1->pageCount(), 0);
    dlg->cmdPrint->click();
    EXPECT_TRUE(dlg->isVisible());
    ExpectNoMessage();
}

// A failure in the owner's document is shown, and the window closes without
// ever showing a half-built document; what was kept stays as it was.
TEST_F(Preview, FailingOwnerIsReportedAndTheWindowCloses)
{
    const struct {
        const char* name;
        std::function<void()> fail;
        std::string text;
    } cases[] = {
        {"engine failure", [] { throw kv::MissingRow(4711, true, "SELECT ... WHERE ((柱脚.ID)= 4711)"); },
         "印刷プレビューを作成できませんでした。\rデータベースに柱脚形式（番号 4711）がありません。"
         "柱脚形式を選び直してください。"},
        {"unknown failure", [] { throw 42; }, "印刷プレビューを作成できませんでした。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        owner.fail = c.fail;

        EXPECT_EQ(Make().exec(), QDialog::Rejected);
        EXPECT_FALSE(dlg->isVisible());
        ASSERT_EQ(script.messages.size(), 1u);
        EXPECT_EQ(script.messages[0].title, kTitle);
        EXPECT_EQ(script.messages[0].text, c.text);
        script.messages.clear();

        // Shown without a modal loop, it closes the same way.
        Make();
        bool rejected = false;
        QObject::connect(dlg.get(), &QDialog::rejected, [&rejected] { rejected = true; });
        dlg->show();
        QApplication::processEvents();
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_TRUE(rejected);
        EXPECT_EQ(script.messages.size(), 1u);
        script.messages.clear();
        dlg.reset();
    }
    EXPECT_FALSE(Kept("PrViewLeft"));
    EXPECT_FALSE(Kept("PrViewWidth"));
}

TEST_F(Preview, WithoutOwnerTheWindowSaysSoAndCloses)
{
    dlg = std::make_unique<frmPreview>();
    EXPECT_EQ(dlg->exec(), QDialog::Rejected);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, kTitle);
}

// The kept place and size are applied at loading and written back at every
// closing, whichever way the window is closed.
TEST_F(Preview, PlaceAndSizeAreKeptFromOneOpeningToTheNext)
{
    Keep({{"PrViewLeft", "1500"}, {"PrViewTop", "900"}, {"PrViewWindowState", "0"},
          {"PrViewWidth", "9000"}, {"PrViewHeight", "6000"}});
    const std::vector<std::pair<const char*, std::function<void(frmPreview&)>>> closings = {
        {"終了", [](frmPreview& d) { d.cmdEnd->click(); }},
        {"window's close", [](frmPreview& d) { d.close(); }},
        {"Escape", [](frmPreview& d) { d.reject(); }},
    };
    int shift = 0;
    for (const auto& [how, closeIt] : closings) {
        SCOPED_TRACE(how);
        Make();
        QRect loaded;
        QTimer::singleShot(0, dlg.get(), [&, closeIt = closeIt] {
            loaded = dlg->frameGeometry();
            dlg->move(dlg->x() + Px(300), dlg->y() + Px(150));
            dlg->resize(dlg->width() + Px(600), dlg->height() - Px(450));
            QApplication::processEvents();
            closeIt(*dlg);
        });
        dlg->exec();
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(owner.modes.size(), 1u);
        owner.modes.clear();

        // Each opening starts where the last one was left.
        const double onePixel = vbqt::TwipsPerPixelX(*dlg);
        EXPECT_NEAR(Tw(loaded.x()), 1500 + shift * 300, onePixel);
        EXPECT_NEAR(Tw(loaded.y()), 900 + shift * 150, onePixel);
        EXPECT_NEAR(Tw(loaded.width()), 9000 + shift * 600, onePixel);
        EXPECT_NEAR(Tw(loaded.height()), 6000 - shift * 450, onePixel);
        ++shift;
        EXPECT_NEAR(*Kept("PrViewLeft"), 1500 + shift * 300, onePixel);
        EXPECT_NEAR(*Kept("PrViewTop"), 900 + shift * 150, onePixel);
        EXPECT_EQ(*Kept("PrViewWindowState"), 0);
        EXPECT_NEAR(*Kept("PrViewWidth"), 9000 + shift * 600, onePixel);
        EXPECT_NEAR(*Kept("PrViewHeight"), 6000 - shift * 450, onePixel);
        dlg.reset();
    }
    ExpectNoMessage();
}

TEST_F(Preview, UnusableKeptValuesFallBackToTheDefaults)
{
    Keep({{"PrViewLeft", "abc"}, {"PrViewTop", "1e30"}, {"PrViewWindowState", "7"},
          {"PrViewWidth", ""}, {"PrViewHeight", "8250"}});
    Open();
    const QRect frame = dlg->frameGeometry();
    const double onePixel = vbqt::TwipsPerPixelX(*dlg);
    EXPECT_NEAR(Tw(frame.x()), 0, onePixel);
    EXPECT_NEAR(Tw(frame.y()), 0, onePixel);
    EXPECT_NEAR(Tw(frame.width()), 7560, onePixel);
    EXPECT_FALSE(dlg->isMinimized() || dlg->isMaximized());
}

// A minimised or maximised window comes back so, over the normal window's
// place and size, which closing keeps.
TEST_F(Preview, KeptStateComesBackOverTheNormalPlace)
{
    const struct {
        int state;
        bool (QWidget::*is)() const;
    } cases[] = {{1, &QWidget::isMinimized}, {2, &QWidget::isMaximized}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        Keep({{"PrViewLeft", "1500"}, {"PrViewTop", "900"}, {"PrViewWindowState", QString::number(c.state)},
              {"PrViewWidth", "9000"}, {"PrViewHeight", "6000"}});
        Open();
        EXPECT_TRUE((dlg.get()->*c.is)());
        dlg->close();
        const double onePixel = vbqt::TwipsPerPixelX(*dlg);
        EXPECT_EQ(*Kept("PrViewWindowState"), c.state);
        EXPECT_NEAR(*Kept("PrViewLeft"), 1500, onePixel);
        EXPECT_NEAR(*Kept("PrViewTop"), 900, onePixel);
        EXPECT_NEAR(*Kept("PrViewWidth"), 9000, onePixel);
        EXPECT_NEAR(*Kept("PrViewHeight"), 6000, onePixel);
        dlg.reset();
    }
    ExpectNoMessage();
}

TEST_F(Preview, ShowingAgainBuildsTheDocumentAnew)
{
    Open(2);
    dlg->close();
    owner.pagesFor = [](int) { return 5; };
    dlg->show();
    QApplication::processEvents();
    EXPECT_EQ(owner.modes, (std::vector<int>{2, 2}));
    EXPECT_EQ(dlg->PageControl().PageCount(), 5);
    EXPECT_EQ(dlg->VSPrinter1->pageCount(), 5);
}

// An owner that told a failure part way: its pages are shown, never printed.
TEST_F(Preview, APartOfAFailedRunIsShownButNotPrinted)
{
    const reports::testing::OnePrinter printer;
    reports::testing::FakePrinterBackend* fake = printer.fake;

    owner.whole = false;
    Open(1);
    EXPECT_EQ(dlg->PageControl().PageCount(), 2);
    EXPECT_FALSE(dlg->cmdPrint->isEnabled());
    dlg->cmdPrint_Click();
    EXPECT_TRUE(fake->printedPages.empty());
    dlg->close();

    owner.whole = true;
    Open(1);
    EXPECT_TRUE(dlg->cmdPrint->isEnabled());
    dlg->cmdPrint->click();
    EXPECT_EQ(fake->printedPages, std::vector<int>{2});
    ExpectNoMessage();
}

TEST_F(Preview, PrintingWithoutAPrinterSaysSoAndKeepsTheWindow)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "a printer is installed here";
    Open(1);
    const QPageLayout layout = reports::CurrentPrinter().pageLayout();
    dlg->cmdPrint->click();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, kTitle);
    EXPECT_EQ(script.messages[0].text, "プリンタがインストールされていません。");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->PageControl().PageCount(), 2);
    EXPECT_TRUE(reports::CurrentPrinter().pageLayout().isEquivalentTo(layout));
}

TEST_F(Preview, Screenshot)
{
    Open(1);
    ASSERT_EQ(dlg->VSPrinter1->pageCount(), 2);
    const std::filesystem::path dir = std::filesystem::path(KV_TEST_OUT_DIR) / "dialogs";
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(dlg->grab().save(QString::fromStdString((dir / "print_preview.png").string())));
}

}  // namespace
