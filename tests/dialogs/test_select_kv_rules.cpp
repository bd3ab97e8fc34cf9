// The queries and choice rules of the column and base selection, checked as
// texts and run on the sample catalogue.
#include "tests/mainwin/window_fixture.h"

#include "dialogs/fc_list.h"
#include "dialogs/select_kv_rules.h"
#include "model/catalogue.h"
#include "platform/text/vb.h"

#include <QComboBox>
#include <QSignalSpy>

#include <string>
#include <vector>

namespace {

using namespace selkv;

TEST(SelectKvQueries, TextsAsTheCatalogueIsAsked)
{
    EXPECT_EQ(SizeListQuery(kBox, 0),
              "SELECT DISTINCTROW First(柱.柱成) AS 柱成ﾌｨｰﾙﾄﾞ From 柱 GROUP BY 柱.柱成, 柱.柱種類, 柱.規格 "
              "HAVING (((柱.柱種類)=0) AND ((柱.規格)='BCR'));");
    EXPECT_EQ(SizeListQuery(kH, 7),
              "SELECT DISTINCTROW First(柱.呼び柱成) AS 柱成ﾌｨｰﾙﾄﾞ From 柱 GROUP BY 柱.柱成, 柱.柱種類, 柱.規格 "
              "HAVING (((柱.柱種類)=2) AND ((柱.規格)='SS'));");
    EXPECT_EQ(ThicknessListQuery(kBox, "200", 3),
              "SELECT DISTINCTROW 柱.柱成, 柱.フランジ厚 From 柱 WHERE (((柱.柱種類)= 0) AND ((柱.柱成)='200') "
              "AND ((柱.規格)<>'BCR'))");
    EXPECT_EQ(SectionQuery(kRound, "267.4", 5, "9.3"),
              "SELECT DISTINCTROW 柱.柱成, 柱.フランジ厚, 柱.断面積, 柱.Zx, 柱.Zpx , 柱.Zy, 柱.Zpy From 柱 "
              "WHERE (((柱.柱種類)= 1) AND ((柱.柱成)='267.4') AND ((柱.規格)='STK')AND ((柱.フランジ厚)='9.3'))");
    EXPECT_EQ(FlangeWidthQuery(" 400 "),
              "SELECT DISTINCTROW First(柱.呼びフランジ幅) AS 呼びフランジ幅ﾌｨｰﾙﾄﾞ From 柱 GROUP BY 柱.呼びフランジ幅, "
              "柱.呼び柱成, 柱.柱種類, 柱.規格 HAVING (((柱.呼び柱成)=\"400\") AND ((柱.柱種類)=2) AND ((柱.規格)='SS'));");
    EXPECT_EQ(NominalSizeQuery("200"), "SELECT DISTINCTROW 柱.呼び柱成 From 柱 WHERE ((柱.柱成)='200') ");
    EXPECT_EQ(ModelListQuery("200", SeriesCondition(1), kBox),
              "SELECT DISTINCTROW 柱脚.形式名,柱脚.ID,柱脚.DispF From 柱脚 WHERE (((柱脚.ColSize)=200) AND "
              "(((柱脚.KvV)=1) OR ((柱脚.KvV)=5))AND ((柱脚.ColV)= 0))");
}

TEST(SelectKvQueries, GradeCriteria)
{
    struct Case {
        int16_t shape, code;
        const char* criterion;
    } cases[] = {{kBox, 0, "='BCR'"},   {kBox, 101, "='BCR'"},  {kBox, 1, "='BCP'"},   {kBox, 2, "='BCP'"},
                 {kBox, 3, "<>'BCR'"},  {kBox, 4, "<>'BCR'"},  {kBox, 102, "<>'BCR'"}, {kBox, 103, "<>'BCR'"},
                 {kRound, 5, "='STK'"}, {kRound, 6, "='STK'"}, {kH, 7, "='SS'"},      {kH, 10, "='SS'"},
                 {kBox, 5, ""},         {kRound, 0, ""},       {kH, 999, ""}};
    for (const Case& c : cases) EXPECT_EQ(GradeCriterion(c.shape, c.code), c.criterion) << c.shape << "/" << c.code;
}

TEST(SelectKvQueries, EachShapeListsOnlyGradesItsQueriesKnow)
{
    struct Case {
        int16_t shape, first, last;
    } cases[] = {{kBox, 0, 4}, {kRound, 5, 6}, {kH, 7, 10}};
    for (const Case& c : cases) {
        EXPECT_EQ(FirstGrade(c.shape), c.first);
        EXPECT_EQ(LastGrade(c.shape), c.last);
        for (int16_t code = c.first; code <= c.last; ++code)
            EXPECT_FALSE(GradeCriterion(c.shape, code).empty()) << c.shape << "/" << code;
        EXPECT_TRUE(GradeCriterion(c.shape, static_cast<int16_t>(c.first - 1)).empty()) << c.shape;
        EXPECT_TRUE(GradeCriterion(c.shape, static_cast<int16_t>(c.last + 1)).empty()) << c.shape;
    }
}

TEST(SelectKvQueries, AQuoteInATextStaysInsideItsLiteral)
{
    EXPECT_EQ(SqlText("200"), "'200'");
    EXPECT_EQ(SqlText("2'00"), "'2''00'");
    EXPECT_EQ(SqlText("4\"00", '"'), "\"4\"\"00\"");
    EXPECT_EQ(ModelIdQuery("KB'1-400"), "SELECT DISTINCTROW 柱脚.ID From 柱脚 WHERE ((柱脚.形式名)='KB''1-400') ");
}

TEST(SelectKvQueries, UnquotedTextsEnterOnlyAsNumbers)
{
    struct Case {
        const char* text;
        const char* entered;
    } cases[] = {{"200", "200"}, {" 267.4 ", "267.4"}, {"", ""}, {"200) OR (1=1", ""}, {"2'00", ""}, {"1E999", ""}};
    for (const Case& c : cases) EXPECT_EQ(UnquotedNumber(c.text), c.entered) << c.text;
}

class SelectKvCatalogue : public mainwintest::WindowTest {
protected:
    std::vector<std::vector<std::string>> Rows(const std::string& sql, int fields)
    {
        auto db = model::OpenCatalogue();
        auto rs = db.openRecordset(sql);
        std::vector<std::vector<std::string>> rows;
        for (; !rs.eof(); rs.moveNext()) {
            std::vector<std::string> r;
            for (int i = 0; i < fields; ++i) r.push_back(vb::Trim(rs.text(i)));
            rows.push_back(r);
        }
        return rows;
    }
};

TEST_F(SelectKvCatalogue, EveryQueryRunsOnTheSampleCatalogue)
{
    std::vector<double> sizes;
    for (const auto& r : Rows(SizeListQuery(kBox, 3), 1)) sizes.push_back(vb::Val(r[0]));
    const std::vector<std::string> texts = SizeListTexts(sizes);
    // Every box grade but BCR: BCP and STKR sizes, each once, in numeric order.
    EXPECT_EQ(texts, (std::vector<std::string>{"175", "200", "300", "350", "400", "500"}));

    EXPECT_EQ(Rows(ThicknessListQuery(kBox, "200", 0), 2), (std::vector<std::vector<std::string>>{{"200", "9"}, {"200", "12"}}));
    const auto section = Rows(SectionQuery(kBox, "200", 0, "9"), 7);
    ASSERT_EQ(section.size(), 1u);
    EXPECT_EQ(section[0][2], "65.98");
    EXPECT_EQ(Rows(FlangeWidthQuery("400"), 1).size(), 2u);
    EXPECT_EQ(Rows(NominalSizeQuery("200"), 1).front().front(), "200");
    EXPECT_FALSE(Rows(ModelListQuery("200", SeriesCondition(4), kBox), 3).empty());

    // A quote in a size text finds nothing instead of widening the query.
    EXPECT_TRUE(Rows(ThicknessListQuery(kBox, "200' OR '1'='1", 0), 2).empty());
    EXPECT_TRUE(Rows(FlangeWidthQuery("400\" OR \"1\"=\"1"), 1).empty());
}

TEST(SelectKvRules, SizeListIsNumericAndEachTextOnce)
{
    EXPECT_EQ(SizeListTexts({950, 1000, 200, 200, 267.4, 175}),
              (std::vector<std::string>{"175", "200", "267.4", "950", "1000"}));
    EXPECT_TRUE(SizeListTexts({}).empty());
}

TEST(SelectKvRules, SeriesAdjustmentForTheModelQuery)
{
    struct Case {
        int16_t shape;
        double size;
        int16_t series, asked;
    } cases[] = {
        {kBox, 150, 1, 6},   {kBox, 175, 5, 6},   {kBox, 175, 4, 4},   {kBox, 180, 1, 1},   {kBox, 300, 6, 6},
        {kBox, 300.5, 6, 4}, {kBox, 450, 6, 4},   {kBox, 450, 1, 1},   {kBox, 500, 4, 1},   {kBox, 500, 6, 1},
        {kBox, 500, 5, 5},   {kRound, 460, 4, 4}, {kRound, 461, 4, 1}, {kRound, 500, 6, 1}, {kH, 900, 6, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AdjustSeriesForQuery(c.shape, c.size, c.series), c.asked) << c.shape << " " << c.size << " " << c.series;
    EXPECT_EQ(SeriesCondition(5), "((柱脚.KvV)=1) OR ((柱脚.KvV)=5)");
    EXPECT_EQ(SeriesCondition(4), "((柱脚.KvV)=4)");
    EXPECT_EQ(SeriesCondition(6), "((柱脚.KvV)=6)");
    for (int16_t s : {0, 2, 3}) EXPECT_EQ(SeriesCondition(s), "");
}

TEST(SelectKvRules, SeriesOptionsByShapeAndSize)
{
    // shown / left / enabled of ルモ, オルタ, ソルヴェナス; "-" for a size without an arrangement.
    struct Case {
        int16_t shape;
        double size;
        const char* expect;
    } cases[] = {
        {kBox, 149.9, "- - -"},
        {kBox, 150, "s2160 h4200 s120"},
        {kBox, 199.9, "s2160 h4200 s120"},
        {kBox, 200, "s2160 s4200e s120"},
        {kBox, 300, "s2160 s4200e s120"},
        {kBox, 300.1, "s120 s2160e h4200"},
        {kBox, 450, "s120 s2160e h4200"},
        {kBox, 451, "h4200 s120d h2160"},
        {kBox, 1200, "h4200 s120d h2160"},
        {kBox, 1201, "- - -"},
        {kRound, 188, "- - -"},
        {kRound, 189, "s120 s2160e h4200"},
        {kRound, 450, "s120 s2160e h4200"},
        {kRound, 450.1, "h4200 s120d h2160"},
        {kH, 100, "h4200 s120d h2160"},
        {kH, 2000, "h4200 s120d h2160"},
    };
    for (const Case& c : cases) {
        std::string got;
        for (const SeriesOption& o : ArrangeSeriesOptions(c.shape, c.size)) {
            if (!got.empty()) got += ' ';
            if (!o.arranged) {
                got += '-';
                continue;
            }
            got += (o.shown ? "s" : "h") + std::to_string(o.left) + (o.enabled == 1 ? "e" : o.enabled == 0 ? "d" : "");
        }
        EXPECT_EQ(got, c.expect) << c.shape << " " << c.size;
    }
    EXPECT_EQ(SeriesOfOption(1, kBox, 350), 5);
    EXPECT_EQ(SeriesOfOption(1, kBox, 300), 1);
    EXPECT_EQ(SeriesOfOption(1, kRound, 400), 1);
    EXPECT_EQ(SeriesOfOption(0, kBox, 300), 4);
    EXPECT_EQ(SeriesOfOption(2, kBox, 300), 6);
    EXPECT_EQ(SeriesOptionOf(5), 1);
    EXPECT_EQ(SeriesOptionOf(4), 0);
    EXPECT_EQ(SeriesOptionOf(6), 2);
    EXPECT_EQ(SeriesOptionOf(2), -1);
}

TEST(SelectKvRules, ModelListFilter)
{
    const std::vector<ModelRow> rows = {
        {"WP200-4 ", 150310, 0}, {"WP200-8", 150320, 1}, {"KC200A", 110110, 1}, {"WR200-8", 150330, 2}};
    struct Case {
        int32_t working;
        bool kc, dispF2;
        std::vector<std::string> listed;
    } cases[] = {
        // DispF 0 only as the first row and the working model.
        {150310, true, false, {"WP200-4", "WP200-8", "KC200A"}},
        {150320, true, false, {"WP200-8", "KC200A"}},
        {999999, false, false, {"WP200-8"}},
        {999999, true, true, {"WP200-8", "KC200A", "WR200-8"}},
    };
    for (const Case& c : cases) {
        int32_t id = c.working;
        EXPECT_EQ(ListedModels(rows, id, c.kc, c.dispF2), c.listed) << c.working;
        EXPECT_EQ(id, 150310);  // the first row's ID, listed or not
    }
}

TEST_F(SelectKvCatalogue, FcListByUnitAndKind)
{
    QComboBox list;
    int selections = 0;
    QObject::connect(&list, &QComboBox::currentIndexChanged, [&](int) { ++selections; });
    struct Case {
        bool si, sMode;
        double fc;
        int index;
        double after;
    } cases[] = {
        {true, true, 22.5, 3, 22.5}, {true, true, 22.9, 3, 22.9}, {true, true, 240, 4, 240},
        {true, false, 999, 4, 24},   {true, true, 999, 2, 21},    {false, true, 999, 2, 210},
        {false, false, 1200, 4, 240}, {true, true, 20, -1, 20},   {true, true, 19.5, 1, 19.5},
        {true, true, 28.5, 7, 28.5}, {false, true, 36, 10, 36},   {false, true, 330, 9, 330},
    };
    for (const Case& c : cases) {
        model::gSIDisp = c.si;
        model::gCond.SMode = c.sMode ? model::kTrue : model::kFalse;
        double fc = c.fc;
        selections = 0;
        FillFcCombo(&list, fc);
        EXPECT_EQ(list.count(), 11);
        EXPECT_EQ(list.currentIndex(), c.index) << c.fc;
        EXPECT_EQ(fc, c.after) << c.fc;
        EXPECT_EQ(selections, c.index >= 0 ? 1 : 0) << c.fc;
        EXPECT_EQ(list.itemText(3), c.si ? "22.5" : "225");
        EXPECT_EQ(list.itemText(10), c.si ? "36" : "360");
    }
    model::gSIDisp = true;
}

// ---- Commit rules ----

TEST(SelectKvCommit, Bcp325BelowThreeHundredAndTheLumoPlate)
{
    EXPECT_TRUE(Bcp325Replaced(299.9, 2));
    EXPECT_FALSE(Bcp325Replaced(300, 2));
    EXPECT_FALSE(Bcp325Replaced(250, 0));

    model::KvBaseTbl lumo;
    lumo.KvV = 4;
    struct Case {
        int16_t shape, grade;
        double plate;
        bool refused;
    } cases[] = {
        {kBox, 2, 40, false},   {kBox, 2, 40.5, true},  {kBox, 4, 45, true},  {kBox, 0, 45, false},
        {kBox, 3, 45, false},   {kRound, 6, 45, true},  {kRound, 5, 45, false}, {kH, 8, 45, false},
    };
    for (const Case& c : cases) {
        lumo.KvT(2) = c.plate;
        EXPECT_EQ(LumoPlateRefused(c.shape, c.grade, lumo), c.refused) << c.shape << "/" << c.grade << " " << c.plate;
    }
    lumo.KvV = 1;
    lumo.KvT(2) = 60;
    EXPECT_FALSE(LumoPlateRefused(kBox, 2, lumo));
}

TEST(SelectKvCommit, UserSectionValuesAllOrNothing)
{
    model::ColumnDataTbl col;
    const double spec[] = {65.98, 391.8, 465.4, 391.8, 465.4};
    for (long i = 0; i <= 4; ++i) col.ColSpec(i) = spec[i];
    col.ColSpecUser(2) = 7;
    TakeUserSectionValues(col, {"65.98", " 391.8 ", "465.4", "391.8", "465.4"});
    for (long i = 0; i <= 4; ++i) EXPECT_EQ(col.ColSpecUser(i), 0) << i;
    EXPECT_FALSE(ColumnXYDiffer(col));

    // One box differs (also by its decimals): all five become user values.
    TakeUserSectionValues(col, {"65.98", "391.8", "465.4", "400.0", "465.4"});
    const double user[] = {65.98, 391.8, 465.4, 400, 465.4};
    for (long i = 0; i <= 4; ++i) EXPECT_EQ(col.ColSpecUser(i), user[i]) << i;
    EXPECT_TRUE(ColumnXYDiffer(col));
    TakeUserSectionValues(col, {"65.98", "391.80", "465.4", "391.8", "465.4"});
    EXPECT_EQ(col.ColSpecUser(1), 391.8);
    EXPECT_FALSE(ColumnXYDiffer(col));

    // Catalogue H section: Zy differs from Zx.
    model::ColumnDataTbl h;
    h.ColSpec(1) = 1173;
    h.ColSpec(3) = 173.6;
    EXPECT_TRUE(ColumnXYDiffer(h));
}

TEST(SelectKvCommit, SlabWidthsByShapeAndTurn)
{
    model::ColumnDataTbl col;
    col.ColSize = 250;
    col.HDim(1) = 400;
    col.HDim(2) = 200;
    col.cD(0) = 650;
    col.cD(1) = 600;
    struct Case {
        int16_t shape, rotate;
        double b1x, b1y, b2x, b2y;
    } cases[] = {{kBox, 0, 250, 250, 600, 650},
                 {kRound, 1, 250, 250, 600, 650},
                 {kH, 0, 200, 400, 600, 650},
                 {kH, 1, 400, 200, 600, 650},
                 {3, 0, -1, -1, -1, -1}};
    for (const Case& c : cases) {
        col.ColV = c.shape;
        col.KvRotate = c.rotate;
        col.SlabQ_B1X = col.SlabQ_B1Y = col.SlabQ_B2X = col.SlabQ_B2Y = -1;
        SetSlabWidths(col);
        EXPECT_EQ(col.SlabQ_B1X, c.b1x) << c.shape << "/" << c.rotate;
        EXPECT_EQ(col.SlabQ_B1Y, c.b1y) << c.shape << "/" << c.rotate;
        EXPECT_EQ(col.SlabQ_B2X, c.b2x) << c.shape << "/" << c.rotate;
        EXPECT_EQ(col.SlabQ_B2Y, c.b2y) << c.shape << "/" << c.rotate;
    }
}

TEST(SelectKvCommit, ShearChoicesGoOnlyWithTheBase)
{
    model::ColumnDataTbl col;
    for (long k = 1; k <= 7; ++k) col.FShear(k, 0) = col.FShear(k, 1) = 2;
    DropShearChoicesForNewBase(col, 150310, 150310);
    EXPECT_EQ(col.FShear(7, 1), 2);
    DropShearChoicesForNewBase(col, 150310, 150320);
    for (long k = 1; k <= 7; ++k) EXPECT_EQ(col.FShear(k, 0) + col.FShear(k, 1), 0) << k;
}

// ---- H fit, centre column, direction, plate and pedestal rules ----

TEST(SelectKvBaseRules, HColumnFitsAtItsBoundaries)
{
    // Base E 410, F 330, W 15, G 315; each row moves one dimension to or one
    // step past its boundary, the others well inside.
    struct Case {
        double E, F, W, G, H, B, tw, tf;
        bool fits;
    } cases[] = {
        {410, 330, 15, 315, 400, 200, 8, 13, true},
        {404, 330, 15, 315, 400, 200, 8, 13, true},     // E = H + 4
        {403.9, 330, 15, 315, 400, 200, 8, 13, false},
        {410, 330, 15, 315, 400, 200, 8, 27, true},     // H - 2 tf = F + 16 = 346
        {410, 330, 15, 315, 400, 200, 8, 27.05, false},
        {410, 330.1, 15, 315, 400, 200, 8, 27, false},
        {410, 330, 15, 210, 400, 200, 8, 13, false},    // G = B + 10: strictly more needed
        {410, 330, 15, 210.1, 400, 200, 8, 13, true},
        {410, 330, 12, 315, 400, 200, 8, 13, false},    // W = 1.5 tw
        {410, 330, 12.1, 315, 400, 200, 8, 13, true},
        {410, 330, 15, 315, 0, 0, 0, 0, false},         // a box that is no number
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsHColumnOnBase(c.E, c.F, c.W, c.G, c.H, c.B, c.tw, c.tf), c.fits)
            << c.E << " " << c.F << " " << c.W << " " << c.G << " / " << c.H << " " << c.B << " " << c.tw << " "
            << c.tf;
    EXPECT_EQ(HFitQuery(110150), "SELECT DISTINCTROW 柱脚.E,柱脚.F,柱脚.W,柱脚.G From 柱脚 WHERE ((柱脚.ID)=110150) ");
}

TEST(SelectKvBaseRules, CentreColumnBoxBySeriesAndPrefix)
{
    using C = CentreCaption;
    struct Case {
        int16_t series;
        const char* name;
        C caption;
        bool shown, ticked;
    } cases[] = {
        {0, "KS300A", C::Unchanged, false, false},   {2, "ZF200", C::Unchanged, false, false},
        {1, " KS300A", C::Pattern2, true, true},     {1, "KC200A", C::Unchanged, false, false},
        {1, "K35-2", C::CentreColumn, true, false},  {1, "H400-1", C::CentreColumn, true, false},
        {4, "KS-like", C::CentreColumn, true, false}, {5, "KN400-2", C::CentreColumn, true, false},
        {6, "SV175-4-A", C::CentreColumn, true, false}, {3, "QT300-3", C::Unchanged, true, false},
    };
    for (const Case& c : cases) {
        const CentreBox box = CentreColumnBox(c.series, c.name);
        EXPECT_EQ(box.caption, c.caption) << c.series << " " << c.name;
        EXPECT_EQ(box.shown, c.shown) << c.series << " " << c.name;
        EXPECT_EQ(box.ticked, c.ticked) << c.series << " " << c.name;
    }
}

TEST(SelectKvBaseRules, DirectionsByModelName)
{
    struct Case {
        const char* name;
        int allowed;
        int16_t rotationAt90, rotationAt270;
    } cases[] = {
        {"KC200A", 4, 0, 0}, {"KS300A", 4, 1, 1}, {"  KS300A ", 4, 1, 1}, {"H400-1", 2, 1, 1},
        {"K35-2", 0, 1, 1},  {"QX300B", 0, 1, 1}, {"", 0, 1, 1},          {"WH400-4", 0, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AllowedDirections(c.name), c.allowed) << c.name;
        EXPECT_EQ(RotationOf(c.name, 1), c.rotationAt90) << c.name;
        EXPECT_EQ(RotationOf(c.name, 3), c.rotationAt270) << c.name;
        EXPECT_EQ(RotationOf(c.name, 2), 0) << c.name;
    }
    struct Reset {
        const char* before;
        const char* after;
        bool resets;
    } resets[] = {
        {"KS300A", "KS300B", false}, {"KS300A", "KC200A", true}, {"KC200A", "KS300A", true},
        {"KC200A", "KC250", false},  {"H400-1", "QX300B", false}, {"QX300B", "KS300A", false},
        {" KS300A", "KS300B", false}, {"KS300A", "", true},
    };
    for (const Reset& r : resets) EXPECT_EQ(DirectionResets(r.before, r.after), r.resets) << r.before << " > " << r.after;
}

TEST(SelectKvBaseRules, SquarePlateByWholeMillimetres)
{
    model::KvBaseTbl base;
    struct Case {
        double a, b;
        bool square;
    } cases[] = {{600, 600, true}, {600, 600.4, true}, {600.9, 600, true}, {600, 601, false}, {600, 420, false}};
    for (const Case& c : cases) {
        base.KvLen(0, 1) = c.a;
        base.KvLen(0, 2) = c.b;
        EXPECT_EQ(SquarePlate(base), c.square) << c.a << " x " << c.b;
    }
}

TEST(SelectKvBaseRules, PedestalStrengthAndBarText)
{
    EXPECT_EQ(PedestalFc(21), 21);
    EXPECT_EQ(PedestalFc(100), 100);
    EXPECT_EQ(PedestalFc(210), 21);
    EXPECT_EQ(PedestalFc(225), 22.5);
    model::ColumnDataTbl col;
    col.RBarVal = " 22";
    col.RBarMat = "SD345 ";
    EXPECT_EQ(MainBarText(col), "D22(SD345)");
}

}  // namespace
