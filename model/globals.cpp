#include "model/globals.h"

#include "engine/kv.h"
#include "model/file_util.h"

namespace model {

ProjectCondTbl gCond;
ColumnArray<ColumnDataTbl> gColumns;
ColumnArray<KvBaseTbl> gKvBase;
ColumnArray<ColumnResultTbl> gResults;
ProjectCondTbl gCondDefault;
ColumnDataTbl gColumnDefault;
ColumnDataTbl gColumnDefaultSrc;
KvBaseTbl gKvBaseDefault;

std::unique_ptr<kv::KV> gKv;

int16_t gKvSeries = 1;
bool gSIDisp = true;
double gUnitFactor = 9.80665;
double gFcUpperLimit = 24;
std::string gDataFilePath;
std::string gDataFileName = "\\data.mdb";
std::string gFileName = "untitled.kud";
std::string gFileDir;
int16_t gCurCol = 1;
bool gDataChanged = false;
bool gShowKCModels = true;
bool gShowDispF2 = false;

vb::Array<bool, 0, 3> gNMCurveShow = [] {
    vb::Array<bool, 0, 3> a;
    a(0) = true;
    a(1) = true;
    a(2) = false;
    a(3) = false;
    return a;
}();
bool gColorDraw = true;
vb::Array<double, 1, 10> gAxisStepsA = [] {
    vb::Array<double, 1, 10> a;
    const double v[] = {5, 10, 25, 50, 100, 250, 500, 1000, 5000, 10000};
    for (long i = 1; i <= 10; ++i) a(i) = v[i - 1];
    return a;
}();
vb::Array<double, 1, 10> gAxisStepsB = [] {
    vb::Array<double, 1, 10> a;
    const double v[] = {50, 100, 250, 500, 1000, 2500, 5000, 10000, 50000, 100000};
    for (long i = 1; i <= 10; ++i) a(i) = v[i - 1];
    return a;
}();

std::shared_ptr<zDLGetSys_Vendra> gzDLGetSys;
std::shared_ptr<zDLFile_Vendra> gzDLFile;

int16_t gDispMode = 0;
bool gSpecDialogOK = false;
int16_t gShearDir = 0;
int16_t gShearCase = 1;
bool gAutoRefresh = true;
int16_t gShortLoadKind = 0;

std::string gImportDir;
std::string gImportFile;

}  // namespace model
