#include "platform/qt/grid/flexgrid.h"

#include "platform/qt/fit_text.h"
#include "platform/qt/grid/vbkeys.h"
#include "platform/qt/twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace qtgrid {

FlexGrid::FlexGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // A row is the font's em and a small margin, as with the Japanese system
    // fonts the layouts were made for; the CJK faces here report a much
    // taller line box, which would push rows out of the designed heights.
    const double em = font().pointSizeF() > 0 ? font().pointSizeF() * logicalDpiY() / 72.0 : fontMetrics().height();
    defaultRowHeight_ = static_cast<int>(std::lround((em + 4) * TwipsPerPixelY()));
    resizeCells(2, 2);
    fixedRows_ = 1;
    fixedCols_ = 1;
    row_ = 1;
    col_ = 1;
    topRow_ = 1;
    leftCol_ = 1;
    resizeCells(50, 10);
}

FlexGrid::~FlexGrid() = default;

// ---------------------------------------------------------------- structure

void FlexGrid::resizeCells(int rows, int cols)
{
    rows = std::max(0, rows);
    cols = std::max(0, cols);
    QVector<Cell> cells(rows * cols);
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(cols, cols_); ++c) cells[r * cols + c] = cell(r, c);
    cells_ = std::move(cells);
    rowHeight_.resize(rows, -1);
    rowHidden_.resize(rows, false);
    mergeRow_.resize(rows, false);
    colWidth_.resize(cols, -1);
    colHidden_.resize(cols, false);
    mergeCol_.resize(cols, false);
    colAlign_.resize(cols, flexAlignGeneral);
    rows_ = rows;
    cols_ = cols;
    fixedRows_ = std::min(fixedRows_, rows_);
    fixedCols_ = std::min(fixedCols_, cols_);
    frozenRows_ = std::min(frozenRows_, rows_ - fixedRows_);
    frozenCols_ = std::min(frozenCols_, cols_ - fixedCols_);
    selected_.erase(std::remove_if(selected_.begin(), selected_.end(), [&](int r) { return r >= rows_; }),
                    selected_.end());
    // The current cell stays inside the scrollable cells without events.
    if (rows_ <= fixedRows_ || cols_ <= fixedCols_) {
        row_ = col_ = -1;
    } else {
        row_ = std::clamp(row_ < 0 ? fixedRows_ : row_, fixedRows_, rows_ - 1);
        col_ = std::clamp(col_ < 0 ? fixedCols_ : col_, fixedCols_, cols_ - 1);
    }
    invalidateMerges();
    updateScrollBars();
    Refresh();
}

void FlexGrid::setRows(int n) { resizeCells(n, cols_); }
void FlexGrid::setCols(int n) { resizeCells(rows_, n); }

void FlexGrid::AddItem(const QString& item, int index)
{
    if (index < 0 || index > rows_) index = rows_;
    resizeCells(rows_ + 1, cols_);
    for (int r = rows_ - 1; r > index; --r) {
        for (int c = 0; c < cols_; ++c) cell(r, c) = cell(r - 1, c);
        rowHeight_[r] = rowHeight_[r - 1];
        rowHidden_[r] = rowHidden_[r - 1];
        mergeRow_[r] = mergeRow_[r - 1];
    }
    for (int c = 0; c < cols_; ++c) cell(index, c) = Cell{};
    rowHeight_[index] = -1;
    rowHidden_[index] = false;
    mergeRow_[index] = false;
    const QStringList texts = item.split(QLatin1Char('\t'));
    for (int c = 0; c < std::min<int>(cols_, texts.size()); ++c) cell(index, c).text = texts[c];
    for (int& s : selected_)
        if (s >= index) ++s;
    invalidateMerges();
    Refresh();
}

void FlexGrid::RemoveItem(int index)
{
    if (index < 0 || index >= rows_) return;
    for (int r = index; r + 1 < rows_; ++r) {
        for (int c = 0; c < cols_; ++c) cell(r, c) = cell(r + 1, c);
        rowHeight_[r] = rowHeight_[r + 1];
        rowHidden_[r] = rowHidden_[r + 1];
        mergeRow_[r] = mergeRow_[r + 1];
    }
    selected_.removeAll(index);
    for (int& s : selected_)
        if (s > index) --s;
    resizeCells(rows_ - 1, cols_);
}

