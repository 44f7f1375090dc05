#include "platform/vcl/ImgList.h"

#include <algorithm>

TAVO_CLASS_IMPL(TCustomImageList, TComponent)

TAVO_PUBLISHED(TImageList, TCustomImageList) {
  P.Int("Height", &TImageList::GetHeight, &TImageList::SetHeight);
  P.Int("Width", &TImageList::GetWidth, &TImageList::SetWidth);
  P.Event("OnChange", &TCustomImageList::OnChange);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}
TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::Changed() { OnChange(this); }

void TCustomImageList::SetWidth(int value) {
  value = std::max(1, value);
  if (value == FWidth) return;
  FWidth = value;
  FImages.clear();
  Changed();
}

void TCustomImageList::SetHeight(int value) {
  value = std::max(1, value);
  if (value == FHeight) return;
  FHeight = value;
  FImages.clear();
  Changed();
}

int TCustomImageList::AddFrames(const TBitmap* image, const TBitmap* mask, bool byColour, TColor maskColor) {
  if (!image || image->GetEmpty()) throw EInvalidOperation("Unable to insert an image");
  const TPixelSurface& src = image->Surface();
  const TPixelSurface* maskSurface = mask && !mask->GetEmpty() ? &mask->Surface() : nullptr;
  uint32_t leaveOut = 0;
  if (byColour) {
    const TColor c = maskColor == clDefault ? image->GetTransparentColor() : ColorToRGB(maskColor);
    leaveOut = static_cast<uint32_t>(c) & 0xFFFFFF;
  }
  // A picture narrower than one frame still makes one image.
  const int frames = std::max(1, src.Width / FWidth);
  const int first = GetCount();
  for (int f = 0; f < frames; ++f) {
    TImage img;
    img.Picture = std::make_unique<TBitmap>();
    img.Picture->SetSize(FWidth, FHeight);
    img.LeftOut.assign(static_cast<size_t>(FWidth) * FHeight, true);
    TCanvas* c = img.Picture->GetCanvas();
    for (int y = 0; y < FHeight && y < src.Height; ++y)
      for (int x = 0; x < FWidth && f * FWidth + x < src.Width; ++x) {
        const uint32_t p = src.At(f * FWidth + x, y);
        c->SetPixels(x, y, static_cast<TColor>(p));
        bool out = false;
        if (byColour)
          out = p == leaveOut;
        else if (maskSurface)
          out = maskSurface->Inside(f * FWidth + x, y) && maskSurface->At(f * FWidth + x, y) == 0xFFFFFF;
        img.LeftOut[static_cast<size_t>(y) * FWidth + x] = out;
      }
    FImages.push_back(std::move(img));
  }
  Changed();
  return first;
}

int TCustomImageList::Add(const TBitmap* image, const TBitmap* mask) { return AddFrames(image, mask, false, clNone); }

int TCustomImageList::AddMasked(const TBitmap* image, TColor maskColor) {
  return AddFrames(image, nullptr, true, maskColor);
}

void TCustomImageList::Delete(int index) {
  if (index < 0 || index >= GetCount()) throw EInvalidOperation("Invalid ImageList Index");
  FImages.erase(FImages.begin() + index);
  Changed();
}

void TCustomImageList::Clear() {
  if (FImages.empty()) return;
  FImages.clear();
  Changed();
}

void TCustomImageList::GetBitmap(int index, TBitmap* image) const {
  if (!image) return;
  image->SetSize(FWidth, FHeight);
  Draw(image->GetCanvas(), 0, 0, index);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
  if (!canvas || index < 0 || index >= GetCount()) return;
  const TImage& img = FImages[index];
  const TPixelSurface& s = img.Picture->Surface();
  auto visible = [&](int px, int py) { return !img.LeftOut[static_cast<size_t>(py) * FWidth + px]; };
  if (enabled) {
    for (int py = 0; py < FHeight; ++py)
      for (int px = 0; px < FWidth; ++px)
        if (visible(px, py)) canvas->SetPixels(x + px, y + py, static_cast<TColor>(s.At(px, py)));
    return;
  }
  auto dark = [&](int px, int py) {
    const uint32_t p = s.At(px, py);
    return visible(px, py) && (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF) < 383;
  };
  for (const auto& [dx, colour] : {std::pair{1, clBtnHighlight}, std::pair{0, clBtnShadow}})
    for (int py = 0; py < FHeight; ++py)
      for (int px = 0; px < FWidth; ++px)
        if (dark(px, py)) canvas->SetPixels(x + px + dx, y + py + dx, colour);
}

static TClassRegistration ImageListClasses{TImageList::StaticClass()};
