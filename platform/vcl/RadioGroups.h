// What every radio group shares, whatever radio button it is built from: the group
// keeps one button per line of Items, laid out in Columns, and choosing a button (by the
// user or through ItemIndex) sets ItemIndex and runs the group's OnClick.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/StdCtrls.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

// One button of a radio group (TGroup), created by the group for a line of its Items:
// hidden until the group arranges it, and passing on the keys it leaves unhandled.
template <class TRadio, class TGroup>
class TGroupButtonOf : public TRadio {
public:
  explicit TGroupButtonOf(TGroup* group) : TRadio(group), FGroup(group) {
    this->SetVisible(false);
    this->SetEnabled(group->GetEnabled());
    this->SetParentShowHint(false);
    this->OnClick = TNotifyEvent(group, &TGroup::ButtonClick);
    this->SetParent(group);
  }
  TGroup* GetRadioGroup() const { return FGroup; }

protected:
  void KeyDown(Word& key, TShiftState shift) override {
    TRadio::KeyDown(key, shift);
    if (key) FGroup->KeyDown(key, shift);
  }
  void KeyPress(char& key) override {
    TRadio::KeyPress(key);
    if (key) FGroup->KeyPress(key);
    if ((key == '\b' || key == ' ') && !FGroup->CanModify()) key = 0;
  }
  void KeyUp(Word& key, TShiftState shift) override {
    TRadio::KeyUp(key, shift);
    if (key) FGroup->KeyUp(key, shift);
  }

private:
  TGroup* FGroup;
};

// The group itself. TGroup is the class derived from it, TButton its button class,
// built from a TGroup*.
template <class TGroup, class TButton>
class TRadioGroupOf : public TCustomGroupBox {
public:
  explicit TRadioGroupOf(TComponent* AOwner) : TCustomGroupBox(AOwner), FItems(std::make_unique<TStringList>()) {
    ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    FItems->OnChange = [this](TObject* sender) { ItemsChanged(sender); };
    SetBounds(GetLeft(), GetTop(), 185, 105);
  }

  ~TRadioGroupOf() override {
    FItems->OnChange = nullptr;
    // The buttons are children of the group and go with it; they must not call back.
    for (TButton* b : FButtons) b->OnClick = TNotifyEvent();
  }

  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* value) { FItems->Assign(value); }
  int GetItemIndex() const { return FItemIndex; }
  // Limited to -1 .. button count - 1; checks that button and unchecks the previous one.
  void SetItemIndex(int value) {
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
  int GetColumns() const { return FColumns; }
  void SetColumns(int value) {  // limited to 1..16
    value = std::clamp(value, 1, 16);
    if (value == FColumns) return;
    FColumns = value;
    ArrangeButtons();
    Invalidate();
  }

  int GetButtonCount() const { return static_cast<int>(FButtons.size()); }
  TButton* GetButton(int index) const {  // EListError outside the list
    if (index < 0 || index >= GetButtonCount())
      throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FButtons[index];
  }

  // Whether the choice may change (a read-only data-aware group says no); backspace and
  // space are then swallowed in the buttons.
  virtual bool CanModify() const { return true; }

  void Loaded() override {
    TCustomGroupBox::Loaded();
    if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
    UpdateButtons();
  }

protected:
  void Resize() override {
    TCustomGroupBox::Resize();
    ArrangeButtons();
  }
  void FontChanged() override {
    TCustomGroupBox::FontChanged();
    ArrangeButtons();
  }
  void EnabledChanged() override {
    TCustomGroupBox::EnabledChanged();
    for (TButton* b : FButtons) b->SetEnabled(GetEnabled());
  }

  // Where groups differ: the text whose height gives the caption's line, the width the
  // columns are mirrored in under a right-to-left BiDiMode, and whether a click from no
  // button of the group chooses none (as in the VCL) or is ignored.
  virtual const char* CaptionSample() const { return "W"; }
  virtual int MirrorWidth() const { return GetWidth(); }
  virtual bool ForeignClickClears() const { return true; }

private:
  template <class, class>
  friend class TGroupButtonOf;

  void ButtonClick(TObject* sender) {
    if (FUpdating) return;
    auto it = std::find(FButtons.begin(), FButtons.end(), sender);
    if (it == FButtons.end() && !ForeignClickClears()) return;
    FItemIndex = it == FButtons.end() ? -1 : static_cast<int>(it - FButtons.begin());
    Click();
  }

  void ItemsChanged(TObject*) {
    if (IsLoading()) return;
    if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
    UpdateButtons();
  }

  void UpdateButtons() {
    const int count = FItems->Count();
    while (GetButtonCount() < count) FButtons.push_back(new TButton(static_cast<TGroup*>(this)));
    while (GetButtonCount() > count) {
      TButton* b = FButtons.back();
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

  void ArrangeButtons() {
    if (FButtons.empty() || IsLoading()) return;
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    const int fontHeight = canvas->TextHeight(CaptionSample());
    const int count = GetButtonCount();
    const int rows = (count + FColumns - 1) / FColumns;
    const int buttonWidth = (GetWidth() - 10) / FColumns;
    const int space = GetHeight() - fontHeight - 5;
    const int buttonHeight = space / rows;
    const int topMargin = (space % rows) / 2 + fontHeight + 1;
    const bool mirrored = BiDiMode != bdLeftToRight;
    for (int i = 0; i < count; ++i) {
      int left = (i / rows) * buttonWidth + 8;
      if (mirrored) left = MirrorWidth() - left - buttonWidth;
      FButtons[i]->SetBounds(left, (i % rows) * buttonHeight + topMargin, buttonWidth, buttonHeight);
      FButtons[i]->SetVisible(true);
    }
  }

  std::unique_ptr<TStringList> FItems;
  std::vector<TButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};
