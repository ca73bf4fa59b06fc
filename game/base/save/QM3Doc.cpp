#include "game/base/save/QM3Doc.h"

#include <cstring>
#include <string>

#include "engine/framework/MsgBox.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/BigEndian.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/save/SaveGameHost.h"

namespace {

constexpr const char* kExtension = "qm3";
constexpr const char* kFilter = "*.qm3";
constexpr int32_t kPadding = CQM3Doc::kNameOffset - CDoc::kHeaderSize;
constexpr int16_t kModuleCount = 12;
constexpr int16_t kSuspended = 3;

// Entry n of a string list from every library, empty when there is none.
std::string ListEntry(int32_t list, int32_t n)
{
    const std::unique_ptr<CTplRec> record = CreateTplRec(list, 0xFFFFFFFFu, false);
    const CStr* entry = record ? record->GetEntry(n) : nullptr;
    return entry ? entry->GetText() : "";
}

void ShowStop(const std::string& text, const char* caption)
{
    ShowMessageBox(text.c_str(), caption, CMsgBox::kIconStop, CMsgBox::kButtonsOk, 1);
}

} // namespace

bool IsKnownDisc(int32_t disc)
{
    return disc == 0 || (disc > 0 && !ListEntry(CQM3Doc::kDiscNameList, disc).empty());
}

CQM3Doc::CQM3Doc(const char* name)
    : CDoc(kExtension, kFilter, name, nullptr), disc_(1), diary_(std::make_unique<CDiary>())
{
}

CQM3Doc::CQM3Doc(std::unique_ptr<CFileSpec> spec)
    : CDoc(kExtension, kFilter, nullptr, std::move(spec)), disc_(0), diary_(std::make_unique<CDiary>())
{
}

CQM3Doc::~CQM3Doc() = default;

// ---------------------------------------------------------------------------------------------
// Messages

int32_t CQM3Doc::LoadMessageEntry(int16_t code)
{
    switch (code) {
    case kOk:
    case kNoFileChosen: return -1;
    case kBadMagic:
    case kWrongType: return 14;
    case kBadVersion: return 15;
    default: return 9;
    }
}

int32_t CQM3Doc::SaveMessageEntry(int16_t code)
{
    switch (code) {
    case kOk:
    case kNoFileChosen: return -1;
    case kTooManyOpenFiles: return 12;
    case kInvalidHandle: return 10;
    case kAccessDenied: return 11;
    default: return 13;
    }
}

