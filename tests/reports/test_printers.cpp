// The printer choice and the remembered printer, on installed printers of
// the tests' own and on the Qt printers of this machine.
#include "reports/printers.h"

#include "model/failure.h"
#include "tests/platform/ui/scripted_ui.h"
#include "tests/reports/fake_printers.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace reports;
using reports::testing::FakePrinter;
using reports::testing::FakePrinterBackend;
using ui::testing::ScopedUi;
using ui::testing::ScriptedUi;
using V = PrinterValue;

const std::string kTitle = "プリンタの設定";
const std::string kBadPaper = "指定された用紙サイズが不正です";
const std::string kPlotterName = "設計室 大判カラープロッタ 二号機 ロール紙914mm幅対応モデル";  // 33 characters

FakePrinter OfficeLaser()
{
    return {"Office Laser",
            "LaserDrv",
            "USB001",
            {{V::PaperSize, 9}, {V::Orientation, 1}, {V::PaperBin, 7}, {V::PrintQuality, 600},
             {V::ColorMode, 1}, {V::Duplex, 1}, {V::Scale, 100}, {V::PageWidth, 2100}, {V::PageHeight, 2970}},
            {{V::PaperSize, {1, 9, 11}}, {V::Orientation, {1, 2}}, {V::PaperBin, {1, 7}}, {V::ColorMode, {1}}}};
}

// On a user-defined roll; it reports neither a duplex mode nor a paper bin.
FakePrinter Plotter()
{
    return {kPlotterName,
            "PlotDrv",
            "LPT1:",
            {{V::PaperSize, 256}, {V::PageWidth, 9140}, {V::PageHeight, 12000}, {V::Orientation, 2},
             {V::PrintQuality, 300}, {V::ColorMode, 2}, {V::Scale, 100}},
            {{V::PaperSize, {8, 256}}}};
}

// Gives a paper size only.
FakePrinter Mute()
{
    return {"Mute", std::nullopt, std::nullopt, {{V::PaperSize, 9}}, {{V::PaperSize, {9}}}};
}

std::vector<std::pair<V, int32_t>> Writes(std::initializer_list<std::pair<V, int32_t>> w) { return w; }

class Printers : public ::testing::Test {
protected:
    void SetUp() override
    {
        gSavedDeviceName.clear();
        gSavedPaperSize = gSavedOrientation = gSavedPaperBin = 0;
        auto backend = std::make_unique<FakePrinterBackend>();
        fake = backend.get();
        fake->printers = {OfficeLaser(), Plotter(), Mute()};
        fake->current = 0;
        SetPrinterBackend(std::move(backend));
    }
    void TearDown() override { SetPrinterBackend(nullptr); }

    // The dialog's next answer: what it was opened with, changed by `edit`.
    template <typename Edit>
    void AnswerDialog(Edit edit)
    {
        fake->dialogAnswers.push_back([edit](const PrinterSetup& in) -> std::optional<PrinterSetup> {
            PrinterSetup out = in;
            edit(out);
            return out;
        });
    }
    int32_t Current(V which) { return fake->Current().values.at(which); }

    ScriptedUi user;
    ScopedUi scoped{user};
    FakePrinterBackend* fake = nullptr;
};

// --- The setup the dialog is opened with ---

TEST_F(Printers, SetupCarriesEveryValueThePrinterGives)
{
    const PrinterSetup s = ReadPrinterSetup(*fake);
    EXPECT_EQ(s.dmDeviceName, "Office Laser" + std::string(20, ' '));
    EXPECT_EQ(s.dmFields, DM_PAPERSIZE | DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX |
                              DM_ORIENTATION | DM_SCALE);
    EXPECT_EQ(s.dmPaperSize, 9);
    // Width and length go only with the user-defined size.
    EXPECT_EQ(s.dmPaperWidth, 0);
    EXPECT_EQ(s.dmPaperLength, 0);
    EXPECT_EQ(s.dmDefaultSource, 7);
    EXPECT_EQ(s.dmPrintQuality, 600);
    EXPECT_EQ(s.dmColor, 1);
    EXPECT_EQ(s.dmDuplex, 1);
    EXPECT_EQ(s.dmOrientation, 1);
    EXPECT_EQ(s.dmScale, 100);
    EXPECT_EQ(s.driverName, "LaserDrv");
    EXPECT_EQ(s.deviceName, "Office Laser");
    EXPECT_EQ(s.port, "USB001");
}

