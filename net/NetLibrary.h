// Start and end of the network library, for the program's start-up: after the sound engine
// is up, before the game exists, and ended after the game is gone.
#pragma once

// Both may be called more than once; each start is matched by one end.
void NetInitialize();
void NetFinalize();

// RAII over NetInitialize/NetFinalize; declared after the media library's start object.
class TNetLibrary {
public:
    TNetLibrary() { NetInitialize(); }
    ~TNetLibrary() { NetFinalize(); }
    TNetLibrary(const TNetLibrary&) = delete;
    TNetLibrary& operator=(const TNetLibrary&) = delete;
};
