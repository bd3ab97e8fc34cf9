// The user's settings file: the program works on a copy, writes it back whole
// at the close or not at all, and never opens what is no regular file.
#include "model/project_file.h"
#include "model/settings_store.h"
#include "model/startup.h"
#include "tests/model/file_size_limit.h"
#include "tests/platform/ui/scripted_ui.h"

#include <gtest/gtest.h>

#include <QSettings>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace model;

std::string Bytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const fs::path& p, const std::string& bytes)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

std::vector<std::string> Names(const fs::path& dir)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

// What the program keeps, as Qt writes it.
const char* const kStored =
    "[Settings]\nDataFileName=\\\\data.mdb\nDispSIFlag=False\nFcUpperLimit=300\nKvV=4\nPrLeft=1000\nPrTop=800\n";

class SettingsStore : public ::testing::Test {
protected:
    fs::path root = fs::temp_directory_path() / ("kv settings " + std::to_string(::getpid()));
    fs::path config = root / "config";
    fs::path target = config / "Vendra" / "SRC_Okv.conf";
    ui::testing::ScriptedUi shown;
    ui::testing::ScopedUi scoped{shown};

    void SetUp() override
    {
        fs::remove_all(root);
        fs::create_directories(root);
        UseConfigFolder(config);
    }
    void TearDown() override
    {
        CloseSettingsSession();
        std::error_code ec;
        fs::permissions(config / "Vendra", fs::perms::owner_all, ec);
        fs::remove_all(root, ec);
    }
    static void UseConfigFolder(const fs::path& p)
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(p.string()));
    }
    // Opens the session on another thread, so a file that blocks its reader
    // fails the test instead of hanging it.
    void OpenWithin(const fs::path& fifoToRelease = {})
    {
        auto opened = std::async(std::launch::async, [] { OpenSettingsSession(); });
        if (opened.wait_for(std::chrono::seconds(20)) == std::future_status::timeout) {
            ADD_FAILURE() << "opening the settings waited on " << target;
            if (!fifoToRelease.empty()) ::close(::open(fifoToRelease.c_str(), O_WRONLY | O_NONBLOCK));
        }
        opened.wait();
    }
    static void WriteSetting(const char* key, const QString& value)
    {
        QSettings s = AppSettings();
        s.beginGroup(QString::fromLatin1(kSettingsGroup));
        s.setValue(QString::fromLatin1(key), value);
        s.endGroup();
    }
};

TEST_F(SettingsStore, PathIsTheOneQtKeepsTheProgramsSettingsIn)
{
    EXPECT_EQ(UserSettingsPath(), target.string());
    EXPECT_EQ(QSettings(QStringLiteral("Vendra"), QStringLiteral("SRC_Okv")).fileName().toStdString(), target.string());
}

TEST_F(SettingsStore, TheFileChangesOnlyAtTheCloseAndThenWhole)
{
    Put(target, kStored);
    OpenWithin();
    const StartupSettings read = ReadStartupSettings("/prog/");
    EXPECT_EQ(read.kvSeries, 4);
    EXPECT_FALSE(read.siDisp);
    EXPECT_EQ(read.fcUpperLimit, 300);
    WriteSetting("KvV", QStringLiteral("6"));
    WriteSetting("MainLeft", QStringLiteral("1234"));
    // Readers in the same run see the change; the user's file does not yet.
    EXPECT_EQ(ReadStartupSettings("/prog/").kvSeries, 6);
    EXPECT_EQ(Bytes(target), kStored);

    CloseSettingsSession();
    QSettings after(QString::fromStdString(target.string()), QSettings::IniFormat);
    after.beginGroup(QStringLiteral("Settings"));
    EXPECT_EQ(after.value("KvV").toString(), "6");
    EXPECT_EQ(after.value("MainLeft").toString(), "1234");
    for (const char* key : {"DispSIFlag", "FcUpperLimit", "PrLeft", "PrTop", "DataFileName"})
        EXPECT_TRUE(after.contains(QString::fromLatin1(key))) << key;
    EXPECT_EQ(Names(target.parent_path()), std::vector<std::string>{"SRC_Okv.conf"});
    EXPECT_TRUE(shown.messages.empty());
    // After the close the store is the user's file itself again.
    EXPECT_EQ(AppSettings().fileName().toStdString(), target.string());
}

TEST_F(SettingsStore, AMissingFileAndFolderAreMadeOnlyWhenSomethingIsKept)
{
    OpenWithin();
    CloseSettingsSession();
    EXPECT_FALSE(fs::exists(config));

    OpenWithin();
    WriteSetting("PrTop", QStringLiteral("800"));
    CloseSettingsSession();
    EXPECT_NE(Bytes(target).find("PrTop=800"), std::string::npos);
    EXPECT_TRUE(shown.messages.empty());
}

