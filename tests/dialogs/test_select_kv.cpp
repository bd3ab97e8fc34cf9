// The column and base dialog as a whole: what it shows for a stored column,
// 決定 with its refusals and rules, キャンセル, the close box, its place on
// the screen, and its opening from the main window.
#include "tests/dialogs/select_kv_fixture.h"
#include "tests/mainwin/window_fixture.h"

#include "dialogs/install.h"
#include "platform/qt/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

using namespace model;
using selkvtest::IdOf;
using selkvtest::Items;

const std::string kLumoRefusal =
    "コルヴァン・ルモシリーズのベース板厚が40mmを超える形式は\r　　F値325N/mm2の柱に適用できません。";

class SelectKv : public selkvtest::SelectKvTest {
protected:
    void Close() { C<QPushButton>("cmdClose")->click(); }
    void Cancel() { C<QPushButton>("cmdCancel")->click(); }
};

TEST_F(SelectKv, ControlsByNameWithTheirCaptions)
{
    Open();
    EXPECT_EQ(dlg->windowTitle(), "柱脚形式の選択");
    struct Named {
        const char* name;
        const char* caption;  // "" for controls without one
    } buttons[] = {{"optColV_0", "角形"},       {"optColV_1", "丸形"},         {"optColV_2", "Ｈ形"},
                   {"optKvV_0", "コルヴァン・ルモ"}, {"optKvV_1", "オルタコルヴァン"}, {"optKvV_2", "ソルヴェナス"},
                   {"optKVDir_0", "0ﾟ"},        {"optKVDir_3", "270ﾟ"},        {"chkCenCol", "中柱"},
                   {"cmdCalcSpec", "計算"},     {"cmdClose", "決定"},          {"cmdCancel", "キャンセル"},
                   {"cmdChangeDisp", "表示切替"}};
    for (const Named& n : buttons) {
        auto* b = C<QAbstractButton>(n.name);
        if (b) {
            EXPECT_EQ(b->text(), QString::fromUtf8(n.caption)) << n.name;
        }
    }
    const char* lists[] = {"cmbColMat", "cmbColSize", "cmbColT", "cmbColT_H", "cmbHSize", "cmbKV",
                           "cmbAb",     "cmbFc",      "cmbLenA", "cmbLenB",   "cmbRBar"};
    for (const char* name : lists) {
        auto* c = C<QComboBox>(name);
        if (c) {
            EXPECT_EQ(c->isEditable(), std::string(name) == "cmbColT") << name;
        }
    }
    for (const char* name : {"txtHDim_0", "txtHDim_3", "txtColSpec_0", "txtColSpec_4"}) C<QLineEdit>(name);
    EXPECT_EQ(C<QLabel>("Label1_1")->text(), "板厚");
    EXPECT_EQ(C<QLabel>("Label1_6")->text(), "Zpy(cm3)");
    EXPECT_EQ(C<QLabel>("Label1_7")->text(), "H柱サイズ");
    EXPECT_EQ(C<QGroupBox>("Frame6")->title(), "角度");
    C<QWidget>("pctKV");
    C<QWidget>("pctRCCol");
    C<QLabel>("Label4");
}

