// Drawing helpers shared by the module's self-painted controls.
#pragma once

#include "platform/vcl/Graphics.h"

// The focus rectangle as Windows draws it: a dotted frame that inverts the pixels it
// covers, so drawing it twice removes it.
void DrawFocusFrame(TCanvas* canvas, const TRect& rect);
