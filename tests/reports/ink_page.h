// The first page of a report style rendered at 300 dpi, whole or with the
// first print of a text left out, for tests that find where a text's ink
// lies on the page and what else is drawn there.
#pragma once

#include "platform/qt/print_control.h"
#include "reports/install_print.h"
#include "reports/report_drivers.h"
#include "tests/drawing/ink_fixture.h"
#include "tests/reports/page_fixture.h"

#include <QImage>

#include <string>

namespace reporttest {

constexpr double kInkDpi = 300;
constexpr double kDotsPerMm = kInkDpi / 25.4;

// A page test whose report pages are installed.
class InkPageTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        ::InstallReportPages();
    }
};

// The first page of `style` for column 1 (no legend page), whole or without
// the first print of `without`; `skipped` tells whether that print was met.
inline QImage FirstPage(int style, const std::string& without, bool* skipped)
{
    vbqt::PrintControl pc;
    pc.setPaperSize(9);
    pc.setOrientation(0);
    inktest::PageWithout target(pc, without, false);
    reports::ReportChoices ch;
    ch.style = style;
    ch.columns = {1};
    ch.legend = 1;  // no legend page: the section table comes first
    EXPECT_TRUE(reports::psub_Print(target, style, ch));
    if (skipped) *skipped = target.skipped();
    return pc.renderPage(0, kInkDpi);
}

}  // namespace reporttest