TEST_F(SelectKv, ShowsTheStoredColumnAndCommitsItUnchanged)
{
    Store(0, 0, 300, 12, "WR300-8", 2);
    gColumns(1).Fc = 24;
    const ColumnDataTbl stored = gColumns(1);
    const KvBaseTbl storedBase = gKvBase(1);
    Open();
    EXPECT_TRUE(script.messages.empty());
    EXPECT_TRUE(C<QRadioButton>("optColV_0")->isChecked());
    EXPECT_EQ(C<QComboBox>("cmbColMat")->currentText(), "BCR295");
    EXPECT_EQ(C<QComboBox>("cmbColSize")->currentText(), "300");
    EXPECT_EQ(C<QComboBox>("cmbColT")->currentText(), "12");
    EXPECT_EQ(C<QLineEdit>("txtColSpec_0")->text(), "133.3");
    EXPECT_EQ(C<QLineEdit>("txtColSpec_2")->text(), "1420");
    EXPECT_TRUE(C<QRadioButton>("optKvV_0")->isChecked());
    EXPECT_EQ(C<QComboBox>("cmbKV")->currentText(), "WR300-8");
    EXPECT_EQ(Items(C<QComboBox>("cmbAb")), (QStringList{"M24", "M30", "M36"}));
    EXPECT_EQ(C<QComboBox>("cmbAb")->currentText(), "M30");
    EXPECT_EQ(C<QComboBox>("cmbFc")->currentText(), "24");
    EXPECT_EQ(dlg->WorkBase().AbD, 30);
    // Opening changes nothing stored.
    EXPECT_EQ(gColumns(1), stored);
    EXPECT_EQ(gKvBase(1), storedBase);

    Close();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(gSpecDialogOK);
    EXPECT_TRUE(gDataChanged);
    const ColumnDataTbl& c = gColumns(1);
    EXPECT_EQ(c.KolvanID, stored.KolvanID);
    EXPECT_EQ(c.AbNum, 2);
    EXPECT_EQ(c.KvV, 4);
    EXPECT_EQ(c.ColMatCode, 0);
    EXPECT_EQ(c.ColSize, 300);
    EXPECT_EQ(c.ColT, 12);
    EXPECT_EQ(c.ColSpec, stored.ColSpec);
    EXPECT_EQ(c.ColSpecUser, stored.ColSpecUser);  // the boxes show the catalogue values
    EXPECT_EQ(c.ColXYDiffer, kFalse);
    EXPECT_EQ(c.Fc, 24);
    EXPECT_EQ(gCond.Fc, stored.Fc == 24 ? gCond.Fc : 24);
    EXPECT_EQ(c.SlabQ_B1X, 300);
    EXPECT_EQ(c.SlabQ_B1Y, 300);
    // The pedestal and the slab widths the user did not touch stay as stored.
    EXPECT_EQ(c.cD, stored.cD);
    EXPECT_EQ(c.SlabQ_B2X, stored.SlabQ_B2X);
    EXPECT_EQ(c.SlabQ_B2Y, stored.SlabQ_B2Y);
    EXPECT_EQ(gKvBase(1), storedBase);
}

TEST_F(SelectKv, Bcp325BelowSize300IsShownAsBcr295)
{
    struct Case {
        double size;
        bool notice;
    } cases[] = {{299.9, true}, {300, false}};
    for (const Case& k : cases) {
        Store(0, 2, k.size, 12, "WR300-8");
        script.messages.clear();
        Open();
        if (k.notice) {
            ASSERT_EQ(script.messages.size(), 1u) << k.size;
            EXPECT_EQ(script.messages[0].text, "BCP325の柱は300以上から対応しています。\r  強制的にBCR295に変更します。");
            EXPECT_EQ(script.messages[0].title, "確認");
        } else {
            EXPECT_TRUE(script.messages.empty()) << k.size;
        }
        EXPECT_EQ(C<QComboBox>("cmbColMat")->currentText(), k.notice ? "BCR295" : "BCP325") << k.size;
        EXPECT_EQ(dlg->WorkColumn().ColMatCode, k.notice ? 0 : 2) << k.size;
        Cancel();
        EXPECT_EQ(gColumns(1).ColMatCode, 2) << k.size;
    }
}

TEST_F(SelectKv, UnusualStoredValuesOpenWithoutChangingTheRecord)
{
    struct Case {
        const char* what;
        std::function<void(ColumnDataTbl&)> change;
        const char* model;
    } cases[] = {
        {"series 0", [](ColumnDataTbl&) {}, "QX250A"},
        {"series 2", [](ColumnDataTbl&) {}, "ZF200"},
        {"grade 999", [](ColumnDataTbl& c) { c.ColMatCode = 999; }, "WP200-4"},
        {"bolt beyond the list", [](ColumnDataTbl& c) { c.AbNum = 9; }, "WP200-4"},
    };
    for (const Case& k : cases) {
        Store(0, 0, k.model == std::string("QX250A") ? 250 : 200, 9, k.model);
        k.change(gColumns(1));
        const ColumnDataTbl stored = gColumns(1);
        const KvBaseTbl storedBase = gKvBase(1);
        script.messages.clear();
        Open();
        EXPECT_TRUE(script.messages.empty()) << k.what;
        EXPECT_EQ(C<QComboBox>("cmbColMat")->currentText(), "BCR295") << k.what;
        EXPECT_EQ(gColumns(1), stored) << k.what;
        Cancel();
        EXPECT_EQ(gColumns(1), stored) << k.what;
        EXPECT_EQ(gKvBase(1), storedBase) << k.what;
    }
}

