#include "pages/RowSearch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool Holds(const char16_t* cell, const char16_t* text, bool matchCase = false, bool wholeWord = false) {
    return RowSearch(text, matchCase, wholeWord).Holds(cell);
}

}  // namespace

TEST(RowSearch, CaseAndWholeWord) {
    EXPECT_TRUE(Holds(u"A-WALL-EXT", u"wall"));
    EXPECT_FALSE(Holds(u"A-WALL-EXT", u"wall", true));
    EXPECT_TRUE(Holds(u"A-WALL-EXT", u"WALL", true, true));  // '-' ends a word
    EXPECT_FALSE(Holds(u"WALLS", u"wall", false, true));
    EXPECT_FALSE(Holds(u"DRYWALL", u"wall", false, true));
    EXPECT_FALSE(Holds(u"WALL_1", u"wall", false, true));  // '_' belongs to the word
    EXPECT_TRUE(Holds(u"WALL", u"wall", false, true));
    EXPECT_TRUE(Holds(u"x WALLS WALL", u"wall", false, true));  // a later occurrence is whole
    // Letters beyond ASCII fold too; signs are no letters.
    EXPECT_TRUE(Holds(u"\u0421\u0422\u0415\u041d\u0410", u"\u0441\u0442\u0435\u043d\u0430"));  // "wall" in Russian
    EXPECT_TRUE(Holds(u"\u00c9TAGE", u"\u00e9tage"));
    EXPECT_TRUE(Holds(u"\u00d7WALL", u"wall", false, true));
    EXPECT_FALSE(Holds(u"\u00e9WALL", u"wall", false, true));
    EXPECT_FALSE(Holds(u"abc", u""));
    EXPECT_FALSE(Holds(u"ab", u"abc"));
}

TEST(RowSearch, FindsInKeysAndValuesFromTheStartInEitherDirection) {
    MappingTable table;
    for (auto [key, value] : {std::pair(u"1", u"A-DOOR"), std::pair(u"2", u"A-WALL"), std::pair(u"3", u"x"),
                              std::pair(u"WALL", u"y"), std::pair(u"5", u"z")})
        table.SetPair(key, value);
    std::vector<const MappingEntry*> rows;
    for (const MappingEntry& entry : table)
        rows.push_back(&entry);
    RowSearch wall(u"wall", false, false);
    EXPECT_EQ(wall.FindRow(rows, 0, true), 1);
    EXPECT_EQ(wall.FindRow(rows, 1, true), 1);  // the start row counts
    EXPECT_EQ(wall.FindRow(rows, 2, true), 4);  // "WALL" sorts last
    EXPECT_EQ(wall.FindRow(rows, 3, false), 1);
    EXPECT_EQ(wall.FindRow(rows, 0, false), -1);
    EXPECT_EQ(wall.FindRow(rows, 5, true), -1);
    EXPECT_EQ(wall.FindRow(rows, -1, false), -1);
}
