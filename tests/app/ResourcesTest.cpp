// What the game loads at start: the ten shared pictures with their keys and cells, the four
// fonts between their log lines, and the menu background chosen by the roll.
#include "MenuTestGame.h"
#include "media/BriskImage.h"
#include "media/BriskText.h"

namespace menutest {
namespace {

using ResourcesTest = MenuGameTest;

TEST_F(ResourcesTest, BackgroundFollowsTheRollAtEveryBoundary) {
    struct TCase {
        int32_t Roll;
        std::string_view Name;
        int32_t Picture;
    };
    const TCase cases[] = {{0, "Sunset", 0}, {24, "Sunset", 0}, {25, "Brown", 1}, {49, "Brown", 1},
                           {50, "Japan", 2}, {74, "Japan", 2},  {75, "Mesa", 3},  {98, "Mesa", 3}};
    for (const TCase& c : cases) {
        // The middle of the roll's slice of [0, 1), clear of rounding at its edges.
        SetRandomSource([roll = c.Roll] { return (roll + 0.5) / 99.0; });
        TBriskGame game;
        ASSERT_EQ(game.Backgrounds.Count(), 1) << c.Roll;
        EXPECT_EQ(game.Backgrounds.Items(0)->Name, c.Name) << c.Roll;
        game.RenderTitle();
        EXPECT_EQ(ScreenColor(5, 50), kBackgroundColors[c.Picture].Packed()) << c.Roll;
    }
}

TEST_F(ResourcesTest, TheLastValueBelowOneStillRollsNinetyEight) {
    SetRandomSource([] { return 0.99999999; });
    TBriskGame game;
    EXPECT_EQ(game.Backgrounds.Items(0)->Name, "Mesa");
}

TEST_F(ResourcesTest, SharedPicturesComeInTableOrderAndOnlyPlainGroundHasNoTransparentColour) {
    // Each picture: its left half in the colour its row keys, its right half in another.
    struct TCase {
        std::string_view Name;
        TColor Key;
        bool Transparent;
    };
    const TCase cases[] = {{"WaterGround", {0, 0, 0}, true},    {"BrownGround", {0, 0, 0}, true},
                           {"PlainGround", {0, 0, 0}, false},   {"Trees", {115, 109, 181}, true},
                           {"Ruins2", {156, 109, 66}, true},    {"Items", {181, 101, 181}, true},
                           {"Armor", {181, 101, 181}, true},    {"PlayerBox", {0, 0, 0}, true},
                           {"PlayerBoxLocal", {0, 0, 0}, true}, {"PlayerLife", {0, 0, 0}, true},
                           {"Splash", {0, 0, 0}, true},         {"ArmorIcons", {181, 101, 181}, true}};
    TheGame.reset();
    for (const TCase& c : cases) {
        const TSurfacePtr picture = NewSurface(16, 8, 24);
        FillRect(picture.get(), 0, 0, 8, 8, c.Key);
        FillRect(picture.get(), 8, 0, 8, 8, {70, 80, 90});
        SavePicture(picture, Media->Folder() / "images" / (std::string(c.Name) + ".png"));
    }
    TheGame = std::make_unique<TBriskGame>();
    ASSERT_EQ(ImageList->Count(), 24) << "twelve from the first game, twelve from this one";
    const TColor under{255, 255, 255};
    for (int32_t i = 0; i < 12; ++i) {
        const TCase& c = cases[i];
        ASSERT_EQ(ImageList->Find(c.Name), ImageList->Items(12 + i)) << "in table order: " << c.Name;
        const TSurfacePtr target = NewSurface(16, 8, 24);
        FillRect(target.get(), 0, 0, 16, 8, under);
        TBriskImage& image = *ImageList->Find(c.Name);
        BlitRect(image.Surface.get(), MakeRect(0, 0, 16, 8), target.get(), 0, 0);
        EXPECT_EQ(ReadColor(target.get(), 2, 2), c.Transparent ? under.Packed() : c.Key.Packed()) << c.Name;
        EXPECT_EQ(ReadColor(target.get(), 12, 2), (TColor{70, 80, 90}.Packed())) << c.Name;
    }
}

TEST_F(ResourcesTest, FontsLoadInPositionOrderBetweenTheirLogLines) {
    ASSERT_EQ(FontList->Count(), 4);
    const char* files[] = {"images/24P_Copperplate_Blue.png", "images/24P_Arial_NeonYellow.png",
                           "images/24P_Copperplate_embosed.png", "images/Small_Copperplate_Blue.png"};
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(FontList->Items(i).FontName, files[i]);
        EXPECT_TRUE(FontList->Items(i).IsBitmap);
        EXPECT_NE(FontList->Items(i).Surface, nullptr) << files[i];
    }
    std::vector<std::string> fontLines;
    for (const std::string& line : Media->LogLines())
        if (line.find("Create Fonts") != std::string::npos || line.find("Font name: ") != std::string::npos)
            fontLines.push_back(line);
    ASSERT_EQ(fontLines.size(), 6U);
    EXPECT_NE(fontLines.front().find("MSG : Create Fonts IN : "), std::string::npos) << fontLines.front();
    EXPECT_NE(fontLines[1].find(files[0]), std::string::npos);
    EXPECT_NE(fontLines[4].find(files[3]), std::string::npos);
    EXPECT_NE(fontLines.back().find("MSG : Done Create Fonts IN : "), std::string::npos) << fontLines.back();
}

TEST_F(ResourcesTest, MissingPicturesAreStillListedAndDrawNothing) {
    TheGame.reset();
    std::error_code error;
    fs::remove_all(Media->Folder() / "images", error);
    TheGame = std::make_unique<TBriskGame>();
    EXPECT_EQ(ImageList->Count(), 24) << "twelve from the first game, twelve from this one";
    EXPECT_EQ(ImageList->Find("Trees")->Surface, nullptr);
    EXPECT_EQ(TheGame->Backgrounds.Count(), 1);
    TheGame->RenderTitle();
    TheGame->RenderHelp();
    TheGame->EnterSetup();
    TheGame->RenderGameSetup();
}

} // namespace
} // namespace menutest
