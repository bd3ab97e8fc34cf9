#include "model/rebar_tables.h"

#include "model/catalogue.h"
#include "model/file_util.h"
#include "model/helpers.h"
#include "platform/store/store.h"
#include "platform/text/vb.h"

#include <stdexcept>

namespace model {

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::string TableFor(const std::string& modelName, uint8_t pattern)
{
    if (!IsSeriesKS(modelName)) return "配筋";
    if (pattern == 0) return "配筋KS1";
    if (pattern == 1) return "配筋";
    throw std::invalid_argument("ReadArrangementTable: pattern " + std::to_string(pattern) +
                                " is neither 0 nor 1 for model " + modelName);
}

uint8_t ByteOf(const store::Recordset& rs, const std::string& name)
{
    const long long v = rs.integer(name);
    if (v < 0 || v > 255) throw vb::Overflow();
    return static_cast<uint8_t>(v);
}

RebarArrangeVariantTbl ReadVariant(const store::Recordset& rs, int set, uint8_t pattern, uint8_t zone)
{
    const std::string n = std::to_string(set);
    RebarArrangeVariantTbl v;
    v.NG = ByteOf(rs, "NG" + n);
    v.DBarNX = CatalogueInt16(rs, "DBarNX" + n);
    v.DBarNY = CatalogueInt16(rs, "DBarNY" + n);
    v.DBarAllCount = CatalogueInt16(rs, "DBarAllCount" + n);
    v.HoopSize = rs.text("HoopSize" + n);
    v.HoopMat = rs.text("HoopMat" + n);
    v.HoopNX = CatalogueInt16(rs, "HoopNX" + n);
    v.HoopNY = CatalogueInt16(rs, "HoopNY" + n);
    v.HoopPitch = rs.number("HoopPitch" + n);
    v.Pattern = pattern;
    v.Zone = zone;
    return v;
}

// Keeps, in order, the rows for which keep(row) holds.
template <typename Pred>
void Filter(int32_t& count, RebarArrangeRows& rows, Pred keep)
{
    RebarArrangeRows kept;
    kept.redim(0);
    int32_t n = 0;
    for (int32_t i = 1; i <= count; ++i) {
        if (!keep(rows(i))) continue;
        kept.redimPreserve(++n);
        kept(n) = rows(i);
    }
    count = n;
    rows = std::move(kept);
}

uint8_t ListVariant(const std::string& modelName, uint8_t pattern, uint8_t zone)
{
    // For KS models the pattern chooses the table, not the variant.
    const int w = IsSeriesKS(modelName) ? 0 : pattern;
    return static_cast<uint8_t>(2 * (zone - 1) + w + 1);
}

void FirstAndBars(int32_t count, const RebarArrangeRows& rows, BarCandidates& c)
{
    c.firstRcx = rows(1).RCX;
    c.firstRcy = rows(1).RCY;
    c.firstDbar = rows(1).Dbar.value();
    c.firstBarDia = rows(1).BarDia;
    for (int32_t i = 1; i <= count; ++i) {
        const std::string& d = rows(i).Dbar.value();
        bool seen = false;
        for (int32_t k = 1; k <= c.barCount && !seen; ++k) seen = c.barTexts[static_cast<std::size_t>(k)] == d;
        if (seen) continue;
        ++c.barCount;
        c.barTexts.push_back(d);
        c.barDias.push_back(rows(i).BarDia);
    }
}

}  // namespace

bool IsSeriesH(const std::string& name) { return StartsWith(name, "H"); }
bool IsSeriesR(const std::string& name) { return StartsWith(name, "R"); }
bool IsSeriesKS(const std::string& name) { return StartsWith(name, "KS"); }
bool IsSeriesKC(const std::string& name) { return StartsWith(name, "KC"); }
bool IsSeriesWR(const std::string& name) { return StartsWith(name, "WR"); }
bool IsSeriesWJ(const std::string& name) { return StartsWith(name, "WJ"); }
bool IsSeriesWP(const std::string& name) { return StartsWith(name, "WP"); }

bool IsSeriesQXorK(const std::string& name)
{
    if (IsSeriesKS(name) || IsSeriesKC(name)) return false;
    return StartsWith(name, "QX") || StartsWith(name, "K");
}

int16_t ClassifyModel(const std::string& name, uint8_t productCode)
{
    if (productCode == 8) {
        if (IsSeriesQXorK(name)) return 0;
        if (IsSeriesH(name)) return 1;
        if (IsSeriesR(name)) return 2;
        if (IsSeriesKS(name)) return 3;
        if (IsSeriesKC(name)) return 4;
        return 0;
    }
    if (productCode == 13) {
        if (IsSeriesWJ(name) || IsSeriesWP(name)) return 0;
        if (IsSeriesWR(name)) return 2;
        return 0;
    }
    return 0;
}

std::string TextInParens(const std::string& text)
{
    const auto p = text.find('(');
    if (p == std::string::npos) return {};
    std::string r;
    for (char c : text.substr(p + 1))
        if (c != ')') r += c;
    return r;
}

double BarDiaOfDbar(const std::string& dbar)
{
    const auto p = dbar.find('(');
    if (p == std::string::npos || p < 1) return 0;
    return SafeCDbl(dbar.substr(1, p - 1));
}

