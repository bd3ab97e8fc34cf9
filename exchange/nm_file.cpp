#include "exchange/nm_file.h"

#include "engine/kv.h"
#include "model/failure.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/project_file.h"
#include "model/rebar_zone.h"
#include "model/save_choice.h"
#include "model/texts.h"
#include "platform/text/cp932.h"
#include "platform/text/native_path.h"
#include "platform/text/vb.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace exchange {

using namespace model;

namespace {

std::string TwoDecimals(double v) { return FormatValue(v, 2); }

// A blank before a number that is not negative.
std::string Signed(double v) { return (v >= 0 ? " " : "") + vb::CStr(v); }
std::string Printed(double v) { return Signed(v) + " "; }

class Writer {
public:
    Writer(drawing::NMEngine& engine, const NMFileChoices& choices, const RankOf& rankOf, int16_t n)
        : kv_(engine), choices_(choices), rankOf_(rankOf), n_(n),
          unitLine_(gSIDisp ? "  N(kN),  M(kN･m)" : "  N(tf),  M(tf･m)")
    {
    }

    std::string run()
    {
        for (long i = 1; i <= gCond.ColCount; ++i) {
            if (static_cast<std::size_t>(i) > choices_.lvwColumn.size() || !choices_.lvwColumn[i - 1]) continue;
            column(static_cast<int16_t>(i));
        }
        return text::ToCp932(out_);
    }

private:
    void line(const std::string& s)
    {
        out_ += s;
        out_ += "\r\n";
    }
    void point(double n, double m) { line(TwoDecimals(n) + "," + TwoDecimals(m)); }
    void end(double n) { line(TwoDecimals(n) + ",0.00"); }

    void column(int16_t i)
    {
        const ColumnDataTbl& col = gColumns(i);
        const KvBaseTbl& kvb = gKvBase(i);
        const bool sMode = gCond.SMode != kFalse;
        const int16_t dx = static_cast<int16_t>(col.KvDir % 2);
        const int16_t dy = dx == 0 ? 1 : 0;

        kv_.setBaseInputs(col);
        const kv::KvDataTblC data = kv_.KvData();
        line("☆- " + vb::Trim(col.ColName.value()) + "  " + GetKvNameByIndex(i) + " -☆");
        line("コルヴァン,底面," + Printed(data.KvLen(dx, 1)) + ",×," + Printed(data.KvLen(dx, 2)));
        line(",ABﾋﾟｯﾁ," + Printed(data.KvLen(dx, 3)) + "," + Printed(data.KvLen(dx, 5)) + ",×," +
             Printed(data.KvLen(dx, 4)) + "," + Printed(data.KvLen(dx, 6)));
        if (sMode)
            springLine(kvb, dx, dy);
        else
            srcHeader(i, col, dx, dy);

        static const char* const headings[] = {"-- 終局時のN-M関係　--", "-- 短期時のN-M関係　--",
                                               "-- 長期時のN-M関係　--"};
        const bool twoPasses = kvb.RotateMode != kFalse;
        for (int16_t state = 2; state >= 0; --state) {
            if (!choices_.chkDrawNMMode[static_cast<std::size_t>(state)]) continue;
            line(headings[state]);
            kv_.setCondition(state);
            for (int pass = 0; pass < (twoPasses ? 2 : 1); ++pass) {
                const int16_t d = pass == 0 ? dx : dy;
                kv_.setDirection(d);
                if (twoPasses) line(d == dx ? "  // X方向 //" : "  // Y方向 //");
                if (sMode) {
                    line(unitLine_);
                    baseBlock(kvb);
                    line("");
                } else {
                    srcBlocks(col, kvb, state);
                }
            }
        }
    }

    void springLine(const KvBaseTbl& kvb, int16_t dx, int16_t dy)
    {
        const auto k = [&](int16_t d) { return FormatSignificant(gSIDisp ? kvb.KbsSI(d) : kvb.Kbs(d), 3); };
        const std::string head = std::string("回転ばね定数") + (gSIDisp ? "(×10^3kN･m/rad)" : "(×10^3tf･m/rad)") + ",";
        if (kvb.RotateMode != kFalse)
            line(head + "(X)," + k(dx) + ",(Y)," + k(dy));
        else
            line(head + k(dx));
    }

