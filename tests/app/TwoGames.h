// Two games in one process, a server and a client, talking over loopback through the relay,
// which can delay, stall, cut and drop what passes. Both run on the manual clock; a step is
// 20 ms of it, with one frame of each game (each with the keys its own person holds) and the
// relay pumped after each. The game folder is the test's own: pictures and sounds of the
// generated game, a copy of its data files (so a test can change one), and the test's maps.
#pragma once

#include "GameTestSetup.h"
#include "Relay.h"
#include "ScreenFrame.h"
#include "app/GameUnit.h"
#include "media/BriskLogger.h"
#include "net/NetLibrary.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"
#include "world/KeyState.h"
#include "world/Map.h"
#include "world/Players.h"

#include <SDL.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>

class TwoGames : public MediaFixture {
protected:
    // Not the game's own port, so a game running beside the tests is not disturbed.
    static constexpr uint16_t kServerPort = 23084;
    static constexpr uint32_t kStepMs = 20;
    // Characters in the order of the setup screen.
    static constexpr int32_t kBarbar = 0, kElf = 1, kKnight = 2;
    // Key set 0: every person plays with it in a networked match.
    static constexpr int kUp = 273, kDown = 274, kLeft = 276, kRight = 275, kSpace = 32;

    void SetUp() override {
        MediaFixture::SetUp();
        namespace fs = std::filesystem;
        const fs::path game = DUELMARK_GAME_DIR;
        ASSERT_TRUE(fs::exists(game / "data" / "Elf.plr")) << "build the game_data target first";
        for (const char* folder : {"images", "sound"})
            fs::create_directory_symlink(game / folder, Media->Folder() / folder);
        fs::copy(game / "data", Media->Folder() / "data");
        fs::create_directory(Media->Folder() / "maps");
        ResetInput();
        Network = std::make_unique<TNetLibrary>();
        Relay = std::make_unique<TRelay>(0, kServerPort, [this] { return Media->Clock.Ticks(); });
        ASSERT_TRUE(Relay->Listening());
        Server = std::make_unique<TBriskGame>();
        Client = std::make_unique<TBriskGame>();
        Server->NetPort = kServerPort;
        Client->NetPort = Relay->Port();
    }
    void TearDown() override {
        Client.reset();
        Server.reset();
        Relay.reset();
        Network.reset();
        ClearKeyState();
        MediaFixture::TearDown();
    }

    void WriteFile(const std::string& path, const std::string& text) const {
        std::ofstream(Media->Folder() / path, std::ios::binary) << text;
    }
    [[nodiscard]] std::string ReadFile(const std::string& path) const {
        std::ifstream in(Media->Folder() / path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // One turn of a game's main loop: its screen's frame (or initialisation), then Messaging.
    static void Frame(TBriskGame& game) {
        RunScreenFrame(game);
        game.Messaging();
    }
    static void Hold(const std::set<int>& keys) {
        ClearKeyState();
        for (int key : keys)
            SetKeyState(key, true);
    }
    // 20 ms of both games, each person holding its keys.
    void Step(const std::set<int>& serverKeys = {}, const std::set<int>& clientKeys = {}) {
        Media->Clock.Advance(kStepMs);
        Hold(serverKeys);
        Frame(*Server);
        Relay->Pump();
        Hold(clientKeys);
        Frame(*Client);
        Relay->Pump();
        ClearKeyState();
    }
    template <class Done> bool StepUntil(Done done, int steps = 500) {
        for (int step = 0; step < steps && !done(); ++step)
            Step();
        return done();
    }
    // A click of the person at this game: the next frame takes it.
    static void Click(TBriskGame& game, int32_t x, int32_t y) {
        PushMouseUp(x, y);
        Frame(game);
    }

    // The server listens, the client connects with its character and announces it.
    void Connect(int32_t clientCharacter = kKnight) {
        Server->SetState(TGameState::Setup);
        Client->SetState(TGameState::Setup);
        Click(*Server, 150, 175); // Server
        ASSERT_NE(Server->Server, nullptr);
        Click(*Client, 450, 125); // Client
        Client->IPText = "127.0.0.1";
        Client->Player2Char = clientCharacter;
        Click(*Client, 300, 450); // CONNECT
        ASSERT_TRUE(StepUntil([this] { return Server->OpponentReady || !Server->SetupNotice.empty(); }));
    }
    // The server's person chooses the map and its character and clicks PLAY.
    void Play(const std::string& map, int32_t serverCharacter = kElf) {
        Server->MapNames = {map};
        Server->MapIndex = 0;
        Server->Player1Char = serverCharacter;
        Click(*Server, 300, 450);
    }
    bool BothPlaying() {
        return StepUntil(
            [this] { return Server->State == TGameState::Game && Client->State == TGameState::Game; });
    }

    [[nodiscard]] size_t LogLinesWith(const std::string& text) const {
        size_t count = 0;
        for (const auto& line : Media->LogLines())
            count += line.find(text) != std::string::npos;
        return count;
    }
    // A game's fighter of row.
    static TBasePlayer& Fighter(const TBriskGame& game, int32_t row) {
        return *game.Players.at(static_cast<size_t>(row));
    }

    std::unique_ptr<TNetLibrary> Network;
    std::unique_ptr<TRelay> Relay;
    std::unique_ptr<TBriskGame> Server;
    std::unique_ptr<TBriskGame> Client;
};
