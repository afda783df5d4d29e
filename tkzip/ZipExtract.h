#pragma once
// Extraction of the one member that installs to a target, checked against what the archive records.
// Only stored and deflated members without encryption are extracted; every other method fails, so that
// the library behaves alike whatever compressors its archive reader was built with.
#include <string>
#include <vector>

#include <zip.h>

#include "tkzip/ExtractSink.h"

// Reads the archive from source, which it takes over (freed in every case), chooses the member for
// targetNames (MemberChoice.h) and writes the member's data to sink. True only when the whole member was
// written and its length and CRC-32 equal those the archive's directory records. False, without raising,
// for an archive that cannot be read or fails the reader's consistency checks, no member to choose, an
// encrypted member, another method, a read or inflate error, a mismatch, or a sink that refuses bytes;
// the sink may then hold part of the data.
bool ExtractMember(zip_source_t* source, const std::vector<std::string>& targetNames, ExtractSink& sink);
