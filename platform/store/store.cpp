#include "platform/store/store.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <sqlite3.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

namespace store {
namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && Lower(a) == Lower(b);
}

[[noreturn]] void ThrowSqlite(sqlite3* db, const std::string& sql) {
    const std::string msg = db ? sqlite3_errmsg(db) : "unknown error";
    int number = kErrSyntax;
    std::string text;
    if (msg.find("no such table") != std::string::npos) {
        number = 3078;
        text = "The catalogue has no table the query needs (" + msg + ")";
    } else if (msg.find("no such column") != std::string::npos) {
        number = 3061;
        text = "The catalogue has no column the query needs (" + msg + ")";
    } else if (msg.find("not a database") != std::string::npos) {
        number = kErrNotDatabase;
        text = "The file is not a catalogue database (" + msg + ")";
    } else {
        text = "The catalogue query failed (" + msg + ")";
    }
    if (!sql.empty()) text += ": " + sql;
    throw StoreError(number, text);
}

// First(x): the value of the first row of the group, as the catalogue's
// grouping queries expect.
void FirstStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto** slot = static_cast<sqlite3_value**>(sqlite3_aggregate_context(ctx, sizeof(sqlite3_value*)));
    if (slot == nullptr) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    if (*slot == nullptr) {
        *slot = sqlite3_value_dup(argv[0]);
        if (*slot == nullptr) sqlite3_result_error_nomem(ctx);
    }
}

void FirstFinal(sqlite3_context* ctx) {
    auto** slot = static_cast<sqlite3_value**>(sqlite3_aggregate_context(ctx, 0));
    if (slot == nullptr || *slot == nullptr) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_value(ctx, *slot);
    sqlite3_value_free(*slot);
    *slot = nullptr;
}

// Value after "pwd=" in a connect string such as ";pwd=secret".
std::string PasswordOf(const std::string& connect) {
    const std::string low = Lower(connect);
    std::size_t at = 0;
    while ((at = low.find("pwd", at)) != std::string::npos) {
        std::size_t p = at + 3;
        while (p < low.size() && low[p] == ' ') ++p;
        const bool startsField = at == 0 || low[at - 1] == ';' || low[at - 1] == ' ';
        if (startsField && p < low.size() && low[p] == '=') {
            const std::size_t end = connect.find(';', p + 1);
            return connect.substr(p + 1, end == std::string::npos ? std::string::npos : end - p - 1);
        }
        at = p;
    }
    return {};
}

bool IsWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || u >= 0x80;
}

}  // namespace

std::string Quote(const std::string& value) {
    std::string out = "'";
    for (char c : value) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

std::string AdaptJetSql(const std::string& sql) {
    std::string out;
    out.reserve(sql.size());
    const std::size_t n = sql.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            // A literal in either quote; a doubled quote inside stands for itself.
            std::string body;
            std::size_t j = i + 1;
            for (; j < n; ++j) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        body += c;
                        ++j;
                        continue;
                    }
                    break;
                }
                body += sql[j];
            }
            if (j >= n) throw StoreError(kErrSyntax, "Unterminated text in query: " + sql);
            out += Quote(body);
            i = j + 1;
        } else if (c == '[') {
            const std::size_t j = sql.find(']', i);
            if (j == std::string::npos) throw StoreError(kErrSyntax, "Unterminated name in query: " + sql);
            out.append(sql, i, j - i + 1);
            i = j + 1;
        } else if (IsWordChar(c)) {
            std::size_t j = i;
            while (j < n && IsWordChar(sql[j])) ++j;
            const std::string word = sql.substr(i, j - i);
            if (!EqualsNoCase(word, "DISTINCTROW")) out += word;
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::string PasswordHash(const std::string& salt, const std::string& password) {
    const std::string input = salt + password;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    if (EVP_Digest(input.data(), input.size(), digest, &len, EVP_sha256(), nullptr) != 1)
        throw StoreError(kErrNotDatabase, "Could not compute the password hash");
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned int k = 0; k < len; ++k) {
        out += hex[digest[k] >> 4];
        out += hex[digest[k] & 0x0f];
    }
    return out;
}

