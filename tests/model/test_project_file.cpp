#include "model/project_file.h"

#include "catalogue_globals.h"
#include "engine/kv.h"
#include "model/globals.h"
#include "model/stress.h"
#include "tests/model/file_size_limit.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <fstream>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace model;
namespace fs = std::filesystem;

namespace {

// File bytes laid down at the documented offsets, independent of the codec.
class Bytes {
public:
    explicit Bytes(std::size_t n) : b(n, '\0') {}
    Bytes& i16(std::size_t at, int16_t v) { return put(at, &v, 2); }
    Bytes& i32(std::size_t at, int32_t v) { return put(at, &v, 4); }
    Bytes& f64(std::size_t at, double v) { return put(at, &v, 8); }
    // Blank-padded CP932 bytes (ASCII here, or bytes given as they are).
    Bytes& text(std::size_t at, std::size_t n, std::string_view s)
    {
        std::string t(s.substr(0, n));
        t.resize(n, ' ');
        return put(at, t.data(), n);
    }
    std::string b;

private:
    Bytes& put(std::size_t at, const void* p, std::size_t n)
    {
        std::memcpy(b.data() + at, p, n);
        return *this;
    }
};

int16_t I16At(const std::string& b, std::size_t at)
{
    int16_t v;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}
int32_t I32At(const std::string& b, std::size_t at)
{
    int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
double F64At(const std::string& b, std::size_t at)
{
    double v;
    std::memcpy(&v, b.data() + at, 8);
    return v;
}

}  // namespace

TEST(ProjectRecordLayout, SizesAndOffsets)
{
    ProjectCondTbl c;
    c.ColCount = 3;
    c.Bukken = "B";
    c.Fc = 21;
    c.Version = "Version 5.06";
    c.GFactor = 9.80665;
    c.SMode = kTrue;
    c.BukkenDate = 45000;
    c.ImportDir = "dir";
    c.ImportFile = "f";
    c.DesignRootX = 12;
    c.DesignRootY = 21;
    c.GammaY = 1.5;
    c.FcSrc = 24;
    c.UltMQMode = kTrue;
    c.BrBeta1 = 0.5;
    c.BrBeta2 = 0.75;
    c.Reserve(1) = 7;
    c.Reserve(1015) = 8;
    const std::string b = EncodeProjectRecord(c);
    ASSERT_EQ(b.size(), kProjectRecordSize);
    EXPECT_EQ(I16At(b, 0), 3);
    EXPECT_EQ(b.substr(2, 50), "B" + std::string(49, ' '));
    EXPECT_EQ(F64At(b, 64), 21);
    EXPECT_EQ(b.substr(72, 12), "Version 5.06");
    EXPECT_EQ(F64At(b, 122), 9.80665);
    EXPECT_EQ(I16At(b, 134), -1);
    EXPECT_EQ(b.substr(136, 50), std::string(50, '\0'));  // never assigned: NULs
    EXPECT_EQ(F64At(b, 236), 45000);
    EXPECT_EQ(b.substr(244, 3), "dir");
    EXPECT_EQ(b.substr(394, 1), "f");
    EXPECT_EQ(I16At(b, 494), 12);
    EXPECT_EQ(I16At(b, 496), 21);
    EXPECT_EQ(F64At(b, 498), 1.5);
    EXPECT_EQ(F64At(b, 528), 24);
    EXPECT_EQ(I16At(b, 544), -1);
    EXPECT_EQ(F64At(b, 546), 0.5);
    EXPECT_EQ(F64At(b, 554), 0.75);
    EXPECT_EQ(I16At(b, 562), 7);
    EXPECT_EQ(I16At(b, 2590), 8);
}

TEST(ColumnRecordLayout, SizesAndOffsetsFirstIndexFastest)
{
    ColumnDataTbl c;
    c.ColName = "C1";
    c.KolvanID = 150310;
    c.ColV = 2;
    c.ColID = 501;
    c.HDim(1) = 400;
    c.ColMatCode = 9;
    c.ColF = 2.4;
    c.ColSpec(0) = 83.37;
    c.ColSpecUser(4) = 266;
    c.ColXYDiffer = kTrue;
    c.SrcColSpec(1, 0) = 5;
    c.SrcColSpec(0, 1) = 6;
    c.RBarMat = "SD345";
    c.RBarVal = "D22";
    c.RtN(1) = 4;
    c.rD(0) = 769;
    c.SrcHDim(1, 1) = 11;
    c.SrcHDim(0, 2) = 12;
    c.SrcDim5(1) = 13;
    c.cD(0) = 900;
    c.cD2(1) = 14;
    c.RTabane(1) = 1;
    c.BPLen = 15;
    c.LoadTbl(2, 1) = 16;
    c.LoadTbl(1, 2) = 17;
    c.LoadTbl(8, 20) = 18;
    c.AxisYNo = 3;
    c.AxisXName = "X1";
    c.Fc = 21;
    c.CSizeKind = "A";
    c.CSizeVal6 = 19;
    c.LumoQuCond(1, 1) = 2;
    c.LumoQuCond(0, 2) = 1;
    c.RebarZone(1, 2) = 2;
    c.HoopSize = "13";
    c.HoopMat = "SD295";
    c.HoopN(1) = 4;
    c.HoopPitch = 150;
    c.CenColWall(3) = 1;
    c.FShear(2, 0) = 3;
    c.FShear(1, 1) = 2;
    c.SlabFc = 18;
    c.SlabQ_B2Y = 650;
    c.LoadTblBR(1, 1) = 20;
    c.Reserve(318) = 9;
    const std::string b = EncodeColumnRecord(c);
    ASSERT_EQ(b.size(), kColumnRecordSize);
    EXPECT_EQ(b.substr(0, 3), "C1 ");
    EXPECT_EQ(I32At(b, 50), 150310);
    EXPECT_EQ(I16At(b, 62), 2);
    EXPECT_EQ(I32At(b, 80), 501);
    EXPECT_EQ(F64At(b, 84), 400);
    EXPECT_EQ(I16At(b, 116), 9);
    EXPECT_EQ(F64At(b, 118), 2.4);
    EXPECT_EQ(F64At(b, 126), 83.37);
    EXPECT_EQ(F64At(b, 166 + 32), 266);
    EXPECT_EQ(I16At(b, 206), -1);
    EXPECT_EQ(F64At(b, 208 + 8), 5);   // (1, 0)
    EXPECT_EQ(F64At(b, 208 + 16), 6);  // (0, 1)
    EXPECT_EQ(b.substr(272, 8), "SD345   ");
    EXPECT_EQ(b.substr(280, 4), "D22 ");
    EXPECT_EQ(I16At(b, 286), 4);
    EXPECT_EQ(F64At(b, 300), 769);
    EXPECT_EQ(F64At(b, 316 + 8), 11);   // (1, 1)
    EXPECT_EQ(F64At(b, 316 + 16), 12);  // (0, 2)
    EXPECT_EQ(F64At(b, 388), 13);
    EXPECT_EQ(F64At(b, 396), 900);
    EXPECT_EQ(F64At(b, 420), 14);
    EXPECT_EQ(I16At(b, 430), 1);
    EXPECT_EQ(F64At(b, 432), 15);
    EXPECT_EQ(F64At(b, 440 + 8), 16);     // (2, 1)
    EXPECT_EQ(F64At(b, 440 + 64), 17);    // (1, 2)
    EXPECT_EQ(F64At(b, 440 + 1272), 18);  // (8, 20)
    EXPECT_EQ(I16At(b, 1722), 3);
    EXPECT_EQ(b.substr(1724, 10), "X1        ");
    EXPECT_EQ(F64At(b, 1744), 21);
    EXPECT_EQ(b.substr(1752, 4), "A   ");
    EXPECT_EQ(F64At(b, 1756), 19);
    EXPECT_EQ(I16At(b, 1766), 2);  // (1, 1)
    EXPECT_EQ(I16At(b, 1768), 1);  // (0, 2)
    EXPECT_EQ(I16At(b, 1778), 2);  // RebarZone (1, 2)
    EXPECT_EQ(b.substr(1780, 4), "13  ");
    EXPECT_EQ(b.substr(1784, 8), "SD295   ");
    EXPECT_EQ(I16At(b, 1794), 4);
    EXPECT_EQ(F64At(b, 1796), 150);
    EXPECT_EQ(I16At(b, 1810), 1);
    EXPECT_EQ(I16At(b, 1814), 3);       // FShear (2, 0)
    EXPECT_EQ(I16At(b, 1812 + 14), 2);  // FShear (1, 1)
    EXPECT_EQ(F64At(b, 1840), 18);
    EXPECT_EQ(F64At(b, 1888), 650);
    EXPECT_EQ(F64At(b, 1896), 20);
    EXPECT_EQ(I16At(b, 3810), 9);
}

TEST(KvBaseRecordLayout, SizesAndOffsets)
{
    KvBaseTbl k;
    k.ID = 100230;
    k.KvName = "QX350E";
    k.KvV = 1;
    k.KvLen(1, 1) = 460;
    k.KvH = 5;
    k.KvT(2) = 40;
    k.KvWeight = 6;
    k.HenshinE(1) = 50;
    k.AbV = 1;
    k.AbF = 2.4;
    k.AbNum = 2;
    k.AbD = 30;
    k.Kbs(1) = 7;
    k.RotateMode = kTrue;
    k.EXY(0) = 8;
    k.EXYMode(1) = "ab";
    k.KbsSI(0) = 9;
    k.PartsWeight = 10;
    k.L_C = 432.5;
    k.ColSize = 350;
    k.KvLenC_SV(1) = 11;
    k.bb_SV = 12;
    k.Tu(2) = 13;
    k.Reserve(16) = 14;
    const std::string b = EncodeKvBaseRecord(k);
    ASSERT_EQ(b.size(), kKvBaseRecordSize);
    EXPECT_EQ(I32At(b, 0), 100230);
    EXPECT_EQ(b.substr(4, 7), "QX350E ");
    EXPECT_EQ(I16At(b, 54), 1);
    EXPECT_EQ(F64At(b, 56 + 8), 460);  // (1, 1)
    EXPECT_EQ(F64At(b, 152), 5);
    EXPECT_EQ(F64At(b, 168), 40);
    EXPECT_EQ(F64At(b, 192), 6);
    EXPECT_EQ(F64At(b, 208), 50);
    EXPECT_EQ(I16At(b, 216), 1);
    EXPECT_EQ(F64At(b, 220), 2.4);
    EXPECT_EQ(I16At(b, 228), 2);
    EXPECT_EQ(F64At(b, 230), 30);
    EXPECT_EQ(F64At(b, 262), 7);
    EXPECT_EQ(I16At(b, 270), -1);
    EXPECT_EQ(F64At(b, 272), 8);
    EXPECT_EQ(b.substr(293, 5), "ab   ");
    EXPECT_EQ(F64At(b, 298), 9);
    EXPECT_EQ(F64At(b, 314), 10);
    EXPECT_EQ(F64At(b, 458), 432.5);
    EXPECT_EQ(F64At(b, 466), 350);
    EXPECT_EQ(F64At(b, 482), 11);
    EXPECT_EQ(F64At(b, 490), 12);
    EXPECT_EQ(F64At(b, 514), 13);
    EXPECT_EQ(I16At(b, 552), 14);
}

TEST(ProjectCodec, RoundTripKeepsEveryByte)
{
    // Double-byte names (CP932), NUL fields never assigned, negative values.
    ColumnDataTbl c;
    c.ColName = "通り芯Ａ－１ 柱";
    c.AxisXName = "Ⅰ通";
    c.KolvanID = -5;
    c.LoadTbl(3, 7) = -1.25e-7;
    const std::string bc = EncodeColumnRecord(c);
    const ColumnDataTbl back = DecodeColumnRecord(bc);
    EXPECT_EQ(back, c);
    EXPECT_EQ(EncodeColumnRecord(back), bc);
    EXPECT_EQ(back.RBarMat.value(), std::string(8, '\0'));

    // Bytes that did not come from this codec survive too.
    Bytes raw(kProjectRecordSize);
    for (std::size_t i = 0; i < raw.b.size(); ++i) raw.b[i] = static_cast<char>((i * 7) % 0x7F);
    raw.text(2, 50, "\x8c\x9f\x93\xa2");  // 検討 in CP932
    const std::string again = EncodeProjectRecord(DecodeProjectRecord(raw.b));
    EXPECT_EQ(again, raw.b);
}

TEST(ProjectCodec, DoubleByteNamesAreCutAtACharacterBoundary)
{
    struct Case {
        std::string name;
        std::size_t keptChars;
    };
    const Case cases[] = {
        {std::string(25 * 3, '\0'), 25},  // filled below: exactly 50 bytes
        {std::string(30 * 3, '\0'), 25},  // 60 bytes: cut to 25 characters
        {"A" + std::string(25 * 3, '\0'), 25},  // A and 24: the 25th would straddle byte 50
    };
    for (Case c : cases) {
        // "柱" is 3 bytes of UTF-8 and 2 of CP932.
        for (std::size_t i = c.name[0] == 'A' ? 1 : 0; i + 3 <= c.name.size(); i += 3) c.name.replace(i, 3, "柱");
        ColumnDataTbl col;
        col.ColName = c.name;
        const std::string b = EncodeColumnRecord(col);
        ASSERT_EQ(b.size(), kColumnRecordSize);
        const ColumnDataTbl back = DecodeColumnRecord(b);
        const std::string name = back.ColName.value();
        const std::size_t lead = c.name[0] == 'A' ? 1 : 0;
        std::string expected = c.name.substr(0, lead + 3 * (c.keptChars - lead));
        const std::size_t bytes = lead + 2 * (c.keptChars - lead);
        expected.append(50 - bytes, ' ');
        EXPECT_EQ(name.substr(0, expected.size()), expected) << c.keptChars;
        EXPECT_EQ(I32At(b, 50), 0);  // the next field is untouched
    }
}

TEST(StrengthUnitFix, BothDisplays)
{
    struct Case {
        double f;
        bool si;
        double expected;
    };
    const Case cases[] = {{100, true, 100}, {100, false, 100}, {210, true, 21}, {21, true, 21},
                          {24, false, 240}, {240, false, 240}, {100.5, true, 10.05}};
    for (const Case& c : cases) EXPECT_EQ(FixStrengthUnit(c.f, c.si), c.expected) << c.f << " " << c.si;
}

TEST(VersionTable, ExactTextsOnly)
{
    EXPECT_EQ(LayoutOfVersion("Version 5.06"), FileLayout::Current);
    EXPECT_EQ(LayoutOfVersion("Version 5.00"), FileLayout::Current);
    EXPECT_EQ(LayoutOfVersion("Version 4.01"), FileLayout::V4);
    EXPECT_EQ(LayoutOfVersion("Version 3.01"), FileLayout::V3);
    EXPECT_EQ(LayoutOfVersion("Version 2.00"), FileLayout::V3);
    EXPECT_EQ(LayoutOfVersion("version 5.06"), FileLayout::Oldest);
    EXPECT_EQ(LayoutOfVersion("Version 5.07"), FileLayout::Oldest);
    EXPECT_EQ(LayoutOfVersion("C1"), FileLayout::Oldest);
}

class ProjectRead : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedSI = gSIDisp;
        savedCondDefault = gCondDefault;
        savedSrc = gColumnDefaultSrc;
        gSIDisp = true;
        gCondDefault = MakeCondDefault(true, 44000, "", "");
        gColumnDefaultSrc = MakeColumnDefaultSrc(MakeColumnDefault(1, true, 21), true);
        engine = std::make_unique<kv::KV>(KV_SAMPLE_DIR);
    }
    void TearDown() override
    {
        gSIDisp = savedSI;
        gCondDefault = savedCondDefault;
        gColumnDefaultSrc = savedSrc;
    }

    // A current-layout file of `n` columns with the given version text.
    static Bytes CurrentFile(std::string_view version, int16_t n)
    {
        Bytes f(kProjectRecordSize + n * (kColumnRecordSize + kKvBaseRecordSize));
        f.i16(0, n).text(72, 50, version).f64(122, 9.80665).i16(134, -1);
        for (int16_t i = 0; i < n; ++i) {
            const std::size_t at = kProjectRecordSize + i * (kColumnRecordSize + kKvBaseRecordSize);
            f.text(at, 50, "C" + std::to_string(i + 1)).i32(at + 50, 150310).i16(at + 54, 4).i16(at + 56, 1);
            f.f64(at + 1744, 210).f64(at + 1840, 24).f64(at + 1896, 3.5);
            f.i32(at + kColumnRecordSize, 150310);
        }
        return f;
    }

    modeltest::CatalogueGlobals globals;
    std::unique_ptr<kv::KV> engine;
    bool savedSI = false;
    ProjectCondTbl savedCondDefault;
    ColumnDataTbl savedSrc;
};

