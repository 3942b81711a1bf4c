// Raw pixel access shared by the media library's own surface code: the lock SDL may require and
// a pixel's address. Only media/ implementation files include this; it includes SDL.
#pragma once

#include <SDL.h>
#include <cstddef>
#include <cstdint>

// Holds a surface's lock for the duration of a pixel access.
class TSurfaceLock {
public:
    explicit TSurfaceLock(SDL_Surface* surface) : Locked(surface) {
        if (SDL_MUSTLOCK(Locked) && SDL_LockSurface(Locked) != 0) Locked = nullptr;
    }
    ~TSurfaceLock() {
        if (Locked != nullptr && SDL_MUSTLOCK(Locked)) SDL_UnlockSurface(Locked);
    }
    TSurfaceLock(const TSurfaceLock&) = delete;
    TSurfaceLock& operator=(const TSurfaceLock&) = delete;
    [[nodiscard]] bool Ok() const { return Locked != nullptr; }

private:
    SDL_Surface* Locked;
};

inline Uint8* PixelAddress(SDL_Surface* surface, int32_t x, int32_t y) {
    return static_cast<Uint8*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch +
           static_cast<ptrdiff_t>(x) * surface->format->BytesPerPixel;
}

inline bool SameChannels(const SDL_PixelFormat& a, const SDL_PixelFormat& b) {
    return a.Rmask == b.Rmask && a.Gmask == b.Gmask && a.Bmask == b.Bmask;
}
