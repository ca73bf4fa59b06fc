#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/controls/BTplList.h"
#include "engine/controls/Frame.h"
#include "engine/controls/RsrcTplList.h"
#include "engine/controls/TFrame.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/Wind.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/Cursor.h"
#include "engine/graphics/CursorMgr.h"
#include "engine/resources/Registrar.h"
#include "engine/resources/RsrcCache.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using deftext::MakeBlock;

// A list read from template text given as "TPL" `id`.
std::unique_ptr<CBTplList> List(const std::string& text, int32_t id = 77)
{
    return std::make_unique<CBTplList>(MakeBlock(text, "TPL", id));
}

// A plain frame template: kind 1, ID, parentid, flags, helpid, helplibmask, cursorid,
// curslibmask, top, left, bottom, right.
std::string Frame(int32_t id, int32_t parent, const char* rect, uint32_t flags = 9, int32_t cursor = 0)
{
    return "1, " + std::to_string(id) + ", " + std::to_string(parent) + ", " + std::to_string(flags) +
           ", 0, 0, " + std::to_string(cursor) + ", 0, " + rect + "\n";
}

// The ids of a frame's children, head to tail.
std::vector<int32_t> ChildIds(const CFrame& frame)
{
    std::vector<int32_t> ids;
    for (CFrame* child : ChildFrames(frame))
        ids.push_back(child->GetId());
    return ids;
}

std::string Str(const CRect& r)
{
    return std::to_string(r.GetTop()) + "," + std::to_string(r.GetLeft()) + "," +
           std::to_string(r.GetBottom()) + "," + std::to_string(r.GetRight());
}

class TplListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        RegisterAllTemplateKinds();
    }
};

TEST_F(TplListTest, ReadsTemplatesInTextOrderWithTheirKindsAndIds)
{
    auto list = List("// a comment\n" + Frame(10, 0, "0, 0, 100, 200") +
                     "9, 11, 10, 9, 0, 0, 0, 0, 1, 2, 3, 4, \"Hi\", 0, -1, -1, 0, 0, 0, 0\n" +
                     Frame(-5, 10, "0, 0, 1, 1") + "\n");
    EXPECT_EQ(list->GetId(), 77);
    EXPECT_EQ(List("// only a comment\n\n")->GetCount(), 0);
    ASSERT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->GetAt(0)->GetKind(), 1);
    EXPECT_EQ(list->GetAt(1)->GetKind(), 9);
    EXPECT_EQ(list->GetAt(1)->GetTplList(), list.get());
    EXPECT_EQ(list->GetIdAt(2), -5);
    EXPECT_EQ(list->GetAt(3), nullptr); // an index equal to the count
    EXPECT_EQ(list->GetIdAt(3), 0);
    EXPECT_EQ(list->Find(11), list->GetAt(1));
    EXPECT_EQ(list->Find(12), nullptr);
    list->SetId(11, 12);
    EXPECT_EQ(list->GetIdAt(1), 12);
}

TEST_F(TplListTest, UnknownKindIsAFatalReportNamingTheList)
{
    EXPECT_EQ(deftext::FatalReport([] { List(Frame(1, 0, "0, 0, 1, 1") + "4242, 1, 2, 3", 31); }),
              "Fatal Error: 5: 31\r\rFile: BTplList  Line: 477");
}

TEST_F(TplListTest, BuildsTheTreeUnderParentsWithRelativePlacement)
{
    auto list = List(Frame(10, 0, "0, 0, 100, 200") +                            // the root
                     Frame(11, 0, "10, 20, 50, 80") +                            // under the root
                     Frame(12, 11, "1, 2, 3, 4", 9 | CBTplList::kFlagRelative) + // moved by 11's corner
                     Frame(13, 99, "5, 5, 6, 6") +                               // unknown parent: the root
                     Frame(14, 11, "7, 7, 8, 8", 0)); // flags 0: hidden and disabled
    std::unique_ptr<CFrame> root(dynamic_cast<CFrame*>(list->Build(nullptr, nullptr, 0)));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetId(), 10);
    EXPECT_EQ(ChildIds(*root), (std::vector<int32_t>{11, 13}));
    CFrame* f11 = root->FindObject(CBaseObj::kAnyKind, 11);
    ASSERT_NE(f11, nullptr);
    EXPECT_EQ(ChildIds(*f11), (std::vector<int32_t>{12, 14}));
    EXPECT_EQ(Str(root->FindObject(CBaseObj::kAnyKind, 12)->GetBounds()), "11,22,13,24");
    EXPECT_EQ(Str(root->FindObject(CBaseObj::kAnyKind, 13)->GetBounds()), "5,5,6,6");
    CFrame* f14 = root->FindObject(CBaseObj::kAnyKind, 14);
    EXPECT_FALSE(f14->IsShown());
    EXPECT_FALSE(f14->IsEnabled());
    EXPECT_EQ(root->GetKind(), CFrame::kKindFrame);
}

