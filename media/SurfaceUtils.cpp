// Surface ownership and raw pixel access by byte width.
#include "media/SurfaceUtils.h"

#include <SDL.h>

void TSurfaceFree::operator()(SDL_Surface* surface) const {
    SDL_FreeSurface(surface);
}

TBriskRect MakeRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    return TBriskRect{static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<uint16_t>(w),
                      static_cast<uint16_t>(h)};
}

void BlitRect(SDL_Surface* from, const TBriskRect& src, SDL_Surface* target, int32_t x, int32_t y,
              TBriskRect* dest) {
    if (from == nullptr || target == nullptr) return;
    SDL_Rect source{src.X, src.Y, src.W, src.H};
    SDL_Rect destination{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_UpperBlit(from, &source, target, &destination);
    if (dest != nullptr) *dest = TBriskRect{destination.x, destination.y, destination.w, destination.h};
}

namespace {

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

Uint8* PixelAddress(SDL_Surface* surface, int32_t x, int32_t y) {
    return static_cast<Uint8*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch +
           static_cast<ptrdiff_t>(x) * surface->format->BytesPerPixel;
}

bool Inside(SDL_Surface* surface, int32_t x, int32_t y) {
    return surface != nullptr && x >= 0 && y >= 0 && x < surface->w && y < surface->h;
}

} // namespace

uint32_t ReadPixel(SDL_Surface* surface, int32_t x, int32_t y) {
    if (!Inside(surface, x, y)) return 0;
    const TSurfaceLock lock(surface);
    if (!lock.Ok() || surface->pixels == nullptr) return 0;
    const Uint8* p = PixelAddress(surface, x, y);
    switch (surface->format->BytesPerPixel) {
    case 1:
        return p[0];
    case 2:
        return *reinterpret_cast<const Uint16*>(p);
    case 3:
        return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
               static_cast<uint32_t>(p[2]) << 16;
    default:
        return *reinterpret_cast<const Uint32*>(p);
    }
}

uint32_t MapColor(SDL_Surface* surface, uint8_t red, uint8_t green, uint8_t blue) {
    if (surface == nullptr) return 0;
    return SDL_MapRGB(surface->format, red, green, blue);
}

uint32_t ReadColor(SDL_Surface* surface, int32_t x, int32_t y) {
    if (!Inside(surface, x, y)) return 0;
    Uint8 red = 0, green = 0, blue = 0;
    SDL_GetRGB(ReadPixel(surface, x, y), surface->format, &red, &green, &blue);
    return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

void WritePixel(SDL_Surface* surface, int32_t x, int32_t y, uint8_t red, uint8_t green, uint8_t blue) {
    if (!Inside(surface, x, y)) return;
    const uint32_t value = SDL_MapRGB(surface->format, red, green, blue);
    const TSurfaceLock lock(surface);
    if (!lock.Ok() || surface->pixels == nullptr) return;
    Uint8* p = PixelAddress(surface, x, y);
    switch (surface->format->BytesPerPixel) {
    case 1:
        p[0] = static_cast<Uint8>(value);
        break;
    case 2:
        *reinterpret_cast<Uint16*>(p) = static_cast<Uint16>(value);
        break;
    case 3:
        p[0] = static_cast<Uint8>(value);
        p[1] = static_cast<Uint8>(value >> 8);
        p[2] = static_cast<Uint8>(value >> 16);
        break;
    default:
        *reinterpret_cast<Uint32*>(p) = value;
        break;
    }
}

TSurfacePtr NewSurface(int32_t width, int32_t height, int32_t depth) {
    // The hardware-palette flag without colour masks lets SDL pick its default layout.
    return TSurfacePtr(SDL_CreateRGBSurface(SDL_HWPALETTE, width, height, depth, 0, 0, 0, 0));
}
