#include "platform/store/store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <bit>
#include <cstdint>
#include <functional>
#include <fstream>
#include <vector>

#ifndef KV_FIXTURE_DIR
#error KV_FIXTURE_DIR must name the folder of the built fixtures
#endif

namespace {

const std::string kMini = std::string(KV_FIXTURE_DIR) + "/mini.mdb";
const std::string kSample = std::string(KV_SAMPLE_CATALOGUE);
const std::string kPwd = ";pwd=qmv41";

int ErrorNumberOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const store::StoreError& e) {
        return e.number();
    }
    return 0;
}

TEST(StoreOpen, PasswordIsCheckedBeforeAnyQuery) {
    struct Case {
        const char* connect;
        int error;
    } cases[] = {
        {";pwd=qmv41", 0},
        {";PWD=qmv41", 0},
        {";pwd=qmv41;", 0},
        {";pwd=QMV41", store::kErrBadPassword},
        {";pwd=qmv4", store::kErrBadPassword},
        {";pwd=", store::kErrBadPassword},
        {"", store::kErrBadPassword},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorNumberOf([&] { store::Database::open(kMini, c.connect); }), c.error) << c.connect;
}

TEST(StoreOpen, SampleCatalogueOpensOnlyWithItsPassword) {
    EXPECT_EQ(ErrorNumberOf([&] { store::Database::open(kSample, kPwd); }), 0);
    EXPECT_EQ(ErrorNumberOf([&] { store::Database::open(kSample, ";pwd=other"); }), store::kErrBadPassword);
}

TEST(StoreOpen, MissingOrForeignFilesFailClearly) {
    EXPECT_EQ(ErrorNumberOf([] { store::Database::open("/nonexistent/data.mdb", kPwd); }), store::kErrFileNotFound);

    const auto dir = std::filesystem::temp_directory_path() / "kv_store_test";
    std::filesystem::create_directories(dir);
    const auto junk = (dir / "junk.mdb").string();
    std::ofstream(junk) << "this is not a catalogue, just some text that is long enough to fill a header...";
    EXPECT_EQ(ErrorNumberOf([&] { store::Database::open(junk, kPwd); }), store::kErrNotDatabase);
}

class StoreQuery : public ::testing::Test {
protected:
    store::Database db = store::Database::open(kMini, kPwd);
};

TEST_F(StoreQuery, JetQueryFormsReturnTheExpectedRows) {
    struct Case {
        std::string sql;
        std::string field;
        double value;
    } cases[] = {
        // plain qualified names, leading blank before the ID
        {"SELECT DISTINCTROW 柱脚.形式名,柱脚.KvV,柱脚.A From 柱脚 WHERE ((柱脚.ID)= 150310)", "A", 600},
        // bracketed names and the two-key condition
        {"SELECT DISTINCTROW [KvData].[L1] FROM [KvData] WHERE (([KvData].[ID]= 150310 ) and ([KvData].[AbD]= 30 ))",
         "L1", 410},
        // other letter case of table and column, fractional key written as an integral number
        {"SELECT DISTINCTROW KvData.Ql1, Kvdata.L1 From KvData WHERE ((KvData.ID)=150310 AND ((KvData.AbD) =36))",
         "l1", 450},
        {"SELECT DISTINCTROW [Ta_SV].[lTa],[Ta_SV].[sTa],[Ta_SV].[Tu] FROM [Ta_SV] WHERE ([Ta_SV].[D]= 24)", "sta", 110},
        {"SELECT AB断面積.断面積 From AB断面積 WHERE (((AB断面積.呼び名)=1024));", "断面積", 3.53},
        {"SELECT DISTINCTROW 柱脚.Ab径1 From 柱脚 WHERE ((柱脚.形式名)='ZF-400')", "AB径1", 24},
        {"SELECT 配筋.* From 配筋 WHERE (((配筋.Name)='ZF-400') AND ((配筋.Fc)=21));", "RCX", 800},
    };
    for (const auto& c : cases) {
        auto rs = db.openRecordset(c.sql);
        ASSERT_FALSE(rs.eof()) << c.sql;
        EXPECT_DOUBLE_EQ(rs.number(c.field), c.value) << c.sql;
    }
}

TEST_F(StoreQuery, FieldsByPositionAndWholeRowNames) {
    auto rs = db.openRecordset("SELECT 配筋.* From 配筋 WHERE (((配筋.Name)='ZF-400') AND ((配筋.Fc)=21));");
    ASSERT_EQ(rs.fieldCount(), 9);
    EXPECT_EQ(rs.text(0), "ZF-400");
    EXPECT_EQ(rs.text("dbar"), "12-D22");
    EXPECT_EQ(rs.integer("NG1"), 1);
    EXPECT_EQ(rs.text("Fc"), "21");  // a real without fraction reads as "21", not "21.0"
}

