// Steel-base strengths, axial limits and the check with its verdicts.
// Expected values come from tests/engine/smode_reference.py, which works the
// formulas out on their own; a few are derived by hand in the comments.
#include "engine/smode.h"

#include "engine/kverror.h"
#include "test_smode_base.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kv {
namespace {

using test::MakeBase;

// ---------------------------------------------------------------- CalcNu ---

TEST(CalcNu, CoefficientByKindAndStateOnThePlate) {
    // fc = 24 N/mm² = 24 / 9.80665 * 100 kgf/cm²; plate 50 x 45 cm.
    struct Row {
        int kind, state;
        double nu;
    } rows[] = {
        {0, 0, 495.58207950727314},  // 0.9 * fc / 1000 * 2250
        {4, 1, 371.68655963045484},  // 0.675
        {2, 0, 433.63431956886404},  // always 21 N/mm²
        {3, 1, 403.8076203392596},   // 2/3 * 1.1
        {6, 0, 0.85 * 24 / 9.80665 * 100 / 1000 * 50 * 45},
    };
    for (const auto& r : rows) {
        KvState s = MakeBase(r.kind, 0, r.state);
        EXPECT_NEAR(CalcNu(s), r.nu, 1e-12 * r.nu) << "kind " << r.kind << " state " << r.state;
    }
}

TEST(CalcNu, ConcreteStrengthCappedOnlyOutsideSteelMode) {
    const auto nuAt = [](double fc, bool smode, bool si) {
        KvState s = MakeBase(0, 0, 0);
        s.Fc = fc;
        s.SMode = smode;
        s.SIFlag = si;
        return CalcNu(s);
    };
    EXPECT_EQ(nuAt(36, false, true), nuAt(30, true, true));
    EXPECT_EQ(nuAt(31, false, true), nuAt(31, true, true));
    EXPECT_EQ(nuAt(30.5, false, true), nuAt(30.5, true, true));
    EXPECT_EQ(nuAt(306, false, false), nuAt(300, true, false));
    EXPECT_EQ(nuAt(305, false, false), nuAt(305, true, false));
    EXPECT_GT(nuAt(36, true, true), nuAt(30, true, true));
}

TEST(CalcNu, KindTwoIgnoresFc) {
    KvState a = MakeBase(2, 0, 1);
    KvState b = MakeBase(2, 0, 1);
    b.Fc = 60;
    EXPECT_EQ(CalcNu(a), CalcNu(b));
    KvState c = MakeBase(0, 0, 1);
    c.Fc = 21;
    EXPECT_EQ(CalcNu(a), CalcNu(c));
}

TEST(CalcNu, KindSixShapeFromThirdCharacterFromTheEnd) {
    KvState s = MakeBase(6, 0, 0);
    const double rectangle = CalcNu(s);
    s.KvData.bb_SV = 1.1;
    EXPECT_EQ(CalcNu(s), rectangle);

    s.KvName = "  SV250-8-A ";  // octagon C = 45, A = 50: C² - (√2·C - A)² = 1838.96...
    EXPECT_NEAR(CalcNu(s), 420.7990040272176, 1e-9);
    s.KvName = "SV250-X-A";
    EXPECT_EQ(CalcNu(s), 0);
    s.KvName = "基礎4号A";  // characters, not bytes: the third from the end is "4"
    EXPECT_EQ(CalcNu(s), rectangle);
    s.KvName = "SV柱AB";
    EXPECT_EQ(CalcNu(s), 0);
    s.KvName = "4A";
    try {
        CalcNu(s);
        ADD_FAILURE() << "a two-character name has no shape digit";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), vb::kErrInvalidCall);
    }
}

TEST(CalcNu, StateOutsideTheTableGivesZero) {
    for (int kind : {0, 3, 5, 6}) {
        KvState s = MakeBase(kind, 0, 0);
        s.Condition = 3;
        EXPECT_EQ(CalcNu(s), 0) << kind;
    }
    KvState s = MakeBase(0, 0, 0);
    s.KvData.KvV = 7;
    EXPECT_EQ(CalcNu(s), 0);
}

// --------------------------------------------------------------- CalcTu1 ---

TEST(CalcTu1, ByStateAndKind) {
    // AbF 5 tf/cm², AbA 4.52389248, AbAe 3.39291936 cm².
    const double plain[] = {22.6194624, 16.9645968, 11.3097312};
    for (int st = 0; st < 3; ++st) {
        EXPECT_NEAR(CalcTu1(MakeBase(1, 0, st)), plain[st], 1e-12);
        EXPECT_EQ(CalcTu1(MakeBase(6, 0, st)), MakeBase(6, 0, st).KvData.Tu(st));
    }
    KvState s = MakeBase(0, 0, 0);
    s.Condition = 3;
    EXPECT_EQ(CalcTu1(s), 0);
    KvState six = MakeBase(6, 0, 0);
    six.Condition = 3;
    try {
        CalcTu1(six);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), vb::kErrSubscript);
    }
}

// ------------------------------------------------------------ CalcMuAtN ---

