// Picture files beyond the size cap: their size read from headers without decoding, refused
// with a log line naming the file, whatever loads them (image, sprite sheet, font); and cells of
// any frame number worked out without overflow.
#include "media/PictureFile.h"

#include "media/BriskDraws.h"
#include "media/BriskImage.h"
#include "media/BriskText.h"
#include "platform/IniFile.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"

#include <SDL.h>
#include <fstream>

namespace {

namespace fs = std::filesystem;

std::string Bytes(std::initializer_list<int> bytes) {
    std::string text;
    for (const int b : bytes)
        text.push_back(static_cast<char>(b));
    return text;
}

std::string BigEndian32(uint32_t value) {
    return Bytes({static_cast<int>(value >> 24 & 0xFF), static_cast<int>(value >> 16 & 0xFF),
                  static_cast<int>(value >> 8 & 0xFF), static_cast<int>(value & 0xFF)});
}

std::string LittleEndian(uint32_t value, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
    return text;
}

// The head of a PNG file up to its size fields; the rest is missing.
std::string PngHead(uint32_t width, uint32_t height) {
    return Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'}) +
           BigEndian32(width) + BigEndian32(height) + Bytes({8, 2, 0, 0, 0});
}

// A BMP head with the 40-byte header, or the old 12-byte one.
std::string BmpHead(int32_t width, int32_t height, bool old = false) {
    std::string head = "BM" + LittleEndian(0, 4) + LittleEndian(0, 4) + LittleEndian(26, 4);
    if (old) return head + LittleEndian(12, 4) + LittleEndian(width, 2) + LittleEndian(height, 2);
    return head + LittleEndian(40, 4) + LittleEndian(static_cast<uint32_t>(width), 4) +
           LittleEndian(static_cast<uint32_t>(height), 4);
}

// A JPEG head: start, an application segment, then the given frame marker with its size.
std::string JpegHead(int frameMarker, uint16_t width, uint16_t height) {
    return Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 16}) + std::string(14, 'j') +
           Bytes(
               {0xFF, 0xFF, frameMarker, 0, 17, 8, height >> 8, height & 0xFF, width >> 8, width & 0xFF, 3});
}

class PictureFileTest : public MediaFixture {
protected:
    void SetUp() override {
        MediaFixture::SetUp();
        fs::create_directory(Media->Folder() / "images");
    }
    [[nodiscard]] std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Media->Folder() / "images" / name, std::ios::binary) << bytes;
        return (Media->Folder() / "images" / name).string();
    }
    // A real BMP of width by height pixels, every pixel grey.
    [[nodiscard]] std::string WriteBitmap(const std::string& name, int32_t width, int32_t height) const {
        TBriskImage picture;
        picture.CreateSurface(width, height, 24);
        SDL_FillRect(picture.Surface.get(), nullptr, SDL_MapRGB(picture.Surface->format, 90, 90, 90));
        EXPECT_TRUE(SaveBitmapFile(picture.Surface.get(), Media->Folder() / "images" / name));
        return (Media->Folder() / "images" / name).string();
    }
    [[nodiscard]] size_t LogLinesWith(const std::string& text) const {
        size_t count = 0;
        for (const auto& line : Media->LogLines())
            count += line.find(text) != std::string::npos;
        return count;
    }
};

TEST_F(PictureFileTest, HeadersGiveTheSizeWithoutDecoding) {
    const struct {
        const char* Name;
        std::string Bytes;
        std::optional<std::pair<int64_t, int64_t>> Size;
    } cases[] = {
        {"png", PngHead(800, 1440), std::pair<int64_t, int64_t>{800, 1440}},
        {"huge png", PngHead(12000, 12000), std::pair<int64_t, int64_t>{12000, 12000}},
        {"widest png", PngHead(0xFFFFFFFF, 1), std::pair<int64_t, int64_t>{0xFFFFFFFF, 1}},
        {"short png", PngHead(800, 1440).substr(0, 20), std::nullopt},
        {"bmp", BmpHead(640, 480), std::pair<int64_t, int64_t>{640, 480}},
        {"top-down bmp", BmpHead(9000, -100), std::pair<int64_t, int64_t>{9000, 100}},
        {"lowest bmp", BmpHead(1, INT32_MIN), std::pair<int64_t, int64_t>{1, 2147483648}},
        {"old bmp", BmpHead(300, 200, true), std::pair<int64_t, int64_t>{300, 200}},
        {"gif", "GIF89a" + LittleEndian(100, 2) + LittleEndian(20000, 2),
         std::pair<int64_t, int64_t>{100, 20000}},
        {"baseline jpeg", JpegHead(0xC0, 640, 480), std::pair<int64_t, int64_t>{640, 480}},
        {"progressive jpeg", JpegHead(0xC2, 12000, 9), std::pair<int64_t, int64_t>{12000, 9}},
        {"jpeg tables only", JpegHead(0xC4, 640, 480).substr(0, 24), std::nullopt},
        {"jpeg scan first", Bytes({0xFF, 0xD8, 0xFF, 0xDA, 0, 2}), std::nullopt},
        {"jpeg broken marker", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 1, 0, 0}), std::nullopt},
        {"text", "[Pic]\nImage=x\n", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto size = PictureFileSize(Write("head.bin", c.Bytes));
        ASSERT_EQ(size.has_value(), c.Size.has_value()) << c.Name;
        if (!size) continue;
        EXPECT_EQ(size->Width, c.Size->first) << c.Name;
        EXPECT_EQ(size->Height, c.Size->second) << c.Name;
    }
    EXPECT_FALSE(PictureFileSize((Media->Folder() / "missing.png").string()));
}

