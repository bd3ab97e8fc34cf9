#include "reports/install_print.h"

#include "mainwin/col_section_picture.h"
#include "mainwin/frmMain.h"
#include "reports/calc_sheet.h"
#include "reports/frmPrint.h"
#include "reports/printers.h"
#include "reports/section_table.h"
#include "reports/shear_page.h"

void InstallPrintCommands(frmMain& w)
{
    // Modal both ways: a list that no longer matched the project could
    // print other columns than the ones shown.
    const auto show = [&w] {
        frmPrint dialog(&w);
        dialog.exec();
    };
    w.mShowPrintDialog = show;
    w.mShowPrintDialogModal = show;
    w.mShowPageSetup = [&w] { reports::ShowPrinterSetup(&w); };
}

void InstallReportPages()
{
    reports::RegisterCalcSheetPage();
    reports::RegisterSectionTablePages();
    reports::RegisterShearPage();
    reports::SetShearPictureSource([](const model::KvBaseTbl& base, int16_t kvDir, int16_t dir) {
        return ColSectionPaperPicture(ColSectionPictureKey(base, kvDir, dir));
    });
}
