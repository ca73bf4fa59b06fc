#include "game/shell/QM3Appl.h"

#include "engine/controls/BorderWnd.h"
#include "engine/controls/InputState.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TopWnd.h"
#include "engine/controls/text/PopContent.h"
#include "engine/controls/text/PopWind.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Options.h"
#include "engine/framework/Printer.h"
#include "engine/framework/RegSettings.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/media/SndMgr.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/Registrar.h"
#include "engine/resources/RsrcCache.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/DriveLibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/LibraryDiscovery.h"
#include "game/base/MainWnd.h"
#include "game/base/SoundSlots.h"
#include "game/shell/DiscSwitch.h"
#include "game/shell/FileCommands.h"
#include "game/shell/GameSaveHost.h"
#include "game/shell/ModuleFactory.h"
#include "game/shell/TemplateTypes.h"

namespace {

constexpr int32_t kBorderColor = -32000;
constexpr float kCacheReserve = 4608000.0f;
constexpr int32_t kMsgCloseActive = 201;
constexpr uint32_t kPopupColor = 245;

CQM3Appl* g_appl = nullptr;

} // namespace

CQM3Appl* GetGameAppl() { return g_appl; }

int32_t CQM3Appl::ImageCacheSize(int32_t freeMemory)
{
    // No free memory at all would divide by zero; a machine that short keeps nothing cached.
    const float m = static_cast<float>(freeMemory < 1 ? 1 : freeMemory);
    const float size = (m - kCacheReserve) * (kCacheReserve / m);
    return size < 1.0f ? 0 : static_cast<int32_t>(size);
}

CQM3Appl::CQM3Appl(const ApplRequirements* requirements) : CAppl(requirements)
{
    g_appl = this;
    InstallGameSaveHost(true);
    SetDiscSwitch(&SwitchAppDisc);
    InstallGameModules();
    StoreId(kId);
    // The game's manager finds discs on the drives.
    if (GetLibMgr())
        SetLibMgr(std::make_unique<CDriveLibMgr>());
    ResetGameGlobals();
    DeleteAllSounds();
    registrar_ = std::make_unique<CRegistrar>();
    RegisterTemplateTypes();
    Game().settings = new CRegSettings("Quillmark III", "QMK3");
    SetOptionSettings(Game().settings);
    if (FindDataLibraries() != 0) {
        SetQuitRequested(true);
        registrar_.reset();
        SetOptionSettings(nullptr);
        delete Game().settings;
        Game().settings = nullptr;
        return;
    }
    Init(kPaletteId);
    for (int32_t id : kDefinitionRecords)
        CRawParser::ParseResource("VAL", id, CLibMgr::kAllLibraries);
    if (std::unique_ptr<CTplRec> discNames = CreateTplRec(kDiscNamesList, CLibMgr::kAllLibraries, false)) {
        discFolder_ = discNames->GetEntryString(0);
        if (CDriveLibMgr* manager = GetDriveLibMgr())
            manager->SetDiscNames(std::move(discNames));
    }
    stringList_ = CreateTplRec(kStringList, CLibMgr::kAllLibraries, false);
    const std::unique_ptr<CStr> title = GetString(0);
    CreateBorderWnd(title ? title->GetText() : "", kBorderColor);
    SetUseMenuBar(false);
    Game().printer = new CPrinter();
    Game().imageCache = new CRsrcCache(ImageCacheSize(GetFreeMemory()));
    SetupPopup();
    Game().msgFilter = new CMsgFilter();
    RegisterLiveObject(this);
}

void CQM3Appl::SetupPopup()
{
    auto* popup = new CPopWind(nullptr, nullptr, nullptr, -1);
    if (auto* text = dynamic_cast<CTextFrame*>(popup->GetFirstFrame())) {
        text->SetHJust(1);
        text->SetVJust(1);
        text->SetTransparent(false);
        text->SetTextColor(kPopupColor);
        text->SetForeColor(kPopupColor);
    }
    Game().popup = popup;
    SetPopupHelp(true);
}

CQM3Appl::~CQM3Appl()
{
    discFolder_.reset();
    if (CMsgFilter* filter = Game().msgFilter) {
        filter->Reset();
        Game().msgFilter = nullptr;
        delete filter;
    }
    SendMsg(*this, kMsgCloseActive, 0, 0, this);
    RegisterLiveObject(this);
    DeleteAllSounds();
    CSndMgr::ReleaseDevice();
    stringList_.reset();
    delete Game().imageCache;
    Game().imageCache = nullptr;
    SetOptionSettings(nullptr);
    delete Game().settings;
    Game().settings = nullptr;
    registrar_.reset();
    CloseDocument();
    delete Game().printer;
    Game().printer = nullptr;
    delete Game().popup;
    Game().popup = nullptr;
    // The game window and the top window went with command 201; what is left of them goes now.
    delete Game().topWnd;
    Game().topWnd = nullptr;
    Game().mainWnd = nullptr;
    InstallGameSaveHost(false);
    SetDiscSwitch(nullptr);
    if (g_appl == this)
        g_appl = nullptr;
}

void CQM3Appl::Run()
{
    if (IsQuitRequested())
        return;
    SendMsg(*this, 2, 0, 0, this);
    CSndMgr::CreateDevice();
    SendCommandLineFiles();
    CAppl::Run();
}

std::unique_ptr<CStr> CQM3Appl::GetString(int32_t n) const
{
    return stringList_ ? stringList_->GetEntryString(n) : nullptr;
}
