// The base half of the column and base dialog: H sections and their fit, the
// model with its bolts, centre column and direction, the RC pedestal lists
// and the previews.
#include "tests/dialogs/select_kv_fixture.h"

#include "drawing/figure_frame.h"
#include "drawing/kv_figure_h.h"
#include "drawing/kv_figure_tube.h"
#include "drawing/print_out.h"
#include "drawing/rc_section.h"
#include "drawing/recording.h"
#include "platform/text/vb.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <array>
#include <vector>

namespace {

using namespace model;
using selkvtest::IdOf;
using selkvtest::Differences;
using selkvtest::Items;

const std::string kFitWarning = "このコルヴァンに指定された柱は適用できません。\n詳細はヴェンドラ㈱にお問い合わせください";
const std::string kLumoWarning =
    "コルヴァン・ルモシリーズのベース板厚が40mmを超える形式は\n　　F値325N/mm2の柱に適用できません。";


class SelectKvBase : public selkvtest::SelectKvTest {
protected:
    // The user's choice of a model; one the list does not show is put in first.
    void Pick(const std::string& model)
    {
        QComboBox* kv = C<QComboBox>("cmbKV");
        const QString name = QString::fromStdString(model);
        int i = kv->findText(name);
        if (i < 0) {
            const QSignalBlocker quiet(kv);
            const int before = kv->currentIndex();
            kv->addItem(name);
            i = kv->count() - 1;
            kv->setCurrentIndex(before);
        }
        kv->setCurrentIndex(i);
    }
    void Leave(const char* box, const QString& text) { selkvtest::LeaveBox(C<QLineEdit>(box), text); }
    void Click(const char* option) { C<QRadioButton>(option)->click(); }
    const ColumnDataTbl& W() const { return dlg->WorkColumn(); }
    std::vector<bool> EnabledDirections()
    {
        std::vector<bool> on;
        for (const char* name : {"optKVDir_0", "optKVDir_1", "optKVDir_2", "optKVDir_3"})
            on.push_back(C<QRadioButton>(name)->isEnabledTo(dlg.get()));
        return on;
    }
    void StorePedestal(double a, double b, const char* bar)
    {
        ColumnDataTbl& c = gColumns(1);
        c.cD(0) = a;
        c.cD(1) = b;
        c.RBarVal = bar;
        c.RBarMat = "SD345";
    }
};

// ---- H sections ----

TEST_F(SelectKvBase, FitWarningFollowsTheDimensionsAsTheyAreLeft)
{
    StoreH(7, "H400-1");
    Open();
    QLabel* warning = C<QLabel>("Label4");
    EXPECT_TRUE(warning->isHidden());

    Leave("txtHDim_3", "30");  // H - 2 tf = 340 < F + 16 = 346
    EXPECT_EQ(W().HDim(4), 30);
    EXPECT_FALSE(warning->isHidden());
    EXPECT_EQ(warning->text().toStdString(), kFitWarning);

    Leave("txtHDim_3", "13mm");  // the number at the start, written again
    EXPECT_EQ(C<QLineEdit>("txtHDim_3")->text(), "13");
    EXPECT_TRUE(warning->isHidden());
    EXPECT_EQ(warning->text(), "");

    Leave("txtHDim_0", "abc");  // no number: 0, which cannot fit
    EXPECT_EQ(W().HDim(1), 0);
    EXPECT_EQ(C<QLineEdit>("txtHDim_0")->text(), "0");
    EXPECT_FALSE(warning->isHidden());
    ExpectNoMessage("dimensions");
}

TEST_F(SelectKvBase, HModelsOfSeries2And4AreListedWhateverTheProductSeries)
{
    const int16_t saved = gKvSeries;
    for (const int16_t series : {1, 6}) {
        gKvSeries = series;
        StoreH(7, "H400-1");
        Open();
        // The stored model, which the list of series 6 does not offer, is
        // added and stays the column's model.
        EXPECT_EQ(Items(C<QComboBox>("cmbKV")),
                  series == 1 ? (QStringList{"H400-1", "WH400-4"}) : (QStringList{"WH400-4", "H400-1"}))
            << series;
        EXPECT_EQ(C<QComboBox>("cmbKV")->currentText(), "H400-1") << series;
        EXPECT_EQ(dlg->WorkBase().ID, IdOf("H400-1")) << series;
    }
    gKvSeries = saved;
}

TEST_F(SelectKvBase, EverySectionOfASizeIsListedAndTakesItsOwnId)
{
    StoreH(7, "H400-1");
    Open();
    Choose("cmbColSize", "450");
    QComboBox* sections = C<QComboBox>("cmbHSize");
    ASSERT_EQ(sections->count(), 23);
    EXPECT_EQ(sections->itemText(0), "H-450×200×9×12");
    EXPECT_EQ(sections->itemText(22), "H-428×200×9×14");
    EXPECT_EQ(W().ColID, 9100001);
    Choose("cmbHSize", "H-428×200×9×14");
    EXPECT_EQ(W().ColID, 9100023);
    EXPECT_EQ(C<QLineEdit>("txtHDim_0")->text(), "428");
    EXPECT_EQ(C<QLineEdit>("txtColSpec_0")->text(), "112.5");
    EXPECT_EQ(W().HDim(4), 14);
    // No model takes a 450 column: the list stays empty and 決定 is refused.
    EXPECT_EQ(C<QComboBox>("cmbKV")->count(), 0);
}

// ---- Model and bolts ----

TEST_F(SelectKvBase, AModelNameWithAQuoteIsFoundAndLoaded)
{
    Store(0, 0, 300, 12, "WR300-8");
    Open();
    Pick("KB'1-400");
    ExpectNoMessage("KB'1-400");
    EXPECT_EQ(W().KolvanID, IdOf("KB'1-400"));
    EXPECT_EQ(dlg->WorkBase().ID, IdOf("KB'1-400"));
    EXPECT_EQ(Items(C<QComboBox>("cmbAb")), QStringList{"M24"});
}

TEST_F(SelectKvBase, BoltListOfTheModel)
{
    Store(0, 0, 300, 12, "WR300-8", 2);
    Open();
    QComboBox* bolts = C<QComboBox>("cmbAb");
    struct Case {
        const char* model;
        QStringList items;
        bool enabled;
    } cases[] = {
        {"ZF200", {}, false},                       // ゼフタ: no bolt list
        {"QX350E", {"M30"}, false},                 // one diameter
        {"QX300B", {"M24", "M30", "M36"}, true},
        {"ZF250", {}, false},
    };
    for (const Case& c : cases) {
        Pick(c.model);
        EXPECT_EQ(Items(bolts), c.items) << c.model;
        EXPECT_EQ(bolts->isEnabled(), c.enabled) << c.model;
        EXPECT_EQ(bolts->currentIndex(), c.items.isEmpty() ? -1 : 0) << c.model;
        EXPECT_EQ(W().AbNum, 1) << c.model;
        EXPECT_EQ(dlg->WorkBase().AbNum, 1) << c.model;
        EXPECT_EQ(W().KvV, dlg->WorkBase().KvV) << c.model;
    }
    Pick("QX300B");
    Choose("cmbAb", "M36");
    EXPECT_EQ(W().AbNum, 3);
    EXPECT_EQ(dlg->WorkBase().AbNum, 3);
    EXPECT_EQ(dlg->WorkBase().AbD, 36);
    // Another model starts again from its first diameter.
    Pick("QX250A");
    EXPECT_EQ(bolts->currentText(), "M24");
    EXPECT_EQ(dlg->WorkBase().AbD, 24);
    ExpectNoMessage("bolts");
}

TEST_F(SelectKvBase, CentreColumnBoxOfEverySeries)
{
    Store(0, 0, 300, 12, "WR300-8");
    Open();
    QCheckBox* box = C<QCheckBox>("chkCenCol");
    // In this order, so that an unchanged caption shows the one before.
    struct Case {
        const char* model;
        const char* caption;
        bool shown, ticked;
    } cases[] = {
        {"KS300A", "パターン２", true, true},  {"KC200A", "パターン２", false, false},
        {"K35-2", "中柱", true, false},        {"KS300A", "パターン２", true, true},
        {"ZF200", "パターン２", false, false}, {"QT300-3", "パターン２", true, false},
        {"WP200-4", "中柱", true, false},      {"KN400-2", "中柱", true, false},
        {"SV175-4-A", "中柱", true, false},    {"QX300B", "中柱", false, false},
    };
    for (const Case& c : cases) {
        Pick(c.model);
        EXPECT_EQ(box->text().toStdString(), c.caption) << c.model;
        EXPECT_EQ(!box->isHidden(), c.shown) << c.model;
        EXPECT_EQ(box->isChecked(), c.ticked) << c.model;
        EXPECT_EQ(W().CenColWall(0), c.ticked ? 1 : 0) << c.model;
        ExpectNoMessage(c.model);
    }
    Pick("K35-2");
    box->click();
    EXPECT_EQ(W().CenColWall(0), 1);
}

TEST_F(SelectKvBase, LumoPlateWarningOnTheModelChoice)
{
    Store(0, 2, 350, 16, "WP350-8");
    Open();
    QLabel* warning = C<QLabel>("Label4");
    EXPECT_TRUE(warning->isHidden());  // 40 mm
    Pick("WP350-8T");                  // 40.5 mm
    EXPECT_FALSE(warning->isHidden());
    EXPECT_EQ(warning->text().toStdString(), kLumoWarning);
    Pick("WP350-8");
    EXPECT_TRUE(warning->isHidden());

    StoreH(8, "H400-1");
    Open();
    Pick("WH400-4");  // 45 mm under an H column: no warning
    EXPECT_TRUE(C<QLabel>("Label4")->isHidden());
    ExpectNoMessage("plates");
}

// ---- Direction ----

TEST_F(SelectKvBase, DirectionsTheModelAllows)
{
    Store(0, 0, 300, 12, "WR300-8");
    Open();
    struct Case {
        const char* model;
        bool frame;
        std::vector<bool> options;
    } cases[] = {
        {"KS300A", true, {true, true, true, true}},
        {"KC200A", true, {true, true, true, true}},
        {"QX300B", false, {false, false, false, false}},
        {"K35-2", false, {false, false, false, false}},
    };
    for (const Case& c : cases) {
        Pick(c.model);
        EXPECT_EQ(C<QGroupBox>("Frame6")->isEnabled(), c.frame) << c.model;
        EXPECT_EQ(EnabledDirections(), c.options) << c.model;
    }
    StoreH(7, "H400-1");
    Open();
    EXPECT_TRUE(C<QGroupBox>("Frame6")->isEnabled());
    EXPECT_EQ(EnabledDirections(), (std::vector<bool>{true, true, false, false}));
}

TEST_F(SelectKvBase, DirectionKeptOrResetBetweenModels)
{
    Store(0, 0, 300, 12, "KS300A");
    Open();
    Click("optKVDir_3");
    EXPECT_EQ(W().KvDir, 3);
    EXPECT_EQ(W().KvRotate, 1);
    Pick("KS300B");  // the same prefix keeps 270ﾟ
    EXPECT_TRUE(C<QRadioButton>("optKVDir_3")->isChecked());
    EXPECT_EQ(W().KvDir, 3);
    EXPECT_EQ(W().KvRotate, 1);

    Click("optKVDir_1");
    EXPECT_EQ(W().KvRotate, 1);
    Pick("KC200A");  // KS to KC: back to 0ﾟ
    EXPECT_TRUE(C<QRadioButton>("optKVDir_0")->isChecked());
    EXPECT_EQ(W().KvDir, 0);
    EXPECT_EQ(W().KvRotate, 0);
    Click("optKVDir_1");  // a KC base never turns
    EXPECT_EQ(W().KvDir, 1);
    EXPECT_EQ(W().KvRotate, 0);

    StoreH(7, "H400-1");
    Open();
    Click("optKVDir_1");
    EXPECT_EQ(W().KvDir, 1);
    EXPECT_EQ(W().KvRotate, 1);
    Pick("WH400-4");  // neither KC nor KS: 90ﾟ stays selected, all disabled
    EXPECT_TRUE(C<QRadioButton>("optKVDir_1")->isChecked());
    EXPECT_FALSE(C<QGroupBox>("Frame6")->isEnabled());
    EXPECT_EQ(EnabledDirections(), (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(W().KvDir, 1);
    ExpectNoMessage("directions");
}

// ---- Pedestal ----

TEST_F(SelectKvBase, PlatesOfTheSameWholeMillimetresTakeOneSize)
{
    Store(0, 0, 300, 12, "WR300-8");
    Open();
    QComboBox* b = C<QComboBox>("cmbLenB");
    struct Case {
        const char* model;
        bool bEnabled;
    } cases[] = {{"QXM400", true}, {"QXD400", false}, {"QXE400", false}, {"H400-1", true}, {"KS300A", false}};
    for (const Case& c : cases) {
        Pick(c.model);
        EXPECT_EQ(b->isEnabled(), c.bEnabled) << c.model;
    }
}

TEST_F(SelectKvBase, RectangularPedestalListsBarsAndTurn)
{
    StoreH(7, "H400-1");
    gColumns(1).Fc = 21;
    StorePedestal(800, 600, "19");
    Open();
    ExpectNoMessage("open");
    QComboBox* a = C<QComboBox>("cmbLenA");
    QComboBox* b = C<QComboBox>("cmbLenB");
    QComboBox* bar = C<QComboBox>("cmbRBar");
    EXPECT_EQ(Items(a), (QStringList{"800", "850"}));
    EXPECT_EQ(Items(b), (QStringList{"600", "650"}));
    EXPECT_EQ(Items(bar), (QStringList{"D19(SD345)", "D22(SD345)"}));
    EXPECT_EQ(bar->itemData(1).toInt(), 22);
    EXPECT_EQ(a->currentText(), "800");
    EXPECT_EQ(b->currentText(), "600");
    EXPECT_EQ(bar->currentText(), "D19(SD345)");
    EXPECT_TRUE(b->isEnabled());

    Choose("cmbLenB", "650");
    EXPECT_EQ(W().cD(1), 650);
    EXPECT_EQ(W().cD(0), 800);

    // Another bar keeps the bar list and rebuilds A and B for it.
    Choose("cmbRBar", "D22(SD345)");
    EXPECT_EQ(Items(bar), (QStringList{"D19(SD345)", "D22(SD345)"}));
    EXPECT_EQ(bar->currentText(), "D22(SD345)");
    EXPECT_EQ(Items(a), QStringList{"900"});
    EXPECT_EQ(Items(b), QStringList{"700"});
    EXPECT_EQ(vb::Trim(W().RBarVal.value()), "22");
    EXPECT_EQ(vb::Trim(W().RBarMat.value()), "SD345");
    EXPECT_EQ(W().cD(0), 900);
    EXPECT_EQ(W().cD(1), 700);
    // The arrangement of the row for 900 x 700, D22, zone 2, not centre (its variant 3).
    EXPECT_EQ(W().RmN(0), 6);
    EXPECT_EQ(W().RmN(1), 5);
    EXPECT_EQ(W().rD(0), 880);

    // Turned by 90ﾟ: A lists the B sizes and B the A sizes, for the default bar.
    Click("optKVDir_1");
    EXPECT_EQ(W().KvRotate, 1);
    EXPECT_EQ(bar->currentText(), "D19(SD345)");
    EXPECT_EQ(Items(a), (QStringList{"600", "650"}));
    EXPECT_EQ(Items(b), (QStringList{"800", "850"}));
    EXPECT_EQ(W().cD(0), 650);  // the catalogue default of zone 2, exchanged
    EXPECT_EQ(W().cD(1), 850);
    EXPECT_EQ(W().SlabQ_B2X, 850);
    EXPECT_EQ(W().SlabQ_B2Y, 650);
    ExpectNoMessage("pedestal");
}

TEST_F(SelectKvBase, StrengthInEitherUnitGivesTheSameLists)
{
    std::array<QStringList, 2> lists;
    for (const bool si : {true, false}) {
        gSIDisp = si;
        StoreH(7, "H400-1");
        gColumns(1).Fc = si ? 21 : 210;
        StorePedestal(800, 600, "19");
        Open();
        EXPECT_EQ(C<QComboBox>("cmbFc")->currentText(), si ? "21" : "210");
        lists[si ? 0 : 1] = Items(C<QComboBox>("cmbLenA")) + Items(C<QComboBox>("cmbLenB")) +
                            Items(C<QComboBox>("cmbRBar"));
    }
    EXPECT_EQ(lists[0].size(), 6);
    EXPECT_EQ(lists[0], lists[1]);
    // Another strength class of the same model refills the lists.
    Choose("cmbFc", "240");
    EXPECT_EQ(W().Fc, 240);
    EXPECT_EQ(Items(C<QComboBox>("cmbLenA")), (QStringList{"800", "850"}));
    ExpectNoMessage("strength");
}

TEST_F(SelectKvBase, SquarePlateBFollowsAAlsoWithAShorterBList)
{
    Store(0, 0, 300, 12, "WR300-8");
    StorePedestal(700, 700, "19");
    Open();
    Pick("KC200A");
    QComboBox* b = C<QComboBox>("cmbLenB");
    EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(Items(C<QComboBox>("cmbLenA")), (QStringList{"700", "750", "800"}));
    EXPECT_EQ(Items(b), (QStringList{"700", "750"}));
    Choose("cmbLenA", "750");
    EXPECT_EQ(b->currentText(), "750");
    EXPECT_EQ(W().cD(0), 750);
    EXPECT_EQ(W().cD(1), 750);
    Choose("cmbLenA", "800");  // no third B: B keeps the value of A
    EXPECT_EQ(b->currentText(), "750");
    EXPECT_EQ(W().cD(0), 800);
    EXPECT_EQ(W().cD(1), 800);
    ExpectNoMessage("square");
}

TEST_F(SelectKvBase, StoredSizeThatIsNoCandidateIsShownAmongTheCandidates)
{
    StoreH(7, "H400-1");
    StorePedestal(777, 600, "19");
    Open();
    EXPECT_EQ(Items(C<QComboBox>("cmbLenA")), (QStringList{"777", "800", "850"}));
    EXPECT_EQ(C<QComboBox>("cmbLenA")->currentText(), "777");
    EXPECT_EQ(C<QComboBox>("cmbLenB")->currentText(), "600");
    EXPECT_EQ(W().cD(0), 777);
    EXPECT_EQ(W().RBarVal.value(), gColumns(1).RBarVal.value());
    EXPECT_TRUE(C<QLabel>("lblNoPedestal")->isHidden());
    // A user's choice of a candidate leaves the stored size out again.
    Choose("cmbFc", "27");
    EXPECT_EQ(Items(C<QComboBox>("cmbLenA")), (QStringList{"800", "850"}));
    EXPECT_EQ(QString::number(W().cD(0)), C<QComboBox>("cmbLenA")->currentText());
}

TEST_F(SelectKvBase, NoArrangementRowsEmptyTheListsAndTheCheckChangesNothing)
{
    Store(0, 0, 300, 12, "WR300-8");
    Open();
    QLabel* why = C<QLabel>("lblNoPedestal");
    EXPECT_FALSE(why->isHidden());
    EXPECT_EQ(why->text(), "配筋表にこの柱脚とFcの柱形がありません。");
    Pick("KN400-2");
    ExpectNoMessage("KN400-2");
    // The tables offer nothing: the lists show the model's own default
    // pedestal, which is what the column then holds.
    for (const char* list : {"cmbLenA", "cmbLenB", "cmbRBar"})
        EXPECT_EQ(C<QComboBox>(list)->count(), 1) << list;
    EXPECT_EQ(C<QComboBox>("cmbLenA")->currentText(), QString::number(W().cD(0)));
    EXPECT_EQ(C<QComboBox>("cmbLenB")->currentText(), QString::number(W().cD(1)));
    EXPECT_GT(W().cD(0), 0);
    EXPECT_FALSE(why->isHidden());
    const ColumnDataTbl before = W();
    dlg->CheckPedestal();
    EXPECT_EQ(W(), before);
    C<QPushButton>("cmdClose")->click();
    EXPECT_EQ(gColumns(1).cD, before.cD);
    EXPECT_EQ(gColumns(1).SlabQ_B2X, before.cD(1));
    Open();
    Pick("KS300A");
    EXPECT_TRUE(C<QLabel>("lblNoPedestal")->isHidden());
}

// ---- Preview ----

std::vector<std::string> Texts(const std::vector<drawing::DrawOp>& ops)
{
    std::vector<std::string> out;
    for (const auto& op : ops) out.push_back(op.str());
    return out;
}

TEST_F(SelectKvBase, PreviewDrawsTheWorkingCopiesInItsFrameAndLeavesTheProject)
{
    StoreH(7, "H400-1");
    StorePedestal(800, 600, "19");
    Open();
    Choose("cmbLenA", "850");  // the working column now differs from the stored one
    const ColumnDataTbl stored = gColumns(1);
    const KvBaseTbl storedBase = gKvBase(1);
    drawing::RecordingPicture kv, rc;
    rc.scaleWidth = 6000;
    rc.scaleHeight = 3000;
    dlg->SetPreviewTargets(&kv, &rc);
    dlg->DrawBasePreview();
    EXPECT_EQ(gColumns(1), stored);
    EXPECT_EQ(gKvBase(1), storedBase);

    // The same figures drawn straight from the working copies.
    drawing::RecordingPicture kvWant, rcWant;
    rcWant.scaleWidth = 6000;
    rcWant.scaleHeight = 3000;
    gColumns(1) = W();
    gKvBase(1) = dlg->WorkBase();
    drawing::clsPrintOut po;
    po.setprpMode(2);
    drawing::FigureFrameTbl f{};
    f.ScaleX = f.ScaleY = 95;
    f.Mode = 1;
    f.X0 = 0.8 * 4800 / 2;
    f.Y0 = 0.8 * 3600 / 2 - 95;
    int16_t iCol = 1, dir = W().KvDir;
    po.setprpPicture(&kvWant);
    drawing::DrawKvFigureH(po, f, iCol, dir);
    f.X0 = 0.8 * 6000 / 2;
    f.Y0 = 0.8 * 3000 / 2 - 95;
    po.setprpPicture(&rcWant);
    drawing::DrawRcColumnSection(po, f, iCol, dir);
    gColumns(1) = stored;
    gKvBase(1) = storedBase;
    EXPECT_GT(kv.ops.size(), 20u);
    EXPECT_GT(rc.ops.size(), 20u);
    EXPECT_EQ(Texts(kv.ops), Texts(kvWant.ops));
    EXPECT_EQ(Texts(rc.ops), Texts(rcWant.ops));

    // A base of series 0 leaves the pedestal picture as it was.
    rc.ops.clear();
    kv.ops.clear();
    Pick("QX300B");
    EXPECT_FALSE(kv.ops.empty());
    EXPECT_TRUE(rc.ops.empty());
    EXPECT_EQ(gColumns(1), stored);
}

TEST_F(SelectKvBase, AFailedFigureClearsItsPictureAndLeavesTheProject)
{
    StoreH(7, "H400-1");
    StorePedestal(800, 600, "19");
    gColumns(1).RmN(0) = 0;  // no main bars: the pedestal figure refuses
    const ColumnDataTbl stored = gColumns(1);
    const KvBaseTbl storedBase = gKvBase(1);
    Open();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "柱選定のエラー");
    EXPECT_EQ(script.messages[0].text.rfind("柱脚の図を描けませんでした。", 0), 0u) << script.messages[0].text;
    EXPECT_EQ(gColumns(1), stored);
    EXPECT_EQ(gKvBase(1), storedBase);

    drawing::RecordingPicture kv, rc;
    dlg->SetPreviewTargets(&kv, &rc);
    EXPECT_THROW(dlg->DrawBasePreview(), std::runtime_error);
    EXPECT_FALSE(kv.ops.empty());
    ASSERT_EQ(rc.ops.size(), 1u);
    EXPECT_EQ(rc.ops[0].kind, "Cls");
    EXPECT_EQ(gColumns(1), stored);
    EXPECT_EQ(gKvBase(1), storedBase);
    // The dialog goes on: another model draws again.
    script.messages.clear();
    Pick("H400-1");
    Pick("WH400-4");
    ExpectNoMessage("after the failure");
}

// ---- Whole dialog ----

TEST_F(SelectKvBase, OpenAndCommitLeavesEveryShapeAsStored)
{
    struct Case {
        const char* what;
        int16_t shape;
    } cases[] = {{"box", 0}, {"round", 1}, {"H", 2}};
    for (const Case& k : cases) {
        if (k.shape == 0) {
            Store(0, 0, 200, 9, "WP200-4");
            StorePedestal(650, 650, "19");
        } else if (k.shape == 1) {
            Store(1, 5, 267.4, 9.3, "WJ267-4");
            StorePedestal(700, 700, "22");
        } else {
            StoreH(7, "H400-1");
            StorePedestal(850, 650, "19");
        }
        ColumnDataTbl& c = gColumns(1);
        // What 決定 writes anyway: the base geometry, the series, the X/Y
        // flag and the slab widths; a base without arrangement rows (the
        // round one) shows no pedestal sizes, which then become 0.
        SetColumnBaseGeometry(c, gKvBase(1));
        c.KvV = gKvBase(1).KvV;
        c.ColXYDiffer = std::fabs(c.ColSpec(3) - c.ColSpec(1)) > 0.001 ? kTrue : kFalse;
        if (k.shape == 1) c.cD.fill(0);
        c.SlabQ_B1X = k.shape == 2 ? c.HDim(2) : c.ColSize;
        c.SlabQ_B1Y = k.shape == 2 ? c.HDim(1) : c.ColSize;
        c.SlabQ_B2X = c.cD(1);
        c.SlabQ_B2Y = c.cD(0);
        gCond.Fc = c.Fc;
        const ColumnDataTbl stored = c;
        const KvBaseTbl storedBase = gKvBase(1);
        Open();
        C<QPushButton>("cmdClose")->click();
        ExpectNoMessage(k.what);
        EXPECT_TRUE(gSpecDialogOK) << k.what;
        EXPECT_TRUE(gColumns(1) == stored) << k.what << ": " << Differences(gColumns(1), stored);
        EXPECT_EQ(gKvBase(1), storedBase) << k.what;
    }
}

TEST_F(SelectKvBase, Screenshots)
{
    const auto shot = [&](const char* file) { selkvtest::SaveShot(*dlg, file); };
    StoreH(7, "H400-1");
    StorePedestal(800, 600, "19");
    Open();
    Leave("txtHDim_3", "30");
    EXPECT_FALSE(C<QLabel>("Label4")->isHidden());
    shot("select_kv_h_fit_warning.png");

    Store(0, 0, 200, 9, "WP200-4");
    Open();
    Pick("ZF200");
    shot("select_kv_zefta.png");

    StoreH(7, "H400-1");
    StorePedestal(850, 650, "19");
    Open();
    EXPECT_TRUE(C<QComboBox>("cmbLenB")->isEnabled());
    shot("select_kv_rectangular_plate.png");
    ExpectNoMessage("screenshots");
}

}  // namespace
