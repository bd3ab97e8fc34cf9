// The program's own reads of the catalogue. They share the kept connection of
// the catalogue file with the engine when both name the same file.
#pragma once

#include "platform/store/store.h"

#include <cstdint>
#include <string>

namespace model {

// The catalogue's password connect text; the program never changes it.
inline constexpr const char* kCatalogueConnect = ";pwd=qmv41";

// gDataFilePath followed by gDataFileName, with native separators.
std::string CatalogueFile();

// The catalogue, read-only; throws store::StoreError when it cannot be opened.
// The connection is kept until the file's name changes or it is released.
store::Database OpenCatalogue();
// The same for a catalogue named by its full path; a file other than the one
// in use is opened for its caller only.
store::Database OpenCatalogueAt(const std::string& file);
// Lets go of the program's connection (at the end of the run).
void ReleaseCatalogue();
// A number of the connection OpenCatalogue keeps, new with every connection
// it makes; 0 while none is kept. What is read through one kept connection
// may be kept as long as the number stays.
uint64_t KeptCatalogueNumber();

// A number as a query key: its decimal text without blanks ("9", "12.5").
std::string QueryNumber(double v);

// A catalogue field as a 16-bit integer, rounded as VB's CInt (overflow: error 6).
int16_t CatalogueInt16(const store::Recordset& rs, const std::string& name);

// A catalogue ID or count as a 32-bit integer; a value outside that range is a
// type mismatch of the catalogue, never a wrapped number.
int32_t CatalogueInt32(const store::Recordset& rs, const std::string& name);

}  // namespace model
