#pragma once
// The layout's colour names as the system colours they stand for. Windows only.
#include <string>

// The GetSysColor index of clBtnFace, clWindow or clWindowText; ELayoutError for any other name.
int SystemColorIndex(const std::string& colorName);
