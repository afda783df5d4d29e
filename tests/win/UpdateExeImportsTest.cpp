// What Update.exe binds at load time, read from its import table: TkZip.dll (a missing one must stop the
// program from starting), and none of the libraries that only one path needs (the archive binding's OLE
// strings, the relaunch's shell, the strip's multimedia timer), which are loaded at their first use.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/AsciiUpper.h"
#include "support/ScratchFolder.h"
#include "support/UpdaterRun.h"

using ::testing::Contains;
using ::testing::Not;

namespace {

// The names in the image's import directory, upper-cased. The image is of this program's own bitness.
std::vector<std::string> ImportedLibraries(const std::string& path)
{
    const std::string image = ScratchFolder::Read(path);
    const char* const base = image.data();
    const auto* const dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* const nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* const sections = IMAGE_FIRST_SECTION(nt);
    const auto at = [&](DWORD rva) {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return base + (rva - s.VirtualAddress + s.PointerToRawData);
        }
        throw std::runtime_error("address outside every section");
    };
    const DWORD directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    std::vector<std::string> names;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(directory)); d->Name != 0; ++d)
        names.push_back(AsciiUpperCase(at(d->Name)));
    return names;
}

} // namespace

TEST(UpdateExeImports, TkZipIsBoundAtLoadTimeAndOnePathLibrariesAreNot)
{
    const std::vector<std::string> names = ImportedLibraries(ProgramsFolder() + "Update.exe");
    EXPECT_THAT(names, Contains("TKZIP.DLL"));
    for (const char* lateLibrary : {"OLEAUT32.DLL", "SHELL32.DLL", "WINMM.DLL"})
        EXPECT_THAT(names, Not(Contains(lateLibrary)));
}
