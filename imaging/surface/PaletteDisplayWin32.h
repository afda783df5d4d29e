#pragma once
// Whether the screen is a palette display: bits per pixel times colour planes is 8 or less. Windows only.
bool IsPaletteDisplay();
