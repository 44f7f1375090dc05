#include "platform/win/Windows.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/Files.h"
#include "platform/win/Prefix.h"
#include "platform/win/WinInternal.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>

namespace {

thread_local DWORD LastError = ERROR_SUCCESS;

constexpr UINT CP_THREAD_ACP = 3;

UINT ResolveCodePage(UINT codePage) {
  if (codePage == CP_ACP || codePage == CP_THREAD_ACP) return GetACP();
  if (codePage == CP_OEMCP) return GetOEMCP();
  return codePage;
}

struct TConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using TConverterPtr = std::unique_ptr<UConverter, TConverterCloser>;

UConverter* OpenConverter(UINT cp) {
  std::vector<std::string> names;
  switch (cp) {
    case 936: names = {"windows-936"}; break;
    case 950: names = {"windows-950"}; break;
    case 437: names = {"ibm-437"}; break;
    case 1252: names = {"windows-1252"}; break;
    case CP_UTF8: names = {"UTF-8"}; break;
    default:
      names = {"windows-" + std::to_string(cp), "ibm-" + std::to_string(cp)};
      break;
  }
  for (const std::string& name : names) {
    UErrorCode e = U_ZERO_ERROR;
    UConverter* c = ucnv_open(name.c_str(), &e);
    if (U_SUCCESS(e) && c) return c;
    if (c) ucnv_close(c);
  }
  return nullptr;
}

// One converter per code page and thread: ICU converters carry state and must not be
// shared between threads.
UConverter* Converter(UINT cp) {
  thread_local std::map<UINT, TConverterPtr> cache;
  auto it = cache.find(cp);
  if (it == cache.end()) it = cache.emplace(cp, TConverterPtr(OpenConverter(cp))).first;
  if (it->second) ucnv_reset(it->second.get());
  return it->second.get();
}

enum class TConvertResult { Ok, BadCodePage, Invalid };

TConvertResult ConvertToWide(UINT cp, const char* src, size_t len, bool strict, WideString& out) {
  UConverter* c = Converter(cp);
  if (!c) return TConvertResult::BadCodePage;
  UErrorCode e = U_ZERO_ERROR;
  ucnv_setToUCallBack(c, strict ? UCNV_TO_U_CALLBACK_STOP : UCNV_TO_U_CALLBACK_SUBSTITUTE,
                      nullptr, nullptr, nullptr, &e);
  out.assign(len * 2 + 2, u'\0');
  e = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(c, out.data(), static_cast<int32_t>(out.size()), src,
                                  static_cast<int32_t>(len), &e);
  if (U_FAILURE(e)) {
    out.clear();
    return TConvertResult::Invalid;
  }
  out.resize(static_cast<size_t>(n));
  return TConvertResult::Ok;
}

struct TFromUContext {
  const char* Default;
  int8_t DefaultLength;
  bool Strict;
  bool Used;
};

void FromUnicodeCallback(const void* context, UConverterFromUnicodeArgs* args, const UChar*,
                         int32_t, UChar32, UConverterCallbackReason reason, UErrorCode* err) {
  if (reason != UCNV_UNASSIGNED && reason != UCNV_ILLEGAL && reason != UCNV_IRREGULAR) return;
  auto* ctx = static_cast<TFromUContext*>(const_cast<void*>(context));
  if (ctx->Strict) return;  // *err stays set: the conversion stops
  ctx->Used = true;
  *err = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, ctx->Default, ctx->DefaultLength, 0, err);
}

