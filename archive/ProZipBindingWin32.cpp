#include "archive/ProZipBinding.h"

#include <windows.h>

#include <oleauto.h>

#include <new>

#include "common/SystemFunctionWin32.h"
#include "common/WideTextWin32.h"
#include "tkzip/ProZip.h"

namespace {

// The OLE string functions, loaded with the first archive entry: no other path needs their library.
struct OleStrings {
    decltype(SysAllocStringLen)* const allocate =
        SystemFunction<decltype(SysAllocStringLen)>("oleaut32.dll", "SysAllocStringLen");
    decltype(SysFreeString)* const free = SystemFunction<decltype(SysFreeString)>("oleaut32.dll", "SysFreeString");
};

const OleStrings& Ole()
{
    static const OleStrings ole;
    return ole;
}

// Owns one BSTR made from an ANSI text, freed with SysFreeString. Without the OLE library no BSTR can be
// made, as when memory runs out.
class AnsiBstr {
public:
    explicit AnsiBstr(const std::string& ansi)
    {
        if (Ole().allocate == nullptr || Ole().free == nullptr)
            throw std::bad_alloc();
        const std::wstring wide = WideText(ansi, CP_THREAD_ACP);
        text_ = Ole().allocate(wide.data(), static_cast<UINT>(wide.size()));
        if (text_ == nullptr)
            throw std::bad_alloc();
    }
    ~AnsiBstr() { Ole().free(text_); }
    AnsiBstr(const AnsiBstr&) = delete;
    AnsiBstr& operator=(const AnsiBstr&) = delete;

    BSTR Get() const { return text_; }

private:
    BSTR text_;
};

} // namespace

int CallProZip(const std::string& archiveAnsi, const std::string& targetAnsi, int mode)
{
    const AnsiBstr archive(archiveAnsi);
    const AnsiBstr target(targetAnsi);
    return ProZip(archive.Get(), target.Get(), mode);
}
