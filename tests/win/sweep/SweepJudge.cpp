#include "SweepJudge.h"

#include "support/LogRecords.h"

namespace {

const unsigned long long kWaitBudgetMs = 10000;
const char* const VersionFiles[] = {"QeltoUp.bak", "QeltoUp.dat", "QeltoU2.dat"};

std::string FileOr(const RunOutcome& outcome, const std::string& relative, const std::string& missing)
{
    const auto found = outcome.files.find(relative);
    return found != outcome.files.end() ? found->second : missing;
}

bool Rotated(const RunOutcome& outcome)
{
    return outcome.files.count("QeltoU2.dat") == 0;
}

void ExpectTargetsOldOrNew(const CleanRun& clean, const RunOutcome& outcome, std::vector<std::string>& reasons)
{
    for (const SweepTarget& target : clean.targets) {
        const std::string bytes = FileOr(outcome, target.relative, "<missing>");
        if (bytes != target.oldBytes && bytes != target.newBytes)
            reasons.push_back(target.relative + " is neither old nor new (" + std::to_string(bytes.size()) + " bytes)");
    }
}

void ExpectEarlierRecord(const RunOutcome& outcome, std::vector<std::string>& reasons)
{
    if (FileOr(outcome, "UpLog.dat", "").find(kEarlierRecord) == std::string::npos)
        reasons.push_back("the earlier run's record is lost from the log");
}

void ExpectOurImages(const RunOutcome& outcome, std::vector<std::string>& reasons)
{
    for (const char* image : {"Update.exe", "TkZip.dll"})
        if (outcome.files.count(image) == 0)
            reasons.push_back(std::string(image) + " is missing from the application folder");
}

// A target left old where the clean run installs it is recorded, or the release is not taken as installed.
void ExpectNoSilentSuccess(const CleanRun& clean, const RunOutcome& faulted, std::vector<std::string>& reasons)
{
    if (!Rotated(faulted))
        return;
    const std::string log = FileOr(faulted, "UpLog.dat", "");
    for (const SweepTarget& target : clean.targets) {
        const bool cleanInstalls = FileOr(clean.outcome, target.relative, "") == target.newBytes;
        const std::string entry = target.entry.empty() ? target.relative : target.entry;
        const std::string name = entry.substr(entry.find_last_of('\\') + 1);
        if (cleanInstalls && FileOr(faulted, target.relative, "") == target.oldBytes &&
            log.find(name) == std::string::npos)
            reasons.push_back(target.relative + " left old without a record, and the versions rotated");
    }
}

std::vector<std::string> NamesOutsideVersionFiles(const RunOutcome& outcome)
{
    std::vector<std::string> names;
    for (const auto& file : outcome.files) {
        bool version = false;
        for (const char* name : VersionFiles)
            version = version || file.first == name;
        if (!version)
            names.push_back(file.first);
    }
    return names;
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

} // namespace

std::vector<std::string> JudgeMomentsHold(const CleanRun& clean, const RunOutcome& faulted)
{
    std::vector<std::string> reasons;
    if (!faulted.ended)
        reasons.push_back("the run did not end");
    for (const auto& file : clean.outcome.files)
        if (file.first != "UpLog.dat" && FileOr(faulted, file.first, "<missing>") != file.second)
            reasons.push_back(file.first + " differs from the clean run's");
    for (const auto& file : faulted.files)
        if (clean.outcome.files.count(file.first) == 0)
            reasons.push_back(file.first + " is left, which the clean run does not leave");
    if (RecordsAfterStamps(FileOr(faulted, "UpLog.dat", "")) != RecordsAfterStamps(FileOr(clean.outcome, "UpLog.dat", "")))
        reasons.push_back("the log's records differ from the clean run's");
    if (faulted.boxes != clean.outcome.boxes)
        reasons.push_back("boxes differ from the clean run's: " + Joined(faulted.boxes));
    if (faulted.relaunches != clean.outcome.relaunches)
        reasons.push_back(std::to_string(faulted.relaunches) + " relaunches, the clean run " +
                          std::to_string(clean.outcome.relaunches));
    return reasons;
}

std::vector<std::string> JudgeFaulted(const CleanRun& clean, const RunOutcome& faulted)
{
    std::vector<std::string> reasons;
    if (!faulted.ended)
        reasons.push_back("the run did not end");
    if (faulted.waitedProgram > kWaitBudgetMs || faulted.waitedLibrary > kWaitBudgetMs)
        reasons.push_back("waited " + std::to_string(faulted.waitedProgram) + " ms in Update.exe and " +
                          std::to_string(faulted.waitedLibrary) + " ms in TkZip.dll");
    ExpectTargetsOldOrNew(clean, faulted, reasons);
    ExpectEarlierRecord(faulted, reasons);
    ExpectNoSilentSuccess(clean, faulted, reasons);
    ExpectOurImages(faulted, reasons);
    return reasons;
}

std::vector<std::string> JudgeKilled(const CleanRun& clean, const RunOutcome& killed)
{
    std::vector<std::string> reasons;
    ExpectTargetsOldOrNew(clean, killed, reasons);
    return reasons;
}

std::vector<std::string> JudgeNextRun(const CleanRun& clean, const RunOutcome& next)
{
    std::vector<std::string> reasons;
    if (!next.ended)
        reasons.push_back("the next run did not end");
    // What the clean run installs, the next one must leave installed. A target that the clean run leaves old
    // (past the copy failure that ends it) may have been installed by the faulted run, whose fault changed
    // its course: it stays old or new.
    for (const SweepTarget& target : clean.targets) {
        const std::string after = FileOr(next, target.relative, "<missing>");
        const std::string cleanBytes = FileOr(clean.outcome, target.relative, "");
        const bool reached = cleanBytes != target.oldBytes;
        if (reached ? after != cleanBytes : after != target.oldBytes && after != target.newBytes)
            reasons.push_back("after the next run " + target.relative + " differs from the clean run's");
    }
    ExpectEarlierRecord(next, reasons);
    ExpectOurImages(next, reasons);
    const std::vector<std::string> names = NamesOutsideVersionFiles(next);
    const std::vector<std::string> expected = NamesOutsideVersionFiles(clean.outcome);
    if (names != expected)
        reasons.push_back("after the next run the folder holds " + Joined(names) + "; the clean run leaves " +
                          Joined(expected));
    return reasons;
}

bool InImageSwapGap(const CleanRun& clean, const RunOutcome& outcome)
{
    for (const SweepTarget& target : clean.targets) {
        if (target.relative.find('\\') != std::string::npos || outcome.files.count(target.relative) != 0)
            continue;
        for (const auto& [name, bytes] : outcome.files)
            if (name.rfind("Update\\~upd\\", 0) == 0 && name.find("-aside-") != std::string::npos &&
                bytes == target.oldBytes)
                return true;
    }
    return false;
}
