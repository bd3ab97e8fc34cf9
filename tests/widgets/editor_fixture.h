// A window with a grid, an editor frame and its text box, and an owner that
// reopens the editor on every editable current cell, as the program's two
// grid owners do.
#pragma once

#include "model/globals.h"
#include "platform/qt/grid/flexgrid.h"
#include "widgets/zDLEditBox_Vendra.h"
#include "widgets/zDLFlex8_Vendra.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

inline void OwnersFilter(zDLEditBox_Vendra& f)
{
    f.setprpNumeric(true);
    f.setprpAllowMinus(true);
    f.setprpAllowDecimal(true);
    f.setprpIntDigits(6);
    f.setprpDecDigits(3);
    f.setprpMinValue(-100000);
    f.setprpMaxValue(100000);
    f.setBeepSink([] {});
}

struct EditorFixture : ::testing::Test {
    QWidget window;
    qtgrid::FlexGrid* grid = nullptr;
    QFrame* fraInput1 = nullptr;
    QLineEdit* txtInput1 = nullptr;
    QPushButton* other = nullptr;
    std::unique_ptr<zDLFlex8_Vendra> editor;
    zDLEditBox_Vendra filter;
    // Which cells the owner opens the editor on (all scrollable ones by default).
    std::function<bool(int, int)> editable = [](int, int) { return true; };
    QStringList log;  // owner events in order

    void SetUp() override
    {
        if (!model::gzDLGetSys) model::gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
        auto* layout = new QVBoxLayout(&window);
        grid = new qtgrid::FlexGrid;
        grid->setObjectName("grdInput");
        other = new QPushButton("OK");
        layout->addWidget(grid);
        layout->addWidget(other);
        fraInput1 = new QFrame(&window);
        fraInput1->setObjectName("fraInput1");
        txtInput1 = new QLineEdit(fraInput1);
        txtInput1->setObjectName("txtInput1");
        OwnersFilter(filter);
        editor = std::make_unique<zDLFlex8_Vendra>();
        editor->setprpFlex(grid);
        editor->setprpInputContainer(fraInput1);
        editor->setprpInputTextBox(txtInput1);
        QObject::connect(grid, &qtgrid::FlexGrid::EnterCell, [this] {
            log << QString("enter %1,%2").arg(grid->Row()).arg(grid->Col());
            editor->Input_Reset(true);
            if (editable(grid->Row(), grid->Col())) editor->Input_Text(&filter);
        });
        QObject::connect(editor.get(), &zDLFlex8_Vendra::Validate,
                         [this](int r, int c, const QVariant& ans, bool) {
                             log << QString("validate %1,%2=%3").arg(r).arg(c).arg(zDLFlex8_Vendra::VarToStr(ans));
                         });
    }

    void TearDown() override { editor.reset(); }

    void showWindow(int w = 400, int h = 300)
    {
        window.resize(w, h);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        editor->Resize();
    }

    // Makes (r, c) current with the focus in the grid, so the editor opens
    // and takes the focus.
    void open(int r, int c)
    {
        grid->setFocus();
        if (grid->Row() == r && grid->Col() == c) {
            editor->Input_Reset(true);
            if (editable(r, c)) editor->Input_Text(&filter);
        } else {
            grid->Select(r, c);
        }
        QApplication::processEvents();
    }

    bool editorShown() const { return fraInput1->isVisible(); }
    bool editorFocused() const { return QApplication::focusWidget() == txtInput1; }

    QPoint cellPoint(int r, int c) const
    {
        return QPoint(grid->TwipsToPixelsX(grid->CellLeft(r, c)) + 4, grid->TwipsToPixelsY(grid->CellTop(r, c)) + 4);
    }

    // A plain grid of `rows` x `cols` with one fixed row and column.
    void plainGrid(int rows, int cols)
    {
        grid->setRows(rows);
        grid->setCols(cols);
        grid->setFixedRows(1);
        grid->setFixedCols(1);
        for (int r = 1; r < rows; ++r)
            for (int c = 1; c < cols; ++c) grid->setTextMatrix(r, c, QString::number(r * 10 + c));
    }
};
