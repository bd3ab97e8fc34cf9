// Icon menus: the records made from a window's menus and the icons they get.
#include "widgets/cIconMenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

// A main window whose design-time captions are string identifiers.
struct MenuFixture : ::testing::Test {
    QMainWindow window;
    QMenu* file = nullptr;
    QMenu* column = nullptr;
    QAction* open = nullptr;

    void SetUp() override
    {
        file = window.menuBar()->addMenu("1000");
        file->addAction("1001");
        open = file->addAction("1002");
        open->setShortcut(QKeySequence("Ctrl+O"));
        file->addAction("1004");
        file->addSeparator();
        file->addAction("1010");
        file->addSeparator();
        file->addAction("1012");
        column = window.menuBar()->addMenu("1150");
        for (const char* id : {"1151", "1152", "1153", "1154", "1155"}) column->addAction(id);
        QMenu* view = window.menuBar()->addMenu("&View");
        view->addAction("Zoom &In\tCtrl++");
    }
};

TEST_F(MenuFixture, RecordsDepthFirstWithPositions)
{
    cIconMenu m;
    m.setStyle(1);
    m.sethTargetWnd(&window);
    ASSERT_EQ(m.hMenu(), window.menuBar());
    m.setMenuDefaultImage(MakeMenuImages());
    m.SetIconMenu();

    auto& items = m.IconMenuItems();
    const QStringList expected = {"1000", "1001", "1002", "1004", "1010", "1012", "1150", "1151",
                                  "1152", "1153", "1154", "1155", "&View", "Zoom &In"};
    ASSERT_EQ(items.Count(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(items.Item(i + 1)->Key(), expected[i]);
        EXPECT_EQ(items.Item(i + 1)->Index(), i);
    }
    // Separators take a position but get no record.
    EXPECT_EQ(items.Item("1010")->Position(), 4);
    EXPECT_EQ(items.Item("1012")->Position(), 6);
    EXPECT_EQ(items.Item("1150")->Position(), 1);
    EXPECT_EQ(items.Item("1000")->hMenu(), window.menuBar());
    EXPECT_EQ(items.Item("1000")->hSubMenu(), file);
    EXPECT_EQ(items.Item("1001")->hMenu(), file);
    EXPECT_EQ(items.Item("1001")->hSubMenu(), nullptr);
    EXPECT_EQ(items.Item("1002")->ShortCut(), QKeySequence("Ctrl+O").toString(QKeySequence::NativeText));
    EXPECT_EQ(items.Item("Zoom &In")->ShortCut(), "Ctrl++");
    EXPECT_EQ(items.Item("Zoom &In")->AccKey(), "I");
    EXPECT_EQ(items.Item("1001")->AccKey(), "");
    EXPECT_EQ(m.GetIDtoKey(2), "1002");
    EXPECT_EQ(m.GetIDtoKey(99), "");

    // Icons on exactly the ten tagged items.
    const QStringList tagged = {"1002", "1004", "1001", "1010", "1151", "1152", "1153", "1012", "1155", "1154"};
    for (const auto& it : items.all())
        EXPECT_EQ(!it->action()->icon().isNull(), tagged.contains(it->Key())) << it->Key().toStdString();
    EXPECT_EQ(m.GetImageIndex("1155"), 8);
    EXPECT_EQ(m.GetImageIndex("1154"), 9);
}

TEST_F(MenuFixture, CaptionChangesTheShownTextButNotTheKey)
{
    cIconMenu m;
    m.sethTargetWnd(&window);
    m.SetIconMenu();
    auto item = m.IconMenuItems().Item("1002");
    item->setCaption(QString::fromUtf8("開く(&O)"));
    EXPECT_EQ(open->text(), QString::fromUtf8("開く(&O)"));
    EXPECT_EQ(item->Key(), "1002");
    EXPECT_EQ(item->AccKey(), "");
    // Access letters are the recorded ones, matched without case.
    EXPECT_EQ(m.MatchMenuAccelerator(u'o', file), 0);
    QMenu* view = m.IconMenuItems().Item("&View")->hSubMenu();
    EXPECT_EQ(m.MatchMenuAccelerator(u'i', view), 0x20000);
    auto zoom = m.IconMenuItems().Item("Zoom &In");
    zoom->setCaption("Zoom &Closer");
    EXPECT_EQ(zoom->action()->text(), "Zoom &Closer\tCtrl++");
}

TEST_F(MenuFixture, DuplicateCaptionSkippedOthersStillSetUp)
{
    column->addAction("1151");  // same caption again
    column->addAction("1156");
    cIconMenu m;
    m.sethTargetWnd(&window);
    m.setMenuDefaultImage(MakeMenuImages());
    m.SetIconMenu();
    auto& items = m.IconMenuItems();
    EXPECT_EQ(items.Count(), 15);
    EXPECT_TRUE(items.Contains("1156"));
    EXPECT_EQ(items.Item("1156")->Index(), 12);
    EXPECT_TRUE(column->actions().at(5)->icon().isNull());
}

// One icon-menu object serves a window closed and then a new one (as the
// program's one main window may be made again): the new window's items get
// the records, captions and pictures; nothing of the first window is left.
TEST(IconMenu, NewWindowAfterADestroyedOneGetsItsOwnRecords)
{
    cIconMenu m;
    m.setMenuDefaultImage(MakeMenuImages());
    {
        QMainWindow first;
        QMenu* file = first.menuBar()->addMenu("1000");
        file->addAction("1002");
        file->addAction("1012");
        m.sethTargetWnd(&first);
        m.SetIconMenu();
        m.UnSetIconMenu();
        ASSERT_EQ(m.IconMenuItems().Count(), 3);
    }
    QMainWindow second;
    QMenu* file = second.menuBar()->addMenu("1000");
    QAction* open = file->addAction("1002");
    QAction* save = file->addAction("1004");
    m.sethTargetWnd(&second);
    m.SetIconMenu();

    auto& items = m.IconMenuItems();
    const QStringList keys = {"1000", "1002", "1004"};
    ASSERT_EQ(items.Count(), keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        const auto item = items.Item(i + 1);
        EXPECT_EQ(item->Key(), keys[i]);
        // The serial number goes on from the first window's.
        EXPECT_EQ(item->Index(), 3 + i);
        EXPECT_NE(item->hMenu(), nullptr);
        EXPECT_EQ(m.GetIDtoKey(3 + i), keys[i]);
    }
    for (long gone = 0; gone < 3; ++gone) EXPECT_EQ(m.GetIDtoKey(gone), "") << gone;
    EXPECT_EQ(items.Item("1002")->action(), open);
    EXPECT_EQ(items.Item("1000")->hMenu(), second.menuBar());
    EXPECT_EQ(items.Item("1002")->hMenu(), file);
    EXPECT_FALSE(items.Contains("1012"));
    EXPECT_FALSE(open->icon().isNull());
    EXPECT_FALSE(save->icon().isNull());
    items.Item("1002")->setCaption(QString::fromUtf8("開く(&O)"));
    EXPECT_EQ(open->text(), QString::fromUtf8("開く(&O)"));
}

TEST(IconMenu, ImageLookupAndCellSize)
{
    cIconMenu m;
    EXPECT_EQ(m.GetImageIndex("1002"), -1);
    m.setIconWidth(30);
    EXPECT_EQ(m.IconWidth(), 0);
    auto list = std::make_shared<ImageList>(16, 16);
    list->Add("Abc", QPixmap(16, 16));
    list->Add("abc", QPixmap(16, 16));
    m.setMenuDefaultImage(list);
    EXPECT_EQ(m.IconWidth(), 16);
    EXPECT_EQ(m.GetImageIndex("abc"), 1);
    EXPECT_EQ(m.GetImageIndex("ABC"), -1);
    m.setIconWidth(12);
    m.setIconHeight(20);
    EXPECT_EQ(m.IconWidth(), 16);
    EXPECT_EQ(m.IconHeight(), 20);
}

TEST(IconMenu, WindowWithoutMenuDoesNothing)
{
    QWidget w;
    cIconMenu m;
    m.sethTargetWnd(&w);
    EXPECT_EQ(m.hMenu(), nullptr);
    m.SetIconMenu();
    m.UnSetIconMenu();
    EXPECT_EQ(m.IconMenuItems().Count(), 0);
}

}  // namespace
