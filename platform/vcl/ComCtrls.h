// The common controls: page control with its tab sheets, list view and status bar.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/FormResource.h"
#include "platform/vcl/ImgList.h"

#include <memory>
#include <vector>

class TCustomTabControl;
class TPageControl;

TAVO_ENUM(TTabPosition, tpTop, tpBottom, tpLeft, tpRight)
TAVO_ENUM(TTabStyle, tsTabs, tsButtons, tsFlatButtons)

TAVO_EVENT(TTabChangingEvent, TObject*, bool&)
// Control, the tab's index among the visible tabs, its rectangle, whether it is active.
TAVO_EVENT(TDrawTabEvent, TCustomTabControl*, int, const TRect&, bool)

// ---- Tab control ----------------------------------------------------------------------

// A row of tabs along the top. Tabs are fixed size: TabWidth (0: the caption's width
// plus 12) by TabHeight (0: the font's text height plus 6), side by side from (2, 2);
// the active tab's rectangle is 2 pixels larger on every side. The client area below
// the tabs is the display rectangle.
class TCustomTabControl : public TCustomControl {
  TAVO_CLASS(TCustomTabControl, TCustomControl)
public:
  explicit TCustomTabControl(TComponent* AOwner);
  ~TCustomTabControl() override;

  // The visible tabs.
  virtual int TabCount() const = 0;
  virtual AnsiString TabCaption(int tabIndex) const = 0;
  // The active tab (-1 when none).
  virtual int GetTabIndex() const = 0;

  TRect TabRect(int tabIndex) const;
  TRect DisplayRect() const;
  // The visible tab at a point of the client area, -1 when none.
  int IndexOfTabAt(int x, int y) const;

  bool GetOwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool value);
  int GetTabHeight() const { return FTabHeight; }
  void SetTabHeight(int value);
  int GetTabWidth() const { return FTabWidth; }
  void SetTabWidth(int value);
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* value);

  bool HotTrack = false;
  bool MultiLine = false;
  bool RaggedRight = false;
  bool ScrollOpposite = false;
  TTabPosition TabPosition = tpTop;
  TTabStyle Style = tsTabs;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  TDrawTabEvent OnDrawTab;

protected:
  // The user's change of tab: OnChanging may veto, OnChange reports it.
  virtual bool CanChange();
  virtual void Change();
  // Draws one tab (OnDrawTab when owner-drawn and assigned, else the standard look).
  virtual void DrawTab(int tabIndex, const TRect& rect, bool active);
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Tab geometry changed: the pages follow the display rectangle.
  virtual void TabsChanged() {}

private:
  int TabWidthOf(int tabIndex) const;
  int TabRowHeight() const;

  bool FOwnerDraw = false;
  int FTabHeight = 0;
  int FTabWidth = 0;
  TCustomImageList* FImages = nullptr;
};

// ---- Page control ---------------------------------------------------------------------

class TTabSheet : public TWinControl {
  TAVO_CLASS(TTabSheet, TWinControl)
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  TPageControl* GetPageControl() const { return FPageControl; }
  // Moves the sheet to another page control (last page) or out of any (nullptr).
  void SetPageControl(TPageControl* value);
  // A sheet placed on a page control by its parent joins its pages.
  void SetParent(TWinControl* AParent) override;

  // The position among all pages; setting it moves the sheet.
  int GetPageIndex() const;
  void SetPageIndex(int value);
  // The position among the visible tabs, -1 when the tab is hidden.
  int GetTabIndex() const;
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool value);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  bool Highlighted = false;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

protected:
  void TextChanged() override;

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  int FImageIndex = 0;
};

class TPageControl : public TCustomTabControl {
  TAVO_CLASS(TPageControl, TCustomTabControl)
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  int GetPageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* GetPage(int index) const;  // EListError outside the list
  const std::vector<TTabSheet*>& Pages() const { return FPages; }

