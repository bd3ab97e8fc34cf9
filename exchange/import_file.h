// Column-base data files of structural-analysis programs: keyword lines in
// code page 932, read into a new steel-column project.
#pragma once

#include "model/failure.h"
#include "model/records.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace exchange {

// A file the import cannot take. line is the 1-based line that stops it, 0
// when the file as a whole is at fault. Nothing of the project has changed
// when the parser is run through the import command.
class ImportError : public model::Refusal {
public:
    explicit ImportError(const std::string& reason, long line = 0) : model::Refusal(reason), line_(line) {}
    long line() const noexcept { return line_; }

private:
    long line_;
};

// The user's base for column n of the project arrays (the column being
// imported is stored there): writes KolvanID and AbNum of gColumns(n);
// KolvanID 0 skips the column.
using ImportBaseChooser = std::function<void(int32_t n)>;

// The file's bytes as text lines (CR LF, LF or CR end a line; a last line
// needs none). Throws ImportError for a UTF-8 byte-order mark, control
// characters other than tab, line ends and 0x1A, or bytes that are not code
// page 932.
std::vector<std::string> DecodeImportLines(std::string_view bytes);

// Reads the whole of a regular file; ImportError when it cannot (a folder,
// a FIFO or a device is refused unread).
std::string ReadImportBytes(const std::string& path);

// Lines whose trimmed text begins with "CAXIS".
long CountColumnStarts(const std::vector<std::string>& lines);

// Cuts the line's trailing commas (in the caller's text too) and splits it at
// every comma. fields has at least eight entries and one beyond the last
// field; unused and empty entries are "0". lastIndex is the comma count.
void SplitCsvFields(std::string& line, std::vector<std::string>& fields, int& lastIndex);

// "y.m.d" to "y/m/d"; a text with "/" trimmed; anything else an empty text,
// which reads as today's date.
std::string NormalizeDateText(const std::string& text);
// "y/m/d" with a four-digit year and a real calendar date as an OLE date;
// anything else today's.
double ReadImportDate(const std::string& text);

// Adds the N, M, Q of a load line into load case loadCase of the table (N into
// rows 1 and 4); SI loads are divided by gCond.GFactor. Throws ImportError
// for a field that is no number.
void AddImportedLoads(model::LoadTable& table, std::vector<std::string>& fields, int16_t loadCase, bool siFile);

// Grade and section of the column from the remembered MCST and CSIZE fields;
// an unknown section kind sets notIdentified.
void BuildImportedColumnSection(model::ColumnDataTbl& col, const std::vector<std::string>& mcst,
                                const std::vector<std::string>& csize, bool& notIdentified);

// Parses the lines into gCond and gColumns / gKvBase (1..gCond.ColCount) and
// sets gDataChanged. The arrays are sized to the lines' column starts. Throws
// ImportError for a malformed file, and passes engine and catalogue failures
// on; the project is then half-built and the caller restores it.
void ImportColumnBaseLines(const std::vector<std::string>& lines, const std::string& folder,
                           const std::string& fileName, const ImportBaseChooser& chooser);

// The parser on the file folder & fileName (folder ends with a separator):
// trims both in place, reads and decodes the file, then parses its lines as
// ImportColumnBaseLines does. A file it cannot read or decode throws
// ImportError before anything of the project changes.
void ImportColumnBaseFile(std::string& folder, std::string& fileName, const ImportBaseChooser& chooser);

}  // namespace exchange
