// The N-M export dialog: which columns, load states and (SRC) curves go into
// the N-M relation file and how finely the curves are divided; then the
// file is chosen and written.
#pragma once

#include "exchange/nm_file.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTreeWidget;

class frmDevOut : public QDialog {
    Q_OBJECT
public:
    // Loads at once on the project as it is now.
    explicit frmDevOut(QWidget* parent = nullptr);

    // What the writer is given, read from the controls.
    exchange::NMFileChoices Choices() const;

    void Form_Load();
    void cmdAllSelect_Click();
    void cmdAllDeselect_Click();
    void cmdCancel_Click();
    void cmdDevOut_Click();
    void txtDevNum_LostFocus();
    void VScroll1_Change(int value);
    void Form_Unload();

    QTreeWidget* lvwColumn = nullptr;
    QPushButton* cmdAllSelect = nullptr;
    QPushButton* cmdAllDeselect = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QCheckBox*, 3> chkDrawNMMode{};
    QGroupBox* Frame2 = nullptr;
    std::array<QCheckBox*, 5> chkDrawNMObj{};
    QLabel* Label1 = nullptr;
    QLineEdit* txtDevNum = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QPushButton* cmdDevOut = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void done(int r) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void CheckAll(bool on);

    // The user typed into the count box since the last time the count rule
    // ran; a count taken over from the project is written as it stands.
    bool mblnTyped = false;
};
