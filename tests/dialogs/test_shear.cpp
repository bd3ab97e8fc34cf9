// The shear dialog on sample bases of every series it serves, and its launch
// from the result table of the main window, with the stress input button.
#include "tests/dialogs/select_kv_fixture.h"
#include "tests/mainwin/window_fixture.h"

#include "dialogs/dlgInput.h"
#include "dialogs/frmShear.h"
#include "dialogs/install.h"
#include "model/column_check.h"
#include "model/format.h"
#include "platform/qt/twips.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "tests/platform/qt_grid/glyph_ink.h"
#include "reports/frmPreview.h"
#include "reports/report_common.h"
#include "reports/shear_page.h"
#include "drawing/recording.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>

namespace {

using namespace model;
using selkvtest::IdOf;

class Shear : public selkvtest::SelectKvTest {
protected:
    void TearDown() override
    {
        shear.reset();
        SelectKvTest::TearDown();
    }
    // A box column on the model with slab sizes and a few design stresses.
    void StoreShear(const std::string& model, int16_t abNum = 1)
    {
        Store(0, 0, 300, 12, model, abNum);
        ColumnDataTbl& c = gColumns(gCurCol);
        c.SlabQ_B1X = 300;
        c.SlabQ_B1Y = 320;
        c.SlabQ_B2X = 700;
        c.SlabQ_B2Y = 720;
        c.SlabQ_d2 = 450;
        c.SlabFc = 21;
        c.FShear.fill(0);
        ColumnResultTbl& r = gResults(gCurCol);
        for (long k = 1; k <= 7; ++k)
            for (long d = 0; d <= 1; ++d) {
                r.DesignStress(3 * d + 1, k) = 10 + k;
                r.DesignStress(3 * d + 2, k) = 2 + 0.5 * k;
                r.DesignStress(3 * d + 3, k) = 5 + k + d;
            }
    }
    frmShear& OpenShear(int16_t dir, int16_t designCase)
    {
        gShearDir = dir;
        gShearCase = designCase;
        shear = std::make_unique<frmShear>();
        return *shear;
    }
    template <typename W>
    W* D(const char* name)
    {
        return selkvtest::Child<W>(shear.get(), name);
    }
    QString Text(const char* label) { return D<QLabel>(label)->text(); }
    void Type(const char* box, const QString& text, bool enter)
    {
        QLineEdit* e = D<QLineEdit>(box);
        e->setText(text);
        if (enter) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
            QApplication::sendEvent(e, &key);
        } else {
            selkvtest::LeaveBox(e, text);
        }
    }

    std::unique_ptr<frmShear> shear;
};

