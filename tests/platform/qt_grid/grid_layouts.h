// The stress input grid's layout, for tests.
#pragma once

#include "platform/qt/grid/flexgrid.h"

#include <QStringList>

namespace gridtest {

constexpr std::uint32_t kDarkGrey = 0x404040;

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
