#include "platform/vcl/FormResource.h"

#include "platform/rtl/Classes.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <set>

namespace {

AnsiString Upper(const AnsiString& s) {
  AnsiString r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

bool Same(const AnsiString& a, const AnsiString& b) { return Upper(a) == Upper(b); }

[[noreturn]] void Fail(const AnsiString& resource, int line, const AnsiString& what) {
  throw EReadError(resource + ", line " + std::to_string(line) + ": " + what);
}

// ---- Tokens ---------------------------------------------------------------------------

enum TTokenKind { tkEof, tkIdent, tkInt, tkFloatNum, tkStr, tkSymbol };

struct TToken {
  TTokenKind Kind = tkEof;
  AnsiString Text;  // identifier, symbol, or the decoded string
  int64_t Int = 0;
  double Float = 0;
  int Line = 1;
};

class TParser {
public:
  TParser(const AnsiString& text, const AnsiString& name) : Src(text), Name(name) { Next(); }

  TResourceObject ParseRoot() {
    TResourceObject root = ParseObject();
    if (Tok.Kind != tkEof) Error("Unexpected text after the end of the root object");
    return root;
  }

private:
  [[noreturn]] void Error(const AnsiString& what) { Fail(Name, Tok.Line, what); }

  bool IsIdent(const char* word) const { return Tok.Kind == tkIdent && Same(Tok.Text, word); }
  bool IsSymbol(char c) const { return Tok.Kind == tkSymbol && Tok.Text.size() == 1 && Tok.Text[0] == c; }
  void ExpectSymbol(char c) {
    if (!IsSymbol(c)) Error(AnsiString("'") + c + "' expected");
    Next();
  }
  AnsiString ExpectIdent(const char* what) {
    if (Tok.Kind != tkIdent) Error(AnsiString(what) + " expected");
    AnsiString t = Tok.Text;
    Next();
    return t;
  }

  TResourceObject ParseObject() {
    TResourceObject obj;
    obj.Line = Tok.Line;
    if (IsIdent("inherited"))
      obj.Inherited = true;
    else if (!IsIdent("object") && !IsIdent("inline"))
      Error("'object' expected");
    Next();
    AnsiString first = ExpectIdent("Component name");
    if (IsSymbol(':')) {
      Next();
      obj.Name = first;
      obj.ClassName = ExpectIdent("Class name");
    } else {
      obj.ClassName = first;
    }
    if (IsSymbol('[')) {
      Next();
      if (Tok.Kind != tkInt) Error("Integer expected");
      Next();
      ExpectSymbol(']');
    }
    for (;;) {
      if (Tok.Kind == tkEof) Error("'end' expected");
      if (IsIdent("end")) {
        Next();
        return obj;
      }
      if (IsIdent("object") || IsIdent("inherited") || IsIdent("inline")) {
        obj.Children.push_back(ParseObject());
        continue;
      }
      obj.Properties.push_back(ParseProperty());
    }
  }

  TResourceProperty ParseProperty() {
    TResourceProperty p;
    p.Line = Tok.Line;
    p.Name = ExpectIdent("Property name");
    ExpectSymbol('=');
    p.Value = ParseValue();
    return p;
  }

  TResourceValue ParseValue() {
    TResourceValue v;
    v.Line = Tok.Line;
    if (IsSymbol('[')) {
      v.Kind = TResourceValue::vaSet;
      Next();
      while (!IsSymbol(']')) {
        if (Tok.Kind == tkIdent)
          v.SetItems.push_back(Tok.Text);
        else if (Tok.Kind == tkInt)
          v.SetItems.push_back(std::to_string(Tok.Int));
        else
          Error("Set element expected");
        Next();
        if (IsSymbol(',')) Next();
        else if (!IsSymbol(']')) Error("']' expected");
      }
      Next();
    } else if (IsSymbol('(')) {
      v.Kind = TResourceValue::vaList;
      Next();
      while (!IsSymbol(')')) {
        if (Tok.Kind == tkEof) Error("')' expected");
        v.List.push_back(ParseValue());
      }
      Next();
    } else if (IsSymbol('<')) {
      v.Kind = TResourceValue::vaCollection;
      Next();
      while (!IsSymbol('>')) {
        if (!IsIdent("item")) Error("'item' expected");
        Next();
        if (IsSymbol('[')) {
          Next();
          Next();
          ExpectSymbol(']');
        }
        std::vector<TResourceProperty> props;
        while (!IsIdent("end")) {
          if (Tok.Kind == tkEof) Error("'end' expected");
          props.push_back(ParseProperty());
        }
        Next();
        v.Items.push_back(std::move(props));
      }
      Next();
    } else if (IsSymbol('{')) {
      v.Kind = TResourceValue::vaBinary;
      v.Text = ReadBinary();
      Next();
    } else if (Tok.Kind == tkStr) {
      v.Kind = TResourceValue::vaString;
      v.Text = Tok.Text;
      Next();
      while (IsSymbol('+')) {
        Next();
        if (Tok.Kind != tkStr) Error("String expected");
        v.Text += Tok.Text;
        Next();
      }
    } else if (IsSymbol('-') || IsSymbol('+')) {
      bool negative = IsSymbol('-');
      Next();
      if (Tok.Kind == tkInt) {
        v.Kind = TResourceValue::vaInteger;
        v.Integer = negative ? -Tok.Int : Tok.Int;
      } else if (Tok.Kind == tkFloatNum) {
        v.Kind = TResourceValue::vaFloat;
        v.Float = negative ? -Tok.Float : Tok.Float;
      } else {
        Error("Number expected");
      }
      Next();
    } else if (Tok.Kind == tkInt) {
      v.Kind = TResourceValue::vaInteger;
      v.Integer = Tok.Int;
      Next();
    } else if (Tok.Kind == tkFloatNum) {
      v.Kind = TResourceValue::vaFloat;
      v.Float = Tok.Float;
      Next();
    } else if (Tok.Kind == tkIdent) {
      v.Kind = TResourceValue::vaIdent;
      v.Text = Tok.Text;
      Next();
    } else {
      Error("Property value expected");
    }
    return v;
  }

  // The hexadecimal digits up to '}', the current token being '{'.
  AnsiString ReadBinary() {
    AnsiString bytes;
    int high = -1;
    while (Pos < Src.size() && Src[Pos] != '}') {
      char c = Src[Pos++];
      if (c == '\n') ++Line;
      if (static_cast<unsigned char>(c) <= ' ') continue;
      int d = HexDigit(c);
      if (d < 0) Fail(Name, Line, "Invalid binary value");
      if (high < 0) {
        high = d;
      } else {
        bytes += static_cast<char>(high * 16 + d);
        high = -1;
      }
    }
    if (Pos >= Src.size()) Fail(Name, Line, "'}' expected");
    if (high >= 0) Fail(Name, Line, "Invalid binary value");
    ++Pos;  // '}'
    return bytes;
  }

  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  static bool IdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
  static bool IdentChar(char c) { return IdentStart(c) || (c >= '0' && c <= '9') || c == '.'; }

  void SkipBlanks() {
    while (Pos < Src.size()) {
      char c = Src[Pos];
      if (c == '\n') {
        ++Line;
        ++Pos;
      } else if (static_cast<unsigned char>(c) <= ' ') {
        ++Pos;
      } else if (c == '/' && Pos + 1 < Src.size() && Src[Pos + 1] == '/') {
        while (Pos < Src.size() && Src[Pos] != '\n') ++Pos;
      } else {
        break;
      }
    }
  }

  void Next() {
    SkipBlanks();
    Tok = TToken{};
    Tok.Line = Line;
    if (Pos >= Src.size()) return;
    char c = Src[Pos];
    if (IdentStart(c)) {
      size_t b = Pos;
      while (Pos < Src.size() && IdentChar(Src[Pos])) ++Pos;
      Tok.Kind = tkIdent;
      Tok.Text = Src.substr(b, Pos - b);
      return;
    }
    if (c == '\'' || c == '#') {
      Tok.Kind = tkStr;
      Tok.Text = ReadString();
      return;
    }
    if ((c >= '0' && c <= '9') || c == '$') {
      ReadNumber();
      return;
    }
    Tok.Kind = tkSymbol;
    Tok.Text = AnsiString(1, c);
    ++Pos;
  }

  // 'text' and #nn pieces written together form one string; #nn above 255 is a UTF-16
  // code unit, converted to the ANSI code page.
  AnsiString ReadString() {
    AnsiString r;
    for (;;) {
      if (Pos < Src.size() && Src[Pos] == '\'') {
        ++Pos;
        for (;;) {
          if (Pos >= Src.size() || Src[Pos] == '\n') Fail(Name, Line, "Unterminated string");
          if (Src[Pos] == '\'') {
            if (Pos + 1 < Src.size() && Src[Pos + 1] == '\'') {
              r += '\'';
              Pos += 2;
              continue;
            }
            ++Pos;
            break;
          }
          r += Src[Pos++];
        }
      } else if (Pos < Src.size() && Src[Pos] == '#') {
        ++Pos;
        size_t b = Pos;
        int base = 10;
        if (Pos < Src.size() && Src[Pos] == '$') {
          base = 16;
          b = ++Pos;
        }
        while (Pos < Src.size() && HexDigit(Src[Pos]) >= 0 && (base == 16 || (Src[Pos] >= '0' && Src[Pos] <= '9'))) ++Pos;
        unsigned code = 0;
        auto res = std::from_chars(Src.data() + b, Src.data() + Pos, code, base);
        if (b == Pos || res.ec != std::errc() || code > 0xFFFF) Fail(Name, Line, "Invalid character code");
        if (code <= 0xFF)
          r += static_cast<char>(code);
        else
          r += WideToAnsi(WideString(1, static_cast<char16_t>(code)));
      } else {
        return r;
      }
    }
  }

  void ReadNumber() {
    size_t b = Pos;
    if (Src[Pos] == '$') {
      ++Pos;
      size_t d = Pos;
      while (Pos < Src.size() && HexDigit(Src[Pos]) >= 0) ++Pos;
      uint64_t v = 0;
      auto res = std::from_chars(Src.data() + d, Src.data() + Pos, v, 16);
      if (d == Pos || res.ec != std::errc()) Fail(Name, Line, "Invalid number");
      Tok.Kind = tkInt;
      // Eight digits are a 32-bit pattern: $FFFFFFFF is -1.
      Tok.Int = (Pos - d <= 8 && v > 0x7FFFFFFF) ? static_cast<int32_t>(static_cast<uint32_t>(v)) : static_cast<int64_t>(v);
      return;
    }
    while (Pos < Src.size() && Src[Pos] >= '0' && Src[Pos] <= '9') ++Pos;
    bool isFloat = false;
    if (Pos + 1 < Src.size() && Src[Pos] == '.' && Src[Pos + 1] >= '0' && Src[Pos + 1] <= '9') {
      isFloat = true;
      ++Pos;
      while (Pos < Src.size() && Src[Pos] >= '0' && Src[Pos] <= '9') ++Pos;
    }
    if (Pos < Src.size() && (Src[Pos] == 'e' || Src[Pos] == 'E')) {
      size_t e = Pos + 1;
      if (e < Src.size() && (Src[e] == '+' || Src[e] == '-')) ++e;
      if (e < Src.size() && Src[e] >= '0' && Src[e] <= '9') {
        isFloat = true;
        Pos = e;
        while (Pos < Src.size() && Src[Pos] >= '0' && Src[Pos] <= '9') ++Pos;
      }
    }
    AnsiString digits = Src.substr(b, Pos - b);
    // Single, currency and date values carry a one-letter suffix.
    if (Pos < Src.size() && (Src[Pos] == 's' || Src[Pos] == 'c' || Src[Pos] == 'd') &&
        !(Pos + 1 < Src.size() && IdentChar(Src[Pos + 1]))) {
      isFloat = true;
      ++Pos;
    }
    if (isFloat) {
      Tok.Kind = tkFloatNum;
      auto res = std::from_chars(digits.data(), digits.data() + digits.size(), Tok.Float);
      if (res.ec != std::errc()) Fail(Name, Line, "Invalid number");
    } else {
      Tok.Kind = tkInt;
      auto res = std::from_chars(digits.data(), digits.data() + digits.size(), Tok.Int);
      if (res.ec != std::errc()) Fail(Name, Line, "Invalid number");
    }
  }

  const AnsiString& Src;
  AnsiString Name;
  size_t Pos = 0;
  int Line = 1;
  TToken Tok;
};

// ---- Registries -----------------------------------------------------------------------

std::map<AnsiString, TFormResource>& Resources() {
  static auto* map = new std::map<AnsiString, TFormResource>;
  return *map;
}

struct TDefinedKey {
  const TMetaClass* Class;
  AnsiString Name;
  bool operator<(const TDefinedKey& o) const {
    return Class != o.Class ? std::less<const TMetaClass*>()(Class, o.Class) : Name < o.Name;
  }
};

std::map<TDefinedKey, TDefinedPropertyReader>& DefinedProperties() {
  static auto* map = new std::map<TDefinedKey, TDefinedPropertyReader>;
  return *map;
}

const TDefinedPropertyReader* FindDefined(const TMetaClass* cls, const AnsiString& name) {
  auto& map = DefinedProperties();
  for (const TMetaClass* c = cls; c; c = c->ClassParent()) {
    auto it = map.find(TDefinedKey{c, Upper(name)});
    if (it != map.end()) return &it->second;
  }
  return nullptr;
}

void LoadBitmapData(TBitmap* bitmap, const AnsiString& bytes, size_t offset) {
  if (bytes.size() < offset) throw EReadError("Invalid binary value");
  bitmap->LoadFromBuffer(bytes.data() + offset, bytes.size() - offset);
}

// The values the component library writes outside published properties.
struct TBuiltInDefinedProperties {
  TBuiltInDefinedProperties() {
    RegisterDefinedProperty(TStrings::StaticClass(), "Strings", [](TObject* o, const TResourceValue& v) {
      if (v.Kind != TResourceValue::vaList) throw EReadError("Invalid property value");
      auto* strings = static_cast<TStrings*>(o);
      strings->BeginUpdate();
      strings->Clear();
      for (const TResourceValue& item : v.List) {
        if (item.Kind == TResourceValue::vaString)
          strings->Add(item.Text);
        else if (item.Kind == TResourceValue::vaInteger)
          strings->Add(std::to_string(item.Integer));
        else {
          strings->EndUpdate();
          throw EReadError("Invalid property value");
        }
      }
      strings->EndUpdate();
    });
    // A bitmap's data: its size as four bytes, then the BMP file.
    RegisterDefinedProperty(TBitmap::StaticClass(), "Data", [](TObject* o, const TResourceValue& v) {
      if (v.Kind != TResourceValue::vaBinary) throw EReadError("Invalid property value");
      LoadBitmapData(static_cast<TBitmap*>(o), v.Text, 4);
    });
    // A picture's data: the graphic's class name as a short string, then its data.
    RegisterDefinedProperty(TPicture::StaticClass(), "Data", [](TObject* o, const TResourceValue& v) {
      if (v.Kind != TResourceValue::vaBinary || v.Text.empty()) throw EReadError("Invalid property value");
      size_t nameLength = static_cast<unsigned char>(v.Text[0]);
      if (v.Text.size() < 1 + nameLength) throw EReadError("Invalid property value");
      if (!Same(v.Text.substr(1, nameLength), "TBitmap")) throw EReadError("Unsupported graphic " + v.Text.substr(1, nameLength));
      LoadBitmapData(static_cast<TPicture*>(o)->GetBitmap(), v.Text, 1 + nameLength + 4);
    });
    // Design information of the form designer, meaningless at run time.
    auto ignore = [](TObject*, const TResourceValue&) {};
    for (const char* name : {"Left", "Top", "DesignSize", "ExplicitLeft", "ExplicitTop", "ExplicitWidth", "ExplicitHeight"})
      RegisterDefinedProperty(TComponent::StaticClass(), name, ignore);
  }
};

void EnsureBuiltIns() { static TBuiltInDefinedProperties builtIns; }

// The class a resource's first line names. Registration happens while libraries load, so
// a damaged resource must not throw here: it is registered under its file's name and its
// errors are reported, with their lines, when its form is created.
AnsiString RootClassName(const AnsiString& text, const AnsiString& resourceName) {
  size_t i = 0;
  auto blanks = [&] {
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  };
  auto word = [&] {
    size_t b = i;
    while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_')) ++i;
    return text.substr(b, i - b);
  };
  blanks();
  AnsiString keyword = word();
  if (Same(keyword, "object") || Same(keyword, "inherited") || Same(keyword, "inline")) {
    blanks();
    word();
    blanks();
    if (i < text.size() && text[i] == ':') {
      ++i;
      blanks();
      AnsiString name = word();
      if (IsValidIdent(name)) return name;
    }
  }
  AnsiString file = resourceName.substr(0, resourceName.rfind('.'));
  size_t slash = file.find_last_of("\\/");
  return slash == AnsiString::npos ? file : file.substr(slash + 1);
}

}  // namespace

TResourceObject ParseFormResource(const AnsiString& text, const AnsiString& resourceName) {
  TParser parser(text, resourceName);
  return parser.ParseRoot();
}

void RegisterFormResource(const AnsiString& text, const AnsiString& resourceName) {
  RegisterFormResource(RootClassName(text, resourceName), text, resourceName);
}

void RegisterFormResource(const AnsiString& className, const AnsiString& text, const AnsiString& resourceName) {
  Resources()[Upper(className)] = TFormResource{className, resourceName, text};
}

void UnregisterFormResource(const AnsiString& className) { Resources().erase(Upper(className)); }

const TFormResource* FindFormResource(const AnsiString& className) {
  auto it = Resources().find(Upper(className));
  return it == Resources().end() ? nullptr : &it->second;
}

void RegisterDefinedProperty(const TMetaClass* cls, const AnsiString& name, TDefinedPropertyReader reader) {
  DefinedProperties()[TDefinedKey{cls, Upper(name)}] = std::move(reader);
}

// ---- The reader -----------------------------------------------------------------------

class TReader {
public:
  TReader(TComponent* root, std::vector<TComponent*>& loaded) : Root(root), Loaded(loaded) {}

