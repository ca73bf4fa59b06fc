#pragma once
// Runs a headless script as the source of the platform message queue's outside events: each
// time the pump would wait, the runner takes the next lines until one of them gives the
// program something to do, or moves the clock. Only ticks move time: the clock below holds
// still through the pump's waits and moves when code outside a wait sleeps on it.
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Geometry.h"
#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/Viewport.h"
#include "platform/headless/HeadlessScript.h"

// A fake clock that the script's runner can keep from jumping to a wait's deadline.
class ScriptClock : public plat::FakeClock {
public:
    using plat::FakeClock::FakeClock;
    void SleepUntil(uint64_t ms) override;
    // The next sleep (the wait after the runner's turn) leaves the time as it is.
    void HoldNextSleep() { hold_ = true; }

private:
    bool hold_ = false;
};

// What the runner asks of the program around it.
struct ScriptTarget {
    // The game area's window (0 before it exists).
    std::function<plat::WindowHandle()> gameWindow;
    // Queues command n to the application for the next pass.
    std::function<void(int32_t)> command;
    // The centre of the shown, enabled object of the id in the frontmost window holding one,
    // in screen coordinates; none when no window holds one.
    std::function<std::optional<plat::Point>(int32_t id)> findObject;
    // Writes the game area as a PNG; false when it cannot be written.
    std::function<bool(const std::string& file)> screenshot;
};

class ScriptRunner : public plat::MessageBoxService {
public:
    ScriptRunner(std::vector<ScriptLine> lines, std::string fileName, ScriptClock& clock, ScriptTarget target,
                 std::ostream& out);

    // The message queue's event source.
    void Pump(plat::MessageQueue& queue, uint64_t deadlineMs);
    // Message boxes: answered by the last "answer" line (the box's default button when it
    // has no such button, or none was given), each printed on the output.
    plat::MbResult Show(const plat::MessageBoxRequest& request) override;

    // The first error of a run ("FILE:LINE: message"); the runner then asks to quit.
    const std::optional<std::string>& GetError() const { return error_; }
    bool Finished() const { return next_ >= lines_.size(); }

private:
    // Runs one line; true when the pump has something to do before the next one.
    bool RunLine(const ScriptLine& line);
    void Fail(const ScriptLine& line, const std::string& message);
    // The presented area as a display window of that size shows it, written as a PNG.
    static bool WriteWindowPicture(plat::PixelSize window, const std::string& file);
    plat::Point ToScreen(int32_t x, int32_t y) const;
    void PressKey(const ScriptKey& key);
    void ReleaseModifiers();

    std::vector<ScriptLine> lines_;
    std::string fileName_;
    ScriptClock& clock_;
    ScriptTarget target_;
    std::ostream& out_;
    size_t next_ = 0;
    uint64_t pendingMs_ = 0;
    bool quitSent_ = false;
    std::optional<plat::MbResult> answer_;
    // The modifiers of the last key line, let go before the next line runs.
    std::optional<ScriptKey> heldModifiers_;
    std::optional<std::string> error_;
    // The display window's size the screenshots show through ("window W H"); none for the
    // game area alone.
    std::optional<plat::PixelSize> window_;
};
