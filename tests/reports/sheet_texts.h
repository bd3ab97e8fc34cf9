// The texts a column's calculation sheet prints, as a recording page logs
// them, for tests that look at what the sheet says.
#pragma once

#include "drawing/print_out.h"
#include "drawing/recording.h"
#include "reports/calc_sheet.h"

#include <cstdint>
#include <vector>

namespace reporttest {

inline std::vector<drawing::DrawOp> CalcSheetTexts(int16_t column, int pageNo = 1)
{
    drawing::RecordingPage page(1.0);
    drawing::clsPrintOut po;
    po.setprpMode(1);
    po.setprpVsPrinter(&page);
    reports::PrintCalcSheetPage(po, column, pageNo);
    std::vector<drawing::DrawOp> texts;
    for (const drawing::DrawOp& op : page.ops)
        if (op.kind == "Text") texts.push_back(op);
    return texts;
}

}  // namespace reporttest
