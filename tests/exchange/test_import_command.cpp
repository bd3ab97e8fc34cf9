// The import command headless: its steps, its host calls and the project left
// untouched by every file it cannot take.
#include "tests/exchange/import_fixture.h"

#include "exchange/import_command.h"
#include "model/adapter.h"
#include "model/column_check.h"
#include "model/project_file.h"
#include "model/rebar_handover.h"
#include "model/rebar_zone.h"
#include "model/stress.h"
#include "platform/text/vb.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <random>

namespace {

using namespace importtest;
using ui::Answer;

const char* const kStopTitle = "インポートを中止します。";

std::string ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RecordingHost : public MainWindowHost {
public:
    std::vector<std::string> calls;
    void setCaption(const std::string& c) override { calls.push_back("caption " + c); }
    void showLoading(bool on) override { calls.push_back(on ? "loading on" : "loading off"); }
    void showNMX() override { calls.push_back("nmx " + std::to_string(gDispMode)); }
    void showProject() override { calls.push_back("project"); }
};

// The open project as the user sees it, for comparison after a refused file.
struct Project {
    Project()
        : cond(gCond), columns(gColumns.begin(), gColumns.end()), kvBase(gKvBase.begin(), gKvBase.end()),
          fendral(gFendral), fileName(gFileName), changed(gDataChanged), curCol(gCurCol),
          shortKind(gShortLoadKind), dispMode(gDispMode)
    {
    }
    ProjectCondTbl cond;
    std::vector<ColumnDataTbl> columns;
    std::vector<KvBaseTbl> kvBase;
    clsFendral fendral;
    std::string fileName;
    bool changed;
    int16_t curCol;
    int16_t shortKind;
    int16_t dispMode;
    bool operator==(const Project&) const = default;
};

class Command : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        gImportDir = dir.string() + "/";
        gFileName = "old.kud";
        command.chooseBase = chooser.hook();
        command.askOptions = [this] {
            host.calls.push_back("options");
            if (options) options();
        };
    }
    // Runs the command on a file chosen in the dialog.
    void Import(const std::string& path)
    {
        script.files.push_back(path);
        command.msub_ImportAnalysisFile();
    }
    // The file must be refused with one message, the project as it was.
    void ExpectRefused(const std::string& what, const std::string& bytes, const char* reasonStart = nullptr)
    {
        SCOPED_TRACE(what);
        script.messages.clear();
        gDataChanged = false;
        const Project before;
        const std::string path = Write("bad.txt", bytes);
        Import(path);
        ASSERT_EQ(script.messages.size(), 1u);
        EXPECT_EQ(script.messages[0].title, kStopTitle);
        if (reasonStart) {
            EXPECT_EQ(script.messages[0].text.rfind(reasonStart, 0), 0u) << script.messages[0].text;
        }
        EXPECT_NE(script.messages[0].text.find(path), std::string::npos) << script.messages[0].text;
        EXPECT_TRUE(Project() == before);
        EXPECT_FALSE(cmds.mblnLoading);
        // The folder and name are remembered all the same.
        EXPECT_EQ(gImportFile, "bad.txt");
    }

    RecordingHost host;
    ProjectCommands cmds{host};
    exchange::ImportCommand command{host, cmds};
    ScriptedChooser chooser;
    std::function<void()> options;
};

TEST_F(Command, CancelledQuestionOrDialogEndsQuietly)
{
    const Project before;
    gDataChanged = true;
    script.answers = {Answer::Cancel};
    script.files.push_back(Write("two.txt", TwoColumnFile()));
    command.msub_ImportAnalysisFile();
    EXPECT_EQ(script.questions.size(), 1u);
    EXPECT_TRUE(script.fileRequests.empty());

    gDataChanged = false;
    script.files.clear();
    command.msub_ImportAnalysisFile();
    ASSERT_EQ(script.fileRequests.size(), 1u);
    EXPECT_EQ(script.fileRequests[0].initDir, dir.string() + "/");
    EXPECT_EQ(script.fileRequests[0].filter, "すべてのファイル (*.*)|*");
    EXPECT_EQ(script.fileRequests[0].fileName, "");
    EXPECT_FALSE(script.fileRequests[0].save);
    EXPECT_TRUE(script.messages.empty());
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(Project() == before);
    EXPECT_FALSE(cmds.mblnLoading);
}

