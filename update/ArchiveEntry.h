#pragma once
// Manifest entries that name zip archives, and the file an archive entry installs to.
#include <string>

// True when the entry's last four bytes are exactly ".zip" (letter case counts; a shorter entry never is).
bool IsArchiveEntry(const std::string& entry);

struct ArchiveTarget {
    std::string name;     // relative to the application folder
    bool createsFolder;   // whether the folder part of the target is created when missing
};

// With a "_" anywhere in the entry: the bytes before its first ".", every "_" turned into ".", and the
// folder is created ("Sub\Lib_dll.zip" gives "Sub\Lib.dll"). Otherwise, with p the 1-based position of
// the first ".": the first p-4 bytes, ".", and the 3 bytes from position p-3 ("QeltoExamexe.zip" gives
// "QeltoExam.exe"); a count below one gives nothing and a start before the first byte starts at the
// first byte. Without any "." p is 0 (archive entries always have one, in ".zip"). The rules look at
// bytes, as the names were always read: a GBK second byte of 0x5F counts as "_".
ArchiveTarget ArchiveTargetOf(const std::string& entry);
