#include "platform/win/Files.h"

#include "platform/win/Prefix.h"
#include "platform/win/WinInternal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

struct TFindState {
  struct TEntry {
    int Time;
    int64_t Size;
    int Attr;
    AnsiString Name;
  };
  std::vector<TEntry> Entries;
  size_t Next = 0;
};

namespace {

bool Fail(DWORD code) {
  SetLastError(code);
  return false;
}

bool StatPath(const std::string& path, struct stat& st) { return ::stat(path.c_str(), &st) == 0; }

std::string ParentOf(const std::string& unixPath) {
  const size_t slash = unixPath.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return unixPath.substr(0, slash);
}

// Windows tells a missing file from a missing folder on the way to it.
DWORD NotFoundCode(const std::string& unixPath) {
  struct stat st {};
  return StatPath(ParentOf(unixPath), st) && S_ISDIR(st.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                 : ERROR_PATH_NOT_FOUND;
}

DWORD ErrorFor(int err, const std::string& unixPath) {
  if (err == ENOENT) return NotFoundCode(unixPath);
  return ErrnoToWin32(err);
}

bool Map(const AnsiString& winPath, std::string& unixPath) {
  if (winPath.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  return TryWinPathToUnix(winPath, unixPath);
}

// Days from 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

// 1899-12-30, day 0 of TDateTime, counted from 1970-01-01.
constexpr int64_t DateTimeEpoch = -25569;

TDateTime ComposeDateTime(int64_t days, int64_t msOfDay) {
  const double frac = static_cast<double>(msOfDay) / 86400000.0;
  return days >= 0 ? static_cast<double>(days) + frac : static_cast<double>(days) - frac;
}

// Splits a TDateTime into days and milliseconds of the day (the fraction counts from
// midnight on both sides of day 0, as Delphi's dates do).
void SplitDateTime(TDateTime value, int64_t& days, int64_t& msOfDay) {
  days = static_cast<int64_t>(std::trunc(value));
  msOfDay = std::llround(std::fabs(value - static_cast<double>(days)) * 86400000.0);
  if (msOfDay >= 86400000) {
    msOfDay -= 86400000;
    days += value >= 0 ? 1 : -1;
  }
}

// The calendar date and time of day of a finite TDateTime, to the second (the rest of
// the fields are left zero), and the milliseconds past that second.
std::tm CalendarTimeOf(TDateTime value, int64_t* milliseconds = nullptr) {
  int64_t days = 0, ms = 0;
  SplitDateTime(value, days, ms);
  int y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days + DateTimeEpoch, y, m, d);
  std::tm t{};
  t.tm_year = y - 1900;
  t.tm_mon = static_cast<int>(m) - 1;
  t.tm_mday = static_cast<int>(d);
  t.tm_hour = static_cast<int>(ms / 3600000);
  t.tm_min = static_cast<int>(ms / 60000 % 60);
  t.tm_sec = static_cast<int>(ms / 1000 % 60);
  if (milliseconds) *milliseconds = ms % 1000;
  return t;
}

int DosDateOf(const std::tm& t) {
  const int year = t.tm_year + 1900;
  if (year < 1980 || year > 2107) return -1;
  const uint32_t v = (static_cast<uint32_t>(year - 1980) << 25) | (static_cast<uint32_t>(t.tm_mon + 1) << 21) |
                     (static_cast<uint32_t>(t.tm_mday) << 16) | (static_cast<uint32_t>(t.tm_hour) << 11) |
                     (static_cast<uint32_t>(t.tm_min) << 5) | (static_cast<uint32_t>(t.tm_sec) / 2);
  return static_cast<int>(v);
}

bool DecodeDosDate(int fileDate, int& year, int& month, int& day, int& hour, int& min, int& sec) {
  const uint32_t v = static_cast<uint32_t>(fileDate);
  year = static_cast<int>(v >> 25) + 1980;
  month = static_cast<int>((v >> 21) & 0x0F);
  day = static_cast<int>((v >> 16) & 0x1F);
  hour = static_cast<int>((v >> 11) & 0x1F);
  min = static_cast<int>((v >> 5) & 0x3F);
  sec = static_cast<int>(v & 0x1F) * 2;
  return month >= 1 && month <= 12 && day >= 1 && day <= DaysInAMonth(year, month) && hour < 24 &&
         min < 60 && sec < 60;
}

int DosDateOfUnixTime(time_t t) {
  std::tm local{};
  if (!localtime_r(&t, &local)) return -1;
  return DosDateOf(local);
}

bool SetModifiedTime(const AnsiString& fileName, int64_t seconds, int64_t nanoseconds, DWORD& error) {
  std::string path;
  if (!Map(fileName, path)) {
    error = GetLastError();
    return false;
  }
  timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(seconds);
  times[1].tv_nsec = static_cast<long>(nanoseconds);
  if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
    error = ErrorFor(errno, path);
    return false;
  }
  return true;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Windows mask semantics on case-folded text: "*" any run, "?" one character.
bool Glob(const WideString& name, const WideString& mask) {
  size_t n = 0, m = 0, starM = WideString::npos, starN = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == u'?' || mask[m] == name[n])) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == u'*') {
      starM = m++;
      starN = n;
    } else if (starM != WideString::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

}  // namespace

