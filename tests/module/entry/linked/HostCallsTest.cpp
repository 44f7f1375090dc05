// Each host and server call reaches its member by name, with its arguments in order, and
// gives back exactly the arguments passed by reference.
#include "module/entry/HostCalls.h"

#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Answers every member with True and overwrites each argument it receives with
// 'back<index>', so the caller shows which of its variables are by reference.
class TRecordingObject : public TAutoObject {
public:
  Variant Invoke(const AnsiString& name, TInvokeKind kind, std::span<Variant> args) override {
    std::string text = name;
    switch (kind) {
      case TInvokeKind::Method:
        text += "(";
        break;
      case TInvokeKind::PropertyGet:
        text += " get(";
        break;
      case TInvokeKind::PropertyPut:
        text += " put(";
        break;
    }
    for (size_t i = 0; i < args.size(); ++i) {
      text += (i ? ", " : "") + VarToLiteral(args[i]);
      args[i] = Variant("back" + std::to_string(i));
    }
    Calls.push_back(text + ")");
    return Variant(true);
  }
  std::vector<std::string> Calls;
};

struct THostCallCase {
  const char* Name;
  // Makes the call on obj; answers what the caller holds afterwards.
  std::function<std::string(const Variant& obj)> Make;
  const char* Call;
  const char* Outcome;
};

void PrintTo(const THostCallCase& c, std::ostream* os) { *os << c.Name; }

class HostCallsTest : public ::testing::TestWithParam<THostCallCase> {};

TEST_P(HostCallsTest, ReachesTheMemberInOrder) {
  auto object = std::make_shared<TRecordingObject>();
  const std::string outcome = GetParam().Make(Variant(object));
  ASSERT_EQ(object->Calls.size(), 1u);
  EXPECT_EQ(object->Calls[0], GetParam().Call);
  EXPECT_EQ(outcome, GetParam().Outcome);
}

Variant Texts(std::initializer_list<const char*> texts) {
  std::vector<Variant> values;
  for (const char* t : texts) values.emplace_back(t);
  return VarArrayOf(values);
}

std::string Lit(const Variant& v) { return VarToLiteral(v); }

