#include "platform/vcl/Graphics.h"
#include "platform/win/TestPrefix.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

// ---- Size, pixel formats, transparency -------------------------------------------------

TEST(BitmapTest, ResizingKeepsPixelsAndFillsWithTheBrush) {
  TBitmap b;
  EXPECT_TRUE(b.GetEmpty());
  b.SetSize(2, 2);
  b.GetCanvas()->SetPixels(1, 1, clRed);
  b.GetCanvas()->GetBrush()->SetColor(clBlue);
  b.SetWidth(4);
  EXPECT_EQ(b.GetWidth(), 4);
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 1), clRed);
  EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clWhite);
  EXPECT_EQ(b.GetCanvas()->GetPixels(3, 1), clBlue);
  b.SetHeight(1);
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 1), -1);
  b.SetWidth(-3);
  EXPECT_TRUE(b.GetEmpty());
  EXPECT_THROW(b.SetSize(100000, 100000), EInvalidGraphicOperation);
}

TEST(BitmapTest, PixelFormatOneBitTakesTheNearerOfBlackAndWhite) {
  TBitmap b;
  b.SetSize(3, 1);
  b.GetCanvas()->SetPixels(0, 0, RGB(127, 128, 127));  // sum 382
  b.GetCanvas()->SetPixels(1, 0, RGB(127, 128, 128));  // sum 383
  b.GetCanvas()->SetPixels(2, 0, clRed);
  b.SetPixelFormat(pf1bit);
  EXPECT_TRUE(b.GetMonochrome());
  EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clBlack);
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 0), clWhite);
  EXPECT_EQ(b.GetCanvas()->GetPixels(2, 0), clBlack);
  b.GetCanvas()->SetPixels(2, 0, clYellow);  // drawing on it stays black and white
  EXPECT_EQ(b.GetCanvas()->GetPixels(2, 0), clWhite);
  b.SetPixelFormat(pf24bit);
  EXPECT_FALSE(b.GetMonochrome());
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 0), clWhite);
}

TEST(BitmapTest, MonochromeMarksTheBrushColourAndReturnsThroughFontAndBrush) {
  TBitmap b;
  b.SetSize(3, 1);
  b.GetCanvas()->SetPixels(0, 0, clBlack);
  b.GetCanvas()->SetPixels(1, 0, clOlive);
  b.GetCanvas()->SetPixels(2, 0, clWhite);
  b.GetCanvas()->GetBrush()->SetColor(clBlack);
  b.SetMonochrome(true);
  EXPECT_EQ(b.GetPixelFormat(), pf1bit);
  EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clWhite);  // set
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 0), clBlack);
  EXPECT_EQ(b.GetCanvas()->GetPixels(2, 0), clBlack);
  b.GetCanvas()->GetFont()->SetColor(clRed);
  b.GetCanvas()->GetBrush()->SetColor(clBlue);
  b.SetMonochrome(false);
  EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clBlue);
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 0), clRed);
}

TEST(BitmapTest, TransparentColourFollowsTheBottomLeftPixelUntilFixed) {
  TBitmap b;
  EXPECT_EQ(b.GetTransparentColor(), clDefault);
  b.SetSize(3, 3);
  b.GetCanvas()->SetPixels(0, 2, clFuchsia);
  EXPECT_EQ(b.GetTransparentMode(), tmAuto);
  EXPECT_EQ(b.GetTransparentColor(), clFuchsia);
  b.GetCanvas()->SetPixels(0, 2, clTeal);
  EXPECT_EQ(b.GetTransparentColor(), clTeal);
  b.SetTransparentColor(clBtnFace);
  EXPECT_EQ(b.GetTransparentMode(), tmFixed);
  EXPECT_EQ(b.GetTransparentColor(), RGB(212, 208, 200));
  b.SetTransparentMode(tmAuto);
  EXPECT_EQ(b.GetTransparentColor(), clTeal);
  b.SetTransparentMode(tmFixed);  // fixes the current colour
  b.GetCanvas()->SetPixels(0, 2, clRed);
  EXPECT_EQ(b.GetTransparentColor(), clTeal);
  TBitmap mono;
  mono.SetSize(1, 1);
  mono.SetMonochrome(true);
  EXPECT_EQ(mono.GetTransparentColor(), clWhite);
}

