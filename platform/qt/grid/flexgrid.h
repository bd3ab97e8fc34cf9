// The grid control of the windows: a table whose first rows and columns are
// fixed headers that stay while the rest scrolls by whole rows and columns,
// with cell texts, colours, alignment, sizes in twips, hidden rows and
// columns, merging of equal neighbouring texts, a current cell, cell or
// list-box row selection, and key codes and mouse positions in the units the
// windows use. It paints itself: the fixed and frozen bands, scrolling by
// whole rows and the merged ranges are easier to keep exact that way than on
// an item view.
//
// Colours are OLE colour values: 0x00BBGGRR, or a system colour index with
// the top bit set (0x80000005 the window background). A cell colour of 0
// means "not set": the cell shows the grid's colour for its kind.
#pragma once

#include "platform/qt/ole_color.h"

#include <QAbstractScrollArea>
#include <QString>
#include <QVector>
#include <cstdint>

namespace qtgrid {

// OLE colour helpers.
constexpr std::uint32_t kSysWindow = 0x80000005u;       // window background
constexpr std::uint32_t kSysActiveBorder = 0x8000000Au; // locked cells
constexpr std::uint32_t kSysButtonFace = 0x8000000Fu;
// The grid keeps OLE colours unsigned; the mapping is the one of platform/qt.
inline QColor OleToColor(std::uint32_t ole, const QPalette& pal)
{
    return vbqt::oleToQColor(static_cast<int32_t>(ole), pal);
}

// Cell alignment codes.
enum FlexAlign : int {
    flexAlignLeftTop = 0,
    flexAlignLeftCenter = 1,
    flexAlignLeftBottom = 2,
    flexAlignCenterTop = 3,
    flexAlignCenterCenter = 4,
    flexAlignCenterBottom = 5,
    flexAlignRightTop = 6,
    flexAlignRightCenter = 7,
    flexAlignRightBottom = 8,
    flexAlignGeneral = 9,
};

// Merge settings.
enum FlexMerge : int {
    flexMergeNever = 0,
    flexMergeFree = 1,
    flexMergeRestrictRows = 2,
    flexMergeRestrictColumns = 3,
    flexMergeRestrictAll = 4,
    flexMergeFixedOnly = 5,
};

// Selection modes: 0 free (single cell), 1 by row, 3 list box (rows, several).
enum FlexSelection : int { flexSelectionFree = 0, flexSelectionByRow = 1, flexSelectionListBox = 3 };

class FlexGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // Size and bands.
    int Rows() const { return rows_; }
    void setRows(int n);
    int Cols() const { return cols_; }
    void setCols(int n);
    // Inserts a row at index (appends for -1 or past the end); the item's
    // tab-separated texts fill its cells from column 0. The rows below move
    // down with their texts, colours and heights.
    void AddItem(const QString& item, int index = -1);
    // Removes a row; the rows below move up. Out of range: nothing.
    void RemoveItem(int index);
    int FixedRows() const { return fixedRows_; }
    void setFixedRows(int n);
    int FixedCols() const { return fixedCols_; }
    void setFixedCols(int n);
    int FrozenRows() const { return frozenRows_; }
    void setFrozenRows(int n);
    int FrozenCols() const { return frozenCols_; }
    void setFrozenCols(int n);

    // Current cell; -1 when the grid has no scrollable cell. Changing it
    // raises RowColChange and EnterCell.
    int Row() const { return row_; }
    void setRow(int r);
    int Col() const { return col_; }
    void setCol(int c);
    void Select(int r, int c);

    // Texts.
    QString TextMatrix(int r, int c) const;
    void setTextMatrix(int r, int c, const QString& s);

    // Colours and alignment.
    std::uint32_t BackColor() const { return backColor_; }
    void setBackColor(std::uint32_t ole);
    std::uint32_t BackColorFixed() const { return backColorFixed_; }
    void setBackColorFixed(std::uint32_t ole);
    std::uint32_t CellBackColor(int r, int c) const;
    void setCellBackColor(int r, int c, std::uint32_t ole);
    int CellAlignment(int r, int c) const;
    void setCellAlignment(int r, int c, int align);
    int ColAlignment(int c) const;
    void setColAlignment(int c, int align);

    // Sizes in twips; hidden rows and columns.
    int RowHeight(int r) const;
    void setRowHeight(int r, int twips);
    int ColWidth(int c) const;
    void setColWidth(int c, int twips);
    bool RowHidden(int r) const;
    void setRowHidden(int r, bool hidden);
    bool ColHidden(int c) const;
    void setColHidden(int c, bool hidden);
    int GridLineWidth() const { return gridLineWidth_; }
    void setGridLineWidth(int px);

    // Merging of equal neighbouring texts.
    int MergeCells() const { return mergeCells_; }
    void setMergeCells(int mode);
    bool MergeRow(int r) const;
    void setMergeRow(int r, bool on);
    bool MergeCol(int c) const;
    void setMergeCol(int c, bool on);
    void GetMergedRange(int r, int c, int& r1, int& c1, int& r2, int& c2) const;