TEST_F(Shear, TextsBySeriesAndCase)
{
    struct Case {
        const char* model;
        int16_t dir, designCase;
        const char* cond;
        const char* eq;
        const char* cqu0;
        bool washers, slab;
        int qu2Top;
        int16_t condition;
    } cases[] = {
        {"K35-2", 0, 1, "X方向 長期", "lQa =  max(lQa0 ,lQa1) + lQa2", "lQa0：ベース底面の摩擦で負担させる", true, true,
         1920, 2},
        {"WP200-4", 1, 4, "Y方向 短期Ｌ", "sQa =  sQa0 + sQa2", "sQa0：ベース底面の摩擦で負担させる.(底面凹部考慮)",
         false, true, 1680, 1},
        {"KN400-2", 1, 6, "Y方向 終局Ｌ", "Qu =  max(Qu0 ,Qu1) + Qu2", "Qu0：ベース底面の摩擦で負担させる.(底面凹部考慮)",
         true, true, 1920, 0},
        {"SV175-4-A", 0, 7, "X方向 終局Ｒ", "Qu =  Qu0 or Qu2", "Qu0：ベース底面の摩擦で負担させる", false, false, 1680,
         0},
        {"WR300-8", 0, 5, "X方向 短期Ｒ", "sQa =  sQa0 + sQa2", "sQa0：ベース底面の摩擦で負担させる.(底面凹部考慮)",
         false, true, 1680, 1},
    };
    for (const Case& c : cases) {
        StoreShear(c.model);
        OpenShear(c.dir, c.designCase);
        ExpectNoMessage(c.model);
        ASSERT_FALSE(shear->Refused()) << c.model;
        EXPECT_EQ(shear->windowTitle(), "せん断力の検討");
        EXPECT_EQ(Text("lblCond").toStdString(), c.cond) << c.model;
        EXPECT_EQ(Text("lblEq").toStdString(), c.eq) << c.model;
        EXPECT_EQ(Text("lblCQu0").toStdString(), c.cqu0) << c.model;
        EXPECT_EQ(!D<QCheckBox>("chkWeldWasher")->isHidden(), c.washers) << c.model;
        EXPECT_EQ(!D<QLabel>("lblQu1")->isHidden(), c.washers) << c.model;
        for (const char* slab : {"lbl_L1", "lbl_d1", "lbl_B1", "Label1", "Label2"})
            EXPECT_EQ(!D<QLabel>(slab)->isHidden(), c.slab) << c.model << " " << slab;
        EXPECT_EQ(!D<QComboBox>("cmbSlabFc")->isHidden(), c.slab) << c.model;
        EXPECT_EQ(!D<QLineEdit>("txt_B2")->isHidden(), c.slab) << c.model;
        EXPECT_NEAR(D<QLabel>("lblQu2")->y() * vbqt::TwipsPerPixelY(*shear), c.qu2Top, vbqt::TwipsPerPixelY(*shear))
            << c.model;
        EXPECT_EQ(gKv->Condition(), c.condition) << c.model;
        EXPECT_EQ(gKv->Direction(), shear->EngineDirection()) << c.model;

        // The results shown are the engine's for the case.
        const ColumnResultTbl& r = shear->WorkResult();
        const std::string sym = Text("lblEq").toStdString().substr(0, Text("lblEq").toStdString().find(' '));
        EXPECT_EQ(Text("lblQu").toStdString(), sym + "=" + FormatValue(r.Qu(c.dir, c.designCase), 2)) << c.model;
        EXPECT_EQ(Text("lblQu0").toStdString(), "    " + sym + "0=" + FormatValue(r.Qu0(c.dir, c.designCase), 2));
        EXPECT_EQ(Text("lblQu2").toStdString(), "    " + sym + "2=" + FormatValue(r.Qu2(c.dir, c.designCase), 2));
        EXPECT_EQ(r.Qu(c.dir, c.designCase), gKv->Qu()) << c.model;
        EXPECT_EQ(Text("lblJadge"), r.JadgeQ(c.dir, c.designCase) != 0 ? "OK" : "NG");
        const double q = gUnitFactor * gResults(gCurCol).DesignStress(3 * c.dir + 3, c.designCase);
        EXPECT_EQ(Text("lblStress").toStdString(), "Q=" + FormatValue(q, 2)) << c.model;
        EXPECT_EQ(gKv->ShearLoad(), q) << c.model;
        EXPECT_EQ(Text("lblColName").toStdString(), vb::Trim(gColumns(gCurCol).ColName.value()));
        EXPECT_FALSE(Text("lblKvName").isEmpty());
    }
}

TEST_F(Shear, MethodBoxesSetTheBitsOfTheCase)
{
    StoreShear("K35-2");
    gColumns(gCurCol).FShear(1, 0) = 1;
    gDataChanged = false;
    OpenShear(0, 1);
    EXPECT_TRUE(D<QCheckBox>("chkWeldWasher")->isChecked());
    EXPECT_FALSE(D<QCheckBox>("chkSlab")->isChecked());
    // Setting the boxes at load is no click.
    EXPECT_EQ(shear->WorkColumn().FShear(1, 0), 1);
    D<QCheckBox>("chkSlab")->click();
    EXPECT_EQ(shear->WorkColumn().FShear(1, 0), 3);
    EXPECT_EQ(gKv->FShear(), 3);
    D<QCheckBox>("chkWeldWasher")->click();
    EXPECT_EQ(shear->WorkColumn().FShear(1, 0), 2);
    EXPECT_EQ(gKv->FShear(), 2);
    EXPECT_EQ(Text("lblQu").toStdString(), "lQa=" + FormatValue(gKv->Qu(), 2));
    // Only this case and direction.
    EXPECT_EQ(shear->WorkColumn().FShear(1, 1), 0);
    EXPECT_EQ(shear->WorkColumn().FShear(4, 0), 0);
    D<QPushButton>("cmdEnd")->click();
    EXPECT_EQ(gColumns(gCurCol).FShear(1, 0), 2);
    EXPECT_TRUE(gDataChanged);
    ExpectNoMessage("methods");
}

