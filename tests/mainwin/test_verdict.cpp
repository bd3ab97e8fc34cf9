// The column verdict and the zone mark of the column list.
#include "window_fixture.h"

#include "model/column_list_csv.h"

namespace {

using namespace mainwintest;
using namespace model;
using Verdict = WindowTest;

struct Code {
    char kind;  // 'M' or 'Q'
    long d, k;
    int16_t code;
};

ColumnResultTbl AllOk(std::initializer_list<Code> codes)
{
    ColumnResultTbl r{};
    for (long d = 0; d <= 1; ++d)
        for (long k = 1; k <= 8; ++k) {
            r.JadgeM(d, k) = -1;
            r.JadgeQ(d, k) = -1;
        }
    for (const Code& c : codes) (c.kind == 'M' ? r.JadgeM : r.JadgeQ)(c.d, c.k) = c.code;
    return r;
}

TEST_F(Verdict, LastFailingTestDecides)
{
    struct Case {
        const char* name;
        std::initializer_list<Code> codes;
        bool ultJadge;
        const char* expected;
    } cases[] = {
        {"all OK", {}, true, "OK"},
        {"positive shear", {{'Q', 1, 4, 1}}, true, "OK*"},
        {"positive moment", {{'M', 0, 5, 1}}, true, "OK"},
        {"moment 1X then shear 7Y", {{'M', 0, 1, 0}, {'Q', 1, 7, 0}}, true, "NG(Q)"},
        {"shear 1X then moment 7Y", {{'Q', 0, 1, 0}, {'M', 1, 7, 0}}, true, "NG(M)"},
        {"shear 1X then unjudged moment 7Y", {{'Q', 0, 1, 0}, {'M', 1, 7, 0}}, false, "NG(Q)"},
        {"unjudged ultimate moment", {{'M', 0, 6, 0}}, false, "OK"},
        {"ultimate shear without judgement", {{'Q', 0, 6, 0}}, false, "NG(Q)"},
        {"NG replaces OK*", {{'Q', 0, 1, 1}, {'M', 1, 4, 0}}, true, "NG(M)"},
        {"OK* never replaces NG", {{'M', 0, 1, 0}, {'Q', 1, 7, 1}}, true, "NG(M)"},
        {"cases 2 and 3 ignored", {{'M', 0, 2, 0}, {'Q', 1, 3, 0}, {'Q', 0, 2, 1}}, true, "OK"},
        {"case 8 ignored", {{'M', 0, 8, 0}}, true, "OK"},
        // The shear of a case whose moment fails is not checked.
        {"both codes of one case", {{'M', 1, 5, 0}, {'Q', 1, 5, 0}}, true, "NG(M)"},
        {"both codes of an ultimate case", {{'M', 0, 7, 0}, {'Q', 0, 7, 0}}, true, "NG(M)"},
        {"both codes of an unjudged ultimate case", {{'M', 0, 7, 0}, {'Q', 0, 7, 0}}, false, "NG(Q)"},
        {"moment and shear of one case, shear of a later", {{'M', 0, 4, 0}, {'Q', 0, 4, 0}, {'Q', 1, 6, 0}}, true,
         "NG(Q)"},
        {"shear alone", {{'Q', 1, 5, 0}}, true, "NG(Q)"},
    };
    for (const auto& c : cases) {
        gResults(1) = AllOk(c.codes);
        gCond.UltJadge = c.ultJadge ? kTrue : kFalse;
        // The list, the printed reports and the CSV: one verdict.
        EXPECT_EQ(w->msub_GetColumnJudge(1), c.expected) << c.name;
        EXPECT_EQ(GetColumnJudgeText(gResults(1), c.ultJadge), c.expected) << c.name;
        EXPECT_EQ(GetColumnVerdictText(gResults(1), c.ultJadge), c.expected) << c.name;
    }
}

TEST_F(Verdict, ZoneMark)
{
    struct Case {
        bool sMode;
        int16_t zone;  // stored in the ultimate Y slot
        const char* expected;
    } cases[] = {
        {true, 0, ""}, {true, 1, "(Ⅰ)"}, {true, 2, "(Ⅱ)"}, {true, 3, ""}, {false, 1, ""}, {false, 2, ""},
    };
    for (const auto& c : cases) {
        gCond.SMode = c.sMode ? kTrue : kFalse;
        gColumns(1).RebarZone = {};
        gColumns(1).RebarZone(1, 2) = c.zone;
        EXPECT_EQ(w->msub_GetZoneMark(1), c.expected) << c.sMode << " " << c.zone;
    }
    EXPECT_EQ(std::string("(Ⅰ)"), "(\u2160)");
}

}  // namespace
