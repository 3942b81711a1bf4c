// The pictures as the game cuts them: fonts decode for every printable code, sprite sheets
// hold every frame their data files name, pickups and panels are where the game looks.
#include "ContentSupport.h"
#include "media/BitmapFont.h"
#include "media/BriskImage.h"
#include "media/PictureFile.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <SDL.h>
#include <algorithm>

namespace {

uint32_t KeyOf(const TIniFile& ini, const std::string& section) {
    return Pack(ini.ReadInteger(section, "TransparentColor1", 0),
                ini.ReadInteger(section, "TransparentColor2", 0),
                ini.ReadInteger(section, "TransparentColor3", 0));
}

float Luminance(uint32_t rgb) {
    return 0.3f * (rgb & 255) + 0.59f * ((rgb >> 8) & 255) + 0.11f * ((rgb >> 16) & 255);
}

} // namespace

TEST_F(ContentTest, FontsDecodeToAGlyphForEveryPrintableCode) {
    const std::pair<const char*, std::pair<int, int>> fonts[] = {
        {"images/24P_Copperplate_Blue.png", {20, 28}},
        {"images/24P_Arial_NeonYellow.png", {20, 28}},
        {"images/24P_Copperplate_embosed.png", {20, 28}},
        {"images/Small_Copperplate_Blue.png", {11, 16}},
    };
    for (const auto& [file, heights] : fonts) {
        TBriskImage image;
        image.LoadFromFile(file);
        ASSERT_TRUE(image.Surface) << file;
        SDL_Surface* s = image.Surface.get();
        const TMarkerTable table = ScanMarkers(s);
        EXPECT_GE(table.Runs, 95) << file << " needs a run after the glyph of 126";
        EXPECT_GE(table.Height, heights.first) << file;
        EXPECT_LE(table.Height, heights.second) << file;
        const uint32_t transparent = ReadColor(s, 0, s->h - 1);
        EXPECT_NE(transparent, Pack(255, 0, 255)) << file;
        for (int code = 33; code <= 126; ++code) {
            const auto glyph = GlyphFor(table, static_cast<uint8_t>(code));
            ASSERT_TRUE(glyph.has_value()) << file << " code " << code;
            EXPECT_GT(glyph->Advance, 2) << file << " code " << code;
            int ink = 0;
            for (int y = glyph->Source.Y; y < glyph->Source.Y + glyph->Source.H; ++y)
                for (int x = glyph->Source.X; x < glyph->Source.X + glyph->Source.W; ++x) {
                    const uint32_t c = ReadColor(s, x, y);
                    ink += c != transparent;
                    // A marker colour below the top row would be drawn as a magenta speck.
                    EXPECT_NE(c, Pack(255, 0, 255)) << file << " at " << x << "," << y;
                }
            EXPECT_GT(ink, 3) << file << " draws nothing for code " << code;
        }
        EXPECT_GT(SpaceAdvance(table), 2) << file;
    }
}

