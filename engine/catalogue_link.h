// The engine's hold on its catalogue: the kept store connection of its
// DataFilePath, DataFileName and PW, and the models and pedestal widths read
// through it.
#pragma once

#include "engine/kvtypes.h"
#include "platform/store/store.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>

namespace kv {

class CatalogueLink {
public:
    // The connection for these inputs. A change of any of them lets the old
    // connection go before the new one is made (and its password checked).
    store::Database connection(const std::string& path, const std::string& name, const std::string& pw);
    // Lets go of the connection and everything read through it.
    void release();
    // Whether the kept connection is the one of these inputs.
    bool holds(const std::string& path, const std::string& name, const std::string& pw) const;

    // What one load of a model and variant gives; a function of the model,
    // the variant asked for and the unit factor alone.
    struct Model {
        KvDataTblC rec;
        LumoQuTbl lumo;
        BoltQuTbl bolt;
        vb::Array<double, 0, 2> slabP{};
        int16_t abNum = 0;
        int16_t abCount = 0;
        std::string kvName, label0, label1;
    };
    const Model* model(int32_t id, int16_t abNum, double factor) const;
    void keepModel(int32_t id, int16_t abNum, double factor, const Model& m);

    // RcX1..4 then RcY1..4 of one model and bolt diameter, as last read.
    using Widths = std::array<double, 8>;
    const Widths* widths(int32_t id, double abD) const;
    void keepWidths(int32_t id, double abD, const Widths& w);

private:
    static std::pair<int32_t, uint64_t> Key(int32_t id, double abD);

    std::string path_, name_, pw_;
    store::Database db_;
    std::map<std::pair<int32_t, uint64_t>, Widths> widths_;
    std::map<std::tuple<int32_t, int16_t, uint64_t>, Model> models_;
};

}  // namespace kv
