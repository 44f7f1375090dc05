#include "platform/vcl/ExtCtrls.h"

#include <algorithm>

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  TBrush* brush = canvas->GetBrush();
  const TColor savedColor = brush->GetColor();
  const TBrushStyle savedStyle = brush->GetStyle();
  for (; width > 0 && !rect.IsEmpty(); --width) {
    const TRect& r = rect;
    brush->SetColor(topColor);
    canvas->FillRect(TRect{r.Left, r.Top, r.Right - 1, r.Top + 1});
    canvas->FillRect(TRect{r.Left, r.Top, r.Left + 1, r.Bottom - 1});
    brush->SetColor(bottomColor);
    canvas->FillRect(TRect{r.Right - 1, r.Top, r.Right, r.Bottom});
    canvas->FillRect(TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom});
    InflateRect(rect, -1, -1);
  }
  brush->SetColor(savedColor);
  brush->SetStyle(savedStyle);
}

namespace {

void BevelColours(TBevelCut cut, TColor& top, TColor& bottom) {
  top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
  bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
}

UINT AlignmentFlags(TAlignment a) {
  switch (a) {
    case taLeftJustify: return DT_LEFT;
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
  }
  return DT_LEFT;
}

}  // namespace

// ---- Panel ----------------------------------------------------------------------------

TAVO_CLASS_IMPL(TCustomPanel, TCustomControl)

TAVO_PUBLISHED(TPanel, TCustomPanel) {
  P.Publish({"Align"});
  P.Enum("Alignment", &TPanel::GetAlignment, &TPanel::SetAlignment);
  P.Publish({"Anchors", "AutoSize"});
  P.Enum("BevelInner", &TPanel::GetBevelInner, &TPanel::SetBevelInner);
  P.Enum("BevelOuter", &TPanel::GetBevelOuter, &TPanel::SetBevelOuter);
  P.Int("BevelWidth", &TPanel::GetBevelWidth, &TPanel::SetBevelWidth);
  P.Publish({"BiDiMode"});
  P.Int("BorderWidth", &TPanel::GetBorderWidth, &TPanel::SetBorderWidth);
  P.Typed("BorderStyle", BorderStyleTypeInfo(), &TPanel::GetBorderStyle, &TPanel::SetBorderStyle);
  P.Publish({"Caption", "Color", "Ctl3D", "DragKind", "DragMode", "Enabled", "Font"});
  P.Bool("FullRepaint", &TPanel::FullRepaint, &TPanel::FullRepaint);
  P.Bool("Locked", &TPanel::Locked, &TPanel::Locked);
  P.Publish({"ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu",
             "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnDblClick", "OnEnter", "OnExit",
             "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize"});
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                               csOpaque, csDoubleClicks, csReplicatable};
  BevelInner = bvNone;
  BevelOuter = bvRaised;
  BevelWidth = 1;
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
  SetParentColor(false);
}

void TCustomPanel::Relayout() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value) {
  FAlignment = value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
  BevelInner = value;
  Relayout();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
  BevelOuter = value;
  Relayout();
}

void TCustomPanel::SetBevelWidth(int value) {
  BevelWidth = std::max(1, value);
  Relayout();
}

void TCustomPanel::SetBorderWidth(int value) {
  FBorderWidth = std::max(0, value);
  Relayout();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
  FBorderStyle = value;
  Relayout();
}

void TCustomPanel::AdjustClientRect(TRect& rect) {
  TCustomControl::AdjustClientRect(rect);
  InflateRect(rect, -FBorderWidth, -FBorderWidth);
  int bevel = 0;
  if (BevelOuter != bvNone) bevel += BevelWidth;
  if (BevelInner != bvNone) bevel += BevelWidth;
  InflateRect(rect, -bevel, -bevel);
}

void TCustomPanel::TextChanged() {
  TCustomControl::TextChanged();
  Invalidate();
}

void TCustomPanel::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = Rect(0, 0, GetWidth(), GetHeight());
  TColor top, bottom;
  if (BevelOuter != bvNone) {
    BevelColours(BevelOuter, top, bottom);
    Frame3D(c, r, top, bottom, BevelWidth);
  }
  Frame3D(c, r, GetColor(), GetColor(), FBorderWidth);
  if (BevelInner != bvNone) {
    BevelColours(BevelInner, top, bottom);
    Frame3D(c, r, top, bottom, BevelWidth);
  }
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  c->SetFont(GetFont());
  c->GetBrush()->SetStyle(bsClear);
  const int h = c->TextHeight("W");
  r.Top = (r.Bottom + r.Top - h) / 2;
  r.Bottom = r.Top + h;
  DrawText(c, GetCaption(), r, DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | AlignmentFlags(FAlignment));
}

// ---- Bevel ----------------------------------------------------------------------------

