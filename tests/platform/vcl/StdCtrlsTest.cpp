#include "tests/platform/vcl/TestForms.h"

#include <gtest/gtest.h>

namespace {

using TLog = std::vector<std::string>;

class StdCtrlsTest : public testing::Test, protected TFormFixtureBase {
protected:
  void SetUp() override {
    Form = MakeEventForm();
    Form->Show();
    Form->TakeLog();
  }
  template <class T>
  T* Add(const char* name, TWinControl* parent = nullptr) {
    return Form->Add<T>(parent ? parent : Form, name, 200);
  }
  TEventForm* Form = nullptr;
};

TEST_F(StdCtrlsTest, RadioButtonsOfOneParentAreExclusive) {
  auto* a = Add<TRadioButton>("rbA", Form->grpB);
  auto* b = Add<TRadioButton>("rbB", Form->grpB);
  auto* elsewhere = Add<TRadioButton>("rbC", Form->grpA);
  elsewhere->SetChecked(true);
  a->SetChecked(true);
  Form->TakeLog();
  EXPECT_TRUE(ClickControl(b));
  EXPECT_TRUE(b->GetChecked());
  EXPECT_FALSE(a->GetChecked());
  EXPECT_TRUE(elsewhere->GetChecked());
  EXPECT_TRUE(b->GetTabStop());
  EXPECT_FALSE(a->GetTabStop());
  // One click event: the newly checked button's.
  TLog log = Form->TakeLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "click:rbB"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "click:rbA"), 0);
  // Clicking a checked button changes nothing.
  ClickControl(b);
  EXPECT_EQ(std::count(Form->Log.begin(), Form->Log.end(), "click:rbB"), 0);
}

TEST_F(StdCtrlsTest, ArrowKeysMoveToAndCheckTheNextRadioButton) {
  auto* a = Add<TRadioButton>("rbA", Form->grpB);
  auto* b = Add<TRadioButton>("rbB", Form->grpB);
  a->SetChecked(true);
  a->SetFocus();
  PressKey(a, VK_DOWN);
  EXPECT_TRUE(b->Focused());
  EXPECT_TRUE(b->GetChecked());
  EXPECT_FALSE(a->GetChecked());
}

struct TCheckCase {
  const char* Name;
  bool AllowGrayed;
  int Presses;
  TCheckBoxState Expected;
};

std::ostream& operator<<(std::ostream& os, const TCheckCase& c) { return os << c.Name; }

const TCheckCase CheckCases[] = {
    {"OnceChecks", false, 1, cbChecked},
    {"TwiceUnchecks", false, 2, cbUnchecked},
    {"GrayedFirstWhenAllowed", true, 1, cbGrayed},
    {"ThenChecked", true, 2, cbChecked},
    {"ThenUnchecked", true, 3, cbUnchecked},
};

class CheckBoxTest : public StdCtrlsTest, public testing::WithParamInterface<TCheckCase> {};

TEST_P(CheckBoxTest, ClicksAndSpaceToggleThroughTheStates) {
  const TCheckCase& c = GetParam();
  for (bool bySpace : {false, true}) {
    auto* box = Add<TCheckBox>(bySpace ? "chkSpace" : "chkClick");
    box->AllowGrayed = c.AllowGrayed;
    Form->TakeLog();
    for (int i = 0; i < c.Presses; ++i) {
      if (bySpace)
        PressKey(box, VK_SPACE);
      else
        ClickControl(box);
    }
    EXPECT_EQ(box->GetState(), c.Expected) << (bySpace ? "space" : "click");
    TLog log = Form->TakeLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "click:" + box->GetName()), c.Presses);
  }
}