TEST_F(Printers, SetupLeavesOutWhatThePrinterCannotGive)
{
    fake->current = 1;
    PrinterSetup s = ReadPrinterSetup(*fake);
    EXPECT_EQ(s.dmFields, DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH | DM_PRINTQUALITY | DM_COLOR |
                              DM_ORIENTATION | DM_SCALE);
    EXPECT_EQ(s.dmDuplex, 0);
    EXPECT_EQ(s.dmDefaultSource, 0);
    EXPECT_EQ(s.dmPaperSize, 256);
    EXPECT_EQ(s.dmPaperWidth, 9140);
    EXPECT_EQ(s.dmPaperLength, 12000);
    // The name is cut in characters, not bytes; the name list keeps it whole.
    EXPECT_EQ(s.dmDeviceName, "設計室 大判カラープロッタ 二号機 ロール紙914mm幅対応モデ");
    EXPECT_EQ(s.deviceName, kPlotterName);

    fake->current = 2;
    fake->Current().values[V::PrintQuality] = 40000;  // does not fit the field
    s = ReadPrinterSetup(*fake);
    EXPECT_EQ(s.dmFields, DM_PAPERSIZE);
    EXPECT_EQ(s.dmPrintQuality, 0);
    EXPECT_EQ(s.driverName, "");
    EXPECT_EQ(s.port, "");

    // A paper size that cannot be read still goes with its bit, as 0.
    fake->Current().values.erase(V::PaperSize);
    s = ReadPrinterSetup(*fake);
    EXPECT_EQ(s.dmFields, DM_PAPERSIZE);
    EXPECT_EQ(s.dmPaperSize, 0);
}

// --- The dialog ---

TEST_F(Printers, CancellingChangesNothing)
{
    fake->current = 1;
    SavePrinterSettings();
    fake->current = 0;

    EXPECT_FALSE(ShowPrinterDialog(PD_PRINTSETUP, nullptr));

    ASSERT_EQ(fake->dialogOpenedWith.size(), 1u);
    EXPECT_EQ(fake->dialogOpenedWith[0].deviceName, "Office Laser");
    EXPECT_EQ(fake->CurrentName(), "Office Laser");
    EXPECT_TRUE(fake->writes.empty());
    EXPECT_EQ(gSavedDeviceName, kPlotterName);
    EXPECT_EQ(gSavedPaperSize, 256);
    EXPECT_EQ(gSavedOrientation, 2);
    EXPECT_EQ(gSavedPaperBin, 0);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Printers, ConfirmedChoiceBecomesTheCurrentPrinter)
{
    auto owner = reinterpret_cast<QWidget*>(0x1234);
    AnswerDialog([](PrinterSetup& s) {
        s.deviceName = "OFFICE laser";
        s.dmPaperSize = 11;
        s.dmOrientation = 2;
        s.dmDefaultSource = 1;
        s.dmColor = 1;
        s.dmDuplex = 3;
        s.dmScale = 90;
    });
    fake->current = 2;

    EXPECT_TRUE(ShowPrinterDialog(PD_PRINTSETUP, owner));

    EXPECT_EQ(fake->dialogFlags, std::vector<uint32_t>{PD_PRINTSETUP});
    EXPECT_EQ(fake->dialogOwners, std::vector<QWidget*>{owner});
    EXPECT_EQ(fake->CurrentName(), "Office Laser");
    EXPECT_EQ(fake->writes, Writes({{V::PaperSize, 11},
                                    {V::PaperBin, 1},
                                    {V::PrintQuality, 0},  // the Mute printer's setup had none
                                    {V::ColorMode, 1},
                                    {V::Duplex, 3},
                                    {V::Orientation, 2},
                                    {V::Scale, 90}}));
    EXPECT_EQ(Current(V::PaperSize), 11);
    EXPECT_EQ(Current(V::Orientation), 2);
    EXPECT_EQ(Current(V::Duplex), 3);
    EXPECT_EQ(Current(V::Scale), 90);
    EXPECT_EQ(Current(V::PrintQuality), 600);
    EXPECT_TRUE(user.messages.empty());
    // Only the callers remember the choice.
    EXPECT_EQ(gSavedDeviceName, "");
}

TEST_F(Printers, UnknownChosenNameKeepsTheCurrentPrinter)
{
    // The name list may hold more after the name's end.
    AnswerDialog([](PrinterSetup& s) {
        s.deviceName = std::string("Office Laser\0Elsewhere", 22);
        s.dmOrientation = 2;
    });
    fake->current = 1;
    EXPECT_TRUE(ShowPrinterDialog(PD_PRINTSETUP, nullptr));
    EXPECT_EQ(fake->CurrentName(), "Office Laser");

    AnswerDialog([](PrinterSetup& s) { s.deviceName = "Office Laser 2"; });
    fake->current = 1;
    EXPECT_TRUE(ShowPrinterDialog(PD_PRINTSETUP, nullptr));
    EXPECT_EQ(fake->CurrentName(), kPlotterName);
}

