// The launcher's application on a small tour of its own, in the folder libraries a modder
// would write: the first screen's layout, the screen switch, the tour sounds, the picks and
// the greyed add-on that comes alive once it is installed.
#include "launcher/TourApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TopWnd.h"
#include "engine/controls/text/EngineHooks.h"
#include "engine/framework/EngineProfile.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/resources/TextRsrc.h"
#include "launcher/LaunchItem.h"
#include "platform/Input.h"
#include "platform/MessageBox.h"
#include "platform/NamedLock.h"
#include "platform/Settings.h"
#include "platform/SoundFiles.h"
#include "platform/Window.h"
#include "tests/launcher/TourFolder.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/FrameStripFixtures.h"
#include "tests/support/LibraryFixtures.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFormat = "string string string string long long long long long long string string "
                                "list string long string long string byte byte endlist";
// Items from (40, 60), 40 pixels apart with 30-pixel cels.
constexpr const char* kHeader =
    R"("Menu" "Menu window" "WClass" "Menu border" 40 60 20 4 251 255 "Caption" "x" )";
constexpr const char* kItems = R"("Play" 0 "quillgame" 0 "PROGRAM would not start." 1 0
                                  "Add-on" 0 "*APPL[Trails][1.0] trails" 0 "Not installed." 0 0
                                  "About" 0 "*MENU 1002" 0 "" 0 0
                                  "Broken" 0 "*menu 2" 0 "" 1 0
                                  "Exit" 0 "" 0 "" 1 0)";

std::vector<uint8_t> Picture(int16_t width, int16_t height, uint8_t colour)
{
    return qmtest::MakeFrameStrip({qmtest::CodedFrame(
        width, height, std::vector<uint8_t>(static_cast<size_t>(width * height), colour))});
}

class TourApp : public TourFolder {
protected:
    void SetUp() override
    {
        TourFolder::SetUp();
        InstallEngineHooks();
        SetEngineProfile(LauncherProfile());
        // The data as a folder library: the fallback of TourLib.Mdt.
        qmtest::FolderLibraryWriter data(tour_ / "TourData" / "TourData.Mdt");
        // Mask 1: only the custom data answers mask 4.
        data.Add("LID", 1, "1, 1, 0, \"tour data\", \"VSP\"\n");
        fs::copy(qmtest::SourceDir() / "data" / "launcher" / "TourLib.Mdt" / "CLT", data.Folder() / "CLT");
        data.Add("CBM", 1000, Picture(64, 48, 30));
        std::vector<qmtest::FrameSpec> cels;
        for (uint8_t colour : {40, 41, 42})
            cels.push_back(qmtest::CodedFrame(30, 30, std::vector<uint8_t>(900, colour)));
        data.Add("CBM", 1001, qmtest::MakeFrameStrip(cels));
        qmtest::FolderLibraryWriter texts(tour_ / "TourData" / "TourData.Lng");
        texts.Add("LID", 1, "2, 1, 0, \"tour texts\", \"VSP\"\n");
        texts.Add("STR", 100, "\"\" \"\" \"\" \"\" \"\" \"\" \"\" \"\" \"PROGRAM\" \"\" \"Please visit\"\n");
        custom_ = std::make_unique<qmtest::FolderLibraryWriter>(tour_ / "TourData" / "Tourdata.Cus");
        custom_->Add("LID", 1, "4, 1, 0, \"tour custom data\", \"VSP\"\n");
        custom_->Add("BTN", 0, kFormat);
        const fs::path sounds = qmtest::SourceDir() / "data" / "launcher" / "Tourdata.Cus";
        for (const char* wav : {"Intro.wav", "Roll.wav", "Click.wav"})
            fs::copy_file(sounds / wav, tour_ / "TourData" / "Tourdata.Cus" / wav);
        Write("quillgame", "x", true);
    }
    void TearDown() override
    {
        app_.reset();
        box_.reset();
        TourFolder::TearDown();
    }

    void Start(const std::string& record)
    {
        custom_->Add("BTN", 1000, record);
        box_ = std::make_unique<CMsgBox>();
        app_ = std::make_unique<tour::CTourApp>();
        ASSERT_FALSE(app_->FoundAnother());
        ASSERT_NE(app_->GetMenuWindow(), nullptr);
    }

