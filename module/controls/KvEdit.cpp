#ifndef TAVO_LEGACY

#include "module/controls/KvEdit.h"

#include "module/controls/DBLabel.h"
#include "module/controls/F2Button.h"
#include "platform/vcl/Forms.h"

// ---- TKvCustomEdit --------------------------------------------------------------------

TAVO_CLASS_IMPL(TKvCustomEdit, TCustomEdit)

TKvCustomEdit::TKvCustomEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  FEditLabel = new TLabel(this);
  FEditLabel->SetName("EditLabel");
  FEditLabel->SetCaption("");
  FEditLabel->SetFocusControl(this);
  // The label's size follows its text and font, and its place follows its size.
  FEditLabel->OnResize = TNotifyEvent(this, &TKvCustomEdit::LabelResized);
  PlaceLabel();
}

TKvCustomEdit::~TKvCustomEdit() {
  if (FEditLabel) FEditLabel->OnResize = TNotifyEvent();
}

AnsiString TKvCustomEdit::GetCaption() const { return FEditLabel ? FEditLabel->GetCaption() : AnsiString(); }

void TKvCustomEdit::SetCaption(const AnsiString& value) {
  if (!FEditLabel) return;
  FEditLabel->SetCaption(value);
  PlaceLabel();
}

void TKvCustomEdit::SetLabelPosition(TLabelPosition value) {
  FLabelPosition = value;
  PlaceLabel();
}

void TKvCustomEdit::SetLabelSpacing(int value) {
  if (value < 0) return;
  FLabelSpacing = value;
  PlaceLabel();
}

void TKvCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  PlaceAttachments();
}

void TKvCustomEdit::SetParent(TWinControl* AParent) {
  TCustomEdit::SetParent(AParent);
  if (FEditLabel) FEditLabel->SetParent(AParent);
}

void TKvCustomEdit::SetVisible(bool value) {
  TCustomEdit::SetVisible(value);
  if (FEditLabel) FEditLabel->SetVisible(value);
}

void TKvCustomEdit::EnabledChanged() {
  TCustomEdit::EnabledChanged();
  if (FEditLabel) FEditLabel->SetEnabled(GetEnabled());
}

void TKvCustomEdit::Loaded() {
  TCustomEdit::Loaded();
  PlaceAttachments();
}

void TKvCustomEdit::Notification(TComponent* component, TOperation operation) {
  TCustomEdit::Notification(component, operation);
  if (operation == opRemove && component == FEditLabel) FEditLabel = nullptr;
}

void TKvCustomEdit::PlaceAttachments() { PlaceLabel(); }

void TKvCustomEdit::LabelResized(TObject*) { PlaceLabel(); }

void TKvCustomEdit::PlaceLabel() {
  if (!FEditLabel) return;
  const int width = FEditLabel->GetWidth(), height = FEditLabel->GetHeight();
  int left = GetLeft(), top = GetTop();
  switch (FLabelPosition) {
    case lpAbove:
      top = GetTop() - height - FLabelSpacing;
      break;
    case lpBelow:
      top = GetTop() + GetHeight() + FLabelSpacing;
      break;
    case lpLeft:
      left = GetLeft() - width - FLabelSpacing;
      top = GetTop() + (GetHeight() - height) / 2;
      break;
    case lpRight:
      left = GetLeft() + GetWidth() + FLabelSpacing;
      top = GetTop() + (GetHeight() - height) / 2;
      break;
  }
  FEditLabel->SetBounds(left, top, width, height);
}

// ---- TKvEdit --------------------------------------------------------------------------