TEST_F(StoreQuery, GroupingWithFirstAndDoubleQuotedLiteral) {
    auto rs = db.openRecordset(
        "SELECT DISTINCTROW First(柱.呼びフランジ幅) AS 呼びフランジ幅ﾌｨｰﾙﾄﾞ From 柱 "
        "GROUP BY 柱.呼びフランジ幅, 柱.呼び柱成, 柱.柱種類, 柱.規格 "
        "HAVING (((柱.呼び柱成)=\"400\") AND ((柱.柱種類)=2) AND ((柱.規格)='SS'));");
    std::vector<std::string> widths;
    for (; !rs.eof(); rs.moveNext()) widths.push_back(rs.text("呼びフランジ幅ﾌｨｰﾙﾄﾞ"));
    EXPECT_EQ(widths, (std::vector<std::string>{"200", "300"}));

    auto sizes = db.openRecordset(
        "SELECT DISTINCTROW First(柱.柱成) AS 柱成ﾌｨｰﾙﾄﾞ From 柱 GROUP BY 柱.柱成, 柱.柱種類, 柱.規格 "
        "HAVING (((柱.柱種類)=0) AND ((柱.規格)='BCR'));");
    std::vector<std::string> got;
    for (; !sizes.eof(); sizes.moveNext()) got.push_back(sizes.text(0));
    EXPECT_EQ(got, (std::vector<std::string>{"350", "400"}));
}

TEST_F(StoreQuery, SeveralMatchesGiveTheFirstInStoreOrder) {
    auto rs = db.openRecordset("SELECT DISTINCTROW KvData.L1 From KvData WHERE ((KvData.ID)=150310 AND ((KvData.AbD) =36))");
    EXPECT_DOUBLE_EQ(rs.number(0), 450);
}

TEST_F(StoreQuery, NullAndMissingRowAreErrorsNotZero) {
    auto rs = db.openRecordset("SELECT DISTINCTROW 柱脚.AB径2 From 柱脚 WHERE ((柱脚.ID)= 100100)");
    EXPECT_TRUE(rs.isNull(0));
    EXPECT_EQ(ErrorNumberOf([&] { rs.number(0); }), store::kErrInvalidUseOfNull);
    EXPECT_EQ(ErrorNumberOf([&] { rs.text("AB径2"); }), store::kErrInvalidUseOfNull);

    auto none = db.openRecordset("SELECT DISTINCTROW 柱脚.A From 柱脚 WHERE ((柱脚.ID)= 4711)");
    EXPECT_TRUE(none.eof());
    EXPECT_EQ(ErrorNumberOf([&] { none.number(0); }), store::kErrNoCurrentRecord);
    EXPECT_EQ(ErrorNumberOf([&] { none.moveNext(); }), store::kErrNoCurrentRecord);

    auto one = db.openRecordset("SELECT DISTINCTROW 柱脚.A From 柱脚 WHERE ((柱脚.ID)= 100100)");
    EXPECT_EQ(ErrorNumberOf([&] { one.number(1); }), store::kErrItemNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { one.number("B"); }), store::kErrItemNotFound);
}

TEST_F(StoreQuery, MissingTableOrColumnFailsTheQuery) {
    EXPECT_NE(ErrorNumberOf([&] { db.openRecordset("SELECT DISTINCTROW ABolt.bQl FROM ABolt WHERE (ABolt.AbD= 24 )"); }), 0);
    EXPECT_NE(ErrorNumberOf([&] { db.openRecordset("SELECT DISTINCTROW 柱脚.EX9 From 柱脚"); }), 0);
}

TEST_F(StoreQuery, QuotedNamesAreHarmless) {
    auto rs = db.openRecordset("SELECT DISTINCTROW 柱脚.ID From 柱脚 WHERE ((柱脚.形式名)=" + store::Quote("KB'1-400") + ")");
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.integer(0), 9000010);

    // An attempt to widen the condition stays a plain, unmatched name.
    auto widened = db.openRecordset("SELECT DISTINCTROW 柱脚.ID From 柱脚 WHERE ((柱脚.形式名)=" +
                                    store::Quote("x') OR ('1'='1") + ")");
    EXPECT_TRUE(widened.eof());
}

