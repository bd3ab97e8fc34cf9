#include "widgets/zDLFlex8_Vendra.h"

#include "model/globals.h"
#include "platform/qt/grid/flexgrid.h"
#include "platform/qt/grid/textbox.h"
#include "platform/qt/grid/vbkeys.h"
#include "platform/text/vb.h"
#include "widgets/fitted_text.h"
#include "widgets/zDLCtlProc_Vendra.h"
#include "widgets/zDLEditBox_Vendra.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <stdexcept>

using qtgrid::FlexGrid;

namespace {

constexpr int kUp = 1, kDown = 2, kLeft = 3, kRight = 4;

// Runs a step whose failure only means the control stays as it was.
template <class F>
void Quietly(F&& f)
{
    try {
        f();
    } catch (...) {
    }
}

}  // namespace

zDLFlex8_Vendra::zDLFlex8_Vendra(QObject* parent) : QObject(parent)
{
    if (!model::gzDLGetSys) throw std::runtime_error("zDLFlex8_Vendra: the system metrics object does not exist");
    float v = 0, h = 0;
    model::gzDLGetSys->GetScrollBarWidth(v, h);
    mlngVScrollWidth = VarToLng(static_cast<double>(v));
    mlngHScrollHeight = VarToLng(static_cast<double>(h));
}

zDLFlex8_Vendra::~zDLFlex8_Vendra()
{
    for (const auto& c : gridConnections_) disconnect(c);
}

// ---------------------------------------------------------------- conversions

QString zDLFlex8_Vendra::VarToStr(const QVariant& v)
{
    if (v.typeId() == QMetaType::Double) return zDLEditBox_Vendra::PlainText(v.toDouble());
    return v.toString();
}

double zDLFlex8_Vendra::VarToDbl(const QVariant& v)
{
    if (v.typeId() == QMetaType::Double) return v.toDouble();
    return zDLEditBox_Vendra::ToDouble(v.toString());
}

long zDLFlex8_Vendra::VarToLng(const QVariant& v)
{
    try {
        return vb::CLng(VarToDbl(v));
    } catch (...) {
        return 0;
    }
}

// ---------------------------------------------------------------- attaching

void zDLFlex8_Vendra::attachFrame()
{
    if (!mobjFlexGrid || !mobjInputContainer) return;
    mobjInputContainer->setParent(mobjFlexGrid->viewport());
    mobjInputContainer->setFrameShape(QFrame::NoFrame);
    mobjInputContainer->hide();
    mobjInputContainer->raise();
}

void zDLFlex8_Vendra::setprpFlex(FlexGrid* vobjFlex)
{
    for (const auto& c : gridConnections_) disconnect(c);
    gridConnections_.clear();
    mobjFlexGrid = vobjFlex;
    if (!vobjFlex) return;
    mlngGridLineWidth = VarToLng(vobjFlex->GridLineWidth() * vobjFlex->TwipsPerPixelX());
    gridConnections_ = {
        connect(vobjFlex, &FlexGrid::AfterScroll, this, &zDLFlex8_Vendra::OnGridScrolled),
        connect(vobjFlex, &FlexGrid::AfterRowColResize, this, &zDLFlex8_Vendra::OnGridLayoutChanged),
        connect(vobjFlex, &FlexGrid::AfterClientResize, this, &zDLFlex8_Vendra::OnGridLayoutChanged2),
        connect(vobjFlex, &FlexGrid::GotFocus, this, &zDLFlex8_Vendra::OnGridGotFocus),
        connect(vobjFlex, &FlexGrid::KeyDown, this, &zDLFlex8_Vendra::OnGridKeyDown),
        connect(vobjFlex, &FlexGrid::BeforeMouseDown, this, &zDLFlex8_Vendra::OnGridMouseDown),
        connect(vobjFlex, &FlexGrid::MouseMove, this, &zDLFlex8_Vendra::OnGridMouseMove),
    };
    attachFrame();
}

void zDLFlex8_Vendra::setprpInputContainer(QFrame* vobjContainer)
{
    mobjInputContainer = vobjContainer;
    if (!vobjContainer) return;
    vobjContainer->setFrameShape(QFrame::NoFrame);
    vobjContainer->hide();
    attachFrame();
    vobjContainer->raise();
}

