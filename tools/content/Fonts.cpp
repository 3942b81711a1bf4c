// Glyph masks from SDL_ttf, styled (gradient fills, outlines, emboss) and laid out between
// marker runs.
#include "Fonts.h"

#include <SDL_ttf.h>
#include <algorithm>
#include <cmath>
#include <memory>
#include <stb/stb_image_write.h>
#include <stdexcept>

namespace content {

namespace {

struct TFontCloser {
    void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};
struct TSurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

enum class TLook { BlueSerif, NeonYellow, Embossed, SmallBlue };

struct TFontSpec {
    const char* FileName;
    const char* Face;
    int PointSize;
    int Outline;
    TLook Look;
    int Hinting;
    float Ink; // coverage from which a pixel belongs to the letter
};

constexpr TFontSpec kFonts[] = {
    {"24P_Copperplate_Blue.png", "DejaVuSerif-Bold.ttf", 16, 1, TLook::BlueSerif, TTF_HINTING_NORMAL, 0.45f},
    {"24P_Arial_NeonYellow.png", "DejaVuSans-Bold.ttf", 16, 2, TLook::NeonYellow, TTF_HINTING_NORMAL, 0.45f},
    {"24P_Copperplate_embosed.png", "DejaVuSerif-Bold.ttf", 17, 1, TLook::Embossed, TTF_HINTING_NORMAL,
     0.45f},
    // Small text keeps one-pixel stems only when the outlines are fitted to whole pixels.
    {"Small_Copperplate_Blue.png", "DejaVuSans.ttf", 10, 1, TLook::SmallBlue, TTF_HINTING_MONO, 0.3f},
};

constexpr int kRun = 2; // marker pixels between glyphs

// Coverage mask of one glyph, `width` by `height`.
struct TMask {
    int W = 0, H = 0;
    std::vector<float> A;
    [[nodiscard]] float At(int x, int y) const {
        return x < 0 || y < 0 || x >= W || y >= H ? 0 : A[y * W + x];
    }
};

TMask GlyphMask(TTF_Font* font, char ch, int height) {
    const char text[2] = {ch, 0};
    SDL_Color white{255, 255, 255, 0};
    std::unique_ptr<SDL_Surface, TSurfaceFree> s(TTF_RenderText_Blended(font, text, white));
    if (!s) throw std::runtime_error(std::string("SDL_ttf could not render a glyph: ") + TTF_GetError());
    int minx, maxx, miny, maxy, advance;
    TTF_GlyphMetrics(font, static_cast<Uint16>(static_cast<unsigned char>(ch)), &minx, &maxx, &miny, &maxy,
                     &advance);
    TMask m;
    m.W = std::max(advance, s->w);
    m.H = height;
    m.A.assign(static_cast<size_t>(m.W) * m.H, 0);
    SDL_LockSurface(s.get());
    const SDL_PixelFormat* f = s->format;
    for (int y = 0; y < std::min(height, s->h); ++y)
        for (int x = 0; x < s->w; ++x) {
            const Uint32 px =
                *reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 4);
            const float a = ((px & f->Amask) >> f->Ashift) / 255.0f;
            m.A[y * m.W + x] = a;
        }
    SDL_UnlockSurface(s.get());
    // The pen moves by the advance and anything past it is clipped; a narrow letter ("i",
    // "l" in small sizes) gets at least three columns so its outline does not run into the
    // outlines of its neighbours.
    const int srcW = m.W;
    m.W = std::max(advance, 3);
    const int shift = (m.W - advance) / 2;
    std::vector<float> clipped(static_cast<size_t>(m.W) * m.H);
    for (int y = 0; y < m.H; ++y)
        for (int x = 0; x < std::min(advance, m.W - shift); ++x)
            clipped[y * m.W + x + shift] = m.A[y * srcW + x];
    m.A = std::move(clipped);
    return m;
}

TColor Fill(TLook look, float t) {
    switch (look) {
    case TLook::BlueSerif:
        return Mix(Rgb(170, 205, 255), Rgb(40, 90, 215), t);
    case TLook::NeonYellow:
        return Mix(Rgb(255, 250, 150), Rgb(255, 200, 20), t);
    case TLook::Embossed:
        return Mix(Rgb(236, 214, 160), Rgb(168, 128, 64), t);
    case TLook::SmallBlue:
        return Mix(Rgb(200, 222, 255), Rgb(130, 175, 250), t);
    }
    return {};
}

TColor Edge(TLook look) {
    switch (look) {
    case TLook::BlueSerif:
        return Rgb(8, 14, 48);
    case TLook::NeonYellow:
        return Rgb(120, 56, 4);
    case TLook::Embossed:
        return Rgb(40, 26, 10);
    case TLook::SmallBlue:
        return Rgb(6, 10, 34);
    }
    return {};
}

// Styles a mask into a cell `pad` pixels wider on each side.
TCanvas Style(const TMask& m, const TFontSpec& style, int pad) {
    TCanvas c(m.W + 2 * pad, m.H + 2 * pad);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const int gx = x - pad, gy = y - pad;
            const float a = m.At(gx, gy);
            float ring = 0;
            for (int dy = -style.Outline; dy <= style.Outline; ++dy)
                for (int dx = -style.Outline; dx <= style.Outline; ++dx)
                    if (dx * dx + dy * dy <= style.Outline * style.Outline + 1)
                        ring = std::max(ring, m.At(gx + dx, gy + dy));
            const float t = static_cast<float>(gy) / std::max(1, m.H - 1);
            TColor fill = Fill(style.Look, t);
            if (style.Look == TLook::Embossed) {
                const float light = m.At(gx - 1, gy - 1) - m.At(gx + 1, gy + 1);
                fill = light > 0 ? Mix(fill, Rgb(255, 250, 230), light * 0.8f)
                                 : Mix(fill, Rgb(90, 60, 24), -light * 0.7f);
            }
            if (style.Look == TLook::NeonYellow && a <= style.Ink && ring > 0) {
                // Orange glow just outside the letters, dark brown beyond it.
                float inner = 0;
                for (int k = 0; k < 4; ++k)
                    inner = std::max(inner, m.At(gx + (k == 0) - (k == 1), gy + (k == 2) - (k == 3)));
                c.At(x, y) = inner > 0.3f ? Rgb(240, 120, 10) : Edge(style.Look);
                c.At(x, y).A = ring > 0.35f ? 1.0f : 0.0f;
                continue;
            }
            if (a > style.Ink) {
                c.At(x, y) = Mix(Edge(style.Look), fill, std::min(1.0f, (a - style.Ink) * 2.5f + 0.5f));
            } else if (ring > 0.35f) {
                c.At(x, y) = Edge(style.Look);
            } else {
                c.At(x, y).A = 0;
            }
        }
    return c;
}

