#include "dialogs/dlgInput.h"

#include "mainwin/load_res_strings.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/startup.h"
#include "platform/qt/grid/flexgrid.h"
#include "platform/qt/twips.h"
#include "platform/text/vb.h"
#include "widgets/dialog_kit.h"
#include "widgets/zDLCtlProc_Vendra.h"
#include "widgets/zDLEditBox_Vendra.h"
#include "widgets/zDLFlex8_Vendra.h"

#include <QButtonGroup>
#include <QFrame>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <exception>

using namespace model;

namespace {

constexpr int kRows = 32;
constexpr int kFirstBlockRow = 2;
constexpr int kBlocks = 10;

// Load cases of each block of three rows: loading in X, loading in Y.
constexpr int32_t kBlockCases[kBlocks][2] = {
    {1, 2}, {3, 5}, {4, 6}, {11, 12}, {7, 9}, {8, 10}, {13, 19}, {14, 20}, {15, 17}, {16, 18},
};

// Window placement keys and their defaults (twips; state 0 normal).
constexpr const char* kLeftKey = "dlgInputLeft";
constexpr const char* kTopKey = "dlgInputTop";
constexpr const char* kStateKey = "dlgInputWindowState";
constexpr const char* kWidthKey = "dlgInputWidth";
constexpr const char* kHeightKey = "dlgInputHeight";

QString U(const char* s) { return QString::fromUtf8(s); }

// The move-mode icons: an arrow to the right (along the row) and one down
// (down the column).
QIcon ArrowIcon(bool down)
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (down) {
        p.translate(20, 0);
        p.rotate(90);
    }
    p.setPen(QPen(QColor(0, 0, 128), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 10), QPointF(12, 10));
    QPainterPath head;
    head.moveTo(17.5, 10);
    head.lineTo(10.5, 4.5);
    head.lineTo(10.5, 15.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawPath(head);
    return QIcon(pm);
}

int16_t WindowStateCode(Qt::WindowStates s)
{
    if (s & Qt::WindowMinimized) return 1;
    if (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) return 2;
    return 0;
}

}  // namespace

// ---- Cell map ----

std::string StressCellMap::MakeCellKey(int32_t row, int32_t col)
{
    return std::to_string(row) + "," + std::to_string(col);
}

void StressCellMap::RegisterStressCell(int32_t row, int32_t col, int32_t component, int32_t loadCase)
{
    cells_.push_back({row, col, component, loadCase});
    index_.Register(MakeCellKey(row, col), static_cast<int32_t>(cells_.size()));
}

int32_t StressCellMap::LookupStressCell(int32_t row, int32_t col, StressCellTbl& entry) const
{
    const int32_t pos = index_.GetIndex(MakeCellKey(row, col));
    if (pos == index_.InvalidIndex() || pos < 1 || pos > static_cast<int32_t>(cells_.size())) return 0;
    entry = cells_[static_cast<std::size_t>(pos - 1)];
    return pos;
}

// ---- Dialog ----

dlgInput::dlgInput(QWidget* parent) : QDialog(parent)
{
    setObjectName("dlgInput");
    setWindowTitle(U("応力入力"));
    BuildControls();
    Form_Load();
}

dlgInput::~dlgInput() = default;