// ---- Linux side -----------------------------------------------------------------------

bool ReadUnixFile(const std::string& path, std::string& content, int& err) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    err = errno;
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    err = EISDIR;
    return false;
  }
  std::string data;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  content = std::move(data);
  err = 0;
  return true;
}

int WriteUnixFileAtomic(const std::string& path, const std::string& content) {
  std::string target = path;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    // Replace the file a link points to, not the link.
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
  }
  const bool existed = ::stat(target.c_str(), &st) == 0;
  if (existed && S_ISDIR(st.st_mode)) return EISDIR;
  const size_t slash = target.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temp = dir + "/." + base + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  int err = 0;
  if (::fchmod(fd, existed ? (st.st_mode & 07777) : 0644) != 0 ||
      !WriteAll(fd, content.data(), content.size()) || ::fsync(fd) != 0)
    err = errno ? errno : EIO;
  if (::close(fd) != 0 && !err) err = errno;
  if (!err && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
  if (err) ::unlink(temp.c_str());
  return err;
}

TDateTime UnixTimeToDateTime(int64_t seconds, int64_t nanoseconds) {
  const time_t t = static_cast<time_t>(seconds);
  std::tm local{};
  localtime_r(&t, &local);
  const int64_t days = DaysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                     static_cast<unsigned>(local.tm_mday)) - DateTimeEpoch;
  const int64_t ms = (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) * 1000LL + nanoseconds / 1000000;
  return ComposeDateTime(days, ms);
}

bool DateTimeToUnixTime(TDateTime value, int64_t& seconds, int64_t& nanoseconds) {
  if (!std::isfinite(value)) return false;
  int64_t ms = 0;
  std::tm t = CalendarTimeOf(value, &ms);
  t.tm_isdst = -1;
  errno = 0;
  const time_t result = std::mktime(&t);
  if (result == static_cast<time_t>(-1) && errno != 0) return false;
  seconds = result;
  nanoseconds = ms * 1000000;
  return true;
}

// ---- Path strings ---------------------------------------------------------------------