TEST_F(Command, TwoColumnFileBecomesTheProject)
{
    gCurCol = 1;
    gShortLoadKind = 1;
    gDispMode = 4;
    const std::string path = Write("two.txt", TwoColumnFile());
    Import(path);
    EXPECT_TRUE(script.messages.empty());
    ASSERT_EQ(gCond.ColCount, 2);
    EXPECT_EQ(gColumns.ubound(), 2);
    EXPECT_EQ(gFileName, "untitled.kud");
    EXPECT_TRUE(gDataChanged);
    EXPECT_EQ(gCurCol, 1);
    EXPECT_EQ(gDispMode, 0);
    EXPECT_EQ(gImportDir, dir.string() + "/");
    EXPECT_EQ(gImportFile, "two.txt");
    EXPECT_EQ(gFendral.GetCount(), 2);
    EXPECT_FALSE(cmds.mblnLoading);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"loading on", "loading off", "nmx 0", "options", "project",
                                                    "caption 柱脚検討 -\"untitled.kud\""}));
    // Checked in both directions.
    EXPECT_NE(gResults(1).Mu(0, 1), 0);
    EXPECT_NE(gResults(2).Mu(1, 1), 0);
}

// Saved, opened and saved again, an imported project keeps its bytes (its
// bases are each their model's, whatever model the import loaded before);
// a column that cannot be checked is imported and opened all the same.
TEST_F(Command, ImportedProjectsSaveAndOpenToTheSameBytes)
{
    struct Case {
        const char* what;
        std::vector<std::pair<std::size_t, std::string>> lines;
        bool firstChecks;
    } cases[] = {
        {"as written", {}, true},
        // Ultimate stresses derived with gamma from seismic loads beyond any.
        {"a first column beyond any load",
         {{8, "ROOT,2,2"}, {9, "BPGAM,100,100"}, {23, "BPEXL,1e308,1e308,1e308,1e308,1e308"}},
         false},
    };
    const auto checks = [](int32_t i) {
        try {
            CheckColumn(i);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Lines l = TwoColumnFile();
        for (const auto& [at, text] : c.lines) l[at] = text;
        script.messages.clear();
        Import(Write("two.txt", l));
        for (const auto& m : script.messages) ADD_FAILURE() << m.text;
        ASSERT_EQ(gCond.ColCount, 2);
        NormaliseRoute(gCond);  // as the window shows it
        EXPECT_EQ(checks(1), c.firstChecks);
        EXPECT_TRUE(checks(2));

        const auto save = [&](const char* name) {
            script.files.push_back((dir / name).string());
            script.answers.push_back(Answer::Yes);  // over an earlier case's file
            EXPECT_FALSE(cmds.msub_SaveProjectAs());
            return std::pair{ReadBytes(dir / name), ReadBytes(dir / (std::string(name) + "2"))};
        };
        const auto first = save("imported.kud");
        script.files.push_back((dir / "imported.kud").string());
        cmds.msub_OpenProject();
        for (const auto& m : script.messages) ADD_FAILURE() << m.text;
        EXPECT_EQ(gFileName, "imported.kud");
        EXPECT_EQ(checks(1), c.firstChecks);
        const auto second = save("again.kud");
        EXPECT_TRUE(first.first == second.first) << "the project file changed";
        EXPECT_TRUE(first.second == second.second) << "the base-rebar list changed";
    }
}

TEST_F(Command, WithoutTheOptionsDialogTheProjectIsSymmetricAndSeismic)
{
    command.askOptions = nullptr;
    gShortLoadKind = 2;
    Import(Write("two.txt", TwoColumnFile()));
    ASSERT_EQ(gCond.ColCount, 2);
    EXPECT_EQ(gShortLoadKind, 0);
    EXPECT_EQ(gCond.SymmetryX, kTrue);
    EXPECT_EQ(gCond.SymmetryY, kTrue);
}

TEST_F(Command, ChosenOptionsGoIntoStressesZonesAndRebarList)
{
    options = [] {
        gShortLoadKind = 2;
        gCond.SymmetryX = kFalse;
        gCond.SymmetryY = kFalse;
    };
    Import(Write("two.txt", TwoColumnFile()));
    ASSERT_EQ(gCond.ColCount, 2);
    EXPECT_EQ(gShortLoadKind, 2);
    EXPECT_EQ(gCond.SymmetryX, kFalse);
    for (int32_t i = 1; i <= 2; ++i) {
        // Each column as the project load would check it on its own.
        const ColumnDataTbl imported = gColumns(i);
        const ColumnResultTbl results = gResults(i);
        CheckColumn(i);
        KvEngineRef engine(*gKv);
        SetKvBaseInputs(engine, gColumns(i));
        LoadRebarZoneDetails(engine, static_cast<int16_t>(i), gColumns(i).CenColWall(0));
        EXPECT_TRUE(gColumns(i) == imported) << i;
        EXPECT_TRUE(gResults(i) == results) << i;
    }
    // The snow loads are in the short-term design cases.
    DesignTable des{};
    for (int16_t k = 1; k <= 6; ++k) BuildDesignStressTable(des, gColumns(2).LoadTbl, k);
    EXPECT_TRUE(des == gResults(2).DesignStress);
    const clsFendral list = gFendral;
    RebuildColumnRebar();
    EXPECT_TRUE(gFendral == list);
}

TEST_F(Command, DroppedColumnLeavesTheOthers)
{
    Lines l = TwoColumnFile();
    l[18] = "KVNAME,UNKNOWN1";  // the first column's model
    Import(Write("drop.txt", l));
    EXPECT_EQ(chooser.asked, std::vector<int32_t>{1});
    ASSERT_EQ(gCond.ColCount, 1);
    EXPECT_EQ(gColumns.ubound(), 1);
    EXPECT_EQ(vb::Trim(text::FieldText(gColumns(1).ColName)), "C2(X1-Y1)");
    EXPECT_EQ(gFendral.GetCount(), 1);
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(Command, BadFilesChangeNothing)
{
    const Lines two = TwoColumnFile();
    auto with = [&](std::size_t at, const std::string& line) {
        Lines l = two;
        l[at] = line;
        return Cp932Text(l);
    };
    const std::string full = Cp932Text(two);
    Lines cut(two.begin(), two.end() - 2);
    ExpectRefused("cut at a line end", Cp932Text(cut), "柱データが途中で終わっています");
    ExpectRefused("cut inside a line", full.substr(0, full.size() - 20), "柱データが途中で終わっています");
    ExpectRefused("load no number", with(22, "BPLX,1O,0,0,0,0"), "数値として読めない値があります");
    ExpectRefused("axis count no number", with(5, "AXIS,two,3"), "数値として読めない値があります");
    ExpectRefused("axis index no number", with(13, "CAXIS,x,3"), "数値として読めない値があります");
    ExpectRefused("huge axis count", with(5, "AXIS,99999999,1"), "整数の範囲");
    ExpectRefused("negative axis count", with(5, "AXIS,-1,3"), "軸の数が正しくありません");
    ExpectRefused("axis index beyond the count", with(13, "CAXIS,3,3"), "軸番号が軸の数の範囲外です");
    ExpectRefused("too few axis names", with(7, "BPANY,Y1,Y2"), "軸名の数が軸の数より少なくなっています");
    ExpectRefused("invalid route", with(8, "ROOT,4,3"), "設計ルートの値が不正です。強制終了します。");
    // A factor that a saved project could not be opened with again.
    ExpectRefused("gamma beyond any load", with(9, "BPGAM,1e308,1.5"), "γ・αの値が0～100の範囲を超えています。");
    ExpectRefused("negative alpha", with(11, "LS,2,0.7,-0.35"), "γ・αの値が0～100の範囲を超えています。");
    ExpectRefused("byte-order mark", "\xEF\xBB\xBF" + full, "ファイルの文字コードが正しくありません");
    ExpectRefused("not code page 932", full.substr(0, 40) + "\xFF\xFE" + full.substr(40),
                  "ファイルの文字コードが正しくありません");
    {
        std::string utf8;
        for (const std::string& l : two) utf8 += l + "\r\n";
        ExpectRefused("UTF-8 names", utf8, "ファイルの文字コードが正しくありません");
    }
    ExpectRefused("closing line before the first column", with(4, "BRUYR,0,0,0,0,0"), "柱データ（CAXIS）より前に");
    ExpectRefused("closing line without a comma", with(37, "BRUYR"), "柱データの終わりを示す行が見つかりません");
    {
        Lines l = two;
        l[18] = "KVNAME,UNKNOWN1";
        l[44] = "BPNAME,UNKNOWN2";
        ExpectRefused("every column skipped", Cp932Text(l), "インポートできる柱がありません");
    }
    {
        Lines l = Axes();
        for (int i = 0; i < 40000; ++i) l.insert(l.end(), {"CAXIS,1,1", "BPLX,1,0,0,0,0"});
        ExpectRefused("40,000 columns", Cp932Text(l), "柱の数が多すぎます");
    }
    {
        // A project file chosen by mistake.
        ExpectRefused("project file", EncodeProjectFile(gCond, gColumns, gKvBase),
                      "ファイルの文字コードが正しくありません");
    }
}

// Each of the four factors on its own: a value outside 0..100 stops the
// import with the message naming the line and its field, and the open
// project stays; the bounds themselves are taken into their own fields.
TEST_F(Command, EveryDesignFactorOutsideTheRangeIsRefused)
{
    struct Factor {
        const char* name;
        std::size_t line;  // 0-based in the two-column file
        std::function<std::string(const std::string&)> text;
        double ProjectCondTbl::*field;
    };
    const Factor factors[] = {
        {"gamma X", 9, [](const std::string& v) { return "BPGAM," + v + ",1.5"; }, &ProjectCondTbl::GammaX},
        {"gamma Y", 9, [](const std::string& v) { return "BPGAM,2.5," + v; }, &ProjectCondTbl::GammaY},
        {"alpha 1", 11, [](const std::string& v) { return "LS,1," + v + ",0.35"; }, &ProjectCondTbl::Alpha1},
        {"alpha 2", 11, [](const std::string& v) { return "LS,1,0.7," + v; }, &ProjectCondTbl::Alpha2},
    };
    const Lines two = TwoColumnFile();
    for (const Factor& f : factors) {
        for (const char* value : {"-0.001", "-1", "100.001", "101", "1e308", "-1e308"}) {
            Lines l = two;
            l[f.line] = f.text(value);
            const std::string what = std::string(f.name) + " " + value;
            // An earlier import of its own as the open project.
            gDataChanged = false;
            Import(Write("good.txt", two));
            ASSERT_EQ(gCond.ColCount, 2) << what;
            ExpectRefused(what, Cp932Text(l));
            ASSERT_EQ(script.messages.size(), 1u) << what;
            const std::string keyword = l[f.line].substr(0, l[f.line].find(','));
            EXPECT_EQ(script.messages[0].text, "γ・αの値が0～100の範囲を超えています。（" + keyword + " : " + value +
                                                   "）\r\rファイル : " + (dir / "bad.txt").string() + "\r行 : " +
                                                   std::to_string(f.line + 1) + " 行目")
                << what;
        }
        for (const char* value : {"0", "100", "99.999"}) {
            Lines l = two;
            l[f.line] = f.text(value);
            script.messages.clear();
            gDataChanged = false;
            Import(Write("edge.txt", l));
            const std::string what = std::string(f.name) + " " + value;
            EXPECT_TRUE(script.messages.empty()) << what;
            ASSERT_EQ(gCond.ColCount, 2) << what;
            EXPECT_EQ(gCond.*f.field, vb::Val(value)) << what;
        }
    }
}

TEST_F(Command, FileWithoutColumnsGivesTheNoColumnMessage)
{
    const Project before;
    Import(Write("head.txt", Lines{"TITLE,x", "AXIS,1,1", "BPANX,A", "BPANY,1", "XCAXIS,1,1"}));
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "柱のデータがありません。インポートを中止します。\r\rファイル内容を確認してください。");
    EXPECT_EQ(script.messages[0].title, kStopTitle);
    EXPECT_TRUE(Project() == before);
    EXPECT_FALSE(cmds.mblnLoading);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(gImportFile, "head.txt");

    // A file that is not there.
    script.messages.clear();
    Import((dir / "missing.txt").string());
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, kStopTitle);
    EXPECT_TRUE(Project() == before);
}