void dlgInput::BuildControls()
{
    grdInput = new qtgrid::FlexGrid(this);
    grdInput->setObjectName("grdInput");
    dlgkit::Place(grdInput, 60, 60, 6045, 3900);
    fraInput1 = new QFrame(this);
    fraInput1->setObjectName("fraInput1");
    fraInput1->hide();
    txtInput1 = new QLineEdit(fraInput1);
    txtInput1->setObjectName("txtInput1");

    const char* const tips[] = {"カーソルを横移動にします。", "カーソルを縦移動にします。"};
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < 2; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("optFlexMoveMode_%1").arg(i));
        b->setCheckable(true);
        b->setAutoRaise(false);
        b->setIcon(ArrowIcon(i == 1));
        b->setToolTip(U(tips[i]));
        dlgkit::Place(b, 60 + 540 * i, 4020, 480, 375);
        b->setIconSize(QSize(b->height() - 6, b->height() - 6));
        group->addButton(b, i);
        optFlexMoveMode[i] = b;
        connect(b, &QToolButton::toggled, this, [this, i](bool on) {
            if (on) optFlexMoveMode_Click(i);
        });
    }

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName("cmdOK");
    cmdCancel = new QPushButton(U("キャンセル"), this);
    cmdCancel->setObjectName("cmdCancel");
    // Enter in the grid moves the cursor; it must not close the dialog.
    for (QPushButton* b : {cmdOK, cmdCancel}) b->setAutoDefault(false);
    dlgkit::Place(cmdOK, 3645, 4020, 1200, 375);
    dlgkit::Place(cmdCancel, 4905, 4020, 1200, 375);
    connect(cmdOK, &QPushButton::clicked, this, &dlgInput::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &dlgInput::cmdCancel_Click);
    connect(grdInput, &qtgrid::FlexGrid::EnterCell, this, &dlgInput::grdInput_EnterCell);
}

void dlgInput::Form_Load()
{
    mblnLoading = true;
    mblnEdit = false;
    LoadResStrings(this);

    {
        QSettings s = AppSettings();
        s.beginGroup(QString::fromLatin1(kSettingsGroup));
        const double left = dlgkit::KeptTwips(s, kLeftKey, 0);
        const double top = dlgkit::KeptTwips(s, kTopKey, 0);
        const double state = dlgkit::KeptTwips(s, kStateKey, 0);
        const double width = dlgkit::KeptTwips(s, kWidthKey, 6285);
        const double height = dlgkit::KeptTwips(s, kHeightKey, 5000);
        move(dlgkit::PxX(*this, left), dlgkit::PxY(*this, top));
        outerSize_ = QSize(dlgkit::PxX(*this, width), dlgkit::PxY(*this, height));
        ApplyOuterSize();
        if (state == 1)
            setWindowState(Qt::WindowMinimized);
        else if (state == 2)
            setWindowState(Qt::WindowMaximized);
    }
    Form_Resize();

    work_ = gColumns(gCurCol);

    mobjEditBox = MakeStressEntryFilter();

    mobjFlexInput1 = std::make_unique<zDLFlex8_Vendra>();
    mobjFlexInput1->setprpFlex(grdInput);
    mobjFlexInput1->setprpInputContainer(fraInput1);
    mobjFlexInput1->setprpInputTextBox(txtInput1);
    mobjFlexInput1->setprpMoveMode(4);
    connect(mobjFlexInput1.get(), &zDLFlex8_Vendra::Validate, this, &dlgInput::mobjFlexInput1_Validate);
    optFlexMoveMode[0]->setChecked(true);

    cells_ = StressCellMap();
    BuildStressGrid();
    FillStressGrid();
    mblnLoading = false;
}

void dlgInput::BuildStressGrid() { BuildStressGrid(*grdInput, cells_); }

