// A small game folder made by the menu tests themselves, and the real game object over it:
// fonts whose glyphs each have a colour of their own (so a test can read which text was
// drawn where), solid backgrounds, a check box sheet with one colour per cell, character
// files with portraits, and empty map files.
#pragma once

#include "GameTestSetup.h"
#include "app/GameUnit.h"
#include "media/BriskDraws.h"
#include "media/SurfaceUtils.h"
#include "platform/Random.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"
#include "world/KeyState.h"

#include <SDL.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace menutest {

namespace fs = std::filesystem;

struct TColor {
    uint8_t Red, Green, Blue;
    [[nodiscard]] uint32_t Packed() const { return Red | Green << 8 | Blue << 16; }
};

// Glyphs of the test fonts: marker runs two pixels wide every eight columns, so each glyph
// is six columns wide and the pen advances six pixels per character, spaces included. Rows
// 1 to kGlyphRows are coloured; the bottom row stays black, the fonts' transparent colour.
constexpr int32_t kGlyphAdvance = 6;
constexpr int32_t kFontHeight = 16;
constexpr int32_t kFirstCode = 33;
constexpr int32_t kLastCode = 126;

// A colour no other test picture uses: font index in red, character code in green.
[[nodiscard]] inline TColor GlyphColor(int32_t font, char code) {
    return {static_cast<uint8_t>(200 + font), static_cast<uint8_t>(code), 40};
}

constexpr TColor kBackgroundColors[4] = {{30, 60, 90}, {31, 61, 91}, {32, 62, 92}, {33, 63, 93}};
// Check box cells 0 to 4: empty, ticked, unused, previous arrow, next arrow.
constexpr TColor kCellColors[5] = {{10, 10, 150}, {10, 150, 10}, {90, 90, 90}, {150, 10, 10}, {150, 150, 10}};
constexpr int32_t kCellEmpty = 0;
constexpr int32_t kCellTicked = 1;
constexpr int32_t kCellPrevious = 3;
constexpr int32_t kCellNext = 4;

inline void FillRect(SDL_Surface* surface, int32_t x, int32_t y, int32_t w, int32_t h, TColor color) {
    SDL_Rect rect{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                  static_cast<Uint16>(h)};
    SDL_FillRect(surface, &rect, SDL_MapRGB(surface->format, color.Red, color.Green, color.Blue));
}

inline void SavePicture(const TSurfacePtr& surface, const fs::path& path) {
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(SaveBitmapFile(surface.get(), path)) << path;
}

inline void WriteSolidPicture(const fs::path& path, int32_t w, int32_t h, TColor color) {
    const TSurfacePtr surface = NewSurface(w, h, 24);
    FillRect(surface.get(), 0, 0, w, h, color);
    SavePicture(surface, path);
}

inline void WriteFont(const fs::path& path, int32_t font) {
    const int32_t glyphs = kLastCode - kFirstCode + 1;
    const TSurfacePtr surface = NewSurface(8 * (glyphs + 1) + 2, kFontHeight, 24);
    FillRect(surface.get(), 0, 0, surface->w, kFontHeight, {0, 0, 0});
    for (int32_t run = 0; run <= glyphs; ++run)
        FillRect(surface.get(), 8 * run, 0, 2, 1, {255, 0, 255});
    for (int32_t code = kFirstCode; code <= kLastCode; ++code)
        FillRect(surface.get(), 8 * (code - kFirstCode) + 2, 1, kGlyphAdvance, kFontHeight - 2,
                 GlyphColor(font, static_cast<char>(code)));
    SavePicture(surface, path);
}

