// Automation: objects called late-bound by member name, the functions that make such calls
// read like the original's, and creation of objects by ProgID.
#pragma once

#include "platform/ole/Variants.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

enum class TInvokeKind { Method, PropertyGet, PropertyPut };

// The one interface of an automation object (IDispatch's role).
//
// Invoke calls the member `name` (matched case-insensitively) as a method, reads a
// property (args are its indices, if any) or writes one (args are the indices followed
// by the new value, last). args are the caller's own variants: a parameter passed by
// reference is written back into its element. Failures raise EOleException with a
// message; an unknown member raises EOleException naming it.
class IAutomationObject {
public:
  virtual ~IAutomationObject();
  virtual Variant Invoke(const AnsiString& name, TInvokeKind kind, std::span<Variant> args) = 0;
};

// An automation object whose members are registered by name. A method also answers a
// property read and a property getter also answers a call, as late-bound calls of
// either form reach the same member. Any exception of a member reaches the caller as
// EOleException with the same message.
class TAutoObject : public TObject, public IAutomationObject {
  TAVO_CLASS(TAutoObject, TObject)
public:
  using TMethodFunc = std::function<Variant(std::span<Variant> args)>;
  using TGetterFunc = std::function<Variant(std::span<Variant> indices)>;
  using TSetterFunc = std::function<void(std::span<Variant> indices, const Variant& value)>;

  Variant Invoke(const AnsiString& name, TInvokeKind kind, std::span<Variant> args) override;
  bool HasMember(const AnsiString& name) const;

protected:
  // paramCount < 0 accepts any number of arguments; otherwise a call with another count
  // raises EOleException "Invalid number of parameters".
  void RegisterMethod(const AnsiString& name, TMethodFunc method, int paramCount = -1);
  // A property without a setter is read-only; one without a getter write-only.
  void RegisterProperty(const AnsiString& name, TGetterFunc getter, TSetterFunc setter = {});

private:
  struct TMember {
    AnsiString Name;
    TMethodFunc Method;
    int ParamCount = -1;
    TGetterFunc Getter;
    TSetterFunc Setter;
  };
  TMember* FindMember(const AnsiString& name);
  const TMember* FindMember(const AnsiString& name) const;
  std::vector<TMember> FMembers;
};

// ---- Late-bound calls -----------------------------------------------------------------
//
// obj is a Variant holding a dispatch (a shared pointer of an automation object converts
// to one); anything else raises EOleError "Variant does not reference an automation
// object". Exceptions other than EOleError raised by the object arrive as EOleException.
// The span forms write by-reference results back into the caller's variants; the
// initializer-list forms pass copies.

Variant Call(const Variant& obj, const AnsiString& name);
Variant Call(const Variant& obj, const AnsiString& name, std::span<Variant> args);
Variant Call(const Variant& obj, const AnsiString& name, std::initializer_list<Variant> args);
Variant Get(const Variant& obj, const AnsiString& name);
Variant Get(const Variant& obj, const AnsiString& name, std::span<Variant> indices);
Variant Get(const Variant& obj, const AnsiString& name, std::initializer_list<Variant> indices);
void Put(const Variant& obj, const AnsiString& name, const Variant& value);
void Put(const Variant& obj, const AnsiString& name, std::initializer_list<Variant> indices,
         const Variant& value);

// ---- Creation by ProgID ---------------------------------------------------------------

using TComObjectFactory = std::function<std::shared_ptr<IAutomationObject>()>;

// Registers (or replaces) an in-process class; ProgIDs match case-insensitively.
void RegisterComFactory(const AnsiString& progId, TComObjectFactory factory);
void UnregisterComFactory(const AnsiString& progId);

// Finds the class among the registered factories, then in the registry under
// HKEY_CLASSES_ROOT\<ProgID>\InprocServer32, whose default value names the server
// library. The library stays loaded for the rest of the process, since the objects it
// made run its code. An unknown ProgID raises EOleSysError "Invalid class string".
Variant CreateOleObject(const AnsiString& progId);

// The export of an in-process server library: fills *out with a new object of class
// progId and returns true, or returns false when the library does not serve that class.
// It must not let an exception escape.
extern "C" bool DllCreateObject(const char* progId, std::shared_ptr<IAutomationObject>* out);
using TDllCreateObject = bool (*)(const char* progId, std::shared_ptr<IAutomationObject>* out);
