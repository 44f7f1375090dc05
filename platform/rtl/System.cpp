#include "platform/rtl/System.h"

#include <utility>

TMetaClass::TMetaClass(const char* name, const TMetaClass* parent, TComponentFactory factory,
                       TPublishProc publish)
    : Factory(factory), Publish(publish), Name(name), Parent(parent) {}

TMetaClass::~TMetaClass() { delete Extension; }

bool TMetaClass::InheritsFrom(const TMetaClass* other) const {
  for (const TMetaClass* c = this; c; c = c->Parent)
    if (c == other) return true;
  return false;
}

TObject::~TObject() = default;

const TMetaClass* TObject::StaticClass() {
  static const TMetaClass meta("TObject", nullptr);
  return &meta;
}

const TMetaClass* TObject::ClassType() const { return StaticClass(); }

TAVO_CLASS_IMPL(TPersistent, TObject)

void TPersistent::Assign(const TPersistent* source) {
  const AnsiString from = source ? source->ClassName() : AnsiString("nil");
  throw EConvertError("Cannot assign a " + from + " to a " + ClassName());
}

Exception::Exception(AnsiString message) : Message(std::move(message)) {}
Exception::~Exception() = default;
const char* Exception::ClassName() const { return "Exception"; }

#define TAVO_EXCEPTION_IMPL(Cls) \
  const char* Cls::ClassName() const { return #Cls; }

TAVO_EXCEPTION_IMPL(EConvertError)
TAVO_EXCEPTION_IMPL(EAbort)
TAVO_EXCEPTION_IMPL(EAccessViolation)
TAVO_EXCEPTION_IMPL(EListError)
TAVO_EXCEPTION_IMPL(EStringListError)
TAVO_EXCEPTION_IMPL(EVariantError)
TAVO_EXCEPTION_IMPL(EVariantTypeCastError)
TAVO_EXCEPTION_IMPL(EOleError)
TAVO_EXCEPTION_IMPL(EOleSysError)
TAVO_EXCEPTION_IMPL(EOleException)
TAVO_EXCEPTION_IMPL(EComponentError)
TAVO_EXCEPTION_IMPL(EClassNotFound)
TAVO_EXCEPTION_IMPL(EInvalidOperation)
TAVO_EXCEPTION_IMPL(EPropertyError)
TAVO_EXCEPTION_IMPL(EReadError)

EInOutError::EInOutError(AnsiString message, int errorCode)
    : Exception(std::move(message)), ErrorCode(errorCode) {}
const char* EInOutError::ClassName() const { return "EInOutError"; }

EWin32Error::EWin32Error(AnsiString message, uint32_t errorCode)
    : Exception(std::move(message)), ErrorCode(errorCode) {}
const char* EWin32Error::ClassName() const { return "EWin32Error"; }

void Abort() { throw EAbort("Operation aborted"); }
