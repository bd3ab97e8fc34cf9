// The program speaks Japanese whatever the desktop's locale: its own formats
// (dates, numbers) and Qt's own dialogs, buttons and menus.
#pragma once

class QCoreApplication;

namespace ui {

// Sets the Japanese locale as the default and installs Qt's Japanese
// translations, owned by app. False when the translations were not found
// (Qt's texts then stay in English; the formats are Japanese still).
bool InstallJapanese(QCoreApplication& app);

}  // namespace ui
