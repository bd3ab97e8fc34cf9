// The picture of a base group on its RC pedestal that explains the shear
// check, chosen by the base's series, model name and bolts and by the column's
// direction and the shown shear direction.
#pragma once

#include "model/records.h"

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <string>
#include <vector>

// The key of the picture ("KS_090", ...); empty where no picture is defined.
// kvDir is the current column's KvDir (0..3), shearDir 0 for X and 1 for Y.
std::string ColSectionPictureKey(const model::KvBaseTbl& rec, int kvDir, int shearDir);

// The 21 keys in the order of their indices 1..21.
const std::vector<std::string>& ColSectionPictureKeys();

// The picture of a base record as the current column (its KvDir) shows it
// in the shown shear direction (gShearDir); empty without a current column.
QPixmap CurrentColSectionPicture(const model::KvBaseTbl& rec);

// The picture of a key at the size asked for (its own size when none); an
// empty picture for an empty or unknown key.
QPixmap ColSectionPicture(const std::string& key, QSize size = {});

// The picture of a key for paper: the screen picture's size at 96 dots per
// inch, drawn four times as fine; a null image for an empty or unknown key.
QImage ColSectionPaperPicture(const std::string& key);
