// Form resources: the Delphi text form format (object … end), its parse tree, the
// process's registry of embedded resources by form class, and the reader that builds a
// form from its resource chain through the published property tables.
#pragma once

#include "platform/vcl/Components.h"

#include <cstdint>
#include <functional>
#include <vector>

// ---- Parse tree -----------------------------------------------------------------------

struct TResourceProperty;

struct TResourceValue {
  enum TKind { vaInteger, vaFloat, vaString, vaIdent, vaSet, vaList, vaCollection, vaBinary };
  TKind Kind = vaInteger;
  int64_t Integer = 0;
  double Float = 0;
  // vaString: the text (ANSI bytes); vaIdent: the identifier; vaBinary: the bytes.
  AnsiString Text;
  std::vector<AnsiString> SetItems;
  std::vector<TResourceValue> List;
  // vaCollection: the properties of each item.
  std::vector<std::vector<TResourceProperty>> Items;
  int Line = 0;
};

struct TResourceProperty {
  AnsiString Name;  // may be dotted: Font.Name
  TResourceValue Value;
  int Line = 0;
};

struct TResourceObject {
  bool Inherited = false;  // "inherited": the component comes from the ancestor's resource
  AnsiString Name;
  AnsiString ClassName;
  int Line = 0;
  std::vector<TResourceProperty> Properties;
  std::vector<TResourceObject> Children;
};

// Parses a resource; raises EReadError "<resourceName>, line <n>: <what>" on a syntax
// error.
TResourceObject ParseFormResource(const AnsiString& text, const AnsiString& resourceName);

// ---- Registry -------------------------------------------------------------------------

struct TFormResource {
  AnsiString ClassName;
  AnsiString ResourceName;  // the file it came from, for messages
  AnsiString Text;          // in the ANSI code page
};

// Registers a resource under the class its root object names (or the given class name);
// a later registration of the same class replaces the earlier one.
void RegisterFormResource(const AnsiString& text, const AnsiString& resourceName);
void RegisterFormResource(const AnsiString& className, const AnsiString& text,
                          const AnsiString& resourceName);
void UnregisterFormResource(const AnsiString& className);
const TFormResource* FindFormResource(const AnsiString& className);

// Registers a resource when the library that embeds it is loaded.
struct TFormResourceRegistration {
  TFormResourceRegistration(const char* resourceName, const char* text) {
    RegisterFormResource(text, resourceName);
  }
};

// ---- Reading --------------------------------------------------------------------------

// Streams the resources of instance's class chain below rootAncestor, ancestor first, into
// instance; answers false when no class of the chain has a resource. During the read the
// components carry csLoading and csReading; afterwards every component read gets Loaded
// once. Errors raise EReadError naming the resource and line: an unknown class, property,
// value, handler or component, or a component an `inherited` entry names that the
// ancestor did not create.
bool InitInheritedComponent(TComponent* instance, const TMetaClass* rootAncestor);

// Streams one resource text into root (whose class the text's root object must name).
void ReadComponentRes(TComponent* root, const AnsiString& text, const AnsiString& resourceName);

// Collections a resource lists between < and > (list columns, status panels) implement
// this beside their TPersistent base.
class IStreamableCollection {
public:
  virtual ~IStreamableCollection() = default;
  virtual void ClearItems() = 0;
  // A new item at the end, whose published properties the resource's item then sets.
  virtual TPersistent* AddItem() = 0;
};

// A value a class stores in the resource outside its published properties (Delphi's
// DefineProperties): Strings of a string list, Data of a picture, design information.
using TDefinedPropertyReader = std::function<void(TObject* instance, const TResourceValue& value)>;
void RegisterDefinedProperty(const TMetaClass* cls, const AnsiString& name, TDefinedPropertyReader reader);
