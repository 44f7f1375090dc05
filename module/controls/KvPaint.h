// Drawing and keyboard helpers shared by the module's self-painted controls.
#pragma once

#include "platform/vcl/Graphics.h"

// Whether charCode is the accelerator of caption: the character after a single "&"
// ("&&" stands for the character itself), compared without regard to case.
bool IsCaptionAccel(unsigned charCode, const AnsiString& caption);

// The focus rectangle as Windows draws it: a dotted frame that inverts the pixels it
// covers, so drawing it twice removes it.
void DrawFocusFrame(TCanvas* canvas, const TRect& rect);
