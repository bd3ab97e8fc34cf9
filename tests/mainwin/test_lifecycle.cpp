// The main window's load, resize rules and close, with the settings in an
// ini file of the test's own and the user's answers scripted.
#include "drawing/globals.h"
#include "engine/kv.h"
#include "mainwin/frmMain.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "platform/qt/grid/flexgrid.h"
#include "platform/qt/picture_box.h"
#include "model/base_data.h"
#include "model/rebar_handover.h"
#include "tests/platform/qt_grid/glyph_ink.h"
#include "tests/platform/ui/scripted_ui.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QString>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace model;
using ui::Answer;
using ui::testing::ScopedUi;
using ui::testing::ScriptedUi;

const char* const kAskRegister = "データが変更されています。\r登録しますか？";
const char* const kAskOverwrite = "データが変更されています。\r上書きしますか？";

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("kv lifecycle " + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        // Start-up reads the user's store: keep it away from the real one.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir_.string()));
        iniPath_ = QString::fromStdString((dir_ / "settings.ini").string());
        ini_ = std::make_unique<QSettings>(iniPath_, QSettings::IniFormat);
        gFileDir.clear();
        gImportDir.clear();
        drawing::gNTFlag = false;
    }
    void TearDown() override
    {
        w.reset();
        ini_.reset();
        gKv.reset();
        gAutoRefresh = true;
        gShortLoadKind = 0;
        gDataChanged = false;
        std::filesystem::remove_all(dir_);
    }

    void store(const std::map<std::string, std::string>& values)
    {
        ini_->beginGroup("Settings");
        for (const auto& [k, v] : values) ini_->setValue(QString::fromStdString(k), QString::fromStdString(v));
        ini_->endGroup();
        ini_->sync();
    }
    QString stored(const char* key)
    {
        ini_->sync();
        return ini_->value(QStringLiteral("Settings/") + key).toString();
    }
    QByteArray iniBytes()
    {
        ini_->sync();
        QFile f(iniPath_);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Start-up as the program does it, then the window shown (which loads it).
    void start(const std::string& commandLine = "")
    {
        gKv.reset();
        StartProgram(KV_SAMPLE_DIR, commandLine);
        openWindow();
    }
    void openWindow()
    {
        if (!gzDLGetSys) gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
        w = std::make_unique<frmMain>();
        w->programFolder = KV_SAMPLE_DIR;
        w->setSettingsStore(ini_.get());
        w->show();
        QApplication::processEvents();
    }
    std::string path(const char* name) const { return (dir_ / name).string(); }

    std::unique_ptr<frmMain> w;
    std::filesystem::path dir_;
    QString iniPath_;
    std::unique_ptr<QSettings> ini_;
};

// ---- Load ----

TEST_F(Lifecycle, FirstStartWithAnEmptyStore)
{
    start();
    EXPECT_EQ(w->Left(), 1005);
    EXPECT_EQ(w->Top(), 495);
    EXPECT_EQ(w->Width(), 12840);
    EXPECT_EQ(w->Height(), 10905);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("柱脚検討 -\"untitled.kud\""));
    EXPECT_TRUE(gAutoRefresh);
    EXPECT_TRUE(drawing::gNTFlag);
    EXPECT_EQ(gFileDir, KV_SAMPLE_DIR);
    EXPECT_EQ(gImportDir, KV_SAMPLE_DIR);
    EXPECT_EQ(w->helpFile, std::string(KV_SAMPLE_DIR) + "/Kolvan.chm");
    EXPECT_EQ(gShortLoadKind, 0);
    EXPECT_FALSE(gDataChanged);
    EXPECT_FALSE(w->mblnLoading);
    EXPECT_FALSE(w->mblnFillingRoutes);
    // Column 1 is shown and the table takes clicks again.
    EXPECT_EQ(gCurCol, 1);
    EXPECT_FALSE(w->grdView1->TextMatrix(4, 2).isEmpty());
    EXPECT_FALSE(w->grdView1->TextMatrix(8, 2).isEmpty());
    EXPECT_FALSE(w->mblnGridQuiet);
    // Captions from the string table where the design carries an id.
    EXPECT_EQ(w->Frame3->title(), QStringLiteral("構造種別"));
    EXPECT_EQ(w->cmdFlgReflesh->text(), QStringLiteral("応力表･耐力図の更新する。"));
}

