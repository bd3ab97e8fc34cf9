// The column detail panel, the drawing box with its display menus, and the
// command that opens the column dialogs.
#include "window_fixture.h"

#include "drawing/figure_frame.h"
#include "drawing/kv_figure_h.h"
#include "drawing/kv_figure_src.h"
#include "drawing/kv_figure_tube.h"
#include "drawing/nm_diagram.h"
#include "drawing/print_out.h"
#include "drawing/rc_section.h"
#include "drawing/recording.h"
#include "model/adapter.h"
#include "model/base_data.h"
#include "model/column_check.h"
#include "model/fendral.h"
#include "model/format.h"
#include "model/rebar_handover.h"
#include "model/rebar_zone.h"
#include "model/stress.h"
#include "model/texts.h"
#include "platform/text/vb.h"
#include "tests/platform/qt_grid/glyph_ink.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace mainwintest;
using namespace model;
using drawing::DrawOp;
using drawing::RecordingPicture;

std::vector<std::string> Ops(const RecordingPicture& p)
{
    std::vector<std::string> s;
    for (const DrawOp& o : p.ops) s.push_back(o.str());
    return s;
}

std::string Fixed3(double x)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", x);
    return buf;
}

class Detail : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        w->mDrawTarget = &picture;
        gDispMode = 0;
    }
    void TearDown() override
    {
        gDispMode = 0;
        WindowTest::TearDown();
    }
    // Makes the project a one-column project of this column and shows it.
    void Show(const ColumnDataTbl& col, bool sMode, int16_t route)
    {
        gCond.SMode = sMode ? kTrue : kFalse;
        gCond.ColCount = 1;
        gCond.DesignRootX = gCond.DesignRootY = route;
        gColumns.redim(1);
        gKvBase.redim(1);
        gResults.redim(1);
        gColumns(1) = col;
        gKvBase(1).AbNum = col.AbNum;
        LoadKvBaseData(col.KolvanID, col.AbNum, gKvBase(1));
        RebuildColumnRebar();
        w->msub_ShowProject();
    }
    QString Text(const QLabel* l) const { return l->text(); }
    // A label's place in twips inside its frame, to the pixel.
    void ExpectAt(const QLabel* l, int top, int left = -1) const
    {
        const QRect r = w->TwipsRect(l);
        EXPECT_NEAR(r.y(), top, w->TwipsPerPixelY()) << l->objectName().toStdString();
        if (left >= 0) EXPECT_NEAR(r.x(), left, w->TwipsPerPixelX()) << l->objectName().toStdString();
    }
    // What the figure routine draws on its own with the box's frame.
    std::vector<std::string> Expected(const std::function<void(drawing::clsPrintOut&,
                                                               const drawing::FigureFrameTbl&)>& draw)
    {
        RecordingPicture alone;
        drawing::clsPrintOut po;
        po.setprpMode(2);
        po.setprpPicture(&alone);
        drawing::FigureFrameTbl f;
        f.ScaleX = f.ScaleY = 100;
        f.X0 = alone.ScaleWidth() / 2.0 * 0.8;
        f.Y0 = alone.ScaleHeight() / 2.0 * 0.8 - 100;
        f.Mode = 1;
        draw(po, f);
        return Ops(alone);
    }
    // What the window draws on a fresh box (a box keeps its pen between
    // figures).
    std::vector<std::string> Drawn(const std::function<void()>& action)
    {
        picture = RecordingPicture();
        action();
        return Ops(picture);
    }

    RecordingPicture picture;
};

