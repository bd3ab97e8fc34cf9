// What the user is told when an operation fails, over every path that can
// fail: opening, saving, the exports, the import, the catalogue, the check
// and printing. Each text shown (message box or drawing box) is Japanese and
// short and says what to do; no Latin word is left in it but the names of
// files and models, the lines of the user's own file and units. What went
// wrong in the code's terms goes to standard error.
#include "window_fixture.h"

#include "drawing/recording.h"
#include "exchange/import_command.h"
#include "exchange/nm_file.h"
#include "model/base_data.h"
#include "model/project_file.h"
#include "platform/qt/picture_box.h"
#include "platform/text/vb.h"
#include "reports/calc_sheet.h"
#include "reports/report_drivers.h"
#include "tests/model/file_size_limit.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QApplication>
#include <QRadioButton>
#include <QRegularExpression>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace mainwintest;
using namespace model;
namespace fs = std::filesystem;

constexpr int32_t kMissingModel = 4711;  // no such model in any catalogue
constexpr int32_t kNoDataModel = 150310;  // its second bolt has no KvData row
constexpr int32_t kSrcT = 1000510;        // SRT-700

const std::string kNoFigure = "図を表示できません。";

// Units, and the program's own names of itself and of a structure, that a
// text may hold.
const char* const kTerms[] = {"N/mm2", "kgf/cm2", "cm2", "mm", "kN", "tf", "S＆SRC", "SRC"};

class ToldFailure : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        u.messages.clear();
        u.files.clear();
        picture.ops.clear();
        scope_ = std::make_unique<ui::testing::ScopedUi>(u);
        w->mDrawTarget = &picture;
        dir = fs::temp_directory_path() / ("kv told " + std::to_string(::getpid()));
        fs::create_directories(dir);
        gFileName = "untitled.kud";
        w->msub_ShowProject();
        ASSERT_TRUE(u.messages.empty()) << u.messages[0].text;
        gDataChanged = false;
    }
    void TearDown() override
    {
        w->mDrawTarget = w->pctNM;
        scope_.reset();
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
        WindowTest::TearDown();
    }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // A place the program may not write to, whoever runs it.
    std::string Barred(const std::string& name)
    {
        if (::geteuid() == 0) return "/sys/" + name;
        const fs::path folder = dir / "barred";
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        return (folder / name).string();
    }
    // An open, and a save as: each gives its path, the name its text may hold.
    std::vector<std::string> Open(const std::string& path)
    {
        u.files.push_back(path);
        w->Commands().msub_OpenProject();
        return {path};
    }
    std::vector<std::string> SaveAs(const std::string& path)
    {
        gDataChanged = true;
        u.files.push_back(path);
        w->Commands().msub_SaveProjectAs();
        return {path};
    }
    // The first column on a model the catalogue in use cannot give, then the
    // project shown as after any change.
    void Column1On(int32_t model, int16_t bolt)
    {
        gColumns(1).KolvanID = model;
        gColumns(1).AbNum = bolt;
        w->UserOperation([this] { w->msub_ShowProject(); });
    }
    // A model of the sample catalogue that the engine does not hold yet, so
    // that the check reads the catalogue.
    static int32_t OtherModel() { return gColumns(1).KolvanID == 100100 ? kNoDataModel : 100100; }
    void UseCatalogue(const std::string& folder, const std::string& name)
    {
        gDataFilePath = folder;
        gDataFileName = "\\" + name;
        gKv->setDataFilePath(gDataFilePath);
        gKv->setDataFileName(gDataFileName);
    }
    static exchange::NMFileChoices NMChoices(const std::string& path, const char* count)
    {
        exchange::NMFileChoices c;
        c.path = path;
        c.lvwColumn = {true};
        c.chkDrawNMMode = {true, false, false};
        c.txtDevNum = count;
        return c;
    }

    // Every text shown: the messages, and what the drawing box printed
    // since it was last cleared when that says why there is no figure.
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> all;
        for (const auto& m : u.messages) all.push_back(m.title + "\n" + m.text);
        std::string box;
        for (const drawing::DrawOp& op : picture.ops) {
            if (op.kind == "Cls") box.clear();
            if (op.kind == "Print") box += op.text + "\n";
        }
        if (box.rfind(kNoFigure, 0) == 0) all.push_back(box);
        return all;
    }

    ui::testing::ScriptedUi u;
    drawing::RecordingPicture picture;
    fs::path dir;

private:
    std::unique_ptr<ui::testing::ScopedUi> scope_;
};

