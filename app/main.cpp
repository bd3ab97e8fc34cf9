// SRC_Okv. The windows are not built yet; the start-up so far creates the
// engine, which loads its default model from the catalogue beside it, and
// stops with a message when that fails.
#include "engine/kv.h"
#include "engine/loader.h"

#include <iostream>

int main() {
    try {
        kv::KV engine;
        std::cout << "柱脚検討: catalogue " << kv::CataloguePath(engine.state()) << " opened; default base "
                  << engine.KvName() << " (ID " << engine.KolvanID() << ")\n";
    } catch (const std::exception& e) {
        std::cerr << "データベースが開けません: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
