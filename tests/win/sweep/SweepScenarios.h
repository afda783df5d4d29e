#pragma once
// The sweep's scenarios: small updates that together reach every kind of file operation the program
// makes. Each stages its application folder the same way every time: old targets, the staged files and
// the manifest, a log holding an earlier run's record, and the version files.
#include <functional>
#include <string>
#include <vector>

class UpdaterFixture;

struct SweepTarget {
    std::string relative;
    std::string oldBytes;
    std::string newBytes;
    std::string entry; // the manifest's entry, which its failure record names, when it is not the target
};

struct SweepScenario {
    std::string name;
    std::string what;
    // Stages the folder; gives the targets with their old and new bytes.
    std::function<std::vector<SweepTarget>(const UpdaterFixture&)> stage;
};

// The earlier run's record that every scenario's log starts with.
extern const char kEarlierRecord[];

const std::vector<SweepScenario>& SweepScenarios();
