// duelmark-duel: plays whole matches between two computer-driven fighters without a window,
// sound or keyboard, so a script author can pit scripts against each other and count wins.
// Each match has its own seed (the first is --seed), so the same command prints the same lines.
#include "world/Duel.h"

#include "media/BriskLibrary.h"
#include "platform/Paths.h"
#include "world/AIPlayers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr int kExitErrors = 1;
constexpr int kExitUsage = 2;
// A match may be given at most a day of game time; more only wastes the machine.
constexpr double kMaxMinutes = 24 * 60;

constexpr std::string_view kUsage =
    "usage: duelmark-duel [--map NAME] [--matches N] [--seed S] [--level easy|normal|hard]\n"
    "                     [--minutes M] [--data DIR] P1 P2\n"
    "       duelmark-duel --help\n";

constexpr std::string_view kHelp =
    "\n"
    "P1 and P2 are a character name (Knight: its body, weapon and statistics, run by its shipped\n"
    "AI, data/default.ai joined with its own file) or Character:FILE (that character run by the\n"
    "script FILE alone). Both fighters are computer-driven on the real map with its items.\n"
    "\n"
    "--map NAME     the map (default Default)\n"
    "--matches N    how many matches (default 1); match i is seeded with S + i - 1\n"
    "--seed S       the first match's seed (default 1)\n"
    "--level L      what GetAILevel answers both scripts: easy, normal (default) or hard\n"
    "--minutes M    a match still undecided after M minutes of game time is unfinished\n"
    "               (default 5)\n"
    "--data DIR     the game folder (default: the current folder when it holds data/, else the\n"
    "               build's game folder beside this tool)\n"
    "\n"
    "One line per match, then `wins: P1 <n> P2 <n> unfinished <n>`. A match ended by an error\n"
    "(a script error, a missing file) counts as unfinished, its message goes to standard error\n"
    "as well, and the exit code is 1. Exit code 2 for a wrong command line.\n";

struct TOptions {
    TDuelOptions Duel;
    int32_t Matches = 1;
    std::string DataFolder;
    std::array<TDuelFighter, 2> Fighters;
    bool Help = false;
};

std::optional<int64_t> ParseWhole(std::string_view text, int64_t low, int64_t high) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const std::string copy(text);
    const long long value = std::strtoll(copy.c_str(), &end, 10);
    if (end != copy.c_str() + copy.size() || value < low || value > high) return std::nullopt;
    return value;
}

// "Knight" or "Knight:scripts/mine.ai"; the file is made absolute now, before the tool moves
// into the game folder.
std::optional<TDuelFighter> ParseFighter(std::string_view text) {
    TDuelFighter fighter;
    const size_t colon = text.find(':');
    fighter.Character = std::string(text.substr(0, colon));
    if (fighter.Character.empty()) return std::nullopt;
    if (colon != std::string_view::npos) {
        const std::string file(text.substr(colon + 1));
        if (file.empty()) return std::nullopt;
        fighter.ScriptFile = std::filesystem::absolute(file).string();
    }
    return fighter;
}

std::optional<TOptions> ParseOptions(int argc, char** argv) {
    TOptions options;
    int fighters = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.Help = true;
            return options;
        }
        const bool takesValue = arg == "--map" || arg == "--matches" || arg == "--seed" || arg == "--level" ||
                                arg == "--minutes" || arg == "--data";
        if (takesValue) {
            if (++i >= argc) return std::nullopt;
            const std::string_view value = argv[i];
            if (arg == "--map") {
                options.Duel.MapName = std::string(value);
            } else if (arg == "--matches") {
                const auto n = ParseWhole(value, 1, 1000000);
                if (!n) return std::nullopt;
                options.Matches = static_cast<int32_t>(*n);
            } else if (arg == "--seed") {
                const auto n = ParseWhole(value, 0, UINT32_MAX);
                if (!n) return std::nullopt;
                options.Duel.Seed = static_cast<uint32_t>(*n);
            } else if (arg == "--level") {
                const int32_t level = AILevelFromName(value);
                // AILevelFromName reads anything unknown as Normal; here a typo is an error.
                if (level == kAILevelNormal && !SameTextNoCase(value, "normal")) return std::nullopt;
                options.Duel.Level = level;
            } else if (arg == "--minutes") {
                const std::string copy(value);
                char* end = nullptr;
                const double minutes = std::strtod(copy.c_str(), &end);
                if (end != copy.c_str() + copy.size() || !(minutes > 0) || minutes > kMaxMinutes)
                    return std::nullopt;
                options.Duel.LimitMs = static_cast<uint32_t>(std::lround(minutes * 60000.0));
            } else {
                options.DataFolder = std::string(value);
            }
            continue;
        }
        if (arg.starts_with("--") || fighters >= 2) return std::nullopt;
        const auto fighter = ParseFighter(arg);
        if (!fighter) return std::nullopt;
        options.Fighters[static_cast<size_t>(fighters++)] = *fighter;
    }
    if (fighters != 2) return std::nullopt;
    return options;
}