QLineEdit* zDLFlex8_Vendra::prpInputTextBox() const
{
    return mobjInputTextBox ? mobjInputTextBox->widget() : nullptr;
}

void zDLFlex8_Vendra::setprpInputTextBox(QLineEdit* vobjTextBox)
{
    disconnect(mInputFitting);
    if (QLineEdit* old = prpInputTextBox()) {
        QFont f = old->font();
        f.setStretch(mInputStretch);
        old->setFont(f);
    }
    mobjInputTextBox.reset();
    if (!vobjTextBox) return;
    vobjTextBox->setFrame(false);
    vobjTextBox->hide();
    mInputStretch = vobjTextBox->font().stretch();
    mInputFitting = connect(vobjTextBox, &QLineEdit::textChanged, this, [this] { FitInputFont(); });
    mobjInputTextBox = std::make_unique<qtgrid::VbTextBox>(vobjTextBox);
    mobjInputTextBox->onKeyDown = [this](int& k, int& s) { mobjInputTextBox_KeyDown(k, s); };
    mobjInputTextBox->onKeyPress = [this](int& k) { mobjInputTextBox_KeyPress(k); };
    mobjInputTextBox->onGotFocus = [this] { mobjInputTextBox_GotFocus(); };
    mobjInputTextBox->onValidate = [this] { mobjInputTextBox_Validate(); };
}

bool zDLFlex8_Vendra::prp_VScroll() const
{
    if (!mobjFlexGrid) return false;
    const QScrollBar* b = mobjFlexGrid->verticalScrollBar();
    return b->maximum() > b->minimum();
}

bool zDLFlex8_Vendra::prp_HScroll() const
{
    if (!mobjFlexGrid) return false;
    const QScrollBar* b = mobjFlexGrid->horizontalScrollBar();
    return b->maximum() > b->minimum();
}

// ---------------------------------------------------------------- focus

bool zDLFlex8_Vendra::focusFlag() const
{
    QWidget* active = QApplication::focusWidget();
    if (!active) return false;
    if (mobjFlexGrid && mobjFlexGrid->isVisible() && active == mobjFlexGrid) return true;
    return mobjInputContainer && mobjInputContainer->isVisible() && active->parentWidget() == mobjInputContainer;
}

void zDLFlex8_Vendra::SetFocusKeepCapture(QWidget* control)
{
    // A scroll bar being dragged keeps its mouse grab while the focus moves.
    if (control) control->setFocus(Qt::OtherFocusReason);
}

void zDLFlex8_Vendra::ValidateAndFocus(QWidget* control)
{
    Quietly([&] {
        QLineEdit* box = prpInputTextBox();
        if (box && QApplication::focusWidget() == box && !mblnNoValidate) CommitEdit();
        // The entry is committed already: the focus move must not do it again.
        const bool saved = mblnNoValidate;
        mblnNoValidate = true;
        if (control) control->setFocus(Qt::OtherFocusReason);
        mblnNoValidate = saved;
    });
}

// ---------------------------------------------------------------- opening

bool zDLFlex8_Vendra::BeginInput()
{
    if (!mobjFlexGrid) return false;
    mlngRow = mobjFlexGrid->Row();
    mlngCol = mobjFlexGrid->Col();
    if (mlngRow == -1 || mlngCol == -1 || mobjFlexGrid->SelectionMode() == qtgrid::flexSelectionListBox) {
        Input_Reset(true);
        return false;
    }
    mintInputMode = 3;
    return true;
}

void zDLFlex8_Vendra::Input_Text(zDLEditBox_Vendra* vobjInputCls)
{
    if (!BeginInput()) return;
    mobjInputCls = vobjInputCls;
    if (QLineEdit* box = prpInputTextBox()) {
        box->setReadOnly(false);
        QPalette pal = box->palette();
        pal.setColor(QPalette::Base, qtgrid::OleToColor(qtgrid::kSysWindow, mobjFlexGrid->palette()));
        box->setPalette(pal);
    }
    mblnCaretMode = false;
    PlaceEditorFrame();
}

