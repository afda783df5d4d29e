#include "common/AsciiUpper.h"
#include "common/HandlesWin32.h"
#include "common/TerminateProcessesWin32.h"
#include "common/TlHelp32.h"
#include "common/UnitPublic.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <thread>
#include <vector>

// Each case copies this test program into a fresh folder under the names it needs and starts the copies as
// sleepers (support/SleeperWin32.cpp), then lets TerminateProcessesByName loose on them.
namespace {

std::string OwnPath()
{
    std::string path(MAX_PATH, '\0');
    path.resize(GetModuleFileNameA(nullptr, path.data(), MAX_PATH));
    return path;
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\') + 1);
}

// The image name that the process list gives for a process id, or "" while it is not listed yet.
std::string ListedImageName(DWORD processId)
{
    const FileHandle snapshot(TlHelp32::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = TlHelp32::Process32First(snapshot.Get(), &entry); more;
         more = TlHelp32::Process32Next(snapshot.Get(), &entry))
        if (entry.th32ProcessID == processId)
            return entry.szExeFile;
    return "";
}

struct Sleeper {
    std::string path;
    KernelHandle process;
    DWORD processId = 0;

    bool Ended(DWORD waitMilliseconds) const
    {
        return WaitForSingleObject(process.Get(), waitMilliseconds) == WAIT_OBJECT_0;
    }
    DWORD ExitCode() const
    {
        DWORD code = 0;
        GetExitCodeProcess(process.Get(), &code);
        return code;
    }
};

class TerminateProcessesByNameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        char unique[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        ASSERT_NE(GetTempFileNameA(temp, "trm", 0, unique), 0u);
        ASSERT_TRUE(DeleteFileA(unique));
        ASSERT_TRUE(CreateDirectoryA(unique, nullptr));
        folder_ = std::string(unique) + "\\";
        // The copies find any DLL of the build tree through the search path.
        const std::string path = FolderOf(OwnPath()) + ";" + Environment("PATH");
        SetEnvironmentVariableA("PATH", path.c_str());
        SetEnvironmentVariableA("UPDATER_SLEEPER", "1");
    }

    void TearDown() override
    {
        SetEnvironmentVariableA("UPDATER_SLEEPER", nullptr);
        for (Sleeper& sleeper : sleepers_) {
            TerminateProcess(sleeper.process.Get(), 1);
            WaitForSingleObject(sleeper.process.Get(), 10000);
            DeleteFileA(sleeper.path.c_str());
        }
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it)
            RemoveDirectoryA(it->c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    // Starts a sleeping copy of this program as fileName in the sub-folder of folder_ named subFolder.
    const Sleeper& Start(const std::string& subFolder, const std::string& fileName)
    {
        const std::string folder = folder_ + subFolder + "\\";
        if (CreateDirectoryA(folder.c_str(), nullptr))
            folders_.push_back(folder);
        Sleeper sleeper;
        sleeper.path = folder + fileName;
        EXPECT_TRUE(CopyFileA(OwnPath().c_str(), sleeper.path.c_str(), TRUE)) << sleeper.path;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        std::string commandLine = "\"" + sleeper.path + "\"";
        EXPECT_TRUE(CreateProcessA(sleeper.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &startup, &info))
            << sleeper.path;
        CloseHandle(info.hThread);
        sleeper.process.Reset(info.hProcess);
        sleeper.processId = info.dwProcessId;
        WaitUntilListed(sleeper.processId);
        sleepers_.push_back(std::move(sleeper));
        return sleepers_.back();
    }

    std::string folder_;

private:
    static std::string Environment(const char* name)
    {
        std::string value(32767, '\0');
        value.resize(GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size())));
        return value;
    }

    // A new process may reach the process list only after its start-up; give it a few seconds.
    static void WaitUntilListed(DWORD processId)
    {
        for (int tries = 0; tries < 100 && ListedImageName(processId).empty(); ++tries)
            Sleep(50);
    }

    std::deque<Sleeper> sleepers_; // references to its items stay valid as it grows
    std::vector<std::string> folders_;
};

TEST_F(TerminateProcessesByNameTest, EndsEveryProcessWhoseNameDiffersOnlyInAsciiCase)
{
    const Sleeper& lower = Start("a", "qeltoexam.exe");
    const Sleeper& upper = Start("b", "QELTOEXAM.EXE");
    const Sleeper& other = Start("a", "QeltoExam2.exe");

    EXPECT_TRUE(TerminateProcessesByName("QeltoExam.exe"));

    EXPECT_TRUE(lower.Ended(0)) << "gone when the call returns";
    EXPECT_TRUE(upper.Ended(0)) << "gone when the call returns";
    EXPECT_EQ(lower.ExitCode(), 0u);
    EXPECT_EQ(upper.ExitCode(), 0u);
    EXPECT_FALSE(other.Ended(500)) << "a process of another name must survive";
}

// Windows ends a process after TerminateProcess returns, its files held and its image mapped until then;
// under Wine it is gone at once. Threads of the test that end the processes late stand for that: the walk
// returns only once every process it asked to end is gone, the first asked ending last. What is shown is
// the order of things, never a duration.
TEST_F(TerminateProcessesByNameTest, ReturnsOnlyOnceEveryProcessAskedToEndIsGone)
{
    const Sleeper& first = Start("a", "qeltoexam.exe");
    const Sleeper& second = Start("b", "QELTOEXAM.EXE");
    std::vector<std::thread> late;

    const bool result = TerminateProcessesByName("qeltoexam.exe", [&](HANDLE process) {
        HANDLE copy = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
            return false;
        const DWORD delay = late.empty() ? 600 : 300;
        late.emplace_back([copy, delay] {
            Sleep(delay);
            TerminateProcess(copy, 0);
            CloseHandle(copy);
        });
        return true;
    });
    const bool firstGone = first.Ended(0);
    const bool secondGone = second.Ended(0);

    for (std::thread& thread : late)
        thread.join();
    EXPECT_TRUE(result);
    EXPECT_EQ(late.size(), 2u);
    EXPECT_TRUE(firstGone) << "returned before the first was gone";
    EXPECT_TRUE(secondGone) << "returned before the second was gone";
}

TEST_F(TerminateProcessesByNameTest, NameWithPathMatchesOnlyThatFullPath)
{
    const Sleeper& named = Start("a", "qeltoexam.exe");
    const Sleeper& elsewhere = Start("b", "qeltoexam.exe");
    // The process list holds either full paths or bare file names; a bare name never matches a path.
    const bool listsFullPaths = ListedImageName(named.processId).find('\\') != std::string::npos;

    EXPECT_EQ(TerminateProcessesByName(AsciiUpperCase(named.path)), listsFullPaths);

    EXPECT_EQ(named.Ended(listsFullPaths ? 10000 : 500), listsFullPaths);
    EXPECT_FALSE(elsewhere.Ended(500));
}

TEST_F(TerminateProcessesByNameTest, NoMatchingProcessGivesFalse)
{
    const Sleeper& sleeper = Start("a", "qeltoexam.exe");

    EXPECT_FALSE(TerminateProcessesByName("qeltoexam"));

    EXPECT_FALSE(sleeper.Ended(500));
}

} // namespace