TEST(BitmapTest, DrawLeavesOutTheTransparentColourOnlyWhenTransparent) {
  TBitmap glyph;
  glyph.SetSize(2, 2);
  glyph.GetCanvas()->GetBrush()->SetColor(clOlive);
  glyph.GetCanvas()->FillRect(Rect(0, 0, 2, 2));
  glyph.GetCanvas()->SetPixels(1, 0, clRed);
  TBitmap dst;
  dst.SetSize(4, 4);
  dst.GetCanvas()->GetBrush()->SetColor(clBtnFace);
  dst.GetCanvas()->FillRect(Rect(0, 0, 4, 4));
  glyph.SetTransparent(true);
  dst.GetCanvas()->Draw(1, 1, &glyph);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(2, 1), clRed);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(1, 1), RGB(212, 208, 200));
  EXPECT_EQ(dst.GetCanvas()->GetPixels(2, 2), RGB(212, 208, 200));
  glyph.SetTransparent(false);
  dst.GetCanvas()->Draw(2, 2, &glyph);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(2, 2), clOlive);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(3, 2), clRed);
  // Drawing past the edge is clipped; stretching doubles each pixel.
  dst.GetCanvas()->StretchDraw(Rect(0, 0, 4, 4), &glyph);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(3, 1), clRed);
  EXPECT_EQ(dst.GetCanvas()->GetPixels(1, 1), clOlive);
}

TEST(BitmapTest, AssignCopiesPixelsAndSettings) {
  TBitmap a;
  a.SetSize(2, 1);
  a.GetCanvas()->SetPixels(1, 0, clRed);
  a.SetTransparent(true);
  a.SetTransparentColor(clRed);
  TBitmap b;
  b.Assign(&a);
  a.GetCanvas()->SetPixels(1, 0, clBlue);  // the copy is independent
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 0), clRed);
  EXPECT_TRUE(b.GetTransparent());
  EXPECT_EQ(b.GetTransparentMode(), tmFixed);
  b.Assign(nullptr);
  EXPECT_TRUE(b.GetEmpty());
  TFont f;
  EXPECT_THROW(b.Assign(&f), EConvertError);
}

// ---- Windows BMP ----------------------------------------------------------------------

// A 5 x 3 picture with distinct colours (odd width, so rows are padded).
void Paint(TBitmap& b) {
  b.SetSize(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) b.GetCanvas()->SetPixels(x, y, RGB(x * 50, y * 100, 7 + x + y));
}

void ExpectSamePixels(const TBitmap& a, const TBitmap& b) {
  ASSERT_EQ(a.GetWidth(), b.GetWidth());
  ASSERT_EQ(a.GetHeight(), b.GetHeight());
  EXPECT_EQ(a.Surface().Pixels, b.Surface().Pixels);
}

TEST(BmpTest, TwentyFourBitRoundTrip) {
  TBitmap a;
  Paint(a);
  const AnsiString bytes = a.SaveToBytes();
  ASSERT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(bytes.size(), 14u + 40u + 3u * 16u);  // rows of 15 bytes padded to 16
  TBitmap b;
  b.LoadFromBytes(bytes);
  ExpectSamePixels(a, b);
  EXPECT_EQ(b.GetPixelFormat(), pf24bit);
}

TEST(BmpTest, MonochromeRoundTripStaysOneBit) {
  TBitmap a;
  a.SetSize(9, 2);
  a.SetPixelFormat(pf1bit);
  a.GetCanvas()->SetPixels(0, 0, clBlack);
  a.GetCanvas()->SetPixels(8, 1, clBlack);
  const AnsiString bytes = a.SaveToBytes();
  EXPECT_EQ(bytes.size(), 14u + 40u + 8u + 2u * 4u);
  TBitmap b;
  b.LoadFromBytes(bytes);
  EXPECT_TRUE(b.GetMonochrome());
  ExpectSamePixels(a, b);
}

TEST(BmpTest, ThirtyTwoBitRoundTrip) {
  TBitmap a;
  Paint(a);
  a.SetPixelFormat(pf32bit);
  TBitmap b;
  b.LoadFromBytes(a.SaveToBytes());
  EXPECT_EQ(b.GetPixelFormat(), pf32bit);
  ExpectSamePixels(a, b);
}

// A hand-made 2 x 2 picture of the given bit count, top-down when asked.
AnsiString MakeBmp(int bits, bool topDown, const std::string& palette, const std::string& rows) {
  auto u32 = [](uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
  };
  auto u16 = [](uint16_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; };
  const uint32_t off = 14 + 40 + static_cast<uint32_t>(palette.size());
  std::string h = "BM" + u32(off + static_cast<uint32_t>(rows.size())) + u32(0) + u32(off);
  h += u32(40) + u32(2) + u32(topDown ? static_cast<uint32_t>(-2) : 2) + u16(1) + u16(static_cast<uint16_t>(bits));
  h += u32(0) + u32(static_cast<uint32_t>(rows.size())) + u32(0) + u32(0) +
       u32(static_cast<uint32_t>(palette.size() / 4)) + u32(0);
  return h + palette + rows;
}

