// In-cell editor of a grid: a borderless frame with a borderless text box
// laid over the grid's current cell. The owner opens it on a cell with an
// input filter; the entry is committed when the focus leaves the box, when a
// movement key leaves the cell or the cell scrolls out of view, and the new
// value is handed to the owner through Validate. Movement keys follow the
// move mode; the grid can switch between cell and list-box row selection.
//
// Lengths are twips of the grid's client area, flags are bool. Errors of
// focus moves and placing are ignored, as a control that cannot take the
// focus simply leaves it where it is.
#pragma once

#include "platform/qt/grid/flexgrid.h"
#include "platform/qt/grid/textbox.h"

#include <QFrame>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>

class QLineEdit;
class QWidget;
class zDLEditBox_Vendra;

class zDLFlex8_Vendra : public QObject {
    Q_OBJECT
public:
    // Needs the program-wide system metrics (model::gzDLGetSys); throws
    // std::runtime_error without them.
    explicit zDLFlex8_Vendra(QObject* parent = nullptr);
    ~zDLFlex8_Vendra() override;

    int prpMoveMode() const { return moveMode_; }
    void setprpMoveMode(int vintMode) { moveMode_ = vintMode; }
    bool prpMultiSelect() const { return multiSelect_; }
    void setprpMultiSelect(bool vblnFlag) { multiSelect_ = vblnFlag; }
    bool prpToolTip_Sort() const { return toolTipSort_; }
    void setprpToolTip_Sort(bool vblnFlag) { toolTipSort_ = vblnFlag; }
    bool prpToolTip_MultiSelect() const { return toolTipMulti_; }
    void setprpToolTip_MultiSelect(bool vblnFlag) { toolTipMulti_ = vblnFlag; }

    qtgrid::FlexGrid* prpFlex() const { return mobjFlexGrid; }
    void setprpFlex(qtgrid::FlexGrid* vobjFlex);
    QFrame* prpInputContainer() const { return mobjInputContainer; }
    void setprpInputContainer(QFrame* vobjContainer);
    QLineEdit* prpInputTextBox() const;
    void setprpInputTextBox(QLineEdit* vobjTextBox);

    bool prp_VScroll() const;
    bool prp_HScroll() const;

    void Input_Reset(bool vblnShowCell = true);
    void Input_Text(zDLEditBox_Vendra* vobjInputCls);
    void Input_TextLocked();
    void EditText(const QString& vstrText);
    void Resize();
    void RaiseValidate();
    void Set_SelectMode(int vbytMode);
    int Get_RowHidden(int Row) const;
    int Get_ColHidden(int Col) const;

    // State, for the owners' and the tests' eyes.
    int inputMode() const { return mintInputMode; }
    int editRow() const { return mlngRow; }
    int editCol() const { return mlngCol; }
    bool caretMode() const { return mblnCaretMode; }
    QString oldText() const { return mstrOldText; }
    int clientWidth() const { return mlngClientWidth; }
    int clientHeight() const { return mlngClientHeight; }

    // General number text of a Double, as the cells show it ("1.5").
    static QString VarToStr(const QVariant& v);
    static double VarToDbl(const QVariant& v);
    static long VarToLng(const QVariant& v);

signals:
    void Validate(int Row, int Col, const QVariant& Ans, bool Check);
    void AfterKeyMove(int Row, int Col, int KeyCode, int Shift);
    void BeforeKeyMove(int Row, int Col, bool* Allow);
    // SelectRow holds 0 in element 0 and the selected rows in 1..SelectRowCt.
    void DeleteSelectRows(QVector<int>* SelectRow, int SelectRowCt, bool* Reflect);

private:
    // Takes the current cell for an edit; false (and the editor reset) when
    // there is none to edit.
    bool BeginInput();
    // Grid notifications.
    void OnGridScrolled(int oldTop, int oldLeft, int newTop, int newLeft);
    void OnGridLayoutChanged(int row, int col);
    void OnGridLayoutChanged2(int width, int height);
    void OnGridGotFocus();
    void OnGridKeyDown(int* KeyCode, int* Shift);
    void OnGridMouseDown(int Button, int Shift, float X, float Y, bool* Cancel);
    void OnGridMouseMove(int Button, int Shift, float X, float Y);
    // Text box notifications.
    void mobjInputTextBox_KeyDown(int& KeyCode, int& Shift);
    void mobjInputTextBox_KeyPress(int& KeyAscii);
    void mobjInputTextBox_GotFocus();
    void mobjInputTextBox_Validate();

    void PlaceEditorFrame();
    void PlaceEditor(bool afterScroll);
    bool IsCellInView(int Row, int Col) const;
    bool IsRowHidden(int Row) const;
    bool IsColHidden(int Col) const;
    void MeasureGridClient();
    void CommitEdit();
    void SetFocusKeepCapture(QWidget* control);
    void ValidateAndFocus(QWidget* control);
    bool focusFlag() const;
    void moveEditor(int left, int top, int width, int height);
    void FitInputFont();
    void HandleEditorKey(int& KeyCode, int& Shift);
    bool findCell(int dir, int& r, int& c) const;
    void ApplySelectMode(int mode);
    void attachFrame();

    QPointer<qtgrid::FlexGrid> mobjFlexGrid;
    QPointer<QFrame> mobjInputContainer;
    std::unique_ptr<qtgrid::VbTextBox> mobjInputTextBox;
    int mInputStretch = 0;  // the text box's own stretch; a wide value is shown condensed
    QMetaObject::Connection mInputFitting;
    zDLEditBox_Vendra* mobjInputCls = nullptr;

    long mlngGridLineWidth = 0;
    long mlngVScrollWidth = 0;
    long mlngHScrollHeight = 0;
    int mintInputMode = 0;
    int moveMode_ = 0;
    int mlngRow = 0;
    int mlngCol = 0;
    bool mblnCaretMode = false;
    QString mstrOldText;
    bool multiSelect_ = false;
    bool toolTipSort_ = false;
    bool toolTipMulti_ = false;
    int mlngClientWidth = 0;
    int mlngClientHeight = 0;
    bool mblnNoValidate = false;
    QVector<QMetaObject::Connection> gridConnections_;
};
