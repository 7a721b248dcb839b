#include "ImportTestHelpers.h"

#include <gtest/gtest.h>

constexpr RemapMode Sectioned = RemapMode::SectionedMode;
constexpr RemapMode SingleTable = RemapMode::SingleTableMode;

TEST(RemapTokenizer, SectionedFieldsKeepBlanksAndEmptyFields) {
    EXPECT_EQ(RowsOf("a,,b\n", Sectioned), Strings{"a||b"});
    EXPECT_EQ(RowsOf(",a\n", Sectioned), Strings{"|a"});
    // A separator at the end of a line adds nothing; a second one does.
    EXPECT_EQ(RowsOf("a,b,\n", Sectioned), Strings{"a|b"});
    EXPECT_EQ(RowsOf("a,b,,\n", Sectioned), Strings{"a|b|"});
    EXPECT_EQ(RowsOf("Level 1 , Layer 1\n", Sectioned), Strings{"Level 1 | Layer 1"});
    // Blanks and tabs are ordinary characters in this mode.
    EXPECT_EQ(RowsOf("a b\tc\n", Sectioned), Strings{"a b\tc"});
}

TEST(RemapTokenizer, LineEndsAndOddCharactersInFields) {
    EXPECT_EQ(RowsOf("a,b\r\nc\r\n", Sectioned), (Strings{"a|b", "c"}));
    EXPECT_EQ(RowsOf("a\r\n", SingleTable), Strings{"a"});
    // A lone CR and a '#' after the start of a field are ordinary characters.
    EXPECT_EQ(RowsOf("a\rb,c#d\n", Sectioned), Strings{"a\rb|c#d"});
    EXPECT_EQ(RowsOf("x\r", Sectioned), Strings{"x\r"});
}

TEST(RemapTokenizer, SingleTableRunsOfBlanksAndTabsSeparate) {
    EXPECT_EQ(RowsOf("  12\t3\n", SingleTable), Strings{"12|3"});
    EXPECT_EQ(RowsOf("LAYER_A 7 x  y\t\tz extra  \n", SingleTable), Strings{"LAYER_A|7|x|y|z|extra"});
    // Commas and quotes are ordinary characters here.
    EXPECT_EQ(RowsOf("\"a b\" c,d\n", SingleTable), Strings{"\"a|b\"|c,d"});
}

TEST(RemapTokenizer, EndTokenRepeats) {
    std::u16string text = u"a";
    RemapTokenizer tokenizer(text.data(), Sectioned);
    RemapToken token;
    EXPECT_EQ(tokenizer.NextToken(token), RemapTokenType::Field);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tokenizer.NextToken(token), RemapTokenType::End);
        EXPECT_EQ(token.length, 1);
        EXPECT_EQ(token.text[0], u'\0');
    }
}

TEST(RemapRows, BlankLinesCommentsAndTheLastLine) {
    // A blank line is a row without fields; a comment line is no row.
    EXPECT_EQ(RowsOf("a\n\nb\n", Sectioned), (Strings{"a", "", "b"}));
    EXPECT_EQ(RowsOf("a\n# note\nb\n", Sectioned), (Strings{"a", "b"}));
    EXPECT_EQ(RowsOf("   \n", SingleTable), Strings{""});
    // A comment after fields takes the line end along: the rows join.
    EXPECT_EQ(RowsOf("a,b,#note\nc,d\n", Sectioned), Strings{"a|b|c|d"});
    EXPECT_EQ(RowsOf("a b # note\r\nc\n", SingleTable), Strings{"a|b|c"});
    // The last line counts without a line end; the end alone is no row.
    EXPECT_EQ(RowsOf("a\nb", Sectioned), (Strings{"a", "b"}));
    EXPECT_EQ(RowsOf("a\n# last", Sectioned), Strings{"a"});
    EXPECT_EQ(RowsOf("", Sectioned), Strings{});
}

TEST(RemapTokenizer, QuotedFieldsInSectionedMode) {
    EXPECT_EQ(RowsOf("\"a,b\",c\n", Sectioned), Strings{"a,b|c"});
    EXPECT_EQ(RowsOf("\"say \"\"hi\"\"\",x\n", Sectioned), Strings{"say \"hi\"|x"});
    EXPECT_EQ(RowsOf("\"two\r\nlines\",x\ny\n", Sectioned), (Strings{"two\r\nlines|x", "y"}));
    EXPECT_EQ(RowsOf("\"\",x\n", Sectioned), Strings{"|x"});
    // Quoted content that looks like a comment or a line end stays a field.
    EXPECT_EQ(RowsOf("\"#x\",\"\n\"\n", Sectioned), Strings{"#x|\n"});
    // After the closing quote the field runs on to its separator.
    EXPECT_EQ(RowsOf("\"ab\"cd,e\r\n", Sectioned), Strings{"abcd|e"});
    // A quote inside a field is an ordinary character.
    EXPECT_EQ(RowsOf("ab\"c\",d\n", Sectioned), Strings{"ab\"c\"|d"});
    // A quote that never closes takes the rest of the text.
    EXPECT_EQ(RowsOf("x,\"abc,d\nrest", Sectioned), Strings{"x|abc,d\nrest"});
}