TEST_F(ProjectRead, CurrentVersionWithUnitFixAndTail)
{
    Bytes f = CurrentFile("  Version 5.06 ", 2);
    f.f64(236, 43000);
    f.b += std::string(5000, 'x');  // left over from a longer file
    ProjectFileData p = ReadProjectBytes(f.b, 99999, *engine);
    EXPECT_EQ(p.layout, FileLayout::Current);
    EXPECT_EQ(p.shortVersion, "5.06");
    EXPECT_EQ(p.cond.ColCount, 2);
    EXPECT_EQ(p.cond.BukkenDate, 43000);  // the stored date, not the file's
    EXPECT_EQ(p.columns.ubound(), 2);
    EXPECT_EQ(p.columns(2).ColName.value().substr(0, 3), "C2 ");
    EXPECT_EQ(p.columns(1).Fc, 21);
    EXPECT_EQ(p.columns(1).SlabFc, 24);
    EXPECT_EQ(p.columns(1).LoadTblBR(1, 1), 3.5);
    EXPECT_EQ(p.kvBase(1).ID, 150310);

    gSIDisp = false;
    p = ReadProjectBytes(f.b, 0, *engine);
    EXPECT_EQ(p.columns(1).Fc, 210);
    EXPECT_EQ(p.columns(1).SlabFc, 240);
}

