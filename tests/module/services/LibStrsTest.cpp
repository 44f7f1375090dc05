#include "module/services/LibStrs.h"

#include "platform/rtl/SysUtils.h"
#include "tests/module/services/LogFixture.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

const AnsiString Sep(1, FieldSeparator);

std::string Lit(const Variant& v) { return VarToLiteral(v); }

TDateTime Ymd(int y, int m, int d) { return EncodeDate(y, m, d); }

// ---- Delimited fields -----------------------------------------------------------------

struct TFieldCase {
  const char* Label;
  AnsiString Text;
  AnsiString Separator;
  int N;
  AnsiString Field;
};

std::ostream& operator<<(std::ostream& os, const TFieldCase& c) { return os << c.Label; }

const TFieldCase FieldCases[] = {
    {"First", "a" + Sep + "b", Sep, 1, "a"},
    {"Last", "a" + Sep + "b", Sep, 2, "b"},
    {"BeyondTheEnd", "a" + Sep + "b", Sep, 3, ""},
    {"EmptyText", "", Sep, 1, ""},
    {"TrailingSeparatorMakesAnEmptyField", "a" + Sep, Sep, 2, ""},
    {"EmptyFieldInTheMiddle", "a" + Sep + Sep + "c", Sep, 2, ""},
    {"AfterAnEmptyField", "a" + Sep + Sep + "c", Sep, 3, "c"},
    {"LeadingSeparator", Sep + "b", Sep, 1, ""},
    {"FieldZero", "a" + Sep + "b", Sep, 0, ""},
    {"LongSeparator", "a<>b<>c", "<>", 2, "b"},
    {"NoSeparatorGiven", "abc", "", 1, "abc"},
    {"NoSeparatorGivenSecond", "abc", "", 2, ""},
};

class DelimitedField : public testing::TestWithParam<TFieldCase> {};

TEST_P(DelimitedField, PicksTheNthField) {
  const TFieldCase& c = GetParam();
  EXPECT_EQ(GetDelimitedField(c.Text, c.Separator, c.N), c.Field);
}

