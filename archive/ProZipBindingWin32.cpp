#include "archive/ProZipBinding.h"

#include <windows.h>

#include <oleauto.h>

#include <new>

#include "tkzip/ProZip.h"

namespace {

// Owns one BSTR made from an ANSI text, freed with SysFreeString.
class AnsiBstr {
public:
    explicit AnsiBstr(const std::string& ansi)
    {
        const int size = static_cast<int>(ansi.size());
        const int length = MultiByteToWideChar(CP_THREAD_ACP, 0, ansi.data(), size, nullptr, 0);
        text_ = SysAllocStringLen(nullptr, static_cast<UINT>(length));
        if (text_ == nullptr)
            throw std::bad_alloc();
        MultiByteToWideChar(CP_THREAD_ACP, 0, ansi.data(), size, text_, length);
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