TEST_F(TplListTest, UnderAGivenRootTheFirstObjectIsTheResult)
{
    auto list = List(Frame(20, 0, "0, 0, 10, 10") + Frame(21, 20, "1, 1, 2, 2"));
    CFrame root(4, 1, CRect(0, 0, 50, 50), false);
    CBaseObj* first = list->Build(&root, nullptr, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetId(), 20);
    EXPECT_EQ(ChildIds(root), (std::vector<int32_t>{20}));
    EXPECT_EQ(ChildIds(*static_cast<CFrame*>(first)), (std::vector<int32_t>{21}));
}

TEST_F(TplListTest, NegativeIdsAreNotBuiltUntilTheirBranchIsEnabled)
{
    auto list = List(Frame(1, 0, "0, 0, 10, 10") + Frame(-5, 1, "0, 0, 1, 1") + Frame(-6, -5, "0, 0, 1, 1") +
                     Frame(-7, -6, "0, 0, 1, 1") + Frame(-2, 1, "0, 0, 1, 1") + Frame(-8, 1, "0, 0, 1, 1"));
    {
        std::unique_ptr<CFrame> root(static_cast<CFrame*>(list->Build(nullptr, nullptr, 0)));
        ASSERT_EQ(ChildIds(*root).size(), 1u); // only the -2 template, with a generated id
        EXPECT_LT(ChildIds(*root)[0], -1);
    }
    list->SetBranchEnabled(-5, true);
    EXPECT_EQ(list->GetIdAt(1), 5);
    EXPECT_EQ(static_cast<CTFrame*>(list->GetAt(2))->GetParentId(), 5);
    EXPECT_EQ(list->GetIdAt(2), 6);
    EXPECT_EQ(list->GetIdAt(3), 7);
    EXPECT_EQ(list->GetIdAt(5), -8); // not in the branch
    {
        std::unique_ptr<CFrame> root(static_cast<CFrame*>(list->Build(nullptr, nullptr, 0)));
        EXPECT_NE(root->FindObject(CBaseObj::kAnyKind, 7), nullptr);
        EXPECT_EQ(ChildIds(*root->FindObject(CBaseObj::kAnyKind, 5)), (std::vector<int32_t>{6}));
    }
    list->SetBranchEnabled(5, false);
    EXPECT_EQ(list->GetIdAt(1), -5);
    EXPECT_EQ(list->GetIdAt(3), -7);
    EXPECT_EQ(static_cast<CTFrame*>(list->GetAt(3))->GetParentId(), -6);
}

TEST_F(TplListTest, BranchWhoseParentsRunInACircleEnds)
{
    auto list = List(Frame(-3, -4, "0, 0, 1, 1") + Frame(-4, -3, "0, 0, 1, 1") + Frame(-9, -9, "0, 0, 1, 1"));
    list->SetBranchEnabled(-3, true);
    EXPECT_EQ(list->GetIdAt(0), 3);
    EXPECT_EQ(list->GetIdAt(1), 4);
    list->SetBranchEnabled(-9, true);
    EXPECT_EQ(list->GetIdAt(2), 9);

    // Repeated ids: each template of the branch is renamed once.
    auto repeated =
        List(Frame(-5, 0, "0, 0, 1, 1") + Frame(-5, -5, "0, 0, 1, 1") + Frame(-6, -5, "0, 0, 1, 1"));
    repeated->SetBranchEnabled(-5, true);
    EXPECT_EQ(repeated->GetIdAt(0), 5);
    EXPECT_EQ(repeated->GetIdAt(1), 5);
    EXPECT_EQ(repeated->GetIdAt(2), 6);
}

TEST_F(TplListTest, WindowTemplateMakesTheWindowHoldingTheRoot)
{
    auto list =
        List("0x31, 50, 0, -1, -1, 0\n" + Frame(10, 0, "0, 0, 120, 160") + Frame(11, 0, "1, 1, 2, 2"));
    std::unique_ptr<CWind> window(dynamic_cast<CWind*>(list->Build(nullptr, nullptr, 0)));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetId(), 50);
    ASSERT_NE(window->GetFirstFrame(), nullptr);
    EXPECT_EQ(window->GetFirstFrame()->GetId(), 10);
    EXPECT_EQ(ChildIds(*window->GetFirstFrame()), (std::vector<int32_t>{11}));
    EXPECT_EQ(window->GetFirstFrame()->GetOwner(), window.get());
}

