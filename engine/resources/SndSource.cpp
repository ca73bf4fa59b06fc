#include "engine/resources/SndSource.h"

CSndSource::CSndSource(int32_t resourceId, uint32_t libraryMask)
    : resourceId_(resourceId), libraryMask_(libraryMask)
{
}

CSndSource::~CSndSource() = default;
