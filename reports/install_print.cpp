#include "reports/install_print.h"

#include "mainwin/frmMain.h"
#include "reports/frmPrint.h"
#include "reports/printers.h"

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
    w.mShowPageSetup = [&w] {
        if (reports::ShowPrinterDialog(reports::PD_PRINTSETUP, &w)) reports::SavePrinterSettings();
    };
}
