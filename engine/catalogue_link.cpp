#include "engine/catalogue_link.h"

#include "platform/text/native_path.h"

#include <bit>

namespace kv {

store::Database CatalogueLink::connection(const std::string& path, const std::string& name, const std::string& pw) {
    // With reuse switched off (tests) every query opens the file itself.
    if (!store::ConnectionReuse()) {
        release();
        return store::Database::open(text::ToNativePath(path + name), ";pwd=" + pw);
    }
    if (db_.isOpen() && path == path_ && name == name_ && pw == pw_) return db_;
    release();
    db_ = store::Database::open(text::ToNativePath(path + name), ";pwd=" + pw);
    path_ = path;
    name_ = name;
    pw_ = pw;
    return db_;
}

void CatalogueLink::release() {
    db_.close();
    widths_.clear();
    models_.clear();
}

bool CatalogueLink::holds(const std::string& path, const std::string& name, const std::string& pw) const {
    return store::ConnectionReuse() && db_.isOpen() && path == path_ && name == name_ && pw == pw_;
}

std::pair<int32_t, uint64_t> CatalogueLink::Key(int32_t id, double abD) {
    return {id, std::bit_cast<uint64_t>(abD)};
}

const CatalogueLink::Widths* CatalogueLink::widths(int32_t id, double abD) const {
    if (!store::ConnectionReuse()) return nullptr;
    const auto it = widths_.find(Key(id, abD));
    return it == widths_.end() ? nullptr : &it->second;
}

void CatalogueLink::keepWidths(int32_t id, double abD, const Widths& w) {
    if (store::ConnectionReuse() && db_.isOpen()) widths_[Key(id, abD)] = w;
}

const CatalogueLink::Model* CatalogueLink::model(int32_t id, int16_t abNum, double factor) const {
    const auto it = models_.find({id, abNum, std::bit_cast<uint64_t>(factor)});
    return it == models_.end() ? nullptr : &it->second;
}

void CatalogueLink::keepModel(int32_t id, int16_t abNum, double factor, const Model& m) {
    if (store::ConnectionReuse() && db_.isOpen()) models_[{id, abNum, std::bit_cast<uint64_t>(factor)}] = m;
}

}  // namespace kv
