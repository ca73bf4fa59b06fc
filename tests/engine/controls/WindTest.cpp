#include <gtest/gtest.h>

#include "engine/controls/BorderWnd.h"
#include "engine/controls/TFrame.h"
#include "engine/controls/TWind.h"
#include "engine/framework/Printer.h"
#include "engine/framework/Str.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/Registrar.h"
#include "platform/Desktop.h"
#include "platform/Metrics.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using namespace wtest;
namespace style = plat::style;
namespace exstyle = plat::exstyle;

// A window that logs the application's pause and resume passes.
class LoggingWind : public CWind {
public:
    LoggingWind(Log& log, std::string name, int32_t type, CFrame* root, uint32_t flags = 0)
        : CWind(type, root, nullptr, flags), log_(log), name_(std::move(name))
    {
    }
    void Restore() override { log_.push_back(name_ + ":restore"); }
    void OnAppPause() override { log_.push_back(name_ + ":pause"); }

private:
    Log& log_;
    std::string name_;
};

template <class W = CWind> W* Show(W* w, CWind* parent = nullptr)
{
    uint32_t exStyle = 0;
    const uint32_t s = w->GetStyle(exStyle);
    w->Create(w->GetType(), nullptr, s, exStyle, parent);
    w->ShowWnd();
    return w;
}

std::vector<CWind*> Windows(const CWindList* list)
{
    std::vector<CWind*> out;
    for (CWind* w = list ? list->GetHead() : nullptr; w; w = list->NextAfter(w))
        out.push_back(w);
    return out;
}

TEST(WindStyle, StyleRowsByTypeAndFlags)
{
    const uint32_t captionMenu = style::Caption | style::SysMenu;
    const uint32_t popupCaption = style::Popup | captionMenu;
    struct Row {
        int32_t type;
        uint32_t flags;
        uint32_t style;
        uint32_t exStyle;
    };
    const Row rows[] = {
        {1, 0x10, style::Popup | style::Border, 0},
        {1, 0x18, style::Popup | style::Border, 0}, // a thin border wins over a bare popup
        {1, 0x08, style::Popup, 0},
        {1, 0x06, captionMenu | style::ThickFrame | style::MaximizeBox | style::MinimizeBox, 0},
        {1, 0x04, captionMenu | style::ThickFrame | style::MaximizeBox, 0},
        {1, 0x02, captionMenu | style::MinimizeBox, 0},
        {1, 0x00, captionMenu, 0},
        {2, 0x10, style::Popup | style::Border, exstyle::DialogModalFrame | exstyle::TopMost},
        {2, 0x08, style::Popup, exstyle::DialogModalFrame | exstyle::TopMost},
        {2, 0x00, popupCaption, exstyle::DialogModalFrame | exstyle::TopMost},
        {3, 0x10, popupCaption, 0x77}, // the caller's extended style is kept
        {4, 0x10, style::Popup | style::Border, exstyle::TopMost | exstyle::ToolWindow},
        {4, 0x00, style::Popup | style::Caption, exstyle::TopMost | exstyle::ToolWindow},
        {4, 0x01, popupCaption, exstyle::TopMost | exstyle::ToolWindow},
        {5, 0x10, 0, 0x77}, // other types bring their own style
    };
    for (const Row& r : rows) {
        uint32_t exStyle = 0x77;
        EXPECT_EQ(CWind::StyleFor(r.type, r.flags, exStyle), r.style) << r.type << "/" << r.flags;
        EXPECT_EQ(exStyle, r.exStyle) << r.type << "/" << r.flags;
    }
}

class WindTest : public WindowsTest {};

