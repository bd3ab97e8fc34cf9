// The engine object. One per program run; every calculation goes through its
// properties. (Its interface is named _KV elsewhere; a leading underscore and
// capital is reserved in C++, so the public members of KV are that interface.)
#pragma once

#include "engine/kvstate.h"

#include <cstdint>
#include <string>

namespace kv {

class KV {
public:
    // Loads the default model from data.mdb beside the library; throws when
    // the catalogue cannot be read.
    KV();
    // For tests and tools: the same creation with another catalogue folder.
    explicit KV(const std::string& dataFilePath);

    void setRuika();

    const std::string& DataFilePath() const { return s_.DataFilePath; }
    void setDataFilePath(const std::string& v);
    const std::string& DataFileName() const { return s_.DataFileName; }
    void setDataFileName(const std::string& v);
    const std::string& PW() const { return s_.PW; }
    void setPW(const std::string& v);

    int32_t KolvanID() const { return s_.KolvanID; }
    void setKolvanID(int32_t v);
    int16_t AbCount() const { return s_.AbCount; }
    int16_t AbNum() const { return s_.AbNum; }
    void setAbNum(int16_t v);
    KvDataTblC KvData() const { return s_.KvData; }
    void setKvData(const KvDataTblC& v);
    const std::string& KvName() const { return s_.KvName; }
    const std::string& EXYMode0() const { return s_.EXYMode0; }
    const std::string& EXYMode1() const { return s_.EXYMode1; }

    bool SIFlag() const { return s_.SIFlag; }
    void setSIFlag(bool v);
    double SIFactor() const { return s_.SIFactor; }
    void setSIFactor(double v);
    int16_t LumoQuCond() const { return s_.LumoQuCond; }
    void setLumoQuCond(int16_t v) { setChecked(s_.LumoQuCond, v); }
    double Fc() const { return s_.Fc; }
    void setFc(double v) { setChecked(s_.Fc, v); }
    int16_t FShear() const { return s_.FShear; }
    void setFShear(int16_t v) { setChecked(s_.FShear, v); }
    double SlabFc() const { return s_.SlabFc; }
    void setSlabFc(double v) { setChecked(s_.SlabFc, v); }
    double SlabQ_B1X() const { return s_.SlabQ_B1X; }
    void setSlabQ_B1X(double v) { setSlabWidth(s_.SlabQ_B1X, v); }
    double SlabQ_B1Y() const { return s_.SlabQ_B1Y; }
    void setSlabQ_B1Y(double v) { setSlabWidth(s_.SlabQ_B1Y, v); }
    double SlabQ_B2X() const { return s_.SlabQ_B2X; }
    void setSlabQ_B2X(double v) { setChecked(s_.SlabQ_B2X, v); }
    double SlabQ_B2Y() const { return s_.SlabQ_B2Y; }
    void setSlabQ_B2Y(double v) { setChecked(s_.SlabQ_B2Y, v); }
    double SlabQ_d2() const { return s_.SlabQ_d2; }
    void setSlabQ_d2(double v) { setChecked(s_.SlabQ_d2, v); }
    double SlabQ_d1() const { return s_.SlabQ_d1; }
    int16_t Condition() const { return s_.Condition; }
    void setCondition(int16_t v) { setChecked(s_.Condition, v); }
    int16_t Direction() const { return s_.Direction; }
    void setDirection(int16_t v) { setChecked(s_.Direction, v); }
    double VerticalLoad() const { return s_.VerticalLoad; }
    void setVerticalLoad(double v) { setChecked(s_.VerticalLoad, v); }
    double MomentLoad() const { return s_.MomentLoad; }
    void setMomentLoad(double v) { setChecked(s_.MomentLoad, v); }
    double ShearLoad() const { return s_.ShearLoad; }
    void setShearLoad(double v) { setChecked(s_.ShearLoad, v); }

