// Functions shared by the units of the emulated Windows environment; not part of the
// surface the module sees.
#pragma once

#include "platform/win/Windows.h"

#include <array>
#include <mutex>
#include <string>
#include <vector>

// Guards the prefix state, the registry and the module table. Recursive because a load
// of the prefix reads files through the same functions that take it.
std::recursive_mutex& PrefixMutex();

// Lead bytes of a double-byte code page (CP_ACP and CP_OEMCP resolved); all false for
// single-byte pages and UTF-8.
const std::array<bool, 256>& LeadByteTable(UINT codePage);

// Byte length of the character that starts at s[i].
inline size_t CharLength(const std::array<bool, 256>& lead, const AnsiString& s, size_t i) {
  return (lead[static_cast<unsigned char>(s[i])] && i + 1 < s.size()) ? 2 : 1;
}

// Splits at single-byte occurrences of sep; double-byte characters are never split.
std::vector<AnsiString> SplitAnsi(const AnsiString& s, char sep, UINT codePage = CP_ACP);

// File names: ANSI text in the process code page on the Windows side, UTF-8 on disk.
std::string AnsiNameToUtf8(const AnsiString& name);
AnsiString Utf8NameToAnsi(const std::string& name);

DWORD ErrnoToWin32(int err);

// Files on the Linux side. Reading fills err with errno on failure. Writing replaces the
// file through a temporary file in the same folder and returns 0 or an errno value; the
// old file stays intact when anything fails.
bool ReadUnixFile(const std::string& path, std::string& content, int& err);
int WriteUnixFileAtomic(const std::string& path, const std::string& content);

// The prefix folder; raises EInOutError when none is set or it does not exist.
std::string RequirePrefixDir();

// Local time of a Linux time stamp as TDateTime, and back.
TDateTime UnixTimeToDateTime(int64_t seconds, int64_t nanoseconds);
bool DateTimeToUnixTime(TDateTime value, int64_t& seconds, int64_t& nanoseconds);
