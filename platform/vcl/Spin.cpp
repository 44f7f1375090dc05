#include "platform/vcl/Spin.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <climits>

// ---- Spin button ----------------------------------------------------------------------

TAVO_CLASS_IMPL(TSpinButton, TWinControl)

TSpinButton::TSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
  FUpButton = new TSpeedButton(this);
  FDownButton = new TSpeedButton(this);
  for (TSpeedButton* b : {FUpButton, FDownButton}) {
    b->SetParent(this);
    b->OnClick = TNotifyEvent(this, &TSpinButton::ButtonClick);
  }
  SetBounds(0, 0, 20, 25);
}

void TSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  const int half = AHeight / 2;
  if (FUpButton) FUpButton->SetBounds(0, 0, AWidth, half);
  if (FDownButton) FDownButton->SetBounds(0, half, AWidth, AHeight - half);
}

void TSpinButton::ButtonClick(TObject* sender) {
  if (FocusControl && FocusControl->GetTabStop() && FocusControl->CanFocus() && !FocusControl->Focused()) {
    FocusControl->SetFocus();
    if (!FocusControl->Focused()) return;
  }
  if (sender == FUpButton)
    OnUpClick(this);
  else
    OnDownClick(this);
}

// ---- Spin edit ------------------------------------------------------------------------

TAVO_PUBLISHED(TSpinEdit, TCustomEdit) {
  P.Publish({"Anchors", "AutoSelect", "AutoSize", "Color", "Ctl3D", "DragMode"});
  P.Bool("EditorEnabled", &TSpinEdit::EditorEnabled, &TSpinEdit::EditorEnabled);
  P.Publish({"Enabled", "Font"});
  P.Int("Increment", &TSpinEdit::Increment, &TSpinEdit::Increment);
  P.Publish({"MaxLength"});
  P.Int("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::MaxValue);
  P.Int("MinValue", &TSpinEdit::MinValue, &TSpinEdit::MinValue);
  P.Publish({"ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ReadOnly", "ShowHint",
             "TabOrder", "TabStop"});
  P.Int("Value", &TSpinEdit::GetValue, &TSpinEdit::SetValue);
  P.Publish({"Visible", "OnChange", "OnClick", "OnDblClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress",
             "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

static TClassRegistration SpinClasses{TSpinEdit::StaticClass()};

TSpinEdit::TSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  FButton = new TSpinButton(this);
  FButton->SetParent(this);
  FButton->FocusControl = this;
  FButton->OnUpClick = TNotifyEvent(this, &TSpinEdit::UpClick);
  FButton->OnDownClick = TNotifyEvent(this, &TSpinEdit::DownClick);
  SetText("0");
  SetBounds(GetLeft(), GetTop(), 121, 22);
}

TSpinEdit::~TSpinEdit() = default;

void TSpinEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FButton) FButton->SetBounds(std::max(0, AWidth - 20), 0, 15, std::max(0, AHeight - 5));
}

int TSpinEdit::CheckValue(int value) const {
  if (MaxValue != MinValue) {
    if (value < MinValue) return MinValue;
    if (value > MaxValue) return MaxValue;
  }
  return value;
}

int TSpinEdit::GetValue() const {
  int value = 0;
  return TryStrToInt(GetText(), value) ? value : MinValue;
}

void TSpinEdit::SetValue(int value) { SetText(IntToStr(CheckValue(value))); }

void TSpinEdit::UpClick(TObject*) {
  if (GetReadOnly()) return;
  const int64_t next = static_cast<int64_t>(GetValue()) + Increment;
  SetValue(static_cast<int>(std::clamp<int64_t>(next, INT_MIN, INT_MAX)));
}

void TSpinEdit::DownClick(TObject*) {
  if (GetReadOnly()) return;
  const int64_t next = static_cast<int64_t>(GetValue()) - Increment;
  SetValue(static_cast<int>(std::clamp<int64_t>(next, INT_MIN, INT_MAX)));
}

void TSpinEdit::KeyDown(Word& key, TShiftState shift) {
  if (key == VK_UP)
    UpClick(this);
  else if (key == VK_DOWN)
    DownClick(this);
  TCustomEdit::KeyDown(key, shift);
}

bool TSpinEdit::IsValidChar(char key) const {
  bool valid = key == DecimalSeparator || key == '+' || key == '-' || (key >= '0' && key <= '9') ||
               (static_cast<unsigned char>(key) < ' ' && key != '\r');
  if (!EditorEnabled && valid && (static_cast<unsigned char>(key) >= ' ' || key == '\b' || key == 0x7F))
    valid = false;
  return valid;
}

void TSpinEdit::KeyPress(char& key) {
  if (!IsValidChar(key)) key = 0;
  if (key) TCustomEdit::KeyPress(key);
}

void TSpinEdit::DoExit() {
  TCustomEdit::DoExit();
  const int value = GetValue();
  if (CheckValue(value) != value) SetValue(value);
}
