// Window measures kept in the settings as twips, and the checked lists the
// print and N-M output dialogs share.
#include "widgets/dialog_kit.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {

class KeptTwipsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QSettings s{dir.filePath("kept.ini"), QSettings::IniFormat};
};

TEST_F(KeptTwipsTest, ReadsNumberTextWithinAnyScreen)
{
    struct Case {
        const char* text;  // nullptr: no such key
        double fallback, kept;
    } cases[] = {
        {nullptr, 6285, 6285},
        {"1500", 0, 1500},
        {"abc", 5000, 5000},
        {"", 5000, 5000},
        {"1000000", 0, 1e6},
        {"-1000000", 0, -1e6},
        {"1000001", 7, 7},
        {"-1000001", 7, 7},
        {"0.1", 0, static_cast<double>(0.1f)},  // single precision
    };
    for (const Case& c : cases) {
        s.remove("Key");
        if (c.text) s.setValue("Key", QString::fromLatin1(c.text));
        EXPECT_EQ(dlgkit::KeptTwips(s, "Key", c.fallback), c.kept) << (c.text ? c.text : "(none)");
    }
    // A fallback is returned as given.
    s.remove("Key");
    EXPECT_EQ(dlgkit::KeptTwips(s, "Key", 0.1), 0.1);
}

TEST_F(KeptTwipsTest, KeepsWholeTwipsAsText)
{
    dlgkit::KeepTwips(s, "Left", 100, 15.0);
    dlgkit::KeepTwips(s, "Top", 3, 13.5);
    dlgkit::KeepTwips(s, "Width", -3, 13.5);
    EXPECT_EQ(s.value("Left").toString(), "1500");
    EXPECT_EQ(s.value("Top").toString(), "41");
    EXPECT_EQ(s.value("Width").toString(), "-41");
    EXPECT_EQ(dlgkit::KeptTwips(s, "Left", 0), 1500);
}

TEST(CheckedList, RowsTicksAndAll)
{
    QTreeWidget list;
    list.setColumnCount(2);
    for (int i = 1; i <= 3; ++i) {
        QTreeWidgetItem* row = dlgkit::AddCheckableRow(&list, {QString("C%1").arg(i), "B"}, i == 2);
        EXPECT_TRUE(row->flags() & Qt::ItemIsUserCheckable);
        EXPECT_EQ(row->text(0), QString("C%1").arg(i));
    }
    EXPECT_EQ(dlgkit::CheckStates(&list), (std::vector<bool>{false, true, false}));
    // A tick given by hand is read like any other.
    list.topLevelItem(0)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(dlgkit::CheckStates(&list), (std::vector<bool>{true, true, false}));
    dlgkit::SetAllChecked(&list, true);
    EXPECT_EQ(dlgkit::CheckStates(&list), (std::vector<bool>{true, true, true}));
    dlgkit::SetAllChecked(&list, false);
    EXPECT_EQ(dlgkit::CheckStates(&list), (std::vector<bool>{false, false, false}));

    QTreeWidget empty;
    dlgkit::SetAllChecked(&empty, true);
    EXPECT_TRUE(dlgkit::CheckStates(&empty).empty());
}

}  // namespace