void zDLFlex8_Vendra::Input_TextLocked()
{
    if (!BeginInput()) return;
    mobjInputCls = nullptr;
    if (QLineEdit* box = prpInputTextBox()) {
        box->setReadOnly(true);
        std::uint32_t back = mobjFlexGrid->CellBackColor(mlngRow, mlngCol);
        if (back == 0) back = mobjFlexGrid->BackColor();
        QPalette pal = box->palette();
        pal.setColor(QPalette::Base, qtgrid::OleToColor(back, mobjFlexGrid->palette()));
        box->setPalette(pal);
    }
    mblnCaretMode = false;
    PlaceEditorFrame();
}

bool zDLFlex8_Vendra::IsRowHidden(int Row) const
{
    return mobjFlexGrid && (mobjFlexGrid->RowHidden(Row) || mobjFlexGrid->RowHeight(Row) == 0);
}

bool zDLFlex8_Vendra::IsColHidden(int Col) const
{
    return mobjFlexGrid && (mobjFlexGrid->ColHidden(Col) || mobjFlexGrid->ColWidth(Col) == 0);
}

int zDLFlex8_Vendra::Get_RowHidden(int Row) const { return IsRowHidden(Row) ? -1 : 0; }
int zDLFlex8_Vendra::Get_ColHidden(int Col) const { return IsColHidden(Col) ? -1 : 0; }

void zDLFlex8_Vendra::moveEditor(int left, int top, int width, int height)
{
    FlexGrid* g = mobjFlexGrid;
    const int x = g->TwipsToPixelsX(left), y = g->TwipsToPixelsY(top);
    const int w = std::max(0, g->TwipsToPixelsX(width)), h = std::max(0, g->TwipsToPixelsY(height));
    if (mobjInputContainer) mobjInputContainer->setGeometry(x, y, w, h);
    if (QLineEdit* box = prpInputTextBox()) box->setGeometry(0, 0, w, h);
    FitInputFont();
}

// A value wider than the cell would scroll in the box and lose its leading
// digits or its sign from view; it is condensed to the box's width instead.
void zDLFlex8_Vendra::FitInputFont()
{
    if (QLineEdit* box = prpInputTextBox()) FitLineEditFont(*box, mInputStretch);
}

void zDLFlex8_Vendra::PlaceEditorFrame()
{
    FlexGrid* g = mobjFlexGrid;
    if (!g) return;
    bool focus = false;
    Quietly([&] { focus = focusFlag(); });
    QLineEdit* box = prpInputTextBox();

    mblnNoValidate = true;
    if (mobjInputContainer) mobjInputContainer->hide();
    if (box) box->hide();
    mblnNoValidate = false;

    if (IsRowHidden(mlngRow) || IsColHidden(mlngCol)) return;

    int r1, c1, r2, c2;
    g->GetMergedRange(mlngRow, mlngCol, r1, c1, r2, c2);
    const int left = g->CellLeft(r1, c1), top = g->CellTop(r1, c1);
    const int width = g->CellWidth(mlngRow, mlngCol) - mlngGridLineWidth;
    const int height = g->CellHeight(mlngRow, mlngCol) - mlngGridLineWidth;
    const QString text = g->TextMatrix(mlngRow, mlngCol);
    mstrOldText = text;

    Quietly([&] {
        if (mintInputMode == 3) {
            moveEditor(left, top, width, height);
            if (box) box->setText(text);
        }
        if (box) box->show();
    });
    if (mobjInputContainer) {
        mobjInputContainer->show();
        mobjInputContainer->raise();
    }
    g->Refresh();

    if (focus) {
        Quietly([&] {
            if (mintInputMode == 3 && box && box->isVisible())
                box->setFocus(Qt::OtherFocusReason);
            else if (g->isVisible())
                g->setFocus(Qt::OtherFocusReason);
        });
    }
    Quietly([&] { g->ShowCell(mlngRow, mlngCol); });
}

