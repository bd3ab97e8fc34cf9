#include "model/settings_store.h"

#include "model/failure.h"
#include "model/file_util.h"
#include "model/project_file.h"
#include "platform/ui/ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QSysInfo>
#include <QVariant>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <system_error>
#include <unistd.h>

namespace model {

namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxSettingsBytes = 16u << 20;
// How long a close waits for another instance that is writing the file.
constexpr int kLockWaitMs = 10'000;

// The run's working folders: in the temporary folder, or hidden beside the
// settings file when the temporary folder cannot hold the copy. The live run
// holds the owner file locked, with its process number in it.
constexpr const char* kWorkPrefix = "SRC_Okv-";
constexpr const char* kBesidePrefix = ".SRC_Okv-";
constexpr const char* kOwnerFile = "owner.lock";

// Why the settings file could not be used or kept: a Settings kind.
using Cause = FailureKind;

class SettingsFailure : public std::runtime_error {
public:
    SettingsFailure(Cause cause, const std::string& detail) : std::runtime_error(detail), cause_(cause) {}
    Cause cause() const { return cause_; }

private:
    Cause cause_;
};

// The working folder could not hold a copy; another folder may.
class ScratchFailure : public SettingsFailure {
public:
    using SettingsFailure::SettingsFailure;
};

std::string SystemText(int err) { return std::generic_category().message(err); }

std::optional<Cause> CauseOfError(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT: return Cause::SettingsDiskFull;
    case EFBIG: return Cause::SettingsSizeLimit;
    case EROFS: return Cause::SettingsReadOnly;
    case EACCES:
    case EPERM: return Cause::SettingsNoPermission;
    default: return std::nullopt;
    }
}

// Why a write of about `bytes` into `dir` failed when the writer (Qt) tells
// no error number: the state of the disk and of the process tells.
Cause CauseOfFailedWrite(const std::string& dir, std::uintmax_t bytes)
{
    struct statvfs vfs {};
    if (::statvfs(dir.c_str(), &vfs) == 0) {
        if (vfs.f_flag & ST_RDONLY) return Cause::SettingsReadOnly;
        // The superuser may use the blocks kept back from others.
        const std::uintmax_t free = ::geteuid() == 0 ? vfs.f_bfree : vfs.f_bavail;
        if (free == 0 || free * vfs.f_frsize < bytes) return Cause::SettingsDiskFull;
    }
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && bytes >= limit.rlim_cur)
        return Cause::SettingsSizeLimit;
    if (::access(dir.c_str(), W_OK) != 0) return CauseOfError(errno).value_or(Cause::SettingsNoPermission);
    return Cause::SettingsNotWritten;
}

