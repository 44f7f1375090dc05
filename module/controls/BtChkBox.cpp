#include "module/controls/BtChkBox.h"

#include "module/controls/KvPaint.h"
#include "module/controls/ModuleBitmaps.h"
#include "platform/vcl/Forms.h"

#include <algorithm>

namespace {

const char* const DefaultGlyphNames[] = {"UNCHECKED", "CHECKED", "GRAYED"};

}  // namespace

TAVO_PUBLISHED(TBitCheckBox, TCustomControl) {
  P.Enum("Alignment", &TBitCheckBox::GetAlignment, &TBitCheckBox::SetAlignment);
  P.Bool("AllowGrayed", &TBitCheckBox::GetAllowGrayed, &TBitCheckBox::SetAllowGrayed);
  P.Publish({"Anchors", "BiDiMode", "Caption"});
  P.Bool("Checked", &TBitCheckBox::GetChecked, &TBitCheckBox::SetChecked);
  P.Obj("CheckedGlyph", &TBitCheckBox::GetCheckedGlyph, &TBitCheckBox::SetCheckedGlyph);
  P.Int("CheckedNumGlyphs", &TBitCheckBox::GetCheckedNumGlyphs, &TBitCheckBox::SetCheckedNumGlyphs);
  P.Publish({"Color", "Ctl3D", "DragKind", "DragMode", "Enabled", "Font"});
  P.Obj("GrayedGlyph", &TBitCheckBox::GetGrayedGlyph, &TBitCheckBox::SetGrayedGlyph);
  P.Int("GrayedNumGlyphs", &TBitCheckBox::GetGrayedNumGlyphs, &TBitCheckBox::SetGrayedNumGlyphs);
  P.Publish({"ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu",
             "ShowHint"});
  P.Enum("State", &TBitCheckBox::GetState, &TBitCheckBox::SetState);
  P.Publish({"TabOrder", "TabStop"});
  P.Obj("UncheckedGlyph", &TBitCheckBox::GetUncheckedGlyph, &TBitCheckBox::SetUncheckedGlyph);
  P.Int("UncheckedNumGlyphs", &TBitCheckBox::GetUncheckedNumGlyphs, &TBitCheckBox::SetUncheckedNumGlyphs);
  P.Publish({"Visible", "OnClick", "OnDblClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
             "OnMouseDown", "OnMouseMove", "OnMouseUp"});
  P.Message(CM_DIALOGCHAR, &TBitCheckBox::CMDialogChar);
}

namespace {
const TClassRegistration BitCheckBoxClasses{TBitCheckBox::StaticClass()};
}  // namespace

TBitCheckBox::TBitCheckBox(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(GetLeft(), GetTop(), 97, 17);
  SetTabStop(true);
  SetParentColor(true);
  ParentCtl3D = true;
  for (TCheckBoxState state : {cbUnchecked, cbChecked, cbGrayed}) {
    FGlyphs[state] = std::make_unique<TBitmap>();
    LoadModuleBitmap(FGlyphs[state].get(), DefaultGlyphNames[state]);
    FGlyphs[state]->OnChange = TNotifyEvent(this, &TBitCheckBox::GlyphChanged);
  }
}

TBitCheckBox::~TBitCheckBox() {
  for (auto& glyph : FGlyphs) glyph->OnChange = TNotifyEvent();
}