TCanvas Layout(TTF_Font* font, const TFontSpec& style) {
    const int pad = style.Outline;
    // The game draws each glyph from the middle of the run on its left to the middle of the
    // run on its right, so one column of outline on each side may lie under the runs and the
    // pen still moves by the letter's own advance. Wider outlines widen the cell instead.
    const int spill = std::min(pad, kRun / 2);
    const int glyphH = TTF_FontHeight(font);
    std::vector<TCanvas> cells;
    int width = kRun;
    for (int code = 33; code <= 126; ++code) {
        cells.push_back(Style(GlyphMask(font, static_cast<char>(code), glyphH), style, pad));
        width += cells.back().Width() - 2 * spill + kRun;
    }
    const int height = 1 + glyphH + 2 * pad;
    TCanvas pic(width, height);
    TCanvas glyphs(width, height);
    int x = 0;
    for (const TCanvas& cell : cells) {
        for (int k = 0; k < kRun; ++k)
            pic.At(x + k, 0) = Rgb(255, 0, 255);
        x += kRun;
        glyphs.Paste(cell, x - spill, 1);
        x += cell.Width() - 2 * spill;
    }
    for (int k = 0; k < kRun; ++k)
        pic.At(x + k, 0) = Rgb(255, 0, 255);
    // Glyphs never reach into the marker row.
    for (int y = 1; y < height; ++y)
        for (int gx = 0; gx < width; ++gx)
            pic.At(gx, y) = glyphs.At(gx, y);
    return pic;
}

} // namespace

std::vector<TFontArt> DrawFonts(const std::string& fontFolder) {
    if (TTF_WasInit() == 0 && TTF_Init() != 0)
        throw std::runtime_error(std::string("SDL_ttf did not start: ") + TTF_GetError());
    std::vector<TFontArt> out;
    for (const TFontSpec& style : kFonts) {
        const std::string path = fontFolder + "/" + style.Face;
        std::unique_ptr<TTF_Font, TFontCloser> font(TTF_OpenFont(path.c_str(), style.PointSize));
        if (!font) throw std::runtime_error("could not open " + path + ": " + TTF_GetError());
        TTF_SetFontHinting(font.get(), style.Hinting);
        out.push_back({style.FileName, Layout(font.get(), style)});
    }
    TTF_Quit();
    return out;
}

void WriteFontPng(const std::string& fileName, const TCanvas& picture) {
    // Transparent pixels are black; nothing drawn may be black, nor may anything below the
    // top row be the marker colour.
    std::vector<uint8_t> rgb(static_cast<size_t>(picture.Width()) * picture.Height() * 3, 0);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor& c = picture.At(x, y);
            uint8_t* p = &rgb[(static_cast<size_t>(y) * picture.Width() + x) * 3];
            if (c.A < 0.5f) continue;
            p[0] = static_cast<uint8_t>(std::lround(Clamp01(c.R) * 255));
            p[1] = static_cast<uint8_t>(std::lround(Clamp01(c.G) * 255));
            p[2] = static_cast<uint8_t>(std::lround(Clamp01(c.B) * 255));
            if (y == 0) continue;
            if (p[0] == 0 && p[1] == 0 && p[2] == 0) p[2] = 1;
            if (p[0] == 255 && p[1] == 0 && p[2] == 255) p[1] = 1;
        }
    if (!stbi_write_png(fileName.c_str(), picture.Width(), picture.Height(), 3, rgb.data(),
                        picture.Width() * 3))
        throw std::runtime_error("could not write " + fileName);
}

} // namespace content
