#include "module/services/LibStrs.h"

#include "module/services/LogWriters.h"
#include "platform/rtl/SysUtils.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

const AnsiString FirstDateText = "17530101";
const AnsiString LastDateText = "99991231";

// Day numbers of 0001-01-01 and 9999-12-31, the range every date here stays inside.
constexpr int64_t FirstDay = -693593;
constexpr int64_t LastDay = 2958465;

AnsiString SeparatorChar(const AnsiString& separator) {
  return separator.empty() ? AnsiString() : AnsiString(1, separator[0]);
}

bool AllDigits(const AnsiString& s, size_t from, size_t count) {
  if (s.size() < from + count) return false;
  for (size_t i = from; i < from + count; ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

// The year, month and day of the first eight characters, which must be digits.
bool SplitYmd(const AnsiString& ymd, int& year, int& month, int& day) {
  if (!AllDigits(ymd, 0, 8)) return false;
  year = std::stoi(ymd.substr(0, 4));
  month = std::stoi(ymd.substr(4, 2));
  day = std::stoi(ymd.substr(6, 2));
  return true;
}

bool IsCalendarDate(int year, int month, int day) {
  TDateTime ignored;
  return TryEncodeDate(year, month, day, ignored);
}

AnsiString YmdText(int year, int month, int day) {
  return Format("%.4d%.2d%.2d", {year, month, day});
}

AnsiString DateToYmd(TDateTime date) {
  uint16_t y, m, d;
  DecodeDate(date, y, m, d);
  return YmdText(y, m, d);
}

// The whole part is the day, also before 1899 where the time of day counts away from zero.
int64_t DayNumber(TDateTime date) { return static_cast<int64_t>(std::trunc(date)); }

// "" when the day falls outside the years 1 to 9999.
AnsiString DayNumberToYmd(int64_t day) {
  if (day < FirstDay || day > LastDay) return AnsiString();
  return DateToYmd(static_cast<TDateTime>(day));
}

AnsiString ShiftDays(const AnsiString& ymd, int64_t days) {
  const TDateTime date = YmdToDate(ymd);
  if (date == 0) return AnsiString();
  return DayNumberToYmd(DayNumber(date) + days);
}

AnsiString YmdPlusDays(TDateTime date, int64_t days) { return DayNumberToYmd(DayNumber(date) + days); }

// Integers inside schedules and settings arrive as numbers or as texts.
int VarToInt(const Variant& v) {
  if (VarIsStr(v)) return StrToInt(Trim(VarToStr(v)));
  return v.AsInteger();
}

// Keeps the kind of text the value it replaces had.
Variant TextLike(const Variant& old, const AnsiString& text) {
  if (VarType(old) == varOleStr) return Variant(AnsiToWide(text));
  return Variant(text);
}

AnsiString ResolveOrBase(const AnsiString& base, const AnsiString& count, const AnsiString& unit,
                         const AnsiString& anchor, const AnsiString& offset) {
  if (count == "0" && anchor == "0" && offset == "0") return base;
  return ResolveRelativeDate(base, count, unit, anchor, offset);
}

using TTextConversion = std::function<Variant(const Variant&)>;

// Applies convert to the texts of an array: recursively through the elements of one
// dimension, cell by cell in two. Arrays of more dimensions come back as they are.
Variant ConvertArray(const Variant& source, const TTextConversion& convert) {
  Variant copy = source;
  switch (VarArrayDimCount(copy)) {
    case 1:
      for (int i = VarArrayLowBound(copy, 1); i <= VarArrayHighBound(copy, 1); ++i) {
        const Variant element = copy.GetElement({i});
        if (VarIsArray(element))
          copy.PutElement({i}, ConvertArray(element, convert));
        else if (VarIsStr(element))
          copy.PutElement({i}, convert(element));
      }
      break;
    case 2:
      for (int i = VarArrayLowBound(copy, 1); i <= VarArrayHighBound(copy, 1); ++i)
        for (int j = VarArrayLowBound(copy, 2); j <= VarArrayHighBound(copy, 2); ++j) {
          const Variant cell = copy.GetElement({i, j});
          if (VarIsStr(cell)) copy.PutElement({i, j}, convert(cell));
        }
      break;
    default:
      break;
  }
  return copy;
}

}  // namespace

// ---- Texts ----------------------------------------------------------------------------

AnsiString PadRight(const AnsiString& text, std::initializer_list<int> options) {
  if (options.size() == 0) return text;
  const int width = *options.begin();
  const char fill = options.size() > 1 ? static_cast<char>(*(options.begin() + 1)) : ' ';
  if (width <= 0 || text.size() >= static_cast<size_t>(width)) return text;
  return text + AnsiString(static_cast<size_t>(width) - text.size(), fill);
}

AnsiString GetDelimitedField(const AnsiString& text, const AnsiString& separator, int n) {
  if (n < 1) return AnsiString();
  size_t start = 0;
  for (int i = 1;; ++i) {
    const size_t found = separator.empty() ? AnsiString::npos : text.find(separator, start);
    if (i == n) return text.substr(start, found == AnsiString::npos ? AnsiString::npos : found - start);
    if (found == AnsiString::npos) return AnsiString();
    start = found + separator.size();
  }
}

int CountDelimitedFields(const AnsiString& text, const AnsiString& separator) {
  if (text.empty()) return 0;
  if (separator.empty()) return 1;
  int count = 1;
  for (size_t at = text.find(separator); at != AnsiString::npos;
       at = text.find(separator, at + separator.size()))
    ++count;
  return count;
}

AnsiString SplitFirstField(AnsiString& text, const AnsiString& separator) {
  const size_t found = separator.empty() ? AnsiString::npos : text.find(separator);
  AnsiString first;
  if (found == AnsiString::npos) {
    first.swap(text);
  } else {
    first = text.substr(0, found);
    text.erase(0, found + separator.size());
  }
  return first;
}

WideString JoinCountedList(const AnsiString& prefix, const Variant& list) {
  try {
    const WideString separator(1, static_cast<char16_t>(FieldSeparator));
    const int low = VarArrayLowBound(list, 1);
    const int high = VarArrayHighBound(list, 1);
    const int count = VarToInt(list.GetElement({low}));
    WideString result = AnsiToWide(prefix) + separator + AnsiToWide(IntToStr(count)) + separator;
    // Elements the array lacks are sent empty, so the receiver still finds count fields.
    for (int k = 1; k <= count; ++k) {
      if (low + k <= high) result += VarToWideStr(list.GetElement({low + k}));
      result += separator;
    }
    return result;
  } catch (...) {
    return WideString();
  }
}

AnsiString ReplaceAllText(const AnsiString& text, const AnsiString& oldText,
                          const AnsiString& newText, bool trimResult) {
  AnsiString result = text;
  if (!oldText.empty() && !SameText(oldText, newText)) {
    if (newText.size() < oldText.size()) {
      // Each replacement shortens the text, so searching again from the start ends.
      for (size_t at = result.find(oldText); at != AnsiString::npos; at = result.find(oldText))
        result.replace(at, oldText.size(), newText);
    } else {
      // Searching again from the start could run forever here; one pass replaces every
      // occurrence the text holds.
      for (size_t at = result.find(oldText); at != AnsiString::npos;
           at = result.find(oldText, at + newText.size()))
        result.replace(at, oldText.size(), newText);
    }
  }
  return trimResult ? Trim(result) : result;
}

#ifndef TAVO_LEGACY
double TextToFloatDef(const AnsiString& text, double defaultValue) {
  const char* begin = text.c_str();
  const char* end = begin + text.size();
  while (begin < end && *begin == ' ') ++begin;
  if (begin < end && *begin == '+' && begin + 1 < end && begin[1] != '-') ++begin;
  double value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return defaultValue;
  return value;
}
#endif

bool IsLoopbackAddress(const AnsiString& address) { return address == "127.0.0.1"; }

#ifndef TAVO_LEGACY
AnsiString GetLongTempPath() {
  char buffer[MAX_PATH];
  const DWORD length = GetTempPath(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) return AnsiString();
  const AnsiString longPath = GetLongPathName(AnsiString(buffer, length));
  if (longPath.empty()) return AnsiString();
  return IncludeTrailingBackslash(longPath);
}
#endif

AnsiString LocalizeButtonCaption(const AnsiString& buttonName) {
  static const struct {
    const char* Name;
    const char* Caption;
  } captions[] = {
      {"Yes", "是(&Y)"},       {"No", "否(&N)"},        {"OK", "确定"},
      {"Cancel", "取消"},      {"Abort", "中断(&A)"},   {"Retry", "重试(&R)"},
      {"Ignore", "忽略(&I)"},  {"All", "全部(&A)"},     {"NoToAll", "全否(&o)"},
      {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"},
  };
  for (const auto& entry : captions)
    if (buttonName == entry.Name) return entry.Caption;
  return buttonName;
}

// ---- Dates ----------------------------------------------------------------------------

namespace {

// Runs format on the year, month and day of date and the separator to put between them;
// an empty date, or one that does not decode, gives "".
template <class F>
AnsiString FormatDateParts(const AnsiString& separator, TDateTime date, F format) {
  if (date == 0) return AnsiString();
  try {
    uint16_t y, m, d;
    DecodeDate(date, y, m, d);
    return format(y, m, d, SeparatorChar(separator));
  } catch (...) {
    return AnsiString();
  }
}

}  // namespace

AnsiString FormatDateByType(int dateType, const AnsiString& separator, TDateTime date) {
  return FormatDateParts(separator, date, [dateType](uint16_t y, uint16_t m, uint16_t d, const AnsiString& sep) {
    switch (dateType) {
      case 1: return Format("%.4d%s%.2d%s%.2d", {int(y), sep, int(m), sep, int(d)});
      case 2: return Format("%.2d%s%.2d%s%.4d", {int(m), sep, int(d), sep, int(y)});
      case 3: return Format("%.2d%s%.2d%s%.4d", {int(d), sep, int(m), sep, int(y)});
      case 4: return Format("%.2d%s%.2d%s%.2d", {y - 1911, sep, int(m), sep, int(d)});
      case 5: return Format("%.3d%s%.2d%s%.2d", {y - 1911, sep, int(m), sep, int(d)});
      default: return AnsiString();
    }
  });
}

AnsiString FormatYearMonthByType(int dateType, const AnsiString& separator, TDateTime date) {
  return FormatDateParts(separator, date, [dateType](uint16_t y, uint16_t m, uint16_t d, const AnsiString& sep) {
    switch (dateType) {
      case 1: return Format("%.4d%s%.2d", {int(y), sep, int(m)});
      case 2:
      case 3: return Format("%.2d%s%.4d", {int(m), sep, int(y)});
      case 4: return Format("%.2d%s%.2d", {y - 1911, sep, int(m)});
      case 5: return Format("%.3d%s%.2d", {y - 1911, sep, int(m)});
      default: return AnsiString();
    }
  });
}

TDateTime ParseDateByType(const AnsiString& text, int dateType, const AnsiString& separator) {
  if (dateType < 1 || dateType > 5) return 0;
  const AnsiString t = Trim(text);
  AnsiString parts[3];
  if (separator.empty()) {
    // Without a separator the parts are read by position, as FormatDateByType wrote
    // them: the year takes what the two-digit parts leave.
    if (t.size() < 5) return 0;
    if (dateType == 2 || dateType == 3) {
      parts[0] = t.substr(0, 2);
      parts[1] = t.substr(2, 2);
      parts[2] = t.substr(4);
    } else {
      parts[0] = t.substr(0, t.size() - 4);
      parts[1] = t.substr(t.size() - 4, 2);
      parts[2] = t.substr(t.size() - 2);
    }
  } else {
    const AnsiString sep = SeparatorChar(separator);
    for (int i = 0; i < 3; ++i) parts[i] = GetDelimitedField(t, sep, i + 1);
  }
  int p[3];
  for (int i = 0; i < 3; ++i) {
    p[i] = StrToIntDef(parts[i], -1);
    if (p[i] <= 0) return 0;
  }
  int year = 0, month = 0, day = 0;
  switch (dateType) {
    case 1: year = p[0], month = p[1], day = p[2]; break;
    case 2: year = p[2], month = p[0], day = p[1]; break;
    case 3: year = p[2], month = p[1], day = p[0]; break;
    default: year = p[0] + 1911, month = p[1], day = p[2]; break;
  }
  TDateTime first;
  if (!TryEncodeDate(year, month, 1, first)) return 0;
  const int64_t result = DayNumber(first) + day - 1;
  if (result > LastDay) return 0;
  return static_cast<TDateTime>(result);
}

TDateTime YmdToDate(const AnsiString& ymd) {
  int y, m, d;
  if (ymd.size() != 8 || !SplitYmd(ymd, y, m, d)) return 0;
  TDateTime date;
  return TryEncodeDate(y, m, d, date) ? date : 0;
}

bool IsValidYmd(const AnsiString& ymd) {
  if (ymd.empty()) return true;
  int y, m, d;
  if (!SplitYmd(ymd, y, m, d) || !IsCalendarDate(y, m, d)) return false;
#ifdef TAVO_LEGACY
  return true;
#else
  return ymd >= FirstDateText && ymd <= LastDateText;
#endif
}

int DaysInMonthOf(int year, int month) {
  switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12: return 31;
    case 4: case 6: case 9: case 11: return 30;
    case 2: return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28;
    default: return 0;
  }
}

AnsiString ShiftYmd(const Variant& date, const AnsiString& unit, int amount) {
  try {
    TDateTime value = 0;
    switch (VarType(date)) {
      case varString:
      case varOleStr: value = YmdToDate(VarToStr(date)); break;
      case varDate:
      case varDouble: value = date.AsDouble(); break;
      default: return AnsiString();
    }
    if (value == 0) return AnsiString();
    const AnsiString u = UpperCase(unit);
    if (u == "D") return DayNumberToYmd(DayNumber(value) + amount);
    uint16_t y, m, d;
    DecodeDate(value, y, m, d);
    int64_t year, month;
    if (u == "M") {
      const int64_t t = int64_t(amount) + 12 * int64_t(y) + m;
      year = t / 12;
      month = t % 12;
      if (month == 0) {
        month = 12;
        --year;
      }
    } else if (u == "Y") {
      year = int64_t(y) + amount;
      month = m;
    } else {
      return AnsiString();
    }
    if (year < 1 || year > 9999) return AnsiString();
    const int last = DaysInMonthOf(int(year), int(month));
    return YmdText(int(year), int(month), d > last ? last : d);
  } catch (...) {
    return AnsiString();
  }
}

AnsiString ResolveRelativeDate(const AnsiString& base, const AnsiString& count,
                               const AnsiString& unit, const AnsiString& anchor,
                               const AnsiString& dayOffset) {
  if (base.size() < 7) return ShiftYmd(Variant(base + "01"), "M", StrToInt(count)).substr(0, 6);
  if (unit != "0") {
    const AnsiString shifted = ShiftYmd(Variant(base), "M", StrToInt(count));
    const int anchorValue = StrToInt(anchor);
    if (anchorValue == 0) return ShiftDays(shifted, StrToInt(dayOffset));
    if (shifted.empty()) return AnsiString();
    const AnsiString month = shifted.substr(0, 6);
    if (anchorValue == 1) return month + "01";
    // Any other anchor is the end of the period, as for weeks.
    return month + Format("%.2d", {DaysInMonthOf(std::stoi(month.substr(0, 4)),
                                                 std::stoi(month.substr(4, 2)))});
  }
  if (anchor != "0") return WeekBoundaryDate(base, count, anchor);
  return ShiftDays(base, 7 * int64_t(StrToInt(count)) + StrToInt(dayOffset));
}

AnsiString WeekBoundaryDate(const AnsiString& ymd, const AnsiString& count,
                            const AnsiString& anchor) {
  const int weeks = StrToInt(count);
  const int anchorValue = StrToInt(anchor);
  const AnsiString moved = ShiftDays(ymd, 7 * int64_t(weeks));
  if (moved.empty()) return AnsiString();
  const TDateTime date = YmdToDate(moved);
  const int weekday = DayOfWeek(date);
  return YmdPlusDays(date, anchorValue == 1 ? 1 - weekday : 7 - weekday);
}

Variant ApplyDynamicDates(const Variant& conditions, const AnsiString& baseYmd) {
  try {
    Variant values = conditions.GetElement({1});
    const Variant settings = conditions.GetElement({3});
    const int count = VarToInt(settings.GetElement({0}));
    const AnsiString sep(1, FieldSeparator);
    for (int s = 1; s <= count; ++s) {
      const AnsiString setting = VarToStr(settings.GetElement({s}));
      auto field = [&](int n) { return GetDelimitedField(setting, sep, n); };
      const bool range = field(1) == "0";
      const int index = StrToInt(field(range ? 14 : 9));
      const AnsiString kind = field(range ? 13 : 8);
      const AnsiString base = kind == "D" ? baseYmd : baseYmd.substr(0, 6);
      if (!range) {
        if (field(3) == "Y") {
          const Variant old = values.GetElement({index});
          values.PutElement({index},
                            TextLike(old, ResolveOrBase(base, field(4), field(5), field(6), field(7))));
        }
        continue;
      }
      Variant pair = values.GetElement({index});
      if (field(3) == "Y")
        pair.PutElement({1}, TextLike(pair.GetElement({1}),
                                      ResolveOrBase(base, field(4), field(5), field(6), field(7))));
      if (field(8) == "Y")
        pair.PutElement({2}, TextLike(pair.GetElement({2}),
                                      ResolveOrBase(base, field(9), field(10), field(11), field(12))));
      values.PutElement({index}, pair);
    }
    return values;
  } catch (...) {
    return Variant(AnsiString());
  }
}

AnsiString FirstScheduledDate(const AnsiString& ymd, const Variant& schedule) {
  try {
    const TDateTime start = YmdToDate(ymd);
    if (start == 0) return AnsiString();
    const int kind = VarToInt(schedule.GetElement({0}));
    switch (kind) {
      case 0: return ShiftDays(ymd, 0);
      case 1: {
        const Variant details = schedule.GetElement({1});
        const int every = VarToInt(details.GetElement({0}));
        const int target = VarToInt(details.GetElement({1})) + 1;
        const int weeks = target < DayOfWeek(start) ? every : every - 1;
        const TDateTime jumped = static_cast<TDateTime>(DayNumber(start) + 7 * int64_t(weeks));
        return YmdPlusDays(jumped, target - DayOfWeek(jumped));
      }
      case 2: break;
      default: return AnsiString();
    }
    const Variant details = schedule.GetElement({1});
    const int byWeekday = VarToInt(details.GetElement({0}));
    const int every = VarToInt(details.GetElement({1}));
    uint16_t y, m, d;
    DecodeDate(start, y, m, d);
    if (byWeekday == 0) {
      const int day = VarToInt(details.GetElement({2}));
      const AnsiString month = ShiftYmd(Variant(ymd), "M", day >= d ? every - 1 : every);
      if (month.empty()) return AnsiString();
      const AnsiString candidate = month.substr(0, 6) + Format("%.2d", {day});
      if (candidate.size() == 8 && IsValidYmd(candidate)) return candidate;
      return month.substr(0, 6) + Format("%.2d", {DaysInMonthOf(std::stoi(month.substr(0, 4)),
                                                                std::stoi(month.substr(4, 2)))});
    }
    if (byWeekday != 1) return AnsiString();
    const int occurrence = VarToInt(details.GetElement({2}));
    const int target = VarToInt(details.GetElement({3})) + 1;
    if (occurrence < 0 || occurrence > 4) return AnsiString();
    for (int months = every - 1;; months = every) {
      const AnsiString month = ShiftYmd(Variant(ymd), "M", months);
      if (month.empty()) return AnsiString();
      const TDateTime first = YmdToDate(month.substr(0, 6) + "01");
      int64_t candidate;
      if (occurrence == 4) {
        uint16_t fy, fm, fd;
        DecodeDate(first, fy, fm, fd);
        const int64_t last = DayNumber(first) + DaysInMonthOf(fy, fm) - 1;
        const int back = DayOfWeek(static_cast<TDateTime>(last)) - target;
        candidate = back >= 0 ? last - back : last - back - 7;
      } else {
        const int delta = target - DayOfWeek(first);
        candidate = DayNumber(first) + delta + 7 * (delta >= 0 ? occurrence : occurrence + 1);
      }
      if (candidate >= DayNumber(start) || months == every) return DayNumberToYmd(candidate);
    }
  } catch (...) {
    return AnsiString();
  }
}

// ---- Variants -------------------------------------------------------------------------

Variant VarIfThen(bool flag, const Variant& a, const Variant& b) { return flag ? a : b; }

bool VarIsEmptyOrNull(const Variant& v) { return VarIsEmpty(v) || VarIsNull(v); }

// ---- Code pages -----------------------------------------------------------------------

namespace {

// The process's ANSI conversion is the runtime's own, the one a plain string assignment
// makes.
AnsiString ProcessNarrow(const WideString& text) { return WideToAnsiHook(text); }

// The conversions proper; they raise what the runtime's conversion raises.
AnsiString NarrowInCodePage(const WideString& text, UINT codePage) {
  if (text.empty()) return AnsiString();
  const int length = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed > 0) {
    AnsiString result(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(codePage, 0, text.data(), length, result.data(), needed, nullptr,
                            nullptr) == needed)
      return result;
  }
  return ProcessNarrow(text);
}

WideString WidenFromCodePage(const AnsiString& text, UINT codePage) {
  if (text.empty()) return WideString();
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (needed > 0) {
    WideString result(static_cast<size_t>(needed), u'\0');
    if (MultiByteToWideChar(codePage, 0, text.data(), length, result.data(), needed) == needed)
      return result;
  }
  return AnsiToWide(text);
}

}  // namespace

