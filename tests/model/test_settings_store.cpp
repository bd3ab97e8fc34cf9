// The user's settings file: the program works on a copy, writes it back whole
// at the close or not at all, and never opens what is no regular file.
#include "model/project_file.h"
#include "model/settings_store.h"
#include "model/startup.h"
#include "tests/model/file_size_limit.h"
#include "tests/platform/ui/scripted_ui.h"

#include <gtest/gtest.h>

#include <QSettings>

#include <algorithm>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <functional>
#include <poll.h>
#include <sys/inotify.h>
#include <sched.h>
#include <sys/mount.h>
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
        SetUserSettingsFolder(QString::fromStdString(p.string()));
    }
    // Opens the session on another thread, so a file that blocks its reader
    // fails the test instead of hanging it.
    static void OpenWithin(const std::vector<fs::path>& fifosToRelease = {})
    {
        Within("opening", OpenSettingsSession, fifosToRelease);
    }
    // The close, on another thread for the same reason.
    static void CloseWithin(const std::vector<fs::path>& fifosToRelease = {})
    {
        Within("closing", CloseSettingsSession, fifosToRelease);
    }
    static void Within(const char* step, void (*run)(), const std::vector<fs::path>& fifosToRelease)
    {
        auto done = std::async(std::launch::async, run);
        if (done.wait_for(std::chrono::seconds(20)) == std::future_status::timeout) {
            ADD_FAILURE() << step << " the settings waited on a pipe";
            // A writer that comes and goes lets each waiting reader on.
            while (done.wait_for(std::chrono::milliseconds(50)) == std::future_status::timeout)
                for (const fs::path& fifo : fifosToRelease) {
                    const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                    if (fd >= 0) ::close(fd);
                }
        }
        done.wait();
    }
    static void WriteSetting(const char* key, const QString& value)
    {
        QSettings s = AppSettings();
        s.beginGroup(QString::fromLatin1(kSettingsGroup));
        s.setValue(QString::fromLatin1(key), value);
        s.endGroup();
    }
    static void RemoveSetting(const char* key)
    {
        QSettings s = AppSettings();
        s.remove(QStringLiteral("Settings/") + QString::fromLatin1(key));
    }
    // The keys of the user's file, read fresh.
    std::map<std::string, std::string> FileKeys() const
    {
        const fs::path copy = root / ("keys " + std::to_string(++reads_));
        fs::copy_file(target, copy);
        const QSettings file(QString::fromStdString(copy.string()), QSettings::IniFormat);
        std::map<std::string, std::string> out;
        for (const QString& k : file.allKeys()) out[k.toStdString()] = file.value(k).toString().toStdString();
        return out;
    }
    // Runs `body` in a child process; its exit code (99: it threw), or -1
    // when a signal ended it.
    static int InChild(const std::function<int()>& body)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            // Nothing of the child may run on into the rest of the tests.
            int code = 99;
            try {
                code = body();
            } catch (...) {
            }
            ::_exit(code);
        }
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
        return WEXITSTATUS(status);
    }
    // The one message told, with the file and `reason` in it.
    bool ToldOnce(const char* reason) const
    {
        return shown.messages.size() == 1 &&
               shown.messages[0].text.find("設定を保存できませんでした") != std::string::npos &&
               shown.messages[0].text.find(target.string()) != std::string::npos &&
               shown.messages[0].text.find(reason) != std::string::npos;
    }
    mutable int reads_ = 0;
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

        OpenWithin({fs::is_symlink(target) ? target.parent_path() / "pipe" : target});
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
        {"file-size limit", nullptr, "上限"},
        {"a folder in the file's place",
         [](const fs::path& t) {
             fs::remove(t);
             fs::create_directory(t);
         },
         "通常のファイルではありません"},
        {"a file in the folder's place",
         [](const fs::path& t) {
             fs::remove_all(t.parent_path());
             Put(t.parent_path(), "blocks the folder");
         },
         "フォルダーでないもの"},
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