// Hidden rows and columns take no room, in the fixed band as well as below.
bool zDLFlex8_Vendra::IsCellInView(int Row, int Col) const
{
    const FlexGrid* g = mobjFlexGrid;
    if (!g) return false;
    if (Row < 0 || Row > g->Rows() - 1 || Col < 0 || Col > g->Cols() - 1) return false;
    if (!g->RowIsVisible(Row) || !g->ColIsVisible(Col)) return false;
    if (g->TopRow() <= Row && Row < g->BottomRow() && g->LeftCol() <= Col && Col < g->RightCol()) return true;

    const int h = g->FixedRows() + g->FrozenRows();
    long used = 0;
    for (int i = 0; i < h; ++i)
        if (!IsRowHidden(i)) used += g->RowHeight(i);
    int last = 0;
    for (int i = g->TopRow(); i < g->Rows(); ++i) {
        if (IsRowHidden(i)) continue;
        if (used + g->RowHeight(i) > mlngClientHeight) break;
        used += g->RowHeight(i);
        last = i;
    }
    if ((h - 1 < Row && Row < g->TopRow()) || Row > last) return false;

    const int w = g->FixedCols() + g->FrozenCols();
    used = 0;
    for (int i = 0; i < w; ++i)
        if (!IsColHidden(i)) used += g->ColWidth(i);
    last = g->LeftCol();
    for (int i = g->LeftCol(); i < g->Cols(); ++i) {
        if (IsColHidden(i)) continue;
        if (used + g->ColWidth(i) > mlngClientWidth) break;
        used += g->ColWidth(i);
        last = i;
    }
    if ((w - 1 < Col && Col < g->LeftCol()) || Col > last) return false;
    return true;
}

void zDLFlex8_Vendra::PlaceEditor(bool afterScroll)
{
    FlexGrid* g = mobjFlexGrid;
    if (mintInputMode == 0 || !g) return;
    bool focus = false;
    Quietly([&] { focus = focusFlag(); });
    const bool inView = IsCellInView(mlngRow, mlngCol);
    if (!inView && focus && g->isVisible()) {
        if (afterScroll) {
            if (mobjInputContainer && mobjInputContainer->isVisible()) RaiseValidate();
            const bool saved = mblnNoValidate;
            mblnNoValidate = true;  // committed just now
            SetFocusKeepCapture(g);
            mblnNoValidate = saved;
        } else {
            Quietly([&] { g->setFocus(Qt::OtherFocusReason); });
        }
    }
    if (mobjInputContainer) mobjInputContainer->setVisible(inView);
    if (!inView) return;
    if (IsRowHidden(mlngRow) || IsColHidden(mlngCol)) {
        if (mobjInputContainer) mobjInputContainer->hide();
    } else {
        int r1, c1, r2, c2;
        g->GetMergedRange(mlngRow, mlngCol, r1, c1, r2, c2);
        const int left = g->CellLeft(r1, c1), top = g->CellTop(r1, c1);
        const int width = g->CellWidth(mlngRow, mlngCol) - mlngGridLineWidth;
        const int height = g->CellHeight(mlngRow, mlngCol) - mlngGridLineWidth;
        if (mintInputMode == 3) Quietly([&] { moveEditor(left, top, width, height); });
    }
    if (focus) {
        QLineEdit* box = prpInputTextBox();
        QWidget* target = nullptr;
        if (mintInputMode == 3 && box && box->isVisible())
            target = box;
        else if (g->isVisible())
            target = g;
        if (target) {
            if (afterScroll)
                SetFocusKeepCapture(target);
            else
                Quietly([&] { target->setFocus(Qt::OtherFocusReason); });
        }
    }
}

void zDLFlex8_Vendra::OnGridScrolled(int, int, int, int) { PlaceEditor(true); }
void zDLFlex8_Vendra::OnGridLayoutChanged(int, int) { PlaceEditor(false); }
void zDLFlex8_Vendra::OnGridLayoutChanged2(int, int) { PlaceEditor(false); }

void zDLFlex8_Vendra::MeasureGridClient()
{
    if (!mobjFlexGrid) return;
    mlngClientHeight = mobjFlexGrid->Height() - (prp_HScroll() ? mlngHScrollHeight : 0);
    mlngClientWidth = mobjFlexGrid->Width() - (prp_VScroll() ? mlngVScrollWidth : 0);
}

void zDLFlex8_Vendra::Resize()
{
    MeasureGridClient();
    PlaceEditor(false);
}

// ---------------------------------------------------------------- closing

