// The script-driven fighter and its host routines: routes into the script's TPath record,
// fighter records, buttons, the strike at frame 2, water, and scripts that fail to compile,
// fail at run time or never stop.
#include "world/AIPlayers.h"

#include "media/BriskImage.h"
#include "path/GamePath.h"
#include "platform/IniFile.h"
#include "script/BriskAI.h"
#include "script/Program.h"
#include "script/ScriptError.h"
#include "support/MediaFixture.h"
#include "world/Map.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

class AIPlayers : public MediaFixture {
protected:
    void SetUp() override {
        MediaFixture::SetUp();
        std::filesystem::create_directories(Media->Folder() / "data");
        WriteScript("default.ai", "var Calls: Integer;\n");
        Map = std::make_unique<TBaseMap>();
    }
    void TearDown() override {
        Map.reset();
        MediaFixture::TearDown();
    }

    void WriteScript(const std::string& name, const std::string& text) const {
        std::ofstream(Media->Folder() / "data" / name, std::ios::binary) << text;
    }

    // A fighter as the character loader makes one: foot point (48, 70) from its top left,
    // 0.05 px/ms, frames of 100 ms, a five-frame attack; its script is data\Test.ai.
    TAIPlayer& AddFighter(float footX, float footY, const std::string& script, bool load = true) {
        WriteScript("Test.ai", script);
        auto fighter = std::make_unique<TAIPlayer>();
        TAIPlayer* printer = fighter.get();
        Printed[printer].clear();
        fighter->GameAI->Script->Output = [this, printer](std::string_view text, std::string_view) {
            Printed[printer] += text;
        };
        fighter->SetMap(Map.get());
        fighter->SetOffsetX(48);
        fighter->SetOffsetY(70);
        fighter->SetX(footX - 48);
        fighter->SetY(footY - 70);
        fighter->SetFrameDelay(100);
        fighter->SetMaxHealth(100);
        fighter->SetHealth(100);
        fighter->SetSpeed(0.05f);
        fighter->AttackFrames = 5;
        fighter->WalkFrames = 7;
        fighter->DieFrames = 7;
        fighter->SetAction(kActionStand);
        fighter->Weapon = std::make_unique<TWeapon>();
        fighter->Weapon->SetSpeed(0.3f);
        fighter->AIName = "Test";
        if (load) fighter->LoadAI();
        TAIPlayer& added = Map->Add(std::move(fighter));
        Map->Players[1] = &added;
        return added;
    }

    void RemoveFighter(TAIPlayer& fighter) {
        Map->Players = {};
        Map->Remove(fighter);
    }

    // Everything the fighter's script has printed since it was added.
    std::string Output(const TAIPlayer& fighter) { return Printed[&fighter]; }

    std::map<const TAIPlayer*, std::string> Printed;

    // One frame as the match runs it: the fighters drawn (which advances their animation),
    // then the update.
    void Frame(uint32_t ms) {
        Media->Clock.Advance(ms);
        for (TBasePlayer* fighter : Map->Players)
            if (fighter != nullptr) fighter->Draw();
        Map->Update();
    }

    [[nodiscard]] int Missiles() const {
        int count = 0;
        for (const auto& item : Map->Items())
            if (const auto* missile = dynamic_cast<const TWeapon*>(item.get());
                missile && missile->ExpireTick != 0)
                ++count;
        return count;
    }

    std::unique_ptr<TBaseMap> Map;
};

// Prints the route from (fx, fy) to (tx, ty) as the script sees it.
std::string RouteScript(int fx, int fy, int tx, int ty) {
    return "var p: TPath;\n"
           "procedure Init; begin end;\n"
           "procedure Execute; begin GetPath(" +
           std::to_string(fx) + ", " + std::to_string(fy) + ", " + std::to_string(tx) + ", " +
           std::to_string(ty) +
           ", p); PrintLn(IntToStr(p.Steps) + ' ' + IntToStr(p.S1.X) + ',' + IntToStr(p.S1.Y) + ' ' + "
           "IntToStr(p.S2.X) + ',' + IntToStr(p.S2.Y) + ' ' + IntToStr(p.S3.X) + ',' + IntToStr(p.S3.Y) + ' "
           "' + "
           "IntToStr(p.S4.X) + ',' + IntToStr(p.S4.Y) + ' ' + IntToStr(p.S5.X) + ',' + IntToStr(p.S5.Y)); "
           "end;\n";
}

