#pragma once
// CLmCharHost: what a landmark character asks of the frame it stands on (the landmark scene
// frame): to show the caption of its clip.
#include <memory>

class CStr;

class CLmCharHost {
public:
    // Shows the caption when captions are on and answers what it did not keep (the text
    // itself when captions are off).
    virtual std::unique_ptr<CStr> ShowCaption(std::unique_ptr<CStr> text) = 0;

protected:
    ~CLmCharHost() = default;
};