void zDLFlex8_Vendra::Input_Reset(bool vblnShowCell)
{
    FlexGrid* g = mobjFlexGrid;
    if (!g) return;
    mlngRow = g->Row();
    mlngCol = g->Col();
    mintInputMode = 0;
    mobjInputCls = nullptr;
    mblnCaretMode = false;
    QWidget* active = QApplication::focusWidget();
    if (mobjInputContainer && mobjInputContainer->isVisible() && active &&
        active->parentWidget() == mobjInputContainer)
        Quietly([&] { g->setFocus(Qt::OtherFocusReason); });
    if (mobjInputContainer) mobjInputContainer->hide();
    if (g->isVisible() && QApplication::focusWidget() == g) Quietly([&] { g->setFocus(Qt::OtherFocusReason); });
    if (vblnShowCell) Quietly([&] { g->ShowCell(mlngRow, mlngCol); });
}

// ---------------------------------------------------------------- typing

void zDLFlex8_Vendra::mobjInputTextBox_KeyPress(int& KeyAscii)
{
    if (mobjInputCls) mobjInputCls->FilterKeyPress(KeyAscii);
    if (KeyAscii == qtgrid::vbKeyReturn) KeyAscii = 0;
}

void zDLFlex8_Vendra::mobjInputTextBox_GotFocus()
{
    mblnCaretMode = false;
    if (mobjInputTextBox) SelectAllText(*mobjInputTextBox);
    if (mobjInputCls) mobjInputCls->AttachTextBox(mobjInputTextBox.get());
}

void zDLFlex8_Vendra::mobjInputTextBox_Validate()
{
    if (!mblnNoValidate) CommitEdit();
}

void zDLFlex8_Vendra::OnGridGotFocus()
{
    // Like the original's focus notifications this runs once the focus move
    // is over, so a move the editor itself makes is not undone.
    QTimer::singleShot(0, this, [this] {
        if (!mobjFlexGrid || !mobjInputContainer || !mobjInputTextBox) return;
        if (QApplication::focusWidget() != mobjFlexGrid) return;
        if (mobjInputContainer->isVisible() && mobjFlexGrid->SelectionMode() != qtgrid::flexSelectionListBox &&
            mintInputMode == 3)
            Quietly([&] { mobjInputTextBox->widget()->setFocus(Qt::OtherFocusReason); });
    });
}

void zDLFlex8_Vendra::CommitEdit()
{
    FlexGrid* g = mobjFlexGrid;
    if (!g) return;
    if (!(g->FixedRows() <= mlngRow && mlngRow <= g->Rows() - 1 && g->FixedCols() <= mlngCol &&
          mlngCol <= g->Cols() - 1))
        return;
    const QString cellText = g->TextMatrix(mlngRow, mlngCol);
    if (mintInputMode != 3 || !mobjInputCls || !mobjInputTextBox) return;
    if (!mobjInputCls->prpIsValid()) {
        mobjInputTextBox->setText(cellText);
        return;
    }
    const QString t = mobjInputTextBox->Text();
    QVariant ans;
    if (mobjInputCls->prpNumeric()) {
        if (mobjInputCls->prpDotMark() && (t == mobjInputCls->prpDotText() || t == mobjInputCls->prpDotDotText())) {
            ans = t;
        } else {
            if (t.isEmpty() && mobjInputCls->prpAllowEmpty())
                ans = QString();
            else
                ans = VarToDbl(t);
            const QString s = VarToStr(ans);
            if (s == cellText) return;
            const std::string su = s.toStdString(), cu = cellText.toStdString();
            if (!s.isEmpty() && !cellText.isEmpty() && vb::IsNumeric(su) && vb::IsNumeric(cu)) {
                if (mobjInputCls->prpComma()) {
                    if (zDLEditBox_Vendra::ToDouble(s) == zDLEditBox_Vendra::ToDouble(cellText)) return;
                } else {
                    double a = 0, b = 0;
                    try {
                        a = vb::Val(su);
                        b = vb::Val(cu);
                    } catch (...) {
                    }
                    if (a == b) return;
                }
            }
        }
    } else {
        ans = t;
        if (t == cellText) return;
    }
    g->setTextMatrix(mlngRow, mlngCol, VarToStr(ans));
    mstrOldText = g->TextMatrix(mlngRow, mlngCol);
    emit Validate(mlngRow, mlngCol, ans, true);
}