TEST_F(Printers, UserDefinedSizeGoesThereAndBackInTenthsOfMillimetres)
{
    fake->current = 1;
    AnswerDialog([](PrinterSetup&) {});
    EXPECT_TRUE(ShowPrinterDialog(PD_PRINTSETUP, nullptr));
    EXPECT_EQ(fake->dialogOpenedWith.at(0).dmPaperWidth, 9140);
    EXPECT_EQ(fake->dialogOpenedWith.at(0).dmPaperLength, 12000);
    EXPECT_EQ(fake->writes.at(0), std::make_pair(V::PaperSize, 256));
    EXPECT_EQ(fake->writes.at(1), std::make_pair(V::PageWidth, 9140));
    EXPECT_EQ(fake->writes.at(2), std::make_pair(V::PageHeight, 12000));

    AnswerDialog([](PrinterSetup& s) {
        s.dmPaperWidth = 6100;
        s.dmPaperLength = 9000;
    });
    EXPECT_TRUE(ShowPrinterDialog(PD_PRINTSETUP, nullptr));
    EXPECT_EQ(Current(V::PaperSize), 256);
    EXPECT_EQ(Current(V::PageWidth), 6100);
    EXPECT_EQ(Current(V::PageHeight), 9000);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Printers, RefusedPaperIsReportedAndTheRestStillApplied)
{
    struct Case {
        const char* what;
        int16_t paper, width, length;
    };
    for (const Case& c : {Case{"size the printer does not take", 8, 0, 0},
                          Case{"user-defined size without a width", 256, 0, 2970}}) {
        SCOPED_TRACE(c.what);
        user.messages.clear();
        fake->printers[0] = OfficeLaser();
        fake->printers[0].takes[V::PaperSize].insert(256);
        fake->current = 0;
        AnswerDialog([c](PrinterSetup& s) {
            s.dmPaperSize = c.paper;
            s.dmPaperWidth = c.width;
            s.dmPaperLength = c.length;
            s.dmOrientation = 2;
            s.dmDuplex = 2;
        });

        EXPECT_TRUE(ShowPrinterDialog(PD_PRINTSETUP, nullptr));

        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_EQ(user.messages[0].text, kBadPaper);
        EXPECT_EQ(user.messages[0].title, kTitle);
        EXPECT_EQ(Current(V::Orientation), 2);
        EXPECT_EQ(Current(V::Duplex), 2);
        EXPECT_EQ(Current(V::PageWidth), 2100);
    }
}

// --- Choosing by name ---

TEST_F(Printers, SelectByNameIgnoresLetterCaseAndAppliesThePaper)
{
    struct Case {
        std::string name;
        bool found;
        std::string current;  // afterwards
    };
    for (const Case& c : {Case{"Office Laser", true, "Office Laser"}, Case{"office LASER", true, "Office Laser"},
                          Case{"Office", false, "Mute"}, Case{"", false, "Mute"}}) {
        SCOPED_TRACE(c.name);
        fake->printers = {OfficeLaser(), Plotter(), Mute()};
        fake->printers[2].values[V::Orientation] = 1;
        fake->current = 2;
        fake->writes.clear();

        EXPECT_EQ(SelectPrinterByName(c.name, 11, 2, 1), c.found);

        EXPECT_EQ(fake->CurrentName(), c.current);
        // The paper goes to whatever printer is current, each value on its own.
        EXPECT_EQ(fake->writes, Writes({{V::PaperSize, 11}, {V::Orientation, 2}, {V::PaperBin, 1}}));
        if (c.found) {
            EXPECT_EQ(Current(V::PaperSize), 11);
            EXPECT_EQ(Current(V::Orientation), 2);
            EXPECT_EQ(Current(V::PaperBin), 1);
        } else {
            EXPECT_EQ(Current(V::PaperSize), 9);  // Mute takes no 11
            EXPECT_EQ(Current(V::Orientation), 2);
        }
    }
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Printers, RestoreBeforeAnySetupSelectsNothing)
{
    fake->current = 1;
    EXPECT_FALSE(RestorePrinterSettings());
    EXPECT_EQ(fake->CurrentName(), kPlotterName);
    EXPECT_EQ(fake->writes, Writes({{V::PaperSize, 0}, {V::Orientation, 0}, {V::PaperBin, 0}}));
    EXPECT_EQ(Current(V::PaperSize), 256);
    EXPECT_EQ(Current(V::Orientation), 2);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Printers, SavedPrinterComesBackOnRestore)
{
    AnswerDialog([](PrinterSetup& s) {
        s.deviceName = "office laser";
        s.dmPaperSize = 1;
        s.dmOrientation = 2;
        s.dmDefaultSource = 1;
    });
    fake->current = 1;
    ASSERT_TRUE(ShowPrinterDialog(PD_PRINTSETUP, nullptr));
    SavePrinterSettings();
    EXPECT_EQ(gSavedDeviceName, "Office Laser");
    EXPECT_EQ(gSavedPaperSize, 1);
    EXPECT_EQ(gSavedOrientation, 2);
    EXPECT_EQ(gSavedPaperBin, 1);

    // Another printer and other paper meanwhile.
    SelectPrinterByName("Office Laser", 9, 1, 7);
    fake->current = 2;

    EXPECT_TRUE(RestorePrinterSettings());
    EXPECT_EQ(fake->CurrentName(), "Office Laser");
    EXPECT_EQ(Current(V::PaperSize), 1);
    EXPECT_EQ(Current(V::Orientation), 2);
    EXPECT_EQ(Current(V::PaperBin), 1);
}

