// The host routines that let a script see the field, called from scripts on the shipped Lake
// map (water, trees and pickups): health, facing and action, squares, the items lying about,
// the fighter's weapons, abilities and the level; an invisible foe shows nothing of where it
// is; and a wrong fighter, item or weapon number is a run-time error naming the routine.
#include "script/BriskAI.h"
#include "script/ScriptError.h"
#include "support/MediaFixture.h"
#include "world/AIPlayers.h"
#include "world/FighterFile.h"
#include "world/Map.h"
#include "world/Weapons.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

class AISightTest : public ::testing::Test {
protected:
    static TMediaOptions GameFolder() {
        TMediaOptions options;
        options.WorkingFolder = DUELMARK_GAME_DIR;
        return options;
    }
    void SetUp() override {
        Map.LoadFromFile("Lake");
        Foe = &MakeFighter<TPlayer>("Knight", Map.StartY0, Map.StartX0);
        Self = &MakeFighter<TAIPlayer>("Elf", Map.StartY1, Map.StartX1);
        Map.Players = {Foe, Self};
    }
    template <class T> T& MakeFighter(const std::string& name, int32_t x, int32_t y) {
        auto fighter = std::make_unique<T>();
        fighter->SetMap(&Map);
        fighter->SetX(static_cast<float>(x));
        fighter->SetY(static_cast<float>(y));
        ReadFighterFile(*fighter, name, Map);
        return Map.Add(std::move(fighter));
    }
    // Runs the body as the script's Execute once; what it printed, line by line.
    std::string Run(const std::string& body) {
        const std::string path = (Media.Folder() / "Sight.ai").string();
        std::ofstream(path, std::ios::binary) << "procedure Init; begin end;\nprocedure Execute;\n"
                                              << body << "\n";
        Self->GameAI = std::make_unique<TGameAI>();
        Self->GameAI->Map = &Map;
        Self->GameAI->Level = kAILevelHard;
        Self->GameAI->LoadAlone(path);
        Self->GameAI->Player = Self;
        std::string printed;
        Self->GameAI->Script->Output = [&printed](std::string_view text, std::string_view) {
            printed += text;
        };
        Self->GameAI->Execute();
        return printed;
    }

    TMediaEnvironment Media{GameFolder()};
    TBaseMap Map;
    TPlayer* Foe = nullptr;
    TAIPlayer* Self = nullptr;
};

TEST_F(AISightTest, HealthFacingActionWeaponsAbilitiesAndLevelReadAsTheFieldHasThem) {
    Foe->SetHealth(57.25f);
    Foe->SetDirection(3);
    Foe->SetAction(kActionWalk);
    Self->Abilities(kWaterWalk).Active = true;
    const std::string printed = Run(R"(var W, S: TWeaponInfo;
begin
  GetWeapon(1, W);
  GetWeapon(2, S);
  PrintLn(IntToStr(GetHealth(0)) + ' ' + IntToStr(GetMaxHealth(0)) + ' ' + IntToStr(GetHealth(1)) + ' ' +
          IntToStr(GetMaxHealth(1)));
  PrintLn(IntToStr(GetFacing(0)) + ' ' + IntToStr(GetAction(0)));
  PrintLn(W.Name + ' ' + IntToStr(W.Reach) + ' ' + IntToStr(W.Speed) + ' ' + IntToStr(W.Missile) + ' ' +
          IntToStr(W.Damage) + ' [' + S.Name + '] ' + IntToStr(S.Reach));
  if HasAbility(1, 1) then PrintLn('waterwalk') else PrintLn('none');
  if HasAbility(0, 1) or HasAbility(1, 2) or HasAbility(1, 0) or HasAbility(1, 16) then PrintLn('wrong');
  PrintLn(IntToStr(GetAILevel));
end;)");
    // The Elf's bow flies 0.5 pixels a millisecond for its second.
    const std::string elfHealth = std::to_string(static_cast<int>(Self->MaxHealth()));
    EXPECT_EQ(printed, "58 120 " + elfHealth + " " + elfHealth + "\n3 2\nBow 500 500 " +
                           std::to_string(Self->Weapon->Missile) + " " +
                           std::to_string(Self->Weapon->Damage) + " [] 0\nwaterwalk\n2\n");
}

TEST_F(AISightTest, SquaresReadAsTheGridOffTheGridSolid) {
    // Every square of the field counted by what it holds, and the four beyond each edge.
    const std::string printed = Run(R"(var x, y, k: Integer; n: array[0..3] of Integer;
begin
  for x := 0 to 61 do
    for y := 0 to 65 do
    begin
      k := GetSquare(x, y);
      n[k] := n[k] + 1;
    end;
  PrintLn(IntToStr(n[0]) + ' ' + IntToStr(n[1]) + ' ' + IntToStr(n[2]) + ' ' + IntToStr(n[3]));
  PrintLn(IntToStr(GetSquare(-1, 0)) + IntToStr(GetSquare(62, 0)) + IntToStr(GetSquare(0, -1)) +
          IntToStr(GetSquare(0, 66)));
end;)");
    std::array<int, 4> counts{};
    for (int32_t x = 0; x < kSquareColumns; ++x)
        for (int32_t y = 0; y < kSquareRows; ++y)
            ++counts.at(static_cast<size_t>(Map.GetSquare(x * kSquareWidth, y * kSquareHeight).Passability));
    EXPECT_GT(counts[kSquareWater], 0) << "the lake has water";
    EXPECT_GT(counts[kSquarePickUp], 0) << "and pickups";
    EXPECT_EQ(printed, std::to_string(counts[0]) + " " + std::to_string(counts[1]) + " " +
                           std::to_string(counts[2]) + " " + std::to_string(counts[3]) + "\n1111\n");
}

