#include "module/controls/KvSpinEdit.h"
#include "tests/module/inputs/InputsFixture.h"

#include <ostream>

namespace {

class KvSpinEditTest : public InputsTest {
protected:
  void SetUp() override {
    InputsTest::SetUp();
    Spin = Add<TKvSpinEdit>(nullptr, "sp01");
    Spin->OnChange = TNotifyEvent(&Log, &TEventLog::Notify);
  }
  TKvSpinEdit* Spin = nullptr;
};

struct TypingCase {
  const char* Name;
  const char* Before;
  int Caret;
  const char* Typed;
  const char* After;
  int Changes;
};

std::ostream& operator<<(std::ostream& os, const TypingCase& c) { return os << c.Name; }

const TypingCase TypingCases[] = {
    {"PlusAfterDigitsIsTakenOff", "12", 2, "+", "12", 1},
    {"MinusBeforeADigitStays", "5", 0, "-", "-5", 1},
    {"PlusFirstStays", "7", 0, "+", "+7", 1},
    {"SecondMinusIsTakenOff", "-5", 2, "-", "-5", 1},
    // A sign typed inside the number takes characters off the end until it is gone.
    {"MinusInsideCutsBackToIt", "12", 1, "-", "1", 1},
    {"PlusAfterMinusCutsBack", "-", 1, "+3", "-3", 2},
    {"DigitsAfterALoneSign", "", 0, "-42", "-42", 3},
};

class KvSpinEditTypingTest : public KvSpinEditTest, public testing::WithParamInterface<TypingCase> {};

TEST_P(KvSpinEditTypingTest, SignsStayOnlyInFirstPosition) {
  const TypingCase& c = GetParam();
  Spin->SetText(c.Before);
  Spin->SetFocus();
  Spin->SetSelStart(c.Caret);
  Log.Take();
  ASSERT_TRUE(TypeText(Spin, c.Typed));
  EXPECT_EQ(Spin->GetText(), c.After);
  EXPECT_EQ(Log.Take(), TLog(c.Changes, "click:sp01"));
}

INSTANTIATE_TEST_SUITE_P(Typing, KvSpinEditTypingTest, testing::ValuesIn(TypingCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KvSpinEditTest, TypingGoesOnBehindTheRemovedSign) {
  Spin->SetText("12");
  Spin->SetFocus();
  Spin->SetSelStart(2);
  ASSERT_TRUE(TypeText(Spin, "+3"));
  EXPECT_EQ(Spin->GetText(), "123");
  EXPECT_EQ(Spin->GetValue(), 123);
}

struct BlankCase {
  const char* Name;
  const char* Text;
  int Changes;
};

std::ostream& operator<<(std::ostream& os, const BlankCase& c) { return os << c.Name; }

const BlankCase BlankCases[] = {
    {"Empty", "", 0},
    {"Blanks", "   ", 0},
    {"Number", "8", 1},
    {"BlanksAroundANumber", " 8 ", 1},
};

class KvSpinEditBlankTest : public KvSpinEditTest, public testing::WithParamInterface<BlankCase> {};

TEST_P(KvSpinEditBlankTest, OnlyNonBlankTextRaisesTheChange) {
  Spin->SetText("1");
  Log.Take();
  Spin->SetText(GetParam().Text);
  EXPECT_EQ(Log.Take(), TLog(GetParam().Changes, "click:sp01"));
}

INSTANTIATE_TEST_SUITE_P(Texts, KvSpinEditBlankTest, testing::ValuesIn(BlankCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KvSpinEditTest, DeletingTheLastDigitRaisesNoChange) {
  Spin->SetText("4");
  Spin->SetFocus();
  Spin->SetSelStart(1);
  Log.Take();
  ASSERT_TRUE(PressKey(Spin, VK_BACK));
  EXPECT_EQ(Spin->GetText(), "");
  EXPECT_TRUE(Log.Take().empty());
}

TEST_F(KvSpinEditTest, StepsKeepTheirSign) {
  Spin->SetValue(-2);
  Spin->UpClick(nullptr);
  Spin->UpClick(nullptr);
  Spin->UpClick(nullptr);
  EXPECT_EQ(Spin->GetText(), "1");
  Spin->DownClick(nullptr);
  Spin->DownClick(nullptr);
  EXPECT_EQ(Spin->GetText(), "-1");
}

}  // namespace