  TTabSheet* GetActivePage() const { return FActivePage; }
  // Shows page (nullptr: none) without OnChanging/OnChange, as code does in the VCL;
  // a page of another control is ignored. When the focus is on the page being left it
  // goes to the new page (and the change stops if an exit handler keeps it).
  void SetActivePage(TTabSheet* page);
  int GetActivePageIndex() const;
  void SetActivePageIndex(int value);  // -1 or out of range: no page
  int GetTabIndex() const override;
  // Activates the page of the visible tab at that index (-1: none).
  void SetTabIndex(int value);

  // The page after (before) current, wrapping around; with checkTabVisible only pages
  // whose tab is visible count. nullptr when there is none. A current page that is not
  // one of ours starts from the end (start).
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  // Moves to the next page as a person does with Ctrl+Tab: OnChanging may veto, then
  // OnChange.
  void SelectNextPage(bool goForward, bool checkTabVisible = true);
  // A person clicks the visible tab at tabIndex: the control takes the focus (stopping
  // when an exit handler keeps it elsewhere), OnChanging may veto, the page changes and
  // OnChange follows. Answers whether the page changed.
  bool ClickTab(int tabIndex);

  int TabCount() const override;
  AnsiString TabCaption(int tabIndex) const override;
  // The page shown on the visible tab at tabIndex, nullptr when none.
  TTabSheet* PageForTab(int tabIndex) const;

  void Loaded() override;
  int DialogCode() const override { return DLGC_WANTARROWS; }
  // Ctrl+Tab (Ctrl+Shift+Tab) anywhere on the pages turns to the next (previous) page.
  void CMDialogKey(TMessage& message);

protected:
  void KeyDown(Word& key, TShiftState shift) override;
  // A press on a tab changes to its page (OnChanging may veto).
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void Resize() override;
  void TabsChanged() override;

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int newIndex);
  void TabVisibilityChanged(TTabSheet* page);
  void ChangeActivePage(TTabSheet* page);
  void PlacePage(TTabSheet* page) const;
  bool ChangeByUser(TTabSheet* page);

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};

// ---- List view ------------------------------------------------------------------------

class TCustomListView;
class TListItems;
class TListColumns;

TAVO_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport)
TAVO_ENUM(TSortType, stNone, stData, stText, stBoth)
TAVO_ENUM(TItemChange, ctText, ctImage, ctState)

// Column widths a list view computes: the widest text of the column, or its caption.
constexpr int ColumnTextWidth = -1;
constexpr int ColumnHeaderWidth = -2;

class TListColumn : public TPersistent {
  TAVO_CLASS(TListColumn, TPersistent)
public:
  explicit TListColumn(TListColumns* owner);
  void Assign(const TPersistent* source) override;

  AnsiString GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& value);
  // The width shown: an AutoSize column shares the client width the fixed columns leave;
  // ColumnTextWidth and ColumnHeaderWidth measure the texts; MinWidth/MaxWidth limit it.
  int GetWidth() const;
  void SetWidth(int value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  int GetMinWidth() const { return FMinWidth; }
  void SetMinWidth(int value);
  int GetMaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int value);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  int GetIndex() const;
  TListColumns* GetCollection() const { return FOwner; }

  int Tag = 0;

private:
  friend class TListColumns;
  friend class TCustomListView;
  void Changed();
  TListColumns* FOwner;
  AnsiString FCaption;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = false;
  int FMinWidth = 0;
  int FMaxWidth = 0;
  int FImageIndex = -1;
};

class TListColumns : public TPersistent, public IStreamableCollection {
  TAVO_CLASS(TListColumns, TPersistent)
public:
  explicit TListColumns(TCustomListView* owner);
  ~TListColumns() override;
  void Assign(const TPersistent* source) override;

  TListColumn* Add();
  TListColumn* Insert(int index);
  void Delete(int index);  // EListError outside the list
  void Clear();
  int GetCount() const { return static_cast<int>(FItems.size()); }
  int Count() const { return GetCount(); }
  TListColumn* GetItem(int index) const;  // EListError outside the list
  TListColumn* operator[](int index) const { return GetItem(index); }
  TCustomListView* GetOwner() const { return FOwner; }
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  void ClearItems() override { Clear(); }
  TPersistent* AddItem() override { return Add(); }

private:
  friend class TListColumn;
  friend class TCustomListView;
  void Changed();
  TCustomListView* FOwner;
  std::vector<std::unique_ptr<TListColumn>> FItems;
  int FUpdateCount = 0;
};

