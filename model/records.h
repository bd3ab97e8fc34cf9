// The project records: settings, columns, their bases and their results.
//
// Field order, types, text widths and index bounds are those of the project
// file; the file code writes them field by field (the file runs the first
// index fastest, the opposite of these arrays' memory order), so a record is
// never copied to a file as raw memory. Booleans are 16-bit, -1 / 0.
#pragma once

#include "platform/text/fixed_text.h"
#include "platform/text/vbarray.h"

#include <chrono>
#include <cstdint>
#include <ctime>
#include <vector>

namespace model {

template <std::size_t N>
using FixedText = text::FixedText<N>;

inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

// LoadTbl(component 1..8, load column 1..20), tf and tf·m.
using LoadTable = vb::Array2<double, 1, 8, 1, 20>;
// DesignStress(component 1..6, design case 1..8).
using DesignTable = vb::Array2<double, 1, 6, 1, 8>;
// The six-case stress table of old project files (component 1..6, case 1..6).
using OldStressTable = vb::Array2<double, 1, 6, 1, 6>;
// Per direction (0 X, 1 Y) and design case 1..8.
template <typename T>
using SlotArray = vb::Array2<T, 0, 1, 1, 8>;

struct ProjectCondTbl {
    int16_t ColCount = 0;
    FixedText<50> Bukken;
    int16_t ShortCalcMode = 0;
    int16_t UltCalcMode = 0;
    double GammaX = 0;
    double Fc = 0;
    FixedText<50> Version;
    double GFactor = 0;
    int16_t DevNum = 0;
    int16_t UltJadge = 0;
    int16_t SMode = 0;
    FixedText<50> ImportApp;
    FixedText<50> Tantou;
    double BukkenDate = 0;  // OLE Automation date
    FixedText<150> ImportDir;
    FixedText<100> ImportFile;
    int16_t DesignRootX = 0;
    int16_t DesignRootY = 0;
    double GammaY = 0;
    int16_t SCondition = 0;
    double Alpha1 = 0;
    double Alpha2 = 0;
    int16_t Lw1 = 0;
    int16_t Lw2 = 0;
    double FcSrc = 0;
    int16_t AxisCountX = 0;
    int16_t AxisCountY = 0;
    int16_t SymmetryX = 0;
    int16_t SymmetryY = 0;
    int16_t UltMQMode = 0;
    double BrBeta1 = 0;
    double BrBeta2 = 0;
    vb::Array<int16_t, 1, 1015> Reserve{};

    bool operator==(const ProjectCondTbl&) const = default;
};

struct ColumnDataTbl {
    FixedText<50> ColName;
    int32_t KolvanID = 0;
    int16_t KvV = 0;
    int16_t AbNum = 0;
    int16_t KvRotate = 0;  // 0/1, not a Boolean
    int16_t KvDir = 0;
    int16_t ColV = 0;
    double ColSize = 0;
    double ColT = 0;
    int32_t ColID = 0;
    vb::Array<double, 1, 4> HDim{};
    int16_t ColMatCode = 0;
    double ColF = 0;
    vb::Array<double, 0, 4> ColSpec{};
    vb::Array<double, 0, 4> ColSpecUser{};
    int16_t ColXYDiffer = 0;
    vb::Array2<double, 0, 1, 0, 3> SrcColSpec{};
    FixedText<8> RBarMat;
    FixedText<4> RBarVal;
    vb::Array<int16_t, 0, 1> RtN{};
    vb::Array<int16_t, 0, 1> RmN{};
    vb::Array<int16_t, 0, 1> RqN{};
    vb::Array<int16_t, 0, 1> RTensN{};
    vb::Array<double, 0, 1> rD{};
    vb::Array2<double, 0, 1, 1, 4> SrcHDim{};
    vb::Array<double, 0, 1> SrcDim5{};
    vb::Array<double, 0, 1> cD{};
    vb::Array<double, 0, 1> cD2{};
    vb::Array<int16_t, 0, 1> RTabane{};  // 0/1
    double BPLen = 0;
    LoadTable LoadTbl{};
    int16_t AxisXNo = 0;
    int16_t AxisYNo = 0;
    FixedText<10> AxisXName;
    FixedText<10> AxisYName;
    double Fc = 0;
    FixedText<4> CSizeKind;
    double CSizeVal6 = 0;
    vb::Array2<int16_t, 0, 1, 1, 2> LumoQuCond{};
    vb::Array2<int16_t, 0, 1, 1, 2> RebarZone{};
    FixedText<4> HoopSize;
    FixedText<8> HoopMat;
    vb::Array<int16_t, 0, 1> HoopN{};
    double HoopPitch = 0;
    vb::Array<int16_t, 0, 3> CenColWall{};
    vb::Array2<int16_t, 1, 7, 0, 1> FShear{};  // bit 0 Qu1, bit 1 Qu2
    double SlabFc = 0;
    double SlabQ_d1 = 0;
    double SlabQ_d2 = 0;
    double SlabQ_B1X = 0;
    double SlabQ_B1Y = 0;
    double SlabQ_B2X = 0;
    double SlabQ_B2Y = 0;
    LoadTable LoadTblBR{};
    vb::Array<int16_t, 1, 318> Reserve{};

