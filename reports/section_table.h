// The section table: the chosen columns side by side, six to an A4 page,
// each with its stresses, strengths, ratios, verdicts and zones case by
// case in X and Y, the page's title column at the left.
#pragma once

#include "drawing/print_out.h"
#include "model/records.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace reports {

struct TablePos {
    double x = 0;
    double y = 0;
};

// One load case of a column's block with its ten rows already as text.
struct SectionGroupTbl {
    TablePos TitlePos;
    std::string Title;
    // (1) the case mark "l", "s" or "", (2) the strength mark "a" or "u".
    std::array<std::string, 3> Marks;
    int16_t RowCount = 0;
    // Element 0 unused. Text1 direction X, Text2 direction Y; Text3 and
    // Text4 stay empty (they belong to a two-axis layout).
    std::array<std::string, 11> Text1, Text2, Text3, Text4;
    std::array<TablePos, 11> RowPos;
    std::array<uint8_t, 11> RowKind{};
};

// The groups at 1..count; element 0 stays empty.
using SectionGroups = std::vector<SectionGroupTbl>;

// The slot width of a block and the first row's top.
inline constexpr double kSectionSlotWidth = 27;
inline constexpr int kSectionSlotsPerPage = 6;

// Appends a group with ten rows of kinds 1..10 and no texts yet.
void AddTableGroup(const std::string& title, const std::string& caseMark, const std::string& strengthMark,
                   int16_t& count, SectionGroups& groups);
// |x / cap|, 0 for a zero strength.
double RatioOrZero(double x, double cap);
// A stress in tf or tf·m shown in the display units, as a number cell.
std::string FormatStress(double x);
// "Nl", "Mal", "Ms/Mas", "判定", "ゾーン", ...; "" for a kind outside 1..10.
std::string GetTableRowTitle(int kind, const std::string& caseMark, const std::string& strengthMark);

// The groups of a column from its design table and its check results under
// the printed short-term kind (gPrintShortKind), laid out from y 46.
SectionGroups BuildSectionGroups(const model::DesignTable& des, const model::ColumnResultTbl& res);
// Places the group titles and rows in steps of 3.65 mm from y 46; the table's
// bottom.
double LayoutSectionGroups(SectionGroups& groups);

// One column's block in its slot (1..6) of the current page; slot 1 also
// prints the page's title column, header, title, page number and footer.
// Sends the column to the engine and checks it again first, so its results
// are those of the short-term kind in force. Never starts a page.
void PrintSectionColumnBlock(drawing::clsPrintOut& po, int16_t col, int page, int slot);

// Puts the legend page and the column block into the drivers' page table.
void RegisterSectionTablePages();

}  // namespace reports