TEST_F(SettingsStore, UnderAFileSizeLimitTheRunKeepsItsSettingsAndTheFileStaysWhole)
{
    // The limit holds for the whole run, as `prlimit --fsize` sets it: below
    // the old size no copy of the file can be written at all; between the
    // old and the new size every copy comes out short.
    const auto oldSize = static_cast<rlim_t>(std::string(kStored).size());
    struct Case {
        const char* name;
        rlim_t limit;
    };
    const Case cases[] = {{"below the old size", oldSize - 20}, {"between the old and the new size", oldSize + 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(config);
        Put(target, kStored);
        shown.messages.clear();
        const int code = InChild([&] {
            const modeltest::FileSizeLimit limit(c.limit);
            if (!limit.set()) return 2;
            OpenSettingsSession();
            // The user's settings stand for the run all the same.
            if (ReadStartupSettings("/prog/").kvSeries != 4) return 3;
            WriteSetting("MainLeft", QStringLiteral("1234567"));
            QSettings seen = AppSettings();
            if (seen.value("Settings/MainLeft").toString() != "1234567" || seen.value("Settings/PrTop") != "800")
                return 4;
            CloseSettingsSession();
            return ToldOnce("上限") ? 0 : 5;
        });
        EXPECT_EQ(code, 0) << "2: no limit; 3, 4: the run lost a setting; 5: not told once with the file and why";
        EXPECT_EQ(Bytes(target), kStored);
        EXPECT_EQ(Names(target.parent_path()), std::vector<std::string>{"SRC_Okv.conf"});
    }
}

TEST_F(SettingsStore, TheCloseWritesOnlyWhatThisRunChangedOverTheFileAsItIsThen)
{
    Put(target, kStored);
    OpenWithin();
    // What this run does: the main window writes back every value it read,
    // changed or not.
    WriteSetting("KvV", QStringLiteral("6"));
    WriteSetting("PrLeft", QStringLiteral("1000"));
    WriteSetting("DispSIFlag", QStringLiteral("False"));
    WriteSetting("MainLeft", QStringLiteral("1234"));
    RemoveSetting("PrTop");
    // Meanwhile another instance closed and wrote the file.
    Put(target,
        "[Settings]\nDataFileName=\\\\data.mdb\nDispSIFlag=True\nKvV=5\nPrLeft=2000\nPrTop=900\nPrintX=7\n");

    CloseSettingsSession();
    EXPECT_TRUE(shown.messages.empty());
    const std::map<std::string, std::string> expected = {
        {"Settings/DataFileName", "\\data.mdb"},  // neither run changed it
        {"Settings/DispSIFlag", "True"},  // the other run's: this run wrote back the value it read
        {"Settings/KvV", "6"},            // both changed it: this run closed last
        {"Settings/PrLeft", "2000"},      // the other run's
        {"Settings/PrintX", "7"},         // the other run's new key
        {"Settings/MainLeft", "1234"},    // this run's new key
        // PrTop removed by this run; FcUpperLimit removed by the other.
    };
    EXPECT_EQ(FileKeys(), expected);
    EXPECT_EQ(Names(target.parent_path()), std::vector<std::string>{"SRC_Okv.conf"});
}

TEST_F(SettingsStore, FindingTheFileOpensNothingInTheSettingsFolder)
{
    // Pipes wherever a look-up through another store of Qt's would read.
    fs::create_directories(config / "~kv-probe~");
    ASSERT_EQ(::mkfifo((config / "~kv-probe~.conf").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((config / "~kv-probe~" / "~kv-probe~.conf").c_str(), 0600), 0);
    Put(config / "Vendra.conf", "[Settings]\nKvV=6\n");
    Put(target, kStored);
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, config.c_str(), IN_OPEN), 0);

    OpenWithin({config / "~kv-probe~.conf", config / "~kv-probe~" / "~kv-probe~.conf"});
    EXPECT_EQ(ReadStartupSettings("/prog/").kvSeries, 4);
    WriteSetting("KvV", QStringLiteral("1"));
    CloseSettingsSession();

    std::vector<std::string> opened;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            // Folders are opened to sync what was renamed in them.
            if ((e->mask & IN_ISDIR) == 0) opened.push_back(e->len ? e->name : "(the folder itself)");
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
    ::close(watch);
    EXPECT_EQ(opened, std::vector<std::string>{});
    EXPECT_EQ(FileKeys().at("Settings/KvV"), "1");
}

