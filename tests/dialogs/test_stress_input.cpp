// The stress input dialog: the blocks shown for each short-term load kind,
// symmetry and calculation mode; the cell map; values committed through the
// grid editor, OK, キャンセル and the close box; the move mode; the window
// place kept in the settings; a unit factor that cannot divide.
#include "tests/dialogs/select_kv_fixture.h"

#include "dialogs/dlgInput.h"
#include "model/format.h"
#include "platform/qt/grid/flexgrid.h"
#include "platform/qt/twips.h"
#include "widgets/zDLFlex8_Vendra.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <utility>
#include <vector>

namespace {

using namespace model;

constexpr double kFactor = 9.80665;

class StressInput : public selkvtest::SelectKvTest {
protected:
    void SetUp() override
    {
        SelectKvTest::SetUp();
        if (!gzDLGetSys) gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
        gUnitFactor = kFactor;
        gShortLoadKind = 0;
        gCond.SymmetryX = gCond.SymmetryY = kFalse;
        gCond.ShortCalcMode = 1;
        gCond.UltCalcMode = 1;
        // Every field its own value, some negative, none zero.
        ColumnDataTbl& c = gColumns(gCurCol);
        for (int16_t i = 1; i <= 8; ++i)
            for (int16_t j = 1; j <= 20; ++j) c.LoadTbl(i, j) = (i * 100 + j) * 0.25 - 90.5;
        before = c;
    }
    void TearDown() override
    {
        in.reset();
        gUnitFactor = kFactor;
        gShortLoadKind = 0;
        SelectKvTest::TearDown();
    }

    dlgInput& OpenInput()
    {
        in.reset();
        in = std::make_unique<dlgInput>();
        grid = in->grdInput;
        return *in;
    }
    // Opened and shown, the window active so that the editor takes the focus.
    dlgInput& ShowInput()
    {
        OpenInput();
        in->show();
        in->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(in.get()));
        return *in;
    }
    void go(int r, int c)
    {
        grid->setFocus();
        grid->Select(r, c);
        QApplication::processEvents();
    }
    bool editorOpen() const { return in->fraInput1->isVisible(); }
    // Typed over the whole cell text and committed with Enter.
    void type(const char* text)
    {
        ASSERT_TRUE(editorOpen()) << "no editor on " << grid->Row() << "," << grid->Col();
        in->txtInput1->selectAll();
        if (*text)
            QTest::keyClicks(in->txtInput1, text);
        else
            QTest::keyClick(in->txtInput1, Qt::Key_Delete);
        QTest::keyClick(in->txtInput1, Qt::Key_Return);
        QApplication::processEvents();
    }
    void enter(int r, int c, const char* text)
    {
        go(r, c);
        type(text);
    }
    // The working copy against `before` with the fields named changed.
    void ExpectOnlyChanged(const ColumnDataTbl& now, std::initializer_list<std::pair<int, int>> fields, double value)
    {
        ColumnDataTbl want = before;
        for (auto [i, j] : fields) want.LoadTbl(static_cast<int16_t>(i), static_cast<int16_t>(j)) = value;
        for (int16_t i = 1; i <= 8; ++i)
            for (int16_t j = 1; j <= 20; ++j)
                EXPECT_EQ(now.LoadTbl(i, j), want.LoadTbl(i, j)) << "LoadTbl(" << i << ", " << j << ")";
        EXPECT_TRUE(now == want);
    }
    QString setting(const char* key)
    {
        QSettings s = AppSettings();
        s.beginGroup(QString::fromLatin1(kSettingsGroup));
        return s.value(QString::fromLatin1(key)).toString();
    }

    std::unique_ptr<dlgInput> in;
    qtgrid::FlexGrid* grid = nullptr;
    ColumnDataTbl before;
};

// ---- Blocks and titles ----

