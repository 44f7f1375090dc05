// The host object answers the plug-in's members from its fixture, records every call, and
// lets a person (a scripted user-interface driver) pick in its lookup windows.
#include "host/HelmManager.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/UIDriver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class HelmManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    Journal = std::make_shared<THelmJournal>();
    RegisterHelmManager(std::make_shared<THelmFixture>(DefaultHelmFixture()), Journal);
    Manager = CreateOleObject("HelmWorkCenter.Manager");
  }
  void TearDown() override { UnregisterComFactory("HelmWorkCenter.Manager"); }

  // The validator's master-data call with its five by-reference arguments.
  bool MasterData(const char* member, const char* table, const char* query, const char* database, Variant keys,
                  Variant& row) {
    std::array<Variant, 5> args{Variant(table), Variant(query), Variant(database), std::move(keys), row};
    const bool found = Call(Get(Manager, "Com_Validator"), member, args).AsBoolean();
    row = args[4];
    return found;
  }

  std::shared_ptr<THelmJournal> Journal;
  Variant Manager;
  TScriptedDriver Driver;
  TUIDriverScope Scope{&Driver};
};

TEST_F(HelmManagerTest, AnswersTheHostMembers) {
  EXPECT_EQ(Get(Manager, "VersionType").AsInteger(), 1);
  EXPECT_EQ(Get(Manager, "ProductID").AsInteger(), 1);
  EXPECT_EQ(VarType(Get(Manager, "Com_Counter")), varDispatch);
  EXPECT_EQ(VarType(Get(Manager, "Com_Validator")), varDispatch);
  EXPECT_EQ(VarType(Get(Manager, "Com_F2Window")), varDispatch);
  EXPECT_EQ(Call(Manager, "GetMessage", {Variant("e"), Variant("000038")}).AsString(), "主程序传入的参数不足!");
  EXPECT_EQ(Call(Manager, "GetMessage", {Variant("E"), Variant("999999")}).AsString(), "讯息 E;999999 未定义");
  EXPECT_EQ(Call(Manager, "GetFileList", {VarArrayOf({Variant("TAVO61S.DLL")})}).AsString(),
            "<Modify>20240506103015</Modify><Path>\\\\KVTSERVER\\Package\\TAVO61S.DLL</Path>");
  EXPECT_EQ(Call(Manager, "GetFileList", {VarArrayOf({Variant("other.dll")})}).AsString(), "");
  EXPECT_THROW(Call(Manager, "GetMessage", {Variant("E")}), EOleException);
}

TEST_F(HelmManagerTest, TheCounterGivesACompanysSettingsInTwoRows) {
  const Variant info = Call(Get(Manager, "Com_Counter"), "GetSysInfo", {Variant("kvt01")});
  ASSERT_EQ(VarArrayDimCount(info), 2);
  EXPECT_EQ(VarArrayHighBound(info, 1), 1);
  EXPECT_EQ(VarArrayHighBound(info, 2), 9);
  EXPECT_EQ(VarToStr(info.GetElement({0, 0})), "Sys001");
  EXPECT_EQ(VarToStr(info.GetElement({1, 0})), "1");
  EXPECT_EQ(VarToStr(info.GetElement({0, 2})), "KVT002");
  EXPECT_EQ(VarToStr(info.GetElement({1, 2})), "凯维特示范公司");
  try {
    Call(Get(Manager, "Com_Counter"), "GetSysInfo", {Variant("NOPE")});
    FAIL() << "no exception";
  } catch (const EOleException& e) {
    EXPECT_EQ(e.Message, "Company NOPE does not exist");
  }
  EXPECT_THROW(Call(Get(Manager, "Com_Counter"), "GetCounter", {Variant("SIMPLESQL"), Variant(), Variant()}),
               EOleException);
}

TEST_F(HelmManagerTest, TheValidatorFindsMasterRowsByKey) {
  Variant row = Variant("before");
  EXPECT_TRUE(MasterData("QueryData", "ADMMB", "01", "KVTDB01", VarArrayOf({Variant("tavo61")}), row));
  EXPECT_EQ(VarToLiteral(row),
            U8(u8"[0..7: '调拨建议表', 'R', 'TAV', 'KVT', 'Y', 'TAVO61S', 'Y', 'Transfer Suggestion Report']"));
  EXPECT_TRUE(MasterData("CheckValue", "admmb", "01", "kvtdb01", VarArrayOf({Variant(u"TAVO61")}), row));
  EXPECT_FALSE(MasterData("CheckValue", "ADMMB", "01", "KVTDB01", VarArrayOf({Variant("TAVO62")}), row));
  EXPECT_TRUE(VarIsEmpty(row));
  EXPECT_FALSE(MasterData("QueryData", "ADMMB", "02", "KVTDB01", VarArrayOf({Variant("TAVO61")}), row));
  EXPECT_FALSE(MasterData("QueryData", "ADMMB", "01", "KVTDB01", VarArrayOf({Variant("TAVO61"), Variant("X")}), row));
  EXPECT_THROW(MasterData("QueryData", "ADMMB", "01", "OTHERDB", VarArrayOf({Variant("TAVO61")}), row), EOleException);

  const Variant validator = Get(Manager, "Com_Validator");
  Put(validator, "ProductID", Variant(3));
  Put(validator, "BaseLimited", Variant(u"A01"));
  EXPECT_EQ(Get(validator, "ProductID").AsInteger(), 3);
  EXPECT_EQ(VarToLiteral(Get(validator, "BaseLimited")), "W'A01'");
}