    std::vector<tour::CLaunchItem*> Items() const
    {
        std::vector<tour::CLaunchItem*> items;
        for (CFrame* child : ChildFrames(*app_->GetScreen()))
            if (auto* item = dynamic_cast<tour::CLaunchItem*>(child))
                items.push_back(item);
        return items;
    }
    template <class T> int Count() const
    {
        int n = 0;
        for (CFrame* child : ChildFrames(*app_->GetScreen()))
            n += dynamic_cast<T*>(child) != nullptr;
        return n;
    }
    plat::Point OnScreen(int32_t x, int32_t y) const
    {
        return plat::ClientToScreen(app_->GetMenuWindow()->GetHwnd(), plat::Point{x, y});
    }
    // Moves the pointer to the middle of item i's label and lets the hover poll see it.
    void Hover(size_t i)
    {
        const CRect& r = Items()[i]->GetDrawnRect();
        plat::InjectMouseMove(OnScreen(r.GetLeft() + 100, (r.GetTop() + r.GetBottom()) / 2));
        app_->PumpFor(4);
    }
    void Pick(size_t i)
    {
        const CRect& r = Items()[i]->GetDrawnRect();
        plat::Click(OnScreen(r.GetLeft() + 100, (r.GetTop() + r.GetBottom()) / 2));
        app_->PumpFor(2);
    }
    // The sound file log names paths with backslashes; keep the last part.
    static std::string Last(const std::string& path) { return path.substr(path.rfind('\\') + 1); }
    std::vector<std::string> SoundNames() const
    {
        std::vector<std::string> names;
        for (const plat::SoundFilePlay& play : plat::GetSoundFileLog())
            names.push_back(Last(play.path));
        return names;
    }
    std::vector<std::string> Boxes() const
    {
        std::vector<std::string> texts;
        for (const plat::MessageBoxRequest& box : plat::GetScriptedMessageBoxes().Log())
            texts.push_back(box.caption + "|" + box.text);
        return texts;
    }

    std::unique_ptr<qmtest::FolderLibraryWriter> custom_;
    std::unique_ptr<CMsgBox> box_;
    std::unique_ptr<tour::CTourApp> app_;
};

TEST_F(TourApp, TheFirstScreenPlacesItsItemsInRecordOrderUnderTheCaption)
{
    Start(std::string(kHeader) + kItems);
    EXPECT_EQ(plat::GetTitle(app_->GetMenuWindow()->GetHwnd()), "Menu");
    EXPECT_EQ(app_->GetScreen()->GetDrawnRect(), CRect(0, 0, 480, 640));
    const std::vector<tour::CLaunchItem*> items = Items();
    const char* labels[] = {"Play", "Add-on", "About", "Broken", "Exit"};
    ASSERT_EQ(items.size(), std::size(labels));
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i]->GetLabel(), labels[i]);
        EXPECT_EQ(items[i]->GetId(), static_cast<int32_t>(i));
        EXPECT_EQ(items[i]->GetTabOrder(), tour::CLaunchItem::kTabOrder);
        // 40 apart, as high as the 30-pixel cels: they overlap nothing.
        const int16_t top = static_cast<int16_t>(60 + 40 * i);
        EXPECT_EQ(items[i]->GetDrawnRect(), CRect(top, 40, static_cast<int16_t>(top + 30), 390));
    }
    EXPECT_EQ(Count<CTextFrame>(), 1);
    EXPECT_EQ(Count<CImageWnd>(), 1); // the picture
    // The record was consumed by the first screen.
    EXPECT_FALSE(app_->GetButtonRecord());
    EXPECT_EQ(SoundNames(), std::vector<std::string>{"Intro.wav"});
}

TEST_F(TourApp, ARecordWithoutItemsShowsThePictureAndTheCaption)
{
    Start(kHeader);
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(Count<CTextFrame>(), 1);
    EXPECT_EQ(Count<CImageWnd>(), 1);
}

TEST_F(TourApp, WithoutItemImagesItemsAreTwentyPixelsHigh)
{
    fs::remove(tour_ / "TourData" / "TourData.Mdt" / "CBM" / "001001.CBM");
    Start(std::string(kHeader) + kItems);
    EXPECT_EQ(Items()[1]->GetDrawnRect(), CRect(100, 40, 120, 390));
    EXPECT_EQ(Items()[1]->GetCel(), -1);
}

