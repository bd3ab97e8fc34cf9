#include "model/startup.h"

#include "engine/kv.h"
#include "model/globals.h"

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace model;
namespace fs = std::filesystem;

namespace {

fs::path TempDir(const char* tag)
{
    const fs::path d = fs::temp_directory_path() / (std::string("kv_") + tag + "_" + std::to_string(::getpid()));
    fs::remove_all(d);
    fs::create_directories(d);
    return d;
}

}  // namespace

TEST(StartupSettingsTest, DefaultsAndUnusableValues)
{
    const fs::path dir = TempDir("settings");
    QSettings s(QString::fromStdString((dir / "a.ini").string()), QSettings::IniFormat);
    StartupSettings r = ReadStartupSettings(s, "/opt/prog");
    EXPECT_EQ(r.kvSeries, 1);
    EXPECT_TRUE(r.siDisp);
    EXPECT_EQ(r.dataFilePath, "/opt/prog");
    EXPECT_EQ(r.dataFileName, "\\data.mdb");
    EXPECT_EQ(r.fcUpperLimit, 240);

    struct Case {
        const char* kvv;
        const char* si;
        const char* fc;
        int16_t series;
        bool siDisp;
        double fcLimit;
    };
    const Case cases[] = {
        {"0", "False", "300", 0, false, 300}, {"6", "true", "240", 6, true, 240},  {"4", "-1", "180.5", 4, true, 180.5},
        {"2", "0", "x", 1, false, 240},       {"abc", "maybe", "", 1, true, 240}, {"99", "TRUE", "1e400", 1, true, 240},
        // Out of a double's range, or a limit every strength would be cut to.
        {"1", "1e400", "0", 1, true, 240},    {"1", "-1e400", "-5", 1, true, 240},
        {"1", "&HFFFFFFFFFFFF", "-1e400", 1, true, 240}, {"1", "False", "1e-3", 1, false, 1e-3},
    };
    for (const Case& c : cases) {
        s.beginGroup("Settings");
        s.setValue("KvV", c.kvv);
        s.setValue("DispSIFlag", c.si);
        s.setValue("FcUpperLimit", c.fc);
        s.endGroup();
        r = ReadStartupSettings(s, "/opt/prog");
        EXPECT_EQ(r.kvSeries, c.series) << c.kvv;
        EXPECT_EQ(r.siDisp, c.siDisp) << c.si;
        EXPECT_EQ(r.fcUpperLimit, c.fcLimit) << c.fc;
    }
    fs::remove_all(dir);
}

TEST(StartupSettingsTest, BlankCatalogueNameOrFolderTakesTheDefault)
{
    const fs::path dir = TempDir("catalogue");
    QSettings s(QString::fromStdString((dir / "c.ini").string()), QSettings::IniFormat);
    struct Case {
        const char* path;
        const char* name;
        const char* wantPath;
        const char* wantName;
    };
    const Case cases[] = {
        {"", "", "/opt/prog", "\\data.mdb"},
        {"  ", "\\cat.mdb", "/opt/prog", "\\cat.mdb"},
        {"/srv/db", "", "/srv/db", "\\data.mdb"},
    };
    for (const Case& c : cases) {
        s.setValue("Settings/DataFilePath", c.path);
        s.setValue("Settings/DataFileName", c.name);
        const StartupSettings r = ReadStartupSettings(s, "/opt/prog");
        EXPECT_EQ(r.dataFilePath, c.wantPath) << c.path;
        EXPECT_EQ(r.dataFileName, c.wantName) << c.name;
    }
    fs::remove_all(dir);
}

TEST(StartupSettingsTest, FcUpperLimitIsStoredInKgfAndShownInTheDisplayUnit)
{
    const double savedLimit = gFcUpperLimit;
    const bool savedSI = gSIDisp;
    StartupSettings st;
    st.fcUpperLimit = 240;
    st.siDisp = true;
    ApplyStartupSettings(st);
    EXPECT_EQ(gFcUpperLimit, 24);
    st.siDisp = false;
    ApplyStartupSettings(st);
    EXPECT_EQ(gFcUpperLimit, 240);

    const fs::path dir = TempDir("write");
    QSettings s(QString::fromStdString((dir / "b.ini").string()), QSettings::IniFormat);
    gSIDisp = true;
    gFcUpperLimit = 27;
    gDataFileName = "\\cat.mdb";
    WriteStartupSettings(s);
    const StartupSettings back = ReadStartupSettings(s, "/x");
    EXPECT_EQ(back.fcUpperLimit, 270);
    EXPECT_TRUE(back.siDisp);
    EXPECT_EQ(back.dataFileName, "\\cat.mdb");
    EXPECT_EQ(s.value("Settings/DispSIFlag").toString().toStdString(), "True");
    fs::remove_all(dir);
    gFcUpperLimit = savedLimit;
    gSIDisp = savedSI;
}

