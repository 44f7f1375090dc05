#include "tests/platform/rtl/RtlFixture.h"

#include <cmath>
#include <limits>
#include <ostream>

namespace {

struct TFloatTextCase {
  const char* Name;
  double Value;
  const char* Text;
  friend std::ostream& operator<<(std::ostream& os, const TFloatTextCase& c) { return os << c.Text; }
};

const TFloatTextCase FloatToStrCases[] = {
    {"Fraction", 1.5, "1.5"},
    {"Negative", -2.25, "-2.25"},
    {"Zero", 0.0, "0"},
    {"NegativeZero", -0.0, "0"},
    {"Integral", 100.0, "100"},
    {"LargeExponent", 1e20, "1E20"},
    {"SmallFixed", 0.0001, "0.0001"},
    {"SmallExponent", 1e-5, "1E-5"},
    {"NegativeSmallExponent", -1.5e-7, "-1.5E-7"},
    {"FifteenDigitsFixed", 123456789012345.0, "123456789012345"},
    {"SixteenDigitsExponent", 1e15, "1E15"},
    {"RoundsToFifteenDigits", 0.1 + 0.2, "0.3"},
    {"Third", 1.0 / 3, "0.333333333333333"},
    {"TwoThirds", 2.0 / 3, "0.666666666666667"},
    {"RoundsUpIntoExponent", 9.9999999999999999e14, "1E15"},
    {"Infinity", std::numeric_limits<double>::infinity(), "INF"},
    {"NotANumber", std::numeric_limits<double>::quiet_NaN(), "NAN"},
};

class TFloatToStrTest : public TRtlTest, public ::testing::WithParamInterface<TFloatTextCase> {};

TEST_P(TFloatToStrTest, WritesFifteenDigitGeneralFormat) {
  EXPECT_EQ(FloatToStr(GetParam().Value), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(FloatToStr, TFloatToStrTest, ::testing::ValuesIn(FloatToStrCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TRtlTest, FloatToStrFFormats) {
  EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 15, 2), "1234.57");
  EXPECT_EQ(FloatToStrF(1234.5678, ffNumber, 15, 1), "1,234.6");
  EXPECT_EQ(FloatToStrF(0.5, ffFixed, 15, 0), "1");
  EXPECT_EQ(FloatToStrF(1234.5678, ffExponent, 4, 2), "1.235E+03");
  EXPECT_EQ(FloatToStrF(0.0, ffExponent, 3, 0), "0.00E+0");
  EXPECT_EQ(FloatToStrF(1234.5678, ffGeneral, 3, 0), "1.23E3");
  EXPECT_EQ(FloatToStrF(-5.0, ffCurrency, 15, 2), "\xA3\xA4-5.00");
}

struct TFormatFloatCase {
  const char* Name;
  const char* Picture;
  double Value;
  const char* Text;
  friend std::ostream& operator<<(std::ostream& os, const TFormatFloatCase& c) { return os << c.Picture; }
};

const TFormatFloatCase FormatFloatCases[] = {
    {"Decimals", "0.00", 3.14159, "3.14"},
    {"HalfAwayFromZero", "0.00", 0.125, "0.13"},
    {"Thousands", "#,##0.00", 1234567.891, "1,234,567.89"},
    {"OptionalDecimals", "0.###", 1.5, "1.5"},
    {"OptionalDecimalsNone", "0.###", 2.0, "2"},
    {"LeadingZeros", "000", 7.0, "007"},
    {"ExtraIntegerDigits", "0", 12345.0, "12345"},
    {"HashOnZero", "#", 0.0, ""},
    {"NegativeSign", "0.0", -2.26, "-2.3"},
    {"NegativeSection", "0.00;(0.00)", -3.5, "(3.50)"},
    {"ZeroSection", "0.0;-0.0;'zero'", 0.0, "zero"},
    {"RoundsToZeroSection", "0.0;-0.0;'zero'", 0.01, "zero"},
    {"Scientific", "0.00E+00", 12345.6789, "1.23E+04"},
    {"ScientificNegativeExponent", "0.0E-0", 0.00123, "1.2E-3"},
    {"ScientificPositiveNoSign", "00.0E-0", 12345.0, "12.3E3"},
    {"QuotedLiteral", "'$'0.00' ok'", 2.0, "$2.00 ok"},
    {"NoIntegerPlaceholder", ".00", 12.5, "12.50"},
    {"Empty", "", 1.5, "1.5"},
};

class TFormatFloatTest : public TRtlTest, public ::testing::WithParamInterface<TFormatFloatCase> {};

TEST_P(TFormatFloatTest, FollowsThePicture) {
  EXPECT_EQ(FormatFloat(GetParam().Picture, GetParam().Value), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(FormatFloat, TFormatFloatTest, ::testing::ValuesIn(FormatFloatCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TStrToFloatCase {
  const char* Name;
  const char* Text;
  bool Valid;
  double Value;
  friend std::ostream& operator<<(std::ostream& os, const TStrToFloatCase& c) { return os << '"' << c.Text << '"'; }
};

const TStrToFloatCase StrToFloatCases[] = {
    {"Plain", "1.5", true, 1.5},
    {"Blanks", "  -2.25  ", true, -2.25},
    {"Exponent", "1e3", true, 1000},
    {"SignedExponent", "+2.5E-2", true, 0.025},
    {"NoIntegerPart", ".5", true, 0.5},
    {"NoFraction", "7.", true, 7},
    {"Empty", "", false, 0},
    {"Letters", "abc", false, 0},
    {"TwoPoints", "1.5.2", false, 0},
    {"ExponentWithoutDigits", "1e", false, 0},
    {"PointOnly", ".", false, 0},
    {"WrongSeparator", "1,5", false, 0},
    {"Thousands", "1,000.5", false, 0},
    {"Overflow", "1e400", false, 0},
    {"TrailingText", "1.5x", false, 0},
};

class TStrToFloatTest : public TRtlTest, public ::testing::WithParamInterface<TStrToFloatCase> {};

TEST_P(TStrToFloatTest, ReadsDecimalText) {
  const TStrToFloatCase& c = GetParam();
  double value = -1;
  EXPECT_EQ(TryStrToFloat(c.Text, value), c.Valid);
  if (c.Valid) {
    EXPECT_DOUBLE_EQ(value, c.Value);
    EXPECT_DOUBLE_EQ(StrToFloat(c.Text), c.Value);
  } else {
    EXPECT_EQ(value, -1);
    try {
      StrToFloat(c.Text);
      FAIL() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, AnsiString("'") + c.Text + "' is not a valid floating point value");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(StrToFloat, TStrToFloatTest, ::testing::ValuesIn(StrToFloatCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TRtlTest, DecimalSeparatorRulesBothDirections) {
  DecimalSeparator = ',';
  EXPECT_EQ(FloatToStr(1.5), "1,5");
  EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
  EXPECT_THROW(StrToFloat("1.5"), EConvertError);
  EXPECT_DOUBLE_EQ(StrToFloatDef("x", 2.5), 2.5);
}

TEST_F(TRtlTest, RoundIsBankersRounding) {
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(2.6), 3);
  EXPECT_EQ(Trunc(-2.7), -2);
  EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
  EXPECT_DOUBLE_EQ(Int(-2.75), -2.0);
}

}  // namespace
