// The SRC column dialog: the section properties of the built-up steel, the
// ratio texts, and the dialog on the sample SRC models (type, model,
// direction, boxes, refusals, 決定 and キャンセル, position), also from the
// main window.
#include "tests/dialogs/select_kv_fixture.h"
#include "tests/mainwin/window_fixture.h"

#include "dialogs/frmSRCInput.h"
#include "dialogs/install.h"
#include "dialogs/src_section.h"
#include "model/adapter.h"
#include "platform/qt/twips.h"
#include "platform/text/vb.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

#include <cmath>

namespace {

using namespace model;
using selkvtest::IdOf;
using selkvtest::Items;

// ---- Section properties and texts ----

ColumnDataTbl Members(int16_t kind, const double (&m0)[4], const double (&m1)[4], double cdx, double cdy)
{
    ColumnDataTbl c;
    c.ColV = kind;
    for (int k = 1; k <= 4; ++k) {
        c.SrcHDim(0, k) = m0[k - 1];
        c.SrcHDim(1, k) = m1[k - 1];
    }
    c.cD(0) = cdx;
    c.cD(1) = cdy;
    return c;
}

TEST(SrcSection, PropertiesOfEveryKind)
{
    const double h600[] = {600, 250, 12, 25};
    const double none[] = {0, 0, 0, 0};
    struct Case {
        int16_t kind;
        double sA, sZ0, sZp0, spc0, sZ1, sZp1, spc1;
    } cases[] = {
        // 38056/100, 14402750000/3.6e6, 4501250/1000, 6250/810000
        {3, 380.56, (14402750000.0 / 3.6e6), 4501.25, (6250.0 / 810000), (14402750000.0 / 3.6e6), 4501.25, (6250.0 / 810000)},
        {4, 321.78, (14402750000.0 / 3.6e6), 4501.25, (6250.0 / 810000), (14402750000.0 / 3.6e6), 4501.25, (6250.0 / 810000)},
        {5, 321.78, (14402750000.0 / 3.6e6), 4501.25, (6250.0 / 810000), (14402750000.0 / 3.6e6), 4501.25, (6250.0 / 810000)},
        {6, 321.78, (14402750000.0 / 3.6e6), 4501.25, (6250.0 / 810000), (14402750000.0 / 3.6e6), 4501.25, (6250.0 / 810000)},
        // H about its weak axis: 782200400/1.5e6, 801050/1000
        {7, 191.0, (14402750000.0 / 3.6e6), 4501.25, (6250.0 / 810000), (782200400.0 / 1.5e6), 801.05, (6250.0 / 810000)},
    };
    for (const Case& c : cases) {
        const ColumnDataTbl col = Members(c.kind, h600, c.kind == 7 ? none : h600, 900, 900);
        decltype(col.SrcColSpec) spec{};
        ASSERT_TRUE(srcdlg::CalcSrcSteelSection(col, spec)) << c.kind;
        const double want[2][4] = {{c.sA, c.sZ0, c.sZp0, c.spc0}, {c.sA, c.sZ1, c.sZp1, c.spc1}};
        for (int d = 0; d < 2; ++d)
            for (int k = 0; k < 4; ++k)
                EXPECT_NEAR(spec(d, k), want[d][k], std::fabs(want[d][k]) * 1e-12) << c.kind << " " << d << "," << k;
    }
    // The shown texts of the cross.
    const ColumnDataTbl x = Members(3, h600, h600, 900, 900);
    decltype(x.SrcColSpec) spec{};
    srcdlg::CalcSrcSteelSection(x, spec);
    EXPECT_EQ(vb::Trim(vb::Format(spec(0, 0), "######.0")), "380.6");
    EXPECT_EQ(vb::Trim(vb::Format(spec(0, 1), "######")), "4001");
    EXPECT_EQ(vb::Trim(vb::Format(spec(0, 2), "######")), "4501");
    EXPECT_EQ(vb::Trim(vb::Format(spec(0, 3), "0.#####")), "0.00772");
}

TEST(SrcSection, NothingIsComputedOverAZeroDivisor)
{
    const double h600[] = {600, 250, 12, 25};
    const double zeroDepth[] = {0, 250, 12, 25};
    const double zeroWidth[] = {600, 0, 12, 25};
    struct Case {
        const char* what;
        ColumnDataTbl col;
    } cases[] = {
        {"H0 0", Members(3, zeroDepth, h600, 900, 900)},
        {"H1 0 of a cross", Members(3, h600, zeroDepth, 900, 900)},
        {"H1 0 of a T", Members(4, h600, zeroDepth, 900, 900)},
        {"B0 0 of an H", Members(7, zeroWidth, h600, 900, 900)},
        {"cD x 0", Members(5, h600, h600, 0, 900)},
        {"cD y 0", Members(7, h600, h600, 900, 0)},
        {"a steel kind", Members(2, h600, h600, 900, 900)},
    };
    for (const Case& c : cases) {
        decltype(c.col.SrcColSpec) spec{};
        spec.fill(7);
        EXPECT_FALSE(srcdlg::CalcSrcSteelSection(c.col, spec)) << c.what;
        for (int d = 0; d < 2; ++d)
            for (int k = 0; k < 4; ++k) EXPECT_EQ(spec(d, k), 7) << c.what;
    }
    // An H needs no second member.
    decltype(ColumnDataTbl::SrcColSpec) spec{};
    EXPECT_TRUE(srcdlg::CalcSrcSteelSection(Members(7, h600, zeroDepth, 900, 900), spec));
}

TEST(SrcSection, RatioAndLimitTexts)
{
    EXPECT_EQ(srcdlg::RatioText(0.1), "0.100");
    EXPECT_EQ(srcdlg::RatioText(0.12345), "0.123");
    EXPECT_TRUE(srcdlg::RatioOK(0.10, 0.10));
    EXPECT_FALSE(srcdlg::RatioOK(0.0999, 0.10));
    EXPECT_TRUE(srcdlg::RatioOK(0.15, 0.15));
    EXPECT_FALSE(srcdlg::RatioOK(0.1499, 0.15));
    EXPECT_EQ(srcdlg::LimitText(9.0001e10), "なし");
    EXPECT_EQ(srcdlg::LimitText(-1234.5), "1234.5 ");
    EXPECT_EQ(srcdlg::LimitText(-100), "100. ");
    EXPECT_EQ(srcdlg::LimitLine(true, -1234.567, 1e11), "(kN)    X 1234.57    Y なし");
    EXPECT_EQ(srcdlg::LimitLine(false, 1e11, -50.25), "(tf)    X なし   Y 50.25 ");

    ColumnDataTbl c;
    c.RtN(0) = 8;
    c.RtN(1) = 8;
    EXPECT_EQ(srcdlg::CrossTieBars(c, 0), 12);
    EXPECT_EQ(srcdlg::CrossTieBars(c, 1), 12);
    c.RtN(1) = 6;
    c.RTensN(0) = 2;
    EXPECT_EQ(srcdlg::CrossTieBars(c, 0), 6);   // (6 - 2) x 2 - 2
    EXPECT_EQ(srcdlg::CrossTieBars(c, 1), 12);  // (8 - 2) x 2
}

// ---- The dialog ----

class SrcInput : public selkvtest::SelectKvTest {
protected:
    void SetUp() override
    {
        SelectKvTest::SetUp();
        gCond.SMode = kFalse;
        gCond.UltCalcMode = 1;
        gCond.DesignRootX = gCond.DesignRootY = 3;
        StoreSrc(3, "SRX-700");
    }
    void TearDown() override
    {
        src.reset();
        SelectKvTest::TearDown();
    }
    frmSRCInput& OpenSrc()
    {
        src = std::make_unique<frmSRCInput>();
        return *src;
    }
    template <typename W>
    W* D(const char* name)
    {
        return selkvtest::Child<W>(src.get(), name);
    }
    QString Text(const char* box) { return D<QLineEdit>(box)->text(); }
    void Leave(const char* box, const QString& text) { selkvtest::LeaveBox(D<QLineEdit>(box), text); }
    void Click(const char* option) { D<QRadioButton>(option)->click(); }
    void End() { D<QPushButton>("cmdEnd")->click(); }
    const ColumnDataTbl& W() const { return src->WorkColumn(); }

