// The project file (".kud"): the project record, then per column its column
// record and its base record, packed little-endian with no gaps. Four layouts
// are read; the current one is written.
#pragma once

#include "model/failure.h"
#include "model/records.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv {
class KV;
}

namespace model {

inline constexpr std::size_t kProjectRecordSize = 2592;
inline constexpr std::size_t kColumnRecordSize = 3812;
inline constexpr std::size_t kKvBaseRecordSize = 554;
inline constexpr std::size_t kOldProjectRecordSize = 72;      // no version text
inline constexpr std::size_t kV2ProjectRecordSize = 386;      // 2.00 to 4.03
inline constexpr std::size_t kOldColumnRecordSize = 1060;
inline constexpr std::size_t kV3ColumnRecordSize = 1316;      // 2.00 to 3.01
inline constexpr std::size_t kV4ColumnRecordSize = 3328;      // 4.00 to 4.03
inline constexpr std::size_t kOldKvBaseRecordSize = 298;

inline constexpr const char* kCurrentFileVersion = "Version 5.06";

enum class FileLayout { Current, V4, V3, Oldest };

// The layout a trimmed version text stands for (exact, case-sensitive).
FileLayout LayoutOfVersion(std::string_view version);

// A file that cannot be a project file: too short for its column count, no
// columns, or a column count out of range; or one that holds a value no saved
// project holds, in column `column` (0: the project's own record). Nothing
// has been changed.
class ProjectFileError : public Failure {
public:
    explicit ProjectFileError(const std::string& technical) : Failure(FailureKind::NotProjectFile, technical) {}
    ProjectFileError(const std::string& technical, long column)
        : Failure(column > 0 ? FailureKind::ColumnValueRefused : FailureKind::ProjectValueRefused, technical,
                  FailureValues::Column(column))
    {
    }
};

// The current records as file bytes and back. Decoding needs at least the
// record's size; a base record of the oldest layout is its first 298 bytes.
std::string EncodeProjectRecord(const ProjectCondTbl& c);
std::string EncodeColumnRecord(const ColumnDataTbl& c);
std::string EncodeKvBaseRecord(const KvBaseTbl& b);
ProjectCondTbl DecodeProjectRecord(std::string_view bytes);
ColumnDataTbl DecodeColumnRecord(std::string_view bytes);
KvBaseTbl DecodeKvBaseRecord(std::string_view bytes, std::size_t size = kKvBaseRecordSize);

// Concrete strength into the display unit: N/mm2 with SI display (a value
// above 100 is divided by 10), kgf/cm2 otherwise (below 100 multiplied).
double FixStrengthUnit(double f, bool siDisp);

// The seismic increase factor gamma and the snow factors alpha 1 and 2 as
// the program takes them in: finite, 0 to 100. The reader takes any finite
// factor, but opening checks every column with it, and a factor near the
// largest number overflows that check; within this range a saved project
// opens again.
inline constexpr double kDesignFactorMax = 100;
bool DesignFactorAccepted(double v);
// The message that refuses a factor of that name.
std::string DesignFactorRangeText(const std::string& name);

// Old records, with only the fields the reader takes.
struct OldProjectRecord {
    ProjectCondTbl c;  // ColCount .. Fc, and for 2.00 to 4.03 Version .. SMode
};
struct OldColumnRecord {
    ColumnDataTbl c;  // ColName .. ColSpecUser, ColXYDiffer; 4.0x: SrcColSpec .. RTabane
    OldStressTable load{};
};

void UpgradeProjectRecord(ProjectCondTbl& dst, const OldProjectRecord& old, double fileDate);
void UpgradeProjectRecordByVersion(ProjectCondTbl& dst, const OldProjectRecord& old, double fileDate);
void ConvertColRecordsV2(ColumnArray<ColumnDataTbl>& dst, const ColumnArray<OldColumnRecord>& old, int16_t count,
                         const ProjectCondTbl& cond);
void ConvertColRecordsV3(ColumnArray<ColumnDataTbl>& dst, const ColumnArray<OldColumnRecord>& old, int16_t count,
                         const ProjectCondTbl& cond);
void ConvertColRecordsV4(ColumnArray<ColumnDataTbl>& dst, const ColumnArray<OldColumnRecord>& old, int16_t count,
                         const ProjectCondTbl& cond);
void ConvertKvRecordsV2(ColumnArray<KvBaseTbl>& dst, const ColumnArray<KvBaseTbl>& old, int16_t count);

// A project as its file gives it, in current form.
struct ProjectFileData {
    ProjectCondTbl cond;
    ColumnArray<ColumnDataTbl> columns;
    ColumnArray<KvBaseTbl> kvBase;
    FileLayout layout = FileLayout::Current;
    // The trimmed version text of the file and its last four characters; the
    // oldest layout has no version ("").
    std::string version;
    std::string shortVersion;
};

// Reads and converts a project file. The 5.00 to 5.03 adjustments select
// each column's product in `engine` and read the catalogue. Throws
// ProjectFileError for a file that is not a project and std::runtime_error
// when it cannot be read; no program-wide value is touched.
ProjectFileData ReadProjectFile(const std::string& path, kv::KV& engine);
// The same with the file date given (the old layouts take it as BukkenDate).
ProjectFileData ReadProjectBytes(std::string_view bytes, double fileDate, kv::KV& engine);

// The file bytes of a project as the current version.
std::string EncodeProjectFile(const ProjectCondTbl& cond, const ColumnArray<ColumnDataTbl>& columns,
                              const ColumnArray<KvBaseTbl>& kvBase);

// One file of a save.
struct FileToWrite {
    std::string path;
    std::string_view bytes;
};

// Writes the files as one unit. Each goes to a temporary file in its target's
// folder, flushed and synced; only when all are complete are they renamed over
// their targets, and the folders synced. A symbolic link is written through to
// the file it names; an existing file keeps its permission bits. A failure
// before the renames leaves every target as it was and no temporary file.
// Throws std::runtime_error naming the file that failed.
void WriteFilesAtomically(const std::vector<FileToWrite>& files);
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// The path with its symbolic links followed to the file they name (which
// need not exist yet).
std::string ResolveLinks(const std::string& path);

}  // namespace model
