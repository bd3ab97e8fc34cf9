#include "model/failure.h"

#include "engine/kverror.h"
#include "platform/store/store.h"
#include "platform/text/vberror.h"

#include <cerrno>
#include <exception>
#include <iostream>
#include <new>

namespace model {

namespace {

// The name of a file without its folder; either separator counts.
std::string NameOf(const std::string& path)
{
    const auto cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Nothing when the file is not known: the text reads as well without it.
std::string Quoted(const std::string& path) { return path.empty() ? "" : "「" + NameOf(path) + "」"; }

std::string ModelOf(const FailureValues& v)
{
    if (v.modelId != 0) return "（番号 " + std::to_string(v.modelId) + "）";
    if (!v.model.empty()) return "「" + v.model + "」";
    return "";
}

// Every text the user is given for a kind of failure.
std::string KindText(FailureKind kind, const FailureValues& v)
{
    using K = FailureKind;
    switch (kind) {
    case K::Unexpected:
    case K::Refused: break;
    case K::OutOfMemory: return "メモリが足りません。ほかのプログラムを閉じてから、もう一度操作してください。";

    case K::FileMissing:
        return "ファイル" + Quoted(v.file) + "が見つかりません。ファイルの名前と場所を確かめてください。";
    case K::FileReadDenied:
        return "ファイル" + Quoted(v.file) + "を読む権限がありません。ファイルの権限を確かめてください。";
    case K::FileUnreadable:
        return "ファイル" + Quoted(v.file) + "を読み取れませんでした。ディスクの状態を確かめてください。";
    case K::NotAFile: return Quoted(v.file) + "はファイルではありません。ファイルを選び直してください。";
    case K::FileTooLarge:
        return "ファイル" + Quoted(v.file) + "は大きすぎて読み込めません。ファイルを選び直してください。";
    case K::NotProjectFile:
        return "このファイルは柱脚検討のデータファイルではないか、壊れています。データファイルを選び直してください。";
    case K::ProjectValueRefused:
        return "設計条件に扱えない値があります。ファイルが壊れている可能性があります。";
    case K::ColumnValueRefused:
        return std::to_string(v.column) + "番目の柱に扱えない値があります。ファイルが壊れている可能性があります。";
    case K::RebarListRefused:
        return std::to_string(v.line) + "行目に読めない値があります。";

    case K::WriteDenied: return "この場所に書き込む権限がありません。別の保存先を選んでください。";
    case K::DiskFull: return "ディスクがいっぱいです。空きを作るか、別の保存先を選んでください。";
    case K::FileSizeLimit: return "ファイルの大きさが上限を超えるため書き込めません。別の保存先を選んでください。";
    case K::DiskReadOnly: return "読み取り専用の場所には保存できません。別の保存先を選んでください。";
    case K::FolderMissing: return "保存先のフォルダがありません。保存先を選び直してください。";
    case K::TargetNotAFile:
        return Quoted(v.file) + "はファイルではないため上書きできません。別の名前を選んでください。";
    case K::LinkUnresolvable: return Quoted(v.file) + "のリンクをたどれません。別の名前を選んでください。";
    case K::WriteFailed:
        return Quoted(v.file) + "を書き込めませんでした。ディスクの状態を確かめて、もう一度保存してください。";
    case K::ProjectIsItsOwnList:
        return "この名前ではベース主筋データのファイルと同じになります。拡張子の違う名前を選んでください。";

    case K::CatalogueMissing:
        return "データベース" + Quoted(v.file) + "が見つかりません。プログラムのフォルダにあるか確かめてください。";
    case K::CatalogueUnreadable:
        return "データベース" + Quoted(v.file) + "を読めません。ファイルが壊れていないか確かめてください。";
    case K::CataloguePassword:
        return "データベース" + Quoted(v.file) +
               "を開けません（パスワードが合いません）。このプログラムのデータベースか確かめてください。";
    case K::ModelMissing: return "データベースに柱脚形式" + ModelOf(v) + "がありません。柱脚形式を選び直してください。";
    case K::ModelDataMissing:
        return "データベースに柱脚形式" + ModelOf(v) +
               "の検討に要るデータがありません。柱脚形式かアンカーボルト径を選び直してください。";
    case K::CatalogueFault: return "データベースのデータに不足か誤りがあります。データベースの版を確かめてください。";

    case K::CheckFailed: return "今の仕様と応力では計算できません。柱・柱脚の仕様や応力を見直してください。";
    case K::PrintFailed: return "プリンタが応答しません。プリンタの状態と接続を確かめてください。";

    case K::SettingsNotAFile: return "通常のファイルではありません（フォルダー、パイプなど）。移動するか削除してください。";
    case K::SettingsUnreadable: return "ファイルを読み取れません。読み取りの権限を確かめてください。";
    case K::SettingsTooLarge: return "ファイルが大きすぎます（16MB超）。移動するか削除してください。";
    case K::SettingsFolderBlocked:
        return "設定フォルダーの場所にフォルダーでないものがあります。移動するか削除してください。";
    case K::SettingsLockNotAFile: return "ロック（SRC_Okv.conf.lock）が通常のファイルではありません。削除してください。";
    case K::SettingsLockHeld:
        return "ほかのプログラムが設定ファイルに書き込み中でした。そのプログラムが終わってからお使いください。";
    case K::SettingsDiskFull: return "ディスクがいっぱいです。空きを作ってください。";
    case K::SettingsSizeLimit: return "ファイルの大きさが、このプログラムに許された上限を超えます。上限を上げてください。";
    case K::SettingsReadOnly: return "ディスクが読み取り専用です。書き込めるようにしてください。";
    case K::SettingsNoPermission: return "設定フォルダーに書き込む権限がありません。権限を確かめてください。";
    case K::SettingsNotWritten: return "書き込んだ内容を読み戻せませんでした。ディスクを確かめてください。";
    }
    return "予期しないエラーが発生しました。もう一度操作してください。";
}

FailureKind StoreKind(const store::StoreError& e)
{
    if (const auto* row = dynamic_cast<const kv::MissingRow*>(&e))
        return row->modelRow() ? FailureKind::ModelMissing : FailureKind::ModelDataMissing;
    switch (e.number()) {
    case store::kErrFileNotFound: return FailureKind::CatalogueMissing;
    case store::kErrNotDatabase: return FailureKind::CatalogueUnreadable;
    case store::kErrBadPassword: return FailureKind::CataloguePassword;
    default: return FailureKind::CatalogueFault;
    }
}

}  // namespace

FailureKind KindOf(const std::exception& e)
{
    if (const auto* f = dynamic_cast<const Failure*>(&e)) return f->kind();
    if (dynamic_cast<const Refusal*>(&e)) return FailureKind::Refused;
    if (const auto* s = dynamic_cast<const store::StoreError*>(&e)) return StoreKind(*s);
    if (const auto* v = dynamic_cast<const vb::Error*>(&e)) {
        switch (v->number()) {
        case kv::kErrCatalogue: return FailureKind::CatalogueFault;
        // The engine's arithmetic on the column's values and loads.
        case vb::kErrInvalidCall:
        case vb::kErrOverflow:
        case vb::kErrSubscript:
        case vb::kErrDivByZero:
        case vb::kErrTypeMismatch: return FailureKind::CheckFailed;
        default: return FailureKind::Unexpected;
        }
    }
    if (dynamic_cast<const std::bad_alloc*>(&e)) return FailureKind::OutOfMemory;
    return FailureKind::Unexpected;
}

namespace {

std::string OwnText(const std::exception& e)
{
    const FailureKind kind = KindOf(e);
    if (kind == FailureKind::Refused) return e.what();
    FailureValues values;
    if (const auto* f = dynamic_cast<const Failure*>(&e)) values = f->values();
    if (const auto* s = dynamic_cast<const store::StoreError*>(&e)) values.file = s->path();
    if (const auto* row = dynamic_cast<const kv::MissingRow*>(&e)) values.modelId = row->modelId();
    return KindText(kind, values);
}

template <typename Each>
void ForNested(const std::exception& e, Each each)
{
    try {
        std::rethrow_if_nested(e);
    } catch (const std::exception& inner) {
        each(inner);
    } catch (...) {
    }
}

// A failure of `file` of the kind given, with the system's errno.
Failure SystemFailure(int err, FailureKind kind, const std::string& technical, const std::string& file)
{
    FailureValues values = FailureValues::File(file);
    values.systemError = err;
    return Failure(kind, technical, std::move(values));
}

}  // namespace

std::string SettingsUnusableText(const std::string& path, FailureKind kind)
{
    return "設定ファイルを使用できません。既定の設定で起動し、このファイルには書き込みません。\r\n" + path + "\r\n" +
           KindText(kind, {});
}

std::string SettingsNotSavedText(const std::string& path, FailureKind kind)
{
    return "設定を保存できませんでした。\r\n" + path + "\r\n" + KindText(kind, {});
}

Failure ReadFailure(int err, const std::string& technical, const std::string& file)
{
    FailureKind kind = FailureKind::FileUnreadable;
    switch (err) {
    case ENOENT:
    case ENOTDIR: kind = FailureKind::FileMissing; break;
    case EACCES:
    case EPERM: kind = FailureKind::FileReadDenied; break;
    default: break;
    }
    return SystemFailure(err, kind, technical, file);
}

Failure WriteFailure(int err, const std::string& technical, const std::string& file)
{
    FailureKind kind = FailureKind::WriteFailed;
    switch (err) {
    case EACCES:
    case EPERM: kind = FailureKind::WriteDenied; break;
    case ENOSPC:
    case EDQUOT: kind = FailureKind::DiskFull; break;
    case EFBIG: kind = FailureKind::FileSizeLimit; break;
    case EROFS: kind = FailureKind::DiskReadOnly; break;
    case ENOENT:
    case ENOTDIR: kind = FailureKind::FolderMissing; break;
    case ELOOP: kind = FailureKind::LinkUnresolvable; break;
    case EISDIR: kind = FailureKind::TargetNotAFile; break;
    default: break;
    }
    return SystemFailure(err, kind, technical, file);
}

std::string FailureText(const std::exception& e)
{
    std::string text = OwnText(e);
    ForNested(e, [&text](const std::exception& inner) { text += "\r" + FailureText(inner); });
    return text;
}

std::string FailureText(FailureKind kind) { return KindText(kind, {}); }

void LogFailure(const std::exception& e)
{
    std::cerr << "SRC_Okv: " << e.what() << '\n';
    ForNested(e, [](const std::exception& inner) { LogFailure(inner); });
}

std::string TellFailure(const std::exception& e)
{
    LogFailure(e);
    return FailureText(e);
}

std::string TellFailure(const std::exception& e, FailureKind unknownAs)
{
    if (KindOf(e) != FailureKind::Unexpected) return TellFailure(e);
    LogFailure(e);
    return FailureText(unknownAs);
}

}  // namespace model