void zDLFlex8_Vendra::EditText(const QString& vstrText)
{
    if (mintInputMode != 3 || !mobjFlexGrid) return;
    if (mobjInputTextBox) mobjInputTextBox->setText(vstrText);
    mobjFlexGrid->setTextMatrix(mlngRow, mlngCol, vstrText);
}

void zDLFlex8_Vendra::RaiseValidate() { CommitEdit(); }

// ---------------------------------------------------------------- keys

void zDLFlex8_Vendra::mobjInputTextBox_KeyDown(int& KeyCode, int& Shift)
{
    if (!mobjInputTextBox) return;
    if (KeyCode == qtgrid::vbKeyEscape && Shift == 0) {
        mblnCaretMode = false;
        mobjInputTextBox->setText(mstrOldText);
        SelectAllText(*mobjInputTextBox);
        KeyCode = 0;  // handled here; it must not also close the window
        return;
    }
    mblnCaretMode = mobjInputTextBox->SelLength() != mobjInputTextBox->Text().size();
    if (KeyCode == qtgrid::vbKeyInsert && Shift == 0) {
        if (mblnCaretMode) {
            SelectAllText(*mobjInputTextBox);
        } else {
            mobjInputTextBox->setSelStart(mobjInputTextBox->Text().size());
        }
        mblnCaretMode = !mblnCaretMode;
    }
    HandleEditorKey(KeyCode, Shift);
}

void zDLFlex8_Vendra::OnGridKeyDown(int* KeyCode, int* Shift)
{
    FlexGrid* g = mobjFlexGrid;
    if (!g) return;
    mlngRow = g->Row();
    mlngCol = g->Col();
    if (g->SelectionMode() == qtgrid::flexSelectionListBox && *KeyCode == qtgrid::vbKeyDelete) {
        const int n = g->SelectedRows();
        QVector<int> rows(n + 1, 0);
        for (int k = 1; k <= n; ++k) rows[k] = g->SelectedRow(k - 1);
        bool reflect = false;
        emit DeleteSelectRows(&rows, n, &reflect);
        return;
    }
    HandleEditorKey(*KeyCode, *Shift);
}

bool zDLFlex8_Vendra::findCell(int dir, int& r, int& c) const
{
    const FlexGrid* g = mobjFlexGrid;
    const int fr = g->FixedRows(), fc = g->FixedCols(), rows = g->Rows(), cols = g->Cols();
    auto rowDown = [&](int from, int to) {  // first row not hidden from `from` up to `to`
        for (int i = from; i <= to; ++i)
            if (!IsRowHidden(i)) return i;
        return -1;
    };
    auto rowUp = [&](int from, int to) {
        for (int i = from; i >= to; --i)
            if (!IsRowHidden(i)) return i;
        return -1;
    };
    auto colRight = [&](int from, int to) {
        for (int i = from; i <= to; ++i)
            if (!IsColHidden(i)) return i;
        return -1;
    };
    auto colLeft = [&](int from, int to) {
        for (int i = from; i >= to; --i)
            if (!IsColHidden(i)) return i;
        return -1;
    };
    int nr = -1, nc = -1;
    switch (dir) {
    case kUp: nr = rowUp(r - 1, fr); nc = c; break;
    case kDown: nr = rowDown(r + 1, rows - 1); nc = c; break;
    case kLeft: nc = colLeft(c - 1, fc); nr = r; break;
    case kRight: nc = colRight(c + 1, cols - 1); nr = r; break;
    default: return false;
    }
    if ((nr < 0 || nc < 0) && (moveMode_ == 3 || moveMode_ == 4)) {
        nr = nc = -1;
        switch (dir) {
        case kUp:
            nc = colLeft(c - 1, fc);
            if (nc >= 0) nr = rowUp(rows - 1, fr);
            break;
        case kDown:
            nc = colRight(c + 1, cols - 1);
            if (nc >= 0) nr = rowDown(fr, rows - 1);
            break;
        case kLeft:
            nr = rowUp(r - 1, fr);
            if (nr >= 0) nc = colLeft(cols - 1, fc);
            break;
        case kRight:
            nr = rowDown(r + 1, rows - 1);
            if (nr >= 0) nc = colRight(fc, cols - 1);
            break;
        }
    }
    if (nr < 0 || nc < 0) return false;
    r = nr;
    c = nc;
    return true;
}

