// Surface ownership and raw pixel access by byte width.
#include "media/SurfaceUtils.h"

#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

void TSurfaceFree::operator()(SDL_Surface* surface) const {
    SDL_FreeSurface(surface);
}

TBriskRect MakeRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    return TBriskRect{static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<uint16_t>(w),
                      static_cast<uint16_t>(h)};
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

// One row of pixels, each repeated factor times; Bytes is fixed so the copy is a move of a
// known size.
template <int Bytes> void ScaleRow(const Uint8* from, Uint8* to, int32_t width, int32_t factor) {
    for (int32_t x = 0; x < width; ++x, from += Bytes)
        for (int32_t k = 0; k < factor; ++k, to += Bytes)
            std::memcpy(to, from, Bytes);
}

#if defined(__x86_64__) || defined(__i386__)
// Four pixels at a time with one byte shuffle: a moving view changes every row, so at 2x this
// runs over 1.2 million window pixels a frame. Only whole blocks whose 16-byte read stays in the
// row; returns the first pixel left to the caller. Factors 1 to 3 fill the block's first row, 2
// also its second, as ScaleRow3To4 does.
__attribute__((target("ssse3"))) int32_t WidenBlocksSsse3(const Uint8* from, Uint8* to, ptrdiff_t pitch,
                                                          int32_t width, int32_t factor) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    int32_t x = 0;
    for (; 3 * x + 16 <= 3 * width; x += 4) {
        const __m128i pixels =
            _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 3 * x)), spread);
        Uint8* block = to + static_cast<ptrdiff_t>(4) * x * factor;
        if (factor == 1) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(block), pixels);
        } else if (factor == 2) {
            const __m128i low = _mm_unpacklo_epi32(pixels, pixels);
            const __m128i high = _mm_unpackhi_epi32(pixels, pixels);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(block), low);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(block + 16), high);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(block + pitch), low);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(block + pitch + 16), high);
        } else {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(block),
                             _mm_shuffle_epi32(pixels, _MM_SHUFFLE(1, 0, 0, 0)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(block + 16),
                             _mm_shuffle_epi32(pixels, _MM_SHUFFLE(2, 2, 1, 1)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(block + 32),
                             _mm_shuffle_epi32(pixels, _MM_SHUFFLE(3, 3, 3, 2)));
        }
    }
    return x;
}

int32_t WidenBlocks(const Uint8* from, Uint8* to, ptrdiff_t pitch, int32_t width, int32_t factor) {
    static const bool shuffles = __builtin_cpu_supports("ssse3") != 0;
    return shuffles && factor <= 3 ? WidenBlocksSsse3(from, to, pitch, width, factor) : 0;
}
#else
int32_t WidenBlocks(const Uint8*, Uint8*, ptrdiff_t, int32_t, int32_t) {
    return 0;
}
#endif

// The same from 3-byte pixels to 4-byte ones with the same channel masks, into all factor rows
// of the block (pitch bytes apart): the value is kept and the fourth byte is 0. Three-byte
// pixels are read little-endian, as ReadPixel does. This runs over every window pixel of every
// changed row of every frame, so every pixel but a row's last is read as four bytes and masked,
// and at scale 2 a doubled pixel is one eight-byte store into each of its two rows.
void ScaleRow3To4(const Uint8* from, Uint8* to, ptrdiff_t pitch, int32_t width, int32_t factor) {
    if (width <= 0) return;
    const int32_t body = width - 1;
    const int32_t start = WidenBlocks(from, to, pitch, width, factor);
    switch (factor) {
    case 1:
        for (int32_t x = start; x < body; ++x) {
            uint32_t value = 0;
            std::memcpy(&value, from + 3 * x, 4);
            value &= 0xFFFFFFU;
            std::memcpy(to + 4 * x, &value, 4);
        }
        break;
    case 2:
        for (int32_t x = start; x < body; ++x) {
            uint64_t value = 0;
            std::memcpy(&value, from + 3 * x, 4);
            value &= 0xFFFFFFU;
            const uint64_t pair = value | value << 32;
            std::memcpy(to + 8 * x, &pair, 8);
            std::memcpy(to + pitch + 8 * x, &pair, 8);
        }
        break;
    default:
        for (int32_t x = start; x < body; ++x) {
            uint32_t value = 0;
            std::memcpy(&value, from + 3 * x, 4);
            value &= 0xFFFFFFU;
            Uint8* block = to + static_cast<ptrdiff_t>(4) * x * factor;
            for (int32_t k = 0; k < factor; ++k)
                std::memcpy(block + 4 * k, &value, 4);
        }
        break;
    }
    // The last pixel is read byte by byte: nothing of its row follows it.
    const Uint8* p = from + 3 * body;
    const uint32_t last =
        static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16;
    for (int32_t k = 0; k < factor; ++k) {
        std::memcpy(to + 4 * (body * factor + k), &last, 4);
        if (factor == 2) std::memcpy(to + pitch + 4 * (body * factor + k), &last, 4);
    }
    if (factor == 2) return;
    const auto rowBytes = static_cast<size_t>(4) * static_cast<size_t>(width) * static_cast<size_t>(factor);
    for (int32_t k = 1; k < factor; ++k)
        std::memcpy(to + k * pitch, to, rowBytes);
}

bool SameChannels(const SDL_PixelFormat& a, const SDL_PixelFormat& b) {
    return a.Rmask == b.Rmask && a.Gmask == b.Gmask && a.Bmask == b.Bmask;
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
        SDL_UpperBlit(from, &source, target, &destination);
    }
    if (dest != nullptr) *dest = TBriskRect{destination.x, destination.y, destination.w, destination.h};
}

void ScaleUp(SDL_Surface* from, SDL_Surface* to, int32_t factor, int32_t firstRow, int32_t rowCount) {
    if (from == nullptr || to == nullptr || factor < 1) return;
    const int bytesFrom = from->format->BytesPerPixel;
    const int bytesTo = to->format->BytesPerPixel;
    const bool widening = bytesFrom == 3 && bytesTo == 4 && SameChannels(*from->format, *to->format);
    if (bytesFrom != bytesTo && !widening) return;
    const TSurfaceLock lockFrom(from);
    const TSurfaceLock lockTo(to);
    if (!lockFrom.Ok() || !lockTo.Ok() || from->pixels == nullptr || to->pixels == nullptr) return;
    const int32_t width = std::min(from->w, to->w / factor);
    const int32_t height = std::min(from->h, to->h / factor);
    const int32_t first = std::max(firstRow, 0);
    const int32_t end = rowCount < height - first ? first + rowCount : height;
    const auto rowBytes =
        static_cast<size_t>(width) * static_cast<size_t>(factor) * static_cast<size_t>(bytesTo);
    for (int32_t y = first; y < end; ++y) {
        const Uint8* source = PixelAddress(from, 0, y);
        Uint8* target = PixelAddress(to, 0, y * factor);
        if (widening) {
            ScaleRow3To4(source, target, to->pitch, width, factor);
            continue;
        }
        if (bytesTo == 1)
            ScaleRow<1>(source, target, width, factor);
        else if (bytesTo == 2)
            ScaleRow<2>(source, target, width, factor);
        else if (bytesTo == 3)
            ScaleRow<3>(source, target, width, factor);
        else
            ScaleRow<4>(source, target, width, factor);
        for (int32_t k = 1; k < factor; ++k)
            std::memcpy(PixelAddress(to, 0, y * factor + k), target, rowBytes);
    }
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
