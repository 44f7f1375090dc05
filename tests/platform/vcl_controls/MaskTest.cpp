#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Mask.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

// The mask tests use "/" and ":" as the locale's separators.
class MaskSeparators : public ::testing::Environment {
public:
  void SetUp() override {
    DateSeparator = '/';
    TimeSeparator = ':';
  }
};
const auto* const Separators = ::testing::AddGlobalTestEnvironment(new MaskSeparators);

struct TMaskCase {
  const char* Name;
  const char* Mask;
  const char* Text;      // assigned as Text
  const char* EditText;  // what the edit then shows
  const char* Result;    // Text read back
  friend std::ostream& operator<<(std::ostream& os, const TMaskCase& c) { return os << c.Name; }
};

const TMaskCase MaskCases[] = {
    {"DateEmpty", "99/99/9999;1; ", "", "  /  /    ", "  /  /    "},
    {"DateFilled", "99/99/9999;1; ", "12/31/1999", "12/31/1999", "12/31/1999"},
    {"DateLiteralsPutIn", "99/99/9999;1; ", "12311999", "12/31/1999", "12/31/1999"},
    {"DateUnderscore", "99/99/9999;1;_", "12", "12/__/____", "12/  /    "},
    {"YearFirst", "9999/99/99;1; ", "2024/5", "2024/5 /  ", "2024/5 /  "},
    {"NoSaveFull", "999-999;0;_", "123456", "123-456", "123456"},
    {"NoSavePartial", "999-999;0;_", "12", "12_-___", "12"},
    {"NoSaveInnerBlank", "999-999;0;_", "1 3", "1_3-___", "1 3"},
    {"NoSaveSpaceBlank", "999-999;0; ", "12", "12 -   ", "12"},
    {"ReverseFull", "!aaaa-aaaaaaaaaaa;0; ", "MR  12345678901", "MR  -12345678901", "MR  12345678901"},
    {"ReverseShort", "!999;0;_", "12", "_12", "12"},
    {"ReverseKeepsLiteralsWhenSaved", "!99-99;1;_", "1-23", "_1-23", " 1-23"},
    {"UpperThenLower", ">LLL<ll;0;_", "abcDE", "ABCde", "ABCde"},
    {"NoCaseAfterBoth", ">L<>L;0;_", "ab", "Ab", "Ab"},
    {"EscapedLiterals", "\\99\\-9;0;_", "12", "91-2", "12"},
    {"NoFieldsSavesWithUnderscore", "000", "", "___", "   "},
    {"Time", "99:99;1;_", "1230", "12:30", "12:30"},
    {"ChineseLiterals", "9999年99月;1;_", "200405", "2004年05月", "2004年05月"},
    {"SurplusDropped", "99;0;_", "12345", "12", "12"},
};

class MaskTable : public ::testing::TestWithParam<TMaskCase> {};

TEST_P(MaskTable, TextEditTextAndBack) {
  const TMaskCase& c = GetParam();
  const TEditMask mask(c.Mask);
  ASSERT_TRUE(mask.IsMasked());
  const AnsiString edit = mask.TextToEditText(c.Text);
  EXPECT_EQ(edit, c.EditText);
  EXPECT_EQ(mask.EditTextToText(edit), c.Result);
  // Reading back and assigning again changes nothing.
  EXPECT_EQ(mask.TextToEditText(mask.EditTextToText(edit)), edit);
}

