#pragma once
// Putting a new file in the place of an image that this process has in use, which Windows lets nobody
// replace or delete but lets be renamed: the image is renamed aside, then the new file into its place. The
// place is never left empty where a rename can fill it: should the new file's rename fail, the image is
// renamed back, and should that fail while the place is empty, the new file is renamed in after all. A
// program whose own Update.exe went missing could not start again to put it back.
#include "common/HoldWaits.h"

// The renames of one swap, each made once.
class ImageRenames {
public:
    virtual ~ImageRenames() = default;
    // Each false when the rename failed.
    virtual bool ImageAside() = 0;
    virtual bool NewFileIn() = 0;
    virtual bool ImageBack() = 0;
    // Whether the last rename that failed was refused by another program's hold.
    virtual bool Held() = 0;
    // Whether nothing is at the image's place.
    virtual bool PlaceEmpty() = 0;
};

// True when the new file took the image's place. The image aside and the new file in outlast holds within
// the operation's waits; filling the place again after a failure outlasts them within waits of its own,
// drawn on the same budget, since the operation's may have been spent by then.
bool SwapImage(ImageRenames& renames, HoldWait& operation);
