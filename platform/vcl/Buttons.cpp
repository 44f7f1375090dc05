#include "platform/vcl/Buttons.h"

#include "platform/vcl/Forms.h"

#include <algorithm>

namespace {

// A raised (top-left light) or sunken edge one pixel wide just inside rect.
void Edge(TCanvas* c, const TRect& r, TColor topLeft, TColor bottomRight) {
  if (r.IsEmpty()) return;
  TBrush* b = c->GetBrush();
  b->SetColor(topLeft);
  c->FillRect(TRect{r.Left, r.Top, r.Right - 1, r.Top + 1});
  c->FillRect(TRect{r.Left, r.Top, r.Left + 1, r.Bottom - 1});
  b->SetColor(bottomRight);
  c->FillRect(TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom});
  c->FillRect(TRect{r.Right - 1, r.Top, r.Right, r.Bottom});
}

}  // namespace

// ---- Glyph ----------------------------------------------------------------------------

TButtonGlyph::TButtonGlyph() : FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->OnChange = TNotifyEvent(this, &TButtonGlyph::GlyphChanged);
}

TButtonGlyph::~TButtonGlyph() = default;

void TButtonGlyph::GlyphChanged(TObject*) {
  if (OnChange) OnChange();
}

void TButtonGlyph::SetGlyph(const TBitmap* value) {
  FGlyph->Assign(value);
  if (value && value->GetHeight() > 0 && value->GetWidth() % value->GetHeight() == 0) {
    const int frames = value->GetWidth() / value->GetHeight();
    SetNumGlyphs(frames > 4 ? 1 : frames);
  }
}

void TButtonGlyph::SetNumGlyphs(int value) {
  value = std::clamp(value, 1, 4);
  if (value == FNumGlyphs) return;
  FNumGlyphs = value;
  if (OnChange) OnChange();
}

int TButtonGlyph::FrameFor(TButtonState state) const {
  switch (state) {
    case bsUp: return 0;
    case bsDisabled: return FNumGlyphs >= 2 ? 1 : -1;
    case bsDown: return FNumGlyphs >= 3 ? 2 : 0;
    case bsExclusive: return FNumGlyphs >= 4 ? 3 : FNumGlyphs >= 3 ? 2 : 0;
  }
  return 0;
}

void TButtonGlyph::GetFrame(TButtonState state, TBitmap* frame) const {
  if (FGlyph->GetEmpty()) {
    frame->Assign(nullptr);
    return;
  }
  const int w = FGlyph->GetWidth() / FNumGlyphs;
  const int h = FGlyph->GetHeight();
  const TColor t = FGlyph->GetTransparentColor();
  frame->Assign(nullptr);
  frame->SetSize(w, h);
  const int index = FrameFor(state);
  TCanvas* c = frame->GetCanvas();
  if (index >= 0) {
    c->CopyRect(Rect(0, 0, w, h), FGlyph->GetCanvas(), Bounds(index * w, 0, w, h));
  } else {
    // Etched from the up frame: its dark pixels, light one pixel down-right, shadow in place.
    c->GetBrush()->SetColor(t);
    c->FillRect(Rect(0, 0, w, h));
    const TColor highlight = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
    for (const auto& [d, colour] : {std::pair{1, highlight}, std::pair{0, shadow}})
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const TColor p = FGlyph->GetCanvas()->GetPixels(x, y);
          if (p != t && GetRValue(p) + GetGValue(p) + GetBValue(p) < 383) c->SetPixels(x + d, y + d, colour);
        }
  }
  frame->SetTransparentColor(t);
  frame->SetTransparent(true);
}

