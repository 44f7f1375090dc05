#include "platform/ole/ComObj.h"
#include "platform/ole/Variants.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <typeinfo>

namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// 2024-05-06 10:30:15
constexpr TDateTime SampleDate = 45418 + (10 * 3600 + 30 * 60 + 15) / 86400.0;

Variant Matrix(int lo1, int hi1, int lo2, int hi2) {
  Variant m = VarArrayCreate({lo1, hi1, lo2, hi2}, varVariant);
  int n = 1;
  for (int i = lo1; i <= hi1; ++i)
    for (int j = lo2; j <= hi2; ++j) m.PutElement({i, j}, n++);
  return m;
}

// ---- Kinds of the constructors ------------------------------------------------------

struct TKindCase {
  const char* Name;
  Variant Value;
  TVarType Expected;
};

std::ostream& operator<<(std::ostream& os, const TKindCase& c) { return os << c.Name; }

const TKindCase KindCases[] = {
    {"Default", Variant(), varEmpty},
    {"NullFactory", Null(), varNull},
    {"Bool", Variant(true), varBoolean},
    {"ShortInt", Variant(static_cast<signed char>(-5)), varShortInt},
    {"Byte", Variant(static_cast<unsigned char>(5)), varByte},
    {"Smallint", Variant(static_cast<short>(5)), varSmallint},
    {"Word", Variant(static_cast<unsigned short>(5)), varWord},
    {"Integer", Variant(5), varInteger},
    {"LongWord", Variant(5u), varLongWord},
    {"Int64", Variant(int64_t(5)), varInt64},
    {"SizeT", Variant(size_t(5)), varInt64},
    {"Single", Variant(1.5f), varSingle},
    {"Double", Variant(1.5), varDouble},
    {"DateTime", VarFromDateTime(1.5), varDate},
    {"Currency", VarFromCurrency(1.5), varCurrency},
    {"AnsiLiteral", Variant("a"), varString},
    {"AnsiString", Variant(AnsiString("a")), varString},
    {"Char", Variant('a'), varString},
    {"WideLiteral", Variant(u"a"), varOleStr},
    {"WideString", Variant(WideString(u"a")), varOleStr},
    {"Dispatch", Variant(std::make_shared<TAutoObject>()), varDispatch},
    {"ArrayOf", VarArrayOf({1, 2}), varArray | varVariant},
    {"IntegerArray", VarArrayCreate({0, 1}, varInteger), varArray | varInteger},
};

class VariantKindTest : public testing::TestWithParam<TKindCase> {};

