// The standard controls: labels, edits and memos, buttons, check boxes, radio buttons,
// group boxes, combo boxes and list boxes, with the keyboard and mouse behaviour of their
// Windows counterparts.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/vcl/Controls.h"

#include <memory>
#include <vector>

TAVO_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
TAVO_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)
TAVO_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
TAVO_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)
TAVO_ENUM(TLeftRight, lrLeftJustify, lrRightJustify)
TAVO_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)
TAVO_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw)
TAVO_ENUM(TOwnerDrawStateFlag, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault,
          odHotLight, odInactive, odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit)
TAVO_SET_INFO(TOwnerDrawState, TOwnerDrawStateFlag)

TAVO_EVENT(TDrawItemEvent, TWinControl*, int, TRect, TOwnerDrawState)
TAVO_EVENT(TMeasureItemEvent, TWinControl*, int, int&)

// ---- Labels ---------------------------------------------------------------------------

class TCustomLabel : public TGraphicControl {
  TAVO_CLASS(TCustomLabel, TGraphicControl)
public:
  explicit TCustomLabel(TComponent* AOwner);

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TTextLayout GetLayout() const { return FLayout; }
  void SetLayout(TTextLayout value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* value);

  void SetAutoSize(bool value) override;
  void Loaded() override;

  // Its accelerator focuses FocusControl.
  void CMDialogChar(TMessage& message);

protected:
  // With AutoSize the label takes the size of its text in its font (a right-justified
  // label keeps its right edge).
  void AdjustSize() override;
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  void TextChanged() override;
  void FontChanged() override;

private:
  UINT TextFlags() const;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
  TAVO_CLASS(TLabel, TCustomLabel)
public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// ---- Edits ----------------------------------------------------------------------------

class TCustomEdit : public TWinControl {
  TAVO_CLASS(TCustomEdit, TWinControl)
public:
  explicit TCustomEdit(TComponent* AOwner);

  // Bytes; 0 means no limit. Typing stops at the limit (text set in code is not cut).
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value) { FReadOnly = value; }
  TEditCharCase GetCharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase value);
  char GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char value) { FPasswordChar = value; }

  // The selection, in bytes from 0; setting the text puts the caret at 0.
  int GetSelStart() const { return FSelStart; }
  void SetSelStart(int value);
  int GetSelLength() const { return FSelLength; }
  void SetSelLength(int value);
  AnsiString GetSelText() const;
  void SetSelText(const AnsiString& value);
  void SelectAll();
  void ClearSelection() { SetSelText(""); }
  void Clear() { SetText(""); }

  void SetText(const AnsiString& value) override;

  bool AutoSelect = true;
  bool HideSelection = true;
  bool OEMConvert = false;
  bool Modified = false;
  TBorderStyle BorderStyle = bsSingle;
  TNotifyEvent OnChange;

  int DialogCode() const override { return DLGC_WANTCHARS | DLGC_WANTARROWS; }

protected:
  virtual void Change();
  void TextChanged() override;
  void DoEnter() override;
  void DefaultKeyDown(Word key, TShiftState shift) override;
  void DefaultChar(char key) override;
  void UserClick() override;
  // Replaces the selection as typing does: respects MaxLength (false when it does not
  // fit) and CharCase; marks the edit modified.
  bool TypeInsert(const AnsiString& bytes);
  // The byte length of the character before (after) position, minding double-byte
  // characters of the code page.
  int CharBefore(int position) const;
  int CharAfter(int position) const;
  AnsiString ApplyCharCase(const AnsiString& s) const;

  int FSelStart = 0;
  int FSelLength = 0;

private:
  int FMaxLength = 0;
  bool FReadOnly = false;
  TEditCharCase FCharCase = ecNormal;
  char FPasswordChar = '\0';
  char FLeadByte = '\0';
};