  // expectedClass: the class the resource belongs to (the root or one of its ancestors).
  void ReadRoot(const TResourceObject& node, const AnsiString& resourceName, const AnsiString& expectedClass) {
    ResName = resourceName;
    if (!Same(node.ClassName, expectedClass))
      Fail(ResName, node.Line, "The resource describes " + node.ClassName + ", not " + expectedClass);
    Begin(Root);
    if (!node.Name.empty()) Guard(node.Line, [&] { Root->SetName(UniqueRootName(node.Name)); });
    ReadBody(Root, node);
    End(Root);
    ResolveFixups();
  }

private:
  // A second form of a class owned by the same owner gets "_1", "_2" … after its name.
  AnsiString UniqueRootName(const AnsiString& name) {
    TComponent* owner = Root->GetOwner();
    if (!owner) return name;
    AnsiString candidate = name;
    for (int i = 1;; ++i) {
      TComponent* other = owner->FindComponent(candidate);
      if (!other || other == Root) return candidate;
      candidate = name + "_" + std::to_string(i);
    }
  }

  struct TFixup {
    TObject* Instance;
    PPropInfo Prop;
    AnsiString Name;
    int Line;
  };

  template <class Fn>
  void Guard(int line, Fn&& fn) {
    try {
      fn();
    } catch (const EReadError& e) {
      if (e.Message.rfind(ResName + ", line ", 0) == 0) throw;
      Fail(ResName, line, e.Message);
    } catch (const Exception& e) {
      Fail(ResName, line, e.Message);
    }
  }