TEST_F(Lifecycle, StoredGeometryGoesThroughTheSizeRules)
{
    struct Case {
        const char* key;
        const char* value;
        int left, top, width, height;
    };
    const Case cases[] = {
        {"MainWidth", "5000", 1005, 495, 12840, 10905},
        {"MainWidth", "20000", 1005, 495, 12840, 10905},
        {"MainHeight", "9000", 1005, 495, 12840, 10905},
        {"MainHeight", "12000", 1005, 495, 12840, 12000},
        {"MainLeft", "1500", 1500, 495, 12840, 10905},
        {"MainTop", "300", 1005, 300, 12840, 10905},
        {"MainLeft", "abc", 1005, 495, 12840, 10905},
        {"MainTop", "", 1005, 495, 12840, 10905},
        {"MainHeight", "1e300", 1005, 495, 12840, 10905},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        ini_->clear();
        store({{c.key, c.value}});
        start();
        EXPECT_EQ(w->Left(), c.left);
        EXPECT_EQ(w->Top(), c.top);
        EXPECT_EQ(w->Width(), c.width);
        EXPECT_EQ(w->Height(), c.height);
        w.reset();
    }
}

TEST_F(Lifecycle, ResizeRulesUndoWidthRaiseHeightAndKeepTheTableAboveTheStatusBar)
{
    start();
    w->resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(w->Width(), 12840);
    EXPECT_EQ(w->Height(), 10905);
    w->resize(w->width(), w->height() + 40);
    QApplication::processEvents();
    EXPECT_EQ(w->Width(), 12840);
    EXPECT_EQ(w->Height(), 10905 + 40 * 15);

    const QRect grid = w->TwipsRect(w->grdView1);
    const int status = static_cast<int>(w->sbStatusBar->sizeHint().height() * w->TwipsPerPixelY());
    EXPECT_EQ(grid.top(), w->ScaleHeight() - status - grid.height() - 60);
    EXPECT_EQ(grid.height(), 3285);
    EXPECT_EQ(w->TwipsRect(w->Frame1).top(), grid.top() - 2085 - 720);
    EXPECT_EQ(w->TwipsRect(w->Frame2).top(), grid.top() - 2085 - 720);
    EXPECT_EQ(w->TwipsRect(w->grdList).height(), w->TwipsRect(w->Frame1).top() - 1590 - 60);
    EXPECT_EQ(w->TwipsRect(w->cmdInput).top(), grid.top() - 375 - 120);
    // Frames of the conditions, the drawing box and the button keep their places.
    EXPECT_EQ(w->TwipsRect(w->Frame4), QRect(4560, 690, 2175, 735));
    EXPECT_EQ(w->TwipsRect(w->pctNM), QRect(8760, 1560, 3840, 4215));
    EXPECT_EQ(w->TwipsRect(w->cmdFlgReflesh), QRect(8760, 5400, 3855, 375));
}

TEST_F(Lifecycle, RefreshFlagShowsTheButtonUnderAShorterDrawingBox)
{
    struct Case {
        const char* value;  // nullptr: absent
        bool autoRefresh;
        int boxHeight;
    };
    for (const Case& c : {Case{"False", false, 3735}, Case{"True", true, 4215}, Case{nullptr, true, 4215},
                          Case{"maybe", true, 4215}}) {
        SCOPED_TRACE(c.value ? c.value : "absent");
        ini_->clear();
        if (c.value) store({{"RefleshFlag", c.value}});
        start();
        EXPECT_EQ(gAutoRefresh, c.autoRefresh);
        EXPECT_EQ(w->cmdFlgReflesh->isVisible(), !c.autoRefresh);
        EXPECT_EQ(w->TwipsRect(w->pctNM).height(), c.boxHeight);
        w.reset();
    }
}

