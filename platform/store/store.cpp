#include "platform/store/store.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <sqlite3.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <unordered_map>
#include <utility>

namespace store {

// One value as the file gave it; reads convert it as SQLite's column
// functions did.
struct Cell {
    int type = SQLITE_NULL;
    long long i = 0;
    double d = 0;
    std::string s;  // text and blob bytes
};

// The rows of one query, read whole. An error met after the first row is
// kept and raised when the reader moves onto it.
struct Rows {
    std::vector<std::string> names;
    std::vector<std::string> lowerNames;
    std::size_t width = 0;
    std::vector<Cell> cells;  // row after row
    std::size_t count = 0;
    bool failed = false;
    int errorNumber = 0;
    std::string errorText;

    const Cell& at(std::size_t row, int pos) const { return cells[row * width + static_cast<std::size_t>(pos)]; }
};

class Connection {
public:
    Connection(sqlite3* db, bool keepRows) : db_(db), keepRows_(keepRows) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { sqlite3_close_v2(db_); }

    sqlite3* db() const { return db_; }
    bool keepRows() const { return keepRows_; }
    // Query text -> its rows, for the connection's life.
    std::unordered_map<std::string, std::shared_ptr<const Rows>> rows;
    std::vector<std::string> tables;
    bool tablesRead = false;

private:
    sqlite3* db_;
    bool keepRows_;
};

namespace {

bool gReuse = true;

// Kept connections by (path, connect string). The entries do not keep a
// connection alive: its holders do.
std::map<std::pair<std::string, std::string>, std::weak_ptr<Connection>>& Kept() {
    static std::map<std::pair<std::string, std::string>, std::weak_ptr<Connection>> kept;
    return kept;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && Lower(a) == Lower(b);
}

StoreError SqliteError(sqlite3* db, const std::string& sql) {
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
    return StoreError(number, text);
}

[[noreturn]] void ThrowSqlite(sqlite3* db, const std::string& sql) { throw SqliteError(db, sql); }

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

namespace {

std::shared_ptr<Connection> Connect(const std::string& path, const std::string& connect, bool keepRows) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw StoreError(kErrFileNotFound, "Could not find the catalogue file '" + path + "'", path);

    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string msg = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw StoreError(kErrNotDatabase, "Could not open the catalogue file '" + path + "' (" + msg + ")", path);
    }
    auto conn = std::make_shared<Connection>(db, keepRows);

    // The password is checked before anything of the catalogue is read.
    sqlite3_stmt* st = nullptr;
    const std::string authSql = std::string("SELECT salt, hash FROM ") + kAuthTable;
    if (sqlite3_prepare_v2(db, authSql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        const std::string msg = sqlite3_errmsg(db);
        throw StoreError(kErrNotDatabase, "The file '" + path + "' is not a catalogue database (" + msg + ")", path);
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
    if (!ok) throw StoreError(kErrBadPassword, "Not a valid password for the catalogue '" + path + "'", path);

    if (sqlite3_create_function_v2(db, "First", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr,
                                   FirstStep, FirstFinal, nullptr) != SQLITE_OK)
        ThrowSqlite(db, {});
    return conn;
}

Cell ReadCell(sqlite3_stmt* st, int pos) {
    Cell c;
    c.type = sqlite3_column_type(st, pos);
    switch (c.type) {
    case SQLITE_INTEGER:
        c.i = sqlite3_column_int64(st, pos);
        break;
    case SQLITE_FLOAT:
        c.d = sqlite3_column_double(st, pos);
        break;
    case SQLITE_NULL:
        break;
    default: {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, pos));
        if (t != nullptr) c.s.assign(t, static_cast<std::size_t>(sqlite3_column_bytes(st, pos)));
        break;
    }
    }
    return c;
}

// Steps through the whole result; the first step's error is thrown here, as
// opening the recordset always did.
std::shared_ptr<Rows> ReadRows(sqlite3_stmt* st) {
    auto rows = std::make_shared<Rows>();
    const int n = sqlite3_column_count(st);
    rows->width = static_cast<std::size_t>(n);
    for (int k = 0; k < n; ++k) {
        const char* name = sqlite3_column_name(st, k);
        rows->names.emplace_back(name ? name : "");
        rows->lowerNames.push_back(Lower(rows->names.back()));
    }
    for (;;) {
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            for (int k = 0; k < n; ++k) rows->cells.push_back(ReadCell(st, k));
            ++rows->count;
            continue;
        }
        if (rc == SQLITE_DONE) break;
        StoreError e = SqliteError(sqlite3_db_handle(st), sqlite3_sql(st));
        if (rows->count == 0) {
            sqlite3_finalize(st);
            throw e;
        }
        rows->failed = true;
        rows->errorNumber = e.number();
        rows->errorText = e.what();
        break;
    }
    sqlite3_finalize(st);
    return rows;
}

}  // namespace

