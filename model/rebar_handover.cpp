#include "model/rebar_handover.h"
#include "model/catalogue.h"
#include "engine/kv.h"

#include "model/failure.h"
#include "model/file_util.h"
#include "model/globals.h"
#include "model/helpers.h"
#include "model/rebar_tables.h"
#include "model/rebar_zone.h"
#include "model/texts.h"
#include "platform/text/cp932.h"
#include "platform/text/halfwidth.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace model {

RebarSettingTbl gRebarSetting;

namespace {

constexpr const char* kTitle = "柱脚検討";
constexpr char kSep = static_cast<char>(fs::path::preferred_separator);

int32_t ColumnCount()
{
    return static_cast<int32_t>(std::min<long>({gCond.ColCount, gColumns.ubound(), gKvBase.ubound()}));
}

void Tell(const std::string& text, ui::MessageKind kind = ui::MessageKind::Warning)
{
    ui::Current().message(text, kTitle, kind);
}

double NumberWithoutD(const std::string& s)
{
    std::string r;
    for (char c : s)
        if (c != 'D') r += c;
    return SafeCDbl(r);
}

std::string FolderOf(const std::string& path)
{
    const std::string p = ToNativePath(path);
    const auto s = p.rfind(kSep);
    return s == std::string::npos ? std::string() : p.substr(0, s + 1);
}

// After the refresh passes an old file lacks, as far as the list reaches.
void RefreshOldCompanion(const std::string& version)
{
    const int32_t n = std::min(ColumnCount(), gFendral.GetCount());
    if (version <= "1.02") {
        for (int32_t i = 1; i <= n; ++i) {
            FendralTbl rec;
            gFendral.Get_Data(i, rec, 1);
            FillFendralFromCatalogue(rec, gKvBase(i));
            gFendral.Set_Data(i, rec, 1);
        }
    }
    if (version <= "1.03") {
        for (int32_t i = 1; i <= n; ++i) {
            FendralTbl rec;
            gFendral.Get_Data(i, rec, 1);
            FillFendralFromColumn(rec, gColumns(i));
            gFendral.Set_Data(i, rec, 1);
        }
    }
}

}  // namespace

void BuildFendralRecord(FendralTbl& rec, const ColumnDataTbl& col, const KvBaseTbl& kvb)
{
    rec.ColName = vb::Trim(col.ColName.value());
    rec.ModelName = text::ToHalfWidth(GetKvDisplayName(kvb));
    if (kvb.KvV == 1 || kvb.KvV == 5)
        rec.ProductCode = 8;
    else if (kvb.KvV == 4)
        rec.ProductCode = 13;
    const uint8_t code = rec.ProductCode >= 0 && rec.ProductCode <= 255 ? static_cast<uint8_t>(rec.ProductCode) : 0;
    rec.SeriesCode = ClassifyModel(rec.ModelName, code);
    rec.Fc = col.Fc > 100 ? col.Fc / 10 : col.Fc;
    rec.WallCode = static_cast<uint8_t>(col.CenColWall(0) + 1);
    rec.RebarZone = static_cast<uint8_t>(MaxRebarZone(col));
    rec.cDx = col.cD(0);
    rec.cDy = col.cD(1);
    rec.RmNx = col.RmN(0);
    rec.RmNy = col.RmN(1);
    rec.BarDia = NumberWithoutD(col.RBarVal.value());
    rec.HoopDia = NumberWithoutD(col.HoopSize.value());
    rec.HoopPitch = col.HoopPitch;
    rec.rDx = col.rD(0);
    rec.DefaultExtra = 50;
    FillFendralFromCatalogue(rec, kvb);
    FillFendralFromColumn(rec, col);
}

void FillFendralFromCatalogue(FendralTbl& rec, const KvBaseTbl& kvb)
{
    rec.AbD = kvb.AbD;
    rec.AbV = kvb.AbV;
    rec.RotateMode = kvb.RotateMode;
    for (long k = 1; k <= 6; ++k) rec.KvLen(k) = kvb.KvLen(0, k);
    rec.HenshinE(0) = kvb.HenshinE(0);
    rec.HenshinE(1) = kvb.HenshinE(1);
}

