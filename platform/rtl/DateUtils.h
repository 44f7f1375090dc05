// Date arithmetic beyond the basics of SysUtils: parts of a date, whole-day and
// whole-month steps, and the bounds of months and years.
#pragma once

#include "platform/rtl/SysUtils.h"

// Monday = 1 .. Sunday = 7 (ISO 8601), unlike DayOfWeek.
constexpr int DayMonday = 1;
constexpr int DaySunday = 7;

int DaysInAYear(int year);
int DaysInMonth(TDateTime date);

bool IsValidDate(int year, int month, int day);
bool IsValidTime(int hour, int min, int sec, int msec);

// Date and time together; before 1899-12-30 the time still counts forward from midnight.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);
bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec,
                       TDateTime& value);
void DecodeDateTime(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day,
                    uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec);

int YearOf(TDateTime value);
int MonthOf(TDateTime value);
int DayOf(TDateTime value);
int HourOf(TDateTime value);
int MinuteOf(TDateTime value);
int SecondOf(TDateTime value);
int MilliSecondOf(TDateTime value);
int DayOfTheWeek(TDateTime value);
int DayOfTheYear(TDateTime value);

TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);
bool IsToday(TDateTime value);
bool SameDate(TDateTime a, TDateTime b);
// -1, 0 or 1 comparing calendar days only.
int CompareDate(TDateTime a, TDateTime b);

TDateTime IncYear(TDateTime value, int numberOfYears = 1);
TDateTime IncWeek(TDateTime value, int numberOfWeeks = 1);
TDateTime IncDay(TDateTime value, int numberOfDays = 1);
TDateTime IncHour(TDateTime value, int64_t numberOfHours = 1);
TDateTime IncMinute(TDateTime value, int64_t numberOfMinutes = 1);
TDateTime IncSecond(TDateTime value, int64_t numberOfSeconds = 1);

// Whole days between two moments, ignoring the sign.
int DaysBetween(TDateTime now, TDateTime then);

TDateTime StartOfTheMonth(TDateTime value);
TDateTime EndOfTheMonth(TDateTime value);  // last millisecond of the month
TDateTime StartOfTheYear(TDateTime value);
TDateTime EndOfTheYear(TDateTime value);
TDateTime StartOfTheDay(TDateTime value);
TDateTime EndOfTheDay(TDateTime value);