// A folder of this run's own that no other run removes while it lives.
class WorkFolder {
public:
    // A new private folder in `parent`; nothing (and errno set) when it
    // cannot be made or cannot hold its first bytes.
    static std::unique_ptr<WorkFolder> Make(const std::string& parent, bool beside)
    {
        if (parent.empty()) {
            errno = ENOENT;
            return nullptr;
        }
        std::string name = (fs::path(parent) / (std::string(beside ? kBesidePrefix : kWorkPrefix) + "XXXXXX")).string();
        if (::mkdtemp(name.data()) == nullptr) return nullptr;
        std::unique_ptr<WorkFolder> folder(new WorkFolder(name, beside));
        const std::string owner = name + "/" + kOwnerFile;
        folder->owner_ = ::open(owner.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (folder->owner_ < 0) return Failed(std::move(folder));
        // A cleaner of another run may hold it for a moment: it leaves an
        // owner file without a number alone.
        while (::flock(folder->owner_, LOCK_EX) != 0)
            if (errno != EINTR) return Failed(std::move(folder));
        const std::string pid = std::to_string(::getpid()) + "\n";
        const ssize_t n = ::write(folder->owner_, pid.data(), pid.size());
        if (n != static_cast<ssize_t>(pid.size())) {
            if (n >= 0) errno = ENOSPC;
            return Failed(std::move(folder));
        }
        return folder;
    }
    ~WorkFolder()
    {
        // Removed while still held: no cleaner takes it for a dead run's.
        std::error_code ec;
        fs::remove_all(path_, ec);
        if (owner_ >= 0) ::close(owner_);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    QString filePath(const QString& name) const { return QString::fromStdString(path_) + u'/' + name; }
    const std::string& path() const { return path_; }
    bool beside() const { return beside_; }

private:
    WorkFolder(std::string path, bool beside) : path_(std::move(path)), beside_(beside) {}
    static std::unique_ptr<WorkFolder> Failed(std::unique_ptr<WorkFolder> folder)
    {
        const int err = errno;
        folder.reset();
        errno = err;
        return nullptr;
    }

    std::string path_;
    bool beside_;
    int owner_ = -1;
};

// Removes the working folders in `parent` of runs that ended without
// removing them (a kill, a power loss). A folder is a dead run's when its
// owner file holds a number and nobody holds it locked; anything else (a
// live run, a run being born, another user's folder, a link) stays.
void RemoveEndedRuns(const std::string& parent, const char* prefix)
{
    if (parent.empty()) return;
    const std::string start(prefix);
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != start.size() + 6 || name.compare(0, start.size(), start) != 0) continue;
        const std::string dir = it->path().string();
        struct stat st {};
        if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) continue;
        const std::string owner = dir + "/" + kOwnerFile;
        const int fd = ::open(owner.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat ost {};
        char number[32];
        if (::fstat(fd, &ost) == 0 && S_ISREG(ost.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::pread(fd, number, sizeof number, 0) > 0) {
            std::error_code removed;
            fs::remove_all(dir, removed);
        }
        ::close(fd);
    }
}

std::string TemporaryFolder()
{
    // As the system names it; a folder that is missing is not looked for
    // elsewhere (the root is no temporary folder).
    const QByteArray env = qgetenv("TMPDIR");
    return env.isEmpty() ? std::string("/tmp") : env.toStdString();
}

using KeyMap = std::map<QString, QVariant>;
using Changes = std::map<QString, std::optional<QVariant>>;

struct Session {
    std::string target;                   // the user's file
    std::string besideFolder;             // where the file is, links followed
    bool usable = true;                   // false: never written
    KeyMap original;                      // its keys and values at the start
    std::unique_ptr<WorkFolder> folder;   // scratch room of the run
    QString work;                         // the store AppSettings() opens
    // QSettings shares one record of a file among all its objects in the
    // process while any of them lives: held open, the run's values stay in
    // memory whatever becomes of the copy on disk (a size limit or a full
    // disk may cut or refuse it).
    std::unique_ptr<QSettings> held;
    int names = 0;                        // scratch names handed out
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

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A key as QSettings files it: no leading, trailing or doubled slashes. One
// of slashes only names nothing Qt can read or write.
QString NormalKey(const QString& key)
{
    return key.split(u'/', Qt::SkipEmptyParts).join(u'/');
}

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

// Under the names Qt files them by; a name of slashes only is none.
KeyMap KeysOf(const QSettings& s)
{
    KeyMap out;
    for (const QString& key : s.allKeys()) {
        const QString name = NormalKey(key);
        if (!name.isEmpty()) out[name] = s.value(key);
    }
    return out;
}

std::uintmax_t SizeOf(const KeyMap& keys)
{
    std::uintmax_t n = 0;
    for (const auto& [key, value] : keys)
        n += static_cast<std::uintmax_t>(key.toUtf8().size() + value.toString().toUtf8().size()) + 2;
    return n;
}

QString ScratchName(Session& s, const char* what)
{
    return s.folder->filePath(QStringLiteral("%1-%2").arg(QLatin1String(what)).arg(++s.names));
}

// The keys of an INI file as they are on disk now. QSettings would answer
// from what it read of that name before, so it reads through a link of a new
// name; the start, which has read nothing yet, may read the name itself.
KeyMap ReadKeys(Session& s, const std::string& file, bool mayReadDirectly = false)
{
    QString name = Q(file);
    bool linked = false;
    if (s.folder) {
        const QString link = ScratchName(s, "read");
        const std::string absolute = fs::absolute(file).string();
        if (::symlink(absolute.c_str(), QFile::encodeName(link).constData()) == 0) {
            name = link;
            linked = true;
        } else if (!mayReadDirectly) {
            const int err = errno;
            throw ScratchFailure(CauseOfError(err).value_or(Cause::SettingsNotWritten),
                                 "cannot make a link in " + s.folder->path() + ": " + SystemText(err));
        }
    }
    KeyMap keys;
    QSettings::Status status = QSettings::NoError;
    {
        const QSettings read(name, QSettings::IniFormat);
        keys = KeysOf(read);
        status = read.status();
    }
    if (linked) QFile::remove(name);
    // A format error leaves what could be read, as Qt reads the file anyway.
    if (status == QSettings::AccessError) throw SettingsFailure(Cause::SettingsUnreadable, "cannot read " + file);
    return keys;
}

// Every key is there after a round through a file: a copy cut short loses
// keys.
bool KeepsEveryKey(const KeyMap& written, const KeyMap& read)
{
    for (const auto& [key, value] : written)
        if (read.find(key) == read.end()) return false;
    return true;
}

// The settings file's bytes as Qt writes `keys`, checked to read back as
// what is meant to be kept. Qt reads a few forms that it writes in another
// (a key of slashes, a section left open): what it reads back from its own
// form is then what is kept, and that form reads back as itself.
std::string Serialize(Session& s, KeyMap keys)
{
    for (int round = 0; round < 4; ++round) {
        const QString file = ScratchName(s, "write");
        QSettings::Status status = QSettings::NoError;
        {
            QSettings out(file, QSettings::IniFormat);
            for (const auto& [key, value] : keys) out.setValue(key, value);
            out.sync();
            status = out.status();
        }
        const auto fail = [&](const std::string& why) {
            QFile::remove(file);
            return ScratchFailure(CauseOfFailedWrite(s.folder->path(), SizeOf(keys)),
                                  "cannot write a copy in " + s.folder->path() + ": " + why);
        };
        if (status != QSettings::NoError || !QFileInfo(file).isFile()) throw fail("the write failed");
        KeyMap back = ReadKeys(s, file.toStdString());
        if (SameKeys(back, keys)) {
            std::string bytes = ReadRegularFile(file.toStdString(), kMaxSettingsBytes);
            QFile::remove(file);
            return bytes;
        }
        if (!KeepsEveryKey(keys, back)) throw fail("the copy did not read back as it was written");
        QFile::remove(file);
        keys = std::move(back);
    }
    throw SettingsFailure(Cause::SettingsNotWritten, "the settings never read back in the form Qt writes them");
}

// The folder the file goes in, made when missing.
void MakeFolder(const fs::path& folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!ec) return;
    Cause cause = CauseOfError(ec.value()).value_or(Cause::SettingsNotWritten);
    if (ec == std::errc::file_exists || ec == std::errc::not_a_directory) cause = Cause::SettingsFolderBlocked;
    throw SettingsFailure(cause, "cannot create " + folder.string() + ": " + ec.message());
}

// About what QLockFile writes into a lock: the process's number and name,
// the machine's name and ids.
std::uintmax_t LockInfoSize()
{
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return static_cast<std::uintmax_t>(QByteArray::number(QCoreApplication::applicationPid()).size() +
                                       QFileInfo(self).fileName().toUtf8().size() +
                                       QSysInfo::machineHostName().toUtf8().size() +
                                       QSysInfo::machineUniqueId().size() + QSysInfo::bootUniqueId().size() + 5);
}

// The lock Qt itself takes to write the file. One that is no regular file
// would be read to see whether it is stale: a pipe blocks that for ever.
std::unique_ptr<QLockFile> TakeLock(const std::string& file)
{
    const std::string path = file + ".lock";
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        throw SettingsFailure(Cause::SettingsLockNotAFile, path + " is not a regular file");
    auto lock = std::make_unique<QLockFile>(Q(path));
    if (lock->tryLock(kLockWaitMs)) return lock;
    if (lock->error() == QLockFile::LockFailedError)
        throw SettingsFailure(Cause::SettingsLockHeld, "cannot lock " + path + ": another program holds it");
    throw SettingsFailure(CauseOfFailedWrite(fs::path(file).parent_path().string(), LockInfoSize()),
                  "cannot make the lock " + path);
}

// Why the user's file cannot be read, as the system tells.
SettingsFailure UnusableFile(const std::string& file, const std::exception& e)
{
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        const int err = errno;
        return SettingsFailure(err == ELOOP ? Cause::SettingsNotAFile : Cause::SettingsUnreadable, file + ": " + SystemText(err));
    }
    if (!S_ISREG(st.st_mode)) return SettingsFailure(Cause::SettingsNotAFile, e.what());
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxSettingsBytes) return SettingsFailure(Cause::SettingsTooLarge, e.what());
    return SettingsFailure(Cause::SettingsUnreadable, e.what());
}

