#include "game/landmarks/LmCharDataRecord.h"

#include "engine/framework/Message.h"
#include "engine/framework/Str.h"
#include "game/landmarks/TLmCharFrm.h"

namespace {

constexpr const char* kInvalidAction = "Invalid action selected.";

} // namespace

CLmCharDataRecord::CLmCharDataRecord() = default;
CLmCharDataRecord::~CLmCharDataRecord() = default;

namespace {

template <class T> std::unique_ptr<T> CopyOf(const std::unique_ptr<T>& p)
{
    return p ? std::make_unique<T>(*p) : nullptr;
}

} // namespace

CLmCharDataRecord::CLmCharDataRecord(const CLmCharDataRecord& o)
    : fileId_(o.fileId_), libMask_(o.libMask_), lineCount_(o.lineCount_), dataKey_(o.dataKey_),
      flags_(o.flags_), clickMode_(o.clickMode_), loop_(o.loop_), postPause_(o.postPause_),
      prePause_(o.prePause_), autoPlay_(o.autoPlay_), continue_(o.continue_), caption_(CopyOf(o.caption_)),
      stop_(o.stop_), pickMeResId_(o.pickMeResId_), tradeResId_(o.tradeResId_), popupResId_(o.popupResId_),
      fileMode_(o.fileMode_), fileName_(CopyOf(o.fileName_)), templateId_(o.templateId_),
      message_(CopyOf(o.message_))
{
}

std::unique_ptr<CLmCharDataRecord> CLmCharDataRecord::Clone() const
{
    return std::unique_ptr<CLmCharDataRecord>(new CLmCharDataRecord(*this));
}

bool CLmCharDataRecord::IsStopAction(int32_t action)
{
    switch (action) {
    case 0:
    case 5:
    case 10:
    case 11:
    case 12:
    case 13:
    case 15: return true;
    default: return false;
    }
}

bool CLmCharDataRecord::IsContinueAction(int32_t action)
{
    switch (action) {
    case 0:
    case 1:
    case 3:
    case 4:
    case 5:
    case 7:
    case 8:
    case 9:
    case 10:
    case 12:
    case 13:
    case 15: return true;
    default: return false;
    }
}

bool CLmCharDataRecord::Add(ActionList& list, bool accepted, int32_t action, int32_t value,
                            const char* caption)
{
    // A template holds at most two entries a list: a third is refused like a wrong action.
    if (!accepted || list.count >= kMaxActions) {
        CTLmCharFrm::ErrorMessage(kInvalidAction, caption, this);
        return false;
    }
    list.actions[static_cast<size_t>(list.count)] = action;
    list.values[static_cast<size_t>(list.count)] = value;
    ++list.count;
    return true;
}

bool CLmCharDataRecord::AddOnStopAction(int32_t action, int32_t value)
{
    return Add(stop_, IsStopAction(action), action, value, "CLmCharDataRecord::AddOnStopAction");
}

bool CLmCharDataRecord::AddOnContinueAction(int32_t action, int32_t value)
{
    return Add(continue_, IsContinueAction(action), action, value, "CLmCharDataRecord::AddOnContinueAction");
}

int32_t CLmCharDataRecord::GetStopAction(int16_t i) const { return stop_.ActionAt(i); }
int32_t CLmCharDataRecord::GetStopValue(int16_t i) const { return stop_.ValueAt(i); }
int32_t CLmCharDataRecord::GetContinueAction(int16_t i) const { return continue_.ActionAt(i); }
int32_t CLmCharDataRecord::GetContinueValue(int16_t i) const { return continue_.ValueAt(i); }

const char* CLmCharDataRecord::GetFileName() const { return fileName_ ? fileName_->GetText() : ""; }
void CLmCharDataRecord::SetFileName(std::unique_ptr<CStr> name) { fileName_ = std::move(name); }
void CLmCharDataRecord::SetCaption(std::unique_ptr<CStr> caption) { caption_ = std::move(caption); }

std::unique_ptr<CMessage> CLmCharDataRecord::TakeStoredMessage() { return std::move(message_); }
void CLmCharDataRecord::SetStoredMessage(std::unique_ptr<CMessage> message) { message_ = std::move(message); }
