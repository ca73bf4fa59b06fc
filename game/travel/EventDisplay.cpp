// Showing a route event: its dialog (or, without one, its clip on the travel screen), the
// choice the player takes, and the result box of a resolution.
#include <memory>
#include <string>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/native/Button.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "engine/graphics/ImgSet.h"
#include "engine/media/SmackerFrame.h"
#include "engine/media/SmkResource.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/base/ModalList.h"
#include "game/base/SoundSlots.h"
#include "game/travel/EventGen.h"
#include "game/travel/EventResolve.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/Trip.h"

namespace {

// The random effect sounds are 1031-1039.
constexpr int32_t kEffectBase = 1030;
constexpr uint8_t kEffectLevel = 255;
// The pictures of a record; mode 3 picks one of them at random.
constexpr int16_t kRandomPictureMode = 3;
constexpr int32_t kClipsPerPerson = 10000;

// The scene flag that keeps a food event alive (57 no food, 58 no greens, 60 no meat); -1 for
// other types.
int16_t FoodFlag(int32_t type) { return type == 57 ? 0 : type == 58 ? 13 : type == 60 ? 12 : -1; }

// Entry n of a string list as a new text ("" when the list or entry is missing).
std::unique_ptr<CStr> EntryText(int32_t list, int32_t n)
{
    const std::unique_ptr<CTplRec> strings = CreateTplRec(list, CLibMgr::kAllLibraries, false);
    const CStr* entry = strings && n >= 0 ? strings->GetEntry(n) : nullptr;
    return std::make_unique<CStr>(entry ? entry->GetText() : "");
}

void SetText(CFrame& root, int32_t id, std::unique_ptr<CStr> text)
{
    if (auto* frame = root.FindAs<CTextFrame>(id))
        frame->SetText(std::move(text));
}

// Fills the eight choice buttons: a choice without text is hidden, one whose flag is clear or
// whose item the party lacks is shown disabled. When the first choice cannot be pressed, the
// first one that can answers Enter in its place.
void FillChoices(CFrame& dialog, const CRouteEvent& event, const CEventGen* gen)
{
    CButton* firstEnabled = nullptr;
    for (int i = 0; i < CRouteEvent::kChoiceCount; ++i) {
        auto* button = dialog.FindAs<CButton>(CTripEvents::kFirstChoiceId + i);
        if (!button)
            continue;
        const int16_t text = event.GetTextNumber(i);
        if (text == 0) {
            button->Hide(true, false);
            continue;
        }
        button->SetText(EntryText(CTripEvents::kChoiceTextList, text - 1));
        const int16_t item = event.GetRequiredItem(i);
        const bool enabled = event.IsChoiceEnabled(i) && (item == 0 || (gen && gen->PartyHasItem(item)));
        button->Enable(enabled, false, false);
        if (enabled && !firstEnabled)
            firstEnabled = button;
    }
    if (firstEnabled && !firstEnabled->IsDefault())
        firstEnabled->SetDefault(true);
}

// A travelling member other than the leader, drawn at random; the caller makes sure one exists.
const CPartyMember* DrawTraveller(const CParty& party)
{
    const int16_t n = party.CountMembers(false);
    for (;;) {
        const CPartyMember* m = party.GetMember(static_cast<int16_t>(CUtil::Random(1, n - 1)));
        if (m && m->GetStatus() != 0 && m->GetStatus() != 1)
            return m;
    }
}

// The traveller's clip in the clip place; a clip that does not exist leaves the place empty.
// The clip opens once the dialog is on the screen and plays as soon as it has opened.
void AddTravellerClip(CFrame& dialog, const CPartyMember& traveller, int32_t type)
{
    auto* place = dialog.FindObject(CBaseObj::kAnyKind, CTripEvents::kClipPlaceId);
    const int32_t clip = traveller.GetPersonIndex() * kClipsPerPerson + type;
    if (!place || !FindSmkResource(clip, CLibMgr::kAllLibraries))
        return;
    place->AddChild(new CSmackerFrame(-2, CPoint(CTripEvents::kClipX, CTripEvents::kClipY), clip,
                                      CLibMgr::kAllLibraries, CSmackerFrame::kAutoPlay, nullptr, 0),
                    false);
}

void ShowPicture(CFrame& dialog, const CRouteEvent& event)
{
    auto* picture = dialog.FindAs<CImageWnd>(CTripEvents::kPictureId);
    if (!picture)
        return;
    const int index = event.GetPictureMode() == kRandomPictureMode ? CUtil::Random(0, 4) : 0;
    if (std::unique_ptr<CImgSet> image = LoadImage("CBMP", 0, event.GetPicture(index), false, 1))
        picture->SetImages(image.release());
}

} // namespace

