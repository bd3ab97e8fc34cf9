#include "model/project_commands.h"

#include "engine/kv.h"
#include "model/adapter.h"
#include "model/base_data.h"
#include "model/catalogue.h"
#include "model/column_check.h"
#include "model/column_list_csv.h"
#include "model/fendral.h"
#include "model/failure.h"
#include "model/file_util.h"
#include "model/globals.h"
#include "model/project_file.h"
#include "model/rebar_handover.h"
#include "model/rebar_zone.h"
#include "model/save_choice.h"
#include "model/sections.h"
#include "model/startup.h"
#include "model/stress.h"
#include "platform/text/native_path.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"

#include <exception>


namespace model {

namespace {

const char* const kProjectFilter = "Kolvan検討ﾃﾞｰﾀﾌｧｲﾙ (*.kud)|*.kud";
const char* const kAskSave = "データが変更されています。\r\n      保存しますか？";
const char* const kConfirm = "確認";
const char* const kLoadErrorTitle = "データロード時のエラー";

void ReportLoadFailure(const std::string& path, const std::exception& e)
{
    ui::Current().message("ファイルを読み込めませんでした。\r\n" + path + "\r\n" + TellFailure(e), kLoadErrorTitle,
                          ui::MessageKind::Critical);
}

}  // namespace

ProjectSnapshot::ProjectSnapshot()
    : cond(gCond), columns(gColumns), kvBase(gKvBase), results(gResults), fendral(gFendral), curCol(gCurCol),
      changed(gDataChanged), unitFactor(gUnitFactor), fileName(gFileName), shortLoadKind(gShortLoadKind),
      dispMode(gDispMode)
{
}

void ProjectSnapshot::restore() const
{
    gUnitFactor = unitFactor;
    gCond = cond;
    gColumns = columns;
    gKvBase = kvBase;
    gResults = results;
    gFendral = fendral;
    gCurCol = curCol;
    gDataChanged = changed;
    gFileName = fileName;
    gShortLoadKind = shortLoadKind;
    gDispMode = dispMode;
}

std::string FolderWithSeparator(const std::string& path, std::string& name)
{
    const auto cut = path.find_last_of("\\/");
    if (cut == std::string::npos) {
        name = path;
        return {};
    }
    name = path.substr(cut + 1);
    return path.substr(0, cut + 1);
}

void ApplyProjectUnitFactor()
{
    gUnitFactor = gSIDisp ? gCond.GFactor : 1.0;
    try {
        gKv->setSIFactor(gCond.GFactor);
    } catch (const std::exception&) {
        // The factor is taken; what failed is the engine's check of the loads
        // it still holds, or the new load of its model in this factor. Every
        // column is sent and checked again after this.
    }
}

namespace {

// The series that cannot take the F = 325 N/mm2 grades.
void AskSeriesGrade(int32_t i)
{
    ColumnDataTbl& col = gColumns(i);
    const int16_t code = col.ColMatCode;
    if (col.KvV != 4 || (code != 2 && code != 4 && code != 6)) return;
    const std::string text = "コルヴァン・ルモシリーズはF値325N/mm2の柱に適用できません。\r" "　　           　(柱名称 : " +
                             vb::Trim(col.ColName.value()) + ")\r\r" "　柱材質を変更しますか？" +
                             GetSteelMaterialName(code) + " ⇒ " + GetSteelMaterialName(static_cast<int16_t>(code - 1));
    if (ui::Current().question(text, kLoadErrorTitle, ui::Buttons::YesNo) != ui::Answer::Yes) return;
    col.ColMatCode = static_cast<int16_t>(code - 1);
    gDataChanged = true;
    // The new grade's strength, and the results that go with it.
    col.ColF = GetSteelFValue(col.ColMatCode);
    CalcColumnByIndex(static_cast<int16_t>(i), 0);
    CalcColumnByIndex(static_cast<int16_t>(i), 1);
}



void FinishLoad(const std::string& folder, const std::string& name, const std::string& shortVersion)
{
    // 32767 columns are allowed: the counters must not be 16-bit.
    const int32_t n = gCond.ColCount;
    const bool sMode = gCond.SMode != kFalse;
    // The oldest layout has no version and is older than all of them.
    const bool before505 = shortVersion < "5.05";
    const bool before506 = shortVersion < "5.06";

    // The columns are checked in the project's own unit factor.
    ApplyProjectUnitFactor();

    // The zone reads the engine inputs the column's own check has just sent.
    for (int32_t i = 1; i <= n; ++i) {
        Tolerating([i] {
            CheckColumn(i);
            GetGoverningRebarZone(static_cast<int16_t>(i));
        });
    }

    if (before505 && sMode) LoadAllRebarZoneDetails();

    if (before506 && sMode) {
        for (int32_t i = 1; i <= n; ++i) ClearStressTable(gColumns(i).LoadTblBR);
        gCond.BrBeta1 = 1.0;
        gCond.BrBeta2 = 1.0;
    }

    // A companion of a file older than 5.05 stays on disk but is not taken.
    LoadRebarCompanion(text::ToNativePath(folder + name), before505);

    if (gCond.DesignRootX == 1) gCond.DesignRootX = 11;
    if (gCond.DesignRootY == 1) gCond.DesignRootY = 11;
    // What the route list does with those codes when the window shows them.
    NormaliseRoute(gCond);
    gCond.Fc = FixStrengthUnit(gCond.Fc, gSIDisp);

    for (int32_t i = 1; i <= n; ++i)
        Tolerating([i] { LoadKvBaseData(gColumns(i).KolvanID, gColumns(i).AbNum, gKvBase(i)); });

    gCurCol = 1;
    KvEngineRef engine(*gKv);
    Tolerating([&engine] { SetKvBaseInputs(engine, gColumns(1)); });

    for (int32_t i = 1; i <= n; ++i) {
        Tolerating([i] { CheckColumn(i); });
        Tolerating([i] { AskSeriesGrade(i); });
    }
    ApplyProjectUnitFactor();
}

ui::FileRequest ProjectDialog(bool save, const std::string& preset)
{
    ui::FileRequest r;
    r.save = save;
    r.initDir = gFileDir;
    r.filter = kProjectFilter;
    r.defaultExt = "kud";
    r.fileName = preset;
    return r;
}

}  // namespace

std::string ProjectCaption(const std::string& fileName) { return "柱脚検討 -\"" + fileName + "\""; }

int16_t RouteEntryOfCode(bool sMode, int16_t code)
{
    if (sMode) {
        switch (code) {
        case 11: return 0;
        case 1:
        case 12: return 1;
        case 2:
        case 21:
        case 22:
        case 23: return 2;
        case 3: return 3;
        default: return -1;
        }
    }
    switch (code) {
    case 1:
    case 11:
    case 12: return 0;
    case 2:
    case 21: return 1;
    case 22: return 2;
    case 23: return 3;
    case 3: return 4;
    default: return -1;
    }
}

void RouteOfEntry(bool sMode, int16_t entry, int16_t& code, int16_t& ultCalcMode)
{
    static constexpr int16_t kS[] = {11, 12, 2, 3};
    static constexpr int16_t kSUlt[] = {1, 0, 0, 1};
    static constexpr int16_t kSrc[] = {1, 21, 22, 23, 3};
    static constexpr int16_t kSrcUlt[] = {1, 0, 0, 0, 1};
    if (sMode) {
        code = kS[entry];
        ultCalcMode = kSUlt[entry];
    } else {
        code = kSrc[entry];
        ultCalcMode = kSrcUlt[entry];
    }
}

bool NormaliseRoute(ProjectCondTbl& cond)
{
    const bool sMode = cond.SMode != kFalse;
    const int16_t entry = RouteEntryOfCode(sMode, cond.DesignRootX);
    if (entry < 0) return false;
    int16_t code = 0;
    int16_t ult = 0;
    RouteOfEntry(sMode, entry, code, ult);
    cond.DesignRootX = code;
    cond.DesignRootY = code;
    cond.UltCalcMode = ult;
    return true;
}

void LoadProjectFile(std::string& folder, std::string& name)
{
    folder = vb::Trim(folder);
    name = vb::Trim(name);
    // The reader and the finishing steps send inputs to the engine, which keeps
    // them (even those it then fails on): a refused file must leave it as it was,
    // so that the open project still gives its own results.
    const kv::KV engineBefore = *gKv;
    try {
        ProjectFileData data = ReadProjectFile(text::ToNativePath(folder + name), *gKv);
        const ProjectSnapshot before;
        try {
            gCond = data.cond;
            gColumns = std::move(data.columns);
            gKvBase = std::move(data.kvBase);
            gResults.redim(gCond.ColCount);
            FinishLoad(folder, name, data.shortVersion);
        } catch (...) {
            before.restore();
            throw;
        }
    } catch (...) {
        *gKv = engineBefore;
        throw;
    }
}

void WriteProjectFile()
{
    const std::string path = text::ToNativePath(gFileDir + gFileName);
    const std::string companion = RebarCompanionPath(path);
    // "p.kud2" would be its own companion: the list would replace the project.
    if (ResolveLinks(companion) == ResolveLinks(path))
        throw Failure(FailureKind::ProjectIsItsOwnList,
                      "the project file and its base-rebar list would be the same file (" + companion + ")",
                      FailureValues::File(path));
    const std::string project = EncodeProjectFile(gCond, gColumns, gKvBase);
    const std::string list = gFendral.FileBytes();
    // One unit: either both files are the new ones or both are as they were.
    WriteFilesAtomically({{path, project}, {companion, list}});
    gCond.Version = kCurrentFileVersion;
    gDataChanged = false;
}

int16_t ProjectCommands::msub_AskSaveChanges()
{
    if (!gDataChanged) return 0;
    switch (ui::Current().question(kAskSave, kConfirm, ui::Buttons::YesNoCancel)) {
    case ui::Answer::Yes: return msub_SaveProjectAs() ? 2 : 0;
    case ui::Answer::No: return 0;
    default: return 2;
    }
}

bool ProjectCommands::msub_SaveProjectAs()
{
    const std::string oldName = gFileName;
    const std::string oldDir = gFileDir;
    for (;;) {
        const auto path = ui::Current().chooseFile(ProjectDialog(true, gFileName));
        if (!path) {
            gFileName = oldName;
            gFileDir = oldDir;
            return true;
        }
        // The names change before the question, so that after "No" the dialog
        // opens on the declined file's folder and name.
        gFileDir = FolderWithSeparator(*path, gFileName);
        if (FileExists(*path)) {
            const ui::Answer a = AskOverwrite();
            if (a == ui::Answer::No) continue;
            if (a != ui::Answer::Yes) {
                gFileName = oldName;
                gFileDir = oldDir;
                return true;
            }
        }
        if (!msub_WriteProjectFile()) {
            gFileName = oldName;
            gFileDir = oldDir;
            return true;
        }
        return false;
    }
}

void ProjectCommands::msub_SaveProject()
{
    if (gFileName == "untitled.kud")
        msub_SaveProjectAs();
    else
        msub_WriteProjectFile();
}

bool ProjectCommands::msub_WriteProjectFile()
{
    try {
        WriteProjectFile();
    } catch (const std::exception& e) {
        ReportSaveFailure(gFileDir + gFileName, e);
        return false;
    }
    host_.setCaption(ProjectCaption(gFileName));
    return true;
}

void ProjectCommands::msub_OpenProject()
{
    if (msub_AskSaveChanges() == 2) return;
    mblnLoading = true;
    const auto path = ui::Current().chooseFile(ProjectDialog(false, ""));
    if (!path) {
        mblnLoading = false;
        return;
    }
    std::string name;
    std::string dir = FolderWithSeparator(*path, name);
    host_.showLoading(true);
    try {
        LoadProjectFile(dir, name);
    } catch (const std::exception& e) {
        host_.showLoading(false);
        mblnLoading = false;
        ReportLoadFailure(*path, e);
        return;
    }
    host_.showLoading(false);
    gFileDir = dir;
    gFileName = name;
    gDispMode = 0;
    host_.showNMX();
    host_.showRoute(RouteEntryOfCode(gCond.SMode != kFalse, gCond.DesignRootX));
    host_.showCalcMode(0, gCond.UltCalcMode);
    // The project is open even when a column of it cannot be checked: the
    // window marks that column, and the reason goes on to be told.
    std::exception_ptr failure;
    try {
        host_.showProject();
    } catch (const std::exception&) {
        failure = std::current_exception();
    }
    host_.setCaption(ProjectCaption(gFileName));
    gDataChanged = false;
    mblnLoading = false;
    if (failure) std::rethrow_exception(failure);
}

void ProjectCommands::msub_NewProject()
{
    if (msub_AskSaveChanges() == 2) return;
    gCond = gCondDefault;
    gCurCol = 1;
    gColumns.redim(gCond.ColCount);
    gResults.redim(gCond.ColCount);
    gKvBase.redim(gCond.ColCount);
    if (gCond.SMode != kFalse) {
        gColumns(1) = gColumnDefault;
        gCond.UltCalcMode = 0;
        gCond.DesignRootX = gCond.DesignRootY = 2;
    } else {
        gColumns(1) = gColumnDefaultSrc;
        gCond.UltCalcMode = 1;
        gCond.DesignRootX = gCond.DesignRootY = 3;
    }
    // A previously opened project may have used another factor.
    ApplyProjectUnitFactor();
    gKvBase(1).AbNum = gColumns(1).AbNum;
    LoadKvBaseData(gColumns(1).KolvanID, gColumns(1).AbNum, gKvBase(1));
    CalcColumnByIndex(1, 0);
    CalcColumnByIndex(1, 1);
    // The list belongs to the new project's one column.
    RebuildColumnRebar();
    host_.showCalcMode(1, gCond.ShortCalcMode);
    host_.showCalcMode(0, gCond.UltCalcMode);
    host_.setBukkenText(vb::Trim(gCond.Bukken.value()));
    host_.showProject();
    gFileName = "untitled.kud";
    host_.enableColumnEditing(false, false, false);
    host_.setCaption(ProjectCaption(gFileName));
    gDataChanged = false;
}

void ProjectCommands::msub_WriteColumnListCsv()
{
    ui::FileRequest r;
    r.save = true;
    r.initDir = gFileDir;
    r.filter = "csvﾌｧｲﾙ (*.csv)|*.csv";
    r.defaultExt = "csv";
    r.fileName = CsvPresetName(gFileName);
    const SavePathChoice choice = ChooseSavePath(r);
    if (!choice.chosen()) return;
    // The zone is worked out on the side: the export leaves the project as it is.
    const std::string bytes = BuildColumnListCsv([](long i) {
        const auto saved = gColumns(i).RebarZone;
        KvEngineRef engine(*gKv);
        SetKvBaseInputs(engine, gColumns(i));
        const int16_t z = GetGoverningRebarZone(engine, static_cast<int16_t>(i));
        gColumns(i).RebarZone = saved;
        return z;
    });
    try {
        WriteFileAtomically(text::ToNativePath(choice.path), bytes);
    } catch (const std::exception& e) {
        ReportSaveFailure(choice.path, e);
    }
}

void CreateGlobalObjects()
{
    gzDLFile = std::make_shared<zDLFile_Vendra>();
    gFendral = clsFendral();
}

void ReleaseGlobalObjects()
{
    gzDLFile.reset();
    gzDLGetSys.reset();
    gFendral = clsFendral();
    ReleaseCatalogue();
}

void StartProgram(const std::string& programFolder, const std::string& commandLine)
{
    CreateGlobalObjects();
    ApplyStartupSettings(ReadStartupSettings(programFolder));
    gKv = std::make_unique<kv::KV>(programFolder);
    gKv->setSIFlag(gSIDisp);
    gKv->setDataFilePath(gDataFilePath);
    gKv->setDataFileName(gDataFileName);
    InitDefaults(programFolder);

    gCurCol = 1;
    bool loaded = false;
    if (!vb::Trim(commandLine).empty()) {
        std::string dir;
        std::string name;
        SplitCommandLine(vb::Trim(commandLine), dir, name);
        try {
            LoadProjectFile(dir, name);
            gFileDir = dir;
            gFileName = name;
            loaded = true;
        } catch (const std::exception& e) {
            ReportLoadFailure(commandLine, e);
        }
    }
    if (!loaded) {
        gColumns.redim(1);
        gResults.redim(1);
        gKvBase.redim(1);
        gCond = gCondDefault;
        gColumns(1) = gColumnDefault;
        gKvBase(1) = gKvBaseDefault;
    }
    // Only the template column takes its zone's pedestal here: a project's
    // own columns open as they were saved, as by File > Open.
    if (!loaded && gCond.SMode != kFalse) {
        KvEngineRef engine(*gKv);
        SetKvBaseInputs(engine, gColumns(gCurCol));
        LoadRebarZoneDetails(engine, gCurCol, gColumns(gCurCol).CenColWall(0));
    }
    // The default column's record is made from the column as it now stands.
    if (!loaded) AddColumnRebar(gColumns(1), gKvBase(1));
}

}  // namespace model
