#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/platform/vcl_controls/ControlsFixture.h"

#include <ostream>

namespace {

class TListLog : public TEventLog {
public:
  TItemChange Veto = ctText;
  bool Vetoing = false;
  bool AllowEdit = true;
  bool Descending = false;
  bool ThrowOnCompare = false;

  static std::string Name(TListItem* item) { return item ? item->GetCaption() : "nil"; }
  void Select(TObject*, TListItem* item, bool selected) { Add("select:" + Name(item) + (selected ? "+" : "-")); }
  void Change(TObject*, TListItem* item, TItemChange change) {
    Add("change:" + Name(item) + ":" + GetEnumName(TypeInfo<TItemChange>(), change));
  }
  void Changing(TObject*, TListItem* item, TItemChange change, bool& allow) {
    if (Vetoing && change == Veto) allow = false;
  }
  void Deletion(TObject*, TListItem* item) { Add("delete:" + Name(item)); }
  void Insert(TObject*, TListItem* item) { Add("insert"); }
  void Editing(TObject*, TListItem* item, bool& allow) {
    Add("editing:" + Name(item));
    allow = AllowEdit;
  }
  void Edited(TObject*, TListItem* item, AnsiString& s) { s = "[" + s + "]"; }
  void ColumnClick(TObject*, TListColumn* column) { Add("column:" + column->GetCaption()); }
  void Compare(TObject*, TListItem* a, TListItem* b, int data, int& result) {
    if (ThrowOnCompare) throw EConvertError("cannot compare");
    // By the first sub-item, as numbers.
    const int x = std::stoi(a->GetSubItems()->Get(0)), y = std::stoi(b->GetSubItems()->Get(0));
    result = (x < y ? -1 : x > y ? 1 : 0) * (Descending ? -1 : 1);
  }
};

class ListViewTest : public ControlsTest {
protected:
  void SetUp() override {
    ControlsTest::SetUp();
    List = Add<TListView>(nullptr, "lv");
    List->SetViewStyle(vsReport);
    List->GetColumns()->Add()->SetCaption("Code");
    List->GetColumns()->Add()->SetCaption("Qty");
  }
  // Rows "caption,sub1" …
  void Fill(std::initializer_list<std::pair<const char*, const char*>> rows) {
    for (const auto& [caption, sub] : rows) {
      TListItem* item = List->GetItems()->Add();
      item->SetCaption(caption);
      item->GetSubItems()->Add(sub);
    }
  }
  std::string Captions() const {
    std::string s;
    for (int i = 0; i < List->GetItems()->Count(); ++i) s += (i ? "," : "") + List->GetItems()->GetItem(i)->GetCaption();
    return s;
  }
  void Wire() {
    List->OnSelectItem = TLVSelectItemEvent(&Events, &TListLog::Select);
    List->OnChange = TLVChangeEvent(&Events, &TListLog::Change);
    List->OnChanging = TLVChangingEvent(&Events, &TListLog::Changing);
    List->OnDeletion = TLVDeletedEvent(&Events, &TListLog::Deletion);
    List->OnInsert = TLVDeletedEvent(&Events, &TListLog::Insert);
  }
  TListView* List = nullptr;
  TListLog Events;
};

TEST_F(ListViewTest, ItemsKeepTheirIndexThroughInsertAndDelete) {
  Fill({{"b", "2"}, {"c", "3"}, {"d", "4"}});
  TListItem* first = List->GetItems()->Insert(0);
  first->SetCaption("a");
  EXPECT_EQ(Captions(), "a,b,c,d");
  EXPECT_EQ(List->GetItems()->GetItem(2)->GetIndex(), 2);
  EXPECT_EQ(List->GetItems()->GetItem(3)->GetSubItems()->Get(0), "4");
  List->GetItems()->Delete(1);
  EXPECT_EQ(Captions(), "a,c,d");
  EXPECT_EQ(List->GetItems()->GetItem(2)->GetIndex(), 2);
  List->GetItems()->GetItem(0)->Delete();
  EXPECT_EQ(Captions(), "c,d");
  EXPECT_THROW(List->GetItems()->GetItem(2), EListError);
  EXPECT_THROW(List->GetItems()->Insert(5), EListError);
  EXPECT_THROW(List->GetItems()->Delete(-1), EListError);
  EXPECT_EQ(Captions(), "c,d");
}

TEST_F(ListViewTest, SingleSelectionMovesFromItemToItem) {
  Fill({{"a", "1"}, {"b", "2"}, {"c", "3"}});
  Wire();
  List->GetItems()->GetItem(0)->SetSelected(true);
  List->GetItems()->GetItem(2)->SetSelected(true);
  EXPECT_EQ(Events.Take(), (TLog{"change:a:ctState", "select:a+", "change:a:ctState", "select:a-",
                                 "change:c:ctState", "select:c+"}));
  EXPECT_EQ(List->GetSelCount(), 1);
  EXPECT_EQ(List->GetSelected(), List->GetItems()->GetItem(2));
  List->SetSelected(nullptr);
  EXPECT_EQ(List->GetSelCount(), 0);
  EXPECT_EQ(List->GetSelected(), nullptr);
}

TEST_F(ListViewTest, ChangesCanBeVetoed) {
  Fill({{"a", "1"}});
  Wire();
  TListItem* a = List->GetItems()->GetItem(0);
  Events.Vetoing = true;
  Events.Veto = ctState;
  a->SetSelected(true);
  EXPECT_FALSE(a->GetSelected());
  Events.Veto = ctText;
  a->SetCaption("z");
  EXPECT_EQ(a->GetCaption(), "a");
  EXPECT_TRUE(Events.Take().empty());
  Events.Vetoing = false;
  a->SetImageIndex(3);
  EXPECT_EQ(Events.Take(), (TLog{"change:a:ctImage"}));
}

TEST_F(ListViewTest, ClicksSelectWithCtrlAndShiftInAMultiSelectionList) {
  List->SetMultiSelect(true);
  Fill({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
  TListItems* items = List->GetItems();
  EXPECT_TRUE(List->ClickItem(items->GetItem(1)));
  EXPECT_TRUE(List->Focused());
  EXPECT_TRUE(List->ClickItem(items->GetItem(3), {ssShift}));
  EXPECT_EQ(List->GetSelCount(), 3);
  EXPECT_TRUE(List->ClickItem(items->GetItem(2), {ssCtrl}));
  EXPECT_EQ(List->GetSelCount(), 2);
  EXPECT_FALSE(items->GetItem(2)->GetSelected());
  EXPECT_EQ(List->GetItemFocused(), items->GetItem(2));
  EXPECT_EQ(List->GetNextSelected(items->GetItem(1)), items->GetItem(3));
  List->ClickItem(items->GetItem(0));
  EXPECT_EQ(List->GetSelCount(), 1);
  // Turning multi-selection off keeps the first selected item only.
  List->SelectAll();
  List->SetMultiSelect(false);
  EXPECT_EQ(List->GetSelCount(), 1);
  EXPECT_EQ(List->GetSelected(), items->GetItem(0));
}

TEST_F(ListViewTest, PressingOnARowSelectsItAndElsewhereClears) {
  Fill({{"a", "1"}, {"b", "2"}});
  const TRect row = List->GetItems()->GetItem(1)->DisplayRect();
  const LPARAM at = (static_cast<LPARAM>(row.Top + 1) << 16) | 5;
  List->Perform(WM_LBUTTONDOWN, 0, at);
  List->Perform(WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(List->Focused());
  EXPECT_EQ(List->GetSelected(), List->GetItems()->GetItem(1));
  const LPARAM below = (static_cast<LPARAM>(row.Bottom + 30) << 16) | 5;
  List->Perform(WM_LBUTTONDOWN, 0, below);
  List->Perform(WM_LBUTTONUP, 0, below);
  EXPECT_EQ(List->GetSelCount(), 0);
}

TEST_F(ListViewTest, ArrowKeysMoveTheSelection) {
  Fill({{"a", "1"}, {"b", "2"}, {"c", "3"}});
  List->ClickItem(List->GetItems()->GetItem(0));
  PressKey(List, VK_DOWN);
  PressKey(List, VK_DOWN);
  PressKey(List, VK_DOWN);
  EXPECT_EQ(List->GetSelected(), List->GetItems()->GetItem(2));
  PressKey(List, VK_HOME);
  EXPECT_EQ(List->GetItemFocused(), List->GetItems()->GetItem(0));
}

TEST_F(ListViewTest, SortingByTextFollowsCaptionChanges) {
  Fill({{"pear", "3"}, {"apple", "10"}, {"fig", "2"}});
  List->SetSortType(stText);
  EXPECT_EQ(Captions(), "apple,fig,pear");
  List->GetItems()->GetItem(0)->SetCaption("zucchini");
  EXPECT_EQ(Captions(), "fig,pear,zucchini");
  // Within an update the sort waits for its end.
  List->GetItems()->BeginUpdate();
  List->GetItems()->Add()->SetCaption("banana");
  EXPECT_EQ(Captions(), "fig,pear,zucchini,banana");
  List->GetItems()->EndUpdate();
  EXPECT_EQ(Captions(), "banana,fig,pear,zucchini");
  EXPECT_EQ(List->GetItems()->GetItem(3)->GetIndex(), 3);
}

TEST_F(ListViewTest, OnCompareAndCustomSortDecideTheOrder) {
  Fill({{"pear", "3"}, {"apple", "10"}, {"fig", "2"}});
  List->OnCompare = TLVCompareEvent(&Events, &TListLog::Compare);
  EXPECT_TRUE(List->AlphaSort());
  EXPECT_EQ(Captions(), "fig,pear,apple");
  Events.Descending = true;
  List->AlphaSort();
  EXPECT_EQ(Captions(), "apple,pear,fig");
  List->CustomSort([](TListItem* a, TListItem* b, int data) {
    return static_cast<int>(a->GetCaption().size()) - static_cast<int>(b->GetCaption().size());
  }, 0);
  EXPECT_EQ(Captions(), "fig,pear,apple");
  // A comparison that fails leaves the order as it was.
  Events.ThrowOnCompare = true;
  EXPECT_THROW(List->AlphaSort(), EConvertError);
  EXPECT_EQ(Captions(), "fig,pear,apple");
  Events.ThrowOnCompare = false;
  EXPECT_TRUE(List->AlphaSort());
}

TEST_F(ListViewTest, InPlaceEditingCanBeRefused) {
  Fill({{"a", "1"}});
  TListItem* a = List->GetItems()->GetItem(0);
  List->OnEditing = TLVEditingEvent(&Events, &TListLog::Editing);
  List->OnEdited = TLVEditedEvent(&Events, &TListLog::Edited);
  List->SetReadOnly(true);
  EXPECT_FALSE(a->EditCaption());
  EXPECT_TRUE(Events.Take().empty());
  List->SetReadOnly(false);
  Events.AllowEdit = false;
  EXPECT_FALSE(a->EditCaption());
  EXPECT_FALSE(List->IsEditing());
  Events.AllowEdit = true;
  EXPECT_TRUE(a->EditCaption());
  List->FinishEditing("new", true);
  EXPECT_EQ(a->GetCaption(), "[new]");
  EXPECT_TRUE(a->EditCaption());
  List->FinishEditing("dropped", false);
  EXPECT_EQ(a->GetCaption(), "[new]");
  EXPECT_EQ(Events.Take(), (TLog{"editing:a", "editing:a", "editing:[new]"}));
}

TEST_F(ListViewTest, DeletingAndClearingReportEachItem) {
  Fill({{"a", "1"}, {"b", "2"}});
  Wire();
  List->GetItems()->GetItem(1)->SetSelected(true);
  List->GetItems()->GetItem(1)->SetFocused(true);
  Events.Take();
  List->GetItems()->Clear();
  EXPECT_EQ(Events.Take(), (TLog{"delete:b", "delete:a"}));
  EXPECT_EQ(List->GetSelCount(), 0);
  EXPECT_EQ(List->GetItemFocused(), nullptr);
  List->GetItems()->Add();
  EXPECT_EQ(Events.Take(), (TLog{"insert"}));
}

TEST_F(ListViewTest, ColumnsClickAndSize) {
  List->OnColumnClick = TLVColumnClickEvent(&Events, &TListLog::ColumnClick);
  List->ClickColumn(1);
  List->ColumnClick = false;
  List->ClickColumn(0);
  EXPECT_EQ(Events.Take(), (TLog{"column:Qty"}));
  // Font height -12: "W" is 6 wide.
  List->GetFont()->SetHeight(-12);
  Fill({{"abcdef", "1"}});
  TListColumn* code = List->Column(0);
  code->SetWidth(ColumnTextWidth);
  EXPECT_EQ(code->GetWidth(), 6 * 6 + 12);
  code->SetWidth(100);
  List->Column(1)->SetAutoSize(true);
  List->SetBounds(0, 0, 300, 100);
  EXPECT_EQ(List->Column(1)->GetWidth(), List->GetClientWidth() - 100);
  List->Column(1)->SetMaxWidth(50);
  EXPECT_EQ(List->Column(1)->GetWidth(), 50);
  EXPECT_EQ(GetPropTextByPath(List->Column(0), "Width"), "100");
}

TEST_F(ListViewTest, ItemsAreFoundByPosition) {
  Fill({{"a", "1"}, {"b", "2"}});
  const TRect second = List->GetItems()->GetItem(1)->DisplayRect();
  EXPECT_EQ(second.Top, List->HeaderHeight() + List->RowHeight());
  EXPECT_EQ(List->GetItemAt(5, second.Top + 1), List->GetItems()->GetItem(1));
  EXPECT_EQ(List->GetItemAt(5, second.Bottom + List->RowHeight()), nullptr);
  EXPECT_EQ(List->GetItemAt(5, 0), nullptr);  // the header
}

TEST_F(ListViewTest, ManyItemsAddedWithinAnUpdate) {
  List->GetItems()->BeginUpdate();
  for (int i = 0; i < 10000; ++i) {
    TListItem* item = List->GetItems()->Add();
    item->SetCaption(std::to_string(i));
    item->GetSubItems()->Add("x");
  }
  List->GetItems()->EndUpdate();
  EXPECT_EQ(List->GetItems()->Count(), 10000);
  EXPECT_EQ(List->GetItems()->GetItem(9999)->GetIndex(), 9999);
  EXPECT_EQ(List->GetItems()->IndexOf(List->GetItems()->GetItem(5000)), 5000);
}

}  // namespace
