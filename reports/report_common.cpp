#include "reports/report_common.h"

#include "model/globals.h"
#include "platform/text/fixed_text.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace reports {

bool gPrColorMode = false;
bool gPrNoHeader = false;
bool gPrNoFooter = false;
bool gPrPageNumber = false;
bool gPrNoDesignCond = false;
bool gPrNoBaseColumn = false;
bool gPrNoneNG = false;
bool gPrNoneOK = false;
bool gPrNoLegend = false;
int16_t gPrintShortKind = 0;

void CopyBox(int state, bool& flag)
{
    if (state == 0) flag = false;
    if (state == 1) flag = true;
}

void SetupReportPage(drawing::clsPrintOut& po)
{
    po.setPaperSize(9);
    po.setOrientation(0);
    po.setScaleMode(6);
    po.setFontName(kReportFont);
    po.setFontSize(6);
    po.DPrint("");
    po.setFontSize(8);
}

void PrintReportHeader(drawing::clsPrintOut& po)
{
    if (gPrNoHeader) return;
    po.setFontSize(10);
    po.setCurrentX(95);
    po.setCurrentY(1);
    po.DPrint(text::FieldText(model::gCond.Bukken));
}

void PrintPageNumber(drawing::clsPrintOut& po, double x, double y, int page)
{
    if (!gPrPageNumber) return;
    po.setCurrentX(x);
    po.setCurrentY(y);
    po.DPrint("- " + std::to_string(page) + " -");
}

void PrintPageMark(drawing::clsPrintOut& po, int page)
{
    if (!gPrPageNumber) return;
    po.setCurrentX(95);
    po.setCurrentY(278);
    po.DPrint("-" + vb::Str(page) + " -");
}

double FooterLeft(double b, const std::string& person)
{
    // Two bytes a character of the first 49, as the width rule counts them;
    // a longer name prints whole beyond the place.
    const double bytes = 2.0 * static_cast<double>(text::CharCount(vb::Trim(text::Left(person, 49))));
    return b - (bytes + 10) / 2 * 2.7;
}

void PrintReportFooter(drawing::clsPrintOut& po, double b, double y)
{
    if (gPrNoFooter) return;
    const std::string person = text::FieldText(model::gCond.Tantou);
    if (person.empty()) return;
    po.setCurrentX(FooterLeft(b, person));
    po.setCurrentY(y);
    po.DPrint("設計担当：" + person + "  " + ShortDateText(model::gCond.BukkenDate));
}

namespace {

long FirstShown(const model::ColumnDataTbl& col) { return col.KvDir & 1; }

}  // namespace

std::string SrcRcSizeText(const model::ColumnDataTbl& col)
{
    const long a = FirstShown(col);
    return "RC:" + vb::Str(col.cD(a)) + "×" + vb::Str(col.cD(1 - a));
}

std::string SrcBarText(const model::ColumnDataTbl& col)
{
    return "鉄筋:" + text::FieldText(col.RBarVal) + "(" + text::FieldText(col.RBarMat) + ")";
}

std::string SrcBarCountText(const model::ColumnDataTbl& col)
{
    const long a = FirstShown(col);
    const auto count = [&col](long d) { return vb::Str(col.RtN(d)) + (col.RTabane(d) == 1 ? "(*)" : ""); };
    const bool anyBundled = col.RTabane(0) == 1 || col.RTabane(1) == 1;
    return count(a) + "×" + count(1 - a) + (anyBundled ? "  (*):束ね有り" : "");
}

const char* ProductShortName(int16_t kvV, bool sMode)
{
    if (!sMode) return "ｺﾙｳﾞｧﾝ";
    switch (kvV) {
    case 2: return "ｾﾞﾌﾀ";
    case 4: return "ｺﾙｳﾞｧﾝ･ﾙﾓ";
    case 6: return "ｿﾙｳﾞｪﾅｽ";
    default: return "ｺﾙｳﾞｧﾝ";
    }
}

std::string ShortDateText(double oleDate)
{
    using namespace std::chrono;
    if (!std::isfinite(oleDate) || std::fabs(oleDate) > 3e6) return {};
    constexpr sys_days epoch = year{1899} / December / 30;
    const year_month_day d{epoch + days{static_cast<long>(std::floor(oleDate))}};
    char out[16];
    std::snprintf(out, sizeof out, "%04d/%02u/%02u", static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                  static_cast<unsigned>(d.day()));
    return out;
}

int StartPageNumber(const std::string& text)
{
    const double v = vb::Val(text);
    if (!(v > -32768.5)) return -32768;
    if (!(v < 32767.5)) return 32767;
    return vb::CInt(v);
}

}  // namespace reports