inline void WriteText(const fs::path& path, std::string_view text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

struct TCharacterFile {
    std::string FileName; // in data/
    TColor Portrait;
};

constexpr int32_t kPortraitSize = 60;
// A corner of each portrait is painted in its character's transparent colour, another one black.
constexpr TColor kPortraitKey{10, 200, 10};
constexpr int32_t kPortraitCorner = 8;

// The game folder every menu test starts from; tests add or remove files before the game
// is made or before the setup screen is entered again.
inline void WriteGameFolder(const fs::path& folder, const std::vector<TCharacterFile>& characters,
                            const std::vector<std::string>& maps) {
    const char* fonts[4] = {"24P_Copperplate_Blue.png", "24P_Arial_NeonYellow.png",
                            "24P_Copperplate_embosed.png", "Small_Copperplate_Blue.png"};
    for (int32_t font = 0; font < 4; ++font)
        WriteFont(folder / "images" / fonts[font], font);
    const char* backgrounds[4] = {"Sunset.jpg", "Brown.jpg", "Japan.jpg", "Mesa.jpg"};
    for (int32_t i = 0; i < 4; ++i)
        WriteSolidPicture(folder / "images" / backgrounds[i], 640, 480, kBackgroundColors[i]);
    const TSurfacePtr sheet = NewSurface(5 * 32, 32, 24);
    for (int32_t cell = 0; cell < 5; ++cell)
        FillRect(sheet.get(), 32 * cell, 0, 32, 32, kCellColors[cell]);
    SavePicture(sheet, folder / "images" / "CheckBox.PNG");
    for (const TCharacterFile& character : characters) {
        const std::string portrait = "Face_" + character.FileName + ".png";
        const TSurfacePtr picture = NewSurface(kPortraitSize, kPortraitSize, 24);
        FillRect(picture.get(), 0, 0, kPortraitSize, kPortraitSize, character.Portrait);
        FillRect(picture.get(), 0, 0, kPortraitCorner, kPortraitCorner, kPortraitKey);
        FillRect(picture.get(), kPortraitSize - kPortraitCorner, 0, kPortraitCorner, kPortraitCorner,
                 {0, 0, 0});
        SavePicture(picture, folder / "images" / portrait);
        WriteText(folder / "data" / character.FileName,
                  "[Pic]\nIDImage=" + portrait +
                      "\nTransparentColor1=10\nTransparentColor2=$C8\nTransparentColor3=10\n");
    }
    fs::create_directories(folder / "maps");
    for (const std::string& map : maps)
        WriteText(folder / "maps" / map, "");
}

inline const std::vector<TCharacterFile> kThreeCharacters{
    {"Gamma.plr", {120, 20, 20}}, {"alpha.plr", {20, 120, 20}}, {"Beta.plr", {20, 20, 120}}};
inline const std::vector<std::string> kThreeMaps{"Lake.map", "default.map", "Ruins.map"};

// The media library in a test folder of its own, the game folder written into it, and the
// real game made over it; the background is always the first one (Sunset).
class MenuGameTest : public MediaFixture {
protected:
    void SetUp() override {
        MediaFixture::SetUp();
        ResetInput();
        WriteGameFolder(Media->Folder(), Characters(), Maps());
        SetRandomSource([] { return 0.0; });
        TheGame = std::make_unique<TBriskGame>();
    }
    void TearDown() override {
        TheGame.reset();
        SetRandomSource({});
        MediaFixture::TearDown();
    }
    [[nodiscard]] virtual std::vector<TCharacterFile> Characters() const { return kThreeCharacters; }
    [[nodiscard]] virtual std::vector<std::string> Maps() const { return kThreeMaps; }

    // The screen surface's colour at (x, y), packed like TColor::Packed.
    [[nodiscard]] static uint32_t ScreenColor(int32_t x, int32_t y) {
        return ReadColor(Screen->Surface, x, y);
    }
    // Whether text was drawn with its top left corner at (x, y) in the font: every character
    // but the blanks shows its own colour.
    [[nodiscard]] static bool TextShown(int32_t font, int32_t x, int32_t y, std::string_view text) {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == ' ') continue;
            const int32_t pen = x + static_cast<int32_t>(i) * kGlyphAdvance;
            if (ScreenColor(pen + 2, y + 4) != GlyphColor(font, text[i]).Packed()) return false;
        }
        return true;
    }
    // Whether the place of the text's first character shows the menu background.
    [[nodiscard]] static bool BackgroundAt(int32_t x, int32_t y) {
        return ScreenColor(x + 2, y + 4) == kBackgroundColors[0].Packed();
    }

    std::unique_ptr<TBriskGame> TheGame;
};

} // namespace menutest
