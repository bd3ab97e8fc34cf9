// Report pages on the sample catalogue: the program started headless in a
// settings folder of its own, projects of S or SRC columns with loads, the
// texts a recording page logged (in page millimetres), the words a PDF shows
// and where.
#pragma once

#include "drawing/recording.h"
#include "engine/kv.h"
#include "model/base_data.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/startup.h"
#include "platform/qt/print_control.h"
#include "reports/report_common.h"
#include "reports/report_drivers.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QProcess>
#include <QSettings>
#include <QString>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace reporttest {

// The surface puts every y 4.5 mm lower on paper.
inline constexpr double kPaperY = 4.5;

inline constexpr int32_t kSquareBase = 100210;  // QX250A, 450 x 450
inline constexpr int32_t kRectBase = 100240;    // QX400R, 640 x 540: behaves differently in X and Y
// Bases of the shear series: welded washers (1), recessed plate (4), slab type (6).
inline constexpr int32_t kSeries1 = 110130;  // K35-2
inline constexpr int32_t kSeries4 = 150310;  // WP200-4
inline constexpr int32_t kSeries6 = 170110;  // SV175-4-A

struct PageText {
    std::string text;
    double x, y, size;
    bool operator==(const PageText&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const PageText& t)
{
    return os << "\"" << t.text << "\" @(" << t.x << ", " << t.y << ") " << t.size << "pt";
}

// The texts of logged ops, y back in page millimetres.
inline std::vector<PageText> TextsOf(const std::vector<drawing::DrawOp>& ops)
{
    std::vector<PageText> out;
    for (const drawing::DrawOp& op : ops)
        if (op.kind == "Text") out.push_back({op.text, op.args[0], op.args[1] - kPaperY, op.fontSize});
    return out;
}

// Turns a document into PDF and PNG pages (at 100 dpi) and finds its words.
class PdfSample {
public:
    PdfSample(vbqt::PrintControl& pc, const std::string& name)
    {
        const std::filesystem::path out = std::filesystem::path(KV_TEST_OUT_DIR) / "reports";
        std::filesystem::create_directories(out);
        pdf_ = QString::fromStdString((out / (name + ".pdf")).string());
        written = pc.writePdf(pdf_);
        QProcess png;
        png.start("pdftoppm", {"-png", "-r", "100", pdf_, QString::fromStdString((out / name).string())});
        converted = png.waitForFinished(60000) && png.exitCode() == 0;
    }
    // The words of a page with their boxes, as pdftotext gives them.
    std::string Words(int page = 1) const
    {
        QProcess txt;
        txt.start("pdftotext", {"-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf_, "-"});
        txt.waitForFinished(60000);
        return Plain(txt.readAllStandardOutput()).replace("&quot;", "\"").toStdString();
    }
    // Whether the page shows word with its top left within 2 mm of (x, y)
    // in surface millimetres.
    bool Near(const std::string& word, double x, double y, int page = 1) const
    {
        const std::string html = Words(page);
        const std::string close = ">" + word + "</word>";
        for (std::size_t at = html.find(close); at != std::string::npos; at = html.find(close, at + 1)) {
            const std::size_t open = html.rfind("<word", at);
            const std::string tag = html.substr(open, at - open);
            const auto attr = [&tag](const char* name) {
                const std::size_t p = tag.find(std::string(name) + "=\"");
                return std::stod(tag.substr(p + std::strlen(name) + 2));
            };
            const double mm = 25.4 / 72;
            if (std::fabs(attr("xMin") * mm - x) < 2 && std::fabs(attr("yMin") * mm - (y + kPaperY)) < 2) return true;
        }
        return false;
    }
    // Whether the whole document's text holds `text`.
    bool Has(const std::string& text) const
    {
        QProcess txt;
        txt.start("pdftotext", {pdf_, "-"});
        txt.waitForFinished(60000);
        return Plain(txt.readAllStandardOutput()).toStdString().find(text) != std::string::npos;
    }

    bool written = false;
    bool converted = false;

private:
    // The extraction gives some kanji as their radical look-alikes (力 as
    // U+2F12, 面 as U+2FAF): back to the kanji.
    static QString Plain(const QByteArray& utf8)
    {
        QString t = QString::fromUtf8(utf8);
        for (qsizetype i = 0; i < t.size(); ++i)
            if (t[i].unicode() >= 0x2F00 && t[i].unicode() <= 0x2FDF)
                t.replace(i, 1, QString(t[i]).normalized(QString::NormalizationForm_KC));
        return t;
    }

    QString pdf_;
};

class PageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        using namespace model;
        using namespace reports;
        dir_ = std::filesystem::temp_directory_path() / ("kv report page " + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir_.string()));
        ui_ = std::make_unique<ui::testing::ScopedUi>(script);
        StartProgram(KV_SAMPLE_DIR, "");
        saved_ = PageTable();
        gPrNoHeader = gPrNoFooter = gPrNoDesignCond = gPrNoBaseColumn = gPrNoLegend = false;
        gPrNoneNG = gPrNoneOK = false;
        gPrPageNumber = true;
        gPrColorMode = false;
        gPrintShortKind = 0;
        gShortLoadKind = 0;
        gDispMode = 0;
        gCond.Bukken = "試験物件";
        gCond.Tantou = "設計者";
        gCond.BukkenDate = 45000;  // 2023/03/15
    }
    void TearDown() override
    {
        reports::PageTable() = saved_;
        ui_.reset();
        model::gKv.reset();
        std::filesystem::remove_all(dir_);
    }

