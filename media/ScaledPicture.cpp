// Enlarging a picture into a bigger surface by a whole factor, widening 3-byte pixels to 4 on
// the way: all of it, or only what the target does not show yet.
#include "media/SurfaceAccess.h"
#include "media/SurfaceUtils.h"

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

// The pieces a changed row is compared in, in pixels: sixteen is what the enlargement takes at
// a time.
constexpr int32_t kPiecePixels = 16;

// One row of pixels, each repeated factor times; Bytes is fixed so the copy is a move of a
// known size.
template <int Bytes> void ScaleRow(const Uint8* from, Uint8* to, int32_t width, int32_t factor) {
    for (int32_t x = 0; x < width; ++x, from += Bytes)
        for (int32_t k = 0; k < factor; ++k, to += Bytes)
            std::memcpy(to, from, Bytes);
}

#if defined(__x86_64__) || defined(__i386__)
// Sixteen 3-byte pixels as four words of four 4-byte pixels: three 16-byte reads, each word
// lined up with one byte shuffle. The value is kept and the fourth byte is 0.
__attribute__((target("ssse3"))) inline void Widen16(const Uint8* from, __m128i (&pixels)[4]) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 32));
    pixels[0] = _mm_shuffle_epi8(a, spread);
    pixels[1] = _mm_shuffle_epi8(_mm_alignr_epi8(b, a, 12), spread);
    pixels[2] = _mm_shuffle_epi8(_mm_alignr_epi8(c, b, 8), spread);
    pixels[3] = _mm_shuffle_epi8(_mm_srli_si128(c, 4), spread);
}

// The first row of sixteen pixels' blocks: each pixel repeated Factor times.
template <int Factor> inline void Repeat(const __m128i (&pixels)[4], __m128i (&row)[4 * Factor]) {
    for (int i = 0; i < 4; ++i) {
        if constexpr (Factor == 1) {
            row[i] = pixels[i];
        } else if constexpr (Factor == 2) {
            row[2 * i] = _mm_unpacklo_epi32(pixels[i], pixels[i]);
            row[2 * i + 1] = _mm_unpackhi_epi32(pixels[i], pixels[i]);
        } else {
            row[3 * i] = _mm_shuffle_epi32(pixels[i], _MM_SHUFFLE(1, 0, 0, 0));
            row[3 * i + 1] = _mm_shuffle_epi32(pixels[i], _MM_SHUFFLE(2, 2, 1, 1));
            row[3 * i + 2] = _mm_shuffle_epi32(pixels[i], _MM_SHUFFLE(3, 3, 3, 2));
        }
    }
}

// Sixteen pixels at a time into every row of their blocks: a moving view changes every row, so
// at 2x this runs over 1.2 million window pixels a frame. Only whole groups of sixteen; returns
// the first pixel left to the caller. With Compare, a group whose blocks' first row already
// holds it is not written, and changed is set when any group was.
template <int Factor, bool Compare>
__attribute__((target("ssse3"))) int32_t WidenGroupsSsse3(const Uint8* from, Uint8* to, ptrdiff_t pitch,
                                                          int32_t width, bool& changed) {
    int32_t x = 0;
    for (; x + 16 <= width; x += 16) {
        __m128i pixels[4];
        Widen16(from + 3 * x, pixels);
        __m128i row[4 * Factor];
        Repeat<Factor>(pixels, row);
        Uint8* group = to + static_cast<ptrdiff_t>(4) * x * Factor;
        if constexpr (Compare) {
            __m128i equal = _mm_set1_epi8(-1);
            for (int i = 0; i < 4 * Factor; ++i)
                equal = _mm_and_si128(
                    equal, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(group + 16 * i)),
                                          row[i]));
            if (_mm_movemask_epi8(equal) == 0xFFFF) continue;
            changed = true;
        }
        for (int k = 0; k < Factor; ++k)
            for (int i = 0; i < 4 * Factor; ++i)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(group + k * pitch + 16 * i), row[i]);
    }
    return x;
}

