// TKvSpinEdit: the spin edit that keeps a sign only in first position and reports a
// change only when there is text.
#pragma once

#include "platform/vcl/Spin.h"

class TKvSpinEdit : public TSpinEdit {
  TAVO_CLASS(TKvSpinEdit, TSpinEdit)
public:
  explicit TKvSpinEdit(TComponent* AOwner);

protected:
  // A "+" or "-" after the first character takes the last character off the text, again
  // and again until any sign is first; OnChange then follows for non-blank text.
  void Change() override;
};
