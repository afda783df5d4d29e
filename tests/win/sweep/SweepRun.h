#pragma once
// One run of the real Update.exe -UR in a staged application folder, with the fault injector or without,
// answered as a user would: each message box gets OK, and a window left open after its boxes is closed.
// What the run left is read back as an outcome.
#include <map>
#include <string>
#include <vector>

#include "inject/FaultPlan.h"

class UpdaterFixture;

struct SweepFault {
    FaultKind kind = FaultKind::None;
    std::string at; // the operation's key
};

struct RunOutcome {
    bool ended = false; // by itself, once its boxes were answered and its window closed
    std::vector<std::string> boxes;
    std::size_t relaunches = 0;
    std::map<std::string, std::string> files; // every file of the application folder: relative path -> bytes
    // From the injector's trace (injected runs only): the operations in order, each "<key> <admits>", the
    // fault's line, and the waits of each image in the program's time.
    std::vector<std::string> operations;
    std::string faultLine;
    unsigned long long waitedProgram = 0;
    unsigned long long waitedLibrary = 0;
    bool traced = false;
};

// Runs the update with the injector under `fault` (kind None: only counting); `trace` is a scratch file.
// The relaunched client records itself a moment after the run may have ended: its starts are awaited
// until there are `relaunches` of them, for a few seconds at most.
RunOutcome RunInjected(const UpdaterFixture& app, const SweepFault& fault, const std::string& trace,
                       std::size_t relaunches = 0);
// Runs the update plainly.
RunOutcome RunPlain(const UpdaterFixture& app);
