// The prefix: the folder that holds this machine's view of Windows (drives, network
// shares, the registry and the platform settings), and the mapping between Windows paths
// and the files that stand for them.
//
// Layout of a prefix (named by the environment variable TAVO_PREFIX):
//   drive_c/, drive_d/ ...       one folder per drive letter
//   unc/<server>/<share>/...     network shares
//   system.reg                   the registry (REGEDIT4)
//   platform.ini                 [Platform] ACP, UserName, ComputerName, TempPath,
//                                HostExe, LibraryPath (";"-separated folders)
//
// Windows names are ANSI text in the process code page; names on disk are UTF-8.
#pragma once

#include "platform/win/Windows.h"

#include <string>
#include <vector>

// The settings of platform.ini, with their defaults filled in.
struct TPlatformSettings {
  UINT ACP = 936;
  AnsiString UserName;
  AnsiString ComputerName;
  AnsiString TempPath;                 // as written, may hold 8.3 aliases
  AnsiString HostExe;                  // Windows path of the host executable, may be ""
  std::vector<AnsiString> LibraryPath;  // Windows folders
};

// Points the process at another prefix ("" = none) and forgets everything loaded from
// the previous one; also sets TAVO_PREFIX for programs started from here.
void SetPrefix(const std::string& unixDir);
// Forgets what was loaded, so that the next use reads the prefix's files again.
void ReloadPrefix();
// The prefix folder as configured (may be "" when none is set); loads nothing.
std::string GetPrefixDir();
// Counts prefix switches and reloads, so that caches built from the prefix can tell
// when they are stale.
unsigned PrefixGeneration();

// The settings; raises EInOutError naming the folder when TAVO_PREFIX is unset, the
// folder is missing, or platform.ini cannot be read.
const TPlatformSettings& PlatformSettings();

// Maps a Windows path (drive, UNC, or relative) onto the prefix. Existing names match
// case-insensitively and through their 8.3 aliases; missing ones are used as given.
// Drive Z: without a drive_z folder is the Linux root. Fails (false, with GetLastError
// ERROR_PATH_NOT_FOUND, ERROR_BAD_NETPATH or ERROR_INVALID_NAME) for an unknown drive or
// share or a name Windows does not allow; raises EInOutError for a missing prefix.
bool TryWinPathToUnix(const AnsiString& winPath, std::string& unixPath);
// As TryWinPathToUnix, but a path that cannot be mapped raises EInOutError naming it.
std::string WinPathToUnix(const AnsiString& winPath);

// The same walk as TryWinPathToUnix, answering the path's Windows spelling with every
// existing name as it is stored (long names for aliases); missing names stay as given.
bool TryResolveWinPath(const AnsiString& winPath, AnsiString& resolved);

// The Windows path of a Linux file: inside drive_x -> "X:\...", inside unc -> "\\server
// \share\...", elsewhere "Z:\..." (or "\\?\unix\..." when Z: is a drive of the prefix).
AnsiString UnixPathToWin(const std::string& unixPath);

// The 8.3 alias Windows gives the long name `name` when it is the `ordinal`-th (1-based)
// long name of its folder sharing the same first six characters and extension
// ("Documents and Settings" -> "DOCUME~1"); a name that is already 8.3 gives itself in
// upper case.
AnsiString ShortNameOf(const AnsiString& name, int ordinal = 1);