TEST_F(WindTest, WindowsJoinListAOrBAndAnEmptyListGoesAway)
{
    CWind* top = Show(new CWind(CWind::kTypeTopLevel, Root(100, 50, log), nullptr, 0));
    CWind* tool = Show(new CWind(CWind::kTypeTool, Root(50, 20, log), nullptr, 0));
    CWind* made = new CWind(CWind::kTypeTemplate, nullptr, nullptr, 0);
    EXPECT_EQ(Windows(CWind::GetListA()), (std::vector<CWind*>{top, made}));
    EXPECT_EQ(Windows(CWind::GetListB()), std::vector<CWind*>{tool});
    EXPECT_EQ(CWind::GetTopWnd(), top);
    EXPECT_EQ(CWind::GetWindowCount(), 3);
    EXPECT_EQ(CWind::GetWindowAt(0), tool); // list B counts first
    EXPECT_EQ(CWind::GetWindowAt(1), top);
    EXPECT_EQ(CWind::FromHandle(top->GetHwnd()), top);
    EXPECT_EQ(top->GetNumber() + 1, tool->GetNumber());
    EXPECT_EQ(Str(made->GetFrameRect()), "0,0,0,0");

    delete tool;
    EXPECT_EQ(CWind::GetListB(), nullptr);
    CWind* dialog = new CWind(CWind::kTypeModalDialog, nullptr, nullptr, 0);
    EXPECT_EQ(Windows(CWind::GetListB()), std::vector<CWind*>{dialog});
    // Id 0 finds a type-1 window in list B before any window of list A.
    dialog->Create(CWind::kTypeTopLevel, nullptr, 0, 0, nullptr);
    made->StoreId(0);
    EXPECT_EQ(CWind::FindWnd(0), dialog);
    delete dialog;
    EXPECT_EQ(CWind::FindWnd(0), made);
    const plat::WindowHandle gone = top->GetHwnd();
    delete top;
    EXPECT_EQ(CWind::GetTopWnd(), nullptr);
    EXPECT_FALSE(plat::IsWindow(gone));
    EXPECT_EQ(CWind::FromHandle(gone), nullptr);
    delete made;
    EXPECT_EQ(CWind::GetListA(), nullptr);
}

TEST_F(WindTest, AWindowTemplateMakesAPlacedTypeZeroWindow)
{
    deftext::Text text("5, 0, 100, 200, 0x41");
    std::unique_ptr<CTWind> tpl(static_cast<CTWind*>(CTWind::Read(CTWind::kKind, &text.parser)));
    EXPECT_TRUE(tpl->IsWindowTemplate());
    EXPECT_TRUE(tpl->IsFrameTemplate());
    std::unique_ptr<CWind> w(static_cast<CWind*>(CWind::CreateFromTemplate(tpl.get())));
    tpl.reset(); // the window keeps its own copy of the position
    EXPECT_EQ(w->GetType(), CWind::kTypeTemplate);
    EXPECT_EQ(w->GetId(), 5);
    EXPECT_EQ(w->GetWndFlags(), 0x41u);
    EXPECT_EQ(Windows(CWind::GetListA()), std::vector<CWind*>{w.get()});
    w->SetFrame(Root(120, 80, log));
    w->Create(CWind::kTypeTemplate, nullptr, style::Popup, 0, nullptr);
    EXPECT_EQ(plat::GetClientRect(w->GetHwnd()), plat::Rect::FromSize(0, 0, 120, 80));
    // A popup has no non-client area, so its client corner lies at (X, Y).
    EXPECT_EQ(plat::ClientToScreen(w->GetHwnd(), {0, 0}), (plat::Point{200, 100}));

    deftext::Text none("6, 0, -1, -1, 0");
    std::unique_ptr<CTWind> unplaced(static_cast<CTWind*>(CTWind::Read(CTWind::kKind, &none.parser)));
    EXPECT_FALSE(unplaced->GetPosition().has_value());
}

TEST_F(WindTest, CreateCentresOnTheScreenAndADialogOnItsParent)
{
    CWind* top = Show(new CWind(CWind::kTypeTopLevel, Root(640, 480, log), nullptr, 0));
    const plat::Rect outer = plat::GetWindowRect(top->GetHwnd());
    const plat::Metrics m = plat::GetMetrics();
    EXPECT_EQ(outer.left, m.screenWidth / 2 - outer.Width() / 2);
    EXPECT_EQ(outer.top, m.screenHeight / 2 - outer.Height() / 2);

    CWind* dialog = Show(new CWind(CWind::kTypeDialog, Root(200, 100, log), nullptr, 0), top);
    const plat::Point topClient = plat::ClientToScreen(top->GetHwnd(), {0, 0});
    const plat::Point dialogClient = plat::ClientToScreen(dialog->GetHwnd(), {0, 0});
    EXPECT_EQ(dialogClient.x, topClient.x + 320 - 100);
    EXPECT_EQ(dialogClient.y, topClient.y + 240 - 50);

    top->MoveResize(300, 200);
    EXPECT_EQ(plat::GetClientRect(top->GetHwnd()), plat::Rect::FromSize(0, 0, 300, 200));
    EXPECT_EQ(Str(top->GetFirstFrame()->GetDrawnRect()), "0,0,200,300");
    delete dialog;
    delete top;
}

