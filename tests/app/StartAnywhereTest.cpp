// The built game started from a working directory that is not its own: it enters its data
// folder, says so in its log, and ends normally on the window-close event that SDL makes of
// a termination signal.
#include "support/MediaFixture.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr auto kPatience = std::chrono::seconds(60);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

bool LogHas(const fs::path& log, const std::string& text) {
    for (const std::string& line : ReadLines(log))
        if (line.find(text) != std::string::npos) return true;
    return false;
}

// Waits for the child to end; -1 when it did not within kPatience (it is then killed).
int WaitForExit(pid_t child) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(StartAnywhere, GameStartedFromAnotherFolderRunsInItsOwnAndSaysSo) {
    const fs::path game = DUELMARK_GAME_DIR;
    ASSERT_TRUE(fs::exists(game / "duelmark")) << "build the duelmark target first";
    // A copy of the game folder, so the run leaves no log or settings in the build's.
    const fs::path folder = MakeTestFolder("anywhere");
    fs::copy_file(game / "duelmark", folder / "duelmark");
    fs::permissions(folder / "duelmark", fs::perms::owner_all, fs::perm_options::add);
    for (const char* data : {"images", "data", "sound", "maps"})
        fs::create_directory_symlink(game / data, folder / data);
    const fs::path elsewhere = MakeTestFolder("anywhere_cwd");

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (chdir(elsewhere.c_str()) != 0) _exit(90);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        const std::string program = (folder / "duelmark").string();
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(91);
    }

    // The caption's status line comes once SDL is up and the game has loaded its data.
    const fs::path log = folder / "duelmark.log";
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!LogHas(log, " IN : Initialize") && std::chrono::steady_clock::now() < deadline &&
           waitpid(child, nullptr, WNOHANG) == 0)
        std::this_thread::sleep_for(kPollInterval);
    std::error_code error;
    const fs::path workingFolder = fs::read_symlink("/proc/" + std::to_string(child) + "/cwd", error);
    kill(child, SIGTERM);
    EXPECT_EQ(WaitForExit(child), 0);

    EXPECT_TRUE(fs::equivalent(workingFolder, folder, error)) << workingFolder;
    EXPECT_TRUE(LogHas(log, " MSG : Running in " + folder.string() + "/ IN : Main"));
    EXPECT_TRUE(LogHas(log, " MSG : Quit Event IN : TitleProcess"));
    EXPECT_TRUE(LogHas(log, " MSG : Terminating Application IN : Finalization"));
    EXPECT_TRUE(fs::exists(folder / "Duelmark.def")) << "the settings are written beside the game";
    EXPECT_TRUE(fs::is_empty(elsewhere)) << "nothing is written where it was started";
    fs::remove_all(folder, error);
    fs::remove_all(elsewhere, error);
}

} // namespace
