// The engine's hold on its catalogue: the kept store connection of its
// DataFilePath, DataFileName and PW, and the pedestal widths read through it.
#pragma once

#include "platform/store/store.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace kv {

class CatalogueLink {
public:
    // The connection for these inputs. A change of any of them lets the old
    // connection go before the new one is made (and its password checked).
    store::Database connection(const std::string& path, const std::string& name, const std::string& pw);
    // Lets go of the connection and everything read through it.
    void release();

    // RcX1..4 then RcY1..4 of one model and bolt diameter, as last read.
    using Widths = std::array<double, 8>;
    const Widths* widths(int32_t id, double abD) const;
    void keepWidths(int32_t id, double abD, const Widths& w);

private:
    static std::pair<int32_t, uint64_t> Key(int32_t id, double abD);

    std::string path_, name_, pw_;
    store::Database db_;
    std::map<std::pair<int32_t, uint64_t>, Widths> widths_;
};

}  // namespace kv