void FlexGrid::setFixedRows(int n)
{
    fixedRows_ = std::clamp(n, 0, rows_);
    resizeCells(rows_, cols_);
}

void FlexGrid::setFixedCols(int n)
{
    fixedCols_ = std::clamp(n, 0, cols_);
    resizeCells(rows_, cols_);
}

void FlexGrid::setFrozenRows(int n)
{
    frozenRows_ = std::clamp(n, 0, rows_ - fixedRows_);
    resizeCells(rows_, cols_);
}

void FlexGrid::setFrozenCols(int n)
{
    frozenCols_ = std::clamp(n, 0, cols_ - fixedCols_);
    resizeCells(rows_, cols_);
}

// ---------------------------------------------------------------- current cell

void FlexGrid::setCurrent(int r, int c, bool show)
{
    if (!validCell(r, c)) return;
    const bool changed = r != row_ || c != col_;
    row_ = r;
    col_ = c;
    if (show) ShowCell(r, c);
    Refresh();
    if (changed) {
        emit RowColChange();
        emit EnterCell();
    }
}

void FlexGrid::setRow(int r)
{
    if (selectionMode_ == flexSelectionListBox && r >= fixedRows_ && r < rows_) {
        selected_ = {r};
        anchorRow_ = r;
    }
    setCurrent(r, col_, false);
}

void FlexGrid::setCol(int c) { setCurrent(row_, c, false); }

void FlexGrid::Select(int r, int c)
{
    if (selectionMode_ == flexSelectionListBox && r >= fixedRows_ && r < rows_) {
        selected_ = {r};
        anchorRow_ = r;
    }
    setCurrent(r, c, false);
}

// ---------------------------------------------------------------- cells

QString FlexGrid::TextMatrix(int r, int c) const { return validCell(r, c) ? cell(r, c).text : QString(); }

void FlexGrid::setTextMatrix(int r, int c, const QString& s)
{
    if (!validCell(r, c)) return;
    cell(r, c).text = s;
    invalidateMerges();
    Refresh();
}

void FlexGrid::setBackColor(std::uint32_t ole)
{
    backColor_ = ole;
    Refresh();
}

void FlexGrid::setBackColorFixed(std::uint32_t ole)
{
    backColorFixed_ = ole;
    Refresh();
}

std::uint32_t FlexGrid::CellBackColor(int r, int c) const { return validCell(r, c) ? cell(r, c).back : 0; }

void FlexGrid::setCellBackColor(int r, int c, std::uint32_t ole)
{
    if (!validCell(r, c)) return;
    cell(r, c).back = ole;
    Refresh();
}

int FlexGrid::CellAlignment(int r, int c) const
{
    if (!validCell(r, c)) return flexAlignGeneral;
    const int a = cell(r, c).align;
    return a >= 0 ? a : colAlign_[c];
}

void FlexGrid::setCellAlignment(int r, int c, int align)
{
    if (!validCell(r, c)) return;
    cell(r, c).align = align;
    Refresh();
}

int FlexGrid::ColAlignment(int c) const { return c >= 0 && c < cols_ ? colAlign_[c] : flexAlignGeneral; }

void FlexGrid::setColAlignment(int c, int align)
{
    if (c < 0 || c >= cols_) return;
    colAlign_[c] = align;
    Refresh();
}

// ---------------------------------------------------------------- sizes

int FlexGrid::RowHeight(int r) const
{
    if (r < 0 || r >= rows_) return 0;
    return rowHeight_[r] >= 0 ? rowHeight_[r] : defaultRowHeight_;
}

void FlexGrid::setRowHeight(int r, int twips)
{
    if (r < 0 || r >= rows_) return;
    rowHeight_[r] = std::max(0, twips);
    layoutChanged(r, -1);
}

int FlexGrid::ColWidth(int c) const
{
    if (c < 0 || c >= cols_) return 0;
    return colWidth_[c] >= 0 ? colWidth_[c] : defaultColWidth_;
}

void FlexGrid::setColWidth(int c, int twips)
{
    if (c < 0 || c >= cols_) return;
    colWidth_[c] = std::max(0, twips);
    layoutChanged(-1, c);
}

