#include "platform/rtl/SysUtils.h"
#include "platform/win/TestPrefix.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string r;
  for (unsigned char b : bytes) {
    r += digits[b >> 4];
    r += digits[b & 15];
    r += ' ';
  }
  return r;
}

// ---- Round trips ----------------------------------------------------------------------

struct TRoundTrip {
  const char* Name;
  UINT CodePage;
  const char16_t* Wide;
  const char* Bytes;
};

std::ostream& operator<<(std::ostream& os, const TRoundTrip& c) { return os << c.Name; }

const TRoundTrip RoundTrips[] = {
    {"GBK", 936, u"基本选项 A1", "\xBB\xF9\xB1\xBE\xD1\xA1\xCF\xEE A1"},
    {"GBKEuro", 936, u"€", "\x80"},
    {"Big5", 950, u"基本選項", "\xB0\xF2\xA5\xBB\xBF\xEF\xB6\xB5"},
    {"Oem437", 437, u"Grüße ░▒", "Gr\x81\xE1" "e \xB0\xB1"},
    {"Latin1252", 1252, u"Café €Ÿ", "Caf\xE9 \x80\x9F"},
    {"Utf8", CP_UTF8, u"基本 ü €", "\xE5\x9F\xBA\xE6\x9C\xAC \xC3\xBC \xE2\x82\xAC"},
    {"Utf8Supplementary", CP_UTF8, u"\U0001F600", "\xF0\x9F\x98\x80"},
};

class RoundTripTest : public testing::TestWithParam<TRoundTrip> {
protected:
  TTempPrefix Prefix;
};

TEST_P(RoundTripTest, Win32CallsConvertBothWays) {
  const TRoundTrip& c = GetParam();
  const std::string bytes = c.Bytes;
  const WideString wide = c.Wide;

  const int needed = MultiByteToWideChar(c.CodePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  ASSERT_EQ(needed, static_cast<int>(wide.size()));
  WideString w(static_cast<size_t>(needed), u'\0');
  ASSERT_EQ(MultiByteToWideChar(c.CodePage, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), needed), needed);
  EXPECT_TRUE(w == wide);

  const int size = WideCharToMultiByte(c.CodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                       nullptr, nullptr);
  ASSERT_EQ(size, static_cast<int>(bytes.size()));
  std::string out(static_cast<size_t>(size), '\0');
  BOOL used = TRUE;
  BOOL* usedArg = c.CodePage == CP_UTF8 ? nullptr : &used;
  ASSERT_EQ(WideCharToMultiByte(c.CodePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size,
                                nullptr, usedArg),
            size);
  EXPECT_EQ(Hex(out), Hex(bytes));
  if (usedArg) {
    EXPECT_FALSE(used);
  }
}

TEST_P(RoundTripTest, WrappersConvertBothWays) {
  const TRoundTrip& c = GetParam();
  bool used = true;
  EXPECT_EQ(Hex(WideToAnsi(c.Wide, c.CodePage, &used)), Hex(c.Bytes));
  EXPECT_FALSE(used);
  EXPECT_TRUE(AnsiToWide(c.Bytes, c.CodePage) == WideString(c.Wide));
}

INSTANTIATE_TEST_SUITE_P(CodePages, RoundTripTest, testing::ValuesIn(RoundTrips),
                         [](const testing::TestParamInfo<TRoundTrip>& i) { return std::string(i.param.Name); });

// ---- Characters a code page lacks -----------------------------------------------------

struct TUnconvertible {
  const char* Name;
  UINT CodePage;
  const char16_t* Wide;
  const char* DefaultChar;  // nullptr: the code page's own
  const char* Expected;
};

std::ostream& operator<<(std::ostream& os, const TUnconvertible& c) { return os << c.Name; }

const TUnconvertible Unconvertibles[] = {
    {"ChineseIn1252", 1252, u"A中B", nullptr, "A?B"},
    {"EuroIn437", 437, u"5€", nullptr, "5?"},
    {"HangulIn936", 936, u"基한", nullptr, "\xBB\xF9?"},
    {"SimplifiedIn950", 950, u"简", nullptr, "?"},
    {"LoneSurrogateIn936", 936, u"x\xD800y", nullptr, "x?y"},
    {"OwnDefaultChar", 1252, u"中文", "*", "**"},
};

class UnconvertibleTest : public testing::TestWithParam<TUnconvertible> {
protected:
  TTempPrefix Prefix;
};

TEST_P(UnconvertibleTest, BecomeTheDefaultCharAndSaySo) {
  const TUnconvertible& c = GetParam();
  const WideString wide = c.Wide;
  char out[32] = {};
  BOOL used = FALSE;
  const int n = WideCharToMultiByte(c.CodePage, 0, wide.data(), static_cast<int>(wide.size()), out, sizeof out,
                                    c.DefaultChar, &used);
  EXPECT_EQ(Hex(std::string(out, static_cast<size_t>(n))), Hex(c.Expected));
  EXPECT_TRUE(used);
  if (!c.DefaultChar) {
    bool usedDefault = false;
    EXPECT_EQ(Hex(WideToAnsi(wide, c.CodePage, &usedDefault)), Hex(c.Expected));
    EXPECT_TRUE(usedDefault);
  }
}

INSTANTIATE_TEST_SUITE_P(CodePages, UnconvertibleTest, testing::ValuesIn(Unconvertibles),
                         [](const testing::TestParamInfo<TUnconvertible>& i) { return std::string(i.param.Name); });

// ---- Win32 contract -------------------------------------------------------------------

class ConversionContractTest : public testing::Test {
protected:
  TTempPrefix Prefix;
};

