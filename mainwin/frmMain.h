// The main window: its load, layout and close, the stress and result table of
// the current column, its cell maps, the entry of stresses into it and the
// column's verdict texts.
//
// The procedures keep the names the rest of the program calls them by; they
// are public so that the window's other parts and the tests can drive them.
#pragma once

#include "mainwin/factor_entry.h"
#include "model/project_commands.h"
#include "platform/text/vbarray.h"

#include <QMainWindow>
#include <QRect>
#include <QSize>
#include <QVariant>
#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>


namespace qtgrid {
class FlexGrid;
}
namespace model {
class IProcessRunner;
}
namespace drawing {
class clsPrintOut;
struct FigureFrameTbl;
}
namespace vbqt {
class PictureBox;
class PictureTarget;
}
class ImageList;
class QAction;
class QActionGroup;
class QUrl;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPixmap;
class QRadioButton;
class QPushButton;
class QSettings;
class QStatusBar;
class QToolBar;

// A grid cell of a design stress; Grid 0 = the stress has no cell.
struct CellPosTbl {
    int16_t Grid = 0;
    int16_t Row = 0;
    int16_t Col = 0;
};

class QFrame;
class QLineEdit;
class zDLEditBox_Vendra;
class zDLFlex8_Vendra;

class frmMain : public QMainWindow, public model::MainWindowHost {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Window size rules, twips.
    static constexpr int kFixedWidth = 12840;
    static constexpr int kMinHeight = 10905;

    // The settings store the load reads and the close writes; none given: the
    // user's ("Vendra", "SRC_Okv"). The caller keeps ownership.
    void setSettingsStore(QSettings* settings) { settings_ = settings; }
    // Default of "DataPath" and "ImportDataPath"; the help file lies there.
    std::string programFolder;
    std::string helpFile;

    // Lifecycle. The load runs once, when the window is first shown (or
    // called). Cancel set by the unload keeps the window open.
    void Form_Load();
    void Form_Resize();
    void Form_Unload(bool& Cancel);
    // The close question over unsaved changes; false when the user cancels.
    bool ConfirmLeavingProject();

    // Outer position and size and the inner size, twips.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    int ScaleWidth() const;
    int ScaleHeight() const;
    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;
    // A control's place in twips (inner-area coordinates).
    QRect TwipsRect(const QWidget* control) const;

    // MainWindowHost.
    void setCaption(const std::string& caption) override;
    void showLoading(bool on) override;
    void showNMX() override;
    void showRoute(int16_t entry) override;
    void showCalcMode(int16_t sSts, int16_t mode) override;
    void showProject() override;
    void setBukkenText(const std::string& text) override;
    void enableColumnEditing(bool del, bool left, bool right) override;

    // The title of messages without a title of their own.
    static constexpr const char* kAppTitle = "ヴェンドラS＆SRC柱脚検討";
    // What a result cell and the column list show for a column whose check
    // failed.
    static constexpr const char* kUncheckedMark = "ｴﾗｰ";

    // Runs what the user started; a failure is told once and never thrown
    // into Qt. When the current column can then not be checked, its results
    // are marked as not computed. False when the operation failed.
    bool UserOperation(const std::function<void()>& operation);
    // Clears the drawing box and writes there why nothing is drawn.
    void ShowReasonInBox(const std::string& reason);

    // Cell colours of grdView1 (OLE values).
    static constexpr std::uint32_t kOpenColor = 0x80000005u;    // takes entry
    static constexpr std::uint32_t kLockedColor = 0x8000000Au;  // result or closed stress cell
    static constexpr std::uint32_t kDarkGrey = 0x00404040u;     // never takes entry

    // Controls.
    QToolBar* tbToolBar = nullptr;
    QStatusBar* sbStatusBar = nullptr;
    QGroupBox* Frame5 = nullptr;  // 物件名
    QGroupBox* Frame3 = nullptr;  // 構造種別
    QGroupBox* Frame6 = nullptr;  // 建物形状
    QGroupBox* Frame4 = nullptr;  // 計算ルート
    QGroupBox* Frame8 = nullptr;  // 短期計算荷重
    QGroupBox* Frame7 = nullptr;  // 積雪荷重の扱い
    qtgrid::FlexGrid* grdList = nullptr;
    vbqt::PictureBox* pctNM = nullptr;
    QGroupBox* Frame1 = nullptr;  // 柱
    QGroupBox* Frame2 = nullptr;  // 柱脚
    QPushButton* cmdFlgReflesh = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* cmdInput = nullptr;
    QLabel* Label6 = nullptr;
    qtgrid::FlexGrid* grdView1 = nullptr;
    QFrame* fraInput1 = nullptr;   // carries the in-cell editor
    QLineEdit* txtInput1 = nullptr;
    std::shared_ptr<ImageList> imgMenu;

