// The user's settings file kept safe: the program works on its own copy and
// at the close puts what it changed into the file, whole, or leaves the file
// as it was.
#pragma once

#include <QString>

#include <string>

namespace model {

// The user's settings file of the program (native format, user scope), found
// without opening anything.
std::string UserSettingsPath();

// Keeps the user's settings in `folder` instead of the desktop's settings
// folder, for QSettings as well.
void SetUserSettingsFolder(const QString& folder);

// Checks the user's settings file and takes a working copy that AppSettings()
// reads and writes until the session ends, in a private folder of the run in
// the temporary folder, or beside the file when the temporary folder cannot
// hold it. The working folders of runs that ended without their close go
// first. A file that is neither absent nor a readable regular file (a FIFO, a
// folder, a device) is never opened for writing: the program runs on the
// defaults and the user is told once, here.
void OpenSettingsSession();

// The working copy of the open session; empty when none is open.
QString SettingsSessionFile();

// Puts the keys this run changed (set or removed) into the user's file as it
// is now, so that what another instance wrote meanwhile stays: the new file
// is written beside it, synced and read back as the keys and values meant to
// be kept before it is renamed over the old one. It never waits without end
// on the lock. A failure is told once with the file and its cause, and the
// system's words go to standard error; the old file stays as it was.
void CloseSettingsSession();

// Writes that go past the process's file-size limit fail with their error
// instead of ending the program, so the writers can report and clean up.
void IgnoreFileSizeLimitSignal();

}  // namespace model
