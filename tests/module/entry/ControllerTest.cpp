// The controller as a host drives it: through the loaded plug-in and the public header.
#include "tests/module/entry/PlugIn.h"

#include "platform/ole/ComObj.h"

using ::testing::ElementsAre;

namespace {

// Literals of variants are UTF-8; narrow literals here are GB.
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST_F(PlugInTest, LoadsFromTheClientFolderAndExportsOnlyGetController) {
  EXPECT_TRUE(SameText(GetModuleFileName(Library), PlugInPath)) << GetModuleFileName(Library);
  EXPECT_EQ(GetProcAddress(Library, "DLLControllerClass"), nullptr);
  EXPECT_EQ(GetProcAddress(Library, "frmBaseGeneClass"), nullptr);
  EXPECT_EQ(GetProcAddress(Library, "_ZN13TDLLRPCtrller8InitFormE7Variant"), nullptr);
  TControllerPtr controller = NewController();
  EXPECT_EQ(controller->ClassName(), "TDLLRPCtrller");
  EXPECT_EQ(controller->ClassParent()->ClassName(), "TDLLBaseController");
}

TEST_F(PlugInTest, StartsWithZeroAndUnassignedFields) {
  TControllerPtr controller = NewController();
  EXPECT_TRUE(VarIsEmpty(controller->HostObject));
  EXPECT_EQ(controller->ResultCode, 0);
  EXPECT_TRUE(VarIsEmpty(controller->ResultData));
}

TEST_F(PlugInTest, OperationsBeforeInitFormAreHarmless) {
  TControllerPtr controller = NewController();
  EXPECT_EQ(VarToLiteral(controller->ShowModal()), "2");
  EXPECT_EQ(controller->GetVisible(), 0);
  EXPECT_EQ(controller->GetHandle(), 0u);
  Variant data("kept");
  EXPECT_EQ(controller->GetResult(data), -1);
  EXPECT_EQ(VarToLiteral(data), "'kept'");
  WideString version = u"kept";
  controller->GetVersion(version);
  EXPECT_EQ(version, u"kept");
  controller->SetVisible(-1);
  EXPECT_EQ(controller->GetVisible(), 0);
  EXPECT_EQ(controller->Execute(VarArrayOf({0, VarArrayOf({0, 0})})), -1);
  EXPECT_EQ(controller->ExecuteCommand(5, Variant(1)), -1);
  controller->FreeForm();
  EXPECT_TRUE(controller->IsFormFreed());
  EXPECT_TRUE(Host.Received.empty());
}

TEST_F(PlugInTest, ClosingTheFormRaisesTheNotificationsInOrder) {
  TControllerPtr controller = NewController();
  ASSERT_EQ(controller->InitForm(HostParams()), 0);
  EXPECT_THAT(Host.Codes(), ElementsAre(256));
  EXPECT_FALSE(controller->IsFormFreed());

  EXPECT_EQ(VarToLiteral(controller->ShowModal()), "2");
  EXPECT_THAT(Host.Codes(), ElementsAre(256, 272, 288));
  // Closing frees the form once the host's message loop runs.
  Application->ProcessMessages();
  EXPECT_THAT(Host.Codes(), ElementsAre(256, 272, 288, 304));
  EXPECT_EQ(Host.Received.back(), (TNotification{304, 0, "Unassigned"}));
  for (TDLLBaseController* sender : Host.Senders) EXPECT_EQ(sender, controller.get());

  EXPECT_TRUE(controller->IsFormFreed());
  EXPECT_EQ(controller->ResultCode, 0);
  Variant data;
  EXPECT_EQ(controller->GetResult(data), -1);
  EXPECT_EQ(controller->GetVisible(), 0);
  EXPECT_EQ(controller->GetHandle(), 0u);
}

TEST_F(PlugInTest, TheFormAnswersWhileItLives) {
  TControllerPtr controller = NewController();
  ASSERT_EQ(controller->InitForm(HostParams("王小明", "KVT02")), 0);
  WideString version;
  controller->GetVersion(version);
  EXPECT_EQ(version, u"870401-0.00.00");
  Variant data;
  ASSERT_EQ(controller->GetResult(data), 0);
  // The program identifier comes from the library's own file name.
  EXPECT_EQ(VarToLiteral(data), U8(u8"[0..3: '王小明', 'KVT02', 'TAVO61', 'TAVO61']"));
  const HWND handle = controller->GetHandle();
  EXPECT_NE(handle, 0u);
  EXPECT_EQ(controller->GetHandle(), handle);

  controller->SetVisible(-1);
  EXPECT_EQ(controller->GetVisible(), -1);
  controller->SetVisible(0);
  EXPECT_EQ(controller->GetVisible(), 0);
  EXPECT_THAT(Host.Codes(), ElementsAre(256, 272, 288));

  controller->FreeForm();
  EXPECT_TRUE(controller->IsFormFreed());
  EXPECT_THAT(Host.Codes(), ElementsAre(256, 272, 288, 304));
  controller->FreeForm();
  EXPECT_EQ(Host.Received.size(), 4u);
}

TEST_F(PlugInTest, InitFormAfterTheFormWasDestroyedCreatesAFreshOne) {
  TControllerPtr controller = NewController();
  ASSERT_EQ(controller->InitForm(HostParams("A01", "KVT01")), 0);
  controller->ShowModal();
  Application->ProcessMessages();
  ASSERT_TRUE(controller->IsFormFreed());

  Host.Received.clear();
  ASSERT_EQ(controller->InitForm(HostParams("B02", "KVT02")), 0);
  EXPECT_THAT(Host.Codes(), ElementsAre(256));
  Variant data;
  ASSERT_EQ(controller->GetResult(data), 0);
  EXPECT_EQ(VarToLiteral(data), "[0..3: 'B02', 'KVT02', 'TAVO61', 'TAVO61']");
  controller->SetVisible(-1);
  controller->FreeForm();
  EXPECT_THAT(Host.Codes(), ElementsAre(256, 272, 288, 304));
}

// A second InitForm on the live form must not chain the controller's handlers to
// themselves: each event still raises its notification exactly once.
TEST_F(PlugInTest, RepeatedInitFormKeepsEachNotificationSingle) {
  TControllerPtr controller = NewController();
  ASSERT_EQ(controller->InitForm(HostParams()), 0);
  // The form was initialised already and refuses a second initialisation.
  EXPECT_EQ(controller->InitForm(HostParams("OTHER", "KVT09")), -1);
  EXPECT_EQ(controller->InitForm(HostParams()), -1);
  EXPECT_THAT(Host.Codes(), ElementsAre(256));
  Variant data;
  ASSERT_EQ(controller->GetResult(data), 0);
  EXPECT_EQ(VarToLiteral(data), "[0..3: 'KVADMIN', 'KVT01', 'TAVO61', 'TAVO61']");

  controller->ShowModal();
  Application->ProcessMessages();
  EXPECT_THAT(Host.Codes(), ElementsAre(256, 272, 288, 304));
}

struct TBadParams {
  const char* Name;
  Variant Params;
};

void PrintTo(const TBadParams& p, std::ostream* os) { *os << p.Name << " " << VarToLiteral(p.Params); }

class RefusedParamsTest : public PlugInTest, public ::testing::WithParamInterface<TBadParams> {};

// The form refuses what is not a host parameter array; it stays with the controller
// until the host frees it.
TEST_P(RefusedParamsTest, InitFormAnswersMinusOne) {
  TControllerPtr controller = NewController();
  EXPECT_EQ(controller->InitForm(GetParam().Params), -1);
  EXPECT_THAT(Host.Codes(), ElementsAre(256));
  EXPECT_FALSE(controller->IsFormFreed());
  Variant data;
  ASSERT_EQ(controller->GetResult(data), 0);
  EXPECT_EQ(VarToLiteral(data), "[0..3: '', '', '', '']");
  // A proper array afterwards is accepted by the same form.
  EXPECT_EQ(controller->InitForm(HostParams()), 0);
  EXPECT_THAT(Host.Codes(), ElementsAre(256));
}

Variant TwoDimensional() {
  Variant v = VarArrayCreate({0, 4, 0, 0}, varVariant);
  return v;
}

Variant FromOne() {
  Variant v = VarArrayCreate({1, 5}, varVariant);
  for (int i = 1; i <= 5; ++i) v.PutElement({i}, Variant("x"));
  return v;
}

const TBadParams RefusedParams[] = {
    {"Unassigned", Variant()},
    {"Null", Null()},
    {"Text", Variant("KVADMIN")},
    {"FourElements", VarArrayOf({Variant("KVADMIN"), Variant("KVT01"), Variant("KVTDB01"), Variant(1)})},
    {"TwoDimensions", TwoDimensional()},
    {"LowerBoundOne", FromOne()},
    {"WindowNotANumber",
     VarArrayOf({Variant("KVADMIN"), Variant("KVT01"), Variant("KVTDB01"), Variant("window"), Variant("")})},
};

INSTANTIATE_TEST_SUITE_P(Params, RefusedParamsTest, ::testing::ValuesIn(RefusedParams),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TExecuteCase {
  const char* Name;
  Variant Params;
  int32_t Expected;
};

void PrintTo(const TExecuteCase& c, std::ostream* os) { *os << c.Name << " " << VarToLiteral(c.Params); }

class ExecuteTest : public PlugInTest, public ::testing::WithParamInterface<TExecuteCase> {};

TEST_P(ExecuteTest, AnswersWithAForm) {
  TControllerPtr controller = NewController();
  ASSERT_EQ(controller->InitForm(HostParams()), 0);
  EXPECT_EQ(controller->Execute(GetParam().Params), GetParam().Expected);
  // Nothing the request held takes the form away.
  EXPECT_FALSE(controller->IsFormFreed());
}

const TExecuteCase ExecuteCases[] = {
    {"Unassigned", Variant(), -1},
    {"Null", Null(), -1},
    {"Integer", Variant(3), -1},
    {"Text", Variant("run"), -1},
    // Element 1 is what the form receives; an array without it fails.
    {"OneElement", VarArrayOf({Variant(1)}), -1},
    {"TwoDimensions", VarArrayCreate({0, 1, 0, 1}, varVariant), -1},
    {"RunRequest", VarArrayOf({Variant(0), VarArrayOf({Variant(1), VarArrayOf({Variant(false), Variant()})})}), 0},
    {"EmptyRunRequest", VarArrayOf({Variant(0), Variant()}), 0},
};

INSTANTIATE_TEST_SUITE_P(Params, ExecuteTest, ::testing::ValuesIn(ExecuteCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TCommandCase {
  int32_t Kind;
  int32_t Expected;
};

void PrintTo(const TCommandCase& c, std::ostream* os) { *os << "kind " << c.Kind; }

class ExecuteCommandTest : public PlugInTest, public ::testing::WithParamInterface<TCommandCase> {};

TEST_P(ExecuteCommandTest, OnlyKindsFiveAndNineReachTheForm) {
  TControllerPtr controller = NewController();
  const Variant request = VarArrayOf({Variant(1), VarArrayOf({Variant(false), Variant()})});
  EXPECT_EQ(controller->ExecuteCommand(GetParam().Kind, request), -1);
  ASSERT_EQ(controller->InitForm(HostParams()), 0);
  EXPECT_EQ(controller->ExecuteCommand(GetParam().Kind, request), GetParam().Expected);
}

const TCommandCase CommandCases[] = {{4, -1}, {5, 0}, {9, 0}, {0, -1}, {6, -1}, {10, -1}, {-5, -1}};

INSTANTIATE_TEST_SUITE_P(Kinds, ExecuteCommandTest, ::testing::ValuesIn(CommandCases), [](const auto& info) {
  return (info.param.Kind < 0 ? "Minus" : "Kind") + std::to_string(std::abs(info.param.Kind));
});

// The host object reaches the form and is let go when the form goes.
class THostProbe : public TAutoObject {};

TEST_F(PlugInTest, TheFormHoldsTheHostObjectUntilItIsDestroyed) {
  auto probe = std::make_shared<THostProbe>();
  TControllerPtr controller = NewController();
  controller->HostObject = Variant(probe);
  const long held = probe.use_count();
  ASSERT_EQ(controller->InitForm(HostParams()), 0);
  EXPECT_EQ(probe.use_count(), held + 1);
  controller->FreeForm();
  EXPECT_EQ(probe.use_count(), held);
}

TEST_F(PlugInTest, FreeingTheControllerFreesItsForm) {
  TControllerPtr controller = NewController();
  ASSERT_EQ(controller->InitForm(HostParams()), 0);
  controller.reset();
  EXPECT_THAT(Host.Codes(), ElementsAre(256, 304));
}

TEST_F(PlugInTest, AHostMayFreeTheControllerWhenTheFormHasGone) {
  TControllerPtr controller = NewController();
  ASSERT_EQ(controller->InitForm(HostParams()), 0);
  Host.FreeOn = 304;
  TDLLBaseController* released = controller.release();
  released->ShowModal();
  Application->ProcessMessages();
  EXPECT_THAT(Host.Codes(), ElementsAre(256, 272, 288, 304));
}

TEST_F(PlugInTest, RunsWithoutANotificationHandler) {
  TControllerPtr controller(Entry());
  ASSERT_EQ(controller->InitForm(HostParams()), 0);
  EXPECT_EQ(VarToLiteral(controller->ShowModal()), "2");
  Application->ProcessMessages();
  EXPECT_TRUE(controller->IsFormFreed());
}

TEST_F(PlugInTest, DoCustomNotifyAndNotifyPassTheController) {
  TControllerPtr controller = NewController();
  controller->DoCustomNotify();
  controller->Notify(7, nullptr);
  controller->ReservedHook();
  EXPECT_THAT(Host.Codes(), ElementsAre(320, 7));
  EXPECT_THAT(Host.Senders, ElementsAre(controller.get(), controller.get()));
}

TEST_F(PlugInTest, ControllersServeTheirOwnForms) {
  TControllerPtr first = NewController();
  TControllerPtr second = NewController();
  ASSERT_EQ(first->InitForm(HostParams("U1", "KVT01")), 0);
  ASSERT_EQ(second->InitForm(HostParams("U2", "KVT02")), 0);
  first->FreeForm();
  EXPECT_TRUE(first->IsFormFreed());
  EXPECT_FALSE(second->IsFormFreed());
  Variant data;
  ASSERT_EQ(second->GetResult(data), 0);
  EXPECT_EQ(VarToLiteral(data), "[0..3: 'U2', 'KVT02', 'TAVO61', 'TAVO61']");
}

}  // namespace
