#include "tests/platform/vcl/TestForms.h"

#include <gtest/gtest.h>

namespace {

using TLog = std::vector<std::string>;

class DialogsTest : public testing::Test, protected TFormFixtureBase {};

TEST_F(DialogsTest, AScriptedAnswerIsReturnedAndRecorded) {
  Driver.AnswerDialog(mrNo);
  EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel, 0), mrNo);
  ASSERT_EQ(Driver.Events().size(), 1u);
  const TUIEvent& e = Driver.Events()[0];
  EXPECT_EQ(e.Kind, ueMessageDialog);
  EXPECT_EQ(e.Text, "Save changes?");
  EXPECT_EQ(e.Caption, "Confirm");
  EXPECT_EQ(e.DialogType, mtConfirmation);
  EXPECT_EQ(e.Buttons, (std::vector<AnsiString>{"&Yes", "&No", "Cancel"}));
  EXPECT_EQ(e.Result, mrNo);
  EXPECT_EQ(Driver.PendingDialogs(), 0);
}

struct TDefaultAnswerCase {
  const char* Name;
  TMsgDlgType Type;
  TMsgDlgButtons Buttons;
  const char* Caption;
  TModalResult Answer;  // as Escape would answer
};

std::ostream& operator<<(std::ostream& os, const TDefaultAnswerCase& c) { return os << c.Name; }

const TDefaultAnswerCase DefaultAnswerCases[] = {
    {"OkOnly", mtInformation, {mbOK}, "Information", mrOk},
    {"YesNo", mtWarning, {mbYes, mbNo}, "Warning", mrNo},
    {"YesNoCancel", mtConfirmation, mbYesNoCancel, "Confirm", mrCancel},
    {"OkCancel", mtError, mbOKCancel, "Error", mrCancel},
    {"AbortRetryIgnore", mtError, mbAbortRetryIgnore, "Error", mrNone},
};

class DefaultAnswerTest : public DialogsTest, public testing::WithParamInterface<TDefaultAnswerCase> {};

