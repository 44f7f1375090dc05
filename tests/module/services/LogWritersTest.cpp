#include "module/services/LogWriters.h"

#include "platform/win/Prefix.h"
#include "tests/module/services/LogFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

const TInstallation ClientInstallation{"C:\\KVT\\Client", "C:\\KVT\\Server"};

// ---- File names by period -----------------------------------------------------------

struct TFileNameCase {
  const char* Label;
  const char* Name;
  const char* Period;
  const char* File;  // in drive_c/KVT/Client/Log
};

std::ostream& operator<<(std::ostream& os, const TFileNameCase& c) {
  return os << c.Name << " period '" << c.Period << "'";
}

const TFileNameCase FileNameCases[] = {
    {"Daily", "libstrs", "D", "Alert_libstrs_20240305.log"},
    {"Monthly", "libstrs", "M", "Alert_libstrs_202403.log"},
    {"Yearly", "libstrs", "Y", "Alert_libstrs_2024.log"},
    {"LowerCaseIsDaily", "libstrs", "d", "Alert_libstrs_20240305.log"},
    {"LowerCaseMonthIsDaily", "libstrs", "m", "Alert_libstrs_20240305.log"},
    {"EmptyIsDaily", "libstrs", "", "Alert_libstrs_20240305.log"},
    {"NameWithDotGetsNoExtension", "trace.txt", "M", "Alert_trace.txt_202403"},
};

class AlertLogFileName : public testing::TestWithParam<TFileNameCase> {};

TEST_P(AlertLogFileName, FollowsNameAndPeriod) {
  const TFileNameCase& c = GetParam();
  TTempPrefix prefix(InstallationFiles(ClientInstallation));
  TPinnedClock clock(PinnedMoment());
  ASSERT_TRUE(WriteAlertLog(c.Name, "entry", c.Period));
  EXPECT_EQ(prefix.ReadFile(std::string("drive_c/KVT/Client/Log/") + c.File),
            "[2024/03/05 14:07:09:045] entry\r\n");
}

INSTANTIATE_TEST_SUITE_P(Periods, AlertLogFileName, testing::ValuesIn(FileNameCases),
                         [](const auto& info) { return std::string(info.param.Label); });

// ---- Lines ----------------------------------------------------------------------------

TEST(AlertLogLine, AppendsOneLinePerCallWithTheSystemSeparators) {
  TTempPrefix prefix(InstallationFiles(ClientInstallation));
  TPinnedClock clock(PinnedMoment());
  ASSERT_TRUE(WriteAlertLog("libstrs", "first", "D"));
  DateSeparator = '-';
  TimeSeparator = '.';
  ASSERT_TRUE(WriteAlertLog("libstrs", "second 100% %s", "D"));
  EXPECT_EQ(prefix.ReadFile("drive_c/KVT/Client/Log/Alert_libstrs_20240305.log"),
            "[2024/03/05 14:07:09:045] first\r\n"
            "[2024-03-05 14.07.09.045] second 100% %s\r\n");
}

TEST(AlertLogLine, KeepsWhatTheFileAlreadyHolds) {
  TTempPrefix prefix(InstallationFiles(ClientInstallation));
  prefix.WriteFile("drive_c/KVT/Client/Log/Alert_libstrs_20240305.log", "older line\r\n");
  TPinnedClock clock(PinnedMoment());
  ASSERT_TRUE(WriteAlertLog("libstrs", "newer", "D"));
  EXPECT_EQ(prefix.ReadFile("drive_c/KVT/Client/Log/Alert_libstrs_20240305.log"),
            "older line\r\n[2024/03/05 14:07:09:045] newer\r\n");
}

// ---- Folders --------------------------------------------------------------------------

struct TFolderCase {
  const char* Label;
  TInstallation Setup;
  const char* AlertFolder;      // prefix-relative
  const char* ExceptionFolder;  // prefix-relative
};

std::ostream& operator<<(std::ostream& os, const TFolderCase& c) { return os << c.Label; }

const TFolderCase FolderCases[] = {
    {"ClientPathFirst", {"C:\\KVT\\Client", "C:\\KVT\\Server"}, "drive_c/KVT/Client/Log",
     "drive_c/KVT/Client/Log"},
    {"ServerPathWithoutClientPath", {"", "D:\\KVT\\Server"}, "drive_d/KVT/Server/Log",
     "drive_d/KVT/Server/Log"},
    {"TrailingBackslashKept", {"C:\\KVT\\Client\\", ""}, "drive_c/KVT/Client/Log",
     "drive_c/KVT/Client/Log"},
    {"NeitherPath", {"", ""}, "drive_c/Host/Log", "drive_c/Tmp/Log"},
    {"NoKey", {"", "", false}, "drive_c/Host/Log", "drive_c/Tmp/Log"},
};

class LogFolder : public testing::TestWithParam<TFolderCase> {};

TEST_P(LogFolder, FollowsTheInstallation) {
  const TFolderCase& c = GetParam();
  auto files = InstallationFiles(c.Setup);
  files["drive_d/.keep"] = "";
  TTempPrefix prefix(files);
  TPinnedClock clock(PinnedMoment());
  ASSERT_TRUE(WriteAlertLog("libstrs", "alert", "D"));
  ASSERT_TRUE(WriteExceptionLine("report"));
  EXPECT_TRUE(prefix.Exists(std::string(c.AlertFolder) + "/Alert_libstrs_20240305.log"));
  EXPECT_TRUE(prefix.Exists(std::string(c.ExceptionFolder) + "/Alert_Quillmark_20240305.log"));
}