TEST_F(SettingsStore, WhatIsNoRegularFileIsToldOnceAndNeverWritten)
{
    struct Case {
        const char* name;
        void (*make)(const fs::path& target);
    };
    const Case cases[] = {
        {"fifo", [](const fs::path& t) { ASSERT_EQ(::mkfifo(t.c_str(), 0600), 0); }},
        {"folder",
         [](const fs::path& t) {
             fs::create_directory(t);
             Put(t / "inside", "x");
         }},
        {"link to a fifo",
         [](const fs::path& t) {
             ASSERT_EQ(::mkfifo((t.parent_path() / "pipe").c_str(), 0600), 0);
             fs::create_symlink("pipe", t);
         }},
        {"link to a device", [](const fs::path& t) { fs::create_symlink("/dev/zero", t); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(config);
        fs::create_directories(target.parent_path());
        c.make(target);
        const auto before = Names(target.parent_path());
        const fs::file_type typeBefore = fs::symlink_status(target).type();
        shown.messages.clear();

        OpenWithin(fs::is_symlink(target) ? target.parent_path() / "pipe" : target);
        ASSERT_EQ(shown.messages.size(), 1u);
        EXPECT_NE(shown.messages[0].text.find(target.string()), std::string::npos) << shown.messages[0].text;
        EXPECT_NE(shown.messages[0].text.find("既定の設定"), std::string::npos);
        // The defaults stand, and what the run keeps goes nowhere near the file.
        const StartupSettings read = ReadStartupSettings("/prog/");
        EXPECT_EQ(read.kvSeries, 1);
        EXPECT_TRUE(read.siDisp);
        WriteSetting("KvV", QStringLiteral("6"));
        CloseSettingsSession();
        EXPECT_EQ(shown.messages.size(), 1u);
        EXPECT_EQ(fs::symlink_status(target).type(), typeBefore);
        EXPECT_EQ(Names(target.parent_path()), before);
    }
}

TEST_F(SettingsStore, AFailedWriteIsToldOnceAndKeepsTheOldFile)
{
    // Each fault strikes between the start and the close.
    struct Case {
        const char* name;
        void (*fault)(const fs::path& target);
        const char* reason;
    };
    const Case cases[] = {
        {"file-size limit", nullptr, "large"},
        {"a folder in the file's place",
         [](const fs::path& t) {
             fs::remove(t);
             fs::create_directory(t);
         },
         "not a regular file"},
        {"a file in the folder's place",
         [](const fs::path& t) {
             fs::remove_all(t.parent_path());
             Put(t.parent_path(), "blocks the folder");
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(config);
        Put(target, kStored);
        shown.messages.clear();
        OpenWithin();
        WriteSetting("DataFilePath", QString(20000, QLatin1Char('x')));
        if (c.fault) c.fault(target);
        const std::string old = fs::is_regular_file(target) ? Bytes(target) : std::string();

        if (c.fault == nullptr) {
            const modeltest::FileSizeLimit limit(4096);
            ASSERT_TRUE(limit.set());
            CloseSettingsSession();
        } else {
            CloseSettingsSession();
        }
        ASSERT_EQ(shown.messages.size(), 1u);
        const std::string& text = shown.messages[0].text;
        EXPECT_NE(text.find("設定を保存できませんでした"), std::string::npos) << text;
        EXPECT_NE(text.find(target.string()), std::string::npos) << text;
        EXPECT_NE(text.find(c.reason), std::string::npos) << text;
        if (fs::is_regular_file(target)) {
            EXPECT_EQ(Bytes(target), old);
        }
        if (fs::is_directory(target.parent_path())) {
            for (const std::string& n : Names(target.parent_path())) EXPECT_EQ(n.find(".tmp"), std::string::npos) << n;
        }
    }
}

TEST_F(SettingsStore, AFolderTheUserCannotWriteIsToldAndKeepsTheOldFile)
{
    Put(target, kStored);
    fs::permissions(root, fs::perms::all);
    fs::permissions(config, fs::perms::all);
    // The superuser writes anywhere: the run then belongs to nobody.
    const bool asNobody = ::geteuid() == 0;
    if (!asNobody) fs::permissions(target.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (asNobody && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        OpenSettingsSession();
        WriteSetting("KvV", QStringLiteral("6"));
        CloseSettingsSession();
        const bool told = shown.messages.size() == 1 &&
                          shown.messages[0].text.find(target.string()) != std::string::npos &&
                          shown.messages[0].text.find("設定を保存できませんでした") != std::string::npos;
        ::_exit(told ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: could not become nobody; 1: not told once with the file";
    EXPECT_EQ(Bytes(target), kStored);
    EXPECT_EQ(Names(target.parent_path()), std::vector<std::string>{"SRC_Okv.conf"});
}

TEST(FileSizeLimit, AWritePastTheLimitFailsInsteadOfEndingTheProgram)
{
    const fs::path dir = fs::temp_directory_path() / ("kv xfsz " + std::to_string(::getpid()));
    fs::create_directories(dir);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit small {};
        ::getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &small);
        IgnoreFileSizeLimitSignal();
        try {
            WriteFileAtomically((dir / "big.kud").string(), std::string(10000, 'x'));
        } catch (const std::exception&) {
            ::_exit(3);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 3);
    EXPECT_TRUE(Names(dir).empty());
    fs::remove_all(dir);
}

}  // namespace
