#include "reports/stress_table.h"

#include "drawing/kv_figure_common.h"
#include "model/direction.h"
#include "model/format.h"
#include "model/globals.h"
#include "platform/text/vb.h"
#include "reports/report_common.h"

#include <algorithm>
#include <cmath>

using namespace model;
using drawing::PrintAt;

namespace reports {

std::string NumberCell(double value)
{
    constexpr std::size_t kWidth = 9;
    if (!std::isfinite(value)) return std::string(kWidth, '*');
    const std::string t = vb::Format(value, "######0.00");
    if (t.size() >= kWidth) return t;
    return std::string(kWidth - t.size(), ' ') + t;
}

void PrintCell(drawing::clsPrintOut& po, double x, double y, const std::string& text, double left, double right)
{
    constexpr double kClear = 0.3;  // mm between a rule and the ink
    const std::size_t lead = text.find_first_not_of(' ');
    if (lead == std::string::npos) return PrintAt(po, x, y, text);
    const double markX = x + po.TextWidth(text.substr(0, lead));
    if (text.size() <= 9 && markX >= left + kClear) return PrintAt(po, x, y, text);
    const std::string mark = text.substr(lead);
    const double end = std::min(right - 1, x + po.TextWidth(text));
    const double start = std::max(left + kClear, end - po.TextWidth(mark));
    drawing::PrintFittedAt(po, start, y, mark, end - start);
}

std::string VerdictCell(int16_t code) { return "    " + GetJadgeText(code); }

std::string ZoneCell(const text::FixedText<3>& zone)
{
    std::string z = zone.value();
    for (char& c : z)
        if (c == '\0') c = ' ';
    return "    " + z;
}

std::array<double, 12> StressTableLineX()
{
    std::array<double, 12> x{};
    x[0] = 20;
    x[1] = 40;
    for (std::size_t j = 2; j < x.size(); ++j) x[j] = x[j - 1] + 15;
    return x;
}

std::array<double, 14> StressTableLineY()
{
    std::array<double, 14> y{};
    y[0] = 65;
    for (std::size_t k = 1; k <= 3; ++k) y[k] = y[k - 1] + 4.5;
    for (std::size_t k = 4; k < y.size(); ++k) y[k] = y[k - 1] + 4.6;
    return y;
}

void PrintStressTable(drawing::clsPrintOut& po, int16_t iCol)
{
    const std::array<double, 12> lx = StressTableLineX();
    const std::array<double, 14> ly = StressTableLineY();
    const auto X = [&lx](int j) { return lx[static_cast<std::size_t>(j)]; };
    const auto Y = [&ly](int k) { return ly[static_cast<std::size_t>(k)]; };
    const ColumnResultTbl& res = gResults(iCol);
    const bool ultJadge = gCond.UltJadge != kFalse;
    bool momentOkStar = false;
    bool shearOkStar = false;

    PrintAt(po, 20, 65.5, "応力算定表");

    po.setDrawWidth(3);
    po.Draw_Rectangle(X(0), Y(3), X(11), Y(13), 0);
    po.Draw_Line(X(1), Y(0), X(11), Y(0), -1);
    po.Draw_Line(X(1), Y(0), X(1), Y(13), -1);
    po.Draw_Line(X(11), Y(0), X(11), Y(3), -1);
    for (int k : {4, 8, 9}) po.Draw_Line(X(0), Y(k), X(11), Y(k), -1);
    for (int j : {3, 7}) po.Draw_Line(X(j), Y(0), X(j), Y(13), -1);

    po.setDrawWidth(1);
    po.Draw_Line(30, Y(3), 30, Y(8), -1);
    po.Draw_Line(30, Y(9), 30, Y(13), -1);
    for (int k : {5, 6, 7, 10, 11, 12}) po.Draw_Line(30, Y(k), X(11), Y(k), -1);
    po.Draw_Line(X(1), Y(1), X(11), Y(1), -1);
    po.Draw_Line(X(3), Y(2), X(11), Y(2), -1);
    for (int j : {2, 5, 9}) po.Draw_Line(X(j), Y(1), X(j), Y(13), -1);
    for (int j : {4, 6, 8, 10}) po.Draw_Line(X(j), Y(2), X(j), Y(13), -1);

    struct Label {
        int band;
        double x;
        const char* text;
    };
    static constexpr Label kLabels[] = {
        {3, 20.6, "軸　力"}, {3, 30.6, "応　力"}, {4, 30.6, "応　力"}, {5, 20.6, "曲　げ"},
        {5, 30.6, "耐　力"}, {6, 21.4, "ﾓｰﾒﾝﾄ"}, {6, 30.6, "検定比"}, {7, 30.6, "判　定"},
        {8, 24.6, "ｿﾞ ｰ ﾝ"}, {9, 30.6, "応　力"}, {10, 20.6, "せん断"}, {10, 30.6, "耐　力"},
        {11, 20.6, "　力　"}, {11, 30.6, "検定比"}, {12, 30.6, "判　定"},
    };
    for (const Label& l : kLabels) PrintAt(po, l.x, Y(l.band) + 1, l.text);

    PrintAt(po, X(1) + 9, Y(0) + 1, "長　　期");
    static constexpr const char* kShortTitles[] = {"短 期 (地 震 時)", "短 期 (暴 風 時)", "短 期 (積 雪 時)"};
    if (gPrintShortKind >= 0 && gPrintShortKind <= 2) PrintAt(po, X(4) + 2, Y(0) + 1, kShortTitles[gPrintShortKind]);
    PrintAt(po, X(8) + 9, Y(0) + 1, "終　　局");
    PrintAt(po, X(1) + 6, Y(1) + 3.3, "Ｘ");
    PrintAt(po, X(2) + 6, Y(1) + 3.3, "Ｙ");
    for (int j : {4, 8}) PrintAt(po, X(j) - 1.5, Y(1) + 1, "Ｘ");
    for (int j : {6, 10}) PrintAt(po, X(j) - 1.5, Y(1) + 1, "Ｙ");
    for (int j : {3, 5, 7, 9}) {
        PrintAt(po, X(j) + 6, Y(2) + 1, "Ｌ");
        PrintAt(po, X(j + 1) + 6, Y(2) + 1, "Ｒ");
    }

    const auto column = [&](int j, int16_t d, int16_t c) {
        const double x = X(j) + 1;
        const auto cell = [&](int band, const std::string& s) { PrintCell(po, x, Y(band) + 1, s, X(j), X(j + 1)); };
        const bool ultimate = c >= 6;
        const double m = gUnitFactor * res.DesignStress(2 + 3 * d, c);
        const double q = gUnitFactor * res.DesignStress(3 + 3 * d, c);
        cell(3, NumberCell(gUnitFactor * res.DesignStress(1 + 3 * d, c)));
        cell(4, NumberCell(m));
        cell(5, NumberCell(res.Mu(d, c)));
        cell(6, NumberCell(SafeRatio(m, res.Mu(d, c))));
        if (ultimate && !ultJadge) {
            cell(7, kDashCell);
        } else {
            const std::string verdict = GetJadgeText(res.JadgeM(d, c));
            if (ultimate && verdict == "OK*") momentOkStar = true;
            cell(7, "    " + verdict);
        }
        cell(8, ZoneCell(res.Zone(d, c)));
        cell(9, NumberCell(q));
        const bool shearShown = ultimate ? !(ultJadge && res.JadgeM(d, c) == 0) : res.JadgeM(d, c) == -1;
        if (shearShown) {
            cell(10, NumberCell(res.Qu(d, c)));
            cell(11, NumberCell(SafeRatio(q, res.Qu(d, c))));
            const std::string verdict = GetJadgeText(res.JadgeQ(d, c));
            if (verdict == "OK*") shearOkStar = true;
            cell(12, "    " + verdict);
        } else {
            for (int band : {10, 11, 12}) PrintAt(po, X(j) - 1, Y(band) + 1, kSkippedCell);
        }
    };
    column(1, 0, 1);
    column(2, 1, 1);
    for (int16_t c : {4, 5}) {
        if (c == 5 && gPrintShortKind == 2) continue;
        column(c == 4 ? 3 : 4, 0, c);
        column(c == 4 ? 5 : 6, 1, c);
    }
    for (int16_t c : {6, 7}) {
        column(c == 6 ? 7 : 8, 0, c);
        column(c == 6 ? 9 : 10, 1, c);
    }

    po.setFontSize(7);
    PrintAt(po, 35, 125, "注)せん断力の判定が\"NG\"の場合は\"設計ﾊﾝﾄﾞﾌﾞｯｸ\"を参照して追加検討して下さい。");
    if (!ultJadge) return;
    if (gCond.SMode != kFalse) {
        double y = 127.5;
        if (momentOkStar) {
            PrintAt(po, 35, y, "(ﾓｰﾒﾝﾄ判定)の場合のOK*：終局耐力±1%の応力で柱脚降伏しています。");
            y = 130;
        }
        if (shearOkStar)
            PrintAt(po, 35, y,
                 "(せん断判定)の場合のOK*：座金溶接によりアンカーボルトで、またはスラブ埋込みでせん断耐力を確保します。");
    } else {
        PrintAt(po, 35, 127.5, "OK*：(ﾓｰﾒﾝﾄ)終局耐力±1%の応力で柱脚降伏しています。");
    }
}

}  // namespace reports