TEST_F(HelmManagerTest, LookupWindowsAnswerWhatThePersonPicks) {
  const Variant lookup = Get(Manager, "Com_F2Window");
  const Variant request = VarArrayOf({Variant("ADMMB"), Variant("01"), Variant(), Variant(false)});
  // Nobody picks: the window closes without a choice.
  EXPECT_TRUE(VarIsEmpty(Call(lookup, "F2GetData", {request})));

  Driver.OnModal("THelmPickForm", [](TCustomForm* form) {
    auto* pick = static_cast<THelmPickForm*>(form);
    ASSERT_EQ(pick->lstItems->GetItems()->Count(), 1);
    pick->lstItems->SetItemIndex(0);
    pick->btnOk->Click();
  });
  EXPECT_EQ(VarToStr(Call(lookup, "F2GetData", {request}).GetElement({5})), "TAVO61S");

  Driver.OnModal("THelmPickForm", [](TCustomForm* form) {
    auto* pick = static_cast<THelmPickForm*>(form);
    pick->lstItems->SetSelected(0, true);
    pick->btnOk->Click();
  });
  const Variant several = VarArrayOf({Variant("ADMMB"), Variant("01"), Variant(), Variant(true)});
  const Variant rows = Call(lookup, "F2GetData", {several});
  ASSERT_EQ(VarArrayHighBound(rows, 1), 0);
  EXPECT_EQ(VarToStr(rows.GetElement({0}).GetElement({0})), "调拨建议表");

  Driver.OnModal("THelmPickForm", [](TCustomForm* form) {
    auto* pick = static_cast<THelmPickForm*>(form);
    pick->lstItems->SetItemIndex(1);
    pick->btnOk->Click();
  });
  EXPECT_EQ(Call(lookup, "GetPhrase", {Variant("kvadmin"), Variant("KVTDB01"), Variant(0)}).AsString(), "紧急补货");

  Driver.OnModal("THelmPickForm", [](TCustomForm* form) {
    auto* pick = static_cast<THelmPickForm*>(form);
    EXPECT_EQ(pick->edValue->GetText(), "20240506");
    pick->edValue->SetText("20240601");
    pick->btnOk->Click();
  });
  const Variant day = VarArrayOf({Variant(false), Variant("20240506"), Variant("KVTDB01")});
  EXPECT_EQ(Call(lookup, "ShowInputDay", {day}).AsString(), "20240601");
  EXPECT_EQ(Call(lookup, "ShowInputDay", {day}).AsString(), "");
  EXPECT_EQ(Driver.PendingModals(), 0);
}

TEST_F(HelmManagerTest, CallHelpOpensTheSystemsHelpAtTheTopic) {
  Call(Manager, "CallHelp", {VarArrayOf({Variant("TAV"), Variant("12610000")})});
  const auto opened = Driver.EventsOf(ueShellExecute);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].Verb, "open");
  EXPECT_TRUE(opened[0].Text.ends_with("\\Help\\TAV.chm")) << opened[0].Text;
  EXPECT_EQ(opened[0].Parameters, "12610000");
  EXPECT_THROW(Call(Manager, "CallHelp", {VarArrayOf({Variant(""), Variant("1")})}), EOleException);
}

TEST_F(HelmManagerTest, EveryCallIsRecorded) {
  Call(Manager, "GetMessage", {Variant("E"), Variant("000038")});
  Call(Get(Manager, "Com_Counter"), "GetSysInfo", {Variant("KVT01")});
  ASSERT_EQ(Journal->size(), 3u);
  EXPECT_EQ((*Journal)[0].Object + "." + (*Journal)[0].Member + "(" + (*Journal)[0].Arguments + ")",
            "Manager.GetMessage('E', '000038')");
  EXPECT_EQ((*Journal)[1].Member, "Com_Counter");
  EXPECT_EQ((*Journal)[1].Kind, TInvokeKind::PropertyGet);
  EXPECT_EQ((*Journal)[2].Object + "." + (*Journal)[2].Member + "(" + (*Journal)[2].Arguments + ")",
            "Counter.GetSysInfo('KVT01')");
}

}  // namespace
