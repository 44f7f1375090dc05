// The flat speed button whose picture is fetched by number from the shared glyph library,
// so every form shows the same lookup, date, delete and clear pictures.
#pragma once

#include "platform/vcl/Buttons.h"
#include "platform/vcl/Graphics.h"

#include <vector>

// The glyph library as the buttons use it.
class TGlyphSource {
public:
  virtual ~TGlyphSource() = default;
  // The highest glyph number available.
  virtual int GetMaxBmpID() = 0;
  // Fills bitmap with glyph `number`; false when the library has no such picture. A broken
  // library or picture raises.
  virtual bool LoadBmp(TBitmap* bitmap, int number) = 0;
};

// The source the buttons use: the glyph library "Glyphbank.dll" imported by the module,
// unless another source was installed (nullptr returns to the library). The caller keeps
// ownership of an installed source.
TGlyphSource* GetGlyphSource();
void SetGlyphSource(TGlyphSource* source);

// A control that carries buttons of its own (an edit or a combo box with a lookup button,
// the selection panel) names them, so that the form it sits on can treat them as its own
// buttons (their disabled image, for one).
class IEmbeddedButtons {
public:
  virtual ~IEmbeddedButtons() = default;
  virtual std::vector<TSpeedButton*> EmbeddedButtons() const = 0;
};

class TGSpeedButton : public TSpeedButton {
  TAVO_CLASS(TGSpeedButton, TSpeedButton)
public:
  explicit TGSpeedButton(TComponent* AOwner);

  // 0 = no picture. The caption shows the number until a picture arrives.
  int GetGlyphIndex() const { return FGlyphIndex; }
  void SetGlyphIndex(int value);

  // Kept for the resources that store it.
  int HintIndex = 0;

private:
  int FGlyphIndex = 0;
};