TEST_F(Detail, SteelColumnTextsAndLayout)
{
    for (bool si : {true, false}) {
        gSIDisp = si;
        ColumnDataTbl col = gColumnDefault;
        col.Fc = si ? 21 : 210;
        Show(col, true, 2);
        int16_t c = 1;
        std::string main, second, material;
        EXPECT_EQ(Text(w->lblCol).toStdString(), GetColumnSectionText(c, main, second, material));
        std::string props[7];
        c = 1;
        GetSectionPropertyTexts(c, props);
        for (int i = 0; i < 7; ++i) EXPECT_EQ(Text(w->lblColSpec[i]).toStdString(), props[i]) << i;
        EXPECT_EQ(Text(w->lblKv).toStdString(), GetKvNameByIndex(1));
        EXPECT_EQ(Text(w->lblKvSpec[0]).toStdString(), GetKbsText(1));
        EXPECT_EQ(Text(w->lblKvSpec[1]), si ? "コンクリート強度 21(N/mm2)" : "コンクリート強度 210(kgf/cm2)");
        EXPECT_EQ(Text(w->lblKvSpec[2]), "");
        EXPECT_EQ(Text(w->lblKvSpec[3]), "");
        EXPECT_EQ(w->txtColName->text(), "1C1");
        EXPECT_EQ(w->grdList->TextMatrix(1, 6), si ? "21" : "210");
    }
    gSIDisp = true;
    ExpectAt(w->lblCol, 660);
    ExpectAt(w->lblColSpec[1], 900, 1410);
    ExpectAt(w->lblColSpec[4], 1140, 2610);
    for (int i : {5, 6, 7, 8}) EXPECT_TRUE(w->lblColSpec[i]->isHidden()) << i;
}

TEST_F(Detail, SrcColumnTexts)
{
    gSIDisp = true;
    ColumnDataTbl col = gColumnDefaultSrc;
    col.Fc = 24;
    col.cD(0) = 900;
    col.cD(1) = 800;
    col.RtN(0) = 4;
    col.RtN(1) = 5;
    col.RBarVal = "D22";
    col.RBarMat = "SD345";
    Show(col, false, 21);
    EXPECT_EQ(Text(w->lblColSpec[7]), "RC: 900× 800(Fc24)   鉄筋:D22(SD345)  本数 4× 5");
    EXPECT_TRUE(w->lblColSpec[8]->isHidden());
    ExpectAt(w->lblColSpec[7], 600);
    ExpectAt(w->lblCol, 1080);
    ExpectAt(w->lblColSpec[0], 1320, 510);
    ExpectAt(w->lblColSpec[6], 1800, 3010);
    EXPECT_FALSE(w->lblColSpec[5]->isHidden());

    kv::KV& kv = *gKv;
    const double m0 = kv.srcMRatio0();
    const double m90 = kv.srcMRatio90();
    EXPECT_EQ(Text(w->lblKvSpec[0]).toStdString(), "曲げ負担率(≧0.10) (X)" + Fixed3(m0) + " (Y)" + Fixed3(m90));
    EXPECT_EQ(Text(w->lblKvSpec[1]).toStdString(), "軸力負担率(≧0.15)     " + Fixed3(kv.srcNRatio()) + "  ");
    EXPECT_TRUE(Text(w->lblKvSpec[2]).startsWith("限界軸力(kN) (X)"));
    EXPECT_TRUE(Text(w->lblKvSpec[3]).startsWith("   　　　　       (Y)"));
    EXPECT_TRUE(Text(w->lblKvSpec[2]).endsWith(" "));

    // Turned by 90 degrees: sizes, bar counts and ratios change sides.
    gColumns(1).KvRotate = 1;
    w->msub_ShowColumnDetail();
    EXPECT_EQ(Text(w->lblColSpec[7]), "RC: 800× 900(Fc24)   鉄筋:D22(SD345)  本数 5× 4");
    EXPECT_EQ(Text(w->lblKvSpec[0]).toStdString(),
              "曲げ負担率(≧0.10) (X)" + Fixed3(kv.srcMRatio90()) + " (Y)" + Fixed3(kv.srcMRatio0()));

    gSIDisp = false;
    w->msub_ShowColumnDetail();
    EXPECT_TRUE(Text(w->lblKvSpec[2]).startsWith("限界軸力(tf) (X)"));
    gSIDisp = true;
}

