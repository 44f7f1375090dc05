#include "module/services/TranslatorU.h"

#include "platform/rtl/SysUtils.h"

#include <climits>

TAVO_CLASS_IMPL(TTranslator, TObject)

TTranslator::TTranslator() {
  try {
    BindLibrary();
  } catch (...) {
    // The destructor does not run for an object that was never made.
    UnbindLibrary();
    throw;
  }
}

TTranslator::~TTranslator() { UnbindLibrary(); }

void TTranslator::BindLibrary() {
  if (Library) return;
  Library = LoadLibrary(LanguageLibraryName);
  if (!Library) throw Exception(Format("Load Library %s Error!", {LanguageLibraryName}));
  const auto resolve = [this](const char* name) {
    return reinterpret_cast<TKvLanguageProc>(GetProcAddress(Library, name));
  };
  GBtoBIG5 = resolve("GBtoBIG5");
  BIG5toGB = resolve("BIG5toGB");
  GetBIG5Data = resolve("GetBIG5Data");
  GetGBData = resolve("GetGBData");
  SaveOrder = resolve("SaveOrder");
  if (!GBtoBIG5 || !BIG5toGB) throw Exception("Get Library Procedure Address Error!");
}

void TTranslator::UnbindLibrary() {
  GBtoBIG5 = BIG5toGB = GetBIG5Data = GetGBData = SaveOrder = nullptr;
  if (Library) FreeLibrary(Library);
  Library = nullptr;
}

AnsiString TTranslator::GbToBig5(const AnsiString& text) const {
  return GBtoBIG5 ? CallLanguageProc(GBtoBIG5, text) : text;
}

AnsiString TTranslator::Big5ToGb(const AnsiString& text) const {
  return BIG5toGB ? CallLanguageProc(BIG5toGB, text) : text;
}

AnsiString CallLanguageProc(TKvLanguageProc proc, const AnsiString& text) {
  if (text.size() >= static_cast<size_t>(INT_MAX))
    throw EConvertError(Format("%s: the text is too long to convert", {LanguageLibraryName}));
  const int length = static_cast<int>(text.size());
  // GB and BIG5 spell a character in as many bytes, so one call nearly always does.
  AnsiString result(text.size() + 16, '\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int size = static_cast<int>(result.size());
    const int answer = proc(text.data(), length, result.data(), size);
    if (answer < 0)
      throw EConvertError(Format("%s: conversion failed (%d)", {LanguageLibraryName, answer}));
    if (answer < size) {
      result.resize(static_cast<size_t>(answer));
      return result;
    }
    result.assign(static_cast<size_t>(answer) + 1, '\0');
  }
  throw EConvertError(Format("%s: conversion failed (%d)", {LanguageLibraryName, KVL_ERROR_TOO_LONG}));
}