TEST_F(Printers, SaveRemembersZeroForAValueThePrinterCannotGive)
{
    fake->current = 2;
    gSavedPaperBin = 7;
    SavePrinterSettings();
    EXPECT_EQ(gSavedDeviceName, "Mute");
    EXPECT_EQ(gSavedPaperSize, 9);
    EXPECT_EQ(gSavedOrientation, 0);
    EXPECT_EQ(gSavedPaperBin, 0);
}

// --- No printer, or one that fails ---

TEST_F(Printers, NoPrinterGivesAMessageOrFalse)
{
    fake->printers.clear();
    fake->current = -1;
    gSavedDeviceName = "Office Laser";
    gSavedPaperSize = 9;
    AnswerDialog([](PrinterSetup&) {});

    EXPECT_FALSE(ShowPrinterDialog(PD_PRINTSETUP, nullptr));
    EXPECT_TRUE(fake->dialogOpenedWith.empty());
    SavePrinterSettings();
    EXPECT_FALSE(RestorePrinterSettings());

    ASSERT_EQ(user.messages.size(), 2u);
    for (const auto& m : user.messages) {
        EXPECT_EQ(m.text, "プリンタがインストールされていません。");
        EXPECT_EQ(m.title, kTitle);
    }
    EXPECT_EQ(gSavedDeviceName, "Office Laser");
    EXPECT_EQ(gSavedPaperSize, 9);
}

TEST_F(Printers, FailingPrinterGivesAMessageOrFalse)
{
    SavePrinterSettings();
    fake->failing = true;
    AnswerDialog([](PrinterSetup&) {});

    EXPECT_FALSE(ShowPrinterDialog(PD_PRINTSETUP, nullptr));
    SavePrinterSettings();
    EXPECT_FALSE(RestorePrinterSettings());
    EXPECT_FALSE(SelectPrinterByName("Office Laser", 9, 1, 7));

    ASSERT_EQ(user.messages.size(), 2u);
    for (const auto& m : user.messages) {
        // The driver's own text goes to standard error.
        EXPECT_EQ(m.text, "プリンタを使用できません。\r\n" + model::FailureText(model::FailureKind::PrintFailed));
        EXPECT_EQ(m.title, kTitle);
    }
    EXPECT_EQ(gSavedDeviceName, "Office Laser");

    // A printer that fails only after the dialog: nothing is applied.
    fake->failing = false;
    fake->dialogAnswers.clear();
    fake->dialogAnswers.push_back([this](const PrinterSetup& in) -> std::optional<PrinterSetup> {
        fake->failing = true;
        return in;
    });
    user.messages.clear();
    EXPECT_FALSE(ShowPrinterDialog(PD_PRINTSETUP, nullptr));
    EXPECT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(fake->writes.empty());
}

// --- On Qt ---

class QtPrinters : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "a printer is installed here";
        gSavedDeviceName.clear();
        gSavedPaperSize = gSavedOrientation = gSavedPaperBin = 0;
        SetPrinterBackend(nullptr);
    }

    ScriptedUi user;
    ScopedUi scoped{user};
};

