// The main window shown, with its in-cell editor on the stress and result
// table, and helpers that move about the table and type into it.
#pragma once

#include "window_fixture.h"

#include "widgets/zDLFlex8_Vendra.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

namespace mainwintest {

using namespace model;

class Entry : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        gDataChanged = false;
        w->msub_SelectColumn(true);
        ShowForEntry();
        if (HasFatalFailure()) return;
        // Showing the window displays the project, whose route 3 puts the
        // ultimate stresses by hand: the cases below start from automatic
        // modes, away from the cells they visit.
        w->setCalcMode(0, 0, 0);
        w->setCalcMode(1, 0, 0);
        go(13, 18);
        gDataChanged = false;
    }
    void TearDown() override
    {
        gUnitFactor = gSIDisp ? gCond.GFactor : 1.0;
        WindowTest::TearDown();
    }

    void go(int r, int c)
    {
        g->setFocus();
        g->Select(r, c);
        QApplication::processEvents();
    }
    bool editorOpen() const { return w->fraInput1->isVisible(); }
    void type(const char* text)
    {
        w->txtInput1->selectAll();
        QTest::keyClicks(w->txtInput1, text);
        QTest::keyClick(w->txtInput1, Qt::Key_Return);
        QApplication::processEvents();
    }
    QStringList resultRows(int c) const
    {
        QStringList s;
        for (int r : {6, 7, 8, 9, 11, 12, 13}) s << g->TextMatrix(r, c);
        return s;
    }
};

}  // namespace mainwintest