TEST_F(Command, RandomDamageEndsInAnImportOrAMessage)
{
    const Lines two = TwoColumnFile();
    std::mt19937 rng(20261211);
    const char* const junk[] = {"", ",", "abc", "-1", "99999999", "CAXIS,1,1", "BRUYR", "1e400", "#R", "\x81",
                                "CAXIS,2,3", "BPNAME,", "AXIS,0,0", "ROOT,3,3", "CSIZE,Q", "\xE3\x81\x82"};
    int imported = 0;
    int refused = 0;
    for (int round = 0; round < 150; ++round) {
        Lines l = two;
        const int edits = 1 + static_cast<int>(rng() % 3);
        for (int e = 0; e < edits && !l.empty(); ++e) {
            const std::size_t at = rng() % l.size();
            switch (rng() % 5) {
            case 0: l.erase(l.begin() + static_cast<long>(at)); break;
            case 1: l.insert(l.begin() + static_cast<long>(at), l[at]); break;
            case 2: l[at] = junk[rng() % std::size(junk)]; break;
            case 3: {
                std::string& s = l[at];
                const std::size_t comma = s.find(',');
                if (comma != std::string::npos) s = s.substr(0, comma + 1) + junk[rng() % std::size(junk)];
                break;
            }
            default: l.resize(at + 1); break;
            }
        }
        std::string bytes = Cp932Text(l);
        if (round % 7 == 0 && !bytes.empty()) bytes.resize(rng() % bytes.size());
        script.messages.clear();
        gDataChanged = false;
        const Project before;
        Import(Write("random.txt", bytes));
        EXPECT_FALSE(cmds.mblnLoading) << round;
        const bool stopped = !script.messages.empty() && script.messages.back().title == kStopTitle;
        if (stopped) {
            ++refused;
            EXPECT_TRUE(Project() == before) << round;
        } else {
            ++imported;
            EXPECT_GE(gCond.ColCount, 1) << round;
            EXPECT_EQ(gColumns.ubound(), gCond.ColCount) << round;
            EXPECT_EQ(gFendral.GetCount(), gCond.ColCount) << round;
        }
    }
    EXPECT_GT(imported, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
