#include "platform/win/Profile.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/Files.h"
#include "platform/win/WinInternal.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// The first single-byte c in s; a double-byte character's second byte may look like "]".
size_t FindChar(const AnsiString& s, char c, UINT codePage) {
  const auto& lead = LeadByteTable(codePage);
  for (size_t i = 0; i < s.size();) {
    const size_t n = CharLength(lead, s, i);
    if (n == 1 && s[i] == c) return i;
    i += n;
  }
  return AnsiString::npos;
}

bool HasLineBreak(const AnsiString& s) { return s.find_first_of("\r\n") != AnsiString::npos; }

AnsiString Unquote(const AnsiString& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    return value.substr(1, value.size() - 2);
  return value;
}

// A profile file named without a folder lives in the Windows folder.
AnsiString ProfilePath(const char* fileName) {
  const AnsiString name = fileName ? fileName : "";
  if (ExtractFilePath(name).empty()) return "C:\\windows\\" + name;
  return name;
}

TProfileText LoadProfile(const AnsiString& path) {
  AnsiString content;
  if (!ReadFileBytes(path, content)) content.clear();
  return TProfileText(content);
}

// Copies a list of zero-terminated names into a Win32 buffer, ending with another zero.
DWORD CopyList(const std::vector<AnsiString>& names, char* buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  if (size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  AnsiString list;
  for (const AnsiString& n : names) {
    list += n;
    list.push_back('\0');
  }
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    return static_cast<DWORD>(list.size() == 0 ? 0 : list.size());
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

// Adds name to names unless a name of the same key came before (kept in seen).
void AddNameOnce(const AnsiString& name, const WideString& key, std::vector<WideString>& seen,
                 std::vector<AnsiString>& names) {
  if (std::find(seen.begin(), seen.end(), key) != seen.end()) return;
  seen.push_back(key);
  names.push_back(name);
}

}  // namespace

TProfileText::TProfileText(const AnsiString& content, UINT codePage) : FCodePage(codePage) { Parse(content); }

void TProfileText::Parse(const AnsiString& content) {
  FLines.clear();
  FLineBreak = content.find("\r\n") != AnsiString::npos || content.find('\n') == AnsiString::npos ? "\r\n" : "\n";
  FEndsWithBreak = content.empty() || content.back() == '\n';
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == AnsiString::npos) end = content.size();
    AnsiString raw = content.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    start = end + 1;

    TLine line;
    line.Raw = raw;
    const AnsiString t = Trim(raw);
    if (t.empty() || t[0] == ';') {
      line.Kind = TLine::Other;
    } else if (t[0] == '[') {
      line.Kind = TLine::Section;
      const size_t close = FindChar(t, ']', FCodePage);
      line.Name = Trim(t.substr(1, close == AnsiString::npos ? AnsiString::npos : close - 1));
      line.Key = NameKey(line.Name, FCodePage);
    } else {
      line.Kind = TLine::Entry;
      const size_t eq = t.find('=');
      line.Name = Trim(t.substr(0, eq));
      line.Value = eq == AnsiString::npos ? AnsiString() : Trim(t.substr(eq + 1));
      line.Key = NameKey(line.Name, FCodePage);
    }
    FLines.push_back(std::move(line));
  }
}

int TProfileText::FindSection(const WideString& key) const {
  for (size_t i = 0; i < FLines.size(); ++i)
    if (FLines[i].Kind == TLine::Section && FLines[i].Key == key) return static_cast<int>(i);
  return -1;
}

int TProfileText::SectionEnd(int header) const {
  size_t i = static_cast<size_t>(header) + 1;
  while (i < FLines.size() && FLines[i].Kind != TLine::Section) ++i;
  return static_cast<int>(i);
}

int TProfileText::FindEntry(int header, const WideString& key) const {
  const int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i)
    if (FLines[static_cast<size_t>(i)].Kind == TLine::Entry && FLines[static_cast<size_t>(i)].Key == key) return i;
  return -1;
}

bool TProfileText::SectionExists(const AnsiString& section) const {
  return FindSection(NameKey(Trim(section), FCodePage)) >= 0;
}

bool TProfileText::ReadValue(const AnsiString& section, const AnsiString& key, AnsiString& value) const {
  const int header = FindSection(NameKey(Trim(section), FCodePage));
  if (header < 0) return false;
  const int entry = FindEntry(header, NameKey(Trim(key), FCodePage));
  if (entry < 0) return false;
  value = Unquote(FLines[static_cast<size_t>(entry)].Value);
  return true;
}

bool TProfileText::ValueExists(const AnsiString& section, const AnsiString& key) const {
  AnsiString ignored;
  return ReadValue(section, key, ignored);
}

AnsiString TProfileText::ReadString(const AnsiString& section, const AnsiString& key,
                                    const AnsiString& defaultValue) const {
  AnsiString value;
  return ReadValue(section, key, value) ? value : defaultValue;
}

std::vector<AnsiString> TProfileText::SectionNames() const {
  std::vector<AnsiString> names;
  std::vector<WideString> seen;
  for (const TLine& line : FLines) {
    if (line.Kind != TLine::Section) continue;
    AddNameOnce(line.Name, line.Key, seen, names);
  }
  return names;
}

