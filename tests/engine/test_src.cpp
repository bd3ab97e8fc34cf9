// SRC parts, superposition, curve read-out, limit force, ratios and rank,
// on hand-built engine states.
#include "engine/kverror.h"
#include "engine/src.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using kv::KvState;

// Column 900 x 900 mm, plate 400 x 400 mm, Fc 24 N/mm², steel ratio 0.01.
// D = B = 90 cm, a = b = 40 cm; fcd: long (1/3)(0.85)24 = 6.8,
// short 13.6, ultimate (0.85 - 0.025)24 = 19.8.
KvState ConcreteSection(int condition) {
    KvState s;
    s.Condition = static_cast<int16_t>(condition);
    s.Direction = 0;
    s.cDx = s.cDy = 900;
    s.KvData.KvLen(0, 1) = 400;
    s.KvData.KvLen(0, 2) = 400;
    s.Fc = 24;
    s.spcx = 0.01;
    return s;
}

TEST(SrcConcrete, StressFactorByState) {
    struct Case {
        int condition;
        double fcd;
    } cases[] = {{0, 19.8}, {1, 13.6}, {2, 6.8}};
    for (const auto& c : cases) {
        KvState s = ConcreteSection(c.condition);
        kv::ConcStressFactor(s, 24, 0.01);
        EXPECT_NEAR(s.fcd, c.fcd, 1e-12) << "state " << c.condition;
    }
    KvState s = ConcreteSection(3);
    s.fcd = 7.5;
    kv::ConcStressFactor(s, 24, 0.01);
    EXPECT_EQ(s.fcd, 7.5);
}

// Short-term, f = 1.36 kN/cm², cNmax = (8100 - 1600)·1.36 = 8840 kN.
// Ranges end at (D-a)B f/4 = 1530, ((D+a)B/4 - a²b/(D+a)) f = 3308.46, cNmax/2 = 4420.
//  1000: xn = 2N/(B f) = 16.3399, M = (45 - xn/3)·N = 395.5338 kN·m
//  2000: p = 50, q = 2000 - 2N/f, r = -25000, larger root, M = 685.6427
//  4000: B xn² - 2(N/f + ab) xn + abD = 0, M = 855.3834
//  6000: (B D³ - b a³)(1 - N/cNmax) f/(6D) = 510.1481
TEST(SrcConcrete, LinearBlockShortTerm) {
    struct Case {
        double N, M;
    } cases[] = {{-1, 0},    {0, 0},   {1000, 395.5337690631808}, {2000, 685.6426904507425}, {4000, 855.3834267657529},
                 {6000, 510.14814814814804}, {8840, 0}, {9000, 0}};
    for (const auto& c : cases) {
        KvState s = ConcreteSection(1);
        EXPECT_NEAR(kv::CalcConcM(s, c.N), c.M, 1e-9) << "N = " << c.N;
        EXPECT_NEAR(s.cNmax, 8840, 1e-9);
        EXPECT_NEAR(s.fcd, 13.6, 1e-12);
    }
}

// Ultimate, f = 1.98, cNmax = 12870; ranges at (D-a)/2 B f = 4455 and
// ((D+a)/2 B - ab) f = 8415.
//  1000: (D - N/(B f))·N/2 = 421.9416
//  5000: (D-a)(D+a)B f/8 - (xn - 25)(B-b)(xn - 65) f/2 = 1541.8737
// 10000: xn = (N/f + ab)/B, (B f/2)(D - xn) xn = 1060.3861
TEST(SrcConcrete, RectangularBlockUltimate) {
    struct Case {
        double N, M;
    } cases[] = {{-1, 0}, {0, 0}, {1000, 421.9416386083053}, {5000, 1541.8737373737372},
                 {10000, 1060.3860830527492}, {12870, 0}, {13000, 0}};
    for (const auto& c : cases) {
        KvState s = ConcreteSection(0);
        EXPECT_NEAR(kv::CalcConcM(s, c.N), c.M, 1e-9) << "N = " << c.N;
        EXPECT_NEAR(s.cNmax, 12870, 1e-9);
    }
}

