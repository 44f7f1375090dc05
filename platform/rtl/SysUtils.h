// The runtime's utility routines: Format, string handling in the ANSI code page,
// number and date conversion, and the process-wide format settings.
#pragma once

#include "platform/rtl/System.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

TAVO_EXCEPTION(ERangeError, Exception)

// ---- Fixed arrays with Pascal bounds ------------------------------------------------

// A fixed array indexed from Low to High, as the runtime's name tables are
// (ShortMonthNames[1] is January, LongDayNames[1] is Sunday). An index outside the
// bounds raises ERangeError.
template <typename T, int Low, int High>
struct TStaticArray {
  static_assert(Low <= High);
  T Items[High - Low + 1];

  T& operator[](int index) { return Items[Offset(index)]; }
  const T& operator[](int index) const { return Items[Offset(index)]; }
  static constexpr int LowBound() { return Low; }
  static constexpr int HighBound() { return High; }

private:
  static int Offset(int index) {
    if (index < Low || index > High) throw ERangeError("Range check error");
    return index - Low;
  }
};

// ---- Code page of the process --------------------------------------------------------

// The process's ANSI code page; the emulated Windows environment installs its GetACP.
extern int (*GetACPHook)();

// Converts UTF-16 to the ANSI code page; the code-page layer installs the real
// conversion. The built-in one keeps ASCII and writes '?' for anything else.
extern AnsiString (*WideToAnsiHook)(const WideString&);

// True when b starts a double-byte character in the process's ANSI code page.
bool IsDBCSLeadByteOfACP(unsigned char b);

enum TMbcsByteType { mbSingleByte, mbLeadByte, mbTrailByte };

// The role of the byte at the 1-based index in s (mbSingleByte outside s).
TMbcsByteType ByteType(const AnsiString& s, int index);

// ---- Format settings -----------------------------------------------------------------

extern char DateSeparator;
extern char TimeSeparator;
extern char DecimalSeparator;
extern char ThousandSeparator;
extern char ListSeparator;
extern AnsiString ShortDateFormat;
extern AnsiString LongDateFormat;
extern AnsiString ShortTimeFormat;
extern AnsiString LongTimeFormat;
extern AnsiString TimeAMString;
extern AnsiString TimePMString;
extern AnsiString CurrencyString;
extern uint8_t CurrencyFormat;    // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
extern uint8_t NegCurrFormat;     // 0..15 as the Windows locale setting
extern uint8_t CurrencyDecimals;
extern TStaticArray<AnsiString, 1, 12> ShortMonthNames;
extern TStaticArray<AnsiString, 1, 12> LongMonthNames;
extern TStaticArray<AnsiString, 1, 7> ShortDayNames;  // 1 = Sunday
extern TStaticArray<AnsiString, 1, 7> LongDayNames;
extern uint16_t TwoDigitYearCenturyWindow;

// Loads the settings of the user's locale, chosen by the ANSI code page: 936 Chinese
// (PRC), 950 Chinese (Taiwan), anything else English (United States).
void GetFormatSettings();

// ---- Format --------------------------------------------------------------------------

// Delphi's Format: "%" [index ":"] ["-"] [width] ["." prec] type, with index, width and
// precision also given as "*". Types d u x e f g n m s p and "%%". A missing argument or
// one of the wrong kind, or a width over 1048576, raises EConvertError.
AnsiString Format(const AnsiString& fmt, std::initializer_list<TVarRec> args);
AnsiString Format(const AnsiString& fmt, const TVarRec* args, size_t count);

// ---- Blanks, case and comparison -----------------------------------------------------

// Trim functions strip every character up to and including ' '.
AnsiString Trim(const AnsiString& s);
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);

// ASCII letters only.
AnsiString UpperCase(const AnsiString& s);
AnsiString LowerCase(const AnsiString& s);
char UpCase(char c);
int CompareStr(const AnsiString& a, const AnsiString& b);
int CompareText(const AnsiString& a, const AnsiString& b);
bool SameText(const AnsiString& a, const AnsiString& b);

