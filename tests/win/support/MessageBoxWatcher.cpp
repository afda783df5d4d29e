#include "support/MessageBoxWatcher.h"

#include "support/ClientPixels.h"
#include "support/ProcessWindows.h"

#include <chrono>
#include <set>

namespace {

const DWORD PollMs = 20;
// Id of a message box's text control.
const int TextControlId = 0xFFFF;

std::string WindowText(HWND window)
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

BOOL CALLBACK FindIcon(HWND control, LPARAM iconControl)
{
    if (lstrcmpiA(ClassNameOf(control).c_str(), "Static") != 0 || (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
        return TRUE;
    *reinterpret_cast<HWND*>(iconControl) = control;
    return FALSE;
}

struct IconKind {
    LPCSTR icon;
    UINT flag;
};
const IconKind IconKinds[] = {{IDI_HAND, MB_ICONERROR},
                              {IDI_QUESTION, MB_ICONQUESTION},
                              {IDI_EXCLAMATION, MB_ICONWARNING},
                              {IDI_ASTERISK, MB_ICONINFORMATION}};

// The icon flag of a box: by the icon handle for a box of this process; for a box of another process,
// whose icon handles mean nothing here, by the icon's pixels on the screen.
UINT IconFlag(HWND box)
{
    HWND control = nullptr;
    EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&control));
    if (control == nullptr)
        return 0;
    DWORD_PTR shown = 0;
    SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 1000, &shown);
    for (const IconKind& kind : IconKinds)
        if (shown != 0 && reinterpret_cast<HICON>(shown) == LoadIconA(nullptr, kind.icon))
            return kind.flag;
    // The box may be found before it has painted its icon: look again for a while.
    for (int attempt = 0; attempt < 100; ++attempt, Sleep(PollMs))
        for (const IconKind& kind : IconKinds)
            if (ShowsIcon(control, LoadIconA(nullptr, kind.icon)))
                return kind.flag;
    return 0;
}

UINT ButtonFlag(HWND box)
{
    std::set<int> buttons;
    for (const int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        const HWND button = GetDlgItem(box, id);
        if (button != nullptr && IsWindowVisible(button))
            buttons.insert(id);
    }
    const struct {
        std::set<int> buttons;
        UINT flag;
    } kinds[] = {{{IDOK}, MB_OK},
                 {{IDOK, IDCANCEL}, MB_OKCANCEL},
                 {{IDABORT, IDRETRY, IDIGNORE}, MB_ABORTRETRYIGNORE},
                 {{IDYES, IDNO, IDCANCEL}, MB_YESNOCANCEL},
                 {{IDYES, IDNO}, MB_YESNO},
                 {{IDRETRY, IDCANCEL}, MB_RETRYCANCEL}};
    for (const auto& kind : kinds) {
        if (kind.buttons == buttons)
            return kind.flag;
    }
    return 0;
}

SeenMessageBox Read(HWND box)
{
    SeenMessageBox seen;
    seen.caption = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, TextControlId));
    seen.flags = IconFlag(box) | ButtonFlag(box);
    seen.owner = GetWindow(box, GW_OWNER);
    return seen;
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher(int answer, WhileUp whileUp, DWORD processId)
    : answer_(answer), whileUp_(std::move(whileUp)), processId_(processId), thread_([this] { Watch(); })
{
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    stop_ = true;
    thread_.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

std::vector<SeenMessageBox> MessageBoxWatcher::WaitForBoxes(std::size_t count, DWORD timeoutMs) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    seenMore_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return seen_.size() >= count; });
    return seen_;
}

void MessageBoxWatcher::Watch()
{
    while (!stop_) {
        const HWND box = FindBox();
        if (box != nullptr)
            Answer(box);
        else
            Sleep(PollMs);
    }
}

HWND MessageBoxWatcher::FindBox() const
{
    return FindProcessWindow(processId_, [](HWND window) { return ClassNameOf(window) == "#32770"; });
}

// Records the box, runs the check, presses the button and waits until the box is gone, so that it is
// never answered twice.
void MessageBoxWatcher::Answer(HWND box)
{
    const SeenMessageBox seen = Read(box);
    if (whileUp_)
        whileUp_(seen);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(seen);
    }
    seenMore_.notify_all();
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer_)));
    while (!stop_ && IsWindow(box))
        Sleep(PollMs);
}
