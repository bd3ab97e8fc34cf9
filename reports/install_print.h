// The main window's print commands: the print dialog (modal, from the File
// menu as from the toolbar) and the printer set-up.
#pragma once

class frmMain;

void InstallPrintCommands(frmMain& w);

// The report pages of the print dialog's styles and the shear page's base
// pictures.
void InstallReportPages();