class TEdit : public TCustomEdit {
  TAVO_CLASS(TEdit, TCustomEdit)
public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

class TCustomMemo;

// The lines of a memo: a view of its text, which ends every line but a last empty one
// with CR LF, as the Windows edit control's lines are counted.
class TMemoStrings : public TStrings {
  TAVO_CLASS(TMemoStrings, TStrings)
public:
  explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}
  AnsiString Get(int index) const override;
  int GetCount() const override;
  void InsertObject(int index, const AnsiString& s, TObject* object) override;
  void Delete(int index) override;
  void Clear() override;
  void Put(int index, const AnsiString& s) override;

protected:
  void SetUpdateState(bool updating) override;

private:
  // Byte offsets where each physical line starts, and the text's length at the end.
  std::vector<int> LineStarts() const;
  TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
  TAVO_CLASS(TCustomMemo, TCustomEdit)
public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  TStrings* GetLines() const { return FLines.get(); }
  void SetLines(TStrings* value) { FLines->Assign(value); }
  // The caret's column and line, from 0.
  TPoint GetCaretPos() const;
  void SetCaretPos(const TPoint& value);

  bool WordWrap = true;
  bool WantReturns = true;
  bool WantTabs = false;
  TScrollStyle ScrollBars = ssNone;
  TAlignment Alignment = taLeftJustify;

  int DialogCode() const override;

protected:
  void DefaultChar(char key) override;
  void DefaultKeyDown(Word key, TShiftState shift) override;
  void DoEnter() override;

private:
  std::unique_ptr<TMemoStrings> FLines;
};

class TMemo : public TCustomMemo {
  TAVO_CLASS(TMemo, TCustomMemo)
public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// ---- Buttons --------------------------------------------------------------------------

class TButtonControl : public TWinControl {
  TAVO_CLASS(TButtonControl, TWinControl)
public:
  explicit TButtonControl(TComponent* AOwner);
  // Buttons take the focus when clicked, tab stop or not.
  bool FocusOnClick() const override { return true; }

protected:
  // Space clicks when released on the control it went down on.
  void DefaultKeyDown(Word key, TShiftState shift) override;
  void DefaultKeyUp(Word key, TShiftState shift) override;

private:
  bool FSpaceDown = false;
};

class TButton : public TButtonControl {
  TAVO_CLASS(TButton, TButtonControl)
public:
  explicit TButton(TComponent* AOwner);

  // Sets the form's ModalResult to the button's, then runs OnClick.
  void Click() override;

  bool GetDefault() const { return FDefault; }
  void SetDefault(bool value) { FDefault = value; }
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  // Enter clicks the active button: the focused button, else the default one.
  bool IsActive() const;

  TModalResult ModalResult = mrNone;

  // Its accelerator clicks it.
  void CMDialogChar(TMessage& message);

protected:
  void DefaultHandler(TMessage& message) override;

private:
  bool FDefault = false;
  bool FCancel = false;
};

// The state a click gives a check box in state: unchecked goes to grayed when grayed is
// allowed, else to checked; checked to unchecked; grayed to checked.
TCheckBoxState ToggledState(TCheckBoxState state, bool allowGrayed);

class TCustomCheckBox : public TButtonControl {
  TAVO_CLASS(TCustomCheckBox, TButtonControl)
public:
  explicit TCustomCheckBox(TComponent* AOwner);

  TCheckBoxState GetState() const { return FState; }
  // A change runs OnClick, as in the VCL.
  void SetState(TCheckBoxState value);
  bool GetChecked() const { return FState == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  bool AllowGrayed = false;
  TLeftRight Alignment = lrRightJustify;

  // Unchecked → grayed (when allowed) → checked → unchecked.
  virtual void Toggle();

  // Its accelerator focuses and toggles it.
  void CMDialogChar(TMessage& message);

protected:
  void UserClick() override { Toggle(); }

private:
  TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
  TAVO_CLASS(TCheckBox, TCustomCheckBox)
public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

class TRadioButton : public TButtonControl {
  TAVO_CLASS(TRadioButton, TButtonControl)
public:
  explicit TRadioButton(TComponent* AOwner);

  bool GetChecked() const { return FChecked; }
  // Checking unchecks the radio buttons of the same parent and runs OnClick; a checked
  // button is the group's tab stop.
  void SetChecked(bool value);
  TLeftRight Alignment = lrRightJustify;

  // Its accelerator focuses it (which checks it).
  void CMDialogChar(TMessage& message);

protected:
  void UserClick() override { SetChecked(true); }
  // Reached by the keyboard, an unchecked button checks itself, as Windows' automatic
  // radio buttons do.
  void DoEnter() override;

private:
  bool FChecked = false;
};

// ---- Group box ------------------------------------------------------------------------

class TCustomGroupBox : public TCustomControl {
  TAVO_CLASS(TCustomGroupBox, TCustomControl)
public:
  explicit TCustomGroupBox(TComponent* AOwner);

  // Its accelerator focuses its first control.
  void CMDialogChar(TMessage& message);

protected:
  void AdjustClientRect(TRect& rect) override;
  void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
  TAVO_CLASS(TGroupBox, TCustomGroupBox)
public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// ---- Lists ----------------------------------------------------------------------------

class TCustomComboBox;
class TCustomListBox;

// The items of a list control, telling it of every change so its selection follows.
class TListControlStrings : public TStringList {
  TAVO_CLASS(TListControlStrings, TStringList)
public:
  explicit TListControlStrings(std::function<void()> changed) : FChanged(std::move(changed)) {}

protected:
  void Changed() override;

private:
  std::function<void()> FChanged;
};

class TCustomComboBox : public TWinControl {
  TAVO_CLASS(TCustomComboBox, TWinControl)
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* value) { FItems->Assign(value); }
  int GetItemIndex() const { return FItemIndex; }
  // Selects an item (-1: none) and shows its text; no OnChange, as in the VCL.
  void SetItemIndex(int value);
  // A drop-down list's text is always its selected item's; setting it selects the item
  // with that text (compared without regard to case) or none.
  void SetText(const AnsiString& value) override;
  TComboBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TComboBoxStyle value);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool value);
  bool GetDroppedDown() const { return FDroppedDown; }
  void SetDroppedDown(bool value);

