#include "module/services/CodeConverter.h"

#include "module/controls/SelectPnl.h"
#include "module/services/LibStrs.h"
#include "module/services/StewardINI.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

#include <memory>

TAVO_PUBLISHED(TCodeConverter, TComponent) {
  P.Enum("DesignType", &TCodeConverter::DesignType, &TCodeConverter::DesignType);
}

namespace {

const TClassRegistration CodeConverterClasses{TCodeConverter::StaticClass()};

constexpr int ctBig5ToGb = 1;
constexpr int ctGbToBig5 = 2;

PPropInfo FindProp(TObject* obj, const char* name, TTypeKind kind) {
  PPropInfo p = GetPropInfo(obj, name);
  return p && p->Kind() == kind ? p : nullptr;
}

// A published object property whose class is T or a descendant of it.
template <class T>
T* ObjectProp(TObject* obj, const char* name) {
  PPropInfo p = FindProp(obj, name, tkClass);
  if (!p || !p->PropType->ClassType || !p->PropType->ClassType->InheritsFrom(T::StaticClass())) return nullptr;
  return dynamic_cast<T*>(GetObjectProp(obj, name));
}

// A published ordinal property of the named type.
PPropInfo TypedProp(TObject* obj, const char* name, const char* typeName) {
  PPropInfo p = GetPropInfo(obj, name);
  return p && p->PropType && SameText(p->PropType->Name, typeName) && p->SetOrd ? p : nullptr;
}

// The exclusion line of a component ("NAME;Prop1,Prop2"): found or not, and the names
// of the properties it leaves alone (none listed: all of them).
struct TExclusion {
  bool Found = false;
  TStringList Props;
  bool All() const { return Found && Props.Count() == 0; }
};

void FindExclusion(const TStrings* list, const AnsiString& componentName, TExclusion& result) {
  for (int i = 0; i < list->Count(); ++i) {
    const AnsiString line = list->Get(i);
    if (!SameText(Trim(GetDelimitedField(line, ";", 1)), componentName)) continue;
    result.Found = true;
    const AnsiString props = Trim(GetDelimitedField(line, ";", 2));
    if (!props.empty()) result.Props.SetCommaText(props);
    return;
  }
}

// Column captions (also of an empty list), item captions and sub-item texts into BIG5.
void ConvertListView(TCodeConverter& converter, TCustomListView* listView) {
  TListColumns* columns = listView->GetColumns();
  for (int i = 0; i < columns->Count(); ++i)
    columns->GetItem(i)->SetCaption(converter.GbToBig5(columns->GetItem(i)->GetCaption()));
  TListItems* items = listView->GetItems();
  items->BeginUpdate();
  for (int i = 0; i < items->Count(); ++i) {
    TListItem* item = items->GetItem(i);
    item->SetCaption(converter.GbToBig5(item->GetCaption()));
    TStrings* subItems = item->GetSubItems();
    for (int j = 0; j < subItems->Count(); ++j) subItems->Put(j, converter.GbToBig5(subItems->Get(j)));
  }
  items->EndUpdate();
}

// A copy of lines with every line in BIG5.
void ConvertLines(TCodeConverter& converter, const TStrings* lines, TStringList& result) {
  result.Assign(lines);
  for (int i = 0; i < result.Count(); ++i) result.Put(i, converter.GbToBig5(result.Get(i)));
}

// A value as the text a conversion reads: wide text is taken in the code page the
// conversion starts from, whatever the process's code page is; anything else as
// VarToStr reads it.
AnsiString SourceText(int convertType, const Variant& value) {
  if (VarType(value) != varOleStr) return VarToStr(value);
  return WideToAnsi(value.AsWideString(), convertType == ctBig5ToGb ? 950 : 936);
}

}  // namespace

TCodeConverter::TCodeConverter(TComponent* AOwner)
    : TComponent(AOwner), ExcludeList(std::make_unique<TStringList>()) {
  LoadCodePages();
  // Data travelling between a GB interface and a BIG5 database needs the library as
  // much as a BIG5 interface does.
  if (UIConvertMode != 0 || DBConvertMode != 0) Translator = std::make_unique<TTranslator>();
}

