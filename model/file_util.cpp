#include "model/file_util.h"

#include "model/failure.h"
#include "platform/text/vb.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace model {

namespace {

constexpr char kSep = static_cast<char>(fs::path::preferred_separator);

bool IsSep(char c) { return c == '\\' || c == '/'; }

[[noreturn]] void FailOn(const std::string& what, const std::string& path)
{
    const int err = errno;
    throw ReadFailure(err, what + " " + path + ": " + std::generic_category().message(err), path);
}

[[noreturn]] void TooLarge(const std::string& path, const std::string& size)
{
    throw Failure(FailureKind::FileTooLarge, path + " is too large (" + size + ")", FailureValues::File(path));
}

void CheckRegular(const struct stat& st, const std::string& path, std::uintmax_t maxBytes)
{
    if (!S_ISREG(st.st_mode))
        throw Failure(FailureKind::NotAFile, path + " is not a regular file", FailureValues::File(path));
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes)
        TooLarge(path, std::to_string(st.st_size) + " bytes, at most " + std::to_string(maxBytes));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { ::close(fd_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

private:
    int fd_;
};

}  // namespace

std::string ReadRegularFile(const std::string& path, std::uintmax_t maxBytes)
{
    // Look before opening: opening a FIFO waits for a writer and opening a
    // device may act on it.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) FailOn("cannot open", path);
    CheckRegular(st, path, maxBytes);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) FailOn("cannot open", path);
    const Descriptor file(fd);
    // The name may have been replaced in between.
    if (::fstat(fd, &st) != 0) FailOn("cannot read", path);
    CheckRegular(st, path, maxBytes);

    // One byte more than allowed shows a file that grew while it was read.
    const std::uintmax_t cap = maxBytes < std::numeric_limits<std::uintmax_t>::max() ? maxBytes + 1 : maxBytes;
    std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (have >= cap) break;
            bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(cap, have + have / 2 + 4096)));
        }
        const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            FailOn("cannot read", path);
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    if (have > maxBytes) TooLarge(path, "more than " + std::to_string(maxBytes) + " bytes");
    bytes.resize(have);
    return bytes;
}

bool zDLFile_Vendra::ChkFileExists(const std::string& vstrPathName) const
{
    std::error_code ec;
    const fs::file_status st = fs::status(ToNativePath(vstrPathName), ec);
    return !ec && fs::exists(st);
}

bool zDLFile_Vendra::ChkFolderExists(const std::string& vstrFolderName) const
{
    std::error_code ec;
    const fs::file_status st = fs::status(ToNativePath(vstrFolderName), ec);
    return !ec && fs::is_directory(st);
}

std::string zDLFile_Vendra::TempPath() const
{
    std::string p = fs::temp_directory_path().string();
    if (p.empty() || !IsSep(p.back())) p += kSep;
    return p;
}

std::string zDLFile_Vendra::GetDrvName(const std::string& vstrPathName, bool vblnYen) const
{
    const auto colon = vstrPathName.find(':');
    if (colon != std::string::npos) {
        std::string r = vstrPathName.substr(0, colon + 1);
        if (vblnYen) r += kSep;
        return r;
    }
    const std::string p = ToNativePath(vstrPathName);
    if (p.size() >= 2 && p[0] == kSep && p[1] == kSep) {
        const auto next = p.find(kSep, 2);
        std::string r = next == std::string::npos ? p + kSep : p.substr(0, next + 1);
        if (!vblnYen) r.pop_back();
        return r;
    }
    // A rooted path without a drive: the root is all there is.
    if (!p.empty() && p[0] == kSep) return vblnYen ? std::string(1, kSep) : std::string();
    std::error_code ec;
    const std::string cwd = fs::current_path(ec).string();
    if (ec || cwd.empty() || !(cwd[0] == kSep || cwd.find(':') != std::string::npos)) {
        return vblnYen ? std::string(1, kSep) : std::string();
    }
    return GetDrvName(cwd, vblnYen);
}

std::string zDLFile_Vendra::GetFileName(const std::string& vstrPathName, int16_t vintExtension) const
{
    std::string name = ToNativePath(vstrPathName);
    const auto sep = name.rfind(kSep);
    if (sep != std::string::npos) name.erase(0, sep + 1);
    const auto colon = name.rfind(':');
    if (colon != std::string::npos) name.erase(0, colon + 1);

    if (vintExtension == 1) {
        const std::string e = GetExtName(name, true);
        if (e != ".") {
            name.erase(name.size() - e.size());
        } else if (!name.empty() && name.back() == '.') {
            name.pop_back();
        }
    } else if (vintExtension == 2) {
        const std::string e = GetExtName(name, false);
        name.erase(name.size() - e.size());
        if (name.empty() || name.back() != '.') name += '.';
    }
    return name;
}

std::string zDLFile_Vendra::GetExtName(const std::string& vstrFileName, bool vblnDot) const
{
    std::string ext;
    for (auto i = vstrFileName.size(); i-- > 0;) {
        const char c = vstrFileName[i];
        if (IsSep(c) || c == ':') break;
        if (c == '.') {
            ext = vstrFileName.substr(i + 1);
            break;
        }
    }
    return vblnDot ? "." + ext : ext;
}

std::string zDLFile_Vendra::AddFolderYen(const std::string& vstrPathName) const
{
    std::string p = vb::RTrim(NulToSpace(vstrPathName));
    if (p.empty() || !IsSep(p.back())) p += kSep;
    return p;
}

bool zDLFile_Vendra::MakeFolder(const std::string& vstrFolder) const
{
    std::error_code ec;
    const fs::path p = ToNativePath(vstrFolder);
    fs::create_directories(p, ec);
    if (ec) return false;
    return fs::is_directory(p, ec) && !ec;
}

std::string zDLFile_Vendra::NulToSpace(std::string s)
{
    for (char& c : s) {
        if (c == '\0') c = ' ';
    }
    return s;
}

}  // namespace model
