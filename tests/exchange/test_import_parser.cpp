// The import file format: splitting, dates, the parser's records and the
// edge cases of the format.
#include "tests/exchange/import_fixture.h"

#include "model/sections.h"
#include "platform/text/vb.h"

#include <cmath>

namespace {

using namespace importtest;
using exchange::SplitCsvFields;

const double g = 9.80665;

template <std::size_t N>
std::string T(const text::FixedText<N>& f)
{
    return vb::Trim(text::FieldText(f));
}

TEST(ImportSplit, FieldsAndLastIndex)
{
    struct Case {
        std::string line;
        std::vector<std::string> fields;
        int last;
        std::string lineAfter;
    } cases[] = {
        {"BPLX,10,2,1,3,0.5,,,", {"BPLX", "10", "2", "1", "3", "0.5", "0", "0"}, 5, "BPLX,10,2,1,3,0.5"},
        {"", {"0", "0", "0", "0", "0", "0", "0", "0"}, 0, ""},
        {"A,,B", {"A", "0", "B", "0", "0", "0", "0", "0"}, 2, "A,,B"},
        {" CNAME , C 1 ", {" CNAME ", " C 1 ", "0", "0", "0", "0", "0", "0"}, 1, " CNAME , C 1 "},
        {"K,1,2,3,4,5,6,7,8", {"K", "1", "2", "3", "4", "5", "6", "7", "8", "0"}, 8, "K,1,2,3,4,5,6,7,8"},
    };
    for (Case& c : cases) {
        std::vector<std::string> f{"stale"};
        int last = -1;
        std::string line = c.line;
        SplitCsvFields(line, f, last);
        EXPECT_EQ(f, c.fields) << c.line;
        EXPECT_EQ(last, c.last) << c.line;
        EXPECT_EQ(line, c.lineAfter);
    }
}

TEST(ImportDate, TextAndDate)
{
    const double today = TodayOleDate();
    EXPECT_EQ(exchange::NormalizeDateText("2010.4.1"), "2010/4/1");
    EXPECT_EQ(exchange::NormalizeDateText(" 2010/04/01 "), "2010/04/01");
    struct Case {
        const char* text;
        double date;
    } cases[] = {
        {"2010.4.1", 40269},   {"2010/04/01", 40269}, {"2010.04", today},    {"20100401", today},
        {"2010.4.1.2", today}, {"2010.2.30", today},  {"10.4.1", today},     {"2012/2/29", 40968},
        {"", today},           {"年/4/1", today},     {"2010/4/1/", today},  {"99999/1/1", today},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exchange::ReadImportDate(exchange::NormalizeDateText(c.text)), c.date) << c.text;
}

TEST(ImportBytes, LinesAndEncoding)
{
    using exchange::DecodeImportLines;
    EXPECT_EQ(DecodeImportLines("A\r\nB\nC\rD"), (Lines{"A", "B", "C", "D"}));
    EXPECT_EQ(DecodeImportLines("A\r\n\r\n\nB\r\n"), (Lines{"A", "", "", "B"}));
    EXPECT_EQ(DecodeImportLines("\t A \r"), (Lines{"\t A "}));
    EXPECT_TRUE(DecodeImportLines("").empty());
    EXPECT_EQ(DecodeImportLines(text::ToCp932("CNAME,柱Ａ①ｶﾅ")), (Lines{"CNAME,柱Ａ①ｶﾅ"}));
    using namespace std::string_literals;
    const std::string bad[] = {"\xEF\xBB\xBF" "A"s, "A\0B"s, "A\x81"s, "A\x81\x20"s, "A\xFF"s, "\x01\x02"s};
    for (const std::string& b : bad) EXPECT_THROW(DecodeImportLines(b), exchange::ImportError) << b.size();
}

class Parser : public ImportTest {};

TEST_F(Parser, FirstBlockWithoutGradeOrSectionGoesToTheBaseChoice)
{
    Lines l = Axes();
    l.insert(l.end(), {"CAXIS,1,1", "BPNAME,QX250A-24", "BPLX,1,0,0,0,0"});
    ScriptedChooser chooser;
    // No section size: the base does not fit either, so it is asked twice.
    chooser.picks = {{IdOf("QX250A"), 1}, {IdOf("QX250A"), 1}};
    Parse("bare.txt", l, &chooser);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "柱の種類の指定に誤りがあります。\r\r強制的に角形鋼管に設定します。");
    EXPECT_EQ(chooser.asked, (std::vector<int32_t>{1, 1}));
    ASSERT_EQ(gCond.ColCount, 1);
    EXPECT_EQ(gColumns(1).ColV, 0);
    // No grade name: the template's F stays and picks the box grade.
    ASSERT_EQ(gColumnDefault.ColF, 3.0);
    EXPECT_EQ(gColumns(1).ColMatCode, 0);
    EXPECT_EQ(gColumns(1).ColF, 3.0);
}

