#include "platform/vcl/TypInfo.h"

#include "platform/vcl/Components.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>

namespace {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

AnsiString UpperKey(const AnsiString& s) {
  AnsiString r = s;
  for (char& c : r) c = AsciiUpper(c);
  return r;
}

bool SameName(const AnsiString& a, const AnsiString& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

AnsiString TrimBlanks(const AnsiString& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

struct TTypeRegistry {
  std::map<AnsiString, std::unique_ptr<TTypeInfo>> ByName;  // upper-case names
  std::map<const TMetaClass*, std::unique_ptr<TTypeInfo>> ByClass;
  std::recursive_mutex Lock;
};

TTypeRegistry& Types() {
  static TTypeRegistry* registry = new TTypeRegistry;
  return *registry;
}

TTypeInfo* NamedType(const char* name, TTypeKind kind, bool& created) {
  auto& reg = Types();
  auto& slot = reg.ByName[UpperKey(name)];
  created = !slot;
  if (!slot) {
    slot = std::make_unique<TTypeInfo>();
    slot->Kind = kind;
    slot->Name = name;
  }
  return slot.get();
}

[[noreturn]] void RaiseUnknown(const AnsiString& name) {
  throw EPropertyError("Property " + name + " does not exist");
}
[[noreturn]] void RaiseReadOnly(const AnsiString& name) {
  throw EPropertyError("Property " + name + " is read-only");
}
[[noreturn]] void RaiseInvalidType(PPropInfo prop) {
  throw EPropertyError("Invalid property type: " + prop->PropType->Name);
}
[[noreturn]] void RaiseInvalidValue() { throw EPropertyError("Invalid property value"); }

PPropInfo Require(const TObject* obj, const AnsiString& name) {
  PPropInfo p = obj ? GetPropInfo(obj, name) : nullptr;
  if (!p) RaiseUnknown(name);
  return p;
}

bool IsOrdinalKind(TTypeKind k) {
  return k == tkInteger || k == tkChar || k == tkEnumeration || k == tkSet;
}

bool ParseInteger(const AnsiString& text, int64_t& value) {
  AnsiString t = TrimBlanks(text);
  if (t.empty()) return false;
  bool negative = false;
  size_t i = 0;
  if (t[0] == '-' || t[0] == '+') {
    negative = t[0] == '-';
    i = 1;
  }
  int base = 10;
  if (i < t.size() && t[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= t.size()) return false;
  uint64_t v = 0;
  auto res = std::from_chars(t.data() + i, t.data() + t.size(), v, base);
  if (res.ec != std::errc() || res.ptr != t.data() + t.size()) return false;
  // Hexadecimal literals are bit patterns: $FFFFFFFF is -1 in a 32-bit property.
  if (base == 16 && v <= 0xFFFFFFFFull && v > 0x7FFFFFFFull) v = static_cast<uint64_t>(static_cast<int32_t>(v));
  value = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
  return true;
}

AnsiString FloatToText(double v) {
  char buf[64];
  for (int precision = 15; precision <= 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, v);
    double back = 0;
    std::from_chars(buf, buf + std::strlen(buf), back);
    if (back == v) break;
  }
  return buf;
}

bool TextToDouble(const AnsiString& text, double& v) {
  AnsiString t = TrimBlanks(text);
  if (t.empty()) return false;
  const char* b = t.data();
  if (*b == '+') ++b;
  auto res = std::from_chars(b, t.data() + t.size(), v);
  return res.ec == std::errc() && res.ptr == t.data() + t.size();
}

const TClassData* DataOf(const TMetaClass* cls) { return &GetClassData(cls); }

}  // namespace

// ---- Identifier tables ----------------------------------------------------------------

bool IdentToInt(const AnsiString& ident, int& value, std::span<const TIdentMapEntry> map) {
  for (const auto& e : map)
    if (SameName(ident, e.Name)) {
      value = e.Value;
      return true;
    }
  return false;
}

bool IntToIdent(int value, AnsiString& ident, std::span<const TIdentMapEntry> map) {
  for (const auto& e : map)
    if (e.Value == value) {
      ident = e.Name;
      return true;
    }
  return false;
}

// ---- Type descriptors -----------------------------------------------------------------

const TTypeInfo* EnumTypeInfo(const char* name, const char* commaSeparatedNames) {
  std::lock_guard guard(Types().Lock);
  bool created = false;
  TTypeInfo* t = NamedType(name, tkEnumeration, created);
  if (created) {
    AnsiString all = commaSeparatedNames;
    size_t start = 0;
    while (start <= all.size()) {
      size_t comma = all.find(',', start);
      if (comma == AnsiString::npos) comma = all.size();
      AnsiString item = TrimBlanks(all.substr(start, comma - start));
      if (!item.empty()) t->EnumNames.push_back(item);
      start = comma + 1;
    }
  }
  return t;
}

const TTypeInfo* SetTypeInfo(const char* name, const TTypeInfo* elementType) {
  std::lock_guard guard(Types().Lock);
  bool created = false;
  TTypeInfo* t = NamedType(name, tkSet, created);
  if (created) t->CompType = elementType;
  return t;
}

const TTypeInfo* IntegerTypeInfo(const char* name) {
  std::lock_guard guard(Types().Lock);
  bool created = false;
  return NamedType(name, tkInteger, created);
}

const TTypeInfo* FloatTypeInfo(const char* name) {
  std::lock_guard guard(Types().Lock);
  bool created = false;
  return NamedType(name, tkFloat, created);
}

const TTypeInfo* ClassTypeInfo(const TMetaClass* cls) {
  auto& reg = Types();
  std::lock_guard guard(reg.Lock);
  auto& slot = reg.ByClass[cls];
  if (!slot) {
    slot = std::make_unique<TTypeInfo>();
    slot->Kind = tkClass;
    slot->Name = cls->ClassName();
    slot->ClassType = cls;
  }
  return slot.get();
}

const TTypeInfo* MethodTypeInfo(const char* name, const std::type_info& signature) {
  std::lock_guard guard(Types().Lock);
  bool created = false;
  TTypeInfo* t = NamedType(name, tkMethod, created);
  if (created) t->Signature = &signature;
  return t;
}

const TTypeInfo* FindTypeInfo(const AnsiString& name) {
  auto& reg = Types();
  std::lock_guard guard(reg.Lock);
  auto it = reg.ByName.find(UpperKey(name));
  if (it != reg.ByName.end()) return it->second.get();
  for (auto& [cls, info] : reg.ByClass)
    if (SameName(cls->ClassName(), name)) return info.get();
  return nullptr;
}

void RegisterIntegerConsts(const char* typeName, TIdentToInt identToInt, TIntToIdent intToIdent) {
  std::lock_guard guard(Types().Lock);
  bool created = false;
  TTypeInfo* t = NamedType(typeName, tkInteger, created);
  t->IdentToIntFn = identToInt;
  t->IntToIdentFn = intToIdent;
}

TIdentToInt FindIdentToInt(const TTypeInfo* type) { return type ? type->IdentToIntFn : nullptr; }
TIntToIdent FindIntToIdent(const TTypeInfo* type) { return type ? type->IntToIdentFn : nullptr; }

AnsiString GetEnumName(const TTypeInfo* type, int value) {
  if (!type || type->Kind != tkEnumeration || value < 0 ||
      value >= static_cast<int>(type->EnumNames.size()))
    return "";
  return type->EnumNames[value];
}

int GetEnumValue(const TTypeInfo* type, const AnsiString& name) {
  if (!type || type->Kind != tkEnumeration) return -1;
  for (size_t i = 0; i < type->EnumNames.size(); ++i)
    if (SameName(type->EnumNames[i], name)) return static_cast<int>(i);
  return -1;
}

AnsiString SetToString(const TTypeInfo* setType, uint32_t bits, bool brackets) {
  AnsiString r;
  const TTypeInfo* comp = setType ? setType->CompType : nullptr;
  for (int i = 0; i < 32; ++i) {
    if (!(bits & (uint32_t(1) << i))) continue;
    if (!r.empty()) r += ',';
    AnsiString n = GetEnumName(comp, i);
    r += n.empty() ? std::to_string(i) : n;
  }
  return brackets ? "[" + r + "]" : r;
}

uint32_t StringToSet(const TTypeInfo* setType, const AnsiString& text) {
  AnsiString t = TrimBlanks(text);
  if (!t.empty() && t.front() == '[') {
    if (t.back() != ']') RaiseInvalidValue();
    t = t.substr(1, t.size() - 2);
  }
  uint32_t bits = 0;
  size_t start = 0;
  while (start <= t.size()) {
    size_t comma = t.find(',', start);
    if (comma == AnsiString::npos) comma = t.size();
    AnsiString item = TrimBlanks(t.substr(start, comma - start));
    if (!item.empty()) {
      int v = GetEnumValue(setType ? setType->CompType : nullptr, item);
      if (v < 0 || v >= 32) throw EPropertyError("Invalid property element: " + item);
      bits |= uint32_t(1) << v;
    }
    start = comma + 1;
  }
  return bits;
}

const TTypeInfo* TypeInfoOf(int*) { return IntegerTypeInfo("Integer"); }
const TTypeInfo* TypeInfoOf(short*) { return IntegerTypeInfo("Smallint"); }
const TTypeInfo* TypeInfoOf(long*) { return IntegerTypeInfo("Int64"); }
const TTypeInfo* TypeInfoOf(long long*) { return IntegerTypeInfo("Int64"); }
const TTypeInfo* TypeInfoOf(unsigned*) { return IntegerTypeInfo("Cardinal"); }
const TTypeInfo* TypeInfoOf(unsigned short*) { return IntegerTypeInfo("Word"); }
const TTypeInfo* TypeInfoOf(unsigned char*) { return IntegerTypeInfo("Byte"); }
const TTypeInfo* TypeInfoOf(bool*) {
  static const TTypeInfo* info = EnumTypeInfo("Boolean", "False, True");
  return info;
}
const TTypeInfo* TypeInfoOf(char*) {
  std::lock_guard guard(Types().Lock);
  bool created = false;
  return NamedType("Char", tkChar, created);
}
const TTypeInfo* TypeInfoOf(double*) { return FloatTypeInfo("Double"); }
const TTypeInfo* TypeInfoOf(float*) { return FloatTypeInfo("Single"); }
const TTypeInfo* TypeInfoOf(AnsiString*) {
  std::lock_guard guard(Types().Lock);
  bool created = false;
  return NamedType("string", tkString, created);
}

// ---- Method references ----------------------------------------------------------------

const TMethodCode* InternMethodCode(const TMethodCode& proto) {
  struct TKey {
    const TMethodCode* Code;
    bool operator<(const TKey& o) const {
      if (Code->Class != o.Code->Class) return Code->Class->before(*o.Code->Class);
      if (Code->Signature != o.Code->Signature) {
        if (*Code->Signature != *o.Code->Signature) return Code->Signature->before(*o.Code->Signature);
      }
      return Code->Target < o.Code->Target;
    }
  };
  static std::recursive_mutex lock;
  static auto* store = new std::set<TKey>;
  std::lock_guard guard(lock);
  auto it = store->find(TKey{&proto});
  if (it != store->end()) return it->Code;
  auto* code = new TMethodCode(proto);
  store->insert(TKey{code});
  return code;
}

void ThrowSignatureMismatch() {
  throw EInvalidOperation("The handler's parameters do not match the event");
}

void ThrowInvalidPropertyValue() { RaiseInvalidValue(); }

// ---- Class tables ---------------------------------------------------------------------

const TClassData& GetClassData(const TMetaClass* cls) {
  static std::recursive_mutex lock;
  std::lock_guard guard(lock);
  if (!cls->Extension) {
    auto* data = new TClassData;
    cls->Extension = data;
    if (cls->Publish) cls->Publish(*data);
  }
  return static_cast<const TClassData&>(*cls->Extension);
}

void PublishAncestorProps(TClassData& data, const TMetaClass* cls,
                          std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const TPropInfo* found = nullptr;
    for (const TMetaClass* c = cls->ClassParent(); c && !found; c = c->ClassParent()) {
      const TClassData& d = GetClassData(c);
      for (auto* list : {&d.Props, &d.Declared}) {
        for (auto& p : *list)
          if (SameName(p->Name, name)) {
            found = p.get();
            break;
          }
        if (found) break;
      }
    }
    if (!found)
      throw EPropertyError(cls->ClassName() + " publishes " + name + ", which no ancestor declares");
    data.Props.push_back(std::make_unique<TPropInfo>(*found));
  }
}

bool TPropInfo::IsWritable() const {
  switch (PropType->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
      return static_cast<bool>(SetOrd);
    case tkFloat:
      return static_cast<bool>(SetFloat);
    case tkString:
      return static_cast<bool>(SetStr);
    case tkClass:
      return static_cast<bool>(SetObj);
    case tkMethod:
      return static_cast<bool>(SetMethod);
    case tkUnknown:
      return false;
  }
  return false;
}

PPropInfo GetPropInfo(const TMetaClass* cls, const AnsiString& name) {
  for (const TMetaClass* c = cls; c; c = c->ClassParent()) {
    const TClassData* d = DataOf(c);
    for (auto& p : d->Props)
      if (SameName(p->Name, name)) return p.get();
  }
  return nullptr;
}

PPropInfo GetPropInfo(const TObject* obj, const AnsiString& name) {
  return obj ? GetPropInfo(obj->ClassType(), name) : nullptr;
}

bool IsPublishedProp(const TObject* obj, const AnsiString& name) { return GetPropInfo(obj, name) != nullptr; }
bool IsPublishedProp(const TMetaClass* cls, const AnsiString& name) { return GetPropInfo(cls, name) != nullptr; }

TPropList GetPropList(const TMetaClass* cls) {
  std::vector<const TMetaClass*> chain;
  for (const TMetaClass* c = cls; c; c = c->ClassParent()) chain.push_back(c);
  TPropList list;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (auto& p : DataOf(*it)->Props) {
      auto same = std::find_if(list.begin(), list.end(), [&](PPropInfo q) { return SameName(q->Name, p->Name); });
      if (same != list.end())
        *same = p.get();
      else
        list.push_back(p.get());
    }
  }
  return list;
}

