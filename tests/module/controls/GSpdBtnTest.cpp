#include "module/controls/GSpdBtn.h"

#include "LookupFixture.h"
#include "platform/vcl/TypInfo.h"

#include <ostream>

namespace {

// ---- Pictures from the glyph library ---------------------------------------------------

struct TLibraryGlyph {
  const char* Name;
  int Number;
  int Frames;
  friend std::ostream& operator<<(std::ostream& os, const TLibraryGlyph& g) {
    return os << g.Name << " (" << g.Number << ")";
  }
};

// The numbers the forms and the selection panel use.
const TLibraryGlyph LibraryGlyphs[] = {
    {"Clear", 4, 2},     {"Lookup", 8, 1},   {"Date", 9, 1},       {"First", 28, 1},
    {"Prior", 29, 1},    {"Next", 30, 1},    {"Last", 31, 1},      {"Notify", 39, 1},
    {"Delete", 47, 1},   {"Store", 63, 1},   {"Department", 78, 1}, {"Note", 81, 1},
};

class LibraryGlyphTest : public LookupTest, public testing::WithParamInterface<TLibraryGlyph> {};

TEST_P(LibraryGlyphTest, LoadsAPictureOfSquareFramesAndClearsTheCaption) {
  auto* button = Add<TGSpeedButton>("btn");
  button->SetGlyphIndex(GetParam().Number);

  const TBitmap* glyph = button->GetGlyph();
  ASSERT_EQ(glyph->GetHeight(), 16);
  EXPECT_EQ(glyph->GetWidth(), 16 * GetParam().Frames);
  EXPECT_EQ(button->GetNumGlyphs(), GetParam().Frames);
  EXPECT_EQ(button->GetCaption(), "");
  EXPECT_EQ(button->GetGlyphIndex(), GetParam().Number);
  // A picture, not an empty square: the first frame has pixels other than its background.
  const TColor background = glyph->GetTransparentColor();
  int drawn = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) drawn += glyph->GetCanvas()->GetPixels(x, y) != background;
  EXPECT_GT(drawn, 20);
  EXPECT_TRUE(Dialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(Glyphbank, LibraryGlyphTest, testing::ValuesIn(LibraryGlyphs),
                         [](const auto& info) { return std::string(info.param.Name); });

class GSpeedButtonTest : public LookupTest {};

TEST_F(GSpeedButtonTest, NumbersOutsideTheLibraryGiveNoPictureAndShowTheNumber) {
  auto* button = Add<TGSpeedButton>("btn");
  const int beyond = GetGlyphSource()->GetMaxBmpID() + 1;
  for (int number : {beyond, 0, -3}) {
    button->SetGlyphIndex(8);
    ASSERT_FALSE(button->GetGlyph()->GetEmpty());
    button->SetGlyphIndex(number);
    EXPECT_TRUE(button->GetGlyph()->GetEmpty()) << number;
    EXPECT_EQ(button->GetCaption(), IntToStr(number));
    EXPECT_EQ(button->GetGlyphIndex(), number);
  }
  EXPECT_TRUE(Dialogs().empty());
}

TEST_F(GSpeedButtonTest, StartsWithoutPictureAndIsSetByNameAsResourcesDo) {
  auto* button = Add<TGSpeedButton>("btn");
  EXPECT_EQ(button->GetGlyphIndex(), 0);
  EXPECT_TRUE(button->GetGlyph()->GetEmpty());
  SetOrdProp(button, "GlyphIndex", 9);
  SetOrdProp(button, "HintIndex", 12);
  EXPECT_EQ(button->GetGlyph()->GetWidth(), 16);
  EXPECT_EQ(button->HintIndex, 12);
  EXPECT_EQ(FindClass("TGSpeedButton"), TGSpeedButton::StaticClass());
}

// ---- Pictures from a source under the test's control -----------------------------------

class GlyphSourceTest : public LookupTest {
protected:
  GlyphSourceTest() : Source(&Glyphs) {}
  TFakeGlyphs Glyphs;
  TGlyphSourceScope Source;
};

struct TFrameCase {
  const char* Name;
  int Width;
  int Height;
  int Frames;
  friend std::ostream& operator<<(std::ostream& os, const TFrameCase& c) {
    return os << c.Width << "x" << c.Height;
  }
};

const TFrameCase FrameCases[] = {
    {"OneFrame", 16, 16, 1},
    {"TwoFrames", 32, 16, 2},
    {"FourFrames", 64, 16, 4},
    {"NarrowerThanHigh", 10, 16, 1},
    {"OddWidth", 40, 13, 3},
};

class GlyphFramesTest : public GlyphSourceTest, public testing::WithParamInterface<TFrameCase> {};

TEST_P(GlyphFramesTest, FrameCountIsWidthOverHeight) {
  Glyphs.Sizes[5] = {GetParam().Width, GetParam().Height};
  auto* button = Add<TGSpeedButton>("btn");
  button->SetGlyphIndex(5);
  EXPECT_EQ(button->GetNumGlyphs(), GetParam().Frames);
  EXPECT_EQ(button->GetGlyph()->GetWidth(), GetParam().Width);
  EXPECT_EQ(button->GetCaption(), "");
}

INSTANTIATE_TEST_SUITE_P(Sizes, GlyphFramesTest, testing::ValuesIn(FrameCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GlyphSourceTest, AMissingPictureKeepsThePreviousOneAndShowsTheNumber) {
  Glyphs.Sizes[5] = {16, 16};
  auto* button = Add<TGSpeedButton>("btn");
  button->SetGlyphIndex(5);
  button->SetGlyphIndex(6);
  EXPECT_EQ(button->GetCaption(), "6");
  EXPECT_EQ(button->GetGlyphIndex(), 6);
  ASSERT_EQ(button->GetGlyph()->GetWidth(), 16);
  EXPECT_EQ(button->GetGlyph()->GetCanvas()->GetPixels(3, 3), RGB(5, 0, 0));
  EXPECT_TRUE(Dialogs().empty());
}

TEST_F(GlyphSourceTest, ALibraryFailureShowsTheErrorBoxAndKeepsTheNumber) {
  Glyphs.Sizes[5] = {16, 16};
  Glyphs.Raising = {7};
  auto* button = Add<TGSpeedButton>("btn");
  button->SetGlyphIndex(5);
  button->SetGlyphIndex(7);

  const auto dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].Text, "读取 BMP 发生错误");
  EXPECT_EQ(dialogs[0].DialogType, mtError);
  ASSERT_EQ(dialogs[0].Buttons.size(), 1u);
  EXPECT_EQ(dialogs[0].Buttons[0], MsgDlgButtonCaption(mbOK));
  EXPECT_EQ(button->GetGlyphIndex(), 7);
  EXPECT_EQ(button->GetCaption(), "7");
  EXPECT_EQ(button->GetGlyph()->GetWidth(), 16);
  // Still usable: a good number loads again.
  button->SetGlyphIndex(5);
  EXPECT_EQ(button->GetCaption(), "");
}

TEST_F(GlyphSourceTest, SettingTheSameNumberAgainLoadsNothing) {
  Glyphs.Sizes[5] = {16, 16};
  auto* button = Add<TGSpeedButton>("btn");
  button->SetGlyphIndex(5);
  button->SetCaption("kept");
  button->SetGlyphIndex(5);
  EXPECT_EQ(Glyphs.Loads, 1);
  EXPECT_EQ(button->GetCaption(), "kept");
}

}  // namespace
