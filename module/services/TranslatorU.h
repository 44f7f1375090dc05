// The text conversions of the language library "Kvlanguage.dll", bound by name: GB to BIG5
// and back, plus the library's table exports, which are looked up but not used here.
#pragma once

#include "outside/kvlanguage/Kvlanguage.h"
#include "platform/rtl/System.h"
#include "platform/win/Windows.h"

// The name the library is loaded by, through the Windows search order.
inline constexpr const char* LanguageLibraryName = "Kvlanguage.dll";

class TTranslator : public TObject {
  TAVO_CLASS(TTranslator, TObject)
public:
  // Binds the library; raises Exception "Load Library Kvlanguage.dll Error!" when it
  // cannot be loaded and "Get Library Procedure Address Error!" when GBtoBIG5 or
  // BIG5toGB is missing. A failed constructor leaves nothing loaded.
  TTranslator();
  ~TTranslator() override;

  // Loads the library and resolves its exports, unless one is loaded already.
  void BindLibrary();

  // The text converted by the bound export; unchanged when the export was not resolved.
  // Raises EConvertError when the library reports a failure.
  AnsiString GbToBig5(const AnsiString& text) const;
  AnsiString Big5ToGb(const AnsiString& text) const;

  HMODULE Library = nullptr;
  TKvLanguageProc GBtoBIG5 = nullptr;
  TKvLanguageProc BIG5toGB = nullptr;
  TKvLanguageProc GetBIG5Data = nullptr;
  TKvLanguageProc GetGBData = nullptr;
  TKvLanguageProc SaveOrder = nullptr;

private:
  void UnbindLibrary();
};

// Runs one of the language library's exports on text: the result, grown to the size the
// export asks for. Raises EConvertError for a negative answer.
AnsiString CallLanguageProc(TKvLanguageProc proc, const AnsiString& text);