    std::unique_ptr<frmSRCInput> src;
};

TEST_F(SrcInput, OpensOnTheStoredColumn)
{
    OpenSrc();
    ExpectNoMessage("open");
    EXPECT_EQ(src->windowTitle(), "SRC用コルヴァンと柱の指定");
    EXPECT_TRUE(D<QRadioButton>("optSrcKvType_0")->isChecked());
    EXPECT_EQ(D<QComboBox>("cmbSrcKv")->currentText(), "SRX-700");
    EXPECT_EQ(D<QLabel>("lblAbD")->text(), "M36");
    EXPECT_FALSE(D<QGroupBox>("Frame5")->isEnabled());
    EXPECT_EQ(D<QLabel>("lblColLen_0")->text(), "X H-");
    EXPECT_EQ(D<QLabel>("lblColLen_4")->text(), "Y H-");
    EXPECT_EQ(Text("txtColLen_0"), "600");
    EXPECT_EQ(Text("txtColLen_8"), "25");
    EXPECT_EQ(Text("txtColLen_10"), "900");
    EXPECT_EQ(Text("txtSrcColSpec_0"), "384.0");
    EXPECT_EQ(Text("txtSrcColSpec_1"), "4001");
    EXPECT_EQ(Text("txtSrcColSpec_3"), "0.0077");
    EXPECT_EQ(Text("txtRBarSpec_2"), "8");
    EXPECT_EQ(D<QComboBox>("cmbColMat")->currentText(), "SN490");
    EXPECT_EQ(D<QComboBox>("cmbRBarVal")->currentText(), "D22");
    EXPECT_EQ(D<QComboBox>("cmbFc")->currentText(), "24");
    EXPECT_TRUE(D<QLineEdit>("txtColLen_4")->isHidden());
    EXPECT_TRUE(D<QLineEdit>("txtSrcColSpec_4")->isHidden());
    // The ratios and limits of the model.
    EXPECT_FALSE(D<QLabel>("lblRatio_1")->text().isEmpty());
    EXPECT_TRUE(D<QLabel>("lblRatio_7")->text() == "OK" || D<QLabel>("lblRatio_7")->text() == "NG");
    EXPECT_TRUE(D<QLabel>("lblRatio_11")->text().startsWith("(kN)    X "));
    EXPECT_FALSE(gSpecDialogOK);
    // Opening stores nothing.
    EXPECT_EQ(gColumns(gCurCol).ColV, 3);
}

TEST_F(SrcInput, CommitWritesColumnBaseAndProject)
{
    gColumns(gCurCol).RqN.fill(0);
    const KvBaseTbl before = gKvBase(gCurCol);
    OpenSrc();
    D<QComboBox>("cmbFc")->setCurrentIndex(D<QComboBox>("cmbFc")->findText("30"));
    Click("optSrcKvType_1");
    EXPECT_EQ(D<QComboBox>("cmbSrcKv")->currentText(), "SRT-700");
    End();
    ExpectNoMessage("commit");
    EXPECT_TRUE(gSpecDialogOK);
    EXPECT_TRUE(gDataChanged);
    EXPECT_EQ(src->result(), QDialog::Accepted);
    const ColumnDataTbl& c = gColumns(gCurCol);
    EXPECT_EQ(c.ColV, 4);
    EXPECT_EQ(c.KolvanID, IdOf("SRT-700"));
    EXPECT_EQ(gKvBase(gCurCol).ID, IdOf("SRT-700"));
    EXPECT_NE(gKvBase(gCurCol), before);
    EXPECT_EQ(c.Fc, 30);
    EXPECT_EQ(gCond.Fc, 30);
    // Bar counts 8 and 8 without tension bars: 12 cross ties both ways.
    EXPECT_EQ(c.RqN(0), 12);
    EXPECT_EQ(c.RqN(1), 12);
    EXPECT_EQ(c.RmN(0), 0);
}

TEST_F(SrcInput, CancelLeavesEverything)
{
    gDataChanged = false;
    const ColumnDataTbl column = gColumns(gCurCol);
    const KvBaseTbl base = gKvBase(gCurCol);
    const ProjectCondTbl cond = gCond;
    OpenSrc();
    Click("optSrcKvType_4");
    Leave("txtColLen_0", "500");
    D<QComboBox>("cmbFc")->setCurrentIndex(0);
    D<QPushButton>("cmdCancel")->click();
    EXPECT_EQ(gColumns(gCurCol), column);
    EXPECT_EQ(gKvBase(gCurCol), base);
    EXPECT_EQ(gCond, cond);
    EXPECT_FALSE(gDataChanged);
    EXPECT_FALSE(gSpecDialogOK);
}

TEST_F(SrcInput, DirectionByType)
{
    // A cross at 180ﾟ opens at 0ﾟ with the angle frame off, and stores 0.
    StoreSrc(3, "SRX-700", 2);
    OpenSrc();
    EXPECT_TRUE(D<QRadioButton>("optDir_0")->isChecked());
    EXPECT_FALSE(D<QGroupBox>("Frame5")->isEnabled());
    End();
    EXPECT_EQ(gColumns(gCurCol).KvDir, 0);
    // At 90ﾟ: the boxes show the record under 0ﾟ, and 決定 stores it unturned
    // with its sizes where they were.
    StoreSrc(3, "SRX-700", 1);
    gColumns(gCurCol).cD(1) = 950;
    OpenSrc();
    EXPECT_EQ(Text("txtColLen_10"), "900");
    EXPECT_EQ(Text("txtColLen_11"), "950");
    End();
    EXPECT_EQ(gColumns(gCurCol).KvDir, 0);
    EXPECT_EQ(gColumns(gCurCol).KvRotate, 0);
    EXPECT_EQ(gColumns(gCurCol).cD(0), 900);
    EXPECT_EQ(gColumns(gCurCol).cD(1), 950);

    // To H at 180ﾟ: back to 0ﾟ; at 90ﾟ: kept; 180ﾟ and 270ﾟ disabled.
    for (const int16_t dir : {2, 1}) {
        StoreSrc(4, "SRT-700", dir);
        OpenSrc();
        EXPECT_TRUE(D<QRadioButton>(dir == 2 ? "optDir_2" : "optDir_1")->isChecked());
        Click("optSrcKvType_4");
        EXPECT_EQ(W().KvDir, dir == 2 ? 0 : 1) << dir;
        EXPECT_TRUE(D<QRadioButton>(dir == 2 ? "optDir_0" : "optDir_1")->isChecked()) << dir;
        EXPECT_TRUE(D<QRadioButton>("optDir_1")->isEnabled());
        EXPECT_FALSE(D<QRadioButton>("optDir_2")->isEnabled());
        EXPECT_FALSE(D<QRadioButton>("optDir_3")->isEnabled());
        EXPECT_TRUE(D<QLineEdit>("txtColLen_5")->isHidden());
        EXPECT_EQ(D<QLabel>("lblColLen_0")->text(), "H-");
    }
    Click("optSrcKvType_2");
    EXPECT_EQ(D<QLabel>("lblColLen_4")->text(), "T-");
    EXPECT_FALSE(D<QLineEdit>("txtColLen_5")->isHidden());
    EXPECT_TRUE(D<QRadioButton>("optDir_3")->isEnabled());
    ExpectNoMessage("directions");
}

TEST_F(SrcInput, QuarterTurnExchangesTheXAndYBoxes)
{
    StoreSrc(4, "SRT-700");
    ColumnDataTbl& c = gColumns(gCurCol);
    c.cD(1) = 800;
    c.RtN(1) = 6;
    c.rD(1) = 700;
    c.RTensN(1) = 2;
    c.RTabane(1) = 1;
    const double second[] = {400, 200, 9, 16};
    for (int k = 1; k <= 4; ++k) c.SrcHDim(1, k) = second[k - 1];
    OpenSrc();
    D<QPushButton>("cmdCalc")->click();  // the properties of the two members
    const QStringList sizes0{Text("txtColLen_10"), Text("txtColLen_11")};
    EXPECT_EQ(sizes0, (QStringList{"900", "800"}));
    const QString zX = Text("txtSrcColSpec_1"), zY = Text("txtSrcColSpec_5");
    EXPECT_NE(zX, zY);
    Click("optDir_1");
    EXPECT_EQ(W().KvRotate, 1);
    EXPECT_EQ((QStringList{Text("txtColLen_10"), Text("txtColLen_11")}), (QStringList{"800", "900"}));
    EXPECT_EQ((QStringList{Text("txtRBarSpec_0"), Text("txtRBarSpec_1")}), (QStringList{"700", "769"}));
    EXPECT_EQ((QStringList{Text("txtRBarSpec_2"), Text("txtRBarSpec_3")}), (QStringList{"6", "8"}));
    EXPECT_EQ((QStringList{Text("txtRBarSpec_4"), Text("txtRBarSpec_5")}), (QStringList{"2", "0"}));
    EXPECT_TRUE(D<QCheckBox>("chkRBarTabane_0")->isChecked());
    EXPECT_EQ(Text("txtSrcColSpec_1"), zY);
    EXPECT_EQ(Text("txtSrcColSpec_5"), zX);
    // The steel dimensions stay where they are.
    EXPECT_EQ(Text("txtColLen_0"), "600");
    EXPECT_EQ(Text("txtColLen_5"), "400");
    // The stored element of each field is the same after the turn.
    EXPECT_EQ(W().cD(0), 900);
    EXPECT_EQ(W().cD(1), 800);
    EXPECT_EQ(W().RtN(1), 6);
    ExpectNoMessage("turn");
}

TEST_F(SrcInput, TypedSectionValuesOutliveTheFocusPassingThroughTheSteelBoxes)
{
    // At 0ﾟ and turned: the typed values stand in the boxes of their
    // direction, and only an edited steel dimension computes them anew.
    struct Case {
        int16_t kind;
        const char* model;
        int16_t dir;
    } cases[] = {{3, "SRX-700", 0}, {4, "SRT-700", 1}, {6, "SRR-700", 3}, {7, "SRH-700", 1}};
    for (const Case& k : cases) {
        StoreSrc(k.kind, k.model, k.dir);
        if (k.kind == 7)
            for (int j = 1; j <= 4; ++j) gColumns(gCurCol).SrcHDim(1, j) = 0;
        OpenSrc();
        const int x = k.dir & 1, y = 1 - x;
        Leave("txtSrcColSpec_0", "401.5");
        Leave("txtSrcColSpec_1", "1234.5");
        Leave("txtSrcColSpec_6", "2345.25");
        Leave("txtSrcColSpec_7", "0.0123");
        for (int i = 0; i <= 9; ++i) {
            const std::string box = "txtColLen_" + std::to_string(i);
            if (D<QLineEdit>(box.c_str())->isVisibleTo(src.get())) Leave(box.c_str(), Text(box.c_str()));
        }
        End();
        ExpectNoMessage(k.model);
        const ColumnDataTbl& c = gColumns(gCurCol);
        EXPECT_EQ(c.SrcColSpec(x, 0), 401.5) << k.model;
        EXPECT_EQ(c.SrcColSpec(x, 1), 1234.5) << k.model;
        EXPECT_EQ(c.SrcColSpec(y, 2), 2345.25) << k.model;
        EXPECT_EQ(c.SrcColSpec(y, 3), 0.0123) << k.model;

        // Opened again, the area box shows the typed area; an edited depth
        // computes them again.
        OpenSrc();
        EXPECT_EQ(Text("txtSrcColSpec_0"), "401.5") << k.model;
        Leave("txtColLen_0", "500");
        End();
        EXPECT_NE(gColumns(gCurCol).SrcColSpec(x, 1), 1234.5) << k.model;
        EXPECT_EQ(gColumns(gCurCol).SrcHDim(0, 1), 500) << k.model;
    }
}

TEST_F(SrcInput, BaseAsWideAsTheRcColumnIsRefused)
{
    // SRX-700 has A = 700.
    struct Case {
        double size;
        bool refused;
    } cases[] = {{700, true}, {701, false}, {650, true}};
    for (const Case& k : cases) {
        StoreSrc(3, "SRX-700");
        const ColumnDataTbl stored = gColumns(gCurCol);
        gSpecDialogOK = false;
        script.messages.clear();
        OpenSrc();
        Leave("txtColLen_10", QString::number(k.size));
        End();
        if (k.refused) {
            ASSERT_EQ(script.messages.size(), 1u) << k.size;
            EXPECT_EQ(script.messages[0].text, "RC柱形サイズがコルヴァンより小さくなっています。");
            EXPECT_EQ(script.messages[0].title, "ヴェンドラS＆SRC柱脚検討");
            EXPECT_EQ(gColumns(gCurCol), stored);
            EXPECT_FALSE(gSpecDialogOK);
            EXPECT_NE(src->result(), QDialog::Accepted);
        } else {
            ExpectNoMessage("701");
            EXPECT_TRUE(gSpecDialogOK);
            EXPECT_EQ(gColumns(gCurCol).cD(0), k.size);
        }
    }
    // At 90ﾟ the X size is the Y box.
    StoreSrc(4, "SRT-700", 1);
    script.messages.clear();
    OpenSrc();
    Leave("txtColLen_10", "700");  // cD(1)
    End();
    EXPECT_TRUE(gSpecDialogOK);
    ExpectNoMessage("X box at 90");
    StoreSrc(4, "SRT-700", 1);
    gSpecDialogOK = false;
    OpenSrc();
    Leave("txtColLen_11", "700");  // cD(0)
    End();
    EXPECT_FALSE(gSpecDialogOK);
    EXPECT_EQ(script.messages.size(), 1u);
}

TEST_F(SrcInput, EntriesAsStored)
{
    OpenSrc();
    Leave("txtRBarSpec_2", "2.5");
    Leave("txtRBarSpec_3", "3.5");
    Leave("txtRBarSpec_4", "1.5abc");
    D<QCheckBox>("chkRBarTabane_0")->setChecked(true);
    D<QCheckBox>("chkWall_1")->setChecked(true);
    Leave("txtColLen_11", "850");
    EXPECT_EQ(W().RtN(0), 2);  // halves to even
    EXPECT_EQ(W().RtN(1), 4);
    EXPECT_EQ(W().RTensN(0), 2);
    EXPECT_EQ(W().RTabane(0), 1);
    EXPECT_EQ(W().CenColWall(1), 1);
    EXPECT_EQ(W().CenColWall(0), 0);
    EXPECT_EQ(W().cD(1), 850);
    D<QComboBox>("cmbRBarMat")->setCurrentIndex(D<QComboBox>("cmbRBarMat")->findText("SD390"));
    D<QComboBox>("cmbColMat")->setCurrentIndex(D<QComboBox>("cmbColMat")->findText("SS400"));
    EXPECT_EQ(vb::Trim(W().RBarMat.value()), "SD390");
    EXPECT_EQ(W().ColMatCode, 7);
    // A zero depth computes nothing: the boxes keep their values.
    const QString area = Text("txtSrcColSpec_0");
    Leave("txtColLen_0", "0");
    EXPECT_EQ(Text("txtSrcColSpec_0"), area);
    EXPECT_TRUE(std::isfinite(W().SrcColSpec(0, 1)));
    // 計算 from the boxes.
    Leave("txtColLen_0", "600");
    D<QPushButton>("cmdCalc")->click();
    EXPECT_EQ(Text("txtSrcColSpec_0"), "380.6");
    ExpectNoMessage("entries");
}

TEST_F(SrcInput, BarCountsThatDoNotFitTheirFieldsAreRefused)
{
    // X本数 n gives (n - 2) x 2 - RTensN cross ties across Y, a 16-bit field too.
    struct Case {
        const char* typed;
        bool taken;
    } cases[] = {{"40000", false}, {"20000", false}, {"-20000", false}, {"16000", true}, {"1e400", false}};
    for (const Case& k : cases) {
        OpenSrc();
        script.messages.clear();
        const ColumnDataTbl before = W();
        Leave("txtRBarSpec_2", QString::fromLatin1(k.typed));
        if (k.taken) {
            ExpectNoMessage(k.typed);
            EXPECT_EQ(W().RtN(0), 16000) << k.typed;
            EXPECT_EQ(W().RqN(1), (16000 - 2) * 2 - W().RTensN(1)) << k.typed;
            continue;
        }
        ASSERT_EQ(script.messages.size(), 1u) << k.typed;
        EXPECT_EQ(script.messages[0].text,
                  "鉄筋の本数が扱える範囲（-32768～32767、本数から求める中子筋の本数も）を超えています。");
        EXPECT_EQ(W().RtN(0), before.RtN(0)) << k.typed;
        EXPECT_EQ(W().RqN, before.RqN) << k.typed;
        EXPECT_EQ(Text("txtRBarSpec_2"), QString::number(before.RtN(0))) << k.typed;
        // Typed and committed at once: refused, nothing written.
        const ColumnDataTbl stored = gColumns(gCurCol);
        D<QLineEdit>("txtRBarSpec_2")->setText(QString::fromLatin1(k.typed));
        script.messages.clear();
        End();
        EXPECT_EQ(script.messages.size(), 1u) << k.typed;
        EXPECT_FALSE(gSpecDialogOK) << k.typed;
        EXPECT_TRUE(gColumns(gCurCol) == stored) << k.typed;
    }
    // A turn that reads a refused count keeps the direction shown and held.
    StoreSrc(4, "SRT-700");
    OpenSrc();
    script.messages.clear();
    D<QLineEdit>("txtRBarSpec_2")->setText("40000");
    Click("optDir_1");
    EXPECT_EQ(script.messages.size(), 1u);
    EXPECT_TRUE(D<QRadioButton>("optDir_0")->isChecked());
    EXPECT_EQ(W().KvDir, 0);
}

TEST_F(SrcInput, RatiosFromTheEngineWithWallsAndFcOfTheDialog)
{
    OpenSrc();
    D<QCheckBox>("chkWall_0")->setChecked(true);
    D<QComboBox>("cmbFc")->setCurrentIndex(D<QComboBox>("cmbFc")->findText("30"));
    Leave("txtColLen_10", "950");  // refresh group R
    ExpectNoMessage("refresh");
    // The engine ends with Y's wall flag and route.
    EXPECT_EQ(gKv->srcWall(), 0);
    EXPECT_EQ(gKv->DesignRoot(), gCond.DesignRootY);

    // The same inputs given to the engine afresh.
    ColumnDataTbl col = W();
    KvEngineRef engine(*gKv);
    SetKvBaseInputs(engine, col);
    SetKvSrcInputs(engine, col);
    gKv->setsrcWall(1);
    gKv->setDesignRoot(gCond.DesignRootX);
    const double tX = gKv->srcTCrit();
    gKv->setsrcWall(0);
    const double tXWithoutWall = gKv->srcTCrit();
    ASSERT_NE(tX, tXWithoutWall);  // so the label shows which flag the engine had
    gKv->setDesignRoot(gCond.DesignRootY);
    const double tY = gKv->srcTCrit();
    EXPECT_EQ(D<QLabel>("lblRatio_11")->text().toStdString(), srcdlg::LimitLine(true, tX, tY));
    EXPECT_EQ(D<QLabel>("lblRatio_1")->text().toStdString(), srcdlg::RatioText(gKv->srcMRatio0()));
    EXPECT_EQ(D<QLabel>("lblRatio_2")->text().toStdString(), srcdlg::RatioText(gKv->srcMRatio90()));
    EXPECT_EQ(D<QLabel>("lblRatio_3")->text().toStdString(), srcdlg::RatioText(gKv->srcNRatio()));
    const bool ok = srcdlg::RatioOK(gKv->srcMRatio0(), 0.10);
    EXPECT_EQ(D<QLabel>("lblRatio_7")->text(), ok ? "OK" : "NG");
    EXPECT_EQ(D<QLabel>("lblRatio_7")->palette().color(QPalette::WindowText),
              ok ? QColor(0, 0, 0) : QColor(255, 0, 0));
}

TEST_F(SrcInput, JudgementLabels)
{
    QLabel label;
    struct Case {
        double value, limit;
        const char* text;
        QColor colour;
    } cases[] = {{0.10, 0.10, "OK", QColor(0, 0, 0)},
                 {0.0999, 0.10, "NG", QColor(255, 0, 0)},
                 {0.15, 0.15, "OK", QColor(0, 0, 0)},
                 {0.1499, 0.15, "NG", QColor(255, 0, 0)}};
    for (const Case& c : cases) {
        frmSRCInput::SetJudgeLabel(&label, c.value, c.limit);
        EXPECT_EQ(label.text(), c.text) << c.value;
        EXPECT_EQ(label.palette().color(QPalette::WindowText), c.colour) << c.value;
    }
}

TEST_F(SrcInput, TurnedBaseShowsTheOtherRatioUnderX)
{
    StoreSrc(4, "SRT-700", 1);
    OpenSrc();
    const double m90 = gKv->srcMRatio90();
    EXPECT_EQ(D<QLabel>("lblRatio_1")->text().toStdString(), srcdlg::RatioText(m90));
    EXPECT_EQ(D<QLabel>("lblRatio_2")->text().toStdString(), srcdlg::RatioText(gKv->srcMRatio0()));
}

TEST_F(SrcInput, NoModelAndSteelColumns)
{
    OpenSrc();
    {
        QComboBox* models = D<QComboBox>("cmbSrcKv");
        const QSignalBlocker quiet(models);
        models->setCurrentIndex(-1);
    }
    const ColumnDataTbl stored = gColumns(gCurCol);
    End();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "コルヴァンが選択されていません。");
    EXPECT_EQ(script.messages[0].title, "ヴェンドラS＆SRC柱脚検討");
    EXPECT_EQ(gColumns(gCurCol), stored);
    script.messages.clear();