std::vector<AnsiString> TProfileText::KeyNames(const AnsiString& section) const {
  std::vector<AnsiString> names;
  const int header = FindSection(NameKey(Trim(section), FCodePage));
  if (header < 0) return names;
  std::vector<WideString> seen;
  const int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i) {
    const TLine& line = FLines[static_cast<size_t>(i)];
    if (line.Kind != TLine::Entry) continue;
    AddNameOnce(line.Name, line.Key, seen, names);
  }
  return names;
}

bool TProfileText::WriteString(const AnsiString& section, const AnsiString& key, const AnsiString& value) {
  const AnsiString s = Trim(section), k = Trim(key);
  if (s.empty() || FindChar(s, ']', FCodePage) != AnsiString::npos || HasLineBreak(s)) return false;
  if (k.empty() || k.find('=') != AnsiString::npos || k[0] == '[' || k[0] == ';' || HasLineBreak(k))
    return false;
  if (HasLineBreak(value)) return false;

  TLine entry;
  entry.Kind = TLine::Entry;
  entry.Name = k;
  entry.Key = NameKey(k, FCodePage);
  entry.Value = Trim(value);
  entry.Raw = k + "=" + value;

  int header = FindSection(NameKey(s, FCodePage));
  if (header < 0) {
    if (!FLines.empty() && !Trim(FLines.back().Raw).empty()) FLines.push_back(TLine{});
    TLine head;
    head.Kind = TLine::Section;
    head.Name = s;
    head.Key = NameKey(s, FCodePage);
    head.Raw = "[" + s + "]";
    FLines.push_back(std::move(head));
    FLines.push_back(std::move(entry));
    FEndsWithBreak = true;
    return true;
  }
  const int existing = FindEntry(header, entry.Key);
  if (existing >= 0) {
    TLine& line = FLines[static_cast<size_t>(existing)];
    line.Value = entry.Value;
    line.Raw = line.Name + "=" + value;
    return true;
  }
  int last = header;
  const int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i)
    if (!Trim(FLines[static_cast<size_t>(i)].Raw).empty()) last = i;
  FLines.insert(FLines.begin() + last + 1, std::move(entry));
  return true;
}

void TProfileText::DeleteKey(const AnsiString& section, const AnsiString& key) {
  const int header = FindSection(NameKey(Trim(section), FCodePage));
  if (header < 0) return;
  const WideString k = NameKey(Trim(key), FCodePage);
  for (int i = FindEntry(header, k); i >= 0; i = FindEntry(header, k))
    FLines.erase(FLines.begin() + i);
}

void TProfileText::EraseSection(const AnsiString& section) {
  const WideString k = NameKey(Trim(section), FCodePage);
  for (int header = FindSection(k); header >= 0; header = FindSection(k))
    FLines.erase(FLines.begin() + header, FLines.begin() + SectionEnd(header));
}

AnsiString TProfileText::Text() const {
  AnsiString text;
  for (size_t i = 0; i < FLines.size(); ++i) {
    if (i > 0) text += FLineBreak;
    text += FLines[i].Raw;
  }
  if (!FLines.empty() && FEndsWithBreak) text += FLineBreak;
  return text;
}

// ---- Win32 forms ----------------------------------------------------------------------

DWORD GetPrivateProfileString(const char* lpAppName, const char* lpKeyName, const char* lpDefault,
                              char* lpReturnedString, DWORD nSize, const char* lpFileName) {
  const TProfileText profile = LoadProfile(ProfilePath(lpFileName));
  if (!lpAppName) return CopyList(profile.SectionNames(), lpReturnedString, nSize);
  if (!lpKeyName) return CopyList(profile.KeyNames(lpAppName), lpReturnedString, nSize);
  if (!lpReturnedString || nSize == 0) return 0;
  const AnsiString value = profile.ReadString(lpAppName, lpKeyName, TrimRight(lpDefault ? lpDefault : ""));
  const size_t n = std::min<size_t>(value.size(), nSize - 1);
  std::memcpy(lpReturnedString, value.data(), n);
  lpReturnedString[n] = '\0';
  return static_cast<DWORD>(n);
}

UINT GetPrivateProfileInt(const char* lpAppName, const char* lpKeyName, int nDefault, const char* lpFileName) {
  if (!lpAppName || !lpKeyName) return static_cast<UINT>(nDefault);
  const TProfileText profile = LoadProfile(ProfilePath(lpFileName));
  AnsiString value;
  if (!profile.ReadValue(lpAppName, lpKeyName, value) || value.empty()) return static_cast<UINT>(nDefault);
  return static_cast<UINT>(std::strtol(value.c_str(), nullptr, 10));
}

BOOL WritePrivateProfileString(const char* lpAppName, const char* lpKeyName, const char* lpString,
                               const char* lpFileName) {
  if (!lpAppName || !lpFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const AnsiString path = ProfilePath(lpFileName);
  AnsiString content;
  if (!ReadFileBytes(path, content)) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return FALSE;
    content.clear();
  }
  TProfileText profile(content);
  if (!lpKeyName) {
    profile.EraseSection(lpAppName);
  } else if (!lpString) {
    profile.DeleteKey(lpAppName, lpKeyName);
  } else if (!profile.WriteString(lpAppName, lpKeyName, lpString)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return WriteFileBytes(path, profile.Text()) ? TRUE : FALSE;
}
