// The option form's part of the controller's contract: creation, initialisation from the
// host parameter array, run requests, and closing that frees the form.
#include "module/framework/BaseGene.h"

#include "platform/ole/ComObj.h"
#include "platform/vcl/Forms.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TFormFree {
  void operator()(TComponent* c) const { c->Free(); }
};
using TFormPtr = std::unique_ptr<TfrmBaseGene, TFormFree>;

TFormPtr NewForm() { return TFormPtr(CreateComponent<TfrmBaseGene>(nullptr)); }

TEST(BaseGeneTest, StartsUninitialised) {
  TFormPtr form = NewForm();
  EXPECT_EQ(form->GetName(), "frmBaseGene");
  EXPECT_EQ(form->VersionStamp, "870401-0.00.00");
  EXPECT_TRUE(form->CompanyId.empty());
  EXPECT_TRUE(form->Interactive);
  EXPECT_EQ(form->FormResultCode, 0);
  EXPECT_TRUE(VarIsEmpty(form->FormResultData));
  EXPECT_FALSE(form->GetVisible());
}

struct TInitCase {
  const char* Name;
  Variant Params;
  bool Accepted;
  const char* Stored;  // user|company|database|window after the call
};

void PrintTo(const TInitCase& c, std::ostream* os) { *os << c.Name << " " << VarToLiteral(c.Params); }

class InitOptionFormTest : public ::testing::TestWithParam<TInitCase> {};

TEST_P(InitOptionFormTest, TakesOnlyAHostParameterArray) {
  TFormPtr form = NewForm();
  form->SetModulePath("C:\\KVT\\Client\\Tavo61C.dll");
  EXPECT_EQ(form->InitOptionForm(GetParam().Params), GetParam().Accepted);
  EXPECT_EQ(form->UserId + "|" + form->CompanyId + "|" + form->DatabaseName + "|" + std::to_string(form->HostWindow),
            GetParam().Stored);
  EXPECT_EQ(form->ProgramId, GetParam().Accepted ? "TAVO61" : "");
}

Variant Array(std::initializer_list<Variant> values) { return VarArrayOf(values); }

Variant FromOne() {
  Variant v = VarArrayCreate({1, 5}, varVariant);
  for (int i = 1; i <= 5; ++i) v.PutElement({i}, Variant("x"));
  return v;
}

const TInitCase InitCases[] = {
    {"Five", Array({"KVADMIN", "KVT01", "KVTDB01", 4242, ""}), true, "KVADMIN|KVT01|KVTDB01|4242"},
    {"Six", Array({"U", "C", "D", 7, "", "more"}), true, "U|C|D|7"},
    {"UnassignedWindow", Array({"U", "C", "D", Variant(), ""}), true, "U|C|D|0"},
    {"NullWindow", Array({"U", "C", "D", Null(), ""}), false, "|||0"},
    {"WideTexts", Array({u"U", u"C", u"D", 1, ""}), true, "U|C|D|1"},
    {"Four", Array({"U", "C", "D", 7}), false, "|||0"},
    {"Empty", Variant(), false, "|||0"},
    {"Null", Null(), false, "|||0"},
    {"Text", Variant("U"), false, "|||0"},
    {"LowerBoundOne", FromOne(), false, "|||0"},
    {"TwoDimensions", VarArrayCreate({0, 4, 0, 1}, varVariant), false, "|||0"},
    {"WindowNotANumber", Array({"U", "C", "D", "hwnd", ""}), false, "|||0"},
};

