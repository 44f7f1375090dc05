#include "module/controls/SelectPnl.h"

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/TypInfo.h"
#include "platform/vcl/UIDriver.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A form that notes the lookup requests it receives and where the focus was then.
class TPanelForm : public TForm {
  TAVO_CLASS(TPanelForm, TForm)
public:
  explicit TPanelForm(TComponent* AOwner) : TForm(AOwner, CreateNew) {}
  std::vector<std::string>* Log = nullptr;
  TControl* Requested = nullptr;
  TWinControl* FocusAtRequest = nullptr;
  void WMLookup(TMessage& message) {
    Requested = LParamToControl(message.LParam);
    FocusAtRequest = FocusedControl();
    Log->push_back("message");
  }
};

}  // namespace

TAVO_PUBLISHED(TPanelForm, TForm) { P.Message(WM_USER + 10, &TPanelForm::WMLookup); }

namespace {

class SelectPanelTest : public testing::Test {
protected:
  SelectPanelTest() : Scope(&Driver) {}
  void SetUp() override {
    Form = new TPanelForm(Application);
    Form->Log = &Log;
    Form->SetBounds(0, 0, 600, 400);
    Panel = new TSelectPanel(Form);
    Panel->SetName("sp01");
    Panel->SetParent(Form);
    Other = new TEdit(Form);
    Other->SetName("edOther");
    Other->SetParent(Form);
    Other->SetBounds(10, 300, 80, 21);
    Other->SetTabStop(true);
    Form->Show();
  }
  void TearDown() override {
    Form->Free();
    Application->ProcessMessages();
  }
  // Enters the panel's begin edit and leaves the panel.
  void EnterAndLeave(const AnsiString& first, const AnsiString& last) {
    Panel->edBegin->SetText(first);
    Panel->edFinal->SetText(last);
    Panel->edBegin->SetFocus();
    Other->SetFocus();
  }
  std::vector<AnsiString> Captions() const {
    std::vector<AnsiString> out;
    for (int i = 0; i < Panel->GetItems()->Count(); ++i) out.push_back(Panel->GetItems()->GetItem(i)->GetCaption());
    return out;
  }

public:
  void NoteOpenWin(TObject* parent, TObject* sender) {
    OpenWinSender = sender;
    Log.push_back("open:parent=" + static_cast<TComponent*>(parent)->GetName());
  }
  void Veto(TObject*, TSelectStyle, TSelectStyle&, bool& accept) { accept = false; }
  void NoteChange(TObject*, TSelectStyle oldStyle, TSelectStyle newStyle) {
    Log.push_back("change:" + std::to_string(oldStyle) + ">" + std::to_string(newStyle) +
                  ":now=" + std::to_string(Panel->GetStyle()));
  }
  void RefuseDelete(TObject*, bool& accept) { accept = false; }
  void NoteType(TObject*) { Log.push_back("type"); }
  void NoteExit(TObject*) { Log.push_back("exit:" + Panel->edBegin->GetText() + "-" + Panel->edFinal->GetText()); }