// Unscaled, sixteen pixels at a time as two words of eight: the window is compared with the
// picture on every present, still view or not, and with half the instructions of the 16-byte
// words that compare keeps up with memory. Each word is read as 32 bytes of which 24 are used,
// so only groups whose read stays in the row; returns the first pixel left to the caller.
template <bool Compare>
__attribute__((target("avx2"))) int32_t WidenUnscaledAvx2(const Uint8* from, Uint8* to, int32_t width,
                                                          bool& changed) {
    // The 24 bytes of eight pixels split into two lanes of twelve, each lined up as Widen16 does.
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6);
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1,
                                            3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    int32_t x = 0;
    for (; 3 * x + 56 <= 3 * width; x += 16) {
        const __m256i low = _mm256_shuffle_epi8(
            _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + 3 * x)),
                                        lanes),
            spread);
        const __m256i high = _mm256_shuffle_epi8(
            _mm256_permutevar8x32_epi32(
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + 3 * x + 24)), lanes),
            spread);
        Uint8* group = to + static_cast<ptrdiff_t>(4) * x;
        if constexpr (Compare) {
            const __m256i equal = _mm256_and_si256(
                _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(group)), low),
                _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(group + 32)), high));
            if (_mm256_movemask_epi8(equal) == -1) continue;
            changed = true;
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(group), low);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(group + 32), high);
    }
    return x;
}

// Sixteen pixels at a time, compared with their copy in shown; a group that differs is copied
// there and enlarged into every row of its blocks, all from the one read of the group. Returns
// the first pixel left to the caller.
template <int Factor>
__attribute__((target("ssse3"))) int32_t ShowChangedGroupsSsse3(const Uint8* from, Uint8* shown, Uint8* to,
                                                                ptrdiff_t pitch, int32_t width,
                                                                bool& changed) {
    int32_t x = 0;
    for (; x + 16 <= width; x += 16) {
        const Uint8* source = from + 3 * x;
        Uint8* copy = shown + 3 * x;
        __m128i now[3];
        __m128i equal = _mm_set1_epi8(-1);
        for (int i = 0; i < 3; ++i) {
            now[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 16 * i));
            equal = _mm_and_si128(
                equal,
                _mm_cmpeq_epi8(now[i], _mm_loadu_si128(reinterpret_cast<const __m128i*>(copy + 16 * i))));
        }
        if (_mm_movemask_epi8(equal) == 0xFFFF) continue;
        changed = true;
        for (int i = 0; i < 3; ++i)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(copy + 16 * i), now[i]);
        __m128i pixels[4];
        Widen16(source, pixels);
        __m128i row[4 * Factor];
        Repeat<Factor>(pixels, row);
        Uint8* group = to + static_cast<ptrdiff_t>(4) * x * Factor;
        for (int k = 0; k < Factor; ++k)
            for (int i = 0; i < 4 * Factor; ++i)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(group + k * pitch + 16 * i), row[i]);
    }
    return x;
}

int32_t ShowChangedGroups(const Uint8* from, Uint8* shown, Uint8* to, ptrdiff_t pitch, int32_t width,
                          int32_t factor, bool& changed) {
    static const bool shuffles = __builtin_cpu_supports("ssse3") != 0;
    if (!shuffles) return 0;
    if (factor == 2) return ShowChangedGroupsSsse3<2>(from, shown, to, pitch, width, changed);
    if (factor == 3) return ShowChangedGroupsSsse3<3>(from, shown, to, pitch, width, changed);
    return 0;
}

int32_t WidenGroups(const Uint8* from, Uint8* to, ptrdiff_t pitch, int32_t width, int32_t factor,
                    bool compare, bool& changed) {
    static const bool shuffles = __builtin_cpu_supports("ssse3") != 0;
    static const bool wide = __builtin_cpu_supports("avx2") != 0;
    if (!shuffles) return 0;
    if (factor == 1 && wide) {
        const int32_t done = compare ? WidenUnscaledAvx2<true>(from, to, width, changed)
                                     : WidenUnscaledAvx2<false>(from, to, width, changed);
        const Uint8* restFrom = from + 3 * done;
        Uint8* restTo = to + 4 * done;
        return done + (compare ? WidenGroupsSsse3<1, true>(restFrom, restTo, pitch, width - done, changed)
                               : WidenGroupsSsse3<1, false>(restFrom, restTo, pitch, width - done, changed));
    }
    switch (factor * 2 + (compare ? 1 : 0)) {
    case 2:
        return WidenGroupsSsse3<1, false>(from, to, pitch, width, changed);
    case 3:
        return WidenGroupsSsse3<1, true>(from, to, pitch, width, changed);
    case 4:
        return WidenGroupsSsse3<2, false>(from, to, pitch, width, changed);
    case 5:
        return WidenGroupsSsse3<2, true>(from, to, pitch, width, changed);
    case 6:
        return WidenGroupsSsse3<3, false>(from, to, pitch, width, changed);
    case 7:
        return WidenGroupsSsse3<3, true>(from, to, pitch, width, changed);
    default:
        return 0;
    }
}
#else
int32_t ShowChangedGroups(const Uint8*, Uint8*, Uint8*, ptrdiff_t, int32_t, int32_t, bool&) {
    return 0;
}

