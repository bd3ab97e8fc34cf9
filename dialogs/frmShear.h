// The shear check of the current column's base for one direction and design
// case (gShearDir, gShearCase): how the shear is carried (friction always,
// welded washers, embedding in the slab), the slab sizes and strength, and
// the engine's capacities and verdict at once. Works on copies of the
// column's base, column and result records; 決定 writes the column and
// result copies back. Serves bases of series 1, 4, 5 and 6 only.
#pragma once

#include "model/records.h"
#include "platform/qt/print_control.h"
#include "reports/print_form.h"
#include "widgets/dialog_kit.h"

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmShear : public QDialog, public reports::IPrintForm {
    Q_OBJECT
public:
    // Loads at once; a base of another series is refused and exec() then
    // returns at once without showing anything.
    explicit frmShear(QWidget* parent = nullptr);

    bool Refused() const { return refused_; }
    const model::ColumnDataTbl& WorkColumn() const { return col_; }
    const model::ColumnResultTbl& WorkResult() const { return res_; }
    // The engine direction the dialog checks (its direction map's entry).
    int16_t EngineDirection() const { return engineDir_; }
    int exec() override;

    void Form_Load();
    void chkWeldWasher_Click();
    void chkSlab_Click();
    void cmbSlabFc_Click();
    // The B2 and d2 boxes act on Enter and when they lose the focus.
    void txt_B2_Confirm();
    void txt_d2_Confirm();
    void msub_GetShearResults();
    void msub_ShowShearResults();
    void cmdEnd_Click();
    void cmdCancel_Click();
    // The shear page of the dialog's unsaved values, numbered 1, as a whole
    // document on target; the engine gets the dialog's inputs back after it.
    bool psub_Print(vbqt::PageTarget& target, int mode) override;
    void cmdPreview_Click();
    // Prints the page on the program's printer.
    void cmdPrint_Click();

    QLabel* lblColName = nullptr;
    QLabel* lblKvName = nullptr;
    QLabel* lblCond = nullptr;
    QLabel* lblStress = nullptr;
    QLabel* lblCQu0 = nullptr;
    QCheckBox* chkWeldWasher = nullptr;
    QCheckBox* chkSlab = nullptr;
    QLabel* lblEq = nullptr;
    QLabel* lblQu = nullptr;
    QLabel* lblQu0 = nullptr;
    QLabel* lblQu1 = nullptr;
    QLabel* lblQu2 = nullptr;
    QLabel* lblJadge = nullptr;
    QLabel* lbl_L1 = nullptr;
    QLabel* lbl_B1 = nullptr;
    QLineEdit* txt_B2 = nullptr;
    QLabel* lbl_d1 = nullptr;
    QLineEdit* txt_d2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cmbSlabFc = nullptr;
    QLabel* pctRCColSec = nullptr;
    QPushButton* cmdEnd = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdPreview = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void ConnectControls();
    void Act(const std::function<void()>& action) { actions_.run(action); }
    // Sends the method bits of the case and shows Qu and the verdict.
    void StoreMethod(int16_t f);
    void ShowQuAndVerdict();
    // lblQu and lblJadge from the case's stored result.
    void SetQuAndVerdictTexts();
    int16_t& MethodBits();
    void SendEngineInputs();

    model::KvBaseTbl base_;
    model::ColumnDataTbl col_;
    model::ColumnResultTbl res_;
    bool changed_ = false;
    bool refused_ = false;
    int16_t series_ = 0;
    int16_t engineDir_ = 0;
    std::string symbol_;  // lQa, sQa or Qu
    dlgkit::UserActions actions_;
    vbqt::PrintControl printControl_;
};
