#include "archive/ProZipBinding.h"

#include <windows.h>

#include <oleauto.h>

#include <new>

#include "common/SystemFunctionWin32.h"
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
        const int size = static_cast<int>(ansi.size());
        const int length = MultiByteToWideChar(CP_THREAD_ACP, 0, ansi.data(), size, nullptr, 0);
        text_ = Ole().allocate(nullptr, static_cast<UINT>(length));
        if (text_ == nullptr)
            throw std::bad_alloc();
        MultiByteToWideChar(CP_THREAD_ACP, 0, ansi.data(), size, text_, length);
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
