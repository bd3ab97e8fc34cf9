#include "model/helpers.h"
#include "platform/store/store.h"
#include "platform/text/vberror.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace model;

TEST(SortDoubles, AscendingWithoutRepeats)
{
    struct Case {
        std::vector<double> in;  // element 0 unused
        double tolerance;
        std::vector<double> out;
    } const cases[] = {
        {{9, 3, 1, 3, 2}, 0, {0, 1, 2, 3}},
        {{9, 3, 1, 3, 2}, 1.5, {0, 1, 3}},
        {{9, 3, 1, 3, 2}, -1, {0, 1, 2, 3, 3}},
        {{0, 5, 5.5, 6, 6.2, 7}, 1, {0, 5, 6, 7}},  // compared with the last kept value
        {{0, 4, 3, 2, 1, 0, -1, 8}, 0, {0, -1, 0, 1, 2, 3, 4, 8}},
    };
    for (const Case& c : cases) {
        std::vector<double> v = c.in;
        int32_t count = static_cast<int32_t>(v.size()) - 1;
        SortDoubles(v, count, c.tolerance);
        EXPECT_EQ(v, c.out);
        EXPECT_EQ(count, static_cast<int32_t>(c.out.size()) - 1);
    }
}

TEST(SortDoubles, ShortListsAndBadCounts)
{
    std::vector<double> v{7, 3};
    int32_t count = 1;
    SortDoubles(v, count, 0);
    EXPECT_EQ(v, (std::vector<double>{7, 3}));
    count = 5;
    EXPECT_THROW(SortDoubles(v, count, 0), vb::Error);
}

TEST(SafeCDbl, AnyKind)
{
    EXPECT_EQ(SafeCDbl("6("), 0);
    EXPECT_EQ(SafeCDbl(" 12 "), 12);
    EXPECT_EQ(SafeCDbl("-2.5"), -2.5);
    EXPECT_EQ(SafeCDbl("+.5"), 0.5);
    EXPECT_EQ(SafeCDbl("1.5E3"), 1500);
    EXPECT_EQ(SafeCDbl(""), 0);
    EXPECT_EQ(SafeCDbl("   "), 0);
    EXPECT_EQ(SafeCDbl("inf"), 0);
    EXPECT_EQ(SafeCDbl("nan"), 0);
    EXPECT_EQ(SafeCDbl("1 2"), 0);
    EXPECT_EQ(SafeCDbl("1e999"), 0);
    EXPECT_EQ(SafeCDbl(std::string("900")), 900);
    EXPECT_EQ(SafeCDbl(true), -1);
    EXPECT_EQ(SafeCDbl(false), 0);
    EXPECT_EQ(SafeCDbl(int16_t{-7}), -7);
    EXPECT_EQ(SafeCDbl(2.25), 2.25);
    EXPECT_EQ(SafeCDbl(std::monostate{}), 0);
    EXPECT_EQ(SafeCDbl(std::optional<std::string>{}), 0);
}

TEST(CatalogueHelpers, CountAndTableNames)
{
    store::Database db = store::Database::open(std::string(KV_SAMPLE_DIR) + "/data.mdb", ";pwd=qmv41");
    EXPECT_TRUE(TableExists(db, "KvData"));
    EXPECT_FALSE(TableExists(db, "kvdata"));
    EXPECT_FALSE(TableExists(db, "NoSuchTable"));

    const std::string sql = "SELECT ID FROM KvData";
    store::Recordset rs = db.openRecordset(sql);
    ASSERT_FALSE(rs.eof());
    const long long first = rs.integer(0);
    const int32_t n = GetRecordCount(db, sql);
    EXPECT_GT(n, 0);
    EXPECT_EQ(rs.integer(0), first);  // the caller's result set has not moved
    int32_t counted = 0;
    for (; !rs.eof(); rs.moveNext()) ++counted;
    EXPECT_EQ(n, counted);

    EXPECT_EQ(GetRecordCount(db, "SELECT ID FROM KvData WHERE ID = -1"), 0);
    EXPECT_EQ(GetRecordCount(db, "SELECT nothing FROM NoSuchTable"), -1);
}
