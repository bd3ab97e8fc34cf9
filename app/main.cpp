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
#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iostream>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A logout or a kill ends the program as its close does. The handler only
// notes the signal and passes it on to the event loop; the start, which runs
// before that loop, looks at the note between its steps.
int gEndSignal[2] = {-1, -1};
volatile std::sig_atomic_t gEndAsked = 0;

void OnEndSignal(int signo)
{
    const int saved = errno;
    gEndAsked = 1;
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

bool EndAsked() { return gEndAsked != 0; }

// Ended before the main window could be shown: there is no window to close
// and nobody to ask; the settings are put back as the close puts them.
int EndBeforeTheWindow()
{
    ui::SetCurrent(nullptr);
    model::ReleaseGlobalObjects();
    model::CloseSettingsSession();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    model::IgnoreFileSizeLimitSignal();
    // From the first moment, so that no signal of the start ends the process
    // in the middle of a step.
    const bool catching = CatchEndSignals();
    QApplication app(argc, argv);
    ui::InstallJapanese(app);
    ui::QtUserInterface userInterface;
    ui::SetCurrent(&userInterface);
    std::unique_ptr<QSocketNotifier> endSignal;
    if (catching) {
        endSignal = std::make_unique<QSocketNotifier>(gEndSignal[0], QSocketNotifier::Read);
        QObject::connect(endSignal.get(), &QSocketNotifier::activated, [] {
            char bytes[16];
            [[maybe_unused]] const ssize_t n = ::read(gEndSignal[0], bytes, sizeof bytes);
            // Every event loop ends, a message box's of the start as well;
            // what called it then finds the note.
            QCoreApplication::exit(0);
        });
    }
    // Before anything reads a setting: a settings file that is no regular
    // file is never opened.
    model::OpenSettingsSession();
    if (EndAsked()) return EndBeforeTheWindow();
    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
    try {
        model::StartProgram(QCoreApplication::applicationDirPath().toStdString(), commandLine);
    } catch (const std::exception& e) {
        const std::string reason = model::TellFailure(e);
        // Headless, no one could ever close the box and the failed start
        // would never end.
        const QString platform = QApplication::platformName();
        if (platform != u"offscreen" && platform != u"minimal" && !EndAsked())
            userInterface.message("データベースが開けません。\r\n" + reason, ui::kProgramTitle,
                                  ui::MessageKind::Critical);
        else
            std::cerr << "データベースが開けません。" << reason << "\n";
        model::CloseSettingsSession();
        return 1;
    }
    if (EndAsked()) return EndBeforeTheWindow();
    // The grid editors read the scroll-bar sizes from it.
    model::gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
    // It deletes itself when its timer has shown the main window.
    QPointer<frmSplash> splash = new frmSplash;
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
    // A signal that came since is in the socket still, and ends the loop at
    // its first turn; one that the start's message box took is only noted.
    const int rc = EndAsked() ? 0 : QApplication::exec();
    if (EndAsked()) {
        endSignal.reset();
        // The close the user would have made, with no one there to ask: the
        // project stays as it was last saved, the window keeps its settings.
        ui::SetCurrent(nullptr);
        if (window->isVisible()) {
            model::gDataChanged = false;
            window->close();
        } else {
            // Before its timer: the splash window is all there is.
            delete splash.data();
            model::ReleaseGlobalObjects();
        }
        window.reset();
        model::CloseSettingsSession();
        return 0;
    }
    window.reset();
    model::CloseSettingsSession();
    ui::SetCurrent(nullptr);
    return rc;
}
