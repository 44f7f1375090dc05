// Run-time type information: type descriptors (enumerations with their value names, sets,
// integer types with identifier mappings, classes, method types), the published
// property, method, field and message tables of each class, method references (events),
// and access to published properties by name and by path.
//
// A class publishes its members once, in its .cpp, one line each:
//
//   TAVO_PUBLISHED(TButton, TButtonControl) {
//     P.Publish({"Caption", "Enabled", "Font", "OnClick"});   // declared by an ancestor
//     P.Bool("Default", &TButton::GetDefault, &TButton::SetDefault);
//     P.Int("ModalResult", &TButton::ModalResult, &TButton::ModalResult, "TModalResult");
//     P.Enum("Align", &TControl::GetAlign);                    // read-only
//     P.Event("OnKeyDown", &TWinControl::OnKeyDown);           // a TAVO_EVENT field
//   }
//
// Integer types with identifiers are named ("TColor", "TCursor", "TFontCharset") and get
// their mapping with RegisterIntegerConsts; enumerations declared with TAVO_ENUM and sets
// with TAVO_SET_INFO carry their value names.
//
// TAVO_PUBLISHED replaces TAVO_CLASS_IMPL for that class. A form publishes its handler
// methods, its component fields and its message handlers the same way:
//
//   P.Method("btnOkClick", &TMyForm::btnOkClick);
//   P.Field("btnOk", &TMyForm::btnOk);
//   P.Message(WM_USER + 10, &TMyForm::WMLookup);
//
// A property without a setter is read-only. P.Protected() switches the following lines to
// declarations a descendant may publish with P.Publish, as the component library keeps
// most control properties protected until a concrete control publishes them.
#pragma once

#include "platform/ole/Variants.h"
#include "platform/rtl/System.h"
#include "platform/vcl/Messages.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

// ---- Sets -----------------------------------------------------------------------------

