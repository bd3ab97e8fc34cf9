// The save dialog of the file commands and exports: the overwrite question
// on an existing file, and the message when a save fails.
#pragma once

#include "platform/ui/ui.h"

#include <exception>
#include <string>

namespace model {

// "同名のファイルが存在します。" with Yes, No and Cancel, No the default.
ui::Answer AskOverwrite();

// A regular file (or a link to one) at the path.
bool FileExists(const std::string& path);

// What came of the save dialog: a path to write, or which step the user
// cancelled (some callers go on differently after each).
struct SavePathChoice {
    enum class Outcome { Chosen, DialogCancelled, OverwriteCancelled };
    Outcome outcome = Outcome::DialogCancelled;
    std::string path;
    bool chosen() const { return outcome == Outcome::Chosen; }
};

// Shows the save dialog until the user settles on a path. An existing file
// gets the overwrite question: Yes takes the path, No shows the dialog again
// as requested, Cancel gives nothing.
SavePathChoice ChooseSavePath(const ui::FileRequest& request);

// "ファイルを保存できませんでした。", the path and the reason told for e.
void ReportSaveFailure(const std::string& path, const std::exception& e);

}  // namespace model