TEST_F(Shear, WidthB2IsRefusedBelowB1)
{
    StoreShear("K35-2");
    OpenShear(0, 4);
    ASSERT_EQ(shear->EngineDirection(), 0);
    EXPECT_EQ(Text("lbl_B1"), "B1=300");
    EXPECT_EQ(D<QLineEdit>("txt_B2")->text(), "700");
    Type("txt_B2", "300", true);  // equal to B1
    EXPECT_EQ(shear->WorkColumn().SlabQ_B2X, 300);
    EXPECT_EQ(gKv->SlabQ_B2X(), 300);
    Type("txt_B2", "299", true);
    EXPECT_EQ(D<QLineEdit>("txt_B2")->text(), "300");
    EXPECT_EQ(shear->WorkColumn().SlabQ_B2X, 300);
    EXPECT_EQ(gKv->SlabQ_B2X(), 300);
    Type("txt_B2", "abc", false);  // counts as 0
    EXPECT_EQ(D<QLineEdit>("txt_B2")->text(), "300");
    // A negative width is no width: refused like a narrow one.
    Type("txt_B2", "-650", false);
    EXPECT_EQ(D<QLineEdit>("txt_B2")->text(), "300");
    EXPECT_EQ(shear->WorkColumn().SlabQ_B2X, 300);
    Type("txt_B2", "650mm", false);
    EXPECT_EQ(shear->WorkColumn().SlabQ_B2X, 650);
    EXPECT_EQ(gKv->SlabQ_B2X(), 650);
    EXPECT_EQ(shear->WorkColumn().SlabQ_B2Y, 720);
    ExpectNoMessage("B2");
}

// The width shown, compared, stored and printed is the one the column check
// of that direction sends to the engine: the X widths for both directions of
// a symmetric base (the Y widths when it is turned), the direction's own for
// a base that differs in X and Y, whether turned or not.
TEST_F(Shear, WidthB2IsTheOneTheCheckOfTheDirectionUses)
{
    reports::RegisterShearPage();
    struct Case {
        int16_t rotateMode, kvRotate, dir;
        bool xWidths;
    } cases[] = {
        {kFalse, 0, 0, true}, {kFalse, 0, 1, true}, {kFalse, 1, 0, false}, {kFalse, 1, 1, false},
        {kTrue, 0, 0, true},  {kTrue, 0, 1, false}, {kTrue, 1, 0, true},   {kTrue, 1, 1, false},
    };
    for (const Case& c : cases) {
        const std::string name = "RotateMode " + std::to_string(c.rotateMode) + " KvRotate " +
                                 std::to_string(c.kvRotate) + " dir " + std::to_string(c.dir);
        StoreShear("K35-2");
        gKvBase(gCurCol).RotateMode = c.rotateMode;
        gColumns(gCurCol).KvRotate = c.kvRotate;
        gColumns(gCurCol).FShear(6, c.dir) = 2;  // slab embedding counts
        CalcColumnByIndex(gCurCol, 0);
        CalcColumnByIndex(gCurCol, 1);
        OpenShear(c.dir, 6);
        EXPECT_EQ(Text("lbl_B1"), c.xWidths ? "B1=300" : "B1=320") << name;
        EXPECT_EQ(D<QLineEdit>("txt_B2")->text(), c.xWidths ? "700" : "720") << name;
        // Narrower than this B1 (320) but not than the other (300): refused.
        if (!c.xWidths) {
            Type("txt_B2", "310", true);
            EXPECT_EQ(D<QLineEdit>("txt_B2")->text(), "720") << name;
        }
        const QString before = Text("lblQu");
        Type("txt_B2", "1500", true);
        const QString shown = Text("lblQu");
        ASSERT_NE(shown, before) << name << ": the width matters";
        D<QPushButton>("cmdEnd")->click();
        const ColumnDataTbl& col = gColumns(gCurCol);
        EXPECT_EQ(c.xWidths ? col.SlabQ_B2X : col.SlabQ_B2Y, 1500) << name;
        EXPECT_EQ(c.xWidths ? col.SlabQ_B2Y : col.SlabQ_B2X, c.xWidths ? 720 : 700) << name;

        // The main window checks the column again after the dialog.
        CalcColumnByIndex(gCurCol, 0);
        CalcColumnByIndex(gCurCol, 1);
        EXPECT_EQ(shown.toStdString(), "Qu=" + FormatValue(gResults(gCurCol).Qu(c.dir, 6), 2)) << name;

        frmShear& again = OpenShear(c.dir, 6);
        EXPECT_EQ(D<QLineEdit>("txt_B2")->text(), "1500") << name;
        EXPECT_EQ(Text("lblQu"), shown) << name;
        drawing::RecordingPage page(1.0);
        again.psub_Print(page, 3);
        std::vector<std::string> texts;
        for (const drawing::DrawOp& op : page.ops)
            if (op.kind == "Text") texts.push_back(vb::Trim(op.text));
        for (const char* t : {c.xWidths ? "300" : "320", "1500"})
            EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << name << " prints " << t;
        for (const char* t : {c.xWidths ? "320" : "300", c.xWidths ? "720" : "700"})
            EXPECT_EQ(std::find(texts.begin(), texts.end(), t), texts.end()) << name << " prints no " << t;
        shear.reset();
    }
    ExpectNoMessage("B2 of the check");
}

