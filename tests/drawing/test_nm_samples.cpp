// Draws an S and an SRC diagram of sample-catalogue columns on the real
// targets and keeps them for a person to look at: samples/nm_s.png and
// samples/nm_src.png (picture box), samples/nm_diagrams.pdf (one page, both
// diagrams in 82.5 x 138 mm areas) and its page as samples/nm_diagrams_page.png.
// Each diagram must be what a direct call records, and must show.
#include "drawing/globals.h"
#include "drawing/nm_diagram.h"
#include "model/base_data.h"
#include "nm_fixture.h"
#include "platform/qt/ole_color.h"
#include "platform/qt/picture_box.h"
#include "platform/qt/print_control.h"
#include "sample_check.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

using namespace drawing;
using nmtest::NMGlobals;
using namespace samplecheck;

namespace {

// A steel column on a series-4 base (rebar zones) and an SRC cross column,
// with design stresses (tf, tf·m) that pass and fail.
void SetUpColumn(bool steel) {
    kv::KV& engine = nmtest::SampleEngine();
    engine.setSIFlag(true);
    model::gSIDisp = true;
    model::gUnitFactor = 9.80665;
    model::gCond.SMode = steel ? model::kTrue : model::kFalse;
    model::gCond.DesignRootX = steel ? 1 : 3;
    model::ColumnDataTbl col = model::MakeColumnDefault(1, true, 24);
    if (!steel) col = model::MakeColumnDefaultSrc(col, true);
    model::gColumns(1) = col;
    model::LoadKvBaseData(engine, col.KolvanID, col.AbNum, model::gKvBase(1));
    model::gColumns(1).KvV = model::gKvBase(1).KvV;
    model::ColumnResultTbl& res = model::gResults(1);
    const double scale = steel ? 1 : 8;
    struct Stress {
        long k;
        double N, M;
        int16_t verdict;
    };
    for (const Stress& s : {Stress{1, 20, 1.5, -1}, Stress{4, 30, 3, -1}, Stress{5, 5, 6.5, 0},
                            Stress{6, 40, 5, -1}, Stress{7, -3, 6, 0}}) {
        for (long d = 0; d <= 1; ++d) {
            res.DesignStress(3 * d + 1, s.k) = s.N * scale * (d ? 0.8 : 1);
            res.DesignStress(3 * d + 2, s.k) = s.M * scale * (d ? 0.8 : 1);
            res.JadgeM(d, s.k) = s.verdict;
        }
    }
    if (steel) {
        model::gNMCurveShow(0) = true;
        model::gNMCurveShow(1) = true;
        model::gNMCurveShow(2) = true;
        model::gNMCurveShow(3) = true;
    } else {
        model::gNMCurveShow(0) = false;
        model::gNMCurveShow(1) = true;
        model::gNMCurveShow(2) = false;
    }
}

void DrawOnScreen(const char* file, bool steel) {
    NMGlobals globals;
    vbqt::PictureBox box, ruler;
    for (vbqt::PictureBox* b : {&box, &ruler}) {
        b->resize(640, 480);
        b->setTwipsPerPixel(15, 15);
    }
    NMEngineKv kv(nmtest::SampleEngine());
    const auto draw = [&](vbqt::PictureTarget& target) {
        SetUpColumn(steel);
        clsPrintOut po;
        po.setprpMode(2);
        po.setprpPicture(&target);
        po.setFontName("ＭＳ 明朝");
        po.setFontSize(11);
        int16_t iCol = 1, dir = 999;
        DrawNMDiagram(kv, po, iCol, dir);
    };
    TeePicture tee(box, ruler);
    draw(tee);
    MeasuredPicture direct(ruler);
    draw(direct);
    EXPECT_EQ(Strings(tee.log.ops), Strings(direct.ops));
    ExpectShown(box.image(), PictureProbes(tee.log.ops, 15), 50, file);

    QDir().mkpath(KV_TEST_OUT_DIR);
    const QString path = QString(KV_TEST_OUT_DIR "/") + file;
    ASSERT_TRUE(box.image().save(path));
    const QImage img(path);
    ASSERT_FALSE(img.isNull());
    // The shown state's curve colour is somewhere on the picture.
    const QColor want = steel ? QColor(255, 0, 0) : QColor(0, 0, 255);
    bool found = false;
    for (int y = 0; y < img.height() && !found; ++y)
        for (int x = 0; x < img.width() && !found; ++x) found = img.pixelColor(x, y) == want;
    EXPECT_TRUE(found);
}

TEST(NMSamples, SteelDiagramPng) { DrawOnScreen("nm_s.png", true); }

TEST(NMSamples, SrcDiagramPng) { DrawOnScreen("nm_src.png", false); }

TEST(NMSamples, BothDiagramsOnPaperPdf) {
    NMGlobals globals;
    NMEngineKv kv(nmtest::SampleEngine());
    const auto draw = [&](vbqt::PrintControl& pc, bool steel) {
        clsPrintOut po;
        po.setprpMode(1);
        po.setprpVsPrinter(&pc);
        po.setFontName("ＭＳ 明朝");
        po.setFontSize(6);
        SetUpColumn(steel);
        gNMChart.AreaLeft = steel ? 15 : 110;
        gNMChart.AreaTop = 30;
        gNMChart.AreaWidth = 82.5;
        gNMChart.AreaHeight = 138;
        int16_t iCol = 1, dir = 999;
        DrawNMDiagram(kv, po, iCol, dir);
    };
    vbqt::PrintControl pc;
    pc.StartDoc();
    size_t bounds[3] = {0, 0, 0};
    for (const bool steel : {true, false}) {
        draw(pc, steel);
        bounds[steel ? 1 : 2] = pc.pages().front().ops.size();
    }
    pc.EndDoc();
    ASSERT_EQ(pc.PageCount(), 1);

    QDir().mkpath(KV_TEST_OUT_DIR);
    const QString path = QStringLiteral(KV_TEST_OUT_DIR "/nm_diagrams.pdf");
    QFile::remove(path);
    ASSERT_TRUE(pc.writePdf(path));
    EXPECT_GT(QFileInfo(path).size(), 1000);
    const QImage img = pc.renderPage(0, 200);
    EXPECT_TRUE(img.save(QStringLiteral(KV_TEST_OUT_DIR "/nm_diagrams_page.png")));

    const auto& ops = pc.pages().front().ops;
    for (const bool steel : {true, false}) {
        const size_t from = bounds[steel ? 0 : 1], to = bounds[steel ? 1 : 2];
        const char* what = steel ? "steel diagram" : "SRC diagram";
        vbqt::PrintControl own;
        own.StartDoc();
        draw(own, steel);
        own.EndDoc();
        EXPECT_EQ(Strings(own.pages().front().ops), Strings(ops, from, to)) << what;
        ExpectShown(img, PageProbes(ops, from, to, 200), 50, what);
    }
}

}  // namespace