TEST_F(Parser, TwoColumnFileGivesExactRecords)
{
    Parse("two.txt", TwoColumnFile());
    EXPECT_TRUE(script.messages.empty());
    EXPECT_TRUE(gDataChanged);
    ASSERT_EQ(gCond.ColCount, 2);
    EXPECT_EQ(T(gCond.ImportApp), "構造計算X : 1.2");
    EXPECT_EQ(T(gCond.Bukken), "テスト物件");
    EXPECT_EQ(T(gCond.Tantou), "設計 一郎");
    EXPECT_EQ(gCond.BukkenDate, 40269);
    EXPECT_EQ(T(gCond.ImportFile), "two.txt");
    EXPECT_EQ(T(gCond.ImportDir), dir.string() + "/");
    EXPECT_EQ(gCond.DesignRootX, 12);
    EXPECT_EQ(gCond.DesignRootY, 3);
    EXPECT_EQ(gCond.UltCalcMode, 0);
    EXPECT_EQ(gCond.GammaX, 2.5);
    EXPECT_EQ(gCond.GammaY, 1.5);
    EXPECT_EQ(gCond.BrBeta1, 0.8);
    EXPECT_EQ(gCond.BrBeta2, 0.9);
    EXPECT_EQ(gCond.SCondition, 1);
    EXPECT_EQ(gCond.Alpha1, 0.7);
    EXPECT_EQ(gCond.Alpha2, 0.35);
    EXPECT_EQ(gCond.Lw1, 2);
    EXPECT_EQ(gCond.Lw2, 3);
    EXPECT_EQ(gCond.AxisCountX, 2);
    EXPECT_EQ(gCond.AxisCountY, 3);
    EXPECT_EQ(gCond.SMode, kTrue);

    const ColumnDataTbl& c1 = gColumns(1);
    EXPECT_EQ(T(c1.ColName), "C1(X2-Y3)");
    EXPECT_EQ(c1.AxisXNo, 2);
    EXPECT_EQ(c1.AxisYNo, 3);
    EXPECT_EQ(T(c1.AxisXName), "X2");
    EXPECT_EQ(T(c1.AxisYName), "Y3");
    EXPECT_EQ(c1.Fc, 24);
    EXPECT_EQ(c1.KolvanID, IdOf("KS300A"));
    EXPECT_EQ(c1.KvV, 1);
    EXPECT_EQ(c1.AbNum, 2);
    EXPECT_EQ(c1.KvDir, 1);
    EXPECT_EQ(c1.KvRotate, 1);
    EXPECT_EQ(c1.BPLen, 800);
    EXPECT_EQ(c1.ColMatCode, 0);
    EXPECT_EQ(c1.ColF, 3.0);
    EXPECT_EQ(c1.ColV, 0);
    EXPECT_EQ(c1.ColSize, 300);
    EXPECT_EQ(c1.ColT, 12);
    EXPECT_EQ(T(c1.CSizeKind), "B");
    EXPECT_EQ(c1.ColID, 105);
    EXPECT_EQ(T(gKvBase(1).KvName), "KS300A");
    EXPECT_EQ(gKvBase(1).AbNum, 2);

    // Long-term: BPLL into cases 1 and 2, BPLX added into case 1; N in rows 1 and 4.
    EXPECT_DOUBLE_EQ(c1.LoadTbl(1, 1), 11);
    EXPECT_DOUBLE_EQ(c1.LoadTbl(4, 1), 11);
    EXPECT_DOUBLE_EQ(c1.LoadTbl(2, 1), 2);
    EXPECT_DOUBLE_EQ(c1.LoadTbl(3, 1), 1);
    EXPECT_DOUBLE_EQ(c1.LoadTbl(5, 1), 3);
    EXPECT_DOUBLE_EQ(c1.LoadTbl(6, 1), 0.5);
    EXPECT_DOUBLE_EQ(c1.LoadTbl(1, 2), 10);
    // Every other case once, SI values divided by the factor.
    const struct {
        int loadCase;
        double first;
    } cases[] = {{3, 1}, {4, 6}, {5, 11}, {6, 16}, {7, 1}, {8, 2}, {9, 3}, {10, 4},
                 {11, 5}, {12, 5}, {15, 21}, {16, 26}, {17, 31}, {18, 36}};
    for (const auto& c : cases) {
        const bool flat = c.loadCase >= 7 && c.loadCase <= 12;
        for (int r = 1; r <= 6; ++r) {
            const int k = r == 4 ? 0 : (r < 4 ? r - 1 : r - 2);
            const double v = flat ? c.first : c.first + k;
            EXPECT_DOUBLE_EQ(c1.LoadTbl(r, c.loadCase), v / g) << "row " << r << " case " << c.loadCase;
        }
    }
    for (int col : {13, 14, 19, 20})
        for (int r = 1; r <= 8; ++r) EXPECT_EQ(c1.LoadTbl(r, col), 0) << col;
    for (int col = 1; col <= 20; ++col) EXPECT_EQ(c1.LoadTbl(7, col), 0);
    EXPECT_DOUBLE_EQ(c1.LoadTblBR(1, 1), 1);
    EXPECT_DOUBLE_EQ(c1.LoadTblBR(4, 2), 1);
    EXPECT_DOUBLE_EQ(c1.LoadTblBR(6, 18), 5 / g);
    EXPECT_DOUBLE_EQ(c1.LoadTblBR(5, 18), 4 / g);

    const ColumnDataTbl& c2 = gColumns(2);
    EXPECT_EQ(T(c2.ColName), "C2(X1-Y1)");
    EXPECT_EQ(c2.KolvanID, IdOf("QX250A"));
    EXPECT_EQ(c2.AbNum, 2);
    EXPECT_EQ(c2.KvV, 0);
    EXPECT_EQ(c2.KvDir, 0);
    EXPECT_EQ(c2.KvRotate, 0);
    EXPECT_EQ(c2.ColSize, 250);
    EXPECT_EQ(c2.ColT, 9);
    EXPECT_EQ(c2.Fc, gColumnDefault.Fc);
    EXPECT_DOUBLE_EQ(c2.LoadTbl(1, 1), 10);
    EXPECT_DOUBLE_EQ(c2.LoadTbl(1, 11), 1);
    EXPECT_DOUBLE_EQ(c2.LoadTbl(1, 12), 2);
    EXPECT_DOUBLE_EQ(c2.LoadTbl(1, 2), 0);
    // The first block's closing line belongs to it alone.
    EXPECT_DOUBLE_EQ(c2.LoadTblBR(1, 18), 1);
    EXPECT_DOUBLE_EQ(c2.LoadTblBR(2, 18), 0);
    EXPECT_EQ(T(gKvBase(2).KvName), "QX250A");
}