bool FlexGrid::RowHidden(int r) const { return r >= 0 && r < rows_ && rowHidden_[r]; }

void FlexGrid::setRowHidden(int r, bool hidden)
{
    if (r < 0 || r >= rows_ || rowHidden_[r] == hidden) return;
    rowHidden_[r] = hidden;
    layoutChanged(r, -1);
}

bool FlexGrid::ColHidden(int c) const { return c >= 0 && c < cols_ && colHidden_[c]; }

void FlexGrid::setColHidden(int c, bool hidden)
{
    if (c < 0 || c >= cols_ || colHidden_[c] == hidden) return;
    colHidden_[c] = hidden;
    layoutChanged(-1, c);
}

void FlexGrid::setGridLineWidth(int px)
{
    gridLineWidth_ = std::max(0, px);
    Refresh();
}

void FlexGrid::layoutChanged(int r, int c)
{
    updateScrollBars();
    Refresh();
    emit AfterRowColResize(r, c);
}

int FlexGrid::rowPx(int r) const
{
    if (r < 0 || r >= rows_ || rowHidden_[r]) return 0;
    return static_cast<int>(std::lround(RowHeight(r) / TwipsPerPixelY()));
}

int FlexGrid::colPx(int c) const
{
    if (c < 0 || c >= cols_ || colHidden_[c]) return 0;
    return static_cast<int>(std::lround(ColWidth(c) / TwipsPerPixelX()));
}

int FlexGrid::bandHeight() const
{
    int h = 0;
    for (int r = 0; r < firstScrollRow(); ++r) h += rowPx(r);
    return h;
}

int FlexGrid::bandWidth() const
{
    int w = 0;
    for (int c = 0; c < firstScrollCol(); ++c) w += colPx(c);
    return w;
}

int FlexGrid::rowY(int r) const
{
    int y = 0;
    if (r < firstScrollRow()) {
        for (int i = 0; i < r; ++i) y += rowPx(i);
        return y;
    }
    y = bandHeight();
    if (r >= topRow_) {
        for (int i = topRow_; i < r; ++i) y += rowPx(i);
    } else {
        for (int i = r; i < topRow_; ++i) y -= rowPx(i);
    }
    return y;
}

int FlexGrid::colX(int c) const
{
    int x = 0;
    if (c < firstScrollCol()) {
        for (int i = 0; i < c; ++i) x += colPx(i);
        return x;
    }
    x = bandWidth();
    if (c >= leftCol_) {
        for (int i = leftCol_; i < c; ++i) x += colPx(i);
    } else {
        for (int i = c; i < leftCol_; ++i) x -= colPx(i);
    }
    return x;
}

// ---------------------------------------------------------------- merging

void FlexGrid::setMergeCells(int mode)
{
    mergeCells_ = mode;
    invalidateMerges();
    Refresh();
}

bool FlexGrid::MergeRow(int r) const { return r >= 0 && r < rows_ && mergeRow_[r]; }

void FlexGrid::setMergeRow(int r, bool on)
{
    if (r < 0 || r >= rows_) return;
    mergeRow_[r] = on;
    invalidateMerges();
    Refresh();
}

bool FlexGrid::MergeCol(int c) const { return c >= 0 && c < cols_ && mergeCol_[c]; }

void FlexGrid::setMergeCol(int c, bool on)
{
    if (c < 0 || c >= cols_) return;
    mergeCol_[c] = on;
    invalidateMerges();
    Refresh();
}

bool FlexGrid::mergeable(int r, int c) const
{
    if (mergeCells_ == flexMergeNever) return false;
    if (mergeCells_ == flexMergeFixedOnly) return r < fixedRows_ || c < fixedCols_;
    return true;
}