TEST_F(AIPlayers, GetPathFillsTheFirstFiveStepsAndMarksMissingOnes) {
    // Walls that make the route wind: a staircase of three bars, each open at alternate ends.
    for (int column = 0; column <= 20; ++column)
        Map->SetSquare(column * 32, 5 * 24, kSquareSolid, nullptr);
    for (int column = 4; column <= 30; ++column)
        Map->SetSquare(column * 32, 10 * 24, kSquareSolid, nullptr);
    for (int column = 0; column <= 20; ++column)
        Map->SetSquare(column * 32, 15 * 24, kSquareSolid, nullptr);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0) Map->SetSquare((50 + dx) * 32, (50 + dy) * 24, kSquareSolid, nullptr);
    std::unique_ptr<TPath> host;
    Map->FindPath(2, 2, 31, 12, host);
    ASSERT_EQ(host->Count(), 7);
    struct TCase {
        int FromX, FromY, ToX, ToY;
        std::string Expected;
    };
    std::string winding = "7";
    for (int i = 0; i < 5; ++i)
        winding += " " + std::to_string(host->StepAt(i).X) + "," + std::to_string(host->StepAt(i).Y);
    const TCase cases[] = {
        {2, 2, 31, 12, winding},
        // Straight across open ground: the start and the goal, the rest missing.
        {30, 30, 40, 30, "2 30,30 40,30 -1,-1 -1,-1 -1,-1"},
        // From a square to itself.
        {30, 30, 30, 30, "1 30,30 -1,-1 -1,-1 -1,-1 -1,-1"},
        // An enclosed goal: no route at all.
        {2, 2, 50, 50, "0 -1,-1 -1,-1 -1,-1 -1,-1 -1,-1"},
        // Start or goal off the grid, on either side.
        {-1, 2, 4, 4, "0 -1,-1 -1,-1 -1,-1 -1,-1 -1,-1"},
        {2, 2, 62, 4, "0 -1,-1 -1,-1 -1,-1 -1,-1 -1,-1"},
        {2, 2, 4, 66, "0 -1,-1 -1,-1 -1,-1 -1,-1 -1,-1"},
        {61, 65, 60, 65, "2 61,65 60,65 -1,-1 -1,-1 -1,-1"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Expected);
        TAIPlayer& fighter = AddFighter(200, 700, RouteScript(c.FromX, c.FromY, c.ToX, c.ToY));
        fighter.GameAI->Execute();
        EXPECT_EQ(Output(fighter), c.Expected + "\n");
        RemoveFighter(fighter);
    }
}

TEST_F(AIPlayers, FighterRecordsDescribeBothFightersAndAreEmptyDuringInit) {
    const std::string script =
        "var a, b, c: TPlayerInfo;\n"
        "procedure Show(p: TPlayerInfo); begin PrintLn(p.Name + ' ' + IntToStr(p.X) + ' ' + "
        "IntToStr(p.Y) + ' ' + IntToStr(p.CX) + ' ' + IntToStr(p.CY) + ' ' + IntToStr(p.Melee) "
        "+ ' ' + IntToStr(p.Missile)); end;\n"
        "procedure Init; begin a.Name := 'x'; a.X := 9; GetSelf(a); Show(a); GetPlayer(0, b); "
        "Show(b); end;\n"
        "procedure Execute; begin GetSelf(a); GetPlayer(GetPlayerID, b); GetPlayer(0, c); "
        "Show(a); Show(b); Show(c); PrintLn(GetPlayerCount); PrintLn(GetPlayerID); end;\n";
    TBriskImage sheet;
    sheet.Name = "Knight";
    TAIPlayer& fighter = AddFighter(100, 50, script, false);
    fighter.SetImage(&sheet);
    fighter.Melee = 7;
    fighter.Missile = 4;
    fighter.LoadAI();
    TAIPlayer& other = AddFighter(1900, 2000, "procedure Init; begin end;\n", false);
    Map->Players[0] = &other;
    Map->Players[1] = &fighter;
    fighter.GameAI->Execute();
    // CX and CY are the foot point's square; the other fighter is clamped to the field's edge.
    EXPECT_EQ(Output(fighter), " 0 0 0 0 0 0\n 0 0 0 0 0 0\n"
                               "Knight 100 50 3 2 7 4\nKnight 100 50 3 2 7 4\n 1900 1520 59 63 0 0\n2\n1\n");
}

