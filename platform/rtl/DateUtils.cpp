#include "platform/rtl/DateUtils.h"

#include <cmath>

namespace {

// A moment on one continuous millisecond scale. TDateTime keeps the time of day as a
// positive fraction even before 1899-12-30 (-1.25 is 29 December, 06:00), so plain
// addition of days or hours goes wrong there; arithmetic goes through this scale.
int64_t ToLinearMs(TDateTime value) {
  const int64_t ms = std::llround(value * MSecsPerDay);
  const int64_t days = ms / MSecsPerDay;
  return days * MSecsPerDay + std::llabs(ms % MSecsPerDay);
}

TDateTime FromLinearMs(int64_t ms) {
  int64_t days = ms / MSecsPerDay;
  int64_t rest = ms % MSecsPerDay;
  if (rest < 0) {
    --days;
    rest += MSecsPerDay;
  }
  const double time = static_cast<double>(rest) / MSecsPerDay;
  return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

}  // namespace

int DaysInAYear(int year) { return IsLeapYear(year) ? 366 : 365; }

int DaysInMonth(TDateTime date) {
  uint16_t y, m, d;
  DecodeDate(date, y, m, d);
  return m == 0 ? 0 : DaysInAMonth(y, m);
}

bool IsValidDate(int year, int month, int day) {
  TDateTime d;
  return TryEncodeDate(year, month, day, d);
}

bool IsValidTime(int hour, int min, int sec, int msec) {
  TDateTime t;
  // The end of the day, 24:00:00.000, is a valid time too.
  return TryEncodeTime(hour, min, sec, msec, t) || (hour == 24 && min == 0 && sec == 0 && msec == 0);
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec,
                       TDateTime& value) {
  TDateTime date, time;
  if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, min, sec, msec, time)) return false;
  value = date >= 0 ? date + time : date - time;
  return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
  TDateTime v;
  if (!TryEncodeDateTime(year, month, day, hour, min, sec, msec, v))
    throw EConvertError(Format("'%d-%d-%d %d:%d:%d.%d' is not a valid date and time",
                               {year, month, day, hour, min, sec, msec}));
  return v;
}

void DecodeDateTime(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day, uint16_t& hour,
                    uint16_t& min, uint16_t& sec, uint16_t& msec) {
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, min, sec, msec);
}

namespace {
struct TParts {
  uint16_t Year, Month, Day, Hour, Min, Sec, MSec;
  explicit TParts(TDateTime v) { DecodeDateTime(v, Year, Month, Day, Hour, Min, Sec, MSec); }
};
}  // namespace

int YearOf(TDateTime value) { return TParts(value).Year; }
int MonthOf(TDateTime value) { return TParts(value).Month; }
int DayOf(TDateTime value) { return TParts(value).Day; }
int HourOf(TDateTime value) { return TParts(value).Hour; }
int MinuteOf(TDateTime value) { return TParts(value).Min; }
int SecondOf(TDateTime value) { return TParts(value).Sec; }
int MilliSecondOf(TDateTime value) { return TParts(value).MSec; }

int DayOfTheWeek(TDateTime value) { return (DayOfWeek(value) + 5) % 7 + 1; }

int DayOfTheYear(TDateTime value) {
  return static_cast<int>(Trunc(DateOf(value)) - Trunc(StartOfTheYear(value))) + 1;
}

TDateTime DateOf(TDateTime value) { return static_cast<double>(std::llround(value * MSecsPerDay) / MSecsPerDay); }

TDateTime TimeOf(TDateTime value) {
  uint16_t h, n, s, z;
  DecodeTime(value, h, n, s, z);
  return (h * 3600000.0 + n * 60000.0 + s * 1000.0 + z) / MSecsPerDay;
}

bool SameDate(TDateTime a, TDateTime b) { return DateOf(a) == DateOf(b); }
bool IsToday(TDateTime value) { return SameDate(value, Date()); }

int CompareDate(TDateTime a, TDateTime b) {
  const double x = DateOf(a), y = DateOf(b);
  return (x > y) - (x < y);
}

TDateTime IncYear(TDateTime value, int numberOfYears) { return IncMonth(value, numberOfYears * 12); }
TDateTime IncWeek(TDateTime value, int numberOfWeeks) { return IncDay(value, numberOfWeeks * 7); }

TDateTime IncDay(TDateTime value, int numberOfDays) {
  return FromLinearMs(ToLinearMs(value) + static_cast<int64_t>(numberOfDays) * MSecsPerDay);
}

TDateTime IncHour(TDateTime value, int64_t numberOfHours) {
  return FromLinearMs(ToLinearMs(value) + numberOfHours * 3600000);
}

TDateTime IncMinute(TDateTime value, int64_t numberOfMinutes) {
  return FromLinearMs(ToLinearMs(value) + numberOfMinutes * 60000);
}

TDateTime IncSecond(TDateTime value, int64_t numberOfSeconds) {
  return FromLinearMs(ToLinearMs(value) + numberOfSeconds * 1000);
}

int DaysBetween(TDateTime now, TDateTime then) {
  const int64_t span = ToLinearMs(now) - ToLinearMs(then);
  return static_cast<int>((span < 0 ? -span : span) / MSecsPerDay);
}

TDateTime StartOfTheMonth(TDateTime value) {
  const TParts p(value);
  return EncodeDate(p.Year, p.Month, 1);
}

TDateTime EndOfTheMonth(TDateTime value) {
  const TParts p(value);
  return EncodeDateTime(p.Year, p.Month, DaysInAMonth(p.Year, p.Month), 23, 59, 59, 999);
}

TDateTime StartOfTheYear(TDateTime value) { return EncodeDate(YearOf(value), 1, 1); }
TDateTime EndOfTheYear(TDateTime value) { return EncodeDateTime(YearOf(value), 12, 31, 23, 59, 59, 999); }

TDateTime StartOfTheDay(TDateTime value) { return DateOf(value); }

TDateTime EndOfTheDay(TDateTime value) {
  return FromLinearMs(ToLinearMs(DateOf(value)) + MSecsPerDay - 1);
}
