#include "engine/media/SndMgr.h"

#include "engine/framework/Diag.h"
#include "engine/framework/EngineStrings.h"

namespace {

std::unique_ptr<plat::SoundDevice> g_device;

} // namespace

void CSndMgr::CreateDevice()
{
    if (g_device)
        return;
    g_device = plat::OpenSoundDevice();
    if (!g_device)
        ReportError(kReportFatal, GetEngineText(kCannotOpenString).c_str(), "sndmgr32", kCannotOpenLine);
    if (!g_device->SetCooperativeLevel())
        ReportError(kReportFatal, GetEngineText(kCannotShareString).c_str(), "sndmgr32", kCannotShareLine);
}

void CSndMgr::ReleaseDevice() { g_device.reset(); }

CWaveFormat CSndMgr::MakeWaveFormat(const CSndFormat& sound)
{
    CWaveFormat f;
    f.channels = static_cast<uint16_t>(sound.GetChannels());
    f.samplesPerSec = static_cast<uint32_t>(sound.GetSampleRate());
    f.bitsPerSample = static_cast<uint16_t>(sound.GetBitsPerSample());
    f.blockAlign = static_cast<uint16_t>(f.channels * (f.bitsPerSample / 8));
    f.avgBytesPerSec = f.samplesPerSec * f.blockAlign;
    return f;
}

CBufferDesc CSndMgr::MakeBufferDesc(const CSndFormat& sound, int32_t size)
{
    CBufferDesc d;
    d.bufferBytes = static_cast<uint32_t>(size);
    d.format = MakeWaveFormat(sound);
    return d;
}

std::unique_ptr<plat::SoundBuffer> CSndMgr::CreateBuffer(const CSndFormat& sound, int32_t size)
{
    if (!g_device || size <= 0)
        return nullptr;
    const CBufferDesc d = MakeBufferDesc(sound, size);
    return g_device->CreateBuffer({d.format.channels, d.format.samplesPerSec, d.format.bitsPerSample},
                                  d.bufferBytes);
}

plat::SoundDevice* GetSoundDevice() { return g_device.get(); }