// One point inside every zone of each cascade (midway between its bounds),
// one just outside either end, and one 0.01 tf either side of every bound, so
// that a bound put in the wrong place shows. Moments in tf·m; labels of kinds
// 0 and 2. The rows are those smode_reference.py prints; CTest compares them.
struct MuRow {
    int kind, abv, state;
    double N, mu;
    const char* label;
};
const MuRow kMuRows[] = {
        {0, 0, 0, 500.58207950727314, 0.0, ""},
        {0, 0, 0, 495.5920795072731, 0.0, ""},
        {0, 0, 0, 495.57207950727314, 0.0024999495542657054, "A"},
        {0, 0, 0, 465.8471547368367, 6.987707321052556, "A"},
        {0, 0, 0, 436.1222299664003, 13.081466848546292, "A"},
        {0, 0, 0, 436.10222996640033, 13.085266898992012, "B"},
        {0, 0, 0, 413.4927675664003, 17.38106475499202, "B"},
        {0, 0, 0, 390.8833051664003, 21.67686261099202, "B"},
        {0, 0, 0, 390.8633051664003, 21.68066256054629, "C1"},
        {0, 0, 0, 234.7649501216093, 39.045817109725014, "C1"},
        {0, 0, 0, 78.6665950768183, 31.827055638457697, "C1"},
        {0, 0, 0, 78.64659507681829, 31.825180537570304, "C2"},
        {0, 0, 0, 16.708835138409146, 23.114401947564645, "C2"},
        {0, 0, 0, -45.2289248, 8.597895711995927, "C2"},
        {0, 0, 0, -45.2489248, 8.593495712, "D"},
        {0, 0, 0, -67.8583872, 4.297697856000001, "D"},
        {0, 0, 0, -90.4678496, 0.001900000000000972, "D"},
        {0, 0, 0, -90.4878496, 0.0, ""},
        {0, 0, 0, -95.4778496, 0.0, ""},
        {0, 0, 1, 376.68655963045484, 0.0, ""},
        {0, 0, 1, 371.69655963045483, 0.0, ""},
        {0, 0, 1, 371.67655963045485, 0.00249993273902566, "A"},
        {0, 0, 1, 349.38536605262755, 5.240780490789418, "A"},
        {0, 0, 1, 327.09417247480025, 9.810625106983032, "A"},
        {0, 0, 1, 327.07417247480026, 9.814425174244006, "B"},
        {0, 0, 1, 310.1195756748002, 13.035798566244011, "B"},
        {0, 0, 1, 293.1649788748002, 16.257171958244008, "B"},
        {0, 0, 1, 293.14497887480024, 16.260971890983033, "C1"},
        {0, 0, 1, 176.07371259120697, 29.284362832293763, "C1"},
        {0, 0, 1, 59.00244630761371, 23.870604199416597, "C1"},
        {0, 0, 1, 58.98244630761371, 23.868729064901892, "C2"},
        {0, 0, 1, 12.531626353806857, 17.33580146067348, "C2"},
        {0, 0, 1, -33.9191936, 6.449046783992761, "C2"},
        {0, 0, 1, -33.939193599999996, 6.444646784000001, "D"},
        {0, 0, 1, -50.8937904, 3.2232733919999994, "D"},
        {0, 0, 1, -67.84838719999999, 0.001900000000000972, "D"},
        {0, 0, 1, -67.8683872, 0.0, ""},
        {0, 0, 1, -72.8583872, 0.0, ""},
        {2, 0, 0, 438.63431956886404, 0.0, ""},
        {2, 0, 0, 433.64431956886403, 0.0, ""},
        {2, 0, 0, 433.62431956886405, 0.0024999423477327838, "A"},
        {2, 0, 0, 407.6162603947322, 6.114243905920988, "A"},
        {2, 0, 0, 381.6082012206004, 11.446045978965742, "A"},
        {2, 0, 0, 381.5882012206004, 11.449846036618, "B"},
        {2, 0, 0, 358.97873882060037, 15.74564389261801, "B"},
        {2, 0, 0, 336.3692764206004, 20.04144174861801, "B"},
        {2, 0, 0, 336.3492764206004, 20.045241690965735, "C1"},
        {2, 0, 0, 199.7644657564082, 35.23951443500939, "C1"},
        {2, 0, 0, 63.17965509221601, 28.923254384138236, "C1"},
        {2, 0, 0, 63.15965509221601, 28.92137926883903, "C2"},
        {2, 0, 0, 8.965365146108006, 21.299526168119066, "C2"},
        {2, 0, 0, -45.2289248, 8.597895711994681, "C2"},
        {2, 0, 0, -45.2489248, 8.593495712, "D"},
        {2, 0, 0, -67.8583872, 4.297697856000001, "D"},
        {2, 0, 0, -90.4678496, 0.001900000000000972, "D"},
        {2, 0, 0, -90.4878496, 0.0, ""},
        {2, 0, 0, -95.4778496, 0.0, ""},
        {1, 0, 0, 500.58207950727314, 0.0, nullptr},
        {1, 0, 0, 495.5920795072731, 0.0, nullptr},
        {1, 0, 0, 495.57207950727314, 0.0024999495542657054, nullptr},
        {1, 0, 0, 465.8471547368367, 6.987707321052556, nullptr},
        {1, 0, 0, 436.12222996640037, 13.081466848546283, nullptr},
        {1, 0, 0, 436.1022299664004, 13.085266898991994, nullptr},
        {1, 0, 0, 413.4927675664004, 17.381064754992003, nullptr},
        {1, 0, 0, 390.88330516640036, 21.67686261099201, nullptr},
        {1, 0, 0, 390.8633051664004, 21.68066256054628, nullptr},
        {1, 0, 0, 202.55211495363656, 39.56927568120457, nullptr},
        {1, 0, 0, 14.240924740872773, 21.68066256054628, nullptr},
        {1, 0, 0, 14.220924740872773, 21.67686261099201, nullptr},
        {1, 0, 0, -8.388537659127227, 17.38106475499201, nullptr},
        {1, 0, 0, -30.998000059127225, 13.08526689899201, nullptr},
        {1, 0, 0, -31.01800005912723, 13.081466848546278, nullptr},
        {1, 0, 0, -60.74292482956361, 6.98770732105255, nullptr},
        {1, 0, 0, -90.4678496, 0.0024999495542708263, nullptr},
        {1, 0, 0, -90.4878496, 0.0, nullptr},
        {1, 0, 0, -95.4778496, 0.0, nullptr},
        {3, 0, 1, 408.8076203392596, 0.0, nullptr},
        {3, 0, 1, 403.8176203392596, 0.0, nullptr},
        {3, 0, 1, 403.7976203392596, 0.0024999380893264565, nullptr},
        {3, 0, 1, 379.57916311890403, 5.693687446783556, nullptr},
        {3, 0, 1, 355.3607058985484, 10.658621115045786, nullptr},
        {3, 0, 1, 355.34070589854844, 10.66242117695645, nullptr},
        {3, 0, 1, 338.38610909854845, 13.883794568956455, nullptr},
        {3, 0, 1, 321.4315122985484, 17.10516796095646, nullptr},
        {3, 0, 1, 321.4115122985484, 17.10896789904578, nullptr},
        {3, 0, 1, 167.97461656962977, 31.684523055203716, nullptr},
        {3, 0, 1, 14.537720840711147, 17.108967899045783, nullptr},
        {3, 0, 1, 14.517720840711148, 17.10516796095645, nullptr},
        {3, 0, 1, -2.4368759592888516, 13.88379456895645, nullptr},
        {3, 0, 1, -19.39147275928885, 10.662421176956451, nullptr},
        {3, 0, 1, -19.411472759288852, 10.658621115045783, nullptr},
        {3, 0, 1, -43.62992997964442, 5.69368744678356, nullptr},
        {3, 0, 1, -67.84838719999999, 0.002499938089332087, nullptr},
        {3, 0, 1, -67.8683872, 0.0, nullptr},
        {3, 0, 1, -72.8583872, 0.0, nullptr},
        {4, 0, 2, 252.79103975363657, 0.0, nullptr},
        {4, 0, 2, 247.80103975363656, 0.0, nullptr},
        {4, 0, 2, 247.78103975363658, 0.0024998991085352527, nullptr},
        {4, 0, 2, 232.92357736841836, 3.493853660526278, nullptr},
        {4, 0, 2, 218.06611498320018, 6.539783348604542, nullptr},
        {4, 0, 2, 218.0461149832002, 6.543583449496, nullptr},
        {4, 0, 2, 206.7463837832002, 8.690532377496002, nullptr},
        {4, 0, 2, 195.44665258320018, 10.837481305496004, nullptr},
        {4, 0, 2, 195.4266525832002, 10.841281204604543, nullptr},
        {4, 0, 2, 101.27605747681828, 19.784637840602286, nullptr},
        {4, 0, 2, 7.125462370436386, 10.841281204604543, nullptr},
        {4, 0, 2, 7.105462370436387, 10.837481305496004, nullptr},
        {4, 0, 2, -4.1942688295636135, 8.690532377496005, nullptr},
        {4, 0, 2, -15.494000029563614, 6.543583449496005, nullptr},
        {4, 0, 2, -15.514000029563613, 6.539783348604545, nullptr},
        {4, 0, 2, -30.371462414781806, 3.493853660526275, nullptr},
        {4, 0, 2, -45.2289248, 0.0024998991085385973, nullptr},
        {4, 0, 2, -45.2489248, 0.0, nullptr},
        {4, 0, 2, -50.2389248, 0.0, nullptr},
        {1, 1, 0, 500.58207950727314, 0.0, nullptr},
        {1, 1, 0, 495.5920795072731, 0.0, nullptr},
        {1, 1, 0, 495.57207950727314, 0.0024999495542657054, nullptr},
        {1, 1, 0, 465.8471547368367, 6.987707321052556, nullptr},
        {1, 1, 0, 436.12222996640037, 13.081466848546283, nullptr},
        {1, 1, 0, 436.1022299664004, 13.085266898991994, nullptr},
        {1, 1, 0, 413.4927675664004, 17.381064754992003, nullptr},
        {1, 1, 0, 390.88330516640036, 21.67686261099201, nullptr},
        {1, 1, 0, 390.8633051664004, 21.68066256054628, nullptr},
        {1, 1, 0, 346.27091801074573, 29.149662459564162, nullptr},
        {1, 1, 0, 301.67853085509114, 34.612454835686115, nullptr},
        {1, 1, 0, 301.65853085509116, 34.614454886131846, nullptr},
        {1, 1, 0, 279.0490684550912, 36.87540112613184, nullptr},
        {1, 1, 0, 256.43960605509113, 39.136347366131844, nullptr},
        {1, 1, 0, 256.41960605509115, 39.13834731568611, nullptr},
        {1, 1, 0, 157.31319015363653, 44.09316816120457, nullptr},
        {1, 1, 0, 58.20677425218192, 39.13834731568611, nullptr},
        {1, 1, 0, 58.18677425218193, 39.136347366131844, nullptr},
        {1, 1, 0, 35.57731185218193, 36.87540112613184, nullptr},
        {1, 1, 0, 12.967849452181932, 34.61445488613184, nullptr},
        {1, 1, 0, 12.947849452181933, 34.61245483568611, nullptr},
        {1, 1, 0, -31.644537703472643, 29.149662459564148, nullptr},
        {1, 1, 0, -76.23692485912721, 21.68066256054628, nullptr},
        {1, 1, 0, -76.25692485912722, 21.67686261099201, nullptr},
        {1, 1, 0, -98.86638725912722, 17.38106475499201, nullptr},
        {1, 1, 0, -121.47584965912722, 13.085266898992009, nullptr},
        {1, 1, 0, -121.49584965912723, 13.081466848546278, nullptr},
        {1, 1, 0, -151.22077442956362, 6.98770732105255, nullptr},
        {1, 1, 0, -180.9456992, 0.0024999495542672736, nullptr},
        {1, 1, 0, -180.9656992, 0.0, nullptr},
        {1, 1, 0, -185.9556992, 0.0, nullptr},
        {4, 1, 1, 376.68655963045484, 0.0, nullptr},
        {4, 1, 1, 371.69655963045483, 0.0, nullptr},
        {4, 1, 1, 371.67655963045485, 0.00249993273902566, nullptr},
        {4, 1, 1, 349.38536605262755, 5.240780490789418, nullptr},
        {4, 1, 1, 327.09417247480025, 9.810625106983032, nullptr},
        {4, 1, 1, 327.07417247480026, 9.814425174244006, nullptr},
        {4, 1, 1, 310.1195756748002, 13.035798566244011, nullptr},
        {4, 1, 1, 293.1649788748002, 16.257171958244008, nullptr},
        {4, 1, 1, 293.14497887480024, 16.260971890983033, nullptr},
        {4, 1, 1, 259.7031885080593, 21.862246844673113, nullptr},
        {4, 1, 1, 226.26139814131838, 25.959091097337904, nullptr},
        {4, 1, 1, 226.2413981413184, 25.961091164598873, nullptr},
        {4, 1, 1, 209.28680134131838, 27.65655084459888, nullptr},
        {4, 1, 1, 192.3322045413184, 29.352010524598878, nullptr},
        {4, 1, 1, 192.3122045413184, 29.354010457337907, nullptr},
        {4, 1, 1, 117.98489261522742, 33.06987612090343, nullptr},
        {4, 1, 1, 43.657580689136445, 29.354010457337907, nullptr},
        {4, 1, 1, 43.63758068913645, 29.352010524598878, nullptr},
        {4, 1, 1, 26.682983889136445, 27.65655084459888, nullptr},
        {4, 1, 1, 9.728387089136442, 25.96109116459888, nullptr},
        {4, 1, 1, 9.708387089136442, 25.959091097337904, nullptr},
        {4, 1, 1, -23.73340327760449, 21.862246844673113, nullptr},
        {4, 1, 1, -57.17519364434543, 16.260971890983033, nullptr},
        {4, 1, 1, -57.19519364434542, 16.257171958244008, nullptr},
        {4, 1, 1, -74.14979044434541, 13.03579856624401, nullptr},
        {4, 1, 1, -91.1043872443454, 9.814425174244011, nullptr},
        {4, 1, 1, -91.12438724434541, 9.810625106983034, nullptr},
        {4, 1, 1, -113.4155808221727, 5.2407804907894135, nullptr},
        {4, 1, 1, -135.7067744, 0.0024999327390237895, nullptr},
        {4, 1, 1, -135.72677439999998, 0.0, nullptr},
        {4, 1, 1, -140.7167744, 0.0, nullptr},
        {5, 0, 1, 372.09783667205414, 0.0, nullptr},
        {5, 0, 1, 367.10783667205413, 0.0, nullptr},
        {5, 0, 1, 367.08783667205415, 0.0037498723098130155, nullptr},
        {5, 0, 1, 352.1033896141087, 5.337790648416529, nullptr},
        {5, 0, 1, 337.1189425561633, 10.110268154320298, nullptr},
        {5, 0, 1, 337.0989425561633, 10.1151682766849, nullptr},
        {5, 0, 1, 320.14434575616326, 13.336541668684903, nullptr},
        {5, 0, 1, 303.18974895616327, 16.5579150606849, nullptr},
        {5, 0, 1, 303.1697489561633, 16.56281493832151, nullptr},
        {5, 0, 1, 216.2025747163159, 33.80810922664007, nullptr},
        {5, 0, 1, 129.2354004764685, 35.150317878991416, nullptr},
        {5, 0, 1, 129.21540047646852, 35.14865125205164, nullptr},
        {5, 0, 1, 80.68690873871913, 29.136290006239022, nullptr},
        {5, 0, 1, 32.15841700096975, 20.985521070812187, nullptr},
        {5, 0, 1, 32.13841700096975, 20.981721116213343, nullptr},
        {5, 0, 1, 15.183820200969752, 17.760347724213343, nullptr},
        {5, 0, 1, -1.770776599030247, 14.538974332213344, nullptr},
        {5, 0, 1, -1.790776599030247, 14.535174286812186, nullptr},
        {5, 0, 1, -34.81958189951512, 7.764119245613944, nullptr},
        {5, 0, 1, -67.84838719999999, 0.0024999545988438716, nullptr},
        {5, 0, 1, -67.8683872, 0.0, nullptr},
        {5, 0, 1, -72.8583872, 0.0, nullptr},
        {5, 1, 0, 500.58207950727314, 0.0, nullptr},
        {5, 1, 0, 495.5920795072731, 0.0, nullptr},
        {5, 1, 0, 495.57207950727314, 0.0037499054145688645, nullptr},
        {5, 1, 0, 459.5476577804799, 12.299753638754389, nullptr},
        {5, 1, 0, 423.5232360536867, 22.232007305379977, nullptr},
        {5, 1, 0, 423.5032360536867, 22.23589489281855, nullptr},
        {5, 1, 0, 378.2743112536867, 28.794088988818547, nullptr},
        {5, 1, 0, 333.04538645368666, 35.35228308481855, nullptr},
        {5, 1, 0, 333.0253864536867, 35.35617049738066, nullptr},
        {5, 1, 0, 231.4081194284596, 51.467543816685044, nullptr},
        {5, 1, 0, 129.79085240323252, 51.869152370251776, nullptr},
        {5, 1, 0, 129.77085240323254, 51.86748573301227, nullptr},
        {5, 1, 0, 97.70567892401178, 48.2555923835435, nullptr},
        {5, 1, 0, 65.64050544479105, 43.95213827971575, nullptr},
        {5, 1, 0, 65.62050544479104, 43.94923831334623, nullptr},
        {5, 1, 0, 20.39158064479104, 37.391044217346234, nullptr},
        {5, 1, 0, -24.837344155208957, 30.832850121346226, nullptr},
        {5, 1, 0, -24.85734415520896, 30.829950087715744, nullptr},
        {5, 1, 0, -102.90152167760448, 17.464622220636, nullptr},
        {5, 1, 0, -180.9456992, 0.002499966369510758, nullptr},
        {5, 1, 0, -180.9656992, 0.0, nullptr},
        {5, 1, 0, -185.9556992, 0.0, nullptr},
        {6, 0, 0, 473.0497417568691, 0.0, nullptr},
        {6, 0, 0, 468.0597417568691, 0.0, nullptr},
        {6, 0, 0, 468.0397417568691, 0.004999839761751393, nullptr},
        {6, 0, 0, 453.55965939020507, 6.9120705086030565, nullptr},
        {6, 0, 0, 439.07957702354105, 13.167987160387204, nullptr},
        {6, 0, 0, 439.05957702354107, 13.173987310706217, nullptr},
        {6, 0, 0, 419.06957702354106, 16.97208731070622, nullptr},
        {6, 0, 0, 399.07957702354105, 20.770187310706216, nullptr},
        {6, 0, 0, 399.05957702354107, 20.776187160389505, nullptr},
        {6, 0, 0, 179.53478851177053, 50.40928375979525, nullptr},
        {6, 0, 0, -39.99, 7.602499999998859, nullptr},
        {6, 0, 0, -40.01, 7.5981000000000005, nullptr},
        {6, 0, 0, -60.0, 3.8, nullptr},
        {6, 0, 0, -79.99, 0.001900000000000972, nullptr},
        {6, 0, 0, -80.01, 0.0, nullptr},
        {6, 0, 0, -85.0, 0.0, nullptr},
        {6, 0, 1, 372.09783667205414, 0.0, nullptr},
        {6, 0, 1, 367.10783667205413, 0.0, nullptr},
        {6, 0, 1, 367.08783667205415, 0.0024999318982574996, nullptr},
        {6, 0, 1, 345.0719664717309, 5.1760794970759685, nullptr},
        {6, 0, 1, 323.0560962714076, 9.689482820040498, nullptr},
        {6, 0, 1, 323.03609627140764, 9.69328288814223, nullptr},
        {6, 0, 1, 311.04609627140763, 11.971382888142234, nullptr},
        {6, 0, 1, 299.0560962714076, 14.249482888142229, nullptr},
        {6, 0, 1, 299.03609627140764, 14.253282820040495, nullptr},
        {6, 0, 1, 137.52304813570382, 27.173226738998537, nullptr},
        {6, 0, 1, -23.99, 4.562499931898264, nullptr},
        {6, 0, 1, -24.01, 4.5581, nullptr},
        {6, 0, 1, -36.0, 2.28, nullptr},
        {6, 0, 1, -47.99, 0.001899999999999622, nullptr},
        {6, 0, 1, -48.01, 0.0, nullptr},
        {6, 0, 1, -53.0, 0.0, nullptr},
        {6, 1, 0, 473.0497417568691, 0.0, nullptr},
        {6, 1, 0, 468.0597417568691, 0.0, nullptr},
        {6, 1, 0, 468.0397417568691, 0.006027275909804928, nullptr},
        {6, 1, 0, 451.5364800631262, 7.666409158275369, nullptr},
        {6, 1, 0, 435.03321836938335, 13.554133266971114, nullptr},
        {6, 1, 0, 435.01321836938337, 13.558795103747634, nullptr},
        {6, 1, 0, 395.02321836938336, 19.35734510374763, nullptr},
        {6, 1, 0, 355.03321836938335, 25.155895103747635, nullptr},
        {6, 1, 0, 355.01321836938337, 25.160556559938446, nullptr},
        {6, 1, 0, 302.99218234913894, 37.85142343890864, nullptr},
        {6, 1, 0, 250.97114632889446, 45.051369267555586, nullptr},
        {6, 1, 0, 250.95114632889448, 45.053390796698494, nullptr},
        {6, 1, 0, 85.48057316444724, 45.052380093208534, nullptr},
        {6, 1, 0, -79.99, 11.603032232631042, nullptr},
        {6, 1, 0, -80.01, 11.59855, nullptr},
        {6, 1, 0, -120.0, 5.8, nullptr},
        {6, 1, 0, -159.99, 0.0014499999999986813, nullptr},
        {6, 1, 0, -160.01, 0.0, nullptr},
        {6, 1, 0, -165.0, 0.0, nullptr},
        {6, 1, 2, 188.54891833602707, 0.0, nullptr},
        {6, 1, 2, 183.55891833602706, 0.0, nullptr},
        {6, 1, 2, 183.53891833602708, 0.003011191931677239, nullptr},
        {6, 1, 2, 171.0542851188842, 2.8567645707759466, nullptr},
        {6, 1, 2, 158.56965190174134, 4.940005445877152, nullptr},
        {6, 1, 2, 158.54965190174136, 4.942905604185039, nullptr},
        {6, 1, 2, 142.55965190174135, 7.261455604185044, nullptr},
        {6, 1, 2, 126.56965190174135, 9.580005604185041, nullptr},
        {6, 1, 2, 126.54965190174134, 9.58290544589826, nullptr},
        {6, 1, 2, 93.16705553487745, 12.92992317645907, nullptr},
        {6, 1, 2, 59.784459168013534, 13.916237098078131, nullptr},
        {6, 1, 2, 59.76445916801354, 13.916237098078135, nullptr},
        {6, 1, 2, 13.887229584006768, 11.995065556667514, nullptr},
        {6, 1, 2, -31.99, 4.643011191931677, nullptr},
        {6, 1, 2, -32.01, 4.63855, nullptr},
        {6, 1, 2, -48.0, 2.32, nullptr},
        {6, 1, 2, -63.99, 0.0014499999999997115, nullptr},
        {6, 1, 2, -64.01, 0.0, nullptr},
        {6, 1, 2, -69.0, 0.0, nullptr},
};

