#pragma once
// Watches for the message boxes of one process (this one by default) from a thread of its own, the way a
// user would see them: each visible top-level dialog window (class "#32770") of that process is read
// (caption, text, owner, and the icon and button flags as far as they can be told from its controls), an
// optional check runs while it is up, and then one of its buttons is pressed. Works for boxes of another
// process too, so the end-to-end tests can answer the program's boxes.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenMessageBox {
    std::string caption;
    std::string text;
    // Icon flag (MB_ICONERROR, MB_ICONQUESTION, MB_ICONWARNING, MB_ICONINFORMATION or 0 when none was
    // recognised) together with the button flag (MB_OK, MB_YESNO, ...).
    UINT flags = 0;
    HWND owner = nullptr;
};

class MessageBoxWatcher {
public:
    using WhileUp = std::function<void(const SeenMessageBox&)>;

    // Answers every box with the button `answer` (IDOK, IDYES, ...), after running `whileUp` on it.
    explicit MessageBoxWatcher(int answer = IDOK, WhileUp whileUp = {}, DWORD processId = GetCurrentProcessId());
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // The boxes seen so far, oldest first.
    std::vector<SeenMessageBox> Seen() const;
    // Waits until `count` boxes have been seen, or `timeoutMs` has passed; returns those seen.
    std::vector<SeenMessageBox> WaitForBoxes(std::size_t count, DWORD timeoutMs = 30000) const;

private:
    void Watch();
    HWND FindBox() const;
    void Answer(HWND box);

    const int answer_;
    const WhileUp whileUp_;
    const DWORD processId_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable seenMore_;
    std::vector<SeenMessageBox> seen_;
    std::thread thread_;
};