void FillFendralFromColumn(FendralTbl& rec, const ColumnDataTbl& col)
{
    rec.Rotation = col.KvRotate;
    rec.BaseDir = col.KvDir;
}

void AddColumnRebar(const ColumnDataTbl& col, const KvBaseTbl& kvb)
{
    FendralTbl rec;
    BuildFendralRecord(rec, col, kvb);
    gFendral.Add_Data(rec, 0);
}

void UpdateColumnRebar(int16_t n, const ColumnDataTbl& col, const KvBaseTbl& kvb)
{
    FendralTbl rec;
    gFendral.Get_Data(n, rec, 1);
    BuildFendralRecord(rec, col, kvb);
    gFendral.Set_Data(n, rec, 1);
}

int16_t StoreColumnZone(IKvEngine& kv, int16_t iCol)
{
    const int16_t zone = GetGoverningRebarZone(kv, iCol);
    ColumnDataTbl& col = gColumns(iCol);
    const KvBaseTbl& kvb = gKvBase(iCol);
    const bool replaced = FollowZoneWithPedestal(col, kvb);
    // A record the list does not hold yet is made with the list.
    if (iCol > gFendral.GetCount()) return zone;
    FendralTbl rec;
    gFendral.Get_Data(iCol, rec, 1);
    // Values of a record that still fits its column stay as they are, also
    // where the rebar-setting program gave them.
    if (!replaced && rec.RebarZone == zone) return zone;
    BuildFendralRecord(rec, col, kvb);
    gFendral.Set_Data(iCol, rec, 1);
    return zone;
}

int16_t StoreColumnZone(int16_t iCol)
{
    if (!gKv) throw std::logic_error("the engine is not created");
    KvEngineRef kv(*gKv);
    return StoreColumnZone(kv, iCol);
}

void InsertColumnRebar(int16_t p, const ColumnDataTbl& col, const KvBaseTbl& kvb)
{
    if (p < 1 || p > gFendral.GetCount() + 1) vb::ThrowSubscript(p, 1, gFendral.GetCount() + 1);
    AddColumnRebar(col, kvb);
    // Walk the new record forward; every record keeps its own ID.
    for (int32_t o = gFendral.GetCount(); o > p; --o) gFendral.Swap_DataByIndex(o, o - 1);
}

void DeleteColumnRebar(int16_t p)
{
    if (gFendral.Del_Data(p, 1) != 0) vb::ThrowSubscript(p, 1, gFendral.GetCount());
}

void SwapColumnRebar(int16_t p, int16_t q) { gFendral.Swap_DataByIndex(p, q); }

void RenameColumnRebar(int16_t n, const std::string& name)
{
    FendralTbl rec;
    gFendral.Get_Data(n, rec, 1);
    rec.ColName = vb::Trim(name);
    gFendral.Set_Data(n, rec, 1);
}

void RebuildColumnRebar()
{
    gFendral = clsFendral();
    const int32_t n = ColumnCount();
    for (int32_t i = 1; i <= n; ++i) AddColumnRebar(gColumns(i), gKvBase(i));
}

bool ReconcileColumnRebar()
{
    const int32_t cols = ColumnCount();
    const int32_t have = gFendral.GetCount();
    if (have == cols) return true;
    if (have < cols) {
        for (int32_t i = have + 1; i <= cols; ++i) AddColumnRebar(gColumns(i), gKvBase(i));
        Tell("ベース主筋データが柱の数より少ないため、不足分を既定のデータで補いました。");
    } else {
        for (int32_t i = have; i > cols; --i) gFendral.Del_Data(i, 1);
        Tell("ベース主筋データが柱の数より多いため、余分なデータを無視しました。");
    }
    return false;
}

