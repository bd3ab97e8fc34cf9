// The column and base dialog of steel-column projects: the column's shape,
// grade, size and section, and the catalogue base with its series, model,
// bolts, concrete strength, direction and pedestal. Every choice works on
// copies of the current column's two records; 決定 writes them back.
//
// Each list filler fills without selection signals and then selects its first
// item, so that the item's handler fills the next list; selecting what is
// already selected runs nothing. Handlers run only for a selected item.
#pragma once

#include "model/records.h"
#include "widgets/dialog_kit.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
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

class frmSelectKV : public QDialog {
    Q_OBJECT
public:
    // Loads at once for the current column (gCurCol).
    explicit frmSelectKV(QWidget* parent = nullptr);

    // The copies the dialog edits; 決定 writes these.
    const model::ColumnDataTbl& WorkColumn() const { return work_; }
    const model::KvBaseTbl& WorkBase() const { return workBase_; }

    void Form_Load();
    void cmdClose_Click();
    void cmdCancel_Click();
    void cmdChangeDisp_Click() {}
    void Form_Unload();

    // Column section.
    void optColV_Click(int Index);
    void FillMaterialList();
    void cmbColMat_Click();
    void FillColumnSizeList();
    void cmbColSize_Click();
    void cmbColT_Click();
    void cmbColT_Change();
    void cmdCalcSpec_Click();
    void txtColSpec_GotFocus(int Index);
    void txtHDim_GotFocus(int Index);

    // Base series and the model list of box and round columns.
    void ArrangeSeriesOptions();
    void optKvV_Click(int Index);

    // H sections, model, bolts, direction, pedestal and preview.
    void cmbColT_H_Click();
    void cmbHSize_Click();
    void txtHDim_LostFocus(int Index);
    void CheckHColumnFit();
    void cmbKV_Click();
    void cmbAb_Click();
    void chkCenCol_Click();
    void optKVDir_Click(int Index);
    void SetBaseDirectionOptions(const std::string& modelName, int16_t direction);
    void FillPedestalLists(bool keepBarList);
    void CheckPedestal();
    // Draws the working copies; the project's records are as they were after
    // it, also when a figure fails (the failed picture is then cleared).
    void DrawBasePreview();
    void cmbLenA_Click();
    void cmbLenB_Click();
    void cmbRBar_Click();
    void cmbFc_Click();

    // Where the previews draw: pctKV and pctRCCol unless a test records them.
    void SetPreviewTargets(vbqt::PictureTarget* kv, vbqt::PictureTarget* rc)
    {
        kvTarget_ = kv;
        rcTarget_ = rc;
    }

    std::array<QRadioButton*, 3> optColV{};
    QComboBox* cmbColMat = nullptr;
    QComboBox* cmbColSize = nullptr;
    QComboBox* cmbColT = nullptr;  // editable: the only list that takes typing
    QComboBox* cmbColT_H = nullptr;
    QComboBox* cmbHSize = nullptr;
    std::array<QLineEdit*, 4> txtHDim{};
    std::array<QLabel*, 4> Label3{};
    std::array<QLineEdit*, 5> txtColSpec{};
    std::array<QLabel*, 8> Label1{};
    QPushButton* cmdCalcSpec = nullptr;
    QLabel* Label5 = nullptr;
    std::array<QRadioButton*, 3> optKvV{};
    QComboBox* cmbKV = nullptr;
    QComboBox* cmbAb = nullptr;
    QComboBox* cmbFc = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* chkCenCol = nullptr;
    QLabel* Label4 = nullptr;  // red catalogue warnings
    QGroupBox* Frame6 = nullptr;
    std::array<QRadioButton*, 4> optKVDir{};
    vbqt::PictureBox* pctKV = nullptr;
    QComboBox* cmbLenA = nullptr;
    QComboBox* cmbLenB = nullptr;
    QComboBox* cmbRBar = nullptr;
    // Why the pedestal lists are empty: the tables have no rows for the model.
    QLabel* lblNoPedestal = nullptr;
    vbqt::PictureBox* pctRCCol = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdChangeDisp = nullptr;

protected:
    // Every closing (決定, キャンセル, the close box) unloads.
    void done(int r) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The warning and refusal of a thick series-4 plate under a column of F 325.
    static constexpr const char* kLumoPlateText =
        "コルヴァン・ルモシリーズのベース板厚が40mmを超える形式は\r　　F値325N/mm2の柱に適用できません。";
    // The warning for an H column that does not fit inside the chosen base.
    static constexpr const char* kHFitText =
        "このコルヴァンに指定された柱は適用できません。\r詳細はヴェンドラ㈱にお問い合わせください";

    int PxX(double twips) const;
    int PxY(double twips) const;
    void BuildControls();
    void ConnectControls();
    // A user action: a catalogue or engine failure anywhere in its chain is
    // reported once, when the action ends, and the dialog stays usable.
    void Act(const std::function<void()>& action);
    void ShowWarning(const std::string& text);
    void HideWarning();
    void ResetHControls();
    // Empties the H size list and its IDs.
    void ClearHSizes();
    // The boxes show the stored section's values, its own ones where it has them.
    void ShowStoredSectionValues();
    // The H size list and the dimension boxes take input only for an H
    // column; off, they are emptied and greyed.
    void EnableHControls(bool on);
    // cD and the pedestal widths of the slab check from the A and B lists.
    void TakePedestalSizes();
    void FillModelList();
    static void SelectFirst(QComboBox* list);
    // The item equal to text, or the last one when none is.
    static void SelectOrLast(QComboBox* list, const QString& text);
    // The load's last step: the stored pedestal in its lists, added where the
    // catalogue does not offer it, and the working copies as stored wherever
    // the screen shows the stored choice.
    void ShowStoredPedestal(const model::ColumnDataTbl& stored);
    // No model is offered: nothing of the last one stays on screen.
    void ClearModelChoice();
    // A pedestal list rebuilt for the working column: the working value, or
    // when the list has none at all, that value added so that what is shown
    // is what is stored.
    static void SelectPedestalItem(QComboBox* list, const QString& text, const QVariant& data, bool show);
    bool ShowsStoredChoices(const model::ColumnDataTbl& stored, const model::KvBaseTbl& storedBase,
                            int16_t grade) const;
    void KeepStoredValues(const model::ColumnDataTbl& stored, const model::KvBaseTbl& storedBase, int16_t grade);

    model::ColumnDataTbl work_;
    model::KvBaseTbl workBase_;
    std::vector<int32_t> hSizeIds_;  // 柱.ID of each cmbHSize item
    // The cmbHSize item of the stored section where the catalogue does not
    // list it under its nominal size (an import's); -1 when there is none.
    int ownHItem_ = -1;
    // The current column as stored when the dialog loaded.
    model::ColumnDataTbl stored_;
    bool savedChanged_ = false;
    int16_t savedMatCode_ = 0;
    bool loading_ = false;
    // The last model choice loaded its model; 決定 needs one that did.
    bool modelLoaded_ = false;
    // The working column and the section boxes as the load left them: own
    // section values the user did not touch keep their loaded value.
    model::ColumnDataTbl loaded_;
    std::array<QString, 5> loadedSpecTexts_;
    // A user action rebuilt or chose the pedestal since the load.
    bool pedestalTouched_ = false;

    vbqt::PictureTarget* kvTarget_ = nullptr;
    vbqt::PictureTarget* rcTarget_ = nullptr;

    dlgkit::UserActions actions_;
};
