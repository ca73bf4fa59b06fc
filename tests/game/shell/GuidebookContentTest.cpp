// The guidebook's content record: the header, sections, pages and pictures read in order, and
// the number of contents screens a section gets.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RsrcBlock.h"
#include "game/shell/GuidebookContent.h"
#include "tests/support/FatalReports.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

GbkContent Read(std::string_view text)
{
    CRsrcBlock block("GBK", 1, static_cast<int32_t>(text.size()));
    if (!text.empty())
        block.PutBytes(text.data(), static_cast<int32_t>(text.size()), 0);
    return ReadGuidebookContent(&block, 0xFFFFFFFFu);
}

// A section's fields before its pages: id 7, type 0, tab at (20, 610) with image 8107, icon
// at (40, 50), list1 at (60, 70) with list1 rows, list2 at (80, 90) with list2 rows, rows 16
// high and 200 wide in font 5, colours 0x10000001 and 0x10000002, contents 8207, icon 8307.
std::string SectionHead(int list1, int list2)
{
    return "7, 0, 20, 610, 8107, 40, 50, 60, 70, " + std::to_string(list1) + ", 80, 90, " +
           std::to_string(list2) + ", 16, 200, 5, 0x10000001, 0x10000002, 8207, 8307,\n";
}

std::string Pages(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::to_string(8400 + i) + ", 0, 0, 0, 9000, -1,\n";
    return text + "-1,\n";
}

const char kHeader[] = "// guidebook\n8000, 8001, 8002, 8003, 8004,\n";

TEST(GuidebookContent, ReadsEveryFieldInOrder)
{
    const GbkContent c = Read(std::string(kHeader) + "#define VOICE 7001\n" + SectionHead(6, 5) +
                              "8400, 6001, 6002, VOICE, 9001, 9002, -1,\n"
                              "8401, 0, 0, 0, -1,\n"
                              "-1,\n"
                              "9, 1, 1, 2, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17,\n"
                              "-1,\n"
                              "-1\n");
    EXPECT_EQ(c.backgroundImageId, 8000);
    EXPECT_EQ(c.masterStrListId, 8001);
    EXPECT_EQ(c.screenTemplateId, 8002);
    EXPECT_EQ(c.buttonSoundId, 8003);
    EXPECT_EQ(c.moreStrListId, 8004);
    ASSERT_EQ(c.sections.size(), 2u);
    const GbkSection& s = c.sections[0];
    EXPECT_EQ(s.id, 7);
    EXPECT_EQ(s.type, GbkSection::kContents);
    EXPECT_EQ(s.tabV, 20);
    EXPECT_EQ(s.tabH, 610);
    EXPECT_EQ(s.tabImageId, 8107);
    EXPECT_EQ(s.iconV, 40);
    EXPECT_EQ(s.iconH, 50);
    EXPECT_EQ(s.list1Top, 60);
    EXPECT_EQ(s.list1Left, 70);
    EXPECT_EQ(s.list1Items, 6);
    EXPECT_EQ(s.list2Top, 80);
    EXPECT_EQ(s.list2Left, 90);
    EXPECT_EQ(s.list2Items, 5);
    EXPECT_EQ(s.listHeight, 16);
    EXPECT_EQ(s.listWidth, 200);
    EXPECT_EQ(s.listFont, 5);
    EXPECT_EQ(s.normColor, 0x10000001);
    EXPECT_EQ(s.hiliteColor, 0x10000002);
    EXPECT_EQ(s.contentsStrListId, 8207);
    EXPECT_EQ(s.iconPictId, 8307);
    ASSERT_EQ(s.PageCount(), 2);
    EXPECT_EQ(s.contentsScreens, 1);
    const GbkPage& p = s.pages[0];
    EXPECT_EQ(p.strListId, 8400);
    EXPECT_EQ(p.movieId, 6001);
    EXPECT_EQ(p.soundId, 6002);
    EXPECT_EQ(p.voiceId, 7001);
    EXPECT_EQ(p.pictIds, (std::vector<int32_t>{9001, 9002}));
    // A page without pictures has none.
    EXPECT_TRUE(s.pages[1].pictIds.empty());
    // A section without pages has none and no contents screen.
    const GbkSection& diary = c.sections[1];
    EXPECT_EQ(diary.id, 9);
    EXPECT_EQ(diary.type, GbkSection::kDiary);
    EXPECT_EQ(diary.iconPictId, 17);
    EXPECT_TRUE(diary.pages.empty());
    EXPECT_EQ(diary.contentsScreens, 0);
}

