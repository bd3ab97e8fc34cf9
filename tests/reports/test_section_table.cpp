// The section table on the sample catalogue: the group builder as plain
// code (titles, marks, row texts and their rules, layout), the block and the
// page furniture on a recording page, the legend page with it through the
// driver, and sample PDFs of an S and an SRC project.
#include "drawing/rc_section.h"
#include "model/column_check.h"
#include "model/direction.h"
#include "model/globals.h"
#include "model/rebar_zone.h"
#include "model/stress.h"
#include "model/texts.h"
#include "platform/text/vb.h"
#include "reports/section_table.h"
#include "reports/stress_table.h"
#include "tests/reports/page_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace model;
using namespace reports;
using namespace reporttest;
using drawing::DrawOp;

class SectionTable : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        RegisterSectionTablePages();
    }
    // The whole report of the project's columns on a recording page.
    bool PrintAll(ReportChoices ch = {})
    {
        page = drawing::RecordingPage(1.0);
        if (ch.columns.empty())
            for (int16_t i = 1; i <= gCond.ColCount; ++i) ch.columns.push_back(i);
        return psub_Print(page, 1, ch);
    }
    // The ops of page n (1-based) of the recording.
    std::vector<DrawOp> PageOps(int n) const
    {
        std::vector<DrawOp> out;
        int at = 1;
        for (const DrawOp& op : page.ops) {
            if (op.kind == "NewPage") {
                ++at;
                continue;
            }
            if (at == n) out.push_back(op);
        }
        return out;
    }
};

TEST_F(SectionTable, SamplePdfs)
{
    struct Sample {
        const char* file;
        bool src;
        int columns;
    } samples[] = {{"section_table_s", false, 7}, {"section_table_src", true, 2}};
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.file);
        if (s.src) {
            SrcProject(s.columns);
            gColumns(2).KvDir = 1;
            gColumns(2).RTabane(1) = 1;
        } else {
            SProject(s.columns);
            gColumns(3).Fc = 22.5;
            gColumns(4).LoadTbl(2, 2) = 400;
        }
        vbqt::PrintControl pc;
        ReportChoices ch;
        for (int16_t i = 1; i <= gCond.ColCount; ++i) ch.columns.push_back(i);
        gPrintShortKind = 0;
        ASSERT_TRUE(psub_Print(pc, 1, ch));
        const PdfSample sample(pc, s.file);
        ASSERT_TRUE(sample.written);
        EXPECT_TRUE(sample.converted);
        EXPECT_TRUE(sample.Has("柱脚の断面算定結果"));
        EXPECT_TRUE(sample.Has("記号の説明"));
        EXPECT_TRUE(sample.Has("地震時柱脚断面算定表"));
    }
}

}  // namespace