// Plate 500 along x 300 across (a = 50, b = 30), so a and b cannot trade places.
// Short: cNmax = (8100 - 1500)·1.36 = 8976; ranges end at 1224, 3555.43, 4488.
// Ultimate: cNmax = 13068; ranges at 3564 and 9504.
TEST(SrcConcrete, OblongPlate) {
    struct Case {
        int condition;
        double N, M;
    } cases[] = {{1, 1500, 553.4376973605966}, {1, 3000, 845.0538136898738}, {1, 4000, 844.8052587887652},
                 {1, 6000, 516.5414141414142},  {0, 5000, 1519.6114478114478}, {0, 10000, 1116.4971941638605}};
    for (const auto& c : cases) {
        KvState s = ConcreteSection(c.condition);
        s.KvData.KvLen(0, 1) = 500;
        s.KvData.KvLen(0, 2) = 300;
        EXPECT_NEAR(kv::CalcConcM(s, c.N), c.M, 1e-9) << "state " << c.condition << " N " << c.N;
    }
}

// Neighbouring ranges meet: a slip in any branch shows up as a jump.
TEST(SrcConcrete, ContinuousAcrossRanges) {
    struct Case {
        int condition;
        double N;
    } cases[] = {{1, 1530}, {1, 3308.461538461538}, {1, 4420}, {0, 4455}, {0, 8415}, {2, 765}, {2, 2210}};
    for (const auto& c : cases) {
        KvState s = ConcreteSection(c.condition);
        const double below = kv::CalcConcM(s, c.N * (1 - 1e-9));
        const double above = kv::CalcConcM(s, c.N * (1 + 1e-9));
        EXPECT_NEAR(below, above, 1e-5 * std::fabs(below)) << "state " << c.condition << " N " << c.N;
    }
}

TEST(SrcConcrete, DirectionYSwapsDepthAndWidth) {
    // Y: D = cDy = 60, B = cDx = 90, a = 30, b = 20, f = (2/3)24/10 = 1.6.
    // N = 1000 < 30·90·1.6/4: xn = 2000/144, M = (30 - xn/3)·1000/100.
    KvState s = ConcreteSection(1);
    s.Direction = 1;
    s.cDy = 600;
    s.spcy = 0;
    s.KvData.KvLen(1, 1) = 300;
    s.KvData.KvLen(1, 2) = 200;
    EXPECT_NEAR(kv::CalcConcM(s, 1000), 253.7037037037037, 1e-9);
    EXPECT_NEAR(s.cNmax, (60 * 90 - 30 * 20) * 1.6, 1e-9);
}

TEST(SrcConcrete, OldUnitsUseTfPerCm2) {
    // Fc 240 kgf/cm²: fcd 136, f = 0.136 tf/cm²; a tenth of the SI example.
    KvState s = ConcreteSection(1);
    s.SIFlag = false;
    s.Fc = 240;
    EXPECT_NEAR(kv::CalcConcM(s, 100), 39.55337690631808, 1e-10);
    EXPECT_NEAR(s.cNmax, 884, 1e-9);
}

TEST(SrcConcrete, OtherStateGivesZeroAndKeepsFcd) {
    KvState s = ConcreteSection(3);
    s.fcd = 13.6;
    EXPECT_EQ(kv::CalcConcM(s, 1000), 0);
    EXPECT_EQ(s.fcd, 13.6);
}

TEST(SrcConcrete, OtherDirectionFails) {
    KvState s = ConcreteSection(1);
    s.Direction = 2;
    try {
        kv::CalcConcM(s, 1000);
        FAIL() << "no error";
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.number(), 9);
    }
}

TEST(SrcConcrete, ConcreteWithoutStrengthCarriesNothing) {
    // Fc 0: every capacity is 0; N = 0 must not turn into 0/0.
    for (int condition : {0, 1, 2}) {
        KvState s = ConcreteSection(condition);
        s.Fc = 0;
        EXPECT_EQ(kv::CalcConcM(s, 0), 0) << condition;
        EXPECT_EQ(kv::CalcConcM(s, 1), 0) << condition;
    }
}

TEST(SrcConcrete, PlateAsWideAsSectionIsAnError) {
    // B = b = 40 cm: the second quadratic has no x² term.
    KvState s = ConcreteSection(1);
    s.cDy = 400;
    const double f = 1.36;
    try {
        kv::CalcConcM(s, 600 * f);
        FAIL() << "no error";
    } catch (const kv::Error& e) {
        EXPECT_NE(std::string(e.what()).find("plate"), std::string::npos) << e.what();
    }
}

