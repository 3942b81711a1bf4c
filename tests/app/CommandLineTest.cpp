// The game's command line: help and version end at once, the frame count is a whole number in
// range, and anything else is refused with words rather than ignored.
#include "app/CommandLine.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TCommandLine Read(std::vector<const char*> arguments) {
    return ReadCommandLine(arguments);
}

TEST(CommandLine, ReadsTheOptionsAndRefusesAnythingElse) {
    using TAction = TCommandLine::TAction;
    const struct {
        std::vector<const char*> Arguments;
        TAction Action;
        uint32_t Frames;
        const char* Problem;
    } cases[] = {
        {{}, TAction::Play, 0, ""},
        {{"--quit-after-frames", "5"}, TAction::Play, 5, ""},
        {{"--quit-after-frames=1"}, TAction::Play, 1, ""},
        {{"--quit-after-frames", "100000000"}, TAction::Play, 100000000, ""},
        {{"--help"}, TAction::ShowHelp, 0, ""},
        {{"-h", "--bogus"}, TAction::ShowHelp, 0, ""},
        {{"--version"}, TAction::ShowVersion, 0, ""},
        {{"--quit-after-frames", "0"},
         TAction::Refuse,
         0,
         "--quit-after-frames needs a number of frames from 1 to 100000000, not '0'"},
        {{"--quit-after-frames", "100000001"},
         TAction::Refuse,
         0,
         "--quit-after-frames needs a number of frames from 1 to 100000000, not '100000001'"},
        {{"--quit-after-frames", "5x"},
         TAction::Refuse,
         0,
         "--quit-after-frames needs a number of frames from 1 to 100000000, not '5x'"},
        {{"--quit-after-frames", "-3"},
         TAction::Refuse,
         0,
         "--quit-after-frames needs a number of frames from 1 to 100000000, not '-3'"},
        {{"--quit-after-frames="},
         TAction::Refuse,
         0,
         "--quit-after-frames needs a number of frames from 1 to 100000000, not ''"},
        {{"--quit-after-frames"}, TAction::Refuse, 0, "--quit-after-frames needs a number of frames"},
        {{"--fullscreen"}, TAction::Refuse, 0, "unknown option '--fullscreen'"},
        {{"--quit-after-framesX"}, TAction::Refuse, 0, "unknown option '--quit-after-framesX'"},
    };
    for (const auto& c : cases) {
        const TCommandLine line = Read(c.Arguments);
        const std::string shown = c.Arguments.empty() ? "(none)" : c.Arguments.front();
        EXPECT_EQ(line.Action, c.Action) << shown;
        EXPECT_EQ(line.QuitAfterFrames, c.Frames) << shown;
        EXPECT_EQ(line.Problem, c.Problem) << shown;
    }
}

} // namespace
