// The controller linked into the test program, with a form class of the test's own that
// records what reaches it, and the registration globals within reach.
#include "module/entry/DLLFunc.h"
#include "module/entry/DLLRPCtrller.h"

#include "platform/ole/ComObj.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

std::vector<std::string> FormLog;

// An option form that logs its own show, hide and destroy handlers and the run requests
// it receives; it may refuse run requests.
class TRecordingForm : public TfrmBaseGene {
  TAVO_CLASS(TRecordingForm, TfrmBaseGene)
public:
  using TfrmBaseGene::TfrmBaseGene;

  void AfterConstruction() override {
    TfrmBaseGene::AfterConstruction();
    OnShow = TNotifyEvent(this, &TRecordingForm::OwnShow);
    OnHide = TNotifyEvent(this, &TRecordingForm::OwnHide);
    FResourceDestroy = OnDestroy;
    OnDestroy = TNotifyEvent(this, &TRecordingForm::OwnDestroy);
  }
  void RunRequest(const Variant& request) override {
    FormLog.push_back("run " + VarToLiteral(request));
    if (FailRuns) throw Exception("the request cannot run");
    TfrmBaseGene::RunRequest(request);
  }
  void OwnShow(TObject*) { FormLog.push_back("own show"); }
  void OwnHide(TObject*) { FormLog.push_back("own hide"); }
  void OwnDestroy(TObject* sender) {
    FormLog.push_back("own destroy");
    FResourceDestroy(sender);
  }

  static inline bool FailRuns = false;

private:
  TNotifyEvent FResourceDestroy;
};

}  // namespace

TAVO_CLASS_IMPL(TRecordingForm, TfrmBaseGene)

namespace {

struct TSeen {
  int32_t Code;
  int32_t ResultCode;
  std::string ResultData;
  bool Initialised;
};

class LinkedControllerTest : public ::testing::Test {
protected:
  void SetUp() override {
    FormLog.clear();
    TRecordingForm::FailRuns = false;
    FSavedFormClass = frmBaseGeneClass;
    FSavedControllerClass = DLLControllerClass;
    frmBaseGeneClass = TRecordingForm::StaticClass();
    Controller = static_cast<TDLLRPCtrller*>(GetController());
    Controller->OnNotify = TDLLNotifyEvent(this, &LinkedControllerTest::ControllerNotify);
  }
  void TearDown() override {
    delete Controller;
    frmBaseGeneClass = FSavedFormClass;
    DLLControllerClass = FSavedControllerClass;
    Application->ProcessMessages();
  }

  void ControllerNotify(int32_t code, TDLLBaseController* sender) {
    auto* controller = static_cast<TDLLRPCtrller*>(sender);
    Seen.push_back({code, sender->ResultCode, VarToLiteral(sender->ResultData),
                    controller->Form && !controller->Form->CompanyId.empty()});
    if (code == ncFormCreated && controller->Form) {
      PathAtCreation = controller->Form->ModulePath;
      HostObjectAtCreation = controller->Form->HostObject;
    }
  }
  std::vector<int32_t> Codes() const {
    std::vector<int32_t> codes;
    for (const TSeen& s : Seen) codes.push_back(s.Code);
    return codes;
  }
  static Variant HostParams() {
    return VarArrayOf({Variant("KVADMIN"), Variant("KVT01"), Variant("KVTDB01"), Variant(4242), Variant("")});
  }

