// The program started headless on the sample catalogue, in a settings folder
// of its own, with a main window whose table is laid out as the load does.
#pragma once

#include "engine/kv.h"
#include "mainwin/frmMain.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "platform/qt/grid/flexgrid.h"
#include "widgets/zDLFlex8_Vendra.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QSettings>
#include <QString>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace mainwintest {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("kv mainwin " + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir_.string()));
        model::StartProgram(KV_SAMPLE_DIR, "");
        model::gAutoRefresh = true;
        model::gShortLoadKind = 0;
        if (!model::gzDLGetSys) model::gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
        w = std::make_unique<frmMain>();
        w->setIndexArray();
        w->msub_SetUpTable();
        g = w->grdView1;
    }
    void TearDown() override
    {
        w.reset();
        model::gKv.reset();
        model::gAutoRefresh = true;
        model::gShortLoadKind = 0;
        std::filesystem::remove_all(dir_);
    }

    // The window shown and active, its table laid out for the in-cell editor.
    void ShowForEntry()
    {
        w->resize(900, 500);
        g->resize(800, 320);
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->mobjFlexInput1->Resize();
    }

    std::unique_ptr<frmMain> w;
    qtgrid::FlexGrid* g = nullptr;

private:
    std::filesystem::path dir_;
};

}  // namespace mainwintest
