// An imported column whose values the column and base dialog's lists do not
// offer (a strength between the classes, a section the catalogue lacks, a
// model of a series without an option): opening the dialog and pressing 決定
// without a change leaves the project file and the base-rebar list byte for
// byte as they were saved.
#include "tests/exchange/import_fixture.h"

#include "dialogs/frmSelectKV.h"
#include "exchange/import_command.h"
#include "model/rebar_handover.h"
#include "platform/text/vb.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

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
    };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        script.messages.clear();
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
            EXPECT_EQ(d.cmbKV->currentText().toStdString(), vb::Trim(gKvBase(1).KvName.value()));
            // A series without an option shows none as chosen.
            const bool optionless = gKvBase(1).KvV == 0 || gKvBase(1).KvV == 2;
            for (const QRadioButton* o : d.optKvV)
                if (optionless) EXPECT_FALSE(o->isChecked()) << o->objectName().toStdString();
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

}  // namespace
