// content-gen ASSETS GAME: writes the game folder's images/, sound/, data/ and maps/ from
// the generators and the text sources under ASSETS.
#include "Figures.h"
#include "Fonts.h"
#include "Ground.h"
#include "Interface.h"
#include "Items.h"
#include "MapBuilder.h"
#include "Props.h"
#include "Sounds.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;
using namespace content;

namespace {

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("could not read " + file.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("could not write " + file.string());
}

void Images(const fs::path& dir, const std::string& fontFolder) {
    const std::string d = dir.string() + "/";
    // The fighters are most of the work; they are drawn beside everything else.
    std::vector<std::future<void>> fighters;
    for (const std::string& name : CharacterNames())
        fighters.push_back(std::async(std::launch::async, [d, name] {
            const TCharacterArt art = DrawCharacter(name);
            WritePng(d + name + ".png", art.Sheet, kFigureKey);
            WritePng(d + name + "Portrait.png", art.Portrait, kFigureKey);
        }));
    WritePng(d + "WaterGround.png", DrawWaterGround(), {0, 0, 0});
    WritePng(d + "BrownGround.png", DrawBrownGround(), {0, 0, 0});
    WriteOpaquePng(d + "PlainGround.png", DrawPlainGround());
    WritePng(d + "Trees.png", DrawTrees(), kTreesKey);
    WritePng(d + "Ruins2.png", DrawRuins(), kRuinsKey);
    WritePng(d + "Items.png", DrawItems(), kItemsKey);
    WritePng(d + "Armor.png", DrawArmor(), kItemsKey);
    WritePng(d + "ArmorIcons.png", DrawArmorIcons(), kItemsKey);
    WritePng(d + "PlayerBox.png", DrawPlayerBox(false), {0, 0, 0});
    WritePng(d + "PlayerBoxLocal.png", DrawPlayerBox(true), {0, 0, 0});
    WritePng(d + "PlayerLife.png", DrawPlayerLife(), {0, 0, 0});
    WritePng(d + "Splash.png", DrawSplash(), {0, 0, 0});
    WritePng(d + "CheckBox.PNG", DrawCheckBox(), {0, 0, 0});
    for (const std::string& name : BackgroundNames())
        WriteJpeg(d + name + ".jpg", DrawBackground(name), 90);
    for (const std::string& name : WeaponNames())
        WritePng(d + name + ".png", DrawWeapon(name), kItemsKey);
    for (const TFontArt& font : DrawFonts(fontFolder))
        WriteFontPng(d + font.FileName, font.Picture);
    for (auto& f : fighters)
        f.get();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: content-gen ASSETS GAME [FONTFOLDER]\n";
        return 2;
    }
    try {
        const fs::path assets = argv[1], game = argv[2];
        const std::string fonts = argc > 3 ? argv[3] : "/usr/share/fonts/truetype/dejavu";
        for (const char* sub : {"images", "sound", "data", "maps"})
            fs::create_directories(game / sub);
        Images(game / "images", fonts);
        for (const std::string& name : SoundNames())
            WriteWav((game / "sound" / (name + ".wav")).string(), SynthesiseSound(name));
        for (const auto& entry : fs::directory_iterator(assets / "data"))
            if (entry.is_regular_file())
                fs::copy_file(entry.path(), game / "data" / entry.path().filename(),
                              fs::copy_options::overwrite_existing);
        for (const auto& entry : fs::directory_iterator(assets / "maps")) {
            if (entry.path().extension() != ".txt") continue;
            try {
                WriteText(game / "maps" / (entry.path().stem().string() + ".map"),
                          BuildMap(ReadText(entry.path())));
            } catch (const std::exception& e) {
                throw std::runtime_error(entry.path().filename().string() + ": " + e.what());
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "content-gen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