Database Database::open(const std::string& path, const std::string& connect) {
    if (!gReuse) return Database(Connect(path, connect, false));
    auto& kept = Kept();
    auto key = std::make_pair(path, connect);
    const auto it = kept.find(key);
    if (it != kept.end()) {
        if (auto conn = it->second.lock()) return Database(std::move(conn));
    }
    auto conn = Connect(path, connect, true);
    kept[std::move(key)] = conn;
    return Database(std::move(conn));
}

bool IsConnected(const std::string& path, const std::string& connect) {
    const auto it = Kept().find(std::make_pair(path, connect));
    return it != Kept().end() && !it->second.expired();
}

void SetConnectionReuse(bool on) { gReuse = on; }
bool ConnectionReuse() { return gReuse; }

Recordset Database::openRecordset(const std::string& jetSql) {
    if (conn_ == nullptr) throw StoreError(kErrClosed, "The catalogue is closed");
    if (conn_->keepRows()) {
        const auto it = conn_->rows.find(jetSql);
        if (it != conn_->rows.end()) return Recordset(it->second);
    }
    sqlite3* db = conn_->db();
    const std::string sql = AdaptJetSql(jetSql);
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st, &tail) != SQLITE_OK || st == nullptr) {
        sqlite3_finalize(st);
        if (st == nullptr && sqlite3_errcode(db) == SQLITE_OK)
            throw StoreError(kErrSyntax, "Empty catalogue query");
        ThrowSqlite(db, jetSql);
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
    std::shared_ptr<const Rows> rows = ReadRows(st);
    // A result that ended in an error is read afresh next time.
    if (conn_->keepRows() && !rows->failed) conn_->rows.emplace(jetSql, rows);
    return Recordset(std::move(rows));
}

bool Database::tableExists(const std::string& name) const {
    for (const auto& t : tableNames())
        if (t == name) return true;
    return false;
}

std::vector<std::string> Database::tableNames() const {
    if (conn_ == nullptr) throw StoreError(kErrClosed, "The catalogue is closed");
    if (conn_->tablesRead) return conn_->tables;
    sqlite3* db = conn_->db();
    std::vector<std::string> names;
    sqlite3_stmt* st = nullptr;
    const char* sql = "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid";
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) ThrowSqlite(db, sql);
    while (sqlite3_step(st) == SQLITE_ROW) {
        const std::string n = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        if (n != kAuthTable && n.rfind("sqlite_", 0) != 0) names.push_back(n);
    }
    sqlite3_finalize(st);
    if (conn_->keepRows()) {
        conn_->tables = names;
        conn_->tablesRead = true;
    }
    return names;
}

// ---- Recordset ----

Recordset::Recordset(std::shared_ptr<const Rows> rows) : rows_(std::move(rows)), row_(0), eof_(rows_->count == 0) {}

Recordset::Recordset(Recordset&& o) noexcept
    : rows_(std::move(o.rows_)), row_(std::exchange(o.row_, 0)), eof_(std::exchange(o.eof_, true)) {}

Recordset& Recordset::operator=(Recordset&& o) noexcept {
    if (this != &o) {
        rows_ = std::move(o.rows_);
        row_ = std::exchange(o.row_, 0);
        eof_ = std::exchange(o.eof_, true);
    }
    return *this;
}

Recordset::~Recordset() = default;

void Recordset::close() {
    rows_.reset();
    eof_ = true;
}

