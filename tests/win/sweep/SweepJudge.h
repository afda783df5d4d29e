#pragma once
// How the sweep judges a faulted run, against the clean run of its scenario:
// - a moment's hold: the outcome equals the clean run's (the same files with the same bytes, the same log
//   records, the same boxes, the rotation and the relaunch);
// - a hold for good, a full disk, a refusal: a sound outcome: the run ended within its bounds (its waits at
//   most each image's budget), every target holds its old or its new bytes, the earlier run's record is
//   still in the log, a target left old where the clean run installs it has a record naming it or the
//   version files were not rotated, and both our images are in place; then the next clean run ends, leaves
//   the clean run's targets and files and nothing of ours (no Update\~upd\), and the earlier record stays;
// - a kill: every target old or new after the kill; then the next clean run as above.
// Each judgement gives the reasons it is not sound; none: sound.
//
// One outcome is told apart, not taken as sound: the gap of an image swap. Windows lets nobody replace an
// image in use, only rename it, so a new Update.exe or TkZip.dll takes its place by two renames (the image
// aside, the new file in), and a kill between them, or a full disk that refuses every rename from the
// first on, leaves the image's place empty with the old image aside in Update\~upd\. No later run can
// start to put it back.
#include <string>
#include <vector>

#include "SweepRun.h"
#include "SweepScenarios.h"

struct CleanRun {
    RunOutcome outcome;
    std::vector<SweepTarget> targets;
};

std::vector<std::string> JudgeMomentsHold(const CleanRun& clean, const RunOutcome& faulted);
std::vector<std::string> JudgeFaulted(const CleanRun& clean, const RunOutcome& faulted);
std::vector<std::string> JudgeKilled(const CleanRun& clean, const RunOutcome& killed);
std::vector<std::string> JudgeNextRun(const CleanRun& clean, const RunOutcome& next);
// Whether one of our images is missing from its place while its old bytes lie aside in Update\~upd\.
bool InImageSwapGap(const CleanRun& clean, const RunOutcome& outcome);