  void Begin(TComponent* c) {
    c->FComponentState.Include(csLoading);
    c->FComponentState.Include(csReading);
    if (std::find(Loaded.begin(), Loaded.end(), c) == Loaded.end()) Loaded.push_back(c);
  }
  void End(TComponent* c) {
    c->FComponentState.Exclude(csReading);
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->FixupTabList();
  }

  void ReadBody(TComponent* instance, const TResourceObject& node) {
    for (const TResourceProperty& p : node.Properties) ReadProperty(instance, p);
    for (const TResourceObject& child : node.Children) ReadChild(instance, child);
  }

  const TMetaClass* FindComponentClass(const TResourceObject& node) {
    for (const TPublishedField* f : GetPublishedFields(Root->ClassType()))
      if (Same(f->FieldClass->ClassName(), node.ClassName)) return f->FieldClass;
    if (const TMetaClass* c = GetClass(node.ClassName)) return c;
    Fail(ResName, node.Line, "Class " + node.ClassName + " not found");
  }

  void ReadChild(TComponent* parent, const TResourceObject& node) {
    TComponent* c = nullptr;
    if (node.Inherited) {
      c = Root->FindComponent(node.Name);
      if (!c)
        Fail(ResName, node.Line, "The ancestor has no component named " + node.Name);
      if (!Same(c->ClassName(), node.ClassName) && !c->ClassType()->InheritsFrom(FindComponentClass(node)))
        Fail(ResName, node.Line, node.Name + " is a " + c->ClassName() + ", not a " + node.ClassName);
      Begin(c);
    } else {
      const TMetaClass* cls = FindComponentClass(node);
      if (!cls->InheritsFrom(TComponent::StaticClass()) || !cls->Factory)
        Fail(ResName, node.Line, "Class " + node.ClassName + " is not a component that can be created");
      Guard(node.Line, [&] { c = CreateComponent(cls, Root); });
      Begin(c);
      if (!node.Name.empty()) {
        if (const TPublishedField* f = FindPublishedField(Root->ClassType(), node.Name); f && !c->InheritsFrom(f->FieldClass))
          Fail(ResName, node.Line, "The field " + node.Name + " holds a " + f->FieldClass->ClassName() + ", not a " + cls->ClassName());
        Guard(node.Line, [&] { c->SetName(node.Name); });
      }
      Guard(node.Line, [&] { c->SetParentComponent(parent); });
    }
    ReadBody(c, node);
    End(c);
  }