TPropList GetPropList(const TObject* obj) { return obj ? GetPropList(obj->ClassType()) : TPropList{}; }

PPropInfo GetPropInfoByType(const TObject* obj, const AnsiString& name, TTypeKind kind) {
  PPropInfo p = GetPropInfo(obj, name);
  return (p && p->Kind() == kind) ? p : nullptr;
}

const TPublishedMethod* FindPublishedMethod(const TMetaClass* cls, const AnsiString& name) {
  for (const TMetaClass* c = cls; c; c = c->ClassParent())
    for (auto& m : DataOf(c)->Methods)
      if (SameName(m.Name, name)) return &m;
  return nullptr;
}

const TPublishedField* FindPublishedField(const TMetaClass* cls, const AnsiString& name) {
  for (const TMetaClass* c = cls; c; c = c->ClassParent())
    for (auto& f : DataOf(c)->Fields)
      if (SameName(f.Name, name)) return &f;
  return nullptr;
}

std::vector<const TPublishedField*> GetPublishedFields(const TMetaClass* cls) {
  std::vector<const TPublishedField*> r;
  for (const TMetaClass* c = cls; c; c = c->ClassParent())
    for (auto& f : DataOf(c)->Fields) r.push_back(&f);
  return r;
}

const TMessageHandler* FindMessageHandler(const TMetaClass* cls, UINT msg, const TMetaClass* below) {
  const TMetaClass* start = cls;
  if (below) start = below->ClassParent();
  for (const TMetaClass* c = start; c; c = c->ClassParent())
    for (auto& h : DataOf(c)->Messages)
      if (h.Msg == msg) return &h;
  return nullptr;
}

