#include "platform/vcl/ImgList.h"

#include <gtest/gtest.h>

namespace {

// A strip of three 2 x 2 frames: red, green (with a fuchsia corner) and blue.
void Strip(TBitmap& b) {
  b.SetSize(6, 2);
  const TColor colours[] = {clRed, clLime, clBlue};
  for (int f = 0; f < 3; ++f) {
    b.GetCanvas()->GetBrush()->SetColor(colours[f]);
    b.GetCanvas()->FillRect(Rect(2 * f, 0, 2 * f + 2, 2));
  }
  b.GetCanvas()->SetPixels(2, 1, clFuchsia);
}

class ImageListTest : public ::testing::Test {
protected:
  void SetUp() override {
    List.SetWidth(2);
    List.SetHeight(2);
    Strip(Source);
    Target.SetSize(4, 4);
  }
  TColor Px(int x, int y) { return Target.GetCanvas()->GetPixels(x, y); }
  TImageList List{nullptr};
  TBitmap Source;
  TBitmap Target;
};

TEST_F(ImageListTest, AStripBecomesOneImagePerFrame) {
  EXPECT_EQ(List.Add(&Source, nullptr), 0);
  EXPECT_EQ(List.GetCount(), 3);
  EXPECT_EQ(List.Add(&Source, nullptr), 3);
  EXPECT_EQ(List.GetCount(), 6);
  TBitmap frame;
  List.GetBitmap(2, &frame);
  EXPECT_EQ(frame.GetWidth(), 2);
  EXPECT_EQ(frame.GetCanvas()->GetPixels(1, 1), clBlue);
  List.Delete(0);
  List.GetBitmap(0, &frame);
  EXPECT_EQ(frame.GetCanvas()->GetPixels(0, 0), clLime);
  EXPECT_THROW(List.Delete(9), EInvalidOperation);
  List.Clear();
  EXPECT_EQ(List.GetCount(), 0);
  TBitmap empty;
  EXPECT_THROW(List.Add(&empty, nullptr), EInvalidOperation);
  EXPECT_EQ(List.GetCount(), 0);
}

TEST_F(ImageListTest, MaskColourAndMaskBitmapLeavePixelsOut) {
  List.AddMasked(&Source, clFuchsia);
  List.Draw(Target.GetCanvas(), 1, 1, 1);
  EXPECT_EQ(Px(1, 1), clLime);
  EXPECT_EQ(Px(1, 2), clWhite);  // the fuchsia corner
  TBitmap mask;
  mask.SetSize(6, 2);
  mask.SetPixelFormat(pf1bit);
  mask.GetCanvas()->SetPixels(0, 0, clBlack);  // only this pixel of frame 0 is drawn
  const int i = List.Add(&Source, &mask);
  Target.GetCanvas()->FillRect(Rect(0, 0, 4, 4));
  List.Draw(Target.GetCanvas(), 0, 0, i);
  EXPECT_EQ(Px(0, 0), clRed);
  EXPECT_EQ(Px(1, 0), clWhite);
  EXPECT_EQ(Px(1, 1), clWhite);
  List.Draw(Target.GetCanvas(), 0, 0, 99);  // nothing
  EXPECT_EQ(Px(0, 0), clRed);
}

TEST_F(ImageListTest, DisabledImagesAreOutlined) {
  TBitmap b;
  b.SetSize(2, 2);
  b.GetCanvas()->SetPixels(0, 0, clNavy);  // dark; the rest white
  List.Add(&b, nullptr);
  Target.GetCanvas()->GetBrush()->SetColor(clBtnFace);
  Target.GetCanvas()->FillRect(Rect(0, 0, 4, 4));
  List.Draw(Target.GetCanvas(), 0, 0, 0, false);
  EXPECT_EQ(Px(0, 0), RGB(128, 128, 128));
  EXPECT_EQ(Px(1, 1), clWhite);
  EXPECT_EQ(Px(1, 0), RGB(212, 208, 200));
}

TEST_F(ImageListTest, ResizingClearsAndAnnouncesIt) {
  List.Add(&Source, nullptr);
  List.SetWidth(3);
  EXPECT_EQ(List.GetCount(), 0);
  EXPECT_EQ(GetPropTextByPath(&List, "Width"), "3");
}

}  // namespace
