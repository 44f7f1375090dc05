#include "module/controls/DBLabel.h"

#include "module/controls/ControlBinding.h"
#include "platform/vcl/Components.h"

#include <algorithm>

TAVO_PUBLISHED(TDBLabel, TLabel) {
  P.Bool("AutoAlign", &TDBLabel::GetAutoAlign, &TDBLabel::SetAutoAlign);
  P.Bool("AutoCaption", &TDBLabel::GetAutoCaption, &TDBLabel::SetAutoCaption);
  P.Obj("FocusControl", &TDBLabel::GetFocusControl, &TDBLabel::SetFocusControl);
  P.Int("Gap", &TDBLabel::GetGap, &TDBLabel::SetGap);
  P.Enum("Pos", &TDBLabel::GetPos, &TDBLabel::SetPos);
}

const TClassRegistration DBLabelClasses{TDBLabel::StaticClass()};

TDBLabel::TDBLabel(TComponent* AOwner) : TLabel(AOwner) { SetCaption("挂靠标签"); }

TDBLabel::~TDBLabel() {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
}

void TDBLabel::RefreshBinding() {
  UpdateCaption();
  AlignToControl();
}

void TDBLabel::SetAutoAlign(bool value) {
  FAutoAlign = value;
  RefreshBinding();
}

void TDBLabel::SetAutoCaption(bool value) {
  FAutoCaption = value;
  RefreshBinding();
}

void TDBLabel::SetFocusControl(TWinControl* value) {
  if (value && !AcceptBinding<TDBLabel>(this, value, &TDBLabel::GetFocusControl,
                                        "不能同时有两个 DBLabel 指到同一个 Control."))
    return;
  if (FFocusControl && FFocusControl != value) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = value;
  // The label's own accelerator keeps focusing the same control.
  TCustomLabel::SetFocusControl(value);
  RefreshBinding();
}

void TDBLabel::SetGap(BYTE value) {
  if (value == FGap) return;
  FGap = value;
  RefreshBinding();
}

void TDBLabel::SetPos(TPos value) {
  if (value == FPos) return;
  FPos = value;
  RefreshBinding();
}

void TDBLabel::UpdateCaption() {
  if (!FAutoCaption || !FFocusControl) return;
  try {
    const auto objectProp = [](TObject* obj, const char* name) -> TObject* {
      PPropInfo prop = GetPropInfo(obj, name);
      return prop && prop->Kind() == tkClass ? GetObjectProp(obj, name) : nullptr;
    };
    TObject* dataSource = objectProp(FFocusControl, "DataSource");
    if (!dataSource) return;
    auto* dataSet = dynamic_cast<IFieldDisplayLabels*>(objectProp(dataSource, "DataSet"));
    if (!dataSet) return;
    PPropInfo field = GetPropInfo(FFocusControl, "DataField");
    if (!field || field->Kind() != tkString) return;
    AnsiString text;
    if (dataSet->FindDisplayLabel(GetStrProp(FFocusControl, field), text)) SetCaption(text);
  } catch (const std::exception&) {
    // A broken binding leaves the designed caption.
  }
}

void TDBLabel::AlignToControl() {
  if (!FAutoAlign || !FFocusControl) return;
  const TWinControl* c = FFocusControl;
  const int width = GetWidth(), height = GetHeight();
  const auto centredTop = [&] {
    if (height == c->GetHeight()) return c->GetTop();
    return std::max(0, c->GetTop() + c->GetHeight() / 2 - height / 2);
  };
  int left = GetLeft(), top = GetTop();
  switch (FPos) {
    case psTop:
      left = c->GetLeft();
      top = std::max(0, c->GetTop() - height - FGap);
      break;
    case psLeft:
      left = std::max(0, c->GetLeft() - width - FGap);
      top = centredTop();
      break;
    case psRight:
      left = std::max(0, c->GetLeft() + c->GetWidth() + FGap);
      top = centredTop();
      break;
    case psBottom:
      left = c->GetLeft();
      top = std::max(0, c->GetTop() + c->GetHeight() + FGap);
      break;
  }
  SetBounds(left, top, width, height);
}

void TDBLabel::Notification(TComponent* component, TOperation operation) {
  TLabel::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}
