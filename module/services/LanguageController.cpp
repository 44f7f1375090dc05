#include "module/services/LanguageController.h"

#include "module/services/LibRTTI.h"
#include "module/services/StewardINI.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Files.h"

#include <cctype>
#include <vector>

namespace {

// One line a code page: the language folder of each supported interface.
const char* const LanguageTable = "936=CHS\r\n950=CHT\r\n437=ENG";

// A language file asking for line two billion must not make the form allocate them.
constexpr int MaxLineIndex = 99999;

bool ClassNamed(const TObject* object, const char* className) {
  for (const TMetaClass* cls = object->ClassType(); cls; cls = cls->ClassParent())
    if (SameText(cls->ClassName(), className)) return true;
  return false;
}

// "Items_3" -> "Items", 3. An index too large to be a line of a list counts as
// MaxLineIndex + 1, which nothing accepts.
bool SplitIndexed(const AnsiString& segment, AnsiString& name, int& index) {
  const size_t bar = segment.rfind('_');
  if (bar == AnsiString::npos || bar == 0 || bar + 1 == segment.size()) return false;
  int64_t value = 0;
  for (size_t i = bar + 1; i < segment.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(segment[i]))) return false;
    if (value <= MaxLineIndex) value = value * 10 + (segment[i] - '0');
  }
  name = segment.substr(0, bar);
  index = static_cast<int>(std::min<int64_t>(value, MaxLineIndex + 1));
  return true;
}

std::vector<AnsiString> SplitPath(const AnsiString& path) {
  std::vector<AnsiString> segments;
  size_t start = 0;
  for (;;) {
    const size_t dot = path.find('.', start);
    segments.push_back(path.substr(start, dot == AnsiString::npos ? AnsiString::npos : dot - start));
    if (dot == AnsiString::npos) return segments;
    start = dot + 1;
  }
}

TObject* ObjectProperty(TObject* object, const AnsiString& name) {
  const PPropInfo prop = GetPropInfo(object, name);
  if (!prop || prop->Kind() != tkClass || !prop->GetObj) return nullptr;
  return prop->GetObj(object);
}

// Item n of an indexable list (a list view's items or columns); nullptr past its end or
// for anything else.
TObject* IndexedItem(TObject* container, int index) {
  if (auto* columns = dynamic_cast<TListColumns*>(container))
    return index < columns->Count() ? columns->GetItem(index) : nullptr;
  if (auto* items = dynamic_cast<TListItems*>(container))
    return index < items->Count() ? items->GetItem(index) : nullptr;
  return nullptr;
}

void SetLine(TStrings* list, int index, const AnsiString& text) {
  if (index > MaxLineIndex) return;
  list->BeginUpdate();
  try {
    while (list->Count() <= index) list->Add("");
    list->Put(index, text);
  } catch (...) {
    list->EndUpdate();
    throw;
  }
  list->EndUpdate();
}

}  // namespace

const char* LanguageControllerError::ClassName() const { return "LanguageControllerError"; }

// ---- Free functions -------------------------------------------------------------------

AnsiString GetLanguageFolder(TDesignType designType) {
  try {
    AnsiString codePage;
    AnsiString installation;
    switch (designType) {
      case dtClient: {
        const TStewardIniC ini;
        codePage = ini.UICodePage;
        installation = ini.ClientPath;
        break;
      }
      case dtServer: {
        const TStewardIniS ini;
        codePage = ini.UICodePage;
        installation = ini.ServerPath;
        break;
      }
    }
    TStringList table;
    table.SetText(LanguageTable);
    const AnsiString language = table.GetValue(Trim(codePage));
    if (language.empty()) return AnsiString();
    const AnsiString folder = installation + "MultiLanguage" + "\\" + language + "\\";
    return DirectoryExists(folder) ? folder : AnsiString();
  } catch (const std::exception&) {
    return AnsiString();
  }
}

AnsiString LookupMessage(TDesignType designType, const AnsiString& fileBase, const AnsiString& msgId,
                         const AnsiString& defaultText) {
  try {
    const AnsiString fileName = GetLanguageFolder(designType) + fileBase + ".Lng";
    if (!FileExists(fileName)) return defaultText;
    IXMLDOMDocument doc = CoDOMDocument::Create();
    doc.load(fileName);
    const IXMLDOMNode node = doc.selectSingleNode(Format("//%s/@%s", {msgId, "Msg"}));
    if (node && node.nodeType() == NODE_ATTRIBUTE) return node.text();
  } catch (const std::exception&) {
  }
  return defaultText;
}

