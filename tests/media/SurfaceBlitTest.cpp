// Blits between surfaces of one format are copied by the library itself; they must draw the same
// pixels and report the same clipped rectangle as SDL's own blit, at every edge and clip.
#include "media/SurfaceUtils.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Every pixel a different colour, so a copy shifted by one pixel or one row shows.
TSurfacePtr Painted(int32_t width, int32_t height, int32_t depth, Uint32 amask = 0) {
    const bool sixteen = depth == 16;
    TSurfacePtr surface{SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, depth, sixteen ? 0xF800 : 0xFF0000,
                                             sixteen ? 0x07E0 : 0xFF00, sixteen ? 0x001F : 0xFF, amask)};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            WritePixel(surface.get(), x, y, static_cast<uint8_t>(x * 9 + y), static_cast<uint8_t>(y * 11),
                       static_cast<uint8_t>(x ^ y));
    return surface;
}

std::vector<uint32_t> Pixels(SDL_Surface* surface) {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < surface->h; ++y)
        for (int32_t x = 0; x < surface->w; ++x)
            pixels.push_back(ReadPixel(surface, x, y));
    return pixels;
}

TEST(SurfaceBlit, PlainCopiesMatchSdlsBlitAtEveryEdgeAndClip) {
    const struct {
        TBriskRect Source;
        int32_t X, Y;
        SDL_Rect Clip; // w 0: the whole target
        const char* Label;
    } cases[] = {
        {{0, 0, 30, 20}, 0, 0, {}, "whole source at the corner"},
        {{0, 0, 30, 20}, 5, 3, {}, "inside"},
        {{0, 0, 30, 20}, -7, -4, {}, "past the top left"},
        {{0, 0, 30, 20}, 30, 15, {}, "past the bottom right"},
        {{0, 0, 30, 20}, 40, 0, {}, "wholly right of the target"},
        {{0, 0, 30, 20}, 0, -20, {}, "wholly above the target"},
        {{3, 2, 10, 8}, 1, 1, {}, "a part of the source"},
        {{-5, -3, 12, 9}, 4, 4, {}, "a source rectangle past its top left"},
        {{25, 15, 12, 9}, 4, 4, {}, "a source rectangle past its bottom right"},
        {{0, 0, 0, 5}, 2, 2, {}, "an empty source"},
        {{0, 0, 30, 20}, 0, 0, {6, 4, 10, 7}, "a clip rectangle"},
        {{2, 1, 20, 15}, 12, -3, {6, 4, 10, 7}, "a clip rectangle cutting every side"},
        {{0, 0, 30, 20}, 20, 12, {0, 0, 5, 5}, "outside the clip rectangle"},
        {{0, 0, 30, 20}, -32000, 0, {}, "far off the target"},
    };
    for (const int32_t depth : {16, 24, 32}) {
        for (const auto& c : cases) {
            const std::string label = std::string(c.Label) + " at " + std::to_string(depth) + " bits";
            const TSurfacePtr from = Painted(30, 20, depth);
            const TSurfacePtr ours = Painted(36, 26, depth);
            SDL_FillRect(ours.get(), nullptr, SDL_MapRGB(ours->format, 1, 2, 3));
            const TSurfacePtr theirs = Painted(36, 26, depth);
            SDL_FillRect(theirs.get(), nullptr, SDL_MapRGB(theirs->format, 1, 2, 3));
            if (c.Clip.w != 0) {
                SDL_Rect clip = c.Clip;
                SDL_SetClipRect(ours.get(), &clip);
                SDL_SetClipRect(theirs.get(), &clip);
            }
            TBriskRect dest{};
            BlitRect(from.get(), c.Source, ours.get(), c.X, c.Y, &dest);
            SDL_Rect source{c.Source.X, c.Source.Y, c.Source.W, c.Source.H};
            SDL_Rect expected{static_cast<Sint16>(c.X), static_cast<Sint16>(c.Y), 0, 0};
            SDL_UpperBlit(from.get(), &source, theirs.get(), &expected);
            EXPECT_EQ(Pixels(ours.get()), Pixels(theirs.get())) << label;
            EXPECT_EQ(dest.X, expected.x) << label;
            EXPECT_EQ(dest.Y, expected.y) << label;
            EXPECT_EQ(dest.W, expected.w) << label;
            EXPECT_EQ(dest.H, expected.h) << label;
        }
    }
}

TEST(SurfaceBlit, KeyedAlphaAndConvertingBlitsStayWithSdl) {
    // Each of these changes pixels on the way, so a byte copy would draw them wrongly.
    const struct {
        int32_t FromDepth, ToDepth;
        bool Key, Alpha;
        const char* Label;
    } cases[] = {
        {24, 24, true, false, "colour key"},
        {32, 32, false, true, "alpha"},
        {24, 32, false, false, "24 to 32 bits"},
        {32, 24, false, false, "32 to 24 bits"},
    };
    for (const auto& c : cases) {
        const TSurfacePtr from = Painted(8, 6, c.FromDepth, c.Alpha ? 0xFF000000 : 0);
        if (c.Key) SDL_SetColorKey(from.get(), SDL_SRCCOLORKEY, ReadPixel(from.get(), 2, 1));
        if (c.Alpha) {
            SDL_SetAlpha(from.get(), SDL_SRCALPHA, 255);
            for (int32_t x = 0; x < 8; ++x)
                *reinterpret_cast<Uint32*>(static_cast<Uint8*>(from->pixels) + 4 * x) &= 0x7FFFFFFFU;
        }
        const TSurfacePtr ours = Painted(8, 6, c.ToDepth, c.Alpha ? 0xFF000000 : 0);
        SDL_FillRect(ours.get(), nullptr, SDL_MapRGB(ours->format, 1, 2, 3));
        const TSurfacePtr theirs = Painted(8, 6, c.ToDepth, c.Alpha ? 0xFF000000 : 0);
        SDL_FillRect(theirs.get(), nullptr, SDL_MapRGB(theirs->format, 1, 2, 3));
        BlitRect(from.get(), MakeRect(0, 0, 8, 6), ours.get(), 0, 0);
        SDL_Rect source{0, 0, 8, 6};
        SDL_Rect target{0, 0, 0, 0};
        SDL_UpperBlit(from.get(), &source, theirs.get(), &target);
        EXPECT_EQ(Pixels(ours.get()), Pixels(theirs.get())) << c.Label;
    }
}

} // namespace
