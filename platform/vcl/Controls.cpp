#include "platform/vcl/Controls.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <deque>
#include <map>

namespace {

// ---- The process's window table and message queue ---------------------------------------

struct TWindowTable {
  std::map<HWND, TWinControl*> Controls;
  std::map<HWND, std::function<void(TMessage&)>> Plain;
  std::map<uint64_t, TControl*> BySerial;
  HWND NextHandle = 0x00010010;
  uint64_t NextSerial = 1;
};

TWindowTable& Windows() {
  static auto* table = new TWindowTable;
  return *table;
}

struct TPosted {
  HWND Handle = 0;
  uint64_t Serial = 0;
  TMessage Message;
};

std::deque<TPosted>& Queue() {
  static auto* queue = new std::deque<TPosted>;
  return *queue;
}

HWND NewHandle() {
  HWND h = Windows().NextHandle;
  Windows().NextHandle += 4;
  return h;
}

// The window that has the keyboard focus (Windows' GetFocus).
TWinControl* GFocus = nullptr;

bool IsAlive(uint64_t serial) { return Windows().BySerial.count(serial) != 0; }

LPARAM ShiftToLParam(TShiftState shift) { return static_cast<LPARAM>(shift.Bits()); }
TShiftState LParamToShift(LPARAM value) { return TShiftState::FromBits(static_cast<uint32_t>(value)); }

// Whether a mouse button is down while focus moves: radio buttons check themselves only
// when reached by keyboard.
bool GMouseFocus = false;

}  // namespace

bool ModalResultToIdent(int value, AnsiString& ident) {
  static const TIdentMapEntry map[] = {{mrNone, "mrNone"},   {mrOk, "mrOk"},         {mrCancel, "mrCancel"},
                                       {mrAbort, "mrAbort"}, {mrRetry, "mrRetry"},   {mrIgnore, "mrIgnore"},
                                       {mrYes, "mrYes"},     {mrNo, "mrNo"},         {mrAll, "mrAll"},
                                       {mrNoToAll, "mrNoToAll"}, {mrYesToAll, "mrYesToAll"}};
  return IntToIdent(value, ident, map);
}

bool IdentToModalResult(const AnsiString& ident, int& value) {
  for (int v = mrNone; v <= mrYesToAll; ++v) {
    AnsiString name;
    ModalResultToIdent(v, name);
    if (name.size() == ident.size() &&
        std::equal(name.begin(), name.end(), ident.begin(), [](char a, char b) {
          return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
        })) {
      value = v;
      return true;
    }
  }
  return false;
}

namespace {
// Buttons publish their modal result under the mr names.
struct TModalResultConsts {
  TModalResultConsts() { RegisterIntegerConsts("TModalResult", IdentToModalResult, ModalResultToIdent); }
} ModalResultConsts;
}  // namespace

const TTypeInfo* BorderStyleTypeInfo() {
  static const TTypeInfo* info = EnumTypeInfo("TBorderStyle", "bsNone, bsSingle");
  return info;
}

// ---- TControl -----------------------------------------------------------------------------