void SetPropertyByPath(TObject* object, const AnsiString& path, const AnsiString& text) {
  if (!object || path.empty()) return;
  try {
    TObject* target = nullptr;
    const PPropInfo prop = ResolvePropPath(object, path, target);
    if (!prop || !target || !prop->IsWritable()) return;
    switch (prop->Kind()) {
      case tkInteger: {
        int value = 0;
        if (const TIdentToInt identToInt = FindIdentToInt(prop->PropType); identToInt && identToInt(text, value))
          SetOrdProp(target, prop, value);
        else
          SetPropValue(target, prop, Variant(text));
        return;
      }
      case tkEnumeration:
      case tkSet:
        SetPropValue(target, prop, Variant(Trim(text)));
        return;
      case tkChar:
      case tkFloat:
      case tkString:
        SetPropValue(target, prop, Variant(text));
        return;
      case tkClass:
      case tkMethod:
      case tkUnknown:
        // Objects and event handlers have no text a language file could give.
        return;
    }
  } catch (const std::exception&) {
  }
}

// ---- Component readers ----------------------------------------------------------------

TComponentRead::TComponentRead(TComponent* component, IXMLDOMElement node)
    : FComponent(component), FNode(std::move(node)) {}

void TComponentRead::ReadAll() {
  const IXMLDOMNamedNodeMap attributes = FNode.attributes();
  for (int i = 0; i < attributes.length(); ++i) {
    const IXMLDOMNode attribute = attributes.item(i);
    try {
      ReadProperty(attribute.nodeName(), attribute.text());
    } catch (const std::exception&) {
      // A value the property refuses; the next attribute still applies.
    }
  }
}

void TComponentRead::ReadProperty(const AnsiString& path, const AnsiString& text) {
  const std::vector<AnsiString> segments = SplitPath(path);
  TObject* current = FComponent;
  size_t last = segments.size() - 1;
  for (size_t i = 0; i < last; ++i) {
    AnsiString name;
    int index = 0;
    if (SplitIndexed(segments[i], name, index)) {
      if (!SameText(name, "Items") && !SameText(name, "Columns")) {
        last = i;
        break;
      }
      TObject* container = ObjectProperty(current, name);
      if (!container) return;
      TObject* item = IndexedItem(container, index);
      current = item ? item : container;
      continue;
    }
    current = ObjectProperty(current, segments[i]);
    if (!current) return;
  }

  const AnsiString& final = segments[last];
  AnsiString listName;
  int line = 0;
  if (current == FComponent && SplitIndexed(final, listName, line)) {
    if (auto* list = dynamic_cast<TStrings*>(ObjectProperty(current, listName))) {
      SetLine(list, line, text);
      return;
    }
  }
  if (auto* item = dynamic_cast<TListItem*>(current); item && SameText(final, "Caption")) {
    item->SetCaption(text);
    return;
  }
  SetPropertyByPath(current, final, text);
}

void TCustomComboBoxRead::ReadAll() {
  auto* combo = dynamic_cast<TCustomComboBox*>(FComponent);
  if (!combo) {
    TComponentRead::ReadAll();
    return;
  }
  const int selected = combo->GetItemIndex();
  TComponentRead::ReadAll();
  // Selecting again also shows the selected item's new text.
  if (selected >= 0 || combo->GetItemIndex() != selected) combo->SetItemIndex(selected);
}

void TwwDBCustomComboBoxRead::ReadAll() {
  // Known only by its published properties.
  const bool indexed = HasPropByName(FComponent, "ItemIndex");
  const int64_t selected = indexed ? GetOrdPropByName(FComponent, "ItemIndex") : -1;
  TComponentRead::ReadAll();
  if (indexed && (selected >= 0 || GetOrdPropByName(FComponent, "ItemIndex") != selected))
    SetOrdPropByName(FComponent, "ItemIndex", selected);
}

std::unique_ptr<ILangRead> TReaderFactory::CreateReader(TComponent* component, IXMLDOMElement node) {
  if (ClassNamed(component, "TwwDBCustomComboBox"))
    return std::make_unique<TwwDBCustomComboBoxRead>(component, std::move(node));
  if (dynamic_cast<TCustomComboBox*>(component))
    return std::make_unique<TCustomComboBoxRead>(component, std::move(node));
  return std::make_unique<TComponentRead>(component, std::move(node));
}

// ---- TLangReader ----------------------------------------------------------------------

TLangReader::TLangReader(IXMLDOMDocument doc, const TStrings* excludeControls,
                         TLoadComponentEvent beforeLoadComponent, TLoadComponentEvent afterLoadComponent)
    : FXMLDoc(std::move(doc)), FBeforeLoadComponent(beforeLoadComponent), FAfterLoadComponent(afterLoadComponent) {
  SetExcludeControls(excludeControls);
}

void TLangReader::SetExcludeControls(const TStrings* value) {
  if (value)
    FExcludeControls.Assign(value);
  else
    FExcludeControls.Clear();
}

bool TLangReader::IsExcluded(const AnsiString& name) const {
  const AnsiString wanted = Trim(name);
  for (int i = 0; i < FExcludeControls.Count(); ++i)
    if (SameText(Trim(FExcludeControls[i]), wanted)) return true;
  return false;
}

void TLangReader::Apply(TComponent* component, const IXMLDOMElement& node) {
  FBeforeLoadComponent(component, node);
  TReaderFactory::CreateReader(component, node)->ReadAll();
  FAfterLoadComponent(component, node);
}

