#include "app/fUpDateMain.h"

#include <utility>

#include "app/FormFontWin32.h"
#include "app/layout/LayoutResourceWin32.h"
#include "app/layout/PictureBlock.h"
#include "app/ProgramIconWin32.h"
#include "app/SystemColorsWin32.h"
#include "app/WindowProcedureWin32.h"
#include "imaging/surface/PictureRegistry.h"

namespace {

const char FrmMainClassName[] = "TFrmMain";
const char LayoutResourceName[] = "TFRMMAIN";

void RegisterFrmMainClass()
{
    static const bool registered = [] {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProcedure<TFrmMain>;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        const ProgramIcons icons = LoadProgramIcons();
        windowClass.hIcon = icons.icon;
        windowClass.hIconSm = icons.smallIcon;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = FrmMainClassName;
        return RegisterClassExA(&windowClass) != 0;
    }();
    if (!registered)
        throw EAppError("Cannot register the update window class");
}

struct FrameStyle {
    DWORD style = 0;
    DWORD extendedStyle = 0;
};

// The window styles of the layout's frame and title-bar buttons.
FrameStyle FrameStyleOf(const FormDescription& form)
{
    FrameStyle frame{WS_CLIPCHILDREN, 0};
    if (form.borderStyle == "bsNone")
        frame.style |= WS_POPUP;
    else
        frame.style |= WS_CAPTION;
    if (form.borderStyle == "bsSizeable")
        frame.style |= WS_THICKFRAME;
    if (form.borderStyle == "bsDialog")
        frame.extendedStyle |= WS_EX_DLGMODALFRAME;
    if (form.systemMenu)
        frame.style |= WS_SYSMENU;
    if (form.minimizeBox)
        frame.style |= WS_MINIMIZEBOX;
    if (form.maximizeBox)
        frame.style |= WS_MAXIMIZEBOX;
    return frame;
}

// The picture that the registered class of the block's kind makes, or none when no class is registered
// under that kind.
std::unique_ptr<Picture> PictureOf(const std::vector<std::uint8_t>& block)
{
    const PictureBlock parsed = ParsePictureBlock({block.data(), block.size()});
    const PictureFactory* factory = PictureClasses().Find(parsed.kind);
    if (factory == nullptr)
        return nullptr;
    return (*factory)(parsed.data.data, parsed.data.size);
}

} // namespace

TFrmMain::TFrmMain(Application& application) : application_(application)
{
    Build(DescribeForm(LoadLayoutResource(LayoutResourceName)));
    application_.SetMainWindow(Handle());
    application_.SetOnRestore([this] { TaskbarEntryRestored(); });
}

void TFrmMain::Build(const FormDescription& form)
{
    font_ = CreateFormFont(form.font);
    backgroundColor_ = SystemColorIndex(form.color);
    textColor_ = SystemColorIndex(form.font.color);
    desktopCenter_ = form.desktopCenter;
    if (form.onShow == "FormShow")
        onShow_ = &TFrmMain::FormShow;
    else if (!form.onShow.empty())
        throw ELayoutError("The update window has no handler " + form.onShow);
    const FormBounds bounds = LaidOutBounds(form, MeasuredTextHeight(font_.Get()));
    for (std::size_t i = 0; i < form.controls.size(); ++i)
        BindControl(form.controls[i], bounds.controls[i]);

    RegisterFrmMainClass();
    const FrameStyle frame = FrameStyleOf(form);
    RECT outer = {0, 0, bounds.client.width, bounds.client.height};
    AdjustWindowRectEx(&outer, frame.style, FALSE, frame.extendedStyle);
    window_.Reset(CreateWindowExA(frame.extendedStyle, FrmMainClassName, form.caption.c_str(), frame.style,
                                  form.position.x, form.position.y, outer.right - outer.left,
                                  outer.bottom - outer.top, application_.Handle(), nullptr,
                                  GetModuleHandleA(nullptr), this));
    if (!window_)
        throw EAppError("Cannot create the update window");
}

// Gives the layout's control to the field of its name, which must be of the control's kind.
void TFrmMain::BindControl(const ControlDescription& control, const ControlBounds& bounds)
{
    const std::pair<const char*, TImage*> images[] = {{"Image1", &Image1}, {"Image2", &Image2}};
    for (const auto& [name, field] : images)
        if (control.name == name && control.kind == ControlKind::Picture) {
            field->bounds = bounds;
            if (control.picture)
                field->picture = PictureOf(*control.picture);
            if (field->picture)
                field->picture->SetOnChange([this, field] { PictureChanged(*field); });
            controls_.push_back(field);
            return;
        }
    if (control.name == "Label1" && control.kind == ControlKind::Label) {
        Label1.bounds = bounds;
        Label1.caption = control.caption;
        controls_.push_back(&Label1);
        return;
    }
    throw ELayoutError("The update window has no field for the layout control " + control.name);
}

// An animated picture moved on: its control is repainted, without erasing (it covers its bounds), unless
// the change came from the control's own paint.
void TFrmMain::PictureChanged(const TImage& image) const
{
    if (image.drawing || !window_)
        return;
    const RECT area = {image.bounds.left, image.bounds.top, image.bounds.left + image.bounds.width,
                       image.bounds.top + image.bounds.height};
    InvalidateRect(Handle(), &area, FALSE);
}

void TFrmMain::Close()
{
    application_.RequestQuit();
}

LRESULT TFrmMain::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_MINIMIZE)
            return DefWindowProcA(window, message, wParam, lParam);
        Minimize();
        return 0;
    case WM_ERASEBKGND:
        EraseBackground(window, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_PAINT:
        Paint(window);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void TFrmMain::EraseBackground(HWND window, HDC deviceContext) const
{
    RECT client = {};
    GetClientRect(window, &client);
    FillRect(deviceContext, &client, GetSysColorBrush(backgroundColor_));
}

// Paints the controls in layout order; errors are the window procedure's to report.
void TFrmMain::Paint(HWND window) const
{
    PAINTSTRUCT paint = {};
    const HDC dc = BeginPaint(window, &paint);
    struct EndPaintOnExit {
        HWND window;
        PAINTSTRUCT& paint;
        ~EndPaintOnExit() { EndPaint(window, &paint); }
    } end{window, paint};
    const PaintContext context{dc, font_.Get(), GetSysColor(textColor_)};
    for (const TControl* control : controls_)
        control->Paint(context);
}
