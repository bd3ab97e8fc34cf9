#include "model/direction.h"

#include "model/globals.h"

#include <cmath>

namespace model {

int16_t CalcKvDirection(const KvBaseTbl& kvb, const ColumnDataTbl& col)
{
    if (kvb.RotateMode == kFalse && col.ColXYDiffer == kFalse) return 0;
    const int16_t shown = gDispMode == 0 ? 0 : 1;
    return col.KvRotate == 0 ? shown : static_cast<int16_t>(1 - shown);
}

int16_t GetKvDirection(int16_t& iCol)
{
    if (iCol == 999) iCol = gCurCol;
    return CalcKvDirection(gKvBase(iCol), gColumns(iCol));
}

double SafeRatio(double x, double y)
{
    if (y == 0) return 0;
    const double r = std::fabs(x / y);
    return std::isfinite(r) ? r : 0;
}

std::string GetSteelMaterialName(int16_t code)
{
    switch (code) {
    case 0: return "BCR295";
    case 1: return "BCP235";
    case 2: return "BCP325";
    case 3: return "STKR400";
    case 4: return "STKR490";
    case 5: return "STKN400(STK400)";
    case 6: return "STKN490(STK490)";
    case 7: return "SS400";
    case 8: return "SM490";
    case 9: return "SN400";
    case 10: return "SN490";
    case 101: return "F=295N/mm2";
    case 102: return "F=235N/mm2";
    case 103: return "F=325N/mm2";
    default: return "NG";
    }
}

}  // namespace model