void TLangReader::ReadComponent(TComponent* component) {
  if (!component) return;
  if (dynamic_cast<TCustomForm*>(component) || ClassNamed(component, "TDataModule"))
    if (const IXMLDOMElement root = FXMLDoc.documentElement()) Apply(component, root);

  const AnsiString& name = component->GetName();
  if (!name.empty() && !IsExcluded(name)) {
    IXMLDOMNode node;
    try {
      node = FXMLDoc.selectSingleNode("//" + name);
    } catch (const EOleException&) {
      // A name no pattern can hold has no element either.
    }
    if (const IXMLDOMElement element(node); element) Apply(component, element);
  }

  // A copy: a handler may add components while they are translated.
  const std::vector<TComponent*> owned = component->Components();
  for (TComponent* child : owned) ReadComponent(child);
}

// ---- TLanguageController --------------------------------------------------------------

TAVO_CLASS_IMPL(TLanguageController, TComponent)

TLanguageController::TLanguageController(TComponent* AOwner)
    : TComponent(AOwner), FExcludeControls(std::make_unique<TStringList>()) {
  FExcludeControls->OnChange = [this](TObject*) {
    if (FReader) FReader->SetExcludeControls(FExcludeControls.get());
  };
}

TLanguageController::~TLanguageController() {
  // No events: the owner that would hear them is going away too.
  ReleaseDocument();
}

bool TLanguageController::GetActive() const { return FXMLDoc && FXMLDoc.documentElement(); }

void TLanguageController::SetActive(bool value) {
  if (IsLoading()) {
    FStreamedActive = value;
    return;
  }
  if (value == GetActive()) return;
  if (value)
    Open();
  else
    Close();
}

void TLanguageController::SetFileName(const AnsiString& value) {
  if (value == FFileName) return;
  FFileName = value;
  if (GetActive()) Close();
}

void TLanguageController::SetLangPackageName(const AnsiString& value) {
  if (value == FLangPackageName) return;
  FLangPackageName = value;
  // A resource stores DesignType after the package name; the folder waits for it.
  if (IsLoading()) {
    FStreamedPackageName = true;
    return;
  }
  SetFileName(GetLanguageFolder(DesignType) + value + ".Lng");
}

void TLanguageController::SetExcludeControls(TStrings* value) {
  if (value)
    FExcludeControls->Assign(value);
  else
    FExcludeControls->Clear();
}

TLangReader* TLanguageController::GetReader() const {
  if (!FReader || !GetActive()) throw LanguageControllerError("No active LanguageController!");
  return FReader.get();
}

void TLanguageController::Loaded() {
  TComponent::Loaded();
  if (FStreamedPackageName) {
    FStreamedPackageName = false;
    SetFileName(GetLanguageFolder(DesignType) + FLangPackageName + ".Lng");
  }
  if (FStreamedActive) {
    FStreamedActive = false;
    SetActive(true);
  }
}

void TLanguageController::Open() {
  BeforeOpen(this);
  ReleaseDocument();
  if (FFileName.empty()) throw LanguageControllerError(Format("Cannot Find File %s!", {FFileName}));
  IXMLDOMDocument doc = CoDOMDocument::Create();
  if (!doc.load(FFileName)) throw LanguageControllerError(doc.parseError().reason);
  FReader = std::make_unique<TLangReader>(doc, FExcludeControls.get(), BeforeLoadComponent, AfterLoadComponent);
  FXMLDoc = std::move(doc);
  AfterOpen(this);
}

void TLanguageController::Close() {
  BeforeClose(this);
  ReleaseDocument();
  AfterClose(this);
}

void TLanguageController::ReleaseDocument() {
  FReader.reset();
  FXMLDoc = IXMLDOMDocument();
}

// ---- TKvLangController ----------------------------------------------------------------

TAVO_PUBLISHED(TKvLangController, TLanguageController) {
  P.Bool("Active", &TKvLangController::GetActive, &TKvLangController::SetActive);
  P.Event("AfterClose", &TLanguageController::AfterClose);
  P.Event("AfterOpen", &TLanguageController::AfterOpen);
  P.Event("BeforeClose", &TLanguageController::BeforeClose);
  P.Event("BeforeOpen", &TLanguageController::BeforeOpen);
  P.Event("AfterLoadComponent", &TLanguageController::AfterLoadComponent);
  P.Event("BeforeLoadComponent", &TLanguageController::BeforeLoadComponent);
  P.Obj("ExcludeControls", &TKvLangController::GetExcludeControls, &TKvLangController::SetExcludeControls);
  P.Str("LangPackageName", &TKvLangController::GetLangPackageName, &TKvLangController::SetLangPackageName);
  P.Enum("DesignType", &TLanguageController::DesignType, &TLanguageController::DesignType);
}

namespace {
const TClassRegistration LanguageControllerClasses{TKvLangController::StaticClass()};
}  // namespace