TEST_F(StoreQuery, StoreCannotBeChanged) {
    EXPECT_NE(ErrorNumberOf([&] { db.openRecordset("DELETE FROM 柱脚"); }), 0);
    EXPECT_NE(ErrorNumberOf([&] { db.openRecordset("SELECT 1; DELETE FROM 柱脚"); }), 0);
    auto rs = db.openRecordset("SELECT DISTINCTROW 柱脚.ID From 柱脚 WHERE ((柱脚.ID)= 100100)");
    EXPECT_FALSE(rs.eof());
}

TEST_F(StoreQuery, TableTestComparesNamesExactly) {
    EXPECT_TRUE(db.tableExists("配筋"));
    EXPECT_TRUE(db.tableExists("配筋KS1"));
    EXPECT_FALSE(db.tableExists("配筋ks1"));
    EXPECT_FALSE(db.tableExists("kvdata"));
    EXPECT_FALSE(db.tableExists(store::kAuthTable));
}

TEST_F(StoreQuery, ClosedDatabaseRefusesQueries) {
    db.close();
    EXPECT_EQ(ErrorNumberOf([&] { db.openRecordset("SELECT 1"); }), store::kErrClosed);
}

TEST(JetDialect, Adaptation) {
    struct Case {
        const char* jet;
        const char* sqlite;
    } cases[] = {
        {"SELECT DISTINCTROW a FROM t", "SELECT  a FROM t"},
        {"select distinctrow a from t", "select  a from t"},
        {"SELECT a FROM t WHERE ((t.n)='DISTINCTROW')", "SELECT a FROM t WHERE ((t.n)='DISTINCTROW')"},
        {"SELECT a FROM t WHERE ((t.n)=\"400\")", "SELECT a FROM t WHERE ((t.n)='400')"},
        {"SELECT a FROM t WHERE ((t.n)=\"O'Neil\")", "SELECT a FROM t WHERE ((t.n)='O''Neil')"},
        {"SELECT a FROM t WHERE ((t.n)='KB''1')", "SELECT a FROM t WHERE ((t.n)='KB''1')"},
        {"SELECT [DISTINCTROW] FROM [t]", "SELECT [DISTINCTROW] FROM [t]"},
        {"SELECT DISTINCTROWS FROM t", "SELECT DISTINCTROWS FROM t"},
    };
    for (const auto& c : cases) EXPECT_EQ(store::AdaptJetSql(c.jet), c.sqlite) << c.jet;
    EXPECT_THROW(store::AdaptJetSql("SELECT 'open"), store::StoreError);
}

