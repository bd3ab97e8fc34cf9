#include "widgets/zDLCtlProc_Vendra.h"

#include "platform/qt/grid/textbox.h"
#include "platform/text/vb.h"

#include <QComboBox>
#include <QLineEdit>

void SafeSetFocus(QWidget* control)
{
    if (!control || !control->isVisible() || !control->isEnabled()) return;
    control->setFocus(Qt::OtherFocusReason);
}

void SelectAllText(QLineEdit* control)
{
    if (control) control->setSelection(0, control->text().size());
}

void SelectAllText(qtgrid::TextBoxHandle& control)
{
    control.setSelStart(0);
    control.setSelLength(control.Text().size());
}

int SelectComboItem(const QComboBox* combo, const QString& text)
{
    if (!combo) return -1;
    const std::string sought = text.toStdString();
    for (int i = 0; i < combo->count(); ++i)
        if (vb::Trim(combo->itemText(i).toStdString()) == sought) return i;
    return -1;
}