TCodeConverter::~TCodeConverter() = default;

void TCodeConverter::LoadCodePages() {
  // The client's and the server's INI classes carry the same five settings.
  const auto take = [this](const auto& ini) {
    SystemCodePage = ini.SystemCodePage;
    UICodePage = ini.UICodePage;
    DBCodePage = ini.DBCodePage;
    UIConvertMode = ini.UIConvertMode;
    DBConvertMode = ini.DBConvertMode;
  };
  switch (DesignType) {
    case dtClient:
      take(TStewardIniC());
      break;
    case dtServer:
      take(TStewardIniS());
      break;
  }
}

// ---- Texts and values -----------------------------------------------------------------

AnsiString TCodeConverter::Big5ToGb(const AnsiString& text) {
  if (text.empty() || !Translator) return text;
  return Translator->Big5ToGb(text);
}

AnsiString TCodeConverter::GbToBig5(const AnsiString& text) {
  if (text.empty() || !Translator) return text;
  return Translator->GbToBig5(text);
}

AnsiString TCodeConverter::ConvertText(int convertType, const AnsiString& text) {
  switch (convertType) {
    case ctBig5ToGb: return Big5ToGb(text);
    case ctGbToBig5: return GbToBig5(text);
    default: return text;
  }
}

Variant TCodeConverter::ConvertValue(int convertType, const Variant& value) {
  Variant result = value;
  if (convertType == 0 || !Translator || VarIsEmpty(value) || VarIsNull(value)) return result;
  const bool converts = convertType == ctBig5ToGb || convertType == ctGbToBig5;
  // Empty and Null carry meaning of their own, and an automation object has no text.
  const auto convertible = [](const Variant& v) {
    return !VarIsEmpty(v) && !VarIsNull(v) && VarType(v) != varDispatch;
  };
  if (!VarIsArray(value)) {
    if (converts && convertible(value)) result = Variant(ConvertText(convertType, SourceText(convertType, value)));
    return result;
  }
  switch (VarArrayDimCount(value)) {
    case 1:
      for (int i = VarArrayLowBound(value, 1); i <= VarArrayHighBound(value, 1); ++i) {
        const Variant element = result.GetElement({i});
        if (VarIsArray(element))
          result.PutElement({i}, ConvertValue(convertType, element));
        else if (converts && convertible(element))
          result.PutElement({i}, Variant(ConvertText(convertType, SourceText(convertType, element))));
      }
      break;
    case 2:
      for (int i = VarArrayLowBound(value, 1); i <= VarArrayHighBound(value, 1); ++i)
        for (int j = VarArrayLowBound(value, 2); j <= VarArrayHighBound(value, 2); ++j)
          result.PutElement({i, j}, ConvertValue(convertType, result.GetElement({i, j})));
      break;
    default:
      break;
  }
  return result;
}

Variant TCodeConverter::ConvertForDisplay(const Variant& value) { return ConvertValue(UIConvertMode, value); }

Variant TCodeConverter::ConvertForData(const Variant& value) { return ConvertValue(DBConvertMode, value); }

Variant TCodeConverter::RevertValue(BYTE mode, const Variant& value) {
  try {
    switch (mode) {
      case ctBig5ToGb: return ConvertValue(ctGbToBig5, value);
      case ctGbToBig5: return ConvertValue(ctBig5ToGb, value);
      default: return value;
    }
  } catch (...) {
    return value;
  }
}

Variant TCodeConverter::RevertForData(const Variant& value) { return RevertValue(DBConvertMode, value); }

Variant TCodeConverter::RevertForDisplay(const Variant& value) { return RevertValue(UIConvertMode, value); }

// ---- Fonts and message box ------------------------------------------------------------

void TCodeConverter::SetFontForMode(int mode, TFont* font) {
  if (!font) return;
  switch (mode) {
    case 0:
    case 1:
    case 4:
      font->SetName("SimSun");
      font->SetCharset(GB2312_CHARSET);
      break;
    case 2:
    case 3:
      font->SetName("SimSun");
      font->SetCharset(CHINESEBIG5_CHARSET);
      break;
    default:
      break;
  }
}

