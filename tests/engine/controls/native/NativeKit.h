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
#include "engine/graphics/FontList.h"
#include "platform/Font.h"
#include "tests/engine/controls/input/ControlsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace ntest {

using namespace ctest;

// The committed bitmap font (8-pixel cells: ascent 6, descent 2, no leading) as font 5.
constexpr int16_t kTestFont = 5;
inline void InstallTestFont()
{
    plat::AddFontFace("Quill Test",
                      {(qmtest::SourceDir() / "tests/platform/fixtures/QuillTest8.bdf").string()});
    const FontList list = {{kTestFont, 0, CStr("Quill Test"), 6}};
    ASSERT_EQ(CDrawEnv::InitFonts(&list), 0);
}

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