void* TObject::MethodAddress(const AnsiString& name) const {
  const TPublishedMethod* m = FindPublishedMethod(ClassType(), name);
  return m ? const_cast<TMethodCode*>(m->Code) : nullptr;
}

AnsiString TObject::MethodName(const void* code) const {
  if (!code) return "";
  for (const TMetaClass* c = ClassType(); c; c = c->ClassParent())
    for (auto& m : DataOf(c)->Methods)
      if (m.Code == code) return m.Name;
  return "";
}

// ---- Access by name -------------------------------------------------------------------

int64_t GetOrdProp(TObject* obj, PPropInfo prop) {
  if (!IsOrdinalKind(prop->Kind())) RaiseInvalidType(prop);
  return prop->GetOrd(obj);
}

void SetOrdProp(TObject* obj, PPropInfo prop, int64_t value) {
  if (!IsOrdinalKind(prop->Kind())) RaiseInvalidType(prop);
  if (!prop->SetOrd) RaiseReadOnly(prop->Name);
  if (prop->Kind() == tkEnumeration && (value < 0 || value > prop->PropType->MaxValue()))
    RaiseInvalidValue();
  prop->SetOrd(obj, value);
}

int64_t GetOrdProp(TObject* obj, const AnsiString& name) { return GetOrdProp(obj, Require(obj, name)); }
void SetOrdProp(TObject* obj, const AnsiString& name, int64_t value) { SetOrdProp(obj, Require(obj, name), value); }