TEST(CalcMuAtN, ZoneMomentsOfEveryCascade) {
    for (const auto& r : kMuRows) {
        KvState s = MakeBase(r.kind, r.abv, r.state);
        double nl = -1;
        std::string zone = "old";
        const double mu = CalcMuAtN(s, r.N, nl, zone);
        EXPECT_NEAR(mu, r.mu, 1e-11 * std::max(1.0, std::fabs(r.mu)))
            << "kind " << r.kind << " AbV " << r.abv << " state " << r.state << " N " << r.N;
        EXPECT_EQ(nl, s.Nu);
        if (r.label) EXPECT_EQ(zone, r.label) << "kind " << r.kind << " N " << r.N;
        else EXPECT_EQ(zone, "old") << "only kinds 0 and 2 write a label";
    }
}

// A wrong formula in one zone shows as a jump where the zones meet.
TEST(CalcMuAtN, CurveIsContinuousAcrossZoneBounds) {
    for (int kind = 0; kind <= 6; ++kind) {
        for (int abv = 0; abv <= 1; ++abv) {
            for (int st = 0; st <= 2; ++st) {
                if ((kind == 0 || kind == 2) && st == 2) continue;  // long-term sets, below
                KvState s = MakeBase(kind, abv, st);
                double nl;
                std::string z;
                const double h = 0.002;  // the steepest zone slope is 0.5 tf·m per tf
                double prev = CalcMuAtN(s, -s.Tu1 * 10, nl, z);
                for (double N = -s.Tu1 * 10 + h; N < s.Nu + 1; N += h) {
                    const double m = CalcMuAtN(s, N, nl, z);
                    ASSERT_LT(std::fabs(m - prev), 0.003)
                        << "kind " << kind << " AbV " << abv << " state " << st << " at N " << N;
                    prev = m;
                }
            }
        }
    }
}