TEST_F(AIPlayers, ButtonsAndFighterNumbersOutsideTheirRangeAreRuntimeErrors) {
    struct TCase {
        std::string Call;
        std::string Message;
    };
    const TCase cases[] = {
        {"KeyDown(0)", "KeyDown: there is no button 0 (buttons are 1 to 15)"},
        {"KeyDown(16)", "KeyDown: there is no button 16 (buttons are 1 to 15)"},
        {"KeyUp(-1)", "KeyUp: there is no button -1 (buttons are 1 to 15)"},
        {"GetPlayer(2, p)", "GetPlayer: there is no fighter 2 (fighters are 0 and 1)"},
        {"GetPlayer(-1, p)", "GetPlayer: there is no fighter -1 (fighters are 0 and 1)"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Call);
        TAIPlayer& fighter =
            AddFighter(300, 300,
                       "var p: TPlayerInfo;\nprocedure Init; begin KeyDown(1); KeyDown(15); KeyUp(15); "
                       "GetPlayer(1, p); end;\nprocedure Execute; begin " +
                           c.Call + "; end;\n");
        try {
            fighter.GameAI->Execute();
            ADD_FAILURE() << "no error";
        } catch (const EScriptError& error) {
            const std::string text = error.what();
            EXPECT_NE(text.find(c.Message), std::string::npos) << text;
            EXPECT_TRUE(text.ends_with(" in \"Execute\" of data\\Test.ai")) << text;
        }
        EXPECT_TRUE(fighter.KeyHeld(1));
        EXPECT_FALSE(fighter.KeyHeld(15));
        EXPECT_FALSE(fighter.KeyHeld(0));
        EXPECT_FALSE(fighter.KeyHeld(16));
        RemoveFighter(fighter);
    }
}

TEST_F(AIPlayers, AHeldButtonKeepsTheFighterWalkingUpOnEveryUpdate) {
    TAIPlayer& fighter =
        AddFighter(300, 600,
                   "procedure Init; begin end;\n"
                   "procedure Execute; begin if Calls = 0 then KeyDown(1); Calls := Calls + 1; "
                   "end;\n");
    Frame(20); // the first update starts the walk
    for (int update = 1; update <= 10; ++update) {
        const float y = fighter.Y();
        Frame(20);
        EXPECT_EQ(fighter.Action(), kActionWalk);
        EXPECT_EQ(fighter.Direction(), 0);
        EXPECT_FLOAT_EQ(fighter.Y(), y - 1.0f) << "update " << update;
    }
}

TEST_F(AIPlayers, FireStrikesOnlyAtTheThirdAttackFrameAndBeforeTheSecondWeapon) {
    TAIPlayer& fighter = AddFighter(
        300, 300, "procedure Init; begin KeyDown(5); KeyDown(6); end;\nprocedure Execute; begin end;\n");
    fighter.SecondWeapon = std::make_unique<TWeapon>();
    fighter.SecondWeapon->SetSpeed(0.3f);
    fighter.SecondWeapon->Name = "Second";
    fighter.Weapon->Name = "First";
    std::vector<std::string> launched;
    fighter.OnShoot = [&](TBasePlayer&, TWeapon& weapon) { launched.push_back(weapon.Name); };
    Frame(16);
    ASSERT_EQ(fighter.Action(), kActionAttack);
    // The frame does not change during the update, so the frame after it is the one the
    // strike saw.
    for (int update = 0; update < 60 && launched.empty(); ++update) {
        Frame(16);
        EXPECT_EQ(launched.size(), fighter.Frame() == 2 ? 1u : 0u) << "update " << update;
    }
    EXPECT_EQ(launched, std::vector<std::string>{"First"});
    EXPECT_EQ(Missiles(), 1);
}

TEST_F(AIPlayers, WaterStopsTheFighterAtItsEdgeWithItsHealth) {
    for (int column = 0; column < 30; ++column)
        Map->SetSquare(column * 32, 10 * 24, kSquareWater, nullptr);
    TAIPlayer& fighter = AddFighter(300, 11 * 24 + 4,
                                    "procedure Init; begin KeyDown(1); end;\n"
                                    "procedure Execute; begin end;\n");
    for (int update = 0; update < 50; ++update)
        Frame(20);
    EXPECT_EQ(fighter.FootY() / 24, 11);
    EXPECT_EQ(fighter.Health(), 100);
    EXPECT_EQ(fighter.Action(), kActionWalk);
}

TEST_F(AIPlayers, CompileErrorsAreLoggedWithTheirFileAndLineThenInitFails) {
    WriteScript("default.ai", "var Calls: Integer;\nprocedure Shared; begin end;\n");
    WriteScript("Test.ai", "procedure Init;\nbegin\n  if Calls then Shared;\nend;\n");
    auto fighter = std::make_unique<TAIPlayer>();
    fighter->SetMap(Map.get());
    fighter->AIName = "Test";
    try {
        fighter->LoadAI();
        ADD_FAILURE() << "no error";
    } catch (const EScriptError& error) {
        EXPECT_STREQ(error.what(),
                     "Script compiled with errors. Can't execute! in \"Init\" of data\\Test.ai");
    }
    const std::vector<std::string> lines = Media->LogLines();
    std::vector<std::string> compileLines;
    for (const std::string& line : lines)
        if (line.find("TBriskAI.Compile") != std::string::npos) compileLines.push_back(line);
    ASSERT_EQ(compileLines.size(), 2u) << Media->LogText();
    EXPECT_NE(compileLines[0].find("*** ERROR ***"), std::string::npos);
    EXPECT_NE(compileLines[0].find("Boolean expected [line: 5, column: "), std::string::npos)
        << compileLines[0];
    EXPECT_NE(compileLines[0].find("in data\\Test.ai line 3"), std::string::npos) << compileLines[0];
    EXPECT_NE(compileLines[1].find("Script compiled with errors. Can't execute!"), std::string::npos);
}

