#pragma once
// CDiscPromptFrm: asks the player for a disc and watches the drives until it is found. When
// the disc is in a drive already the prompt stays empty (no screen, no timer) and its caller
// reads the folder at once; otherwise it shows its screen, looks again every 200 ticks, and
// tells its notify target (with the folder, or none when a control sent -13 to give up).
#include <cstdint>
#include <memory>

#include "engine/controls/Frame.h"

class CDriveLibMgr;
class CFileSpec;

class CDiscPromptFrm : public CFrame {
public:
    static constexpr uint32_t kPollTicks = 200;
    static constexpr int32_t kMsgGiveUp = -13;

    CDiscPromptFrm(int32_t id, const CPoint& at, CBaseObj* notifyTarget, int32_t resultMessage,
                   CDriveLibMgr* manager, int32_t disc, int32_t screenList, uint32_t libraryMask);
    ~CDiscPromptFrm() override;

    bool OnTimer() override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // A new copy of the folder where the disc was found, or null.
    std::unique_ptr<CFileSpec> GetResult() const;
    bool HasScreen() const { return screen_ != nullptr; }

private:
    void Report();

    std::unique_ptr<CFileSpec> found_;
    CBaseObj* notifyTarget_;
    CDriveLibMgr* manager_;
    int32_t resultMessage_;
    int32_t disc_;
    CFrame* screen_ = nullptr;
};
