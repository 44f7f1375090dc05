// The host installation's record, read-only: the registry key "Software\KVT\Steward"
// (HKEY_LOCAL_MACHINE) names the client and server folders, and "StewardC.ini" /
// "StewardS.ini" in those folders (or in the user's profile folder below them) hold the
// settings. Nothing is cached and nothing is written back: a caller creates an object,
// reads what it needs and frees it, so every use sees the installation as it is now.
//
// Failures never raise. ErrorCode holds "E;000015" when the registry key cannot be
// read and "E;000016" (client only) when no application server is configured; values
// that could not be read keep their defaults, so the code pages and conversion modes are
// always meaningful.
#pragma once

#include "platform/ole/Variants.h"
#include "platform/rtl/Classes.h"
#include "platform/win/Windows.h"

#include <memory>

// A folder with a drive part ("D:..." or "\\host\share...") stays as it is; any other
// folder lies below base, even one written with a leading "\".
AnsiString MakeAbsolutePath(const AnsiString& folder, const AnsiString& base);

// The client installation: registry value ClientPath, "StewardC.ini".
class TStewardIniC : public TObject {
  TAVO_CLASS(TStewardIniC, TObject)
public:
  TStewardIniC();
  ~TStewardIniC() override;

  // True when the registry key and the INI file were read completely.
  bool Load();

  AnsiString ClientPath;   // ends in "\" once loaded
  AnsiString ProfilePath;  // the folder "StewardC.ini" was taken from
  AnsiString ProfileType;  // "0" or "" for a shared installation
  AnsiString UserName;     // "Default" unless a per-user profile is used
  AnsiString UICodePage;
  AnsiString DBCodePage;
  AnsiString SystemCodePage;  // the ANSI code page as "936", "950" or "437"
  BYTE UIConvertMode = 0;     // 0, 2 (950 interface) or 4 (936 interface on a 950 system)
  BYTE DBConvertMode = 0;     // 0, 1 (936 to 950 data) or 2 (950 to 936 data)
  bool SupportCallBack = false;
  AnsiString IniFileName;
  // [0..1, 0..n-1]: row 0 the addresses, row 1 the port (one for all); Unassigned when
  // no server list could be built.
  Variant ServerList;
  AnsiString ErrorCode;
  AnsiString LangType;
  std::unique_ptr<TStringList> WorkDLLPaths;  // absolute folders ending in "\"
  AnsiString Version;
#ifndef TAVO_LEGACY
  AnsiString CreateGifBeforeSendEF;
  AnsiString AutoCheckNewMsg;
  AnsiString CheckInterval;
  AnsiString PopupMsg;
  AnsiString LoginCheck;
#endif
};

// The server installation: registry value ServerPath, "StewardS.ini".
class TStewardIniS : public TObject {
  TAVO_CLASS(TStewardIniS, TObject)
public:
  TStewardIniS();
  ~TStewardIniS() override;

  bool Load();
  // Replaces the contents of list with the package folders.
  void GetWorkDLLPaths(TStrings* list) const;

  AnsiString ServerPath;  // ends in "\" once loaded
  AnsiString ProfilePath;
  AnsiString ProfileType;
  AnsiString UserName;
  AnsiString UICodePage;
  AnsiString DBCodePage;
  AnsiString SystemCodePage;
  BYTE UIConvertMode = 0;
  BYTE DBConvertMode = 0;
  bool SupportCallBack = false;
  AnsiString IniFileName;
  // [0..3, 0..7]: rows main, temporary, password control, Ect database; the passwords of
  // the main and temporary database decoded. Unassigned when the INI file was not read.
  Variant DBSettings;
  AnsiString ErrorCode;
  std::unique_ptr<TStringList> WorkDLLPaths;
  AnsiString Version;
  BYTE DBKind = 0;  // 1 Oracle, 2 DB2, 0 any other main database
#ifndef TAVO_LEGACY
  AnsiString SystemControlAddress;
  AnsiString OtherSystemControlAddress;
#endif
};
