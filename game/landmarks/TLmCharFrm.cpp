#include "game/landmarks/TLmCharFrm.h"

#include <algorithm>
#include <string>

#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/Str.h"
#include "engine/framework/Util.h"
#include "engine/resources/RawParser.h"
#include "game/landmarks/LandmarkTrip.h"
#include "game/landmarks/LmCharDataRecord.h"
#include "game/landmarks/LmCharFrm.h"
#include "game/travel/Party.h"

namespace {

constexpr const char* kFilenameZero = "Filename came back as zero";
constexpr const char* kNoRandomChoice = "All templates for Random choice are <= 0";
// The morale from which action 13 chooses among its five high-morale lists.
constexpr int16_t kHighMorale = 50;
// Values after an action: the four more candidates of 12, the five high-morale lists of 13.
constexpr int kRandomCandidates = 5;

enum Command : int32_t {
    kFilename = 0,
    kFilenameRandom = 1,
    kFilenameSeq = 2,
    kIdleAction = 4,
    kLoop = 10,
    kNotifyWhenDone = 11,
    kOnStop = 12,
    kOnContinue = 13,
    kCaption = 16,
    kPopupResId = 17,
    kTrade = 18,
    kPickMe = 19,
    kEnd = 101,
    kAutoPlay = 102,
    kClickMode = 103,
};

// Actions whose values the template language reads beyond the first.
enum Action : int32_t { kRandomList = 12, kMoraleList = 13, kStoredMessage = 15 };

// The video flag NOTIFYWHENDONE 1 sets.
constexpr uint32_t kNotifyFlag = 0x80;

// A candidate of 1 or more drawn at random among the n given; when none is, the report and
// the template's own value.
int32_t DrawCandidate(const int32_t* candidates, int32_t n, int32_t value, const char* caption,
                      const CLmCharDataRecord* record)
{
    if (std::none_of(candidates, candidates + n, [](int32_t v) { return v >= 1; })) {
        CTLmCharFrm::ErrorMessage(kNoRandomChoice, caption, record);
        return value;
    }
    for (;;) {
        const int32_t i = CUtil::Random(0, n - 1, 1);
        if (i >= 0 && i < n && candidates[i] >= 1)
            return candidates[i];
    }
}

void ReadValues(CRawParser* parser, const char* field, int32_t* out, int n)
{
    for (int i = 0; i < n; ++i)
        out[i] = parser->ReadLong(field);
}

} // namespace

CTLmCharFrm::CTLmCharFrm(int32_t kind, CRawParser* parser)
    : CTFrame(kind, parser), record_(std::make_unique<CLmCharDataRecord>())
{
    record_->SetTemplateId(parser->GetSourceId());
    record_->SetFileName(parser->ReadStr(kMaxFileName + 1));
    if (parser->ReadLong("VARIABLE params") != kVarParamStart) {
        ErrorMessage("Template missing required VARPARAM_START after fixed parameters in:",
                     "CTLmCharFrm::CTLmCharFrm", record_.get());
        return;
    }
    // Past the end of the text every value reads as 0 (FILENAME): a text cut short would
    // never end.
    while (parser->GetPos() < parser->GetEnd()) {
        if (!ProcessVarParams(parser->ReadLong("NextVarParam"), parser))
            return;
    }
    ErrorMessage("Template ends before its end command in:", "CTLmCharFrm::CTLmCharFrm", record_.get());
}

CTLmCharFrm::~CTLmCharFrm() = default;

bool CTLmCharFrm::ProcessVarParams(int32_t code, CRawParser* parser)
{
    CLmCharDataRecord& r = *record_;
    switch (code) {
    case kFilename: ProcessFilename(parser); return true;
    case kFilenameRandom: ProcessFileRange(parser, CLmCharDataRecord::kFileRandom); return true;
    case kFilenameSeq: ProcessFileRange(parser, CLmCharDataRecord::kFileSequence); return true;
    case kIdleAction: ProcessIdleAction(parser); return true;
    case kLoop: r.SetLoop(parser->ReadLong("LOOP:") == 1); return true;
    case kNotifyWhenDone:
        if (parser->ReadLong("NOTIFYWHENDONE:") == 1)
            r.SetFlags(r.GetFlags() | kNotifyFlag);
        return true;
    case kOnStop: ProcessOnStop(parser); return true;
    case kOnContinue: ProcessOnContinue(parser); return true;
    case kCaption: r.SetCaption(parser->ReadStr(kMaxCaption + 1)); return true;
    case kPopupResId: r.SetPopupResId(parser->ReadLong("DBLCLICK_POPUP_RESID:")); return true;
    case kTrade: r.SetTradeResId(parser->ReadLong("TRADE resid:")); return true;
    case kPickMe: r.SetPickMeResId(parser->ReadLong("PICKME resid:")); return true;
    case kAutoPlay: r.SetAutoPlay(parser->ReadLong("AUTOPLAY:") == 1); return true;
    case kClickMode: return ProcessClickMode(parser);
    case kEnd: return false;
    case 3:
    case 5:
    case 6:
    case 8:
    case 9:
    case 14:
        // Codes without a command of their own: reading goes on.
        return true;
    default:
        ErrorMessage("Template unknown cmd in  VARPARAM_START section", "CTLmCharFrm::ProcessVarParams.",
                     record_.get());
        return false;
    }
}

void CTLmCharFrm::ProcessFilename(CRawParser* parser)
{
    const int32_t id = parser->ReadLong("FILENAME:");
    record_->SetFileId(id);
    record_->SetFileMode(CLmCharDataRecord::kFileFixed);
    if (id == 0) {
        ErrorMessage(kFilenameZero, "CTLmCharFrm::ProcessFilename", record_.get());
        return;
    }
    record_->SetLibMask(static_cast<uint32_t>(parser->ReadLong("FILENAME LIBMASK:")));
}

