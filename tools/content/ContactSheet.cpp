// contact-sheet OUT.png [GAME]: every picture of the game folder's images/ on one sheet for
// review, each font shown writing a sample line the way the game draws it.
#include "Canvas.h"

#define STB_IMAGE_IMPLEMENTATION
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <stb/stb_image.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace content;

namespace {

struct TPicture {
    std::string Name;
    int W = 0, H = 0;
    std::vector<uint8_t> Rgb;
    [[nodiscard]] const uint8_t* At(int x, int y) const { return &Rgb[(static_cast<size_t>(y) * W + x) * 3]; }
};

TPicture Load(const fs::path& file) {
    TPicture p;
    p.Name = file.filename().string();
    int n = 0;
    std::unique_ptr<uint8_t, void (*)(void*)> data(stbi_load(file.string().c_str(), &p.W, &p.H, &n, 3),
                                                   stbi_image_free);
    if (!data) throw std::runtime_error("could not read " + file.string());
    p.Rgb.assign(data.get(), data.get() + static_cast<size_t>(p.W) * p.H * 3);
    return p;
}

// Draws `text` with a marker-run font the way the game does: each glyph from the middle of
// its left run to the middle of its right run, bottom left pixel transparent.
int FontText(TCanvas& sheet, const TPicture& font, int x, int y, const std::string& text) {
    std::vector<int> pos;
    for (int px = 0; px < font.W;) {
        const uint8_t* p = font.At(px, 0);
        if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
            const int start = px;
            while (px < font.W && font.At(px, 0)[0] == 255 && font.At(px, 0)[1] == 0 &&
                   font.At(px, 0)[2] == 255)
                ++px;
            pos.push_back(start);
            pos.push_back(px);
        } else {
            ++px;
        }
    }
    const uint8_t* key = font.At(0, font.H - 1);
    int pen = x;
    for (unsigned char ch : text) {
        if (ch == ' ') {
            pen += pos[2] - pos[1];
            continue;
        }
        const int k = (ch - 33) * 2 + 1;
        if (ch < 33 || k + 2 >= static_cast<int>(pos.size())) continue;
        const int sx = (pos[k] + pos[k - 1]) / 2, sw = (pos[k + 2] + pos[k + 1]) / 2 - sx;
        const int dx = pen - (pos[k] - pos[k - 1]) / 2;
        for (int yy = 1; yy < font.H; ++yy)
            for (int xx = 0; xx < sw; ++xx) {
                const uint8_t* p = font.At(sx + xx, yy);
                if (p[0] == key[0] && p[1] == key[1] && p[2] == key[2]) continue;
                if (sheet.Inside(dx + xx, y + yy - 1)) sheet.At(dx + xx, y + yy - 1) = Rgb(p[0], p[1], p[2]);
            }
        pen += pos[k + 1] - pos[k];
    }
    return pen;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: contact-sheet OUT.png [GAME]\n";
        return 2;
    }
    try {
        const fs::path game = argc > 2 ? fs::path(argv[2]) : fs::path("game");
        std::vector<TPicture> pictures, fonts;
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(game / "images"))
            files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& f : files) {
            const std::string ext = f.extension().string();
            if (ext != ".png" && ext != ".PNG") continue;
            (f.filename().string().find("Copperplate") != std::string::npos ||
                     f.filename().string().find("NeonYellow") != std::string::npos
                 ? fonts
                 : pictures)
                .push_back(Load(f));
        }
        // Shelf packing, widest sheets first, on a neutral checker so colour keys show.
        std::sort(pictures.begin(), pictures.end(),
                  [](const TPicture& a, const TPicture& b) { return a.H > b.H; });
        const int width = 1700, gap = 8;
        int x = gap, y = gap, shelf = 0;
        std::vector<std::pair<int, int>> at;
        for (const TPicture& p : pictures) {
            if (x + p.W + gap > width) {
                x = gap;
                y += shelf + gap;
                shelf = 0;
            }
            at.emplace_back(x, y);
            x += p.W + gap;
            shelf = std::max(shelf, p.H);
        }
        const int fontTop = y + shelf + gap;
        int height = fontTop;
        for (const TPicture& f : fonts)
            height += f.H + 6;
        height += gap;
        TCanvas sheet(width, height, Rgb(48, 52, 60));
        for (int yy = 0; yy < height; ++yy)
            for (int xx = 0; xx < width; ++xx)
                if (((xx / 16) + (yy / 16)) % 2) sheet.At(xx, yy) = Rgb(58, 62, 70);
        for (size_t i = 0; i < pictures.size(); ++i)
            for (int yy = 0; yy < pictures[i].H; ++yy)
                for (int xx = 0; xx < pictures[i].W; ++xx) {
                    const uint8_t* p = pictures[i].At(xx, yy);
                    sheet.At(at[i].first + xx, at[i].second + yy) = Rgb(p[0], p[1], p[2]);
                }
        int fy = fontTop;
        for (const TPicture& f : fonts) {
            FontText(sheet, f, gap, fy, "The Knight, Elf, Orc, Ninja & Barbar! 0123456789 {[(<#$%*+=>)]}?");
            fy += f.H + 6;
        }
        WriteOpaquePng(argv[1], sheet);
    } catch (const std::exception& e) {
        std::cerr << "contact-sheet: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
