// The language library: ICU's Simplified-Traditional transliteration between the GB and
// BIG5 encodings, and tables of the forms each character may take.
#include "Kvlanguage.h"

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

using TForms = std::vector<UChar32>;

// Missing characters become '?' both ways, whatever substitute the code page defines.
void QuestionMarkToU(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                     UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) return;
  *err = U_ZERO_ERROR;
  const UChar mark = u'?';
  ucnv_cbToUWriteUChars(args, &mark, 1, 0, err);
}

void QuestionMarkFromU(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                       UChar32, UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) return;
  *err = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "?", 1, 0, err);
}

struct TConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};

// One code page: its converter and the characters it can hold.
class TCodePage {
public:
  bool Open(const char* name) {
    UErrorCode err = U_ZERO_ERROR;
    FConverter.reset(ucnv_open(name, &err));
    if (U_FAILURE(err) || !FConverter) return false;
    ucnv_setToUCallBack(FConverter.get(), QuestionMarkToU, nullptr, nullptr, nullptr, &err);
    ucnv_setFromUCallBack(FConverter.get(), QuestionMarkFromU, nullptr, nullptr, nullptr, &err);
    ucnv_getUnicodeSet(FConverter.get(), FCharacters.toUSet(), UCNV_ROUNDTRIP_SET, &err);
    return U_SUCCESS(err);
  }

  bool Decode(const char* bytes, int length, icu::UnicodeString& text) {
    ucnv_reset(FConverter.get());
    UErrorCode err = U_ZERO_ERROR;
    text = icu::UnicodeString(bytes, length, FConverter.get(), err);
    return U_SUCCESS(err);
  }

  bool Encode(const icu::UnicodeString& text, std::string& bytes) {
    ucnv_reset(FConverter.get());
    UErrorCode err = U_ZERO_ERROR;
    const int32_t needed = text.extract(nullptr, 0, FConverter.get(), err);
    if (err != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(err)) return false;
    bytes.assign(static_cast<size_t>(needed) + 1, '\0');
    err = U_ZERO_ERROR;
    ucnv_reset(FConverter.get());
    text.extract(bytes.data(), needed + 1, FConverter.get(), err);
    bytes.resize(static_cast<size_t>(needed));
    return U_SUCCESS(err);
  }

  bool Holds(UChar32 c) const { return FCharacters.contains(c) != 0; }
  const icu::UnicodeSet& Characters() const { return FCharacters; }

private:
  std::unique_ptr<UConverter, TConverterCloser> FConverter;
  icu::UnicodeSet FCharacters;
};

// Everything the exports share; one at a time works on it.
class TEngine {
public:
  bool Open() {
    UErrorCode err = U_ZERO_ERROR;
    FToTraditional.reset(icu::Transliterator::createInstance("Simplified-Traditional", UTRANS_FORWARD, err));
    if (U_FAILURE(err) || !FToTraditional) return false;
    err = U_ZERO_ERROR;
    FToSimplified.reset(icu::Transliterator::createInstance("Traditional-Simplified", UTRANS_FORWARD, err));
    if (U_FAILURE(err) || !FToSimplified) return false;
    return FGb.Open("windows-936") && FBig5.Open("windows-950");
  }

  TCodePage& Gb() { return FGb; }
  TCodePage& Big5() { return FBig5; }

