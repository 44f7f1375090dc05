#include "module/services/StewardINI.h"

#include "module/services/SQLSa.h"
#include "platform/rtl/Classes.h"
#include "platform/win/Prefix.h"
#include "platform/win/TestPrefix.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>

namespace {

using TFiles = std::map<std::string, std::string>;

const std::string RegFile = "system.reg";
const std::string PlatformFile = "platform.ini";
const std::string ClientIni = "drive_c/KVT/Client/StewardC.ini";
const std::string ServerIni = "drive_c/KVT/Server/StewardS.ini";

// The installation key with the given REGEDIT4 value lines.
std::string Reg(const std::string& values) {
  return "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward]\r\n" + values + "\r\n";
}

const std::string SharedInstallation = Reg(
    "\"ClientPath\"=\"C:\\\\KVT\\\\Client\\\\\"\r\n"
    "\"ServerPath\"=\"C:\\\\KVT\\\\Server\\\\\"\r\n"
    "\"ProfileType\"=\"0\"");

const std::string PerUserInstallation = Reg(
    "\"ClientPath\"=\"C:\\\\KVT\\\\Client\"\r\n"
    "\"ServerPath\"=\"C:\\\\KVT\\\\Server\"\r\n"
    "\"ProfileType\"=\"1\"");

std::string Platform(int acp) {
  return "[Platform]\r\nACP=" + std::to_string(acp) + "\r\nUserName=wang\r\n";
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

std::string Joined(const TStrings& list) {
  std::string text;
  for (int i = 0; i < list.Count(); ++i) text += (i ? "|" : "") + list[i];
  return text;
}

// ---- The client -----------------------------------------------------------------------

struct TClientCase {
  const char* Label;
  TFiles Files;
  bool Loaded;
  const char* ErrorCode;
  const char* ServerList;  // VarToLiteral
  const char* ProfileType;
  const char* ProfilePath;
  const char* UserName;
  const char* IniFileName;
  const char* CodePages;  // system/interface/database
  int UIConvertMode;
  int DBConvertMode;
  const char* WorkDLLPaths;  // lines joined by "|"
};

std::ostream& operator<<(std::ostream& os, const TClientCase& c) { return os << c.Label; }

const char* const LocalServer = "[0..1, 0..0: ('127.0.0.1'), (211)]";
const char* const SharedIni = "C:\\KVT\\Client\\StewardC.ini";
const char* const ClientPackages = "C:\\KVT\\Client\\C_PKG\\";

const TClientCase ClientCases[] = {
    {"NoServerInformationSection",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)},
      {ClientIni, Lines({"[Client Components]", "LangType=CHS"})}},
     true, "", LocalServer, "0", "C:\\KVT\\Client\\", "Default", SharedIni, "936/936/936", 0, 0,
     ClientPackages},
    {"MissingIniFileGivesDefaults",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)}},
     true, "", LocalServer, "0", "C:\\KVT\\Client\\", "Default", SharedIni, "936/936/936", 0, 0,
     ClientPackages},
    {"TwoServersWithTrailingSemicolon",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)},
      {ClientIni,
       Lines({"[Server Information]", "ComputerName= 10.1.1.5;10.1.1.6; ", "ServerPort=212"})}},
     true, "", "[0..1, 0..1: ('10.1.1.5', '10.1.1.6'), (212, 212)]", "0", "C:\\KVT\\Client\\",
     "Default", SharedIni, "936/936/936", 0, 0, ClientPackages},
    {"EmptyEntryKeepsItsPlace",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)},
      {ClientIni, Lines({"[Server Information]", "ComputerName=kvtap1;;kvtap3"})}},
     true, "", "[0..1, 0..2: ('kvtap1', '', 'kvtap3'), (211, 211, 211)]", "0",
     "C:\\KVT\\Client\\", "Default", SharedIni, "936/936/936", 0, 0, ClientPackages},
    {"PortThatIsNoNumberIsTheDefault",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)},
      {ClientIni, Lines({"[Server Information]", "ComputerName=kvtap1", "ServerPort=21x"})}},
     true, "", "[0..1, 0..0: ('kvtap1'), (211)]", "0", "C:\\KVT\\Client\\", "Default",
     SharedIni, "936/936/936", 0, 0, ClientPackages},
    {"EmptyComputerName",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)},
      {ClientIni, Lines({"[Server Information]", "ComputerName=", "[WorkDLLPath]", "P1=Pkg"})}},
     false, "E;000016", "Unassigned", "0", "C:\\KVT\\Client\\", "Default", SharedIni,
     "936/936/936", 0, 0, "C:\\KVT\\Client\\Pkg\\"},
    {"SemicolonOnlyComputerName",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)},
      {ClientIni, Lines({"[Server Information]", "ComputerName= ; "})}},
     false, "E;000016", "Unassigned", "0", "C:\\KVT\\Client\\", "Default", SharedIni,
     "936/936/936", 0, 0, ClientPackages},
    {"PerUserProfileWithoutItsOwnIni",
     {{RegFile, PerUserInstallation}, {PlatformFile, Platform(936)},
      {ClientIni, Lines({"[Server Information]", "ComputerName=shared-ap"})},
      {"drive_c/KVT/Client/Profile/li/StewardC.ini",
       Lines({"[Server Information]", "ComputerName=li-ap"})}},
     true, "", "[0..1, 0..0: ('shared-ap'), (211)]", "1", "C:\\KVT\\Client\\", "wang", SharedIni,
     "936/936/936", 0, 0, ClientPackages},
    {"PerUserProfileWithItsOwnIni",
     {{RegFile, PerUserInstallation}, {PlatformFile, Platform(936)},
      {ClientIni, Lines({"[Server Information]", "ComputerName=shared-ap"})},
      {"drive_c/KVT/Client/Profile/wang/StewardC.ini",
       Lines({"[Server Information]", "ComputerName=wang-ap"})}},
     true, "", "[0..1, 0..0: ('wang-ap'), (211)]", "1", "C:\\KVT\\Client\\Profile\\wang\\", "wang",
     "C:\\KVT\\Client\\Profile\\wang\\StewardC.ini", "936/936/936", 0, 0, ClientPackages},
    {"WorkDLLPathKinds",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)},
      {ClientIni, Lines({"[WorkDLLPath]", "Path1=D:\\Packages", "Path2=\\Common",
                         "Path3=Reports\\", "Path4=", "Path5=\\\\fs01\\kvt\\pkg",
                         "Path6=Pkg淺"})}},
     true, "", LocalServer, "0", "C:\\KVT\\Client\\", "Default", SharedIni, "936/936/936", 0, 0,
     "D:\\Packages\\|C:\\KVT\\Client\\Common\\|C:\\KVT\\Client\\Reports\\|C:\\KVT\\Client\\|"
     "\\\\fs01\\kvt\\pkg\\|C:\\KVT\\Client\\Pkg淺\\"},
    {"WesternSystem",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(1252)},
      {ClientIni, Lines({"[Client Components]", "LangType=ENG"})}},
     true, "", LocalServer, "0", "C:\\KVT\\Client\\", "Default", SharedIni, "437/437/936", 0, 0,
     ClientPackages},
    {"TraditionalSystemWithSimplifiedInterface",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(950)},
      {ClientIni, Lines({"[CodePage]", "UICodePage=936", "DBCodePage=950"})}},
     true, "", LocalServer, "0", "C:\\KVT\\Client\\", "Default", SharedIni, "950/936/950", 4, 1,
     ClientPackages},
    {"TraditionalInterfaceOnSimplifiedData",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)},
      {ClientIni, Lines({"[CodePage]", "UICodePage=950", "DBCodePage=936"})}},
     true, "", LocalServer, "0", "C:\\KVT\\Client\\", "Default", SharedIni, "936/950/936", 2, 2,
     ClientPackages},
    {"TraditionalSystemDefaultsToItsOwnInterface",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(950)}},
     true, "", LocalServer, "0", "C:\\KVT\\Client\\", "Default", SharedIni, "950/950/936", 2, 2,
     ClientPackages},
    {"UnknownInterfaceCodePageIsTakenAsWritten",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)},
      {ClientIni, Lines({"[CodePage]", "UICodePage=1252", "DBCodePage=950"})}},
     true, "", LocalServer, "0", "C:\\KVT\\Client\\", "Default", SharedIni, "936/1252/950", 0, 0,
     ClientPackages},
    {"MissingRegistryKey",
     {{RegFile, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\KVT]\r\n"},
      {PlatformFile, Platform(950)},
      {ClientIni, Lines({"[Server Information]", "ComputerName=kvtap1"})}},
     false, "E;000015", "Unassigned", "0", "", "Default", "", "950/950/936", 2, 2, ""},
    {"NoRegistryAtAll",
     {{PlatformFile, Platform(936)}},
     false, "E;000015", "Unassigned", "0", "", "Default", "", "936/936/936", 0, 0, ""},
    {"ClientPathOfTheWrongType",
     {{RegFile, Reg("\"ClientPath\"=dword:00000001")}, {PlatformFile, Platform(936)}},
     false, "E;000015", "Unassigned", "0", "", "Default", "", "936/936/936", 0, 0, ""},
    {"MalformedRegistryFile",
     {{RegFile, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward\r\n\"ClientPath\"=\r\n"},
      {PlatformFile, Platform(936)}},
     false, "E;000015", "Unassigned", "0", "", "Default", "", "936/936/936", 0, 0, ""},
    {"ServerOnlyInstallation",
     {{RegFile, Reg("\"ServerPath\"=\"C:\\\\KVT\\\\Server\\\\\"\r\n\"ProfileType\"=\"1\"")},
      {PlatformFile, Platform(936)}},
     false, "", "Unassigned", "1", "", "Default", "", "936/936/936", 0, 0, ""},
};

