#include "model/stress.h"

#include "model/globals.h"

namespace model {

namespace {

struct RowColumns {
    long LT, E1, E2, W1, W2, SN, T1, T2, U1, U2;
};

constexpr RowColumns kColumnsX{1, 3, 4, 7, 8, 11, 13, 14, 15, 16};
constexpr RowColumns kColumnsY{2, 5, 6, 9, 10, 12, 19, 20, 17, 18};

}  // namespace

void BuildDesignStressTable(DesignTable& des, const LoadTable& load, int16_t k)
{
    if (k < 1 || k > 6) return;
    const bool rowX = k <= 3;
    const RowColumns& c = rowX ? kColumnsX : kColumnsY;
    const double gamma = rowX ? gCond.GammaX : gCond.GammaY;
    const bool sym = (rowX ? gCond.SymmetryX : gCond.SymmetryY) != kFalse;
    auto v = [&](long col) { return load(k, col); };
    const bool heavySnow = gCond.SCondition == 2;
    const double s = heavySnow ? gCond.Alpha2 * v(c.SN) : 0.0;

    des(k, 1) = heavySnow ? gCond.Alpha1 * v(c.SN) + v(c.LT) : v(c.LT);

    switch (gShortLoadKind) {
    case 0:
        des(k, 2) = v(c.E1);
        des(k, 3) = v(c.E2);
        break;
    case 1:
        des(k, 2) = v(c.W1);
        des(k, 3) = v(c.W2);
        break;
    case 2:
        des(k, 2) = v(c.SN);
        des(k, 3) = 0;
        break;
    default:
        break;
    }

    if (gCond.ShortCalcMode == 1) {
        des(k, 4) = v(c.T1);
        des(k, 5) = v(c.T2);
    } else if (gCond.ShortCalcMode == 0) {
        if (gShortLoadKind == 0 || gShortLoadKind == 1) {
            const long l1 = gShortLoadKind == 0 ? c.E1 : c.W1;
            const long l2 = gShortLoadKind == 0 ? c.E2 : c.W2;
            des(k, 4) = s + v(c.LT) + v(l1);
            des(k, 5) = sym ? s + v(c.LT) - v(l1) : s + v(c.LT) + v(l2);
        } else if (gShortLoadKind == 2) {
            des(k, 4) = v(c.SN) + v(c.LT);
            des(k, 5) = 0;
        }
    }

    if (gCond.UltCalcMode == 1) {
        des(k, 6) = v(c.U1);
        des(k, 7) = v(c.U2);
    } else if (gCond.UltCalcMode == 0) {
        const bool axialRow = k == 1 || k == 4;
        const double b = (gCond.UltMQMode != kFalse || axialRow) ? s + v(c.LT) : s;
        des(k, 6) = b + gamma * v(c.E1);
        des(k, 7) = sym ? b - gamma * v(c.E1) : b + gamma * v(c.E2);
    }
}

void BuildCurrentDesignStresses()
{
    BuildDesignStresses(gCurCol);
}

void BuildDesignStresses(int16_t iCol)
{
    DesignTable& des = gResults(iCol).DesignStress;
    const LoadTable& load = gColumns(iCol).LoadTbl;
    for (int16_t k = 1; k <= 6; ++k) BuildDesignStressTable(des, load, k);
}

void MapImportedStresses(LoadTable& dst, const OldStressTable& src)
{
    for (long i = 1; i <= 6; ++i) {
        const bool rowX = i <= 3;
        dst(i, rowX ? 1 : 2) = src(i, 1);
        dst(i, rowX ? 3 : 5) = src(i, 2);
        dst(i, rowX ? 4 : 6) = -src(i, 2);
        dst(i, rowX ? 13 : 19) = src(i, 3);
        dst(i, rowX ? 14 : 20) = src(i, 4);
        dst(i, rowX ? 15 : 17) = src(i, 5);
        dst(i, rowX ? 16 : 18) = src(i, 6);
    }
}

void ClearStressTable(LoadTable& t)
{
    t.fill(0);
}

}  // namespace model
