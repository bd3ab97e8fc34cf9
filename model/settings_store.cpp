#include "model/settings_store.h"

#include "model/file_util.h"
#include "model/project_file.h"
#include "model/startup.h"
#include "platform/ui/ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <csignal>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

namespace model {

namespace {

constexpr std::uintmax_t kMaxSettingsBytes = 16u << 20;

struct Session {
    std::string target;                    // the user's file
    bool usable = true;                    // false: never written
    std::string original;                  // its bytes at the start
    std::unique_ptr<QTemporaryDir> folder; // holds the working copy
    QString work;
};

std::optional<Session>& Current()
{
    static std::optional<Session> session;
    return session;
}

std::string UnusableText(const std::string& path, const std::string& reason)
{
    return "設定ファイルを使用できません。既定の設定で起動し、このファイルには書き込みません。\r\n" + path +
           "\r\n" + reason;
}

}  // namespace

QString SettingsSessionFile()
{
    const std::optional<Session>& s = Current();
    return s ? s->work : QString();
}

std::string UserSettingsPath()
{
    // A store of names nobody uses tells the folder QSettings keeps user
    // files in (honouring QSettings::setPath) without touching ours.
    const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("~kv-probe~"),
                          QStringLiteral("~kv-probe~"));
    const QDir root = QFileInfo(QFileInfo(probe.fileName()).absolutePath()).absolutePath();
    return QDir::toNativeSeparators(root.filePath(QStringLiteral("Vendra/SRC_Okv.conf"))).toStdString();
}

void OpenSettingsSession()
{
    Session s;
    s.target = UserSettingsPath();
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(s.target, ec);
    if (st.type() != fs::file_type::not_found) {
        try {
            s.original = ReadRegularFile(s.target, kMaxSettingsBytes);
        } catch (const std::exception& e) {
            s.usable = false;
            ui::Current().message(UnusableText(s.target, e.what()), "", ui::MessageKind::Warning);
        }
    }
    auto folder = std::make_unique<QTemporaryDir>();
    if (folder->isValid()) {
        // A scratch copy: nothing to sync, it goes with the run.
        const QString work = folder->filePath(QStringLiteral("SRC_Okv.conf"));
        QFile copy(work);
        if (copy.open(QIODevice::WriteOnly) &&
            copy.write(s.original.data(), static_cast<qint64>(s.original.size())) ==
                static_cast<qint64>(s.original.size()) &&
            copy.flush()) {
            s.folder = std::move(folder);
            s.work = work;
        }
        // Else no room for a copy: the store is used in place, as it stands.
    }
    if (!s.usable && s.work.isEmpty()) {
        // Nowhere for a copy: a path below a device, which no write can
        // create, keeps the settings of this run in memory only.
        s.work = QStringLiteral("/dev/null/SRC_Okv.conf");
    }
    Current() = std::move(s);
}

void CloseSettingsSession()
{
    std::optional<Session>& held = Current();
    if (!held) return;
    const Session s = std::move(*held);
    held.reset();
    if (!s.usable || !s.folder) return;
    std::string bytes;
    try {
        bytes = ReadRegularFile(s.work.toStdString(), kMaxSettingsBytes);
        if (bytes == s.original) return;
        const std::filesystem::path folder = std::filesystem::path(s.target).parent_path();
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) throw std::runtime_error("cannot create " + folder.string() + ": " + ec.message());
        WriteFileAtomically(s.target, bytes);
    } catch (const std::exception& e) {
        ui::Current().message("設定を保存できませんでした。\r\n" + s.target + "\r\n" + e.what(), "",
                              ui::MessageKind::Warning);
    }
}

void IgnoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace model
