// The rules of what AutoCAD and MicroStation take, the table's case
// variants, the color index and the cells' looks, natively.
#include "pages/CellLooks.h"
#include "pages/FixedValueLists.h"

#include <gtest/gtest.h>

#include <random>

using namespace MappingRules;

namespace {

// The reasons one side's text gives, joined.
std::string Reasons(MappingKind kind, Side side, std::u16string_view text) {
    std::string joined;
    for (const Finding& finding : Check(kind, side, text))
        joined += (joined.empty() ? "" : " | ") + finding.reason.ToUtf8();
    return joined;
}

}  // namespace

TEST(MappingRules, EachRefusedCharacterIsNamedForEachKindOfName) {
    const std::pair<MappingKind, const char*> nouns[] = {
        {KindLevels, "layer"}, {KindLineStyles, "linetype"}, {KindCells, "block"}};
    for (auto [kind, noun] : nouns)
        for (char16_t ch : std::u16string_view(u"<>/\\\":;?,*|='`")) {
            const std::string quoted = ch == u'"' ? "'\"'" : "\"" + CString(ch).ToUtf8() + "\"";
            EXPECT_EQ(Reasons(kind, kAutoCad, std::u16string(u"A-") + ch + u"WALL"),
                      quoted + " is not allowed in an AutoCAD " + noun + " name");
        }
    EXPECT_EQ(Reasons(KindLevels, kAutoCad, u"a/b:c/d?"),
              "\"/\", \":\" and \"?\" are not allowed in an AutoCAD layer name");
    for (std::u16string_view name : {u"A-WALL_EXT $1", u"\u0421\u0442\u0435\u043D\u0430", u"a.b(c)[d]{e}#%&+~!@^"})
        EXPECT_TRUE(Takes(KindCells, kAutoCad, name)) << CString(name).ToUtf8();
}

TEST(MappingRules, NamesHoldAtMost255Utf16UnitsNoEndBlanksAndAreNotEmpty) {
    std::u16string name255 = std::u16string(253, u'n') + u"\U0001D11E";  // a character of two units last
    ASSERT_EQ(name255.size(), 255u);
    EXPECT_TRUE(Takes(KindCells, kAutoCad, name255));
    EXPECT_EQ(Reasons(KindCells, kAutoCad, name255 + u'n'),
              "an AutoCAD block name has at most 255 characters; this one has 256");
    EXPECT_EQ(Reasons(KindLevels, kAutoCad, u" Wall"), "an AutoCAD layer name cannot begin with a blank");
    EXPECT_EQ(Reasons(KindLevels, kAutoCad, u"Wall\t"), "an AutoCAD layer name cannot end with a blank");
    EXPECT_EQ(Reasons(KindLevels, kAutoCad, u"\u00A0Wall\u3000"),
              "an AutoCAD layer name cannot begin or end with a blank");
    EXPECT_TRUE(Takes(KindLevels, kAutoCad, u"Outer Wall"));
    EXPECT_EQ(Reasons(KindLineStyles, kAutoCad, u""), "an AutoCAD linetype name cannot be empty");
    // The MicroStation side of names, and the pages without names, take anything.
    for (std::u16string_view text : {u"", u" a/b ", u"x<y>"})
        EXPECT_TRUE(Takes(KindLevels, kMicroStation, text) && Takes(KindAliases, kAutoCad, text) &&
                    Takes(KindMappingCommands, kAutoCad, text));
}

TEST(MappingRules, ColorsAndWeightsAreThePagesListsAndMicroStationsRanges) {
    const std::pair<Side, const std::vector<CString>*> colors[] = {
        {kAutoCad, &FixedValueLists::AutoCadColors()}, {kMicroStation, &FixedValueLists::MicroStationColors()}};
    for (auto [side, list] : colors)
        for (const CString& value : *list)
            EXPECT_TRUE(Takes(KindColors, side, value.View())) << value.ToUtf8();
    for (const CString& value : FixedValueLists::AutoCadWeights())
        EXPECT_TRUE(Takes(KindWeights, kAutoCad, value.View())) << value.ToUtf8();
    for (const CString& value : FixedValueLists::MicroStationWeights())
        EXPECT_TRUE(Takes(KindWeights, kMicroStation, value.View())) << value.ToUtf8();
    EXPECT_TRUE(Takes(KindColors, kMicroStation, u"255"));  // past the list's 254
    for (std::u16string_view value : {u"256", u"-1", u"07", u" 7", u"bylayer", u"BG", u""})
        EXPECT_FALSE(Takes(KindColors, kAutoCad, value)) << CString(value).ToUtf8();
    for (std::u16string_view value : {u"1", u"210", u"default"})
        EXPECT_FALSE(Takes(KindWeights, kAutoCad, value)) << CString(value).ToUtf8();
    EXPECT_FALSE(Takes(KindColors, kMicroStation, u"256"));
    EXPECT_FALSE(Takes(KindColors, kMicroStation, u"ByLayer"));
    EXPECT_FALSE(Takes(KindWeights, kMicroStation, u"32"));
    // A pair: the MicroStation side first, each with its reason.
    auto findings = CheckPair(KindWeights, u"40", u"0.25");
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].reason, u"\"40\" is not a MicroStation line weight (ByLevel, ByCell or 0 to 31)");
    EXPECT_EQ(findings[1].reason, u"\"0.25\" is not one of AutoCAD's line weights (the Line Weights list)");
}