// Ranges are found from their top-left cell, first along the row, then down
// over rows whose cells of those columns all hold the same text, so every
// cell belongs to exactly one range. Empty cells never merge.
void FlexGrid::buildMerges() const
{
    if (mergesValid_) return;
    mergesValid_ = true;
    merges_.clear();
    mergeOf_ = QVector<int>(rows_ * cols_, -1);
    if (mergeCells_ == flexMergeNever) return;
    const bool restrictRows = mergeCells_ == flexMergeRestrictRows || mergeCells_ == flexMergeRestrictAll;
    const bool restrictCols = mergeCells_ == flexMergeRestrictColumns || mergeCells_ == flexMergeRestrictAll;
    auto at = [&](int r, int c) { return mergeOf_[r * cols_ + c]; };
    auto sameRange = [&](int ra, int ca, int rb, int cb) { return at(ra, ca) >= 0 && at(ra, ca) == at(rb, cb); };
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < cols_; ++c) {
            if (at(r, c) >= 0 || !mergeable(r, c)) continue;
            const QString& t = cell(r, c).text;
            if (t.isEmpty()) continue;
            int c2 = c;
            if (mergeRow_[r]) {
                while (c2 + 1 < cols_ && at(r, c2 + 1) < 0 && mergeable(r, c2 + 1) && cell(r, c2 + 1).text == t &&
                       (!restrictRows || r == 0 || sameRange(r - 1, c2, r - 1, c2 + 1)))
                    ++c2;
            }
            int r2 = r;
            while (r2 + 1 < rows_) {
                const int nr = r2 + 1;
                bool ok = true;
                for (int cc = c; cc <= c2 && ok; ++cc)
                    ok = mergeCol_[cc] && at(nr, cc) < 0 && mergeable(nr, cc) && cell(nr, cc).text == t;
                if (ok && restrictCols && c > 0) ok = sameRange(r2, c - 1, nr, c - 1);
                if (!ok) break;
                r2 = nr;
            }
            if (r2 == r && c2 == c) continue;
            const int idx = merges_.size();
            merges_.push_back({r, c, r2, c2});
            for (int rr = r; rr <= r2; ++rr)
                for (int cc = c; cc <= c2; ++cc) mergeOf_[rr * cols_ + cc] = idx;
        }
    }
}

void FlexGrid::GetMergedRange(int r, int c, int& r1, int& c1, int& r2, int& c2) const
{
    r1 = r2 = r;
    c1 = c2 = c;
    if (!validCell(r, c)) return;
    buildMerges();
    const int idx = mergeOf_[r * cols_ + c];
    if (idx < 0) return;
    const Range& rg = merges_[idx];
    r1 = rg.r1;
    c1 = rg.c1;
    r2 = rg.r2;
    c2 = rg.c2;
}

// ---------------------------------------------------------------- scrolling

int FlexGrid::maxTopRow() const
{
    const int first = firstScrollRow();
    if (rows_ <= first) return first;
    const int avail = viewport()->height() - bandHeight();
    int used = 0;
    int t = rows_ - 1;
    for (int i = rows_ - 1; i >= first; --i) {
        if (used + rowPx(i) > avail) break;
        used += rowPx(i);
        t = i;
    }
    return t;
}

int FlexGrid::maxLeftCol() const
{
    const int first = firstScrollCol();
    if (cols_ <= first) return first;
    const int avail = viewport()->width() - bandWidth();
    int used = 0;
    int t = cols_ - 1;
    for (int i = cols_ - 1; i >= first; --i) {
        if (used + colPx(i) > avail) break;
        used += colPx(i);
        t = i;
    }
    return t;
}

void FlexGrid::updateScrollBars()
{
    syncingBars_ = true;
    verticalScrollBar()->setRange(firstScrollRow(), maxTopRow());
    verticalScrollBar()->setPageStep(std::max(1, BottomRow() - topRow_));
    horizontalScrollBar()->setRange(firstScrollCol(), maxLeftCol());
    horizontalScrollBar()->setPageStep(std::max(1, RightCol() - leftCol_));
    syncingBars_ = false;
    scrollTo(topRow_, leftCol_);
}

void FlexGrid::scrollTo(int top, int left)
{
    top = std::clamp(top, firstScrollRow(), std::max(firstScrollRow(), maxTopRow()));
    left = std::clamp(left, firstScrollCol(), std::max(firstScrollCol(), maxLeftCol()));
    syncingBars_ = true;
    verticalScrollBar()->setValue(top);
    horizontalScrollBar()->setValue(left);
    syncingBars_ = false;
    if (top == topRow_ && left == leftCol_) return;
    const int oldTop = topRow_, oldLeft = leftCol_;
    topRow_ = top;
    leftCol_ = left;
    Refresh();
    emit AfterScroll(oldTop, oldLeft, topRow_, leftCol_);
}