TAVO_PUBLISHED(TControl, TComponent) {
  P.Int("Left", &TControl::GetLeft, &TControl::SetLeft);
  P.Int("Top", &TControl::GetTop, &TControl::SetTop);
  P.Int("Width", &TControl::GetWidth, &TControl::SetWidth);
  P.Int("Height", &TControl::GetHeight, &TControl::SetHeight);
  P.Int("Cursor", &TControl::GetCursor, &TControl::SetCursor, "TCursor");
  P.Str("Hint", &TControl::Hint, &TControl::Hint);
  P.Int("HelpContext", &TControl::HelpContext, &TControl::HelpContext);
  P.Str("HelpKeyword", &TControl::HelpKeyword, &TControl::HelpKeyword);
  P.Enum("HelpType", &TControl::HelpType, &TControl::HelpType);
  P.Protected();
  P.Enum("Align", &TControl::GetAlign, &TControl::SetAlign);
  P.Set("Anchors", &TControl::Anchors, &TControl::Anchors);
  P.Bool("AutoSize", &TControl::GetAutoSize, &TControl::SetAutoSize);
  P.Enum("BiDiMode", &TControl::BiDiMode, &TControl::BiDiMode);
  P.Str("Caption", &TControl::GetCaption, &TControl::SetCaption);
  P.Int("ClientHeight", &TControl::GetClientHeight, &TControl::SetClientHeight);
  P.Int("ClientWidth", &TControl::GetClientWidth, &TControl::SetClientWidth);
  P.Int("Color", &TControl::GetColor, &TControl::SetColor, "TColor");
  P.Enum("DragKind", &TControl::DragKind, &TControl::DragKind);
  P.Enum("DragMode", &TControl::DragMode, &TControl::DragMode);
  P.Bool("Enabled", &TControl::GetEnabled, &TControl::SetEnabled);
  P.Obj("Font", &TControl::GetFont, &TControl::SetFont);
  P.Bool("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::ParentBiDiMode);
  P.Bool("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor);
  P.Bool("ParentFont", &TControl::GetParentFont, &TControl::SetParentFont);
  P.Bool("ParentShowHint", &TControl::GetParentShowHint, &TControl::SetParentShowHint);
  P.Obj("PopupMenu", &TControl::GetPopupMenu, &TControl::SetPopupMenu);
  P.Bool("ShowHint", &TControl::GetShowHint, &TControl::SetShowHint);
  P.Str("Text", &TControl::GetText, &TControl::SetText);
  P.Bool("Visible", &TControl::GetVisible, &TControl::SetVisible);
  P.Event("OnClick", &TControl::OnClick);
  P.Event("OnDblClick", &TControl::OnDblClick);
  P.Event("OnMouseDown", &TControl::OnMouseDown);
  P.Event("OnMouseMove", &TControl::OnMouseMove);
  P.Event("OnMouseUp", &TControl::OnMouseUp);
  P.Event("OnResize", &TControl::OnResize);
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  FSerial = Windows().NextSerial++;
  Windows().BySerial[FSerial] = this;
  FFont->OnChange = TNotifyEvent(this, &TControl::FontOnChange);
}

TControl::~TControl() {
  Destroying();
  if (FParent) FParent->RemoveControl(this);
  Windows().BySerial.erase(FSerial);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (auto* self = dynamic_cast<TWinControl*>(this); self && AParent && self->ContainsControl(AParent))
    throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (AWidth < 0) AWidth = 0;
  if (AHeight < 0) AHeight = 0;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool resized = AWidth != FWidth || AHeight != FHeight;
  bool moved = ALeft != FLeft || ATop != FTop;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();
  if (moved) Perform(WM_MOVE, 0, (FTop << 16) | (FLeft & 0xFFFF));
  if (resized) {
    Perform(WM_SIZE, 0, (FHeight << 16) | (FWidth & 0xFFFF));
    if (!IsLoading()) Resize();
  }
  RequestAlign();
}

void TControl::RequestAlign() {
  if (FParent && FAlign != alNone) FParent->Realign();
}

TRect TControl::GetClientRect() const { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(int value) { SetWidth(FWidth - GetClientWidth() + value); }
void TControl::SetClientHeight(int value) { SetHeight(FHeight - GetClientHeight() + value); }

TPoint TControl::ClientToScreen(const TPoint& p) const {
  TPoint r{p.X + FLeft, p.Y + FTop};
  for (TWinControl* c = FParent; c; c = c->GetParent()) {
    r.X += c->GetLeft();
    r.Y += c->GetTop();
  }
  return r;
}

TPoint TControl::ScreenToClient(const TPoint& p) const {
  TPoint origin = ClientToScreen(TPoint{0, 0});
  return TPoint{p.X - origin.X, p.Y - origin.Y};
}

void TControl::SetAlign(TAlign value) {
  if (FAlign == value) return;
  TAlign old = FAlign;
  FAlign = value;
  if (FParent && (old != alNone || value != alNone)) FParent->Realign();
}

void TControl::SetVisible(bool value) {
  if (FVisible == value) return;
  VisibleChanging();
  FVisible = value;
  Invalidate();
  Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
  if (FParent && FAlign != alNone) FParent->Realign();
}

bool TControl::Showing() const {
  const TControl* c = this;
  while (c) {
    if (!c->FVisible) return false;
    if (dynamic_cast<const TCustomForm*>(c)) return true;
    c = c->FParent;
  }
  return false;
}

void TControl::SetEnabled(bool value) {
  if (FEnabled == value) return;
  FEnabled = value;
  Invalidate();
  EnabledChanged();
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

bool TControl::EffectiveEnabled() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FEnabled) return false;
  return true;
}

void TControl::SetText(const AnsiString& value) {
  if (FText == value) return;
  FText = value;
  Invalidate();
  TextChanged();
  Perform(CM_TEXTCHANGED, 0, 0);
  if (FAutoSize) AdjustSize();
}

void TControl::SetName(const AnsiString& value) {
  // A control named in code shows its name until it gets a caption of its own.
  bool changeText = ControlStyle.Contains(csSetCaption) && !IsLoading() && GetName() == GetText() &&
                    !(GetOwner() && GetOwner()->IsLoading());
  TComponent::SetName(value);
  if (changeText) SetText(value);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* value) {
  if (auto* parent = dynamic_cast<TWinControl*>(value); parent && parent != FParent) SetParent(parent);
}

void TControl::SetShowHint(bool value) {
  FParentShowHint = false;
  if (FShowHint == value) return;
  FShowHint = value;
  if (auto* w = dynamic_cast<TWinControl*>(this))
    for (TControl* c : w->Controls()) c->ParentShowHintChanged();
}

void TControl::SetParentShowHint(bool value) {
  if (FParentShowHint == value) return;
  FParentShowHint = value;
  if (value) ParentShowHintChanged();
}

void TControl::ParentShowHintChanged() {
  if (!FParentShowHint || !FParent) return;
  SetShowHint(FParent->GetShowHint());
  FParentShowHint = true;
}

void TControl::SetColor(TColor value) {
  FParentColor = false;
  if (FColor == value) return;
  FColor = value;
  Invalidate();
  Perform(CM_COLORCHANGED, 0, 0);
  if (auto* w = dynamic_cast<TWinControl*>(this))
    for (TControl* c : w->Controls()) c->ParentColorChanged();
}

void TControl::SetParentColor(bool value) {
  if (FParentColor == value) return;
  FParentColor = value;
  if (value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!FParentColor || !FParent) return;
  SetColor(FParent->GetColor());
  FParentColor = true;
}

void TControl::SetFont(TFont* value) { FFont->Assign(value); }

void TControl::FontOnChange(TObject*) { FontChanged(); }

void TControl::SetParentFont(bool value) {
  if (FParentFont == value) return;
  FParentFont = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FUpdatingFont = true;
  try {
    FFont->Assign(FParent->GetFont());
  } catch (...) {
    FUpdatingFont = false;
    throw;
  }
  FUpdatingFont = false;
  FParentFont = true;
  ApplyFontChange();
}

void TControl::FontChanged() {
  if (!FUpdatingFont) FParentFont = false;
  if (!FUpdatingFont) ApplyFontChange();
}

void TControl::ApplyFontChange() {
  Invalidate();
  Perform(CM_FONTCHANGED, 0, 0);
  if (FAutoSize) AdjustSize();
  if (auto* w = dynamic_cast<TWinControl*>(this))
    for (TControl* c : w->Controls()) c->ParentFontChanged();
}

void TControl::SetPopupMenu(TPopupMenu* value) {
  FPopupMenu = value;
  if (value) value->FreeNotification(this);
}

void TControl::SetAutoSize(bool value) {
  if (FAutoSize == value) return;
  FAutoSize = value;
  if (value) AdjustSize();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& message) { Dispatch(message); }

void TControl::Dispatch(TMessage& message) {
  if (const TMessageHandler* h = FindMessageHandler(ClassType(), message.Msg))
    h->Handler(this, message);
  else
    DefaultHandler(message);
}

void TControl::DispatchInherited(const TMetaClass* cls, TMessage& message) {
  if (const TMessageHandler* h = FindMessageHandler(ClassType(), message.Msg, cls))
    h->Handler(this, message);
  else
    DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage& message) {
  auto x = static_cast<int>(static_cast<int16_t>(message.LParam & 0xFFFF));
  auto y = static_cast<int>(static_cast<int16_t>((message.LParam >> 16) & 0xFFFF));
  TShiftState shift = TShiftState::FromBits(static_cast<uint32_t>(message.WParam));
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
      FClicked = ControlStyle.Contains(csClickEvents);
      MouseDown(mbLeft, shift + TShiftState{ssLeft}, x, y);
      break;
    case WM_RBUTTONDOWN:
      MouseDown(mbRight, shift + TShiftState{ssRight}, x, y);
      break;
    case WM_LBUTTONUP: {
      bool clicked = FClicked;
      FClicked = false;
      uint64_t serial = FSerial;
      if (clicked) UserClick();
      if (IsAlive(serial)) MouseUp(mbLeft, shift, x, y);
      break;
    }
    case WM_RBUTTONUP: {
      uint64_t serial = FSerial;
      MouseUp(mbRight, shift, x, y);
      if (IsAlive(serial) && FPopupMenu && FPopupMenu->AutoPopup) {
        FPopupMenu->PopupComponent = this;
        TPoint p = ClientToScreen(TPoint{x, y});
        FPopupMenu->Popup(p.X, p.Y);
      }
      break;
    }
    case WM_LBUTTONDBLCLK:
      if (ControlStyle.Contains(csDoubleClicks)) DblClick();
      break;
    case WM_MOUSEMOVE:
      MouseMove(shift, x, y);
      break;
    case WM_CLOSE:
    default:
      break;
  }
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) { OnMouseDown(this, button, shift, x, y); }
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }
void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }
void TControl::Resize() { OnResize(this); }