TEST_F(Detail, SrcRouteThreeShowsTheRankLineAndAWallHasNoLimitForce)
{
    ColumnDataTbl col = gColumnDefaultSrc;
    col.CenColWall(0) = kTrue;
    col.CenColWall(1) = kFalse;
    Show(col, false, 3);
    const std::string rankLine =
        "     ( 柱脚で決まる柱ランク (X)" + GetSrcColumnRank(1, 0) + "  (Y)" + GetSrcColumnRank(1, 1) + " )";
    EXPECT_EQ(Text(w->lblColSpec[8]).toStdString(), rankLine);
    EXPECT_FALSE(w->lblColSpec[8]->isHidden());
    ExpectAt(w->lblColSpec[8], 840);
    EXPECT_EQ(Text(w->lblKvSpec[2]), "限界軸力(kN) (X)なし");
    EXPECT_FALSE(Text(w->lblKvSpec[3]).endsWith("なし"));

    // Another route: the line goes and its caption is emptied.
    gCond.DesignRootX = gCond.DesignRootY = 22;
    w->msub_ShowColumnDetail();
    EXPECT_TRUE(w->lblColSpec[8]->isHidden());
    EXPECT_EQ(Text(w->lblColSpec[8]), "");
}

// Every shown label of the two frames has its own room (up to the next label
// on its line or the frame's edge), gives way to no label of another line,
// and shows its whole text: as designed where it fits, condensed to the room
// where it does not. The states: the RC line with two-digit bar counts, an
// SRC area wider than the labels below it leave room for (its line is its
// own: it shows at its natural width), and section moduli of five and six
// digits.
TEST_F(Detail, LabelsShowTheirWholeTextsWithinTheirRooms)
{
    struct State {
        const char* what;
        bool sMode;
        int16_t n0, n1;  // SRC bar counts
        double z;        // S moduli
        double area = 0;  // SRC steel area; 0 keeps the template's
    };
    const State states[] = {
        {"RC 12x10", false, 12, 10, 0},  {"RC 99x99", false, 99, 99, 0},
        {"SRC area 5 digits", false, 8, 8, 0, 12345.678},
        {"Z 5 digits", true, 0, 0, 12345.6}, {"Z 6 digits", true, 0, 0, 123456.7},
    };
    gSIDisp = true;
    for (const State& s : states) {
        SCOPED_TRACE(s.what);
        ColumnDataTbl col = s.sMode ? gColumnDefault : gColumnDefaultSrc;
        col.Fc = 24;
        if (s.sMode) {
            col.ColXYDiffer = kTrue;
            col.ColSpecUser(0) = 45.32;
            for (long k = 1; k <= 4; ++k) col.ColSpecUser(k) = s.z + k;
        } else {
            col.cD(0) = 900;
            col.cD(1) = 900;
            col.RtN(0) = s.n0;
            col.RtN(1) = s.n1;
            col.RBarVal = "D22";
            col.RBarMat = "SD345";
            if (s.area > 0) col.SrcColSpec(0, 0) = col.SrcColSpec(1, 0) = s.area;
        }
        Show(col, s.sMode, 2);
        if (s.area > 0) {
            // Wider than the labels of the next line leave: alone on its
            // line, it is not condensed.
            const QLabel* a = w->lblColSpec[0];
            ASSERT_TRUE(a->text().startsWith("A=")) << a->text().toStdString();
            const double natural = QFontMetricsF(a->font(), a).horizontalAdvance(a->text());
            EXPECT_GT(a->x() + natural, w->lblColSpec[2]->x());
            EXPECT_LE(natural, a->contentsRect().width()) << a->text().toStdString();
        }
        if (!s.sMode) {
            const std::string n = " " + std::to_string(s.n0) + "× " + std::to_string(s.n1);
            ASSERT_TRUE(w->lblColSpec[7]->text().endsWith(QString::fromStdString(n)));
        }
        std::vector<QLabel*> shown;
        for (QLabel* l : w->Frame1->findChildren<QLabel*>())
            if (!l->isHidden() && !l->text().isEmpty()) shown.push_back(l);
        for (QLabel* l : w->Frame2->findChildren<QLabel*>())
            if (!l->isHidden() && !l->text().isEmpty()) shown.push_back(l);
        ASSERT_GE(shown.size(), 8u);
        for (QLabel* l : shown) {
            const std::string name = l->objectName().toStdString() + " \"" + l->text().toStdString() + "\"";
            // Its room: inside the frame and clear of the other labels of its
            // line (the lines stand a pixel closer than the labels are high);
            // a section label reaches to the next of them or to the frame's
            // edge, less a gap of 60 twips: labels of other lines take none
            // of it.
            EXPECT_TRUE(l->parentWidget()->rect().contains(l->geometry())) << name;
            const double tx = w->TwipsPerPixelX();
            double end = l->parentWidget()->width() * tx;
            for (QLabel* o : shown)
                if (o != l && o->parentWidget() == l->parentWidget() && o->y() == l->y()) {
                    EXPECT_FALSE(l->geometry().intersects(o->geometry())) << name << " meets " << o->objectName().toStdString();
                    if (o->x() > l->x()) end = std::min(end, o->x() * tx);
                }
            if (l->objectName().startsWith("lblCol")) {
                EXPECT_NEAR((l->x() + l->width()) * tx, end - 60, 2 * tx) << name;
            }
            // Its ink: the whole text, condensed only when wider than the room.
            const double natural = QFontMetricsF(l->font(), l).horizontalAdvance(l->text());
            const double scale = std::min(1.0, l->contentsRect().width() / natural);
            const QImage img = inkread::Render(*l);
            const QImage whole = inkread::CondensedText(l->text(), l->font(),
                                                        QSize(static_cast<int>(std::ceil(natural)) + 8, l->height()), scale);
            const inkread::Ink ink = inkread::InkIn(img, l->rect());
            const inkread::Ink want = inkread::InkIn(whole, QRect(QPoint(0, 0), whole.size() / inkread::kZoom));
            EXPECT_NEAR(ink.box.width(), want.box.width(), 2 * inkread::kZoom) << name;
            EXPECT_LE(ink.box.right(), l->contentsRect().right() * inkread::kZoom + inkread::kZoom) << name;
            EXPECT_GT(inkread::Correlation(inkread::ColumnProfile(img, l->rect()), inkread::ColumnProfile(whole, l->rect())),
                      0.9)
                << name;
        }
    }
}

