// Buttons with pictures: the speed button and the bitmap button.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

#include <functional>
#include <memory>

TAVO_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
TAVO_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive)
TAVO_ENUM(TButtonStyle, bsAutoDetect, bsWin31, bsNew)
TAVO_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)

// The picture of a button: a strip of 1 to 4 square-or-not frames side by side, for the
// up, disabled, down and stay-down looks. A missing disabled frame is made from the up
// frame (its dark pixels etched in the button highlight and shadow colours); a missing
// down frame is the up frame, a missing stay-down frame the down frame.
class TButtonGlyph {
public:
  TButtonGlyph();
  ~TButtonGlyph();

  TBitmap* GetGlyph() const { return FGlyph.get(); }
  // Copies value; a strip whose width is 1 to 4 times its height also sets NumGlyphs.
  void SetGlyph(const TBitmap* value);
  int GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int value);  // limited to 1..4

  // The frame drawn for a state (0-based), -1 for the made-up disabled frame.
  int FrameFor(TButtonState state) const;
  // The frame's picture for a state, made up when needed; empty without a glyph.
  void GetFrame(TButtonState state, TBitmap* frame) const;

  // Lays out and draws picture and caption inside client as the VCL's buttons do:
  // Margin -1 centres the whole, Spacing -1 spreads the rest evenly. Answers the
  // caption's rectangle.
  TRect Draw(TCanvas* canvas, const TRect& client, const TPoint& offset, const AnsiString& caption,
             TButtonLayout layout, int margin, int spacing, TButtonState state, bool enabled) const;

  // Called when the picture changes.
  std::function<void()> OnChange;

private:
  void GlyphChanged(TObject* sender);
  std::unique_ptr<TBitmap> FGlyph;
  int FNumGlyphs = 1;
};

// ---- Speed button ---------------------------------------------------------------------

class TSpeedButton : public TGraphicControl {
  TAVO_CLASS(TSpeedButton, TGraphicControl)
public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  TBitmap* GetGlyph() const { return FGlyph.GetGlyph(); }
  void SetGlyph(TBitmap* value);
  int GetNumGlyphs() const { return FGlyph.GetNumGlyphs(); }
  void SetNumGlyphs(int value);

  // Down stays false outside a group (GroupIndex 0). A button going down raises the
  // others of its group on the same parent; the last one down stays down unless
  // AllowAllUp.
  bool GetDown() const { return FDown; }
  void SetDown(bool value);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);
  // Shared by the whole group: setting it on one button sets it on all.
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value);

  bool GetFlat() const { return FFlat; }
  void SetFlat(bool value);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  int GetMargin() const { return FMargin; }
  void SetMargin(int value);
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool value);

  // The look being shown.
  TButtonState GetState() const;

  // A click by the mouse turns a group button down (or up, when allowed) before OnClick;
  // a Click from code only runs OnClick, as in the VCL.
  void Click() override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void TextChanged() override;
  void EnabledChanged() override;

private:
  void UpdateExclusive();
  void GlyphChanged();

  TButtonGlyph FGlyph;
  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FFlat = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  bool FTransparent = true;
  bool FPressing = false;
};

// ---- Bitmap button --------------------------------------------------------------------

// A push button with a picture. Kind gives the standard buttons their caption, modal
// result and Default/Cancel role; once any of those (or the picture) is changed the
// button reads as bkCustom again. A bkClose button closes its form instead of running
// OnClick.
class TBitBtn : public TButton {
  TAVO_CLASS(TBitBtn, TButton)
public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;

  TBitmap* GetGlyph() const { return FGlyph.GetGlyph(); }
  void SetGlyph(TBitmap* value);
  int GetNumGlyphs() const { return FGlyph.GetNumGlyphs(); }
  void SetNumGlyphs(int value);
  TBitBtnKind GetKind() const;
  void SetKind(TBitBtnKind value);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  int GetMargin() const { return FMargin; }
  void SetMargin(int value);
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int value);
  TButtonStyle Style = bsAutoDetect;

  // The standard caption and modal result of a kind ("OK", mrOk …).
  static AnsiString KindCaption(TBitBtnKind kind);
  static TModalResult KindModalResult(TBitBtnKind kind);

  void Click() override;
  TCanvas* GetCanvas() const { return FCanvas.get(); }
  void Repaint() override;
  // The look being shown.
  TButtonState GetState() const;

protected:
  void TextChanged() override;
  void EnabledChanged() override;

private:
  void Paint();
  TButtonGlyph FGlyph;
  std::unique_ptr<TControlCanvas> FCanvas;
  mutable TBitBtnKind FKind = bkCustom;
  bool FModifiedGlyph = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
};
