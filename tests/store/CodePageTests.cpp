// The mapping file and the text file in other offices' code pages: Western
// (1252), Cyrillic (1251) and Japanese (932, two bytes a character, whose
// second bytes can be "\", "[" and "]").
#include "StoreTestSupport.h"

#include "store/platform/CodePage.h"
#include "store/platform/TextCodec.h"

namespace {
// Makes the store read and write in another code page for the life of the
// object; the system's comes back afterwards.
struct CodePageScope {
    explicit CodePageScope(unsigned codePage) { EXPECT_TRUE(CodePage::Select(codePage)) << codePage; }
    ~CodePageScope() { CodePage::Select(0); }
};

// "ソ表ゼゾ" in code page 932: the second bytes are "\", "\", "[" and "]".
const std::string kTrailBytes = "\x83\\\x95\\\x83[\x83]";
const CString kTrailChars = CString(u"\u30bd\u8868\u30bc\u30be");
}  // namespace

TEST(CodePage, SelectionAndTheCodecsOfEachKind) {
    EXPECT_EQ(CodePage::Active(), CodePage::SystemDefault());
    EXPECT_FALSE(CodePage::Select(99999));
    {
        CodePageScope japanese(932);
        EXPECT_EQ(CodePage::Active(), 932u);
        EXPECT_FALSE(TextCodec::Active().IsSingleByte());
    }
    EXPECT_EQ(CodePage::Active(), CodePage::SystemDefault());
    // Every character a code page reads is written back as the same bytes'
    // meaning, and the euro sign of 1252 is byte 0x80.
    for (unsigned codePage : {1252u, 1251u, 932u, 936u, 949u, 950u}) {
        const TextCodec* codec = TextCodec::For(codePage);
        ASSERT_TRUE(codec) << codePage;
        std::string bytes(5000, 'a');
        for (int first = 0x20; first < 0x100; ++first)
            for (int second : {0x40, 0x5B, 0x5C, 0x5D, 0x7E, 0x80, 0xA1, 0xFE})
                bytes += {char(first), char(second), ' '};
        std::u16string text, again;
        codec->Decode(bytes, text);
        // A text of several blocks, some all ASCII, each byte its character.
        if (codec->IsSingleByte()) {
            ASSERT_EQ(text.size(), bytes.size());
            for (size_t i = 0; i < bytes.size(); ++i)
                ASSERT_EQ(text[i], codec->CharOf(bytes[i])) << codePage << " at " << i;
        }
        std::string written;
        size_t bad = 0;
        ASSERT_TRUE(codec->Encode(text, written, bad)) << codePage << " at " << bad;
        codec->Decode(written, again);
        EXPECT_EQ(text, again) << codePage;
    }
    std::string euro;
    size_t bad = 0;
    EXPECT_TRUE(TextCodec::For(1252)->Encode(u"\u20ac", euro, bad));
    EXPECT_EQ(euro, "\x80");
}

TEST(CodePage, DoubleByteCharactersNeverSplitAtLineEndsOrBrackets) {
    CodePageScope japanese(932);
    // A lead byte without its second half (before a line end, at the end)
    // stands alone and takes nothing with it.
    std::u16string text;
    TextCodec::Active().Decode("a\x83\r\n\x83", text);
    EXPECT_EQ(text, u"a?\r\n?");
    // "[ソ = ゾ" ends in the byte "]" but is a pair; "[ゾ]" is a header of an
    // unknown section whose pairs are skipped.
    EXPECT_EQ(Tables::Parse("[Levels]\r\n[\x83\\ = \x83]\r\n" + kTrailBytes + " = " + kTrailBytes +
                            "\r\n[\x83]]\r\nx = y\r\n").Listed(),
              "Levels:[\u30bd=\u30be\nLevels:" + kTrailChars.ToUtf8() + "=" + kTrailChars.ToUtf8() + "\n");
}