int TCodeConverter::ShowMessageBox(const AnsiString& text, TMsgDlgType dlgType, TMsgDlgButtons buttons) {
  if (text.empty()) return 0;
  AnsiString message = text;
  // The GB dialog measures double-byte text too narrow; the blanks keep its end visible.
  if (UICodePage == "936" || SystemCodePage == "936") message += "      ";
  std::unique_ptr<TForm, void (*)(TForm*)> dialog(CreateMessageDialog(message, dlgType, buttons),
                                                 [](TForm* f) { f->Free(); });
  auto* owner = dynamic_cast<TCustomForm*>(GetOwner());
  if (owner) {
    if (owner->WindowState == wsMinimized) owner->WindowState = wsNormal;
    dialog->SetCaption(owner->GetCaption());
  }
  SetFontForMode(UIConvertMode, dialog->GetFont());
  return dialog->ShowModal();
}

// ---- Forms ----------------------------------------------------------------------------

void TCodeConverter::ConvertStrings(TStrings* list, int convertType) {
  const AnsiString text = list->GetText();
  const AnsiString converted = ConvertText(convertType, text);
  if (converted == text) return;
  TStringList lines;
  lines.SetText(converted);
  if (lines.Count() != list->Count()) {
    list->SetText(converted);
    return;
  }
  // Line by line, so that the lines keep their objects (and duplicates survive a sorted
  // list, which is sorted again afterwards).
  auto* stringList = dynamic_cast<TStringList*>(list);
  const bool sorted = stringList && stringList->GetSorted();
  list->BeginUpdate();
  if (sorted) stringList->SetSorted(false);
  for (int i = 0; i < list->Count(); ++i)
    if (list->Get(i) != lines[i]) list->Put(i, lines[i]);
  if (sorted) stringList->SetSorted(true);
  list->EndUpdate();
}

void TCodeConverter::ConvertProperties(TComponent* component, int convertType, const TStrings* skipped) {
  const auto wanted = [skipped](const char* prop) { return !skipped || skipped->IndexOf(prop) < 0; };

  if (wanted("Font"))
    if (auto* font = ObjectProp<TFont>(component, "Font")) SetFontForMode(convertType, font);
  if (wanted("TitleFont"))
    if (auto* font = ObjectProp<TFont>(component, "TitleFont")) SetFontForMode(convertType, font);

  for (const char* name : {"Caption", "Hint", "ButtonHint"}) {
    if (!wanted(name)) continue;
    PPropInfo p = FindProp(component, name, tkString);
    if (!p || !p->SetStr) continue;
    const AnsiString text = GetStrProp(component, p);
    const AnsiString converted = ConvertText(convertType, text);
    if (converted != text) SetStrProp(component, p, converted);
  }

  auto* combo = dynamic_cast<TCustomComboBox*>(component);
  auto* listBox = dynamic_cast<TCustomListBox*>(component);
  if (wanted("Items"))
    if (TStrings* items = ObjectProp<TStrings>(component, "Items")) {
      const int index = combo ? combo->GetItemIndex() : listBox ? listBox->GetItemIndex() : -1;
      const bool sorted = combo ? combo->GetSorted() : listBox ? listBox->GetSorted() : false;
      const AnsiString selected = index >= 0 && index < items->Count() ? items->Get(index) : AnsiString();
      ConvertStrings(items, convertType);
      if (index >= 0) {
        const int now = sorted ? items->IndexOf(ConvertText(convertType, selected)) : index;
        // Setting the index again also shows the converted text of the selected item.
        if (combo) combo->SetItemIndex(now);
        if (listBox && !listBox->GetMultiSelect()) listBox->SetItemIndex(now);
      }
    }
  if (wanted("Lines"))
    if (TStrings* lines = ObjectProp<TStrings>(component, "Lines")) ConvertStrings(lines, convertType);

  if (wanted("Style")) {
    if (PPropInfo p = TypedProp(component, "Style", "TComboBoxStyle")) {
      const int index = combo ? combo->GetItemIndex() : -1;
      const int64_t style = GetOrdProp(component, p);
      if (style == csDropDown) SetOrdProp(component, p, csOwnerDrawVariable);
      if (style == csDropDownList) SetOrdProp(component, p, csOwnerDrawFixed);
      if (combo && index >= 0 && combo->GetItemIndex() < 0 && index < combo->GetItems()->Count())
        combo->SetItemIndex(index);
    } else if (PPropInfo p = TypedProp(component, "Style", "TListBoxStyle")) {
      if (GetOrdProp(component, p) == lbStandard) SetOrdProp(component, p, lbOwnerDrawFixed);
    }
  }

  if (wanted("Panels"))
    if (auto* panels = ObjectProp<TStatusPanels>(component, "Panels"))
      for (int i = 0; i < panels->Count(); ++i) {
        TStatusPanel* panel = panels->GetItem(i);
        panel->SetText(ConvertText(convertType, panel->GetText()));
      }
}

