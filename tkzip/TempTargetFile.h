#pragma once
// A temporary file beside a target: it receives the extracted bytes and then takes the target's place.
// Windows only (TempTargetFileWin32.cpp). Until it is committed, the target is never touched, and the
// temporary file is removed when the object goes.
#include <string>

#include "tkzip/ExtractSink.h"

class TempTargetFile : public ExtractSink {
public:
    // Creates a new, uniquely named file in the target's folder ("<target>.~tkz<process>.<n>").
    explicit TempTargetFile(const std::wstring& target);
    ~TempTargetFile() override;
    TempTargetFile(const TempTargetFile&) = delete;
    TempTargetFile& operator=(const TempTargetFile&) = delete;

    // False when no temporary file could be created (missing folder, no access).
    bool IsOpen() const;

    bool Write(const char* data, std::size_t size) override;

    // Flushes and closes the file, then puts it in the target's place: ReplaceFileW when the target
    // exists (keeping the old file's attributes and security), MoveFileExW otherwise. False when that
    // fails or the target is a folder; the target is then as it was.
    bool Commit();

private:
    std::wstring target_;
    std::wstring path_;
    void* handle_;
    bool created_ = false;
    bool committed_ = false;
};
