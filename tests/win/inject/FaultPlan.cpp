#include "FaultPlan.h"

namespace {

const struct {
    FaultKind kind;
    const char* name;
    unsigned admits;
} Kinds[] = {
    {FaultKind::None, "none", kAdmitsNothing},
    {FaultKind::HoldOnce, "hold-once", kAdmitsHold},
    {FaultKind::Hold, "hold", kAdmitsHold},
    {FaultKind::DiskFull, "disk-full", kAdmitsDiskFull},
    {FaultKind::Refusal, "refusal", kAdmitsRefusal},
    {FaultKind::Kill, "kill", kAdmitsHold | kAdmitsDiskFull | kAdmitsRefusal},
};

const unsigned long kSharingViolation = 32;
const unsigned long kAccessDenied = 5;
const unsigned long kDiskFull = 112;

} // namespace

const char* FaultKindName(FaultKind kind)
{
    for (const auto& entry : Kinds)
        if (entry.kind == kind)
            return entry.name;
    return "none";
}

FaultKind FaultKindNamed(const std::string& name)
{
    for (const auto& entry : Kinds)
        if (name == entry.name)
            return entry.kind;
    return FaultKind::None;
}

bool Admits(unsigned admits, FaultKind kind)
{
    if (kind == FaultKind::Kill)
        return true;
    for (const auto& entry : Kinds)
        if (entry.kind == kind)
            return (admits & entry.admits) != 0;
    return false;
}

unsigned long FaultError(FaultKind kind, bool onDestination)
{
    switch (kind) {
    case FaultKind::HoldOnce:
    case FaultKind::Hold:
        return onDestination ? kAccessDenied : kSharingViolation;
    case FaultKind::DiskFull:
        return kDiskFull;
    default:
        return kAccessDenied;
    }
}
