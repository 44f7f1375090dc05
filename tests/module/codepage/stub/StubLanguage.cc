// Stand-ins for the language library, each built as "Kvlanguage.dll" in a folder of its
// own: one lacking BIG5toGB, one whose conversions all fail.
#include "outside/kvlanguage/Kvlanguage.h"

#include <cstring>

#if !defined(STUB_LANGUAGE_FAILING)
namespace {

int Copy(const char* source, int sourceLength, char* buffer, int bufferSize) {
  if (sourceLength < 0) sourceLength = static_cast<int>(std::strlen(source));
  if (sourceLength < bufferSize) {
    std::memcpy(buffer, source, static_cast<size_t>(sourceLength));
    buffer[sourceLength] = '\0';
  }
  return sourceLength;
}

}  // namespace
#endif

extern "C" {

#if defined(STUB_LANGUAGE_FAILING)
__attribute__((visibility("default"))) int GBtoBIG5(const char*, int, char*, int) { return KVL_ERROR_UNAVAILABLE; }
__attribute__((visibility("default"))) int BIG5toGB(const char*, int, char*, int) { return KVL_ERROR_UNAVAILABLE; }
#else
__attribute__((visibility("default"))) int GBtoBIG5(const char* source, int sourceLength, char* buffer, int bufferSize) {
  return Copy(source, sourceLength, buffer, bufferSize);
}
#endif

}  // extern "C"