TEST_F(ProjectRead, Version500Adjustments)
{
    Bytes f = CurrentFile("Version 5.00", 1);
    const std::size_t at = kProjectRecordSize;
    f.i16(at + 1764 + 4, 1).i16(at + 1764 + 6, 2);  // LumoQuCond (0,2) 1, (1,2) 2
    f.i16(at + 1764, 5).i16(at + 1764 + 2, 5);
    f.i16(at + 1792 + 2, 1);                          // HoopN(1) 1
    f.i16(at + 1804, 1).i16(at + 1812, 3);            // CenColWall(0), FShear(1,0)
    const ProjectFileData p = ReadProjectBytes(f.b, 0, *engine);
    const ColumnDataTbl& c = p.columns(1);
    EXPECT_EQ(c.LumoQuCond(0, 1), -1);
    EXPECT_EQ(c.LumoQuCond(1, 1), 0);
    EXPECT_EQ(c.RebarZone(0, 1), 2);
    EXPECT_EQ(c.HoopSize.value(), "13  ");
    EXPECT_EQ(c.HoopMat.value(), "SD295   ");
    EXPECT_EQ(c.HoopN(0), -1);
    EXPECT_EQ(c.HoopPitch, 150);
    EXPECT_EQ(c.CenColWall(0), 0);
    EXPECT_EQ(c.FShear(1, 0), 0);
    EXPECT_EQ(c.SlabFc, 18);
    // Series 4: the catalogue's slab geometry and base sizes.
    engine->setKolvanID(150310);
    engine->setAbNum(1);
    EXPECT_EQ(p.kvBase(1).L1, engine->KvData().L1);
    EXPECT_EQ(c.SlabQ_d2, p.kvBase(1).L_C);
}

