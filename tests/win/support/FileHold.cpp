#include "support/FileHold.h"

#include <utility>

FileHold::FileHold(const std::string& path, DWORD sharing)
    : file_(CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr))
{
}

FileHold::~FileHold()
{
    if (letGo_.joinable())
        letGo_.join();
}

void FileHold::LetGoLater(std::function<void()> first, DWORD milliseconds)
{
    letGo_ = std::thread([this, first = std::move(first), milliseconds] {
        first();
        Sleep(milliseconds);
        file_.Reset();
    });
}
