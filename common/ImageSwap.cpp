#include "common/ImageSwap.h"

bool SwapImage(ImageRenames& renames, HoldWait& operation)
{
    const auto held = [&] { return renames.Held(); };
    if (!OutlastHolds(operation, [&] { return renames.ImageAside(); }, held))
        return false;
    if (OutlastHolds(operation, [&] { return renames.NewFileIn(); }, held))
        return true;
    bool newFileIn = false;
    const auto fill = [&] {
        if (renames.ImageBack())
            return true;
        newFileIn = renames.PlaceEmpty() && renames.NewFileIn();
        return newFileIn;
    };
    HoldWait refill(operation.Budget());
    OutlastHolds(refill, fill, held);
    return newFileIn;
}
