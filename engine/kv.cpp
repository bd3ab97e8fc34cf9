#include "engine/kv.h"

#include "engine/kverror.h"
#include "engine/loader.h"
#include "engine/smode.h"
#include "engine/src.h"
#include "platform/text/vb.h"

#include <dlfcn.h>

#include <cmath>
#include <filesystem>

namespace kv {

std::string LibraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) == 0 || info.dli_fname == nullptr)
        Fail(vb::kErrInvalidCall, "Cannot tell the folder of the engine library");
    std::error_code ec;
    auto p = std::filesystem::canonical(info.dli_fname, ec);
    return (ec ? std::filesystem::path(info.dli_fname) : p).parent_path().string();
}

KV::KV() : KV(LibraryFolder()) {}

KV::KV(const std::string& dataFilePath) {
    s_.DataFilePath = dataFilePath;
    create();
}

void KV::create() {
    s_.DataFileName = "\\data.mdb";
    s_.PW = "qmv41";
    s_.KolvanID = 100100;
    s_.AbNum = 1;
    // The unit factor is needed by the load itself, so it is in place first.
    s_.SIFlag = true;
    s_.SIFactor = 9.80665;
    LoadCatalogue(s_);

    s_.RBarArea = GetBarArea(s_.RBarVal);
    s_.RBarMatF = GetSteelF(s_, s_.RBarMat);
    s_.ColMatF = GetSteelF(s_, s_.ColMat);

    check();
    s_.cM = CalcConcM(s_, s_.cN);
    s_.rM = CalcRebarM(s_, s_.rN);
    s_.colM = CalcColM(s_, s_.colN);
    BuildRuika(s_);
}

// A failed load leaves the stored ID or variant without its record: until a
// load succeeds, the same value loads again rather than counting as
// unchanged, and whatever computes from the record raises the load's error.
void KV::load() {
    try {
        LoadCatalogue(s_);
    } catch (...) {
        s_.CatalogueFailure = std::current_exception();
        throw;
    }
    s_.CatalogueFailure = nullptr;
}

void KV::requireRecord() const {
    if (s_.CatalogueFailure) std::rethrow_exception(s_.CatalogueFailure);
}

void KV::check() {
    requireRecord();
    CalcBaseCheck(s_);
}

void KV::setRuika() {
    requireRecord();
    BuildRuika(s_);
}

// Another catalogue file or password: the kept connection goes at once.
void KV::setDataFilePath(const std::string& v) {
    if (v != s_.DataFilePath) s_.Link.release();
    s_.DataFilePath = v;
}

void KV::setDataFileName(const std::string& v) {
    const std::string name = (!v.empty() && v[0] == '\\') ? v : "\\" + v;
    if (name != s_.DataFileName) s_.Link.release();
    s_.DataFileName = name;
}

void KV::setPW(const std::string& v) {
    if (v != s_.PW) s_.Link.release();
    s_.PW = v;
}

void KV::setKolvanID(int32_t v) {
    if (v == s_.KolvanID && !s_.CatalogueFailure) return;
    s_.KolvanID = v;
    load();
    check();
}

void KV::setAbNum(int16_t v) {
    if (v == s_.AbNum && !s_.CatalogueFailure) return;
    s_.AbNum = v;
    load();
    check();
}

void KV::setKvData(const KvDataTblC& v) {
    if (v.ID == s_.KolvanID && v.AbNum == s_.AbNum && !s_.CatalogueFailure) return;
    s_.KolvanID = v.ID;
    s_.AbNum = v.AbNum;
    s_.KvData = v;
    load();
    check();
}

void KV::setSIFlag(bool v) {
    if (v == s_.SIFlag) return;
    s_.SIFlag = v;
    check();
    s_.ColMatF = GetSteelF(s_, s_.ColMat);
    s_.RBarMatF = GetSteelF(s_, s_.RBarMat);
}

// The load divides the shear minimums of series 4 to 6 and the bolt tension
// of series 6 by the factor: the model is loaded again in the new factor, so
// that its record reads as after a first load under it. A record that failed
// to load is tried again as well, as a set of its ID would.
void KV::setSIFactor(double v) {
    const double a = std::fabs(v);
    if (std::fabs(a - s_.SIFactor) < 0.00001) return;
    s_.SIFactor = a;
    const int16_t series = s_.KvData.KvV;
    if (s_.CatalogueFailure || (series >= 4 && series <= 6)) load();
    check();
}

void KV::setChecked(int16_t& field, int16_t v) {
    if (v == field) return;
    field = v;
    check();
}

void KV::setChecked(double& field, double v) {
    if (!(std::fabs(v - field) > 0.001)) return;
    field = v;
    check();
}

void KV::setSlabWidth(double& field, double v) {
    if (!(std::fabs(v - field) > 0.001) || !(std::fabs(v) > 10)) return;
    field = v;
    check();
}

void KV::setrN(double v) {
    s_.rN = v;
    s_.rM = CalcRebarM(s_, s_.rN);
}

void KV::setcolN(double v) {
    s_.colN = v;
    s_.colM = CalcColM(s_, s_.colN);
}

void KV::setConcInput(double& field, double v) {
    field = v;
    requireRecord();
    s_.cM = CalcConcM(s_, s_.cN);
}

void KV::setRebarInput(double& field, double v) {
    field = v;
    s_.rM = CalcRebarM(s_, s_.rN);
}

void KV::setColInput(double& field, double v) {
    field = v;
    s_.colM = CalcColM(s_, s_.colN);
}

void KV::setRBarMat(const std::string& v) {
    s_.RBarMat = vb::UCase(v);
    s_.RBarMatF = GetSteelF(s_, s_.RBarMat);
    s_.rM = CalcRebarM(s_, s_.rN);
}

void KV::setRBarVal(const std::string& v) {
    s_.RBarVal = vb::UCase(v);
    s_.RBarArea = GetBarArea(s_.RBarVal);
}

void KV::setColMat(const std::string& v) {
    s_.ColMat = vb::UCase(v);
    s_.ColMatF = GetSteelF(s_, s_.ColMat);
    s_.colM = CalcColM(s_, s_.colN);
}

double KV::cM() {
    requireRecord();
    return s_.cM = CalcConcM(s_, s_.cN);
}
double KV::rM() { return s_.rM = CalcRebarM(s_, s_.rN); }
double KV::colM() { return s_.colM = CalcColM(s_, s_.colN); }

double KV::srcMu() { return CalcSrcMu(s_); }
double KV::srcQu() {
    requireRecord();
    return CalcSrcQu(s_);
}

double KV::srcMJadge() {
    CalcSrcMu(s_);
    return static_cast<double>(s_.srcMJadgeCode);
}

double KV::srcQJadge() {
    requireRecord();
    CalcSrcQu(s_);
    return static_cast<double>(s_.srcQJadgeCode);
}

double KV::srcTCrit() { return CalcSrcTCrit(s_); }
double KV::srcNRatio() { return CalcSrcNRatio(s_); }
double KV::srcMRatio0() {
    requireRecord();
    return CalcSrcMRatio(s_, 0);
}

double KV::srcMRatio90() {
    requireRecord();
    return CalcSrcMRatio(s_, 1);
}
std::string KV::ColRank() { return GetColRank(s_); }

}  // namespace kv
