// Drawing a status panel: its box, then the fighter it shows.
#include "world/GameDisplays.h"

#include "media/BriskImage.h"
#include "world/Players.h"

void TBaseDisplay::Draw() {
    // The box pictures are loaded at start-up; one that is missing is simply not drawn.
    if (BoxImage != nullptr) BoxImage->Draw(X, Y);
    if (Player != nullptr) Player->DrawStatus(X, Y);
}
