// A few hundred kit primitives on each drawing target.
#include "drawing/kit.h"
#include "drawing/recording.h"
#include "platform/qt/ole_color.h"
#include "platform/qt/picture_box.h"
#include "platform/qt/print_control.h"

#include <QApplication>

#include <benchmark/benchmark.h>

using namespace drawing;

namespace {

// 100 lines, 100 arcs, 100 texts.
void drawPrimitives(clsPrintOut& po, const FigureFrameTbl& f) {
    for (int i = 0; i < 100; ++i) {
        const float t = static_cast<float>(i) * 0.3f;
        DrawLineRotated(po, f, -1, kPi / 2 * (i % 4), t, 0, t + 5, 10);
        DrawArcRotated(po, f, static_cast<int16_t>(i % 3 - 1), 0, t, 5, 3, 0.2f, 2.5f, 0, 0);
        po.setCurrentX(f.X0 + t * f.ScaleX);
        po.setCurrentY(f.Y0 + 20 * f.ScaleY);
        po.DPrint("123");
    }
}

FigureFrameTbl frameOf(double scale) {
    FigureFrameTbl f;
    f.X0 = f.Y0 = 10 * scale;
    f.ScaleX = f.ScaleY = scale;
    return f;
}

void BM_RecordingPicture(benchmark::State& state) {
    RecordingPicture pic;
    clsPrintOut po;
    po.setprpMode(2);
    po.setprpPicture(&pic);
    for (auto _ : state) {
        pic.ops.clear();
        drawPrimitives(po, frameOf(1));
        benchmark::DoNotOptimize(pic.ops.data());
    }
    state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(BM_RecordingPicture);

void BM_PictureBox(benchmark::State& state) {
    vbqt::PictureBox box;
    box.resize(800, 600);
    box.setTwipsPerPixel(15, 15);
    clsPrintOut po;
    po.setprpMode(2);
    po.setprpPicture(&box);
    po.setFontSize(11);
    po.setDrawWidth(2);
    for (auto _ : state) {
        po.Cls();
        drawPrimitives(po, frameOf(100));
    }
    state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(BM_PictureBox)->Unit(benchmark::kMillisecond);

void BM_PrintControlRecord(benchmark::State& state) {
    vbqt::PrintControl pc;
    clsPrintOut po;
    po.setprpMode(1);
    po.setprpVsPrinter(&pc);
    for (auto _ : state) {
        pc.StartDoc();
        drawPrimitives(po, frameOf(1));
    }
    state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(BM_PrintControlRecord);

void BM_PrintControlRender(benchmark::State& state) {
    vbqt::PrintControl pc;
    clsPrintOut po;
    po.setprpMode(1);
    po.setprpVsPrinter(&pc);
    pc.StartDoc();
    drawPrimitives(po, frameOf(1));
    for (auto _ : state) benchmark::DoNotOptimize(pc.renderPage(0, 150));
    state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(BM_PrintControlRender)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
