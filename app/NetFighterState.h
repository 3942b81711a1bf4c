// The state of this keyboard's fighter as the messages carry it, shared by the Move Player
// and the Item State senders (NetPlay.cpp, NetItems.cpp).
#pragma once

#include "net/NetworkUnit.h"

#include <cstdint>

class TBasePlayer;

// Nearest integer, halves to even, within int32 (a NaN travels as 0).
[[nodiscard]] int32_t RoundForWire(double value);
// The fighter's position, speed, armour, health, animation, magic items and abilities.
[[nodiscard]] TMovePlayerBody MoveBodyOf(const TBasePlayer& fighter);
