#pragma once
// The engine's message record: an id, a signed 16-bit delay in ticks (negative = deliver at
// once), the real-clock tick at which a queued copy falls due, and six parameter words.
// The words are pointer-sized so that a message can carry an object; numbers keep their
// 32-bit meaning (store an int32_t, read it back as an int32_t).
#include <cstdint>

using MsgWord = intptr_t;

// Message ids the engine gives a meaning. Negative ids are engine and application
// commands; positive ids are the game's own.
enum : int32_t {
    kMsgMouse = -1,
    kMsgKey = -3,
    kMsgQuit = -8,
    kMsgOpenFile = -19,   // word 2: the file spec; a receiver that handles it owns it
    kMsgFocusFirst = -34, // -34 ... -30 go to the active window's focus control
    kMsgFocusLast = -30,
    kMsgEndModal = -39,
    kMsgFatal = -48, // sent to the application just before a fatal report ends the program
};

class CMessage {
public:
    static constexpr int kWordCount = 6;

    explicit CMessage(int32_t id, MsgWord param1 = 0, MsgWord param2 = 0, int16_t delay = -1)
        : id_(id), delay_(delay), words_{param1, param2, 0, 0, 0, 0}
    {
    }
    CMessage(const CMessage&) = default;
    CMessage& operator=(const CMessage&) = default;
    virtual ~CMessage() = default;

    int32_t GetId() const { return id_; }
    void SetId(int32_t id) { id_ = id; }
    int16_t GetDelay() const { return delay_; }
    void SetDelay(int16_t delay) { delay_ = delay; }
    uint32_t GetDueTick() const { return due_; }
    void SetDueTick(uint32_t tick) { due_ = tick; }

    // Word i (0-5); 0 for any other index.
    MsgWord GetParam(int i) const { return InRange(i) ? words_[i] : 0; }
    // Writes word i (ignored outside 0-5); returns i.
    int SetParam(MsgWord value, int i)
    {
        if (InRange(i))
            words_[i] = value;
        return i;
    }
    void SetArg(MsgWord value, int i) { SetParam(value, i); }
    // A word that carries an object pointer.
    template <class T> T* GetParamPtr(int i) const { return reinterpret_cast<T*>(GetParam(i)); }
    int SetParamPtr(const void* p, int i) { return SetParam(reinterpret_cast<MsgWord>(p), i); }

private:
    static bool InRange(int i) { return i >= 0 && i < kWordCount; }

    int32_t id_;
    int16_t delay_;
    uint32_t due_ = 0;
    MsgWord words_[kWordCount];
};
