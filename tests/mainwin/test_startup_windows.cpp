// The splash window, the terms of use, the now-loading window and the About
// box, on the sample catalogue with the settings in an ini file of the test's
// own. Refusing the terms runs a counting hook here, never the real end.
#include "engine/kv.h"
#include "mainwin/flmImmunity.h"
#include "mainwin/frmAbout.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmNowLoading.h"
#include "mainwin/frmSplash.h"
#include "mainwin/version_text.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "tests/platform/ui/scripted_ui.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace model;
using ui::testing::ScopedUi;
using ui::testing::ScriptedUi;

QString U(const char* s) { return QString::fromUtf8(s); }

// The version text of the project's own version ("5.6" has revision 0).
QString ProjectVersionText()
{
    const QStringList parts = QString::fromLatin1(KV_PROJECT_VERSION).split('.');
    return VersionText(parts.value(0).toInt(), parts.value(1).toInt(), parts.value(2).toInt());
}

TEST(VersionText, TwoDigitMinorAndFourDigitRevision)
{
    const struct {
        int major, minor, revision;
        const char* text;
    } cases[] = {
        {5, 1, 1, "Version 5.01.0001"},
        {5, 6, 0, "Version 5.06.0000"},
        {0, 0, 0, "Version 0.00.0000"},
        {12, 10, 100, "Version 12.10.0100"},
        {1, 99, 9999, "Version 1.99.9999"},
        // Beyond their widths only the last digits stay.
        {2, 100, 10000, "Version 2.00.0000"},
        {3, 123, 12345, "Version 3.23.2345"},
        {4, 1999, 1234567, "Version 4.99.4567"},
        {-1, -5, -7, "Version 0.00.0000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionText(c.major, c.minor, c.revision), U(c.text))
            << c.major << "." << c.minor << "." << c.revision;
}

class StartupWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("kv startup " + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir_.string()));
        iniPath_ = QString::fromStdString((dir_ / "settings.ini").string());
        ini_ = std::make_unique<QSettings>(iniPath_, QSettings::IniFormat);
        gKv.reset();
        StartProgram(KV_SAMPLE_DIR, "");
        if (!gzDLGetSys) gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
        savedEnd_ = flmImmunity::EndProgram;
        flmImmunity::EndProgram = [this] { ++ended; };
        makeMain();
    }
    void TearDown() override
    {
        for (const QPointer<QTimer>& t : polls_) delete t.data();
        HideNowLoading();
        w.reset();
        ini_.reset();
        gKv.reset();
        gDataChanged = false;
        flmImmunity::EndProgram = savedEnd_;
        std::filesystem::remove_all(dir_);
    }

    void makeMain()
    {
        w = std::make_unique<frmMain>();
        w->programFolder = KV_SAMPLE_DIR;
        w->setSettingsStore(ini_.get());
    }

    // Runs `act` on the modal window as soon as one is up, once.
    void onModal(std::function<void(QWidget*)> act)
    {
        auto* poll = new QTimer(qApp);
        polls_.emplace_back(poll);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                poll->stop();
                poll->deleteLater();
                act(m);
            }
        });
        poll->start(0);
    }

    // Lets events run until `done` holds or a few seconds went by.
    static bool waitFor(const std::function<bool()>& done)
    {
        QDeadlineTimer deadline(5000);
        while (!done() && !deadline.hasExpired()) QTest::qWait(20);
        return done();
    }

    // Nothing written anywhere: neither the window's store nor the user's.
    std::vector<std::string> settingsFiles() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir_)) names.push_back(e.path().string());
        return names;
    }

    std::unique_ptr<frmMain> w;
    int ended = 0;

private:
    std::filesystem::path dir_;
    QString iniPath_;
    std::unique_ptr<QSettings> ini_;
    std::function<void()> savedEnd_;
    std::vector<QPointer<QTimer>> polls_;
};

// What the terms dialog looked like when it came up.
struct TermsSeen {
    int shown = 0;
    bool isTerms = false;
    bool mainVisible = false;
    bool splashGone = false;
    bool modalOverMain = false;
    QString title;
    bool refuseIsDefault = false;
    bool acceptIsDefault = true;
    bool focusOnRefuse = false;
    QPoint pos, centredPos;
};

