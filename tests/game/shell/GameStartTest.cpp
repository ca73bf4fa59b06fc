#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/framework/FileSpecs.h"
#include "engine/framework/Options.h"
#include "engine/framework/RegSettings.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/LibraryHooks.h"
#include "engine/resources/Registrar.h"
#include "game/base/DriveLibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/IdStack.h"
#include "game/base/LibraryDiscovery.h"
#include "game/shell/QM3Appl.h"
#include "game/shell/TemplateTypes.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "tests/support/FatalReports.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

const std::vector<plat::MessageBoxRequest>& Boxes() { return plat::GetScriptedMessageBoxes().Log(); }

// A folder library with its identity: the disc flags word and the product text.
void WriteLibrary(const fs::path& folder, uint32_t discFlags = 0, const char* product = "QM3")
{
    qmtest::FolderLibraryWriter lib(folder);
    lib.Add("LID", 1,
            "0xFFFFFFFF, 1, " + std::to_string(discFlags) + ", \"sample\", \"" + std::string(product) +
                "\"\n");
}

TEST(GameStart, ImageCacheSizeFollowsTheFreeMemory)
{
    struct Case {
        int32_t free;
        int32_t size;
    };
    // A machine with no memory to spare keeps nothing cached (and no division by zero).
    for (const Case& c : {Case{9216000, 2304000}, Case{18432000, 3456000}, Case{4608000, 0}, Case{4000000, 0},
                          Case{1, 0}, Case{0, 0}, Case{-3, 0}})
        EXPECT_EQ(CQM3Appl::ImageCacheSize(c.free), c.size) << c.free;
}

TEST(GameStart, TheIdStackRefusesAPushWhenFull)
{
    CIdStack stack(2);
    EXPECT_EQ(stack.Peek(), -1);
    EXPECT_EQ(stack.Pop(), -1);
    EXPECT_TRUE(stack.Push(10));
    EXPECT_TRUE(stack.Push(3));
    EXPECT_FALSE(stack.Push(7));
    EXPECT_TRUE(stack.Contains(10));
    EXPECT_FALSE(stack.Contains(7));
    EXPECT_EQ(stack.Pop(), 3);
    EXPECT_EQ(stack.GetBuffer()[1], -1);
    EXPECT_EQ(stack.Peek(), 10);
}

TEST(GameStart, OptionsReadTheirDefaultsAndOnlyFalseIsOff)
{
    CRegSettings settings("Quillmark III", "QMK3");
    SetOptionSettings(&settings);
    EXPECT_TRUE(GetOption("musicon"));
    EXPECT_TRUE(GetOption("screenborder"));
    EXPECT_FALSE(GetOption("closecap"));
    SetOption("musicon", false);
    EXPECT_FALSE(GetOption("musicon"));
    SetOption("closecap", true);
    EXPECT_TRUE(GetOption("closecap"));
    settings.WriteString("false", 6, "options", "soundon");
    EXPECT_TRUE(GetOption("soundon"));
    SetOptionSettings(nullptr);
}

class Libraries : public ::testing::Test {
protected:
    void SetUp() override
    {
        qmtest::UseTempDirAsDriveC();
        SetLibMgr(std::make_unique<CDriveLibMgr>());
    }
    CDriveLibMgr& Manager() { return *GetDriveLibMgr(); }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (CLibNode* n = Manager().GetFirstNode(); n; n = n->next)
            names.push_back(n->library->GetName().GetText());
        return names;
    }
};

