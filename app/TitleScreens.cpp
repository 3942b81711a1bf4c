// The title screen, the help pages (four of text, then the controls) and the end-of-match screen: what each draws and
// what a released mouse button does on it.
#include "app/ControlsPage.h"
#include "app/GameUnit.h"
#include "media/BriskText.h"
#include "world/Map.h"
#include "world/Players.h"

#include <SDL.h>
#include <array>
#include <string_view>

namespace {

struct TTextLine {
    int32_t X;
    int32_t Y;
    std::string_view Text;
};

// Two lines on why the game exists, its author, the three tools it is built with, and where
// its pictures come from.
constexpr std::array<TTextLine, 7> kCredits{{
    {30, 100, "A duel for two at one keyboard,"},
    {70, 130, "against a script or across a network."},
    {30, 200, "Written by the Duelmark developers."},
    {130, 240, "Built with C++,"},
    {240, 270, "SDL 1.2"},
    {240, 300, "and our media library Brisk."},
    {30, 360, "Graphics: our own generated art."},
}};

struct THelpLine {
    int32_t Page;
    int32_t Y;
    std::string_view Text;
};

// The four pages of text, then the controls page.
constexpr int32_t kTextPages = 4;
constexpr int32_t kHelpPages = kTextPages + 1;
constexpr int32_t kControlsLineStep = 22;
constexpr int32_t kHelpTextX = 50;

// The help pages as players have always read them, slips of spelling and trailing blanks
// included; the first three lines are this game's own introduction.
constexpr std::array<THelpLine, 46> kHelpLines{{
    {1, 70, "Duelmark was made for evenings when two friends"},
    {1, 90, "want a quick fight: at one keyboard, against the"},
    {1, 110, "computer, or on two machines over a network."},
    {1, 140, "In Duelmark each player selects a fantasy charater and"},
    {1, 160, "tries to kill the other players character. Each of the"},
    {1, 180, "Characters in the game has their own weapon but may pick"},
    {1, 200, "up other weapons and items in the game. Every weapon can be"},
    {1, 220, "thrown/shot and used in hand to hand combat. Some weapons are"},
    {1, 240, "better than others based on their use."},
    {1, 270, "Each character that can be chosen also has their own abilities"},
    {1, 290, "some are better when shooting at their opponent, while some are"},
    {1, 310, "better when hitting thei opponent from close range."},
    {2, 70, "The Knight is a good fighter when up close to an opponent"},
    {2, 90, "but he isn't very good when thowing weapons."},
    {2, 120, "The Elf is a wonderful bow shooter but his defense "},
    {2, 140, "is low and he cant fight very well when close to an"},
    {2, 160, "opponent. He runs faster than the knight."},
    {2, 190, "The Orc like fighting up close to his opponents but he "},
    {2, 210, "isn't as good at it as the knight."},
    {2, 240, "The Ninja is best when thowing his shuriken at his opponent"},
    {2, 260, "from far away. But he is also good at fighting up close."},
    {2, 290, "Barbar like all barbarians just likes fighting, he is okay"},
    {2, 310, "fighting up close or from a distance."},
    {3, 70, "Bows have the furthest range of all the weapons but"},
    {3, 90, "are very weak when fighting close as the wielder is"},
    {3, 110, "actually fighting with a knife."},
    {3, 140, "Swords are the strongest weapon when fighting close"},
    {3, 160, "but the wielder only has a knife to throw."},
    {3, 190, "Axes are a good weapon for both fighting close as well"},
    {3, 210, "as for throwing."},
    {3, 240, "Shuriken are very weak up close (except in the hands of a "},
    {3, 260, "ninja), but make great weapons for throwing"},
    {3, 290, "Each character always has their own weapon but may pick"},
    {3, 310, "up a single alternate weapon in the game. This weapon is"},
    {3, 330, "then used from the players second fire button."},
    {4, 70, "Other items can also be picked up in the game. Boots"},
    {4, 90, "affect the speed of the character and some some have special"},
    {4, 110, "abilities (blue boots allow the character to walk over water)."},
    {4, 140, "Cloaks act as armor for the character. The cloak that gives "},
    {4, 160, "the best protection are heavy and will slow down the character."},
    {4, 190, "Gloves have special powers in the game. Try pick one up and see "},
    {4, 210, "what happens."},
    {4, 240, "There are also magical items such as Pendants, Scrolls and Arm"},
    {4, 260, "bands. These items give you magic powers. As you carry these "},
    {4, 280, "items around the character will earn magical points. These points"},
    {4, 300, "can then be spent on casting various spells."},
}};

void TitleClick(TBriskGame& game, int32_t x, int32_t y) {
    if (TClickRect{10, 200, 420, 480}.Contains(x, y)) game.SetState(TGameState::Quit);
    if (TClickRect{210, 420, 420, 480}.Contains(x, y)) game.SetState(TGameState::Setup);
    if (TClickRect{450, 650, 420, 480}.Contains(x, y)) game.SetState(TGameState::Help);
}

void HelpClick(TBriskGame& game, int32_t x, int32_t y) {
    if (TClickRect{10, 200, 430, 480}.Contains(x, y) && game.HelpPage > 1) --game.HelpPage;
    if (TClickRect{210, 420, 430, 480}.Contains(x, y)) game.SetState(TGameState::Title);
    if (TClickRect{450, 650, 430, 480}.Contains(x, y) && game.HelpPage < kHelpPages) ++game.HelpPage;
}

void EndClick(TBriskGame& game, int32_t x, int32_t y) {
    if (TClickRect{210, 420, 385, 425}.Contains(x, y)) game.SetState(TGameState::Quit);
    if (TClickRect{210, 420, 430, 480}.Contains(x, y)) game.SetState(TGameState::Setup);
    if (TClickRect{10, 200, 430, 480}.Contains(x, y)) game.BackToTitle();
}

} // namespace

