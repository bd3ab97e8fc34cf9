// The main window's import command with its two dialogs.
#pragma once

class frmMain;

// File › "データのインポート（&I)...": the import, with the base choice and the
// import options as modal dialogs over the window.
void InstallImportCommand(frmMain& w);