TEST_F(Detail, EachDisplayModeDrawsItsRoutineInTheBoxFrame)
{
    ColumnDataTbl col = gColumnDefault;
    col.KvDir = 1;
    Show(col, true, 2);
    gColumns(1).ColXYDiffer = kTrue;
    w->msub_UpdateDisplayMenus();

    const auto tube = Expected([](drawing::clsPrintOut& po, const drawing::FigureFrameTbl& f) {
        int16_t i = 1, d = 1;
        drawing::DrawKvFigureTube(po, f, i, d);
    });
    ASSERT_FALSE(tube.empty());
    EXPECT_EQ(Drawn([&] { w->mnuDrawKV->trigger(); }), tube);
    EXPECT_EQ(gDispMode, 4);
    // The panel draws the shown mode again.
    EXPECT_EQ(Drawn([&] { w->msub_ShowColumnDetail(); }), tube);

    const auto rc = Expected([](drawing::clsPrintOut& po, const drawing::FigureFrameTbl& f) {
        int16_t i = 1, d = 1;
        drawing::DrawRcColumnSection(po, f, i, d);
    });
    EXPECT_EQ(Drawn([&] { w->mnuDrawRCCol0->trigger(); }), rc);
    EXPECT_EQ(gDispMode, 5);

    const auto drawnY = Drawn([&] { w->mnuDispNMY0->trigger(); });
    EXPECT_EQ(gDispMode, 1);
    const auto nmY = Expected([](drawing::clsPrintOut& po, const drawing::FigureFrameTbl&) {
        int16_t i = 999, d = 999;
        drawing::DrawNMDiagram(po, i, d);
    });
    ASSERT_FALSE(nmY.empty());
    EXPECT_EQ(drawnY, nmY);

    // The X diagram again while it is shown: nothing is drawn.
    EXPECT_FALSE(Drawn([&] { w->mnuDispNMX_Click(); }).empty());
    EXPECT_TRUE(Drawn([&] { w->mnuDispNMX_Click(); }).empty());
    // ...unless the base figure item carries the check mark.
    w->mnuDrawKV->setChecked(true);
    EXPECT_FALSE(Drawn([&] { w->mnuDispNMX_Click(); }).empty());
    EXPECT_FALSE(w->mnuDrawKV->isChecked());
}

