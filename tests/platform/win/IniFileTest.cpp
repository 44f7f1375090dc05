#include "platform/rtl/Classes.h"
#include "platform/vcl/IniFiles.h"
#include "platform/win/Profile.h"
#include "platform/win/TestPrefix.h"
#include "tests/platform/win/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>

namespace {

std::string Join(const TStrings& list) {
  std::string r;
  for (int i = 0; i < list.Count(); ++i) r += (i ? "|" : "") + list[i];
  return r;
}

// text with each piece replaced; every piece must stand in it exactly once.
std::string Edited(std::string text, std::initializer_list<std::pair<std::string, std::string>> edits) {
  for (const auto& [from, to] : edits) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at == std::string::npos) continue;
    EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from;
    text.replace(at, from.size(), to);
  }
  return text;
}

const char* const StewardIni =
    "; client settings\r\n"
    "[Server]\r\n"
    "Address = 192.168.1.10 \r\n"
    "Port=211\r\n"
    "Quoted=\"  padded value \"\r\n"
    "Single='x'\r\n"
    "Half=\"open\r\n"
    "Empty=\r\n"
    ";Port=999\r\n"
    "port=212\r\n"
    "Hex=0x1F\r\n"
    "Dollar=$10\r\n"
    "Negative=-7\r\n"
    "Word=abc\r\n"
    "Big=99999999999\r\n"
    "Zero=0\r\n"
    "Two=2\r\n"
    "名称=服务器\r\n"
    "\r\n"
    "[ Client ]\r\n"
    "Lang=CHS\r\n"
    "[SERVER]\r\n"
    "Port=9999\r\n"
    "Extra=in the second section\r\n";

// ---- Reading --------------------------------------------------------------------------

struct TIniRead {
  const char* Name;
  const char* Section;
  const char* Key;
  const char* Expected;  // ReadString with the default "dflt"
};

std::ostream& operator<<(std::ostream& os, const TIniRead& c) { return os << c.Name; }

const TIniRead IniReads[] = {
    {"BlanksTrimmed", "Server", "Address", "192.168.1.10"},
    {"SectionAndKeyIgnoreCase", "server", "ADDRESS", "192.168.1.10"},
    {"FirstKeyWins", "Server", "Port", "211"},
    {"FirstSectionWins", "SERVER", "port", "211"},
    {"SecondSectionIsHidden", "Server", "Extra", "dflt"},
    {"DoubleQuotesStripped", "Server", "Quoted", "  padded value "},
    {"SingleQuotesStripped", "Server", "Single", "x"},
    {"UnmatchedQuoteKept", "Server", "Half", "\"open"},
    {"EmptyValueIsNotTheDefault", "Server", "Empty", ""},
    {"CommentIsNoKey", "Server", ";Port", "dflt"},
    {"BlanksAroundSectionName", "client", "Lang", "CHS"},
    {"MissingKey", "Client", "None", "dflt"},
    {"MissingSection", "Nowhere", "Port", "dflt"},
    {"GbNames", "Server", "名称", "服务器"},
};

class IniReadTest : public testing::TestWithParam<TIniRead> {
protected:
  IniReadTest() : Prefix({{"drive_c/KVT/Client/StewardC.ini", StewardIni}}) {}
  TTempPrefix Prefix;
};

