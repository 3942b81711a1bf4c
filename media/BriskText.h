// Fonts: bitmap fonts whose glyphs sit between marker runs of the picture's top row, and the
// TrueType fallback rendered through SDL_ttf. The game picks its fonts by position in FontList.
#pragma once

#include "media/BitmapFont.h"
#include "media/SurfaceUtils.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct _TTF_Font;

struct TTTFFontClose {
    void operator()(_TTF_Font* font) const;
};
using TTTFFontPtr = std::unique_ptr<_TTF_Font, TTTFFontClose>;

// Where the TrueType fallback comes from when the configured file (by default a Windows font
// path) does not exist on this machine.
inline constexpr std::string_view kFallbackTrueTypeFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class TBriskFont {
public:
    // Red, and the start-up file's "DefaultFontSize" (24) and "DefaultFontName"
    // ("c:\windows\fonts\Arial.ttf"); nothing is opened yet.
    TBriskFont();
    ~TBriskFont();
    TBriskFont(const TBriskFont&) = delete;
    TBriskFont& operator=(const TBriskFont&) = delete;

    void SetFontName(std::string_view name);
    void SetColor(uint32_t color); // ignored for a bitmap font
    void SetSize(int32_t size);    // ignored for a bitmap font
    void SetBold(bool flag);       // ignored for a bitmap font
    // A name containing "TTF" (any case) opens a TrueType font; anything else loads a
    // picture. A TrueType font that cannot be opened ends the program with exit code 1.
    void LoadFont();

    // Text with its top left corner at (x, y). A bitmap font skips codes it has no glyph
    // for and draws nothing when its picture failed to load; an empty text draws nothing.
    void TextOutTo(SDL_Surface* target, int32_t x, int32_t y, std::string_view text);
    void TextOut(int32_t x, int32_t y, std::string_view text);
    void DrawText(int32_t x, int32_t y, std::string_view text) { TextOut(x, y, text); }
    // How far TextOut moves the pen for text, in pixels; 0 for a font without a picture.
    [[nodiscard]] int32_t TextWidth(std::string_view text);

    [[nodiscard]] const TMarkerTable& Markers() const { return Table; }

    bool Bold = false;
    bool NeedsLoad = true;
    bool NeedsRender = true;
    TSurfacePtr Surface; // bitmap: the font picture; TrueType: the last rendered text
    uint32_t Color = 0;
    std::string FontName;
    int32_t Size = 0;
    TTTFFontPtr TTFFont;
    bool IsBitmap = false;

private:
    TMarkerTable Table; // built once at load: it depends on the picture alone
};

class TBriskFontList {
public:
    TBriskFontList();
    ~TBriskFontList(); // frees the fonts from the last to the first
    TBriskFontList(const TBriskFontList&) = delete;
    TBriskFontList& operator=(const TBriskFontList&) = delete;

    // Creates a font for the file (bold, size 36 for a TrueType file), loads it and appends
    // it; a missing picture still takes its position and draws nothing.
    TBriskFont& LoadFont(std::string_view fileName);
    int32_t Add(std::unique_ptr<TBriskFont> font);
    // Outside 0..Count()-1: a font without picture that draws nothing, so a screen drawn
    // before its fonts were loaded stays blank instead of failing.
    [[nodiscard]] TBriskFont& Items(int32_t index) const;
    [[nodiscard]] int32_t Count() const { return static_cast<int32_t>(List.size()); }

private:
    std::vector<std::unique_ptr<TBriskFont>> List;
    std::unique_ptr<TBriskFont> Blank;
};

extern TBriskFontList* FontList;