TEST_F(ProjectRead, Version501To503Adjustments)
{
    const std::size_t at = kProjectRecordSize;
    Bytes f2 = CurrentFile("Version 5.02", 1);
    f2.i16(at + 1804, 1).i16(at + 1812, 3);
    ProjectFileData p = ReadProjectBytes(f2.b, 0, *engine);
    EXPECT_EQ(p.columns(1).SlabFc, 18);
    EXPECT_EQ(p.columns(1).CenColWall(0), 1);  // kept by 5.02
    EXPECT_EQ(p.columns(1).FShear(1, 0), 0);
    gSIDisp = false;
    p = ReadProjectBytes(f2.b, 0, *engine);
    EXPECT_EQ(p.columns(1).SlabFc, 180);
    gSIDisp = true;

    Bytes f1 = CurrentFile("Version 5.01", 1);
    f1.i16(at + 1804, 1);
    p = ReadProjectBytes(f1.b, 0, *engine);
    EXPECT_EQ(p.columns(1).CenColWall(0), 0);

    Bytes f3 = CurrentFile("Version 5.03", 1);
    f3.f64(at + 1840, 12).i16(at + 1812, 3);
    p = ReadProjectBytes(f3.b, 0, *engine);
    EXPECT_EQ(p.columns(1).SlabFc, 18);     // raised to 18 before the unit fix
    EXPECT_EQ(p.columns(1).FShear(1, 0), 3);  // 5.03 keeps the shear flags
}