void FlexGrid::scrollContentsBy(int, int)
{
    if (syncingBars_) return;
    scrollTo(verticalScrollBar()->value(), horizontalScrollBar()->value());
}

void FlexGrid::setTopRow(int r) { scrollTo(r, leftCol_); }
void FlexGrid::setLeftCol(int c) { scrollTo(topRow_, c); }

int FlexGrid::BottomRow() const
{
    const int avail = viewport()->height() - bandHeight();
    int used = 0;
    int last = topRow_;
    for (int i = topRow_; i < rows_; ++i) {
        if (rowPx(i) == 0) continue;
        if (used >= avail) break;
        used += rowPx(i);
        last = i;
    }
    return last;
}

int FlexGrid::RightCol() const
{
    const int avail = viewport()->width() - bandWidth();
    int used = 0;
    int last = leftCol_;
    for (int i = leftCol_; i < cols_; ++i) {
        if (colPx(i) == 0) continue;
        if (used >= avail) break;
        used += colPx(i);
        last = i;
    }
    return last;
}

bool FlexGrid::RowIsVisible(int r) const
{
    if (r < 0 || r >= rows_ || rowPx(r) == 0) return false;
    if (r >= firstScrollRow() && r < topRow_) return false;
    return rowY(r) < viewport()->height();
}

bool FlexGrid::ColIsVisible(int c) const
{
    if (c < 0 || c >= cols_ || colPx(c) == 0) return false;
    if (c >= firstScrollCol() && c < leftCol_) return false;
    return colX(c) < viewport()->width();
}

void FlexGrid::ShowCell(int r, int c)
{
    int top = topRow_, left = leftCol_;
    if (r >= firstScrollRow() && r < rows_) {
        if (r < top) {
            top = r;
        } else {
            const int avail = viewport()->height() - bandHeight();
            auto bottom = [&](int t) {
                int h = 0;
                for (int i = t; i <= r; ++i) h += rowPx(i);
                return h;
            };
            while (top < r && bottom(top) > avail) ++top;
        }
    }
    if (c >= firstScrollCol() && c < cols_) {
        if (c < left) {
            left = c;
        } else {
            const int avail = viewport()->width() - bandWidth();
            auto right = [&](int l) {
                int w = 0;
                for (int i = l; i <= c; ++i) w += colPx(i);
                return w;
            };
            while (left < c && right(left) > avail) ++left;
        }
    }
    scrollTo(top, left);
}

// ---------------------------------------------------------------- geometry

int FlexGrid::CellLeft(int r, int c) const
{
    if (!validCell(r, c)) return 0;
    return static_cast<int>(std::lround(colX(c) * TwipsPerPixelX()));
}

int FlexGrid::CellTop(int r, int c) const
{
    if (!validCell(r, c)) return 0;
    return static_cast<int>(std::lround(rowY(r) * TwipsPerPixelY()));
}

int FlexGrid::CellWidth(int r, int c) const
{
    int r1, c1, r2, c2;
    GetMergedRange(r, c, r1, c1, r2, c2);
    int w = 0;
    for (int i = c1; i <= c2; ++i) w += colPx(i);
    return static_cast<int>(std::lround(w * TwipsPerPixelX()));
}

int FlexGrid::CellHeight(int r, int c) const
{
    int r1, c1, r2, c2;
    GetMergedRange(r, c, r1, c1, r2, c2);
    int h = 0;
    for (int i = r1; i <= r2; ++i) h += rowPx(i);
    return static_cast<int>(std::lround(h * TwipsPerPixelY()));
}

int FlexGrid::RowAt(int y) const
{
    if (y < 0 || y >= viewport()->height()) return -1;
    const int band = firstScrollRow();
    int acc = 0;
    for (int r = 0; r < band; ++r) {
        acc += rowPx(r);
        if (y < acc) return r;
    }
    for (int r = topRow_; r < rows_; ++r) {
        acc += rowPx(r);
        if (y < acc) return r;
    }
    return -1;
}

