// The caption loader on a small window with tagged controls.
#include "mainwin/load_res_strings.h"

#include "widgets/cIconMenu.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <type_traits>

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

template <class W>
W* Tagged(QWidget* parent, const char* name, const QString& design, const char* tag, const char* tip = nullptr)
{
    auto* w = new W(parent);
    w->setObjectName(name);
    if constexpr (std::is_base_of_v<QGroupBox, W>)
        w->setTitle(design);
    else
        w->setText(design);
    if (tag) w->setProperty("resTag", tag);
    if (tip) w->setProperty("resTip", tip);
    return w;
}

struct LoaderFixture : ::testing::Test {
    QMainWindow window;
    QMenu* file = nullptr;
    QMenu* edit = nullptr;
    QMenu* view = nullptr;
    QMenu* popup = nullptr;
    QAction* print = nullptr;
    QAction* addCol = nullptr;
    QAction* dispX = nullptr;
    QAction* importData = nullptr;

    void SetUp() override
    {
        file = window.menuBar()->addMenu("1000");
        file->setObjectName("mnuFile");
        file->addAction("1001")->setObjectName("mnuFileNew");
        file->addSeparator();
        // The id as a property, the design text being something else.
        importData = file->addAction("Import");
        importData->setObjectName("mnuFileImport");
        importData->setProperty("resTag", "1269");
        print = file->addAction("1010");
        print->setObjectName("mnuFilePrint");
        edit = window.menuBar()->addMenu("1013");
        addCol = edit->addAction("1151");
        addCol->setObjectName("mnuEditAddCol");
        edit->addAction("1152");
        view = window.menuBar()->addMenu("1019");
        dispX = view->addAction("1157");
        view->addAction("1301");
        // The hidden pop-up menu hangs from the window, not from the bar.
        popup = new QMenu("1156", &window);
        popup->setObjectName("mnuPopup");
        popup->addAction("1157");
        popup->addAction("1159");
    }
    void TearDown() override
    {
        gIconMenu().setMenuDefaultImage(nullptr);
        gIconMenu().setIconMenuItems(std::make_shared<IconMenuItemCollection>());
        gIconMenu().sethTargetWnd(nullptr);
    }
};

TEST_F(LoaderFixture, ControlsTakeTheirTextsByTagAndTip)
{
    window.setProperty("resTag", "1088");
    window.setWindowTitle("design");
    auto* central = new QWidget(&window);
    window.setCentralWidget(central);
    auto* name = Tagged<QLabel>(central, "Label1", "design", "1105");
    auto* plain = Tagged<QLabel>(central, "Label2", "keep", nullptr);
    auto* empty = Tagged<QLabel>(central, "Label3", "keep", "");
    auto* words = Tagged<QLabel>(central, "Label4", "keep", "abc");
    auto* rounded = Tagged<QLabel>(central, "Label5", "keep", "1104.6");  // rounds to 1105
    auto* zero = Tagged<QLabel>(central, "Label6", "keep", "0");
    auto* negative = Tagged<QLabel>(central, "Label7", "keep", "-1105");
    auto* absent = Tagged<QLabel>(central, "Label8", "keep", "1003");
    auto* frame = Tagged<QGroupBox>(central, "Frame3", "design", "1274");
    auto* check = Tagged<QCheckBox>(central, "chkSymmetry", "design", "1277");
    auto* option = Tagged<QRadioButton>(central, "optStruc", "design", "1211", "1147");
    auto* button = Tagged<QPushButton>(central, "cmdClose", "design", "1112");
    // A text box has no caption: its numeric tag changes nothing, its tip is replaced.
    auto* box = Tagged<QLineEdit>(central, "txtBukken", "typed", "1105", "1147");
    auto* tabs = new QTabWidget(central);
    tabs->addTab(new QWidget, "t0");
    tabs->addTab(new QWidget, "t1");
    tabs->setProperty("resTags", QStringList{"1284", "x"});
    tabs->setProperty("resTips", QStringList{"", "1286"});
    auto* list = new QTreeWidget(central);
    list->setHeaderLabels({"h0", "h1"});
    list->setProperty("resTags", QStringList{"1089", ""});

    LoadResStrings(&window);

    EXPECT_EQ(window.windowTitle(), U("柱脚形式の選択"));
    EXPECT_EQ(name->text(), U("柱名称"));
    for (QLabel* l : {plain, empty, words, zero, negative, absent}) EXPECT_EQ(l->text(), "keep") << l->objectName().toStdString();
    EXPECT_EQ(rounded->text(), U("柱名称"));
    EXPECT_EQ(frame->title(), U("構造種別"));
    EXPECT_EQ(check->text(), U("対称"));
    EXPECT_EQ(option->text(), U("鉄骨造"));
    EXPECT_EQ(option->toolTip(), U("長期N-M関係の表示"));
    EXPECT_EQ(button->text(), U("決定"));
    EXPECT_TRUE(button->toolTip().isEmpty());
    EXPECT_EQ(box->text(), "typed");
    EXPECT_EQ(box->toolTip(), U("長期N-M関係の表示"));
    EXPECT_EQ(tabs->tabText(0), U("地震"));
    EXPECT_EQ(tabs->tabText(1), "t1");
    EXPECT_TRUE(tabs->tabToolTip(0).isEmpty());
    EXPECT_EQ(tabs->tabToolTip(1), U("積雪"));
    EXPECT_EQ(list->headerItem()->text(0), U("A(cm2)"));
    EXPECT_EQ(list->headerItem()->text(1), "h1");
    // The names stay the documented ones.
    EXPECT_EQ(button->objectName(), "cmdClose");
}

