#include "module/controls/F2Button.h"

#include "LookupFixture.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormResource.h"
#include "platform/vcl/TypInfo.h"

#include <string>
#include <vector>

namespace {

// A form that notes the lookup requests it receives.
class TLookupForm : public TForm {
  TAVO_CLASS(TLookupForm, TForm)
public:
  explicit TLookupForm(TComponent* AOwner) : TForm(AOwner, CreateNew) {}
  std::vector<TControl*> Requests;
  void WMLookup(TMessage& message) { Requests.push_back(LParamToControl(message.LParam)); }
};

}  // namespace

TAVO_PUBLISHED(TLookupForm, TForm) { P.Message(WM_USER + 10, &TLookupForm::WMLookup); }

namespace {

class F2ButtonTest : public LookupTest {
protected:
  TForm* NewForm() override { return new TLookupForm(Application); }
  TLookupForm* Lookup() const { return static_cast<TLookupForm*>(Form); }
  void NoteClick(TObject*) { ++Clicks; }
  TF2Button* AddButton(const char* name, TWinControl* target) {
    auto* b = Add<TF2Button>(name);
    b->OnClick = TNotifyEvent(this, &F2ButtonTest::NoteClick);
    b->SetF2Control(target);
    return b;
  }
  int Clicks = 0;
};

TEST_F(F2ButtonTest, StartsFlatWithTheLookupGlyph) {
  auto* button = Add<TF2Button>("F2Button1");
  EXPECT_TRUE(button->GetFlat());
  EXPECT_EQ(button->GetGlyphIndex(), 8);
  EXPECT_EQ(button->GetNumGlyphs(), 1);
  EXPECT_FALSE(button->GetGlyph()->GetEmpty());
  EXPECT_TRUE(button->GetAutoAlign());
  EXPECT_EQ(button->GetGap(), 2);
  EXPECT_EQ(button->GetF2Control(), nullptr);
}

TEST_F(F2ButtonTest, ClickFocusesTheControlAndAsksItsFormForTheLookup) {
  auto* other = AddEdit("edOther", 10, 100, 80, 21);
  auto* edit = AddEdit("ed01", 10, 10, 80, 21);
  auto* button = AddButton("F2Button1", edit);
  other->SetFocus();

  ASSERT_TRUE(ClickControl(button));
  EXPECT_EQ(Clicks, 1);
  EXPECT_TRUE(edit->Focused());
  ASSERT_EQ(Lookup()->Requests.size(), 1u);
  EXPECT_EQ(Lookup()->Requests[0], edit);
}

TEST_F(F2ButtonTest, TheFormThatOwnsTheControlGetsTheLookupWhereverItIsShown) {
  // The edit belongs to Form but is shown on another form.
  auto* host = new TLookupForm(Application);
  host->SetBounds(0, 0, 300, 200);
  host->Show();
  auto* edit = new TEdit(Form);
  edit->SetName("ed01");
  edit->SetParent(host);
  edit->SetBounds(10, 10, 80, 21);
  auto* button = new TF2Button(Form);
  button->SetName("F2Button1");
  button->SetParent(host);
  button->SetF2Control(edit);

  ASSERT_TRUE(ClickControl(button));
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(Lookup()->Requests, (std::vector<TControl*>{edit}));
  EXPECT_TRUE(host->Requests.empty());
  host->Free();
}

TEST_F(F2ButtonTest, BoundToADisabledEditOnlyRunsOnClick) {
  auto* other = AddEdit("edOther", 10, 100, 80, 21);
  auto* edit = AddEdit("ed01", 10, 10, 80, 21);
  edit->SetEnabled(false);
  auto* button = AddButton("F2Button1", edit);
  other->SetFocus();

  ASSERT_TRUE(ClickControl(button));
  EXPECT_EQ(Clicks, 1);
  EXPECT_TRUE(other->Focused());
  EXPECT_TRUE(Lookup()->Requests.empty());
}

TEST_F(F2ButtonTest, AControlThatCannotTakeTheFocusGetsNoLookup) {
  auto* other = AddEdit("edOther", 10, 100, 80, 21);
  auto* edit = AddEdit("ed01", 10, 10, 80, 21);
  edit->SetVisible(false);
  auto* button = AddButton("F2Button1", edit);
  other->SetFocus();

  button->Click();
  EXPECT_EQ(Clicks, 1);
  EXPECT_TRUE(other->Focused());
  EXPECT_TRUE(Lookup()->Requests.empty());
}

TEST_F(F2ButtonTest, AFocusTakenBackOnEntryStopsTheLookup) {
  auto* other = AddEdit("edOther", 10, 100, 80, 21);
  auto* edit = AddEdit("ed01", 10, 10, 80, 21);
  struct TBounce : TObject {
    TWinControl* Back = nullptr;
    void Enter(TObject*) { Back->SetFocus(); }
  } bounce;
  bounce.Back = other;
  edit->OnEnter = TNotifyEvent(&bounce, &TBounce::Enter);
  auto* button = AddButton("F2Button1", edit);
  other->SetFocus();

  button->Click();
  EXPECT_FALSE(edit->Focused());
  EXPECT_TRUE(Lookup()->Requests.empty());
}

TEST_F(F2ButtonTest, WithoutAControlAClickOnlyRunsOnClick) {
  auto* button = AddButton("F2Button1", nullptr);
  button->Click();
  EXPECT_EQ(Clicks, 1);
  EXPECT_TRUE(Lookup()->Requests.empty());
}

// ---- Alignment --------------------------------------------------------------------------

TEST_F(F2ButtonTest, SitsRightOfItsControlAsASquare) {
  auto* edit = AddEdit("ed01", 50, 30, 80, 21);
  auto* button = AddButton("F2Button1", edit);
  EXPECT_EQ(button->GetBoundsRect(), Bounds(132, 30, 21, 21));

  button->SetGap(6);
  EXPECT_EQ(button->GetBoundsRect(), Bounds(136, 30, 21, 21));

  // Moving the control alone does not move the button; setting AutoAlign does.
  edit->SetBounds(200, 60, 100, 25);
  EXPECT_EQ(button->GetLeft(), 136);
  button->SetAutoAlign(true);
  EXPECT_EQ(button->GetBoundsRect(), Bounds(306, 60, 25, 25));
}

TEST_F(F2ButtonTest, WithoutAutoAlignKeepsItsPlace) {
  auto* edit = AddEdit("ed01", 50, 30, 80, 21);
  auto* button = Add<TF2Button>("F2Button1");
  button->SetBounds(5, 5, 23, 22);
  button->SetAutoAlign(false);
  button->SetF2Control(edit);
  button->SetGap(9);
  EXPECT_EQ(button->GetBoundsRect(), Bounds(5, 5, 23, 22));
  EXPECT_EQ(button->GetF2Control(), edit);
}

// ---- One button per control ------------------------------------------------------------

TEST_F(F2ButtonTest, ASecondButtonForTheSameControlIsRefusedWithAMessage) {
  auto* edit = AddEdit("ed01", 50, 30, 80, 21);
  auto* other = AddEdit("ed02", 50, 80, 80, 21);
  auto* first = AddButton("F2Button1", edit);
  auto* second = AddButton("F2Button2", other);
  second->SetBounds(400, 300, 23, 22);

  second->SetF2Control(edit);
  const auto dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].Text, "不能同时有两个 F2Button 指到同一个 Edit.");
  EXPECT_EQ(dialogs[0].DialogType, mtError);
  ASSERT_EQ(dialogs[0].Buttons.size(), 1u);
  EXPECT_EQ(second->GetF2Control(), other);
  EXPECT_EQ(second->GetLeft(), 400);
  EXPECT_EQ(first->GetF2Control(), edit);
}

