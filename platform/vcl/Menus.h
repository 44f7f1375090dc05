// Menus: menu items in a tree and the pop-up menu a control names in its PopupMenu.
#pragma once

#include "platform/vcl/Components.h"
#include "platform/vcl/Controls.h"

#include <vector>

using TShortCut = uint16_t;

class TMenu;

class TMenuItem : public TComponent {
  TAVO_CLASS(TMenuItem, TComponent)
public:
  explicit TMenuItem(TComponent* AOwner);
  // Leaves the parent item and frees the sub-items.
  ~TMenuItem() override;

  int GetCount() const { return static_cast<int>(FItems.size()); }
  TMenuItem* GetItem(int index) const;  // raises EMenuError "Menu index out of range"
  TMenuItem* GetParent() const { return FParent; }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Delete(int index);
  void Remove(TMenuItem* item);
  void Clear();  // frees the sub-items
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Find(const AnsiString& caption) const;

  // Runs OnClick when the item is enabled (a radio item also becomes checked).
  virtual void Click();

  AnsiString GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& value) { FCaption = value; }
  bool GetChecked() const { return FChecked; }
  // A checked radio item unchecks the radio items of its group under the same parent.
  void SetChecked(bool value);

  bool Enabled = true;
  bool Visible = true;
  bool Default = false;
  bool RadioItem = false;
  int GroupIndex = 0;
  int ImageIndex = -1;
  TShortCut ShortCut = 0;
  AnsiString Hint;
  TNotifyEvent OnClick;

  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  bool HasParent() const override { return true; }

private:
  friend class TMenu;
  AnsiString FCaption;
  bool FChecked = false;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;
  std::vector<TMenuItem*> FItems;
};

TAVO_EXCEPTION(EMenuError, Exception)

class TMenu : public TComponent {
  TAVO_CLASS(TMenu, TComponent)
public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  // The invisible root item whose sub-items are the menu's items.
  TMenuItem* GetItems() const { return FItems; }
  // The item with the short cut, searched depth-first; nullptr when none.
  TMenuItem* FindItemByShortCut(TShortCut shortCut) const;
  bool AutoHotkeys = true;

private:
  TMenuItem* FItems;
};

TAVO_ENUM(TPopupAlignment, paLeft, paRight, paCenter)

class TPopupMenu : public TMenu {
  TAVO_CLASS(TPopupMenu, TMenu)
public:
  explicit TPopupMenu(TComponent* AOwner);
  // Raises OnPopup; headless, the menu then closes without a choice.
  virtual void Popup(int x, int y);
  TComponent* PopupComponent = nullptr;
  bool AutoPopup = true;
  TPopupAlignment Alignment = paLeft;
  TNotifyEvent OnPopup;

protected:
  void Notification(TComponent* component, TOperation operation) override;
};

// "Ctrl+S" style texts for short cuts, and back (0 when unknown).
TShortCut ShortCut(Word key, TShiftState shift);
AnsiString ShortCutToText(TShortCut shortCut);
TShortCut TextToShortCut(const AnsiString& text);