TEST(CalcMuAtN, EccentricMomentIsSubtractedEverywhere) {
    for (int kind : {0, 1, 5, 6}) {
        KvState plain = MakeBase(kind, 0, 1);
        KvState ecc = plain;
        ecc.KvData.HenshinE(0) = 50;
        double nl;
        std::string z;
        for (double N : {plain.Nu + 20, plain.Nu * 0.7, 0.0, -plain.Tu1, -plain.Tu1 * 10}) {
            EXPECT_NEAR(CalcMuAtN(ecc, N, nl, z), CalcMuAtN(plain, N, nl, z) - std::fabs(N) * 0.05, 1e-12)
                << "kind " << kind << " N " << N;
        }
        EXPECT_EQ(CalcMuAtN(ecc, plain.Nu + 20, nl, z), -(plain.Nu + 20) * 0.05);
    }
}

TEST(CalcMuAtN, KindsZeroAndTwoAtTheTensionEnd) {
    KvState s = MakeBase(0, 0, 0);
    const double T = 2 * s.Tu1;
    double nl;
    std::string z = "x";
    EXPECT_EQ(CalcMuAtN(s, -2 * T, nl, z), 0);
    EXPECT_EQ(z, "");
    const double m = CalcMuAtN(s, -2 * T + 1e-6, nl, z);
    EXPECT_EQ(z, "D");
    EXPECT_GT(m, 0);
    EXPECT_LT(m, 1e-6);
    CalcMuAtN(s, std::nextafter(s.Nu, 1e9), nl, z);
    EXPECT_EQ(z, "");
}

