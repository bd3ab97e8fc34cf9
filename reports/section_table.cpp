#include "reports/section_table.h"

#include "drawing/kv_figure_common.h"
#include "drawing/rc_section.h"
#include "model/column_check.h"
#include "model/direction.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/rebar_zone.h"
#include "model/stress.h"
#include "model/texts.h"
#include "platform/text/fixed_text.h"
#include "platform/text/vb.h"
#include "reports/legend_page.h"
#include "reports/report_common.h"
#include "reports/report_drivers.h"
#include "reports/stress_table.h"

#include <cmath>
#include <stdexcept>

using namespace model;
using drawing::PrintAt;

namespace reports {

namespace {

constexpr int32_t kBlack = 0;
constexpr double kRowStep = 3.65;
constexpr double kFirstGroupY = 46;

void FillRows(SectionGroupTbl& g, const DesignTable& des, const ColumnResultTbl& res, int16_t k)
{
    const double f = gUnitFactor;
    const bool ultimate = k >= 6;
    const bool ultJadge = gCond.UltJadge != kFalse;
    for (int16_t d = 0; d <= 1; ++d) {
        auto& t = d == 0 ? g.Text1 : g.Text2;
        const double n = des(1 + 3 * d, k);
        const double m = des(2 + 3 * d, k);
        const double q = des(3 + 3 * d, k);
        const int16_t jm = res.JadgeM(d, k);
        t[1] = FormatStress(n);
        t[2] = FormatStress(m);
        t[3] = NumberCell(res.Mu(d, k));
        t[4] = NumberCell(RatioOrZero(f * m, res.Mu(d, k)));
        t[5] = ultimate && !ultJadge ? kDashCell : VerdictCell(jm);
        t[6] = ZoneCell(res.Zone(d, k));
        t[7] = FormatStress(q);
        // Shear is read only where the moment leaves the base standing.
        bool capacity = jm == -1;
        bool ratio = capacity;
        if (ultimate) {
            capacity = !ultJadge || jm != 0;
            ratio = true;
        }
        t[8] = capacity ? NumberCell(res.Qu(d, k)) : kSkippedCell;
        t[9] = ratio ? NumberCell(RatioOrZero(f * q, res.Qu(d, k))) : kSkippedCell;
        t[10] = capacity ? VerdictCell(res.JadgeQ(d, k)) : kSkippedCell;
    }
}

// "地震", "暴風" or "積雪" for the printed short-term kind; "" for another value.
std::string PrintedKindWord()
{
    static constexpr const char* kWords[] = {"地震", "暴風", "積雪"};
    return gPrintShortKind >= 0 && gPrintShortKind <= 2 ? kWords[gPrintShortKind] : "";
}

std::string ShortKindTitle()
{
    const std::string word = PrintedKindWord();
    return word.empty() ? word : "短期時(" + word + ")";
}

}  // namespace

void AddTableGroup(const std::string& title, const std::string& caseMark, const std::string& strengthMark,
                   int16_t& count, SectionGroups& groups)
{
    ++count;
    groups.resize(static_cast<std::size_t>(count) + 1);
    SectionGroupTbl& g = groups.back();
    g = SectionGroupTbl{};
    g.Title = title;
    g.Marks[1] = caseMark;
    g.Marks[2] = strengthMark;
    g.RowCount = 10;
    for (uint8_t r = 1; r <= 10; ++r) g.RowKind[r] = r;
}

double RatioOrZero(double x, double cap) { return SafeRatio(x, cap); }

std::string FormatStress(double x) { return NumberCell(x * gUnitFactor); }

std::string GetTableRowTitle(int kind, const std::string& c, const std::string& s)
{
    switch (kind) {
    case 1: return "N" + c;
    case 2: return "M" + c;
    case 3: return "M" + s + c;
    case 4: return "M" + c + "/M" + s + c;
    case 5: return "判定";
    case 6: return "ゾーン";
    case 7: return "Q" + c;
    case 8: return "Q" + s + c;
    case 9: return "Q" + c + "/Q" + s + c;
    case 10: return "判定";
    default: return "";
    }
}

SectionGroups BuildSectionGroups(const DesignTable& des, const ColumnResultTbl& res)
{
    SectionGroups groups(1);
    int16_t count = 0;
    AddTableGroup("長期時", "l", "a", count, groups);
    FillRows(groups[count], des, res, 1);
    for (int16_t k : {4, 5}) {
        if (gPrintShortKind == 2) {
            // Snow has no left and right: one short-term group of case 4.
            if (k == 5) {
                groups[count].Title = "短期時";
                continue;
            }
        }
        AddTableGroup(ShortKindTitle() + (k == 4 ? "Ｌ" : "Ｒ"), "s", "a", count, groups);
        FillRows(groups[count], des, res, k);
    }
    for (int16_t k : {6, 7}) {
        AddTableGroup(k == 6 ? "終局時Ｌ" : "終局時Ｒ", "", "u", count, groups);
        FillRows(groups[count], des, res, k);
    }
    LayoutSectionGroups(groups);
    return groups;
}

namespace {

// The y after the last row, where the layout ended.
double TableBottom(const SectionGroups& groups)
{
    const SectionGroupTbl& last = groups.back();
    return last.RowPos[static_cast<std::size_t>(last.RowCount)].y + kRowStep;
}

}  // namespace

double LayoutSectionGroups(SectionGroups& groups)
{
    double y = kFirstGroupY;
    for (std::size_t i = 1; i < groups.size(); ++i) {
        SectionGroupTbl& g = groups[i];
        g.TitlePos = {10, y};
        y += kRowStep;
        for (int r = 1; r <= g.RowCount; ++r) {
            g.RowPos[static_cast<std::size_t>(r)] = {13, y};
            y += kRowStep;
        }
    }
    return y;
}

namespace {

void Furniture(drawing::clsPrintOut& po, const SectionGroups& groups, double yEnd, bool sMode)
{
    po.setForeColor(kBlack);
    PrintReportHeader(po);
    po.setFontSize(7.8);
    PrintAt(po, 10, 5, PrintedKindWord() + "時柱脚断面算定表");
    po.setDrawWidth(3);
    po.Draw_Rectangle(8, 8, 34, yEnd, kBlack);
    po.setFontSize(7.8);
    const auto band = [&po](double y) { po.Draw_Line(8, y, 34, y, kBlack); };
    PrintAt(po, 10, 9, "符号");
    band(13);
    PrintAt(po, 10, 15, "ベース形状");
    band(20);
    PrintAt(po, 10, 22, "柱サイズ");
    if (sMode) {
        band(29.5);
        PrintAt(po, 10, 30.5, "配筋ゾーン");
    }
    band(38);
    PrintAt(po, 10, 38.5, "コンクリート強度");
    band(42);
    for (std::size_t i = 1; i < groups.size(); ++i) {
        const SectionGroupTbl& g = groups[i];
        PrintAt(po, g.TitlePos.x, g.TitlePos.y, g.Title);
        for (int r = 1; r <= g.RowCount; ++r) {
            const auto rr = static_cast<std::size_t>(r);
            PrintAt(po, g.RowPos[rr].x + 8, g.RowPos[rr].y, GetTableRowTitle(g.RowKind[rr], g.Marks[1], g.Marks[2]));
        }
        band(g.TitlePos.y);
    }
}

// The section lines below `y`, each `step` further down; empty ones are left out.
void SectionLines(drawing::clsPrintOut& po, double x, double y, double step, int16_t col)
{
    std::string main, second, material;
    int16_t c = col;
    GetColumnSectionText(c, main, second, material);
    PrintAt(po, x, y, main);
    if (!second.empty()) {
        y += step;
        PrintAt(po, x, y, second);
    }
    if (!material.empty()) PrintAt(po, x, y + step, material);
}

void SrcRebarLines(drawing::clsPrintOut& po, double xOff, const ColumnDataTbl& c)
{
    PrintAt(po, xOff + 35, 20.5, SrcRcSizeText(c));
    PrintAt(po, xOff + 35, 22.7, SrcBarText(c));
    PrintAt(po, xOff + 35, 24.9, "本数" + SrcBarCountText(c));
}

void FcLine(drawing::clsPrintOut& po, double xOff, double fc)
{
    po.setFontSize(7.8);
    double squareX = xOff + 50;
    std::string unit = "kgf/cm";
    if (gSIDisp) {
        unit = "N/mm";
        squareX = xOff + (std::fabs(fc - std::floor(fc)) > 0.1 ? 48.8 : 46);
    }
    PrintAt(po, xOff + 38, 38.5, FormatFc(fc) + unit);
    po.setFontSize(6);
    PrintAt(po, squareX, 38.0, "2");
}

void ZoneBand(drawing::clsPrintOut& po, double xOff, int16_t col, const ColumnDataTbl& c)
{
    po.Draw_RectangleStep(xOff + 34.5, 32.5, 3, 3, -1);
    po.setFontSize(6);
    static constexpr const char* kNumerals[] = {"Ⅰ", "Ⅱ", "Ⅲ"};
    const int16_t zone = GetColumnRebarZone(col);
    if (zone >= 1 && zone <= 3) PrintAt(po, xOff + 35, 33, kNumerals[zone - 1]);
    po.setFontSize(4.5);
    int16_t cc = col;
    const int16_t a = GetKvDirection(cc);
    PrintAt(po, xOff + 38.5, 31, drawing::RcMainBarCaption(c, a));
    PrintAt(po, xOff + 38.5, 33, drawing::RcHoopCaption(c));
    // The hoop mark sits in the gap the ideographic space leaves.
    po.Draw_RectangleStep(xOff + 44.5, 33, 1.5, 1.5, -1);
    PrintAt(po, xOff + 38.5, 35, drawing::RcAnchorageCaption(c));
}

}  // namespace

void PrintSectionColumnBlock(drawing::clsPrintOut& po, int16_t col, int page, int slot)
{
    if (!gKv) throw std::logic_error("断面算定表: 計算エンジンがありません。");
    const bool sMode = gCond.SMode != kFalse;
    // The column's design table and checks under the kind in force; the
    // check sends the column's inputs.
    CheckColumn(col);

    const SectionGroups groups = BuildSectionGroups(gResults(col).DesignStress, gResults(col));
    const double yEnd = TableBottom(groups);
    const ColumnDataTbl& c = gColumns(col);
    const double w = kSectionSlotWidth;
    const double xOff = (slot - 1) * w;
    const double left = 34 + xOff;
    const double right = left + w;
    const auto across = [&](double y) { po.Draw_Line(left, y, right, y, kBlack); };

    if (slot == 1) Furniture(po, groups, yEnd, sMode);

    po.setFontSize(7.8);
    // Within the column's slot, clear of its right rule.
    drawing::PrintFittedAt(po, xOff + 36, 9, text::FieldText(c.ColName), right - (xOff + 36) - 1);
    po.setDrawWidth(3);
    po.Draw_Line(left, 8, right, 8, kBlack);
    po.Draw_Line(right, 8, right, yEnd, kBlack);
    across(13);
    PrintAt(po, xOff + 36, 13.5, ProductShortName(gKvBase(col).KvV, sMode));
    PrintAt(po, xOff + 36, 16.5, GetKvNameByIndex(col));
    across(20);
    po.setFontSize(6);
    if (sMode) {
        SectionLines(po, xOff + 35, 20.5, 2.4, col);
        across(29.5);
    } else {
        SrcRebarLines(po, xOff, c);
        SectionLines(po, xOff + 35, 27.1, 2.2, col);
    }
    FcLine(po, xOff, c.Fc);
    across(38);
    if (sMode) ZoneBand(po, xOff, col, c);

    po.setFontSize(7.8);
    PrintAt(po, xOff + 37, 42.5, "X方向");
    PrintAt(po, xOff + 52, 42.5, "Y方向");
    across(42);
    po.Draw_Line(left + w / 2, 42, left + w / 2, yEnd, kBlack);
    for (std::size_t i = 1; i < groups.size(); ++i) {
        const SectionGroupTbl& g = groups[i];
        for (int r = 1; r <= g.RowCount; ++r) {
            const auto rr = static_cast<std::size_t>(r);
            const double x = xOff + g.RowPos[rr].x + 20;
            // The fields start a millimetre left of their rules: a number
            // that fills one is kept between the rules.
            PrintCell(po, x, g.RowPos[rr].y, g.Text1[rr], left, left + w / 2);
            PrintCell(po, x + w / 2, g.RowPos[rr].y, g.Text2[rr], left + w / 2, right);
        }
        across(g.TitlePos.y);
    }
    across(yEnd);

    if (slot != 1) return;
    po.setFontSize(7.8);
    po.setForeColor(kBlack);
    PrintPageMark(po, page);
    PrintReportFooter(po, 172, 279);
}

void RegisterSectionTablePages()
{
    PageTable().legend = [](drawing::clsPrintOut& po, int page) { PrintLegendPage(po, page); };
    PageTable().sectionBlock = [](drawing::clsPrintOut& po, int16_t column, int page, int slot) {
        PrintSectionColumnBlock(po, column, page, slot);
    };
}

}  // namespace reports
