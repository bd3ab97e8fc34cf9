#include "engine/loader.h"

#include "engine/kverror.h"
#include "platform/store/store.h"
#include "platform/text/native_path.h"
#include "platform/text/vb.h"

#include <cmath>
#include <cstdint>

namespace kv {
namespace {

constexpr double kPi = 3.141592;  // the catalogue's areas are worked with this value

store::Database OpenCatalogue(const KvState& s) { return s.Link.connection(s.DataFilePath, s.DataFileName, s.PW); }

// First row of a query, or the store's "no current record" error.
// modelId: the model the row belongs to; modelRow: the row is the model's own.
store::Recordset FirstRow(store::Database& db, const std::string& sql, long modelId, bool modelRow = false) {
    auto rs = db.openRecordset(sql);
    if (rs.eof()) throw MissingRow(modelId, modelRow, sql);
    return rs;
}

// Numbers in queries: the ID of the model look-ups keeps the leading blank of
// the number-to-text conversion, every other key is trimmed.
std::string Key(double v) { return vb::Trim(vb::Str(v)); }

// The whole part of a catalogue number, when it is one a long can hold.
bool WholePart(double v, long& whole) {
    const double t = vb::Fix(v);
    if (!(t > -2147483648.0 && t < 2147483648.0)) return false;
    whole = static_cast<long>(t);
    return true;
}

// Effective-area factor of the bolts of series 4, 5 and 6 by whole diameter.
bool AreaFactor(int16_t series, double abD, double& factor) {
    long d = 0;
    if (!WholePart(abD, d))
        Fail(vb::kErrTypeMismatch, "Type mismatch: the catalogue's bolt diameter (" + vb::CStr(abD) + ") is no usable number");
    struct Row {
        long d;
        double f;
    };
    static constexpr Row kCommon[] = {{24, 0.77}, {30, 0.79}, {36, 0.80}, {42, 0.80}};
    static constexpr Row kLarge[] = {{48, 0.81}, {56, 0.82}, {64, 0.83}, {72, 0.84}};
    for (const auto& r : kCommon) {
        if (r.d == d && (series != 6 || d != 42)) {
            factor = r.f;
            return true;
        }
    }
    if (series == 5) {
        for (const auto& r : kLarge) {
            if (r.d == d) {
                factor = r.f;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

std::string CataloguePath(const KvState& s) {
    return text::ToNativePath(s.DataFilePath + s.DataFileName);
}

double RoundHalf(double x) {
    const double y = x / 10;
    const double sign = y > 0 ? 1.0 : (y < 0 ? -1.0 : 0.0);
    const double a = std::fabs(y);
    const double i = std::trunc(a);
    double r = i;
    if (a - i > 0.59) {
        r = i + 1;
    } else if (a - i > 0.09) {
        r = i + 0.5;
    }
    return sign * r * 10;
}

double PickPitchMode(double a, double b, double c, std::string& label) {
    if (a >= b && a >= c) {
        label = "(A)";
        return a;
    }
    if (b >= a && b >= c) {
        label = "(B)";
        return b;
    }
    label = "(C)";
    return c;
}

double GetBoltArea(const KvState& s, double designation) {
    const std::string t = vb::Trim(vb::Format(designation, "####"));
    if (t.empty()) Fail(kErrCatalogue, "The catalogue gives no bolt designation (diameter 0)");
    auto db = OpenCatalogue(s);
    auto rs = FirstRow(db, "SELECT AB断面積.断面積 From AB断面積 WHERE (((AB断面積.呼び名)=" + t + "));", s.KolvanID);
    return rs.number(0);
}

void ReadBoltPitch(const KvState& s, const KvDataTblC& rec, double& pitchX, double& pitchY, std::string& labelX,
                   std::string& labelY) {
    labelX.clear();
    labelY.clear();
    if (rec.KvV == 0) {
        {
            auto db = OpenCatalogue(s);
            auto rs = FirstRow(db,
                               "SELECT DISTINCTROW 柱脚.EX1,柱脚.EY1,柱脚.EX2,柱脚.EY2,柱脚.EX3,柱脚.EY3,柱脚.EX4,柱脚.EY4 "
                               "From 柱脚 WHERE ((柱脚.ID)=" + vb::Str(rec.ID) + ")", rec.ID);
            const int p = 2 * (rec.AbNum - 1);
            pitchX = rs.number(p);
            pitchY = rs.number(p + 1);
        }
        if (std::fabs(pitchX) >= 0.001) return;

        // No pitch in the catalogue: the largest of three rules.
        double g = 0;
        long whole = -1;
        if (rec.AbD != std::trunc(rec.AbD) || !WholePart(rec.AbD, whole)) whole = -1;
        switch (whole) {
        case 24: g = 70; break;
        case 27: g = 80; break;
        case 30: g = 90; break;
        case 36: g = 100; break;
        case 42: g = 120; break;
        case 48: g = 140; break;
        case 56: g = 160; break;
        case 64: g = 180; break;
        case 72: g = 200; break;
        default: g = 0; break;
        }
        const double base = (g / 2 + 15) / std::sqrt(2.0) + 83;
        const double aX = base - (rec.KvLen(0, 1) - rec.KvLen(0, 3)) / 2;
        const double aY = base - (rec.KvLen(0, 2) - rec.KvLen(0, 4)) / 2;
        std::string dropped;
        const double b = 0.065 * PickPitchMode(rec.KvLen(0, 1), rec.KvLen(0, 2), -9999, dropped);
        pitchX = vb::Fix(RoundHalf(PickPitchMode(aX, b, 30, labelX)));
        pitchY = vb::Fix(RoundHalf(PickPitchMode(aY, b, 30, labelY)));
    } else if (rec.KvV == 2) {
        auto db = OpenCatalogue(s);
        auto rs = FirstRow(db, "SELECT DISTINCTROW 柱脚.EX1,柱脚.EY1 From 柱脚 WHERE ((柱脚.ID)=" + vb::Str(rec.ID) + ")",
                           rec.ID);
        pitchX = rs.number(0);
        pitchY = rs.number(1);
    }
}

namespace {

// Everything is read into a record of its own, committed by the caller, so a
// failed load never mixes the new model with the old one's shear data. What a
// series does not read starts at zero, as on a new engine: the record is the
// model's alone, whichever model was loaded before. No check reads those
// values for the series that leaves them.
CatalogueLink::Model ReadModel(const KvState& s) {
    CatalogueLink::Model m;
    KvDataTblC& rec = m.rec;
    LumoQuTbl& lumo = m.lumo;
    BoltQuTbl& bolt = m.bolt;
    vb::Array<double, 0, 2>& slabP = m.slabP;
    int16_t& abNum = m.abNum;
    int16_t& abCount = m.abCount;
    abNum = s.AbNum;
    const double f = s.SIFactor;

    {
        auto db = OpenCatalogue(s);
        auto rs = FirstRow(db,
                           "SELECT DISTINCTROW 柱脚.形式名,柱脚.KvV,柱脚.A,柱脚.B,柱脚.Dt1_1,柱脚.Dt1_2,柱脚.Dt2_1,柱脚.Dt2_2"
                           ",柱脚.ex,柱脚.ey,柱脚.t2,柱脚.H,柱脚.重量,柱脚.AbV,柱脚.AbN,柱脚.AbCount"
                           ",柱脚.AB径1,柱脚.KbsX1,柱脚.KbsY1,柱脚.KbsX1SI,柱脚.KbsY1SI,柱脚.部品重量1"
                           ",柱脚.AB径2,柱脚.KbsX2,柱脚.KbsY2,柱脚.KbsX2SI,柱脚.KbsY2SI,柱脚.部品重量2"
                           ",柱脚.AB径3,柱脚.KbsX3,柱脚.KbsY3,柱脚.KbsX3SI,柱脚.KbsY3SI,柱脚.部品重量3"
                           ",柱脚.AB径4,柱脚.KbsX4,柱脚.KbsY4,柱脚.KbsX4SI,柱脚.KbsY4SI,柱脚.部品重量4"
                           ",柱脚.t1,柱脚.t3,柱脚.t4,柱脚.E,柱脚.F,柱脚.W,柱脚.G"
                           ",柱脚.eAx1,柱脚.eAx2,柱脚.eAy1,柱脚.eAy2,柱脚.L_tf1,柱脚.L_lf,柱脚.L_tf2"
                           ",柱脚.L_y1,柱脚.L_y2,柱脚.L_y3,柱脚.L_l1,柱脚.ColSize,柱脚.C,柱脚.bb"
                           " From 柱脚 WHERE ((柱脚.ID)=" + vb::Str(s.KolvanID) + ")", s.KolvanID, true);
        rec.ID = s.KolvanID;
        const auto i16 = [&](int pos) { return static_cast<int16_t>(rs.integer(pos, INT16_MIN, INT16_MAX)); };
        abCount = i16(15);
        if (abNum > abCount) abNum = abCount;
        if (abNum < 1) Fail(kErrCatalogue, "The catalogue model " + std::to_string(s.KolvanID) + " has no anchor-bolt variant");
        rec.AbNum = abNum;

        m.kvName = rs.text(0);
        rec.KvV = i16(1);
        for (int k = 1; k <= 6; ++k) rec.KvLen(0, k) = rs.number(1 + k);
        rec.KvLen(1, 1) = rec.KvLen(0, 2);
        rec.KvLen(1, 2) = rec.KvLen(0, 1);
        rec.KvLen(1, 3) = rec.KvLen(0, 4);
        rec.KvLen(1, 4) = rec.KvLen(0, 3);
        rec.KvLen(1, 5) = rec.KvLen(0, 6);
        rec.KvLen(1, 6) = rec.KvLen(0, 5);
        rec.HenshinE(0) = rs.number(8);
        rec.HenshinE(1) = rs.number(9);
        rec.KvT(2) = rs.number(10);
        rec.KvH = rs.number(11);
        rec.KvWeight = rs.number(12);
        rec.AbV = i16(13);
        // Only arrangements 0 and 1 have formulas; anything else would leave the
        // bolt tension of an earlier model in place.
        if (rec.AbV != 0 && rec.AbV != 1)
            Fail(kErrCatalogue, "The catalogue model " + std::to_string(s.KolvanID) + " has an unknown anchor-bolt arrangement (" +
                                    std::to_string(rec.AbV) + ")");
        rec.AbN = i16(14);

        const int p = 6 * abNum + 10;
        rec.AbD = rs.number(p);
        rec.Kbs(0) = rs.number(p + 1);
        rec.Kbs(1) = rs.number(p + 2);
        rec.KbsSI(0) = rs.number(p + 3);
        rec.KbsSI(1) = rs.number(p + 4);
        rec.PartsWeight = rs.number(p + 5);

        rec.KvT(1) = rs.number(40);
        rec.KvT(3) = rs.number(41);
        rec.KvT(4) = rs.number(42);
        rec.LenE = rs.number(43);
        rec.LenF = rs.number(44);
        rec.LenW = rs.number(45);
        rec.LenG = rs.number(46);
        rec.eAx1 = rs.number(47);
        rec.eAx2 = rs.number(48);
        rec.eAy1 = rs.number(49);
        rec.eAy2 = rs.number(50);
        rec.L_tf1 = rs.number(51);
        rec.L_lf = rs.number(52);
        rec.L_tf2 = rs.number(53);
        rec.L_y1 = rs.number(54);
        rec.L_y2 = rs.number(55);
        rec.L_y3 = rs.number(56);
        rec.L_l1 = rs.number(57);
        rec.ColSize = rs.number(58);
        rec.KvLenC_SV(0) = rs.number(59);
        rec.KvLenC_SV(1) = rec.KvLenC_SV(0);
        rec.bb_SV = rs.number(60);
    }

    rec.NAlpha = 0.4;
    const bool same = std::fabs(rec.KvLen(0, 1) - rec.KvLen(0, 2)) <= 0.01 &&
                      std::fabs(rec.HenshinE(0) - rec.HenshinE(1)) <= 0.01;
    rec.RotateMode = same ? 0 : -1;
    rec.AbA = rec.AbD > 1000 ? GetBoltArea(s, rec.AbD) : (rec.AbD / 10) * (rec.AbD / 10) / 4 * kPi;

    const std::string id = Key(rec.ID);
    const std::string d = Key(rec.AbD);
    const auto readShear = [&](store::Recordset& rs) {
        lumo.L1 = Div(rs.number(1), f);
        lumo.l2 = Div(rs.number(0), f);
        lumo.a1 = Div(rs.number(3), f);
        lumo.a2 = Div(rs.number(2), f);
        lumo.u1 = Div(rs.number(5), f);
        lumo.u2 = Div(rs.number(4), f);
        rec.NAlpha = rs.number(6);
        rec.L1 = rs.number(7);
    };
    const std::string whereBracket = " FROM [KvData] WHERE (([KvData].[ID]= " + id + " ) and ([KvData].[AbD]= " + d + " ))";
    const auto readFormF = [&] {
        auto db = OpenCatalogue(s);
        auto rs = FirstRow(db,
                           "SELECT DISTINCTROW [KvData].[Ql1],[KvData].[Ql2],[KvData].[Qa1],[KvData].[Qa2]"
                           ",[KvData].[Qu1],[KvData].[Qu2],[KvData].[NAlpha],[KvData].[L1],[KvData].[L_C]"
                           ",[KvData].[Pal],[KvData].[Pas],[KvData].[Pu]" + whereBracket, rec.ID);
        readShear(rs);
        rec.L_C = rs.number(8);
        slabP(2) = rs.number(9);
        slabP(1) = rs.number(10);
        slabP(0) = rs.number(11);
    };

    if (rec.KvV >= 4 && rec.KvV <= 6) {
        double factor = 0;
        if (!AreaFactor(rec.KvV, rec.AbD, factor))
            Fail(kErrCatalogue, "The catalogue model " + std::to_string(rec.ID) + " of series " + std::to_string(rec.KvV) +
                                    " has a bolt diameter (" + d + ") without an effective-area factor");
        rec.AbF = 5.0;
        rec.AbAe = factor * rec.AbA;
    }

    switch (rec.KvV) {
    case 0:
        rec.AbF = 2.8;
        rec.AbAe = 0.75 * rec.AbA;
        break;
    case 1: {
        rec.AbF = 5.0;
        rec.AbAe = 0.75 * rec.AbA;
        auto db = OpenCatalogue(s);
        auto rs = FirstRow(db, "SELECT DISTINCTROW [KvData].[L1]" + whereBracket, rec.ID);
        rec.L1 = rs.number(0);
        break;
    }
    case 2:
        rec.AbF = 5.0;
        rec.AbAe = rec.AbA;
        break;
    case 3:
        rec.AbF = rec.AbD > 40 ? 3.5 : 3.8;
        rec.AbAe = GetBoltArea(s, rec.AbD);
        break;
    case 4:
        readFormF();
        break;
    case 5: {
        auto db = OpenCatalogue(s);
        auto rs = FirstRow(db,
                           "SELECT DISTINCTROW KvData.Ql1, KvData.Ql2, KvData.Qa1, KvData.Qa2, KvData.Qu1, KvData.Qu2"
                           ", KvData.NAlpha,Kvdata.L1 From KvData WHERE ((KvData.ID)=" + id + " AND ((KvData.AbD) =" + d + "))",
                           rec.ID);
        readShear(rs);
        break;
    }
    case 6: {
        readFormF();
        auto db = OpenCatalogue(s);
        auto rs = FirstRow(db, "SELECT DISTINCTROW [Ta_SV].[lTa],[Ta_SV].[sTa],[Ta_SV].[Tu] FROM [Ta_SV] WHERE ([Ta_SV].[D]= " + d + ")",
                           rec.ID);
        rec.Tu(0) = Div(rs.number("Tu"), f);
        rec.Tu(1) = Div(rs.number("sTa"), f);
        rec.Tu(2) = Div(rs.number("lTa"), f);
        break;
    }
    default:
        break;
    }

    ReadBoltPitch(s, rec, rec.EXY(0), rec.EXY(1), m.label0, m.label1);

    if (rec.KvV != 2) {
        auto db = OpenCatalogue(s);
        auto rs = FirstRow(db, "SELECT DISTINCTROW ABolt.bQl,ABolt.bQa,ABolt.bQu,ABolt.beta FROM ABolt WHERE (ABolt.AbD= " + d + " )",
                           rec.ID);
        bolt.bQ(2) = rs.number(0);
        bolt.bQ(1) = rs.number(1);
        bolt.bQ(0) = rs.number(2);
        bolt.beta = rs.number(3);
    }

    return m;
}

}  // namespace

void LoadCatalogue(KvState& s) {
    if (s.AbNum < 1)
        Fail(kErrCatalogue, "Anchor-bolt variant " + std::to_string(s.AbNum) + " does not exist (variants start at 1)");

    // A load depends on the model, the variant and the factor alone: one
    // read already made through the kept connection stands for another.
    const CatalogueLink::Model* m =
        s.Link.holds(s.DataFilePath, s.DataFileName, s.PW) ? s.Link.model(s.KolvanID, s.AbNum, s.SIFactor) : nullptr;
    CatalogueLink::Model read;
    if (!m) {
        read = ReadModel(s);
        s.Link.keepModel(s.KolvanID, s.AbNum, s.SIFactor, read);
        m = &read;
    }
    s.KvData = m->rec;
    s.AbNum = m->abNum;
    s.AbCount = m->abCount;
    s.KvName = m->kvName;
    s.EXYMode0 = m->label0;
    s.EXYMode1 = m->label1;
    s.LumoQu = m->lumo;
    s.BoltQu = m->bolt;
    s.SlabP = m->slabP;
}

}  // namespace kv
