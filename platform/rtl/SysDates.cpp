// Calendar dates, times of day, their text forms and the clock.
#include "platform/rtl/SysUtils.h"

#include <cmath>
#include <ctime>

const TStaticArray<TDayTable, 0, 1> MonthDays = {{
    {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}},
    {{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}},
}};

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month) { return MonthDays[IsLeapYear(year)][month]; }

namespace {

// A moment as whole days since 0001-01-01 (day 1) and milliseconds into the day. Like
// the runtime's time stamps, rounding to the millisecond comes first, so 23:59:59.9999
// is the next midnight; before 1899-12-30 the fraction still counts forward.
struct TTimeStamp {
  int64_t Date;
  int Time;
};

TTimeStamp DateTimeToTimeStamp(TDateTime value) {
  const int64_t ms = std::llround(value * MSecsPerDay);
  return {ms / MSecsPerDay + DateDelta, static_cast<int>(std::llabs(ms % MSecsPerDay))};
}

void DecodeDays(int64_t days, uint16_t& year, uint16_t& month, uint16_t& day) {
  if (days <= 0 || days > 3652059) {  // outside 0001-01-01 .. 9999-12-31
    year = month = day = 0;
    return;
  }
  constexpr int64_t D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
  int64_t t = days - 1;
  int64_t y = 1;
  y += (t / D400) * 400;
  t %= D400;
  int64_t i = t / D100, d = t % D100;
  if (i == 4) {
    --i;
    d += D100;
  }
  y += i * 100;
  y += (d / D4) * 4;
  d %= D4;
  i = d / D1;
  d %= D1;
  if (i == 4) {
    --i;
    d += D1;
  }
  y += i;
  const bool leap = IsLeapYear(static_cast<int>(y));
  int m = 1;
  while (d >= MonthDays[leap][m]) {
    d -= MonthDays[leap][m];
    ++m;
  }
  year = static_cast<uint16_t>(y);
  month = static_cast<uint16_t>(m);
  day = static_cast<uint16_t>(d + 1);
}

}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const bool leap = IsLeapYear(year);
  if (day > MonthDays[leap][month]) return false;
  int64_t days = day;
  for (int m = 1; m < month; ++m) days += MonthDays[leap][m];
  const int64_t y = year - 1;
  days += y * 365 + y / 4 - y / 100 + y / 400;
  date = static_cast<double>(days - DateDelta);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError("Invalid argument to date encode");
  return d;
}

void DecodeDate(TDateTime date, uint16_t& year, uint16_t& month, uint16_t& day) {
  DecodeDays(DateTimeToTimeStamp(date).Date, year, month, day);
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
  if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 || msec >= 1000)
    return false;
  time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError("Invalid argument to time encode");
  return t;
}

void DecodeTime(TDateTime time, uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec) {
  int ms = DateTimeToTimeStamp(time).Time;
  hour = static_cast<uint16_t>(ms / 3600000);
  ms %= 3600000;
  min = static_cast<uint16_t>(ms / 60000);
  ms %= 60000;
  sec = static_cast<uint16_t>(ms / 1000);
  msec = static_cast<uint16_t>(ms % 1000);
}

int DayOfWeek(TDateTime date) { return static_cast<int>(DateTimeToTimeStamp(date).Date % 7) + 1; }

// ---- The clock -----------------------------------------------------------------------

namespace {

TDateTime SystemNow() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm local{};
  localtime_r(&ts.tv_sec, &local);
  TDateTime date = 0, time = 0;
  TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date);
  // A leap second reads as the last second of the minute.
  TryEncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                static_cast<int>(ts.tv_nsec / 1000000), time);
  return date + time;
}

}  // namespace

TDateTime (*NowHook)() = SystemNow;

TDateTime Now() { return NowHook(); }
TDateTime Date() { return static_cast<double>(Trunc(Now())); }
TDateTime Time() { return Frac(Now()); }

void ReplaceTime(TDateTime& dateTime, TDateTime newTime) {
  const double date = static_cast<double>(Trunc(dateTime));
  const double time = std::fabs(Frac(newTime));
  dateTime = date >= 0 ? date + time : date - time;
}

void ReplaceDate(TDateTime& dateTime, TDateTime newDate) {
  TDateTime temp = newDate;
  ReplaceTime(temp, dateTime);
  dateTime = temp;
}