INSTANTIATE_TEST_SUITE_P(Mask, MaskTable, ::testing::ValuesIn(MaskCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TFieldCase {
  const char* Mask;
  bool Save;
  char Blank;
  const char* BlankText;
};

TEST(MaskFieldsTest, SaveAndBlankFieldsAreReadFromTheEnd) {
  const TFieldCase cases[] = {
      {"99/99/9999;1; ", true, ' ', "  /  /    "},
      {"!aaaa-aaaaaaaaaaa;0; ", false, ' ', "    -           "},
      {"999;0;*", false, '*', "***"},
      {"999;0", false, '_', "___"},
      {"999;1", true, '_', "___"},
      {"999", true, '_', "___"},
      {"99;0;", false, '_', "__"},  // an empty blank field is no blank field
      {"a;b;c;d;0;_", false, '_', "_;b;_;d"},  // only the last four characters hold fields
  };
  for (const TFieldCase& c : cases) {
    EXPECT_EQ(MaskGetMaskSave(c.Mask), c.Save) << c.Mask;
    EXPECT_EQ(MaskGetMaskBlank(c.Mask), c.Blank) << c.Mask;
    EXPECT_EQ(TEditMask(c.Mask).BlankEditText(), c.BlankText) << c.Mask;
  }
}

TEST(MaskFieldsTest, MasksWithoutPositionsAreNotMasks) {
  EXPECT_FALSE(TEditMask("").IsMasked());
  EXPECT_FALSE(TEditMask(";1;_").IsMasked());
  EXPECT_FALSE(TEditMask("!><").IsMasked());
  EXPECT_TRUE(TEditMask("-").IsMasked());
}

TEST(MaskFieldsTest, SeparatorsFollowTheLocale) {
  const char saved = DateSeparator;
  DateSeparator = '-';
  EXPECT_EQ(TEditMask("99/99;1;_").BlankEditText(), "__-__");
  EXPECT_EQ(TEditMask("99\\/99;1;_").BlankEditText(), "__/__");
  DateSeparator = saved;
}

TEST(MaskFieldsTest, FormatMaskTextWritesBlanksAsSpaces) {
  EXPECT_EQ(FormatMaskText("999-999;0;_", "12"), "12 -   ");
  EXPECT_EQ(FormatMaskText("99/99/9999;1;_", "1231"), "12/31/    ");
  EXPECT_EQ(FormatMaskText("", "abc"), "abc");
}

struct TCharCase {
  const char* Mask;
  int Position;
  char Typed;
  bool Accepted;
  char Stored;
};

TEST(MaskInputTest, CharactersMustFitTheirPosition) {
  const TCharCase cases[] = {
      {"L", 0, 'a', true, 'a'},   {"L", 0, '1', false, 0},   {"L", 0, ' ', false, 0},
      {"l", 0, ' ', true, ' '},   {"A", 0, '7', true, '7'},  {"A", 0, '-', false, 0},
      {"C", 0, '-', true, '-'},   {"C", 0, ' ', true, ' '},  {"0", 0, 'x', false, 0},
      {"9", 0, '5', true, '5'},   {"#", 0, '+', true, '+'},  {"#", 0, 'x', false, 0},
      {">L", 0, 'q', true, 'Q'},  {"<a", 0, 'Q', true, 'q'}, {"9-9", 1, '5', false, 0},
      {"9", 1, '5', false, 0},
  };
  for (const TCharCase& c : cases) {
    char stored = 0;
    EXPECT_EQ(TEditMask(c.Mask).AcceptChar(c.Position, c.Typed, stored), c.Accepted)
        << c.Mask << " '" << c.Typed << "'";
    if (c.Accepted) {
      EXPECT_EQ(stored, c.Stored) << c.Mask;
    }
  }
}

TEST(MaskInputTest, ValidateFindsTheFirstMissingOrWrongCharacter) {
  const TEditMask mask("00-99;1;_");
  int pos = 0;
  EXPECT_TRUE(mask.Validate("12-3_", pos));
  EXPECT_EQ(pos, -1);
  EXPECT_FALSE(mask.Validate("1_-34", pos));
  EXPECT_EQ(pos, 1);
  EXPECT_FALSE(mask.Validate("12-x4", pos));
  EXPECT_EQ(pos, 3);
  EXPECT_FALSE(mask.Validate("", pos));
  EXPECT_EQ(pos, 0);
}

TEST(MaskInputTest, EditablePositionsSkipLiterals) {
  const TEditMask mask("99/99;1;_");
  EXPECT_EQ(mask.NextEditable(2), 3);
  EXPECT_EQ(mask.PrevEditable(2), 1);
  EXPECT_EQ(mask.NextEditable(5), -1);
  EXPECT_EQ(TEditMask("--9").PrevEditable(1), -1);
  EXPECT_EQ(mask.NormalizeEditText("1x/345678"), "1x/34");
}

}  // namespace
