// TBitCheckBox: a check box drawn from three glyph bitmaps (checked, unchecked, grayed),
// each holding an enabled frame and optionally a disabled one, with its own painting and
// keyboard handling.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/StdCtrls.h"

#include <memory>

class TBitCheckBox : public TCustomControl {
  TAVO_CLASS(TBitCheckBox, TCustomControl)
public:
  explicit TBitCheckBox(TComponent* AOwner);
  ~TBitCheckBox() override;

  // taLeftJustify puts the caption left of the glyph, taRightJustify right of it;
  // taCenter is not a place for either and is refused.
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool value) { FAllowGrayed = value; }
  // Setting State or Checked in code repaints but raises no event.
  TCheckBoxState GetState() const { return FState; }
  void SetState(TCheckBoxState value);
  bool GetChecked() const { return FState == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }

  // The glyph of each state. Setting copies the bitmap (nullptr restores the module's
  // picture); a bitmap whose width is a multiple of its height also sets the frame count.
  TBitmap* GetCheckedGlyph() const { return FGlyphs[cbChecked].get(); }
  void SetCheckedGlyph(TBitmap* value) { SetGlyph(cbChecked, value); }
  TBitmap* GetUncheckedGlyph() const { return FGlyphs[cbUnchecked].get(); }
  void SetUncheckedGlyph(TBitmap* value) { SetGlyph(cbUnchecked, value); }
  TBitmap* GetGrayedGlyph() const { return FGlyphs[cbGrayed].get(); }
  void SetGrayedGlyph(TBitmap* value) { SetGlyph(cbGrayed, value); }
  // Frames in each glyph, 1 or 2: the second frame is the disabled look.
  int GetCheckedNumGlyphs() const { return FNumGlyphs[cbChecked]; }
  void SetCheckedNumGlyphs(int value) { SetNumGlyphs(cbChecked, value); }
  int GetUncheckedNumGlyphs() const { return FNumGlyphs[cbUnchecked]; }
  void SetUncheckedNumGlyphs(int value) { SetNumGlyphs(cbUnchecked, value); }
  int GetGrayedNumGlyphs() const { return FNumGlyphs[cbGrayed]; }
  void SetGrayedNumGlyphs(int value) { SetNumGlyphs(cbGrayed, value); }

  TBitmap* GetGlyph(TCheckBoxState state) const { return FGlyphs[state].get(); }
  void SetGlyph(TCheckBoxState state, const TBitmap* value);
  int GetNumGlyphs(TCheckBoxState state) const { return FNumGlyphs[state]; }
  void SetNumGlyphs(TCheckBoxState state, int value);

  // Unchecked → grayed (when allowed) or checked; checked → unchecked; grayed → checked.
  virtual void Toggle();

  // Where the caption is drawn; the focus frame surrounds it, one pixel larger.
  TRect CaptionRect() const;
  // Which frame of the current glyph painting shows (0 the enabled, 1 the disabled).
  int ShownFrame() const;

  void CMDialogChar(TMessage& message);

protected:
  void Paint() override;
  // Toggle, then OnClick, then the focus: the order a mouse click and the space key take.
  void UserClick() override;
  bool FocusOnClick() const override { return false; }
  void DefaultChar(char key) override;
  void DoEnter() override;
  void DoExit() override;
  void TextChanged() override;
  void FontChanged() override;
  void EnabledChanged() override;

private:
  void GlyphChanged(TObject* sender);

  TAlignment FAlignment = taRightJustify;
  bool FAllowGrayed = false;
  TCheckBoxState FState = cbUnchecked;
  std::unique_ptr<TBitmap> FGlyphs[3];
  int FNumGlyphs[3] = {1, 1, 1};
};
