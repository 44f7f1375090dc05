// The lookup button beside an input control: a click asks the form to open the lookup
// window for that control, exactly as pressing F2 in it would.
#pragma once

#include "module/controls/GSpdBtn.h"

// The lookup request a form receives; the long parameter names the control.
constexpr UINT WM_F2LOOKUP = WM_USER + 10;

class TF2Button : public TGSpeedButton {
  TAVO_CLASS(TF2Button, TGSpeedButton)
public:
  explicit TF2Button(TComponent* AOwner);
  ~TF2Button() override;

  bool GetAutoAlign() const { return FAutoAlign; }
  void SetAutoAlign(bool value);
  // A control already served by another lookup button on the same parent is refused
  // with a message, and the earlier binding stays.
  TWinControl* GetF2Control() const { return FF2Control; }
  void SetF2Control(TWinControl* value);
  BYTE GetGap() const { return FGap; }
  void SetGap(BYTE value);

  // OnClick first; then the bound control, when enabled and able to, takes the focus and
  // its form receives the lookup request for it.
  void Click() override;
  // A square as high as the control, right of it by Gap.
  void AlignToControl();

  void Notification(TComponent* component, TOperation operation) override;

private:
  bool FAutoAlign = true;
  TWinControl* FF2Control = nullptr;
  BYTE FGap = 2;
};
