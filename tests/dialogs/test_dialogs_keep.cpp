// Every dialog that writes project records, opened and closed with its OK
// button without a change (the focus may pass through its boxes), leaves the
// column, its base and the project settings as they were.
#include "tests/dialogs/select_kv_fixture.h"

#include "dialogs/dlgInput.h"
#include "dialogs/frmBukken.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmSRCInput.h"
#include "dialogs/frmShear.h"
#include "dialogs/src_section.h"
#include "mainwin/frmMain.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace {

using namespace model;
using selkvtest::Differences;

// Moves the focus out of every box of the dialog, as tabbing through does.
void LeaveEveryBox(QWidget& dialog)
{
    for (QLineEdit* box : dialog.findChildren<QLineEdit*>()) {
        if (!box->isVisibleTo(&dialog) || !box->isEnabledTo(&dialog)) continue;
        selkvtest::LeaveBox(box, box->text());
    }
}

template <typename Dialog>
void OkOn(Dialog& d, const char* button, bool tabThrough)
{
    if (tabThrough) LeaveEveryBox(d);
    auto* ok = d.template findChild<QPushButton*>(button);
    ASSERT_TRUE(ok) << button;
    ok->click();
}

class DialogsKeep : public selkvtest::SelectKvTest {
protected:
    void SetUp() override
    {
        SelectKvTest::SetUp();
        if (!gzDLGetSys) gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
        gCond.Fc = 21;
    }
    // An SRC column of the kind on its model, with values no dialog rounds
    // to: section properties as computed, a bar distance with decimals.
    void StoreSrcOfItsOwn(int16_t kind, const std::string& model, int16_t dir)
    {
        gCond.SMode = kFalse;
        StoreSrc(kind, model, dir);
        ColumnDataTbl& c = gColumns(gCurCol);
        const double first[] = {600, 250, 12, 25};
        const double second[] = {588, 300, 12, 20};
        for (int k = 1; k <= 4; ++k) {
            c.SrcHDim(0, k) = first[k - 1];
            c.SrcHDim(1, k) = kind == 7 ? 0 : second[k - 1];
        }
        c.cD(0) = 900;
        c.cD(1) = 950;
        srcdlg::CalcSrcSteelSection(c, c.SrcColSpec);
        c.RtN(0) = 8;
        c.RtN(1) = 6;
        c.RTensN(0) = 2;
        c.RTensN(1) = 1;
        c.RmN.fill(0);
        for (int d = 0; d < 2; ++d) c.RqN(d) = static_cast<int16_t>(srcdlg::CrossTieBars(c, d));
        c.rD(0) = 55.5;
        c.rD(1) = 60.25;
        c.RBarMat = "SD345";
        c.RBarVal = "D25";
        c.Fc = 24;
        c.CenColWall(0) = 1;
    }
};

TEST_F(DialogsKeep, OkWithoutAChangeLeavesEveryRecord)
{
    struct Row {
        const char* what;
        std::function<void()> store;
        std::function<void()> openAndOk;
    };
    const auto src = [](bool tab) {
        return [tab] {
            frmSRCInput d;
            OkOn(d, "cmdEnd", tab);
        };
    };
    const auto shearOf = [this](const char* model) {
        return [this, model] {
            Store(0, 0, 300, 12, model);
            ColumnDataTbl& c = gColumns(gCurCol);
            SetColumnBaseGeometry(c, gKvBase(gCurCol));
            c.SlabQ_B2X = 700.4;
            c.SlabQ_B2Y = 720.6;
            c.SlabQ_d2 = 450.5;
            c.SlabFc = 21;
            gShearDir = 0;
            gShearCase = 4;
        };
    };
    const Row rows[] = {
        {"SRC cross", [this] { StoreSrcOfItsOwn(3, "SRX-700", 0); }, src(false)},
        {"SRC cross, focus through every box", [this] { StoreSrcOfItsOwn(3, "SRX-700", 0); }, src(true)},
        {"SRC H turned by 90 degrees", [this] { StoreSrcOfItsOwn(7, "SRH-700", 1); }, src(true)},
        {"stress input, the N of Y of its own",
         [] {
             ColumnDataTbl& c = gColumns(gCurCol);
             for (int16_t i = 1; i <= 8; ++i)
                 for (int16_t j = 1; j <= 20; ++j) c.LoadTbl(i, j) = i * 10.123 + j;
             c.LoadTbl(4, 1) = 77.7;
         },
         [] {
             dlgInput d;
             d.cmdOK->click();
         }},
        {"shear, slab sizes with decimals", shearOf("WP200-4"),
         [] {
             frmShear d;
             OkOn(d, "cmdEnd", true);
         }},
        {"options, a gamma of Y of its own and of five decimals",
         [] {
             gCond.GammaX = 1.66667;
             gCond.GammaY = 2.0;
             gCond.GFactor = 9.80665;
         },
         [] {
             frmMain w;
             w.setIndexArray();
             w.msub_SetUpTable();
             frmOptions d(w);
             d.cmdOK->click();
         }},
        {"project details, blanks and a time of day",
         [] {
             gCond.Bukken = "  本社ビル";
             gCond.Tantou = " 設計 太郎";
             gCond.BukkenDate = 45000.123456789;
         },
         [] {
             frmBukken d;
             d.cmdOK->click();
         }},
        {"project details, a date past the calendar",
         [] { gCond.BukkenDate = 4e6; },
         [] {
             frmBukken d;
             d.cmdOK->click();
         }},
    };
    for (const Row& r : rows) {
        r.store();
        const ColumnDataTbl column = gColumns(gCurCol);
        const KvBaseTbl base = gKvBase(gCurCol);
        const ProjectCondTbl cond = gCond;
        script.messages.clear();
        r.openAndOk();
        ExpectNoMessage(r.what);
        EXPECT_TRUE(gColumns(gCurCol) == column) << r.what << ": " << Differences(column, gColumns(gCurCol));
        EXPECT_TRUE(gKvBase(gCurCol) == base) << r.what;
        EXPECT_TRUE(gCond == cond) << r.what << ": gamma " << gCond.GammaX << " " << gCond.GammaY << ", Fc "
                                   << gCond.Fc << ", " << gCond.Bukken.value() << ", " << gCond.BukkenDate;
    }
}

}  // namespace
