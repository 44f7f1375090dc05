// The language controller every form carries. The forms are designed in Simplified
// Chinese; a language file (XML, named after a form class, extension ".Lng") in the
// installation's language folder supplies other texts and property values for the form
// and its components, and message texts for the code. The language follows the
// installation's user-interface code page, not the form.
//
// A language file: the document element's attributes apply to the form whatever the
// element is called; the first element named after a component holds that component's
// attributes; an element named after a message identifier holds the message in its
// attribute "Msg". An attribute name is a property path:
//   Caption, Hint                 a published property of the component
//   Font.Name                     through published object properties
//   Items_2, Lines_0              line n (from 0) of a string-list property of the
//                                 component; the list is padded with empty lines
//   Items_0.Caption, Columns_1.Caption
//                                 item n of a list view's items or columns, then its
//                                 property ("Caption" of a list item is its caption)
// Only Items and Columns take an index inside a path; an index past the end leaves the
// walk on the list itself, where the item's property does not exist. Another indexed
// segment inside a path is applied as if it were the last one. Names that name nothing
// and values that do not fit are skipped: translation never stops on a bad attribute.
#pragma once

#include "module/services/CodeConverter.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/Components.h"
#include "platform/xml/XMLDoc.h"

#include <memory>

TAVO_EXCEPTION(LanguageControllerError, Exception)

// Installation folder + "MultiLanguage\" + CHS, CHT or ENG (for the user-interface code
// page 936, 950 or 437) + "\"; empty for any other code page or when the folder does not
// exist, so that a file name built on it is taken from the current folder. Never raises.
AnsiString GetLanguageFolder(TDesignType designType);

// The attribute "Msg" of the first element named msgId in the language file fileBase;
// defaultText when there is no such file, element or attribute. Never raises.
AnsiString LookupMessage(TDesignType designType, const AnsiString& fileBase, const AnsiString& msgId,
                         const AnsiString& defaultText);

// Assigns text to the published property at path (dotted through object properties).
// An integer type with an identifier mapping takes an identifier (clRed); enumerations
// and sets take the text without surrounding blanks. A missing property or a value that
// does not fit is skipped; never raises.
void SetPropertyByPath(TObject* object, const AnsiString& path, const AnsiString& text);

TAVO_EVENT(TLoadComponentEvent, TComponent*, IXMLDOMNode)

// Applies the attributes of one element to one component.
class ILangRead {
public:
  virtual ~ILangRead() = default;
  virtual void ReadAll() = 0;
};

class TComponentRead : public ILangRead {
public:
  TComponentRead(TComponent* component, IXMLDOMElement node);
  void ReadAll() override;

protected:
  void ReadProperty(const AnsiString& path, const AnsiString& text);
  TComponent* FComponent;
  IXMLDOMElement FNode;
};

// Replacing a combo box's items clears its selection; these keep it.
class TCustomComboBoxRead : public TComponentRead {
public:
  using TComponentRead::TComponentRead;
  void ReadAll() override;
};

class TwwDBCustomComboBoxRead : public TComponentRead {
public:
  using TComponentRead::TComponentRead;
  void ReadAll() override;
};

struct TReaderFactory {
  // The grid pack's data-aware combo box, any other combo box, anything else.
  static std::unique_ptr<ILangRead> CreateReader(TComponent* component, IXMLDOMElement node);
};

class TLangReader {
public:
  TLangReader(IXMLDOMDocument doc, const TStrings* excludeControls, TLoadComponentEvent beforeLoadComponent,
              TLoadComponentEvent afterLoadComponent);

  // Translates the component and, in order, everything it owns.
  void ReadComponent(TComponent* component);
  void SetExcludeControls(const TStrings* value);

private:
  bool IsExcluded(const AnsiString& name) const;
  void Apply(TComponent* component, const IXMLDOMElement& node);

  IXMLDOMDocument FXMLDoc;
  TStringList FExcludeControls;
  TLoadComponentEvent FBeforeLoadComponent;
  TLoadComponentEvent FAfterLoadComponent;
};

class TLanguageController : public TComponent {
  TAVO_CLASS(TLanguageController, TComponent)
public:
  explicit TLanguageController(TComponent* AOwner);
  ~TLanguageController() override;

  // True while a language file is loaded. Setting opens or closes it; while the
  // controller is read from a form resource the value waits for Loaded.
  bool GetActive() const;
  void SetActive(bool value);
  const AnsiString& GetFileName() const { return FFileName; }
  // A different name closes the controller.
  void SetFileName(const AnsiString& value);
  // Names the file: the language folder of DesignType + value + ".Lng".
  const AnsiString& GetLangPackageName() const { return FLangPackageName; }
  void SetLangPackageName(const AnsiString& value);
  TStrings* GetExcludeControls() const { return FExcludeControls.get(); }
  // Copies the names (nullptr clears them).
  void SetExcludeControls(TStrings* value);
  // Raises LanguageControllerError "No active LanguageController!" while closed.
  TLangReader* GetReader() const;

  void Loaded() override;

  TDesignType DesignType = dtClient;
  TNotifyEvent AfterClose;
  TNotifyEvent AfterOpen;
  TNotifyEvent BeforeClose;
  TNotifyEvent BeforeOpen;
  // Taken by the reader when the controller opens.
  TLoadComponentEvent AfterLoadComponent;
  TLoadComponentEvent BeforeLoadComponent;

private:
  void Open();
  void Close();
  void ReleaseDocument();

  AnsiString FFileName;
  AnsiString FLangPackageName;
  IXMLDOMDocument FXMLDoc;
  std::unique_ptr<TLangReader> FReader;
  std::unique_ptr<TStringList> FExcludeControls;
  bool FStreamedActive = false;
  bool FStreamedPackageName = false;
};

class TKvLangController : public TLanguageController {
  TAVO_CLASS(TKvLangController, TLanguageController)
public:
  explicit TKvLangController(TComponent* AOwner) : TLanguageController(AOwner) {}
};
