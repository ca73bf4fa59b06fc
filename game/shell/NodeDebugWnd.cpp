#include "game/shell/NodeDebugWnd.h"

#include <array>
#include <functional>
#include <utility>

#include "engine/controls/Frame.h"
#include "engine/controls/TextFrame.h"
#include "engine/framework/Str.h"
#include "game/travel/RouteNode.h"

namespace {

constexpr std::pair<int16_t, const char*> kEventNames[] = {
    {1, "Abandoned Wagon"},
    {2, "Accident Gunshot"},
    {3, "Animal Death"},
    {4, "Anim Alkali Sick."},
    {5, "Aminal Quicksand"},
    {6, "Animal Exhausted"},
    {7, "Amin Step Hole"},
    {8, "Bad Cold"},
    {9, "Beriberi"},
    {10, "Bite"},
    {11, "Broken Bone"},
    {12, "Broken OxYoke"},
    {13, "Broken Axle"},
    {14, "Broken Tongue"},
    {15, "Broken Wheel"},
    {16, "Buffalo Stampede"},
    {17, "Burns"},
    {18, "Cholera"},
    {19, "Concussion"},
    {20, "Consumption"},
    {21, "Abrasions"},
    {22, "Death"},
    {24, "River Delay"},
    {25, "Diptheria"},
    {26, "Dismissed"},
    {27, "Drowning"},
    {28, "Dysentery"},
    {29, "Extreme Cold"},
    {30, "Extreme Heat"},
    {31, "Fallen Rocks"},
    {32, "Fallen Timbers"},
    {33, "Wagon Fire"},
    {34, "Flooded Trail"},
    {35, "Food Poisoning"},
    {36, "Freezing"},
    {37, "Frostbite"},
    {38, "Gangrene"},
    {39, "Animal Ill"},
    {40, "Independence Day"},
    {41, "Infection"},
    {42, "Injured Livestock"},
    {43, "Internal Injuries"},
    {44, "Lightning Animal"},
    {45, "Lock Jaw"},
    {46, "Lost Supplies"},
    {47, "Low Food"},
    {48, "Main Death"},
    {49, "Malaria"},
    {50, "Mauling"},
    {51, "Measles"},
    {52, "Missing Livestock1"},
    {53, "Missing Person"},
    {54, "Morale Low 1"},
    {55, "Mountain Fever"},
    {56, "Muddy Trail"},
    {59, "No Grass"},
    {61, "Pers Alkali Sick"},
    {62, "Pneumonia"},
    {66, "Prarie Fire"},
    {67, "Quicksand Ahead"},
    {68, "Rabies"},
    {69, "Rafting Losses"},
    {72, "Reelected"},
    {73, "Runaway Wagon"},
    {74, "Runover by Wagon"},
    {75, "Scarlet Fever"},
    {76, "Scurvy"},
    {77, "Sick Livestock"},
    {79, "Smallpox"},
    {80, "Snakebite"},
    {81, "Snowbound"},
    {82, "Sprain"},
    {83, "Starvation"},
    {85, "Swamped Wagon"},
    {86, "Wagon Theft"},
    {87, "The Grippe"},
    {89, "Thirst"},
    {90, "Wagon Tipped"},
    {91, "Turn for Worse"},
    {92, "Typhoid"},
    {93, "Typhus"},
    {94, "Mud-stuck Wagon"},
    {95, "Sand-stuck Wagon"},
    {96, "Wagon Through Ice"},
    {97, "Water Poisoning"},
    {98, "Wound"},
    {99, "You're Fired"},
    {100, "Cholera Likely"},
    {101, "Dust Likely"},
    {103, "Injury"},
    {105, "Quicksand Certain"},
    {106, "Rocks Likely"},
    {107, "Wagon Accident"},
    {108, "Bad Mosquitos"},
    {109, "Blizzard"},
    {110, "Duststorm"},
    {111, "Hailstorm"},
    {112, "Heavy Fog"},
    {113, "Locusts"},
    {114, "Sev. Thunderstorm"},
};

constexpr std::pair<int16_t, const char*> kFaunaNames[] = {
    {5601, "GSQUIRREL"}, {5602, "RABBIT"}, {5603, "BBEAR"},   {5604, "BHSHEEP"}, {5605, "BUFFALO"},
    {5606, "DEER"},      {5607, "ELK"},    {5608, "GBEAR"},   {5609, "MOOSE"},   {5611, "PRONGHORN"},
    {5612, "DUCK"},      {5613, "GOOSE"},  {5633, "MTNGOAT"},
};

constexpr std::array<const char*, 10> kRouteTypeNames = {
    "NORMAL", "SAND", "UPHILL", "DOWNHILL", "ROUGH", "MUDDY", "FLOATING", "DESERT", "RIVER", "LNDMARK"};
constexpr std::array<const char*, 7> kKindNames = {"STARTPOINT", "TRAILSEG", "FORCEDSTOP", "OPTIONALSTOP",
                                                   "ENDPOINT",   "MAPONLY",  "NEVERSTOP"};
constexpr std::array<const char*, 4> kLmClassNames = {"A", "B", "C", "D"};

template <size_t N> const char* Lookup(const std::pair<int16_t, const char*> (&table)[N], int16_t id)
{
    for (const auto& [key, name] : table)
        if (key == id)
            return name;
    return "";
}

template <size_t N> const char* Indexed(const std::array<const char*, N>& names, int32_t i, const char* other)
{
    return i >= 0 && i < static_cast<int32_t>(N) ? names[static_cast<size_t>(i)] : other;
}

std::string Joined(int count, const std::function<int16_t(int16_t)>& value)
{
    std::string text;
    for (int16_t i = 0; i < count; ++i)
        text += (i ? ", " : "") + std::to_string(value(i));
    return text;
}

constexpr int16_t kLeft = 10;
constexpr int16_t kLineHeight = 20;
constexpr int16_t kTop = 5;

// OK at the bottom right.
CRect OkRect()
{
    constexpr int16_t kOkWidth = 70, kOkHeight = 20, kMargin = 10;
    return CRect(CNodeDebugWnd::kHeight - kMargin - kOkHeight, CNodeDebugWnd::kWidth - kMargin - kOkWidth,
                 CNodeDebugWnd::kHeight - kMargin, CNodeDebugWnd::kWidth - kMargin);
}

CFrame* MakeRoot(const CRouteNode& node)
{
    auto* root = new CFrame(CFrame::kKindFrame, CBaseObj::kNewId,
                            CRect(0, 0, CNodeDebugWnd::kHeight, CNodeDebugWnd::kWidth), false);
    int16_t top = kTop;
    for (const std::string& line : CNodeDebugWnd::Lines(node)) {
        const CRect rect(top, kLeft, static_cast<int16_t>(top + kLineHeight), CNodeDebugWnd::kWidth - kLeft);
        root->AddChild(
            new CTextFrame(CBaseObj::kNewId, rect, std::make_unique<CStr>(line.c_str()), 1, false, false),
            false);
        top = static_cast<int16_t>(top + kLineHeight);
    }
    return root;
}

} // namespace