void TControl::BringToFront() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  // Non-windowed controls stay ahead of the windowed ones, as the VCL lists them.
  if (dynamic_cast<TWinControl*>(this)) {
    list.push_back(this);
  } else {
    auto firstWin = std::find_if(list.begin(), list.end(), [](TControl* c) { return dynamic_cast<TWinControl*>(c) != nullptr; });
    list.insert(firstWin, this);
  }
  if (FAlign != alNone) FParent->Realign();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  if (dynamic_cast<TWinControl*>(this)) {
    auto firstWin = std::find_if(list.begin(), list.end(), [](TControl* c) { return dynamic_cast<TWinControl*>(c) != nullptr; });
    list.insert(firstWin, this);
  } else {
    list.insert(list.begin(), this);
  }
  if (FAlign != alNone) FParent->Realign();
}

void TControl::Repaint() { FInvalidated = false; }

TCustomForm* GetParentForm(const TControl* control) {
  if (!control) return nullptr;
  const TControl* c = control;
  while (c->GetParent()) c = c->GetParent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

TCustomForm* ValidParentForm(const TControl* control) {
  TCustomForm* f = GetParentForm(control);
  if (!f) throw EInvalidOperation("Control '" + (control ? control->GetName() : AnsiString()) + "' has no parent window");
  return f;
}

// ---- TWinControl --------------------------------------------------------------------------

TAVO_PUBLISHED(TWinControl, TControl) {
  P.Protected();
  P.Int("BevelWidth", &TWinControl::BevelWidth, &TWinControl::BevelWidth);
  P.Set("BevelEdges", &TWinControl::BevelEdges, &TWinControl::BevelEdges);
  P.Enum("BevelInner", &TWinControl::BevelInner, &TWinControl::BevelInner);
  P.Enum("BevelKind", &TWinControl::BevelKind, &TWinControl::BevelKind);
  P.Enum("BevelOuter", &TWinControl::BevelOuter, &TWinControl::BevelOuter);
  P.Bool("Ctl3D", &TWinControl::Ctl3D, &TWinControl::Ctl3D);
  P.Enum("ImeMode", &TWinControl::ImeMode, &TWinControl::ImeMode);
  P.Str("ImeName", &TWinControl::ImeName, &TWinControl::ImeName);
  P.Bool("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::ParentCtl3D);
  P.Int("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder);
  P.Bool("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop);
  P.Event("OnEnter", &TWinControl::OnEnter);
  P.Event("OnExit", &TWinControl::OnExit);
  P.Event("OnKeyDown", &TWinControl::OnKeyDown);
  P.Event("OnKeyPress", &TWinControl::OnKeyPress);
  P.Event("OnKeyUp", &TWinControl::OnKeyUp);
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  Destroying();
  if (FParent) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, true);
  }
  if (GFocus && ContainsControl(GFocus)) GFocus = nullptr;
  while (!FControls.empty()) {
    TControl* child = FControls.back();
    RemoveControl(child);
    delete child;
  }
  DestroyHandle();
}

TControl* TWinControl::GetControl(int index) const {
  if (index < 0 || index >= GetControlCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FControls[index];
}

void TWinControl::InsertControl(TControl* control) {
  if (!control || control->FParent == this) return;
  if (control->FParent) control->FParent->RemoveControl(control);
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win) {
    FControls.push_back(control);
    FTabList.push_back(win);
  } else {
    auto firstWin = std::find_if(FControls.begin(), FControls.end(), [](TControl* c) { return dynamic_cast<TWinControl*>(c) != nullptr; });
    FControls.insert(firstWin, control);
  }
  control->FParent = this;
  ControlListChange(control, true);
  control->ParentColorChanged();
  control->ParentFontChanged();
  control->ParentShowHintChanged();
  if (control->FAlign != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  if (!control || control->FParent != this) return;
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    if (TCustomForm* form = GetParentForm(this); form && !form->IsDestroying()) form->DefocusControl(win, true);
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), win), FTabList.end());
  }
  FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
  control->FParent = nullptr;
  if (!IsDestroying()) {
    ControlListChange(control, false);
    if (control->FAlign != alNone) Realign();
  }
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->GetParent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::FindChildControl(const AnsiString& name) const {
  for (TControl* c : FControls)
    if (!name.empty() && c->GetName().size() == name.size() &&
        std::equal(name.begin(), name.end(), c->GetName().begin(), [](char a, char b) {
          return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
        }))
      return c;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
  std::vector<TControl*> children = FControls;
  for (TControl* c : children) {
    if (!IsAlive(c->SerialNumber())) continue;
    c->WndProc(message);
    if (message.Result != 0) return;
  }
}