TEST_F(WindTest, ActivationOrderAndAPushedLayerKeepsItsWindowActive)
{
    auto* main = Show(new LoggingWind(log, "main", CWind::kTypeTopLevel, Root(300, 200, log)));
    auto* tool = Show(new LoggingWind(log, "tool", CWind::kTypeTool, Root(100, 50, log)));
    plat::MoveWindowTo(tool->GetHwnd(), 0, 0);
    main->Activate();
    tool->Activate();
    EXPECT_EQ(CWind::GetActiveWnd(), tool);
    EXPECT_FALSE(main->IsActive());
    EXPECT_EQ(Windows(CWind::GetActivationList()), (std::vector<CWind*>{tool, main}));

    // A click on main activates it through the window procedure.
    plat::Click(ScreenOf(*main, 150, 100));
    PumpAll();
    EXPECT_EQ(CWind::GetActiveWnd(), main);

    // While main shows a pushed layer, a click on the tool window leaves main active.
    auto* layer = new LogFrame(log, "layer", {0, 0, 20, 20});
    main->PushFrame(layer, true);
    EXPECT_TRUE(main->HasChildren());
    EXPECT_EQ(Str(layer->GetDrawnRect()), "90,140,110,160");
    plat::Click(ScreenOf(*tool, 10, 10));
    PumpAll();
    EXPECT_EQ(CWind::GetActiveWnd(), main);
    EXPECT_EQ(plat::GetActiveWindow(), main->GetHwnd());

    main->PopFrame(layer);
    delete layer;
    plat::Click(ScreenOf(*tool, 10, 10));
    PumpAll();
    EXPECT_EQ(CWind::GetActiveWnd(), tool);

    // Hiding the active window hands the activation to the most recent shown one.
    tool->Hide();
    EXPECT_EQ(CWind::GetActiveWnd(), main);
    EXPECT_EQ(Windows(CWind::GetActivationList()), std::vector<CWind*>{main});
    delete tool;
    delete main;
    EXPECT_EQ(CWind::GetActiveWnd(), nullptr);
    EXPECT_EQ(CWind::GetActivationList(), nullptr);
}

TEST_F(WindTest, PushedLayersDisableTheLayersBelowAndPoppingTheRootIsImpossible)
{
    CFrame* root = Root(640, 480, log);
    CWind* w = Show(new CWind(CWind::kTypeTopLevel, root, nullptr, 0));
    auto* layer = new LogFrame(log, "layer", {0, 0, 51, 101});
    w->PushFrame(layer, true);
    EXPECT_EQ(Str(layer->GetDrawnRect()), "214,269,265,370"); // integer halves of the differences
    EXPECT_FALSE(root->IsEnabled());
    EXPECT_EQ(layer->GetOwnerWnd(), w);
    w->PopFrame(root); // not popped; the top layer is only enabled again
    EXPECT_EQ(w->GetLayerCount(), 2);
    w->PopFrame(layer);
    EXPECT_EQ(w->GetLayerCount(), 1);
    EXPECT_TRUE(root->IsEnabled());
    EXPECT_EQ(layer->GetOwner(), nullptr);
    delete layer;
    delete w;
}

TEST_F(WindTest, CloseAsksTheCloseTargetOrDetachesTheFrames)
{
    struct Target : CEventObj {
        Target() : CEventObj(2, 1, nullptr) {}
        bool HandleMessage(CMessage& m, CBaseObj*) override
        {
            asked = m.GetId() == CWind::kMsgCloseRequest ? m.GetParamPtr<CWind>(2) : nullptr;
            return true;
        }
        CWind* asked = nullptr;
    } target;
    CFrame* root = Root(100, 50, log);
    CWind* dialog = Show(new CWind(CWind::kTypeModalDialog, root, nullptr, 0));
    dialog->SetCloseTarget(&target);
    // The window procedure's close request leaves the window alive: the target decides.
    plat::SendWindowMessage(dialog->GetHwnd(), plat::msg::Close);
    EXPECT_EQ(target.asked, dialog);
    EXPECT_TRUE(CWind::IsLiveWindow(dialog));
    EXPECT_EQ(root->GetOwnerWnd(), dialog);

    dialog->SetCloseTarget(nullptr);
    const plat::WindowHandle hwnd = dialog->GetHwnd();
    plat::SendWindowMessage(hwnd, plat::msg::Close);
    EXPECT_FALSE(plat::IsWindow(hwnd));
    EXPECT_EQ(CWind::GetListB(), nullptr);
}

