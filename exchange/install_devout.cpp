#include "exchange/install_devout.h"

#include "exchange/frmDevOut.h"
#include "mainwin/frmMain.h"

void InstallDevFileOut(frmMain& w)
{
    w.mShowDevFileOut = [&w] {
        frmDevOut dialog(&w);
        dialog.exec();
    };
}
