// The game's command-line options: --help, --version and the test option --quit-after-frames.
// Reading them only; main acts on the result.
#pragma once

#include <cstdint>
#include <span>
#include <string>

struct TCommandLine {
    enum class TAction : uint8_t { Play, ShowHelp, ShowVersion, Refuse };
    TAction Action = TAction::Play;
    // 0: play until the player quits.
    uint32_t QuitAfterFrames = 0;
    // For Refuse: what was wrong, in words.
    std::string Problem;
};

// The arguments after the program name.
[[nodiscard]] TCommandLine ReadCommandLine(std::span<const char* const> arguments);

// The text --help prints.
[[nodiscard]] std::string CommandLineHelp();
