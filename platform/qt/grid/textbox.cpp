#include "platform/qt/grid/textbox.h"

#include "platform/qt/grid/vbkeys.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace qtgrid {

VbTextBox::VbTextBox(QLineEdit* edit, QObject* parent) : QObject(parent), edit_(edit)
{
    edit_->installEventFilter(this);
}

VbTextBox::~VbTextBox()
{
    if (edit_) edit_->removeEventFilter(this);
}

QString VbTextBox::Text() const { return edit_->text(); }

void VbTextBox::setText(const QString& s) { edit_->setText(s); }

int VbTextBox::SelStart() const { return edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition(); }

void VbTextBox::setSelStart(int pos)
{
    edit_->deselect();
    edit_->setCursorPosition(pos);
}

int VbTextBox::SelLength() const { return edit_->hasSelectedText() ? edit_->selectionLength() : 0; }

void VbTextBox::setSelLength(int n)
{
    const int s = SelStart();
    if (n <= 0)
        setSelStart(s);
    else
        edit_->setSelection(s, n);
}

QString VbTextBox::SelText() const { return edit_->selectedText(); }

void VbTextBox::setTextLimit(int limit)
{
    // QLineEdit counts characters; a byte limit is never tighter than that.
    // Setting the limit resets the selection, so it is kept by hand.
    const int max = limit > 0 ? limit : 32767;
    if (edit_->maxLength() == max) return;
    const bool sel = edit_->hasSelectedText();
    const int start = edit_->selectionStart(), length = edit_->selectionLength(), cursor = edit_->cursorPosition();
    edit_->setMaxLength(max);
    if (sel)
        edit_->setSelection(start, length);
    else
        edit_->setCursorPosition(cursor);
}

bool VbTextBox::Locked() const { return edit_->isReadOnly(); }

void VbTextBox::setLocked(bool on) { edit_->setReadOnly(on); }

bool VbTextBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edit_ || forwarding_) return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPress(event);
    case QEvent::InputMethod:
        return inputMethod(event);
    case QEvent::FocusIn: {
        // The box does its own focus work first; ours comes after it.
        forwarding_ = true;
        static_cast<QObject*>(edit_)->event(event);
        forwarding_ = false;
        if (onGotFocus) onGotFocus();
        return true;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const bool validates = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                               reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason ||
                               reason == Qt::OtherFocusReason;
        if (validates && onValidate) onValidate();
        return false;
    }
    default:
        return false;
    }
}

bool VbTextBox::keyPress(QEvent* event)
{
    auto* ke = static_cast<QKeyEvent*>(event);
    int code = VbKeyCode(*ke);
    int shift = VbShiftState(*ke);
    if (code != 0 && onKeyDown) onKeyDown(code, shift);
    const int original = VbKeyAscii(*ke);
    if (original == 0) return code == 0;
    int ascii = original;
    if (onKeyPress) onKeyPress(ascii);
    if (ascii == 0) return true;
    if (ascii == vbKeyBack || ascii == vbKeyReturn || ascii == vbKeyEscape) return code == 0;
    if (ascii != original || code == 0) {
        if (!edit_->isReadOnly()) edit_->insert(QString(QChar(static_cast<char16_t>(ascii))));
        return true;
    }
    return false;
}

void VbTextBox::typeChar(int code)
{
    int ascii = code;
    if (onKeyPress) onKeyPress(ascii);
    if (ascii == 0 || ascii == vbKeyReturn || edit_->isReadOnly()) return;
    edit_->insert(QString(QChar(static_cast<char16_t>(ascii))));
}

bool VbTextBox::inputMethod(QEvent* event)
{
    auto* ie = static_cast<QInputMethodEvent*>(event);
    if (ie->commitString().isEmpty()) return false;
    // A committed text arrives as one key press per character, each judged
    // against the text as the ones before it left it.
    const QString commit = ie->commitString();
    for (QChar ch : commit) typeChar(ch.unicode());
    QInputMethodEvent rest(ie->preeditString(), ie->attributes());
    forwarding_ = true;
    QCoreApplication::sendEvent(edit_, &rest);
    forwarding_ = false;
    return true;
}

}  // namespace qtgrid