  icu::UnicodeString ToTraditional(const icu::UnicodeString& text) {
    if (FOrders.empty()) return Transliterate(*FToTraditional, text);
    // A character with a chosen form breaks the text into runs the transliterator
    // converts by their own context.
    icu::UnicodeString result, run;
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
      const UChar32 c = text.char32At(i);
      auto order = FOrders.find(c);
      if (order == FOrders.end()) {
        run.append(c);
        continue;
      }
      result.append(Transliterate(*FToTraditional, run));
      run.remove();
      result.append(order->second.front());
    }
    return result.append(Transliterate(*FToTraditional, run));
  }

  icu::UnicodeString ToSimplified(const icu::UnicodeString& text) {
    return Transliterate(*FToSimplified, text);
  }

  // The forms c may take in BIG5, the preferred first; empty when it has none.
  TForms TraditionalForms(UChar32 c) {
    BuildTables();
    TForms forms;
    if (auto order = FOrders.find(c); order != FOrders.end()) forms = order->second;
    AddForm(forms, Single(Transliterate(*FToTraditional, icu::UnicodeString(c))));
    if (auto entry = FTraditionalOf.find(c); entry != FTraditionalOf.end())
      for (UChar32 t : entry->second) AddForm(forms, t);
    std::erase_if(forms, [this](UChar32 t) { return !FBig5.Holds(t); });
    return forms;
  }

  // The forms c may take in GB, the simplified one first.
  TForms SimplifiedForms(UChar32 c) {
    BuildTables();
    TForms forms;
    AddForm(forms, Single(Transliterate(*FToSimplified, icu::UnicodeString(c))));
    if (auto entry = FSimplifiedOf.find(c); entry != FSimplifiedOf.end())
      for (UChar32 s : entry->second) AddForm(forms, s);
    std::erase_if(forms, [this](UChar32 s) { return !FGb.Holds(s); });
    return forms;
  }

  // Sets (or with no forms clears) the order of c's forms; false when a form is not
  // one of c's.
  bool SetOrder(UChar32 c, const TForms& order) {
    if (order.empty()) {
      FOrders.erase(c);
      return true;
    }
    const TForms known = TraditionalForms(c);
    for (size_t i = 0; i < order.size(); ++i) {
      if (std::find(known.begin(), known.end(), order[i]) == known.end()) return false;
      if (std::find(order.begin(), order.begin() + static_cast<ptrdiff_t>(i), order[i]) !=
          order.begin() + static_cast<ptrdiff_t>(i))
        return false;
    }
    FOrders[c] = order;
    return true;
  }

private:
  static icu::UnicodeString Transliterate(const icu::Transliterator& t, icu::UnicodeString text) {
    t.transliterate(text);
    return text;
  }

  static std::optional<UChar32> Single(const icu::UnicodeString& text) {
    if (text.countChar32() != 1) return std::nullopt;
    return text.char32At(0);
  }

  static void AddForm(TForms& forms, std::optional<UChar32> c) {
    if (c && std::find(forms.begin(), forms.end(), *c) == forms.end()) forms.push_back(*c);
  }

  // Which characters of each code page turn into which: the reverse of the
  // transliteration, character by character, over every ideograph of GB and of BIG5.
  void BuildTables() {
    if (FTablesBuilt) return;
    const auto each = [](const icu::UnicodeSet& set, auto&& fn) {
      for (int32_t r = 0; r < set.getRangeCount(); ++r)
        for (UChar32 c = set.getRangeStart(r); c <= set.getRangeEnd(r); ++c)
          if (u_hasBinaryProperty(c, UCHAR_IDEOGRAPHIC)) fn(c);
    };
    each(FBig5.Characters(), [this](UChar32 t) {
      if (auto s = Single(Transliterate(*FToSimplified, icu::UnicodeString(t)))) FTraditionalOf[*s].push_back(t);
    });
    each(FGb.Characters(), [this](UChar32 s) {
      if (auto t = Single(Transliterate(*FToTraditional, icu::UnicodeString(s)))) FSimplifiedOf[*t].push_back(s);
    });
    FTablesBuilt = true;
  }

  std::unique_ptr<icu::Transliterator> FToTraditional;
  std::unique_ptr<icu::Transliterator> FToSimplified;
  TCodePage FGb;
  TCodePage FBig5;
  bool FTablesBuilt = false;
  std::map<UChar32, TForms> FTraditionalOf;  // simplified -> traditional characters of BIG5
  std::map<UChar32, TForms> FSimplifiedOf;   // traditional -> simplified characters of GB
  std::map<UChar32, TForms> FOrders;         // chosen by SaveOrder
};

std::mutex EngineLock;

// The engine, opened on first use; nullptr while ICU cannot provide it.
TEngine* Engine() {
  static std::unique_ptr<TEngine> engine;
  if (!engine) {
    auto candidate = std::make_unique<TEngine>();
    if (!candidate->Open()) return nullptr;
    engine = std::move(candidate);
  }
  return engine.get();
}

bool ValidArguments(const char* source, int sourceLength, const char* buffer, int bufferSize) {
  if (sourceLength < -1 || bufferSize < 0) return false;
  if (!source && sourceLength != 0) return false;
  return buffer || bufferSize == 0;
}

int Deliver(const std::string& result, char* buffer, int bufferSize) {
  if (result.size() >= static_cast<size_t>(INT_MAX)) return KVL_ERROR_TOO_LONG;
  const int length = static_cast<int>(result.size());
  if (length < bufferSize) {
    std::memcpy(buffer, result.data(), result.size());
    buffer[length] = '\0';
  }
  return length;
}