INSTANTIATE_TEST_SUITE_P(Params, InitOptionFormTest, ::testing::ValuesIn(InitCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(BaseGeneTest, ASecondInitialisationIsRefusedAndChangesNothing) {
  TFormPtr form = NewForm();
  ASSERT_TRUE(form->InitOptionForm(Array({"U1", "C1", "D1", 1, ""})));
  EXPECT_FALSE(form->InitOptionForm(Array({"U2", "C2", "D2", 2, ""})));
  EXPECT_EQ(form->UserId + form->CompanyId + form->DatabaseName, "U1C1D1");
  EXPECT_EQ(form->HostWindow, 1u);
}

struct TPathCase {
  const char* Path;
  const char* ProgramId;
  bool Library;
};

void PrintTo(const TPathCase& c, std::ostream* os) { *os << c.Path; }

class ProgramIdTest : public ::testing::TestWithParam<TPathCase> {};

TEST_P(ProgramIdTest, ComesFromTheFileName) {
  EXPECT_EQ(TfrmBaseGene::ProgramIdFromPath(GetParam().Path), GetParam().ProgramId);
  TFormPtr form = NewForm();
  form->SetModulePath(GetParam().Path);
  EXPECT_EQ(form->IsLibrary(), GetParam().Library);
}

const TPathCase PathCases[] = {
    {"C:\\KVT\\Client\\Tavo61C.dll", "Tavo61", true},
    {"C:\\KVT\\Client\\Legacy\\TAVO61C.DLL", "TAVO61", true},
    {"C:\\KVT\\Client\\Tavo61CX.exe", "Tavo61", false},
    {"C:\\KVT\\Client\\ABCDEFG.exe", "ABCDEF", false},
    {"C:\\KVT\\Client\\Abc.dll", "Abc", true},
    {"Tavo61C.Dll", "Tavo61", true},
    {"C:\\KVT\\Client\\Report.Program\\Tavo62C", "Tavo62", false},
};

INSTANTIATE_TEST_SUITE_P(Paths, ProgramIdTest, ::testing::ValuesIn(PathCases));

struct TRunCase {
  const char* Name;
  Variant Request;
  bool Interactive;
  bool StoredLayout;
};

void PrintTo(const TRunCase& c, std::ostream* os) { *os << c.Name; }

class RunRequestTest : public ::testing::TestWithParam<TRunCase> {};

TEST_P(RunRequestTest, ReadsModeAndLayoutFlag) {
  TFormPtr form = NewForm();
  form->RunRequest(GetParam().Request);
  EXPECT_EQ(form->Interactive, GetParam().Interactive);
  EXPECT_EQ(form->StoredLayout, GetParam().StoredLayout);
}

const TRunCase RunCases[] = {
    {"ModeZero", Array({true, Array({0, Array({true, Variant()})})}), true, true},
    {"ModeOne", Array({true, Array({1})}), true, false},
    {"ModeTwo", Array({false, Array({2, Array({false, Variant()})})}), false, false},
    {"ModeFive", Array({false, Array({5, Array({true})})}), false, true},
    {"NoRun", Array({true, Variant()}), true, false},
    {"NotAnArray", Variant(3), true, false},
};

INSTANTIATE_TEST_SUITE_P(Requests, RunRequestTest, ::testing::ValuesIn(RunCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// Notices when the form it watches is destroyed.
class TWatcher : public TComponent {
public:
  TWatcher() : TComponent(nullptr) {}
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove) Gone = true;
  }
  bool Gone = false;
};

TEST(BaseGeneTest, ClosingTheFormFreesIt) {
  TfrmBaseGene* form = CreateComponent<TfrmBaseGene>(nullptr);
  TWatcher watcher;
  form->FreeNotification(&watcher);
  form->Show();
  form->Close();
  EXPECT_FALSE(watcher.Gone);
  Application->ProcessMessages();
  EXPECT_TRUE(watcher.Gone);
}

TEST(BaseGeneTest, ClosingAModalFormFreesItAfterShowModal) {
  TfrmBaseGene* form = CreateComponent<TfrmBaseGene>(nullptr);
  TWatcher watcher;
  form->FreeNotification(&watcher);
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_FALSE(watcher.Gone);
  Application->ProcessMessages();
  EXPECT_TRUE(watcher.Gone);
}

TEST(BaseGeneTest, DestructionReleasesTheHostObject) {
  auto host = std::make_shared<TAutoObject>();
  TfrmBaseGene* form = CreateComponent<TfrmBaseGene>(nullptr);
  form->HostObject = Variant(host);
  EXPECT_EQ(host.use_count(), 2);
  form->Free();
  EXPECT_EQ(host.use_count(), 1);
}

}  // namespace
