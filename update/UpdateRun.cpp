#include "update/UpdateRun.h"

#include <exception>
#include <set>
#include <utility>

#include "common/FolderPart.h"
#include "update/ArchiveEntry.h"
#include "update/CopyReadAhead.h"
#include "update/EntrySafety.h"
#include "update/LeftLogRecovery.h"
#include "update/TextList.h"
#include "update/UpdateLog.h"
#include "update/VersionRotation.h"

namespace {

const char kManifestName[] = "Update\\UpFile.Dat";
const char kStagingFolder[] = "Update\\";
const int kInformationBox = 0;
const int kExtractOneMember = 1;
const int kExtractionFailed = -1;
// 〖 and 〗文件升级失败!
const char kNoticeOpen[] = "\xA1\xBC";
const char kNoticeClose[] = "\xA1\xBD\xCE\xC4\xBC\xFE\xC9\xFD\xBC\xB6\xCA\xA7\xB0\xDC!";
// Marovin--在线考试平台
const char kNoticeCaption[] = "Marovin--\xD4\xDA\xCF\xDF\xBF\xBC\xCA\xD4\xC6\xBD\xCC\xA8";

enum class EntryOutcome { Done, CopyFailed };

class Run {
public:
    Run(const std::string& folder, const UpdateServices& services)
        : folder_(folder), s_(services), log_(OpenLog(services.store, folder)) {}
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;
    // A run that ends on a copy failure or an error lets go of the log of its start here.
    ~Run() { LetGoOfEarlierLog(log_, s_.store, folder_); }

    // False when a copy failure ended the run early.
    // Later plain entries are copied ahead while earlier ones are installed (CopyReadAhead.h); whatever
    // was copied ahead and not installed is gone when this returns.
    bool InstallEntries(const TextList& manifest)
    {
        const std::size_t count = manifest.Count();
        CopyReadAhead ahead(manifest, folder_, s_.files);
        for (std::size_t i = 0; i < count; ++i) {
            ahead.Reach(i);
            if (GuardedEntry(manifest.Entry(i), ahead) == EntryOutcome::CopyFailed)
                return false;
        }
        return true;
    }

    // The log of the run's start is let go of before the relaunch (folded back first when an installed
    // file took the log's place): nothing more is recorded, and the client (or a reader of the log) that
    // holds the log from then on must not keep our second name of it alive. Then the file work is over, and
    // the next applier may come in before the client is relaunched.
    void Finish()
    {
        RotateVersionFiles(folder_, log_, {s_.store, s_.files, s_.clock});
        LetGoOfEarlierLog(log_, s_.store, folder_);
        s_.host.LetNextApplierIn();
        s_.host.RelaunchClient();
    }

private:
    // An error drops the copies made ahead before it is recorded, so that the record's save never waits
    // for them and what the entry left undone cannot meet them.
    EntryOutcome GuardedEntry(const std::string& entry, CopyReadAhead& ahead)
    {
        try {
            return HandleEntry(entry, ahead);
        } catch (const std::exception& error) {
            ahead.Drop();
            Record(EntryErrorRecord(s_.clock, error.what()));
            return EntryOutcome::Done;
        }
    }

    EntryOutcome HandleEntry(const std::string& entry, CopyReadAhead& ahead)
    {
        Refuse(entry, entry);
        if (IsArchiveEntry(entry)) {
            InstallArchive(entry);
            return EntryOutcome::Done;
        }
        return InstallPlain(entry, ahead);
    }

    static void Refuse(const std::string& entry, const std::string& name)
    {
        if (auto reason = UnsafePathReason(name))
            throw EUnsafeEntry(entry, *reason);
    }

    // After a copy failure nothing copied ahead remains, before the notice is shown.
    EntryOutcome InstallPlain(const std::string& entry, CopyReadAhead& ahead)
    {
        s_.host.PumpMessages();
        const std::string target = folder_ + entry;
        EnsureFolderOf(target);
        if (Install(folder_ + kStagingFolder + entry, target, NamesTheLog(entry)))
            return EntryOutcome::Done;
        ahead.Drop();
        s_.host.ShowMessageBox(kNoticeOpen + entry + kNoticeClose, kInformationBox, kNoticeCaption);
        Record(CopyFailureRecord(s_.clock, entry));
        return EntryOutcome::CopyFailed;
    }

    // A staged log takes the records of earlier runs along into the log's place (LeftLogRecovery.h).
    bool Install(const std::string& source, const std::string& target, bool overTheLog)
    {
        if (!overTheLog || log_.earlier == nullptr)
            return s_.files.CopyFileByStream(source, target);
        return InstallLogWithEarlierRecords(s_.store, target, *s_.store.ReadInPieces(source), *log_.earlier);
    }

    void InstallArchive(const std::string& entry)
    {
        const ArchiveTarget target = ArchiveTargetOf(entry);
        Refuse(entry, target.name);
        if (target.createsFolder)
            EnsureFolderOf(folder_ + target.name);
        const int result = s_.host.ProZip(folder_ + kStagingFolder + entry, folder_ + target.name, kExtractOneMember);
        if (result == kExtractionFailed)
            Record(ExtractionFailureRecord(s_.clock, entry));
    }

    // Creates the target's folder when missing: one level; a failure is not reported. A folder found or
    // made is remembered, so a folder of many new files is checked once, not once per file.
    void EnsureFolderOf(const std::string& target)
    {
        std::string folder = FolderPartOf(target);
        if (knownFolders_.count(folder) != 0)
            return;
        if (s_.files.FolderExists(folder) || s_.files.CreateFolder(folder))
            knownFolders_.insert(std::move(folder));
    }

    void Record(const std::string& record)
    {
        AddRecord(log_, record, s_.store, folder_);
    }

    const std::string& folder_;
    const UpdateServices& s_;
    LogText log_;
    std::set<std::string> knownFolders_;
};

} // namespace

void RunUpdate(const std::string& applicationFolder, const UpdateServices& services)
{
    TextList manifest;
    manifest.LoadFromFile(services.store, applicationFolder + kManifestName);
    FoldBackLeftLogs(services.store, applicationFolder);
    Run run(applicationFolder, services);
    if (run.InstallEntries(manifest))
        run.Finish();
}