void dlgInput::BuildStressGrid(qtgrid::FlexGrid& g, StressCellMap& cells)
{
    g.setRedraw(false);
    g.setRows(kRows);
    g.setCols(4);
    g.setFixedRows(2);
    g.setFixedCols(2);
    g.setMergeCells(qtgrid::flexMergeRestrictColumns);
    for (int c = 0; c <= 1; ++c) {
        g.setMergeCol(c, true);
        g.setColAlignment(c, qtgrid::flexAlignCenterCenter);
    }
    g.setColWidth(0, 800);
    g.setColWidth(1, 1200);

    g.setTextMatrix(0, 2, U("X方向加力"));
    g.setTextMatrix(0, 3, U("Y方向加力"));
    g.setRowHidden(0, true);
    g.setTextMatrix(1, 2, QStringLiteral("X"));
    g.setTextMatrix(1, 3, QStringLiteral("Y"));
    for (int r = 0; r <= 1; ++r)
        for (int c = 2; c <= 3; ++c) g.setCellAlignment(r, c, qtgrid::flexAlignCenterCenter);
    g.setCellBackColor(2, 3, kLockedColor);

    const char* const components[] = {"軸 力", "曲げﾓｰﾒﾝﾄ", "せん断力"};
    for (int b = 0; b < kBlocks; ++b) {
        const int top = kFirstBlockRow + 3 * b;
        for (int k = 0; k < 3; ++k) g.setTextMatrix(top + k, 1, U(components[k]));
        for (int k = 0; k < 3; ++k) cells.RegisterStressCell(top + k, 2, 1 + k, kBlockCases[b][0]);
        // The long-term N of the Y set is the one typed for X.
        for (int k = b == 0 ? 1 : 0; k < 3; ++k) cells.RegisterStressCell(top + k, 3, 4 + k, kBlockCases[b][1]);
    }

    SetStressColumnTitles(g, 2, 4, U("長期"), true);
    for (int r = 5; r <= 19; ++r) g.setRowHidden(r, true);
    const bool symmetric = gCond.SymmetryX != kFalse && gCond.SymmetryY != kFalse;
    switch (gShortLoadKind) {
    case 0:
        if (symmetric) {
            SetStressColumnTitles(g, 5, 7, U("地震時"), true);
        } else {
            SetStressColumnTitles(g, 5, 7, U("地震時Ｌ"), true);
            SetStressColumnTitles(g, 8, 10, U("地震時Ｒ"), true);
        }
        break;
    case 1:
        if (symmetric) {
            SetStressColumnTitles(g, 14, 16, U("暴風時"), true);
        } else {
            SetStressColumnTitles(g, 14, 16, U("暴風時Ｌ"), true);
            SetStressColumnTitles(g, 17, 19, U("暴風時Ｒ"), true);
        }
        break;
    case 2:
        SetStressColumnTitles(g, 11, 13, U("積雪時"), true);
        break;
    default:
        break;
    }
    SetStressColumnTitles(g, 20, 22, U("短期L"), gCond.ShortCalcMode == 1);
    SetStressColumnTitles(g, 23, 25, U("短期R"), gCond.ShortCalcMode == 1);
    SetStressColumnTitles(g, 26, 28, U("終局L"), gCond.UltCalcMode == 1);
    SetStressColumnTitles(g, 29, 31, U("終局R"), gCond.UltCalcMode == 1);
    g.setRedraw(true);
}

void dlgInput::SetStressColumnTitles(qtgrid::FlexGrid& g, int first, int last, const QString& title, bool visible)
{
    for (int r = first; r <= last; ++r) {
        g.setTextMatrix(r, 0, title);
        g.setRowHidden(r, !visible);
    }
}

void dlgInput::FillStressGrid()
{
    auto& g = *grdInput;
    for (int r = kFirstBlockRow; r < kRows; ++r)
        for (int c = 2; c <= 3; ++c) {
            StressCellTbl cell;
            if (cells_.LookupStressCell(r, c, cell) == 0) continue;
            const double v = gUnitFactor * work_.LoadTbl(static_cast<int16_t>(cell.Component),
                                                         static_cast<int16_t>(cell.LoadCase));
            g.setTextMatrix(r, c, QString::fromStdString(FormatValue(v, 2)));
        }
}

void dlgInput::StoreStressCell(int row, int col)
{
    StressCellTbl cell;
    if (cells_.LookupStressCell(row, col, cell) == 0) return;
    // A factor that cannot divide would store an infinite or meaningless
    // stress.
    if (!(std::isfinite(gUnitFactor) && gUnitFactor > 0)) return;
    double typed = 0;
    try {
        typed = vb::Val(grdInput->TextMatrix(row, col).toStdString());
    } catch (const std::exception&) {
        return;
    }
    const double value = typed / gUnitFactor;
    if (!std::isfinite(value)) return;
    const auto loadCase = static_cast<int16_t>(cell.LoadCase);
    work_.LoadTbl(static_cast<int16_t>(cell.Component), loadCase) = value;
    if (cell.Component == 1) work_.LoadTbl(4, loadCase) = value;
}

void dlgInput::mobjFlexInput1_Validate(int Row, int Col, const QVariant& /*Ans*/, bool /*Check*/)
{
    StoreStressCell(Row, Col);
}

