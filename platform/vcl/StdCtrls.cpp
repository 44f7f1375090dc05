#include "platform/vcl/StdCtrls.h"

#include "platform/vcl/Forms.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

bool IsLead(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)) != 0; }

// Upper or lower case of the single-byte letters; double-byte characters stay as they are.
AnsiString ChangeCase(const AnsiString& s, TEditCharCase charCase) {
  AnsiString r = s;
  for (size_t i = 0; i < r.size(); ++i) {
    if (IsLead(r[i]) && i + 1 < r.size()) {
      ++i;
      continue;
    }
    switch (charCase) {
      case ecUpperCase:
        if (r[i] >= 'a' && r[i] <= 'z') r[i] = static_cast<char>(r[i] - 'a' + 'A');
        break;
      case ecLowerCase:
        if (r[i] >= 'A' && r[i] <= 'Z') r[i] = static_cast<char>(r[i] - 'A' + 'a');
        break;
      case ecNormal:
        break;
    }
  }
  return r;
}

// The caption as drawn: "&&" is "&", a single "&" marks the next character.
AnsiString StripAccel(const AnsiString& s) {
  AnsiString r;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&') {
      if (i + 1 < s.size() && s[i + 1] == '&') r += '&';
      if (i + 1 < s.size()) ++i;
      else continue;
      if (s[i] != '&') r += s[i];
      continue;
    }
    r += s[i];
  }
  return r;
}

void PrepareFocus(TWinControl* c) {
  if (!c->Focused() && c->CanFocus() && c->Showing() && c->EffectiveEnabled()) c->SetFocus();
}

}  // namespace

// ---- Labels -------------------------------------------------------------------------------

TAVO_PUBLISHED(TCustomLabel, TGraphicControl) {
  P.Message(CM_DIALOGCHAR, &TCustomLabel::CMDialogChar);
  P.Protected();
  P.Enum("Alignment", &TCustomLabel::GetAlignment, &TCustomLabel::SetAlignment);
  P.Obj("FocusControl", &TCustomLabel::GetFocusControl, &TCustomLabel::SetFocusControl);
  P.Enum("Layout", &TCustomLabel::GetLayout, &TCustomLabel::SetLayout);
  P.Bool("ShowAccelChar", &TCustomLabel::GetShowAccelChar, &TCustomLabel::SetShowAccelChar);
  P.Bool("Transparent", &TCustomLabel::GetTransparent, &TCustomLabel::SetTransparent);
  P.Bool("WordWrap", &TCustomLabel::GetWordWrap, &TCustomLabel::SetWordWrap);
}

TAVO_PUBLISHED(TLabel, TCustomLabel) {
  P.Publish({"Align", "Alignment", "Anchors", "AutoSize", "BiDiMode", "Caption", "Color", "DragKind",
             "DragMode", "Enabled", "FocusControl", "Font", "Layout", "ParentBiDiMode", "ParentColor",
             "ParentFont", "ParentShowHint", "PopupMenu", "ShowAccelChar", "ShowHint", "Transparent",
             "Visible", "WordWrap", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csOpaque);
  SetBounds(0, 0, 65, 17);
  FAutoSize = true;
  SetParentColor(true);
}

void TCustomLabel::SetAlignment(TAlignment value) {
  if (FAlignment == value) return;
  FAlignment = value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
  FLayout = value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
  if (FWordWrap == value) return;
  FWordWrap = value;
  AdjustSize();
}

void TCustomLabel::SetTransparent(bool value) {
  FTransparent = value;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
  if (FShowAccelChar == value) return;
  FShowAccelChar = value;
  AdjustSize();
}

void TCustomLabel::CMDialogChar(TMessage& message) {
  if (FFocusControl && GetEnabled() && FShowAccelChar && IsAccel(static_cast<Word>(message.WParam), GetCaption()) &&
      FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    message.Result = 1;
    return;
  }
  DispatchInherited(TCustomLabel::StaticClass(), message);
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
  FFocusControl = value;
  if (value) value->FreeNotification(this);
}

void TCustomLabel::SetAutoSize(bool value) {
  TGraphicControl::SetAutoSize(value);
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustSize();
}

UINT TCustomLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS | DT_NOPREFIX;
  flags |= FWordWrap ? DT_WORDBREAK : DT_SINGLELINE;
  switch (FAlignment) {
    case taLeftJustify:
      flags |= DT_LEFT;
      break;
    case taRightJustify:
      flags |= DT_RIGHT;
      break;
    case taCenter:
      flags |= DT_CENTER;
      break;
  }
  return flags;
}