AnsiString WideToCodePage(const WideString& text, UINT codePage) {
  try {
    return NarrowInCodePage(text, codePage);
  } catch (...) {
    return AnsiString();
  }
}

WideString CodePageToWide(const AnsiString& text, UINT codePage) {
  try {
    return WidenFromCodePage(text, codePage);
  } catch (...) {
    return WideString();
  }
}

Variant VarToCodePage(const Variant& value, UINT codePage) {
  try {
    if (VarIsArray(value))
      return ConvertArray(value, [codePage](const Variant& text) {
        if (VarType(text) != varOleStr) return text;
        return Variant(NarrowInCodePage(text.AsWideString(), codePage));
      });
    switch (VarType(value)) {
      case varOleStr: return Variant(NarrowInCodePage(value.AsWideString(), codePage));
      case varString: return Variant(NarrowInCodePage(AnsiToWide(value.AsString()), codePage));
      default: return value;
    }
  } catch (const std::exception& e) {
    WriteAlertLog("libstrs", "LINE[2735] " + AnsiString(e.what()), "D");
    return value;
  }
}

Variant VarFromCodePage(const Variant& value, UINT codePage) {
  // Narrow texts hold bytes of codePage already; wide ones go back to the bytes they were
  // made from first.
  const auto convert = [codePage](const Variant& text) {
    if (VarType(text) == varOleStr)
      return Variant(WidenFromCodePage(ProcessNarrow(text.AsWideString()), codePage));
    return Variant(WidenFromCodePage(text.AsString(), codePage));
  };
  try {
    if (VarIsArray(value)) return ConvertArray(value, convert);
    if (VarIsStr(value)) return convert(value);
    return value;
  } catch (const std::exception& e) {
    WriteAlertLog("libstrs", "LINE[115] " + AnsiString(e.what()), "D");
    return value;
  }
}
