// Engine state pointed at the test catalogue (sample rows plus test-only rows).
#pragma once

#include "engine/kvstate.h"
#include "platform/store/store.h"

#include "platform/text/vberror.h"

#include <filesystem>
#include <functional>
#include <string>

namespace kvtest {

inline std::string TestCatalogueFolder() { return std::filesystem::path(KV_TEST_CATALOGUE).parent_path().string(); }
inline std::string TestCatalogueName() {
    return "\\" + std::filesystem::path(KV_TEST_CATALOGUE).filename().string();
}

inline kv::KvState StateOnTestCatalogue() {
    kv::KvState s;
    s.DataFilePath = TestCatalogueFolder();
    s.DataFileName = TestCatalogueName();
    return s;
}

// Error number of a failing call (0 when it does not fail).
inline int ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const vb::Error& e) {
        return e.number();
    } catch (const store::StoreError& e) {
        return e.number();
    }
    return 0;
}

// Model ID by name, so tests read as the catalogue does.
inline int IdOf(const std::string& name) {
    auto db = store::Database::open(KV_TEST_CATALOGUE, ";pwd=qmv41");
    auto rs = db.openRecordset("SELECT 柱脚.ID FROM 柱脚 WHERE ((柱脚.形式名)=" + store::Quote(name) + ")");
    if (rs.eof()) throw std::runtime_error("no model " + name + " in the test catalogue");
    return static_cast<int>(rs.integer(0));
}

}  // namespace kvtest