TEST_F(QtPrinters, WithoutPrintersTheProceduresGiveAMessageOrFalse)
{
    EXPECT_FALSE(ShowPrinterDialog(PD_PRINTSETUP, nullptr));
    SavePrinterSettings();
    EXPECT_FALSE(RestorePrinterSettings());
    EXPECT_FALSE(SelectPrinterByName("Office Laser", 9, 1, 7));

    ASSERT_EQ(user.messages.size(), 2u);
    for (const auto& m : user.messages) {
        EXPECT_EQ(m.text, "プリンタがインストールされていません。");
        EXPECT_EQ(m.title, kTitle);
    }
    EXPECT_EQ(gSavedDeviceName, "");

    const PrinterSetup s = ReadPrinterSetup(CurrentPrinterBackend());
    EXPECT_EQ(s.dmFields, DM_PAPERSIZE);
    EXPECT_EQ(s.dmDeviceName, std::string(32, ' '));
}

// The codes on a printer that writes a file, as the dialog's printer uses them.
TEST(QtPrinterValues, PaperCodesAreThePlatformOnes)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    struct Case {
        int16_t code;
        int32_t width, height;  // tenths of a millimetre
    };
    for (const Case& c : {Case{9, 2100, 2970}, Case{1, 2159, 2794}, Case{8, 2970, 4200}, Case{11, 1480, 2100},
                          Case{12, 2570, 3640}, Case{13, 1820, 2570}}) {
        SCOPED_TRACE(c.code);
        ASSERT_TRUE(WriteQtPrinterValue(printer, V::PaperSize, c.code));
        EXPECT_EQ(ReadQtPrinterValue(printer, V::PaperSize), c.code);
        EXPECT_EQ(ReadQtPrinterValue(printer, V::PageWidth), c.width);
        EXPECT_EQ(ReadQtPrinterValue(printer, V::PageHeight), c.height);
    }
    for (int16_t refused : {0, -1, 119, 255})
        EXPECT_FALSE(WriteQtPrinterValue(printer, V::PaperSize, refused)) << refused;
    EXPECT_EQ(ReadQtPrinterValue(printer, V::PaperSize), 13);

    ASSERT_TRUE(WriteQtPrinterValue(printer, V::PaperSize, 256));
    ASSERT_TRUE(WriteQtPrinterValue(printer, V::PageWidth, 1000));
    ASSERT_TRUE(WriteQtPrinterValue(printer, V::PageHeight, 1505));
    EXPECT_EQ(ReadQtPrinterValue(printer, V::PaperSize), 256);
    EXPECT_EQ(ReadQtPrinterValue(printer, V::PageWidth), 1000);
    EXPECT_EQ(ReadQtPrinterValue(printer, V::PageHeight), 1505);
    EXPECT_FALSE(WriteQtPrinterValue(printer, V::PageWidth, 0));
}

TEST(QtPrinterValues, OrientationColourDuplexAndScale)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    ASSERT_TRUE(WriteQtPrinterValue(printer, V::Orientation, 2));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(ReadQtPrinterValue(printer, V::Orientation), 2);
    // The paper keeps its upright size when turned.
    EXPECT_EQ(ReadQtPrinterValue(printer, V::PageWidth) < ReadQtPrinterValue(printer, V::PageHeight),
              true);
    ASSERT_TRUE(WriteQtPrinterValue(printer, V::Orientation, 1));
    EXPECT_EQ(ReadQtPrinterValue(printer, V::Orientation), 1);
    EXPECT_FALSE(WriteQtPrinterValue(printer, V::Orientation, 0));

    ASSERT_TRUE(WriteQtPrinterValue(printer, V::ColorMode, 1));
    EXPECT_EQ(printer.colorMode(), QPrinter::GrayScale);
    ASSERT_TRUE(WriteQtPrinterValue(printer, V::ColorMode, 2));
    EXPECT_EQ(ReadQtPrinterValue(printer, V::ColorMode), 2);
    EXPECT_FALSE(WriteQtPrinterValue(printer, V::ColorMode, 3));

    // A file has one side.
    EXPECT_FALSE(WriteQtPrinterValue(printer, V::Duplex, 3));
    EXPECT_EQ(ReadQtPrinterValue(printer, V::Duplex), 1);
    EXPECT_TRUE(WriteQtPrinterValue(printer, V::Duplex, 1));
    EXPECT_FALSE(WriteQtPrinterValue(printer, V::Duplex, 4));

    EXPECT_EQ(ReadQtPrinterValue(printer, V::Scale), std::nullopt);
    EXPECT_FALSE(WriteQtPrinterValue(printer, V::Scale, 100));
}

}  // namespace
