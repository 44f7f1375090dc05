// A library for the tests of LoadLibrary and friends. Kept out of the test program's
// sources (which are the folder's .cpp files) on purpose.
#include "platform/win/Windows.h"

#ifdef WIN_PROBE_SIBLING

extern "C" int WinProbeSiblingAnswer() { return 7; }

#else

extern "C" int WinProbeAnswer() { return 42; }

// Loads a library by name from inside this library, so the search starts in its folder.
extern "C" HMODULE WinProbeLoad(const char* name) { return LoadLibrary(name); }

// This library's own handle, as Delphi's HInstance gives it.
extern "C" HMODULE WinProbeSelf() { return GetModuleHandleFromAddress(reinterpret_cast<const void*>(&WinProbeAnswer)); }

#endif
