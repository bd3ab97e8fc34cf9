// The N-M relation file: byte for byte against hand-written files on a
// scripted engine, the count rules, failures, and one run on the sample
// catalogue.
#include "engine/kv.h"
#include "exchange/devout_rules.h"
#include "exchange/nm_file.h"
#include "model/base_data.h"
#include "model/failure.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/save_choice.h"
#include "model/texts.h"
#include "platform/text/cp932.h"
#include "tests/exchange/scripted_nm.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QSettings>
#include <QString>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace {

using namespace model;
using exchange::NMFileChoices;
using nmfiletest::ScriptedNM;
namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& p, const std::string& b) { std::ofstream(p, std::ios::binary) << b; }

std::string Golden(const char* name) { return ReadBytes(fs::path(KV_FIXTURE_DIR) / "nm_csv" / name); }

std::string Rank(int16_t, int16_t d) { return d == 0 ? "FA" : "FB"; }

// The program-wide values the file reads, put back after each test.
class NMFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("kv nm file " + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        gCond = ProjectCondTbl{};
        gCond.SMode = kTrue;
        gCond.DesignRootX = gCond.DesignRootY = 2;
        gCond.DevNum = 6;
        gSIDisp = true;
        gUnitFactor = 9.80665;
        gDispMode = 0;
        gDataChanged = false;
    }
    void TearDown() override
    {
        gCond = cond_;
        gColumns = columns_;
        gKvBase = bases_;
        gResults = results_;
        gSIDisp = si_;
        gUnitFactor = unit_;
        gDispMode = dispMode_;
        gDataChanged = changed_;
        fs::remove_all(dir);
    }

    // n steel columns named C1.. on a symmetric series-1 base.
    void Columns(int n)
    {
        gCond.ColCount = static_cast<int16_t>(n);
        gColumns.redim(n);
        gKvBase.redim(n);
        gResults.redim(n);
        for (int i = 1; i <= n; ++i) {
            ColumnDataTbl& c = gColumns(i);
            c.ColName = "C" + std::to_string(i);
            c.KolvanID = 100 + i;
            c.AbNum = 1;
            KvBaseTbl& b = gKvBase(i);
            b.KvName = "SBASE-1";
            b.KvV = 1;
            b.AbD = 24;
            b.KbsSI(0) = 1234.5;
            b.KbsSI(1) = 99;
            b.Kbs(0) = 1.26;
            b.Kbs(1) = 0.05;
        }
    }

    // Two SRC columns on route 3 (X) and 2-1 (Y); the second is turned,
    // bundles its X bars and has a wall in X.
    void SrcColumns()
    {
        Columns(2);
        gCond.SMode = kFalse;
        gCond.DesignRootX = 3;
        gCond.DesignRootY = 21;
        for (int i = 1; i <= 2; ++i) {
            ColumnDataTbl& c = gColumns(i);
            c.ColName = "P" + std::to_string(i);
            c.ColV = 7;
            c.ColMatCode = 9;
            const double h[] = {400, 200, 9, 12};
            for (int k = 1; k <= 4; ++k) c.SrcHDim(0, k) = h[k - 1];
            c.cD(0) = 800;
            c.cD(1) = 900;
            c.RBarVal = "D25";
            c.RBarMat = "SD390";
            c.RtN(0) = 4;
            c.RtN(1) = 5;
            const double x[] = {123.45, 2345.6, 2789.4, 0.123456};
            const double y[] = {0, 1111.4, 1333.5, 0.5};
            for (int k = 0; k <= 3; ++k) {
                c.SrcColSpec(0, k) = x[k];
                c.SrcColSpec(1, k) = y[k];
            }
        }
        gColumns(2).KvRotate = 1;
        gColumns(2).RTabane(0) = 1;
        gColumns(2).CenColWall(0) = 1;
    }

    static NMFileChoices Choices(const std::string& count, std::vector<bool> columns)
    {
        NMFileChoices c;
        c.lvwColumn = std::move(columns);
        c.chkDrawNMMode = {true, true, false};
        c.chkDrawNMObj = {true, false, false, false, false};
        c.txtDevNum = count;
        return c;
    }

    std::string Build(const NMFileChoices& c) { return exchange::BuildNMFile(engine, c, Rank); }

    ScriptedNM engine;
    ui::testing::ScriptedUi script;
    ui::testing::ScopedUi scoped{script};
    fs::path dir;

