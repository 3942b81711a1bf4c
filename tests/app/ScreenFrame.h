// One frame of whichever screen a game shows, as its main loop runs it (initialisation counts
// as a frame of its own), for tests that drive a game frame by frame.
#pragma once

#include "app/GameUnit.h"

#include <gtest/gtest.h>

inline void RunScreenFrame(TBriskGame& game) {
    switch (game.State) {
    case TGameState::Title:
        game.RunFrame(TGameState::Title, game.TitleHooks());
        break;
    case TGameState::Setup:
    case TGameState::WaitForServer:
        game.RunFrame(game.State, game.SetupHooks());
        break;
    case TGameState::Keys:
        game.RunFrame(TGameState::Keys, game.KeysHooks());
        break;
    case TGameState::Help:
        game.RunFrame(TGameState::Help, game.HelpHooks());
        break;
    case TGameState::Initialization:
        game.GameInitialization();
        break;
    case TGameState::Game:
        game.RunFrame(TGameState::Game, game.GameHooks());
        break;
    case TGameState::End:
        game.RunFrame(TGameState::End, game.EndHooks());
        break;
    case TGameState::Quit:
        ADD_FAILURE() << "the game has quit";
        break;
    }
}
