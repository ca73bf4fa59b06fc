#include "platform/headless/ScriptRunner.h"

#include <algorithm>

#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "platform/WindowMessages.h"

namespace {

constexpr uint64_t kTickMs = 17;
constexpr int32_t kQuitCommand = 252;

} // namespace

void ScriptClock::SleepUntil(uint64_t ms)
{
    if (hold_) {
        hold_ = false;
        return;
    }
    FakeClock::SleepUntil(ms);
}

ScriptRunner::ScriptRunner(std::vector<ScriptLine> lines, std::string fileName, ScriptClock& clock,
                           ScriptTarget target, std::ostream& out)
    : lines_(std::move(lines)), fileName_(std::move(fileName)), clock_(clock), target_(std::move(target)),
      out_(out)
{
}

void ScriptRunner::Pump(plat::MessageQueue& queue, uint64_t deadlineMs)
{
    for (;;) {
        if (pendingMs_ > 0) {
            const uint64_t now = clock_.NowMs();
            const uint64_t step = deadlineMs > now ? std::min(pendingMs_, deadlineMs - now) : 0;
            clock_.Advance(step);
            pendingMs_ -= step;
            clock_.HoldNextSleep();
            return;
        }
        ReleaseModifiers();
        if (next_ < lines_.size()) {
            if (RunLine(lines_[next_++]) || !queue.Empty() || error_) {
                clock_.HoldNextSleep();
                return;
            }
            continue;
        }
        // The end of the script quits; after that the program runs out its time alone.
        if (!quitSent_) {
            quitSent_ = true;
            target_.command(kQuitCommand);
            clock_.HoldNextSleep();
        }
        return;
    }
}

plat::Point ScriptRunner::ToScreen(int32_t x, int32_t y) const
{
    const plat::WindowHandle window = target_.gameWindow ? target_.gameWindow() : 0;
    return window ? plat::ClientToScreen(window, plat::Point{x, y}) : plat::Point{x, y};
}

void ScriptRunner::PressKey(const ScriptKey& key)
{
    if (key.shift)
        plat::InjectKey(plat::key::Shift, true);
    if (key.ctrl)
        plat::InjectKey(plat::key::Control, true);
    if (key.alt)
        plat::InjectKey(plat::key::Alt, true);
    if (key.key)
        plat::InjectKey(key.key, true);
    // Ctrl and Alt combinations bring no character of their own.
    if (key.ch && !key.ctrl && !key.alt)
        plat::InjectChar(key.ch);
    if (key.key)
        plat::InjectKey(key.key, false);
    // The modifiers stay down until the key's messages have been handled (they are let go
    // before the next line), as a person's fingers would: a control that asks whether Ctrl or
    // Shift is down while it handles the key must see them down.
    heldModifiers_ = key;
}

void ScriptRunner::ReleaseModifiers()
{
    if (!heldModifiers_)
        return;
    const ScriptKey key = *heldModifiers_;
    heldModifiers_.reset();
    if (key.alt)
        plat::InjectKey(plat::key::Alt, false);
    if (key.ctrl)
        plat::InjectKey(plat::key::Control, false);
    if (key.shift)
        plat::InjectKey(plat::key::Shift, false);
}

bool ScriptRunner::RunLine(const ScriptLine& line)
{
    using Kind = ScriptLine::Kind;
    switch (line.kind) {
    case Kind::Tick: pendingMs_ += static_cast<uint64_t>(line.x) * kTickMs; return false;
    case Kind::Move: plat::InjectMouseMove(ToScreen(line.x, line.y)); return true;
    case Kind::Down:
        plat::InjectMouseButton(plat::MouseButton::Left, true, ToScreen(line.x, line.y));
        return true;
    case Kind::Up:
        plat::InjectMouseButton(plat::MouseButton::Left, false, ToScreen(line.x, line.y));
        return true;
    case Kind::Click: plat::Click(ToScreen(line.x, line.y)); return true;
    case Kind::Press: {
        const std::optional<plat::Point> at = target_.findObject ? target_.findObject(line.x) : std::nullopt;
        if (!at) {
            Fail(line, "no object " + std::to_string(line.x));
            return true;
        }
        plat::Click(*at);
        return true;
    }
    case Kind::Key: PressKey(line.key); return true;
    case Kind::Type:
        for (const char c : line.text)
            plat::InjectChar(static_cast<uint8_t>(c));
        return true;
    case Kind::Command: target_.command(line.x); return true;
    case Kind::Answer: answer_ = line.answer; return false;
    case Kind::Screenshot:
        if (!(window_ ? WriteWindowPicture(*window_, line.text)
                      : target_.screenshot && target_.screenshot(line.text)))
            Fail(line, "cannot write the screenshot " + line.text);
        return false;
    case Kind::Window:
        window_.reset();
        if (line.x > 0)
            window_ = plat::PixelSize{line.x, line.y};
        return false;
    case Kind::Quit:
        quitSent_ = true;
        target_.command(kQuitCommand);
        return true;
    }
    return false;
}

bool ScriptRunner::WriteWindowPicture(plat::PixelSize window, const std::string& file)
{
    // A window shows its black border around the game area (index 0: the fixed black).
    constexpr uint8_t kBorderIndex = 0;
    plat::Surface area;
    plat::ComposeArea(area, plat::GetPresentedArea());
    return plat::WriteSurfacePng(plat::PresentPicture(area, window.width, window.height, kBorderIndex), file);
}

void ScriptRunner::Fail(const ScriptLine& line, const std::string& message)
{
    if (!error_)
        error_ = fileName_ + ":" + std::to_string(line.line) + ": " + message;
    next_ = lines_.size();
    quitSent_ = true;
    target_.command(kQuitCommand);
}

plat::MbResult ScriptRunner::Show(const plat::MessageBoxRequest& request)
{
    const std::vector<plat::MbResult> buttons = plat::ButtonsOf(request.buttons);
    plat::MbResult result = plat::MbResult::Ok;
    if (!buttons.empty()) {
        const size_t def =
            request.defaultButton >= 0 && static_cast<size_t>(request.defaultButton) < buttons.size()
                ? static_cast<size_t>(request.defaultButton)
                : 0;
        result = buttons[def];
        if (answer_ && std::find(buttons.begin(), buttons.end(), *answer_) != buttons.end())
            result = *answer_;
    }
    out_ << MessageBoxLine(request, result) << '\n';
    out_.flush();
    return result;
}
