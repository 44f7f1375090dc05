// The code-page converter every form owns: it reads the code pages in force from the
// installation's configuration once, when it is created, and turns texts between GB and
// BIG5 accordingly, for whole forms (captions, hints, item lists, fonts), for single
// texts and for variant values travelling to and from the server.
//
// Conversion types of ConvertValue: 1 BIG5 to GB, 2 GB to BIG5; any other converts
// nothing. The conversion modes of the configuration are used as conversion types.
#pragma once

#include "module/services/TranslatorU.h"
#include "platform/ole/Variants.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

#include <memory>

// Which installation's configuration is read: the client's or the server's.
TAVO_ENUM(TDesignType, dtClient, dtServer)

class TCodeConverter : public TComponent {
  TAVO_CLASS(TCodeConverter, TComponent)
public:
  // Reads the configuration (as dtClient: stored properties are not applied yet) and
  // binds the language library when a conversion is configured; the library's errors
  // (TTranslator) propagate, so the owner cannot be created without it.
  explicit TCodeConverter(TComponent* AOwner);
  ~TCodeConverter() override;

  void LoadCodePages();

  // A copy of value with its texts converted: a text (or any value read as text) becomes
  // a narrow text, wide text read in the code page the conversion starts from; arrays of
  // one and two dimensions are converted element by element, nested arrays too. Empty,
  // Null and automation objects, as values or elements, stay as they are.
  Variant ConvertValue(int convertType, const Variant& value);
  Variant ConvertForDisplay(const Variant& value);  // by UIConvertMode
  Variant ConvertForData(const Variant& value);     // by DBConvertMode
  // The reverse of the data (display) conversion; a failure answers value unchanged.
  Variant RevertForData(const Variant& value);
  Variant RevertForDisplay(const Variant& value);

  AnsiString Big5ToGb(const AnsiString& text);
  AnsiString GbToBig5(const AnsiString& text);

  // Converts the form's captions, hints and item lists into the interface's code page and
  // gives fonts, combo boxes, list boxes and menus what that code page needs.
  // excludeText: lines "NAME;Prop1,Prop2" naming components whose listed properties (all
  // of them when none is listed) are left alone; it replaces ExcludeList.
  void ConvertForm(TCustomForm* form, const AnsiString& excludeText, bool withGrids);

  // Modes 0, 1, 4: SimSun in GB2312; modes 2, 3: SimSun in BIG5; others leave the font.
  void SetFontForMode(int mode, TFont* font);

  // A message dialog captioned like the owning form; 0 without showing for an empty text.
  int ShowMessageBox(const AnsiString& text, TMsgDlgType dlgType, TMsgDlgButtons buttons);

  // Present when the configuration asks for a conversion of texts shown or stored.
  std::unique_ptr<TTranslator> Translator;
  AnsiString SystemCodePage = "936";
  AnsiString UICodePage = "936";
  AnsiString DBCodePage = "936";
  BYTE UIConvertMode = 0;
  BYTE DBConvertMode = 0;
  // Stored by form resources; the configuration was read before it is applied.
  TDesignType DesignType = dtClient;
  std::unique_ptr<TStringList> ExcludeList;

private:
  AnsiString ConvertText(int convertType, const AnsiString& text);
  Variant RevertValue(BYTE mode, const Variant& value);
  void ConvertStrings(TStrings* list, int convertType);
  // skipped: names of properties to leave alone (nullptr: none).
  void ConvertProperties(TComponent* component, int convertType, const TStrings* skipped);
  void ConvertClass(TComponent* component, bool withGrids);
};
