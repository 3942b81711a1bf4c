// The program entry: the command line read, the data folder entered, the media library up, the
// one game, its main loop, and everything down again in the reverse order.
#include "app/CommandLine.h"
#include "app/GameUnit.h"
#include "media/BriskLibrary.h"
#include "media/BriskLogger.h"
#include "net/NetLibrary.h"
#include "platform/GameFolders.h"

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    const TCommandLine commandLine =
        ReadCommandLine(std::span<const char* const>(argv + 1, argc > 0 ? static_cast<size_t>(argc - 1) : 0));
    switch (commandLine.Action) {
    case TCommandLine::TAction::ShowHelp:
        std::cout << CommandLineHelp();
        return 0;
    case TCommandLine::TAction::ShowVersion:
        std::cout << kGameTitle << " " << kGameVersion << "\n";
        return 0;
    case TCommandLine::TAction::Refuse:
        std::cerr << "duelmark: " << commandLine.Problem << "\nTry 'duelmark --help'.\n";
        return 2;
    case TCommandLine::TAction::Play:
        break;
    }
    // Before anything opens a file: the data is found however the game was started.
    const bool inDataFolder = EnterDataFolder();
    const TBriskLibrary library;
    if (inDataFolder)
        Logger->LogStatus("Running in " + DataFolder(), "Main");
    else
        Logger->LogError("Could not enter the data folder " + DataFolder(), "Main");
    Logger->LogStatus("Settings and start-up file in " + Logger->AppPath, "Main");
    Logger->LogStatus("Log in " + Logger->LogPath, "Main");
    // After the media library, so it ends before it.
    const TNetLibrary network;
    auto game = std::make_unique<TBriskGame>();
    game->QuitAfterFrames = commandLine.QuitAfterFrames;
    Game = game.get();
    game->Run();
    Game = nullptr;
    game.reset(); // writes the settings file
    return 0;
}
