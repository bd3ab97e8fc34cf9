#include "model/shell.h"

#include "platform/ui/ui.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace model {

ProcessOutcome zDLShell::ShellWait(const std::string& program, const std::vector<std::string>& args, int32_t pollMs)
{
    ProcessOutcome out;
    QProcess proc;
    QStringList list;
    for (const std::string& a : args) list << QString::fromStdString(a);
    proc.setProcessChannelMode(QProcess::ForwardedChannels);
    proc.start(QString::fromStdString(program), list);
    if (!proc.waitForStarted(-1)) {
        out.error = proc.errorString().toStdString();
        return out;
    }
    out.started = true;
    ui::Current().waitUntil([&] { return proc.state() == QProcess::NotRunning || proc.waitForFinished(0); },
                            pollMs);
    out.exitCode = proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -1;
    return out;
}

}  // namespace model