    bool operator==(const ColumnDataTbl&) const = default;
};

struct KvBaseTbl {
    int32_t ID = 0;
    FixedText<50> KvName;
    int16_t KvV = 0;
    vb::Array2<double, 0, 1, 1, 6> KvLen{};
    double KvH = 0;
    vb::Array<double, 1, 4> KvT{};
    double KvWeight = 0;
    vb::Array<double, 0, 1> HenshinE{};
    int16_t AbV = 0;
    int16_t AbN = 0;
    double AbF = 0;
    int16_t AbNum = 0;
    double AbD = 0;
    double AbA = 0;
    double AbAe = 0;
    vb::Array<double, 0, 1> Kbs{};
    int16_t RotateMode = 0;
    vb::Array<double, 0, 1> EXY{};
    vb::Array<FixedText<5>, 0, 1> EXYMode{};
    vb::Array<double, 0, 1> KbsSI{};
    double PartsWeight = 0;
    double LenE = 0;
    double LenF = 0;
    double LenW = 0;
    double LenG = 0;
    double eAx1 = 0;
    double eAx2 = 0;
    double eAy1 = 0;
    double eAy2 = 0;
    double L_tf1 = 0;
    double L_lf = 0;
    double L_tf2 = 0;
    double L_y1 = 0;
    double L_y2 = 0;
    double L_y3 = 0;
    double L_l1 = 0;
    double NAlpha = 0;
    double L1 = 0;
    double L_C = 0;
    double ColSize = 0;
    vb::Array<double, 0, 1> KvLenC_SV{};
    double bb_SV = 0;
    vb::Array<double, 0, 2> Tu{};
    vb::Array<int16_t, 1, 16> Reserve{};

    bool operator==(const KvBaseTbl&) const = default;
};

// Never stored; rebuilt from the loads and the engine.
struct ColumnResultTbl {
    DesignTable DesignStress{};
    SlotArray<FixedText<3>> Zone{};
    SlotArray<double> Mu{};
    SlotArray<double> Qu{};
    SlotArray<double> Qu0{};
    SlotArray<double> Qu1{};
    SlotArray<double> Qu2{};
    SlotArray<int16_t> JadgeM{};
    SlotArray<int16_t> JadgeQ{};

    bool operator==(const ColumnResultTbl&) const = default;
};

// A 1-based array whose upper bound changes at run time (the column arrays).
// Access outside 1..ubound() is run-time error 9.
template <typename T>
class ColumnArray {
public:
    long ubound() const { return static_cast<long>(items_.size()); }

    // Discards the contents: every element starts as T{}.
    void redim(long upper) { items_.assign(checkedSize(upper), T{}); }
    // Keeps the elements that stay inside the new bounds.
    void redimPreserve(long upper) { items_.resize(checkedSize(upper)); }

    T& operator()(long i) { return items_[slot(i)]; }
    const T& operator()(long i) const { return items_[slot(i)]; }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    static std::size_t checkedSize(long upper) {
        if (upper < 0) vb::ThrowSubscript(upper, 0, 32767);
        return static_cast<std::size_t>(upper);
    }
    std::size_t slot(long i) const {
        if (i < 1 || i > ubound()) vb::ThrowSubscript(i, 1, ubound());
        return static_cast<std::size_t>(i - 1);
    }
    std::vector<T> items_;
};

// Templates. They hold the values the start-up gives them; the start-up then
// loads the template base and lets it fill the slab values of the S template.
ProjectCondTbl MakeCondDefault(bool siDisp, double bukkenDate, std::string_view importDir,
                               std::string_view importFile);
// kvSeries picks the template model; condFc is the project template's Fc.
ColumnDataTbl MakeColumnDefault(int16_t kvSeries, bool siDisp, double condFc);
// The SRC template starts as a copy of the S template, taken before the S
// template gets its slab values from its base.
ColumnDataTbl MakeColumnDefaultSrc(const ColumnDataTbl& sTemplate, bool siDisp);

// A calendar date as an OLE Automation date (days since 30 December 1899).
double OleDateOf(std::chrono::year_month_day date);
// The local calendar date of a time, without the time of day, as an OLE
// Automation date; and today's.
double OleDateOfTime(std::time_t t);
double TodayOleDate();

}  // namespace model