TEST_F(StressInput, BlocksShownForEachLoadKindSymmetryAndMode)
{
    // Titles of the blocks of rows 5-19 in order; empty = hidden, no title.
    struct Kind {
        int16_t kind;
        bool symmetric;
        const char* titles[5];
    } kinds[] = {
        {0, true, {"地震時", "", "", "", ""}},
        {0, false, {"地震時Ｌ", "地震時Ｒ", "", "", ""}},
        {1, true, {"", "", "", "暴風時", ""}},
        {1, false, {"", "", "", "暴風時Ｌ", "暴風時Ｒ"}},
        {2, true, {"", "", "積雪時", "", ""}},
        {2, false, {"", "", "積雪時", "", ""}},
        {3, true, {"", "", "", "", ""}},
        {-1, false, {"", "", "", "", ""}},
    };
    // Symmetric only with both flags.
    using Flags = std::vector<std::pair<int16_t, int16_t>>;
    const Flags symmetricFlags{{kTrue, kTrue}};
    const Flags otherFlags{{kTrue, kFalse}, {kFalse, kTrue}, {kFalse, kFalse}};
    const char* const components[] = {"軸 力", "曲げﾓｰﾒﾝﾄ", "せん断力"};
    for (const Kind& k : kinds)
        for (const auto& [sx, sy] : k.symmetric ? symmetricFlags : otherFlags)
            for (int16_t shortMode : {0, 1})
                for (int16_t ultMode : {0, 1}) {
                    gShortLoadKind = k.kind;
                    gCond.SymmetryX = sx;
                    gCond.SymmetryY = sy;
                    gCond.ShortCalcMode = shortMode;
                    gCond.UltCalcMode = ultMode;
                    OpenInput();
                    const std::string what = "kind " + std::to_string(k.kind) + " sym " + std::to_string(sx) +
                                             "/" + std::to_string(sy) + " modes " + std::to_string(shortMode) +
                                             "/" + std::to_string(ultMode);
                    ASSERT_EQ(grid->Rows(), 32);
                    ASSERT_EQ(grid->Cols(), 4);
                    EXPECT_TRUE(grid->RowHidden(0)) << what;
                    EXPECT_FALSE(grid->RowHidden(1)) << what;
                    struct Block {
                        QString title;
                        bool shown;
                    } blocks[10];
                    blocks[0] = {"長期", true};
                    for (int b = 1; b <= 5; ++b) blocks[b] = {QString::fromUtf8(k.titles[b - 1]), *k.titles[b - 1] != 0};
                    blocks[6] = {"短期L", shortMode == 1};
                    blocks[7] = {"短期R", shortMode == 1};
                    blocks[8] = {"終局L", ultMode == 1};
                    blocks[9] = {"終局R", ultMode == 1};
                    for (int b = 0; b < 10; ++b)
                        for (int i = 0; i < 3; ++i) {
                            const int r = 2 + 3 * b + i;
                            EXPECT_EQ(grid->TextMatrix(r, 0), blocks[b].title) << what << " row " << r;
                            EXPECT_EQ(grid->RowHidden(r), !blocks[b].shown) << what << " row " << r;
                            EXPECT_EQ(grid->TextMatrix(r, 1), QString::fromUtf8(components[i])) << what;
                        }
                }
}

TEST_F(StressInput, HeadersWidthsAndMergedTitles)
{
    OpenInput();
    EXPECT_EQ(grid->FixedRows(), 2);
    EXPECT_EQ(grid->FixedCols(), 2);
    EXPECT_EQ(grid->ColWidth(0), 800);
    EXPECT_EQ(grid->ColWidth(1), 1200);
    EXPECT_EQ(grid->TextMatrix(0, 2), "X方向加力");
    EXPECT_EQ(grid->TextMatrix(0, 3), "Y方向加力");
    EXPECT_EQ(grid->TextMatrix(1, 2), "X");
    EXPECT_EQ(grid->TextMatrix(1, 3), "Y");
    EXPECT_EQ(grid->CellBackColor(2, 3), 0x404040u);
    EXPECT_EQ(grid->TextMatrix(2, 3), "");
    EXPECT_EQ(grid->MergeCells(), qtgrid::flexMergeRestrictColumns);
    // A block title is one cell over its three rows; the component titles
    // beside it stay apart, as do the titles of neighbouring blocks.
    int r1, c1, r2, c2;
    grid->GetMergedRange(6, 0, r1, c1, r2, c2);
    EXPECT_EQ((std::array{r1, c1, r2, c2}), (std::array{5, 0, 7, 0}));
    grid->GetMergedRange(6, 1, r1, c1, r2, c2);
    EXPECT_EQ((std::array{r1, c1, r2, c2}), (std::array{6, 1, 6, 1}));
    grid->GetMergedRange(8, 0, r1, c1, r2, c2);
    EXPECT_EQ((std::array{r1, r2}), (std::array{8, 10}));
}

