// The small window that opening a project and importing an analysis file
// show while they work.
#pragma once

#include <QPointer>
#include <QWidget>

class QGroupBox;
class QLabel;

class frmNowLoading : public QWidget {
    Q_OBJECT
public:
    // mainWindow: the window it is centred on and stays above (may be null).
    explicit frmNowLoading(QWidget* mainWindow);

    // Lets waiting events run once, then centres the window on the main
    // window.
    void Form_Load();

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;

private:
    QPointer<QWidget> main_;
};

// Loads and shows the window over mainWindow and lets it paint; a second call
// while it is up keeps the one window.
void ShowNowLoading(QWidget* mainWindow);
// Unloads it; nothing when none is up.
void HideNowLoading();
// The window while it is up, else null.
frmNowLoading* NowLoadingWindow();