void zDLFlex8_Vendra::HandleEditorKey(int& KeyCode, int& Shift)
{
    FlexGrid* g = mobjFlexGrid;
    if (!g) return;
    int dir = 0;
    if (Shift == 0) {
        switch (KeyCode) {
        case qtgrid::vbKeyUp: dir = kUp; break;
        case qtgrid::vbKeyDown: dir = kDown; break;
        case qtgrid::vbKeyLeft: dir = mblnCaretMode ? 0 : kLeft; break;
        case qtgrid::vbKeyRight: dir = mblnCaretMode ? 0 : kRight; break;
        default: break;
        }
    }
    if (KeyCode == qtgrid::vbKeyReturn) {
        if (Shift == 0) {
            if (moveMode_ == 1 || moveMode_ == 3) dir = kDown;
            if (moveMode_ == 2 || moveMode_ == 4) dir = kRight;
        } else if (Shift == qtgrid::vbShiftMask) {
            if (moveMode_ == 1 || moveMode_ == 3) dir = kUp;
            if (moveMode_ == 2 || moveMode_ == 4) dir = kLeft;
        }
    }
    if (multiSelect_ && (dir == kLeft || dir == kRight)) ApplySelectMode(1);
    if (dir == 0) return;

    int r = mlngRow, c = mlngCol;
    while (true) {
        bool found = false;
        Quietly([&] { found = findCell(dir, r, c); });
        if (!found) break;
        bool allow = true;
        Quietly([&] { emit BeforeKeyMove(r, c, &allow); });
        if (!allow) continue;
        Quietly([&] {
            ValidateAndFocus(g);
            g->Select(r, c);
        });
        KeyCode = 0;
        Shift = 0;
        return;
    }
    Quietly([&] {
        CommitEdit();
        if (mintInputMode == 3 && mobjInputTextBox) SelectAllText(*mobjInputTextBox);
    });
    emit AfterKeyMove(mlngRow, mlngCol, KeyCode, Shift);
    KeyCode = 0;
    Shift = 0;
}

// ---------------------------------------------------------------- selection

void zDLFlex8_Vendra::Set_SelectMode(int vbytMode)
{
    if (multiSelect_) ApplySelectMode(vbytMode);
}

void zDLFlex8_Vendra::ApplySelectMode(int mode)
{
    FlexGrid* g = mobjFlexGrid;
    if (!g) return;
    if (mode == 1) {
        if (g->SelectionMode() == qtgrid::flexSelectionFree) return;
        g->setHighLight(0);
        g->setSelectionMode(qtgrid::flexSelectionFree);
        g->setAllowBigSelection(false);
        const int old = g->Col();
        g->setCol(0);
        g->setCol(old);
    } else {
        if (g->SelectionMode() == qtgrid::flexSelectionListBox) return;
        g->setHighLight(1);
        g->setSelectionMode(qtgrid::flexSelectionListBox);
        g->setAllowBigSelection(true);
        Input_Reset(false);
    }
}

void zDLFlex8_Vendra::OnGridMouseDown(int Button, int Shift, float, float, bool*)
{
    FlexGrid* g = mobjFlexGrid;
    if (!g || !multiSelect_ || Button != 1) return;
    if (g->MouseCol() < g->FixedCols())
        ApplySelectMode(3);
    else if (Shift == 1 || Shift == 2)
        ApplySelectMode(3);
    else
        ApplySelectMode(1);
}

void zDLFlex8_Vendra::OnGridMouseMove(int, int, float, float)
{
    FlexGrid* g = mobjFlexGrid;
    if (!g || !(toolTipSort_ || toolTipMulti_)) return;
    QString tip;
    const int mr = g->MouseRow(), mc = g->MouseCol();
    if (toolTipSort_ && mc >= g->FixedCols() && mr >= 0 && mr <= g->FixedRows() - 1)
        tip = QStringLiteral("項目をクリックすると並べ替えを行います。");
    if (toolTipMulti_ && mr >= g->FixedRows() && mc >= 0 && mc <= g->FixedCols() - 1)
        tip = QStringLiteral("ドラッグまたはCtl、Shitｷｰを押しながらクリックすると複数選択ができます。");
    if (tip != g->ToolTipText()) g->setToolTipText(tip);
}
