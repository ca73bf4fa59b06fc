#include <gtest/gtest.h>

#include "platform/Fatal.h"
#include "platform/MessageBox.h"

namespace {

TEST(Fatal, TestHookThrowsTheExactText)
{
    try {
        plat::Fatal("CWind::Create: no window\r\rExiting application.");
        FAIL() << "Fatal returned";
    } catch (const plat::FatalError& e) {
        EXPECT_STREQ(e.what(), "CWind::Create: no window\r\rExiting application.");
    }
}

TEST(Fatal, DefaultShowsTheMessageAndExitsNonZero)
{
    plat::SetFatalHook({});
    // Nothing can show the box yet: the report goes to standard error.
    EXPECT_EXIT(plat::Fatal("gone"), ::testing::ExitedWithCode(EXIT_FAILURE), "Fatal Error: gone");
}

TEST(MessageBox, ScriptedAnswersThenDefaultButton)
{
    plat::ScriptedMessageBoxes& boxes = plat::GetScriptedMessageBoxes();
    boxes.QueueAnswer(plat::MbResult::No);
    plat::MessageBoxRequest req{"Save changes?", "QM3", plat::MbIcon::Question, plat::MbButtons::YesNoCancel, 2};
    EXPECT_EQ(plat::GetMessageBoxService().Show(req), plat::MbResult::No);
    EXPECT_EQ(plat::GetMessageBoxService().Show(req), plat::MbResult::Cancel);
    ASSERT_EQ(boxes.Log().size(), 2u);
    EXPECT_EQ(boxes.Log()[0].text, "Save changes?");
    EXPECT_EQ(boxes.Log()[0].caption, "QM3");
    EXPECT_EQ(boxes.Log()[0].icon, plat::MbIcon::Question);
}

}  // namespace
