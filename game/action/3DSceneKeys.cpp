// The river scene's keys: the arrows steer like the view's zones; the rest tune the picture
// (distances, scales, colours, detail) and the river's sound while keys are enabled.
#include "engine/framework/Message.h"
#include "engine/graphics/ImgSet.h"
#include "game/action/3DScene.h"
#include "game/action/3DView.h"
#include "game/travel/SceneObj.h"

namespace {

constexpr int32_t kKeyLeft = 0x1C;
constexpr int32_t kKeyRight = 0x1D;
constexpr int32_t kKeyUp = 0x1E;
constexpr int32_t kKeyDown = 0x1F;
// The sound levels of "V" followed by "1".."9".
constexpr int16_t kSoundLevels[9] = {0x80, 0x90, 0xA0, 0xAF, 0xBF, 0xCF, 0xDF, 0xEF, 0xFF};
constexpr double kTiny = 1e-6;

// value + step while value is above the smallest sensible one.
double NudgePositive(double value, double step) { return value > kTiny ? value + step : value; }

// Near and far distances step through a range and wrap.
double StepUp(double value, double step, double top) { return value + step > top ? 0 : value + step; }
double StepDown(double value, double step, double top) { return value <= step ? top : value - step; }

} // namespace

bool C3DScene::HandleKey(const CMessage& message)
{
    const auto key = static_cast<int32_t>(message.GetParam(2));
    const bool afterV = lastKey_ == 'V' || lastKey_ == 'v';
    lastKey_ = key;
    if (key == '*') {
        keysEnabled_ = !keysEnabled_;
        return true;
    }
    if (!keysEnabled_)
        return false;
    if (key >= '1' && key <= '9') {
        if (afterV && props_) {
            props_->SetSoundLevel(kSoundLevels[key - '1']);
            props_->ApplyLevel();
        }
        return true;
    }
    if (HandleSteeringKey(key) || HandleViewKey(key) || HandleColourKey(key))
        return true;
    switch (key) {
    case 'W':
    case 'w': wireframe_ = !wireframe_; return true;
    case 'M':
    case 'm':
        if (props_)
            props_->ToggleSound();
        return true;
    case 'R':
    case 'r': ReloadSettings(); return true;
    case 's':
        if (props_) {
            props_->SetMovingAllowed(props_->GetMovingAllowed() ? 0 : 1);
            if (!props_->GetMovingAllowed())
                forward_ = sideways_ = 0;
        }
        return true;
    case 'b':
        wideForward_ = !wideForward_;
        LayoutZones();
        return true;
    case 'g': SetOverlay(!overlayOn_); return true;
    case 'f':
        if (view_)
            view_->SetHeading(props_ ? props_->GetDownstreamHeading() : 0);
        return true;
    case '0':
    case ',':
    case '.':
    case 'C':
    case 'E':
    case 'c':
    case 'e':
    case 'Q':
    case 'Z':
    case 'q':
    case 'z': return true;
    default: return false;
    }
}

bool C3DScene::HandleSteeringKey(int32_t key)
{
    switch (key) {
    case kKeyLeft: requestedZone_ = 3; return true;
    case kKeyRight: requestedZone_ = 5; return true;
    case kKeyUp: requestedZone_ = 1; return true;
    case kKeyDown: requestedZone_ = 7; return true;
    case 'L': SetDetailLevel(static_cast<int16_t>(detail_ == kMaxDetail ? 0 : detail_ + 1)); return true;
    case 'l': SetDetailLevel(static_cast<int16_t>(detail_ == 0 ? kMaxDetail : detail_ - 1)); return true;
    default: return false;
    }
}

bool C3DScene::HandleViewKey(int32_t key)
{
    if (key == '+' || key == '=') {
        sceneryFactor_ += 0.005;
        return true;
    }
    if (key == '-' || key == '_') {
        sceneryFactor_ -= 0.005;
        if (sceneryFactor_ < 1e-9)
            sceneryFactor_ = 0;
        return true;
    }
    if (key == '\\' || key == '|') {
        sceneryFactor_ = 0.5;
        return true;
    }
    if (!view_)
        return false;
    C3DView& v = *view_;
    switch (key) {
    case '!': v.SetVerticalScale(NudgePositive(v.GetVerticalScale(), 0.005)); return true;
    case '@': v.SetVerticalScale(NudgePositive(v.GetVerticalScale(), -0.005)); return true;
    case '#': v.SetModelFactor(NudgePositive(v.GetModelFactor(), 0.05)); return true;
    case '$': v.SetModelFactor(NudgePositive(v.GetModelFactor(), -0.05)); return true;
    case 'Y': v.SetNear(StepUp(v.GetNear(), 10, 100)); return true;
    case 'y': v.SetNear(StepDown(v.GetNear(), 10, 100)); return true;
    case 'X': v.SetFar(StepUp(v.GetFar(), 100, 1000)); return true;
    case 'x': v.SetFar(StepDown(v.GetFar(), 100, 1000)); return true;
    case 'J':
    case 'U':
    case 'j':
    case 'u': v.SetFar(v.GetFar() + (key == 'J' ? 10 : key == 'U' ? -10 : key == 'j' ? 1 : -1)); return true;
    case 'I':
    case 'K':
    case 'i':
    case 'k':
        v.AddFocal(static_cast<int16_t>(key == 'I' ? -20 : key == 'K' ? 20 : key == 'i' ? -5 : 5));
        return true;
    default: return false;
    }
}

bool C3DScene::HandleColourKey(int32_t key)
{
    switch (key) {
    case '[': --ground_; return true;
    case ']': ++ground_; return true;
    case '{': --sky_; return true;
    case '}': ++sky_; return true;
    case '\'': ground_ = SettingsGround(); return true;
    default: return false;
    }
}

uint8_t C3DScene::SettingsGround() const
{
    const int32_t colour = props_ ? props_->GetGroundColour() : -1;
    return colour == -1 ? kDefaultGround : static_cast<uint8_t>(colour);
}

void C3DScene::ReloadSettings()
{
    panorama_.reset();
    panoramaTiled_ = false;
    if (!props_)
        return;
    props_->Reset();
    props_->Load();
    ground_ = SettingsGround();
    usePanorama_ = props_->GetPanoramaImageId() != 0;
}
