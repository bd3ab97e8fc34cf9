#include "engine/kverror.h"
#include "engine/loader.h"
#include "engine/smode.h"
#include "platform/store/store.h"
#include "platform/text/vb.h"

#include <cmath>

namespace kv {
namespace {

// Pedestal widths from the catalogue's rebar sets: the smallest size above
// 1 mm, or 100000 when there is none. Direction 0 looks along Y. Every check
// that is sent a width of 0 asks again, so the sizes of one model and bolt
// diameter are kept with the connection after the first read.
void ReadPedestalWidths(KvState& s) {
    const auto& k = s.KvData;
    auto db = s.Link.connection(s.DataFilePath, s.DataFileName, s.PW);
    CatalogueLink::Widths rc{};
    if (const auto* kept = s.Link.widths(k.ID, k.AbD)) {
        rc = *kept;
    } else {
        const std::string sql = "SELECT DISTINCTROW [KvData].[RcX1],[KvData].[RcY1]"
                                ",[KvData].[RcX2],[KvData].[RcY2]"
                                ",[KvData].[RcX3],[KvData].[RcY3]"
                                ",[KvData].[RcX4],[KvData].[RcY4]"
                                " FROM [KvData]"
                                " WHERE (([KvData].[ID]= " +
                                vb::Trim(vb::Str(k.ID)) + " ) and ([KvData].[AbD]= " + vb::Trim(vb::Str(k.AbD)) + " ))";
        auto rs = db.openRecordset(sql);
        if (rs.eof()) throw MissingRow(k.ID, false, sql);
        for (int i = 0; i < 4; ++i) {
            rc[static_cast<std::size_t>(i)] = rs.number("RcX" + std::to_string(i + 1));
            rc[static_cast<std::size_t>(i + 4)] = rs.number("RcY" + std::to_string(i + 1));
        }
        s.Link.keepWidths(k.ID, k.AbD, rc);
    }
    const double* rcX = rc.data();
    const double* rcY = rc.data() + 4;
    s.SlabQ_B2X = 100000;
    s.SlabQ_B2Y = 100000;
    if (s.Direction != 0 && s.Direction != 1) return;
    for (int i = 0; i < 4; ++i) {
        const double toX = s.Direction == 0 ? rcY[i] : rcX[i];
        const double toY = s.Direction == 0 ? rcX[i] : rcY[i];
        if (toX > 1 && toX < s.SlabQ_B2X) s.SlabQ_B2X = toX;
        if (toY > 1 && toY < s.SlabQ_B2Y) s.SlabQ_B2Y = toY;
    }
}

}  // namespace

double CalcSlabQ(KvState& s) {
    const auto& k = s.KvData;
    const int state = s.Condition;
    if (k.KvV == 6) {
        switch (state) {
        case 0: return s.LumoQu.u1;
        case 1: return s.LumoQu.a1;
        case 2: return s.LumoQu.L1;
        default: return 0;
        }
    }
    if (k.KvV != 1 && k.KvV != 4 && k.KvV != 5) return 0;

    if (std::fabs(s.SlabQ_B2X) < 0.01 || std::fabs(s.SlabQ_B2Y) < 0.01) ReadPedestalWidths(s);
    if (std::fabs(s.SlabQ_d2) < 0.01) s.SlabQ_d2 = k.KvV == 4 ? k.L_C : RoundHalf(k.L1 + 50);
    const double d2 = s.SlabQ_d2;
    double d1 = d2 - k.KvT(2);
    if (d1 < 0) d1 = 1;
    s.SlabQ_d1 = d1;

    double Qs = 0;
    if (s.Direction == 0 || s.Direction == 1) {
        const double B1 = s.Direction == 0 ? s.SlabQ_B1X : s.SlabQ_B1Y;
        const double B2 = s.Direction == 0 ? s.SlabQ_B2X : s.SlabQ_B2Y;
        if (!(B1 > 0) || !(B2 > 0))
            Fail(vb::kErrInvalidCall, "Slab widths must be positive (B1 " + vb::CStr(B1) + " mm, B2 " + vb::CStr(B2) + " mm)");
        if (d2 < 0) Fail(vb::kErrInvalidCall, "Slab embedment depth must not be negative (" + vb::CStr(d2) + " mm)");
        if (d1 == 0)
            Fail(vb::kErrDivByZero, "Slab embedment depth equals the base plate thickness; no slab depth below the plate");
        Qs = Sqrt(Div(B2 * d2, B1 * d1)) * s.SlabFc * B1 * d1 / 1000;
    }

    // Margin value of the state; the first difference wins a tie.
    const double mX = s.SlabQ_B2X - s.SlabQ_B1X;
    const double mY = s.SlabQ_B2Y - s.SlabQ_B1Y;
    const double m = mY < mX ? mY : mX;
    double kk = 0;
    double share = 0;
    switch (state) {
    case 0:
        kk = 1.0 / 10;
        share = 0.9;
        break;
    case 1:
        kk = 2.0 / 30;
        share = 2.0 / 3;
        break;
    case 2:
        kk = 1.0 / 30;
        share = 1.0 / 3;
        break;
    default: break;
    }
    const double unit = s.SIFlag ? s.SIFactor : 100;
    const double P = kk * s.SlabFc * m * 7 / 8 * (d2 + 50) / 1000;
    s.SlabP(state) = Div(P, unit);
    return Div(share * Qs, unit);
}

}  // namespace kv