    // Design conditions.
    QLineEdit* txtBukken = nullptr;
    std::array<QRadioButton*, 2> optStruc{};
    QCheckBox* chkSymmetry = nullptr;
    QComboBox* cmbDRoot = nullptr;
    QCheckBox* chkDRoot = nullptr;
    QLabel* Label2 = nullptr;  // γ
    QLineEdit* txtGamma = nullptr;
    std::array<QRadioButton*, 3> optCalcShortMode{};
    QComboBox* cmbSCondition = nullptr;
    QLabel* Label1 = nullptr;  // α1
    QLineEdit* txtAlpha1 = nullptr;
    QLabel* Label4 = nullptr;  // α2
    QLineEdit* txtAlpha2 = nullptr;
    // Status bar panels 1..3 (index 0..2).
    std::array<QLabel*, 3> sbPanels{};
    QPushButton* cmdBDetail = nullptr;  // 詳細

    // Column detail panel.
    QLabel* Label3 = nullptr;  // 柱名称
    QLineEdit* txtColName = nullptr;
    QLabel* lblCol = nullptr;
    std::array<QLabel*, 9> lblColSpec{};
    QLabel* lblKv = nullptr;
    std::array<QLabel*, 4> lblKvSpec{};

    // Menus.
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditAddCol = nullptr;
    QAction* mnuEditCopyCol = nullptr;
    QAction* mnuEditDElCol = nullptr;
    QAction* mnuEditMoveColLeft = nullptr;
    QAction* mnuEditMoveColRight = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuViewSelectKv = nullptr;
    QAction* mnuDispNMX0 = nullptr;
    QAction* mnuDispNMY0 = nullptr;
    QAction* mnuDrawKV0 = nullptr;
    QAction* mnuDrawRCCol0 = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuDevFileOut = nullptr;
    QAction* mnuFileImport = nullptr;
    QAction* mnuFilePageSetup = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuToolsOptions = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpSearchForHelpOn = nullptr;
    QAction* mnuHelpJumpToKinou = nullptr;
    QAction* mnuHelpJumpToSendan = nullptr;
    QAction* mnuHelpJumpToHomePage = nullptr;
    QAction* mnuHelpImmunity = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QMenu* mnuPopup = nullptr;
    QAction* mnuDispNMX = nullptr;
    QAction* mnuDispNMY = nullptr;
    QAction* mnuDrawKV = nullptr;
    QAction* mnuDrawRCCol = nullptr;

    // The table's part of the load: the entry filter, the in-cell editor on
    // grdView1, the layout and the cell maps. Needs model::gzDLGetSys.
    void msub_SetUpTable();

    // Stress and result table layout.
    void msub_InitResultTable();
    void msub_FormatResultTable();
    void msub_SelectListRow(long row);

    // Cell maps.
    void msub_InitCellMaps();
    void msub_GetCellPos(int16_t component, int16_t designCase, int16_t& grid, long& row, long& col,
                         bool& found) const;
    void setIndexArray();
    // The LoadTbl fields (component, load column) that a value typed into a
    // cell replaces; empty for a cell that takes no stress.
    static std::vector<std::pair<int, int>> EntryFields(long row, long col);

    // Result rows of one direction of the current column.
    void msub_FillResultTable(int16_t dir);

    // Column verdict and zone mark.
    std::string msub_GetColumnJudge(int16_t col) const;
    std::string msub_GetZoneMark(int16_t col) const;

    // Stress entry and recalculation.
    void grdView1_RowColChange();
    void mobjFlexInput1_Validate(int Row, int Col, const QVariant& Ans, bool Check);
    void msub_RecalcCurrentColumn();
    // The stress input dialog and the shear detail of a result cell.
    void cmdInput_Click();
    void grdView1_Click();
    void msub_ShowShearDetail(long col);
    void msub_SelectColumn(bool force);
    void msub_ShowCurrentColumn();
    void msub_FillStressInputCells();
    void cmdFlgReflesh_Click();
    // everyColumn: a condition of every column's check changed; the list's
    // verdicts are checked again too.
    void refleshTable(bool everyColumn = false);

