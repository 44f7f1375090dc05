#include "platform/rtl/SysUtils.h"

#include <unicode/ucnv.h>
#include <unicode/ucol.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

const char* ERangeError::ClassName() const { return "ERangeError"; }

// ---- Code page -----------------------------------------------------------------------

namespace {

int DefaultGetACP() { return 936; }

AnsiString AsciiWideToAnsi(const WideString& w) {
  AnsiString result;
  result.reserve(w.size());
  for (size_t i = 0; i < w.size(); ++i) {
    char16_t c = w[i];
    if (c < 0x80) {
      result += static_cast<char>(c);
    } else {
      // A surrogate pair is one character, so one replacement.
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF)
        ++i;
      result += '?';
    }
  }
  return result;
}

}  // namespace

int (*GetACPHook)() = DefaultGetACP;
AnsiString (*WideToAnsiHook)(const WideString&) = AsciiWideToAnsi;

bool IsDBCSLeadByteOfACP(unsigned char b) {
  switch (GetACPHook()) {
    case 936:
    case 949:
    case 950:
      return b >= 0x81 && b <= 0xFE;
    case 932:
      return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    default:
      return false;
  }
}

namespace {

UConverter* OpenCodePageConverter(int acp) {
  for (const AnsiString& name : {"windows-" + std::to_string(acp), "cp" + std::to_string(acp),
                                 "ibm-" + std::to_string(acp)}) {
    UErrorCode err = U_ZERO_ERROR;
    UConverter* conv = ucnv_open(name.c_str(), &err);
    if (U_SUCCESS(err)) return conv;
  }
  return nullptr;
}

// Length in bytes of the character starting at s[i]: 2 for a lead byte with a trail.
size_t CharLen(const AnsiString& s, size_t i) {
  return (i + 1 < s.size() && IsDBCSLeadByteOfACP(static_cast<unsigned char>(s[i]))) ? 2 : 1;
}

// The role of every byte of s, computed in one pass.
std::vector<TMbcsByteType> ByteTypes(const AnsiString& s) {
  std::vector<TMbcsByteType> types(s.size(), mbSingleByte);
  for (size_t i = 0; i < s.size();) {
    if (CharLen(s, i) == 2) {
      types[i] = mbLeadByte;
      types[i + 1] = mbTrailByte;
      i += 2;
    } else {
      ++i;
    }
  }
  return types;
}

}  // namespace

TMbcsByteType ByteType(const AnsiString& s, int index) {
  if (index < 1 || static_cast<size_t>(index) > s.size()) return mbSingleByte;
  const size_t target = static_cast<size_t>(index - 1);
  for (size_t i = 0; i < s.size();) {
    const size_t len = CharLen(s, i);
    if (target < i + len) {
      if (len == 1) return mbSingleByte;
      return target == i ? mbLeadByte : mbTrailByte;
    }
    i += len;
  }
  return mbSingleByte;
}

// ---- Blanks, case and comparison -----------------------------------------------------

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

AnsiString Trim(const AnsiString& s) {
  size_t first = 0, last = s.size();
  while (first < last && IsBlank(s[first])) ++first;
  while (last > first && IsBlank(s[last - 1])) --last;
  return s.substr(first, last - first);
}

AnsiString TrimLeft(const AnsiString& s) {
  size_t first = 0;
  while (first < s.size() && IsBlank(s[first])) ++first;
  return s.substr(first);
}

AnsiString TrimRight(const AnsiString& s) {
  size_t last = s.size();
  while (last > 0 && IsBlank(s[last - 1])) --last;
  return s.substr(0, last);
}

char UpCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

namespace {
char LoCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
}  // namespace

AnsiString UpperCase(const AnsiString& s) {
  AnsiString r = s;
  for (char& c : r) c = UpCase(c);
  return r;
}

AnsiString LowerCase(const AnsiString& s) {
  AnsiString r = s;
  for (char& c : r) c = LoCase(c);
  return r;
}