class ClientConfig : public testing::TestWithParam<TClientCase> {};

TEST_P(ClientConfig, LoadsTheInstallation) {
  const TClientCase& c = GetParam();
  TTempPrefix prefix(c.Files);
  TStewardIniC ini;
  const std::string codePages = ini.SystemCodePage + "/" + ini.UICodePage + "/" + ini.DBCodePage;

  EXPECT_EQ(ini.ErrorCode, c.ErrorCode);
  EXPECT_EQ(VarToLiteral(ini.ServerList), c.ServerList);
  EXPECT_EQ(ini.ClientPath, *c.IniFileName ? "C:\\KVT\\Client\\" : "");
  EXPECT_EQ(ini.ProfileType, c.ProfileType);
  EXPECT_EQ(ini.ProfilePath, c.ProfilePath);
  EXPECT_EQ(ini.UserName, c.UserName);
  EXPECT_EQ(ini.IniFileName, c.IniFileName);
  EXPECT_EQ(codePages, c.CodePages);
  EXPECT_EQ(ini.UIConvertMode, c.UIConvertMode);
  EXPECT_EQ(ini.DBConvertMode, c.DBConvertMode);
  EXPECT_EQ(Joined(*ini.WorkDLLPaths), c.WorkDLLPaths);
  // Loading again reads the same installation the same way.
  EXPECT_EQ(ini.Load(), c.Loaded);
  EXPECT_EQ(VarToLiteral(ini.ServerList), c.ServerList);
  EXPECT_EQ(Joined(*ini.WorkDLLPaths), c.WorkDLLPaths);
}

