#include <gtest/gtest.h>

#include "engine/controls/native/StrListBox.h"
#include "tests/engine/controls/native/NativeKit.h"

namespace {

using namespace ntest;

class StrListBoxTest : public NativeTest {
protected:
    void SetUp() override
    {
        NativeTest::SetUp();
        InstallTestFont();
        deftext::AddFolderLibrary({{"STR", 1450, "\"AB\"\n\"BA\"\n\"AA\"\n"}});
    }
};

TEST_F(StrListBoxTest, RowsFollowTheFontAndEntriesDrawInset)
{
    // Kind 0x2d: frame values, control values, imgid, imglibmsk (no bar), strlistid,
    // strlibmsk, fontid, textcolor, frmcolor, backcolor.
    auto* list = Build<CStrListBox>(
        "0x2d, 71, 0, 0x9, 0,0,0,0, 10, 10, 80, 110, 1, 900, 95, 0, 0, 0, -1, 1450, -1, 5, 2, 1, 200\n", 71);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->GetItemHeight(), 9) << "ascent 6 + descent 2 + leading 0 + 1";
    EXPECT_EQ(list->GetItemCount(), 3);
    EXPECT_EQ(list->GetCurrentString()->GetText(), std::string("AB"));

    auto env = WhiteEnv(100, 20);
    EXPECT_FALSE(list->DrawItem(env.get(), 3, CRect(0, 0, 9, 100), false));
    EXPECT_TRUE(list->DrawItem(env.get(), 1, CRect(0, 0, 9, 100), false));
    EXPECT_TRUE(list->DrawItem(env.get(), 0, CRect(10, 0, 19, 100), true));
    int inkLeft = 100;
    for (int v = 0; v < 9; ++v)
        for (int h = 0; h < 100; ++h)
            if (env->GetBitmap()->GetPixel(h, v) == 2)
                inkLeft = std::min(inkLeft, h);
    EXPECT_EQ(inkLeft, CStrListBox::kMargin);
    EXPECT_EQ(env->GetBitmap()->GetPixel(50, 4), 200) << "an unselected row in the back colour";
    EXPECT_EQ(env->GetBitmap()->GetPixel(50, 14), 2) << "the selected row reversed";
}

TEST_F(StrListBoxTest, BackspaceWhileFocusedNotifiesMinusOneAndEight)
{
    auto* list = Build<CStrListBox>(
        "0x2d, 72, 0, 0x9, 0,0,0,0, 10, 10, 80, 110, 1, 900, 96, 0, 0, 0, -1, 1450, -1, 5, 2, 1, 200\n", 72);
    ASSERT_TRUE(list);
    ASSERT_TRUE(wnd->SetFocusControl(list));
    EXPECT_TRUE(list->WantsKey(8));
    target->notes.clear();
    Key(plat::key::Backspace);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].words[3], -1);
    EXPECT_EQ(target->notes[0].words[2], 8);

    list->SetList(nullptr);
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(list->GetCurrentString(), nullptr);
}

} // namespace