TEST(CalcMuAtN, BadDirectionIsABoundsError) {
    KvState s = MakeBase(1, 0, 0);
    s.Direction = 2;
    double nl;
    std::string z;
    try {
        CalcMuAtN(s, 0, nl, z);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), vb::kErrSubscript);
    }
}

TEST(CalcMuAtN, DivisionsAndRootsThatCannotBeTakenFail) {
    // Zero plate length.
    KvState s = MakeBase(1, 0, 0);
    s.KvData.KvLen(0, 1) = 0;
    double nl;
    std::string z;
    EXPECT_THROW(CalcMuAtN(s, 0, nl, z), Error);
    KvState k0 = MakeBase(0, 0, 0);
    k0.KvData.KvLen(0, 1) = 0;
    EXPECT_THROW(CalcMuAtN(k0, 0, nl, z), Error);
    // Octagon dimension too small for the plate: negative radicand.
    KvState oct = MakeBase(6, 1, 1);
    oct.KvData.KvLenC_SV(0) = 100;
    EXPECT_THROW(CalcMuAtN(oct, 0, nl, z), Error);
}

// -------------------------------------------------------- CalcMuLongTerm ---

// Long-term moments of kinds 0 and 2 (tf·m, less the eccentric moment) and
// Nl, from smode_reference.py as well.
struct LongTermRow {
    int kind;
    double ex, N, mu, nl;
};
const LongTermRow kLongTermRows[] = {
    // No eccentricity: k = 0, s1 = s2 = 1, mode 3 with Nl = fa·A, elastic from -Tb up.
    {0, 0.0, 300.0, 0.0, 183.5489183360271},
    {0, 0.0, 150.0, 7.03507058985485, 183.5489183360271},
    {0, 0.0, 50.0, 15.269755778524969, 183.5489183360271},
    {0, 0.0, 0.0, 9.255691902760521, 183.5489183360271},
    {0, 0.0, -15.0, 6.1234888858645204, 183.5489183360271},
    {0, 0.0, -30.0, 2.895395712, 183.5489183360271},  // plastic below -Tb = -22.62
    {0, 0.0, -50.0, 0.0, 183.5489183360271},
    // ex 50 mm: r2 = 0.1, still mode 3; plastic below P2.
    {0, 50.0, 150.0, 3.454057992178571, 201.06776595663126},
    {0, 50.0, 50.0, 14.35935798696175, 201.06776595663126},
    {0, 50.0, 0.0, 9.436362305452237, 201.06776595663126},
    {0, 50.0, -50.0, -2.5, 201.06776595663126},
    // ex 200 mm: r2 = 0.4 gives s1 < 1.35 <= s2, mode 2.
    {2, 200.0, 300.0, -60.0, 215.474625762855},
    {2, 200.0, 150.0, -16.905278456617545, 215.474625762855},
    {2, 200.0, 0.0, 9.362619283945413, 215.474625762855},
    {2, 200.0, -30.0, -3.104604288, 215.474625762855},
    // ex 225 mm: s1 = √1.9 >= 1.35, mode 1 with Nl = Nu.
    {0, 225.0, 150.0, -16.360548217540355, 247.79103975363657},
    {0, 225.0, 50.0, 5.881965176388864, 247.79103975363657},
    {0, 225.0, -15.0, 2.7689897003440898, 247.79103975363657},
};