INSTANTIATE_TEST_SUITE_P(Installations, ClientConfig, testing::ValuesIn(ClientCases),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(ClientConfig, ReadsEveryKeyOfTheFile) {
  TTempPrefix prefix({{RegFile, SharedInstallation},
                      {PlatformFile, Platform(936)},
                      {ClientIni, Lines({"[Client Components]", "LangType=CHT",
                                         "[ProductVersion]", "Version=9.0.2",
                                         "[UserDefine]", "CreateGifBeforeSendEF=N",
                                         "[Server Information]", "SupportCallBack=Yes",
                                         "ComputerName=kvtap1", "ServerPort=2110",
                                         "[TaskMessageCenter Setting]", "AutoCheckNewMsg=0",
                                         "CheckInterval=5", "PopupMsg=0", "LoginCheck=1"})}});
  TStewardIniC ini;
  EXPECT_EQ(ini.ErrorCode, "");
  EXPECT_EQ(ini.LangType, "CHT");
  EXPECT_EQ(ini.Version, "9.0.2");
  EXPECT_TRUE(ini.SupportCallBack);
  EXPECT_EQ(VarToLiteral(ini.ServerList), "[0..1, 0..0: ('kvtap1'), (2110)]");
#ifndef TAVO_LEGACY
  EXPECT_EQ(ini.CreateGifBeforeSendEF, "N");
  EXPECT_EQ(ini.AutoCheckNewMsg, "0");
  EXPECT_EQ(ini.CheckInterval, "5");
  EXPECT_EQ(ini.PopupMsg, "0");
  EXPECT_EQ(ini.LoginCheck, "1");
#endif
}

TEST(ClientConfig, DefaultsOfAnEmptyFile) {
  TTempPrefix prefix(
      {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)}, {ClientIni, ""}});
  TStewardIniC ini;
  EXPECT_EQ(ini.LangType, "ENG");
  EXPECT_EQ(ini.Version, "");
  EXPECT_FALSE(ini.SupportCallBack);