class TListItem : public TPersistent {
  TAVO_CLASS(TListItem, TPersistent)
public:
  explicit TListItem(TListItems* owner);
  ~TListItem() override;
  void Assign(const TPersistent* source) override;

  AnsiString GetCaption() const { return FCaption; }
  // OnChanging may veto; OnChange follows; a list sorted by text sorts again.
  void SetCaption(const AnsiString& value);
  TStrings* GetSubItems() const { return FSubItems.get(); }
  void SetSubItems(TStrings* value) { FSubItems->Assign(value); }
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  int StateIndex = -1;
  int Indent = 0;
  // Selecting in a single-selection list deselects the other item; every change runs
  // OnChanging/OnChange (ctState) and OnSelectItem.
  bool GetSelected() const { return FSelected; }
  void SetSelected(bool value);
  bool GetFocused() const { return FFocused; }
  void SetFocused(bool value);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool value);
  void* GetData() const { return FData; }
  // A list sorted by data sorts again.
  void SetData(void* value);
  int GetIndex() const { return FIndex; }
  TListItems* GetOwner() const { return FOwner; }
  TCustomListView* GetListView() const;

  // Starts editing the caption in place when the list is not read-only and OnEditing
  // allows it.
  bool EditCaption();
  void Delete();
  void MakeVisible(bool partialOK) {}
  // The item's row in the client area (report and list views: one row per item).
  TRect DisplayRect() const;

private:
  friend class TListItems;
  friend class TCustomListView;
  TListItems* FOwner;
  AnsiString FCaption;
  std::unique_ptr<TStringList> FSubItems;
  int FImageIndex = -1;
  bool FSelected = false;
  bool FFocused = false;
  bool FChecked = false;
  void* FData = nullptr;
  int FIndex = 0;
};

// The items of a list view. Adding at the end is cheap; BeginUpdate/EndUpdate suspend
// repainting and re-sorting until the last EndUpdate.
class TListItems : public TPersistent {
  TAVO_CLASS(TListItems, TPersistent)
public:
  explicit TListItems(TCustomListView* owner);
  ~TListItems() override;
  void Assign(const TPersistent* source) override;

  TListItem* Add();
  // A new item at index (0..Count).
  TListItem* Insert(int index);
  // OnDeletion runs first; EListError outside the list.
  void Delete(int index);
  void Clear();
  int GetCount() const { return static_cast<int>(FItems.size()); }
  int Count() const { return GetCount(); }
  TListItem* GetItem(int index) const;  // EListError outside the list
  TListItem* operator[](int index) const { return GetItem(index); }
  int IndexOf(const TListItem* item) const;
  TCustomListView* GetOwner() const { return FOwner; }

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

private:
  friend class TListItem;
  friend class TCustomListView;
  void Renumber(int from);
  TCustomListView* FOwner;
  std::vector<std::unique_ptr<TListItem>> FItems;
  int FUpdateCount = 0;
};

TAVO_EVENT(TLVChangeEvent, TObject*, TListItem*, TItemChange)
TAVO_EVENT(TLVChangingEvent, TObject*, TListItem*, TItemChange, bool&)
TAVO_EVENT(TLVSelectItemEvent, TObject*, TListItem*, bool)
// Sender, the two items, the sort's data and the answer (<0, 0, >0).
TAVO_EVENT(TLVCompareEvent, TObject*, TListItem*, TListItem*, int, int&)
TAVO_EVENT(TLVEditingEvent, TObject*, TListItem*, bool&)
TAVO_EVENT(TLVEditedEvent, TObject*, TListItem*, AnsiString&)
TAVO_EVENT(TLVColumnClickEvent, TObject*, TListColumn*)
TAVO_EVENT(TLVDeletedEvent, TObject*, TListItem*)