TEST_F(Detail, HColumnFromTheMenuTurnsByKvRotateTheBoxByKvDir)
{
    ColumnDataTbl col = gColumnDefault;
    Show(col, true, 2);
    gColumns(1).ColV = 2;
    gColumns(1).KvRotate = 1;
    gColumns(1).KvDir = 2;
    const auto h = [&](int16_t dir) {
        return Expected([dir](drawing::clsPrintOut& po, const drawing::FigureFrameTbl& f) {
            int16_t i = 1, d = dir;
            drawing::DrawKvFigureH(po, f, i, d);
        });
    };
    EXPECT_EQ(Drawn([&] { w->mnuDrawKV_Click(); }), h(1));
    EXPECT_EQ(Drawn([&] { w->msub_ShowColumnDetail(); }), h(2));
}

TEST_F(Detail, SrcKindsDrawTheirFigureWithThreeBarsPerFace)
{
    Show(gColumnDefaultSrc, false, 21);
    EXPECT_FALSE(w->mnuDrawRCCol->isVisible());
    EXPECT_FALSE(w->mnuDrawRCCol0->isVisible());
    for (int16_t kind : {3, 4, 5, 6, 7}) {
        gColumns(1).ColV = kind;
        gColumns(1).KvDir = 3;
        const auto expected = Expected([kind](drawing::clsPrintOut& po, const drawing::FigureFrameTbl& f) {
            int16_t i = 1, d = 3;
            switch (kind) {
            case 3: drawing::DrawKvFigureSrcX(po, f, i, d, 3, 3); break;
            case 4: drawing::DrawKvFigureSrcT(po, f, i, d, 3, 3); break;
            case 7: drawing::DrawKvFigureSrcH(po, f, i, d, 3, 3); break;
            default: drawing::DrawKvFigureSrcL(po, f, kind, i, d, 3, 3); break;
            }
        });
        EXPECT_EQ(Drawn([&] { w->mnuDrawKV_Click(); }), expected) << kind;
    }
    gColumns(1).ColV = 8;
    EXPECT_TRUE(Drawn([&] { w->mnuDrawKV_Click(); }).empty());
}

