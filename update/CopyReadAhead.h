#pragma once
// Which plain entries the update run announces ahead of handling them (UpdateFiles::AnnounceCopy), so that
// their copies are written and flushed while earlier entries are installed. The run still handles and
// records every entry in manifest order; only copies whose outcome cannot depend on what comes before
// them are announced:
// - an archive entry, a plain entry that may install into the staging folder "Update\" (and so change a
//   later entry's staged source), and the log (installed with the earlier records, not copied), are never
//   announced, and nothing after them is announced until the run has handled them: their work meets no
//   copy of ours in progress, and later copies read their results;
// - a refused (unsafe) entry is passed over;
// - at most kCopiesAhead entries beyond the current one are looked at, so what is prepared stays bounded
//   whatever the manifest's size.
// Announced copies are dropped, and the look-ahead starts again after the current entry, when the run
// says so (a copy failure, an error in an entry) and when the object goes. When the file layer has
// dropped them itself (a copy that failed ahead is made again in turn), the look-ahead starts again at
// the entry reached, so that the layer's first announced copy is always the next one the run asks for.
#include <cstddef>
#include <deque>
#include <string>

#include "update/TextList.h"
#include "update/UpdateFiles.h"

class CopyReadAhead {
public:
    static const std::size_t kCopiesAhead = 8;

    // folder: the application folder, ending in "\" (or ":").
    CopyReadAhead(const TextList& manifest, const std::string& folder, UpdateFiles& files);
    CopyReadAhead(const CopyReadAhead&) = delete;
    CopyReadAhead& operator=(const CopyReadAhead&) = delete;
    ~CopyReadAhead();

    // Called before the entry of that index is handled: announces the entries after those announced so far,
    // up to kCopiesAhead beyond it, as the rules above allow; first starts again at it when the layer no
    // longer holds every copy announced for it and beyond.
    void Reach(std::size_t index);
    // Drops every announced copy not yet asked for; the look-ahead goes on after the current entry.
    void Drop();

private:
    // Forgets what the layer was told of the entries before index and, when the layer has dropped what it
    // was told of the others, starts again at index.
    void KeepInStep(std::size_t index);

    const TextList& manifest_;
    const std::string& folder_;
    UpdateFiles& files_;
    std::size_t current_ = 0;
    std::size_t next_ = 0;              // the first entry not yet looked at
    std::deque<std::size_t> announced_; // the entries whose announced copies the layer holds, in order
};