  void ReadProperty(TObject* instance, const TResourceProperty& p) {
    // Every segment but the last names an object property.
    TObject* target = instance;
    AnsiString path = p.Name;
    size_t start = 0;
    for (;;) {
      size_t dot = path.find('.', start);
      if (dot == AnsiString::npos) break;
      AnsiString segment = path.substr(start, dot - start);
      PPropInfo sp = GetPropInfo(target, segment);
      if (!sp || sp->Kind() != tkClass) Fail(ResName, p.Line, "Property " + path.substr(0, dot) + " does not exist");
      target = sp->GetObj(target);
      if (!target) Fail(ResName, p.Line, "Property " + path.substr(0, dot) + " is nil");
      start = dot + 1;
    }
    AnsiString name = path.substr(start);
    PPropInfo prop = GetPropInfo(target, name);
    if (!prop) {
      if (const TDefinedPropertyReader* defined = FindDefined(target->ClassType(), name)) {
        Guard(p.Line, [&] { (*defined)(target, p.Value); });
        return;
      }
      Fail(ResName, p.Line, "Property " + p.Name + " does not exist");
    }
    Guard(p.Line, [&] { Assign(target, prop, p); });
  }

  [[noreturn]] void Invalid(const TResourceProperty& p) {
    Fail(ResName, p.Line, "Invalid value for property " + p.Name);
  }

