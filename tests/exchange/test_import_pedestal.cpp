// An imported column's pedestal is the catalogue set of the zone the project
// keeps for it. Over a table of load cases: after the import the zone, the
// pedestal and its bars are those that a stress typed again with the value
// it has leaves; the calculation sheet draws that pedestal and the list
// handed to the rebar-setting program carries it.
#include "tests/exchange/import_fixture.h"
#include "tests/reports/sheet_texts.h"

#include "drawing/recording.h"
#include "exchange/import_command.h"
#include "mainwin/frmMain.h"
#include "model/rebar_handover.h"
#include "model/rebar_zone.h"
#include "model/shell.h"
#include "platform/qt/grid/flexgrid.h"
#include "platform/text/vb.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QAction>
#include <QVariant>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>

namespace {

using namespace importtest;

// What the zone decides for a column: its four zone numbers and its pedestal.
struct Pedestal {
    std::vector<int16_t> zones;
    double a = 0, b = 0;
    std::string bar, grade, hoop, hoopGrade;
    int16_t nx = 0, ny = 0, hx = 0, hy = 0;
    double pitch = 0, anchorage = 0;
    bool operator==(const Pedestal&) const = default;
};

void PrintTo(const Pedestal& p, std::ostream* os)
{
    *os << "zones";
    for (int16_t z : p.zones) *os << ' ' << z;
    *os << ", " << p.a << "x" << p.b << " " << p.nx << "x" << p.ny << "-D" << p.bar << "(" << p.grade << "), hoop "
        << p.hx << "x" << p.hy << "-" << p.hoop << "(" << p.hoopGrade << ")@" << p.pitch << ", anchorage "
        << p.anchorage;
}

Pedestal Of(const ColumnDataTbl& c)
{
    Pedestal p;
    for (long d = 0; d <= 1; ++d)
        for (long k = 1; k <= 2; ++k) p.zones.push_back(c.RebarZone(d, k));
    p.a = c.cD(0);
    p.b = c.cD(1);
    p.bar = vb::Trim(c.RBarVal.value());
    p.grade = vb::Trim(c.RBarMat.value());
    p.nx = c.RmN(0);
    p.ny = c.RmN(1);
    p.hoop = vb::Trim(c.HoopSize.value());
    p.hoopGrade = vb::Trim(c.HoopMat.value());
    p.hx = c.HoopN(0);
    p.hy = c.HoopN(1);
    p.pitch = c.HoopPitch;
    p.anchorage = c.rD(0);
    return p;
}

// The rebar-setting program as the hand-over finds it: it reads the list it
// is handed and gives it back as it was.
class HandedList : public IProcessRunner {
public:
    clsFendral handed;
    ProcessOutcome ShellWait(const std::string&, const std::vector<std::string>&, int32_t) override
    {
        handed.Data_Read(gRebarSetting.TempPath, "", gRebarSetting.TempFile);
        ProcessOutcome o;
        o.started = true;
        return o;
    }
};

struct Case {
    const char* what;
    Lines loads;  // the column's lines after the model's
    int16_t zone;
    double size;           // of the square pedestal, mm
    const char* mainBars;  // as the sheet writes them
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class PedestalWindow : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        savedTmp = std::getenv("TMPDIR") ? std::optional<std::string>(std::getenv("TMPDIR")) : std::nullopt;
        fs::create_directories(dir / "tmp");
        setenv("TMPDIR", (dir / "tmp").c_str(), 1);
        gAutoRefresh = true;
        gImportDir = dir.string() + "/";
        if (!gzDLGetSys) gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
        w = std::make_unique<frmMain>();
        w->setIndexArray();
        w->msub_SetUpTable();
        w->mDrawTarget = &picture;
        gFileName = "untitled.kud";
        w->msub_ShowProject();
        gDataChanged = false;
    }
    void TearDown() override
    {
        w.reset();
        if (savedTmp)
            setenv("TMPDIR", savedTmp->c_str(), 1);
        else
            unsetenv("TMPDIR");
        gAutoRefresh = true;
        gDataChanged = false;
        ImportTest::TearDown();
    }
    void Import(const Lines& loads)
    {
        script.files.push_back(Write("import.txt", ColumnOnKs300A(loads)));
        exchange::ImportCommand command(*w, w->Commands());
        command.msub_ImportAnalysisFile();
    }
    // The long-term shear of X typed again: it is 0 in every case, so the
    // column keeps its stresses exactly.
    void RetypeAStress()
    {
        ASSERT_EQ(gColumns(gCurCol).LoadTbl(3, 1), 0.0);
        w->mobjFlexInput1_Validate(10, 2, QVariant(0.0), false);
    }
    static bool Has(const std::vector<drawing::DrawOp>& texts, const std::string& t)
    {
        return std::any_of(texts.begin(), texts.end(), [&t](const drawing::DrawOp& op) { return op.text == t; });
    }

