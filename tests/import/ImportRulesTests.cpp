#include "ImportTestHelpers.h"
#include "import/ImportMerge.h"
#include "import/RemapKind.h"
#include "import/TableFileName.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(TableFileName, FileNamePartOfBothSeparatorForms) {
    // Only a path that begins with "/" splits at "/"; a separator at the
    // first position does not count.
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"C:\\maps\\dwglevel.tbl\\\\", u"dwglevel.tbl"}, {u"/home/u/dwgcolor.tbl//", u"dwgcolor.tbl"},
        {u"dwgcolor.tbl", u"dwgcolor.tbl"}, {u"C:/maps/dwglevel.tbl", u"C:/maps/dwglevel.tbl"},
        {u"/maps\\x/dwg\\a.tbl", u"dwg\\a.tbl"}, {u"\\dwglevel.tbl", u"\\dwglevel.tbl"}, {u"/", u"/"}};
    for (auto [path, name] : cases)
        EXPECT_EQ(Utf8(ExtractFileName(path).View()), Utf8(name)) << Utf8(path);
}

// varnel's: either separator, wherever the path begins.
TEST(TableFileName, NameAfterTheLastSeparatorOfEitherKind) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"tables/dwglevel.tbl", u"dwglevel.tbl"}, {u"C:\\maps/x\\dwgcolor.tbl", u"dwgcolor.tbl"},
        {u"dwgweight.tbl", u"dwgweight.tbl"}, {u"maps/", u""}};
    for (auto [path, name] : cases)
        EXPECT_EQ(Utf8(NameAfterLastSeparator(path).View()), Utf8(name)) << Utf8(path);
    EXPECT_EQ(RemapKindFromName(NameAfterLastSeparator(u"tables/dwglevel.tbl")), RemapLevels);
}

TEST(TableFileName, KindFromTheNameCaseSensitiveLevelFirst) {
    const std::pair<const char16_t*, int> cases[] = {
        {u"C:\\maps\\dwglevel.tbl", RemapLevels}, {u"/maps/dwgweight.tbl", RemapWeights},
        {u"dwglinestyle.tbl", RemapLineStyles}, {u"dwgcellname.tbl", RemapCellNames},
        {u"dwgcolorlevel.tbl", RemapLevels}, {u"C:\\maps\\  dwgcolor.tbl \t", RemapColors},
        {u"DWGLEVEL.TBL", RemapUnrecognised}, {u"mylevel.tbl", RemapUnrecognised}, {u"dwgfont.tbl", RemapUnrecognised},
        {u"C:\\dwglevel\\x.tbl", RemapUnrecognised}, {u"", RemapUnrecognised}};
    for (auto [path, kind] : cases)
        EXPECT_EQ(RemapKindFromFileName(CString(path)), kind) << Utf8(path);
}

TEST(ImportMerge, TrimsValuesAndSkipsWhatHasNoPage) {
    // Only Colors and CellNames lose 'a' and 'c', and only from the value.
    const std::tuple<int, const char16_t*, const char16_t*, const char*> cases[] = {
        {RemapLevels, u" Level 1 ", u"\t Layer 1 ", "Level 1=Layer 1"}, {RemapColors, u"3", u"ac12", "3=12"},
        {RemapColors, u"3", u"a 5 c", "3=5"}, {RemapColors, u"3", u"ca", "3="}, {RemapCellNames, u"door", u"acad", "door=d"},
        {RemapCellNames, u"a", u"cab", "a=b"}, {RemapLevels, u"x", u"acme", "x=acme"},
        {RemapLineStyles, u"ac", u"ca", "ac=ca"}, {RemapFonts, u"1", u"Arial", "skipped"},
        {RemapDetect, u"1", u"A", "skipped"}, {RemapLevels, u" \t", u"A", "skipped"}};
    for (auto [kind, microStation, dwg, expected] : cases) {
        std::u16string_view key(microStation), value(dwg);
        EXPECT_EQ(TrimImportedPair(kind, key, value) ? Utf8(key) + "=" + Utf8(value) : "skipped", expected)
            << Utf8(microStation) << "," << Utf8(dwg);
    }
}
