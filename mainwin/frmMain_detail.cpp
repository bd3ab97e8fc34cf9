// The main window's column detail panel, its drawing box with the display
// menus, and the command that opens the column dialogs.
#include "mainwin/frmMain.h"

#include "mainwin/col_section_picture.h"
#include "mainwin/scope_flags.h"

#include "drawing/figure_frame.h"
#include "drawing/kv_figure_h.h"
#include "drawing/kv_figure_src.h"
#include "drawing/kv_figure_tube.h"
#include "drawing/nm_diagram.h"
#include "drawing/print_out.h"
#include "drawing/rc_section.h"
#include "engine/kv.h"
#include "model/adapter.h"
#include "model/column_check.h"
#include "model/failure.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/rebar_handover.h"
#include "model/rebar_zone.h"
#include "model/texts.h"
#include "platform/qt/grid/flexgrid.h"
#include "platform/qt/picture_box.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"
#include "widgets/fitted_text.h"
#include "widgets/zDLCtlProc_Vendra.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <utility>

using namespace model;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool SMode() { return gCond.SMode != kFalse; }

// Places of the section labels (twips, in the frame) by structure kind.
struct LabelPlace {
    int top, left;
    bool shown;
};
constexpr LabelPlace kSpecPlacesS[7] = {{900, 210, true},   {900, 1410, true},  {900, 2610, true}, {1140, 1410, true},
                                        {1140, 2610, true}, {900, 3930, false}, {1140, 3930, false}};
constexpr LabelPlace kSpecPlacesSrc[7] = {{1320, 510, true},  {1560, 510, true},  {1560, 1710, true},
                                          {1800, 510, true},  {1800, 1710, true}, {1560, 3010, true},
                                          {1800, 3010, true}};

}  // namespace

// ---- Controls ----

void frmMain::BuildDetailPanel()
{
    auto label = [this](QWidget* parent, const QString& name, int left, int top, int width) {
        auto* l = new FittedLabel(parent);
        l->setObjectName(name);
        Place(l, left, top, width, 255);
        l->installEventFilter(this);
        return l;
    };
    Label3 = label(Frame1, QStringLiteral("Label3"), 210, 300, 735);
    Label3->setText(QStringLiteral("柱名称"));
    txtColName = new QLineEdit(Frame1);
    txtColName->setObjectName("txtColName");
    Place(txtColName, 990, 270, 2415, 315);
    lblCol = label(Frame1, QStringLiteral("lblCol"), 210, 660, 4395);
    for (int i = 0; i < 9; ++i)
        lblColSpec[i] = label(Frame1, QStringLiteral("lblColSpec_%1").arg(i), 210, 900, i >= 7 ? 4395 : 1155);
    lblKv = label(Frame2, QStringLiteral("lblKv"), 210, 300, 3435);
    for (int i = 0; i < 4; ++i) lblKvSpec[i] = label(Frame2, QStringLiteral("lblKvSpec_%1").arg(i), 210, 660 + 240 * i, 3435);
    Frame1->installEventFilter(this);
    Frame2->installEventFilter(this);
    pctNM->installEventFilter(this);
    mDrawTarget = pctNM;
    LayoutColumnLabels(true);
}