TEST_F(WindTest, CloseChildWindowsClosesThoseFlaggedToCloseWithTheirParent)
{
    CWind* parent = Show(new CWind(CWind::kTypeTopLevel, Root(300, 200, log), nullptr, 0));
    CFrame* staysRoot = Root(50, 50, log);
    CFrame* closesRoot = Root(50, 50, log);
    CFrame* grandRoot = Root(20, 20, log);
    CWind* stays = Show(new CWind(CWind::kTypeDialog, staysRoot, nullptr, 0), parent);
    CWind* closes =
        Show(new CWind(CWind::kTypeDialog, closesRoot, nullptr, CWind::kFlagCloseWithParent), parent);
    CWind* grand = Show(new CWind(CWind::kTypeTool, grandRoot, nullptr, CWind::kFlagCloseWithParent), stays);
    parent->CloseChildWindows();
    EXPECT_EQ(staysRoot->GetOwner(), stays);
    EXPECT_EQ(closesRoot->GetOwner(), nullptr);
    EXPECT_EQ(grandRoot->GetOwner(), nullptr); // a child of a child is closed first
    delete grand;
    delete closes;
    delete stays;
    delete parent;
}

TEST_F(WindTest, PauseAndRestorePassesVisitTheListsInTheirOrders)
{
    auto* a = new LoggingWind(log, "a", CWind::kTypeTopLevel, nullptr);
    auto* b = new LoggingWind(log, "b", CWind::kTypeTool, nullptr);
    CWind::PauseAllWindows();
    CWind::RestoreAllWindows();
    EXPECT_EQ(log, (Log{"b:pause", "a:pause", "a:restore", "b:restore"}));
    delete a;
    delete b;
}

TEST_F(WindTest, TitlesComeFromStringListsAndAnEmptyCaptionReadsAsNone)
{
    deftext::InstallEngineStrings();
    deftext::AddFolderLibrary({{"STR", 30, "\"Zero\" \"The Quillmark Road\""}});
    CWind* w = Show(new CWind(CWind::kTypeTopLevel, Root(100, 50, log), nullptr, 0));
    EXPECT_EQ(w->GetTitle(), nullptr);
    CMessage setTitle(CWind::kMsgSetTitle, 30, 1);
    EXPECT_TRUE(DeliverMessage(*w, setTitle, nullptr, false));
    EXPECT_EQ(plat::GetTitle(w->GetHwnd()), "The Quillmark Road");
    CMessage missing(CWind::kMsgSetTitle, 31, 0);
    EXPECT_TRUE(DeliverMessage(*w, missing, nullptr, false)); // handled, nothing changes
    EXPECT_EQ(std::string(w->GetTitle()->GetText()), "The Quillmark Road");
    w->SetTitle(nullptr);
    EXPECT_EQ(w->GetTitle(), nullptr);
    delete w;
}

TEST_F(WindTest, InvalidateDoesNothingBeforeTheWindowIsShown)
{
    CWind* w = new CWind(CWind::kTypeTopLevel, Root(100, 50, log), nullptr, 0);
    w->Create(CWind::kTypeTopLevel, nullptr, style::Caption, 0, nullptr);
    plat::ValidateRect(w->GetHwnd(), nullptr);
    const CRect r(0, 0, 10, 10);
    w->Invalidate(&r);
    EXPECT_TRUE(plat::GetUpdateRect(w->GetHwnd()).Empty());
    w->ShowWnd();
    w->Invalidate(&r);
    EXPECT_EQ(plat::GetUpdateRect(w->GetHwnd()), plat::Rect::FromSize(0, 0, 10, 10));
    delete w;
}

TEST_F(WindTest, AWindowDestroyedInsideADispatchIsGoneAtOnceAndFreedAfterIt)
{
    CWind* w = Show(new CWind(CWind::kTypeTool, Root(100, 50, log), nullptr, 0));
    const plat::WindowHandle hwnd = w->GetHwnd();
    {
        CDispatchScope dispatch;
        w->Destroy();
        EXPECT_FALSE(CWind::IsLiveWindow(w));
        EXPECT_FALSE(plat::IsWindow(hwnd));
        EXPECT_TRUE(IsDeletePending(w));
    }
    EXPECT_EQ(CWind::GetWindowCount(), 0);
}