int32_t WidenGroups(const Uint8*, Uint8*, ptrdiff_t, int32_t, int32_t, bool, bool&) {
    return 0;
}
#endif

// Pixels [first, width) of a row into every row of their factor by factor blocks (pitch bytes
// apart), from bytesFrom-byte pixels to bytesTo-byte ones: the same size, or 3 widened to 4 with
// a fourth byte of 0. Pixels are read little-endian, as ReadPixel does. With compare, a block
// whose top left pixel already holds its value is left alone. Returns whether anything was
// written.
bool EnlargePixels(const Uint8* from, int bytesFrom, Uint8* to, int bytesTo, ptrdiff_t pitch, int32_t first,
                   int32_t width, int32_t factor, bool compare) {
    bool changed = false;
    for (int32_t x = first; x < width; ++x) {
        uint32_t value = 0;
        std::memcpy(&value, from + static_cast<ptrdiff_t>(bytesFrom) * x, static_cast<size_t>(bytesFrom));
        Uint8* block = to + static_cast<ptrdiff_t>(bytesTo) * x * factor;
        if (compare && std::memcmp(block, &value, static_cast<size_t>(bytesTo)) == 0) continue;
        for (int32_t row = 0; row < factor; ++row)
            for (int32_t k = 0; k < factor; ++k)
                std::memcpy(block + row * pitch + bytesTo * k, &value, static_cast<size_t>(bytesTo));
        changed = true;
    }
    return changed;
}

// Width pixels of a row of from, from first on, into the factor rows of to that show them. A block's rows are
// always written together, so with compare its top left pixel stands for the whole block. Returns whether
// anything was written.
bool EnlargeRow(SDL_Surface* from, SDL_Surface* to, int32_t y, int32_t first, int32_t width, int32_t factor,
                bool compare) {
    const Uint8* source = PixelAddress(from, first, y);
    Uint8* target = PixelAddress(to, first * factor, y * factor);
    const int bytesFrom = from->format->BytesPerPixel;
    const int bytesTo = to->format->BytesPerPixel;
    if (bytesFrom == 3 && bytesTo == 4) {
        bool changed = false;
        const int32_t start = WidenGroups(source, target, to->pitch, width, factor, compare, changed);
        return EnlargePixels(source, 3, target, 4, to->pitch, start, width, factor, compare) || changed;
    }
    if (compare) return EnlargePixels(source, bytesFrom, target, bytesTo, to->pitch, 0, width, factor, true);
    if (bytesTo == 1)
        ScaleRow<1>(source, target, width, factor);
    else if (bytesTo == 2)
        ScaleRow<2>(source, target, width, factor);
    else if (bytesTo == 3)
        ScaleRow<3>(source, target, width, factor);
    else
        ScaleRow<4>(source, target, width, factor);
    const auto rowBytes =
        static_cast<size_t>(width) * static_cast<size_t>(factor) * static_cast<size_t>(bytesTo);
    for (int32_t k = 1; k < factor; ++k)
        std::memcpy(target + static_cast<ptrdiff_t>(k) * to->pitch, target, rowBytes);
    return true;
}

// Calls enlarge(width, height) with both surfaces locked when one can be enlarged onto the
// other; width and height are the part of from that fits into to.
template <class TEnlarge>
void WithScalable(SDL_Surface* from, SDL_Surface* to, int32_t factor, TEnlarge&& enlarge) {
    if (from == nullptr || to == nullptr || factor < 1) return;
    const int bytesFrom = from->format->BytesPerPixel;
    const int bytesTo = to->format->BytesPerPixel;
    const bool widening = bytesFrom == 3 && bytesTo == 4 && SameChannels(*from->format, *to->format);
    if (bytesFrom != bytesTo && !widening) return;
    const TSurfaceLock lockFrom(from);
    const TSurfaceLock lockTo(to);
    if (!lockFrom.Ok() || !lockTo.Ok() || from->pixels == nullptr || to->pixels == nullptr) return;
    enlarge(std::min(from->w, to->w / factor), std::min(from->h, to->h / factor));
}

} // namespace

