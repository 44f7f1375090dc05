#include "module/controls/KvPaint.h"

#include "platform/win/Windows.h"

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsCaptionAccel(unsigned charCode, const AnsiString& caption) {
  if (charCode == 0 || charCode > 0xFF) return false;
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(caption[i]))) {
      ++i;
      continue;
    }
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return UpperAscii(caption[i + 1]) == UpperAscii(static_cast<char>(charCode));
  }
  return false;
}

void DrawFocusFrame(TCanvas* canvas, const TRect& rect) {
  if (!canvas || rect.IsEmpty()) return;
  int step = 0;
  auto invert = [&](int x, int y) {
    if (step++ % 2 != 0) return;
    TColor c = canvas->GetPixels(x, y);
    if (c != -1) canvas->SetPixels(x, y, c ^ 0xFFFFFF);
  };
  const int right = rect.Right - 1, bottom = rect.Bottom - 1;
  for (int x = rect.Left; x <= right; ++x) invert(x, rect.Top);
  for (int y = rect.Top + 1; y <= bottom; ++y) invert(right, y);
  if (bottom > rect.Top)
    for (int x = right - 1; x >= rect.Left; --x) invert(x, bottom);
  if (right > rect.Left)
    for (int y = bottom - 1; y > rect.Top; --y) invert(rect.Left, y);
}
