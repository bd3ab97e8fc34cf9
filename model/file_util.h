// File and folder helpers. Both "\" and "/" are read as folder separators;
// what these helpers add is the platform's own separator.
#pragma once

#include "platform/text/native_path.h"

#include <cstdint>
#include <string>

namespace model {

class zDLFile_Vendra {
public:
    bool ChkFileExists(const std::string& vstrPathName) const;
    bool ChkFolderExists(const std::string& vstrFolderName) const;
    // The system's folder for temporary files, with a trailing separator.
    std::string TempPath() const;
    // "C:\x" gives "C:\"; "\\server\share\x" gives "\\server\"; a rooted
    // path without drive gives the root; a relative path the drive of the
    // current folder. vblnYen false drops the trailing separator.
    std::string GetDrvName(const std::string& vstrPathName, bool vblnYen = true) const;
    // vintExtension 0 the name, 1 without extension, 2 ready for a new one.
    std::string GetFileName(const std::string& vstrPathName, int16_t vintExtension = 0) const;
    std::string GetExtName(const std::string& vstrFileName, bool vblnDot = false) const;
    std::string AddFolderYen(const std::string& vstrPathName) const;
    // Creates every missing level; true when the folder exists afterwards.
    bool MakeFolder(const std::string& vstrFolder) const;

private:
    static std::string NulToSpace(std::string s);
};

// The whole of a regular file (a symbolic link to one will do). Throws a
// Failure naming the file when it cannot be opened or read, when it is no
// regular file (a folder, a FIFO, a device: these are refused before anything
// is read) or when it holds more than maxBytes.
std::string ReadRegularFile(const std::string& path, std::uintmax_t maxBytes);

// A path read from a file or a setting, with the platform's separators.
using text::ToNativePath;

}  // namespace model