int TWinControl::GetTabOrder() const {
  if (!FParent) return FTabOrderRead;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (GetComponentState().Contains(csReading) || !FParent)
    FTabOrderRead = value;
  else
    UpdateTabOrder(value);
}

void TWinControl::UpdateTabOrder(int value) {
  if (!FParent) return;
  auto& list = FParent->FTabList;
  int current = GetTabOrder();
  if (current < 0) return;
  int count = static_cast<int>(list.size());
  value = std::clamp(value, 0, count - 1);
  if (value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + value, this);
}

void TWinControl::FixupTabList() {
  int count = static_cast<int>(FTabList.size());
  std::vector<TWinControl*> wanted(count, nullptr);
  for (TWinControl* c : FTabList) {
    int j = c->FTabOrderRead;
    if (j >= 0 && j < count) wanted[j] = c;
  }
  for (int i = 0; i < count; ++i)
    if (wanted[i]) wanted[i]->UpdateTabOrder(i);
}

void TWinControl::SetTabStop(bool value) {
  if (FTabStop == value) return;
  FTabStop = value;
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : FTabList) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  return FindNextInCycle(list, current, goForward, [&](TWinControl* c) {
    return c->CanFocus() && (!checkTabStop || c->GetTabStop()) && (!checkParent || c->GetParent() == this);
  });
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