void CTLmCharFrm::ProcessFileRange(CRawParser* parser, int32_t mode)
{
    const bool random = mode == CLmCharDataRecord::kFileRandom;
    const int32_t base = parser->ReadLong(random ? "FILENAME RANDOM:Base" : "FILENAME SEQ:Base");
    record_->SetFileId(base);
    record_->SetFileMode(mode);
    if (base == 0) {
        ErrorMessage(kFilenameZero,
                     random ? "CTLmCharFrm::ProcessFilenameRandom" : "CTLmCharFrm::ProcessFilenameSequence",
                     record_.get());
        return;
    }
    record_->SetLibMask(static_cast<uint32_t>(parser->ReadLong("FILENAME LIBMASK:")));
    record_->SetLineCount(parser->ReadLong(random ? "FILENAME RANDOM:#Lines" : "FILENAME SEQ:#Lines"));
    record_->SetDataKey(parser->ReadLong(random ? "FILENAME RANDOM:datakey" : "FILENAME RANDOM:data key"));
}

void CTLmCharFrm::ProcessIdleAction(CRawParser* parser)
{
    const int32_t pre = parser->ReadLong("IDLE ACTION Pre pause time:");
    const int32_t post = parser->ReadLong("IDLE ACTION Post pause time:");
    CLmCharDataRecord& r = *record_;
    r.SetPauses(pre, post);
    r.SetLoop(false);
    r.SetAutoPlay(false);
    r.SetClickMode(CLmCharFrm::kClickIdle);
    r.SetFileMode(CLmCharDataRecord::kFileIdle);
}

bool CTLmCharFrm::ProcessClickMode(CRawParser* parser)
{
    const int32_t mode = parser->ReadLong("CLICKMODE:");
    if (mode < 0 || mode > CLmCharFrm::kClickIdle) {
        ErrorMessage("Template unknown ClickMode in  CLICKMODE section", "CTLmCharFrm::ProcessClickMode",
                     record_.get());
        return false;
    }
    record_->SetClickMode(mode);
    return true;
}

int32_t CTLmCharFrm::ReadActionValues(CRawParser* parser, int32_t action, int32_t value, const char* field,
                                      const char* caption)
{
    switch (action) {
    case kRandomList: {
        int32_t candidates[kRandomCandidates] = {value};
        ReadValues(parser, field, candidates + 1, kRandomCandidates - 1);
        return DrawCandidate(candidates, kRandomCandidates, value, caption, record_.get());
    }
    case kMoraleList: {
        const int32_t low[2] = {value, parser->ReadLong(field)};
        // The five high-morale lists are read whatever the morale, so that the values after
        // them stay in step.
        int32_t high[kRandomCandidates];
        ReadValues(parser, field, high, kRandomCandidates);
        const CParty* party = GetTravelParty();
        if (party && party->GetMorale() >= kHighMorale)
            return DrawCandidate(high, kRandomCandidates, value, caption, record_.get());
        return DrawCandidate(low, 2, value, caption, record_.get());
    }
    case kStoredMessage: {
        const int32_t id = parser->ReadLong("ONCONTINUE value");
        const int32_t param1 = parser->ReadLong("ONCONTINUE value");
        const int16_t param2 = parser->ReadShort("ONCONTINUE value");
        record_->SetStoredMessage(std::make_unique<CMessage>(id, param1, param2, -1));
        return value;
    }
    default: return value;
    }
}

void CTLmCharFrm::ProcessOnStop(CRawParser* parser)
{
    const int32_t action = parser->ReadLong("ONSTOP Action");
    const bool hasValue =
        action == 5 || action == kRandomList || action == kMoraleList || action == kStoredMessage;
    int32_t value = hasValue ? parser->ReadLong("ONSTOP LOAD value") : 0;
    value = ReadActionValues(parser, action, value, "ONSTOP value", "CTLmCharFrm::ProcessOnStop");
    record_->AddOnStopAction(action, value);
}

void CTLmCharFrm::ProcessOnContinue(CRawParser* parser)
{
    const int32_t action = parser->ReadLong("ONCONTINUE Action");
    int32_t value = parser->ReadLong("ONCONTINUE value");
    value = ReadActionValues(parser, action, value, "ONCONTINUE value", "CTLmCharFrm::ProcessOnContinue");
    record_->AddOnContinueAction(action, value);
}

CTObj* CTLmCharFrm::Read(int32_t kind, CRawParser* parser) { return new CTLmCharFrm(kind, parser); }

CBaseObj* CTLmCharFrm::Create(CTObj* tpl)
{
    auto* t = static_cast<CTLmCharFrm*>(tpl);
    auto* character = new CLmCharFrm(t->GetId(), CPoint(t->GetRect().GetLeft(), t->GetRect().GetTop()));
    character->SetDataRecord(t->record_->Clone());
    return character;
}

void CTLmCharFrm::ErrorMessage(const char* message, const char* caption, const CLmCharDataRecord* record)
{
    if (!message || !caption) {
        ShowMessageBox("Error Message was NULL\n", "CTLmCharFrm::ErrorMessage", CMsgBox::kIconStop,
                       CMsgBox::kButtonsOk, 1);
        return;
    }
    std::string text = message;
    text += '\n';
    text += record ? record->GetFileName() : "";
    text += "\nTemplate ID:";
    text += std::to_string(record ? record->GetTemplateId() : 0);
    text += '\n';
    if (text.size() > kMaxErrorText)
        text.resize(kMaxErrorText);
    ShowMessageBox(text.c_str(), caption, CMsgBox::kIconExclamation, CMsgBox::kButtonsOk, 1);
}
