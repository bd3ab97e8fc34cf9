// The whole state of one engine object. Field names are the property names;
// the computations are free functions over this state.
#pragma once

#include "engine/catalogue_link.h"
#include "engine/kvtypes.h"
#include "engine/smode_work.h"
#include "engine/src_work.h"

#include <cstdint>
#include <exception>
#include <string>

namespace kv {

struct KvState {
    // Catalogue selection
    std::string DataFilePath;
    std::string DataFileName = "\\data.mdb";
    std::string PW = "qmv41";
    int32_t KolvanID = 100100;
    int16_t AbNum = 1;
    int16_t AbCount = 0;
    KvDataTblC KvData;
    std::string KvName;
    std::string EXYMode0;
    std::string EXYMode1;
    LumoQuTbl LumoQu;
    BoltQuTbl BoltQu;
    vb::Array<double, 0, 2> SlabP{};
    // Set while the record above does not belong to KolvanID and AbNum: the
    // error of the load that failed.
    std::exception_ptr CatalogueFailure;
    // Where the catalogue is read; a cache, not an input (the loader and the
    // slab check reach it through a const state too).
    mutable CatalogueLink Link;

    // Options
    bool SMode = false;
    bool SIFlag = true;
    double SIFactor = 9.80665;

    // S-mode inputs
    double Fc = 21;
    int16_t Condition = 1;
    int16_t Direction = 0;
    double VerticalLoad = 0;
    double MomentLoad = 0;
    double ShearLoad = 0;
    int16_t LumoQuCond = 1;
    int16_t FShear = 0;
    double SlabQ_B1X = 200;
    double SlabQ_B1Y = 200;
    double SlabQ_B2X = 0;
    double SlabQ_B2Y = 0;
    double SlabQ_d2 = 0;
    double SlabFc = 18;

    // S-mode results (interface units)
    double Mu = 0, Nu = 0, Nu_ = 0, Nl = 0, MuMax = 0;
    double Tu = 0, Tu_ = 0, Tu1 = 0;
    double Qu = 0, Qu0 = 0, Qu1 = 0, Qu2 = 0;
    std::string Zone;
    int16_t JadgeM = 0;
    int16_t JadgeQ = 0;
    double SlabQ_d1 = 0;

    // SRC inputs
    double cN = 0, rN = 0, colN = 0;
    double spcx = 50.0 / (90.0 * 90.0), spcy = 50.0 / (90.0 * 90.0);
    double cDx = 900, cDy = 900;
    double rDx = 800, rDy = 800;
    std::string RBarMat = "SD295";
    std::string RBarVal = "D22";
    std::string ColMat = "SN490";
    int16_t RtNx = 8, RmNx = 0, RqNx = 12, RtNy = 8, RmNy = 0, RqNy = 12;
    int16_t RTabaneX = 0, RTabaneY = 0;
    int16_t ColV = 3;
    int16_t Devide = 140;
    int16_t srcWall = 0;
    int16_t DesignRoot = 3;
    double ColAx = 111.8, ColAy = 111.8;
    double ColZx = 1860, ColZy = 214;
    double ColZpx = 2096, ColZpy = 332;

    // SRC derived state
    double RBarArea = 0;
    double RBarMatF = 0;
    double ColMatF = 0;
    double cM = 0, cNmax = 0, fcd = 0;
    double rM = 0, rNmax = 0, rMmax = 0;
    double colM = 0, colNmax = 0, colMmax = 0;
    vb::Array<double, 0, 150> RuikaN{};
    vb::Array<double, 0, 150> RuikaM{};
    double srcNmin = 0, srcNmax = 0, srcMmax = 0;
    int16_t srcMJadgeCode = 0;
    int16_t srcQJadgeCode = 0;

    // Private working values of the steel-base check and of the SRC parts.
    SModeWork smode;
    SrcWork src;
};

}  // namespace kv
