#include "model/sections.h"

#include "model/catalogue.h"
#include "model/format.h"
#include "platform/store/store.h"
#include "platform/text/vb.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>

namespace model {

namespace {

struct Grade {
    int16_t code;
    const char* name;
    double f;
    std::array<const char*, 5> aliases;  // names read back to the code, in order
};

constexpr std::array<Grade, 14> kGrades{{
    {0, "BCR295", 3.0, {"BCR295"}},
    {1, "BCP235", 2.4, {"BCP235"}},
    {2, "BCP325", 3.3, {"BCP325"}},
    {3, "STKR400", 2.4, {"STKR400"}},
    {4, "STKR490", 3.3, {"STKR490"}},
    {5, "STKN400(STK400)", 2.4, {"STK400", "STKN400"}},
    {6, "STKN490(STK490)", 3.3, {"STK490", "STKN490"}},
    {7, "SS400", 2.4, {"SS400"}},
    {8, "SM490", 3.3, {"SM490", "SM490B", "SM490A", "SM490級"}},
    {9, "SN400", 2.4, {"SN400", "SN400B", "SN400A", "SN400C", "SS400級"}},
    {10, "SN490", 3.3, {"SN490", "SN490B", "SN490A", "SN490C", "SN490級"}},
    {101, "F=295N/mm2", 3.0, {}},
    {102, "F=235N/mm2", 2.4, {}},
    {103, "F=325N/mm2", 3.3, {}},
}};

const Grade* FindGrade(int16_t code)
{
    for (const Grade& g : kGrades)
        if (g.code == code) return &g;
    return nullptr;
}

constexpr double kPi = 3.14159265358979;

// Catalogue properties in ColSpec order: A, Zx, Zpx, Zy, Zpy.
constexpr std::array<const char*, 5> kSpecFields{"断面積", "Zx", "Zpx", "Zy", "Zpy"};

void CopyCatalogueSpec(const store::Recordset& rs, ColumnDataTbl& col)
{
    for (int i = 0; i <= 4; ++i) {
        if (rs.isNull(kSpecFields[i])) continue;
        const double v = rs.number(kSpecFields[i]);
        if (std::fabs(v) > 0.01) col.ColSpec(i) = v;
    }
}

// Grade condition of the section query. A box grade without a box series of
// its own is looked up without a grade condition.
std::string GradeCondition(const ColumnDataTbl& col)
{
    switch (col.ColV) {
    case 0:
        switch (col.ColMatCode) {
        case 0: return "='BCR'";
        case 1:
        case 2: return "='BCP'";
        case 3:
        case 4:
        case 7:
        case 8: return "<>'BCR'";
        default: return {};
        }
    case 1: return "='STK'";
    default: return "='SS'";
    }
}

std::string GradeClause(const std::string& c) { return c.empty() ? std::string() : "AND ((柱.規格)" + c + ") "; }

void RoundTubeProps(ColumnDataTbl& col)
{
    const double r = col.ColSize / 2;
    const double t = col.ColT;
    const double ri = r - t;
    col.ColSpec(0) = RoundSignificant(kPi * (r * r - ri * ri) / 100, 4);
    const double z = RoundSignificant(kPi * (std::pow(r, 4) - std::pow(ri, 4)) / 4 / r / 1000, 3);
    col.ColSpec(1) = z;
    col.ColSpec(3) = z;
    const double zp = RoundSignificant(4 * (std::pow(r, 3) - std::pow(ri, 3)) / 3 / 1000, 3);
    col.ColSpec(2) = zp;
    col.ColSpec(4) = zp;
}

void BoxOrRoundSection(ColumnDataTbl& col, const std::string& cond)
{
    std::optional<store::Database> db;
    try {
        db.emplace(OpenCatalogue());
        const std::string sql = "SELECT DISTINCTROW 柱.柱成, 柱.フランジ厚, 柱.断面積, 柱.Zx, 柱.Zpx , 柱.Zy, 柱.Zpy, 柱.ID "
                                "From 柱 WHERE (((柱.柱種類)=" +
                                QueryNumber(col.ColV) + ") AND ((柱.柱成)=" + store::Quote(QueryNumber(col.ColSize)) +
                                ") " + GradeClause(cond) + "AND ((柱.フランジ厚)=" + store::Quote(QueryNumber(col.ColT)) +
                                "))";
        auto rs = db->openRecordset(sql);
        if (!rs.eof()) {
            col.ColID = CatalogueInt32(rs, "ID");
            CopyCatalogueSpec(rs, col);
            return;
        }
    } catch (const store::StoreError&) {
        // Any other catalogue failure ends the look-up quietly.
        return;
    }
    if (col.ColV == 1) RoundTubeProps(col);
}

void HSection(ColumnDataTbl& col, const std::string& cond)
{
    try {
        auto db = OpenCatalogue();
        const std::string sql =
            "SELECT DISTINCTROW 柱.ID, 柱.呼び柱成, 柱.呼びフランジ幅, 柱.断面積, 柱.Zx, 柱.Zpx , 柱.Zy, 柱.Zpy "
            "From 柱 WHERE (((柱.柱種類)=" +
            QueryNumber(col.ColV) + ") " + GradeClause(cond) + "AND ((柱.柱成)=" +
            store::Quote(QueryNumber(col.HDim(1))) + ") AND ((柱.フランジ幅)=" + store::Quote(QueryNumber(col.HDim(2))) +
            ") AND ((柱.ウェブ厚)=" + store::Quote(QueryNumber(col.HDim(3))) + ") AND ((柱.フランジ厚)=" +
            store::Quote(QueryNumber(col.HDim(4))) + "))";
        auto rs = db.openRecordset(sql);
        if (!rs.eof()) {
            col.ColID = CatalogueInt32(rs, "ID");
            col.ColSize = rs.number("呼び柱成");
            col.ColT = rs.number("呼びフランジ幅");
            CopyCatalogueSpec(rs, col);
            return;
        }
    } catch (const store::StoreError&) {
        return;
    }

    // Not a catalogue section: take the nominal sizes, the ID of a section of
    // that nominal size when there is one, and the properties computed from
    // the plates, which are the section's own whether or not the catalogue
    // lists its nominal size.
    col.ColSize = vb::Round(col.HDim(1) / 50) * 50;
    col.ColT = vb::Round(col.HDim(2) / 25) * 25;
    auto db = OpenCatalogue();
    auto rs = db.openRecordset("SELECT DISTINCTROW 柱.ID  From 柱 WHERE (((柱.柱種類)=" + QueryNumber(col.ColV) + ") " +
                               GradeClause(cond) + "AND ((柱.呼び柱成)=" + store::Quote(QueryNumber(col.ColSize)) +
                               ") AND ((柱.呼びフランジ幅)=" + store::Quote(QueryNumber(col.ColT)) + ") )");
    if (!rs.eof()) {
        col.ColID = CatalogueInt32(rs, "ID");
        // Section IDs start above 1; a row at 1 or below ends the look-up.
        if (col.ColID <= 1) return;
    }
    CalcHSectionProps(col);
}

}  // namespace

double GetSteelFValue(int16_t code)
{
    const Grade* g = FindGrade(code);
    return g ? g->f : 0.0;
}

std::string GetSteelMaterialName(int16_t code)
{
    const Grade* g = FindGrade(code);
    return g ? g->name : "NG";
}

int16_t GetSteelMaterialCode(const std::string& name)
{
    const std::string key = vb::Trim(name);
    for (const Grade& g : kGrades)
        for (const char* alias : g.aliases)
            if (alias && key == alias) return g.code;
    return 999;
}

KvLookup GetKvIdByModelName(const std::string& name, int16_t boltSize, int32_t& kvId, int16_t& series,
                            int16_t& abNum)
{
    kvId = 0;
    series = 0;
    abNum = 0;
    auto db = OpenCatalogue();
    auto rs = db.openRecordset(
        "SELECT DISTINCTROW 柱脚.ID, 柱脚.KvV, 柱脚.AB径1, 柱脚.AB径2, 柱脚.AB径3, 柱脚.AB径4 From 柱脚 WHERE ((柱脚.形式名)=" +
        store::Quote(name) + ")");
    if (rs.eof()) return KvLookup::NoModel;
    series = static_cast<int16_t>(rs.number("KvV"));
    int16_t variant = 0;
    switch (series) {
    case 2:
    case 4:
    case 6: variant = 1; break;
    case 0:
    case 1:
    case 5:
        for (int16_t n = 1; n <= 4 && variant == 0; ++n) {
            const std::string field = "AB径" + std::to_string(n);
            if (rs.isNull(field)) continue;
            const double d = std::floor(rs.number(field));
            if (d >= -32768 && d <= 32767 && static_cast<int16_t>(d) == boltSize) variant = n;
        }
        break;
    default: break;
    }
    if (variant == 0) return KvLookup::NoBoltVariant;
    kvId = CatalogueInt32(rs, "ID");
    abNum = variant;
    return KvLookup::Found;
}

void GetColumnSectionData(ColumnDataTbl& col)
{
    if (col.ColV < 0 || col.ColV > 2) return;
    const std::string cond = GradeCondition(col);
    if (col.ColV == 2)
        HSection(col, cond);
    else
        BoxOrRoundSection(col, cond);
}

void CalcHSectionProps(ColumnDataTbl& col)
{
    if (col.ColV != 2) return;
    const double h = col.HDim(1);
    const double b = col.HDim(2);
    const double tw = col.HDim(3);
    const double tf = col.HDim(4);
    const double hw = h - 2 * tf;
    col.ColSpecUser(0) = RoundSignificant((hw * tw + 2 * tf * b) / 100, 4);
    col.ColSpecUser(1) = RoundSignificant((b * h * h * h - hw * hw * hw * (b - tw)) / 6 / h / 1000, 3);
    col.ColSpecUser(2) = RoundSignificant((hw * hw * tw / 4 + tf * b * (h - tf)) / 1000, 3);
    col.ColSpecUser(3) = RoundSignificant((tw * tw * tw * hw + b * b * b * 2 * tf) / 6 / b / 1000, 3);
    col.ColSpecUser(4) = RoundSignificant((tw * tw * hw * 0.25 + b * b * tf * 0.5) / 1000, 3);
}

double RoundSignificant(double value, int16_t figures) { return vb::Val(FormatSignificant(value, figures)); }

}  // namespace model
