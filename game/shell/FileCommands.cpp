#include "game/shell/FileCommands.h"

#include "engine/controls/EditTarget.h"
#include "engine/controls/ImageFrame.h"
#include "engine/controls/TopWnd.h"
#include "engine/controls/Wind.h"
#include "engine/framework/FileSpecs.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/SaveDlg.h"
#include "game/base/save/QM3Doc.h"
#include "game/shell/QM3Appl.h"

namespace {

constexpr int32_t kDefaultNameEntry = 3;
constexpr int32_t kSavePromptEntry = 4;
constexpr int32_t kFolderNameEntry = 16;
constexpr int32_t kMsgGameOpened = 101;

SaveDialogRunner g_runner;

// The game's runner: the dialog runs modally in a holder frame over the top window.
void RunModally(CSaveListFrm& dialog)
{
    CImageFrame holder(-2, CPoint(0, 0), true);
    holder.AddChild(&dialog, false);
    holder.Run(CWind::GetTopWnd(), true);
    holder.RemoveChild(dialog);
}

std::unique_ptr<CStr> GameString(int32_t n)
{
    const CQM3Appl* appl = GetGameAppl();
    std::unique_ptr<CStr> text = appl ? appl->GetString(n) : nullptr;
    return text ? std::move(text) : std::make_unique<CStr>();
}

void SetTitle()
{
    if (CQM3Appl* appl = GetGameAppl(); appl && Game().topWnd)
        appl->SetWindowTitle(Game().topWnd);
}

// Makes the document the global one.
CQM3Doc* Adopt(std::unique_ptr<CQM3Doc> doc)
{
    Game().document = doc.get();
    return doc.release();
}

// Loads the global document. A trip reset during the load forgets the document (command 3);
// it is deleted here then, and null returned.
CQM3Doc* LoadGlobal(CQM3Doc* doc, int16_t& code)
{
    code = doc->Load();
    if (Game().document != doc) {
        delete doc;
        return nullptr;
    }
    return doc;
}

} // namespace

void SetSaveDialogRunner(SaveDialogRunner runner) { g_runner = std::move(runner); }

void CloseDocument()
{
    CQM3Doc* doc = Game().document;
    Game().document = nullptr;
    if (doc && !doc->IsLoading())
        delete doc;
}

SaveAnswer PromptSave(bool opening, bool forced)
{
    CQM3Doc* doc = GetCurDoc();
    if (!doc)
        return SaveAnswer::Cancelled;
    if (!opening && doc->GetDisc() == 1)
        return SaveAnswer::Done;
    const std::unique_ptr<CStr> folderName = GameString(kFolderNameEntry);
    const std::unique_ptr<CTplRec> slots = CreateTplRec(kSlotFileList, 0xFFFFFFFFu, false);
    const std::unique_ptr<CStr> proposed = doc->HasFileSpec() ? doc->GetFileName() : nullptr;
    const int32_t screen = opening ? kOpenDialogList : forced ? kForcedSaveDialogList : kSaveDialogList;
    CSaveDlg dialog(-2, CPoint(0, 0), GetGameAppl(), kSaveDialogResult, *folderName, slots.get(),
                    CQM3Doc::kNameOffset, CQM3Doc::kNameSize, proposed.get(), screen, 0xFFFFFFFFu, opening,
                    kSlotListId, kNameFieldId, kOkButtonId);
    if (dialog.GetStatus() != 0)
        return SaveAnswer::Cancelled;
    if (g_runner)
        g_runner(dialog);
    else if (dialog.HasScreen())
        RunModally(dialog);
    const CFileSpec* chosen = dialog.GetChosenSpec();
    if (dialog.IsCancelled() || !chosen)
        return SaveAnswer::Cancelled;
    const CFileSpec* before = doc->GetFileSpec();
    if (!before || !before->GetPath() || CStr::CompareText(before->GetPath(), chosen->GetPath(), false) != 0)
        doc->SetFileSpec(std::make_unique<CFileSpec>(*chosen));
    doc->SetName(std::make_unique<CStr>(dialog.GetChosenName()));
    if (opening)
        return SaveAnswer::Done;
    const std::unique_ptr<CStr> prompt = GameString(kSavePromptEntry);
    CWind* active = CWind::GetActiveWnd();
    const int16_t code = doc->Save(active ? active->GetHwnd() : 0, prompt->GetText());
    return code == CDoc::kOk ? SaveAnswer::Done : SaveAnswer::Failed;
}

void CQM3Appl::DoFileCommand(CMessage& message)
{
    GameGlobals& g = Game();
    const int32_t id = message.GetId();
    switch (id) {
    case -28:
    case -27:
        if (g.document && PromptSave(false, false) == SaveAnswer::Done)
            ClearEditTarget();
        return;
    case -26:
        // Quitting follows whatever the answer, unless the save failed: the game is kept.
        if (PromptSave(false, true) != SaveAnswer::Failed)
            SetQuitRequested(true);
        return;
    case -25:
    case -24: {
        const std::unique_ptr<CStr> name = GameString(kDefaultNameEntry);
        g.lastOpenResult = 0;
        if (g.document) {
            if (PromptSave(false, false) == SaveAnswer::Failed)
                return;
            CloseDocument();
        }
        CQM3Doc* doc = Adopt(std::make_unique<CQM3Doc>(name->GetText()));
        if (id == -24) {
            SetTitle();
            return;
        }
        if (PromptSave(true, false) != SaveAnswer::Done) {
            g.lastOpenResult = 1;
            CloseDocument();
            return;
        }
        int16_t code = 0;
        doc = LoadGlobal(doc, code);
        if (code != CDoc::kOk || !doc) {
            g.lastOpenResult = 2;
            CloseDocument();
            return;
        }
        SetTitle();
        if (g.mainWnd)
            SendMsg(*g.mainWnd, kMsgGameOpened, 0, 0, this);
        return;
    }
    case -19: {
        std::unique_ptr<CFileSpec> spec(message.GetParamPtr<CFileSpec>(2));
        if (!spec)
            return;
        if (g.document) {
            if (PromptSave(false, true) == SaveAnswer::Failed)
                return;
            CloseDocument();
        }
        CQM3Doc* doc = Adopt(std::make_unique<CQM3Doc>(std::move(spec)));
        int16_t code = 0;
        // A document whose load failed stays the global document.
        if (LoadGlobal(doc, code) && code == CDoc::kOk)
            SetTitle();
        return;
    }
    default:
        ShowMessageBox("Function not implemented", "Not Yet", CMsgBox::kIconStop, CMsgBox::kButtonsOk, 1);
        return;
    }
}
