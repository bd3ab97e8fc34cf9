// The two grid layouts of the program's windows, for tests: the stress and
// result table of the main window and the stress input grid.
#pragma once

#include "platform/qt/grid/flexgrid.h"

#include <QStringList>

namespace gridtest {

constexpr std::uint32_t kDarkGrey = 0x404040;

// 14 x 20, 4 fixed rows, 2 fixed columns; row 3 and the odd columns 5..19
// hidden; merged headers.
inline void LayoutStressTable(qtgrid::FlexGrid& g)
{
    g.setRows(14);
    g.setCols(20);
    g.setFixedRows(4);
    g.setFixedCols(2);
    g.setMergeCells(qtgrid::flexMergeFixedOnly);
    for (int c : {0, 1, 2, 3}) g.setMergeCol(c, true);
    for (int r : {0, 1, 2, 9}) g.setMergeRow(r, true);
    for (int r = 3; r <= 13; ++r)
        for (int c = 5; c <= 19; ++c) g.setCellBackColor(r, c, qtgrid::kSysWindow);
    for (int c = 0; c < 20; ++c) g.setColWidth(c, 600);
    g.setColAlignment(0, qtgrid::flexAlignCenterCenter);
    g.setColAlignment(1, qtgrid::flexAlignCenterCenter);
    for (int r = 0; r <= 3; ++r)
        for (int c = 2; c <= 19; ++c) g.setCellAlignment(r, c, qtgrid::flexAlignCenterCenter);
    for (int r = 0; r <= 3; ++r)
        for (int c = 0; c <= 1; ++c) g.setTextMatrix(r, c, " ");
    for (int c = 2; c <= 19; ++c)
        g.setTextMatrix(0, c, c <= 3 ? QString::fromUtf8("長期") : c <= 11 ? QString::fromUtf8("短期") : QString::fromUtf8("終局"));
    for (int r = 1; r <= 3; ++r) {
        g.setTextMatrix(r, 2, "X");
        g.setTextMatrix(r, 3, "Y");
    }
    for (int c = 4; c <= 19; ++c) {
        const int k = (c - 4) / 4;
        g.setTextMatrix(1, c, k % 2 == 0 ? "X" : "Y");
        g.setTextMatrix(2, c, ((c - 4) % 4) < 2 ? "L" : "R");
    }
    const QStringList row3 = {"X", "Y", "X", "Y", "Y", "X", "Y", "X", "X", "Y", "X", "Y", "Y", "X", "Y", "X"};
    for (int c = 4; c <= 19; ++c) g.setTextMatrix(3, c, row3[c - 4]);
    const char* labels[][2] = {{"軸 力", "応力"},     {"曲げﾓｰﾒﾝﾄ", " 応力 "}, {"曲げﾓｰﾒﾝﾄ", "耐力"},
                               {"曲げﾓｰﾒﾝﾄ", "検定比"}, {"曲げﾓｰﾒﾝﾄ", "判定"},   {"ゾーン", "ゾーン"},
                               {"せん断力", "応力"},     {"せん断力", "耐力"},     {"せん断力", "検定比"},
                               {"せん断力", "判定"}};
    for (int i = 0; i < 10; ++i) {
        g.setTextMatrix(4 + i, 0, QString::fromUtf8(labels[i][0]));
        g.setTextMatrix(4 + i, 1, QString::fromUtf8(labels[i][1]));
    }
    for (int c = 2; c <= 19; ++c)
        for (int r : {6, 7, 8, 9, 11, 12, 13}) g.setCellBackColor(r, c, qtgrid::kSysActiveBorder);
    for (int r : {4, 5, 10}) g.setCellBackColor(r, 2, qtgrid::kSysWindow);
    g.setCellBackColor(4, 3, kDarkGrey);
    g.setCellBackColor(5, 3, qtgrid::kSysWindow);
    g.setCellBackColor(10, 3, qtgrid::kSysWindow);
    for (int c = 5; c <= 19; c += 2) g.setColHidden(c, true);
    g.setRowHidden(3, true);
}

// 32 x 4, 2 fixed rows and columns, ten blocks of three rows; rows 5..19
// hidden except the seismic blocks when `seismicShown`.
inline void LayoutStressInput(qtgrid::FlexGrid& g, bool hideShortBlocks)
{
    g.setRedraw(false);
    g.setRows(32);
    g.setCols(4);
    g.setFixedRows(2);
    g.setFixedCols(2);
    g.setMergeCells(qtgrid::flexMergeRestrictColumns);
    g.setMergeCol(0, true);
    g.setMergeCol(1, true);
    g.setColWidth(0, 800);
    g.setColWidth(1, 1200);
    g.setTextMatrix(0, 2, QString::fromUtf8("X方向加力"));
    g.setTextMatrix(0, 3, QString::fromUtf8("Y方向加力"));
    g.setRowHidden(0, true);
    g.setTextMatrix(1, 2, "X");
    g.setTextMatrix(1, 3, "Y");
    g.setCellBackColor(2, 3, kDarkGrey);
    const char* titles[] = {"長期", "地震時Ｌ", "地震時Ｒ", "積雪時", "暴風時Ｌ", "暴風時Ｒ", "短期L", "短期R", "終局L", "終局R"};
    const char* comps[] = {"軸 力", "曲げﾓｰﾒﾝﾄ", "せん断力"};
    for (int b = 0; b < 10; ++b)
        for (int k = 0; k < 3; ++k) {
            g.setTextMatrix(2 + 3 * b + k, 0, QString::fromUtf8(titles[b]));
            g.setTextMatrix(2 + 3 * b + k, 1, QString::fromUtf8(comps[k]));
        }
    if (hideShortBlocks)
        for (int r = 11; r <= 19; ++r) g.setRowHidden(r, true);
    g.setRedraw(true);
}

}  // namespace gridtest