void ScaleUp(SDL_Surface* from, SDL_Surface* to, int32_t factor, int32_t firstRow, int32_t rowCount) {
    WithScalable(from, to, factor, [&](int32_t width, int32_t height) {
        const int32_t first = std::max(firstRow, 0);
        const int32_t end = rowCount < height - first ? first + rowCount : height;
        for (int32_t y = first; y < end; ++y)
            EnlargeRow(from, to, y, 0, width, factor, false);
    });
}

TRowRange RefreshScaled(SDL_Surface* from, SDL_Surface* to, int32_t factor) {
    TRowRange written;
    WithScalable(from, to, factor, [&](int32_t width, int32_t height) {
        for (int32_t y = 0; y < height; ++y) {
            if (!EnlargeRow(from, to, y, 0, width, factor, true)) continue;
            if (written.First < 0) written.First = y;
            written.Last = y;
        }
    });
    return written;
}

namespace {

// Pixels first to end of row y of from into to as ShowChangedPieces does; returns whether any were written.
bool ShowChangedRun(SDL_Surface* from, uint8_t* shown, SDL_Surface* to, int32_t factor, int32_t y,
                    int32_t first, int32_t end) {
    const int32_t bytes = from->format->BytesPerPixel;
    const bool widening = bytes == 3 && to->format->BytesPerPixel == 4;
    const Uint8* row = PixelAddress(from, 0, y);
    Uint8* copy = shown + static_cast<ptrdiff_t>(y) * from->w * bytes;
    // Most rows of most frames are unchanged, and the library's compare is the fastest way
    // through them.
    if (std::memcmp(row + first * bytes, copy + first * bytes, static_cast<size_t>((end - first) * bytes)) ==
        0)
        return false;
    bool changed = false;
    int32_t x = first;
    if (widening)
        x += ShowChangedGroups(row + first * bytes, copy + first * bytes,
                               PixelAddress(to, first * factor, y * factor), to->pitch, end - first, factor,
                               changed);
    // What the groups left: runs of changed pieces are enlarged as one span.
    const auto same = [&](int32_t at) {
        const auto count = static_cast<size_t>(std::min(kPiecePixels, end - at) * bytes);
        return std::memcmp(row + at * bytes, copy + at * bytes, count) == 0;
    };
    while (x < end) {
        if (same(x)) {
            x += kPiecePixels;
            continue;
        }
        int32_t stop = x + kPiecePixels;
        while (stop < end && !same(stop))
            stop += kPiecePixels;
        stop = std::min(stop, end);
        std::memcpy(copy + x * bytes, row + x * bytes, static_cast<size_t>((stop - x) * bytes));
        EnlargeRow(from, to, y, x, stop - x, factor, false);
        changed = true;
        x = stop;
    }
    return changed;
}

} // namespace

TRowRange ShowChangedPieces(SDL_Surface* from, uint8_t* shown, SDL_Surface* to, int32_t factor,
                            std::span<const uint64_t> groups) {
    TRowRange written;
    WithScalable(from, to, factor, [&](int32_t width, int32_t height) {
        const bool chosen = !groups.empty() && groups.size() >= static_cast<size_t>(height) &&
                            (from->w + kGroupPixels - 1) / kGroupPixels <= 64;
        for (int32_t y = 0; y < height; ++y) {
            bool changed = false;
            if (!chosen) {
                changed = ShowChangedRun(from, shown, to, factor, y, 0, width);
            } else {
                // Runs of set bits, each compared as one span.
                for (uint64_t bits = groups[static_cast<size_t>(y)]; bits != 0;) {
                    const int first = std::countr_zero(bits);
                    const int count = std::countr_one(bits >> first);
                    const int32_t begin = first * kGroupPixels;
                    const int32_t end = std::min((first + count) * kGroupPixels, width);
                    if (begin < end && ShowChangedRun(from, shown, to, factor, y, begin, end)) changed = true;
                    bits = first + count >= 64 ? 0 : bits & ~((uint64_t{2} << (first + count - 1)) - 1);
                }
            }
            if (!changed) continue;
            if (written.First < 0) written.First = y;
            written.Last = y;
        }
    });
    return written;
}
