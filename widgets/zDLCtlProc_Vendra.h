// Small control helpers shared by the windows.
#pragma once

#include <QString>

class QWidget;
class QLineEdit;
class QComboBox;
namespace qtgrid {
class TextBoxHandle;
}

// Gives the control the focus; a missing, hidden or disabled control is left
// alone.
void SafeSetFocus(QWidget* control);

// Selects the whole text of a text control.
void SelectAllText(QLineEdit* control);
void SelectAllText(qtgrid::TextBoxHandle& control);

// The index of the first list entry whose text, without leading and trailing
// blanks, equals `text` exactly; -1 when no entry does (the caller then
// selects nothing instead of a wrong entry).
int SelectComboItem(const QComboBox* combo, const QString& text);