// A working folder for the close when the run has none, or none that holds
// a copy: the temporary folder first, then beside the file.
void NextScratch(Session& s, const std::string& besideFolder)
{
    if (!s.folder) {
        s.folder = WorkFolder::Make(TemporaryFolder(), false);
        if (s.folder) return;
    }
    if (s.folder && s.folder->beside()) return;
    s.folder = WorkFolder::Make(besideFolder, true);
    if (s.folder) return;
    const int err = errno;
    throw SettingsFailure(CauseOfError(err).value_or(Cause::SettingsNotWritten),
                  "no room for a working copy in " + TemporaryFolder() + " nor in " + besideFolder + ": " +
                      SystemText(err));
}

void WriteBack(Session& s, const Changes& changes)
{
    // Through links to the file they name.
    std::string file;
    try {
        file = ResolveLinks(s.target);
    } catch (const std::exception& e) {
        throw SettingsFailure(Cause::SettingsNotAFile, e.what());
    }
    const fs::path folder = fs::path(file).parent_path();
    MakeFolder(folder);
    const std::unique_ptr<QLockFile> lock = TakeLock(file);
    // Over the file as another instance may have left it: only what this run
    // changed is put in.
    struct stat st {};
    bool exists = false;
    if (::stat(file.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) throw SettingsFailure(Cause::SettingsNotAFile, "cannot replace " + file + ": it is not a regular file");
        try {
            ReadRegularFile(file, kMaxSettingsBytes);
        } catch (const std::exception& e) {
            throw UnusableFile(file, e);
        }
        exists = true;
    } else if (errno != ENOENT) {
        const int err = errno;
        throw SettingsFailure(err == ELOOP ? Cause::SettingsNotAFile : Cause::SettingsUnreadable, "cannot read " + file + ": " + SystemText(err));
    }
    std::string bytes;
    if (!s.folder) NextScratch(s, folder.string());
    for (;;) {
        try {
            KeyMap keys;
            if (exists) keys = ReadKeys(s, file);
            for (const auto& [key, value] : changes) {
                if (value)
                    keys[key] = *value;
                else
                    keys.erase(key);
            }
            bytes = Serialize(s, keys);
            break;
        } catch (const ScratchFailure& f) {
            // Beside the file, the disk that could not hold the copy is the
            // one the file is on: that is the cause.
            if (s.folder->beside()) throw SettingsFailure(f.cause(), f.what());
            NextScratch(s, folder.string());
        }
    }
    // Beside the file, synced, read back equal, then renamed over it.
    try {
        WriteFileAtomically(file, bytes);
    } catch (const Failure& e) {
        throw SettingsFailure(
            CauseOfError(e.values().systemError).value_or(CauseOfFailedWrite(folder.string(), bytes.size())), e.what());
    } catch (const std::exception& e) {
        throw SettingsFailure(CauseOfFailedWrite(folder.string(), bytes.size()), e.what());
    }
}