void frmMain::BuildMenus()
{
    const auto item = [this](QMenu* menu, const char* name, const char* caption, void (frmMain::*handler)()) {
        return AddMenuItem(menu, name, caption, handler);
    };
    mnuEdit = menuBar()->addMenu(QStringLiteral("1013"));
    mnuEdit->setObjectName("mnuEdit");
    mnuEditAddCol = item(mnuEdit, "mnuEditAddCol", "1151", &frmMain::mnuEditAddCol_Click);
    mnuEditCopyCol = item(mnuEdit, "mnuEditCopyCol", "1152", &frmMain::mnuEditCopyCol_Click);
    mnuEditDElCol = item(mnuEdit, "mnuEditDElCol", "1153", &frmMain::mnuEditDElCol_Click);
    mnuEdit->addSeparator();
    mnuEditMoveColLeft = item(mnuEdit, "mnuEditMoveColLeft", "1154", &frmMain::mnuEditMoveColLeft_Click);
    mnuEditMoveColRight = item(mnuEdit, "mnuEditMoveColRight", "1155", &frmMain::mnuEditMoveColRight_Click);
    for (QAction* a : {mnuEditDElCol, mnuEditMoveColLeft, mnuEditMoveColRight}) a->setEnabled(false);

    mnuView = menuBar()->addMenu(QStringLiteral("1019"));
    mnuView->setObjectName("mnuView");
    mnuViewSelectKv = item(mnuView, "mnuViewSelectKv", "柱脚形式の選択(&H)...", &frmMain::mnuViewSelectKv_Click);
    mnuView->addSeparator();
    mnuDispNMX0 = item(mnuView, "mnuDispNMX0", "1157", &frmMain::mnuDispNMX0_Click);
    mnuDispNMY0 = item(mnuView, "mnuDispNMY0", "1158", &frmMain::mnuDispNMY0_Click);
    mnuView->addSeparator();
    mnuDrawKV0 = item(mnuView, "mnuDrawKV0", "1159", &frmMain::mnuDrawKV0_Click);
    mnuDrawRCCol0 = item(mnuView, "mnuDrawRCCol0", "1301", &frmMain::mnuDrawRCCol0_Click);

    mnuPopup = new QMenu(QStringLiteral("1156"), this);
    mnuPopup->setObjectName("mnuPopup");
    mnuDispNMX = item(mnuPopup, "mnuDispNMX", "1157", &frmMain::mnuDispNMX_Click);
    mnuDispNMY = item(mnuPopup, "mnuDispNMY", "1158", &frmMain::mnuDispNMY_Click);
    mnuPopup->addSeparator();
    mnuDrawKV = item(mnuPopup, "mnuDrawKV", "1159", &frmMain::mnuDrawKV_Click);
    mnuDrawRCCol = item(mnuPopup, "mnuDrawRCCol", "1301", &frmMain::mnuDrawRCCol_Click);

    for (QAction* a : {mnuDispNMX0, mnuDispNMY0, mnuDrawKV0, mnuDrawRCCol0, mnuDispNMX, mnuDispNMY, mnuDrawKV,
                       mnuDrawRCCol})
    {
        a->setCheckable(true);
        // The marks follow the display mode, not the platform's toggling.
        connect(a, &QAction::triggered, this, &frmMain::msub_CheckDisplayMenus);
    }
    mnuDispNMX0->setChecked(true);
    mnuDispNMX->setChecked(true);
}

// Items carry their string id as their caption until the caption loader
// gives them their text.
QAction* frmMain::AddMenuItem(QMenu* menu, const char* name, const char* caption, void (frmMain::*handler)())
{
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, handler] { UserOperation([&] { (this->*handler)(); }); });
    return a;
}

bool frmMain::UserOperation(const std::function<void()>& operation)
{
    // Handlers that the operation's own steps raise are operations of their
    // own; within the user's one action a reason is told only once.
    struct Depth {
        frmMain& w;
        explicit Depth(frmMain& m) : w(m) { ++w.operationDepth_; }
        ~Depth()
        {
            if (--w.operationDepth_ == 0) w.toldReason_.clear();
        }
    } depth(*this);
    std::string reason;
    try {
        operation();
        return true;
    } catch (const std::exception& e) {
        reason = model::TellFailure(e);
    } catch (...) {
        reason = model::FailureText(model::FailureKind::Unexpected);
    }
    // The screen is made true first, so that the message stands over it.
    const bool checked = ShowCurrentColumnAfterFailure(reason);
    if (reason == toldReason_) return false;
    toldReason_ = reason;
    std::string text = reason;
    if (!checked)
        text = "柱「" + vb::Trim(gColumns(gCurCol).ColName.value()) + "」の検討ができませんでした。" +
               "検討結果の欄には「" + kUncheckedMark + "」と表示しています。\r\n\r\n" + reason;
    ui::Current().message(text, kAppTitle, ui::MessageKind::Critical);
    return false;
}