TEST_F(TplListTest, WindowListedAfterTheRootHoldsIt)
{
    auto list =
        List(Frame(10, 0, "0, 0, 120, 160") + "0x31, 50, 0, -1, -1, 0\n" + Frame(11, 0, "1, 1, 2, 2"));
    std::unique_ptr<CWind> window(dynamic_cast<CWind*>(list->Build(nullptr, nullptr, 0)));
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->GetFirstFrame(), nullptr);
    EXPECT_EQ(window->GetFirstFrame()->GetId(), 10);
    EXPECT_EQ(ChildIds(*window->GetFirstFrame()), (std::vector<int32_t>{11}));
}

TEST_F(TplListTest, SecondWindowIsFatal)
{
    auto list =
        List("0x31, 50, 0, -1, -1, 0\n" + Frame(10, 0, "0, 0, 1, 1") + "0x31, 51, 0, -1, -1, 0\n", 64);
    EXPECT_EQ(deftext::FatalReport([&] { list->Build(nullptr, nullptr, 0); }),
              "Fatal Error: 3:64\r\rFile: BTplList  Line: 477");
    // A disabled second window is not built, so it is no fault.
    list->SetId(51, -51);
    std::unique_ptr<CWind> window(dynamic_cast<CWind*>(list->Build(nullptr, nullptr, 0)));
    EXPECT_NE(window, nullptr);
}

// A control template of a test kind (4242, a kind no engine class takes): the frame values, then the id of
// the object it notifies; it makes a focusable control.
class CTTestControl : public CTFrame {
public:
    CTTestControl(int32_t kind, CRawParser* parser)
        : CTFrame(kind, parser), notify_(parser->ReadLong("notify"))
    {
    }
    int32_t GetNotifyWhoId() const override { return notify_; }
    static CTObj* Read(int32_t kind, CRawParser* parser) { return new CTTestControl(kind, parser); }
    static CBaseObj* Create(CTObj* tpl)
    {
        auto* t = static_cast<CTTestControl*>(tpl);
        auto* control =
            new wtest::TestControl(log, std::string("c").append(std::to_string(t->GetId())), t->GetRect());
        control->SetId(t->GetId());
        owners.push_back(t->GetBuildOwner());
        return control;
    }
    static inline wtest::Log log;
    static inline std::vector<CBaseObj*> owners;

private:
    int32_t notify_;
};

TEST_F(TplListTest, ControlsGetTheirNotifyTargetAsOwnerAndTheWindowFocusesTheFirst)
{
    RegisterEngineClasses();
    CTTestControl::owners.clear();
    CRegistrar::Register(4242, &CTTestControl::Create, &CTTestControl::Read);
    auto list = List("0x31, 50, 0, -1, -1, 0\n" + Frame(10, 0, "0, 0, 100, 100") +
                     "4242, 11, 10, 9, 0, 0, 0, 0, 5, 5, 20, 20, 0\n"
                     "4242, 12, 10, 9, 0, 0, 0, 0, 25, 5, 40, 20, 77\n");
    CBaseObj caller(2, 3, nullptr);
    std::unique_ptr<CWind> window(dynamic_cast<CWind*>(list->Build(nullptr, &caller, 0)));
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(CTTestControl::owners.size(), 2u);
    EXPECT_EQ(CTTestControl::owners[0], &caller);     // no notify id: the owner passed in
    EXPECT_EQ(CTTestControl::owners[1]->GetId(), 77); // a key of object kind -1
    EXPECT_EQ(CTTestControl::owners[1]->GetKind(), CBaseObj::kAnyKind);
    ASSERT_NE(window->GetFocusControl(), nullptr);
    EXPECT_EQ(window->GetFocusControl()->GetId(), 11);
}

TEST_F(TplListTest, ObjectsBuiltIntoAShownWindowTakeItAsOwnerAndItsFocus)
{
    RegisterEngineClasses();
    CRegistrar::Register(4242, &CTTestControl::Create, &CTTestControl::Read);
    wtest::Log log;
    std::unique_ptr<CWind> window(wtest::MakeWindow(CWind::kTypeTopLevel, wtest::Root(200, 100, log)));
    CFrame* root = window->GetFirstFrame();
    auto list = List(Frame(20, 0, "10, 10, 90, 190", 9 | CBTplList::kFlagRelative) +
                     "4242, 21, 20, 0xD, 0, 0, 0, 0, 5, 5, 20, 20, 0\n");
    CBaseObj* first = list->Build(root, nullptr, 0);
    ASSERT_NE(first, nullptr);
    CFrame* control = root->FindObject(CBaseObj::kAnyKind, 21);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetOwner(), window.get());
    EXPECT_EQ(wtest::Str(control->GetBounds()), "15,15,30,30"); // relative to frame 20 at (10, 10)
    ASSERT_NE(window->GetFocusControl(), nullptr);
    EXPECT_EQ(window->GetFocusControl()->GetId(), 21);
}