TRect TButtonGlyph::Draw(TCanvas* canvas, const TRect& client, const TPoint& offset, const AnsiString& caption,
                         TButtonLayout layout, int margin, int spacing, TButtonState state, bool enabled) const {
  TBitmap frame;
  GetFrame(state, &frame);
  const TSize glyph{frame.GetWidth(), frame.GetHeight()};
  TRect textRect = Rect(0, 0, client.Width(), 0);
  if (!caption.empty()) DrawText(canvas, caption, textRect, DT_CALCRECT | DT_SINGLELINE);
  const TSize text{caption.empty() ? 0 : textRect.Width(), caption.empty() ? 0 : textRect.Height()};
  const TSize size{client.Width(), client.Height()};
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;

  TPoint glyphPos, textPos;
  if (horizontal) {
    glyphPos.Y = (size.cy - glyph.cy + 1) / 2;
    textPos.Y = (size.cy - text.cy + 1) / 2;
  } else {
    glyphPos.X = (size.cx - glyph.cx + 1) / 2;
    textPos.X = (size.cx - text.cx + 1) / 2;
  }
  if (text.cx == 0 || glyph.cx == 0) spacing = 0;
  const int along = horizontal ? size.cx : size.cy;
  const int glyphAlong = horizontal ? glyph.cx : glyph.cy;
  const int textAlong = horizontal ? text.cx : text.cy;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (along - glyphAlong - textAlong) / 3;
      spacing = margin;
    } else {
      margin = (along - glyphAlong - spacing - textAlong + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = (along - margin - glyphAlong - textAlong) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      glyphPos.X = margin;
      textPos.X = glyphPos.X + glyph.cx + spacing;
      break;
    case blGlyphRight:
      glyphPos.X = size.cx - margin - glyph.cx;
      textPos.X = glyphPos.X - spacing - text.cx;
      break;
    case blGlyphTop:
      glyphPos.Y = margin;
      textPos.Y = glyphPos.Y + glyph.cy + spacing;
      break;
    case blGlyphBottom:
      glyphPos.Y = size.cy - margin - glyph.cy;
      textPos.Y = glyphPos.Y - spacing - text.cy;
      break;
  }
  const int dx = client.Left + offset.X, dy = client.Top + offset.Y;
  if (!frame.GetEmpty()) canvas->Draw(glyphPos.X + dx, glyphPos.Y + dy, &frame);
  TRect bounds = Bounds(textPos.X + dx, textPos.Y + dy, text.cx, text.cy);
  if (!caption.empty()) {
    canvas->GetBrush()->SetStyle(bsClear);
    const TColor fontColour = canvas->GetFont()->GetColor();
    if (!enabled) {
      TRect lit = bounds;
      OffsetRect(lit, 1, 1);
      canvas->GetFont()->SetColor(clBtnHighlight);
      DrawText(canvas, caption, lit, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      canvas->GetFont()->SetColor(clBtnShadow);
    }
    TRect r = bounds;
    DrawText(canvas, caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    canvas->GetFont()->SetColor(fontColour);
  }
  return bounds;
}

// ---- Speed button ---------------------------------------------------------------------

TAVO_PUBLISHED(TSpeedButton, TGraphicControl) {
  P.Bool("AllowAllUp", &TSpeedButton::GetAllowAllUp, &TSpeedButton::SetAllowAllUp);
  P.Publish({"Anchors", "BiDiMode"});
  P.Int("GroupIndex", &TSpeedButton::GetGroupIndex, &TSpeedButton::SetGroupIndex);
  P.Bool("Down", &TSpeedButton::GetDown, &TSpeedButton::SetDown);
  P.Publish({"Caption", "Enabled"});
  P.Bool("Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat);
  P.Publish({"Font"});
  P.Obj("Glyph", &TSpeedButton::GetGlyph, &TSpeedButton::SetGlyph);
  P.Enum("Layout", &TSpeedButton::GetLayout, &TSpeedButton::SetLayout);
  P.Int("Margin", &TSpeedButton::GetMargin, &TSpeedButton::SetMargin);
  P.Int("NumGlyphs", &TSpeedButton::GetNumGlyphs, &TSpeedButton::SetNumGlyphs);
  P.Publish({"ParentFont", "ParentShowHint", "ParentBiDiMode", "PopupMenu", "ShowHint"});
  P.Int("Spacing", &TSpeedButton::GetSpacing, &TSpeedButton::SetSpacing);
  P.Bool("Transparent", &TSpeedButton::GetTransparent, &TSpeedButton::SetTransparent);
  P.Publish({"Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 23, 22);
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
  SetColor(clBtnFace);
  SetParentColor(false);
  FGlyph.OnChange = [this] { GlyphChanged(); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::GlyphChanged() { Invalidate(); }

void TSpeedButton::SetGlyph(TBitmap* value) { FGlyph.SetGlyph(value); }
void TSpeedButton::SetNumGlyphs(int value) { FGlyph.SetNumGlyphs(value); }

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !FParent) return;
  for (TControl* c : FParent->Controls()) {
    auto* other = dynamic_cast<TSpeedButton*>(c);
    if (!other || other == this || other->FGroupIndex != FGroupIndex) continue;
    if (FDown && other->FDown) {
      other->FDown = false;
      other->Invalidate();
    }
    other->FAllowAllUp = FAllowAllUp;
  }
}

void TSpeedButton::SetDown(bool value) {
  if (FGroupIndex == 0) value = false;
  if (value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = value;
  Invalidate();
  if (value) UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  if (value == 0) FDown = false;
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value) {
  if (value == FAllowAllUp) return;
  FAllowAllUp = value;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool value) {
  if (value == FFlat) return;
  FFlat = value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
  FLayout = value;
  Invalidate();
}

void TSpeedButton::SetMargin(int value) {
  FMargin = std::max(-1, value);
  Invalidate();
}

void TSpeedButton::SetSpacing(int value) {
  FSpacing = value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool value) {
  FTransparent = value;
  Invalidate();
}

TButtonState TSpeedButton::GetState() const {
  if (!GetEnabled()) return bsDisabled;
  if (FDown) return bsExclusive;
  if (FPressing) return bsDown;
  return bsUp;
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button == mbLeft && GetEnabled()) {
    FPressing = true;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  FPressing = false;
  Invalidate();
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::Click() {
  if (FPressing && FGroupIndex != 0) SetDown(!FDown);
  TGraphicControl::Click();
}

void TSpeedButton::TextChanged() {
  TGraphicControl::TextChanged();
  Invalidate();
}

void TSpeedButton::EnabledChanged() {
  TGraphicControl::EnabledChanged();
  Invalidate();
}

void TSpeedButton::Paint() {
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  const TRect client = GetClientRect();
  const TButtonState state = GetState();
  const bool sunk = state == bsDown || state == bsExclusive;
  if (!FFlat || !FTransparent) {
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(client);
  }
  if (!FFlat)
    Edge(c, client, sunk ? clBtnShadow : clBtnHighlight, sunk ? clBtnHighlight : cl3DDkShadow);
  else if (sunk)
    Edge(c, client, clBtnShadow, clBtnHighlight);
  FGlyph.Draw(c, client, sunk ? Point(1, 1) : Point(0, 0), GetCaption(), FLayout, FMargin, FSpacing, state,
              GetEnabled());
}

// ---- Bitmap button --------------------------------------------------------------------

TAVO_PUBLISHED(TBitBtn, TButton) {
  P.Publish({"Anchors", "BiDiMode", "Cancel", "Caption", "Default", "Enabled", "Font"});
  P.Obj("Glyph", &TBitBtn::GetGlyph, &TBitBtn::SetGlyph);
  P.Enum("Kind", &TBitBtn::GetKind, &TBitBtn::SetKind);
  P.Enum("Layout", &TBitBtn::GetLayout, &TBitBtn::SetLayout);
  P.Int("Margin", &TBitBtn::GetMargin, &TBitBtn::SetMargin);
  P.Publish({"ModalResult"});
  P.Int("NumGlyphs", &TBitBtn::GetNumGlyphs, &TBitBtn::SetNumGlyphs);
  P.Publish({"ParentBiDiMode", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint"});
  P.Int("Spacing", &TBitBtn::GetSpacing, &TBitBtn::SetSpacing);
  P.Enum("Style", &TBitBtn::Style, &TBitBtn::Style);
  P.Publish({"TabOrder", "TabStop", "Visible", "OnClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress",
             "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FGlyph.OnChange = [this] { Invalidate(); };
}

TBitBtn::~TBitBtn() = default;

AnsiString TBitBtn::KindCaption(TBitBtnKind kind) {
  switch (kind) {
    case bkCustom: return "";
    case bkOK: return "OK";
    case bkCancel: return "Cancel";
    case bkHelp: return "&Help";
    case bkYes: return "&Yes";
    case bkNo: return "&No";
    case bkClose: return "&Close";
    case bkAbort: return "Abort";
    case bkRetry: return "&Retry";
    case bkIgnore: return "&Ignore";
    case bkAll: return "&All";
  }
  return "";
}

TModalResult TBitBtn::KindModalResult(TBitBtnKind kind) {
  switch (kind) {
    case bkCustom:
    case bkHelp:
    case bkClose: return mrNone;
    case bkOK: return mrOk;
    case bkCancel: return mrCancel;
    case bkYes: return mrYes;
    case bkNo: return mrNo;
    case bkAbort: return mrAbort;
    case bkRetry: return mrRetry;
    case bkIgnore: return mrIgnore;
    case bkAll: return mrAll;
  }
  return mrNone;
}

TBitBtnKind TBitBtn::GetKind() const {
  if (FKind != bkCustom) {
    const bool defaultKind = FKind == bkOK || FKind == bkYes;
    const bool cancelKind = FKind == bkCancel || FKind == bkNo;
    if (defaultKind != GetDefault() || cancelKind != GetCancel() || ModalResult != KindModalResult(FKind) ||
        FModifiedGlyph)
      FKind = bkCustom;
  }
  return FKind;
}

void TBitBtn::SetKind(TBitBtnKind value) {
  if (value == GetKind()) return;
  if (value != bkCustom) {
    SetDefault(value == bkOK || value == bkYes);
    SetCancel(value == bkCancel || value == bkNo);
    // A caption read from the resource wins over the kind's own.
    if (!IsLoading() || GetCaption().empty()) SetCaption(KindCaption(value));
    ModalResult = KindModalResult(value);
  }
  FModifiedGlyph = false;
  FKind = value;
  Invalidate();
}

void TBitBtn::SetGlyph(TBitmap* value) {
  FGlyph.SetGlyph(value);
  FModifiedGlyph = true;
}

void TBitBtn::SetNumGlyphs(int value) { FGlyph.SetNumGlyphs(value); }

void TBitBtn::SetLayout(TButtonLayout value) {
  FLayout = value;
  Invalidate();
}

void TBitBtn::SetMargin(int value) {
  FMargin = std::max(-1, value);
  Invalidate();
}

void TBitBtn::SetSpacing(int value) {
  FSpacing = value;
  Invalidate();
}

void TBitBtn::Click() {
  if (GetKind() == bkClose) {
    if (TCustomForm* form = GetParentForm(this)) {
      form->Close();
      return;
    }
  }
  TButton::Click();
}

TButtonState TBitBtn::GetState() const { return GetEnabled() ? bsUp : bsDisabled; }

void TBitBtn::TextChanged() {
  TButton::TextChanged();
  Invalidate();
}

void TBitBtn::EnabledChanged() {
  TButton::EnabledChanged();
  Invalidate();
}

void TBitBtn::Repaint() {
  FCanvas->Resize(GetWidth(), GetHeight());
  Paint();
  TButton::Repaint();
}

void TBitBtn::Paint() {
  TCanvas* c = FCanvas.get();
  c->SetFont(GetFont());
  const TRect client = Rect(0, 0, GetWidth(), GetHeight());
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(client);
  // The default (or focused) button has an extra dark frame.
  TRect r = client;
  if (GetDefault() || Focused()) {
    c->GetBrush()->SetColor(clWindowFrame);
    c->FrameRect(r);
    InflateRect(r, -1, -1);
  }
  Edge(c, r, clBtnHighlight, cl3DDkShadow);
  FGlyph.Draw(c, client, Point(0, 0), GetCaption(), FLayout, FMargin, FSpacing, GetState(), GetEnabled());
}

static TClassRegistration ButtonClasses{TSpeedButton::StaticClass(), TBitBtn::StaticClass()};