#ifndef TAVO_LEGACY
  EXPECT_EQ(ini.CreateGifBeforeSendEF, "Y");
  EXPECT_EQ(ini.AutoCheckNewMsg, "1");
  EXPECT_EQ(ini.CheckInterval, "1");
  EXPECT_EQ(ini.PopupMsg, "1");
  EXPECT_EQ(ini.LoginCheck, "0");
#endif
}

TEST(ClientConfig, EveryLoadSeesTheInstallationAsItIsNow) {
  TTempPrefix prefix({{RegFile, SharedInstallation},
                      {PlatformFile, Platform(936)},
                      {ClientIni, Lines({"[Server Information]", "ComputerName=kvtap1"})}});
  TStewardIniC ini;
  ASSERT_EQ(VarToLiteral(ini.ServerList), "[0..1, 0..0: ('kvtap1'), (211)]");

  prefix.WriteFile(ClientIni, Lines({"[Server Information]", "ComputerName=kvtap2;kvtap3"}));
  EXPECT_TRUE(ini.Load());
  EXPECT_EQ(VarToLiteral(ini.ServerList), "[0..1, 0..1: ('kvtap2', 'kvtap3'), (211, 211)]");

  // Nothing of the earlier installation may survive a load that fails.
  prefix.WriteFile(RegFile, "REGEDIT4\r\n");
  ReloadPrefix();
  EXPECT_FALSE(ini.Load());
  EXPECT_EQ(ini.ErrorCode, "E;000015");
  EXPECT_EQ(VarToLiteral(ini.ServerList), "Unassigned");
  EXPECT_EQ(ini.ClientPath, "");
  EXPECT_EQ(ini.WorkDLLPaths->Count(), 0);
}

// ---- The call-back switch on both sides ---------------------------------------------

struct TCallBackCase {
  const char* Word;
  bool On;
};

std::ostream& operator<<(std::ostream& os, const TCallBackCase& c) {
  return os << "SupportCallBack=" << c.Word;
}

const TCallBackCase CallBackCases[] = {
    {"yes", true}, {"YES", true}, {"1", true}, {"y", true}, {"True", true},
    {"ON", false}, {"0", false}, {"no", false}, {"2", false}, {"", false},
};

class CallBackSwitch : public testing::TestWithParam<TCallBackCase> {};

TEST_P(CallBackSwitch, OnlyTheFourWordsTurnItOn) {
  const TCallBackCase& c = GetParam();
  const std::string line = std::string("SupportCallBack=") + c.Word;
  TTempPrefix prefix(
      {{RegFile, SharedInstallation},
       {PlatformFile, Platform(936)},
       {ClientIni, Lines({"[Server Information]", line.c_str(), "[DBPasswordCtrl]",
                          "SupportCallBack=1"})},
       {ServerIni, Lines({"[DBPasswordCtrl]", line.c_str(), "[Server Information]",
                          "SupportCallBack=1"})}});
  EXPECT_EQ(TStewardIniC().SupportCallBack, c.On);
  EXPECT_EQ(TStewardIniS().SupportCallBack, c.On);
}

