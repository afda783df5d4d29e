#pragma once
// What a TGIFImage tells whoever plays it (GIFPlayback) about its frames, so that painters stop before
// frames go and no frame cache outlives a change. The image knows only this, not its painters.

class GIFImageListener {
public:
    // The frames are about to be cleared.
    virtual void FramesClearing() = 0;
    // A frame is about to be added.
    virtual void FrameAdding() = 0;
    // The image is being destroyed; nothing of it may be touched afterwards.
    virtual void ImageEnding() = 0;

protected:
    ~GIFImageListener() = default;
};
