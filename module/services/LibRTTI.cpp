#include "module/services/LibRTTI.h"

namespace {

PPropInfo FindProp(const TObject* obj, const AnsiString& name) {
  if (!obj || name.empty()) return nullptr;
  return GetPropInfo(obj, name);
}

PPropInfo FindPropOfKind(const TObject* obj, const AnsiString& name,
                         std::initializer_list<TTypeKind> kinds) {
  const PPropInfo prop = FindProp(obj, name);
  if (!prop) return nullptr;
  for (TTypeKind kind : kinds)
    if (prop->Kind() == kind) return prop;
  return nullptr;
}

}  // namespace

AnsiString GetStrPropByName(TObject* obj, const AnsiString& name) {
  try {
    if (const PPropInfo prop = FindPropOfKind(obj, name, {tkString})) return GetStrProp(obj, prop);
  } catch (...) {
  }
  return AnsiString();
}

void SetStrPropByName(TObject* obj, const AnsiString& name, const AnsiString& value) {
  try {
    const PPropInfo prop = FindPropOfKind(obj, name, {tkString});
    if (prop && prop->IsWritable()) SetStrProp(obj, prop, value);
  } catch (...) {
  }
}

int64_t GetOrdPropByName(TObject* obj, const AnsiString& name) {
  try {
    const PPropInfo prop =
        FindPropOfKind(obj, name, {tkInteger, tkChar, tkEnumeration, tkSet, tkClass});
    if (!prop) return 0;
    if (prop->Kind() == tkClass)
      return static_cast<int64_t>(reinterpret_cast<intptr_t>(GetObjectProp(obj, prop->Name)));
    return GetOrdProp(obj, prop);
  } catch (...) {
    return 0;
  }
}

void SetOrdPropByName(TObject* obj, const AnsiString& name, int64_t value) {
  try {
    const PPropInfo prop =
        FindPropOfKind(obj, name, {tkInteger, tkChar, tkEnumeration, tkSet, tkClass});
    if (!prop || !prop->IsWritable()) return;
    switch (prop->Kind()) {
      case tkClass:
        SetObjectProp(obj, prop->Name, reinterpret_cast<TObject*>(static_cast<intptr_t>(value)));
        return;
      case tkEnumeration:
        if (value < prop->PropType->MinValue() || value > prop->PropType->MaxValue()) return;
        SetOrdProp(obj, prop, value);
        return;
      case tkInteger:
      case tkChar:
      case tkSet:
        SetOrdProp(obj, prop, value);
        return;
      case tkUnknown:
      case tkFloat:
      case tkString:
      case tkMethod:
        return;
    }
  } catch (...) {
  }
}

TMethod GetMethodPropByName(TObject* obj, const AnsiString& name) {
  try {
    if (const PPropInfo prop = FindPropOfKind(obj, name, {tkMethod}))
      return GetMethodProp(obj, prop->Name);
  } catch (...) {
  }
  return TMethod();
}

void SetMethodPropByName(TObject* obj, const AnsiString& name, const TMethod& value) {
  try {
    const PPropInfo prop = FindPropOfKind(obj, name, {tkMethod});
    if (prop && prop->IsWritable()) SetMethodProp(obj, prop, value);
  } catch (...) {
  }
}

bool HasPropByName(const TObject* obj, const AnsiString& name) {
  try {
    return FindProp(obj, name) != nullptr;
  } catch (...) {
    return false;
  }
}