TEST(CalcMuLongTerm, ModesAndBothSetsThroughCalcMuAtN) {
    for (const auto& r : kLongTermRows) {
        KvState s = MakeBase(r.kind, 0, 2);
        s.KvData.HenshinE(0) = r.ex;
        double nl = -1;
        std::string z = "kept";
        EXPECT_NEAR(CalcMuAtN(s, r.N, nl, z), r.mu, 1e-11 * std::max(1.0, std::fabs(r.mu)))
            << "kind " << r.kind << " ex " << r.ex << " N " << r.N;
        EXPECT_NEAR(nl, r.nl, 1e-11 * r.nl);
        EXPECT_EQ(z, "kept") << "no label in the long-term state";
    }
}

TEST(CalcMuLongTerm, EccentricitiesRoundToWholeMillimetresHalfToEven) {
    const auto at = [](double ex) {
        KvState s = MakeBase(0, 0, 2);
        s.KvData.HenshinE(0) = ex;
        double nl;
        return CalcMuLongTerm(s, 150, nl);  // elastic set, which reads ex
    };
    EXPECT_EQ(at(50.5), at(50));
    EXPECT_EQ(at(51.5), at(52));
    EXPECT_NE(at(50), at(52));
}

// ------------------------------------------------------- axial limits ---