// The parser on a folder and a file name, which it trims in place: the same
// project as the lines read by the command; a file it cannot read changes
// nothing.
TEST_F(Parser, ParsesAFileByFolderAndName)
{
    // Twice, so that the engine starts from the same base as the file form
    // does (a base's record keeps some values of the engine's last base).
    Parse("two.txt", TwoColumnFile());
    Parse("two.txt", TwoColumnFile());
    const ProjectCondTbl byLines = gCond;
    const ColumnDataTbl first = gColumns(1), second = gColumns(2);
    const KvBaseTbl firstBase = gKvBase(1), secondBase = gKvBase(2);

    gCond = gCondDefault;
    gColumns.redim(1);
    gDataChanged = false;
    std::string folder = "  " + dir.string() + "/ ";
    std::string name = " two.txt  ";
    exchange::ImportColumnBaseFile(folder, name, {});
    EXPECT_EQ(folder, dir.string() + "/");
    EXPECT_EQ(name, "two.txt");
    EXPECT_TRUE(gDataChanged);
    EXPECT_TRUE(gCond == byLines);
    ASSERT_EQ(gCond.ColCount, 2);
    EXPECT_TRUE(gColumns(1) == first);
    EXPECT_TRUE(gColumns(2) == second);
    EXPECT_TRUE(gKvBase(1) == firstBase);
    EXPECT_TRUE(gKvBase(2) == secondBase);

    gDataChanged = false;
    for (const char* missing : {"none.txt", ""}) {
        SCOPED_TRACE(missing);
        std::string f = dir.string() + "/";
        std::string n = missing;
        try {
            exchange::ImportColumnBaseFile(f, n, {});
            ADD_FAILURE() << "no error";
        } catch (const exchange::ImportError& e) {
            EXPECT_NE(std::string(e.what()), "");
        }
        EXPECT_TRUE(gCond == byLines);
        EXPECT_FALSE(gDataChanged);
    }
}

