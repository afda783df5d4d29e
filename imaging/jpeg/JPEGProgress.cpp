#include "imaging/jpeg/JPEGProgress.h"

namespace {

void Monitor(j_common_ptr info)
{
    const jpeg_progress_mgr& manager = *info->progress;
    const long passes = manager.total_passes > 0 ? manager.total_passes : 1;
    const long withinPass = manager.pass_limit > 0 ? manager.pass_counter * 100 / manager.pass_limit : 0;
    reinterpret_cast<JPEGProgress*>(info->progress)->Report(
        static_cast<int>((manager.completed_passes * 100 + withinPass) / passes));
}

} // namespace

void JPEGProgress::Install(jpeg_decompress_struct& info, const TProgressHook& hook, const JPEGProgressClock& clock)
{
    if (!hook)
        return;
    Hook = &hook;
    Clock = &clock;
    LastNotice = clock();
    LastPercent = 0;
    Manager.progress_monitor = Monitor;
    info.progress = &Manager;
}

void JPEGProgress::Report(int percent)
{
    const std::uint64_t now = (*Clock)();
    if (percent == LastPercent || now - LastNotice < IntervalMs)
        return;
    LastNotice = now;
    LastPercent = percent;
    (*Hook)(TProgressStage::psRunning, percent, "");
}
