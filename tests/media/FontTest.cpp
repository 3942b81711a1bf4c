// Bitmap fonts decoded from pictures the tests paint themselves, and the TrueType fallback.
#include "media/BitmapFont.h"
#include "media/BriskDraws.h"
#include "media/BriskText.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"

#include <SDL.h>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlue = 0xFF0000, kRed = 0x0000FF;

// A 30 by 10 picture with marker runs at columns 0-1, 10-11 and 20-21: "!" is white between
// the first two runs, '"' red between the last two; everything else is black (the key).
TSurfacePtr PaintFont(const std::vector<int>& markerColumns, int width = 30) {
    TSurfacePtr picture = NewSurface(width, 10, 24);
    for (int x : markerColumns)
        WritePixel(picture.get(), x, 0, 255, 0, 255);
    for (int y = 1; y < 9; ++y) {
        for (int x = 2; x < 10; ++x)
            WritePixel(picture.get(), x, y, 255, 255, 255);
        for (int x = 12; x < 20 && x < width; ++x)
            WritePixel(picture.get(), x, y, 255, 0, 0);
    }
    return picture;
}

TSurfacePtr BlueTarget() {
    TSurfacePtr target = NewSurface(100, 20, 24);
    SDL_FillRect(target.get(), nullptr, SDL_MapRGB(target->format, 0, 0, 255));
    return target;
}

TEST(BitmapFont, MarkerRunsGiveSourceRectangleOffsetAndPenAdvance) {
    const TSurfacePtr picture = PaintFont({0, 1, 10, 11, 20, 21});
    const TMarkerTable table = ScanMarkers(picture.get());
    ASSERT_EQ(table.Runs, 3);
    EXPECT_EQ(std::vector<int32_t>(table.CharPos.begin(), table.CharPos.begin() + 6),
              (std::vector<int32_t>{0, 2, 10, 12, 20, 22}));

    const auto bang = GlyphFor(table, '!');
    ASSERT_TRUE(bang);
    EXPECT_EQ(bang->Source.X, 1); // middle of the first run, (2 + 0) div 2
    EXPECT_EQ(bang->Source.Y, 1);
    EXPECT_EQ(bang->Source.W, 10);
    EXPECT_EQ(bang->Source.H, 9);
    EXPECT_EQ(bang->OffsetX, 1);
    EXPECT_EQ(bang->Advance, 8);
    EXPECT_EQ(SpaceAdvance(table), 8);

    const auto quote = GlyphFor(table, '"');
    ASSERT_TRUE(quote);
    EXPECT_EQ(quote->Source.X, 11);
    EXPECT_EQ(quote->Source.W, 10);
    EXPECT_EQ(quote->Advance, 8);
}

TEST(BitmapFont, CodesOutsideTheRunsAreSkipped) {
    const TSurfacePtr picture = PaintFont({0, 1, 10, 11, 20, 21});
    const TMarkerTable table = ScanMarkers(picture.get());
    // Glyphs exist for 33 and 34 only: 32 is the space, 35 lies past the last run.
    for (int code : {0, 1, 10, 31, 35, 127, 128, 255})
        EXPECT_FALSE(GlyphFor(table, static_cast<uint8_t>(code))) << "code " << code;
    const TSurfacePtr target = BlueTarget();
    EXPECT_EQ(DrawBitmapText(picture.get(), table, target.get(), 20, 5, std::string("\x01#\xff\x1f", 4)), 20);
    EXPECT_EQ(DrawBitmapText(picture.get(), table, target.get(), 20, 5, "!#!"), 36);
    EXPECT_EQ(DrawBitmapText(picture.get(), table, target.get(), 20, 5, "   "), 44) << "each space adds 8";
    EXPECT_EQ(DrawBitmapText(picture.get(), table, target.get(), 20, 5, ""), 20);
}

TEST(BitmapFont, PicturesWithTooFewRunsDrawNothing) {
    const struct {
        std::vector<int> Markers;
        int32_t Runs;
    } cases[] = {{{}, 0}, {{4, 5}, 1}, {{28, 29}, 1}};
    for (const auto& c : cases) {
        const TSurfacePtr picture = PaintFont(c.Markers);
        const TMarkerTable table = ScanMarkers(picture.get());
        EXPECT_EQ(table.Runs, c.Runs);
        EXPECT_FALSE(GlyphFor(table, '!'));
        EXPECT_EQ(SpaceAdvance(table), 0);
        const TSurfacePtr target = BlueTarget();
        EXPECT_EQ(DrawBitmapText(picture.get(), table, target.get(), 20, 5, "! !"), 20);
        EXPECT_EQ(ReadColor(target.get(), 20, 5), kBlue);
    }
    EXPECT_EQ(ScanMarkers(nullptr).Runs, 0);
}

