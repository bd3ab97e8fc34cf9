// The main window's N-M export command: the export dialog, modal.
#pragma once

class frmMain;

void InstallDevFileOut(frmMain& w);