AnsiString GetStrProp(TObject* obj, PPropInfo prop) {
  if (prop->Kind() != tkString) RaiseInvalidType(prop);
  return prop->GetStr(obj);
}

void SetStrProp(TObject* obj, PPropInfo prop, const AnsiString& value) {
  if (prop->Kind() != tkString) RaiseInvalidType(prop);
  if (!prop->SetStr) RaiseReadOnly(prop->Name);
  prop->SetStr(obj, value);
}

AnsiString GetStrProp(TObject* obj, const AnsiString& name) { return GetStrProp(obj, Require(obj, name)); }
void SetStrProp(TObject* obj, const AnsiString& name, const AnsiString& value) {
  SetStrProp(obj, Require(obj, name), value);
}

double GetFloatProp(TObject* obj, const AnsiString& name) {
  PPropInfo p = Require(obj, name);
  if (p->Kind() != tkFloat) RaiseInvalidType(p);
  return p->GetFloat(obj);
}

void SetFloatProp(TObject* obj, const AnsiString& name, double value) {
  PPropInfo p = Require(obj, name);
  if (p->Kind() != tkFloat) RaiseInvalidType(p);
  if (!p->SetFloat) RaiseReadOnly(p->Name);
  p->SetFloat(obj, value);
}

TObject* GetObjectProp(TObject* obj, const AnsiString& name) {
  PPropInfo p = Require(obj, name);
  if (p->Kind() != tkClass) RaiseInvalidType(p);
  return p->GetObj(obj);
}

