#include "app/ControlsWin32.h"

void TLabel::Paint(const PaintContext& context) const
{
    const HDC dc = context.deviceContext;
    RECT area = {bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
    const HGDIOBJ oldFont = SelectObject(dc, context.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, context.textColor);
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_EXPANDTABS);
    SelectObject(dc, oldFont);
}
