#pragma once
// The game's one way to its pictures: LoadImage gives the image set of a run-length sprite
// ("RLS", asked for with the key "RLES") or of a picture ("CBM", any other key), shared
// through the image cache under the keys "RLES" and "BMPD" when a cache mode of 1 or more
// is asked for and the cache exists, read directly otherwise.
#include <cstdint>
#include <memory>

class CImgSet;
class CRsrcCache;

// Source name and lines of the fatal report for a required image that is missing.
constexpr const char* kImageReportSource = "Qm3appl";
constexpr uint32_t kMissingSpriteLine = 2133;
constexpr uint32_t kMissingPictureLine = 2159;
// Bytes freed from the cache's released entries when a load leaves it full.
constexpr int32_t kSpriteFlushBytes = 0x32000;
constexpr int32_t kPictureFlushBytes = 0x7800;

// Null when the image is missing; a required image missing on the cached path is a fatal
// report (engine message 32).
std::unique_ptr<CImgSet> LoadImage(const char* key, int32_t ignored, int32_t id, bool required, int16_t mode);
