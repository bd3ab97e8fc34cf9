// The column and base dialog opened on a stored column shows that column and
// gives it back unchanged: its working copies are the stored records, 決定
// without a change writes them back field for field, a stored pedestal that
// the catalogue does not offer stays, and after a failure 決定 writes nothing.
#include "tests/dialogs/select_kv_fixture.h"

#include "dialogs/select_kv_rules.h"
#include "model/base_data.h"
#include "model/format.h"
#include "platform/text/vb.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>


namespace {

using namespace model;
using selkvtest::Differences;

// A stored column as a project holds it: its section, its model with the
// base's geometry, and a pedestal of its own.
struct Stored {
    const char* what;
    int16_t shape, grade;
    double size, t;
    const char* model;
    int16_t abNum;
    double cdA, cdB;
    const char* bar;  // "D22(SD345)"
    std::function<void(ColumnDataTbl&)> more;
};

class SelectKvKeeps : public selkvtest::SelectKvTest {
protected:
    void StoreRow(const Stored& s)
    {
        if (s.shape == 2) {
            StoreH(s.grade, s.model);
            StoreModel(s.model, s.abNum);
        } else {
            Store(s.shape, s.grade, s.size, s.t, s.model, s.abNum);
        }
        ColumnDataTbl& c = gColumns(gCurCol);
        c.Fc = 24;
        if (s.more) s.more(c);
        c.ColXYDiffer = selkv::ColumnXYDiffer(c) ? kTrue : kFalse;
        // As the project reader and the import leave it: the slab widths of
        // the base's geometry, then the column's own pedestal.
        SetColumnBaseGeometry(c, gKvBase(gCurCol));
        c.cD(0) = s.cdA;
        c.cD(1) = s.cdB;
        const std::string bar = s.bar;
        c.RBarVal = bar.substr(1, bar.find('(') - 1);
        c.RBarMat = bar.substr(bar.find('(') + 1, bar.size() - bar.find('(') - 2);
        c.FShear.fill(1);
    }
    void Close() { C<QPushButton>("cmdClose")->click(); }
};

void SetH(ColumnDataTbl& c, double width, int32_t id, std::array<double, 4> dims, std::array<double, 5> spec)
{
    c.ColT = width;
    c.ColID = id;
    for (int i = 0; i < 4; ++i) c.HDim(i + 1) = dims[static_cast<std::size_t>(i)];
    for (int k = 0; k < 5; ++k) c.ColSpec(k) = spec[static_cast<std::size_t>(k)];
}

// An H section of a nominal size the catalogue lacks (an import's): no
// catalogue ID, the values of its own plates.
const Stored kOwnH = {"H, own section of a nominal width that is not listed", 2, 9, 400, 250, "H400-1", 1, 850, 650,
                      "D19(SD345)", [](ColumnDataTbl& c) {
                          SetH(c, 250, 0, {400, 250, 9, 14}, {65.98, 391.8, 465.4, 391.8, 465.4});
                          CalcHSectionProps(c);
                      }};

TEST_F(SelectKvKeeps, OpenAndCommitWithoutAChangeKeepsTheStoredColumn)
{
    const Stored rows[] = {
        {"box, first thickness, model without pedestal rows", 0, 0, 300, 12, "WR300-8", 2, 650, 650, "D22(SD345)", {}},
        {"box, second thickness", 0, 0, 300, 16, "WR300-8", 1, 650, 650, "D22(SD345)", {}},
        {"own section values", 0, 0, 300, 16, "WR300-8", 3, 700, 700, "D25(SD345)",
         [](ColumnDataTbl& c) {
             const double own[] = {180.123456, 1550.25, 1850.125, 1550.25, 1850.125};
             for (int k = 0; k < 5; ++k) c.ColSpecUser(k) = own[k];
         }},
        {"round, series option 1", 1, 5, 406.4, 12.7, "R406-2", 2, 900, 900, "D25(SD345)", {}},
        {"H, second flange width", 2, 7, 400, 300, "H400-1", 1, 850, 650, "D19(SD345)",
         [](ColumnDataTbl& c) { SetH(c, 300, 503, {390, 300, 10, 16}, {133.3, 1942, 2141, 480.3, 730.1}); }},
        {"H, second section of its width, typed depth", 2, 8, 400, 200, "H400-1", 2, 800, 600, "D22(SD345)",
         [](ColumnDataTbl& c) { SetH(c, 200, 502, {396.5, 199, 7, 11}, {71.41, 998.5, 1114, 145.4, 223.3}); }},
        // H sections of nominal sizes the catalogue lacks.
        kOwnH,
        {"H, own section of a nominal depth that is not listed, at 90 degrees", 2, 10, 500, 200, "H400-1", 2, 800,
         600, "D22(SD345)",
         [](ColumnDataTbl& c) {
             SetH(c, 200, 0, {500, 200, 10, 16}, {65.98, 391.8, 465.4, 391.8, 465.4});
             c.ColSize = 500;
             c.KvDir = 1;
             c.KvRotate = 1;
             CalcHSectionProps(c);
         }},
        {"pedestal size that is no candidate", 0, 0, 200, 12, "WP200-4", 1, 620, 620, "D19(SD345)", {}},
        {"series option 1 at 90 degrees, centre pattern", 0, 0, 300, 16, "KS300A", 1, 850, 850, "D19(SD345)",
         [](ColumnDataTbl& c) {
             c.KvDir = 1;
             c.KvRotate = 1;
             c.CenColWall(0) = 1;
         }},
        {"series option 2", 0, 0, 250, 12, "SV250-8-A", 2, 700, 700, "D22(SD345)", {}},
        {"series 5", 0, 0, 400, 22, "KN400-2", 3, 1000, 1000, "D25(SD345)", {}},
    };
    for (const Stored& s : rows) {
        StoreRow(s);
        const ColumnDataTbl stored = gColumns(gCurCol);
        const KvBaseTbl storedBase = gKvBase(gCurCol);
        const ProjectCondTbl cond = gCond;
        script.messages.clear();
        Open();
        ExpectNoMessage(s.what);
        EXPECT_TRUE(dlg->WorkColumn() == stored) << s.what << ": " << Differences(stored, dlg->WorkColumn());
        EXPECT_TRUE(dlg->WorkBase() == storedBase) << s.what;
        // What the boxes show.
        const QString t = QString::fromStdString(FormatValue(stored.ColT, -1));
        EXPECT_EQ(C<QComboBox>(s.shape == 2 ? "cmbColT_H" : "cmbColT")->currentText(), t) << s.what;
        EXPECT_EQ(C<QComboBox>("cmbColSize")->currentText(), QString::fromStdString(FormatValue(stored.ColSize, -1)))
            << s.what;
        if (s.shape == 2) {
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(dlg->txtHDim[i]->text(), QString::fromStdString(vb::CStr(stored.HDim(i + 1)))) << s.what;
        }
        EXPECT_EQ(C<QComboBox>("cmbKV")->currentText().toStdString(), s.model) << s.what;
        EXPECT_EQ(C<QComboBox>("cmbLenA")->currentText(), QString::number(s.cdA)) << s.what;
        EXPECT_EQ(C<QComboBox>("cmbRBar")->currentText(), QString::fromUtf8(s.bar)) << s.what;
        EXPECT_TRUE(C<QRadioButton>(("optKVDir_" + std::to_string(stored.KvDir)).c_str())->isChecked()) << s.what;

        Close();
        ExpectNoMessage(s.what);
        EXPECT_TRUE(gSpecDialogOK) << s.what;
        EXPECT_TRUE(gColumns(gCurCol) == stored) << s.what << ": " << Differences(stored, gColumns(gCurCol));
        EXPECT_TRUE(gKvBase(gCurCol) == storedBase) << s.what;
        EXPECT_TRUE(gCond == cond) << s.what;
    }
}

TEST_F(SelectKvKeeps, OwnHSectionStaysListedUnderItsNominalSize)
{
    StoreRow(kOwnH);
    const ColumnDataTbl stored = gColumns(gCurCol);
    Open();
    ExpectNoMessage("load");
    EXPECT_EQ(selkvtest::Items(C<QComboBox>("cmbColT_H")), (QStringList{"200", "250", "300"}));
    EXPECT_EQ(selkvtest::Items(C<QComboBox>("cmbHSize")), QStringList{"H-400×250×9×14"});
    selkvtest::SaveShot(*dlg, "select_kv_own_h_section.png");

    // Another width lists the catalogue's sections; back at the stored one,
    // the stored section is listed and shown again with its own values.
    Choose("cmbColT_H", "200");
    EXPECT_EQ(C<QComboBox>("cmbHSize")->count(), 2);
    EXPECT_EQ(C<QLineEdit>("txtHDim_1")->text(), "200");
    Choose("cmbColT_H", "250");
    EXPECT_EQ(selkvtest::Items(C<QComboBox>("cmbHSize")), QStringList{"H-400×250×9×14"});
    const char* const dims[] = {"400", "250", "9", "14"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(dlg->txtHDim[i]->text(), dims[i]) << i;
    const char* const values[] = {"103.5", "1500", "1660", "292", "445"};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(dlg->txtColSpec[k]->text(), values[k]) << k;
    ExpectNoMessage("choices");

    Close();
    ExpectNoMessage("決定");
    const ColumnDataTbl& c = gColumns(gCurCol);
    EXPECT_EQ(c.ColSize, 400);
    EXPECT_EQ(c.ColT, 250);
    EXPECT_EQ(c.ColID, 0);
    EXPECT_EQ(c.HDim, stored.HDim);
    EXPECT_EQ(c.ColSpecUser, stored.ColSpecUser);
}

TEST_F(SelectKvKeeps, AfterAFailureCommitWritesNothingUntilAChoiceSucceeds)
{
    StoreH(7, "H400-1");
    ColumnDataTbl& c = gColumns(gCurCol);
    c.cD(0) = 800;
    c.cD(1) = 600;
    c.RBarVal = "19";
    c.RBarMat = "SD345";
    c.RmN(0) = 0;  // no main bars: the pedestal figure of the load fails
    const ColumnDataTbl stored = c;
    const KvBaseTbl storedBase = gKvBase(gCurCol);
    Open();
    ASSERT_EQ(script.messages.size(), 1u);
    script.messages.clear();

    // The load went on past the figure.
    EXPECT_EQ(C<QComboBox>("cmbFc")->count(), 11);
    Close();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "柱選定のエラー");
    EXPECT_EQ(script.messages[0].text,
              "直前の選択を最後まで処理できなかったため、決定できません。\r選択し直してから決定してください。");
    EXPECT_FALSE(gSpecDialogOK);
    EXPECT_TRUE(dlg->isVisible() || dlg->result() != QDialog::Accepted);
    EXPECT_TRUE(gColumns(gCurCol) == stored);
    EXPECT_TRUE(gKvBase(gCurCol) == storedBase);
    // Refused again without a new choice.
    script.messages.clear();
    Close();
    EXPECT_EQ(script.messages.size(), 1u);
    EXPECT_FALSE(gSpecDialogOK);

    // Another strength sets the pedestal afresh and draws: 決定 goes through.
    script.messages.clear();
    Choose("cmbFc", "27");
    ExpectNoMessage("the new choice");
    Close();
    ExpectNoMessage("決定");
    EXPECT_TRUE(gSpecDialogOK);
    EXPECT_EQ(gColumns(gCurCol).Fc, 27);
}

TEST_F(SelectKvKeeps, ThickWallOnAModelWithoutPedestalRows)
{
    StoreRow({"thick wall", 0, 0, 300, 16, "WR300-8", 1, 650, 600, "D22(SD345)", {}});
    Open();
    EXPECT_EQ(C<QComboBox>("cmbColT")->currentText(), "16");
    EXPECT_EQ(C<QLineEdit>("txtColSpec_0")->text(), "173");
    EXPECT_EQ(C<QComboBox>("cmbLenA")->currentText(), "650");
    EXPECT_EQ(C<QComboBox>("cmbLenB")->currentText(), "600");
    EXPECT_FALSE(C<QLabel>("lblNoPedestal")->isHidden());
    selkvtest::SaveShot(*dlg, "select_kv_thick_wall.png");
    ExpectNoMessage("thick wall");
}

TEST_F(SelectKvKeeps, FitWarningIsOfTheStoredDimensions)
{
    for (const double tf : {13.0, 30.0}) {
        StoreH(7, "H400-1");
        gColumns(gCurCol).HDim(4) = tf;  // typed by hand; 30 does not fit
        Open();
        EXPECT_EQ(dlg->WorkColumn().HDim(4), tf);
        EXPECT_EQ(C<QLineEdit>("txtHDim_3")->text(), QString::number(tf));
        EXPECT_EQ(C<QLabel>("Label4")->isHidden(), tf == 13.0) << tf;
    }
}

}  // namespace