// ---- Cell map and fill ----

TEST_F(StressInput, FiftyNineCellsMapToTheirComponentAndCase)
{
    OpenInput();
    // Rows of each block: the load case in X (column 2) and in Y (column 3).
    const int cases[10][2] = {{1, 2}, {3, 5}, {4, 6}, {11, 12}, {7, 9}, {8, 10}, {13, 19}, {14, 20}, {15, 17}, {16, 18}};
    const StressCellMap& map = in->CellMap();
    int found = 0;
    for (int r = 0; r < 32; ++r)
        for (int c = 0; c < 4; ++c) {
            StressCellTbl e;
            const int32_t pos = map.LookupStressCell(r, c, e);
            const int b = (r - 2) / 3, k = (r - 2) % 3;
            const bool editable = r >= 2 && c >= 2 && !(r == 2 && c == 3);
            if (!editable) {
                EXPECT_EQ(pos, 0) << r << "," << c;
                continue;
            }
            ASSERT_GT(pos, 0) << r << "," << c;
            ++found;
            EXPECT_EQ(map.Cells()[pos - 1].GridRow, r);
            EXPECT_EQ(e.GridRow, r);
            EXPECT_EQ(e.GridCol, c);
            EXPECT_EQ(e.Component, c == 2 ? 1 + k : 4 + k) << r << "," << c;
            EXPECT_EQ(e.LoadCase, cases[b][c - 2]) << r << "," << c;
        }
    EXPECT_EQ(found, 59);
    EXPECT_EQ(map.Cells().size(), 59u);
    EXPECT_EQ(StressCellMap::MakeCellKey(5, 2), "5,2");
    EXPECT_EQ(StressCellMap::MakeCellKey(31, 3), "31,3");
}

TEST_F(StressInput, EveryMappedCellShowsItsStressHiddenRowsToo)
{
    gCond.ShortCalcMode = 0;
    gCond.UltCalcMode = 0;
    gShortLoadKind = 2;
    ColumnDataTbl& c = gColumns(gCurCol);
    c.LoadTbl(2, 3) = 1.5;     // a hidden seismic row
    c.LoadTbl(6, 17) = -6.25;  // a hidden ultimate row
    c.LoadTbl(3, 11) = 0;
    gUnitFactor = 2;
    OpenInput();
    EXPECT_EQ(grid->TextMatrix(6, 2), "3.00");
    EXPECT_EQ(grid->TextMatrix(28, 3), "-12.50");
    EXPECT_EQ(grid->TextMatrix(13, 2), "0.00");
    for (const StressCellTbl& e : in->CellMap().Cells()) {
        const double v = 2 * c.LoadTbl(static_cast<int16_t>(e.Component), static_cast<int16_t>(e.LoadCase));
        EXPECT_EQ(grid->TextMatrix(e.GridRow, e.GridCol).toStdString(), FormatValue(v, 2))
            << e.GridRow << "," << e.GridCol;
    }
}

// ---- Entry ----

TEST_F(StressInput, XAxialForceAlsoSetsTheYSetAndTheTextStaysAsTyped)
{
    ShowInput();
    enter(5, 2, "100");
    EXPECT_EQ(grid->TextMatrix(5, 2), "100");
    ExpectOnlyChanged(in->WorkColumn(), {{1, 3}, {4, 3}}, 100 / kFactor);
    EXPECT_TRUE(gColumns(gCurCol) == before);  // nothing written before OK
}

TEST_F(StressInput, YAxialForceSetsOnlyComponentFour)
{
    ShowInput();
    enter(5, 3, "100");
    ExpectOnlyChanged(in->WorkColumn(), {{4, 5}}, 100 / kFactor);
}