// ---- Database ----

Database Database::open(const std::string& path, const std::string& connect) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw StoreError(kErrFileNotFound, "Could not find the catalogue file '" + path + "'");

    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string msg = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw StoreError(kErrNotDatabase, "Could not open the catalogue file '" + path + "' (" + msg + ")");
    }
    Database holder(db);

    // The password is checked before anything of the catalogue is read.
    sqlite3_stmt* st = nullptr;
    const std::string authSql = std::string("SELECT salt, hash FROM ") + kAuthTable;
    if (sqlite3_prepare_v2(db, authSql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        const std::string msg = sqlite3_errmsg(db);
        throw StoreError(kErrNotDatabase, "The file '" + path + "' is not a catalogue database (" + msg + ")");
    }
    bool ok = false;
    if (sqlite3_step(st) == SQLITE_ROW) {
        const auto* salt = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        const auto* hash = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
        if (salt != nullptr && hash != nullptr) {
            const std::string expect = PasswordHash(salt, PasswordOf(connect));
            ok = std::strlen(hash) == expect.size() && CRYPTO_memcmp(hash, expect.data(), expect.size()) == 0;
        }
    }
    sqlite3_finalize(st);
    if (!ok) throw StoreError(kErrBadPassword, "Not a valid password for the catalogue '" + path + "'");

    if (sqlite3_create_function_v2(db, "First", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr,
                                   FirstStep, FirstFinal, nullptr) != SQLITE_OK)
        ThrowSqlite(db, {});
    return holder;
}

Database::Database(Database&& o) noexcept : db_(std::exchange(o.db_, nullptr)) {}

Database& Database::operator=(Database&& o) noexcept {
    if (this != &o) {
        close();
        db_ = std::exchange(o.db_, nullptr);
    }
    return *this;
}

Database::~Database() { close(); }

void Database::close() {
    if (db_ != nullptr) sqlite3_close_v2(std::exchange(db_, nullptr));
}

Recordset Database::openRecordset(const std::string& jetSql) {
    if (db_ == nullptr) throw StoreError(kErrClosed, "The catalogue is closed");
    const std::string sql = AdaptJetSql(jetSql);
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &st, &tail) != SQLITE_OK || st == nullptr) {
        sqlite3_finalize(st);
        if (st == nullptr && sqlite3_errcode(db_) == SQLITE_OK)
            throw StoreError(kErrSyntax, "Empty catalogue query");
        ThrowSqlite(db_, jetSql);
    }
    for (; tail != nullptr && *tail != '\0'; ++tail) {
        if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';') {
            sqlite3_finalize(st);
            throw StoreError(kErrSyntax, "Only one statement per catalogue query: " + jetSql);
        }
    }
    if (!sqlite3_stmt_readonly(st)) {
        sqlite3_finalize(st);
        throw StoreError(kErrSyntax, "The catalogue is read only: " + jetSql);
    }
    Recordset rs(st);
    rs.step();
    return rs;
}

bool Database::tableExists(const std::string& name) const {
    for (const auto& t : tableNames())
        if (t == name) return true;
    return false;
}

std::vector<std::string> Database::tableNames() const {
    if (db_ == nullptr) throw StoreError(kErrClosed, "The catalogue is closed");
    std::vector<std::string> names;
    sqlite3_stmt* st = nullptr;
    const char* sql = "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid";
    if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) ThrowSqlite(db_, sql);
    while (sqlite3_step(st) == SQLITE_ROW) {
        const std::string n = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        if (n != kAuthTable && n.rfind("sqlite_", 0) != 0) names.push_back(n);
    }
    sqlite3_finalize(st);
    return names;
}

// ---- Recordset ----

Recordset::Recordset(sqlite3_stmt* stmt) : stmt_(stmt), eof_(true) {}

