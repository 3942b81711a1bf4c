// Stand-ins for the screens still to come: each screen runs the shared frame loop with the
// common event rules and draws nothing. Each goes when its real one lands
// (TODO(#6): the match).
#include "app/GameUnit.h"

// Without a map to play, initialisation goes back to the setup screen instead of staying in
// a state the main loop would call forever.
void TBriskGame::GameInitialization() {
    SetState(TGameState::Setup);
}

void TBriskGame::StartMatch() {
    SetState(TGameState::Game);
}

void TBriskGame::GameProcess() {
    RunFrameLoop(TGameState::Game, {nullptr, [this] { RenderGame(); }, nullptr});
}

void TBriskGame::RenderGame() {}