TEST_F(Shear, DepthD2FollowsTheBaseLengths)
{
    // WP200-4 with M24: L1 280, L_C 270.
    StoreShear("WP200-4");
    OpenShear(0, 1);
    const double d1 = shear->WorkColumn().SlabQ_d1;
    Type("txt_d2", "100", true);  // below L_C: shown as L_C, not above L1: nothing stored
    EXPECT_EQ(D<QLineEdit>("txt_d2")->text(), "270");
    EXPECT_EQ(shear->WorkColumn().SlabQ_d2, 450);
    EXPECT_EQ(shear->WorkColumn().SlabQ_d1, d1);
    Type("txt_d2", "280", false);  // not above L1
    EXPECT_EQ(shear->WorkColumn().SlabQ_d2, 450);
    EXPECT_EQ(D<QLineEdit>("txt_d2")->text(), "280");
    Type("txt_d2", "500", false);
    EXPECT_EQ(shear->WorkColumn().SlabQ_d2, 500);
    EXPECT_EQ(gKv->SlabQ_d2(), 500);
    EXPECT_EQ(shear->WorkColumn().SlabQ_d1, gKv->SlabQ_d1());
    EXPECT_EQ(Text("lbl_d1").toStdString(), "d1=" + FormatValue(gKv->SlabQ_d1(), 0));

    // Series 1 has no L_C rule: 0 is ignored as not above L1 (340).
    StoreShear("K35-2");
    OpenShear(1, 1);
    Type("txt_d2", "0", true);
    EXPECT_EQ(D<QLineEdit>("txt_d2")->text(), "0");
    EXPECT_EQ(shear->WorkColumn().SlabQ_d2, 450);
    ExpectNoMessage("d2");
}

TEST_F(Shear, CommitAndCancel)
{
    StoreShear("K35-2");
    gDataChanged = false;
    const ColumnDataTbl column = gColumns(gCurCol);
    const KvBaseTbl base = gKvBase(gCurCol);
    const ColumnResultTbl result = gResults(gCurCol);

    // キャンセル after changes leaves the three records.
    OpenShear(0, 4);
    D<QCheckBox>("chkSlab")->click();
    Type("txt_B2", "800", true);
    D<QPushButton>("cmdCancel")->click();
    EXPECT_EQ(gColumns(gCurCol), column);
    EXPECT_EQ(gKvBase(gCurCol), base);
    EXPECT_EQ(gResults(gCurCol), result);
    EXPECT_FALSE(gDataChanged);

    // 決定 without changes changes nothing, not even the flag.
    OpenShear(0, 4);
    D<QPushButton>("cmdEnd")->click();
    EXPECT_EQ(gColumns(gCurCol), column);
    EXPECT_FALSE(gDataChanged);

    // A size alone is kept and marks the project changed.
    OpenShear(0, 4);
    Type("txt_B2", "800", true);
    const ColumnResultTbl shown = shear->WorkResult();
    D<QPushButton>("cmdEnd")->click();
    EXPECT_EQ(gColumns(gCurCol).SlabQ_B2X, 800);
    EXPECT_EQ(gResults(gCurCol), shown);
    EXPECT_TRUE(gDataChanged);
    ExpectNoMessage("commit");
}

