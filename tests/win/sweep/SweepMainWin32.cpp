// sweep.exe: every file operation of the real Update.exe faulted in turn, in each scenario
// (SweepScenarios.h), through the fault injector (tests/win/inject). For each scenario its clean run is
// counted first; then for each of its K operations every kind of fault that operation can meet is
// injected in a fresh folder and judged (SweepJudge.h). Prints one line per unsound case with the command
// that replays it (GAP for one in the gap of an image swap, SweepJudge.h), and a table of cases, sound ones
// and those in the gap.
//   sweep.exe [--scenario NAME] [--kind KIND] [--every K [--offset R]] [--replay KEY] [--list 1]
// --list 1 prints each scenario's operations, numbered, and runs no case;
// --every K keeps the operations whose key hashes to R modulo K (the same ones in every run);
// --replay runs the one case of that key, with --scenario and --kind.
#include <windows.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "SweepJudge.h"
#include "support/UpdaterRun.h"

namespace {

const FaultKind Kinds[] = {FaultKind::HoldOnce, FaultKind::Hold, FaultKind::DiskFull, FaultKind::Refusal,
                           FaultKind::Kill};

struct Options {
    std::string scenario;
    std::string kind;
    unsigned every = 1;
    unsigned offset = 0;
    std::string replay;
    bool list = false;
};

struct Tally {
    int cases = 0;
    int sound = 0;
    int gap = 0; // in the gap of an image swap (SweepJudge.h)
};

struct Verdict {
    std::vector<std::string> reasons; // none: sound
    bool gap = false;
};

Options Parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--scenario")
            options.scenario = value;
        else if (name == "--kind")
            options.kind = value;
        else if (name == "--every")
            options.every = static_cast<unsigned>(std::stoul(value));
        else if (name == "--offset")
            options.offset = static_cast<unsigned>(std::stoul(value));
        else if (name == "--replay")
            options.replay = value;
        else if (name == "--list")
            options.list = value == "1";
        else
            throw std::runtime_error("unknown option " + name);
    }
    return options;
}

unsigned Hash(const std::string& text)
{
    unsigned hash = 2166136261u;
    for (const char byte : text)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 16777619u;
    return hash;
}

std::string TraceOf(const UpdaterFixture& app)
{
    return app.Folder() + "..\\fault-trace.txt";
}

CleanRun Clean(const SweepScenario& scenario)
{
    UpdaterFixture app;
    CleanRun clean;
    clean.targets = scenario.stage(app);
    clean.outcome = RunInjected(app, {}, TraceOf(app), 1);
    if (!clean.outcome.traced || !clean.outcome.ended)
        throw std::runtime_error("the clean run of " + scenario.name + " did not end with its trace");
    return clean;
}

std::vector<std::string> Reasons(const CleanRun& clean, FaultKind kind, UpdaterFixture& app, const RunOutcome& faulted)
{
    std::vector<std::string> reasons;
    if (faulted.faultLine.empty())
        reasons.push_back("the run never reached the operation");
    if (kind == FaultKind::HoldOnce) {
        const std::vector<std::string> more = JudgeMomentsHold(clean, faulted);
        reasons.insert(reasons.end(), more.begin(), more.end());
        return reasons;
    }
    const std::vector<std::string> more = kind == FaultKind::Kill ? JudgeKilled(clean, faulted) : JudgeFaulted(clean, faulted);
    reasons.insert(reasons.end(), more.begin(), more.end());
    try {
        const std::vector<std::string> next = JudgeNextRun(clean, RunPlain(app));
        reasons.insert(reasons.end(), next.begin(), next.end());
    } catch (const std::exception& error) {
        reasons.push_back(std::string("the next run could not start: ") + error.what());
    }
    return reasons;
}

Verdict RunCase(const SweepScenario& scenario, const CleanRun& clean, FaultKind kind, const std::string& key)
{
    UpdaterFixture app;
    scenario.stage(app);
    const RunOutcome faulted =
        RunInjected(app, {kind, key}, TraceOf(app), kind == FaultKind::HoldOnce ? clean.outcome.relaunches : 0);
    Verdict verdict;
    verdict.reasons = Reasons(clean, kind, app, faulted);
    verdict.gap = !verdict.reasons.empty() && InImageSwapGap(clean, faulted);
    return verdict;
}

