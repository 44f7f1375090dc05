// The label attached to an input control: it places itself beside the control and can
// take its caption from the data field behind it.
#pragma once

#include "platform/vcl/StdCtrls.h"

TAVO_ENUM(TPos, psTop, psLeft, psRight, psBottom)

// What a label needs of a data set: the display label of a field, found by name. Data
// sets implement it; a data-aware control names its data source (published object
// property "DataSource", whose published object property "DataSet" is the data set) and
// its field (published text property "DataField").
class IFieldDisplayLabels {
public:
  virtual ~IFieldDisplayLabels() = default;
  // False when the data set has no field of that name.
  virtual bool FindDisplayLabel(const AnsiString& fieldName, AnsiString& displayLabel) const = 0;
};

class TDBLabel : public TLabel {
  TAVO_CLASS(TDBLabel, TLabel)
public:
  explicit TDBLabel(TComponent* AOwner);
  ~TDBLabel() override;

  bool GetAutoAlign() const { return FAutoAlign; }
  void SetAutoAlign(bool value);
  bool GetAutoCaption() const { return FAutoCaption; }
  void SetAutoCaption(bool value);
  // A control that already has an attached label on the same parent is refused with a
  // message, and the earlier binding stays.
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* value);
  BYTE GetGap() const { return FGap; }
  void SetGap(BYTE value);
  TPos GetPos() const { return FPos; }
  void SetPos(TPos value);

  // The caption from the bound control's data field, when it has one; failures leave the
  // caption as it is.
  void UpdateCaption();
  // Beside the control as Pos says, Gap pixels away, never at a negative coordinate.
  void AlignToControl();

  void Notification(TComponent* component, TOperation operation) override;

private:
  void RefreshBinding();

  bool FAutoAlign = true;
  bool FAutoCaption = true;
  TWinControl* FFocusControl = nullptr;
  BYTE FGap = 4;
  TPos FPos = psLeft;
};
