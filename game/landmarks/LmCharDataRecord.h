#pragma once
// CLmCharDataRecord: what a landmark character's template says about it. Its command language
// (TLmCharFrm.h) fills it: which clip to play and how it is chosen, how clicks are answered,
// the idle pauses, the caption, the popup and pick-me template lists, and two short action
// lists, ONSTOP (run when the clip ends or is paused) and ONCONTINUE (run on a click). The
// character (LmCharFrm.h) runs them.
#include <array>
#include <cstdint>
#include <memory>

class CMessage;
class CStr;

class CLmCharDataRecord {
public:
    // How the clip is chosen.
    enum FileMode : int32_t { kFileFixed = 0, kFileSequence = 1, kFileIdle = 2, kFileRandom = 3 };
    // Each action list holds this many entries.
    static constexpr int16_t kMaxActions = 2;

    CLmCharDataRecord();
    ~CLmCharDataRecord();
    CLmCharDataRecord& operator=(const CLmCharDataRecord&) = delete;
    // A record of its own for each character a template makes: the texts and the stored
    // message are copied.
    std::unique_ptr<CLmCharDataRecord> Clone() const;

    // Appends an entry when the list accepts the action and has room; otherwise reports
    // "Invalid action selected." and answers false.
    bool AddOnStopAction(int32_t action, int32_t value);
    bool AddOnContinueAction(int32_t action, int32_t value);
    static bool IsStopAction(int32_t action);
    static bool IsContinueAction(int32_t action);
    // Entry i of a list; -1 when i is not below the list's count.
    int32_t GetStopAction(int16_t i) const;
    int32_t GetStopValue(int16_t i) const;
    int32_t GetContinueAction(int16_t i) const;
    int32_t GetContinueValue(int16_t i) const;
    int16_t GetStopCount() const { return stop_.count; }
    int16_t GetContinueCount() const { return continue_.count; }

    // The file name's text; empty when the template gave none.
    const char* GetFileName() const;
    void SetFileName(std::unique_ptr<CStr> name);
    int32_t GetTemplateId() const { return templateId_; }
    void SetTemplateId(int32_t id) { templateId_ = id; }

    // The clip: a resource id (or the first of a range) under a library mask, the range's
    // length and a key kept with it.
    int32_t GetFileId() const { return fileId_; }
    void SetFileId(int32_t id) { fileId_ = id; }
    uint32_t GetLibMask() const { return libMask_; }
    void SetLibMask(uint32_t mask) { libMask_ = mask; }
    int32_t GetLineCount() const { return lineCount_; }
    void SetLineCount(int32_t n) { lineCount_ = n; }
    int32_t GetDataKey() const { return dataKey_; }
    void SetDataKey(int32_t key) { dataKey_ = key; }
    int32_t GetFileMode() const { return fileMode_; }
    void SetFileMode(int32_t mode) { fileMode_ = mode; }

    // The video's flag word (0x80 from NOTIFYWHENDONE), looping and autoplay.
    uint32_t GetFlags() const { return flags_; }
    void SetFlags(uint32_t flags) { flags_ = flags; }
    bool GetLoop() const { return loop_ != 0; }
    void SetLoop(bool loop) { loop_ = loop ? 1 : 0; }
    bool GetAutoPlay() const { return autoPlay_ != 0; }
    void SetAutoPlay(bool autoPlay) { autoPlay_ = autoPlay ? 1 : 0; }
    int32_t GetClickMode() const { return clickMode_; }
    void SetClickMode(int32_t mode) { clickMode_ = mode; }
    // Ticks before the first idle play and between idle plays (used as 16-bit numbers).
    int32_t GetPrePause() const { return prePause_; }
    int32_t GetPostPause() const { return postPause_; }
    void SetPauses(int32_t pre, int32_t post)
    {
        prePause_ = pre;
        postPause_ = post;
    }

    // Template lists: the click popup, the screen after a person joined, and the trade's
    // (kept only).
    int32_t GetPopupResId() const { return popupResId_; }
    void SetPopupResId(int32_t id) { popupResId_ = id; }
    int32_t GetPickMeResId() const { return pickMeResId_; }
    void SetPickMeResId(int32_t id) { pickMeResId_ = id; }
    int32_t GetTradeResId() const { return tradeResId_; }
    void SetTradeResId(int32_t id) { tradeResId_ = id; }

    // The caption text of the clip; null when there is none.
    const CStr* GetCaption() const { return caption_.get(); }
    std::unique_ptr<CStr> TakeCaption() { return std::move(caption_); }
    void SetCaption(std::unique_ptr<CStr> caption);

    // The message action 15 broadcasts; a new one replaces (and frees) the old.
    CMessage* GetStoredMessage() const { return message_.get(); }
    std::unique_ptr<CMessage> TakeStoredMessage();
    void SetStoredMessage(std::unique_ptr<CMessage> message);

private:
    CLmCharDataRecord(const CLmCharDataRecord& other);

    struct ActionList {
        std::array<int32_t, kMaxActions> actions{};
        std::array<int32_t, kMaxActions> values{};
        int16_t count = 0;

        int32_t ActionAt(int16_t i) const { return i >= 0 && i < count ? actions[i] : -1; }
        int32_t ValueAt(int16_t i) const { return i >= 0 && i < count ? values[i] : -1; }
    };
    // Appends to the list when the action is accepted and there is room; else the report
    // under the caption.
    bool Add(ActionList& list, bool accepted, int32_t action, int32_t value, const char* caption);

    int32_t fileId_ = 0;
    uint32_t libMask_ = 0;
    int32_t lineCount_ = 0;
    int32_t dataKey_ = 0;
    uint32_t flags_ = 0;
    int32_t clickMode_ = 0;
    uint8_t loop_ = 0;
    int32_t postPause_ = 0;
    int32_t prePause_ = 0;
    uint8_t autoPlay_ = 1;
    ActionList continue_;
    std::unique_ptr<CStr> caption_;
    ActionList stop_;
    int32_t pickMeResId_ = 0;
    int32_t tradeResId_ = 0;
    int32_t popupResId_ = 0;
    int32_t fileMode_ = kFileFixed;
    std::unique_ptr<CStr> fileName_;
    int32_t templateId_ = 0;
    std::unique_ptr<CMessage> message_;
};