TEST_F(Detail, DisplayMenusFollowTheColumnAndKeepTheirPairsChecked)
{
    ColumnDataTbl col = gColumnDefault;
    col.ColXYDiffer = kFalse;
    Show(col, true, 2);
    gColumns(1).ColXYDiffer = kFalse;
    gKvBase(1).RotateMode = kFalse;
    w->msub_UpdateDisplayMenus();
    EXPECT_TRUE(w->mnuDispNMX->isEnabled());
    EXPECT_FALSE(w->mnuDispNMY->isEnabled());
    EXPECT_FALSE(w->mnuDispNMY0->isEnabled());
    gKvBase(1).RotateMode = kTrue;
    w->msub_UpdateDisplayMenus();
    EXPECT_TRUE(w->mnuDispNMY->isEnabled());
    EXPECT_TRUE(w->mnuDispNMY0->isEnabled());

    const std::pair<QAction*, QAction*> pairs[] = {{w->mnuDispNMX, w->mnuDispNMX0},
                                                   {w->mnuDispNMY, w->mnuDispNMY0},
                                                   {w->mnuDrawKV, w->mnuDrawKV0},
                                                   {w->mnuDrawRCCol, w->mnuDrawRCCol0}};
    for (int chosen = 0; chosen < 4; ++chosen) {
        // Twice: choosing the shown item keeps its check mark.
        for (int k = 0; k < 2; ++k) (chosen % 2 ? pairs[chosen].first : pairs[chosen].second)->trigger();
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(pairs[i].first->isChecked(), i == chosen) << chosen << "," << i;
            EXPECT_EQ(pairs[i].second->isChecked(), i == chosen) << chosen << "," << i;
        }
    }
}

TEST_F(Detail, ColumnDialogClosedWithOkRecalculatesCancelOnlyRedraws)
{
    Show(gColumnDefault, true, 2);
    gAutoRefresh = false;
    int opened = 0;
    bool ok = true;
    w->mShowSelectKvDialog = [&] {
        ++opened;
        EXPECT_FALSE(gSpecDialogOK);
        gColumns(gCurCol).Fc = 30;
        gSpecDialogOK = ok;
    };
    const ColumnResultTbl before = gResults(1);
    ok = false;
    w->mnuViewSelectKv->trigger();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(gResults(1) == before);
    EXPECT_EQ(w->lblKvSpec[1]->text(), "コンクリート強度 30(N/mm2)");
    EXPECT_FALSE(gAutoRefresh);

    ok = true;
    w->msub_EditColumnSpec();
    EXPECT_FALSE(gResults(1) == before);
    const ColumnResultTbl shown = gResults(1);
    BuildDesignStresses(1);
    CalcColumnByIndex(1, 0);
    CalcColumnByIndex(1, 1);
    EXPECT_TRUE(gResults(1) == shown);
    EXPECT_FALSE(gAutoRefresh);
    FendralTbl rec;
    gFendral.Get_Data(1, rec, 1);
    FendralTbl expected = rec;
    BuildFendralRecord(expected, gColumns(1), gKvBase(1));
    EXPECT_EQ(rec, expected);

    // The SRC dialog serves SRC projects; a missing dialog opens nothing.
    int srcOpened = 0;
    w->mShowSrcInputDialog = [&] { ++srcOpened; };
    Show(gColumnDefaultSrc, false, 21);
    w->grdList_DblClick();
    EXPECT_EQ(srcOpened, 1);
    EXPECT_EQ(opened, 2);
    w->mShowSrcInputDialog = nullptr;
    w->msub_EditColumnSpec();
    gAutoRefresh = true;
}

TEST_F(Detail, ClicksOnThePanelOpenTheColumnDialogAndARightClickThePopUp)
{
    Show(gColumnDefault, true, 2);
    int opened = 0;
    w->mShowSelectKvDialog = [&] { ++opened; };
    for (QWidget* target : std::vector<QWidget*>{w->Frame1, w->Frame2, w->Label3, w->lblCol, w->lblColSpec[3],
                                                  w->lblKv, w->lblKvSpec[2]}) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
    }
    EXPECT_EQ(opened, 7);

    w->pctNM_MouseUp(1, 0, 300, 300);
    EXPECT_FALSE(w->mnuPopup->isVisible());
    w->pctNM_MouseUp(2, 0, 300, 300);
    EXPECT_TRUE(w->mnuPopup->isVisible());
    w->mnuPopup->hide();
}

}  // namespace
