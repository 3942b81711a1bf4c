// The check of a networked match's files, between two games through the relay: a map the
// client lacks or holds in another form (the map file or a building file it names), a
// character one side lacks or holds in another form, and a map path longer than the 20
// characters of the old field, which plays. A refusal starts no match; both setup screens say
// why, and the client can try again.
#include "TwoGames.h"

#include <filesystem>
#include <map>

namespace {

// A map with one building whose file the test may change.
constexpr const char* kHutMap =
    "[Map]\r\nStartY0=300\r\nStartX0=250\r\nStartY1=300\r\nStartX1=700\r\n"
    "[Obstructions]\r\nObstructionCount=1\r\nObstruction0=Hut\r\nObstructionX0=800\r\n"
    "ObstructionY0=200\r\n";
constexpr const char* kHutFile = "[Hut]\r\nBlockLR=1\r\nBlockU=1\r\n";

class RelayedHandshake : public TwoGames {
protected:
    void SetUp() override {
        TwoGames::SetUp();
        WriteFile("maps/Village.map", kHutMap);
        // The client's list keeps a map when Village goes.
        WriteFile("maps/Meadow.map", "");
        WriteFile("data/Hut.bld", kHutFile);
    }
    // Both games back on their setup screens, with the words each shows.
    void ExpectRefused(const std::string& serverWords, const std::string& clientWords) {
        ASSERT_TRUE(
            StepUntil([this] { return Client->State == TGameState::Setup && !Server->SetupNotice.empty(); }));
        for (int step = 0; step < 10; ++step)
            Step();
        EXPECT_EQ(Server->SetupNotice, serverWords);
        EXPECT_EQ(Client->SetupNotice, clientWords);
        EXPECT_EQ(Server->State, TGameState::Setup);
        EXPECT_FALSE(Server->OpponentReady);
        EXPECT_FALSE(Server->Net.AwaitingAnswer);
        EXPECT_EQ(Server->Map, nullptr);
        EXPECT_EQ(Client->Map, nullptr);
        EXPECT_EQ(LogLinesWith("MSG : " + serverWords + " IN : Choose Player"), ++Refusals[serverWords]);
        EXPECT_EQ(LogLinesWith("MSG : " + clientWords + " IN : Choose Player"), ++Refusals[clientWords]);
        EXPECT_EQ(LogLinesWith("Match over"), 0u);
    }

    // How often each refusal has been logged so far.
    std::map<std::string, size_t> Refusals;
};

// The server's offer is on its way through the slow relay when a file on the client's side
// goes missing or changes by one byte.
TEST_F(RelayedHandshake, AMapTheClientLacksOrHoldsOtherwiseStartsNoMatch) {
    struct TCase {
        const char* File;
        bool Remove;
        const char* ServerWords;
        const char* ClientWords;
    };
    for (const TCase& c : {TCase{"maps/Village.map", true, "The client does not have the map Village.",
                                 "The server's map Village is missing here."},
                           TCase{"maps/Village.map", false, "The client has a different map Village.",
                                 "The server's map Village differs from the one here."},
                           TCase{"data/Hut.bld", false, "The client has a different map Village.",
                                 "The server's map Village differs from the one here."}}) {
        SCOPED_TRACE(std::string(c.File) + (c.Remove ? " removed" : " changed"));
        Relay->SetDelay(0);
        Connect();
        ASSERT_TRUE(Server->OpponentReady) << Server->SetupNotice << " / " << Client->SetupNotice;
        Relay->SetDelay(100);
        Play("Village");
        EXPECT_TRUE(Server->Net.AwaitingAnswer);
        EXPECT_EQ(Server->State, TGameState::Setup) << "the match waits for the client's answer";
        const std::string original = ReadFile(c.File);
        if (c.Remove) {
            std::filesystem::remove(Media->Folder() / c.File);
        } else {
            std::string changed = original;
            changed[changed.size() - 3] ^= 1;
            WriteFile(c.File, changed);
        }
        ExpectRefused(c.ServerWords, c.ClientWords);
        WriteFile(c.File, original);

        // The same files again on both sides: the client connects anew and the match starts.
        Relay->SetDelay(0);
        Click(*Client, 300, 450);
        ASSERT_TRUE(StepUntil([this] { return Server->OpponentReady; }));
        EXPECT_EQ(Server->SetupNotice, "");
        Play("Village");
        ASSERT_TRUE(BothPlaying());
        EXPECT_EQ(Client->MapName, "Maps\\Village.map");
        EXPECT_EQ(Client->SetupNotice, "");
        // Back to the setup screens for the next case, without this match.
        for (TBriskGame* game : {Server.get(), Client.get()}) {
            game->SetState(TGameState::Setup);
            game->Players = {};
            game->Map.reset();
        }
        Client->Client.reset();
        ASSERT_TRUE(StepUntil([this] { return Server->Server->ClientCount() == 0; }));
        Server->SetupNotice.clear();
    }
}

TEST_F(RelayedHandshake, ACharacterTheServerLacksIsRefusedBeforeAnyOffer) {
    Server->SetState(TGameState::Setup);
    Client->SetState(TGameState::Setup);
    // Only the client has a Dragon: a portrait of its own, no character file.
    Client->SetupImages.LoadImage("Dragon", "images\\Dragon.png");
    Connect(Client->SetupImages.IndexOf("Dragon") - 1);
    ExpectRefused("The client's character Dragon is missing here.",
                  "The server does not have the character Dragon.");
    EXPECT_EQ(Server->Player2Char, -1);
}

TEST_F(RelayedHandshake, ACharacterFileThatDiffersIsRefused) {
    Relay->SetDelay(100);
    Server->SetState(TGameState::Setup);
    Client->SetState(TGameState::Setup);
    Click(*Server, 150, 175);
    Click(*Client, 450, 125);
    Client->IPText = "127.0.0.1";
    Client->Player2Char = kKnight;
    Click(*Client, 300, 450);
    // The announcement is on its way when the server's Knight changes by one byte.
    ASSERT_TRUE(StepUntil([this] { return Client->Net.Announced; }));
    std::string knight = ReadFile("data/Knight.plr");
    knight[knight.size() - 3] ^= 1;
    WriteFile("data/Knight.plr", knight);
    ExpectRefused("The client's character Knight differs from the one here.",
                  "The server has a different character Knight.");
}

// The old field carries the first 20 characters of the map path only; the whole path goes
// with the check, and the client plays the server's own map.
TEST_F(RelayedHandshake, AMapPathLongerThanTwentyCharactersPlaysTheSameMap) {
    const std::string name = "The Village Of Very Long Names";
    WriteFile("maps/" + name + ".map", kHutMap);
    Connect();
    Play(name);
    ASSERT_TRUE(BothPlaying());
    EXPECT_EQ(Server->MapName, "Maps\\" + name + ".map");
    EXPECT_EQ(Client->MapName, Server->MapName);
    // The building stands on both fields.
    const auto buildings = [](const TBriskGame& game) {
        int count = 0;
        for (const auto& item : game.Map->Items())
            count += dynamic_cast<const TObstruction*>(item.get()) != nullptr;
        return count;
    };
    EXPECT_EQ(buildings(*Server), 1);
    EXPECT_EQ(buildings(*Client), 1);
}

} // namespace