const THostCallCase HostCallCases[] = {
    {"VersionType", [](const Variant& o) { return std::to_string(HostVersionType(o)); }, "VersionType get()", "-1"},
    {"ProductID", [](const Variant& o) { return std::to_string(HostProductID(o)); }, "ProductID get()", "-1"},
    {"Counter", [](const Variant& o) { return Lit(HostCounterService(o)); }, "Com_Counter get()", "True"},
    {"Validator", [](const Variant& o) { return Lit(HostValidatorService(o)); }, "Com_Validator get()", "True"},
    {"Lookup", [](const Variant& o) { return Lit(HostLookupService(o)); }, "Com_F2Window get()", "True"},
    {"GetMessage", [](const Variant& o) { return Lit(HostGetMessage(o, "E", "000038")); },
     "GetMessage('E', '000038')", "True"},
    {"CallHelp",
     [](const Variant& o) {
       HostCallHelp(o, "TAV", "12610000");
       return std::string();
     },
     "CallHelp([0..1: 'TAV', '12610000'])", ""},
    {"GetFileList", [](const Variant& o) { return Lit(HostGetFileList(o, "tavo61s.dll")); },
     "GetFileList([0..0: 'tavo61s.dll'])", "True"},
    {"GetSysInfo",
     [](const Variant& o) {
       AnsiString company = "KVT01";
       const Variant answer = CounterGetSysInfo(o, company);
       return Lit(answer) + " " + company;
     },
     "GetSysInfo('KVT01')", "True back0"},
    {"GetCounter",
     [](const Variant& o) {
       Variant value = 5;
       const Variant answer = CounterGetCounter(o, "SIMPLESQL", value, "KVT01", "KVTDB01");
       return Lit(answer) + " " + Lit(value);
     },
     "GetCounter('SIMPLESQL', 5, [0..1: 'KVT01', 'KVTDB01'])", "True 'back1'"},
    {"PutProductID",
     [](const Variant& o) {
       ValidatorSetProductID(o, 3);
       return std::string();
     },
     "ProductID put(3)", ""},
    {"PutBaseLimited",
     [](const Variant& o) {
       ValidatorSetBaseLimited(o, u"A01,A02");
       return std::string();
     },
     "BaseLimited put(W'A01,A02')", ""},
    {"QueryData",
     [](const Variant& o) {
       AnsiString table = "ADMMB", query = "01", database = "KVTDB01";
       Variant keys = Texts({"TAVO61"}), row;
       const bool found = ValidatorQueryData(o, table, query, database, keys, row);
       return std::string(found ? "found " : "missing ") + table + " " + query + " " + database + " " + Lit(keys) +
              " " + Lit(row);
     },
     "QueryData('ADMMB', '01', 'KVTDB01', [0..0: 'TAVO61'], Unassigned)",
     "found back0 back1 back2 'back3' 'back4'"},
    {"CheckValue",
     [](const Variant& o) {
       AnsiString table = "CMSMB", query = "02", database = "KVTDB01";
       Variant keys = Texts({"F01", "W02"}), row;
       const bool found = ValidatorCheckValue(o, table, query, database, keys, row);
       return std::string(found ? "found " : "missing ") + table + " " + Lit(row);
     },
     "CheckValue('CMSMB', '02', 'KVTDB01', [0..1: 'F01', 'W02'], Unassigned)", "found back0 'back4'"},
    {"GetPhrase",
     [](const Variant& o) {
       AnsiString user = "KVADMIN", database = "KVTDB01";
       const Variant answer = LookupGetPhrase(o, user, database, 77);
       return Lit(answer) + " " + user + " " + database;
     },
     "GetPhrase('KVADMIN', 'KVTDB01', 77)", "True back0 back1"},
    {"F2GetData", [](const Variant& o) { return Lit(LookupF2GetData(o, Texts({"CMSMB", "01"}))); },
     "F2GetData([0..1: 'CMSMB', '01'])", "True"},
    {"ShowInputDay", [](const Variant& o) { return Lit(LookupShowInputDay(o, true, "20240506", "KVTDB01")); },
     "ShowInputDay([0..2: True, '20240506', 'KVTDB01'])", "True"},
    {"LoadTable",
     [](const Variant& o) {
       Variant key = Texts({"KVADMIN", "TAVO61"});
       ServerLoadTable(o, key);
       return Lit(key);
     },
     "LoadTable([0..1: 'KVADMIN', 'TAVO61'])", "'back0'"},
    {"InsertConTable",
     [](const Variant& o) {
       Variant record = Texts({"scheme", "KVADMIN"});
       const Variant answer = ServerInsertConTable(o, record);
       return Lit(answer) + " " + Lit(record);
     },
     "InsertConTable([0..1: 'scheme', 'KVADMIN'])", "True 'back0'"},
    {"DeleteConTable",
     [](const Variant& o) {
       Variant key = Texts({"scheme", "KVADMIN", "TAVO61"});
       ServerDeleteConTable(o, key);
       return Lit(key);
     },
     "DeleteConTable([0..2: 'scheme', 'KVADMIN', 'TAVO61'])", "'back0'"},
    {"ChangeConName",
     [](const Variant& o) {
       Variant oldKey = Texts({"old"}), newKey = Texts({"new"});
       ServerChangeConName(o, oldKey, newKey);
       return Lit(oldKey) + " " + Lit(newKey);
     },
     "ChangeConName([0..0: 'old'], [0..0: 'new'])", "'back0' 'back1'"},
    {"GetPower", [](const Variant& o) { return Lit(ServerGetPower(o, Texts({"KVTDB01", "KVADMIN", "TAVO61", ""}))); },
     "GetPower([0..3: 'KVTDB01', 'KVADMIN', 'TAVO61', ''])", "True"},
    {"Request", [](const Variant& o) { return Lit(ServerRequest(o, Texts({"env", "texts"}))); },
     "Request([0..1: 'env', 'texts'])", "True"},
    {"ErrorDescript", [](const Variant& o) { return Lit(ServerErrorDescript(o)); }, "ErrorDescript get()", "True"},
    {"Request1", [](const Variant& o) { return Lit(ServerRequest1(o, Texts({"env"}), Variant("PC-03"))); },
     "Request1([0..0: 'env'], 'PC-03')", "True"},
    {"UpdateStatus1",
     [](const Variant& o) {
       ServerUpdateStatus1(o, Variant("202405060001"), Variant("E;000013; "), EncodeDate(2024, 5, 6) + EncodeTime(10, 30, 15, 0));
       return std::string();
     },
     "UpdateStatus1('202405060001', 'E;000013; ', Date(2024-05-06 10:30:15.000))", ""},
    {"OpenReport",
     [](const Variant& o) {
       return Lit(QueueOpenReport(o, VarArrayOf({Texts({"202405060001", "202405060001"}), Variant("KVADMIN"), Variant(true)})));
     },
     "OpenReport([0..2: [0..1: '202405060001', '202405060001'], 'KVADMIN', True])", "True"},
};

INSTANTIATE_TEST_SUITE_P(Calls, HostCallsTest, ::testing::ValuesIn(HostCallCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(HostCallsFailureTest, ACallWithoutAnObjectRaises) {
  AnsiString company = "KVT01";
  EXPECT_THROW(CounterGetSysInfo(Variant(), company), EOleError);
  EXPECT_EQ(company, "KVT01");
}

class TFailingObject : public TAutoObject {
public:
  TFailingObject() {
    RegisterMethod("QueryData", [](std::span<Variant>) -> Variant { throw Exception("table ADMMB is locked"); });
  }
};

TEST(HostCallsFailureTest, AFailingMemberRaisesEOleExceptionAndKeepsTheArguments) {
  AnsiString table = "ADMMB", query = "01", database = "KVTDB01";
  Variant keys = VarArrayOf({Variant("TAVO61")}), row = Variant("previous");
  try {
    ValidatorQueryData(Variant(std::make_shared<TFailingObject>()), table, query, database, keys, row);
    FAIL() << "no exception";
  } catch (const EOleException& e) {
    EXPECT_EQ(e.Message, "table ADMMB is locked");
  }
  EXPECT_EQ(table, "ADMMB");
  EXPECT_EQ(VarToLiteral(row), "'previous'");
}

}  // namespace
