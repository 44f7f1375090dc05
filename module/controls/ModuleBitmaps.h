// The module's own bitmap resources ("CHECKED", "UNCHECKED", "GRAYED"), found by name as
// LoadBitmap finds a library's resources.
#pragma once

#include "platform/vcl/Graphics.h"

// Fills bitmap with the named picture (names compare without regard to case); false,
// with the bitmap unchanged, when the module has no picture of that name.
bool LoadModuleBitmap(TBitmap* bitmap, const AnsiString& name);

// The colour that fills the unused parts of the module's pictures; their bottom-left
// pixel has it, so it is the pictures' transparent colour.
constexpr TColor ModuleBitmapBackground = clFuchsia;