INSTANTIATE_TEST_SUITE_P(States, CheckBoxTest, testing::ValuesIn(CheckCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(StdCtrlsTest, CheckingInCodeRunsOnClickAsInTheVcl) {
  auto* box = Add<TCheckBox>("chk");
  Form->TakeLog();
  box->SetChecked(true);
  box->SetChecked(true);
  EXPECT_EQ(Form->TakeLog(), TLog{"click:chk"});
  box->SetEnabled(false);
  EXPECT_FALSE(ClickControl(box));
  EXPECT_TRUE(box->GetChecked());
}

TEST_F(StdCtrlsTest, AButtonsModalResultBecomesTheFormsAndTheFormsCloseEndsItsModalLoop) {
  Form->btnGo->ModalResult = mrRetry;
  ClickControl(Form->btnGo);
  EXPECT_EQ(Form->ModalResult, mrRetry);
  auto* dialog = MakeEventForm();
  dialog->btnGo->ModalResult = mrYes;
  Driver.OnModal("", [](TCustomForm* f) { ClickControl(static_cast<TEventForm*>(f)->btnGo); });
  EXPECT_EQ(dialog->ShowModal(), mrYes);
  EXPECT_EQ(dialog->TakeLog().back(), "click:btnGo");
}

// ---- Combo boxes ----------------------------------------------------------------------------

struct TComboCase {
  const char* Name;
  TComboBoxStyle Style;
  const char* SetText;
  int ExpectedIndex;
  const char* ExpectedText;
};

std::ostream& operator<<(std::ostream& os, const TComboCase& c) { return os << c.Name; }

const TComboCase ComboCases[] = {
    {"ListSelectsTheMatchingItem", csDropDownList, "BETA", 1, "beta"},
    {"ListRefusesOtherTexts", csDropDownList, "delta", -1, ""},
    {"EditableKeepsAnyText", csDropDown, "delta", -1, "delta"},
    {"EditableFindsAnItem", csDropDown, "gamma", 2, "gamma"},
};

class ComboTest : public StdCtrlsTest, public testing::WithParamInterface<TComboCase> {};

TEST_P(ComboTest, TextAndItemIndexFollowEachOther) {
  const TComboCase& c = GetParam();
  auto* combo = Add<TComboBox>("cbo");
  combo->SetStyle(c.Style);
  combo->GetItems()->SetCommaText("alpha,beta,gamma");
  combo->SetItemIndex(0);
  EXPECT_EQ(combo->GetText(), "alpha");
  combo->SetText(c.SetText);
  EXPECT_EQ(combo->GetItemIndex(), c.ExpectedIndex);
  EXPECT_EQ(combo->GetText(), c.ExpectedText);
}

INSTANTIATE_TEST_SUITE_P(Styles, ComboTest, testing::ValuesIn(ComboCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TComboListener : TObject {
  TLog Log;
  void Change(TObject*) { Log.push_back("change"); }
  void Select(TObject*) { Log.push_back("select"); }
};

TEST_F(StdCtrlsTest, AComboChangesOnlyThroughThePersonRaiseOnChange) {
  auto* combo = Add<TComboBox>("cbo");
  combo->SetStyle(csDropDownList);
  combo->GetItems()->SetCommaText("alpha,beta,gamma");
  TComboListener listener;
  combo->OnChange = TNotifyEvent(&listener, &TComboListener::Change);
  combo->SetItemIndex(2);
  EXPECT_TRUE(listener.Log.empty());
  combo->SelectByUser(0);
  PressKey(combo, VK_DOWN);
  TypeText(combo, "g");
  EXPECT_EQ(combo->GetText(), "gamma");
  EXPECT_EQ(listener.Log, (TLog{"change", "change", "change"}));
  combo->OnSelect = TNotifyEvent(&listener, &TComboListener::Select);
  combo->SelectByUser(1);
  EXPECT_EQ(listener.Log.back(), "select");
  combo->GetItems()->Clear();
  EXPECT_EQ(combo->GetItemIndex(), -1);
  EXPECT_EQ(combo->GetText(), "");
}

TEST_F(StdCtrlsTest, TypingIntoAnEditableComboRaisesOnChange) {
  auto* combo = Add<TComboBox>("cbo");
  combo->GetItems()->SetCommaText("ab,abc");
  TComboListener listener;
  combo->OnChange = TNotifyEvent(&listener, &TComboListener::Change);
  TypeText(combo, "abc");
  EXPECT_EQ(combo->GetText(), "abc");
  EXPECT_EQ(combo->GetItemIndex(), 1);
  EXPECT_EQ(listener.Log.size(), 3u);
}

// ---- List boxes -----------------------------------------------------------------------------

TEST_F(StdCtrlsTest, ListBoxSelection) {
  auto* list = Add<TListBox>("lst");
  list->GetItems()->SetCommaText("a,b,c,d");
  list->SelectByUser(1);
  EXPECT_EQ(list->GetItemIndex(), 1);
  EXPECT_TRUE(list->GetSelected(1));
  EXPECT_EQ(list->GetSelCount(), -1);
  PressKey(list, VK_DOWN);
  EXPECT_EQ(list->GetItemIndex(), 2);
  EXPECT_FALSE(list->GetSelected(1));
  list->SetMultiSelect(true);
  list->SelectByUser(0);
  list->SelectByUser(2, {ssCtrl});
  list->SelectByUser(3, {ssCtrl});
  list->SelectByUser(2, {ssCtrl});
  EXPECT_EQ(list->GetSelCount(), 2);
  EXPECT_TRUE(list->GetSelected(0));
  EXPECT_TRUE(list->GetSelected(3));
  // Shift selects the range from the last clicked item, and only that.
  list->SelectByUser(1, {ssShift});
  EXPECT_EQ(list->GetSelCount(), 2);
  EXPECT_TRUE(list->GetSelected(1));
  EXPECT_FALSE(list->GetSelected(0));
  EXPECT_THROW(list->GetSelected(4), EListError);
  EXPECT_EQ(std::count(Form->Log.begin(), Form->Log.end(), "click:lst"), 7);
}

// ---- Memos ----------------------------------------------------------------------------------

struct TMemoCase {
  const char* Name;
  const char* Text;
  int Count;
  const char* LastLine;
};

std::ostream& operator<<(std::ostream& os, const TMemoCase& c) { return os << c.Name; }

const TMemoCase MemoCases[] = {
    {"Empty", "", 0, nullptr},
    {"OneLine", "one", 1, "one"},
    {"TrailingBreakIsNoLine", "one\r\ntwo\r\n", 2, "two"},
    {"EmptyLinesInside", "one\r\n\r\nthree", 3, "three"},
    {"EmptyLastLineAfterTwoBreaks", "one\r\n\r\n", 2, ""},
};

class MemoTest : public StdCtrlsTest, public testing::WithParamInterface<TMemoCase> {};

TEST_P(MemoTest, LinesAreAViewOfTheText) {
  const TMemoCase& c = GetParam();
  auto* memo = Add<TMemo>("mem");
  memo->SetText(c.Text);
  TStrings* lines = memo->GetLines();
  ASSERT_EQ(lines->Count(), c.Count);
  if (c.LastLine) {
    EXPECT_EQ(lines->Get(c.Count - 1), c.LastLine);
  }
  lines->Add("added");
  EXPECT_EQ(lines->Get(lines->Count() - 1), "added");
  EXPECT_EQ(lines->Count(), c.Count + 1);
  lines->Delete(0);
  EXPECT_EQ(lines->Count(), c.Count);
}

INSTANTIATE_TEST_SUITE_P(Texts, MemoTest, testing::ValuesIn(MemoCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(StdCtrlsTest, EnterInAMemoStartsANewLineAndTheCaretFollows) {
  auto* memo = Add<TMemo>("mem");
  TypeText(memo, "ab\rcd\r");
  EXPECT_EQ(memo->GetText(), "ab\r\ncd\r\n");
  EXPECT_EQ(memo->GetCaretPos().Y, 2);
  EXPECT_EQ(memo->GetLines()->Count(), 2);
  memo->GetLines()->Put(0, "xy");
  EXPECT_EQ(memo->GetText(), "xy\r\ncd\r\n");
  memo->WantReturns = false;
  PressKey(memo, VK_RETURN);
  EXPECT_EQ(memo->GetText(), "xy\r\ncd\r\n");
}

// ---- Labels ---------------------------------------------------------------------------------

TEST_F(StdCtrlsTest, AnAutoSizedLabelTakesTheSizeOfItsText) {
  auto* label = new TLabel(Form);
  label->SetParent(Form);
  label->GetFont()->SetHeight(-12);
  label->SetCaption("&Name");
  int narrow = label->GetWidth();
  EXPECT_EQ(label->GetHeight(), label->GetCanvas()->TextHeight("Name"));
  EXPECT_EQ(narrow, label->GetCanvas()->TextWidth("Name"));
  label->SetCaption("名称名称");
  EXPECT_GT(label->GetWidth(), narrow);
  label->SetAlignment(taRightJustify);
  int right = label->GetLeft() + label->GetWidth();
  label->SetCaption("a");
  EXPECT_EQ(label->GetLeft() + label->GetWidth(), right);
  label->SetAutoSize(false);
  label->SetCaption("a much longer caption than before");
  EXPECT_EQ(label->GetLeft() + label->GetWidth(), right);
}

}  // namespace

namespace {

TEST_F(StdCtrlsTest, FontColourAndHintsFollowTheParentUntilSetOwn) {
  auto* own = Add<TEdit>("edOwn", Form->grpA);
  own->GetFont()->SetName("Tahoma");
  EXPECT_FALSE(own->GetParentFont());
  Form->GetFont()->SetName("宋体");
  Form->GetFont()->SetCharset(GB2312_CHARSET);
  EXPECT_EQ(Form->edA1->GetFont()->GetName(), "宋体");  // through grpA
  EXPECT_EQ(Form->edA1->GetFont()->GetCharset(), GB2312_CHARSET);
  EXPECT_TRUE(Form->edA1->GetParentFont());
  EXPECT_EQ(own->GetFont()->GetName(), "Tahoma");
  own->SetParentFont(true);
  EXPECT_EQ(own->GetFont()->GetName(), "宋体");

  Form->grpA->SetParentColor(true);
  Form->SetColor(clRed);
  EXPECT_EQ(Form->grpA->GetColor(), clRed);
  EXPECT_EQ(Form->edA1->GetColor(), clWindow);  // edits keep their own colour

  Form->SetShowHint(true);
  EXPECT_TRUE(Form->edB1->GetShowHint());
  Form->edB1->SetShowHint(false);
  Form->SetShowHint(false);
  Form->SetShowHint(true);
  EXPECT_FALSE(Form->edB1->GetShowHint());
}

struct TPublishedCase {
  const char* Name;
  const TMetaClass* Class;
  const char* Property;
};

std::ostream& operator<<(std::ostream& os, const TPublishedCase& c) { return os << c.Name; }

const TPublishedCase PublishedCases[] = {
    {"Label", TLabel::StaticClass(), "FocusControl"},      {"Edit", TEdit::StaticClass(), "PasswordChar"},
    {"Memo", TMemo::StaticClass(), "WantReturns"},         {"Button", TButton::StaticClass(), "ModalResult"},
    {"CheckBox", TCheckBox::StaticClass(), "AllowGrayed"}, {"Radio", TRadioButton::StaticClass(), "Checked"},
    {"GroupBox", TGroupBox::StaticClass(), "Caption"},     {"ComboBox", TComboBox::StaticClass(), "DropDownCount"},
    {"ListBox", TListBox::StaticClass(), "MultiSelect"},   {"Form", TForm::StaticClass(), "KeyPreview"},
    {"PopupMenu", TPopupMenu::StaticClass(), "AutoPopup"}, {"MenuItem", TMenuItem::StaticClass(), "ShortCut"},
};

class PublishedTest : public testing::TestWithParam<TPublishedCase> {};

TEST_P(PublishedTest, StandardClassesAreRegisteredWithTheirProperties) {
  const TPublishedCase& c = GetParam();
  EXPECT_EQ(GetClass(c.Class->ClassName()), c.Class);
  TPropList list = GetPropList(c.Class);
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.front()->Name, "Name");
  EXPECT_TRUE(IsPublishedProp(c.Class, c.Property));
}

INSTANTIATE_TEST_SUITE_P(Classes, PublishedTest, testing::ValuesIn(PublishedCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