void TBitCheckBox::SetAlignment(TAlignment value) {
  if (value == taCenter || value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}

void TBitCheckBox::SetState(TCheckBoxState value) {
  if (value == FState) return;
  FState = value;
  Invalidate();
}

void TBitCheckBox::Toggle() { SetState(ToggledState(FState, FAllowGrayed)); }

void TBitCheckBox::SetGlyph(TCheckBoxState state, const TBitmap* value) {
  TBitmap* glyph = FGlyphs[state].get();
  if (value)
    glyph->Assign(value);
  else
    LoadModuleBitmap(glyph, DefaultGlyphNames[state]);
  const int width = glyph->GetWidth(), height = glyph->GetHeight();
  if (height > 0 && width > 0 && width % height == 0) SetNumGlyphs(state, width / height);
  Invalidate();
}

void TBitCheckBox::SetNumGlyphs(TCheckBoxState state, int value) {
  value = std::clamp(value, 1, 2);
  if (value == FNumGlyphs[state]) return;
  FNumGlyphs[state] = value;
  Invalidate();
}

void TBitCheckBox::GlyphChanged(TObject*) { Invalidate(); }

TRect TBitCheckBox::CaptionRect() const {
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  const TBitmap* glyph = FGlyphs[FState].get();
  const int frameWidth = glyph->GetWidth() / FNumGlyphs[FState];
  const AnsiString caption = GetCaption();
  const int textHeight = canvas->TextHeight(caption);
  int width = canvas->TextWidth(caption);
  if (caption.find('&') != AnsiString::npos) width -= canvas->TextWidth("&");
  TRect r;
  r.Left = FAlignment == taRightJustify ? frameWidth + 4 : 1;
  r.Right = r.Left + width;
  r.Top = (GetClientHeight() - textHeight) / 2 - 2;
  r.Bottom = r.Top + textHeight + 3;
  IntersectRect(r, r, GetClientRect());
  return r;
}

int TBitCheckBox::ShownFrame() const { return !GetEnabled() && FNumGlyphs[FState] == 2 ? 1 : 0; }

void TBitCheckBox::Paint() {
  TCanvas* canvas = GetCanvas();
  const TRect client = GetClientRect();
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(client);

  const TBitmap* glyph = FGlyphs[FState].get();
  const int frameWidth = glyph->GetWidth() / FNumGlyphs[FState];
  const TRect captionRect = CaptionRect();

  canvas->SetFont(GetFont());
  canvas->GetBrush()->SetStyle(bsClear);
  const AnsiString caption = GetCaption();
  const UINT flags = DT_SINGLELINE | DT_VCENTER;
  if (GetEnabled()) {
    TRect r = captionRect;
    DrawText(canvas, caption, r, flags);
  } else {
    if (Ctl3D) {
      TRect r = captionRect;
      OffsetRect(r, 1, 1);
      canvas->GetFont()->SetColor(clBtnHighlight);
      DrawText(canvas, caption, r, flags);
    }
    TRect r = captionRect;
    canvas->GetFont()->SetColor(clGrayText);
    DrawText(canvas, caption, r, flags);
  }

  if (Focused()) {
    TRect r = captionRect;
    InflateRect(r, 1, 1);
    IntersectRect(r, r, client);
    DrawFocusFrame(canvas, r);
  }

  if (frameWidth > 0 && glyph->GetHeight() > 0) {
    const int x = FAlignment == taRightJustify ? 0 : client.Width() - frameWidth;
    const int y = (client.Height() - glyph->GetHeight()) / 2;
    TBitmap frame;
    frame.SetPixelFormat(pf24bit);
    frame.SetSize(frameWidth, glyph->GetHeight());
    const int sourceLeft = ShownFrame() * frameWidth;
    frame.GetCanvas()->CopyRect(Rect(0, 0, frameWidth, glyph->GetHeight()), glyph->GetCanvas(),
                                Rect(sourceLeft, 0, sourceLeft + frameWidth, glyph->GetHeight()));
    frame.SetTransparentColor(glyph->GetTransparentColor());
    frame.SetTransparent(true);
    canvas->Draw(x, y, &frame);
  }
}

void TBitCheckBox::UserClick() {
  Toggle();
  Click();
  if (CanFocus() && !Focused()) SetFocus();
}

void TBitCheckBox::DefaultChar(char key) {
  if (key == ' ') UserClick();
}

void TBitCheckBox::CMDialogChar(TMessage& message) {
  if (!IsAccel(static_cast<Word>(message.WParam), GetCaption()) || !CanFocus()) {
    DispatchInherited(TBitCheckBox::StaticClass(), message);
    return;
  }
  SetFocus();
  if (Focused()) Toggle();
  message.Result = 1;
}

void TBitCheckBox::DoEnter() {
  Invalidate();
  TCustomControl::DoEnter();
}

void TBitCheckBox::DoExit() {
  Invalidate();
  TCustomControl::DoExit();
}

void TBitCheckBox::TextChanged() {
  TCustomControl::TextChanged();
  Invalidate();
}

void TBitCheckBox::FontChanged() {
  TCustomControl::FontChanged();
  Invalidate();
}

void TBitCheckBox::EnabledChanged() {
  TCustomControl::EnabledChanged();
  Invalidate();
}