private:
    ProjectCondTbl cond_ = gCond;
    ColumnArray<ColumnDataTbl> columns_ = gColumns;
    ColumnArray<KvBaseTbl> bases_ = gKvBase;
    ColumnArray<ColumnResultTbl> results_ = gResults;
    bool si_ = gSIDisp;
    double unit_ = gUnitFactor;
    int16_t dispMode_ = gDispMode;
    bool changed_ = gDataChanged;
};

TEST_F(NMFile, SteelColumnWithDefaultChoicesIs24Lines)
{
    Columns(1);
    const std::string bytes = Build(Choices("6", {true}));
    EXPECT_EQ(bytes, Golden("s_basic.csv"));
    std::size_t lines = 0;
    for (std::size_t p = 0; (p = bytes.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    EXPECT_EQ(lines, 24u);
}

TEST_F(NMFile, BasesThatDifferInXAndYAndATurnedOne)
{
    Columns(2);
    gSIDisp = false;
    for (int i = 1; i <= 2; ++i) {
        gColumns(i).ColName = "R" + std::to_string(i);
        gKvBase(i).RotateMode = kTrue;
    }
    gColumns(2).KvDir = 1;  // 90 degrees: X is the engine's direction 1
    NMFileChoices c = Choices("6", {true, true});
    c.chkDrawNMMode = {false, true, false};
    EXPECT_EQ(Build(c), Golden("s_rotate.csv"));
}

TEST_F(NMFile, FourDivisionsUseThirdsAndTheSeries5Middle)
{
    EXPECT_EQ(std::pow(0.4, 2.0 / 3.0), 0.5428835233189814);
    Columns(2);
    gColumns(1).ColName = "K1";
    gColumns(2).ColName = "K5";
    gKvBase(2).KvName = "SBASE-5";
    gKvBase(2).KvV = 5;
    NMFileChoices c = Choices("4", {true, true});
    c.chkDrawNMMode = {true, false, false};
    EXPECT_EQ(Build(c), Golden("s_n4.csv"));
}

TEST_F(NMFile, OneDivisionGivesTheEndsOnly)
{
    Columns(1);
    NMFileChoices c = Choices("1", {true});
    c.chkDrawNMMode = {true, false, false};
    EXPECT_EQ(Build(c), Golden("s_n1.csv"));
    // None, two and three divisions: ends plus 0, 1 and 2 interior points.
    for (const auto& [count, points] : {std::pair{"0", 2}, {"2", 3}, {"3", 4}, {"-7", 2}}) {
        c.txtDevNum = count;
        const std::string text = Build(c);
        int got = 0;
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);)
            if (!l.empty() && (l[0] == '-' || std::isdigit(static_cast<unsigned char>(l[0]))) && l.find(',') != std::string::npos)
                ++got;
        EXPECT_EQ(got, points) << count;
    }
}

TEST_F(NMFile, SrcColumnsWithAllCurves)
{
    SrcColumns();
    NMFileChoices c = Choices("4", {true, true});
    c.chkDrawNMObj = {true, true, true, true, true};
    EXPECT_EQ(Build(c), Golden("src_all.csv"));
}