TEST(AxialLimits, ConcentricBaseTakesThePlainCapacitiesWithoutSearch) {
    KvState s = MakeBase(1, 0, 0);
    double nl = 123;
    EXPECT_EQ(FindNuLimit(s, nl), s.Nu);
    EXPECT_EQ(nl, 123);
    EXPECT_EQ(FindTuLimit(s, 77.5), 77.5);
    // Kinds 0 (long-term) and 2 start from the value held in Nl.
    KvState k2 = MakeBase(2, 0, 1);
    nl = 321;
    EXPECT_EQ(FindNuLimit(k2, nl), 321);
}

// The walks stop on the last point whose capacity is not positive, one
// finest step away from a positive one: 1e-6 on the compression side and
// 1e-3 on the tension side.
TEST(AxialLimits, EccentricBaseEndsWhereTheCapacityTurnsPositive) {
    for (int kind : {0, 1, 4, 5, 6}) {
        for (int st : {0, 1}) {
            KvState s = MakeBase(kind, 0, st);
            s.KvData.HenshinE(0) = 40;
            double nl = s.Nu;
            std::string z;
            const double nuEnd = FindNuLimit(s, nl);
            EXPECT_LT(nuEnd, s.Nu);
            EXPECT_LE(CalcMuAtN(s, nuEnd, nl, z), 0) << kind;
            EXPECT_GT(CalcMuAtN(s, nuEnd - 1.0000000000000002e-06, nl, z), 0) << kind;

            const double tu = 4 * s.Tu1;
            const double tuEnd = FindTuLimit(s, tu);
            EXPECT_LT(tuEnd, tu);
            EXPECT_LE(CalcMuAtN(s, -tuEnd, nl, z), 0) << kind;
            EXPECT_GT(CalcMuAtN(s, -tuEnd + 0.001, nl, z), 0) << kind << " state " << st;
        }
    }
}

TEST(AxialLimits, EccentricKindZeroAgreesWithTheReference) {
    // Kind 0, ultimate, e = 40 mm. Compression end in zone B (zone A stays
    // negative: at its lower end 0.12·25·0.88·Nu/100 < 0.04·0.88·Nu):
    // (44²·Nu/100 - 19·N)/100 = 0.04·N, so N = 19.36/23·Nu. Tension end in zone D:
    // (2T + N)·19/100 = 0.04·|N| with N < 0, so N = -2T·19/23.
    KvState s = MakeBase(0, 0, 0);
    s.KvData.HenshinE(0) = 40;
    double nl = s.Nu;
    const double nuEnd = FindNuLimit(s, nl);
    EXPECT_GE(nuEnd, 19.36 / 23 * s.Nu - 1e-9);
    EXPECT_LE(nuEnd, 19.36 / 23 * s.Nu + 1.01e-6);
    const double root = 4 * s.Tu1 * 19 / 23;
    const double tuEnd = FindTuLimit(s, 4 * s.Tu1);
    EXPECT_GE(tuEnd, root - 1e-9);
    EXPECT_LE(tuEnd, root + 0.001 + 1e-9);
}

TEST(AxialLimits, CurveWithoutPositiveCapacityFailsInsteadOfHanging) {
    KvState s = MakeBase(6, 0, 0);
    s.KvName = "SV-X-A";  // no shape digit: Nu = 0
    s.KvData.Tu.fill(0);
    s.KvData.HenshinE(0) = 10;
    s.Nu = CalcNu(s);
    s.Tu1 = CalcTu1(s);
    double nl = 0;
    EXPECT_THROW(FindNuLimit(s, nl), Error);
    EXPECT_THROW(FindTuLimit(s, 0), Error);
}

// --------------------------------------------------------- CalcBaseCheck ---

KvState Checked(KvState s) {
    CalcBaseCheck(s);
    return s;
}

TEST(CalcBaseCheck, ResultsScaledToInterfaceUnits) {
    KvState s = MakeBase(1, 0, 0);
    const double nu = s.Nu;
    const double tu1 = s.Tu1;
    const double f = 9.80665;
    s.VerticalLoad = 100 * f;
    CalcBaseCheck(s);
    // N = 100 tf lies between μ1·Nu - T = 14.2 and λ1·Nu - T = 390.9 tf, the
    // zone (1 - (T + N)/Nu)·(T + N)·D/2 + d1/2·T of the one-row table.
    const double T = 2 * tu1;
    const double mu = ((1 - (T + 100) / nu) * (T + 100) * 50 / 2 + 38.0 / 2 * T) / 100;
    EXPECT_NEAR(s.Mu, mu * f, 1e-9);
    EXPECT_NEAR(s.Nu, nu * f, 1e-9);
    EXPECT_NEAR(s.Tu1, tu1 * f, 1e-9);
    EXPECT_NEAR(s.Tu, 4 * tu1 * f, 1e-9);
    EXPECT_EQ(s.Nu_, s.Nu);
    EXPECT_EQ(s.Tu_, s.Tu);
    EXPECT_EQ(s.Nl, s.Nu);

    KvState old = MakeBase(1, 0, 0);
    old.SIFlag = false;
    old.Fc = 240;
    old.VerticalLoad = 100;
    CalcBaseCheck(old);
    EXPECT_NEAR(old.Tu, 4 * tu1, 1e-12);
    EXPECT_NEAR(old.Nu, 0.9 * 240 / 1000 * 50 * 45, 1e-9);
}

TEST(CalcBaseCheck, TwoRowsCountFourMoreBolts) {
    KvState s = Checked(MakeBase(4, 1, 1));
    EXPECT_NEAR(s.Tu, 8 * 16.9645968 * 9.80665, 1e-9);
}

TEST(CalcBaseCheck, LargestMomentPoint) {
    // Kinds 5 and 6 at 0.4^(2/3)·Nu - Tu/2 (0.4^(2/3) = 0.5428835233...), others at (Nu - Tu)/2.
    for (int kind : {1, 5, 6}) {
        KvState in = MakeBase(kind, 0, 1);
        const double tu = 4 * in.Tu1;
        const double x = kind == 1 ? (in.Nu - tu) / 2 : 0.5428835233189814 * in.Nu - tu / 2;
        double nl;
        std::string z;
        const double expected = CalcMuAtN(in, x, nl, z) * 9.80665;
        EXPECT_NEAR(Checked(in).MuMax, expected, 1e-9) << kind;
    }
}

