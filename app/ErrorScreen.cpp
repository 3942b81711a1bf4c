// The screen the main loop's guard shows when an error stopped the game: the error's text in
// words, where the details are, and a wait for the player unless nobody is looking.
#include "app/GameUnit.h"
#include "media/BriskDraws.h"
#include "media/BriskLogger.h"
#include "media/BriskText.h"
#include "media/StartupFile.h"

#include <SDL.h>
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int32_t kTextX = 40;
constexpr int32_t kTextTop = 120;
constexpr int32_t kTextWidth = 560;
// Below the lowest line the text keeps clear of the bottom edge.
constexpr int32_t kTextBottom = 440;
constexpr int32_t kLineGap = 6;
constexpr int32_t kPanelMargin = 12;
constexpr uint8_t kPanelRed = 16, kPanelGreen = 16, kPanelBlue = 24;

// Shift, Ctrl, Alt and their kin alone do not end the error screen, so Alt+Enter still
// switches to full screen and back.
bool IsModifier(SDLKey key) {
    return key >= SDLK_NUMLOCK && key <= SDLK_COMPOSE;
}

// The first of the fonts, in order of preference, whose picture loaded; nullptr when none did.
TBriskFont* ReadableFont() {
    for (const int32_t index : {kFontSmall, kFontBlue, kFontYellow, kFontEmbossed}) {
        TBriskFont& font = FontList->Items(index);
        if (font.Surface) return &font;
    }
    return nullptr;
}

// Splits text into lines no wider than width: at blanks where it can, inside a word too long
// for a line of its own, and at every line break of the text.
std::vector<std::string> WrapText(TBriskFont& font, std::string_view text, int32_t width) {
    std::vector<std::string> lines;
    std::string line;
    const auto fits = [&](const std::string& candidate) { return font.TextWidth(candidate) <= width; };
    const auto addWord = [&](std::string_view word) {
        std::string joined = line.empty() ? std::string(word) : line + " " + std::string(word);
        if (fits(joined)) {
            line = std::move(joined);
            return;
        }
        if (!line.empty()) lines.push_back(line);
        line.clear();
        for (const char c : word) {
            if (!line.empty() && !fits(line + c)) {
                lines.push_back(line);
                line.clear();
            }
            line += c;
        }
    };
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find_first_of(" \n", start), text.size());
        if (end > start) addWord(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\n') {
            lines.push_back(line);
            line.clear();
        }
        start = end + 1;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

} // namespace

bool ErrorScreenFromText(std::string_view text) {
    return text.empty() || (text.front() != 'N' && text.front() != 'n');
}

bool TBriskGame::RenderErrorScreen(std::string_view message) {
    FillRect(Screen->Surface, 0, 0, kPictureWidth, kPictureHeight, 0, 0, 0);
    DrawMenuBackground();
    DrawTitleLine();
    TBriskFont* font = ReadableFont();
    if (font == nullptr) return false;
    std::vector<std::string> trailer{""};
    // Without a log there are no details to point to.
    if (Logger->DebugLevel > 0) trailer.push_back("Details are in " + NameStem(Logger->ExeName) + ".log.");
    trailer.push_back("Press a key or click to end.");
    const int32_t lineHeight = (font->Surface->h > 0 ? font->Surface->h : 16) + kLineGap;
    // A message too long for the screen loses its last lines, never the trailer.
    const auto room = static_cast<size_t>((kTextBottom - kTextTop) / lineHeight);
    std::vector<std::string> lines = WrapText(*font, "The game stopped: " + std::string(message), kTextWidth);
    lines.resize(std::min(lines.size(), room > trailer.size() ? room - trailer.size() : 0));
    lines.insert(lines.end(), trailer.begin(), trailer.end());
    // A dark panel keeps the text readable on every background.
    FillRect(Screen->Surface, kTextX - kPanelMargin, kTextTop - kPanelMargin, kTextWidth + 2 * kPanelMargin,
             static_cast<int32_t>(lines.size()) * lineHeight + 2 * kPanelMargin, kPanelRed, kPanelGreen,
             kPanelBlue);
    int32_t y = kTextTop;
    for (const std::string& line : lines) {
        font->TextOut(kTextX, y, line);
        y += lineHeight;
    }
    return true;
}

void TBriskGame::ShowErrorScreen(std::string_view message) {
    if (Screen == nullptr || Screen->Surface == nullptr) return;
    const bool readable = RenderErrorScreen(message);
    Screen->Flip();
    const std::string setting =
        ReadStartupValue(Screen->AppPath, Logger->ExeName, "ErrorScreen").value_or("");
    if (!readable || Screen->Headless || !ErrorScreenFromText(setting)) return;
    for (;;) {
        while (Screen->PollEvent(Event)) {
            if ((Event.type == SDL_KEYDOWN && !IsModifier(Event.key.keysym.sym)) || Event.type == SDL_QUIT ||
                IsClick(Event))
                return;
        }
        RenderErrorScreen(message);
        Screen->Flip();
    }
}
