#include "ImportTestHelpers.h"
#include "import/TableFileName.h"

#include <gtest/gtest.h>

namespace {
int KindOf(const char16_t* path) { return RemapKindFromFileName(CString(path)); }

std::string Trimmed(int kind, const char16_t* microStation, const char16_t* dwg) {
    std::u16string_view key(microStation), value(dwg);
    if (!TrimImportedPair(kind, key, value))
        return "skipped";
    return Utf8(key) + "=" + Utf8(value);
}
}  // namespace

TEST(TableFileName, FileNamePartOfBothSeparatorForms) {
    EXPECT_EQ(ExtractFileName(u"C:\\maps\\dwglevel.tbl\\\\"), CString(u"dwglevel.tbl"));
    EXPECT_EQ(ExtractFileName(u"/home/u/dwgcolor.tbl//"), CString(u"dwgcolor.tbl"));
    EXPECT_EQ(ExtractFileName(u"dwgcolor.tbl"), CString(u"dwgcolor.tbl"));
    // Only a path that begins with "/" splits at "/".
    EXPECT_EQ(ExtractFileName(u"C:/maps/dwglevel.tbl"), CString(u"C:/maps/dwglevel.tbl"));
    EXPECT_EQ(ExtractFileName(u"/maps\\x/dwg\\a.tbl"), CString(u"dwg\\a.tbl"));
    // A separator at the first position does not count.
    EXPECT_EQ(ExtractFileName(u"\\dwglevel.tbl"), CString(u"\\dwglevel.tbl"));
    EXPECT_EQ(ExtractFileName(u"/"), CString(u"/"));
}

TEST(TableFileName, KindFromTheNameCaseSensitiveLevelFirst) {
    EXPECT_EQ(KindOf(u"C:\\maps\\dwglevel.tbl"), RemapLevels);
    EXPECT_EQ(KindOf(u"/maps/dwgweight.tbl"), RemapWeights);
    EXPECT_EQ(KindOf(u"dwglinestyle.tbl"), RemapLineStyles);
    EXPECT_EQ(KindOf(u"dwgcellname.tbl"), RemapCellNames);
    EXPECT_EQ(KindOf(u"dwgcolorlevel.tbl"), RemapLevels);
    EXPECT_EQ(KindOf(u"C:\\maps\\  dwgcolor.tbl \t"), RemapColors);
    for (const char16_t* name : {u"DWGLEVEL.TBL", u"mylevel.tbl", u"dwgfont.tbl", u"C:\\dwglevel\\x.tbl", u""})
        EXPECT_EQ(KindOf(name), RemapUnrecognised) << Utf8(name);
}

TEST(ImportMerge, TrimsValuesAndSkipsWhatHasNoPage) {
    EXPECT_EQ(Trimmed(RemapLevels, u" Level 1 ", u"\t Layer 1 "), "Level 1=Layer 1");
    EXPECT_EQ(Trimmed(RemapColors, u"3", u"ac12"), "3=12");
    EXPECT_EQ(Trimmed(RemapColors, u"3", u"a 5 c"), "3=5");
    EXPECT_EQ(Trimmed(RemapColors, u"3", u"ca"), "3=");
    EXPECT_EQ(Trimmed(RemapCellNames, u"door", u"acad"), "door=d");
    EXPECT_EQ(Trimmed(RemapCellNames, u"a", u"cab"), "a=b");
    // Only Colors and CellNames lose 'a' and 'c', and only from the value.
    EXPECT_EQ(Trimmed(RemapLevels, u"x", u"acme"), "x=acme");
    EXPECT_EQ(Trimmed(RemapLineStyles, u"ac", u"ca"), "ac=ca");
    EXPECT_EQ(Trimmed(RemapFonts, u"1", u"Arial"), "skipped");
    EXPECT_EQ(Trimmed(RemapDetect, u"1", u"A"), "skipped");
    EXPECT_EQ(Trimmed(RemapLevels, u" \t", u"A"), "skipped");
}

TEST(ImportMerge, HandsTrimmedPairsToPagesInListOrder) {
    ASSERT_EQ(ReadRemapText(u"%section,CellNames\nCellName,V7OutputCellName\nDOOR1,acdoor\n  ,X\n"
                            u"%section,Colors\nColor,DWGOutputColor\n 3 ,10\n14,62ac\n3 ,ca\n",
                            RemapDetect),
              Parsed);
    // " 3 " and "3 " are two reader pairs that only the pages fold.
    EXPECT_EQ(MergedPairs(), (Strings{"Cells:DOOR1=door", "Colors:3=10", "Colors:14=62", "Colors:3="}));
    EXPECT_TRUE(pairs.empty());
    ReleaseRemapData();
}