void TWinControl::SelectFirst() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  // Among this control's own children, as the VCL does (a page selects its first control).
  TWinControl* c = FindNextControl(nullptr, true, true, false);
  if (!c) c = FindNextControl(nullptr, true, false, false);
  if (c) c->SetFocus();
}

HWND TWinControl::GetHandle() {
  if (!FHandle) {
    FHandle = NewHandle();
    Windows().Controls[FHandle] = this;
    CreateWnd();
  }
  return FHandle;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  DestroyWnd();
  Windows().Controls.erase(FHandle);
  FHandle = 0;
}

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  for (const TControl* c = this; c != form; c = c->GetParent())
    if (!c->GetVisible() || !c->GetEnabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return GFocus == this; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this))
    form->FocusControl(this);
  else
    ValidParentForm(this);
}

void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }
void TWinControl::KeyDown(Word& key, TShiftState shift) { OnKeyDown(this, key, shift); }
void TWinControl::KeyUp(Word& key, TShiftState shift) { OnKeyUp(this, key, shift); }
void TWinControl::KeyPress(char& key) { OnKeyPress(this, key); }

bool TWinControl::DoKeyDown(Word& key, TShiftState shift) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyDown(key, shift)) return true;
  if (!ControlStyle.Contains(csNoStdEvents)) {
    KeyDown(key, shift);
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(char& key) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyPress(key)) return true;
  if (!ControlStyle.Contains(csNoStdEvents)) {
    KeyPress(key);
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(Word& key, TShiftState shift) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyUp(key, shift)) return true;
  if (!ControlStyle.Contains(csNoStdEvents)) {
    KeyUp(key, shift);
    if (key == 0) return true;
  }
  return false;
}

void TWinControl::DefaultHandler(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
      if (FocusOnClick() && CanFocus() && !Focused()) {
        uint64_t serial = SerialNumber();
        GMouseFocus = true;
        try {
          SetFocus();
        } catch (...) {
          GMouseFocus = false;
          throw;
        }
        GMouseFocus = false;
        if (!IsAlive(serial)) return;
      }
      TControl::DefaultHandler(message);
      // A window that should have taken the focus but did not (an exit handler kept it
      // elsewhere) does not see the click.
      if (FocusOnClick() && !Focused()) FClicked = false;
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      Broadcast(message);
      return;
    case CM_CHILDKEY:
      if (FParent) message.Result = FParent->Perform(message.Msg, message.WParam, message.LParam);
      return;
    case CM_VISIBLECHANGED:
      if (!GetVisible() && FParent)
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
      return;
    case CM_ENABLEDCHANGED:
      if (!GetEnabled() && FParent)
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      Word key = static_cast<Word>(message.WParam);
      TShiftState shift = LParamToShift(message.LParam);
      if (!DoKeyDown(key, shift)) DefaultKeyDown(key, shift);
      return;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      Word key = static_cast<Word>(message.WParam);
      TShiftState shift = LParamToShift(message.LParam);
      if (!DoKeyUp(key, shift)) DefaultKeyUp(key, shift);
      return;
    }
    case WM_CHAR: {
      char key = static_cast<char>(message.WParam);
      if (!DoKeyPress(key)) DefaultChar(key);
      return;
    }
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;
    default:
      TControl::DefaultHandler(message);
  }
}

void TWinControl::FontChanged() { TControl::FontChanged(); }
void TWinControl::ParentFontChanged() { TControl::ParentFontChanged(); }
void TWinControl::ParentColorChanged() { TControl::ParentColorChanged(); }
void TWinControl::ParentShowHintChanged() { TControl::ParentShowHintChanged(); }

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  int oldWidth = FWidth, oldHeight = FHeight;
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  int dw = FWidth - oldWidth, dh = FHeight - oldHeight;
  if ((dw || dh) && !IsLoading()) {
    // Children anchored to the right or bottom edge keep their distance to it.
    for (TControl* c : FControls) {
      if (c->GetAlign() != alNone) continue;
      int l = c->GetLeft(), t = c->GetTop(), w = c->GetWidth(), h = c->GetHeight();
      if (c->Anchors.Contains(akRight)) {
        if (c->Anchors.Contains(akLeft)) w += dw;
        else l += dw;
      }
      if (c->Anchors.Contains(akBottom)) {
        if (c->Anchors.Contains(akTop)) h += dh;
        else t += dh;
      }
      c->SetBounds(l, t, w, h);
    }
    Realign();
  }
}

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0 && --FAlignLevel == 0) Realign();
}