void ReadArrangementTable(const std::string& dbPath, const std::string& modelName, uint8_t pattern, double fc,
                          int32_t& count, RebarArrangeRows& rows)
{
    count = 0;
    rows.redim(0);
    const std::string t = TableFor(modelName, pattern);

    store::Database db = OpenCatalogueAt(ToNativePath(dbPath));
    if (!TableExists(db, t)) {
        db.close();
        return;
    }
    // The name is quoted so that an apostrophe cannot break the query.
    const std::string sql = "SELECT " + t + ".* " + "From " + t + " " + "WHERE (((" + t + ".Name)=" +
                            store::Quote(modelName) + ") AND ((" + t + ".Fc)=" + vb::CStr(fc) + "));";
    count = GetRecordCount(db, sql);
    if (count > 0) {
        store::Recordset rs = db.openRecordset(sql);
        rows.redim(count);
        for (int32_t i = 1; i <= count && !rs.eof(); ++i, rs.moveNext()) {
            RebarArrangeTbl& r = rows(i);
            r.Name = rs.text("Name");
            r.ID = CatalogueInt32(rs, "ID");
            r.KvV = CatalogueInt16(rs, "KvV");
            r.RCX = CatalogueInt16(rs, "RCX");
            r.RCY = CatalogueInt16(rs, "RCY");
            r.Fc = rs.number("Fc");
            r.Dbar = rs.text("Dbar");
            r.BarDia = BarDiaOfDbar(r.Dbar.value());
            r.DLength = rs.number("DLength");
            r.VariantCount = 4;
            r.Variants(1) = ReadVariant(rs, 1, 1, 1);
            r.Variants(2) = ReadVariant(rs, 2, 2, 1);
            // Zone II has one column set for both patterns.
            r.Variants(3) = ReadVariant(rs, 3, 1, 2);
            r.Variants(4) = ReadVariant(rs, 3, 2, 2);
        }
        rs.close();
    }
    db.close();
}

void FindArrangement(const std::string& dbPath, const std::string& modelName, uint8_t pattern, double fc, double rcx,
                     double rcy, const std::string& barText, int32_t& count, RebarArrangeRows& rows)
{
    ReadArrangementTable(dbPath, modelName, pattern, fc, count, rows);
    const std::string bar = vb::Trim(barText);
    Filter(count, rows, [&](const RebarArrangeTbl& r) {
        return r.RCY == rcy && r.RCX == rcx && vb::Trim(r.Dbar.value()) == bar;
    });
}

void ListArrangementNames(const std::string& dbPath, const std::string& modelName, double fc, uint8_t pattern,
                          uint8_t zone, int32_t& count, RebarArrangeRows& rows)
{
    const uint8_t s = ListVariant(modelName, pattern, zone);
    ReadArrangementTable(dbPath, modelName, pattern, fc, count, rows);
    Filter(count, rows, [&](const RebarArrangeTbl& r) { return r.Variants(s).NG != 0; });
}

BarCandidates ListBarCandidates(const std::string& dbPath, const std::string& modelName, uint8_t pattern, double fc)
{
    BarCandidates c;
    int32_t count = 0;
    RebarArrangeRows rows;
    ReadArrangementTable(dbPath, modelName, pattern, fc, count, rows);
    if (count < 1) return c;
    FirstAndBars(count, rows, c);
    for (int32_t i = 1; i <= count; ++i) {
        c.rcxList.push_back(rows(i).RCX);
        c.rcyList.push_back(rows(i).RCY);
    }
    c.rcxCount = c.rcyCount = count;
    SortDoubles(c.rcxList, c.rcxCount, 0);
    SortDoubles(c.rcyList, c.rcyCount, 0);
    return c;
}

BarCandidates ListArrangementChoices(const std::string& dbPath, const std::string& modelName, double fc,
                                     uint8_t pattern, uint8_t zone, const std::string& barText)
{
    double tfc = 21;
    if (fc == 18 || fc == 19.5 || fc == 21 || fc == 22.5)
        tfc = 21;
    else if (fc == 24 || fc == 25.5)
        tfc = 24;
    else if (fc == 27 || fc == 28.5)
        tfc = 27;
    else if (fc == 30 || fc == 33 || fc == 36)
        tfc = 30;

    BarCandidates c;
    int32_t count = 0;
    RebarArrangeRows rows;
    ListArrangementNames(dbPath, modelName, tfc, pattern, zone, count, rows);
    if (count < 1) return c;
    FirstAndBars(count, rows, c);
    const uint8_t s = ListVariant(modelName, pattern, zone);
    const std::string bar = vb::Trim(barText);
    for (int32_t i = 1; i <= count; ++i) {
        const RebarArrangeTbl& r = rows(i);
        if (vb::Trim(r.Dbar.value()) != bar || r.Variants(s).NG == 0) continue;
        c.rcxList.push_back(r.RCX);
        c.rcyList.push_back(r.RCY);
        ++c.rcxCount;
        ++c.rcyCount;
    }
    SortDoubles(c.rcxList, c.rcxCount, 0);
    SortDoubles(c.rcyList, c.rcyCount, 0);
    return c;
}

}  // namespace model