    // Status bar.
    void sbStatusBar_PanelClick(int Panel);
    void sbStatusBar_PanelDblClick(int Panel);

    // Design condition handlers.
    void txtGamma_Change();
    void chkSymmetry_Click();
    void cmbSCondition_Click();
    void txtAlpha1_Change();
    void txtAlpha2_Change();
    // The end of an entry in the gamma or alpha box: a refused one is told
    // and the box shows the project's value again.
    void EndFactorEntry(QLineEdit* box, FactorEntry& entry, double& value, double* twin, const char* name);
    void RecheckForFactors();
    void optCalcShortMode_Click(int Index);
    void txtBukken_Change();
    void txtColName_Change();
    void optStruc_Click(int Index);

    // Toolbar, menus, hot keys and buttons.
    QAction* ToolButton(const QString& key) const;
    // The file commands of this window.
    model::ProjectCommands& Commands();
    void tbToolBar_ButtonClick(const QString& key);
    void Form_KeyDown(int KeyCode, int Shift);
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileExit_Click() { close(); }
    void mnuToolsOptions_Click();
    void cmdBDetail_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();
    void mnuHelpJumpToKinou_Click();
    void mnuHelpJumpToSendan_Click();
    void mnuHelpJumpToHomePage_Click();
    void msub_RunFendralTool();
    // Commands whose windows live elsewhere; empty: the item stays disabled.
    std::function<void()> mShowPrintDialog;      // modeless from the menu
    std::function<void()> mShowPrintDialogModal; // the toolbar's print key
    std::function<void()> mShowPageSetup;
    std::function<void()> mShowDevFileOut;
    std::function<void()> mImportAnalysisFile;
    std::function<void()> mShowImmunity;
    std::function<void()> mShowAbout;
    // Opens a file or an address with the desktop's viewer; true when it did.
    std::function<bool(const QUrl&)> mOpenUrl;
    // The external program runner; none given: the real one.
    model::IProcessRunner* mProcessRunner = nullptr;

    // Column list.
    void grdList_RowColChange();

    void grdList_DblClick();
    // kind 0: a new default column, 1: a copy of the current one; after the
    // current row.
    void msub_AddColumn(int16_t kind);
    void msub_DeleteColumn();
    // 0: with the column above, 1: with the one below.
    void msub_MoveColumn(int16_t direction);
    void msub_EnableDelColumn(bool flag);
    void msub_EnableMoveColLeft(bool flag);
    void msub_EnableMoveColRight(bool flag);
    void mnuEditAddCol_Click() { msub_AddColumn(0); }
    void mnuEditCopyCol_Click() { msub_AddColumn(1); }
    void mnuEditDElCol_Click() { msub_DeleteColumn(); }
    void mnuEditMoveColLeft_Click() { msub_MoveColumn(0); }
    void mnuEditMoveColRight_Click() { msub_MoveColumn(1); }

    // Whole-project display.
    void msub_ShowProject();
    void msub_ShowCurrentColumnQuiet();

    // Route list and calculation modes.
    void set_cmbDRoot();
    void cmbDRoot_Click();
    void setCalcMode(int16_t SSts, int16_t CalcMode, int16_t Mode = 999);
    void msub_ApplyCalcModeToGrid(int16_t SSts, int16_t Mode);

    // Column detail panel and drawing box.
    void msub_ShowColumnDetail();
    void msub_UpdateDisplayMenus();
    void msub_CheckDisplayMenus();
    void msub_EditColumnSpec();
    void mnuDispNMX_Click();
    void mnuDispNMY_Click();
    void mnuDrawKV_Click();
    void mnuDrawRCCol_Click();
    void mnuDispNMX0_Click() { mnuDispNMX_Click(); }
    void mnuDispNMY0_Click() { mnuDispNMY_Click(); }
    void mnuDrawKV0_Click() { mnuDrawKV_Click(); }
    void mnuDrawRCCol0_Click() { mnuDrawRCCol_Click(); }
    void mnuViewSelectKv_Click() { msub_EditColumnSpec(); }
    void pctNM_MouseUp(int Button, int Shift, float X, float Y);
    // The base-section picture of a base record, seen in the current
    // column's direction and the shown shear direction.
    QPixmap msub_GetColSectionPicture(const model::KvBaseTbl& rec) const;

