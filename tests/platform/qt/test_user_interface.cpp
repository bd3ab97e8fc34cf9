// The Qt user interface: boxes, file dialogs and the modal wait, driven by
// a timer that acts on the modal window once it is up.
#include "platform/qt/qt_user_interface.h"
#include "tests/platform/qt/on_modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using qttest::OnModal;

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton def = QMessageBox::NoButton;
};

// Records the box and presses `press` (or Escape when NoButton).
void Answer(Seen& seen, QMessageBox::StandardButton press)
{
    OnModal([&seen, press](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_TRUE(box);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.def = box->standardButton(box->defaultButton());
        if (press == QMessageBox::NoButton)
            box->reject();
        else
            box->button(press)->click();
    });
}

QString U(const char* s) { return QString::fromUtf8(s); }

TEST(QtUserInterface, QuestionShowsTitleTextButtonsAndDefault)
{
    ui::QtUserInterface qui;
    using SB = QMessageBox::StandardButton;
    const struct {
        ui::Buttons buttons;
        std::optional<ui::Answer> def;
        SB press;
        QMessageBox::StandardButtons shown;
        SB shownDefault;
        ui::Answer result;
    } cases[] = {
        {ui::Buttons::YesNoCancel, std::nullopt, SB::No, SB::Yes | SB::No | SB::Cancel, SB::Yes, ui::Answer::No},
        {ui::Buttons::YesNoCancel, ui::Answer::No, SB::Yes, SB::Yes | SB::No | SB::Cancel, SB::No, ui::Answer::Yes},
        {ui::Buttons::YesNoCancel, ui::Answer::No, SB::NoButton, SB::Yes | SB::No | SB::Cancel, SB::No,
         ui::Answer::Cancel},
        {ui::Buttons::YesNo, std::nullopt, SB::NoButton, SB::Yes | SB::No, SB::Yes, ui::Answer::No},
        {ui::Buttons::OkCancel, std::nullopt, SB::Cancel, SB::Ok | SB::Cancel, SB::Ok, ui::Answer::Cancel},
        // A default that is not among the buttons falls back to the first.
        {ui::Buttons::OkCancel, ui::Answer::No, SB::Ok, SB::Ok | SB::Cancel, SB::Ok, ui::Answer::Ok},
    };
    for (const auto& c : cases) {
        Seen seen;
        Answer(seen, c.press);
        const ui::Answer a = qui.question("データが変更されています。\r登録しますか？", "確認", c.buttons, c.def);
        EXPECT_EQ(a, c.result);
        EXPECT_EQ(seen.title, U("確認"));
        EXPECT_EQ(seen.text, U("データが変更されています。\n登録しますか？"));
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        EXPECT_EQ(seen.buttons, c.shown);
        EXPECT_EQ(seen.def, c.shownDefault);
    }
}

TEST(QtUserInterface, MessageIconsAndTheProgramTitleForAnUntitledBox)
{
    ui::QtUserInterface qui;
    const struct {
        ui::MessageKind kind;
        QMessageBox::Icon icon;
    } cases[] = {
        {ui::MessageKind::Information, QMessageBox::Information},
        {ui::MessageKind::Warning, QMessageBox::Warning},
        {ui::MessageKind::Critical, QMessageBox::Critical},
        {ui::MessageKind::Question, QMessageBox::Question},
    };
    for (const auto& c : cases) {
        Seen seen;
        Answer(seen, QMessageBox::Ok);
        qui.message("a\r\nb", "", c.kind);
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.title, U("ヴェンドラS＆SRC柱脚検討"));
        EXPECT_EQ(seen.text, "a\nb");
        EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
}

TEST(QtUserInterface, FilterPairsBecomeNameFilters)
{
    const struct {
        const char* pairs;
        QStringList filters;
    } cases[] = {
        {"Kolvan検討ﾃﾞｰﾀﾌｧｲﾙ (*.kud)|*.kud", {U("Kolvan検討ﾃﾞｰﾀﾌｧｲﾙ (*.kud) (*.kud)")}},
        {"csvﾌｧｲﾙ (*.csv)|*.csv|All|*.*", {U("csvﾌｧｲﾙ (*.csv) (*.csv)"), "All (*.*)"}},
        {"Data|*.kud;*.mdb", {"Data (*.kud *.mdb)"}},
        {"", {}},
        {"Lonely caption", {}},
        {"Empty pattern||Text|*.txt", {"Text (*.txt)"}},
    };
    for (const auto& c : cases) EXPECT_EQ(ui::NameFiltersFromPairs(c.pairs), c.filters) << c.pairs;
}