TConvertResult ConvertFromWide(UINT cp, const char16_t* src, size_t len, bool bestFit,
                               bool strict, const char* defaultChar, std::string& out,
                               bool& usedDefault) {
  usedDefault = false;
  UConverter* c = Converter(cp);
  if (!c) return TConvertResult::BadCodePage;
  TFromUContext ctx{"?", 1, strict, false};
  std::string defaultBytes;
  if (cp == CP_UTF8) {
    ctx.Default = "\xEF\xBF\xBD";  // U+FFFD for a lone surrogate, as Windows writes it
    ctx.DefaultLength = 3;
  } else if (defaultChar && *defaultChar) {
    const bool lead = LeadByteTable(cp)[static_cast<unsigned char>(defaultChar[0])];
    defaultBytes.assign(defaultChar, lead && defaultChar[1] ? 2 : 1);
    ctx.Default = defaultBytes.c_str();
    ctx.DefaultLength = static_cast<int8_t>(defaultBytes.size());
  }
  UErrorCode e = U_ZERO_ERROR;
  ucnv_setFromUCallBack(c, FromUnicodeCallback, &ctx, nullptr, nullptr, &e);
  ucnv_setFallback(c, bestFit);
  out.assign(len * 4 + 4, '\0');
  e = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(c, out.data(), static_cast<int32_t>(out.size()), src,
                                    static_cast<int32_t>(len), &e);
  if (U_FAILURE(e)) {
    out.clear();
    return TConvertResult::Invalid;
  }
  out.resize(static_cast<size_t>(n));
  usedDefault = ctx.Used;
  return TConvertResult::Ok;
}

[[noreturn]] void BadCodePage(UINT cp) {
  throw EConvertError("Code page " + std::to_string(cp) + " is not supported");
}

AnsiString UpperAsciiDbcs(const AnsiString& s) {
  const auto& lead = LeadByteTable(CP_ACP);
  AnsiString r = s;
  for (size_t i = 0; i < r.size();) {
    const size_t n = CharLength(lead, r, i);
    if (n == 1 && r[i] >= 'a' && r[i] <= 'z') r[i] = static_cast<char>(r[i] - 'a' + 'A');
    i += n;
  }
  return r;
}

// Cuts s to at most maxChars characters without splitting a double-byte character.
AnsiString CutChars(const AnsiString& s, size_t maxChars) {
  const auto& lead = LeadByteTable(CP_ACP);
  size_t i = 0, chars = 0;
  while (i < s.size() && chars < maxChars) {
    i += CharLength(lead, s, i);
    ++chars;
  }
  return s.substr(0, i);
}

// Copies text into a Win32 output buffer: the length without the zero, or the size
// needed including the zero when the buffer is too small.
DWORD CopyOut(const AnsiString& text, char* buffer, DWORD size) {
  if (!buffer || size < text.size() + 1) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return static_cast<DWORD>(text.size() + 1);
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

// The runtime calls these from its own static initialisation and from destructors, where
// an exception would end the process: a prefix that cannot be read shows up at the next
// direct use instead.
int HookedACP() {
  try {
    return static_cast<int>(GetACP());
  } catch (const Exception&) {
    return 936;
  }
}

AnsiString HookedWideToAnsi(const WideString& w) {
  try {
    return WideToAnsi(w);
  } catch (const Exception&) {
    return WideToAnsi(w, 936);
  }
}

// The runtime library converts through whatever the environment installs.
[[maybe_unused]] const bool HooksInstalled = [] {
  GetACPHook = HookedACP;
  WideToAnsiHook = HookedWideToAnsi;
  return true;
}();

}  // namespace

std::recursive_mutex& PrefixMutex() {
  static auto* m = new std::recursive_mutex;
  return *m;
}

// ---- Errors and time ------------------------------------------------------------------

DWORD GetLastError() { return LastError; }
void SetLastError(DWORD errorCode) { LastError = errorCode; }

DWORD GetTickCount() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<DWORD>(ms);
}

DWORD ErrnoToWin32(int err) {
  switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case ENAMETOOLONG:
    case EINVAL: return ERROR_INVALID_NAME;
    default: return ERROR_WRITE_FAULT;
  }
}

// ---- Code pages -----------------------------------------------------------------------

UINT GetACP() {
  if (GetPrefixDir().empty()) return 936;
  return PlatformSettings().ACP;
}

