// The shear check page of one column for one direction and design case: the
// column, the load state, the base, the slab, the design stresses, the three
// ways the base carries shear with their capacities, the judgement of the
// chosen ways and the base's picture. An SRC column is judged by the capacity
// of its SRC check alone; the shares of the three ways print as "-".
#pragma once

#include "drawing/print_out.h"
#include "model/records.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace reports {

// One framed block of the page; cells addressed (column, row) from 1.
struct ShearGridTbl {
    bool Centered = false;
    double X = 0;
    double Y = 0;
    std::string Title;
    int16_t Cols = 0;
    int16_t Rows = 0;
    std::vector<std::vector<std::string>> Cells;  // [0..Cols][0..Rows]
    double ColWidth = 0;
    double RowHeight = 0;
    bool InnerLines = false;
};

// The base's picture for the page: the base, the page column's KvDir and the
// page's direction in; a null image where the base has none.
using ShearPictureSource = std::function<QImage(const model::KvBaseTbl& base, int16_t kvDir, int16_t dir)>;
// The program's source; none until one is set.
void SetShearPictureSource(ShearPictureSource source);
const ShearPictureSource& ShearPicture();

// Composes the page on po from copies of the three records: the engine
// checks the copies, the caller's records stay as they are. dir 0 X, 1 Y;
// designCase 1..7. Never starts or ends a page.
void PrintShearCheckPage(drawing::clsPrintOut& po, const model::ColumnDataTbl& column,
                         const model::ColumnResultTbl& results, const model::KvBaseTbl& base, int page, int16_t dir,
                         int16_t designCase);
// The page of column col of the project.
void PrintShearPageOfColumn(drawing::clsPrintOut& po, int16_t col, int page, int16_t dir, int16_t designCase);

// Caption at (x, y), below it the formula, the capacity, the sign, |stress|
// and the verdict: "<" "NG" when |stress| exceeds the capacity, else "OK"
// with ">" or "=".
void PrintShearCompareLine(drawing::clsPrintOut& po, double x, double y, const std::string& caption,
                           const std::string& formula, double capacity, double stress, const std::string& unit);
// The frame of a block and, with innerLines, its column and row lines.
void DrawGrid(drawing::clsPrintOut& po, double x, double y, int16_t cols, int16_t rows, double colWidth,
              double rowHeight, bool innerLines);

// Puts the page into the drivers' page table.
void RegisterShearPage();

}  // namespace reports
