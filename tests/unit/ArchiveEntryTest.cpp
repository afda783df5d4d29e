#include "update/ArchiveEntry.h"

#include <gtest/gtest.h>

TEST(ArchiveEntry, OnlyAnExactLowerCaseZipEndingMakesAnArchive)
{
    const struct {
        const char* entry;
        bool archive;
    } cases[] = {
        {"pack.zip", true}, {".zip", true}, {"Sub\\a_b.zip", true}, {"PACK.ZIP", false}, {"pack.Zip", false},
        {"zip", false},     {"", false},    {"pack.zip.txt", false}, {"packzip", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsArchiveEntry(c.entry), c.archive) << c.entry;
}

TEST(ArchiveEntry, TargetNameFollowsTheUnderscoreOrTheFusedExtensionRule)
{
    const struct {
        const char* entry;
        const char* target;
        bool createsFolder;
    } cases[] = {
        {"data_mdb.zip", "data.mdb", true},
        {"Sub\\Lib_dll.zip", "Sub\\Lib.dll", true},
        {"a_b.c_d.zip", "a.b", true},           // only the part before the first "." is used
        {"_.zip", ".", true},
        {"QeltoExamexe.zip", "QeltoExam.exe", false},
        {"abcd.zip", "a.bcd", false},
        {"abc.zip", ".abc", false},             // nothing before the extension
        {"ab.zip", ".ab.", false},              // the extension starts before the first byte
        {"a.zip", ".a.z", false},
        {".zip", "..zi", false},
        {"v1.2exe.zip", ".v1.", false},         // the first "." counts, not the last
        {"noDot", ".noD", false},               // no "." at all: position 0
    };
    for (const auto& c : cases) {
        const ArchiveTarget target = ArchiveTargetOf(c.entry);
        EXPECT_EQ(target.name, c.target) << c.entry;
        EXPECT_EQ(target.createsFolder, c.createsFolder) << c.entry;
    }
}
