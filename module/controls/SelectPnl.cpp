#include "module/controls/SelectPnl.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/Forms.h"

#include <algorithm>

// ---- TOrlMaskEdit ----------------------------------------------------------------------

TAVO_PUBLISHED(TOrlMaskEdit, TMaskEdit) {}
TAVO_PUBLISHED(TOrlCheckBox, TBitCheckBox) {}

void TOrlMaskEdit::Change() {
  if (!NoChange) TMaskEdit::Change();
}

// ---- TOrlListView ----------------------------------------------------------------------

TAVO_PUBLISHED(TOrlListView, TListView) {
  P.Bool("ColumnsAutoSize", &TOrlListView::ColumnsAutoSize, &TOrlListView::ColumnsAutoSize);
}

TOrlListView::TOrlListView(TComponent* AOwner) : TListView(AOwner) {
  SetTabStop(true);
  OnInsert = TLVDeletedEvent(this, &TOrlListView::ItemInsertedHere);
  OnDeletion = TLVDeletedEvent(this, &TOrlListView::ItemDeletingHere);
}

void TOrlListView::ItemInsertedHere(TObject*, TListItem*) {
  if (!FAdding) FCachesValid = false;
}

void TOrlListView::ItemDeletingHere(TObject*, TListItem*) {
  // A shorter list may have narrower columns.
  FCachesValid = false;
}

void TOrlListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && !Focused()) {
    if (CanFocus()) SetFocus();
    if (!Focused()) return;
  }
  TListView::MouseDown(button, shift, x, y);
}

void TOrlListView::NoteRow(const TListItem* item) {
  TStrings* sub = item->GetSubItems();
  const int columns = static_cast<int>(FColumnMax.size());
  if (columns > 0) FColumnMax[0] = std::max(FColumnMax[0], item->GetCaption().size());
  for (int i = 0; i < sub->Count() && i + 1 < columns; ++i)
    FColumnMax[i + 1] = std::max(FColumnMax[i + 1], sub->Get(i).size());
}

void TOrlListView::RefreshCaches() {
  TListColumns* columns = GetColumns();
  FColumnMax.assign(static_cast<size_t>(columns->Count()), 0);
  for (int i = 0; i < columns->Count(); ++i) FColumnMax[i] = columns->GetItem(i)->GetCaption().size();
  TListItems* items = GetItems();
  FRowSubItems = 0;
  for (int i = 0; i < items->Count(); ++i) {
    TListItem* item = items->GetItem(i);
    FRowSubItems = std::max(FRowSubItems, item->GetSubItems()->Count());
    NoteRow(item);
  }
  for (int i = 0; i < items->Count(); ++i) {
    TStrings* sub = items->GetItem(i)->GetSubItems();
    while (sub->Count() < FRowSubItems) sub->Add("");
  }
  FCachesValid = true;
}

void TOrlListView::ApplyColumnWidths() {
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  const int w = canvas->TextWidth("W");
  TListColumns* columns = GetColumns();
  for (int i = 0; i < columns->Count() && i < static_cast<int>(FColumnMax.size()); ++i)
    columns->GetItem(i)->SetWidth(static_cast<int>(FColumnMax[i]) * w);
}

void TOrlListView::AutoSizeColumns() {
  RefreshCaches();
  ApplyColumnWidths();
}

bool TOrlListView::AddItem(std::span<const AnsiString> values) {
  if (values.empty()) return false;
  try {
    if (!FCachesValid) RefreshCaches();
    TListColumns* columns = GetColumns();
    const int further = static_cast<int>(values.size()) - 1;
    while (columns->Count() <= further) {
      TListColumn* column = columns->Add();
      column->SetCaption("Data" + IntToStr(columns->Count()));
      FColumnMax.push_back(column->GetCaption().size());
    }
    TListItems* items = GetItems();
    items->BeginUpdate();
    FAdding = true;
    try {
      TListItem* item = items->Add();
      TStrings* sub = item->GetSubItems();
      const int allowed = std::min(further, columns->Count() - 1);
      for (int i = 1; i <= allowed; ++i) sub->Add(values[i]);
      item->SetCaption(values[0]);
      if (allowed > FRowSubItems) {
        FRowSubItems = allowed;
        for (int i = 0; i < items->Count(); ++i) {
          TStrings* s = items->GetItem(i)->GetSubItems();
          while (s->Count() < FRowSubItems) s->Add("");
        }
      } else {
        while (sub->Count() < FRowSubItems) sub->Add("");
      }
      NoteRow(item);
    } catch (...) {
      FAdding = false;
      items->EndUpdate();
      throw;
    }
    FAdding = false;
    items->EndUpdate();
    if (auto* panel = dynamic_cast<TSelectPanel*>(GetOwner())) panel->RemoveDuplicates();
    if (ColumnsAutoSize) {
      if (!FCachesValid) RefreshCaches();
      ApplyColumnWidths();
    }
    return true;
  } catch (const std::exception&) {
    FAdding = false;
    FCachesValid = false;
    return false;
  }
}

void TOrlListView::ClearItems() {
  GetItems()->Clear();
  FCachesValid = false;
}

// ---- TSelectPanel ----------------------------------------------------------------------

