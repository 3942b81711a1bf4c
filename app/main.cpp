// The program entry: the data folder entered, the media library up, the one game, its main
// loop, and everything down again in the reverse order.
#include "app/GameUnit.h"
#include "media/BriskLibrary.h"
#include "media/BriskLogger.h"
#include "net/NetLibrary.h"
#include "platform/GameFolders.h"

#include <memory>

int main() {
    // Before anything opens a file: the data is found however the game was started.
    const bool inDataFolder = EnterDataFolder();
    const TBriskLibrary library;
    if (inDataFolder)
        Logger->LogStatus("Running in " + DataFolder(), "Main");
    else
        Logger->LogError("Could not enter the data folder " + DataFolder(), "Main");
    // After the media library, so it ends before it.
    const TNetLibrary network;
    auto game = std::make_unique<TBriskGame>();
    Game = game.get();
    game->Run();
    Game = nullptr;
    game.reset(); // writes the settings file
    return 0;
}
