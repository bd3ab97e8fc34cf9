#include "dialogs/fc_list.h"

#include "model/globals.h"
#include "model/records.h"
#include "resources/strings/res_strings.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QStringList>

#include <cmath>

void FillFcCombo(QComboBox* list, double& fc)
{
    using model::gSIDisp;
    static constexpr int kOld[] = {180, 195, 210, 225, 240, 255, 270, 285, 300, 330, 360};
    static constexpr int kSiInt[] = {18, 19, 21, 22, 24, 25, 27, 28, 30, 33, 36};
    static const char* const kSiText[] = {"18", "19.5", "21", "22.5", "24", "25.5", "27", "28.5", "30", "33", "36"};
    {
        const QSignalBlocker quiet(list);
        list->clear();
        for (int i = 0; i < 11; ++i) {
            // The first nine come from the string table, the last two are fixed.
            const int id = i < 9 ? (gSIDisp ? 1237 + i : 1228 + i) : 0;
            const QString fixed = gSIDisp ? QString::fromLatin1(kSiText[i]) : QString::number(kOld[i]);
            const QString text = id ? FindResString(id).value_or(fixed) : fixed;
            list->addItem(text);
        }
        list->setCurrentIndex(-1);
    }
    const bool sMode = model::gCond.SMode != model::kFalse;
    if (std::floor(fc) > 998) fc = sMode ? (gSIDisp ? 21 : 210) : (gSIDisp ? 24 : 240);
    const double whole = std::floor(fc);
    for (int i = 0; i < 11; ++i) {
        if (whole == kSiInt[i] || whole == kOld[i]) {
            list->setCurrentIndex(i);
            return;
        }
    }
}