TEST_F(PictureFileTest, PicturesBeyondTheCapAreRefusedByNameWhateverLoadsThem) {
    const struct {
        const char* Name;
        std::string Bytes; // empty: a real picture of Width by Height
        int32_t Width;
        int32_t Height;
        bool Refused;
    } cases[] = {
        {"Huge.png", PngHead(12000, 12000), 12000, 12000, true},
        {"Tall.jpg", JpegHead(0xC0, 100, 9000), 100, 9000, true},
        {"Wide.bmp", "", 8193, 1, true},
        {"Widest.bmp", "", 8192, 1, false},
        {"High.bmp", "", 1, 8193, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Bytes.empty())
            (void)WriteBitmap(c.Name, c.Width, c.Height);
        else
            (void)Write(c.Name, c.Bytes);
        const std::string line = "Refused picture images\\" + std::string(c.Name) + ": " +
                                 std::to_string(c.Width) + " by " + std::to_string(c.Height) +
                                 " pixels, at most 8192 by 8192";
        TBriskImage image;
        image.LoadFromFile(std::string("images\\") + c.Name);
        EXPECT_EQ(image.Surface == nullptr, c.Refused);
        EXPECT_EQ(LogLinesWith(line + " IN : TBriskImage.LoadFromFile"), c.Refused ? 1U : 0U)
            << Media->LogText();
        TBriskFont& font = FontList->LoadFont(std::string("images\\") + c.Name);
        EXPECT_EQ(font.Surface == nullptr, c.Refused);
        EXPECT_EQ(LogLinesWith(line + " IN : TBriskFont.LoadFont"), c.Refused ? 1U : 0U);
        font.TextOut(0, 0, "A refused font draws nothing");
    }
}

TEST_F(PictureFileTest, AFormatWithoutAHeaderSizeIsMeasuredOnceDecoded) {
    // An uncompressed true-colour TGA: its 18-byte header is not read before decoding.
    const int32_t width = 8193;
    const std::string tga = Bytes({0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}) + LittleEndian(width, 2) +
                            LittleEndian(1, 2) + Bytes({24, 0}) +
                            std::string(static_cast<size_t>(width) * 3, '\x40');
    (void)Write("Wide.tga", tga);
    const auto picture = LoadPicture("images\\Wide.tga", "Test");
    EXPECT_EQ(picture, nullptr);
    EXPECT_EQ(
        LogLinesWith("Refused picture images\\Wide.tga: 8193 by 1 pixels, at most 8192 by 8192 IN : Test"),
        1U)
        << Media->LogText();
}

TEST_F(PictureFileTest, CellsOfAnyFrameNumberKeepTheLowSixteenBitsOfTheirPlace) {
    TBriskImage sheet;
    sheet.CreateSurface(160, 160, 24);
    sheet.FrameWidth = 80;
    sheet.FrameHeight = 80;
    for (const int32_t frame : {0, 3, 1 << 20, INT32_MAX, INT32_MIN, -1}) {
        const int64_t x = int64_t{frame} % 2 * 80;
        const int64_t y = int64_t{frame} / 2 * 80;
        const TBriskRect cell = sheet.FrameRect(frame);
        EXPECT_EQ(cell.X, static_cast<int16_t>(x)) << frame;
        EXPECT_EQ(cell.Y, static_cast<int16_t>(y)) << frame;
        sheet.DrawFrame(10, 10, frame);
    }
    sheet.FrameHeight = INT32_MAX;
    EXPECT_EQ(sheet.FrameRect(INT32_MAX).Y, static_cast<int16_t>(int64_t{INT32_MAX} / 2 * INT32_MAX));
}

TEST_F(PictureFileTest, ASheetOfMoreCellsThanAreCutDrawsFromTheSheet) {
    // 160 by 120 cells of one pixel: more than kMaxCutCells, each its own colour.
    TBriskImage sheet;
    sheet.CreateSurface(160, 120, 24);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            WritePixel(sheet.Surface.get(), x, y, static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7);
    sheet.SetColorKey(0, 0, 0);
    sheet.FrameWidth = 1;
    sheet.FrameHeight = 1;
    ASSERT_GT(160 * 120, kMaxCutCells);
    for (const int32_t frame : {1, 161, 19199}) {
        sheet.DrawFrame(5, 6, frame);
        EXPECT_EQ(ReadColor(Screen->Surface, 5, 6),
                  static_cast<uint32_t>(frame % 160 | frame / 160 << 8 | 7 << 16))
            << frame;
    }
}

} // namespace
