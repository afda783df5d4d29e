#include "common/ImageSwap.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A clock that moves only when paused, adding up the pauses.
class FakeClock : public HoldClock {
public:
    std::uint64_t NowMs() override { return now; }
    void Pause(std::uint32_t milliseconds) override
    {
        now += milliseconds;
        paused += milliseconds;
    }

    std::uint64_t now = 1000;
    std::uint64_t paused = 0;
};

const int kForGood = 1000000;

// How one rename fares: refused by a hold so many times, then refused otherwise or done.
struct Script {
    int holds = 0;
    bool refusedOtherwise = false;
};

enum class Place { Image, NewFile, Empty };

// The image's place, its aside name and the new file, as the renames leave them.
class FakeRenames : public ImageRenames {
public:
    FakeRenames(Script aside, Script in, Script back) : aside_(aside), in_(in), back_(back) {}

    bool ImageAside() override { return Move(aside_, Place::Image, Place::Empty); }
    bool NewFileIn() override { return Move(in_, Place::Empty, Place::NewFile); }
    bool ImageBack() override { return Move(back_, Place::Empty, Place::Image); }
    bool Held() override { return held_; }
    bool PlaceEmpty() override { return place == Place::Empty; }

    Place place = Place::Image;
    int newFileAttempts = 0;

private:
    // A rename onto a name that is taken fails, as no hold.
    bool Move(Script& script, Place from, Place to)
    {
        newFileAttempts += &script == &in_;
        held_ = false;
        if (place != from)
            return false;
        if (script.holds > 0) {
            --script.holds;
            held_ = true;
            return false;
        }
        if (script.refusedOtherwise)
            return false;
        place = to;
        return true;
    }

    Script aside_;
    Script in_;
    Script back_;
    bool held_ = false;
};

} // namespace

TEST(SwapImage, NeverLeavesTheImagesPlaceEmptyWhereARenameCanFillIt)
{
    const struct {
        const char* name;
        Script aside, in, back;
        bool swapped;
        Place place;
    } cases[] = {
        {"nothing held", {}, {}, {}, true, Place::NewFile},
        {"the new file held for a moment: waited for", {}, {3}, {}, true, Place::NewFile},
        {"the new file refused: the image back", {}, {0, true}, {}, false, Place::Image},
        {"the new file held for good, then the image aside for a moment: the image back, waited for", {}, {kForGood},
         {3}, false, Place::Image},
        {"the new file held past the bound, the image aside for good: the new file in after all", {}, {20},
         {kForGood}, true, Place::NewFile},
        {"the image refused its rename aside: nothing more is tried", {0, true}, {}, {}, false, Place::Image},
        {"the image held for good: nothing more is tried", {kForGood}, {}, {}, false, Place::Image},
        {"both held for good: the place stays empty, the waits bounded", {}, {kForGood}, {kForGood}, false,
         Place::Empty},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClock clock;
        HoldBudget budget(clock, kHoldBounds);
        HoldWait operation(budget);
        FakeRenames renames(c.aside, c.in, c.back);

        EXPECT_EQ(SwapImage(renames, operation), c.swapped);
        EXPECT_EQ(renames.place, c.place);
        if (c.place == Place::Image && c.aside.holds + c.aside.refusedOtherwise > 0) {
            EXPECT_EQ(renames.newFileAttempts, 0);
        }
        EXPECT_LE(clock.paused, 2u * kHoldBounds.perOperationMs);
    }
}