TEST(QtUserInterface, SaveDialogFromTheRequest)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ui::QtUserInterface qui;
    qui.setNativeFileDialogs(false);
    ui::FileRequest r;
    r.save = true;
    r.title = "名前を付けて保存";
    r.initDir = dir.path().toStdString();
    r.filter = "Kolvan検討ﾃﾞｰﾀﾌｧｲﾙ (*.kud)|*.kud";
    r.defaultExt = "kud";
    r.fileName = "案1";
    QString title, dirSeen, typed;
    QStringList filters;
    QFileDialog::Options options;
    OnModal([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        ASSERT_TRUE(dlg);
        title = dlg->windowTitle();
        dirSeen = dlg->directory().absolutePath();
        filters = dlg->nameFilters();
        options = dlg->options();
        auto* name = dlg->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_TRUE(name);
        typed = name->text();
        static_cast<QDialog*>(dlg)->accept();
    });
    const auto path = qui.chooseFile(r);
    ASSERT_TRUE(path);
    // The default extension is added to the preset name.
    EXPECT_EQ(QString::fromStdString(*path), QDir(dir.path()).filePath(U("案1.kud")));
    EXPECT_EQ(title, U("名前を付けて保存"));
    EXPECT_EQ(dirSeen, QDir(dir.path()).absolutePath());
    EXPECT_EQ(typed, U("案1"));
    EXPECT_EQ(filters, QStringList{U("Kolvan検討ﾃﾞｰﾀﾌｧｲﾙ (*.kud) (*.kud)")});
    // The model asks about overwriting itself.
    EXPECT_TRUE(options & QFileDialog::DontConfirmOverwrite);
    EXPECT_TRUE(options & QFileDialog::HideNameFilterDetails);
}

TEST(QtUserInterface, OpenDialogCancelledAndChosen)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = QDir(dir.path()).filePath("a.kud");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ui::QtUserInterface qui;
    qui.setNativeFileDialogs(false);
    ui::FileRequest r;
    r.initDir = dir.path().toStdString();
    r.filter = "Kolvan|*.kud";
    OnModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_FALSE(qui.chooseFile(r));

    OnModal([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        ASSERT_TRUE(dlg);
        EXPECT_EQ(dlg->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dlg->fileMode(), QFileDialog::ExistingFile);
        dlg->selectFile(file);
        static_cast<QDialog*>(dlg)->accept();
    });
    const auto path = qui.chooseFile(r);
    ASSERT_TRUE(path);
    EXPECT_EQ(QString::fromStdString(*path), file);
}

TEST(QtUserInterface, WaitReturnsOnceFinishedAndBlocksInputMeanwhile)
{
    ui::QtUserInterface qui;
    // Already finished: asked once, no window.
    int polls = 0;
    qui.waitUntil([&] { return ++polls > 0; }, 10);
    EXPECT_EQ(polls, 1);

    polls = 0;
    bool modalSeen = false;
    OnModal([&](QWidget* w) { modalSeen = w->windowModality() == Qt::ApplicationModal; });
    qui.waitUntil([&] { return ++polls >= 4; }, 5);
    EXPECT_EQ(polls, 4);
    EXPECT_TRUE(modalSeen);
    EXPECT_FALSE(QApplication::activeModalWidget());
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST(QtUserInterface, WaitEndsOnAFailingCheckAndReportsIt)
{
    ui::QtUserInterface qui;
    int polls = 0;
    EXPECT_THROW(qui.waitUntil(
                     [&] {
                         if (++polls == 3) throw std::runtime_error("gone");
                         return false;
                     },
                     5),
                 std::runtime_error);
    EXPECT_EQ(polls, 3);
    EXPECT_FALSE(QApplication::activeModalWidget());
}

}  // namespace
