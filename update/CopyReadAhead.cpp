#include "update/CopyReadAhead.h"

#include <algorithm>

#include "update/ArchiveEntry.h"
#include "update/EntrySafety.h"
#include "update/UpdateLog.h"

namespace {

const char kStagingFolder[] = "Update\\";

enum class Kind { CopiedAhead, PassedOver, HandledAlone };

Kind KindOf(const std::string& entry)
{
    if (UnsafePathReason(entry))
        return Kind::PassedOver;
    if (IsArchiveEntry(entry) || MayNameStagingFolder(entry) || NamesTheLog(entry))
        return Kind::HandledAlone;
    return Kind::CopiedAhead;
}

} // namespace

CopyReadAhead::CopyReadAhead(const TextList& manifest, const std::string& folder, UpdateFiles& files)
    : manifest_(manifest), folder_(folder), files_(files)
{
}

CopyReadAhead::~CopyReadAhead()
{
    files_.DropAnnouncedCopies();
}

void CopyReadAhead::Reach(std::size_t index)
{
    current_ = index;
    KeepInStep(index);
    const std::size_t end = std::min(manifest_.Count(), index + 1 + kCopiesAhead);
    for (; next_ < end; ++next_) {
        const std::string& entry = manifest_.Entry(next_);
        const Kind kind = KindOf(entry);
        if (kind == Kind::HandledAlone) {
            // Looked at only once the run is at it; nothing after it is announced before it is done.
            next_ += next_ == index;
            return;
        }
        if (kind == Kind::CopiedAhead && files_.AnnounceCopy(folder_ + kStagingFolder + entry, folder_ + entry))
            announced_.push_back(next_);
    }
}

void CopyReadAhead::Drop()
{
    files_.DropAnnouncedCopies();
    announced_.clear();
    next_ = current_ + 1;
}

void CopyReadAhead::KeepInStep(std::size_t index)
{
    while (!announced_.empty() && announced_.front() < index)
        announced_.pop_front();
    if (files_.AnnouncedCopies() == announced_.size())
        return;
    files_.DropAnnouncedCopies();
    announced_.clear();
    next_ = index;
}