void SetObjectProp(TObject* obj, const AnsiString& name, TObject* value) {
  PPropInfo p = Require(obj, name);
  if (p->Kind() != tkClass) RaiseInvalidType(p);
  if (!p->SetObj) RaiseReadOnly(p->Name);
  if (value && !value->InheritsFrom(p->PropType->ClassType)) RaiseInvalidValue();
  p->SetObj(obj, value);
}

TMethod GetMethodProp(TObject* obj, const AnsiString& name) {
  PPropInfo p = Require(obj, name);
  if (p->Kind() != tkMethod) RaiseInvalidType(p);
  return p->GetMethod(obj);
}

void SetMethodProp(TObject* obj, PPropInfo p, const TMethod& value) {
  if (p->Kind() != tkMethod) RaiseInvalidType(p);
  if (!p->SetMethod) RaiseReadOnly(p->Name);
  if (value.Code) {
    auto code = static_cast<const TMethodCode*>(value.Code);
    if (*code->Signature != *p->PropType->Signature) RaiseInvalidValue();
  }
  p->SetMethod(obj, value);
}

void SetMethodProp(TObject* obj, const AnsiString& name, const TMethod& value) {
  SetMethodProp(obj, Require(obj, name), value);
}

AnsiString GetEnumProp(TObject* obj, const AnsiString& name) {
  PPropInfo p = Require(obj, name);
  if (p->Kind() != tkEnumeration) RaiseInvalidType(p);
  return GetEnumName(p->PropType, static_cast<int>(p->GetOrd(obj)));
}

void SetEnumProp(TObject* obj, const AnsiString& name, const AnsiString& value) {
  PPropInfo p = Require(obj, name);
  if (p->Kind() != tkEnumeration) RaiseInvalidType(p);
  int v = GetEnumValue(p->PropType, TrimBlanks(value));
  if (v < 0) RaiseInvalidValue();
  SetOrdProp(obj, p, v);
}