TEST_F(NMFile, BundledBarsOfOneDirectionMarkItAndGiveTheLegend)
{
    struct Case {
        const char* what;
        int16_t kvDir, bundledX, bundledY;
        const char* line;
    } cases[] = {
        {"Y bars only", 0, 0, 1, "鉄筋,D25,SD390,本数, 4,,×, 5,(*),  (*):束ね有り"},
        {"Y bars only, base turned", 1, 0, 1, "鉄筋,D25,SD390,本数, 5,(*),×, 4,,  (*):束ね有り"},
        {"none", 0, 0, 0, "鉄筋,D25,SD390,本数, 4,,×, 5,,"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        SrcColumns();
        gColumns(1).KvDir = k.kvDir;
        gColumns(1).RTabane(0) = k.bundledX;
        gColumns(1).RTabane(1) = k.bundledY;
        const std::string text = text::FromCp932(Build(Choices("4", {true, false})));
        const std::size_t at = text.find("鉄筋,");
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(text.substr(at, text.find("\r\n", at) - at), k.line);
    }
}

TEST_F(NMFile, SrcDataIsSentAgainInEveryDirectionPass)
{
    SrcColumns();
    gKvBase(1).RotateMode = kTrue;
    NMFileChoices c = Choices("6", {true, false});
    c.chkDrawNMObj = {false, false, false, false, false};
    const std::string text = text::FromCp932(Build(c));
    // Header, then per state and pass: src, setRuika.
    const std::vector<std::string> want{"base", "src", "src", "setRuika", "src", "setRuika",
                                        "src", "setRuika", "src", "setRuika"};
    EXPECT_EQ(engine.log, want);
    // No curve ticked: per state the heading and the two direction lines.
    EXPECT_NE(text.find("-- 短期時のN-M関係　--\r\n  // X方向 //\r\n  // Y方向 //\r\n-- 終局時のN-M関係　--\r\n"
                        "  // X方向 //\r\n  // Y方向 //\r\n"),
              std::string::npos);
}

TEST_F(NMFile, EmptyChoices)
{
    Columns(2);
    // No state: the header lines of each ticked column only.
    NMFileChoices c = Choices("6", {true, false});
    c.chkDrawNMMode = {false, false, false};
    const std::string basic = Golden("s_basic.csv");
    std::size_t fourth = 0;
    for (int k = 0; k < 4; ++k) fourth = basic.find("\r\n", fourth) + 2;
    EXPECT_EQ(Build(c), basic.substr(0, fourth));

    // No column: an empty file, written over what was there.
    c = Choices("6", {false, false});
    c.path = (dir / "empty.csv").string();
    WriteBytes(c.path, "old");
    ASSERT_TRUE(exchange::ExportNMFile(engine, c, Rank));
    EXPECT_EQ(fs::file_size(c.path), 0u);
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(NMFile, NameThatCp932CannotHold)
{
    Columns(1);
    gColumns(1).ColName = "C\xC3\xA9";  // e with an acute accent
    const std::string bytes = Build(Choices("6", {true}));
    EXPECT_EQ(bytes.substr(0, 10), text::ToCp932("☆- C?  SB"));
}

TEST_F(NMFile, WrittenFileStoresTheCountButLeavesTheProjectUnchanged)
{
    Columns(1);
    gCond.DevNum = 2;
    NMFileChoices c = Choices("4.5", {true});  // half to even: 4
    c.path = (dir / "out.csv").string();
    ASSERT_TRUE(exchange::ExportNMFile(engine, c, Rank));
    EXPECT_EQ(gCond.DevNum, 4);
    EXPECT_FALSE(gDataChanged);
    EXPECT_EQ(ReadBytes(c.path), Build(c));
}

TEST_F(NMFile, FailuresLeaveTheOldFileAndTheCount)
{
    Columns(3);
    gCond.DevNum = 9;
    struct Case {
        const char* what;
        std::string path;
        int failAfter;
        std::string count;
    } cases[] = {
        {"folder missing", (dir / "no such folder" / "x.csv").string(), -1, "6"},
        {"engine fails in the third column", (dir / "old.csv").string(), 20, "6"},
        {"count beyond 16 bits", (dir / "old.csv").string(), -1, "40000"},
    };
    for (const Case& k : cases) {
        script.messages.clear();
        WriteBytes(dir / "old.csv", "old bytes");
        engine.failAfterReads = k.failAfter;
        NMFileChoices c = Choices(k.count, {true, true, true});
        c.path = k.path;
        EXPECT_FALSE(exchange::ExportNMFile(engine, c, Rank)) << k.what;
        ASSERT_EQ(script.messages.size(), 1u) << k.what;
        EXPECT_NE(script.messages[0].text.find(k.path), std::string::npos) << k.what;
        EXPECT_EQ(script.messages[0].kind, ui::MessageKind::Critical);
        EXPECT_EQ(ReadBytes(dir / "old.csv"), "old bytes") << k.what;
        EXPECT_FALSE(fs::exists(dir / "no such folder")) << k.what;
        EXPECT_EQ(gCond.DevNum, 9) << k.what;
        // No temporary file is left beside the target.
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << k.what;
    }
}

// ---- The count box ----

TEST(DevNumRules, LeavingTheBox)
{
    const std::pair<const char*, const char*> cases[] = {
        {"150", "100"}, {"101", "100"}, {"100", "100"}, {"2", "4"},       {"3.4", "4"},
        {"abc", "4"},   {"", "4"},      {"-5", "4"},    {"99999999", "100"}, {"1e400", "100"},
        {"-1e400", "4"}, {"3.5", "3.5"}, {"7x", "7x"},  {" 12 ", " 12 "}, {"100.4", "100.4"},
        {"100.5", "100.5"}, {"101.5", "100"},
    };
    for (const auto& [typed, left] : cases) EXPECT_EQ(exchange::DevNumOnLeave(typed), left) << typed;
}

TEST(DevNumRules, Spinner)
{
    struct Case {
        const char* text;
        int bar;
        const char* after;
    } cases[] = {
        {"6", 2, "7"},     {"6", 4, "5"},     {"100", 2, "100"}, {"100", 4, "99"},
        {"4", 4, "4"},     {"4", 2, "5"},     {"2", 2, "3"},     {"2", 4, "2"},
        {"99", 1, "100"},  {"5", 5, "4"},     {"6", 3, "6"},     {"abc", 2, "1"},
        {"1e400", 4, "100"}, {"1e400", 2, "1e400"}, {"3.5", 2, "5"},
    };
    for (const Case& c : cases) EXPECT_EQ(exchange::DevNumSpin(c.text, c.bar), c.after) << c.text << " " << c.bar;
}

TEST(DevNumRules, DivisionCount)
{
    EXPECT_EQ(exchange::DivisionCount("6"), 6);
    EXPECT_EQ(exchange::DivisionCount("2.5"), 2);
    EXPECT_EQ(exchange::DivisionCount("3.5"), 4);
    EXPECT_EQ(exchange::DivisionCount("x"), 0);
    EXPECT_EQ(exchange::DivisionCount("-32768"), -32768);
    EXPECT_THROW(exchange::DivisionCount("32768"), model::Refusal);
    EXPECT_THROW(exchange::DivisionCount("1e400"), model::Refusal);
}

// ---- The sample catalogue ----

class NMFileOnSample : public NMFile {
protected:
    void SetUp() override
    {
        NMFile::SetUp();
        fs::create_directories(dir / "settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString((dir / "settings").string()));
        StartProgram(KV_SAMPLE_DIR, "");
    }
    void TearDown() override
    {
        gKv.reset();
        NMFile::TearDown();
    }

    // The lines of the file as UTF-8, without their CR LF.
    static std::vector<std::string> Lines(const std::string& bytes)
    {
        std::vector<std::string> out;
        const std::string text = text::FromCp932(bytes);
        for (std::size_t p = 0; p < text.size();) {
            const std::size_t e = text.find("\r\n", p);
            out.push_back(text.substr(p, e - p));
            p = e + 2;
        }
        return out;
    }

    // Every point block falls from top to bottom and has the count given
    // by its heading; returns the number of blocks.
    static int CheckBlocks(const std::vector<std::string>& lines, int n)
    {
        int blocks = 0;
        bool ultimate = false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].rfind("-- ", 0) == 0) ultimate = lines[i] == "-- 終局時のN-M関係　--";
            if (lines[i].rfind("  N(", 0) != 0) continue;
            ++blocks;
            const std::string heading = lines[i - 1];
            std::vector<double> ns;
            std::size_t k = i + 1;
            for (; k < lines.size() && !lines[k].empty(); ++k) ns.push_back(std::stod(lines[k].substr(0, lines[k].find(','))));
            EXPECT_LT(k, lines.size()) << "block without its empty line at " << i;
            std::size_t want = n + 1;
            if (heading == "*** 鉄筋 ***") want = 3;
            if (heading == "*** 鉄骨柱 ***") want = ultimate ? 4 : 3;
            EXPECT_EQ(ns.size(), want) << heading << " at " << i;
            for (std::size_t j = 1; j < ns.size(); ++j) EXPECT_LT(ns[j], ns[j - 1]) << heading << " at " << i;
        }
        return blocks;
    }
};

