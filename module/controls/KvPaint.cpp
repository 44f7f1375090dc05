#include "module/controls/KvPaint.h"

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