TEST_F(SettingsStore, OneFullDiskForTheTemporaryFolderAndTheSettingsIsTold)
{
    // A small disk of its own, mounted where only a child process sees it,
    // full from the start or filling while the program runs.
    const fs::path disk = root / "disk";
    fs::create_directories(disk);
    for (const bool fullAtStart : {true, false}) {
        SCOPED_TRACE(fullAtStart ? "full at the start" : "full at the close");
        const int code = InChild([&] {
            if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("kvdisk", disk.c_str(), "tmpfs", 0, "size=256k") != 0)
                return 2;
            const fs::path tmp = disk / "tmp";
            fs::create_directories(tmp);
            ::setenv("TMPDIR", tmp.c_str(), 1);
            UseConfigFolder(disk / "config");
            const fs::path file = disk / "config" / "Vendra" / "SRC_Okv.conf";
            Put(file, kStored);
            const auto fill = [&] {
                std::ofstream out(disk / "filler", std::ios::binary);
                const std::string block(4096, 'f');
                while (out.write(block.data(), static_cast<std::streamsize>(block.size())) && out.flush()) {
                }
            };
            if (fullAtStart) fill();
            OpenSettingsSession();
            if (ReadStartupSettings("/prog/").kvSeries != 4) return 7;
            WriteSetting("DataFilePath", QString(3000, QLatin1Char('x')));
            if (!fullAtStart) fill();
            CloseSettingsSession();
            const bool told = shown.messages.size() == 1 &&
                              shown.messages[0].text.find(file.string()) != std::string::npos &&
                              shown.messages[0].text.find("ディスクがいっぱい") != std::string::npos;
            if (!told) return 3;
            if (Bytes(file) != kStored) return 4;
            if (Names(file.parent_path()) != std::vector<std::string>{"SRC_Okv.conf"}) return 5;
            if (!Names(tmp).empty()) return 6;
            return 0;
        });
        if (code == 2) GTEST_SKIP() << "no small disk could be mounted here";
        EXPECT_EQ(code, 0) << "3: not told once with the file and why; 4: the old file changed; 5, 6: files left; "
                              "7: the run lost the user's settings";
    }
}

TEST_F(SettingsStore, AFileInAFormQtWritesOtherwiseIsWrittenOnceInQtsFormAndKeptFromThenOn)
{
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        // Read as a list of texts, written back as a list of values.
        {"NUL bytes at the end of a value after a comma", "[Settings]\nKvV=4\nPrLeft=1000,\0\0\n"s},
        // A section header without its end swallows what follows.
        {"a section left open", "[Settings]\nKvV=4\n[\n="s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(config);
        Put(target, c.bytes);
        shown.messages.clear();
        OpenWithin();
        EXPECT_EQ(ReadStartupSettings("/prog/").kvSeries, 4);
        WriteSetting("MainLeft", QStringLiteral("1234"));
        CloseSettingsSession();
        EXPECT_TRUE(shown.messages.empty()) << shown.messages[0].text;
        std::map<std::string, std::string> keys = FileKeys();
        EXPECT_EQ(keys["Settings/KvV"], "4");
        EXPECT_EQ(keys["Settings/MainLeft"], "1234");
        const std::string normal = Bytes(target);

        // Written in Qt's own form, it reads back as itself: every later
        // close keeps what it changed, and only that.
        shown.messages.clear();
        OpenWithin();
        WriteSetting("MainLeft", QStringLiteral("99"));
        CloseSettingsSession();
        EXPECT_TRUE(shown.messages.empty()) << shown.messages[0].text;
        std::string expected = normal;
        const auto at = expected.find("MainLeft=1234");
        if (at == std::string::npos) {
            ADD_FAILURE() << "not kept: " << normal;
            continue;
        }
        expected.replace(at, 13, "MainLeft=99");
        EXPECT_EQ(Bytes(target), expected);
        EXPECT_EQ(Names(target.parent_path()), std::vector<std::string>{"SRC_Okv.conf"});
    }
}

