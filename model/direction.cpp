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

int16_t EngineDirection(const KvBaseTbl& kvb, const ColumnDataTbl& col, int16_t d)
{
    if (kvb.RotateMode == kFalse) return 0;
    return col.KvRotate == 0 ? d : static_cast<int16_t>(1 - d);
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

}  // namespace model