TEST_F(Lifecycle, NTFlagIsNeverReadAndAlwaysWrittenTrue)
{
    store({{"NTFlag", "False"}});
    start();
    EXPECT_TRUE(drawing::gNTFlag);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(stored("NTFlag"), "True");
}

TEST_F(Lifecycle, FoldersFromTheStoreUnlessACommandLineNamedTheProject)
{
    store({{"DataPath", "/data/projects/"}, {"ImportDataPath", "/data/import/"}});
    start();
    EXPECT_EQ(gFileDir, "/data/projects/");
    EXPECT_EQ(gImportDir, "/data/import/");
}

TEST_F(Lifecycle, CommandLineProjectKeepsItsFolderAndRoutes)
{
    // A project of two columns whose routes differ from the default's.
    gKv.reset();
    StartProgram(KV_SAMPLE_DIR, "");
    MainWindowHost host;
    ProjectCommands commands(host);
    gCond.DesignRootX = 1;
    gCond.DesignRootY = 2;
    gFileDir = dir_.string() + "/";
    gFileName = "cli.kud";
    ASSERT_TRUE(commands.msub_WriteProjectFile());
    gFileDir.clear();

    store({{"DataPath", "/elsewhere/"}});
    gKv.reset();
    StartProgram(KV_SAMPLE_DIR, "\"" + path("cli.kud") + "\"");
    const int16_t rootX = gCond.DesignRootX;
    const int16_t rootY = gCond.DesignRootY;
    ASSERT_EQ(gFileDir, dir_.string() + "/");
    openWindow();
    EXPECT_EQ(gFileDir, dir_.string() + "/");
    EXPECT_EQ(gCond.DesignRootX, rootX);
    EXPECT_EQ(gCond.DesignRootY, rootY);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("柱脚検討 -\"cli.kud\""));
}

