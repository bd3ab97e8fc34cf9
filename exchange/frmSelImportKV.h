// The base choice for one imported column (index gCond.ColCount): a catalogue
// model that suits the column and its anchor-bolt diameter, or skipping the
// column. "決定" keeps the choice in the column's KolvanID and AbNum;
// "キャンセル" and the close box set KolvanID to 0.
#pragma once

#include "widgets/dialog_kit.h"

#include <QDialog>

#include <cstdint>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class frmSelImportKV : public QDialog {
    Q_OBJECT
public:
    explicit frmSelImportKV(QWidget* parent = nullptr);

    void Form_Load();
    void cmbKV_Click();
    void cmbAb_Click();
    void cmdEnd_Click();
    void cmdCancel_Click();

    QLabel* Label3 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label2 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QComboBox* cmbKV = nullptr;
    QComboBox* cmbAb = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdEnd = nullptr;
    QPushButton* cmdCancel = nullptr;

public slots:
    void reject() override;

private:
    int32_t n_ = 0;
    dlgkit::UserActions actions_{"インポート時のエラー", "コルヴァンのデータを読み込めませんでした。"};
};
