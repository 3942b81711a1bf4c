// Surface ownership and raw pixel access by byte width.
#include "media/SurfaceUtils.h"

#include "media/SurfaceAccess.h"

#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>

TDrawnAreas DrawnAreas;

void TDrawnAreas::Note(SDL_Surface* target, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (target == nullptr || w <= 0 || h <= 0) return;
    if (target == Backdrop) BackdropDrawnOn = true;
    if (target != Picture || Paused || Incomplete) return;
    const int32_t left = std::max(x, 0);
    const int32_t top = std::max(y, 0);
    const auto right = static_cast<int32_t>(std::min<int64_t>(int64_t{x} + w, target->w));
    const auto bottom = static_cast<int32_t>(std::min<int64_t>(int64_t{y} + h, target->h));
    if (right <= left || bottom <= top) return;
    if (Areas.size() >= kMaxAreas) {
        Incomplete = true;
        Areas.clear();
        return;
    }
    Areas.push_back(MakeRect(left, top, right - left, bottom - top));
}

void TSurfaceFree::operator()(SDL_Surface* surface) const {
    // Another surface may come at the same address with other pixels.
    if (surface != nullptr && surface == DrawnAreas.Backdrop) DrawnAreas.BackdropDrawnOn = true;
    if (surface != nullptr && surface == DrawnAreas.Picture) DrawnAreas.Incomplete = true;
    SDL_FreeSurface(surface);
}

TBriskRect MakeRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    return TBriskRect{static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<uint16_t>(w),
                      static_cast<uint16_t>(h)};
}

namespace {

bool Inside(SDL_Surface* surface, int32_t x, int32_t y) {
    return surface != nullptr && x >= 0 && y >= 0 && x < surface->w && y < surface->h;
}

// The blit is a plain copy of bytes: no colour key, no alpha, one pixel format on both sides
// and no palette to map through.
bool IsPlainCopy(const SDL_Surface& from, const SDL_Surface& target) {
    const SDL_PixelFormat& a = *from.format;
    const SDL_PixelFormat& b = *target.format;
    return &from != &target && (from.flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)) == 0 && a.BytesPerPixel >= 2 &&
           a.BytesPerPixel == b.BytesPerPixel && SameChannels(a, b) && a.Amask == b.Amask;
}

// Clips source and destination as SDL_UpperBlit does: the source rectangle to the source
// surface, moving the destination with it, then to the target's clip rectangle. Both end up
// with the size copied; false when nothing is left.
bool ClipBlit(const SDL_Surface& from, SDL_Rect& source, const SDL_Surface& target, SDL_Rect& destination) {
    int32_t srcX = source.x;
    int32_t srcY = source.y;
    int32_t w = source.w;
    int32_t h = source.h;
    int32_t dstX = destination.x;
    int32_t dstY = destination.y;
    if (srcX < 0) {
        w += srcX;
        dstX -= srcX;
        srcX = 0;
    }
    w = std::min(w, from.w - srcX);
    if (srcY < 0) {
        h += srcY;
        dstY -= srcY;
        srcY = 0;
    }
    h = std::min(h, from.h - srcY);
    const SDL_Rect& clip = target.clip_rect;
    if (const int32_t cut = clip.x - dstX; cut > 0) {
        w -= cut;
        dstX += cut;
        srcX += cut;
    }
    w -= std::max(dstX + w - clip.x - clip.w, 0);
    if (const int32_t cut = clip.y - dstY; cut > 0) {
        h -= cut;
        dstY += cut;
        srcY += cut;
    }
    h -= std::max(dstY + h - clip.y - clip.h, 0);
    destination.x = static_cast<Sint16>(dstX);
    destination.y = static_cast<Sint16>(dstY);
    if (w <= 0 || h <= 0) {
        destination.w = destination.h = 0;
        return false;
    }
    source = SDL_Rect{static_cast<Sint16>(srcX), static_cast<Sint16>(srcY), static_cast<Uint16>(w),
                      static_cast<Uint16>(h)};
    destination.w = source.w;
    destination.h = source.h;
    return true;
}

} // namespace

