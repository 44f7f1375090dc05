// The module's radio buttons: TKvRadioButton paints its caption itself in its own font,
// TKvRadioGroup is the radio group built from TKvGroupButton buttons.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/RadioGroups.h"
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
class TKvGroupButton : public TGroupButtonOf<TKvRadioButton, TKvRadioGroup> {
  TAVO_CLASS(TKvGroupButton, TKvRadioButton)
public:
  explicit TKvGroupButton(TKvRadioGroup* group);
  ~TKvGroupButton() override;

protected:
  // A group that refuses changes keeps its choice whatever the user does.
  bool UserMayCheck() const override;
};

// The module's radio group: the platform's group logic over TKvGroupButton buttons, its
// caption line measured on "0", mirrored within the client width, and deaf to clicks
// from controls that are not its buttons.
class TKvRadioGroup : public TRadioGroupOf<TKvRadioGroup, TKvGroupButton> {
  TAVO_CLASS(TKvRadioGroup, TCustomGroupBox)
public:
  explicit TKvRadioGroup(TComponent* AOwner);
  ~TKvRadioGroup() override;

protected:
  const char* CaptionSample() const override { return "0"; }
  int MirrorWidth() const override { return GetClientWidth(); }
  bool ForeignClickClears() const override { return false; }
};
