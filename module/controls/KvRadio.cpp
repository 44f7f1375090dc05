#include "module/controls/KvRadio.h"

#include "module/controls/KvPaint.h"
#include "platform/vcl/Forms.h"

#include <algorithm>
#include <array>

namespace {

// The round box of a radio button, 12 by 12, as the system draws it.
//   'S' shadow  'D' dark shadow  'L' light  'W' white  'I' inside  '.' untouched
constexpr std::array<const char*, 12> RadioBox = {
    "....SSSS....",
    "..SSDDDDSS..",
    ".SDDIIIIDDL.",
    ".SDIIIIIIIL.",
    "SDIIIIIIIIIW",
    "SDIIIIIIIIIW",
    "SDIIIIIIIIIW",
    "SDIIIIIIIIIW",
    ".SDIIIIIIIL.",
    ".SLIIIIIILLW",
    "..WWLLLLWW..",
    "....WWWW....",
};
constexpr int RadioBoxSize = 12;

// Where the caption starts for font sizes From..To points; other sizes start at 44.
struct TOffsetStep {
  int From;
  int To;
  int Offset;
};

constexpr TOffsetStep CaptionOffsets[] = {
    {1, 8, 17},   {9, 15, 19},  {16, 17, 20}, {18, 23, 21}, {24, 29, 23}, {30, 35, 25},
    {36, 41, 27}, {42, 43, 29}, {44, 60, 31}, {61, 80, 39},
};
constexpr int OtherCaptionOffset = 44;

}  // namespace

// ---- TKvRadioButton -------------------------------------------------------------------

TAVO_PUBLISHED(TKvRadioButton, TButtonControl) {
  P.Enum("Alignment", &TKvRadioButton::GetAlignment, &TKvRadioButton::SetAlignment);
  P.Publish({"Anchors", "BiDiMode", "Caption"});
  P.Bool("Checked", &TKvRadioButton::GetChecked, &TKvRadioButton::SetChecked);
  P.Publish({"Color", "Ctl3D", "DragKind", "DragMode", "Enabled", "Font", "ParentBiDiMode", "ParentColor",
             "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop",
             "Visible", "OnClick", "OnDblClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
             "OnMouseDown", "OnMouseMove", "OnMouseUp"});
  P.Message(CM_DIALOGCHAR, &TKvRadioButton::CMDialogChar);
}

TKvRadioButton::TKvRadioButton(TComponent* AOwner)
    : TButtonControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csClickEvents, csCaptureMouse};
  SetBounds(GetLeft(), GetTop(), 113, 17);
  SetTabStop(false);
  SetParentColor(true);
}

TKvRadioButton::~TKvRadioButton() = default;

int TKvRadioButton::CaptionOffset(int pointSize) {
  for (const TOffsetStep& step : CaptionOffsets)
    if (pointSize >= step.From && pointSize <= step.To) return step.Offset;
  return OtherCaptionOffset;
}

void TKvRadioButton::SetAlignment(TAlignment value) {
  if (value == taCenter || value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}

void TKvRadioButton::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  SetTabStop(value);
  Invalidate();
  if (!value) return;
  if (TWinControl* parent = GetParent())
    for (TControl* c : std::vector<TControl*>(parent->Controls()))
      if (auto* sibling = dynamic_cast<TKvRadioButton*>(c); sibling && sibling != this) sibling->SetChecked(false);
  if (!ClicksDisabled) Click();
}

void TKvRadioButton::UserClick() {
  if (UserMayCheck()) SetChecked(true);
}

void TKvRadioButton::DoEnter() {
  TButtonControl::DoEnter();
  if (!FocusByMouse() && !FChecked && Focused() && UserMayCheck()) SetChecked(true);
}

void TKvRadioButton::CMDialogChar(TMessage& message) {
  if (IsAccel(static_cast<Word>(message.WParam), GetCaption()) && CanFocus()) {
    SetFocus();
    message.Result = 1;
    return;
  }
  DispatchInherited(TKvRadioButton::StaticClass(), message);
}

void TKvRadioButton::EnabledChanged() {
  TButtonControl::EnabledChanged();
  Invalidate();
}

void TKvRadioButton::TextChanged() {
  TButtonControl::TextChanged();
  Invalidate();
}

