// The rules of what AutoCAD and MicroStation take, the table's case
// variants, the color index and the cells' looks, natively.
#include "pages/AciPalette.h"
#include "pages/CaseVariants.h"
#include "pages/CellLooks.h"
#include "pages/FixedValueLists.h"
#include "pages/MappingRules.h"

#include <gtest/gtest.h>

#include <random>

using namespace MappingRules;

namespace {

constexpr MappingKind kNameKinds[] = {KindLevels, KindLineStyles, KindCells};

// The reasons one side's text gives, joined for comparison.
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
            const std::u16string name = std::u16string(u"A-") + ch + u"WALL";
            const std::string quoted = ch == u'"' ? "'\"'" : "\"" + CString(ch).ToUtf8() + "\"";
            EXPECT_FALSE(Takes(kind, kAutoCad, name));
            EXPECT_EQ(Reasons(kind, kAutoCad, name), quoted + " is not allowed in an AutoCAD " + noun + " name");
        }
    // Several at once: each named once, in the order they come.
    EXPECT_EQ(Reasons(KindLevels, kAutoCad, u"a/b:c/d?"),
              "\"/\", \":\" and \"?\" are not allowed in an AutoCAD layer name");
    // What AutoCAD does take, letters of any script included.
    for (std::u16string_view name : {u"A-WALL_EXT $1", u"Стена", u"壁", u"a.b(c)[d]{e}#%&+~!@^"})
        for (MappingKind kind : kNameKinds)
            EXPECT_TRUE(Takes(kind, kAutoCad, name)) << CString(name).ToUtf8();
}

TEST(MappingRules, NamesHoldAtMost255Utf16Units) {
    const std::u16string clef = u"\U0001D11E";  // two UTF-16 units
    std::u16string name255(253, u'n');
    name255 += clef;
    ASSERT_EQ(name255.size(), 255u);
    EXPECT_TRUE(Takes(KindCells, kAutoCad, name255));
    const std::u16string name256 = name255 + u'n';
    EXPECT_FALSE(Takes(KindCells, kAutoCad, name256));
    EXPECT_EQ(Reasons(KindCells, kAutoCad, name256), "an AutoCAD block name has at most 255 characters; this one has 256");
    // A long name breaking another rule too gives both reasons, the limit first.
    EXPECT_EQ(Check(KindLevels, kAutoCad, std::u16string(300, u'?')).size(), 2u);
}

TEST(MappingRules, NamesNeitherBeginNorEndWithABlankNorAreEmpty) {
    EXPECT_EQ(Reasons(KindLevels, kAutoCad, u" Wall"), "an AutoCAD layer name cannot begin with a blank");
    EXPECT_EQ(Reasons(KindLevels, kAutoCad, u"Wall\t"), "an AutoCAD layer name cannot end with a blank");
    EXPECT_EQ(Reasons(KindLevels, kAutoCad, u"\u00A0Wall\u3000"),
              "an AutoCAD layer name cannot begin or end with a blank");
    EXPECT_TRUE(Takes(KindLevels, kAutoCad, u"Outer Wall"));
    EXPECT_EQ(Reasons(KindLineStyles, kAutoCad, u""), "an AutoCAD linetype name cannot be empty");
    EXPECT_EQ(Reasons(KindLineStyles, kAutoCad, u" "), "an AutoCAD linetype name cannot begin or end with a blank");
    // The MicroStation side of names, and the pages without names, take anything.
    for (std::u16string_view text : {u"", u" a/b ", u"x<y>"}) {
        EXPECT_TRUE(Takes(KindLevels, kMicroStation, text));
        EXPECT_TRUE(Takes(KindAliases, kAutoCad, text));
        EXPECT_TRUE(Takes(KindMappingCommands, kAutoCad, text));
    }
}

TEST(MappingRules, ColorsAndWeightsAreTheFixedListsOnTheAutoCadSide) {
    for (const CString& value : FixedValueLists::AutoCadColors())
        EXPECT_TRUE(Takes(KindColors, kAutoCad, value.View())) << value.ToUtf8();
    for (const CString& value : FixedValueLists::AutoCadWeights())
        EXPECT_TRUE(Takes(KindWeights, kAutoCad, value.View())) << value.ToUtf8();
    for (std::u16string_view value : {u"256", u"-1", u"07", u" 7", u"62x", u"red", u"bylayer", u"BG", u""})
        EXPECT_FALSE(Takes(KindColors, kAutoCad, value)) << CString(value).ToUtf8();
    for (std::u16string_view value : {u"1", u"210", u"0.25", u"default", u"ByLevel"})
        EXPECT_FALSE(Takes(KindWeights, kAutoCad, value)) << CString(value).ToUtf8();
    EXPECT_EQ(Reasons(KindColors, kAutoCad, u"62x"), "\"62x\" is not an AutoCAD color (ByLayer, ByBlock or 0 to 255)");
    EXPECT_EQ(Reasons(KindWeights, kAutoCad, u"0.25"),
              "\"0.25\" is not one of AutoCAD's line weights (the Line Weights list)");
}

