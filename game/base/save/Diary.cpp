#include "game/base/save/Diary.h"

#include "engine/framework/Diag.h"
#include "engine/framework/Doc.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/save/SaveGameHost.h"

namespace {

const CStr kLineEnd("\r\n");

} // namespace

CDiary::CDiary() : entries_(CreateTplRec(kStringList, 0xFFFFFFFFu, false)) {}

void CDiary::AppendLine(const CStr* text)
{
    if (text)
        text_.Append(*text);
    text_.Append(kLineEnd);
}

void CDiary::PostString(int16_t n)
{
    if (!entries_ || n >= kEntryCount)
        return;
    const CStr* entry = entries_->GetEntry(n);
    if (!entry || entry->IsEmpty())
        return;
    if (n >= 0 && n <= kLastDatedEntry)
        PostDateHeading();
    AppendLine(entry);
}

void CDiary::PostDiary(std::unique_ptr<CStr> text)
{
    if (!text) {
        ReportError(kReportFatal, "Post diary with NULL Cstring", "diary", 189);
        return;
    }
    if (text->IsEmpty())
        return;
    PostDateHeading();
    AppendLine(text.get());
}

void CDiary::PostDateHeading()
{
    if (!entries_) {
        ReportError(kReportFatal, "Diary String List not found.", "diary", 213);
        return;
    }
    const std::optional<CDate> date = GetSaveGameHost().GetCurDate();
    if (!date)
        return;
    const std::unique_ptr<CStr> line = date->Format(CDate::kLongWithDayName);
    if (line && !line->IsEmpty())
        AppendLine(line.get());
}

void CDiary::Save(CDoc& doc) const { doc.WriteShort(kRecordTag).WriteString(text_); }

void CDiary::Load(CDoc& doc)
{
    CStr stored;
    doc.ReadString(stored);
    if (doc.GetError() == CDoc::kOk)
        text_ = stored;
}