TEST_F(TourApp, ALaterScreenIsThePictureAloneAndAMissingOneABlankScreen)
{
    Start(std::string(kHeader) + kItems);
    Pick(2); // *MENU 1002: no such picture
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(Count<CTextFrame>(), 0);
    EXPECT_EQ(Count<CImageWnd>(), 0);
    EXPECT_EQ(app_->GetScreen()->GetDrawnRect(), CRect(0, 0, 480, 640));
    SendMessageRecord(*app_, tour::CTourApp::kMsgSwitchScreen, 0, 1000, 0, nullptr);
    app_->PumpFor(1);
    EXPECT_TRUE(Items().empty()); // the record is gone: the picture alone
    EXPECT_EQ(Count<CImageWnd>(), 1);
    EXPECT_FALSE(IsQuitRequested());
}

TEST_F(TourApp, EnteringAnItemRollsAndChoosingOneClicksBeforeItsCommandRuns)
{
    Start(std::string(kHeader) + kItems);
    tour::CLaunchItem* about = Items()[2];
    EXPECT_EQ(about->GetLabelColour(), 255u);
    Hover(2);
    EXPECT_TRUE(about->IsHovered());
    EXPECT_EQ(about->GetLabelColour(), 251u);
    EXPECT_EQ(about->GetCel(), tour::kCelNormal);
    Hover(3); // the next item: the sound again
    EXPECT_FALSE(about->IsHovered());
    EXPECT_EQ(SoundNames(), (std::vector<std::string>{"Intro.wav", "Roll.wav", "Roll.wav"}));
    Pick(0);
    EXPECT_EQ(SoundNames().back(), "Click.wav");
    ASSERT_EQ(plat::GetRecordedSpawns().size(), 1u);
    EXPECT_EQ(plat::GetRecordedSpawns()[0].program, tour_ / "quillgame");
    // The item ends the tour once its program started.
    EXPECT_TRUE(IsQuitRequested());
}

TEST_F(TourApp, TheCelShowsThePressUntilTheRelease)
{
    Start(std::string(kHeader) + kItems);
    tour::CLaunchItem* about = Items()[2];
    const CRect r = about->GetDrawnRect();
    const plat::Point at = OnScreen(r.GetLeft() + 100, r.GetTop() + 5);
    plat::InjectMouseButton(plat::MouseButton::Left, true, at);
    app_->PumpFor(1);
    EXPECT_EQ(about->GetCel(), tour::kCelPressed);
    EXPECT_EQ(about->GetLabelColour(), 251u);
    // Dragged off the item the press lets go; released there, nothing is picked.
    const plat::Point away = OnScreen(r.GetLeft() + 100, r.GetBottom() + 5);
    plat::InjectMouseMove(away);
    app_->PumpFor(1);
    EXPECT_EQ(about->GetCel(), tour::kCelNormal);
    plat::InjectMouseButton(plat::MouseButton::Left, false, away);
    app_->PumpFor(2);
    EXPECT_EQ(Items().size(), 5u); // still the first screen
    EXPECT_EQ(about->GetCel(), tour::kCelNormal);
}

TEST_F(TourApp, ABadItemSaysWhatIsWrongAndNeverEndsTheTour)
{
    Start(std::string(kHeader) + kItems);
    Pick(3);
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"|The menu item \"Broken\" has an unknown word after *; the words "
                                       "are APPL, HTTP and MENU."});
    EXPECT_FALSE(IsQuitRequested());
    Pick(4); // Exit: no command, the end flag
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_TRUE(plat::GetRecordedSpawns().empty());
}

