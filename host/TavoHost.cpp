// The command-line host shell. It works inside the prefix named by TAVO_PREFIX (or
// --prefix) and prints what it sees in UTF-8.
//
//   TavoHost [--prefix DIR] env     the emulated environment: code page, user, machine,
//                                   folders, the client's registry values, a conversion
//   TavoHost [--prefix DIR] run [--legacy | --library PATH] [--user U] [--company C]
//                           [--database D]
//                                   loads the plug-in (by default C:\KVT\Client\Tavo61C.dll,
//                                   --legacy: the legacy edition in C:\KVT\Client\Legacy),
//                                   opens its form and closes it as the headless user
//                                   interface does, and prints each step, notification and
//                                   result
#include "host/PlugInHost.h"
#include "outside/kvlanguage/Kvlanguage.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Prefix.h"
#include "platform/win/Registry.h"
#include "platform/win/Windows.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace {

void Line(const char* label, const AnsiString& value) {
  std::printf("  %-22s %s\n", label, Utf8(value).c_str());
}

void PrintRegistryKey(HKEY root, const char* rootName, const AnsiString& key) {
  std::printf("%s\\%s\n", rootName, Utf8(key).c_str());
  TRegistry reg(KEY_READ);
  reg.SetRootKey(root);
  if (!reg.OpenKeyReadOnly(key)) {
    std::printf("  (no such key)\n");
    return;
  }
  TStringList names;
  reg.GetValueNames(&names);
  for (int i = 0; i < names.Count(); ++i) {
    const AnsiString name = names[i];
    AnsiString value;
    switch (reg.GetDataType(name)) {
      case rdString:
      case rdExpandString:
        value = "\"" + reg.ReadString(name) + "\"";
        break;
      case rdInteger:
        value = IntToStr(reg.ReadInteger(name));
        break;
      case rdBinary:
        value = "(binary, " + IntToStr(reg.GetDataSize(name)) + " bytes)";
        break;
      case rdUnknown:
        value = "(unknown type)";
        break;
    }
    Line(name.empty() ? "(default)" : name.c_str(), value);
  }
}

int ShowEnvironment() {
  const TPlatformSettings& settings = PlatformSettings();
  std::printf("Emulated Windows in %s\n", GetPrefixDir().c_str());
  Line("ANSI code page", IntToStr(static_cast<int>(GetACP())));
  Line("OEM code page", IntToStr(static_cast<int>(GetOEMCP())));
  Line("user", GetUserName());
  Line("computer", GetComputerName());
  Line("host executable", GetModuleFileName(nullptr));
  Line("temporary folder", GetTempPath());
  Line("  long form", GetLongPathName(GetTempPath()));
  AnsiString folders;
  for (const AnsiString& f : settings.LibraryPath) folders += (folders.empty() ? "" : ";") + f;
  Line("library folders", folders);

  std::printf("\n");
  PrintRegistryKey(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "Software\\KVT\\Steward");

  // One text as the client meets it: its own GB text, the plain code-page mapping into
  // BIG5 (simplified characters BIG5 lacks are lost), and the language library's
  // conversion to traditional characters, which is what the client uses.
  const AnsiString gb = "物料领用调拨报表";
  std::printf("\nCode-page conversion\n");
  Line("GB (936)", gb);
  bool lossy = false;
  const AnsiString mapped = WideToAnsi(AnsiToWide(gb, 936), 950, &lossy);
  std::printf("  %-22s %s%s\n", "mapped to BIG5", Utf8From(mapped, 950).c_str(),
              lossy ? "  (characters BIG5 lacks became '?')" : "");
  if (HMODULE language = LoadLibrary("Kvlanguage.dll")) {
    auto convert = reinterpret_cast<TKvLanguageProc>(GetProcAddress(language, "GBtoBIG5"));
    const int length = convert ? convert(gb.data(), static_cast<int>(gb.size()), nullptr, 0) : -1;
    if (length >= 0) {
      std::string big5(static_cast<size_t>(length) + 1, '\0');
      convert(gb.data(), static_cast<int>(gb.size()), big5.data(), length + 1);
      big5.resize(static_cast<size_t>(length));
      std::printf("  %-22s %s\n", "Kvlanguage GBtoBIG5", Utf8From(big5, 950).c_str());
    }
    FreeLibrary(language);
  } else {
    std::printf("  %-22s %s\n", "Kvlanguage GBtoBIG5", "(Kvlanguage.dll not found)");
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: TavoHost [--prefix DIR] env\n"
               "       TavoHost [--prefix DIR] run [--legacy | --library PATH] [--user U] [--company C] "
               "[--database D]\n");
  return 2;
}

// Options arrive as UTF-8 from the terminal; the plug-in works in ANSI.
AnsiString FromUtf8(const char* text) { return WideToAnsi(AnsiToWide(text, CP_UTF8)); }

int Run(int argc, char** argv, int i) {
  THostRunOptions options;
  for (; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--legacy")
      options.Library = LegacyPlugIn;
    else if (option == "--library" && hasValue)
      options.Library = FromUtf8(argv[++i]);
    else if (option == "--user" && hasValue)
      options.UserId = FromUtf8(argv[++i]);
    else if (option == "--company" && hasValue)
      options.CompanyId = FromUtf8(argv[++i]);
    else if (option == "--database" && hasValue)
      options.DatabaseName = FromUtf8(argv[++i]);
    else
      return Usage();
  }
  const int result = RunPlugIn(options, std::cout);
  std::cout.flush();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  int i = 1;
  if (i + 1 < argc && std::string(argv[i]) == "--prefix") {
    SetPrefix(argv[i + 1]);
    i += 2;
  }
  if (i >= argc) return Usage();
  // Like a process starting on that machine: date and number formats follow its locale.
  try {
    GetFormatSettings();
  } catch (const Exception&) {
    // A broken prefix is reported by the command itself.
  }
  const std::string command = argv[i];
  try {
    if (command == "env") return ShowEnvironment();
    if (command == "run") return Run(argc, argv, i + 1);
    return Usage();
  } catch (const Exception& e) {
    std::fprintf(stderr, "TavoHost: %s: %s\n", e.ClassName(), Utf8(e.Message).c_str());
    return 1;
  }
}
