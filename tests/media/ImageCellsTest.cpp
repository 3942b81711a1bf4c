// Cells of keyed sheets are drawn from surfaces of their own: the same pixels as a blit from
// the sheet, for sheets in the screen's channel order and in another, and after a new key.
#include "media/BriskDraws.h"
#include "media/BriskImage.h"
#include "support/MediaFixture.h"

#include <SDL.h>

namespace {

class ImageCells : public MediaFixture {};

// A 24-bit sheet of 3 by 4 cells of 20 by 10 pixels with the given channel masks, every pixel
// a different colour and every seventh one the key colour (255, 0, 255).
TSurfacePtr PaintSheet(Uint32 red, Uint32 green, Uint32 blue) {
    TSurfacePtr sheet{SDL_CreateRGBSurface(SDL_SWSURFACE, 60, 40, 24, red, green, blue, 0)};
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool key = (x + 60 * y) % 7 == 0;
            WritePixel(sheet.get(), x, y, key ? 255 : static_cast<uint8_t>(x * 4),
                       key ? 0 : static_cast<uint8_t>(y * 6), key ? 255 : static_cast<uint8_t>(x + y));
        }
    return sheet;
}

std::vector<uint32_t> ScreenPixels(int x0, int y0, int w, int h) {
    std::vector<uint32_t> pixels;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            pixels.push_back(ReadColor(Screen->Surface, x, y));
    return pixels;
}

void ClearScreen() {
    SDL_FillRect(Screen->Surface, nullptr, SDL_MapRGB(Screen->Surface->format, 10, 20, 30));
}

TEST_F(ImageCells, KeyedCellsDrawTheSamePixelsAsABlitFromTheSheet) {
    const SDL_PixelFormat& screen = *Screen->Surface->format;
    for (const bool screenOrder : {true, false}) {
        SCOPED_TRACE(screenOrder);
        TBriskImage image;
        image.Surface = screenOrder ? PaintSheet(screen.Rmask, screen.Gmask, screen.Bmask)
                                    : PaintSheet(screen.Bmask, screen.Gmask, screen.Rmask);
        image.FrameWidth = 20;
        image.FrameHeight = 10;
        image.SetColorKey(255, 0, 255);
        for (int frame = 0; frame < 12; ++frame) {
            // Near the screen's corner too, where SDL clips the destination.
            for (const auto& [x, y] : {std::pair{100, 100}, std::pair{-5, -3}, std::pair{630, 475}}) {
                ClearScreen();
                const TBriskRect cell = image.FrameRect(frame);
                SDL_Rect source{cell.X, cell.Y, cell.W, cell.H};
                SDL_Rect target{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
                SDL_BlitSurface(image.Surface.get(), &source, Screen->Surface, &target);
                const auto expected = ScreenPixels(std::max(x, 0), std::max(y, 0), 20, 10);
                ClearScreen();
                image.DrawFrame(x, y, frame);
                EXPECT_EQ(ScreenPixels(std::max(x, 0), std::max(y, 0), 20, 10), expected) << frame;
                EXPECT_EQ(image.DestRect.X, target.x);
                EXPECT_EQ(image.DestRect.W, target.w);
            }
        }
        // The whole picture, and the cells again after a new key.
        ClearScreen();
        SDL_BlitSurface(image.Surface.get(), nullptr, Screen->Surface, nullptr);
        const auto whole = ScreenPixels(0, 0, 60, 40);
        ClearScreen();
        image.Draw(0, 0);
        EXPECT_EQ(ScreenPixels(0, 0, 60, 40), whole);
        image.SetColorKey(0, 0, 0);
        ClearScreen();
        SDL_Rect cell{0, 0, 20, 10};
        SDL_BlitSurface(image.Surface.get(), &cell, Screen->Surface, nullptr);
        const auto rekeyed = ScreenPixels(0, 0, 20, 10);
        ClearScreen();
        image.DrawFrame(0, 0, 0);
        EXPECT_EQ(ScreenPixels(0, 0, 20, 10), rekeyed);
        EXPECT_EQ(ReadColor(Screen->Surface, 0, 0), 0xFF00FFu) << "the old key no longer hides";
    }
}

} // namespace