// Code-page aware: double-byte characters are kept as they are; comparisons follow the
// collation of the code page's locale (pinyin order in 936) and return -1, 0 or 1. Two
// strings compare equal only when they are the same text (AnsiCompareText: up to case).
AnsiString AnsiUpperCase(const AnsiString& s);
AnsiString AnsiLowerCase(const AnsiString& s);
int AnsiCompareStr(const AnsiString& a, const AnsiString& b);
int AnsiCompareText(const AnsiString& a, const AnsiString& b);
bool AnsiSameStr(const AnsiString& a, const AnsiString& b);
bool AnsiSameText(const AnsiString& a, const AnsiString& b);

// ---- Searching and editing (1-based positions, as Pascal strings) --------------------

int Pos(const AnsiString& sub, const AnsiString& s);
int PosEx(const AnsiString& sub, const AnsiString& s, int offset = 1);
// Finds sub only at character boundaries of the code page.
int AnsiPos(const AnsiString& sub, const AnsiString& s);
// Copy clamps index and count to s; an index below 1 counts from 1.
AnsiString Copy(const AnsiString& s, int index, int count);
void Delete(AnsiString& s, int index, int count);
void Insert(const AnsiString& source, AnsiString& s, int index);
AnsiString StringOfChar(char c, int count);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };

// A set of TReplaceFlag, written {rfReplaceAll, rfIgnoreCase}.
struct TReplaceFlags {
  TReplaceFlags() = default;
  TReplaceFlags(std::initializer_list<TReplaceFlag> flags) {
    for (TReplaceFlag f : flags) Bits |= 1u << f;
  }
  bool Contains(TReplaceFlag f) const { return (Bits >> f) & 1u; }
  unsigned Bits = 0;
};

AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern,
                         const AnsiString& newPattern, TReplaceFlags flags);

AnsiString QuotedStr(const AnsiString& s);
AnsiString AnsiQuotedStr(const AnsiString& s, char quote);
// Reads a quoted string starting at text[pos] (0-based) and moves pos past it; an
// unterminated string runs to the end. Empty when text[pos] is not the quote.
AnsiString AnsiExtractQuotedStr(const AnsiString& text, size_t& pos, char quote);
// The text without its quotes, or s itself when it is not a quoted string.
AnsiString AnsiDequotedStr(const AnsiString& s, char quote);

// 1-based index of the last single-byte character of s that is one of delimiters; 0 if none.
int LastDelimiter(const AnsiString& delimiters, const AnsiString& s);
bool IsDelimiter(const AnsiString& delimiters, const AnsiString& s, int index);

// ---- Windows file names (text only) --------------------------------------------------

bool IsPathDelimiter(const AnsiString& s, int index);
AnsiString IncludeTrailingPathDelimiter(const AnsiString& s);
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& s);
AnsiString IncludeTrailingBackslash(const AnsiString& s);
AnsiString ExcludeTrailingBackslash(const AnsiString& s);
AnsiString ExtractFilePath(const AnsiString& fileName);
AnsiString ExtractFileDir(const AnsiString& fileName);
AnsiString ExtractFileDrive(const AnsiString& fileName);
AnsiString ExtractFileName(const AnsiString& fileName);
AnsiString ExtractFileExt(const AnsiString& fileName);
AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension);

// ---- Integers ------------------------------------------------------------------------

AnsiString IntToStrS(int64_t value);
AnsiString IntToStrU(uint64_t value);
AnsiString IntToHexU(uint64_t value, int digits);

template <std::integral T>
  requires(!std::same_as<T, bool>)
AnsiString IntToStr(T value) {
  if constexpr (std::is_signed_v<T>)
    return IntToStrS(value);
  else
    return IntToStrU(value);
}

// Upper-case hex with at least digits digits; a negative value is written as its two's
// complement in the width of its type.
template <std::integral T>
  requires(!std::same_as<T, bool>)
AnsiString IntToHex(T value, int digits) {
  using U = std::make_unsigned_t<T>;
  return IntToHexU(static_cast<U>(value), digits);
}

