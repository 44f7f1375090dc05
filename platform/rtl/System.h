// The runtime library's core: text types, the root object class with its class
// descriptor, and the exception hierarchy.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

// Text in the process's ANSI code page, and UTF-16 text as automation passes it.
using AnsiString = std::string;
using WideString = std::u16string;

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

class TObject;
class TComponent;

// Creates a component of one class with its owner; classes that cannot be made that way
// have none.
using TComponentFactory = TObject* (*)(TComponent* owner);

// One descriptor per class: its name and parent. The component model hangs its published
// property and method tables and the factory of a class off the same descriptor.
class TMetaClass {
public:
  // The slot for the component model's per-class data (properties, methods, fields,
  // message handlers), built on first use by Publish.
  struct TExtension {
    virtual ~TExtension() = default;
  };
  using TPublishProc = void (*)(TExtension& data);

  TMetaClass(const char* name, const TMetaClass* parent, TComponentFactory factory = nullptr,
             TPublishProc publish = nullptr);
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;
  ~TMetaClass();

  const AnsiString& ClassName() const { return Name; }
  const TMetaClass* ClassParent() const { return Parent; }
  bool InheritsFrom(const TMetaClass* other) const;

  TComponentFactory Factory;
  TPublishProc Publish;
  // Owned; filled lazily by the component model, hence mutable on a const descriptor.
  mutable TExtension* Extension = nullptr;

private:
  AnsiString Name;
  const TMetaClass* Parent;
};

template <class C>
constexpr TComponentFactory TavoFactoryOf() {
  if constexpr (std::is_constructible_v<C, TComponent*> && !std::is_abstract_v<C>)
    return [](TComponent* owner) -> TObject* { return new C(owner); };
  else
    return nullptr;
}

// Declares the class descriptor of a TObject descendant. The matching
// TAVO_CLASS_IMPL goes in exactly one .cpp, so that every module of the process sees
// one descriptor per class. A class constructible from its owner (TComponent*) gets a
// factory, so form resources can create it by name.
#define TAVO_CLASS(Cls, Base)                              \
public:                                                    \
  using inherited = Base;                                  \
  static const TMetaClass* StaticClass();                  \
  const TMetaClass* ClassType() const override;            \
                                                           \
private:

#define TAVO_CLASS_IMPL(Cls, Base)                                                  \
  const TMetaClass* Cls::StaticClass() {                                            \
    static const TMetaClass meta(#Cls, Base::StaticClass(), TavoFactoryOf<Cls>());  \
    return &meta;                                                                   \
  }                                                                                 \
  const TMetaClass* Cls::ClassType() const { return StaticClass(); }

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();

  static const TMetaClass* StaticClass();
  virtual const TMetaClass* ClassType() const;
  const AnsiString& ClassName() const { return ClassType()->ClassName(); }
  const TMetaClass* ClassParent() const { return ClassType()->ClassParent(); }
  bool InheritsFrom(const TMetaClass* cls) const { return ClassType()->InheritsFrom(cls); }

  // The code part of the published method `name` of this object's class or an ancestor
  // (case-insensitive), nullptr when there is none; and the name of a published method
  // from its code ("" when unknown).
  void* MethodAddress(const AnsiString& name) const;
  AnsiString MethodName(const void* code) const;
};

class TPersistent : public TObject {
  TAVO_CLASS(TPersistent, TObject)
public:
  // Copies the state of source; raises EConvertError when the kinds do not match.
  virtual void Assign(const TPersistent* source);
};

// ---- Exceptions -----------------------------------------------------------------------

// The root of the runtime's exceptions: a message and a class name readable at run time.
class Exception : public std::exception {
public:
  explicit Exception(AnsiString message);
  ~Exception() override;
  const char* what() const noexcept override { return Message.c_str(); }
  virtual const char* ClassName() const;

  AnsiString Message;
  int HelpContext = 0;
};

#define TAVO_EXCEPTION(Cls, Base)                              \
  class Cls : public Base {                                    \
  public:                                                      \
    using Base::Base;                                          \
    const char* ClassName() const override;                    \
  };

TAVO_EXCEPTION(EConvertError, Exception)
TAVO_EXCEPTION(EAbort, Exception)
TAVO_EXCEPTION(EAccessViolation, Exception)
TAVO_EXCEPTION(EListError, Exception)
TAVO_EXCEPTION(EStringListError, Exception)
TAVO_EXCEPTION(EVariantError, Exception)
TAVO_EXCEPTION(EVariantTypeCastError, EVariantError)
TAVO_EXCEPTION(EOleError, Exception)
TAVO_EXCEPTION(EOleSysError, EOleError)
TAVO_EXCEPTION(EOleException, EOleSysError)
TAVO_EXCEPTION(EComponentError, Exception)
TAVO_EXCEPTION(EClassNotFound, Exception)
TAVO_EXCEPTION(EInvalidOperation, Exception)
TAVO_EXCEPTION(EPropertyError, Exception)
TAVO_EXCEPTION(EReadError, Exception)

// Input/output failures carry the operating system's error code.
class EInOutError : public Exception {
public:
  EInOutError(AnsiString message, int errorCode);
  const char* ClassName() const override;
  int ErrorCode;
};

class EWin32Error : public Exception {
public:
  EWin32Error(AnsiString message, uint32_t errorCode);
  const char* ClassName() const override;
  uint32_t ErrorCode;
};

// Raises EAbort with the customary empty message: the silent exception.
[[noreturn]] void Abort();

// ---- Open argument lists ------------------------------------------------------------

// One element of an open argument list ("array of const"), as Format takes them.
struct TVarRec {
  enum TKind { vtInteger, vtInt64, vtBoolean, vtChar, vtExtended, vtString, vtWideString, vtPointer };

  TVarRec(int v) : VType(vtInteger), VInteger(v) {}
  TVarRec(unsigned v) : VType(vtInt64), VInteger(v) {}
  TVarRec(long v) : VType(vtInt64), VInteger(v) {}
  TVarRec(long long v) : VType(vtInt64), VInteger(v) {}
  TVarRec(unsigned long v) : VType(vtInt64), VInteger(static_cast<int64_t>(v)) {}
  TVarRec(unsigned long long v) : VType(vtInt64), VInteger(static_cast<int64_t>(v)) {}
  TVarRec(bool v) : VType(vtBoolean), VInteger(v) {}
  TVarRec(char v) : VType(vtChar), VInteger(static_cast<unsigned char>(v)) {}
  TVarRec(double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(const char* v) : VType(vtString), VString(v ? v : "") {}
  TVarRec(AnsiString v) : VType(vtString), VString(std::move(v)) {}
  TVarRec(std::string_view v) : VType(vtString), VString(v) {}
  TVarRec(WideString v) : VType(vtWideString), VWideString(std::move(v)) {}
  TVarRec(const void* v) : VType(vtPointer), VPointer(v) {}

  TKind VType;
  int64_t VInteger = 0;
  double VExtended = 0;
  AnsiString VString;
  WideString VWideString;
  const void* VPointer = nullptr;
};
