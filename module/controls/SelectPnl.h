// The selection panel: one report condition entered either as a range (begin and end
// edits) or as a list of individual values, with lookup, delete and clear buttons.
#pragma once

#include "module/controls/BtChkBox.h"
#include "module/controls/F2Button.h"
#include "module/controls/GSpdBtn.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"

#include <memory>
#include <span>
#include <vector>

// Value names and order are part of the stored form format.
TAVO_ENUM(TSelectStyle, sp_Range, sp_Discrete, sp_UserChoice)
TAVO_ENUM(TValueType, vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask)
TAVO_ENUM(TDateType, dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD)
TAVO_ENUM(TCheckDuplicate, cd_None, cd_CheckCase, cd_CaseInsensitive)

// SenderParent (the panel), Sender (the control the lookup is for).
TAVO_EVENT(TOpenWinClickEvent, TObject*, TObject*)
TAVO_EVENT(TDeleteClickEvent, TObject*, bool&)
// Sender, NowStyle, NewStyle, Accept.
TAVO_EVENT(TStyleChangingEvent, TObject*, TSelectStyle, TSelectStyle&, bool&)
// Sender, OldStyle, NewStyle.
TAVO_EVENT(TStyleChangeEvent, TObject*, TSelectStyle, TSelectStyle)
// Sender, xItem, xIndex, xIsSelect.
TAVO_EVENT(TItemSelectEvent, TObject*, TListItem*, int, bool)

// The glyph check box, under the name the panel's resources use.
class TOrlCheckBox : public TBitCheckBox {
  TAVO_CLASS(TOrlCheckBox, TBitCheckBox)
public:
  explicit TOrlCheckBox(TComponent* AOwner) : TBitCheckBox(AOwner) {}
};

// A masked edit whose change notification can be held back while code rewrites its text.
class TOrlMaskEdit : public TMaskEdit {
  TAVO_CLASS(TOrlMaskEdit, TMaskEdit)
public:
  explicit TOrlMaskEdit(TComponent* AOwner) : TMaskEdit(AOwner) {}
  bool NoChange = false;

protected:
  void Change() override;
};

class TOrlListView : public TListView {
  TAVO_CLASS(TOrlListView, TListView)
public:
  explicit TOrlListView(TComponent* AOwner);

  bool ColumnsAutoSize = true;

  // Appends a row: values[0] the caption, the rest sub-items; missing columns
  // ("Data1", "Data2" …) are added first. False for no values or when adding fails.
  bool AddItem(std::span<const AnsiString> values);
  bool AddItem(std::initializer_list<AnsiString> values) {
    return AddItem(std::span<const AnsiString>(values.begin(), values.size()));
  }
  void ClearItems();
  // Every column as wide as its longest text in characters, times the width of "W".
  void AutoSizeColumns();

  // A press is taken only once the focus has arrived here.
  bool FocusOnClick() const override { return true; }

protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  void ItemInsertedHere(TObject* sender, TListItem* item);
  void ItemDeletingHere(TObject* sender, TListItem* item);
  void RefreshCaches();
  void NoteRow(const TListItem* item);
  void ApplyColumnWidths();

  // Running maxima (in characters) per column and the sub-item count every row has, so
  // adding one row does not revisit the others. Invalid after changes made elsewhere.
  std::vector<size_t> FColumnMax;
  int FRowSubItems = 0;
  bool FCachesValid = false;
  bool FAdding = false;
};

class TSelectPanel : public TGroupBox, public IEmbeddedButtons {
  TAVO_CLASS(TSelectPanel, TGroupBox)
public:
  explicit TSelectPanel(TComponent* AOwner);
  ~TSelectPanel() override;

  // Its three lookup buttons get the form's disabled images.
  std::vector<TSpeedButton*> EmbeddedButtons() const override { return {btnBegin, btnFinal, btnList}; }

  // The sub-controls, created and owned by the panel.
  TOrlCheckBox* chkUserChoice = nullptr;
  TPanel* pnlRange = nullptr;
  TPanel* pnlDiscrete = nullptr;
  TLabel* lblBegin = nullptr;
  TLabel* lblFinal = nullptr;
  TOrlMaskEdit* edBegin = nullptr;
  TOrlMaskEdit* edFinal = nullptr;
  TF2Button* btnBegin = nullptr;
  TF2Button* btnFinal = nullptr;
  TF2Button* btnList = nullptr;
  TGSpeedButton* btnDelete = nullptr;
  TGSpeedButton* btnClear = nullptr;
  TOrlListView* ListBox = nullptr;

  bool IsRangeInput() const;