// The run's copy in its working folder, written and checked; false when the
// folder cannot hold it.
bool PlaceWorkingCopy(Session& s)
{
    s.work = s.folder->filePath(QStringLiteral("SRC_Okv.conf"));
    s.held = std::make_unique<QSettings>(s.work, QSettings::IniFormat);
    for (const auto& [key, value] : s.original) s.held->setValue(key, value);
    s.held->sync();
    if (s.held->status() == QSettings::NoError) return true;
    s.held.reset();
    return false;
}

std::string FolderOfFile(const std::string& path)
{
    try {
        return fs::path(ResolveLinks(path)).parent_path().string();
    } catch (const std::exception&) {
        return fs::path(path).parent_path().string();
    }
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
    s.besideFolder = FolderOfFile(s.target);
    RemoveEndedRuns(TemporaryFolder(), kWorkPrefix);
    RemoveEndedRuns(s.besideFolder, kBesidePrefix);
    s.folder = WorkFolder::Make(TemporaryFolder(), false);
    std::error_code ec;
    const fs::file_status st = fs::status(s.target, ec);
    if (st.type() != fs::file_type::not_found) {
        try {
            try {
                ReadRegularFile(s.target, kMaxSettingsBytes);
            } catch (const std::exception& e) {
                throw UnusableFile(s.target, e);
            }
            s.original = ReadKeys(s, s.target, true);
        } catch (const SettingsFailure& f) {
            s.usable = false;
            std::cerr << "SRC_Okv: " << f.what() << "\n";
            ui::Current().message(SettingsUnusableText(s.target, f.cause()), "", ui::MessageKind::Warning);
        }
    }
    bool placed = s.folder && PlaceWorkingCopy(s);
    // A file that is never written needs no room beside it.
    if (!placed && s.usable) {
        s.folder = WorkFolder::Make(s.besideFolder, true);
        placed = s.folder && PlaceWorkingCopy(s);
    }
    if (!placed) {
        // The run's settings live in memory only: a path below a device is
        // one no write can create. The close looks for room again.
        s.folder.reset();
        s.work = QStringLiteral("/dev/null/SRC_Okv.conf");
        s.held = std::make_unique<QSettings>(s.work, QSettings::IniFormat);
        for (const auto& [key, value] : s.original) s.held->setValue(key, value);
    }
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
    Changes changes;
    for (const auto& [key, value] : now) {
        const auto was = s.original.find(key);
        if (was == s.original.end() || !Same(was->second, value)) changes[key] = value;
    }
    for (const auto& [key, value] : s.original)
        if (now.find(key) == now.end()) changes[key] = std::nullopt;
    if (changes.empty()) return;
    Cause cause = Cause::SettingsNotWritten;
    std::string detail;
    try {
        WriteBack(s, changes);
        return;
    } catch (const SettingsFailure& f) {
        cause = f.cause();
        detail = f.what();
    } catch (const std::exception& e) {
        detail = e.what();
    }
    std::cerr << "SRC_Okv: " << detail << "\n";
    ui::Current().message(SettingsNotSavedText(s.target, cause), "", ui::MessageKind::Warning);
}

void IgnoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace model
