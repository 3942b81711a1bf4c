// Pictures, sounds and SDL events that tests make for themselves instead of shipping files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

struct SDL_Surface;

// Saves a surface as a BMP file, which the picture loader reads like the game's PNGs.
bool SaveBitmapFile(SDL_Surface* surface, const std::filesystem::path& path);

// A mono unsigned 8-bit 22050 Hz WAV file of silence lasting durationMs.
void WriteSilentWav(const std::filesystem::path& path, uint32_t durationMs);

// Pushes real events into SDL's queue, as a player's keyboard and window would.
void PushKeyDown(int keyCode);
void PushKeyUp(int keyCode);
void PushMouseUp(int x, int y, int button = 1);
void PushQuit();