// Default bars: 8 per face, D22 (3.871 cm²), SD295 (29.5 kN/cm²), rows 80 cm apart.
KvState Bars(int condition) {
    KvState s;
    s.Condition = static_cast<int16_t>(condition);
    s.RBarArea = 3.871;
    s.RBarMatF = 29.5;
    return s;
}

TEST(SrcRebar, LinearInAllowableStates) {
    for (int condition : {1, 2}) {
        KvState s = Bars(condition);
        const double ft = condition == 2 ? (2.0 / 3.0) * 29.5 : 29.5;
        const double Nmax = 16 * 3.871 * ft;
        const double Mmax = 80 * 8 * 3.871 * ft / 100;
        EXPECT_NEAR(kv::CalcRebarM(s, Nmax / 2), Mmax / 2, 1e-9);
        EXPECT_NEAR(s.rNmax, Nmax, 1e-9);
        EXPECT_NEAR(s.rMmax, Mmax, 1e-9);
        EXPECT_NEAR(kv::CalcRebarM(s, -Nmax / 4), 0.75 * Mmax, 1e-9);
        EXPECT_NEAR(kv::CalcRebarM(s, 0), Mmax, 1e-9);
        EXPECT_EQ(kv::CalcRebarM(s, Nmax * 1.001), 0);
        EXPECT_EQ(kv::CalcRebarM(s, -Nmax), 0);
    }
}

TEST(SrcRebar, UltimateFlatTopOverSideBars) {
    // 4 side bars and 1 grouped position (nt = 8 + 2): ×1.1.
    KvState s = Bars(0);
    s.RmNx = 4;
    s.RTabaneX = 1;
    const double Nmax = (2 * 10 + 4) * 3.871 * 29.5 * 1.1;
    const double Nm = 4 * 3.871 * 29.5 * 1.1;
    const double Mmax = 80 * 10 * 3.871 * 29.5 / 100 * 1.1;
    EXPECT_NEAR(kv::CalcRebarM(s, Nm), Mmax, 1e-9);
    EXPECT_NEAR(kv::CalcRebarM(s, -Nm * 0.999), Mmax, 1e-9);
    EXPECT_NEAR(kv::CalcRebarM(s, (Nm + Nmax) / 2), Mmax / 2, 1e-9);
    EXPECT_NEAR(kv::CalcRebarM(s, -(Nm + Nmax) / 2), Mmax / 2, 1e-9);
    EXPECT_NEAR(s.rNmax, Nmax, 1e-9);
    EXPECT_NEAR(s.rMmax, Mmax, 1e-9);
    EXPECT_EQ(kv::CalcRebarM(s, Nmax * 1.001), 0);
}

TEST(SrcRebar, UltimateWithoutSideBarsPeaksAtZeroOnly) {
    KvState s = Bars(0);
    const double Mmax = 80 * 8 * 3.871 * 29.5 / 100 * 1.1;
    EXPECT_NEAR(kv::CalcRebarM(s, 0), Mmax, 1e-9);
    EXPECT_LT(kv::CalcRebarM(s, 1), Mmax);
    EXPECT_LT(kv::CalcRebarM(s, -1), Mmax);
}

TEST(SrcRebar, DirectionYTakesItsOwnBars) {
    KvState s = Bars(1);
    s.Direction = 1;
    s.RtNy = 5;
    s.RmNy = 2;
    s.rDy = 600;
    EXPECT_NEAR(kv::CalcRebarM(s, 0), 60 * 5 * 3.871 * 29.5 / 100, 1e-9);
    EXPECT_NEAR(s.rNmax, 12 * 3.871 * 29.5, 1e-9);
}

// Default column: A 111.8 cm², Z 1860, Zp 2096 cm³, SN490 (32.5 kN/cm²).
KvState Column(int condition) {
    KvState s;
    s.Condition = static_cast<int16_t>(condition);
    s.ColMatF = 32.5;
    return s;
}

TEST(SrcColumn, LinearInAllowableStates) {
    for (int condition : {1, 2}) {
        KvState s = Column(condition);
        const double fs = condition == 2 ? (2.0 / 3.0) * 32.5 : 32.5;
        const double Nmax = fs * 111.8, Mmax = fs * 1860 / 100;
        EXPECT_NEAR(kv::CalcColM(s, -Nmax / 2), Mmax / 2, 1e-9);
        EXPECT_NEAR(s.colNmax, Nmax, 1e-9);
        EXPECT_NEAR(s.colMmax, Mmax, 1e-9);
        EXPECT_EQ(kv::CalcColM(s, Nmax * 1.001), 0);
    }
}