    std::unique_ptr<frmMain> w;
    drawing::RecordingPicture picture;
    std::optional<std::string> savedTmp;
};

class ImportedPedestal : public PedestalWindow, public ::testing::WithParamInterface<Case> {};

TEST_P(ImportedPedestal, IsTheSetOfTheStoredZoneAsATypedStressLeavesIt)
{
    const Case& c = GetParam();
    Import(c.loads);
    ASSERT_TRUE(script.messages.empty()) << script.messages.front().text;
    ASSERT_EQ(gCond.ColCount, 1);
    const Pedestal imported = Of(gColumns(1));
    EXPECT_EQ(GetColumnRebarZone(1), c.zone);
    EXPECT_EQ(imported.a, c.size);
    EXPECT_EQ(imported.b, c.size);
    EXPECT_EQ(w->grdList->TextMatrix(1, 5).toStdString(), c.zone == 1 ? "(Ⅰ)" : "(Ⅱ)");

    // The sheet and the hand-over carry the pedestal the column stores.
    const auto texts = reporttest::CalcSheetTexts(1);
    const std::string size = vb::Trim(vb::Str(c.size));
    EXPECT_TRUE(Has(texts, c.mainBars)) << c.mainBars;
    EXPECT_TRUE(Has(texts, size)) << "the pedestal's size " << size;
    fs::create_directories(dir / "program");
    std::ofstream(dir / "program" / kFendralProgram) << "";
    HandedList rebarProgram;
    ASSERT_EQ(RunFendralTool((dir / "program").string() + "/", rebarProgram), FendralToolResult::Updated);
    ASSERT_EQ(rebarProgram.handed.GetCount(), 1);
    FendralTbl rec;
    rebarProgram.handed.Get_Data(1, rec, 1);
    EXPECT_EQ(rec.RebarZone, c.zone);
    EXPECT_EQ(rec.cDx, c.size);
    EXPECT_EQ(rec.cDy, c.size);
    EXPECT_EQ(rec.RmNx, imported.nx);
    EXPECT_EQ(rec.RmNy, imported.ny);

    RetypeAStress();
    EXPECT_EQ(Of(gColumns(1)), imported);
}

