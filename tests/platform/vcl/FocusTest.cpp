#include "tests/platform/vcl/TestForms.h"

#include <gtest/gtest.h>

namespace {

using TLog = std::vector<std::string>;

class FocusTest : public testing::Test, protected TFormFixtureBase {
protected:
  void SetUp() override {
    Form = MakeEventForm();
    Form->Show();
    Form->TakeLog();
  }
  TWinControl* ByName(const char* name) { return static_cast<TWinControl*>(Form->FindComponent(name)); }
  TEventForm* Form = nullptr;
};

TEST_F(FocusTest, ShowingFocusesTheFirstTabStop) {
  EXPECT_EQ(FocusedControl(), Form->edA1);
  EXPECT_EQ(Form->GetActiveControl(), Form->edA1);
  EXPECT_EQ(Screen->GetActiveForm(), Form);
  EXPECT_EQ(Screen->GetActiveControl(), Form->edA1);
}

struct TMoveCase {
  const char* Name;
  const char* From;
  const char* To;
  TLog Expected;
};

std::ostream& operator<<(std::ostream& os, const TMoveCase& c) { return os << c.Name; }

const TMoveCase MoveCases[] = {
    {"WithinAContainer", "edA1", "edA2", {"exit:edA1", "enter:edA2"}},
    {"AcrossContainers", "edA1", "edB1", {"exit:edA1", "exit:grpA", "enter:grpB", "enter:edB1"}},
    {"OutOfAContainer", "edB1", "btnGo", {"exit:edB1", "exit:grpB", "enter:btnGo"}},
    {"IntoAContainer", "btnGo", "edA2", {"exit:btnGo", "enter:grpA", "enter:edA2"}},
    {"ToItself", "edA2", "edA2", {}},
};

class FocusMoveTest : public FocusTest, public testing::WithParamInterface<TMoveCase> {};

TEST_P(FocusMoveTest, ExitsUpToTheCommonParentThenEntersDown) {
  const TMoveCase& c = GetParam();
  ByName(c.From)->SetFocus();
  Form->TakeLog();
  ByName(c.To)->SetFocus();
  EXPECT_EQ(Form->TakeLog(), c.Expected);
  EXPECT_TRUE(ByName(c.To)->Focused());
  EXPECT_EQ(Form->GetActiveControl(), ByName(c.To));
}

INSTANTIATE_TEST_SUITE_P(Moves, FocusMoveTest, testing::ValuesIn(MoveCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FocusTest, AnExitHandlerThatTakesTheFocusBackStopsTheMove) {
  Form->HoldWhenLeaving = Form->edA1;
  Form->HoldFocus = Form->edA1;
  Form->edB1->SetFocus();
  // grpA is never left, grpB never entered.
  EXPECT_EQ(Form->TakeLog(), (TLog{"exit:edA1", "enter:edA1"}));
  EXPECT_TRUE(Form->edA1->Focused());
  EXPECT_EQ(Form->GetActiveControl(), Form->edA1);
  EXPECT_EQ(Screen->GetActiveControl(), Form->edA1);
}

TEST_F(FocusTest, AButtonWhoseFocusWasRefusedIsNotClicked) {
  Form->HoldWhenLeaving = Form->edA1;
  Form->HoldFocus = Form->edA1;
  EXPECT_FALSE(ClickControl(Form->btnGo));
  EXPECT_EQ(Form->TakeLog(), (TLog{"exit:edA1", "enter:edA1"}));
  EXPECT_TRUE(ClickControl(Form->btnGo));
  EXPECT_EQ(Form->TakeLog(), (TLog{"exit:edA1", "exit:grpA", "enter:btnGo", "click:btnGo"}));
}

TEST_F(FocusTest, DisabledOrHiddenControlsCannotTakeTheFocus) {
  for (bool hideInstead : {false, true}) {
    TWinControl* target = Form->edB1;
    if (hideInstead)
      Form->grpB->SetVisible(false);
    else
      target->SetEnabled(false);
    EXPECT_FALSE(target->CanFocus());
    try {
      target->SetFocus();
      FAIL() << "focused";
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message, "Cannot focus a disabled or invisible window");
    }
    EXPECT_TRUE(Form->edA1->Focused());
    EXPECT_FALSE(ClickControl(target));
    target->SetEnabled(true);
    Form->grpB->SetVisible(true);
  }
}

TEST_F(FocusTest, DisablingTheFocusedControlMovesTheFocusToTheForm) {
  Form->grpA->SetEnabled(false);
  EXPECT_EQ(Form->TakeLog(), (TLog{"exit:edA1", "exit:grpA"}));
  EXPECT_EQ(Form->GetActiveControl(), nullptr);
  EXPECT_EQ(FocusedControl(), Form);
}

TEST_F(FocusTest, DestroyingTheFocusedControlLeavesNoDanglingFocus) {
  Form->edB1->SetFocus();
  delete Form->edB1;
  Form->edB1 = nullptr;
  EXPECT_NE(FocusedControl(), nullptr);
  EXPECT_EQ(Form->GetActiveControl(), nullptr);
  EXPECT_TRUE(PressKey(Form->edA1, 'X'));
}

TEST_F(FocusTest, ControlsOfAHiddenFormCannotBeFocused) {
  auto* hidden = MakeEventForm();
  EXPECT_THROW(hidden->edA1->SetFocus(), EInvalidOperation);
  EXPECT_TRUE(Form->edA1->Focused());
  EXPECT_FALSE(PressKey(hidden->edA1, 'A'));
}

// ---- Tab order ----------------------------------------------------------------------------

std::string Walk(TEventForm* form, int presses, TShiftState shift) {
  std::string r;
  for (int i = 0; i < presses; ++i) {
    PressKey(VK_TAB, shift);
    r += (r.empty() ? "" : " ") + FocusedControl()->GetName();
  }
  return r;
}

TEST_F(FocusTest, TabWalksTheTabStopsDepthFirstAndWraps) {
  EXPECT_EQ(Walk(Form, 4, {}), "edA2 edB1 btnGo edA1");
  EXPECT_EQ(Walk(Form, 2, {ssShift}), "btnGo edB1");
  // Tab is a dialog key: the controls' key handlers never see it.
  for (const std::string& entry : Form->TakeLog()) EXPECT_EQ(entry.find("keydown"), std::string::npos) << entry;
}

TEST_F(FocusTest, TabSkipsWhatCannotTakeTheFocus) {
  Form->edA2->SetEnabled(false);
  Form->grpB->SetVisible(false);
  EXPECT_EQ(Walk(Form, 2, {}), "btnGo edA1");
  Form->grpB->SetVisible(true);
  Form->edB1->SetTabStop(false);
  EXPECT_EQ(Walk(Form, 2, {}), "btnGo edA1");
  EXPECT_EQ(Form->FindNextControl(Form->btnGo, true, false, false), Form->grpA);
}

struct TTabOrderCase {
  const char* Name;
  int NewOrder;
  const char* Expected;  // the form's direct children in tab order
};

std::ostream& operator<<(std::ostream& os, const TTabOrderCase& c) { return os << c.Name; }

const TTabOrderCase TabOrderCases[] = {
    {"First", 0, "btnGo grpA grpB"},
    {"Middle", 1, "grpA btnGo grpB"},
    {"Same", 2, "grpA grpB btnGo"},
    {"BeyondTheEnd", 99, "grpA grpB btnGo"},
    {"Negative", -1, "btnGo grpA grpB"},
};

class TabOrderTest : public FocusTest, public testing::WithParamInterface<TTabOrderCase> {};

TEST_P(TabOrderTest, SettingTheTabOrderRenumbersTheOthers) {
  Form->btnGo->SetTabOrder(GetParam().NewOrder);
  std::string order;
  for (TWinControl* c : Form->TabList()) order += (order.empty() ? "" : " ") + c->GetName();
  EXPECT_EQ(order, GetParam().Expected);
  for (TWinControl* c : Form->TabList()) EXPECT_EQ(Form->TabList()[c->GetTabOrder()], c);
}

INSTANTIATE_TEST_SUITE_P(Orders, TabOrderTest, testing::ValuesIn(TabOrderCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Layout -------------------------------------------------------------------------------

TEST_F(FocusTest, AlignedChildrenFillTheClientAreaInVclOrder) {
  auto* host = new TGroupBox(Form);
  host->SetParent(Form);
  host->SetBounds(0, 0, 200, 100);
  TRect inner = host->GetClientRect();
  auto* top = new TButton(Form);
  auto* client = new TButton(Form);
  auto* left = new TButton(Form);
  auto* bottom = new TButton(Form);
  for (TControl* c : {static_cast<TControl*>(top), static_cast<TControl*>(client), static_cast<TControl*>(left),
                      static_cast<TControl*>(bottom)})
    c->SetParent(host);
  top->SetHeight(20);
  left->SetWidth(30);
  bottom->SetHeight(10);
  client->SetAlign(alClient);
  top->SetAlign(alTop);
  left->SetAlign(alLeft);
  bottom->SetAlign(alBottom);
  // The group box's caption and frame stay clear.
  EXPECT_GT(top->GetTop(), 0);
  EXPECT_GT(top->GetLeft(), 0);
  EXPECT_LT(bottom->GetTop() + bottom->GetHeight(), inner.Bottom);
  EXPECT_EQ(top->GetWidth(), bottom->GetWidth());
  EXPECT_EQ(top->GetTop() + top->GetHeight(), left->GetTop());
  EXPECT_EQ(left->GetTop() + left->GetHeight(), bottom->GetTop());
  EXPECT_EQ(client->GetLeft(), left->GetLeft() + left->GetWidth());
  EXPECT_EQ(client->GetTop(), left->GetTop());
  EXPECT_EQ(client->GetHeight(), left->GetHeight());
  EXPECT_EQ(client->GetLeft() + client->GetWidth(), top->GetLeft() + top->GetWidth());
  host->SetWidth(300);
  EXPECT_EQ(client->GetLeft() + client->GetWidth(), top->GetLeft() + top->GetWidth());
  EXPECT_EQ(left->GetWidth(), 30);
}

TEST_F(FocusTest, AWindowCannotBecomeItsOwnAncestor) {
  EXPECT_THROW(Form->grpA->SetParent(Form->grpA), EInvalidOperation);
  EXPECT_THROW(Form->grpA->SetParent(Form->edA1), EInvalidOperation);
  EXPECT_EQ(Form->grpA->GetParent(), Form);
  Form->edB1->SetParent(Form->grpA);
  EXPECT_EQ(Form->grpB->GetControlCount(), 0);
  EXPECT_EQ(Form->grpA->TabList().back(), Form->edB1);
}

}  // namespace
