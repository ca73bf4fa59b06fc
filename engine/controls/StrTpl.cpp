#include "engine/controls/StrTpl.h"

#include "engine/controls/BTplList.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Str.h"
#include "engine/resources/RawParser.h"

CStrTpl::CStrTpl(int32_t kind, CRawParser* parser, bool literal) : CTWind(kind, parser)
{
    if (literal) {
        title_ = parser->ReadStr(kMaxTitle);
    } else {
        strListId_ = parser->ReadLong("strlistid");
        strLibMask_ = static_cast<uint32_t>(parser->ReadLong("strlibmsk"));
        strIndex_ = parser->ReadLong("strindex");
    }
}

CStrTpl::CStrTpl(const CStrTpl& other)
    : CTWind(other), title_(other.title_ ? std::make_unique<CStr>(*other.title_) : nullptr),
      strListId_(other.strListId_), strLibMask_(other.strLibMask_), strIndex_(other.strIndex_)
{
}

CStrTpl::~CStrTpl() = default;

std::unique_ptr<CStr> CStrTpl::MakeTitle() const
{
    if (title_)
        return std::make_unique<CStr>(*title_);
    std::unique_ptr<CStr> text;
    if (CBTplList* list = GetTplList())
        list->GetString(strLibMask_, strListId_, strIndex_, nullptr, &text, nullptr);
    return text;
}

CWind* CStrTpl::FindParent() const
{
    if (CWind* parent = CWind::FindWnd(GetParentId()))
        return parent;
    return CWind::GetActiveWnd();
}

CTObj* CStrTpl::ReadByReference(int32_t kind, CRawParser* parser) { return new CStrTpl(kind, parser, false); }

CTObj* CStrTpl::ReadLiteral(int32_t kind, CRawParser* parser) { return new CStrTpl(kind, parser, true); }

std::optional<CPoint> PositionInParent(const CPoint* position, CWind* parent)
{
    if (!position)
        return std::nullopt;
    CPoint at = *position;
    if (parent)
        parent->LocalToScreenPt(at);
    return at;
}
