// update_bench.exe: runs one operation of the update run per invocation, times it with
// QueryPerformanceCounter and prints "seconds=<elapsed>", so that scripts/bench can set it against a native
// baseline without Wine's start-up in the figure:
//   copy <source> <target>            CopyFileByStream of one file
//   prozip <archive> <target>         ProZip in mode 1 through the binding
//   log <applicationFolder> <count>   <count> times: loads the folder's log and adds a record to it; prints
//                                     the time per record, its load included
//   systemcopy <folder> <newFolder>   the system's CopyFileA of every file in the folder into a new folder,
//                                     one call a file: what Wine itself costs per small file
// Exit code 0 on success, 1 when the operation failed, 2 on a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "archive/ProZipBinding.h"
#include "common/HandlesWin32.h"
#include "common/UnitPublic.h"
#include "update/FileStoreWin32.h"
#include "update/SystemClock.h"
#include "update/UpdateLog.h"

namespace {

class Stopwatch {
public:
    Stopwatch()
    {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double Seconds() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return double(now.QuadPart - start_.QuadPart) / double(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

void Require(bool done, const char* what)
{
    if (!done)
        throw std::runtime_error(what);
}

double TimeCopy(char** args)
{
    const Stopwatch watch;
    Require(CopyFileByStream(args[0], args[1]), "the copy failed");
    return watch.Seconds();
}

double TimeProZip(char** args)
{
    const Stopwatch watch;
    Require(CallProZip(args[0], args[1], 1) != -1, "the extraction failed");
    return watch.Seconds();
}

double TimeLogRecord(char** args)
{
    const std::string folder = args[0];
    const int count = std::atoi(args[1]);
    Require(count > 0, "the record count is not positive");
    FileStoreWin32 store;
    SystemClock clock;
    const Stopwatch watch;
    for (int i = 0; i < count; ++i) {
        LogText log = OpenLog(store, folder);
        AddRecord(log, EntryErrorRecord(clock, "update_bench"), store, folder);
    }
    return watch.Seconds() / count;
}

double TimeSystemCopy(char** args)
{
    const std::string from = std::string(args[0]) + "\\";
    const std::string to = std::string(args[1]) + "\\";
    const Stopwatch watch;
    Require(CreateDirectoryA(to.c_str(), nullptr) != 0, "the new folder could not be made");
    WIN32_FIND_DATAA found{};
    const FindHandle find(FindFirstFileA((from + "*").c_str(), &found));
    Require(find.Valid(), "the folder could not be listed");
    bool copied = true;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            copied = copied && CopyFileA((from + found.cFileName).c_str(), (to + found.cFileName).c_str(), TRUE);
    } while (FindNextFileA(find.Get(), &found));
    Require(copied, "a copy failed");
    return watch.Seconds();
}

struct Operation {
    const char* name;
    int argumentCount;
    double (*time)(char** args);
};

const Operation kOperations[] = {
    {"copy", 2, TimeCopy},
    {"prozip", 2, TimeProZip},
    {"log", 2, TimeLogRecord},
    {"systemcopy", 2, TimeSystemCopy},
};

} // namespace

int main(int argc, char** argv)
{
    for (const Operation& operation : kOperations) {
        if (argc != operation.argumentCount + 2 || std::strcmp(argv[1], operation.name) != 0)
            continue;
        try {
            std::printf("seconds=%.6f\n", operation.time(argv + 2));
            return 0;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "update_bench %s: %s\n", operation.name, error.what());
            return 1;
        }
    }
    std::fprintf(stderr, "usage: update_bench copy|prozip|log|systemcopy <arguments>\n");
    return 2;
}
