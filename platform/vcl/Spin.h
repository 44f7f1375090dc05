// The samples spin edit: an integer edit with up and down buttons.
#pragma once

#include "platform/vcl/Buttons.h"
#include "platform/vcl/StdCtrls.h"

class TSpinEdit;

// The pair of buttons beside a spin edit.
class TSpinButton : public TWinControl {
  TAVO_CLASS(TSpinButton, TWinControl)
public:
  explicit TSpinButton(TComponent* AOwner);
  TSpeedButton* GetUpButton() const { return FUpButton; }
  TSpeedButton* GetDownButton() const { return FDownButton; }
  // Focused (when it can be) before a button acts.
  TWinControl* FocusControl = nullptr;
  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

private:
  void ButtonClick(TObject* sender);
  TSpeedButton* FUpButton;
  TSpeedButton* FDownButton;
};

// Value is the text read as an integer (MinValue when it is not one). The bounds apply
// only when MaxValue differs from MinValue: stepping and setting Value stay inside them
// and leaving the edit brings a value outside back in. Only digits, signs and the decimal
// separator can be typed, and nothing when EditorEnabled is off; the up and down keys
// and buttons step by Increment.
class TSpinEdit : public TCustomEdit {
  TAVO_CLASS(TSpinEdit, TCustomEdit)
public:
  explicit TSpinEdit(TComponent* AOwner);
  ~TSpinEdit() override;

  int GetValue() const;
  void SetValue(int value);
  int MinValue = 0;
  int MaxValue = 0;
  int Increment = 1;
  bool EditorEnabled = true;

  TSpinButton* GetButton() const { return FButton; }
  // The value limited to the bounds (when they apply).
  int CheckValue(int value) const;
  void UpClick(TObject* sender);
  void DownClick(TObject* sender);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void DoExit() override;
  virtual bool IsValidChar(char key) const;

private:
  TSpinButton* FButton;
};
