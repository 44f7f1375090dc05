#include "module/services/StewardINI.h"

#include "module/services/SQLSa.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/IniFiles.h"
#include "platform/win/Files.h"
#include "platform/win/Registry.h"

#include <exception>

TAVO_CLASS_IMPL(TStewardIniC, TObject)
TAVO_CLASS_IMPL(TStewardIniS, TObject)

namespace {

const char* const StewardKey = "Software\\KVT\\Steward";
const char* const KeyUnreadable = "E;000015";
const char* const NoServerConfigured = "E;000016";

AnsiString ReducedSystemCodePage() {
  const AnsiString acp = IntToStr(GetACP());
  return acp == "936" || acp == "950" ? acp : AnsiString("437");
}

BYTE UIConvertModeOf(const AnsiString& uiCodePage, const AnsiString& systemCodePage) {
  if (uiCodePage == "950") return 2;
  if (uiCodePage == "936" && systemCodePage == "950") return 4;
  return 0;
}

BYTE DBConvertModeOf(const AnsiString& uiCodePage, const AnsiString& dbCodePage) {
  if (uiCodePage == "950" && dbCodePage == "936") return 2;
  if (uiCodePage == "936" && dbCodePage == "950") return 1;
  return 0;
}

template <class TIni>
void UpdateConvertModes(TIni& ini) {
  ini.UIConvertMode = UIConvertModeOf(ini.UICodePage, ini.SystemCodePage);
  ini.DBConvertMode = DBConvertModeOf(ini.UICodePage, ini.DBCodePage);
}

bool IsCallBackOn(const AnsiString& value) {
  const AnsiString word = UpperCase(Trim(value));
  return word == "1" || word == "Y" || word == "YES" || word == "TRUE";
}

// The code-page defaults, which hold even when nothing else can be read.
template <class TIni>
void SetCodePageDefaults(TIni& ini) {
  ini.UICodePage = ini.SystemCodePage;
  ini.DBCodePage = "936";
  ini.SupportCallBack = false;
  UpdateConvertModes(ini);
}

// Finds the INI file of one side of the installation: the folder from the registry
// value pathValue, then the user's profile folder below it when the installation keeps
// one per user. False when there is nothing to read; ErrorCode tells a missing key from
// an installation without that side.
template <class TIni>
bool LocateIniFile(TIni& ini, AnsiString& installPath, const char* pathValue,
                   const char* iniName) {
  ini.ErrorCode.clear();
  installPath.clear();
  ini.ProfilePath.clear();
  ini.ProfileType = "0";
  ini.UserName = "Default";
  ini.IniFileName.clear();
  ini.SystemCodePage = "936";
  SetCodePageDefaults(ini);
  bool keyRead = false;
  try {
    ini.SystemCodePage = ReducedSystemCodePage();
    SetCodePageDefaults(ini);

    AnsiString path;
    AnsiString profileType;
    {
      TRegistry reg(KEY_READ);
      reg.SetRootKey(HKEY_LOCAL_MACHINE);
      if (!reg.OpenKeyReadOnly(StewardKey)) {
        ini.ErrorCode = KeyUnreadable;
        return false;
      }
      path = reg.ReadString(pathValue);
      profileType = reg.ReadString("ProfileType");
      reg.CloseKey();
    }
    keyRead = true;
    ini.ProfileType = profileType;
    if (path.empty()) return false;
    installPath = IncludeTrailingBackslash(path);

    ini.ProfilePath = installPath;
    if (!ini.ProfileType.empty() && ini.ProfileType != "0") {
      // Without a name there is no profile folder to look in; the shared file serves.
      const AnsiString user = GetUserName();
      if (!user.empty()) {
        ini.ProfilePath = installPath + "Profile\\" + user + "\\";
        ini.UserName = user;
      }
    }
    ini.IniFileName = ini.ProfilePath + iniName;
    if (!FileExists(ini.IniFileName)) {
      ini.ProfilePath = installPath;
      ini.IniFileName = installPath + iniName;
    }
    return true;
  } catch (const std::exception&) {
    // A registry that cannot be parsed or a value of the wrong type is as good as no
    // key: the caller must not go on with half an installation record.
    if (!keyRead) {
      ini.ErrorCode = KeyUnreadable;
      ini.ProfileType = "0";
    }
    installPath.clear();
    ini.ProfilePath.clear();
    ini.UserName = "Default";
    ini.IniFileName.clear();
    return false;
  }
}

// Each line of the "WorkDLLPath" section becomes the absolute folder its value names;
// an empty section means the installation's own package folder.
void ResolvePackageFolders(TStrings* lines, const AnsiString& base, const char* defaultFolder) {
  if (lines->Count() == 0) {
    lines->Add(base + defaultFolder);
    return;
  }
  for (int i = 0; i < lines->Count(); ++i)
    lines->Put(i, MakeAbsolutePath(IncludeTrailingBackslash(lines->GetValueFromIndex(i)), base));
}

// The servers of a ";"-separated list, all on one port; a single trailing ";" is
// allowed. Unassigned when the list names no server.
Variant BuildServerList(AnsiString names, int port) {
  if (!names.empty() && names.back() == ';') names.pop_back();
  if (names.empty()) return Variant();
  Variant list = VarArrayCreate({0, 1, 0, 0}, varVariant);
  size_t start = 0;
  for (int i = 0;; ++i) {
    const size_t separator = names.find(';', start);
    if (i > 0) VarArrayRedim(list, i);
    const AnsiString address =
        names.substr(start, separator == AnsiString::npos ? AnsiString::npos : separator - start);
    list.PutElement({0, i}, Variant(address));
    list.PutElement({1, i}, Variant(port));
    if (separator == AnsiString::npos) break;
    start = separator + 1;
  }
  return list;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

AnsiString MakeAbsolutePath(const AnsiString& folder, const AnsiString& base) {
  if (folder.size() >= 2 && IsAsciiLetter(folder[0]) && folder[1] == ':') return folder;
  if (folder.rfind("\\\\", 0) == 0) {
    const size_t hostEnd = folder.find('\\', 2);
    if (hostEnd != AnsiString::npos && hostEnd > 2 && hostEnd + 1 < folder.size() &&
        folder[hostEnd + 1] != '\\')
      return folder;
  }
  if (!folder.empty() && folder[0] == '\\') return base + folder.substr(1);
  return base + folder;
}

// ---- TStewardIniC ---------------------------------------------------------------------

TStewardIniC::TStewardIniC() : WorkDLLPaths(std::make_unique<TStringList>()) { Load(); }

TStewardIniC::~TStewardIniC() = default;

namespace {

void SetIniDefaults(TStewardIniC& ini) {
  SetCodePageDefaults(ini);
  ini.ServerList = Variant();
  ini.LangType = "ENG";
  ini.WorkDLLPaths->Clear();
  ini.Version.clear();
#ifndef TAVO_LEGACY
  ini.CreateGifBeforeSendEF = "Y";
  ini.AutoCheckNewMsg = "1";
  ini.CheckInterval = "1";
  ini.PopupMsg = "1";
  ini.LoginCheck = "0";
#endif
}

}  // namespace

bool TStewardIniC::Load() {
  SetIniDefaults(*this);
  if (!LocateIniFile(*this, ClientPath, "ClientPath", "StewardC.ini")) return false;
  try {
    TIniFile ini(IniFileName);
    LangType = ini.ReadString("Client Components", "LangType", "ENG");
    Version = ini.ReadString("ProductVersion", "Version", "");
#ifndef TAVO_LEGACY
    CreateGifBeforeSendEF = ini.ReadString("UserDefine", "CreateGifBeforeSendEF", "Y");
#endif
    UICodePage = ini.ReadString("CodePage", "UICodePage", SystemCodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
    SupportCallBack = IsCallBackOn(ini.ReadString("Server Information", "SupportCallBack", "0"));
    const AnsiString computerName =
        Trim(ini.ReadString("Server Information", "ComputerName", "127.0.0.1"));
    const int serverPort = ini.ReadInteger("Server Information", "ServerPort", 211);
    ini.ReadSectionValues("WorkDLLPath", WorkDLLPaths.get());
#ifndef TAVO_LEGACY
    AutoCheckNewMsg = ini.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", "1");
    CheckInterval = ini.ReadString("TaskMessageCenter Setting", "CheckInterval", "1");
    PopupMsg = ini.ReadString("TaskMessageCenter Setting", "PopupMsg", "1");
    LoginCheck = ini.ReadString("TaskMessageCenter Setting", "LoginCheck", "0");
#endif
    UpdateConvertModes(*this);

    // The folders are resolved before the server check so that they are folders even
    // when no server is configured.
    ResolvePackageFolders(WorkDLLPaths.get(), ClientPath, "C_PKG\\");

    ServerList = BuildServerList(computerName, serverPort);
    if (VarIsEmpty(ServerList)) {
      ErrorCode = NoServerConfigured;
      return false;
    }
    return true;
  } catch (const std::exception&) {
    SetIniDefaults(*this);
    return false;
  }
}

// ---- TStewardIniS ---------------------------------------------------------------------

TStewardIniS::TStewardIniS() : WorkDLLPaths(std::make_unique<TStringList>()) { Load(); }

TStewardIniS::~TStewardIniS() = default;

namespace {

void SetIniDefaults(TStewardIniS& ini) {
  SetCodePageDefaults(ini);
  ini.DBSettings = Variant();
  ini.WorkDLLPaths->Clear();
  ini.Version.clear();
  ini.DBKind = 0;
#ifndef TAVO_LEGACY
  ini.SystemControlAddress.clear();
  ini.OtherSystemControlAddress.clear();
#endif
}

}  // namespace

bool TStewardIniS::Load() {
  SetIniDefaults(*this);
  if (!LocateIniFile(*this, ServerPath, "ServerPath", "StewardS.ini")) return false;
  try {
    TIniFile ini(IniFileName);
    const AnsiString dbe = "DBE Setting";
    const AnsiString control = "DBPasswordCtrl";
    Variant settings = VarArrayCreate({0, 3, 0, 7}, varVariant);
    auto putString = [&](int row, int col, const char* key, const char* defaultValue) {
      settings.PutElement({row, col}, Variant(ini.ReadString(dbe, key, defaultValue)));
    };
    auto putInteger = [&](const AnsiString& section, int row, int col, const char* key,
                          int defaultValue) {
      settings.PutElement({row, col}, Variant(ini.ReadInteger(section, key, defaultValue)));
    };

    Version = ini.ReadString("ProductVersion", "Version", "");
    UICodePage = ini.ReadString("CodePage", "UICodePage", SystemCodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
    putString(0, 1, "MainUserName", "sa");
    settings.PutElement({0, 2}, Variant(DecodeSQLSa(ini.ReadString(dbe, "XXXXXX", ""))));
    putString(0, 0, "MainAlias", "Helm");
    putString(0, 3, "MainDBType", "MSSQL");
    putString(0, 4, "MainDBName", "");
    putString(0, 5, "MainServerName", "");
#ifndef TAVO_LEGACY
    const AnsiString mainServerName = VarToStr(settings.GetElement({0, 5}));
    SystemControlAddress = ini.ReadString(dbe, "SystemControlAddress", "");
    if (Trim(SystemControlAddress).empty()) SystemControlAddress = mainServerName;
    OtherSystemControlAddress = ini.ReadString(dbe, "OtherSystemControlAddress", "");
    if (Trim(OtherSystemControlAddress).empty()) OtherSystemControlAddress = mainServerName;
#endif
    putInteger(dbe, 0, 6, "MainConnectionTimeOut", 300);
    putInteger(dbe, 0, 7, "MainCommandTimeOut", 3000);
    putString(1, 0, "TempAlias", "HelmTemp");
    putString(1, 1, "TempUserName", "sa");
    settings.PutElement({1, 2}, Variant(DecodeSQLSa(ini.ReadString(dbe, "TempPassword", ""))));
    putString(1, 3, "TempDBType", "PARADOX");
    putString(1, 4, "TempDBName", "");
    putString(1, 5, "TempDriverName", "PostgreSQL");
    putInteger(dbe, 1, 6, "TempConnectionTimeOut", 300);
    putInteger(dbe, 1, 7, "TempCommandTimeOut", 3000);
    settings.PutElement({2, 0}, Variant(Trim(ini.ReadString(control, "ComputerName", ""))));
    putInteger(control, 2, 1, "ServerPort", 211);
    putInteger(control, 2, 2, "ClientSocketPort", 1024);
    SupportCallBack = IsCallBackOn(ini.ReadString(control, "SupportCallBack", "0"));
    putString(2, 3, "DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN");
    putString(3, 0, "EctAlias", "EDIDATA");
    putString(3, 1, "EctUserName", "sa");
    putString(3, 2, "EctPassword", "");
    ini.ReadSectionValues("WorkDLLPath", WorkDLLPaths.get());

    const AnsiString mainDBType = VarToStr(settings.GetElement({0, 3}));
    DBKind = 0;
    if (SameText(mainDBType, "ORACLE")) DBKind = 1;
    if (SameText(mainDBType, "DB2")) DBKind = 2;
    UpdateConvertModes(*this);
    ResolvePackageFolders(WorkDLLPaths.get(), ServerPath, "S_PKG\\");
    DBSettings = settings;
    return true;
  } catch (const std::exception&) {
    SetIniDefaults(*this);
    return false;
  }
}

void TStewardIniS::GetWorkDLLPaths(TStrings* list) const {
  if (list) list->Assign(WorkDLLPaths.get());
}
