#include "game/shell/Guidebook.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TplList.h"
#include "engine/controls/imagectl/ImageControl.h"
#include "engine/controls/imagectl/ImgRadioWnd.h"
#include "engine/controls/input/TextBtnFrame.h"
#include "engine/controls/native/EditField.h"
#include "engine/controls/text/ScrollList.h"
#include "engine/framework/Diag.h"
#include "engine/framework/Message.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/CursorMgr.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/base/SoundSlots.h"
#include "game/base/save/Diary.h"
#include "game/base/save/QM3Doc.h"
#include "game/shell/GuidebookNav.h"

namespace {

constexpr uint8_t kFullLevel = 255;
constexpr int32_t kEntryDimColor = 0x10444444;
// Pictures stand this far above the bottom of the text area they illustrate.
constexpr int16_t kPictureLift = 30;
// The "more" notice: from this far right of the left edge, over the bottom rows.
constexpr int16_t kMoreIndent = 150;
constexpr int16_t kMoreHeight = 20;
constexpr int16_t kDiaryFont = 3;
// The game's ink (a palette index).
constexpr uint32_t kNoticeColor = 11;
// The tab the diary section lights, and the one previous turns off on reaching the first
// section.
constexpr size_t kDiaryTabSlot = 9;
constexpr size_t kSecondTabSlot = 1;
constexpr const char* kReportSource = "Guidebok";
constexpr const char* kLineEnd = "\r\n";

std::unique_ptr<CStr> Entry(const CTplRec* list, int32_t i)
{
    std::unique_ptr<CStr> text = list ? list->GetEntryString(i) : nullptr;
    return text ? std::move(text) : std::make_unique<CStr>("");
}

void SetText(CTextFrame* frame, std::unique_ptr<CStr> text)
{
    if (frame)
        frame->SetText(std::move(text));
}

void ShowFrame(CFrame* frame)
{
    if (frame)
        frame->Show(true);
}

void HideFrame(CFrame* frame)
{
    if (frame)
        frame->Hide(true, true);
}

template <class T> void DestroyFrame(T*& frame)
{
    if (frame) {
        frame->Destroy();
        frame = nullptr;
    }
}

bool EndsWithLineEnd(const CStr& text)
{
    const int32_t n = text.GetLength();
    return n >= 2 && std::strcmp(text.GetText() + n - 2, kLineEnd) == 0;
}

// The number of the master title list's first entry of section `index`: the pages of the
// sections before it.
int32_t FirstMasterEntry(const GbkContent& content, size_t index)
{
    int32_t number = 0;
    for (size_t i = 0; i < index && i < content.sections.size(); ++i)
        number += content.sections[i].PageCount();
    return number;
}

// The page clamped to the section's pages: a page number from outside (a gathering topic, a
// contents entry) may lie past them.
int32_t PageWithin(const GbkSection& section, int32_t page)
{
    int32_t last = 0;
    if (section.type == GbkSection::kContents)
        last = section.PageCount() - 1 + section.contentsScreens;
    else if (section.type == GbkSection::kIndex)
        last = section.contentsScreens - 1;
    return std::clamp(page, 0, std::max(last, 0));
}

// The master entry whose text is the key, or -1.
int32_t FindMasterEntry(const CTplRec* master, const CStr& key)
{
    if (!master)
        return -1;
    for (int32_t i = 0; i < master->GetEntryCount(); ++i) {
        const std::unique_ptr<CStr> entry = master->GetEntryString(i);
        if (entry && std::strcmp(entry->GetText(), key.GetText()) == 0)
            return i;
    }
    return -1;
}

} // namespace

CGuidebook::CGuidebook(const CRect& rect, int16_t variant, int16_t section, int16_t page)
    : CFrameModule(rect), variant_(variant), startSection_(section), startPage_(page), doc_(GetCurDoc())
{
}

CGuidebook::~CGuidebook()
{
    // The children go with the frame; only the diary needs its text back.
    WriteDiaryBack();
}

CDiary* CGuidebook::OpenGameDiary() const
{
    // The game the guidebook was opened over, while it is still the open one.
    return doc_ && doc_ == GetCurDoc() ? doc_->GetDiary() : nullptr;
}

