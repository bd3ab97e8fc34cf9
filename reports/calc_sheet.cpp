#include "reports/calc_sheet.h"

#include "drawing/globals.h"
#include "drawing/kv_figure_common.h"
#include "drawing/kv_figure_h.h"
#include "drawing/kv_figure_src.h"
#include "drawing/kv_figure_tube.h"
#include "drawing/nm_diagram.h"
#include "drawing/rc_section.h"
#include "drawing/state_guard.h"
#include "engine/kv.h"
#include "model/adapter.h"
#include "model/column_check.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/rebar_zone.h"
#include "model/stress.h"
#include "model/texts.h"
#include "platform/text/fixed_text.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "reports/report_common.h"
#include "reports/report_drivers.h"
#include "reports/stress_table.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

using namespace model;
using drawing::gNMChart;
using drawing::PrintAt;

namespace reports {

namespace {

constexpr int32_t kBlack = 0;

std::string Int(long v) { return std::to_string(v); }

void ColumnData(drawing::clsPrintOut& po, int16_t iCol, const ColumnDataTbl& col, bool sMode)
{
    PrintAt(po, 23, 20, "柱諸元");
    std::array<std::string, 7> t;
    int16_t c = iCol;
    GetSectionPropertyTexts(c, t);
    std::string main, second, material;
    c = iCol;
    const std::string section = GetColumnSectionText(c, main, second, material);
    if (sMode) {
        if (col.ColXYDiffer != kFalse) {
            PrintAt(po, 38, 15.5, section);
            PrintAt(po, 43, 19, t[0]);
            PrintAt(po, 65, 19, t[1]);
            PrintAt(po, 87, 19, t[2]);
            PrintAt(po, 65, 22.5, t[3]);
            PrintAt(po, 87, 22.5, t[4]);
        } else {
            PrintAt(po, 38, 18, section);
            PrintAt(po, 43, 22, t[0]);
            PrintAt(po, 65, 22, t[1]);
            PrintAt(po, 87, 22, t[2]);
        }
        return;
    }
    po.setCurrentX(45);
    po.setCurrentY(15.5);
    po.DPrint(SrcRcSizeText(col));
    po.DPrint("   " + SrcBarText(col) + "  本数");
    po.DPrint(SrcBarCountText(col));
    PrintAt(po, 45, 19, section);
    PrintAt(po, 47, 22.5, t[0]);
    PrintAt(po, 67, 22.5, t[1]);
    PrintAt(po, 87, 22.5, t[2]);
    PrintAt(po, 107, 22.5, t[5]);
    PrintAt(po, 67, 26, t[3]);
    PrintAt(po, 87, 26, t[4]);
    PrintAt(po, 107, 26, t[6]);
}

void ProductRow(drawing::clsPrintOut& po, int16_t iCol, const ColumnDataTbl& col, bool sMode)
{
    const int16_t kvV = gKvBase(iCol).KvV;
    // The longer ルモ name starts further left.
    PrintAt(po, sMode && kvV == 4 ? 21 : 23, 33, ProductShortName(kvV, sMode));
    if (!gPrNoDesignCond) PrintAt(po, 22, 48, "設計条件");
    if (sMode) {
        PrintAt(po, 38, 31, GetKvNameByIndex(iCol));
        PrintAt(po, 38, 35, GetKbsText(iCol));
        return;
    }
    kv::KV& kv = *gKv;
    kv.setCondition(1);
    PrintAt(po, 45, 30, GetKvNameByIndex(iCol));
    if (col.KvRotate == 0 || col.KvRotate == 1) {
        double rX = kv.srcMRatio0();
        double rY = kv.srcMRatio90();
        if (col.KvRotate == 1) std::swap(rX, rY);
        PrintAt(po, 75, 30, "曲げ負担率(≧0.10) " + vb::Format(rX, "(X) 0.000  ") + "(Y) " + vb::Format(rY, "0.000"));
    }
    PrintAt(po, 75, 33.5, "軸力負担率(≧0.15) " + vb::Format(kv.srcNRatio(), "    0.000  "));
    kv.setsrcWall(col.CenColWall(0));
    kv.setDesignRoot(gCond.DesignRootX);
    const double vX = -kv.srcTCrit();
    kv.setsrcWall(col.CenColWall(1));
    kv.setDesignRoot(gCond.DesignRootY);
    const double vY = -kv.srcTCrit();
    PrintAt(po, 75, 37,
            std::string("限界軸力 ") + (gSIDisp ? "(kN)" : "(tf)") + "   (X) " + SrcLimitForceText(vX) + "  (Y)" + SrcLimitForceText(vY));
}

void DesignConditions(drawing::clsPrintOut& po, int16_t iCol, bool sMode)
{
    const int r = gCond.DesignRootX;
    std::string route;
    if (r > 20)
        route = "設計ルート ： ルート 2-" + Int(r - 20);
    else if (r > 10)
        route = "設計ルート ： ルート 1-" + Int(r - 10);
    else
        route = "設計ルート ： ルート" + Int(r);
    if (r == 2 || r == 12) route += "   γ＝" + FormatDesignFactor(gCond.GammaX);
    PrintAt(po, 38, 41.5, route);

    const bool heavySnow = gCond.SCondition == 2;
    switch (gCond.SCondition) {
    case 0: PrintAt(po, 38, 45, "積雪の扱い ： なし"); break;
    case 1: PrintAt(po, 38, 45, "積雪の扱い ： 一般"); break;
    case 2:
        PrintAt(po, 38, 45,
                "積雪の扱い ： 多雪    α１＝ " + FormatDesignFactor(gCond.Alpha1) + "    α２＝ " +
                    FormatDesignFactor(gCond.Alpha2));
        break;
    default: break;
    }
    PrintAt(po, 41, 48.5, heavySnow ? "(長期) ＝ Ｇ＋Ｐ＋(α１×Ｓ)" : "(長期) ＝ Ｇ＋Ｐ");
    switch (gPrintShortKind) {
    case 0: PrintAt(po, 41, 52, heavySnow ? "(短期) ＝ Ｇ＋Ｐ＋(α２×Ｓ)＋Ｋ" : "(短期) ＝ Ｇ＋Ｐ＋Ｋ"); break;
    case 1: PrintAt(po, 41, 52, heavySnow ? "(短期) ＝ Ｇ＋Ｐ＋(α２×Ｓ)＋Ｗ" : "(短期) ＝ Ｇ＋Ｐ＋Ｗ"); break;
    case 2: PrintAt(po, 41, 52, "(短期) ＝ Ｇ＋Ｐ＋Ｓ"); break;
    default: break;
    }
    if (sMode && r == 2 && gCond.UltCalcMode == 0) {
        PrintAt(po, 41, 55.5,
                gCond.UltMQMode != kFalse ? "(終局) ＝ Ｇ＋Ｐ＋γ×Ｋ" : "(終局) ＝ Ｇ＋Ｐ＋γ×Ｋ(軸力) ， γ×Ｋ(曲げ,せん断)");
    } else if (!sMode && r == 3) {
        const std::string x = GetSrcColumnRank(iCol, 0);
        const std::string y = GetSrcColumnRank(iCol, 1);
        PrintAt(po, 41, 59, " ( 柱脚で決まる柱ランク (X)" + x + "  (Y)" + y + " )");
    }
}

void ShearNotes(drawing::clsPrintOut& po, int16_t iCol, const ColumnDataTbl& col)
{
    po.setFontSize(5);
    bool washers = false;
    bool slab = false;
    for (long k = 1; k <= 7; ++k) {
        for (long d = 0; d <= 1; ++d) {
            washers = washers || (col.FShear(k, d) & 1) != 0;
            slab = slab || (col.FShear(k, d) & 2) != 0;
        }
    }
    double off = 0;
    if (washers) {
        PrintAt(po, 130, 52, "・座金を全周隅肉溶接でコルヴァンに溶接してください。");
        off = 2.2;
    }
    if (slab) {
        const KvBaseTbl& kvb = gKvBase(iCol);
        PrintAt(po, 130, 52 + off,
                kvb.KvV == 6 ? "・ソルヴェナスをスラブの中に埋め込んでください。" : "・コルヴァンをスラブの中に埋め込んでください。");
        const auto v = [](double x) { return vb::CStr(x); };
        if (kvb.KvLen(0, 1) != kvb.KvLen(0, 2)) {
            PrintAt(po, 133, 53.8 + off, " (B1(X):" + v(col.SlabQ_B1X) + "  B2(X):" + v(col.SlabQ_B2X));
            PrintAt(po, 133.12, 55.6 + off,
                    "  B1(Y):" + v(col.SlabQ_B1Y) + "  B2(Y):" + v(col.SlabQ_B2Y) + "  d1:" + v(col.SlabQ_d1) +
                        "  d2:" + v(col.SlabQ_d2) + ")");
        } else {
            PrintAt(po, 133, 53.8 + off,
                    " (B1:" + v(col.SlabQ_B1X) + "  B2:" + v(col.SlabQ_B2X) + "  d1:" + v(col.SlabQ_d1) + "  d2:" +
                        v(col.SlabQ_d2) + ")");
        }
    }
}

void BaseFigure(drawing::clsPrintOut& po, int16_t iCol, const ColumnDataTbl& col, bool sMode)
{
    gNMChart.X0 = sMode ? (gPrNoBaseColumn ? 150 : 136.5) : 160;
    gNMChart.Y0 = 30;
    gNMChart.ScaleX = gNMChart.ScaleY = sMode ? 0.95 : 1.0;
    gNMChart.Mode = 1;
    // The figure routines may rewrite their column and direction arguments.
    int16_t c = iCol;
    int16_t dir = col.KvDir;
    switch (col.ColV) {
    case 0:
    case 1: drawing::DrawKvFigureTube(po, gNMChart, c, dir); break;
    case 2: {
        int16_t rot = col.KvRotate;
        drawing::DrawKvFigureH(po, gNMChart, c, rot);
        break;
    }
    case 3: drawing::DrawKvFigureSrcX(po, gNMChart, c, dir, col.RtN(0), col.RtN(1)); break;
    case 4: drawing::DrawKvFigureSrcT(po, gNMChart, c, dir, col.RtN(0), col.RtN(1)); break;
    case 5:
    case 6: drawing::DrawKvFigureSrcL(po, gNMChart, col.ColV, c, dir, col.RtN(0), col.RtN(1)); break;
    case 7: drawing::DrawKvFigureSrcH(po, gNMChart, c, dir, col.RtN(0), col.RtN(1)); break;
    default: break;
    }
    if (sMode && !gPrNoBaseColumn) {
        gNMChart.X0 = 170.5;
        gNMChart.Y0 = 30;
        c = iCol;
        dir = col.KvDir;
        drawing::DrawRcColumnSection(po, gNMChart, c, dir);
    }
}

void Diagram(drawing::clsPrintOut& po, int16_t iCol, int16_t dispMode, double left, double top, double width,
             double height)
{
    gDispMode = dispMode;
    gNMChart.AreaLeft = left;
    gNMChart.AreaTop = top;
    gNMChart.AreaWidth = width;
    gNMChart.AreaHeight = height;
    int16_t c = iCol;
    int16_t dir = 999;
    drawing::DrawNMDiagram(po, c, dir);
}

void StrengthBlock(drawing::clsPrintOut& po, int16_t iCol, bool sMode)
{
    drawing::StateGuard keep;
    const int16_t dispMode = gDispMode;
    keep.onExit([dispMode] { gDispMode = dispMode; });
    if (sMode) {
        PrintAt(po, 20, 132.5, "耐力検討");
        if (gKvBase(iCol).RotateMode != kFalse) {
            Diagram(po, iCol, 0, 20, 136, 82.5, 138);
            Diagram(po, iCol, 1, 107.5, 136, 82.5, 138);
        } else {
            Diagram(po, iCol, 0, 20, 136, 170, 138);
        }
    } else {
        PrintAt(po, 20, 129.5, "耐力検討");
        const vb::Array<bool, 0, 3> curves = gNMCurveShow;
        keep.onExit([curves] {
            for (long i = 0; i <= 3; ++i) gNMCurveShow(i) = curves(i);
        });
        const auto title = [&po](double x, double y, const char* text) {
            po.setForeColor(kBlack);
            PrintAt(po, x, y, text);
        };
        // One curve kind per pair; the column's own curve stays as printed.
        gNMCurveShow(0) = false;
        gNMCurveShow(1) = true;
        gNMCurveShow(2) = false;
        title(25, 132.5, "短期許容耐力(Ｘ方向)");
        Diagram(po, iCol, 0, 20, 135.5, 82.5, 65.5);
        title(112.5, 132.5, "短期許容耐力(Ｙ方向)");
        Diagram(po, iCol, 1, 107.5, 135.5, 82.5, 65.5);
        gNMCurveShow(0) = true;
        gNMCurveShow(1) = false;
        gNMCurveShow(2) = false;
        title(25, 201.5, "終局耐力(Ｘ方向)");
        Diagram(po, iCol, 0, 20, 204.5, 82.5, 65.5);
        title(112.5, 201.5, "終局耐力(Ｙ方向)");
        Diagram(po, iCol, 1, 107.5, 204.5, 82.5, 65.5);
    }
    keep.restore();
    po.setForeColor(kBlack);
}

void Footer(drawing::clsPrintOut& po)
{
    if (gPrNoFooter) return;
    const std::string person = text::FieldText(gCond.Tantou);
    if (!person.empty()) PrintAt(po, FooterLeft(172, person), 279, "設計担当：" + person);
    PrintAt(po, 175, 279, vb::Trim(ShortDateText(gCond.BukkenDate)));
}

}  // namespace

void PrintCalcSheetPage(drawing::clsPrintOut& po, int16_t iCol, int pageNo)
{
    if (!gKv) throw std::logic_error("計算書: 計算エンジンがありません。");
    const ColumnDataTbl& col = gColumns(iCol);
    const bool sMode = gCond.SMode != kFalse;

    // 1. The engine and the column's results under the kind in force (the
    // check sends the column's inputs).
    CheckColumn(iCol);

    // 2. Surface and 3. header.
    if (po.prpMode() == 1) {
        SetupReportPage(po);
    } else {
        po.setFontName(kReportFont);
        po.setFontSize(6);
        po.setFontSize(8);
    }
    po.setForeColor(kBlack);
    PrintReportHeader(po);
    po.setFontSize(8);
    PrintAt(po, 20, 6, "柱脚仕様");

    // 4. The ruling of the column and base box.
    const double R = sMode ? 120 : 140;
    po.setDrawStyle(0);
    po.setDrawWidth(3);
    po.Draw_Rectangle(20, 10, 190, 62, kBlack);
    po.Draw_Line(R, 10, R, 62);
    po.Draw_Line(35, 10, 35, 62);
    po.Draw_Line(20, 15, R, 15);
    po.Draw_Line(20, 29.5, R, 29.5);
    po.Draw_Line(20, 41, R, 41);
    po.Draw_Line(75, 10, 75, 15);
    po.Draw_Line(100, 10, 100, 15);

    // 5. Header row with the concrete strength and its raised "2".
    PrintAt(po, 23, 11, "柱名称");
    // The name's cell ends at the rule at 75.
    drawing::PrintFittedAt(po, 38, 11, text::FieldText(col.ColName), 75 - 38 - 1);
    PrintAt(po, 80, 11, "ｺﾝｸﾘｰﾄ強度");
    double squareX = 118;
    std::string unit = "kgf/cm";
    if (gSIDisp) {
        unit = "N/mm";
        squareX = std::fabs(col.Fc - std::floor(col.Fc)) > 0.1 ? 115.8 : 113.5;
    }
    PrintAt(po, 105, 11, FormatFc(col.Fc) + unit);
    po.setFontSize(6);
    PrintAt(po, squareX, 10.5, "2");
    po.setFontSize(8);

    // 6. Column data, 7. product row, 8. design conditions, 9. shear notes.
    ColumnData(po, iCol, col, sMode);
    ProductRow(po, iCol, col, sMode);
    if (!gPrNoDesignCond) DesignConditions(po, iCol, sMode);
    if (sMode) ShearNotes(po, iCol, col);
    po.setFontSize(8);

    // 10. Base figure, 11. stress table.
    BaseFigure(po, iCol, col, sMode);
    PrintStressTable(po, iCol);
    po.setFontSize(8);
    po.setForeColor(kBlack);

    // 12. Strength block, 13. page number, 14. footer.
    StrengthBlock(po, iCol, sMode);
    PrintPageMark(po, pageNo);
    Footer(po);
}

void RegisterCalcSheetPage()
{
    PageTable().calcSheet = [](drawing::clsPrintOut& po, int16_t column, int page) {
        PrintCalcSheetPage(po, column, page);
    };
}

}  // namespace reports