TEST(CalcBaseCheck, MomentVerdictBands) {
    KvState base = MakeBase(1, 0, 0);
    base.VerticalLoad = 100 * 9.80665;
    const double mu = Checked(base).Mu;
    struct Row {
        int state;
        double factor;
        int jadge;
    } rows[] = {
        {0, 1.02, 0}, {0, 1.01, 1}, {0, 1.005, 1}, {0, 1.0, 2}, {0, 0.995, 2}, {0, 0.99, -1}, {0, -1.0, 2},
    };
    for (const auto& r : rows) {
        KvState s = base;
        s.MomentLoad = r.factor * mu;
        EXPECT_EQ(Checked(s).JadgeM, r.jadge) << r.factor;
    }
    // Short-term and long-term know only OK and NG.
    for (int st : {1, 2}) {
        KvState s = MakeBase(1, 0, st);
        s.VerticalLoad = 100 * 9.80665;
        const double m = Checked(s).Mu;
        s.MomentLoad = m;
        EXPECT_EQ(Checked(s).JadgeM, -1);
        s.MomentLoad = 1.005 * m;
        EXPECT_EQ(Checked(s).JadgeM, 0);
    }
}

TEST(CalcBaseCheck, AxialRangeAndZeroCapacity) {
    KvState s = MakeBase(1, 0, 1);
    const KvState first = Checked(s);
    // Beyond either end: NG whatever the moment.
    s.VerticalLoad = first.Nu_ + 0.01;
    EXPECT_EQ(Checked(s).JadgeM, 0);
    s.VerticalLoad = -first.Tu_ - 0.01;
    EXPECT_EQ(Checked(s).JadgeM, 0);
    // Exactly at the end the capacity is 0: NG.
    s.VerticalLoad = first.Nu_;
    EXPECT_EQ(Checked(s).JadgeM, 0);
    // Just inside, capacity below 0.001: OK without a moment, NG with one.
    s.VerticalLoad = first.Nu_ * (1 - 1e-7);
    s.MomentLoad = 0;
    const KvState in = Checked(s);
    ASSERT_LT(std::fabs(in.Mu), 0.001);
    EXPECT_EQ(in.JadgeM, -1);
    s.MomentLoad = 0.5;
    EXPECT_EQ(Checked(s).JadgeM, 0);
}

TEST(CalcBaseCheck, ShearVerdict) {
    KvState s = MakeBase(0, 0, 1);
    s.VerticalLoad = 100 * 9.80665;
    s.MomentLoad = 1;
    const double qu = Checked(s).Qu;
    ASSERT_GT(qu, 0);
    struct Row {
        double shear;
        int16_t fshear;
        int jadge;
    } rows[] = {{qu, 0, -1}, {-qu, 0, -1}, {qu * 1.001, 0, 0}, {qu, 1, 1}, {qu, 2, 1}, {qu, 3, 1}};
    for (const auto& r : rows) {
        s.ShearLoad = r.shear;
        s.FShear = r.fshear;
        EXPECT_EQ(Checked(s).JadgeQ, r.jadge) << r.shear << " " << r.fshear;
    }
}

TEST(CalcBaseCheck, BendingFailureLeavesNoShearResistance) {
    for (bool si : {true, false}) {
        KvState s = MakeBase(1, 0, 0);
        s.SIFlag = si;
        if (!si) s.Fc = 240;
        const double f = si ? 9.80665 : 1;
        s.VerticalLoad = 100 * f;
        s.ShearLoad = 0;
        const double mu = Checked(s).Mu;
        s.Qu0 = s.Qu1 = s.Qu2 = 5;
        s.JadgeQ = -1;
        s.MomentLoad = 2 * mu;
        CalcBaseCheck(s);
        EXPECT_EQ(s.JadgeM, 0);
        EXPECT_EQ(s.Qu, si ? -99999.99 : -9999.99);
        EXPECT_EQ(s.Zone, "");
        EXPECT_EQ(s.Qu0, 0);
        EXPECT_EQ(s.Qu1, 0);
        EXPECT_EQ(s.Qu2, 0);
        EXPECT_EQ(s.JadgeQ, 0) << "a base that fails in bending has no shear resistance";
    }
    // The not-applicable value follows the whole part of the factor.
    KvState s = MakeBase(1, 0, 0);
    s.SIFactor = 1.5;
    s.MomentLoad = 1000;
    EXPECT_EQ(Checked(s).Qu, -9999.99);
}

TEST(CalcBaseCheck, EccentricBaseSearchesBothEnds) {
    KvState s = MakeBase(0, 0, 0);
    s.KvData.HenshinE(0) = 40;
    CalcBaseCheck(s);
    const double f = 9.80665;
    EXPECT_LT(s.Nu_, s.Nu);
    EXPECT_NEAR(s.Nu_, 19.36 / 23 * s.Nu, 2e-6 * f);
    EXPECT_NEAR(s.Tu_, s.Tu * 19 / 23, 0.0011 * f);
}

TEST(CalcBaseCheck, FailuresReachTheCaller) {
    struct Row {
        const char* what;
        void (*spoil)(KvState&);
        int number;
    } rows[] = {
        {"direction 2", [](KvState& s) { s.Direction = 2; }, vb::kErrSubscript},
        {"kind 6 state 3", [](KvState& s) { s.KvData.KvV = 6; s.Condition = 3; }, vb::kErrSubscript},
        {"unit factor 0", [](KvState& s) { s.SIFactor = 0; }, vb::kErrDivByZero},
        {"bolt arrangement 2", [](KvState& s) { s.KvData.AbV = 2; }, kErrCatalogue},
        {"16-bit bolt count", [](KvState& s) { s.KvData.AbN = 20000; }, vb::kErrOverflow},
    };
    for (const auto& r : rows) {
        KvState s = MakeBase(1, 0, 0);
        r.spoil(s);
        try {
            CalcBaseCheck(s);
            ADD_FAILURE() << r.what;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), r.number) << r.what;
        }
    }
}

}  // namespace
}  // namespace kv