TEST_F(Parser, UnitsOfLoadsAndConcrete)
{
    struct Case {
        const char* unit;  // "" : no UNIT line
        const char* mcon;
        double fc;
        double divisor;
    } cases[] = {
        {"UNIT,1", "MCON,24", 24, g},  {"UNIT", "MCON,24", 24, g},     {"UNIT,SI", "MCON,24", 24, g},
        {"UNIT,2", "MCON,240", 24, 1}, {"", "MCON,240", 24, 1},
    };
    for (const Case& c : cases) {
        Lines l = Axes();
        if (*c.unit) l.push_back(c.unit);
        l.insert(l.end(), {"CAXIS,1,1", c.mcon, "MCST,BCR295", "CSIZE,B,250,250,9,9", "BPNAME,QX250A-24",
                           "BPLX,98.0665,9.80665,0,0,0", "BPLY,12#R,1#J,0,0,0"});
        Parse("units.txt", l);
        ASSERT_EQ(gCond.ColCount, 1) << c.unit;
        EXPECT_DOUBLE_EQ(gColumns(1).Fc, c.fc) << c.unit;
        EXPECT_DOUBLE_EQ(gColumns(1).LoadTbl(1, 1), 98.0665 / c.divisor) << c.unit;
        EXPECT_DOUBLE_EQ(gColumns(1).LoadTbl(2, 1), 9.80665 / c.divisor) << c.unit;
        // The single column keeps its last line; "#R" and "#J" read as 0.
        EXPECT_EQ(gColumns(1).LoadTbl(1, 2), 0) << c.unit;
        EXPECT_EQ(gColumns(1).LoadTbl(2, 2), 0) << c.unit;
    }
    // The concrete in the older display units.
    gSIDisp = false;
    Parse("units.txt", Lines{"UNIT,1", "AXIS,1,1", "BPANX,A", "BPANY,1", "CAXIS,1,1", "MCON,24", "MCST,BCR295",
                             "CSIZE,B,250,250,9,9", "BPNAME,QX250A-24", "BPLX,1,0,0,0,0"});
    EXPECT_EQ(gColumns(1).Fc, 240);
    EXPECT_EQ(gCond.Fc, 210);
    gSIDisp = true;
}

TEST_F(Parser, AlwaysASteelColumnProject)
{
    // As the structure switch leaves the template in SRC mode.
    const ProjectCondTbl saved = gCondDefault;
    gCondDefault.SMode = kFalse;
    gCondDefault.Fc = 24;
    Lines l = Axes();
    l.insert(l.end(), {"CAXIS,1,1", "MCST,BCR295", "CSIZE,B,250,250,9,9", "BPNAME,QX250A-24", "BPLX,1,0,0,0,0"});
    Parse("smode.txt", l);
    gCondDefault = saved;
    EXPECT_EQ(gCond.SMode, kTrue);
    EXPECT_EQ(gCond.Fc, 21);
    EXPECT_EQ(gCond.ColCount, 1);
}

TEST_F(Parser, SingleColumnKeepsItsLastLoadLines)
{
    Lines l = Axes();
    l.insert(l.end(), {"CAXIS,1,1", "MCST,BCR295", "CSIZE,B,250,250,9,9", "BPNAME,QX250A-24", "BPLX,1,0,0,0,0",
                       "BPLY,2,0,0,0,0", "BPEXL,3,0,0,0,0"});
    Parse("one.txt", l);
    ASSERT_EQ(gCond.ColCount, 1);
    EXPECT_EQ(gColumns(1).LoadTbl(1, 1), 1);
    EXPECT_EQ(gColumns(1).LoadTbl(1, 2), 2);
    EXPECT_EQ(gColumns(1).LoadTbl(1, 3), 3);
    EXPECT_EQ(gColumns(1).KolvanID, IdOf("QX250A"));
}