TEST_F(TourApp, TheAddOnIsGreyedUntilItsProductIsInstalled)
{
    Start(std::string(kHeader) + kItems);
    tour::CLaunchItem* addOn = Items()[1];
    EXPECT_FALSE(addOn->IsEnabled());
    EXPECT_EQ(addOn->GetCel(), tour::kCelUnavailable);
    EXPECT_EQ(addOn->GetLabelColour(), tour::CLaunchItem::kUnavailableColour);
    Pick(1); // a greyed item takes no pick
    EXPECT_TRUE(plat::GetRecordedSpawns().empty());
    EXPECT_TRUE(Boxes().empty());

    std::unique_ptr<plat::SettingsKey> key;
    ASSERT_EQ(plat::CreateSettingsKey(plat::SettingsPart::Machine, "SOFTWARE\\KVL\\Trails", "", key),
              plat::SettingsStatus::Ok);
    app_->PumpFor(4);
    EXPECT_FALSE(addOn->IsEnabled()); // the subkey is still missing
    ASSERT_EQ(plat::CreateSettingsKey(plat::SettingsPart::Machine, "SOFTWARE\\KVL\\Trails\\1.0", "", key),
              plat::SettingsStatus::Ok);
    app_->PumpFor(4);
    EXPECT_TRUE(addOn->IsEnabled());
    EXPECT_EQ(addOn->GetCel(), tour::kCelNormal);
}

TEST_F(TourApp, WithoutAButtonRecordThePictureShowsAloneInAnUntitledWindow)
{
    box_ = std::make_unique<CMsgBox>();
    app_ = std::make_unique<tour::CTourApp>();
    ASSERT_FALSE(app_->FoundAnother());
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(Count<CTextFrame>(), 0);
    EXPECT_EQ(Count<CImageWnd>(), 1);
    EXPECT_EQ(plat::GetTitle(app_->GetMenuWindow()->GetHwnd()), "");
}

TEST_F(TourApp, AnotherLaunchersWindowEndsTheStartBeforeAnyWindowOrSound)
{
    for (const char* title : {"Menu window", "Menu border"}) {
        SCOPED_TRACE(title);
        plat::ResetSoundFiles();
        std::unique_ptr<plat::NamedLock> marker =
            plat::NamedLock::Create(std::string("window\\WCLASS\\") + title);
        ASSERT_TRUE(marker && marker->TryAcquire());
        custom_->Add("BTN", 1000, std::string(kHeader) + kItems);
        box_ = std::make_unique<CMsgBox>();
        app_ = std::make_unique<tour::CTourApp>();
        EXPECT_TRUE(app_->FoundAnother());
        EXPECT_EQ(app_->GetMenuWindow(), nullptr);
        EXPECT_TRUE(plat::GetTopLevelWindows().empty());
        EXPECT_TRUE(plat::GetSoundFileLog().empty());
        app_.reset();
        box_.reset();
    }
}

TEST_F(TourApp, TheSingleFileDataLibraryComesBeforeTheFolder)
{
    qmtest::WriteMegaLibrary(tour_ / "TourData" / "TourLib.Mdt",
                             {{"CBM", 1000, Picture(32, 24, 50)},
                              {"CLT", 1008,
                               qmtest::Bytes(qmtest::ReadWholeFile(qmtest::SourceDir() / "data" / "launcher" /
                                                                   "TourLib.Mdt" / "CLT" / "001008.CLT"))},
                              {"LID", 1, qmtest::Bytes("1, 1, 0, \"single\", \"VSP\"\n")}});
    Start(kHeader);
    CRect picture;
    for (CFrame* child : ChildFrames(*app_->GetScreen()))
        if (dynamic_cast<CImageWnd*>(child))
            picture = child->GetDrawnRect();
    EXPECT_EQ(picture, CRect(0, 0, 24, 32));
}

TEST_F(TourApp, OnNtAButtonRecordInAnyLibraryComesFirst)
{
    custom_->Add("BTN", 1000, std::string(kHeader));
    qmtest::FolderLibraryWriter data(tour_ / "TourData" / "TourData.Mdt");
    data.Add("BTN", 1000, R"("Other" "W" "C" "B" 0 0 20 4 1 2 "Cap" "x")");
    CAppl appl;
    tour::OpenTourLibraries();
    const auto title = [](std::unique_ptr<CTextRsrc> record) {
        const std::optional<tour::ButtonRecord> button =
            record ? tour::ReadButtonRecord(*record) : std::nullopt;
        return button ? button->title : std::string("none");
    };
    EXPECT_EQ(title(tour::LoadButtonRecord(1000, true)), "Other");
    EXPECT_EQ(title(tour::LoadButtonRecord(1000, false)), "Menu");
    EXPECT_EQ(title(tour::LoadButtonRecord(1001, true)), "none");
}

} // namespace