TEST_F(StressInput, MomentAndShearCellsOfBothColumns)
{
    struct Case {
        int r, c, comp, loadCase;
    } cases[] = {{3, 3, 5, 2}, {4, 3, 6, 2}, {30, 2, 2, 16}, {31, 3, 6, 18}, {22, 2, 3, 13}};
    for (const Case& k : cases) {
        ShowInput();
        enter(k.r, k.c, "-12.5");
        ExpectOnlyChanged(in->WorkColumn(), {{k.comp, k.loadCase}}, -12.5 / kFactor);
    }
}

TEST_F(StressInput, EmptiedCellStoresZero)
{
    ShowInput();
    ASSERT_NE(before.LoadTbl(2, 3), 0);
    enter(6, 2, "");
    ExpectOnlyChanged(in->WorkColumn(), {{2, 3}}, 0);
}

TEST_F(StressInput, OkCopiesTheLongTermAxialForceToBothSets)
{
    ShowInput();
    // The grid opens on (2, 2): entering it means coming from another cell.
    go(3, 2);
    enter(2, 2, "7");
    in->cmdOK->click();
    EXPECT_TRUE(in->prpEdit());
    EXPECT_FALSE(in->isVisible());
    ExpectOnlyChanged(gColumns(gCurCol), {{1, 1}, {1, 2}, {4, 1}, {4, 2}}, 7 / kFactor);
    EXPECT_FALSE(gDataChanged);  // the opener's business
}

TEST_F(StressInput, OkWritesHiddenRowsBackUnchanged)
{
    gCond.ShortCalcMode = 0;
    gCond.UltCalcMode = 0;
    ShowInput();
    for (int r = 20; r <= 31; ++r) ASSERT_TRUE(grid->RowHidden(r));
    enter(6, 3, "3");
    in->cmdOK->click();
    // Untyped, the long-term N of X still stands for all four fields.
    ColumnDataTbl want = before;
    want.LoadTbl(5, 5) = 3 / kFactor;
    for (auto [i, j] : {std::pair{1, 2}, {4, 1}, {4, 2}}) want.LoadTbl(i, j) = before.LoadTbl(1, 1);
    EXPECT_TRUE(gColumns(gCurCol) == want);
}

TEST_F(StressInput, EditorOpensOnlyOnMappedCellsNotLockedOnes)
{
    ShowInput();
    struct Case {
        int r, c;
        bool open;
    } cases[] = {
        {3, 3, true},  {2, 3, false},  // the locked long-term N of Y
        {5, 0, false}, {5, 1, false},  // titles
        {1, 2, false}, {1, 3, false},  // headers
        {31, 3, true}, {2, 2, true},
    };
    for (const Case& k : cases) {
        go(k.r, k.c);
        ASSERT_EQ(grid->Row(), k.r);
        EXPECT_EQ(editorOpen(), k.open) << k.r << "," << k.c;
    }
    // The lock is the colour: a mapped cell painted dark grey stays closed.
    grid->setCellBackColor(4, 2, dlgInput::kLockedColor);
    go(4, 2);
    EXPECT_FALSE(editorOpen());
    // A click on a header cell leaves the cell and the editor as they are.
    go(3, 2);
    ASSERT_TRUE(editorOpen());
    const QPoint header(grid->TwipsToPixelsX(grid->CellLeft(1, 3) + 60), grid->TwipsToPixelsY(grid->CellTop(1, 3) + 60));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, header);
    EXPECT_EQ(grid->Row(), 3);
}

TEST_F(StressInput, ValidateOfAnUnmappedCellChangesNothing)
{
    OpenInput();
    emit in->FlexInput()->Validate(2, 3, 5.0, true);
    emit in->FlexInput()->Validate(5, 0, 5.0, true);
    EXPECT_TRUE(in->WorkColumn() == before);
}

TEST_F(StressInput, CancelCloseBoxAndEscDropEveryEntry)
{
    enum How { kCancel, kCloseBox, kEscOnGrid };
    for (How how : {kCancel, kCloseBox, kEscOnGrid}) {
        ShowInput();
        enter(8, 3, "-4");
        enter(2, 2, "55");
        enter(29, 2, "12");
        ASSERT_FALSE(in->WorkColumn() == before);
        switch (how) {
        case kCancel: in->cmdCancel->click(); break;
        case kCloseBox: in->close(); break;
        case kEscOnGrid:
            go(1, 2);  // no editor open
            QTest::keyClick(grid, Qt::Key_Escape);
            break;
        }
        EXPECT_FALSE(in->isVisible()) << how;
        EXPECT_FALSE(in->prpEdit()) << how;
        EXPECT_TRUE(gColumns(gCurCol) == before) << how;
    }
}

