// The program's version line and legal notice, shown by the splash window and
// the About box.
#pragma once

#include <QString>

// "Version 5.01.0001" for 5, 1, 1: the minor version keeps its last two
// digits and the revision its last four; a negative part shows as 0.
QString VersionText(int major, int minor, int revision);
// The version of this build (the project's own version).
QString VersionText();

// The copyright line of the program.
QString LegalNotice();