// Integer text: optional blanks, sign, decimal digits or "$"/"0x" hex digits.
// Raises EConvertError "'abc' is not a valid integer value".
int StrToInt(const AnsiString& s);
int StrToIntDef(const AnsiString& s, int defaultValue);
bool TryStrToInt(const AnsiString& s, int& value);
int64_t StrToInt64(const AnsiString& s);
int64_t StrToInt64Def(const AnsiString& s, int64_t defaultValue);
bool TryStrToInt64(const AnsiString& s, int64_t& value);

// Delphi's boolean text: "0"/"-1", or "False"/"True" with useBoolStrs.
AnsiString BoolToStr(bool value, bool useBoolStrs = false);
bool StrToBool(const AnsiString& s);
bool StrToBoolDef(const AnsiString& s, bool defaultValue);
bool TryStrToBool(const AnsiString& s, bool& value);

// ---- Floating point ------------------------------------------------------------------

// System-unit arithmetic: Round rounds halves to the even neighbour.
int64_t Trunc(double x);
int64_t Round(double x);
double Int(double x);
double Frac(double x);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Decimal text with DecimalSeparator; blanks around the number are allowed, an
// exponent is optional. TextToFloat reports failure instead of raising.
bool TextToFloat(const AnsiString& text, double& value);
double StrToFloat(const AnsiString& s);
double StrToFloatDef(const AnsiString& s, double defaultValue);
bool TryStrToFloat(const AnsiString& s, double& value);

// 15 significant digits in general format: 1.5 "1.5", 1E20 "1E20", 1E-5 "1E-5".
AnsiString FloatToStr(double value);
AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits);
// Picture format with sections "pos;neg;zero", placeholders 0 and #, "." and ",",
// E+/E-/e+/e- exponents and quoted literals.
AnsiString FormatFloat(const AnsiString& format, double value);

// ---- Dates and times -----------------------------------------------------------------

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = HoursPerDay * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;
// Days from 0001-01-01 to 1899-12-30.
constexpr int DateDelta = 693594;

using TDayTable = TStaticArray<uint16_t, 1, 12>;
// MonthDays[IsLeapYear(year)][month].
extern const TStaticArray<TDayTable, 0, 1> MonthDays;

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);

// Dates from 0001-01-01 to 9999-12-31.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
void DecodeDate(TDateTime date, uint16_t& year, uint16_t& month, uint16_t& day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
void DecodeTime(TDateTime time, uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime date);

// The clock Now reads; a test may install a fixed one.
extern TDateTime (*NowHook)();
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Moves by whole months, clamping the day to the length of the month reached.
TDateTime IncMonth(TDateTime date, int numberOfMonths = 1);
// Keeps the time of day (or the date) of the first value and takes the other part.
void ReplaceTime(TDateTime& dateTime, TDateTime newTime);
void ReplaceDate(TDateTime& dateTime, TDateTime newDate);

// Delphi patterns: c d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss
// z zzz t tt am/pm a/p ampm / : "literal" 'literal'.
AnsiString FormatDateTime(const AnsiString& format, TDateTime dateTime);
void DateTimeToString(AnsiString& result, const AnsiString& format, TDateTime dateTime);
AnsiString DateToStr(TDateTime date);
AnsiString TimeToStr(TDateTime time);
AnsiString DateTimeToStr(TDateTime dateTime);

// Parsing follows the order of ShortDateFormat and the separators in force; a
// two-digit year is placed by TwoDigitYearCenturyWindow.
TDateTime StrToDate(const AnsiString& s);
TDateTime StrToDateDef(const AnsiString& s, TDateTime defaultValue);
bool TryStrToDate(const AnsiString& s, TDateTime& value);
TDateTime StrToTime(const AnsiString& s);
TDateTime StrToTimeDef(const AnsiString& s, TDateTime defaultValue);
bool TryStrToTime(const AnsiString& s, TDateTime& value);
TDateTime StrToDateTime(const AnsiString& s);
TDateTime StrToDateTimeDef(const AnsiString& s, TDateTime defaultValue);
bool TryStrToDateTime(const AnsiString& s, TDateTime& value);

// ---- Objects -------------------------------------------------------------------------

template <typename T>
void FreeAndNil(T*& object) {
  T* doomed = object;
  object = nullptr;
  delete doomed;
}