TEST_F(StressInput, EscInTheEditorRestoresTheTextAndKeepsTheDialog)
{
    ShowInput();
    go(6, 2);
    const QString old = grid->TextMatrix(6, 2);
    QTest::keyClicks(in->txtInput1, "9");
    QTest::keyClick(in->txtInput1, Qt::Key_Escape);
    EXPECT_TRUE(in->isVisible());
    EXPECT_TRUE(editorOpen());
    EXPECT_EQ(in->txtInput1->text(), old);
    in->cmdOK->click();
    EXPECT_TRUE(in->prpEdit());
    EXPECT_EQ(gColumns(gCurCol).LoadTbl(2, 3), before.LoadTbl(2, 3));
}

TEST_F(StressInput, MoveModeButtons)
{
    ShowInput();
    QToolButton* across = in->optFlexMoveMode[0];
    QToolButton* down = in->optFlexMoveMode[1];
    EXPECT_EQ(across->toolTip(), "カーソルを横移動にします。");
    EXPECT_EQ(down->toolTip(), "カーソルを縦移動にします。");
    EXPECT_FALSE(across->icon().isNull());
    EXPECT_TRUE(across->isChecked());
    EXPECT_EQ(in->FlexInput()->prpMoveMode(), 4);
    enter(5, 2, "1");
    EXPECT_EQ((std::pair{grid->Row(), grid->Col()}), (std::pair{5, 3}));

    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_TRUE(down->isChecked());
    EXPECT_FALSE(across->isChecked());
    EXPECT_EQ(in->FlexInput()->prpMoveMode(), 3);
    EXPECT_EQ(QApplication::focusWidget(), grid);
    enter(5, 2, "2");
    EXPECT_EQ((std::pair{grid->Row(), grid->Col()}), (std::pair{6, 2}));

    QTest::mouseClick(across, Qt::LeftButton);
    EXPECT_EQ(in->FlexInput()->prpMoveMode(), 4);
}

TEST_F(StressInput, AFactorThatCannotDivideStoresNothing)
{
    for (double f : {0.0, std::numeric_limits<double>::quiet_NaN(), -1.0,
                     std::numeric_limits<double>::infinity()}) {
        gUnitFactor = f;
        ShowInput();
        enter(5, 2, "100");
        enter(2, 2, "3");
        EXPECT_TRUE(in->WorkColumn() == before) << f;
        in->cmdOK->click();
        for (int16_t i = 1; i <= 8; ++i)
            for (int16_t j = 1; j <= 20; ++j) EXPECT_TRUE(std::isfinite(gColumns(gCurCol).LoadTbl(i, j)));
        gColumns(gCurCol) = before;
    }
}

// ---- Window ----

