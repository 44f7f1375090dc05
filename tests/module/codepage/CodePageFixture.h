// A temporary installation for the code-page tests: the registry key naming the client
// folder, "StewardC.ini" with the code pages, and platform.ini with the ANSI code page
// and the folder the language library is loaded from.
#pragma once

#include "platform/win/Prefix.h"
#include "platform/win/TestPrefix.h"
#include "platform/win/Windows.h"

#include <cstdlib>
#include <map>
#include <string>

namespace codepage {

inline std::string BinDir() {
  const char* env = std::getenv("TAVO_BIN_DIR");
  return env && *env ? std::string(env) : std::string(TAVO_BUILD_BIN_DIR);
}

// The same characters in GB and in BIG5.
inline AnsiString Gb(const WideString& text) { return WideToAnsi(text, 936); }
inline AnsiString Big5(const WideString& text) { return WideToAnsi(text, 950); }

struct TInstall {
  UINT ACP = 936;
  const char* UICodePage = nullptr;  // nullptr: the key is left out
  const char* DBCodePage = nullptr;
  std::string LibraryDir{};          // Linux folder searched for Kvlanguage.dll; "" none
  bool ServerSide = false;           // also a server installation with "StewardS.ini"
  const char* ServerUICodePage = nullptr;
};

class TInstallation {
public:
  explicit TInstallation(const TInstall& install) : Prefix(Files(install)) {
    AnsiString platform = "[Platform]\r\nACP=" + std::to_string(install.ACP) + "\r\nUserName=wang\r\n";
    if (!install.LibraryDir.empty()) platform += "LibraryPath=" + UnixPathToWin(install.LibraryDir) + "\r\n";
    Prefix.WriteFile("platform.ini", platform);
    ReloadPrefix();
  }

  TTempPrefix Prefix;

private:
  static std::map<std::string, std::string> Files(const TInstall& install) {
    std::map<std::string, std::string> files;
    files["system.reg"] =
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward]\r\n"
        "\"ClientPath\"=\"C:\\\\KVT\\\\Client\\\\\"\r\n"
        "\"ServerPath\"=\"C:\\\\KVT\\\\Server\\\\\"\r\n";
    files["drive_c/KVT/Client/StewardC.ini"] = CodePageSection(install.UICodePage, install.DBCodePage);
    if (install.ServerSide)
      files["drive_c/KVT/Server/StewardS.ini"] = CodePageSection(install.ServerUICodePage, nullptr);
    return files;
  }

  static std::string CodePageSection(const char* ui, const char* db) {
    std::string text = "[Server Information]\r\nComputerName=127.0.0.1\r\n[CodePage]\r\n";
    if (ui) text += std::string("UICodePage=") + ui + "\r\n";
    if (db) text += std::string("DBCodePage=") + db + "\r\n";
    return text;
  }
};

}  // namespace codepage
