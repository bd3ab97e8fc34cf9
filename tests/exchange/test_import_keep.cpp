// An imported column whose values the column and base dialog's lists do not
// offer (a strength between the classes, a section the catalogue lacks, a
// model of a series without an option): opening the dialog and pressing 決定
// without a change leaves the project file and the base-rebar list byte for
// byte as they were saved.
#include "tests/exchange/import_fixture.h"
#include "tests/reports/sheet_texts.h"

#include "dialogs/frmSelectKV.h"
#include "drawing/recording.h"
#include "exchange/import_command.h"
#include "mainwin/frmMain.h"
#include "model/format.h"
#include "model/rebar_handover.h"
#include "platform/text/vb.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <array>
#include <iterator>

namespace {

using namespace importtest;

class ImportKeep : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        gImportDir = dir.string() + "/";
        command.askOptions = nullptr;
    }
    void Import(const Lines& lines)
    {
        script.files.push_back(Write("in.txt", lines));
        command.msub_ImportAnalysisFile();
    }
    // Saves the project, the first time under the name; its file and its
    // list, as bytes.
    std::pair<std::string, std::string> Saved(const std::string& name, bool first)
    {
        const fs::path path = dir / name;
        if (first) {
            script.files.push_back(path.string());
            cmds.msub_SaveProjectAs();
        } else {
            cmds.msub_SaveProject();
        }
        return {Read(path), Read(RebarCompanionPath(path.string()))};
    }
    static std::string Read(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    struct NoHost : MainWindowHost {
    } host;
    ProjectCommands cmds{host};
    exchange::ImportCommand command{host, cmds};
};

// One column of the file with the given strength, section and model lines.
Lines OneColumn(const std::string& mcon, const std::string& csize, const std::string& model)
{
    Lines l{"UNIT,1"};
    const Lines axes = Axes();
    l.insert(l.end(), axes.begin(), axes.end());
    l.insert(l.end(), {"CAXIS,1,1", mcon, "MCST,BCR295", csize, model, "BPLX,9.80665,0,0,0,0"});
    return l;
}

