// What the user is told when an operation fails. A failure carries its kind
// and the few values its text names; the Japanese texts of all kinds are kept
// in failure.cpp, and the catch at the end of each user operation shows that
// text and writes the technical detail (what()) to standard error.
//
// Engine, catalogue and file errors that are not thrown as a Failure are told
// by their type and number, so the engine and the store keep their own texts.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace model {

enum class FailureKind {
    Unexpected,
    Refused,  // a Refusal: its own text
    OutOfMemory,
    // Reading a file.
    FileMissing,
    FileReadDenied,
    FileUnreadable,
    NotAFile,
    FileTooLarge,
    NotProjectFile,
    ProjectValueRefused,  // the project's own record
    ColumnValueRefused,   // column `column`
    RebarListRefused,     // line `line` of a base-rebar list
    // Writing a file.
    WriteDenied,
    DiskFull,
    FileSizeLimit,
    DiskReadOnly,
    FolderMissing,
    TargetNotAFile,
    LinkUnresolvable,
    WriteFailed,
    ProjectIsItsOwnList,
    // The catalogue.
    CatalogueMissing,
    CatalogueUnreadable,
    CataloguePassword,
    ModelMissing,      // `modelId` or `model`
    ModelDataMissing,  // `modelId`
    CatalogueFault,
    // The check and the printer.
    CheckFailed,
    PrintFailed,
    // The user's settings file.
    SettingsNotAFile,  // a folder, a pipe, a device, a loop of links
    SettingsUnreadable,
    SettingsTooLarge,
    SettingsFolderBlocked,  // something that is no folder where the folder goes
    SettingsLockNotAFile,
    SettingsLockHeld,
    SettingsDiskFull,
    SettingsSizeLimit,  // the process's file-size limit
    SettingsReadOnly,
    SettingsNoPermission,
    SettingsNotWritten,  // the system told no reason
};

// The values a text names; those a kind does not name stay empty.
struct FailureValues {
    std::string file;   // the file concerned (its name is shown)
    std::string model;  // a model name
    long modelId = 0;
    long column = 0;
    long line = 0;
    int systemError = 0;  // errno of a failed system call, 0 when none

    static FailureValues File(std::string path)
    {
        FailureValues v;
        v.file = std::move(path);
        return v;
    }
    static FailureValues Model(std::string name)
    {
        FailureValues v;
        v.model = std::move(name);
        return v;
    }
    static FailureValues Column(long n)
    {
        FailureValues v;
        v.column = n;
        return v;
    }
    static FailureValues Line(long n)
    {
        FailureValues v;
        v.line = n;
        return v;
    }
};

class Failure : public std::runtime_error {
public:
    // technical: what went wrong in the terms of the code, for standard error.
    Failure(FailureKind kind, const std::string& technical, FailureValues values = {})
        : std::runtime_error(technical), kind_(kind), values_(std::move(values))
    {
    }
    FailureKind kind() const noexcept { return kind_; }
    const FailureValues& values() const noexcept { return values_; }

private:
    FailureKind kind_;
    FailureValues values_;
};

// A refusal whose what() already is the Japanese text for the user: an entry
// or a line of a file that is not taken, named where it stands.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The failure of a system call on a file, by its errno.
Failure ReadFailure(int err, const std::string& technical, const std::string& file);
Failure WriteFailure(int err, const std::string& technical, const std::string& file);

// The settings file at `path` cannot be used this run, or what the run
// changed could not be kept in it, for the reason of a Settings kind.
std::string SettingsUnusableText(const std::string& path, FailureKind kind);
std::string SettingsNotSavedText(const std::string& path, FailureKind kind);

FailureKind KindOf(const std::exception& e);
// The Japanese text for e: short, what happened and what the user can do.
// A failure thrown with a nested one (std::throw_with_nested) gives its own
// text followed by that of the nested one.
std::string FailureText(const std::exception& e);
// The text of a kind that names no value (Unexpected for a throw that is no
// std::exception).
std::string FailureText(FailureKind kind);
// Writes e's what() (and those of the failures nested in it) to standard
// error.
void LogFailure(const std::exception& e);
// Both: the technical detail to standard error, the text to show returned.
std::string TellFailure(const std::exception& e);
// The same where any failure of a type the program does not know is one of
// a known kind (a printer driver's failure is the printer's).
std::string TellFailure(const std::exception& e, FailureKind unknownAs);

}  // namespace model
