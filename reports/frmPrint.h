// The print dialog: the report style, the columns, the N-M curves of the
// calculation sheet, the short-term kind printed, the page options and the
// first page number; then a preview or a print on the remembered printer.
#pragma once

#include "platform/qt/print_control.h"
#include "reports/print_form.h"
#include "reports/report_drivers.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

class frmPrint : public QDialog, public reports::IPrintForm {
    Q_OBJECT
public:
    // Loads at once on the project as it is now.
    explicit frmPrint(QWidget* parent = nullptr);

    // Builds the document of the style (mode) from the controls on target.
    // False when the run failed (the user has been told); target then keeps
    // the pages drawn so far, which the preview shows.
    bool psub_Print(vbqt::PageTarget& target, int mode) override;
    // What a run reads of the controls.
    reports::ReportChoices Choices(int style) const;
    // The index of the selected style button, 0 when none is.
    int ChosenStyle() const;
    // The dialog's own page control, never shown.
    const vbqt::PrintControl& Printer() const { return VSPrinter1; }

    void Form_Load();
    void cmdAllSelect_Click();
    void cmdAllDeselect_Click();
    void optStyle_Click(int Index);
    void cmdOpt_Click();
    void chkPrPage_Click();
    void optShortMode_Click(int Index);
    void cmdPreview_Click();
    void cmdPrint_Click();
    void cmdPrOption_Click();
    void cmdCancel_Click();
    void Form_Unload();

    std::array<QRadioButton*, 4> optStyle{};
    QTreeWidget* lvwColumn = nullptr;
    QPushButton* cmdAllSelect = nullptr;
    QPushButton* cmdAllDeselect = nullptr;
    QGroupBox* fraStyle = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QCheckBox*, 4> chkDrawNMMode{};
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 3> optShortMode{};
    QPushButton* cmdPreview = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdPrOption = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdOpt = nullptr;
    QGroupBox* fraType1 = nullptr;
    QCheckBox* chkColorMode = nullptr;
    QCheckBox* chkPrHeader = nullptr;
    QCheckBox* chkPrFooter = nullptr;
    QCheckBox* chkPrDrCond = nullptr;
    QCheckBox* chkPrDrRC = nullptr;
    QCheckBox* chkNoneNG = nullptr;
    QCheckBox* chkNoneOK = nullptr;
    QCheckBox* chkBon = nullptr;
    QGroupBox* Frame4 = nullptr;
    QCheckBox* chkPrPage = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtPageN = nullptr;

protected:
    void done(int r) override;

private:
    void BuildControls();
    void ConnectControls();
    // The N-M check of style 0: false (after the message) when none of the
    // first three curves is on.
    bool CurvesChosen(int style);
    void CheckAll(bool on);
    void SetHeight(int twips);

    vbqt::PrintControl VSPrinter1;
    bool mblnOptionsOpen = false;
    int mintStartPage = 1;
};