int FlexGrid::ColAt(int x) const
{
    if (x < 0 || x >= viewport()->width()) return -1;
    const int band = firstScrollCol();
    int acc = 0;
    for (int c = 0; c < band; ++c) {
        acc += colPx(c);
        if (x < acc) return c;
    }
    for (int c = leftCol_; c < cols_; ++c) {
        acc += colPx(c);
        if (x < acc) return c;
    }
    return -1;
}

int FlexGrid::Height() const { return static_cast<int>(std::lround(height() * TwipsPerPixelY())); }
int FlexGrid::Width() const { return static_cast<int>(std::lround(width() * TwipsPerPixelX())); }
double FlexGrid::TwipsPerPixelX() const { return vbqt::TwipsPerPixelX(*this); }
double FlexGrid::TwipsPerPixelY() const { return vbqt::TwipsPerPixelY(*this); }
int FlexGrid::TwipsToPixelsX(int twips) const { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int FlexGrid::TwipsToPixelsY(int twips) const { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }

// ---------------------------------------------------------------- selection

void FlexGrid::setSelectionMode(int mode)
{
    selectionMode_ = mode;
    if (mode != flexSelectionListBox) selected_.clear();
    Refresh();
}

void FlexGrid::setHighLight(int mode)
{
    highLight_ = mode;
    Refresh();
}

void FlexGrid::setAllowBigSelection(bool on) { allowBigSelection_ = on; }

int FlexGrid::SelectedRow(int i) const { return i >= 0 && i < selected_.size() ? selected_[i] : -1; }

void FlexGrid::selectRowsTo(int r)
{
    if (anchorRow_ < 0) anchorRow_ = r;
    selected_.clear();
    for (int i = std::min(anchorRow_, r); i <= std::max(anchorRow_, r); ++i)
        if (!rowHidden_[i]) selected_.push_back(i);
    Refresh();
}

// ---------------------------------------------------------------- drawing

void FlexGrid::setRedraw(bool on)
{
    redraw_ = on;
    if (on) viewport()->update();
}

void FlexGrid::Refresh()
{
    if (redraw_) viewport()->update();
}

QRect FlexGrid::rangeRect(const Range& rg, const QVector<int>& rows, const QVector<int>& cols) const
{
    int top = INT_MAX, bottom = INT_MIN, left = INT_MAX, right = INT_MIN;
    for (int r : rows) {
        if (r < rg.r1 || r > rg.r2) continue;
        top = std::min(top, rowY(r));
        bottom = std::max(bottom, rowY(r) + rowPx(r));
    }
    for (int c : cols) {
        if (c < rg.c1 || c > rg.c2) continue;
        left = std::min(left, colX(c));
        right = std::max(right, colX(c) + colPx(c));
    }
    if (top == INT_MAX || left == INT_MAX) return {};
    return QRect(left, top, right - left, bottom - top);
}

void FlexGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    const QPalette& pal = palette();
    const int vw = viewport()->width(), vh = viewport()->height();
    p.fillRect(viewport()->rect(), OleToColor(kSysButtonFace, pal).darker(115));
    buildMerges();

    QVector<int> rowsA, rowsB, colsA, colsB;
    for (int r = 0; r < firstScrollRow(); ++r)
        if (rowPx(r) > 0) rowsA.push_back(r);
    for (int r = topRow_; r < rows_ && rowY(r) < vh; ++r)
        if (rowPx(r) > 0) rowsB.push_back(r);
    for (int c = 0; c < firstScrollCol(); ++c)
        if (colPx(c) > 0) colsA.push_back(c);
    for (int c = leftCol_; c < cols_ && colX(c) < vw; ++c)
        if (colPx(c) > 0) colsB.push_back(c);
    const int bw = bandWidth(), bh = bandHeight();

    struct Quadrant {
        const QVector<int>* rows;
        const QVector<int>* cols;
        QRect clip;
    };
    const Quadrant quads[] = {
        {&rowsB, &colsB, QRect(bw, bh, vw - bw, vh - bh)},
        {&rowsB, &colsA, QRect(0, bh, bw, vh - bh)},
        {&rowsA, &colsB, QRect(bw, 0, vw - bw, bh)},
        {&rowsA, &colsA, QRect(0, 0, bw, bh)},
    };
    const QColor lineColor = OleToColor(kSysButtonFace, pal).darker(140);
    const bool rowSelect = selectionMode_ != flexSelectionFree;
    for (const Quadrant& q : quads) {
        if (q.clip.isEmpty()) continue;
        p.save();
        p.setClipRect(q.clip);
        QSet<int> done;
        for (int r : *q.rows) {
            for (int c : *q.cols) {
                int r1, c1, r2, c2;
                GetMergedRange(r, c, r1, c1, r2, c2);
                const int key = r1 * cols_ + c1;
                if (done.contains(key)) continue;
                done.insert(key);
                const QRect rc = rangeRect({r1, c1, r2, c2}, *q.rows, *q.cols);
                if (rc.isEmpty()) continue;
                const bool fixed = r1 < fixedRows_ || c1 < fixedCols_;
                std::uint32_t back = cell(r1, c1).back;
                if (back == 0) back = fixed ? backColorFixed_ : backColor_;
                QColor bg = OleToColor(back, pal);
                QColor fg = pal.color(QPalette::Text);
                // By row, the current row is the selection.
                const bool selected =
                    selectionMode_ == flexSelectionByRow ? r1 == row_ : selected_.contains(r1);
                if (!fixed && rowSelect && highLight_ != 0 && selected) {
                    bg = pal.color(QPalette::Highlight);
                    fg = pal.color(QPalette::HighlightedText);
                }
                p.fillRect(rc, bg);
                if (gridLineWidth_ > 0) {
                    p.fillRect(QRect(rc.right() - gridLineWidth_ + 1, rc.top(), gridLineWidth_, rc.height()),
                               lineColor);
                    p.fillRect(QRect(rc.left(), rc.bottom() - gridLineWidth_ + 1, rc.width(), gridLineWidth_),
                               lineColor);
                }
                const QString& text = cell(r1, c1).text;
                if (!text.isEmpty()) {
                    int align = CellAlignment(r1, c1);
                    Qt::Alignment a;
                    if (align == flexAlignGeneral) {
                        bool num = false;
                        text.trimmed().toDouble(&num);
                        a = (num ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
                    } else {
                        a = (align / 3 == 0 ? Qt::AlignLeft : align / 3 == 1 ? Qt::AlignHCenter : Qt::AlignRight);
                        a |= (align % 3 == 0 ? Qt::AlignTop : align % 3 == 1 ? Qt::AlignVCenter : Qt::AlignBottom);
                    }
                    // A label merged over several rows wraps rather than being
                    // cut at the column edge: the height is there to use. Any
                    // other text too wide for its cell is condensed: a cut
                    // number would be read as another number.
                    const QRect box = rc.adjusted(2, 1, -2 - gridLineWidth_, -1 - gridLineWidth_);
                    p.setPen(fg);
                    if (r2 > r1 && p.fontMetrics().horizontalAdvance(text) > box.width())
                        p.drawText(box, int(a) | Qt::TextWrapAnywhere, text);
                    else
                        vbqt::drawFittedText(p, box, int(a), text);
                }
                if (!fixed && !rowSelect && hasFocus() && r1 <= row_ && row_ <= r2 && c1 <= col_ && col_ <= c2) {
                    p.setPen(QPen(pal.color(QPalette::Text), 1, Qt::DotLine));
                    p.drawRect(rc.adjusted(1, 1, -1 - gridLineWidth_, -1 - gridLineWidth_));
                }
            }
        }
        p.restore();
    }
}

void FlexGrid::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
    emit AfterClientResize(static_cast<int>(std::lround(viewport()->width() * TwipsPerPixelX())),
                           static_cast<int>(std::lround(viewport()->height() * TwipsPerPixelY())));
}

