// The title, help and end screens driven by pushed mouse events one frame at a time: which
// click reaches which button, the help pages, and what is drawn where.
#include "MenuTestGame.h"
#include "media/BriskImage.h"
#include "world/Map.h"
#include "world/Players.h"

namespace menutest {
namespace {

struct TClickCase {
    int32_t X, Y;
    TGameState Expected;
};

class TitleScreensTest : public MenuGameTest {
protected:
    // Pushes one released mouse button and runs one frame of the screen the game is on.
    void ClickOn(TGameState screen, int32_t x, int32_t y) {
        TheGame->State = screen;
        PushMouseUp(x, y);
        TheGame->RunFrame(screen, Hooks(screen));
    }
    [[nodiscard]] TFrameHooks Hooks(TGameState screen) {
        if (screen == TGameState::Help) return TheGame->HelpHooks();
        if (screen == TGameState::End) return TheGame->EndHooks();
        return TheGame->TitleHooks();
    }
    void ExpectClicks(TGameState screen, std::initializer_list<TClickCase> cases) {
        for (const TClickCase& c : cases) {
            TheGame->HelpPage = 2;
            ClickOn(screen, c.X, c.Y);
            EXPECT_EQ(TheGame->State, c.Expected) << "click at " << c.X << ", " << c.Y;
        }
    }
};

TEST_F(TitleScreensTest, TitleButtonsAnswerOnlyInsideTheirOpenRectangles) {
    const TGameState none = TGameState::Title;
    ExpectClicks(TGameState::Title, {{10, 450, none},
                                     {11, 450, TGameState::Quit},
                                     {199, 450, TGameState::Quit},
                                     {200, 450, none},
                                     {205, 450, none},
                                     {210, 450, none},
                                     {211, 450, TGameState::Setup},
                                     {419, 450, TGameState::Setup},
                                     {420, 450, none},
                                     {450, 450, none},
                                     {451, 450, TGameState::Help},
                                     {639, 450, TGameState::Help},
                                     {300, 420, none},
                                     {300, 421, TGameState::Setup},
                                     {300, 479, TGameState::Setup},
                                     {300, 480, none},
                                     {300, 300, none}});
}

TEST_F(TitleScreensTest, EndScreenButtonsAnswerOnlyInsideTheirOpenRectangles) {
    const TGameState none = TGameState::End;
    ExpectClicks(TGameState::End, {{210, 400, none},
                                   {211, 400, TGameState::Quit},
                                   {419, 400, TGameState::Quit},
                                   {420, 400, none},
                                   {300, 385, none},
                                   {300, 386, TGameState::Quit},
                                   {300, 424, TGameState::Quit},
                                   {300, 425, none},
                                   {300, 430, none},
                                   {300, 431, TGameState::Setup},
                                   {300, 479, TGameState::Setup},
                                   {300, 480, none},
                                   {210, 450, none},
                                   {211, 450, TGameState::Setup},
                                   {420, 450, none},
                                   {10, 450, none},
                                   {11, 450, TGameState::Title},
                                   {199, 450, TGameState::Title},
                                   {200, 450, none},
                                   {100, 430, none},
                                   {100, 431, TGameState::Title},
                                   {100, 479, TGameState::Title},
                                   {100, 480, none},
                                   {100, 400, none}});
}

TEST_F(TitleScreensTest, BackFromTheEndScreenClosesANetworkedMatchsEndpoint) {
    TheGame->SetState(TGameState::Setup);
    PushMouseUp(150, 175);
    TheGame->RunFrame(TGameState::Setup, TheGame->SetupHooks());
    ASSERT_NE(TheGame->Server, nullptr);
    TheGame->OpponentReady = true;
    ClickOn(TGameState::End, 100, 455);
    EXPECT_EQ(TheGame->State, TGameState::Title);
    EXPECT_EQ(TheGame->Server, nullptr);
    EXPECT_FALSE(TheGame->OpponentReady);
    EXPECT_EQ(TheGame->NetMode, 0);
}

TEST_F(TitleScreensTest, WheelButtonsClickNothingTheOtherButtonsDo) {
    TheGame->SetState(TGameState::Help);
    const auto click = [this](int button) {
        PushMouseUp(500, 455, button);
        TheGame->RunFrame(TGameState::Help, TheGame->HelpHooks());
        return TheGame->HelpPage;
    };
    EXPECT_EQ(click(SDL_BUTTON_WHEELDOWN), 1) << "scrolling over NEXT turns no page";
    EXPECT_EQ(click(SDL_BUTTON_WHEELUP), 1);
    EXPECT_EQ(click(SDL_BUTTON_RIGHT), 2);
    EXPECT_EQ(click(SDL_BUTTON_MIDDLE), 3);
    EXPECT_EQ(click(SDL_BUTTON_LEFT), 4);
    for (const TGameState screen : {TGameState::Title, TGameState::End}) {
        for (const int button : {SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN}) {
            TheGame->State = screen;
            PushMouseUp(300, 450, button);
            TheGame->RunFrame(screen, Hooks(screen));
            EXPECT_EQ(TheGame->State, screen) << "button " << button;
        }
    }
}

TEST_F(TitleScreensTest, HelpIntroAnswersOnlyInsideItsRectangle) {
    const TGameState none = TGameState::Help;
    ExpectClicks(TGameState::Help, {{210, 455, none},
                                    {211, 455, TGameState::Title},
                                    {419, 455, TGameState::Title},
                                    {420, 455, none},
                                    {300, 430, none},
                                    {300, 431, TGameState::Title},
                                    {300, 479, TGameState::Title},
                                    {300, 480, none}});
}

TEST_F(TitleScreensTest, HelpPagesRunFromOneToFiveAndBackWithoutPassingEither) {
    TheGame->SetState(TGameState::Help);
    const auto click = [this](int32_t x) {
        PushMouseUp(x, 455);
        TheGame->RunFrame(TGameState::Help, TheGame->HelpHooks());
        return TheGame->HelpPage;
    };
    EXPECT_EQ(TheGame->HelpPage, 1);
    EXPECT_EQ(click(100), 1) << "no page before the first";
    EXPECT_EQ(click(451), 2);
    EXPECT_EQ(click(450), 2) << "edge of NEXT";
    EXPECT_EQ(click(649), 3);
    EXPECT_EQ(click(500), 4);
    EXPECT_EQ(click(500), 5) << "the controls";
    EXPECT_EQ(click(500), 5) << "no page after the last";
    EXPECT_EQ(click(199), 4);
    EXPECT_EQ(click(199), 3);
    EXPECT_EQ(click(200), 3) << "edge of BACK";
    EXPECT_EQ(click(11), 2);
    EXPECT_EQ(click(10), 2) << "edge of BACK";
    EXPECT_EQ(click(100), 1);
    EXPECT_EQ(TheGame->State, TGameState::Help);
}

TEST_F(TitleScreensTest, EnteringHelpFromTheTitleAlwaysStartsAtPageOne) {
    TheGame->HelpPage = 3;
    ClickOn(TGameState::Title, 500, 450);
    ASSERT_EQ(TheGame->State, TGameState::Help);
    EXPECT_EQ(TheGame->HelpPage, 1);
    PushMouseUp(500, 455);
    PushMouseUp(300, 455);
    TheGame->RunFrame(TGameState::Help, TheGame->HelpHooks());
    ASSERT_EQ(TheGame->State, TGameState::Title);
    ClickOn(TGameState::Title, 500, 450);
    EXPECT_EQ(TheGame->HelpPage, 1);
}

TEST_F(TitleScreensTest, HelpShowsBackExceptOnPageOneAndNextExceptOnTheControlsPage) {
    struct TCase {
        int32_t Page;
        bool Back, Next, PageThreeLine;
    };
    for (const TCase c :
         {TCase{1, false, true, false}, TCase{2, true, true, false}, TCase{3, true, true, true},
          TCase{4, true, true, false}, TCase{5, true, false, false}, TCase{0, true, true, false}}) {
        TheGame->HelpPage = c.Page;
        TheGame->RenderHelp();
        EXPECT_EQ(TextShown(kFontYellow, 50, 430, "[  BACK  ]"), c.Back) << c.Page;
        EXPECT_EQ(BackgroundAt(50, 430), !c.Back) << c.Page;
        EXPECT_EQ(TextShown(kFontYellow, 450, 430, "[  NEXT  ]"), c.Next) << c.Page;
        EXPECT_EQ(BackgroundAt(450, 430), !c.Next) << c.Page;
        EXPECT_TRUE(TextShown(kFontYellow, 250, 430, "[  INTRO  ]")) << c.Page;
        EXPECT_TRUE(TextShown(kFontYellow, 100, 5, kGameTitle)) << c.Page;
        // Only page 3 reaches down to y 330; a page outside 1..5 draws no text at all.
        EXPECT_EQ(BackgroundAt(50, 240), c.Page == 0 || c.Page == 5) << c.Page;
        EXPECT_EQ(TextShown(kFontSmall, 50, 70, "Controls"), c.Page == 5) << c.Page;
        EXPECT_EQ(TextShown(kFontSmall, 50, 330, "then used from the players second fire button."),
                  c.PageThreeLine)
            << c.Page;
    }
}

TEST_F(TitleScreensTest, TitleDrawsItsButtonsVersionAndCreditsOverTheBackground) {
    TheGame->RenderTitle();
    EXPECT_TRUE(TextShown(kFontYellow, 100, 5, kGameTitle));
    EXPECT_TRUE(TextShown(kFontSmall, 0, 465, "Version: 1.12 (Rel 1.1)"));
    EXPECT_TRUE(TextShown(kFontYellow, 50, 420, "[  QUIT  ]"));
    EXPECT_TRUE(TextShown(kFontYellow, 250, 420, "[  PLAY  ]"));
    EXPECT_TRUE(TextShown(kFontYellow, 450, 420, "[  HELP  ]"));
    EXPECT_TRUE(TextShown(kFontBlue, 240, 270, "SDL 1.2"));
    EXPECT_TRUE(BackgroundAt(5, 50));
}

TEST_F(TitleScreensTest, EndScreenDrawsItsButtonsAndBothPlayerLabels) {
    TheGame->RenderEndGame();
    EXPECT_TRUE(TextShown(kFontYellow, 210, 430, "[  PLAY AGAIN ]"));
    EXPECT_TRUE(TextShown(kFontYellow, 250, 390, "[  QUIT  ]"));
    EXPECT_TRUE(TextShown(kFontYellow, 50, 430, "[  BACK  ]"));
    EXPECT_TRUE(TextShown(kFontEmbossed, 170, 100, "The winner is:"));
    EXPECT_TRUE(TextShown(kFontBlue, 120, 160, "Player 1"));
    EXPECT_TRUE(TextShown(kFontBlue, 320, 160, "Player 2"));
}

// The match's own result names the winner; a peer that left names none.
TEST_F(TitleScreensTest, EndScreenSaysTheMatchsResult) {
    TheGame->Map = std::make_unique<TBaseMap>();
    TPlayer& first = TheGame->Map->Add(std::make_unique<TPlayer>());
    TPlayer& second = TheGame->Map->Add(std::make_unique<TPlayer>());
    TheGame->Map->Players = {&first, &second};
    // Player 1 only shows the dying action (F3, say): the match said player 1 won.
    first.SetAction(kActionDie);
    TheGame->MatchResult = TMatchResult::Player1Wins;
    TheGame->RenderEndGame();
    EXPECT_TRUE(TextShown(kFontBlue, 170, 320, "Player 1!!"));
    TheGame->MatchResult = TMatchResult::OpponentLeft;
    TheGame->RenderEndGame();
    EXPECT_TRUE(TextShown(kFontEmbossed, 170, 100, "The opponent left."));
    EXPECT_TRUE(BackgroundAt(170, 320)) << "no winner claimed";
    EXPECT_TRUE(TextShown(kFontYellow, 210, 430, "[  PLAY AGAIN ]"));
    EXPECT_TRUE(TextShown(kFontYellow, 250, 390, "[  QUIT  ]"));
    TheGame->Map.reset();
}

TEST_F(TitleScreensTest, EndScreenNamesTheWinnerAndShowsEachFightersLastCell) {
    // A sheet of four 10 by 10 cells in a row, each in a colour of its own.
    const TColor cells[4] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
    TBriskImage sheet;
    sheet.Surface = NewSurface(40, 10, 24);
    for (int32_t cell = 0; cell < 4; ++cell)
        FillRect(sheet.Surface.get(), 10 * cell, 0, 10, 10, cells[cell]);
    sheet.FrameWidth = 10;
    sheet.FrameHeight = 10;
    TheGame->Map = std::make_unique<TBaseMap>();
    TPlayer& first = TheGame->Map->Add(std::make_unique<TPlayer>());
    TPlayer& second = TheGame->Map->Add(std::make_unique<TPlayer>());
    TheGame->Map->Players = {&first, &second};
    struct TCase {
        int32_t FirstAction, SecondAction;
        std::string_view Winner;
    };
    for (const TCase c :
         {TCase{kActionDie, kActionStand, "Player 2!!"}, TCase{kActionStand, kActionDie, "Player 1!!"},
          TCase{kActionDie, kActionDie, "Player 2!!"}, TCase{kActionWalk, kActionAttack, "Player 1!!"}}) {
        for (TPlayer* fighter : {&first, &second}) {
            fighter->SetAction(fighter == &first ? c.FirstAction : c.SecondAction);
            fighter->SetImage(&sheet);
        }
        first.SetFrameBase(1);
        first.SetMaxFrame(2);
        second.SetFrameBase(0);
        second.SetMaxFrame(1);
        TheGame->RenderEndGame();
        EXPECT_TRUE(TextShown(kFontBlue, 170, 320, c.Winner)) << c.FirstAction << ", " << c.SecondAction;
        EXPECT_EQ(ScreenColor(155, 205), cells[3].Packed()) << "player 1: cell FrameBase + MaxFrame";
        EXPECT_EQ(ScreenColor(355, 205), cells[1].Packed()) << "player 2: cell FrameBase + MaxFrame";
    }
    TheGame->Map.reset();
}

} // namespace
} // namespace menutest