TEST_F(SelectKv, MissingCatalogueGivesOneMessageAndAUsableDialog)
{
    const ColumnDataTbl stored = gColumns(1);
    gDataFileName = "\\no such catalogue.mdb";
    Open();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "柱選定のエラー");
    EXPECT_FALSE(script.messages[0].text.empty());
    EXPECT_EQ(C<QComboBox>("cmbColSize")->count(), 0);

    Close();
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(script.messages[1].text, "柱脚の形式が選択されていません。");
    EXPECT_EQ(script.messages[1].title, "柱選定のエラー");
    C<QRadioButton>("optColV_1")->click();  // fails again, reported again
    EXPECT_EQ(script.messages.size(), 3u);
    Cancel();
    EXPECT_EQ(gColumns(1), stored);
    EXPECT_FALSE(gSpecDialogOK);
}

TEST_F(SelectKv, ThickLumoPlateUnderAnF325ColumnIsRefused)
{
    struct Case {
        const char* what;
        int16_t shape, grade;
        double size, t;
        const char* model;
        bool refused;
    } cases[] = {
        {"BCP325, 40 mm", 0, 2, 350, 16, "WP350-8", false},
        {"BCP325, 40.5 mm", 0, 2, 350, 16, "WP350-8T", true},
        {"STKR490, 40.5 mm", 0, 4, 350, 16, "WP350-8T", true},
        {"STKR400, 40.5 mm", 0, 3, 350, 16, "WP350-8T", false},
        {"STKN490, 40.5 mm", 1, 6, 318.5, 10.3, "WJ318-8", true},
        {"STKN400, 40.5 mm", 1, 5, 318.5, 10.3, "WJ318-8", false},
        {"SM490, H, 45 mm", 2, 8, 400, 200, "WH400-4", false},
    };
    for (const Case& k : cases) {
        if (k.shape == 2)
            StoreH(k.grade, k.model);
        else
            Store(k.shape, k.grade, k.size, k.t, k.model);
        const ColumnDataTbl stored = gColumns(1);
        script.messages.clear();
        gSpecDialogOK = false;
        Open();
        ASSERT_EQ(C<QComboBox>("cmbKV")->currentText().toStdString(), k.model) << k.what;
        Close();
        if (k.refused) {
            ASSERT_EQ(script.messages.size(), 1u) << k.what;
            EXPECT_EQ(script.messages[0].text, kLumoRefusal) << k.what;
            EXPECT_EQ(script.messages[0].title, "柱選定のエラー") << k.what;
            EXPECT_FALSE(gSpecDialogOK) << k.what;
            EXPECT_EQ(gColumns(1), stored) << k.what;
            EXPECT_NE(dlg->result(), QDialog::Accepted) << k.what;
        } else {
            EXPECT_TRUE(script.messages.empty()) << k.what;
            EXPECT_TRUE(gSpecDialogOK) << k.what;
            EXPECT_EQ(gColumns(1).KolvanID, IdOf(k.model)) << k.what;
        }
    }
}

TEST_F(SelectKv, RedWarningWhenTheStoredGradeMeetsAThickLumoPlate)
{
    struct Case {
        int16_t shape, grade;
        const char* model;
        bool warned;
    } cases[] = {{0, 2, "WR300-8", true}, {0, 0, "WR300-8", false}, {0, 2, "KS300A", false}, {2, 8, "WH400-4", false}};
    for (const Case& k : cases) {
        if (k.shape == 2)
            StoreH(k.grade, k.model);
        else
            Store(k.shape, k.grade, 300, 12, k.model);
        Open();
        QLabel* warning = C<QLabel>("Label4");
        EXPECT_EQ(!warning->isHidden(), k.warned) << k.grade << " " << k.model;
        if (k.warned) {
            EXPECT_EQ(warning->text(), "コルヴァン・ルモシリーズのベース板厚が40mmを超える形式は\n　　F値325N/mm2の柱に適用できません。");
        }
    }
}

TEST_F(SelectKv, NoModelIsRefused)
{
    // STKR400 at 950: no model of any series. The stored model is offered
    // all the same, and 決定 without a change keeps it.
    Store(0, 3, 950, 19, "WP350-8");
    const ColumnDataTbl stored = gColumns(1);
    Open();
    EXPECT_EQ(C<QComboBox>("cmbColSize")->currentText(), "950");
    EXPECT_EQ(Items(C<QComboBox>("cmbKV")), QStringList{"WP350-8"});
    Close();
    EXPECT_TRUE(script.messages.empty());
    EXPECT_TRUE(gSpecDialogOK);

    EXPECT_EQ(gColumns(1).KolvanID, stored.KolvanID);
    EXPECT_EQ(gColumns(1).ColSize, 950);

    // The user's choice of a size without a model leaves none to choose.
    const ColumnDataTbl committed = gColumns(1);
    gSpecDialogOK = false;
    Open();
    Choose("cmbColSize", "1000");
    EXPECT_EQ(C<QComboBox>("cmbKV")->count(), 0);
    Close();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "柱脚の形式が選択されていません。");
    EXPECT_EQ(script.messages[0].title, "柱選定のエラー");
    EXPECT_FALSE(gSpecDialogOK);
    EXPECT_EQ(gColumns(1), committed);
}

