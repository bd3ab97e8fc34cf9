#include "model/fendral.h"

#include "platform/text/cp932.h"
#include "platform/text/vberror.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace model;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir()
    {
        path_ = fs::temp_directory_path() / ("fendral_test_" + std::to_string(::getpid()) + "_" + std::to_string(n_++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string dir() const { return path_.string() + "/"; }

private:
    static inline int n_ = 0;
    fs::path path_;
};

std::string ReadBytes(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

FendralTbl RichRecord(const std::string& name)
{
    FendralTbl r;
    r.ColName = name;
    r.ModelName = "WP200-4 ｶﾞ";
    r.ProductCode = 13;
    r.SeriesCode = 2;
    r.WallCode = 2;
    r.RebarZone = 1;
    r.cDx = 650;
    r.cDy = 700.5;
    r.RmNx = 4;
    r.RmNy = 5;
    r.BarDia = 22;
    r.HoopDia = 13;
    r.HoopPitch = 100;
    r.rDx = 0.1 + 0.2;  // not short in decimal
    r.DefaultExtra = 50;
    r.Text1 = "通り芯 A";
    r.Text2 = "";
    r.Pair(0) = -1;
    r.Pair(1) = 1e-05;
    r.Fc = 22.5;
    r.AbD = 24;
    r.AbV = 1;
    r.RotateMode = -1;
    for (long k = 1; k <= 6; ++k) r.KvLen(k) = 100.0 * k + 0.25;
    r.HenshinE(0) = -12.5;
    r.HenshinE(1) = 3;
    r.Rotation = 1;
    r.BaseDir = 3;
    for (long b = 1; b <= 4; ++b) {
        FendralBlockTbl& blk = r.Blocks(b);
        blk.Kind = static_cast<uint8_t>(b);
        blk.Name = "ブロック" + std::to_string(b);
        for (long k = 1; k <= 6; ++k) blk.Values(k) = b * 10.0 + k / 3.0;
        blk.Extra = 40 + b;
        FendralSideTbl& s = blk.Sides(1);
        s.Value = 1.5;
        s.Count1 = -2;
        s.Count2 = 300;
        s.Value2 = 1e20;
        s.Value3 = -0.5;
        s.PairCount = 2;
        s.Pairs = {{}, {1, 2}, {255, 0}};
        s.ItemCount = 1;
        s.Items = {{}, {7, 3.125}};
    }
    return r;
}

// A list file of the given version written field by field from the format,
// with one record whose values are all distinct from the defaults.
std::string OldFile(const std::string& version, const std::vector<std::string>& ids = {"9"})
{
    std::vector<std::string> l = {text::ToCp932("ベース主筋データ"), version, std::to_string(ids.size())};
    auto add = [&](std::initializer_list<std::string> v) { l.insert(l.end(), v); };
    for (const std::string& id : ids) {
    add({id, "0", "C1", "K35-2-30", "8", "0", "1", "2"});
    add({"850", "900", "22", "4", "5", "13", "100", "880", "50"});
    add({"t1", "t2", "0.5", "-.5"});
    for (int b = 1; b <= 4; ++b) {
        add({"1", "blk", "1", "2", "3", "4", "5", "6"});
        for (int side = 0; side <= 1; ++side) add({"0", "0", "0", "0", "0", "1", "3", "4", "0"});
        if (version > "1.00") add({"77"});
        add({"-+-"});
    }
    if (version > "1.01") add({"24"});
    if (version > "1.02") add({"30", "1", "#TRUE#", "1", "2", "3", "4", "5", "6", "7", "8"});
    if (version > "1.03") add({"1", "2"});
    add({"-+-"});
    }
    add({"-+-"});
    std::string out;
    for (const std::string& s : l) out += s + "\r\n";
    return out;
}

TEST(FendralFile, MissingFileGivesAnEmptyList)
{
    TempDir t;
    clsFendral list;
    FendralTbl r;
    list.Add_Data(r, 0);
    EXPECT_EQ(list.Data_Read(t.dir(), "", "none.Dat"), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.prpReadVersion(), "");
    EXPECT_EQ(list.MaxID(), 0);
}

TEST(FendralFile, EmptyListFile)
{
    TempDir t;
    clsFendral list;
    list.Data_Write(t.dir(), "", "e.Dat");
    EXPECT_EQ(ReadBytes(t.dir() + "e.Dat"), text::ToCp932("ベース主筋データ") + "\r\n1.04\r\n0\r\n-+-\r\n");
}

TEST(FendralFile, WriteThenReadIsIdentical)
{
    TempDir t;
    clsFendral list;
    FendralTbl a = RichRecord("1C1"), b = RichRecord("2C1"), c;
    list.Add_Data(a, 0);
    list.Add_Data(b, 5);
    list.Add_Data(c, 0);
    list.Del_Data(1, 1);  // IDs 2 and 3 remain
    list.Data_Write(t.dir(), "****");
    EXPECT_TRUE(fs::exists(t.dir() + "SFKOLCHK/Fendral.Dat"));

    clsFendral back;
    back.Data_Read(t.dir(), "****");
    EXPECT_EQ(back.prpReadVersion(), "1.04");
    ASSERT_EQ(back.GetCount(), 2);
    for (int32_t i = 1; i <= 2; ++i) {
        FendralTbl x, y;
        list.Get_Data(i, x, 1);
        back.Get_Data(i, y, 1);
        EXPECT_EQ(x, y) << i;
    }
    EXPECT_EQ(back.MaxID(), 3);

    // And the bytes of a second write are the same.
    back.Data_Write(t.dir(), "", "again.Dat");
    EXPECT_EQ(ReadBytes(t.dir() + "again.Dat"), ReadBytes(t.dir() + "SFKOLCHK/Fendral.Dat"));
}

TEST(FendralFile, VersionTable)
{
    struct Case {
        const char* version;
        bool extra, fc, base, rotation;
    };
    const Case cases[] = {
        {"1.00", false, false, false, false}, {"1.01", true, false, false, false}, {"1.02", true, true, false, false},
        {"1.03", true, true, true, false},     {"1.04", true, true, true, true},    {"1.10", true, true, true, true},
        {"9.99", true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        TempDir t;
        WriteBytes(t.dir() + "v.Dat", OldFile(c.version));
        clsFendral list;
        list.Data_Read(t.dir(), "", "v.Dat");
        EXPECT_EQ(list.prpReadVersion(), c.version);
        ASSERT_EQ(list.GetCount(), 1);
        FendralTbl r;
        list.Get_Data(1, r, 1);
        EXPECT_EQ(r.ID, 9);
        EXPECT_EQ(r.ColName, "C1");
        EXPECT_EQ(r.Pair(0), 0.5);
        EXPECT_EQ(r.Pair(1), -0.5);
        for (long b = 1; b <= 4; ++b) {
            EXPECT_EQ(r.Blocks(b).Extra, c.extra ? 77 : 50);
            EXPECT_EQ(r.Blocks(b).Sides(1).PairCount, 1);
            EXPECT_EQ(r.Blocks(b).Sides(1).Pairs[1], (FendralPair{3, 4}));
        }
        EXPECT_EQ(r.Fc, c.fc ? 24 : 0);
        EXPECT_EQ(r.AbD, c.base ? 30 : 0);
        EXPECT_EQ(r.RotateMode, c.base ? -1 : 0);
        EXPECT_EQ(r.KvLen(6), c.base ? 6 : 0);
        EXPECT_EQ(r.HenshinE(1), c.base ? 8 : 0);
        EXPECT_EQ(r.Rotation, c.rotation ? 1 : 0);
        EXPECT_EQ(r.BaseDir, c.rotation ? 2 : 0);
    }
}

TEST(FendralFile, LinesBeforeASeparatorAreSkipped)
{
    TempDir t;
    std::string f = OldFile("1.04");
    // A later version's extra record field and one extra line per block.
    const std::string recordEnd = "1\r\n2\r\n-+-\r\n-+-\r\n";
    ASSERT_NE(f.find(recordEnd), std::string::npos);
    f.replace(f.find(recordEnd), recordEnd.size(), "1\r\n2\r\n99\r\nmore\r\n-+-\r\n-+-\r\n");
    WriteBytes(t.dir() + "x.Dat", f);
    clsFendral list;
    list.Data_Read(t.dir(), "", "x.Dat");
    FendralTbl r;
    list.Get_Data(1, r, 1);
    EXPECT_EQ(r.BaseDir, 2);
}

std::vector<std::string> Lines(const std::string& file)
{
    std::vector<std::string> l;
    std::size_t start = 0;
    while (start < file.size()) {
        const std::size_t end = std::min(file.find("\r\n", start), file.size());
        l.push_back(file.substr(start, end - start));
        start = end + 2;
    }
    return l;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& s : lines) out += s + "\r\n";
    return out;
}

// The file with line n (1-based) replaced.
std::string WithLine(const std::string& file, std::size_t n, const std::string& text)
{
    std::vector<std::string> l = Lines(file);
    l.at(n - 1) = text;
    return Joined(l);
}

TEST(FendralFile, BadFileKeepsTheList)
{
    clsFendral list;
    FendralTbl r = RichRecord("keep");
    list.Add_Data(r, 0);
    const clsFendral before = list;
    const std::string good = OldFile("1.04");
    ASSERT_EQ(Lines(good).at(37), "1");  // the pair count of block 1, side 0
    ASSERT_EQ(Lines(good).at(40), "0");  // its item count
    std::vector<std::string> lines = Lines(good);
    lines.resize(lines.size() - 4);
    const std::string truncated = Joined(lines);
    std::string halved = good;
    halved.resize(halved.size() / 2);
    struct Case {
        std::string bytes;
        const char* message;  // a part of the error's text
    };
    const Case cases[] = {
        {WithLine(good, 12, "abc"), "line 12: a number was expected"},
        {truncated, "the file ends inside a record"},
        {halved, "line 3: the record count 1 is more than the rest of the file holds"},
        {"", "line 1: the file ends inside a record"},
        // A version line must be a version; a later one reads as "1.04" (VersionTable).
        {WithLine(good, 2, "abc"), "line 2: unknown version"},
        {WithLine(good, 2, "0.99"), "line 2: unknown version"},
        {WithLine(good, 2, "1.0"), "line 2: unknown version"},
        {WithLine(good, 2, "1.04x"), "line 2: unknown version"},
        {WithLine(good, 2, ".104"), "line 2: unknown version"},
        {WithLine(good, 2, ""), "line 2: unknown version"},
        {WithLine(good, 3, ""), "line 3: the record count is blank"},
        {WithLine(good, 3, "  "), "line 3: the record count is blank"},
        {WithLine(good, 3, "-1"), "line 3: negative record count"},
        // Counts are bounded by the file before anything is sized by them.
        {WithLine(good, 3, "2"), "line 3: the record count 2 is more than the rest of the file holds"},
        {WithLine(good, 3, "2000000"), "line 3: the record count 2000000 is more"},
        {WithLine(good, 3, "1000000000"), "line 3: the record count 1000000000 is more"},
        {WithLine(good, 3, "1E+12"), "line 3: the number 1000000000000 is out of range"},
        {WithLine(good, 38, "2000000"), "line 38: the pair count 2000000 is more"},
        {WithLine(good, 38, ""), "line 38: the pair count is blank"},
        {WithLine(good, 41, "1000000000"), "line 41: the item count 1000000000 is more"},
        {WithLine(good, 41, "-3"), "line 41: negative item count"},
        {WithLine(good, 5, "256"), "line 5: a byte was expected"},
        {WithLine(good, 8, "40000"), "line 8: the number 40000 is out of range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        TempDir t;
        WriteBytes(t.dir() + "bad.Dat", c.bytes);
        try {
            list.Data_Read(t.dir(), "", "bad.Dat");
            ADD_FAILURE() << "read";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(list, before);
    }
}

// Numbers may share a line, separated by commas; a text takes the rest of its
// line. Such a file holds fewer lines than fields and still reads in full.
TEST(FendralFile, FieldsSharingLinesAreCounted)
{
    const std::set<std::string> texts = {"C1", "K35-2-30", "t1", "t2", "blk"};
    std::string packed;
    std::string lineSoFar;
    std::size_t n = 0;
    for (const std::string& f : Lines(OldFile("1.04", {"4", "6"}))) {
        if (f == "-+-") {
            if (!lineSoFar.empty()) packed += lineSoFar + "\r\n";
            packed += f + "\r\n";
            lineSoFar.clear();
            continue;
        }
        lineSoFar += (lineSoFar.empty() ? "" : ",") + f;
        if (n++ < 2 || texts.count(f) != 0) {  // title and version are texts too
            packed += lineSoFar + "\r\n";
            lineSoFar.clear();
        }
    }
    ASSERT_TRUE(lineSoFar.empty());
    const std::vector<std::string> lines = Lines(packed);
    ASSERT_EQ(lines.at(2), "2,4,0,C1");  // the count shares its line
    ASSERT_LT(lines.size(), 60u);

    TempDir t;
    WriteBytes(t.dir() + "p.Dat", packed);
    clsFendral list;
    list.Data_Read(t.dir(), "", "p.Dat");
    ASSERT_EQ(list.GetCount(), 2);
    FendralTbl r;
    list.Get_Data(2, r, 1);
    EXPECT_EQ(r.ID, 6);
    EXPECT_EQ(r.ModelName, "K35-2-30");
    EXPECT_EQ(r.Blocks(4).Sides(1).Pairs.at(1), (FendralPair{3, 4}));
    EXPECT_EQ(r.BaseDir, 2);
}

// Seeded mutations of a valid list: every file is either read whole or
// refused with the list exactly as it was; a list read is written and read
// back without change after the writer's own clean-up of its texts.
TEST(FendralFile, MutatedFilesAreReadOrRefusedWhole)
{
    TempDir t;
    clsFendral source;
    for (const char* n : {"1C1", "2C1", "3C1"}) {
        FendralTbl r = RichRecord(n);
        source.Add_Data(r, 0);
    }
    source.Data_Write(t.dir(), "", "base.Dat");
    const std::vector<std::string> bases = {ReadBytes(t.dir() + "base.Dat"), OldFile("1.02", {"4", "6"}),
                                            OldFile("1.00", {"1"})};

    clsFendral list;
    list.Data_Read(t.dir(), "", "base.Dat");
    const clsFendral before = list;

    const std::vector<std::string> tokens = {
        "",        " ",       "-1",      "0",           "2000000",     "1000000000", "2147483647", "2147483648",
        "65536",   "32768",   "256",     "1e400",       "-1e400",      "nan",        "inf",        "1E+308",
        "abc",     "9.99",    "1.00",    "1.10",        "#TRUE#",      "#FALSE#",    "-+-",        ",",
        ",,,",     "1,2",     "&HFFFF",  "-0",          "\x83\x41",    "\x83",       "1\r2",       "0.5"};
    std::mt19937 rng(20240611);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };

    int refused = 0, read = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string bytes = bases[pick(bases.size())];
        const std::size_t edits = 1 + pick(3);
        for (std::size_t e = 0; e < edits; ++e) {
            std::vector<std::string> l = Lines(bytes);
            if (l.empty()) l.push_back("");
            const std::size_t at = pick(l.size());
            switch (pick(6)) {
            case 0: l[at] = tokens[pick(tokens.size())]; break;
            case 1: l.erase(l.begin() + static_cast<long>(at)); break;
            case 2: l.insert(l.begin() + static_cast<long>(at), l[at]); break;
            case 3: std::swap(l[at], l[pick(l.size())]); break;
            case 4: l[at].insert(pick(l[at].size() + 1), 1, ','); break;
            default: {
                std::string joined = Joined(l);
                joined[pick(joined.size())] = static_cast<char>(pick(256));
                if (pick(4) == 0) joined.resize(pick(joined.size()));
                bytes = joined;
                continue;
            }
            }
            bytes = Joined(l);
        }
        SCOPED_TRACE("mutation " + std::to_string(i));
        WriteBytes(t.dir() + "m.Dat", bytes);
        clsFendral m = list;
        try {
            m.Data_Read(t.dir(), "", "m.Dat");
        } catch (const std::runtime_error&) {
            ++refused;
            ASSERT_EQ(m, before);
            continue;
        }
        ++read;
        m.Data_Write(t.dir(), "", "w1.Dat");
        clsFendral once;
        once.Data_Read(t.dir(), "", "w1.Dat");
        ASSERT_EQ(once.GetCount(), m.GetCount());
        ASSERT_EQ(once.MaxID(), m.MaxID());
        once.Data_Write(t.dir(), "", "w2.Dat");
        ASSERT_EQ(ReadBytes(t.dir() + "w2.Dat"), ReadBytes(t.dir() + "w1.Dat"));
    }
    // Both ways are taken often.
    EXPECT_GT(refused, 500);
    EXPECT_GT(read, 300);
}

TEST(FendralFile, OnlyRegularFilesAreRead)
{
    TempDir t;
    clsFendral list;
    FendralTbl r = RichRecord("keep");
    list.Add_Data(r, 0);
    const clsFendral before = list;
    // A FIFO without a writer would block an ordinary open for good.
    ASSERT_EQ(::mkfifo((t.dir() + "fifo.Dat").c_str(), 0600), 0);
    fs::create_directory(t.dir() + "dir.Dat");
    for (const char* name : {"fifo.Dat", "dir.Dat"}) {
        SCOPED_TRACE(name);
        try {
            list.Data_Read(t.dir(), "", name);
            ADD_FAILURE() << "read";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("is not a regular file"), std::string::npos) << e.what();
        }
        EXPECT_EQ(list, before);
    }
    // A link to a list is read as the list.
    WriteBytes(t.dir() + "real.Dat", OldFile("1.04"));
    fs::create_symlink(t.dir() + "real.Dat", t.dir() + "link.Dat");
    list.Data_Read(t.dir(), "", "link.Dat");
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(FendralFile, NumberTexts)
{
    struct Case {
        double v;
        const char* text;
    };
    const Case cases[] = {{550, "550"},       {22.5, "22.5"},   {-1, "-1"},     {1e-05, "1E-05"},
                          {0, "0"},           {0.5, "0.5"},     {-0.5, "-0.5"}, {0.0001, "0.0001"},
                          {1.5e-07, "1.5E-07"}, {1e15, "1E+15"}, {123456789012345, "123456789012345"}};
    for (const Case& c : cases) EXPECT_EQ(FendralNumberText(c.v), c.text) << c.v;
}

TEST(FendralFile, Paths)
{
    EXPECT_EQ(clsFendral::ResolvePath("/P/", "****", ""), "/P/SFKOLCHK/Fendral.Dat");
    EXPECT_EQ(clsFendral::ResolvePath("/P/", "abc", ""), "/P/abc/Fendral.Dat");
    EXPECT_EQ(clsFendral::ResolvePath("/P/", "abc\\", ""), "/P/abc/Fendral.Dat");
    EXPECT_EQ(clsFendral::ResolvePath("/P/", "", "RebarTemp.Tmp"), "/P/RebarTemp.Tmp");
    EXPECT_EQ(clsFendral::ResolvePath("C:\\P\\", "****", ""), "C:/P/SFKOLCHK/Fendral.Dat");
}

class FendralList : public ::testing::Test {
protected:
    // Records named A, B, C with IDs 1, 2, 3.
    void SetUp() override
    {
        for (const char* n : {"A", "B", "C"}) {
            FendralTbl r;
            r.ColName = n;
            list.Add_Data(r, 0);
        }
    }
    std::string Names() const
    {
        std::string s;
        FendralTbl r;
        for (int32_t i = 1; i <= list.GetCount(); ++i) {
            list.Get_Data(i, r, 1);
            s += r.ColName + std::to_string(r.ID);
        }
        return s;
    }
    clsFendral list;
};

TEST_F(FendralList, IdsAfterReadContinueFromTheHighest)
{
    TempDir t;
    clsFendral l;
    WriteBytes(t.dir() + "ids.Dat", OldFile("1.04", {"3", "7", "5"}));
    l.Data_Read(t.dir(), "", "ids.Dat");
    ASSERT_EQ(l.GetCount(), 3);
    FendralTbl r;
    EXPECT_EQ(l.Add_Data(r, 0), 8);
    EXPECT_EQ(r.ID, 8);
}

TEST_F(FendralList, GetSetAndFlag)
{
    FendralTbl r;
    r.ColName = "junk";
    EXPECT_EQ(list.Get_Data(99, r, 0), -1);
    EXPECT_EQ(r, FendralTbl{});
    EXPECT_EQ(list.Get_Data(2, r, 0), 0);
    EXPECT_EQ(r.ColName, "B");
    EXPECT_THROW(list.Get_Data(4, r, 1), vb::Error);

    FendralTbl other;
    other.ID = 42;
    other.ColName = "X";
    EXPECT_EQ(list.Set_Data(2, other, 1), 0);
    EXPECT_EQ(list.Set_Data(42, other, 0), -1);
    EXPECT_EQ(Names(), "A1X2C3");
    EXPECT_EQ(list.Set_DataFlag(3, 9), 0);
    list.Get_Data(3, r, 0);
    EXPECT_EQ(r.Flag, 9);
    EXPECT_EQ(list.Set_DataFlag(99, 1), -1);
}

TEST_F(FendralList, DeleteEditSwapOrder)
{
    EXPECT_EQ(list.Del_Data(99), -1);
    EXPECT_EQ(Names(), "A1B2C3");
    EXPECT_EQ(list.Del_Data(2, 1), 0);
    EXPECT_EQ(Names(), "A1C3");
    EXPECT_EQ(list.Del_Data(3), 0);  // by ID
    EXPECT_EQ(Names(), "A1");

    SetUp();  // A1 B2 C3 appended: IDs continue at 4
    EXPECT_EQ(Names(), "A1A4B5C6");
    list.Edit_DataPosPos(4, 3);
    EXPECT_EQ(Names(), "A1A4B5B5");
    list.Swap_DataByIndex(1, 3);
    EXPECT_EQ(Names(), "B5A4A1B5");
    EXPECT_THROW(list.Swap_DataByIndex(0, 1), vb::Error);
}

TEST_F(FendralList, OrderAndNames)
{
    EXPECT_EQ(list.OrderData(2, {0, 3, 1}), 0);
    EXPECT_EQ(Names(), "A1B2C3");
    EXPECT_EQ(list.OrderData(3, {0, 3, 99, 1}), 1);
    EXPECT_EQ(Names(), "C3B2A1");
    std::vector<int32_t> ids;
    EXPECT_EQ(list.GetList(ids), 3);
    EXPECT_EQ(ids, (std::vector<int32_t>{0, 3, 2, 1}));

    EXPECT_TRUE(list.CheckNameExist("A", 0));
    EXPECT_FALSE(list.CheckNameExist("A", 1));
    EXPECT_TRUE(list.CheckNameExist("A", 2));
    EXPECT_FALSE(list.CheckNameExist("a", 0));
}

}  // namespace