UINT GetOEMCP() {
  switch (GetACP()) {
    case 874: return 874;
    case 932: return 932;
    case 936: return 936;
    case 949: return 949;
    case 950: return 950;
    case 1250: return 852;
    case 1251: return 866;
    case 1253: return 737;
    case 1254: return 857;
    case 1255: return 862;
    case 1256: return 720;
    case 1257: return 775;
    default: return 437;
  }
}

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, const char* lpMultiByteStr, int cbMultiByte,
                        WCHAR* lpWideCharStr, int cchWideChar) {
  if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
      (cchWideChar > 0 && !lpWideCharStr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const UINT cp = ResolveCodePage(CodePage);
  const DWORD allowed = cp == CP_UTF8 ? MB_ERR_INVALID_CHARS
                                      : (MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS |
                                         MB_ERR_INVALID_CHARS);
  if (dwFlags & ~allowed) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  const size_t len = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
  WideString out;
  switch (ConvertToWide(cp, lpMultiByteStr, len, (dwFlags & MB_ERR_INVALID_CHARS) != 0, out)) {
    case TConvertResult::Ok: break;
    case TConvertResult::BadCodePage: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    case TConvertResult::Invalid: SetLastError(ERROR_NO_UNICODE_TRANSLATION); return 0;
  }
  if (cchWideChar == 0) return static_cast<int>(out.size());
  if (out.size() > static_cast<size_t>(cchWideChar)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(lpWideCharStr, out.data(), out.size() * sizeof(WCHAR));
  return static_cast<int>(out.size());
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, const WCHAR* lpWideCharStr, int cchWideChar,
                        char* lpMultiByteStr, int cbMultiByte, const char* lpDefaultChar,
                        BOOL* lpUsedDefaultChar) {
  if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
      (cbMultiByte > 0 && !lpMultiByteStr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const UINT cp = ResolveCodePage(CodePage);
  if (cp == CP_UTF8) {
    if (dwFlags & ~WC_ERR_INVALID_CHARS) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    if (lpDefaultChar || lpUsedDefaultChar) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  } else if (dwFlags & ~(WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR |
                         WC_NO_BEST_FIT_CHARS)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  size_t len = static_cast<size_t>(cchWideChar);
  if (cchWideChar == -1) {
    len = 0;
    while (lpWideCharStr[len]) ++len;
    ++len;
  }
  std::string out;
  bool used = false;
  switch (ConvertFromWide(cp, lpWideCharStr, len, (dwFlags & WC_NO_BEST_FIT_CHARS) == 0,
                          (dwFlags & WC_ERR_INVALID_CHARS) != 0, lpDefaultChar, out, used)) {
    case TConvertResult::Ok: break;
    case TConvertResult::BadCodePage: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    case TConvertResult::Invalid: SetLastError(ERROR_NO_UNICODE_TRANSLATION); return 0;
  }
  if (lpUsedDefaultChar) *lpUsedDefaultChar = used ? TRUE : FALSE;
  if (cbMultiByte == 0) return static_cast<int>(out.size());
  if (out.size() > static_cast<size_t>(cbMultiByte)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(lpMultiByteStr, out.data(), out.size());
  return static_cast<int>(out.size());
}

WideString AnsiToWide(const AnsiString& text, UINT codePage) {
  const UINT cp = ResolveCodePage(codePage);
  WideString out;
  if (ConvertToWide(cp, text.data(), text.size(), false, out) == TConvertResult::BadCodePage)
    BadCodePage(cp);
  return out;
}

AnsiString WideToAnsi(const WideString& text, UINT codePage, bool* usedDefault) {
  const UINT cp = ResolveCodePage(codePage);
  std::string out;
  bool used = false;
  if (ConvertFromWide(cp, text.data(), text.size(), true, false, nullptr, out, used) ==
      TConvertResult::BadCodePage)
    BadCodePage(cp);
  if (usedDefault) *usedDefault = used;
  return out;
}

const std::array<bool, 256>& LeadByteTable(UINT codePage) {
  const UINT cp = ResolveCodePage(codePage);
  static std::mutex mutex;
  static auto* tables = new std::map<UINT, std::array<bool, 256>>;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = tables->find(cp);
  if (it != tables->end()) return it->second;
  std::array<bool, 256> table{};
  if (cp != CP_UTF8) {
    if (TConverterPtr c{OpenConverter(cp)}; c && ucnv_getMaxCharSize(c.get()) == 2) {
      UBool starters[256] = {};
      UErrorCode e = U_ZERO_ERROR;
      ucnv_getStarters(c.get(), starters, &e);
      if (U_SUCCESS(e))
        for (int i = 0; i < 256; ++i) table[static_cast<size_t>(i)] = starters[i] != 0;
    }
  }
  return tables->emplace(cp, table).first->second;
}

BOOL IsDBCSLeadByte(BYTE TestChar) { return LeadByteTable(CP_ACP)[TestChar] ? TRUE : FALSE; }
BOOL IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar) {
  return LeadByteTable(CodePage)[TestChar] ? TRUE : FALSE;
}

WideString NameKey(const AnsiString& name, UINT codePage) {
  const WideString w = AnsiToWide(name, codePage);
  WideString key;
  key.reserve(w.size());
  for (size_t i = 0; i < w.size();) {
    UChar32 c;
    U16_NEXT(w.data(), i, w.size(), c);
    c = u_toupper(c);
    if (U_IS_BMP(c)) {
      key.push_back(static_cast<char16_t>(c));
    } else {
      key.push_back(static_cast<char16_t>(U16_LEAD(c)));
      key.push_back(static_cast<char16_t>(U16_TRAIL(c)));
    }
  }
  return key;
}

int lstrcmpi(const AnsiString& a, const AnsiString& b) {
  const int r = NameKey(a).compare(NameKey(b));
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::vector<AnsiString> SplitAnsi(const AnsiString& s, char sep, UINT codePage) {
  const auto& lead = LeadByteTable(codePage);
  std::vector<AnsiString> parts;
  size_t start = 0;
  for (size_t i = 0; i < s.size();) {
    const size_t n = CharLength(lead, s, i);
    if (n == 1 && s[i] == sep) {
      parts.push_back(s.substr(start, i - start));
      start = i + 1;
    }
    i += n;
  }
  parts.push_back(s.substr(start));
  return parts;
}

std::string AnsiNameToUtf8(const AnsiString& name) {
  return WideToAnsi(AnsiToWide(name, CP_ACP), CP_UTF8);
}

AnsiString Utf8NameToAnsi(const std::string& name) {
  return WideToAnsi(AnsiToWide(name, CP_UTF8), CP_ACP);
}

// ---- System information ---------------------------------------------------------------

DWORD GetTempPath(DWORD nBufferLength, char* lpBuffer) {
  return CopyOut(GetTempPath(), lpBuffer, nBufferLength);
}

AnsiString GetTempPath() {
  AnsiString path = PlatformSettings().TempPath;
  if (path.empty()) path = "C:\\windows\\temp";
  path = IncludeTrailingBackslash(path);
  if (!DirectoryExists(path)) ForceDirectories(path);
  return path;
}

DWORD GetLongPathName(const char* lpszShortPath, char* lpszLongPath, DWORD cchBuffer) {
  if (!lpszShortPath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const AnsiString shortPath = lpszShortPath;
  std::string unixPath;
  AnsiString resolved;
  if (!TryWinPathToUnix(shortPath, unixPath)) return 0;
  struct stat st {};
  if (::stat(unixPath.c_str(), &st) != 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  if (!TryResolveWinPath(shortPath, resolved)) return 0;
  return CopyOut(resolved, lpszLongPath, cchBuffer);
}

AnsiString GetLongPathName(const AnsiString& shortPath) {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetLongPathName(shortPath.c_str(), buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return "";
  return AnsiString(buffer, n);
}

AnsiString GetUserName() { return PlatformSettings().UserName; }

BOOL GetUserName(char* lpBuffer, DWORD* lpnSize) {
  if (!lpnSize) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const AnsiString name = GetUserName();
  const DWORD needed = static_cast<DWORD>(name.size() + 1);
  if (!lpBuffer || *lpnSize < needed) {
    *lpnSize = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(lpBuffer, name.c_str(), needed);
  *lpnSize = needed;
  return TRUE;
}

AnsiString GetComputerName() {
  return CutChars(UpperAsciiDbcs(PlatformSettings().ComputerName), MAX_COMPUTERNAME_LENGTH);
}

BOOL GetComputerName(char* lpBuffer, DWORD* lpnSize) {
  if (!lpnSize) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const AnsiString name = GetComputerName();
  if (!lpBuffer || *lpnSize < name.size() + 1) {
    *lpnSize = static_cast<DWORD>(name.size() + 1);
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return FALSE;
  }
  std::memcpy(lpBuffer, name.c_str(), name.size() + 1);
  *lpnSize = static_cast<DWORD>(name.size());
  return TRUE;
}
