// The column and base dialog's choices of the column (shape, grade, size,
// thickness, section values), of the base series and of the model list, and
// its screenshots.
#include "tests/dialogs/select_kv_fixture.h"

#include "model/format.h"
#include "platform/qt/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>

namespace {

using namespace model;
using selkvtest::IdOf;
using selkvtest::Items;

class SelectKvColumn : public selkvtest::SelectKvTest {
protected:
    QString SpecBoxes()
    {
        QStringList t;
        for (int k = 0; k < 5; ++k) t << C<QLineEdit>(("txtColSpec_" + std::to_string(k)).c_str())->text();
        return t.join(' ');
    }
    int LeftTwips(QWidget* w) { return static_cast<int>(std::lround(w->x() * vbqt::TwipsPerPixelX(*dlg))); }
};

TEST_F(SelectKvColumn, GradesOfEachShapeWithTheirStrength)
{
    struct Case {
        const char* option;
        QStringList grades;
        int16_t firstCode;
    } cases[] = {
        {"optColV_1", {"STKN400(STK400)", "STKN490(STK490)"}, 5},
        {"optColV_2", {"SS400", "SM490", "SN400", "SN490"}, 7},
        {"optColV_0", {"BCR295", "BCP235", "BCP325", "STKR400", "STKR490"}, 0},
    };
    const double f[] = {3.0, 2.4, 3.3, 2.4, 3.3, 2.4, 3.3, 2.4, 3.3, 2.4, 3.3};
    Store(0, 1, 300, 12, "WR300-8");
    Open();
    for (const Case& k : cases) {
        C<QRadioButton>(k.option)->click();
        QComboBox* grades = C<QComboBox>("cmbColMat");
        EXPECT_EQ(Items(grades), k.grades) << k.option;
        EXPECT_EQ(grades->currentIndex(), 0) << k.option;
        for (int i = k.grades.size() - 1; i >= 0; --i) {
            grades->setCurrentIndex(i);
            const int16_t code = static_cast<int16_t>(k.firstCode + i);
            EXPECT_EQ(dlg->WorkColumn().ColMatCode, code);
            EXPECT_EQ(dlg->WorkColumn().ColF, f[code]) << code;
        }
    }
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(SelectKvColumn, ShapeResetsTheListsBelowIt)
{
    Store(0, 0, 300, 16, "KS300A");
    gColumns(1).KvDir = 1;
    gColumns(1).KvRotate = 1;
    Open();
    EXPECT_TRUE(C<QRadioButton>("optKVDir_1")->isChecked());
    EXPECT_EQ(dlg->WorkColumn().KvDir, 1);

    C<QRadioButton>("optColV_1")->click();
    EXPECT_EQ(C<QComboBox>("cmbColMat")->currentText(), "STKN400(STK400)");
    EXPECT_EQ(Items(C<QComboBox>("cmbColSize")), (QStringList{"267.4", "318.5", "406.4"}));
    EXPECT_EQ(C<QComboBox>("cmbColT")->currentText(), "9.3");
    EXPECT_TRUE(C<QRadioButton>("optKvV_0")->isChecked());
    EXPECT_EQ(C<QComboBox>("cmbKV")->currentText(), "WJ267-4");
    EXPECT_EQ(dlg->WorkColumn().KvDir, 0);
    EXPECT_EQ(dlg->WorkColumn().KvRotate, 0);
    // The shape hides the centre box; the series-4 model shows it again.
    EXPECT_FALSE(C<QCheckBox>("chkCenCol")->isHidden());
    EXPECT_EQ(C<QCheckBox>("chkCenCol")->text(), "中柱");
    EXPECT_FALSE(C<QComboBox>("cmbHSize")->isEnabled());

    C<QRadioButton>("optColV_2")->click();
    QComboBox* widths = C<QComboBox>("cmbColT_H");
    EXPECT_FALSE(widths->isHidden());
    EXPECT_TRUE(C<QComboBox>("cmbColT")->isHidden());
    EXPECT_EQ(LeftTwips(widths), 2640);
    EXPECT_EQ(C<QLabel>("Label1_1")->text(), "ﾌﾗﾝｼﾞ幅");
    EXPECT_EQ(Items(widths), (QStringList{"200", "300"}));
    EXPECT_EQ(Items(C<QComboBox>("cmbHSize")), (QStringList{"H-400×200×8×13", "H-396×199×7×11"}));
    EXPECT_TRUE(C<QComboBox>("cmbHSize")->isEnabled());
    EXPECT_TRUE(C<QLineEdit>("txtHDim_0")->isEnabled());
    EXPECT_EQ(C<QLineEdit>("txtHDim_1")->text(), "200");
    EXPECT_FALSE(C<QPushButton>("cmdCalcSpec")->isHidden());
    EXPECT_EQ(C<QComboBox>("cmbKV")->currentText(), "H400-1");

    C<QRadioButton>("optColV_0")->click();
    EXPECT_EQ(C<QLabel>("Label1_1")->text(), "板厚");
    EXPECT_EQ(C<QComboBox>("cmbHSize")->count(), 0);
    EXPECT_EQ(C<QLineEdit>("txtHDim_0")->text(), "");
    EXPECT_TRUE(C<QPushButton>("cmdCalcSpec")->isHidden());
    EXPECT_EQ(LeftTwips(C<QComboBox>("cmbColT")), 2640);
}

TEST_F(SelectKvColumn, SizesInNumericOrderEachOnce)
{
    Store(0, 3, 175, 6, "SV175-4-A");
    Open();
    // STKR400 lists the BCP and STKR sizes; 1000 is in both.
    EXPECT_EQ(Items(C<QComboBox>("cmbColSize")),
              (QStringList{"175", "200", "300", "350", "400", "500", "950", "1000"}));
    C<QComboBox>("cmbColMat")->setCurrentIndex(0);
    EXPECT_EQ(Items(C<QComboBox>("cmbColSize")), (QStringList{"200", "250", "300", "350", "400", "500"}));
}

TEST_F(SelectKvColumn, ThicknessChosenOrTyped)
{
    Store(0, 0, 200, 9, "WP200-4");
    gColumns(1).ColID = 0;
    Open();
    QComboBox* t = C<QComboBox>("cmbColT");
    EXPECT_EQ(Items(t), (QStringList{"9", "12"}));
    EXPECT_EQ(SpecBoxes(), "65.98 391.8 465.4 391.8 465.4");

    // From the list: the values, not the section ID.
    Choose("cmbColT", "12");
    EXPECT_EQ(SpecBoxes(), "85.3 485.9 588.3 485.9 588.3");
    EXPECT_EQ(dlg->WorkColumn().ColT, 12);
    EXPECT_EQ(dlg->WorkColumn().ColID, 0);

    // Typed: the values and the section ID.
    t->lineEdit()->selectAll();
    QTest::keyClicks(t->lineEdit(), "9");
    EXPECT_EQ(SpecBoxes(), "65.98 391.8 465.4 391.8 465.4");
    EXPECT_EQ(dlg->WorkColumn().ColID, 101);

    // A thickness the catalogue lacks leaves what is shown.
    QTest::keyClicks(t->lineEdit(), "9");
    EXPECT_EQ(dlg->WorkColumn().ColT, 99);
    EXPECT_EQ(SpecBoxes(), "65.98 391.8 465.4 391.8 465.4");
    EXPECT_TRUE(script.messages.empty());

    // The first thickness chosen again after typing runs its handler.
    Choose("cmbColT", "9");
    EXPECT_EQ(dlg->WorkColumn().ColT, 9);
}

TEST_F(SelectKvColumn, SectionValuesTooSmallOrMissingLeaveTheBox)
{
    Store(0, 3, 1000, 22, "WP350-8");
    Open();
    EXPECT_EQ(SpecBoxes(), "861.4 25530 29640 25530 29640");
    Choose("cmbColSize", "950");
    EXPECT_EQ(SpecBoxes(), "695.8 19690 29640 19690 29640");
    EXPECT_EQ(dlg->WorkColumn().ColSpec(2), 29640);
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(SelectKvColumn, SelectingTheSelectedSizeRunsNothing)
{
    Store(0, 0, 300, 12, "WR300-8");
    Open();
    Choose("cmbColT", "16");
    Choose("cmbColSize", "300");
    EXPECT_EQ(C<QComboBox>("cmbColT")->currentText(), "16");
    // Another series refills the thicknesses and takes the first.
    C<QRadioButton>("optKvV_2")->click();
    EXPECT_EQ(C<QComboBox>("cmbColT")->currentText(), "12");
}

TEST_F(SelectKvColumn, HSectionValuesFromTheirPlates)
{
    StoreH(7, "H400-1");
    Open();
    C<QPushButton>("cmdCalcSpec")->click();
    // 400 x 200 x 8 x 13: A to four figures, the others to three.
    EXPECT_EQ(SpecBoxes(), "81.92 1150 1290 173 266");
    C<QPushButton>("cmdClose")->click();
    const double user[] = {81.92, 1150, 1290, 173, 266};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(gColumns(1).ColSpecUser(k), user[k]) << k;
}

TEST_F(SelectKvColumn, FocusSelectsTheWholeBox)
{
    Store(0, 0, 200, 9, "WP200-4");
    Open();
    dlg->show();
    QApplication::setActiveWindow(dlg.get());
    QLineEdit* box = C<QLineEdit>("txtColSpec_1");
    box->setFocus();
    QTest::qWait(20);
    EXPECT_EQ(box->selectedText(), "391.8");
}

// ---- Series options and model list ----

TEST_F(SelectKvColumn, SeriesOptionsFollowShapeSizeAndModel)
{
    // Per option ルモ, オルタ, ソルヴェナス: s/h shown or hidden, Left in twips, d when
    // disabled; * the selected one.
    struct Case {
        int16_t shape;
        double size, t;
        const char* model;
        const char* expect;
    } cases[] = {
        {0, 250, 9, "SV250-8-A", "s2160 s4200 s120*"},
        {0, 350, 16, "WP350-8", "s120* s2160 h4200"},
        {0, 350, 16, "K35-2", "s120 s2160* h4200"},
        {0, 500, 22, "KN500-3", "h4200 s120d* h2160"},
        {1, 267.4, 9.3, "WJ267-4", "s120* s2160 h4200"},
        {2, 400, 200, "H400-1", "h4200 s120d* h2160"},
    };
    for (const auto& k : cases) {
        if (k.shape == 2)
            StoreH(7, k.model);
        else
            Store(k.shape, 0 + (k.shape == 1 ? 5 : 0), k.size, k.t, k.model);
        Open();
        EXPECT_EQ(C<QComboBox>("cmbKV")->currentText().toStdString(), k.model);
        std::string got;
        for (int i = 0; i < 3; ++i) {
            QRadioButton* o = C<QRadioButton>(("optKvV_" + std::to_string(i)).c_str());
            if (!got.empty()) got += ' ';
            got += (o->isHidden() ? "h" : "s") + std::to_string(LeftTwips(o)) + (o->isEnabled() ? "" : "d") +
                   (o->isChecked() ? "*" : "");
        }
        EXPECT_EQ(got, k.expect) << k.model;
    }
}

TEST_F(SelectKvColumn, ModelSeriesFollowsTheSize)
{
    // ソルヴェナス at 250, moved to 350: the ルモ models are asked for.
    Store(0, 0, 250, 9, "SV250-8-A");
    Open();
    Choose("cmbColSize", "350");
    EXPECT_EQ(Items(C<QComboBox>("cmbKV")), (QStringList{"WP350-8", "WP350-8T"}));
    EXPECT_EQ(C<QComboBox>("cmbKV")->currentText(), "WP350-8");
    EXPECT_TRUE(C<QRadioButton>("optKvV_0")->isChecked());
    EXPECT_EQ(dlg->WorkColumn().KvV, 4);

    // オルタ at 200, moved to 175: the ソルヴェナス models, whose option is shown at 175.
    Store(0, 3, 200, 9, "KC200A");
    Open();
    EXPECT_TRUE(C<QRadioButton>("optKvV_1")->isChecked());
    Choose("cmbColSize", "175");
    EXPECT_EQ(C<QComboBox>("cmbKV")->currentText(), "SV175-4-A");
    EXPECT_TRUE(C<QRadioButton>("optKvV_2")->isChecked());
    EXPECT_TRUE(C<QRadioButton>("optKvV_1")->isHidden());
    EXPECT_EQ(dlg->WorkColumn().KvV, 6);
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(SelectKvColumn, ModelListOnCatalogueRows)
{
    // Box 200, ルモ: WP200-2 (flag 0) before WP200-4 (flag 1).
    Store(0, 0, 200, 9, "WP200-2");
    Open();
    EXPECT_EQ(Items(C<QComboBox>("cmbKV")), (QStringList{"WP200-2", "WP200-4"}));
    EXPECT_EQ(C<QComboBox>("cmbKV")->currentText(), "WP200-2");
    Store(0, 0, 200, 9, "WP200-4");
    Open();
    EXPECT_EQ(Items(C<QComboBox>("cmbKV")), (QStringList{"WP200-4"}));

    // Box 200, オルタ: the "KC" model only while such names are shown. The
    // first row's ID is taken even when the row is not listed.
    for (const bool kc : {false, true}) {
        gShowKCModels = kc;
        Store(0, 0, 200, 9, "WP200-4");
        Open();
        C<QRadioButton>("optKvV_1")->click();
        EXPECT_EQ(Items(C<QComboBox>("cmbKV")), kc ? QStringList{"KC200A"} : QStringList{}) << kc;
        EXPECT_EQ(dlg->WorkColumn().KolvanID, IdOf("KC200A")) << kc;
    }
    gShowKCModels = true;

    // Round 406.4, オルタ: the flag-2 model only with the limited line-up.
    for (const bool dispF2 : {false, true}) {
        gShowDispF2 = dispF2;
        Store(1, 5, 406.4, 12.7, "WJ267-4");
        Open();
        C<QRadioButton>("optKvV_1")->click();
        EXPECT_EQ(Items(C<QComboBox>("cmbKV")), dispF2 ? QStringList{"R406-2"} : QStringList{}) << dispF2;
    }
}

// ---- Screenshots ----

TEST_F(SelectKvColumn, Screenshots)
{
    const auto shot = [&](const char* file) { selkvtest::SaveShot(*dlg, file); };
    Store(0, 0, 300, 16, "WR300-8", 2);
    Open();
    shot("select_kv_box.png");
    Store(1, 5, 267.4, 9.3, "WJ267-4");
    Open();
    shot("select_kv_round.png");
    Store(0, 2, 300, 12, "WR300-8");
    Open();
    EXPECT_FALSE(C<QLabel>("Label4")->isHidden());
    shot("select_kv_lumo_warning.png");
}

}  // namespace