TEST(SrcColumn, UltimateFlatTopBySectionKind) {
    struct Case {
        int colV;
        double k;
    } cases[] = {{0, 0.25}, {1, 0.2}, {2, 0.125}, {3, 0.125}, {7, 0.125}, {8, 0}, {-1, 0}};
    const double Nmax = 32.5 * 111.8 * 1.1, Mmax = 32.5 * 2096 / 100 * 1.1;
    for (const auto& c : cases) {
        KvState s = Column(0);
        s.ColV = static_cast<int16_t>(c.colV);
        const double Nr = c.k * Nmax;
        EXPECT_NEAR(kv::CalcColM(s, Nr), Mmax, 1e-9) << "ColV " << c.colV;
        EXPECT_NEAR(kv::CalcColM(s, (Nr + Nmax) / 2), Mmax / 2, 1e-9) << "ColV " << c.colV;
        EXPECT_NEAR(kv::CalcColM(s, -(Nr + Nmax) / 2), Mmax / 2, 1e-9) << "ColV " << c.colV;
        EXPECT_LT(kv::CalcColM(s, Nr + 1), Mmax) << "ColV " << c.colV;
        EXPECT_NEAR(s.colNmax, Nmax, 1e-9);
    }
}

TEST(SrcParts, OtherStateGivesZeroCapacities) {
    KvState s = Bars(3);
    s.ColMatF = 32.5;
    EXPECT_EQ(kv::CalcRebarM(s, 0), 0);
    EXPECT_EQ(kv::CalcColM(s, 0), 0);
    EXPECT_EQ(s.rNmax, 0);
    EXPECT_EQ(s.rMmax, 0);
    EXPECT_EQ(s.colNmax, 0);
    EXPECT_EQ(s.colMmax, 0);
}

TEST(SrcParts, OtherDirectionGivesZeroCapacities) {
    KvState s = Bars(1);
    s.ColMatF = 32.5;
    s.Direction = 2;
    EXPECT_EQ(kv::CalcRebarM(s, 0), 0);
    EXPECT_EQ(kv::CalcColM(s, 0), 0);
    EXPECT_EQ(s.rNmax, 0);
    EXPECT_EQ(s.colMmax, 0);
}

TEST(SrcTables, BarAreas) {
    struct Case {
        const char* size;
        double area;
    } cases[] = {{"D6", 0.3167}, {"D10", 0.7133}, {"D13", 1.267}, {"D16", 1.986}, {"D19", 2.865},
                 {"D22", 3.871}, {"d22 ", 3.871},  {" D25", 5.067}, {"D29", 6.424}, {"D32", 7.942},
                 {"D35", 9.566}, {"D38", 11.40},   {"D41", 13.40},  {"D51", 20.27}, {"D23", 0},
                 {"", 0},        {"22", 0}};
    for (const auto& c : cases) EXPECT_EQ(kv::GetBarArea(c.size), c.area) << "'" << c.size << "'";
}

TEST(SrcTables, SteelStrengthByUnitMode) {
    struct Case {
        const char* grade;
        double si, old;
    } cases[] = {{"SD295", 29.5, 3.0},   {"BCR295", 29.5, 3.0}, {"SD345", 34.5, 3.5},  {"SD390", 39, 4.0},
                 {"SD490", 49, 5.0},     {"SM490", 32.5, 3.3},  {"sn490", 32.5, 3.3},  {"SNR490", 32.5, 3.3},
                 {"BCP325", 32.5, 3.3},  {"SS400", 23.5, 2.4},  {"SN400 ", 23.5, 2.4}, {"SNR400", 23.5, 2.4},
                 {"BCP235", 23.5, 2.4},  {"STK400", 23.5, 2.4}, {"STKR400", 23.5, 2.4}, {"SM400", 0, 0},
                 {"", 0, 0}};
    KvState si, old;
    old.SIFlag = false;
    for (const auto& c : cases) {
        EXPECT_EQ(kv::GetSteelF(si, c.grade), c.si) << c.grade;
        EXPECT_EQ(kv::GetSteelF(old, c.grade), c.old) << c.grade;
    }
}

