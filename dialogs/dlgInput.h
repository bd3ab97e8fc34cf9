// The stress input dialog: every stress of the current column's load table in
// one grid, loading in X in the first data column and loading in Y in the
// second, one block of N, M and Q rows per load case. Works on a copy of the
// current column; OK writes it back and sets prpEdit, which tells the opener
// to recalculate.
#pragma once

#include "model/index_man.h"
#include "model/records.h"

#include <QDialog>
#include <QSize>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QFrame;
class QLineEdit;
class QPushButton;
class QToolButton;
class zDLEditBox_Vendra;
class zDLFlex8_Vendra;
namespace qtgrid {
class FlexGrid;
}

// One editable grid cell and the load-table field it holds.
struct StressCellTbl {
    int32_t GridRow = 0;
    int32_t GridCol = 0;
    int32_t Component = 0;  // 1..8
    int32_t LoadCase = 0;   // 1..20
};

// The editable cells of the grid, appended one at a time and found by their
// "row,col" key; positions are 1-based.
class StressCellMap {
public:
    static std::string MakeCellKey(int32_t row, int32_t col);
    void RegisterStressCell(int32_t row, int32_t col, int32_t component, int32_t loadCase);
    // The cell's position, 0 when it is not in the map; entry is set only
    // when it is.
    int32_t LookupStressCell(int32_t row, int32_t col, StressCellTbl& entry) const;
    const std::vector<StressCellTbl>& Cells() const { return cells_; }

private:
    std::vector<StressCellTbl> cells_;
    model::clsIndexMan_Str_Vendra index_;
};

class dlgInput : public QDialog {
    Q_OBJECT
public:
    // Cells that never take entry.
    static constexpr std::uint32_t kLockedColor = 0x404040;

    // Loads at once for the current column (gCurCol).
    explicit dlgInput(QWidget* parent = nullptr);
    ~dlgInput() override;

    // True only when the dialog was closed with OK.
    bool prpEdit() const { return mblnEdit; }
    const model::ColumnDataTbl& WorkColumn() const { return work_; }
    const StressCellMap& CellMap() const { return cells_; }
    zDLFlex8_Vendra* FlexInput() const { return mobjFlexInput1.get(); }

    // The grid's layout for the current short-term load kind, symmetry and
    // calculation modes; every editable cell goes into cells.
    static void BuildStressGrid(qtgrid::FlexGrid& grid, StressCellMap& cells);
    static void SetStressColumnTitles(qtgrid::FlexGrid& grid, int first, int last, const QString& title,
                                      bool visible);

    void Form_Load();
    void Form_Unload();
    void Form_Resize();
    void BuildStressGrid();
    void FillStressGrid();
    void StoreStressCell(int row, int col);
    void mobjFlexInput1_Validate(int Row, int Col, const QVariant& Ans, bool Check);
    void grdInput_EnterCell();
    void optFlexMoveMode_Click(int Index);
    void cmdOK_Click();
    void cmdCancel_Click();

    qtgrid::FlexGrid* grdInput = nullptr;
    QFrame* fraInput1 = nullptr;
    QLineEdit* txtInput1 = nullptr;
    std::array<QToolButton*, 2> optFlexMoveMode{};
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    // Every closing (OK, キャンセル, Esc, the close box) unloads.
    void done(int r) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void ApplyOuterSize();

    model::ColumnDataTbl work_;
    StressCellMap cells_;
    std::unique_ptr<zDLEditBox_Vendra> mobjEditBox;
    std::unique_ptr<zDLFlex8_Vendra> mobjFlexInput1;
    bool mblnEdit = false;
    bool mblnLoading = false;
    bool unloaded_ = false;
    QSize outerSize_;  // the kept size until the first showing
};