// Integer and number reads of values that are no usable number.
TEST_F(StoreQuery, ValuesThatAreNoFiniteNumberAreTypeMismatches) {
    constexpr int kMismatch = store::kErrTypeMismatch;
    struct Case {
        const char* name;
        long long integer;  // when integerError is 0
        int integerError;
        int numberError;
    } cases[] = {
        {"whole", 42, 0, 0},
        {"half up", 4, 0, 0},
        {"half down", 2, 0, 0},
        {"negative half", -2, 0, 0},
        {"number text", 12, 0, 0},
        {"huge", 0, kMismatch, 0},
        {"beyond 64 bits", 0, kMismatch, 0},
        {"infinite", 0, kMismatch, kMismatch},
        {"nan text", 0, kMismatch, kMismatch},
        {"NaN text", 0, kMismatch, kMismatch},
        {"inf text", 0, kMismatch, kMismatch},
        {"minus infinity text", 0, kMismatch, kMismatch},
        {"word", 0, kMismatch, kMismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto rs = db.openRecordset("SELECT Vals.v FROM Vals WHERE ((Vals.name)=" + store::Quote(c.name) + ")");
        ASSERT_FALSE(rs.eof());
        EXPECT_EQ(ErrorNumberOf([&] { rs.number(0); }), c.numberError);
        EXPECT_EQ(ErrorNumberOf([&] { rs.integer("v"); }), c.integerError);
        if (c.integerError == 0) {
            EXPECT_EQ(rs.integer(0), c.integer);
        }
    }
}

// ---- Kept connections and kept rows ----

TEST(StoreKept, OneConnectionPerPathAndConnectString) {
    {
        auto a = store::Database::open(kMini, kPwd);
        auto b = store::Database::open(kMini, kPwd);
        EXPECT_TRUE(a.sameConnection(b));
        EXPECT_TRUE(store::IsConnected(kMini, kPwd));
        // Another connect string is another connection, checked on its own.
        auto c = store::Database::open(kMini, ";PWD=qmv41");
        EXPECT_FALSE(a.sameConnection(c));
        a.close();
        EXPECT_TRUE(store::IsConnected(kMini, kPwd));  // b still holds it
        EXPECT_EQ(ErrorNumberOf([&] { a.openRecordset("SELECT 1"); }), store::kErrClosed);
    }
    EXPECT_FALSE(store::IsConnected(kMini, kPwd));
}

TEST(StoreKept, WrongPasswordOnAKeptFileStillFails) {
    auto kept = store::Database::open(kMini, kPwd);
    for (const char* bad : {";pwd=QMV41", ";pwd=", ""})
        EXPECT_EQ(ErrorNumberOf([&] { store::Database::open(kMini, bad); }), store::kErrBadPassword) << bad;
    EXPECT_FALSE(store::IsConnected(kMini, ";pwd="));
    EXPECT_FALSE(kept.openRecordset("SELECT 柱脚.ID FROM 柱脚").eof());
}

TEST(StoreKept, AFailedQueryLeavesTheConnectionUsable) {
    auto db = store::Database::open(kMini, kPwd);
    const std::string good = "SELECT DISTINCTROW 柱脚.A From 柱脚 WHERE ((柱脚.ID)= 100100)";
    const std::string failures[] = {
        "SELECT DISTINCTROW ABolt.bQl FROM ABolt WHERE (ABolt.AbD= 24 )",  // no such table
        "SELECT DISTINCTROW 柱脚.EX9 From 柱脚",                            // no such column
        "SELECT 'open",                                                    // not a query
        "DELETE FROM 柱脚",                                                 // not read-only
    };
    for (const auto& sql : failures) {
        SCOPED_TRACE(sql);
        const int first = ErrorNumberOf([&] { db.openRecordset(sql); });
        EXPECT_NE(first, 0);
        // The same text fails the same way again: errors are not kept as rows.
        EXPECT_EQ(ErrorNumberOf([&] { db.openRecordset(sql); }), first);
        auto rs = db.openRecordset(good);
        ASSERT_FALSE(rs.eof());
        EXPECT_EQ(rs.number(0), 500);
    }
    // A Null read fails that read only.
    auto nul = db.openRecordset("SELECT DISTINCTROW 柱脚.AB径2 From 柱脚 WHERE ((柱脚.ID)= 100100)");
    EXPECT_EQ(ErrorNumberOf([&] { nul.number(0); }), store::kErrInvalidUseOfNull);
    EXPECT_EQ(db.openRecordset(good).number(0), 500);
}

// Every read of a kept result, and of the same text asked again, equals what a
// connection of its own reads from the file.
TEST(StoreKept, KeptRowsReadAsFreshOnes) {
    const std::string queries[] = {
        "SELECT 配筋.* From 配筋 WHERE (((配筋.Name)='ZF-400') AND ((配筋.Fc)=21));",
        "SELECT DISTINCTROW KvData.ID, KvData.AbD, KvData.L1, KvData.Ql1 From KvData",
        "SELECT DISTINCTROW 柱脚.形式名, 柱脚.AB径2, 柱脚.A From 柱脚",
        "SELECT Vals.name, Vals.v FROM Vals",
    };
    // Every cell as text, number and null flag, or the error each read gives.
    const auto dump = [](store::Database& db, const std::string& sql) {
        std::vector<std::string> out;
        auto rs = db.openRecordset(sql);
        for (; !rs.eof(); rs.moveNext()) {
            for (int k = 0; k < rs.fieldCount(); ++k) {
                std::string cell = rs.fieldName(k) + "|" + std::to_string(rs.isNull(k)) + "|";
                try {
                    cell += rs.text(k);
                } catch (const store::StoreError& e) {
                    cell += "E" + std::to_string(e.number());
                }
                try {
                    const double v = rs.number(k);
                    cell += "|" + std::to_string(std::bit_cast<uint64_t>(v));
                } catch (const store::StoreError& e) {
                    cell += "|E" + std::to_string(e.number());
                }
                out.push_back(cell);
            }
        }
        return out;
    };
    store::SetConnectionReuse(false);
    auto fresh = store::Database::open(kMini, kPwd);
    EXPECT_FALSE(store::IsConnected(kMini, kPwd));
    std::vector<std::vector<std::string>> expected;
    for (const auto& q : queries) expected.push_back(dump(fresh, q));
    store::SetConnectionReuse(true);

    auto kept = store::Database::open(kMini, kPwd);
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < std::size(queries); ++i) EXPECT_EQ(dump(kept, queries[i]), expected[i]) << queries[i];
    }
}

}  // namespace
