#include "engine/controls/BTplList.h"

#include <set>
#include <string>

#include "engine/controls/Frame.h"
#include "engine/controls/TFrame.h"
#include "engine/controls/TObj.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindControl.h"
#include "engine/framework/Diag.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/Registrar.h"
#include "engine/resources/RsrcBlock.h"
#include "engine/resources/TplRecLoader.h"

namespace {

constexpr int32_t kMsgSecondWindow = 3;
constexpr int32_t kMsgBadText = 5;

// The id with its sign chosen: positive when enabled, negative otherwise (in unsigned
// arithmetic, so the most negative id cannot overflow).
int32_t SignedId(int32_t id, bool enabled)
{
    const uint32_t magnitude = id < 0 ? 0u - static_cast<uint32_t>(id) : static_cast<uint32_t>(id);
    return static_cast<int32_t>(enabled ? magnitude : 0u - magnitude);
}

// Graphic-object and window templates are built unless their id is 0 or negative (-2 asks
// for a generated id and is built).
bool IsBuilt(const CTObj* tpl)
{
    return tpl->IsFrameTemplate() && (tpl->GetId() > 0 || tpl->GetId() == CBaseObj::kNewId);
}

} // namespace

CBTplList::CBTplList(std::unique_ptr<CRsrcBlock> text)
{
    if (text)
        ReadTemplates(text.get());
}

CBTplList::CBTplList(int32_t templateId, uint32_t libraryMask)
{
    std::unique_ptr<CRsrcBlock> text = ::GetLibMgr()->LoadResource("TPL", templateId, libraryMask, true);
    if (text)
        ReadTemplates(text.get());
}

CBTplList::~CBTplList()
{
    for (int32_t i = GetCount(); i-- > 0;)
        delete GetAt(i);
}

void CBTplList::ReadTemplates(CRsrcBlock* text)
{
    CRawParser parser(text, CLibMgr::kAllLibraries);
    parser.Preprocess();
    parser.LockSource();
    id_ = text->GetId();
    // Held here until the text is read, so that a report ending the reading leaves nothing
    // behind.
    std::vector<std::unique_ptr<CTObj>> read;
    // Blanks and line ends left after the last template (or in a list of none) end the text.
    for (parser.SkipBlanks(); parser.GetPos() < parser.GetEnd(); parser.SkipBlanks()) {
        const int32_t kind = parser.ReadLong("templttype");
        std::unique_ptr<CTObj> tpl(CRegistrar::ReadTemplate(kind, &parser));
        if (!tpl) {
            Fail((GetEngineText(kMsgBadText) + " " + std::to_string(id_)).c_str());
            break;
        }
        tpl->SetTplList(this);
        read.push_back(std::move(tpl));
    }
    parser.UnlockSource();
    for (auto& tpl : read)
        Add(tpl.release());
}

void CBTplList::Fail(const char* text) { ReportError(kReportFatal, text, "BTplList", 477); }

CTObj* CBTplList::GetAt(int32_t i) { return static_cast<CTObj*>(CPtrArray::GetAt(i)); }

int32_t CBTplList::GetIdAt(int32_t i)
{
    const CTObj* tpl = GetAt(i);
    return tpl ? tpl->GetId() : 0;
}

CTObj* CBTplList::Find(int32_t id)
{
    for (int32_t i = 0; i < GetCount(); ++i)
        if (GetAt(i)->GetId() == id)
            return GetAt(i);
    return nullptr;
}

void CBTplList::SetId(int32_t id, int32_t newId)
{
    if (CTObj* tpl = Find(id))
        tpl->SetId(newId);
}

void CBTplList::SetBranchEnabled(int32_t id, bool enabled)
{
    // The branch is gathered first, each template once, so that ids repeated or parent ids
    // running in a circle end the walk; then every template of it takes its signed id.
    std::vector<CTObj*> branch;
    std::set<const CTObj*> seen;
    if (CTObj* top = Find(id)) {
        branch.push_back(top);
        seen.insert(top);
    }
    std::vector<int32_t> parents{id};
    for (size_t k = 0; k < parents.size(); ++k) {
        const int32_t oldId = parents[k];
        for (int32_t i = 0; i < GetCount(); ++i) {
            auto* child = dynamic_cast<CTFrame*>(GetAt(i));
            if (!child || child->GetParentId() != oldId || !seen.insert(child).second)
                continue;
            child->SetParentId(SignedId(oldId, enabled));
            parents.push_back(child->GetId());
            branch.push_back(child);
        }
    }
    for (CTObj* tpl : branch)
        tpl->SetId(SignedId(tpl->GetId(), enabled));
}

CLibMgr* CBTplList::GetLibMgr(int32_t) { return ::GetLibMgr(); }

std::unique_ptr<CImgSet> CBTplList::LoadImage(uint32_t, int32_t, bool, bool) { return nullptr; }

const CTplRec* CBTplList::AcquireStringList(uint32_t libraryMask, int32_t listId,
                                            std::unique_ptr<CTplRec>& owned)
{
    owned = CreateTplRec(listId, libraryMask, false);
    return owned.get();
}

void CBTplList::ReleaseStringList(const CTplRec*) {}

