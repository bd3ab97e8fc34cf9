// The report pages as the program installs them: every style available and
// the shear page's base pictures from the program's own drawings; sample
// PDFs of the shear page of series 1, 4 and 6 with their pictures; the
// footer the section table, the shear page and the column list share.
#include "model/format.h"
#include "model/globals.h"
#include "reports/install_print.h"
#include "reports/report_drivers.h"
#include "reports/shear_page.h"
#include "platform/text/utf8.h"
#include "tests/reports/page_fixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace model;
using namespace reports;
using namespace reporttest;

class InstalledPages : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        kept_ = ShearPicture();
        InstallReportPages();
    }
    void TearDown() override
    {
        SetShearPictureSource(kept_);
        PageTest::TearDown();
    }

    // The shear page of column 1 in the report font, as a PDF and PNG sample.
    static PdfSample ShearSample(const std::string& file, int page, int16_t dir, int16_t k)
    {
        vbqt::PrintControl pc;
        pc.setPaperSize(9);
        pc.setOrientation(0);
        pc.StartDoc();
        drawing::clsPrintOut po;
        po.setprpMode(1);
        po.setprpVsPrinter(&pc);
        po.setFontName(kReportFont);
        PrintShearPageOfColumn(po, 1, page, dir, k);
        pc.EndDoc();
        return PdfSample(pc, file);
    }

private:
    ShearPictureSource kept_;
};

TEST_F(InstalledPages, EveryStyleRunsAndBasesOfTheShearSeriesHavePictures)
{
    for (int style = 0; style <= 3; ++style) EXPECT_TRUE(StyleAvailable(style)) << style;
    SProject(1);
    struct Case {
        int32_t base;
        bool picture;
    } cases[] = {{kSquareBase, false}, {100100, false}, {kSeries1, true}, {kSeries4, true}, {kSeries6, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base);
        KvBaseTbl b;
        LoadKvBaseData(c.base, 1, b);
        const QImage img = ShearPicture()(b, 0, 0);
        EXPECT_EQ(img.isNull(), !c.picture);
        if (img.isNull()) continue;
        // The screen picture's size on paper: 240 x 180 at 96 dots an inch.
        EXPECT_NEAR(img.width() * 1000.0 / img.dotsPerMeterX(), 240 * 25.4 / 96, 0.1);
        EXPECT_NEAR(img.height() * 1000.0 / img.dotsPerMeterY(), 180 * 25.4 / 96, 0.1);
    }
}

TEST_F(InstalledPages, ShearPageSamples)
{
    struct Sample {
        const char* file;
        int32_t base;
        int16_t flags, dir, k;
    } samples[] = {{"shear_page_series1", kSeries1, 1, 0, 4},
                   {"shear_page_series4", kSeries4, 2, 1, 6},
                   {"shear_page_series6", kSeries6, 2, 0, 1}};
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.file);
        SProject(1, s.base);
        ColumnDataTbl& c = gColumns(1);
        c.SlabQ_B1X = c.SlabQ_B1Y = 300;
        c.SlabQ_B2X = c.SlabQ_B2Y = 700;
        c.SlabQ_d1 = 250;
        c.SlabQ_d2 = 450;
        c.SlabFc = 24;
        c.FShear.fill(s.flags);
        const PdfSample sample = ShearSample(s.file, 1, s.dir, s.k);
        ASSERT_TRUE(sample.written);
        EXPECT_TRUE(sample.converted);
        EXPECT_TRUE(sample.Has("せん断耐力に関する検討"));
        EXPECT_TRUE(sample.Has("＜対処方法の判定＞"));
        EXPECT_TRUE(sample.Near("せん断耐力に関する検討", 30, 15));
    }
}

// An SRC column that fails under a large negative long-term shear: the
// capacity of the SRC verdict, the shares marked "-".
TEST_F(InstalledPages, SrcShearPageSample)
{
    SrcProject(1);
    ColumnDataTbl& c = gColumns(1);
    c.ColName = "SC-12345678901234567890";
    for (long k = 1; k <= 20; ++k) c.LoadTbl(3, k) = -987.654;
    gCond.Bukken = "大規模物流センター新築工事（第二期）";
    const PdfSample sample = ShearSample("shear_page_src", 12, 0, 1);
    ASSERT_TRUE(sample.written);
    EXPECT_TRUE(sample.converted);
    EXPECT_TRUE(sample.Has("SRC柱脚（鉄骨柱脚＋コンクリート＋鉄筋）の場合"));
    EXPECT_TRUE(sample.Has("|" + FormatValue(-987.654 * gUnitFactor, 2) + "| (kN)"));
    EXPECT_TRUE(sample.Has("NG"));
}

TEST_F(InstalledPages, FootersPrintAFullLengthPersonWhole)
{
    SProject(1, kSeries1);
    // 50 characters, the field's width: the last one is the field's last.
    std::string person;
    for (int i = 0; i < 24; ++i) person += "山田";
    person += "次郎";
    gCond.Tantou = person;
    ASSERT_EQ(text::FieldText(gCond.Tantou), person);
    const std::string footer = "設計担当：" + person + "  2023/03/15";
    // Placed by the width rule, which counts the first 49 characters.
    const std::string first49 = text::Left(person, 49);

    const auto byStyle = [](int style) {
        return [style](drawing::RecordingPage& page) {
            ReportChoices ch;
            ch.columns = {1};
            ch.legend = 1;  // no legend page
            ASSERT_TRUE(psub_Print(page, style, ch));
        };
    };
    struct Case {
        const char* what;
        std::function<void(drawing::RecordingPage&)> print;
        double b, y;
    } cases[] = {
        {"section table", byStyle(1), 172, 279},
        {"column list", byStyle(3), 167, 282},
        {"shear page",
         [](drawing::RecordingPage& page) {
             drawing::clsPrintOut po;
             po.setprpMode(1);
             po.setprpVsPrinter(&page);
             PrintShearPageOfColumn(po, 1, 1, 0, 1);
         },
         167, 279},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page = drawing::RecordingPage(1.0);
        c.print(page);
        std::vector<PageText> footers;
        for (const PageText& t : TextsOf(page.ops))
            if (t.text.rfind("設計担当：", 0) == 0) footers.push_back(t);
        ASSERT_EQ(footers.size(), 1u);
        EXPECT_EQ(footers[0].text, footer);
        EXPECT_NEAR(footers[0].x, FooterLeft(c.b, first49), 1e-9);
        EXPECT_NEAR(footers[0].y, c.y, 1e-9);
    }
}

}  // namespace