TAVO_PUBLISHED(TKvEdit, TKvCustomEdit) {
  P.Publish({"Anchors", "AutoSelect", "AutoSize", "BevelEdges", "BevelInner", "BevelKind", "BevelOuter",
             "BiDiMode", "BorderStyle"});
  P.Str("Caption", &TKvEdit::GetCaption, &TKvEdit::SetCaption);
  P.Publish({"CharCase", "Color", "Ctl3D", "DragKind", "DragMode"});
  P.Obj("EditLabel", &TKvEdit::GetEditLabel);
  P.Publish({"Enabled", "Font", "HideSelection", "ImeMode", "ImeName"});
  P.Enum("LabelPosition", &TKvEdit::GetLabelPosition, &TKvEdit::SetLabelPosition);
  P.Int("LabelSpacing", &TKvEdit::GetLabelSpacing, &TKvEdit::SetLabelSpacing);
  P.Publish({"MaxLength", "OEMConvert", "ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont",
             "ParentShowHint", "PasswordChar", "PopupMenu", "ReadOnly", "ShowHint", "TabOrder", "TabStop", "Text",
             "Visible", "OnChange", "OnClick", "OnDblClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress",
             "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

// ---- TKvDBEdit ------------------------------------------------------------------------

TAVO_PUBLISHED(TKvDBEdit, TKvCustomEdit) {
  P.Publish({"Anchors", "AutoSelect", "AutoSize", "BevelEdges", "BevelInner", "BevelKind", "BevelOuter",
             "BiDiMode", "BorderStyle"});
  P.Str("Caption", &TKvDBEdit::GetCaption, &TKvDBEdit::SetCaption);
  P.Publish({"CharCase", "Color", "Ctl3D"});
  P.Str("DataField", &TKvDBEdit::GetDataField, &TKvDBEdit::SetDataField);
  P.Obj("DataSource", &TKvDBEdit::GetDataSource, &TKvDBEdit::SetDataSource);
  P.Publish({"DragKind", "DragMode"});
  P.Obj("EditLabel", &TKvDBEdit::GetEditLabel);
  P.Publish({"Enabled", "Font", "HideSelection", "ImeMode", "ImeName"});
  P.Enum("LabelPosition", &TKvDBEdit::GetLabelPosition, &TKvDBEdit::SetLabelPosition);
  P.Int("LabelSpacing", &TKvDBEdit::GetLabelSpacing, &TKvDBEdit::SetLabelSpacing);
  P.Publish({"MaxLength", "OEMConvert", "ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont",
             "ParentShowHint", "PasswordChar", "PopupMenu", "ReadOnly", "ShowHint", "TabOrder", "TabStop", "Text",
             "Visible", "OnChange", "OnClick", "OnDblClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress",
             "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

TKvDBEdit::TKvDBEdit(TComponent* AOwner) : TKvCustomEdit(AOwner) {}

TKvDBEdit::~TKvDBEdit() {
  if (FDataSource) FDataSource->RemoveFreeNotification(this);
}

void TKvDBEdit::SetDataField(const AnsiString& value) {
  FDataField = value;
  if (!GetComponentState().Contains(csDesigning) || !FDataSource) return;
  try {
    PPropInfo prop = GetPropInfo(FDataSource, "DataSet");
    if (!prop || prop->Kind() != tkClass) return;
    auto* dataSet = dynamic_cast<IFieldDisplayLabels*>(GetObjectProp(FDataSource, "DataSet"));
    AnsiString displayLabel;
    if (dataSet && dataSet->FindDisplayLabel(value, displayLabel)) SetCaption(displayLabel);
  } catch (const std::exception&) {
    // A data source that cannot answer leaves the designed caption.
  }
}

void TKvDBEdit::SetDataSource(TComponent* value) {
  if (value == FDataSource) return;
  if (FDataSource) FDataSource->RemoveFreeNotification(this);
  FDataSource = value;
  if (FDataSource) FDataSource->FreeNotification(this);
}

void TKvDBEdit::Notification(TComponent* component, TOperation operation) {
  TKvCustomEdit::Notification(component, operation);
  if (operation == opRemove && component == FDataSource) FDataSource = nullptr;
}

// ---- TKvBtnDBEdit ---------------------------------------------------------------------

TAVO_PUBLISHED(TKvBtnDBEdit, TKvDBEdit) {
  P.Str("ButtonHint", &TKvBtnDBEdit::GetButtonHint, &TKvBtnDBEdit::SetButtonHint);
  P.Int("ButtonSpacing", &TKvBtnDBEdit::GetButtonSpacing, &TKvBtnDBEdit::SetButtonSpacing);
  P.Int("GlyphIndex", &TKvBtnDBEdit::GetGlyphIndex, &TKvBtnDBEdit::SetGlyphIndex);
  P.Event("OnDialog", &TKvBtnDBEdit::OnDialog);
}

namespace {
const TClassRegistration KvEditClasses{TKvEdit::StaticClass(), TKvDBEdit::StaticClass(),
                                       TKvBtnDBEdit::StaticClass()};
}  // namespace

TKvBtnDBEdit::TKvBtnDBEdit(TComponent* AOwner) : TKvDBEdit(AOwner) {
  FButton = new TGSpeedButton(this);
  FButton->SetName("F2Button");
  FButton->SetFlat(true);
  FButton->SetGlyphIndex(8);
  FButton->OnClick = TNotifyEvent(this, &TKvBtnDBEdit::ButtonClick);
  PlaceAttachments();
}

TKvBtnDBEdit::~TKvBtnDBEdit() {
  if (FButton) FButton->OnClick = TNotifyEvent();
}

void TKvBtnDBEdit::SetButtonSpacing(int value) {
  FButtonSpacing = value;
  PlaceAttachments();
}

int TKvBtnDBEdit::GetGlyphIndex() const { return FButton ? FButton->GetGlyphIndex() : 0; }

void TKvBtnDBEdit::SetGlyphIndex(int value) {
  if (FButton) FButton->SetGlyphIndex(value);
}

AnsiString TKvBtnDBEdit::GetButtonHint() const { return FButton ? FButton->Hint : AnsiString(); }

void TKvBtnDBEdit::SetButtonHint(const AnsiString& value) {
  if (FButton) FButton->Hint = value;
}

void TKvBtnDBEdit::SetParent(TWinControl* AParent) {
  TKvDBEdit::SetParent(AParent);
  if (FButton) FButton->SetParent(AParent);
}

void TKvBtnDBEdit::SetVisible(bool value) {
  TKvDBEdit::SetVisible(value);
  if (FButton) FButton->SetVisible(value);
}

void TKvBtnDBEdit::EnabledChanged() {
  TKvDBEdit::EnabledChanged();
  if (FButton) FButton->SetEnabled(GetEnabled());
}

void TKvBtnDBEdit::Notification(TComponent* component, TOperation operation) {
  TKvDBEdit::Notification(component, operation);
  if (operation == opRemove && component == FButton) FButton = nullptr;
}

void TKvBtnDBEdit::PlaceAttachments() {
  TKvDBEdit::PlaceAttachments();
  if (!FButton) return;
  const int size = GetHeight();
  FButton->SetBounds(GetLeft() + GetWidth() + FButtonSpacing, GetTop(), size, size);
}

void TKvBtnDBEdit::ButtonClick(TObject*) {
  if (OnDialog) {
    OnDialog(this);
    return;
  }
  if (CanFocus() && !Focused()) SetFocus();
  if (!Focused()) return;
  // The form that owns the edit runs its lookups, wherever the edit is shown.
  TCustomForm* form = dynamic_cast<TCustomForm*>(GetOwner());
  if (!form) form = GetParentForm(this);
  if (form) SendMessage(form->GetHandle(), WM_F2LOOKUP, 0, ControlToLParam(this));
}

#endif  // TAVO_LEGACY
