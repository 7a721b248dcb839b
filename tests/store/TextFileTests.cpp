#include "StoreTestSupport.h"
#include "store/platform/TextLines.h"

namespace {

// Answers the file dialog as a user choosing m_choice ("" = Cancel) would.
struct ChoosingTextFile : CVNTextFile {
    explicit ChoosingTextFile(CString choice) : CVNTextFile(u"mapping", u"\n"), m_choice(std::move(choice)) {}
    BOOL PromptForPath(BOOL bSave, CString& path) override {
        m_asked = bSave ? "save" : "open";
        path = m_choice;
        return !m_choice.IsEmpty();
    }
    CString m_choice;
    std::string m_asked;
};

std::vector<CString> Lines(const CStringArray& lines) { return {lines.begin(), lines.end()}; }

}  // namespace

TEST_F(StoreTest, TextFileReadSplitsAtLineFeedsOnly) {
    CVNTextFile file(u"", u"\n");
    CStringArray lines;
    CString path = PathText(Path("in"));
    WriteFile(Path("in"), "word\n\r\nother");  // no final line end
    ASSERT_TRUE(file.ReadLines(path, lines));
    EXPECT_EQ(Lines(lines), (std::vector<CString>{u"word", u"", u"other"}));
    // A CR stays unless an LF follows; the last LF adds no line; each byte
    // is the character of its code.
    WriteFile(Path("in"), std::string("a\rb\r\r\n\xE9\x00\xFF\r", 10));
    ASSERT_TRUE(file.ReadLines(path, lines));
    EXPECT_EQ(Lines(lines), (std::vector<CString>{u"a\rb\r", std::u16string(u"\u00e9\0\u00ff\r", 4)}));
    WriteFile(Path("in"), "");
    ASSERT_TRUE(file.ReadLines(path, lines));
    EXPECT_EQ(lines.GetSize(), 0);
}

TEST_F(StoreTest, TextFileFailedOrCancelledReadKeepsLinesAndSaysWhy) {
    ChoosingTextFile file(u"");  // cancels the dialog
    CStringArray lines;
    lines.Add(u"kept");
    CString missing = PathText(Path("missing.mapping")), folder = PathText(m_folder), none,
            present = PathText(Path("present"));
    EXPECT_FALSE(file.ReadLines(missing, lines));
    EXPECT_NE(file.m_strError.Find(u"missing.mapping"), -1);
    EXPECT_FALSE(file.ReadLines(folder, lines));  // a folder is not a text file
    EXPECT_FALSE(file.m_strError.IsEmpty());
    EXPECT_FALSE(file.ReadLines(none, lines));
    EXPECT_EQ(file.m_asked, "open");
    EXPECT_EQ(Lines(lines), std::vector<CString>{u"kept"});
    // The next call starts with no error.
    WriteFile(Path("present"), "x\n");
    EXPECT_TRUE(file.ReadLines(present, lines));
    EXPECT_TRUE(file.m_strError.IsEmpty());
}

TEST_F(StoreTest, TextFileWriteEndsEveryLineWithCrLfAndRefusesWideCharacters) {
    ChoosingTextFile file(PathText(Path("out")));
    CString path;  // asks for one
    CStringArray lines;
    lines.Add(u"a");
    lines.Add(u"");
    lines.Add(CString(u"x\ny\u00ff"));  // a line end inside a line, too
    ASSERT_TRUE(file.WriteLines(path, lines));
    EXPECT_EQ(path, file.m_choice);
    EXPECT_EQ(file.m_asked, "save");
    EXPECT_EQ(ReadFile(Path("out")), "a\r\n\r\nx\r\ny\xFF\r\n");

    lines.Add(u"LEVEL \u0100");
    EXPECT_FALSE(file.WriteLines(path, lines));
    EXPECT_EQ(ReadFile(Path("out")), "a\r\n\r\nx\r\ny\xFF\r\n");
    EXPECT_NE(file.m_strError.Find(u"Line 4"), -1);
    EXPECT_NE(file.m_strError.Find(u"U+0100"), -1);

    // Line feeds that widen to CR LF while the buffer grows, then none.
    lines.RemoveAll();
    lines.Add(CString(std::u16string(3000, u'\n') + std::u16string(3000, u'\u00e9')));
    ASSERT_TRUE(file.WriteLines(path, lines));
    std::string expected;
    for (int i = 0; i < 3001; ++i)
        expected += "\r\n";
    EXPECT_EQ(ReadFile(Path("out")), expected.insert(6000, 3000, '\xE9'));
    lines.RemoveAll();
    ASSERT_TRUE(file.WriteLines(path, lines));
    EXPECT_EQ(ReadFile(Path("out")), "");
}

TEST(TextLines, ALineEncodesAsItsCharactersOneByOne) {
    // Lines are narrowed four units at a time: every length around that,
    // with a character of the code page (1252), one outside it or a line
    // feed at every place, against the plain reading: each character its
    // byte, each line feed CR LF, the first character without a byte the
    // end.
    for (size_t length = 0; length <= 10; ++length)
        for (size_t at = 0; at <= length; ++at)
            for (char16_t ch : {u'\u00e9', u'\u20ac', u'\u0100', u'\n', u'x'}) {
                std::u16string key(length, u'k');
                if (at < length)
                    key[at] = ch;
                const std::u16string line = key + u" = " + key + u"v\n";
                std::string expected;
                char32_t bad = 0;
                for (char16_t unit : line) {
                    const int byte = unit == u'\u20ac' ? 0x80 : unit < 0x100 ? int(unit) : -1;
                    if (byte < 0) {
                        bad = unit;
                        break;
                    }
                    expected += unit == u'\n' ? "\r\n" : std::string(1, char(byte));
                }
                TextLines::Encoder encoder(*TextCodec::For(1252));
                encoder.AppendLine({key, u" = ", key + u"v"}, u"\n");
                std::string bytes;
                EXPECT_EQ(encoder.Take(bytes), bad == 0) << length << " " << at << " " << int(ch);
                EXPECT_EQ(encoder.BadChar(), bad);
                if (bad == 0) {
                    EXPECT_EQ(bytes, expected);
                }
            }
}