// The Latin words of a text once the allowed names are taken out.
std::vector<std::string> LatinWords(std::string text, const std::vector<std::string>& allowed)
{
    std::vector<std::string> names(allowed);
    for (const std::string& n : allowed) names.push_back(fs::path(n).filename().string());
    names.insert(names.end(), std::begin(kTerms), std::end(kTerms));
    // Longest first, so that a path goes before the file name within it.
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    for (const std::string& n : names) {
        if (n.empty()) continue;
        for (auto at = text.find(n); at != std::string::npos; at = text.find(n, at)) text.replace(at, n.size(), " ");
    }
    std::vector<std::string> words;
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]+"));
    for (auto it = latin.globalMatch(QString::fromStdString(text)); it.hasNext();)
        words.push_back(it.next().captured().toStdString());
    return words;
}

TEST_F(ToldFailure, EveryPathTellsInJapaneseWhatToDoAndLeavesTheDetailToStandardError)
{
    const std::string png = "\x89PNG\r\n\x1a\n" + std::string(120, '\0');
    const std::string importLines = "AXIS,1,1\r\nBPANX,X1\r\nBPANY,Y1\r\nCAXIS,1,1\r\nMCON,abc\r\n"
                                    "BPLL,1,1,1,1,1\r\nBRUYR,1,2,3,4,5\r\n";
    struct Row {
        const char* path;
        std::function<std::vector<std::string>()> act;  // gives the names the text may hold
        std::vector<std::string> says;  // what the text must say
        const char* detail;             // on standard error
    };
    const Row rows[] = {
        {"open: a picture instead of a project",
         [&] { return Open(Write("site plan.png", png)); },
         {"ファイルを読み込めませんでした", "データファイルではない"}, "the file ends before its 20617 columns"},
        {"open: a column holding a value no project holds",
         [this] {
             gColumns(1).KvRotate = 2;
             const std::string p = Write("turned.kud", EncodeProjectFile(gCond, gColumns, gKvBase));
             gColumns(1).KvRotate = 0;
             return Open(p);
         },
         {"1番目の柱に扱えない値があります"}, "column 1: the base rotation 2 is outside 0 to 1"},
        {"open: a file that is not there",
         [this] { return Open((dir / "gone.kud").string()); },
         {"「gone.kud」が見つかりません"}, "No such file"},
        {"save: a folder that is not there",
         [this] { return SaveAs((dir / "no folder" / "p.kud").string()); },
         {"ファイルを保存できませんでした", "保存先のフォルダがありません"}, "cannot write"},
        {"save: a place the user may not write to",
         [this] { return SaveAs(Barred("p.kud")); },
         {"別の保存先を選んでください"}, "cannot write"},
        {"save: past the file-size limit",
         [this] {
             const modeltest::FileSizeLimit limit(4096);
             EXPECT_TRUE(limit.set());
             return SaveAs((dir / "big.kud").string());
         },
         {"上限を超える"}, "File too large"},
        {"save: a project named like its own base-rebar list",
         [this] { return SaveAs((dir / "p.kud2").string()); },
         {"拡張子の違う名前"}, "would be the same file"},
        {"column list: a place the user may not write to",
         [this] {
             const std::string p = Barred("list.csv");
             u.files.push_back(p);
             w->Commands().msub_WriteColumnListCsv();
             return std::vector<std::string>{p};
         },
         {"別の保存先を選んでください"}, "cannot write"},
        {"N-M file: a folder that is not there",
         [this] {
             const std::string p = (dir / "no folder" / "nm.csv").string();
             EXPECT_FALSE(exchange::ExportNMFile(NMChoices(p, "6")));
             return std::vector<std::string>{p};
         },
         {"保存先のフォルダがありません"}, "cannot write"},
        {"N-M file: a division count too large",
         [this] {
             const std::string p = (dir / "nm.csv").string();
             EXPECT_FALSE(exchange::ExportNMFile(NMChoices(p, "99999")));
             return std::vector<std::string>{p};
         },
         {"分割数には"}, ""},
        {"N-M file: a column whose model the catalogue lacks",
         [this] {
             gColumns(1).KolvanID = kMissingModel;
             const std::string p = (dir / "nm.csv").string();
             EXPECT_FALSE(exchange::ExportNMFile(NMChoices(p, "6")));
             return std::vector<std::string>{p};
         },
         {"柱脚形式（番号 4711）がありません"}, "No current record"},
        {"import: a value that is no number, named with its line",
         [&] {
             const std::string p = Write("frame.txt", importLines);
             u.files.push_back(p);
             exchange::ImportCommand(*w, w->Commands()).msub_ImportAnalysisFile();
             return std::vector<std::string>{p, "MCON", "abc"};
         },
         {"数値として読めない値があります", "5 行目"}, ""},
        {"import: a folder chosen as the file",
         [this] {
             const fs::path p = dir / "analysis";
             fs::create_directories(p);
             u.files.push_back(p.string());
             exchange::ImportCommand(*w, w->Commands()).msub_ImportAnalysisFile();
             return std::vector<std::string>{p.string()};
         },
         {"「analysis」はファイルではありません"}, "is not a regular file"},
        {"catalogue: a model it does not hold",
         [this] {
             Column1On(kMissingModel, 1);
             return std::vector<std::string>{vb::Trim(gColumns(1).ColName.value())};
         },
         {"柱脚形式（番号 4711）がありません", "選び直してください"}, "No current record"},
        {"catalogue: a model without the data of its bolt",
         [this] {
             const fs::path catalogue(KV_NO_KVDATA_CATALOGUE);
             UseCatalogue(catalogue.parent_path().string(), catalogue.filename().string());
             Column1On(kNoDataModel, 2);
             return std::vector<std::string>{vb::Trim(gColumns(1).ColName.value())};
         },
         {"柱脚形式（番号 150310）の検討に要るデータがありません"}, "KvData"},
        {"catalogue: its file is not there",
         [this] {
             UseCatalogue(dir.string(), "nothing.mdb");
             Column1On(OtherModel(), 1);
             return std::vector<std::string>{vb::Trim(gColumns(1).ColName.value()), "nothing.mdb"};
         },
         {"データベース「nothing.mdb」が見つかりません"}, "Could not find the catalogue file"},
        {"catalogue: a file that is no catalogue",
         [&] {
             Write("picture.mdb", png);
             UseCatalogue(dir.string(), "picture.mdb");
             Column1On(OtherModel(), 1);
             return std::vector<std::string>{vb::Trim(gColumns(1).ColName.value()), "picture.mdb"};
         },
         {"データベース「picture.mdb」を読めません"}, "is not a catalogue database"},
        {"catalogue: a password it does not take",
         [this] {
             gKv->setPW("wrong");
             Column1On(OtherModel(), 1);
             return std::vector<std::string>{vb::Trim(gColumns(1).ColName.value()), "data.mdb"};
         },
         {"パスワードが合いません"}, "Not a valid password"},
        {"check: an SRC column the engine cannot check",
         [this] {
             w->optStruc[1]->setChecked(true);
             QApplication::processEvents();
             u.messages.clear();
             picture.ops.clear();
             ColumnDataTbl& c = gColumns(1);
             c.KolvanID = kSrcT;
             c.ColV = 4;
             LoadKvBaseData(kSrcT, c.AbNum, gKvBase(1));
             for (long r = 1; r <= 6; ++r)
                 for (long k = 1; k <= 6; ++k) c.LoadTbl(r, k) = r % 3 == 1 ? 99999.99 : (k % 2 ? 99999.99 : -99999.99);
             w->UserOperation([this] { w->msub_ShowProject(); });
             return std::vector<std::string>{vb::Trim(c.ColName.value())};
         },
         {"の検討ができませんでした", "見直してください"}, "SRC"},
        {"print: a column whose model the catalogue lacks",
         [this] {
             reports::RegisterCalcSheetPage();
             gColumns(1).KolvanID = kMissingModel;
             drawing::RecordingPage page(1.0);
             reports::ReportChoices choices;
             choices.columns = {1};
             EXPECT_FALSE(reports::psub_Print(page, 0, choices));
             reports::PageTable() = {};
             return std::vector<std::string>{};
         },
         {"印刷できませんでした", "柱脚形式（番号 4711）がありません"}, "No current record"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        // Each path starts from the same project, catalogue and engine.
        TearDown();
        SetUp();
        ::testing::internal::CaptureStderr();
        const std::vector<std::string> names = row.act();
        const std::string detail = ::testing::internal::GetCapturedStderr();

        const std::vector<std::string> shown = Shown();
        EXPECT_FALSE(u.messages.empty());
        std::string all;
        for (const std::string& s : shown) {
            all += s + "\n";
            EXPECT_EQ(LatinWords(s, names), std::vector<std::string>{}) << s;
            // No wrapped line of the box starts with a closing mark.
            EXPECT_EQ(s.find("\n。"), std::string::npos) << s;
            // Short: no dump of queries or of a chain of reasons.
            const auto lines = QString::fromStdString(s).split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")));
            EXPECT_LE(lines.size(), 8) << s;
        }
        for (const std::string& say : row.says) EXPECT_NE(all.find(say), std::string::npos) << say << " in\n" << all;
        EXPECT_NE(detail.find(row.detail), std::string::npos) << row.detail << " in\n" << detail;
    }
}

}  // namespace
