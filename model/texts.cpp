#include "model/texts.h"

#include "model/direction.h"
#include "model/sections.h"
#include "model/format.h"
#include "model/globals.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"

#include <utility>

namespace model {

namespace {

std::string FV(double x, int16_t n) { return FormatValue(x, n); }
std::string FS(double x, int16_t n) { return FormatSignificant(x, n); }

std::string Dims(const ColumnDataTbl& col, long k)
{
    return FV(col.SrcHDim(k, 1), -1) + "×" + FV(col.SrcHDim(k, 2), -1) + "×" + FV(col.SrcHDim(k, 3), -1) + "×" +
           FV(col.SrcHDim(k, 4), -1);
}

}  // namespace

std::string GetKvDisplayName(const KvBaseTbl& kvb) { return GetKvModelText(kvb, 49); }

std::string GetKvModelText(const KvBaseTbl& kvb, long nameChars)
{
    switch (kvb.KvV) {
    case 0:
    case 1:
    case 5:
        return vb::Trim(text::Left(kvb.KvName.value(), nameChars)) + "-" + vb::Trim(FV(kvb.AbD, -1));
    case 2:
    case 4:
    case 6:
        return vb::Trim(kvb.KvName.value());
    default:
        return {};
    }
}

std::string GetKvNameByIndex(int16_t iCol)
{
    return GetKvDisplayName(gKvBase(iCol));
}

std::string GetColumnSectionText(int16_t& iCol, std::string& main, std::string& second, std::string& material)
{
    main.clear();
    second.clear();
    material.clear();
    const long d = GetKvDirection(iCol);
    const long e = d == 0 ? 1 : 0;
    const ColumnDataTbl& col = gColumns(iCol);
    switch (col.ColV) {
    case 0:
        main = "□" + FV(col.ColSize, -1) + "×" + FV(col.ColSize, -1) + "-" + FV(col.ColT, -1);
        break;
    case 1:
        main = "φ" + FV(col.ColSize, -1) + "-" + FV(col.ColT, -1);
        break;
    case 2:
        main = "H" + FV(col.HDim(1), -1) + "×" + FV(col.HDim(2), -1) + "×" + FV(col.HDim(3), -1) + "×" +
               FV(col.HDim(4), -1);
        break;
    case 3:
        main = "H" + Dims(col, d);
        second = "H" + Dims(col, e);
        break;
    case 4:
    case 5:
    case 6:
        main = "H" + Dims(col, 0);
        second = "T" + Dims(col, 1);
        if (col.KvRotate == 1) std::swap(main, second);
        break;
    case 7:
        main = "H" + Dims(col, 0);
        break;
    default:
        break;
    }
    if (col.ColV >= 0 && col.ColV <= 7) material = GetSteelMaterialName(col.ColMatCode);

    std::string all = main;
    if (!second.empty()) all += "+ " + second;
    if (!material.empty()) all += "(" + material + ")";
    return all;
}

void GetSectionPropertyTexts(int16_t& iCol, std::span<std::string> texts)
{
    if (texts.size() < 7) vb::ThrowSubscript(static_cast<long>(texts.size()), 0, 6);
    if (gCond.SMode != kFalse) {
        const ColumnDataTbl& col = gColumns(iCol);
        double v[5];
        for (long k = 0; k <= 4; ++k) v[k] = col.ColSpecUser(k) >= 0.001 ? col.ColSpecUser(k) : col.ColSpec(k);
        texts[0] = "A=" + FS(v[0], 4) + "(cm2)";
        if (col.ColXYDiffer != kFalse) {
            if (col.KvRotate == 1) {
                std::swap(v[1], v[3]);
                std::swap(v[2], v[4]);
            }
            texts[1] = "Zx=" + FS(v[1], 3) + "(cm3)";
            texts[2] = "Zpx=" + FS(v[2], 3) + "(cm3)";
            texts[3] = "Zy=" + FS(v[3], 3) + "(cm3)";
            texts[4] = "Zpy=" + FS(v[4], 3) + "(cm3)";
        } else {
            texts[1] = "Z=" + FS(v[1], 3) + "(cm3)";
            texts[2] = "Zp=" + FS(v[2], 3) + "(cm3)";
            texts[3].clear();
            texts[4].clear();
        }
        texts[5].clear();
        texts[6].clear();
        return;
    }
    const long d = GetKvDirection(iCol);
    const long e = d == 0 ? 1 : 0;
    const ColumnDataTbl& col = gColumns(iCol);
    texts[0] = "A=" + FS(col.SrcColSpec(d, 0), 4) + "(cm2)";
    texts[1] = "Zx=" + FS(col.SrcColSpec(d, 1), 3) + "(cm3)";
    texts[2] = "Zpx=" + FS(col.SrcColSpec(d, 2), 3) + "(cm3)";
    texts[3] = "Zy=" + FS(col.SrcColSpec(e, 1), 3) + "(cm3)";
    texts[4] = "Zpy=" + FS(col.SrcColSpec(e, 2), 3) + "(cm3)";
    texts[5] = "spcx=" + FV(col.SrcColSpec(d, 3), 5);
    texts[6] = "spcy=" + FV(col.SrcColSpec(e, 3), 5);
}

std::string GetKbsText(int16_t iCol)
{
    const KvBaseTbl& kvb = gKvBase(iCol);
    const std::string label = gSIDisp ? "Kbs(×10^3kN･m/rad) : " : "Kbs(×10^3tf･m/rad) : ";
    const auto& k = gSIDisp ? kvb.KbsSI : kvb.Kbs;
    if (kvb.RotateMode == kFalse) return label + FS(k(0), 3);
    const bool turned = gColumns(iCol).KvRotate != 0;
    const double x = turned ? k(1) : k(0);
    const double y = turned ? k(0) : k(1);
    return label + "X=" + FS(x, 3) + "   Y=" + FS(y, 3);
}

}  // namespace model