// Whatever failed, the column list and the current column are checked and
// shown once more: what a failure elsewhere left stale is true again, and a
// column that cannot be checked is marked on the screen rather than left with
// its last results standing as if current.
bool frmMain::ShowCurrentColumnAfterFailure(const std::string& reason)
{
    if (gCurCol < 1 || gCurCol > gCond.ColCount) return true;
    // Showing the name box marks nothing; the results are filled even while
    // automatic refresh is off, as a column selection fills them.
    RestoreOnExit changed(gDataChanged);
    RestoreOnExit refresh(gAutoRefresh, true);
    try {
        RepairColumnList();
    } catch (...) {
    }
    try {
        msub_ShowCurrentColumn();
        return true;
    } catch (...) {
    }
    try {
        MarkUncheckedColumn(reason);
    } catch (...) {
        // What could be shown is shown; the message still tells the reason.
    }
    return false;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 3; ++i) {
        if (watched != sbPanels[i]) continue;
        // A double click is a click and then the double click; the release
        // that ends it is no second click.
        if (event->type() == QEvent::MouseButtonDblClick) {
            panelDoubleClicked_ = true;
            UserOperation([this, i] { sbStatusBar_PanelDblClick(i + 1); });
        } else if (event->type() == QEvent::MouseButtonRelease) {
            if (!std::exchange(panelDoubleClicked_, false)) UserOperation([this, i] { sbStatusBar_PanelClick(i + 1); });
        }
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn) {
        if (auto* box = qobject_cast<QLineEdit*>(watched)) {
            QTimer::singleShot(0, box, [box] { SelectAllText(box); });
            return QMainWindow::eventFilter(watched, event);
        }
    }
    if (watched == pctNM && event->type() == QEvent::MouseButtonRelease) {
        const auto* m = static_cast<QMouseEvent*>(event);
        const int button = m->button() == Qt::LeftButton    ? 1
                           : m->button() == Qt::RightButton ? 2
                           : m->button() == Qt::MiddleButton ? 4
                                                             : 0;
        int shift = 0;
        if (m->modifiers() & Qt::ShiftModifier) shift |= 1;
        if (m->modifiers() & Qt::ControlModifier) shift |= 2;
        if (m->modifiers() & Qt::AltModifier) shift |= 4;
        pctNM_MouseUp(button, shift, static_cast<float>(m->position().x() * TwipsPerPixelX()),
                      static_cast<float>(m->position().y() * TwipsPerPixelY()));
        return false;
    }
    const bool panelPart = watched == Frame1 || watched == Frame2 ||
                           (qobject_cast<QLabel*>(watched) && (watched->parent() == Frame1 || watched->parent() == Frame2));
    if (panelPart && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The frames and their labels open the column dialog.
        UserOperation([this] { msub_EditColumnSpec(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::pctNM_MouseUp(int Button, int /*Shift*/, float X, float Y)
{
    if (Button != 2) return;
    const QPoint at(static_cast<int>(X / TwipsPerPixelX()), static_cast<int>(Y / TwipsPerPixelY()));
    mnuPopup->popup(pctNM->mapToGlobal(at));
}

// ---- Detail panel ----

void frmMain::LayoutColumnLabels(bool sMode)
{
    // A label reaches to its right-hand neighbour on the same line, or to the
    // frame's right edge; a text wider than that is condensed, never drawn
    // under or over the next one.
    const auto move = [this](QLabel* l, int top, int left) {
        const int x = left < 0 ? l->x() : PxX(left);
        l->setGeometry(x, PxY(top), std::max(0, Frame1->width() - x - PxX(60)), l->height());
    };
    move(lblCol, sMode ? 660 : 1080, -1);
    const LabelPlace* places = sMode ? kSpecPlacesS : kSpecPlacesSrc;
    for (int i = 0; i < 7; ++i) {
        move(lblColSpec[i], places[i].top, places[i].left);
        lblColSpec[i]->setVisible(places[i].shown);
    }
    for (int i = 0; i < 7; ++i) {
        if (!places[i].shown) continue;
        for (int j = 0; j < 7; ++j) {
            if (!places[j].shown || places[j].top != places[i].top || places[j].left <= places[i].left) continue;
            QLabel* l = lblColSpec[i];
            l->resize(std::min(l->width(), std::max(0, PxX(places[j].left - places[i].left - 60))), l->height());
        }
    }
    if (sMode) {
        lblColSpec[7]->hide();
        lblColSpec[8]->hide();
    } else {
        move(lblColSpec[7], 600, -1);
        lblColSpec[7]->show();
    }
}

void frmMain::ShowColumnRecordTexts()
{
    const int16_t c = gCurCol;
    const ColumnDataTbl& col = gColumns(c);
    const bool sMode = SMode();
    const int16_t r = col.KvRotate;
    const int16_t o = r == 0 ? 1 : 0;
    // Any other turn reads as the first direction for the array fields.
    const int16_t ri = r == 1 ? 1 : 0;

    LayoutColumnLabels(sMode);
    if (!sMode) {
        lblColSpec[7]->setText(Q("RC:" + vb::Str(col.cD(ri)) + "×" + vb::Str(col.cD(o)) + "(Fc" + FormatFc(col.Fc) +
                                 ")" + "   鉄筋:" + text::FieldText(col.RBarVal) + "(" +
                                 text::FieldText(col.RBarMat) + ")  本数" + vb::Str(col.RtN(ri)) + "×" +
                                 vb::Str(col.RtN(o))));
        // The rank line needs the engine; the caller shows it.
        lblColSpec[8]->setText(QString());
        lblColSpec[8]->hide();
    }

    const QString name = Q(vb::Trim(col.ColName.value()));
    grdList->setTextMatrix(c, 0, QString::number(c));
    grdList->setTextMatrix(c, 1, name);

    int16_t index = c;
    std::string main, second, material;
    const QString section = Q(GetColumnSectionText(index, main, second, material));
    lblCol->setText(section);
    grdList->setTextMatrix(c, 2, section);

    std::string props[7];
    index = c;
    GetSectionPropertyTexts(index, props);
    for (int i = 0; i < 7; ++i) lblColSpec[i]->setText(Q(props[i]));

    const QString kvName = Q(GetKvNameByIndex(c));
    lblKv->setText(kvName);
    grdList->setTextMatrix(c, 3, kvName);
    grdList->setTextMatrix(c, 6, Q(FormatFc(col.Fc)));

    if (sMode) {
        lblKvSpec[0]->setText(Q(GetKbsText(c)));
        lblKvSpec[1]->setText(Q("コンクリート強度 " + FormatFc(col.Fc) + (gSIDisp ? "(N/mm2)" : "(kgf/cm2)")));
        lblKvSpec[2]->setText(QString());
        lblKvSpec[3]->setText(QString());
    }
}

void frmMain::msub_ShowColumnDetail()
{
    const int16_t c = gCurCol;
    const ColumnDataTbl& col = gColumns(c);
    const bool sMode = SMode();
    KvEngineRef engine(*gKv);
    SetKvBaseInputs(engine, col);
    if (!sMode) SetKvSrcInputs(engine, col);

    const int16_t r = col.KvRotate;
    std::string rankLine;
    const bool route3 = gCond.DesignRootX == 3 || gCond.DesignRootY == 3;
    if (!sMode && route3)
        rankLine = "     ( 柱脚で決まる柱ランク (X)" + GetSrcColumnRank(c, 0) + "  (Y)" + GetSrcColumnRank(c, 1) + " )";

    ShowColumnRecordTexts();
    if (!sMode && route3) {
        lblColSpec[8]->move(lblColSpec[8]->x(), lblColSpec[7]->y() + PxY(240));
        lblColSpec[8]->setText(Q(rankLine));
        lblColSpec[8]->show();
    }
    grdList->setTextMatrix(c, 4, Q(msub_GetColumnJudge(c)));
    grdList->setTextMatrix(c, 5, Q(msub_GetZoneMark(c)));

    if (!sMode) {
        kv::KV& kv = *gKv;
        const auto limitForce = [&kv](int16_t wall, int16_t route) {
            kv.setsrcWall(wall);
            kv.setDesignRoot(route);
            return SrcLimitForceText(-kv.srcTCrit());
        };
        const std::string tX = limitForce(col.CenColWall(0), gCond.DesignRootX);
        const std::string tY = limitForce(col.CenColWall(1), gCond.DesignRootY);
        if (r == 0 || r == 1) {
            const double a = r == 0 ? kv.srcMRatio0() : kv.srcMRatio90();
            const double b = r == 0 ? kv.srcMRatio90() : kv.srcMRatio0();
            lblKvSpec[0]->setText(Q("曲げ負担率(≧0.10) " + vb::Format(a, "(X)0.000 ") + "(Y)" + vb::Format(b, "0.000")));
        }
        lblKvSpec[1]->setText(Q("軸力負担率(≧0.15) " + vb::Format(kv.srcNRatio(), "    0.000  ")));
        lblKvSpec[2]->setText(Q((gSIDisp ? "限界軸力(kN) (X)" : "限界軸力(tf) (X)") + tX));
        lblKvSpec[3]->setText(Q("   　　　　       (Y)" + tY));
    }

    switch (gDispMode) {
    case 0:
    case 1: DrawCurrentNM(); break;
    case 4: DrawCurrentFigure(col.KvDir); break;
    case 5: DrawCurrentRcSection(); break;
    default: break;
    }
}

void frmMain::msub_UpdateDisplayMenus()
{
    const bool alike = gColumns(gCurCol).ColXYDiffer == kFalse && gKvBase(gCurCol).RotateMode == kFalse;
    mnuDispNMX->setEnabled(true);
    mnuDispNMX0->setEnabled(true);
    mnuDispNMY->setEnabled(!alike);
    mnuDispNMY0->setEnabled(!alike);
    mnuDrawRCCol->setVisible(SMode());
    mnuDrawRCCol0->setVisible(SMode());
    msub_CheckDisplayMenus();
}

void frmMain::msub_CheckDisplayMenus()
{
    const std::pair<QAction*, QAction*> pairs[] = {
        {mnuDispNMX, mnuDispNMX0}, {mnuDispNMY, mnuDispNMY0}, {mnuDrawKV, mnuDrawKV0}, {mnuDrawRCCol, mnuDrawRCCol0}};
    const int modes[] = {0, 1, 4, 5};
    for (int i = 0; i < 4; ++i) {
        pairs[i].first->setChecked(gDispMode == modes[i]);
        pairs[i].second->setChecked(gDispMode == modes[i]);
    }
}

// ---- Drawing box ----

namespace {

drawing::FigureFrameTbl BoxFrame(const vbqt::PictureTarget& target)
{
    drawing::FigureFrameTbl frame;
    frame.ScaleX = 100;
    frame.ScaleY = 100;
    frame.X0 = target.ScaleWidth() / 2.0 * 0.8;
    frame.Y0 = target.ScaleHeight() / 2.0 * 0.8 - 100;
    frame.Mode = 1;
    return frame;
}

}  // namespace

// A figure that cannot be drawn leaves nothing of itself or of the former
// drawing; the box says why instead.
void frmMain::DrawInBox(const std::function<void(drawing::clsPrintOut&, const drawing::FigureFrameTbl&)>& draw)
{
    if (!mDrawTarget) return;
    try {
        drawing::clsPrintOut po;
        po.setprpMode(2);
        po.setprpPicture(mDrawTarget);
        draw(po, BoxFrame(*mDrawTarget));
    } catch (const std::exception& e) {
        ShowReasonInBox(model::TellFailure(e));
    } catch (...) {
        ShowReasonInBox(model::FailureText(model::FailureKind::Unexpected));
    }
}

void frmMain::ShowReasonInBox(const std::string& reason)
{
    if (!mDrawTarget) return;
    vbqt::PictureTarget& box = *mDrawTarget;
    try {
        box.setBackColor(static_cast<int32_t>(kOpenColor));
        box.Cls();
        box.setDrawStyle(0);
        box.setFont(vbqt::StdFont{"ＭＳ Ｐゴシック", 9});
        constexpr float kMargin = 120;
        const float width = std::max(box.ScaleWidth() - 2 * kMargin, 600.0f);
        const float bottom = box.ScaleHeight() - kMargin;
        box.setCurrentY(kMargin);
        const auto line = [&](const QString& text, int32_t colour) {
            const std::string s = text.toStdString();
            if (box.CurrentY() + box.TextHeight(s) > bottom) return false;
            box.setForeColor(colour);
            box.setCurrentX(kMargin);
            box.Print(s);
            return true;
        };
        if (!line(QStringLiteral("図を表示できません。"), 0x0000FF)) return;
        line(QString(), 0);
        // The reason wrapped to the box, at a blank where one is near.
        for (const QString& paragraph : Q(reason).split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")))) {
            QString rest = paragraph;
            do {
                int n = 1;
                while (n < rest.size() && box.TextWidth(rest.left(n + 1).toStdString()) <= width) ++n;
                if (n < rest.size()) {
                    const int blank = rest.lastIndexOf(QLatin1Char(' '), n);
                    if (blank > n / 2) n = blank + 1;
                    // No line starts with a closing mark: the character
                    // before it goes down with it.
                    static const QString closing = QStringLiteral("。、）」』");
                    while (n > 1 && closing.contains(rest[n])) --n;
                }
                if (!line(rest.left(n), 0)) return;
                rest = rest.mid(n);
            } while (!rest.isEmpty());
        }
    } catch (const std::exception&) {
        // A box that cannot take even this keeps what it has.
    }
}

void frmMain::DrawCurrentNM()
{
    DrawInBox([](drawing::clsPrintOut& po, const drawing::FigureFrameTbl&) {
        int16_t iCol = 999, dir = 999;
        drawing::DrawNMDiagram(po, iCol, dir);
    });
}

void frmMain::DrawCurrentFigure(int16_t dir)
{
    DrawInBox([dir](drawing::clsPrintOut& po, const drawing::FigureFrameTbl& frame) mutable {
        int16_t iCol = gCurCol;
        const int16_t kind = gColumns(gCurCol).ColV;
        switch (kind) {
        case 0:
        case 1: drawing::DrawKvFigureTube(po, frame, iCol, dir); break;
        case 2: drawing::DrawKvFigureH(po, frame, iCol, dir); break;
        case 3: drawing::DrawKvFigureSrcX(po, frame, iCol, dir, 3, 3); break;
        case 4: drawing::DrawKvFigureSrcT(po, frame, iCol, dir, 3, 3); break;
        case 5:
        case 6: drawing::DrawKvFigureSrcL(po, frame, kind, iCol, dir, 3, 3); break;
        case 7: drawing::DrawKvFigureSrcH(po, frame, iCol, dir, 3, 3); break;
        default: break;
        }
    });
}

void frmMain::DrawCurrentRcSection()
{
    DrawInBox([](drawing::clsPrintOut& po, const drawing::FigureFrameTbl& frame) {
        int16_t iCol = gCurCol;
        int16_t dir = gColumns(gCurCol).KvDir;
        drawing::DrawRcColumnSection(po, frame, iCol, dir);
    });
}

void frmMain::showNMX() { mnuDispNMX_Click(); }

void frmMain::mnuDispNMX_Click()
{
    if (gDispMode == 0 && !mnuDrawKV->isChecked()) return;
    gDispMode = 0;
    msub_CheckDisplayMenus();
    DrawCurrentNM();
}

void frmMain::mnuDispNMY_Click()
{
    if (gDispMode == 1 && !mnuDrawKV->isChecked()) return;
    gDispMode = 1;
    msub_CheckDisplayMenus();
    DrawCurrentNM();
}

void frmMain::mnuDrawKV_Click()
{
    gDispMode = 4;
    msub_CheckDisplayMenus();
    const ColumnDataTbl& col = gColumns(gCurCol);
    // From the menu an H column is drawn in its turn, the panel uses its
    // base direction.
    DrawCurrentFigure(col.ColV == 2 ? col.KvRotate : col.KvDir);
}

void frmMain::mnuDrawRCCol_Click()
{
    gDispMode = 5;
    msub_CheckDisplayMenus();
    DrawCurrentRcSection();
}

// ---- Column dialogs ----

void frmMain::msub_EditColumnSpec()
{
    gSpecDialogOK = false;
    const std::function<void()>& dialog = SMode() ? mShowSelectKvDialog : mShowSrcInputDialog;
    if (dialog) dialog();
    RestoreOnExit refresh(gAutoRefresh, true);
    // What the dialog stored stands; a check that fails on it is told here.
    UserOperation([this] {
        if (gSpecDialogOK) {
            // The record follows the column also when its check fails below.
            UpdateColumnRebar(gCurCol, gColumns(gCurCol), gKvBase(gCurCol));
            msub_UpdateDisplayMenus();
            FillCurrentResultTables();
            // The zone of the base now stored, as opening the project works it
            // out, with its pedestal and the record.
            StoreColumnZone(gCurCol);
            UpdateColumnRebar(gCurCol, gColumns(gCurCol), gKvBase(gCurCol));
        }
        msub_ShowColumnDetail();
    });
}

// ---- Stress input and shear detail ----

void frmMain::cmdInput_Click()
{
    if (!mShowStressInputDialog) return;
    const ColumnDataTbl before = gColumns(gCurCol);
    // OK without a change leaves the project as it is: its results are
    // current, and the pedestal is not derived anew.
    if (mShowStressInputDialog() && !(gColumns(gCurCol) == before)) {
        // Confirmed stresses are the project's, also when they cannot be
        // checked: leaving asks to save them.
        gDataChanged = true;
        UserOperation([this] {
            msub_RecalcCurrentColumn();
            UpdateColumnRebar(gCurCol, gColumns(gCurCol), gKvBase(gCurCol));
            msub_ShowColumnDetail();
        });
    }
    grdView1_RowColChange();
}

void frmMain::grdView1_Click()
{
    if (mblnGridQuiet) return;
    const long row = grdView1->Row();
    const long col = grdView1->Col();
    if (row != 13 || gCond.SMode == kFalse) return;
    const std::string text = vb::Trim(grdView1->TextMatrix(static_cast<int>(row), static_cast<int>(col)).toStdString());
    if (text != "OK*" && text != "NG") return;
    msub_ShowShearDetail(col);
}

// Col is a cell of the shear row of the result table.
void frmMain::msub_ShowShearDetail(long col)
{
    RestoreOnExit refresh(gAutoRefresh);
    RestoreOnExit quiet(mblnGridQuiet, true);
    // Grid column to shear direction and design case.
    struct Cell {
        long first, last;
        int16_t dir, designCase;
    };
    static constexpr Cell cells[] = {{2, 2, 0, 1},   {3, 3, 1, 1},   {4, 5, 0, 4},   {6, 7, 0, 5},
                                     {8, 9, 1, 4},   {10, 11, 1, 5}, {12, 13, 0, 6}, {14, 15, 0, 7},
                                     {16, 17, 1, 6}, {18, 19, 1, 7}};
    for (const Cell& c : cells)
        if (col >= c.first && col <= c.last) {
            gShearDir = c.dir;
            gShearCase = c.designCase;
        }
    if (mShowShearDialog) mShowShearDialog();
    // Whatever the dialog left in the engine, the table shows the stored column.
    gAutoRefresh = true;
    UserOperation([this] {
        FillCurrentResultTables();
        msub_ShowColumnDetail();
    });
}

// ---- Base-section picture ----

QPixmap frmMain::msub_GetColSectionPicture(const model::KvBaseTbl& rec) const
{
    // The direction is the current column's, whichever column the record is of.
    return CurrentColSectionPicture(rec);
}