// Grid of step 10 with one step per part each way.
// Ms(m = -1, 0, 1) = 2, 5, 3; Mc(j = 0, 1) = 1, 4; Mr(r = -1, 0, 1) = 6, 10, 7.
// SC(k = -1..2) = 3, max(6, 6) = 6, max(4, 9) = 9, 7.
// M(i = -2..3) = 3+6 = 9; max(13, 12) = 13; max(10, 16, 15) = 16;
//                max(13, 19, 13) = 19; max(16, 17) = 17; 7+7 = 14.
TEST(SrcCurve, SuperposesBestSplitOfEachGridForce) {
    KvState s;
    s.srcNmin = -25;
    s.srcNmax = 35;
    const kv::RuikaGrid g{10, 1, 1, 1, 1};
    kv::SuperposeRuika(s, g, {2, 5, 3}, {1, 4}, {6, 10, 7});
    const double N[] = {-25, -20, -10, 0, 10, 20, 30, 35};
    const double M[] = {0, 9, 13, 16, 19, 17, 14, 0};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(s.RuikaN(i), N[i]) << i;
        EXPECT_EQ(s.RuikaM(i), M[i]) << i;
    }
    for (int i = 8; i <= 150; ++i) ASSERT_EQ(s.RuikaN(i), 0) << i;
    EXPECT_EQ(s.srcMmax, 19);
}

