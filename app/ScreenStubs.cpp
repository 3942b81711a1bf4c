// Stand-ins for the screens and resources still to come: each screen runs the shared frame
// loop with the common event rules and draws nothing. Each goes when its real one lands
// (TODO(#4): title, help, end, setup screens and start-up resources; TODO(#6): the match).
#include "app/GameUnit.h"

void TBriskGame::LoadImages() {}

void TBriskGame::LoadFonts() {}

void TBriskGame::TitleProcess() {
    RunFrameLoop(TGameState::Title, {nullptr, [this] { RenderTitle(); }, nullptr});
}

void TBriskGame::RenderTitle() {}

void TBriskGame::HelpProcess() {
    RunFrameLoop(TGameState::Help, {nullptr, [this] { RenderHelp(); }, nullptr});
}

void TBriskGame::RenderHelp() {}

void TBriskGame::EndProcess() {
    RunFrameLoop(TGameState::End, {nullptr, [this] { RenderEndGame(); }, nullptr});
}

void TBriskGame::RenderEndGame() {}

void TBriskGame::GameSetupProcess() {
    const TFrameHooks hooks{nullptr, [this] { RenderGameSetup(); }, nullptr};
    // A waiting client runs one frame per call; the main loop calls again.
    if (State == TGameState::WaitForServer)
        RunFrame(TGameState::WaitForServer, hooks);
    else
        RunFrameLoop(TGameState::Setup, hooks);
}

void TBriskGame::RenderGameSetup() {}

void TBriskGame::EnterSetup() {}

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
