#include "model/file_util.h"

#include "engine/kv.h"
#include "model/project_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using model::zDLFile_Vendra;

namespace {
const std::string S(1, static_cast<char>(fs::path::preferred_separator));
}

TEST(FileUtil, FileNameModes)
{
    zDLFile_Vendra f;
    struct Case {
        const char* path;
        const char* m0;
        const char* m1;
        const char* m2;
    } const cases[] = {
        {"C:\\data\\p.kud", "p.kud", "p", "p."},
        {"/home/u/data/p.kud", "p.kud", "p", "p."},
        {"C:\\data\\p", "p", "p", "p."},
        {"C:p.kud", "p.kud", "p", "p."},
        {"dir/a.b.txt", "a.b.txt", "a.b", "a.b."},
        {"q.", "q.", "q", "q."},
        {"", "", "", "."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(f.GetFileName(c.path), c.m0) << c.path;
        EXPECT_EQ(f.GetFileName(c.path, 1), c.m1) << c.path;
        EXPECT_EQ(f.GetFileName(c.path, 2), c.m2) << c.path;
        EXPECT_EQ(f.GetFileName(c.path, 7), c.m0) << c.path;
    }
}

TEST(FileUtil, ExtName)
{
    zDLFile_Vendra f;
    EXPECT_EQ(f.GetExtName("a.b.txt"), "txt");
    EXPECT_EQ(f.GetExtName("a.b\\c"), "");
    EXPECT_EQ(f.GetExtName("a.b/c"), "");
    EXPECT_EQ(f.GetExtName("C:x"), "");
    EXPECT_EQ(f.GetExtName("file", true), ".");
    EXPECT_EQ(f.GetExtName("p.kud", true), ".kud");
}

TEST(FileUtil, DriveNames)
{
    zDLFile_Vendra f;
    EXPECT_EQ(f.GetDrvName("C:\\data\\a.kud"), "C:" + S);
    EXPECT_EQ(f.GetDrvName("C:\\data\\a.kud", false), "C:");
    EXPECT_EQ(f.GetDrvName("\\\\server\\share\\a.kud"), S + S + "server" + S);
    EXPECT_EQ(f.GetDrvName("\\\\server\\share\\a.kud", false), S + S + "server");
    EXPECT_EQ(f.GetDrvName("\\\\server"), S + S + "server" + S);
    // Rooted and relative paths end at the root of this system.
    EXPECT_EQ(f.GetDrvName("/home/u/a.kud"), S);
    EXPECT_EQ(f.GetDrvName("p.kud"), f.GetDrvName(fs::current_path().string()));
}

TEST(FileUtil, AddFolderYen)
{
    zDLFile_Vendra f;
    EXPECT_EQ(f.AddFolderYen("/tmp/x"), "/tmp/x" + S);
    EXPECT_EQ(f.AddFolderYen("/tmp/x/"), "/tmp/x/");
    EXPECT_EQ(f.AddFolderYen("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(f.AddFolderYen(std::string("/tmp/x\0\0", 8)), "/tmp/x" + S);
    EXPECT_EQ(f.AddFolderYen(""), S);
}

TEST(FileUtil, FoldersAndFiles)
{
    zDLFile_Vendra f;
    const std::string tmp = f.TempPath();
    ASSERT_FALSE(tmp.empty());
    EXPECT_EQ(tmp.back(), S[0]);
    EXPECT_TRUE(f.ChkFolderExists(tmp));

    const fs::path root = fs::path(tmp) / ("kv_model_test_" + std::to_string(::getpid()));
    fs::remove_all(root);
    const std::string deep = (root / "a" / "b").string();
    EXPECT_FALSE(f.ChkFolderExists(deep));
    EXPECT_TRUE(f.MakeFolder(deep));
    EXPECT_TRUE(f.ChkFolderExists(deep));
    EXPECT_TRUE(f.ChkFileExists(deep));  // a folder's attributes are readable too
    EXPECT_TRUE(f.MakeFolder(deep));     // already there

    const fs::path file = root / "a" / "p.kud";
    std::ofstream(file) << "x";
    EXPECT_TRUE(f.ChkFileExists(file.string()));
    EXPECT_FALSE(f.ChkFolderExists(file.string()));
    EXPECT_FALSE(f.MakeFolder((file / "sub").string()));  // a file is in the way
    // Separators of the other system are read too.
    std::string windowsForm = file.string();
    for (char& c : windowsForm)
        if (c == '/') c = '\\';
    EXPECT_TRUE(f.ChkFileExists(windowsForm));
    EXPECT_FALSE(f.ChkFileExists((root / "missing").string()));
    fs::remove_all(root);
}

TEST(FileUtil, ReadRegularFile)
{
    const fs::path root = fs::temp_directory_path() / ("kv_read_test_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    const std::string file = (root / "p.kud").string();
    const std::string bytes("a\0b\r\n\xff", 6);
    std::ofstream(file, std::ios::binary) << bytes;
    EXPECT_EQ(model::ReadRegularFile(file, 6), bytes);
    EXPECT_EQ(model::ReadRegularFile(file, std::numeric_limits<std::uintmax_t>::max()), bytes);
    fs::create_symlink(file, root / "link.kud");
    EXPECT_EQ(model::ReadRegularFile((root / "link.kud").string(), 100), bytes);
    std::ofstream((root / "empty.kud").string());
    EXPECT_EQ(model::ReadRegularFile((root / "empty.kud").string(), 0), "");

    // Refused before anything is read; a FIFO without a writer would
    // otherwise wait for one.
    ASSERT_EQ(::mkfifo((root / "fifo").c_str(), 0600), 0);
    struct Case {
        std::string path;
        std::uintmax_t max;
        const char* message;
    };
    const Case cases[] = {
        {file, 5, "is too large (6 bytes, at most 5)"},
        {(root / "fifo").string(), 100, "is not a regular file"},
        {root.string(), 100, "is not a regular file"},
        {"/dev/zero", 100, "is not a regular file"},
        {(root / "missing").string(), 100, "cannot open"},
    };
    for (const Case& c : cases) {
        try {
            model::ReadRegularFile(c.path, c.max);
            ADD_FAILURE() << c.path;
        } catch (const std::runtime_error& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(c.message), std::string::npos) << what;
            EXPECT_NE(what.find(c.path), std::string::npos) << what;
        }
    }
    fs::remove_all(root);
}

TEST(FileUtil, ProjectReaderTakesOnlyRegularFilesOfAProjectsSize)
{
    kv::KV engine(KV_SAMPLE_DIR);
    const fs::path root = fs::temp_directory_path() / ("kv_project_read_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    ASSERT_EQ(::mkfifo((root / "fifo.kud").c_str(), 0600), 0);
    // One byte beyond the current layout with 32767 columns; sparse, so cheap.
    const std::uintmax_t largest =
        model::kProjectRecordSize + 32767ull * (model::kColumnRecordSize + model::kKvBaseRecordSize);
    std::ofstream((root / "huge.kud").string());
    fs::resize_file(root / "huge.kud", largest + 1);
    struct Case {
        const char* name;
        const char* message;
    };
    for (const Case& c : {Case{"fifo.kud", "is not a regular file"}, Case{"huge.kud", "is too large"}}) {
        try {
            model::ReadProjectFile((root / c.name).string(), engine);
            ADD_FAILURE() << c.name;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    fs::remove_all(root);
}
