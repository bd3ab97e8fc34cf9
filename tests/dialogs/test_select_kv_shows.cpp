// The column and base dialog shows what it stores: after every choice the
// lists and the previews are the record that 決定 writes and that the sheet
// later draws; a new project's column carries its catalogue section; no text
// shows the padding of a field never filled; a size changed alone and a bar
// the catalogue does not offer are stored whole.
#include "tests/dialogs/select_kv_fixture.h"

#include "dialogs/select_kv_rules.h"
#include "drawing/figure_frame.h"
#include "drawing/print_out.h"
#include "drawing/rc_section.h"
#include "drawing/recording.h"
#include "model/format.h"
#include "model/rebar_zone.h"
#include "platform/qt/picture_box.h"
#include "platform/text/vb.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <vector>

namespace {

using namespace model;
using selkvtest::Differences;
using selkvtest::Items;

// The ops of the last drawing on a picture (each drawing starts by clearing it).
std::vector<std::string> LastDrawing(const drawing::RecordingPicture& pic)
{
    std::vector<std::string> out;
    for (const auto& op : pic.ops) {
        if (op.kind == "Cls") out.clear();
        out.push_back(op.str());
    }
    return out;
}

// The pedestal of the current stored column drawn as the sheet draws it, on
// a picture of the preview's size and frame.
std::vector<std::string> SheetPedestal()
{
    drawing::RecordingPicture pic;
    drawing::clsPrintOut po;
    po.setprpMode(2);
    po.setprpPicture(&pic);
    drawing::FigureFrameTbl f{};
    f.ScaleX = f.ScaleY = 95;
    f.Mode = 1;
    f.X0 = 0.8 * (pic.ScaleWidth() / 2);
    f.Y0 = 0.8 * (pic.ScaleHeight() / 2) - 95;
    int16_t iCol = gCurCol;
    int16_t dir = gColumns(gCurCol).KvDir;
    drawing::DrawRcColumnSection(po, f, iCol, dir);
    return LastDrawing(pic);
}

bool HasControlCharacter(const QString& s, bool lineBreaksAllowed)
{
    for (const QChar c : s)
        if (c.unicode() < 0x20 && !(lineBreaksAllowed && c == QLatin1Char('\n'))) return true;
    return false;
}

class SelectKvShows : public selkvtest::SelectKvTest {
protected:
    const ColumnDataTbl& W() const { return dlg->WorkColumn(); }
    void Close() { C<QPushButton>("cmdClose")->click(); }
    void StorePedestal(double a, double b, const char* size, const char* grade)
    {
        ColumnDataTbl& c = gColumns(gCurCol);
        c.cD(0) = a;
        c.cD(1) = b;
        c.RBarVal = size;
        c.RBarMat = grade;
        c.SlabQ_B2X = b;
        c.SlabQ_B2Y = a;
    }
    // Opens the dialog with its previews recorded.
    void OpenRecorded()
    {
        kv_ = drawing::RecordingPicture();
        rc_ = drawing::RecordingPicture();
        Open();
        dlg->SetPreviewTargets(&kv_, &rc_);
    }
    // The pedestal as the three lists show it.
    QStringList Shown()
    {
        return {C<QComboBox>("cmbLenA")->currentText(), C<QComboBox>("cmbLenB")->currentText(),
                C<QComboBox>("cmbRBar")->currentText()};
    }
    static QStringList OfRecord(const ColumnDataTbl& c)
    {
        return {QString::number(c.cD(0)), QString::number(c.cD(1)), QString::fromStdString(selkv::MainBarText(c))};
    }