// A set of up to 32 values of an enumeration whose values run from 0.
template <class E>
class TSet {
public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) FBits |= Bit(v);
  }
  static constexpr TSet FromBits(uint32_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr uint32_t Bits() const { return FBits; }
  constexpr bool Contains(E v) const { return (FBits & Bit(v)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E v) {
    FBits |= Bit(v);
    return *this;
  }
  constexpr TSet& Exclude(E v) {
    FBits &= ~Bit(v);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
  constexpr TSet& operator+=(TSet o) {
    FBits |= o.FBits;
    return *this;
  }
  constexpr TSet& operator-=(TSet o) {
    FBits &= ~o.FBits;
    return *this;
  }
  constexpr bool operator==(const TSet&) const = default;

private:
  static constexpr uint32_t Bit(E v) { return uint32_t(1) << static_cast<unsigned>(v); }
  uint32_t FBits = 0;
};

// ---- Type descriptors -----------------------------------------------------------------

enum TTypeKind {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod
};

// Identifier mappings of integer types (colours, cursors, character sets): the
// conversion functions Delphi registers with RegisterIntegerConsts.
using TIdentToInt = bool (*)(const AnsiString& ident, int& value);
using TIntToIdent = bool (*)(int value, AnsiString& ident);

struct TIdentMapEntry {
  int Value;
  const char* Name;
};

// Lookups in an identifier table; names compare case-insensitively.
bool IdentToInt(const AnsiString& ident, int& value, std::span<const TIdentMapEntry> map);
bool IntToIdent(int value, AnsiString& ident, std::span<const TIdentMapEntry> map);

class TTypeInfo {
public:
  TTypeKind Kind = tkUnknown;
  AnsiString Name;
  // tkEnumeration: the value names by ordinal.
  std::vector<AnsiString> EnumNames;
  // tkSet: the element type.
  const TTypeInfo* CompType = nullptr;
  // tkClass: the class.
  const TMetaClass* ClassType = nullptr;
  // tkMethod: typeid(void(Args...)) of the handler's parameters.
  const std::type_info* Signature = nullptr;
  // tkInteger: the registered identifier mapping, if any.
  TIdentToInt IdentToIntFn = nullptr;
  TIntToIdent IntToIdentFn = nullptr;

  int MinValue() const { return 0; }
  int MaxValue() const { return static_cast<int>(EnumNames.size()) - 1; }
};

// Descriptors are created once per name and live as long as the process.
const TTypeInfo* EnumTypeInfo(const char* name, const char* commaSeparatedNames);
const TTypeInfo* SetTypeInfo(const char* name, const TTypeInfo* elementType);
const TTypeInfo* IntegerTypeInfo(const char* name);
const TTypeInfo* ClassTypeInfo(const TMetaClass* cls);
const TTypeInfo* MethodTypeInfo(const char* name, const std::type_info& signature);
const TTypeInfo* FindTypeInfo(const AnsiString& name);  // nullptr when unknown

// Gives the integer type `typeName` (created when new) an identifier mapping.
void RegisterIntegerConsts(const char* typeName, TIdentToInt identToInt, TIntToIdent intToIdent);
TIdentToInt FindIdentToInt(const TTypeInfo* type);
TIntToIdent FindIntToIdent(const TTypeInfo* type);

// Value names of enumerations, both ways; GetEnumValue is case-insensitive and answers -1
// for an unknown name.
AnsiString GetEnumName(const TTypeInfo* type, int value);
int GetEnumValue(const TTypeInfo* type, const AnsiString& name);

// "[fsBold,fsItalic]" both ways; brackets optional when reading, blanks ignored. An
// unknown element raises EPropertyError "Invalid property element: %s".
AnsiString SetToString(const TTypeInfo* setType, uint32_t bits, bool brackets = true);
uint32_t StringToSet(const TTypeInfo* setType, const AnsiString& text);

// Built-in types.
const TTypeInfo* TypeInfoOf(int*);
const TTypeInfo* TypeInfoOf(short*);
const TTypeInfo* TypeInfoOf(long*);
const TTypeInfo* TypeInfoOf(long long*);
const TTypeInfo* TypeInfoOf(unsigned*);
const TTypeInfo* TypeInfoOf(unsigned short*);
const TTypeInfo* TypeInfoOf(unsigned char*);
const TTypeInfo* TypeInfoOf(bool*);
const TTypeInfo* TypeInfoOf(char*);
const TTypeInfo* TypeInfoOf(double*);
const TTypeInfo* TypeInfoOf(float*);
const TTypeInfo* TypeInfoOf(AnsiString*);

// The descriptor of T: the built-ins above, enumerations declared with TAVO_ENUM or
// TAVO_ENUM_INFO, sets declared with TAVO_SET_INFO, and TObject descendants.
template <class T>
const TTypeInfo* TypeInfo() {
  if constexpr (std::is_pointer_v<T> && std::is_base_of_v<TObject, std::remove_pointer_t<T>>)
    return ClassTypeInfo(std::remove_pointer_t<T>::StaticClass());
  else
    return TypeInfoOf(static_cast<T*>(nullptr));
}

// Declares an enumeration (values from 0, no initialisers) together with its value names.
#define TAVO_ENUM(Name, ...)                                 \
  enum Name { __VA_ARGS__ };                                 \
  inline const TTypeInfo* TypeInfoOf(Name*) {                \
    static const TTypeInfo* info = EnumTypeInfo(#Name, #__VA_ARGS__); \
    return info;                                             \
  }

// Value names for an enumeration declared elsewhere; list every value in order.
#define TAVO_ENUM_INFO(Name, ...)                            \
  inline const TTypeInfo* TypeInfoOf(Name*) {                \
    static const TTypeInfo* info = EnumTypeInfo(#Name, #__VA_ARGS__); \
    return info;                                             \
  }

// Names the set type over an enumeration: TAVO_SET_INFO(TFontStyles, TFontStyle).
#define TAVO_SET_INFO(SetName, Enum)                                               \
  using SetName = TSet<Enum>;                                                      \
  inline const TTypeInfo* TypeInfoOf(TSet<Enum>*) {                                \
    static const TTypeInfo* info = SetTypeInfo(#SetName, TypeInfoOf(static_cast<Enum*>(nullptr))); \
    return info;                                                                   \
  }

// Names an existing set class (with FromBits and Bits or ToBits) over an enumeration.
#define TAVO_SET_TYPEINFO(SetName, Enum)                                           \
  inline const TTypeInfo* TypeInfoOf(SetName*) {                                   \
    static const TTypeInfo* info = SetTypeInfo(#SetName, TypeInfoOf(static_cast<Enum*>(nullptr))); \
    return info;                                                                   \
  }

template <class S>
uint32_t SetBitsOf(const S& set) {
  if constexpr (requires { set.Bits(); })
    return static_cast<uint32_t>(set.Bits());
  else
    return static_cast<uint32_t>(set.ToBits());
}

// ---- Method references ----------------------------------------------------------------

// A method reference: the code of a method and the object it runs on, as Delphi's TMethod.
// Two references are equal when both parts are.
struct TMethod {
  void* Code = nullptr;
  void* Data = nullptr;
  bool operator==(const TMethod&) const = default;
};

// The record a method reference's Code points to: one per member function of a class,
// so the same method always has the same code.
struct TMethodCode {
  const std::type_info* Class = nullptr;      // the class declaring the method
  const std::type_info* Signature = nullptr;  // typeid(void(Args...))
  void* Invoker = nullptr;                    // void (*)(const TMethodCode*, void*, Args...)
  // The Data part for an object, or nullptr when the object is not of the class; and the
  // object a Data part stands for (nullptr when the class is no TObject).
  void* (*DataOf)(TObject* self) = nullptr;
  TObject* (*SelfOf)(void* data) = nullptr;
  std::array<unsigned char, 16> Target{};     // the member function pointer's bytes
};

// Returns the one stored record equal to proto (by Class, Signature and Target).
const TMethodCode* InternMethodCode(const TMethodCode& proto);

template <class C, class... Args>
const TMethodCode* MethodCodeOf(void (C::*fn)(Args...)) {
  using TFn = void (C::*)(Args...);
  static_assert(sizeof(TFn) <= 16, "member function pointers are two words");
  struct TThunk {
    static void Invoke(const TMethodCode* code, void* data, Args... args) {
      TFn f;
      std::memcpy(&f, code->Target.data(), sizeof(TFn));
      (static_cast<C*>(data)->*f)(std::forward<Args>(args)...);
    }
    static void* DataOf(TObject* self) {
      if constexpr (std::is_base_of_v<TObject, C>)
        return static_cast<void*>(dynamic_cast<C*>(self));
      else
        return nullptr;
    }
    static TObject* SelfOf(void* data) {
      if constexpr (std::is_base_of_v<TObject, C>)
        return static_cast<TObject*>(static_cast<C*>(data));
      else
        return nullptr;
    }
  };
  TMethodCode proto;
  proto.Class = &typeid(C);
  proto.Signature = &typeid(void(Args...));
  proto.Invoker = reinterpret_cast<void*>(&TThunk::Invoke);
  proto.DataOf = &TThunk::DataOf;
  proto.SelfOf = &TThunk::SelfOf;
  std::memcpy(proto.Target.data(), &fn, sizeof(TFn));
  return InternMethodCode(proto);
}

[[noreturn]] void ThrowSignatureMismatch();

// A typed method reference. Calling an unassigned one does nothing; calling one whose
// code has other parameters raises EInvalidOperation.
template <class... Args>
class TEvent {
public:
  TEvent() = default;
  explicit TEvent(const TMethod& method) : Method(method) {}
  template <class C, class O>
  TEvent(O* object, void (C::*fn)(Args...)) {
    C* self = object;
    Method.Code = const_cast<TMethodCode*>(MethodCodeOf(fn));
    Method.Data = static_cast<void*>(self);
  }

  static const std::type_info& Signature() { return typeid(void(Args...)); }

  bool Assigned() const { return Method.Code != nullptr; }
  explicit operator bool() const { return Assigned(); }
  bool operator==(const TEvent&) const = default;

  void operator()(Args... args) const {
    if (!Method.Code) return;
    auto code = static_cast<const TMethodCode*>(Method.Code);
    if (*code->Signature != Signature()) ThrowSignatureMismatch();
    auto invoke = reinterpret_cast<void (*)(const TMethodCode*, void*, Args...)>(code->Invoker);
    invoke(code, Method.Data, std::forward<Args>(args)...);
  }

  TMethod Method;
};

// Declares a named event type: TAVO_EVENT(TNotifyEvent, TObject*).
#define TAVO_EVENT(Name, ...)                                  \
  struct Name : TEvent<__VA_ARGS__> {                          \
    using TEvent::TEvent;                                      \
    static constexpr const char* TypeName = #Name;             \
  };

TAVO_EVENT(TNotifyEvent, TObject*)

// ---- Published tables -----------------------------------------------------------------

// One published property. Only the accessor pair of the property's kind is set
// (ordinal for integer, char, enumeration and set kinds); no setter means read-only.
class TPropInfo {
public:
  AnsiString Name;
  const TTypeInfo* PropType = nullptr;
  const TMetaClass* Owner = nullptr;  // the class that declares it

  std::function<int64_t(TObject*)> GetOrd;
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<double(TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<AnsiString(TObject*)> GetStr;
  std::function<void(TObject*, const AnsiString&)> SetStr;
  std::function<TObject*(TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<TMethod(TObject*)> GetMethod;
  std::function<void(TObject*, const TMethod&)> SetMethod;

  TTypeKind Kind() const { return PropType->Kind; }
  bool IsWritable() const;
};

struct TPublishedMethod {
  AnsiString Name;
  const TMethodCode* Code;
};

// A component field of a form, bound to the component of the same name by the resource
// reader and cleared when that component goes away.
struct TPublishedField {
  AnsiString Name;
  const TMetaClass* FieldClass;
  std::function<TObject*(TObject*)> Get;
  // Assigns when value is of FieldClass (or nullptr); returns false otherwise.
  std::function<bool(TObject*, TObject*)> Set;
};

struct TMessageHandler {
  UINT Msg;
  std::function<void(TObject*, TMessage&)> Handler;
};

// The per-class tables, hung off TMetaClass::Extension.
class TClassData : public TMetaClass::TExtension {
public:
  std::vector<std::unique_ptr<TPropInfo>> Props;      // published, in declaration order
  std::vector<std::unique_ptr<TPropInfo>> Declared;   // protected, for descendants to publish
  std::vector<TPublishedMethod> Methods;
  std::vector<TPublishedField> Fields;
  std::vector<TMessageHandler> Messages;
};

// The tables of one class (its own entries; lookups below walk the class chain).
const TClassData& GetClassData(const TMetaClass* cls);

template <class C>
class TPublisher {
public:
  explicit TPublisher(TClassData& data) : Data(data) {}

  // Following lines declare protected properties instead of publishing them.
  void Protected() { Hidden = true; }
  // Publishes properties an ancestor declared (protected or published).
  void Publish(std::initializer_list<const char*> names);

  template <class G, class S = std::nullptr_t>
  TPropInfo& Int(const char* name, G get, S set = nullptr, const char* typeName = nullptr) {
    using R = Value<G>;
    const TTypeInfo* type = typeName ? IntegerTypeInfo(typeName) : TypeInfo<R>();
    return Ordinal<R>(name, type, get, set);
  }
  template <class G, class S = std::nullptr_t>
  TPropInfo& Char(const char* name, G get, S set = nullptr) {
    return Ordinal<Value<G>>(name, TypeInfoOf(static_cast<char*>(nullptr)), get, set);
  }
  template <class G, class S = std::nullptr_t>
  TPropInfo& Bool(const char* name, G get, S set = nullptr) {
    return Ordinal<Value<G>>(name, TypeInfoOf(static_cast<bool*>(nullptr)), get, set);
  }
  template <class G, class S = std::nullptr_t>
  TPropInfo& Enum(const char* name, G get, S set = nullptr) {
    using R = Value<G>;
    return Ordinal<R>(name, TypeInfo<R>(), get, set);
  }
  template <class G, class S = std::nullptr_t>
  TPropInfo& Set(const char* name, G get, S set = nullptr) {
    using R = Value<G>;
    TPropInfo& p = Add(name, TypeInfo<R>());
    p.GetOrd = [get](TObject* o) -> int64_t { return SetBitsOf(Read(o, get)); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetOrd = [set](TObject* o, int64_t v) { Write(o, set, R::FromBits(static_cast<uint32_t>(v))); };
    return p;
  }
  // An ordinal property of an explicitly given type (one enumeration published under the
  // name of a narrower one, as TBorderStyle over TFormBorderStyle).
  template <class G, class S = std::nullptr_t>
  TPropInfo& Typed(const char* name, const TTypeInfo* type, G get, S set = nullptr) {
    return Ordinal<Value<G>>(name, type, get, set);
  }
  template <class G, class S = std::nullptr_t>
  TPropInfo& Float(const char* name, G get, S set = nullptr, const char* typeName = "Double") {
    using R = Value<G>;
    TPropInfo& p = Add(name, FloatType(typeName));
    p.GetFloat = [get](TObject* o) -> double { return static_cast<double>(Read(o, get)); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetFloat = [set](TObject* o, double v) { Write(o, set, static_cast<R>(v)); };
    return p;
  }
  template <class G, class S = std::nullptr_t>
  TPropInfo& Str(const char* name, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TypeInfoOf(static_cast<AnsiString*>(nullptr)));
    p.GetStr = [get](TObject* o) -> AnsiString { return AnsiString(Read(o, get)); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetStr = [set](TObject* o, const AnsiString& v) { Write(o, set, v); };
    return p;
  }
  // An object property (TFont*, TStrings* …).
  template <class G, class S = std::nullptr_t>
  TPropInfo& Obj(const char* name, G get, S set = nullptr) {
    using R = Value<G>;
    using T = std::remove_pointer_t<R>;
    TPropInfo& p = Add(name, ClassTypeInfo(T::StaticClass()));
    p.GetObj = [get](TObject* o) -> TObject* { return Read(o, get); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetObj = [set](TObject* o, TObject* v) {
        T* typed = v ? dynamic_cast<T*>(v) : nullptr;
        if (v && !typed) ThrowInvalidPropertyValue();
        Write(o, set, typed);
      };
    return p;
  }
  // An event stored in a public field of a TAVO_EVENT type.
  template <class E>
  TPropInfo& Event(const char* name, E C::*field) {
    TPropInfo& p = Add(name, MethodTypeInfo(E::TypeName, E::Signature()));
    p.GetMethod = [field](TObject* o) -> TMethod { return (Self(o)->*field).Method; };
    p.SetMethod = [field](TObject* o, const TMethod& m) { (Self(o)->*field).Method = m; };
    return p;
  }
  template <class E, class B>
    requires(!std::is_same_v<B, C> && std::is_base_of_v<B, C>)
  TPropInfo& Event(const char* name, E B::*field) {
    return Event(name, static_cast<E C::*>(field));
  }

  // A published method, found by MethodAddress(name).
  template <class B, class... Args>
  void Method(const char* name, void (B::*fn)(Args...)) {
    Data.Methods.push_back({name, MethodCodeOf(fn)});
  }
  // A component field bound by name when the form's resource is read.
  template <class T, class B>
  void Field(const char* name, T* B::*field) {
    static_assert(std::is_base_of_v<TObject, T>);
    Data.Fields.push_back(
        {name, T::StaticClass(), [field](TObject* o) -> TObject* { return Self(o)->*field; },
         [field](TObject* o, TObject* v) {
           T* typed = v ? dynamic_cast<T*>(v) : nullptr;
           if (v && !typed) return false;
           Self(o)->*field = typed;
           return true;
         }});
  }
  // A handler for one message number, run by Dispatch before the ancestors' handlers.
  template <class B>
  void Message(UINT msg, void (B::*fn)(TMessage&)) {
    Data.Messages.push_back({msg, [fn](TObject* o, TMessage& m) { (Self(o)->*fn)(m); }});
  }

  template <class Fn>
  static void Entry(TMetaClass::TExtension& data) {
    TPublisher<C> p(static_cast<TClassData&>(data));
    Fn::Run(p);
  }

private:
  template <class G>
  using Value = std::decay_t<decltype(std::invoke(std::declval<G>(), std::declval<C*>()))>;

  static C* Self(TObject* o) { return static_cast<C*>(o); }
  template <class G>
  static decltype(auto) Read(TObject* o, G get) {
    return std::invoke(get, Self(o));
  }
  template <class S, class V>
  static void Write(TObject* o, S set, V&& v) {
    if constexpr (std::is_member_function_pointer_v<S>)
      std::invoke(set, Self(o), std::forward<V>(v));
    else
      std::invoke(set, Self(o)) = std::forward<V>(v);
  }
  template <class R, class G, class S>
  TPropInfo& Ordinal(const char* name, const TTypeInfo* type, G get, S set) {
    TPropInfo& p = Add(name, type);
    p.GetOrd = [get](TObject* o) -> int64_t {
      return static_cast<int64_t>(static_cast<std::conditional_t<std::is_same_v<R, char>, unsigned char, R>>(Read(o, get)));
    };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetOrd = [set](TObject* o, int64_t v) { Write(o, set, static_cast<R>(v)); };
    return p;
  }
  TPropInfo& Add(const char* name, const TTypeInfo* type) {
    auto info = std::make_unique<TPropInfo>();
    info->Name = name;
    info->PropType = type;
    info->Owner = C::StaticClass();
    auto& list = Hidden ? Data.Declared : Data.Props;
    list.push_back(std::move(info));
    return *list.back();
  }
  static const TTypeInfo* FloatType(const char* name);
  [[noreturn]] static void ThrowInvalidPropertyValue();

  TClassData& Data;
  bool Hidden = false;
};

// Implementation details of TPublisher shared by every class.
void PublishAncestorProps(TClassData& data, const TMetaClass* cls,
                          std::initializer_list<const char*> names);
const TTypeInfo* FloatTypeInfo(const char* name);
[[noreturn]] void ThrowInvalidPropertyValue();

template <class C>
void TPublisher<C>::Publish(std::initializer_list<const char*> names) {
  PublishAncestorProps(Data, C::StaticClass(), names);
}
template <class C>
const TTypeInfo* TPublisher<C>::FloatType(const char* name) {
  return FloatTypeInfo(name);
}
template <class C>
void TPublisher<C>::ThrowInvalidPropertyValue() {
  ::ThrowInvalidPropertyValue();
}

// Defines the class descriptor of Cls (in place of TAVO_CLASS_IMPL) followed by the body
// that publishes its members through `P`.
#define TAVO_PUBLISHED(Cls, Base)                                                     \
  namespace {                                                                         \
  struct TavoPublish_##Cls {                                                          \
    static void Run(TPublisher<Cls>& P);                                              \
  };                                                                                  \
  }                                                                                   \
  const TMetaClass* Cls::StaticClass() {                                              \
    static const TMetaClass meta(#Cls, Base::StaticClass(), TavoFactoryOf<Cls>(),     \
                                 &TPublisher<Cls>::Entry<TavoPublish_##Cls>);         \
    return &meta;                                                                     \
  }                                                                                   \
  const TMetaClass* Cls::ClassType() const { return StaticClass(); }                  \
  void TavoPublish_##Cls::Run([[maybe_unused]] TPublisher<Cls>& P)

// ---- Lookups --------------------------------------------------------------------------

using PPropInfo = const TPropInfo*;
using TPropList = std::vector<PPropInfo>;

// Case-insensitive, from the class towards its ancestors; nullptr when not published.
PPropInfo GetPropInfo(const TMetaClass* cls, const AnsiString& name);
PPropInfo GetPropInfo(const TObject* obj, const AnsiString& name);
bool IsPublishedProp(const TObject* obj, const AnsiString& name);
bool IsPublishedProp(const TMetaClass* cls, const AnsiString& name);
// Every published property, ancestors' first; a property a descendant publishes again
// keeps its ancestor's place.
TPropList GetPropList(const TMetaClass* cls);
TPropList GetPropList(const TObject* obj);
PPropInfo GetPropInfoByType(const TObject* obj, const AnsiString& name, TTypeKind kind);

const TPublishedMethod* FindPublishedMethod(const TMetaClass* cls, const AnsiString& name);
const TPublishedField* FindPublishedField(const TMetaClass* cls, const AnsiString& name);
std::vector<const TPublishedField*> GetPublishedFields(const TMetaClass* cls);
// The message handler of the class or its nearest ancestor that has one; `below`
// restricts the search to the ancestors of that class (for inherited handling).
const TMessageHandler* FindMessageHandler(const TMetaClass* cls, UINT msg,
                                          const TMetaClass* below = nullptr);

// ---- Access by name -------------------------------------------------------------------
//
// Errors: an unknown property raises EPropertyError "Property %s does not exist", a
// write to a read-only one "Property %s is read-only", a value of the wrong kind
// "Invalid property value", an access through the wrong kind "Invalid property type: %s".

int64_t GetOrdProp(TObject* obj, const AnsiString& name);
void SetOrdProp(TObject* obj, const AnsiString& name, int64_t value);
int64_t GetOrdProp(TObject* obj, PPropInfo prop);
void SetOrdProp(TObject* obj, PPropInfo prop, int64_t value);
AnsiString GetStrProp(TObject* obj, const AnsiString& name);
void SetStrProp(TObject* obj, const AnsiString& name, const AnsiString& value);
AnsiString GetStrProp(TObject* obj, PPropInfo prop);
void SetStrProp(TObject* obj, PPropInfo prop, const AnsiString& value);
double GetFloatProp(TObject* obj, const AnsiString& name);
void SetFloatProp(TObject* obj, const AnsiString& name, double value);
TObject* GetObjectProp(TObject* obj, const AnsiString& name);
void SetObjectProp(TObject* obj, const AnsiString& name, TObject* value);
TMethod GetMethodProp(TObject* obj, const AnsiString& name);
void SetMethodProp(TObject* obj, const AnsiString& name, const TMethod& value);
void SetMethodProp(TObject* obj, PPropInfo prop, const TMethod& value);
AnsiString GetEnumProp(TObject* obj, const AnsiString& name);
void SetEnumProp(TObject* obj, const AnsiString& name, const AnsiString& value);
AnsiString GetSetProp(TObject* obj, const AnsiString& name, bool brackets = true);
void SetSetProp(TObject* obj, const AnsiString& name, const AnsiString& value);

// As Delphi's: integers and chars as Integer, Booleans as Boolean, other enumerations and
// sets as their names (as ordinals when preferStrings is false), floats as Double, texts
// as String. Writing takes any variant convertible to the kind: an enumeration or a set
// also from its text, an integer type with an identifier mapping also from an
// identifier (clRed), a char from a one-character text.
Variant GetPropValue(TObject* obj, const AnsiString& name, bool preferStrings = true);
void SetPropValue(TObject* obj, const AnsiString& name, const Variant& value);
Variant GetPropValue(TObject* obj, PPropInfo prop, bool preferStrings = true);
void SetPropValue(TObject* obj, PPropInfo prop, const Variant& value);

// The one text form of each kind, as form resources and language files write values:
// integers in decimal or as their identifier, chars as themselves, enumerations by name,
// floats in the invariant notation, sets as "[a,b]", method references by the published
// name of their code on the object they run on.
AnsiString GetPropText(TObject* obj, PPropInfo prop);
void SetPropText(TObject* obj, PPropInfo prop, const AnsiString& text);

// ---- Access by path -------------------------------------------------------------------
//
// "Font.Name": every segment but the last names an object property of the object before
// it. Resolve answers the property and the object holding it, or nullptr when a segment
// does not exist (or an intermediate object is nil).
PPropInfo ResolvePropPath(TObject* obj, const AnsiString& path, TObject*& target);
Variant GetPropValueByPath(TObject* obj, const AnsiString& path, bool preferStrings = true);
void SetPropValueByPath(TObject* obj, const AnsiString& path, const Variant& value);
AnsiString GetPropTextByPath(TObject* obj, const AnsiString& path);
void SetPropTextByPath(TObject* obj, const AnsiString& path, const AnsiString& text);