TEST_F(AIPlayers, AMissingScriptFileIsAnErrorNamingIt) {
    for (const std::string missing : {"Test.ai", "default.ai"}) {
        SCOPED_TRACE(missing);
        WriteScript("default.ai", "");
        WriteScript("Test.ai", "procedure Init; begin end;\n");
        std::filesystem::remove(Media->Folder() / "data" / missing);
        auto fighter = std::make_unique<TAIPlayer>();
        fighter->AIName = "Test";
        try {
            fighter->LoadAI();
            ADD_FAILURE() << "no error";
        } catch (const EWorldError& error) {
            EXPECT_EQ(std::string(error.what()), "Could not open AI script data\\" + missing);
        }
    }
}

TEST_F(AIPlayers, AHugeScriptFileOrAFolderIsAnErrorNamingIt) {
    WriteScript("default.ai", "");
    WriteScript("Test.ai", std::string(static_cast<size_t>(kMaxIniFileBytes) + 1, ' '));
    std::filesystem::create_directory(Media->Folder() / "data" / "Dir.ai");
    for (const auto& [name, text] : {std::pair{"Test", "AI script data\\Test.ai is larger than 16 MB"},
                                     std::pair{"Dir", "Could not open AI script data\\Dir.ai"}}) {
        auto fighter = std::make_unique<TAIPlayer>();
        fighter->AIName = name;
        try {
            fighter->LoadAI();
            ADD_FAILURE() << "no error";
        } catch (const EWorldError& error) {
            EXPECT_STREQ(error.what(), text);
        }
    }
}

TEST_F(AIPlayers, ARunawayScriptIsStoppedAndNamedInTheLog) {
    TAIPlayer& fighter = AddFighter(300, 300,
                                    "procedure Init; begin end;\n"
                                    "procedure Execute; begin while True do Calls := Calls + 1; end;\n");
    try {
        Frame(16);
        ADD_FAILURE() << "no error";
    } catch (const EScriptError& error) {
        const std::string text = error.what();
        EXPECT_TRUE(text.starts_with("Runtime Error: Script exceeded its step limit")) << text;
        EXPECT_TRUE(text.ends_with(" in \"Execute\" of data\\Test.ai")) << text;
    }
    // The map is whole again for whoever handles the error.
    EXPECT_EQ(Map->GetSquare(fighter.FootX(), fighter.FootY()).Occupant, &fighter);
}

TEST_F(AIPlayers, RouteSearchesInALoopMeetTheStepLimitByTheirWork) {
    // 90,000 calls and loop rounds would be 180,000 steps, under the limit; the searches across
    // the open field are thousands of steps each.
    TAIPlayer& fighter =
        AddFighter(300, 300,
                   "var P: TPath; I: Integer;\nprocedure Init; begin end;\n"
                   "procedure Execute; begin for I := 1 to 90000 do begin GetPath(1, 1, 60, 64, "
                   "P); Calls := Calls + 1; end; end;\n");
    try {
        fighter.GameAI->Execute();
        ADD_FAILURE() << "the step limit was not met";
    } catch (const EScriptError& error) {
        EXPECT_NE(std::string(error.what())
                      .find("Script exceeded its step limit (200000 steps) [line: 4, column: 55]"),
                  std::string::npos)
            << error.what();
    }
    const int64_t searches = fighter.GameAI->Script->Program()->Info().Vars("Calls").Value().AsInteger();
    EXPECT_GT(searches, 10);
    EXPECT_LT(searches, 100);
}

TEST_F(AIPlayers, ADeadFighterNoLongerRunsItsScript) {
    TAIPlayer& fighter = AddFighter(
        300, 300, "procedure Init; begin end;\nprocedure Execute; begin Calls := Calls + 1; end;\n");
    Frame(16);
    fighter.SetHealth(0);
    Frame(16);
    Frame(16);
    EXPECT_EQ(fighter.Action(), kActionDie);
    const TProgramInfo& info = fighter.GameAI->Script->Program()->Info();
    EXPECT_EQ(info.Vars("Calls").Value().AsInteger(), 1);
}

} // namespace