    // n columns of the S template on the given base, with loads and both
    // shear shares switched on.
    static void SProject(int n, int32_t base = kSquareBase)
    {
        using namespace model;
        gCond.SMode = kTrue;
        const ColumnDataTbl tmpl = gColumnDefault;
        Size(n);
        for (int i = 1; i <= n; ++i) {
            ColumnDataTbl c = tmpl;
            c.ColName = "C" + std::to_string(i);
            c.KolvanID = base;
            c.KvV = 0;
            c.AbNum = 1;
            LoadKvBaseData(base, 1, gKvBase(i));
            SetColumnBaseGeometry(c, gKvBase(i), true);
            Loads(c, i);
            gColumns(i) = c;
        }
    }
    static void SrcProject(int n)
    {
        using namespace model;
        gCond.SMode = kFalse;
        Size(n);
        for (int i = 1; i <= n; ++i) {
            ColumnDataTbl c = gColumnDefaultSrc;
            c.ColName = "S" + std::to_string(i);
            Loads(c, i);
            c.FShear.fill(0);
            LoadKvBaseData(c.KolvanID, 1, gKvBase(i));
            gColumns(i) = c;
        }
    }
    static void Size(int n)
    {
        using namespace model;
        gCond.ColCount = static_cast<int16_t>(n);
        gColumns.redim(n);
        gKvBase.redim(n);
        gResults.redim(n);
        gCurCol = 1;
    }
    static void Loads(model::ColumnDataTbl& c, int i)
    {
        for (long k = 1; k <= 20; ++k) {
            c.LoadTbl(1, k) = 20 + i + k;
            c.LoadTbl(2, k) = 3 + 0.5 * i;
            c.LoadTbl(3, k) = 2 + 0.1 * k;
            c.LoadTbl(4, k) = 15 + i + k;
            c.LoadTbl(5, k) = 2 + 0.25 * i;
            c.LoadTbl(6, k) = 1 + 0.1 * k;
        }
    }
    // The project in tf and kgf/cm².
    static void OldUnits()
    {
        using namespace model;
        gSIDisp = false;
        gUnitFactor = 1.0;
        gKv->setSIFlag(false);
        for (long i = 1; i <= gCond.ColCount; ++i) {
            gColumns(i).Fc *= 10;
            gColumns(i).SlabFc *= 10;
        }
        gFcUpperLimit *= 10;
    }

    std::vector<PageText> Texts() const { return TextsOf(page.ops); }
    // The texts at (x, y) on the page.
    std::vector<std::string> At(double x, double y) const
    {
        std::vector<std::string> out;
        for (const PageText& t : Texts())
            if (std::fabs(t.x - x) < 1e-9 && std::fabs(t.y - y) < 1e-9) out.push_back(t.text);
        return out;
    }
    std::string One(double x, double y) const
    {
        const auto v = At(x, y);
        return v.size() == 1 ? v[0] : "(" + std::to_string(v.size()) + " texts)";
    }
    bool Contains(const std::string& text) const
    {
        for (const PageText& t : Texts())
            if (t.text == text) return true;
        return false;
    }

    drawing::RecordingPage page{1.0};
    ui::testing::ScriptedUi script;

private:
    std::unique_ptr<ui::testing::ScopedUi> ui_;
    std::filesystem::path dir_;
    reports::ReportPages saved_;
};

}  // namespace reporttest