TEST_F(ConversionContractTest, MinusOneLengthIncludesTheTerminatingZero) {
  WCHAR w[8] = {};
  EXPECT_EQ(MultiByteToWideChar(936, 0, "\xBB\xF9" "A", -1, w, 8), 3);
  EXPECT_EQ(w[0], u'基');
  EXPECT_EQ(w[1], u'A');
  EXPECT_EQ(w[2], u'\0');
  char a[8] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"基A", -1, a, 8, nullptr, nullptr), 4);
  EXPECT_STREQ(a, "\xBB\xF9" "A");
}

TEST_F(ConversionContractTest, TooSmallBufferFailsWithInsufficientBuffer) {
  WCHAR w[2];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 3, w, 2), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  char a[3];
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"基本", 2, a, 3, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST_F(ConversionContractTest, BadArgumentsAreRefused) {
  WCHAR w[4];
  char a[4];
  BOOL used = FALSE;
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(12345, 0, "abc", 3, w, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(936, 0, "abc", 0, w, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, a, 4, nullptr, &used), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, w, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
  EXPECT_THROW(AnsiToWide("abc", 12345), EConvertError);
}

TEST_F(ConversionContractTest, InvalidInputFailsOnlyWhenAskedTo) {
  const char bad[] = "a\xC3(";
  WCHAR w[8];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bad, 3, w, 8), 0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
  const int n = MultiByteToWideChar(CP_UTF8, 0, bad, 3, w, 8);
  ASSERT_EQ(n, 3);
  EXPECT_EQ(w[0], u'a');
  EXPECT_EQ(w[1], u'\xFFFD');
  EXPECT_EQ(w[2], u'(');
}

// ---- Lead bytes -----------------------------------------------------------------------

struct TLeadByte {
  const char* Name;
  UINT CodePage;
  BYTE Byte;
  bool Lead;
};

std::ostream& operator<<(std::ostream& os, const TLeadByte& c) { return os << c.Name; }

const TLeadByte LeadBytes[] = {
    {"Gbk81", 936, 0x81, true},     {"GbkFE", 936, 0xFE, true},       {"GbkEuro80", 936, 0x80, false},
    {"GbkAscii", 936, 'A', false},  {"Big5A4", 950, 0xA4, true},      {"Big5Ascii", 950, 0x5C, false},
    {"Latin1E9", 1252, 0xE9, false}, {"Utf8C3", CP_UTF8, 0xC3, false}, {"Oem437B0", 437, 0xB0, false},
};

TEST(LeadByteTest, FollowsTheCodePage) {
  for (const TLeadByte& c : LeadBytes)
    EXPECT_EQ(IsDBCSLeadByteEx(c.CodePage, c.Byte) != FALSE, c.Lead) << c;
}

// ---- The process code page ------------------------------------------------------------

struct TProcessCodePage {
  const char* Name;
  const char* Ini;  // platform.ini, nullptr for none
  UINT ACP;
  UINT OEMCP;
  const char16_t* Wide;
  const char* Ansi;
};

std::ostream& operator<<(std::ostream& os, const TProcessCodePage& c) { return os << c.Name; }

const TProcessCodePage ProcessCodePages[] = {
    {"DefaultIs936", nullptr, 936, 936, u"选项", "\xD1\xA1\xCF\xEE"},
    {"Big5", "[Platform]\r\nACP=950\r\n", 950, 950, u"選項", "\xBF\xEF\xB6\xB5"},
    {"Western", "[platform]\r\nacp = 1252\r\n", 1252, 437, u"Café", "Caf\xE9"},
};

class ProcessCodePageTest : public testing::TestWithParam<TProcessCodePage> {};

TEST_P(ProcessCodePageTest, ComesFromThePrefixAndDrivesTheRuntime) {
  const TProcessCodePage& c = GetParam();
  std::map<std::string, std::string> files;
  if (c.Ini) files["platform.ini"] = c.Ini;
  TTempPrefix prefix(files);
  EXPECT_EQ(GetACP(), c.ACP);
  EXPECT_EQ(GetOEMCP(), c.OEMCP);
  EXPECT_EQ(GetACPHook(), static_cast<int>(c.ACP));
  EXPECT_EQ(Hex(WideToAnsiHook(c.Wide)), Hex(c.Ansi));
  EXPECT_TRUE(AnsiToWide(c.Ansi) == WideString(c.Wide));
}

INSTANTIATE_TEST_SUITE_P(Prefixes, ProcessCodePageTest, testing::ValuesIn(ProcessCodePages),
                         [](const testing::TestParamInfo<TProcessCodePage>& i) { return std::string(i.param.Name); });

TEST(ProcessCodePageErrorTest, AnUnknownCodePageNamesTheFile) {
  TTempPrefix prefix({{"platform.ini", "[Platform]\nACP=99999\n"}});
  try {
    GetACP();
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message.find(prefix.Path("platform.ini")), std::string::npos) << e.Message;
    EXPECT_NE(e.Message.find("99999"), std::string::npos) << e.Message;
  }
  // The runtime's hooks run where an exception would end the process.
  EXPECT_EQ(GetACPHook(), 936);
  EXPECT_EQ(WideToAnsiHook(u"基"), "\xBB\xF9");
}

// ---- Names compared as Windows compares them ------------------------------------------

TEST(NameCompareTest, IgnoresCaseButNotDoubleByteTrailBytes) {
  TTempPrefix prefix;
  EXPECT_EQ(lstrcmpi("Software\\KVT", "SOFTWARE\\kvt"), 0);
  EXPECT_EQ(lstrcmpi("αβ", "ΑΒ"), 0);
  // 0x81 0x61 and 0x81 0x41 are different characters whose second bytes are 'a' and 'A'.
  EXPECT_NE(lstrcmpi("\x81\x61", "\x81\x41"), 0);
  EXPECT_LT(lstrcmpi("abc", "ABD"), 0);
}

}  // namespace
