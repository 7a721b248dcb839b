#include "StoreTestSupport.h"

#include "store/CVNTextFile.h"
#include "store/TextLines.h"

namespace {

// Answers the file dialog as a user choosing m_choice ("" = Cancel) would.
class ChoosingTextFile : public CVNTextFile {
public:
    explicit ChoosingTextFile(CString choice) : CVNTextFile(u"mapping", u"\n"), m_choice(std::move(choice)) {}
    BOOL PromptForPath(BOOL bSave, CString& path) override {
        m_saveAsked += bSave ? 1 : 0;
        if (!m_choice.IsEmpty())
            path = m_choice;
        return !m_choice.IsEmpty();
    }
    CString m_choice;
    int m_saveAsked = 0;
};

using TextFileTest = StoreTest;

}  // namespace

TEST_F(TextFileTest, ReadSplitsAtLineFeedsOnly) {
    CVNTextFile file(u"", u"\n");
    CStringArray lines;
    CString path = PathText(Path("in"));
    WriteBytes(Path("in"), "word\n\r\nother");  // no final line end
    ASSERT_TRUE(file.ReadLines(path, lines));
    EXPECT_EQ(std::vector<CString>(lines.begin(), lines.end()), (std::vector<CString>{u"word", u"", u"other"}));
    CString text;
    ASSERT_TRUE(file.ReadText(path, text));
    EXPECT_EQ(text, CString(u"word\n\nother\n"));

    // A CR stays unless an LF follows; the last LF adds no line; each byte
    // is the character of its code.
    WriteBytes(Path("in"), std::string("a\rb\r\r\n\xE9\x00\xFF\r", 10));
    ASSERT_TRUE(file.ReadLines(path, lines));
    EXPECT_EQ(std::vector<CString>(lines.begin(), lines.end()),
              (std::vector<CString>{u"a\rb\r", std::u16string(u"\u00e9\0\u00ff\r", 4)}));
    WriteBytes(Path("in"), "");
    ASSERT_TRUE(file.ReadLines(path, lines));
    EXPECT_EQ(lines.GetSize(), 0);
}

TEST_F(TextFileTest, FailedReadKeepsLinesAndSaysWhy) {
    CVNTextFile file(u"mapping", u"\n");
    CStringArray lines;
    lines.Add(u"kept");
    CString missing = PathText(Path("missing.mapping"));
    EXPECT_FALSE(file.ReadLines(missing, lines));
    EXPECT_EQ(lines.GetSize(), 1);
    EXPECT_NE(file.m_strError.Find(u"missing.mapping"), -1);
    CString folder = PathText(m_folder);  // a folder is not a text file
    EXPECT_FALSE(file.ReadLines(folder, lines));
    EXPECT_FALSE(file.m_strError.IsEmpty());
    // The next call starts with no error.
    WriteBytes(Path("present"), "x\n");
    CString present = PathText(Path("present"));
    EXPECT_TRUE(file.ReadLines(present, lines));
    EXPECT_TRUE(file.m_strError.IsEmpty());
}

TEST_F(TextFileTest, WriteEndsEveryLineWithCrLfAndRefusesWideCharacters) {
    CVNTextFile file(u"mapping", u"\n");
    CString path = PathText(Path("out"));
    CStringArray lines;
    lines.Add(u"a");
    lines.Add(u"");
    ASSERT_TRUE(file.WriteLines(path, lines));
    EXPECT_EQ(ReadBytes(Path("out")), "a\r\n\r\n");

    lines.Add(CString(u"x\ny\u00ff"));  // a line end inside a line, too
    ASSERT_TRUE(file.WriteLines(path, lines));
    EXPECT_EQ(ReadBytes(Path("out")), "a\r\n\r\nx\r\ny\xFF\r\n");

    lines.Add(u"LEVEL \u0100");
    EXPECT_FALSE(file.WriteLines(path, lines));
    EXPECT_EQ(ReadBytes(Path("out")), "a\r\n\r\nx\r\ny\xFF\r\n");
    EXPECT_NE(file.m_strError.Find(u"Line 4"), -1);
    EXPECT_NE(file.m_strError.Find(u"256"), -1);

    CStringArray none;
    ASSERT_TRUE(file.WriteLines(path, none));
    EXPECT_EQ(ReadBytes(Path("out")), "");
}

TEST_F(TextFileTest, EmptyPathAsksForOne) {
    ChoosingTextFile chooser(PathText(Path("chosen.mapping")));
    CStringArray lines;
    lines.Add(u"x");
    CString path;
    ASSERT_TRUE(chooser.WriteLines(path, lines));
    EXPECT_EQ(path, chooser.m_choice);
    EXPECT_EQ(chooser.m_saveAsked, 1);

    ChoosingTextFile cancelling(u"");
    CString none;
    EXPECT_FALSE(cancelling.ReadLines(none, lines));
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(lines.GetSize(), 1);
    EXPECT_EQ(cancelling.m_saveAsked, 0);

    EXPECT_EQ(chooser.GetFilter(), CString(u"mapping-files (*.mapping)|*.mapping|All Files (*.*)|*.*||"));
    EXPECT_TRUE(CVNTextFile(u"", u"\n").GetFilter().IsEmpty());
}

TEST(TextLines, EncoderGrowsAcrossPiecesAndUndoesAPieceItCannotHold) {
    TextLines::Encoder encoder;
    std::u16string lineFeeds(1000, u'\n');
    std::u16string plain(3000, u'\u00e9');
    EXPECT_TRUE(encoder.Append(u"a"));
    EXPECT_TRUE(encoder.Append(lineFeeds));  // each LF widens to two bytes
    EXPECT_TRUE(encoder.Append(plain));
    EXPECT_FALSE(encoder.Append(plain + u"\n\u0100"));
    EXPECT_EQ(encoder.BadChar(), u'\u0100');
    EXPECT_TRUE(encoder.Append(u"z"));
    std::string expected = "a";
    for (int i = 0; i < 1000; ++i)
        expected += "\r\n";
    expected += std::string(3000, '\xE9') + "z";
    EXPECT_EQ(encoder.Take(), expected);
    EXPECT_EQ(encoder.Take(), "");
}
