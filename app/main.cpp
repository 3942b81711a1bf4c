// The program entry: the media library up, the one game, its main loop, and everything down
// again in the reverse order.
#include "app/GameUnit.h"
#include "media/BriskLibrary.h"

#include <memory>

int main() {
    const TBriskLibrary library;
    // TODO(#10): the network library starts here, after the media library.
    auto game = std::make_unique<TBriskGame>();
    Game = game.get();
    game->Run();
    Game = nullptr;
    game.reset(); // writes the settings file
    return 0;
}
