// A text box without a window: what the filter reads and writes, and what
// typing a key does to it once the filter has let the key through.
#pragma once

#include "platform/qt/grid/textbox.h"
#include "widgets/zDLEditBox_Vendra.h"

class FakeTextBox : public qtgrid::TextBoxHandle {
public:
    QString text;
    int selStart = 0;
    int selLength = 0;
    int limit = -1;
    bool multiLine = false;

    QString Text() const override { return text; }
    void setText(const QString& s) override
    {
        text = s;
        selStart = static_cast<int>(s.size());
        selLength = 0;
    }
    int SelStart() const override { return selStart; }
    void setSelStart(int pos) override
    {
        selStart = pos;
        selLength = 0;
    }
    int SelLength() const override { return selLength; }
    void setSelLength(int n) override { selLength = n; }
    QString SelText() const override { return text.mid(selStart, selLength); }
    bool MultiLine() const override { return multiLine; }
    QString TypeName() const override { return QStringLiteral("TextBox"); }
    void setTextLimit(int l) override { limit = l; }

    // One key press: through the filter, then into the text as a box would
    // take it. Returns the code the filter left.
    int type(zDLEditBox_Vendra& f, int code)
    {
        int k = code;
        f.FilterKeyPress(k);
        if (k == 0 || k == 13 || k == 27) return k;
        if (k == 8) {
            if (selLength > 0) {
                text.remove(selStart, selLength);
            } else if (selStart > 0) {
                text.remove(selStart - 1, 1);
                --selStart;
            }
            selLength = 0;
            return k;
        }
        text = text.left(selStart) + QChar(static_cast<char16_t>(k)) + text.mid(selStart + selLength);
        ++selStart;
        selLength = 0;
        return k;
    }
};
