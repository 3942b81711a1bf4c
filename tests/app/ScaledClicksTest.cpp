// Every menu button clicked in a window of scale 2 and 3: the window pixels on both sides of
// each edge of its click area, taken back to picture pixels, hit and miss as at scale 1.
#include "MenuTestGame.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace menutest {
namespace {

struct TButton {
    const char* Name;
    TGameState Screen;
    TClickRect Area;
    // Prepares the screen before each click, and tells whether the click reached the button.
    std::function<void(TBriskGame&)> Prepare;
    std::function<bool(const TBriskGame&)> Clicked;
};

class ScaledClicksTest : public MenuGameTest, public ::testing::WithParamInterface<int32_t> {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = "Scale=" + std::to_string(GetParam()) + "\n";
        return options;
    }
    // One click at window pixel (x, y) on the button's screen.
    bool ClickAt(const TButton& button, int32_t x, int32_t y) {
        TheGame->SetState(button.Screen);
        if (button.Prepare) button.Prepare(*TheGame);
        PushMouseUp(x, y);
        TheGame->RunFrame(button.Screen, Hooks(button.Screen));
        return button.Clicked(*TheGame);
    }
    [[nodiscard]] TFrameHooks Hooks(TGameState screen) {
        switch (screen) {
        case TGameState::Help:
            return TheGame->HelpHooks();
        case TGameState::End:
            return TheGame->EndHooks();
        case TGameState::Setup:
            return TheGame->SetupHooks();
        default:
            return TheGame->TitleHooks();
        }
    }
};

TEST_P(ScaledClicksTest, EveryButtonAnswersOnlyInsideItsAreaAtWindowScale) {
    const int32_t scale = GetParam();
    ASSERT_EQ(Screen->Window->w, 640 * scale);
    const auto leftState = [](TGameState screen) {
        return [screen](const TBriskGame& game) { return game.State != screen; };
    };
    const auto page = [](TBriskGame& game) { game.HelpPage = 2; };
    // A local game shows every control of the setup screen.
    const auto local = [](TBriskGame& game) { game.NetMode = 0; };
    const TButton buttons[] = {
        {"title QUIT", TGameState::Title, {10, 200, 420, 480}, nullptr, leftState(TGameState::Title)},
        {"title PLAY", TGameState::Title, {210, 420, 420, 480}, nullptr, leftState(TGameState::Title)},
        {"title HELP", TGameState::Title, {450, 650, 420, 480}, nullptr, leftState(TGameState::Title)},
        {"help BACK",
         TGameState::Help,
         {10, 200, 430, 480},
         page,
         [](const TBriskGame& game) { return game.HelpPage == 1; }},
        {"help INTRO", TGameState::Help, {210, 420, 430, 480}, page, leftState(TGameState::Help)},
        {"help NEXT",
         TGameState::Help,
         {450, 650, 430, 480},
         page,
         [](const TBriskGame& game) { return game.HelpPage == 3; }},
        {"end QUIT", TGameState::End, {210, 420, 385, 425}, nullptr, leftState(TGameState::End)},
        {"end PLAY AGAIN", TGameState::End, {210, 420, 430, 480}, nullptr, leftState(TGameState::End)},
        {"end BACK", TGameState::End, {10, 200, 430, 480}, nullptr, leftState(TGameState::End)},
        {"setup Local",
         TGameState::Setup,
         {0, 300, 100, 150},
         [](TBriskGame& game) { game.NetMode = 2; },
         [](const TBriskGame& game) { return game.NetMode == 0; }},
        {"setup Client",
         TGameState::Setup,
         {310, 600, 100, 150},
         local,
         [](const TBriskGame& game) { return game.NetMode == 2; }},
        {"setup player 1 next",
         TGameState::Setup,
         {130, 160, 330, 370},
         [](TBriskGame& game) {
             game.NetMode = 0;
             game.Player1Char = 0;
         },
         [](const TBriskGame& game) { return game.Player1Char == 1; }},
        {"setup map previous",
         TGameState::Setup,
         {410, 460, 330, 370},
         [](TBriskGame& game) {
             game.NetMode = 0;
             game.MapIndex = 1;
         },
         [](const TBriskGame& game) { return game.MapIndex == 0; }},
        {"setup AI",
         TGameState::Setup,
         {250, 360, 370, 410},
         [](TBriskGame& game) {
             game.NetMode = 0;
             game.AIBox = 1;
         },
         [](const TBriskGame& game) { return game.AIBox == 0; }},
        {"setup PLAY", TGameState::Setup, {250, 420, 430, 480}, local, leftState(TGameState::Setup)},
        {"setup BACK", TGameState::Setup, {10, 200, 430, 480}, local, leftState(TGameState::Setup)},
    };
    for (const TButton& button : buttons) {
        const TClickRect& area = button.Area;
        const int32_t middleX = (area.Left + std::min(area.Right, 640)) / 2;
        const int32_t middleY = (area.Top + area.Bottom) / 2;
        // The last window pixel of the edge's picture pixel misses; the first of the next hits.
        struct TProbe {
            int32_t X, Y;
            bool Hits;
        };
        std::vector<TProbe> probes = {
            {area.Left * scale + scale - 1, middleY * scale, false},
            {(area.Left + 1) * scale, middleY * scale, true},
            {middleX * scale, area.Top * scale + scale - 1, false},
            {middleX * scale, (area.Top + 1) * scale, true},
            {middleX * scale, area.Bottom * scale - 1, true},
            {middleX * scale, area.Bottom * scale, false},
        };
        // Areas reaching past the picture's right edge have no right edge to click.
        if (area.Right <= 640) {
            probes.push_back({area.Right * scale - 1, middleY * scale, true});
            probes.push_back({area.Right * scale, middleY * scale, false});
        }
        for (const TProbe& probe : probes)
            EXPECT_EQ(ClickAt(button, probe.X, probe.Y), probe.Hits)
                << button.Name << " at window " << probe.X << ", " << probe.Y << ", scale " << scale;
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledClicksTest, ::testing::Values(2, 3));

} // namespace
} // namespace menutest