// A sort order: negative, zero or positive as item1 goes before, with or after item2.
using TLVCompare = std::function<int(TListItem* item1, TListItem* item2, int data)>;

class TCustomListView : public TCustomControl {
  TAVO_CLASS(TCustomListView, TCustomControl)
public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;

  TListItems* GetItems() const { return FItems.get(); }
  void SetItems(TListItems* value) { FItems->Assign(value); }
  TListColumns* GetColumns() const { return FColumns.get(); }
  void SetColumns(TListColumns* value) { FColumns->Assign(value); }
  TListColumn* Column(int index) const { return FColumns->GetItem(index); }

  TViewStyle GetViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle value);
  // Turning multi-selection off keeps only the first selected item.
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value) { FReadOnly = value; }
  bool GetRowSelect() const { return FRowSelect; }
  void SetRowSelect(bool value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool value);
  // A sort type other than stNone sorts at once (and again on every change of what it
  // sorts by).
  TSortType GetSortType() const { return FSortType; }
  void SetSortType(TSortType value);
  TCustomImageList* GetSmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* value);
  TCustomImageList* GetLargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* value);

  bool ColumnClick = true;
  bool GridLines = false;
  bool Checkboxes = false;
  bool HotTrack = false;
  bool FlatScrollBars = false;
  int AllocBy = 0;
  TBorderStyle BorderStyle = bsSingle;

  // The first selected item; setting one selects only it (nullptr clears the selection).
  TListItem* GetSelected() const;
  void SetSelected(TListItem* item);
  int GetSelCount() const { return FSelCount; }
  TListItem* GetItemFocused() const { return FFocusedItem; }
  void SetItemFocused(TListItem* item);
  void ClearSelection();
  void SelectAll();  // multi-selection lists only
  // The next item after start (nullptr: from the first) that is selected, -1 index none.
  TListItem* GetNextSelected(TListItem* start) const;

  // Sorts by OnCompare, or else by caption (code-page order, case-sensitive).
  bool AlphaSort();
  // Sorts by compare (nullptr: as AlphaSort, with data handed to OnCompare).
  bool CustomSort(const TLVCompare& compare, int data);

  // A person clicking an item: the list takes the focus (stopping when it does not
  // arrive), then Ctrl toggles the item and Shift extends from the focused item in a
  // multi-selection list, otherwise the item alone is selected; the item gets the focus.
  bool ClickItem(TListItem* item, TShiftState shift = {});
  // A person clicking a column header: OnColumnClick, when ColumnClick is on.
  void ClickColumn(int index);
  TListItem* GetItemAt(int x, int y) const;

  // In-place editing of a caption begun by EditCaption: finishing with accept runs
  // OnEdited (which may change the text) and sets the caption.
  bool IsEditing() const { return FEditing != nullptr; }
  TListItem* EditingItem() const { return FEditing; }
  void FinishEditing(const AnsiString& text, bool accept);

  // Rows of the report view.
  int RowHeight() const;
  int HeaderHeight() const;

  TLVChangeEvent OnChange;
  TLVChangingEvent OnChanging;
  TLVSelectItemEvent OnSelectItem;
  TLVCompareEvent OnCompare;
  TLVEditingEvent OnEditing;
  TLVEditedEvent OnEdited;
  TLVColumnClickEvent OnColumnClick;
  TLVDeletedEvent OnDeletion;
  TLVDeletedEvent OnInsert;

  int DialogCode() const override { return DLGC_WANTARROWS; }