TEST_F(Shear, OtherSeriesShowNothingAndSendNothing)
{
    for (const char* model : {"QX300B", "ZF200"}) {
        StoreShear(model);
        const ColumnDataTbl column = gColumns(gCurCol);
        const ColumnResultTbl result = gResults(gCurCol);
        gKv->setFShear(3);
        gKv->setDirection(1);
        gKv->setCondition(1);
        OpenShear(0, 1);
        EXPECT_TRUE(shear->Refused()) << model;
        EXPECT_EQ(shear->exec(), QDialog::Rejected) << model;
        EXPECT_FALSE(shear->isVisible());
        EXPECT_EQ(gKv->FShear(), 3) << model;
        EXPECT_EQ(gKv->Direction(), 1) << model;
        EXPECT_EQ(gKv->Condition(), 1) << model;
        EXPECT_EQ(gColumns(gCurCol), column) << model;
        EXPECT_EQ(gResults(gCurCol), result) << model;
    }
    ExpectNoMessage("other series");
}

TEST_F(Shear, CapacityIsTheTablesWhateverWasCheckedLast)
{
    // Two columns on series-4 bases; the first carries different L and R
    // shear conditions.
    const ColumnDataTbl column = gColumns(1);
    const KvBaseTbl base = gKvBase(1);
    const ColumnResultTbl result = gResults(1);
    gCond.ColCount = 2;
    gColumns.redim(2);
    gKvBase.redim(2);
    gResults.redim(2);
    for (int16_t i = 1; i <= 2; ++i) {
        gColumns(i) = column;
        gKvBase(i) = base;
        gResults(i) = result;
    }
    gCurCol = 2;
    StoreShear("WR300-8");
    gColumns(2).LumoQuCond(0, 1) = 1;
    gColumns(2).LumoQuCond(0, 2) = 1;
    gCurCol = 1;
    StoreShear("WP200-4");
    gColumns(1).LumoQuCond(0, 1) = 2;
    gColumns(1).LumoQuCond(0, 2) = 0;
    // Hardly any axial force: the catalogue minimum of the friction governs.
    for (long k = 1; k <= 7; ++k) {
        gResults(1).DesignStress(1, k) = 0.1;
        gResults(1).DesignStress(2, k) = 0.1;
    }
    CalcColumnByIndex(1, 0);
    CalcColumnByIndex(2, 0);  // checked last
    const double stored = gResults(1).Qu(0, 4);
    OpenShear(0, 4);
    ExpectNoMessage("open");
    EXPECT_EQ(shear->WorkResult().Qu(0, 4), stored);
    EXPECT_EQ(Text("lblQu").toStdString(), "sQa=" + FormatValue(stored, 2));
    // The R condition would give another capacity, so the dialog sent the L one.
    gKv->setLumoQuCond(0);
    EXPECT_NE(gKv->Qu(), stored);
}

TEST_F(Shear, Screenshots)
{
    struct Case {
        const char* model;
        int16_t dir, designCase;
        const char* file;
    } cases[] = {{"K35-2", 0, 1, "shear_series1_case1.png"},
                 {"WP200-4", 0, 4, "shear_series4_case4.png"},
                 {"SV175-4-A", 1, 7, "shear_series6_case7.png"}};
    for (const Case& c : cases) {
        StoreShear(c.model);
        OpenShear(c.dir, c.designCase);
        selkvtest::SaveShot(*shear, c.file);
    }
    ExpectNoMessage("screenshots");
}