TEST(GuidebookContent, ContentsScreensPerSection)
{
    struct Case {
        int pages, list1, list2, screens;
    };
    const Case cases[] = {
        {10, 6, 6, 1}, {10, 4, 4, 2}, {10, 0, 0, 0}, {12, 6, 6, 1},  {13, 6, 6, 2},
        {0, 6, 6, 0},  {3, 1, 0, 3},  {5, 3, -3, 0}, {5, -2, -1, 0},
    };
    for (const Case& k : cases) {
        const GbkContent c =
            Read(std::string(kHeader) + SectionHead(k.list1, k.list2) + Pages(k.pages) + "-1\n");
        ASSERT_EQ(c.sections.size(), 1u);
        EXPECT_EQ(c.sections[0].PageCount(), k.pages);
        EXPECT_EQ(c.sections[0].contentsScreens, k.screens)
            << k.pages << " pages, " << k.list1 << " + " << k.list2 << " items";
    }
}

TEST(GuidebookContent, TwelveSectionsAreAllRead)
{
    std::string text = kHeader;
    for (int i = 0; i < 12; ++i)
        text += SectionHead(2, 2) + Pages(i);
    const GbkContent c = Read(text + "-1\n");
    ASSERT_EQ(c.sections.size(), 12u);
    EXPECT_EQ(c.sections[11].PageCount(), 11);
    EXPECT_EQ(c.sections[11].contentsScreens, 3);
}

TEST(GuidebookContent, EmptyTextHasNoSections)
{
    for (const char* text : {"", "  \n", "// nothing here\n", "/* nor here */"}) {
        const GbkContent c = Read(text);
        EXPECT_TRUE(c.sections.empty()) << text;
        EXPECT_EQ(c.backgroundImageId, 0) << text;
    }
    EXPECT_TRUE(Read(std::string(kHeader) + "-1\n").sections.empty());
}

TEST(GuidebookContent, MalformedTextIsAFatalReport)
{
    // Each text lacks a closing -1 or holds a value its field cannot take.
    const std::string cases[] = {
        "8000, 8001",
        std::string(kHeader),
        std::string(kHeader) + SectionHead(6, 6),
        std::string(kHeader) + SectionHead(6, 6) + "8400, 0, 0, 0, 9000,\n",
        std::string(kHeader) + SectionHead(6, 6) + Pages(1),
        std::string(kHeader) + "40000, 0,\n",
        std::string(kHeader) + SectionHead(6, 6) + "8400, 0, zero, 0, -1, -1, -1\n",
    };
    for (const std::string& text : cases)
        EXPECT_NE(qmtest::FatalText([&] { Read(text); }), "(returned)") << text;
}

TEST(GuidebookContent, LoadsRecordOneFromTheLibraries)
{
    qmtest::UseTempDirAsDriveC();
    EXPECT_TRUE(LoadGuidebookContent().sections.empty()); // no record

    qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Guide.qmd");
    lib.Add("GBK", 1, std::string(kHeader) + SectionHead(4, 4) + Pages(10) + "-1\n");
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>(qmtest::EnginePath(lib.Folder()).c_str()));
    const GbkContent c = LoadGuidebookContent();
    EXPECT_EQ(c.screenTemplateId, 8002);
    ASSERT_EQ(c.sections.size(), 1u);
    EXPECT_EQ(c.sections[0].contentsScreens, 2);
}

} // namespace