TEST_F(ProjectRead, Version4xKeepsTheTemplateSteelArea)
{
    const std::size_t colSize = kV4ColumnRecordSize;
    Bytes f(kV2ProjectRecordSize + colSize + kKvBaseRecordSize);
    f.i16(0, 1).text(2, 50, "Old").i16(54, 1).f64(56, 1.25).f64(64, 240);
    f.text(72, 50, "Version 4.02").f64(122, 9.8).i16(130, 8).i16(132, -1).i16(134, 0);
    const std::size_t at = kV2ProjectRecordSize;
    f.text(at, 50, "A1").i32(at + 50, 1000500).i16(at + 56, 1).i16(at + 62, 3).i16(at + 782, -1);
    for (int k = 0; k < 8; ++k) f.f64(at + 1060 + 8 * k, 100 + k);  // SrcColSpec, first index fastest
    f.text(at + 1124, 8, "SD390").text(at + 1132, 4, "D25").i16(at + 1140, 6).f64(at + 1248, 850);
    f.f64(at + 206, 11);  // old load table (1, 1)
    f.i32(at + colSize, 1000500).f64(at + colSize + 230, 36);

    const ProjectFileData p = ReadProjectBytes(f.b, 45123, *engine);
    EXPECT_EQ(p.layout, FileLayout::V4);
    EXPECT_EQ(p.cond.SMode, 0);
    EXPECT_EQ(p.cond.DevNum, 8);
    EXPECT_EQ(p.cond.UltJadge, -1);
    EXPECT_EQ(p.cond.GFactor, 9.8);
    EXPECT_EQ(p.cond.DesignRootX, 3);
    EXPECT_EQ(p.cond.DesignRootY, 3);
    EXPECT_EQ(p.cond.GammaY, 1.25);
    EXPECT_EQ(p.cond.ShortCalcMode, 0);
    EXPECT_EQ(p.cond.Fc, 24);
    EXPECT_EQ(p.cond.BukkenDate, 45123);
    EXPECT_EQ(p.cond.Version, gCondDefault.Version);
    const ColumnDataTbl& c = p.columns(1);
    EXPECT_EQ(c.SrcColSpec(0, 0), gColumnDefaultSrc.SrcColSpec(0, 0));
    EXPECT_EQ(c.SrcColSpec(1, 0), gColumnDefaultSrc.SrcColSpec(1, 0));
    EXPECT_EQ(c.SrcColSpec(0, 1), 102);
    EXPECT_EQ(c.SrcColSpec(1, 3), 107);
    EXPECT_EQ(c.RBarMat.value(), "SD390   ");
    EXPECT_EQ(c.RmN(0), 6);
    EXPECT_EQ(c.cD(0), 850);
    EXPECT_EQ(c.ColXYDiffer, -1);
    EXPECT_EQ(c.Fc, 24);
    OldStressTable old{};
    old(1, 1) = 11;
    LoadTable expected = gColumnDefaultSrc.LoadTbl;
    MapImportedStresses(expected, old);
    EXPECT_EQ(c.LoadTbl, expected);
    EXPECT_EQ(p.kvBase(1).AbD, 36);
}

