// A shown form to put lookup buttons and labels on, a scripted user-interface driver that
// records the message boxes, and a glyph source whose pictures and failures a test sets.
#pragma once

#include "module/controls/GSpdBtn.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/UIDriver.h"
#include "tests/platform/vcl/ShownFormFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Pictures of given sizes, each filled with one colour; a number may fail or raise.
class TFakeGlyphs : public TGlyphSource {
public:
  int MaxId = 100;
  std::map<int, std::pair<int, int>> Sizes;  // number -> width, height
  std::vector<int> Raising;
  int Loads = 0;

  int GetMaxBmpID() override { return MaxId; }
  bool LoadBmp(TBitmap* bitmap, int number) override {
    ++Loads;
    for (int n : Raising)
      if (n == number) throw std::runtime_error("broken picture");
    auto it = Sizes.find(number);
    if (it == Sizes.end()) return false;
    bitmap->SetSize(it->second.first, it->second.second);
    bitmap->GetCanvas()->GetBrush()->SetColor(RGB(number, 0, 0));
    bitmap->GetCanvas()->FillRect(Rect(0, 0, it->second.first, it->second.second));
    return true;
  }
};

class TGlyphSourceScope {
public:
  explicit TGlyphSourceScope(TGlyphSource* source) { SetGlyphSource(source); }
  ~TGlyphSourceScope() { SetGlyphSource(nullptr); }
  TGlyphSourceScope(const TGlyphSourceScope&) = delete;
  TGlyphSourceScope& operator=(const TGlyphSourceScope&) = delete;
};

class LookupTest : public ShownFormTest {
protected:
  // Named first, on the form unless a parent is given.
  template <class T>
  T* Add(const char* name, TWinControl* parent = nullptr) {
    return ShownFormTest::Add<T>(parent, name);
  }
  TEdit* AddEdit(const char* name, int left, int top, int width, int height) {
    auto* e = Add<TEdit>(name);
    e->SetBounds(left, top, width, height);
    return e;
  }
  std::vector<TUIEvent> Dialogs() const { return Driver.EventsOf(ueMessageDialog); }
};