INSTANTIATE_TEST_SUITE_P(Words, CallBackSwitch, testing::ValuesIn(CallBackCases),
                         [](const auto& info) {
                           const std::string word = info.param.Word;
                           return word.empty() ? std::string("Empty") : word;
                         });

// ---- The server -----------------------------------------------------------------------

const char* const DefaultDBSettings =
    "[0..3, 0..7: ('Helm', 'sa', '', 'MSSQL', '', '', 300, 3000), "
    "('HelmTemp', 'sa', '', 'PARADOX', '', 'PostgreSQL', 300, 3000), "
    "('', 211, 1024, 'Chinese_Taiwan_Stroke_BIN', Unassigned, Unassigned, Unassigned, "
    "Unassigned), "
    "('EDIDATA', 'sa', '', Unassigned, Unassigned, Unassigned, Unassigned, Unassigned)]";

struct TServerCase {
  const char* Label;
  TFiles Files;
  bool Loaded;
  const char* ErrorCode;
  const char* DBSettings;  // VarToLiteral
  int DBKind;
  const char* SystemControlAddress;
  const char* OtherSystemControlAddress;
  const char* IniFileName;
  const char* WorkDLLPaths;
};

std::ostream& operator<<(std::ostream& os, const TServerCase& c) { return os << c.Label; }

std::string FullServerIni() {
  return Lines({"[ProductVersion]", "Version=9.0",
                "[CodePage]", "UICodePage=950", "DBCodePage=936",
                "[DBE Setting]", "MainUserName=helmadm"})
         + "XXXXXX=" + EncodeSQLSa("Ma1n#Pwd") + "\r\n"
         + Lines({"MainAlias=HelmERP", "MainDBType=ORACLE", "MainDBName=HELM90",
                  "MainServerName=dbsrv01", "SystemControlAddress=ctl01",
                  "OtherSystemControlAddress=ctl02", "MainConnectionTimeOut=60",
                  "MainCommandTimeOut=600", "TempAlias=HelmTmp", "TempUserName=tmpadm"})
         + "TempPassword=" + EncodeSQLSa("") + "\r\n"
         + Lines({"TempDBType=MSSQL", "TempDBName=HELMTMP", "TempDriverName=SQLOLEDB",
                  "TempConnectionTimeOut=30", "TempCommandTimeOut=90",
                  "DataBaseCodeOrder=Chinese_PRC_BIN", "EctAlias=EDI", "EctUserName=edi",
                  "EctPassword=6A6B", "[DBPasswordCtrl]", "ComputerName=  kvtap1  ",
                  "ServerPort=2110", "ClientSocketPort=4096", "[WorkDLLPath]",
                  "Path1=S_PKG", "Path2=\\\\fs01\\kvt\\S_PKG\\"});
}