protected:
  void Paint() override;
  void KeyDown(Word& key, TShiftState shift) override;
  // A press on a row selects as ClickItem does; on no row it clears the selection.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumns;
  friend class TListColumn;
  bool CanChange(TListItem* item, TItemChange change);
  void ItemChanged(TListItem* item, TItemChange change);
  void ItemInserted(TListItem* item);
  void ItemDeleting(TListItem* item);
  // Sorts when the sort type covers what changed (text or data), or marks it pending.
  void SortIfNeeded(bool textChanged, bool dataChanged);
  void UpdateEnded();
  void ColumnsChanged();
  int ColumnContentWidth(int column, bool withCaption) const;
  void MoveFocus(int index, TShiftState shift);
  void SelectByClick(TListItem* item, TShiftState shift);

  std::unique_ptr<TListItems> FItems;
  std::unique_ptr<TListColumns> FColumns;
  TViewStyle FViewStyle = vsIcon;
  bool FMultiSelect = false;
  bool FReadOnly = false;
  bool FRowSelect = false;
  bool FHideSelection = true;
  bool FShowColumnHeaders = true;
  TSortType FSortType = stNone;
  TCustomImageList* FSmallImages = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  int FSelCount = 0;
  TListItem* FFocusedItem = nullptr;
  TListItem* FEditing = nullptr;
  TListItem* FAnchor = nullptr;
  bool FSortPending = false;
  bool FSorting = false;
};

class TListView : public TCustomListView {
  TAVO_CLASS(TListView, TCustomListView)
public:
  explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
};

// ---- Status bar -----------------------------------------------------------------------

class TStatusBar;
class TStatusPanels;

TAVO_ENUM(TStatusPanelStyle, psText, psOwnerDraw)
TAVO_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

class TStatusPanel : public TPersistent {
  TAVO_CLASS(TStatusPanel, TPersistent)
public:
  explicit TStatusPanel(TStatusPanels* owner);
  void Assign(const TPersistent* source) override;

  AnsiString GetText() const { return FText; }
  void SetText(const AnsiString& value);
  int GetWidth() const { return FWidth; }
  void SetWidth(int value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TStatusPanelBevel GetBevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel value);
  TStatusPanelStyle GetStyle() const { return FStyle; }
  void SetStyle(TStatusPanelStyle value);
  int GetIndex() const;

private:
  void Changed();
  TStatusPanels* FOwner;
  AnsiString FText;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelBevel FBevel = pbLowered;
  TStatusPanelStyle FStyle = psText;
};

class TStatusPanels : public TPersistent, public IStreamableCollection {
  TAVO_CLASS(TStatusPanels, TPersistent)
public:
  explicit TStatusPanels(TStatusBar* owner);
  ~TStatusPanels() override;
  void Assign(const TPersistent* source) override;

  TStatusPanel* Add();
  void Delete(int index);  // EListError outside the list
  void Clear();
  int GetCount() const { return static_cast<int>(FItems.size()); }
  int Count() const { return GetCount(); }
  TStatusPanel* GetItem(int index) const;  // EListError outside the list
  TStatusPanel* operator[](int index) const { return GetItem(index); }
  TStatusBar* GetOwner() const { return FOwner; }

  void ClearItems() override { Clear(); }
  TPersistent* AddItem() override { return Add(); }

private:
  friend class TStatusPanel;
  friend class TStatusBar;
  TStatusBar* FOwner;
  std::vector<std::unique_ptr<TStatusPanel>> FItems;
};

TAVO_EVENT(TDrawPanelEvent, TStatusBar*, TStatusPanel*, const TRect&)

// A bar along the bottom of its form: panels side by side (the last one taking the rest
// of the width), or one simple text when SimplePanel is on.
class TStatusBar : public TCustomControl {
  TAVO_CLASS(TStatusBar, TCustomControl)
public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;

  TStatusPanels* GetPanels() const { return FPanels.get(); }
  void SetPanels(TStatusPanels* value) { FPanels->Assign(value); }
  bool GetSimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool value);
  AnsiString GetSimpleText() const { return FSimpleText; }
  void SetSimpleText(const AnsiString& value);
  bool SizeGrip = true;
  bool AutoHint = false;
  TDrawPanelEvent OnDrawPanel;

  // The rectangle of a panel in the client area.
  TRect PanelRect(int index) const;

protected:
  void Paint() override;

private:
  friend class TStatusPanel;
  friend class TStatusPanels;
  std::unique_ptr<TStatusPanels> FPanels;
  bool FSimplePanel = false;
  AnsiString FSimpleText;
};
