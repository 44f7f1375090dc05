#include "platform/rtl/DateUtils.h"
#include "tests/platform/rtl/RtlFixture.h"

#include <ostream>

namespace {

// ---- Encoding and decoding -------------------------------------------------------------

struct TDateCase {
  const char* Name;
  int Year, Month, Day;
  bool Valid;
  double Serial;
  friend std::ostream& operator<<(std::ostream& os, const TDateCase& c) {
    return os << c.Year << '-' << c.Month << '-' << c.Day;
  }
};

const TDateCase DateCases[] = {
    {"Epoch", 1899, 12, 30, true, 0},
    {"FirstOf1900", 1900, 1, 1, true, 2},
    {"Y2K", 2000, 1, 1, true, 36526},
    {"LeapDayOf2000", 2000, 2, 29, true, 36585},
    {"LeapDayOf2024", 2024, 2, 29, true, 45351},
    {"LeapDayOf1600", 1600, 2, 29, true, -109512},
    {"FirstDay", 1, 1, 1, true, -693593},
    {"LastDay", 9999, 12, 31, true, 2958465},
    {"NoLeapDayIn1900", 1900, 2, 29, false, 0},
    {"NoLeapDayIn2023", 2023, 2, 29, false, 0},
    {"April31", 2024, 4, 31, false, 0},
    {"Month13", 2024, 13, 1, false, 0},
    {"Month0", 2024, 0, 1, false, 0},
    {"Day0", 2024, 1, 0, false, 0},
    {"Year0", 0, 1, 1, false, 0},
    {"Year10000", 10000, 1, 1, false, 0},
};

class TEncodeDateTest : public TRtlTest, public ::testing::WithParamInterface<TDateCase> {};

TEST_P(TEncodeDateTest, RoundTripsOrRefuses) {
  const TDateCase& c = GetParam();
  TDateTime d = -12345;
  ASSERT_EQ(TryEncodeDate(c.Year, c.Month, c.Day, d), c.Valid);
  if (!c.Valid) {
    EXPECT_EQ(d, -12345);
    try {
      EncodeDate(c.Year, c.Month, c.Day);
      FAIL() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "Invalid argument to date encode");
    }
    return;
  }
  EXPECT_EQ(d, c.Serial);
  uint16_t y, m, day;
  DecodeDate(d >= 0 ? d + 0.75 : d - 0.75, y, m, day);
  EXPECT_EQ(y, c.Year);
  EXPECT_EQ(m, c.Month);
  EXPECT_EQ(day, c.Day);
  EXPECT_EQ(DaysInAMonth(c.Year, c.Month), MonthDays[IsLeapYear(c.Year)][c.Month]);
}

INSTANTIATE_TEST_SUITE_P(Dates, TEncodeDateTest, ::testing::ValuesIn(DateCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TRtlTest, TimesEncodeAndDecodeToTheMillisecond) {
  uint16_t h, n, s, z;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, z);
  EXPECT_EQ((std::vector<int>{h, n, s, z}), (std::vector<int>{23, 59, 59, 999}));
  DecodeTime(EncodeDate(2024, 5, 6) + EncodeTime(12, 0, 0, 1), h, n, s, z);
  EXPECT_EQ((std::vector<int>{h, n, s, z}), (std::vector<int>{12, 0, 0, 1}));
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
  TDateTime t = 7;
  EXPECT_FALSE(TryEncodeTime(0, 0, 60, 0, t));
  EXPECT_EQ(t, 7);
  EXPECT_TRUE(IsValidTime(24, 0, 0, 0));
  EXPECT_FALSE(IsValidTime(24, 0, 0, 1));

  // A hair before midnight is midnight of the next day, never 23:59:59.1000.
  uint16_t y, m, d;
  DecodeDate(EncodeDate(2024, 12, 31) + 0.9999999999, y, m, d);
  DecodeTime(EncodeDate(2024, 12, 31) + 0.9999999999, h, n, s, z);
  EXPECT_EQ((std::vector<int>{y, m, d, h, n, s, z}), (std::vector<int>{2025, 1, 1, 0, 0, 0, 0}));
}