void CGuidebook::OnAttach()
{
    content_ = LoadGuidebookContent();
    background_ = LoadImage("CBMP", 0, content_.backgroundImageId, false, 1);
    // Without content there is no book: the background alone.
    if (content_.sections.empty())
        return;
    for (GbkSection& section : content_.sections)
        if (section.type == GbkSection::kIndex)
            CountIndexScreens(section);
    masterStrings_ = CreateTplRec(content_.masterStrListId, CLibMgr::kAllLibraries, false);
    moreStrings_ = CreateTplRec(content_.moreStrListId, CLibMgr::kAllLibraries, false);
    MakeTabs();
    CTplList list(content_.screenTemplateId, CLibMgr::kAllLibraries, GetRsrcCache());
    list.Build(this, this, 0);
    FindControls();
    MakeMoreNotice();
    if (variant_ == 1) {
        ShowSection(content_.sections.front().id, 0);
    } else {
        const size_t index = static_cast<size_t>(std::max<int16_t>(startSection_, 0));
        const int32_t id = index < content_.sections.size() ? content_.sections[index].id : -1;
        ShowSection(id, startPage_);
    }
}

void CGuidebook::CountIndexScreens(GbkSection& section) const
{
    const std::unique_ptr<CTplRec> list =
        CreateTplRec(section.contentsStrListId, CLibMgr::kAllLibraries, false);
    const int32_t items = list ? (list->GetEntryCount() - 1) / 2 : 0;
    section.contentsScreens = ContentsScreenCount(items, section.PerScreen());
}

void CGuidebook::MakeTabs()
{
    const size_t count = std::min(content_.sections.size(), kTabSlots);
    for (size_t i = 0; i < count; ++i) {
        const GbkSection& section = content_.sections[i];
        if (section.tabImageId <= 0)
            continue;
        std::unique_ptr<CImgSet> images = LoadImage("CBMP", 0, section.tabImageId, false, 1);
        if (!images)
            continue;
        auto* tab = new CImgRadioWnd(-2, CPoint(section.tabH, section.tabV), kMsgButton, this,
                                     images.release(), kTabGroup, false, 0, 0);
        tab->SetNotifyParam(section.id, 0);
        tab->SetHelpId(section.tabImageId);
        AddChild(tab, false);
        tabs_[i] = tab;
    }
}

void CGuidebook::FindControls()
{
    auto text = [this](int32_t id) { return FindAs<CTextFrame>(id); };
    auto required = [this](int32_t id, uint32_t line) {
        CFrame* control = FindObject(CBaseObj::kAnyKind, id);
        if (!control)
            ReportError(kReportFatal, "Missing control.", kReportSource, line);
        return control;
    };
    controls_.leftHeading = text(kLeftHeading);
    controls_.rightHeading = text(kRightHeading);
    controls_.leftText = text(kLeftText);
    controls_.rightText = text(kRightText);
    controls_.singleText = text(kSingleText);
    controls_.voice = required(kVoice, 929);
    controls_.movie = required(kMovie, 935);
    controls_.sound = required(kSound, 941);
    controls_.previous = FindObject(CBaseObj::kAnyKind, kPrevious);
    controls_.next = FindObject(CBaseObj::kAnyKind, kNext);
}

void CGuidebook::MakeMoreNotice()
{
    const CRect& area = GetDrawnRect();
    const CRect rect(static_cast<int16_t>(area.GetBottom() - kMoreHeight),
                     static_cast<int16_t>(area.GetLeft() + kMoreIndent), area.GetBottom(), area.GetRight());
    more_ = new CScrollList(-2, rect, Entry(moreStrings_.get(), 0), kMoreFont, false, false);
    more_->SetTextColor(kNoticeColor);
    more_->SetShown(false);
    AddChild(more_, false);
}

const GbkSection* CGuidebook::CurrentSection() const
{
    const auto i = static_cast<size_t>(curSection_);
    return i < content_.sections.size() ? &content_.sections[i] : nullptr;
}

