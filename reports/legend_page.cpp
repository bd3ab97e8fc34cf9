#include "reports/legend_page.h"

#include "drawing/kv_figure_common.h"
#include "model/globals.h"
#include "reports/report_common.h"

namespace reports {

using drawing::PrintAt;

void PrintLegendLine(drawing::clsPrintOut& po, double x, double y, const std::string& text, const std::string& unit,
                     double gap, double width)
{
    const auto colon = text.find(':');
    const std::string symbol = text.substr(0, colon);
    const std::string meaning = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    PrintAt(po, x, y, symbol);
    PrintAt(po, x + gap, y, ":");
    PrintAt(po, x + gap + 3, y, meaning);
    PrintAt(po, x + gap + 3 + width, y, unit);
}

void PrintLegendPage(drawing::clsPrintOut& po, int page)
{
    po.setFontSize(8);
    PrintAt(po, 14, 20, "柱脚の断面算定結果");
    const bool si = model::gSIDisp;
    const std::string force = si ? "(kN)" : "(tf)";
    const std::string moment = si ? "(kN・m)" : "(tf・m)";
    PrintAt(po, 16, 28, "記号の説明");
    struct Line {
        const char* text;
        bool isMoment;
    };
    static constexpr Line lines[] = {
        {"Nl:長期時軸力", false},        {"Ml:長期時曲げモーメント", true}, {"Ql:長期時せん断力", false},
        {"Mal:長期許容曲げ耐力", true},  {"Qal:長期許容せん断耐力", false}, {"Ns:短期時軸力", false},
        {"Ms:短期時曲げモーメント", true}, {"Qs:短期時せん断力", false},   {"Mas:短期許容曲げ耐力", true},
        {"Qas:短期許容せん断耐力", false}, {"N:終局時軸力", false},        {"M:終局時曲げモーメント", true},
        {"Q:終局時せん断力", false},      {"Mu:終局曲げ耐力", true},       {"Qu:終局せん断耐力", false},
    };
    double y = 36;
    for (const Line& l : lines) {
        PrintLegendLine(po, 24, y, l.text, l.isMoment ? moment : force, 9.5, 33);
        y += 4;
    }
    PrintPageMark(po, page);
}

}  // namespace reports