void TCustomLabel::AdjustSize() {
  if (!GetAutoSize() || GetComponentState().Contains(csReading) || IsLoading()) return;
  AnsiString text = FShowAccelChar ? StripAccel(GetCaption()) : GetCaption();
  if (text.empty()) text = " ";
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  TRect r = GetClientRect();
  DrawText(canvas, text, r, (TextFlags() & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT);
  int x = GetLeft();
  if (FAlignment == taRightJustify) x += GetWidth() - r.Right;
  SetBounds(x, GetTop(), r.Right, r.Bottom);
}

void TCustomLabel::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect r = GetClientRect();
  if (!FTransparent) {
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(r);
  }
  canvas->GetBrush()->SetStyle(bsClear);
  AnsiString text = FShowAccelChar ? StripAccel(GetCaption()) : GetCaption();
  if (FLayout != tlTop) {
    TRect calc = r;
    DrawText(canvas, text, calc, TextFlags() | DT_CALCRECT);
    int offset = r.Height() - calc.Height();
    r.Top += FLayout == tlBottom ? offset : offset / 2;
  }
  if (!GetEnabled()) canvas->GetFont()->SetColor(clGrayText);
  DrawText(canvas, text, r, TextFlags());
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::TextChanged() { AdjustSize(); }
void TCustomLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustSize();
}

// ---- Edits --------------------------------------------------------------------------------