void TWinControl::Realign() {
  if (FAlignLevel > 0 || FAligning || IsLoading()) return;
  FAligning = true;
  try {
    TRect r = GetClientRect();
    AdjustClientRect(r);
    AlignControls(nullptr, r);
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
  auto insertBefore = [](TControl* c1, TControl* c2, TAlign align) {
    switch (align) {
      case alTop:
        return c1->GetTop() < c2->GetTop();
      case alBottom:
        return c1->GetTop() + c1->GetHeight() >= c2->GetTop() + c2->GetHeight();
      case alLeft:
        return c1->GetLeft() < c2->GetLeft();
      case alRight:
        return c1->GetLeft() + c1->GetWidth() >= c2->GetLeft() + c2->GetWidth();
      case alNone:
      case alClient:
      case alCustom:
        return false;
    }
    return false;
  };
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    if (control && control->GetVisible() && control->GetAlign() == align) list.push_back(control);
    for (TControl* c : FControls) {
      if (c == control || c->GetAlign() != align || !c->GetVisible()) continue;
      size_t j = control && !list.empty() && list[0] == control ? 1 : 0;
      while (j < list.size() && !insertBefore(c, list[j], align)) ++j;
      list.insert(list.begin() + j, c);
    }
    for (TControl* c : list) {
      int width = rect.Width();
      if (width < 0 || align == alLeft || align == alRight) width = c->GetWidth();
      int height = rect.Height();
      if (height < 0 || align == alTop || align == alBottom) height = c->GetHeight();
      int left = rect.Left, top = rect.Top;
      switch (align) {
        case alTop:
          rect.Top += height;
          break;
        case alBottom:
          rect.Bottom -= height;
          top = rect.Bottom;
          break;
        case alLeft:
          rect.Left += width;
          break;
        case alRight:
          rect.Right -= width;
          left = rect.Right;
          break;
        case alClient:
        case alNone:
        case alCustom:
          break;
      }
      c->SetBounds(left, top, width, height);
    }
  }
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

// ---- Painted controls ---------------------------------------------------------------------

TAVO_CLASS_IMPL(TControlCanvas, TCanvas)

TControlCanvas::TControlCanvas() : FBitmap(std::make_unique<TBitmap>()) {}
TControlCanvas::~TControlCanvas() = default;

TPixelSurface* TControlCanvas::Surface() const { return FBitmap->GetCanvas()->Surface(); }

void TControlCanvas::Resize(int width, int height) {
  FBitmap->GetCanvas()->GetBrush()->SetColor(clWhite);
  FBitmap->SetSize(std::max(width, 0), std::max(height, 0));
}

TAVO_CLASS_IMPL(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Repaint() {
  FCanvas->Resize(GetClientWidth(), GetClientHeight());
  FCanvas->SetFont(GetFont());
  FCanvas->GetBrush()->SetColor(GetColor());
  Paint();
  FInvalidated = false;
}

TAVO_CLASS_IMPL(TCustomControl, TWinControl)

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {}
TCustomControl::~TCustomControl() = default;

void TCustomControl::Repaint() {
  FCanvas->Resize(GetClientWidth(), GetClientHeight());
  FCanvas->SetFont(GetFont());
  FCanvas->GetBrush()->SetColor(GetColor());
  Paint();
  FInvalidated = false;
}

// ---- Messages between windows -------------------------------------------------------------

TWinControl* FindControl(HWND handle) {
  auto& table = Windows().Controls;
  auto it = table.find(handle);
  return it == table.end() ? nullptr : it->second;
}

HWND AllocateHWnd(std::function<void(TMessage&)> handler) {
  HWND h = NewHandle();
  Windows().Plain[h] = std::move(handler);
  return h;
}

void DeallocateHWnd(HWND handle) { Windows().Plain.erase(handle); }

bool PostMessage(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!FindControl(handle) && !Windows().Plain.count(handle)) return false;
  Queue().push_back(TPosted{handle, 0, TMessage{msg, wParam, lParam, 0}});
  return true;
}

bool PostMessage(TControl* control, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!control || !IsAlive(control->SerialNumber())) return false;
  Queue().push_back(TPosted{0, control->SerialNumber(), TMessage{msg, wParam, lParam, 0}});
  return true;
}

