#include "UpdateFakes.h"

#include "FakeFileParts.h"

#include <algorithm>

#include "common/Errors.h"
#include "common/FolderPart.h"

namespace {

std::string WithoutTrailingSeparator(std::string path)
{
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

} // namespace

bool FakeDisk::IsFolder(const std::string& path) const
{
    return folders.count(WithoutTrailingSeparator(path)) != 0;
}

const std::string& FakeDisk::Opened(const std::string& path) const
{
    const auto found = files.find(path);
    if (locked.count(path) != 0)
        throw EFOpenError(path, "In use by another program.");
    if (found == files.end())
        throw EFOpenError(path, "Not found.");
    return found->second;
}

std::string FakeDisk::ReadWholeFile(const std::string& path)
{
    Note("read " + path);
    return Opened(path);
}

namespace {

// A kept file whose end is journalled ("let go <path>"), and which knows whether its file was written
// since it was kept.
class JournalledKept : public StringKept {
public:
    JournalledKept(FakeDisk& disk, Journal& journal, std::string path)
        : StringKept(disk.Opened(path)), disk_(disk), journal_(journal), path_(std::move(path)),
          written_(disk.LastWritten(path_)), bytes_(disk.Opened(path_))
    {
    }

    ~JournalledKept() override
    {
        journal_.push_back("let go " + path_);
        if (!left_)
            return;
        const std::string name = FolderPartOf(path_) + "Update\\~upd\\left-" + std::to_string(disk_.leftKept.size() + 1) + ".tmp";
        journal_.push_back("leave " + name);
        disk_.files[name] = bytes_;
        disk_.leftKept.push_back({name, written_});
    }