TEST_F(Parser, SectionKinds)
{
    struct Case {
        const char* mcst;
        const char* csize;
        const char* model;
        int16_t colV, code, rotate, dir, differ;
        double size, t, f;
        bool asked;  // the base choice came up
    } cases[] = {
        {"MCST,BCR295", "CSIZE,B,300,300,12,12", "KS300A-27", 0, 0, 0, 0, 0, 300, 12, 3.0, false},
        {"MCST,XYZ,325", "CSIZE,RB,300,300,12,12", "KS300A-27", 0, 4, 0, 0, 0, 300, 12, 3.3, false},
        {"MCST,XYZ,0,3.0", "CSIZE,RB,300,300,12,12", "KS300A-27", 0, 0, 0, 0, 0, 300, 12, 3.0, false},
        {"MCST,BCP235", "CSIZE,P,267.4,9.3,0,0", "WJ267-4", 1, 5, 0, 0, 0, 267.4, 9.3, 2.4, true},
        {"MCST,STKN490,325", "CSIZE,R,267.4,9.3,0,0", "WJ267-4", 1, 6, 0, 0, 0, 267.4, 9.3, 3.3, true},
        {"MCST,SS400級,235", "CSIZE,HX,400,200,8,13", "H400-1-24", 2, 9, 0, 0, kTrue, 400, 200, 2.4, false},
        {"MCST,SN490,325", "CSIZE,X: H,400,200,8,13", "H400-1-24", 2, 10, 0, 0, kTrue, 400, 200, 3.3, false},
        {"MCST,BCR295", "CSIZE,HY,400,200,8,13", "H400-1-24", 2, 9, 1, 1, kTrue, 400, 200, 3.0, false},
        {"MCST,XYZ,325", "CSIZE,Y: H,400,200,8,13", "H400-1-24", 2, 10, 1, 1, kTrue, 400, 200, 3.3, false},
        {"MCST,SN400,400", "CSIZE,T,300,300,12,12", "KS300A-27", 0, 3, 0, 0, 0, 300, 12, 2.4, true},
    };
    for (const Case& c : cases) {
        script.messages.clear();
        Lines l = Axes();
        l.insert(l.end(), {"CAXIS,1,1", c.mcst, c.csize, std::string("BPNAME,") + c.model, "BPLX,1,0,0,0,0"});
        ScriptedChooser chooser;
        const std::string kept = std::string(c.model).rfind("WJ", 0) == 0 ? "WJ267-4" : "KS300A";
        chooser.picks = {{IdOf(kept), 1}, {IdOf(kept), 1}};
        Parse("kind.txt", l, &chooser);
        ASSERT_EQ(gCond.ColCount, 1) << c.csize;
        const ColumnDataTbl& col = gColumns(1);
        EXPECT_EQ(col.ColV, c.colV) << c.csize;
        EXPECT_EQ(col.ColMatCode, c.code) << c.csize;
        EXPECT_EQ(col.ColF, c.f) << c.csize;
        EXPECT_EQ(col.KvRotate, c.rotate) << c.csize;
        EXPECT_EQ(col.KvDir, c.dir) << c.csize;
        EXPECT_EQ(col.ColXYDiffer, c.differ) << c.csize;
        EXPECT_EQ(col.ColSize, c.size) << c.csize;
        EXPECT_EQ(col.ColT, c.t) << c.csize;
        EXPECT_EQ(!chooser.asked.empty(), c.asked) << c.csize;
        const bool unknown = std::string(c.csize).find(",T,") != std::string::npos;
        ASSERT_EQ(script.messages.size(), unknown ? 1u : 0u) << c.csize;
        if (unknown) {
            EXPECT_EQ(script.messages[0].text, "柱の種類の指定に誤りがあります。\r\r強制的に角形鋼管に設定します。");
            EXPECT_EQ(script.messages[0].title, "インポート時のエラー");
        }
    }
}

TEST_F(Parser, BaseIdentification)
{
    struct Case {
        const char* name;
        const char* csize;
        const char* found;  // model looked up, "" : the base choice
        int16_t abNum;
    } cases[] = {
        {"QX250A-24", "B,250,250,9,9", "QX250A", 1},
        {"QX250A-27", "B,250,250,9,9", "QX250A", 2},
        {"KS300A-30", "B,300,300,12,12", "KS300A", 2},
        {"KC200A-24", "B,200,200,9,9", "KC200A", 1},
        {"K35-2-36", "B,350,350,16,16", "K35-2", 2},
        {"ZF200", "B,200,200,9,9", "ZF200", 1},
        {"WP200-4", "B,200,200,9,9", "WP200-4", 1},
        {"H400X1-30", "HX,400,200,8,13", "H400×1", 2},
        {"QX250A-99", "B,250,250,9,9", "", 0},
        {"QX250A-2", "B,250,250,9,9", "", 0},
        {"Q24", "B,250,250,9,9", "", 0},
        {"QX250A-2A", "B,250,250,9,9", "", 0},
        {"KP250-24", "B,250,250,9,9", "", 0},
        {"N250", "B,250,250,9,9", "", 0},
        {"□250", "B,250,250,9,9", "", 0},
        {"250A-24", "B,250,250,9,9", "", 0},
        {"XQ250A-24", "B,250,250,9,9", "", 0},
        {"", "B,250,250,9,9", "", 0},
        {"ZZZ999", "B,250,250,9,9", "", 0},
    };
    for (const Case& c : cases) {
        Lines l = Axes();
        l.insert(l.end(), {"CAXIS,1,1", "MCST,BCR295", std::string("CSIZE,") + c.csize, std::string("BPNAME,") + c.name,
                           "BPLX,1,0,0,0,0"});
        ScriptedChooser chooser;
        chooser.picks = {{IdOf("QX250A"), 2}};
        Parse("name.txt", l, &chooser);
        ASSERT_EQ(gCond.ColCount, 1) << c.name;
        if (*c.found) {
            EXPECT_TRUE(chooser.asked.empty()) << c.name;
            EXPECT_EQ(gColumns(1).KolvanID, IdOf(c.found)) << c.name;
            EXPECT_EQ(gColumns(1).AbNum, c.abNum) << c.name;
            EXPECT_EQ(T(gKvBase(1).KvName), c.found) << c.name;
        } else {
            EXPECT_EQ(chooser.asked, std::vector<int32_t>{1}) << c.name;
            EXPECT_EQ(gColumns(1).KolvanID, IdOf("QX250A")) << c.name;
            EXPECT_EQ(gColumns(1).AbNum, 2) << c.name;
            EXPECT_EQ(gKvBase(1).AbNum, 2) << c.name;
            EXPECT_EQ(gColumns(1).KvV, 0) << c.name;
        }
    }
}

