// SRC_Okv. The windows are not built yet; the start-up so far finds the
// catalogue beside the program and stops when it cannot be opened.
#include "platform/store/store.h"

#include <filesystem>
#include <iostream>

namespace {

std::filesystem::path ProgramFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : exe.parent_path();
}

}  // namespace

int main() {
    const auto path = (ProgramFolder() / "data.mdb").string();
    try {
        auto db = store::Database::open(path, ";pwd=qmv41");
        auto rs = db.openRecordset("SELECT DISTINCTROW 柱脚.形式名 From 柱脚");
        int models = 0;
        for (; !rs.eof(); rs.moveNext()) ++models;
        std::cout << "柱脚検討: catalogue " << path << " opened, " << models << " column-base models\n";
    } catch (const store::StoreError& e) {
        std::cerr << "データベースが開けません: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