TDateTime IncMonth(TDateTime date, int numberOfMonths) {
  uint16_t y, m, d;
  DecodeDate(date, y, m, d);
  int64_t months = static_cast<int64_t>(y) * 12 + (m - 1) + numberOfMonths;
  const int64_t year = months >= 0 ? months / 12 : (months - 11) / 12;
  const int month = static_cast<int>(months - year * 12) + 1;
  if (year < 1 || year > 9999) throw EConvertError("Invalid argument to date encode");
  const int day = std::min<int>(d, DaysInAMonth(static_cast<int>(year), month));
  TDateTime result = EncodeDate(static_cast<int>(year), month, day);
  ReplaceTime(result, date);
  return result;
}

// ---- FormatDateTime ------------------------------------------------------------------

namespace {

bool StartsWithNoCase(const AnsiString& s, size_t at, const char* word) {
  for (size_t k = 0; word[k]; ++k)
    if (at + k >= s.size() || UpCase(s[at + k]) != UpCase(word[k])) return false;
  return true;
}

AnsiString Padded(int value, int digits) {
  AnsiString r = std::to_string(value);
  if (static_cast<int>(r.size()) < digits) r.insert(0, static_cast<size_t>(digits) - r.size(), '0');
  return r;
}

class TDateFormatter {
public:
  explicit TDateFormatter(TDateTime value) : Value(value) {}

  void Append(const AnsiString& format, int level, AnsiString& out) {
    // Nested formats (c, ddddd, t) may refer to one another; two levels are enough.
    if (level >= 2) return;
    char lastToken = ' ';
    bool use12Hour = false;
    const size_t n = format.size();
    size_t i = 0;
    while (i < n) {
      const char starter = format[i];
      if (i + 1 < n && IsDBCSLeadByteOfACP(static_cast<unsigned char>(starter))) {
        out.append(format, i, 2);
        i += 2;
        continue;
      }
      ++i;
      char token = UpCase(starter);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastToken == 'H') token = 'N';
        lastToken = token;
      }
      auto count = [&]() {
        int c = 1;
        while (i < n && format[i] == starter) {
          ++c;
          ++i;
        }
        return c;
      };
      switch (token) {
        case 'Y': {
          const int c = count();
          GetDate();
          out += c <= 2 ? Padded(Year % 100, 2) : Padded(Year, 4);
          break;
        }
        case 'M': {
          const int c = count();
          GetDate();
          if (c <= 2) out += Padded(Month, c);
          else if (Month >= 1) out += c == 3 ? ShortMonthNames[Month] : LongMonthNames[Month];
          break;
        }
        case 'D': {
          const int c = count();
          GetDate();
          switch (c) {
            case 1:
            case 2: out += Padded(Day, c); break;
            case 3:
              if (Year != 0) out += ShortDayNames[DayOfWeek(Value)];
              break;
            case 4:
              if (Year != 0) out += LongDayNames[DayOfWeek(Value)];
              break;
            case 5: Append(ShortDateFormat, level + 1, out); break;
            default: Append(LongDateFormat, level + 1, out); break;
          }
          break;
        }
        case 'H': {
          int c = count();
          GetTime();
          // A twelve-hour mark later in the format (before the next hour) rules the hour.
          bool quoted = false;
          for (size_t k = i; k < n; ++k) {
            const char ch = format[k];
            if (ch == '\'' || ch == '"') {
              quoted = !quoted;
            } else if (!quoted && (ch == 'a' || ch == 'A')) {
              if (StartsWithNoCase(format, k, "AM/PM") || StartsWithNoCase(format, k, "A/P") ||
                  StartsWithNoCase(format, k, "AMPM"))
                use12Hour = true;
              break;
            } else if (!quoted && (ch == 'h' || ch == 'H')) {
              break;
            }
          }
          int h = Hour;
          if (use12Hour) {
            if (h == 0) h = 12;
            else if (h > 12) h -= 12;
          }
          if (c > 2) c = 2;
          out += Padded(h, c);
          break;
        }
        case 'N': {
          int c = count();
          GetTime();
          out += Padded(Min, c > 2 ? 2 : c);
          break;
        }
        case 'S': {
          int c = count();
          GetTime();
          out += Padded(Sec, c > 2 ? 2 : c);
          break;
        }
        case 'Z': {
          int c = count();
          GetTime();
          out += Padded(MSec, c > 3 ? 3 : c);
          break;
        }
        case 'T': {
          const int c = count();
          Append(c == 1 ? ShortTimeFormat : LongTimeFormat, level + 1, out);
          break;
        }
        case 'C': {
          count();
          Append(ShortDateFormat, level + 1, out);
          GetTime();
          if (Hour != 0 || Min != 0 || Sec != 0) {
            out += ' ';
            Append(LongTimeFormat, level + 1, out);
          }
          break;
        }
        case 'A': {
          GetTime();
          const size_t at = i - 1;
          // A mark in front of the hour ("AMPM hh:mm", as Taiwan writes times) also
          // makes the hours after it twelve-hour ones.
          use12Hour = use12Hour || StartsWithNoCase(format, at, "AM/PM") || StartsWithNoCase(format, at, "A/P") ||
                      StartsWithNoCase(format, at, "AMPM");
          if (StartsWithNoCase(format, at, "AM/PM")) {
            out.append(format, Hour >= 12 ? at + 3 : at, 2);
            i = at + 5;
          } else if (StartsWithNoCase(format, at, "A/P")) {
            out += format[Hour >= 12 ? at + 2 : at];
            i = at + 3;
          } else if (StartsWithNoCase(format, at, "AMPM")) {
            out += Hour >= 12 ? TimePMString : TimeAMString;
            i = at + 4;
          } else {
            out += starter;
          }
          break;
        }
        case '/':
          out += DateSeparator;
          break;
        case ':':
          out += TimeSeparator;
          break;
        case '\'':
        case '"': {
          const size_t close = format.find(starter, i);
          const size_t end = close == AnsiString::npos ? n : close;
          out.append(format, i, end - i);
          i = close == AnsiString::npos ? n : close + 1;
          break;
        }
        default:
          out += starter;
          break;
      }
    }
  }