TEST_F(WindTest, TheBorderWindowIsMaximizedAndRestoredOncePerChange)
{
    CBorderWnd* border = CreateBorderWnd("Quillmark", -31998);
    CWind* main = Show(new CWind(CWind::kTypeTopLevel, Root(640, 480, log), nullptr, 0));
    EXPECT_EQ(plat::GetOwner(main->GetHwnd()), border->GetHwnd());
    plat::ActivateWindow(main->GetHwnd());
    ShowBorderWnd(false);
    EXPECT_TRUE(plat::IsMaximized(border->GetHwnd()));
    EXPECT_TRUE(plat::IsFullscreen());
    EXPECT_EQ(plat::GetScreenBorderColor(), (plat::Rgb{0x7F, 0x7F, 0x7F}));
    // Showing the border window hands the activation straight back to the main window.
    EXPECT_EQ(plat::GetActiveWindow(), main->GetHwnd());

    // A request for the state the border window is in already leaves the native window alone.
    plat::ShowWindow(border->GetHwnd(), plat::ShowCommand::Restore);
    ShowBorderWnd(false);
    EXPECT_FALSE(plat::IsMaximized(border->GetHwnd()));
    ShowBorderWnd(true);
    ShowBorderWnd(false);
    EXPECT_TRUE(plat::IsMaximized(border->GetHwnd()));
    ShowBorderWnd(true);
    EXPECT_FALSE(plat::IsFullscreen());

    // Alt+Enter asks the border window to switch, and its state follows.
    plat::RequestFullscreenToggle();
    PumpAll();
    EXPECT_TRUE(border->IsMaximized());
    EXPECT_TRUE(plat::IsFullscreen());

    // Minimizing the main window minimizes the border window instead.
    plat::SendWindowMessage(main->GetHwnd(), plat::msg::SysCommand, plat::syscmd::Minimize);
    EXPECT_TRUE(plat::IsMinimized(border->GetHwnd()));
    EXPECT_FALSE(plat::IsMinimized(main->GetHwnd()));
    delete main;
    DeleteBorderWnd();
}