TEST_F(Parser, OrientationOfKsAndKcBases)
{
    struct Case {
        const char* model;
        const char* csize;
        const char* line;
        int16_t dir, rotate;
    } cases[] = {
        {"KS300A-30", "B,300,300,12,12", "CENTER,5,0", 2, 0},   {"KS300A-30", "B,300,300,12,12", "KVE,5,0", 0, 0},
        {"KS300A-30", "B,300,300,12,12", "CENTER,-5,9", 0, 0},  {"KS300A-30", "B,300,300,12,12", "KVE,-5,9", 2, 0},
        {"KS300A-30", "B,300,300,12,12", "CENTER,0,3", 3, 1},   {"KS300A-30", "B,300,300,12,12", "KVE,0,3", 1, 1},
        {"KS300A-30", "B,300,300,12,12", "CENTER,0,-1", 1, 1},  {"KS300A-30", "B,300,300,12,12", "KVE,0,-1", 3, 1},
        {"KS300A-30", "B,300,300,12,12", "CENTER,-0.5,0", 0, 0}, {"KS300A-30", "B,300,300,12,12", "KVE,-0.5,0", 2, 0},
        {"KS300A-30", "B,300,300,12,12", "CENTER,0,0", 0, 0},   {"KS300A-30", "B,300,300,12,12", "CENTER,0.5,2", 3, 1},
        {"KC200A-24", "B,200,200,9,9", "CENTER,1,1", 3, 0},     {"KC200A-24", "B,200,200,9,9", "KVE,1,1", 1, 0},
        {"KC200A-24", "B,200,200,9,9", "CENTER,1,-1", 2, 0},    {"KC200A-24", "B,200,200,9,9", "KVE,1,-1", 0, 0},
        {"KC200A-24", "B,200,200,9,9", "CENTER,-1,1", 0, 0},    {"KC200A-24", "B,200,200,9,9", "KVE,-1,1", 2, 0},
        {"KC200A-24", "B,200,200,9,9", "CENTER,-1,-1", 1, 0},   {"KC200A-24", "B,200,200,9,9", "KVE,-1,-1", 3, 0},
        {"KC200A-24", "B,200,200,9,9", "CENTER,0,-1", 0, 0},    {"QX250A-24", "B,250,250,9,9", "CENTER,0,-1", 0, 0},
        {"QX250A-24", "B,250,250,9,9", "KVE,1,1", 0, 0},
    };
    for (const Case& c : cases) {
        Lines l = Axes();
        l.insert(l.end(), {"CAXIS,1,1", "MCST,BCR295", std::string("CSIZE,") + c.csize,
                           std::string("BPNAME,") + c.model, c.line, "BPLX,1,0,0,0,0"});
        Parse("dir.txt", l);
        ASSERT_EQ(gCond.ColCount, 1) << c.model << " " << c.line;
        EXPECT_EQ(gColumns(1).KvDir, c.dir) << c.model << " " << c.line;
        EXPECT_EQ(gColumns(1).KvRotate, c.rotate) << c.model << " " << c.line;
    }
}

