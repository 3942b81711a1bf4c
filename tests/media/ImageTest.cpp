// Pictures: the colour-key rule, sprite cells and their guards, lookups by name, missing files.
#include "media/BriskDraws.h"
#include "media/BriskImage.h"
#include "platform/IniFile.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"

#include <SDL.h>
#include <fstream>

namespace {

class ImageTest : public MediaFixture {
protected:
    // A sheet of 3 by 2 cells of 10 by 8 pixels; cell n is filled with grey level 10 * (n + 1).
    std::unique_ptr<TBriskImage> MakeSheet() const {
        auto image = std::make_unique<TBriskImage>();
        image->CreateSurface(30, 16, 24);
        for (int cell = 0; cell < 6; ++cell) {
            const auto level = static_cast<uint8_t>(10 * (cell + 1));
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 10; ++x)
                    WritePixel(image->Surface.get(), cell % 3 * 10 + x, cell / 3 * 8 + y, level, level,
                               level);
        }
        image->FrameWidth = 10;
        image->FrameHeight = 8;
        return image;
    }
    static void ClearScreen() {
        SDL_FillRect(Screen->Surface, nullptr, SDL_MapRGB(Screen->Surface->format, 0, 0, 255));
    }
};

TEST_F(ImageTest, FrameFiveOfAThreeWideSheetIsTheThirdCellOfTheSecondRow) {
    auto sheet = MakeSheet();
    const TBriskRect cell = sheet->FrameRect(5);
    EXPECT_EQ(cell.X, 20);
    EXPECT_EQ(cell.Y, 8);
    EXPECT_EQ(cell.W, 10);
    EXPECT_EQ(cell.H, 8);
    ClearScreen();
    sheet->DrawFrame(100, 50, 5);
    EXPECT_EQ(ReadColor(Screen->Surface, 100, 50), 0x3C3C3CU); // grey 60: cell 5
    EXPECT_EQ(ReadColor(Screen->Surface, 109, 57), 0x3C3C3CU);
    EXPECT_EQ(ReadColor(Screen->Surface, 110, 50), 0xFF0000U) << "one cell wide, no more";
    EXPECT_EQ(sheet->DestRect.X, 100);
    EXPECT_EQ(sheet->DestRect.Y, 50);
}

TEST_F(ImageTest, CellsWithoutSurfaceOrSizeDrawNothing) {
    TBriskImage empty;
    empty.FrameWidth = 10;
    empty.FrameHeight = 8;
    auto zeroWidth = MakeSheet();
    zeroWidth->FrameWidth = 0;
    auto zeroHeight = MakeSheet();
    zeroHeight->FrameHeight = 0;
    auto narrow = MakeSheet();
    narrow->FrameWidth = 40; // wider than the sheet: one cell per row, clipped
    ClearScreen();
    empty.DrawFrame(0, 0, 0);
    zeroWidth->DrawFrame(0, 0, 1);
    zeroHeight->DrawFrame(0, 0, 1);
    empty.Draw(0, 0);
    for (int x = 0; x < 40; ++x)
        ASSERT_EQ(ReadColor(Screen->Surface, x, 2), 0xFF0000U);
    narrow->DrawFrame(0, 0, 1);
    EXPECT_EQ(ReadColor(Screen->Surface, 0, 0), 0x282828U) << "cell 1 is the second row";
}

TEST_F(ImageTest, ColourKeyTakesTheLowEightBitsOfEachComponent) {
    const struct {
        const char* Keys;
        uint8_t Red, Green, Blue;
    } cases[] = {
        {"", 0, 0, 0},
        {"TransparentColor1=256\n", 0, 0, 0},
        {"TransparentColor1=-1\n", 255, 0, 0},
        {"TransparentColor1=$B5\nTransparentColor2=101\nTransparentColor3=$b5\n", 181, 101, 181},
        {"TransparentColor2=511\nTransparentColor3=garbage\n", 0, 255, 0},
    };
    for (const auto& c : cases) {
        const auto file = Media->Folder() / "item.ini";
        std::ofstream(file) << "[Item]\n" << c.Keys << "[Other]\nTransparentColor1=9\n";
        const TIniFile ini(file.string());
        TBriskImage image;
        image.CreateSurface(4, 4, 24);
        ApplyColorKeyFrom(image, ini, "item");
        EXPECT_TRUE(image.Surface->flags & SDL_SRCCOLORKEY);
        EXPECT_EQ(image.Surface->format->colorkey, SDL_MapRGB(image.Surface->format, c.Red, c.Green, c.Blue))
            << c.Keys;
    }
}

