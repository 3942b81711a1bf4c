// A benchmark's program folder: a temporary folder linking to the game folder's data, with a
// quiet, unpaced start-up file, made the working folder, the manual clock installed and the media
// library up. The benchmark leaves no log or settings in the game folder; everything is undone
// in reverse order when it goes.
#pragma once

#include "media/BriskLibrary.h"
#include "platform/Clock.h"
#include "world/KeyState.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

class TBenchGameFolder {
public:
    explicit TBenchGameFolder(const std::string& name)
        : Folder(std::filesystem::temp_directory_path() / name) {
        namespace fs = std::filesystem;
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        const fs::path game = DUELMARK_GAME_DIR;
        for (const char* folder : {"images", "data", "sound", "maps"})
            fs::create_directory_symlink(game / folder, Folder / folder);
        // No log, and no frame pacing: a benchmark measures what a frame costs, not its wait.
        std::ofstream(Folder / "duelmark.cfg") << "Debug=0\nMaxFPS=0\n";
        fs::current_path(Folder);
        SetClock(&Clock);
        Library = std::make_unique<TBriskLibrary>(Folder.string() + "/", "duelmark");
    }
    ~TBenchGameFolder() {
        Library.reset();
        SetClock(nullptr);
        ClearKeyState();
        std::error_code error;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), error);
        std::filesystem::remove_all(Folder, error);
    }
    TBenchGameFolder(const TBenchGameFolder&) = delete;
    TBenchGameFolder& operator=(const TBenchGameFolder&) = delete;

    TManualClock Clock;

private:
    std::filesystem::path Folder;
    std::unique_ptr<TBriskLibrary> Library;
};
