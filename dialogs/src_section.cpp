#include "dialogs/src_section.h"

#include "model/format.h"
#include "platform/text/vb.h"

namespace srcdlg {

bool CalcSrcSteelSection(const model::ColumnDataTbl& col, decltype(model::ColumnDataTbl::SrcColSpec)& spec)
{
    const int16_t kind = col.ColV;
    if (kind < 3 || kind > 7) return false;
    const double H0 = col.SrcHDim(0, 1), B0 = col.SrcHDim(0, 2), tw0 = col.SrcHDim(0, 3), tf0 = col.SrcHDim(0, 4);
    const double H1 = col.SrcHDim(1, 1), B1 = col.SrcHDim(1, 2), tw1 = col.SrcHDim(1, 3), tf1 = col.SrcHDim(1, 4);
    const double cD0 = col.cD(0), cD1 = col.cD(1);
    const bool h = kind == 7;
    // Nothing divided by zero reaches the boxes, the record or the engine.
    if (!(H0 > 0) || !(cD0 * cD1 > 0) || (h ? !(B0 > 0) : !(H1 > 0))) return false;

    double sA = 0;
    if (kind == 3)
        sA = ((H0 - 2 * tf0) * tw0 + 2 * tf0 * B0 + 2 * B1 * tf1 + (H1 - 2 * tf1) * tw1 - tw0 * tw1) / 100;
    else if (h)
        sA = ((H0 - 2 * tf0) * tw0 + 2 * tf0 * B0) / 100;
    else
        sA = ((H0 - 2 * tf0) * tw0 + 2 * tf0 * B0 + B1 * tf1 + (H1 - tf1 - tw0 / 2) * tw1) / 100;

    const double web0 = H0 - 2 * tf0;
    spec(0, 0) = sA;
    spec(0, 1) = (H0 * H0 * H0 * B0 - web0 * web0 * web0 * (B0 - tw0)) / 6 / H0 / 1000;
    spec(0, 2) = (web0 * web0 * tw0 / 4 + (H0 - tf0) * tf0 * B0) / 1000;
    spec(0, 3) = tf0 * B0 / cD0 / cD1;
    spec(1, 0) = sA;
    if (h) {
        spec(1, 1) = (B0 * B0 * B0 * 2 * tf0 + tw0 * tw0 * tw0 * web0) / 6 / B0 / 1000;
        spec(1, 2) = (B0 * B0 * tf0 * 0.5 + tw0 * tw0 * web0 * 0.25) / 1000;
        spec(1, 3) = tf0 * B0 / cD0 / cD1;
    } else {
        const double web1 = H1 - 2 * tf1;
        spec(1, 1) = (H1 * H1 * H1 * B1 - web1 * web1 * web1 * (B1 - tw1)) / 6 / H1 / 1000;
        spec(1, 2) = (web1 * web1 * tw1 / 4 + B1 * tf1 * (H1 - tf1)) / 1000;
        spec(1, 3) = B1 * tf1 / cD0 / cD1;
    }
    return true;
}

int CrossTieBars(const model::ColumnDataTbl& col, int d)
{
    const int other = 1 - d;
    return (col.RtN(other) - 2) * 2 - col.RTensN(d) - col.RmN(d);
}

std::string RatioText(double ratio) { return vb::Trim(vb::Format(ratio, "0.000")); }

bool RatioOK(double ratio, double limit) { return !(ratio < limit); }

std::string LimitText(double tCrit)
{
    return model::SrcLimitForceText(-tCrit);
}

std::string LimitLine(bool siDisplay, double tCritX, double tCritY)
{
    return std::string(siDisplay ? "(kN)    X " : "(tf)    X ") + LimitText(tCritX) + "   Y " + LimitText(tCritY);
}

}  // namespace srcdlg
