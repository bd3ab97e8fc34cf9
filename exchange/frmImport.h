// The import options: building symmetry and the short-term load kind. Every
// choice takes effect when it is made; there is no cancel.
#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmImport : public QDialog {
    Q_OBJECT
public:
    explicit frmImport(QWidget* parent = nullptr);

    void Form_Load();
    void chkSymmetry_Click();
    void optShortCondition_Click(int Index);
    void cmdStart_Click();

    QLabel* Label1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkSymmetry = nullptr;
    QGroupBox* Frame2 = nullptr;
    QRadioButton* optShortCondition[3] = {};
    QPushButton* cmdStart = nullptr;
};
