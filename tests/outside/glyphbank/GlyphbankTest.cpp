#include "outside/glyphbank/Glyphbank.h"

#include "platform/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> Picture(int id) {
  const int size = LoadBmp(id, nullptr, 0);
  if (size <= 0) return {};
  std::vector<unsigned char> bytes(static_cast<size_t>(size));
  EXPECT_EQ(LoadBmp(id, bytes.data(), size), size);
  return bytes;
}

// The pixels of one frame, row by row.
std::vector<TColor> Frame(const TBitmap& bitmap, int frame) {
  std::vector<TColor> pixels;
  const int size = bitmap.GetHeight();
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) pixels.push_back(bitmap.GetCanvas()->GetPixels(frame * size + x, y));
  return pixels;
}

TEST(Glyphbank, EveryNumberUpToTheMaximumIsAStripOfSquareFramesOnItsBackground) {
  const int max = GetMaxBmpID();
  ASSERT_GE(max, 81);
  for (int id = 1; id <= max; ++id) {
    SCOPED_TRACE(id);
    const auto bytes = Picture(id);
    TBitmap bitmap;
    ASSERT_NO_THROW(bitmap.LoadFromBuffer(bytes.data(), bytes.size()));
    ASSERT_EQ(bitmap.GetHeight(), 16);
    ASSERT_EQ(bitmap.GetWidth() % 16, 0);
    const int frames = bitmap.GetWidth() / 16;
    EXPECT_TRUE(frames == 1 || frames == 2);
    const TColor background = bitmap.GetTransparentColor();
    EXPECT_EQ(background, bitmap.GetCanvas()->GetPixels(0, 15));
    for (int f = 0; f < frames; ++f) {
      int drawn = 0;
      for (TColor c : Frame(bitmap, f)) drawn += c != background;
      EXPECT_GT(drawn, 20) << "frame " << f;
      EXPECT_LT(drawn, 256) << "frame " << f;
    }
  }
}

TEST(Glyphbank, TheNumbersTheFormsUseShowDifferentPictures) {
  const int used[] = {4, 8, 9, 28, 29, 30, 31, 39, 47, 63, 78, 81};
  std::set<std::vector<TColor>> seen;
  for (int id : used) {
    const auto bytes = Picture(id);
    TBitmap bitmap;
    bitmap.LoadFromBuffer(bytes.data(), bytes.size());
    EXPECT_TRUE(seen.insert(Frame(bitmap, 0)).second) << id;
  }
}

TEST(Glyphbank, TheClearGlyphCarriesItsOwnDisabledLook) {
  const auto bytes = Picture(4);
  TBitmap bitmap;
  bitmap.LoadFromBuffer(bytes.data(), bytes.size());
  ASSERT_EQ(bitmap.GetWidth(), 32);
  const auto up = Frame(bitmap, 0);
  const auto disabled = Frame(bitmap, 1);
  EXPECT_NE(up, disabled);
  // Greys only: the disabled look has no colour of its own.
  const TColor background = bitmap.GetTransparentColor();
  for (TColor c : disabled) {
    if (c == background) continue;
    EXPECT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c));
  }
}

TEST(Glyphbank, AnswersTheSizeAndWritesOnlyWhenItFits) {
  const int size = LoadBmp(8, nullptr, 0);
  ASSERT_EQ(size, 14 + 40 + 16 * 16 * 3);
  std::vector<unsigned char> buffer(static_cast<size_t>(size), 0xAB);
  EXPECT_EQ(LoadBmp(8, buffer.data(), size - 1), size);
  EXPECT_EQ(buffer, std::vector<unsigned char>(static_cast<size_t>(size), 0xAB));
  EXPECT_EQ(LoadBmp(8, buffer.data(), size), size);
  EXPECT_EQ(buffer[0], 'B');
  EXPECT_EQ(buffer[1], 'M');
  EXPECT_EQ(Picture(8), buffer);
}

struct TBadCall {
  const char* Name;
  int Id;
  bool WithBuffer;
  int Size;
  int Answer;
  friend std::ostream& operator<<(std::ostream& os, const TBadCall& c) { return os << c.Name; }
};

const TBadCall BadCalls[] = {
    {"Zero", 0, true, 4096, GLB_ERROR_UNKNOWN_ID},
    {"Negative", -8, true, 4096, GLB_ERROR_UNKNOWN_ID},
    {"BeyondTheMaximum", 10000, true, 4096, GLB_ERROR_UNKNOWN_ID},
    {"NegativeSize", 8, true, -1, GLB_ERROR_ARGUMENT},
    {"NullBufferWithASize", 8, false, 4096, GLB_ERROR_ARGUMENT},
};

class GlyphbankErrors : public testing::TestWithParam<TBadCall> {};

TEST_P(GlyphbankErrors, AnswerAnErrorAndLeaveTheBufferAlone) {
  std::vector<unsigned char> buffer(4096, 0xAB);
  const TBadCall& c = GetParam();
  EXPECT_EQ(LoadBmp(c.Id, c.WithBuffer ? buffer.data() : nullptr, c.Size), c.Answer);
  EXPECT_EQ(buffer, std::vector<unsigned char>(4096, 0xAB));
}

INSTANTIATE_TEST_SUITE_P(Calls, GlyphbankErrors, testing::ValuesIn(BadCalls),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
