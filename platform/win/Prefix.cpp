#include "platform/win/Prefix.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/Files.h"
#include "platform/win/Profile.h"
#include "platform/win/WinInternal.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

namespace {

struct TPrefixState {
  bool EnvironmentRead = false;
  std::string Dir;
  unsigned Generation = 1;
  bool SettingsLoaded = false;
  TPlatformSettings Settings;
  AnsiString CurrentDir;  // "" = the default
};

TPrefixState& State() {
  static auto* state = new TPrefixState;
  if (!state->EnvironmentRead) {
    state->EnvironmentRead = true;
    if (const char* env = std::getenv("TAVO_PREFIX")) state->Dir = env;
  }
  return *state;
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool EntryExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> ListDir(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
      names.emplace_back(e->d_name);
    }
    ::closedir(d);
  }
  return names;
}

// An entry of dir matching name case-insensitively (the exact spelling first), or ""
std::string FindEntryNoCase(const std::string& dir, const std::string& utf8Name) {
  if (EntryExists(dir + "/" + utf8Name)) return utf8Name;
  const WideString key = NameKey(utf8Name, CP_UTF8);
  for (const std::string& entry : ListDir(dir))
    if (NameKey(entry, CP_UTF8) == key) return entry;
  return "";
}

bool IsValidShortName(const AnsiString& name) {
  static const char* invalid = " \"*+,/:;<=>?[\\]|";
  const auto& lead = LeadByteTable(CP_ACP);
  size_t base = 0, ext = 0;
  bool dot = false;
  if (name.empty() || name[0] == '.') return false;
  for (size_t i = 0; i < name.size();) {
    const size_t n = CharLength(lead, name, i);
    if (n == 1) {
      if (name[i] == '.') {
        if (dot) return false;
        dot = true;
        ++i;
        continue;
      }
      if (static_cast<unsigned char>(name[i]) < 0x20 || std::strchr(invalid, name[i])) return false;
    }
    (dot ? ext : base) += n;
    i += n;
  }
  return base >= 1 && base <= 8 && ext <= 3 && !(dot && ext == 0);
}

// The first `maxBytes` bytes of s, without splitting a double-byte character.
AnsiString CutBytes(const AnsiString& s, size_t maxBytes) {
  const auto& lead = LeadByteTable(CP_ACP);
  size_t i = 0;
  while (i < s.size()) {
    const size_t n = CharLength(lead, s, i);
    if (i + n > maxBytes) break;
    i += n;
  }
  return s.substr(0, i);
}

AnsiString ShortNamePart(const AnsiString& s, bool keepDots) {
  const auto& lead = LeadByteTable(CP_ACP);
  AnsiString r;
  for (size_t i = 0; i < s.size();) {
    const size_t n = CharLength(lead, s, i);
    if (n == 2) {
      r.append(s, i, 2);
    } else {
      char c = s[i];
      if (c == ' ' || (c == '.' && !keepDots)) {
        i += n;
        continue;
      }
      if (std::strchr("+,;=[]", c)) c = '_';
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      r.push_back(c);
    }
    i += n;
  }
  return r;
}

// The entry of dir whose 8.3 alias is `alias`, or "".
std::string FindEntryByAlias(const std::string& dir, const AnsiString& alias) {
  struct TEntry {
    std::string Utf8;
    AnsiString Ansi;
    WideString Key;
  };
  std::vector<TEntry> entries;
  for (const std::string& e : ListDir(dir)) {
    AnsiString ansi = Utf8NameToAnsi(e);
    if (IsValidShortName(ansi)) continue;
    entries.push_back({e, ansi, NameKey(ansi)});
  }
  std::sort(entries.begin(), entries.end(),
            [](const TEntry& a, const TEntry& b) { return a.Key < b.Key; });
  const WideString wanted = NameKey(alias);
  std::map<WideString, int> ordinals;
  for (const TEntry& e : entries) {
    const int ordinal = ++ordinals[NameKey(ShortNameOf(e.Ansi, 1))];
    if (NameKey(ShortNameOf(e.Ansi, ordinal)) == wanted) return e.Utf8;
  }
  return "";
}

bool IsValidWinName(const AnsiString& name) {
  const auto& lead = LeadByteTable(CP_ACP);
  for (size_t i = 0; i < name.size();) {
    const size_t n = CharLength(lead, name, i);
    if (n == 1 && (static_cast<unsigned char>(name[i]) < 0x20 || std::strchr("<>:\"/|?*", name[i])))
      return false;
    i += n;
  }
  return true;
}

