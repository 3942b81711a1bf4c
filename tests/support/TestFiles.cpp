// Test-made media files and pushed SDL events.
#include "TestFiles.h"

#include <SDL.h>
#include <fstream>

bool SaveBitmapFile(SDL_Surface* surface, const std::filesystem::path& path) {
    return surface != nullptr && SDL_SaveBMP(surface, path.string().c_str()) == 0;
}

namespace {

void PutLittleEndian(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PushKey(Uint8 type, int keyCode) {
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = static_cast<SDLKey>(keyCode);
    SDL_PushEvent(&event);
}

} // namespace

void WriteSilentWav(const std::filesystem::path& path, uint32_t durationMs) {
    constexpr uint32_t kRate = 22050;
    const uint32_t samples = kRate * durationMs / 1000;
    std::ofstream out(path, std::ios::binary);
    out << "RIFF";
    PutLittleEndian(out, 36 + samples, 4);
    out << "WAVEfmt ";
    PutLittleEndian(out, 16, 4);
    PutLittleEndian(out, 1, 2); // PCM
    PutLittleEndian(out, 1, 2); // mono
    PutLittleEndian(out, kRate, 4);
    PutLittleEndian(out, kRate, 4); // bytes per second
    PutLittleEndian(out, 1, 2);     // block align
    PutLittleEndian(out, 8, 2);     // bits per sample
    out << "data";
    PutLittleEndian(out, samples, 4);
    for (uint32_t i = 0; i < samples; ++i)
        out.put(static_cast<char>(0x80)); // unsigned silence
}

void PushKeyDown(int keyCode) {
    PushKey(SDL_KEYDOWN, keyCode);
}

void PushKeyUp(int keyCode) {
    PushKey(SDL_KEYUP, keyCode);
}

void PushMouseUp(int x, int y, int button) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONUP;
    event.button.type = SDL_MOUSEBUTTONUP;
    event.button.button = static_cast<Uint8>(button);
    event.button.state = SDL_RELEASED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    SDL_PushEvent(&event);
}

void PushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}