TEST_F(Libraries, OnlyGameLibrariesOfTheDiscAreAccepted)
{
    const fs::path root = qmtest::TempDir();
    WriteLibrary(root / "Game.QMD");
    WriteLibrary(root / "other.qmd", 0, "qm3");       // the product text is case-sensitive
    WriteLibrary(root / "nothing.qmd.d", 0, "OTHER"); // another product
    qmtest::WriteFile(root / "save.qmd.bak", "not a library at all");
    WriteLibrary(root / "Texts.lng");
    WriteLibrary(root / "readme.txt"); // not named as a library
    const CFileSpec folder(qmtest::EnginePath(root).c_str());
    EXPECT_EQ(ScanForLibraries(Manager(), folder, "*.qmd*", ".qmd", 0), 1);
    EXPECT_EQ(ScanForLibraries(Manager(), folder, "*.lng", ".lng", 0), 1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Game.QMD", "Texts.lng"}));
    EXPECT_EQ(Manager().GetFirstLibrary()->GetMask() & CDriveLibMgr::kDiscMaskBit, 0u);

    // Discs 1-3 want their flag bit; disc 4 any game library. Disc libraries get the mask bit.
    struct Case {
        uint32_t flags;
        int32_t disc;
        bool accepted;
    };
    for (const Case& c : {Case{0x10000000, 1, true}, Case{0x01000000, 1, false}, Case{0x01000000, 2, true},
                          Case{0x00100000, 3, true}, Case{0x10000000, 3, false}, Case{0, 4, true}}) {
        const fs::path disc = root / ("disc" + std::to_string(c.flags) + "-" + std::to_string(c.disc));
        WriteLibrary(disc / "d.qmd", c.flags);
        const int16_t before = Manager().GetCount();
        EXPECT_EQ(OpenLibrary(Manager(), CFileSpec(qmtest::EnginePath(disc).c_str()), "d.qmd", c.disc, true),
                  c.accepted)
            << c.flags << " on disc " << c.disc;
        if (c.accepted) {
            EXPECT_NE(Manager().GetLastLibrary()->GetMask() & CDriveLibMgr::kDiscMaskBit, 0u);
            Manager().RemoveLibrariesWithMask(CDriveLibMgr::kDiscMaskBit);
        }
        EXPECT_EQ(Manager().GetCount(), before);
    }
}

TEST_F(Libraries, TheDataPathAddsLibrariesAndEitherKindMissingIsReported)
{
    CRegSettings settings("Quillmark III", "QMK3");
    Game().settings = &settings;
    EXPECT_EQ(FindDataLibraries(), 1);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Cannot find the data file.");
    EXPECT_EQ(Boxes()[0].caption, "Data File Error");

    // The "datapath" folder alone is enough, once it holds both kinds.
    const fs::path data = qmtest::TempDir() / "elsewhere";
    WriteLibrary(data / "Game.qmd");
    const std::string path = qmtest::EnginePath(data);
    settings.WriteString(path.c_str(), static_cast<int32_t>(path.size() + 1), "paths", "datapath");
    EXPECT_EQ(FindDataLibraries(), 1);
    EXPECT_EQ(Boxes().back().text, "Cannot find the language file.");
    WriteLibrary(data / "Game.lng");
    EXPECT_EQ(FindDataLibraries(), 0);
    Game().settings = nullptr;
}

TEST_F(Libraries, DiscsAreFoundOnFixedAndCdRomDrivesNeverOnRemovableOnes)
{
    const fs::path root = qmtest::TempDir();
    for (const char* d : {"fixed", "floppy", "cd"})
        fs::create_directories(root / d);
    qmtest::WriteFile(root / "floppy" / "DISC1.MRK", "1");
    qmtest::WriteFile(root / "cd" / "disc1.mrk", "1");
    qmtest::WriteFile(root / "fixed" / "DISC2.MRK", "2");
    plat::SetDrives({{'C', root / "fixed", plat::DriveKind::Fixed},
                     {'A', root / "floppy", plat::DriveKind::Removable},
                     {'E', root / "cd", plat::DriveKind::CdRom}});
    auto names = std::make_unique<CTplRec>();
    for (const char* n : {"QM3DISC", "DISC1.MRK", "DISC2.MRK", ""})
        names->Add(std::make_unique<CStr>(n));
    Manager().SetDiscNames(std::move(names));

    std::unique_ptr<CFileSpec> one = Manager().FindDisc(1);
    ASSERT_TRUE(one);
    EXPECT_STREQ(one->GetPath(), "E:\\");
    EXPECT_TRUE(Manager().FoundOnRemovable());
    EXPECT_EQ(Manager().GetFoundDisc(), 1);
    std::unique_ptr<CFileSpec> two = Manager().FindDisc(2);
    ASSERT_TRUE(two);
    EXPECT_STREQ(two->GetPath(), "C:\\");
    EXPECT_FALSE(Manager().FoundOnRemovable());
    EXPECT_FALSE(Manager().FindDisc(3)); // an empty name
    EXPECT_FALSE(Manager().FindDisc(4)); // past the list
    EXPECT_FALSE(Manager().FindDisc(-1));
}

TEST(GameStart, TheGameRegistersItsSixtyFourKindsAlone)
{
    CRegistrar registrar;
    RegisterTemplateTypes();
    EXPECT_EQ(CRegistrar::GetCount(), 64);
    for (int32_t kind : {0, 3, 0x2e, 0x2f, 0x38, 0x39, 0x3d, 0x47})
        EXPECT_EQ(CRegistrar::FindKind(kind), -1) << kind;
    int32_t count = 0;
    const int32_t* kinds = GameTemplateKinds(count);
    for (int32_t i = 0; i < count; ++i)
        EXPECT_GE(CRegistrar::FindKind(kinds[i]), 0) << kinds[i];
    // A kind the game cannot make yet ends the program naming it.
    const std::string report = qmtest::FatalBoxText([] { CRegistrar::ReadTemplate(0x3a, nullptr); });
    EXPECT_NE(report.find("Template kind 0x3a (CLmSceneFrm) is not available"), std::string::npos) << report;
}

TEST(GameStart, NoKindListedAsMissingIsOneTheEngineMakes)
{
    CRegistrar registrar;
    RegisterAllTemplateKinds();
    ASSERT_GT(CRegistrar::GetCount(), 0);
    for (int32_t kind : MissingTemplateKinds())
        EXPECT_EQ(CRegistrar::FindKind(kind), -1) << "the engine makes kind " << kind;
}

TEST(GameStart, AStartWithoutLibrariesEndsWithoutAWindow)
{
    qmtest::UseTempDirAsDriveC();
    plat::SetDrives({{'C', qmtest::TempDir(), plat::DriveKind::Fixed}});
    InstallLibraryHooks();
    {
        CQM3Appl appl;
        EXPECT_TRUE(IsQuitRequested());
        EXPECT_EQ(GetGameSettings(), nullptr);
        appl.Run(); // returns at once
        EXPECT_EQ(GetMainWnd(), nullptr);
    }
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Cannot find the data file.");
}

} // namespace