INSTANTIATE_TEST_SUITE_P(Installations, LogFolder, testing::ValuesIn(FolderCases),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(DownloadLog, WritesBesideTheHostEvenWithAnInstallationPath) {
  TTempPrefix prefix(InstallationFiles(ClientInstallation));
  TPinnedClock clock(PinnedMoment());
  ASSERT_TRUE(WriteDownloadLog("KVDownLoadNewFileU", "no file list", "D"));
  EXPECT_EQ(prefix.ReadFile("drive_c/Host/Log/Alert_KVDownLoadNewFileU_20240305.log"),
            "[2024/03/05 14:07:09:045] no file list\r\n");
  EXPECT_FALSE(prefix.Exists("drive_c/KVT/Client/Log"));
}

TEST(LogFailure, AFolderThatCannotBeMadeGivesFalse) {
  TTempPrefix prefix(InstallationFiles(ClientInstallation));
  prefix.WriteFile("drive_c/KVT/Client/Log", "a file where the folder belongs");
  TPinnedClock clock(PinnedMoment());
  EXPECT_FALSE(WriteAlertLog("libstrs", "lost", "D"));
  EXPECT_FALSE(WriteExceptionLine("lost"));
  EXPECT_EQ(prefix.ReadFile("drive_c/KVT/Client/Log"), "a file where the folder belongs");
}

TEST(LogFailure, ANameWithAFolderIsRefused) {
  TTempPrefix prefix(InstallationFiles(ClientInstallation));
  TPinnedClock clock(PinnedMoment());
  EXPECT_FALSE(WriteAlertLog("..\\..\\escape", "x", "D"));
  EXPECT_FALSE(WriteDownloadLog("sub/name", "x", "D"));
  EXPECT_FALSE(prefix.Exists("drive_c/KVT/Client/Log"));
  EXPECT_FALSE(prefix.Exists("drive_c/Host/Log"));
}

// ---- Exception reports ----------------------------------------------------------------

const std::string Rule = "----------------------------------";

struct TReportCase {
  const char* Label;
  std::unique_ptr<Exception> (*Make)();
  const char* Routine;
  const char* Note;
  std::vector<std::string> Lines;
};

std::ostream& operator<<(std::ostream& os, const TReportCase& c) { return os << c.Label; }

const TReportCase ReportCases[] = {
    {"PlainExceptionMessageTakenLiterally",
     +[]() -> std::unique_ptr<Exception> {
       return std::make_unique<EConvertError>("Rate 100% of %s %d");
     },
     "Calc", "check the rates",
     {Rule + " on Calc " + Rule, "讯息信息:",
      "Exception is EConvertError\r\nMessage 01: Rate 100% of %s %d", "ErrorMessage Count: 1",
      "Programer Message: check the rates"}},
    {"DatabaseErrorsOneLineEach",
     +[]() -> std::unique_ptr<Exception> {
       return std::make_unique<EDBEngineError>(
           "Key violation.", std::vector<TDBError>{{13059, "Key violation."}, {9729, "100% full"}});
     },
     "", "",
     {Rule + Rule, "讯息信息:", "EDBEngineError Error 01: Code: 13059, Message: Key violation.",
      "EDBEngineError Error 02: Code: 9729, Message: 100% full", "ErrorMessage Count: 2"}},
    {"DatabaseErrorWithoutEntries",
     +[]() -> std::unique_ptr<Exception> {
       return std::make_unique<EDBEngineError>("General SQL error.", std::vector<TDBError>{});
     },
     "Open", "",
     {Rule + " on Open " + Rule, "讯息信息:", "ErrorMessage Count: 0"}},
    {"WindowsError",
     +[]() -> std::unique_ptr<Exception> {
       return std::make_unique<EWin32Error>("Access is denied.", 5u);
     },
     "Save", "",
     {Rule + " on Save " + Rule, "讯息信息:", "EWin32Error Error 01: Code: 5, Message: Access is denied.",
      "ErrorMessage Count: 1"}},
    {"InputOutputError",
     +[]() -> std::unique_ptr<Exception> {
       return std::make_unique<EInOutError>("File not found", 2);
     },
     "Read", "",
     {Rule + " on Read " + Rule, "讯息信息:", "EInOutError Error 01: Code: 2, Message: File not found",
      "ErrorMessage Count: 1"}},
    {"NoExceptionAndBlankNote", +[]() -> std::unique_ptr<Exception> { return nullptr; }, "Start",
     "   ", {Rule + " on Start " + Rule}},
    {"BlankRoutineNamesNothing", +[]() -> std::unique_ptr<Exception> { return nullptr; }, "  ",
     "note", {Rule + Rule, "Programer Message: note"}},
};

class ExceptionReport : public testing::TestWithParam<TReportCase> {};

TEST_P(ExceptionReport, WritesItsLinesToTheDailyReport) {
  const TReportCase& c = GetParam();
  TTempPrefix prefix(InstallationFiles(ClientInstallation));
  TPinnedClock clock(PinnedMoment());
  const std::unique_ptr<Exception> e = c.Make();
  LogException(e.get(), c.Routine, c.Note);
  std::string expected;
  for (const std::string& line : c.Lines) expected += "[2024/3/5 14:07:09] " + line + "\r\n";
  EXPECT_EQ(prefix.ReadFile("drive_c/KVT/Client/Log/Alert_Quillmark_20240305.log"), expected);
}

INSTANTIATE_TEST_SUITE_P(Exceptions, ExceptionReport, testing::ValuesIn(ReportCases),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(ExceptionReport, NeverRaisesWithoutAPrefix) {
  TTempPrefix prefix(InstallationFiles(ClientInstallation));
  SetPrefix("");
  const EConvertError e("lost");
  EXPECT_NO_THROW(LogException(&e, "Routine", "note"));
  EXPECT_FALSE(WriteExceptionLine("lost"));
  EXPECT_FALSE(WriteAlertLog("libstrs", "lost", "D"));
}

}  // namespace
