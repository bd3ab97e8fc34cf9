#include "dialogs/install.h"

#include "dialogs/dlgInput.h"
#include "dialogs/frmBukken.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmSRCInput.h"
#include "dialogs/frmSelectKV.h"
#include "dialogs/frmShear.h"
#include "mainwin/frmMain.h"

void InstallMainWindowDialogs(frmMain& w)
{
    w.mShowOptionsDialog = [&w] {
        frmOptions dialog(w);
        dialog.exec();
    };
    w.mShowBukkenDialog = [&w] {
        frmBukken dialog(&w);
        dialog.exec();
    };
}

void InstallSelectKvDialog(frmMain& w)
{
    w.mShowSelectKvDialog = [&w] {
        frmSelectKV dialog(&w);
        dialog.exec();
    };
}

void InstallSrcInputDialog(frmMain& w)
{
    w.mShowSrcInputDialog = [&w] {
        frmSRCInput dialog(&w);
        dialog.exec();
    };
}

void InstallShearDialog(frmMain& w)
{
    w.mShowShearDialog = [] {
        frmShear dialog;  // no owner
        dialog.exec();
    };
}

void InstallStressInputDialog(frmMain& w)
{
    w.mShowStressInputDialog = [&w] {
        dlgInput dialog(&w);
        dialog.exec();
        return dialog.prpEdit();
    };
}