// A name as long as its field is shown whole in its label, condensed to the
// label's width and clear of the base name beside it; a short one as it is.
TEST_F(Shear, ColumnNameOfAnyLengthIsShownWhole)
{
    std::string longName = "1階通り芯A-1柱脚";
    while (text::CharCount(longName) < 50) longName += "長い名前テスト0123456789";
    longName = text::Left(longName, 50);
    for (const std::string& name : {std::string("1C1"), longName}) {
        StoreShear("K35-2");
        gColumns(gCurCol).ColName = name;
        OpenShear(0, 1);
        QLabel* l = D<QLabel>("lblColName");
        ASSERT_EQ(l->text().toStdString(), name);
        EXPECT_FALSE(l->geometry().intersects(D<QLabel>("lblKvName")->geometry()));
        const double natural = QFontMetricsF(l->font(), l).horizontalAdvance(l->text());
        const double scale = std::min(1.0, l->contentsRect().width() / natural);
        const QImage img = inkread::Render(*l);
        const QImage whole = inkread::CondensedText(
            l->text(), l->font(), QSize(static_cast<int>(std::ceil(natural)) + 8, l->height()), scale);
        const inkread::Ink ink = inkread::InkIn(img, l->rect());
        const inkread::Ink want = inkread::InkIn(whole, QRect(QPoint(0, 0), whole.size() / inkread::kZoom));
        EXPECT_NEAR(ink.box.width(), want.box.width(), 2 * inkread::kZoom) << name;
        EXPECT_GT(inkread::Correlation(inkread::ColumnProfile(img, l->rect()), inkread::ColumnProfile(whole, l->rect())),
                  0.9)
            << name;
        if (name == longName) {
            EXPECT_LT(scale, 1.0);
            selkvtest::SaveShot(*shear, "shear_long_name.png");
        }
    }
    ExpectNoMessage("long name");
}

// ---- Printing ----

TEST_F(Shear, PrintsItsUnsavedValuesOnOnePageNumberedOne)
{
    reports::RegisterShearPage();
    reports::gPrPageNumber = true;
    StoreShear("K35-2");
    frmShear& d = OpenShear(0, 4);
    ASSERT_TRUE(D<QPushButton>("cmdPrint")->isEnabled());
    ASSERT_TRUE(D<QPushButton>("cmdPreview")->isEnabled());
    // Slab embedding ticked in the dialog, not yet in the project.
    D<QCheckBox>("chkSlab")->click();
    ASSERT_EQ(gColumns(gCurCol).FShear(4, 0), 0);
    const QString quWithSlab = Text("lblQu");
    drawing::RecordingPage page(1.0);
    d.psub_Print(page, 3);
    ASSERT_GE(page.ops.size(), 2u);
    EXPECT_EQ(page.ops.front().kind, "StartDoc");
    EXPECT_EQ(page.ops.back().kind, "EndDoc");
    std::vector<std::string> texts;
    for (const drawing::DrawOp& op : page.ops)
        if (op.kind == "Text") texts.push_back(op.text);
    for (const char* t : {"せん断耐力に関する検討", "(1)と(3)の場合", "- 1 -", "X方向L"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << t;
    for (const drawing::DrawOp& op : page.ops) EXPECT_NE(op.kind, "NewPage");
    // The page checked the whole column on the engine; the dialog's next
    // change reads the engine as if nothing had been printed.
    D<QCheckBox>("chkSlab")->click();
    const QString withoutSlab = Text("lblQu");
    D<QCheckBox>("chkSlab")->click();
    EXPECT_EQ(Text("lblQu"), quWithSlab);
    StoreShear("K35-2");
    OpenShear(0, 4);
    EXPECT_EQ(Text("lblQu"), withoutSlab);
    ExpectNoMessage("print");
}

TEST_F(Shear, PreviewShowsThePageAndPrintNeedsAPrinter)
{
    reports::RegisterShearPage();
    StoreShear("WP200-4");
    OpenShear(1, 6);
    int pages = -1;
    QTimer::singleShot(0, [&pages] {
        auto* preview = qobject_cast<reports::frmPreview*>(QApplication::activeModalWidget());
        if (!preview) return;
        pages = preview->PageControl().PageCount();
        selkvtest::SaveShot(*preview, "shear_preview.png");
        preview->close();
    });
    D<QPushButton>("cmdPreview")->click();
    EXPECT_EQ(pages, 1);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        D<QPushButton>("cmdPrint")->click();
        ASSERT_EQ(script.messages.size(), 1u);
        EXPECT_EQ(script.messages[0].text, "プリンタがインストールされていません。");
        EXPECT_EQ(script.messages[0].title, "印刷") << "titled after the command pressed";
        script.messages.clear();
    }
    ExpectNoMessage("preview");
}

// ---- From the main window ----

class ShearFromMainWindow : public mainwintest::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        w->mShowShearDialog = [this] {
            ++opened;
            dir = gShearDir;
            designCase = gShearCase;
        };
    }
    void ClickVerdict(int col, const char* text)
    {
        g->setTextMatrix(13, col, QString::fromUtf8(text));
        g->setRow(13);
        g->setCol(col);
        w->grdView1_Click();
    }
    int opened = 0;
    int16_t dir = -1, designCase = -1;
};

