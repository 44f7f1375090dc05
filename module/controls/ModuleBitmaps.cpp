#include "module/controls/ModuleBitmaps.h"

#include "platform/rtl/SysUtils.h"

#include <array>
#include <string>

namespace {

// Each picture is a 19 by 14 frame: a sunken 13 by 13 box at the left, the rest left
// to the background so the caption can follow it.
//   '.' background   'S' shadow (128,128,128)   'D' dark shadow (64,64,64)
//   'L' light (212,208,200)   'W' white   'K' black
using TPixelRows = std::array<const char*, 14>;

constexpr TPixelRows UncheckedRows = {
    ".SSSSSSSSSSSSW.....",
    ".SDDDDDDDDDDLW.....",
    ".SDWWWWWWWWWLW.....",
    ".SDWWWWWWWWWLW.....",
    ".SDWWWWWWWWWLW.....",
    ".SDWWWWWWWWWLW.....",
    ".SDWWWWWWWWWLW.....",
    ".SDWWWWWWWWWLW.....",
    ".SDWWWWWWWWWLW.....",
    ".SDWWWWWWWWWLW.....",
    ".SDWWWWWWWWWLW.....",
    ".SLLLLLLLLLLLW.....",
    ".WWWWWWWWWWWWW.....",
    "...................",
};

constexpr TPixelRows CheckedRows = {
    ".SSSSSSSSSSSSW.....",
    ".SDDDDDDDDDDLW.....",
    ".SDWWWWWWWWWLW.....",
    ".SDWWWWWWWKWLW.....",
    ".SDWWWWWWKKWLW.....",
    ".SDWKWWWKKKWLW.....",
    ".SDWKKWKKKWWLW.....",
    ".SDWKKKKKWWWLW.....",
    ".SDWWKKKWWWWLW.....",
    ".SDWWWKWWWWWLW.....",
    ".SDWWWWWWWWWLW.....",
    ".SLLLLLLLLLLLW.....",
    ".WWWWWWWWWWWWW.....",
    "...................",
};

// The undecided state: a grey mark on the button face.
constexpr TPixelRows GrayedRows = {
    ".SSSSSSSSSSSSW.....",
    ".SDDDDDDDDDDLW.....",
    ".SDLLLLLLLLLLW.....",
    ".SDLLLLLLLSLLW.....",
    ".SDLLLLLLSSLLW.....",
    ".SDLSLLLSSSLLW.....",
    ".SDLSSLSSSLLLW.....",
    ".SDLSSSSSLLLLW.....",
    ".SDLLSSSLLLLLW.....",
    ".SDLLLSLLLLLLW.....",
    ".SDLLLLLLLLLLW.....",
    ".SLLLLLLLLLLLW.....",
    ".WWWWWWWWWWWWW.....",
    "...................",
};

struct TModuleBitmap {
  const char* Name;
  const TPixelRows* Rows;
};

constexpr TModuleBitmap ModuleBitmaps[] = {
    {"CHECKED", &CheckedRows},
    {"UNCHECKED", &UncheckedRows},
    {"GRAYED", &GrayedRows},
};

TColor PixelColor(char code) {
  switch (code) {
    case 'S':
      return RGB(128, 128, 128);
    case 'D':
      return RGB(64, 64, 64);
    case 'L':
      return RGB(212, 208, 200);
    case 'W':
      return clWhite;
    case 'K':
      return clBlack;
    default:
      return ModuleBitmapBackground;
  }
}

}  // namespace

bool LoadModuleBitmap(TBitmap* bitmap, const AnsiString& name) {
  if (!bitmap) return false;
  for (const TModuleBitmap& entry : ModuleBitmaps) {
    if (UpperCase(name) != entry.Name) continue;
    const TPixelRows& rows = *entry.Rows;
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(std::char_traits<char>::length(rows[0]));
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(width, height);
    TCanvas* canvas = picture.GetCanvas();
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) canvas->SetPixels(x, y, PixelColor(rows[y][x]));
    bitmap->Assign(&picture);
    return true;
  }
  return false;
}