TAVO_PUBLISHED(TSelectPanel, TGroupBox) {
  P.Enum("Style", &TSelectPanel::GetStyle, &TSelectPanel::SetStyle);
  P.Bool("UserChoice", &TSelectPanel::GetUserChoice, &TSelectPanel::SetUserChoice);
  P.Str("HintWord", &TSelectPanel::GetHintWord, &TSelectPanel::SetHintWord);
  P.Obj("BeginWords", &TSelectPanel::GetBeginWords, &TSelectPanel::SetBeginWords);
  P.Obj("FinalWords", &TSelectPanel::GetFinalWords, &TSelectPanel::SetFinalWords);
  P.Obj("ChildHints", &TSelectPanel::GetChildHints, &TSelectPanel::SetChildHints);
  P.Bool("UseVertical", &TSelectPanel::GetUseVertical, &TSelectPanel::SetUseVertical);
  P.Int("OtherWidth", &TSelectPanel::OtherWidth, &TSelectPanel::OtherWidth);
  P.Int("OtherHeight", &TSelectPanel::OtherHeight, &TSelectPanel::OtherHeight);
  P.Bool("CanOpenWin", &TSelectPanel::GetCanOpenWin, &TSelectPanel::SetCanOpenWin);
  P.Int("GlyphIndex", &TSelectPanel::GetGlyphIndex, &TSelectPanel::SetGlyphIndex);
  P.Str("EditMask", &TSelectPanel::GetEditMask, &TSelectPanel::SetEditMask);
  P.Enum("ValueType", &TSelectPanel::ValueType, &TSelectPanel::ValueType);
  P.Enum("DateType", &TSelectPanel::DateType, &TSelectPanel::DateType);
  P.Str("DateSign", &TSelectPanel::DateSign, &TSelectPanel::DateSign);
  P.Bool("AutoChangeDateSite", &TSelectPanel::AutoChangeDateSite, &TSelectPanel::AutoChangeDateSite);
  P.Bool("UseDiscard", &TSelectPanel::UseDiscard, &TSelectPanel::UseDiscard);
  P.Str("Discard", &TSelectPanel::Discard, &TSelectPanel::Discard);
  P.Enum("CheckDuplicate", &TSelectPanel::GetCheckDuplicate, &TSelectPanel::SetCheckDuplicate);
  P.Bool("SortListBox", &TSelectPanel::GetSortListBox, &TSelectPanel::SetSortListBox);
  P.Obj("Items", &TSelectPanel::GetItems, &TSelectPanel::SetItems);
  P.Obj("Columns", &TSelectPanel::GetColumns, &TSelectPanel::SetColumns);
  P.Obj("ColumnCaptions", &TSelectPanel::GetColumnCaptions, &TSelectPanel::SetColumnCaptions);
  P.Bool("ShowColumnHeader", &TSelectPanel::GetShowColumnHeader, &TSelectPanel::SetShowColumnHeader);
  P.Bool("ColumnsAutoSize", &TSelectPanel::GetColumnsAutoSize, &TSelectPanel::SetColumnsAutoSize);
  P.Bool("HideSelection", &TSelectPanel::GetHideSelection, &TSelectPanel::SetHideSelection);
  P.Publish({"OnKeyDown", "OnKeyPress", "OnKeyUp"});
  P.Event("OnOpenWinClick", &TSelectPanel::OnOpenWinClick);
  P.Event("OnDeleteClick", &TSelectPanel::OnDeleteClick);
  P.Event("OnClearClick", &TSelectPanel::OnClearClick);
  P.Event("OnTypeClick", &TSelectPanel::OnTypeClick);
  P.Event("OnStyleChanging", &TSelectPanel::OnStyleChanging);
  P.Event("OnStyleChange", &TSelectPanel::OnStyleChange);
  P.Event("OnItemSelect", &TSelectPanel::OnItemSelect);
  P.Event("OnItemChange", &TSelectPanel::OnItemChange);
  P.Event("OnItemChanging", &TSelectPanel::OnItemChanging);
}

const TClassRegistration SelectPanelClasses{TSelectPanel::StaticClass(), TOrlListView::StaticClass(),
                                            TOrlMaskEdit::StaticClass(), TOrlCheckBox::StaticClass()};