TEST_F(ProjectRead, Versions2And3)
{
    struct Case {
        const char* version;
        int16_t devNum, ultJadge;
    };
    for (const Case& v : {Case{"Version 3.01", 7, -1}, Case{"Version 3.00", 6, 0}, Case{"Version 2.00", 6, 0}}) {
        Bytes f(kV2ProjectRecordSize + kV3ColumnRecordSize + kKvBaseRecordSize);
        f.i16(0, 1).i16(54, 0).f64(64, 21).text(72, 50, v.version).f64(122, 9.7).i16(130, 7).i16(132, -1).i16(134, 0);
        f.text(kV2ProjectRecordSize, 50, "B2").i16(kV2ProjectRecordSize + 56, 1).i16(kV2ProjectRecordSize + 62, 1);
        const ProjectFileData p = ReadProjectBytes(f.b, 1, *engine);
        EXPECT_EQ(p.layout, FileLayout::V3) << v.version;
        EXPECT_EQ(p.cond.SMode, -1) << v.version;
        EXPECT_EQ(p.cond.DevNum, v.devNum) << v.version;
        EXPECT_EQ(p.cond.UltJadge, v.ultJadge) << v.version;
        EXPECT_EQ(p.cond.GFactor, 9.7) << v.version;
        EXPECT_EQ(p.cond.DesignRootX, 2) << v.version;
        EXPECT_EQ(p.columns(1).RBarVal, gColumnDefaultSrc.RBarVal);  // template, not the file
        EXPECT_EQ(p.columns(1).ColV, 1);
    }
}

TEST_F(ProjectRead, OldestLayoutWhateverTheFirstName)
{
    // The first column's name sits where later files keep the version.
    for (const char* name : {"C1", "Version 5.06x", "X9.99"}) {
        Bytes f(kOldProjectRecordSize + 2 * (kOldColumnRecordSize + kOldKvBaseRecordSize));
        f.i16(0, 2).text(2, 50, "Oldest").i16(52, 1).i16(54, 1).f64(56, 1.1).f64(64, 180);
        f.text(72, 50, name).i32(72 + 50, 110110).i16(72 + 56, 1).i16(72 + 782, -1);
        f.i16(72 + kOldColumnRecordSize + kOldKvBaseRecordSize + 56, 1);
        f.f64(72 + 206 + 8 * 6, 4.5);  // old table (1, 2)
        const std::size_t base1 = 72 + kOldColumnRecordSize;
        f.i32(base1, 110110).text(base1 + 4, 50, "KC200A").text(base1 + 288, 5, "xy");
        const ProjectFileData p = ReadProjectBytes(f.b, 40000, *engine);
        EXPECT_EQ(p.layout, FileLayout::Oldest) << name;
        EXPECT_EQ(p.shortVersion, "") << name;
        EXPECT_EQ(p.cond.ColCount, 2);
        EXPECT_EQ(p.cond.BukkenDate, 40000);
        EXPECT_EQ(p.cond.ShortCalcMode, 1);
        EXPECT_EQ(p.cond.Fc, 18);
        EXPECT_EQ(p.cond.DesignRootX, gCondDefault.DesignRootX);
        EXPECT_EQ(p.columns(1).KolvanID, 110110);
        EXPECT_EQ(p.columns(1).ColXYDiffer, -1);
        EXPECT_EQ(p.columns(1).Fc, 18);
        EXPECT_EQ(p.kvBase(1).KvName.value().substr(0, 7), "KC200A ");
        EXPECT_EQ(p.kvBase(1).EXYMode(0).value(), "xy   ");
        EXPECT_EQ(p.kvBase(1).KbsSI(0), 0);
        OldStressTable old{};
        old(1, 2) = 4.5;
        LoadTable expected = gColumnDefaultSrc.LoadTbl;
        MapImportedStresses(expected, old);
        EXPECT_EQ(p.columns(1).LoadTbl, expected);
    }
}

TEST_F(ProjectRead, BadFilesAreRefused)
{
    const std::string good = CurrentFile("Version 5.06", 3).b;
    struct Case {
        const char* what;
        std::string bytes;
    };
    Bytes zero = CurrentFile("Version 5.06", 1);
    zero.i16(0, 0);
    Bytes negative = CurrentFile("Version 5.06", 1);
    negative.i16(0, -4);
    Bytes tooMany = CurrentFile("Version 5.06", 1);
    tooMany.i16(0, 30000);
    const Case cases[] = {
        {"empty", ""},
        {"one byte", "\x01"},
        {"truncated", good.substr(0, good.size() - 1)},
        {"header only", good.substr(0, kProjectRecordSize)},
        {"no columns", zero.b},
        {"negative count", negative.b},
        {"count beyond the file", tooMany.b},
        {"text", std::string("hello, this is not a project\n")},
    };
    for (const Case& c : cases) EXPECT_THROW(ReadProjectBytes(c.bytes, 0, *engine), ProjectFileError) << c.what;
}