TEST(SrcCurve, NegativeSumsAreClippedToZero) {
    // Ms(-1) = -50 clips SC(-1) to 0; bars below zero then give 0 at i = -2.
    KvState s;
    s.srcNmin = -25;
    s.srcNmax = 35;
    const kv::RuikaGrid g{10, 1, 1, 1, 1};
    kv::SuperposeRuika(s, g, {-50, 5, 3}, {1, 4}, {-6, 10, -7});
    // SC = 0, 6, 9, 7; M(i=-2) = max(0, 0-6) = 0; i=-1: max(0+10, 6-6) = 10;
    // i=0: max(0-7, 16, 9-6) = 16; i=1: max(6-7, 19, 7-6) = 19; i=2: max(9-7, 17) = 17; i=3: 7-7 = 0.
    const double M[] = {0, 0, 10, 16, 19, 17, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(s.RuikaM(i), M[i]) << i;
    EXPECT_EQ(s.srcMmax, 19);

    KvState z;
    z.srcNmin = -10;
    z.srcNmax = 10;
    kv::SuperposeRuika(z, {10, 0, 0, 0, 0}, {-1}, {-1}, {-1});
    EXPECT_EQ(z.RuikaM(1), 0);
    EXPECT_EQ(z.srcMmax, 0);
}

// Curve: N -100, -90, 0, 90, 180, 200 with M 0, 50, 100, 80, 40, 0.
KvState HandCurve() {
    KvState s;
    s.Condition = 1;
    s.DesignRoot = 0;  // limit force 0
    s.srcNmin = -100;
    s.srcNmax = 200;
    const double N[] = {-100, -90, 0, 90, 180, 200};
    const double M[] = {0, 50, 100, 80, 40, 0};
    for (int i = 0; i < 6; ++i) {
        s.RuikaN(i) = N[i];
        s.RuikaM(i) = M[i];
    }
    return s;
}

TEST(SrcMu, ReadsTheCurve) {
    struct Case {
        double N, Mu;
    } cases[] = {
        {200, 0},        {-100, 0},        {200.5, 0},      {-100.5, 0},  // ends and beyond
        {45, 90},        {-95, 25},        {190, 20},                     // between points
        {90.0005, 80},   {0.0009, 100},                                   // just past a point: its moment
        {90, 80},        {-90, 50},
        {89.999, 100 - 20 * 89.999 / 90},                                 // just before: interpolated
    };
    for (const auto& c : cases) {
        KvState s = HandCurve();
        EXPECT_NEAR(kv::CalcSrcMu(s, c.N), c.Mu, 1e-12) << "N = " << c.N;
    }
}

TEST(SrcMu, VerdictOnCapacityAndLimitForce) {
    KvState s = HandCurve();
    s.VerticalLoad = 45;  // capacity 90
    s.MomentLoad = -90;
    EXPECT_EQ(kv::CalcSrcMu(s), 90);
    EXPECT_EQ(s.srcMJadgeCode, -1);
    s.MomentLoad = 90.0001;
    kv::CalcSrcMu(s);
    EXPECT_EQ(s.srcMJadgeCode, 0);

    // Tension below -srcTCrit fails whatever the moment (route 0: limit 0).
    s.VerticalLoad = -10;
    s.MomentLoad = 0;
    kv::CalcSrcMu(s);
    EXPECT_EQ(s.srcMJadgeCode, 0);
    s.DesignRoot = 3;  // limit 0.8(Tr + Tk) > 10 with the default bars
    s.RBarArea = 3.871;
    s.RBarMatF = 29.5;
    kv::CalcSrcMu(s);
    EXPECT_EQ(s.srcMJadgeCode, -1);
}

// Bars 8 + 8 per face, D22, SD295: Tr = (16 + 12)·3.871·29.5 = 3197.446; Tu = 100.
KvState Limits(int condition, int route, int wall) {
    KvState s;
    s.Condition = static_cast<int16_t>(condition);
    s.DesignRoot = static_cast<int16_t>(route);
    s.srcWall = static_cast<int16_t>(wall);
    s.RBarArea = 3.871;
    s.RBarMatF = 29.5;
    s.RTabaneX = 2;  // grouped bars do not count
    s.Tu = 100;
    return s;
}

TEST(SrcTCrit, ByStateRouteAndWall) {
    const double Tr = 28 * 3.871 * 29.5;
    struct Case {
        int condition, route, wall;
        double T;
    } cases[] = {
        {1, 1, 0, 0.8 * (Tr + 100)},       {1, 21, 0, 0.8 * (Tr + 100)},     {1, 2, 0, 0.4 * (Tr + 100)},
        {1, 22, 0, 0.4 * (Tr + 100)},      {1, 23, 0, 0.4 * (Tr + 100)},     {1, 3, 0, 0.8 * (Tr + 100)},
        {1, 3, -1, 99999999999.0},         {1, 1, -1, 0.8 * (Tr + 100)},     {1, 11, 0, 0},
        {0, 1, 0, 0.8 * (Tr + 75)},        {2, 1, 0, 0.8 * (Tr + 100 * 2.0 / 3.0)}, {3, 1, 0, 0.8 * Tr},
    };
    for (const auto& c : cases) {
        KvState s = Limits(c.condition, c.route, c.wall);
        EXPECT_NEAR(kv::CalcSrcTCrit(s), c.T, 1e-9) << c.condition << "/" << c.route << "/" << c.wall;
    }
}

TEST(SrcRatios, AxialShare) {
    // Long-term takes 1.5 here (2/3 in the limit force and the bending share).
    const double Tr = 28 * 3.871 * 29.5;
    struct Case {
        int condition;
        double Tk;
    } cases[] = {{0, 75}, {1, 100}, {2, 150}, {3, 0}};
    for (const auto& c : cases) {
        KvState s = Limits(c.condition, 3, 0);
        EXPECT_NEAR(kv::CalcSrcNRatio(s), c.Tk / (c.Tk + Tr), 1e-15) << c.condition;
    }
}

TEST(SrcRatios, BendingShareByDirection) {
    // Md = k·Tu/2·KvLen(d,3)/10; Mr = (RtN + 2 RTabane)·A·Fr·rD/10.
    KvState s = Limits(1, 3, 0);
    s.KvData.KvLen(0, 3) = 300;
    s.KvData.KvLen(1, 3) = 200;
    s.RTabaneX = 0;
    s.RtNy = 6;
    s.RTabaneY = 1;
    s.rDy = 700;
    const double A = 3.871 * 29.5;
    const double Md0 = 100.0 / 2 * 30, Mr0 = 8 * A * 80;
    const double Md1 = 100.0 / 2 * 20, Mr1 = 8 * A * 70;
    EXPECT_NEAR(kv::CalcSrcMRatio(s, 0), Md0 / (Md0 + Mr0), 1e-15);
    EXPECT_NEAR(kv::CalcSrcMRatio(s, 1), Md1 / (Md1 + Mr1), 1e-15);
    s.Condition = 2;
    const double Md2 = 100 * (2.0 / 3.0) / 2 * 30;
    EXPECT_NEAR(kv::CalcSrcMRatio(s, 0), Md2 / (Md2 + Mr0), 1e-15);
}

TEST(SrcRatios, NothingToShareIsAnError) {
    KvState s = Limits(1, 3, 0);
    s.Tu = 0;
    s.RBarArea = 0;  // an unknown bar size
    EXPECT_THROW(kv::CalcSrcNRatio(s), kv::Error);
    EXPECT_THROW(kv::CalcSrcMRatio(s, 0), kv::Error);
}

TEST(SrcRank, ByWallRouteAndTension) {
    // Bars with Tr = (2·2 + 2·0)·1·1 = 4; short-term Tk = Tu; T = 0.8(4 + Tu).
    struct Case {
        int route, wall;
        double Tu, N;
        const char* rank;
    } cases[] = {
        {3, -1, 1, -100, "耐震壁付き"}, {1, 1, 1, 0, "耐震壁付き"},
        {3, 0, 1, 0, "FA"},             {3, 0, 1, -2, "FA"},      // -T/2 = -2 itself
        {3, 0, 1, -3, "FB"},                                     // ratio 1/5 = 0.2
        {3, 0, 0.8, -3, "FD"},                                   // 0.8/4.8
        {3, 0, 0.5, -3, ""},                                     // 0.5/4.5
        {3, 0, 1, -4, "FB"},            {3, 0, 1, -4.01, ""},    // -T = -4
        {1, 0, 1, 0, ""},               {21, 0, 1, 0, ""},
    };
    for (const auto& c : cases) {
        KvState s;
        s.Condition = 1;
        s.DesignRoot = static_cast<int16_t>(c.route);
        s.srcWall = static_cast<int16_t>(c.wall);
        s.RtNx = 2;
        s.RtNy = 2;
        s.RBarArea = 1;
        s.RBarMatF = 1;
        s.Tu = c.Tu;
        s.VerticalLoad = c.N;
        EXPECT_EQ(kv::GetColRank(s), c.rank) << c.route << " " << c.Tu << " " << c.N;
    }
}

TEST(SrcShear, ConcreteStressFc24) {
    // 1.5(0.24 + 0.5) = 1.11 < 1.2; long 0.74; ultimate 2.25 + 1.08 = 3.33 < 3.6 (N/mm²).
    // Old units, Fc 240: 1.5(2.4 + 5) = 11.1 < 12; 7.4; 22.5 + 10.8 = 33.3 < 36.
    struct Case {
        bool si;
        double Fc;
        int condition;
        double fs;
    } cases[] = {
        {true, 24, 1, 111},  {true, 24, 2, 74},  {true, 24, 0, 333},   {false, 240, 1, 11.1},
        {false, 240, 2, 7.4}, {false, 240, 0, 33.3}, {true, 12, 1, 60}, {true, 12, 0, 180},
        {true, 24, 3, 0},
    };
    for (const auto& c : cases) {
        KvState s;
        s.SIFlag = c.si;
        s.Fc = c.Fc;
        s.Condition = static_cast<int16_t>(c.condition);
        EXPECT_NEAR(kv::ConcShearStress(s), c.fs, 1e-12) << c.si << " " << c.Fc << " " << c.condition;
    }
}

TEST(SrcHelpers, Solve2x2) {
    // 2x + y = 5, x - y = 1 -> (2, 1).
    std::array<double, 2> x{9, 9};
    EXPECT_TRUE(kv::Solve2x2({{{2, 1}, {1, -1}}}, {5, 1}, x));
    EXPECT_DOUBLE_EQ(x[0], 2);
    EXPECT_DOUBLE_EQ(x[1], 1);
    EXPECT_FALSE(kv::Solve2x2({{{2, 1}, {4, 2}}}, {5, 1}, x));
    EXPECT_EQ(x[0], 0);
    EXPECT_EQ(x[1], 0);
}

TEST(SrcHelpers, ArrayMaxMin) {
    const std::vector<double> v{3, -7, 11, 0};
    EXPECT_EQ(kv::ArrayMax(v), 11);
    EXPECT_EQ(kv::ArrayMin(v), -7);
    EXPECT_EQ(kv::ArrayMax({}), -1e300);
    EXPECT_EQ(kv::ArrayMin({}), 1e300);
}

}  // namespace