// ---------------------------------------------------------------- input

static int MouseButtonCode(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

static int ShiftOf(Qt::KeyboardModifiers m)
{
    int s = 0;
    if (m & Qt::ShiftModifier) s |= vbShiftMask;
    if (m & Qt::ControlModifier) s |= vbCtrlMask;
    if (m & Qt::AltModifier) s |= vbAltMask;
    return s;
}

void FlexGrid::mousePressEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    mouseRow_ = RowAt(pt.y());
    mouseCol_ = ColAt(pt.x());
    bool cancel = false;
    const int shift = ShiftOf(e->modifiers());
    emit BeforeMouseDown(MouseButtonCode(e->button()), shift, static_cast<float>(pt.x() * TwipsPerPixelX()),
                         static_cast<float>(pt.y() * TwipsPerPixelY()), &cancel);
    if (cancel || e->button() != Qt::LeftButton) return;
    const int r = mouseRow_, c = mouseCol_;
    if (r < fixedRows_ || c < 0) return;
    const bool listBox = selectionMode_ == flexSelectionListBox;
    if (listBox || (allowBigSelection_ && c < fixedCols_)) {
        if (listBox && (shift & vbCtrlMask)) {
            if (selected_.contains(r))
                selected_.removeAll(r);
            else
                selected_.push_back(r);
            std::sort(selected_.begin(), selected_.end());
            anchorRow_ = r;
        } else if (listBox && (shift & vbShiftMask)) {
            selectRowsTo(r);
        } else {
            selected_ = {r};
            anchorRow_ = r;
        }
        dragging_ = listBox;
        Refresh();
    }
    setCurrent(r, c < fixedCols_ ? std::max(col_, fixedCols_) : c, true);
}

