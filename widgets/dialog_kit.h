// What the windows share: twips placement, the window position kept in the
// settings, and the reporting of a failure at the end of a user action.
#pragma once

#include <QComboBox>
#include <QRadioButton>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QSettings;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace dlgkit {

int PxX(const QWidget& w, double twips);
int PxY(const QWidget& w, double twips);
// Places w in its parent at a rectangle given in twips.
void Place(QWidget* w, double left, double top, double width, double height);

// Items without selection signals and without a selection: the caller
// selects, and only that selection runs the list's handler.
void Refill(QComboBox* list, const QStringList& items);
// A box remembers the text a dialog put into it and, for a number shown
// rounded, the number itself: only a text the user changed is an entry, and
// a box read back unchanged gives the exact number it was given.
void ShowText(QLineEdit* box, const QString& text);
void ShowNumber(QLineEdit* box, double value, const QString& text);
bool Edited(const QLineEdit* box);
// The number a box holds: the one shown while its text is unchanged, else
// the leading number of the text. Taking it makes the text stand for it.
double ReadNumber(const QLineEdit* box);
double TakeNumber(QLineEdit* box);

// One colour role of a control's palette, from an OLE colour.
void SetColour(QWidget* w, QPalette::ColorRole role, int32_t ole);

// A window measure kept in the settings as twips (number text), taken in
// single precision; fallback for a missing or unreadable value and for one
// beyond any screen (over 1e6 either way).
double KeptTwips(const QSettings& s, const char* key, double fallback);
// Keeps a measure of px pixels as whole twips (number text).
void KeepTwips(QSettings& s, const char* key, int px, double twipsPerPixel);

// Lists of rows with a check box in the first column. The box takes this
// room of its own there, in pixels.
constexpr int kCheckBoxRoom = 24;
QTreeWidgetItem* AddCheckableRow(QTreeWidget* list, const QStringList& cells, bool checked);
void SetAllChecked(QTreeWidget* list, bool on);
// The tick of each top-level row, in order.
std::vector<bool> CheckStates(const QTreeWidget* list);

// Moves the dialog to the position kept under the two keys (twips as number
// text), or to the defaults; saves its position there.
void RestorePlace(QWidget& dialog, const char* leftKey, const char* topKey, double defaultLeft, double defaultTop);
void SavePlace(const QWidget& dialog, const char* leftKey, const char* topKey);

// Runs user actions. A catalogue or engine failure anywhere in an action and
// the handlers it sets off is reported once, when the outermost action ends,
// in a message box with the title given; the dialog stays usable.
class UserActions {
public:
    UserActions(std::string title, std::string fallbackText)
        : title_(std::move(title)), fallback_(std::move(fallbackText))
    {
    }
    // A choice: its outcome decides failed().
    void run(const std::function<void()>& action);
    // A command such as a commit or closing: reported alike, but it leaves
    // failed() as the last choice left it.
    void runCommand(const std::function<void()>& action);
    // The last choice failed: what the dialog shows may be half-done until
    // the next choice succeeds.
    bool failed() const { return failed_; }

private:
    void runAs(const std::function<void()>& action, bool choice);

    std::string title_;
    std::string fallback_;
    int depth_ = 0;
    bool outerIsChoice_ = true;
    bool failed_ = false;
    std::optional<std::string> error_;
};

// Connects a list to a handler that runs as a user action for a selected
// item (not for the -1 of an emptied list).
template <typename Dialog>
void ConnectSelect(Dialog* dialog, QComboBox* list, void (Dialog::*handler)(), UserActions& actions)
{
    QObject::connect(list, &QComboBox::currentIndexChanged, dialog, [dialog, handler, &actions](int i) {
        if (i >= 0) actions.run([dialog, handler] { (dialog->*handler)(); });
    });
}

// Connects an option button to a handler that runs when it becomes selected.
template <typename Dialog>
void ConnectOption(Dialog* dialog, QRadioButton* option, int index, void (Dialog::*handler)(int),
                   UserActions& actions)
{
    QObject::connect(option, &QRadioButton::toggled, dialog, [dialog, index, handler, &actions](bool on) {
        if (on) actions.run([dialog, index, handler] { (dialog->*handler)(index); });
    });
}

}  // namespace dlgkit