// Records the terms dialog, then presses Enter or clicks "同意する".
void ActOnTerms(QWidget* m, TermsSeen& seen, const QPointer<frmSplash>& splash, QWidget* main, bool enter)
{
    ++seen.shown;
    auto* dlg = qobject_cast<flmImmunity*>(m);
    seen.isTerms = dlg;
    seen.mainVisible = main->isVisible();
    seen.splashGone = !splash || !splash->isVisible();
    if (!dlg) {
        m->close();
        return;
    }
    seen.modalOverMain = dlg->isModal() && dlg->parentWidget() == main;
    seen.title = dlg->windowTitle();
    seen.refuseIsDefault = dlg->cmdNotAccept->isDefault();
    seen.acceptIsDefault = dlg->cmdAccept->isDefault();
    seen.focusOnRefuse = dlg->focusWidget() == dlg->cmdNotAccept;
    const QRect mg = main->frameGeometry();
    const QRect own = dlg->frameGeometry();
    seen.pos = own.topLeft();
    seen.centredPos = QPoint(qRound(mg.width() / 2.0 + mg.x() - own.width() / 2.0),
                             qRound(mg.height() / 2.0 + mg.y() - own.height() / 2.0));
    if (enter)
        QTest::keyClick(dlg->focusWidget() ? dlg->focusWidget() : dlg, Qt::Key_Return);
    else
        dlg->cmdAccept->click();
}