bool CTripEvents::CanChoose(const CRouteEvent& event, int i, const CEventGen* gen)
{
    const int16_t item = event.GetRequiredItem(i);
    return event.GetTextNumber(i) != 0 && event.IsChoiceEnabled(i) &&
           (item == 0 || (gen && gen->PartyHasItem(item)));
}

int CTripEvents::FirstChoice(const CRouteEvent& event, const CEventGen* gen)
{
    for (int i = 0; i < CRouteEvent::kChoiceCount; ++i)
        if (CanChoose(event, i, gen))
            return i;
    return 0;
}

void CTripEvents::ShowEvent(CEventQueue& queue, CRouteEvent& event)
{
    const int16_t flag = FoodFlag(event.GetType());
    if (flag >= 0 && !trip_.GetSceneFlag(flag)) {
        event.SetState(CRouteEvent::kFinished);
        return;
    }
    // The log names the events the player is shown (a dialog or a clip), once each.
    if (event.GetState() == CRouteEvent::kNew)
        WriteEventLogLine("event", trip_.GetCurDate(), {event.GetType()});
    if (event.GetDisplayKind() == CRouteEvent::kNoDialog) {
        // The travel screen shows the event's clip itself; the step stays as it was.
        queue.SetNotifyWord(event.GetPicture(0));
        trip_.SendToTravelFrame(kMsgEventClip);
    } else {
        const int32_t control = RunDialog(queue, event);
        event.SetStep(static_cast<int16_t>(
            control >= kFirstChoiceId && control <= kLastStepControlId ? control - kFirstChoiceId : 0));
        if (event.GetDisplayKind() == CRouteEvent::kVideoDialog)
            trip_.PlayTravelMusic();
    }
    const int16_t step = event.GetStep();
    if (event.GetTextNumber(step) == kUnresolvedText)
        return;
    queue.ResolveEvent(event);
    if (const int16_t item = event.GetRequiredItem(step); item != 0)
        trip_.OnChoiceItem(item, trip_.GetParty());
}

int32_t CTripEvents::RunDialog(CEventQueue&, CRouteEvent& event)
{
    const bool video = event.GetDisplayKind() == CRouteEvent::kVideoDialog;
    if (const int16_t sound = event.GetSound(); sound != 0 && event.GetState() == CRouteEvent::kNew)
        PlaySoundEffect(sound == 1 ? kEffectBase + CUtil::Random(1, 9) : sound, 1, kEffectLevel);
    // Without a window to run over there is no dialog: the first choice that can be pressed is
    // taken.
    CWind* top = CWind::GetTopWnd();
    if (!top)
        return kFirstChoiceId + FirstChoice(event, trip_.GetEventGen());
    const std::unique_ptr<CImageFrame> built =
        MakeModalList(video ? kVideoDialog : kPictureDialog, GetApplication());
    CImageFrame* dialog = built.get();
    if (!dialog)
        return 0;
    SetText(*dialog, kTitleId, EntryText(kTitleList, event.GetType()));
    FillChoices(*dialog, event, trip_.GetEventGen());
    const CParty* party = trip_.GetParty();
    if (video) {
        // With nobody but the leader travelling there is no traveller to show.
        if (party && party->CountMembers(true) > 1) {
            StopSounds(nullptr, 0);
            AddTravellerClip(*dialog, *DrawTraveller(*party), event.GetType());
        }
    } else {
        ShowPicture(*dialog, event);
    }
    return dialog->Run(top, true);
}

void CTripEvents::ShowResult(int16_t type, int16_t phrase, const CStr* text)
{
    CWind* top = CWind::GetTopWnd();
    if (!top)
        return;
    const std::unique_ptr<CImageFrame> built = MakeModalList(kResultBox, GetApplication());
    CImageFrame* box = built.get();
    if (!box)
        return;
    SetText(*box, kResultTitleId, EntryText(kTitleList, type));
    auto shown = std::make_unique<CStr>();
    if (text) {
        shown->Append(*text);
    } else {
        shown->Append(CStr("\n"));
        shown->Append(*EntryText(kPhraseList, phrase));
    }
    SetText(*box, kResultTextId, std::move(shown));
    box->Run(top, true);
}