TEST_F(TplListTest, TemplateCursorsAreLoadedIntoTheCursorManager)
{
    InstallWindowHooks();
    CreateCursorMgr();
    auto list = List(Frame(1, 0, "0, 0, 10, 10") + Frame(2, 1, "0, 0, 5, 5", 9, 2));
    std::unique_ptr<CFrame> root(static_cast<CFrame*>(list->Build(nullptr, nullptr, 0)));
    EXPECT_EQ(root->GetCursorId(), 0);
    EXPECT_EQ(root->FindObject(CBaseObj::kAnyKind, 2)->GetCursorId(), 2);
    EXPECT_NE(FindCursor(2), nullptr);
}

TEST_F(TplListTest, BuildEndedByAReportLeavesNothingBehind)
{
    deftext::AddFolderLibrary({{"STR", 1, "x"}});
    // Flag 0x400: the missing picture 99 is a fatal report.
    const std::string picture = "5, 3, 10, 0x409, 0, 0, 0, 0, 1, 1, 0, 0, 99, -1, 0\n";
    // A list that loads images (CBTplList has none).
    auto Loading = [](const std::string& text) {
        return std::make_unique<CRsrcTplList>(MakeBlock(text, "TPL", 4));
    };
    auto withWindow = Loading("0x31, 50, 0, -1, -1, 0\n" + Frame(10, 0, "0, 0, 9, 9") +
                              Frame(11, 10, "1, 1, 2, 2") + picture);
    EXPECT_NE(deftext::FatalReport([&] { withWindow->Build(nullptr, nullptr, 0); }).find("6:CBM 99"),
              std::string::npos);
    auto withoutWindow = Loading(Frame(10, 0, "0, 0, 9, 9") + Frame(11, 10, "1, 1, 2, 2") + picture);
    EXPECT_NE(deftext::FatalReport([&] { withoutWindow->Build(nullptr, nullptr, 0); }).find("6:CBM 99"),
              std::string::npos);
}

TEST_F(TplListTest, StringsComeFromStringListsOrTheGivenList)
{
    deftext::AddFolderLibrary({{"STR", 40, "zero one two"}});
    auto list = List(Frame(1, 0, "0, 0, 1, 1"));
    std::unique_ptr<CTplRec> got;
    std::unique_ptr<CStr> text;
    list->GetString(0xFFFFFFFF, 40, 1, &got, &text, nullptr);
    EXPECT_EQ(got, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->GetText(), "one");
    list->GetString(0xFFFFFFFF, 40, -1, &got, &text, nullptr);
    EXPECT_EQ(text, nullptr);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->GetEntryCount(), 3);

    CTplRec given;
    given.Add(std::make_unique<CStr>("mine"));
    list->GetString(0xFFFFFFFF, 0, 0, &got, &text, &given);
    EXPECT_EQ(got, nullptr);
    EXPECT_STREQ(text->GetText(), "mine");
    list->GetString(0xFFFFFFFF, 0, -1, &got, &text, &given); // the given list is not handed out
    EXPECT_EQ(got, nullptr);
    EXPECT_EQ(text, nullptr);
    list->GetString(0xFFFFFFFF, 41, 0, &got, &text, &given); // no list 41
    EXPECT_EQ(text, nullptr);
}

TEST_F(TplListTest, CachedStringListsAreLentAndPurgedWithTheList)
{
    deftext::AddFolderLibrary({{"STR", 40, "zero one two"}});
    CRsrcCache cache(100000);
    auto list = std::make_unique<CTplList>(MakeBlock(Frame(1, 0, "0, 0, 1, 1"), "TPL", 3), &cache);
    std::unique_ptr<CTplRec> got;
    std::unique_ptr<CStr> text;
    list->GetString(0xFFFFFFFF, 40, 2, &got, &text, nullptr);
    EXPECT_STREQ(text->GetText(), "two");
    list->GetString(0xFFFFFFFF, 40, -1, &got, &text, nullptr);
    ASSERT_NE(got, nullptr); // a copy; the cached list stays the cache's
    EXPECT_EQ(got->GetEntryCount(), 3);
    EXPECT_EQ(cache.GetInUse().GetCount(), 0);
    EXPECT_EQ(cache.GetReleased().GetCount(), 1);
    list->GetString(0xFFFFFFFF, 40, 0, &got, &text, nullptr);
    EXPECT_EQ(cache.GetReleased().GetCount(), 1); // found again, not loaded twice
    list.reset();
    EXPECT_EQ(cache.GetReleased().GetCount(), 0);
}

TEST_F(TplListTest, LoadedByIdFromTheLibraries)
{
    deftext::AddFolderLibrary({{"TPL", 300, Frame(1, 0, "0, 0, 5, 5")}});
    CBTplList list(300, 0xFFFFFFFF);
    EXPECT_EQ(list.GetId(), 300);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(deftext::FatalReport([] { CBTplList missing(301, 0xFFFFFFFF); }).substr(0, 18),
              "Fatal Error: 6:TPL");
}

} // namespace
