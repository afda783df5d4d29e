#include "archive/ProZipBinding.h"

#include <windows.h>

#include <oleauto.h>

#include <new>

#include "common/WideTextWin32.h"
#include "tkzip/ProZip.h"

namespace {

// Owns one BSTR made from an ANSI text, freed with SysFreeString.
class AnsiBstr {
public:
    explicit AnsiBstr(const std::string& ansi)
    {
        const std::wstring wide = WideText(ansi, CP_THREAD_ACP);
        text_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (text_ == nullptr)
            throw std::bad_alloc();
    }
    ~AnsiBstr() { SysFreeString(text_); }
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
