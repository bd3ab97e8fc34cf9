// The column list of a 1,000-column project on the page control and into a
// PDF file, the drivers' own cost per page on a recording page with pages
// that draw nothing, and the calculation sheets, the section table and the
// shear pages of a 100-column project.
#include "drawing/recording.h"
#include "engine/kv.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "platform/qt/print_control.h"
#include "reports/calc_sheet.h"
#include "reports/report_common.h"
#include "reports/report_drivers.h"
#include "reports/install_print.h"
#include "reports/section_table.h"
#include "reports/shear_page.h"

#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench/mixed_project.h"
#include "bench/qt_benchmark_main.h"

namespace {

class Project {
public:
    explicit Project(int columns)
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
        model::StartProgram(KV_SAMPLE_DIR, "");
        const model::ColumnDataTbl c = model::gColumns(1);
        const model::KvBaseTbl b = model::gKvBase(1);
        const model::ColumnResultTbl r = model::gResults(1);
        model::gCond.ColCount = static_cast<int16_t>(columns);
        model::gColumns.redim(columns);
        model::gKvBase.redim(columns);
        model::gResults.redim(columns);
        for (int i = 1; i <= columns; ++i) {
            model::gColumns(i) = c;
            model::gKvBase(i) = b;
            model::gResults(i) = r;
        }
        model::gCond.Tantou = "設計者";
    }
    ~Project() { model::gKv.reset(); }
    QTemporaryDir settings_;
};

void BM_ColumnList1000ToPdf(benchmark::State& state)
{
    Project project(1000);
    QTemporaryDir out;
    reports::ReportChoices ch;
    ch.style = 3;
    int pages = 0;
    for (auto _ : state) {
        vbqt::PrintControl pc;
        reports::psub_Print(pc, 3, ch);
        pages = pc.PageCount();
        if (!pc.writePdf(out.filePath("list.pdf"))) state.SkipWithError("the PDF could not be written");
    }
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages) * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ColumnList1000ToPdf)->Unit(benchmark::kMillisecond);

void BM_ColumnList1000OnThePageControl(benchmark::State& state)
{
    Project project(1000);
    reports::ReportChoices ch;
    ch.style = 3;
    for (auto _ : state) {
        vbqt::PrintControl pc;
        reports::psub_Print(pc, 3, ch);
        benchmark::DoNotOptimize(pc.PageCount());
    }
}
BENCHMARK(BM_ColumnList1000OnThePageControl)->Unit(benchmark::kMillisecond);

// Style 0 over 100 columns whose pages draw nothing: the run's own work per
// page (flags, short-term switch with its design-stress rebuilds, the final
// re-check of every printed column).
void BM_DriverPerPage(benchmark::State& state)
{
    Project project(100);
    const reports::ReportPages saved = reports::PageTable();
    reports::PageTable().calcSheet = [](drawing::clsPrintOut&, int16_t, int) {};
    reports::ReportChoices ch;
    for (int16_t i = 1; i <= 100; ++i) ch.columns.push_back(i);
    reports::gPrintShortKind = 1;
    for (auto _ : state) {
        drawing::RecordingPage page(1.0);
        if (!reports::psub_Print(page, 0, ch)) state.SkipWithError("the run failed");
        benchmark::DoNotOptimize(page.pageCount);
    }
    state.counters["per page"] = benchmark::Counter(100 * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    reports::PageTable() = saved;
}
BENCHMARK(BM_DriverPerPage)->Unit(benchmark::kMillisecond);

// A style through the driver over a 100-column project of eight base models
// and both turns, every page onto the page control and into a PDF file.
void DriverToPdf(benchmark::State& state, int style, void (*registerPages)())
{
    Project project(1);
    benchdata::MakeMixedProject(100);
    model::gCond.Tantou = "設計者";
    const reports::ReportPages saved = reports::PageTable();
    registerPages();
    QTemporaryDir out;
    reports::ReportChoices ch;
    for (int16_t i = 1; i <= 100; ++i) ch.columns.push_back(i);
    int pages = 0;
    for (auto _ : state) {
        vbqt::PrintControl pc;
        pc.setPaperSize(9);
        pc.setOrientation(0);
        if (!reports::psub_Print(pc, style, ch)) state.SkipWithError("the run failed");
        pages = pc.PageCount();
        if (!pc.writePdf(out.filePath("report.pdf"))) state.SkipWithError("the PDF could not be written");
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages) * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
    reports::PageTable() = saved;
}

// Style 0: one calculation sheet a column.
void BM_CalcSheets100ToPdf(benchmark::State& state) { DriverToPdf(state, 0, reports::RegisterCalcSheetPage); }
BENCHMARK(BM_CalcSheets100ToPdf)->Unit(benchmark::kMillisecond);

// Style 1: the legend and the 17 table pages.
void BM_SectionTable100ToPdf(benchmark::State& state) { DriverToPdf(state, 1, reports::RegisterSectionTablePages); }
BENCHMARK(BM_SectionTable100ToPdf)->Unit(benchmark::kMillisecond);

// One sheet on a recording page: the page's own work (engine, checks,
// texts, figure, table, diagram) without painting.
void BM_CalcSheetOnRecordingPage(benchmark::State& state)
{
    Project project(1);
    benchdata::MakeMixedProject(8);
    model::gCond.Tantou = "設計者";
    for (auto _ : state) {
        drawing::RecordingPage page(1.0);
        drawing::clsPrintOut po;
        po.setprpMode(1);
        po.setprpVsPrinter(&page);
        reports::PrintCalcSheetPage(po, 4, 1);
        benchmark::DoNotOptimize(page.ops.size());
    }
}
BENCHMARK(BM_CalcSheetOnRecordingPage)->Unit(benchmark::kMicrosecond);

// Every shear page of a 100-column project (both directions, cases 1, 4, 5,
// 6 and 7: 1,000 pages) with the program's base pictures, onto the page
// control and into a PDF file.
void BM_ShearPages100ToPdf(benchmark::State& state)
{
    Project project(1);
    benchdata::MakeMixedProject(100);
    model::gCond.Tantou = "設計者";
    const reports::ReportPages saved = reports::PageTable();
    const reports::ShearPictureSource pictures = reports::ShearPicture();
    InstallReportPages();
    QTemporaryDir out;
    int pages = 0;
    for (auto _ : state) {
        vbqt::PrintControl pc;
        pc.setPaperSize(9);
        pc.setOrientation(0);
        pc.StartDoc();
        drawing::clsPrintOut po;
        po.setprpMode(1);
        po.setprpVsPrinter(&pc);
        po.setFontName(reports::kReportFont);
        int n = 0;
        for (int16_t i = 1; i <= 100; ++i)
            for (int16_t d = 0; d <= 1; ++d)
                for (int16_t k : {1, 4, 5, 6, 7}) {
                    if (n > 0) po.NewPage();
                    reports::PrintShearPageOfColumn(po, i, ++n, d, k);
                }
        pc.EndDoc();
        pages = pc.PageCount();
        if (!pc.writePdf(out.filePath("shear.pdf"))) state.SkipWithError("the PDF could not be written");
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages) * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
    reports::SetShearPictureSource(pictures);
    reports::PageTable() = saved;
}
BENCHMARK(BM_ShearPages100ToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