namespace {

constexpr int EditHeight = 24;
constexpr int ButtonSize = 23;
constexpr int ChildHintCount = 9;

const char* const DefaultChildHints[ChildHintCount] = {
    "用户自定输入方式",     "区间选择-起始信息", "区间选择-起始信息开窗",
    "区间选择-截止信息",    "区间选择-截止信息开窗", "多选-己选择的信息",
    "多选-信息开窗",        "多选-删除一笔信息", "多选-删除己选信息"};

// Entry `index` of a word list, falling back to the first entry when it is short.
AnsiString WordAt(const TStrings* words, int index) {
  if (index < words->Count()) return words->Get(index);
  return words->Count() > 0 ? words->Get(0) : AnsiString();
}

// A real bound rewritten as whole part, "." and fraction, each read leniently.
double ReadFloatBound(const AnsiString& text) {
  const AnsiString s = Trim(text);
  const size_t dot = s.find('.');
  AnsiString whole = Trim(s.substr(0, dot));
  const bool negative = !whole.empty() && whole[0] == '-';
  int wholeValue = std::abs(StrToIntDef(whole, 0));
  AnsiString fraction = dot == AnsiString::npos ? AnsiString() : Trim(s.substr(dot + 1));
  // The fraction's own digits are kept, leading zeros included, so 1.05 stays below 1.5.
  const bool digits = !fraction.empty() &&
                      std::all_of(fraction.begin(), fraction.end(), [](char c) { return c >= '0' && c <= '9'; });
  const double value = StrToFloatDef(IntToStr(wholeValue) + "." + (digits ? fraction : AnsiString("0")), 0);
  return negative ? -value : value;
}

int CountOf(const AnsiString& text, const AnsiString& part) {
  if (part.empty()) return 0;
  int n = 0;
  for (size_t at = text.find(part); at != AnsiString::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

}  // namespace

TSelectPanel::TSelectPanel(TComponent* AOwner) : TGroupBox(AOwner) {
  FHintWord = "区间选择";
  FBeginWords = std::make_unique<TStringList>();
  FFinalWords = std::make_unique<TStringList>();
  FChildHints = std::make_unique<TStringList>();
  FColumnCaptions = std::make_unique<TStringList>();
  FBeginWords->Add("起");
  FBeginWords->Add("起");
  FFinalWords->Add("止");
  FFinalWords->Add("止");
  for (const char* hint : DefaultChildHints) FChildHints->Add(hint);
  SetBounds(GetLeft(), GetTop(), 353, 45);

  chkUserChoice = new TOrlCheckBox(this);
  chkUserChoice->SetParent(this);
  chkUserChoice->SetLeft(16);
  chkUserChoice->SetCaption(FHintWord);
  chkUserChoice->SetChecked(true);
  chkUserChoice->SetVisible(false);

  auto makePanel = [this]() {
    auto* panel = new TPanel(this);
    panel->SetParent(this);
    panel->SetBevelInner(bvNone);
    panel->SetBevelOuter(bvNone);
    panel->SetCaption(" ");
    return panel;
  };
  pnlRange = makePanel();
  pnlDiscrete = makePanel();

  auto makeLabel = [this]() {
    auto* label = new TLabel(this);
    label->SetParent(pnlRange);
    label->SetAutoSize(true);
    return label;
  };
  lblBegin = makeLabel();
  lblFinal = makeLabel();

  auto makeEdit = [this]() {
    auto* edit = new TOrlMaskEdit(this);
    edit->SetParent(pnlRange);
    edit->SetTabStop(true);
    edit->SetHeight(EditHeight);
    edit->SetText("");
    return edit;
  };
  edBegin = makeEdit();
  edFinal = makeEdit();

  auto makeLookup = [this](TWinControl* parent, bool autoAlign) {
    auto* button = new TF2Button(this);
    button->SetParent(parent);
    button->SetFlat(true);
    button->SetBounds(0, 0, ButtonSize, ButtonSize);
    button->SetNumGlyphs(1);
    button->SetGlyphIndex(FGlyphIndex);
    button->SetAutoAlign(autoAlign);
    button->OnClick = TNotifyEvent(this, &TSelectPanel::LookupClick);
    return button;
  };
  btnBegin = makeLookup(pnlRange, true);
  btnFinal = makeLookup(pnlRange, true);

  ListBox = new TOrlListView(this);
  ListBox->SetParent(pnlDiscrete);
  ListBox->SetViewStyle(vsReport);
  ListBox->SetMultiSelect(true);
  ListBox->SetRowSelect(true);
  ListBox->SetReadOnly(true);
  ListBox->SetCursor(crHandPoint);
  ListBox->SetShowColumnHeaders(false);
  ListBox->SetHideSelection(false);
  ListBox->SetSortType(stNone);
  btnList = makeLookup(pnlDiscrete, false);

  auto makeSpeed = [this](int glyph, int glyphs, void (TSelectPanel::*handler)(TObject*)) {
    auto* button = new TGSpeedButton(this);
    button->SetParent(pnlDiscrete);
    button->SetFlat(true);
    button->SetBounds(0, 0, ButtonSize, ButtonSize);
    button->SetGlyphIndex(glyph);
    button->SetNumGlyphs(glyphs);
    button->OnClick = TNotifyEvent(this, handler);
    return button;
  };
  btnDelete = makeSpeed(47, 1, &TSelectPanel::DeleteClick);
  btnClear = makeSpeed(4, 2, &TSelectPanel::ClearClick);

  chkUserChoice->OnClick = TNotifyEvent(this, &TSelectPanel::ChkClick);
  ListBox->OnSelectItem = TLVSelectItemEvent(this, &TSelectPanel::ListSelectItem);
  ListBox->OnChange = TLVChangeEvent(this, &TSelectPanel::ListChange);
  ListBox->OnChanging = TLVChangingEvent(this, &TSelectPanel::ListChanging);
  ListBox->OnColumnClick = TLVColumnClickEvent(this, &TSelectPanel::ListColumnClick);
  for (TWinControl* c : std::initializer_list<TWinControl*>{chkUserChoice, edBegin, edFinal, ListBox}) {
    c->OnKeyDown = TKeyEvent(this, &TSelectPanel::SubKeyDown);
    c->OnKeyUp = TKeyEvent(this, &TSelectPanel::SubKeyUp);
    c->OnKeyPress = TKeyPressEvent(this, &TSelectPanel::SubKeyPress);
  }
  for (TControl* c : std::initializer_list<TControl*>{pnlRange, pnlDiscrete, lblBegin, lblFinal, edBegin,
                                                      edFinal, ListBox}) {
    c->OnClick = TNotifyEvent(this, &TSelectPanel::SubClick);
    c->OnDblClick = TNotifyEvent(this, &TSelectPanel::SubDblClick);
  }
  for (TControl* c : std::initializer_list<TControl*>{chkUserChoice, pnlRange, pnlDiscrete, lblBegin, lblFinal,
                                                      edBegin, edFinal, btnBegin, btnFinal, btnList, btnDelete,
                                                      btnClear, ListBox}) {
    c->OnMouseDown = TMouseEvent(this, &TSelectPanel::SubMouseDown);
    c->OnMouseUp = TMouseEvent(this, &TSelectPanel::SubMouseUp);
    c->OnMouseMove = TMouseMoveEvent(this, &TSelectPanel::SubMouseMove);
  }

  FBeginWords->OnChange = [this](TObject*) { WordsChanged(); };
  FFinalWords->OnChange = [this](TObject*) { WordsChanged(); };
  FChildHints->OnChange = [this](TObject*) { ApplyChildHints(); };
  FColumnCaptions->OnChange = [this](TObject*) {
    if (FSyncingCaptions) return;
    TListColumns* columns = ListBox->GetColumns();
    columns->BeginUpdate();
    columns->Clear();
    for (int i = 0; i < FColumnCaptions->Count(); ++i) columns->Add()->SetCaption(FColumnCaptions->Get(i));
    columns->EndUpdate();
    if (ListBox->ColumnsAutoSize) ListBox->AutoSizeColumns();
  };

  FCreated = true;
  ApplyChildHints();
  ShowWords(0);
  UpdateVisibility(FStyle);
  Layout();
}

TSelectPanel::~TSelectPanel() {
  // The lists call back into the panel; nothing may arrive while it is torn down.
  FBeginWords->OnChange = nullptr;
  FFinalWords->OnChange = nullptr;
  FChildHints->OnChange = nullptr;
  FColumnCaptions->OnChange = nullptr;
  FCreated = false;
}

// Handlers run only at run time, and not while the panel is read from its resource: a
// stored style or choice is no user's doing, and a veto must not undo it.
bool TSelectPanel::RunTime() const { return !GetComponentState().Contains(csDesigning) && !IsLoading(); }

bool TSelectPanel::IsRangeInput() const {
  switch (FStyle) {
    case sp_Range:
      return true;
    case sp_UserChoice:
      return chkUserChoice->GetChecked();
    case sp_Discrete:
      return false;
  }
  return false;
}

// ---- Style and user choice ---------------------------------------------------------------

void TSelectPanel::SetStyle(TSelectStyle value) {
  TSelectStyle newStyle = value;
  bool accept = true;
  if (RunTime()) OnStyleChanging(this, FStyle, newStyle, accept);
  if (!accept) return;
  const TSelectStyle old = FStyle;
  UpdateVisibility(newStyle);
  if (newStyle != old && (newStyle == sp_Range || old == sp_Range) && !FUseVertical && !IsLoading())
    SwapSize();
  LayoutFor(newStyle);
  if (RunTime()) OnStyleChange(this, old, newStyle);
  FStyle = newStyle;
}

void TSelectPanel::UpdateVisibility(TSelectStyle style) {
  chkUserChoice->SetVisible(style == sp_UserChoice);
  const bool range = style == sp_Range || (style == sp_UserChoice && chkUserChoice->GetChecked());
  pnlRange->SetVisible(range);
  pnlDiscrete->SetVisible(!range);
}

void TSelectPanel::SetUserChoice(bool value) {
  if (FStyle != sp_UserChoice) return;
  chkUserChoice->SetChecked(value);
  UserChoiceToggled();
}

void TSelectPanel::ChkClick(TObject*) {
  if (FStyle != sp_UserChoice) return;
  UserChoiceToggled();
}

void TSelectPanel::UserChoiceToggled() {
  FUserChoice = chkUserChoice->GetChecked();
  LayoutFor(sp_UserChoice);
  UpdateVisibility(FStyle);
  if (RunTime()) OnTypeClick(this);
}

void TSelectPanel::SetUseVertical(bool value) {
  if (FStyle != sp_Range || value == FUseVertical) return;
  FUseVertical = value;
  if (!IsLoading()) SwapSize();
  Layout();
}

void TSelectPanel::SwapSize() {
  if (TWinControl* parent = GetParent(); parent && parent->IsLoading()) return;
  const int w = GetWidth(), h = GetHeight();
  SetBounds(GetLeft(), GetTop(), OtherWidth, OtherHeight);
  OtherWidth = w;
  OtherHeight = h;
}

// ---- Layout ------------------------------------------------------------------------------

void TSelectPanel::Resize() {
  Layout();
  TGroupBox::Resize();
}

void TSelectPanel::FontChanged() {
  TGroupBox::FontChanged();
  Layout();
}

void TSelectPanel::TextChanged() {
  TGroupBox::TextChanged();
  Layout();
}

void TSelectPanel::Loaded() {
  TGroupBox::Loaded();
  UpdateVisibility(FStyle);
  Layout();
}

void TSelectPanel::Layout() { LayoutFor(FStyle); }

void TSelectPanel::SizeCheckBox() {
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  const AnsiString caption = chkUserChoice->GetCaption();
  chkUserChoice->SetBounds(16, chkUserChoice->GetTop(), canvas->TextWidth(caption) + 24,
                           canvas->TextHeight(caption.empty() ? AnsiString("W") : caption) + 2);
}

void TSelectPanel::PlaceSubPanels(TWinControl* front, TWinControl* back, int top, int rightGap) {
  const int width = std::max(0, GetWidth() - 2 - rightGap);
  const int height = std::max(0, GetHeight() - top - rightGap);
  front->SetBounds(2, top, width, height);
  back->SetBounds(2, top, width, height);
  back->SendToBack();
  front->BringToFront();
}

void TSelectPanel::LayoutFor(TSelectStyle style) {
  if (!FCreated) return;
  SizeCheckBox();
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  const AnsiString caption = GetCaption();
  const int h = canvas->TextHeight(caption.empty() ? AnsiString("W") : caption);
  switch (style) {
    case sp_Range:
      PlaceSubPanels(pnlRange, pnlDiscrete, h + 3, BevelWidth + 2);
      if (FUseVertical)
        LayoutRangeVertical();
      else
        LayoutRangeHorizontal();
      break;
    case sp_Discrete:
      PlaceSubPanels(pnlDiscrete, pnlRange, h + 3, BevelWidth + 2);
      LayoutList();
      break;
    case sp_UserChoice: {
      chkUserChoice->SetBounds(16, h + 1, chkUserChoice->GetWidth(), chkUserChoice->GetHeight());
      chkUserChoice->BringToFront();
      const int top = chkUserChoice->GetHeight() - 2 + chkUserChoice->GetTop() + 2;
      const bool range = chkUserChoice->GetChecked();
      PlaceSubPanels(range ? pnlRange : pnlDiscrete, range ? pnlDiscrete : pnlRange, top, 2);
      LayoutRangeVertical();
      LayoutList();
      break;
    }
  }
}

void TSelectPanel::ShowWords(int entry) {
  lblBegin->SetCaption(WordAt(FBeginWords.get(), entry));
  lblFinal->SetCaption(WordAt(FFinalWords.get(), entry));
}

void TSelectPanel::LayoutRangeHorizontal() {
  ShowWords(0);
  const bool buttons = FCanOpenWin;
  const int top = (pnlRange->GetHeight() - edBegin->GetHeight()) / 2;
  lblBegin->SetLeft(2);
  lblBegin->SetTop(top);
  int width = pnlRange->GetWidth() - lblBegin->GetLeft() - lblBegin->GetWidth() - lblFinal->GetWidth() - 4;
  if (buttons) width -= btnBegin->GetWidth() + btnFinal->GetWidth() + 4;
  width = std::max(0, width / 2);
  edBegin->SetBounds(lblBegin->GetLeft() + lblBegin->GetWidth() + 1, top, width, edBegin->GetHeight());
  const int beginRight = edBegin->GetLeft() + edBegin->GetWidth();
  if (buttons) {
    btnBegin->SetBounds(beginRight + 2, top, btnBegin->GetWidth(), btnBegin->GetHeight());
    lblFinal->SetLeft(btnBegin->GetLeft() + btnBegin->GetWidth() + 2);
  } else {
    lblFinal->SetLeft(beginRight + 4);
  }
  lblFinal->SetTop(top);
  edFinal->SetBounds(lblFinal->GetLeft() + lblFinal->GetWidth() + 2, top, width, edBegin->GetHeight());
  btnFinal->SetBounds(edFinal->GetLeft() + edFinal->GetWidth() + 2, top, btnFinal->GetWidth(), btnFinal->GetHeight());
}

void TSelectPanel::LayoutRangeVertical() {
  ShowWords(1);
  const int editHeight = edBegin->GetHeight();
  const int gap = (pnlRange->GetHeight() - 2 * editHeight) / 3;
  lblBegin->SetLeft(2);
  lblBegin->SetTop(gap);
  const int left = lblBegin->GetLeft() + lblBegin->GetWidth() + 2;
  const int less = FCanOpenWin ? btnBegin->GetWidth() + 4 : 2;
  const int width = std::max(0, pnlRange->GetWidth() - left - less);
  edBegin->SetBounds(left, gap, width, editHeight);
  btnBegin->SetBounds(left + width + 1, gap, btnBegin->GetWidth(), btnBegin->GetHeight());
  const int finalTop = gap + lblBegin->GetTop() + editHeight;
  lblFinal->SetLeft(lblBegin->GetLeft());
  lblFinal->SetTop(finalTop);
  edFinal->SetBounds(left, finalTop, width, editHeight);
  btnFinal->SetBounds(btnBegin->GetLeft(), finalTop, btnFinal->GetWidth(), btnFinal->GetHeight());
}

void TSelectPanel::LayoutList() {
  const int width = std::max(0, pnlDiscrete->GetWidth() - ListBox->GetLeft() - btnList->GetWidth() - 3);
  ListBox->SetBounds(ListBox->GetLeft(), 0, width, pnlDiscrete->GetHeight());
  const int left = ListBox->GetLeft() + ListBox->GetWidth() + 2;
  btnList->SetBounds(left, 0, btnList->GetWidth(), btnList->GetHeight());
  btnDelete->SetBounds(left, btnList->GetTop() + btnList->GetHeight(), btnDelete->GetWidth(), btnDelete->GetHeight());
  btnClear->SetBounds(left, btnDelete->GetTop() + btnDelete->GetHeight(), btnClear->GetWidth(), btnClear->GetHeight());
}

// ---- Words, hints, buttons, mask -------------------------------------------------------------

void TSelectPanel::SetHintWord(const AnsiString& value) {
  FHintWord = value;
  chkUserChoice->SetCaption(value);
  Layout();
}

void TSelectPanel::SetBeginWords(TStrings* value) {
  FBeginWords->BeginUpdate();
  FBeginWords->Clear();
  for (int i = 0; value && i < value->Count() && i < 2; ++i) FBeginWords->Add(value->Get(i));
  FBeginWords->EndUpdate();
}

void TSelectPanel::SetFinalWords(TStrings* value) {
  FFinalWords->BeginUpdate();
  FFinalWords->Clear();
  for (int i = 0; value && i < value->Count() && i < 2; ++i) FFinalWords->Add(value->Get(i));
  FFinalWords->EndUpdate();
}

void TSelectPanel::WordsChanged() {
  if (!FCreated) return;
  ShowWords(FStyle == sp_UserChoice || (FStyle == sp_Range && FUseVertical) ? 1 : 0);
  if (FBeginWords->Count() >= 2 && FFinalWords->Count() >= 2) Layout();
}

void TSelectPanel::ApplyChildHints() {
  if (!FCreated) return;
  TControl* const targets[ChildHintCount] = {chkUserChoice, edBegin, btnBegin, edFinal, btnFinal,
                                             ListBox,       btnList, btnDelete, btnClear};
  for (int i = 0; i < ChildHintCount && i < FChildHints->Count(); ++i) targets[i]->Hint = FChildHints->Get(i);
}

void TSelectPanel::SetCanOpenWin(bool value) {
  FCanOpenWin = value;
  btnBegin->SetVisible(value);
  btnFinal->SetVisible(value);
  btnList->SetVisible(value);
  Layout();
}

void TSelectPanel::SetGlyphIndex(int value) {
  bool loaded = true;
  for (TF2Button* button : {btnBegin, btnFinal, btnList}) {
    button->SetGlyphIndex(value);
    // A number the library has but cannot deliver leaves the number as the caption (and
    // whatever picture the button had before), so the caption tells.
    if (value > 0 && value <= GetGlyphSource()->GetMaxBmpID() && !button->GetCaption().empty()) loaded = false;
  }
  if (loaded) {
    FGlyphIndex = value;
    return;
  }
  for (TF2Button* button : {btnBegin, btnFinal, btnList}) button->SetGlyphIndex(0);
}

void TSelectPanel::SetEditMask(const AnsiString& value) {
  const AnsiString text = edBegin->GetText();
  edBegin->NoChange = true;
  try {
    edBegin->SetText("");
    edBegin->SetEditMask(value);
    edFinal->SetEditMask(value);
    FBlankMaskText = edBegin->IsMasked() ? edBegin->GetText() : AnsiString();
    edBegin->SetText(text);
  } catch (...) {
    edBegin->NoChange = false;
    throw;
  }
  edBegin->NoChange = false;
}

// ---- List ----------------------------------------------------------------------------------

void TSelectPanel::SetCheckDuplicate(TCheckDuplicate value) {
  FCheckDuplicate = value;
  switch (value) {
    case cd_None:
      return;
    case cd_CheckCase:
    case cd_CaseInsensitive:
      // Only neighbours are compared, so duplicates must sit side by side.
      SetSortListBox(true);
      if (!IsRangeInput()) RemoveDuplicates();
      return;
  }
}

void TSelectPanel::SetSortListBox(bool value) {
  FSortListBox = value;
  if (value) {
    ListBox->OnCompare = TLVCompareEvent(this, &TSelectPanel::ListCompare);
    ListBox->SetSortType(stText);
  } else {
    ListBox->SetSortType(stNone);
  }
}

void TSelectPanel::RemoveDuplicates() {
  bool caseless = false;
  switch (FCheckDuplicate) {
    case cd_None:
      return;
    case cd_CheckCase:
      break;
    case cd_CaseInsensitive:
      caseless = true;
      break;
  }
  TListItems* items = ListBox->GetItems();
  for (int i = items->Count() - 1; i >= 1; --i) {
    const AnsiString a = items->GetItem(i)->GetCaption();
    const AnsiString b = items->GetItem(i - 1)->GetCaption();
    if (caseless ? AnsiUpperCase(a) == AnsiUpperCase(b) : a == b) items->Delete(i);
  }
}

int TSelectPanel::CompareRows(TListItem* a, TListItem* b) const {
  auto text = [](TListItem* item, int column) -> AnsiString {
    if (column == 0) return item->GetCaption();
    TStrings* sub = item->GetSubItems();
    return column - 1 < sub->Count() ? sub->Get(column - 1) : AnsiString();
  };
  std::vector<int> order{FSortColumn};
  if (FSortColumn == 0)
    order.push_back(1);
  else if (FSortColumn == 1)
    order.push_back(0);
  else {
    order.push_back(0);
    order.push_back(1);
  }
  int result = 0;
  for (int column : order) {
    result = AnsiCompareText(text(a, column), text(b, column));
    if (result != 0) break;
  }
  return FSortAscending ? result : -result;
}

void TSelectPanel::ListCompare(TObject*, TListItem* a, TListItem* b, int, int& result) {
  result = CompareRows(a, b);
}

void TSelectPanel::SortItems() {
  ListBox->CustomSort([this](TListItem* a, TListItem* b, int) { return CompareRows(a, b); }, 0);
}

void TSelectPanel::ListColumnClick(TObject*, TListColumn* column) {
  const int index = column->GetIndex();
  if (FHeaderSorted && index == FSortColumn) {
    FSortAscending = !FSortAscending;
  } else {
    FSortColumn = index;
    FSortAscending = true;
  }
  FHeaderSorted = true;
  SortItems();
}

void TSelectPanel::SetColumns(TListColumns* value) {
  ListBox->SetColumns(value);
  if (ListBox->ColumnsAutoSize) ListBox->AutoSizeColumns();
}

TStrings* TSelectPanel::GetColumnCaptions() {
  FSyncingCaptions = true;
  FColumnCaptions->BeginUpdate();
  FColumnCaptions->Clear();
  TListColumns* columns = ListBox->GetColumns();
  for (int i = 0; i < columns->Count(); ++i) FColumnCaptions->Add(columns->GetItem(i)->GetCaption());
  FColumnCaptions->EndUpdate();
  FSyncingCaptions = false;
  return FColumnCaptions.get();
}

void TSelectPanel::SetColumnCaptions(TStrings* value) {
  if (value == FColumnCaptions.get()) return;
  FColumnCaptions->Assign(value);
}

void TSelectPanel::DeleteClick(TObject*) {
  bool accept = true;
  if (RunTime()) OnDeleteClick(btnDelete, accept);
  if (!accept) return;
  TListItems* items = ListBox->GetItems();
  items->BeginUpdate();
  for (int i = items->Count() - 1; i >= 0; --i)
    if (i < items->Count() && items->GetItem(i)->GetSelected()) items->Delete(i);
  items->EndUpdate();
}

void TSelectPanel::ClearClick(TObject*) {
  ListBox->ClearItems();
  if (ListBox->CanFocus()) ListBox->SetFocus();
  if (RunTime()) OnClearClick(btnClear);
}

// ---- Lookup, focus, enabled ------------------------------------------------------------------

void TSelectPanel::LookupClick(TObject* sender) {
  if (!RunTime()) return;
  TWinControl* target = sender == btnBegin ? static_cast<TWinControl*>(edBegin)
                        : sender == btnFinal ? static_cast<TWinControl*>(edFinal)
                                             : static_cast<TWinControl*>(ListBox);
  if (!target->CanFocus()) return;
  target->SetFocus();
  // An exit check elsewhere may have kept the focus; then there is nothing to look up for.
  if (!target->Focused()) return;
  TCustomForm* form = dynamic_cast<TCustomForm*>(GetOwner());
  if (!form) form = GetParentForm(this);
  if (form) SendMessage(form->GetHandle(), WM_F2LOOKUP, 0, ControlToLParam(target));
  OnOpenWinClick(this, target);
}

void TSelectPanel::SetFocus() {
  TGroupBox::SetFocus();
  if (!IsRangeInput() && ListBox->CanFocus()) ListBox->SetFocus();
}

void TSelectPanel::SetEnabledTree(TWinControl* control, bool value) {
  for (TControl* child : control->Controls()) {
    child->SetEnabled(value);
    if (auto* win = dynamic_cast<TWinControl*>(child)) SetEnabledTree(win, value);
  }
}

void TSelectPanel::SetEnabled(bool value) {
  TGroupBox::SetEnabled(value);
  SetEnabledTree(this, value);
}

// ---- Exit check --------------------------------------------------------------------------------

TDateTime TSelectPanel::ReadDateBound(const AnsiString& text) const {
  AnsiString s = Trim(text);
  if (s.empty() || s == Trim(FBlankMaskText) || DateSign.empty()) return 0;
  switch (CountOf(s, DateSign)) {
    case 1:
      switch (DateType) {
        case dt_NoneCare:
          return 0;
        case dt_YYYYMMDD:
        case dt_YYMMDD:
        case dt_YYYMMDD:
          s += DateSign + "01";
          break;
        case dt_MMDDYYYY:
          s = s.substr(0, std::min<size_t>(2, s.size())) + DateSign + "01" + (s.size() > 2 ? s.substr(2) : "");
          break;
        case dt_DDMMYYYY:
          s = "01" + DateSign + s;
          break;
      }
      break;
    case 2:
      break;
    default:
      return 0;
  }
  int parts[3] = {0, 0, 0};
  size_t from = 0;
  for (int i = 0; i < 3; ++i) {
    const size_t at = i < 2 ? s.find(DateSign, from) : AnsiString::npos;
    const AnsiString part = Trim(s.substr(from, at == AnsiString::npos ? AnsiString::npos : at - from));
    if (!TryStrToInt(part, parts[i])) return 0;
    if (at == AnsiString::npos && i < 2) return 0;
    from = at == AnsiString::npos ? s.size() : at + DateSign.size();
  }
  int year = 0, month = 0, day = 0;
  switch (DateType) {
    case dt_NoneCare:
      return 0;
    case dt_YYYYMMDD:
      year = parts[0], month = parts[1], day = parts[2];
      break;
    case dt_MMDDYYYY:
      month = parts[0], day = parts[1], year = parts[2];
      break;
    case dt_DDMMYYYY:
      day = parts[0], month = parts[1], year = parts[2];
      break;
    case dt_YYMMDD:
    case dt_YYYMMDD:
      // Republic of China years.
      year = parts[0] + 1911, month = parts[1], day = parts[2];
      break;
  }
  TDateTime date = 0;
  return TryEncodeDate(year, month, day, date) ? date : 0;
}

void TSelectPanel::CheckRange() {
  if (edBegin->GetEditMask().rfind("!", 0) != 0) {
    edBegin->SetText(Trim(edBegin->GetText()));
    edFinal->SetText(Trim(edFinal->GetText()));
  }
  const AnsiString first = edBegin->GetText();
  const AnsiString last = edFinal->GetText();
  if (first.empty() || last.empty()) return;
  auto skipped = [&](const AnsiString& s) {
    return s == FBlankMaskText || (UseDiscard && Trim(s) == Trim(Discard));
  };
  bool swap = false;
  switch (ValueType) {
    case vt_String:
    case vt_Time:
      swap = !skipped(first) && !skipped(last) && first > last;
      break;
    case vt_Number:
      swap = StrToIntDef(Trim(last), 0) < StrToIntDef(Trim(first), 0);
      break;
    case vt_Date:
      if (!AutoChangeDateSite || skipped(first) || skipped(last)) break;
      if (DateType == dt_NoneCare)
        swap = first > last;
      else
        swap = ReadDateBound(first) > ReadDateBound(last);
      break;
    case vt_Float:
      swap = ReadFloatBound(last) < ReadFloatBound(first);
      break;
    case vt_OtherMask:
      break;
  }
  if (!swap) return;
  edBegin->SetText(last);
  edFinal->SetText(first);
}

void TSelectPanel::DoExit() {
  if (RunTime()) CheckRange();
  TGroupBox::DoExit();
}

// ---- Events forwarded from the sub-controls ------------------------------------------------------

void TSelectPanel::ListSelectItem(TObject* sender, TListItem* item, bool selected) {
  if (RunTime()) OnItemSelect(sender, item, item ? item->GetIndex() : -1, selected);
}

void TSelectPanel::ListChange(TObject* sender, TListItem* item, TItemChange change) {
  if (RunTime()) OnItemChange(sender, item, change);
}

void TSelectPanel::ListChanging(TObject* sender, TListItem* item, TItemChange change, bool& allow) {
  if (RunTime()) OnItemChanging(sender, item, change, allow);
}

void TSelectPanel::SubKeyDown(TObject* sender, Word& key, TShiftState shift) {
  if (RunTime()) OnKeyDown(sender, key, shift);
}

void TSelectPanel::SubKeyUp(TObject* sender, Word& key, TShiftState shift) {
  if (RunTime()) OnKeyUp(sender, key, shift);
}

void TSelectPanel::SubKeyPress(TObject* sender, char& key) {
  if (RunTime()) OnKeyPress(sender, key);
}

TObject* TSelectPanel::MouseSender(TObject* sender, int& x, int& y) const {
  if (sender == edBegin || sender == edFinal || sender == ListBox) return sender;
  if (auto* control = dynamic_cast<TControl*>(sender)) {
    const TPoint p = ScreenToClient(control->ClientToScreen(TPoint{x, y}));
    x = p.X;
    y = p.Y;
  }
  return const_cast<TSelectPanel*>(this);
}

void TSelectPanel::SubClick(TObject* sender) {
  int x = 0, y = 0;
  if (RunTime()) OnClick(MouseSender(sender, x, y));
}

void TSelectPanel::SubDblClick(TObject* sender) {
  int x = 0, y = 0;
  if (RunTime()) OnDblClick(MouseSender(sender, x, y));
}

void TSelectPanel::SubMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
  if (!RunTime()) return;
  TObject* who = MouseSender(sender, x, y);
  OnMouseDown(who, button, shift, x, y);
}

void TSelectPanel::SubMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
  if (!RunTime()) return;
  TObject* who = MouseSender(sender, x, y);
  OnMouseUp(who, button, shift, x, y);
}

void TSelectPanel::SubMouseMove(TObject* sender, TShiftState shift, int x, int y) {
  if (!RunTime()) return;
  TObject* who = MouseSender(sender, x, y);
  OnMouseMove(who, shift, x, y);
}
