#include "reports/report_drivers.h"

#include "drawing/state_guard.h"
#include "model/column_check.h"
#include "model/column_list_csv.h"
#include "model/failure.h"
#include "model/globals.h"
#include "model/rebar_zone.h"
#include "model/stress.h"
#include "model/texts.h"
#include "platform/text/fixed_text.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"
#include "reports/report_common.h"

#include <exception>
#include <stdexcept>

using namespace model;

namespace reports {

ReportPages& PageTable()
{
    static ReportPages pages;
    return pages;
}

bool StyleAvailable(int style)
{
    const ReportPages& p = PageTable();
    switch (style) {
    case 0: return static_cast<bool>(p.calcSheet);
    case 1: return p.legend && p.sectionBlock;
    case 2: return static_cast<bool>(p.shearPage);
    case 3: return true;
    default: return false;
    }
}

std::string ReportModelText(int16_t column) { return GetKvModelText(gKvBase(column), 50); }

namespace {

// The run state of styles 0 to 2: the drawing flags and the short-term kind
// come back on every exit, and every column printed under another kind is
// checked again under the window's own, so that the window never shows the
// printed kind's verdicts.
class GraphRun {
public:
    GraphRun(vbqt::PageTarget& target, const ReportChoices& choices) : target_(target)
    {
        const vb::Array<bool, 0, 3> curves = gNMCurveShow;
        const bool color = gColorDraw;
        const int16_t kind = gShortLoadKind;
        guard_.onExit([this, curves, color, kind] {
            for (long i = 0; i <= 3; ++i) gNMCurveShow(i) = curves(i);
            gColorDraw = color;
            const bool restored = gShortLoadKind != kind;
            gShortLoadKind = kind;
            for (int16_t c : printed_) CheckColumn(c);
            if (restored || !printed_.empty()) BuildCurrentDesignStresses();
        });
        target_.StartDoc();
        guard_.onExit([this] { target_.EndDoc(); });
        po.setprpMode(1);
        po.setprpVsPrinter(&target_);
        startPage = StartPageNumber(choices.pageNumberText);
        for (long i = 0; i <= 3; ++i) {
            bool on = gNMCurveShow(i);
            CopyBox(choices.nmCurves[static_cast<std::size_t>(i)], on);
            gNMCurveShow(i) = on;
        }
    }
    // Switches to the printed kind around one column's pages.
    void Switched(int16_t column, bool ownTable, const std::function<void()>& pages)
    {
        const int16_t kind = gShortLoadKind;
        const bool switched = kind != gPrintShortKind;
        // A column printed under the window's kind keeps the window's results.
        if (switched) printed_.push_back(column);
        const auto rebuild = [ownTable, column] {
            if (ownTable)
                BuildDesignStresses(column);
            else
                BuildCurrentDesignStresses();
        };
        if (switched) {
            gShortLoadKind = gPrintShortKind;
            rebuild();
        }
        pages();
        if (switched) {
            gShortLoadKind = kind;
            rebuild();
        }
    }
    void Finish() { guard_.restore(); }