  // What a person choosing the item in the list does: select it, then OnChange, OnSelect
  // and OnClick.
  void SelectByUser(int index);
  // Asks OnDrawItem to draw an item on the canvas (owner-drawn styles).
  void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
  TCanvas* GetCanvas() const { return FCanvas.get(); }

  int DropDownCount = 8;
  int ItemHeight = 16;
  int MaxLength = 0;
  TEditCharCase CharCase = ecNormal;
  bool AutoComplete = true;
  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  int DialogCode() const override { return DLGC_WANTCHARS | DLGC_WANTARROWS; }
  void Loaded() override;

protected:
  virtual void Change();
  void DefaultKeyDown(Word key, TShiftState shift) override;
  void DefaultChar(char key) override;
  bool IsEditable() const { return FStyle == csDropDown || FStyle == csSimple; }

private:
  void ItemsChanged();
  std::unique_ptr<TListControlStrings> FItems;
  std::unique_ptr<TControlCanvas> FCanvas;
  int FItemIndex = -1;
  TComboBoxStyle FStyle = csDropDown;
  bool FSorted = false;
  bool FDroppedDown = false;
  char FLeadByte = '\0';
};

class TComboBox : public TCustomComboBox {
  TAVO_CLASS(TComboBox, TCustomComboBox)
public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

class TCustomListBox : public TWinControl {
  TAVO_CLASS(TCustomListBox, TWinControl)
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* value) { FItems->Assign(value); }
  // The focused item (-1: none); in a single-selection list also the selected one.
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int value);
  bool GetSelected(int index) const;  // raises EListError out of range
  void SetSelected(int index, bool value);
  int GetSelCount() const;            // -1 unless MultiSelect, as in Windows
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool value);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool value);
  TListBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TListBoxStyle value) { FStyle = value; }
  void ClearSelection();
  void SelectAll();

  // What a person clicking the item does (Ctrl toggles it in a multi-selection list):
  // select it, then OnClick.
  void SelectByUser(int index, TShiftState shift = {});
  void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
  TCanvas* GetCanvas() const { return FCanvas.get(); }

  bool ExtendedSelect = true;
  int ItemHeight = 13;
  int Columns = 0;
  bool IntegralHeight = false;
  TBorderStyle BorderStyle = bsSingle;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  int DialogCode() const override { return DLGC_WANTCHARS | DLGC_WANTARROWS; }

protected:
  void DefaultKeyDown(Word key, TShiftState shift) override;

private:
  void ItemsChanged();
  std::unique_ptr<TListControlStrings> FItems;
  std::unique_ptr<TControlCanvas> FCanvas;
  std::vector<bool> FSelected;
  int FItemIndex = -1;
  bool FMultiSelect = false;
  bool FSorted = false;
  TListBoxStyle FStyle = lbStandard;
};

class TListBox : public TCustomListBox {
  TAVO_CLASS(TListBox, TCustomListBox)
public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};