    // Scrolling and what is on screen.
    int TopRow() const { return topRow_; }
    void setTopRow(int r);
    int LeftCol() const { return leftCol_; }
    void setLeftCol(int c);
    int BottomRow() const;
    int RightCol() const;
    bool RowIsVisible(int r) const;
    bool ColIsVisible(int c) const;
    void ShowCell(int r, int c);

    // Cell geometry in twips of the client area (the cells' own origin),
    // merged ranges included: a cell of a range reports the range's size.
    int CellLeft(int r, int c) const;
    int CellTop(int r, int c) const;
    int CellWidth(int r, int c) const;
    int CellHeight(int r, int c) const;

    // Selection.
    int SelectionMode() const { return selectionMode_; }
    void setSelectionMode(int mode);
    int HighLight() const { return highLight_; }
    void setHighLight(int mode);
    bool AllowBigSelection() const { return allowBigSelection_; }
    void setAllowBigSelection(bool on);
    int SelectedRows() const { return selected_.size(); }
    int SelectedRow(int i) const;

    // Drawing.
    bool Redraw() const { return redraw_; }
    void setRedraw(bool on);
    void Refresh();

    // Mouse position of the last mouse event, -1 outside the cells.
    int MouseRow() const { return mouseRow_; }
    int MouseCol() const { return mouseCol_; }

    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString& s) { setToolTip(s); }

    // The control's own size in twips, and the screen's twips per pixel.
    int Height() const;
    int Width() const;
    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;
    int TwipsToPixelsX(int twips) const;
    int TwipsToPixelsY(int twips) const;

    // Cell under a point of the viewport, or -1.
    int RowAt(int y) const;
    int ColAt(int x) const;

signals:
    void RowColChange();
    void EnterCell();
    void AfterScroll(int oldTopRow, int oldLeftCol, int newTopRow, int newLeftCol);
    // A row's or column's size or hidden state changed (the other is -1).
    void AfterRowColResize(int row, int col);
    // The client area changed size (width and height in twips).
    void AfterClientResize(int widthTwips, int heightTwips);
    void BeforeMouseDown(int button, int shift, float x, float y, bool* cancel);
    void MouseMove(int button, int shift, float x, float y);
    void Click();
    void DblClick();
    // Key codes as in vbkeys.h; a handler that clears *keyCode keeps the grid
    // from acting on the key.
    void KeyDown(int* keyCode, int* shift);
    void GotFocus();
    void LostFocus();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Cell {
        QString text;
        std::uint32_t back = 0;
        int align = -1;
    };
    struct Range {
        int r1, c1, r2, c2;
    };

    bool validCell(int r, int c) const { return r >= 0 && r < rows_ && c >= 0 && c < cols_; }
    Cell& cell(int r, int c) { return cells_[r * cols_ + c]; }
    const Cell& cell(int r, int c) const { return cells_[r * cols_ + c]; }
    void resizeCells(int rows, int cols);
    int rowPx(int r) const;
    int colPx(int c) const;
    int firstScrollRow() const { return std::min(rows_, fixedRows_ + frozenRows_); }
    int firstScrollCol() const { return std::min(cols_, fixedCols_ + frozenCols_); }
    int bandHeight() const;
    int bandWidth() const;
    // Top of a row in viewport pixels; INT_MIN when scrolled away above.
    int rowY(int r) const;
    int colX(int c) const;
    int maxTopRow() const;
    int maxLeftCol() const;
    void updateScrollBars();
    void scrollTo(int top, int left);
    void setCurrent(int r, int c, bool show);
    void layoutChanged(int r, int c);
    void invalidateMerges() { mergesValid_ = false; }
    void buildMerges() const;
    bool mergeable(int r, int c) const;
    QRect rangeRect(const Range& rg, const QVector<int>& rows, const QVector<int>& cols) const;
    void moveByKey(int key);
    void selectRowsTo(int r);

    int rows_ = 0, cols_ = 0;
    int fixedRows_ = 0, fixedCols_ = 0, frozenRows_ = 0, frozenCols_ = 0;
    int row_ = -1, col_ = -1;
    int topRow_ = 0, leftCol_ = 0;
    QVector<Cell> cells_;
    QVector<int> rowHeight_, colWidth_;
    QVector<bool> rowHidden_, colHidden_, mergeRow_, mergeCol_;
    QVector<int> colAlign_;
    int defaultRowHeight_ = 300;
    int defaultColWidth_ = 960;
    int gridLineWidth_ = 1;
    int mergeCells_ = flexMergeNever;
    std::uint32_t backColor_ = kSysWindow;
    std::uint32_t backColorFixed_ = kSysButtonFace;
    int selectionMode_ = flexSelectionFree;
    int highLight_ = 1;
    bool allowBigSelection_ = false;
    QVector<int> selected_;
    int anchorRow_ = -1;
    bool redraw_ = true;
    int mouseRow_ = -1, mouseCol_ = -1;
    bool dragging_ = false;
    bool syncingBars_ = false;
    mutable bool mergesValid_ = false;
    mutable QVector<int> mergeOf_;  // index into merges_ per cell, -1 = alone
    mutable QVector<Range> merges_;
};

}  // namespace qtgrid
