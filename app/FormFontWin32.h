#pragma once
// The update window's font and the measure that scales its layout. Windows only.
#include "app/FormDescription.h"
#include "common/HandlesWin32.h"

// The font of the description, its height adjusted to the screen's pixels per inch (FontHeightForScreen).
// When the face is missing the system's font mapper substitutes one. Raises EAppError when no font can be
// made at all.
FontHandle CreateFormFont(const FontDescription& font);

// The height in pixels of the text "0" in the font, on the screen.
int MeasuredTextHeight(HFONT font);
