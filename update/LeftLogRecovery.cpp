#include "update/LeftLogRecovery.h"

#include <exception>

#include "update/TextList.h"
#include "update/UpdateLog.h"

namespace {

// The bytes as the text list rules them: every line ended by CR LF, nothing from a NUL on.
std::string Normalised(const std::string& bytes)
{
    TextList lines;
    lines.SetText(bytes);
    return lines.Text();
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void FoldBack(FileStore& store, const std::string& logPath, const std::string& kept)
{
    const std::string earlier = Normalised(store.ReadWholeFile(kept));
    const std::string log = store.FileExists(logPath) ? Normalised(store.ReadWholeFile(logPath)) : std::string();
    if (!EndsWith(log, earlier)) {
        BytesInOnePiece bytes(log + earlier);
        store.SaveFile(logPath, bytes);
    }
    store.ForgetLeftKeptFile(kept);
}

} // namespace

void FoldBackLeftLogs(FileStore& store, const std::string& applicationFolder)
{
    const std::string logPath = UpdateLogPath(applicationFolder);
    for (const std::string& kept : store.LeftKeptFiles()) {
        try {
            FoldBack(store, logPath, kept);
        } catch (const std::exception&) {
            // Kept for a later run: its records are safe where they are.
        }
    }
}