bool StartsWithNoCase(const AnsiString& s, const char* prefix) {
  const size_t n = std::strlen(prefix);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

struct TWalk {
  std::string Unix;
  AnsiString Win;  // the path with every existing name as stored
};

bool Fail(DWORD code) {
  SetLastError(code);
  return false;
}

// Maps a Windows path onto the prefix, one name at a time.
bool Walk(const AnsiString& winPath, TWalk& out) {
  if (winPath.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  AnsiString full = ExpandFileName(winPath);
  if (StartsWithNoCase(full, "\\\\?\\unix\\") || lstrcmpi(full, "\\\\?\\unix") == 0) {
    std::string unix = "/";
    for (const AnsiString& part : SplitAnsi(full.substr(std::min<size_t>(full.size(), 9)), '\\')) {
      if (part.empty()) continue;
      if (unix.size() > 1) unix += "/";
      unix += AnsiNameToUtf8(part);
    }
    out.Unix = unix;
    out.Win = full;
    return true;
  }
  if (StartsWithNoCase(full, "\\\\?\\UNC\\")) full = "\\\\" + full.substr(8);
  else if (StartsWithNoCase(full, "\\\\?\\") || StartsWithNoCase(full, "\\\\.\\")) full = full.substr(4);

  const std::string prefix = RequirePrefixDir();
  std::string dir;
  AnsiString win;
  std::vector<AnsiString> names;
  if (full.size() >= 2 && full[0] == '\\' && full[1] == '\\') {
    std::vector<AnsiString> parts = SplitAnsi(full.substr(2), '\\');
    if (parts.size() < 2 || parts[0].empty() || parts[1].empty()) return Fail(ERROR_BAD_NETPATH);
    if (!IsValidWinName(parts[0]) || !IsValidWinName(parts[1])) return Fail(ERROR_BAD_NETPATH);
    const std::string unc = FindEntryNoCase(prefix, "unc");
    if (unc.empty()) return Fail(ERROR_BAD_NETPATH);
    const std::string server = FindEntryNoCase(prefix + "/" + unc, AnsiNameToUtf8(parts[0]));
    if (server.empty()) return Fail(ERROR_BAD_NETPATH);
    const std::string share = FindEntryNoCase(prefix + "/" + unc + "/" + server, AnsiNameToUtf8(parts[1]));
    if (share.empty() || !IsDirectory(prefix + "/" + unc + "/" + server + "/" + share))
      return Fail(ERROR_BAD_NETPATH);
    dir = prefix + "/" + unc + "/" + server + "/" + share;
    win = "\\\\" + Utf8NameToAnsi(server) + "\\" + Utf8NameToAnsi(share);
    names.assign(parts.begin() + 2, parts.end());
  } else if (full.size() >= 3 && full[1] == ':' && full[2] == '\\' && std::isalpha(static_cast<unsigned char>(full[0]))) {
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(full[0])));
    const std::string drive = FindEntryNoCase(prefix, std::string("drive_") + letter);
    if (!drive.empty() && IsDirectory(prefix + "/" + drive)) {
      dir = prefix + "/" + drive;
    } else if (letter == 'z') {
      dir = "";  // the Linux root
    } else {
      return Fail(ERROR_PATH_NOT_FOUND);
    }
    win = full.substr(0, 2);
    names = SplitAnsi(full.substr(3), '\\');
  } else {
    return Fail(ERROR_INVALID_NAME);
  }

  bool exists = true;
  bool any = false;
  for (const AnsiString& name : names) {
    if (name.empty()) continue;
    if (!IsValidWinName(name)) return Fail(ERROR_INVALID_NAME);
    any = true;
    const std::string utf8 = AnsiNameToUtf8(name);
    std::string found;
    if (exists) {
      const std::string here = dir.empty() ? "/" : dir;
      found = FindEntryNoCase(here, utf8);
      if (found.empty() && name.find('~') != AnsiString::npos) found = FindEntryByAlias(here, name);
    }
    if (found.empty()) {
      exists = false;
      dir += "/" + utf8;
      win += "\\" + name;
    } else {
      dir += "/" + found;
      win += "\\" + Utf8NameToAnsi(found);
      exists = IsDirectory(dir);
    }
  }
  if (!any) win += "\\";
  else if (full.size() > 3 && full.back() == '\\') win += "\\";
  out.Unix = dir.empty() ? "/" : dir;
  out.Win = win;
  return true;
}