// Without a route line the project is of route 3, whose ultimate stresses
// are entered by hand, while the import first works the zone out from
// ultimate stresses derived from the long-term and seismic ones.
const Case kCases[] = {
    // Long-term moments about both axes, no ultimate stresses: zone Ⅱ, where
    // the derived ones give zone Ⅰ.
    {"LongTermMomentsAboutBothAxes",
     {"BPLX,98.0665,9.80665,0,0,0", "BPLY,49.03325,4.903325,0,0,0"},
     2,
     850,
     "主筋 : 12(4x4)-D22(SD345)"},
    // A long-term tension (derived: zone Ⅱ) under ultimate compressions by
    // hand with a moment on both sides, in X and in Y: zone Ⅰ.
    {"UltimateCompressionWithMomentOnBothSides",
     {"BPLX,-98.0665,9.80665,0,0,0", "BPUXL,196.133,19.6133,0,0,0", "BPUXR,196.133,-19.6133,0,0,0",
      "BPUYL,196.133,0,0,19.6133,0", "BPUYR,196.133,0,0,-19.6133,0"},
     1,
     800,
     "主筋 : 8(3x3)-D22(SD345)"},
    // Long-term compressions (derived: zone Ⅰ) and an ultimate tension by
    // hand in X: zone Ⅱ.
    {"UltimateTension",
     {"BPLX,98.0665,9.80665,0,0,0", "BPLY,98.0665,0,0,9.80665,0", "BPUXL,-196.133,9.80665,0,0,0",
      "BPUXR,-196.133,9.80665,0,0,0", "BPUYL,196.133,0,0,19.6133,0", "BPUYR,196.133,0,0,-19.6133,0"},
     2,
     850,
     "主筋 : 12(4x4)-D22(SD345)"},
    // Route 2 derives the ultimate stresses at the import and at the
    // display alike: compressions stay in zone Ⅰ.
    {"CompressionStaysInZoneOne",
     {"ROOT,2,2", "BPLX,980.665,9.80665,0,0,0", "BPLY,980.665,0,0,9.80665,0"},
     1,
     800,
     "主筋 : 8(3x3)-D22(SD345)"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ImportedPedestal, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.what); });

// A project saved before the pedestal followed the zone: opened, a pedestal
// that is the set of the other zone becomes the set of its zone, the list's
// record with it; a pedestal chosen by hand keeps every byte.
class SavedPedestal : public PedestalWindow {
protected:
    std::string SaveAs(const std::string& name)
    {
        script.files.push_back((dir / name).string());
        w->Commands().msub_SaveProjectAs();
        return Read(dir / name) + Read(dir / (name + "2"));
    }
    void Open(const std::string& name)
    {
        script.files.push_back((dir / name).string());
        w->mnuFileOpen->trigger();
    }
    static std::string Read(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The example column: zone 2, with the pedestal given, list and all.
    void ImportWithPedestal(const std::function<void(ColumnDataTbl&)>& pedestal)
    {
        Import(kCases[0].loads);
        ASSERT_EQ(GetColumnRebarZone(1), 2);
        pedestal(gColumns(1));
        UpdateColumnRebar(1, gColumns(1), gKvBase(1));
    }
};

TEST_F(SavedPedestal, OfTheOtherZoneOpensAsTheSetOfItsZone)
{
    ImportWithPedestal([](ColumnDataTbl& c) {
        const auto zones = c.RebarZone;
        c.RebarZone(0, 1) = 1;
        c.RebarZone(0, 2) = c.RebarZone(1, 1) = c.RebarZone(1, 2) = 0;
        LoadSrcRebarDefaults(c, gKvBase(1), 0);
        c.RebarZone = zones;
    });
    ASSERT_EQ(gColumns(1).cD(0), 800);
    SaveAs("old.kud");
    Open("old.kud");
    ASSERT_TRUE(script.messages.empty());
    const Pedestal opened = Of(gColumns(1));
    EXPECT_EQ(opened.a, 850);
    EXPECT_EQ(opened.nx, 4);
    FendralTbl rec;
    gFendral.Get_Data(1, rec, 1);
    EXPECT_EQ(rec.cDx, 850);
    EXPECT_EQ(rec.RmNx, 4);
    RetypeAStress();
    EXPECT_EQ(Of(gColumns(1)), opened);
}

TEST_F(SavedPedestal, ChosenByHandKeepsEveryByte)
{
    ImportWithPedestal([](ColumnDataTbl& c) {
        c.cD(0) = c.cD(1) = 900;
        c.RmN(0) = c.RmN(1) = 5;
    });
    const std::string saved = SaveAs("hand.kud");
    Open("hand.kud");
    ASSERT_TRUE(script.messages.empty());
    EXPECT_EQ(gColumns(1).cD(0), 900);
    EXPECT_TRUE(SaveAs("again.kud") == saved);
}

}  // namespace
