#include "framework/CString.h"
#include "framework/CStringArray.h"

#include <gtest/gtest.h>

TEST(CStringCompare, OrdinalByCodeUnitAndNoCaseFoldsAsciiLettersOnly) {
    EXPECT_LT(CString(u"Zebra").Compare(u"apple"), 0);
    EXPECT_LT(CString(u"ab").Compare(u"abc"), 0);
    EXPECT_EQ(CString(u"abc").Compare(u"abc"), 0);
    // Above ASCII the code unit decides: U+00E9 after 'z'.
    EXPECT_GT(CString(u"\u00e9").Compare(u"z"), 0);
    // No case folds ASCII letters only.
    EXPECT_EQ(CString(u"LEVEL_1").CompareNoCase(u"level_1"), 0);
    EXPECT_NE(CString(u"\u00c9").CompareNoCase(u"\u00e9"), 0);
    // Folding to lower case puts '_' (0x5F) before letters (0x61...).
    EXPECT_LT(CString(u"_").CompareNoCase(u"A"), 0);
    EXPECT_LT(CString(u"AB").CompareNoCase(u"abc"), 0);
}

TEST(CStringTrim, CLocaleWhiteSpaceOrTheGivenCharacters) {
    CString s(u" \t\r\n\v\f key = value \r\n");
    EXPECT_EQ(s.Trim(), CString(u"key = value"));
    EXPECT_EQ(CString(u"\u00a0x\u00a0").Trim().GetLength(), 3);
    EXPECT_TRUE(CString(u"   ").Trim().IsEmpty());
    // Given characters, from both ends.
    EXPECT_EQ(CString(u"ac14,62ac").Trim(u"ac"), CString(u"14,62"));
    EXPECT_TRUE(CString(u"caca").Trim(u"ac").IsEmpty());
}

TEST(CStringSubstrings, FindMidLeftRightClampOutOfRange) {
    CString s(u"a=b=c");
    EXPECT_EQ(s.Find(u'='), 1);
    EXPECT_EQ(s.Find(u'=', 2), 3);
    EXPECT_EQ(s.Find(u'=', 99), -1);
    EXPECT_EQ(s.Find(CString(u"b=")), 2);
    EXPECT_EQ(s.Mid(2), CString(u"b=c"));
    EXPECT_EQ(s.Mid(4, 10), CString(u"c"));
    EXPECT_EQ(s.Mid(9), CString());
    EXPECT_EQ(s.Mid(-3, 2), CString(u"a="));
    EXPECT_EQ(s.Left(-1), CString());
    EXPECT_EQ(s.Right(2), CString(u"=c"));
    EXPECT_EQ(s.Right(99), s);
}

TEST(CStringFormat, IntegersStringsAndStrayConversions) {
    CString s;
    s.Format(CString(u"This will delete %d items from the list."), 3);
    EXPECT_EQ(s, CString(u"This will delete 3 items from the list."));
    s.Format(CString(u"%s: %d%% of %d"), CString(u"done"), -5, 2147483647);
    EXPECT_EQ(s, CString(u"done: -5% of 2147483647"));
    // Conversions without a matching argument are kept, never read.
    s.Format(CString(u"%d %s %x %"), 7);
    EXPECT_EQ(s, CString(u"7 %s %x %"));
}

TEST(CStringEncoding, Latin1AndUtf8) {
    CString latin = CString::FromLatin1("\xe9\xff" "A");
    ASSERT_EQ(latin.GetLength(), 3);
    EXPECT_EQ(latin[0], u'\u00e9');
    EXPECT_EQ(latin[1], u'\u00ff');
    CString wide = CString::FromUtf8("\xc3\xa9\xf0\x9f\x98\x80");
    ASSERT_EQ(wide.GetLength(), 3);  // one BMP character and a surrogate pair
    EXPECT_EQ(wide.ToUtf8(), "\xc3\xa9\xf0\x9f\x98\x80");
    EXPECT_EQ(CString::FromUtf8("\xff" "a\xc3").ToUtf8(), "\xef\xbf\xbd" "a\xef\xbf\xbd");
}

TEST(CStringArrayBasics, AddIndexRemove) {
    CStringArray a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.Add(CString(u"one")), 0);
    EXPECT_EQ(a.Add(CString()), 1);
    a.SetAt(1, CString(u"two"));
    EXPECT_EQ(a[1], CString(u"two"));
    a.RemoveAt(0);
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_THROW(a.GetAt(5), std::out_of_range);
    a.RemoveAll();
    EXPECT_EQ(a.GetCount(), 0);
}
