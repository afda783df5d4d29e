#include "tkzip/ProZip.h"

#include <windows.h>

#include "common/HandlesWin32.h"
#include "common/HoldsWin32.h"
#include "common/ReplacementFileWin32.h"
#include "common/TemporariesWin32.h"
#include "common/WideTextWin32.h"
#include "tkzip/ZipExtract.h"

namespace {

constexpr int ExtractOneMember = 1;
constexpr int Failure = -1;

// The extracted bytes go straight into the target's replacement file.
class ReplacementSink : public ExtractSink {
public:
    explicit ReplacementSink(ReplacementFile& file) : file_(file) {}
    bool Write(const char* data, std::size_t size) override { return file_.Write(data, size); }

private:
    ReplacementFile& file_;
};

// The target's file name as a member may store it: UTF-8 when the member is flagged so, else the OEM
// code page in which archivers on the system write names (GBK on Chinese systems).
std::vector<std::string> TargetNames(const std::wstring& target)
{
    const std::wstring name = target.substr(target.find_last_of(L"\\/:") + 1);
    return {NarrowText(name, CP_UTF8), NarrowText(name, CP_OEMCP)};
}

// The archive, opened here as the archive reader would open it (for reading, others may read and write),
// so that another program's moment's hold on a staged archive is outlasted as on any staged file; the
// source owns the handle from then on. Null when it cannot be opened or read.
zip_source_t* OpenArchive(const wchar_t* archive)
{
    FileHandle file = OutlastHolds([&] {
        return FileHandle(CreateFileW(archive, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    });
    if (!file)
        return nullptr;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_win32handle_create(file.Get(), 0, -1, &error);
    zip_error_fini(&error);
    if (source != nullptr)
        file.Release();
    return source;
}

int Extract(const wchar_t* archive, const std::wstring& target)
{
    const TemporariesScope temporaries;
    const HoldOperation operation; // the archive and the target wait within one bound
    ReplacementFile replacement(target);
    if (!replacement.Created())
        return Failure;
    zip_source_t* source = OpenArchive(archive);
    if (source == nullptr)
        return Failure;
    ReplacementSink sink(replacement);
    return ExtractMember(source, TargetNames(target), sink) && replacement.Commit() ? 0 : Failure;
}

} // namespace

extern "C" int __stdcall ProZip(const wchar_t* archive, const wchar_t* target, int mode)
{
    try {
        if (mode != ExtractOneMember || archive == nullptr || target == nullptr)
            return Failure;
        return Extract(archive, target);
    } catch (...) {
        return Failure;
    }
}
