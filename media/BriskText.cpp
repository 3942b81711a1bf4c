// Bitmap and TrueType fonts, and the global font list.
#include "media/BriskText.h"

#include "media/BriskDraws.h"
#include "media/BriskLogger.h"
#include "media/PictureFile.h"
#include "media/StartupFile.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

TBriskFontList* FontList = nullptr;

namespace {

constexpr int32_t kDefaultFontSize = 24;
constexpr std::string_view kDefaultFontName = "c:\\windows\\fonts\\Arial.ttf";
constexpr int32_t kListFontSize = 36;

void LogError(const std::string& message, std::string_view location) {
    if (Logger != nullptr) Logger->LogError(message, location);
}

void LogStatus(const std::string& message, std::string_view location) {
    if (Logger != nullptr) Logger->LogStatus(message, location);
}

std::string StartupValue(std::string_view key) {
    if (Logger == nullptr) return {};
    return ReadStartupValue(Logger->AppPath, Logger->ExeName, key).value_or("");
}

bool NamesTrueType(std::string_view fileName) {
    std::string upper(fileName);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find("TTF") != std::string::npos;
}

} // namespace

void TTTFFontClose::operator()(_TTF_Font* font) const {
    TTF_CloseFont(font);
}

TBriskFont::TBriskFont() {
    const std::string sizeText = StartupValue("DefaultFontSize");
    const int32_t size =
        sizeText.empty() ? kDefaultFontSize : ParseProfileInteger(sizeText).value_or(kDefaultFontSize);
    std::string name = StartupValue("DefaultFontName");
    if (name.empty()) name = kDefaultFontName;
    SetFontName(name);
    SetSize(size);
    SetColor(TBriskDraw::MakeColor(255, 0, 0));
    NeedsLoad = true;
    NeedsRender = true;
}

TBriskFont::~TBriskFont() = default;

void TBriskFont::SetFontName(std::string_view name) {
    if (name == FontName) return;
    FontName = name;
    NeedsLoad = true;
}

void TBriskFont::SetColor(uint32_t color) {
    if (IsBitmap) return;
    Color = color;
    NeedsLoad = true;
}

void TBriskFont::SetSize(int32_t size) {
    if (IsBitmap || size == Size) return;
    Size = size;
    NeedsLoad = true;
}

void TBriskFont::SetBold(bool flag) {
    if (IsBitmap || flag == Bold) return;
    Bold = flag;
    NeedsRender = true;
}

void TBriskFont::LoadFont() {
    LogStatus("Font name: " + FontName, "TBriskFont.LoadFont");
    LogStatus("Font size: " + std::to_string(Size), "TBriskFont.LoadFont");
    if (!NamesTrueType(FontName)) {
        Surface = LoadPicture(FontName, "TBriskFont.LoadFont");
        IsBitmap = true;
        NeedsLoad = false;
        Table = ScanMarkers(Surface.get());
        // The bottom-left pixel holds the picture's transparent colour.
        if (Surface)
            SDL_SetColorKey(Surface.get(), SDL_SRCCOLORKEY, ReadPixel(Surface.get(), 0, Surface->h - 1));
        return;
    }
    std::string path = ResolvePath(FontName);
    std::error_code error;
    // The default names a Windows font; elsewhere a font every desktop has keeps text readable.
    if (!std::filesystem::exists(path, error)) path = kFallbackTrueTypeFont;
    TTFFont.reset(TTF_OpenFont(path.c_str(), Size));
    if (!TTFFont) {
        LogError(std::string("Couldn't load font: ") + SDL_GetError(), "TBriskFont.LoadFont");
        std::exit(1);
    }
    NeedsLoad = false;
    IsBitmap = false;
}

void TBriskFont::TextOutTo(SDL_Surface* target, int32_t x, int32_t y, std::string_view text) {
    if (!IsBitmap && NeedsLoad) LoadFont();
    if (IsBitmap) {
        DrawBitmapText(Surface.get(), Table, target, x, y, text);
        return;
    }
    // Nothing to render for an empty text, and SDL_ttf gives no surface for one.
    if (text.empty() || target == nullptr) return;
    if (Bold) TTF_SetFontStyle(TTFFont.get(), TTF_STYLE_BOLD);
    const SDL_Color color{static_cast<Uint8>(Color), static_cast<Uint8>(Color >> 8),
                          static_cast<Uint8>(Color >> 16), 0};
    Surface.reset(TTF_RenderText_Solid(TTFFont.get(), std::string(text).c_str(), color));
    NeedsRender = false;
    SDL_Rect destination{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    const bool drawn = Surface && SDL_UpperBlit(Surface.get(), nullptr, target, &destination) >= 0;
    if (Surface) DrawnAreas.Note(target, destination.x, destination.y, destination.w, destination.h);
    if (!drawn) {
        LogError(std::string("Couldn't render font: ") + SDL_GetError(), "TBriskFont.RenderFont");
        std::exit(1);
    }
}

int32_t TBriskFont::TextWidth(std::string_view text) {
    if (!IsBitmap && NeedsLoad) LoadFont();
    if (IsBitmap) return DrawBitmapText(Surface.get(), Table, nullptr, 0, 0, text);
    int width = 0;
    if (text.empty() || TTF_SizeText(TTFFont.get(), std::string(text).c_str(), &width, nullptr) != 0)
        return 0;
    return width;
}

void TBriskFont::TextOut(int32_t x, int32_t y, std::string_view text) {
    if (Screen != nullptr) TextOutTo(Screen->Surface, x, y, text);
}

TBriskFontList::TBriskFontList() : Blank(std::make_unique<TBriskFont>()) {
    // Drawn when a position holds no font: a bitmap font without picture draws nothing.
    Blank->IsBitmap = true;
    Blank->NeedsLoad = false;
}

TBriskFontList::~TBriskFontList() {
    while (!List.empty())
        List.pop_back();
}

TBriskFont& TBriskFontList::LoadFont(std::string_view fileName) {
    auto font = std::make_unique<TBriskFont>();
    font->SetFontName(fileName);
    font->SetBold(true);
    font->SetSize(kListFontSize);
    font->LoadFont();
    TBriskFont& loaded = *font;
    Add(std::move(font));
    return loaded;
}

int32_t TBriskFontList::Add(std::unique_ptr<TBriskFont> font) {
    List.push_back(std::move(font));
    return static_cast<int32_t>(List.size()) - 1;
}

TBriskFont& TBriskFontList::Items(int32_t index) const {
    if (index < 0 || index >= Count()) return *Blank;
    return *List[static_cast<size_t>(index)];
}