AnsiString ExpandFileName(const AnsiString& fileName) {
  if (fileName.empty()) return "";
  AnsiString s = fileName;
  std::replace(s.begin(), s.end(), '/', '\\');  // '/' is never the second byte of a character
  if (s.size() >= 4 && s[0] == '\\' && s[1] == '\\' && (s[2] == '?' || s[2] == '.') && s[3] == '\\')
    return s;

  AnsiString root, rest;
  const auto isDrive = [](const AnsiString& p) {
    return p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]));
  };
  if (s.size() >= 2 && s[0] == '\\' && s[1] == '\\') {
    const std::vector<AnsiString> parts = SplitAnsi(s.substr(2), '\\');
    root = "\\\\" + parts[0];
    size_t used = 2 + parts[0].size();
    if (parts.size() > 1) {
      root += "\\" + parts[1];
      used += 1 + parts[1].size();
    }
    rest = s.substr(used);
  } else if (isDrive(s)) {
    if (s.size() >= 3 && s[2] == '\\') {
      root = s.substr(0, 2);
      rest = s.substr(2);
    } else {
      // "C:name" is relative to the current folder of that drive.
      const AnsiString cur = GetCurrentDir();
      if (isDrive(cur) && std::toupper(static_cast<unsigned char>(cur[0])) == std::toupper(static_cast<unsigned char>(s[0])))
        return s.size() == 2 ? cur : ExpandFileName(IncludeTrailingBackslash(cur) + s.substr(2));
      root = s.substr(0, 2);
      rest = "\\" + s.substr(2);
    }
  } else {
    const AnsiString cur = GetCurrentDir();
    if (s[0] == '\\') return ExpandFileName(ExtractFileDrive(cur) + s);
    return ExpandFileName(IncludeTrailingBackslash(cur) + s);
  }

  std::vector<AnsiString> names;
  for (const AnsiString& part : SplitAnsi(rest, '\\')) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    names.push_back(part);
  }
  AnsiString r = root;
  for (const AnsiString& n : names) r += "\\" + n;
  if (names.empty() || (!rest.empty() && IsPathDelimiter(rest, static_cast<int>(rest.size()))))
    r += "\\";
  return r;
}

// ---- Files and folders ----------------------------------------------------------------

bool FileExists(const AnsiString& fileName) {
  std::string path;
  struct stat st {};
  if (!Map(fileName, path)) return false;
  if (!StatPath(path, st)) return Fail(NotFoundCode(path));
  return !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const AnsiString& dir) {
  std::string path;
  struct stat st {};
  if (!Map(dir, path)) return false;
  if (!StatPath(path, st)) return Fail(NotFoundCode(path));
  return S_ISDIR(st.st_mode);
}

bool CreateDir(const AnsiString& dir) {
  std::string path;
  if (!Map(dir, path)) return false;
  if (::mkdir(path.c_str(), 0777) != 0)
    return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrnoToWin32(errno));
  return true;
}

bool ForceDirectories(const AnsiString& dir) {
  if (dir.empty()) return Fail(ERROR_INVALID_NAME);
  const AnsiString full = ExcludeTrailingBackslash(ExpandFileName(dir));
  if (DirectoryExists(IncludeTrailingBackslash(full))) return true;
  const AnsiString parent = ExtractFileDir(full);
  if (parent.empty() || parent == full || parent.size() < 2) return false;
  if (parent.size() == 2 && parent[1] == ':') {
    if (!DirectoryExists(parent + "\\")) return Fail(ERROR_PATH_NOT_FOUND);
  } else if (!ForceDirectories(parent)) {
    return false;
  }
  return CreateDir(full) || DirectoryExists(full);
}

bool RemoveDir(const AnsiString& dir) {
  std::string path;
  if (!Map(dir, path)) return false;
  if (::rmdir(path.c_str()) != 0) return Fail(ErrorFor(errno, path));
  return true;
}

bool DeleteFile(const AnsiString& fileName) {
  std::string path;
  struct stat st {};
  if (!Map(fileName, path)) return false;
  if (::lstat(path.c_str(), &st) != 0) return Fail(NotFoundCode(path));
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (::unlink(path.c_str()) != 0) return Fail(ErrorFor(errno, path));
  return true;
}

bool RenameFile(const AnsiString& oldName, const AnsiString& newName) {
  std::string from, to;
  struct stat st {};
  if (!Map(oldName, from) || !Map(newName, to)) return false;
  if (::lstat(from.c_str(), &st) != 0) return Fail(NotFoundCode(from));
  if (to == from) {
    // Only the case differs: give the name the new spelling.
    to = ParentOf(from) + "/" + AnsiNameToUtf8(ExtractFileName(ExcludeTrailingBackslash(ExpandFileName(newName))));
    if (to == from) return true;
    if (::rename(from.c_str(), to.c_str()) != 0) return Fail(ErrorFor(errno, to));
    return true;
  }
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno == EINVAL || errno == ENOSYS) {  // file systems without RENAME_NOREPLACE
    if (::lstat(to.c_str(), &st) == 0) return Fail(ERROR_ALREADY_EXISTS);
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
  }
  return Fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : ErrorFor(errno, to));
}