TEST_F(StoreTest, MappingFileReadsAndWritesTheOfficesCodePage) {
    const fs::path file = Path("commands.mapping");
    const CString path = PathText(file);
    const struct {
        unsigned codePage;
        std::string key, value;  // bytes in the code page
        CString keyText, valueText;
    } offices[] = {
        {1252, "Caf\xE9", "\x80 \x96 \x93x\x94", u"Caf\u00e9", u"\u20ac \u2013 \u201cx\u201d"},
        {1251, "\xD1\xF2\xE5\xED\xE0", "\xC4\xE2\xE5\xF0\xFC", u"\u0421\u0442\u0435\u043d\u0430",
         u"\u0414\u0432\u0435\u0440\u044c"},
        {932, kTrailBytes, "\x95\xC7 \\ [x]", kTrailChars, u"\u58c1 \\ [x]"},
    };
    for (const auto& office : offices) {
        CodePageScope scope(office.codePage);
        const std::string bytes = "[Levels]\r\n" + office.key + " = " + office.value + "\r\n";
        WriteFile(file, bytes);
        Tables t;
        CVNTextFile textFile(u"mapping", u"\n");
        ASSERT_TRUE(MappingFile::Read(&textFile, path, t.View()));
        EXPECT_EQ(t.Listed(), "Levels:" + office.keyText.ToUtf8() + "=" + office.valueText.ToUtf8() + "\n");
        // Written back byte for byte, and the text file reads the same lines.
        ASSERT_TRUE(MappingFile::Write(&textFile, path, t.View())) << textFile.m_strError.ToUtf8();
        const std::string written = ReadFile(file);
        EXPECT_NE(written.find(bytes), std::string::npos) << office.codePage;
        CStringArray lines;
        CString readPath = path;
        ASSERT_TRUE(textFile.ReadLines(readPath, lines));
        EXPECT_EQ(lines.GetAt(lines.GetSize() - 2), office.keyText + u" = " + office.valueText);
    }
}

TEST_F(StoreTest, CharacterOutsideTheCodePageStopsTheSaveAndNamesThePair) {
    const fs::path file = Path("commands.mapping");
    WriteFile(file, "[Aliases]\r\nold = file\r\n");
    for (unsigned codePage : {1251u, 932u}) {
        CodePageScope scope(codePage);
        Tables t;
        // 932: enough lines before the pair for the conversion to come in pieces.
        for (int i = 0; i < (codePage == 932 ? 120000 : 10); ++i)
            t[KindAliases].SetPair(CString(u"\u0416") + CString(std::u16string(1, char16_t(u'a' + i % 26))) +
                                       CString::FromLatin1(std::to_string(i)),
                                   u"x");
        t[KindLevels].SetPair(u"\u0416", u"\u0414");
        t[KindLevels].SetPair(u"wall", CString(u"A-\u00e7\U0001F600"));  // ç is not in 1251 nor 932
        CVNTextFile textFile(u"mapping", u"\n");
        CString path = PathText(file);
        EXPECT_EQ(MappingFile::Save(textFile, path, t.View()).fault, SaveFault::Encoding);
        EXPECT_EQ(textFile.m_unencodable.kind, KindLevels);
        EXPECT_EQ(textFile.m_unencodable.key, CString(u"wall"));
        EXPECT_EQ(textFile.m_unencodable.ch, U'\u00e7');
        EXPECT_NE(textFile.m_strError.Find(u"U+00E7"), -1) << textFile.m_strError.ToUtf8();
        EXPECT_EQ(ReadFile(file), "[Aliases]\r\nold = file\r\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 2);  // and TEMP
        EXPECT_FALSE(fs::exists(BackupPath()));
        // A character beyond the first 65,536 is named whole.
        t[KindLevels].SetPair(u"wall", CString(u"A-\U0001F600"));
        EXPECT_FALSE(MappingFile::Write(&textFile, PathText(file), t.View()));
        EXPECT_EQ(textFile.m_unencodable.ch, U'\U0001F600');
        EXPECT_NE(textFile.m_strError.Find(u"U+1F600"), -1);
    }
}
