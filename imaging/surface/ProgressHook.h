#pragma once
// Progress notices of a graphic's long operations ("Loading...", "Rendering..."): one at the start, running
// ones with a percentage, one at the end (100, or 0 when an error ended the operation).
#include <functional>
#include <string>

enum class TProgressStage { psStarting, psRunning, psEnding };

using TProgressHook = std::function<void(TProgressStage stage, int percent, const std::string& message)>;