    double cN() const { return s_.cN; }
    void setcN(double v) { s_.cN = v; }
    double rN() const { return s_.rN; }
    void setrN(double v);
    double colN() const { return s_.colN; }
    void setcolN(double v);
    double spcx() const { return s_.spcx; }
    void setspcx(double v) { setConcInput(s_.spcx, v); }
    double spcy() const { return s_.spcy; }
    void setspcy(double v) { setConcInput(s_.spcy, v); }
    double cDx() const { return s_.cDx; }
    void setcDx(double v) { setConcInput(s_.cDx, v); }
    double cDy() const { return s_.cDy; }
    void setcDy(double v) { setConcInput(s_.cDy, v); }
    const std::string& RBarMat() const { return s_.RBarMat; }
    void setRBarMat(const std::string& v);
    const std::string& RBarVal() const { return s_.RBarVal; }
    void setRBarVal(const std::string& v);
    int16_t RtNx() const { return s_.RtNx; }
    void setRtNx(int16_t v) { s_.RtNx = v; }
    int16_t RmNx() const { return s_.RmNx; }
    void setRmNx(int16_t v) { s_.RmNx = v; }
    int16_t RqNx() const { return s_.RqNx; }
    void setRqNx(int16_t v) { s_.RqNx = v; }
    int16_t RtNy() const { return s_.RtNy; }
    void setRtNy(int16_t v) { s_.RtNy = v; }
    int16_t RmNy() const { return s_.RmNy; }
    void setRmNy(int16_t v) { s_.RmNy = v; }
    int16_t RqNy() const { return s_.RqNy; }
    void setRqNy(int16_t v) { s_.RqNy = v; }
    int16_t RTabaneX() const { return s_.RTabaneX; }
    void setRTabaneX(int16_t v) { s_.RTabaneX = v; }
    int16_t RTabaneY() const { return s_.RTabaneY; }
    void setRTabaneY(int16_t v) { s_.RTabaneY = v; }
    double rDx() const { return s_.rDx; }
    void setrDx(double v) { setRebarInput(s_.rDx, v); }
    double rDy() const { return s_.rDy; }
    void setrDy(double v) { setRebarInput(s_.rDy, v); }
    int16_t ColV() const { return s_.ColV; }
    void setColV(int16_t v) { s_.ColV = v; }
    const std::string& ColMat() const { return s_.ColMat; }
    void setColMat(const std::string& v);
    double ColAx() const { return s_.ColAx; }
    void setColAx(double v) { setColInput(s_.ColAx, v); }
    double ColAy() const { return s_.ColAy; }
    void setColAy(double v) { setColInput(s_.ColAy, v); }
    double ColZx() const { return s_.ColZx; }
    void setColZx(double v) { setColInput(s_.ColZx, v); }
    double ColZy() const { return s_.ColZy; }
    void setColZy(double v) { setColInput(s_.ColZy, v); }
    double ColZpx() const { return s_.ColZpx; }
    void setColZpx(double v) { setColInput(s_.ColZpx, v); }
    double ColZpy() const { return s_.ColZpy; }
    void setColZpy(double v) { setColInput(s_.ColZpy, v); }
    int16_t Devide() const { return s_.Devide; }
    void setDevide(int16_t v) { s_.Devide = v; }

    double Mu() const { return s_.Mu; }
    double Nu() const { return s_.Nu; }
    double Nu_() const { return s_.Nu_; }
    double Qu() const { return s_.Qu; }
    double Qu0() const { return s_.Qu0; }
    double Qu1() const { return s_.Qu1; }
    double Qu2() const { return s_.Qu2; }
    double Nl() const { return s_.Nl; }
    double MuMax() const { return s_.MuMax; }
    double Tu() const { return s_.Tu; }
    double Tu_() const { return s_.Tu_; }
    double Tu1() const { return s_.Tu1; }
    const std::string& Zone() const { return s_.Zone; }
    int16_t JadgeM() const { return s_.JadgeM; }
    int16_t JadgeQ() const { return s_.JadgeQ; }

    double fcd() const { return s_.fcd; }
    double cM();
    double cNmax() const { return s_.cNmax; }
    double cMmax() const { return 0; }
    double rM();
    double rNmax() const { return s_.rNmax; }
    double rMmax() const { return s_.rMmax; }
    double colM();
    double colNmax() const { return s_.colNmax; }
    double colMmax() const { return s_.colMmax; }
    double srcMmax() const { return s_.srcMmax; }
    double srcNmax() const { return s_.srcNmax; }
    double srcNmin() const { return s_.srcNmin; }
    double srcMu();
    double srcQu();
    double srcMJadge();
    double srcQJadge();
    double srcTCrit();
    double srcNRatio();
    double srcMRatio0();
    double srcMRatio90();
    int16_t srcWall() const { return s_.srcWall; }
    void setsrcWall(int16_t v) { s_.srcWall = v; }
    int16_t DesignRoot() const { return s_.DesignRoot; }
    void setDesignRoot(int16_t v) { s_.DesignRoot = v; }
    std::string ColRank();
    void setSMode(bool v) { s_.SMode = v; }

    // Read-only view of the whole state, for the program's own diagnostics and tests.
    const KvState& state() const { return s_; }

private:
    void create();
    void load();
    void requireRecord() const;
    void check();
    void setChecked(int16_t& field, int16_t v);
    void setChecked(double& field, double v);
    void setSlabWidth(double& field, double v);
    void setConcInput(double& field, double v);
    void setRebarInput(double& field, double v);
    void setColInput(double& field, double v);

    KvState s_;
};

// Folder of the loaded engine library.
std::string LibraryFolder();

}  // namespace kv
