#include "model/column_list_csv.h"

#include "model/globals.h"
#include "model/texts.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"

namespace model {

namespace {

// A text item between double quotes; a quote inside is doubled so that the
// line still splits into the same items.
std::string Quoted(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string Number(double v) { return vb::Trim(vb::Str(v)); }

}  // namespace

std::string CsvPresetName(const std::string& fileName)
{
    const auto dot = fileName.find('.');
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + ".csv";
}

std::string GetColumnVerdictText(const ColumnResultTbl& res, bool ultJadge)
{
    std::string verdict = "OK";
    for (long k = 1; k <= 7; ++k) {
        if (k == 2 || k == 3) continue;
        for (long d = 0; d <= 1; ++d) {
            const bool momentNG = CaseMomentNG(res, ultJadge, d, k);
            if (momentNG) verdict = "NG(M)";
            // The shear of a case whose moment fails is not checked.
            if (!momentNG && res.JadgeQ(d, k) == 0) verdict = "NG(Q)";
            if (verdict == "OK" && res.JadgeQ(d, k) > 0) verdict = "OK*";
        }
    }
    return verdict;
}

std::string GetColumnJudgeText(const ColumnResultTbl& res, bool ultJadge)
{
    return GetColumnVerdictText(res, ultJadge);
}

bool CaseMomentNG(const ColumnResultTbl& res, bool ultJadge, long d, long k)
{
    return (k <= 5 || ultJadge) && res.JadgeM(d, k) == 0;
}

std::string GetZoneMarkText(int16_t zone)
{
    switch (zone) {
    case 1: return "(Ⅰ)";
    case 2: return "(Ⅱ)";
    default: return {};
    }
}

std::string BuildColumnListCsv(const std::function<int16_t(long)>& zoneOf)
{
    const bool sMode = gCond.SMode != kFalse;
    std::string out = Quoted("物件名") + "," + Quoted(gCond.Bukken.value()) + "\r\n";
    out += Quoted("No.") + "," + Quoted("柱名称") + "," + Quoted(" 型式 ") + "," + Quoted(" 判定") + "," +
           Quoted("配筋ゾーン") + "," + Quoted("Fc") + "\r\n";
    for (long i = 1; i <= gCond.ColCount; ++i) {
        const ColumnDataTbl& col = gColumns(i);
        const std::string zone = sMode ? GetZoneMarkText(zoneOf(i)) : std::string();
        out += std::to_string(i) + "," + Quoted(vb::Trim(col.ColName.value())) + "," +
               Quoted(GetKvModelText(gKvBase(i), 50)) + "," +
               Quoted(GetColumnVerdictText(gResults(i), gCond.UltJadge != kFalse)) + "," + Quoted(zone) + "," +
               Number(col.Fc) + "\r\n";
    }
    return text::ToCp932(out);
}

}  // namespace model