// The game folder: the one given, the current one when it holds the data, else the build's.
std::optional<std::filesystem::path> GameFolder(const std::string& given) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!given.empty()) {
        if (fs::is_directory(given, error)) return fs::absolute(given);
        return std::nullopt;
    }
    if (fs::is_directory("data", error)) return fs::current_path();
    const fs::path built = fs::path(ExecutableFolder()) / ".." / "game";
    if (fs::is_directory(built / "data", error)) return fs::canonical(built, error);
    return std::nullopt;
}

std::string Seconds(uint32_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", ms / 1000.0);
    return text;
}

std::string HealthText(const TDuelResult& result, size_t i) {
    char text[48];
    std::snprintf(text, sizeof text, "%.0f/%.0f", std::max(0.0f, result.Health[i]), result.MaxHealth[i]);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<TOptions> parsed = ParseOptions(argc, argv);
    if (!parsed) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    if (parsed->Help) {
        std::cout << kUsage << kHelp;
        return 0;
    }
    const TOptions& options = *parsed;
    const auto folder = GameFolder(options.DataFolder);
    if (!folder) {
        std::cerr << "No game folder: run duelmark-duel in the game folder or give --data DIR\n";
        return kExitUsage;
    }
    std::error_code error;
    std::filesystem::current_path(*folder, error);
    if (error) {
        std::cerr << "Cannot enter the game folder " << folder->string() << "\n";
        return kExitUsage;
    }
    // No window and no sound, wherever the tool runs.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    int wins[2] = {0, 0};
    int unfinished = 0;
    bool failed = false;
    try {
        // The pictures of the field load as in the game; the log is duelmark-duel.log.
        const TBriskLibrary library(folder->string() + "/", "duelmark-duel");
        for (int32_t match = 0; match < options.Matches; ++match) {
            TDuelOptions duel = options.Duel;
            duel.Seed = options.Duel.Seed + static_cast<uint32_t>(match);
            const TDuelResult result = PlayDuel(duel, options.Fighters);
            std::string line =
                "match " + std::to_string(match + 1) + " (seed " + std::to_string(duel.Seed) + "): ";
            if (!result.Error.empty()) {
                ++unfinished;
                failed = true;
                line += "ended by an error after " + Seconds(result.GameMs) + ": " + result.Error;
                std::cerr << line << "\n";
            } else if (result.Winner < 0) {
                ++unfinished;
                line += "unfinished after " + Seconds(result.GameMs);
            } else {
                ++wins[result.Winner];
                line += "P" + std::to_string(result.Winner + 1) + " " +
                        options.Fighters[static_cast<size_t>(result.Winner)].Character + " wins after " +
                        Seconds(result.GameMs);
            }
            if (result.Error.empty())
                line += ", health P1 " + HealthText(result, 0) + " P2 " + HealthText(result, 1);
            std::cout << line << "\n";
        }
    } catch (const std::exception& problem) {
        std::cerr << "duelmark-duel: " << problem.what() << "\n";
        return kExitErrors;
    }
    std::cout << "wins: P1 " << wins[0] << " P2 " << wins[1] << " unfinished " << unfinished << "\n";
    return failed ? kExitErrors : 0;
}