// Takes is the allocation-free road of Check: they agree.
TEST(MappingRules, TakesAgreesWithCheck) {
    std::mt19937 random(23);
    for (int i = 0; i < 2000; ++i) {
        std::u16string text(random() % 5, u'a');
        for (char16_t& ch : text)
            ch = u"aA1 /\u00A0-0"[random() % 8];
        for (int kind = 0; kind < MappingKindCount; ++kind)
            for (Side side : {kMicroStation, kAutoCad})
                EXPECT_EQ(Takes(MappingKind(kind), side, text), Check(MappingKind(kind), side, text).empty());
    }
}

// The hash against the obvious comparison of every two values, on small
// alphabets that make variants, repeats and collisions common.
TEST(CaseVariants, AgreeWithAComparisonOfEveryTwoValues) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        MappingTable table;
        std::vector<std::u16string> values = {u"\u00C9", u"\u00E9"};  // only ASCII letters fold
        for (int i = 0, count = int(random() % 60); i < count; ++i) {
            values.emplace_back(random() % 4, u'a');
            for (char16_t& ch : values.back())
                ch = u"aAbB-"[random() % 5];
        }
        CaseVariants variants(values.size());
        for (size_t i = 0; i < values.size(); ++i)
            table.SetPair(CString::FromUtf8(std::to_string(i)), CString(values[i]));
        for (const MappingEntry& entry : table)
            variants.Add(entry);
        for (const std::u16string& value : values) {
            bool expected = false;
            for (const std::u16string& other : values)
                expected = expected || AreCaseVariants(value, other);
            std::u16string_view found = variants.OtherSpelling(value);
            EXPECT_EQ(!found.empty(), expected) << CString(value).ToUtf8();
            EXPECT_TRUE(found.empty() || AreCaseVariants(value, found));
        }
    }
}

TEST(CellLooks, ColorsShowTheirIndexColorAndWeightsTheirWidth) {
    MappingTable table;
    CellLooks colors(KindColors, table);
    const std::pair<const char16_t*, uint32_t> swatches[] = {
        {u"1", 0xFF0000}, {u"5", 0x0000FF}, {u"7", 0xFFFFFF}, {u"11", 0xFF7F7F}, {u"150", 0x007FFF}, {u"250", 0x333333}};
    for (auto [value, rgb] : swatches) {
        CellLook look = colors.LookOf(u"3", value, 1);
        ASSERT_EQ(look.picture, CellLook::Picture::Swatch);
        EXPECT_EQ(uint32_t(look.color.red << 16 | look.color.green << 8 | look.color.blue), rgb);
    }
    for (const char16_t* value : {u"ByLayer", u"ByBlock", u"0"})
        EXPECT_EQ(colors.LookOf(u"3", value, 1).picture, CellLook::Picture::EmptySwatch);
    CellLook marked = colors.LookOf(u"3", u"62x", 1);
    EXPECT_TRUE(marked.bMarked);
    EXPECT_EQ(marked.picture, CellLook::Picture::None);
    EXPECT_TRUE(colors.LookOf(u"300", u"7", 0).bMarked);

    CellLooks weights(KindWeights, table);
    EXPECT_EQ(weights.LookOf(u"2", u"211", 1).nWeight, 211);
    EXPECT_EQ(weights.LookOf(u"2", u"Default", 1).picture, CellLook::Picture::None);
    EXPECT_EQ(WeightLinePixels(0, 96), 1);
    EXPECT_EQ(WeightLinePixels(100, 96), 4);
    EXPECT_EQ(WeightLinePixels(211, 96), 8);
    EXPECT_EQ(WeightLinePixels(211, 192), 16);
}

TEST(CellLooks, NamesAreMarkedForTheirRulesAndTheTablesCaseVariants) {
    MappingTable table;
    table.SetPair(u"L1", u"A-Wall");
    table.SetPair(u"L2", u"A-WALL/EXT");
    CellLooks levels(KindLevels, table);
    EXPECT_FALSE(levels.LookOf(u"L1", u"A-Wall", 1).bMarked);
    EXPECT_FALSE(levels.LookOf(u"L/1", u"A-Wall", 0).bMarked);
    EXPECT_TRUE(levels.LookOf(u"L2", u"A-WALL/EXT", 1).bMarked);
    // A later spelling marks both, as soon as the table has it.
    table.SetPair(u"L3", u"A-WALL");
    EXPECT_TRUE(levels.LookOf(u"L1", u"A-Wall", 1).bMarked);
    auto findings = levels.FindingsOf(u"L3", u"A-WALL", 1);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].reason,
              u"\"A-WALL\" and \"A-Wall\" differ only in letter case: AutoCAD takes them as one layer");
    table.RemovePair(CString(u"L3"));
    EXPECT_FALSE(levels.LookOf(u"L1", u"A-Wall", 1).bMarked);
    EXPECT_FALSE(CellLooks(KindColors, table).LookOf(u"1", u"1", 1).bMarked);  // colors are no names
}