void TKvRadioButton::FontChanged() {
  TButtonControl::FontChanged();
  Invalidate();
}

void TKvRadioButton::Repaint() {
  FCanvas->Resize(GetClientWidth(), GetClientHeight());
  FCanvas->SetFont(GetFont());
  FCanvas->GetBrush()->SetColor(GetColor());
  PaintButton();
  PaintCaption();
  FInvalidated = false;
}

void TKvRadioButton::PaintButton() {
  TCanvas* canvas = FCanvas.get();
  const TRect client = GetClientRect();
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(client);
  const int left = FAlignment == taRightJustify ? 0 : client.Width() - RadioBoxSize;
  const int top = (client.Height() - RadioBoxSize) / 2;
  const bool enabled = GetEnabled();
  for (int y = 0; y < RadioBoxSize; ++y)
    for (int x = 0; x < RadioBoxSize; ++x) {
      TColor color;
      switch (RadioBox[y][x]) {
        case 'S':
          color = clBtnShadow;
          break;
        case 'D':
          color = cl3DDkShadow;
          break;
        case 'L':
          color = cl3DLight;
          break;
        case 'W':
          color = clBtnHighlight;
          break;
        case 'I':
          color = enabled ? clWindow : clBtnFace;
          break;
        default:
          continue;
      }
      canvas->SetPixels(left + x, top + y, ColorToRGB(color));
    }
  if (FChecked) {
    canvas->GetBrush()->SetColor(enabled ? clWindowText : clGrayText);
    canvas->FillRect(Bounds(left + 4, top + 4, 4, 4));
  }
}

void TKvRadioButton::PaintCaption() {
  TCanvas* canvas = FCanvas.get();
  const TRect client = GetClientRect();
  const int offset = CaptionOffset(GetFont()->GetSize());
  // The box sits on the side Alignment names; the caption takes the other side.
  TRect fill, text;
  if (FAlignment == taRightJustify) {
    fill = Rect(offset - 4, -4, client.Right + 4, client.Bottom + 4);
    text = Rect(offset, 0, client.Right, client.Bottom);
  } else {
    fill = Rect(-4, -4, client.Right - offset + 4, client.Bottom + 4);
    text = Rect(0, 0, client.Right - offset, client.Bottom);
  }
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(fill);
  canvas->SetFont(GetFont());
  if (!GetEnabled()) canvas->GetFont()->SetColor(clGrayText);
  canvas->GetBrush()->SetStyle(bsClear);
  DrawText(canvas, GetCaption(), text, DT_SINGLELINE | DT_VCENTER);
}

// ---- TKvGroupButton -------------------------------------------------------------------

TAVO_CLASS_IMPL(TKvGroupButton, TKvRadioButton)

TKvGroupButton::TKvGroupButton(TKvRadioGroup* group) : TGroupButtonOf(group) {}

TKvGroupButton::~TKvGroupButton() = default;

bool TKvGroupButton::UserMayCheck() const { return GetRadioGroup()->CanModify(); }

// ---- TKvRadioGroup --------------------------------------------------------------------

TAVO_PUBLISHED(TKvRadioGroup, TCustomGroupBox) {
  P.Publish({"Align", "Anchors", "BiDiMode", "Caption", "Color"});
  P.Int("Columns", &TKvRadioGroup::GetColumns, &TKvRadioGroup::SetColumns);
  P.Publish({"Ctl3D", "DragKind", "DragMode", "Enabled", "Font"});
  P.Int("ItemIndex", &TKvRadioGroup::GetItemIndex, &TKvRadioGroup::SetItemIndex);
  P.Obj("Items", &TKvRadioGroup::GetItems, &TKvRadioGroup::SetItems);
  P.Publish({"ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu",
             "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnEnter", "OnExit", "OnKeyDown",
             "OnKeyPress", "OnKeyUp"});
}

namespace {
const TClassRegistration KvRadioClasses{TKvRadioButton::StaticClass(), TKvGroupButton::StaticClass(),
                                        TKvRadioGroup::StaticClass()};
}  // namespace

TKvRadioGroup::TKvRadioGroup(TComponent* AOwner) : TRadioGroupOf(AOwner) {}

TKvRadioGroup::~TKvRadioGroup() = default;
