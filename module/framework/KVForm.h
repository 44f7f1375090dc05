// TKVForm: the base of every form of the module. It gives each form a code-page converter
// and a language controller, clears input-method names, adapts fonts to the English
// interface, gives one-image buttons a greyed image for their disabled state, converts
// the captions into the interface's code page once and applies the language packages of
// its class chain whenever it is shown.
#pragma once

#include "module/services/CodeConverter.h"
#include "module/services/LanguageController.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

class TKVForm : public TForm {
  TAVO_CLASS(TKVForm, TForm)
public:
  explicit TKVForm(TComponent* AOwner);

  // Language packages named after target's class, or, with ancestors, after every class
  // from the oldest below TForm down to target's own, so later ones override earlier
  // ones. Packages without a file are skipped; a broken one is logged and skipped.
  virtual void LoadLanguage(TComponent* target, bool withAncestors);
  // The same, leaving out TKVForm and its ancestors.
  virtual void LoadOwnLanguage(TComponent* target, bool withAncestors);

  // Converts captions, hints and item texts into the interface's code page; only the
  // first call does anything.
  void ConvertCaptions();

  // The code pages in force: "936", "950" or "437" ("437" is the English interface).
  AnsiString GetSystemCodePage() const;
  AnsiString GetUICodePage() const;
  BYTE GetUIConvertMode() const;
  BYTE GetDBConvertMode() const;

  // The text of key in the language file of section (a class name); defaultText, first
  // converted for display when convertDefault, where there is none.
  void GetLangText(const AnsiString& section, const AnsiString& key, AnsiString& text, bool convertDefault,
                   const AnsiString& defaultText);
  // A message box captioned like this form; answers the modal result.
  int MessageBox(const AnsiString& text, TMsgDlgType dlgType, TMsgDlgButtons buttons);

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);

  TCodeConverter* KvConverter = nullptr;
  TKvLangController* LangController = nullptr;

private:
  void ApplyLanguagePackages(TComponent* target, bool withAncestors, const TMetaClass* stopAt);

  bool CaptionsConverted = false;
};

#ifndef TAVO_LEGACY
// Widens a glyph of one image by its disabled image: the dark pixels of the picture, and
// the light ones on its outline, etched in the button highlight and shadow colours on the
// button face. The glyph becomes 24-bit; its transparent colour stays the same.
void AppendDisabledImage(TBitmap* glyph);

// The buttons of one component that share their form's disabled images: a speed button
// or bitmap button itself, or the buttons a control carries (IEmbeddedButtons).
void GiveDisabledImages(TComponent* component);
#endif