enum class TSide { Gb, Big5 };

// Decodes the source from one side, lets work turn it into text of the other side, and
// hands the encoded result to the caller.
template <class Work>
int Run(TSide from, const char* source, int sourceLength, char* buffer, int bufferSize, Work work) {
  if (!ValidArguments(source, sourceLength, buffer, bufferSize)) return KVL_ERROR_ARGUMENT;
  if (sourceLength == -1) sourceLength = static_cast<int>(std::strlen(source));
  std::lock_guard<std::mutex> lock(EngineLock);
  TEngine* engine = Engine();
  if (!engine) return KVL_ERROR_UNAVAILABLE;
  TCodePage& in = from == TSide::Gb ? engine->Gb() : engine->Big5();
  TCodePage& out = from == TSide::Gb ? engine->Big5() : engine->Gb();
  icu::UnicodeString text;
  if (!in.Decode(source ? source : "", sourceLength, text)) return KVL_ERROR_UNAVAILABLE;
  TCodePage* target = &out;
  const icu::UnicodeString result = work(*engine, text, target);
  std::string bytes;
  if (!target->Encode(result, bytes)) return KVL_ERROR_UNAVAILABLE;
  return Deliver(bytes, buffer, bufferSize);
}

// One line per character of text, each listing the character's forms.
template <class Forms>
icu::UnicodeString FormLines(const icu::UnicodeString& text, Forms forms) {
  icu::UnicodeString lines;
  bool first = true;
  for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
    const UChar32 c = text.char32At(i);
    if (!first) lines.append(u"\r\n", 2);
    first = false;
    if (u_iscntrl(c)) continue;
    const TForms list = forms(c);
    if (list.empty()) lines.append(u'?');
    for (UChar32 f : list) lines.append(f);
  }
  return lines;
}

bool IsLineBreak(UChar32 c) { return c == u'\r' || c == u'\n'; }

}  // namespace

extern "C" {

KVLANGUAGE_API int GBtoBIG5(const char* source, int sourceLength, char* buffer, int bufferSize) {
  return Run(TSide::Gb, source, sourceLength, buffer, bufferSize,
             [](TEngine& e, const icu::UnicodeString& text, TCodePage*&) { return e.ToTraditional(text); });
}

KVLANGUAGE_API int BIG5toGB(const char* source, int sourceLength, char* buffer, int bufferSize) {
  return Run(TSide::Big5, source, sourceLength, buffer, bufferSize,
             [](TEngine& e, const icu::UnicodeString& text, TCodePage*&) { return e.ToSimplified(text); });
}

KVLANGUAGE_API int GetBIG5Data(const char* source, int sourceLength, char* buffer, int bufferSize) {
  return Run(TSide::Gb, source, sourceLength, buffer, bufferSize,
             [](TEngine& e, const icu::UnicodeString& text, TCodePage*&) {
               return FormLines(text, [&e](UChar32 c) { return e.TraditionalForms(c); });
             });
}

KVLANGUAGE_API int GetGBData(const char* source, int sourceLength, char* buffer, int bufferSize) {
  return Run(TSide::Big5, source, sourceLength, buffer, bufferSize,
             [](TEngine& e, const icu::UnicodeString& text, TCodePage*&) {
               return FormLines(text, [&e](UChar32 c) { return e.SimplifiedForms(c); });
             });
}

KVLANGUAGE_API int SaveOrder(const char* source, int sourceLength, char* buffer, int bufferSize) {
  return Run(TSide::Gb, source, sourceLength, buffer, bufferSize,
             [](TEngine& e, const icu::UnicodeString& text, TCodePage*& target) {
               // The answer repeats lines of the source, so it stays in GB.
               target = &e.Gb();
               icu::UnicodeString taken;
               TForms line;
               const auto take = [&] {
                 if (line.empty()) return;
                 const TForms order(line.begin() + 1, line.end());
                 if (e.SetOrder(line.front(), order)) {
                   if (!taken.isEmpty()) taken.append(u"\r\n", 2);
                   for (UChar32 c : line) taken.append(c);
                 }
                 line.clear();
               };
               for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
                 const UChar32 c = text.char32At(i);
                 if (IsLineBreak(c))
                   take();
                 else if (!u_isWhitespace(c))
                   line.push_back(c);
               }
               take();
               return taken;
             });
}

}  // extern "C"