private:
  void GetDate() {
    if (!DateDone) DecodeDate(Value, Year, Month, Day);
    DateDone = true;
  }
  void GetTime() {
    if (!TimeDone) DecodeTime(Value, Hour, Min, Sec, MSec);
    TimeDone = true;
  }

  TDateTime Value;
  bool DateDone = false, TimeDone = false;
  uint16_t Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0;
};

}  // namespace

void DateTimeToString(AnsiString& result, const AnsiString& format, TDateTime dateTime) {
  result.clear();
  TDateFormatter(dateTime).Append(format.empty() ? AnsiString("C") : format, 0, result);
}

AnsiString FormatDateTime(const AnsiString& format, TDateTime dateTime) {
  AnsiString r;
  DateTimeToString(r, format, dateTime);
  return r;
}

AnsiString DateToStr(TDateTime date) { return FormatDateTime("ddddd", date); }
AnsiString TimeToStr(TDateTime time) { return FormatDateTime("tt", time); }
AnsiString DateTimeToStr(TDateTime dateTime) { return FormatDateTime("c", dateTime); }

// ---- Reading dates and times ---------------------------------------------------------

namespace {

enum TDateOrder { doMDY, doDMY, doYMD };

TDateOrder GetDateOrder(const AnsiString& format) {
  for (char c : format) {
    switch (UpCase(c)) {
      case 'E':
      case 'Y': return doYMD;
      case 'M': return doMDY;
      case 'D': return doDMY;
      default: break;
    }
  }
  return doMDY;
}

class TScanner {
public:
  explicit TScanner(const AnsiString& s) : S(s) {}

  void Blanks() {
    while (Pos < S.size() && S[Pos] == ' ') ++Pos;
  }
  bool AtEnd() {
    Blanks();
    return Pos >= S.size();
  }
  // Up to four digits, as the runtime reads date and time fields.
  bool Number(int& value, int& digits) {
    Blanks();
    size_t i = Pos;
    int n = 0;
    while (i < S.size() && S[i] >= '0' && S[i] <= '9' && n < 1000) n = n * 10 + (S[i++] - '0');
    if (i == Pos) return false;
    digits = static_cast<int>(i - Pos);
    Pos = i;
    value = n;
    return true;
  }
  bool Char(char c) {
    Blanks();
    if (Pos < S.size() && S[Pos] == c) {
      ++Pos;
      return true;
    }
    return false;
  }
  bool Word(const AnsiString& word) {
    Blanks();
    if (word.empty() || Pos + word.size() > S.size()) return false;
    if (!AnsiSameText(S.substr(Pos, word.size()), word)) return false;
    Pos += word.size();
    return true;
  }

