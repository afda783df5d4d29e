#pragma once
// What the fault injector is asked to do in one run, and which faults a file call can meet on Windows.
// The plan comes from the environment that the sweep's driver gives the program it starts:
//   FAULT_TRACE  the file that receives the run's operations, one key a line, and its injected faults
//   FAULT_KIND   hold-once | hold | disk-full | refusal | kill  (absent: only count)
//   FAULT_AT     the key of the operation where the fault begins
// A key names an operation the same way in every run: "<function>|<file>|<occurrence>" (see OperationKeys.h).
#include <string>

enum class FaultKind { None, HoldOnce, Hold, DiskFull, Refusal, Kill };

// The faults a call can meet, besides a kill, which every call can.
enum FaultAdmits : unsigned {
    kAdmitsNothing = 0,
    kAdmitsHold = 1,     // another program holds the file open without sharing
    kAdmitsDiskFull = 2, // the call needs room on the disk
    kAdmitsRefusal = 4,  // an access rule forbids us the file
};

// The kind's name as plans and tables spell it; "none" for None.
const char* FaultKindName(FaultKind kind);
// The kind spelt so; None for any other text.
FaultKind FaultKindNamed(const std::string& name);
// Whether a call admitting `admits` can meet the kind's fault.
bool Admits(unsigned admits, FaultKind kind);

// The error a faulted call gives, as Windows gives it: a held file refuses for sharing (32), but a rename
// onto a held name is refused outright (5; Wine gives 183 where the name exists); a full disk 112; a
// refusal 5.
unsigned long FaultError(FaultKind kind, bool onDestination);