    void srcHeader(int16_t i, const ColumnDataTbl& col, int16_t dx, int16_t dy)
    {
        kv_.setSrcInputs(col);
        // The share ratios and limit forces follow the load state: read them
        // at the short-term state, as the calculation sheet does, not at
        // whatever state the engine was left in.
        kv_.setCondition(1);
        int16_t iCol = i;
        std::string main, second, material;
        line("鉄骨柱," + GetColumnSectionText(iCol, main, second, material));
        line("RC," + Signed(col.cD(dx)) + ",×," + Signed(col.cD(dy)));
        const std::string markX = col.RTabane(dx) == 1 ? "(*)" : "";
        const std::string markY = col.RTabane(dy) == 1 ? "(*)" : "";
        const std::string legend = markX.empty() && markY.empty() ? "" : "  (*):束ね有り";
        line("鉄筋," + text::FieldText(col.RBarVal) + "," + text::FieldText(col.RBarMat) + ",本数," +
             Signed(col.RtN(dx)) + "," + markX + ",×," + Signed(col.RtN(dy)) + "," + markY + "," + legend);
        line(",A(cm2)," + FormatValue(col.SrcColSpec(dx, 0), 1) + ",Zx(cm3)," + FormatValue(col.SrcColSpec(dx, 1), 0) +
             ",Zpx(cm3)," + FormatValue(col.SrcColSpec(dx, 2), 0) + ",spcx," + FormatValue(col.SrcColSpec(dx, 3), 5));
        line(",,,Zy(cm3)," + FormatValue(col.SrcColSpec(dy, 1), 0) + ",Zpy(cm3)," + FormatValue(col.SrcColSpec(dy, 2), 0) +
             ",spcy," + FormatValue(col.SrcColSpec(dy, 3), 5));
        if (col.KvRotate == 0 || col.KvRotate == 1) {
            double rX = kv_.srcMRatio0();
            double rY = kv_.srcMRatio90();
            if (col.KvRotate == 1) std::swap(rX, rY);
            line("曲げ負担率(≧0.10),(X)," + vb::Format(rX, "0.000") + ",(Y)," + vb::Format(rY, "0.000"));
        }
        line("軸力負担率(≧0.15)," + vb::Format(kv_.srcNRatio(), "0.000"));
        kv_.setsrcWall(col.CenColWall(0));
        kv_.setDesignRoot(gCond.DesignRootX);
        const double tX = -kv_.srcTCrit();
        kv_.setsrcWall(col.CenColWall(1));
        kv_.setDesignRoot(gCond.DesignRootY);
        const double tY = -kv_.srcTCrit();
        line(std::string("限界軸力 ") + (gSIDisp ? "(kN)" : "(tf)") + ",(X), " + SrcLimitForceText(tX) + ",(Y)," +
             SrcLimitForceText(tY));
        if (gCond.DesignRootX == 3) line("柱脚で決まる柱ランク,(X)," + rankOf_(i, 0) + ",(Y)," + rankOf_(i, 1));
    }

    void srcBlocks(const ColumnDataTbl& col, const KvBaseTbl& kvb, int16_t state)
    {
        kv_.setSrcInputs(col);
        kv_.setRuika();
        const auto& c = choices_.chkDrawNMObj;
        if (c[0]) {
            heading("*** 累加強度 ***");
            const double top = kv_.srcNmax();
            const double bottom = kv_.srcNmin();
            equalSteps(top, bottom, [this](double n) {
                kv_.setVerticalLoad(n);
                return kv_.srcMu();
            });
            line("");
        }
        if (c[1]) {
            heading("*** 鉄骨柱 ***");
            const double top = kv_.colNmax();
            const double m = kv_.colMmax();
            end(top);
            if (state == 0) {
                point(top / 8, m);
                point(-top / 8, m);
            } else {
                line("0.00," + TwoDecimals(m));
            }
            end(-top);
            line("");
        }
        if (c[2]) {
            heading("*** コルヴァン ***");
            baseBlock(kvb);
            line("");
        }
        if (c[3]) {
            heading("*** 鉄筋 ***");
            const double top = kv_.rNmax();
            end(top);
            line("0.00," + TwoDecimals(kv_.rMmax()));
            end(-top);
            line("");
        }
        if (c[4]) {
            heading("*** コンクリート ***");
            const double top = kv_.cNmax();
            equalSteps(top, 0, [this](double n) {
                kv_.setcN(n);
                return kv_.cM();
            });
            line("");
        }
    }

