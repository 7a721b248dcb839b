#include "help/HelpMarkup.h"
#include "help/ToolRegistry.h"

#include <gtest/gtest.h>

namespace {

const CString H(u"<H>"), T(u"<T>"), D(u"<D>"), S(u"<S>");

TEST(HelpMarkup, SectionsComeInReadingOrder) {
    const struct { const char16_t* text; const char* sections; } rows[] = {
        {u"<H>Save<D>Saves the changes.", "<H>Save|<D>Saves the changes.|"},
        {u"<H>A<T>B<D>C", "<H>A|<T>B|<D>C|"},
        {u"<H>Head<b>junk<D>Text", "<H>Head|<D>Text|"},  // any <..> pair ends a section; "junk" is in none
        {u"before<H>Head", "<H>Head|"},
        {u"<H>A<H>B<D>C", "<H>A|<D>C|"},       // a second header is never read
        {u"<T>B<H>A<D>C", "<H>A|<D>C|"},       // the title is searched after the header
        {u"<H><D>one<D>two", "<D>one|<D>two|"},  // both descriptions; an empty header is skipped
        // Lines and descriptions alternate, each searched from the shared cursor.
        {u"<S>a<D>b<S>c<D>d", "<S>a|<D>b|<S>c|<D>d|"},
        {u"<S>a<D>b<S>c", "<S>a|<D>b|<S>c|"},
        {u"<h>x<d>y", ""},  // lower-case tags are content
    };
    for (const auto& row : rows) {
        std::string read;
        for (const HelpSection& section : ReadSections(CString(row.text)))
            read += HelpTagText(section.tag).ToUtf8() + section.text.ToUtf8() + "|";
        EXPECT_EQ(read, row.sections) << CString(row.text).ToUtf8();
    }
}

TEST(HelpMarkup, DescriptionIsTheFirstDescriptionUpToAnAngledPair) {
    const struct { const char16_t* text; const char16_t* description; } rows[] = {
        {u"<D>1 < 2 and more", u"1 < 2 and more"},  // a lone '<' is text
        {u"<D>keep <d> this", u"keep "},
        {u"<D>keep <d this", u"keep <d this"},  // no '>' after the '<'
        {u"<D>a>b<c", u"a>b<c"},                // the '>' lies before it
        {u"<D>a<b<c>", u"a"},                   // the first '<' counts
        {u"<H>h<D>first<D>second", u"first"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(GetDescription(CString(row.text)), row.description) << CString(row.text).ToUtf8();
    EXPECT_EQ(FindSectionEnd(CString(u"a<b<c>"), 2), 3);
}

TEST(HelpMarkup, CursorMovesAsTheReadDemandsAndTagsAreCounted) {
    // An empty section steps the cursor by the tag's length from where it
    // was, not from the tag, so it still lies before the tag; at the end, or
    // with the tag absent, nothing is read and nothing moves.
    const struct { const char16_t* text; const CString& tag; int from; const char16_t* read; int to; } rows[] = {
        {u"<H>Save<D>Saves", H, 0, u"Save", 7},  {u"<H>Save<D>Saves", T, 7, u"", 7},
        {u"xx<D><D>second", D, 0, u"", 3},       {u"xx<D><D>second", D, 3, u"second", 14},
        {u"xx<D><D>second", D, 14, u"", 14},     {u"xx<D><D>second", H, 1, u"", 1},
        {u"", D, 0, u"", 0},
    };
    for (const auto& row : rows) {
        int cursor = row.from;
        EXPECT_EQ(GetSection(CString(row.text), row.tag, cursor), row.read) << CString(row.text).ToUtf8();
        EXPECT_EQ(cursor, row.to) << CString(row.text).ToUtf8() << " from " << row.from;
    }
    // Overlapping occurrences count; tags are case-sensitive.
    EXPECT_EQ(CountTag(CString(), S), 0);
    EXPECT_EQ(CountTag(CString(u"<S>a<S>b<D>c"), S), 2);
    EXPECT_EQ(CountTag(CString(u"aaa"), CString(u"aa")), 2);
    EXPECT_EQ(CountTag(CString(u"<s>"), S), 0);
}

TEST(ToolRegistry, RegisteringAgainReplacesOnlyTheText) {
    struct Record {
        int rect = 0;
        CString text;
    };
    ToolRegistry<Record> registry;
    registry.AddTool(42, CString(u"first"));
    const_cast<Record*>(registry.Find(42))->rect = 7;
    registry.AddTool(42, CString(u"second"));
    ASSERT_NE(registry.Find(42), nullptr);
    EXPECT_EQ(registry.Find(42)->text, u"second");
    EXPECT_EQ(registry.Find(42)->rect, 7);
    EXPECT_EQ(registry.Find(43), nullptr);
    // Handles that differ only above bit 31 are different tools.
    registry.AddTool(0x100000000ull + 42, CString(u"high"));
    EXPECT_EQ(registry.GetCount(), 2);
    EXPECT_EQ(registry.Find(42)->text, u"second");
}

}  // namespace