void CGuidebook::ShowSection(int32_t id, int32_t page)
{
    CBusyCursor busy;
    const auto found = std::find_if(content_.sections.begin(), content_.sections.end(),
                                    [id](const GbkSection& s) { return s.id == id; });
    const size_t index =
        found == content_.sections.end() ? 0 : static_cast<size_t>(found - content_.sections.begin());
    CloseDiaryEditor();
    ClearPage();
    if (index >= content_.sections.size())
        return;
    GbkSection& section = content_.sections[index];
    curSection_ = static_cast<int16_t>(index);
    page = PageWithin(section, page);
    const int32_t shown = SpreadStartPage(section, page);
    // A contents section without pages shows its (empty) contents screen.
    const bool contentsPage = section.type == GbkSection::kContents &&
                              (shown < section.contentsScreens || section.PageCount() == 0);
    if (contentsPage || section.type == GbkSection::kDiary || section.type == GbkSection::kIndex) {
        for (CFrame* f : {controls_.voice, controls_.movie, controls_.sound})
            HideFrame(f);
        for (CTextFrame* f :
             {controls_.leftText, controls_.rightText, controls_.singleText, controls_.rightHeading})
            HideFrame(f);
        const std::unique_ptr<CTplRec> contents =
            CreateTplRec(section.contentsStrListId, CLibMgr::kAllLibraries, false);
        SetText(controls_.leftHeading, Entry(contents.get(), 0));
        ShowFrame(controls_.leftHeading);
        ShowIcon(section);
        if (section.type == GbkSection::kDiary) {
            OpenDiaryEditor();
            CheckTab(kDiaryTabSlot);
        } else {
            if (section.type == GbkSection::kContents)
                ShowContentsScreen(section, index, shown);
            else
                ShowIndexScreen(section, contents.get(), shown);
            CheckTab(index);
        }
    } else if (section.type == GbkSection::kContents) {
        ShowSpread(section, shown);
    } else if (section.type == GbkSection::kSingleText) {
        ShowSingleText(section);
    }
    curPage_ = static_cast<int16_t>(page);
    Draw(true);
}

void CGuidebook::ClearPage()
{
    DestroyFrame(editor_);
    DestroyFrame(column1_);
    DestroyFrame(column2_);
    DestroyFrame(leftPicture_);
    DestroyFrame(rightPicture_);
    DestroyFrame(icon_);
    for (CTextFrame* f : {controls_.leftText, controls_.rightText, controls_.singleText}) {
        SetText(f, std::make_unique<CStr>(" "));
        HideFrame(f);
    }
    HideFrame(more_);
    Draw(true);
}

void CGuidebook::ShowContentsScreen(const GbkSection& section, size_t index, int32_t page)
{
    const int32_t perScreen = section.PerScreen();
    const int32_t first = page * perScreen;
    const int32_t masterBase = FirstMasterEntry(content_, index);
    MakeColumns(section);
    for (int32_t n = first; n < section.PageCount() && n - first < perScreen; ++n)
        AddEntry(section, n - first, Entry(masterStrings_.get(), masterBase + n), section.id,
                 section.contentsScreens + n);
    if (page + 1 < section.contentsScreens)
        ShowFrame(more_);
}

void CGuidebook::ShowIndexScreen(GbkSection& section, const CTplRec* contents, int32_t page)
{
    CountIndexScreens(section);
    const int32_t perScreen = section.PerScreen();
    const int32_t items = contents ? (contents->GetEntryCount() - 1) / 2 : 0;
    MakeColumns(section);
    int32_t row = 0;
    for (int32_t k = page * perScreen; k < items && row < perScreen; ++k) {
        // A key that names no page (or one past the last section) is skipped; the next item
        // takes its row.
        const std::unique_ptr<CStr> key = Entry(contents, 2 * k + 2);
        const std::optional<GbkPlace> place =
            PlaceOfMasterEntry(content_, FindMasterEntry(masterStrings_.get(), *key));
        if (!place)
            continue;
        const GbkSection& target = content_.sections[static_cast<size_t>(place->section)];
        AddEntry(section, row++, Entry(contents, 2 * k + 1), target.id, place->page);
    }
    if (page + 1 < section.contentsScreens)
        ShowFrame(more_);
}

void CGuidebook::MakeColumns(const GbkSection& section)
{
    auto column = [this, &section](int32_t id, int16_t top, int16_t left, int16_t items) {
        const CRect rect(top, left, static_cast<int16_t>(top + section.listHeight * items),
                         static_cast<int16_t>(left + section.listWidth));
        auto* frame = new CFrame(CFrame::kKindFrame, id, rect, true);
        AddChild(frame, false);
        return frame;
    };
    column1_ = column(kColumn1, section.list1Top, section.list1Left, section.list1Items);
    column2_ = column(kColumn2, section.list2Top, section.list2Left, section.list2Items);
}