std::string TransferFileName(const std::string& path)
{
    return zDLFile_Vendra().GetFileName(path, 1) + ".kud2";
}

bool WriteTransferFile(const std::string& path)
{
    std::ofstream out(ToNativePath(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const std::string lines[] = {"受け渡しファイル",       "1.00", gRebarSetting.DbPath, gRebarSetting.TempPath,
                                 gRebarSetting.TempFile, "-+-"};
    for (const std::string& l : lines) out << text::ToCp932(l) << "\r\n";
    out.close();
    return static_cast<bool>(out);
}

void LoadRebarCompanion(const std::string& projectPath, bool ignoreExisting)
{
    const std::string folder = FolderOf(projectPath);
    const std::string name = TransferFileName(projectPath);
    if (ignoreExisting || !zDLFile_Vendra().ChkFileExists(folder + name)) {
        RebuildColumnRebar();
        return;
    }
    try {
        gFendral.Data_Read(folder, "", name);
    } catch (const std::exception& e) {
        RebuildColumnRebar();
        Tell("ベース主筋データ (" + name + ") を読み込めなかったため、既定のデータを使います。\n" + TellFailure(e));
        return;
    }
    const std::string version = gFendral.prpReadVersion();
    ReconcileColumnRebar();
    RefreshOldCompanion(version);
}

std::string RebarCompanionPath(const std::string& projectPath)
{
    return FolderOf(projectPath) + TransferFileName(projectPath);
}

std::string FendralTempFolder()
{
    // Shared /tmp: a folder of the user's own keeps the files apart from
    // other users'.
    const std::string dir = zDLFile_Vendra().TempPath() + "SRC_Okv-" + std::to_string(::getuid());
    std::error_code ec;
    fs::create_directories(dir, ec);
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace, ec);
    return dir + kSep;
}

FendralToolResult RunFendralTool(const std::string& programDir, IProcessRunner& runner)
{
    if (gCond.SMode == kFalse) return FendralToolResult::NotAvailable;
    const zDLFile_Vendra files;
    const std::string exe = files.AddFolderYen(ToNativePath(programDir)) + kFendralProgram;
    if (!files.ChkFileExists(exe)) return FendralToolResult::NotAvailable;

    const std::string temp = FendralTempFolder();
    const std::string settings = temp + kTransferFile;
    gRebarSetting = RebarSettingTbl{CatalogueFile(), temp, "RebarTemp.Tmp"};

    try {
        gFendral.Data_Write(temp, "", gRebarSetting.TempFile);
    } catch (const std::exception& e) {
        Tell("ベース主筋データを書き込めませんでした。\n" + TellFailure(e), ui::MessageKind::Critical);
        return FendralToolResult::NotStarted;
    }
    if (!WriteTransferFile(settings)) {
        Tell("受け渡しファイルを書き込めませんでした。\n" + settings, ui::MessageKind::Critical);
        return FendralToolResult::NotStarted;
    }

    const ProcessOutcome run = runner.ShellWait(exe, {"/" + settings}, 200);
    if (!run.started) {
        std::cerr << "SRC_Okv: " << exe << ": " << run.error << '\n';
        Tell("鉄筋設定プログラムを起動できませんでした。\n" + exe, ui::MessageKind::Critical);
        return FendralToolResult::NotStarted;
    }

    const std::string exchange = temp + gRebarSetting.TempFile;
    if (!files.ChkFileExists(exchange)) {
        Tell("鉄筋設定プログラムからベース主筋データが返されませんでした。データは変更されていません。");
        return FendralToolResult::Kept;
    }
    clsFendral back;
    try {
        back.Data_Read(temp, "", gRebarSetting.TempFile);
    } catch (const std::exception& e) {
        Tell("鉄筋設定プログラムから返されたベース主筋データを読み込めませんでした。データは変更されていません。\n" +
             TellFailure(e));
        return FendralToolResult::Kept;
    }
    gFendral = std::move(back);
    ReconcileColumnRebar();
    return FendralToolResult::Updated;
}

}  // namespace model