bool PathIsUnder(const std::string& path, const std::string& root, std::string& rest) {
  if (root.empty()) return false;
  std::string r = root;
  while (r.size() > 1 && r.back() == '/') r.pop_back();
  if (path == r) {
    rest.clear();
    return true;
  }
  if (path.size() > r.size() && path.compare(0, r.size(), r) == 0 && path[r.size()] == '/') {
    rest = path.substr(r.size() + 1);
    return true;
  }
  return false;
}

AnsiString JoinWin(const std::vector<std::string>& utf8Parts, size_t from) {
  AnsiString r;
  for (size_t i = from; i < utf8Parts.size(); ++i) {
    if (i > from) r += "\\";
    r += Utf8NameToAnsi(utf8Parts[i]);
  }
  return r;
}

// The Windows path of a file inside the prefix, or "" when it lies outside the drives
// and shares.
AnsiString PrefixRelativeToWin(const std::string& rest) {
  std::vector<std::string> parts;
  for (const AnsiString& p : SplitAnsi(rest, '/', CP_UTF8))
    if (!p.empty()) parts.push_back(p);
  if (parts.empty()) return "";
  const std::string first = parts[0];
  if (first.size() == 7 && StartsWithNoCase(first, "drive_") && std::isalpha(static_cast<unsigned char>(first[6]))) {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(first[6])));
    return AnsiString(1, letter) + ":\\" + JoinWin(parts, 1);
  }
  if (parts.size() >= 3 && StartsWithNoCase(first, "unc") && first.size() == 3) {
    AnsiString r = "\\\\" + Utf8NameToAnsi(parts[1]) + "\\" + Utf8NameToAnsi(parts[2]);
    if (parts.size() > 3) r += "\\" + JoinWin(parts, 3);
    return r;
  }
  return "";
}

}  // namespace

// ---- The prefix -----------------------------------------------------------------------

void SetPrefix(const std::string& unixDir) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  TPrefixState& s = State();
  s.Dir = unixDir;
  if (unixDir.empty())
    ::unsetenv("TAVO_PREFIX");
  else
    ::setenv("TAVO_PREFIX", unixDir.c_str(), 1);
  ++s.Generation;
  s.SettingsLoaded = false;
  s.CurrentDir.clear();
}

void ReloadPrefix() {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  TPrefixState& s = State();
  ++s.Generation;
  s.SettingsLoaded = false;
}

std::string GetPrefixDir() {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  return State().Dir;
}

unsigned PrefixGeneration() {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  return State().Generation;
}

std::string RequirePrefixDir() {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  const std::string dir = State().Dir;
  if (dir.empty())
    throw EInOutError("No Windows environment: TAVO_PREFIX does not name a prefix folder",
                      static_cast<int>(ERROR_PATH_NOT_FOUND));
  if (!IsDirectory(dir))
    throw EInOutError("The prefix folder " + dir + " does not exist",
                      static_cast<int>(ERROR_PATH_NOT_FOUND));
  return dir;
}

const TPlatformSettings& PlatformSettings() {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  TPrefixState& s = State();
  if (s.SettingsLoaded) return s.Settings;
  const std::string file = RequirePrefixDir() + "/platform.ini";
  std::string content;
  int err = 0;
  if (!ReadUnixFile(file, content, err) && err != ENOENT)
    throw EInOutError("Cannot read " + file + ": " + std::strerror(err), static_cast<int>(ErrnoToWin32(err)));

  // Only ASCII matters in the names, and the code page is not known yet.
  const TProfileText ini(content, 1252);
  const AnsiString section = "Platform";
  TPlatformSettings settings;
  const AnsiString acp = ini.ReadString(section, "ACP", "");
  if (!acp.empty()) {
    int value = 0;
    if (!TryStrToInt(acp, value) || value <= 1) 
      throw EInOutError(file + ": ACP=" + acp + " is not a code page", static_cast<int>(ERROR_INVALID_PARAMETER));
    try {
      AnsiToWide("A", static_cast<UINT>(value));
    } catch (const EConvertError&) {
      throw EInOutError(file + ": code page " + acp + " is not supported",
                        static_cast<int>(ERROR_INVALID_PARAMETER));
    }
    settings.ACP = static_cast<UINT>(value);
  }
  const char* user = std::getenv("USER");
  settings.UserName = ini.ReadString(section, "UserName", user && *user ? user : "User");
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0 || !host[0]) std::strcpy(host, "localhost");
  settings.ComputerName = ini.ReadString(section, "ComputerName", host);
  settings.TempPath = ini.ReadString(section, "TempPath", "C:\\windows\\temp\\");
  settings.HostExe = ini.ReadString(section, "HostExe", "");
  for (const AnsiString& folder : SplitAnsi(ini.ReadString(section, "LibraryPath", ""), ';', settings.ACP)) {
    const AnsiString f = Trim(folder);
    if (!f.empty()) settings.LibraryPath.push_back(f);
  }
  s.Settings = std::move(settings);
  s.SettingsLoaded = true;
  return s.Settings;
}