    bool MayBeTheOnlyCopy() override
    {
        return disk_.files.count(path_) == 0 || disk_.LastWritten(path_) != written_;
    }
    void LeaveForALaterRun() override { left_ = true; }

private:
    FakeDisk& disk_;
    Journal& journal_;
    const std::string path_;
    const unsigned long long written_;
    const std::string bytes_;
    bool left_ = false;
};

} // namespace

std::unique_ptr<KeptFile> FakeDisk::KeepFile(const std::string& path)
{
    Note("keep " + path);
    return std::make_unique<JournalledKept>(*this, journal_, path);
}

std::unique_ptr<PieceReader> FakeDisk::ReadInPieces(const std::string& path)
{
    Note("pieces " + path);
    return std::make_unique<StringKept>(Opened(path));
}

unsigned long long FakeDisk::LastWritten(const std::string& path) const
{
    const auto found = written_.find(path);
    return found == written_.end() ? 0 : found->second;
}

void FakeDisk::SaveFile(const std::string& path, ByteSource& bytes)
{
    Note("save " + path);
    if (passingSaves > 0)
        --passingSaves;
    else if (failingSaves > 0) {
        --failingSaves;
        throw EFCreateError(path, "Access denied.");
    }
    std::string drained = Drained(bytes);
    files[path] = std::move(drained);
    Written(path);
}

void FakeDisk::ForgetLeftKeptFile(const std::string& path)
{
    Note("forget " + path);
    files.erase(path);
    leftKept.erase(std::remove_if(leftKept.begin(), leftKept.end(),
                                  [&](const LeftKeptFile& kept) { return kept.path == path; }),
                   leftKept.end());
}

bool FakeDisk::FileExists(const std::string& path)
{
    if (raiseOnExists.count(path) != 0)
        throw EAppError("Presence test failed");
    return files.count(path) != 0;
}

bool FakeDisk::FolderExists(const std::string& path)
{
    Note("folder? " + path);
    return IsFolder(path);
}

bool FakeDisk::CreateFolder(const std::string& path)
{
    Note("mkdir " + path);
    const std::string folder = WithoutTrailingSeparator(path);
    if (IsFolder(folder) || files.count(folder) != 0 || !IsFolder(FolderPartOf(folder)))
        return false;
    folders.insert(folder);
    return true;
}

std::string FakeDisk::SourceBytes(const std::string& source, const std::string& target)
{
    if (!announced_.empty()) {
        const bool first = announced_.front().source == source && announced_.front().target == target;
        if (!first) {
            outOfTurn.push_back(source);
        } else {
            const std::optional<std::string> taken = std::move(announced_.front().bytes);
            announced_.pop_front();
            if (taken)
                return *taken;
            DropAnnouncedCopies();
        }
    }
    const auto found = files.find(source);
    if (locked.count(source) != 0)
        throw EFOpenError(source, "In use by another program.");
    if (found == files.end())
        throw EFOpenError(source, "Not found.");
    return found->second;
}

bool FakeDisk::CopyFileByStream(const std::string& source, const std::string& target)
{
    Note("copy " + source + " -> " + target);
    std::string bytes = SourceBytes(source, target);
    if (readOnly.count(target) != 0 || IsFolder(target) || !IsFolder(FolderPartOf(target)))
        return false;
    files[target] = std::move(bytes);
    Written(target);
    return true;
}

bool FakeDisk::AnnounceCopy(const std::string& source, const std::string& target)
{
    NoteReadAhead("ahead " + source);
    const auto found = files.find(source);
    std::optional<std::string> bytes;
    if (found != files.end() && locked.count(source) == 0 && heldAhead.count(source) == 0)
        bytes = found->second;
    announced_.push_back({source, target, std::move(bytes)});
    mostAnnounced = std::max(mostAnnounced, announced_.size());
    return true;
}

void FakeDisk::DropAnnouncedCopies()
{
    NoteReadAhead("drop");
    announced_.clear();
}

void FakeDisk::NoteReadAhead(const std::string& event)
{
    if (journalReadAhead)
        Note(event);
}

bool FakeDisk::RemoveFile(const std::string& path)
{
    Note("remove " + path);
    if (readOnly.count(path) != 0 || files.erase(path) == 0)
        return false;
    Written(path);
    return true;
}

bool FakeDisk::RenameFile(const std::string& from, const std::string& to)
{
    Note("rename " + from + " -> " + to);
    const auto found = files.find(from);
    if (found == files.end() || files.count(to) != 0 || IsFolder(to))
        return false;
    files[to] = found->second;
    files.erase(found);
    Written(from);
    Written(to);
    return true;
}

void FakeHost::PumpMessages()
{
    journal_.push_back("pump");
}

int FakeHost::ShowMessageBox(const std::string& text, int kind, const std::string& caption)
{
    journal_.push_back("box " + std::to_string(kind) + " " + caption + ": " + text);
    return 1;
}

int FakeHost::ProZip(const std::string& archive, const std::string& target, int mode)
{
    journal_.push_back("zip " + std::to_string(mode) + " " + archive + " -> " + target);
    if (zipRaises.count(archive) != 0)
        throw EAppError("Archive library failed");
    const auto found = zipResults.find(archive);
    return found == zipResults.end() ? 0 : found->second;
}

void FakeHost::LetNextApplierIn()
{
    journal_.push_back("unlock");
}

void FakeHost::RelaunchClient()
{
    journal_.push_back("relaunch");
}

LocalTime FakeClock::Now()
{
    const LocalTime reading = now_;
    if (++now_.second == 60) {
        now_.second = 0;
        ++now_.minute;
    }
    return reading;
}

ScopedChineseSettings::ScopedChineseSettings() : saved_(CurrentFormatSettings())
{
    FormatSettings settings;
    settings.shortDateFormat = "yyyy/M/d";
    settings.longTimeFormat = "h:mm:ss";
    ReplaceFormatSettings(settings);
}

ScopedChineseSettings::~ScopedChineseSettings()
{
    ReplaceFormatSettings(*saved_);
}

std::vector<std::string> LinesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    if (start != bytes.size())
        lines.push_back(bytes.substr(start) + "<no line end>");
    return lines;
}
