// The glyph library "Glyphbank.dll": the pictures of the lookup, delete, clear, date and
// other small buttons, fetched by number so that every program shows the same ones.
//
// A glyph is a horizontal strip of square frames (16 by 16 pixels each), 24 bits per
// pixel; the colour of its bottom-left pixel is the transparent background colour. Most
// glyphs hold one frame; a glyph with a second frame shows it for the disabled look.
//
// The exports use the C calling convention of the platform and hand nothing over that the
// caller would have to free:
//
//   int GetMaxBmpID(void);
//     The highest glyph number. Every number from 1 to it has a picture.
//
//   int LoadBmp(int id, unsigned char* buffer, int bufferSize);
//     Glyph `id` as the bytes of a Windows BMP file (file header, BITMAPINFOHEADER,
//     bottom-up rows of 24-bit pixels). The answer is the size in bytes of the whole
//     picture; it is written to buffer only when it fits (answer <= bufferSize), otherwise
//     buffer is not touched, so a call with bufferSize 0 (buffer may then be null) asks for
//     the size. A negative answer is an error (GLB_ERROR_...), buffer untouched.
//
// Both may be called from any thread.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#if defined(GLYPHBANK_BUILD)
#define GLYPHBANK_API __attribute__((visibility("default")))
#else
#define GLYPHBANK_API
#endif

#define GLB_ERROR_UNKNOWN_ID (-1)  // 0, negative, or above GetMaxBmpID
#define GLB_ERROR_ARGUMENT (-2)    // a negative size, or a null buffer with a size

typedef int (*TGetMaxBmpIDProc)(void);
typedef int (*TLoadBmpProc)(int id, unsigned char* buffer, int bufferSize);

GLYPHBANK_API int GetMaxBmpID(void);
GLYPHBANK_API int LoadBmp(int id, unsigned char* buffer, int bufferSize);

#ifdef __cplusplus
}
#endif