TEST_F(ContentTest, CharacterSheetsHoldEveryFrameTheirFilesName) {
    for (const std::string& name : GameNames("data\\*.plr")) {
        SCOPED_TRACE(name);
        const TIniFile plr("data\\" + name + ".plr");
        const TPixels sheet = LoadPixels("images\\" + plr.ReadString("Pic", "Image", ""));
        ASSERT_GT(sheet.W, 0);
        const uint32_t key = KeyOf(plr, "Pic");
        const int cells = CellCount(sheet, 80, 80);
        EXPECT_GE(cells, 136);
        std::vector<bool> animated(cells, false);
        for (const char* action : {"Attack", "Walk", "Stand", "Die"}) {
            // An animation shows frames 0..Frames, so Frames + 1 cells from its first.
            const int frames = plr.ReadInteger("Animation", std::string(action) + "Frames", -1);
            ASSERT_GE(frames, 0) << action;
            for (int d = 0; d < 8; ++d) {
                const int first = plr.ReadInteger("Animation", action + std::to_string(d), -1);
                ASSERT_GE(first, 0) << action << d;
                ASSERT_LT(first + frames, cells) << action << d << " runs off the sheet";
                for (int f = first; f <= first + frames; ++f) {
                    EXPECT_TRUE(CellHasInk(sheet, 80, 80, f, key))
                        << action << d << " cell " << f << " is empty";
                    animated[f] = true;
                }
            }
        }
        // The status panel's portraits are cells of their own.
        for (int portrait : {40, 135}) {
            EXPECT_TRUE(CellHasInk(sheet, 80, 80, portrait, key)) << "portrait cell " << portrait;
            EXPECT_FALSE(animated[portrait]) << "portrait cell " << portrait << " is also an animation frame";
        }
        EXPECT_GE(plr.ReadInteger("Animation", "AttackFrames", 0), 2) << "below 2 the fighter never strikes";
        // The setup screen draws the portrait at (50, 300) with its arrows beside it and the AI box at y 370.
        const TPixels portrait = LoadPixels("images\\" + plr.ReadString("Pic", "IDImage", ""));
        ASSERT_GT(portrait.W, 0);
        EXPECT_LE(portrait.W, 80);
        EXPECT_LE(portrait.H, 70);
    }
}

TEST_F(ContentTest, WeaponSheetsHoldTheGroundAndFlightFrames) {
    for (const std::string& name : GameNames("data\\*.wpn")) {
        SCOPED_TRACE(name);
        const TIniFile wpn("data\\" + name + ".wpn");
        const TPixels sheet = LoadPixels("images\\" + wpn.ReadString(name, "Image", ""));
        ASSERT_GT(sheet.W, 0);
        const int w = wpn.ReadInteger(name, "Width", 0), h = wpn.ReadInteger(name, "Height", 0);
        const uint32_t key = KeyOf(wpn, name);
        EXPECT_TRUE(CellHasInk(sheet, w, h, wpn.ReadInteger(name, "Pic", -1), key, 6)) << "ground frame";
        for (int d = 0; d < 8; ++d)
            EXPECT_TRUE(CellHasInk(sheet, w, h, wpn.ReadInteger(name, "Dir" + std::to_string(d), -1), key, 6))
                << "flight frame " << d;
        // The foot point lies inside the frame, so a missile is drawn around its square.
        EXPECT_GE(wpn.ReadInteger(name, "OffX", -1), 0);
        EXPECT_LT(wpn.ReadInteger(name, "OffX", -1), w);
        EXPECT_GE(wpn.ReadInteger(name, "OffY", -1), 0);
        EXPECT_LT(wpn.ReadInteger(name, "OffY", -1), h);
    }
}

TEST_F(ContentTest, PickupFramesExistInItemsAndArmor) {
    const TPixels items = LoadPixels("images\\Items.png");
    const TPixels armor = LoadPixels("images\\Armor.png");
    const uint32_t key = Pack(181, 101, 181);
    // Boots 0-4, gloves 5-9, magic items 10-24, charge markers 25-29, potions 40-45.
    for (int f = 0; f <= 45; ++f) {
        if (f >= 30 && f < 40) continue;
        EXPECT_TRUE(CellHasInk(items, 32, 32, f, key, f >= 25 && f < 30 ? 10 : 40)) << "Items frame " << f;
    }
    for (int f = 0; f < 5; ++f)
        EXPECT_TRUE(CellHasInk(armor, 64, 64, f, key, 150)) << "Armor frame " << f;
    // Charge markers are laid 10 pixels apart, so each must fit in the cell's first 10 columns.
    for (int f = 25; f < 30; ++f)
        for (int y = 0; y < 32; ++y)
            for (int x = 11; x < 32; ++x)
                ASSERT_EQ(items.At((f % 10) * 32 + x, (f / 10) * 32 + y), key)
                    << "marker " << f << " is too wide";
}

