#include "app/ControlsWin32.h"

#include "imaging/surface/PictureCanvasWin32.h"

void TImage::Paint(const PaintContext& context) const
{
    if (picture == nullptr)
        return;
    const HDC dc = context.deviceContext;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height);
    PictureCanvas canvas(dc);
    drawing = true;
    struct DrawingScope {
        bool& flag;
        ~DrawingScope() { flag = false; }
    } scope{drawing};
    picture->Draw(canvas, {bounds.left, bounds.top, bounds.left + picture->Width(), bounds.top + picture->Height()});
    RestoreDC(dc, saved);
}