    drawing::RecordingPicture kv_, rc_;
};

TEST_F(SelectKvShows, NewProjectColumnCarriesItsCatalogueSection)
{
    // The fixture started a new project: its one column is the template.
    ColumnDataTbl catalogue = gColumns(1);
    GetColumnSectionData(catalogue);
    ASSERT_EQ(catalogue.ColSpec(0), 65.98);  // □200×9 of the catalogue
    EXPECT_EQ(gColumnDefault.ColSpec, catalogue.ColSpec);
    EXPECT_EQ(gColumns(1).ColSpec, catalogue.ColSpec);
    EXPECT_EQ(gColumns(1).ColXYDiffer, kFalse);

    // The dialog shows the same values and 決定 leaves them.
    const ColumnDataTbl stored = gColumns(1);
    Open();
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(C<QLineEdit>(("txtColSpec_" + std::to_string(k)).c_str())->text().toStdString(),
                  FormatValue(catalogue.ColSpec(k), -1))
            << k;
    Close();
    ExpectNoMessage("new project");
    EXPECT_TRUE(gColumns(1) == stored) << Differences(gColumns(1), stored);
}

TEST_F(SelectKvShows, ListsPreviewRecordAndSheetAgreeAfterEveryChange)
{
    struct Row {
        const char* what;
        std::function<void()> store;
        std::function<void()> act;
    };
    const auto choose = [this](const char* list, const char* text) {
        return [this, list, text] { Choose(list, QString::fromUtf8(text)); };
    };
    const auto then = [](std::function<void()> a, std::function<void()> b) {
        return [a, b] {
            a();
            b();
        };
    };
    const Row rows[] = {
        // SV250-8-A has no arrangement rows: its own default pedestal is what the lists show.
        {"model without arrangement rows, chosen, then Fc",
         [this] {
             Store(0, 0, 250, 9, "QX250A");
             StorePedestal(500, 500, "16", "SD295");
         },
         then([this] { C<QRadioButton>("optKvV_2")->click(); }, choose("cmbFc", "27"))},
        {"model without arrangement rows, Fc alone",
         [this] {
             Store(0, 0, 250, 9, "SV250-8-A");
             StorePedestal(500, 500, "16", "SD295");
         },
         choose("cmbFc", "30")},
        {"model without arrangement rows, centre flag",
         [this] {
             Store(0, 0, 250, 9, "SV250-8-A");
             StorePedestal(500, 500, "16", "SD295");
         },
         [this] { C<QCheckBox>("chkCenCol")->click(); }},
        {"model with arrangement rows, chosen, then Fc",
         [this] {
             Store(0, 0, 200, 9, "ZF200");
             StorePedestal(700, 700, "19", "SD345");
         },
         then([this] { C<QRadioButton>("optKvV_0")->click(); }, choose("cmbFc", "27"))},
        {"model with arrangement rows, Fc alone (other bar counts)",
         [this] {
             Store(0, 0, 200, 9, "WP200-4");
             StorePedestal(650, 650, "19", "SD345");
             gColumns(gCurCol).RmN.fill(3);
         },
         choose("cmbFc", "30")},
        {"H column, another bolt, which has no arrangement rows",
         [this] {
             StoreH(7, "H400-1");
             StorePedestal(850, 650, "19", "SD345");
         },
         choose("cmbAb", "M30")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        r.store();
        gColumns(gCurCol).Fc = 24;
        OpenRecorded();
        script.messages.clear();
        r.act();
        ExpectNoMessage(r.what);
        const QStringList shown = Shown();
        const std::vector<std::string> preview = LastDrawing(rc_);
        EXPECT_EQ(shown, OfRecord(W()));
        // The previews are of the working copies as they now stand.
        {
            const ColumnDataTbl stored = gColumns(gCurCol);
            const KvBaseTbl storedBase = gKvBase(gCurCol);
            gColumns(gCurCol) = W();
            gKvBase(gCurCol) = dlg->WorkBase();
            EXPECT_EQ(preview, SheetPedestal());
            gColumns(gCurCol) = stored;
            gKvBase(gCurCol) = storedBase;
        }

        Close();
        ExpectNoMessage(r.what);
        ASSERT_TRUE(gSpecDialogOK);
        const ColumnDataTbl& c = gColumns(gCurCol);
        EXPECT_EQ(OfRecord(c), shown);
        EXPECT_EQ(c.SlabQ_B2X, c.cD(1));
        EXPECT_EQ(c.SlabQ_B2Y, c.cD(0));
        // The sheet draws what the dialog drew.
        EXPECT_EQ(SheetPedestal(), preview);

        // Opened again, the dialog shows the same and draws the same.
        OpenRecorded();
        ExpectNoMessage(r.what);
        EXPECT_EQ(Shown(), shown);
        dlg->DrawBasePreview();
        EXPECT_EQ(LastDrawing(rc_), preview);
        dlg.reset();
    }
}

TEST_F(SelectKvShows, ASizeWithoutModelsLeavesNothingOfTheLastModel)
{
    Store(0, 0, 250, 9, "SV250-8-A");
    StorePedestal(700, 700, "22", "SD345");
    Open();
    C<QRadioButton>("optKvV_0")->click();
    selkvtest::SaveShot(*dlg, "select_kv_no_model.png");

    OpenRecorded();
    ASSERT_GT(C<QComboBox>("cmbAb")->count(), 0);
    // No コルヴァン・ルモ model is made for a 250 box.
    C<QRadioButton>("optKvV_0")->click();
    ExpectNoMessage("ルモ");
    for (const char* list : {"cmbKV", "cmbAb", "cmbLenA", "cmbLenB", "cmbRBar"})
        EXPECT_EQ(C<QComboBox>(list)->count(), 0) << list;
    ASSERT_FALSE(kv_.ops.empty());
    EXPECT_EQ(kv_.ops.back().kind, "Cls");
    EXPECT_EQ(rc_.ops.back().kind, "Cls");
    EXPECT_FALSE(C<QGroupBox>("Frame6")->isEnabled());
    const ColumnDataTbl stored = gColumns(gCurCol);
    Close();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "柱脚の形式が選択されていません。");
    EXPECT_TRUE(gColumns(gCurCol) == stored);

    // Back to a series with a model: everything is there again.
    script.messages.clear();
    C<QRadioButton>("optKvV_2")->click();
    EXPECT_EQ(C<QComboBox>("cmbKV")->currentText(), "SV250-8-A");
    EXPECT_GT(C<QComboBox>("cmbAb")->count(), 0);
    EXPECT_EQ(Shown(), OfRecord(W()));
    ExpectNoMessage("back");
    // The model has no arrangement rows: the lists show the pedestal it keeps.
    dlg->SetPreviewTargets(dlg->pctKV, dlg->pctRCCol);
    dlg->DrawBasePreview();
    selkvtest::SaveShot(*dlg, "select_kv_kept_pedestal.png");
}

TEST_F(SelectKvShows, NoTextShowsThePaddingOfAFieldNeverFilled)
{
    // A new project's column as the new-project command leaves it: its bar
    // grade was never filled in.
    gColumns(1) = gColumnDefault;
    gKvBase(1) = gKvBaseDefault;
    ASSERT_EQ(gColumns(1).RBarMat.value(), std::string(8, '\0'));
    OpenRecorded();
    dlg->DrawBasePreview();
    EXPECT_EQ(C<QComboBox>("cmbRBar")->currentText(), "D16()");
    for (const QComboBox* list : dlg->findChildren<QComboBox*>()) {
        for (const QString& item : Items(list))
            EXPECT_FALSE(HasControlCharacter(item, false)) << list->objectName().toStdString() << ": " << item.toStdString();
        EXPECT_FALSE(HasControlCharacter(list->currentText(), false)) << list->objectName().toStdString();
    }
    for (const QLabel* label : dlg->findChildren<QLabel*>())
        EXPECT_FALSE(HasControlCharacter(label->text(), true)) << label->objectName().toStdString();
    for (const QAbstractButton* b : dlg->findChildren<QAbstractButton*>())
        EXPECT_FALSE(HasControlCharacter(b->text(), false)) << b->objectName().toStdString();
    for (const QLineEdit* box : dlg->findChildren<QLineEdit*>())
        EXPECT_FALSE(HasControlCharacter(box->text(), false)) << box->objectName().toStdString();
    std::size_t texts = 0;
    for (const drawing::RecordingPicture* pic : {&kv_, &rc_}) {
        for (const auto& op : pic->ops) {
            if (op.kind != "Print") continue;
            ++texts;
            EXPECT_FALSE(HasControlCharacter(QString::fromStdString(op.text), false)) << op.text;
        }
    }
    EXPECT_GT(texts, 0u);
    ExpectNoMessage("new project");
    // 決定 without a change keeps the field as it was.
    const ColumnDataTbl stored = gColumns(1);
    Close();
    EXPECT_TRUE(gColumns(1) == stored) << Differences(gColumns(1), stored);
    Open();
    selkvtest::SaveShot(*dlg, "select_kv_new_project.png");
}

TEST_F(SelectKvShows, OnePedestalSizeChangedAloneStoresWhatDependsOnIt)
{
    // The rows of the tables pair 800 x 600 and 850 x 650; each stored
    // pedestal is one size away from the first pair.
    struct Row {
        const char* what;
        double a, b;
        const char* list;
        const char* size;
    } rows[] = {{"A", 850, 600, "cmbLenA", "800"}, {"B", 800, 650, "cmbLenB", "600"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        StoreH(7, "H400-1");
        ColumnDataTbl& c = gColumns(gCurCol);
        c.Fc = 24;
        SetColumnBaseGeometry(c, gKvBase(gCurCol));
        StorePedestal(r.a, r.b, "19", "SD345");
        c.ColXYDiffer = kTrue;
        c.SlabQ_B1X = c.HDim(2);
        c.SlabQ_B1Y = c.HDim(1);
        // Bar counts, hoops and anchorage that no row gives: any one left
        // over shows that the arrangement was not worked out again.
        c.RmN.fill(9);
        c.HoopN.fill(7);
        c.HoopPitch = 77;
        c.rD(0) = 1;
        const ColumnDataTbl before = c;

        Open();
        Choose(r.list, r.size);
        Close();
        ExpectNoMessage(r.what);
        ASSERT_TRUE(gSpecDialogOK);

        // What the catalogue gives for the new size, worked out on its own.
        ColumnDataTbl want = before;
        want.cD(r.what[0] == 'A' ? 0 : 1) = std::stod(r.size);
        ASSERT_TRUE(ApplyDefaultArrangement(want, gKvBase(gCurCol)));
        const ColumnDataTbl& got = gColumns(gCurCol);
        EXPECT_EQ(got.cD, want.cD);
        EXPECT_EQ(got.SlabQ_B2X, want.cD(1));
        EXPECT_EQ(got.SlabQ_B2Y, want.cD(0));
        EXPECT_EQ(got.RmN, want.RmN);
        EXPECT_EQ(got.HoopN, want.HoopN);
        EXPECT_EQ(got.HoopPitch, want.HoopPitch);
        EXPECT_EQ(got.HoopSize, want.HoopSize);
        EXPECT_EQ(got.rD, want.rD);
        EXPECT_EQ(got.CenColWall, want.CenColWall);
        EXPECT_NE(got.RmN, before.RmN);
        // Nothing else moved.
        ColumnDataTbl rest = got;
        rest.cD = before.cD;
        rest.SlabQ_B2X = before.SlabQ_B2X;
        rest.SlabQ_B2Y = before.SlabQ_B2Y;
        rest.RmN = before.RmN;
        rest.HoopN = before.HoopN;
        rest.HoopPitch = before.HoopPitch;
        rest.HoopSize = before.HoopSize;
        rest.HoopMat = before.HoopMat;
        rest.rD = before.rD;
        rest.CenColWall = before.CenColWall;
        EXPECT_TRUE(rest == before) << Differences(rest, before);
    }
}

TEST_F(SelectKvShows, StoredBarOffTheCatalogueChosenAwayAndBackIsStoredWhole)
{
    StoreH(7, "H400-1");
    gColumns(gCurCol).Fc = 24;
    StorePedestal(800, 600, "25", "SD390");
    Open();
    QComboBox* bar = C<QComboBox>("cmbRBar");
    EXPECT_EQ(bar->currentText(), "D25(SD390)");
    Choose("cmbRBar", "D19(SD345)");
    EXPECT_EQ(vb::Trim(W().RBarMat.value()), "SD345");
    Choose("cmbRBar", "D25(SD390)");
    EXPECT_EQ(Items(bar), (QStringList{"D19(SD345)", "D22(SD345)", "D25(SD390)"}));
    Close();
    ExpectNoMessage("bar");
    EXPECT_EQ(vb::Trim(gColumns(gCurCol).RBarVal.value()), "25");
    EXPECT_EQ(vb::Trim(gColumns(gCurCol).RBarMat.value()), "SD390");
    Open();
    EXPECT_EQ(C<QComboBox>("cmbRBar")->currentText(), "D25(SD390)");
}

}  // namespace
