// Edits that carry their own label: TKvEdit, the data-aware TKvDBEdit, and TKvBtnDBEdit
// with a lookup button beside it. The legacy edition has none of them.
#pragma once

#ifndef TAVO_LEGACY

#include "module/controls/GSpdBtn.h"
#include "platform/vcl/StdCtrls.h"

TAVO_ENUM(TLabelPosition, lpAbove, lpBelow, lpLeft, lpRight)

// The label logic the three edits share: a TLabel named "EditLabel", owned by the edit,
// placed beside it and following its parent, enabled state and visibility.
class TKvCustomEdit : public TCustomEdit {
  TAVO_CLASS(TKvCustomEdit, TCustomEdit)
public:
  explicit TKvCustomEdit(TComponent* AOwner);
  ~TKvCustomEdit() override;

  // nullptr once the label was freed elsewhere.
  TLabel* GetEditLabel() const { return FEditLabel; }
  // The label's text (the edit's own text is Text).
  AnsiString GetCaption() const;
  void SetCaption(const AnsiString& value);
  TLabelPosition GetLabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition value);
  int GetLabelSpacing() const { return FLabelSpacing; }
  // A negative spacing is refused.
  void SetLabelSpacing(int value);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetParent(TWinControl* AParent) override;
  void SetVisible(bool value) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

protected:
  // Places what the edit carries beside it (the label; descendants add theirs).
  virtual void PlaceAttachments();
  void EnabledChanged() override;

private:
  void PlaceLabel();
  void LabelResized(TObject* sender);

  TLabel* FEditLabel = nullptr;
  TLabelPosition FLabelPosition = lpLeft;
  int FLabelSpacing = 4;
};

class TKvEdit : public TKvCustomEdit {
  TAVO_CLASS(TKvEdit, TKvCustomEdit)
public:
  explicit TKvEdit(TComponent* AOwner) : TKvCustomEdit(AOwner) {}
};

// The data-aware edit. DataSource is any component whose published "DataSet" property
// holds a data set that can name its fields' display labels.
class TKvDBEdit : public TKvCustomEdit {
  TAVO_CLASS(TKvDBEdit, TKvCustomEdit)
public:
  explicit TKvDBEdit(TComponent* AOwner);
  ~TKvDBEdit() override;

  AnsiString GetDataField() const { return FDataField; }
  // At design time the label takes the display label of a field that exists.
  void SetDataField(const AnsiString& value);
  TComponent* GetDataSource() const { return FDataSource; }
  void SetDataSource(TComponent* value);

  void Notification(TComponent* component, TOperation operation) override;

private:
  AnsiString FDataField;
  TComponent* FDataSource = nullptr;
};

// The data-aware edit with a flat glyph button "F2Button" beside it: a click raises
// OnDialog, or without a handler asks the form for the lookup of this edit, as F2 in it
// would.
class TKvBtnDBEdit : public TKvDBEdit, public IEmbeddedButtons {
  TAVO_CLASS(TKvBtnDBEdit, TKvDBEdit)
public:
  explicit TKvBtnDBEdit(TComponent* AOwner);
  ~TKvBtnDBEdit() override;

  // The embedded button (nullptr once freed elsewhere); the base form gives its glyph a
  // disabled image.
  TGSpeedButton* GetF2Button() const { return FButton; }
  std::vector<TSpeedButton*> EmbeddedButtons() const override { return {FButton}; }

  int GetButtonSpacing() const { return FButtonSpacing; }
  void SetButtonSpacing(int value);
  int GetGlyphIndex() const;
  void SetGlyphIndex(int value);
  AnsiString GetButtonHint() const;
  void SetButtonHint(const AnsiString& value);

  TNotifyEvent OnDialog;

  void SetParent(TWinControl* AParent) override;
  void SetVisible(bool value) override;
  void Notification(TComponent* component, TOperation operation) override;

protected:
  void PlaceAttachments() override;
  void EnabledChanged() override;

private:
  void ButtonClick(TObject* sender);

  TGSpeedButton* FButton = nullptr;
  int FButtonSpacing = 2;
};

#endif  // TAVO_LEGACY