TFrameHooks TBriskGame::TitleHooks() {
    return {[this](const SDL_Event& event) {
                if (!IsClick(event)) return false;
                TitleClick(*this, event.button.x, event.button.y);
                return true;
            },
            [this] { RenderTitle(); }, nullptr};
}

void TBriskGame::TitleProcess() {
    RunFrameLoop(TGameState::Title, TitleHooks());
}

void TBriskGame::RenderTitle() {
    DrawMenuBackground();
    DrawTitleLine();
    FontList->Items(kFontSmall).TextOut(0, 465, "Version: 1.12 (Rel 1.1)");
    for (const TTextLine& line : kCredits)
        FontList->Items(kFontBlue).TextOut(line.X, line.Y, line.Text);
    TBriskFont& buttons = FontList->Items(kFontYellow);
    buttons.TextOut(50, 420, "[  QUIT  ]");
    buttons.TextOut(250, 420, "[  PLAY  ]");
    buttons.TextOut(450, 420, "[  HELP  ]");
}

TFrameHooks TBriskGame::HelpHooks() {
    return {[this](const SDL_Event& event) {
                if (!IsClick(event)) return false;
                HelpClick(*this, event.button.x, event.button.y);
                return true;
            },
            [this] { RenderHelp(); }, nullptr};
}

void TBriskGame::HelpProcess() {
    RunFrameLoop(TGameState::Help, HelpHooks());
}

void TBriskGame::RenderHelp() {
    DrawMenuBackground();
    DrawTitleLine();
    for (const THelpLine& line : kHelpLines)
        if (line.Page == HelpPage) FontList->Items(kFontSmall).DrawText(kHelpTextX, line.Y, line.Text);
    if (HelpPage == kHelpPages) {
        int32_t y = kHelpLines.front().Y;
        for (const std::string& line : ControlsPageLines()) {
            FontList->Items(kFontSmall).DrawText(kHelpTextX, y, line);
            y += kControlsLineStep;
        }
    }
    TBriskFont& buttons = FontList->Items(kFontYellow);
    if (HelpPage != 1) buttons.TextOut(50, 430, "[  BACK  ]");
    if (HelpPage != kHelpPages) buttons.TextOut(450, 430, "[  NEXT  ]");
    buttons.TextOut(250, 430, "[  INTRO  ]");
}

TFrameHooks TBriskGame::EndHooks() {
    return {[this](const SDL_Event& event) {
                if (!IsClick(event)) return false;
                EndClick(*this, event.button.x, event.button.y);
                return true;
            },
            [this] { RenderEndGame(); }, nullptr};
}

void TBriskGame::EndProcess() {
    RunFrameLoop(TGameState::End, EndHooks());
}

void TBriskGame::RenderEndGame() {
    DrawMenuBackground();
    TBriskFont& buttons = FontList->Items(kFontYellow);
    buttons.TextOut(210, 430, "[  PLAY AGAIN ]");
    buttons.TextOut(250, 390, "[  QUIT  ]");
    buttons.TextOut(50, 430, "[  BACK  ]");
    DrawTitleLine();
    // A peer that left claims no winner.
    const bool left = MatchResult == TMatchResult::OpponentLeft;
    FontList->Items(kFontEmbossed).TextOut(170, 100, left ? "The opponent left." : "The winner is:");
    TBriskFont& names = FontList->Items(kFontBlue);
    // Each fighter in the last frame of the animation it is in: the loser's last dying frame.
    const TBasePlayer* first = Map != nullptr ? Map->Players[0] : nullptr;
    const TBasePlayer* second = Map != nullptr ? Map->Players[1] : nullptr;
    const auto drawLastFrame = [](const TBasePlayer* fighter, int32_t x, int32_t y) {
        if (fighter != nullptr && fighter->Image() != nullptr)
            fighter->Image()->DrawFrame(x, y, fighter->FrameBase() + fighter->MaxFrame());
    };
    names.TextOut(120, 160, "Player 1");
    drawLastFrame(first, 150, 200);
    names.TextOut(320, 160, "Player 2");
    drawLastFrame(second, 350, 200);
    if (left) return;
    // The match's own result when it has one; else, as ever, player 2 when player 1 is dying
    // (also when both are), player 1 otherwise.
    const bool firstDying = first != nullptr && first->Action() == kActionDie;
    const bool secondWins =
        MatchResult == TMatchResult::None ? firstDying : MatchResult == TMatchResult::Player2Wins;
    names.TextOut(170, 320, secondWins ? "Player 2!!" : "Player 1!!");
    // A match of several rounds ends with its final score, player 1's wins first.
    if (Score.Rounds > 1) FontList->Items(kFontSmall).TextOut(170, 358, "Rounds won " + Score.ScoreText());
}
