#pragma once
// Running progress notices of a decoding, from the library's progress monitor: at most one per 500
// milliseconds, and only when the percentage has changed since the last notice. The start and end notices
// are the picture's own. The hook runs inside the library, so it must not raise.
#include <cstdint>
#include <cstdio>
#include <functional>

#include <jpeglib.h>

#include "imaging/surface/ProgressHook.h"

// Milliseconds from any fixed point.
using JPEGProgressClock = std::function<std::uint64_t()>;

struct JPEGProgress {
    static constexpr std::uint64_t IntervalMs = 500;

    jpeg_progress_mgr Manager; // first, so that the library's pointer to it is a pointer to the whole
    const TProgressHook* Hook = nullptr;
    const JPEGProgressClock* Clock = nullptr;
    std::uint64_t LastNotice = 0; // when the last notice (or the start notice) was given
    int LastPercent = 0;

    // Points `info` at this monitor when there is a hook; `hook` and `clock` must outlive the decoding.
    void Install(jpeg_decompress_struct& info, const TProgressHook& hook, const JPEGProgressClock& clock);
    // The percentage is worked out from the library's passes; notifies when due.
    void Report(int percent);
};