const Rows& Recordset::rows() const {
    if (rows_ == nullptr) throw StoreError(kErrClosed, "The recordset is closed");
    return *rows_;
}

void Recordset::moveNext() {
    const Rows& r = rows();
    if (eof_) throw StoreError(kErrNoCurrentRecord, "No current record");
    ++row_;
    if (row_ < r.count) return;
    eof_ = true;
    if (r.failed) throw StoreError(r.errorNumber, r.errorText);
}

int Recordset::fieldCount() const { return static_cast<int>(rows().width); }

std::string Recordset::fieldName(int pos) const {
    if (pos < 0 || pos >= fieldCount())
        throw StoreError(kErrItemNotFound, "No field at position " + std::to_string(pos));
    return rows_->names[static_cast<std::size_t>(pos)];
}

int Recordset::fieldIndex(const std::string& name) const {
    const Rows& r = rows();
    const std::string low = Lower(name);
    for (std::size_t k = 0; k < r.width; ++k)
        if (r.lowerNames[k] == low) return static_cast<int>(k);
    throw StoreError(kErrItemNotFound, "Item not found in this collection: field '" + name + "'");
}

void Recordset::requireRow(int pos) const {
    if (pos < 0 || pos >= fieldCount())
        throw StoreError(kErrItemNotFound, "No field at position " + std::to_string(pos));
    if (eof_) throw StoreError(kErrNoCurrentRecord, "No current record");
}

bool Recordset::isNull(int pos) const {
    requireRow(pos);
    return rows_->at(row_, pos).type == SQLITE_NULL;
}

double Recordset::number(int pos) const {
    requireRow(pos);
    const Cell& c = rows_->at(row_, pos);
    switch (c.type) {
    case SQLITE_NULL:
        throw StoreError(kErrInvalidUseOfNull, "Invalid use of Null: field '" + fieldName(pos) + "'");
    case SQLITE_INTEGER:
        return static_cast<double>(c.i);
    case SQLITE_FLOAT:
        if (!std::isfinite(c.d))
            throw StoreError(kErrTypeMismatch, "Type mismatch: field '" + fieldName(pos) + "' holds no finite number");
        return c.d;
    default: {
        // The text up to its first NUL, as SQLite hands text to C.
        const std::string t(c.s.c_str());
        char* end = nullptr;
        const double v = std::strtod(t.c_str(), &end);
        const bool whole = !t.empty() && end != nullptr && *end == '\0';
        if (!whole || !std::isfinite(v))
            throw StoreError(kErrTypeMismatch, "Type mismatch: field '" + fieldName(pos) + "' holds '" + t + "'");
        return v;
    }
    }
}

long long Recordset::integer(int pos) const {
    requireRow(pos);
    const Cell& c = rows_->at(row_, pos);
    if (c.type == SQLITE_INTEGER) return c.i;
    // A fractional value in an integer read rounds half to even, as the
    // program's integer conversion does.
    const double r = std::nearbyint(number(pos));
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        throw StoreError(kErrTypeMismatch, "Type mismatch: field '" + fieldName(pos) + "' holds a value beyond a 64-bit integer");
    return static_cast<long long>(r);
}

long long Recordset::integer(int pos, long long lo, long long hi) const {
    const long long v = integer(pos);
    if (v < lo || v > hi)
        throw StoreError(kErrTypeMismatch, "Type mismatch: field '" + fieldName(pos) + "' holds " + std::to_string(v) +
                                               ", outside " + std::to_string(lo) + " to " + std::to_string(hi));
    return v;
}

std::string Recordset::text(int pos) const {
    requireRow(pos);
    const Cell& c = rows_->at(row_, pos);
    switch (c.type) {
    case SQLITE_NULL:
        throw StoreError(kErrInvalidUseOfNull, "Invalid use of Null: field '" + fieldName(pos) + "'");
    case SQLITE_FLOAT: {
        // As the program's own number-to-text conversion writes it: 24, 22.5.
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15g", c.d);
        return buf;
    }
    case SQLITE_INTEGER:
        return std::to_string(c.i);
    default:
        return c.s;
    }
}

}  // namespace store