int CompareStr(const AnsiString& a, const AnsiString& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int CompareText(const AnsiString& a, const AnsiString& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(UpCase(a[i]));
    const unsigned char y = static_cast<unsigned char>(UpCase(b[i]));
    if (x != y) return x - y;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(const AnsiString& a, const AnsiString& b) { return CompareText(a, b) == 0; }

namespace {

// Case mapping of a single-byte character in the ANSI code page. Windows-1252 maps its
// Latin letters too; double-byte code pages only ASCII.
unsigned char MapCase(unsigned char c, bool upper, int acp) {
  if (upper) {
    if (c >= 'a' && c <= 'z') return c - 32;
  } else {
    if (c >= 'A' && c <= 'Z') return c + 32;
  }
  if (acp != 1252) return c;
  if (upper) {
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    switch (c) {
      case 0x9A: return 0x8A;
      case 0x9C: return 0x8C;
      case 0x9E: return 0x8E;
      case 0xFF: return 0x9F;
      default: return c;
    }
  }
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

AnsiString AnsiMapCase(const AnsiString& s, bool upper) {
  const int acp = GetACPHook();
  AnsiString r = s;
  for (size_t i = 0; i < r.size();) {
    if (CharLen(r, i) == 2) {
      i += 2;
    } else {
      r[i] = static_cast<char>(MapCase(static_cast<unsigned char>(r[i]), upper, acp));
      ++i;
    }
  }
  return r;
}

// Collation in the locale that goes with the ANSI code page, as the Windows comparison
// functions use the user's locale. One set of ICU objects per thread and code page.
class TCollation {
public:
  explicit TCollation(int acp) : Acp(acp) {
    Converter = OpenCodePageConverter(acp);
    const char* locale = "";
    switch (acp) {
      case 936: locale = "zh_CN"; break;
      case 950: locale = "zh_TW"; break;
      case 932: locale = "ja_JP"; break;
      case 949: locale = "ko_KR"; break;
      case 1252: locale = "en_US"; break;
      default: break;
    }
    CaseSensitive = OpenCollator(locale, UCOL_TERTIARY);
    CaseInsensitive = OpenCollator(locale, UCOL_SECONDARY);
  }
  ~TCollation() {
    if (Converter) ucnv_close(Converter);
    if (CaseSensitive) ucol_close(CaseSensitive);
    if (CaseInsensitive) ucol_close(CaseInsensitive);
  }
  TCollation(const TCollation&) = delete;
  TCollation& operator=(const TCollation&) = delete;

  // -1, 0, 1 by the locale's rules; 0 also when collation is unavailable.
  int Compare(const AnsiString& a, const AnsiString& b, bool ignoreCase) {
    UCollator* coll = ignoreCase ? CaseInsensitive : CaseSensitive;
    if (!coll || !Converter) return 0;
    const std::u16string wa = ToWide(a), wb = ToWide(b);
    switch (ucol_strcoll(coll, wa.data(), static_cast<int32_t>(wa.size()), wb.data(),
                         static_cast<int32_t>(wb.size()))) {
      case UCOL_LESS: return -1;
      case UCOL_EQUAL: return 0;
      case UCOL_GREATER: return 1;
    }
    return 0;
  }

  const int Acp;

private:
  // Windows sorts Latin letters before ideographs in every locale; ICU's Chinese
  // tailorings put Han first, so that reordering is removed.
  static UCollator* OpenCollator(const char* locale, UCollationStrength strength) {
    UErrorCode err = U_ZERO_ERROR;
    UCollator* coll = ucol_open(locale, &err);
    if (U_FAILURE(err)) return nullptr;
    const int32_t noReordering[] = {UCOL_REORDER_CODE_NONE};
    ucol_setReorderCodes(coll, noReordering, 1, &err);
    ucol_setStrength(coll, strength);
    return coll;
  }

  std::u16string ToWide(const AnsiString& s) {
    std::u16string w(s.size() + 1, u'\0');
    UErrorCode err = U_ZERO_ERROR;
    ucnv_reset(Converter);
    const int32_t n = ucnv_toUChars(Converter, w.data(), static_cast<int32_t>(w.size()), s.data(),
                                    static_cast<int32_t>(s.size()), &err);
    if (U_FAILURE(err) && err != U_STRING_NOT_TERMINATED_WARNING) {
      // Undecodable bytes: compare them as Latin-1 so nothing is lost.
      w.assign(s.begin(), s.end());
      for (size_t i = 0; i < s.size(); ++i) w[i] = static_cast<unsigned char>(s[i]);
      return w;
    }
    w.resize(static_cast<size_t>(n));
    return w;
  }

  UConverter* Converter = nullptr;
  UCollator* CaseSensitive = nullptr;
  UCollator* CaseInsensitive = nullptr;
};

TCollation& CollationForACP() {
  thread_local std::unique_ptr<TCollation> collation;
  const int acp = GetACPHook();
  if (!collation || collation->Acp != acp) collation = std::make_unique<TCollation>(acp);
  return *collation;
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

AnsiString AnsiUpperCase(const AnsiString& s) { return AnsiMapCase(s, true); }
AnsiString AnsiLowerCase(const AnsiString& s) { return AnsiMapCase(s, false); }

int AnsiCompareStr(const AnsiString& a, const AnsiString& b) {
  if (a == b) return 0;
  const int r = CollationForACP().Compare(a, b, false);
  // The locale's rules ignore some characters; distinct texts must not be equal.
  return r != 0 ? r : Sign(CompareStr(a, b));
}

int AnsiCompareText(const AnsiString& a, const AnsiString& b) {
  const AnsiString ua = AnsiUpperCase(a), ub = AnsiUpperCase(b);
  if (ua == ub) return 0;
  const int r = CollationForACP().Compare(a, b, true);
  return r != 0 ? r : Sign(CompareStr(ua, ub));
}

bool AnsiSameStr(const AnsiString& a, const AnsiString& b) { return a == b; }
bool AnsiSameText(const AnsiString& a, const AnsiString& b) { return AnsiUpperCase(a) == AnsiUpperCase(b); }

// ---- Searching and editing -----------------------------------------------------------

int Pos(const AnsiString& sub, const AnsiString& s) {
  if (sub.empty()) return 0;
  const size_t p = s.find(sub);
  return p == AnsiString::npos ? 0 : static_cast<int>(p) + 1;
}

int PosEx(const AnsiString& sub, const AnsiString& s, int offset) {
  if (sub.empty() || offset < 1 || static_cast<size_t>(offset) > s.size()) return 0;
  const size_t p = s.find(sub, static_cast<size_t>(offset - 1));
  return p == AnsiString::npos ? 0 : static_cast<int>(p) + 1;
}

int AnsiPos(const AnsiString& sub, const AnsiString& s) {
  if (sub.empty() || sub.size() > s.size()) return 0;
  for (size_t i = 0; i + sub.size() <= s.size(); i += CharLen(s, i))
    if (s.compare(i, sub.size(), sub) == 0) return static_cast<int>(i) + 1;
  return 0;
}

AnsiString Copy(const AnsiString& s, int index, int count) {
  if (index < 1) index = 1;
  if (count <= 0 || static_cast<size_t>(index) > s.size()) return AnsiString();
  return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

void Delete(AnsiString& s, int index, int count) {
  if (index < 1 || count <= 0 || static_cast<size_t>(index) > s.size()) return;
  s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

void Insert(const AnsiString& source, AnsiString& s, int index) {
  if (index < 1) index = 1;
  const size_t at = std::min(static_cast<size_t>(index - 1), s.size());
  s.insert(at, source);
}

AnsiString StringOfChar(char c, int count) {
  return count > 0 ? AnsiString(static_cast<size_t>(count), c) : AnsiString();
}

AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern,
                         const AnsiString& newPattern, TReplaceFlags flags) {
  if (oldPattern.empty()) return s;
  const bool ignoreCase = flags.Contains(rfIgnoreCase);
  // Case mapping keeps byte lengths, so positions found in the mapped copy hold in s.
  const AnsiString search = ignoreCase ? AnsiUpperCase(s) : s;
  const AnsiString pattern = ignoreCase ? AnsiUpperCase(oldPattern) : oldPattern;
  AnsiString result;
  size_t from = 0;
  while (from < s.size()) {
    const int p = AnsiPos(pattern, search.substr(from));
    if (p == 0) break;
    const size_t at = from + static_cast<size_t>(p - 1);
    result.append(s, from, at - from);
    result += newPattern;
    from = at + pattern.size();
    if (!flags.Contains(rfReplaceAll)) break;
  }
  if (from < s.size()) result.append(s, from, AnsiString::npos);
  return result;
}

AnsiString QuotedStr(const AnsiString& s) { return AnsiQuotedStr(s, '\''); }

AnsiString AnsiQuotedStr(const AnsiString& s, char quote) {
  AnsiString r;
  r.reserve(s.size() + 2);
  r += quote;
  for (size_t i = 0; i < s.size();) {
    const size_t len = CharLen(s, i);
    if (len == 1 && s[i] == quote) r += quote;
    r.append(s, i, len);
    i += len;
  }
  r += quote;
  return r;
}

AnsiString AnsiExtractQuotedStr(const AnsiString& text, size_t& pos, char quote) {
  if (pos >= text.size() || text[pos] != quote) return AnsiString();
  AnsiString r;
  size_t i = pos + 1;
  while (i < text.size()) {
    const size_t len = CharLen(text, i);
    if (len == 1 && text[i] == quote) {
      if (i + 1 < text.size() && text[i + 1] == quote) {
        r += quote;
        i += 2;
        continue;
      }
      ++i;  // the closing quote
      pos = i;
      return r;
    }
    r.append(text, i, len);
    i += len;
  }
  pos = text.size();
  return r;
}

AnsiString AnsiDequotedStr(const AnsiString& s, char quote) {
  size_t pos = 0;
  AnsiString r = AnsiExtractQuotedStr(s, pos, quote);
  if ((r.empty() || pos >= s.size()) && !s.empty() && (s.front() != quote || s.back() != quote)) return s;
  return r;
}

int LastDelimiter(const AnsiString& delimiters, const AnsiString& s) {
  const std::vector<TMbcsByteType> types = ByteTypes(s);
  for (size_t i = s.size(); i > 0; --i) {
    const char c = s[i - 1];
    if (c != '\0' && types[i - 1] == mbSingleByte && delimiters.find(c) != AnsiString::npos)
      return static_cast<int>(i);
  }
  return 0;
}

bool IsDelimiter(const AnsiString& delimiters, const AnsiString& s, int index) {
  if (index < 1 || static_cast<size_t>(index) > s.size()) return false;
  const char c = s[static_cast<size_t>(index - 1)];
  return c != '\0' && delimiters.find(c) != AnsiString::npos && ByteType(s, index) == mbSingleByte;
}

// ---- Windows file names --------------------------------------------------------------

bool IsPathDelimiter(const AnsiString& s, int index) {
  return index >= 1 && static_cast<size_t>(index) <= s.size() && s[static_cast<size_t>(index - 1)] == '\\' &&
         ByteType(s, index) == mbSingleByte;
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& s) {
  return IsPathDelimiter(s, static_cast<int>(s.size())) ? s : s + '\\';
}

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& s) {
  return IsPathDelimiter(s, static_cast<int>(s.size())) ? s.substr(0, s.size() - 1) : s;
}

AnsiString IncludeTrailingBackslash(const AnsiString& s) { return IncludeTrailingPathDelimiter(s); }
AnsiString ExcludeTrailingBackslash(const AnsiString& s) { return ExcludeTrailingPathDelimiter(s); }

AnsiString ExtractFilePath(const AnsiString& fileName) {
  return Copy(fileName, 1, LastDelimiter("\\:", fileName));
}

AnsiString ExtractFileDir(const AnsiString& fileName) {
  int i = LastDelimiter("\\:", fileName);
  // Keep the delimiter of a root ("C:\", "\") but drop any other trailing one.
  if (i > 1 && fileName[static_cast<size_t>(i - 1)] == '\\' && !IsDelimiter("\\:", fileName, i - 1)) --i;
  return Copy(fileName, 1, i);
}

AnsiString ExtractFileDrive(const AnsiString& fileName) {
  if (fileName.size() >= 2 && fileName[1] == ':') return fileName.substr(0, 2);
  if (fileName.size() >= 2 && fileName[0] == '\\' && fileName[1] == '\\') {
    // "\\server\share": up to the separator after the share name.
    int separators = 0;
    size_t i = 2;
    while (i < fileName.size()) {
      if (fileName[i] == '\\' && ++separators == 2) break;
      ++i;
    }
    return fileName.substr(0, i);
  }
  return AnsiString();
}

AnsiString ExtractFileName(const AnsiString& fileName) {
  return fileName.substr(static_cast<size_t>(LastDelimiter("\\:", fileName)));
}

AnsiString ExtractFileExt(const AnsiString& fileName) {
  const int i = LastDelimiter(".\\:", fileName);
  if (i > 0 && fileName[static_cast<size_t>(i - 1)] == '.') return fileName.substr(static_cast<size_t>(i - 1));
  return AnsiString();
}

AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension) {
  const int i = LastDelimiter(".\\:", fileName);
  if (i > 0 && fileName[static_cast<size_t>(i - 1)] == '.') return fileName.substr(0, static_cast<size_t>(i - 1)) + extension;
  return fileName + extension;
}

// ---- Integers ------------------------------------------------------------------------

AnsiString IntToStrS(int64_t value) { return std::to_string(value); }
AnsiString IntToStrU(uint64_t value) { return std::to_string(value); }

AnsiString IntToHexU(uint64_t value, int digits) {
  static const char hex[] = "0123456789ABCDEF";
  AnsiString r;
  do {
    r += hex[value & 15];
    value >>= 4;
  } while (value);
  while (static_cast<int>(r.size()) < digits) r += '0';
  std::reverse(r.begin(), r.end());
  return r;
}

namespace {

// Val's integer syntax. Decimal text must fit the signed range; hex text may use all
// bits of the type, as "$FFFFFFFF" reads as -1.
bool ParseInteger(const AnsiString& s, int bits, int64_t& value) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool hexadecimal = false;
  if (i < s.size() && s[i] == '$') {
    hexadecimal = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hexadecimal = true;
    i += 2;
  }
  if (i >= s.size()) return false;
  const uint64_t unsignedMax = bits == 64 ? UINT64_MAX : (uint64_t{1} << bits) - 1;
  const uint64_t signedLimit = uint64_t{1} << (bits - 1);  // |minimum|
  uint64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (hexadecimal && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else if (hexadecimal && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else return false;
    const uint64_t base = hexadecimal ? 16 : 10;
    if (magnitude > (unsignedMax - digit) / base) return false;
    magnitude = magnitude * base + digit;
    if (!hexadecimal && magnitude > signedLimit) return false;
  }
  if (!hexadecimal && !negative && magnitude == signedLimit) return false;
  uint64_t bitsValue = negative ? (~magnitude + 1) : magnitude;
  if (bits < 64) {
    bitsValue &= unsignedMax;
    // Sign-extend from the type's width.
    if (bitsValue & signedLimit) bitsValue |= ~unsignedMax;
  }
  value = static_cast<int64_t>(bitsValue);
  return true;
}

[[noreturn]] void InvalidInteger(const AnsiString& s) {
  throw EConvertError("'" + s + "' is not a valid integer value");
}

}  // namespace

bool TryStrToInt(const AnsiString& s, int& value) {
  int64_t v;
  if (!ParseInteger(s, 32, v)) return false;
  value = static_cast<int>(v);
  return true;
}

int StrToInt(const AnsiString& s) {
  int v;
  if (!TryStrToInt(s, v)) InvalidInteger(s);
  return v;
}

int StrToIntDef(const AnsiString& s, int defaultValue) {
  int v;
  return TryStrToInt(s, v) ? v : defaultValue;
}

bool TryStrToInt64(const AnsiString& s, int64_t& value) { return ParseInteger(s, 64, value); }

int64_t StrToInt64(const AnsiString& s) {
  int64_t v;
  if (!TryStrToInt64(s, v)) InvalidInteger(s);
  return v;
}

int64_t StrToInt64Def(const AnsiString& s, int64_t defaultValue) {
  int64_t v;
  return TryStrToInt64(s, v) ? v : defaultValue;
}

AnsiString BoolToStr(bool value, bool useBoolStrs) {
  if (useBoolStrs) return value ? "True" : "False";
  return value ? "-1" : "0";
}

bool TryStrToBool(const AnsiString& s, bool& value) {
  if (AnsiSameText(s, "True")) {
    value = true;
    return true;
  }
  if (AnsiSameText(s, "False")) {
    value = false;
    return true;
  }
  double number;
  if (!TryStrToFloat(s, number)) return false;
  value = number != 0;
  return true;
}

bool StrToBool(const AnsiString& s) {
  bool v;
  if (!TryStrToBool(s, v)) throw EConvertError("'" + s + "' is not a valid boolean value");
  return v;
}

bool StrToBoolDef(const AnsiString& s, bool defaultValue) {
  bool v;
  return TryStrToBool(s, v) ? v : defaultValue;
}

// ---- Format settings -----------------------------------------------------------------

char DateSeparator;
char TimeSeparator;
char DecimalSeparator;
char ThousandSeparator;
char ListSeparator;
AnsiString ShortDateFormat;
AnsiString LongDateFormat;
AnsiString ShortTimeFormat;
AnsiString LongTimeFormat;
AnsiString TimeAMString;
AnsiString TimePMString;
AnsiString CurrencyString;
uint8_t CurrencyFormat;
uint8_t NegCurrFormat;
uint8_t CurrencyDecimals;
TStaticArray<AnsiString, 1, 12> ShortMonthNames;
TStaticArray<AnsiString, 1, 12> LongMonthNames;
TStaticArray<AnsiString, 1, 7> ShortDayNames;
TStaticArray<AnsiString, 1, 7> LongDayNames;
uint16_t TwoDigitYearCenturyWindow = 50;

namespace {

// Names are kept as UTF-16 and written in the code page in force, so the Chinese
// profiles fit both GB and BIG5 processes.
AnsiString InCodePage(const std::u16string& text, int acp) {
  UConverter* conv = OpenCodePageConverter(acp);
  if (!conv) return WideToAnsiHook(text);
  AnsiString r(text.size() * 4 + 4, '\0');
  UErrorCode err = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(conv, r.data(), static_cast<int32_t>(r.size()), text.data(),
                                    static_cast<int32_t>(text.size()), &err);
  ucnv_close(conv);
  if (U_FAILURE(err)) return WideToAnsiHook(text);
  r.resize(static_cast<size_t>(n));
  return r;
}

}  // namespace

void GetFormatSettings() {
  static const char16_t* const chineseMonths[12] = {u"一月", u"二月", u"三月", u"四月",  u"五月",   u"六月",
                                                    u"七月", u"八月", u"九月", u"十月", u"十一月", u"十二月"};
  static const char16_t* const chineseDays[7] = {u"星期日", u"星期一", u"星期二", u"星期三",
                                                 u"星期四", u"星期五", u"星期六"};
  static const char* const englishMonths[12] = {"January", "February", "March",     "April",
                                                "May",     "June",     "July",      "August",
                                                "September", "October", "November", "December"};
  static const char* const englishDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                             "Thursday", "Friday", "Saturday"};
  const int acp = GetACPHook();
  const bool chinese = acp == 936 || acp == 950;
  for (int m = 1; m <= 12; ++m) {
    LongMonthNames[m] = chinese ? InCodePage(chineseMonths[m - 1], acp) : englishMonths[m - 1];
    ShortMonthNames[m] = chinese ? LongMonthNames[m] : LongMonthNames[m].substr(0, 3);
  }
  for (int d = 1; d <= 7; ++d) {
    LongDayNames[d] = chinese ? InCodePage(chineseDays[d - 1], acp) : englishDays[d - 1];
    ShortDayNames[d] = chinese ? LongDayNames[d] : LongDayNames[d].substr(0, 3);
  }
  TimeSeparator = ':';
  DecimalSeparator = '.';
  ThousandSeparator = ',';
  ListSeparator = ',';
  CurrencyDecimals = 2;
  TwoDigitYearCenturyWindow = 50;
  switch (acp) {
    case 936:
    case 950: {
      const bool prc = acp == 936;
      DateSeparator = prc ? '-' : '/';
      ShortDateFormat = prc ? "yyyy-m-d" : "yyyy/m/d";
      LongDateFormat = InCodePage(u"yyyy'年'm'月'd'日'", acp);
      // Taiwan's clock is twelve-hour with the morning/afternoon mark in front.
      ShortTimeFormat = prc ? "h:mm" : "AMPM hh:mm";
      LongTimeFormat = prc ? "h:mm:ss" : "AMPM hh:mm:ss";
      TimeAMString = InCodePage(u"上午", acp);
      TimePMString = InCodePage(u"下午", acp);
      CurrencyString = prc ? InCodePage(u"￥", acp) : AnsiString("NT$");
      CurrencyFormat = 0;
      NegCurrFormat = prc ? 2 : 1;
      break;
    }
    default:
      DateSeparator = '/';
      ShortDateFormat = "m/d/yyyy";
      LongDateFormat = "dddd, mmmm dd, yyyy";
      ShortTimeFormat = "h:mm AMPM";
      LongTimeFormat = "h:mm:ss AMPM";
      TimeAMString = "AM";
      TimePMString = "PM";
      CurrencyString = "$";
      CurrencyFormat = 0;
      NegCurrFormat = 0;
      break;
  }
}

namespace {
// The settings hold from the start, as the runtime reads them when it loads.
const bool FormatSettingsLoaded = (GetFormatSettings(), true);
}  // namespace
