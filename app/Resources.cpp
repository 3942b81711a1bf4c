// What the game loads once at start for the whole run, from the data folder (the working
// directory): the pictures the world and the displays find by name, the four fonts every
// screen uses by position and the one menu background; and the two things every menu screen
// draws first.
#include "app/GameUnit.h"
#include "media/BriskImage.h"
#include "media/BriskLogger.h"
#include "media/BriskText.h"
#include "platform/Random.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

namespace {

struct TStartupPicture {
    std::string_view Name;
    std::string_view File;
    bool Keyed; // "PlainGround" is the one picture drawn without a transparent colour
    uint8_t Red, Green, Blue;
    int32_t FrameWidth, FrameHeight; // 0: drawn whole, never by cell
};

// In this order: ImageList positions are part of what the world sees.
constexpr std::array<TStartupPicture, 12> kStartupPictures{{
    {"WaterGround", "images\\WaterGround.png", true, 0, 0, 0, 64, 48},
    {"BrownGround", "images\\BrownGround.png", true, 0, 0, 0, 64, 48},
    {"PlainGround", "images\\PlainGround.png", false, 0, 0, 0, 64, 48},
    {"Trees", "images\\Trees.png", true, 115, 109, 181, 128, 128},
    {"Ruins2", "images\\Ruins2.png", true, 156, 109, 66, 196, 196},
    {"Items", "images\\Items.png", true, 181, 101, 181, 32, 32},
    {"Armor", "images\\Armor.png", true, 181, 101, 181, 64, 64},
    {"PlayerBox", "images\\PlayerBox.png", true, 0, 0, 0, 0, 0},
    {"PlayerBoxLocal", "images\\PlayerBoxLocal.png", true, 0, 0, 0, 0, 0},
    {"PlayerLife", "images\\PlayerLife.png", true, 0, 0, 0, 48, 8},
    {"Splash", "images\\Splash.png", true, 0, 0, 0, 64, 48},
    {"ArmorIcons", "images\\ArmorIcons.png", true, 181, 101, 181, 24, 24},
}};

constexpr std::array<std::string_view, 4> kFontFiles{
    "images/24P_Copperplate_Blue.png",
    "images/24P_Arial_NeonYellow.png",
    "images/24P_Copperplate_embosed.png",
    "images/Small_Copperplate_Blue.png",
};

struct TMenuBackground {
    int32_t LastRoll; // the highest roll that picks this picture
    std::string_view Name;
    std::string_view File;
};

// Rolls run 0..98, so the last picture has one roll fewer than the others.
constexpr int32_t kBackgroundRolls = 99;
constexpr std::array<TMenuBackground, 4> kMenuBackgrounds{{
    {24, "Sunset", "images\\Sunset.jpg"},
    {49, "Brown", "images\\Brown.jpg"},
    {74, "Japan", "images\\Japan.jpg"},
    {98, "Mesa", "images\\Mesa.jpg"},
}};

const TMenuBackground& MenuBackgroundFor(double random) {
    // Only a test's scripted source gives a value outside [0, 1); it still picks a picture.
    const int32_t roll = std::clamp(static_cast<int32_t>(random * kBackgroundRolls), 0, kBackgroundRolls - 1);
    for (const TMenuBackground& background : kMenuBackgrounds)
        if (roll <= background.LastRoll) return background;
    return kMenuBackgrounds.back();
}

} // namespace

void TBriskGame::LoadImages() {
    for (const TStartupPicture& row : kStartupPictures) {
        auto image = std::make_unique<TBriskImage>();
        image->LoadFromFile(row.File);
        if (row.Keyed) image->SetColorKey(row.Red, row.Green, row.Blue);
        if (row.FrameWidth > 0) {
            image->FrameWidth = row.FrameWidth;
            image->FrameHeight = row.FrameHeight;
        }
        image->Name = row.Name;
        ImageList->Add(std::move(image));
    }
    const TMenuBackground& background = MenuBackgroundFor(RandomFloat());
    Backgrounds.LoadImage(background.Name, background.File);
}

void TBriskGame::LoadFonts() {
    Logger->LogStatus("Create Fonts", "");
    for (const std::string_view file : kFontFiles)
        FontList->LoadFont(file);
    Logger->LogStatus("Done Create Fonts", "");
}

void TBriskGame::DrawMenuBackground() {
    if (TBriskImage* background = Backgrounds.Items(0)) background->Draw(0, 0);
}

void TBriskGame::DrawTitleLine() {
    FontList->Items(kFontYellow).TextOut(100, 5, kGameTitle);
}