AnsiString GetSetProp(TObject* obj, const AnsiString& name, bool brackets) {
  PPropInfo p = Require(obj, name);
  if (p->Kind() != tkSet) RaiseInvalidType(p);
  return SetToString(p->PropType, static_cast<uint32_t>(p->GetOrd(obj)), brackets);
}

void SetSetProp(TObject* obj, const AnsiString& name, const AnsiString& value) {
  PPropInfo p = Require(obj, name);
  if (p->Kind() != tkSet) RaiseInvalidType(p);
  SetOrdProp(obj, p, StringToSet(p->PropType, value));
}

Variant GetPropValue(TObject* obj, PPropInfo p, bool preferStrings) {
  switch (p->Kind()) {
    case tkInteger:
    case tkChar: {
      int64_t v = p->GetOrd(obj);
      if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int>(v));
      return Variant(static_cast<long long>(v));
    }
    case tkEnumeration: {
      int64_t v = p->GetOrd(obj);
      if (p->PropType == TypeInfoOf(static_cast<bool*>(nullptr))) return Variant(v != 0);
      if (preferStrings) return Variant(GetEnumName(p->PropType, static_cast<int>(v)));
      return Variant(static_cast<int>(v));
    }
    case tkSet: {
      auto bits = static_cast<uint32_t>(p->GetOrd(obj));
      if (preferStrings) return Variant(SetToString(p->PropType, bits, false));
      return Variant(static_cast<int>(bits));
    }
    case tkFloat:
      return Variant(p->GetFloat(obj));
    case tkString:
      return Variant(p->GetStr(obj));
    case tkClass:
    case tkMethod:
    case tkUnknown:
      RaiseInvalidType(p);
  }
  RaiseInvalidType(p);
}

Variant GetPropValue(TObject* obj, const AnsiString& name, bool preferStrings) {
  return GetPropValue(obj, Require(obj, name), preferStrings);
}

void SetPropValue(TObject* obj, PPropInfo p, const Variant& value) {
  switch (p->Kind()) {
    case tkInteger: {
      int64_t v = 0;
      if (VarIsStr(value)) {
        AnsiString text = TrimBlanks(VarToStr(value));
        int ident = 0;
        if (TIdentToInt fn = FindIdentToInt(p->PropType); fn && fn(text, ident))
          v = ident;
        else if (!ParseInteger(text, v))
          RaiseInvalidValue();
      } else {
        v = value.AsInt64();
      }
      SetOrdProp(obj, p, v);
      return;
    }
    case tkChar: {
      if (VarIsStr(value)) {
        AnsiString text = VarToStr(value);
        if (text.size() != 1) RaiseInvalidValue();
        SetOrdProp(obj, p, static_cast<unsigned char>(text[0]));
      } else {
        SetOrdProp(obj, p, value.AsInteger());
      }
      return;
    }
    case tkEnumeration: {
      if (VarIsStr(value)) {
        int v = GetEnumValue(p->PropType, TrimBlanks(VarToStr(value)));
        if (v < 0) RaiseInvalidValue();
        SetOrdProp(obj, p, v);
      } else if (VarType(value) == varBoolean) {
        SetOrdProp(obj, p, value.AsBoolean() ? 1 : 0);
      } else {
        SetOrdProp(obj, p, value.AsInteger());
      }
      return;
    }
    case tkSet:
      if (VarIsStr(value))
        SetOrdProp(obj, p, StringToSet(p->PropType, VarToStr(value)));
      else
        SetOrdProp(obj, p, static_cast<uint32_t>(value.AsInt64()));
      return;
    case tkFloat:
      if (!p->SetFloat) RaiseReadOnly(p->Name);
      p->SetFloat(obj, value.AsDouble());
      return;
    case tkString:
      SetStrProp(obj, p, VarToStr(value));
      return;
    case tkClass:
    case tkMethod:
    case tkUnknown:
      RaiseInvalidType(p);
  }
}

void SetPropValue(TObject* obj, const AnsiString& name, const Variant& value) {
  SetPropValue(obj, Require(obj, name), value);
}