  void Assign(TObject* target, PPropInfo prop, const TResourceProperty& p) {
    const TResourceValue& v = p.Value;
    if (!prop->IsWritable() && prop->Kind() != tkClass) Fail(ResName, p.Line, "Property " + p.Name + " is read-only");
    switch (prop->Kind()) {
      case tkInteger:
        if (v.Kind == TResourceValue::vaInteger) {
          prop->SetOrd(target, v.Integer);
        } else if (v.Kind == TResourceValue::vaIdent) {
          int value = 0;
          TIdentToInt fn = FindIdentToInt(prop->PropType);
          if (!fn || !fn(v.Text, value)) Invalid(p);
          prop->SetOrd(target, value);
        } else {
          Invalid(p);
        }
        return;
      case tkChar:
        if (v.Kind == TResourceValue::vaString && v.Text.size() == 1)
          prop->SetOrd(target, static_cast<unsigned char>(v.Text[0]));
        else if (v.Kind == TResourceValue::vaInteger && v.Integer >= 0 && v.Integer <= 255)
          prop->SetOrd(target, v.Integer);
        else
          Invalid(p);
        return;
      case tkEnumeration: {
        if (v.Kind != TResourceValue::vaIdent) Invalid(p);
        int value = GetEnumValue(prop->PropType, v.Text);
        if (value < 0) Invalid(p);
        prop->SetOrd(target, value);
        return;
      }
      case tkSet: {
        if (v.Kind != TResourceValue::vaSet) Invalid(p);
        uint32_t bits = 0;
        for (const AnsiString& item : v.SetItems) {
          int value = GetEnumValue(prop->PropType->CompType, item);
          if (value < 0 || value >= 32) Invalid(p);
          bits |= uint32_t(1) << value;
        }
        prop->SetOrd(target, bits);
        return;
      }
      case tkFloat:
        if (v.Kind == TResourceValue::vaFloat)
          prop->SetFloat(target, v.Float);
        else if (v.Kind == TResourceValue::vaInteger)
          prop->SetFloat(target, static_cast<double>(v.Integer));
        else
          Invalid(p);
        return;
      case tkString:
        if (v.Kind != TResourceValue::vaString) Invalid(p);
        prop->SetStr(target, v.Text);
        return;
      case tkMethod: {
        if (v.Kind != TResourceValue::vaIdent) Invalid(p);
        const TPublishedMethod* m = FindPublishedMethod(Root->ClassType(), v.Text);
        if (!m) Fail(ResName, p.Line, "Method " + v.Text + " not found in " + Root->ClassName());
        if (*m->Code->Signature != *prop->PropType->Signature)
          Fail(ResName, p.Line, "Method " + v.Text + " does not match " + prop->PropType->Name);
        prop->SetMethod(target, TMethod{const_cast<TMethodCode*>(m->Code), m->Code->DataOf(Root)});
        return;
      }
      case tkClass:
        AssignObject(target, prop, p);
        return;
      case tkUnknown:
        Invalid(p);
    }
  }