    void heading(const char* text)
    {
        line(text);
        line(unitLine_);
    }

    // The top, n - 1 equal steps down and the bottom.
    template <typename MomentAt>
    void equalSteps(double top, double bottom, MomentAt momentAt)
    {
        end(top);
        for (int k = 1; k <= n_ - 1; ++k) {
            const double n = top - ((top - bottom) / n_) * k;
            point(n, momentAt(n));
        }
        end(bottom);
    }

    void baseBlock(const KvBaseTbl& kvb)
    {
        const double nu = kv_.Nu_();
        const double tu = kv_.Tu_();
        const auto momentAt = [this](double n) {
            kv_.setVerticalLoad(n);
            return kv_.Mu();
        };
        if (n_ != 4) {
            equalSteps(nu, -tu, momentAt);
            return;
        }
        // Four divisions: thirds and the middle, not quarters.
        end(nu);
        const double n1 = nu - (nu + tu) / 3;
        const double n2 = kvb.KvV == 5 ? std::pow(0.4, 2.0 / 3.0) * nu - tu + tu / 2 : nu - (nu + tu) / 2;
        const double n3 = nu - ((nu + tu) / 3) * 2;
        for (double n : {n1, n2, n3}) point(n, momentAt(n));
        end(-tu);
    }

    drawing::NMEngine& kv_;
    const NMFileChoices& choices_;
    const RankOf& rankOf_;
    const int16_t n_;
    const std::string unitLine_;
    std::string out_;
};

}  // namespace

double LeadingCount(const std::string& text)
{
    double v = 0;
    try {
        v = vb::Val(text);
    } catch (const vb::Error&) {
        // Beyond a double: however large, it is on its sign's side.
        const auto first = text.find_first_not_of(" \t\r\n");
        const bool minus = first != std::string::npos && text[first] == '-';
        return minus ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    return std::nearbyint(v);
}

int16_t DivisionCount(const std::string& text)
{
    const double n = LeadingCount(text);
    if (!(n >= -32768 && n <= 32767)) throw model::Refusal("分割数には-32768～32767の数値を入力してください。");
    return static_cast<int16_t>(n);
}

std::string BuildNMFile(drawing::NMEngine& engine, const NMFileChoices& choices, const RankOf& rankOf)
{
    return Writer(engine, choices, rankOf, DivisionCount(choices.txtDevNum)).run();
}

void WriteNMFile(drawing::NMEngine& engine, const NMFileChoices& choices, const RankOf& rankOf)
{
    const int16_t n = DivisionCount(choices.txtDevNum);
    const std::string bytes = Writer(engine, choices, rankOf, n).run();
    WriteFileAtomically(text::ToNativePath(choices.path), bytes);
    gCond.DevNum = n;
}

namespace {

std::string ProgramRank(int16_t i, int16_t d) { return GetSrcColumnRank(i, d); }

// Runs write; a failure is reported and gives false.
template <typename Write>
bool ReportingFailure(const std::string& path, Write write)
{
    try {
        write();
    } catch (const std::exception& e) {
        ReportSaveFailure(path, e);
        return false;
    }
    return true;
}

}  // namespace

void WriteNMFile(const NMFileChoices& choices)
{
    drawing::NMEngineKv engine = drawing::GlobalNMEngine();
    gKv->setSIFlag(gSIDisp);
    WriteNMFile(engine, choices, ProgramRank);
}

bool ExportNMFile(drawing::NMEngine& engine, const NMFileChoices& choices, const RankOf& rankOf)
{
    return ReportingFailure(choices.path, [&] { WriteNMFile(engine, choices, rankOf); });
}

bool ExportNMFile(const NMFileChoices& choices)
{
    return ReportingFailure(choices.path, [&] { WriteNMFile(choices); });
}

}  // namespace exchange
