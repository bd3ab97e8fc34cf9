// The program's icon: a steel column standing on its base plate.
#pragma once

#include <QPixmap>

QPixmap ProgramIcon(int size);
