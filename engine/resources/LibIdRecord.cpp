// The identity record "LID" 1 of a library, compiled as a typed record: mask, version and id
// at offsets 0, 4 and 8, two strings at 12 and 16.
#include "engine/framework/Str.h"
#include "engine/resources/FormatList.h"
#include "engine/resources/ResLib.h"
#include "engine/resources/TextRsrc.h"

bool CompileLibId(std::unique_ptr<CRsrcBlock> record, LibIdentity& out)
{
    if (!record || record->GetSize() < 1)
        return false;
    // The application defines the format at start; a program without one (a tool) gets it here.
    if (!CFormatList::Get().Lookup("LID"))
        AddLibIdFormat();
    CTextRsrc identity(std::move(record), 0xFFFFFFFF);
    if (!identity.IsCompiled())
        return false;
    uint32_t number = 0;
    if (identity.GetBytes(&number, 4, 0))
        out.mask = number;
    if (identity.GetBytes(&number, 4, 4))
        out.version = number;
    if (identity.GetBytes(&number, 4, 8))
        out.id = static_cast<int32_t>(number);
    out.firstText = identity.TakeString(12);
    out.secondText = identity.TakeString(16);
    return true;
}