TEST_P(IniReadTest, ReadsAsTheProfileFunctions) {
  const TIniRead& c = GetParam();
  TIniFile ini("C:\\KVT\\Client\\stewardc.ini");
  EXPECT_EQ(ini.ReadString(c.Section, c.Key, "dflt"), c.Expected);
  char buffer[64];
  const DWORD n = GetPrivateProfileString(c.Section, c.Key, "dflt", buffer, sizeof buffer,
                                          "c:\\kvt\\client\\StewardC.INI");
  EXPECT_EQ(std::string(buffer, n), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Values, IniReadTest, testing::ValuesIn(IniReads),
                         [](const testing::TestParamInfo<TIniRead>& i) { return std::string(i.param.Name); });

struct TIniNumber {
  const char* Key;
  int Integer;  // ReadInteger with the default 5
  bool Bool;    // ReadBool with the default true
};

std::ostream& operator<<(std::ostream& os, const TIniNumber& c) { return os << c.Key; }

const TIniNumber IniNumbers[] = {
    {"Port", 211, true},  {"Hex", 31, true},  {"Dollar", 16, true}, {"Negative", -7, true},
    {"Word", 5, true},    {"Big", 5, true},   {"Zero", 0, false},   {"Empty", 5, true},
    {"Missing", 5, true}, {"Two", 2, true},   {"Address", 5, true},
};

class IniNumberTest : public testing::TestWithParam<TIniNumber> {
protected:
  IniNumberTest() : Prefix({{"drive_c/KVT/Client/StewardC.ini", StewardIni}}) {}
  TTempPrefix Prefix;
};

TEST_P(IniNumberTest, NumbersAndBooleansFallBackToTheDefault) {
  TIniFile ini("C:\\KVT\\Client\\StewardC.ini");
  EXPECT_EQ(ini.ReadInteger("Server", GetParam().Key, 5), GetParam().Integer);
  EXPECT_EQ(ini.ReadBool("Server", GetParam().Key, true), GetParam().Bool);
}

INSTANTIATE_TEST_SUITE_P(Values, IniNumberTest, testing::ValuesIn(IniNumbers),
                         [](const testing::TestParamInfo<TIniNumber>& i) { return std::string(i.param.Key); });

class IniFileTest : public testing::Test {
protected:
  IniFileTest() : Prefix({{"drive_c/KVT/Client/StewardC.ini", StewardIni}, {"drive_c/KVT/Client/Empty.ini", "[Empty]\r\n"}}) {}
  TTempPrefix Prefix;
};

TEST_F(IniFileTest, ListsSectionsAndKeysOnce) {
  TIniFile ini("C:\\KVT\\Client\\StewardC.ini");
  TStringList list;
  list.Add("stale");
  ini.ReadSections(&list);
  EXPECT_EQ(Join(list), "Server|Client");
  ini.ReadSection("SERVER", &list);
  EXPECT_EQ(Join(list), "Address|Port|Quoted|Single|Half|Empty|Hex|Dollar|Negative|Word|Big|Zero|Two|名称");
  ini.ReadSectionValues("Client", &list);
  EXPECT_EQ(Join(list), "Lang=CHS");
  ini.ReadSectionValues("Server", &list);
  EXPECT_EQ(list[1], "Port=211");
  EXPECT_EQ(list[2], "Quoted=  padded value ");
  ini.ReadSection("Nowhere", &list);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(ini.GetFileName(), "C:\\KVT\\Client\\StewardC.ini");
}

TEST_F(IniFileTest, SectionAndValueExistence) {
  TIniFile ini("C:\\KVT\\Client\\StewardC.ini");
  EXPECT_TRUE(ini.SectionExists("client"));
  EXPECT_FALSE(ini.SectionExists("Nowhere"));
  EXPECT_TRUE(ini.ValueExists("Server", "empty"));
  EXPECT_FALSE(ini.ValueExists("Server", "Extra"));
  EXPECT_FALSE(ini.ValueExists("Server", ";Port"));
  TIniFile empty("C:\\KVT\\Client\\Empty.ini");
  EXPECT_FALSE(empty.SectionExists("Empty"));  // as the VCL: a section without keys
}

TEST_F(IniFileTest, AMissingFileGivesDefaults) {
  TIniFile ini("C:\\KVT\\Client\\NoSuch.ini");
  EXPECT_EQ(ini.ReadString("Server", "Address", "127.0.0.1"), "127.0.0.1");
  EXPECT_EQ(ini.ReadInteger("Server", "Port", 211), 211);
  EXPECT_TRUE(ini.ReadBool("Server", "On", true));
  TStringList list;
  ini.ReadSections(&list);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(ini.SectionExists("Server"));
  TIniFile nowhere("Q:\\No\\Drive.ini");
  EXPECT_EQ(nowhere.ReadString("A", "B", "d"), "d");
}

// ---- Writing --------------------------------------------------------------------------

TEST_F(IniFileTest, WritesKeepEverythingElse) {
  TIniFile ini("C:\\KVT\\Client\\StewardC.ini");
  ini.WriteString("server", "ADDRESS", "10.0.0.1");
  ini.WriteInteger("Client", "Count", 3);
  ini.WriteBool("New Section", "Flag", true);
  // The file as it was, but for the three writes.
  const std::string expected = Edited(StewardIni, {{"Address = 192.168.1.10 \r\n", "Address=10.0.0.1\r\n"},
                                                   {"Lang=CHS\r\n", "Lang=CHS\r\nCount=3\r\n"}}) +
                               "\r\n"
                               "[New Section]\r\n"
                               "Flag=1\r\n";
  EXPECT_EQ(Prefix.ReadFile("drive_c/KVT/Client/StewardC.ini"), expected);
  EXPECT_EQ(ini.ReadString("Server", "Address", ""), "10.0.0.1");
  EXPECT_TRUE(ini.ReadBool("new section", "flag", false));
}

TEST_F(IniFileTest, NewKeysGoAfterTheSectionsLastEntry) {
  TIniFile ini("C:\\KVT\\Client\\StewardC.ini");
  ini.WriteString("Server", "Added", "yes");
  const std::string file = Prefix.ReadFile("drive_c/KVT/Client/StewardC.ini");
  EXPECT_NE(file.find("名称=服务器\r\nAdded=yes\r\n\r\n[ Client ]"), std::string::npos) << file;
}

TEST_F(IniFileTest, DeletesKeysAndSections) {
  TIniFile ini("C:\\KVT\\Client\\StewardC.ini");
  ini.DeleteKey("Server", "PORT");
  EXPECT_FALSE(ini.ValueExists("Server", "Port"));
  ini.EraseSection("server");
  TStringList list;
  ini.ReadSections(&list);
  EXPECT_EQ(Join(list), "Client");
  EXPECT_EQ(Prefix.ReadFile("drive_c/KVT/Client/StewardC.ini"), "; client settings\r\n[ Client ]\r\nLang=CHS\r\n");
}

TEST(IniFileCreateTest, WritingCreatesTheFileWithWindowsLineBreaks) {
  TTempPrefix prefix({{"drive_c/KVT/.keep", ""}});
  TIniFile ini("c:\\kvt\\New.ini");
  ini.WriteString("A", "Key", "value");
  ini.WriteString("A", "Other", "2");
  EXPECT_EQ(prefix.ReadFile("drive_c/KVT/New.ini"), "[A]\r\nKey=value\r\nOther=2\r\n");
}

TEST(IniFileCreateTest, UnixLineBreaksAreKept) {
  TTempPrefix prefix({{"drive_c/u.ini", "[A]\nx=1\n"}});
  TIniFile ini("C:\\u.ini");
  ini.WriteString("A", "y", "2");
  EXPECT_EQ(prefix.ReadFile("drive_c/u.ini"), "[A]\nx=1\ny=2\n");
}

TEST(IniFileCreateTest, ASectionNameMayEndInADoubleByteBracket) {
  // 0x81 0x5D is one character whose second byte is "]".
  TTempPrefix prefix({{"drive_c/d.ini", "[\x81\x5D]\r\nk=v\r\n"}});
  TIniFile ini("C:\\d.ini");
  EXPECT_EQ(ini.ReadString("\x81\x5D", "k", ""), "v");
  ini.WriteString("\x81\x5D", "j", "w");
  EXPECT_EQ(prefix.ReadFile("drive_c/d.ini"), "[\x81\x5D]\r\nk=v\r\nj=w\r\n");
}

TEST(IniFileCreateTest, AFileWithoutFolderIsInTheWindowsFolder) {
  TTempPrefix prefix({{"drive_c/windows/win.ini", "[Desktop]\r\nWallpaper=none\r\n"}});
  TIniFile ini("WIN.INI");
  EXPECT_EQ(ini.ReadString("desktop", "wallpaper", ""), "none");
}

TEST(IniFileErrorTest, UnwritableOrUnstorableIsAnError) {
  TTempPrefix prefix({{"drive_c/a.ini", "[A]\r\nx=1\r\n"}});
  TIniFile missingFolder("C:\\NoFolder\\a.ini");
  try {
    missingFolder.WriteString("A", "x", "1");
    FAIL() << "no error";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message, "Unable to write to C:\\NoFolder\\a.ini");
    EXPECT_STREQ(e.ClassName(), "EIniFileException");
  }
  TIniFile ini("C:\\a.ini");
  EXPECT_THROW(ini.WriteString("A", "bad=key", "1"), EIniFileException);
  EXPECT_THROW(ini.WriteString("A", "key", "two\r\nlines"), EIniFileException);
  EXPECT_THROW(ini.WriteString("B]", "key", "1"), EIniFileException);
  EXPECT_EQ(prefix.ReadFile("drive_c/a.ini"), "[A]\r\nx=1\r\n");

  bool raised = false;
  {
    const TFileSizeLimit limit(16);
    try {
      ini.WriteString("A", "Long", std::string(200, 'v'));
    } catch (const EIniFileException&) {
      raised = true;
    }
  }
  EXPECT_TRUE(raised);
  EXPECT_EQ(prefix.ReadFile("drive_c/a.ini"), "[A]\r\nx=1\r\n");
}

