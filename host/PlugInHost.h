// The host's side of the plug-in protocol: loading a plug-in library, obtaining its
// controller, and the "run" command that follows the calling order a host keeps.
#pragma once

#include "host/HelmManager.h"
#include "module/entry/Tavo61CHost.h"
#include "platform/win/Windows.h"

#include <memory>
#include <ostream>

inline constexpr const char* DefaultPlugIn = "C:\\KVT\\Client\\Tavo61C.dll";
inline constexpr const char* LegacyPlugIn = "C:\\KVT\\Client\\Legacy\\Tavo61C.dll";

// A loaded plug-in library; unloaded when the object goes, so every controller must be
// freed before.
class TPlugInLibrary {
public:
  // Raises Exception naming the library when it cannot be loaded or lacks GetController.
  explicit TPlugInLibrary(const AnsiString& path);
  ~TPlugInLibrary();
  TPlugInLibrary(const TPlugInLibrary&) = delete;
  TPlugInLibrary& operator=(const TPlugInLibrary&) = delete;

  // A new controller; what GetController raises reaches the caller.
  TDLLBaseController* GetController() const { return FGetController(); }
  HMODULE Handle() const { return FHandle; }

private:
  HMODULE FHandle = nullptr;
  TGetController FGetController = nullptr;
};

struct THostRunOptions {
  AnsiString Library = DefaultPlugIn;
  // Who signs in where; empty fields take the fixture's.
  AnsiString UserId;
  AnsiString CompanyId;
  AnsiString DatabaseName;
};

// The "run" command: load the plug-in, give a controller the host object and the
// notification handler, InitForm, ShowModal (the installed user-interface driver acts on
// the form), let the closed form free itself, read the results, free the controller.
// Writes each step, each notification and the results to out in UTF-8; answers 0 when
// the form was initialised, shown and gone at the end.
int RunPlugIn(const THostRunOptions& options, std::ostream& out);

// Terminal and file output is UTF-8; the emulated system's texts are ANSI.
std::string Utf8(const AnsiString& ansi);
// The same for text in another code page (BIG5 from the language library, say).
std::string Utf8From(const AnsiString& text, UINT codePage);
