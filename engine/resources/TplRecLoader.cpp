#include "engine/resources/TplRecLoader.h"

#include "engine/framework/TplRec.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"

int32_t LoadTplRec(CTplRec& record, int32_t id, uint32_t mask, bool report)
{
    record.Clear();
    record.SetId(-1);
    std::unique_ptr<CRsrcBlock> text = GetLibMgr()->LoadResource("STR", id, mask, report);
    if (!text)
        return -1;
    CRawParser parser(text.get(), mask);
    record.SetId(id);
    parser.Preprocess();
    parser.LockSource();
    // The position is tested before blanks are skipped, so a text of only blanks or
    // comments gives one empty entry.
    while (parser.GetPos() < parser.GetEnd())
        record.Add(parser.ReadStr(kMaxStringListEntry + 1));
    parser.UnlockSource();
    return id;
}

std::unique_ptr<CTplRec> CreateTplRec(int32_t id, uint32_t mask, bool report)
{
    auto record = std::make_unique<CTplRec>();
    if (LoadTplRec(*record, id, mask, report) == -1)
        return nullptr;
    return record;
}
