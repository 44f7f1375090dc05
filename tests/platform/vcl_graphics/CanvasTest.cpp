#include "platform/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr TColor Face = RGB(212, 208, 200);

// A 12 x 8 white bitmap.
class CanvasTest : public ::testing::Test {
protected:
  void SetUp() override {
    Bmp.SetSize(12, 8);
    C = Bmp.GetCanvas();
  }
  TColor Px(int x, int y) const { return C->GetPixels(x, y); }
  // The rows of the bitmap as characters: '.' for white, '#' for the given colour, '?'
  // for anything else.
  std::vector<std::string> Picture(TColor ink) const {
    std::vector<std::string> rows;
    for (int y = 0; y < Bmp.GetHeight(); ++y) {
      std::string row;
      for (int x = 0; x < Bmp.GetWidth(); ++x)
        row += Px(x, y) == clWhite ? '.' : Px(x, y) == ink ? '#' : '?';
      rows.push_back(row);
    }
    return rows;
  }
  TBitmap Bmp;
  TCanvas* C = nullptr;
};

TEST_F(CanvasTest, NewBitmapIsWhiteAndPixelsOutsideAreInvalid) {
  EXPECT_EQ(Px(0, 0), clWhite);
  EXPECT_EQ(Px(11, 7), clWhite);
  EXPECT_EQ(Px(12, 0), -1);
  EXPECT_EQ(Px(0, -1), -1);
  C->SetPixels(-1, 3, clRed);  // ignored, no crash
  C->SetPixels(3, 2, clBtnFace);
  EXPECT_EQ(Px(3, 2), Face);  // stored as RGB
}

TEST_F(CanvasTest, FillRectCoversLeftTopButNotRightBottom) {
  C->GetBrush()->SetColor(clRed);
  C->FillRect(Rect(2, 1, 5, 3));
  const std::vector<std::string> expected = {
      "............", "..###.......", "..###.......", "............",
      "............", "............", "............", "............"};
  EXPECT_EQ(Picture(clRed), expected);
}

TEST_F(CanvasTest, FillRectIsClippedAndAClearBrushPaintsNothing) {
  C->GetBrush()->SetColor(clBlue);
  C->FillRect(Rect(-5, -5, 2, 100));
  EXPECT_EQ(Px(0, 0), clBlue);
  EXPECT_EQ(Px(1, 7), clBlue);
  EXPECT_EQ(Px(2, 0), clWhite);
  C->GetBrush()->SetColor(clRed);
  C->GetBrush()->SetStyle(bsClear);
  C->FillRect(Rect(0, 0, 12, 8));
  EXPECT_EQ(Px(5, 5), clWhite);
}

TEST_F(CanvasTest, FrameRectAndRectangle) {
  C->GetBrush()->SetColor(clRed);
  C->FrameRect(Rect(0, 0, 4, 3));
  C->GetPen()->SetColor(clBlue);
  C->GetBrush()->SetColor(clLime);
  C->Rectangle(5, 0, 9, 4);
  const std::vector<std::string> frame = Picture(clRed);
  EXPECT_EQ(frame[0].substr(0, 4), "####");
  EXPECT_EQ(frame[1].substr(0, 5), "#..#.");
  EXPECT_EQ(frame[2].substr(0, 4), "####");
  // Pen outline on the outer pixels, brush inside.
  EXPECT_EQ(Px(5, 0), clBlue);
  EXPECT_EQ(Px(8, 3), clBlue);
  EXPECT_EQ(Px(9, 3), clWhite);
  EXPECT_EQ(Px(6, 1), clLime);
  EXPECT_EQ(Px(7, 2), clLime);
}

