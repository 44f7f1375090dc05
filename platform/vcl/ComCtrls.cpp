#include "platform/vcl/ComCtrls.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

#include <algorithm>

// ---- Tab control ----------------------------------------------------------------------

TAVO_CLASS_IMPL(TCustomTabControl, TCustomControl)

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
  SetColor(clBtnFace);
  SetParentColor(false);
  ControlStyle = TControlStyle{csAcceptsControls, csDoubleClicks};
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::SetOwnerDraw(bool value) {
  if (value == FOwnerDraw) return;
  FOwnerDraw = value;
  Invalidate();
}

void TCustomTabControl::SetTabHeight(int value) {
  value = std::max(0, value);
  if (value == FTabHeight) return;
  FTabHeight = value;
  TabsChanged();
  Invalidate();
}

void TCustomTabControl::SetTabWidth(int value) {
  value = std::max(0, value);
  if (value == FTabWidth) return;
  FTabWidth = value;
  TabsChanged();
  Invalidate();
}

void TCustomTabControl::SetImages(TCustomImageList* value) {
  if (value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = value;
  if (FImages) FImages->FreeNotification(this);
  Invalidate();
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) FImages = nullptr;
}

int TCustomTabControl::TabRowHeight() const {
  if (FTabHeight > 0) return FTabHeight;
  return GetCanvas()->TextHeight("Wg") + 6;
}

int TCustomTabControl::TabWidthOf(int tabIndex) const {
  if (FTabWidth > 0) return FTabWidth;
  return GetCanvas()->TextWidth(TabCaption(tabIndex)) + 12;
}

TRect TCustomTabControl::TabRect(int tabIndex) const {
  if (tabIndex < 0 || tabIndex >= TabCount()) return TRect{};
  int left = 2;
  for (int i = 0; i < tabIndex; ++i) left += TabWidthOf(i);
  TRect r = Bounds(left, 2, TabWidthOf(tabIndex), TabRowHeight());
  if (tabIndex == GetTabIndex()) InflateRect(r, 2, 2);
  return r;
}

TRect TCustomTabControl::DisplayRect() const {
  const int top = TabCount() > 0 ? 2 + TabRowHeight() + 2 : 4;
  return TRect{4, top, std::max(4, GetWidth() - 4), std::max(top, GetHeight() - 4)};
}