TAVO_PUBLISHED(TBevel, TGraphicControl) {
  P.Publish({"Align", "Anchors", "ParentShowHint"});
  P.Enum("Shape", &TBevel::GetShape, &TBevel::SetShape);
  P.Publish({"ShowHint"});
  P.Enum("Style", &TBevel::GetStyle, &TBevel::SetStyle);
  P.Publish({"Visible"});
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
  FShape = value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
  FStyle = value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = GetCanvas();
  const TColor light = clBtnHighlight, dark = clBtnShadow;
  const TColor first = FStyle == bsLowered ? dark : light;
  const TColor second = FStyle == bsLowered ? light : dark;
  const int w = GetWidth(), h = GetHeight();
  auto line = [&](TColor colour, const TRect& r) {
    c->GetBrush()->SetColor(colour);
    c->FillRect(r);
  };
  switch (FShape) {
    case bsBox: {
      TRect r = Rect(0, 0, w, h);
      Frame3D(c, r, first, second, 1);
      break;
    }
    case bsFrame: {
      // Two offset frames give the etched look.
      TRect outer = Rect(0, 0, w - 1, h - 1);
      TRect inner = Rect(1, 1, w, h);
      c->GetBrush()->SetColor(first);
      c->FrameRect(outer);
      c->GetBrush()->SetColor(second);
      c->FrameRect(inner);
      break;
    }
    case bsTopLine:
      line(first, Rect(0, 0, w, 1));
      line(second, Rect(0, 1, w, 2));
      break;
    case bsBottomLine:
      line(first, Rect(0, h - 2, w, h - 1));
      line(second, Rect(0, h - 1, w, h));
      break;
    case bsLeftLine:
      line(first, Rect(0, 0, 1, h));
      line(second, Rect(1, 0, 2, h));
      break;
    case bsRightLine:
      line(first, Rect(w - 2, 0, w - 1, h));
      line(second, Rect(w - 1, 0, w, h));
      break;
    case bsSpacer: break;
  }
}

// ---- Image ----------------------------------------------------------------------------

TAVO_PUBLISHED(TImage, TGraphicControl) {
  P.Publish({"Align", "Anchors", "AutoSize"});
  P.Bool("Center", &TImage::GetCenter, &TImage::SetCenter);
  P.Publish({"DragKind", "DragMode", "Enabled", "ParentShowHint"});
  P.Obj("Picture", &TImage::GetPicture, &TImage::SetPicture);
  P.Publish({"PopupMenu", "ShowHint"});
  P.Bool("Stretch", &TImage::GetStretch, &TImage::SetStretch);
  P.Bool("Transparent", &TImage::GetTransparent, &TImage::SetTransparent);
  P.Publish({"Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  ControlStyle.Include(csReplicatable);
  FPicture->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::PictureChanged(TObject*) {
  if (TBitmap* b = FPicture->GetGraphic() ? FPicture->GetBitmap() : nullptr) b->SetTransparent(FTransparent);
  if (GetAutoSize() && FPicture->GetWidth() > 0 && FPicture->GetHeight() > 0)
    SetBounds(GetLeft(), GetTop(), FPicture->GetWidth(), FPicture->GetHeight());
  Invalidate();
}

void TImage::SetCenter(bool value) {
  FCenter = value;
  Invalidate();
}

void TImage::SetStretch(bool value) {
  FStretch = value;
  Invalidate();
}

void TImage::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  PictureChanged(this);
}

void TImage::SetAutoSize(bool value) {
  TGraphicControl::SetAutoSize(value);
  if (value) PictureChanged(this);
}

TRect TImage::DestRect() const {
  const int w = FPicture->GetWidth(), h = FPicture->GetHeight();
  if (FStretch) return GetClientRect();
  if (FCenter) return Bounds((GetClientWidth() - w) / 2, (GetClientHeight() - h) / 2, w, h);
  return Rect(0, 0, w, h);
}

void TImage::Paint() {
  if (const TGraphic* g = FPicture->GetGraphic()) GetCanvas()->StretchDraw(DestRect(), g);
}

// ---- Radio group ----------------------------------------------------------------------

TAVO_CLASS_IMPL(TGroupButton, TRadioButton)

TGroupButton::TGroupButton(TCustomRadioGroup* group) : TGroupButtonOf(group) {}

TAVO_CLASS_IMPL(TCustomRadioGroup, TCustomGroupBox)

TAVO_PUBLISHED(TRadioGroup, TCustomRadioGroup) {
  P.Publish({"Align", "Anchors", "BiDiMode", "Caption", "Color"});
  P.Int("Columns", &TRadioGroup::GetColumns, &TRadioGroup::SetColumns);
  P.Publish({"Ctl3D", "DragKind", "DragMode", "Enabled", "Font"});
  P.Int("ItemIndex", &TRadioGroup::GetItemIndex, &TRadioGroup::SetItemIndex);
  P.Obj("Items", &TRadioGroup::GetItems, &TRadioGroup::SetItems);
  P.Publish({"ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu",
             "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnEnter", "OnExit"});
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TRadioGroupOf(AOwner) {}

static TClassRegistration ExtControlClasses{TPanel::StaticClass(), TBevel::StaticClass(), TImage::StaticClass(),
                                            TRadioGroup::StaticClass()};