AnsiString GetPropText(TObject* obj, PPropInfo p) {
  switch (p->Kind()) {
    case tkInteger: {
      int64_t v = p->GetOrd(obj);
      AnsiString ident;
      if (TIntToIdent fn = FindIntToIdent(p->PropType); fn && fn(static_cast<int>(v), ident)) return ident;
      return std::to_string(v);
    }
    case tkChar:
      return AnsiString(1, static_cast<char>(p->GetOrd(obj)));
    case tkEnumeration:
      return GetEnumName(p->PropType, static_cast<int>(p->GetOrd(obj)));
    case tkSet:
      return SetToString(p->PropType, static_cast<uint32_t>(p->GetOrd(obj)));
    case tkFloat:
      return FloatToText(p->GetFloat(obj));
    case tkString:
      return p->GetStr(obj);
    case tkMethod: {
      TMethod m = p->GetMethod(obj);
      if (!m.Code) return "";
      auto code = static_cast<const TMethodCode*>(m.Code);
      TObject* self = code->SelfOf ? code->SelfOf(m.Data) : nullptr;
      return self ? self->MethodName(m.Code) : AnsiString();
    }
    case tkClass:
    case tkUnknown:
      RaiseInvalidType(p);
  }
  RaiseInvalidType(p);
}

void SetPropText(TObject* obj, PPropInfo p, const AnsiString& text) {
  switch (p->Kind()) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
    case tkString:
      SetPropValue(obj, p, Variant(text));
      return;
    case tkFloat: {
      double v = 0;
      if (!TextToDouble(text, v)) RaiseInvalidValue();
      if (!p->SetFloat) RaiseReadOnly(p->Name);
      p->SetFloat(obj, v);
      return;
    }
    case tkMethod: {
      AnsiString name = TrimBlanks(text);
      if (name.empty()) {
        SetMethodProp(obj, p, TMethod{});
        return;
      }
      // The handler is a published method of the object or of the component it belongs to.
      std::vector<TObject*> candidates{obj};
      if (auto* component = dynamic_cast<TComponent*>(obj))
        for (TComponent* o = component->GetOwner(); o; o = o->GetOwner()) candidates.push_back(o);
      for (TObject* c : candidates) {
        if (const TPublishedMethod* m = FindPublishedMethod(c->ClassType(), name)) {
          SetMethodProp(obj, p, TMethod{const_cast<TMethodCode*>(m->Code), m->Code->DataOf(c)});
          return;
        }
      }
      RaiseInvalidValue();
    }
    case tkClass:
    case tkUnknown:
      RaiseInvalidType(p);
  }
}

// ---- Access by path -------------------------------------------------------------------

PPropInfo ResolvePropPath(TObject* obj, const AnsiString& path, TObject*& target) {
  target = nullptr;
  TObject* current = obj;
  size_t start = 0;
  while (current) {
    size_t dot = path.find('.', start);
    AnsiString segment = path.substr(start, dot == AnsiString::npos ? AnsiString::npos : dot - start);
    PPropInfo p = GetPropInfo(current, TrimBlanks(segment));
    if (!p) return nullptr;
    if (dot == AnsiString::npos) {
      target = current;
      return p;
    }
    if (p->Kind() != tkClass) return nullptr;
    current = p->GetObj(current);
    start = dot + 1;
  }
  return nullptr;
}

namespace {
PPropInfo RequirePath(TObject* obj, const AnsiString& path, TObject*& target) {
  PPropInfo p = ResolvePropPath(obj, path, target);
  if (!p) RaiseUnknown(path);
  return p;
}
}  // namespace

Variant GetPropValueByPath(TObject* obj, const AnsiString& path, bool preferStrings) {
  TObject* target = nullptr;
  PPropInfo p = RequirePath(obj, path, target);
  return GetPropValue(target, p, preferStrings);
}

void SetPropValueByPath(TObject* obj, const AnsiString& path, const Variant& value) {
  TObject* target = nullptr;
  PPropInfo p = RequirePath(obj, path, target);
  SetPropValue(target, p, value);
}

AnsiString GetPropTextByPath(TObject* obj, const AnsiString& path) {
  TObject* target = nullptr;
  PPropInfo p = RequirePath(obj, path, target);
  return GetPropText(target, p);
}

void SetPropTextByPath(TObject* obj, const AnsiString& path, const AnsiString& text) {
  TObject* target = nullptr;
  PPropInfo p = RequirePath(obj, path, target);
  SetPropText(target, p, text);
}