TEST_F(StartupWindows, SplashShowsTheVersionThenTheMainWindowWithTheTermsOverIt)
{
    const struct {
        const char* name;
        bool enter;      // Enter in the terms, else "同意する"
        int endsProgram;
    } cases[] = {{"Enter refuses", true, 1}, {"accepted", false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ended = 0;
        const std::vector<std::string> filesBefore = settingsFiles();
        QPointer<frmSplash> splash = new frmSplash(w.get());
        splash->show();
        EXPECT_EQ(splash->lblVersion->text(), ProjectVersionText());
        EXPECT_EQ(splash->Label1->text(), LegalNotice());
        EXPECT_TRUE(splash->Timer1->isActive());
        EXPECT_TRUE(splash->Timer1->isSingleShot());
        EXPECT_EQ(splash->Timer1->interval(), 1000);
        EXPECT_FALSE(w->isVisible());

        TermsSeen seen;
        QWidget* main = w.get();
        onModal([&seen, splash, main, enter = c.enter](QWidget* m) { ActOnTerms(m, seen, splash, main, enter); });
        ASSERT_TRUE(waitFor([&] { return seen.shown > 0 && !QApplication::activeModalWidget(); }));
        EXPECT_TRUE(seen.isTerms);
        EXPECT_TRUE(seen.mainVisible);
        EXPECT_TRUE(seen.splashGone);
        EXPECT_TRUE(seen.modalOverMain);
        EXPECT_EQ(seen.title, U("利用規約"));
        EXPECT_TRUE(seen.refuseIsDefault);
        EXPECT_FALSE(seen.acceptIsDefault);
        EXPECT_TRUE(seen.focusOnRefuse);
        EXPECT_LE((seen.pos - seen.centredPos).manhattanLength(), 1);
        EXPECT_EQ(ended, c.endsProgram);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(settingsFiles(), filesBefore);

        // Once per start: the splash is gone and nothing opens the terms again.
        QTest::qWait(1300);
        EXPECT_FALSE(splash);
        EXPECT_FALSE(QApplication::activeModalWidget());
        EXPECT_EQ(seen.shown, 1);
        w.reset();
        makeMain();
    }
}

TEST_F(StartupWindows, TermsTextIsSixNumberedParagraphs)
{
    const QStringList paragraphs = flmImmunity::TermsText().split(U("\n\n"));
    ASSERT_EQ(paragraphs.size(), 6);
    const char* const numbers[] = {"１．", "２．", "３．", "４．", "５．", "６．"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(paragraphs[i].startsWith(U(numbers[i]))) << i;
        EXPECT_FALSE(paragraphs[i].contains('\n')) << i;
    }
    flmImmunity dlg(nullptr);
    EXPECT_EQ(dlg.Label1->text(), flmImmunity::TermsText());
    EXPECT_EQ(dlg.Label2->text(), U("同意いただけますか？"));
    EXPECT_EQ(dlg.cmdAccept->text(), U("同意する"));
    EXPECT_EQ(dlg.cmdNotAccept->text(), U("同意しない"));
}

TEST_F(StartupWindows, TheDialogAloneEndsOnRefusalWithoutAQuestion)
{
    ScriptedUi u;
    ScopedUi scope(u);
    w->show();
    QApplication::processEvents();
    // Partly off the screen: the dialog still centres on it.
    w->move(-500, -400);
    QApplication::processEvents();
    gDataChanged = true;
    const std::vector<std::string> filesBefore = settingsFiles();

    bool wasTerms = false;
    QPoint pos, centredPos;
    QWidget* main = w.get();
    onModal([&](QWidget* m) {
        auto* dlg = qobject_cast<flmImmunity*>(m);
        wasTerms = dlg;
        if (!dlg) {
            m->close();
            return;
        }
        const QRect mg = main->frameGeometry();
        const QRect own = dlg->frameGeometry();
        pos = own.topLeft();
        centredPos = QPoint(qRound(mg.width() / 2.0 + mg.x() - own.width() / 2.0),
                            qRound(mg.height() / 2.0 + mg.y() - own.height() / 2.0));
        dlg->cmdNotAccept->click();
    });
    EXPECT_EQ(flmImmunity::ShowModal(w.get()), QDialog::Rejected);
    EXPECT_TRUE(wasTerms);
    EXPECT_LE((pos - centredPos).manhattanLength(), 1) << pos.x() << "," << pos.y();
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(u.questions.empty());
    EXPECT_TRUE(u.messages.empty());
    EXPECT_EQ(settingsFiles(), filesBefore);
    EXPECT_TRUE(gDataChanged);
}

TEST_F(StartupWindows, AHookThatHoldsTheRefusalKeepsTheDialogOpen)
{
    w->show();
    QApplication::processEvents();
    int asked = 0;
    bool stillOpen = false;
    onModal([&](QWidget* m) {
        auto* dlg = qobject_cast<flmImmunity*>(m);
        if (!dlg) {
            m->close();
            return;
        }
        dlg->cmdNotAccept->click();
        stillOpen = dlg->isVisible() && QApplication::activeModalWidget() == dlg;
        dlg->cmdAccept->click();
    });
    EXPECT_EQ(flmImmunity::ShowModal(w.get(),
                                     [&] {
                                         ++asked;
                                         return false;
                                     }),
              QDialog::Accepted);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(ended, 0);
}

TEST_F(StartupWindows, TheHelpMenuOffersToSaveBeforeTheRefusalEnds)
{
    ScriptedUi u;
    ScopedUi scope(u);
    w->show();
    QApplication::processEvents();
    gDataChanged = true;
    u.answers = {ui::Answer::Cancel, ui::Answer::No};
    bool openAfterCancel = false;
    int endedAfterCancel = -1;
    onModal([&](QWidget* m) {
        auto* dlg = qobject_cast<flmImmunity*>(m);
        if (!dlg) {
            m->close();
            return;
        }
        dlg->cmdNotAccept->click();
        openAfterCancel = dlg->isVisible();
        endedAfterCancel = ended;
        dlg->cmdNotAccept->click();
    });
    w->mnuHelpImmunity->trigger();
    EXPECT_TRUE(openAfterCancel);
    EXPECT_EQ(endedAfterCancel, 0);
    ASSERT_EQ(u.questions.size(), 2u);
    EXPECT_EQ(u.questions[0], "データが変更されています。\r登録しますか？");
    EXPECT_EQ(ended, 1);
    gDataChanged = false;
}

// What the About box showed and did.
struct AboutSeen {
    bool isAbout = false;
    bool ownedByMain = false;
    QString title, appTitle, version, description, ok, sysInfo;
    bool hasIcon = false;
    size_t messagesAfterSysInfo = 0;
    bool openAfterSysInfo = false;
};

TEST_F(StartupWindows, AboutShowsTheProgramAndStaysOpenWithoutSystemInformation)
{
    ScriptedUi u;
    ScopedUi scope(u);
    w->show();
    QApplication::processEvents();
    AboutSeen seen;
    QWidget* main = w.get();
    onModal([&seen, &u, main](QWidget* m) {
        auto* dlg = qobject_cast<frmAbout*>(m);
        seen.isAbout = dlg;
        if (!dlg) {
            m->close();
            return;
        }
        seen.ownedByMain = dlg->parentWidget() == main;
        seen.title = dlg->windowTitle();
        seen.appTitle = dlg->lblTitle->text();
        seen.version = dlg->lblVersion->text();
        seen.description = dlg->lblDescription->text();
        seen.ok = dlg->cmdOK->text();
        seen.sysInfo = dlg->cmdSysInfo->text();
        seen.hasIcon = !dlg->picIcon->pixmap().isNull();
        dlg->cmdSysInfo->click();
        seen.messagesAfterSysInfo = u.messages.size();
        seen.openAfterSysInfo = dlg->isVisible() && QApplication::activeModalWidget() == dlg;
        dlg->cmdOK->click();
    });
    EXPECT_EQ(frmAbout::ShowModal(w.get()), QDialog::Accepted);
    EXPECT_TRUE(seen.isAbout);
    EXPECT_TRUE(seen.ownedByMain);
    EXPECT_EQ(seen.title, U("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(seen.appTitle, U("ヴェンドラS＆SRC柱脚検討"));
    EXPECT_EQ(seen.version, ProjectVersionText());
    const QStringList lines = {
        U("ヴェンドラソルヴェナス工法，ヴェンドラコルヴァン・ルモ工法と"),
        U("ヴェンドラオルタコルヴァン工法の柱脚選定が行えます。"),
        "",
        U("BCR材とBCP材柱に対応"),
        U("XY両方向応力同時検討可能"),
        U("SRC造用オルタコルヴァンの検討可能"),
        U("一貫計算ソフトからのデータインポート対応"),
        "",
        LegalNotice(),
    };
    EXPECT_EQ(seen.description.split('\n'), lines);
    EXPECT_FALSE(LegalNotice().isEmpty());
    EXPECT_EQ(seen.ok, "OK");
    EXPECT_EQ(seen.sysInfo, U("ｼｽﾃﾑ情報(&S)..."));
    EXPECT_TRUE(seen.hasIcon);
    EXPECT_EQ(seen.messagesAfterSysInfo, 1u);
    EXPECT_TRUE(seen.openAfterSysInfo);
    ASSERT_EQ(u.messages.size(), 1u);
    EXPECT_EQ(u.messages[0].text, "現時点ではｼｽﾃﾑ情報を使用できません");
    EXPECT_EQ(u.messages[0].title, "ヴェンドラS＆SRC柱脚検討");
    EXPECT_EQ(u.messages[0].kind, ui::MessageKind::Information);
}

TEST_F(StartupWindows, NoRegistryHereSoNoKeyValue)
{
    frmAbout about;
    std::string value = "stale";
    EXPECT_FALSE(about.GetKeyValue(static_cast<std::int32_t>(0x80000002u), "SOFTWARE", "PATH", value));
    EXPECT_EQ(value, "");
}

TEST_F(StartupWindows, NowLoadingIsCentredOnTheMainWindowWhereverItStands)
{
    const QRect places[] = {
        {0, 0, 640, 480}, {300, 200, 640, 480}, {37, 411, 901, 333}, {-150, -90, 500, 400}, {1200, 900, 260, 150},
    };
    for (const QRect& place : places) {
        SCOPED_TRACE(QString("%1,%2 %3x%4").arg(place.x()).arg(place.y()).arg(place.width()).arg(place.height())
                         .toStdString());
        QWidget main;
        main.setGeometry(place);
        main.show();
        QApplication::processEvents();
        ShowNowLoading(&main);
        frmNowLoading* n = NowLoadingWindow();
        ASSERT_TRUE(n);
        EXPECT_TRUE(n->isVisible());
        EXPECT_EQ(n->Label1->text(), U("データ取得中です。"));
        EXPECT_EQ(n->Label1->parentWidget(), n->Frame1);
        const QRect m = main.frameGeometry();
        const QRect own = n->frameGeometry();
        EXPECT_NEAR(own.y(), m.y() + (m.height() - own.height()) / 2.0, 1);
        EXPECT_NEAR(own.x(), m.x() + (m.width() - own.width()) / 2.0, 1);
        // Shown again while it is up: still the one window.
        ShowNowLoading(&main);
        EXPECT_EQ(NowLoadingWindow(), n);
        HideNowLoading();
        EXPECT_FALSE(NowLoadingWindow());
    }
    HideNowLoading();  // none up: nothing happens
    EXPECT_FALSE(NowLoadingWindow());
}

TEST_F(StartupWindows, Screenshots)
{
    const QString out = QString(KV_TEST_OUT_DIR);
    QDir().mkpath(out);

    auto* splash = new frmSplash;
    splash->show();
    splash->Timer1->stop();
    QApplication::processEvents();
    EXPECT_TRUE(splash->grab().save(out + "/startup_splash.png"));
    delete splash;

    w->show();
    QApplication::processEvents();
    flmImmunity terms(w.get());
    terms.show();
    QApplication::processEvents();
    EXPECT_TRUE(terms.grab().save(out + "/startup_terms.png"));
    terms.close();

    frmAbout about(w.get());
    about.show();
    QApplication::processEvents();
    EXPECT_TRUE(about.grab().save(out + "/about.png"));
    about.close();

    ShowNowLoading(w.get());
    ASSERT_TRUE(NowLoadingWindow());
    EXPECT_TRUE(NowLoadingWindow()->grab().save(out + "/now_loading.png"));
    HideNowLoading();
}

}  // namespace
