#pragma once
// An application folder "C:\app\" on a fake disk with a staging folder, a recording host and a clock
// that starts at 2008/5/7 9:05:03 and ticks one second per reading.
#include <string>
#include <vector>

#include "UpdateFakes.h"

struct UpdateWorld {
    UpdateWorld();

    const std::string app = "C:\\app\\";
    ScopedChineseSettings settings;
    Journal journal;
    FakeDisk disk{journal};
    FakeHost host{journal};
    FakeClock clock{LocalTime{2008, 5, 7, 3, 9, 5, 3, 250}};

    void Manifest(const std::string& text);
    // Puts the staged copy of an entry into "Update\".
    void Stage(const std::string& entry, const std::string& bytes = "new");
    void Run();

    std::string File(const std::string& name) const;   // "<absent>" when missing
    std::vector<std::string> Log() const;
    // Journal events that begin with the prefix ("copy", "zip", "box", ...).
    std::vector<std::string> Events(const std::string& prefix) const;
};
