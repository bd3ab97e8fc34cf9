#include "model/catalogue.h"

#include "model/globals.h"
#include "platform/text/native_path.h"
#include "platform/text/vb.h"

#include <limits>

namespace model {

std::string CatalogueFile() { return text::ToNativePath(gDataFilePath + gDataFileName); }

namespace {

// The program's hold on the catalogue in use and the file it names.
struct Kept {
    std::string file;
    store::Database db;
    uint64_t number = 0;
};

Kept& Held()
{
    static Kept held;
    return held;
}

}  // namespace

store::Database OpenCatalogue()
{
    Kept& held = Held();
    std::string file = CatalogueFile();
    if (held.db.isOpen() && held.file == file && store::ConnectionReuse()) return held.db;
    // Another file: the old connection goes before the new one is made.
    held.db.close();
    held.file.clear();
    ++held.number;
    store::Database db = store::Database::open(file, kCatalogueConnect);
    if (store::ConnectionReuse()) {
        held.db = db;
        held.file = std::move(file);
    }
    return db;
}

uint64_t KeptCatalogueNumber()
{
    const Kept& held = Held();
    return held.db.isOpen() ? held.number : 0;
}

store::Database OpenCatalogueAt(const std::string& file)
{
    if (file == CatalogueFile()) return OpenCatalogue();
    return store::Database::open(file, kCatalogueConnect);
}

void ReleaseCatalogue()
{
    Held().db.close();
    Held().file.clear();
    ++Held().number;
}

std::string QueryNumber(double v) { return vb::Trim(vb::Str(v)); }

int16_t CatalogueInt16(const store::Recordset& rs, const std::string& name) { return vb::CInt(rs.number(name)); }

int32_t CatalogueInt32(const store::Recordset& rs, const std::string& name)
{
    return static_cast<int32_t>(
        rs.integer(name, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace model
