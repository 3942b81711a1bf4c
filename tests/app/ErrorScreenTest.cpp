// The error screen of the main loop's guard: the error's text in words, wrapped to the
// screen, where the details are, and the wait for the player that headless runs skip.
#include "MenuTestGame.h"
#include "media/BriskLogger.h"

#include <stdexcept>

namespace menutest {
namespace {

constexpr int32_t kTextX = 40;
constexpr int32_t kFirstLineY = 120;
// The test fonts are 16 pixels high; lines are 6 apart.
constexpr int32_t kLineHeight = 22;

// The dark panel under the text.
constexpr TColor kPanel{16, 16, 24};

[[nodiscard]] int32_t LineY(int32_t line) {
    return kFirstLineY + line * kLineHeight;
}

class ErrorScreenTest : public MenuGameTest {
protected:
    [[nodiscard]] static bool PanelAt(int32_t x, int32_t y) {
        return ScreenColor(x + 2, y + 4) == kPanel.Packed();
    }
    void Fail(const std::string& message) {
        TheGame->RunGuarded([&] { throw std::runtime_error(message); });
    }
    [[nodiscard]] static int PendingEvents() {
        int count = 0;
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0)
            ++count;
        return count;
    }
};

TEST_F(ErrorScreenTest, ShowsTheMessageAndWhereTheDetailsAreWithoutWaitingWhenHeadless) {
    const uint32_t framesBefore = Screen->FrameCount;
    Fail("Could not open AI script data\\Elf.ai");
    EXPECT_EQ(Screen->FrameCount - framesBefore, 1U) << "drawn, presented once, no wait";
    EXPECT_TRUE(
        TextShown(kFontSmall, kTextX, LineY(0), "The game stopped: Could not open AI script data\\Elf.ai"));
    EXPECT_TRUE(PanelAt(kTextX, LineY(1)));
    EXPECT_TRUE(BackgroundAt(kTextX, LineY(5))) << "the panel ends below the last line";
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(2), "Details are in duelmark.log."));
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(3), "Press a key or click to end."));
    EXPECT_TRUE(TextShown(kFontYellow, 100, 5, kGameTitle));
    EXPECT_TRUE(BackgroundAt(5, 50));
    const auto lines = Media->LogLines();
    EXPECT_NE(lines.back().find(" MSG : Error IN : End"), std::string::npos);
}

TEST_F(ErrorScreenTest, LongMessagesWrapAtBlanksAndInsideWordsTooLongForALine) {
    // Glyphs advance 6 pixels, so a line of 560 pixels holds 93 characters.
    std::string words;
    for (int i = 1; i <= 14; ++i)
        words += (i > 1 ? " word" : "word") + std::string(i < 10 ? "0" : "") + std::to_string(i);
    Fail(words);
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(0),
                          "The game stopped: word01 word02 word03 word04 word05 word06 word07 word08 word09 "
                          "word10"));
    EXPECT_TRUE(PanelAt(kTextX + 87 * 6, LineY(0))) << "word11 did not fit";
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(1), "word11 word12 word13 word14"));

    Fail(std::string(100, 'a') + "\nsecond");
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(0), "The game stopped:"));
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(1), std::string(93, 'a')));
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(2), std::string(7, 'a')));
    EXPECT_TRUE(PanelAt(kTextX + 7 * 6, LineY(2)));
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(3), "second"))
        << "a line break in the text starts a line";
}

TEST_F(ErrorScreenTest, AMessageTooLongForTheScreenKeepsTheLinesBelowIt) {
    // 320 pixels of text room at 22 per line: 14 lines, the last three for the trailer.
    std::string message;
    for (int line = 0; line < 20; ++line)
        message += "line" + std::to_string(line) + "\n";
    Fail(message);
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(10), "line10"));
    EXPECT_TRUE(PanelAt(kTextX, LineY(11))) << "line11 and the rest are left out";
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(12), "Details are in duelmark.log."));
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(13), "Press a key or click to end."));
}

TEST_F(ErrorScreenTest, WithoutALogNoDetailsAreOfferedAndUnknownErrorsAreNamed) {
    Logger->SetDebugLevel(0);
    TheGame->RunGuarded([] { throw 42; });
    Logger->SetDebugLevel(3);
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(0), "The game stopped: an unknown error"));
    EXPECT_TRUE(TextShown(kFontSmall, kTextX, LineY(2), "Press a key or click to end."));
}

TEST_F(ErrorScreenTest, ItWaitsForAKeyOrRealClickUnlessTheStartupFileSaysNo) {
    Screen->Headless = false; // as with a window somebody looks at
    const auto key = [](SDLKey sym) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = sym;
        return event;
    };
    const auto button = [](int which) {
        SDL_Event event{};
        event.type = SDL_MOUSEBUTTONUP;
        event.button.button = static_cast<Uint8>(which);
        return event;
    };
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    // Wheel turns and modifier keys alone pass; what follows the event that ended it stays queued.
    const std::vector<std::vector<SDL_Event>> runs = {
        {button(SDL_BUTTON_WHEELUP), key(SDLK_LSHIFT), key(SDLK_RALT), key(SDLK_a), key(SDLK_b)},
        {button(SDL_BUTTON_WHEELDOWN), button(SDL_BUTTON_RIGHT), key(SDLK_b)},
        {button(SDL_BUTTON_LEFT), key(SDLK_b)},
        {quit, key(SDLK_b)},
    };
    for (const auto& run : runs) {
        for (SDL_Event event : run)
            SDL_PushEvent(&event);
        Fail("Invalid Dir");
        EXPECT_EQ(PendingEvents(), 1) << "ended by the event before the last of " << run.size();
    }
    std::ofstream(Media->Folder() / "duelmark.cfg") << "ErrorScreen=No\n";
    SDL_Event event = key(SDLK_b);
    SDL_PushEvent(&event);
    Fail("Invalid Dir");
    EXPECT_EQ(PendingEvents(), 1) << "no wait, nothing taken";
    Screen->Headless = true;
}

TEST(ErrorScreenSetting, OnlyAValueStartingWithNSkipsTheWait) {
    const struct {
        const char* Text;
        bool Waits;
    } cases[] = {{"", true},   {"Yes", true}, {"No", false}, {"no", false},
                 {"N", false}, {"0", true},   {" No", true}};
    for (const auto& c : cases)
        EXPECT_EQ(ErrorScreenFromText(c.Text), c.Waits) << '"' << c.Text << '"';
}

} // namespace
} // namespace menutest