TEST_F(CanvasTest, LinesLeaveOutTheirLastPoint) {
  C->GetPen()->SetColor(clRed);
  C->MoveTo(1, 1);
  C->LineTo(6, 1);
  EXPECT_EQ(Px(1, 1), clRed);
  EXPECT_EQ(Px(5, 1), clRed);
  EXPECT_EQ(Px(6, 1), clWhite);
  EXPECT_EQ(C->GetPenPos(), Point(6, 1));
  C->LineTo(6, 5);
  EXPECT_EQ(Px(6, 1), clRed);
  EXPECT_EQ(Px(6, 4), clRed);
  EXPECT_EQ(Px(6, 5), clWhite);
  C->MoveTo(0, 7);
  C->LineTo(3, 4);  // diagonal
  EXPECT_EQ(Px(0, 7), clRed);
  EXPECT_EQ(Px(2, 5), clRed);
  EXPECT_EQ(Px(3, 4), clWhite);
  C->GetPen()->SetMode(pmXor);
  C->GetPen()->SetColor(clWhite);
  C->MoveTo(1, 1);
  C->LineTo(3, 1);
  EXPECT_EQ(Px(1, 1), static_cast<TColor>(0xFFFF00));  // red xor white
}

// ---- Text ---------------------------------------------------------------------------

struct TTextCase {
  const char* Name;
  int Height;
  const char* Text;
  int Width;
  friend std::ostream& operator<<(std::ostream& os, const TTextCase& c) { return os << c.Name; }
};

const TTextCase TextCases[] = {
    {"AsciiEven", -12, "abc", 18},
    {"AsciiOddRoundsUp", -13, "abc", 21},
    {"Chinese", -12, "基本", 24},
    {"Mixed", -12, "A基b", 24},
    {"PositiveHeight", 16, "ab", 16},
    {"Empty", -12, "", 0},
    {"LoneLeadByteCountsAsOneByte", -12, "a\xB0", 12},
};

class TextMetrics : public ::testing::TestWithParam<TTextCase> {};

TEST_P(TextMetrics, FollowTheFontModel) {
  const TTextCase& c = GetParam();
  TBitmap bmp;
  bmp.GetCanvas()->GetFont()->SetHeight(c.Height);
  EXPECT_EQ(bmp.GetCanvas()->TextWidth(c.Text), c.Width);
  EXPECT_EQ(bmp.GetCanvas()->TextHeight(c.Text), std::abs(c.Height));
  EXPECT_EQ(bmp.GetCanvas()->TextExtent(c.Text), (TSize{c.Width, std::abs(c.Height)}));
}