  TSelectStyle GetStyle() const { return FStyle; }
  void SetStyle(TSelectStyle value);
  bool GetUserChoice() const { return FUserChoice; }
  void SetUserChoice(bool value);
  AnsiString GetHintWord() const { return FHintWord; }
  void SetHintWord(const AnsiString& value);
  TStrings* GetBeginWords() const { return FBeginWords.get(); }
  void SetBeginWords(TStrings* value);
  TStrings* GetFinalWords() const { return FFinalWords.get(); }
  void SetFinalWords(TStrings* value);
  TStrings* GetChildHints() const { return FChildHints.get(); }
  void SetChildHints(TStrings* value) { FChildHints->Assign(value); }
  bool GetUseVertical() const { return FUseVertical; }
  void SetUseVertical(bool value);
  int OtherWidth = 200;
  int OtherHeight = 105;
  bool GetCanOpenWin() const { return FCanOpenWin; }
  void SetCanOpenWin(bool value);
  int GetGlyphIndex() const { return FGlyphIndex; }
  void SetGlyphIndex(int value);
  AnsiString GetEditMask() const { return edBegin->GetEditMask(); }
  void SetEditMask(const AnsiString& value);
  TValueType ValueType = vt_String;
  TDateType DateType = dt_NoneCare;
  AnsiString DateSign = "/";
  bool AutoChangeDateSite = true;
  bool UseDiscard = false;
  AnsiString Discard;
  TCheckDuplicate GetCheckDuplicate() const { return FCheckDuplicate; }
  void SetCheckDuplicate(TCheckDuplicate value);
  bool GetSortListBox() const { return FSortListBox; }
  void SetSortListBox(bool value);
  TListItems* GetItems() const { return ListBox->GetItems(); }
  void SetItems(TListItems* value) { ListBox->SetItems(value); }
  TListColumns* GetColumns() const { return ListBox->GetColumns(); }
  void SetColumns(TListColumns* value);
  // A fresh copy of the captions; changing the list rebuilds the columns.
  TStrings* GetColumnCaptions();
  void SetColumnCaptions(TStrings* value);
  bool GetShowColumnHeader() const { return ListBox->GetShowColumnHeaders(); }
  void SetShowColumnHeader(bool value) { ListBox->SetShowColumnHeaders(value); }
  bool GetColumnsAutoSize() const { return ListBox->ColumnsAutoSize; }
  void SetColumnsAutoSize(bool value) { ListBox->ColumnsAutoSize = value; }
  bool GetHideSelection() const { return ListBox->GetHideSelection(); }
  void SetHideSelection(bool value) { ListBox->SetHideSelection(value); }

  // The text an empty edBegin shows under the current mask ("" without a mask).
  const AnsiString& BlankMaskText() const { return FBlankMaskText; }
  int SortColumn() const { return FSortColumn; }
  bool SortAscending() const { return FSortAscending; }

  // Exchanges Width/Height with OtherWidth/OtherHeight.
  void SwapSize();
  // Deletes rows whose caption equals the row before (as CheckDuplicate says).
  void RemoveDuplicates();
  // Sorts the list by SortColumn in the SortAscending direction.
  void SortItems();
  // The exit check's ordering of the two bounds.
  void CheckRange();
  // A date bound as the ordering reads it; 0 when it cannot be read.
  TDateTime ReadDateBound(const AnsiString& text) const;

  void SetFocus() override;
  void SetEnabled(bool value) override;
  void Loaded() override;

  TOpenWinClickEvent OnOpenWinClick;
  TDeleteClickEvent OnDeleteClick;
  TNotifyEvent OnClearClick;
  TNotifyEvent OnTypeClick;
  TStyleChangingEvent OnStyleChanging;
  TStyleChangeEvent OnStyleChange;
  TItemSelectEvent OnItemSelect;
  TLVChangeEvent OnItemChange;
  TLVChangingEvent OnItemChanging;

protected:
  void DoExit() override;
  void Resize() override;
  void FontChanged() override;
  void TextChanged() override;

private:
  bool RunTime() const;
  void UpdateVisibility(TSelectStyle style);
  void Layout();
  void LayoutFor(TSelectStyle style);
  void PlaceSubPanels(TWinControl* front, TWinControl* back, int top, int rightGap);
  void LayoutRangeHorizontal();
  void LayoutRangeVertical();
  void LayoutList();
  void SizeCheckBox();
  void ShowWords(int entry);
  void ApplyChildHints();
  void WordsChanged();
  void UserChoiceToggled();
  int CompareRows(TListItem* a, TListItem* b) const;
  void SetEnabledTree(TWinControl* control, bool value);

  // Sub-control handlers.
  void ChkClick(TObject* sender);
  void LookupClick(TObject* sender);
  void DeleteClick(TObject* sender);
  void ClearClick(TObject* sender);
  void ListSelectItem(TObject* sender, TListItem* item, bool selected);
  void ListChange(TObject* sender, TListItem* item, TItemChange change);
  void ListChanging(TObject* sender, TListItem* item, TItemChange change, bool& allow);
  void ListColumnClick(TObject* sender, TListColumn* column);
  void ListCompare(TObject* sender, TListItem* a, TListItem* b, int data, int& result);
  void SubKeyDown(TObject* sender, Word& key, TShiftState shift);
  void SubKeyUp(TObject* sender, Word& key, TShiftState shift);
  void SubKeyPress(TObject* sender, char& key);
  void SubClick(TObject* sender);
  void SubDblClick(TObject* sender);
  void SubMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void SubMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void SubMouseMove(TObject* sender, TShiftState shift, int x, int y);
  // The sender a forwarded mouse event names, with the point in its coordinates.
  TObject* MouseSender(TObject* sender, int& x, int& y) const;

  TSelectStyle FStyle = sp_Range;
  bool FUserChoice = true;
  AnsiString FHintWord;
  std::unique_ptr<TStringList> FBeginWords;
  std::unique_ptr<TStringList> FFinalWords;
  std::unique_ptr<TStringList> FChildHints;
  std::unique_ptr<TStringList> FColumnCaptions;
  bool FUseVertical = false;
  bool FCanOpenWin = true;
  int FGlyphIndex = 8;
  TCheckDuplicate FCheckDuplicate = cd_None;
  bool FSortListBox = false;
  AnsiString FBlankMaskText;
  int FSortColumn = 0;
  bool FSortAscending = true;
  bool FHeaderSorted = false;
  bool FCreated = false;
  bool FSyncingCaptions = false;
};
