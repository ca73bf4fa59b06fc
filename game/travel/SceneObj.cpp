#include "game/travel/SceneObj.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/framework/Appl.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/media/SndObj.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RecReader.h"
#include "engine/resources/TplRecLoader.h"

namespace {

// NextLine keeps at most 79 characters.
constexpr int16_t kLineRoom = 80;

} // namespace

CSceneRecord::CSceneRecord(int32_t id) : reader_(std::make_unique<CRecReader>())
{
    LoadTplRec(*reader_, id, CLibMgr::kAllLibraries, false);
}

CSceneRecord::~CSceneRecord() = default;

bool CSceneRecord::Exists() const { return reader_->GetEntryCount() > 0; }

std::unique_ptr<CStr> CSceneRecord::Line() { return reader_->NextLine(index_, kLineRoom); }

int32_t CSceneRecord::Number(int32_t missing)
{
    std::unique_ptr<CStr> line = Line();
    if (!line)
        return missing;
    // The comment is gone; the blanks before it are not part of the number.
    std::string text(line->GetText(), static_cast<size_t>(std::min<int32_t>(line->GetLength(), 6)));
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    int32_t value = 0;
    return CStr(text.c_str()).ToLong(&value) ? value : missing;
}

std::unique_ptr<CStr> CSceneRecord::PickFromGroup()
{
    std::vector<std::unique_ptr<CStr>> group;
    while (std::unique_ptr<CStr> line = Line()) {
        if (line->FirstChar() == '.')
            break;
        group.push_back(std::move(line));
    }
    if (group.empty())
        return nullptr;
    if (group.size() == 1)
        return std::move(group.front());
    const int32_t pick = CUtil::Random(0, static_cast<int32_t>(group.size()) - 1);
    return std::move(group[static_cast<size_t>(pick)]);
}

CSceneObj::CSceneObj(int32_t recordId) : recordId_(recordId) {}

CSceneObj::~CSceneObj() { FreeParts(); }

void CSceneObj::Reset()
{
    FreeParts();
    soundLevel_ = 0;
    soundId_ = -1;
}

void CSceneObj::FreeParts()
{
    line1_.reset();
    line2_.reset();
}

void CSceneObj::LoadHead(CSceneRecord& record)
{
    line1_ = record.Line();
    line2_ = record.Line();
    soundId_ = record.Number();
    soundLevel_ = static_cast<int16_t>(record.Number());
}

void CSceneObj::Load()
{
    CSceneRecord record(recordId_);
    if (!record.Exists())
        return;
    LoadHead(record);
    secondNumber_ = record.Number();
}

void CSceneObj::PlaySound()
{
    if (soundId_ <= 0)
        return;
    StopNow();
    sound_ = PlayMusic(soundId_, kSoundFlags, static_cast<uint8_t>(soundLevel_), kSoundFade, true);
    if (CBaseAppl* appl = GetApplication())
        SendMsg(*appl, kMsgSoundStarted, 0, 0, nullptr);
    playing_ = static_cast<bool>(sound_);
}

void CSceneObj::StopNow()
{
    if (!sound_)
        return;
    StopSounds(&sound_, 0);
    sound_ = SoundHandle();
    playing_ = false;
}

void CSceneObj::StopSound()
{
    if (playing_ && sound_)
        StopSounds(nullptr, soundId_);
}

void CSceneObj::Start()
{
    if (playing_)
        PlaySound();
}

void CSceneObj::ToggleSound()
{
    if (soundId_ <= 0)
        return;
    if (!sound_ && !playing_)
        PlaySound();
    else
        StopNow();
}

void CSceneObj::ApplyLevel()
{
    if (CSndObj* sound = GetSlotSound(sound_))
        sound->SetLevel(soundLevel_);
}

CSceneProp::CSceneProp(int32_t recordId) : CSceneObj(recordId), propRecordId_(recordId)
{
    CSceneProp::Reset();
}

CSceneProp::~CSceneProp() = default;

void CSceneProp::Reset()
{
    roughness_ = 2;
    passThrough_ = 0;
    downstreamHeading_ = 0;
    movingAllowed_ = 1;
    damageLimit_ = 0.0;
    sceneryListId_ = 0;
    raftFigureSeqId_ = 0;
    panoramaImageId_ = 0;
    switch_ = 0;
    groundColour_ = -1;
    FreeParts();
}

void CSceneProp::Load()
{
    CSceneRecord record(propRecordId_);
    if (!record.Exists())
        return;
    LoadHead(record);
    roughness_ = static_cast<int16_t>(record.Number());
    passThrough_ = static_cast<uint8_t>(record.Number());
    downstreamHeading_ = static_cast<int16_t>(record.Number());
    movingAllowed_ = static_cast<uint8_t>(record.Number());
    damageLimit_ = static_cast<double>(record.Number());
    sceneryListId_ = record.Number();
    raftFigureSeqId_ = record.Number();
    panoramaImageId_ = record.Number();
    switch_ = record.Number(0);
    groundColour_ = record.Number(-1);
    for (std::unique_ptr<CStr>& line : picked_)
        line = record.PickFromGroup();
}

const CStr* CSceneProp::GetPicked(int32_t i) const
{
    return i >= 0 && i < kPickedLines ? picked_[static_cast<size_t>(i)].get() : nullptr;
}
