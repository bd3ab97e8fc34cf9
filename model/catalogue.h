// The program's own reads of the catalogue (the engine opens it itself).
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
store::Database OpenCatalogue();

// A number as a query key: its decimal text without blanks ("9", "12.5").
std::string QueryNumber(double v);

// A catalogue field as a 16-bit integer, rounded as VB's CInt (overflow: error 6).
int16_t CatalogueInt16(const store::Recordset& rs, const std::string& name);

}  // namespace model