TEST_F(TRtlTest, BeforeTheEpochTheFractionIsStillTheTimeOfDay) {
  // -1.25 is 29 December 1899 at 06:00, not 18:00.
  uint16_t y, m, d, h, n, s, z;
  DecodeDateTime(-1.25, y, m, d, h, n, s, z);
  EXPECT_EQ((std::vector<int>{y, m, d, h, n}), (std::vector<int>{1899, 12, 29, 6, 0}));
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", -1.25), "1899-12-29 06:00");
  // -0.5 is noon of the epoch day itself.
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", -0.5), "1899-12-30 12:00");
  // Steps across the epoch keep the time of day.
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", IncDay(EncodeDateTime(1899, 12, 30, 6, 0, 0, 0), -1)),
            "1899-12-29 06:00");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", IncHour(-1.25, 20)), "1899-12-30 02:00");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", IncMonth(-1.25, 1)), "1900-01-29 06:00");
  EXPECT_EQ(DaysBetween(EncodeDateTime(1899, 12, 31, 6, 0, 0, 0), -1.25), 2);
  EXPECT_DOUBLE_EQ(TimeOf(-1.25), 0.25);
}

struct TWeekdayCase {
  const char* Name;
  int Year, Month, Day;
  int DelphiDay, IsoDay;
  friend std::ostream& operator<<(std::ostream& os, const TWeekdayCase& c) { return os << c.Name; }
};

const TWeekdayCase WeekdayCases[] = {
    {"EpochSaturday", 1899, 12, 30, 7, 6},
    {"Monday", 2024, 5, 6, 2, 1},
    {"Sunday", 2024, 5, 5, 1, 7},
    {"Y2KSaturday", 2000, 1, 1, 7, 6},
    {"FirstDayMonday", 1, 1, 1, 2, 1},
    {"LastDayFriday", 9999, 12, 31, 6, 5},
};

class TWeekdayTest : public TRtlTest, public ::testing::WithParamInterface<TWeekdayCase> {};

TEST_P(TWeekdayTest, CountsFromSundayOrMonday) {
  const TWeekdayCase& c = GetParam();
  const TDateTime d = EncodeDateTime(c.Year, c.Month, c.Day, 12, 0, 0, 0);
  EXPECT_EQ(DayOfWeek(d), c.DelphiDay);
  EXPECT_EQ(DayOfTheWeek(d), c.IsoDay);
}

INSTANTIATE_TEST_SUITE_P(Dates, TWeekdayTest, ::testing::ValuesIn(WeekdayCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TRtlTest, IncMonthClampsTheDayAndKeepsTheTime) {
  const TDateTime t = EncodeTime(8, 30, 0, 0);
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 31) + t, 1), EncodeDate(2024, 2, 29) + t);
  EXPECT_EQ(IncMonth(EncodeDate(2023, 1, 31), 1), EncodeDate(2023, 2, 28));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 3, 31), -1), EncodeDate(2024, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 15), -13), EncodeDate(2022, 12, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 12, 15), 1), EncodeDate(2025, 1, 15));
  EXPECT_EQ(IncYear(EncodeDate(2024, 2, 29), 1), EncodeDate(2025, 2, 28));
  EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
}

TEST_F(TRtlTest, MonthAndYearBounds) {
  const TDateTime d = EncodeDate(2024, 2, 10) + EncodeTime(9, 0, 0, 0);
  EXPECT_EQ(StartOfTheMonth(d), EncodeDate(2024, 2, 1));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", EndOfTheMonth(d)), "2024-02-29 23:59:59.999");
  EXPECT_EQ(StartOfTheYear(d), EncodeDate(2024, 1, 1));
  EXPECT_EQ(DayOfTheYear(d), 41);
  EXPECT_EQ(DaysInMonth(d), 29);
  EXPECT_EQ(DaysInAYear(1900), 365);
  EXPECT_EQ(DateOf(d), EncodeDate(2024, 2, 10));
  EXPECT_EQ(CompareDate(d, EncodeDate(2024, 2, 10)), 0);
  EXPECT_EQ(CompareDate(d, EncodeDate(2024, 2, 11)), -1);
}

TEST_F(TRtlTest, ClockReadsThroughTheHook) {
  EXPECT_EQ(Now(), FixedNow());
  EXPECT_EQ(Date(), EncodeDate(2024, 5, 6));
  EXPECT_NEAR(Time(), EncodeTime(14, 3, 9, 45), 1e-9);
  EXPECT_TRUE(IsToday(EncodeDate(2024, 5, 6) + 0.9));
}

// ---- FormatDateTime --------------------------------------------------------------------

struct TFormatDateCase {
  const char* Name;
  const char* Pattern;
  const char* Text;
  char DateSep = '-';
  char TimeSep = ':';
  friend std::ostream& operator<<(std::ostream& os, const TFormatDateCase& c) { return os << c.Pattern; }
};