TEST_F(SettingsStore, WhenTheTemporaryFolderCannotHoldTheCopyItGoesToAPrivateFolderBesideTheFile)
{
    // Each fault in a child process, with a temporary folder of its own.
    struct Case {
        const char* name;
        bool (*fault)(const fs::path& tmp);  // false: it cannot be made here
    };
    const Case cases[] = {
        {"missing", [](const fs::path&) { return true; }},
        {"read-only",
         [](const fs::path& tmp) {
             fs::create_directories(tmp);
             if (::geteuid() != 0) {
                 fs::permissions(tmp, fs::perms::owner_read | fs::perms::owner_exec);
                 return true;
             }
             // The superuser writes past any permission: a read-only mount.
             return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                    ::mount(tmp.c_str(), tmp.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
                    ::mount(nullptr, tmp.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
         }},
        {"full",
         [](const fs::path& tmp) {
             fs::create_directories(tmp);
             if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                 ::mount("kvtmp", tmp.c_str(), "tmpfs", 0, "size=64k") != 0)
                 return false;
             std::ofstream out(tmp / "filler", std::ios::binary);
             const std::string block(4096, 'f');
             while (out.write(block.data(), static_cast<std::streamsize>(block.size())) && out.flush()) {
             }
             return true;
         }},
    };
    const fs::path tmp = root / "tmp";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(config);
        std::error_code ec;
        fs::permissions(tmp, fs::perms::owner_all, ec);
        fs::remove_all(tmp, ec);
        Put(target, kStored);
        shown.messages.clear();
        const int code = InChild([&] {
            if (!c.fault(tmp)) return 2;
            ::setenv("TMPDIR", tmp.c_str(), 1);
            const std::vector<std::string> rootBefore = Names("/");
            OpenSettingsSession();
            // The run's copy is in a folder of its own beside the file, and
            // nowhere else.
            const fs::path folder = fs::path(SettingsSessionFile().toStdString()).parent_path();
            if (folder.parent_path() != target.parent_path() || folder.filename().string().rfind(".SRC_Okv-", 0) != 0)
                return 3;
            if ((fs::status(folder).permissions() & (fs::perms::group_all | fs::perms::others_all)) != fs::perms::none)
                return 4;
            if (Names("/") != rootBefore) return 5;
            if (ReadStartupSettings("/prog/").kvSeries != 4) return 6;
            WriteSetting("MainLeft", QStringLiteral("1234"));
            CloseSettingsSession();
            if (!shown.messages.empty()) return 7;
            return 0;
        });
        if (code == 2) GTEST_SKIP() << "the fault cannot be made here";
        EXPECT_EQ(code, 0) << "3: the copy is not beside the file; 4: others may enter its folder; 5: a folder was made "
                              "at the root; 6: the run lost a setting; 7: a message";
        EXPECT_EQ(FileKeys()["Settings/MainLeft"], "1234");
        EXPECT_EQ(FileKeys()["Settings/PrTop"], "800");
        EXPECT_EQ(Names(target.parent_path()), std::vector<std::string>{"SRC_Okv.conf"});
    }
    std::error_code ec;
    fs::permissions(tmp, fs::perms::owner_all, ec);
}

