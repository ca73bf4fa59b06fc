#include "tests/engine/sound/SoundFixture.h"

#include <map>

#include "engine/media/SndMgr.h"
#include "platform/SoundDevice.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace soundtest {

Bytes Samples(int32_t from, int32_t to)
{
    Bytes out;
    for (int32_t i = from; i < to; ++i) {
        out.push_back(Sample(i));
    }
    return out;
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

Bytes TestCsn(int32_t length)
{
    // Made once per length: the encoder takes long for a test's set-up.
    static std::map<int32_t, Bytes> made;
    if (const auto found = made.find(length); found != made.end()) {
        return found->second;
    }
    PcmSound pcm;
    pcm.channels = 1;
    pcm.bits = 8;
    pcm.rate = 22050;
    pcm.data = Samples(0, length);
    CsnOptions options;
    options.level = 255;
    options.seekEvery = 4096;
    return made[length] = EncodeCsn(pcm, options);
}

void SoundFixture::SetUp() { CSndMgr::CreateDevice(); }

void SoundFixture::MakeLibrary(const std::vector<std::pair<int32_t, Bytes>>& sounds)
{
    qmtest::FolderLibraryWriter w(qmtest::TempDir() / "sounds");
    for (const auto& [id, csn] : sounds) {
        w.Add("CSN", id, csn);
    }
    library_ = std::make_unique<EngineLibrary>(w.Folder().string());
}

Bytes SoundFixture::Played()
{
    Bytes out;
    const std::vector<int16_t> mixed = GetSoundDevice()->TakeOutput();
    for (size_t i = 0; i < mixed.size(); i += 2) {
        out.push_back(static_cast<uint8_t>(mixed[i] / 256 + 128));
    }
    return out;
}

} // namespace soundtest