    // A steel column opens as a cross; nothing is stored until 決定.
    Store(0, 0, 300, 12, "WR300-8");
    const ColumnDataTbl steel = gColumns(gCurCol);
    OpenSrc();
    ExpectNoMessage("steel column");
    EXPECT_TRUE(D<QRadioButton>("optSrcKvType_0")->isChecked());
    EXPECT_EQ(W().ColV, 3);
    EXPECT_EQ(D<QComboBox>("cmbSrcKv")->currentText(), "SRX-700");
    EXPECT_EQ(gColumns(gCurCol), steel);
}

TEST_F(SrcInput, OpensWhereItWasClosed)
{
    OpenSrc();
    const double tx = vbqt::TwipsPerPixelX(*src);
    const double ty = vbqt::TwipsPerPixelY(*src);
    EXPECT_EQ(src->pos(), QPoint(static_cast<int>(std::lround(500 / tx)), static_cast<int>(std::lround(500 / ty))));
    src->move(320, 180);
    D<QPushButton>("cmdCancel")->click();
    QSettings s = AppSettings();
    s.beginGroup(kSettingsGroup);
    EXPECT_EQ(s.value("SRCInputLeft").toString(), QString::number(std::lround(320 * tx)));
    EXPECT_EQ(s.value("SRCInputTop").toString(), QString::number(std::lround(180 * ty)));
    OpenSrc();
    EXPECT_EQ(src->pos(), QPoint(320, 180));
}

