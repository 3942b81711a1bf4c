// Reading the game's command line.
#include "app/CommandLine.h"

#include <charconv>
#include <string_view>

namespace {

constexpr std::string_view kQuitAfterFrames = "--quit-after-frames";
// About four weeks at the menus' pace; a larger count is surely a typing error.
constexpr uint32_t kMaxQuitAfterFrames = 100000000;

TCommandLine Refused(std::string problem) {
    TCommandLine line;
    line.Action = TCommandLine::TAction::Refuse;
    line.Problem = std::move(problem);
    return line;
}

} // namespace

TCommandLine ReadCommandLine(std::span<const char* const> arguments) {
    TCommandLine line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            line.Action = TCommandLine::TAction::ShowHelp;
            return line;
        }
        if (argument == "--version") {
            line.Action = TCommandLine::TAction::ShowVersion;
            return line;
        }
        std::string_view count;
        if (argument == kQuitAfterFrames) {
            if (i + 1 == arguments.size()) return Refused("--quit-after-frames needs a number of frames");
            count = arguments[++i];
        } else if (argument.starts_with(std::string(kQuitAfterFrames) + "=")) {
            count = argument.substr(kQuitAfterFrames.size() + 1);
        } else {
            return Refused("unknown option '" + std::string(argument) + "'");
        }
        uint32_t frames = 0;
        const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), frames);
        if (count.empty() || error != std::errc() || end != count.data() + count.size() || frames == 0 ||
            frames > kMaxQuitAfterFrames)
            return Refused("--quit-after-frames needs a number of frames from 1 to 100000000, not '" +
                           std::string(count) + "'");
        line.QuitAfterFrames = frames;
    }
    return line;
}

std::string CommandLineHelp() {
    return "Usage: duelmark [OPTION]\n"
           "A real-time fighting game for two players.\n"
           "\n"
           "  --quit-after-frames N  quit as if the window were closed after N frames\n"
           "                         (for checking an installed game headless)\n"
           "  --version              print the version and end\n"
           "  -h, --help             print this help and end\n"
           "\n"
           "The manual page duelmark(6) tells the keys and where the game keeps its files.\n";
}
