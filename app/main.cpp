// The program entry: the media library up, the one game, its main loop, and everything down
// again in the reverse order.
#include "app/GameUnit.h"
#include "media/BriskLibrary.h"
#include "net/NetLibrary.h"

#include <memory>

int main() {
    const TBriskLibrary library;
    // After the media library, so it ends before it.
    const TNetLibrary network;
    auto game = std::make_unique<TBriskGame>();
    Game = game.get();
    game->Run();
    Game = nullptr;
    game.reset(); // writes the settings file
    return 0;
}