void CBTplList::GetString(uint32_t libraryMask, int32_t listId, int32_t index, std::unique_ptr<CTplRec>* list,
                          std::unique_ptr<CStr>* text, const CTplRec* given)
{
    if (list)
        list->reset();
    if (text)
        text->reset();
    std::unique_ptr<CTplRec> owned;
    const CTplRec* source = listId < 1 ? given : AcquireStringList(libraryMask, listId, owned);
    if (!source)
        return;
    const bool lent = listId > 0 && !owned; // a list the cache lends, handed back below
    if (index < 0) {
        if (listId > 0 && list)
            *list = owned ? std::move(owned) : std::make_unique<CTplRec>(*source);
    } else if (text) {
        *text = source->GetEntryString(index);
    }
    if (lent)
        ReleaseStringList(source);
}

CFrame* CBTplList::CreateObject(CTFrame* tpl, CBaseObj* owner, MsgWord value)
{
    const int32_t notifyId = tpl->GetNotifyWhoId();
    if (notifyId == 0) {
        tpl->SetBuildOwner(owner);
    } else {
        ownerKeys_.push_back(std::make_unique<CBaseObj>(CBaseObj::kAnyKind, notifyId, nullptr));
        tpl->SetBuildOwner(ownerKeys_.back().get());
    }
    tpl->SetBuildValue(value);
    tpl->Prepare();
    CBaseObj* made = CRegistrar::CreateObject(tpl->GetKind(), tpl);
    auto* frame = dynamic_cast<CFrame*>(made);
    if (!frame) {
        delete made; // a kind registered with something other than a graphic object
        return nullptr;
    }
    tpl->ApplyTo(frame);
    if (tpl->GetCursorId() != 0)
        frame->SetCursor(tpl->GetCursorId());
    return frame;
}

CWind* CBTplList::CreateWindow(CTObj* tpl, CBaseObj*)
{
    CBaseObj* made = CRegistrar::CreateObject(tpl->GetKind(), tpl);
    auto* window = dynamic_cast<CWind*>(made);
    if (!window)
        delete made;
    return window;
}

void CBTplList::Attach(CTFrame* tpl, CFrame* object, CFrame*& root, CWind* window)
{
    const bool windowWantsFrame = window && !window->GetFirstFrame();
    if (!root) {
        root = object;
        if (windowWantsFrame)
            window->SetFrame(object);
        return;
    }
    CFrame* parent = root;
    if (tpl->GetParentId() == 0) {
        if (windowWantsFrame) {
            window->SetFrame(object);
            return;
        }
    } else {
        CFrame* found = root->FindObject(CBaseObj::kAnyKind, tpl->GetParentId());
        if (!found && window && window->GetFirstFrame())
            found = window->GetFirstFrame()->FindObject(CBaseObj::kAnyKind, tpl->GetParentId());
        if (found)
            parent = found;
    }
    if (tpl->GetFlags() & kFlagRelative) {
        const CRect& corner = parent->GetDrawnRect();
        object->MoveBy(corner.GetLeft(), corner.GetTop(), 0);
    }
    parent->AddChild(object, false);
}

namespace {

// What a build has made so far and not yet handed to its caller. A report that ends the build
// half way (a missing image under the report flag) leaves nothing behind; a window deletes
// its root with itself.
struct BuildResult {
    CWind* window = nullptr;
    CFrame* madeRoot = nullptr; // a root made by the build, not given to it
    bool handedOver = false;

    BuildResult() = default;
    BuildResult(const BuildResult&) = delete;
    BuildResult& operator=(const BuildResult&) = delete;
    ~BuildResult()
    {
        if (handedOver)
            return;
        if (window && window->GetFirstFrame() == madeRoot)
            madeRoot = nullptr;
        delete window;
        delete madeRoot;
    }
};

} // namespace

CBaseObj* CBTplList::Build(CFrame* root, CBaseObj* owner, MsgWord value)
{
    CWind* rootWindow = root ? root->GetOwnerWnd() : nullptr;
    const bool hadFocus = rootWindow && rootWindow->GetFocusControl();
    // A second window is fatal; it is found before anything is built.
    int32_t windows = 0;
    for (int32_t i = 0; i < GetCount(); ++i)
        if (IsBuilt(GetAt(i)) && GetAt(i)->IsWindowTemplate() && ++windows == 2) {
            Fail((GetEngineText(kMsgSecondWindow) + std::to_string(id_)).c_str());
            return nullptr;
        }
    BuildResult made;
    CFrame* first = nullptr;
    for (int32_t i = 0; i < GetCount(); ++i) {
        CTObj* tpl = GetAt(i);
        if (!IsBuilt(tpl))
            continue;
        if (tpl->IsWindowTemplate()) {
            made.window = CreateWindow(tpl, owner);
            // A window listed after the root takes the root, which would otherwise be lost
            // beside it.
            if (made.window && made.madeRoot && !made.window->GetFirstFrame())
                made.window->SetFrame(made.madeRoot);
            continue;
        }
        auto* frameTpl = dynamic_cast<CTFrame*>(tpl);
        CFrame* object = frameTpl ? CreateObject(frameTpl, owner, value) : nullptr;
        if (!object)
            continue;
        if (!first)
            first = object;
        if (!root)
            made.madeRoot = object;
        Attach(frameTpl, object, root, made.window);
    }
    made.handedOver = true;
    if (CWind* window = made.window) {
        window->SetCentreOnFrame(false);
        window->ResetFocus();
        return window;
    }
    CWind* ownerWindow = root ? root->GetOwnerWnd() : nullptr;
    if (!hadFocus && ownerWindow)
        ownerWindow->ResetFocus();
    return first;
}
