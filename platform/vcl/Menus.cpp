#include "platform/vcl/Menus.h"

#include <algorithm>

namespace {

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

struct TKeyName {
  Word Key;
  const char* Name;
};

constexpr TKeyName KeyNames[] = {
    {VK_BACK, "BkSp"},    {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},  {VK_PRIOR, "PgUp"},  {VK_NEXT, "PgDn"},    {VK_END, "End"},
    {VK_HOME, "Home"},    {VK_LEFT, "Left"},   {VK_UP, "Up"},        {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},    {VK_INSERT, "Ins"},  {VK_DELETE, "Del"},
};

AnsiString KeyName(Word key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return AnsiString(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
  for (const auto& k : KeyNames)
    if (k.Key == key) return k.Name;
  return "";
}

bool SameAscii(const AnsiString& a, const AnsiString& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

TAVO_PUBLISHED(TMenuItem, TComponent) {
  P.Str("Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption);
  P.Bool("Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked);
  P.Bool("Default", &TMenuItem::Default, &TMenuItem::Default);
  P.Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::Enabled);
  P.Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::GroupIndex);
  P.Str("Hint", &TMenuItem::Hint, &TMenuItem::Hint);
  P.Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::ImageIndex);
  P.Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::RadioItem);
  P.Int("ShortCut", &TMenuItem::ShortCut, &TMenuItem::ShortCut, "TShortCut");
  P.Bool("Visible", &TMenuItem::Visible, &TMenuItem::Visible);
  P.Event("OnClick", &TMenuItem::OnClick);
}

TAVO_PUBLISHED(TMenu, TComponent) {
  P.Bool("AutoHotkeys", &TMenu::AutoHotkeys, &TMenu::AutoHotkeys);
}

TAVO_PUBLISHED(TPopupMenu, TMenu) {
  P.Enum("Alignment", &TPopupMenu::Alignment, &TPopupMenu::Alignment);
  P.Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::AutoPopup);
  P.Event("OnPopup", &TPopupMenu::OnPopup);
}

static TClassRegistration MenuClasses{TMenuItem::StaticClass(), TPopupMenu::StaticClass()};

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  if (FParent) FParent->Remove(this);
  while (!FItems.empty()) delete FItems.front();
}

TMenuItem* TMenuItem::GetItem(int index) const {
  if (index < 0 || index >= GetCount()) throw EMenuError("Menu index out of range");
  return FItems[index];
}

void TMenuItem::Add(TMenuItem* item) { Insert(GetCount(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (item->FParent) throw EMenuError("Menu inserted twice");
  if (index < 0 || index > GetCount()) throw EMenuError("Menu index out of range");
  for (TMenuItem* p = this; p; p = p->FParent)
    if (p == item) throw EMenuError("Menu inserted twice");
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
}

void TMenuItem::Delete(int index) {
  TMenuItem* item = GetItem(index);
  FItems.erase(FItems.begin() + index);
  item->FParent = nullptr;
}

void TMenuItem::Remove(TMenuItem* item) {
  int i = IndexOf(item);
  if (i < 0) throw EMenuError("Sub-menu is not in menu");
  Delete(i);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& caption) const {
  auto strip = [](const AnsiString& s) {
    AnsiString r;
    for (char c : s)
      if (c != '&') r += c;
    return r;
  };
  for (TMenuItem* i : FItems)
    if (SameAscii(strip(i->FCaption), strip(caption))) return i;
  return nullptr;
}

void TMenuItem::Click() {
  if (!Enabled) return;
  if (RadioItem) SetChecked(true);
  OnClick(this);
}

void TMenuItem::SetChecked(bool value) {
  if (FChecked == value) return;
  FChecked = value;
  if (value && RadioItem && FParent)
    for (TMenuItem* sibling : FParent->FItems)
      if (sibling != this && sibling->RadioItem && sibling->GroupIndex == GroupIndex) sibling->FChecked = false;
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* value) {
  if (FParent) FParent->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(value))
    menu->GetItems()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(value))
    item->Add(this);
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) { FItems->FMenu = this; }

TMenu::~TMenu() { delete FItems; }

TMenuItem* TMenu::FindItemByShortCut(TShortCut shortCut) const {
  std::vector<TMenuItem*> pending{FItems};
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    if (item != FItems && item->ShortCut == shortCut && shortCut != 0) return item;
    for (int i = item->GetCount() - 1; i >= 0; --i) pending.push_back(item->GetItem(i));
  }
  return nullptr;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TPopupMenu::Popup(int x, int y) { OnPopup(this); }

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == PopupComponent) PopupComponent = nullptr;
}

TShortCut ShortCut(Word key, TShiftState shift) {
  if (key & 0xFF00) return 0;
  TShortCut r = key;
  if (shift.Contains(ssShift)) r |= scShift;
  if (shift.Contains(ssCtrl)) r |= scCtrl;
  if (shift.Contains(ssAlt)) r |= scAlt;
  return r;
}

AnsiString ShortCutToText(TShortCut shortCut) {
  AnsiString name = KeyName(shortCut & 0xFF);
  if (name.empty()) return "";
  AnsiString r;
  if (shortCut & scShift) r += "Shift+";
  if (shortCut & scCtrl) r += "Ctrl+";
  if (shortCut & scAlt) r += "Alt+";
  return r + name;
}

TShortCut TextToShortCut(const AnsiString& text) {
  TShortCut mods = 0;
  AnsiString rest = text;
  for (;;) {
    if (rest.size() > 6 && SameAscii(rest.substr(0, 6), "Shift+")) {
      mods |= scShift;
      rest = rest.substr(6);
    } else if (rest.size() > 5 && SameAscii(rest.substr(0, 5), "Ctrl+")) {
      mods |= scCtrl;
      rest = rest.substr(5);
    } else if (rest.size() > 4 && SameAscii(rest.substr(0, 4), "Alt+")) {
      mods |= scAlt;
      rest = rest.substr(4);
    } else {
      break;
    }
  }
  for (unsigned key = 1; key < 256; ++key)
    if (SameAscii(KeyName(static_cast<Word>(key)), rest) && !rest.empty()) return static_cast<TShortCut>(mods | key);
  return 0;
}

const char* EMenuError::ClassName() const { return "EMenuError"; }