INSTANTIATE_TEST_SUITE_P(Canvas, TextMetrics, ::testing::ValuesIn(TextCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CanvasTest, TextOutDrawsGlyphBoxesOverTheBrush) {
  C->GetFont()->SetHeight(-6);  // cells 3 wide, 6 high
  C->GetFont()->SetColor(clBlack);
  C->GetBrush()->SetColor(clYellow);
  C->TextOut(1, 1, "a b");
  // Cell of "a": x 1..3, y 1..6; its box x 2..2, y 2..5.
  EXPECT_EQ(Px(1, 1), clYellow);
  EXPECT_EQ(Px(2, 2), clBlack);
  EXPECT_EQ(Px(2, 5), clBlack);
  EXPECT_EQ(Px(2, 6), clYellow);
  EXPECT_EQ(Px(3, 3), clYellow);
  // The blank has a cell but no box.
  EXPECT_EQ(Px(5, 3), clYellow);
  EXPECT_EQ(Px(8, 3), clBlack);
  EXPECT_EQ(Px(10, 3), clWhite);
  EXPECT_EQ(C->GetPenPos(), Point(10, 1));
}

TEST_F(CanvasTest, TextWithAClearBrushKeepsTheBackground) {
  C->GetFont()->SetHeight(-6);
  C->GetFont()->SetColor(clRed);
  C->GetBrush()->SetStyle(bsClear);
  C->TextOut(0, 0, "x");
  EXPECT_EQ(Px(0, 0), clWhite);
  EXPECT_EQ(Px(1, 1), clRed);
}

TEST_F(CanvasTest, TextRectFillsTheRectangleAndClips) {
  C->GetFont()->SetHeight(-6);
  C->GetFont()->SetColor(clBlack);
  C->GetBrush()->SetColor(clAqua);
  C->TextRect(Rect(0, 0, 5, 4), 1, 1, "abcdef");
  EXPECT_EQ(Px(0, 0), clAqua);
  EXPECT_EQ(Px(2, 2), clBlack);
  EXPECT_EQ(Px(2, 3), clBlack);
  EXPECT_EQ(Px(2, 4), clWhite);  // below the rectangle
  EXPECT_EQ(Px(5, 2), clWhite);  // right of it
  EXPECT_EQ(Px(4, 2), clAqua);   // the gap between two boxes
}

TEST_F(CanvasTest, DrawTextCentresASingleLine) {
  C->GetFont()->SetHeight(-6);  // cells 3 wide, 6 high
  C->GetFont()->SetColor(clBlack);
  C->GetBrush()->SetStyle(bsClear);
  TRect r = Rect(0, 0, 12, 8);
  DrawText(C, "&ab", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  // "ab" (the "&" marks an accelerator) is 6 wide: cells at x 3 and 6, y 1..6; boxes at
  // x 4 and 7, y 2..5.
  EXPECT_EQ(Px(4, 2), clBlack);
  EXPECT_EQ(Px(7, 5), clBlack);
  EXPECT_EQ(Px(4, 1), clWhite);
  EXPECT_EQ(Px(7, 6), clWhite);
  EXPECT_EQ(Px(3, 3), clWhite);
  EXPECT_EQ(Px(2, 3), clWhite);
  TRect calc = Rect(0, 0, 0, 0);
  EXPECT_EQ(DrawText(C, "&&ab", calc, DT_CALCRECT | DT_SINGLELINE), 6);
  EXPECT_EQ(calc, Rect(0, 0, 9, 6));  // "&ab"
  TRect two = Rect(0, 0, 100, 0);
  EXPECT_EQ(DrawText(C, "ab\r\ncd", two, DT_CALCRECT), 12);
}

// ---- Block transfers ------------------------------------------------------------------

struct TRopCase {
  const char* Name;
  DWORD Rop;
  TColor Source, Dest, Brush, Expected;
  friend std::ostream& operator<<(std::ostream& os, const TRopCase& c) { return os << c.Name; }
};

const TRopCase RopCases[] = {
    {"SrcCopy", SRCCOPY, 0x123456, 0xABCDEF, clRed, 0x123456},
    {"SrcAnd", SRCAND, 0x0F0FF0, 0x00FFFF, clRed, 0x000FF0},
    {"SrcPaint", SRCPAINT, 0x0F0000, 0x0000F0, clRed, 0x0F00F0},
    {"SrcInvert", SRCINVERT, 0xFF00FF, 0x0F0F0F, clRed, 0xF00FF0},
    {"NotSrcCopy", NOTSRCCOPY, 0x00FF00, 0x123456, clRed, 0xFF00FF},
    {"PatCopy", PATCOPY, 0x00FF00, 0x123456, clBlue, 0xFF0000},
    {"DstInvert", DSTINVERT, 0x00FF00, 0x0000FF, clBlue, 0xFFFF00},
    {"DSPDxaxWhiteSourceTakesBrush", ROP_DSPDxax, 0xFFFFFF, 0x123456, clBlue, 0xFF0000},
    {"DSPDxaxBlackSourceKeepsDest", ROP_DSPDxax, 0x000000, 0x123456, clBlue, 0x123456},
    {"Blackness", BLACKNESS, 0x123456, 0x123456, clBlue, 0x000000},
};

class RasterOps : public ::testing::TestWithParam<TRopCase> {};

TEST_P(RasterOps, CombineSourceDestinationAndBrush) {
  const TRopCase& c = GetParam();
  TBitmap src, dst;
  src.SetSize(2, 2);
  dst.SetSize(3, 3);
  src.GetCanvas()->GetBrush()->SetColor(c.Source);
  src.GetCanvas()->FillRect(Rect(0, 0, 2, 2));
  dst.GetCanvas()->GetBrush()->SetColor(c.Dest);
  dst.GetCanvas()->FillRect(Rect(0, 0, 3, 3));
  dst.GetCanvas()->GetBrush()->SetColor(c.Brush);
  ASSERT_TRUE(BitBlt(dst.GetCanvas(), 1, 1, 2, 2, src.GetCanvas(), 0, 0, c.Rop));
  EXPECT_EQ(dst.GetCanvas()->GetPixels(1, 1), c.Expected);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(2, 2), c.Expected);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(0, 0), c.Dest);  // outside the block
}

