// The built program started as a user starts it: headless, on a desktop that
// is not Japanese, in a settings folder and a temporary folder of its own, on
// what lies beside it in the build folder. Nothing in the program serves the
// test: Qt's accessibility log, switched on through the environment,
// describes each window as Qt first meets it (class, title, visible or not)
// on standard error, and where a user would press buttons a plugin the test
// has the program load does it (driver.cpp) and tells what it saw there.
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
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
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
const QString kDriverPrefix = QStringLiteral("driver: ");

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
    ProgramRun(const fs::path& program, const QStringList& args, const fs::path& home, const QString& drive = {},
               const fs::path& driveFile = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // A desktop in no language of the program's.
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LC_TIME", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        if (!drive.isEmpty()) {
            env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(KV_DRIVER_PLUGINS));
            env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("kvdriver"));
            env.insert(QStringLiteral("KV_DRIVE"), drive);
            if (!driveFile.empty()) env.insert(QStringLiteral("KV_FILE"), QString::fromStdString(driveFile.string()));
        }
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
        set("TMPDIR", home / "tmp");
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
    // Sends the program `signo` by its pid.
    void signal(int signo)
    {
        const auto pid = static_cast<pid_t>(proc_.processId());
        if (proc_.state() != QProcess::NotRunning && pid > 0) ::kill(pid, signo);
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
    // log, the platform's notice and the driver's.
    QStringList ownLines() const
    {
        QStringList out;
        for (const QString& l : lines())
            if (!l.startsWith(kLogPrefix) && l != kPlatformNotice && !l.startsWith(kDriverPrefix)) out << l;
        return out;
    }
    // What the driver told, without its prefix.
    QStringList driverLines() const
    {
        QStringList out;
        for (const QString& l : lines())
            if (l.startsWith(kDriverPrefix)) out << l.mid(kDriverPrefix.size());
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
        for (const char* sub : {"config", "cache", "runtime", "tmp"}) fs::create_directories(home / sub);
        // Qt accepts no runtime folder that others may enter.
        fs::permissions(home / "runtime", fs::perms::owner_all);
    }
    void TearDown() override
    {
        run.reset();
        // However the program ended, its working copies went with it.
        EXPECT_EQ(Entries(home / "tmp"), std::vector<std::string>{});
        std::error_code ec;
        fs::remove_all(home, ec);
    }

    static std::vector<std::string> Entries(const fs::path& dir)
    {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dir, ec)) out.push_back(e.path().filename().string());
        return out;
    }
    fs::path SettingsFile() const { return home / "config" / "Vendra" / "SRC_Okv.conf"; }
    // The user's settings file as a map, read fresh.
    std::map<std::string, std::string> SettingsKeys() const
    {
        const fs::path copy = home / "settings read";
        fs::remove(copy);
        fs::copy_file(SettingsFile(), copy);
        const QSettings file(QString::fromStdString(copy.string()), QSettings::IniFormat);
        std::map<std::string, std::string> out;
        for (const QString& k : file.allKeys()) out[k.toStdString()] = file.value(k).toString().toStdString();
        return out;
    }
    void PutSettings(const std::string& bytes) const
    {
        fs::create_directories(SettingsFile().parent_path());
        std::ofstream(SettingsFile(), std::ios::binary) << bytes;
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

    // A two-column project as the program saves one, in a folder with
    // blanks. Made in this test's settings folder, so that no setting of the
    // user's shapes it.
    fs::path MakeProject(const std::string& file) const
    {
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
        fs::create_directories(home / "project files");
        const fs::path path = home / "project files" / file;
        model::WriteFileAtomically(path.string(),
                                   model::EncodeProjectFile(model::gCond, model::gColumns, model::gKvBase));
        model::gKv.reset();
        return path;
    }
    static std::string Bytes(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
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
    // Under a name with a blank and Japanese letters.
    const std::string file = "現場 A.kud";
    const fs::path path = MakeProject(file);
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
    // The technical line and the message, and nothing else: no sanitizer
    // finding, no window.
    const QStringList own = run->ownLines();
    ASSERT_EQ(own.size(), 2) << run->errText().toStdString();
    EXPECT_TRUE(own[0].startsWith(QStringLiteral("SRC_Okv: "))) << own[0].toStdString();
    EXPECT_TRUE(own[0].contains(QString::fromStdString((folder / "data.mdb").string()))) << own[0].toStdString();
    EXPECT_EQ(own[1], QStringLiteral("データベースが開けません。データベース「data.mdb」が見つかりません。"
                                     "プログラムのフォルダにあるか確かめてください。"));
    EXPECT_FALSE(run->window(QStringLiteral("frmSplash")));
    EXPECT_FALSE(run->window(QStringLiteral("frmMain")));
}

TEST_F(ProgramStart, EndedByASignalItEndsAsItsCloseDoesWithoutAsking)
{
    // A user's settings of an earlier run, one key of them of another version.
    const std::string kept = "[Settings]\nDispSIFlag=False\nFcUpperLimit=300\nKvV=4\nOther=kept\nPrLeft=1000\n";
    for (const int signo : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(::strsignal(signo));
        PutSettings(kept);
        run = std::make_unique<ProgramRun>(kProgram, QStringList{}, home);
        ASSERT_TRUE(run->started());
        ASSERT_TRUE(run->readUntil([this] { return run->window(QStringLiteral("flmImmunity")).has_value(); }, kStartMs))
            << run->errText().toStdString();
        run->signal(signo);
        ASSERT_TRUE(run->endsWithin(kStartMs)) << "it did not end";
        EXPECT_EQ(run->exitStatus(), QProcess::NormalExit) << "ended by the signal itself";
        EXPECT_EQ(run->exitCode(), 0);
        EXPECT_EQ(run->ownLines(), QStringList{}) << run->errText().toStdString();
        EXPECT_EQ(Entries(home / "tmp"), std::vector<std::string>{}) << "a working copy was left";
        // The window's close wrote its place and the preferences; the rest
        // of the file is as it was.
        const std::map<std::string, std::string> keys = SettingsKeys();
        for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight", "RefleshFlag", "DataPath"})
            EXPECT_EQ(keys.count(std::string("Settings/") + key), 1u) << key;
        EXPECT_EQ(keys.at("Settings/Other"), "kept");
        EXPECT_EQ(keys.at("Settings/PrLeft"), "1000");
        EXPECT_EQ(keys.at("Settings/KvV"), "4");
        EXPECT_EQ(keys.at("Settings/DispSIFlag"), "False");
        run.reset();
        fs::remove(SettingsFile());
    }
}

TEST_F(ProgramStart, ASignalAtAnyMomentEndsItAsItsCloseDoes)
{
    const std::string kept = "[Settings]\nDispSIFlag=False\nFcUpperLimit=300\nKvV=4\nOther=kept\nPrLeft=1000\n";
    const fs::path project = MakeProject("物件.kud");
    // The same project with a base-rebar list that claims two million records.
    const fs::path refused = home / "project files" / "拒否.kud";
    fs::copy_file(project, refused);
    const std::string refusedList = "title\r\n1.04\r\n2000000\r\n";
    std::ofstream(home / "project files" / "拒否.kud2", std::ios::binary) << refusedList;
    const std::string projectBytes = Bytes(project);
    const fs::path saved = home / "saved" / "保存.kud";

    const auto logged = [](const char* cls) {
        return [cls](const ProgramRun& r) { return r.window(QString::fromLatin1(cls)).has_value(); };
    };
    const auto told = [](const char* line) {
        return [line](const ProgramRun& r) { return r.driverLines().contains(QString::fromUtf8(line)); };
    };
    struct Moment {
        const char* name;
        int signo;
        const char* drive;  // what the user does meanwhile
        fs::path driveFile;
        QStringList args;
        bool settingsArePipe;
        // The test sends the signal once this holds; without it the driver
        // sends it itself at its moment.
        std::function<bool(const ProgramRun&)> ready;
        bool windowWasUp;  // its close keeps the window's place
    };
    const Moment moments[] = {
        {"before the program has done anything", SIGTERM, "signal-at-start", {}, {}, false, nullptr, false},
        {"in the start's message about a settings file that is a pipe", SIGHUP, "", {}, {}, true,
         logged("QMessageBox"), false},
        {"in the start's message about a refused base-rebar list", SIGINT, "", {},
         {QString::fromStdString(refused.string())}, false, logged("QMessageBox"), false},
        {"in the terms of use", SIGTERM, "", {}, {}, false, logged("flmImmunity"), true},
        {"in the file dialog of an open", SIGHUP, "open-dialog", {}, {}, false, told("file dialog shown"), true},
        {"while a project opens", SIGTERM, "open-signal", project, {}, false, nullptr, true},
        {"while the project is saved", SIGTERM, "save-signal", saved, {}, false, nullptr, true},
        {"in the question of the close", SIGINT, "close-question", {}, {}, false, told("question shown"), true},
    };
    for (const Moment& m : moments) {
        SCOPED_TRACE(m.name);
        fs::remove_all(home / "config");
        fs::remove_all(saved.parent_path());
        fs::create_directories(saved.parent_path());
        if (m.settingsArePipe) {
            fs::create_directories(SettingsFile().parent_path());
            ASSERT_EQ(::mkfifo(SettingsFile().c_str(), 0600), 0);
        } else {
            PutSettings(kept);
        }
        run = std::make_unique<ProgramRun>(kProgram, m.args, home, QString::fromLatin1(m.drive), m.driveFile);
        ASSERT_TRUE(run->started());
        if (m.ready) {
            ASSERT_TRUE(run->readUntil([&] { return m.ready(*run); }, kStartMs)) << run->errText().toStdString();
            run->signal(m.signo);
        }
        if (!run->endsWithin(kStartMs)) {
            ADD_FAILURE() << "it did not end; standard error:\n" << run->errText().toStdString();
            run.reset();
            continue;
        }
        EXPECT_EQ(run->exitStatus(), QProcess::NormalExit) << "ended by the signal itself";
        EXPECT_EQ(run->exitCode(), 0) << run->errText().toStdString();
        EXPECT_EQ(Entries(home / "tmp"), std::vector<std::string>{}) << "a working copy was left";

        if (m.settingsArePipe) {
            EXPECT_TRUE(fs::is_fifo(SettingsFile()));
        } else if (m.windowWasUp) {
            const std::map<std::string, std::string> keys = SettingsKeys();
            EXPECT_EQ(keys.count("Settings/MainLeft"), 1u);
            EXPECT_EQ(keys.at("Settings/Other"), "kept");
            EXPECT_EQ(keys.at("Settings/KvV"), "4");
        } else {
            EXPECT_EQ(Bytes(SettingsFile()), kept);
        }
        if (!m.windowWasUp) {
            EXPECT_FALSE(run->window(QStringLiteral("frmMain")));
        }
        // Nothing of the projects is written but what the user saved, whole.
        EXPECT_EQ(Bytes(project), projectBytes);
        EXPECT_EQ(Bytes(home / "project files" / "拒否.kud2"), refusedList);
        for (const std::string& name : Entries(saved.parent_path())) {
            EXPECT_NE(name.front(), '.') << name;
        }
        if (m.driveFile == saved) {
            EXPECT_EQ(Bytes(saved).size(),
                      model::kProjectRecordSize + model::kColumnRecordSize + model::kKvBaseRecordSize)
                << run->errText().toStdString();
        }
        run.reset();
    }
}

TEST_F(ProgramStart, ALockOfTheSettingsThatIsNoFileIsToldOnceAndTheProgramEnds)
{
    const std::string kept = "[Settings]\nKvV=4\nOther=kept\n";
    PutSettings(kept);
    const fs::path lock = SettingsFile().string() + ".lock";
    ASSERT_EQ(::mkfifo(lock.c_str(), 0600), 0);
    // The user moves the window and closes it; the close cannot keep that.
    run = std::make_unique<ProgramRun>(kProgram, QStringList{}, home, QStringLiteral("change"));
    ASSERT_TRUE(run->started());
    ASSERT_TRUE(run->endsWithin(kStartMs)) << "it did not end; standard error:\n" << run->errText().toStdString();
    EXPECT_EQ(run->exitCode(), 0);
    const QStringList seen = run->driverLines();
    ASSERT_EQ(seen.size(), 2) << run->errText().toStdString();
    EXPECT_TRUE(seen[1].startsWith(QStringLiteral("message: 設定を保存できませんでした。"))) << seen[1].toStdString();
    EXPECT_TRUE(seen[1].contains(QStringLiteral("SRC_Okv.conf.lock"))) << seen[1].toStdString();
    EXPECT_TRUE(fs::is_fifo(lock));
    EXPECT_EQ(Bytes(SettingsFile()), kept);
}

TEST_F(ProgramStart, TheWorkingFolderOfAKilledRunGoesAtTheNextStart)
{
    const auto startUntilTheTerms = [this] {
        run = std::make_unique<ProgramRun>(kProgram, QStringList{}, home);
        ASSERT_TRUE(run->started());
        ASSERT_TRUE(run->readUntil([this] { return run->window(QStringLiteral("flmImmunity")).has_value(); }, kStartMs))
            << run->errText().toStdString();
    };
    startUntilTheTerms();
    run->signal(SIGKILL);
    ASSERT_TRUE(run->endsWithin(kStartMs));
    const std::vector<std::string> left = Entries(home / "tmp");
    ASSERT_EQ(left.size(), 1u) << "the killed run left no working folder";

    // A second run keeps only its own, and that goes with it.
    startUntilTheTerms();
    const std::vector<std::string> now = Entries(home / "tmp");
    ASSERT_EQ(now.size(), 1u);
    EXPECT_NE(now[0], left[0]);
}

TEST_F(ProgramStart, WhatTheUserChangesIsThereAtTheNextStartAndAllOfItInJapanese)
{
    // First run: the user moves the window, switches the SI display and
    // closes the window.
    run = std::make_unique<ProgramRun>(kProgram, QStringList{}, home, QStringLiteral("change"));
    ASSERT_TRUE(run->started());
    ASSERT_TRUE(run->endsWithin(kStartMs)) << "it did not end at the close; standard error:\n"
                                           << run->errText().toStdString();
    EXPECT_EQ(run->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run->exitCode(), 0);
    EXPECT_EQ(run->driverLines(), QStringList{QStringLiteral("closing at 123,45")}) << run->errText().toStdString();
    EXPECT_EQ(run->ownLines(), QStringList{}) << run->errText().toStdString();
    EXPECT_EQ(Entries(home / "tmp"), std::vector<std::string>{});

    // Second run: the window is where the user left it, the SI display as
    // the user set it; the program's dialogs speak Japanese.
    run = std::make_unique<ProgramRun>(kProgram, QStringList{}, home, QStringLiteral("report"));
    ASSERT_TRUE(run->started());
    ASSERT_TRUE(run->endsWithin(kStartMs)) << "it did not end at the close; standard error:\n"
                                           << run->errText().toStdString();
    EXPECT_EQ(run->exitCode(), 0);
    const QStringList seen = run->driverLines();
    ASSERT_EQ(seen.size(), 6) << run->errText().toStdString();
    EXPECT_EQ(seen[0].toStdString(), "main at 123,45");
    EXPECT_EQ(seen[1].toStdString(), "SI display off");
    const QStringList fileButtons = seen[2].section(u':', 1).trimmed().split(u'|');
    EXPECT_TRUE(fileButtons.contains(QStringLiteral("開く"))) << seen[2].toStdString();
    EXPECT_TRUE(fileButtons.contains(QStringLiteral("キャンセル"))) << seen[2].toStdString();
    EXPECT_TRUE(seen[3].contains(QStringLiteral("ファイル名"))) << seen[3].toStdString();
    static const QRegularExpression japaneseDate(QStringLiteral(R"(^details date: \d{4}/\d{2}/\d{2}( |$))"));
    EXPECT_TRUE(japaneseDate.match(seen[4]).hasMatch()) << seen[4].toStdString();
    EXPECT_EQ(seen[5].toStdString(), "question buttons: はい|いいえ|キャンセル");
    EXPECT_EQ(run->ownLines(), QStringList{}) << run->errText().toStdString();
}

}  // namespace