TEST_F(Parser, RoutesAndAxisNames)
{
    struct Case {
        const char* root;
        int16_t x, y, ult;
    } cases[] = {{"ROOT,1-2,3", 12, 3, 0}, {"ROOT,3,3", 3, 3, 1}, {"ROOT, 1 ,11", 11, 11, 0},
                 {"ROOT,1-1,2", 11, 2, 0}, {"ROOT,12,1-2", 12, 12, 0}, {"ROOT,2,3", 2, 3, 0}};
    for (const Case& c : cases) {
        Parse("root.txt", Lines{c.root, "AXIS,2,3", "BPANX,X1,X2", "BPANY,Y1,Y2,Y3", "CAXIS,2,3", "MCST,BCR295",
                                "CSIZE,B,250,250,9,9", "BPNAME,QX250A-24", "BPLX,1,0,0,0,0"});
        EXPECT_EQ(gCond.DesignRootX, c.x) << c.root;
        EXPECT_EQ(gCond.DesignRootY, c.y) << c.root;
        EXPECT_EQ(gCond.UltCalcMode, c.ult) << c.root;
        EXPECT_EQ(T(gColumns(1).ColName), "X2-Y3");
    }
    // Without ROOT the template's route stays.
    Parse("noroot.txt", Lines{"AXIS,1,1", "BPANX,長い軸名前ABCDEFGH", "BPANY,Y", "CAXIS,1,1", "MCST,BCR295",
                              "CSIZE,B,250,250,9,9", "BPNAME,QX250A-24", "BPLX,1,0,0,0,0"});
    EXPECT_EQ(gCond.DesignRootX, gCondDefault.DesignRootX);
    EXPECT_EQ(gCond.UltCalcMode, gCondDefault.UltCalcMode);
    // Names are cut to the field width; the column name is made of the list's text.
    EXPECT_EQ(T(gColumns(1).AxisXName), "長い軸名前ABCDE");
}

TEST(ImportSection, Grades)
{
    struct Case {
        std::vector<std::string> mcst;
        const char* kind;
        double colF;  // before
        int16_t code;
        double f;
    } cases[] = {
        {{"MCST", "SS400級", "0", "0"}, "HX", 2.4, 9, 2.4},
        {{"MCST", "XYZ", "325", "0"}, "RB", 2.4, 4, 3.3},
        {{"MCST", "XYZ", "325", "0"}, "B", 2.4, 4, 3.3},
        {{"MCST", "XYZ", "0", "295"}, "B", 2.4, 0, 3.0},
        {{"MCST", "XYZ", "1", "2"}, "B", 3.3, 4, 3.3},
        {{"MCST", "XYZ", "1", "2"}, "B", 2.9, 3, 2.4},
        {{"MCST", "BCP325", "0", "0"}, "B", 2.4, 2, 3.3},
        {{"MCST", "STKN490", "0", "0"}, "P", 3.3, 6, 3.3},
        {{"MCST", "XYZ", "0", "3.0"}, "P", 2.4, 5, 3.0},
        {{"MCST", "XYZ", "0", "3.3"}, "R", 2.4, 6, 3.3},
        {{"MCST", "BCR295", "0", "0"}, "P", 2.4, 5, 3.0},
        {{"MCST", "SM490級", "235", "0"}, "HY", 3.3, 8, 2.4},
        {{"MCST", "XYZ", "0", "0"}, "HX", 3.3, 10, 3.3},
        {{"MCST", "XYZ", "2.5", "0"}, "HX", 3.3, 9, 2.4},
    };
    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    for (const Case& c : cases) {
        ColumnDataTbl col;
        col.ColF = c.colF;
        bool flag = false;
        std::vector<std::string> csize{"CSIZE", c.kind, "400", "200", "8", "13", "0", "0"};
        exchange::BuildImportedColumnSection(col, c.mcst, csize, flag);
        EXPECT_EQ(col.ColMatCode, c.code) << c.mcst[1] << " " << c.kind;
        EXPECT_EQ(col.ColF, c.f) << c.mcst[1] << " " << c.kind;
        EXPECT_FALSE(flag);
    }
    EXPECT_TRUE(u.messages.empty());
}

