// The terms-of-use dialog: shown at every start over the main window and
// again from the Help menu. Refusing ends the program at once, without the
// save question and without writing any settings.
#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>

class QLabel;
class QPushButton;

class flmImmunity : public QDialog {
    Q_OBJECT
public:
    // mainWindow: the window it is centred on and belongs to (may be null).
    explicit flmImmunity(QWidget* mainWindow, QWidget* parent = nullptr);

    // Shows the dialog modal over mainWindow and returns when it is accepted
    // (Accepted) or refused (Rejected, after EndProgram ran).
    static int ShowModal(QWidget* mainWindow, std::function<bool()> beforeRefuse = {});

    // How refusing ends the program. The default leaves the event loops
    // without closing any window, so nothing is asked and nothing written;
    // tests put their own in.
    static std::function<void()> EndProgram;
    // Asked before refusing ends the program; false keeps the dialog open.
    // None set: refusing always ends the program.
    std::function<bool()> beforeRefuse;

    void Form_Load();
    void cmdAccept_Click();
    void cmdNotAccept_Click();

    // The six numbered paragraphs, separated by empty lines.
    static QString TermsText();

    QLabel* Label1 = nullptr;  // the terms
    QLabel* Label2 = nullptr;
    QPushButton* cmdAccept = nullptr;
    QPushButton* cmdNotAccept = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPointer<QWidget> main_;
    bool loaded_ = false;
};
