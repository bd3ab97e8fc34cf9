// Draws every variant of the base figures and the RC section on real picture
// boxes and keeps them for a person to look at (samples/kv_figure_*.png,
// samples/rc_section.png), and one printed page with the figures where the
// calculation sheet puts them (samples/kv_figure_sheet.pdf and .png). Each
// cell and each figure of the page must be what a direct call of its routine
// records, and must show in the picture.
#include "drawing/kv_figure_h.h"
#include "drawing/kv_figure_src.h"
#include "drawing/kv_figure_tube.h"
#include "drawing/rc_section.h"
#include "kv_figure_fixture.h"
#include "platform/qt/picture_box.h"
#include "platform/qt/print_control.h"
#include "sample_check.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace drawing;
using namespace figtest;
using namespace samplecheck;

namespace {

constexpr int kCell = 300;  // pixels

struct Cell {
    std::string caption;
    std::function<void()> setup;  // fills column 1
    std::function<void(clsPrintOut&, const FigureFrameTbl&)> draw;
};

struct Gallery : FigureTest {
    // The main window's frame: 100 twips a unit, origin at 0.8 of the half
    // box less one unit.
    QImage render(const Cell& c, int16_t mode) {
        vbqt::PictureBox box, ruler;
        for (vbqt::PictureBox* b : {&box, &ruler}) {
            b->resize(kCell, kCell);
            b->setTwipsPerPixel(15, 15);
        }
        const FigureFrameTbl f = Frame(0.8 * box.ScaleWidth() / 2, 0.8 * box.ScaleHeight() / 2 - 100,
                                       100, mode);
        c.setup();
        TeePicture tee(box, ruler);
        clsPrintOut s;
        s.setprpMode(2);
        s.setprpPicture(&tee);
        c.draw(s, f);

        c.setup();
        MeasuredPicture direct(ruler);
        clsPrintOut d;
        d.setprpMode(2);
        d.setprpPicture(&direct);
        c.draw(d, f);
        EXPECT_EQ(Strings(tee.log.ops), Strings(direct.ops)) << c.caption;
        ExpectShown(box.image(), PictureProbes(tee.log.ops, 15), 20, c.caption);
        return box.image().copy();
    }
    void write(const std::string& name, const std::vector<Cell>& cells, int16_t mode = 1) {
        const int cols = 6;
        const int rows = static_cast<int>((cells.size() + cols - 1) / cols);
        QImage sheet(cols * kCell, rows * (kCell + 18), QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter p(&sheet);
        for (size_t k = 0; k < cells.size(); ++k) {
            const int x = static_cast<int>(k % cols) * kCell;
            const int y = static_cast<int>(k / cols) * (kCell + 18);
            p.drawText(x + 4, y + 14, QString::fromStdString(cells[k].caption));
            p.drawImage(x, y + 18, render(cells[k], mode));
            p.drawRect(x, y + 18, kCell - 1, kCell - 1);
        }
        p.end();
        QDir().mkpath(KV_TEST_OUT_DIR);
        const QString path = QString::fromStdString(std::string(KV_TEST_OUT_DIR "/") + name);
        ASSERT_TRUE(sheet.save(path));
    }

    void tubeBase(int16_t colV, int16_t abv, int16_t kvv, int16_t abn, bool asym, double ecc) {
        col() = model::ColumnDataTbl{};
        base() = model::KvBaseTbl{};
        col().ColV = colV;
        base().AbV = abv;
        base().KvV = kvv;
        base().AbN = abn;
        base().RotateMode = asym ? -1 : 0;
        base().HenshinE(0) = base().HenshinE(1) = ecc;
        setKvLen(1, {500, 450, 400, 350, 300, 250});
    }
    void rcColumn(int16_t colV, int16_t abv, int16_t kvv, int16_t abn, bool asym) {
        tubeBase(colV, abv, kvv, abn, asym, 0);
        col().cD(0) = 800;
        col().cD(1) = 750;
        col().RmN(0) = 5;
        col().RmN(1) = 4;
        col().HoopN(0) = 2;
        col().HoopN(1) = 2;
        col().RBarVal = "22";
        col().RBarMat = "SD345";
        col().HoopSize = "D13";
        col().HoopMat = "SD295";
        col().HoopPitch = 100;
        col().rD(0) = 720;
        col().RebarZone(0, 1) = 1;
    }
};

auto tube(int16_t dir) {
    return [dir](clsPrintOut& s, const FigureFrameTbl& f) {
        int16_t i = 1, d = dir;
        DrawKvFigureTube(s, f, i, d);
    };
}

TEST_F(Gallery, TubeFigures) {
    struct V {
        const char* name;
        int16_t colV, abv, kvv, abn;
        bool asym;
        double ecc;
    };
    const V variants[] = {
        {"box AbV0 AbN2", 0, 0, 1, 2, false, 0},  {"round AbV0 AbN3", 1, 0, 1, 3, false, 0},
        {"box AbV0 AbN4", 0, 0, 1, 4, false, 0},  {"box AbV0 AbN5 KvV5", 0, 0, 5, 5, false, 0},
        {"box AbV0 KvV4", 0, 0, 4, 2, false, 0},  {"box AbV0 KvV6", 0, 0, 6, 2, false, 0},
        {"box AbV1 AbN2", 0, 1, 1, 2, false, 0},  {"box AbV1 AbN3", 0, 1, 1, 3, false, 0},
        {"round AbV1 AbN0", 1, 1, 1, 0, false, 0}, {"box AbV1 KvV4", 0, 1, 4, 2, false, 0},
        {"box AbV1 KvV6", 0, 1, 6, 2, false, 0},  {"box eccentric", 0, 0, 1, 2, false, 50},
        {"round eccentric", 1, 0, 1, 2, false, 50}, {"box asymmetric", 0, 0, 1, 2, true, 80},
        {"AbV 2 (none)", 0, 2, 1, 2, false, 0},
    };
    std::vector<Cell> cells;
    for (const V& v : variants)
        for (int16_t dir = 0; dir < 4; ++dir) {
            if (dir > 1 && !v.asym && v.ecc == 0) continue;
            cells.push_back({std::string(v.name) + " dir " + std::to_string(dir),
                             [this, v] { tubeBase(v.colV, v.abv, v.kvv, v.abn, v.asym, v.ecc); },
                             tube(dir)});
        }
    cells.push_back({"gNTFlag False, AbV1", [this] {
                         tubeBase(0, 1, 1, 3, false, 0);
                         gNTFlag = false;
                     },
                     tube(0)});
    write("kv_figure_tube.png", cells);
}

TEST_F(Gallery, HFigures) {
    std::vector<Cell> cells;
    for (bool nt : {true, false})
        for (int16_t dir : {0, 1})
            cells.push_back({std::string("H dir ") + std::to_string(dir) + (nt ? "" : " NT off"),
                             [this, nt] {
                                 tubeBase(2, 0, 1, 2, true, 0);
                                 gNTFlag = nt;
                             },
                             [dir](clsPrintOut& s, const FigureFrameTbl& f) {
                                 int16_t i = 1, d = dir;
                                 DrawKvFigureH(s, f, i, d);
                             }});
    write("kv_figure_h.png", cells);
}

std::vector<Cell> srcCells(Gallery* g, int16_t mode) {
    std::vector<Cell> cells;
    const char* names[] = {"cross", "T", "LL", "LR", "H"};
    for (int kind = 3; kind <= 7; ++kind)
        for (int16_t dir = 0; dir < 4; ++dir)
            cells.push_back({std::string(names[kind - 3]) + " dir " + std::to_string(dir) +
                                 (mode == 0 ? " preview" : ""),
                             [g, kind] {
                                 g->tubeBase(static_cast<int16_t>(kind), 0, 1, 2, true, 0);
                                 g->setKvLen(1, {550, 500, 412.5, 380, 0, 0});
                             },
                             [kind, dir](clsPrintOut& s, const FigureFrameTbl& f) {
                                 int16_t i = 1, d = dir;
                                 switch (kind) {
                                 case 3: DrawKvFigureSrcX(s, f, i, d, 4, 3); break;
                                 case 4: DrawKvFigureSrcT(s, f, i, d, 4, 3); break;
                                 case 7: DrawKvFigureSrcH(s, f, i, d, 4, 3); break;
                                 default:
                                     DrawKvFigureSrcL(s, f, static_cast<int16_t>(kind), i, d, 4, 3);
                                 }
                             }});
    return cells;
}

TEST_F(Gallery, SrcFigures) {
    write("kv_figure_src.png", srcCells(this, 1), 1);
    write("kv_figure_src_preview.png", srcCells(this, 0), 0);
}

TEST_F(Gallery, RcSections) {
    struct V {
        const char* name;
        int16_t colV, abv, kvv, abn;
        bool asym;
    };
    const V variants[] = {
        {"box, asymmetric", 0, 0, 1, 2, true}, {"H", 2, 0, 1, 2, true},
        {"symmetric, series 6", 0, 0, 6, 2, false}, {"symmetric", 1, 0, 1, 2, false},
        {"four-sided, series 6", 0, 1, 6, 3, false}, {"four-sided, AbN 3", 0, 1, 1, 3, false},
    };
    std::vector<Cell> cells;
    for (const V& v : variants)
        for (int16_t dir : {0, 1})
            cells.push_back({std::string(v.name) + " dir " + std::to_string(dir),
                             [this, v] { rcColumn(v.colV, v.abv, v.kvv, v.abn, v.asym); },
                             [dir](clsPrintOut& s, const FigureFrameTbl& f) {
                                 int16_t i = 1, d = dir;
                                 DrawRcColumnSection(s, f, i, d);
                             }});
    write("rc_section.png", cells);
}

// The calculation sheet's places: the tube figure at (136.5, 30) at 0.95 mm
// a unit with the RC section at (170.5, 30); the SRC figure at (160, 30) at
// 1 mm, here 80 mm lower so that both rows show on one page, with the H
// figure beside it.
TEST_F(Gallery, CalculationSheetPage) {
    struct Figure {
        const char* name;
        std::function<void()> setup;
        std::function<void(clsPrintOut&)> draw;
        double captionY;  // 0: no caption after it
        const char* caption;
        size_t from = 0, to = 0;  // its operations on the page
    };
    const auto tubeAndRc = [this] {
        rcColumn(0, 0, 1, 2, true);
        base().HenshinE(0) = 80;
    };
    std::vector<Figure> figures = {
        {"tube", tubeAndRc,
         [](clsPrintOut& o) {
             int16_t i = 1, d = 0;
             DrawKvFigureTube(o, Frame(136.5, 30, 0.95), i, d);
         },
         0, ""},
        {"RC section", tubeAndRc,
         [](clsPrintOut& o) {
             int16_t i = 1, d = 0;
             DrawRcColumnSection(o, Frame(170.5, 30, 1), i, d);
         },
         30, "角形鋼管 (136.5, 30) 0.95 / RC 断面 (170.5, 30) 1.0"},
        {"SRC cross",
         [this] {
             tubeBase(3, 0, 1, 2, true, 0);
             setKvLen(1, {550, 500, 412.5, 380, 0, 0});
         },
         [](clsPrintOut& o) {
             int16_t i = 1, d = 0;
             DrawKvFigureSrcX(o, Frame(160, 110, 1), i, d, 3, 3);
         },
         110, "SRC 十字 (160, 30) 1.0 (80 mm 下)"},
        {"H", [this] { tubeBase(2, 0, 1, 2, true, 0); },
         [](clsPrintOut& o) {
             int16_t i = 1, d = 0;
             DrawKvFigureH(o, Frame(90, 110, 0.95), i, d);
         },
         118, "H 形 0.95"},
    };
    const auto page = [](vbqt::PrintControl& pc, clsPrintOut& s) {
        pc.StartDoc();
        s.setprpMode(1);
        s.setprpVsPrinter(&pc);
        s.setFontSize(9);
    };
    const auto caption = [](clsPrintOut& s, double x, double y, const std::string& t) {
        s.setCurrentX(x);
        s.setCurrentY(y);
        s.DPrint(t);
    };
    vbqt::PrintControl pc;
    clsPrintOut s;
    page(pc, s);
    caption(s, 20, 10, "基礎図と RC 断面 (計算書の配置)");
    for (Figure& g : figures) {
        g.setup();
        g.from = pc.pages().front().ops.size();
        g.draw(s);
        g.to = pc.pages().front().ops.size();
        if (g.captionY > 0) caption(s, 20, g.captionY, g.caption);
    }
    pc.EndDoc();
    ASSERT_EQ(pc.PageCount(), 1);

    QDir().mkpath(KV_TEST_OUT_DIR);
    const QString pdf = QStringLiteral(KV_TEST_OUT_DIR "/kv_figure_sheet.pdf");
    QFile::remove(pdf);
    ASSERT_TRUE(pc.writePdf(pdf));
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    const QImage img = pc.renderPage(0, 150);
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(img.save(QStringLiteral(KV_TEST_OUT_DIR "/kv_figure_sheet.png")));

    const auto& ops = pc.pages().front().ops;
    for (const Figure& g : figures) {
        g.setup();
        vbqt::PrintControl own;
        clsPrintOut o;
        page(own, o);
        g.draw(o);
        own.EndDoc();
        EXPECT_EQ(Strings(own.pages().front().ops), Strings(ops, g.from, g.to)) << g.name;
        ExpectShown(img, PageProbes(ops, g.from, g.to, 150), 5, g.name);
    }
}

}  // namespace