TEST_F(StressInput, FirstOpeningPlaceAndTheFiveKeysWrittenOnEveryClosing)
{
    ShowInput();
    const auto px = [this](double twipsX, double twipsY) {
        return QSize(static_cast<int>(std::lround(twipsX / vbqt::TwipsPerPixelX(*in))),
                     static_cast<int>(std::lround(twipsY / vbqt::TwipsPerPixelY(*in))));
    };
    EXPECT_EQ(in->frameGeometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(in->frameGeometry().size(), px(6285, 5000));
    const QSize size = in->frameGeometry().size();
    in->cmdCancel->click();
    const auto twips = [this](int v) { return QString::number(std::lround(v * vbqt::TwipsPerPixelX(*in))); };
    const auto twipsY = [this](int v) { return QString::number(std::lround(v * vbqt::TwipsPerPixelY(*in))); };
    EXPECT_EQ(setting("dlgInputLeft"), "0");
    EXPECT_EQ(setting("dlgInputTop"), "0");
    EXPECT_EQ(setting("dlgInputWindowState"), "0");
    EXPECT_EQ(setting("dlgInputWidth"), twips(size.width()));
    EXPECT_EQ(setting("dlgInputHeight"), twipsY(size.height()));

    // The kept place is where the next opening stands, and OK keeps it too.
    {
        QSettings s = AppSettings();
        s.beginGroup(QString::fromLatin1(kSettingsGroup));
        s.setValue("dlgInputLeft", "1500");
        s.setValue("dlgInputTop", "900");
        s.setValue("dlgInputWidth", "7200");
        s.setValue("dlgInputHeight", "abc");  // unreadable: the default
    }
    ShowInput();
    EXPECT_EQ(in->frameGeometry().topLeft(), QPoint(px(1500, 900).width(), px(1500, 900).height()));
    EXPECT_EQ(in->frameGeometry().size(), px(7200, 5000));
    in->move(in->pos() + QPoint(10, 20));
    const QPoint moved = in->frameGeometry().topLeft();
    in->cmdOK->click();
    EXPECT_EQ(setting("dlgInputLeft"), twips(moved.x()));
    EXPECT_EQ(setting("dlgInputTop"), twipsY(moved.y()));
    EXPECT_EQ(setting("dlgInputWidth"), twips(px(7200, 5000).width()));
    EXPECT_EQ(setting("dlgInputHeight"), twipsY(px(7200, 5000).height()));
}

TEST_F(StressInput, ResizeKeepsButtonsAtTheEdgesAndTheGridBetween)
{
    ShowInput();
    in->resize(700, 520);
    QApplication::processEvents();
    const auto x = [this](double t) { return static_cast<int>(std::lround(t / vbqt::TwipsPerPixelX(*in))); };
    const auto y = [this](double t) { return static_cast<int>(std::lround(t / vbqt::TwipsPerPixelY(*in))); };
    QToolButton* o0 = in->optFlexMoveMode[0];
    QToolButton* o1 = in->optFlexMoveMode[1];
    EXPECT_EQ(o0->x(), x(60));
    EXPECT_EQ(o0->y() + o0->height(), 520 - y(60));
    EXPECT_EQ(o1->x(), o0->x() + o0->width() + x(60));
    EXPECT_EQ(o1->y(), o0->y());
    EXPECT_EQ(in->cmdCancel->x() + in->cmdCancel->width(), 700 - x(60));
    EXPECT_EQ(in->cmdCancel->y() + in->cmdCancel->height(), 520 - y(60));
    EXPECT_EQ(in->cmdOK->x() + in->cmdOK->width(), in->cmdCancel->x() - x(60));
    EXPECT_EQ(in->cmdOK->y(), in->cmdCancel->y());
    EXPECT_EQ(in->grdInput->geometry().topLeft(), QPoint(x(60), y(60)));
    EXPECT_EQ(in->grdInput->x() + in->grdInput->width(), 700 - x(60));
    EXPECT_EQ(in->grdInput->y() + in->grdInput->height(), in->cmdCancel->y() - y(120));
    // Too small for the grid: no negative size, nothing thrown.
    in->resize(20, 20);
    QApplication::processEvents();
    EXPECT_GE(in->grdInput->height(), 0);
}

TEST_F(StressInput, ModalOnAParentWindow)
{
    QWidget owner;
    owner.show();
    dlgInput d(&owner);
    EXPECT_EQ(d.windowTitle(), "応力入力");
    QTimer::singleShot(0, &d, [&d] { d.cmdOK->click(); });
    EXPECT_EQ(d.exec(), QDialog::Accepted);
    EXPECT_TRUE(d.prpEdit());
    QTimer::singleShot(0, [] {
        if (auto* open = qobject_cast<dlgInput*>(QApplication::activeModalWidget())) open->cmdCancel->click();
    });
    dlgInput second(&owner);
    EXPECT_EQ(second.exec(), QDialog::Rejected);
    EXPECT_FALSE(second.prpEdit());
}

TEST_F(StressInput, Screenshot)
{
    gShortLoadKind = 0;
    gCond.SymmetryX = gCond.SymmetryY = kTrue;
    gCond.ShortCalcMode = 1;
    gCond.UltCalcMode = 1;
    ShowInput();
    QApplication::processEvents();
    const std::filesystem::path dir = std::filesystem::path(KV_TEST_OUT_DIR) / "dialogs";
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(in->grab().save(QStringLiteral(KV_TEST_OUT_DIR "/dialogs/stress_input.png")));
}

}  // namespace
