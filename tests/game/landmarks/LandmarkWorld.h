#pragma once
// The game around a landmark character, without the game's window: a module manager holding
// the travel module (its trip, party and person table), an open saved game (its landmark
// flags), and the message boxes' log.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/controls/Frame.h"
#include "engine/framework/Util.h"
#include "game/base/GameGlobals.h"
#include "game/base/ModuleConstructors.h"
#include "game/base/ModuleMgr.h"
#include "game/base/save/QM3Doc.h"
#include "game/landmarks/TLmCharFrm.h"
#include "game/travel/Party.h"
#include "game/travel/Travel.h"
#include "platform/MessageBox.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/ScriptedDraws.h"

namespace lmtest {

// One message box as the player saw it.
struct Box {
    std::string text;
    std::string caption;
    plat::MbIcon icon;
    bool operator==(const Box&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Box& b)
{
    return out << "{\"" << b.text << "\", \"" << b.caption << "\", icon " << static_cast<int>(b.icon) << "}";
}
inline Box Warning(std::string text, std::string caption)
{
    return {std::move(text), std::move(caption), plat::MbIcon::Warning};
}

// A character template (list 1, ID 500, at left 30 and top 40) with the file name, the start
// marker and the commands, as a template list holds it after its kind.
inline std::string CharacterText(const std::string& commands, const std::string& name = "\"grain.smk\"",
                                 int marker = 100)
{
    return "500, 0, 0x9, 0, 0, 0, 0, 40, 30, 0, 0, " + name + ", " + std::to_string(marker) + ", " +
           commands + "\n";
}

inline std::unique_ptr<CTLmCharFrm> ReadCharacter(const std::string& text)
{
    return deftext::ReadTemplateText<CTLmCharFrm>(text, &CTLmCharFrm::Read, CTLmCharFrm::kTemplateKind);
}

// The error box of a character read from CharacterText.
inline Box CharacterError(const std::string& message, const std::string& caption)
{
    return Warning(message + "\ngrain.smk\nTemplate ID:1\n", caption);
}

class LandmarkWorld {
public:
    LandmarkWorld() : gameWindow_(std::make_unique<CFrame>(4, 1, CRect(0, 0, 480, 640), false))
    {
        plat::GetScriptedMessageBoxes().Clear();
        // The trip's person table is drawn from here on.
        CUtil::SetRandomSeed(1);
        SetModuleConstructor(CModuleMgr::kTravel,
                             [](const CRect& rect, CModuleMgr&) -> CModule* { return new CTravel(rect); });
        manager_ = std::make_unique<CModuleMgr>(gameWindow_.get(), 12);
        Game().moduleMgr = manager_.get();
        manager_->CreateModule(CModuleMgr::kTravel);
        document_ = std::make_unique<CQM3Doc>("Landmark");
        Game().document = document_.get();
    }
    ~LandmarkWorld()
    {
        Game().document = nullptr;
        document_.reset();
        Game().moduleMgr = nullptr;
        manager_.reset();
        gameWindow_.reset();
        CUtil::SetDrawSource(nullptr);
    }

    CTravel& Travel() const { return *manager_->GetModuleAs<CTravel>(CModuleMgr::kTravel); }
    CParty& Party() const { return *Travel().GetParty(); }
    CQM3Doc& Document() const { return *document_; }
    // Closes the saved game: no landmark flags can be read or kept.
    void CloseDocument()
    {
        Game().document = nullptr;
        document_.reset();
    }
    void SetMorale(int16_t morale) { Party().AddMorale(static_cast<int16_t>(morale - Party().GetMorale())); }

    // Scripts the draws of CUtil::Random, answered in order (each checked against its range);
    // a draw past the script fails the test and answers the range's low end.
    void Draws(const std::vector<qmtest::CheckedDraws::Draw>& draws) { draws_.Script(draws); }
    size_t DrawsLeft() const { return draws_.Left(); }

    // The message boxes shown since the last call.
    static std::vector<Box> Boxes()
    {
        std::vector<Box> out;
        for (const plat::MessageBoxRequest& r : plat::GetScriptedMessageBoxes().Log())
            out.push_back({r.text, r.caption, r.icon});
        plat::GetScriptedMessageBoxes().Clear();
        return out;
    }

private:
    std::unique_ptr<CFrame> gameWindow_;
    std::unique_ptr<CModuleMgr> manager_;
    std::unique_ptr<CQM3Doc> document_;
    qmtest::CheckedDraws draws_;
};

} // namespace lmtest