const TServerCase ServerCases[] = {
    {"MissingIniFileGivesDefaults",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)}},
     true, "", DefaultDBSettings, 0, "", "", "C:\\KVT\\Server\\StewardS.ini",
     "C:\\KVT\\Server\\S_PKG\\"},
    {"EveryKeyRead",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)}, {ServerIni, FullServerIni()}},
     true, "",
     "[0..3, 0..7: ('HelmERP', 'helmadm', 'Ma1n#Pwd', 'ORACLE', 'HELM90', 'dbsrv01', 60, 600), "
     "('HelmTmp', 'tmpadm', '', 'MSSQL', 'HELMTMP', 'SQLOLEDB', 30, 90), "
     "('kvtap1', 2110, 4096, 'Chinese_PRC_BIN', Unassigned, Unassigned, Unassigned, "
     "Unassigned), "
     "('EDI', 'edi', '6A6B', Unassigned, Unassigned, Unassigned, Unassigned, Unassigned)]",
     1, "ctl01", "ctl02", "C:\\KVT\\Server\\StewardS.ini",
     "C:\\KVT\\Server\\S_PKG\\|\\\\fs01\\kvt\\S_PKG\\"},
    {"LowerCaseOracleAndBlankControlAddresses",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)},
      {ServerIni, Lines({"[DBE Setting]", "MainDBType=oracle", "MainServerName=dbsrv02",
                         "SystemControlAddress=   ", "MainConnectionTimeOut=soon"})}},
     true, "",
     "[0..3, 0..7: ('Helm', 'sa', '', 'oracle', '', 'dbsrv02', 300, 3000), "
     "('HelmTemp', 'sa', '', 'PARADOX', '', 'PostgreSQL', 300, 3000), "
     "('', 211, 1024, 'Chinese_Taiwan_Stroke_BIN', Unassigned, Unassigned, Unassigned, "
     "Unassigned), "
     "('EDIDATA', 'sa', '', Unassigned, Unassigned, Unassigned, Unassigned, Unassigned)]",
     1, "dbsrv02", "dbsrv02", "C:\\KVT\\Server\\StewardS.ini", "C:\\KVT\\Server\\S_PKG\\"},
    {"DB2AndAPasswordThatIsNoHex",
     {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)},
      {ServerIni, Lines({"[DBE Setting]", "MainDBType=Db2", "XXXXXX=4G41"})}},
     true, "",
     "[0..3, 0..7: ('Helm', 'sa', 'KV_Say_Password_Error', 'Db2', '', '', 300, 3000), "
     "('HelmTemp', 'sa', '', 'PARADOX', '', 'PostgreSQL', 300, 3000), "
     "('', 211, 1024, 'Chinese_Taiwan_Stroke_BIN', Unassigned, Unassigned, Unassigned, "
     "Unassigned), "
     "('EDIDATA', 'sa', '', Unassigned, Unassigned, Unassigned, Unassigned, Unassigned)]",
     2, "", "", "C:\\KVT\\Server\\StewardS.ini", "C:\\KVT\\Server\\S_PKG\\"},
    {"PerUserProfileWithItsOwnIni",
     {{RegFile, PerUserInstallation}, {PlatformFile, Platform(936)},
      {ServerIni, Lines({"[DBE Setting]", "MainDBType=DB2"})},
      {"drive_c/KVT/Server/Profile/wang/StewardS.ini",
       Lines({"[DBE Setting]", "MainDBType=MSSQL", "[WorkDLLPath]", "Mine=\\Mine"})}},
     true, "", DefaultDBSettings, 0, "", "", "C:\\KVT\\Server\\Profile\\wang\\StewardS.ini",
     "C:\\KVT\\Server\\Mine\\"},
    {"MissingRegistryKey",
     {{RegFile, "REGEDIT4\r\n"}, {PlatformFile, Platform(936)}, {ServerIni, FullServerIni()}},
     false, "E;000015", "Unassigned", 0, "", "", "", ""},
    {"ClientOnlyInstallation",
     {{RegFile, Reg("\"ClientPath\"=\"C:\\\\KVT\\\\Client\\\\\"")}, {PlatformFile, Platform(936)}},
     false, "", "Unassigned", 0, "", "", "", ""},
};

class ServerConfig : public testing::TestWithParam<TServerCase> {};

TEST_P(ServerConfig, LoadsTheInstallation) {
  const TServerCase& c = GetParam();
  TTempPrefix prefix(c.Files);
  TStewardIniS ini;
  EXPECT_EQ(ini.ErrorCode, c.ErrorCode);
  EXPECT_EQ(VarToLiteral(ini.DBSettings), c.DBSettings);
  EXPECT_EQ(ini.DBKind, c.DBKind);
#ifndef TAVO_LEGACY
  EXPECT_EQ(ini.SystemControlAddress, c.SystemControlAddress);
  EXPECT_EQ(ini.OtherSystemControlAddress, c.OtherSystemControlAddress);
#endif
  EXPECT_EQ(ini.IniFileName, c.IniFileName);
  EXPECT_EQ(Joined(*ini.WorkDLLPaths), c.WorkDLLPaths);
  EXPECT_EQ(ini.Load(), c.Loaded);
  EXPECT_EQ(VarToLiteral(ini.DBSettings), c.DBSettings);
}

