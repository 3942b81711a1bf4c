// Whole headless matches through the duel runner's engine on the shipped game folder: a seed
// replays the same match, each fighter's script reads its own index, and a script error or a
// missing file ends the match with a message naming it.
#include "world/Duel.h"

#include "support/MediaFixture.h"
#include "world/AIPlayers.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

const std::string kDuelScripts = std::string(DUELMARK_SOURCE_DIR) + "/tests/world/duel/";

class DuelTest : public ::testing::Test {
protected:
    static TMediaOptions GameFolder() {
        TMediaOptions options;
        options.WorkingFolder = DUELMARK_GAME_DIR;
        return options;
    }
    // A script of the test's own, written into its folder.
    std::string WriteScript(const std::string& name, const std::string& text) const {
        const std::string path = (Media.Folder() / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    TMediaEnvironment Media{GameFolder()};
};

TEST_F(DuelTest, TheSameSeedPlaysTheSameMatchAndAnotherSeedAnother) {
    TDuelOptions options;
    options.MapName = "Default";
    options.LimitMs = 60 * 1000;
    const std::array<TDuelFighter, 2> fighters{TDuelFighter{"Ninja", ""},
                                               TDuelFighter{"Ninja", kDuelScripts + "Walker.ai"}};
    std::vector<TDuelResult> results;
    for (const uint32_t seed : {7u, 7u, 8u}) {
        options.Seed = seed;
        results.push_back(PlayDuel(options, fighters));
        EXPECT_EQ(results.back().Error, "") << seed;
    }
    EXPECT_EQ(results[0].Winner, results[1].Winner);
    EXPECT_EQ(results[0].GameMs, results[1].GameMs);
    EXPECT_EQ(results[0].Health, results[1].Health);
    EXPECT_NE(results[0].GameMs, results[2].GameMs) << "another seed, other rolls";
    EXPECT_EQ(results[0].Winner, 0) << "the shipped Ninja beats the walker";
    EXPECT_LT(results[0].Health[1], 1.0f);
}

TEST_F(DuelTest, AMatchNotDecidedInTimeIsUnfinished) {
    TDuelOptions options;
    options.LimitMs = 2000;
    const TDuelResult result =
        PlayDuel(options, {TDuelFighter{"Knight", ""}, TDuelFighter{"Knight", kDuelScripts + "Shooter.ai"}});
    EXPECT_EQ(result.Winner, -1);
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(result.GameMs, 2000u);
    EXPECT_GT(result.Health[0], 0.0f);
}

TEST_F(DuelTest, EachScriptReadsItsOwnIndexAndTheLevel) {
    // Pressing button 99 is a run-time error: a check that fails ends the match loudly.
    const std::string first = WriteScript("First.ai", "procedure Init; begin end;\n"
                                                      "procedure Execute; begin if (GetPlayerID <> 0) or "
                                                      "(GetAILevel <> 2) then KeyDown(99); end;\n");
    const std::string second = WriteScript("Second.ai", "procedure Init; begin end;\n"
                                                        "procedure Execute; begin if (GetPlayerID <> 1) or "
                                                        "(GetAILevel <> 2) then KeyDown(99); end;\n");
    TDuelOptions options;
    options.LimitMs = 500;
    options.Level = kAILevelHard;
    EXPECT_EQ(PlayDuel(options, {TDuelFighter{"Elf", first}, TDuelFighter{"Orc", second}}).Error, "");
    const TDuelResult swapped = PlayDuel(options, {TDuelFighter{"Elf", second}, TDuelFighter{"Orc", second}});
    EXPECT_NE(swapped.Error.find("KeyDown: there is no button 99"), std::string::npos) << swapped.Error;
    EXPECT_NE(swapped.Error.find("in \"Execute\" of " + second), std::string::npos) << swapped.Error;
    EXPECT_EQ(swapped.Winner, -1);
}

TEST_F(DuelTest, BrokenScriptsAndMissingFilesEndTheMatchWithTheirMessage) {
    const std::string broken =
        WriteScript("Broken.ai", "procedure Init; begin end;\nprocedure Execute;\nbegin\n"
                                 "  KeyDown(;\nend;\n");
    TDuelOptions options;
    options.LimitMs = 500;
    struct TCase {
        std::array<TDuelFighter, 2> Fighters;
        std::string Map;
        std::string Expected;
    };
    const TCase cases[] = {
        {{TDuelFighter{"Elf", ""}, TDuelFighter{"Orc", broken}}, "Default", "Syntax Error"},
        {{TDuelFighter{"Elf", ""}, TDuelFighter{"Orc", broken}}, "Default", broken + " line 4"},
        {{TDuelFighter{"Elf", ""}, TDuelFighter{"Orc", Media.Folder().string() + "/None.ai"}},
         "Default",
         "Could not open AI script " + Media.Folder().string() + "/None.ai"},
        {{TDuelFighter{"Nobody", ""}, TDuelFighter{"Orc", ""}},
         "Default",
         "No character file data\\Nobody.plr"},
        {{TDuelFighter{"Elf", ""}, TDuelFighter{"Orc", ""}}, "Nowhere", "No map file"},
    };
    for (const TCase& c : cases) {
        options.MapName = c.Map;
        const TDuelResult result = PlayDuel(options, c.Fighters);
        EXPECT_NE(result.Error.find(c.Expected), std::string::npos) << result.Error;
        EXPECT_EQ(result.Winner, -1);
    }
}

} // namespace
