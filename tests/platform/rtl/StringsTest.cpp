#include "tests/platform/rtl/RtlFixture.h"

#include <ostream>

namespace {

// ---- Trim ------------------------------------------------------------------------------

struct TTrimCase {
  const char* Name;
  AnsiString Input, Both, Left, Right;
  friend std::ostream& operator<<(std::ostream& os, const TTrimCase& c) { return os << c.Name; }
};

const TTrimCase TrimCases[] = {
    {"Empty", "", "", "", ""},
    {"OnlyBlanks", " \t\r\n", "", "", ""},
    {"SpacesAndControls", " \t a b\r\n", "a b", "a b\r\n", " \t a b"},
    {"AllCodesUpToSpace", AnsiString("\x01\x1F") + '\0' + "x" + '\0' + "\x7F", "x" + AnsiString(1, '\0') + "\x7F", "x" + AnsiString(1, '\0') + "\x7F",
     AnsiString("\x01\x1F") + '\0' + "x" + '\0' + "\x7F"},
    {"FullWidthSpaceIsText", "\xA1\xA1" "a\xA1\xA1", "\xA1\xA1" "a\xA1\xA1", "\xA1\xA1" "a\xA1\xA1", "\xA1\xA1" "a\xA1\xA1"},
};

class TTrimTest : public TRtlTest, public ::testing::WithParamInterface<TTrimCase> {};

TEST_P(TTrimTest, StripsCharactersUpToSpace) {
  const TTrimCase& c = GetParam();
  EXPECT_EQ(Trim(c.Input), c.Both);
  EXPECT_EQ(TrimLeft(c.Input), c.Left);
  EXPECT_EQ(TrimRight(c.Input), c.Right);
}

INSTANTIATE_TEST_SUITE_P(Trim, TTrimTest, ::testing::ValuesIn(TrimCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Case and comparison ---------------------------------------------------------------

TEST_F(TRtlTest, AnsiCaseMappingLeavesDoubleByteCharactersAlone) {
  // The trail bytes fall in the ASCII letter ranges.
  ASSERT_EQ(AnsiString("乤"), "\x81\x61");
  ASSERT_EQ(AnsiString("丄"), "\x81\x41");
  EXPECT_EQ(AnsiUpperCase("ab乤cd"), "AB乤CD");
  EXPECT_EQ(AnsiLowerCase("AB丄CD"), "ab丄cd");
  // The ASCII-only functions know no code page.
  EXPECT_EQ(UpperCase("a乤"), "A\x81\x41");
  EXPECT_EQ(AnsiSameText("x乤Y", "X乤y"), true);
  EXPECT_EQ(AnsiSameText("乤", "丄"), false);
}

TEST_F(TRtlTest, AnsiCaseMappingInAWesternCodePage) {
  UseCodePage(1252);
  EXPECT_EQ(AnsiUpperCase("\xE9t\xE9\x81\x61"), "\xC9T\xC9\x81\x41");
  EXPECT_EQ(AnsiLowerCase("\xC0\xD7\xDE"), "\xE0\xD7\xFE");
  EXPECT_FALSE(IsDBCSLeadByteOfACP(0x81));
  UseCodePage(950);
  EXPECT_TRUE(IsDBCSLeadByteOfACP(0x81));
  EXPECT_TRUE(IsDBCSLeadByteOfACP(0xFE));
  EXPECT_FALSE(IsDBCSLeadByteOfACP(0x80));
  EXPECT_FALSE(IsDBCSLeadByteOfACP(0xFF));
}

TEST_F(TRtlTest, OrdinalComparisonsCompareBytes) {
  EXPECT_GT(CompareStr("a", "B"), 0);
  EXPECT_LT(CompareStr("ab", "abc"), 0);
  EXPECT_EQ(CompareText("aBc", "AbC"), 0);
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_TRUE(SameText("Key", "KEY"));
  EXPECT_FALSE(SameText("\xE9", "\xC9"));
}

TEST_F(TRtlTest, AnsiComparisonsFollowTheLocale) {
  EXPECT_LT(AnsiCompareStr("a", "B"), 0);
  EXPECT_LT(AnsiCompareStr("a", "A"), 0);
  EXPECT_EQ(AnsiCompareText("abc", "ABC"), 0);
  EXPECT_LT(AnsiCompareText("abc", "ABD"), 0);
  EXPECT_GT(AnsiCompareText("b", "A"), 0);
  // Pinyin order: 匕 (bi) before 才 (cai), though its GB code is the higher.
  ASSERT_GT(CompareStr("匕", "才"), 0);
  EXPECT_LT(AnsiCompareStr("匕", "才"), 0);
  EXPECT_LT(AnsiCompareText("匕", "才"), 0);
}

TEST_F(TRtlTest, AnsiComparisonsNeverEquateDifferentTexts) {
  // The locale's rules ignore control characters; the texts still differ.
  EXPECT_NE(AnsiCompareStr("a\x03" "b", "ab"), 0);
  EXPECT_NE(AnsiCompareText("a\x01" "b", "AB"), 0);
  EXPECT_EQ(-AnsiCompareText("a\x01" "b", "AB"), AnsiCompareText("AB", "a\x01" "b"));
  EXPECT_FALSE(AnsiSameText("a\x04", "a"));
}

// ---- Searching and editing -------------------------------------------------------------

TEST_F(TRtlTest, PositionsAreOneBased) {
  EXPECT_EQ(Pos("b", "abcb"), 2);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(PosEx("b", "abcb", 3), 4);
  EXPECT_EQ(PosEx("b", "abcb", 5), 0);
  EXPECT_EQ(PosEx("b", "abcb", 0), 0);
  // 乤 is 81 61: Pos finds the "a" inside it, AnsiPos only whole characters.
  EXPECT_EQ(Pos("a", "乤a"), 2);
  EXPECT_EQ(AnsiPos("a", "乤a"), 3);
  EXPECT_EQ(AnsiPos("乤", "x乤"), 2);
}

TEST_F(TRtlTest, CopyDeleteInsertClampLikePascal) {
  EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
  EXPECT_EQ(Copy("abcdef", -5, 2), "ab");
  EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
  EXPECT_EQ(Copy("abcdef", 7, 1), "");
  EXPECT_EQ(Copy("abcdef", 2, -1), "");

  AnsiString s = "abcdef";
  Delete(s, 2, 2);
  EXPECT_EQ(s, "adef");
  Delete(s, 3, 100);
  EXPECT_EQ(s, "ad");
  Delete(s, 0, 1);
  Delete(s, 3, 1);
  EXPECT_EQ(s, "ad");

  Insert("XY", s, 2);
  EXPECT_EQ(s, "aXYd");
  Insert("<", s, -3);
  Insert(">", s, 99);
  EXPECT_EQ(s, "<aXYd>");
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', -1), "");
}

TEST_F(TRtlTest, StringReplaceFlags) {
  EXPECT_EQ(StringReplace("a.b.c", ".", "::", {}), "a::b.c");
  EXPECT_EQ(StringReplace("a.b.c", ".", "::", {rfReplaceAll}), "a::b::c");
  EXPECT_EQ(StringReplace("Abc abc ABC", "abc", "x", {rfReplaceAll}), "Abc x ABC");
  EXPECT_EQ(StringReplace("Abc abc ABC", "abc", "x", {rfReplaceAll, rfIgnoreCase}), "x x x");
  EXPECT_EQ(StringReplace("aaa", "aa", "b", {rfReplaceAll}), "ba");
  EXPECT_EQ(StringReplace("abc", "", "x", {rfReplaceAll}), "abc");
  // A match may not start on a trail byte.
  EXPECT_EQ(StringReplace("乤a", "a", "b", {rfReplaceAll}), "乤b");
  EXPECT_EQ(StringReplace("x乤X", "乤x", "-", {rfIgnoreCase}), "x-");
}

TEST_F(TRtlTest, Quoting) {
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(QuotedStr(""), "''");
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
  // 亅 is 81 7C: its trail byte is no quote.
  ASSERT_EQ(AnsiString("亅"), "\x81\x7C");
  EXPECT_EQ(AnsiQuotedStr("亅|", '|'), "|亅|||");
  EXPECT_EQ(AnsiDequotedStr("'it''s'", '\''), "it's");
  EXPECT_EQ(AnsiDequotedStr("plain", '\''), "plain");
  EXPECT_EQ(AnsiDequotedStr("'open", '\''), "'open");

  size_t pos = 1;
  EXPECT_EQ(AnsiExtractQuotedStr("x\"a\"\"b\"rest", pos, '"'), "a\"b");
  EXPECT_EQ(pos, 7u);
  pos = 0;
  EXPECT_EQ(AnsiExtractQuotedStr("\"unterminated", pos, '"'), "unterminated");
  EXPECT_EQ(pos, 13u);
  pos = 0;
  EXPECT_EQ(AnsiExtractQuotedStr("none", pos, '"'), "");
  EXPECT_EQ(pos, 0u);
}

TEST_F(TRtlTest, DelimitersSkipTrailBytes) {
  // 乗 is 81 5C: its trail byte is a backslash.
  ASSERT_EQ(AnsiString("乗"), "\x81\x5C");
  EXPECT_EQ(LastDelimiter("\\", "C:\\dir\\乗"), 7);
  EXPECT_EQ(LastDelimiter("\\:", "乗"), 0);
  EXPECT_EQ(LastDelimiter(".", "abc"), 0);
  EXPECT_TRUE(IsDelimiter("\\", "a\\b", 2));
  EXPECT_FALSE(IsDelimiter("\\", "乗", 2));
  EXPECT_FALSE(IsDelimiter("\\", "a", 5));
  EXPECT_EQ(ByteType("a乗b", 1), mbSingleByte);
  EXPECT_EQ(ByteType("a乗b", 2), mbLeadByte);
  EXPECT_EQ(ByteType("a乗b", 3), mbTrailByte);
  EXPECT_EQ(ByteType("a乗b", 4), mbSingleByte);
}

struct TFileNameCase {
  const char* Name;
  AnsiString FileName, Path, Dir, FileOnly, Ext, Drive;
  friend std::ostream& operator<<(std::ostream& os, const TFileNameCase& c) { return os << c.FileName; }
};

const TFileNameCase FileNameCases[] = {
    {"Full", "C:\\KVT\\Client\\Tavo61C.dll", "C:\\KVT\\Client\\", "C:\\KVT\\Client", "Tavo61C.dll", ".dll", "C:"},
    {"Root", "C:\\boot.ini", "C:\\", "C:\\", "boot.ini", ".ini", "C:"},
    {"DriveRelative", "D:data.txt", "D:", "D:", "data.txt", ".txt", "D:"},
    {"NoExtension", "C:\\a.b\\file", "C:\\a.b\\", "C:\\a.b", "file", "", "C:"},
    {"Share", "\\\\server\\share\\dir\\x.log", "\\\\server\\share\\dir\\", "\\\\server\\share\\dir", "x.log", ".log",
     "\\\\server\\share"},
    {"TrailByteBackslash", "C:\\目录\\乗.txt", "C:\\目录\\", "C:\\目录", "乗.txt", ".txt", "C:"},
    {"NameOnly", "readme", "", "", "readme", "", ""},
};

class TFileNameTest : public TRtlTest, public ::testing::WithParamInterface<TFileNameCase> {};

TEST_P(TFileNameTest, SplitsWindowsFileNames) {
  const TFileNameCase& c = GetParam();
  EXPECT_EQ(ExtractFilePath(c.FileName), c.Path);
  EXPECT_EQ(ExtractFileDir(c.FileName), c.Dir);
  EXPECT_EQ(ExtractFileName(c.FileName), c.FileOnly);
  EXPECT_EQ(ExtractFileExt(c.FileName), c.Ext);
  EXPECT_EQ(ExtractFileDrive(c.FileName), c.Drive);
}

INSTANTIATE_TEST_SUITE_P(FileNames, TFileNameTest, ::testing::ValuesIn(FileNameCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TRtlTest, PathDelimitersAndExtensions) {
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\KVT"), "C:\\KVT\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\KVT\\"), "C:\\KVT\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\乗"), "C:\\乗\\");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\乗"), "C:\\乗");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\KVT\\"), "C:\\KVT");
  EXPECT_EQ(ChangeFileExt("C:\\a.b\\file", ".ini"), "C:\\a.b\\file.ini");
  EXPECT_EQ(ChangeFileExt("C:\\x\\Tavo61C.dll", ".Lng"), "C:\\x\\Tavo61C.Lng");
  EXPECT_EQ(ChangeFileExt("name.tar.gz", ""), "name.tar");
}

// ---- Integers --------------------------------------------------------------------------

struct TIntCase {
  const char* Name;
  const char* Text;
  bool Valid;
  int Value;
  friend std::ostream& operator<<(std::ostream& os, const TIntCase& c) { return os << '"' << c.Text << '"'; }
};

const TIntCase IntCases[] = {
    {"Plain", "123", true, 123},
    {"LeadingSpaces", "  42", true, 42},
    {"Negative", "-17", true, -17},
    {"Plus", "+5", true, 5},
    {"DollarHex", "$FF", true, 255},
    {"CHex", "0x1f", true, 31},
    {"NegativeHex", "-$10", true, -16},
    {"HexUsesAllBits", "$FFFFFFFF", true, -1},
    {"Maximum", "2147483647", true, 2147483647},
    {"Minimum", "-2147483648", true, INT32_MIN},
    {"Empty", "", false, 0},
    {"Letters", "abc", false, 0},
    {"TrailingGarbage", "12a", false, 0},
    {"TrailingSpace", "42 ", false, 0},
    {"LeadingTab", "\t42", false, 0},
    {"Overflow", "2147483648", false, 0},
    {"HexOverflow", "$100000000", false, 0},
    {"Fraction", "1.5", false, 0},
    {"SignOnly", "-", false, 0},
    {"PrefixOnly", "$", false, 0},
};

class TStrToIntTest : public TRtlTest, public ::testing::WithParamInterface<TIntCase> {};

TEST_P(TStrToIntTest, ReadsPascalIntegerSyntax) {
  const TIntCase& c = GetParam();
  int value = -999;
  EXPECT_EQ(TryStrToInt(c.Text, value), c.Valid);
  EXPECT_EQ(StrToIntDef(c.Text, -999), c.Valid ? c.Value : -999);
  if (c.Valid) {
    EXPECT_EQ(value, c.Value);
    EXPECT_EQ(StrToInt(c.Text), c.Value);
  } else {
    EXPECT_EQ(value, -999) << "a failed conversion leaves the target alone";
    try {
      StrToInt(c.Text);
      FAIL() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, AnsiString("'") + c.Text + "' is not a valid integer value");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(StrToInt, TStrToIntTest, ::testing::ValuesIn(IntCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TRtlTest, Int64TextAndHex) {
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(StrToInt64("2147483648"), 2147483648LL);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
  EXPECT_EQ(StrToInt64Def("x", 7), 7);
  EXPECT_EQ(IntToStr(-5), "-5");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(IntToStr(4000000000u), "4000000000");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0x1234, 2), "1234");
  EXPECT_EQ(IntToHex(-1, 1), "FFFFFFFF");
  EXPECT_EQ(IntToHex(int64_t{-2}, 1), "FFFFFFFFFFFFFFFE");
}

TEST_F(TRtlTest, BooleanText) {
  EXPECT_EQ(BoolToStr(true), "-1");
  EXPECT_EQ(BoolToStr(false, true), "False");
  EXPECT_TRUE(StrToBool("true"));
  EXPECT_FALSE(StrToBool("0"));
  EXPECT_TRUE(StrToBool("-1"));
  EXPECT_TRUE(StrToBoolDef("maybe", true));
  EXPECT_THROW(StrToBool("maybe"), EConvertError);
}

}  // namespace
