// The module's radio buttons: TKvRadioButton paints its caption itself in its own font,
// TKvRadioGroup is the radio group built from TKvGroupButton buttons.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/StdCtrls.h"

#include <memory>
#include <vector>

class TKvRadioGroup;

class TKvRadioButton : public TButtonControl {
  TAVO_CLASS(TKvRadioButton, TButtonControl)
public:
  explicit TKvRadioButton(TComponent* AOwner);
  ~TKvRadioButton() override;

  TAlignment GetAlignment() const { return FAlignment; }
  // taCenter is no place for a radio button and is refused.
  void SetAlignment(TAlignment value);
  bool GetChecked() const { return FChecked; }
  // Checking unchecks the other TKvRadioButtons (group buttons included) of the same
  // parent, makes this button the tab stop and, unless ClicksDisabled, clicks it.
  void SetChecked(bool value);

  // Set while a caller changes Checked without wanting the click.
  bool ClicksDisabled = false;

  // The left edge of the caption for a font of that many points.
  static int CaptionOffset(int pointSize);

  TCanvas* GetCanvas() const { return FCanvas.get(); }
  void Repaint() override;

  void CMDialogChar(TMessage& message);

protected:
  // The system's look of the button: the round box, filled when checked.
  virtual void PaintButton();
  // The caption over the system's, in the control's own font and colour.
  virtual void PaintCaption();
  void UserClick() override;
  // Reached by the keyboard, an unchecked button checks itself, as Windows' automatic
  // radio buttons do.
  void DoEnter() override;
  // Whether the user may check the button (by mouse, space or keyboard focus).
  virtual bool UserMayCheck() const { return true; }
  void EnabledChanged() override;
  void TextChanged() override;
  void FontChanged() override;

private:
  std::unique_ptr<TControlCanvas> FCanvas;
  TAlignment FAlignment = taRightJustify;
  bool FChecked = false;
};

// A button of a TKvRadioGroup, created by the group for a line of its Items.
class TKvGroupButton : public TKvRadioButton {
  TAVO_CLASS(TKvGroupButton, TKvRadioButton)
public:
  explicit TKvGroupButton(TKvRadioGroup* group);
  ~TKvGroupButton() override;
  TKvRadioGroup* GetRadioGroup() const { return FGroup; }

protected:
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void KeyUp(Word& key, TShiftState shift) override;
  // A group that refuses changes keeps its choice whatever the user does.
  bool UserMayCheck() const override;

private:
  TKvRadioGroup* FGroup;
};

class TKvRadioGroup : public TCustomGroupBox {
  TAVO_CLASS(TKvRadioGroup, TCustomGroupBox)
public:
  explicit TKvRadioGroup(TComponent* AOwner);
  ~TKvRadioGroup() override;

  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* value) { FItems->Assign(value); }
  int GetItemIndex() const { return FItemIndex; }
  // Limited to -1 .. button count - 1; checks that button and unchecks the previous one.
  void SetItemIndex(int value);
  int GetColumns() const { return FColumns; }
  void SetColumns(int value);  // limited to 1..16

  int GetButtonCount() const { return static_cast<int>(FButtons.size()); }
  TKvGroupButton* GetButton(int index) const;  // EListError outside the list

  // Whether the choice may change; when not, backspace and space typed in a button are
  // swallowed.
  virtual bool CanModify() const { return true; }

  void Loaded() override;

protected:
  void Resize() override;
  void FontChanged() override;
  void EnabledChanged() override;

private:
  friend class TKvGroupButton;
  void ButtonClick(TObject* sender);
  void ItemsChanged(TObject* sender);
  void UpdateButtons();
  void ArrangeButtons();

  std::unique_ptr<TStringList> FItems;
  std::vector<TKvGroupButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};
