// A shown form to put the input controls on, a scripted user-interface driver, an object
// whose handlers log what happened, and pixel helpers for painted controls.
#pragma once

#include "tests/platform/vcl/ShownFormFixture.h"

#include <algorithm>
#include <string>

class TEventLog : public TEventLogBase {
public:
  void Notify(TObject* sender) { Lines.push_back("click:" + NameOf(sender)); }
  void KeyDown(TObject* sender, Word& key, TShiftState) { Lines.push_back("down:" + std::to_string(key)); }
  void KeyPress(TObject* sender, char& key) { Lines.push_back(std::string("press:") + key); }
  void KeyUp(TObject* sender, Word& key, TShiftState) { Lines.push_back("up:" + std::to_string(key)); }
};

class InputsTest : public ShownFormTest {
protected:
  TEventLog Log;
};

// Counts the separate runs of `ink` along row y between x0 and x1 (exclusive): with the
// platform's font, one run per visible character.
inline int InkRuns(TCanvas* canvas, int y, int x0, int x1, TColor ink) {
  int runs = 0;
  bool inside = false;
  for (int x = x0; x < x1; ++x) {
    bool here = canvas->GetPixels(x, y) == ColorToRGB(ink);
    if (here && !inside) ++runs;
    inside = here;
  }
  return runs;
}

// The most runs of ink in any row of rect.
inline int MostInkRuns(TCanvas* canvas, const TRect& rect, TColor ink) {
  int most = 0;
  for (int y = rect.Top; y < rect.Bottom; ++y) most = std::max(most, InkRuns(canvas, y, rect.Left, rect.Right, ink));
  return most;
}