INSTANTIATE_TEST_SUITE_P(Canvas, RasterOps, ::testing::ValuesIn(RopCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// A monochrome 4 x 1 source: bits 0 1 0 1.
TBitmap* MonoStripe(TBitmap& bmp) {
  bmp.SetSize(4, 1);
  bmp.SetPixelFormat(pf1bit);
  bmp.GetCanvas()->SetPixels(0, 0, clBlack);
  bmp.GetCanvas()->SetPixels(1, 0, clWhite);
  bmp.GetCanvas()->SetPixels(2, 0, clBlack);
  bmp.GetCanvas()->SetPixels(3, 0, clWhite);
  return &bmp;
}

TEST(MonochromeBlitTest, ZeroBitsTakeTextColourOneBitsBackground) {
  TBitmap mono, dst;
  MonoStripe(mono);
  dst.SetSize(4, 1);
  SetTextColor(dst.GetCanvas(), clRed);
  SetBkColor(dst.GetCanvas(), clBlue);
  BitBlt(dst.GetCanvas(), 0, 0, 4, 1, mono.GetCanvas(), 0, 0, SRCCOPY);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(0, 0), clRed);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(1, 0), clBlue);
}

TEST(MonochromeBlitTest, DSPDxaxPaintsTheBrushWhereTheSourceIsSet) {
  TBitmap mono, dst;
  MonoStripe(mono);
  dst.SetSize(4, 1);
  TCanvas* c = dst.GetCanvas();
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, 4, 1));
  c->GetBrush()->SetColor(clBtnShadow);
  SetTextColor(c, clBlack);
  SetBkColor(c, clWhite);
  BitBlt(c, 0, 0, 4, 1, mono.GetCanvas(), 0, 0, ROP_DSPDxax);
  EXPECT_EQ(c->GetPixels(0, 0), Face);
  EXPECT_EQ(c->GetPixels(1, 0), RGB(128, 128, 128));
  EXPECT_EQ(c->GetPixels(2, 0), Face);
  EXPECT_EQ(c->GetPixels(3, 0), RGB(128, 128, 128));
}

TEST(MonochromeBlitTest, BrushChangeRealisesTheBackgroundAgain) {
  TBitmap dst;
  dst.SetSize(1, 1);
  TCanvas* c = dst.GetCanvas();
  SetBkColor(c, clWhite);
  c->GetBrush()->SetColor(clRed);
  c->RequiredState();
  EXPECT_EQ(c->GetBkColor(), clRed);
  c->GetFont()->SetColor(clGreen);
  EXPECT_EQ(SetTextColor(c, clBlack), clGreen);  // the old colour, after realising
}

TEST(MonochromeBlitTest, ColourSourceOntoMonochromeUsesTheSourceBackground) {
  TBitmap src, mono;
  src.SetSize(3, 1);
  src.GetCanvas()->SetPixels(0, 0, clRed);
  src.GetCanvas()->SetPixels(1, 0, clBlack);
  src.GetCanvas()->SetPixels(2, 0, clWhite);
  mono.SetSize(3, 1);
  mono.SetMonochrome(true);
  SetBkColor(src.GetCanvas(), clRed);
  BitBlt(mono.GetCanvas(), 0, 0, 3, 1, src.GetCanvas(), 0, 0, SRCCOPY);
  EXPECT_EQ(mono.GetCanvas()->GetPixels(0, 0), clWhite);
  EXPECT_EQ(mono.GetCanvas()->GetPixels(1, 0), clBlack);
  EXPECT_EQ(mono.GetCanvas()->GetPixels(2, 0), clBlack);
}