TAVO_PUBLISHED(TCustomEdit, TWinControl) {
  P.Protected();
  P.Bool("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::AutoSelect);
  P.Typed("BorderStyle", BorderStyleTypeInfo(), &TCustomEdit::BorderStyle, &TCustomEdit::BorderStyle);
  P.Enum("CharCase", &TCustomEdit::GetCharCase, &TCustomEdit::SetCharCase);
  P.Bool("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::HideSelection);
  P.Int("MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength);
  P.Bool("OEMConvert", &TCustomEdit::OEMConvert, &TCustomEdit::OEMConvert);
  P.Char("PasswordChar", &TCustomEdit::GetPasswordChar, &TCustomEdit::SetPasswordChar);
  P.Bool("ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly);
  P.Event("OnChange", &TCustomEdit::OnChange);
}

TAVO_PUBLISHED(TEdit, TCustomEdit) {
  P.Publish({"Anchors", "AutoSelect", "AutoSize", "BevelEdges", "BevelInner", "BevelKind", "BevelOuter",
             "BiDiMode", "BorderStyle", "CharCase", "Color", "Ctl3D", "DragKind", "DragMode", "Enabled",
             "Font", "HideSelection", "ImeMode", "ImeName", "MaxLength", "OEMConvert", "ParentBiDiMode",
             "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PasswordChar", "PopupMenu",
             "ReadOnly", "ShowHint", "TabOrder", "TabStop", "Text", "Visible", "OnChange", "OnClick",
             "OnDblClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
             "OnMouseMove", "OnMouseUp"});
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

void TCustomEdit::SetMaxLength(int value) { FMaxLength = std::max(value, 0); }

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (FCharCase == value) return;
  FCharCase = value;
  SetText(GetText());
}

AnsiString TCustomEdit::ApplyCharCase(const AnsiString& s) const { return ChangeCase(s, FCharCase); }

void TCustomEdit::SetText(const AnsiString& value) {
  TWinControl::SetText(ApplyCharCase(value));
  FSelStart = 0;
  FSelLength = 0;
  FLeadByte = '\0';
  Modified = false;
}

void TCustomEdit::TextChanged() {
  int length = static_cast<int>(GetText().size());
  FSelStart = std::min(FSelStart, length);
  FSelLength = std::min(FSelLength, length - FSelStart);
  if (!IsLoading()) Change();
}

void TCustomEdit::Change() { OnChange(this); }

void TCustomEdit::SetSelStart(int value) {
  FSelStart = std::clamp(value, 0, static_cast<int>(GetText().size()));
  FSelLength = 0;
}

void TCustomEdit::SetSelLength(int value) {
  FSelLength = std::clamp(value, 0, static_cast<int>(GetText().size()) - FSelStart);
}

AnsiString TCustomEdit::GetSelText() const { return GetText().substr(FSelStart, FSelLength); }

void TCustomEdit::SetSelText(const AnsiString& value) {
  AnsiString t = GetText();
  t.replace(FSelStart, FSelLength, value);
  int caret = FSelStart + static_cast<int>(value.size());
  FSelLength = 0;
  TWinControl::SetText(t);
  FSelStart = std::min(caret, static_cast<int>(GetText().size()));
  FSelLength = 0;
}

void TCustomEdit::SelectAll() {
  FSelStart = 0;
  FSelLength = static_cast<int>(GetText().size());
}

void TCustomEdit::DoEnter() {
  // Reached by the keyboard, the whole text is selected so typing replaces it.
  if (AutoSelect && !FocusByMouse()) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::UserClick() {
  // The click puts the caret behind the text.
  FSelStart = static_cast<int>(GetText().size());
  FSelLength = 0;
  TWinControl::UserClick();
}

int TCustomEdit::CharBefore(int position) const {
  const AnsiString& t = GetText();
  int i = 0, last = 0;
  while (i < position) {
    last = (IsLead(t[i]) && i + 1 < static_cast<int>(t.size())) ? 2 : 1;
    i += last;
  }
  return last;
}

int TCustomEdit::CharAfter(int position) const {
  const AnsiString& t = GetText();
  if (position >= static_cast<int>(t.size())) return 0;
  return (IsLead(t[position]) && position + 1 < static_cast<int>(t.size())) ? 2 : 1;
}

bool TCustomEdit::TypeInsert(const AnsiString& bytes) {
  AnsiString s = ApplyCharCase(bytes);
  int length = static_cast<int>(GetText().size());
  if (FMaxLength > 0 && length - FSelLength + static_cast<int>(s.size()) > FMaxLength) return false;
  SetSelText(s);
  Modified = true;
  return true;
}

void TCustomEdit::DefaultKeyDown(Word key, TShiftState shift) {
  int length = static_cast<int>(GetText().size());
  bool extend = shift.Contains(ssShift);
  int caret = FSelStart + FSelLength;
  auto moveTo = [&](int position) {
    position = std::clamp(position, 0, length);
    if (extend) {
      if (position >= FSelStart) {
        FSelLength = position - FSelStart;
      } else {
        FSelLength = FSelStart + FSelLength - position;
        FSelStart = position;
      }
    } else {
      FSelStart = position;
      FSelLength = 0;
    }
  };
  switch (key) {
    case VK_DELETE:
      if (FReadOnly) return;
      if (FSelLength == 0) FSelLength = CharAfter(FSelStart);
      if (FSelLength > 0) {
        SetSelText("");
        Modified = true;
      }
      return;
    case VK_LEFT:
      moveTo(FSelLength && !extend ? FSelStart : caret - CharBefore(caret));
      return;
    case VK_RIGHT:
      moveTo(FSelLength && !extend ? caret : caret + CharAfter(caret));
      return;
    case VK_HOME:
      moveTo(0);
      return;
    case VK_END:
      moveTo(length);
      return;
    default:
      return;
  }
}

void TCustomEdit::DefaultChar(char key) {
  if (FLeadByte) {
    AnsiString pair{FLeadByte, key};
    FLeadByte = '\0';
    if (!FReadOnly) TypeInsert(pair);
    return;
  }
  if (IsLead(key)) {
    FLeadByte = key;
    return;
  }
  if (key == '\b') {
    if (FReadOnly) return;
    if (FSelLength == 0 && FSelStart > 0) {
      int n = CharBefore(FSelStart);
      FSelStart -= n;
      FSelLength = n;
    }
    if (FSelLength > 0) {
      SetSelText("");
      Modified = true;
    }
    return;
  }
  if (static_cast<unsigned char>(key) < 32 || key == '\x7f') return;
  if (!FReadOnly) TypeInsert(AnsiString(1, key));
}

// ---- Memo ---------------------------------------------------------------------------------

TAVO_CLASS_IMPL(TMemoStrings, TStrings)

std::vector<int> TMemoStrings::LineStarts() const {
  const AnsiString t = FMemo->GetText();
  std::vector<int> starts{0};
  for (size_t i = 0; i + 1 < t.size(); ++i)
    if (t[i] == '\r' && t[i + 1] == '\n') {
      starts.push_back(static_cast<int>(i + 2));
      ++i;
    }
  return starts;
}

int TMemoStrings::GetCount() const {
  std::vector<int> starts = LineStarts();
  int count = static_cast<int>(starts.size());
  if (starts.back() == static_cast<int>(FMemo->GetText().size())) --count;
  return count;
}

AnsiString TMemoStrings::Get(int index) const {
  if (index < 0 || index >= GetCount()) IndexError(index);
  std::vector<int> starts = LineStarts();
  const AnsiString t = FMemo->GetText();
  int end = index + 1 < static_cast<int>(starts.size()) ? starts[index + 1] - 2 : static_cast<int>(t.size());
  return t.substr(starts[index], end - starts[index]);
}

void TMemoStrings::InsertObject(int index, const AnsiString& s, TObject*) {
  if (index < 0 || index > GetCount()) IndexError(index);
  std::vector<int> starts = LineStarts();
  AnsiString t = FMemo->GetText();
  if (index < static_cast<int>(starts.size())) {
    t.insert(starts[index], s + "\r\n");
  } else {
    if (static_cast<int>(t.size()) == starts.back()) return;
    t += "\r\n" + s;
  }
  FMemo->TControl::SetText(t);
}

void TMemoStrings::Delete(int index) {
  if (index < 0 || index >= GetCount()) IndexError(index);
  std::vector<int> starts = LineStarts();
  AnsiString t = FMemo->GetText();
  int end = index + 1 < static_cast<int>(starts.size()) ? starts[index + 1] : static_cast<int>(t.size());
  t.erase(starts[index], end - starts[index]);
  FMemo->TControl::SetText(t);
}

void TMemoStrings::Put(int index, const AnsiString& s) {
  if (index < 0 || index >= GetCount()) IndexError(index);
  std::vector<int> starts = LineStarts();
  AnsiString t = FMemo->GetText();
  int end = index + 1 < static_cast<int>(starts.size()) ? starts[index + 1] - 2 : static_cast<int>(t.size());
  t.replace(starts[index], end - starts[index], s);
  FMemo->TControl::SetText(t);
}

void TMemoStrings::Clear() { FMemo->SetText(""); }

void TMemoStrings::SetUpdateState(bool) {}

TAVO_PUBLISHED(TCustomMemo, TCustomEdit) {
  P.Protected();
  P.Enum("Alignment", &TCustomMemo::Alignment, &TCustomMemo::Alignment);
  P.Obj("Lines", &TCustomMemo::GetLines, &TCustomMemo::SetLines);
  P.Enum("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::ScrollBars);
  P.Bool("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::WantReturns);
  P.Bool("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::WantTabs);
  P.Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::WordWrap);
}

TAVO_PUBLISHED(TMemo, TCustomMemo) {
  P.Publish({"Align", "Alignment", "Anchors", "BevelEdges", "BevelInner", "BevelKind", "BevelOuter",
             "BiDiMode", "BorderStyle", "Color", "Ctl3D", "DragKind", "DragMode", "Enabled", "Font",
             "HideSelection", "ImeMode", "ImeName", "Lines", "MaxLength", "OEMConvert", "ParentBiDiMode",
             "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ReadOnly",
             "ScrollBars", "ShowHint", "TabOrder", "TabStop", "Visible", "WantReturns", "WantTabs",
             "WordWrap", "OnChange", "OnClick", "OnDblClick", "OnEnter", "OnExit", "OnKeyDown",
             "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
  SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

int TCustomMemo::DialogCode() const {
  int code = DLGC_WANTCHARS | DLGC_WANTARROWS;
  if (WantReturns) code |= DLGC_WANTALLKEYS;
  if (WantTabs) code |= DLGC_WANTTAB;
  return code;
}

TPoint TCustomMemo::GetCaretPos() const {
  const AnsiString t = GetText();
  int line = 0, start = 0;
  for (int i = 0; i + 2 <= FSelStart; ++i)
    if (t[i] == '\r' && t[i + 1] == '\n') {
      ++line;
      start = i + 2;
      ++i;
    }
  return TPoint{FSelStart - start, line};
}

void TCustomMemo::SetCaretPos(const TPoint& value) {
  const AnsiString t = GetText();
  int line = 0, start = 0;
  for (size_t i = 0; line < value.Y && i + 1 < t.size(); ++i)
    if (t[i] == '\r' && t[i + 1] == '\n') {
      ++line;
      start = static_cast<int>(i + 2);
      ++i;
    }
  size_t end = t.find("\r\n", start);
  int lineLength = static_cast<int>((end == AnsiString::npos ? t.size() : end) - start);
  SetSelStart(start + std::clamp(value.X, 0, lineLength));
}

void TCustomMemo::DoEnter() { TWinControl::DoEnter(); }

void TCustomMemo::DefaultChar(char key) {
  if (key == '\r') {
    if (WantReturns && !GetReadOnly()) TypeInsert("\r\n");
    return;
  }
  if (key == '\t') {
    if (WantTabs && !GetReadOnly()) TypeInsert("\t");
    return;
  }
  TCustomEdit::DefaultChar(key);
}

void TCustomMemo::DefaultKeyDown(Word key, TShiftState shift) {
  if (key == VK_UP || key == VK_DOWN) {
    TPoint p = GetCaretPos();
    p.Y += key == VK_UP ? -1 : 1;
    if (p.Y >= 0 && p.Y < std::max(FLines->Count(), 1) + 1) SetCaretPos(p);
    return;
  }
  TCustomEdit::DefaultKeyDown(key, shift);
}

// ---- Buttons ------------------------------------------------------------------------------

TAVO_CLASS_IMPL(TButtonControl, TWinControl)

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(true); }

void TButtonControl::DefaultKeyDown(Word key, TShiftState shift) {
  if (key == VK_SPACE) FSpaceDown = true;
}

void TButtonControl::DefaultKeyUp(Word key, TShiftState shift) {
  if (key == VK_SPACE && FSpaceDown) {
    FSpaceDown = false;
    UserClick();
  }
}

TAVO_PUBLISHED(TButton, TButtonControl) {
  P.Publish({"Anchors", "BiDiMode", "Caption", "DragKind", "DragMode", "Enabled", "Font", "ParentBiDiMode",
             "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible",
             "OnClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
             "OnMouseMove", "OnMouseUp"});
  P.Bool("Cancel", &TButton::GetCancel, &TButton::SetCancel);
  P.Bool("Default", &TButton::GetDefault, &TButton::SetDefault);
  P.Int("ModalResult", &TButton::ModalResult, &TButton::ModalResult, "TModalResult");
  P.Message(CM_DIALOGCHAR, &TButton::CMDialogChar);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 75, 25); }

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->ModalResult = ModalResult;
  TButtonControl::Click();
}

bool TButton::IsActive() const {
  if (Focused()) return true;
  TWinControl* focused = FocusedControl();
  if (focused && dynamic_cast<TButton*>(focused) && GetParentForm(focused) == GetParentForm(this)) return false;
  return FDefault;
}

void TButton::CMDialogChar(TMessage& message) {
  if (!IsAccel(static_cast<Word>(message.WParam), GetCaption()) || !CanFocus()) {
    DispatchInherited(TButton::StaticClass(), message);
    return;
  }
  Click();
  message.Result = 1;
}

void TButton::DefaultHandler(TMessage& message) {
  if (message.Msg == CM_DIALOGKEY) {
    TShiftState shift = TShiftState::FromBits(static_cast<uint32_t>(message.LParam));
    bool plain = !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
    if (plain && ((message.WParam == VK_RETURN && IsActive()) || (message.WParam == VK_ESCAPE && FCancel)) &&
        CanFocus() && EffectiveEnabled()) {
      Click();
      message.Result = 1;
      return;
    }
  }
  TButtonControl::DefaultHandler(message);
}

TAVO_PUBLISHED(TCustomCheckBox, TButtonControl) {
  P.Message(CM_DIALOGCHAR, &TCustomCheckBox::CMDialogChar);
  P.Protected();
  P.Enum("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::Alignment);
  P.Bool("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::AllowGrayed);
  P.Bool("Checked", &TCustomCheckBox::GetChecked, &TCustomCheckBox::SetChecked);
  P.Enum("State", &TCustomCheckBox::GetState, &TCustomCheckBox::SetState);
}

TAVO_PUBLISHED(TCheckBox, TCustomCheckBox) {
  P.Publish({"Alignment", "AllowGrayed", "Anchors", "BiDiMode", "Caption", "Checked", "Color", "Ctl3D",
             "DragKind", "DragMode", "Enabled", "Font", "ParentBiDiMode", "ParentColor", "ParentCtl3D",
             "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "State", "TabOrder", "TabStop",
             "Visible", "OnClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
             "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::SetState(TCheckBoxState value) {
  if (FState == value) return;
  FState = value;
  Invalidate();
  Click();
}

void TCustomCheckBox::CMDialogChar(TMessage& message) {
  if (!IsAccel(static_cast<Word>(message.WParam), GetCaption()) || !CanFocus()) {
    DispatchInherited(TCustomCheckBox::StaticClass(), message);
    return;
  }
  SetFocus();
  if (Focused()) Toggle();
  message.Result = 1;
}

TCheckBoxState ToggledState(TCheckBoxState state, bool allowGrayed) {
  switch (state) {
    case cbUnchecked: return allowGrayed ? cbGrayed : cbChecked;
    case cbChecked: return cbUnchecked;
    case cbGrayed: break;
  }
  return cbChecked;
}

void TCustomCheckBox::Toggle() { SetState(ToggledState(FState, AllowGrayed)); }

TAVO_PUBLISHED(TRadioButton, TButtonControl) {
  P.Publish({"Anchors", "BiDiMode", "Caption", "Color", "Ctl3D", "DragKind", "DragMode", "Enabled", "Font",
             "ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu",
             "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnDblClick", "OnEnter", "OnExit",
             "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
  P.Enum("Alignment", &TRadioButton::Alignment, &TRadioButton::Alignment);
  P.Bool("Checked", &TRadioButton::GetChecked, &TRadioButton::SetChecked);
  P.Message(CM_DIALOGCHAR, &TRadioButton::CMDialogChar);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(false);
}

void TRadioButton::SetChecked(bool value) {
  if (FChecked == value) return;
  FChecked = value;
  SetTabStop(value);
  Invalidate();
  if (!value) return;
  if (TWinControl* parent = GetParent())
    for (TControl* c : std::vector<TControl*>(parent->Controls()))
      if (auto* sibling = dynamic_cast<TRadioButton*>(c); sibling && sibling != this) sibling->SetChecked(false);
  Click();
}

void TRadioButton::CMDialogChar(TMessage& message) {
  if (!IsAccel(static_cast<Word>(message.WParam), GetCaption()) || !CanFocus()) {
    DispatchInherited(TRadioButton::StaticClass(), message);
    return;
  }
  SetFocus();
  message.Result = 1;
}

void TRadioButton::DoEnter() {
  TButtonControl::DoEnter();
  if (!FocusByMouse() && !FChecked && Focused()) SetChecked(true);
}

// ---- Group box ----------------------------------------------------------------------------

TAVO_PUBLISHED(TCustomGroupBox, TCustomControl) { P.Message(CM_DIALOGCHAR, &TCustomGroupBox::CMDialogChar); }

TAVO_PUBLISHED(TGroupBox, TCustomGroupBox) {
  P.Publish({"Align", "Anchors", "BiDiMode", "Caption", "Color", "Ctl3D", "DragKind", "DragMode", "Enabled",
             "Font", "ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint",
             "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnDblClick", "OnEnter",
             "OnExit", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle.Include(csAcceptsControls);
  SetBounds(0, 0, 185, 105);
  SetParentColor(true);
}

void TCustomGroupBox::CMDialogChar(TMessage& message) {
  if (!IsAccel(static_cast<Word>(message.WParam), GetCaption()) || !CanFocus()) {
    DispatchInherited(TCustomGroupBox::StaticClass(), message);
    return;
  }
  SelectFirst();
  message.Result = 1;
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) {
  GetCanvas()->SetFont(GetFont());
  rect.Top += GetCanvas()->TextHeight("0");
  InflateRect(rect, -1, -1);
  if (Ctl3D) InflateRect(rect, -1, -1);
}

void TCustomGroupBox::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect r = GetClientRect();
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(r);
  int h = canvas->TextHeight("0");
  canvas->GetBrush()->SetColor(clBtnShadow);
  canvas->FrameRect(Rect(0, h / 2, r.Right, r.Bottom));
  canvas->GetBrush()->SetColor(GetColor());
  if (!GetCaption().empty()) canvas->TextOut(8, 0, StripAccel(GetCaption()));
}

// ---- Lists --------------------------------------------------------------------------------

TAVO_CLASS_IMPL(TListControlStrings, TStringList)

void TListControlStrings::Changed() {
  TStringList::Changed();
  if (UpdateCount() == 0 && FChanged) FChanged();
}

TAVO_PUBLISHED(TCustomComboBox, TWinControl) {
  P.Protected();
  P.Enum("Style", &TCustomComboBox::GetStyle, &TCustomComboBox::SetStyle);
  P.Bool("AutoComplete", &TCustomComboBox::AutoComplete, &TCustomComboBox::AutoComplete);
  P.Enum("CharCase", &TCustomComboBox::CharCase, &TCustomComboBox::CharCase);
  P.Int("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::DropDownCount);
  P.Int("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::ItemHeight);
  P.Int("ItemIndex", &TCustomComboBox::GetItemIndex, &TCustomComboBox::SetItemIndex);
  P.Int("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::MaxLength);
  P.Bool("Sorted", &TCustomComboBox::GetSorted, &TCustomComboBox::SetSorted);
  P.Obj("Items", &TCustomComboBox::GetItems, &TCustomComboBox::SetItems);
  P.Event("OnChange", &TCustomComboBox::OnChange);
  P.Event("OnCloseUp", &TCustomComboBox::OnCloseUp);
  P.Event("OnDrawItem", &TCustomComboBox::OnDrawItem);
  P.Event("OnDropDown", &TCustomComboBox::OnDropDown);
  P.Event("OnMeasureItem", &TCustomComboBox::OnMeasureItem);
  P.Event("OnSelect", &TCustomComboBox::OnSelect);
}

TAVO_PUBLISHED(TComboBox, TCustomComboBox) {
  P.Publish({"Style", "AutoComplete", "Anchors", "BevelEdges", "BevelInner", "BevelKind", "BevelOuter",
             "BiDiMode", "CharCase", "Color", "Ctl3D", "DragKind", "DragMode", "DropDownCount", "Enabled",
             "Font", "ImeMode", "ImeName", "ItemHeight", "ItemIndex", "MaxLength", "ParentBiDiMode",
             "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "Sorted",
             "TabOrder", "TabStop", "Text", "Visible", "OnChange", "OnClick", "OnCloseUp", "OnDblClick",
             "OnDrawItem", "OnDropDown", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
             "OnMeasureItem", "OnSelect", "Items"});
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TListControlStrings>([this] { ItemsChanged(); })),
      FCanvas(std::make_unique<TControlCanvas>()) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::ItemsChanged() {
  int count = FItems->Count();
  if (count == 0) {
    FItemIndex = -1;
    if (!GetText().empty()) TWinControl::SetText("");
  } else if (FItemIndex >= count) {
    FItemIndex = -1;
    if (!IsEditable()) TWinControl::SetText("");
  }
}

void TCustomComboBox::SetItemIndex(int value) {
  if (IsLoading()) {
    // Items may follow ItemIndex in a resource; Loaded applies it.
    FItemIndex = value;
    return;
  }
  if (value < -1 || value >= FItems->Count()) value = -1;
  FItemIndex = value;
  TWinControl::SetText(value >= 0 ? FItems->Get(value) : AnsiString());
}

void TCustomComboBox::Loaded() {
  TWinControl::Loaded();
  int pending = FItemIndex;
  if (pending >= 0 && pending < FItems->Count())
    SetItemIndex(pending);
  else if (!IsEditable())
    SetItemIndex(-1);
  else
    FItemIndex = FItems->IndexOf(GetText());
}

void TCustomComboBox::SetText(const AnsiString& value) {
  if (IsLoading()) {
    TWinControl::SetText(value);
    return;
  }
  int index = FItems->IndexOf(value);
  if (IsEditable()) {
    FItemIndex = index;
    TWinControl::SetText(value);
  } else {
    SetItemIndex(index);
  }
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
  FStyle = value;
  if (!IsEditable() && !IsLoading()) SetItemIndex(FItemIndex);
}

void TCustomComboBox::SetSorted(bool value) {
  FSorted = value;
  AnsiString selected = FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItems->Get(FItemIndex) : AnsiString();
  FItems->SetSorted(value);
  if (FItemIndex >= 0) FItemIndex = FItems->IndexOf(selected);
}

void TCustomComboBox::SetDroppedDown(bool value) {
  if (FDroppedDown == value) return;
  if (value) OnDropDown(this);
  FDroppedDown = value;
  if (!value) OnCloseUp(this);
}

void TCustomComboBox::Change() { OnChange(this); }

void TCustomComboBox::SelectByUser(int index) {
  if (!Showing() || !EffectiveEnabled()) return;
  PrepareFocus(this);
  if (index < -1 || index >= FItems->Count()) return;
  SetItemIndex(index);
  Click();
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  FCanvas->Resize(GetWidth(), std::max(rect.Bottom, GetHeight()));
  FCanvas->SetFont(GetFont());
  FCanvas->GetBrush()->SetColor(state.Contains(odSelected) ? clHighlight : GetColor());
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  FCanvas->FillRect(rect);
  if (index >= 0 && index < FItems->Count()) FCanvas->TextOut(rect.Left + 2, rect.Top, FItems->Get(index));
}

void TCustomComboBox::DefaultKeyDown(Word key, TShiftState shift) {
  if ((key == VK_DOWN || key == VK_UP) && shift.Contains(ssAlt)) {
    SetDroppedDown(!FDroppedDown);
    return;
  }
  if (key == VK_F4) {
    SetDroppedDown(!FDroppedDown);
    return;
  }
  int count = FItems->Count();
  int target = FItemIndex;
  switch (key) {
    case VK_UP:
    case VK_LEFT:
      if (!IsEditable() || key == VK_UP) target = std::max(FItemIndex - 1, 0);
      break;
    case VK_DOWN:
    case VK_RIGHT:
      if (!IsEditable() || key == VK_DOWN) target = std::min(FItemIndex + 1, count - 1);
      break;
    case VK_HOME:
      if (!IsEditable()) target = 0;
      break;
    case VK_END:
      if (!IsEditable()) target = count - 1;
      break;
    case VK_RETURN:
    case VK_ESCAPE:
      SetDroppedDown(false);
      return;
    default:
      return;
  }
  if (count == 0 || target == FItemIndex || target < 0) return;
  SetItemIndex(target);
  Click();
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::DefaultChar(char key) {
  if (!IsEditable()) {
    // A drop-down list selects the next item starting with the character.
    if (static_cast<unsigned char>(key) < 32) return;
    int count = FItems->Count();
    for (int step = 1; step <= count; ++step) {
      int i = (std::max(FItemIndex, -1) + step) % count;
      AnsiString item = FItems->Get(i);
      if (!item.empty() && std::toupper(static_cast<unsigned char>(item[0])) == std::toupper(static_cast<unsigned char>(key))) {
        if (i != FItemIndex) {
          SetItemIndex(i);
          Click();
          if (OnSelect)
            OnSelect(this);
          else
            Change();
        }
        return;
      }
    }
    return;
  }
  AnsiString t = GetText();
  if (FLeadByte) {
    AnsiString pair{FLeadByte, key};
    FLeadByte = '\0';
    if (MaxLength > 0 && static_cast<int>(t.size() + 2) > MaxLength) return;
    t += pair;
  } else if (IsLead(key)) {
    FLeadByte = key;
    return;
  } else if (key == '\b') {
    if (t.empty()) return;
    size_t i = 0, last = 0;
    while (i < t.size()) {
      last = (IsLead(t[i]) && i + 1 < t.size()) ? 2 : 1;
      i += last;
    }
    t.erase(t.size() - last);
  } else if (static_cast<unsigned char>(key) >= 32 && key != '\x7f') {
    if (MaxLength > 0 && static_cast<int>(t.size() + 1) > MaxLength) return;
    t += ChangeCase(AnsiString(1, key), CharCase);
  } else {
    return;
  }
  FItemIndex = FItems->IndexOf(t);
  TWinControl::SetText(t);
  Change();
}

TAVO_PUBLISHED(TCustomListBox, TWinControl) {
  P.Protected();
  P.Enum("Style", &TCustomListBox::GetStyle, &TCustomListBox::SetStyle);
  P.Typed("BorderStyle", BorderStyleTypeInfo(), &TCustomListBox::BorderStyle, &TCustomListBox::BorderStyle);
  P.Int("Columns", &TCustomListBox::Columns, &TCustomListBox::Columns);
  P.Bool("ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::ExtendedSelect);
  P.Bool("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::IntegralHeight);
  P.Int("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::ItemHeight);
  P.Obj("Items", &TCustomListBox::GetItems, &TCustomListBox::SetItems);
  P.Bool("MultiSelect", &TCustomListBox::GetMultiSelect, &TCustomListBox::SetMultiSelect);
  P.Bool("Sorted", &TCustomListBox::GetSorted, &TCustomListBox::SetSorted);
  P.Event("OnDrawItem", &TCustomListBox::OnDrawItem);
  P.Event("OnMeasureItem", &TCustomListBox::OnMeasureItem);
}

TAVO_PUBLISHED(TListBox, TCustomListBox) {
  P.Publish({"Style", "Align", "Anchors", "BevelEdges", "BevelInner", "BevelKind", "BevelOuter", "BiDiMode",
             "BorderStyle", "Color", "Columns", "Ctl3D", "DragKind", "DragMode", "Enabled", "ExtendedSelect",
             "Font", "ImeMode", "ImeName", "IntegralHeight", "ItemHeight", "Items", "MultiSelect",
             "ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu",
             "ShowHint", "Sorted", "TabOrder", "TabStop", "Visible", "OnClick", "OnDblClick", "OnDrawItem",
             "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMeasureItem", "OnMouseDown",
             "OnMouseMove", "OnMouseUp"});
}

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TListControlStrings>([this] { ItemsChanged(); })),
      FCanvas(std::make_unique<TControlCanvas>()) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::ItemsChanged() {
  int count = FItems->Count();
  FSelected.resize(count, false);
  if (FItemIndex >= count) FItemIndex = -1;
}

void TCustomListBox::SetItemIndex(int value) {
  int count = FItems->Count();
  if (value < -1 || value >= count) value = -1;
  FItemIndex = value;
  if (!FMultiSelect) {
    FSelected.assign(count, false);
    if (value >= 0) FSelected[value] = true;
  }
}

bool TCustomListBox::GetSelected(int index) const {
  if (index < 0 || index >= FItems->Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  if (!FMultiSelect) return index == FItemIndex;
  return index < static_cast<int>(FSelected.size()) && FSelected[index];
}

void TCustomListBox::SetSelected(int index, bool value) {
  if (index < 0 || index >= FItems->Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  if (FMultiSelect) {
    FSelected.resize(FItems->Count(), false);
    FSelected[index] = value;
  } else if (value) {
    SetItemIndex(index);
  } else if (index == FItemIndex) {
    SetItemIndex(-1);
  }
}

int TCustomListBox::GetSelCount() const {
  if (!FMultiSelect) return -1;
  return static_cast<int>(std::count(FSelected.begin(), FSelected.end(), true));
}

void TCustomListBox::SetMultiSelect(bool value) {
  if (FMultiSelect == value) return;
  FMultiSelect = value;
  FSelected.assign(FItems->Count(), false);
  if (!value && FItemIndex >= 0) FSelected[FItemIndex] = true;
}

void TCustomListBox::SetSorted(bool value) {
  FSorted = value;
  FItems->SetSorted(value);
}

void TCustomListBox::ClearSelection() {
  FSelected.assign(FItems->Count(), false);
  if (!FMultiSelect) FItemIndex = -1;
}

void TCustomListBox::SelectAll() {
  if (FMultiSelect) FSelected.assign(FItems->Count(), true);
}

void TCustomListBox::SelectByUser(int index, TShiftState shift) {
  if (!Showing() || !EffectiveEnabled()) return;
  PrepareFocus(this);
  if (index < 0 || index >= FItems->Count()) return;
  if (FMultiSelect) {
    FSelected.resize(FItems->Count(), false);
    if (shift.Contains(ssCtrl)) {
      FSelected[index] = !FSelected[index];
    } else if (shift.Contains(ssShift) && ExtendedSelect && FItemIndex >= 0) {
      FSelected.assign(FItems->Count(), false);
      for (int i = std::min(FItemIndex, index); i <= std::max(FItemIndex, index); ++i) FSelected[i] = true;
    } else {
      FSelected.assign(FItems->Count(), false);
      FSelected[index] = true;
    }
    FItemIndex = index;
  } else {
    SetItemIndex(index);
  }
  Click();
}

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  FCanvas->Resize(GetWidth(), std::max(rect.Bottom, GetHeight()));
  FCanvas->SetFont(GetFont());
  FCanvas->GetBrush()->SetColor(state.Contains(odSelected) ? clHighlight : GetColor());
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  FCanvas->FillRect(rect);
  if (index >= 0 && index < FItems->Count()) FCanvas->TextOut(rect.Left + 2, rect.Top, FItems->Get(index));
}

void TCustomListBox::DefaultKeyDown(Word key, TShiftState shift) {
  int count = FItems->Count();
  if (count == 0) return;
  int page = std::max(GetHeight() / std::max(ItemHeight, 1), 1);
  int target = FItemIndex;
  switch (key) {
    case VK_UP:
      target = std::max(FItemIndex - 1, 0);
      break;
    case VK_DOWN:
      target = std::min(FItemIndex + 1, count - 1);
      break;
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = count - 1;
      break;
    case VK_PRIOR:
      target = std::max(FItemIndex - page, 0);
      break;
    case VK_NEXT:
      target = std::min(FItemIndex + page, count - 1);
      break;
    default:
      return;
  }
  if (target == FItemIndex) return;
  SelectByUser(target, shift.Contains(ssShift) ? TShiftState{ssShift} : TShiftState{});
}

static TClassRegistration StdControlClasses{
    TLabel::StaticClass(),       TEdit::StaticClass(),     TMemo::StaticClass(),
    TButton::StaticClass(),      TCheckBox::StaticClass(), TRadioButton::StaticClass(),
    TGroupBox::StaticClass(),    TComboBox::StaticClass(), TListBox::StaticClass()};
