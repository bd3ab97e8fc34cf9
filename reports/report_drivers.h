// The report runs of the print dialog: one document of one style on a page
// target, built from the dialog's choices. Styles 0 to 2 call page routines
// that the calculation-sheet, section-table and shear-page code puts into the
// page table; style 3 is the column list.
#pragma once

#include "drawing/print_out.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace reports {

// What a run reads of the print dialog. Check boxes are 0 unchecked,
// 1 checked, 2 greyed (the flag stays).
struct ReportChoices {
    int style = 0;                        // 0 グラフ, 1 柱脚断面算定表, 2 せん断, 3 リスト
    std::vector<int16_t> columns;         // the checked columns, 1-based, in list order
    std::array<int, 4> nmCurves{1, 1, 0, 0};  // ultimate, short-term, long-term, column curve
    int colorMode = 0;
    int header = 0;
    int footer = 0;
    int designCond = 0;
    int baseColumn = 0;
    int pageNumber = 1;
    int noneNG = 0;
    int noneOK = 0;
    int legend = 0;
    std::string pageNumberText = "1";
};

// The page routines of styles 0 to 2. Each draws one page (or one column
// block of a section-table page) through po and never starts a page itself.
struct ReportPages {
    std::function<void(drawing::clsPrintOut& po, int16_t column, int page)> calcSheet;
    std::function<void(drawing::clsPrintOut& po, int page)> legend;
    std::function<void(drawing::clsPrintOut& po, int16_t column, int page, int slot)> sectionBlock;
    std::function<void(drawing::clsPrintOut& po, int16_t column, int page, int16_t dir, int16_t designCase)> shearPage;
};
// The program's page table; a style whose routine is missing cannot run.
ReportPages& PageTable();
// Whether the page table holds what a style needs.
bool StyleAvailable(int style);

// Builds the document of style mode (0..3; another mode builds nothing) on
// target. The caller has set the paper. A failure on the way ends the
// document with the pages drawn so far, tells the user and returns false;
// the N-M curve flags, the colour flag and the short-term kind are back as
// they were in every case.
bool psub_Print(vbqt::PageTarget& target, int mode, const ReportChoices& choices);

// The drivers, for the tests; psub_Print runs them.
void msub_PrintNMGraphs(vbqt::PageTarget& target, const ReportChoices& choices);
void msub_PrintSectionTable(vbqt::PageTarget& target, const ReportChoices& choices);
void msub_PrintShearPages(vbqt::PageTarget& target, const ReportChoices& choices);
void msub_PrintColumnList(vbqt::PageTarget& target, const ReportChoices& choices);

// The base model text of the print dialog's list and the column list:
// the name, and "-" and the bolt diameter for series 0, 1 and 5.
std::string ReportModelText(int16_t column);

}  // namespace reports
