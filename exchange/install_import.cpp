#include "exchange/install_import.h"

#include "exchange/frmImport.h"
#include "exchange/frmSelImportKV.h"
#include "exchange/import_command.h"
#include "mainwin/frmMain.h"

void InstallImportCommand(frmMain& w)
{
    w.mImportAnalysisFile = [&w] {
        exchange::ImportCommand command(w, w.Commands());
        command.chooseBase = [&w](int32_t) {
            frmSelImportKV dialog(&w);
            dialog.exec();
        };
        command.askOptions = [&w] {
            frmImport dialog(&w);
            dialog.exec();
        };
        command.msub_ImportAnalysisFile();
    };
}
