// Free functions every option form and the report program share: delimited texts, date
// texts in the module's formats, relative and scheduled dates, variant tests, code-page
// conversion of variants, button captions and small text, number and path functions.
//
// Dates travel as "yyyymmdd" texts (or "yyyymm" for a year and month); a date value of
// zero stands for "no date". None of these functions keeps state; apart from
// ResolveRelativeDate and WeekBoundaryDate they answer neutral values instead of raising.
#pragma once

#include "platform/ole/Variants.h"
#include "platform/rtl/System.h"
#include "platform/win/Windows.h"

#include <initializer_list>

// Separates the fields of packed records (dynamic-date settings, scheme values, counted
// lists).
constexpr char FieldSeparator = '\x03';

// ---- Texts ----------------------------------------------------------------------------

// options: [0] width, optional [1] fill character code (blank by default).
AnsiString PadRight(const AnsiString& text, std::initializer_list<int> options);

// Fields count from 1; a trailing separator makes one more, empty, field.
AnsiString GetDelimitedField(const AnsiString& text, const AnsiString& separator, int n);
int CountDelimitedFields(const AnsiString& text, const AnsiString& separator);
// Answers the text before the first separator and leaves what follows it in text.
AnsiString SplitFirstField(AnsiString& text, const AnsiString& separator);
// prefix, c, then elements 1 to c of list, each field closed by FieldSeparator, where c
// is element 0 of list; elements the list lacks give empty fields. "" when list is no
// array or c no number.
WideString JoinCountedList(const AnsiString& prefix, const Variant& list);

// Replaces every occurrence of oldText (case-sensitive) until none is left.
AnsiString ReplaceAllText(const AnsiString& text, const AnsiString& oldText,
                          const AnsiString& newText, bool trimResult);

#ifndef TAVO_LEGACY
// Period as decimal separator; the default when the text is not wholly a number.
double TextToFloatDef(const AnsiString& text, double defaultValue);
#endif

bool IsLoopbackAddress(const AnsiString& address);

#ifndef TAVO_LEGACY
// The user's temporary folder in its long form with a trailing backslash, "" on failure.
AnsiString GetLongTempPath();
#endif

// The Chinese caption of a message-box button named "Yes", "No", "OK" …; other names
// come back unchanged.
AnsiString LocalizeButtonCaption(const AnsiString& buttonName);

// ---- Dates ----------------------------------------------------------------------------
//
// Display types: 1 yyyy mm dd, 2 mm dd yyyy, 3 dd mm yyyy, 4 and 5 Republic of China
// years (two and three digits) mm dd. The separator is the first character of the
// separator text, none when it is empty.

AnsiString FormatDateByType(int dateType, const AnsiString& separator, TDateTime date);
AnsiString FormatYearMonthByType(int dateType, const AnsiString& separator, TDateTime date);
// A day beyond the month's length runs on into the following month.
TDateTime ParseDateByType(const AnsiString& text, int dateType, const AnsiString& separator);

TDateTime YmdToDate(const AnsiString& ymd);
// "" is valid: an empty date field is not an error.
bool IsValidYmd(const AnsiString& ymd);
int DaysInMonthOf(int year, int month);

// date: a date text (narrow or wide) or a date value; unit "Y", "M" or "D" in any case.
// A shift by months or years keeps the day where the target month has it, else takes the
// month's last day. "" for anything else or a result outside the years 1 to 9999.
AnsiString ShiftYmd(const Variant& date, const AnsiString& unit, int amount);

// The relative-date rule: count (weeks when unit is "0", else months), anchor "0" none,
// "1" start and "2" end of the period, and a day offset used only without an anchor. A
// base of fewer than seven characters is a year-month text and gives one. Raises
// EConvertError when a number it needs is not an integer text.
AnsiString ResolveRelativeDate(const AnsiString& base, const AnsiString& count,
                               const AnsiString& unit, const AnsiString& anchor,
                               const AnsiString& dayOffset);
// The Sunday (anchor "1") or Saturday (any other anchor) of the week count weeks away.
AnsiString WeekBoundaryDate(const AnsiString& ymd, const AnsiString& count,
                            const AnsiString& anchor);

// conditions: [1] the condition-value array, [3] the dynamic-date settings ([0] their
// number, then one packed setting each). Answers the condition-value array with the
// dynamic dates resolved against baseYmd, or an empty text when that fails.
Variant ApplyDynamicDates(const Variant& conditions, const AnsiString& baseYmd);

// The first run day on or after ymd of a periodic schedule ([0] kind, [1] its details);
// "" for the hourly kind or when it cannot be worked out.
AnsiString FirstScheduledDate(const AnsiString& ymd, const Variant& schedule);

// ---- Variants -------------------------------------------------------------------------

Variant VarIfThen(bool flag, const Variant& a, const Variant& b);
bool VarIsEmptyOrNull(const Variant& v);

// ---- Code pages -----------------------------------------------------------------------
//
// The text conversions fall back to the process's code page when the one asked for gives
// nothing, and answer empty text when that fails too. The variant conversions work on a
// copy, through nested one-dimensional arrays and the cells of two-dimensional ones; a
// failure is written to the "libstrs" alert log and answers the input unchanged.

AnsiString WideToCodePage(const WideString& text, UINT codePage);
WideString CodePageToWide(const AnsiString& text, UINT codePage);
// Wide (and narrow) texts become narrow texts in codePage.
Variant VarToCodePage(const Variant& value, UINT codePage);
// Texts, read as bytes of codePage, become wide texts.
Variant VarFromCodePage(const Variant& value, UINT codePage);
