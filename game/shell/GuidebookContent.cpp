#include "game/shell/GuidebookContent.h"

#include <cstdint>

#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/RsrcBlock.h"

namespace {

constexpr int32_t kEndOfList = -1;

// Reads a field that can close a list. Past the text's end every field reads 0, so a list
// whose closing -1 is missing would never end: that is reported as a missing value.
int32_t ReadListField(CRawParser& parser, const char* label)
{
    parser.SkipBlanks();
    if (parser.GetPos() >= parser.GetEnd())
        parser.ReportParseError(CRawParser::kErrNotAValue, label, parser.GetPos(), 0);
    return parser.ReadLong(label);
}

// A section id is read as a long so that the end of text can be told apart; it must still fit
// a short.
int16_t ReadableShort(CRawParser& parser, int32_t value)
{
    if (value < INT16_MIN)
        parser.ReportParseError(CRawParser::kErrShortLow, "section id", parser.GetPos(), value);
    if (value > INT16_MAX)
        parser.ReportParseError(CRawParser::kErrShortHigh, "section id", parser.GetPos(), value);
    return static_cast<int16_t>(value);
}

GbkPage ReadPage(CRawParser& parser, int32_t strListId)
{
    GbkPage page;
    page.strListId = strListId;
    page.movieId = parser.ReadLong("movie id");
    page.soundId = parser.ReadLong("sound id");
    page.voiceId = parser.ReadLong("voice id");
    for (int32_t pict = ReadListField(parser, "pict id"); pict != kEndOfList;
         pict = ReadListField(parser, "pict id"))
        page.pictIds.push_back(pict);
    return page;
}

GbkSection ReadSection(CRawParser& parser, int16_t id)
{
    GbkSection s;
    s.id = id;
    s.type = parser.ReadShort("section type");
    s.tabV = parser.ReadShort("tab y loc");
    s.tabH = parser.ReadShort("tab x loc");
    s.tabImageId = parser.ReadLong("tab imgid");
    s.iconV = parser.ReadShort("icon y loc");
    s.iconH = parser.ReadShort("icon x loc");
    s.list1Top = parser.ReadShort("list1 y loc");
    s.list1Left = parser.ReadShort("list1 x loc");
    s.list1Items = parser.ReadShort("list1 items");
    s.list2Top = parser.ReadShort("list2 y loc");
    s.list2Left = parser.ReadShort("list2 x loc");
    s.list2Items = parser.ReadShort("list2 items");
    s.listHeight = parser.ReadShort("list ht");
    s.listWidth = parser.ReadShort("list wd");
    s.listFont = parser.ReadShort("list fnt");
    s.normColor = parser.ReadLong("list norm color");
    s.hiliteColor = parser.ReadLong("list hilit color");
    s.contentsStrListId = parser.ReadLong("contents strlst id");
    s.iconPictId = parser.ReadLong("icon pict id");
    for (int32_t strList = ReadListField(parser, "strlst id"); strList != kEndOfList;
         strList = ReadListField(parser, "strlst id"))
        s.pages.push_back(ReadPage(parser, strList));
    s.contentsScreens = ContentsScreenCount(s.PageCount(), s.PerScreen());
    return s;
}

} // namespace

int32_t ContentsScreenCount(int32_t items, int32_t perScreen)
{
    if (perScreen <= 0 || items <= 0)
        return 0;
    return (items + perScreen - 1) / perScreen;
}

GbkContent ReadGuidebookContent(CRsrcBlock* text, uint32_t includeMask)
{
    GbkContent content;
    CRawParser parser(text, includeMask);
    parser.Preprocess();
    parser.LockSource();
    parser.SkipBlanks();
    if (parser.GetPos() < parser.GetEnd()) {
        content.backgroundImageId = parser.ReadLong("background image id");
        content.masterStrListId = parser.ReadLong("master strlst id");
        content.screenTemplateId = parser.ReadLong("scrn template id");
        content.buttonSoundId = parser.ReadLong("bttn sound id");
        content.moreStrListId = parser.ReadLong("More on next page strlst id");
        for (int32_t id = ReadListField(parser, "section id"); id != kEndOfList;
             id = ReadListField(parser, "section id"))
            content.sections.push_back(ReadSection(parser, ReadableShort(parser, id)));
    }
    parser.UnlockSource();
    return content;
}

GbkContent LoadGuidebookContent()
{
    std::unique_ptr<CRsrcBlock> text = GetLibMgr()->LoadResource("GBK", 1, CLibMgr::kAllLibraries, false);
    if (!text)
        return {};
    return ReadGuidebookContent(text.get(), CLibMgr::kAllLibraries);
}
