#include "help/HelpMarkup.h"

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
        {u"<H>Save<D>Saves the changes and closes the window.", u"Saves the changes and closes the window."},
        {u"<D>1 < 2 and more", u"1 < 2 and more"},  // a lone '<' is text
        {u"<D>keep <d> this", u"keep "},
        {u"<D>keep <d this", u"keep <d this"},
        {u"<H>h<D>first<D>second", u"first"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(GetDescription(CString(row.text)), row.description) << CString(row.text).ToUtf8();

    EXPECT_EQ(FindSectionEnd(CString(u"a<b"), 0), -1);    // no '>' after the '<'
    EXPECT_EQ(FindSectionEnd(CString(u"a>b<c"), 0), -1);  // the '>' lies before it
    EXPECT_EQ(FindSectionEnd(CString(u"a<b<c>"), 0), 1);  // the first '<' counts
    EXPECT_EQ(FindSectionEnd(CString(u"a<b<c>"), 2), 3);
}

TEST(HelpMarkup, CursorMovesAsTheReadDemands) {
    const CString save(u"<H>Save<D>Saves");
    int cursor = 0;
    EXPECT_EQ(GetSection(save, H, cursor), u"Save");
    EXPECT_EQ(cursor, 7);
    EXPECT_EQ(GetSection(save, T, cursor), u"");

    const CString text(u"xx<D><D>second");
    cursor = 0;
    // Empty section: the cursor steps by the tag's length from where it was,
    // not from the tag, so it still lies before the tag.
    EXPECT_EQ(GetSection(text, D, cursor), u"");
    EXPECT_EQ(cursor, 3);
    EXPECT_EQ(GetSection(text, D, cursor), u"second");
    EXPECT_EQ(cursor, text.GetLength());
    // At the end, or with the tag absent, nothing is read and nothing moves.
    EXPECT_EQ(GetSection(text, D, cursor), u"");
    EXPECT_EQ(cursor, text.GetLength());
    cursor = 1;
    EXPECT_EQ(GetSection(text, H, cursor), u"");
    EXPECT_EQ(cursor, 1);
    cursor = 0;
    EXPECT_EQ(GetSection(CString(), D, cursor), u"");
    EXPECT_EQ(cursor, 0);
}

TEST(HelpMarkup, CountTagCountsOverlappingOccurrences) {
    EXPECT_EQ(CountTag(CString(), S), 0);
    EXPECT_EQ(CountTag(CString(u"<S>a<S>b<D>c"), S), 2);
    EXPECT_EQ(CountTag(CString(u"aaa"), CString(u"aa")), 2);
    EXPECT_EQ(CountTag(CString(u"<s>"), S), 0);
}

}  // namespace