TEST(BitmapFont, RunAtTheRightEdgeEndsOnTheLastColumn) {
    const TSurfacePtr picture = PaintFont({0, 1, 10, 11, 28, 29});
    const TMarkerTable table = ScanMarkers(picture.get());
    ASSERT_EQ(table.Runs, 3);
    EXPECT_EQ(table.CharPos[4], 28);
    EXPECT_EQ(table.CharPos[5], 29);
}

TEST(BitmapFont, MoreThan256RunsKeepTheFirst256) {
    TSurfacePtr picture = NewSurface(2 * 300, 4, 24);
    for (int run = 0; run < 300; ++run)
        WritePixel(picture.get(), 2 * run, 0, 255, 0, 255);
    const TMarkerTable table = ScanMarkers(picture.get());
    EXPECT_EQ(table.Runs, kMaxMarkerRuns);
    EXPECT_TRUE(GlyphFor(table, 255)) << "the last code still lies between two recorded runs";
}

class FontListTest : public MediaFixture {};

TEST_F(FontListTest, LoadedFontDrawsGlyphsKeyedByBottomLeftPixel) {
    const TSurfacePtr picture = PaintFont({0, 1, 10, 11, 20, 21});
    ASSERT_TRUE(SaveBitmapFile(picture.get(), Media->Folder() / "Font.bmp"));
    TBriskFont& font = FontList->LoadFont("FONT.BMP");
    EXPECT_TRUE(font.IsBitmap);
    EXPECT_EQ(&FontList->Items(0), &font);

    const TSurfacePtr target = BlueTarget();
    font.TextOutTo(target.get(), 20, 5, "!\"");
    EXPECT_EQ(ReadColor(target.get(), 20, 5), kWhite) << "the glyph's first column lands on the pen";
    EXPECT_EQ(ReadColor(target.get(), 27, 12), kWhite);
    EXPECT_EQ(ReadColor(target.get(), 19, 5), kBlue) << "black is the picture's transparent colour";
    EXPECT_EQ(ReadColor(target.get(), 28, 5), kRed) << "the second glyph starts 8 pixels on";
    EXPECT_EQ(ReadColor(target.get(), 20, 4), kBlue) << "row 0 with the markers is never drawn";
}

TEST_F(FontListTest, MissingPictureAndUnknownPositionDrawNothing) {
    TBriskFont& missing = FontList->LoadFont("images\\NoSuchFont.png");
    EXPECT_TRUE(missing.IsBitmap);
    EXPECT_FALSE(missing.Surface);
    const TSurfacePtr target = BlueTarget();
    missing.TextOutTo(target.get(), 0, 0, "Hello");
    FontList->Items(7).TextOutTo(target.get(), 0, 0, "Hello");
    FontList->Items(-1).TextOut(0, 0, "Hello");
    for (int x = 0; x < 100; ++x)
        ASSERT_EQ(ReadColor(target.get(), x, 5), kBlue);
    EXPECT_EQ(FontList->Count(), 1);
}

TEST_F(FontListTest, MissingTrueTypeFileFallsBackToASystemFont) {
    // The default names a Windows font, which this machine does not have.
    TBriskFont font;
    EXPECT_EQ(font.FontName, "c:\\windows\\fonts\\Arial.ttf");
    EXPECT_EQ(font.Size, 24);
    EXPECT_EQ(font.Color, TBriskDraw::MakeColor(255, 0, 0));
    const TSurfacePtr target = NewSurface(200, 40, 24);
    font.TextOutTo(target.get(), 0, 0, "WWW");
    EXPECT_FALSE(font.IsBitmap);
    int red = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            red += ReadColor(target.get(), x, y) == 0x0000FF;
    EXPECT_GT(red, 20) << "the fallback font drew red text";
    font.TextOutTo(target.get(), 0, 0, "");
}

class FontStartupFileTest : public MediaFixture {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = "DefaultFontSize=x\nDefaultFontName=my.TtF\n";
        return options;
    }
};

TEST_F(FontStartupFileTest, StartupKeysNameTheDefaultFontAndBadSizeKeepsTheDefault) {
    const TBriskFont font;
    EXPECT_EQ(font.FontName, "my.TtF");
    EXPECT_EQ(font.Size, 24);
}

} // namespace
