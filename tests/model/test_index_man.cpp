#include "model/index_man.h"

#include "platform/text/vberror.h"

#include <gtest/gtest.h>

#include <string>

using model::clsIndexMan_Str_Vendra;

TEST(IndexMan, SortedRegistrationFindsEveryKey)
{
    clsIndexMan_Str_Vendra m;
    EXPECT_TRUE(m.AddSortFlag());
    EXPECT_EQ(m.InvalidIndex(), 0);
    const char* keys[] = {"5,2", "1,1", "10,3", "B", "a", "A", "3,9", "ベ"};
    for (const char* k : keys) m.Register(k);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(m.GetIndex(keys[i]), i + 1) << keys[i];
    EXPECT_EQ(m.GetIndex("b"), 0);  // case counts
    EXPECT_EQ(m.GetIndex("never"), 0);
    EXPECT_EQ(m.Index_Max(), 8);

    m.Register("B", 77);  // already there: keeps its first index
    EXPECT_EQ(m.GetIndex("B"), 4);
    EXPECT_EQ(m.Index_Max(), 8);
}

TEST(IndexMan, UnRegisterKeepsNumberingGoing)
{
    clsIndexMan_Str_Vendra m;
    m.Register("x");
    m.Register("y");
    m.Register("z");
    m.UnRegister("nothing");
    EXPECT_EQ(m.GetIndex("y"), 2);
    m.UnRegister("z");
    EXPECT_EQ(m.GetIndex("z"), 0);
    EXPECT_EQ(m.GetIndex("x"), 1);
    EXPECT_EQ(m.GetIndex("y"), 2);
    m.Register("w");
    EXPECT_EQ(m.GetIndex("w"), 4);
    m.Register("z");
    EXPECT_EQ(m.GetIndex("z"), 5);
}

TEST(IndexMan, UnsortedModeAppendsAndSortsOnceWhenAsked)
{
    clsIndexMan_Str_Vendra m;
    m.setAddSortFlag(false);
    m.Register("m", 3);
    m.Register("c", 1);
    m.Register("x", 2);
    m.Register("a", 6);
    EXPECT_EQ(m.GetIndex("x"), 2);
    EXPECT_EQ(m.GetIndex("a"), 6);
    EXPECT_EQ(m.GetIndex("q"), 0);

    // Removing takes the key's own entry, not the one at the scan position.
    m.UnRegister("m");
    EXPECT_EQ(m.GetIndex("m"), 0);
    m.setAddSortFlag(true);
    EXPECT_EQ(m.GetIndex("a"), 6);
    EXPECT_EQ(m.GetIndex("c"), 1);
    EXPECT_EQ(m.GetIndex("x"), 2);
    EXPECT_EQ(m.GetIndex("m"), 0);
    m.Register("b", 9);
    EXPECT_EQ(m.GetIndex("b"), 9);
    EXPECT_EQ(m.GetIndex("c"), 1);
}

TEST(IndexMan, GrowsForLargeIndexesAndClears)
{
    clsIndexMan_Str_Vendra m;
    EXPECT_EQ(m.capacity(), 0);
    m.Register("k", 150);
    EXPECT_EQ(m.capacity(), 250);
    EXPECT_EQ(m.GetIndex("k"), 150);
    EXPECT_EQ(m.Index_Max(), 150);
    m.Register("l");
    EXPECT_EQ(m.GetIndex("l"), 151);

    m.setAddSortFlag(false);
    m.Clear();
    EXPECT_EQ(m.capacity(), 0);
    EXPECT_EQ(m.Index_Max(), 0);
    EXPECT_FALSE(m.AddSortFlag());
    EXPECT_EQ(m.GetIndex("k"), 0);
}

TEST(IndexMan, MisuseStaysInsideTheLists)
{
    clsIndexMan_Str_Vendra m;
    m.setAddSortFlag(false);
    // One index reused for many keys: more keys than slots.
    for (int i = 0; i < 300; ++i) m.Register("k" + std::to_string(i), 1);
    EXPECT_GE(m.capacity(), 300);
    m.setIndex_Max(100000);  // past the slots: the scan must stop at them
    EXPECT_EQ(m.GetIndex("none"), 0);
    EXPECT_THROW(m.Register("neg", -5), vb::Error);
}
