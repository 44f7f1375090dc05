#include "tests/platform/rtl/RtlFixture.h"

#include <cstdint>
#include <ostream>
#include <vector>

namespace {

struct TFormatCase {
  const char* Name;
  const char* Fmt;
  std::vector<TVarRec> Args;
  const char* Expected;
  friend std::ostream& operator<<(std::ostream& os, const TFormatCase& c) { return os << c.Fmt; }
};

const TFormatCase FormatCases[] = {
    {"Percent", "100%% of %d", {5}, "100% of 5"},
    {"Width", "[%5d]", {42}, "[   42]"},
    {"LeftJustified", "[%-5d]", {42}, "[42   ]"},
    {"PrecisionPadsDigitsNotSign", "%.5d", {-42}, "-00042"},
    {"WidthAndPrecision", "[%7.4d]", {42}, "[   0042]"},
    {"StarWidth", "[%*d]", {6, 42}, "[    42]"},
    {"StarWidthLeft", "[%-*d]", {4, 7}, "[7   ]"},
    {"StarPrecision", "%.*d", {3, 7}, "007"},
    {"StarNegativeWidthJustifiesLeft", "[%*d]", {-4, 7}, "[7   ]"},
    {"StarNegativePrecisionIsNone", "[%.*d]", {-3, 7}, "[7]"},
    {"Int64", "%d", {int64_t{-9000000000}}, "-9000000000"},
    {"IndexReordersArguments", "%1:s %0:s", {"a", "b"}, "b a"},
    {"IndexThenContinues", "%1:s %s", {"a", "b", "c"}, "b c"},
    {"IndexRepeats", "%0:s-%0:s", {"x"}, "x-x"},
    {"UnsignedOfNegative", "%u", {-1}, "4294967295"},
    {"Hex", "%x", {255}, "FF"},
    {"HexPrecision", "%.4x", {255}, "00FF"},
    {"HexNegativeInteger", "%x", {-1}, "FFFFFFFF"},
    {"HexNegativeInt64", "%x", {int64_t{-1}}, "FFFFFFFFFFFFFFFF"},
    {"String", "<%s>", {"abc"}, "<abc>"},
    {"StringPrecisionTruncates", "%.2s", {"abcdef"}, "ab"},
    {"StringWidth", "[%5s][%-5s]", {"ab", "cd"}, "[   ab][cd   ]"},
    {"StringPrecisionKeepsWholeCharacters", "%.3s", {"中文"}, "\xD6\xD0"},
    {"Char", "%s%s", {'x', "y"}, "xy"},
    {"WideString", "%s", {WideString(u"wide")}, "wide"},
    {"FixedDefaultTwoDecimals", "%f", {3.14159}, "3.14"},
    {"FixedRoundsHalfAwayFromZero", "%.0f|%.2f|%.0f", {0.5, 0.125, -2.5}, "1|0.13|-3"},
    {"FixedFromDoubleDigits", "%.2f", {2.675}, "2.67"},
    {"Exponent", "%e", {1234.5}, "1.23450000000000E+003"},
    {"ExponentPrecisionCountsAllDigits", "%.3e", {-1234.5}, "-1.23E+003"},
    {"General", "%g|%g|%g", {1234.5, 0.0001, 100.0}, "1234.5|0.0001|100"},
    {"GeneralFifteenDigits", "%g", {1.0 / 3}, "0.333333333333333"},
    {"GeneralScientific", "%g|%g", {1e20, 1e-5}, "1E020|1E-005"},
    {"GeneralPrecision", "%.3g", {1234.5}, "1.23E003"},
    {"Number", "%n|%.0n", {1234567.891, -1234.5}, "1,234,567.89|-1,235"},
    {"Currency", "%m|%m", {1234.5, -2.0}, "\xA3\xA4" "1,234.50|\xA3\xA4-2.00"},
};

class TFormatTest : public TRtlTest, public ::testing::WithParamInterface<TFormatCase> {};

TEST_P(TFormatTest, Formats) {
  const TFormatCase& c = GetParam();
  EXPECT_EQ(Format(c.Fmt, c.Args.data(), c.Args.size()), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Format, TFormatTest, ::testing::ValuesIn(FormatCases),
                         [](const auto& info) { return std::string(info.param.Name); });

const TFormatCase BadFormatCases[] = {
    {"TooFewArguments", "%d and %d", {1}, ""},
    {"NoArguments", "%s", {}, ""},
    {"IntegerGivenString", "%d", {"12"}, ""},
    {"IntegerGivenFloat", "%d", {1.5}, ""},
    {"IntegerGivenBoolean", "%d", {true}, ""},
    {"HexGivenFloat", "%x", {1.5}, ""},
    {"FloatGivenInteger", "%f", {1}, ""},
    {"StringGivenInteger", "%s", {1}, ""},
    {"StringGivenBoolean", "%s", {false}, ""},
    {"IndexOutOfRange", "%2:s", {"a", "b"}, ""},
    {"StarGivenString", "%*d", {"5", 1}, ""},
    {"StarNegativeIndex", "%*:d", {-1, 1}, ""},
    {"UnknownType", "%k", {1}, ""},
    {"PercentAtEnd", "50%", {}, ""},
};

class TBadFormatTest : public TRtlTest, public ::testing::WithParamInterface<TFormatCase> {};

TEST_P(TBadFormatTest, RaisesConvertErrorNamingTheFormat) {
  const TFormatCase& c = GetParam();
  try {
    Format(c.Fmt, c.Args.data(), c.Args.size());
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, AnsiString("Format '") + c.Fmt + "' invalid or incompatible with argument");
  }
}

INSTANTIATE_TEST_SUITE_P(Format, TBadFormatTest, ::testing::ValuesIn(BadFormatCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TRtlTest, FormatUsesTheSeparatorsInForce) {
  DecimalSeparator = ',';
  ThousandSeparator = '.';
  EXPECT_EQ(Format("%.1f %n", {2.25, 1234.5}), "2,3 1.234,50");
}

TEST_F(TRtlTest, FormatConvertsWideTextThroughTheHook) {
  AnsiString (*saved)(const WideString&) = WideToAnsiHook;
  WideToAnsiHook = [](const WideString& w) { return AnsiString(w.size(), '*'); };
  const AnsiString r = Format("%s", {WideString(u"xyz")});
  WideToAnsiHook = saved;
  EXPECT_EQ(r, "***");
}

}  // namespace
