#include "platform/vcl/FormResource.h"
#include "tests/platform/vcl/TestForms.h"

#include <gtest/gtest.h>

namespace {

using TLog = std::vector<std::string>;

class ResourceTest : public testing::Test, protected TFormFixtureBase {};

TEST_F(ResourceTest, TheBaseFormIsBuiltFromItsResource) {
  auto* form = Make<TTestBaseForm>();
  EXPECT_EQ(form->GetName(), "TestBaseForm");
  EXPECT_EQ(form->GetCaption(), "基本选项");
  EXPECT_EQ(form->GetFont()->GetName(), "宋体");
  EXPECT_EQ(form->GetFont()->GetCharset(), GB2312_CHARSET);
  EXPECT_EQ(form->GetColor(), clBtnFace);
  EXPECT_TRUE(form->KeyPreview);
  EXPECT_EQ(form->GetBoundsRect(), Bounds(10, 20, 400, 300));
  ASSERT_NE(form->edUser, nullptr);
  EXPECT_EQ(form->edUser->GetParent(), form);
  EXPECT_EQ(form->edUser->GetMaxLength(), 8);
  EXPECT_EQ(form->edPassword->GetPasswordChar(), '*');
  EXPECT_EQ(form->chkRemember->GetCaption(), "Remember me");
  EXPECT_EQ(form->btnCancel->GetCaption(), "取消");
  EXPECT_EQ(form->btnCancel->ModalResult, mrCancel);
  EXPECT_TRUE(form->btnOk->GetDefault());
  EXPECT_EQ(form->lblUser->GetFocusControl(), form->edUser);
  EXPECT_EQ(form->lblUser->GetCaption(), "用户:");
  // Children follow the form's font unless their resource gives their own.
  EXPECT_EQ(form->edUser->GetFont()->GetName(), "宋体");
  ASSERT_EQ(form->muFile->GetItems()->GetCount(), 1);
  TMenuItem* open = form->muFile->GetItems()->GetItem(0);
  EXPECT_EQ(ShortCutToText(open->ShortCut), "Ctrl+O");
  open->Click();
  EXPECT_EQ(form->Log, (TLog{"create", "open"}));
}

TEST_F(ResourceTest, ComponentsAreCreatedInResourceOrderAndLoadedOnce) {
  auto* form = Make<TTestBaseForm>();
  std::string order;
  for (TComponent* c : form->Components()) order += (order.empty() ? "" : " ") + c->GetName();
  EXPECT_EQ(order, "lblUser edUser edPassword chkRemember btnOk btnCancel muFile miOpen");
  EXPECT_EQ(form->LoadedCalls, 1);
  EXPECT_TRUE(form->LoadingDuringLoaded);
  EXPECT_TRUE(form->FieldsBoundAtCreate);
  for (TComponent* c : form->Components()) {
    EXPECT_FALSE(c->GetComponentState().Contains(csLoading)) << c->GetName();
    EXPECT_FALSE(c->GetComponentState().Contains(csReading)) << c->GetName();
  }
  // TabOrder values apply once the parent is read: edPassword comes before edUser.
  std::string tabs;
  for (TWinControl* c : form->TabList()) tabs += (tabs.empty() ? "" : " ") + c->GetName();
  EXPECT_EQ(tabs, "edPassword edUser chkRemember btnOk btnCancel");
}

TEST_F(ResourceTest, TheDescendantStreamsItsAncestorsResourceFirst) {
  auto* form = Make<TTestChildForm>();
  EXPECT_EQ(form->GetName(), "TestChildForm");
  EXPECT_EQ(form->GetCaption(), "Child");
  EXPECT_EQ(form->GetHeight(), 340);
  EXPECT_EQ(form->GetWidth(), 400);              // from the ancestor
  EXPECT_EQ(form->edUser->GetMaxLength(), 10);   // overridden
  EXPECT_EQ(form->edUser->GetText(), "guest");
  EXPECT_EQ(form->edPassword->GetPasswordChar(), '*');
  EXPECT_EQ(form->GetPopupMenu(), form->muFile);
  EXPECT_EQ(form->LoadedCalls, 1);
  ASSERT_NE(form->grpOptions, nullptr);
  EXPECT_EQ(form->rbDaily->GetParent(), form->grpOptions);
  EXPECT_TRUE(form->rbDaily->GetChecked());
  EXPECT_EQ(form->memNotes->GetLines()->Count(), 2);
  EXPECT_EQ(form->memNotes->GetLines()->Get(1), "second");
  EXPECT_EQ(form->cboKind->GetItemIndex(), 1);
  EXPECT_EQ(form->cboKind->GetText(), "beta");
  // The descendant's handler replaced the ancestor's.
  EXPECT_FALSE(ClickControl(form->btnOk));  // nobody clicks on a form that is not shown
  form->Show();
  ClickControl(form->btnOk);
  EXPECT_EQ(form->Log.back(), "child.ok");
  EXPECT_EQ(form->ModalResult, mrOk);
}

TEST_F(ResourceTest, EventsAreBoundToTheRootsPublishedMethods) {
  auto* form = Make<TTestBaseForm>();
  TMethod m = GetMethodProp(form->btnOk, "OnClick");
  EXPECT_EQ(m.Code, form->MethodAddress("btnOkClick"));
  EXPECT_EQ(m.Data, static_cast<void*>(form));
  EXPECT_EQ(GetPropText(form->edUser, GetPropInfo(form->edUser, "OnExit")), "edUserExit");
}

TEST_F(ResourceTest, AStreamedFormIsDrivenByKeysAndClicks) {
  auto* form = Make<TTestChildForm>();
  Driver.OnModal("TTestChildForm", [](TCustomForm* f) {
    auto* login = static_cast<TTestChildForm*>(f);
    EXPECT_TRUE(login->edPassword->Focused());  // tab order 0
    TypeText(login->edPassword, "secret\t");
    EXPECT_EQ(login->edUser->GetSelText(), "guest");
    TypeText(login->edUser, "admin\t");
    PressKey(VK_SPACE);                          // the check box
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    PressKey(VK_TAB);                            // past OK and Cancel into the group
    EXPECT_TRUE(login->rbDaily->Focused());
    PressKey(VK_DOWN);
    PressKey(VK_TAB);
    EXPECT_TRUE(login->cboKind->Focused());
    PressKey(VK_DOWN);
    PressKey(VK_TAB);
    TypeText(login->memNotes, "x\r");
    ClickControl(login->btnOk);
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(form->edPassword->GetText(), "secret");
  EXPECT_EQ(form->edUser->GetText(), "admin");
  EXPECT_TRUE(form->chkRemember->GetChecked());
  EXPECT_TRUE(form->rbWeekly->GetChecked());
  EXPECT_FALSE(form->rbDaily->GetChecked());
  EXPECT_EQ(form->cboKind->GetText(), "gamma");
  EXPECT_EQ(form->memNotes->GetLines()->Count(), 3);
  EXPECT_EQ(form->memNotes->GetLines()->Get(0), "x");
  // The form previewed the keys: Enter in the memo reached it as a character.
  EXPECT_NE(std::find(form->Log.begin(), form->Log.end(), "form.keypress:#13"), form->Log.end());
  EXPECT_NE(std::find(form->Log.begin(), form->Log.end(), "edUser.exit"), form->Log.end());
  EXPECT_EQ(form->Log.back(), "child.ok");
}

// ---- Faulty resources ---------------------------------------------------------------------

struct TBadResourceCase {
  const char* Name;
  const char* Text;
  const char* Message;
};

std::ostream& operator<<(std::ostream& os, const TBadResourceCase& c) { return os << c.Name; }

const TBadResourceCase BadResourceCases[] = {
    {"UnknownProperty", "object Bad: TForm\n  Caption = 'x'\n  Colour = clRed\nend\n",
     "Bad.dfm, line 3: Property Colour does not exist"},
    {"UnknownClass", "object Bad: TForm\n  object edX: TNoSuchEdit\n  end\nend\n",
     "Bad.dfm, line 2: Class TNoSuchEdit not found"},
    {"UnknownHandler", "object Bad: TForm\n  object btnX: TButton\n    OnClick = btnXClick\n  end\nend\n",
     "Bad.dfm, line 3: Method btnXClick not found in TForm"},
    {"UnknownEnumValue", "object Bad: TForm\n  Position = poNowhere\nend\n",
     "Bad.dfm, line 2: Invalid value for property Position"},
    {"UnknownColour", "object Bad: TForm\n  Color = clNope\nend\n",
     "Bad.dfm, line 2: Invalid value for property Color"},
    {"StringForInteger", "object Bad: TForm\n  Width = '12'\nend\n",
     "Bad.dfm, line 2: Invalid value for property Width"},
    {"UnknownSubProperty", "object Bad: TForm\n  Font.Weight = 3\nend\n",
     "Bad.dfm, line 2: Property Font.Weight does not exist"},
    {"UnknownReference", "object Bad: TForm\n  ActiveControl = edGone\nend\n",
     "Bad.dfm, line 2: Component edGone not found"},
    {"MissingInheritedComponent", "object Bad: TForm\n  inherited edX: TEdit\n  end\nend\n",
     "Bad.dfm, line 2: The ancestor has no component named edX"},
    {"DuplicateName",
     "object Bad: TForm\n  object edX: TEdit\n  end\n  object edX: TEdit\n  end\nend\n",
     "Bad.dfm, line 4: A component named edX already exists"},
    {"MissingEnd", "object Bad: TForm\n  Caption = 'x'\n", "Bad.dfm, line 3: 'end' expected"},
    {"UnterminatedString", "object Bad: TForm\n  Caption = 'x\nend\n", "Bad.dfm, line 2: Unterminated string"},
    {"WrongRootClass", "object Bad: TButton\nend\n", "Bad.dfm, line 1: The resource describes TButton, not TForm"},
};

class BadResourceTest : public testing::TestWithParam<TBadResourceCase> {};

TEST_P(BadResourceTest, NamesTheResourceAndLine) {
  TScriptedDriver driver;
  TUIDriverScope scope(&driver);
  auto* form = new TForm(Application, CreateNew);
  try {
    ReadComponentRes(form, GetParam().Text, "Bad.dfm");
    ADD_FAILURE() << "accepted";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, GetParam().Message);
  }
  form->Free();
}

INSTANTIATE_TEST_SUITE_P(Resources, BadResourceTest, testing::ValuesIn(BadResourceCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ResourceParserTest, ValuesOfEveryForm) {
  TResourceObject root = ParseFormResource(
      "object F: TForm\n"
      "  A = -12\n  B = $FF\n  C = 1.5E2\n  D = 'it''s'#13#10'ok'\n  E = [a, b]\n"
      "  F = ( 'x' 'y' 3 )\n  G = <\n    item\n      W = 1\n    end\n    item\n    end>\n"
      "  H = {\n    0102 0A\n    ff}\n  I.J = True\n"
      "  K = 'long' +\n    ' text'\nend\n",
      "P.dfm");
  ASSERT_EQ(root.Properties.size(), 10u);
  const auto& p = root.Properties;
  EXPECT_EQ(p[0].Value.Integer, -12);
  EXPECT_EQ(p[1].Value.Integer, 255);
  EXPECT_EQ(p[2].Value.Float, 150.0);
  EXPECT_EQ(p[3].Value.Text, "it's\r\nok");
  EXPECT_EQ(p[4].Value.SetItems, (std::vector<AnsiString>{"a", "b"}));
  ASSERT_EQ(p[5].Value.List.size(), 3u);
  EXPECT_EQ(p[5].Value.List[2].Integer, 3);
  ASSERT_EQ(p[6].Value.Items.size(), 2u);
  EXPECT_EQ(p[6].Value.Items[0][0].Name, "W");
  EXPECT_EQ(p[7].Value.Text, AnsiString("\x01\x02\x0A\xFF"));
  EXPECT_EQ(p[8].Name, "I.J");
  EXPECT_EQ(p[8].Value.Kind, TResourceValue::vaIdent);
  EXPECT_EQ(p[9].Value.Text, "long text");
  EXPECT_EQ(p[9].Line, 18);
}

TEST(ResourceRegistryTest, ResourcesAreRegisteredUnderTheirRootClass) {
  const TFormResource* r = FindFormResource("ttestchildform");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->ResourceName, "TestChildForm.dfm");
  EXPECT_EQ(FindFormResource("TNoSuchForm"), nullptr);
}

}  // namespace

namespace {

class TBrokenForm : public TForm {
  TAVO_CLASS(TBrokenForm, TForm)
public:
  using TForm::TForm;
};

}  // namespace

TAVO_CLASS_IMPL(TBrokenForm, TForm)

namespace {

TEST(ResourceRegistryTest, ADamagedResourceIsReportedWhenItsFormIsCreated) {
  // Registration happens while libraries load and must not fail there.
  RegisterFormResource("object Broken: TBrokenForm\n  Caption = 'x\nend\n", "Broken.dfm");
  RegisterFormResource("garbage", "TfrmGarbage.dfm");
  EXPECT_NE(FindFormResource("TBrokenForm"), nullptr);
  EXPECT_NE(FindFormResource("TfrmGarbage"), nullptr);
  UnregisterFormResource("TfrmGarbage");
  TScriptedDriver driver;
  TUIDriverScope scope(&driver);
  try {
    CreateComponent<TBrokenForm>(Application);
    ADD_FAILURE() << "created";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, "Broken.dfm, line 2: Unterminated string");
  }
  UnregisterFormResource("TBrokenForm");
  // Without any resource such a form cannot be made either.
  EXPECT_THROW(CreateComponent<TBrokenForm>(Application), EResNotFound);
}

}  // namespace
