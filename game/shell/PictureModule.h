#pragma once
// CPictureModule (module type 5) and CBackdropModule (type 11): screens that show nothing but
// one full-screen picture, "CBM" 72000, as their animated frame's background. The busy cursor
// shows from the module's construction until the picture is first shown, and around each
// suspend and resume; a suspended module lets go of its picture and shows it again when
// resumed. Without the picture the screen stays empty.
#include <cstdint>
#include <memory>

#include "game/base/Module.h"

class CBusyCursor;

class CPictureModule : public CAnimModule {
public:
    static constexpr int32_t kPicture = 72000;
    // The update pass runs every 4 ticks.
    static constexpr uint32_t kPeriod = 4;

    explicit CPictureModule(const CRect& rect);
    ~CPictureModule() override;

    void Start() override;
    void Suspend() override;
    void Resume() override;
    // The timer's step: an update pass once started.
    void Step() override;

    bool IsStarted() const { return started_; }
    bool ShowsBusyCursor() const { return busy_ != nullptr; }

private:
    void ShowPicture();

    std::unique_ptr<CBusyCursor> busy_;
    bool started_ = false;
};

class CBackdropModule : public CPictureModule {
public:
    using CPictureModule::CPictureModule;
};