  TDLLRPCtrller* Controller = nullptr;
  std::vector<TSeen> Seen;
  AnsiString PathAtCreation;
  Variant HostObjectAtCreation;

private:
  TfrmBaseGeneClass FSavedFormClass = nullptr;
  TDLLControllerClass FSavedControllerClass = nullptr;
};

TEST_F(LinkedControllerTest, TheModuleRegistersItsController) {
  ASSERT_NE(DLLControllerClass, nullptr);
  EXPECT_EQ(DLLControllerClass->ClassType, TDLLRPCtrller::StaticClass());
  EXPECT_EQ(Controller->ClassType(), TDLLRPCtrller::StaticClass());
}

TEST_F(LinkedControllerTest, GetControllerWithoutAControllerClassRaises) {
  DLLControllerClass = nullptr;
  try {
    delete GetController();
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "Exception");
    EXPECT_EQ(e.Message, "KVT DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  }
}

TEST_F(LinkedControllerTest, InitFormWithoutAFormClassRaises) {
  frmBaseGeneClass = nullptr;
  try {
    Controller->InitForm(HostParams());
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "KVT DLL Internal Error :\rNot Assign \"frmBaseGeneClass\" varible");
  }
  EXPECT_TRUE(Controller->IsFormFreed());
  EXPECT_TRUE(Seen.empty());
}

TEST_F(LinkedControllerTest, AFormAlreadyHeldNeedsNoFormClass) {
  ASSERT_EQ(Controller->InitForm(HostParams()), 0);
  frmBaseGeneClass = nullptr;
  EXPECT_EQ(Controller->InitForm(HostParams()), -1);
  EXPECT_FALSE(Controller->IsFormFreed());
}

TEST_F(LinkedControllerTest, AClassThatIsNoOptionFormIsRefused) {
  frmBaseGeneClass = TForm::StaticClass();
  EXPECT_EQ(Controller->InitForm(HostParams()), -1);
  EXPECT_TRUE(Controller->IsFormFreed());
  EXPECT_TRUE(Seen.empty());
}

TEST_F(LinkedControllerTest, TheCreatedFormHasPathAndHostObjectBeforeItIsInitialised) {
  Controller->HostObject = Variant(std::make_shared<TAutoObject>());
  ASSERT_EQ(Controller->InitForm(HostParams()), 0);
  ASSERT_EQ(Seen.size(), 1u);
  EXPECT_EQ(Seen[0].Code, ncFormCreated);
  EXPECT_FALSE(Seen[0].Initialised);
  EXPECT_EQ(PathAtCreation, GetModuleFileName(GetModuleHandleFromAddress(&FormLog)));
  EXPECT_EQ(VarType(HostObjectAtCreation), varDispatch);
  EXPECT_EQ(HostObjectAtCreation.AsDispatch(), Controller->HostObject.AsDispatch());
  EXPECT_EQ(Controller->Form->ClassType(), TRecordingForm::StaticClass());
}

TEST_F(LinkedControllerTest, ExecuteHandsTheFormElementOne) {
  ASSERT_EQ(Controller->InitForm(HostParams()), 0);
  const Variant request = VarArrayOf({Variant("ignored"), VarArrayOf({Variant(3), VarArrayOf({Variant(true)})})});
  EXPECT_EQ(Controller->Execute(request), 0);
  EXPECT_THAT(FormLog, ElementsAre("run [0..1: True, [0..1: 3, [0..0: True]]]"));
  EXPECT_FALSE(Controller->Form->Interactive);
  EXPECT_TRUE(Controller->Form->StoredLayout);
}

TEST_F(LinkedControllerTest, ExecuteWithoutAnArrayDoesNotReachTheForm) {
  ASSERT_EQ(Controller->InitForm(HostParams()), 0);
  for (const Variant& params : {Variant(), Null(), Variant(12), Variant("run")})
    EXPECT_EQ(Controller->Execute(params), -1) << VarToLiteral(params);
  EXPECT_TRUE(FormLog.empty());
}

TEST_F(LinkedControllerTest, ExecuteCommandReachesTheFormForKindsFiveAndNine) {
  ASSERT_EQ(Controller->InitForm(HostParams()), 0);
  EXPECT_EQ(Controller->ExecuteCommand(4, Variant("four")), -1);
  EXPECT_EQ(Controller->ExecuteCommand(5, Variant("five")), 0);
  EXPECT_EQ(Controller->ExecuteCommand(9, VarArrayOf({Variant(1), Variant()})), 0);
  EXPECT_THAT(FormLog, ElementsAre("run [0..1: False, 'five']", "run [0..1: False, [0..1: 1, Unassigned]]"));
  EXPECT_TRUE(Controller->Form->Interactive);
}

TEST_F(LinkedControllerTest, ARunRequestThatFailsAnswersMinusOne) {
  ASSERT_EQ(Controller->InitForm(HostParams()), 0);
  TRecordingForm::FailRuns = true;
  EXPECT_EQ(Controller->Execute(VarArrayOf({Variant(0), Variant(0)})), -1);
  EXPECT_EQ(Controller->ExecuteCommand(5, Variant(0)), -1);
  EXPECT_EQ(FormLog.size(), 2u);
  EXPECT_FALSE(Controller->IsFormFreed());
}

TEST_F(LinkedControllerTest, TheFormsOwnHandlersRunOnceBeforeEachNotification) {
  ASSERT_EQ(Controller->InitForm(HostParams()), 0);
  TfrmBaseGene* form = Controller->Form;
  EXPECT_EQ(Controller->SavedOnShow, TNotifyEvent(static_cast<TRecordingForm*>(form), &TRecordingForm::OwnShow));
  EXPECT_EQ(form->OnShow, TNotifyEvent(Controller, &TDLLRPCtrller::DoFormShow));

  EXPECT_EQ(Controller->InitForm(HostParams()), -1);
  EXPECT_EQ(Controller->InitForm(HostParams()), -1);
  EXPECT_EQ(Controller->SavedOnShow, TNotifyEvent(static_cast<TRecordingForm*>(form), &TRecordingForm::OwnShow));
  EXPECT_EQ(Controller->SavedOnHide, TNotifyEvent(static_cast<TRecordingForm*>(form), &TRecordingForm::OwnHide));
  EXPECT_EQ(Controller->SavedOnDestroy,
            TNotifyEvent(static_cast<TRecordingForm*>(form), &TRecordingForm::OwnDestroy));

  Controller->ShowModal();
  Application->ProcessMessages();
  EXPECT_THAT(FormLog, ElementsAre("own show", "own hide", "own destroy"));
  EXPECT_THAT(Codes(), ElementsAre(256, 272, 288, 304));
}

TEST_F(LinkedControllerTest, ShowingAMinimisedFormRestoresAndActivatesIt) {
  ASSERT_EQ(Controller->InitForm(HostParams()), 0);
  Controller->Form->WindowState = wsMinimized;
  Controller->SetVisible(-1);
  EXPECT_TRUE(Controller->Form->GetVisible());
  EXPECT_EQ(Controller->Form->WindowState, wsNormal);
  EXPECT_TRUE(Controller->Form->GetActive());
  Controller->Form->WindowState = wsMinimized;
  Controller->SetVisible(0);
  EXPECT_FALSE(Controller->Form->GetVisible());
  EXPECT_EQ(Controller->Form->WindowState, wsMinimized);
}

TEST_F(LinkedControllerTest, TheFormsOutcomeIsValidAtNotification304) {
  ASSERT_EQ(Controller->InitForm(HostParams()), 0);
  Controller->Form->FormResultCode = 1;
  Controller->Form->FormResultData = Variant("202405060001");
  Controller->FreeForm();
  ASSERT_EQ(Seen.size(), 2u);
  EXPECT_EQ(Seen[1].Code, ncFormDestroy);
  EXPECT_EQ(Seen[1].ResultCode, 1);
  EXPECT_EQ(Seen[1].ResultData, "'202405060001'");
  EXPECT_EQ(Controller->ResultCode, 1);
  EXPECT_TRUE(Controller->IsFormFreed());
}

// A host calling DoFormDestroy itself runs the form's own destroy handler and forgets the
// form, which lives on: it gets its own handlers back and no longer reaches the controller.
TEST_F(LinkedControllerTest, DoFormDestroyCalledByTheHostLetsTheFormGo) {
  ASSERT_EQ(Controller->InitForm(HostParams()), 0);
  TfrmBaseGene* form = Controller->Form;
  Controller->DoFormDestroy(Controller);
  EXPECT_TRUE(Controller->IsFormFreed());
  EXPECT_EQ(form->OnShow, TNotifyEvent(static_cast<TRecordingForm*>(form), &TRecordingForm::OwnShow));
  EXPECT_THAT(Codes(), ElementsAre(256, 304));
  Seen.clear();
  form->Free();
  EXPECT_THAT(FormLog, ElementsAre("own destroy", "own destroy"));
  EXPECT_TRUE(Seen.empty());
}

}  // namespace
