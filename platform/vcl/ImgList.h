// Image lists: pictures of one size kept together and drawn by index, each with a mask
// of the pixels it leaves out.
#pragma once

#include "platform/vcl/Components.h"
#include "platform/vcl/Graphics.h"

#include <memory>
#include <vector>

class TCustomImageList : public TComponent {
  TAVO_CLASS(TCustomImageList, TComponent)
public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;

  // Changing the size clears the list, as the images no longer fit.
  int GetWidth() const { return FWidth; }
  void SetWidth(int value);
  int GetHeight() const { return FHeight; }
  void SetHeight(int value);
  int GetCount() const { return static_cast<int>(FImages.size()); }

  // Adds image, cut into frames of Width (a strip gives several images), and answers the
  // index of the first. The mask's white (1) pixels are left out when drawing; without a
  // mask every pixel is drawn. An empty image raises EInvalidOperation.
  int Add(const TBitmap* image, const TBitmap* mask);
  // As Add, leaving out the pixels of maskColor (clDefault: the image's bottom-left
  // pixel).
  int AddMasked(const TBitmap* image, TColor maskColor);
  void Delete(int index);  // EInvalidOperation for an index outside the list
  void Clear();
  // Sizes image to Width x Height and draws image index onto what it holds.
  void GetBitmap(int index, TBitmap* image) const;
  // Draws image index (nothing for an index outside the list). A disabled image is
  // drawn as an outline: its dark pixels in the button-highlight colour one pixel down
  // and right, then in the button-shadow colour in place.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;

  TNotifyEvent OnChange;

private:
  struct TImage {
    std::unique_ptr<TBitmap> Picture;
    std::vector<bool> LeftOut;
  };
  void Changed();
  int AddFrames(const TBitmap* image, const TBitmap* mask, bool byColour, TColor maskColor);

  int FWidth = 16;
  int FHeight = 16;
  std::vector<TImage> FImages;
};

class TImageList : public TCustomImageList {
  TAVO_CLASS(TImageList, TCustomImageList)
public:
  explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};
