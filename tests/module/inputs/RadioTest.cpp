#include "module/controls/KvRadio.h"
#include "platform/vcl/ExtCtrls.h"
#include "tests/module/inputs/InputsFixture.h"

#include <ostream>

namespace {

// ---- Radio buttons --------------------------------------------------------------------------

class KvRadioButtonTest : public InputsTest {
protected:
  void SetUp() override {
    InputsTest::SetUp();
    Panel = Add<TPanel>(nullptr, "pnl");
    Panel->SetBounds(0, 0, 300, 200);
    First = Add<TKvRadioButton>(Panel, "rb1");
    Second = Add<TKvRadioButton>(Panel, "rb2");
    Plain = Add<TRadioButton>(Panel, "rbPlain");
    for (TControl* c : std::initializer_list<TControl*>{First, Second, Plain})
      c->OnClick = TNotifyEvent(&Log, &TEventLog::Notify);
  }
  TPanel* Panel = nullptr;
  TKvRadioButton* First = nullptr;
  TKvRadioButton* Second = nullptr;
  TRadioButton* Plain = nullptr;
};

TEST_F(KvRadioButtonTest, CheckingUnchecksSiblingsOfItsOwnClassOnly) {
  Plain->SetChecked(true);
  Log.Take();
  Second->SetChecked(true);
  First->SetChecked(true);
  EXPECT_TRUE(First->GetChecked());
  EXPECT_FALSE(Second->GetChecked());
  EXPECT_TRUE(Plain->GetChecked());
  EXPECT_EQ(Log.Take(), (TLog{"click:rb2", "click:rb1"}));
  // The checked button is the tab stop.
  EXPECT_TRUE(First->GetTabStop());
  EXPECT_FALSE(Second->GetTabStop());
  // And the other way round: the VCL's radio button leaves ours alone.
  Plain->SetChecked(false);
  Plain->SetChecked(true);
  EXPECT_TRUE(First->GetChecked());
}

TEST_F(KvRadioButtonTest, ButtonsOfAnotherParentAreNotSiblings) {
  auto* elsewhere = Add<TKvRadioButton>(nullptr, "rbElsewhere");
  elsewhere->SetChecked(true);
  First->SetChecked(true);
  EXPECT_TRUE(elsewhere->GetChecked());
}

TEST_F(KvRadioButtonTest, CheckingUnchecksGroupButtonsOnTheSameParent) {
  auto* group = Add<TKvRadioGroup>(nullptr, "grp");
  group->GetItems()->Add("a");
  group->GetItems()->Add("b");
  group->SetItemIndex(1);
  auto* inside = Add<TKvRadioButton>(group, "rbInside");
  inside->SetChecked(true);
  EXPECT_FALSE(group->GetButton(1)->GetChecked());
}

TEST_F(KvRadioButtonTest, UserActionsCheckAndClick) {
  EXPECT_TRUE(ClickControl(First));
  EXPECT_TRUE(First->GetChecked());
  EXPECT_TRUE(First->Focused());
  // Clicking a checked button changes nothing.
  EXPECT_TRUE(ClickControl(First));
  EXPECT_TRUE(PressKey(Second, VK_SPACE));
  EXPECT_TRUE(Second->GetChecked());
  EXPECT_FALSE(First->GetChecked());
  EXPECT_EQ(Log.Take(), (TLog{"click:rb1", "click:rb2"}));
  // The double click is passed on.
  First->OnDblClick = TNotifyEvent(&Log, &TEventLog::Notify);
  EXPECT_TRUE(DoubleClickControl(First));
  EXPECT_EQ(Log.Take(), (TLog{"click:rb1", "click:rb1"}));
}

TEST_F(KvRadioButtonTest, ClicksDisabledChecksSilently) {
  First->ClicksDisabled = true;
  First->SetChecked(true);
  EXPECT_TRUE(First->GetChecked());
  EXPECT_TRUE(Log.Take().empty());
}

TEST_F(KvRadioButtonTest, TheAcceleratorFocusesAndTheKeyboardFocusChecks) {
  Second->SetCaption("&Queue");
  ASSERT_FALSE(Second->Focused());
  EXPECT_TRUE(PressKey('Q', {ssAlt}));
  EXPECT_TRUE(Second->Focused());
  EXPECT_TRUE(Second->GetChecked());
  EXPECT_EQ(Log.Take(), (TLog{"click:rb2"}));
  // "&&" marks no accelerator: the letter is nobody's, with Alt or typed on the button.
  First->SetCaption("&Up");
  Second->SetCaption("Q&&ueue");
  First->SetEnabled(false);
  PressKey('U', {ssAlt});
  PressKey(Second, 'U');
  EXPECT_TRUE(Second->Focused());
  EXPECT_FALSE(First->GetChecked());
  EXPECT_TRUE(Log.Take().empty());
  // The plain letter on the button reaches the one whose caption marks it.
  First->SetEnabled(true);
  PressKey(Second, 'U');
  EXPECT_TRUE(First->Focused());
  EXPECT_TRUE(First->GetChecked());
  EXPECT_EQ(Log.Take(), (TLog{"click:rb1"}));
}

struct OffsetCase {
  int Points;
  int Offset;
};

std::ostream& operator<<(std::ostream& os, const OffsetCase& c) { return os << c.Points << "pt"; }

const OffsetCase OffsetCases[] = {
    {0, 44},  {1, 17},  {8, 17},  {9, 19},  {15, 19}, {16, 20}, {17, 20}, {18, 21}, {23, 21}, {24, 23}, {29, 23},
    {30, 25}, {35, 25}, {36, 27}, {41, 27}, {42, 29}, {43, 29}, {44, 31}, {60, 31}, {61, 39}, {80, 39}, {81, 44},
};

class KvRadioOffsetTest : public testing::TestWithParam<OffsetCase> {};

TEST_P(KvRadioOffsetTest, TheCaptionOffsetFollowsTheFontSize) {
  EXPECT_EQ(TKvRadioButton::CaptionOffset(GetParam().Points), GetParam().Offset);
}

INSTANTIATE_TEST_SUITE_P(Sizes, KvRadioOffsetTest, testing::ValuesIn(OffsetCases),
                         [](const auto& info) { return std::to_string(info.param.Points) + "pt"; });

struct PaintCase {
  const char* Name;
  int FontHeight;
  TAlignment Alignment;
  int CaptionLeft;   // where the first character's box starts
  int BoxLeft;       // the round box's left edge
};

std::ostream& operator<<(std::ostream& os, const PaintCase& c) { return os << c.Name; }

// 8 points (11 pixels) put the caption at 17, 24 points (32 pixels) at 23.
const PaintCase PaintCases[] = {
    {"SmallFont", -11, taRightJustify, 17, 0},
    {"LargeFont", -32, taRightJustify, 23, 0},
    {"BoxOnTheRight", -11, taLeftJustify, 0, 113 - 12},
};

class KvRadioPaintTest : public KvRadioButtonTest, public testing::WithParamInterface<PaintCase> {};

TEST_P(KvRadioPaintTest, TheCaptionIsPaintedFromItsOffsetInTheOwnFont) {
  const PaintCase& c = GetParam();
  First->SetBounds(0, 0, 113, 40);
  First->GetFont()->SetHeight(c.FontHeight);
  First->GetFont()->SetColor(clRed);
  First->SetAlignment(c.Alignment);
  First->SetCaption("Ab");
  First->SetChecked(true);
  First->Repaint();
  TCanvas* canvas = First->GetCanvas();
  const int cell = -c.FontHeight;
  const int textTop = (40 - cell) / 2;
  const int middle = textTop + cell / 2;
  // Two characters in red from the offset on, the first box starting one pixel in.
  EXPECT_EQ(InkRuns(canvas, middle, 0, 113, clRed), 2);
  EXPECT_EQ(canvas->GetPixels(c.CaptionLeft + 1, middle), clRed);
  EXPECT_NE(canvas->GetPixels(c.CaptionLeft, middle), clRed);
  // The round box stays, with its dot.
  const int boxTop = (40 - 12) / 2;
  EXPECT_EQ(canvas->GetPixels(c.BoxLeft + 4, boxTop), ColorToRGB(clBtnShadow));
  EXPECT_EQ(canvas->GetPixels(c.BoxLeft + 5, boxTop + 5), ColorToRGB(clWindowText));
}

INSTANTIATE_TEST_SUITE_P(Looks, KvRadioPaintTest, testing::ValuesIn(PaintCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KvRadioButtonTest, ADisabledButtonPaintsGreyAndUnchecked) {
  First->SetCaption("Ab");
  First->SetEnabled(false);
  First->Repaint();
  TCanvas* canvas = First->GetCanvas();
  EXPECT_EQ(MostInkRuns(canvas, Rect(17, 0, 113, 17), clGrayText), 2);
  EXPECT_EQ(canvas->GetPixels(5, 2 + 5), ColorToRGB(clBtnFace));
  EXPECT_FALSE(First->IsInvalidated());
  First->SetEnabled(true);
  EXPECT_TRUE(First->IsInvalidated());
}

// ---- Radio group ----------------------------------------------------------------------------

class KvRadioGroupTest : public InputsTest {
protected:
  void SetUp() override {
    InputsTest::SetUp();
    Group = Add<TKvRadioGroup>(nullptr, "grp");
    Group->GetFont()->SetHeight(-11);
    Group->OnClick = TNotifyEvent(&Log, &TEventLog::Notify);
  }
  void SetItems(int count) {
    Group->GetItems()->BeginUpdate();
    Group->GetItems()->Clear();
    for (int i = 0; i < count; ++i) Group->GetItems()->Add("Item" + std::to_string(i));
    Group->GetItems()->EndUpdate();
  }
  std::string Checks() const {
    std::string s;
    for (int i = 0; i < Group->GetButtonCount(); ++i) s += Group->GetButton(i)->GetChecked() ? 'X' : '-';
    return s;
  }
  TKvRadioGroup* Group = nullptr;
};

struct LayoutCase {
  const char* Name;
  int Items;
  int Columns;
  int Width;
  int Height;
  bool RightToLeft;
  int Index;
  TRect Expected;
};

std::ostream& operator<<(std::ostream& os, const LayoutCase& c) { return os << c.Name; }

// With an 11-pixel font: rows = ⌈items / columns⌉, width = (W − 10) / columns,
// height = (H − 16) / rows, top = half the remainder + 12.
const LayoutCase LayoutCases[] = {
    {"ThreeInOneColumn", 3, 1, 185, 105, false, 2, Bounds(8, 71, 175, 29)},
    {"FiveInTwoColumnsFirstOfSecond", 5, 2, 185, 105, false, 3, Bounds(95, 13, 87, 29)},
    {"FiveInTwoColumnsLast", 5, 2, 185, 105, false, 4, Bounds(95, 42, 87, 29)},
    {"FourInThreeColumns", 4, 3, 185, 105, false, 3, Bounds(66, 56, 58, 44)},
    {"ColumnsLimitedToSixteen", 2, 20, 185, 105, false, 1, Bounds(18, 12, 10, 89)},
    {"SevenInTwoColumnsWide", 7, 2, 200, 150, false, 6, Bounds(103, 79, 95, 33)},
    {"RightToLeftMirrors", 5, 2, 185, 105, true, 3, Bounds(3, 13, 87, 29)},
    {"RightToLeftFirst", 5, 2, 185, 105, true, 0, Bounds(90, 13, 87, 29)},
};

class KvRadioGroupLayoutTest : public KvRadioGroupTest, public testing::WithParamInterface<LayoutCase> {};

TEST_P(KvRadioGroupLayoutTest, ButtonsFillColumnsTopToBottom) {
  const LayoutCase& c = GetParam();
  Group->SetBounds(0, 0, c.Width, c.Height);
  if (c.RightToLeft) Group->BiDiMode = bdRightToLeft;
  Group->SetColumns(c.Columns);
  SetItems(c.Items);
  ASSERT_EQ(Group->GetButtonCount(), c.Items);
  EXPECT_EQ(Group->GetButton(c.Index)->GetBoundsRect(), c.Expected);
  EXPECT_TRUE(Group->GetButton(c.Index)->GetVisible());
}

INSTANTIATE_TEST_SUITE_P(Layouts, KvRadioGroupLayoutTest, testing::ValuesIn(LayoutCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KvRadioGroupTest, ItRearrangesOnResizeAndFontChange) {
  Group->SetBounds(0, 0, 185, 105);
  SetItems(3);
  Group->SetBounds(0, 0, 210, 135);
  EXPECT_EQ(Group->GetButton(1)->GetBoundsRect(), Bounds(8, 13 + 39, 200, 39));
  Group->GetFont()->SetHeight(-20);
  // (135 − 20 − 5) / 3 = 36 rem 2: top 1 + 21.
  EXPECT_EQ(Group->GetButton(1)->GetBoundsRect(), Bounds(8, 22 + 36, 200, 36));
  Group->SetColumns(0);
  EXPECT_EQ(Group->GetColumns(), 1);
}

TEST_F(KvRadioGroupTest, ButtonsFollowTheLinesAndTheGroup) {
  Group->SetEnabled(false);
  SetItems(2);
  Group->GetItems()->Put(1, "Second");
  EXPECT_EQ(Group->GetButton(1)->GetCaption(), "Second");
  EXPECT_FALSE(Group->GetButton(0)->GetEnabled());
  EXPECT_FALSE(Group->GetButton(0)->GetParentShowHint());
  EXPECT_EQ(Group->GetButton(0)->GetParent(), Group);
  EXPECT_STREQ(Group->GetButton(0)->ClassName().c_str(), "TKvGroupButton");
  Group->SetEnabled(true);
  EXPECT_TRUE(Group->GetButton(1)->GetEnabled());
  EXPECT_THROW(Group->GetButton(2), EListError);
}

struct IndexCase {
  const char* Name;
  int Set;
  int Expected;
  const char* Checks;
};

std::ostream& operator<<(std::ostream& os, const IndexCase& c) { return os << c.Name; }

const IndexCase IndexCases[] = {
    {"InRange", 1, 1, "-X-"},
    {"AboveTheLast", 7, 2, "--X"},
    {"None", -1, -1, "---"},
    {"BelowNone", -9, -1, "---"},
};

class KvRadioGroupIndexTest : public KvRadioGroupTest, public testing::WithParamInterface<IndexCase> {};

TEST_P(KvRadioGroupIndexTest, ItemIndexIsLimitedAndChecksItsButton) {
  SetItems(3);
  Group->SetItemIndex(0);
  Group->SetItemIndex(GetParam().Set);
  EXPECT_EQ(Group->GetItemIndex(), GetParam().Expected);
  EXPECT_EQ(Checks(), GetParam().Checks);
}

INSTANTIATE_TEST_SUITE_P(Values, KvRadioGroupIndexTest, testing::ValuesIn(IndexCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KvRadioGroupTest, ChoosingAButtonSetsItemIndexAndClicksTheGroup) {
  SetItems(3);
  Group->SetItemIndex(0);
  EXPECT_EQ(Log.Take(), (TLog{"click:grp"}));
  EXPECT_TRUE(ClickControl(Group->GetButton(2)));
  EXPECT_EQ(Group->GetItemIndex(), 2);
  EXPECT_EQ(Checks(), "--X");
  EXPECT_EQ(Log.Take(), (TLog{"click:grp"}));
  // Fewer lines pull the index back.
  Group->GetItems()->Delete(2);
  EXPECT_EQ(Group->GetItemIndex(), 1);
  EXPECT_EQ(Checks(), "-X");
}

TEST_F(KvRadioGroupTest, KeysInAButtonReachTheGroup) {
  SetItems(2);
  Group->OnKeyDown = TKeyEvent(&Log, &TEventLog::KeyDown);
  Group->OnKeyPress = TKeyPressEvent(&Log, &TEventLog::KeyPress);
  Group->OnKeyUp = TKeyEvent(&Log, &TEventLog::KeyUp);
  EXPECT_TRUE(PressKey(Group->GetButton(0), 'A'));
  TLog log = Log.Take();
  // Focusing the button by the keyboard checks it first.
  EXPECT_EQ(log, (TLog{"click:grp", "down:65", "press:a", "up:65"}));
}

// A group whose choice may not change, as a read-only data-aware group.
class TReadOnlyGroup : public TKvRadioGroup {
public:
  explicit TReadOnlyGroup(TComponent* AOwner) : TKvRadioGroup(AOwner) {}
  bool CanModify() const override { return false; }
};

TEST_F(InputsTest, AGroupThatRefusesChangesKeepsItsChoiceButSeesTheKeys) {
  auto* group = Add<TReadOnlyGroup>(nullptr, "grpReadOnly");
  group->GetItems()->Add("a");
  group->GetItems()->Add("b");
  group->SetItemIndex(0);
  group->OnKeyPress = TKeyPressEvent(&Log, &TEventLog::KeyPress);
  EXPECT_TRUE(ClickControl(group->GetButton(1)));
  EXPECT_TRUE(PressKey(group->GetButton(1), VK_SPACE));
  EXPECT_EQ(group->GetItemIndex(), 0);
  EXPECT_FALSE(group->GetButton(1)->GetChecked());
  EXPECT_EQ(Log.Take(), (TLog{"press: "}));
  // Code still sets the choice.
  group->SetItemIndex(1);
  EXPECT_TRUE(group->GetButton(1)->GetChecked());
}

}  // namespace