void dlgInput::grdInput_EnterCell()
{
    if (mblnLoading || !mobjFlexInput1) return;
    mobjFlexInput1->Input_Reset(true);
    const int row = grdInput->Row();
    const int col = grdInput->Col();
    if (row < 0 || row > kRows - 1) return;
    StressCellTbl cell;
    if (cells_.LookupStressCell(row, col, cell) == 0) return;
    if (grdInput->CellBackColor(row, col) == kLockedColor) return;
    mobjFlexInput1->Input_Text(mobjEditBox.get());
}

void dlgInput::optFlexMoveMode_Click(int Index)
{
    if (mobjFlexInput1) mobjFlexInput1->setprpMoveMode(Index == 0 ? 4 : 3);
    SafeSetFocus(grdInput);
}

void dlgInput::cmdOK_Click()
{
    mblnEdit = true;
    // The long-term N of X stands for every long-term set once a stress has
    // been entered; OK without an entry leaves the stored sets as they are
    // (an import may give Y its own).
    const double n = work_.LoadTbl(1, 1);
    if (!(work_ == gColumns(gCurCol))) {
        work_.LoadTbl(1, 2) = n;
        work_.LoadTbl(4, 1) = n;
        work_.LoadTbl(4, 2) = n;
    }
    gColumns(gCurCol) = work_;
    accept();
}

void dlgInput::cmdCancel_Click()
{
    mblnEdit = false;
    reject();
}

void dlgInput::done(int r)
{
    // The close box and Esc end as キャンセル does.
    if (r != Accepted) mblnEdit = false;
    Form_Unload();
    QDialog::done(r);
}

// The kept width and height include the window frame, which is known only
// once the window exists.
void dlgInput::ApplyOuterSize()
{
    if (!outerSize_.isValid()) return;
    const QSize extra = frameGeometry().size() - geometry().size();
    resize(std::max(0, outerSize_.width() - extra.width()), std::max(0, outerSize_.height() - extra.height()));
}

void dlgInput::showEvent(QShowEvent* event)
{
    ApplyOuterSize();
    outerSize_ = QSize();
    QDialog::showEvent(event);
}

void dlgInput::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void dlgInput::Form_Resize()
{
    if (windowState() & Qt::WindowMinimized) return;
    const int gap = dlgkit::PxX(*this, 60);
    const int gapY = dlgkit::PxY(*this, 60);
    QToolButton* opt0 = optFlexMoveMode[0];
    QToolButton* opt1 = optFlexMoveMode[1];
    if (!opt0 || !opt1 || !cmdOK || !cmdCancel || !grdInput) return;
    opt0->move(gap, height() - gapY - opt0->height());
    opt1->move(opt0->x() + opt0->width() + gap, opt0->y());
    cmdCancel->move(width() - gap - cmdCancel->width(), height() - gapY - cmdCancel->height());
    cmdOK->move(cmdCancel->x() - gap - cmdOK->width(), cmdCancel->y());
    grdInput->resize(std::max(0, width() - gap - grdInput->x()),
                     std::max(0, cmdCancel->y() - dlgkit::PxY(*this, 120) - grdInput->y()));
}

void dlgInput::Form_Unload()
{
    if (!unloaded_) {
        unloaded_ = true;
        QSettings s = AppSettings();
        s.beginGroup(QString::fromLatin1(kSettingsGroup));
        const QRect f = frameGeometry();
        const double tx = vbqt::TwipsPerPixelX(*this);
        const double ty = vbqt::TwipsPerPixelY(*this);
        dlgkit::KeepTwips(s, kLeftKey, f.x(), tx);
        dlgkit::KeepTwips(s, kTopKey, f.y(), ty);
        s.setValue(QString::fromLatin1(kStateKey), QString::number(WindowStateCode(windowState())));
        dlgkit::KeepTwips(s, kWidthKey, f.width(), tx);
        dlgkit::KeepTwips(s, kHeightKey, f.height(), ty);
    }
    // An entry still open is dropped (a click on OK has committed it when
    // the focus left the box); the editor goes before its filter.
    if (mobjFlexInput1) mobjFlexInput1->Input_Reset(false);
    mobjFlexInput1.reset();
    mobjEditBox.reset();
}
