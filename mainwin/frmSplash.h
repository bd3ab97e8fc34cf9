// The splash window that the program shows first. One second after it loads
// it closes itself, shows the main window and holds the user in the terms of
// use over it.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    // mainWindow: the window the timer shows; the caller keeps it. The splash
    // deletes itself when it closes.
    explicit frmSplash(QWidget* mainWindow = nullptr, QWidget* parent = nullptr);
    // The start-up shows the splash before it makes the main window.
    void setMainWindow(QWidget* mainWindow) { main_ = mainWindow; }

    void Form_Load();
    void Timer1_Timer();

    QLabel* lblVersion = nullptr;
    QLabel* Label1 = nullptr;  // legal notice
    QTimer* Timer1 = nullptr;

    static constexpr int kWidth = 7200;  // twips
    static constexpr int kHeight = 4200;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int PxX(double twips) const;
    int PxY(double twips) const;

    QPointer<QWidget> main_;
    QPixmap picture_;
    bool loaded_ = false;
};
