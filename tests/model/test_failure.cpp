// The text the user is given for a failure, by what failed: the system's
// reason for a file, the catalogue's, the engine's; a failure that another
// one caused says both; the technical text goes to standard error only.
#include "model/failure.h"

#include "engine/kverror.h"
#include "platform/store/store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <new>
#include <string>

namespace {

using namespace model;

TEST(FailureText, FileFailuresByTheSystemsReason)
{
    const std::string file = "/home/user/現場 A.kud";
    const struct {
        bool write;
        int err;
        FailureKind kind;
        const char* says;
    } cases[] = {
        {false, ENOENT, FailureKind::FileMissing, "ファイル「現場 A.kud」が見つかりません"},
        {false, EACCES, FailureKind::FileReadDenied, "読む権限がありません"},
        {false, EIO, FailureKind::FileUnreadable, "読み取れませんでした"},
        {true, ENOSPC, FailureKind::DiskFull, "ディスクがいっぱいです"},
        {true, EDQUOT, FailureKind::DiskFull, "ディスクがいっぱいです"},
        {true, EFBIG, FailureKind::FileSizeLimit, "上限を超える"},
        {true, EACCES, FailureKind::WriteDenied, "書き込む権限がありません"},
        {true, EPERM, FailureKind::WriteDenied, "書き込む権限がありません"},
        {true, EROFS, FailureKind::DiskReadOnly, "読み取り専用"},
        {true, ENOENT, FailureKind::FolderMissing, "保存先のフォルダがありません"},
        {true, ELOOP, FailureKind::LinkUnresolvable, "「現場 A.kud」のリンクをたどれません"},
        {true, EIO, FailureKind::WriteFailed, "「現場 A.kud」を書き込めませんでした"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const std::string technical = "cannot touch " + file + ": errno " + std::to_string(c.err);
        const Failure f = c.write ? WriteFailure(c.err, technical, file) : ReadFailure(c.err, technical, file);
        EXPECT_EQ(f.kind(), c.kind);
        EXPECT_EQ(KindOf(f), c.kind);
        EXPECT_EQ(f.values().systemError, c.err);
        const std::string text = FailureText(f);
        EXPECT_NE(text.find(c.says), std::string::npos) << text;
        // The folder is the message's to name, and the system's words are
        // for standard error.
        EXPECT_EQ(text.find("/home/user"), std::string::npos) << text;
        EXPECT_EQ(text.find("errno"), std::string::npos) << text;
    }
}

TEST(FailureText, CatalogueAndEngineFailuresByTypeAndNumber)
{
    const struct {
        const char* what;
        std::exception_ptr thrown;
        FailureKind kind;
        const char* says;
    } cases[] = {
        {"model row missing", std::make_exception_ptr(kv::MissingRow(4711, true, "SELECT ... (柱脚.ID)= 4711")),
         FailureKind::ModelMissing, "柱脚形式（番号 4711）がありません"},
        {"data row missing", std::make_exception_ptr(kv::MissingRow(150310, false, "SELECT ... [KvData]")),
         FailureKind::ModelDataMissing, "柱脚形式（番号 150310）の検討に要るデータがありません"},
        {"file missing",
         std::make_exception_ptr(store::StoreError(store::kErrFileNotFound, "Could not find", "/opt/x/data.mdb")),
         FailureKind::CatalogueMissing, "データベース「data.mdb」が見つかりません"},
        {"password", std::make_exception_ptr(store::StoreError(store::kErrBadPassword, "Not valid", "/opt/x/data.mdb")),
         FailureKind::CataloguePassword, "パスワードが合いません"},
        {"a query on a file that is no database",
         std::make_exception_ptr(store::StoreError(store::kErrNotDatabase, "file is not a database")),
         FailureKind::CatalogueUnreadable, "データベースを読めません"},
        {"a row read where there is none",
         std::make_exception_ptr(store::StoreError(store::kErrNoCurrentRecord, "No current record")),
         FailureKind::CatalogueFault, "データベースのデータに不足か誤り"},
        {"catalogue content", std::make_exception_ptr(kv::Error(kv::kErrCatalogue, "no bolt designation")),
         FailureKind::CatalogueFault, "データベースのデータに不足か誤り"},
        {"engine arithmetic", std::make_exception_ptr(vb::Error(vb::kErrInvalidCall, "SRC shear: fails")),
         FailureKind::CheckFailed, "計算できません"},
        {"memory", std::make_exception_ptr(std::bad_alloc()), FailureKind::OutOfMemory, "メモリが足りません"},
        {"anything else", std::make_exception_ptr(std::logic_error("CalcColumnByIndex: no such column")),
         FailureKind::Unexpected, "予期しないエラー"},
        {"a refusal", std::make_exception_ptr(Refusal("分割数には-32768～32767の数値を入力してください。")),
         FailureKind::Refused, "分割数には-32768～32767の数値を入力してください。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            std::rethrow_exception(c.thrown);
        } catch (const std::exception& e) {
            EXPECT_EQ(KindOf(e), c.kind);
            const std::string text = FailureText(e);
            EXPECT_NE(text.find(c.says), std::string::npos) << text;
            // Whatever the kind, the technical text is the exception's.
            if (c.kind != FailureKind::Refused) {
                EXPECT_EQ(text.find(e.what()), std::string::npos) << text;
            }
        }
    }
}

// A failure caused by another says both, the cause after; standard error gets
// every technical text and the message none.
TEST(FailureText, NestedFailuresAndStandardError)
{
    try {
        try {
            throw Failure(FailureKind::NotAFile, "/tmp/a is not a regular file", FailureValues::File("/tmp/a"));
        } catch (const std::exception&) {
            std::throw_with_nested(Refusal("ファイルを読み込めませんでした。"));
        }
    } catch (const std::exception& e) {
        ::testing::internal::CaptureStderr();
        const std::string text = TellFailure(e);
        const std::string detail = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(text, "ファイルを読み込めませんでした。\r「a」はファイルではありません。ファイルを選び直してください。");
        EXPECT_NE(detail.find("/tmp/a is not a regular file"), std::string::npos) << detail;
    }

    // A printer driver's failure of no known kind is the printer's.
    ::testing::internal::CaptureStderr();
    const std::string printer = TellFailure(std::runtime_error("QPrinter: spooler gone"), FailureKind::PrintFailed);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("spooler gone"), std::string::npos);
    EXPECT_EQ(printer, FailureText(FailureKind::PrintFailed));
}

// The settings file's texts: the path on a line of its own, then the cause in
// Japanese; no Latin word but the names of the files and the size's unit.
TEST(FailureText, SettingsTextsAreJapaneseAroundTheirPath)
{
    const std::string path = "/home/user/.config/Vendra/SRC_Okv.conf";
    const FailureKind kinds[] = {
        FailureKind::SettingsNotAFile,     FailureKind::SettingsUnreadable,   FailureKind::SettingsTooLarge,
        FailureKind::SettingsFolderBlocked, FailureKind::SettingsLockNotAFile, FailureKind::SettingsLockHeld,
        FailureKind::SettingsDiskFull,     FailureKind::SettingsSizeLimit,    FailureKind::SettingsReadOnly,
        FailureKind::SettingsNoPermission, FailureKind::SettingsNotWritten,
    };
    for (const FailureKind kind : kinds) {
        for (const std::string& text : {SettingsUnusableText(path, kind), SettingsNotSavedText(path, kind)}) {
            SCOPED_TRACE(text);
            const auto first = text.find("\r\n");
            ASSERT_NE(first, std::string::npos);
            EXPECT_EQ(text.substr(first + 2, path.size() + 2), path + "\r\n");
            std::string cause = text.substr(first + 2 + path.size() + 2);
            EXPECT_GT(cause.size(), 20u);
            for (const char* name : {"SRC_Okv.conf.lock", "16MB"}) {
                if (const auto at = cause.find(name); at != std::string::npos) cause.erase(at, std::string(name).size());
            }
            EXPECT_TRUE(std::none_of(cause.begin(), cause.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }))
                << cause;
        }
    }
}

}  // namespace