    drawing::clsPrintOut po;
    int startPage = 0;

private:
    vbqt::PageTarget& target_;
    std::vector<int16_t> printed_;
    drawing::StateGuard guard_;
};

const ReportPages& Pages(int style)
{
    if (!StyleAvailable(style)) throw model::Refusal("この印刷形式はまだ使用できません。");
    return PageTable();
}

}  // namespace

void msub_PrintNMGraphs(vbqt::PageTarget& target, const ReportChoices& choices)
{
    const ReportPages& pages = Pages(0);
    GraphRun run(target, choices);
    for (auto [state, flag] : {std::pair{choices.colorMode, &gPrColorMode}, {choices.header, &gPrNoHeader},
                               {choices.footer, &gPrNoFooter}, {choices.designCond, &gPrNoDesignCond},
                               {choices.baseColumn, &gPrNoBaseColumn}, {choices.pageNumber, &gPrPageNumber}})
        CopyBox(state, *flag);
    gColorDraw = gPrColorMode;
    const std::vector<int16_t>& cols = choices.columns;
    if (!cols.empty()) {
        run.po.setPaperSize(9);
        run.po.setOrientation(0);
        for (std::size_t k = 0; k < cols.size(); ++k) {
            run.Switched(cols[k], false, [&] { pages.calcSheet(run.po, cols[k], run.startPage + static_cast<int>(k)); });
            if (k + 1 < cols.size()) run.po.NewPage();
        }
    }
    run.Finish();
}

void msub_PrintSectionTable(vbqt::PageTarget& target, const ReportChoices& choices)
{
    const ReportPages& pages = Pages(1);
    GraphRun run(target, choices);
    for (auto [state, flag] : {std::pair{choices.colorMode, &gPrColorMode}, {choices.header, &gPrNoHeader},
                               {choices.footer, &gPrNoFooter}, {choices.designCond, &gPrNoDesignCond},
                               {choices.baseColumn, &gPrNoBaseColumn}, {choices.pageNumber, &gPrPageNumber},
                               {choices.legend, &gPrNoLegend}})
        CopyBox(state, *flag);
    gColorDraw = gPrColorMode;
    const std::vector<int16_t>& cols = choices.columns;
    if (!cols.empty()) {
        // The program has no two-axis mode: six columns a page.
        constexpr int kSlots = 6;
        int page = run.startPage;
        SetupReportPage(run.po);
        if (!gPrNoLegend) {
            pages.legend(run.po, page);
            run.po.NewPage();
            ++page;
        }
        int slot = 0;
        for (std::size_t k = 0; k < cols.size(); ++k) {
            ++slot;
            run.Switched(cols[k], false, [&] { pages.sectionBlock(run.po, cols[k], page, slot); });
            if (slot == kSlots) {
                ++page;
                if (k + 1 < cols.size()) run.po.NewPage();
                slot = 0;
            }
        }
    }
    run.Finish();
}

void msub_PrintShearPages(vbqt::PageTarget& target, const ReportChoices& choices)
{
    const ReportPages& pages = Pages(2);
    GraphRun run(target, choices);
    for (auto [state, flag] : {std::pair{choices.header, &gPrNoHeader}, {choices.footer, &gPrNoFooter},
                               {choices.pageNumber, &gPrPageNumber}, {choices.noneNG, &gPrNoneNG},
                               {choices.noneOK, &gPrNoneOK}})
        CopyBox(state, *flag);
    // This style has no colour box: the last run's choice stands.
    gColorDraw = gPrColorMode;
    int page = run.startPage;
    bool printed = false;
    for (int16_t column : choices.columns) {
        run.Switched(column, true, [&] {
            // The verdicts of the printed kind decide which pages there are.
            CalcColumnByIndex(column, 0);
            CalcColumnByIndex(column, 1);
            const bool ultJadge = gCond.UltJadge != kFalse;
            for (int16_t d = 0; d <= 1; ++d) {
                for (int16_t c : {1, 4, 5, 6, 7}) {
                    // A case whose moment fails has no shear check to print.
                    if (CaseMomentNG(gResults(column), ultJadge, d, c)) continue;
                    const int16_t verdict = gResults(column).JadgeQ(d, c);
                    const bool page_ = (verdict > 0 && !gPrNoneOK) || (verdict == 0 && !gPrNoneNG);
                    if (!page_) continue;
                    if (printed) run.po.NewPage();
                    printed = true;
                    pages.shearPage(run.po, column, page, d, c);
                    ++page;
                }
            }
        });
    }
    run.Finish();
}

void msub_PrintColumnList(vbqt::PageTarget& target, const ReportChoices& choices)
{
    target.StartDoc();
    drawing::StateGuard ends;
    ends.onExit([&target] { target.EndDoc(); });
    drawing::clsPrintOut po;
    po.setprpMode(1);
    po.setprpVsPrinter(&target);
    const int startPage = StartPageNumber(choices.pageNumberText);
    CopyBox(choices.header, gPrNoHeader);
    CopyBox(choices.footer, gPrNoFooter);
    CopyBox(choices.pageNumber, gPrPageNumber);
    po.setPaperSize(9);
    po.setOrientation(0);
    int p = 1;
    po.setScaleMode(6);
    po.setFontName(kReportFont);
    po.setForeColor(0);

    static constexpr double kX[] = {11, 21, 55, 85, 100, 120};
    const auto head = [&po](bool first) {
        PrintReportHeader(po);
        po.setScaleMode(6);
        po.setDrawWidth(3);
        po.setFontSize(8);
        po.Draw_Line(10, 10, 130, 10, 0);
        const char* const titles[] = {"No.", "柱名称", "型式", "判定", "配筋ゾーン", "Fc"};
        for (int t = first ? 0 : 1; t < 6; ++t) {
            po.setCurrentX(kX[t]);
            po.setCurrentY(11);
            po.DPrint(titles[t]);
        }
        po.Draw_Line(10, 15, 130, 15, 0);
    };
    head(true);
    double y = 16;
    const bool ultJadge = gCond.UltJadge != kFalse;
    for (int n = 1; n <= gCond.ColCount; ++n) {
        const auto i = static_cast<int16_t>(n);
        const std::string number = std::string(5, ' ') + std::to_string(n);
        const std::string texts[] = {
            number.substr(number.size() - 3),
            text::FieldText(gColumns(i).ColName),
            ReportModelText(i),
            GetColumnJudgeText(gResults(i), ultJadge),
            gCond.SMode != kFalse ? GetZoneMarkText(GetColumnRebarZone(i)) : std::string(),
            vb::CStr(gColumns(i).Fc),
        };
        for (int t = 0; t < 6; ++t) {
            po.setCurrentX(kX[t]);
            po.setCurrentY(y);
            // A name or model stops short of the next column.
            if (t == 1 || t == 2) po.DPrintFitted(texts[t], kX[t + 1] - kX[t] - 1);
            else po.DPrint(texts[t]);
        }
        y += 5;
        if (y > 260) {
            po.Draw_Line(10, y - 1, 125, y - 1, 0);
            PrintPageNumber(po, 90, 270, startPage + p - 1);
            PrintReportFooter(po, 167, 279);
            ++p;
            po.NewPage();
            head(false);
            y = 16;
        }
    }
    po.Draw_Line(10, y - 1, 130, y - 1, 0);
    PrintPageNumber(po, 90, 270, startPage + p - 1);
    PrintReportFooter(po, 167, 282);
    ends.restore();
}

bool psub_Print(vbqt::PageTarget& target, int mode, const ReportChoices& choices)
{
    try {
        switch (mode) {
        case 0: msub_PrintNMGraphs(target, choices); break;
        case 1: msub_PrintSectionTable(target, choices); break;
        case 2: msub_PrintShearPages(target, choices); break;
        case 3: msub_PrintColumnList(target, choices); break;
        default: break;
        }
        return true;
    } catch (const std::exception& e) {
        ui::Current().message("印刷できませんでした。\r" + model::TellFailure(e), "印刷", ui::MessageKind::Critical);
        return false;
    }
}

}  // namespace reports
