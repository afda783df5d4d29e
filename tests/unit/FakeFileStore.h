#pragma once
// A file store in memory for the unit tests: files by path, with failures to order.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FakeFileParts.h"
#include "common/Errors.h"
#include "update/FileStore.h"

class FakeFileStore : public FileStore {
public:
    std::map<std::string, std::string> files;
    std::string failCreateReason;   // when not empty, every write raises EFCreateError with this reason
    int writes = 0;

    std::string ReadWholeFile(const std::string& path) override
    {
        const auto found = files.find(path);
        if (found == files.end())
            throw EFOpenError(path, "Not found.");
        return found->second;
    }

    std::unique_ptr<KeptFile> KeepFile(const std::string& path) override
    {
        kept_.push_back(std::make_shared<bool>(false));
        return std::make_unique<StringKept>(ReadWholeFile(path), kept_.back());
    }

    // As on Windows, a file that a kept file's reading still holds open cannot be replaced.
    void SaveFile(const std::string& path, ByteSource& bytes) override
    {
        ++writes;
        if (!failCreateReason.empty())
            throw EFCreateError(path, failCreateReason);
        std::string drained = Drained(bytes);
        for (const auto& open : kept_)
            if (*open)
                throw EFCreateError(path, "A kept file is held open.");
        files[path] = std::move(drained);
    }

    std::unique_ptr<PieceReader> ReadInPieces(const std::string& path) override
    {
        return std::make_unique<StringKept>(ReadWholeFile(path));
    }

    bool FileExists(const std::string& path) override { return files.count(path) != 0; }

    // No run was killed here.
    std::vector<LeftKeptFile> LeftKeptFiles() override { return {}; }
    void ForgetLeftKeptFile(const std::string&) override {}

private:
    std::vector<std::shared_ptr<bool>> kept_;
};