TEST_P(VariantKindTest, ConstructorGivesKind) {
  EXPECT_EQ(VarType(GetParam().Value), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, VariantKindTest, testing::ValuesIn(KindCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(VariantKind, Predicates) {
  EXPECT_TRUE(VarIsEmpty(Unassigned()));
  EXPECT_FALSE(VarIsEmpty(Null()));
  EXPECT_TRUE(VarIsNull(Null()));
  EXPECT_TRUE(VarIsStr(Variant("a")));
  EXPECT_TRUE(VarIsStr(Variant(u"a")));
  EXPECT_FALSE(VarIsStr(Variant(1)));
  EXPECT_TRUE(VarIsOrdinal(Variant(true)));
  EXPECT_TRUE(VarIsOrdinal(Variant(int64_t(1))));
  EXPECT_FALSE(VarIsOrdinal(Variant(1.0)));
  EXPECT_TRUE(VarIsFloat(VarFromCurrency(1)));
  EXPECT_TRUE(VarIsFloat(Variant(1.0f)));
  EXPECT_FALSE(VarIsFloat(VarFromDateTime(1)));
  EXPECT_TRUE(VarIsNumeric(Variant(static_cast<unsigned char>(1))));
  EXPECT_FALSE(VarIsNumeric(Variant("1")));
  EXPECT_TRUE(VarIsArray(VarArrayOf({})));
  EXPECT_FALSE(VarIsArray(Variant(1)));
  EXPECT_TRUE(VarIsClear(Variant(std::shared_ptr<IAutomationObject>())));
  EXPECT_FALSE(VarIsClear(Null()));
}

TEST(VariantKind, OverflowingUnsignedIsRefused) {
  EXPECT_THROW((void)Variant(uint64_t(1) << 63), EVariantOverflowError);
}

// ---- Literal form -------------------------------------------------------------------

struct TLiteralCase {
  const char* Name;
  Variant Value;
  std::string Expected;
};

std::ostream& operator<<(std::ostream& os, const TLiteralCase& c) { return os << c.Name; }

Variant SelfNested() {
  Variant v = VarArrayOf({1, 2});
  v.PutElement({0}, v);
  return v;
}

const TLiteralCase LiteralCases[] = {
    {"Unassigned", Unassigned(), "Unassigned"},
    {"Null", Null(), "Null"},
    {"True", Variant(true), "True"},
    {"False", Variant(false), "False"},
    {"Integer", Variant(12), "12"},
    {"NegativeSmallint", Variant(static_cast<short>(-7)), "-7"},
    {"Int64", Variant(int64_t(1) << 40), "1099511627776"},
    {"Byte", Variant(static_cast<unsigned char>(255)), "255"},
    {"Double", Variant(1.5), "1.5"},
    {"DoubleShortest", Variant(0.1), "0.1"},
    {"DoubleWhole", Variant(2.0), "2"},
    {"DoubleLarge", Variant(1e20), "1e+20"},
    {"SingleShortest", Variant(1.1f), "1.1"},
    {"Currency", VarFromCurrency(12.5), "12.5"},
    {"CurrencyWhole", VarFromCurrency(3), "3"},
    {"CurrencySmallNegative", VarFromCurrency(-0.0001), "-0.0001"},
    {"Date", VarFromDateTime(SampleDate), "Date(2024-05-06 10:30:15.000)"},
    {"DateMilliseconds", VarFromDateTime(45418.5 + 0.123 / 86400), "Date(2024-05-06 12:00:00.123)"},
    {"DateOnly", VarFromDateTime(0), "Date(1899-12-30 00:00:00.000)"},
    {"DateBeforeEpoch", VarFromDateTime(-1.25), "Date(1899-12-29 06:00:00.000)"},
    {"DateLeapDay", VarFromDateTime(36585), "Date(2000-02-29 00:00:00.000)"},
    {"Ansi", Variant("abc"), "'abc'"},
    {"AnsiEmpty", Variant(""), "''"},
    {"AnsiQuote", Variant("it's"), "'it''s'"},
    {"AnsiOnlyQuote", Variant("'"), "''''"},
    {"AnsiControlInside", Variant("A\x03" "B"), "'A'#3'B'"},
    {"AnsiControlOnly", Variant("\x04"), "#4"},
    {"AnsiControlsOnly", Variant("\x04\x05"), "#4#5"},
    {"AnsiControlAtEnds", Variant("\x01" "A\x1f"), "#1'A'#31"},
    {"AnsiChinese", Variant("中文"), Utf8(u8"'中文'")},
    {"Wide", Variant(u"abc"), "W'abc'"},
    {"WideEmpty", Variant(u""), "W''"},
    {"WideControlOnly", Variant(u"\x0001"), "W#1"},
    {"WideChinese", Variant(u"中文'"), Utf8(u8"W'中文'''")},
    {"ArrayOf", VarArrayOf({1, "a", Null()}), "[0..2: 1, 'a', Null]"},
    {"ArrayFresh", VarArrayCreate({1, 3}, varVariant), "[1..3: Unassigned, Unassigned, Unassigned]"},
    {"ArrayEmpty", VarArrayCreate({0, -1}, varVariant), "[0..-1:]"},
    {"ArrayTyped", VarArrayCreate({0, 1}, varInteger), "[0..1: 0, 0]"},
    {"ArrayNested", VarArrayOf({VarArrayOf({1, 2}), "x"}), "[0..1: [0..1: 1, 2], 'x']"},
    {"ArraySelfNested", SelfNested(), "[0..1: [0..1: 1, 2], 2]"},
    {"Array2D", Matrix(0, 1, 0, 2), "[0..1, 0..2: (1, 2, 3), (4, 5, 6)]"},
    {"Array2DBounds", Matrix(-1, 0, 5, 5), "[-1..0, 5..5: (1), (2)]"},
    {"Array2DNoRows", VarArrayCreate({0, -1, 0, 2}, varVariant), "[0..-1, 0..2:]"},
    {"Dispatch", Variant(std::make_shared<TAutoObject>()), "Dispatch"},
};

class VarToLiteralTest : public testing::TestWithParam<TLiteralCase> {};

TEST_P(VarToLiteralTest, Writes) { EXPECT_EQ(VarToLiteral(GetParam().Value), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(Forms, VarToLiteralTest, testing::ValuesIn(LiteralCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Conversions --------------------------------------------------------------------

struct TCastCase {
  const char* Name;
  Variant Value;
  TVarType Target;
  std::string Expected;  // literal of the result
};

std::ostream& operator<<(std::ostream& os, const TCastCase& c) { return os << c.Name; }

const TCastCase CastCases[] = {
    {"StringToInteger", Variant("12"), varInteger, "12"},
    {"BlankStringToInteger", Variant(" -12"), varInteger, "-12"},
    {"HexStringToInteger", Variant("$1F"), varInteger, "31"},
    {"FractionStringRoundsToEven", Variant("2.5"), varInteger, "2"},
    {"FractionStringRoundsUp", Variant("3.5"), varInteger, "4"},
    {"WideStringToInt64", Variant(u"9000000000"), varInt64, "9000000000"},
    {"DoubleRoundsToEven", Variant(2.5), varInteger, "2"},
    {"CurrencyRoundsToEven", VarFromCurrency(3.5), varInteger, "4"},
    {"TrueIsMinusOne", Variant(true), varInteger, "-1"},
    {"EmptyToInteger", Unassigned(), varInteger, "0"},
    {"EmptyToString", Unassigned(), varString, "''"},
    {"EmptyToWide", Unassigned(), varOleStr, "W''"},
    {"EmptyToBoolean", Unassigned(), varBoolean, "False"},
    {"NullToNull", Null(), varNull, "Null"},
    {"UpperTrueToBoolean", Variant("TRUE"), varBoolean, "True"},
    {"LowerFalseToBoolean", Variant(u"false"), varBoolean, "False"},
    {"ZeroTextToBoolean", Variant("0"), varBoolean, "False"},
    {"NumberTextToBoolean", Variant("-3"), varBoolean, "True"},
    {"FractionTextToBoolean", Variant("0.5"), varBoolean, "True"},
    {"ZeroToBoolean", Variant(0), varBoolean, "False"},
    {"TrueToString", Variant(true), varString, "'True'"},
    {"FalseToWide", Variant(false), varOleStr, "W'False'"},
    {"IntegerToWide", Variant(12), varOleStr, "W'12'"},
    {"DoubleToString", Variant(1.5), varString, "'1.5'"},
    {"SingleToString", Variant(1.1f), varString, "'1.1'"},
    {"CurrencyToString", VarFromCurrency(-12.25), varString, "'-12.25'"},
    {"WideChineseToAnsi", Variant(u"中文"), varString, Utf8(u8"'中文'")},
    {"AnsiChineseToWide", Variant("中文"), varOleStr, Utf8(u8"W'中文'")},
    {"IntegerToDouble", Variant(12), varDouble, "12"},
    {"StringToDouble", Variant("1.5"), varDouble, "1.5"},
    {"DoubleToCurrency", Variant(1.23456), varCurrency, "1.2346"},
    {"IntegerToSingle", Variant(3), varSingle, "3"},
    {"IntegerToDate", Variant(45418), varDate, "Date(2024-05-06 00:00:00.000)"},
    {"DateToDouble", VarFromDateTime(1.5), varDouble, "1.5"},
    {"IntegerToByte", Variant(255), varByte, "255"},
    {"IntegerToSmallint", Variant(-32768), varSmallint, "-32768"},
    {"EmptyToDispatch", Unassigned(), varDispatch, "Dispatch"},
    {"ArrayToItsOwnType", VarArrayOf({1}), varArray | varVariant, "[0..0: 1]"},
};

class VarAsTypeTest : public testing::TestWithParam<TCastCase> {};

TEST_P(VarAsTypeTest, Converts) {
  const Variant result = VarAsType(GetParam().Value, GetParam().Target);
  EXPECT_EQ(VarType(result), GetParam().Target);
  EXPECT_EQ(VarToLiteral(result), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Delphi, VarAsTypeTest, testing::ValuesIn(CastCases),
                         [](const auto& info) { return std::string(info.param.Name); });

enum class TFailure { TypeCast, Overflow, BadVarType };

struct TBadCastCase {
  const char* Name;
  Variant Value;
  TVarType Target;
  TFailure Failure;
  std::string Message;
};

std::ostream& operator<<(std::ostream& os, const TBadCastCase& c) { return os << c.Name; }

const TBadCastCase BadCastCases[] = {
    {"TextToInteger", Variant("abc"), varInteger, TFailure::TypeCast,
     "Could not convert variant of type (String) into type (Integer)"},
    {"NullToInteger", Null(), varInteger, TFailure::TypeCast,
     "Could not convert variant of type (Null) into type (Integer)"},
    {"NullToString", Null(), varString, TFailure::TypeCast,
     "Could not convert variant of type (Null) into type (String)"},
    {"NullToBoolean", Null(), varBoolean, TFailure::TypeCast,
     "Could not convert variant of type (Null) into type (Boolean)"},
    {"WideTextToDouble", Variant(u"1,5x"), varDouble, TFailure::TypeCast,
     "Could not convert variant of type (OleStr) into type (Double)"},
    {"EmptyTextToInteger", Variant(""), varInteger, TFailure::TypeCast,
     "Could not convert variant of type (String) into type (Integer)"},
    {"TextToBoolean", Variant("maybe"), varBoolean, TFailure::TypeCast,
     "Could not convert variant of type (String) into type (Boolean)"},
    {"TextToDate", Variant("abc"), varDate, TFailure::TypeCast,
     "Could not convert variant of type (String) into type (Date)"},
    {"ArrayToInteger", VarArrayOf({1}), varInteger, TFailure::TypeCast,
     "Could not convert variant of type (Array Variant) into type (Integer)"},
    {"DispatchToString", Variant(std::make_shared<TAutoObject>()), varString, TFailure::TypeCast,
     "Could not convert variant of type (Dispatch) into type (String)"},
    {"IntegerToDispatch", Variant(1), varDispatch, TFailure::TypeCast,
     "Could not convert variant of type (Integer) into type (Dispatch)"},
    {"IntegerToByte", Variant(300), varByte, TFailure::Overflow,
     "Overflow while converting variant of type (Integer) into type (Byte)"},
    {"NegativeToLongWord", Variant(-1), varLongWord, TFailure::Overflow,
     "Overflow while converting variant of type (Integer) into type (LongWord)"},
    {"DoubleToInteger", Variant(1e10), varInteger, TFailure::Overflow,
     "Overflow while converting variant of type (Double) into type (Integer)"},
    {"LongTextToInteger", Variant("99999999999"), varInteger, TFailure::Overflow,
     "Overflow while converting variant of type (String) into type (Integer)"},
    {"DoubleToSingle", Variant(1e300), varSingle, TFailure::Overflow,
     "Overflow while converting variant of type (Double) into type (Single)"},
    {"UnknownType", Variant(1), 0x0E, TFailure::BadVarType, "Invalid variant type"},
};

class VarAsTypeFailureTest : public testing::TestWithParam<TBadCastCase> {};

TEST_P(VarAsTypeFailureTest, Raises) {
  const TBadCastCase& c = GetParam();
  try {
    VarAsType(c.Value, c.Target);
    FAIL() << "no exception";
  } catch (const EVariantError& e) {
    EXPECT_EQ(e.Message, c.Message);
    switch (c.Failure) {
      case TFailure::TypeCast: EXPECT_EQ(typeid(e), typeid(EVariantTypeCastError)); break;
      case TFailure::Overflow: EXPECT_EQ(typeid(e), typeid(EVariantOverflowError)); break;
      case TFailure::BadVarType: EXPECT_EQ(typeid(e), typeid(EVariantBadVarTypeError)); break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Delphi, VarAsTypeFailureTest, testing::ValuesIn(BadCastCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(VariantConversion, AccessorsFollowTheSameRules) {
  EXPECT_EQ(Variant("12").AsInteger(), 12);
  EXPECT_EQ(Variant(u"-5").AsInt64(), -5);
  EXPECT_DOUBLE_EQ(Variant("2.25").AsDouble(), 2.25);
  EXPECT_DOUBLE_EQ(Variant(1.23456).AsCurrency(), 1.2346);
  EXPECT_TRUE(Variant("true").AsBoolean());
  EXPECT_EQ(Variant(12).AsString(), "12");
  EXPECT_EQ(Variant("中").AsWideString(), u"中");
  EXPECT_DOUBLE_EQ(Variant(2).AsDateTime(), 2.0);
  EXPECT_THROW(Variant("abc").AsInteger(), EVariantTypeCastError);
  EXPECT_THROW(Variant(int64_t(1) << 40).AsInteger(), EVariantOverflowError);
}

TEST(VariantConversion, EmptyAndNull) {
  EXPECT_EQ(Unassigned().AsInteger(), 0);
  EXPECT_EQ(Unassigned().AsDouble(), 0);
  EXPECT_EQ(Unassigned().AsString(), "");
  EXPECT_FALSE(Unassigned().AsBoolean());
  EXPECT_EQ(VarToStr(Null()), "");
  EXPECT_EQ(VarToStr(Unassigned()), "");
  EXPECT_EQ(VarToWideStr(Null()), u"");
  EXPECT_THROW(Null().AsString(), EVariantTypeCastError);
  EXPECT_THROW(Null().AsWideString(), EVariantTypeCastError);
  EXPECT_THROW(Null().AsDouble(), EVariantTypeCastError);
  EXPECT_THROW(VarToDateTime(Null()), EVariantTypeCastError);
}

TEST(VariantConversion, WideAndAnsiTextRoundTripThroughTheCodePage) {
  const Variant ansi("基本选项");
  EXPECT_EQ(VarToWideStr(ansi), u"基本选项");
  EXPECT_EQ(VarToStr(Variant(u"基本选项")), "基本选项");
}

TEST(VariantConversion, DispatchAccessNeedsAnObject) {
  EXPECT_THROW(Variant(1).AsDispatch(), EOleError);
  EXPECT_THROW(Variant(std::shared_ptr<IAutomationObject>()).AsDispatch(), EOleError);
}

// Dates and floats go through the runtime's settings, as in Delphi.
class VariantSettingsTest : public testing::Test {
protected:
  void SetUp() override {
    SavedShortDate = ShortDateFormat;
    SavedLongTime = LongTimeFormat;
    SavedDateSeparator = DateSeparator;
    SavedDecimal = DecimalSeparator;
    ShortDateFormat = "yyyy-mm-dd";
    LongTimeFormat = "hh:nn:ss";
    DateSeparator = '-';
  }
  void TearDown() override {
    ShortDateFormat = SavedShortDate;
    LongTimeFormat = SavedLongTime;
    DateSeparator = SavedDateSeparator;
    DecimalSeparator = SavedDecimal;
  }
  AnsiString SavedShortDate, SavedLongTime;
  char SavedDateSeparator = '/', SavedDecimal = '.';
};

TEST_F(VariantSettingsTest, DateToTextAndBack) {
  EXPECT_EQ(VarFromDateTime(SampleDate).AsString(), "2024-05-06 10:30:15");
  EXPECT_EQ(VarToStr(VarFromDateTime(45418)), "2024-05-06");
  EXPECT_NEAR(VarToDateTime(Variant("2024-05-06 10:30:15")), SampleDate, 1e-8);
  EXPECT_EQ(VarToLiteral(VarAsType(Variant(u"2024-05-06"), varDate)),
            "Date(2024-05-06 00:00:00.000)");
}

TEST_F(VariantSettingsTest, DecimalSeparatorApplies) {
  DecimalSeparator = ',';
  EXPECT_EQ(Variant(1.5).AsString(), "1,5");
  EXPECT_EQ(VarFromCurrency(2.5).AsString(), "2,5");
  EXPECT_DOUBLE_EQ(Variant("2,25").AsDouble(), 2.25);
  EXPECT_EQ(VarToLiteral(Variant(1.5)), "1.5");
}

// ---- Arrays -------------------------------------------------------------------------

TEST(VariantArray, TwoDimensionsWithArbitraryBounds) {
  Variant m = VarArrayCreate({-2, 0, 5, 6}, varVariant);
  EXPECT_EQ(VarArrayDimCount(m), 2);
  EXPECT_EQ(VarArrayLowBound(m, 1), -2);
  EXPECT_EQ(VarArrayHighBound(m, 1), 0);
  EXPECT_EQ(VarArrayLowBound(m, 2), 5);
  EXPECT_EQ(VarArrayHighBound(m, 2), 6);
  m.PutElement({-2, 6}, "a");
  VarArrayPut(m, 7, {0, 5});
  EXPECT_EQ(VarToLiteral(m.GetElement({-2, 6})), "'a'");
  EXPECT_EQ(VarToLiteral(VarArrayGet(m, {0, 5})), "7");
  EXPECT_EQ(VarToLiteral(m),
            "[-2..0, 5..6: (Unassigned, 'a'), (Unassigned, Unassigned), (7, Unassigned)]");
}

TEST(VariantArray, IndexingOneDimension) {
  Variant a = VarArrayCreate({1, 3}, varVariant);
  a[1] = "x";
  a[3] = VarArrayOf({5});
  a[3][0] = 6;
  const Variant& c = a;
  EXPECT_EQ(VarToLiteral(c[3]), "[0..0: 6]");
  EXPECT_EQ(VarToLiteral(a), "[1..3: 'x', Unassigned, [0..0: 6]]");
}

TEST(VariantArray, RedimKeepsContents) {
  Variant a = VarArrayOf({1, 2, 3});
  VarArrayRedim(a, 4);
  EXPECT_EQ(VarToLiteral(a), "[0..4: 1, 2, 3, Unassigned, Unassigned]");
  VarArrayRedim(a, 1);
  EXPECT_EQ(VarToLiteral(a), "[0..1: 1, 2]");
  VarArrayRedim(a, -1);
  EXPECT_EQ(VarToLiteral(a), "[0..-1:]");
  VarArrayRedim(a, 0);
  EXPECT_EQ(VarToLiteral(a), "[0..0: Unassigned]");
}

TEST(VariantArray, RedimOfTwoDimensionsKeepsEachRow) {
  Variant m = Matrix(1, 2, 3, 5);
  VarArrayRedim(m, 6);
  EXPECT_EQ(VarToLiteral(m), "[1..2, 3..6: (1, 2, 3, Unassigned), (4, 5, 6, Unassigned)]");
  VarArrayRedim(m, 3);
  EXPECT_EQ(VarToLiteral(m), "[1..2, 3..3: (1), (4)]");
}

TEST(VariantArray, RedimOfTypedArrayFillsWithZero) {
  Variant a = VarArrayCreate({0, 0}, varInteger);
  a.PutElement({0}, 7);
  VarArrayRedim(a, 1);
  EXPECT_EQ(VarToLiteral(a), "[0..1: 7, 0]");
}

TEST(VariantArray, CopiesAreIndependent) {
  Variant a = VarArrayOf({1, VarArrayOf({2})});
  Variant b = a;
  b[0] = 10;
  b[1][0] = 20;
  EXPECT_EQ(VarToLiteral(a), "[0..1: 1, [0..0: 2]]");
  EXPECT_EQ(VarToLiteral(b), "[0..1: 10, [0..0: 20]]");
  Variant c;
  c = b;
  c = c;
  EXPECT_EQ(VarToLiteral(c), VarToLiteral(b));
  Variant moved = std::move(c);
  EXPECT_TRUE(VarIsEmpty(c));
  EXPECT_EQ(VarToLiteral(moved), VarToLiteral(b));
}

TEST(VariantArray, ElementReplacedByItsOwnContainer) {
  Variant a = VarArrayOf({VarArrayOf({1, 2}), 3});
  a = a[0];
  EXPECT_EQ(VarToLiteral(a), "[0..1: 1, 2]");
}

TEST(VariantArray, TypedElementsAreConverted) {
  Variant a = VarArrayCreate({0, 1}, varInteger);
  a.PutElement({0}, "12");
  EXPECT_EQ(VarType(a.GetElement({0})), varInteger);
  EXPECT_THROW(a.PutElement({1}, "abc"), EVariantTypeCastError);
  EXPECT_EQ(VarToLiteral(a), "[0..1: 12, 0]");
  Variant w = VarArrayCreate({0, 0}, varOleStr);
  w.PutElement({0}, 5);
  EXPECT_EQ(VarToLiteral(w), "[0..0: W'5']");
}

struct TIndexCase {
  const char* Name;
  std::function<void()> Action;
  bool NotAnArray;
};

std::ostream& operator<<(std::ostream& os, const TIndexCase& c) { return os << c.Name; }

const TIndexCase IndexCases[] = {
    {"AboveHigh", [] { VarArrayOf({1, 2}).GetElement({2}); }, false},
    {"BelowLow", [] { VarArrayCreate({1, 2}, varVariant).GetElement({0}); }, false},
    {"PutAboveHigh", [] { Variant a = VarArrayOf({1}); a.PutElement({1}, 0); }, false},
    {"SecondDimension", [] { Matrix(0, 1, 0, 1).GetElement({0, 2}); }, false},
    {"TooFewIndices", [] { Matrix(0, 1, 0, 1).GetElement({0}); }, false},
    {"TooManyIndices", [] { VarArrayOf({1}).GetElement({0, 0}); }, false},
    {"SubscriptOfMatrix", [] { Variant m = Matrix(0, 1, 0, 1); m[0] = 1; }, false},
    {"SubscriptAboveHigh", [] { Variant a = VarArrayOf({1}); a[1] = 1; }, false},
    {"EmptyArray", [] { VarArrayCreate({0, -1}, varVariant).GetElement({0}); }, false},
    {"BoundOfDimensionZero", [] { VarArrayLowBound(VarArrayOf({1}), 0); }, false},
    {"BoundOfMissingDimension", [] { VarArrayHighBound(VarArrayOf({1}), 2); }, false},
    {"ElementOfInteger", [] { Variant(1).GetElement({0}); }, true},
    {"SubscriptOfText", [] { Variant s("abc"); s[0] = 1; }, true},
    {"BoundOfEmpty", [] { VarArrayLowBound(Unassigned(), 1); }, true},
    {"RedimOfNull", [] { Variant n = Null(); VarArrayRedim(n, 3); }, true},
};

class VariantIndexTest : public testing::TestWithParam<TIndexCase> {};

TEST_P(VariantIndexTest, Raises) {
  try {
    GetParam().Action();
    FAIL() << "no exception";
  } catch (const EVariantError& e) {
    if (GetParam().NotAnArray) {
      EXPECT_EQ(typeid(e), typeid(EVariantNotAnArrayError));
      EXPECT_EQ(e.Message, "Variant is not an array");
    } else {
      EXPECT_EQ(typeid(e), typeid(EVariantBadIndexError));
      EXPECT_EQ(e.Message, "Variant or safe array index out of bounds");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Bounds, VariantIndexTest, testing::ValuesIn(IndexCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(VariantArray, CreationRejectsBadShapes) {
  EXPECT_THROW(VarArrayCreate({0}, varVariant), EVariantArrayCreateError);
  EXPECT_THROW(VarArrayCreate({5, 3}, varVariant), EVariantArrayCreateError);
  EXPECT_THROW(VarArrayCreate({0, 1}, varString), EVariantArrayCreateError);
  EXPECT_THROW(VarArrayCreate({0, 1}, varNull), EVariantArrayCreateError);
  EXPECT_THROW(VarArrayCreate({0, 1 << 30, 0, 1 << 30}, varVariant), EVariantArrayCreateError);
  Variant a = VarArrayOf({1, 2});
  EXPECT_THROW(VarArrayRedim(a, -2), EVariantArrayCreateError);
  EXPECT_EQ(VarToLiteral(a), "[0..1: 1, 2]");
  EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);
}

// ---- Comparison ---------------------------------------------------------------------

enum class TOrderExpect { Less, Equal, Greater, Unequal };

struct TCompareCase {
  const char* Name;
  Variant A;
  Variant B;
  TOrderExpect Expected;
};

std::ostream& operator<<(std::ostream& os, const TCompareCase& c) { return os << c.Name; }

const TCompareCase CompareCases[] = {
    {"Integers", Variant(1), Variant(2), TOrderExpect::Less},
    {"IntegerAndDouble", Variant(2), Variant(2.0), TOrderExpect::Equal},
    {"Int64AndDouble", Variant(int64_t(1) << 53), Variant(1e15), TOrderExpect::Greater},
    {"CurrencyAndDouble", VarFromCurrency(1.5), Variant(1.5), TOrderExpect::Equal},
    {"CurrencyAndInteger", VarFromCurrency(2.0001), Variant(2), TOrderExpect::Greater},
    {"NumberTextAndNumber", Variant("12"), Variant(12), TOrderExpect::Equal},
    {"NumberAndNumberText", Variant(10), Variant("9"), TOrderExpect::Greater},
    {"TextsAsTexts", Variant("10"), Variant("9"), TOrderExpect::Less},
    {"Texts", Variant("abc"), Variant("abd"), TOrderExpect::Less},
    {"TextsAreCaseSensitive", Variant("abc"), Variant("ABC"), TOrderExpect::Greater},
    {"AnsiAndWide", Variant("中文"), Variant(u"中文"), TOrderExpect::Equal},
    {"EmptyAndEmpty", Unassigned(), Unassigned(), TOrderExpect::Equal},
    {"EmptyAndZero", Unassigned(), Variant(0), TOrderExpect::Equal},
    {"EmptyAndEmptyText", Unassigned(), Variant(""), TOrderExpect::Equal},
    {"EmptyAndText", Unassigned(), Variant("a"), TOrderExpect::Less},
    {"NullAndNull", Null(), Null(), TOrderExpect::Equal},
    {"NullAndZero", Null(), Variant(0), TOrderExpect::Unequal},
    {"NullAndEmpty", Null(), Unassigned(), TOrderExpect::Unequal},
    {"NullAndText", Variant("a"), Null(), TOrderExpect::Unequal},
    {"TrueAndMinusOne", Variant(true), Variant(-1), TOrderExpect::Equal},
    {"Booleans", Variant(false), Variant(true), TOrderExpect::Less},
    {"BooleanAndText", Variant(true), Variant("True"), TOrderExpect::Equal},
    {"Dates", VarFromDateTime(2), VarFromDateTime(1.5), TOrderExpect::Greater},
    {"DateAndNumber", VarFromDateTime(2), Variant(2), TOrderExpect::Equal},
};

class VariantCompareTest : public testing::TestWithParam<TCompareCase> {};

TEST_P(VariantCompareTest, Compares) {
  const Variant& a = GetParam().A;
  const Variant& b = GetParam().B;
  switch (GetParam().Expected) {
    case TOrderExpect::Less:
      EXPECT_TRUE(a < b && a <= b && a != b && !(a == b) && !(a > b) && !(a >= b));
      EXPECT_TRUE(b > a);
      break;
    case TOrderExpect::Equal:
      EXPECT_TRUE(a == b && b == a && a <= b && a >= b && !(a != b) && !(a < b) && !(a > b));
      break;
    case TOrderExpect::Greater:
      EXPECT_TRUE(a > b && a >= b && a != b && !(a == b) && !(a < b) && !(a <= b));
      EXPECT_TRUE(b < a);
      break;
    case TOrderExpect::Unequal:
      EXPECT_TRUE(a != b && b != a && !(a == b));
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Delphi, VariantCompareTest, testing::ValuesIn(CompareCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(VariantCompare, IncomparableKindsRaise) {
  EXPECT_THROW((void)(Variant("abc") == Variant(1)), EVariantTypeCastError);
  EXPECT_THROW((void)(VarArrayOf({1}) == VarArrayOf({1})), EVariantInvalidOpError);
  const Variant obj(std::make_shared<TAutoObject>());
  EXPECT_THROW((void)(obj < obj), EVariantInvalidOpError);
  EXPECT_THROW((void)(obj == Variant(1)), EVariantInvalidOpError);
}

TEST(VariantCompare, DispatchEqualsTheSameObject) {
  const auto object = std::make_shared<TAutoObject>();
  const Variant a(object), b(object), other(std::make_shared<TAutoObject>());
  EXPECT_TRUE(a == b);
  EXPECT_TRUE(a != other);
  EXPECT_TRUE(Variant(std::shared_ptr<IAutomationObject>()) == Unassigned());
  EXPECT_TRUE(a != Unassigned());
  EXPECT_TRUE(a != Null());
}

// ---- Format -------------------------------------------------------------------------

TEST(VariantFormat, MapsEachKind) {
  const std::vector<Variant> args{12, "ab", 1.25, int64_t(1) << 40, u"中", Null(), Unassigned()};
  EXPECT_EQ(Format("%d|%s|%.2f|%d|%s|%s|%s.", args), "12|ab|1.25|1099511627776|中||.");
  EXPECT_EQ(Format("%.1f %.3f", std::vector<Variant>{VarFromCurrency(2.5), Variant(1.5f)}),
            "2.5 1.500");
}

TEST(VariantFormat, ErrorsAreTheRuntimes) {
  EXPECT_THROW(Format("%d %d", std::vector<Variant>{1}), EConvertError);
  EXPECT_THROW(Format("%d", std::vector<Variant>{"x"}), EConvertError);
  EXPECT_THROW(Format("%s", std::vector<Variant>{1.5}), EConvertError);
  EXPECT_THROW(Format("%d", std::vector<Variant>{VarArrayOf({1})}), EConvertError);
}

}  // namespace