TEST(StartupCommandLine, Split)
{
    struct Case {
        const char* line;
        const char* dir;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\data\\p.kud", "C:\\data\\", "p.kud"},
        {"/home/u/p q.kud", "/home/u/", "p q.kud"},
        {"p.kud", "", "p.kud"},
        {"C:\\data\\", "C:\\data\\", ""},
        {"\"/home/u/my p.kud\"", "/home/u/", "my p.kud"},
    };
    for (const Case& c : cases) {
        std::string dir = "old", name = "old";
        SplitCommandLine(c.line, dir, name);
        EXPECT_EQ(dir, c.dir) << c.line;
        EXPECT_EQ(name, c.name) << c.line;
    }
}

class InitDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gDataFilePath = KV_SAMPLE_DIR;
        gDataFileName = "\\data.mdb";
        gKv = std::make_unique<kv::KV>(KV_SAMPLE_DIR);
        program = TempDir("program");
    }
    void TearDown() override
    {
        gKv.reset();
        fs::remove_all(program);
    }
    fs::path program;
};

TEST_F(InitDefaultsTest, TemplatesByDisplayUnit)
{
    struct Case {
        bool si;
        double fc, fcSrc, slabFc, srcFc, unit;
    };
    for (const Case& c : {Case{false, 210, 240, 180, 240, 1.0}, Case{true, 21, 24, 18, 24, 9.80665}}) {
        gSIDisp = c.si;
        gKvSeries = 1;
        InitDefaults(program.string());
        EXPECT_EQ(gCondDefault.Fc, c.fc);
        EXPECT_EQ(gCondDefault.FcSrc, c.fcSrc);
        EXPECT_EQ(gColumnDefault.Fc, c.fc);
        EXPECT_EQ(gColumnDefault.SlabFc, c.slabFc);
        EXPECT_EQ(gColumnDefaultSrc.Fc, c.srcFc);
        EXPECT_EQ(gUnitFactor, c.unit);
        EXPECT_EQ(gKv->SIFlag(), c.si);
        EXPECT_EQ(gFileName, "untitled.kud");
    }
}

TEST_F(InitDefaultsTest, TemplateModelBySeriesAndItsSlabGeometry)
{
    gSIDisp = true;
    struct Case {
        int16_t series;
        int32_t id;
        int16_t kvv;
    };
    for (const Case& c : {Case{0, 100100, 2}, Case{1, 150310, 4}, Case{4, 150310, 4}, Case{6, 150310, 4}}) {
        gKvSeries = c.series;
        InitDefaults(program.string());
        EXPECT_EQ(gColumnDefault.KolvanID, c.id);
        EXPECT_EQ(gColumnDefault.KvV, c.kvv);
        EXPECT_EQ(gColumnDefaultSrc.KolvanID, 1000500);
        EXPECT_EQ(gColumnDefaultSrc.KvV, c.kvv);
        EXPECT_EQ(gKvBaseDefault.ID, c.id);
        EXPECT_EQ(gCond.SMode, kTrue);
        // The SRC template was copied before the base filled the slab values.
        EXPECT_EQ(gColumnDefaultSrc.SlabQ_d2, 200);
        EXPECT_EQ(gColumnDefaultSrc.SlabQ_B1X, 0);
    }
    // Series 4: d2 is the base's L_C.
    EXPECT_EQ(gColumnDefault.SlabQ_d2, gKvBaseDefault.L_C);
    EXPECT_EQ(gColumnDefault.RBarMat.value(), std::string(8, '\0'));
    EXPECT_EQ(gColumnDefault.RBarVal.value(), "16  ");
}

TEST_F(InitDefaultsTest, LLumoEntryFileOrFolder)
{
    gSIDisp = true;
    gKvSeries = 1;
    InitDefaults(program.string());
    EXPECT_FALSE(gShowDispF2);
    std::ofstream(program / "LLumo") << "";
    InitDefaults(program.string());
    EXPECT_TRUE(gShowDispF2);
    fs::remove(program / "LLumo");
    fs::create_directory(program / "LLumo");
    InitDefaults(program.string());
    EXPECT_TRUE(gShowDispF2);
    EXPECT_TRUE(gNMCurveShow(0));
    EXPECT_FALSE(gNMCurveShow(2));
    EXPECT_EQ(gDispMode, 0);
    EXPECT_EQ(gKv->DataFileName(), "\\data.mdb");
}
