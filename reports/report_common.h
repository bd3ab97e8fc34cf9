// What every report page shares: the report option flags a run copies from
// the print dialog, the page set-up, the header, the page number and the
// footer rule, and the short date of the project.
#pragma once

#include "drawing/print_out.h"
#include "model/records.h"

#include <cstdint>
#include <string>

namespace reports {

// Report option flags: set from the print dialog when a run starts, read by
// every page; all false at program start, kept between runs.
extern bool gPrColorMode;
extern bool gPrNoHeader;
extern bool gPrNoFooter;
extern bool gPrPageNumber;
extern bool gPrNoDesignCond;
extern bool gPrNoBaseColumn;
extern bool gPrNoneNG;
extern bool gPrNoneOK;
extern bool gPrNoLegend;
// The short-term load kind printed (0 seismic, 1 wind, 2 snow).
extern int16_t gPrintShortKind;

// A check box state into its flag: 0 clears, 1 sets, 2 (greyed) leaves it.
void CopyBox(int state, bool& flag);

// The report font.
inline constexpr const char* kReportFont = "ＭＳ 明朝";

// Paper A4 portrait, millimetres, the report font at 6 with an empty text,
// then size 8.
void SetupReportPage(drawing::clsPrintOut& po);
// The project name at (95, 1) in size 10 unless the header is off.
void PrintReportHeader(drawing::clsPrintOut& po);
// "- n -" at (x, y) when page numbers are on.
void PrintPageNumber(drawing::clsPrintOut& po, double x, double y, int page);
// The report pages' own form at (95, 278) when page numbers are on: a minus,
// the number as Str writes it (a blank before a non-negative one), " -".
void PrintPageMark(drawing::clsPrintOut& po, int page);
// "設計担当：" person, two blanks and the project date, ending near b at
// line y; nothing without a person in charge or with the footer off.
void PrintReportFooter(drawing::clsPrintOut& po, double b, double y);
// The x where the person part of the footer starts for a right end b; the
// width counts the first 49 characters of the person, trimmed.
double FooterLeft(double b, const std::string& person);

// The product's short name on the report pages by the base's series; an SRC
// base is always "ｺﾙｳﾞｧﾝ".
const char* ProductShortName(int16_t kvV, bool sMode);

// The SRC column's RC lines, the direction the base shows first (KvDir
// turned by 90° or 270°: Y) first: "RC: 800× 900", "鉄筋:D22(SD345)" and the
// bar counts with "(*)" for bundled bars and the note "  (*):束ね有り".
std::string SrcRcSizeText(const model::ColumnDataTbl& col);
std::string SrcBarText(const model::ColumnDataTbl& col);
std::string SrcBarCountText(const model::ColumnDataTbl& col);

// An OLE Automation date as "yyyy/MM/dd".
std::string ShortDateText(double oleDate);

// The first page number of a run from the page-number box: the number at the
// start of the text, halves to even, kept within -32768..32767.
int StartPageNumber(const std::string& text);

}  // namespace reports