// All on Monday 2024-05-06 14:03:09.045.
const TFormatDateCase FormatDateCases[] = {
    {"FullNumeric", "yyyy-mm-dd hh:nn:ss.zzz", "2024-05-06 14:03:09.045"},
    {"Unpadded", "yy m d h n s z", "24 5 6 14 3 9 45"},
    {"SingleYIsTwoDigits", "y", "24"},
    {"SlashIsDateSeparator", "yyyy/mm/dd", "2024-05-06"},
    {"OtherDateSeparator", "yyyy/m/d", "2024.5.6", '.'},
    {"ColonIsTimeSeparator", "hh:nn", "14.03", '-', '.'},
    {"MAfterHIsMinute", "h:m", "14:3"},
    {"MmAfterHhIsMinute", "hh mm", "14 03"},
    {"MAfterYearIsMonth", "h yyyy m", "14 2024 5"},
    {"MonthNames", "mmm|mmmm", "五月|五月"},
    {"DayNames", "ddd|dddd", "星期一|星期一"},
    {"ShortDate", "ddddd", "2024-5-6"},
    {"LongDate", "dddddd", "2024年5月6日"},
    {"ShortAndLongTime", "t|tt", "14:03|14:03:09"},
    {"Combined", "c", "2024-5-6 14:03:09"},
    {"AmPmKeepsCase", "hh:nn am/pm|h AM/PM", "02:03 pm|2 PM"},
    {"AP", "h a/p", "2 p"},
    {"AmPmStrings", "hh ampm", "02 下午"},
    {"TwelveHourOnlyBeforeNextHour", "h h ampm", "14 2 下午"},
    {"MarkBeforeHour", "ampm h:nn|h", "下午 2:03|2"},
    {"QuotedLiterals", "'yyyy' \"m\"yyyy", "yyyy m2024"},
    {"OtherLetters", "x-q", "x-q"},
    {"DoubleByteTrailLetters", "d乨d乤", "6乨6乤"},
};

class TFormatDateTimeTest : public TRtlTest, public ::testing::WithParamInterface<TFormatDateCase> {};

TEST_P(TFormatDateTimeTest, FollowsThePattern) {
  const TFormatDateCase& c = GetParam();
  DateSeparator = c.DateSep;
  TimeSeparator = c.TimeSep;
  EXPECT_EQ(FormatDateTime(c.Pattern, FixedNow()), c.Text);
}

INSTANTIATE_TEST_SUITE_P(FormatDateTime, TFormatDateTimeTest, ::testing::ValuesIn(FormatDateCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TRtlTest, DateTimeTextUsesTheSettings) {
  ASSERT_EQ(AnsiString("乨"), "\x81\x64");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 5, 6)), "2024-5-6");
  EXPECT_EQ(DateToStr(FixedNow()), "2024-5-6");
  EXPECT_EQ(TimeToStr(FixedNow()), "14:03:09");
  ShortDateFormat = "dd/mm/yyyy";
  DateSeparator = '.';
  LongTimeFormat = "hh:nn";
  EXPECT_EQ(DateTimeToStr(FixedNow()), "06.05.2024 14:03");
  // A format that refers to itself stops instead of recursing for ever.
  ShortDateFormat = "ddddd c";
  EXPECT_NO_THROW(DateToStr(FixedNow()));
}

TEST_F(TRtlTest, SettingsFollowTheCodePageOfTheProcess) {
  UseCodePage(950);
  GetFormatSettings();
  EXPECT_EQ(DateSeparator, '/');
  // Names are written in BIG5 in a Taiwanese process.
  EXPECT_EQ(TimePMString, "\xA4\x55\xA4\xC8");
  EXPECT_EQ(LongMonthNames[1], "\xA4\x40\xA4\xEB");
  EXPECT_EQ(DateTimeToStr(FixedNow()), "2024/5/6 \xA4\x55\xA4\xC8 02:03:09");
  EXPECT_EQ(FormatDateTime("dddddd", FixedNow()), "2024\xA6\x7E" "5\xA4\xEB" "6\xA4\xE9");

  UseCodePage(1252);
  GetFormatSettings();
  EXPECT_EQ(DateTimeToStr(FixedNow()), "5/6/2024 2:03:09 PM");
  EXPECT_EQ(FormatDateTime("dddddd", FixedNow()), "Monday, May 06, 2024");
  EXPECT_EQ(StrToDate("5/6/24"), EncodeDate(2024, 5, 6));
}

// ---- Reading dates ---------------------------------------------------------------------

struct TParseDateCase {
  const char* Name;
  const char* Text;
  const char* ShortFormat;
  char Separator;
  bool Valid;
  int Year = 0, Month = 0, Day = 0;
  friend std::ostream& operator<<(std::ostream& os, const TParseDateCase& c) { return os << '"' << c.Text << '"'; }
};

