#include "platform/win/Files.h"
#include "platform/win/Prefix.h"
#include "platform/win/TestPrefix.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <unistd.h>

namespace {

// ---- Windows paths onto the prefix ----------------------------------------------------

struct TMapping {
  const char* Name;
  const char* WinPath;
  const char* Expected;  // relative to the prefix; a leading "/" means an absolute path
  DWORD Error;           // when the path cannot be mapped
};

std::ostream& operator<<(std::ostream& os, const TMapping& c) { return os << c.Name << ": " << c.WinPath; }

// "乗" is 0x81 0x5C in GBK: its second byte is a backslash.
const TMapping Mappings[] = {
    {"ExactCase", "C:\\KVT\\Client\\StewardC.ini", "drive_c/KVT/Client/StewardC.ini", 0},
    {"MixedCaseAndSlashes", "c:/kvt/CLIENT/stewardc.INI", "drive_c/KVT/Client/StewardC.ini", 0},
    {"NewNamesAsGiven", "C:\\kvt\\Client\\New Folder\\New.ini", "drive_c/KVT/Client/New Folder/New.ini", 0},
    {"DotsResolved", "C:\\KVT\\..\\kvt\\.\\Client\\", "drive_c/KVT/Client", 0},
    {"SecondDrive", "D:\\DATA\\x.TXT", "drive_d/Data/x.txt", 0},
    {"Share", "\\\\server1\\SHARE\\Dir\\F.TXT", "unc/Server1/Share/dir/f.txt", 0},
    {"ShareRoot", "\\\\SERVER1\\share", "unc/Server1/Share", 0},
    {"ChineseNames", "C:\\数据\\报表.TXT", "drive_c/\xE6\x95\xB0\xE6\x8D\xAE/\xE6\x8A\xA5\xE8\xA1\xA8.txt", 0},
    {"TrailByteIsBackslash", "C:\\\x81\x5C\\a.txt", "drive_c/\xE4\xB9\x97/a.txt", 0},
    {"DriveZIsTheRoot", "Z:\\usr\\LIB", "/usr/lib", 0},
    {"UnknownDrive", "Q:\\x", nullptr, ERROR_PATH_NOT_FOUND},
    {"UnknownServer", "\\\\nosuch\\share\\x", nullptr, ERROR_BAD_NETPATH},
    {"UnknownShare", "\\\\server1\\none\\x", nullptr, ERROR_BAD_NETPATH},
    {"ForbiddenCharacter", "C:\\a|b\\c", nullptr, ERROR_INVALID_NAME},
    {"Wildcard", "C:\\KVT\\*.ini", nullptr, ERROR_INVALID_NAME},
};

class MappingTest : public testing::TestWithParam<TMapping> {
protected:
  MappingTest()
      : Prefix({{"drive_c/KVT/Client/StewardC.ini", "x"},
                {"drive_d/Data/x.txt", "d"},
                {"unc/Server1/Share/dir/f.txt", "u"},
                {"drive_c/\xE6\x95\xB0\xE6\x8D\xAE/\xE6\x8A\xA5\xE8\xA1\xA8.txt", "c"},
                {"drive_c/\xE4\xB9\x97/a.txt", "t"}}) {}
  TTempPrefix Prefix;
};

TEST_P(MappingTest, MapsOntoThePrefix) {
  const TMapping& c = GetParam();
  std::string unixPath;
  SetLastError(0);
  const bool ok = TryWinPathToUnix(c.WinPath, unixPath);
  if (!c.Expected) {
    EXPECT_FALSE(ok) << unixPath;
    EXPECT_EQ(GetLastError(), c.Error);
    EXPECT_THROW(WinPathToUnix(c.WinPath), EInOutError);
    return;
  }
  ASSERT_TRUE(ok) << GetLastError();
  const std::string expected = c.Expected[0] == '/' ? std::string(c.Expected) : Prefix.Path(c.Expected);
  EXPECT_EQ(unixPath, expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, MappingTest, testing::ValuesIn(Mappings),
                         [](const testing::TestParamInfo<TMapping>& i) { return std::string(i.param.Name); });

TEST(MappingResolveTest, GivesTheStoredSpelling) {
  TTempPrefix prefix({{"drive_c/KVT/Client/StewardC.ini", "x"}});
  AnsiString resolved;
  ASSERT_TRUE(TryResolveWinPath("c:\\kvt\\client\\STEWARDC.INI", resolved));
  EXPECT_EQ(resolved, "c:\\KVT\\Client\\StewardC.ini");
  ASSERT_TRUE(TryResolveWinPath("C:\\kvt\\new\\", resolved));
  EXPECT_EQ(resolved, "C:\\KVT\\new\\");
}

TEST(MappingRelativeTest, ResolvesAgainstTheCurrentDirectory) {
  TTempPrefix prefix({{"platform.ini", "[Platform]\nHostExe=C:\\Host\\Shell.exe\n"},
                      {"drive_c/Host/Shell.exe", ""},
                      {"drive_c/KVT/Client/a.ini", ""}});
  EXPECT_EQ(GetCurrentDir(), "C:\\Host");
  EXPECT_EQ(WinPathToUnix("Shell.exe"), prefix.Path("drive_c/Host/Shell.exe"));
  ASSERT_TRUE(SetCurrentDir("c:\\kvt"));
  EXPECT_EQ(WinPathToUnix("client\\A.INI"), prefix.Path("drive_c/KVT/Client/a.ini"));
  EXPECT_EQ(WinPathToUnix("\\Host"), prefix.Path("drive_c/Host"));
  EXPECT_FALSE(SetCurrentDir("C:\\NoSuchFolder"));
  EXPECT_EQ(GetCurrentDir(), "c:\\kvt");
}

TEST(MappingErrorTest, AMissingPrefixIsAnErrorNamingIt) {
  TTempPrefix prefix;
  const std::string missing = prefix.Path("gone");
  SetPrefix(missing);
  try {
    FileExists("C:\\x.ini");
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message.find(missing), std::string::npos) << e.Message;
  }
  SetPrefix("");
  EXPECT_THROW(FileExists("C:\\x.ini"), EInOutError);
  EXPECT_EQ(std::getenv("TAVO_PREFIX"), nullptr);
  EXPECT_EQ(GetACP(), 936u);  // the runtime still converts without a prefix
  SetPrefix(prefix.Dir());
  EXPECT_STREQ(std::getenv("TAVO_PREFIX"), prefix.Dir().c_str());
}

TEST(MappingErrorTest, TheTemporaryPrefixRestoresThePreviousOne) {
  TTempPrefix outer;
  std::string innerDir;
  {
    TTempPrefix inner;
    innerDir = inner.Dir();
    EXPECT_EQ(GetPrefixDir(), inner.Dir());
  }
  EXPECT_EQ(GetPrefixDir(), outer.Dir());
  EXPECT_FALSE(std::filesystem::exists(innerDir));
}

// ---- Linux paths back to Windows ------------------------------------------------------

struct TReverse {
  const char* Name;
  const char* Relative;  // inside the prefix; nullptr: Absolute is outside
  const char* Absolute;
  const char* Expected;
};

std::ostream& operator<<(std::ostream& os, const TReverse& c) { return os << c.Name; }

const TReverse Reverses[] = {
    {"Drive", "drive_c/KVT/Tavo61C.dll", nullptr, "C:\\KVT\\Tavo61C.dll"},
    {"DriveRoot", "drive_d", nullptr, "D:\\"},
    {"Share", "unc/Server1/Share/dir/f.txt", nullptr, "\\\\Server1\\Share\\dir\\f.txt"},
    {"Chinese", "drive_c/\xE6\x95\xB0\xE6\x8D\xAE/a.dll", nullptr, "C:\\数据\\a.dll"},
    {"Outside", nullptr, "/usr/lib/x.so", "Z:\\usr\\lib\\x.so"},
    {"OutsideNormalised", nullptr, "/usr/./lib/../lib/x.so", "Z:\\usr\\lib\\x.so"},
};

class ReverseMappingTest : public testing::TestWithParam<TReverse> {
protected:
  ReverseMappingTest() : Prefix({{"drive_d/.keep", ""}}) {}
  TTempPrefix Prefix;
};

TEST_P(ReverseMappingTest, GivesTheWindowsPath) {
  const TReverse& c = GetParam();
  const std::string path = c.Relative ? Prefix.Path(c.Relative) : std::string(c.Absolute);
  EXPECT_EQ(UnixPathToWin(path), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, ReverseMappingTest, testing::ValuesIn(Reverses),
                         [](const testing::TestParamInfo<TReverse>& i) { return std::string(i.param.Name); });

TEST(ReverseMappingDriveZTest, PathsOutsideNeedTheUnixForm) {
  TTempPrefix prefix({{"drive_z/.keep", ""}});
  EXPECT_EQ(UnixPathToWin("/usr/lib/x.so"), "\\\\?\\unix\\usr\\lib\\x.so");
  EXPECT_EQ(WinPathToUnix("\\\\?\\unix\\usr\\lib\\x.so"), "/usr/lib/x.so");
  EXPECT_EQ(WinPathToUnix("Z:\\x"), prefix.Path("drive_z/x"));
}

// ---- 8.3 names ------------------------------------------------------------------------

struct TShortName {
  const char* Long;
  int Ordinal;
  const char* Short;
};

std::ostream& operator<<(std::ostream& os, const TShortName& c) { return os << c.Long << " #" << c.Ordinal; }

const TShortName ShortNames[] = {
    {"Documents and Settings", 1, "DOCUME~1"},
    {"Local Settings", 1, "LOCALS~1"},
    {"Program Files (x86)", 2, "PROGRA~2"},
    {"longfilename.text", 1, "LONGFI~1.TEX"},
    {"my.file.name.txt", 1, "MYFILE~1.TXT"},
    {"readme.txt", 1, "README.TXT"},
    {"Temp", 1, "TEMP"},
    {"a+b c.txt", 1, "A_BC~1.TXT"},
};

TEST(ShortNameTest, FollowsTheFirstAliasRule) {
  TTempPrefix prefix;
  for (const TShortName& c : ShortNames) EXPECT_EQ(ShortNameOf(c.Long, c.Ordinal), c.Short) << c;
}

class LongPathTest : public testing::Test {
protected:
  LongPathTest()
      : Prefix({{"platform.ini", "[Platform]\r\nTempPath=C:\\DOCUME~1\\ADMINI~1\\LOCALS~1\\Temp\r\n"},
                {"drive_c/Documents and Settings/Administrator/Local Settings/Temp/.keep", ""},
                {"drive_c/Program Files/a.txt", ""},
                {"drive_c/Program Files (x86)/b.txt", ""}}) {}
  TTempPrefix Prefix;
};

TEST_F(LongPathTest, ExpandsTheShortTempPath) {
  const AnsiString temp = GetTempPath();
  EXPECT_EQ(temp, "C:\\DOCUME~1\\ADMINI~1\\LOCALS~1\\Temp\\");
  const AnsiString expected = "C:\\Documents and Settings\\Administrator\\Local Settings\\Temp\\";
  EXPECT_EQ(GetLongPathName(temp), expected);
  char buffer[MAX_PATH];
  EXPECT_EQ(GetLongPathName(temp.c_str(), buffer, MAX_PATH), expected.size());
  EXPECT_STREQ(buffer, expected.c_str());
  SetLastError(0);
  EXPECT_EQ(GetLongPathName(temp.c_str(), buffer, 10), expected.size() + 1);  // the size needed
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST_F(LongPathTest, NumbersAliasesSharingTheirStart) {
  EXPECT_EQ(GetLongPathName("c:\\progra~1\\A.TXT"), "c:\\Program Files\\a.txt");
  EXPECT_EQ(GetLongPathName("C:\\PROGRA~2\\b.txt"), "C:\\Program Files (x86)\\b.txt");
}

TEST_F(LongPathTest, AMissingPathFails) {
  char buffer[MAX_PATH];
  SetLastError(0);
  EXPECT_EQ(GetLongPathName("C:\\PROGRA~3\\x.txt", buffer, MAX_PATH), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetLongPathName("C:\\PROGRA~3"), "");
}

TEST(TempPathTest, IsCreatedInThePrefixWhenMissing) {
  TTempPrefix prefix({{"platform.ini", "[Platform]\nTempPath=C:\\Windows\\Temp\n"}});
  EXPECT_EQ(GetTempPath(), "C:\\Windows\\Temp\\");
  EXPECT_TRUE(std::filesystem::is_directory(prefix.Path("drive_c/Windows/Temp")));
  char small[4];
  EXPECT_EQ(GetTempPath(sizeof small, small), 17u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

// ---- User and computer names ----------------------------------------------------------

struct TComputerName {
  const char* Configured;
  const char* Expected;
};

std::ostream& operator<<(std::ostream& os, const TComputerName& c) { return os << c.Configured; }

const TComputerName ComputerNames[] = {
    {"pc1", "PC1"},
    {"workstation-number-twelve", "WORKSTATION-NUM"},
    {"Exactly15Chars!", "EXACTLY15CHARS!"},
    {"财务部电脑一号机房服务器甲乙丙", "财务部电脑一号机房服务器甲乙丙"},
    {"财务部电脑一号机房服务器甲乙丙丁戊", "财务部电脑一号机房服务器甲乙丙"},
};

class ComputerNameTest : public testing::TestWithParam<TComputerName> {};

TEST_P(ComputerNameTest, IsUpperCaseAndAtMost15Characters) {
  TTempPrefix prefix({{"platform.ini", std::string("[Platform]\nComputerName=") + GetParam().Configured + "\n"}});
  EXPECT_EQ(GetComputerName(), GetParam().Expected);
  char buffer[MAX_COMPUTERNAME_LENGTH * 2 + 1];
  DWORD size = sizeof buffer;
  ASSERT_TRUE(GetComputerName(buffer, &size));
  EXPECT_EQ(size, std::string(GetParam().Expected).size());
}

INSTANTIATE_TEST_SUITE_P(Names, ComputerNameTest, testing::ValuesIn(ComputerNames));

TEST(UserNameTest, ComesFromThePrefixWithWin32Sizes) {
  TTempPrefix prefix({{"platform.ini", "[Platform]\nUserName=Zhang San\nComputerName=acct-01\n"}});
  EXPECT_EQ(GetUserName(), "Zhang San");
  char buffer[32];
  DWORD size = 4;
  EXPECT_FALSE(GetUserName(buffer, &size));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(size, 10u);
  size = sizeof buffer;
  ASSERT_TRUE(GetUserName(buffer, &size));
  EXPECT_EQ(size, 10u);  // with the terminating zero
  EXPECT_STREQ(buffer, "Zhang San");

  size = 3;
  EXPECT_FALSE(GetComputerName(buffer, &size));
  EXPECT_EQ(GetLastError(), ERROR_BUFFER_OVERFLOW);
  EXPECT_EQ(size, 8u);
}

TEST(TickCountTest, CountsMilliseconds) {
  const DWORD first = GetTickCount();
  ::usleep(30000);
  const DWORD elapsed = GetTickCount() - first;
  EXPECT_GE(elapsed, 29u);
  EXPECT_LT(elapsed, 30000u);
}

}  // namespace
