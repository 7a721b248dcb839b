#include "help/HelpMarkup.h"

#include <gtest/gtest.h>

namespace {

const CString H(u"<H>"), T(u"<T>"), D(u"<D>"), S(u"<S>");

// The sections in reading order as "tag:text" lines, for compact checks.
std::string Read(const char16_t* text) {
    std::string out;
    for (const HelpSection& section : ReadSections(CString(text))) {
        out += HelpTagText(section.tag).ToUtf8() + section.text.ToUtf8() + "|";
    }
    return out;
}

TEST(HelpMarkup, SaveTextGivesHeaderAndDescription) {
    const CString save(u"<H>Save<D>Saves the changes and closes the window.");
    int cursor = 0;
    EXPECT_EQ(GetSection(save, H, cursor), u"Save");
    EXPECT_EQ(cursor, 7);
    EXPECT_EQ(GetSection(save, T, cursor), u"");
    EXPECT_EQ(GetDescription(save), u"Saves the changes and closes the window.");
    EXPECT_EQ(Read(u"<H>Save<D>Saves the changes and closes the window."),
              "<H>Save|<D>Saves the changes and closes the window.|");
}

TEST(HelpMarkup, SectionEndsAtAnyAngledPairButNotAtALoneOpening) {
    EXPECT_EQ(FindSectionEnd(CString(u"abc"), 0), -1);
    EXPECT_EQ(FindSectionEnd(CString(u"a<b"), 0), -1);       // no '>' after the '<'
    EXPECT_EQ(FindSectionEnd(CString(u"a>b<c"), 0), -1);     // the '>' lies before it
    EXPECT_EQ(FindSectionEnd(CString(u"a<b<c>"), 0), 1);     // the first '<' counts
    EXPECT_EQ(FindSectionEnd(CString(u"a<b<c>"), 2), 3);

    EXPECT_EQ(GetDescription(CString(u"<D>1 < 2 and more")), u"1 < 2 and more");
    // An unknown <b> pair ends the header; "junk" belongs to no section.
    EXPECT_EQ(Read(u"<H>Head<b>junk<D>Text"), "<H>Head|<D>Text|");
    EXPECT_EQ(Read(u"before<H>Head"), "<H>Head|");
}

TEST(HelpMarkup, CursorMovesAsTheReadDemands) {
    const CString text(u"xx<D><D>second");
    int cursor = 0;
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

TEST(HelpMarkup, ReadingOrder) {
    EXPECT_EQ(Read(u"<H>A<T>B<D>C"), "<H>A|<T>B|<D>C|");
    // A second header or title is never read; a title before the header is
    // not found because it is searched after the header.
    EXPECT_EQ(Read(u"<H>A<H>B<D>C"), "<H>A|<D>C|");
    EXPECT_EQ(Read(u"<T>B<H>A<D>C"), "<H>A|<D>C|");
    // Both descriptions, in order; an empty header is skipped.
    EXPECT_EQ(Read(u"<H><D>one<D>two"), "<D>one|<D>two|");
    // Lines and descriptions alternate, each stream searched from the shared cursor.
    EXPECT_EQ(Read(u"<S>a<D>b<S>c<D>d"), "<S>a|<D>b|<S>c|<D>d|");
    EXPECT_EQ(Read(u"<S>a<D>b<S>c"), "<S>a|<D>b|<S>c|");
    // Lower-case tags are content.
    EXPECT_EQ(Read(u"<h>x<d>y"), "");
    EXPECT_EQ(GetDescription(CString(u"<D>keep <d> this")), u"keep ");
    EXPECT_EQ(GetDescription(CString(u"<D>keep <d this")), u"keep <d this");
    // The first description only is the control's description.
    EXPECT_EQ(GetDescription(CString(u"<H>h<D>first<D>second")), u"first");
}

TEST(HelpMarkup, CountTagCountsOverlappingOccurrences) {
    EXPECT_EQ(CountTag(CString(), S), 0);
    EXPECT_EQ(CountTag(CString(u"<S>a<S>b<D>c"), S), 2);
    EXPECT_EQ(CountTag(CString(u"aaa"), CString(u"aa")), 2);
    EXPECT_EQ(CountTag(CString(u"<s>"), S), 0);
}

}  // namespace