TEST_F(SelectKv, UserSectionValuesAreAllOrNothing)
{
    // BCR 200 x 9 in the catalogue: A 65.98, Zx 391.8, Zpx 465.4, Zy 391.8, Zpy 465.4.
    struct Case {
        const char* what;
        int box;
        const char* text;
        std::array<double, 5> user;
        int16_t xyDiffer;
    } cases[] = {
        {"as listed", -1, "", {0, 0, 0, 0, 0}, kFalse},
        {"one box typed", 1, "400", {65.98, 400, 465.4, 391.8, 465.4}, kTrue},
        {"catalogue text typed again", 1, "391.8", {0, 0, 0, 0, 0}, kFalse},
        {"same value, other text", 0, "65.980", {65.98, 391.8, 465.4, 391.8, 465.4}, kFalse},
    };
    for (const Case& k : cases) {
        Store(0, 0, 200, 9, "WP200-4");
        Open();
        if (k.box >= 0) C<QLineEdit>(("txtColSpec_" + std::to_string(k.box)).c_str())->setText(k.text);
        Close();
        for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(gColumns(1).ColSpecUser(i), k.user[i]) << k.what << " " << i;
        EXPECT_EQ(gColumns(1).ColXYDiffer, k.xyDiffer) << k.what;
    }
}

TEST_F(SelectKv, HSectionDiffersInXAndYAndGivesItsWidths)
{
    StoreH(7, "H400-1");
    Open();
    EXPECT_EQ(C<QComboBox>("cmbColT_H")->currentText(), "200");
    EXPECT_EQ(C<QComboBox>("cmbHSize")->currentText(), "H-400×200×8×13");
    EXPECT_EQ(C<QLineEdit>("txtHDim_3")->text(), "13");
    Close();
    const ColumnDataTbl& c = gColumns(1);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(c.ColSpecUser(k), 0) << k;
    EXPECT_EQ(c.ColXYDiffer, kTrue);
    EXPECT_EQ(c.ColID, 501);
    // Base not turned: B across X, H across Y.
    EXPECT_EQ(c.SlabQ_B1X, 200);
    EXPECT_EQ(c.SlabQ_B1Y, 400);
}

TEST_F(SelectKv, ConcreteStrengthGoesToTheColumnAndTheProject)
{
    // The project's strength follows the column's when the dialog changed it.
    struct Case {
        bool si;
        double stored, after;
        const char* choice;  // a strength chosen in the list, or none
    } cases[] = {{true, 22.9, 22.9, nullptr}, {true, 999, 21, nullptr}, {false, 240, 240, nullptr},
                 {true, 20, 20, nullptr},     {true, 24, 27, "27"},     {true, 24.7, 27, "27"}};
    for (const Case& k : cases) {
        gSIDisp = k.si;
        gCond.Fc = 18;
        Store(0, 0, 200, 9, "WP200-4");
        gColumns(1).Fc = k.stored;
        Open();
        EXPECT_EQ(gColumns(1).Fc, k.stored);
        if (k.choice) Choose("cmbFc", k.choice);
        Close();
        EXPECT_EQ(gColumns(1).Fc, k.after) << k.stored;
        EXPECT_EQ(gCond.Fc, k.after == k.stored ? 18 : k.after) << k.stored;
    }
}

TEST_F(SelectKv, ShearChoicesAreDroppedOnlyForAnotherModel)
{
    for (const bool otherModel : {false, true}) {
        Store(0, 0, 350, 16, "WP350-8");
        gColumns(1).FShear.fill(3);
        Open();
        if (otherModel) Choose("cmbKV", "WP350-8T");
        Close();
        const ColumnDataTbl& c = gColumns(1);
        int kept = 0;
        for (long d = 1; d <= 7; ++d)
            for (long x = 0; x <= 1; ++x) kept += c.FShear(d, x) == 3;
        EXPECT_EQ(kept, otherModel ? 0 : 14);
        EXPECT_EQ(c.KolvanID, gKvBase(1).ID);
        EXPECT_EQ(c.KolvanID, IdOf(otherModel ? "WP350-8T" : "WP350-8"));
        EXPECT_EQ(c.KvV, gKvBase(1).KvV);
    }
}