TEST_F(SettingsStore, TheNextStartRemovesTheWorkingFoldersOfRunsThatEndedAndOnlyThose)
{
    const fs::path tmp = root / "tmp";
    fs::create_directories(tmp);
    Put(target, kStored);

    // A run that is still going, until told to close (or the test ends).
    int toLive[2];
    int fromLive[2];
    ASSERT_EQ(::pipe(toLive), 0);
    ASSERT_EQ(::pipe(fromLive), 0);
    const pid_t live = ::fork();
    ASSERT_GE(live, 0);
    if (live == 0) {
        ::close(toLive[1]);
        ::close(fromLive[0]);
        ::setenv("TMPDIR", tmp.c_str(), 1);
        OpenSettingsSession();
        char byte = 'r';
        [[maybe_unused]] ssize_t n = ::write(fromLive[1], &byte, 1);
        n = ::read(toLive[0], &byte, 1);
        CloseSettingsSession();
        ::_exit(0);
    }
    ::close(toLive[0]);
    ::close(fromLive[1]);
    struct Release {
        int fd;
        pid_t child;
        ~Release()
        {
            if (fd >= 0) ::close(fd);
            ::waitpid(child, nullptr, 0);
        }
    } release{toLive[1], live};
    char byte = 0;
    ASSERT_EQ(::read(fromLive[0], &byte, 1), 1);
    ::close(fromLive[0]);
    const std::vector<std::string> liveRun = Names(tmp);
    ASSERT_EQ(liveRun.size(), 1u);

    // Runs that end without their close, as a kill leaves them: one with its
    // copy in the temporary folder, then one beside the file.
    for (const fs::path& folder : {tmp, root / "missing"}) {
        const int code = InChild([&] {
            ::setenv("TMPDIR", folder.c_str(), 1);
            OpenSettingsSession();
            WriteSetting("MainLeft", QStringLiteral("1"));
            ::_exit(SettingsSessionFile().startsWith(QString::fromStdString(root.string())) ? 0 : 1);
            return 1;
        });
        ASSERT_EQ(code, 0);
    }
    // Not a working folder of this program's, though it looks like one.
    fs::create_directories(tmp / "SRC_Okv-abcdef");
    Put(tmp / "SRC_Okv-abcdef" / "inside", "x");
    ASSERT_EQ(Names(tmp).size(), 3u);
    ASSERT_EQ(Names(target.parent_path()).size(), 2u);

    // The next start.
    const int code = InChild([&] {
        ::setenv("TMPDIR", tmp.c_str(), 1);
        OpenSettingsSession();
        CloseSettingsSession();
        return 0;
    });
    EXPECT_EQ(code, 0);
    std::vector<std::string> expected = {"SRC_Okv-abcdef", liveRun[0]};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(tmp), expected) << "the live run's folder and the look-alike stay";
    EXPECT_EQ(Names(target.parent_path()), std::vector<std::string>{"SRC_Okv.conf"});

    // The live run's goes at its close.
    ::close(release.fd);
    release.fd = -1;
    int status = 0;
    ASSERT_EQ(::waitpid(live, &status, 0), live);
    EXPECT_EQ(Names(tmp), std::vector<std::string>{"SRC_Okv-abcdef"});
}

TEST_F(SettingsStore, ALockThatIsNoRegularFileIsToldOnceAndNeverWaitedOn)
{
    struct Case {
        const char* name;
        void (*make)(const fs::path& lock);
    };
    const Case cases[] = {
        {"a pipe", [](const fs::path& l) { ASSERT_EQ(::mkfifo(l.c_str(), 0600), 0); }},
        {"a folder", [](const fs::path& l) { fs::create_directory(l); }},
    };
    const fs::path lock = target.string() + ".lock";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(config);
        Put(target, kStored);
        c.make(lock);
        const fs::file_type type = fs::symlink_status(lock).type();
        shown.messages.clear();
        OpenWithin();
        WriteSetting("KvV", QStringLiteral("6"));
        CloseWithin({lock});
        EXPECT_TRUE(ToldOnce("ロック（SRC_Okv.conf.lock）が通常のファイルではありません"))
            << (shown.messages.empty() ? "" : shown.messages[0].text);
        EXPECT_EQ(Bytes(target), kStored);
        EXPECT_EQ(fs::symlink_status(lock).type(), type);
    }
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