// The disabled look of a one-image button: dark pixels and light edge pixels of the
// glyph become a mask, drawn in the highlight colour one pixel down-right and in the
// shadow colour in place, over the button face.
TEST(MonochromeBlitTest, DisabledGlyphComesOutPixelByPixel) {
  const TColor T = clOlive;
  // 5 x 5, transparent all round; inside: a dark pixel (sum 383), a light one touching T
  // (sum 384) and light ones away from T.
  TBitmap glyph;
  glyph.SetSize(5, 5);
  TCanvas* g = glyph.GetCanvas();
  g->GetBrush()->SetColor(T);
  g->FillRect(Rect(0, 0, 5, 5));
  g->GetBrush()->SetColor(RGB(128, 128, 128));
  g->FillRect(Rect(1, 1, 4, 4));
  g->SetPixels(1, 1, RGB(127, 128, 128));
  ASSERT_EQ(glyph.GetTransparentColor(), T);

  TBitmap mask;
  mask.SetSize(5, 5);
  mask.GetCanvas()->GetBrush()->SetColor(T);
  mask.GetCanvas()->FillRect(Rect(0, 0, 5, 5));
  auto at = [&](int x, int y) {
    x = std::clamp(x, 0, 4);
    y = std::clamp(y, 0, 4);
    return g->GetPixels(x, y);
  };
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) {
      const TColor c = g->GetPixels(x, y);
      if (c == T) continue;
      const int sum = GetRValue(c) + GetGValue(c) + GetBValue(c);
      if (sum < 384 || at(x - 1, y) == T || at(x + 1, y) == T || at(x, y - 1) == T || at(x, y + 1) == T)
        mask.GetCanvas()->SetPixels(x, y, clBlack);
    }
  mask.GetCanvas()->GetBrush()->SetColor(clBlack);
  mask.SetMonochrome(true);

  TBitmap disabled;
  disabled.SetSize(5, 5);
  TCanvas* d = disabled.GetCanvas();
  d->GetBrush()->SetColor(clBtnFace);
  d->FillRect(Rect(0, 0, 5, 5));
  d->GetBrush()->SetColor(clBtnHighlight);
  SetTextColor(d, clBlack);
  SetBkColor(d, clWhite);
  BitBlt(d, 1, 1, 5, 5, mask.GetCanvas(), 0, 0, ROP_DSPDxax);
  d->GetBrush()->SetColor(clBtnShadow);
  SetTextColor(d, clBlack);
  SetBkColor(d, clWhite);
  BitBlt(d, 0, 0, 5, 5, mask.GetCanvas(), 0, 0, ROP_DSPDxax);

  // Mask: the ring of the 3 x 3 block (all touch T), the centre (sum 384, inside) not.
  const char* expected[] = {
      "FFFFF",
      "FSSSF",
      "FSHSH",
      "FSSSH",
      "FFHHH",
  };
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) {
      const TColor want = expected[y][x] == 'S' ? RGB(128, 128, 128) : expected[y][x] == 'H' ? clWhite : Face;
      EXPECT_EQ(d->GetPixels(x, y), want) << x << "," << y;
    }
}

TEST(CopyRectTest, StretchesAndHonoursCopyMode) {
  TBitmap src, dst;
  src.SetSize(2, 1);
  src.GetCanvas()->SetPixels(0, 0, clRed);
  src.GetCanvas()->SetPixels(1, 0, clBlue);
  dst.SetSize(4, 2);
  dst.GetCanvas()->CopyRect(Rect(0, 0, 4, 2), src.GetCanvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(dst.GetCanvas()->GetPixels(1, 1), clRed);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(2, 0), clBlue);
  dst.GetCanvas()->CopyMode = cmSrcInvert;
  dst.GetCanvas()->CopyRect(Rect(0, 0, 4, 2), src.GetCanvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(dst.GetCanvas()->GetPixels(0, 0), clBlack);
  // Copying a canvas onto itself reads the pixels as they were.
  dst.GetCanvas()->CopyMode = cmSrcCopy;
  dst.GetCanvas()->SetPixels(0, 0, clLime);
  dst.GetCanvas()->CopyRect(Rect(1, 0, 4, 1), dst.GetCanvas(), Rect(0, 0, 3, 1));
  EXPECT_EQ(dst.GetCanvas()->GetPixels(1, 0), clLime);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(2, 0), clBlack);
}

TEST(CopyRectTest, BrushCopyReplacesOneColourByTheBrush) {
  TBitmap src, dst;
  src.SetSize(2, 1);
  src.GetCanvas()->SetPixels(0, 0, clRed);
  src.GetCanvas()->SetPixels(1, 0, clFuchsia);
  dst.SetSize(2, 1);
  dst.GetCanvas()->GetBrush()->SetColor(clBtnFace);
  dst.GetCanvas()->BrushCopy(Rect(0, 0, 2, 1), &src, Rect(0, 0, 2, 1), clFuchsia);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(0, 0), clRed);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(1, 0), Face);
}

}  // namespace
