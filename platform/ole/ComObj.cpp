#include "platform/ole/ComObj.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/Prefix.h"
#include "platform/win/Registry.h"
#include "platform/win/Windows.h"

#include <map>
#include <mutex>
#include <utility>

IAutomationObject::~IAutomationObject() = default;

namespace {

const char* const SNotObject = "Variant does not reference an automation object";
const char* const SInvalidClassString = "Invalid class string";
const char* const SClassNotRegistered = "Class not registered";
const char* const SCannotSupplyClass = "ClassFactory cannot supply requested class";
const char* const SBadParamCount = "Invalid number of parameters";

// What a server raises reaches its client as an automation error with the same text.
template <class E, class F>
auto Marshalled(F&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const EOleError&) {
    throw;
  } catch (const Exception& e) {
    throw E(e.Message);
  } catch (const std::exception& e) {
    throw E(e.what());
  }
}

Variant Dispatch(const Variant& obj, const AnsiString& name, TInvokeKind kind,
                 std::span<Variant> args) {
  if (VarType(obj) != varDispatch) throw EOleError(SNotObject);
  // Held for the call: the arguments may hold the only other reference.
  const std::shared_ptr<IAutomationObject> target = obj.AsDispatch();
  return Marshalled<EOleException>([&] { return target->Invoke(name, kind, args); });
}

}  // namespace

// ---- TAutoObject ------------------------------------------------------------------------

TAVO_CLASS_IMPL(TAutoObject, TObject)

Variant TAutoObject::Invoke(const AnsiString& name, TInvokeKind kind, std::span<Variant> args) {
  TMember* member = FindMember(name);
  if (!member) throw EOleException("Method '" + name + "' not supported by automation object");
  auto callMethod = [&] {
    if (member->ParamCount >= 0 && args.size() != size_t(member->ParamCount))
      throw EOleException(SBadParamCount);
    return member->Method(args);
  };
  return Marshalled<EOleException>([&]() -> Variant {
    switch (kind) {
      case TInvokeKind::Method:
        if (member->Method) return callMethod();
        if (member->Getter) return member->Getter(args);
        break;
      case TInvokeKind::PropertyGet:
        if (member->Getter) return member->Getter(args);
        if (member->Method) return callMethod();
        throw EOleException("Property '" + member->Name + "' is write-only");
      case TInvokeKind::PropertyPut:
        if (!member->Setter) {
          if (member->Getter) throw EOleException("Property '" + member->Name + "' is read-only");
          break;
        }
        if (args.empty()) throw EOleException(SBadParamCount);
        member->Setter(args.first(args.size() - 1), args.back());
        return Variant();
    }
    throw EOleException("Member '" + member->Name + "' cannot be used that way");
  });
}

bool TAutoObject::HasMember(const AnsiString& name) const { return FindMember(name) != nullptr; }

void TAutoObject::RegisterMethod(const AnsiString& name, TMethodFunc method, int paramCount) {
  TMember* member = FindMember(name);
  if (!member) {
    member = &FMembers.emplace_back();
    member->Name = name;
  }
  member->Method = std::move(method);
  member->ParamCount = paramCount;
}

void TAutoObject::RegisterProperty(const AnsiString& name, TGetterFunc getter, TSetterFunc setter) {
  TMember* member = FindMember(name);
  if (!member) {
    member = &FMembers.emplace_back();
    member->Name = name;
  }
  member->Getter = std::move(getter);
  member->Setter = std::move(setter);
}

TAutoObject::TMember* TAutoObject::FindMember(const AnsiString& name) {
  return const_cast<TMember*>(std::as_const(*this).FindMember(name));
}

const TAutoObject::TMember* TAutoObject::FindMember(const AnsiString& name) const {
  for (const TMember& m : FMembers)
    if (SameText(m.Name, name)) return &m;
  return nullptr;
}

// ---- Late-bound calls -------------------------------------------------------------------

Variant Call(const Variant& obj, const AnsiString& name) {
  return Dispatch(obj, name, TInvokeKind::Method, {});
}

Variant Call(const Variant& obj, const AnsiString& name, std::span<Variant> args) {
  return Dispatch(obj, name, TInvokeKind::Method, args);
}

Variant Call(const Variant& obj, const AnsiString& name, std::initializer_list<Variant> args) {
  std::vector<Variant> copies(args);
  return Dispatch(obj, name, TInvokeKind::Method, copies);
}

