// The checked lists the print and N-M output dialogs share.
#include "dialogs/dialog_kit.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

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
