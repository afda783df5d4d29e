#pragma once
// How an animated GIF is played: the option set, its default, and the component's timing constants.
#include <cstdint>
#include <initializer_list>

enum class PlaybackOption : unsigned {
    Threaded,               // frames are timed on a worker thread; otherwise inside the draw call
    UseTransparency,        // frames are drawn through their transparency masks
    PlayFrames,             // all frames in turn; otherwise only the first
    RepeatPasses,           // more than one pass over the frames is allowed
    RepeatForever,          // passes repeat without end, whatever the loop extension says
    VerifyTarget,           // a buffered painter stops when its target is no longer valid
    PaintOnTarget,          // paint straight onto the caller's canvas instead of the frame cache
    ClearEachPass,          // restore the backdrop before the first frame of every pass
    TileImage,              // repeat the picture across the target in steps of the logical screen
    DitherFrames,           // render frames through the ditherer
    DitherOnPaletteDisplay, // with DitherFrames: dither only on a palette display
};

class PlaybackOptions {
public:
    constexpr PlaybackOptions(std::initializer_list<PlaybackOption> options = {})
    {
        for (PlaybackOption option : options)
            bits_ |= Bit(option);
    }

    constexpr bool Has(PlaybackOption option) const { return (bits_ & Bit(option)) != 0; }
    constexpr PlaybackOptions With(PlaybackOption option) const { return FromBits(bits_ | Bit(option)); }
    constexpr PlaybackOptions Without(PlaybackOption option) const { return FromBits(bits_ & ~Bit(option)); }
    constexpr bool operator==(const PlaybackOptions& other) const { return bits_ == other.bits_; }
    constexpr bool operator!=(const PlaybackOptions& other) const { return bits_ != other.bits_; }

private:
    static constexpr std::uint16_t Bit(PlaybackOption option) { return std::uint16_t(1u << unsigned(option)); }
    static constexpr PlaybackOptions FromBits(unsigned bits)
    {
        PlaybackOptions options;
        options.bits_ = std::uint16_t(bits);
        return options;
    }

    std::uint16_t bits_ = 0;
};

inline constexpr PlaybackOptions DefaultPlaybackOptions{
    PlaybackOption::Threaded,     PlaybackOption::UseTransparency, PlaybackOption::PlayFrames,
    PlaybackOption::RepeatPasses, PlaybackOption::DitherFrames,    PlaybackOption::DitherOnPaletteDisplay};

// Milliseconds timed for one unit of a stored frame delay (which counts hundredths of a second).
inline constexpr int FrameDelayUnitMs = 12;
// Units waited after a frame without graphic control extension or with a stored delay of 0.
inline constexpr int DefaultFrameDelay = 10;
// A stored delay below this is raised to it.
inline constexpr int MinimumFrameDelay = 3;
// A stored delay above this is lowered to it, for a painter without Threaded only.
inline constexpr int MaximumFrameDelay = 1000;
inline constexpr int DefaultSpeedPercent = 100;

// Thread priorities in the system's order; painters run at Normal unless the image asks otherwise.
enum class TThreadPriority { Idle, Lowest, Lower, Normal, Higher, Highest, TimeCritical };