    // The column dialogs (base selection, SRC column), shown modal on the current column;
    // they set gSpecDialogOK when closed with OK. Empty: nothing opens.
    std::function<void()> mShowSelectKvDialog;  // S mode
    std::function<void()> mShowSrcInputDialog;  // SRC mode
    // The stress input dialog of the current column, modal over the window;
    // true when it wrote changed stresses back. Empty: the button is off.
    std::function<bool()> mShowStressInputDialog;
    // The shear dialog of the current column for gShearDir and gShearCase.
    std::function<void()> mShowShearDialog;
    // The options and project details dialogs, shown modal over the window.
    std::function<void()> mShowOptionsDialog;
    std::function<void()> mShowBukkenDialog;
    // Where the drawing box draws; pctNM unless a test puts another here.
    vbqt::PictureTarget* mDrawTarget = nullptr;

    vb::Array2<CellPosTbl, 1, 6, 1, 7> mintCellMap{};
    vb::Array<int16_t, 3, 9> mintCaseOfSlot{};
    vb::Array<int16_t, 1, 16> mintCompOfItem{};

    long mlngPendingRow = 1;
    bool mblnLoading = false;
    bool mblnSettingStructure = false;
    bool mblnShowingProject = false;
    bool mblnFillingRoutes = false;
    bool mblnMovingColumn = false;
    bool mblnDeletingColumn = false;
    bool mblnGridQuiet = false;
    bool mblnSkipRouteSync = false;
    FactorEntry gammaEntry_, alpha1Entry_, alpha2Entry_;

    std::unique_ptr<zDLEditBox_Vendra> mobjEditBox;
    std::unique_ptr<zDLFlex8_Vendra> mobjFlexInput1;
    std::unique_ptr<zDLFlex8_Vendra> mobjFlexInput2;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* client_ = nullptr;
    QSettings* settings_ = nullptr;
    bool loaded_ = false;

    // A stress cell of grdView1 open for entry under the current modes.
    bool CellTakesEntry(int row, int col) const;
    void FollowTableWithEditor();
    void FillCurrentColumnTables();
    void FillCurrentResultTables();
    void BuildConditionControls();
    void BuildDetailPanel();
    void BuildMenus();
    void BuildCommands();
    void ConnectConditionHandlers();
    void SetCurveButtons(bool sMode);
    void ShowGammaForRoute(bool sMode);
    void ShowSnowFactors(bool heavy);
    QAction* AddMenuItem(QMenu* menu, const char* name, const char* caption, void (frmMain::*handler)());
    void EnableWaitingCommands();
    void RedrawAfterCommand(const QString& key);
    void SwitchUnits(bool si);
    void OpenProgramFile(const char* name, bool reportFailure);
    std::unique_ptr<model::ProjectCommands> commands_;
    QActionGroup* curveGroup_ = nullptr;
    bool panelDoubleClicked_ = false;
    void LayoutColumnLabels(bool sMode);
    void DrawInBox(const std::function<void(drawing::clsPrintOut&, const drawing::FigureFrameTbl&)>& draw);
    void DrawCurrentNM();
    void DrawCurrentFigure(int16_t dir);
    void DrawCurrentRcSection();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // After a failure: the current column shown again, or, when it cannot
    // be checked, shown from its records with its results marked.
    bool ShowCurrentColumnAfterFailure(const std::string& reason);
    void MarkUncheckedColumn(const std::string& reason);
    void FillListRow(int16_t i);
    std::exception_ptr FillColumnList();
    void RefillColumnList();
    void RepairColumnList();
    int operationDepth_ = 0;
    std::string toldReason_;
    // The panel's and the list row's texts that come from the records alone.
    void ShowColumnRecordTexts();
    int MenuHeight() const;
    int PxX(double twips) const;
    int PxY(double twips) const;
    void Place(QWidget* control, int left, int top, int width, int height);
    // Outer size minus inner size, pixels (0 until the platform decorates).
    QSize FrameExtra() const;
    template <typename F>
    void WithSettings(F&& f);
};
