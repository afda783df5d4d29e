#pragma once
// A temporary file beside a target: it receives the extracted bytes and then takes the target's place.
// Until it is committed the target is never touched, and an uncommitted file is removed when the object
// goes. Wide paths throughout. Windows only.
#include <windows.h>

#include <string>

#include "common/HandlesWin32.h"
#include "tkzip/ExtractSink.h"

class TempTargetFile : public ExtractSink {
public:
    // Creates a new, uniquely named file in the target's folder ("<target>.~tkz<process>.<n>").
    explicit TempTargetFile(std::wstring target);
    TempTargetFile(const TempTargetFile&) = delete;
    TempTargetFile& operator=(const TempTargetFile&) = delete;
    ~TempTargetFile() override;

    // False when no temporary file could be created (missing folder, no access).
    bool Created() const { return !path_.empty(); }

    bool Write(const char* data, std::size_t size) override;

    // Flushes and closes the file, then puts it in the target's place: ReplaceFileW when the target
    // exists (its attributes and security stay), MoveFileExW otherwise. False when that fails or the
    // target is a folder; the target then keeps its old content.
    bool Commit();

private:
    std::wstring target_;
    std::wstring path_;
    FileHandle file_;
};