// A project named on the command line opens as File > Open opens it: its
// first column keeps a pedestal chosen by hand, and saving it again gives the
// bytes it was opened from.
TEST_F(Lifecycle, ACommandLineProjectKeepsItsFirstColumnAsSaved)
{
    const auto bytes = [](const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    start();
    MainWindowHost host;
    ProjectCommands commands(host);
    gColumns(1).cD(0) = gColumns(1).cD(1) = 900;
    gColumns(1).RmN(0) = gColumns(1).RmN(1) = 5;
    UpdateColumnRebar(1, gColumns(1), gKvBase(1));
    gFileDir = dir_.string() + "/";
    gFileName = "hand.kud";
    ASSERT_TRUE(commands.msub_WriteProjectFile());

    gKv.reset();
    StartProgram(KV_SAMPLE_DIR, "\"" + path("hand.kud") + "\"");
    openWindow();
    EXPECT_EQ(gColumns(1).cD(0), 900);
    EXPECT_EQ(gColumns(1).RmN(0), 5);
    gFileName = "again.kud";
    ASSERT_TRUE(commands.msub_WriteProjectFile());
    EXPECT_TRUE(bytes(path("again.kud")) == bytes(path("hand.kud")));
    EXPECT_TRUE(bytes(path("again.kud2")) == bytes(path("hand.kud2")));
    gDataChanged = false;
}

// The snow factors can be entered exactly while the shown project handles
// heavy snow: at start-up, where the combo already shows its first item and
// raises no click, and after every later display.
TEST_F(Lifecycle, SnowFactorsFollowTheStoredSnowHandlingAfterEveryDisplay)
{
    const auto expectFactors = [&](int16_t snow, const char* when) {
        const bool heavy = snow == 2;
        for (QWidget* c : std::initializer_list<QWidget*>{w->txtAlpha1, w->txtAlpha2, w->Label1, w->Label4})
            EXPECT_EQ(c->isEnabled(), heavy) << when << " " << snow << " " << c->objectName().toStdString();
        EXPECT_EQ(w->sbPanels[0]->text().isEmpty(), !heavy) << when << " " << snow;
        EXPECT_EQ(w->cmbSCondition->currentIndex(), snow) << when;
    };
    for (int16_t stored : {0, 1, 2}) {
        gKv.reset();
        StartProgram(KV_SAMPLE_DIR, "");
        MainWindowHost host;
        ProjectCommands commands(host);
        gCond.SCondition = stored;
        gFileDir = dir_.string() + "/";
        gFileName = "snow.kud";
        ASSERT_TRUE(commands.msub_WriteProjectFile());
        gFileDir.clear();
        gKv.reset();
        StartProgram(KV_SAMPLE_DIR, "\"" + path("snow.kud") + "\"");
        openWindow();
        expectFactors(stored, "start-up");
        EXPECT_FALSE(gDataChanged);
        for (int16_t next : {0, 1, 2}) {
            gCond.SCondition = next;
            w->msub_ShowProject();
            expectFactors(next, "display");
        }
    }
    gDataChanged = false;
}

// Labels and boxes of designed widths show their whole texts, condensed
// where the face needs more room: the hint in a face wider than the one it
// was laid out for (the fallback where the IPA faces are missing), the
// indexes of α1 and α2, and the snow factors.
TEST_F(Lifecycle, LabelsAndFactorBoxesShowTheirWholeTexts)
{
    start();
    // Heavy snow: the factors and their labels enabled, in full ink.
    gCond.SCondition = 2;
    gCond.Alpha1 = 0.7;
    gCond.Alpha2 = -12.35;
    w->msub_ShowProject();
    w->Label6->setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
    const QRect hintBox = w->Label6->geometry();
    for (QLabel* label : {w->Label6, w->Label1, w->Label4}) {
        const std::string name = label->objectName().toStdString();
        const double natural = QFontMetricsF(label->font(), label).horizontalAdvance(label->text());
        ASSERT_GT(natural, label->width()) << name << ": the text needs more room than the label has";
        const QImage shown = inkread::Render(*label);
        const QImage whole =
            inkread::CondensedText(label->text(), label->font(), label->size(), label->width() / natural);
        const double match = inkread::Correlation(inkread::ColumnProfile(shown, label->rect()),
                                                  inkread::ColumnProfile(whole, label->rect()));
        EXPECT_GT(match, 0.9) << name;
    }
    EXPECT_EQ(w->Label6->geometry(), hintBox);

    for (QLineEdit* box : {w->txtAlpha1, w->txtAlpha2}) {
        const inkread::Ink ink = inkread::InkIn(inkread::Render(*box), box->rect().adjusted(2, 2, -2, -2));
        EXPECT_EQ(ink.runs, box->text().size()) << box->text().toStdString();
        const inkread::Ink whole = inkread::PlainInk(box->text(), box->font());
        EXPECT_NEAR(ink.box.width(), whole.box.width(), inkread::kZoom) << box->text().toStdString();
    }
    gDataChanged = false;
}

// ---- Close ----

TEST_F(Lifecycle, UnchangedProjectClosesWithoutAQuestionAndWritesAllKeys)
{
    struct Case {
        bool si;
        double limit;  // in the display unit
        const char* stored;
    };
    for (const Case& c : {Case{true, 24, "240"}, Case{false, 210, "210"}}) {
        SCOPED_TRACE(c.si ? "SI" : "kgf");
        ini_->clear();
        ScriptedUi u;
        ScopedUi scope(u);
        start();
        gSIDisp = c.si;
        gFcUpperLimit = c.limit;
        gAutoRefresh = false;
        gImportDir = "/import/";
        EXPECT_TRUE(w->close());
        EXPECT_TRUE(u.questions.empty());
        EXPECT_EQ(stored("MainLeft"), "1005");
        EXPECT_EQ(stored("MainTop"), "495");
        EXPECT_EQ(stored("MainWidth"), "12840");
        EXPECT_EQ(stored("MainHeight"), "10905");
        EXPECT_EQ(stored("NTFlag"), "True");
        EXPECT_EQ(stored("RefleshFlag"), "False");
        EXPECT_EQ(stored("DataPath"), QString::fromStdString(KV_SAMPLE_DIR));
        EXPECT_EQ(stored("ImportDataPath"), "/import/");
        EXPECT_EQ(stored("KvV"), QString::number(gKvSeries));
        EXPECT_EQ(stored("DispSIFlag"), c.si ? "True" : "False");
        EXPECT_EQ(stored("FcUpperLimit"), c.stored);
        EXPECT_EQ(stored("DataFilePath"), QString::fromStdString(gDataFilePath));
        EXPECT_EQ(stored("DataFileName"), QString::fromStdString(gDataFileName));
        // The window's objects and the program-wide ones are released.
        EXPECT_FALSE(w->mobjFlexInput1);
        EXPECT_FALSE(w->mobjEditBox);
        EXPECT_FALSE(gzDLGetSys);
        EXPECT_FALSE(gzDLFile);
        w.reset();
    }
}

TEST_F(Lifecycle, ChangedUntitledProjectAsksToRegisterUntilNamedOrDeclined)
{
    ScriptedUi u;
    ScopedUi scope(u);
    start();
    gDataChanged = true;
    // Yes, then the name dialog is cancelled: asked again; No closes unsaved.
    u.answers = {Answer::Yes, Answer::No};
    EXPECT_TRUE(w->close());
    ASSERT_EQ(u.questions.size(), 2u);
    EXPECT_EQ(u.questions[0], kAskRegister);
    EXPECT_EQ(u.questions[1], kAskRegister);
    EXPECT_EQ(u.questionDefaults[0], Answer::Yes);
    EXPECT_EQ(u.fileRequests.size(), 1u);
    EXPECT_EQ(stored("MainWidth"), "12840");
}

TEST_F(Lifecycle, ChangedUntitledProjectSavedUnderANameCloses)
{
    ScriptedUi u;
    ScopedUi scope(u);
    start();
    gDataChanged = true;
    u.answers = {Answer::Yes};
    u.files = {path("named.kud")};
    EXPECT_TRUE(w->close());
    EXPECT_EQ(u.questions.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(path("named.kud")));
    EXPECT_EQ(stored("DataPath"), QString::fromStdString(dir_.string() + "/"));
}

TEST_F(Lifecycle, NamedProjectWhoseWriteFailsIsAskedAgainAndStaysOpen)
{
    ScriptedUi u;
    ScopedUi scope(u);
    start();
    // A folder that is a file: no write can succeed, whoever runs the test.
    std::ofstream(path("blocker")) << "x";
    gFileDir = path("blocker") + "/";
    gFileName = "held.kud";
    gDataChanged = true;
    store({{"MainLeft", "7"}});
    const QByteArray before = iniBytes();
    u.answers = {Answer::Yes, Answer::Cancel};
    EXPECT_FALSE(w->close());
    ASSERT_EQ(u.questions.size(), 2u);
    EXPECT_EQ(u.questions[0], kAskOverwrite);
    EXPECT_EQ(u.questions[1], kAskOverwrite);
    EXPECT_EQ(u.messages.size(), 1u);  // the save error
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(gDataChanged);
    EXPECT_TRUE(w->mobjFlexInput1);
    EXPECT_EQ(iniBytes(), before);
}

TEST_F(Lifecycle, NamedProjectYesWritesTheFileAndCloses)
{
    ScriptedUi u;
    ScopedUi scope(u);
    start();
    gFileDir = dir_.string() + "/";
    gFileName = "Kept.KUD";
    gDataChanged = true;
    u.answers = {Answer::Yes};
    EXPECT_TRUE(w->close());
    EXPECT_EQ(u.questions.size(), 1u);
    EXPECT_EQ(u.questions[0], kAskOverwrite);
    EXPECT_TRUE(std::filesystem::exists(path("Kept.KUD")));
}

TEST_F(Lifecycle, CancelKeepsTheWindowAndTheStore)
{
    ScriptedUi u;
    ScopedUi scope(u);
    start();
    gDataChanged = true;
    store({{"MainLeft", "7"}});
    const QByteArray before = iniBytes();
    u.answers = {Answer::Cancel};
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(gDataChanged);
    EXPECT_EQ(iniBytes(), before);
    EXPECT_TRUE(gzDLGetSys);
}

TEST_F(Lifecycle, ClosingEndsTheOtherWindowsToo)
{
    start();
    QWidget other;
    other.show();
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(other.isVisible());
}

TEST_F(Lifecycle, MinimisedWindowWritesNothing)
{
    ScriptedUi u;
    ScopedUi scope(u);
    start();
    w->showMinimized();
    QApplication::processEvents();
    ASSERT_TRUE(w->isMinimized());
    EXPECT_TRUE(w->close());
    EXPECT_EQ(iniBytes(), QByteArray());
}

}  // namespace

