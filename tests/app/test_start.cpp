// The built program started as a user starts it: headless, in a settings
// folder of its own, on what lies beside it in the build folder. Nothing in
// the program serves the test: Qt's accessibility log, switched on through
// the environment, describes each window as Qt first meets it (class, title,
// visible or not) on standard error, and that is all the test reads.
#include "engine/kv.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/project_file.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const fs::path kProgram = KV_PROGRAM;

// A start takes about a second; a loaded machine or a sanitizer build may
// take many times that.
constexpr int kStartMs = 180'000;
// How long a started program must keep running on its own.
constexpr int kStayMs = 3'000;

// The offscreen platform cannot pass a window's size limits on and says so
// for each window of fixed size; that is no error of the program.
const QString kPlatformNotice = QStringLiteral("This plugin does not support propagateSizeHints()");
const QString kLogPrefix = QStringLiteral("qt.accessibility.cache: ");

// A top-level window of the program as the log first describes it.
struct Window {
    QString title;  // its accessible name, which for a window is its title
    bool visible = false;
    qsizetype line = 0;  // where among the lines of standard error
};

// One run of the program, reading its standard error. Whatever happens to
// the test, the program does not outlive it: it is ended by its pid when the
// run goes, and the kernel ends it should the test itself die.
class ProgramRun {
public:
    ProgramRun(const fs::path& program, const QStringList& args, const fs::path& home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_LOGGING_CONF"));
        env.remove(QStringLiteral("QT_MESSAGE_PATTERN"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.accessibility.cache.debug=true"));
        // Log to standard error even though it is a pipe, not a terminal.
        env.insert(QStringLiteral("QT_ASSUME_STDERR_HAS_CONSOLE"), QStringLiteral("1"));
        // A sanitizer build: what fontconfig keeps is no finding of the program.
        QString lsan = env.value(QStringLiteral("LSAN_OPTIONS"));
        if (!lsan.isEmpty()) lsan += u':';
        lsan += QStringLiteral("print_suppressions=0:suppressions=\"" KV_LSAN_SUPPRESSIONS "\"");
        env.insert(QStringLiteral("LSAN_OPTIONS"), lsan);
        // Settings, caches and the runtime folder of its own: the user's stay untouched.
        const auto set = [&](const char* name, const fs::path& p) {
            env.insert(QString::fromLatin1(name), QString::fromStdString(p.string()));
        };
        set("HOME", home);
        set("XDG_CONFIG_HOME", home / "config");
        set("XDG_CACHE_HOME", home / "cache");
        set("XDG_RUNTIME_DIR", home / "runtime");
        proc_.setProcessEnvironment(env);
        proc_.setStandardOutputFile(QProcess::nullDevice());
        proc_.setReadChannel(QProcess::StandardError);
        proc_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        proc_.start(QString::fromStdString(program.string()), args);
    }
    ~ProgramRun() { stop(); }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool started() { return proc_.waitForStarted(kStartMs); }

    // Reads until `done` holds; false when the program ended or the time ran
    // out before.
    bool readUntil(const std::function<bool()>& done, int ms)
    {
        const QDeadlineTimer deadline(ms);
        for (;;) {
            take();
            if (done()) return true;
            if (proc_.state() == QProcess::NotRunning || deadline.hasExpired()) return false;
            proc_.waitForReadyRead(200);
        }
    }
    // True when the program ended within `ms`.
    bool endsWithin(int ms)
    {
        readUntil([this] { return proc_.state() == QProcess::NotRunning; }, ms);
        return proc_.state() == QProcess::NotRunning;
    }
    // Asks the program to end by its pid, and makes sure it has.
    void stop()
    {
        if (proc_.state() == QProcess::NotRunning) return;
        const auto pid = static_cast<pid_t>(proc_.processId());
        if (pid > 0) ::kill(pid, SIGTERM);
        if (!proc_.waitForFinished(30'000) && pid > 0) {
            ::kill(pid, SIGKILL);
            proc_.waitForFinished(-1);
        }
        take();
    }

    QProcess::ExitStatus exitStatus() const { return proc_.exitStatus(); }
    int exitCode() const { return proc_.exitCode(); }

    // The complete lines of standard error so far.
    QStringList lines() const
    {
        QString text = QString::fromUtf8(err_);
        if (proc_.state() != QProcess::NotRunning) text.truncate(text.lastIndexOf(u'\n') + 1);
        return text.split(u'\n', Qt::SkipEmptyParts);
    }
    // What the program (or a sanitizer) wrote itself: every line but Qt's
    // log and the platform's notice.
    QStringList ownLines() const
    {
        QStringList out;
        for (const QString& l : lines())
            if (!l.startsWith(kLogPrefix) && l != kPlatformNotice) out << l;
        return out;
    }
    // The window of class `cls` as the log first describes it.
    std::optional<Window> window(const QString& cls) const
    {
        static const QRegularExpression entry(QStringLiteral(
            R"re(QAccessibleInterface\(0x[0-9a-f]+ name="((?:[^"\\]|\\.)*)" role=\w+ (?:childc=\d+ )?obj=(\w+)\((.*)$)re"));
        const QStringList all = lines();
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (!all[i].startsWith(kLogPrefix)) continue;
            const QRegularExpressionMatch m = entry.match(all[i]);
            if (!m.hasMatch() || m.captured(2) != cls) continue;
            QString title = m.captured(1);
            title.replace(QStringLiteral("\\\""), QStringLiteral("\""));
            title.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
            // Qt gives the place of a visible object only.
            const QString rest = m.captured(3);
            const bool visible =
                !rest.contains(QStringLiteral("invisible")) && rest.contains(QStringLiteral("rect="));
            return Window{title, visible, i};
        }
        return std::nullopt;
    }
    QString errText() const { return QString::fromUtf8(err_); }

private:
    void take()
    {
        err_ += proc_.readAllStandardError();
        if (proc_.state() == QProcess::NotRunning && !err_.isEmpty() && !err_.endsWith('\n')) err_ += '\n';
    }

    QProcess proc_;
    QByteArray err_;
};

class ProgramStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        home = fs::path(KV_TEST_WORK_DIR) / ("start " + test + " " + std::to_string(::getpid()));
        fs::remove_all(home);
        for (const char* sub : {"config", "cache", "runtime"}) fs::create_directories(home / sub);
        // Qt accepts no runtime folder that others may enter.
        fs::permissions(home / "runtime", fs::perms::owner_all);
    }
    void TearDown() override
    {
        run.reset();
        std::error_code ec;
        fs::remove_all(home, ec);
    }

    // Starts the program and follows it until the terms of use are shown over
    // the main window titled after `file`; it must then go on running, having
    // written nothing of its own.
    void ExpectStartsOn(const std::string& file, const QStringList& args)
    {
        run = std::make_unique<ProgramRun>(kProgram, args, home);
        ASSERT_TRUE(run->started()) << "the program did not start";
        const bool termsShown =
            run->readUntil([this] { return run->window(QStringLiteral("flmImmunity")).has_value(); }, kStartMs);
        ASSERT_TRUE(termsShown) << "no terms of use; standard error:\n" << run->errText().toStdString();
        EXPECT_FALSE(run->endsWithin(kStayMs)) << "it ended by itself; standard error:\n"
                                               << run->errText().toStdString();

        const auto splash = run->window(QStringLiteral("frmSplash"));
        const auto main = run->window(QStringLiteral("frmMain"));
        const auto terms = run->window(QStringLiteral("flmImmunity"));
        ASSERT_TRUE(splash && main && terms) << run->errText().toStdString();
        EXPECT_TRUE(splash->visible);
        EXPECT_TRUE(main->visible);
        EXPECT_TRUE(terms->visible);
        EXPECT_EQ(main->title.toStdString(), "柱脚検討 -\"" + file + "\"");
        EXPECT_EQ(terms->title.toStdString(), "利用規約");
        EXPECT_LT(splash->line, main->line);
        EXPECT_LT(main->line, terms->line) << "the terms came before the main window";
        EXPECT_EQ(run->ownLines(), QStringList{});
        run->stop();
    }

    fs::path home;
    std::unique_ptr<ProgramRun> run;
};

TEST_F(ProgramStart, WithoutArgumentShowsTheDefaultProjectAndTheTerms)
{
    ExpectStartsOn("untitled.kud", {});
}

TEST_F(ProgramStart, WithAProjectShowsThatProject)
{
    // A two-column project as the program saves one, under a name with a
    // blank and Japanese letters, in a folder with blanks. Made in this test's
    // settings folder, so that no setting of the user's shapes it.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((home / "config").string()));
    model::StartProgram(kProgram.parent_path().string(), "");
    model::gCond.Bukken = "起動試験";
    model::gCond.ColCount = 2;
    model::gColumns.redimPreserve(2);
    model::gKvBase.redimPreserve(2);
    model::gColumns(2) = model::gColumns(1);
    model::gColumns(2).ColName = "2C1";
    model::gKvBase(2) = model::gKvBase(1);
    const std::string file = "現場 A.kud";
    fs::create_directories(home / "project files");
    const fs::path path = home / "project files" / file;
    model::WriteFileAtomically(path.string(),
                               model::EncodeProjectFile(model::gCond, model::gColumns, model::gKvBase));
    model::gKv.reset();

    ExpectStartsOn(file, {QString::fromStdString(path.string())});
}

TEST_F(ProgramStart, WithoutItsCatalogueSaysWhyOnStandardErrorAndEnds)
{
    // The program and its libraries in a folder of their own, with no data.mdb.
    const fs::path folder = home / "program";
    fs::create_directories(folder);
    for (const auto& e : fs::directory_iterator(kProgram.parent_path())) {
        const fs::path p = e.path();
        if (!e.is_regular_file() || (p.filename() != kProgram.filename() && p.extension() != ".so")) continue;
        std::error_code ec;
        fs::create_hard_link(p, folder / p.filename(), ec);
        if (ec) fs::copy_file(p, folder / p.filename());
    }
    ASSERT_FALSE(fs::exists(folder / "data.mdb"));

    run = std::make_unique<ProgramRun>(folder / kProgram.filename(), QStringList{}, home);
    ASSERT_TRUE(run->started()) << "the program did not start";
    ASSERT_TRUE(run->endsWithin(kStartMs)) << "it did not end; standard error:\n" << run->errText().toStdString();
    EXPECT_EQ(run->exitStatus(), QProcess::NormalExit) << run->errText().toStdString();
    EXPECT_EQ(run->exitCode(), 1);
    // The message and nothing else: no sanitizer finding, no window.
    const QStringList own = run->ownLines();
    ASSERT_EQ(own.size(), 1) << run->errText().toStdString();
    EXPECT_TRUE(own[0].startsWith(QStringLiteral("データベースが開けません: "))) << own[0].toStdString();
    EXPECT_TRUE(own[0].contains(QString::fromStdString((folder / "data.mdb").string()))) << own[0].toStdString();
    EXPECT_FALSE(run->window(QStringLiteral("frmSplash")));
    EXPECT_FALSE(run->window(QStringLiteral("frmMain")));
}

}  // namespace
