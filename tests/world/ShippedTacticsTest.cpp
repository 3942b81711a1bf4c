// The shipped opponents' shared tactics (data/default.ai) on the shipped maps: which fields
// count as crowded, that blows are traded only from within close-combat reach, and when a
// fighter backs away from a foe stronger hand to hand. Each case runs the shipped helpers under
// an Execute of its own and reads what the script printed or which buttons it holds.
#include "script/BriskAI.h"
#include "support/MediaFixture.h"
#include "world/AIPlayers.h"
#include "world/FighterFile.h"
#include "world/Map.h"

#include <fstream>
#include <memory>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

// The script's fire button, as KeyDown numbers it.
constexpr int32_t kFireButton = 5;

class ShippedTacticsTest : public ::testing::Test {
protected:
    static TMediaOptions GameFolder() {
        TMediaOptions options;
        options.WorkingFolder = DUELMARK_GAME_DIR;
        return options;
    }
    // The foe at player 1's start and the script's fighter dx, dy pixels from it; the clock well
    // into a match, so no wait that counts from tick 0 is still running.
    void Place(const std::string& mapName, const std::string& foe, const std::string& self, int32_t dx,
               int32_t dy) {
        Media.Clock.Advance(60000);
        Map = std::make_unique<TBaseMap>();
        Map->LoadFromFile(mapName);
        Foe = &MakeFighter<TPlayer>(foe, Map->StartY0, Map->StartX0);
        Self = &MakeFighter<TAIPlayer>(self, Map->StartY0 + dx, Map->StartX0 + dy);
        Map->Players = {Foe, Self};
    }
    template <class T> T& MakeFighter(const std::string& name, int32_t x, int32_t y) {
        auto fighter = std::make_unique<T>();
        fighter->SetMap(Map.get());
        fighter->SetX(static_cast<float>(x));
        fighter->SetY(static_cast<float>(y));
        ReadFighterFile(*fighter, name, *Map);
        // Foot points as the test names them, whatever the sprite's offsets.
        fighter->SetX(static_cast<float>(x - fighter->FootX()) + fighter->X());
        fighter->SetY(static_cast<float>(y - fighter->FootY()) + fighter->Y());
        return Map->Add(std::move(fighter));
    }
    // Runs the shipped helpers with body as Execute, once, at Normal; what it printed.
    std::string Run(const std::string& body) {
        std::ifstream shipped("data/default.ai", std::ios::binary);
        std::ostringstream text;
        text << shipped.rdbuf() << "\nprocedure Init; begin end;\nprocedure Execute;\n" << body << "\n";
        const std::string path = (Media.Folder() / "Tactics.ai").string();
        std::ofstream(path, std::ios::binary) << text.str();
        Self->GameAI = std::make_unique<TGameAI>();
        Self->GameAI->Map = Map.get();
        Self->GameAI->Level = kAILevelNormal;
        Self->GameAI->LoadAlone(path);
        Self->GameAI->Player = Self;
        std::string printed;
        Self->GameAI->Script->Output = [&printed](std::string_view out, std::string_view) { printed += out; };
        // As the map runs a fighter's update: its own square is free while it decides.
        Map->RemoveFromDrawList(*Self);
        Self->GameAI->Execute();
        Map->InsertSorted(*Self);
        return printed;
    }

    TMediaEnvironment Media{GameFolder()};
    std::unique_ptr<TBaseMap> Map;
    TPlayer* Foe = nullptr;
    TAIPlayer* Self = nullptr;
};

TEST_F(ShippedTacticsTest, TreesAndRuinsStandingThickMakeAFieldCrowded) {
    // The shooters keep away from a stronger fighter only where cover stands thick.
    const std::pair<const char*, const char*> cases[] = {
        {"Default", "open"}, {"Forest", "crowded"}, {"Lake", "open"}, {"Ruins", "crowded"}};
    for (const auto& [mapName, expected] : cases) {
        Place(mapName, "Knight", "Elf", 200, 0);
        EXPECT_EQ(Run("begin Think; if FieldCrowded then PrintLn('crowded') else PrintLn('open'); end;"),
                  std::string(expected) + "\n")
            << mapName;
    }
}

TEST_F(ShippedTacticsTest, BlowsAreTradedOnlyFromWithinCloseCombatReach) {
    // In a row with the foe no place is safe (the foe turned toward me strikes along it), so
    // after the wait close by blows are traded; from farther one would fly as a poor throw.
    struct TCase {
        int32_t Dx;
        int32_t Dy;
        bool Fires;
    };
    const TCase cases[] = {{43, 0, true}, {44, 0, false}, {-43, 0, true}, {-44, 0, false}, {60, 40, false}};
    for (const TCase& c : cases) {
        Place("Lake", "Elf", "Orc", c.Dx, c.Dy);
        Run("begin Think; CloseSince := Now - 5000; CloseIn; end;");
        EXPECT_EQ(Self->GameAI->KeyHeld(kFireButton), c.Fires) << c.Dx << ", " << c.Dy;
    }
}

TEST_F(ShippedTacticsTest, AFighterBehindOnHealthBacksAwayFromAStrongerHandAndOneAheadStands) {
    struct TCase {
        const char* Foe;
        const char* Self;
        float SelfShare;
        float FoeShare;
        const char* Expected;
    };
    const TCase cases[] = {
        {"Knight", "Elf", 0.5f, 0.6f, "back"},  {"Knight", "Elf", 0.5f, 0.5f, "back"},
        {"Knight", "Elf", 0.6f, 0.5f, "stand"}, {"Orc", "Ninja", 0.3f, 1.0f, "back"},
        // The Elf's bow is no hand weapon: the Knight is the stronger up close.
        {"Elf", "Knight", 0.3f, 1.0f, "stand"},
    };
    for (const TCase& c : cases) {
        Place("Lake", c.Foe, c.Self, 60, 0);
        Self->SetHealth(Self->MaxHealth() * c.SelfShare);
        Foe->SetHealth(Foe->MaxHealth() * c.FoeShare);
        EXPECT_EQ(Run("begin Think; if Retreat then PrintLn('back') else PrintLn('stand'); end;"),
                  std::string(c.Expected) + "\n")
            << c.Foe << " against " << c.Self << " at " << c.SelfShare << " to " << c.FoeShare;
    }
}

} // namespace
