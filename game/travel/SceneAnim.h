#pragma once
// CSceneAnim: one animated part of a river scene: a run-length sprite ("RLS") shown by a
// scene sequence element (SceneSeqWnd.h) in the scene's frame, with the sound, frame step and drawing flag of
// its scene record. The river scene keeps one per legend entry.
#include <cstdint>
#include <memory>

#include "engine/framework/Str.h"

class CFrame;
class CImgSet;
class CSceneSeqWnd;

class CSceneAnim {
public:
    // Image kinds: a small image id (below 256) and any other.
    static constexpr int16_t kKindSmall = 7;
    static constexpr int16_t kKindLarge = 9;
    static constexpr int16_t kSmallIdLimit = 256;
    static constexpr int16_t kDefaultHardness = 4;

    CSceneAnim() = default;
    ~CSceneAnim();
    CSceneAnim(const CSceneAnim&) = delete;
    CSceneAnim& operator=(const CSceneAnim&) = delete;

    // A new image id: its kind and drawing flag, the image freed, every other value reset.
    void SetImage(int16_t id);
    // Stores the kind, then reads the record of the record id: two lines, the sound id, the
    // hardness (frame step), the draw-ground flag and, when present, the animation value.
    void ReadRecord(int16_t kind);
    // Loads the sprite of the record id (none for record id 0).
    void LoadImage();
    // The sequence element (generated id, at (0, 0)) in the owner, playing the sequence
    // `sequenceId` (0: the record id), started when the sprite has several frames, and shown.
    void MakeWindow(CFrame* owner, int32_t sequenceId);
    // Deletes the element, the image and the lines and stops the sound.
    void FreeImage();

    void SetRecordId(int32_t id) { recordId_ = id; }
    int16_t GetImageId() const { return imageId_; }
    int16_t GetKind() const { return kind_; }
    int32_t GetRecordId() const { return recordId_; }
    const CStr* GetLine1() const { return line1_.get(); }
    const CStr* GetLine2() const { return line2_.get(); }
    CImgSet* GetImage() const { return image_.get(); }
    CSceneSeqWnd* GetWindow() const { return window_; }
    int32_t GetSoundId() const { return soundId_; }
    int16_t GetAnimValue() const { return animValue_; }
    int16_t GetCurrent() const { return current_; }
    uint8_t GetDrawGround() const { return drawGround_; }
    int16_t GetHardness() const { return hardness_; }
    bool IsAnimated() const { return animated_; }

private:
    int16_t imageId_ = 0;
    int16_t kind_ = 0;
    std::unique_ptr<CStr> line1_;
    std::unique_ptr<CStr> line2_;
    int32_t recordId_ = 0;
    std::unique_ptr<CImgSet> image_;
    // Owned; a child of the owner given to MakeWindow.
    CSceneSeqWnd* window_ = nullptr;
    int32_t soundId_ = 0;
    int16_t animValue_ = 255;
    int16_t current_ = 0;
    uint8_t drawGround_ = 1;
    int16_t hardness_ = kDefaultHardness;
    bool animated_ = false;
};
