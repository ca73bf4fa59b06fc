#pragma once
// Fixtures for the widget-control tests: the controls fixture's shown, active window with a
// target, and screens built from template text with every kind registered.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/controls/RsrcTplList.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "tests/engine/controls/input/ControlsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace ntest {

using namespace ctest;

// The test font that ctest::InstallTestFont installs.
constexpr int16_t kTestFont = 5;

class NativeTest : public ControlsTest {
protected:
    // The widget's screen point at (x, y) of the window's client area.
    void ClickAt(int x, int y)
    {
        plat::Click(At(x, y));
        wtest::PumpAll();
    }

    // Builds the templates under the root (one "TPL" line each, see data/engine/TPL) and
    // answers the control of that id in the window.
    template <class T> T* Build(const std::string& text, int32_t id)
    {
        deftext::InstallEngineStrings();
        RegisterAllTemplateKinds();
        lists_.push_back(std::make_unique<CRsrcTplList>(deftext::MakeBlock(text, "TPL", 70)));
        lists_.back()->Build(root, nullptr, 0);
        return dynamic_cast<T*>(wnd->FindControlById(id));
    }
    // The same for an element that is no control: the frame of that id under the root.
    template <class T> T* BuildFrame(const std::string& text, int32_t id)
    {
        Build<CFrame>(text, id);
        return dynamic_cast<T*>(root->FindObject(static_cast<uint32_t>(-1), id));
    }

private:
    std::vector<std::unique_ptr<CRsrcTplList>> lists_;
};

} // namespace ntest