// Shows the failure's message and drops the file spec; the file itself stays as it is.
void CQM3Doc::Fail(int16_t code, int32_t entry)
{
    if (code == kOk || code == kNoFileChosen)
        return;
    const std::string text = ListEntry(kStringList, entry);
    ShowMessageBox(text.c_str(), nullptr, CMsgBox::kIconExclamation, CMsgBox::kButtonsOk, 1);
    ReplaceFileSpec(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Saving

int16_t CQM3Doc::Save(plat::WindowHandle owner, const char* text)
{
    int16_t code = OpenForSave(owner, text);
    if (code == kOk) {
        WriteGame();
        code = CommitSave();
    }
    Fail(code, SaveMessageEntry(code));
    return code;
}

void CQM3Doc::WriteGame()
{
    WriteHeader(kDocType, kVersion);
    const uint8_t zeros[kPadding] = {};
    Write(zeros, kPadding);
    WriteName();
    WriteLong(disc_);
    diary_->Save(*this);
    CSaveGameHost& host = GetSaveGameHost();
    if (host.HasTravel()) {
        WriteShort(kTagTravel);
        host.SaveTravel(*this);
    }
    if (HasLMFlags())
        WriteFlags();
    WriteShort(kTagEnd);
}

void CQM3Doc::WriteName()
{
    uint8_t field[kNameSize] = {};
    if (name_) {
        const auto length = static_cast<size_t>(std::min(name_->GetLength(), kNameSize - 1));
        std::memcpy(field, name_->GetText(), length);
    }
    Write(field, kNameSize);
}

void CQM3Doc::WriteFlags()
{
    int16_t count = 0;
    for (const LMFlag& flag : flags_)
        count = static_cast<int16_t>(count + (flag.id != 0 ? 1 : 0));
    WriteShort(kTagFlags).WriteShort(count);
    for (const LMFlag& flag : flags_)
        if (flag.id != 0)
            WriteLong(flag.id).WriteLong(flag.value);
}

// ---------------------------------------------------------------------------------------------
// Loading

bool CQM3Doc::IsSavedGameHeader(const uint8_t* bytes, size_t size)
{
    BigEndianReader in(bytes, size);
    uint32_t magic = 0, type = 0;
    uint16_t version = 0;
    return in.ReadU32(magic) && in.ReadU32(type) && in.ReadU16(version) && magic == kMagic &&
           type == kDocType && version == kVersion;
}

int16_t CQM3Doc::Load()
{
    loading_ = true;
    bool travelBegan = false;
    int16_t code = ReadGame(travelBegan);
    CloseFile();
    // A trip whose state was read in part cannot go on.
    if (code != kOk && code != kNoFileChosen && travelBegan)
        GetSaveGameHost().ResetTrip();
    loading_ = false;
    Fail(code, LoadMessageEntry(code));
    return code;
}

int16_t CQM3Doc::ReadGame(bool& travelBegan)
{
    if (OpenForLoad() != kOk || ReadHeader(kDocType, kVersion, kVersion) != kOk)
        return GetError();
    uint8_t padding[kPadding];
    Read(padding, kPadding);
    ReadName();
    int32_t disc = 0;
    ReadLong(disc);
    if (GetError() != kOk)
        return GetError();
    // A disc the data cannot name would leave the game without its libraries.
    if (!IsKnownDisc(disc))
        return kStreamFailure;
    disc_ = disc;
    if (!GetSaveGameHost().SwitchDisc(disc))
        return kNoFileChosen;
    ClearLMFlags();
    return ReadRecords(travelBegan);
}

void CQM3Doc::ReadName()
{
    char field[kNameSize + 1] = {};
    if (Read(field, kNameSize) != kOk)
        return;
    name_ = std::make_unique<CStr>(field, static_cast<int32_t>(strnlen(field, kNameSize)));
}

int16_t CQM3Doc::ReadRecords(bool& travelBegan)
{
    CSaveGameHost& host = GetSaveGameHost();
    while (GetError() == kOk) {
        int16_t tag = -1;
        if (ReadShort(tag).GetError() != kOk)
            break;
        switch (tag) {
        case kTagModules: ReadModuleState(); break;
        case kTagDiary: diary_->Load(*this); break;
        case kTagTravel:
            travelBegan = true;
            if (host.HasTravel())
                host.LoadTravel(*this);
            break;
        case kTagFlags: ReadFlags(); break;
        case kTagEnd:
            if (host.HasTravel())
                host.UpdatePartyAfterLoad();
            return GetError();
        default: SetError(kStreamFailure); break;
        }
    }
    return GetError();
}

void CQM3Doc::ReadFlags()
{
    int16_t count = 0;
    if (ReadShort(count).GetError() != kOk)
        return;
    if (count < 1 || count > kFlagCount) {
        SetError(kStreamFailure);
        return;
    }
    ClearLMFlags();
    for (int16_t i = 0; i < count && GetError() == kOk; ++i) {
        LMFlag flag;
        ReadLong(flag.id).ReadLong(flag.value);
        if (GetError() == kOk && flag.id == 0)
            SetError(kStreamFailure);
        flags_[static_cast<size_t>(i)] = flag;
    }
}

// The module manager's record: the current index (unused), a count N, then N entries of
// index, frame kind (unused) and state, each followed by that module's own state.
void CQM3Doc::ReadModuleState()
{
    CSaveGameHost& host = GetSaveGameHost();
    int16_t current = 0;
    int16_t count = 0;
    if (ReadShort(current).ReadShort(count).GetError() != kOk)
        return;
    if (count < 0 || count > kModuleCount) {
        SetError(kStreamFailure);
        return;
    }
    for (int16_t i = 0; i < count && GetError() == kOk; ++i) {
        int16_t index = 0;
        int16_t kind = 0;
        int16_t state = 0;
        if (ReadShort(index).ReadShort(kind).ReadShort(state).GetError() != kOk)
            return;
        if (index < 0 || index >= kModuleCount || !host.HasModule(index)) {
            SetError(kStreamFailure);
            return;
        }
        host.LoadModule(index, *this);
        if (GetError() != kOk)
            return;
        host.SwitchClose();
        host.Activate();
        if (state == kSuspended)
            host.SwitchSuspend();
    }
}

// ---------------------------------------------------------------------------------------------
// Landmark flags

void CQM3Doc::ClearLMFlags() { flags_.fill(LMFlag{}); }

bool CQM3Doc::HasLMFlags() const
{
    for (const LMFlag& flag : flags_)
        if (flag.id != 0)
            return true;
    return false;
}

void CQM3Doc::SetLMFlag(int32_t id, int32_t value)
{
    // The first entry holding the id wins; a free entry met before it takes a new copy, so a
    // flag can be held twice (GetLMFlag then finds the newer copy first).
    for (LMFlag& flag : flags_)
        if (flag.id == id || flag.id == 0) {
            flag.id = id;
            flag.value = value;
            return;
        }
    ShowStop("Array full...Can't hold LMFlag.  Increase the size.  (Flag # " + std::to_string(id) + ")\n",
             "CQM3Doc::SetLMFlag");
}

int32_t CQM3Doc::GetLMFlag(int32_t id) const
{
    for (const LMFlag& flag : flags_)
        if (flag.id == id)
            return flag.value;
    return -1;
}

void CQM3Doc::ClearLMFlag(int32_t id)
{
    // Every copy goes, so that an older copy cannot come back.
    bool found = false;
    for (LMFlag& flag : flags_)
        if (flag.id == id) {
            flag = LMFlag{};
            found = true;
        }
    if (!found)
        ShowStop("Item not found in Flags index " + std::to_string(id) + "\n", "CQM3Doc::ClearLMFlag");
}
