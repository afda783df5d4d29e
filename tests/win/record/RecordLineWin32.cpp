#include "record/RecordLineWin32.h"

#include <windows.h>

namespace {

const int kAttempts = 500;
const DWORD kPauseMs = 10;

HANDLE OpenToAppend(const std::string& path)
{
    for (int attempt = 1;; ++attempt) {
        const HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION || attempt == kAttempts)
            return file;
        Sleep(kPauseMs);
    }
}

} // namespace

void AppendRecordLine(const std::string& path, const std::string& text)
{
    const HANDLE file = OpenToAppend(path);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}
