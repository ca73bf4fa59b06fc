#include "launcher/ButtonRecord.h"

#include <memory>

#include "engine/framework/Str.h"
#include "engine/resources/FormatList.h"
#include "engine/resources/TextRsrc.h"

namespace tour {
namespace {

// Walks the record's items in order, each read as the kind the button record expects.
class ItemReader {
public:
    explicit ItemReader(CTextRsrc& record) : record_(record), items_(record.GetItems()) {}

    size_t Remaining() const { return items_.size() - next_; }
    bool NextIsString() const
    {
        return next_ < items_.size() &&
               (items_[next_].code == kFmtString || items_[next_].code == kFmtFString);
    }
    bool NextIsNumber() const
    {
        return next_ < items_.size() && !NextIsString() && items_[next_].code != kFmtList &&
               items_[next_].code != kFmtEndList;
    }
    bool String(std::string& out)
    {
        if (!NextIsString())
            return false;
        const std::unique_ptr<CStr> text = record_.TakeString(items_[next_++].offset);
        out = text && text->GetText() ? text->GetText() : "";
        return true;
    }
    bool Number(int32_t& out)
    {
        if (!NextIsNumber())
            return false;
        out = record_.GetSignedNumber(items_[next_++]);
        return true;
    }
    bool ListCount() { return next_ < items_.size() && items_[next_++].code == kFmtList; }

private:
    CTextRsrc& record_;
    const std::vector<CTextRsrc::Item>& items_;
    size_t next_ = 0;
};

bool ReadEntry(ItemReader& reader, ButtonEntry& entry)
{
    int32_t unused = 0;
    int32_t endFlag = 0;
    return reader.String(entry.label) && reader.Number(unused) && reader.String(entry.command) &&
           reader.Number(unused) && reader.String(entry.failure) && reader.Number(endFlag) &&
           reader.Number(unused) && ((entry.endsTour = endFlag != 0), true);
}

} // namespace

std::optional<ButtonRecord> ReadButtonRecord(CTextRsrc& record)
{
    ItemReader reader(record);
    ButtonRecord button;
    const bool header = reader.String(button.title) && reader.String(button.windowTitle) &&
                        reader.String(button.windowClass) && reader.String(button.borderTitle) &&
                        reader.Number(button.left) && reader.Number(button.top) &&
                        reader.Number(button.halfSpacing) && reader.Number(button.fontId) &&
                        reader.Number(button.hoverColour) && reader.Number(button.normalColour) &&
                        reader.String(button.caption) && reader.String(button.extra) &&
                        (reader.Remaining() == 0 || reader.ListCount()); // an empty list may store no count
    if (!header)
        return std::nullopt;
    // The entries are those the compiled list holds, whatever its stored count says.
    ButtonEntry entry;
    while (reader.Remaining() >= 7 && ReadEntry(reader, entry))
        button.entries.push_back(std::move(entry));
    return button;
}

ItemPlace PlaceItem(const ButtonRecord& record, size_t index, std::optional<int32_t> celHeight)
{
    // Wrapping arithmetic: the record's numbers are outside data.
    const uint32_t step = 2u * static_cast<uint32_t>(record.halfSpacing) * static_cast<uint32_t>(index);
    const auto top = static_cast<int32_t>(static_cast<uint32_t>(record.top) + step);
    const int32_t height = celHeight.value_or(kItemHeightWithoutImages);
    return {record.left, top, static_cast<int32_t>(static_cast<uint32_t>(record.left) + kItemWidth),
            static_cast<int32_t>(static_cast<uint32_t>(top) + static_cast<uint32_t>(height))};
}

} // namespace tour