  void AssignObject(TObject* target, PPropInfo prop, const TResourceProperty& p) {
    const TResourceValue& v = p.Value;
    if (v.Kind == TResourceValue::vaIdent) {
      if (!prop->SetObj) Fail(ResName, p.Line, "Property " + p.Name + " is read-only");
      if (Same(v.Text, "nil")) {
        prop->SetObj(target, nullptr);
        return;
      }
      Fixups.push_back(TFixup{target, prop, v.Text, p.Line});
      return;
    }
    TObject* value = prop->GetObj(target);
    if (!value) Fail(ResName, p.Line, "Property " + p.Name + " is nil");
    if (v.Kind == TResourceValue::vaList) {
      if (auto* strings = dynamic_cast<TStrings*>(value)) {
        (*FindDefined(TStrings::StaticClass(), "Strings"))(strings, v);
        return;
      }
    }
    if (v.Kind == TResourceValue::vaCollection) {
      if (auto* collection = dynamic_cast<IStreamableCollection*>(value)) {
        collection->ClearItems();
        for (const auto& item : v.Items) {
          TPersistent* instance = collection->AddItem();
          for (const TResourceProperty& ip : item) ReadProperty(instance, ip);
        }
        return;
      }
    }
    Invalid(p);
  }

  void ResolveFixups() {
    for (const TFixup& f : Fixups) {
      AnsiString name = f.Name;
      // "Form1.Edit1" names a component of the root itself.
      if (size_t dot = name.find('.'); dot != AnsiString::npos) {
        if (!Same(name.substr(0, dot), Root->GetName())) Fail(ResName, f.Line, "Component " + f.Name + " not found");
        name = name.substr(dot + 1);
      }
      TComponent* c = Same(name, Root->GetName()) ? Root : Root->FindComponent(name);
      if (!c) Fail(ResName, f.Line, "Component " + f.Name + " not found");
      if (!c->InheritsFrom(f.Prop->PropType->ClassType))
        Fail(ResName, f.Line, f.Name + " is not a " + f.Prop->PropType->Name);
      Guard(f.Line, [&] { f.Prop->SetObj(f.Instance, c); });
    }
    Fixups.clear();
  }

