// What the game tests do before they make a game: give the test folder the built game's data
// and start from input no earlier test left behind.
#pragma once

#include "app/GameUnit.h"
#include "world/KeyState.h"

#include <SDL.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>

// Links the built game's folders ("images", "data", "sound", "maps") into the test folder, so
// a game made there reads the shipped data; call it through ASSERT_NO_FATAL_FAILURE.
inline void LinkGameFolders(const std::filesystem::path& testFolder,
                            std::initializer_list<const char*> folders) {
    const std::filesystem::path game = DUELMARK_GAME_DIR;
    for (const char* folder : folders) {
        ASSERT_FALSE(!std::filesystem::is_directory(game / folder) || std::filesystem::is_empty(game / folder))
            << game / folder << ": build the game_data target first";
        std::filesystem::create_directory_symlink(game / folder, testFolder / folder);
    }
}

// No key held and no event queued: SDL's queue outlives a test.
inline void ResetInput() {
    ClearKeyState();
    SDL_Event stale;
    while (SDL_PollEvent(&stale) != 0) {
    }
}

// A local match of two keyboard players on Default, started as PLAY starts it; the caller
// checks that it reached the match.
inline std::unique_ptr<TBriskGame> StartMatchOnDefault() {
    auto game = std::make_unique<TBriskGame>();
    game->EnterSetup();
    game->AIBox = 0;
    game->MapNames = {"Default"};
    game->MapIndex = 0;
    game->GameInitialization();
    return game;
}
