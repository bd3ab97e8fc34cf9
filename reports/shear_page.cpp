#include "reports/shear_page.h"

#include "drawing/kv_figure_common.h"
#include "model/adapter.h"
#include "model/column_check.h"
#include "model/direction.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/stress.h"
#include "model/texts.h"
#include "platform/qt/draw_targets.h"
#include "platform/text/fixed_text.h"
#include "platform/text/vb.h"
#include "reports/report_common.h"
#include "reports/report_drivers.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

using namespace model;
using drawing::PrintAt;

namespace reports {

namespace {

ShearPictureSource& Source()
{
    static ShearPictureSource source;
    return source;
}

ShearGridTbl Block(double y, bool centred, int16_t cols, int16_t rows, double colWidth, std::string title = {})
{
    ShearGridTbl g;
    g.Centered = centred;
    g.InnerLines = centred;
    g.X = 35;
    g.Y = y;
    g.Title = std::move(title);
    g.Cols = cols;
    g.Rows = rows;
    g.ColWidth = colWidth;
    g.RowHeight = 4;
    g.Cells.assign(static_cast<std::size_t>(cols) + 1, std::vector<std::string>(static_cast<std::size_t>(rows) + 1));
    return g;
}

void Cell(ShearGridTbl& g, int i, const std::string& head, const std::string& value)
{
    g.Cells[static_cast<std::size_t>(i)][1] = head;
    g.Cells[static_cast<std::size_t>(i)][2] = value;
}

void DrawBlock(drawing::clsPrintOut& po, ShearGridTbl g)
{
    if (!g.Title.empty()) {
        PrintAt(po, g.X, g.Y, g.Title);
        g.Y += 4;
    }
    DrawGrid(po, g.X, g.Y, g.Cols, g.Rows, g.ColWidth, g.RowHeight, g.InnerLines);
    for (int i = 1; i <= g.Cols; ++i) {
        for (int j = 1; j <= g.Rows; ++j) {
            const std::string& text = g.Cells[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
            if (g.Centered) {
                // The true middle of the cell: the surface centres about the point.
                // A text wider than its cell is condensed to the cell less
                // a margin each side, and then fills it centred.
                const double room = g.ColWidth - 1;
                po.setCurrentX(g.X + (i - 0.5) * g.ColWidth);
                po.setCurrentY(g.Y + (j - 0.5) * g.RowHeight);
                if (po.TextWidth(text) > room) {
                    po.setCurrentX(g.X + (i - 1) * g.ColWidth + 0.5);
                    po.setCurrentY(po.CurrentY() - po.TextHeight(text) / 2);
                    po.DPrintFitted(text, room);
                } else {
                    po.DPrintCC(text);
                }
            } else {
                drawing::PrintFittedAt(po, g.X + (i - 1) * g.ColWidth + 0.5, g.Y + (j - 1) * g.RowHeight + 0.5, text,
                                       g.ColWidth - 1);
            }
        }
    }
}

std::string StateText(int16_t k)
{
    switch (k) {
    case 1: return "長期時";
    case 4:
    case 5: return "短期時";
    case 6:
    case 7: return "終局時";
    default: return "";
    }
}

std::string DirectionText(int16_t dir, int16_t k)
{
    std::string t = dir == 0 ? "X方向" : "Y方向";
    if (k == 4 || k == 6) t += "L";
    if (k == 5 || k == 7) t += "R";
    return t;
}

void DrawPicture(drawing::clsPrintOut& po, const KvBaseTbl& base, int16_t kvDir, int16_t dir)
{
    const ShearPictureSource& source = Source();
    if (!source || !po.prpVsPrinter()) return;
    const QImage picture = source(base, kvDir, dir);
    if (picture.isNull() || picture.dotsPerMeterX() <= 0 || picture.dotsPerMeterY() <= 0) return;
    // Its own size on paper, straight on the page control (no paper offset).
    const double wMm = picture.width() * 1000.0 / picture.dotsPerMeterX();
    const double hMm = picture.height() * 1000.0 / picture.dotsPerMeterY();
    const double tx = po.twipsPerMmX();
    const double ty = po.twipsPerMmY();
    po.prpVsPrinter()->DrawPicture(picture, 40 * tx, 160 * ty, (40 + wMm) * tx, (160 + hMm) * ty);
}

}  // namespace

void SetShearPictureSource(ShearPictureSource source) { Source() = std::move(source); }

const ShearPictureSource& ShearPicture() { return Source(); }

void DrawGrid(drawing::clsPrintOut& po, double x, double y, int16_t cols, int16_t rows, double colWidth,
              double rowHeight, bool innerLines)
{
    const double right = x + cols * colWidth;
    const double bottom = y + rows * rowHeight;
    po.Draw_Rectangle(x, y, right, bottom, -1);
    if (!innerLines) return;
    for (int i = 1; i < cols; ++i) po.Draw_Line(x + i * colWidth, y, x + i * colWidth, bottom, -1);
    for (int j = 1; j < rows; ++j) po.Draw_Line(x, y + j * rowHeight, right, y + j * rowHeight, -1);
}

void PrintShearCompareLine(drawing::clsPrintOut& po, double x, double y, const std::string& caption,
                           const std::string& formula, double capacity, double stress, const std::string& unit)
{
    const double y0 = y + 4;
    PrintAt(po, x, y, caption);
    PrintAt(po, x + 2, y0, formula);
    po.setCurrentX(x + 45);
    po.setCurrentY(y0);
    po.DPrintRU(FormatValue(capacity, 2) + unit);
    const double load = std::fabs(stress);
    const bool ng = load > capacity;
    PrintAt(po, x + 47, y0, ng ? "<" : (capacity > load ? ">" : "="));
    po.setCurrentX(x + 70);
    po.setCurrentY(y0);
    po.DPrintRU("|" + FormatValue(stress, 2) + "| " + unit);
    PrintAt(po, x + 80, y0, ng ? "NG" : "OK");
}

void PrintShearCheckPage(drawing::clsPrintOut& po, const ColumnDataTbl& column, const ColumnResultTbl& results,
                         const KvBaseTbl& base, int page, int16_t dir, int16_t k)
{
    if (!gKv) throw std::logic_error("せん断耐力の検討: 計算エンジンがありません。");
    if (dir < 0 || dir > 1 || k < 1 || k > 7) throw std::out_of_range("せん断耐力の検討: 方向か荷重ケースが範囲外です。");
    const ColumnDataTbl col = column;
    ColumnResultTbl res = results;
    const KvBaseTbl kvb = base;

    // The check sends the column's inputs to the engine.
    KvEngineRef engine(*gKv);
    for (int16_t r = 1; r <= 6; ++r) BuildDesignStressTable(res.DesignStress, col.LoadTbl, r);
    CalcColumnCheck(engine, col, res, kvb, 0);
    CalcColumnCheck(engine, col, res, kvb, 1);

    const std::string S = k == 6 || k == 7 ? "Qu" : "Qa";
    const bool solvenas = kvb.KvV == 6;
    const bool twoWays = kvb.KvV == 4 || kvb.KvV == 6;  // no welded-washer way
    const std::string W = solvenas ? "ソルヴェナス" : "コルヴァン";
    const double f = gUnitFactor;
    const double N = res.DesignStress(1 + 3 * dir, k) * f;
    const double M = res.DesignStress(2 + 3 * dir, k) * f;
    const double Q = res.DesignStress(3 + 3 * dir, k) * f;
    const double qu0 = res.Qu0(dir, k);
    const double qu1 = res.Qu1(dir, k);
    const double qu2 = res.Qu2(dir, k);
    // The SRC check judges the capacity of the whole SRC base; it computes no
    // share of the steel base's ways, so those print as "-" and the
    // judgement uses the capacity of the verdict.
    const bool src = gCond.SMode == kFalse;
    const auto share = [src](double q) { return src ? std::string("-") : FormatValue(q, 2); };
    // The widths the check of this direction sent to the engine.
    const bool xWidths = SlabWidthField(col, EngineDirection(kvb, col, dir)) == 0;
    const double b1 = xWidths ? col.SlabQ_B1X : col.SlabQ_B1Y;
    const double b2 = xWidths ? col.SlabQ_B2X : col.SlabQ_B2Y;
    const int16_t flags = col.FShear(k, dir);
    const bool washers = (flags & 1) != 0;
    const bool slab = (flags & 2) != 0;
    const std::string force = gSIDisp ? "(kN)" : "(tf)";
    const std::string moment = gSIDisp ? "(kN・m)" : "(tf・m)";

    PrintReportHeader(po);
    po.setFontSize(7.8);
    PrintAt(po, 30, 15, "せん断耐力に関する検討");
    po.setFontSize(7.8);

    std::vector<ShearGridTbl> blocks;
    blocks.push_back(Block(20, true, 1, 2, 35));
    Cell(blocks.back(), 1, "柱符号", text::FieldText(col.ColName));
    blocks.push_back(Block(32, true, 2, 2, 35));
    Cell(blocks.back(), 1, "応力状態", StateText(k));
    Cell(blocks.back(), 2, "応力方向", DirectionText(dir, k));
    blocks.push_back(Block(44, true, 3, 2, 35));
    Cell(blocks.back(), 1, W + "型式", GetKvDisplayName(kvb));
    Cell(blocks.back(), 2, "コンクリート強度", "Fc" + vb::Str(col.Fc));
    Cell(blocks.back(), 3, "スラブのコンクリート強度", solvenas ? "Fc18" : "Fc" + vb::Str(col.SlabFc));
    blocks.push_back(Block(56, true, 4, 2, 35));
    Cell(blocks.back(), 1, "B1(mm)", FormatValue(b1, 0));
    Cell(blocks.back(), 2, "B2(mm)", FormatValue(b2, 0));
    Cell(blocks.back(), 3, "d1(mm)", FormatValue(col.SlabQ_d1, 0));
    Cell(blocks.back(), 4, "d2(mm)", FormatValue(col.SlabQ_d2, 0));
    blocks.push_back(Block(68, true, 3, 2, 35, "＜応力＞"));
    Cell(blocks.back(), 1, "N" + force, FormatValue(N, 2));
    Cell(blocks.back(), 2, "M" + moment, FormatValue(M, 2));
    Cell(blocks.back(), 3, "Q" + force, FormatValue(Q, 2));
    {
        ShearGridTbl m = Block(88, false, 1, twoWays ? 2 : 3, 155);
        m.Cells[1][1] = "(1)" + W + "下の圧縮反力による摩擦抵抗に期待する方法(" + S + "0)";
        if (!twoWays)
            m.Cells[1][2] = "(2)アンカーボルトの座金を全周隅肉溶接でコルヴァンに固定し、そのアンカーボルトのせん断耐力に期待する方法(" +
                            S + "1)";
        m.Cells[1][static_cast<std::size_t>(m.Rows)] = "(3)柱脚部を埋め込み、コンクリートの支圧抵抗に期待する方法(" + S + "2)";
        blocks.push_back(std::move(m));
    }
    const int16_t shares = twoWays ? 2 : 3;
    blocks.push_back(Block(108, true, static_cast<int16_t>(shares + (src ? 1 : 0)), 2, 35,
                           k >= 6 ? "＜終局せん断耐力＞" : "＜許容せん断耐力＞"));
    Cell(blocks.back(), 1, S + "0" + force, share(qu0));
    if (twoWays) {
        Cell(blocks.back(), 2, S + "2" + force, share(qu2));
    } else {
        Cell(blocks.back(), 2, S + "1" + force, share(qu1));
        Cell(blocks.back(), 3, S + "2" + force, share(qu2));
    }
    if (src) Cell(blocks.back(), shares + 1, S + force, FormatValue(res.Qu(dir, k), 2));
    for (const ShearGridTbl& b : blocks) DrawBlock(po, b);

    PrintAt(po, 35, 128, "＜対処方法の判定＞");
    if (src) {
        PrintShearCompareLine(po, 39, 132, "SRC柱脚（鉄骨柱脚＋コンクリート＋鉄筋）の場合", S + " =", res.Qu(dir, k), Q,
                              force);
    } else {
        PrintShearCompareLine(po, 39, 132, "(1)のみの場合", S + " = " + S + "0 =", qu0, Q, force);
        const double larger = std::max(qu0, qu1);
        if (washers && slab)
            PrintShearCompareLine(po, 39, 144, "(1)と(2)、(3)の場合", S + " = max(" + S + "0," + S + "1)+" + S + "2 =",
                                  larger + qu2, Q, force);
        else if (washers)
            PrintShearCompareLine(po, 39, 144, "(1)と(2)の場合", S + " = max(" + S + "0," + S + "1) =", larger, Q, force);
        else if (slab && solvenas)
            PrintShearCompareLine(po, 39, 144, "(3)の場合", S + " = " + S + "2 =", qu2, Q, force);
        else if (slab)
            PrintShearCompareLine(po, 39, 144, "(1)と(3)の場合", S + " = " + S + "0 + " + S + "2 =", qu0 + qu2, Q,
                                  force);
    }

    DrawPicture(po, kvb, col.KvDir, dir);
    PrintPageMark(po, page);
    PrintReportFooter(po, 167, 279);
}

void PrintShearPageOfColumn(drawing::clsPrintOut& po, int16_t col, int page, int16_t dir, int16_t designCase)
{
    PrintShearCheckPage(po, gColumns(col), gResults(col), gKvBase(col), page, dir, designCase);
}

void RegisterShearPage()
{
    PageTable().shearPage = [](drawing::clsPrintOut& po, int16_t column, int page, int16_t dir, int16_t designCase) {
        PrintShearPageOfColumn(po, column, page, dir, designCase);
    };
}

}  // namespace reports
