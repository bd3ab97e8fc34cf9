// The main window's dialogs, opened through its window members.
#pragma once

class frmMain;

// The options and the project details dialogs, each modal over the window.
void InstallMainWindowDialogs(frmMain& w);
