#include "model/settings_store.h"

#include "model/file_util.h"
#include "model/project_file.h"
#include "platform/ui/ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace model {

namespace {

constexpr std::uintmax_t kMaxSettingsBytes = 16u << 20;
// How long a close waits for another instance that is writing the file.
constexpr int kLockWaitMs = 10'000;

using KeyMap = std::map<QString, QVariant>;

struct Session {
    std::string target;                    // the user's file
    bool usable = true;                    // false: never written
    KeyMap original;                       // its keys and values at the start
    std::unique_ptr<QTemporaryDir> folder; // scratch room of the run
    QString work;                          // the store AppSettings() opens
    // QSettings shares one record of a file among all its objects in the
    // process while any of them lives: held open, the run's values stay in
    // memory whatever becomes of the copy on disk (a size limit or a full
    // disk may cut or refuse it).
    std::unique_ptr<QSettings> held;
    int names = 0;                         // scratch names handed out
};

std::optional<Session>& Current()
{
    static std::optional<Session> session;
    return session;
}

std::optional<QString>& FolderOverride()
{
    static std::optional<QString> folder;
    return folder;
}

std::string UnusableText(const std::string& path, const std::string& reason)
{
    return "設定ファイルを使用できません。既定の設定で起動し、このファイルには書き込みません。\r\n" + path +
           "\r\n" + reason;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Values as the file keeps them: text read back equals the number written.
bool Same(const QVariant& a, const QVariant& b)
{
    if (a.metaType() == b.metaType()) return a == b;
    return a.canConvert<QString>() && b.canConvert<QString>() && a.toString() == b.toString();
}

bool SameKeys(const KeyMap& a, const KeyMap& b)
{
    if (a.size() != b.size()) return false;
    for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j)
        if (i->first != j->first || !Same(i->second, j->second)) return false;
    return true;
}

KeyMap KeysOf(const QSettings& s)
{
    KeyMap out;
    for (const QString& key : s.allKeys()) out[key] = s.value(key);
    return out;
}

QString ScratchName(Session& s, const char* what)
{
    return s.folder->filePath(QStringLiteral("%1-%2").arg(QLatin1String(what)).arg(++s.names));
}

// The keys of an INI file as they are on disk now. QSettings would answer
// from what it read of that name before, so it reads through a link of a new
// name.
KeyMap ReadKeys(Session& s, const std::string& file)
{
    // With no scratch folder (a full disk at the start) the name is read as
    // it is: nothing in the run has read it before.
    QString name = Q(file);
    if (s.folder) {
        name = ScratchName(s, "read");
        if (!QFile::link(QFileInfo(Q(file)).absoluteFilePath(), name))
            throw std::runtime_error("cannot read " + file + ": no room for a link in " +
                                     s.folder->path().toStdString());
    }
    KeyMap keys;
    QSettings::Status status = QSettings::NoError;
    {
        const QSettings read(name, QSettings::IniFormat);
        keys = KeysOf(read);
        status = read.status();
    }
    if (s.folder) QFile::remove(name);
    // A format error leaves what could be read, as Qt reads the file anyway.
    if (status == QSettings::AccessError) throw std::runtime_error("cannot read " + file);
    return keys;
}

// Why a file that Qt wrote is not whole, as far as the system tells.
std::string ShortWriteReason(const QString& file)
{
    struct statvfs vfs {};
    const QByteArray dir = QFile::encodeName(QFileInfo(file).absolutePath());
    if (::statvfs(dir.constData(), &vfs) == 0 && vfs.f_bavail == 0) return std::strerror(ENOSPC);
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        return std::string(std::strerror(EFBIG)) + " (the file-size limit is " + std::to_string(limit.rlim_cur) +
               " bytes)";
    return "the copy did not read back as it was written";
}

// The settings file's bytes as Qt writes `keys`, checked to read back as
// those keys.
std::string Serialize(Session& s, const KeyMap& keys)
{
    const QString file = ScratchName(s, "write");
    QSettings::Status status = QSettings::NoError;
    {
        QSettings out(file, QSettings::IniFormat);
        for (const auto& [key, value] : keys) out.setValue(key, value);
        out.sync();
        status = out.status();
    }
    if (status != QSettings::NoError || !QFileInfo(file).isFile() || !SameKeys(ReadKeys(s, file.toStdString()), keys))
        throw std::runtime_error("cannot write a copy in " + s.folder->path().toStdString() + ": " +
                                 ShortWriteReason(file));
    std::string bytes = ReadRegularFile(file.toStdString(), kMaxSettingsBytes);
    QFile::remove(file);
    return bytes;
}

void WriteBack(Session& s, const std::map<QString, std::optional<QVariant>>& changes)
{
    // Through links to the file they name.
    const std::string file = ResolveLinks(s.target);
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw std::runtime_error("cannot create " + folder.string() + ": " + ec.message());
    // The lock Qt itself takes to write the file.
    QLockFile lock(Q(file) + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        throw std::runtime_error("cannot lock " + file + ".lock" +
                                 (lock.error() == QLockFile::LockFailedError ? ": another program holds it"
                                                                             : ": " + ShortWriteReason(Q(file))));
    }
    // Over the file as another instance may have left it: only what this run
    // changed is put in.
    KeyMap keys;
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) throw std::runtime_error("cannot replace " + file + ": it is not a regular file");
        ReadRegularFile(file, kMaxSettingsBytes);
        keys = ReadKeys(s, file);
    } else if (errno != ENOENT) {
        throw std::runtime_error("cannot read " + file + ": " + std::strerror(errno));
    }
    for (const auto& [key, value] : changes) {
        if (value)
            keys[key] = *value;
        else
            keys.erase(key);
    }
    // Beside the file, synced, read back equal, then renamed over it.
    WriteFileAtomically(file, Serialize(s, keys));
}

}  // namespace