TEST_F(ContentTest, GroundSheetsHaveTheirFramesAndNoHoles) {
    const std::tuple<const char*, int, bool> grounds[] = {{"images\\WaterGround.png", 32, true},
                                                          {"images\\BrownGround.png", 8, true},
                                                          {"images\\PlainGround.png", 8, false}};
    for (const auto& [file, frames, blackKeyed] : grounds) {
        const TPixels g = LoadPixels(file);
        ASSERT_GE(CellCount(g, 64, 48), frames) << file;
        if (!blackKeyed) continue;
        // The ground buffer is drawn over, not cleared: a black pixel of a black-keyed
        // ground would show whatever was drawn there before.
        int black = 0;
        for (int y = 0; y < g.H; ++y)
            for (int x = 0; x < g.W; ++x)
                black += g.At(x, y) == 0;
        EXPECT_EQ(black, 0) << file;
    }
}

TEST_F(ContentTest, PanelsAndBarsFitTheMatchScreen) {
    const TPixels local = LoadPixels("images\\PlayerBoxLocal.png"),
                  other = LoadPixels("images\\PlayerBox.png");
    for (const TPixels* p : {&local, &other}) {
        ASSERT_GT(p->W, 0);
        EXPECT_LE(p->W, 210) << "the panels stand 210 pixels apart";
        EXPECT_LE(p->H, 98) << "a panel at y 382 must end on the screen";
    }
    EXPECT_NE(local.Rgb, other.Rgb) << "the local panel must look different";
    const TPixels life = LoadPixels("images\\PlayerLife.png");
    ASSERT_GE(CellCount(life, 48, 8), 10);
    // Frame 0 is full, each later frame shows less of the bar's colour than the one before.
    auto filled = [&life](int frame) {
        int n = 0;
        const int perRow = life.W / 48;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 48; ++x) {
                const uint32_t c = life.At((frame % perRow) * 48 + x, (frame / perRow) * 8 + y);
                n += Luminance(c) > 110;
            }
        return n;
    };
    for (int f = 1; f < 10; ++f)
        EXPECT_LT(filled(f), filled(f - 1)) << "health frame " << f;
    const TPixels box = LoadPixels("images\\CheckBox.PNG");
    for (int cell : {0, 1, 3, 4})
        EXPECT_TRUE(CellHasInk(box, 32, 32, cell, 0, 100)) << "CheckBox cell " << cell;
}

TEST_F(ContentTest, MenuBackgroundsLeaveTheTextReadable) {
    for (const char* file :
         {"images\\Sunset.jpg", "images\\Brown.jpg", "images\\Japan.jpg", "images\\Mesa.jpg"}) {
        const TPixels bg = LoadPixels(file);
        ASSERT_EQ(bg.W, 640) << file;
        ASSERT_EQ(bg.H, 480) << file;
        // Backgrounds are keyed on black: a black pixel would leave the last frame showing.
        EXPECT_EQ(std::count(bg.Rgb.begin(), bg.Rgb.end(), 0u), 0) << file;
        // The help text (light blue, luminance about 210) stands at x 50 on y 70..340; the
        // buttons (yellow) along the bottom. Both need a darker ground under them.
        auto mean = [&bg](int x0, int y0, int x1, int y1) {
            double sum = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    sum += Luminance(bg.At(x, y));
            return sum / ((x1 - x0) * (y1 - y0));
        };
        EXPECT_LT(mean(50, 70, 600, 340), 120) << file;
        EXPECT_LT(mean(0, 420, 640, 480), 120) << file;
        EXPECT_LT(mean(100, 0, 540, 40), 120) << file;
    }
}

TEST_F(ContentTest, EveryPictureHeaderGivesItsDecodedSize) {
    // The size cap is checked on the header before decoding: for the game's own PNG and JPEG
    // pictures the header must tell the size the decoder then gives.
    for (const std::string& name : ListFiles("images\\*.*")) {
        const auto size = PictureFileSize(ResolvePath("images\\" + name));
        ASSERT_TRUE(size.has_value()) << name;
        const TPixels pixels = LoadPixels("images\\" + name);
        EXPECT_EQ(size->Width, pixels.W) << name;
        EXPECT_EQ(size->Height, pixels.H) << name;
    }
}