TEST(MappingRules, MicroStationColorsRunTo255AndWeightsTo31) {
    for (const CString& value : FixedValueLists::MicroStationColors())
        EXPECT_TRUE(Takes(KindColors, kMicroStation, value.View())) << value.ToUtf8();
    for (const CString& value : FixedValueLists::MicroStationWeights())
        EXPECT_TRUE(Takes(KindWeights, kMicroStation, value.View())) << value.ToUtf8();
    EXPECT_TRUE(Takes(KindColors, kMicroStation, u"255"));  // beyond the list's 254
    for (std::u16string_view value : {u"256", u"-3", u"ByLayer", u"", u"1e2"})
        EXPECT_FALSE(Takes(KindColors, kMicroStation, value)) << CString(value).ToUtf8();
    for (std::u16string_view value : {u"32", u"BG", u"3.5"})
        EXPECT_FALSE(Takes(KindWeights, kMicroStation, value)) << CString(value).ToUtf8();
    EXPECT_EQ(Reasons(KindWeights, kMicroStation, u"40"),
              "\"40\" is not a MicroStation line weight (ByLevel, ByCell or 0 to 31)");
    // A pair: the MicroStation side first.
    auto findings = CheckPair(KindColors, u"300", u"red");
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].rule, Rule::MicroStationColor);
    EXPECT_EQ(findings[1].side, kAutoCad);
    EXPECT_TRUE(CheckPair(KindColors, u"BG", u"ByBlock").empty());
}

// Takes is the allocation-free road of Check: they agree.
TEST(MappingRules, TakesAgreesWithCheck) {
    std::mt19937 random(23);
    const std::u16string_view units = u"aA1 /\u00A0-0";
    for (int i = 0; i < 2000; ++i) {
        std::u16string text(random() % 5, u'a');
        for (char16_t& ch : text)
            ch = units[random() % units.size()];
        for (int kind = 0; kind < MappingKindCount; ++kind)
            for (Side side : {kMicroStation, kAutoCad})
                EXPECT_EQ(Takes(MappingKind(kind), side, text), Check(MappingKind(kind), side, text).empty());
    }
}

namespace {

CaseVariants VariantsOf(const MappingTable& table) {
    CaseVariants variants(size_t(table.GetCount()));
    for (const MappingEntry& entry : table)
        variants.Add(entry);
    return variants;
}

}  // namespace

TEST(CaseVariants, ValuesSpeltOnlyInAnotherCaseFindEachOther) {
    MappingTable table;
    table.SetPair(u"1", u"A-Wall");
    table.SetPair(u"2", u"A-WALL");
    table.SetPair(u"3", u"Door");
    table.SetPair(u"4", u"Door");
    table.SetPair(u"5", u"\u00C9tage");  // only ASCII letters fold
    table.SetPair(u"6", u"\u00E9tage");
    CaseVariants variants = VariantsOf(table);
    EXPECT_EQ(variants.OtherSpelling(u"A-Wall"), u"A-WALL");
    EXPECT_EQ(variants.OtherSpelling(u"A-WALL"), u"A-Wall");
    EXPECT_EQ(variants.OtherSpelling(u"Door"), u"");
    EXPECT_EQ(variants.OtherSpelling(u"\u00E9tage"), u"");
    EXPECT_EQ(variants.OtherSpelling(u"absent"), u"");
    EXPECT_EQ(CaseVariant(KindLevels, u"A-WALL", u"A-Wall").reason,
              u"\"A-WALL\" and \"A-Wall\" differ only in letter case: AutoCAD takes them as one layer");
}

// The hash against the obvious quadratic search, on small alphabets that
// make variants, repeats and collisions common.
TEST(CaseVariants, AgreeWithAComparisonOfEveryPair) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        MappingTable table;
        std::vector<std::u16string> values;
        for (int i = 0, count = int(random() % 60); i < count; ++i) {
            std::u16string value(random() % 4, u'a');
            for (char16_t& ch : value)
                ch = u"aAbB-"[random() % 5];
            table.SetPair(CString::FromUtf8(std::to_string(i)), CString(value));
            values.push_back(value);
        }
        CaseVariants variants = VariantsOf(table);
        for (const std::u16string& value : values) {
            bool expected = false;
            for (const std::u16string& other : values)
                expected = expected || AreCaseVariants(value, other);
            std::u16string_view found = variants.OtherSpelling(value);
            EXPECT_EQ(!found.empty(), expected) << CString(value).ToUtf8();
            if (!found.empty()) {
                EXPECT_TRUE(AreCaseVariants(value, found));
            }
        }
    }
}

