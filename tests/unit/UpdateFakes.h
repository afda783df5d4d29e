#pragma once
// Fakes for the update run and the version rotation: an in-memory disk whose every operation can be made
// to fail, a host that records what it is asked, and a clock that ticks one second per reading. Disk and
// host write into one journal, so tests can see the order of what happened.
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "update/FileStore.h"
#include "update/LocalTime.h"
#include "update/RegionalSettings.h"
#include "update/UpdateFiles.h"
#include "update/UpdateHost.h"

using Journal = std::vector<std::string>;

// Paths are Windows paths; a folder is kept without its trailing "\".
class FakeDisk : public FileStore, public UpdateFiles {
public:
    explicit FakeDisk(Journal& journal) : journal_(journal) {}

    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> locked;     // cannot be opened: reads and copies from it raise EFOpenError
    std::vector<LeftKeptFile> leftKept; // files (in `files`) that a run left kept under their only name
    std::set<std::string> heldAhead;  // cannot be read when announced, but can when asked for (a hold passed)
    std::set<std::string> readOnly;   // copies onto it fail, deleting it fails
    std::set<std::string> raiseOnExists; // the presence test of these paths raises
    int passingSaves = 0;             // the next this many whole-file writes pass, whatever failingSaves says
    int failingSaves = 0;             // the next this many whole-file writes raise EFCreateError
    // Copies announced ahead take their source's bytes at once, as the earliest a worker could read them;
    // one asked for whose source could not be read then drops every announced copy and is made again, as
    // the Windows layer does. When set, announcements ("ahead <source>") and drops ("drop") are journalled
    // too.
    bool journalReadAhead = false;
    std::vector<std::string> outOfTurn; // copies asked for while another announced copy was first
    std::size_t mostAnnounced = 0;      // the most copies announced and not yet asked for at any time

    std::string ReadWholeFile(const std::string& path) override;
    // Journalled ("keep <path>"). A kept file tells whether the file has been written or removed since; one
    // left for a later run goes among `leftKept` as "<folder of the file>Update\~upd\left-<n>.tmp", with
    // its file's last write, journalled ("leave <path>").
    std::unique_ptr<KeptFile> KeepFile(const std::string& path) override;
    void SaveFile(const std::string& path, ByteSource& bytes) override;
    // Journalled ("pieces <path>"); raises as ReadWholeFile would.
    std::unique_ptr<PieceReader> ReadInPieces(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    std::vector<LeftKeptFile> LeftKeptFiles() override { return leftKept; }
    void ForgetLeftKeptFile(const std::string& path) override;

    // The bytes of a file that can be opened; raises EFOpenError as opening it would.
    const std::string& Opened(const std::string& path) const;
    // When the file was last written (or removed) through the disk: a count of such writes; 0 for one put
    // into `files` by the test.
    unsigned long long LastWritten(const std::string& path) const;

    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool CopyFileByStream(const std::string& source, const std::string& target) override;
    bool AnnounceCopy(const std::string& source, const std::string& target) override;
    void DropAnnouncedCopies() override;
    std::size_t AnnouncedCopies() override { return announced_.size(); }
    bool RemoveFile(const std::string& path) override;
    bool RenameFile(const std::string& from, const std::string& to) override;

private:
    struct Announced {
        std::string source;
        std::string target;
        std::optional<std::string> bytes; // nothing when the source could not be read then
    };

    bool IsFolder(const std::string& path) const;
    // The source's bytes as an announced copy took them, or as they are now; raises as opening it would.
    std::string SourceBytes(const std::string& source, const std::string& target);
    void Note(const std::string& event) { journal_.push_back(event); }
    void Written(const std::string& path) { written_[path] = ++writes_; }
    void NoteReadAhead(const std::string& event);
    Journal& journal_;
    std::deque<Announced> announced_;
    std::map<std::string, unsigned long long> written_;
    unsigned long long writes_ = 0;
};

class FakeHost : public UpdateHost {
public:
    explicit FakeHost(Journal& journal) : journal_(journal) {}

    std::map<std::string, int> zipResults;   // by archive path; 0 when not listed
    std::set<std::string> zipRaises;         // archives whose extraction raises an error

    void PumpMessages() override;
    int ShowMessageBox(const std::string& text, int kind, const std::string& caption) override;
    int ProZip(const std::string& archive, const std::string& target, int mode) override;
    void LetNextApplierIn() override;
    void RelaunchClient() override;

private:
    Journal& journal_;
};

class FakeClock : public Clock {
public:
    explicit FakeClock(LocalTime start) : now_(start) {}
    LocalTime Now() override;

private:
    LocalTime now_;
};

// Regional settings of yyyy/M/d and h:mm:ss (24-hour clock) while the object lives.
class ScopedChineseSettings {
public:
    ScopedChineseSettings();
    ~ScopedChineseSettings();

private:
    std::shared_ptr<const FormatSettings> saved_;
};

// The lines of a file written with CR LF after every line.
std::vector<std::string> LinesOf(const std::string& bytes);