TEST_F(LoaderFixture, AnotherWindowOwnedByThisOneIsLeftToItsOwnLoad)
{
    auto* dlg = new QDialog(&window);
    auto* inner = Tagged<QLabel>(dlg, "Label1", "keep", "1105");
    auto* menu = new QMenu("1000", dlg);
    LoadResStrings(&window);
    EXPECT_EQ(inner->text(), "keep");
    EXPECT_EQ(menu->title(), "1000");
    LoadResStrings(dlg);
    EXPECT_EQ(inner->text(), U("柱名称"));
    EXPECT_EQ(menu->title(), U("ﾌｧｲﾙ(&F)"));
}

TEST_F(LoaderFixture, WindowWithoutNumericTagKeepsItsCaption)
{
    window.setWindowTitle(U("利用規約"));
    LoadResStrings(&window);
    EXPECT_EQ(window.windowTitle(), U("利用規約"));
    window.setProperty("resTag", "");
    LoadResStrings(&window);
    EXPECT_EQ(window.windowTitle(), U("利用規約"));
}

TEST_F(LoaderFixture, ToolbarTipsReplacedButtonsWithoutTipKeepNone)
{
    QToolBar* bar = window.addToolBar("tbToolBar");
    QAction* longTerm = bar->addAction("長期");
    longTerm->setProperty("resTip", "1147");
    QAction* rebar = bar->addAction("配筋");
    LoadResStrings(&window);
    EXPECT_EQ(longTerm->toolTip(), U("長期N-M関係の表示"));
    EXPECT_EQ(longTerm->text(), U("長期"));
    // Qt shows the text as the tip of an action without one; none was set.
    EXPECT_EQ(rebar->toolTip(), U("配筋"));
}

TEST_F(LoaderFixture, WithoutIconMenusMenuItemsTakeTheirCaptions)
{
    ASSERT_FALSE(gIconMenu().MenuDefaultImage());
    LoadResStrings(&window);
    EXPECT_EQ(print->text(), U("印刷(&P)..."));
    EXPECT_EQ(print->objectName(), "mnuFilePrint");
    EXPECT_EQ(file->title(), U("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(edit->title(), U("編集(&E)"));
    EXPECT_EQ(addCol->text(), U("柱追加(&A)"));
    EXPECT_EQ(importData->text(), U("データのインポート（&I)..."));
    EXPECT_TRUE(file->actions().at(1)->isSeparator());
    EXPECT_EQ(popup->title(), U("ポップアップメニュー"));
    EXPECT_EQ(popup->actions().at(0)->text(), U("X方向N-M関係の表示(&X)"));
    EXPECT_EQ(popup->actions().at(1)->text(), U("コルヴァンの詳細表示(&D)"));
}

TEST_F(LoaderFixture, WithIconMenusTheItemKeyedByTheIdTakesTheText)
{
    cIconMenu& icons = gIconMenu();
    icons.sethTargetWnd(&window);
    icons.setMenuDefaultImage(MakeMenuImages());
    icons.SetIconMenu();

    LoadResStrings(&window);

    auto item = icons.IconMenuItems().Item("1151");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->Caption(), U("柱追加(&A)"));
    EXPECT_EQ(item->Key(), "1151");
    EXPECT_EQ(addCol->text(), U("柱追加(&A)"));
    EXPECT_EQ(print->text(), U("印刷(&P)..."));
    // The ten always-caption ids go to the item itself; their records keep the digits.
    EXPECT_EQ(file->title(), U("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(icons.IconMenuItems().Item("1000")->Caption(), "1000");
    EXPECT_EQ(dispX->text(), U("X方向N-M関係の表示(&X)"));
    EXPECT_EQ(icons.IconMenuItems().Item("1157")->Caption(), "1157");
    EXPECT_EQ(view->actions().at(1)->text(), U("ベース下柱形詳細表示"));
    EXPECT_EQ(popup->actions().at(1)->text(), U("コルヴァンの詳細表示(&D)"));
    // An item recorded under another caption has no record for its id: unchanged.
    EXPECT_EQ(importData->text(), "Import");
}

}  // namespace