TEST(AciPalette, TheStandardColorsOfTheIndex) {
    auto rgb = [](int index) {
        AciColor color{};
        return AciColorOf(index, color) ? (color.red << 16) | (color.green << 8) | color.blue : -1;
    };
    EXPECT_EQ(rgb(1), 0xFF0000);
    EXPECT_EQ(rgb(2), 0xFFFF00);
    EXPECT_EQ(rgb(3), 0x00FF00);
    EXPECT_EQ(rgb(5), 0x0000FF);
    EXPECT_EQ(rgb(7), 0xFFFFFF);
    EXPECT_EQ(rgb(8), 0x808080);
    EXPECT_EQ(rgb(11), 0xFF7F7F);   // the pale shade of red
    EXPECT_EQ(rgb(30), 0xFF7F00);
    EXPECT_EQ(rgb(150), 0x007FFF);
    EXPECT_EQ(rgb(250), 0x333333);
    EXPECT_EQ(rgb(255), 0xFFFFFF);
    EXPECT_EQ(rgb(0), -1);  // ByBlock
    EXPECT_EQ(rgb(256), -1);  // ByLayer
}

TEST(CellLooks, ColorsShowSwatchesAndWeightsLinesUnlessMarked) {
    MappingTable table;
    CellLooks colors(KindColors, table);
    CellLook look = colors.LookOf(u"3", u"1", 1);
    EXPECT_FALSE(look.bMarked);
    ASSERT_EQ(look.picture, CellLook::Picture::Swatch);
    EXPECT_EQ(look.color.red, 255);
    EXPECT_EQ(look.color.green, 0);
    for (const char16_t* empty : {u"ByLayer", u"ByBlock", u"0"})
        EXPECT_EQ(colors.LookOf(u"3", empty, 1).picture, CellLook::Picture::EmptySwatch);
    look = colors.LookOf(u"3", u"62x", 1);
    EXPECT_TRUE(look.bMarked);
    EXPECT_EQ(look.picture, CellLook::Picture::None);
    // The MicroStation side has marks but no pictures.
    EXPECT_EQ(colors.LookOf(u"7", u"7", 0).picture, CellLook::Picture::None);
    EXPECT_TRUE(colors.LookOf(u"300", u"7", 0).bMarked);

    CellLooks weights(KindWeights, table);
    look = weights.LookOf(u"2", u"211", 1);
    EXPECT_EQ(look.picture, CellLook::Picture::WeightLine);
    EXPECT_EQ(look.nWeight, 211);
    EXPECT_EQ(weights.LookOf(u"2", u"Default", 1).picture, CellLook::Picture::None);
    EXPECT_EQ(WeightLinePixels(0, 96), 1);
    EXPECT_EQ(WeightLinePixels(25, 96), 1);
    EXPECT_EQ(WeightLinePixels(100, 96), 4);
    EXPECT_EQ(WeightLinePixels(211, 96), 8);
    EXPECT_EQ(WeightLinePixels(211, 192), 16);
}

TEST(CellLooks, NameCellsAreMarkedForTheirRulesAndTheTablesCaseVariants) {
    MappingTable table;
    table.SetPair(u"L1", u"A-Wall");
    table.SetPair(u"L2", u"A-WALL/EXT");
    CellLooks levels(KindLevels, table);
    EXPECT_FALSE(levels.KnowsCaseVariants());
    ASSERT_TRUE(levels.FindCaseVariants(2));
    EXPECT_FALSE(levels.LookOf(u"L1", u"A-Wall", 1).bMarked);
    EXPECT_FALSE(levels.LookOf(u"L/1", u"A-Wall", 0).bMarked);
    ASSERT_TRUE(levels.LookOf(u"L2", u"A-WALL/EXT", 1).bMarked);
    auto findings = levels.FindingsOf(u"L2", u"A-WALL/EXT", 1);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].reason, u"\"/\" is not allowed in an AutoCAD layer name");
    // A variant that comes later marks both spellings once the changed table
    // is taken in again, step by step; until then the cells show the rules
    // alone.
    table.SetPair(u"L3", u"A-WALL");
    EXPECT_FALSE(levels.KnowsCaseVariants());
    EXPECT_FALSE(levels.LookOf(u"L1", u"A-Wall", 1).bMarked);
    EXPECT_FALSE(levels.FindCaseVariants(2));
    EXPECT_FALSE(levels.LookOf(u"L1", u"A-Wall", 1).bMarked);
    EXPECT_TRUE(levels.FindCaseVariants(2));
    EXPECT_TRUE(levels.LookOf(u"L1", u"A-Wall", 1).bMarked);
    findings = levels.FindingsOf(u"L3", u"A-WALL", 1);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].rule, Rule::NameCase);
    table.RemovePair(CString(u"L3"));
    EXPECT_TRUE(levels.FindCaseVariants(100));
    EXPECT_FALSE(levels.LookOf(u"L1", u"A-Wall", 1).bMarked);
    // Pages whose values are not names have nothing to find.
    EXPECT_TRUE(CellLooks(KindColors, table).KnowsCaseVariants());
}