TEST(BmpTest, ReadsPalettedAndTopDownPictures) {
  // 8 bits: palette red (index 0) and green (index 1); rows padded to 4 bytes.
  const std::string palette8 = std::string("\x00\x00\xFF\x00", 4) + std::string("\x00\xFF\x00\x00", 4);
  TBitmap b;
  b.LoadFromBytes(MakeBmp(8, false, palette8, std::string("\x00\x01\x00\x00\x01\x01\x00\x00", 8)));
  EXPECT_EQ(b.GetPixelFormat(), pf24bit);
  EXPECT_EQ(b.GetCanvas()->GetPixels(0, 1), clRed);  // bottom-up: first row is the last
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 1), clLime);
  EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clLime);
  // 32 bits top-down.
  const std::string rows32 = std::string("\xFF\x00\x00\x00\x00\x00\xFF\x00", 8) +
                             std::string("\x00\xFF\x00\x00\xFF\xFF\xFF\x00", 8);
  b.LoadFromBytes(MakeBmp(32, true, "", rows32));
  EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clBlue);
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 0), clRed);
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 1), clWhite);
  // 1 bit with an inverted palette is still black and white.
  const std::string paletteInv = std::string("\xFF\xFF\xFF\x00", 4) + std::string("\x00\x00\x00\x00", 4);
  b.LoadFromBytes(MakeBmp(1, true, paletteInv, std::string("\x80\x00\x00\x00\x40\x00\x00\x00", 8)));
  EXPECT_TRUE(b.GetMonochrome());
  EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clBlack);
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 0), clWhite);
  EXPECT_EQ(b.GetCanvas()->GetPixels(1, 1), clBlack);
}

struct TBadBmpCase {
  const char* Name;
  AnsiString Bytes;
  friend std::ostream& operator<<(std::ostream& os, const TBadBmpCase& c) { return os << c.Name; }
};

std::vector<TBadBmpCase> BadBmpCases() {
  TBitmap good;
  Paint(good);
  const AnsiString ok = good.SaveToBytes();
  std::vector<TBadBmpCase> cases;
  cases.push_back({"Empty", ""});
  cases.push_back({"NotBM", "XM" + ok.substr(2)});
  cases.push_back({"TruncatedPixels", ok.substr(0, ok.size() - 1)});
  cases.push_back({"TruncatedHeader", ok.substr(0, 30)});
  AnsiString rle = ok;
  rle[14 + 16] = 1;  // BI_RLE8
  cases.push_back({"Compressed", rle});
  AnsiString huge = ok;
  huge[14 + 4 + 3] = 0x7F;  // width 0x7F000005
  cases.push_back({"Huge", huge});
  AnsiString bits = ok;
  bits[14 + 14] = 7;
  cases.push_back({"OddBitCount", bits});
  AnsiString zero = ok;
  for (int i = 0; i < 4; ++i) zero[14 + 4 + i] = 0;
  cases.push_back({"ZeroWidth", zero});
  // An 8-bit picture whose pixel points past its two-entry palette.
  const std::string palette = std::string("\x00\x00\xFF\x00", 4) + std::string("\x00\xFF\x00\x00", 4);
  AnsiString index = MakeBmp(8, false, palette, std::string("\x05\x00\x00\x00\x00\x00\x00\x00", 8));
  index[14 + 32] = 2;  // two colours used
  cases.push_back({"IndexOutsidePalette", index});
  return cases;
}

class BadBmp : public ::testing::TestWithParam<TBadBmpCase> {};

TEST_P(BadBmp, IsRefusedAndLeavesTheBitmapAlone) {
  TBitmap b;
  b.SetSize(1, 1);
  b.GetCanvas()->SetPixels(0, 0, clRed);
  EXPECT_THROW(b.LoadFromBytes(GetParam().Bytes), EInvalidGraphic);
  EXPECT_EQ(b.GetWidth(), 1);
  EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clRed);
}

INSTANTIATE_TEST_SUITE_P(Bmp, BadBmp, ::testing::ValuesIn(BadBmpCases()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(BmpTest, FilesInThePrefix) {
  TTempPrefix prefix;
  TBitmap a;
  Paint(a);
  a.SaveToFile("C:\\pic.bmp");
  EXPECT_TRUE(prefix.Exists("drive_c/pic.bmp"));
  TBitmap b;
  b.LoadFromFile("c:\\PIC.BMP");
  ExpectSamePixels(a, b);
  EXPECT_THROW(b.LoadFromFile("C:\\missing.bmp"), EInOutError);
  ExpectSamePixels(a, b);
  TPicture p;
  p.LoadFromFile("C:\\pic.bmp");
  EXPECT_EQ(p.GetWidth(), 5);
}

}  // namespace
