#include "model/catalogue.h"

#include "model/globals.h"
#include "platform/text/native_path.h"
#include "platform/text/vb.h"

namespace model {

std::string CatalogueFile() { return text::ToNativePath(gDataFilePath + gDataFileName); }

store::Database OpenCatalogue() { return store::Database::open(CatalogueFile(), kCatalogueConnect); }

std::string QueryNumber(double v) { return vb::Trim(vb::Str(v)); }

int16_t CatalogueInt16(const store::Recordset& rs, const std::string& name) { return vb::CInt(rs.number(name)); }

}  // namespace model