INSTANTIATE_TEST_SUITE_P(Installations, ServerConfig, testing::ValuesIn(ServerCases),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(ServerConfig, CodePagesAndVersionOfTheServerFile) {
  TTempPrefix prefix(
      {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)}, {ServerIni, FullServerIni()}});
  TStewardIniS ini;
  EXPECT_EQ(ini.ServerPath, "C:\\KVT\\Server\\");
  EXPECT_EQ(ini.Version, "9.0");
  EXPECT_EQ(ini.SystemCodePage, "936");
  EXPECT_EQ(ini.UICodePage, "950");
  EXPECT_EQ(ini.DBCodePage, "936");
  EXPECT_EQ(ini.UIConvertMode, 2);
  EXPECT_EQ(ini.DBConvertMode, 2);
}

TEST(ServerConfig, GetWorkDLLPathsReplacesTheCallersList) {
  TTempPrefix prefix(
      {{RegFile, SharedInstallation}, {PlatformFile, Platform(936)}, {ServerIni, FullServerIni()}});
  TStewardIniS ini;
  TStringList list;
  list.Add("C:\\Stale\\");
  ini.GetWorkDLLPaths(&list);
  EXPECT_EQ(Joined(list), "C:\\KVT\\Server\\S_PKG\\|\\\\fs01\\kvt\\S_PKG\\");
  ini.GetWorkDLLPaths(nullptr);
}

// ---- Folders --------------------------------------------------------------------------

struct TFolderCase {
  const char* Label;
  const char* Folder;
  const char* Absolute;  // against the client folder
};

std::ostream& operator<<(std::ostream& os, const TFolderCase& c) { return os << c.Folder; }

const TFolderCase FolderCases[] = {
    {"DriveLetter", "D:\\Packages\\", "D:\\Packages\\"},
    {"LowerCaseDriveLetter", "d:\\pkg\\", "d:\\pkg\\"},
    {"DriveRelative", "E:pkg\\", "E:pkg\\"},
    {"NetworkShare", "\\\\fs01\\kvt\\", "\\\\fs01\\kvt\\"},
    {"ServerWithoutShare", "\\\\fs01\\", "C:\\KVT\\Client\\\\fs01\\"},
    {"LeadingBackslash", "\\Common\\", "C:\\KVT\\Client\\Common\\"},
    {"Relative", "Reports\\", "C:\\KVT\\Client\\Reports\\"},
    {"BackslashOnly", "\\", "C:\\KVT\\Client\\"},
    {"Empty", "", "C:\\KVT\\Client\\"},
    {"DigitIsNoDrive", "1:\\x\\", "C:\\KVT\\Client\\1:\\x\\"},
};

class AbsolutePath : public testing::TestWithParam<TFolderCase> {};

TEST_P(AbsolutePath, ResolvesAgainstTheBase) {
  EXPECT_EQ(MakeAbsolutePath(GetParam().Folder, "C:\\KVT\\Client\\"), GetParam().Absolute);
}

INSTANTIATE_TEST_SUITE_P(Folders, AbsolutePath, testing::ValuesIn(FolderCases),
                         [](const auto& info) { return std::string(info.param.Label); });

// ---- Editions -------------------------------------------------------------------------

template <class T>
concept HasMessageCenterSettings = requires(T ini) {
  ini.CreateGifBeforeSendEF;
  ini.AutoCheckNewMsg;
  ini.LoginCheck;
};

template <class T>
concept HasSystemControlAddresses = requires(T ini) {
  ini.SystemControlAddress;
  ini.OtherSystemControlAddress;
};

#ifdef TAVO_LEGACY
static_assert(!HasMessageCenterSettings<TStewardIniC>);
static_assert(!HasSystemControlAddresses<TStewardIniS>);
#else
static_assert(HasMessageCenterSettings<TStewardIniC>);
static_assert(HasSystemControlAddresses<TStewardIniS>);
#endif

TEST(Configuration, ClassesAreKnownByName) {
  TTempPrefix prefix({{PlatformFile, Platform(936)}});
  EXPECT_EQ(TStewardIniC().ClassName(), "TStewardIniC");
  EXPECT_EQ(TStewardIniS().ClassParent()->ClassName(), "TObject");
}

}  // namespace