void FlexGrid::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    mouseRow_ = RowAt(pt.y());
    mouseCol_ = ColAt(pt.x());
    int button = 0;
    if (e->buttons() & Qt::LeftButton) button |= 1;
    if (e->buttons() & Qt::RightButton) button |= 2;
    emit MouseMove(button, ShiftOf(e->modifiers()), static_cast<float>(pt.x() * TwipsPerPixelX()),
                   static_cast<float>(pt.y() * TwipsPerPixelY()));
    if (dragging_ && (e->buttons() & Qt::LeftButton) && mouseRow_ >= fixedRows_) selectRowsTo(mouseRow_);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e)
{
    dragging_ = false;
    if (e->button() == Qt::LeftButton && viewport()->rect().contains(e->position().toPoint())) emit Click();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) emit DblClick();
}

void FlexGrid::moveByKey(int key)
{
    int r = row_, c = col_;
    if (r < 0 || c < 0) return;
    auto nextRow = [&](int from, int step) {
        for (int i = from + step; i >= fixedRows_ && i < rows_; i += step)
            if (rowPx(i) > 0) return i;
        return from;
    };
    auto nextCol = [&](int from, int step) {
        for (int i = from + step; i >= fixedCols_ && i < cols_; i += step)
            if (colPx(i) > 0) return i;
        return from;
    };
    switch (key) {
    case vbKeyUp: r = nextRow(r, -1); break;
    case vbKeyDown: r = nextRow(r, 1); break;
    case vbKeyLeft: c = nextCol(c, -1); break;
    case vbKeyRight: c = nextCol(c, 1); break;
    case vbKeyHome: c = nextCol(fixedCols_ - 1, 1); break;
    case vbKeyEnd: c = nextCol(cols_, -1); break;
    case vbKeyPageUp:
        for (int i = 0; i < std::max(1, BottomRow() - topRow_); ++i) r = nextRow(r, -1);
        break;
    case vbKeyPageDown:
        for (int i = 0; i < std::max(1, BottomRow() - topRow_); ++i) r = nextRow(r, 1);
        break;
    default: return;
    }
    if (selectionMode_ == flexSelectionListBox) {
        selected_ = {r};
        anchorRow_ = r;
    }
    setCurrent(r, c, true);
}

void FlexGrid::keyPressEvent(QKeyEvent* e)
{
    int code = VbKeyCode(*e);
    int shift = VbShiftState(*e);
    if (code != 0) emit KeyDown(&code, &shift);
    if (code == 0) {
        e->accept();
        return;
    }
    switch (code) {
    case vbKeyUp:
    case vbKeyDown:
    case vbKeyLeft:
    case vbKeyRight:
    case vbKeyHome:
    case vbKeyEnd:
    case vbKeyPageUp:
    case vbKeyPageDown:
        moveByKey(code);
        e->accept();
        return;
    default:
        e->ignore();
    }
}

void FlexGrid::focusInEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusInEvent(e);
    Refresh();
    emit GotFocus();
}

void FlexGrid::focusOutEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusOutEvent(e);
    Refresh();
    emit LostFocus();
}

}  // namespace qtgrid