void BlitRect(SDL_Surface* from, const TBriskRect& src, SDL_Surface* target, int32_t x, int32_t y,
              TBriskRect* dest) {
    if (from == nullptr || target == nullptr) return;
    SDL_Rect source{src.X, src.Y, src.W, src.H};
    SDL_Rect destination{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    if (IsPlainCopy(*from, *target)) {
        // SDL's own copy moves eight bytes at a time with stores that bypass the cache, which
        // leaves the picture out of the cache for everything drawn on it next and for the
        // present: the ground buffer, copied whole onto the picture every match frame, made
        // that frame cost twice what it does with the C library's copy.
        if (ClipBlit(*from, source, *target, destination)) {
            const TSurfaceLock lockFrom(from);
            const TSurfaceLock lockTo(target);
            if (lockFrom.Ok() && lockTo.Ok() && from->pixels != nullptr && target->pixels != nullptr) {
                const auto rowBytes = static_cast<size_t>(source.w) * from->format->BytesPerPixel;
                for (int32_t row = 0; row < source.h; ++row)
                    std::memcpy(PixelAddress(target, destination.x, destination.y + row),
                                PixelAddress(from, source.x, source.y + row), rowBytes);
            }
        }
    } else {
        // SDL clips destination to what it draws; a failed blit is noted at its full size, as
        // it may still have drawn some.
        if (SDL_UpperBlit(from, &source, target, &destination) < 0)
            DrawnAreas.Note(target, x, y, src.W, src.H);
    }
    DrawnAreas.Note(target, destination.x, destination.y, destination.w, destination.h);
    if (dest != nullptr) *dest = TBriskRect{destination.x, destination.y, destination.w, destination.h};
}

void ScrollArea(SDL_Surface* surface, int32_t width, int32_t height, int32_t dx, int32_t dy) {
    if (surface == nullptr) return;
    width = std::min(width, surface->w);
    height = std::min(height, surface->h);
    if (std::abs(dx) >= width || std::abs(dy) >= height) return;
    const TSurfaceLock lock(surface);
    if (!lock.Ok() || surface->pixels == nullptr) return;
    const int32_t bytes = surface->format->BytesPerPixel;
    const auto movedBytes = static_cast<size_t>(width - std::abs(dx)) * static_cast<size_t>(bytes);
    const int32_t fromX = std::max(-dx, 0);
    const int32_t toX = std::max(dx, 0);
    const int32_t rows = height - std::abs(dy);
    DrawnAreas.Note(surface, 0, 0, width, height);
    // Rows are taken in the order that reads each source row before it is overwritten; within a
    // row memmove copes with the overlap.
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t to = dy > 0 ? height - 1 - i : i;
        std::memmove(PixelAddress(surface, toX, to), PixelAddress(surface, fromX, to - dy), movedBytes);
    }
}

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

void FillRect(SDL_Surface* surface, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t red, uint8_t green,
              uint8_t blue) {
    if (surface == nullptr || w <= 0 || h <= 0) return;
    // Clipped here, so positions beyond SDL's 16-bit rectangle cannot wrap onto the screen.
    const int32_t left = std::max(x, 0);
    const int32_t top = std::max(y, 0);
    const auto right = static_cast<int32_t>(std::min<int64_t>(int64_t{x} + w, surface->w));
    const auto bottom = static_cast<int32_t>(std::min<int64_t>(int64_t{y} + h, surface->h));
    if (right <= left || bottom <= top) return;
    SDL_Rect rect{static_cast<Sint16>(left), static_cast<Sint16>(top), static_cast<Uint16>(right - left),
                  static_cast<Uint16>(bottom - top)};
    SDL_FillRect(surface, &rect, SDL_MapRGB(surface->format, red, green, blue));
    DrawnAreas.Note(surface, left, top, right - left, bottom - top);
}

void WritePixel(SDL_Surface* surface, int32_t x, int32_t y, uint8_t red, uint8_t green, uint8_t blue) {
    if (!Inside(surface, x, y)) return;
    const uint32_t value = SDL_MapRGB(surface->format, red, green, blue);
    const TSurfaceLock lock(surface);
    if (!lock.Ok() || surface->pixels == nullptr) return;
    DrawnAreas.Note(surface, x, y, 1, 1);
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