INSTANTIATE_TEST_SUITE_P(Fields, DelimitedField, testing::ValuesIn(FieldCases),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(DelimitedFields, CountAgreesWithTheFieldsThereAre) {
  EXPECT_EQ(CountDelimitedFields("", Sep), 0);
  EXPECT_EQ(CountDelimitedFields("abc", Sep), 1);
  EXPECT_EQ(CountDelimitedFields("a" + Sep, Sep), 2);
  EXPECT_EQ(CountDelimitedFields(Sep, Sep), 2);
  EXPECT_EQ(CountDelimitedFields("a" + Sep + "b" + Sep + "c", Sep), 3);
  EXPECT_EQ(CountDelimitedFields("a##b", "#"), 3);
  EXPECT_EQ(CountDelimitedFields("x#y", "##"), 1);
}

TEST(DelimitedFields, SplitFirstFieldLeavesTheRest) {
  AnsiString text = "a" + Sep + "b" + Sep + "c";
  EXPECT_EQ(SplitFirstField(text, Sep), "a");
  EXPECT_EQ(text, "b" + Sep + "c");
  EXPECT_EQ(SplitFirstField(text, Sep), "b");
  EXPECT_EQ(SplitFirstField(text, Sep), "c");
  EXPECT_EQ(text, "");
  AnsiString leading = Sep + "x";
  EXPECT_EQ(SplitFirstField(leading, Sep), "");
  EXPECT_EQ(leading, "x");
}

TEST(DelimitedFields, JoinCountedListWritesCountAndElements) {
  const WideString s(1, u'\x03');
  EXPECT_EQ(JoinCountedList("P", VarArrayOf({2, "x", WideString(u"中"), "not counted"})),
            u"P" + s + u"2" + s + u"x" + s + u"中" + s);
  EXPECT_EQ(JoinCountedList("P", VarArrayOf({"1", 7})), u"P" + s + u"1" + s + u"7" + s);
  // Elements the array lacks are sent empty so the count still holds.
  EXPECT_EQ(JoinCountedList("", VarArrayOf({3, "a"})), s + u"3" + s + u"a" + s + s + s);
  EXPECT_EQ(JoinCountedList("P", VarArrayOf({0})), u"P" + s + u"0" + s);
  EXPECT_EQ(JoinCountedList("P", Variant("not a list")), u"");
}

TEST(Texts, PadRightFillsUpToTheWidth) {
  EXPECT_EQ(PadRight("PR", {4}), "PR  ");
  EXPECT_EQ(PadRight("7", {3, '0'}), "700");
  EXPECT_EQ(PadRight("ABCDE", {4}), "ABCDE");
  EXPECT_EQ(PadRight("ABCD", {4}), "ABCD");
  EXPECT_EQ(PadRight("", {2}), "  ");
  EXPECT_EQ(PadRight("x", {}), "x");
  // Widths count bytes, as the edit masks do.
  EXPECT_EQ(PadRight("调拨", {6}), "调拨  ");
}

// ---- Date texts -----------------------------------------------------------------------

struct TYmdCase {
  const char* Label;
  AnsiString Text;
  bool Current;
  bool Legacy;
};

std::ostream& operator<<(std::ostream& os, const TYmdCase& c) { return os << c.Label; }

const TYmdCase YmdCases[] = {
    {"Empty", "", true, true},
    {"FirstDay", "17530101", true, true},
    {"LastDay", "99991231", true, true},
    {"BeforeTheRange", "17521231", false, true},
    {"YearOne", "00010101", false, true},
    {"NoThirtiethOfFebruary", "20230230", false, false},
    {"LeapDay", "20240229", true, true},
    {"NoLeapDayInACentury", "19000229", false, false},
    {"LeapDayIn2000", "20000229", true, true},
    {"MonthThirteen", "20231301", false, false},
    {"DayZero", "20230100", false, false},
    {"SevenCharacters", "2023011", false, false},
    {"Blank", "2023 101", false, false},
    {"Letters", "2023ab01", false, false},
    {"Signs", "2023+1-1", false, false},
    {"CharactersAfterTheEighthIgnored", "20230101x", true, true},
};

class ValidYmd : public testing::TestWithParam<TYmdCase> {};

TEST_P(ValidYmd, ChecksCalendarAndRange) {
  const TYmdCase& c = GetParam();
#ifdef TAVO_LEGACY
  EXPECT_EQ(IsValidYmd(c.Text), c.Legacy);
#else
  EXPECT_EQ(IsValidYmd(c.Text), c.Current);
#endif
}

INSTANTIATE_TEST_SUITE_P(Texts, ValidYmd, testing::ValuesIn(YmdCases),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(DateTexts, YmdToDateReadsExactlyEightDigits) {
  EXPECT_EQ(YmdToDate("20230501"), Ymd(2023, 5, 1));
  EXPECT_EQ(YmdToDate("17530101"), Ymd(1753, 1, 1));
  EXPECT_EQ(YmdToDate("2023051"), 0);
  EXPECT_EQ(YmdToDate("202305011"), 0);
  EXPECT_EQ(YmdToDate("20230230"), 0);
  EXPECT_EQ(YmdToDate("2023o501"), 0);
  EXPECT_EQ(YmdToDate(""), 0);
}

TEST(DateTexts, DaysInMonthOf) {
  EXPECT_EQ(DaysInMonthOf(2023, 1), 31);
  EXPECT_EQ(DaysInMonthOf(2023, 2), 28);
  EXPECT_EQ(DaysInMonthOf(2024, 2), 29);
  EXPECT_EQ(DaysInMonthOf(1900, 2), 28);
  EXPECT_EQ(DaysInMonthOf(2000, 2), 29);
  EXPECT_EQ(DaysInMonthOf(2023, 4), 30);
  EXPECT_EQ(DaysInMonthOf(2023, 12), 31);
  EXPECT_EQ(DaysInMonthOf(2023, 0), 0);
  EXPECT_EQ(DaysInMonthOf(2023, 13), 0);
}

// ---- Display texts --------------------------------------------------------------------

struct TParseCase {
  const char* Label;
  AnsiString Text;
  int Type;
  AnsiString Separator;
  int Y, M, D;  // 0, 0, 0 for no date
};

std::ostream& operator<<(std::ostream& os, const TParseCase& c) { return os << c.Label; }

const TParseCase ParseCases[] = {
    {"YearFirst", "2023/05/01", 1, "/", 2023, 5, 1},
    {"DayRunsOnIntoMarch", "2023/02/30", 1, "/", 2023, 3, 2},
    {"DayRunsOnIntoNextYear", "2023/12/32", 1, "/", 2024, 1, 1},
    {"LeapYearRunOn", "2024/02/30", 1, "/", 2024, 3, 1},
    {"MonthThirteen", "2023/13/01", 1, "/", 0, 0, 0},
    {"MonthZero", "2023/00/01", 1, "/", 0, 0, 0},
    {"NotANumber", "2023/05/xx", 1, "/", 0, 0, 0},
    {"TwoParts", "2023/05", 1, "/", 0, 0, 0},
    {"Blanks", "  2023-05-01 ", 1, "-", 2023, 5, 1},
    {"MonthFirst", "05-01-2023", 2, "-", 2023, 5, 1},
    {"DayFirst", "01.05.2023", 3, ".", 2023, 5, 1},
    {"EraTwoDigits", "112/05/01", 4, "/", 2023, 5, 1},
    {"EraThreeDigits", "112/05/01", 5, "/", 2023, 5, 1},
    {"EraSmallYear", "01/01/01", 4, "/", 1912, 1, 1},
    {"FirstCharacterIsTheSeparator", "2023/05/01", 1, "/-", 2023, 5, 1},
    {"UnknownType", "2023/05/01", 6, "/", 0, 0, 0},
    {"WithoutSeparator", "20230501", 1, "", 2023, 5, 1},
    {"WithoutSeparatorMonthFirst", "05012023", 2, "", 2023, 5, 1},
    {"WithoutSeparatorEra", "1120501", 5, "", 2023, 5, 1},
    {"Empty", "", 1, "/", 0, 0, 0},
};

class ParseDate : public testing::TestWithParam<TParseCase> {};

TEST_P(ParseDate, ReadsTheDisplayType) {
  const TParseCase& c = GetParam();
  const TDateTime expected = c.Y ? Ymd(c.Y, c.M, c.D) : 0;
  EXPECT_EQ(ParseDateByType(c.Text, c.Type, c.Separator), expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseDate, testing::ValuesIn(ParseCases),
                         [](const auto& info) { return std::string(info.param.Label); });

struct TFormatCase {
  const char* Label;
  int Type;
  AnsiString Separator;
  int Y, M, D;
  AnsiString Date;
  AnsiString YearMonth;
};

std::ostream& operator<<(std::ostream& os, const TFormatCase& c) { return os << c.Label; }

const TFormatCase FormatCases[] = {
    {"YearFirst", 1, "/", 2023, 5, 1, "2023/05/01", "2023/05"},
    {"MonthFirst", 2, "-", 2023, 5, 1, "05-01-2023", "05-2023"},
    {"DayFirst", 3, ".", 2023, 5, 1, "01.05.2023", "05.2023"},
    {"EraTwoDigits", 4, "/", 2023, 5, 1, "112/05/01", "112/05"},
    {"EraTwoDigitsSmallYear", 4, "/", 1915, 3, 4, "04/03/04", "04/03"},
    {"EraThreeDigits", 5, "/", 2023, 5, 1, "112/05/01", "112/05"},
    {"EraThreeDigitsSmallYear", 5, "/", 1915, 3, 4, "004/03/04", "004/03"},
    {"NoSeparator", 1, "", 2023, 5, 1, "20230501", "202305"},
    {"FirstCharacterOnly", 1, "-/", 2023, 5, 1, "2023-05-01", "2023-05"},
    {"UnknownType", 0, "/", 2023, 5, 1, "", ""},
};

class FormatDate : public testing::TestWithParam<TFormatCase> {};

TEST_P(FormatDate, WritesTheDisplayTypeAndReadsBack) {
  const TFormatCase& c = GetParam();
  const TDateTime date = Ymd(c.Y, c.M, c.D);
  EXPECT_EQ(FormatDateByType(c.Type, c.Separator, date), c.Date);
  EXPECT_EQ(FormatYearMonthByType(c.Type, c.Separator, date), c.YearMonth);
  if (!c.Date.empty()) {
    EXPECT_EQ(ParseDateByType(c.Date, c.Type, c.Separator), date);
  }
}

INSTANTIATE_TEST_SUITE_P(Types, FormatDate, testing::ValuesIn(FormatCases),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(FormatDate, ZeroDateIsEmpty) {
  for (int type = 1; type <= 5; ++type) {
    EXPECT_EQ(FormatDateByType(type, "/", 0), "");
    EXPECT_EQ(FormatYearMonthByType(type, "/", 0), "");
  }
}

// ---- Shifting dates -------------------------------------------------------------------

enum TDateKind { dkNarrow, dkWide, dkValue, dkInteger };

struct TShiftCase {
  const char* Label;
  TDateKind Kind;
  AnsiString Date;
  AnsiString Unit;
  int Amount;
  AnsiString Result;
};

std::ostream& operator<<(std::ostream& os, const TShiftCase& c) { return os << c.Label; }

const TShiftCase ShiftCases[] = {
    {"MonthEndToFebruary", dkNarrow, "20230131", "M", 1, "20230228"},
    {"MonthEndToLeapFebruary", dkNarrow, "20240131", "m", 1, "20240229"},
    {"BackIntoLastYear", dkNarrow, "20240115", "M", -1, "20231215"},
    {"BackFifteenMonths", dkNarrow, "20230315", "M", -15, "20211215"},
    {"ForwardToDecember", dkNarrow, "20231115", "M", 1, "20231215"},
    {"TwelveMonths", dkNarrow, "20231215", "M", 12, "20241215"},
    {"LeapDayPlusAYear", dkNarrow, "20240229", "Y", 1, "20250228"},
    {"LeapDayPlusFourYears", dkNarrow, "20240229", "y", 4, "20280229"},
    {"DaysAcrossTheYear", dkNarrow, "20231231", "d", 1, "20240101"},
    {"DaysBack", dkWide, "20230510", "D", -10, "20230430"},
    {"DateValue", dkValue, "20230510", "D", 0, "20230510"},
    {"DateValueMonths", dkValue, "20230531", "M", 1, "20230630"},
    {"UnknownUnit", dkNarrow, "20230131", "W", 1, ""},
    {"InvalidDate", dkNarrow, "20230230", "D", 1, ""},
    {"EmptyText", dkNarrow, "", "D", 1, ""},
    {"IntegerIsNoDate", dkInteger, "20230101", "D", 1, ""},
    {"PastYear9999", dkNarrow, "99991231", "D", 1, ""},
    {"BeforeYearOne", dkNarrow, "00010101", "M", -1, ""},
    {"FarMonths", dkNarrow, "20230101", "M", 2000000000, ""},
};

class ShiftDate : public testing::TestWithParam<TShiftCase> {};

TEST_P(ShiftDate, MovesByUnit) {
  const TShiftCase& c = GetParam();
  Variant date;
  switch (c.Kind) {
    case dkNarrow: date = Variant(c.Date); break;
    case dkWide: date = Variant(AnsiToWide(c.Date)); break;
    case dkValue: date = VarFromDateTime(YmdToDate(c.Date)); break;
    case dkInteger: date = Variant(StrToInt(c.Date)); break;
  }
  EXPECT_EQ(ShiftYmd(date, c.Unit, c.Amount), c.Result);
}

INSTANTIATE_TEST_SUITE_P(Units, ShiftDate, testing::ValuesIn(ShiftCases),
                         [](const auto& info) { return std::string(info.param.Label); });

// ---- Relative dates -------------------------------------------------------------------

struct TRelativeCase {
  const char* Label;
  AnsiString Base, Count, Unit, Anchor, Offset;
  AnsiString Result;
};

std::ostream& operator<<(std::ostream& os, const TRelativeCase& c) { return os << c.Label; }

// 17 May 2023 is a Wednesday.
const TRelativeCase RelativeCases[] = {
    {"SundayOfNextWeek", "20230517", "1", "0", "1", "0", "20230521"},
    {"SaturdayOfNextWeek", "20230517", "1", "0", "2", "0", "20230527"},
    {"SundayOfLastWeek", "20230517", "-1", "0", "1", "9", "20230507"},
    {"SundayStaysWhenOnSunday", "20230521", "0", "0", "1", "0", "20230521"},
    {"SaturdayStaysWhenOnSaturday", "20230527", "0", "0", "2", "0", "20230527"},
    {"WeeksAndDays", "20230517", "2", "0", "0", "-3", "20230528"},
    {"BaseItself", "20230517", "0", "0", "0", "0", "20230517"},
    {"EndOfThisMonth", "20230517", "0", "1", "2", "0", "20230531"},
    {"EndOfLeapFebruary", "20240115", "1", "1", "2", "0", "20240229"},
    {"StartOfLastMonthIgnoresOffset", "20230517", "-1", "1", "1", "5", "20230401"},
    {"MonthThenDays", "20230131", "1", "1", "0", "3", "20230303"},
    {"AnyMonthUnitButZero", "20230517", "1", "2", "0", "0", "20230617"},
    {"YearMonthBack", "202305", "-1", "0", "0", "0", "202304"},
    {"YearMonthAcrossYear", "202301", "-1", "1", "2", "0", "202212"},
    {"YearMonthForward", "202311", "3", "1", "x", "x", "202402"},
    {"EmptyBase", "", "1", "1", "0", "0", ""},
};

class RelativeDate : public testing::TestWithParam<TRelativeCase> {};

TEST_P(RelativeDate, FollowsTheRule) {
  const TRelativeCase& c = GetParam();
  EXPECT_EQ(ResolveRelativeDate(c.Base, c.Count, c.Unit, c.Anchor, c.Offset), c.Result);
}

INSTANTIATE_TEST_SUITE_P(Rules, RelativeDate, testing::ValuesIn(RelativeCases),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(RelativeDate, NumbersThatAreNotIntegersRaise) {
  EXPECT_THROW(ResolveRelativeDate("20230517", "one", "0", "0", "0"), EConvertError);
  EXPECT_THROW(ResolveRelativeDate("20230517", "1", "0", "0", ""), EConvertError);
  EXPECT_THROW(ResolveRelativeDate("20230517", "1", "1", "start", "0"), EConvertError);
  EXPECT_THROW(ResolveRelativeDate("20230517", "1", "0", "end", "0"), EConvertError);
  EXPECT_THROW(WeekBoundaryDate("20230517", "1.5", "1"), EConvertError);
}

TEST(RelativeDate, WeekBoundaryMovesWeeksThenToTheEdge) {
  EXPECT_EQ(WeekBoundaryDate("20230517", "0", "1"), "20230514");
  EXPECT_EQ(WeekBoundaryDate("20230517", "0", "2"), "20230520");
  EXPECT_EQ(WeekBoundaryDate("20230517", "0", "7"), "20230520");
  EXPECT_EQ(WeekBoundaryDate("20231229", "1", "2"), "20240106");
  EXPECT_EQ(WeekBoundaryDate("nonsense", "1", "1"), "");
}

// ---- Dynamic dates --------------------------------------------------------------------

AnsiString Fields(std::initializer_list<const char*> fields) {
  AnsiString text;
  for (const char* f : fields) text += (text.empty() ? "" : Sep) + f;
  return text;
}

Variant Conditions(const Variant& values, std::initializer_list<AnsiString> settings) {
  Variant list = VarArrayCreate({0, static_cast<int>(settings.size())}, varVariant);
  list.PutElement({0}, static_cast<int>(settings.size()));
  int i = 1;
  for (const AnsiString& s : settings) list.PutElement({i++}, s);
  Variant conditions = VarArrayCreate({1, 3}, varVariant);
  conditions.PutElement({1}, values);
  conditions.PutElement({2}, VarArrayOf({0, 1}));
  conditions.PutElement({3}, list);
  return conditions;
}

Variant Values() {
  return VarArrayOf({"F01", "20230101", VarArrayOf({"\x04", "20230101", "20230131"}),
                     WideString(u"20230101")});
}

TEST(DynamicDates, SingleEditTakesItsRule) {
  const AnsiString single = Fields({"1", "ed02", "Y", "1", "1", "2", "0", "D", "1"});
  EXPECT_EQ(Lit(ApplyDynamicDates(Conditions(Values(), {single}), "20230517")),
            "[0..3: 'F01', '20230630', [0..2: #4, '20230101', '20230131'], W'20230101']");
}

TEST(DynamicDates, SingleEditWithAnAllZeroRuleTakesTheBase) {
  const AnsiString single = Fields({"1", "ed04", "Y", "0", "1", "0", "0", "D", "3"});
  const Variant result = ApplyDynamicDates(Conditions(Values(), {single}), "20230517");
  EXPECT_EQ(Lit(result.GetElement({3})), "W'20230517'");
  EXPECT_EQ(Lit(result.GetElement({1})), "'20230101'");
}

TEST(DynamicDates, YearMonthSettingWorksOnTheMonth) {
  const AnsiString single = Fields({"1", "ed02", "Y", "-1", "1", "0", "0", "M", "1"});
  const AnsiString same = Fields({"1", "ed02", "Y", "0", "0", "0", "0", "M", "0"});
  const Variant result = ApplyDynamicDates(Conditions(Values(), {single, same}), "20230517");
  EXPECT_EQ(Lit(result.GetElement({1})), "'202304'");
  EXPECT_EQ(Lit(result.GetElement({0})), "'202305'");
}

TEST(DynamicDates, RangePanelMovesStartAndEndSeparately) {
  const AnsiString range = Fields({"0", "sp03", "Y", "0", "0", "0", "0", "Y", "-1", "1", "1", "0",
                                   "D", "2"});
  const Variant result = ApplyDynamicDates(Conditions(Values(), {range}), "20230517");
  EXPECT_EQ(Lit(result.GetElement({2})), "[0..2: #4, '20230517', '20230401']");
  const AnsiString endOnly = Fields({"0", "sp03", "N", "1", "1", "1", "0", "Y", "0", "1", "2", "0",
                                     "D", "2"});
  EXPECT_EQ(Lit(ApplyDynamicDates(Conditions(Values(), {endOnly}), "20230517").GetElement({2})),
            "[0..2: #4, '20230101', '20230531']");
}

TEST(DynamicDates, SettingsThatAreOffChangeNothing) {
  const AnsiString range = Fields({"0", "sp03", "N", "1", "1", "1", "0", "N", "1", "1", "2", "0",
                                   "D", "2"});
  const AnsiString single = Fields({"1", "ed02", "N", "1", "1", "2", "0", "D", "1"});
  EXPECT_EQ(Lit(ApplyDynamicDates(Conditions(Values(), {range, single}), "20230517")),
            Lit(Values()));
}

TEST(DynamicDates, ASettingWithoutIndexGivesAnEmptyText) {
  const AnsiString range = Fields({"0", "sp03", "N", "0", "0", "0", "0", "N", "0", "0", "0", "0", "D"});
  EXPECT_EQ(Lit(ApplyDynamicDates(Conditions(Values(), {range}), "20230517")), "''");
  const AnsiString outside = Fields({"1", "ed02", "Y", "0", "0", "0", "0", "D", "9"});
  EXPECT_EQ(Lit(ApplyDynamicDates(Conditions(Values(), {outside}), "20230517")), "''");
  EXPECT_EQ(Lit(ApplyDynamicDates(Variant("no conditions"), "20230517")), "''");
}

// ---- Scheduled dates ------------------------------------------------------------------

struct TScheduleCase {
  const char* Label;
  AnsiString Start;
  Variant (*Schedule)();
  AnsiString First;
};

std::ostream& operator<<(std::ostream& os, const TScheduleCase& c) { return os << c.Label; }

// 17 May 2023 is a Wednesday, 1 May 2023 a Monday.
const TScheduleCase ScheduleCases[] = {
    {"EveryDay", "20230517", +[] { return VarArrayOf({0, 1}); }, "20230517"},
    {"WeeklyOnMonday", "20230517", +[] { return VarArrayOf({1, VarArrayOf({1, 1})}); }, "20230522"},
    {"WeeklyOnSunday", "20230517", +[] { return VarArrayOf({1, VarArrayOf({1, 0})}); }, "20230521"},
    {"WeeklyOnTheStartDay", "20230517", +[] { return VarArrayOf({1, VarArrayOf({1, 3})}); },
     "20230517"},
    {"EveryTwoWeeksOnFriday", "20230517", +[] { return VarArrayOf({1, VarArrayOf({"2", 5})}); },
     "20230526"},
    {"MonthlyOnThe31st", "20230517", +[] { return VarArrayOf({2, VarArrayOf({0, 1, 31})}); },
     "20230531"},
    {"MonthlyOnThe31stInJune", "20230601", +[] { return VarArrayOf({2, VarArrayOf({0, 1, 31})}); },
     "20230630"},
    {"MonthlyOnADayPassed", "20230517", +[] { return VarArrayOf({2, VarArrayOf({0, "1", 15})}); },
     "20230615"},
    {"MonthlyOnTheStartDay", "20230517", +[] { return VarArrayOf({2, VarArrayOf({0, 1, 17})}); },
     "20230517"},
    {"OnThe30thAfterJanuary", "20240131", +[] { return VarArrayOf({2, VarArrayOf({0, 1, 30})}); },
     "20240229"},
    {"EveryTwoMonthsAcrossTheYear", "20231215",
     +[] { return VarArrayOf({2, VarArrayOf({0, 2, 31})}); }, "20240131"},
    {"LastFridayNextMonth", "20230529", +[] { return VarArrayOf({2, VarArrayOf({1, 1, 4, 5})}); },
     "20230630"},
    {"LastSunday", "20230501", +[] { return VarArrayOf({2, VarArrayOf({1, "1", 4, 0})}); },
     "20230528"},
    {"FirstMondayOnTheDay", "20230501", +[] { return VarArrayOf({2, VarArrayOf({1, 1, 0, 1})}); },
     "20230501"},
    {"FirstMondayPassed", "20230502", +[] { return VarArrayOf({2, VarArrayOf({1, 1, 0, 1})}); },
     "20230605"},
    {"SecondTuesday", "20230501", +[] { return VarArrayOf({2, VarArrayOf({1, 1, 1, 2})}); },
     "20230509"},
    {"ThirdSunday", "20230501", +[] { return VarArrayOf({2, VarArrayOf({1, 1, 2, 0})}); },
     "20230521"},
    {"FourthThursdayInThreeMonths", "20230101",
     +[] { return VarArrayOf({2, VarArrayOf({1, 3, 3, 4})}); }, "20230323"},
    {"Hourly", "20230517", +[] { return VarArrayOf({3, 1.5}); }, ""},
    {"UnknownKind", "20230517", +[] { return VarArrayOf({7, 1}); }, ""},
    {"NoStartDate", "", +[] { return VarArrayOf({0, 1}); }, ""},
    {"BrokenDetails", "20230517", +[] { return VarArrayOf({1, "weekly"}); }, ""},
};

class ScheduledDate : public testing::TestWithParam<TScheduleCase> {};

TEST_P(ScheduledDate, IsTheFirstRunOnOrAfterTheStart) {
  const TScheduleCase& c = GetParam();
  EXPECT_EQ(FirstScheduledDate(c.Start, c.Schedule()), c.First);
}

INSTANTIATE_TEST_SUITE_P(Schedules, ScheduledDate, testing::ValuesIn(ScheduleCases),
                         [](const auto& info) { return std::string(info.param.Label); });

// ---- Variants -------------------------------------------------------------------------

TEST(Variants, EmptyOrNullAndChoice) {
  EXPECT_TRUE(VarIsEmptyOrNull(Variant()));
  EXPECT_TRUE(VarIsEmptyOrNull(Null()));
  EXPECT_FALSE(VarIsEmptyOrNull(Variant("")));
  EXPECT_FALSE(VarIsEmptyOrNull(Variant(0)));
  EXPECT_EQ(Lit(VarIfThen(true, 1, "b")), "1");
  EXPECT_EQ(Lit(VarIfThen(false, 1, "b")), "'b'");
}

// ---- Code pages -----------------------------------------------------------------------

const AnsiString GbText = "中文日期";  // bytes of code page 936
const AnsiString Big5Text = "\xA4\xA4\xA4\xE5\xA4\xE9\xB4\xC1";  // the same words in 950
const WideString Unicode = u"中文日期";
const AnsiString Big5Date = "\xA4\xE9\xB4\xC1";

TEST(CodePages, TextsConvertBothWays) {
  EXPECT_EQ(WideToCodePage(Unicode, 936), GbText);
  EXPECT_EQ(WideToCodePage(Unicode, 950), Big5Text);
  EXPECT_EQ(CodePageToWide(Big5Text, 950), Unicode);
  EXPECT_EQ(CodePageToWide(GbText, 936), Unicode);
  EXPECT_EQ(WideToCodePage(u"", 950), "");
  EXPECT_EQ(CodePageToWide("", 950), u"");
}

TEST(CodePages, AnUnknownCodePageFallsBackToTheProcessCodePage) {
  EXPECT_EQ(WideToCodePage(Unicode, 54321), GbText);
  EXPECT_EQ(CodePageToWide(GbText, 54321), Unicode);
}

TEST(CodePages, SingleTextsBecomeNarrowAndWide) {
  EXPECT_EQ(Lit(VarToCodePage(Variant(Unicode), 950)), Lit(Variant(Big5Text)));
  // A narrow text is read in the process code page first.
  EXPECT_EQ(Lit(VarToCodePage(Variant(GbText), 950)), Lit(Variant(Big5Text)));
  EXPECT_EQ(Lit(VarFromCodePage(Variant(Big5Text), 950)), Lit(Variant(Unicode)));
  EXPECT_EQ(Lit(VarFromCodePage(Variant(GbText), 936)), Lit(Variant(Unicode)));
  EXPECT_EQ(Lit(VarToCodePage(Variant(), 950)), "Unassigned");
  EXPECT_EQ(Lit(VarToCodePage(Null(), 950)), "Null");
  EXPECT_EQ(Lit(VarFromCodePage(Variant(12), 950)), "12");
}

TEST(CodePages, NestedArraysRoundTrip) {
  const Variant wide = VarArrayOf({Variant(Unicode), VarArrayOf({Variant(u"日期"), 5, Null()}),
                                   VarFromDateTime(Ymd(2023, 5, 1)), Variant(u"")});
  const Variant narrow = VarToCodePage(wide, 950);
  EXPECT_EQ(Lit(narrow), Lit(VarArrayOf({Variant(Big5Text),
                                         VarArrayOf({Variant(Big5Date), 5, Null()}),
                                         VarFromDateTime(Ymd(2023, 5, 1)), Variant("")})));
  EXPECT_EQ(Lit(VarFromCodePage(narrow, 950)), Lit(wide));
  EXPECT_EQ(Lit(VarFromCodePage(VarToCodePage(wide, 936), 936)), Lit(wide));
}

TEST(CodePages, TwoDimensionalArraysConvertCellByCell) {
  Variant wide = VarArrayCreate({0, 1, 1, 2}, varVariant);
  wide.PutElement({0, 1}, Variant(Unicode));
  wide.PutElement({0, 2}, 7);
  wide.PutElement({1, 1}, Variant(u"日期"));
  wide.PutElement({1, 2}, Variant(u"A"));
  const Variant narrow = VarToCodePage(wide, 950);
  EXPECT_EQ(VarArrayLowBound(narrow, 2), 1);
  EXPECT_EQ(Lit(narrow.GetElement({0, 1})), Lit(Variant(Big5Text)));
  EXPECT_EQ(Lit(narrow.GetElement({0, 2})), "7");
  EXPECT_EQ(Lit(narrow.GetElement({1, 1})), Lit(Variant(Big5Date)));
  EXPECT_EQ(Lit(narrow.GetElement({1, 2})), "'A'");
  EXPECT_EQ(Lit(VarFromCodePage(narrow, 950)), Lit(wide));
  // Cells holding arrays are not walked into in two dimensions.
  Variant holder = VarArrayCreate({0, 0, 0, 0}, varVariant);
  holder.PutElement({0, 0}, VarArrayOf({Variant(Unicode)}));
  EXPECT_EQ(Lit(VarToCodePage(holder, 950)), Lit(holder));
}

TEST(CodePages, NarrowElementsOfJobArraysBecomeWide) {
  const Variant job = VarArrayOf({Variant(GbText), VarArrayOf({Variant("A"), 1})});
  EXPECT_EQ(Lit(VarFromCodePage(job, 936)),
            Lit(VarArrayOf({Variant(Unicode), VarArrayOf({Variant(u"A"), 1})})));
  // Going the other way narrow elements are already narrow and stay as they are.
  EXPECT_EQ(Lit(VarToCodePage(job, 950)), Lit(job));
}

// The process's conversion refuses every text, as a broken code-page installation would.
class TFailingConversion {
public:
  TFailingConversion() : FOld(WideToAnsiHook) {
    WideToAnsiHook = [](const WideString&) -> AnsiString {
      throw EConvertError("No mapping for the Unicode character exists");
    };
  }
  ~TFailingConversion() { WideToAnsiHook = FOld; }
  TFailingConversion(const TFailingConversion&) = delete;
  TFailingConversion& operator=(const TFailingConversion&) = delete;

private:
  AnsiString (*FOld)(const WideString&);
};

TEST(CodePages, AFailedConversionIsLoggedAndKeepsTheValue) {
  TTempPrefix prefix(InstallationFiles({"C:\\KVT\\Client", ""}));
  TPinnedClock clock(PinnedMoment());
  const Variant wide = VarArrayOf({Variant(u"A"), VarArrayOf({Variant(Unicode)})});
  {
    TFailingConversion failing;
    // An unknown code page falls back to the process's conversion, which fails here.
    EXPECT_EQ(Lit(VarToCodePage(wide, 54321)), Lit(wide));
    EXPECT_EQ(Lit(VarFromCodePage(wide, 950)), Lit(wide));
    EXPECT_EQ(WideToCodePage(Unicode, 54321), "");
  }
  EXPECT_EQ(prefix.ReadFile("drive_c/KVT/Client/Log/Alert_libstrs_20240305.log"),
            "[2024/03/05 14:07:09:045] LINE[2735] No mapping for the Unicode character exists\r\n"
            "[2024/03/05 14:07:09:045] LINE[115] No mapping for the Unicode character exists\r\n");
}

// ---- Small functions ------------------------------------------------------------------

struct TReplaceCase {
  const char* Label;
  AnsiString Text, Old, New;
  bool Trim;
  AnsiString Result;
};

std::ostream& operator<<(std::ostream& os, const TReplaceCase& c) { return os << c.Label; }

const TReplaceCase ReplaceCases[] = {
    {"RemovesEveryOccurrence", "a;b;c;", ";", "", false, "abc"},
    {"SearchesAgainFromTheStart", "aabb", "ab", "", false, ""},
    {"RemovesLineBreaksAndTrims", " x\r\ny\r\n ", "\r\n", "", true, "xy"},
    {"KeepsBlanksWithoutTrim", " x ", ";", "", false, " x "},
    {"EqualIgnoringCaseReplacesNothing", "abc", "B", "b", false, "abc"},
    {"CaseSensitiveSearch", "aBc", "b", "", false, "aBc"},
    {"LongerReplacementEnds", "a-a", "a", "aa", false, "aa-aa"},
    {"SameLengthReplacement", "abab", "ab", "ba", false, "baba"},
    {"EmptySearchReplacesNothing", "abc", "", "x", false, "abc"},
};

class ReplaceText : public testing::TestWithParam<TReplaceCase> {};

TEST_P(ReplaceText, ReplacesUntilNoneIsLeft) {
  const TReplaceCase& c = GetParam();
  EXPECT_EQ(ReplaceAllText(c.Text, c.Old, c.New, c.Trim), c.Result);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReplaceText, testing::ValuesIn(ReplaceCases),
                         [](const auto& info) { return std::string(info.param.Label); });

#ifndef TAVO_LEGACY
TEST(Numbers, TextToFloatDefReadsOnlyWholeNumbers) {
  EXPECT_EQ(TextToFloatDef("1.5", 0), 1.5);
  EXPECT_EQ(TextToFloatDef("-2.25", 0), -2.25);
  EXPECT_EQ(TextToFloatDef("+3", 0), 3);
  EXPECT_EQ(TextToFloatDef("1e3", 0), 1000);
  EXPECT_EQ(TextToFloatDef("1,5", 0), 0);
  EXPECT_EQ(TextToFloatDef("", 0), 0);
  EXPECT_EQ(TextToFloatDef("1.5x", 7), 7);
  EXPECT_EQ(TextToFloatDef("1.5 ", 7), 7);
  EXPECT_EQ(TextToFloatDef("inf", 7), 7);
  EXPECT_EQ(TextToFloatDef("0x10", 7), 7);
  EXPECT_EQ(TextToFloatDef("+-1", 7), 7);
}

TEST(Paths, LongTempPathExpandsShortNames) {
  TTempPrefix prefix({{"platform.ini", "[Platform]\r\nTempPath=C:\\DOCUME~1\\Zhang\\LOCALS~1\\Temp\r\n"},
                      {"drive_c/Documents and Settings/Zhang/Local Settings/Temp/.keep", ""}});
  EXPECT_EQ(GetLongTempPath(), "C:\\Documents and Settings\\Zhang\\Local Settings\\Temp\\");
}
#endif

TEST(Texts, LoopbackIsExactly127001) {
  EXPECT_TRUE(IsLoopbackAddress("127.0.0.1"));
  EXPECT_FALSE(IsLoopbackAddress("localhost"));
  EXPECT_FALSE(IsLoopbackAddress("127.0.0.2"));
  EXPECT_FALSE(IsLoopbackAddress(" 127.0.0.1"));
  EXPECT_FALSE(IsLoopbackAddress(""));
}

TEST(Texts, ButtonCaptionsByName) {
  EXPECT_EQ(LocalizeButtonCaption("Yes"), "是(&Y)");
  EXPECT_EQ(LocalizeButtonCaption("NoToAll"), "全否(&o)");
  EXPECT_EQ(LocalizeButtonCaption("OK"), "确定");
  EXPECT_EQ(LocalizeButtonCaption("Help"), "帮助(&H)");
  EXPECT_EQ(LocalizeButtonCaption("Close"), "Close");
  EXPECT_EQ(LocalizeButtonCaption("yes"), "yes");
}

}  // namespace
