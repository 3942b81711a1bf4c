// The status panels at the bottom of the match screen: a framed box per fighter with the
// fighter's own status drawn into it (TBasePlayer::DrawStatus lays that out).
#pragma once

#include <cstdint>

class TBasePlayer;
class TBriskImage;

class TBaseDisplay {
public:
    TBaseDisplay() = default;
    virtual ~TBaseDisplay() = default;
    TBaseDisplay(const TBaseDisplay&) = delete;
    TBaseDisplay& operator=(const TBaseDisplay&) = delete;

    // The box whole at (X, Y), then the fighter's status when a fighter is shown.
    virtual void Draw();

    void SetBoxImage(TBriskImage* image) { BoxImage = image; }
    void SetX(int32_t x) { X = x; }
    void SetY(int32_t y) { Y = y; }
    // Borrowed; between matches it may still name a fighter of the last match, which the
    // game replaces before the next match is drawn.
    void SetPlayer(TBasePlayer* player) { Player = player; }

    int32_t Y = 0;
    int32_t X = 0;
    TBriskImage* BoxImage = nullptr;
    TBasePlayer* Player = nullptr;
};
