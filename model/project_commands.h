// Opening, finishing, saving and starting a project: the file commands of the
// main window and the start-up, without the window. They reach the user
// through ui::Current() and update the window through a MainWindowHost.
#pragma once

#include "model/fendral.h"
#include "model/records.h"

#include <cstdint>
#include <string>

namespace model {

class IKvEngine;

// What the commands ask of the main window's view. The default does nothing,
// which is what the start-up and the tests need.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    virtual void setCaption(const std::string& /*caption*/) {}
    virtual void showLoading(bool /*on*/) {}
    // Display mode 0 (gDispMode is set by the caller).
    virtual void showNMX() {}
    // Route list filled for the structure mode and its entry selected.
    virtual void showRoute(int16_t /*entry*/) {}
    // Status panels of the short-term (sSts 1) and ultimate (0) modes.
    virtual void showCalcMode(int16_t /*sSts*/, int16_t /*mode*/) {}
    virtual void showProject() {}
    virtual void setBukkenText(const std::string& /*text*/) {}
    virtual void enableColumnEditing(bool /*del*/, bool /*left*/, bool /*right*/) {}
};

// Everything a load or an import replaces, so that a failed one can put it
// back (the engine's inputs are the caller's to keep).
struct ProjectSnapshot {
    ProjectSnapshot();
    void restore() const;

    ProjectCondTbl cond;
    ColumnArray<ColumnDataTbl> columns;
    ColumnArray<KvBaseTbl> kvBase;
    ColumnArray<ColumnResultTbl> results;
    clsFendral fendral;
    int16_t curCol;
    bool changed;
    double unitFactor;
    std::string fileName;
    int16_t shortLoadKind;
    int16_t dispMode;
};

// Splits a path after its last separator ("\" or "/"): returns the folder
// with the separator, name gets the rest.
std::string FolderWithSeparator(const std::string& path, std::string& name);

// gUnitFactor and the engine's factor follow the project's GFactor.
void ApplyProjectUnitFactor();

// "柱脚検討 -" and the file name in double quotes.
std::string ProjectCaption(const std::string& fileName);

// The route list's rule: the entry of a route code in the structure mode
// (-1 for a code without one), and the route code and ultimate mode an
// entry gives.
int16_t RouteEntryOfCode(bool sMode, int16_t code);
void RouteOfEntry(bool sMode, int16_t entry, int16_t& code, int16_t& ultCalcMode);
// Both route codes and the ultimate mode as the route list leaves them after
// selecting the entry of DesignRootX; false when the code has no entry.
bool NormaliseRoute(ProjectCondTbl& cond);

// Reads folder & name (both trimmed and written back) into the project, then
// brings it up to date: checks every column, takes or rebuilds the base-rebar
// list, reloads every base from the catalogue and checks again. Throws when
// the file is not a readable project; the open project is then unchanged.
void LoadProjectFile(std::string& folder, std::string& name);

// Writes the project to gFileDir & gFileName with its base-rebar list beside
// it, clears gDataChanged. Throws when it cannot write; the old file stays.
void WriteProjectFile();

class ProjectCommands {
public:
    explicit ProjectCommands(MainWindowHost& host) : host_(host) {}

    // 0 go on, 2 the asking command stops.
    int16_t msub_AskSaveChanges();
    // True when nothing was written.
    bool msub_SaveProjectAs();
    void msub_SaveProject();
    void msub_OpenProject();
    void msub_NewProject();
    // Writes the project and tells the user when that fails; true when written.
    bool msub_WriteProjectFile();
    void msub_WriteColumnListCsv();

    bool mblnLoading = false;

private:
    MainWindowHost& host_;
};

// The model's part of the start-up: settings, engine, templates, the project
// named on the command line (or the one-column default) and its base-rebar
// list. Throws when the engine or the catalogue cannot be used; a project
// that cannot be opened is reported and the default project is used.
void StartProgram(const std::string& programFolder, const std::string& commandLine);
void CreateGlobalObjects();
void ReleaseGlobalObjects();

}  // namespace model