  bool Date(TDateTime& value) {
    const TDateOrder order = GetDateOrder(ShortDateFormat);
    int n1, n2, n3, l1, l2, l3;
    if (!(Number(n1, l1) && Char(DateSeparator) && Number(n2, l2))) return false;
    int y = 0, m = 0, d = 0, yearDigits = 0;
    if (Char(DateSeparator)) {
      if (!Number(n3, l3)) return false;
      switch (order) {
        case doMDY: y = n3; yearDigits = l3; m = n1; d = n2; break;
        case doDMY: y = n3; yearDigits = l3; m = n2; d = n1; break;
        case doYMD: y = n1; yearDigits = l1; m = n2; d = n3; break;
      }
      if (yearDigits <= 2) {
        uint16_t cy, cm, cd;
        DecodeDate(Now(), cy, cm, cd);
        const int centuryBase = cy - TwoDigitYearCenturyWindow;
        y += centuryBase / 100 * 100;
        if (TwoDigitYearCenturyWindow > 0 && y < centuryBase) y += 100;
      }
    } else {
      uint16_t cy, cm, cd;
      DecodeDate(Now(), cy, cm, cd);
      y = cy;
      if (order == doDMY) {
        d = n1;
        m = n2;
      } else {
        m = n1;
        d = n2;
      }
    }
    return TryEncodeDate(y, m, d, value);
  }

  bool Time(TDateTime& value) {
    int baseHour = -1;
    if (Word(TimeAMString) || Word("AM")) baseHour = 0;
    else if (Word(TimePMString) || Word("PM")) baseHour = 12;
    int hour, min = 0, sec = 0, msec = 0, digits;
    if (!Number(hour, digits)) return false;
    if (Char(TimeSeparator)) {
      if (!Number(min, digits)) return false;
      if (Char(TimeSeparator)) {
        if (!Number(sec, digits)) return false;
        if (Char(DecimalSeparator) && !Number(msec, digits)) return false;
      }
    }
    if (baseHour < 0) {
      if (Word(TimeAMString) || Word("AM")) baseHour = 0;
      else if (Word(TimePMString) || Word("PM")) baseHour = 12;
    }
    if (baseHour >= 0) {
      if (hour == 0 || hour > 12) return false;
      if (hour == 12) hour = 0;
      hour += baseHour;
    }
    return TryEncodeTime(hour, min, sec, msec, value);
  }

private:
  const AnsiString& S;
  size_t Pos = 0;
};

}  // namespace

bool TryStrToDate(const AnsiString& s, TDateTime& value) {
  TScanner scan(s);
  TDateTime d;
  if (!scan.Date(d) || !scan.AtEnd()) return false;
  value = d;
  return true;
}

TDateTime StrToDate(const AnsiString& s) {
  TDateTime d;
  if (!TryStrToDate(s, d)) throw EConvertError("'" + s + "' is not a valid date");
  return d;
}

TDateTime StrToDateDef(const AnsiString& s, TDateTime defaultValue) {
  TDateTime d;
  return TryStrToDate(s, d) ? d : defaultValue;
}

bool TryStrToTime(const AnsiString& s, TDateTime& value) {
  TScanner scan(s);
  TDateTime t;
  if (!scan.Time(t) || !scan.AtEnd()) return false;
  value = t;
  return true;
}

TDateTime StrToTime(const AnsiString& s) {
  TDateTime t;
  if (!TryStrToTime(s, t)) throw EConvertError("'" + s + "' is not a valid time");
  return t;
}

TDateTime StrToTimeDef(const AnsiString& s, TDateTime defaultValue) {
  TDateTime t;
  return TryStrToTime(s, t) ? t : defaultValue;
}

bool TryStrToDateTime(const AnsiString& s, TDateTime& value) {
  TScanner scan(s);
  TDateTime date, time = 0;
  if (scan.Date(date) && (scan.AtEnd() || (scan.Time(time) && scan.AtEnd()))) {
    value = date >= 0 ? date + time : date - time;
    return true;
  }
  return TryStrToTime(s, value);
}

TDateTime StrToDateTime(const AnsiString& s) {
  TDateTime v;
  if (!TryStrToDateTime(s, v)) throw EConvertError("'" + s + "' is not a valid date and time");
  return v;
}

TDateTime StrToDateTimeDef(const AnsiString& s, TDateTime defaultValue) {
  TDateTime v;
  return TryStrToDateTime(s, v) ? v : defaultValue;
}