LRESULT SendMessage(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (TWinControl* c = FindControl(handle)) return c->Perform(msg, wParam, lParam);
  auto it = Windows().Plain.find(handle);
  if (it == Windows().Plain.end()) return 0;
  TMessage m{msg, wParam, lParam, 0};
  auto handler = it->second;
  handler(m);
  return m.Result;
}

int DeliverPostedMessages() {
  constexpr int Bound = 100000;
  int delivered = 0;
  while (!Queue().empty() && delivered < Bound) {
    TPosted p = Queue().front();
    Queue().pop_front();
    ++delivered;
    if (p.Serial) {
      auto it = Windows().BySerial.find(p.Serial);
      if (it != Windows().BySerial.end()) it->second->Perform(p.Message.Msg, p.Message.WParam, p.Message.LParam);
    } else {
      SendMessage(p.Handle, p.Message.Msg, p.Message.WParam, p.Message.LParam);
    }
  }
  return delivered;
}

int PostedMessageCount() { return static_cast<int>(Queue().size()); }

// ---- The keyboard and mouse ---------------------------------------------------------------

namespace {

// Windows' dialog-key step (CN_KEYDOWN): navigation keys the control does not want go
// to its form. Answers true when the form used the key.
bool DialogKey(TWinControl* target, Word key, TShiftState shift) {
  if (target->Perform(CM_CHILDKEY, key, ControlToLParam(target)) != 0) return true;
  int mask = 0;
  switch (key) {
    case VK_TAB:
      mask = DLGC_WANTTAB;
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      mask = DLGC_WANTARROWS;
      break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL:
      mask = DLGC_WANTALLKEYS;
      break;
    default:
      break;
  }
  if (!mask) return false;
  if (target->Perform(CM_WANTSPECIALKEY, key, ShiftToLParam(shift)) != 0) return false;
  if (target->DialogCode() & mask) return false;
  TCustomForm* form = GetParentForm(target);
  return form && form->Perform(CM_DIALOGKEY, key, ShiftToLParam(shift)) != 0;
}

void DeliverChar(TWinControl* target, char c) {
  if (!IsAlive(target->SerialNumber())) return;
  target->Perform(WM_CHAR, static_cast<unsigned char>(c), 0);
}

// Offers a character to the form as an accelerator (CM_DIALOGCHAR, which the form passes
// to its controls until one whose caption marks it takes it). Answers true when taken.
bool DialogChar(TWinControl* target, char c, TShiftState shift) {
  if (!IsAlive(target->SerialNumber())) return false;
  TCustomForm* form = GetParentForm(target);
  return form && form->Perform(CM_DIALOGCHAR, static_cast<unsigned char>(c), ShiftToLParam(shift)) != 0;
}

// A typed character: one the control does not want (a button, a check box) may be an
// accelerator, as Alt with the letter would; the others reach the control.
void TypeChar(TWinControl* target, char c, TShiftState shift) {
  if (!IsAlive(target->SerialNumber())) return;
  if (!(target->DialogCode() & DLGC_WANTCHARS) && DialogChar(target, c, shift)) return;
  DeliverChar(target, c);
}

TWinControl* KeyTarget() {
  if (GFocus) return GFocus;
  if (Screen && Screen->GetActiveForm()) return Screen->GetActiveForm();
  return nullptr;
}

bool SendKey(TWinControl* target, Word key, TShiftState shift) {
  uint64_t serial = target->SerialNumber();
  bool alt = shift.Contains(ssAlt);
  if (!DialogKey(target, key, shift)) {
    if (IsAlive(serial)) target->Perform(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, ShiftToLParam(shift));
    // The character comes from the key as pressed, whatever the key-down handlers did.
    if (!alt) {
      if (char c = KeyToChar(key, shift)) TypeChar(target, c, shift);
    } else if (!shift.Contains(ssCtrl) && key != VK_SPACE) {
      // Alt with a key makes a system character, always an accelerator (Alt+Space opens
      // the window menu instead).
      TShiftState plain = shift;
      plain.Exclude(ssAlt);
      if (char c = KeyToChar(key, plain)) DialogChar(target, c, shift);
    }
  }
  if (TWinControl* up = KeyTarget()) up->Perform(alt ? WM_SYSKEYUP : WM_KEYUP, key, ShiftToLParam(shift));
  return true;
}

struct TCharKey {
  Word Key;
  bool Shift;
};

bool CharToKey(char c, TCharKey& out) {
  if (c >= 'a' && c <= 'z') {
    out = {static_cast<Word>(c - 'a' + 'A'), false};
    return true;
  }
  if (c >= 'A' && c <= 'Z') {
    out = {static_cast<Word>(c), true};
    return true;
  }
  if (c >= '0' && c <= '9') {
    out = {static_cast<Word>(c), false};
    return true;
  }
  for (unsigned key = 0; key < 256; ++key)
    for (bool shift : {false, true}) {
      if (key >= 'A' && key <= 'Z') continue;
      if (key >= VK_NUMPAD0 && key <= VK_DIVIDE) continue;
      TShiftState s = shift ? TShiftState{ssShift} : TShiftState{};
      if (KeyToChar(static_cast<Word>(key), s) == c) {
        out = {static_cast<Word>(key), shift};
        return true;
      }
    }
  return false;
}

}  // namespace