  TObject* OpenWinSender = nullptr;
  TScriptedDriver Driver;
  TUIDriverScope Scope;
  TPanelForm* Form = nullptr;
  TSelectPanel* Panel = nullptr;
  TEdit* Other = nullptr;
  std::vector<std::string> Log;
};

TEST_F(SelectPanelTest, StartsAsADesignedRangePanel) {
  EXPECT_EQ(Panel->GetStyle(), sp_Range);
  EXPECT_EQ(Panel->GetWidth(), 353);
  EXPECT_EQ(Panel->GetHeight(), 45);
  EXPECT_TRUE(Panel->IsRangeInput());
  EXPECT_TRUE(Panel->pnlRange->GetVisible());
  EXPECT_FALSE(Panel->pnlDiscrete->GetVisible());
  EXPECT_FALSE(Panel->chkUserChoice->GetVisible());
  EXPECT_EQ(Panel->lblBegin->GetCaption(), "起");
  EXPECT_EQ(Panel->lblFinal->GetCaption(), "止");
  EXPECT_EQ(Panel->edBegin->Hint, "区间选择-起始信息");
  EXPECT_EQ(Panel->btnClear->Hint, "多选-删除己选信息");
  EXPECT_EQ(Panel->btnDelete->GetGlyphIndex(), 47);
  EXPECT_EQ(Panel->btnClear->GetGlyphIndex(), 4);
  EXPECT_EQ(Panel->btnList->GetGlyphIndex(), 8);
  EXPECT_FALSE(Panel->btnList->GetAutoAlign());
  EXPECT_EQ(Panel->edBegin->GetHeight(), 24);
  EXPECT_EQ(Panel->edBegin->GetWidth(), Panel->edFinal->GetWidth());
  EXPECT_EQ(Panel->edFinal->GetLeft(), Panel->lblFinal->GetLeft() + Panel->lblFinal->GetWidth() + 2);
  EXPECT_EQ(GetEnumProp(Panel, "CheckDuplicate"), "cd_None");
  EXPECT_EQ(GetStrProp(Panel, "HintWord"), "区间选择");
  EXPECT_EQ(GetOrdProp(Panel, "OtherWidth"), 200);
  EXPECT_TRUE(Panel->ListBox->GetMultiSelect());
  EXPECT_TRUE(Panel->ListBox->GetReadOnly());
  EXPECT_EQ(GetClass("TSelectPanel"), TSelectPanel::StaticClass());
  EXPECT_EQ(GetClass("TOrlListView"), TOrlListView::StaticClass());
}

// ---- Exit check ---------------------------------------------------------------------------

struct TOrderCase {
  const char* Name;
  TValueType Type;
  TDateType Date;
  const char* Begin;
  const char* End;
  bool UseDiscard;
  const char* Discard;
  const char* WantBegin;
  const char* WantEnd;
};
std::ostream& operator<<(std::ostream& os, const TOrderCase& c) { return os << c.Name; }

const TOrderCase OrderCases[] = {
    {"StringSwapped", vt_String, dt_NoneCare, "ZZ", "AA", false, "", "AA", "ZZ"},
    {"StringTrimmed", vt_String, dt_NoneCare, "  B ", " A", false, "", "A", "B"},
    {"StringBlankEndLeft", vt_String, dt_NoneCare, "A", "", false, "", "A", ""},
    {"StringByteOrder", vt_String, dt_NoneCare, "a", "B", false, "", "B", "a"},
    {"NumberSwapped", vt_Number, dt_NoneCare, "10", "9", false, "", "9", "10"},
    {"NumberUnreadableIsZero", vt_Number, dt_NoneCare, "abc", "5", false, "", "abc", "5"},
    {"NumberNotByText", vt_Number, dt_NoneCare, "9", "10", false, "", "9", "10"},
    {"DateOneSeparatorSupplied", vt_Date, dt_YYYYMMDD, "2024/05", "2024/04/30", false, "", "2024/04/30", "2024/05"},
    {"DateInOrder", vt_Date, dt_YYYYMMDD, "2024/04/30", "2024/05", false, "", "2024/04/30", "2024/05"},
    {"DateMonthFirst", vt_Date, dt_MMDDYYYY, "05/2024", "04/30/2024", false, "", "04/30/2024", "05/2024"},
    {"DateDayFirst", vt_Date, dt_DDMMYYYY, "02/01/2024", "31/12/2023", false, "", "31/12/2023", "02/01/2024"},
    {"DateRocYear", vt_Date, dt_YYMMDD, "113/01/02", "112/12/31", false, "", "112/12/31", "113/01/02"},
    {"DateUnreadableEndComesFirst", vt_Date, dt_YYYYMMDD, "2024/01/01", "2024/13/01", false, "", "2024/13/01", "2024/01/01"},
    {"DateNoneCareAsText", vt_Date, dt_NoneCare, "2024/5/1", "2024/10/1", false, "", "2024/10/1", "2024/5/1"},
    {"DiscardSuppresses", vt_String, dt_NoneCare, "ZZ", "AA", true, "ZZ", "ZZ", "AA"},
    {"DiscardTrimmed", vt_Date, dt_YYYYMMDD, "2024/05/01", "0000", true, " 0000 ", "2024/05/01", "0000"},
    {"DiscardOffIgnored", vt_String, dt_NoneCare, "ZZ", "AA", false, "ZZ", "AA", "ZZ"},
    {"FloatFractionDigitsKept", vt_Float, dt_NoneCare, "1.5", "1.05", false, "", "1.05", "1.5"},
    {"FloatNegative", vt_Float, dt_NoneCare, "2", "-3.5", false, "", "-3.5", "2"},
    {"OtherMaskNeverOrdered", vt_OtherMask, dt_NoneCare, "ZZ", "AA", false, "", "ZZ", "AA"},
};

class OrderTest : public SelectPanelTest, public testing::WithParamInterface<TOrderCase> {};

TEST_P(OrderTest, LeavingThePanelOrdersTheBounds) {
  const TOrderCase& c = GetParam();
  Panel->ValueType = c.Type;
  Panel->DateType = c.Date;
  Panel->UseDiscard = c.UseDiscard;
  Panel->Discard = c.Discard;
  Panel->OnExit = TNotifyEvent(this, &SelectPanelTest::NoteExit);
  EnterAndLeave(c.Begin, c.End);
  EXPECT_EQ(Panel->edBegin->GetText(), c.WantBegin);
  EXPECT_EQ(Panel->edFinal->GetText(), c.WantEnd);
  // OnExit follows the check.
  ASSERT_EQ(Log.size(), 1u);
  EXPECT_EQ(Log[0], std::string("exit:") + c.WantBegin + "-" + c.WantEnd);
}

INSTANTIATE_TEST_SUITE_P(Cases, OrderTest, testing::ValuesIn(OrderCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SelectPanelTest, DatesAreNotOrderedWithoutAutoChangeDateSite) {
  Panel->ValueType = vt_Date;
  Panel->DateType = dt_YYYYMMDD;
  Panel->AutoChangeDateSite = false;
  EnterAndLeave("2024/05/01", "2024/04/30");
  EXPECT_EQ(Panel->edBegin->GetText(), "2024/05/01");
}

TEST_F(SelectPanelTest, MovingBetweenTheEditsRunsNoCheck) {
  Panel->edBegin->SetText("ZZ");
  Panel->edFinal->SetText("AA");
  Panel->edBegin->SetFocus();
  Panel->edFinal->SetFocus();
  EXPECT_EQ(Panel->edBegin->GetText(), "ZZ");
}

struct TDateCase {
  const char* Name;
  TDateType Type;
  const char* Sign;
  const char* Text;
  int Year, Month, Day;  // 0: date value 0
};
std::ostream& operator<<(std::ostream& os, const TDateCase& c) { return os << c.Name; }

const TDateCase DateCases[] = {
    {"Full", dt_YYYYMMDD, "/", "2024/05/06", 2024, 5, 6},
    {"DaySupplied", dt_YYYYMMDD, "/", "2024/05", 2024, 5, 1},
    {"MonthFirstDaySupplied", dt_MMDDYYYY, "/", "05/2024", 2024, 5, 1},
    {"DayFirstDaySupplied", dt_DDMMYYYY, "/", "05/2024", 2024, 5, 1},
    {"RocYear", dt_YYMMDD, "/", "113/01/02", 2024, 1, 2},
    {"RocThreeDigitYear", dt_YYYMMDD, "-", "113-12", 2024, 12, 1},
    {"OtherSeparator", dt_YYYYMMDD, ".", " 2024 . 2 . 29 ", 2024, 2, 29},
    {"ImpossibleDate", dt_YYYYMMDD, "/", "2023/02/29", 0, 0, 0},
    {"NoSeparator", dt_YYYYMMDD, "/", "20240506", 0, 0, 0},
    {"ThreeSeparators", dt_YYYYMMDD, "/", "2024/05/06/07", 0, 0, 0},
    {"Unreadable", dt_YYYYMMDD, "/", "2024/xx/06", 0, 0, 0},
    {"Empty", dt_YYYYMMDD, "/", "  ", 0, 0, 0},
};

class DateReadTest : public SelectPanelTest, public testing::WithParamInterface<TDateCase> {};

TEST_P(DateReadTest, ReadsABound) {
  const TDateCase& c = GetParam();
  Panel->DateType = c.Type;
  Panel->DateSign = c.Sign;
  const TDateTime want = c.Year ? EncodeDate(c.Year, c.Month, c.Day) : 0;
  EXPECT_EQ(Panel->ReadDateBound(c.Text), want);
}

INSTANTIATE_TEST_SUITE_P(Cases, DateReadTest, testing::ValuesIn(DateCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SelectPanelTest, EditMaskRecordsTheBlankTextAndKeepsTheText) {
  int changes = 0;
  struct TCounter : TObject {
    int* N;
    void Count(TObject*) { ++*N; }
  } counter;
  counter.N = &changes;
  Panel->edBegin->SetText("2024/05/06");
  Panel->edBegin->OnChange = TNotifyEvent(&counter, &TCounter::Count);
  Panel->SetEditMask("!9999\\/99\\/99;1;_");
  EXPECT_EQ(Panel->BlankMaskText(), "    /  /  ");
  EXPECT_EQ(Panel->edBegin->GetText(), "2024/05/06");
  EXPECT_EQ(Panel->edFinal->GetEditMask(), "!9999\\/99\\/99;1;_");
  EXPECT_EQ(changes, 0);
  Panel->SetEditMask("");
  EXPECT_EQ(Panel->BlankMaskText(), "");
}

TEST_F(SelectPanelTest, ABlankMaskedBoundIsNotOrdered) {
  Panel->SetEditMask("!9999\\/99\\/99;1;_");
  Panel->ValueType = vt_Date;
  Panel->DateType = dt_YYYYMMDD;
  EnterAndLeave("2024/05/06", "");
  EXPECT_EQ(Panel->edBegin->GetText(), "2024/05/06");
  EXPECT_EQ(Panel->edFinal->GetText(), Panel->BlankMaskText());
}

// ---- List ------------------------------------------------------------------------------------

TEST_F(SelectPanelTest, AddItemGrowsDataColumnsAndPadsRows) {
  TOrlListView* list = Panel->ListBox;
  EXPECT_FALSE(list->AddItem(std::span<const AnsiString>()));
  ASSERT_TRUE(list->AddItem({"a"}));
  ASSERT_TRUE(list->AddItem({"b", "x", "y"}));
  ASSERT_EQ(list->GetColumns()->Count(), 3);
  EXPECT_EQ(list->Column(0)->GetCaption(), "Data1");
  EXPECT_EQ(list->Column(1)->GetCaption(), "Data2");
  EXPECT_EQ(list->Column(2)->GetCaption(), "Data3");
  EXPECT_EQ(list->GetItems()->GetItem(0)->GetSubItems()->Count(), 2);
  EXPECT_EQ(list->GetItems()->GetItem(1)->GetSubItems()->Get(1), "y");
  ASSERT_TRUE(list->AddItem({"c"}));
  EXPECT_EQ(list->GetItems()->GetItem(2)->GetSubItems()->Count(), 2);
}

TEST_F(SelectPanelTest, ColumnsAreSizedToTheirLongestText) {
  TOrlListView* list = Panel->ListBox;
  list->GetCanvas()->SetFont(list->GetFont());
  const int w = list->GetCanvas()->TextWidth("W");
  list->AddItem({"abcdefgh", "x"});
  list->AddItem({"ab", "0123456789"});
  EXPECT_EQ(list->Column(0)->GetWidth(), 8 * w);
  EXPECT_EQ(list->Column(1)->GetWidth(), 10 * w);
  // Removing the longest row narrows the column on the next addition.
  list->GetItems()->Delete(1);
  list->AddItem({"a"});
  EXPECT_EQ(list->Column(1)->GetWidth(), 5 * w);
  list->ColumnsAutoSize = false;
  list->AddItem({"a-much-longer-caption"});
  EXPECT_EQ(list->Column(0)->GetWidth(), 8 * w);
}

struct TDuplicateCase {
  const char* Name;
  TCheckDuplicate Check;
  std::vector<AnsiString> Added;
  std::vector<AnsiString> Want;
};
std::ostream& operator<<(std::ostream& os, const TDuplicateCase& c) { return os << c.Name; }

const TDuplicateCase DuplicateCases[] = {
    {"CaseInsensitive", cd_CaseInsensitive, {"ABC", "abc"}, {"ABC"}},
    {"CaseInsensitiveSorted", cd_CaseInsensitive, {"b", "A", "B", "a", "c"}, {"A", "b", "c"}},
    {"CheckCaseKeepsOtherCase", cd_CheckCase, {"abc", "abc", "ABC"}, {"abc", "ABC"}},
    {"NoneKeepsAll", cd_None, {"b", "a", "b"}, {"b", "a", "b"}},
};

class DuplicateTest : public SelectPanelTest, public testing::WithParamInterface<TDuplicateCase> {};

TEST_P(DuplicateTest, RemovesNeighbouringDuplicates) {
  const TDuplicateCase& c = GetParam();
  Panel->SetStyle(sp_Discrete);
  Panel->SetCheckDuplicate(c.Check);
  EXPECT_EQ(Panel->GetSortListBox(), c.Check != cd_None);
  for (const AnsiString& s : c.Added) ASSERT_TRUE(Panel->ListBox->AddItem({s}));
  std::vector<AnsiString> got = Captions();
  if (c.Check == cd_CheckCase) {
    // Sorting ignores case, so equal-but-for-case rows may sit in either order.
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(AnsiUpperCase(got[0]), "ABC");
  } else {
    EXPECT_EQ(got, c.Want);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DuplicateTest, testing::ValuesIn(DuplicateCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SelectPanelTest, SwitchingCheckDuplicateOnCleansTheListAtOnce) {
  Panel->SetStyle(sp_Discrete);
  for (const char* s : {"b", "B", "a"}) Panel->ListBox->AddItem({s});
  Panel->SetCheckDuplicate(cd_CaseInsensitive);
  EXPECT_EQ(Captions().size(), 2u);
}

TEST_F(SelectPanelTest, ColumnHeaderClicksSortAndReverse) {
  Panel->SetStyle(sp_Discrete);
  TOrlListView* list = Panel->ListBox;
  list->AddItem({"b", "2"});
  list->AddItem({"a", "3"});
  list->AddItem({"C", "1"});
  list->AddItem({"a", "1"});
  list->ClickColumn(1);
  EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a", "C", "b", "a"}));
  list->ClickColumn(1);
  EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a", "b", "C", "a"}));
  list->ClickColumn(0);
  EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a", "a", "b", "C"}));
  EXPECT_EQ(list->GetItems()->GetItem(0)->GetSubItems()->Get(0), "1");
  EXPECT_EQ(Panel->SortColumn(), 0);
  EXPECT_TRUE(Panel->SortAscending());
}

TEST_F(SelectPanelTest, DeleteAsksFirstAndClearEmptiesTheList) {
  Panel->SetStyle(sp_Discrete);
  for (const char* s : {"a", "b", "c"}) Panel->ListBox->AddItem({s});
  Panel->GetItems()->GetItem(0)->SetSelected(true);
  Panel->GetItems()->GetItem(2)->SetSelected(true);
  Panel->OnDeleteClick = TDeleteClickEvent(this, &SelectPanelTest::RefuseDelete);
  ClickControl(Panel->btnDelete);
  EXPECT_EQ(Captions().size(), 3u);
  Panel->OnDeleteClick = {};
  ClickControl(Panel->btnDelete);
  EXPECT_EQ(Captions(), (std::vector<AnsiString>{"b"}));
  ClickControl(Panel->btnClear);
  EXPECT_TRUE(Captions().empty());
  EXPECT_TRUE(Panel->ListBox->Focused());
}

TEST_F(SelectPanelTest, ListTakesAPressOnlyWhenTheFocusArrives) {
  Panel->SetStyle(sp_Discrete);
  Panel->ListBox->AddItem({"a"});
  struct TKeeper : TObject {
    TEdit* Edit;
    void Keep(TObject*) { Edit->SetFocus(); }
  } keeper;
  keeper.Edit = Other;
  Other->SetFocus();
  Other->OnExit = TNotifyEvent(&keeper, &TKeeper::Keep);
  Panel->ListBox->Perform(WM_LBUTTONDOWN, 0, (5 << 16) | 5);
  Panel->ListBox->Perform(WM_LBUTTONUP, 0, (5 << 16) | 5);
  EXPECT_FALSE(Panel->GetItems()->GetItem(0)->GetSelected());
  Other->OnExit = {};
  Panel->ListBox->Perform(WM_LBUTTONDOWN, 0, (5 << 16) | 5);
  EXPECT_TRUE(Panel->ListBox->Focused());
  EXPECT_TRUE(Panel->GetItems()->GetItem(0)->GetSelected());
}

// ---- Styles --------------------------------------------------------------------------------

TEST_F(SelectPanelTest, LeavingAndReturningToTheRangeStyleSwapsTheSize) {
  Panel->OnStyleChange = TStyleChangeEvent(this, &SelectPanelTest::NoteChange);
  Panel->SetStyle(sp_Discrete);
  EXPECT_EQ(Panel->GetWidth(), 200);
  EXPECT_EQ(Panel->GetHeight(), 105);
  EXPECT_EQ(Panel->OtherWidth, 353);
  EXPECT_EQ(Panel->OtherHeight, 45);
  EXPECT_TRUE(Panel->pnlDiscrete->GetVisible());
  EXPECT_FALSE(Panel->pnlRange->GetVisible());
  EXPECT_FALSE(Panel->IsRangeInput());
  // Between two list styles the size stays.
  Panel->SetStyle(sp_UserChoice);
  EXPECT_EQ(Panel->GetWidth(), 200);
  Panel->SetStyle(sp_Range);
  EXPECT_EQ(Panel->GetWidth(), 353);
  EXPECT_EQ(Panel->GetHeight(), 45);
  // The handler runs with the old style still in place.
  EXPECT_EQ(Log, (std::vector<std::string>{"change:0>1:now=0", "change:1>2:now=1", "change:2>0:now=2"}));
}

TEST_F(SelectPanelTest, AVetoedStyleChangeChangesNothing) {
  const TRect before = Panel->GetBoundsRect();
  const TRect range = Panel->pnlRange->GetBoundsRect();
  Panel->OnStyleChanging = TStyleChangingEvent(this, &SelectPanelTest::Veto);
  Panel->OnStyleChange = TStyleChangeEvent(this, &SelectPanelTest::NoteChange);
  Panel->SetStyle(sp_Discrete);
  EXPECT_EQ(Panel->GetStyle(), sp_Range);
  EXPECT_EQ(Panel->GetBoundsRect(), before);
  EXPECT_EQ(Panel->pnlRange->GetBoundsRect(), range);
  EXPECT_TRUE(Panel->pnlRange->GetVisible());
  EXPECT_FALSE(Panel->pnlDiscrete->GetVisible());
  EXPECT_TRUE(Log.empty());
}

TEST_F(SelectPanelTest, VerticalRangeKeepsItsOwnSize) {
  Panel->SetUseVertical(true);
  EXPECT_EQ(Panel->GetWidth(), 200);
  EXPECT_EQ(Panel->edFinal->GetLeft(), Panel->edBegin->GetLeft());
  EXPECT_GT(Panel->edFinal->GetTop(), Panel->edBegin->GetTop());
  // A vertical range panel keeps its size across style changes.
  Panel->SetStyle(sp_Discrete);
  EXPECT_EQ(Panel->GetWidth(), 200);
}

TEST_F(SelectPanelTest, UserChoiceSwitchesBetweenRangeAndList) {
  Panel->OnTypeClick = TNotifyEvent(this, &SelectPanelTest::NoteType);
  Panel->SetUserChoice(false);  // not in the user-choice style: no effect
  EXPECT_TRUE(Panel->chkUserChoice->GetChecked());
  EXPECT_TRUE(Log.empty());
  Panel->SetStyle(sp_UserChoice);
  EXPECT_TRUE(Panel->chkUserChoice->GetVisible());
  EXPECT_TRUE(Panel->IsRangeInput());
  Panel->SetUserChoice(false);
  EXPECT_FALSE(Panel->IsRangeInput());
  EXPECT_FALSE(Panel->pnlRange->GetVisible());
  EXPECT_TRUE(Panel->pnlDiscrete->GetVisible());
  ClickControl(Panel->chkUserChoice);
  EXPECT_TRUE(Panel->GetUserChoice());
  EXPECT_TRUE(Panel->pnlRange->GetVisible());
  EXPECT_EQ(Log, (std::vector<std::string>{"type", "type"}));
  // The user-choice style always stacks the range edits.
  EXPECT_EQ(Panel->lblBegin->GetCaption(), "起");
  EXPECT_GT(Panel->edFinal->GetTop(), Panel->edBegin->GetTop());
}

TEST_F(SelectPanelTest, WordsAndHintsReachTheSubControls) {
  TStringList words;
  words.Add("From");
  words.Add("From:");
  words.Add("ignored");
  Panel->SetBeginWords(&words);
  EXPECT_EQ(Panel->GetBeginWords()->Count(), 2);
  EXPECT_EQ(Panel->lblBegin->GetCaption(), "From");
  Panel->SetStyle(sp_UserChoice);
  EXPECT_EQ(Panel->lblBegin->GetCaption(), "From:");
  TStringList hints;
  hints.Add("h0");
  hints.Add("[F2]h1");
  Panel->SetChildHints(&hints);
  EXPECT_EQ(Panel->chkUserChoice->Hint, "h0");
  EXPECT_EQ(Panel->edBegin->Hint, "[F2]h1");
  EXPECT_EQ(Panel->btnBegin->Hint, "区间选择-起始信息开窗");
}

TEST_F(SelectPanelTest, ColumnCaptionsRebuildTheColumns) {
  TStringList captions;
  captions.Add("Code");
  captions.Add("Name");
  Panel->SetColumnCaptions(&captions);
  ASSERT_EQ(Panel->GetColumns()->Count(), 2);
  EXPECT_EQ(Panel->ListBox->Column(1)->GetCaption(), "Name");
  EXPECT_EQ(Panel->GetColumnCaptions()->Get(0), "Code");
  Panel->ListBox->AddItem({"a", "b", "c"});
  EXPECT_EQ(Panel->GetColumnCaptions()->Get(2), "Data3");
}

// ---- Lookup, focus, enabled ------------------------------------------------------------------

TEST_F(SelectPanelTest, LookupButtonFocusesAsksTheFormThenRaisesOpenWin) {
  Panel->OnOpenWinClick = TOpenWinClickEvent(this, &SelectPanelTest::NoteOpenWin);
  Other->SetFocus();
  ASSERT_TRUE(ClickControl(Panel->btnFinal));
  EXPECT_TRUE(Panel->edFinal->Focused());
  EXPECT_EQ(Log, (std::vector<std::string>{"message", "open:parent=sp01"}));
  EXPECT_EQ(Form->Requested, Panel->edFinal);
  EXPECT_EQ(Form->FocusAtRequest, Panel->edFinal);
  EXPECT_EQ(OpenWinSender, Panel->edFinal);
}

TEST_F(SelectPanelTest, ListLookupTargetsTheList) {
  Panel->SetStyle(sp_Discrete);
  std::vector<TObject*> targets;
  struct TTarget : TObject {
    std::vector<TObject*>* Out;
    void Note(TObject*, TObject* sender) { Out->push_back(sender); }
  } note;
  note.Out = &targets;
  Panel->OnOpenWinClick = TOpenWinClickEvent(&note, &TTarget::Note);
  ClickControl(Panel->btnList);
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(targets[0], Panel->ListBox);
  EXPECT_TRUE(Panel->ListBox->Focused());
}

TEST_F(SelectPanelTest, SetFocusGoesToTheListInListInput) {
  Panel->SetStyle(sp_Discrete);
  Other->SetFocus();
  Panel->SetFocus();
  EXPECT_TRUE(Panel->ListBox->Focused());
}

TEST_F(SelectPanelTest, EnabledReachesEveryInnerControl) {
  Panel->SetEnabled(false);
  EXPECT_FALSE(Panel->edBegin->GetEnabled());
  EXPECT_FALSE(Panel->pnlDiscrete->GetEnabled());
  EXPECT_FALSE(Panel->btnClear->GetEnabled());
  EXPECT_FALSE(Panel->ListBox->GetEnabled());
  Panel->SetEnabled(true);
  EXPECT_TRUE(Panel->btnBegin->GetEnabled());
  EXPECT_TRUE(Panel->ListBox->GetEnabled());
}

TEST_F(SelectPanelTest, KeysOfSubControlsReachThePanelsHandlers) {
  std::vector<TObject*> senders;
  struct TKeys : TObject {
    std::vector<TObject*>* Out;
    void Down(TObject* sender, Word&, TShiftState) { Out->push_back(sender); }
  } keys;
  keys.Out = &senders;
  Panel->OnKeyDown = TKeyEvent(&keys, &TKeys::Down);
  PressKey(Panel->edFinal, VK_F2);
  ASSERT_EQ(senders.size(), 1u);
  EXPECT_EQ(senders[0], Panel->edFinal);
}

TEST_F(SelectPanelTest, CanOpenWinHidesTheLookupButtonsAndWidensTheEdits) {
  const int width = Panel->edBegin->GetWidth();
  Panel->SetCanOpenWin(false);
  EXPECT_FALSE(Panel->btnBegin->GetVisible());
  EXPECT_FALSE(Panel->btnList->GetVisible());
  EXPECT_GT(Panel->edBegin->GetWidth(), width);
}

// ---- Glyph of the lookup buttons ----------------------------------------------------------

// Square pictures for some numbers; 10 is missing from the library, 11 is broken.
class TPanelGlyphs : public TGlyphSource {
public:
  int GetMaxBmpID() override { return 100; }
  bool LoadBmp(TBitmap* bitmap, int number) override {
    if (number == 11) throw std::runtime_error("broken picture");
    if (number != 8 && number != 9) return false;
    bitmap->SetSize(16, 16);
    bitmap->GetCanvas()->GetBrush()->SetColor(RGB(number, 0, 0));
    bitmap->GetCanvas()->FillRect(Rect(0, 0, 16, 16));
    return true;
  }
};

struct TGlyphCase {
  const char* Name;
  int Requested;
  int WantIndex;        // the panel's GlyphIndex afterwards
  int WantButtonIndex;  // each lookup button's
  bool WantPicture;
};
std::ostream& operator<<(std::ostream& os, const TGlyphCase& c) { return os << c.Name; }

const TGlyphCase GlyphCases[] = {
    {"Loaded", 9, 9, 9, true},
    // A picture the library cannot deliver: the buttons fall back to no picture, even
    // though they still hold the one they had, and the panel keeps its number.
    {"MissingFallsBackToNone", 10, 9, 0, false},
    {"BrokenFallsBackToNone", 11, 9, 0, false},
    // Beyond the library is no failure: a button without a picture.
    {"BeyondTheLibrary", 101, 101, 101, false},
};

class GlyphTest : public SelectPanelTest, public testing::WithParamInterface<TGlyphCase> {
protected:
  TPanelGlyphs Glyphs;
};

TEST_P(GlyphTest, LookupButtonsTakeTheGlyphOrFallBack) {
  const TGlyphCase& c = GetParam();
  SetGlyphSource(&Glyphs);
  Panel->SetGlyphIndex(9);
  Panel->SetGlyphIndex(c.Requested);
  SetGlyphSource(nullptr);
  EXPECT_EQ(Panel->GetGlyphIndex(), c.WantIndex);
  for (TF2Button* button : {Panel->btnBegin, Panel->btnFinal, Panel->btnList}) {
    SCOPED_TRACE(button == Panel->btnBegin ? "btnBegin" : button == Panel->btnFinal ? "btnFinal" : "btnList");
    EXPECT_EQ(button->GetGlyphIndex(), c.WantButtonIndex);
    EXPECT_EQ(!button->GetGlyph()->GetEmpty(), c.WantPicture);
  }
  // The delete and clear buttons keep their own pictures.
  EXPECT_EQ(Panel->btnDelete->GetGlyphIndex(), 47);
  EXPECT_EQ(Panel->btnClear->GetGlyphIndex(), 4);
}

INSTANTIATE_TEST_SUITE_P(Cases, GlyphTest, testing::ValuesIn(GlyphCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace

// ---- Streamed from a form resource ---------------------------------------------------------

namespace {

// A form whose resource holds a list-input panel with its handlers bound by name; the
// handlers note every call.
class TSelectPanelForm : public TForm {
  TAVO_CLASS(TSelectPanelForm, TForm)
public:
  using TForm::TForm;
  TSelectPanel* spCustomer = nullptr;
  TEdit* edOther = nullptr;
  std::vector<std::string> Log;
  TObject* OpenWinParent = nullptr;
  TObject* OpenWinSender = nullptr;
  void spCustomerOpenWinClick(TObject* parent, TObject* sender) {
    OpenWinParent = parent;
    OpenWinSender = sender;
    Log.push_back("open");
  }
  void spCustomerStyleChanging(TObject*, TSelectStyle, TSelectStyle&, bool& accept) {
    Log.push_back("changing");
    accept = false;
  }
  void spCustomerStyleChange(TObject*, TSelectStyle, TSelectStyle) { Log.push_back("change"); }
  void spCustomerTypeClick(TObject*) { Log.push_back("type"); }
  void spCustomerItemChange(TObject*, TListItem*, TItemChange) { Log.push_back("item"); }
};

}  // namespace

TAVO_PUBLISHED(TSelectPanelForm, TForm) {
  P.Field("spCustomer", &TSelectPanelForm::spCustomer);
  P.Field("edOther", &TSelectPanelForm::edOther);
  P.Method("spCustomerOpenWinClick", &TSelectPanelForm::spCustomerOpenWinClick);
  P.Method("spCustomerStyleChanging", &TSelectPanelForm::spCustomerStyleChanging);
  P.Method("spCustomerStyleChange", &TSelectPanelForm::spCustomerStyleChange);
  P.Method("spCustomerTypeClick", &TSelectPanelForm::spCustomerTypeClick);
  P.Method("spCustomerItemChange", &TSelectPanelForm::spCustomerItemChange);
}

namespace {

class StreamedPanelTest : public testing::Test {
protected:
  StreamedPanelTest() : Scope(&Driver) {}
  void SetUp() override {
    Form = CreateComponent<TSelectPanelForm>(Application);
    Panel = Form->spCustomer;
  }
  void TearDown() override {
    Form->Free();
    Application->ProcessMessages();
  }
  TScriptedDriver Driver;
  TUIDriverScope Scope;
  TSelectPanelForm* Form = nullptr;
  TSelectPanel* Panel = nullptr;
};

TEST_F(StreamedPanelTest, StoredValuesArriveWithoutRunningAnyHandler) {
  ASSERT_NE(Panel, nullptr);
  // The handlers come before the values in the resource, as an inherited form delivers
  // them; even so, the style handler's veto must not undo a stored style.
  EXPECT_TRUE(Form->Log.empty());
  EXPECT_EQ(Panel->GetStyle(), sp_UserChoice);
  EXPECT_FALSE(Panel->GetUserChoice());
  EXPECT_FALSE(Panel->IsRangeInput());
  EXPECT_TRUE(Panel->chkUserChoice->GetVisible());
  EXPECT_FALSE(Panel->chkUserChoice->GetChecked());
  EXPECT_TRUE(Panel->pnlDiscrete->GetVisible());
  EXPECT_FALSE(Panel->pnlRange->GetVisible());
  EXPECT_EQ(Panel->GetWidth(), 353);
  EXPECT_EQ(Panel->GetHeight(), 105);
  EXPECT_EQ(Panel->GetCaption(), "出货日期");
  EXPECT_EQ(Panel->chkUserChoice->GetCaption(), "逐笔选择");
  EXPECT_EQ(Panel->GetBeginWords()->GetText(), "从\r\n自\r\n");
  EXPECT_EQ(Panel->GetFinalWords()->GetText(), "到\r\n至\r\n");
  // A user-choice panel shows the second words.
  EXPECT_EQ(Panel->lblBegin->GetCaption(), "自");
  EXPECT_EQ(Panel->lblFinal->GetCaption(), "至");
  EXPECT_EQ(Panel->GetEditMask(), "!99\\/99\\/0000;1;_");
  EXPECT_EQ(Panel->edFinal->GetEditMask(), "!99\\/99\\/0000;1;_");
  EXPECT_EQ(Panel->BlankMaskText(), "  /  /    ");
  EXPECT_EQ(Panel->ValueType, vt_Date);
  EXPECT_EQ(Panel->DateType, dt_MMDDYYYY);
  EXPECT_EQ(GetEnumProp(Panel, "DateType"), "dt_MMDDYYYY");
  EXPECT_EQ(Panel->GetCheckDuplicate(), cd_CaseInsensitive);
  EXPECT_TRUE(Panel->GetSortListBox());
  ASSERT_EQ(Panel->GetColumns()->Count(), 2);
  EXPECT_EQ(Panel->GetColumns()->GetItem(0)->GetCaption(), "日期");
  EXPECT_EQ(Panel->GetColumns()->GetItem(1)->GetCaption(), "说明");
  EXPECT_EQ(Panel->GetColumnCaptions()->GetText(), "日期\r\n说明\r\n");
  EXPECT_TRUE(Panel->OnOpenWinClick);
}

TEST_F(StreamedPanelTest, StoredHintsReachTheSubControls) {
  const std::pair<TControl*, const char*> expected[] = {
      {Panel->chkUserChoice, "选择方式"}, {Panel->edBegin, "起始日期"},   {Panel->btnBegin, "起始日期开窗"},
      {Panel->edFinal, "截止日期"},       {Panel->btnFinal, "截止日期开窗"}, {Panel->ListBox, "已选日期"},
      {Panel->btnList, "日期开窗"},       {Panel->btnDelete, "删除一笔"},  {Panel->btnClear, "全部删除"}};
  for (const auto& [control, hint] : expected) EXPECT_EQ(control->Hint, hint) << control->GetName();
}

TEST_F(StreamedPanelTest, TheHandlerBoundByNameRunsOnALookupClick) {
  Form->Show();
  EXPECT_TRUE(ClickControl(Panel->btnList));
  EXPECT_EQ(Form->Log, (std::vector<std::string>{"open"}));
  EXPECT_EQ(Form->OpenWinParent, Panel);
  EXPECT_EQ(Form->OpenWinSender, Panel->ListBox);
  EXPECT_TRUE(Panel->ListBox->Focused());
  // The bound handlers are live once loading is over.
  Panel->SetUserChoice(true);
  EXPECT_EQ(Form->Log, (std::vector<std::string>{"open", "type"}));
}

}  // namespace
