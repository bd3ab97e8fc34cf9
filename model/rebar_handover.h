// The base-rebar list kept in step with the columns, the project's companion
// file, and the hand-over to the separate rebar-setting program.
#pragma once

#include "model/adapter.h"
#include "model/fendral.h"
#include "model/records.h"
#include "model/shell.h"

#include <cstdint>
#include <string>

namespace model {

struct RebarSettingTbl {
    std::string DbPath;
    std::string TempPath;  // with a trailing separator
    std::string TempFile = "RebarTemp.Tmp";
};

extern RebarSettingTbl gRebarSetting;

// Name of the rebar-setting program in the program folder.
inline constexpr const char* kFendralProgram = "Fendral";
inline constexpr const char* kTransferFile = "RebarSetting.txt";

// Column and base fields of a record; ID, flag, texts, pairs and blocks stay.
void BuildFendralRecord(FendralTbl& rec, const ColumnDataTbl& col, const KvBaseTbl& kvb);
void FillFendralFromCatalogue(FendralTbl& rec, const KvBaseTbl& kvb);
void FillFendralFromColumn(FendralTbl& rec, const ColumnDataTbl& col);

// List changes that follow the column list (record n belongs to column n).
void AddColumnRebar(const ColumnDataTbl& col, const KvBaseTbl& kvb);
void UpdateColumnRebar(int16_t n, const ColumnDataTbl& col, const KvBaseTbl& kvb);
// The zone of column iCol worked out and stored, and what follows from it
// as an entry of the column leaves it: the pedestal of the zone (a pedestal
// chosen by hand stays) and the column's record, rebuilt when the pedestal
// was replaced or the record's zone is not the column's. The engine must
// hold the column's base inputs. Every path that stores a zone for a column
// goes through here.
int16_t StoreColumnZone(IKvEngine& kv, int16_t iCol);
int16_t StoreColumnZone(int16_t iCol);
// A fresh record with a new ID at position p; the records from p on move back.
void InsertColumnRebar(int16_t p, const ColumnDataTbl& col, const KvBaseTbl& kvb);
void DeleteColumnRebar(int16_t p);
void SwapColumnRebar(int16_t p, int16_t q);
void RenameColumnRebar(int16_t n, const std::string& name);
// A new list with one record per column of the project (new project,
// project without companion file, import).
void RebuildColumnRebar();
// Pads a short list from the columns and drops records beyond the column
// count, telling the user; true when the list already matched.
bool ReconcileColumnRebar();

// "<project name without extension>.kud2".
std::string TransferFileName(const std::string& path);
// The six-line transfer file from gRebarSetting; false when it cannot be written.
bool WriteTransferFile(const std::string& path);

// Reads the project's companion file after the columns have been read and
// calculated. ignoreExisting (projects older than 5.05) leaves an existing
// file on disk and starts a fresh list.
void LoadRebarCompanion(const std::string& projectPath, bool ignoreExisting);
// Where the project's companion file lies; the project's save writes the list
// there together with the project.
std::string RebarCompanionPath(const std::string& projectPath);

// The per-user folder of the exchange and transfer files, created on demand,
// with a trailing separator.
std::string FendralTempFolder();

enum class FendralToolResult {
    NotAvailable,  // not S mode, or no program in the program folder
    NotStarted,    // the program could not be started; list unchanged
    Kept,          // the program left no readable list; list unchanged
    Updated,       // the list is what the program wrote back
};

// The main window's rebar command.
FendralToolResult RunFendralTool(const std::string& programDir, IProcessRunner& runner);

}  // namespace model
