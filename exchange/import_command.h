// The main window's import command without the window: a new steel-column
// project from an analysis program's column-base data file.
#pragma once

#include "exchange/import_file.h"
#include "model/project_commands.h"

#include <functional>

namespace exchange {

class ImportCommand {
public:
    ImportCommand(model::MainWindowHost& host, model::ProjectCommands& commands) : host_(host), commands_(commands) {}

    // The base choice for a column the file does not identify; none given:
    // such columns are skipped.
    ImportBaseChooser chooseBase;
    // The import options (symmetry, short-term load kind); none given: the
    // options' initial choices, symmetric and seismic.
    std::function<void()> askOptions;

    // Either the file's project replaces the open one, or the open one stays
    // exactly as it was and the user is told why.
    void msub_ImportAnalysisFile();

private:
    void fail(const std::string& path, const std::string& reason, long line);

    model::MainWindowHost& host_;
    model::ProjectCommands& commands_;
};

}  // namespace exchange
