// SRC_Okv: the start-up prepares the project (settings, engine on the
// catalogue, templates, the project named on the command line or the
// one-column default), then the splash window shows; a second later the main
// window opens on the project with the terms of use over it.
#include "dialogs/install.h"
#include "exchange/install_devout.h"
#include "exchange/install_import.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmSplash.h"
#include "model/failure.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/settings_store.h"
#include "platform/qt/japanese.h"
#include "platform/qt/qt_user_interface.h"
#include "reports/install_print.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iostream>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A logout or a kill ends the program through its event loop: the handler
// only passes the signal on to it.
int gEndSignal[2] = {-1, -1};

void OnEndSignal(int signo)
{
    const int saved = errno;
    const char byte = static_cast<char>(signo);
    [[maybe_unused]] const ssize_t n = ::write(gEndSignal[1], &byte, 1);
    errno = saved;
}

bool CatchEndSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gEndSignal) != 0) return false;
    // A full socket never holds the handler up: one byte there is enough.
    ::fcntl(gEndSignal[1], F_SETFL, ::fcntl(gEndSignal[1], F_GETFL) | O_NONBLOCK);
    struct sigaction sa {};
    sa.sa_handler = OnEndSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (const int signo : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signo, &sa, nullptr);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    model::IgnoreFileSizeLimitSignal();
    QApplication app(argc, argv);
    ui::InstallJapanese(app);
    ui::QtUserInterface userInterface;
    ui::SetCurrent(&userInterface);
    bool endedBySignal = false;
    std::unique_ptr<QSocketNotifier> endSignal;
    if (CatchEndSignals()) {
        endSignal = std::make_unique<QSocketNotifier>(gEndSignal[0], QSocketNotifier::Read);
        QObject::connect(endSignal.get(), &QSocketNotifier::activated, [&] {
            char bytes[16];
            [[maybe_unused]] const ssize_t n = ::read(gEndSignal[0], bytes, sizeof bytes);
            endedBySignal = true;
            // Every event loop ends, a dialog's as well.
            QCoreApplication::exit(0);
        });
    }
    // Before anything reads a setting: a settings file that is no regular
    // file is never opened.
    model::OpenSettingsSession();
    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
    try {
        model::StartProgram(QCoreApplication::applicationDirPath().toStdString(), commandLine);
    } catch (const std::exception& e) {
        const std::string reason = model::TellFailure(e);
        // Headless, no one could ever close the box and the failed start
        // would never end.
        const QString platform = QApplication::platformName();
        if (platform != u"offscreen" && platform != u"minimal")
            userInterface.message("データベースが開けません。\r\n" + reason, ui::kProgramTitle,
                                  ui::MessageKind::Critical);
        else
            std::cerr << "データベースが開けません。" << reason << "\n";
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
    if (endedBySignal) {
        endSignal.reset();
        // The close the user would have made, with no one there to ask: the
        // project stays as it was last saved, the window keeps its settings.
        ui::SetCurrent(nullptr);
        if (window->isVisible()) {
            model::gDataChanged = false;
            window->close();
        }
    }
    window.reset();
    model::CloseSettingsSession();
    ui::SetCurrent(nullptr);
    return rc;
}