TEST_F(F2ButtonTest, BindingTheSameControlAgainIsSilent) {
  auto* edit = AddEdit("ed01", 50, 30, 80, 21);
  auto* button = AddButton("F2Button1", edit);
  button->SetF2Control(edit);
  EXPECT_TRUE(Dialogs().empty());
  EXPECT_EQ(button->GetF2Control(), edit);
}

TEST_F(F2ButtonTest, TheRuleHoldsOnAPanelThatOwnsNothing) {
  // Forms own their controls, so a panel parent has the buttons among its controls only.
  auto* panel = Add<TPanel>("pnl");
  auto* edit = Add<TEdit>("ed01", panel);
  auto* first = Add<TF2Button>("F2Button1", panel);
  first->SetF2Control(edit);
  auto* second = Add<TF2Button>("F2Button2", panel);
  second->SetF2Control(edit);
  EXPECT_EQ(Dialogs().size(), 1u);
  EXPECT_EQ(second->GetF2Control(), nullptr);
  EXPECT_EQ(first->GetF2Control(), edit);
}

TEST_F(F2ButtonTest, ForgetsAControlThatIsFreedAndCanBeUnbound) {
  auto* edit = AddEdit("ed01", 50, 30, 80, 21);
  auto* button = AddButton("F2Button1", edit);
  delete edit;
  EXPECT_EQ(button->GetF2Control(), nullptr);
  button->Click();
  EXPECT_EQ(Clicks, 1);

  auto* again = AddEdit("ed02", 50, 30, 80, 21);
  button->SetF2Control(again);
  button->SetF2Control(nullptr);
  EXPECT_EQ(button->GetF2Control(), nullptr);
  // Unbound, the control may get another button.
  auto* other = AddButton("F2Button2", again);
  EXPECT_EQ(other->GetF2Control(), again);
  EXPECT_TRUE(Dialogs().empty());
}

// ---- From a form resource ----------------------------------------------------------------

TEST_F(F2ButtonTest, AResourceBindsAndAlignsTheButtonWhenItIsRead) {
  ReadComponentRes(Form, R"(object LookupForm: TLookupForm
  object ed09: TEdit
    Left = 40
    Top = 20
    Width = 90
    Height = 24
  end
  object F2Button09: TF2Button
    Left = 0
    Top = 0
    Width = 23
    Height = 22
    Hint = 'date'
    F2Control = ed09
    Gap = 3
    GlyphIndex = 9
  end
end
)", "LookupForm.dfm");
  auto* button = dynamic_cast<TF2Button*>(Form->FindComponent("F2Button09"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetF2Control(), Form->FindComponent("ed09"));
  EXPECT_EQ(button->GetBoundsRect(), Bounds(133, 20, 24, 24));
  EXPECT_EQ(button->GetGlyphIndex(), 9);
  EXPECT_EQ(button->GetCaption(), "");
}

}  // namespace