void TCodeConverter::ConvertClass(TComponent* component, bool withGrids) {
  if (auto* listView = dynamic_cast<TCustomListView*>(component)) {
    ConvertListView(*this, listView);
  } else if (auto* panel = dynamic_cast<TSelectPanel*>(component)) {
    // Its parts belong to the panel, not to the form, and take their texts from the
    // panel's lists; each list is set again as a whole so that the parts follow.
    TStringList lines;
    ConvertLines(*this, panel->GetChildHints(), lines);
    panel->SetChildHints(&lines);
    ConvertLines(*this, panel->GetBeginWords(), lines);
    panel->SetBeginWords(&lines);
    ConvertLines(*this, panel->GetFinalWords(), lines);
    panel->SetFinalWords(&lines);
    panel->SetHintWord(GbToBig5(panel->GetHintWord()));
    ConvertListView(*this, panel->ListBox);
  } else if (auto* combo = dynamic_cast<TCustomComboBox*>(component)) {
    if (combo->GetStyle() != csSimple) combo->SetStyle(csOwnerDrawFixed);
    if (combo->GetItemIndex() < 0 && combo->GetItems()->Count() > 0) combo->SetItemIndex(0);
  }
}

void TCodeConverter::ConvertForm(TCustomForm* form, const AnsiString& excludeText, bool withGrids) {
  if (!form || !Translator || UIConvertMode == 0) return;
  if (SystemCodePage == "950") form->SetCaption(ConvertText(ctGbToBig5, form->GetCaption()));
  for (const char* name : {"Hint", "ButtonHint"})
    if (PPropInfo p = FindProp(form, name, tkString); p && p->SetStr)
      SetStrProp(form, p, ConvertText(UIConvertMode, GetStrProp(form, p)));

  SetFontForMode(UIConvertMode, Screen->GetIconFont());
  SetFontForMode(UIConvertMode, Screen->GetHintFont());
  SetFontForMode(UIConvertMode, Screen->GetMenuFont());
  // The hint window is made anew when hints are switched on, and takes the new font.
  const bool showHint = Application->ShowHint;
  Application->ShowHint = false;
  Application->ShowHint = showHint;

  if (!excludeText.empty()) ExcludeList->SetText(excludeText);
  for (TComponent* component : std::vector<TComponent*>(form->Components())) {
    TExclusion exclusion;
    if (!excludeText.empty()) FindExclusion(ExcludeList.get(), component->GetName(), exclusion);
    if (exclusion.Found)
      if (PPropInfo p = FindProp(component, "ParentFont", tkEnumeration); p && p->SetOrd) SetOrdProp(component, p, 0);
    if (exclusion.All()) continue;
    ConvertProperties(component, UIConvertMode, exclusion.Found ? &exclusion.Props : nullptr);
    if (UIConvertMode == ctGbToBig5) ConvertClass(component, withGrids);
    if (component->InheritsFrom(TMenu::StaticClass()))
      if (PPropInfo p = FindProp(component, "OwnerDraw", tkEnumeration); p && p->SetOrd) SetOrdProp(component, p, 1);
  }
}