TEST_F(ImportKeep, OkWithoutAChangeKeepsTheProjectAndItsListByteForByte)
{
    struct Row {
        const char* what;
        Lines file;
        double fc;  // the column's strength as imported
        const char* chosen = nullptr;  // the model taken at the base choice
    };
    const Row rows[] = {
        {"Fc 24.7", OneColumn("MCON,24.7", "CSIZE,B,300,300,12,12", "KVNAME,KS300A-30"), 24.7},
        {"Fc 30.9", OneColumn("MCON,30.9", "CSIZE,B,300,300,12,12", "KVNAME,KS300A-30"), 30.9},
        {"Fc 33.3", OneColumn("MCON,33.3", "CSIZE,B,300,300,12,12", "KVNAME,KS300A-30"), 33.3},
        {"Fc 21.0001", OneColumn("MCON,21.0001", "CSIZE,B,300,300,12,12", "KVNAME,KS300A-30"), 21.0001},
        {"a box section the catalogue lacks", OneColumn("MCON,24", "CSIZE,B,275,275,11,11", "KVNAME,KS300A-30"), 24},
        {"a model of series 0", OneColumn("MCON,24", "CSIZE,B,250,250,9,9", "BPNAME,QX250A-24"), 24},
        {"a model of series 2", OneColumn("MCON,24", "CSIZE,B,200,200,9,9", "BPNAME,ZF200"), 24},
        {"a model of series 0, Fc 24.7", OneColumn("MCON,24.7", "CSIZE,B,250,250,9,9", "BPNAME,QX250A-27"), 24.7},
        // A pipe of a diameter the catalogue lacks, on a base of another
        // size that the user takes at the base choice.
        {"a round section the catalogue lacks", OneColumn("MCON,24", "CSIZE,P,300,9", "KVNAME,WJ318-8"), 24,
         "WJ318-8"},
        // H sections: nominal 400 x 250 is on none of the lists; 404 x 201
        // is no catalogue section, its nominal 400 x 200 is listed.
        {"an H section off every list, base at 0ﾟ", OneColumn("MCON,24", "CSIZE,HX,400,250,9,14", "KVNAME,H400-1-24"),
         24},
        {"an H section off every list, base at 90ﾟ", OneColumn("MCON,24", "CSIZE,HY,400,250,9,14", "KVNAME,H400-1-30"),
         24},
        {"an H section of a listed nominal size", OneColumn("MCON,24", "CSIZE,HX,404,201,9,15", "KVNAME,H400-1-24"),
         24},
    };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        script.messages.clear();
        command.chooseBase = r.chosen ? Choosing(r.chosen) : nullptr;
        Import(r.file);
        ASSERT_TRUE(script.messages.empty()) << script.messages[0].text;
        ASSERT_EQ(gCond.ColCount, 1);
        ASSERT_EQ(gColumns(1).Fc, r.fc);
        gCurCol = 1;
        const std::string name = "p" + std::to_string(++n) + ".kud";
        const auto before = Saved(name, true);
        ASSERT_FALSE(before.first.empty());
        ASSERT_FALSE(before.second.empty());
        const ColumnDataTbl column = gColumns(1);
        const double projectFc = gCond.Fc;

        {
            frmSelectKV d;
            ASSERT_TRUE(script.messages.empty()) << script.messages[0].text;
            // The dialog shows the stored values, also those off its lists.
            EXPECT_EQ(vb::Val(d.cmbFc->currentText().toStdString()), r.fc);
            EXPECT_EQ(d.cmbColSize->currentText().toStdString(), vb::CStr(column.ColSize));
            const QComboBox* thickness = column.ColV == 2 ? d.cmbColT_H : d.cmbColT;
            EXPECT_EQ(thickness->currentText().toStdString(), vb::CStr(column.ColT));
            if (column.ColV == 2) {
                for (int i = 0; i < 4; ++i) EXPECT_EQ(d.txtHDim[i]->text().toStdString(), vb::CStr(column.HDim(i + 1))) << i;
            }
            EXPECT_EQ(d.cmbKV->currentText().toStdString(), vb::Trim(gKvBase(1).KvName.value()));
            // A series without an option shows none as chosen.
            const bool optionless = gKvBase(1).KvV == 0 || gKvBase(1).KvV == 2;
            for (const QRadioButton* o : d.optKvV) {
                if (optionless) {
                    EXPECT_FALSE(o->isChecked()) << o->objectName().toStdString();
                }
            }
            d.cmdClose->click();
        }
        ASSERT_TRUE(script.messages.empty()) << script.messages[0].text;
        ASSERT_TRUE(gSpecDialogOK);
        // What the main window does after 決定.
        UpdateColumnRebar(gCurCol, gColumns(gCurCol), gKvBase(gCurCol));
        EXPECT_EQ(gColumns(1).Fc, r.fc);
        EXPECT_EQ(gCond.Fc, projectFc);

        const auto after = Saved(name, false);
        EXPECT_TRUE(after.first == before.first) << "project file";
        EXPECT_TRUE(after.second == before.second) << "base-rebar list";
    }
}

// An imported H section that the catalogue does not hold has the properties
// of its own plates, where the main window shows the column, on its
// calculation sheet and in the column dialog, whose 決定 without a change
// keeps the column as it is.
class ImportedHSection : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        if (!gzDLGetSys) gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
        w = std::make_unique<frmMain>();
        w->setIndexArray();
        w->msub_SetUpTable();
        w->mDrawTarget = &picture;
        gImportDir = dir.string() + "/";
        w->mShowSelectKvDialog = [this] {
            frmSelectKV d(w.get());
            for (int k = 0; k < 5; ++k) boxes[static_cast<std::size_t>(k)] = d.txtColSpec[k]->text().toStdString();
            d.cmdClose->click();
        };
    }
    void TearDown() override
    {
        w.reset();
        ImportTest::TearDown();
    }
    void Import(const Lines& lines)
    {
        gDataChanged = false;
        exchange::ImportCommand command(*w, w->Commands());
        script.files.push_back(Write("h.txt", lines));
        command.msub_ImportAnalysisFile();
    }
    // The five property labels of the detail panel.
    std::array<std::string, 5> Panel() const
    {
        std::array<std::string, 5> t;
        for (int i = 0; i < 5; ++i) t[static_cast<std::size_t>(i)] = w->lblColSpec[i]->text().toStdString();
        return t;
    }
    // The texts of the column's calculation sheet.
    static std::vector<std::string> Sheet()
    {
        std::vector<std::string> texts;
        for (const drawing::DrawOp& op : reporttest::CalcSheetTexts(1)) texts.push_back(op.text);
        return texts;
    }

    std::unique_ptr<frmMain> w;
    drawing::RecordingPicture picture;
    std::array<std::string, 5> boxes;  // what the column dialog showed
};

