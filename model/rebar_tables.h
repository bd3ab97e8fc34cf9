// Model-name series rules and the default rebar arrangement tables of the RC
// pedestal ("配筋", "配筋KS1"). Each table operation opens and closes the
// catalogue itself.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace model {

bool IsSeriesQXorK(const std::string& name);
bool IsSeriesH(const std::string& name);
bool IsSeriesR(const std::string& name);
bool IsSeriesKS(const std::string& name);
bool IsSeriesKC(const std::string& name);
bool IsSeriesWR(const std::string& name);
bool IsSeriesWJ(const std::string& name);
bool IsSeriesWP(const std::string& name);

// Series code that the base-rebar record carries; productCode 8 or 13.
int16_t ClassifyModel(const std::string& name, uint8_t productCode);

// Everything after the first "(" without any ")"; "" when there is none.
std::string TextInParens(const std::string& text);

struct RebarArrangeVariantTbl {
    uint8_t NG = 0;
    int16_t DBarNX = 0;
    int16_t DBarNY = 0;
    int16_t DBarAllCount = 0;
    FixedText<10> HoopSize;
    FixedText<10> HoopMat;
    int16_t HoopNX = 0;
    int16_t HoopNY = 0;
    double HoopPitch = 0;
    uint8_t Pattern = 0;
    uint8_t Zone = 0;

    bool operator==(const RebarArrangeVariantTbl&) const = default;
};

struct RebarArrangeTbl {
    FixedText<30> Name;
    int32_t ID = 0;
    int16_t KvV = 0;
    int16_t RCX = 0;
    int16_t RCY = 0;
    double Fc = 0;
    FixedText<15> Dbar;
    double BarDia = 0;
    double DLength = 0;
    int32_t VariantCount = 0;
    vb::Array<RebarArrangeVariantTbl, 1, 4> Variants{};

    bool operator==(const RebarArrangeTbl&) const = default;
};

using RebarArrangeRows = ColumnArray<RebarArrangeTbl>;  // rows 1..count

// The bar size number of a designation: the digits between "D" and "(",
// so D25(SD345) gives 25 and D6(SD295) gives 6; 0 without "(".
double BarDiaOfDbar(const std::string& dbar);

// All rows of one model and strength. count -1 (no rows) when counting fails.
// For a model beginning "KS" the pattern picks the table and must be 0 or 1
// (std::invalid_argument otherwise, before the catalogue is opened).
void ReadArrangementTable(const std::string& dbPath, const std::string& modelName, uint8_t pattern, double fc,
                          int32_t& count, RebarArrangeRows& rows);
// The rows of one form size and main bar.
void FindArrangement(const std::string& dbPath, const std::string& modelName, uint8_t pattern, double fc, double rcx,
                     double rcy, const std::string& barText, int32_t& count, RebarArrangeRows& rows);
// The rows whose variant for pattern and zone is allowed (NG not 0).
void ListArrangementNames(const std::string& dbPath, const std::string& modelName, double fc, uint8_t pattern,
                          uint8_t zone, int32_t& count, RebarArrangeRows& rows);

// Candidate lists of the product-selection dialog. Lists are 0..count with
// element 0 unused.
struct BarCandidates {
    int32_t rcxCount = 0;
    std::vector<double> rcxList{0.0};
    int32_t rcyCount = 0;
    std::vector<double> rcyList{0.0};
    int32_t barCount = 0;
    std::vector<std::string> barTexts{std::string()};
    std::vector<double> barDias{0.0};
    double firstRcx = 0;
    double firstRcy = 0;
    std::string firstDbar;
    double firstBarDia = 0;
};

BarCandidates ListBarCandidates(const std::string& dbPath, const std::string& modelName, uint8_t pattern, double fc);
BarCandidates ListArrangementChoices(const std::string& dbPath, const std::string& modelName, double fc,
                                     uint8_t pattern, uint8_t zone, const std::string& barText);

}  // namespace model
