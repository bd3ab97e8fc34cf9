// Program-wide values of the model, and those the drawing, the main window
// and the data exchange keep here so that they stay free of the GUI.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kv {
class KV;
}

// System metrics; the class lives in the GUI layer, which creates the one
// instance. The model only holds it.
class zDLGetSys_Vendra;

namespace model {

class zDLFile_Vendra;

// Project and templates.
extern ProjectCondTbl gCond;
extern ColumnArray<ColumnDataTbl> gColumns;
extern ColumnArray<KvBaseTbl> gKvBase;
extern ColumnArray<ColumnResultTbl> gResults;
extern ProjectCondTbl gCondDefault;
extern ColumnDataTbl gColumnDefault;
extern ColumnDataTbl gColumnDefaultSrc;
extern KvBaseTbl gKvBaseDefault;

// The one engine of the run.
extern std::unique_ptr<kv::KV> gKv;

extern int16_t gKvSeries;
extern bool gSIDisp;
extern double gUnitFactor;
extern double gFcUpperLimit;
extern std::string gDataFilePath;
extern std::string gDataFileName;
extern std::string gFileName;
extern std::string gFileDir;
extern int16_t gCurCol;
extern bool gDataChanged;
extern bool gShowKCModels;
extern bool gShowDispF2;

// N-M diagram: which curves are drawn, indexed like the engine's Condition:
// (0) ultimate, (1) short-term, (2) long-term, (3) the steel column's curve.
extern vb::Array<bool, 0, 3> gNMCurveShow;
extern bool gColorDraw;
extern vb::Array<double, 1, 10> gAxisStepsA;
extern vb::Array<double, 1, 10> gAxisStepsB;

extern std::shared_ptr<zDLGetSys_Vendra> gzDLGetSys;
extern std::shared_ptr<zDLFile_Vendra> gzDLFile;

// Main window: 0 N-M X, 1 N-M Y, 4 base figure, 5 RC section.
extern int16_t gDispMode;
// Result rows refilled on every change; when off, only by the paths that hold
// it on for their own run (settings key "RefleshFlag").
extern bool gAutoRefresh;
// Short-term load kind of the design table: 0 seismic, 1 wind, 2 snow.
extern int16_t gShortLoadKind;
// Set false before a column dialog (base or SRC column) opens, true when it is
// closed with its OK button.
extern bool gSpecDialogOK;
// Direction (0 X, 1 Y) and design case (1, 4, 5, 6, 7) the shear dialog shows.
extern int16_t gShearDir;
extern int16_t gShearCase;

extern std::string gImportDir;
extern std::string gImportFile;

}  // namespace model
