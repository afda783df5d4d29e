#pragma once
// The update run (the body of BtnUpClick): installs every file the manifest "Update\UpFile.Dat" lists
// from the staging folder "Update\" into the application folder, logs every failure in "UpLog.dat",
// then rotates the version files and relaunches the client.
//
// - Archive entries (ending exactly in ".zip") are extracted through ProZip; -1 adds an
//   ExtractionFailureRecord and the run goes on. Every other entry is copied with CopyFileByStream after
//   one pump of the message queue; a copy failure shows the notice, adds a CopyFailureRecord and ends the
//   run with no rotation and no relaunch.
// - Each entry is handled inside its own guard: any error adds an EntryErrorRecord with the error's
//   message and the run goes on; should saving that record fail too, its error escapes the run. So does
//   an error loading the manifest or a present log, before any entry is visited.
// - Entries that would reach outside the application folder are refused (EntrySafety.h), including
//   archive entries whose derived target would.
// - Before the log is read, the log of a killed run's start that lives only under its kept name is folded
//   back into it; as the run ends, whichever way, so is the log of its own start where an installed file
//   took the log's place after the last save (LeftLogRecovery.h).
// - Later plain entries are copied ahead (written and flushed, not yet in place) while earlier ones are
//   installed (CopyReadAhead.h); entries are still handled, put in place and recorded in manifest order,
//   and a copy failure or an entry error drops every copy made ahead before it is recorded.
#include <string>

#include "update/FileStore.h"
#include "update/LocalTime.h"
#include "update/UpdateFiles.h"
#include "update/UpdateHost.h"

struct UpdateServices {
    FileStore& store;
    UpdateFiles& files;
    UpdateHost& host;
    Clock& clock;
};

// applicationFolder ends in "\" (or ":"); every path is formed by plain concatenation onto it.
void RunUpdate(const std::string& applicationFolder, const UpdateServices& services);