char KeyToChar(Word key, TShiftState shift) {
  bool sh = shift.Contains(ssShift);
  bool ctrl = shift.Contains(ssCtrl);
  if (shift.Contains(ssAlt)) return '\0';
  if (key >= 'A' && key <= 'Z') {
    if (ctrl) return static_cast<char>(key - 'A' + 1);
    return static_cast<char>(sh ? key : key - 'A' + 'a');
  }
  switch (key) {
    case VK_BACK:
      return ctrl ? '\x7f' : '\b';
    case VK_TAB:
      return ctrl ? '\0' : '\t';
    case VK_RETURN:
      return ctrl ? '\n' : '\r';
    case VK_ESCAPE:
      return '\x1b';
    case VK_SPACE:
      return ' ';
    default:
      break;
  }
  if (ctrl) return '\0';
  if (key >= '0' && key <= '9') return sh ? ")!@#$%^&*("[key - '0'] : static_cast<char>(key);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return static_cast<char>('0' + key - VK_NUMPAD0);
  switch (key) {
    case VK_MULTIPLY:
      return '*';
    case VK_ADD:
      return '+';
    case VK_SUBTRACT:
      return '-';
    case VK_DECIMAL:
      return '.';
    case VK_DIVIDE:
      return '/';
    case VK_OEM_1:
      return sh ? ':' : ';';
    case VK_OEM_PLUS:
      return sh ? '+' : '=';
    case VK_OEM_COMMA:
      return sh ? '<' : ',';
    case VK_OEM_MINUS:
      return sh ? '_' : '-';
    case VK_OEM_PERIOD:
      return sh ? '>' : '.';
    case VK_OEM_2:
      return sh ? '?' : '/';
    case VK_OEM_3:
      return sh ? '~' : '`';
    case VK_OEM_4:
      return sh ? '{' : '[';
    case VK_OEM_5:
      return sh ? '|' : '\\';
    case VK_OEM_6:
      return sh ? '}' : ']';
    case VK_OEM_7:
      return sh ? '"' : '\'';
    default:
      return '\0';
  }
}

TWinControl* FocusedControl() { return GFocus; }

namespace {
bool EnsureFocus(TWinControl* control) {
  if (!control || !IsAlive(control->SerialNumber())) return false;
  if (control->Focused()) return true;
  if (!control->Showing() || !control->EffectiveEnabled() || !control->CanFocus()) return false;
  control->SetFocus();
  return control->Focused();
}
}  // namespace

bool PressKey(TWinControl* control, Word key, TShiftState shift) {
  if (!EnsureFocus(control)) return false;
  return SendKey(control, key, shift);
}

bool PressKey(Word key, TShiftState shift) {
  TWinControl* target = KeyTarget();
  if (!target) return false;
  return SendKey(target, key, shift);
}

bool TypeText(TWinControl* control, const AnsiString& text) {
  if (!EnsureFocus(control)) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    TWinControl* target = KeyTarget();
    if (!target) return false;
    if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < text.size()) {
      // An input method delivers a double-byte character as its two bytes.
      DeliverChar(target, c);
      DeliverChar(target, text[++i]);
      continue;
    }
    TCharKey k;
    if (CharToKey(c, k))
      SendKey(target, k.Key, k.Shift ? TShiftState{ssShift} : TShiftState{});
    else
      TypeChar(target, c, {});
  }
  return true;
}

namespace {
bool MouseClick(TControl* control, bool twice) {
  if (!control || !IsAlive(control->SerialNumber())) return false;
  if (!control->Showing() || !control->EffectiveEnabled()) return false;
  uint64_t serial = control->SerialNumber();
  LPARAM at = ((control->GetHeight() / 2) << 16) | (control->GetWidth() / 2);
  control->Perform(WM_LBUTTONDOWN, 0, at);
  if (!IsAlive(serial)) return false;
  bool clicked = control->ClickPending();
  control->Perform(WM_LBUTTONUP, 0, at);
  if (twice && IsAlive(serial)) control->Perform(WM_LBUTTONDBLCLK, 0, at);
  return clicked;
}
}  // namespace

bool ClickControl(TControl* control) { return MouseClick(control, false); }
bool DoubleClickControl(TControl* control) { return MouseClick(control, true); }

bool FocusByMouse() { return GMouseFocus; }

void SetFocusedWindow(TWinControl* control) { GFocus = control; }
