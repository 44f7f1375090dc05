#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/Spin.h"
#include "tests/platform/vcl_controls/ControlsFixture.h"

#include <ostream>

namespace {

// ---- Spin edit --------------------------------------------------------------------------

struct TBoundsCase {
  const char* Name;
  int Min, Max, Set, Expected;
  friend std::ostream& operator<<(std::ostream& os, const TBoundsCase& c) { return os << c.Name; }
};

const TBoundsCase BoundsCases[] = {
    {"Inside", 1, 10, 5, 5},
    {"AboveMax", 1, 10, 15, 10},
    {"BelowMin", 1, 10, -3, 1},
    {"EqualBoundsMeanNone", 0, 0, 1000, 1000},
    {"EqualNonZeroBoundsMeanNone", 7, 7, -5, -5},
    {"NegativeRange", -10, -2, 0, -2},
};

class SpinBounds : public ControlsTest, public testing::WithParamInterface<TBoundsCase> {};

TEST_P(SpinBounds, ApplyOnlyWhenMaxDiffersFromMin) {
  const TBoundsCase& c = GetParam();
  auto* spin = Add<TSpinEdit>(nullptr, "spin");
  spin->MinValue = c.Min;
  spin->MaxValue = c.Max;
  spin->SetValue(c.Set);
  EXPECT_EQ(spin->GetValue(), c.Expected);
  EXPECT_EQ(spin->GetText(), IntToStr(c.Expected));
}

INSTANTIATE_TEST_SUITE_P(Spin, SpinBounds, testing::ValuesIn(BoundsCases),
                         [](const auto& info) { return std::string(info.param.Name); });

class SpinEditTest : public ControlsTest {
protected:
  void SetUp() override {
    ControlsTest::SetUp();
    Spin = Add<TSpinEdit>(nullptr, "spin");
    Other = Add<TEdit>(nullptr, "other");
    Spin->MinValue = 0;
    Spin->MaxValue = 10;
    Spin->Increment = 3;
    Spin->OnChange = TNotifyEvent(&Log, &TEventLog::Notify);
  }
  TSpinEdit* Spin = nullptr;
  TEdit* Other = nullptr;
};

TEST_F(SpinEditTest, StartsAtZeroAndStepsWithTheArrowKeys) {
  EXPECT_EQ(Spin->GetText(), "0");
  PressKey(Spin, VK_UP);
  PressKey(Spin, VK_UP);
  EXPECT_EQ(Spin->GetValue(), 6);
  PressKey(Spin, VK_UP);
  PressKey(Spin, VK_UP);
  EXPECT_EQ(Spin->GetValue(), 10);  // held at the bound
  PressKey(Spin, VK_DOWN);
  EXPECT_EQ(Spin->GetValue(), 7);
  EXPECT_EQ(Log.Take().size(), 5u);  // one change per step that moved
  Spin->SetReadOnly(true);
  PressKey(Spin, VK_UP);
  EXPECT_EQ(Spin->GetValue(), 7);
}

TEST_F(SpinEditTest, TheButtonsStepAndFocusTheEdit) {
  Other->SetFocus();
  EXPECT_TRUE(ClickControl(Spin->GetButton()->GetUpButton()));
  EXPECT_EQ(Spin->GetValue(), 3);
  EXPECT_TRUE(Spin->Focused());
  ClickControl(Spin->GetButton()->GetDownButton());
  ClickControl(Spin->GetButton()->GetDownButton());
  EXPECT_EQ(Spin->GetValue(), 0);
}

TEST_F(SpinEditTest, OnlyNumberCharactersCanBeTyped) {
  Spin->SetText("");
  TypeText(Spin, "1a2-b");
  EXPECT_EQ(Spin->GetText(), "12-");
  EXPECT_EQ(Spin->GetValue(), 0);  // not a number: MinValue
  Spin->SetText("");
  Spin->EditorEnabled = false;
  TypeText(Spin, "5");
  EXPECT_EQ(Spin->GetText(), "");
  PressKey(Spin, VK_UP);
  EXPECT_EQ(Spin->GetValue(), 3);
}

TEST_F(SpinEditTest, LeavingBringsAValueOutsideTheBoundsBack) {
  Spin->SetFocus();
  Spin->SetText("50");
  EXPECT_EQ(Spin->GetValue(), 50);  // reading does not limit
  Other->SetFocus();
  EXPECT_EQ(Spin->GetText(), "10");
  Spin->SetText("abc");
  Spin->SetFocus();
  Other->SetFocus();
  EXPECT_EQ(Spin->GetText(), "abc");  // unreadable text is left as typed
}

TEST_F(SpinEditTest, ValueIsPublishedAfterItsBounds) {
  SetPropTextByPath(Spin, "MaxValue", "5");
  SetPropTextByPath(Spin, "Value", "9");
  EXPECT_EQ(GetPropTextByPath(Spin, "Value"), "5");
  EXPECT_EQ(GetPropTextByPath(Spin, "Increment"), "3");
}

// ---- Masked edit ------------------------------------------------------------------------

class MaskEditTest : public ControlsTest {
protected:
  void SetUp() override {
    ControlsTest::SetUp();
    DateSeparator = '/';
    Edit = Add<TMaskEdit>(nullptr, "me");
    Edit->SetText("");  // naming the edit gave it its name as text, as in the VCL
    Other = Add<TEdit>(nullptr, "other");
    Edit->OnChange = TNotifyEvent(&Log, &TEventLog::Notify);
  }
  TMaskEdit* Edit = nullptr;
  TEdit* Other = nullptr;
};

TEST_F(MaskEditTest, AnEmptyMaskedEditShowsLiteralsAndBlanks) {
  Edit->SetEditMask("99/99/9999;1;_");
  EXPECT_TRUE(Edit->IsMasked());
  EXPECT_EQ(Edit->GetEditText(), "__/__/____");
  EXPECT_EQ(Edit->GetText(), "  /  /    ");
  EXPECT_EQ(Edit->GetMaxLength(), 10);
  Edit->SetEditMask("");
  EXPECT_FALSE(Edit->IsMasked());
  EXPECT_EQ(Edit->GetText(), "");
}

TEST_F(MaskEditTest, TypingFillsPositionsAndSkipsLiterals) {
  Edit->SetEditMask("99/99/9999;1;_");
  Edit->SetFocus();
  Edit->SetSelStart(0);
  Edit->SetSelLength(0);
  Log.Take();
  TypeText(Edit, "12x31");
  EXPECT_EQ(Edit->GetEditText(), "12/31/____");
  EXPECT_EQ(Edit->GetSelStart(), 6);
  EXPECT_EQ(Log.Take().size(), 4u);  // the refused "x" changed nothing
  TypeText(Edit, "1999");
  EXPECT_EQ(Edit->GetText(), "12/31/1999");
  PressKey(Edit, VK_BACK);
  EXPECT_EQ(Edit->GetEditText(), "12/31/199_");
  TypeText(Edit, "7");
  EXPECT_EQ(Edit->GetEditText(), "12/31/1997");
  // Typing past the last position does nothing.
  TypeText(Edit, "8");
  EXPECT_EQ(Edit->GetEditText(), "12/31/1997");
  Edit->SetSelStart(3);
  PressKey(Edit, VK_DELETE);
  EXPECT_EQ(Edit->GetEditText(), "12/_1/1997");
  EXPECT_TRUE(Edit->Modified);
}

TEST_F(MaskEditTest, TextLeavesOutLiteralsWhenTheMaskDoesNotSaveThem) {
  Edit->SetEditMask("!aaaa-aaaaaaaaaaa;0; ");
  Edit->SetText("MR  12345678901");
  EXPECT_EQ(Edit->GetEditText(), "MR  -12345678901");
  EXPECT_EQ(Edit->GetText(), "MR  12345678901");
  EXPECT_EQ(GetPropTextByPath(Edit, "Text"), "MR  12345678901");
  Edit->SetText("");
  EXPECT_EQ(Edit->GetEditText(), "    -           ");
  EXPECT_EQ(Edit->GetText(), "");
}

TEST_F(MaskEditTest, ChangingTheMaskKeepsWhatWasTyped) {
  Edit->SetEditMask("999-999;0;_");
  Edit->SetText("12345");
  Edit->SetEditMask("99/99/99;1;_");
  EXPECT_EQ(Edit->GetEditText(), "12/34/5_");
}

TEST_F(MaskEditTest, LeavingWithARequiredPositionEmptyKeepsTheFocus) {
  Edit->SetEditMask("00;1;_");
  Edit->SetFocus();
  TypeText(Edit, "1");
  Other->SetFocus();
  EXPECT_TRUE(Edit->Focused());
  const auto dialogs = Driver.EventsOf(ueMessageDialog);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].Text, "Invalid input value.  Use escape key to abandon changes");
  EXPECT_EQ(dialogs[0].DialogType, mtError);
  EXPECT_THROW(Edit->ValidateEdit(), EDBEditError);
  // Escape gives back the text the edit had on entry; then it can be left.
  PressKey(Edit, VK_ESCAPE);
  EXPECT_EQ(Edit->GetEditText(), "__");
  Edit->Modified = false;
  Other->SetFocus();
  EXPECT_TRUE(Other->Focused());
}

TEST_F(MaskEditTest, UpperCaseDirectiveAppliesToTyping) {
  Edit->SetEditMask(">LL<ll;0;_");
  Edit->SetFocus();
  Edit->SetSelStart(0);
  TypeText(Edit, "abCD");
  EXPECT_EQ(Edit->GetText(), "ABcd");
  Edit->SetReadOnly(true);
  Edit->SetSelStart(0);
  TypeText(Edit, "x");
  EXPECT_EQ(Edit->GetText(), "ABcd");
}

}  // namespace
