#include "app/SystemColorsWin32.h"

#include <windows.h>

#include <map>

#include "app/layout/LayoutTree.h"

int SystemColorIndex(const std::string& colorName)
{
    static const std::map<std::string, int> colors = {
        {"clBtnFace", COLOR_BTNFACE}, {"clWindow", COLOR_WINDOW}, {"clWindowText", COLOR_WINDOWTEXT}};
    const auto found = colors.find(colorName);
    if (found == colors.end())
        throw ELayoutError("Layout colour " + colorName + " is not a colour the window knows");
    return found->second;
}