TEST_F(Parser, NominalSizeDecidesASecondChoice)
{
    struct Case {
        const char* csize;
        std::size_t asked;
    } cases[] = {{"B,175,175,6,6", 1}, {"B,180,180,6,6", 2}, {"B,168,168,6,6", 2}, {"B,172.4,172.4,6,6", 1}};
    for (const Case& c : cases) {
        Lines l = Axes();
        l.insert(l.end(), {"CAXIS,1,1", "MCST,STKR400", std::string("CSIZE,") + c.csize, "BPNAME,SV175-4-A-24",
                           "BPLX,1,0,0,0,0"});
        ScriptedChooser chooser;
        chooser.picks = {{IdOf("SV175-4-A"), 1}, {IdOf("SV175-4-A"), 2}};
        Parse("size.txt", l, &chooser);
        EXPECT_EQ(chooser.asked.size(), c.asked) << c.csize;
        ASSERT_EQ(gCond.ColCount, 1);
        EXPECT_EQ(gColumns(1).AbNum, static_cast<int16_t>(c.asked)) << c.csize;
    }
    // Skipped at the second choice: the column is dropped.
    Lines l = Axes();
    l.insert(l.end(), {"CAXIS,1,1", "MCST,STKR400", "CSIZE,B,180,180,6,6", "BPNAME,SV175-4-A-24", "BPLX,1,0,0,0,0"});
    ScriptedChooser chooser;
    chooser.picks = {{IdOf("SV175-4-A"), 1}};
    Parse("size.txt", l, &chooser);
    EXPECT_EQ(chooser.asked.size(), 2u);
    EXPECT_EQ(gCond.ColCount, 0);
}

TEST_F(Parser, LumoPlateQuestion)
{
    const Lines l = [] {
        Lines x = Axes();
        x.insert(x.end(), {"CAXIS,1,1", "CNAME,C9", "MCST,BCP325", "CSIZE,B,350,350,16,16", "BPNAME,WP350-8T",
                           "BPLX,1,0,0,0,0"});
        return x;
    }();
    script.answers = {ui::Answer::Yes};
    Parse("lumo.txt", l);
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0],
              "コルヴァン・ルモシリーズのベース板厚が40mmを超える形式は\r"
              "　　F値325N/mm2の柱に適用できません。\r"
              "　　           　(柱名称 : C9(A-1))\r"
              "　　           　(形式 : WP350-8T)\r"
              "\r"
              "　柱材質を変更しますか？BCP325 ⇒ BCP235");
    EXPECT_EQ(gColumns(1).ColMatCode, 1);
    EXPECT_EQ(gColumns(1).ColF, 2.4);

    script.questions.clear();
    script.answers = {ui::Answer::No};
    Parse("lumo.txt", l);
    EXPECT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(gColumns(1).ColMatCode, 2);
    EXPECT_EQ(gColumns(1).ColF, 3.3);

    // A grade of F 235 asks nothing.
    script.questions.clear();
    Lines thin = l;
    thin[5] = "MCST,BCP235";
    Parse("lumo.txt", thin);
    EXPECT_TRUE(script.questions.empty());
}

// The rule starts above 40 mm: a plate of exactly 40 mm keeps BCP325 unasked,
// one of 40.5 mm asks.
TEST_F(Parser, LumoPlateQuestionStartsAbove40mm)
{
    struct Case {
        const char* model;
        double plate;
        std::size_t questions;
        int16_t grade;  // after the answer Yes
    } cases[] = {{"WP350-8", 40, 0, 2}, {"WP350-8T", 40.5, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        Lines l = Axes();
        l.insert(l.end(), {"CAXIS,1,1", "CNAME,C9", "MCST,BCP325", "CSIZE,B,350,350,16,16",
                           std::string("BPNAME,") + c.model, "BPLX,1,0,0,0,0"});
        script.questions.clear();
        script.answers = {ui::Answer::Yes};
        Parse("lumo.txt", l);
        ASSERT_EQ(gCond.ColCount, 1);
        EXPECT_EQ(T(gKvBase(1).KvName), c.model);
        EXPECT_EQ(gKvBase(1).KvT(2), c.plate);
        EXPECT_EQ(script.questions.size(), c.questions);
        EXPECT_EQ(gColumns(1).ColMatCode, c.grade);
    }
}

TEST_F(Parser, ClosingLineTwiceEndsNothingAndLinesBeforeTheFirstColumnBelongToIt)
{
    Lines l = TwoColumnFile();
    // A second closing line right after the first block's end.
    l.insert(l.begin() + 38, "BRUYR,9.80665,0,0,0,0");
    // Column lines before the first CAXIS fill the first column.
    l.insert(l.begin() + 5, "BRLX,9.80665,0,0,0,0");
    Parse("twice.txt", l);
    ASSERT_EQ(gCond.ColCount, 2);
    EXPECT_EQ(T(gColumns(1).ColName), "C1(X2-Y3)");
    EXPECT_DOUBLE_EQ(gColumns(1).LoadTblBR(1, 1), 2);
    EXPECT_EQ(gColumns(1).KolvanID, IdOf("KS300A"));
    EXPECT_EQ(T(gColumns(2).ColName), "C2(X1-Y1)");
    // The extra line's loads go to the next column, which is not merged away.
    EXPECT_DOUBLE_EQ(gColumns(2).LoadTblBR(1, 18), 2);
}

}  // namespace