TEST_F(SrcInput, Screenshots)
{
    const auto shot = [&](const char* file) { selkvtest::SaveShot(*src, file); };
    struct Case {
        int16_t kind;
        const char* model;
        int16_t dir;
        const char* file;
    } cases[] = {
        {3, "SRX-700", 0, "src_input_x.png"},
        {4, "SRT-700", 1, "src_input_t_90.png"},
        {5, "SRL-700", 0, "src_input_ll.png"},
        {7, "SRH-700", 0, "src_input_h.png"},
    };
    for (const Case& c : cases) {
        StoreSrc(c.kind, c.model, c.dir);
        if (c.kind == 7)
            for (int k = 1; k <= 4; ++k) gColumns(gCurCol).SrcHDim(1, k) = 0;
        OpenSrc();
        shot(c.file);
    }
    ExpectNoMessage("screenshots");
}

// ---- From the main window ----

class SrcInputFromMainWindow : public mainwintest::WindowTest {};

TEST_F(SrcInputFromMainWindow, ColumnCommandOpensItAndRecalculatesAfterOK)
{
    InstallSrcInputDialog(*w);
    w->optStruc[1]->click();  // SRC
    ASSERT_EQ(gCond.SMode, kFalse);
    for (const bool ok : {false, true}) {
        gResults(gCurCol).Mu(0, 1) = -12345;
        QString title;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<frmSRCInput*>(QApplication::activeModalWidget());
            if (!d) return;
            title = d->windowTitle();
            d->findChild<QComboBox*>("cmbFc")->setCurrentIndex(d->findChild<QComboBox*>("cmbFc")->findText("30"));
            d->findChild<QPushButton*>(ok ? "cmdEnd" : "cmdCancel")->click();
        });
        w->msub_EditColumnSpec();
        EXPECT_EQ(title, "SRC用コルヴァンと柱の指定");
        EXPECT_EQ(gSpecDialogOK, ok);
        EXPECT_EQ(gColumns(gCurCol).Fc, ok ? 30 : 24);
        EXPECT_EQ(gResults(gCurCol).Mu(0, 1) != -12345, ok);
    }
}

}  // namespace
