#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Files.h"
#include "platform/win/TestPrefix.h"
#include "tests/platform/win/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <vector>

namespace {

// ---- Expanding names ------------------------------------------------------------------

struct TExpand {
  const char* Name;
  const char* Input;
  const char* Expected;
};

std::ostream& operator<<(std::ostream& os, const TExpand& c) { return os << c.Name << ": " << c.Input; }

const TExpand Expansions[] = {
    {"Absolute", "C:\\KVT\\Client\\x.ini", "C:\\KVT\\Client\\x.ini"},
    {"DotsAndSlashes", "C:/KVT/./Log/../Client//x.ini", "C:\\KVT\\Client\\x.ini"},
    {"TrailingBackslashKept", "C:\\KVT\\Client\\", "C:\\KVT\\Client\\"},
    {"DotDotStopsAtTheRoot", "C:\\..\\..\\x", "C:\\x"},
    {"Relative", "Log\\a.log", "C:\\KVT\\Log\\a.log"},
    {"ParentOfCurrent", "..\\Other", "C:\\Other"},
    {"RootOfCurrentDrive", "\\Windows", "C:\\Windows"},
    {"DriveRelativeSameDrive", "c:Log", "C:\\KVT\\Log"},
    {"DriveAloneIsItsCurrentFolder", "c:", "C:\\KVT"},
    {"DriveRelativeOtherDrive", "D:data", "D:\\data"},
    {"Share", "\\\\srv\\sh\\a\\..\\b", "\\\\srv\\sh\\b"},
    {"DoubleByteTrailBackslash", "C:\\\x81\x5C\\x", "C:\\\x81\x5C\\x"},
};

class ExpandFileNameTest : public testing::TestWithParam<TExpand> {
protected:
  ExpandFileNameTest() : Prefix({{"drive_c/KVT/Log/.keep", ""}}) { SetCurrentDir("C:\\KVT"); }
  TTempPrefix Prefix;
};

TEST_P(ExpandFileNameTest, GivesTheFullPath) { EXPECT_EQ(ExpandFileName(GetParam().Input), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(Names, ExpandFileNameTest, testing::ValuesIn(Expansions),
                         [](const testing::TestParamInfo<TExpand>& i) { return std::string(i.param.Name); });

// ---- Files and folders ----------------------------------------------------------------

class FileFunctionsTest : public testing::Test {
protected:
  FileFunctionsTest()
      : Prefix({{"drive_c/KVT/Client/StewardC.ini", "[Server]\r\n"},
                {"drive_c/KVT/Client/Sub/keep.txt", "k"},
                {"unc/Server/Share/report.txt", "r"}}) {}
  TTempPrefix Prefix;
};

TEST_F(FileFunctionsTest, ExistenceIgnoresCase) {
  EXPECT_TRUE(FileExists("c:\\kvt\\CLIENT\\stewardc.ini"));
  EXPECT_FALSE(FileExists("C:\\KVT\\Client"));
  EXPECT_TRUE(DirectoryExists("C:\\kvt\\client\\"));
  EXPECT_TRUE(DirectoryExists("C:\\"));
  EXPECT_FALSE(DirectoryExists("C:\\KVT\\Client\\StewardC.ini"));
  EXPECT_TRUE(FileExists("\\\\SERVER\\share\\Report.TXT"));
  SetLastError(0);
  EXPECT_FALSE(FileExists("C:\\KVT\\Nowhere\\x.ini"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(FileExists("C:\\KVT\\Client\\none.ini"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(FileExists("Q:\\x"));
  EXPECT_FALSE(FileExists(""));
}

TEST_F(FileFunctionsTest, FoldersAreCreatedAndRemoved) {
  SetLastError(0);
  EXPECT_FALSE(CreateDir("C:\\KVT\\Missing\\Deeper"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(ForceDirectories("c:\\kvt\\log\\2024\\05\\"));
  EXPECT_TRUE(std::filesystem::is_directory(Prefix.Path("drive_c/KVT/log/2024/05")));
  EXPECT_TRUE(ForceDirectories("C:\\KVT\\Log\\2024"));  // already there
  EXPECT_FALSE(ForceDirectories("Q:\\x\\y"));
  EXPECT_FALSE(CreateDir("C:\\KVT\\CLIENT"));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);

  EXPECT_FALSE(RemoveDir("C:\\KVT\\Client\\Sub"));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_TRUE(DeleteFile("C:\\KVT\\Client\\SUB\\KEEP.TXT"));
  EXPECT_TRUE(RemoveDir("C:\\KVT\\Client\\Sub"));
  EXPECT_FALSE(DirectoryExists("C:\\KVT\\Client\\Sub"));
  EXPECT_FALSE(DeleteFile("C:\\KVT\\Client"));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(DeleteFile("C:\\KVT\\Client\\gone.txt"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileFunctionsTest, BytesAreReadWrittenAndAppended) {
  AnsiString content;
  ASSERT_TRUE(ReadFileBytes("C:\\kvt\\client\\STEWARDC.INI", content));
  EXPECT_EQ(content, "[Server]\r\n");

  const AnsiString bytes("GB \xBB\xF9\x00\xFF end", 10);
  ASSERT_TRUE(WriteFileBytes("C:\\KVT\\Client\\数据.bin", bytes));
  EXPECT_EQ(Prefix.ReadFile("drive_c/KVT/Client/\xE6\x95\xB0\xE6\x8D\xAE.bin"), bytes);
  ASSERT_TRUE(ReadFileBytes("c:\\KVT\\CLIENT\\数据.BIN", content));
  EXPECT_EQ(content, bytes);

  ASSERT_TRUE(WriteFileBytes("C:\\KVT\\Client\\StewardC.ini", "new"));
  EXPECT_EQ(Prefix.ReadFile("drive_c/KVT/Client/StewardC.ini"), "new");

  ASSERT_TRUE(AppendFileBytes("C:\\KVT\\Client\\a.log", "one\r\n"));
  ASSERT_TRUE(AppendFileBytes("C:\\KVT\\CLIENT\\A.LOG", "two\r\n"));
  EXPECT_EQ(Prefix.ReadFile("drive_c/KVT/Client/a.log"), "one\r\ntwo\r\n");

  SetLastError(0);
  EXPECT_FALSE(ReadFileBytes("C:\\KVT\\Client\\none.txt", content));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(WriteFileBytes("C:\\KVT\\NoFolder\\x.txt", "x"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(ReadFileBytes("C:\\KVT\\Client", content));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

  // Nothing is left behind by the replacing writes.
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(Prefix.Path("drive_c/KVT/Client")))
    names.push_back(e.path().filename().string());
  EXPECT_EQ(names.size(), 4u);
}

TEST_F(FileFunctionsTest, AFailedWriteKeepsTheOldContent) {
  bool written = true;
  {
    const TFileSizeLimit limit(64);
    written = WriteFileBytes("C:\\KVT\\Client\\StewardC.ini", std::string(1000, 'x'));
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(Prefix.ReadFile("drive_c/KVT/Client/StewardC.ini"), "[Server]\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Prefix.Path("drive_c/KVT/Client")),
                          std::filesystem::directory_iterator()),
            2);
}

TEST_F(FileFunctionsTest, RenameNeverReplaces) {
  ASSERT_TRUE(WriteFileBytes("C:\\KVT\\Client\\b.txt", "b"));
  SetLastError(0);
  EXPECT_FALSE(RenameFile("C:\\KVT\\Client\\b.txt", "C:\\KVT\\Client\\STEWARDC.INI"));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(Prefix.ReadFile("drive_c/KVT/Client/StewardC.ini"), "[Server]\r\n");
  EXPECT_TRUE(RenameFile("C:\\KVT\\Client\\B.TXT", "C:\\KVT\\Client\\Sub\\c.txt"));
  EXPECT_EQ(Prefix.ReadFile("drive_c/KVT/Client/Sub/c.txt"), "b");
  // A change of case only gives the file its new spelling.
  EXPECT_TRUE(RenameFile("C:\\KVT\\Client\\Sub\\c.txt", "C:\\KVT\\Client\\Sub\\C.TXT"));
  EXPECT_TRUE(Prefix.Exists("drive_c/KVT/Client/Sub/C.TXT"));
  EXPECT_FALSE(Prefix.Exists("drive_c/KVT/Client/Sub/c.txt"));
  EXPECT_FALSE(RenameFile("C:\\KVT\\Client\\none.txt", "C:\\KVT\\Client\\x.txt"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileFunctionsTest, CopyKeepsContentAndDate) {
  ASSERT_EQ(FileSetDate("C:\\KVT\\Client\\StewardC.ini", DateTimeToFileDate(EncodeDateTime(2020, 2, 29, 13, 45, 10, 0))), 0);
  EXPECT_TRUE(CopyFile("C:\\kvt\\client\\stewardc.ini", "\\\\server\\share\\copy.ini", TRUE));
  EXPECT_EQ(Prefix.ReadFile("unc/Server/Share/copy.ini"), "[Server]\r\n");
  EXPECT_EQ(FileAge("\\\\server\\share\\copy.ini"), FileAge("C:\\KVT\\Client\\StewardC.ini"));
  ASSERT_TRUE(WriteFileBytes("\\\\server\\share\\copy.ini", "changed"));
  SetLastError(0);
  EXPECT_FALSE(CopyFile("C:\\KVT\\Client\\StewardC.ini", "\\\\server\\share\\COPY.INI", TRUE));
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
  EXPECT_EQ(Prefix.ReadFile("unc/Server/Share/copy.ini"), "changed");
  EXPECT_TRUE(CopyFile("C:\\KVT\\Client\\StewardC.ini", "\\\\server\\share\\COPY.INI", FALSE));
  EXPECT_EQ(Prefix.ReadFile("unc/Server/Share/copy.ini"), "[Server]\r\n");
  EXPECT_FALSE(CopyFile("C:\\KVT\\Client\\none.ini", "C:\\KVT\\x.ini", FALSE));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

// ---- File dates -----------------------------------------------------------------------

struct TFileDate {
  const char* Name;
  int Year, Month, Day, Hour, Min, Sec;
  int DosDate;
};

std::ostream& operator<<(std::ostream& os, const TFileDate& c) { return os << c.Name; }

const TFileDate FileDates[] = {
    {"FirstDosDay", 1980, 1, 1, 0, 0, 0, 0x00210000},
    {"LeapDay", 2020, 2, 29, 13, 45, 10, 0x505D6DA5},
    {"LastSecondRoundsDown", 2023, 12, 31, 23, 59, 59, 0x579FBF7D},
};

class FileDateTest : public testing::TestWithParam<TFileDate> {
protected:
  FileDateTest() : Prefix({{"drive_c/a.txt", "a"}}) {}
  TTempPrefix Prefix;
};

TEST_P(FileDateTest, DosDatesConvertAndStick) {
  const TFileDate& c = GetParam();
  const TDateTime when = EncodeDateTime(c.Year, c.Month, c.Day, c.Hour, c.Min, c.Sec, 0);
  EXPECT_EQ(DateTimeToFileDate(when), c.DosDate);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", FileDateToDateTime(c.DosDate)),
            FormatDateTime("yyyy-mm-dd hh:nn:ss", EncodeDateTime(c.Year, c.Month, c.Day, c.Hour, c.Min, c.Sec / 2 * 2, 0)));
  ASSERT_EQ(FileSetDate("C:\\A.TXT", c.DosDate), 0);
  EXPECT_EQ(FileAge("c:\\a.txt"), c.DosDate);
}

INSTANTIATE_TEST_SUITE_P(Dates, FileDateTest, testing::ValuesIn(FileDates),
                         [](const testing::TestParamInfo<TFileDate>& i) { return std::string(i.param.Name); });

TEST(FileDateEdgeTest, MillisecondsAndErrors) {
  TTempPrefix prefix({{"drive_c/a.txt", "a"}});
  const TDateTime when = EncodeDateTime(2024, 5, 6, 10, 30, 15, 250);
  ASSERT_TRUE(FileSetDateTime("C:\\a.txt", when));
  TDateTime read = 0;
  ASSERT_TRUE(FileAge("C:\\A.txt", read));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", read), "2024-05-06 10:30:15.250");
  EXPECT_EQ(FileAge("C:\\none.txt"), -1);
  EXPECT_FALSE(FileAge("C:\\none.txt", read));
  EXPECT_EQ(FileSetDate("C:\\none.txt", 0x00210000), static_cast<int>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FileSetDate("C:\\a.txt", 0x00000000), static_cast<int>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(DateTimeToFileDate(EncodeDate(1979, 12, 31)), 0);
  EXPECT_THROW(FileDateToDateTime(-1), EConvertError);
}

// ---- Listing folders ------------------------------------------------------------------

struct TListing {
  const char* Name;
  const char* Path;
  int Attr;
  const char* Expected;  // names joined by "|"; "" when nothing is found
  int Result;            // of FindFirst
};

std::ostream& operator<<(std::ostream& os, const TListing& c) { return os << c.Name << ": " << c.Path; }

const TListing Listings[] = {
    {"AllFiles", "C:\\Data\\*.*", faAnyFile & ~faDirectory & ~faHidden, "a.INI|b.ini|c.txt|noext|x1.txt|数据.txt", 0},
    {"WithFolders", "C:\\Data\\*", faDirectory, ".|..|a.INI|b.ini|c.txt|noext|Sub|x1.txt|数据.txt", 0},
    {"Hidden", "C:\\data\\*", faHidden, ".hidden|a.INI|b.ini|c.txt|noext|x1.txt|数据.txt", 0},
    {"ExtensionIgnoresCase", "C:\\DATA\\*.ini", faAnyFile, "a.INI|b.ini", 0},
    {"QuestionMark", "C:\\Data\\?.txt", faAnyFile, "c.txt", 0},
    {"QuestionMarkIsOneCharacter", "C:\\Data\\??.txt", faAnyFile, "x1.txt|数据.txt", 0},
    {"NoExtension", "C:\\Data\\*.", faAnyFile, "noext|Sub", 0},
    {"StarDotStarMatchesNoExtension", "C:\\Data\\noext.*", faAnyFile, "noext", 0},
    {"OneFile", "c:\\data\\B.INI", 0, "b.ini", 0},
    {"Chinese", "C:\\Data\\数*", 0, "数据.txt", 0},
    {"DriveRootHasNoDots", "C:\\*", faDirectory, "Data", 0},
    {"NothingMatches", "C:\\Data\\*.doc", faAnyFile, "", static_cast<int>(ERROR_FILE_NOT_FOUND)},
    {"NoSuchFolder", "C:\\Nowhere\\*", faAnyFile, "", static_cast<int>(ERROR_PATH_NOT_FOUND)},
};

class FindFirstTest : public testing::TestWithParam<TListing> {
protected:
  FindFirstTest()
      : Prefix({{"drive_c/Data/b.ini", "bb"},
                {"drive_c/Data/a.INI", "a"},
                {"drive_c/Data/c.txt", "ccc"},
                {"drive_c/Data/x1.txt", ""},
                {"drive_c/Data/noext", ""},
                {"drive_c/Data/.hidden", ""},
                {"drive_c/Data/\xE6\x95\xB0\xE6\x8D\xAE.txt", ""},
                {"drive_c/Data/Sub/inner.txt", ""}}) {}
  TTempPrefix Prefix;
};

TEST_P(FindFirstTest, ListsMatchingEntriesInNameOrder) {
  const TListing& c = GetParam();
  TSearchRec sr;
  std::string names;
  int r = FindFirst(c.Path, c.Attr, sr);
  EXPECT_EQ(r, c.Result);
  while (r == 0) {
    if (!names.empty()) names += "|";
    names += sr.Name;
    r = FindNext(sr);
  }
  FindClose(sr);
  if (c.Result == 0) {
    EXPECT_EQ(r, static_cast<int>(ERROR_NO_MORE_FILES));
  }
  EXPECT_EQ(names, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Masks, FindFirstTest, testing::ValuesIn(Listings),
                         [](const testing::TestParamInfo<TListing>& i) { return std::string(i.param.Name); });

TEST(FindFirstRecordTest, CarriesSizeAttributesAndDate) {
  TTempPrefix prefix({{"drive_c/Data/c.txt", "ccc"}, {"drive_c/Data/Sub/x", ""}});
  ASSERT_EQ(FileSetDate("C:\\Data\\c.txt", 0x505D6DA5), 0);
  TSearchRec sr;
  ASSERT_EQ(FindFirst("C:\\Data\\*", faDirectory, sr), 0);
  EXPECT_EQ(sr.Name, ".");
  EXPECT_TRUE(sr.Attr & faDirectory);
  ASSERT_EQ(FindNext(sr), 0);
  ASSERT_EQ(FindNext(sr), 0);
  EXPECT_EQ(sr.Name, "c.txt");
  EXPECT_EQ(sr.Size, 3);
  EXPECT_EQ(sr.Attr, faArchive);
  EXPECT_EQ(sr.Time, 0x505D6DA5);
  ASSERT_EQ(FindNext(sr), 0);
  EXPECT_EQ(sr.Name, "Sub");
  EXPECT_EQ(sr.Attr, faDirectory);
  FindClose(sr);
  EXPECT_EQ(FindNext(sr), static_cast<int>(ERROR_NO_MORE_FILES));
}

}  // namespace
