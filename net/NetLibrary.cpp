// The network library's start and end.
#include "net/NetLibrary.h"

#include <SDL_net.h>
#include <csignal>

void NetInitialize() {
    // The result tells nothing the first socket call would not; a failed start shows there.
    SDLNet_Init();
    // A peer that goes away while we write to it must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
}

void NetFinalize() {
    SDLNet_Quit();
}