void PrintUnsound(const SweepScenario& scenario, FaultKind kind, std::size_t n, const std::string& key,
                  const Verdict& verdict)
{
    std::printf("%s %s %s at operation %zu %s\n", verdict.gap ? "GAP" : "UNSOUND", scenario.name.c_str(),
                FaultKindName(kind), n, key.c_str());
    for (const std::string& reason : verdict.reasons)
        std::printf("    %s\n", reason.c_str());
    std::printf("    replay: scripts/sweep --scenario %s --kind %s --replay '%s'\n", scenario.name.c_str(),
                FaultKindName(kind), key.c_str());
    std::fflush(stdout);
}

// "<key> <admits>" -> key and admits.
std::pair<std::string, unsigned> Operation(const std::string& line)
{
    const std::size_t space = line.rfind(' ');
    return {line.substr(0, space), static_cast<unsigned>(std::stoul(line.substr(space + 1)))};
}

std::map<FaultKind, Tally> Sweep(const SweepScenario& scenario, const Options& options, std::size_t& operations)
{
    const CleanRun clean = Clean(scenario);
    operations = clean.outcome.operations.size();
    std::printf("%s: %s; %zu operations in its clean run\n", scenario.name.c_str(), scenario.what.c_str(), operations);
    std::fflush(stdout);
    std::map<FaultKind, Tally> tallies;
    for (std::size_t n = 1; options.list && n <= operations; ++n)
        std::printf("%4zu %s\n", n, clean.outcome.operations[n - 1].c_str());
    for (std::size_t n = 1; !options.list && n <= operations; ++n) {
        const auto [key, admits] = Operation(clean.outcome.operations[n - 1]);
        if ((!options.replay.empty() && key != options.replay) ||
            (options.replay.empty() && Hash(key) % options.every != options.offset % options.every))
            continue;
        for (const FaultKind kind : Kinds) {
            if ((!options.kind.empty() && options.kind != FaultKindName(kind)) || !Admits(admits, kind))
                continue;
            const Verdict verdict = RunCase(scenario, clean, kind, key);
            Tally& tally = tallies[kind];
            ++tally.cases;
            tally.sound += verdict.reasons.empty();
            tally.gap += verdict.gap;
            if (!verdict.reasons.empty())
                PrintUnsound(scenario, kind, n, key, verdict);
            else if (!options.replay.empty())
                std::printf("sound: %s %s at %s\n", scenario.name.c_str(), FaultKindName(kind), key.c_str());
        }
    }
    return tallies;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const Options options = Parse(argc, argv);
        const ULONGLONG start = GetTickCount64();
        int scenarios = 0;
        std::size_t allOperations = 0;
        Tally all;
        std::string table;
        for (const SweepScenario& scenario : SweepScenarios()) {
            if (!options.scenario.empty() && scenario.name != options.scenario)
                continue;
            std::size_t operations = 0;
            const std::map<FaultKind, Tally> tallies = Sweep(scenario, options, operations);
            ++scenarios;
            allOperations += operations;
            for (const auto& [kind, tally] : tallies) {
                char row[160];
                std::snprintf(row, sizeof row, "%-13s %10zu  %-10s %6d %6d %4d\n", scenario.name.c_str(),
                              operations, FaultKindName(kind), tally.cases, tally.sound, tally.gap);
                table += row;
                all.cases += tally.cases;
                all.sound += tally.sound;
                all.gap += tally.gap;
            }
        }
        std::printf("%-13s %10s  %-10s %6s %6s %4s\n%s", "scenario", "operations", "kind", "cases", "sound", "gap",
                    table.c_str());
        std::printf("sweep: %d scenarios x %zu operations x 5 kinds (every %u-th by key): %d cases, %d sound, "
                    "%d in the gap of an image swap, %d unsound, in %llu s\n",
                    scenarios, allOperations, options.every, all.cases, all.sound, all.gap,
                    all.cases - all.sound - all.gap, (GetTickCount64() - start) / 1000);
        return all.cases > 0 && all.sound + all.gap == all.cases ? 0 : 1;
    } catch (const std::exception& error) {
        std::printf("sweep: %s\n", error.what());
        return 2;
    }
}