BOOL CopyFile(const AnsiString& existingFileName, const AnsiString& newFileName, BOOL bFailIfExists) {
  std::string from, to, content;
  struct stat source {}, target {};
  int err = 0;
  if (!Map(existingFileName, from) || !Map(newFileName, to)) return FALSE;
  if (!StatPath(from, source)) return Fail(NotFoundCode(from));
  if (S_ISDIR(source.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (StatPath(to, target)) {
    if (bFailIfExists) return Fail(ERROR_FILE_EXISTS);
    if (S_ISDIR(target.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    if (target.st_dev == source.st_dev && target.st_ino == source.st_ino) return Fail(ERROR_ACCESS_DENIED);
  }
  if (!ReadUnixFile(from, content, err)) return Fail(ErrorFor(err, from));
  if ((err = WriteUnixFileAtomic(to, content)) != 0) return Fail(ErrorFor(err, to));
  ::chmod(to.c_str(), source.st_mode & 07777);
  timespec times[2] = {source.st_atim, source.st_mtim};
  ::utimensat(AT_FDCWD, to.c_str(), times, 0);
  return TRUE;
}

bool ReadFileBytes(const AnsiString& fileName, AnsiString& content) {
  std::string path;
  int err = 0;
  if (!Map(fileName, path)) return false;
  if (!ReadUnixFile(path, content, err)) return Fail(ErrorFor(err, path));
  return true;
}

bool WriteFileBytes(const AnsiString& fileName, const AnsiString& content) {
  std::string path;
  if (!Map(fileName, path)) return false;
  if (const int err = WriteUnixFileAtomic(path, content)) return Fail(ErrorFor(err, path));
  return true;
}

bool AppendFileBytes(const AnsiString& fileName, const AnsiString& content) {
  std::string path;
  if (!Map(fileName, path)) return false;
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Fail(ErrorFor(errno, path));
  const bool ok = WriteAll(fd, content.data(), content.size());
  const int err = errno;
  ::close(fd);
  if (!ok) return Fail(ErrnoToWin32(err));
  return true;
}

// ---- File dates -----------------------------------------------------------------------

int FileAge(const AnsiString& fileName) {
  std::string path;
  struct stat st {};
  if (!Map(fileName, path)) return -1;
  if (!StatPath(path, st) || S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return -1;
  }
  return DosDateOfUnixTime(st.st_mtim.tv_sec);
}

bool FileAge(const AnsiString& fileName, TDateTime& fileDateTime) {
  std::string path;
  struct stat st {};
  if (!Map(fileName, path)) return false;
  if (!StatPath(path, st) || S_ISDIR(st.st_mode)) return Fail(ERROR_FILE_NOT_FOUND);
  fileDateTime = UnixTimeToDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  return true;
}

int FileSetDate(const AnsiString& fileName, int age) {
  int year, month, day, hour, min, sec;
  if (!DecodeDosDate(age, year, month, day, hour, min, sec)) return static_cast<int>(ERROR_INVALID_PARAMETER);
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = min;
  t.tm_sec = sec;
  t.tm_isdst = -1;
  const time_t seconds = std::mktime(&t);
  DWORD error = ERROR_SUCCESS;
  if (!SetModifiedTime(fileName, seconds, 0, error)) return static_cast<int>(error);
  return 0;
}

bool FileSetDateTime(const AnsiString& fileName, TDateTime dateTime) {
  int64_t seconds = 0, nanoseconds = 0;
  if (!DateTimeToUnixTime(dateTime, seconds, nanoseconds)) return Fail(ERROR_INVALID_PARAMETER);
  DWORD error = ERROR_SUCCESS;
  if (!SetModifiedTime(fileName, seconds, nanoseconds, error)) return Fail(error);
  return true;
}

TDateTime FileDateToDateTime(int fileDate) {
  int year, month, day, hour, min, sec;
  if (!DecodeDosDate(fileDate, year, month, day, hour, min, sec))
    throw EConvertError("Invalid file date " + std::to_string(fileDate));
  const int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - DateTimeEpoch;
  return ComposeDateTime(days, (hour * 3600 + min * 60 + sec) * 1000LL);
}

int DateTimeToFileDate(TDateTime dateTime) {
  if (!std::isfinite(dateTime)) return 0;
  const std::tm t = CalendarTimeOf(dateTime);
  const int dos = DosDateOf(t);
  return dos == -1 ? 0 : dos;
}

// ---- Listing folders ------------------------------------------------------------------

bool MatchesFileMask(const AnsiString& name, const AnsiString& mask) {
  if (mask == "*" || mask == "*.*") return true;
  const WideString n = NameKey(name);
  const WideString m = NameKey(mask);
  if (Glob(n, m)) return true;
  // "name.*" also matches "name", and "name." matches only "name".
  if (n.find(u'.') == WideString::npos) {
    if (m.size() >= 2 && m.compare(m.size() - 2, 2, u".*") == 0) return Glob(n, m.substr(0, m.size() - 2));
    if (!m.empty() && m.back() == u'.') return Glob(n, m.substr(0, m.size() - 1));
  }
  return false;
}

int FindFirst(const AnsiString& path, int attr, TSearchRec& f) {
  FindClose(f);
  const AnsiString full = ExpandFileName(path);
  const AnsiString folder = ExtractFilePath(full);
  const AnsiString mask = ExtractFileName(full);
  if (mask.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return static_cast<int>(ERROR_FILE_NOT_FOUND);
  }
  std::string dir;
  struct stat st {};
  if (!Map(folder, dir)) return static_cast<int>(GetLastError());
  if (!StatPath(dir, st) || !S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return static_cast<int>(ERROR_PATH_NOT_FOUND);
  }
  const int exclude = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  const bool isRoot = ExcludeTrailingBackslash(folder) == ExtractFileDrive(full) || dir == "/";

  auto state = std::make_shared<TFindState>();
  DIR* d = ::opendir(dir.c_str());
  if (!d) {
    const DWORD code = ErrnoToWin32(errno);
    SetLastError(code);
    return static_cast<int>(code);
  }
  while (dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    const bool dots = name == "." || name == "..";
    if (dots && isRoot) continue;
    struct stat es {};
    const std::string entryPath = dir + "/" + name;
    if (!StatPath(entryPath, es) && ::lstat(entryPath.c_str(), &es) != 0) continue;
    int a = S_ISDIR(es.st_mode) ? faDirectory : faArchive;
    if (!(es.st_mode & S_IWUSR)) a |= faReadOnly;
    if (!dots && name[0] == '.') a |= faHidden;
    if (a & exclude) continue;
    const AnsiString ansi = Utf8NameToAnsi(name);
    if (!dots && !MatchesFileMask(ansi, mask)) continue;
    if (dots && !(mask == "*" || mask == "*.*" || mask == ansi)) continue;
    state->Entries.push_back({DosDateOfUnixTime(es.st_mtim.tv_sec),
                              S_ISDIR(es.st_mode) ? 0 : static_cast<int64_t>(es.st_size), a, ansi});
  }
  ::closedir(d);
  // "." and ".." first, then by name ignoring case, as NTFS lists a folder.
  std::vector<std::pair<WideString, size_t>> order;
  for (size_t i = 0; i < state->Entries.size(); ++i) {
    const AnsiString& n = state->Entries[i].Name;
    order.emplace_back(n == "." ? u"\x01" : n == ".." ? u"\x02" : NameKey(n), i);
  }
  std::sort(order.begin(), order.end());
  std::vector<TFindState::TEntry> sorted;
  for (const auto& o : order) sorted.push_back(std::move(state->Entries[o.second]));
  state->Entries = std::move(sorted);
  if (state->Entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return static_cast<int>(ERROR_FILE_NOT_FOUND);
  }
  f.ExcludeAttr = exclude;
  f.FindHandle = state;
  return FindNext(f);
}

int FindNext(TSearchRec& f) {
  TFindState* state = f.FindHandle.get();
  if (!state || state->Next >= state->Entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return static_cast<int>(ERROR_NO_MORE_FILES);
  }
  const TFindState::TEntry& e = state->Entries[state->Next++];
  f.Time = e.Time;
  f.Size = e.Size;
  f.Attr = e.Attr;
  f.Name = e.Name;
  return 0;
}

void FindClose(TSearchRec& f) { f.FindHandle.reset(); }
