// Read-only catalogue store. Callers send the catalogue's query texts (Jet
// dialect); the store adapts them to SQLite in one place and checks the
// database password against the salted hash kept in the file before anything
// else is read.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// Error numbers follow the database engine the catalogue was made for, so that
// callers and messages can tell the kinds apart.
enum ErrorNumber : int {
    kErrFileNotFound = 3024,     // file missing
    kErrNotDatabase = 3343,      // unreadable / not a catalogue
    kErrBadPassword = 3031,      // password wrong or missing
    kErrNoCurrentRecord = 3021,  // first row read on an empty result
    kErrInvalidUseOfNull = 94,   // Null read as a number or text
    kErrItemNotFound = 3265,     // no field of that name or position
    kErrSyntax = 3075,           // query text the store cannot run
    kErrClosed = 3420,           // object already closed
};

class StoreError : public std::runtime_error {
public:
    StoreError(int number, const std::string& text) : std::runtime_error(text), number_(number) {}
    int number() const noexcept { return number_; }

private:
    int number_;
};

class Database;

// Rows of one SELECT, read forward from the first.
class Recordset {
public:
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    ~Recordset();

    bool eof() const { return eof_; }
    void moveNext();
    void close();

    int fieldCount() const;
    std::string fieldName(int pos) const;
    // Position of a field, case-insensitive for ASCII letters; throws when absent.
    int fieldIndex(const std::string& name) const;

    bool isNull(int pos) const;
    bool isNull(const std::string& name) const { return isNull(fieldIndex(name)); }
    // Reading a Null, or any field when there is no current row, throws.
    double number(int pos) const;
    double number(const std::string& name) const { return number(fieldIndex(name)); }
    long long integer(int pos) const;
    long long integer(const std::string& name) const { return integer(fieldIndex(name)); }
    std::string text(int pos) const;
    std::string text(const std::string& name) const { return text(fieldIndex(name)); }

private:
    friend class Database;
    explicit Recordset(sqlite3_stmt* stmt);
    void step();
    void requireRow(int pos) const;

    sqlite3_stmt* stmt_ = nullptr;
    bool eof_ = true;
};

class Database {
public:
    // Opens shared and read-only. connect is the connect string (";pwd=...").
    static Database open(const std::string& path, const std::string& connect);

    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    Recordset openRecordset(const std::string& jetSql);
    // Exact, case-sensitive test of the file's table list.
    bool tableExists(const std::string& name) const;
    std::vector<std::string> tableNames() const;
    void close();
    bool isOpen() const { return db_ != nullptr; }

private:
    explicit Database(sqlite3* db) : db_(db) {}
    sqlite3* db_ = nullptr;
};

// A text literal for a query: single quotes, embedded quotes doubled, so that a
// name holding "'" neither breaks nor changes the query.
std::string Quote(const std::string& value);

// Rewrites a Jet-dialect SELECT for SQLite: DISTINCTROW dropped, double-quoted
// literals turned into single-quoted ones. Brackets and First() are understood
// by the store as they stand.
std::string AdaptJetSql(const std::string& jetSql);

// Salted password hash as kept in the catalogue file (hex text).
std::string PasswordHash(const std::string& salt, const std::string& password);

// Name of the table that keeps the salt and the hash; not part of the catalogue.
inline constexpr const char* kAuthTable = "zz_store_auth";

}  // namespace store
