// The program started headless on the sample catalogue in a settings folder
// of its own, with a scripted user interface, the report flags cleared, and
// a helper that makes the project n copies of its first column.
#pragma once

#include "engine/kv.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/startup.h"
#include "reports/report_common.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QSettings>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace reporttest {

class ReportProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("kv reports " + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir_.string()));
        ui_ = std::make_unique<ui::testing::ScopedUi>(script);
        model::StartProgram(KV_SAMPLE_DIR, "");
        using namespace reports;
        gPrNoHeader = gPrNoFooter = gPrPageNumber = gPrNoLegend = gPrNoneNG = gPrNoneOK = false;
        gPrColorMode = gPrNoDesignCond = gPrNoBaseColumn = false;
        gPrintShortKind = 0;
        model::gShortLoadKind = 0;
    }
    void TearDown() override
    {
        ui_.reset();
        model::gKv.reset();
        std::filesystem::remove_all(dir_);
    }
    // The project as n copies of its first column, named C1, C2, ...
    void Columns(int n)
    {
        using namespace model;
        const ColumnDataTbl c = gColumns(1);
        const KvBaseTbl b = gKvBase(1);
        const ColumnResultTbl r = gResults(1);
        gCond.ColCount = static_cast<int16_t>(n);
        gColumns.redim(n);
        gKvBase.redim(n);
        gResults.redim(n);
        for (int i = 1; i <= n; ++i) {
            gColumns(i) = c;
            gColumns(i).ColName = "C" + std::to_string(i);
            gKvBase(i) = b;
            gResults(i) = r;
        }
    }

    ui::testing::ScriptedUi script;

private:
    std::unique_ptr<ui::testing::ScopedUi> ui_;
    std::filesystem::path dir_;
};

}  // namespace reporttest
