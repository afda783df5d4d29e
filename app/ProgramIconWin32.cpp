#include "app/ProgramIconWin32.h"

namespace {

const char ProgramIconName[] = "MAINICON";

HICON LoadSharedIcon(int widthMetric, int heightMetric)
{
    const int width = GetSystemMetrics(widthMetric), height = GetSystemMetrics(heightMetric);
    auto icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), ProgramIconName, IMAGE_ICON, width, height, LR_SHARED));
    if (icon == nullptr)
        icon = static_cast<HICON>(LoadImageA(nullptr, IDI_APPLICATION, IMAGE_ICON, width, height, LR_SHARED));
    return icon;
}

} // namespace

ProgramIcons LoadProgramIcons()
{
    return {LoadSharedIcon(SM_CXICON, SM_CYICON), LoadSharedIcon(SM_CXSMICON, SM_CYSMICON)};
}