// ---- Current directory ----------------------------------------------------------------

AnsiString GetCurrentDir() {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  TPrefixState& s = State();
  if (!s.CurrentDir.empty()) return s.CurrentDir;
  const AnsiString host = PlatformSettings().HostExe;
  if (!host.empty()) {
    const AnsiString dir = ExtractFileDir(host);
    if (dir.size() == 2 && dir[1] == ':') return dir + "\\";
    if (!dir.empty()) return dir;
  }
  return "C:\\";
}

bool SetCurrentDir(const AnsiString& dir) {
  const AnsiString full = ExpandFileName(dir);
  if (!DirectoryExists(full)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  AnsiString value = ExcludeTrailingBackslash(full);
  if (value.size() == 2 && value[1] == ':') value += "\\";
  State().CurrentDir = value;
  return true;
}

// ---- Mapping --------------------------------------------------------------------------

bool TryWinPathToUnix(const AnsiString& winPath, std::string& unixPath) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  TWalk walk;
  if (!Walk(winPath, walk)) return false;
  unixPath = walk.Unix;
  return true;
}

std::string WinPathToUnix(const AnsiString& winPath) {
  std::string unixPath;
  if (!TryWinPathToUnix(winPath, unixPath)) {
    const DWORD code = GetLastError();
    throw EInOutError("Cannot map the path " + winPath + " (error " + std::to_string(code) + ")",
                      static_cast<int>(code));
  }
  return unixPath;
}

bool TryResolveWinPath(const AnsiString& winPath, AnsiString& resolved) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  TWalk walk;
  if (!Walk(winPath, walk)) return false;
  resolved = walk.Win;
  return true;
}

AnsiString UnixPathToWin(const std::string& unixPath) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path p(unixPath);
  if (p.is_relative()) p = fs::current_path(ec) / p;
  const std::string lexical = p.lexically_normal().string();
  const std::string canonical = fs::weakly_canonical(p, ec).string();

  const std::string prefix = GetPrefixDir();
  std::string prefixCanonical;
  if (!prefix.empty()) prefixCanonical = fs::weakly_canonical(fs::path(prefix), ec).string();
  const std::string prefixLexical = prefix.empty() ? "" : fs::path(prefix).lexically_normal().string();
  for (const std::string& path : {lexical, canonical}) {
    for (const std::string& root : {prefixLexical, prefixCanonical}) {
      std::string rest;
      if (PathIsUnder(path, root, rest)) {
        const AnsiString win = PrefixRelativeToWin(rest);
        if (!win.empty()) return win;
      }
    }
  }
  std::string outside = lexical;
  while (outside.size() > 1 && outside.back() == '/') outside.pop_back();
  AnsiString win;
  for (const AnsiString& part : SplitAnsi(outside, '/', CP_UTF8))
    if (!part.empty()) win += "\\" + Utf8NameToAnsi(part);
  const bool hasDriveZ = !prefix.empty() && IsDirectory(prefix + "/drive_z");
  if (hasDriveZ) return "\\\\?\\unix" + (win.empty() ? AnsiString("\\") : win);
  return "Z:" + (win.empty() ? AnsiString("\\") : win);
}

AnsiString ShortNameOf(const AnsiString& name, int ordinal) {
  if (IsValidShortName(name)) return ShortNamePart(name, true);
  AnsiString stem = name;
  while (!stem.empty() && stem[0] == '.') stem.erase(0, 1);
  AnsiString ext;
  const std::vector<AnsiString> dotted = SplitAnsi(stem, '.');
  if (dotted.size() > 1) {
    ext = CutBytes(ShortNamePart(dotted.back(), false), 3);
    stem.resize(stem.size() - dotted.back().size() - 1);
  }
  const std::string tail = "~" + std::to_string(ordinal < 1 ? 1 : ordinal);
  AnsiString base = CutBytes(ShortNamePart(stem, false), 8 - tail.size());
  AnsiString r = base + tail;
  if (!ext.empty()) r += "." + ext;
  return r;
}
