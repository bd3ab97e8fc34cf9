// A single-line text box as the input filter and the grid editor use it:
// text, caret and selection (0-based, in UTF-16 units like the box itself),
// a type name, a native text limit, and the key, focus and validation
// notifications. TextBoxHandle is what the filter needs; VbTextBox puts a
// QLineEdit behind it.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;
class QEvent;

namespace qtgrid {

class TextBoxHandle {
public:
    virtual ~TextBoxHandle() = default;
    virtual QString Text() const = 0;
    virtual void setText(const QString& s) = 0;
    virtual int SelStart() const = 0;
    // Puts the caret there with nothing selected.
    virtual void setSelStart(int pos) = 0;
    virtual int SelLength() const = 0;
    // Selects that many characters from SelStart.
    virtual void setSelLength(int n) = 0;
    virtual QString SelText() const = 0;
    virtual bool MultiLine() const = 0;
    virtual QString TypeName() const = 0;
    // The box's own length limit; 0 = none.
    virtual void setTextLimit(int limit) = 0;
};

class VbTextBox : public QObject, public TextBoxHandle {
    Q_OBJECT
public:
    explicit VbTextBox(QLineEdit* edit, QObject* parent = nullptr);
    ~VbTextBox() override;

    QLineEdit* widget() const { return edit_; }

    QString Text() const override;
    void setText(const QString& s) override;
    int SelStart() const override;
    void setSelStart(int pos) override;
    int SelLength() const override;
    void setSelLength(int n) override;
    QString SelText() const override;
    bool MultiLine() const override { return false; }
    QString TypeName() const override { return QStringLiteral("TextBox"); }
    void setTextLimit(int limit) override;

    bool Locked() const;
    void setLocked(bool on);

    // KeyDown (key code and Shift mask, either may be cleared to 0: a cleared
    // key is not handled by the box), KeyPress (character code, 0 cancels it,
    // another code types that character instead), focus arrival, and the
    // validation raised when the focus leaves for another control of the
    // window (not when the window itself loses the focus or a menu opens).
    std::function<void(int& keyCode, int& shift)> onKeyDown;
    std::function<void(int& keyAscii)> onKeyPress;
    std::function<void()> onGotFocus;
    std::function<void()> onValidate;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPress(QEvent* event);
    bool inputMethod(QEvent* event);
    // Runs the filter on one typed character and types what it lets through.
    void typeChar(int code);

    QLineEdit* edit_;
    bool forwarding_ = false;
};

}  // namespace qtgrid