Recordset::Recordset(Recordset&& o) noexcept : stmt_(std::exchange(o.stmt_, nullptr)), eof_(std::exchange(o.eof_, true)) {}

Recordset& Recordset::operator=(Recordset&& o) noexcept {
    if (this != &o) {
        close();
        stmt_ = std::exchange(o.stmt_, nullptr);
        eof_ = std::exchange(o.eof_, true);
    }
    return *this;
}

Recordset::~Recordset() { close(); }

void Recordset::close() {
    if (stmt_ != nullptr) sqlite3_finalize(std::exchange(stmt_, nullptr));
    eof_ = true;
}

void Recordset::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        eof_ = false;
    } else if (rc == SQLITE_DONE) {
        eof_ = true;
    } else {
        sqlite3* db = sqlite3_db_handle(stmt_);
        eof_ = true;
        ThrowSqlite(db, sqlite3_sql(stmt_));
    }
}

void Recordset::moveNext() {
    if (stmt_ == nullptr) throw StoreError(kErrClosed, "The recordset is closed");
    if (eof_) throw StoreError(kErrNoCurrentRecord, "No current record");
    step();
}

int Recordset::fieldCount() const {
    if (stmt_ == nullptr) throw StoreError(kErrClosed, "The recordset is closed");
    return sqlite3_column_count(stmt_);
}

std::string Recordset::fieldName(int pos) const {
    if (pos < 0 || pos >= fieldCount())
        throw StoreError(kErrItemNotFound, "No field at position " + std::to_string(pos));
    const char* n = sqlite3_column_name(stmt_, pos);
    return n ? n : "";
}

int Recordset::fieldIndex(const std::string& name) const {
    const int count = fieldCount();
    for (int k = 0; k < count; ++k)
        if (EqualsNoCase(fieldName(k), name)) return k;
    throw StoreError(kErrItemNotFound, "Item not found in this collection: field '" + name + "'");
}

void Recordset::requireRow(int pos) const {
    if (pos < 0 || pos >= fieldCount())
        throw StoreError(kErrItemNotFound, "No field at position " + std::to_string(pos));
    if (eof_) throw StoreError(kErrNoCurrentRecord, "No current record");
}

bool Recordset::isNull(int pos) const {
    requireRow(pos);
    return sqlite3_column_type(stmt_, pos) == SQLITE_NULL;
}

double Recordset::number(int pos) const {
    requireRow(pos);
    switch (sqlite3_column_type(stmt_, pos)) {
    case SQLITE_NULL:
        throw StoreError(kErrInvalidUseOfNull, "Invalid use of Null: field '" + fieldName(pos) + "'");
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt_, pos);
    default: {
        const std::string t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, pos));
        char* end = nullptr;
        const double v = std::strtod(t.c_str(), &end);
        const bool whole = !t.empty() && end != nullptr && *end == '\0';
        if (!whole) throw StoreError(13, "Type mismatch: field '" + fieldName(pos) + "' holds '" + t + "'");
        return v;
    }
    }
}

long long Recordset::integer(int pos) const {
    requireRow(pos);
    if (sqlite3_column_type(stmt_, pos) == SQLITE_INTEGER) return sqlite3_column_int64(stmt_, pos);
    // A fractional value in an integer read rounds half to even, as the
    // program's integer conversion does.
    return static_cast<long long>(std::nearbyint(number(pos)));
}

std::string Recordset::text(int pos) const {
    requireRow(pos);
    switch (sqlite3_column_type(stmt_, pos)) {
    case SQLITE_NULL:
        throw StoreError(kErrInvalidUseOfNull, "Invalid use of Null: field '" + fieldName(pos) + "'");
    case SQLITE_FLOAT: {
        // As the program's own number-to-text conversion writes it: 24, 22.5.
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15g", sqlite3_column_double(stmt_, pos));
        return buf;
    }
    default: {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, pos));
        return t ? std::string(t, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, pos))) : std::string();
    }
    }
}

}  // namespace store
