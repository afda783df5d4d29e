#pragma once
// Makes the staged version file current: "QeltoUp.bak" is deleted when present, "QeltoUp.dat" becomes
// "QeltoUp.bak" when present, and "QeltoU2.dat" becomes "QeltoUp.dat". A failed delete or rename is
// skipped silently; an error raised on the way adds a RotationErrorRecord to the log and ends the
// rotation, and the caller goes on as if it had finished. Should saving that record fail, its error
// escapes.
#include <string>

#include "update/FileStore.h"
#include "update/LocalTime.h"
#include "update/UpdateLog.h"
#include "update/UpdateFiles.h"

struct RotationServices {
    FileStore& store;
    UpdateFiles& files;
    Clock& clock;
};

void RotateVersionFiles(const std::string& applicationFolder, LogText& log, const RotationServices& services);