int TCustomTabControl::IndexOfTabAt(int x, int y) const {
  for (int i = 0; i < TabCount(); ++i)
    if (TabRect(i).Contains(Point(x, y))) return i;
  return -1;
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() { OnChange(this); }

void TCustomTabControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
  if (FOwnerDraw && OnDrawTab) {
    OnDrawTab(this, tabIndex, rect, active);
    return;
  }
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(rect);
  c->GetBrush()->SetColor(clBtnShadow);
  c->FrameRect(rect);
  c->GetBrush()->SetStyle(bsClear);
  TRect text = rect;
  DrawText(c, TabCaption(tabIndex), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TCustomTabControl::Paint() {
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
  c->GetBrush()->SetColor(clBtnShadow);
  c->FrameRect(DisplayRect());
  const int active = GetTabIndex();
  // The active tab overlaps its neighbours, so it is drawn last.
  for (int i = 0; i < TabCount(); ++i)
    if (i != active) DrawTab(i, TabRect(i), false);
  if (active >= 0 && active < TabCount()) DrawTab(active, TabRect(active), true);
}

// ---- Tab sheet ------------------------------------------------------------------------

TAVO_PUBLISHED(TTabSheet, TWinControl) {
  P.Publish({"Caption", "Enabled", "Font", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint",
             "Visible", "OnEnter", "OnExit", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize"});
  P.Bool("Highlighted", &TTabSheet::Highlighted, &TTabSheet::Highlighted);
  P.Int("ImageIndex", &TTabSheet::GetImageIndex, &TTabSheet::SetImageIndex);
  P.Int("PageIndex", &TTabSheet::GetPageIndex, &TTabSheet::SetPageIndex);
  P.Bool("TabVisible", &TTabSheet::GetTabVisible, &TTabSheet::SetTabVisible);
  P.Event("OnHide", &TTabSheet::OnHide);
  P.Event("OnShow", &TTabSheet::OnShow);
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = TControlStyle{csAcceptsControls};
  SetVisible(false);
  SetColor(clBtnFace);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) {
  if (value == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  TWinControl::SetParent(value);
  if (value) value->InsertPage(this);
}

void TTabSheet::SetParent(TWinControl* AParent) {
  if (auto* pc = dynamic_cast<TPageControl*>(AParent)) {
    SetPageControl(pc);
    return;
  }
  if (FPageControl) FPageControl->RemovePage(this);
  TWinControl::SetParent(AParent);
}

int TTabSheet::GetPageIndex() const {
  if (!FPageControl) return -1;
  const auto& pages = FPageControl->FPages;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int value) {
  if (FPageControl) FPageControl->MovePage(this, value);
}

int TTabSheet::GetTabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int index = 0;
  for (TTabSheet* p : FPageControl->FPages) {
    if (p == this) return index;
    if (p->FTabVisible) ++index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool value) {
  if (value == FTabVisible) return;
  FTabVisible = value;
  if (FPageControl) FPageControl->TabVisibilityChanged(this);
}

void TTabSheet::SetImageIndex(int value) {
  FImageIndex = value;
  if (FPageControl) FPageControl->Invalidate();
}

void TTabSheet::TextChanged() {
  TWinControl::TextChanged();
  if (FPageControl) FPageControl->Invalidate();
}

// ---- Page control ---------------------------------------------------------------------

TAVO_PUBLISHED(TPageControl, TCustomTabControl) {
  P.Obj("ActivePage", &TPageControl::GetActivePage, &TPageControl::SetActivePage);
  P.Publish({"Align", "Anchors", "BiDiMode", "DragKind", "DragMode", "Enabled", "Font", "ParentBiDiMode",
             "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible",
             "OnEnter", "OnExit", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize"});
  P.Bool("HotTrack", &TPageControl::HotTrack, &TPageControl::HotTrack);
  P.Obj("Images", &TPageControl::GetImages, &TPageControl::SetImages);
  P.Bool("MultiLine", &TPageControl::MultiLine, &TPageControl::MultiLine);
  P.Bool("OwnerDraw", &TPageControl::GetOwnerDraw, &TPageControl::SetOwnerDraw);
  P.Bool("RaggedRight", &TPageControl::RaggedRight, &TPageControl::RaggedRight);
  P.Bool("ScrollOpposite", &TPageControl::ScrollOpposite, &TPageControl::ScrollOpposite);
  P.Enum("Style", &TPageControl::Style, &TPageControl::Style);
  P.Int("TabHeight", &TPageControl::GetTabHeight, &TPageControl::SetTabHeight);
  P.Enum("TabPosition", &TPageControl::TabPosition, &TPageControl::TabPosition);
  P.Int("TabWidth", &TPageControl::GetTabWidth, &TPageControl::SetTabWidth);
  P.Event("OnChange", &TCustomTabControl::OnChange);
  P.Event("OnChanging", &TCustomTabControl::OnChanging);
  P.Event("OnDrawTab", &TCustomTabControl::OnDrawTab);
  P.Message(CM_DIALOGKEY, &TPageControl::CMDialogKey);
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl() {
  // The sheets outlive this object during the control's destruction; they must not
  // call back.
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
}

TTabSheet* TPageControl::GetPage(int index) const {
  if (index < 0 || index >= GetPageCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FPages[index];
}

int TPageControl::TabCount() const {
  return static_cast<int>(std::count_if(FPages.begin(), FPages.end(), [](TTabSheet* p) { return p->FTabVisible; }));
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TTabSheet* p : FPages)
    if (p->FTabVisible && tabIndex-- == 0) return p;
  return nullptr;
}

AnsiString TPageControl::TabCaption(int tabIndex) const {
  TTabSheet* p = PageForTab(tabIndex);
  return p ? p->GetCaption() : AnsiString();
}

int TPageControl::GetTabIndex() const { return FActivePage ? FActivePage->GetTabIndex() : -1; }

void TPageControl::SetTabIndex(int value) { SetActivePage(PageForTab(value)); }

int TPageControl::GetActivePageIndex() const { return FActivePage ? FActivePage->GetPageIndex() : -1; }

void TPageControl::SetActivePageIndex(int value) {
  SetActivePage(value >= 0 && value < GetPageCount() ? FPages[value] : nullptr);
}

void TPageControl::PlacePage(TTabSheet* page) const { page->SetBoundsRect(DisplayRect()); }

void TPageControl::Resize() {
  TCustomTabControl::Resize();
  TabsChanged();
}

void TPageControl::TabsChanged() {
  for (TTabSheet* p : FPages) PlacePage(p);
}

void TPageControl::InsertPage(TTabSheet* page) {
  FPages.push_back(page);
  page->FPageControl = this;
  TabsChanged();
  // As the tab control does, the first tab shown is selected.
  if (!FActivePage && page->FTabVisible && !IsLoading())
    SetActivePage(page);
  else
    page->SetVisible(page == FActivePage);
  Invalidate();
}

void TPageControl::RemovePage(TTabSheet* page) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  const bool wasActive = page == FActivePage;
  const int tab = page->GetTabIndex();
  if (wasActive) {
    // The tab that takes its place becomes active; a sheet going away loses the focus
    // without running anyone's exit handler twice.
    if (TCustomForm* form = GetParentForm(this))
      if (page->ContainsControl(form->GetFocusedControl())) form->DefocusControl(page, true);
    FActivePage = nullptr;
  }
  FPages.erase(it);
  page->FPageControl = nullptr;
  if (wasActive && !IsDestroying()) {
    const int count = TabCount();
    SetActivePage(count == 0 ? nullptr : PageForTab(std::min(tab, count - 1)));
  }
  Invalidate();
}

void TPageControl::MovePage(TTabSheet* page, int newIndex) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  newIndex = std::clamp(newIndex, 0, GetPageCount() - 1);
  FPages.erase(it);
  FPages.insert(FPages.begin() + newIndex, page);
  Invalidate();
}

void TPageControl::TabVisibilityChanged(TTabSheet* page) {
  if (!page->FTabVisible && page == FActivePage) {
    // Hiding the active tab activates the tab that takes its index, or the last one.
    int index = 0;
    for (TTabSheet* p : FPages) {
      if (p == page) break;
      if (p->FTabVisible) ++index;
    }
    const int count = TabCount();
    SetActivePage(count == 0 ? nullptr : PageForTab(std::min(index, count - 1)));
  } else if (page->FTabVisible && !FActivePage && !IsLoading()) {
    SetActivePage(page);
  }
  Invalidate();
}

void TPageControl::ChangeActivePage(TTabSheet* page) {
  if (FActivePage == page) return;
  TCustomForm* form = GetParentForm(this);
  if (form && FActivePage && FActivePage->ContainsControl(form->GetActiveControl())) {
    form->SetActiveControl(FActivePage);
    if (form->GetActiveControl() != FActivePage) return;  // an exit handler kept the focus
  }
  if (page) {
    page->BringToFront();
    page->SetVisible(true);
    if (form && FActivePage && form->GetActiveControl() == FActivePage)
      form->SetActiveControl(page->CanFocus() ? static_cast<TWinControl*>(page) : this);
  }
  TTabSheet* old = FActivePage;
  if (old) old->SetVisible(false);
  FActivePage = page;
  if (old) old->OnHide(old);
  if (page) page->OnShow(page);
  if (form && FActivePage && form->GetActiveControl() == FActivePage) {
    // The first control of the new page gets the focus.
    TWinControl* first = FActivePage->FindNextControl(nullptr, true, true, false);
    if (!first) first = FActivePage->FindNextControl(nullptr, true, false, false);
    if (first) form->SetActiveControl(first);
  }
  Invalidate();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->FPageControl != this) return;
  ChangeActivePage(page);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
  return FindNextInCycle(FPages, current, goForward,
                         [&](TTabSheet* page) { return !checkTabVisible || page->FTabVisible; });
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
  TTabSheet* page = FindNextPage(FActivePage, goForward, checkTabVisible);
  if (page && page != FActivePage && CanChange()) {
    SetActivePage(page);
    Change();
  }
}

bool TPageControl::ChangeByUser(TTabSheet* page) {
  if (!page || page == FActivePage || !CanChange()) return false;
  SetActivePage(page);
  if (FActivePage != page) return false;
  Change();
  return true;
}

bool TPageControl::ClickTab(int tabIndex) {
  TTabSheet* page = PageForTab(tabIndex);
  if (!page || !EffectiveEnabled() || !GetVisible()) return false;
  if (CanFocus() && !Focused()) {
    SetFocus();
    if (!Focused()) return false;
  }
  return ChangeByUser(page);
}

void TPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomTabControl::MouseDown(button, shift, x, y);
  // A press the focus did not follow (an exit handler kept it) changes nothing.
  if (button != mbLeft || (FocusOnClick() && !Focused())) return;
  ChangeByUser(PageForTab(IndexOfTabAt(x, y)));
}

void TPageControl::KeyDown(Word& key, TShiftState shift) {
  TCustomTabControl::KeyDown(key, shift);
  // The arrows move between neighbouring tabs without wrapping.
  if ((key == VK_LEFT || key == VK_RIGHT) && shift.Empty()) {
    const int tab = GetTabIndex() + (key == VK_RIGHT ? 1 : -1);
    ChangeByUser(PageForTab(tab));
    key = 0;
  }
}

void TPageControl::CMDialogKey(TMessage& message) {
  // Ctrl+Tab anywhere on the pages turns the page.
  TCustomForm* form = GetParentForm(this);
  TWinControl* focused = form ? form->GetFocusedControl() : nullptr;
  const TShiftState shift = TShiftState::FromBits(static_cast<uint32_t>(message.LParam));
  if (message.WParam == VK_TAB && shift.Contains(ssCtrl) && focused && ContainsControl(focused)) {
    SelectNextPage(!shift.Contains(ssShift));
    message.Result = 1;
    return;
  }
  DispatchInherited(TPageControl::StaticClass(), message);
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  for (TTabSheet* p : FPages) p->SetVisible(p == FActivePage);
  TabsChanged();
}

// ---- List columns ---------------------------------------------------------------------

namespace {

[[noreturn]] void ListIndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

UINT AlignmentFlags(TAlignment a) {
  switch (a) {
    case taLeftJustify: return DT_LEFT;
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
  }
  return DT_LEFT;
}

}  // namespace

TAVO_PUBLISHED(TListColumn, TPersistent) {
  P.Enum("Alignment", &TListColumn::GetAlignment, &TListColumn::SetAlignment);
  P.Bool("AutoSize", &TListColumn::GetAutoSize, &TListColumn::SetAutoSize);
  P.Str("Caption", &TListColumn::GetCaption, &TListColumn::SetCaption);
  P.Int("ImageIndex", &TListColumn::GetImageIndex, &TListColumn::SetImageIndex);
  P.Int("MaxWidth", &TListColumn::GetMaxWidth, &TListColumn::SetMaxWidth);
  P.Int("MinWidth", &TListColumn::GetMinWidth, &TListColumn::SetMinWidth);
  P.Int("Tag", &TListColumn::Tag, &TListColumn::Tag);
  P.Int("Width", &TListColumn::GetWidth, &TListColumn::SetWidth);
}

TListColumn::TListColumn(TListColumns* owner) : FOwner(owner) {}

void TListColumn::Assign(const TPersistent* source) {
  if (auto* c = dynamic_cast<const TListColumn*>(source)) {
    FCaption = c->FCaption;
    FWidth = c->FWidth;
    FAlignment = c->FAlignment;
    FAutoSize = c->FAutoSize;
    FMinWidth = c->FMinWidth;
    FMaxWidth = c->FMaxWidth;
    FImageIndex = c->FImageIndex;
    Tag = c->Tag;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TListColumn::Changed() {
  if (FOwner) FOwner->Changed();
}

void TListColumn::SetCaption(const AnsiString& value) {
  FCaption = value;
  Changed();
}

void TListColumn::SetWidth(int value) {
  FWidth = value < ColumnHeaderWidth ? 0 : value;
  Changed();
}

void TListColumn::SetAlignment(TAlignment value) {
  FAlignment = value;
  Changed();
}

void TListColumn::SetAutoSize(bool value) {
  FAutoSize = value;
  Changed();
}

void TListColumn::SetMinWidth(int value) {
  FMinWidth = std::max(0, value);
  Changed();
}

void TListColumn::SetMaxWidth(int value) {
  FMaxWidth = std::max(0, value);
  Changed();
}

void TListColumn::SetImageIndex(int value) {
  FImageIndex = value;
  Changed();
}

int TListColumn::GetIndex() const {
  if (!FOwner) return -1;
  for (int i = 0; i < FOwner->GetCount(); ++i)
    if (FOwner->FItems[i].get() == this) return i;
  return -1;
}

int TListColumn::GetWidth() const {
  TCustomListView* lv = FOwner ? FOwner->GetOwner() : nullptr;
  int w = FWidth;
  if (lv && FAutoSize) {
    int fixed = 0, shared = 0;
    for (const auto& c : FOwner->FItems)
      if (c->FAutoSize)
        ++shared;
      else
        fixed += c->GetWidth();
    w = std::max(0, lv->GetClientWidth() - fixed) / std::max(1, shared);
  } else if (lv && (FWidth == ColumnTextWidth || FWidth == ColumnHeaderWidth)) {
    w = lv->ColumnContentWidth(GetIndex(), FWidth == ColumnHeaderWidth);
  }
  if (FMaxWidth > 0) w = std::min(w, FMaxWidth);
  return std::max(w, FMinWidth);
}

TAVO_CLASS_IMPL(TListColumns, TPersistent)

TListColumns::TListColumns(TCustomListView* owner) : FOwner(owner) {}
TListColumns::~TListColumns() = default;

void TListColumns::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TListColumns*>(source)) {
    if (other == this) return;
    BeginUpdate();
    Clear();
    for (const auto& c : other->FItems) Add()->Assign(c.get());
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TListColumns::Changed() {
  if (FUpdateCount == 0 && FOwner) FOwner->ColumnsChanged();
}

void TListColumns::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

TListColumn* TListColumns::Add() { return Insert(GetCount()); }

TListColumn* TListColumns::Insert(int index) {
  if (index < 0 || index > GetCount()) ListIndexError(index);
  FItems.insert(FItems.begin() + index, std::make_unique<TListColumn>(this));
  Changed();
  return FItems[index].get();
}

void TListColumns::Delete(int index) {
  if (index < 0 || index >= GetCount()) ListIndexError(index);
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TListColumns::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

TListColumn* TListColumns::GetItem(int index) const {
  if (index < 0 || index >= GetCount()) ListIndexError(index);
  return FItems[index].get();
}

// ---- List items -----------------------------------------------------------------------

TAVO_CLASS_IMPL(TListItem, TPersistent)

TListItem::TListItem(TListItems* owner) : FOwner(owner), FSubItems(std::make_unique<TStringList>()) {
  FSubItems->OnChange = [this](TObject*) {
    TCustomListView* lv = GetListView();
    if (lv && lv->GetItems()->UpdateCount() == 0) lv->Invalidate();
  };
}

TListItem::~TListItem() { FSubItems->OnChange = nullptr; }

TCustomListView* TListItem::GetListView() const { return FOwner ? FOwner->GetOwner() : nullptr; }

void TListItem::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TListItem*>(source)) {
    SetCaption(other->FCaption);
    FSubItems->Assign(other->FSubItems.get());
    SetImageIndex(other->FImageIndex);
    StateIndex = other->StateIndex;
    Indent = other->Indent;
    SetData(other->FData);
    SetChecked(other->FChecked);
    return;
  }
  TPersistent::Assign(source);
}

void TListItem::SetCaption(const AnsiString& value) {
  if (value == FCaption) return;
  TCustomListView* lv = GetListView();
  if (lv && !lv->CanChange(this, ctText)) return;
  FCaption = value;
  if (lv) {
    lv->ItemChanged(this, ctText);
    lv->SortIfNeeded(true, false);
  }
}

void TListItem::SetImageIndex(int value) {
  if (value == FImageIndex) return;
  TCustomListView* lv = GetListView();
  if (lv && !lv->CanChange(this, ctImage)) return;
  FImageIndex = value;
  if (lv) lv->ItemChanged(this, ctImage);
}

void TListItem::SetSelected(bool value) {
  if (value == FSelected) return;
  TCustomListView* lv = GetListView();
  if (!lv) {
    FSelected = value;
    return;
  }
  if (value && !lv->FMultiSelect && lv->FSelCount > 0)
    for (const auto& other : FOwner->FItems)
      if (other.get() != this && other->FSelected) other->SetSelected(false);
  if (!lv->CanChange(this, ctState)) return;
  FSelected = value;
  lv->FSelCount += value ? 1 : -1;
  lv->ItemChanged(this, ctState);
  lv->OnSelectItem(lv, this, value);
}

void TListItem::SetFocused(bool value) {
  if (value == FFocused) return;
  TCustomListView* lv = GetListView();
  if (!lv) {
    FFocused = value;
    return;
  }
  if (value && lv->FFocusedItem && lv->FFocusedItem != this) lv->FFocusedItem->SetFocused(false);
  if (!lv->CanChange(this, ctState)) return;
  FFocused = value;
  if (value)
    lv->FFocusedItem = this;
  else if (lv->FFocusedItem == this)
    lv->FFocusedItem = nullptr;
  lv->ItemChanged(this, ctState);
}

void TListItem::SetChecked(bool value) {
  if (value == FChecked) return;
  TCustomListView* lv = GetListView();
  if (lv && !lv->CanChange(this, ctState)) return;
  FChecked = value;
  if (lv) lv->ItemChanged(this, ctState);
}

void TListItem::SetData(void* value) {
  if (value == FData) return;
  FData = value;
  if (TCustomListView* lv = GetListView()) lv->SortIfNeeded(false, true);
}

bool TListItem::EditCaption() {
  TCustomListView* lv = GetListView();
  if (!lv || lv->FReadOnly) return false;
  bool allow = true;
  lv->OnEditing(lv, this, allow);
  if (!allow) return false;
  lv->FEditing = this;
  return true;
}

void TListItem::Delete() {
  if (FOwner) FOwner->Delete(FIndex);
}

TRect TListItem::DisplayRect() const {
  TCustomListView* lv = GetListView();
  if (!lv) return TRect{};
  const int row = lv->RowHeight();
  return Bounds(0, lv->HeaderHeight() + FIndex * row, lv->GetClientWidth(), row);
}

TAVO_CLASS_IMPL(TListItems, TPersistent)

TListItems::TListItems(TCustomListView* owner) : FOwner(owner) {}

TListItems::~TListItems() {
  // Items go without notifications when the list view itself goes.
  for (auto& item : FItems) item->FOwner = nullptr;
}

void TListItems::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TListItems*>(source)) {
    if (other == this) return;
    BeginUpdate();
    try {
      Clear();
      for (const auto& item : other->FItems) Add()->Assign(item.get());
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TListItems::Renumber(int from) {
  for (int i = std::max(0, from); i < GetCount(); ++i) FItems[i]->FIndex = i;
}

TListItem* TListItems::Add() { return Insert(GetCount()); }

TListItem* TListItems::Insert(int index) {
  if (index < 0 || index > GetCount()) ListIndexError(index);
  FItems.insert(FItems.begin() + index, std::make_unique<TListItem>(this));
  Renumber(index);
  TListItem* item = FItems[index].get();
  if (FOwner) FOwner->ItemInserted(item);
  return item;
}

void TListItems::Delete(int index) {
  if (index < 0 || index >= GetCount()) ListIndexError(index);
  TListItem* item = FItems[index].get();
  if (FOwner) FOwner->ItemDeleting(item);
  // A handler may have deleted items meanwhile: find the item again.
  const int at = IndexOf(item);
  if (at < 0) return;
  FItems.erase(FItems.begin() + at);
  Renumber(at);
  if (FOwner && FUpdateCount == 0) FOwner->Invalidate();
}

void TListItems::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) Delete(GetCount() - 1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TListItem* TListItems::GetItem(int index) const {
  if (index < 0 || index >= GetCount()) ListIndexError(index);
  return FItems[index].get();
}

int TListItems::IndexOf(const TListItem* item) const {
  if (item && item->FOwner == this && item->FIndex < GetCount() && FItems[item->FIndex].get() == item)
    return item->FIndex;
  return -1;
}

void TListItems::BeginUpdate() { ++FUpdateCount; }

void TListItems::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FOwner) FOwner->UpdateEnded();
}

// ---- List view ------------------------------------------------------------------------

TAVO_CLASS_IMPL(TCustomListView, TCustomControl)

TAVO_PUBLISHED(TListView, TCustomListView) {
  P.Publish({"Align"});
  P.Int("AllocBy", &TListView::AllocBy, &TListView::AllocBy);
  P.Publish({"Anchors", "BiDiMode"});
  P.Typed("BorderStyle", BorderStyleTypeInfo(), &TListView::BorderStyle, &TListView::BorderStyle);
  P.Bool("Checkboxes", &TListView::Checkboxes, &TListView::Checkboxes);
  P.Publish({"Color"});
  P.Obj("Columns", &TListView::GetColumns, &TListView::SetColumns);
  P.Bool("ColumnClick", &TListView::ColumnClick, &TListView::ColumnClick);
  P.Publish({"Ctl3D", "DragKind", "DragMode", "Enabled", "Font"});
  P.Bool("FlatScrollBars", &TListView::FlatScrollBars, &TListView::FlatScrollBars);
  P.Bool("GridLines", &TListView::GridLines, &TListView::GridLines);
  P.Bool("HideSelection", &TListView::GetHideSelection, &TListView::SetHideSelection);
  P.Bool("HotTrack", &TListView::HotTrack, &TListView::HotTrack);
  P.Obj("Items", &TListView::GetItems, &TListView::SetItems);
  P.Obj("LargeImages", &TListView::GetLargeImages, &TListView::SetLargeImages);
  P.Bool("MultiSelect", &TListView::GetMultiSelect, &TListView::SetMultiSelect);
  P.Bool("ReadOnly", &TListView::GetReadOnly, &TListView::SetReadOnly);
  P.Bool("RowSelect", &TListView::GetRowSelect, &TListView::SetRowSelect);
  P.Publish({"ParentBiDiMode", "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu"});
  P.Bool("ShowColumnHeaders", &TListView::GetShowColumnHeaders, &TListView::SetShowColumnHeaders);
  P.Publish({"ShowHint"});
  P.Obj("SmallImages", &TListView::GetSmallImages, &TListView::SetSmallImages);
  P.Enum("SortType", &TListView::GetSortType, &TListView::SetSortType);
  P.Publish({"TabOrder", "TabStop"});
  P.Enum("ViewStyle", &TListView::GetViewStyle, &TListView::SetViewStyle);
  P.Publish({"Visible"});
  P.Event("OnChange", &TCustomListView::OnChange);
  P.Event("OnChanging", &TCustomListView::OnChanging);
  P.Publish({"OnClick"});
  P.Event("OnColumnClick", &TCustomListView::OnColumnClick);
  P.Event("OnCompare", &TCustomListView::OnCompare);
  P.Publish({"OnDblClick"});
  P.Event("OnDeletion", &TCustomListView::OnDeletion);
  P.Event("OnEdited", &TCustomListView::OnEdited);
  P.Event("OnEditing", &TCustomListView::OnEditing);
  P.Publish({"OnEnter", "OnExit"});
  P.Event("OnInsert", &TCustomListView::OnInsert);
  P.Publish({"OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize"});
  P.Event("OnSelectItem", &TCustomListView::OnSelectItem);
}

TCustomListView::TCustomListView(TComponent* AOwner)
    : TCustomControl(AOwner),
      FItems(std::make_unique<TListItems>(this)),
      FColumns(std::make_unique<TListColumns>(this)) {
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

TCustomListView::~TCustomListView() {
  FEditing = nullptr;
  FFocusedItem = nullptr;
}

void TCustomListView::SetViewStyle(TViewStyle value) {
  FViewStyle = value;
  Invalidate();
}

void TCustomListView::SetMultiSelect(bool value) {
  if (value == FMultiSelect) return;
  FMultiSelect = value;
  if (!value && FSelCount > 1) {
    bool first = true;
    for (const auto& item : FItems->FItems)
      if (item->FSelected) {
        if (!first) item->SetSelected(false);
        first = false;
      }
  }
}

void TCustomListView::SetRowSelect(bool value) {
  FRowSelect = value;
  Invalidate();
}

void TCustomListView::SetHideSelection(bool value) {
  FHideSelection = value;
  Invalidate();
}

void TCustomListView::SetShowColumnHeaders(bool value) {
  FShowColumnHeaders = value;
  Invalidate();
}

void TCustomListView::SetSortType(TSortType value) {
  if (value == FSortType) return;
  FSortType = value;
  if (value != stNone) AlphaSort();
}

void TCustomListView::SetSmallImages(TCustomImageList* value) {
  if (FSmallImages) FSmallImages->RemoveFreeNotification(this);
  FSmallImages = value;
  if (value) value->FreeNotification(this);
  Invalidate();
}

void TCustomListView::SetLargeImages(TCustomImageList* value) {
  if (FLargeImages) FLargeImages->RemoveFreeNotification(this);
  FLargeImages = value;
  if (value) value->FreeNotification(this);
  Invalidate();
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FSmallImages) FSmallImages = nullptr;
  if (component == FLargeImages) FLargeImages = nullptr;
}

TListItem* TCustomListView::GetSelected() const { return GetNextSelected(nullptr); }

TListItem* TCustomListView::GetNextSelected(TListItem* start) const {
  if (FSelCount == 0) return nullptr;
  const int from = start ? FItems->IndexOf(start) + 1 : 0;
  for (int i = std::max(0, from); i < FItems->GetCount(); ++i)
    if (FItems->FItems[i]->FSelected) return FItems->FItems[i].get();
  return nullptr;
}

void TCustomListView::SetSelected(TListItem* item) {
  if (item && item->GetListView() != this) return;
  for (const auto& other : FItems->FItems)
    if (other->FSelected && other.get() != item) other->SetSelected(false);
  if (item) item->SetSelected(true);
}

void TCustomListView::SetItemFocused(TListItem* item) {
  if (item && item->GetListView() != this) return;
  if (item)
    item->SetFocused(true);
  else if (FFocusedItem)
    FFocusedItem->SetFocused(false);
}

void TCustomListView::ClearSelection() { SetSelected(nullptr); }

void TCustomListView::SelectAll() {
  if (!FMultiSelect) return;
  for (const auto& item : FItems->FItems) item->SetSelected(true);
}

bool TCustomListView::CanChange(TListItem* item, TItemChange change) {
  bool allow = true;
  OnChanging(this, item, change, allow);
  return allow;
}

void TCustomListView::ItemChanged(TListItem* item, TItemChange change) {
  OnChange(this, item, change);
  if (FItems->FUpdateCount == 0) Invalidate();
}

void TCustomListView::ItemInserted(TListItem* item) {
  OnInsert(this, item);
  if (FItems->FUpdateCount == 0) Invalidate();
}

void TCustomListView::ItemDeleting(TListItem* item) {
  OnDeletion(this, item);
  if (FEditing == item) FEditing = nullptr;
  if (FAnchor == item) FAnchor = nullptr;
  if (FFocusedItem == item) FFocusedItem = nullptr;
  if (item->FSelected) {
    item->FSelected = false;
    --FSelCount;
  }
}

void TCustomListView::SortIfNeeded(bool textChanged, bool dataChanged) {
  bool covered = false;
  switch (FSortType) {
    case stNone: break;
    case stData: covered = dataChanged; break;
    case stText: covered = textChanged; break;
    case stBoth: covered = textChanged || dataChanged; break;
  }
  if (!covered) return;
  if (FItems->FUpdateCount > 0)
    FSortPending = true;
  else
    AlphaSort();
}

void TCustomListView::UpdateEnded() {
  if (FSortPending) {
    FSortPending = false;
    AlphaSort();
  }
  Invalidate();
}

bool TCustomListView::AlphaSort() { return CustomSort(nullptr, 0); }

bool TCustomListView::CustomSort(const TLVCompare& compare, int data) {
  if (FSorting) return false;
  FSorting = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{FSorting};
  auto& items = FItems->FItems;
  std::vector<TListItem*> order;
  order.reserve(items.size());
  for (const auto& item : items) order.push_back(item.get());
  // Sorted apart from the list, so a failing comparison leaves the list as it was.
  std::stable_sort(order.begin(), order.end(), [&](TListItem* a, TListItem* b) {
    if (compare) return compare(a, b, data) < 0;
    if (OnCompare) {
      int result = 0;
      OnCompare(this, a, b, data, result);
      return result < 0;
    }
    return AnsiCompareStr(a->FCaption, b->FCaption) < 0;
  });
  for (auto& item : items) (void)item.release();
  for (size_t i = 0; i < order.size(); ++i) items[i].reset(order[i]);
  FItems->Renumber(0);
  Invalidate();
  return true;
}

int TCustomListView::RowHeight() const {
  int h = GetCanvas()->TextHeight("Wg") + 3;
  if (FSmallImages) h = std::max(h, FSmallImages->GetHeight() + 1);
  return h;
}

int TCustomListView::HeaderHeight() const {
  return FViewStyle == vsReport && FShowColumnHeaders ? GetCanvas()->TextHeight("Wg") + 6 : 0;
}

TListItem* TCustomListView::GetItemAt(int x, int y) const {
  if (x < 0 || x >= GetClientWidth() || y < HeaderHeight()) return nullptr;
  const int index = (y - HeaderHeight()) / RowHeight();
  return index < FItems->GetCount() ? FItems->FItems[index].get() : nullptr;
}

int TCustomListView::ColumnContentWidth(int column, bool withCaption) const {
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  int w = withCaption && column >= 0 && column < FColumns->GetCount()
              ? c->TextWidth(FColumns->FItems[column]->FCaption)
              : 0;
  for (const auto& item : FItems->FItems) {
    const AnsiString text = column == 0 ? item->FCaption
                            : column - 1 < item->FSubItems->Count() ? item->FSubItems->Get(column - 1)
                                                                   : AnsiString();
    w = std::max(w, c->TextWidth(text));
  }
  return w + 12;
}

void TCustomListView::ColumnsChanged() { Invalidate(); }

void TCustomListView::SelectByClick(TListItem* item, TShiftState shift) {
  if (!item) {
    if (!shift.Contains(ssCtrl) && !shift.Contains(ssShift)) ClearSelection();
    return;
  }
  if (FMultiSelect && shift.Contains(ssCtrl)) {
    item->SetSelected(!item->FSelected);
    FAnchor = item;
  } else if (FMultiSelect && shift.Contains(ssShift) && FAnchor) {
    const int a = std::min(FAnchor->FIndex, item->FIndex), b = std::max(FAnchor->FIndex, item->FIndex);
    for (const auto& other : FItems->FItems) other->SetSelected(other->FIndex >= a && other->FIndex <= b);
  } else {
    SetSelected(item);
    FAnchor = item;
  }
  item->SetFocused(true);
}

bool TCustomListView::ClickItem(TListItem* item, TShiftState shift) {
  if (!item || item->GetListView() != this || !EffectiveEnabled() || !GetVisible()) return false;
  if (!Focused()) {
    if (!CanFocus()) return false;
    SetFocus();
    if (!Focused()) return false;
  }
  SelectByClick(item, shift);
  Click();
  return true;
}

void TCustomListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || (FocusOnClick() && !Focused())) return;
  SelectByClick(GetItemAt(x, y), shift);
}

void TCustomListView::ClickColumn(int index) {
  if (!ColumnClick || index < 0 || index >= FColumns->GetCount()) return;
  OnColumnClick(this, FColumns->FItems[index].get());
}

void TCustomListView::FinishEditing(const AnsiString& text, bool accept) {
  TListItem* item = FEditing;
  if (!item) return;
  FEditing = nullptr;
  if (!accept) return;
  AnsiString s = text;
  OnEdited(this, item, s);
  if (FItems->IndexOf(item) >= 0) item->SetCaption(s);
}

void TCustomListView::MoveFocus(int index, TShiftState shift) {
  const int count = FItems->GetCount();
  if (count == 0) return;
  TListItem* item = FItems->FItems[std::clamp(index, 0, count - 1)].get();
  if (FMultiSelect && shift.Contains(ssShift)) {
    if (!FAnchor) FAnchor = FFocusedItem ? FFocusedItem : item;
    const int a = std::min(FAnchor->FIndex, item->FIndex), b = std::max(FAnchor->FIndex, item->FIndex);
    for (const auto& other : FItems->FItems) other->SetSelected(other->FIndex >= a && other->FIndex <= b);
  } else if (!(FMultiSelect && shift.Contains(ssCtrl))) {
    SetSelected(item);
    FAnchor = item;
  }
  item->SetFocused(true);
}

void TCustomListView::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const int current = FFocusedItem ? FFocusedItem->FIndex : -1;
  const int page = std::max(1, (GetClientHeight() - HeaderHeight()) / std::max(1, RowHeight()));
  switch (key) {
    case VK_UP: MoveFocus(current < 0 ? 0 : current - 1, shift); break;
    case VK_DOWN: MoveFocus(current + 1, shift); break;
    case VK_HOME: MoveFocus(0, shift); break;
    case VK_END: MoveFocus(FItems->GetCount() - 1, shift); break;
    case VK_PRIOR: MoveFocus(current - page, shift); break;
    case VK_NEXT: MoveFocus(current + page, shift); break;
    case VK_F2:
      if (FFocusedItem) FFocusedItem->EditCaption();
      return;
    default: return;
  }
  key = 0;
}

void TCustomListView::Paint() {
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
  const int header = HeaderHeight();
  const int row = RowHeight();
  const bool report = FViewStyle == vsReport;
  std::vector<TRect> columns;
  int left = 0;
  for (int i = 0; i < FColumns->GetCount(); ++i) {
    const int w = FColumns->FItems[i]->GetWidth();
    columns.push_back(Rect(left, 0, left + w, header));
    left += w;
  }
  if (report && header > 0)
    for (size_t i = 0; i < columns.size(); ++i) {
      c->GetBrush()->SetColor(clBtnFace);
      c->FillRect(columns[i]);
      TRect r = columns[i];
      InflateRect(r, -4, 0);
      c->GetBrush()->SetStyle(bsClear);
      DrawText(c, FColumns->FItems[i]->FCaption, r, DT_SINGLELINE | DT_VCENTER);
    }
  const bool showSelection = Focused() || !FHideSelection;
  for (const auto& item : FItems->FItems) {
    const int top = header + item->FIndex * row;
    if (top >= GetClientHeight()) break;
    const bool selected = item->FSelected && showSelection;
    const int textRight = report && !columns.empty() ? columns[0].Right : GetClientWidth();
    TRect line = Rect(0, top, selected && (FRowSelect || !report) ? GetClientWidth() : textRight, top + row);
    if (selected) {
      c->GetBrush()->SetColor(Focused() ? clHighlight : clBtnFace);
      c->FillRect(line);
    }
    c->GetFont()->SetColor(selected && Focused() ? clHighlightText : GetFont()->GetColor());
    c->GetBrush()->SetStyle(bsClear);
    const size_t cells = report ? std::max<size_t>(1, columns.size()) : 1;
    for (size_t col = 0; col < cells; ++col) {
      TRect r = report && col < columns.size() ? Rect(columns[col].Left, top, columns[col].Right, top + row)
                                               : Rect(0, top, GetClientWidth(), top + row);
      InflateRect(r, -4, 0);
      const AnsiString text = col == 0 ? item->FCaption
                              : col - 1 < static_cast<size_t>(item->FSubItems->Count())
                                  ? item->FSubItems->Get(static_cast<int>(col) - 1)
                                  : AnsiString();
      const TAlignment align = report && col < columns.size() ? FColumns->FItems[col]->FAlignment : taLeftJustify;
      DrawText(c, text, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | AlignmentFlags(align));
    }
  }
  c->SetFont(GetFont());
}

// ---- Status bar -----------------------------------------------------------------------

TAVO_PUBLISHED(TStatusPanel, TPersistent) {
  P.Enum("Alignment", &TStatusPanel::GetAlignment, &TStatusPanel::SetAlignment);
  P.Enum("Bevel", &TStatusPanel::GetBevel, &TStatusPanel::SetBevel);
  P.Enum("Style", &TStatusPanel::GetStyle, &TStatusPanel::SetStyle);
  P.Str("Text", &TStatusPanel::GetText, &TStatusPanel::SetText);
  P.Int("Width", &TStatusPanel::GetWidth, &TStatusPanel::SetWidth);
}

TStatusPanel::TStatusPanel(TStatusPanels* owner) : FOwner(owner) {}

void TStatusPanel::Assign(const TPersistent* source) {
  if (auto* p = dynamic_cast<const TStatusPanel*>(source)) {
    FText = p->FText;
    FWidth = p->FWidth;
    FAlignment = p->FAlignment;
    FBevel = p->FBevel;
    FStyle = p->FStyle;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TStatusPanel::Changed() {
  if (FOwner && FOwner->GetOwner()) FOwner->GetOwner()->Invalidate();
}

void TStatusPanel::SetText(const AnsiString& value) {
  FText = value;
  Changed();
}

void TStatusPanel::SetWidth(int value) {
  FWidth = std::max(0, value);
  Changed();
}

void TStatusPanel::SetAlignment(TAlignment value) {
  FAlignment = value;
  Changed();
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
  FBevel = value;
  Changed();
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
  FStyle = value;
  Changed();
}

int TStatusPanel::GetIndex() const {
  if (!FOwner) return -1;
  for (int i = 0; i < FOwner->GetCount(); ++i)
    if (FOwner->FItems[i].get() == this) return i;
  return -1;
}

TAVO_CLASS_IMPL(TStatusPanels, TPersistent)

TStatusPanels::TStatusPanels(TStatusBar* owner) : FOwner(owner) {}
TStatusPanels::~TStatusPanels() = default;

void TStatusPanels::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TStatusPanels*>(source)) {
    if (other == this) return;
    Clear();
    for (const auto& p : other->FItems) Add()->Assign(p.get());
    return;
  }
  TPersistent::Assign(source);
}

TStatusPanel* TStatusPanels::Add() {
  FItems.push_back(std::make_unique<TStatusPanel>(this));
  if (FOwner) FOwner->Invalidate();
  return FItems.back().get();
}

void TStatusPanels::Delete(int index) {
  if (index < 0 || index >= GetCount()) ListIndexError(index);
  FItems.erase(FItems.begin() + index);
  if (FOwner) FOwner->Invalidate();
}

void TStatusPanels::Clear() {
  FItems.clear();
  if (FOwner) FOwner->Invalidate();
}

TStatusPanel* TStatusPanels::GetItem(int index) const {
  if (index < 0 || index >= GetCount()) ListIndexError(index);
  return FItems[index].get();
}

TAVO_PUBLISHED(TStatusBar, TCustomControl) {
  P.Bool("AutoHint", &TStatusBar::AutoHint, &TStatusBar::AutoHint);
  P.Publish({"Align", "Anchors", "BiDiMode", "Color", "DragKind", "DragMode", "Enabled", "Font"});
  P.Obj("Panels", &TStatusBar::GetPanels, &TStatusBar::SetPanels);
  P.Publish({"ParentColor", "ParentBiDiMode", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint"});
  P.Bool("SimplePanel", &TStatusBar::GetSimplePanel, &TStatusBar::SetSimplePanel);
  P.Str("SimpleText", &TStatusBar::GetSimpleText, &TStatusBar::SetSimpleText);
  P.Bool("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SizeGrip);
  P.Publish({"Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize"});
  P.Event("OnDrawPanel", &TStatusBar::OnDrawPanel);
}

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)) {
  SetColor(clBtnFace);
  SetParentColor(false);
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool value) {
  FSimplePanel = value;
  Invalidate();
}

void TStatusBar::SetSimpleText(const AnsiString& value) {
  FSimpleText = value;
  Invalidate();
}

TRect TStatusBar::PanelRect(int index) const {
  if (index < 0 || index >= FPanels->GetCount()) return TRect{};
  int left = 0;
  for (int i = 0; i < index; ++i) left += FPanels->FItems[i]->GetWidth();
  const bool last = index == FPanels->GetCount() - 1;
  const int right = last ? std::max(left, GetClientWidth()) : left + FPanels->FItems[index]->GetWidth();
  return Rect(left, 2, right, GetClientHeight());
}

void TStatusBar::Paint() {
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
  if (FSimplePanel) {
    TRect r = Rect(2, 2, GetClientWidth(), GetClientHeight());
    c->GetBrush()->SetStyle(bsClear);
    DrawText(c, FSimpleText, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    return;
  }
  for (int i = 0; i < FPanels->GetCount(); ++i) {
    TStatusPanel* p = FPanels->FItems[i].get();
    TRect r = PanelRect(i);
    switch (p->GetBevel()) {
      case pbNone: break;
      case pbLowered: Frame3D(c, r, clBtnShadow, clBtnHighlight, 1); break;
      case pbRaised: Frame3D(c, r, clBtnHighlight, clBtnShadow, 1); break;
    }
    if (p->GetStyle() == psOwnerDraw && OnDrawPanel) {
      OnDrawPanel(this, p, r);
      continue;
    }
    InflateRect(r, -2, 0);
    c->GetBrush()->SetStyle(bsClear);
    DrawText(c, p->GetText(), r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | AlignmentFlags(p->GetAlignment()));
  }
}

static TClassRegistration CommonControlClasses{TPageControl::StaticClass(), TTabSheet::StaticClass(),
                                               TListView::StaticClass(), TStatusBar::StaticClass()};
