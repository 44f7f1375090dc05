#include "tests/platform/vcl/TestForms.h"

#include <gtest/gtest.h>

namespace {

using TLog = std::vector<std::string>;

class MessagesTest : public testing::Test, protected TFormFixtureBase {
protected:
  void SetUp() override {
    Application->ProcessMessages();
    Form = MakeEventForm();
    Form->Show();
    Form->TakeLog();
  }
  TEventForm* Form = nullptr;
};

TEST_F(MessagesTest, PostedMessagesWaitForProcessing) {
  ASSERT_TRUE(PostMessage(Form->GetHandle(), WM_USER + 10, 0, ControlToLParam(Form->edA2)));
  EXPECT_TRUE(Form->TakeLog().empty());
  EXPECT_EQ(PostedMessageCount(), 1);
  Application->ProcessMessages();
  EXPECT_EQ(Form->TakeLog(), TLog{"lookup:edA2"});
  EXPECT_EQ(PostedMessageCount(), 0);
}

TEST_F(MessagesTest, SentMessagesArriveAtOnceWithTheHandlersResult) {
  EXPECT_EQ(SendMessage(Form->GetHandle(), WM_USER + 10, 0, ControlToLParam(Form->btnGo)), 1);
  EXPECT_EQ(Form->TakeLog(), TLog{"lookup:btnGo"});
  EXPECT_EQ(Form->Perform(WM_USER + 10, 0, 0), 1);
  EXPECT_EQ(Form->TakeLog(), TLog{"lookup:nil"});
  // Other numbers go to the built-in handling.
  EXPECT_EQ(Form->Perform(WM_USER + 11, 0, 0), 0);
  EXPECT_EQ(SendMessage(0x7FFFFFF0, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessage(0x7FFFFFF0, WM_USER, 0, 0));
}

TEST_F(MessagesTest, HandlesMapBackToTheirControls) {
  HWND h = Form->edA1->GetHandle();
  EXPECT_TRUE(Form->edA1->HandleAllocated());
  EXPECT_EQ(FindControl(h), Form->edA1);
  EXPECT_NE(h, Form->GetHandle());
  delete Form->edA1;
  EXPECT_EQ(FindControl(h), nullptr);
}

TEST_F(MessagesTest, APostedCloseRequestClosesTheFormWhenMessagesAreProcessed) {
  PostMessage(Form->GetHandle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Form->GetVisible());
  Application->ProcessMessages();
  EXPECT_FALSE(Form->GetVisible());
}

TEST_F(MessagesTest, ReleaseFreesTheFormLater) {
  struct TCloser : TObject {
    void Close(TObject*, TCloseAction& action) { action = caFree; }
  } closer;
  Form->OnClose = TCloseEvent(&closer, &TCloser::Close);
  int before = Screen->GetFormCount();
  Form->Close();
  EXPECT_EQ(Screen->GetFormCount(), before);
  Forget(Form);
  Application->ProcessMessages();
  EXPECT_EQ(Screen->GetFormCount(), before - 1);
}

TEST_F(MessagesTest, MessagesForDestroyedControlsAreDropped) {
  PostMessage(Form->edB1, WM_USER + 10, 0, 0);
  PostMessage(Form->GetHandle(), WM_USER + 10, 0, 0);
  delete Form->edB1;
  Form->Free();
  Forget(Form);
  Application->ProcessMessages();
  EXPECT_EQ(PostedMessageCount(), 0);
}

TEST_F(MessagesTest, ARequestThatRepostsItselfDoesNotHangProcessing) {
  struct TLooper : TObject {
    HWND Handle = 0;
    int Seen = 0;
  };
  static TLooper looper;
  looper.Seen = 0;
  looper.Handle = AllocateHWnd([](TMessage&) {
    ++looper.Seen;
    PostMessage(looper.Handle, WM_USER, 0, 0);
  });
  PostMessage(looper.Handle, WM_USER, 0, 0);
  Application->ProcessMessages();
  EXPECT_GT(looper.Seen, 1000);
  DeallocateHWnd(looper.Handle);
  Application->ProcessMessages();
  EXPECT_EQ(PostedMessageCount(), 0);
}

}  // namespace