TEST_F(SelectKv, CancelRestoresTheChangeFlagTheCloseBoxLeavesIt)
{
    Store(0, 0, 200, 9, "WP200-4");
    const ColumnDataTbl stored = gColumns(1);
    Open();
    Choose("cmbColT", "12");
    gDataChanged = true;
    Cancel();
    EXPECT_FALSE(gDataChanged);
    EXPECT_FALSE(gSpecDialogOK);
    EXPECT_EQ(gColumns(1), stored);

    gDataChanged = false;
    Open();
    dlg->show();
    Choose("cmbColT", "12");
    gDataChanged = true;
    dlg->close();
    EXPECT_TRUE(dlg->isHidden());
    EXPECT_TRUE(gDataChanged);
    EXPECT_FALSE(gSpecDialogOK);
    EXPECT_EQ(gColumns(1), stored);
}

TEST_F(SelectKv, ClosingShowsTheXDiagramForAColumnAlikeInXAndY)
{
    struct Case {
        int16_t before;
        bool rotateMode, xyDiffer;
        int16_t after;
    } cases[] = {
        {1, false, false, 0}, {5, false, false, 0}, {4, false, false, 4},
        {1, true, false, 1},  {1, false, true, 1},  {5, true, true, 5},
    };
    for (const Case& k : cases) {
        Store(0, 0, 200, 9, "WP200-4");
        gKvBase(1).RotateMode = k.rotateMode ? kTrue : kFalse;
        gColumns(1).ColXYDiffer = k.xyDiffer ? kTrue : kFalse;
        gDispMode = k.before;
        Open();
        Cancel();
        EXPECT_EQ(gDispMode, k.after) << k.before << k.rotateMode << k.xyDiffer;
    }
    // 決定 applies it to the records it has written (a box column: alike).
    Store(0, 0, 200, 9, "WP200-4");
    gColumns(1).ColXYDiffer = kTrue;
    gDispMode = 1;
    Open();
    Close();
    EXPECT_EQ(gDispMode, 0);
}

TEST_F(SelectKv, OpensWhereItWasClosed)
{
    Open();
    const double tx = vbqt::TwipsPerPixelX(*dlg);
    const double ty = vbqt::TwipsPerPixelY(*dlg);
    EXPECT_EQ(dlg->pos(), QPoint(static_cast<int>(std::lround(4000 / tx)), static_cast<int>(std::lround(2000 / ty))));
    dlg->move(300, 200);
    Cancel();
    QSettings s = AppSettings();
    s.beginGroup(kSettingsGroup);
    EXPECT_EQ(s.value("SelKVLeft").toString(), QString::number(std::lround(300 * tx)));
    EXPECT_EQ(s.value("SelKVTop").toString(), QString::number(std::lround(200 * ty)));
    Open();
    EXPECT_EQ(dlg->pos(), QPoint(300, 200));
}

// ---- From the main window ----

class SelectKvFromMainWindow : public mainwintest::WindowTest {};

TEST_F(SelectKvFromMainWindow, ColumnCommandOpensItAndRecalculatesAfterOK)
{
    InstallSelectKvDialog(*w);
    gCond.SMode = kTrue;
    for (const bool ok : {false, true}) {
        gResults(gCurCol).Mu(0, 1) = -12345;
        QString title;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<frmSelectKV*>(QApplication::activeModalWidget());
            if (!d) return;
            title = d->windowTitle();
            auto* t = d->findChild<QComboBox*>("cmbColT");
            t->setCurrentIndex(t->findText("12"));
            emit t->activated(t->currentIndex());
            d->findChild<QPushButton*>(ok ? "cmdClose" : "cmdCancel")->click();
        });
        w->msub_EditColumnSpec();
        EXPECT_EQ(title, "柱脚形式の選択");
        EXPECT_EQ(gSpecDialogOK, ok);
        EXPECT_EQ(gColumns(gCurCol).ColT, ok ? 12 : 9);
        // Only 決定 is followed by the column's recalculation.
        EXPECT_EQ(gResults(gCurCol).Mu(0, 1) != -12345, ok);
    }
}

}  // namespace
