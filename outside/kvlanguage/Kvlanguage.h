// The language library "Kvlanguage.dll": turns Simplified Chinese texts in GB (code page
// 936) into Traditional Chinese texts in BIG5 (code page 950) and back, and answers the
// table behind that conversion: which traditional forms a simplified character may take
// (and the reverse), with an order of preference a program may change.
//
// Every export has the same shape, text in and text out:
//
//   int Export(const char* source, int sourceLength, char* buffer, int bufferSize);
//
// - source holds sourceLength bytes; -1 means "up to a terminating zero". A null source
//   is allowed with length 0. Zero bytes inside the given length are ordinary characters.
// - The answer is the length in bytes of the whole result, without a terminating zero.
// - The result and a terminating zero are written to buffer only when they fit, that is
//   when the answer is less than bufferSize. Otherwise buffer is not touched, so a call
//   with bufferSize 0 (buffer may then be null) asks for the size needed.
// - A negative answer is an error (KVL_ERROR_...); buffer is then not touched.
// - Bytes that are no character of the source code page, and characters the target code
//   page lacks, become '?'.
// - The library keeps no memory of the caller's: nothing is to be freed. Every export may
//   be called from any thread.
//
// Lines in the table exports are separated by CR LF.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#if defined(KVLANGUAGE_BUILD)
#define KVLANGUAGE_API __attribute__((visibility("default")))
#else
#define KVLANGUAGE_API
#endif

// Negative answers.
#define KVL_ERROR_ARGUMENT (-1)     // a null source or buffer with a length, a negative size
#define KVL_ERROR_UNAVAILABLE (-2)  // the conversion data or a code page cannot be loaded
#define KVL_ERROR_TOO_LONG (-3)     // the result would not fit an int

// The type of every export, for programs that look them up by name.
typedef int (*TKvLanguageProc)(const char* source, int sourceLength, char* buffer, int bufferSize);

// GB text to BIG5 text, Simplified characters turned Traditional. Where a simplified
// character has several traditional forms the conversion chooses by the surrounding
// words, unless SaveOrder set a preferred form for that character.
KVLANGUAGE_API int GBtoBIG5(const char* source, int sourceLength, char* buffer, int bufferSize);

// BIG5 text to GB text, Traditional characters turned Simplified.
KVLANGUAGE_API int BIG5toGB(const char* source, int sourceLength, char* buffer, int bufferSize);

// GB text in; BIG5 text out: one line per character of the source, holding the forms the
// character may take in BIG5, the preferred one first (a character that stays as it is
// gives itself; one BIG5 lacks gives "?"; a control character an empty line).
KVLANGUAGE_API int GetBIG5Data(const char* source, int sourceLength, char* buffer, int bufferSize);

// BIG5 text in; GB text out: one line per character, the forms it may take in GB, the
// simplified one first, in the same manner as GetBIG5Data.
KVLANGUAGE_API int GetGBData(const char* source, int sourceLength, char* buffer, int bufferSize);

// GB text in: lines, each a simplified character followed by its traditional forms (as
// GB characters) in the order of preference. A line whose forms are all forms
// GetBIG5Data offers for the character replaces that character's order, and GBtoBIG5
// then uses the first form; a line of the character alone clears its order. Other lines
// are ignored. GB text out: the lines that were taken. Orders last while the library is
// loaded.
KVLANGUAGE_API int SaveOrder(const char* source, int sourceLength, char* buffer, int bufferSize);

#ifdef __cplusplus
}
#endif
