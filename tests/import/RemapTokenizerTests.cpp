#include "ImportTestHelpers.h"
#include "import/RemapTokenizer.h"

#include <gtest/gtest.h>

namespace {

template <class Char>
Strings RowsOfBuffer(Char* text, Char* end, RemapMode mode, bool withLines) {
    BasicRemapTokenizer<Char> tokenizer(text, end, mode);
    std::vector<BasicRemapToken<Char>> fields;
    Strings rows;
    while (tokenizer.ReadRow(fields)) {
        std::string row = withLines ? "@" + std::to_string(tokenizer.RowLine()) + ":" : "";
        for (size_t i = 0; i < fields.size(); ++i) {
            row += i ? "|" : "";
            if constexpr (std::is_same_v<Char, char>)
                row += std::string(fields[i].View());
            else
                row += Utf8(fields[i].View());
        }
        rows.push_back(row);
    }
    return rows;
}

// The fields of every row of text, each row as "f1|f2|..." (with "@line:"
// in front when withLines). The bytes of the text read as bytes give the
// same rows (the road of a table in a single-byte code page).
Strings RowsOf(const std::string& text, RemapMode mode, bool withLines = false) {
    std::u16string buffer = CString::FromUtf8(text).Str();
    const Strings rows = RowsOfBuffer(buffer.data(), buffer.data() + buffer.size(), mode, withLines);
    std::string bytes = text + std::string(1 + RemapByteTokenizer::kPadding, '\0');  // the NUL after the text and the padding
    EXPECT_EQ(RowsOfBuffer(bytes.data(), bytes.data() + text.size(), mode, withLines), rows) << text;
    return rows;
}

}  // namespace

constexpr RemapMode Sectioned = RemapMode::SectionedMode;
constexpr RemapMode SingleTable = RemapMode::SingleTableMode;

TEST(RemapTokenizer, SectionedFieldsKeepBlanksAndEmptyFieldsAndUnquote) {
    EXPECT_EQ(RowsOf("a,,b\n,a\n", Sectioned), (Strings{"a||b", "|a"}));
    // A separator at the end of a line adds nothing; a second one does.
    EXPECT_EQ(RowsOf("a,b,\na,b,,\n", Sectioned), (Strings{"a|b", "a|b|"}));
    EXPECT_EQ(RowsOf("Level 1 , Layer 1\r\n", Sectioned), Strings{"Level 1 | Layer 1"});
    // A lone CR and a '#' after the start of a field are ordinary characters.
    EXPECT_EQ(RowsOf("a\rb,c#d\r\nx\r", Sectioned), (Strings{"a\rb|c#d", "x\r"}));
    // Quoted fields: doubled quotes, separators and line ends inside.
    EXPECT_EQ(RowsOf("\"a,b\",\"say \"\"hi\"\"\",\"\"\n", Sectioned), Strings{"a,b|say \"hi\"|"});
    EXPECT_EQ(RowsOf("\"two\r\nlines\",x\ny\n", Sectioned), (Strings{"two\r\nlines|x", "y"}));
    // Quoted content that looks like a comment or a line end stays a field.
    EXPECT_EQ(RowsOf("\"#x\",\"\n\"\n", Sectioned), Strings{"#x|\n"});
    // After the closing quote the field runs on; a later quote is ordinary.
    EXPECT_EQ(RowsOf("\"ab\"cd,e\"f\"\r\n", Sectioned), Strings{"abcd|e\"f\""});
    // A quote that never closes ends with its own line; the rest is read.
    EXPECT_EQ(RowsOf("x,\"abc,d\"\"e\r\nrest,\"\"\"\"\n", Sectioned), (Strings{"x|abc,d\"e", "rest|\""}));
    EXPECT_EQ(RowsOf("\"", Sectioned), Strings{""});
    // ... also when a later field opens a quote of its own.
    EXPECT_EQ(RowsOf("a,\"b\nc\n\"d\ne\",f\n", Sectioned), (Strings{"a|b", "c", "d\ne|f"}));
}

TEST(RemapTokenizer, NulIsAnOrdinaryCharacterAndRowsKnowTheirLines) {
    EXPECT_EQ(RowsOf(std::string("a\0b,c\n\0\n", 8), Sectioned), (Strings{std::string("a\0b|c", 5), std::string(1, '\0')}));
    // A row begins on the line of its first field; quoted line breaks and
    // comments count as lines.
    EXPECT_EQ(RowsOf("# note\n\"a\nb\",c\n\nd,#x\ne\r\nf", Sectioned, true),
              (Strings{"@2:a\nb|c", "@4:", "@5:d|e", "@7:f"}));
}

TEST(RemapTokenizer, SingleTableRunsOfBlanksAndTabsSeparate) {
    EXPECT_EQ(RowsOf("  12\t3\r\n", SingleTable), Strings{"12|3"});
    EXPECT_EQ(RowsOf("LAYER_A 7 x  y\t\tz extra  \n", SingleTable), Strings{"LAYER_A|7|x|y|z|extra"});
    // Commas and quotes are ordinary characters here.
    EXPECT_EQ(RowsOf("\"a b\" c,d\n", SingleTable), Strings{"\"a|b\"|c,d"});
}

TEST(RemapRows, BlankLinesCommentsAndTheLastLine) {
    // A blank line is a row without fields; a comment line is no row.
    EXPECT_EQ(RowsOf("a\n\n# note\nb\n", Sectioned), (Strings{"a", "", "b"}));
    EXPECT_EQ(RowsOf("   \n", SingleTable), Strings{""});
    // A comment after fields takes the line end along: the rows join.
    EXPECT_EQ(RowsOf("a,b,#note\nc,d\n", Sectioned), Strings{"a|b|c|d"});
    EXPECT_EQ(RowsOf("a b # note\r\nc\n", SingleTable), Strings{"a|b|c"});
    // The last line counts without a line end; the end alone is no row.
    EXPECT_EQ(RowsOf("a\nb", Sectioned), (Strings{"a", "b"}));
    EXPECT_EQ(RowsOf("a\n# last", Sectioned), Strings{"a"});
}
