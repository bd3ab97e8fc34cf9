// SRC_Okv: the start-up prepares the project (settings, engine on the
// catalogue, templates, the project named on the command line or the
// one-column default), then the splash window shows; a second later the main
// window opens on the project with the terms of use over it.
#include "dialogs/install.h"
#include "exchange/install_devout.h"
#include "exchange/install_import.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmSplash.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/settings_store.h"
#include "platform/qt/japanese.h"
#include "platform/qt/qt_user_interface.h"
#include "reports/install_print.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QApplication>

#include <iostream>
#include <memory>

int main(int argc, char** argv)
{
    model::IgnoreFileSizeLimitSignal();
    QApplication app(argc, argv);
    ui::InstallJapanese(app);
    ui::QtUserInterface userInterface;
    ui::SetCurrent(&userInterface);
    // Before anything reads a setting: a settings file that is no regular
    // file is never opened.
    model::OpenSettingsSession();
    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
    try {
        model::StartProgram(QCoreApplication::applicationDirPath().toStdString(), commandLine);
    } catch (const std::exception& e) {
        std::cerr << "データベースが開けません: " << e.what() << "\n";
        // Headless, no one could ever close the box and the failed start
        // would never end.
        const QString platform = QApplication::platformName();
        if (platform != u"offscreen" && platform != u"minimal")
            userInterface.message(std::string("データベースが開けません。\r\n") + e.what(),
                                  ui::kProgramTitle, ui::MessageKind::Critical);
        model::CloseSettingsSession();
        return 1;
    }
    // The grid editors read the scroll-bar sizes from it.
    model::gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
    // It deletes itself when its timer has shown the main window.
    auto* splash = new frmSplash;
    splash->show();
    splash->repaint();
    auto window = std::make_unique<frmMain>();
    InstallMainWindowDialogs(*window);
    InstallSelectKvDialog(*window);
    InstallSrcInputDialog(*window);
    InstallShearDialog(*window);
    InstallStressInputDialog(*window);
    InstallPrintCommands(*window);
    InstallReportPages();
    InstallDevFileOut(*window);
    InstallImportCommand(*window);
    userInterface.setOwner(window.get());
    splash->setMainWindow(window.get());
    const int rc = QApplication::exec();
    window.reset();
    model::CloseSettingsSession();
    ui::SetCurrent(nullptr);
    return rc;
}
