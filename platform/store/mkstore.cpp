// Build-time tool: turns catalogue SQL text into a store file that opens only
// with the given password.
//   mkstore <output> <password> <file.sql>...
#include "platform/store/store.h"

#include <openssl/rand.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

bool Exec(sqlite3* db, const std::string& sql, const std::string& where) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::cerr << "mkstore: " << where << ": " << (err ? err : "error") << "\n";
        sqlite3_free(err);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: mkstore <output> <password> <file.sql>...\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const std::string password = argv[2];
    const std::filesystem::path tmp = out.string() + ".tmp";
    std::error_code ec;
    std::filesystem::remove(tmp, ec);
    std::filesystem::create_directories(out.parent_path(), ec);

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(tmp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        std::cerr << "mkstore: cannot create " << tmp << "\n";
        sqlite3_close(db);
        return 1;
    }
    bool ok = Exec(db, "BEGIN", "begin");
    for (int i = 3; ok && i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::cerr << "mkstore: cannot read " << argv[i] << "\n";
            ok = false;
            break;
        }
        std::stringstream ss;
        ss << in.rdbuf();
        ok = Exec(db, ss.str(), argv[i]);
    }
    if (ok) {
        unsigned char raw[16];
        ok = RAND_bytes(raw, sizeof raw) == 1;
        std::string salt;
        char hex[3];
        for (unsigned char b : raw) {
            std::snprintf(hex, sizeof hex, "%02x", b);
            salt += hex;
        }
        const std::string hash = store::PasswordHash(salt, password);
        ok = ok && Exec(db, std::string("CREATE TABLE ") + store::kAuthTable + " (salt TEXT NOT NULL, hash TEXT NOT NULL)", "auth") &&
             Exec(db, std::string("INSERT INTO ") + store::kAuthTable + " VALUES ('" + salt + "', '" + hash + "')", "auth");
    }
    ok = ok && Exec(db, "COMMIT", "commit");
    sqlite3_close(db);
    if (!ok) {
        std::filesystem::remove(tmp, ec);
        return 1;
    }
    std::filesystem::rename(tmp, out, ec);
    if (ec) {
        std::cerr << "mkstore: cannot write " << out << ": " << ec.message() << "\n";
        return 1;
    }
    return 0;
}