// Numbers no saved project holds are refused before the engine is asked
// anything (a 5.00 file selects each column's product in the engine).
TEST_F(ProjectRead, NumbersNoProjectHoldsAreRefusedUntouched)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::size_t col2 = kProjectRecordSize + kColumnRecordSize + kKvBaseRecordSize;
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    };
    const Case cases[] = {
        {"unit factor 0", [](Bytes& f) { f.f64(122, 0); }},
        {"negative unit factor", [](Bytes& f) { f.f64(122, -9.8); }},
        {"unit factor NaN", [&](Bytes& f) { f.f64(122, nan); }},
        {"gamma infinite", [&](Bytes& f) { f.f64(56, inf); }},
        {"date NaN", [&](Bytes& f) { f.f64(236, nan); }},
        {"short-term mode 2", [](Bytes& f) { f.i16(52, 2); }},
        {"ultimate mode -1", [](Bytes& f) { f.i16(54, -1); }},
        {"snow handling 3", [](Bytes& f) { f.i16(506, 3); }},
        {"load of column 2 NaN", [&](Bytes& f) { f.f64(col2 + 440 + 8 * 9, nan); }},
        {"slab strength -inf", [&](Bytes& f) { f.f64(col2 + 1840, -inf); }},
        {"base dimension NaN", [&](Bytes& f) { f.f64(col2 + kColumnRecordSize + 56, nan); }},
        {"bolt variant 0", [&](Bytes& f) { f.i16(col2 + 56, 0); }},
        {"bolt variant 5", [&](Bytes& f) { f.i16(col2 + 56, 5); }},
        {"rotation 2", [&](Bytes& f) { f.i16(col2 + 58, 2); }},
        {"orientation 4", [&](Bytes& f) { f.i16(col2 + 60, 4); }},
    };
    const int32_t model = engine->KolvanID();
    for (const char* version : {"Version 5.06", "Version 5.00"}) {
        for (const Case& c : cases) {
            Bytes f = CurrentFile(version, 2);
            f.i32(col2 + 50, 110110);
            c.spoil(f);
            EXPECT_THROW(ReadProjectBytes(f.b, 0, *engine), ProjectFileError) << version << ": " << c.what;
            EXPECT_EQ(engine->KolvanID(), model) << version << ": " << c.what;
        }
    }
    // The oldest layout is checked as it comes out of the conversion.
    Bytes old(kOldProjectRecordSize + kOldColumnRecordSize + kOldKvBaseRecordSize);
    old.i16(0, 1).f64(56, nan).f64(64, 180).i16(72 + 56, 1);
    EXPECT_THROW(ReadProjectBytes(old.b, 0, *engine), ProjectFileError);
    old.f64(56, 2.0);
    EXPECT_NO_THROW(ReadProjectBytes(old.b, 0, *engine));
}

TEST(ProjectWrite, CurrentVersionAndExactBytes)
{
    ProjectCondTbl cond;
    cond.ColCount = 2;
    cond.Version = "Version 5.02";
    ColumnArray<ColumnDataTbl> cols;
    cols.redim(3);  // more slots than columns: only ColCount are written
    cols(1).ColName = "P1";
    cols(2).ColName = "P2";
    ColumnArray<KvBaseTbl> bases;
    bases.redim(3);
    bases(2).ID = 77;
    const std::string b = EncodeProjectFile(cond, cols, bases);
    ASSERT_EQ(b.size(), kProjectRecordSize + 2 * (kColumnRecordSize + kKvBaseRecordSize));
    EXPECT_EQ(b.substr(72, 13), "Version 5.06 ");
    EXPECT_EQ(b.substr(kProjectRecordSize + kColumnRecordSize + kKvBaseRecordSize, 2), "P2");
    EXPECT_EQ(I32At(b, kProjectRecordSize + 2 * kColumnRecordSize + kKvBaseRecordSize), 77);

    cond.ColCount = 4;
    EXPECT_THROW(EncodeProjectFile(cond, cols, bases), std::runtime_error);
}

