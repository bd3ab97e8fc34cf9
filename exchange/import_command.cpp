#include "exchange/import_command.h"

#include "engine/kv.h"
#include "model/column_check.h"
#include "model/failure.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/rebar_handover.h"
#include "model/rebar_zone.h"
#include "platform/ui/ui.h"

#include <exception>
#include <string>

namespace exchange {

using namespace model;

namespace {

const char* const kStopTitle = "インポートを中止します。";
const char* const kNoColumns = "柱のデータがありません。インポートを中止します。\r\rファイル内容を確認してください。";


// Every column checked; the pedestal rebar follows each column's own base and
// design stresses.
void CheckAllColumns()
{
    for (int32_t i = 1; i <= gCond.ColCount; ++i) Tolerating([i] { CheckColumn(i); });
    if (gCond.SMode != kFalse) LoadAllRebarZoneDetails();
}

}  // namespace

void ImportCommand::fail(const std::string& path, const std::string& reason, long line)
{
    std::string text = reason + "\r\rファイル : " + path;
    if (line > 0) text += "\r行 : " + std::to_string(line) + " 行目";
    ui::Current().message(text, kStopTitle, ui::MessageKind::Critical);
}

void ImportCommand::msub_ImportAnalysisFile()
{
    if (commands_.msub_AskSaveChanges() == 2) return;

    ui::FileRequest request;
    request.initDir = gImportDir;
    // "*" rather than "*.*", which would hide names without a dot.
    request.filter = "すべてのファイル (*.*)|*";
    request.fileName = "";
    const auto path = ui::Current().chooseFile(request);
    if (!path) return;

    commands_.mblnLoading = true;
    std::string name;
    gImportDir = FolderWithSeparator(*path, name);
    gImportFile = name;

    std::vector<std::string> lines;
    try {
        lines = DecodeImportLines(ReadImportBytes(*path));
    } catch (const ImportError& e) {
        fail(*path, TellFailure(e), e.line());
        commands_.mblnLoading = false;
        return;
    }
    const long starts = CountColumnStarts(lines);
    if (starts == 0) {
        ui::Current().message(kNoColumns, kStopTitle, ui::MessageKind::Warning);
        commands_.mblnLoading = false;
        return;
    }
    if (starts > 32767) {
        fail(*path, "柱の数が多すぎます（32767まで）。", 0);
        commands_.mblnLoading = false;
        return;
    }

    // From here on either the new project stands or the old one is put back.
    const ProjectSnapshot before;
    const kv::KV engineBefore = *gKv;
    // The project is imported even when a column of it cannot be checked;
    // the reason is told once everything else is done.
    std::exception_ptr displayFailure;
    bool loading = false;
    bool shown = false;
    try {
        host_.showLoading(true);
        loading = true;
        ImportColumnBaseLines(lines, gImportDir, gImportFile, chooseBase);
        host_.showLoading(false);
        loading = false;

        if (gCond.ColCount < 1) throw ImportError("インポートできる柱がありません（すべての柱が読み飛ばされました）。");
        // Entries of skipped columns at the end are not the project's.
        gColumns.redimPreserve(gCond.ColCount);
        gResults.redimPreserve(gCond.ColCount);
        gKvBase.redimPreserve(gCond.ColCount);
        ApplyProjectUnitFactor();

        // The diagram shown under the options dialog is column 1's; the
        // others are checked once the options are known.
        gCurCol = 1;
        Tolerating([] { CheckColumn(1); });

        gDispMode = 0;
        shown = true;
        host_.showNMX();

        if (askOptions) {
            askOptions();
        } else {
            gShortLoadKind = 0;
            gCond.SymmetryX = kTrue;
            gCond.SymmetryY = kTrue;
        }

        gFileName = "untitled.kud";
        // The options change the design stresses, and the pedestal rebar
        // and the base-rebar list follow them.
        gCurCol = 1;
        CheckAllColumns();
        try {
            host_.showProject();
        } catch (const std::exception&) {
            displayFailure = std::current_exception();
        }
        host_.setCaption(ProjectCaption(gFileName));
        RebuildColumnRebar();
    } catch (...) {
        displayFailure = nullptr;
        before.restore();
        *gKv = engineBefore;
        if (loading) host_.showLoading(false);
        if (shown) {
            host_.showProject();
            host_.setCaption(ProjectCaption(gFileName));
        }
        try {
            throw;
        } catch (const ImportError& e) {
            fail(*path, TellFailure(e), e.line());
        } catch (const std::exception& e) {
            fail(*path, "インポート中にエラーが発生しました。\r" + TellFailure(e), 0);
        } catch (...) {
            fail(*path, "インポート中にエラーが発生しました。", 0);
        }
    }
    commands_.mblnLoading = false;
    if (displayFailure) std::rethrow_exception(displayFailure);
}

}  // namespace exchange