TEST(BorderColors, ColourCodes)
{
    EXPECT_EQ(CBorderWnd::ColorOf(2), (plat::Rgb{0, 0, 0}));
    EXPECT_EQ(CBorderWnd::ColorOf(-31999), (plat::Rgb{0x40, 0x40, 0x40}));
    EXPECT_EQ(CBorderWnd::ColorOf(-31997), (plat::Rgb{0xC0, 0xC0, 0xC0}));
    EXPECT_EQ(CBorderWnd::ColorOf(-31996), (plat::Rgb{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(CBorderWnd::ColorOf(1), plat::GetSysColor(plat::SysColor::Desktop));
}

} // namespace

namespace {

using namespace wtest;

// A root frame that logs the rectangles a resize hands to the frame layers.
class ResizeRoot : public CFrame {
public:
    ResizeRoot(Log& log, const CRect& rect) : CFrame(4, 1, rect, false), log_(log) {}
    void Broadcast(const CRect& a, const CRect& b) override { log_.push_back(Str(a) + " -> " + Str(b)); }

private:
    Log& log_;
};

class WindProcTest : public WindowsTest {};

TEST_F(WindProcTest, SizeMessagesResizeTheWindowAndTellTheLayers)
{
    auto* root = new ResizeRoot(log, {0, 0, 100, 200});
    CWind* w = MakeWindow(CWind::kTypeTopLevel, root, CWind::kFlagResizable);
    const plat::WindowHandle h = w->GetHwnd();
    struct Case {
        uint32_t kind;
        int width, height;
        Log expected;
    };
    const Case cases[] = {
        {plat::size::MaxShow, 300, 150, {}},  // ignored kinds
        {plat::size::MaxHide, 300, 150, {}},  //
        {plat::size::Restored, 200, 100, {}}, // the size it has already
        {plat::size::Restored, 300, 150, {"0,0,100,200 -> 0,0,150,300"}},
    };
    for (const Case& c : cases) {
        log.clear();
        plat::SendWindowMessage(h, plat::msg::Size, c.kind, plat::PackWords(c.width, c.height));
        EXPECT_EQ(log, c.expected) << c.kind << " " << c.width;
    }
    EXPECT_EQ(Str(root->GetDrawnRect()), "0,0,150,300");
    EXPECT_EQ(plat::GetClientRect(h), plat::Rect::FromSize(0, 0, 300, 150));

    // The track sizes come from the size limits, with frame, caption and menu heights added.
    plat::MinMaxInfo info;
    plat::SendWindowMessage(h, plat::msg::GetMinMaxInfo, 0, reinterpret_cast<intptr_t>(&info));
    const plat::Metrics m = plat::GetMetrics();
    const int frameH = 2 * m.sizingFrame + m.menuHeight + m.captionHeight;
    EXPECT_EQ(info.minTrackSize, (plat::Point{64 + 2 * m.sizingFrame, 64 + frameH}));
    EXPECT_EQ(info.maxTrackSize, (plat::Point{640 + 2 * m.sizingFrame, 440 + frameH}));
    EXPECT_EQ(Str(w->GetLastClientRect()), "0,0,150,300");
    delete w;
}

TEST_F(WindProcTest, EngineWindowsAreNeverErasedAndForeignObjectsAreNotWindows)
{
    CWind* w = MakeWindow(CWind::kTypeTopLevel, Root(50, 50, log));
    EXPECT_EQ(plat::SendWindowMessage(w->GetHwnd(), plat::msg::EraseBackground), 1);
    // A window of the class whose object is not an engine window is not taken for one.
    int foreign = 0;
    const plat::WindowHandle other =
        plat::CreateWindow({"WClass", "", plat::style::Popup, 0, plat::Rect::FromSize(0, 0, 10, 10)});
    plat::SetWindowObject(other, &foreign);
    EXPECT_EQ(CWind::FromHandle(other), nullptr);
    EXPECT_EQ(plat::SendWindowMessage(other, plat::msg::EraseBackground), 0);
    EXPECT_EQ(plat::SendWindowMessage(other, plat::msg::SetCursor, other, plat::hit::Client), 1);
    plat::DestroyWindow(other);
    delete w;
}

} // namespace

namespace {

TEST(TemplateKinds, TheRegistrarReadsWindowAndFrameTemplatesAndMakesTheirObjects)
{
    deftext::InstallEngineStrings();
    RegisterEngineClasses();
    CRegistrar registrar;
    RegisterEngineTemplateKinds();
    deftext::Text text("7, 0, -1, -1, 0x40   9, 7, 0x9, 0, 0, 0, 0, 1, 2, 3, 4");
    std::unique_ptr<CTObj> windowTpl(CRegistrar::ReadTemplate(CTWind::kKind, &text.parser));
    std::unique_ptr<CTObj> frameTpl(CRegistrar::ReadTemplate(CTFrame::kKindPlainFrame, &text.parser));
    EXPECT_TRUE(text.AtEnd());
    std::unique_ptr<CBaseObj> wnd(CRegistrar::CreateObject(CTWind::kKind, windowTpl.get()));
    std::unique_ptr<CBaseObj> frame(CRegistrar::CreateObject(CTFrame::kKindPlainFrame, frameTpl.get()));
    EXPECT_EQ(wnd->GetKind(), CWind::kKindWindow);
    EXPECT_EQ(wnd->GetId(), 7);
    EXPECT_EQ(static_cast<CWind*>(wnd.get())->GetWndFlags(), 0x40u);
    EXPECT_EQ(frame->GetKind(), CFrame::kKindFrame);
    EXPECT_EQ(frame->GetId(), 9);
    EXPECT_EQ(static_cast<CTFrame*>(frameTpl.get())->GetParentId(), 7);
}

} // namespace

namespace {

TEST_F(WindTest, PrintDialogsBelongToTheTopWindow)
{
    CPrinter printer;
    EXPECT_EQ(printer.MakeDialogRequest(plat::PrintDialogKind::Print).owner, 0u);
    CWind* top = Show(new CWind(CWind::kTypeTopLevel, Root(100, 50, log), nullptr, 0));
    CWind* tool = Show(new CWind(CWind::kTypeTool, Root(50, 20, log), nullptr, 0));
    EXPECT_EQ(printer.MakeDialogRequest(plat::PrintDialogKind::Print).owner, top->GetHwnd());
    EXPECT_EQ(printer.MakeDialogRequest(plat::PrintDialogKind::Setup).owner, top->GetHwnd());
    delete tool;
    delete top;
}

} // namespace