void CGuidebook::AddEntry(const GbkSection& section, int32_t row, std::unique_ptr<CStr> label,
                          int32_t sectionId, int32_t page)
{
    const bool first = row < section.list1Items;
    CFrame* column = first ? column1_ : column2_;
    const int32_t rowInColumn = first ? row : row - section.list1Items;
    const int16_t top = first ? section.list1Top : section.list2Top;
    const int16_t left = first ? section.list1Left : section.list2Left;
    const CPoint at(left, static_cast<int16_t>(top + rowInColumn * section.listHeight));
    auto* entry = new CTextBtnFrame(-2, at, std::move(label), kMsgEntry, this, section.listFont, 0,
                                    section.normColor, section.hiliteColor, kEntryDimColor);
    entry->SetNotifyParam(sectionId, 0);
    entry->SetNotifyParam(page, 1);
    entry->SetTransparent(true);
    column->AddChild(entry, false);
}

void CGuidebook::ShowSpread(const GbkSection& section, int32_t page)
{
    HideFrame(controls_.singleText);
    const int32_t left = page - section.contentsScreens;
    const GbkPage& leftPage = section.pages[static_cast<size_t>(left)];
    const GbkPage* rightPage =
        left + 1 < section.PageCount() ? &section.pages[static_cast<size_t>(left + 1)] : nullptr;
    const std::unique_ptr<CTplRec> leftStrings =
        CreateTplRec(leftPage.strListId, CLibMgr::kAllLibraries, false);
    const std::unique_ptr<CTplRec> rightStrings =
        CreateTplRec(rightPage ? rightPage->strListId : kNoPageStrings, CLibMgr::kAllLibraries, false);
    SetText(controls_.leftHeading, Entry(leftStrings.get(), 0));
    SetText(controls_.leftText, Entry(leftStrings.get(), 1));
    SetText(controls_.rightHeading, Entry(rightStrings.get(), 0));
    SetText(controls_.rightText, Entry(rightStrings.get(), 1));
    for (CTextFrame* f :
         {controls_.leftHeading, controls_.leftText, controls_.rightHeading, controls_.rightText})
        ShowFrame(f);
    leftPage.soundId != 0 ? ShowFrame(controls_.sound) : HideFrame(controls_.sound);
    leftPage.voiceId != 0 ? ShowFrame(controls_.voice) : HideFrame(controls_.voice);
    HideFrame(controls_.movie);
    ShowIcon(section);
    leftPicture_ = ShowPicture(leftPage, controls_.leftText);
    if (rightPage)
        rightPicture_ = ShowPicture(*rightPage, controls_.rightText);
}

void CGuidebook::ShowSingleText(const GbkSection& section)
{
    for (CFrame* f : {controls_.voice, controls_.movie, controls_.sound})
        HideFrame(f);
    for (CTextFrame* f :
         {controls_.leftHeading, controls_.rightHeading, controls_.leftText, controls_.rightText})
        HideFrame(f);
    if (section.iconPictId != 0)
        ShowIcon(section);
    const std::unique_ptr<CTplRec> contents =
        CreateTplRec(section.contentsStrListId, CLibMgr::kAllLibraries, false);
    SetText(controls_.singleText, Entry(contents.get(), 0));
    ShowFrame(controls_.singleText);
}

void CGuidebook::ShowIcon(const GbkSection& section)
{
    std::unique_ptr<CImgSet> image = LoadImage("CBMP", 0, section.iconPictId, false, 1);
    if (!image)
        return;
    icon_ = new CImageWnd(-2, CPoint(section.iconH, section.iconV), image.release(), 0, 0, true);
    AddChild(icon_, false);
}

CImageWnd* CGuidebook::ShowPicture(const GbkPage& page, CFrame* textArea)
{
    if (page.pictIds.empty() || !textArea)
        return nullptr;
    std::unique_ptr<CImgSet> image = LoadImage("CBMP", 0, page.pictIds.front(), false, 1);
    if (!image)
        return nullptr;
    const CRect& area = textArea->GetDrawnRect();
    const CPoint bottomCentre(static_cast<int16_t>((area.GetLeft() + area.GetRight()) / 2),
                              static_cast<int16_t>(area.GetBottom() - kPictureLift));
    // Centred across, ending above the bottom.
    auto* picture = new CImageWnd(-2, bottomCentre, image.release(), 1, 2, true);
    AddChild(picture, false);
    return picture;
}

void CGuidebook::CheckTab(size_t slot)
{
    // A slot without a tab (a section without a tab picture, or past the eleventh) is skipped.
    if (slot < kTabSlots && tabs_[slot])
        tabs_[slot]->SetOn(true, true, false);
}

