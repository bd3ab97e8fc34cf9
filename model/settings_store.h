// The user's settings file kept safe: the program works on a copy of it and
// writes it back whole at the close, or not at all.
#pragma once

#include <QString>

#include <string>

namespace model {

// The user's settings file of the program (native format, user scope), found
// without opening it.
std::string UserSettingsPath();

// Checks the user's settings file and takes a working copy that AppSettings()
// reads and writes until the session ends. A file that is neither absent nor
// a readable regular file (a FIFO, a folder, a device) is never opened for
// writing: the program runs on the defaults and the user is told once, here.
void OpenSettingsSession();

// The working copy of the open session; empty when none is open.
QString SettingsSessionFile();

// Writes the working copy back when it changed: a temporary file beside the
// settings file, synced, then renamed over it. A failure is told once with
// the file and the reason; the old file stays as it was.
void CloseSettingsSession();

// Writes that go past the process's file-size limit fail with their error
// instead of ending the program, so the writers can report and clean up.
void IgnoreFileSizeLimitSignal();

}  // namespace model
