#include "module/controls/BtChkBox.h"
#include "module/controls/ModuleBitmaps.h"
#include "tests/module/inputs/InputsFixture.h"

#include <functional>
#include <memory>
#include <ostream>

namespace {

class BitCheckBoxTest : public InputsTest {
protected:
  void SetUp() override {
    InputsTest::SetUp();
    Box = Add<TBitCheckBox>(nullptr, "chk01");
    Box->SetBounds(10, 10, 97, 17);
    Box->GetFont()->SetHeight(-11);
    Box->OnClick = TNotifyEvent(&Log, &TEventLog::Notify);
  }
  TColor Pixel(int x, int y) const { return Box->GetCanvas()->GetPixels(x, y); }
  TBitCheckBox* Box = nullptr;
};

// A glyph of two 16 by 16 frames on the module's background: a red square in the first,
// a blue one in the second.
std::unique_ptr<TBitmap> TwoFrameGlyph() {
  auto glyph = std::make_unique<TBitmap>();
  glyph->SetPixelFormat(pf24bit);
  glyph->SetSize(32, 16);
  TCanvas* c = glyph->GetCanvas();
  c->GetBrush()->SetColor(ModuleBitmapBackground);
  c->FillRect(Rect(0, 0, 32, 16));
  c->GetBrush()->SetColor(clRed);
  c->FillRect(Rect(4, 4, 12, 12));
  c->GetBrush()->SetColor(clBlue);
  c->FillRect(Rect(20, 4, 28, 12));
  return glyph;
}

// ---- States and toggling ----------------------------------------------------------------

enum class TUserAction { Mouse, SpaceKey };

struct ToggleCase {
  const char* Name;
  bool AllowGrayed;
  TUserAction Action;
  TCheckBoxState After[4];
};

std::ostream& operator<<(std::ostream& os, const ToggleCase& c) { return os << c.Name; }

const ToggleCase ToggleCases[] = {
    {"GrayedAllowedByMouse", true, TUserAction::Mouse, {cbGrayed, cbChecked, cbUnchecked, cbGrayed}},
    {"GrayedAllowedBySpace", true, TUserAction::SpaceKey, {cbGrayed, cbChecked, cbUnchecked, cbGrayed}},
    {"TwoStatesByMouse", false, TUserAction::Mouse, {cbChecked, cbUnchecked, cbChecked, cbUnchecked}},
    {"TwoStatesBySpace", false, TUserAction::SpaceKey, {cbChecked, cbUnchecked, cbChecked, cbUnchecked}},
};

class BitCheckBoxToggleTest : public BitCheckBoxTest, public testing::WithParamInterface<ToggleCase> {};

TEST_P(BitCheckBoxToggleTest, FourActionsCycleTheStatesAndClickEachTime) {
  const ToggleCase& c = GetParam();
  Box->SetAllowGrayed(c.AllowGrayed);
  for (TCheckBoxState expected : c.After) {
    if (c.Action == TUserAction::Mouse)
      EXPECT_TRUE(ClickControl(Box));
    else
      EXPECT_TRUE(PressKey(Box, VK_SPACE));
    EXPECT_EQ(Box->GetState(), expected);
    EXPECT_EQ(Box->GetChecked(), expected == cbChecked);
  }
  EXPECT_EQ(Log.Take(), TLog(4, "click:chk01"));
}

INSTANTIATE_TEST_SUITE_P(Actions, BitCheckBoxToggleTest, testing::ValuesIn(ToggleCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(BitCheckBoxTest, StateAndCheckedSetInCodeRaiseNoEvent) {
  Box->SetState(cbGrayed);
  EXPECT_FALSE(Box->GetChecked());
  Box->SetChecked(true);
  EXPECT_EQ(Box->GetState(), cbChecked);
  Box->SetChecked(false);
  EXPECT_EQ(Box->GetState(), cbUnchecked);
  SetOrdProp(Box, "State", cbChecked);
  EXPECT_TRUE(Box->GetChecked());
  EXPECT_TRUE(Log.Take().empty());
}

// The handler sees the new state, and the control takes the focus only afterwards.
class TClickProbe : public TObject {
public:
  TBitCheckBox* Box = nullptr;
  std::vector<std::pair<TCheckBoxState, bool>> Seen;
  void Clicked(TObject*) { Seen.push_back({Box->GetState(), Box->Focused()}); }
};

TEST_F(BitCheckBoxTest, AClickTogglesThenRaisesOnClickThenFocuses) {
  TClickProbe probe;
  probe.Box = Box;
  Box->OnClick = TNotifyEvent(&probe, &TClickProbe::Clicked);
  ASSERT_FALSE(Box->Focused());
  EXPECT_TRUE(ClickControl(Box));
  ASSERT_EQ(probe.Seen.size(), 1u);
  EXPECT_EQ(probe.Seen[0].first, cbChecked);
  EXPECT_FALSE(probe.Seen[0].second);
  EXPECT_TRUE(Box->Focused());
}

TEST_F(BitCheckBoxTest, TheAcceleratorFocusesAndTogglesWithoutOnClick) {
  Box->SetCaption("&Notify");
  ASSERT_FALSE(Box->Focused());
  EXPECT_TRUE(PressKey('N', {ssAlt}));
  EXPECT_TRUE(Box->Focused());
  EXPECT_EQ(Box->GetState(), cbChecked);
  EXPECT_TRUE(Log.Take().empty());
  // Another letter, or a box that cannot take the focus, is left alone.
  PressKey('X', {ssAlt});
  EXPECT_EQ(Box->GetState(), cbChecked);
  // The box wants no characters, so on it the plain letter is the accelerator too.
  PressKey(Box, 'N');
  EXPECT_EQ(Box->GetState(), cbUnchecked);
  PressKey(Box, 'N', {ssShift});
  EXPECT_EQ(Box->GetState(), cbChecked);
  EXPECT_TRUE(Log.Take().empty());
  Box->SetEnabled(false);
  PressKey('N', {ssAlt});
  EXPECT_EQ(Box->GetState(), cbChecked);
}

TEST_F(BitCheckBoxTest, ADisabledBoxIgnoresTheUser) {
  Box->SetEnabled(false);
  EXPECT_FALSE(ClickControl(Box));
  EXPECT_FALSE(PressKey(Box, VK_SPACE));
  EXPECT_EQ(Box->GetState(), cbUnchecked);
  EXPECT_TRUE(Log.Take().empty());
}

// ---- Glyphs -------------------------------------------------------------------------------

TEST_F(BitCheckBoxTest, StartsWithTheModulePicturesOfOneFrame) {
  for (TCheckBoxState state : {cbUnchecked, cbChecked, cbGrayed}) {
    SCOPED_TRACE(state);
    EXPECT_EQ(Box->GetGlyph(state)->GetWidth(), 19);
    EXPECT_EQ(Box->GetGlyph(state)->GetHeight(), 14);
    EXPECT_EQ(Box->GetNumGlyphs(state), 1);
    EXPECT_EQ(Box->GetGlyph(state)->GetTransparentColor(), ColorToRGB(ModuleBitmapBackground));
  }
  // The three pictures differ: the checked one has a mark the unchecked one lacks.
  TBitmap checked, unchecked;
  ASSERT_TRUE(LoadModuleBitmap(&checked, "checked"));
  ASSERT_TRUE(LoadModuleBitmap(&unchecked, "UNCHECKED"));
  EXPECT_EQ(checked.GetCanvas()->GetPixels(5, 7), clBlack);
  EXPECT_EQ(unchecked.GetCanvas()->GetPixels(5, 7), clWhite);
  TBitmap none;
  EXPECT_FALSE(LoadModuleBitmap(&none, "CHECK"));
  EXPECT_TRUE(none.GetEmpty());
}

struct GlyphCase {
  const char* Name;
  int Width;
  int Height;
  int FramesBefore;
  int FramesAfter;
};

std::ostream& operator<<(std::ostream& os, const GlyphCase& c) { return os << c.Name; }

const GlyphCase GlyphCases[] = {
    {"NotAMultipleKeepsTwo", 40, 13, 2, 2},
    {"NotAMultipleKeepsOne", 40, 13, 1, 1},
    {"TwoSquares", 32, 16, 1, 2},
    {"OneSquare", 16, 16, 2, 1},
    {"ThreeSquaresLimitedToTwo", 48, 16, 1, 2},
    {"EmptyKeepsCount", 0, 0, 2, 2},
};

class BitCheckBoxGlyphTest : public BitCheckBoxTest, public testing::WithParamInterface<GlyphCase> {};

TEST_P(BitCheckBoxGlyphTest, AGlyphSetsTheFrameCountOnlyWhenItsWidthIsAMultipleOfItsHeight) {
  const GlyphCase& c = GetParam();
  for (TCheckBoxState state : {cbUnchecked, cbChecked, cbGrayed}) {
    SCOPED_TRACE(state);
    Box->SetNumGlyphs(state, c.FramesBefore);
    TBitmap glyph;
    glyph.SetSize(c.Width, c.Height);
    Box->SetGlyph(state, &glyph);
    EXPECT_EQ(Box->GetGlyph(state)->GetWidth(), c.Width);
    EXPECT_NE(Box->GetGlyph(state), &glyph);
    EXPECT_EQ(Box->GetNumGlyphs(state), c.FramesAfter);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, BitCheckBoxGlyphTest, testing::ValuesIn(GlyphCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(BitCheckBoxTest, FrameCountsAreLimitedAndNoGlyphRestoresThePicture) {
  Box->SetCheckedNumGlyphs(5);
  EXPECT_EQ(Box->GetCheckedNumGlyphs(), 2);
  Box->SetGrayedNumGlyphs(0);
  EXPECT_EQ(Box->GetGrayedNumGlyphs(), 1);
  SetOrdProp(Box, "UncheckedNumGlyphs", -3);
  EXPECT_EQ(Box->GetUncheckedNumGlyphs(), 1);

  Box->SetCheckedGlyph(TwoFrameGlyph().get());
  EXPECT_EQ(Box->GetCheckedGlyph()->GetWidth(), 32);
  Box->SetCheckedGlyph(nullptr);
  EXPECT_EQ(Box->GetCheckedGlyph()->GetWidth(), 19);
  EXPECT_EQ(Box->GetCheckedGlyph()->GetHeight(), 14);
}

struct FrameCase {
  const char* Name;
  bool Enabled;
  int Frames;
  int ShownFrame;
  TColor AtFrameCentre;
};

std::ostream& operator<<(std::ostream& os, const FrameCase& c) { return os << c.Name; }

const FrameCase FrameCases[] = {
    {"EnabledTwoFrames", true, 2, 0, clRed},
    {"DisabledTwoFrames", false, 2, 1, clBlue},
    {"EnabledOneFrame", true, 1, 0, clRed},
    {"DisabledOneFrame", false, 1, 0, clRed},
};

class BitCheckBoxFrameTest : public BitCheckBoxTest, public testing::WithParamInterface<FrameCase> {};

TEST_P(BitCheckBoxFrameTest, ADisabledBoxShowsTheSecondFrameWhenThereIsOne) {
  const FrameCase& c = GetParam();
  Box->SetUncheckedGlyph(TwoFrameGlyph().get());
  Box->SetUncheckedNumGlyphs(c.Frames);
  Box->SetEnabled(c.Enabled);
  EXPECT_EQ(Box->ShownFrame(), c.ShownFrame);
  Box->Repaint();
  // The 16-high glyph sits at the left, centred in the 17-high box.
  EXPECT_EQ(Pixel(8, 8), c.AtFrameCentre);
  // Its background is transparent.
  EXPECT_EQ(Pixel(1, 1), ColorToRGB(Box->GetColor()));
}

INSTANTIATE_TEST_SUITE_P(Looks, BitCheckBoxFrameTest, testing::ValuesIn(FrameCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Painting -------------------------------------------------------------------------------

struct LayoutCase {
  const char* Name;
  TAlignment Alignment;
  TRect Caption;
  int GlyphLeft;
};

std::ostream& operator<<(std::ostream& os, const LayoutCase& c) { return os << c.Name; }

// The caption "B&ox" is three characters of 6 pixels in an 11-pixel font; the glyph is
// the 19 by 14 module picture, centred vertically at top 1.
const LayoutCase LayoutCases[] = {
    {"CaptionRightOfGlyph", taRightJustify, Rect(23, 1, 41, 15), 0},
    {"CaptionLeftOfGlyph", taLeftJustify, Rect(1, 1, 19, 15), 97 - 19},
};

class BitCheckBoxLayoutTest : public BitCheckBoxTest, public testing::WithParamInterface<LayoutCase> {};

TEST_P(BitCheckBoxLayoutTest, CaptionAndGlyphSitWhereAlignmentPutsThem) {
  const LayoutCase& c = GetParam();
  Box->SetCaption("B&ox");
  Box->SetAlignment(c.Alignment);
  EXPECT_EQ(Box->CaptionRect(), c.Caption);
  Box->Repaint();
  TCanvas* canvas = Box->GetCanvas();
  // Three characters in the font colour, the "&" left out.
  EXPECT_EQ(MostInkRuns(canvas, c.Caption, clWindowText), 3);
  // The box's outer shadow starts one pixel into the glyph, whose top is at 1.
  EXPECT_EQ(Pixel(c.GlyphLeft + 1, 1), RGB(128, 128, 128));
  EXPECT_EQ(Pixel(c.GlyphLeft, 1), ColorToRGB(Box->GetColor()));
  // Nothing outside caption and glyph but the control's colour.
  EXPECT_EQ(Pixel(60, 8), ColorToRGB(Box->GetColor()));
}

INSTANTIATE_TEST_SUITE_P(Alignments, BitCheckBoxLayoutTest, testing::ValuesIn(LayoutCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(BitCheckBoxTest, CenterIsNoAlignment) {
  Box->SetAlignment(taLeftJustify);
  Box->SetAlignment(taCenter);
  EXPECT_EQ(Box->GetAlignment(), taLeftJustify);
}

struct DisabledCase {
  const char* Name;
  bool Ctl3D;
  int HighlightRuns;
};

std::ostream& operator<<(std::ostream& os, const DisabledCase& c) { return os << c.Name; }

const DisabledCase DisabledCases[] = {
    {"Raised3D", true, 3},
    {"Flat", false, 0},
};

class BitCheckBoxDisabledTest : public BitCheckBoxTest, public testing::WithParamInterface<DisabledCase> {};

TEST_P(BitCheckBoxDisabledTest, ADisabledCaptionIsGreyWithAHighlightUnderItIn3D) {
  Box->SetCaption("Box");
  Box->Ctl3D = GetParam().Ctl3D;
  Box->SetEnabled(false);
  Box->Repaint();
  TRect area = Box->CaptionRect();
  area.Right += 1;
  area.Bottom += 1;
  EXPECT_EQ(MostInkRuns(Box->GetCanvas(), area, clGrayText), 3);
  EXPECT_EQ(MostInkRuns(Box->GetCanvas(), area, clBtnHighlight), GetParam().HighlightRuns);
  EXPECT_EQ(MostInkRuns(Box->GetCanvas(), area, clWindowText), 0);
}

INSTANTIATE_TEST_SUITE_P(Looks, BitCheckBoxDisabledTest, testing::ValuesIn(DisabledCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(BitCheckBoxTest, TheFocusFrameSurroundsTheCaptionOnePixelOut) {
  Box->SetCaption("Box");
  const TRect caption = Box->CaptionRect();
  const TColor face = ColorToRGB(Box->GetColor());
  Box->Repaint();
  EXPECT_EQ(Pixel(caption.Left - 1, caption.Top - 1), face);
  Box->SetFocus();
  EXPECT_TRUE(Box->IsInvalidated());
  Box->Repaint();
  EXPECT_EQ(Pixel(caption.Left - 1, caption.Top - 1), face ^ 0xFFFFFF);
  EXPECT_EQ(Pixel(caption.Left - 2, caption.Top - 1), face);
  EXPECT_EQ(Pixel(caption.Right + 1, caption.Top - 1), face);
}

TEST_F(BitCheckBoxTest, ChangesThatAlterTheLookInvalidate) {
  const std::function<void()> changes[] = {
      [&] { Box->SetState(cbChecked); },      [&] { Box->SetEnabled(false); },
      [&] { Box->SetCaption("x"); },          [&] { Box->GetFont()->SetHeight(-20); },
      [&] { Box->SetAlignment(taLeftJustify); }, [&] { Box->SetCheckedNumGlyphs(2); },
  };
  for (const auto& change : changes) {
    Box->Repaint();
    ASSERT_FALSE(Box->IsInvalidated());
    change();
    EXPECT_TRUE(Box->IsInvalidated());
  }
}

}  // namespace