Variant Get(const Variant& obj, const AnsiString& name) {
  return Dispatch(obj, name, TInvokeKind::PropertyGet, {});
}

Variant Get(const Variant& obj, const AnsiString& name, std::span<Variant> indices) {
  return Dispatch(obj, name, TInvokeKind::PropertyGet, indices);
}

Variant Get(const Variant& obj, const AnsiString& name, std::initializer_list<Variant> indices) {
  std::vector<Variant> copies(indices);
  return Dispatch(obj, name, TInvokeKind::PropertyGet, copies);
}

void Put(const Variant& obj, const AnsiString& name, const Variant& value) {
  Variant arg = value;
  Dispatch(obj, name, TInvokeKind::PropertyPut, std::span<Variant>(&arg, 1));
}

void Put(const Variant& obj, const AnsiString& name, std::initializer_list<Variant> indices,
         const Variant& value) {
  std::vector<Variant> args(indices);
  args.push_back(value);
  Dispatch(obj, name, TInvokeKind::PropertyPut, args);
}

// ---- Creation by ProgID -----------------------------------------------------------------

namespace {

struct TClassTable {
  std::mutex Lock;
  std::map<AnsiString, TComObjectFactory> Factories;          // by upper-case ProgID
  std::map<AnsiString, TDllCreateObject> ServerEntries;  // by upper-case library path
};

TClassTable& Classes() {
  static TClassTable table;
  return table;
}

TComObjectFactory FindFactory(const AnsiString& progId) {
  TClassTable& table = Classes();
  std::lock_guard guard(table.Lock);
  const auto it = table.Factories.find(UpperCase(progId));
  return it == table.Factories.end() ? TComObjectFactory() : it->second;
}

// The library named under HKEY_CLASSES_ROOT\<ProgID>\InprocServer32, "" when the ProgID
// is not registered there.
AnsiString FindServerLibrary(const AnsiString& progId) {
  if (GetPrefixDir().empty()) return AnsiString();
  return Marshalled<EOleSysError>([&] {
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    if (!reg.OpenKeyReadOnly(progId + "\\InprocServer32")) return AnsiString();
    if (!reg.ValueExists("")) throw EOleSysError(SClassNotRegistered);
    const AnsiString library = reg.ReadString("");
    if (library.empty()) throw EOleSysError(SClassNotRegistered);
    return library;
  });
}

TDllCreateObject ServerEntry(const AnsiString& library) {
  TClassTable& table = Classes();
  std::lock_guard guard(table.Lock);
  const AnsiString key = UpperCase(library);
  if (const auto it = table.ServerEntries.find(key); it != table.ServerEntries.end())
    return it->second;
  // Never freed: the objects the library makes run its code.
  const HMODULE module = LoadLibrary(library);
  if (!module) throw EOleSysError("Cannot load the class's library " + library);
  // Through void(*)(), the one type a function pointer may be cast from without notice.
  const auto entry = reinterpret_cast<TDllCreateObject>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "DllCreateObject")));
  if (!entry) {
    FreeLibrary(module);
    throw EOleSysError("The library " + library + " does not export DllCreateObject");
  }
  table.ServerEntries.emplace(key, entry);
  return entry;
}

}  // namespace

void RegisterComFactory(const AnsiString& progId, TComObjectFactory factory) {
  TClassTable& table = Classes();
  std::lock_guard guard(table.Lock);
  table.Factories[UpperCase(progId)] = std::move(factory);
}

void UnregisterComFactory(const AnsiString& progId) {
  TClassTable& table = Classes();
  std::lock_guard guard(table.Lock);
  table.Factories.erase(UpperCase(progId));
}

Variant CreateOleObject(const AnsiString& progId) {
  // A ProgID is one registry key name: no path, no blanks around it.
  if (progId.empty() || progId.find('\\') != AnsiString::npos || Trim(progId) != progId)
    throw EOleSysError(SInvalidClassString);

  std::shared_ptr<IAutomationObject> object;
  if (const TComObjectFactory factory = FindFactory(progId)) {
    object = Marshalled<EOleSysError>([&] { return factory(); });
  } else {
    const AnsiString library = FindServerLibrary(progId);
    if (library.empty()) throw EOleSysError(SInvalidClassString);
    const TDllCreateObject entry = ServerEntry(library);
    if (!entry(progId.c_str(), &object)) object.reset();
  }
  if (!object) throw EOleSysError(SCannotSupplyClass);
  return Variant(std::move(object));
}