namespace {

TEST_F(Lifecycle, Screenshots)
{
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    start();
    ASSERT_TRUE(w->grab().save(QString(KV_TEST_OUT_DIR) + "/main_window_s.png"));

    // Ultimate stresses by hand: the table shows the typed values, not
    // those derived from the seismic ones.
    gCond.UltCalcMode = 1;
    ColumnDataTbl& col = gColumns(gCurCol);
    for (int load : {15, 16, 17, 18}) {
        col.LoadTbl(1, load) = col.LoadTbl(4, load) = (200 + 10 * load) / gUnitFactor;
        col.LoadTbl(2, load) = col.LoadTbl(5, load) = (40 + load) / gUnitFactor;
        col.LoadTbl(3, load) = col.LoadTbl(6, load) = (15 + load) / gUnitFactor;
    }
    w->refleshTable();
    EXPECT_EQ(w->grdView1->TextMatrix(4, 12), "350.00");
    EXPECT_EQ(w->grdView1->TextMatrix(5, 12), "55.00");
    ASSERT_TRUE(w->grab().save(QString(KV_TEST_OUT_DIR) + "/main_window_manual.png"));
}

// Four- and five-digit and negative values in every block of the table, in
// both directions, entered by hand for the short-term and ultimate totals.
TEST_F(Lifecycle, ScreenshotWithLargeValues)
{
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    start();
    const auto fill = [] {
        gCond.SymmetryX = gCond.SymmetryY = kFalse;
        gCond.ShortCalcMode = 1;
        gCond.UltCalcMode = 1;
        ColumnDataTbl& col = gColumns(gCurCol);
        const double n[] = {1305, -1305, 12345.67, -99999.99};
        const double m[] = {-120, 4567.8, -25000, 99999.99};
        const double q[] = {195, -1234.5, 54321, -195};
        for (int load = 1; load <= 20; ++load) {
            const int k = load % 4;
            col.LoadTbl(1, load) = n[k] / gUnitFactor;
            col.LoadTbl(4, load) = n[(k + 1) % 4] / gUnitFactor;
            col.LoadTbl(2, load) = m[k] / gUnitFactor;
            col.LoadTbl(5, load) = m[(k + 2) % 4] / gUnitFactor;
            col.LoadTbl(3, load) = q[k] / gUnitFactor;
            col.LoadTbl(6, load) = q[(k + 3) % 4] / gUnitFactor;
        }
        // A name as long as its field, six-digit moduli and two-digit bar counts.
        col.ColName = "1階通り芯A-1柱脚長い名前テスト0123456789長い名前テスト0123456789ABC";
        if (gCond.SMode != kFalse) {
            col.ColXYDiffer = kTrue;
            col.ColSpecUser(0) = 45.32;
            for (long k = 1; k <= 4; ++k) col.ColSpecUser(k) = 123456.7 + k;
        } else {
            col.RtN(0) = 12;
            col.RtN(1) = 10;
        }
    };
    fill();
    w->msub_ShowProject();
    QApplication::processEvents();
    EXPECT_EQ(w->grdView1->TextMatrix(4, 2), "-1305.00");
    ASSERT_TRUE(w->grab().save(QString(KV_TEST_OUT_DIR) + "/main_window_large_values.png"));

    // An SRC column: four-digit capacities and a long section text.
    gDataChanged = false;
    w->optStruc[1]->setChecked(true);
    ASSERT_EQ(gCond.SMode, kFalse);
    fill();
    w->msub_ShowProject();
    QApplication::processEvents();
    ASSERT_TRUE(w->grab().save(QString(KV_TEST_OUT_DIR) + "/main_window_large_values_src.png"));
    gDataChanged = false;
}

TEST_F(Lifecycle, ScreenshotsOfTheDrawingBox)
{
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    start();
    // A second column with different X and Y, so that both diagrams differ.
    w->msub_AddColumn(1);
    gColumns(2).ColName = "2C1";
    gColumns(2).LoadTbl(2, 1) = 3;
    gColumns(2).LoadTbl(5, 1) = 1;
    gColumns(2).ColXYDiffer = kTrue;
    w->msub_SelectListRow(1);
    w->msub_SelectListRow(2);
    const auto shot = [&](const char* name) {
        QApplication::processEvents();
        ASSERT_TRUE(w->grab().save(QString(KV_TEST_OUT_DIR) + "/" + name));
    };
    w->mnuDispNMY_Click();
    shot("main_window_s_nm_y.png");
    w->mnuDrawKV_Click();
    shot("main_window_s_base.png");
    w->mnuDrawRCCol_Click();
    shot("main_window_s_rc.png");
    w->mnuDispNMX_Click();
    shot("main_window_s_nm_x.png");

    gDataChanged = false;
    gCond.SMode = kFalse;
    gCond.ColCount = 1;
    gColumns.redim(1);
    gKvBase.redim(1);
    gResults.redim(1);
    gColumns(1) = gColumnDefaultSrc;
    gKvBase(1).AbNum = gColumns(1).AbNum;
    LoadKvBaseData(gColumns(1).KolvanID, gColumns(1).AbNum, gKvBase(1));
    RebuildColumnRebar();
    w->msub_ShowProject();
    shot("main_window_src_nm_x.png");
    w->mnuDrawKV_Click();
    shot("main_window_src_base.png");
    gDispMode = 0;
    gDataChanged = false;
}

TEST_F(Lifecycle, ScreenshotsOfTheConditions)
{
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    start();
    // From route 2, whose γ label stays shown under the wider SRC list.
    w->cmbDRoot->setCurrentIndex(2);
    gDataChanged = false;
    w->optStruc[1]->setChecked(true);
    QApplication::processEvents();
    ASSERT_EQ(gCond.SMode, kFalse);
    ASSERT_TRUE(w->grab().save(QString(KV_TEST_OUT_DIR) + "/main_window_src_switched.png"));
    w->optStruc[0]->setChecked(true);
    w->cmbSCondition->setCurrentIndex(2);
    QApplication::processEvents();
    ASSERT_TRUE(w->grab().save(QString(KV_TEST_OUT_DIR) + "/main_window_snow.png"));
    gDataChanged = false;
}

}  // namespace