TEST_F(AISightTest, ItemsAreListedWithKindNameSquareAndWhatTheyGive) {
    const std::string printed = Run(R"(var i, n: Integer; It: TItemInfo;
begin
  n := GetItemCount;
  for i := 0 to n - 1 do
  begin
    GetItem(i, It);
    PrintLn(IntToStr(It.Kind) + ' ' + It.Name + ' ' + IntToStr(It.CX) + ' ' + IntToStr(It.CY) + ' ' +
            IntToStr(It.Health) + ' ' + IntToStr(It.Armor) + ' ' + IntToStr(It.Special));
  end;
end;)");
    std::ostringstream expected;
    for (const auto& item : Map.Items()) {
        const auto* pickup = dynamic_cast<const TEquipment*>(item.get());
        if (pickup == nullptr) continue;
        const int kind = dynamic_cast<const TWeapon*>(pickup)      ? 6
                         : dynamic_cast<const TMagicItem*>(pickup) ? 5
                         : dynamic_cast<const TArmor*>(pickup)     ? 1
                         : dynamic_cast<const TGlove*>(pickup)     ? 2
                         : dynamic_cast<const TBoot*>(pickup)      ? 3
                                                                   : 4;
        expected << kind << ' ' << pickup->Name << ' ' << pickup->FootX() / kSquareWidth << ' '
                 << pickup->FootY() / kSquareHeight << ' ' << pickup->HealthBonus << ' ' << pickup->Armor
                 << ' ' << std::max(pickup->SpecialSlot(), 0) << '\n';
    }
    const std::string listed = expected.str();
    EXPECT_FALSE(listed.empty());
    EXPECT_EQ(printed, listed);
    // A missile in flight is no pickup.
    Self->SetDirection(2);
    TWeapon::Fire(*Self->Weapon, *Self, Map);
    EXPECT_EQ(Run("begin PrintLn(IntToStr(GetItemCount)); end;"),
              std::to_string(std::count(listed.begin(), listed.end(), '\n')) + "\n");
}

TEST_F(AISightTest, AnInvisibleFoeShowsNeitherPlaceNorFacingNorAction) {
    const std::string body = R"(var P: TPlayerInfo;
begin
  GetPlayer(0, P);
  PrintLn(P.Name + ' ' + IntToStr(P.X) + ' ' + IntToStr(P.Y) + ' ' + IntToStr(P.CX) + ' ' + IntToStr(P.CY) + ' ' +
          IntToStr(GetFacing(0)) + ' ' + IntToStr(GetAction(0)) + ' ' + IntToStr(GetHealth(0)));
  GetSelf(P);
  PrintLn(IntToStr(P.X) + ' ' + IntToStr(GetFacing(1)));
end;)";
    const std::string seen = Run(body);
    EXPECT_EQ(seen.substr(0, seen.find('\n')),
              "Knight " + std::to_string(Foe->FootX()) + " " + std::to_string(Foe->FootY()) + " " +
                  std::to_string(Foe->FootX() / kSquareWidth) + " " +
                  std::to_string(Foe->FootY() / kSquareHeight) + " " + std::to_string(Foe->Direction()) +
                  " " + std::to_string(Foe->Action()) + " 120");
    Foe->Abilities(kInvisibility).Active = true;
    Self->Abilities(kInvisibility).Active = true;
    EXPECT_EQ(Run(body), "Knight -1 -1 -1 -1 -1 -1 120\n" + std::to_string(Self->FootX()) + " " +
                             std::to_string(Self->Direction()) + "\n")
        << "its own invisibility hides nothing from the script";
}

TEST_F(AISightTest, AWrongNumberIsARunTimeErrorNamingTheRoutine) {
    const std::pair<std::string, std::string> cases[] = {
        {"begin GetHealth(2); end;", "GetHealth: there is no fighter 2 (fighters are 0 and 1)"},
        {"begin GetFacing(-1); end;", "GetFacing: there is no fighter -1"},
        {"var It: TItemInfo; begin GetItem(0, It); end;",
         "GetItem: there is no item 0 (0 counted by the last "
         "GetItemCount)"},
        {"var It: TItemInfo; begin GetItem(GetItemCount, It); end;", "GetItem: there is no item"},
        {"var W: TWeaponInfo; begin GetWeapon(3, W); end;", "GetWeapon: there is no weapon 3"},
    };
    for (const auto& [body, message] : cases) {
        try {
            Run(body);
            ADD_FAILURE() << body;
        } catch (const EScriptError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
}

} // namespace
