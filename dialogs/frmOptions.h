// The options dialog: calculation modes, the seismic increase factor of the
// automatic ultimate stresses, the long-term share and the judging of the
// ultimate stresses, the SI factor, and the table refresh preference.
#pragma once

#include "model/records.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class frmMain;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(frmMain& main);

    void Form_Load();
    // Applies the options to the project and the main window; false (and
    // nothing applied) when a factor is refused.
    bool ApplyOptions();
    void cmdApply_Click() { ApplyOptions(); }
    void cmdOK_Click();
    void cmdCancel_Click() { reject(); }

    QTabWidget* TabStrip1 = nullptr;
    QCheckBox* chkShortCalcMode = nullptr;
    QCheckBox* chkUltCalcMode = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtUltFactor = nullptr;
    QCheckBox* chkUltMQMode = nullptr;
    QCheckBox* chkUltJadge = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtGFactor = nullptr;
    QCheckBox* chkReflesh = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdApply = nullptr;

private:
    void chkShortCalcMode_Click();
    void chkUltCalcMode_Click();
    void EnableUltFactor();
    void RedrawDrawingBox();

    frmMain& main_;
    model::ProjectCondTbl work_;
    bool reflesh_ = true;
};