TEST_F(ImportedHSection, HasThePropertiesOfItsPlatesWhereverItIsShownAndKeepsThem)
{
    struct Row {
        const char* csize;
        std::array<double, 5> props;       // A, Zx, Zpx, Zy, Zpy of the plates
        std::array<std::string, 5> texts;  // as the panel and the sheet show them
    };
    // 400 x 250: hw = 372, A = (372 x 9 + 2 x 14 x 250) / 100 = 103.48,
    // Zx = (250 x 400^3 - 372^3 x 241) / 6 / 400 / 1000 = 1497.3; 404 x 201
    // (nominal 400 x 200, listed): A = 93.96, Zx = 1324.1. A base turned by
    // 90ﾟ shows the values of Y under X.
    const Row rows[] = {
        {"CSIZE,HX,400,250,9,14",
         {103.5, 1500, 1660, 292, 445},
         {"A=103.5(cm2)", "Zx=1500(cm3)", "Zpx=1660(cm3)", "Zy=292(cm3)", "Zpy=445(cm3)"}},
        {"CSIZE,HY,400,250,9,14",
         {103.5, 1500, 1660, 292, 445},
         {"A=103.5(cm2)", "Zx=292(cm3)", "Zpx=445(cm3)", "Zy=1500(cm3)", "Zpy=1660(cm3)"}},
        {"CSIZE,HX,404,201,9,15",
         {93.96, 1320, 1490, 202, 311},
         {"A=93.96(cm2)", "Zx=1320(cm3)", "Zpx=1490(cm3)", "Zy=202(cm3)", "Zpy=311(cm3)"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.csize);
        script.messages.clear();
        Import(OneColumn("MCON,24", r.csize, "KVNAME,H400-1-24"));
        ASSERT_TRUE(script.messages.empty()) << script.messages[0].text;
        ASSERT_EQ(gCond.ColCount, 1);
        ASSERT_EQ(gColumns(1).ColV, 2);
        for (int k = 0; k < 5; ++k)
            EXPECT_DOUBLE_EQ(gColumns(1).ColSpecUser(k), r.props[static_cast<std::size_t>(k)]) << k;
        EXPECT_EQ(Panel(), r.texts);
        const std::vector<std::string> sheet = Sheet();
        for (const std::string& t : r.texts)
            EXPECT_TRUE(std::find(sheet.begin(), sheet.end(), t) != sheet.end()) << "the sheet lacks " << t;

        const ColumnDataTbl column = gColumns(1);
        const KvBaseTbl base = gKvBase(1);
        gSpecDialogOK = false;
        w->UserOperation([this] { w->msub_EditColumnSpec(); });
        ASSERT_TRUE(script.messages.empty()) << script.messages[0].text;
        ASSERT_TRUE(gSpecDialogOK);
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(boxes[static_cast<std::size_t>(k)], FormatValue(r.props[static_cast<std::size_t>(k)], -1)) << k;
        EXPECT_TRUE(gColumns(1) == column);
        EXPECT_TRUE(gKvBase(1) == base);
        EXPECT_EQ(Panel(), r.texts);
        EXPECT_EQ(Sheet(), sheet);
    }
}

}  // namespace
