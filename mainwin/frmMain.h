// The main window: its load, layout and close, the stress and result table of
// the current column, its cell maps, the entry of stresses into it and the
// column's verdict texts.
//
// The procedures keep the names the rest of the program calls them by; they
// are public so that the window's other parts and the tests can drive them.
#pragma once

#include "model/project_commands.h"
#include "platform/text/vbarray.h"

#include <QMainWindow>
#include <QRect>
#include <QSize>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>


namespace qtgrid {
class FlexGrid;
}
namespace vbqt {
class PictureBox;
}
class ImageList;
class QGroupBox;
class QLabel;
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
    void msub_SelectColumn(bool force);
    void msub_ShowCurrentColumn();
    void msub_FillStressInputCells();
    void cmdFlgReflesh_Click();
    void refleshTable();

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

    void FillCurrentColumnTables();
    int MenuHeight() const;
    int PxX(double twips) const;
    int PxY(double twips) const;
    void Place(QWidget* control, int left, int top, int width, int height);
    // Outer size minus inner size, pixels (0 until the platform decorates).
    QSize FrameExtra() const;
    template <typename F>
    void WithSettings(F&& f);
};