TEST_F(ImageTest, KeyedPixelsAreNotDrawn) {
    auto sheet = MakeSheet();
    sheet->SetColorKey(60, 60, 60);
    ClearScreen();
    sheet->Draw(0, 0);
    EXPECT_EQ(ReadColor(Screen->Surface, 0, 0), 0x0A0A0AU);
    EXPECT_EQ(ReadColor(Screen->Surface, 25, 12), 0xFF0000U) << "cell 5 is grey 60, the key";
}

TEST_F(ImageTest, FindGivesTheLatestOfANameAndIndexOfItsPosition) {
    TBriskImageList list;
    const char* names[] = {"Trees", "Items", "Trees", "items"};
    for (const char* name : names) {
        auto image = std::make_unique<TBriskImage>();
        image->Name = name;
        list.Add(std::move(image));
    }
    EXPECT_EQ(list.IndexOf("Trees"), 2);
    EXPECT_EQ(list.Find("Trees"), list.Items(2));
    EXPECT_EQ(list.GetImage("Items"), list.Items(1));
    EXPECT_EQ(list.IndexOf("ITEMS"), -1) << "names compare with case";
    EXPECT_EQ(list.Find("Ruins2"), nullptr);
    EXPECT_EQ(list.Items(4), nullptr);
    EXPECT_EQ(list.Items(-1), nullptr);
    EXPECT_EQ(list.Count(), 4);
}

TEST_F(ImageTest, PictureLoadedByFileIsFoundUnderItsFileNameAndMissingFilesLoadNothing) {
    auto sheet = MakeSheet();
    std::filesystem::create_directories(Media->Folder() / "images");
    ASSERT_TRUE(SaveBitmapFile(sheet->Surface.get(), Media->Folder() / "images" / "Sheet.bmp"));
    auto loaded = std::make_unique<TBriskImage>();
    loaded->LoadFromFile("IMAGES\\sheet.BMP");
    ASSERT_TRUE(loaded->Surface);
    EXPECT_EQ(loaded->Surface->w, 30);
    ImageList->Add(std::move(loaded));
    EXPECT_NE(ImageList->Find("IMAGES\\sheet.BMP"), nullptr);

    ImageList->LoadImage("Mesa", "images\\Mesa.jpg");
    TBriskImage* missing = ImageList->Find("Mesa");
    ASSERT_NE(missing, nullptr);
    EXPECT_FALSE(missing->Surface);
    missing->SetColorKey(1, 2, 3);
    missing->Draw(0, 0);
    missing->DrawFrame(0, 0, 3);
    const auto log = Media->LogText();
    EXPECT_NE(log.find("MSG : Loading:Mesa IN : ImageList.LoadImage\r\n"), std::string::npos);
    EXPECT_NE(log.find("MSG : Loading Image: images\\Mesa.jpg IN : TBriskImage.LoadFromFile\r\n"),
              std::string::npos);
}

TEST_F(ImageTest, SharedImageLoadsOnceFromTheImagesFolder) {
    auto sheet = MakeSheet();
    std::filesystem::create_directories(Media->Folder() / "images");
    ASSERT_TRUE(SaveBitmapFile(sheet->Surface.get(), Media->Folder() / "images" / "sheet.bmp"));
    std::ofstream(Media->Folder() / "w.wpn")
        << "[Weapon]\nTransparentColor1=10\nTransparentColor2=10\nTransparentColor3=10\n";
    const TIniFile ini((Media->Folder() / "w.wpn").string());
    TBriskImage& first = SharedImage("Sword", "Sheet.BMP", ini, "Weapon", 10, 8);
    TBriskImage& second = SharedImage("Sword", "other.png", ini, "Weapon", 1, 1);
    EXPECT_EQ(&first, &second);
    ASSERT_TRUE(first.Surface);
    EXPECT_EQ(first.FrameWidth, 10);
    EXPECT_EQ(first.Surface->format->colorkey, SDL_MapRGB(first.Surface->format, 10, 10, 10));
    EXPECT_EQ(ImageList->Count(), 1);
}

} // namespace
