#include "module/controls/F2Button.h"

#include "module/controls/ControlBinding.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/Forms.h"

TAVO_PUBLISHED(TF2Button, TGSpeedButton) {
  P.Bool("AutoAlign", &TF2Button::GetAutoAlign, &TF2Button::SetAutoAlign);
  P.Obj("F2Control", &TF2Button::GetF2Control, &TF2Button::SetF2Control);
  P.Int("Gap", &TF2Button::GetGap, &TF2Button::SetGap);
}

const TClassRegistration F2ButtonClasses{TF2Button::StaticClass()};

TF2Button::TF2Button(TComponent* AOwner) : TGSpeedButton(AOwner) {
  SetFlat(true);
  SetGlyphIndex(8);
}

TF2Button::~TF2Button() {
  if (FF2Control) FF2Control->RemoveFreeNotification(this);
}

void TF2Button::SetAutoAlign(bool value) {
  FAutoAlign = value;
  AlignToControl();
}

void TF2Button::SetF2Control(TWinControl* value) {
  if (!value) {
    if (FF2Control) FF2Control->RemoveFreeNotification(this);
    FF2Control = nullptr;
    return;
  }
  if (!AcceptBinding<TF2Button>(this, value, &TF2Button::GetF2Control,
                                "不能同时有两个 F2Button 指到同一个 Edit."))
    return;
  if (FF2Control) FF2Control->RemoveFreeNotification(this);
  FF2Control = value;
  value->FreeNotification(this);
  AlignToControl();
}

void TF2Button::SetGap(BYTE value) {
  if (value == FGap) return;
  FGap = value;
  AlignToControl();
}

void TF2Button::AlignToControl() {
  if (!FAutoAlign || !FF2Control) return;
  const int size = FF2Control->GetHeight();
  SetBounds(FF2Control->GetLeft() + FF2Control->GetWidth() + FGap, FF2Control->GetTop(), size, size);
}

void TF2Button::Click() {
  TGSpeedButton::Click();
  TWinControl* target = FF2Control;
  if (!target || !target->GetEnabled()) return;
  if (target->CanFocus()) target->SetFocus();
  if (!target->Focused()) return;
  // The form that owns the control runs its lookups, wherever the control is shown.
  TCustomForm* form = dynamic_cast<TCustomForm*>(target->GetOwner());
  if (!form) form = GetParentForm(target);
  if (form) SendMessage(form->GetHandle(), WM_F2LOOKUP, 0, ControlToLParam(target));
}

void TF2Button::Notification(TComponent* component, TOperation operation) {
  TGSpeedButton::Notification(component, operation);
  if (operation == opRemove && component == FF2Control) FF2Control = nullptr;
}
