// The column dialog of SRC projects: the base type and model with its
// direction, the built-up steel with its grade and section properties, the
// RC column size, the main bars, walls and Fc, with the steel base's share
// ratios and the limit axial forces kept up to date and a plan of the
// section on which the dimension boxes sit. Works on a copy of the current
// column; 決定 writes it back.
#pragma once

#include "model/records.h"
#include "widgets/dialog_kit.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
namespace vbqt {
class PictureBox;
class PictureTarget;
}

class frmSRCInput : public QDialog {
    Q_OBJECT
public:
    // Loads at once for the current column (gCurCol).
    explicit frmSRCInput(QWidget* parent = nullptr);

    const model::ColumnDataTbl& WorkColumn() const { return work_; }
    // Where the section plan draws: Picture1 unless a test records it.
    void SetPreviewTarget(vbqt::PictureTarget* target) { previewTarget_ = target; }

    void Form_Load();
    void Form_Unload();
    void optSrcKvType_Click(int Index);
    void cmbSrcKv_Click();
    void optDir_Click(int Index);
    void cmbFc_Click();
    void cmbColMat_Click();
    void cmbRBarMat_Click();
    void cmbRBarVal_Click();
    void cmdCalc_Click();
    void txtColLen_LostFocus(int Index);
    void txtRBarSpec_LostFocus(int Index);
    void cmdEnd_Click();
    void cmdCancel_Click();

    void ShowSteelDims();
    void ReadSteelDims();
    void ReadWallInputs();
    void ShowRebarSpec();
    void ReadRebarLayout();
    void DrawSrcSection();
    // ReadSteelSpec, ReadWallInputs, ReadRebarLayout, ShowSrcRatios.
    void RefreshGroupR();

    void CalcSrcSteelSection();
    void ShowSteelSpec();
    void ReadSteelSpec();
    void ShowSrcRatios();
    static void SetJudgeLabel(QLabel* label, double value, double limit);

    std::array<QRadioButton*, 5> optSrcKvType{};
    QComboBox* cmbSrcKv = nullptr;
    QLabel* lblAbD = nullptr;
    QGroupBox* Frame5 = nullptr;
    std::array<QRadioButton*, 4> optDir{};
    QComboBox* cmbColMat = nullptr;
    std::array<QLineEdit*, 8> txtSrcColSpec{};
    std::array<QLabel*, 8> lblSrcColSpec{};
    QPushButton* cmdCalc = nullptr;
    QComboBox* cmbRBarMat = nullptr;
    QComboBox* cmbRBarVal = nullptr;
    std::array<QLineEdit*, 6> txtRBarSpec{};
    std::array<QCheckBox*, 2> chkRBarTabane{};
    QComboBox* cmbFc = nullptr;
    std::array<QLabel*, 12> lblRatio{};
    vbqt::PictureBox* Picture1 = nullptr;
    std::array<QLineEdit*, 14> txtColLen{};
    std::array<QLabel*, 8> lblColLen{};
    std::array<QCheckBox*, 2> chkWall{};
    QPushButton* cmdEnd = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    // Every closing (決定, キャンセル, the close box) unloads.
    void done(int r) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ConnectControls();
    void Act(const std::function<void()>& action) { actions_.run(action); }
    // Element of a direction-mapped field shown in the X box.
    int XIndex() const { return (work_.KvDir & 1) ? 1 : 0; }
    int YIndex() const { return 1 - XIndex(); }
    void ClearRatios();

    model::ColumnDataTbl work_;
    std::vector<int32_t> modelIds_;  // 柱脚.ID of each cmbSrcKv item
    bool loading_ = false;
    vbqt::PictureTarget* previewTarget_ = nullptr;
    dlgkit::UserActions actions_;
};
