// The generators' file writers: colour keys never eat a drawn pixel, font pictures keep
// their marker row to themselves, and sound files carry the sizes their headers claim.
#include "Canvas.h"
#include "ContentSupport.h"
#include "Fonts.h"
#include "Sounds.h"

#include <fstream>
#include <iterator>

using namespace content;

namespace {

std::vector<unsigned char> Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST_F(ContentTest, KeyedPngsKeepDrawnPixelsOffTheKey) {
    const auto file = MakeTestFolder("writers") / "keyed.png";
    TCanvas c(4, 1);
    c.At(0, 0) = Rgb(181, 101, 181);     // drawn, but exactly the key colour
    c.At(1, 0) = Rgb(10, 20, 30, 0.49f); // below half coverage: transparent
    c.At(2, 0) = Rgb(10, 20, 30, 0.5f);  // half coverage: drawn
    c.At(3, 0) = Rgb(255, 255, 255, 0.0f);
    WritePng(file.string(), c, TKey{181, 101, 181});
    const TPixels p = LoadPixels(file.string());
    ASSERT_EQ(p.W, 4);
    EXPECT_NE(p.At(0, 0), Pack(181, 101, 181));
    EXPECT_EQ(p.At(0, 0) & 0xffff, Pack(181, 101, 0)) << "only the blue low bit may change";
    EXPECT_EQ(p.At(1, 0), Pack(181, 101, 181));
    EXPECT_EQ(p.At(2, 0), Pack(10, 20, 30));
    EXPECT_EQ(p.At(3, 0), Pack(181, 101, 181));
}

TEST_F(ContentTest, OpaqueGroundAndBackgroundsAvoidBlack) {
    const auto folder = MakeTestFolder("writers");
    TCanvas c(2, 1, Rgb(0, 0, 0));
    WriteOpaquePng((folder / "ground.png").string(), c);
    WriteJpeg((folder / "menu.jpg").string(), c, 90);
    for (const char* name : {"ground.png", "menu.jpg"}) {
        const TPixels p = LoadPixels((folder / name).string());
        ASSERT_EQ(p.W, 2) << name;
        EXPECT_NE(p.At(0, 0), 0u) << name << " would be transparent where it is keyed on black";
    }
}

TEST_F(ContentTest, FontPicturesReserveTheMarkerColourForTheTopRow) {
    const auto file = MakeTestFolder("writers") / "font.png";
    TCanvas c(3, 3);
    c.At(0, 0) = Rgb(255, 0, 255);
    c.At(1, 1) = Rgb(255, 0, 255); // a glyph pixel of the marker colour
    c.At(2, 1) = Rgb(0, 0, 0);     // a glyph pixel of the transparent colour
    WriteFontPng(file.string(), c);
    const TPixels p = LoadPixels(file.string());
    ASSERT_EQ(p.W, 3);
    EXPECT_EQ(p.At(0, 0), Pack(255, 0, 255));
    EXPECT_EQ(p.At(1, 0), 0u) << "gaps in the top row are transparent";
    EXPECT_NE(p.At(1, 1), Pack(255, 0, 255));
    EXPECT_NE(p.At(2, 1), 0u);
    EXPECT_EQ(p.At(0, 2), 0u) << "the bottom left pixel names the transparent colour";
}

TEST_F(ContentTest, WavesOfAnyLengthHaveConsistentChunkSizes) {
    const auto folder = MakeTestFolder("writers");
    for (size_t n : {0u, 1u, 2u, 1001u}) {
        const auto file = folder / ("s" + std::to_string(n) + ".wav");
        WriteWav(file.string(), std::vector<float>(n, 1.5f));
        const std::vector<unsigned char> d = Bytes(file);
        // RIFF chunks are padded to an even length; the data size excludes the pad byte.
        ASSERT_EQ(d.size(), 44 + n + n % 2) << n;
        const uint32_t riff = d[4] | d[5] << 8 | d[6] << 16 | static_cast<uint32_t>(d[7]) << 24;
        const uint32_t data = d[40] | d[41] << 8 | d[42] << 16 | static_cast<uint32_t>(d[43]) << 24;
        EXPECT_EQ(riff + 8, d.size()) << n;
        EXPECT_EQ(data, n) << n;
        // Out-of-range samples are clipped, not wrapped round to the other extreme.
        if (n > 0) EXPECT_EQ(d[44], 255) << n;
    }
}