TEST_F(ShearFromMainWindow, VerdictCellsOpenTheirCase)
{
    gCond.SMode = kTrue;
    struct Case {
        int col;
        int16_t dir, designCase;
    } cases[] = {{2, 0, 1},   {3, 1, 1},   {4, 0, 4},   {5, 0, 4},   {6, 0, 5},   {7, 0, 5},   {8, 1, 4},
                 {9, 1, 4},   {10, 1, 5},  {11, 1, 5},  {12, 0, 6},  {13, 0, 6},  {14, 0, 7},  {15, 0, 7},
                 {16, 1, 6},  {17, 1, 6},  {18, 1, 7},  {19, 1, 7}};
    for (const Case& c : cases) {
        opened = 0;
        ClickVerdict(c.col, c.col % 2 ? "OK*" : "NG");
        EXPECT_EQ(opened, 1) << c.col;
        EXPECT_EQ(dir, c.dir) << c.col;
        EXPECT_EQ(designCase, c.designCase) << c.col;
    }
    opened = 0;
    ClickVerdict(6, "OK");
    EXPECT_EQ(opened, 0);
    g->setTextMatrix(12, 6, "NG");
    g->setRow(12);
    g->setCol(6);
    w->grdView1_Click();
    EXPECT_EQ(opened, 0);
    gCond.SMode = kFalse;
    ClickVerdict(6, "NG");
    EXPECT_EQ(opened, 0);
}

TEST_F(ShearFromMainWindow, TheColumnIsRecheckedAfterTheDialog)
{
    gCond.SMode = kTrue;
    for (const bool autoRefresh : {true, false}) {
        gAutoRefresh = autoRefresh;
        gResults(gCurCol).Qu(0, 5) = -12345;
        gResults(gCurCol).Qu(1, 1) = -12345;
        ClickVerdict(6, "NG");
        EXPECT_NE(gResults(gCurCol).Qu(0, 5), -12345) << autoRefresh;
        EXPECT_NE(gResults(gCurCol).Qu(1, 1), -12345) << autoRefresh;
        EXPECT_EQ(gAutoRefresh, autoRefresh);
        EXPECT_FALSE(w->mblnGridQuiet);
    }
}

TEST_F(ShearFromMainWindow, StressButtonOpensTheStressDialog)
{
    InstallStressInputDialog(*w);
    gDataChanged = false;
    gResults(gCurCol).Mu(0, 1) = -12345;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<dlgInput*>(QApplication::activeModalWidget());
        if (!d) return;
        title = d->windowTitle();
        d->findChild<QPushButton*>("cmdCancel")->click();
    });
    w->cmdInput_Click();
    EXPECT_EQ(title, "応力入力");
    EXPECT_EQ(gResults(gCurCol).Mu(0, 1), -12345);  // nothing confirmed, nothing recalculated
    EXPECT_FALSE(gDataChanged);
}

TEST_F(ShearFromMainWindow, StressButtonRecalculatesAndMarksOnlyConfirmedChanges)
{
    // Cancelled; OK without a change (the project stays as it is); OK with a
    // changed stress written back.
    struct Case {
        bool ok, changed;
    } cases[] = {{false, false}, {true, false}, {true, true}};
    for (const Case& c : cases) {
        gDataChanged = false;
        gResults(gCurCol).Mu(0, 1) = -12345;
        int shown = 0;
        w->mShowStressInputDialog = [&] {
            ++shown;
            if (c.changed) gColumns(gCurCol).LoadTbl(2, 1) += 1;
            return c.ok;
        };
        w->cmdInput_Click();
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(gResults(gCurCol).Mu(0, 1) != -12345, c.changed) << c.ok << c.changed;
        EXPECT_EQ(gDataChanged, c.changed) << c.ok << c.changed;
    }
}

}  // namespace
