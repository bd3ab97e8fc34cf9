#include "model/save_choice.h"

#include "model/failure.h"
#include "platform/text/native_path.h"

#include <filesystem>

namespace model {

namespace {

const char* const kAskOverwrite = "同名のファイルが存在します。\r\n     上書きしますか？";
const char* const kConfirm = "確認";
const char* const kSaveErrorTitle = "データ保存時のエラー";

}  // namespace

ui::Answer AskOverwrite()
{
    return ui::Current().question(kAskOverwrite, kConfirm, ui::Buttons::YesNoCancel, ui::Answer::No);
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(text::ToNativePath(path), ec);
}

SavePathChoice ChooseSavePath(const ui::FileRequest& request)
{
    using Outcome = SavePathChoice::Outcome;
    for (;;) {
        const auto path = ui::Current().chooseFile(request);
        if (!path) return {Outcome::DialogCancelled, {}};
        if (FileExists(*path)) {
            const ui::Answer a = AskOverwrite();
            if (a == ui::Answer::No) continue;
            if (a != ui::Answer::Yes) return {Outcome::OverwriteCancelled, {}};
        }
        return {Outcome::Chosen, *path};
    }
}

void ReportSaveFailure(const std::string& path, const std::exception& e)
{
    ui::Current().message("ファイルを保存できませんでした。\r\n" + path + "\r\n" + TellFailure(e), kSaveErrorTitle,
                          ui::MessageKind::Critical);
}

}  // namespace model
