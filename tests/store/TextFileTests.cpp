#include "StoreTestSupport.h"

#include "store/CVNTextFile.h"

namespace {

// Answers the file dialog with a fixed path, as a user picking it would.
class ChoosingTextFile : public CVNTextFile {
public:
    explicit ChoosingTextFile(CString choice) : CVNTextFile(u"mapping", u"\n"), m_choice(std::move(choice)) {}
    BOOL PromptForPath(BOOL bSave, CString& path) override {
        m_asked.push_back(bSave);
        if (m_choice.IsEmpty())
            return FALSE;
        path = m_choice;
        return TRUE;
    }
    CString m_choice;
    std::vector<BOOL> m_asked;
};

using TextFileTest = StoreTest;

}  // namespace

TEST_F(TextFileTest, ReadLinesSplitsAtLineFeedsOnly) {
    CVNTextFile file(u"mapping", u"\n");
    CStringArray lines;
    CString path = PathText(Path("three"));

    WriteBytes(Path("three"), "word\n\r\nother");  // no final line end
    ASSERT_TRUE(file.ReadLines(path, lines));
    ASSERT_EQ(lines.GetSize(), 3);
    EXPECT_EQ(lines[0], CString(u"word"));
    EXPECT_TRUE(lines[1].IsEmpty());
    EXPECT_EQ(lines[2], CString(u"other"));

    // A CR ends nothing by itself and stays unless an LF follows; the LF
    // after the last line adds no element.
    WriteBytes(Path("three"), "a\rb\r\r\nc\r");
    ASSERT_TRUE(file.ReadLines(path, lines));
    ASSERT_EQ(lines.GetSize(), 2);
    EXPECT_EQ(lines[0], CString(u"a\rb\r"));
    EXPECT_EQ(lines[1], CString(u"c\r"));

    // Each byte is the character of its code, NUL and 0xFF included.
    WriteBytes(Path("three"), std::string("\xE9\x00\xFF\n", 4));
    ASSERT_TRUE(file.ReadLines(path, lines));
    ASSERT_EQ(lines.GetSize(), 1);
    EXPECT_EQ(lines[0], CString(std::u16string(u"\u00e9\0\u00ff", 3)));

    WriteBytes(Path("three"), "");
    ASSERT_TRUE(file.ReadLines(path, lines));
    EXPECT_EQ(lines.GetSize(), 0);
}

TEST_F(TextFileTest, FailedReadKeepsLinesAndSaysWhy) {
    CVNTextFile file(u"mapping", u"\n");
    CStringArray lines;
    lines.Add(u"kept");
    CString missing = PathText(Path("missing.mapping"));
    EXPECT_FALSE(file.ReadLines(missing, lines));
    ASSERT_EQ(lines.GetSize(), 1);
    EXPECT_EQ(lines[0], CString(u"kept"));
    EXPECT_NE(file.m_strError.Find(u"missing.mapping"), -1);

    // A folder is not a text file.
    CString folder = PathText(m_folder);
    EXPECT_FALSE(file.ReadLines(folder, lines));
    EXPECT_FALSE(file.m_strError.IsEmpty());

    // The next call starts with no error.
    WriteBytes(Path("present"), "x\n");
    CString present = PathText(Path("present"));
    EXPECT_TRUE(file.ReadLines(present, lines));
    EXPECT_TRUE(file.m_strError.IsEmpty());
}

TEST_F(TextFileTest, ReadTextNormalisesLineEnds) {
    CVNTextFile file(u"", u"\n");
    CString text = u"old";
    CString path = PathText(Path("table.csv"));
    WriteBytes(Path("table.csv"), "a,b\r\nc,d\ne");
    ASSERT_TRUE(file.ReadText(path, text));
    EXPECT_EQ(text, CString(u"a,b\nc,d\ne\n"));

    CString missing = PathText(Path("none.csv"));
    EXPECT_FALSE(file.ReadText(missing, text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(file.m_strError.IsEmpty());
}

TEST_F(TextFileTest, WriteLinesEndsEveryLineWithCrLf) {
    CVNTextFile file(u"mapping", u"\n");
    CString path = PathText(Path("out"));
    CStringArray lines;
    lines.Add(u"a");
    lines.Add(u"");
    ASSERT_TRUE(file.WriteLines(path, lines));
    EXPECT_EQ(ReadBytes(Path("out")), "a\r\n\r\n");

    // A line end inside an element is a line end on disk too.
    lines.RemoveAll();
    lines.Add(CString(u"x\ny\u00ff"));
    ASSERT_TRUE(file.WriteLines(path, lines));
    EXPECT_EQ(ReadBytes(Path("out")), "x\r\ny\xFF\r\n");

    lines.RemoveAll();
    ASSERT_TRUE(file.WriteLines(path, lines));
    EXPECT_EQ(ReadBytes(Path("out")), "");
}

TEST_F(TextFileTest, UnencodableCharacterFailsBeforeTheFileIsTouched) {
    CVNTextFile file(u"mapping", u"\n");
    CString path = PathText(Path("out"));
    WriteBytes(Path("out"), "previous\r\n");
    CStringArray lines;
    lines.Add(u"fine");
    lines.Add(u"LEVEL \u0100");
    EXPECT_FALSE(file.WriteLines(path, lines));
    EXPECT_EQ(ReadBytes(Path("out")), "previous\r\n");
    EXPECT_NE(file.m_strError.Find(u"256"), -1);
    EXPECT_NE(file.m_strError.Find(u"Line 2"), -1);
}

TEST_F(TextFileTest, EmptyPathAsksForOne) {
    ChoosingTextFile chooser(PathText(Path("chosen.mapping")));
    CStringArray lines;
    lines.Add(u"x");
    CString path;
    ASSERT_TRUE(chooser.WriteLines(path, lines));
    EXPECT_EQ(path, chooser.m_choice);
    CString again;
    ASSERT_TRUE(chooser.ReadLines(again, lines));
    EXPECT_EQ(chooser.m_asked, (std::vector<BOOL>{TRUE, FALSE}));

    ChoosingTextFile refusing(u"");
    CString none;
    EXPECT_FALSE(refusing.ReadLines(none, lines));
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_TRUE(refusing.m_strError.IsEmpty());

    EXPECT_EQ(chooser.GetFilter(), CString(u"mapping-files (*.mapping)|*.mapping|All Files (*.*)|*.*||"));
    EXPECT_TRUE(CVNTextFile(u"", u"\n").GetFilter().IsEmpty());
}