TEST_P(DefaultAnswerTest, TheHeadlessAnswerIsTheCancelButton) {
  const TDefaultAnswerCase& c = GetParam();
  TModalResult result = MessageDlg("text", c.Type, c.Buttons, 0);
  const TUIEvent& e = Driver.Events().back();
  EXPECT_EQ(e.Caption, c.Caption);
  if (c.Answer != mrNone) {
    EXPECT_EQ(result, c.Answer);
  } else {
    // Without Cancel, No or OK there is no cancel button: the first button answers.
    EXPECT_EQ(result, mrAbort);
  }
  EXPECT_EQ(e.Result, result);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DefaultAnswerTest, testing::ValuesIn(DefaultAnswerCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DialogsTest, ButtonCaptionsChangedBeforeShowingReachTheDriver) {
  TForm* dialog = CreateMessageDialog("删除方案?", mtWarning, TMsgDlgButtons{mbYes, mbNo});
  static_cast<TButton*>(dialog->FindComponent("Yes"))->SetCaption("是");
  static_cast<TButton*>(dialog->FindComponent("No"))->SetCaption("否");
  dialog->SetCaption("TAVO61");
  TMessageDialogInfo seen;
  Driver.AnswerDialog([&seen](const TMessageDialogInfo& info) {
    seen = info;
    return mrYes;
  });
  EXPECT_EQ(dialog->ShowModal(), mrYes);
  dialog->Free();
  EXPECT_EQ(seen.Caption, "TAVO61");
  EXPECT_EQ(seen.Text, "删除方案?");
  ASSERT_EQ(seen.Buttons.size(), 2u);
  EXPECT_EQ(seen.Buttons[0].Name, "Yes");
  EXPECT_EQ(seen.Buttons[0].Caption, "是");
  EXPECT_TRUE(seen.Buttons[0].Default);
  EXPECT_TRUE(seen.Buttons[1].Cancel);
  EXPECT_EQ(Driver.Events().back().Buttons, (std::vector<AnsiString>{"是", "否"}));
}

TEST_F(DialogsTest, TheDialogKnowsTheCaptionOfTheFormItCameUpOver) {
  auto* form = Make<TTestBaseForm>();
  form->Show();
  Application->SetTitle("TAVO61");
  ShowMessage("done");
  Application->SetTitle("");
  const TUIEvent& e = Driver.Events().back();
  EXPECT_EQ(e.OwnerCaption, "基本选项");
  EXPECT_EQ(e.Buttons, std::vector<AnsiString>{"OK"});
  EXPECT_EQ(e.Caption, "TAVO61");
  EXPECT_EQ(Screen->GetActiveForm(), form);
}

// ---- Modal forms --------------------------------------------------------------------------

TEST_F(DialogsTest, AScriptFillsTheModalFormAndPressesOk) {
  auto* form = Make<TTestBaseForm>();
  Driver.OnModal("TTestBaseForm", [](TCustomForm* f) {
    auto* login = static_cast<TTestBaseForm*>(f);
    TypeText(login->edUser, "admin");
    ClickControl(login->btnOk);
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(form->edUser->GetText(), "admin");
  EXPECT_FALSE(form->GetVisible());
  EXPECT_EQ(form->Log.back(), "base.ok");
  auto modals = Driver.EventsOf(ueShowModal);
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].FormClass, "TTestBaseForm");
  EXPECT_EQ(modals[0].Result, mrOk);
}

TEST_F(DialogsTest, AnUnscriptedModalFormClosesWithCancel) {
  auto* form = Make<TTestBaseForm>();
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_FALSE(form->GetVisible());
  EXPECT_THROW(
      {
        form->Show();
        form->ShowModal();
      },
      EInvalidOperation);
}

// Refuses to close until Allowed is set.
struct TCloseGuard : TObject {
  bool Allowed = false;
  int Asked = 0;
  TCloseAction Action = caHide;
  void Query(TObject*, bool& canClose) {
    ++Asked;
    canClose = Allowed;
  }
  void Close(TObject*, TCloseAction& action) { action = Action; }
};

TEST_F(DialogsTest, CloseQueryKeepsAModalFormOpenUntilTheScriptFixesIt) {
  auto* form = Make<TTestBaseForm>();
  TCloseGuard guard;
  form->OnCloseQuery = TCloseQueryEvent(&guard, &TCloseGuard::Query);
  Driver.OnModal("TTestBaseForm", [](TCustomForm* f) { f->ModalResult = mrOk; });
  Driver.OnModal("TTestBaseForm", [&guard](TCustomForm* f) {
    EXPECT_TRUE(f->GetVisible());
    guard.Allowed = true;
    PressKey(static_cast<TTestBaseForm*>(f)->edUser, VK_RETURN);
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(guard.Asked, 2);
}

TEST_F(DialogsTest, EscapePressesTheCancelButtonOfAModalForm) {
  auto* form = Make<TTestBaseForm>();
  Driver.OnModal("", [](TCustomForm* f) { PressKey(static_cast<TTestBaseForm*>(f)->edUser, VK_ESCAPE); });
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(Driver.PendingModals(), 0);
}

TEST_F(DialogsTest, CloseWithCaFreeReleasesAfterShowModalReturns) {
  auto* form = Make<TTestBaseForm>();
  Forget(form);
  TCloseGuard guard;
  guard.Allowed = true;
  guard.Action = caFree;
  form->OnClose = TCloseEvent(&guard, &TCloseGuard::Close);
  int before = Screen->GetFormCount();
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(Screen->GetFormCount(), before);
  Application->ProcessMessages();
  EXPECT_EQ(Screen->GetFormCount(), before - 1);
}

TEST_F(DialogsTest, ADialogInsideAModalScriptIsAnsweredToo) {
  auto* form = Make<TTestBaseForm>();
  Driver.AnswerDialog(mrYes);
  Driver.OnModal("TTestBaseForm", [](TCustomForm* f) {
    if (MessageDlg("Really?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0) == mrYes) f->ModalResult = mrOk;
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  auto dialogs = Driver.EventsOf(ueMessageDialog);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].OwnerCaption, "基本选项");
}

TEST_F(DialogsTest, ShellAndBrowserRequestsAreRecorded) {
  EXPECT_GT(ShellExecute(0, "open", "C:\\KVT\\Report.xls", "", "C:\\KVT", SW_SHOWNORMAL), 32);
  Driver.ShellSucceeds = false;
  EXPECT_EQ(ShellExecute(0, "open", "http://server/x", "", "", SW_SHOWNORMAL), SE_ERR_NOASSOC);
  BrowserNavigate("http://server/Server/ReportView.aspx?a=1");
  ASSERT_EQ(Driver.Events().size(), 3u);
  EXPECT_EQ(Driver.Events()[0].Verb, "open");
  EXPECT_EQ(Driver.Events()[0].Text, "C:\\KVT\\Report.xls");
  EXPECT_EQ(Driver.Events()[0].Directory, "C:\\KVT");
  EXPECT_EQ(Driver.Events()[2].Kind, ueNavigate);
  EXPECT_EQ(Driver.Events()[2].Text, "http://server/Server/ReportView.aspx?a=1");
}

}  // namespace