QString SettingsSessionFile()
{
    const std::optional<Session>& s = Current();
    return s ? s->work : QString();
}

void SetUserSettingsFolder(const QString& folder)
{
    FolderOverride() = folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}

std::string UserSettingsPath()
{
    // Where QSettings keeps the user files of this platform, worked out
    // without opening anything there.
    const QString root = FolderOverride().value_or(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    return QDir::toNativeSeparators(QDir(root).filePath(QStringLiteral("Vendra/SRC_Okv.conf"))).toStdString();
}

void OpenSettingsSession()
{
    Session s;
    s.target = UserSettingsPath();
    auto folder = std::make_unique<QTemporaryDir>();
    if (folder->isValid()) s.folder = std::move(folder);
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(s.target, ec);
    if (st.type() != fs::file_type::not_found) {
        try {
            ReadRegularFile(s.target, kMaxSettingsBytes);
            s.original = ReadKeys(s, s.target);
        } catch (const std::exception& e) {
            s.usable = false;
            ui::Current().message(UnusableText(s.target, e.what()), "", ui::MessageKind::Warning);
        }
    }
    // Without a scratch folder the run's settings live in memory only: a path
    // below a device is one no write can create.
    s.work = s.folder ? s.folder->filePath(QStringLiteral("SRC_Okv.conf")) : QStringLiteral("/dev/null/SRC_Okv.conf");
    s.held = std::make_unique<QSettings>(s.work, QSettings::IniFormat);
    for (const auto& [key, value] : s.original) s.held->setValue(key, value);
    s.held->sync();
    Current() = std::move(s);
}

void CloseSettingsSession()
{
    std::optional<Session>& current = Current();
    if (!current) return;
    Session s = std::move(*current);
    current.reset();
    s.held->sync();
    const KeyMap now = KeysOf(*s.held);
    s.held.reset();
    if (!s.usable) return;
    std::map<QString, std::optional<QVariant>> changes;
    for (const auto& [key, value] : now) {
        const auto was = s.original.find(key);
        if (was == s.original.end() || !Same(was->second, value)) changes[key] = value;
    }
    for (const auto& [key, value] : s.original)
        if (now.find(key) == now.end()) changes[key] = std::nullopt;
    if (changes.empty()) return;
    try {
        if (!s.folder) {
            auto folder = std::make_unique<QTemporaryDir>();
            if (!folder->isValid())
                throw std::runtime_error("no room for a copy in " + QDir::tempPath().toStdString() + ": " +
                                         folder->errorString().toStdString());
            s.folder = std::move(folder);
        }
        WriteBack(s, changes);
    } catch (const std::exception& e) {
        ui::Current().message("設定を保存できませんでした。\r\n" + s.target + "\r\n" + e.what(), "",
                              ui::MessageKind::Warning);
    }
}

void IgnoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace model