  TComponent* Root;
  std::vector<TComponent*>& Loaded;
  AnsiString ResName;
  std::vector<TFixup> Fixups;
};

namespace {

void FinishLoading(std::vector<TComponent*>& loaded) {
  for (TComponent* c : loaded) c->Loaded();
}

}  // namespace

bool InitInheritedComponent(TComponent* instance, const TMetaClass* rootAncestor) {
  EnsureBuiltIns();
  std::vector<const TFormResource*> chain;
  for (const TMetaClass* c = instance->ClassType(); c && c != rootAncestor; c = c->ClassParent())
    if (const TFormResource* r = FindFormResource(c->ClassName())) chain.insert(chain.begin(), r);
  if (chain.empty()) return false;
  std::vector<TComponent*> loaded;
  for (const TFormResource* r : chain) {
    // The resource names its own class; the instance reads it whatever its own class is.
    TResourceObject node = ParseFormResource(r->Text, r->ResourceName);
    TReader(instance, loaded).ReadRoot(node, r->ResourceName, r->ClassName);
  }
  FinishLoading(loaded);
  return true;
}

void ReadComponentRes(TComponent* root, const AnsiString& text, const AnsiString& resourceName) {
  EnsureBuiltIns();
  std::vector<TComponent*> loaded;
  TResourceObject node = ParseFormResource(text, resourceName);
  TReader(root, loaded).ReadRoot(node, resourceName, root->ClassName());
  FinishLoading(loaded);
}