void CGuidebook::OpenDiaryEditor()
{
    const CDiary* diary = OpenGameDiary();
    auto text = std::make_unique<CStr>(diary ? diary->GetText().GetText() : "");
    editor_ = new CEditCtl(-2, CRect(kDiaryTop, kDiaryLeft, kDiaryBottom, kDiaryRight), 0, this,
                           std::move(text), kDiaryFont, CLibMgr::kAllLibraries, true, 0, 0);
    AddChild(editor_, false);
    editorOpen_ = true;
}

void CGuidebook::WriteDiaryBack()
{
    if (!editorOpen_)
        return;
    editorOpen_ = false;
    CDiary* diary = OpenGameDiary();
    if (!diary || !editor_)
        return;
    const std::unique_ptr<CStr> text = editor_->GetText();
    // The edited text ends with a line end of its own unless the player removed it; only
    // then is one added, so that the diary does not grow by a blank line at every visit.
    if (!text || text->IsEmpty() || EndsWithLineEnd(*text)) {
        diary->SetText(text ? *text : CStr(""));
    } else {
        diary->Clear();
        diary->AppendLine(text.get());
    }
}

void CGuidebook::CloseDiaryEditor()
{
    WriteDiaryBack();
    DestroyFrame(editor_);
}

bool CGuidebook::HandleMessage(CMessage& message, CBaseObj* sender)
{
    const int32_t id = message.GetId();
    if (id == kMsgEntry) {
        PlaySoundEffect(kEntrySound, kSoundStreamed, kFullLevel);
        ShowSection(static_cast<int32_t>(message.GetParam(0)), static_cast<int32_t>(message.GetParam(1)));
    } else if (id == kMsgButton) {
        switch (sender ? sender->GetId() : 0) {
        case kPrevious: Turn(PreviousPlace(content_, GbkPlace{curSection_, curPage_}), true); break;
        case kNext: Turn(NextPlace(content_, GbkPlace{curSection_, curPage_}), false); break;
        case kVoice: PlayPageSound(true); break;
        case kSound: PlayPageSound(false); break;
        case kMovie: break;
        default:
            PlaySoundEffect(kTabSound, kSoundStreamed, kFullLevel);
            ShowSection(static_cast<int32_t>(message.GetParam(0)), 0);
            break;
        }
    }
    return true;
}

void CGuidebook::Turn(std::optional<GbkPlace> place, bool backwards)
{
    if (!place)
        return;
    if (backwards && place->section == 0 && curSection_ != 0)
        if (CImgRadioWnd* tab = tabs_[kSecondTabSlot])
            tab->SetOn(false, true, false);
    ShowSection(content_.sections[static_cast<size_t>(place->section)].id, place->page);
    PlaySoundEffect(content_.buttonSoundId, kSoundStreamed, kFullLevel);
}

void CGuidebook::PlayPageSound(bool voice)
{
    const GbkSection* section = CurrentSection();
    if (!section || section->type != GbkSection::kContents)
        return;
    const int32_t left = SpreadStartPage(*section, curPage_) - section->contentsScreens;
    if (left < 0 || left >= section->PageCount())
        return;
    const GbkPage& page = section->pages[static_cast<size_t>(left)];
    const int32_t id = voice ? page.voiceId : page.soundId;
    if (id != 0)
        PlaySoundEffect(id, kSoundStreamed, kFullLevel);
}

void CGuidebook::DrawContent(CDrawEnv* env, const CRect& clip)
{
    if (background_)
        DrawImageAt(*background_, 0, env, CPoint(GetDrawnRect().GetLeft(), GetDrawnRect().GetTop()), clip);
}

void CGuidebook::TearDown()
{
    CloseDiaryEditor();
    ClearPage();
    for (CImgRadioWnd*& tab : tabs_)
        DestroyFrame(tab);
    std::vector<CFrame*> children;
    for (CFrame* child : ChildFrames(*this))
        children.push_back(child);
    for (CFrame* child : children)
        child->Destroy();
    controls_ = Controls{};
    more_ = nullptr;
    masterStrings_.reset();
    moreStrings_.reset();
}

void CGuidebook::Hide() { CloseDiaryEditor(); }

void CGuidebook::Suspend()
{
    TearDown();
    CFrameModule::Suspend();
}

void CGuidebook::Resume()
{
    CFrameModule::Resume();
    // Built afresh; the page shown is the one it was on.
    TearDown();
    const int16_t section = curSection_;
    const int16_t page = curPage_;
    variant_ = 0;
    startSection_ = section;
    startPage_ = page;
    OnAttach();
}