// ---- Profile lists through the Win32 form ---------------------------------------------

TEST(ProfileListTest, NullNamesListSectionsAndKeys) {
  TTempPrefix prefix({{"drive_c/p.ini", "[One]\r\na=1\r\nb=2\r\n[Two]\r\n"}});
  char buffer[32];
  DWORD n = GetPrivateProfileString(nullptr, nullptr, "", buffer, sizeof buffer, "C:\\p.ini");
  EXPECT_EQ(std::string(buffer, n + 1), std::string("One\0Two\0\0", 9));
  n = GetPrivateProfileString("one", nullptr, "", buffer, sizeof buffer, "C:\\p.ini");
  EXPECT_EQ(std::string(buffer, n + 1), std::string("a\0b\0\0", 5));
  n = GetPrivateProfileString(nullptr, nullptr, "", buffer, 5, "C:\\p.ini");
  EXPECT_EQ(n, 3u);  // truncated: size - 2
  EXPECT_EQ(GetPrivateProfileInt("One", "b", 9, "C:\\p.ini"), 2u);
  EXPECT_EQ(GetPrivateProfileInt("One", "c", 9, "C:\\p.ini"), 9u);
  EXPECT_TRUE(WritePrivateProfileString("Two", "c", "3", "C:\\p.ini"));
  EXPECT_TRUE(WritePrivateProfileString("One", nullptr, nullptr, "C:\\p.ini"));
  EXPECT_EQ(prefix.ReadFile("drive_c/p.ini"), "[Two]\r\nc=3\r\n");
}

}  // namespace