TEST(ProjectWrite, AtomicReplaceLeavesNoTailAndNoTemporary)
{
    const fs::path dir = fs::temp_directory_path() / ("kv_write_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "p.kud";
    WriteFileAtomically(file.string(), std::string(100, 'a'));
    WriteFileAtomically(file.string(), "short");
    std::ifstream in(file, std::ios::binary);
    const std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(got, "short");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    EXPECT_THROW(WriteFileAtomically((dir / "missing" / "p.kud").string(), "x"), std::runtime_error);

    if (::geteuid() != 0) {
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(WriteFileAtomically(file.string(), "new"), std::runtime_error);
        fs::permissions(dir, fs::perms::owner_all);
        std::ifstream again(file, std::ios::binary);
        const std::string kept((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>());
        EXPECT_EQ(kept, "short");
    }
    fs::remove_all(dir);
}

namespace {

std::string FileText(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class WriteUnit : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("kv_unit_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(dir / "p.kud", std::ios::binary) << "old project";
        std::ofstream(dir / "p.kud2", std::ios::binary) << "old list";
    }
    void TearDown() override { fs::remove_all(dir); }

    void ExpectOldFilesOnly() const
    {
        EXPECT_EQ(FileText(dir / "p.kud"), "old project");
        EXPECT_EQ(FileText(dir / "p.kud2"), "old list");
        for (const auto& e : fs::directory_iterator(dir))
            EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
    }
    std::vector<FileToWrite> Both(std::string_view project, std::string_view list) const
    {
        return {{(dir / "p.kud").string(), project}, {(dir / "p.kud2").string(), list}};
    }

    fs::path dir;
};

TEST_F(WriteUnit, BothFilesKeepTheirPermissionsAndLinksStayLinks)
{
    fs::permissions(dir / "p.kud", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
                    fs::perm_options::replace);
    // The list lives elsewhere; the project folder holds a link to it.
    fs::create_directories(dir / "shared");
    fs::rename(dir / "p.kud2", dir / "shared" / "list");
    fs::create_symlink("shared/list", dir / "p.kud2");

    WriteFilesAtomically(Both("new project", "new list"));
    EXPECT_EQ(FileText(dir / "p.kud"), "new project");
    EXPECT_EQ(fs::status(dir / "p.kud").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(fs::is_symlink(dir / "p.kud2"));
    EXPECT_EQ(FileText(dir / "shared" / "list"), "new list");

    // A new file gets the permissions any new file gets.
    const mode_t mask = ::umask(022);
    WriteFileAtomically((dir / "fresh.kud").string(), "x");
    ::umask(mask);
    EXPECT_EQ(fs::status(dir / "fresh.kud").permissions(), fs::perms(0644));
}

TEST_F(WriteUnit, AFailureBeforeTheRenamesLeavesBothOldFiles)
{
    // The list's place is taken by a folder.
    fs::remove(dir / "p.kud2");
    fs::create_directory(dir / "p.kud2");
    try {
        WriteFilesAtomically(Both("new project", "new list"));
        ADD_FAILURE() << "written over a folder";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("p.kud2"), std::string::npos) << e.what();
    }
    EXPECT_EQ(FileText(dir / "p.kud"), "old project");
    EXPECT_TRUE(fs::is_directory(dir / "p.kud2"));
    fs::remove(dir / "p.kud2");
    std::ofstream(dir / "p.kud2", std::ios::binary) << "old list";

    // The same file twice (through a link) would lose one of them.
    fs::remove(dir / "p.kud2");
    fs::create_symlink("p.kud", dir / "p.kud2");
    EXPECT_THROW(WriteFilesAtomically(Both("new project", "new list")), std::runtime_error);
    fs::remove(dir / "p.kud2");
    std::ofstream(dir / "p.kud2", std::ios::binary) << "old list";
    ExpectOldFilesOnly();
}

TEST_F(WriteUnit, AFullDiskWhileWritingLeavesBothOldFiles)
{
    // A file size limit fails the writes the way a full disk does, after
    // the first file's temporary is complete.
    const std::string big(10000, 'L');
    std::string message;
    {
        const modeltest::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.set());
        try {
            WriteFilesAtomically(Both("new project", big));
        } catch (const std::runtime_error& e) {
            message = e.what();
        }
    }
    EXPECT_NE(message.find("p.kud2"), std::string::npos) << message;
    ExpectOldFilesOnly();
}

TEST_F(WriteUnit, ASaveKilledPartWayLeavesNothingBesideTheOldFiles)
{
    // Where the file system has no unnamed files, what a killed writer had
    // named stays.
    const int probe = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (probe < 0) GTEST_SKIP() << "no unnamed files on this file system";
    ::close(probe);
    // Past the file-size limit the kernel ends the writer in its write.
    struct Case {
        const char* name;
        std::size_t project;
        std::size_t list;
    };
    const Case cases[] = {{"in the first file", 10000, 10}, {"in the second file", 10, 10000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            struct rlimit none {};
            ::setrlimit(RLIMIT_CORE, &none);
            struct rlimit small {};
            ::getrlimit(RLIMIT_FSIZE, &small);
            small.rlim_cur = 4096;
            ::setrlimit(RLIMIT_FSIZE, &small);
            std::signal(SIGXFSZ, SIG_DFL);
            try {
                WriteFilesAtomically(Both(std::string(c.project, 'P'), std::string(c.list, 'L')));
            } catch (...) {
            }
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the writer was not killed";
        ExpectOldFilesOnly();
    }
}

}  // namespace
