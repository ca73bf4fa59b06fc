#include "game/base/SaveListFrm.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "engine/framework/File.h"
#include "engine/framework/FileSpecs.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/ModalList.h"
#include "game/base/save/QM3Doc.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

// The host folder that holds the saved games' folders.
fs::path SavedGamesRoot()
{
    fs::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        data = fs::path(home) / ".local" / "share";
    else
        data = fs::current_path() / ".local" / "share";
    return data / "kvl" / "Quillmark III";
}

} // namespace

bool IsPlainFileName(const char* name)
{
    if (!name || !*name || std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
        return false;
    return std::strpbrk(name, "\\/:") == nullptr;
}

std::unique_ptr<CFileSpec> MakeSavedGamesFolder(const CStr& folderName)
{
    if (!IsPlainFileName(folderName.GetText()))
        return nullptr;
    const fs::path root = SavedGamesRoot();
    std::error_code ec;
    fs::create_directories(root, ec);
    const char letter = fs::is_directory(root, ec) ? plat::DriveForFolder(root) : 0;
    if (!letter)
        return nullptr;
    auto folder = std::make_unique<CFileSpec>((std::string(1, letter) + ":\\").c_str());
    folder->Append(folderName.GetText());
    if (!folder->Exists())
        folder->Create(false);
    if (!folder->Exists() || !folder->IsFolder())
        return nullptr;
    return folder;
}

CSaveListFrm::CSaveListFrm(int32_t id, const CPoint& at, CBaseObj* notifyTarget, int32_t resultMessage,
                           const CStr& folderName, const CTplRec* slotFiles, int32_t nameOffset,
                           int32_t nameLength, const CStr* currentFile, int32_t screenList,
                           uint32_t libraryMask, bool existingOnly)
    : CFrame(kKindFrame, id, at, true), folder_(MakeSavedGamesFolder(folderName)),
      notifyTarget_(notifyTarget), nameOffset_(nameOffset), nameLength_(nameLength),
      resultMessage_(resultMessage)
{
    if (!folder_)
        return;
    status_ = 0;
    // Data without the screen leave the frame without one (nothing to show or run).
    if (GetLibMgr()->HasResource("TPL", screenList, libraryMask))
        screen_ = BuildHeldScreen(screenList, libraryMask, *this, this);
    RegisterLiveObject(this);
    if (slotFiles)
        FillList(*slotFiles, existingOnly);
    if (currentFile) {
        const int32_t index = fileNames_.FindEntry(currentFile);
        if (index >= 0) {
            chosen_ = index;
            chosenName_ = *displayNames_.GetEntry(index);
        }
    }
}

CSaveListFrm::~CSaveListFrm() = default;

void CSaveListFrm::FillList(const CTplRec& slotFiles, bool existingOnly)
{
    for (int32_t i = 0; i < slotFiles.GetEntryCount(); ++i) {
        const char* fileName = slotFiles.GetEntry(i)->GetText();
        // A name from the data that is no plain file name would reach outside the folder.
        if (!IsPlainFileName(fileName))
            continue;
        CStr name;
        const SlotContent content = ReadSlot(fileName, name);
        // A free slot is offered for saving only; a damaged one shows as untitled in both
        // dialogs, so the player sees the same list whether saving or opening.
        if (content == SlotContent::kNone && existingOnly)
            continue;
        displayNames_.Add(std::make_unique<CStr>(content == SlotContent::kNamed ? name : CStr(kUntitled)));
        fileNames_.Add(std::make_unique<CStr>(fileName));
    }
}

CSaveListFrm::SlotContent CSaveListFrm::ReadSlot(const char* fileName, CStr& name) const
{
    CFileSpec spec(*folder_);
    spec.Append(fileName);
    if (!spec.IsFile())
        return SlotContent::kNone;
    CFile file(&spec, CFile::kRead, 0);
    if (file.GetError() != CFile::kOk || nameLength_ < 0)
        return SlotContent::kDamaged;
    const auto read = [&file](void* to, int32_t n) {
        return file.Read(to, n) == CFile::kOk && file.GetTransferred() == n;
    };
    uint8_t header[CDoc::kHeaderSize];
    std::vector<char> buffer(static_cast<size_t>(nameLength_) + 1, '\0');
    char more[2];
    // A saved game holds its header, its name and at least a record's tag after it.
    if (!read(header, sizeof header) || !CQM3Doc::IsSavedGameHeader(header, sizeof header) ||
        file.Seek(nameOffset_) != CFile::kOk || !read(buffer.data(), nameLength_) || !read(more, sizeof more))
        return SlotContent::kDamaged;
    name = CStr(buffer.data());
    return SlotContent::kNamed;
}

bool CSaveListFrm::Choose(int32_t index)
{
    if (index < 0 || index >= fileNames_.GetEntryCount())
        return false;
    chosen_ = index;
    return true;
}

bool CSaveListFrm::HandleMessage(CMessage& message, CBaseObj*)
{
    switch (message.GetId()) {
    case kMsgPick: Choose(static_cast<int32_t>(message.GetParam(0))); break;
    case kMsgListPick: Choose(static_cast<int32_t>(message.GetParam(3))); break;
    case kMsgReport:
    case kMsgOk: Report(); break;
    case kMsgCancel:
        chosen_ = -1;
        cancelled_ = true;
        Report();
        break;
    default: break;
    }
    return true;
}

void CSaveListFrm::Report()
{
    CMessage result(resultMessage_, 0, 0, -1);
    result.SetParam(chosen_, 3);
    chosenSpec_.reset();
    if (chosen_ >= 0 && folder_) {
        chosenSpec_ = std::make_unique<CFileSpec>(*folder_);
        chosenSpec_->Append(fileNames_.GetEntry(chosen_)->GetText());
        result.SetParamPtr(chosenSpec_.get(), 2);
    }
    if (notifyTarget_)
        DeliverMessage(*notifyTarget_, result, this, false);
}
