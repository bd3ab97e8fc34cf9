// The main window's dialogs, opened through its window members.
#pragma once

class frmMain;

// The options and the project details dialogs, each modal over the window.
void InstallMainWindowDialogs(frmMain& w);

// The column and base dialog, modal on the current column, as the window's
// column command opens it for steel-column projects.
void InstallSelectKvDialog(frmMain& w);

// The SRC column dialog, modal on the current column, as the window's column
// command opens it for SRC projects.
void InstallSrcInputDialog(frmMain& w);

// The shear dialog, opened from a shear verdict of the result table.
void InstallShearDialog(frmMain& w);

// The stress input dialog of the current column, from the window's 応力入力.
void InstallStressInputDialog(frmMain& w);