TEST_F(NMFileOnSample, SteelAndSrcColumns)
{
    fs::create_directories(KV_TEST_OUT_DIR);
    // The default steel column, twice.
    const ColumnDataTbl col = gColumns(1);
    const KvBaseTbl base = gKvBase(1);
    gCond.ColCount = 2;
    gColumns.redim(2);
    gKvBase.redim(2);
    gResults.redim(2);
    for (int i = 1; i <= 2; ++i) {
        gColumns(i) = col;
        gColumns(i).ColName = "柱" + std::to_string(i);
        gKvBase(i) = base;
    }
    NMFileChoices c = Choices("6", {true, true});
    c.path = (fs::path(KV_TEST_OUT_DIR) / "nm_relation.csv").string();
    ASSERT_TRUE(exchange::ExportNMFile(c)) << (script.messages.empty() ? "" : script.messages[0].text);
    std::vector<std::string> lines = Lines(ReadBytes(c.path));
    const int passes = gKvBase(1).RotateMode != kFalse ? 2 : 1;
    EXPECT_EQ(CheckBlocks(lines, 6), 2 * 2 * passes);
    EXPECT_EQ(lines[0], "☆- 柱1  " + GetKvNameByIndex(1) + " -☆");
    EXPECT_EQ(lines[1].rfind("コルヴァン,底面, ", 0), 0u);
    EXPECT_EQ(lines[3].rfind("回転ばね定数(×10^3kN･m/rad),", 0), 0u);
    if (passes == 1) {
        EXPECT_EQ(lines.size(), 48u);
    }

    // An SRC project of the template column on route 3, all curves.
    gCond.SMode = kFalse;
    gCond.DesignRootX = gCond.DesignRootY = 3;
    gColumns(1) = gColumnDefaultSrc;
    gColumns(1).ColName = "SRC1";
    LoadKvBaseData(gColumns(1).KolvanID, gColumns(1).AbNum, gKvBase(1));
    c = Choices("6", {true, false});
    c.chkDrawNMObj = {true, true, true, true, true};
    c.path = (fs::path(KV_TEST_OUT_DIR) / "nm_relation_src.csv").string();
    ASSERT_TRUE(exchange::ExportNMFile(c)) << (script.messages.empty() ? "" : script.messages[0].text);
    lines = Lines(ReadBytes(c.path));
    const int srcPasses = gKvBase(1).RotateMode != kFalse ? 2 : 1;
    EXPECT_EQ(CheckBlocks(lines, 6), 2 * 5 * srcPasses);
    EXPECT_EQ(lines[3].rfind("鉄骨柱,", 0), 0u);
    EXPECT_EQ(lines[11].rfind("柱脚で決まる柱ランク,(X),", 0), 0u);
    EXPECT_EQ(lines[12], "-- 短期時のN-M関係　--");
    EXPECT_EQ(gCond.DevNum, 6);
}

}  // namespace
