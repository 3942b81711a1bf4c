// A game on the shipped data with the network library up, for the networked-match tests: its
// peer is the test, speaking the message protocol either straight into ReceiveMessage or over
// loopback through its own endpoint. The field is a small arena of plain ground.
#pragma once

#include "GameTestSetup.h"
#include "app/GameUnit.h"
#include "media/BriskLogger.h"
#include "net/BriskNet.h"
#include "net/NetLibrary.h"
#include "net/NetworkUnit.h"
#include "support/MediaFixture.h"
#include "world/KeyState.h"
#include "world/Map.h"
#include "world/Players.h"

#include <SDL.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

class NetTestGame : public MediaFixture {
protected:
    // Not the game's own port, so a game running beside the tests is not disturbed.
    static constexpr uint16_t kTestPort = 23080;
    // Characters in the order of the setup screen.
    static constexpr int32_t kBarbar = 0, kElf = 1, kKnight = 2;

    void SetUp() override {
        MediaFixture::SetUp();
        namespace fs = std::filesystem;
        ASSERT_NO_FATAL_FAILURE(LinkGameFolders(Media->Folder(), {"images", "data", "sound"}));
        fs::create_directory(Media->Folder() / "maps");
        // Player 1 at x 300, player 2 200 px to its right on the same row.
        std::ofstream(Media->Folder() / "maps" / "Arena.map", std::ios::binary)
            << "[Map]\r\nStartY0=300\r\nStartX0=300\r\nStartY1=500\r\nStartX1=300\r\n";
        ResetInput();
        Network = std::make_unique<TNetLibrary>();
        Game = std::make_unique<TBriskGame>();
        Game->NetPort = kTestPort;
        Game->EnterSetup();
        Game->MapNames = {"Arena"};
        Game->MapIndex = 0;
    }
    void TearDown() override {
        Game.reset();
        Network.reset();
        ClearKeyState();
        MediaFixture::TearDown();
    }

    // A match as the server (player 1 here) or the client (player 2 here) builds it.
    void BuildMatch(int32_t netMode) {
        Game->SetNetMode(netMode);
        Game->Player1Char = kElf;
        Game->Player2Char = kKnight;
        Game->MapName = "Maps\\Arena.map";
        Game->StartMatch();
        ASSERT_EQ(Game->State, TGameState::Game);
    }
    [[nodiscard]] TBasePlayer& Local() const {
        return *Game->Players.at(static_cast<size_t>(Game->LocalRow()));
    }
    [[nodiscard]] TBasePlayer& Remote() const {
        return *Game->Players.at(static_cast<size_t>(1 - Game->LocalRow()));
    }

    // The record the peer of this game's role would send.
    [[nodiscard]] TNetMessage FromPeer(TMessageKind kind, TMessageBody body) const {
        TNetMessage message;
        message.Sender = Game->NetMode == 1 ? "Client" : "Server";
        message.Kind = static_cast<uint8_t>(kind);
        message.Body = std::move(body);
        return message;
    }
    void Deliver(const TNetMessage& message) {
        const TNetRecord record = EncodeMessage(message);
        Game->ReceiveMessage(Unused, record);
    }

    [[nodiscard]] size_t LogLinesWith(const std::string& text) const {
        size_t count = 0;
        for (const auto& line : Media->LogLines())
            count += line.find(text) != std::string::npos;
        return count;
    }
    // An error line of the receive handler.
    [[nodiscard]] size_t ReceiveErrors(const std::string& message) const {
        return LogLinesWith(message + " IN : Get Message");
    }

    std::unique_ptr<TNetLibrary> Network;
    std::unique_ptr<TBriskGame> Game;
    TBriskTCPClient Unused; // the endpoint ReceiveMessage is told about; it is not looked at
};
