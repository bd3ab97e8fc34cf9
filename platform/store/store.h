// Read-only catalogue store. Callers send the catalogue's query texts (Jet
// dialect); the store adapts them to SQLite in one place and checks the
// database password against the salted hash kept in the file before anything
// else is read.
//
// A catalogue file does not change while the program runs, so one connection
// per (path, connect string) is kept for as long as anyone holds it, and the
// rows of each query text are kept with the connection. Everything here is
// used from the program's one thread only.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace store {

// Error numbers follow the database engine the catalogue was made for, so that
// callers and messages can tell the kinds apart.
enum ErrorNumber : int {
    kErrFileNotFound = 3024,     // file missing
    kErrNotDatabase = 3343,      // unreadable / not a catalogue
    kErrBadPassword = 3031,      // password wrong or missing
    kErrNoCurrentRecord = 3021,  // first row read on an empty result
    kErrInvalidUseOfNull = 94,   // Null read as a number or text
    kErrTypeMismatch = 13,       // a value that is no usable number
    kErrItemNotFound = 3265,     // no field of that name or position
    kErrSyntax = 3075,           // query text the store cannot run
    kErrClosed = 3420,           // object already closed
};

class StoreError : public std::runtime_error {
public:
    // path: the catalogue file, for the failures of opening it.
    StoreError(int number, const std::string& text, std::string path = {})
        : std::runtime_error(text), number_(number), path_(std::move(path))
    {
    }
    int number() const noexcept { return number_; }
    const std::string& path() const noexcept { return path_; }

private:
    int number_;
    std::string path_;
};

class Database;
class Connection;
struct Rows;

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
    // Reading a Null, or any field when there is no current row, throws. A
    // value that is not a finite number is a type mismatch.
    double number(int pos) const;
    double number(const std::string& name) const { return number(fieldIndex(name)); }
    // As number, rounded; a value beyond a 64-bit integer is a type mismatch.
    long long integer(int pos) const;
    long long integer(const std::string& name) const { return integer(fieldIndex(name)); }
    // As integer, for a narrower target: a value outside lo..hi is a type
    // mismatch, never a wrapped number.
    long long integer(int pos, long long lo, long long hi) const;
    long long integer(const std::string& name, long long lo, long long hi) const
    {
        return integer(fieldIndex(name), lo, hi);
    }
    std::string text(int pos) const;
    std::string text(const std::string& name) const { return text(fieldIndex(name)); }

private:
    friend class Database;
    explicit Recordset(std::shared_ptr<const Rows> rows);
    void requireRow(int pos) const;
    const Rows& rows() const;

    std::shared_ptr<const Rows> rows_;
    std::size_t row_ = 0;
    bool eof_ = true;
};

// A handle to a catalogue connection, opened shared and read-only. Copies
// share the connection; it closes when the last handle lets go of it.
class Database {
public:
    // The kept connection of (path, connect), made when nobody holds one; the
    // password is checked then. connect is the connect string (";pwd=...").
    static Database open(const std::string& path, const std::string& connect);

    Database() = default;
    Database(const Database&) = default;
    Database& operator=(const Database&) = default;
    Database(Database&&) noexcept = default;
    Database& operator=(Database&&) noexcept = default;
    ~Database() = default;

    Recordset openRecordset(const std::string& jetSql);
    // Exact, case-sensitive test of the file's table list.
    bool tableExists(const std::string& name) const;
    std::vector<std::string> tableNames() const;
    // Lets go of this handle; the connection stays open for its other holders.
    void close() { conn_.reset(); }
    bool isOpen() const { return conn_ != nullptr; }
    bool sameConnection(const Database& o) const { return conn_ != nullptr && conn_ == o.conn_; }

private:
    explicit Database(std::shared_ptr<Connection> c) : conn_(std::move(c)) {}
    std::shared_ptr<Connection> conn_;
};

// True while a kept connection of (path, connect) is open.
bool IsConnected(const std::string& path, const std::string& connect);

// For tests and diagnosis: with reuse off every open makes a connection of its
// own and no rows are kept, so each query reads the file afresh. On by default.
void SetConnectionReuse(bool on);
bool ConnectionReuse();

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
