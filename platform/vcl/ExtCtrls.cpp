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

TGroupButton::TGroupButton(TCustomRadioGroup* group) : TRadioButton(group), FGroup(group) {
  SetVisible(false);
  SetEnabled(group->GetEnabled());
  SetParentShowHint(false);
  OnClick = TNotifyEvent(group, &TCustomRadioGroup::ButtonClick);
  SetParent(group);
}

void TGroupButton::KeyDown(Word& key, TShiftState shift) {
  TRadioButton::KeyDown(key, shift);
  if (key) FGroup->KeyDown(key, shift);
}

void TGroupButton::KeyPress(char& key) {
  TRadioButton::KeyPress(key);
  if (key) FGroup->KeyPress(key);
  if ((key == '\b' || key == ' ') && !FGroup->CanModify()) key = 0;
}

void TGroupButton::KeyUp(Word& key, TShiftState shift) {
  TRadioButton::KeyUp(key, shift);
  if (key) FGroup->KeyUp(key, shift);
}

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

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(std::make_unique<TStringList>()) {
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  FItems->OnChange = [this](TObject* sender) { ItemsChanged(sender); };
  SetBounds(GetLeft(), GetTop(), 185, 105);
}

TCustomRadioGroup::~TCustomRadioGroup() {
  FItems->OnChange = nullptr;
  // The buttons are children and components of the group; they go with it.
  for (TGroupButton* b : FButtons) b->OnClick = TNotifyEvent();
}

TGroupButton* TCustomRadioGroup::GetButton(int index) const {
  if (index < 0 || index >= GetButtonCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FButtons[index];
}

void TCustomRadioGroup::ButtonClick(TObject* sender) {
  if (FUpdating) return;
  auto it = std::find(FButtons.begin(), FButtons.end(), sender);
  FItemIndex = it == FButtons.end() ? -1 : static_cast<int>(it - FButtons.begin());
  Click();
}

void TCustomRadioGroup::ItemsChanged(TObject*) {
  if (IsLoading()) return;
  if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  const int count = FItems->Count();
  while (GetButtonCount() < count) FButtons.push_back(new TGroupButton(this));
  while (GetButtonCount() > count) {
    TGroupButton* b = FButtons.back();
    FButtons.pop_back();
    delete b;
  }
  FUpdating = true;
  for (int i = 0; i < count; ++i) {
    FButtons[i]->SetCaption(FItems->Get(i));
    FButtons[i]->SetChecked(false);
  }
  if (FItemIndex >= 0 && FItemIndex < count) FButtons[FItemIndex]->SetChecked(true);
  FUpdating = false;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty() || IsLoading()) return;
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  const int fontHeight = c->TextHeight("W");
  const int count = GetButtonCount();
  const int perColumn = (count + FColumns - 1) / FColumns;
  const int buttonWidth = (GetWidth() - 10) / FColumns;
  const int space = GetHeight() - fontHeight - 5;
  const int buttonHeight = space / perColumn;
  const int topMargin = fontHeight + 1 + (space % perColumn) / 2;
  const bool mirrored = BiDiMode != bdLeftToRight;
  for (int i = 0; i < count; ++i) {
    const int column = i / perColumn;
    int left = column * buttonWidth + 8;
    if (mirrored) left = GetWidth() - left - buttonWidth;
    FButtons[i]->SetBounds(left, (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight);
    FButtons[i]->SetVisible(true);
  }
}

void TCustomRadioGroup::SetItemIndex(int value) {
  if (IsLoading()) {
    FItemIndex = value;
    return;
  }
  value = std::clamp(value, -1, GetButtonCount() - 1);
  if (value == FItemIndex) return;
  if (FItemIndex >= 0 && FItemIndex < GetButtonCount()) FButtons[FItemIndex]->SetChecked(false);
  FItemIndex = value;
  // Checking the button clicks it, and its click sets ItemIndex and runs OnClick.
  if (FItemIndex >= 0) FButtons[FItemIndex]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(int value) {
  value = std::clamp(value, 1, 16);
  if (value == FColumns) return;
  FColumns = value;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  UpdateButtons();
}

void TCustomRadioGroup::Resize() {
  TCustomGroupBox::Resize();
  ArrangeButtons();
}

void TCustomRadioGroup::FontChanged() {
  TCustomGroupBox::FontChanged();
  ArrangeButtons();
}

void TCustomRadioGroup::EnabledChanged() {
  TCustomGroupBox::EnabledChanged();
  for (TGroupButton* b : FButtons) b->SetEnabled(GetEnabled());
}

static TClassRegistration ExtControlClasses{TPanel::StaticClass(), TBevel::StaticClass(), TImage::StaticClass(),
                                            TRadioGroup::StaticClass()};
