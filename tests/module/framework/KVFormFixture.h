// A temporary client installation for the base form: the registry key naming the client
// folder, "StewardC.ini" with the interface code page, platform.ini with the ANSI code
// page and the folder of the built libraries, and the language files a case needs.
#pragma once

#include "module/framework/KVForm.h"
#include "platform/vcl/UIDriver.h"
#include "platform/win/Prefix.h"
#include "platform/win/TestPrefix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kvform {

// The built libraries (the language library among them): where the test runner says,
// else beside the test programs' folder.
inline std::string BinDir() {
  if (const char* env = std::getenv("TAVO_BIN_DIR"); env && *env) return env;
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin").string();
}

struct TSetup {
  UINT ACP = 936;
  const char* UICodePage = "936";
  // Language files of the CHS folder: package name -> XML text.
  std::map<std::string, std::string> ChsFiles{};
};

class TInstallation {
public:
  explicit TInstallation(const TSetup& setup) : Prefix(Files(setup)) {
    Prefix.WriteFile("platform.ini", "[Platform]\r\nACP=" + std::to_string(setup.ACP) +
                                         "\r\nUserName=wang\r\nLibraryPath=" + UnixPathToWin(BinDir()) + "\r\n");
    ReloadPrefix();
  }
  TTempPrefix Prefix;

private:
  static std::map<std::string, std::string> Files(const TSetup& setup) {
    std::map<std::string, std::string> files;
    files["system.reg"] =
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward]\r\n"
        "\"ClientPath\"=\"C:\\\\KVT\\\\Client\\\\\"\r\n";
    files["drive_c/KVT/Client/StewardC.ini"] = std::string("[Server Information]\r\nComputerName=127.0.0.1\r\n") +
                                               "[CodePage]\r\nUICodePage=" + setup.UICodePage + "\r\n";
    files["drive_c/KVT/Client/MultiLanguage/CHS/.keep"] = "";
    for (const auto& [package, xml] : setup.ChsFiles)
      files["drive_c/KVT/Client/MultiLanguage/CHS/" + package + ".Lng"] = xml;
    return files;
  }
};

// Creates, and frees at the end, forms of the base form's family with a scripted driver
// in place.
class KVFormTest : public testing::Test {
protected:
  KVFormTest() : Scope(&Driver) {}
  ~KVFormTest() override {
    for (TCustomForm* form : Forms) form->Free();
    Application->ProcessMessages();
  }
  void Install(const TSetup& setup) { Installation = std::make_unique<TInstallation>(setup); }
  template <class T>
  T* Create() {
    T* form = CreateComponent<T>(Application);
    Forms.push_back(form);
    return form;
  }

  std::unique_ptr<TInstallation> Installation;
  TScriptedDriver Driver;
  TUIDriverScope Scope;
  std::vector<TCustomForm*> Forms;
};

}  // namespace kvform