const char* CNodeDebugWnd::EventName(int16_t type) { return Lookup(kEventNames, type); }
const char* CNodeDebugWnd::FaunaName(int16_t id) { return Lookup(kFaunaNames, id); }
const char* CNodeDebugWnd::RouteTypeName(int16_t type) { return Indexed(kRouteTypeNames, type, "UNKNOWN"); }
const char* CNodeDebugWnd::KindName(int16_t kind) { return Indexed(kKindNames, kind, "INVALID"); }
const char* CNodeDebugWnd::LmClassName(int16_t lmClass)
{
    return Indexed(kLmClassNames, lmClass - 1, "INVALID");
}

std::vector<std::string> CNodeDebugWnd::Lines(const CRouteNode& node)
{
    auto number = [](int16_t v) { return std::to_string(v); };
    std::string events;
    for (int16_t i = 0; i < CRouteNode::kEventCount; ++i)
        events += std::string(EventName(node.GetEvent(i))) + ", ";
    std::string next;
    for (int16_t i = 0; i < CRouteNode::kNextCount; ++i)
        if (node.GetNextNode(i) != 0)
            next += (next.empty() ? "" : ", ") + number(node.GetNextNode(i));
    std::string fauna;
    for (int16_t i = 0; i < 15; ++i)
        if (*FaunaName(node.GetFauna(i)))
            fauna += (fauna.empty() ? "" : ", ") + std::string(FaunaName(node.GetFauna(i)));
    // The second effect belongs to the second next node: shown only when there is one.
    std::string sfx = number(node.GetSfx(0));
    if (node.GetNextNode(1) != 0)
        sfx += ", " + number(node.GetSfx(1));
    return {
        "ID " + number(node.GetId()),
        "Kind: " + std::string(KindName(node.GetKind())),
        "Images " + Joined(CRouteNode::kImageCount, [&](int16_t i) { return node.GetImage(i); }),
        "Resource " + number(node.GetResource()),
        "Landmark #: " + number(node.LandmarkNumber()),
        "MapID: " + number(node.GetMapId()),
        "LM Class: " + std::string(LmClassName(node.GetLmClass())),
        "Music: " + Joined(CRouteNode::kMusicCount, [&](int16_t i) { return node.GetMusic(i); }),
        "CostFactor: " + number(node.GetCostFactor()),
        "Events: " + events,
        "MoraleMod: " + number(node.GetMoraleMod()),
        "NextNode: " + next,
        "Length: " + number(node.GetLength()),
        "Route type: " + std::string(RouteTypeName(node.GetRouteType())),
        "Weather: " + number(node.GetWeatherId()),
        "Fauna: " + fauna,
        "Plants: " + number(node.GetPlants()),
        "Terrain: " + number(node.GetTerrain()),
        "Inset: " + number(node.GetInset()),
        "SFX: " + sfx,
    };
}

CNodeDebugWnd::CNodeDebugWnd(const CRouteNode& node) : CDebugInfoWnd(MakeRoot(node), OkRect()) {}
