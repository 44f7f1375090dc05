#include "platform/ole/ComObj.h"
#include "platform/win/Prefix.h"
#include "platform/win/TestPrefix.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <typeinfo>

namespace {

// A host-style object: a counter, an indexed list, a method with by-reference
// parameters and one that fails.
class TCounterObject : public TAutoObject {
public:
  TCounterObject() {
    RegisterProperty(
        "Count", [this](std::span<Variant>) { return Variant(Count); },
        [this](std::span<Variant>, const Variant& v) { Count = v.AsInteger(); });
    RegisterProperty("Name", [](std::span<Variant>) { return Variant("counter"); });
    RegisterProperty(
        "Item", [this](std::span<Variant> index) { return Items[index[0].AsInteger()]; },
        [this](std::span<Variant> index, const Variant& v) { Items[index[0].AsInteger()] = v; });
    RegisterMethod("Increment", [this](std::span<Variant> args) {
      Count += args.empty() ? 1 : args[0].AsInteger();
      return Variant(Count);
    });
    // Request(value, var answer, var errorText): as the application server's calls.
    RegisterMethod("Request", [](std::span<Variant> args) {
      args[1] = "R" + VarToStr(args[0]);
      args[2] = Null();
      return Variant(true);
    }, 3);
    RegisterMethod("Fail", [](std::span<Variant>) -> Variant { throw EConvertError("bad value"); });
    RegisterMethod("FailHard", [](std::span<Variant>) -> Variant { throw std::runtime_error("boom"); });
  }
  int Count = 0;
  std::map<int, Variant> Items;
};

TEST(Automation, CallsMembersCaseInsensitively) {
  const auto counter = std::make_shared<TCounterObject>();
  const Variant obj = counter;
  EXPECT_EQ(VarToLiteral(Call(obj, "Increment")), "1");
  EXPECT_EQ(VarToLiteral(Call(obj, "INCREMENT", {Variant(4)})), "5");
  Put(obj, "count", 10);
  EXPECT_EQ(counter->Count, 10);
  EXPECT_EQ(VarToLiteral(Get(obj, "COUNT")), "10");
  EXPECT_EQ(VarToLiteral(Get(counter, "Name")), "'counter'");
}

TEST(Automation, PropertyAndMethodAnswerEitherForm) {
  const Variant obj(std::make_shared<TCounterObject>());
  EXPECT_EQ(VarToLiteral(Call(obj, "Name")), "'counter'");
  EXPECT_EQ(VarToLiteral(Get(obj, "Increment")), "1");
}

TEST(Automation, IndexedProperty) {
  const Variant obj(std::make_shared<TCounterObject>());
  Put(obj, "Item", {Variant(2)}, "two");
  EXPECT_EQ(VarToLiteral(Get(obj, "Item", {Variant(2)})), "'two'");
  std::vector<Variant> index{2};
  EXPECT_EQ(VarToLiteral(Get(obj, "item", index)), "'two'");
}

TEST(Automation, ByReferenceArgumentsAreWrittenBack) {
  const Variant obj(std::make_shared<TCounterObject>());
  std::vector<Variant> params{"7", Unassigned(), "old"};
  EXPECT_EQ(VarToLiteral(Call(obj, "Request", params)), "True");
  EXPECT_EQ(VarToLiteral(params[1]), "'R7'");
  EXPECT_EQ(VarToLiteral(params[2]), "Null");

  Variant answer, error = "untouched";
  Call(obj, "Request", {Variant("8"), answer, error});
  EXPECT_TRUE(VarIsEmpty(answer));
  EXPECT_EQ(VarToStr(error), "untouched");
}

TEST(Automation, CopiesOfADispatchShareTheObject) {
  const Variant a(std::make_shared<TCounterObject>());
  const Variant b = a;
  Put(b, "Count", 3);
  EXPECT_EQ(Get(a, "Count").AsInteger(), 3);
}

struct TFailureCase {
  const char* Name;
  std::function<void(const Variant& obj)> Action;
  std::string Message;
};

std::ostream& operator<<(std::ostream& os, const TFailureCase& c) { return os << c.Name; }

const TFailureCase FailureCases[] = {
    {"UnknownMethod", [](const Variant& o) { Call(o, "Nope"); },
     "Method 'Nope' not supported by automation object"},
    {"UnknownProperty", [](const Variant& o) { Put(o, "Colour", 1); },
     "Method 'Colour' not supported by automation object"},
    {"ReadOnlyProperty", [](const Variant& o) { Put(o, "Name", "x"); },
     "Property 'Name' is read-only"},
    {"PutOnMethod", [](const Variant& o) { Put(o, "Increment", 1); },
     "Member 'Increment' cannot be used that way"},
    {"WrongParameterCount", [](const Variant& o) { Call(o, "Request", {Variant(1)}); },
     "Invalid number of parameters"},
    {"RuntimeErrorOfMember", [](const Variant& o) { Call(o, "Fail"); }, "bad value"},
    {"StandardErrorOfMember", [](const Variant& o) { Call(o, "FailHard"); }, "boom"},
    {"VariantErrorOfMember", [](const Variant& o) { Put(o, "Count", "abc"); },
     "Could not convert variant of type (String) into type (Integer)"},
};

class AutomationFailureTest : public testing::TestWithParam<TFailureCase> {};

TEST_P(AutomationFailureTest, RaisesOleException) {
  const Variant obj(std::make_shared<TCounterObject>());
  try {
    GetParam().Action(obj);
    FAIL() << "no exception";
  } catch (const EOleException& e) {
    EXPECT_EQ(e.Message, GetParam().Message);
  }
}

INSTANTIATE_TEST_SUITE_P(Members, AutomationFailureTest, testing::ValuesIn(FailureCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Automation, CallOnSomethingElseThanAnObject) {
  for (const Variant& target : {Variant(5), Unassigned(), Null(), Variant("HelmWorkCenter.Manager"),
                                Variant(std::shared_ptr<IAutomationObject>())}) {
    try {
      Call(target, "Request");
      FAIL() << VarToLiteral(target);
    } catch (const EOleError& e) {
      EXPECT_EQ(typeid(e), typeid(EOleError));
      EXPECT_EQ(e.Message, "Variant does not reference an automation object");
    }
  }
}

// ---- CreateOleObject ----------------------------------------------------------------

// Registers a factory for the length of a test.
class TScopedFactory {
public:
  TScopedFactory(AnsiString progId, TComObjectFactory factory) : FProgId(std::move(progId)) {
    RegisterComFactory(FProgId, std::move(factory));
  }
  ~TScopedFactory() { UnregisterComFactory(FProgId); }

private:
  AnsiString FProgId;
};

TEST(CreateOleObject, FindsARegisteredFactory) {
  int made = 0;
  TScopedFactory scope("Test.Counter", [&] {
    ++made;
    return std::make_shared<TCounterObject>();
  });
  const Variant a = CreateOleObject("test.COUNTER");
  const Variant b = CreateOleObject("Test.Counter");
  EXPECT_EQ(made, 2);
  Call(a, "Increment");
  EXPECT_EQ(Get(a, "Count").AsInteger(), 1);
  EXPECT_EQ(Get(b, "Count").AsInteger(), 0);
}

TEST(CreateOleObject, FactoryFailures) {
  TScopedFactory none("Test.Nothing", [] { return std::shared_ptr<IAutomationObject>(); });
  TScopedFactory throwing("Test.Throwing", []() -> std::shared_ptr<IAutomationObject> {
    throw EConvertError("cannot start");
  });
  try {
    CreateOleObject("Test.Nothing");
    FAIL();
  } catch (const EOleSysError& e) {
    EXPECT_EQ(e.Message, "ClassFactory cannot supply requested class");
  }
  try {
    CreateOleObject("Test.Throwing");
    FAIL();
  } catch (const EOleSysError& e) {
    EXPECT_EQ(e.Message, "cannot start");
  }
}

TEST(CreateOleObject, UnknownProgIdWithoutAPrefix) {
  const std::string saved = GetPrefixDir();
  SetPrefix("");
  for (const char* progId : {"No.Such.Class", "", " Test.Counter", "HKEY\\Software"}) {
    try {
      CreateOleObject(progId);
      FAIL() << progId;
    } catch (const EOleSysError& e) {
      EXPECT_EQ(typeid(e), typeid(EOleSysError));
      EXPECT_EQ(e.Message, "Invalid class string");
    }
  }
  SetPrefix(saved);
}

// A prefix whose registry names the test server library under the given ProgIDs.
std::string RegistryFor(std::initializer_list<std::pair<std::string, std::string>> classes) {
  std::string reg = "REGEDIT4\n\n";
  for (const auto& [progId, library] : classes) {
    reg += "[HKEY_CLASSES_ROOT\\" + progId + "\\InprocServer32]\n";
    if (!library.empty()) {
      std::string escaped;
      for (const char c : library) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
      reg += "@=\"" + escaped + "\"\n";
    }
    reg += "\n";
  }
  return reg;
}

class CreateOleObjectRegistryTest : public testing::Test {
protected:
  const AnsiString Library = UnixPathToWin(OLE_TEST_SERVER_FILE);
};

TEST_F(CreateOleObjectRegistryTest, LoadsTheServerLibrary) {
  TTempPrefix prefix({{"system.reg", RegistryFor({{"OleTest.Server", Library}})}});
  const Variant server = CreateOleObject("oletest.server");
  EXPECT_EQ(VarToLiteral(Get(server, "Origin")), "'library'");
  EXPECT_EQ(VarToLiteral(Call(server, "Echo", {Variant(u"中文")})), VarToLiteral(Variant(u"中文")));
  std::vector<Variant> args{21};
  EXPECT_EQ(VarToLiteral(Call(server, "Twice", args)), "21");
  EXPECT_EQ(VarToLiteral(args[0]), "42");
  // A second object comes from the library already loaded.
  EXPECT_EQ(VarToLiteral(Get(CreateOleObject("OleTest.Server"), "Origin")), "'library'");
}

TEST_F(CreateOleObjectRegistryTest, FactoryComesFirst) {
  TTempPrefix prefix({{"system.reg", RegistryFor({{"OleTest.Server", Library}})}});
  TScopedFactory scope("OleTest.Server", [] { return std::make_shared<TCounterObject>(); });
  EXPECT_EQ(VarToLiteral(Get(CreateOleObject("OleTest.Server"), "Name")), "'counter'");
}

TEST_F(CreateOleObjectRegistryTest, RegistryFailures) {
  TTempPrefix prefix({{"system.reg", RegistryFor({{"OleTest.Other", Library},
                                                  {"OleTest.NoServer", ""},
                                                  {"OleTest.Missing", "C:\\Missing\\Gone.dll"}})}});
  const struct {
    const char* ProgId;
    const char* Message;
  } cases[] = {
      {"OleTest.Unknown", "Invalid class string"},
      {"OleTest.Other", "ClassFactory cannot supply requested class"},
      {"OleTest.NoServer", "Class not registered"},
      {"OleTest.Missing", "Cannot load the class's library C:\\Missing\\Gone.dll"},
  };
  for (const auto& c : cases) {
    try {
      CreateOleObject(c.ProgId);
      ADD_FAILURE() << c.ProgId;
    } catch (const EOleSysError& e) {
      EXPECT_EQ(e.Message, c.Message) << c.ProgId;
    }
  }
}

}  // namespace
