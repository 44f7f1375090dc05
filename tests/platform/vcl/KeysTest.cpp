#include "tests/platform/vcl/TestForms.h"

#include <gtest/gtest.h>

namespace {

using TLog = std::vector<std::string>;

class KeysTest : public testing::Test, protected TFormFixtureBase {
protected:
  void SetUp() override {
    Form = MakeEventForm();
    Form->KeyPreview = true;
    Form->Show();
    Form->TakeLog();
  }
  TEventForm* Form = nullptr;
};

TEST_F(KeysTest, TheFormPreviewsKeysBeforeTheFocusedControl) {
  PressKey(Form->edA1, 'A');
  EXPECT_EQ(Form->TakeLog(), (TLog{"keydown:EventForm:65", "keydown:edA1:65", "keypress:EventForm:a",
                                   "keypress:edA1:a"}));
  EXPECT_EQ(Form->edA1->GetText(), "a");
}

TEST_F(KeysTest, WithoutPreviewOnlyTheControlSeesTheKey) {
  Form->KeyPreview = false;
  PressKey(Form->edA1, 'B', {ssShift});
  EXPECT_EQ(Form->TakeLog(), (TLog{"keydown:edA1:66", "keypress:edA1:B"}));
}

TEST_F(KeysTest, APreviewThatZeroesTheKeySwallowsItsKeyDownButNotItsCharacter) {
  Form->SwallowKey = 'C';
  PressKey(Form->edA1, 'C');
  // As with Windows, the character was translated from the key before anyone saw it.
  EXPECT_EQ(Form->TakeLog(), (TLog{"keydown:EventForm:67", "keypress:EventForm:c", "keypress:edA1:c"}));
}

TEST_F(KeysTest, EnterReachesKeyPressAsCarriageReturnWhenNoButtonTakesIt) {
  PressKey(Form->edA1, VK_RETURN);
  EXPECT_EQ(Form->TakeLog(), (TLog{"keydown:EventForm:13", "keydown:edA1:13", "keypress:EventForm:#13",
                                   "keypress:edA1:#13"}));
  EXPECT_EQ(Form->edA1->GetText(), "");
}

struct TDialogKeyCase {
  const char* Name;
  Word Key;
  TShiftState Shift;
  bool Default;
  bool Cancel;
  TLog Expected;
};

std::ostream& operator<<(std::ostream& os, const TDialogKeyCase& c) { return os << c.Name; }

const TDialogKeyCase DialogKeyCases[] = {
    {"EnterClicksTheDefaultButton", VK_RETURN, {}, true, false, {"click:btnGo"}},
    {"EscapeClicksTheCancelButton", VK_ESCAPE, {}, false, true, {"click:btnGo"}},
    {"ShiftEnterIsNoDialogKey", VK_RETURN, {ssShift}, true, false,
     {"keydown:EventForm:13", "keydown:edA1:13", "keypress:EventForm:#13", "keypress:edA1:#13"}},
    {"EscapeWithoutCancelButton", VK_ESCAPE, {}, true, false,
     {"keydown:EventForm:27", "keydown:edA1:27", "keypress:EventForm:\x1b", "keypress:edA1:\x1b"}},
    {"CtrlTabReachesThePreview", VK_TAB, {ssCtrl}, false, false, {"keydown:EventForm:9", "keydown:edA1:9"}},
};

class DialogKeyTest : public KeysTest, public testing::WithParamInterface<TDialogKeyCase> {};

TEST_P(DialogKeyTest, DialogKeysGoToTheFormsButtonsFirst) {
  const TDialogKeyCase& c = GetParam();
  Form->btnGo->SetDefault(c.Default);
  Form->btnGo->SetCancel(c.Cancel);
  PressKey(Form->edA1, c.Key, c.Shift);
  EXPECT_EQ(Form->TakeLog(), c.Expected);
  EXPECT_TRUE(Form->edA1->Focused());
}

INSTANTIATE_TEST_SUITE_P(Keys, DialogKeyTest, testing::ValuesIn(DialogKeyCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KeysTest, EnterOnAFocusedButtonClicksThatButtonNotTheDefaultOne) {
  auto* other = Form->Add<TButton>(Form, "btnOther", 270);
  Form->btnGo->SetDefault(true);
  other->SetFocus();
  Form->TakeLog();
  PressKey(other, VK_RETURN);
  PressKey(other, VK_SPACE);
  EXPECT_EQ(Form->TakeLog(), (TLog{"click:btnOther", "keydown:EventForm:32", "keydown:btnOther:32",
                                   "keypress:EventForm: ", "keypress:btnOther: ", "click:btnOther"}));
}

TEST_F(KeysTest, ArrowsMoveBetweenButtonsButStayInEdits) {
  auto* other = Form->Add<TButton>(Form, "btnOther", 270);
  Form->btnGo->SetFocus();
  Form->TakeLog();
  PressKey(Form->btnGo, VK_DOWN);
  EXPECT_TRUE(other->Focused());
  PressKey(Form->edA1, VK_RIGHT);
  EXPECT_TRUE(Form->edA1->Focused());
}

TEST_F(KeysTest, KeysGoToTheFocusedControl) {
  Form->edB1->SetFocus();
  PressKey('Z', {ssShift});
  EXPECT_EQ(Form->edB1->GetText(), "Z");
  EXPECT_EQ(Form->edA1->GetText(), "");
}

// ---- Typing into edits --------------------------------------------------------------------

struct TEditCase {
  const char* Name;
  const char* Initial;
  int MaxLength;
  bool ReadOnly;
  TEditCharCase CharCase;
  int Caret;  // -1: everything selected, as after tabbing in
  const char* Typed;
  Word Key;   // pressed after typing (0: none)
  const char* Expected;
};

std::ostream& operator<<(std::ostream& os, const TEditCase& c) { return os << c.Name; }

const TEditCase EditCases[] = {
    {"Append", "ab", 0, false, ecNormal, 2, "cd", 0, "abcd"},
    {"ReplacesTheSelection", "old", 0, false, ecNormal, -1, "new", 0, "new"},
    {"InsertAtTheCaret", "ac", 0, false, ecNormal, 1, "b", 0, "abc"},
    {"MaxLengthStopsTyping", "abc", 5, false, ecNormal, 3, "defg", 0, "abcde"},
    {"MaxLengthKeepsDoubleByteCharactersWhole", "abcd", 5, false, ecNormal, 4, "中", 0, "abcd"},
    {"DoubleByteCharacters", "", 4, false, ecNormal, 0, "中文", 0, "中文"},
    {"ReadOnlyIgnoresTyping", "abc", 0, true, ecNormal, 3, "x", VK_BACK, "abc"},
    {"Backspace", "abc", 0, false, ecNormal, 3, "", VK_BACK, "ab"},
    {"BackspaceRemovesADoubleByteCharacter", "a中", 0, false, ecNormal, 3, "", VK_BACK, "a"},
    {"DeleteAfterTheCaret", "abc", 0, false, ecNormal, 0, "", VK_DELETE, "bc"},
    {"DeleteAtTheEndDoesNothing", "abc", 0, false, ecNormal, 3, "", VK_DELETE, "abc"},
    {"UpperCase", "", 0, false, ecUpperCase, 0, "aB1", 0, "AB1"},
    {"SymbolsNeedShift", "", 0, false, ecNormal, 0, "a:b?", 0, "a:b?"},
};

class EditTypingTest : public KeysTest, public testing::WithParamInterface<TEditCase> {};

TEST_P(EditTypingTest, TypesAsAPersonWould) {
  const TEditCase& c = GetParam();
  TEdit* edit = Form->edB1;
  edit->SetCharCase(c.CharCase);
  edit->SetText(c.Initial);
  edit->SetMaxLength(c.MaxLength);
  edit->SetReadOnly(c.ReadOnly);
  edit->SetFocus();
  if (c.Caret < 0)
    edit->SelectAll();
  else
    edit->SetSelStart(c.Caret);
  int changes = 0;
  struct TCounter : TObject {
    int* Count;
    void Changed(TObject*) { ++*Count; }
  } counter;
  counter.Count = &changes;
  edit->OnChange = TNotifyEvent(&counter, &TCounter::Changed);
  TypeText(edit, c.Typed);
  if (c.Key) PressKey(edit, c.Key);
  EXPECT_EQ(edit->GetText(), c.Expected);
  EXPECT_EQ(changes > 0, AnsiString(c.Expected) != c.Initial);
  EXPECT_EQ(edit->Modified, AnsiString(c.Expected) != c.Initial);
}

INSTANTIATE_TEST_SUITE_P(Edits, EditTypingTest, testing::ValuesIn(EditCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KeysTest, TabbingIntoAnEditSelectsItsText) {
  Form->edA2->SetText("keep");
  PressKey(VK_TAB);
  EXPECT_TRUE(Form->edA2->Focused());
  EXPECT_EQ(Form->edA2->GetSelText(), "keep");
  TypeText(Form->edA2, "new");
  EXPECT_EQ(Form->edA2->GetText(), "new");
}

TEST_F(KeysTest, TypedTabsMoveOnAsTheyWouldForAPerson) {
  TypeText(Form->edA1, "ab\tcd");
  EXPECT_EQ(Form->edA1->GetText(), "ab");
  EXPECT_EQ(Form->edA2->GetText(), "cd");
}

}  // namespace

// ---- Accelerators -------------------------------------------------------------------------

// The event form with captions marking accelerators: Alt+B on the label focuses edB1, Alt+A
// on group A focuses its first edit, and the button, check box and radio button answer to
// G, K and N. btnOther's "&&" marks none.
class AccelTest : public KeysTest {
protected:
  void SetUp() override {
    KeysTest::SetUp();
    Form->grpA->SetCaption("&Alpha");
    Form->btnGo->SetCaption("&Go");
    Other = Form->Add<TButton>(Form, "btnOther", 230);
    Other->SetCaption("&&Other");
    Keep = Form->Add<TCheckBox>(Form, "chkKeep", 200);
    Keep->SetCaption("&Keep");
    Now = Form->Add<TRadioButton>(Form, "rbNow", 180);
    Now->SetCaption("&Now");
    Label = new TLabel(Form);
    Label->SetName("lblB");
    Label->SetParent(Form);
    Label->SetCaption("&Branch");
    Label->SetFocusControl(Form->edB1);
  }
  // What the user saw happen: clicks and typed characters (focus moves are checked apart).
  TLog Seen() {
    TLog r;
    for (const std::string& entry : Form->TakeLog())
      if (entry.rfind("click:", 0) == 0 || entry.rfind("keypress:", 0) == 0) r.push_back(entry);
    return r;
  }
  AnsiString FocusName() const { return FocusedControl() ? FocusedControl()->GetName() : AnsiString("none"); }

  TButton* Other = nullptr;
  TCheckBox* Keep = nullptr;
  TRadioButton* Now = nullptr;
  TLabel* Label = nullptr;
};

struct TAccelCase {
  const char* Name;
  const char* Start;  // the control focused before the key
  Word Key;
  TShiftState Shift;
  const char* Focus;  // focused afterwards
  TLog Seen;
  bool Kept;    // chkKeep checked afterwards
  bool Chosen;  // rbNow checked afterwards
};

std::ostream& operator<<(std::ostream& os, const TAccelCase& c) { return os << c.Name; }

const TAccelCase AccelCases[] = {
    {"LabelFocusesItsControl", "edA2", 'B', {ssAlt}, "edB1", {}, false, false},
    {"ButtonClicksWithoutTakingTheFocus", "edA2", 'G', {ssAlt}, "edA2", {"click:btnGo"}, false, false},
    {"CheckBoxTakesTheFocusAndToggles", "edA2", 'K', {ssAlt}, "chkKeep", {"click:chkKeep"}, true, false},
    {"ShiftDoesNotMatter", "edA2", 'K', {ssAlt, ssShift}, "chkKeep", {"click:chkKeep"}, true, false},
    {"RadioButtonIsCheckedByTheFocus", "edA2", 'N', {ssAlt}, "rbNow", {"click:rbNow"}, false, true},
    {"GroupBoxFocusesItsFirstControl", "edB1", 'A', {ssAlt}, "edA1", {}, false, false},
    {"UnmarkedLetterDoesNothing", "edA2", 'X', {ssAlt}, "edA2", {}, false, false},
    {"DoubledAmpersandMarksNothing", "edA2", 'O', {ssAlt}, "edA2", {}, false, false},
    {"CtrlAltIsNoAccelerator", "edA2", 'G', {ssCtrl, ssAlt}, "edA2", {}, false, false},
    {"PlainLetterInAnEditIsTyped", "edA2", 'G', {}, "edA2", {"keypress:EventForm:g", "keypress:edA2:g"}, false,
     false},
    {"PlainLetterOnAButtonIsAnAccelerator", "btnOther", 'G', {}, "btnOther", {"click:btnGo"}, false, false},
    {"PlainLetterOnACheckBoxIsAnAccelerator", "chkKeep", 'B', {}, "edB1", {}, false, false},
    {"PlainLetterMarkingNothingIsAKeyPress", "btnOther", 'X', {}, "btnOther",
     {"keypress:EventForm:x", "keypress:btnOther:x"}, false, false},
};

class AccelCaseTest : public AccelTest, public testing::WithParamInterface<TAccelCase> {};

TEST_P(AccelCaseTest, AcceleratorsReachTheControlWhoseCaptionMarksThem) {
  const TAccelCase& c = GetParam();
  auto* start = dynamic_cast<TWinControl*>(Form->FindComponent(c.Start));
  ASSERT_NE(start, nullptr);
  start->SetFocus();
  Form->TakeLog();
  EXPECT_TRUE(PressKey(c.Key, c.Shift));
  EXPECT_EQ(FocusName(), c.Focus);
  EXPECT_EQ(Seen(), c.Seen);
  EXPECT_EQ(Keep->GetChecked(), c.Kept);
  EXPECT_EQ(Now->GetChecked(), c.Chosen);
  // Only a letter the edit saw as a key press was typed into it.
  const bool typed = !c.Seen.empty() && c.Seen.back() == "keypress:edA2:g";
  EXPECT_EQ(Form->edA2->GetText(), typed ? "g" : "");
}

INSTANTIATE_TEST_SUITE_P(Keys, AccelCaseTest, testing::ValuesIn(AccelCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(AccelTest, AltKeysStillReachKeyDownButTypeNothing) {
  Form->edA2->SetFocus();
  Form->TakeLog();
  PressKey('G', {ssAlt});
  EXPECT_EQ(Form->TakeLog(), (TLog{"keydown:EventForm:71", "keydown:edA2:71", "click:btnGo"}));
}

TEST_F(AccelTest, ControlsThatCannotActLeaveTheAcceleratorToTheNextOne) {
  Form->edA2->SetFocus();
  // A disabled label, one that shows "&" as it is, or one whose control cannot take the
  // focus does nothing.
  Label->SetEnabled(false);
  PressKey('B', {ssAlt});
  EXPECT_EQ(FocusName(), "edA2");
  Label->SetEnabled(true);
  Label->SetShowAccelChar(false);
  PressKey('B', {ssAlt});
  EXPECT_EQ(FocusName(), "edA2");
  Label->SetShowAccelChar(true);
  Form->edB1->SetEnabled(false);
  PressKey('B', {ssAlt});
  EXPECT_EQ(FocusName(), "edA2");
  // A disabled button or check box is passed over for the next control with the letter.
  Form->btnGo->SetEnabled(false);
  Other->SetCaption("&Go on");
  Keep->SetEnabled(false);
  Now->SetCaption("&Keep now");
  Form->TakeLog();
  PressKey('G', {ssAlt});
  PressKey('K', {ssAlt});
  EXPECT_EQ(Seen(), (TLog{"click:btnOther", "click:rbNow"}));
  EXPECT_FALSE(Keep->GetChecked());
  EXPECT_EQ(FocusName(), "rbNow");
}