const TParseDateCase ParseDateCases[] = {
    {"YearMonthDay", "2024-5-6", "yyyy-m-d", '-', true, 2024, 5, 6},
    {"PaddedWithBlanks", " 2024-05-06 ", "yyyy-m-d", '-', true, 2024, 5, 6},
    {"TwoDigitYearThisCentury", "24-5-6", "yyyy-m-d", '-', true, 2024, 5, 6},
    {"TwoDigitYearWindowBack", "99-1-1", "yyyy-m-d", '-', true, 1999, 1, 1},
    {"TwoDigitYearWindowAhead", "73-1-1", "yyyy-m-d", '-', true, 2073, 1, 1},
    {"MonthAndDayOnly", "5-6", "yyyy-m-d", '-', true, 2024, 5, 6},
    {"DayMonthYear", "6/5/2024", "dd/mm/yyyy", '/', true, 2024, 5, 6},
    {"DayMonthOnly", "6/5", "dd/mm/yyyy", '/', true, 2024, 5, 6},
    {"MonthDayYear", "5/6/2024", "m/d/yyyy", '/', true, 2024, 5, 6},
    {"LeapDay", "2024-2-29", "yyyy-m-d", '-', true, 2024, 2, 29},
    {"NotALeapYear", "2023-2-29", "yyyy-m-d", '-', false},
    {"WrongSeparator", "2024/5/6", "yyyy-m-d", '-', false},
    {"Letters", "abc", "yyyy-m-d", '-', false},
    {"Trailing", "2024-5-6x", "yyyy-m-d", '-', false},
    {"Empty", "", "yyyy-m-d", '-', false},
    {"OneNumber", "2024", "yyyy-m-d", '-', false},
    {"TooManyDigits", "20245-5-6", "yyyy-m-d", '-', false},
};

class TStrToDateTest : public TRtlTest, public ::testing::WithParamInterface<TParseDateCase> {};

TEST_P(TStrToDateTest, ReadsInTheOrderOfTheShortFormat) {
  const TParseDateCase& c = GetParam();
  ShortDateFormat = c.ShortFormat;
  DateSeparator = c.Separator;
  TDateTime d = -1;
  ASSERT_EQ(TryStrToDate(c.Text, d), c.Valid);
  if (c.Valid) {
    EXPECT_EQ(d, EncodeDate(c.Year, c.Month, c.Day));
    EXPECT_EQ(StrToDate(c.Text), d);
  } else {
    EXPECT_EQ(d, -1);
    try {
      StrToDate(c.Text);
      FAIL() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, AnsiString("'") + c.Text + "' is not a valid date");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(StrToDate, TStrToDateTest, ::testing::ValuesIn(ParseDateCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TRtlTest, ReadingTimesAndDateTimes) {
  EXPECT_EQ(StrToTime("14:03:09"), EncodeTime(14, 3, 9, 0));
  EXPECT_EQ(StrToTime("14:03:09.5"), EncodeTime(14, 3, 9, 5));
  EXPECT_EQ(StrToTime("2:03 PM"), EncodeTime(14, 3, 0, 0));
  EXPECT_EQ(StrToTime("12:00 am"), EncodeTime(0, 0, 0, 0));
  EXPECT_EQ(StrToTime("下午 2:03"), EncodeTime(14, 3, 0, 0));
  EXPECT_THROW(StrToTime("25:00"), EConvertError);
  EXPECT_THROW(StrToTime("13:00 PM"), EConvertError);
  EXPECT_THROW(StrToTime("1:2:3:4"), EConvertError);
  EXPECT_EQ(StrToTimeDef("x", 0.5), 0.5);

  EXPECT_EQ(StrToDateTime("2024-5-6 14:03:09"), EncodeDateTime(2024, 5, 6, 14, 3, 9, 0));
  EXPECT_EQ(StrToDateTime("2024-5-6"), EncodeDate(2024, 5, 6));
  EXPECT_EQ(StrToDateTime("14:03"), EncodeTime(14, 3, 0, 0));
  EXPECT_EQ(StrToDateTime("1899-12-29 06:00"), -1.25);
  try {
    StrToDateTime("2024-5-6 99:00");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'2024-5-6 99:00' is not a valid date and time");
  }
  // The text form of a moment reads back as the same moment.
  const TDateTime moment = EncodeDateTime(2031, 11, 30, 23, 59, 58, 0);
  EXPECT_EQ(StrToDateTime(DateTimeToStr(moment)), moment);
}

}  // namespace
