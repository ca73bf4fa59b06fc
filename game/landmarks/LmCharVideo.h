#pragma once
// The video frames of landmark characters. The game makes a CSmackerFrame from the "SMK"
// resource of the clip id, or from the file name when the id is 0; tests put a maker of their
// own in its place.
#include <cstdint>
#include <functional>
#include <memory>

class CPoint;
class CSmackerFrame;

// Makes the video at the point: the clip id in the libraries of the mask, or the named file
// when the id is 0, with the video flags. Null when it cannot be made.
using LmCharVideoMaker = std::function<std::unique_ptr<CSmackerFrame>(
    const CPoint& at, int32_t clipId, uint32_t libMask, const char* fileName, uint32_t flags)>;
// Replaces the maker (tests); an empty one puts the game's back.
void SetLmCharVideoMaker(LmCharVideoMaker maker);
std::unique_ptr<CSmackerFrame> MakeLmCharVideo(const CPoint& at, int32_t clipId, uint32_t libMask,
                                               const char* fileName, uint32_t flags);
