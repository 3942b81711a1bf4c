// contact-sheet OUT.png [GAME]: every picture of the game folder's images/ on one sheet for
// review, each font shown writing a sample line the way the game draws it.
// contact-sheet --map NAME OUT.png [GAME]: the whole field of maps/NAME.map as the match
// draws it: ground, buildings, pickups and both fighters at their starts.
// contact-sheet --menu NAME OUT.png [GAME]: the menu background NAME with a help page and
// the buttons written on it in the game's fonts, to judge how the text reads.
// contact-sheet --panel OUT.png [GAME]: the bottom of the match screen with both status
// panels filled as for a fighter carrying one of everything, alive and dead.
#include "Canvas.h"

#define STB_IMAGE_IMPLEMENTATION
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <stb/stb_image.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace content;

namespace {

struct TPicture {
    std::string Name;
    int W = 0, H = 0;
    std::vector<uint8_t> Rgb;
    [[nodiscard]] const uint8_t* At(int x, int y) const { return &Rgb[(static_cast<size_t>(y) * W + x) * 3]; }
};

TPicture Load(const fs::path& file) {
    TPicture p;
    p.Name = file.filename().string();
    int n = 0;
    std::unique_ptr<uint8_t, void (*)(void*)> data(stbi_load(file.string().c_str(), &p.W, &p.H, &n, 3),
                                                   stbi_image_free);
    if (!data) throw std::runtime_error("could not read " + file.string());
    p.Rgb.assign(data.get(), data.get() + static_cast<size_t>(p.W) * p.H * 3);
    return p;
}

// Draws `text` with a marker-run font the way the game does: each glyph from the middle of
// its left run to the middle of its right run, bottom left pixel transparent.
int FontText(TCanvas& sheet, const TPicture& font, int x, int y, const std::string& text) {
    std::vector<int> pos;
    for (int px = 0; px < font.W;) {
        const uint8_t* p = font.At(px, 0);
        if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
            const int start = px;
            while (px < font.W && font.At(px, 0)[0] == 255 && font.At(px, 0)[1] == 0 &&
                   font.At(px, 0)[2] == 255)
                ++px;
            pos.push_back(start);
            pos.push_back(px);
        } else {
            ++px;
        }
    }
    const uint8_t* key = font.At(0, font.H - 1);
    int pen = x;
    for (unsigned char ch : text) {
        if (ch == ' ') {
            pen += pos[2] - pos[1];
            continue;
        }
        const int k = (ch - 33) * 2 + 1;
        if (ch < 33 || k + 2 >= static_cast<int>(pos.size())) continue;
        const int sx = (pos[k] + pos[k - 1]) / 2, sw = (pos[k + 2] + pos[k + 1]) / 2 - sx;
        const int dx = pen - (pos[k] - pos[k - 1]) / 2;
        for (int yy = 1; yy < font.H; ++yy)
            for (int xx = 0; xx < sw; ++xx) {
                const uint8_t* p = font.At(sx + xx, yy);
                if (p[0] == key[0] && p[1] == key[1] && p[2] == key[2]) continue;
                if (sheet.Inside(dx + xx, y + yy - 1)) sheet.At(dx + xx, y + yy - 1) = Rgb(p[0], p[1], p[2]);
            }
        pen += pos[k + 1] - pos[k];
    }
    return pen;
}

// Just enough of the profile format for a preview: sections and keys without case.
class TProfile {
public:
    explicit TProfile(const fs::path& file) {
        std::ifstream in(file);
        std::string line, section;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line[0] == ';') continue;
            if (line[0] == '[') {
                section = Lower(line.substr(1, line.find(']') - 1));
                continue;
            }
            const size_t eq = line.find('=');
            if (eq != std::string::npos)
                Values.emplace(section + "/" + Lower(line.substr(0, eq)), line.substr(eq + 1));
        }
    }
    [[nodiscard]] std::string Text(const std::string& section, const std::string& key) const {
        const auto it = Values.find(Lower(section) + "/" + Lower(key));
        return it == Values.end() ? "" : it->second;
    }
    [[nodiscard]] int Int(const std::string& section, const std::string& key) const {
        const std::string v = Text(section, key);
        return v.empty() ? 0 : std::stoi(v);
    }

private:
    static std::string Lower(std::string s) {
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }
    std::multimap<std::string, std::string> Values;
};

struct TSprite {
    const TPicture* Sheet;
    int CellW, CellH, Frame, X, Y, FootY;
    uint8_t Key[3];
};

void DrawCell(TCanvas& out, const TSprite& s) {
    const int perRow = s.Sheet->W / s.CellW;
    const int sx = (s.Frame % perRow) * s.CellW, sy = (s.Frame / perRow) * s.CellH;
    for (int y = 0; y < s.CellH; ++y)
        for (int x = 0; x < s.CellW; ++x) {
            if (sx + x >= s.Sheet->W || sy + y >= s.Sheet->H || !out.Inside(s.X + x, s.Y + y)) continue;
            const uint8_t* p = s.Sheet->At(sx + x, sy + y);
            if (p[0] == s.Key[0] && p[1] == s.Key[1] && p[2] == s.Key[2]) continue;
            out.At(s.X + x, s.Y + y) = Rgb(p[0], p[1], p[2]);
        }
}

int DrawMap(const std::string& name, const fs::path& out, const fs::path& game) {
    const TProfile map(game / "maps" / (name + ".map"));
    std::map<std::string, TPicture> pics;
    auto pic = [&](const std::string& file) -> const TPicture& {
        auto it = pics.find(file);
        if (it == pics.end()) it = pics.emplace(file, Load(game / "images" / file)).first;
        return it->second;
    };
    const char* grounds[3] = {"PlainGround.png", "WaterGround.png", "BrownGround.png"};
    TCanvas field(1920, 1560);
    for (int r = 0; r < 31; ++r)
        for (int c = 0; c < 34; ++c) {
            const std::string code = map.Text("Map", "Tile" + std::to_string(r) + "-" + std::to_string(c));
            const int kind = code.empty() ? 0 : code[0] - '0';
            const int frame = code.size() > 2 ? std::stoi(code.substr(2)) : 1;
            DrawCell(field, {&pic(grounds[kind]), 64, 48, frame, 64 * c - 32, 48 * r - 24, 0, {1, 2, 3}});
        }
    std::vector<TSprite> sprites;
    const uint8_t itemKey[3] = {181, 101, 181};
    auto add = [&](const TPicture& sheet, int w, int h, int frame, int x, int y, int offY,
                   const uint8_t key[3]) {
        sprites.push_back({&sheet, w, h, frame, x, y, y + offY, {key[0], key[1], key[2]}});
    };
    for (int i = 0; i < map.Int("Obstructions", "ObstructionCount"); ++i) {
        const std::string n = map.Text("Obstructions", "Obstruction" + std::to_string(i));
        const TProfile bld(game / "data" / (n + ".bld"));
        const uint8_t key[3] = {static_cast<uint8_t>(bld.Int(n, "TransparentColor1")),
                                static_cast<uint8_t>(bld.Int(n, "TransparentColor2")),
                                static_cast<uint8_t>(bld.Int(n, "TransparentColor3"))};
        add(pic(bld.Text(n, "Image")), bld.Int(n, "Width"), bld.Int(n, "Height"),
            map.Int("Obstructions", "ObstructionFrame" + std::to_string(i)),
            map.Int("Obstructions", "ObstructionX" + std::to_string(i)),
            map.Int("Obstructions", "ObstructionY" + std::to_string(i)), bld.Int(n, "OffY"), key);
    }
    const std::map<std::string, int> colour = {
        {"Brown", 0}, {"Green", 1}, {"Blue", 2}, {"Red", 3}, {"White", 4}};
    for (int i = 0; i < map.Int("Objects", "ObjectCount"); ++i) {
        const std::string v = map.Text("Objects", "Object" + std::to_string(i));
        const std::string col = v.substr(0, v.find(',')), kind = v.substr(v.find(',') + 1);
        const int x = map.Int("Objects", "ObjectX" + std::to_string(i)),
                  y = map.Int("Objects", "ObjectY" + std::to_string(i));
        if (kind == "Armor")
            add(pic("Armor.png"), 64, 64, colour.at(col), x, y, 48, itemKey);
        else
            add(pic("Items.png"), 32, 32, colour.at(col) + (kind == "Glove" ? 5 : 0), x, y, 24, itemKey);
    }
    const std::map<std::string, int> element = {
        {"Air", 10}, {"Earth", 11}, {"Water", 12}, {"Fire", 13}, {"Life", 14}};
    for (int i = 0; i < map.Int("MagicItems", "ItemCount"); ++i) {
        const std::string v = map.Text("MagicItems", "Item" + std::to_string(i));
        const std::string form = v.substr(v.find(',') + 1);
        add(pic("Items.png"), 32, 32,
            element.at(v.substr(0, v.find(','))) + (form == "Scroll" ? 5
                                                    : form == "Arm"  ? 10
                                                                     : 0),
            map.Int("MagicItems", "ItemX" + std::to_string(i)),
            map.Int("MagicItems", "ItemY" + std::to_string(i)), 24, itemKey);
    }
    const std::map<std::string, int> potion = {{"Speed", 40},     {"Invisibility", 41}, {"Health", 42},
                                               {"BigHealth", 43}, {"Dexterity", 44},    {"Strength", 45}};
    for (int i = 0; i < map.Int("Potions", "PotionCount"); ++i)
        add(pic("Items.png"), 32, 32, potion.at(map.Text("Potions", "Potion" + std::to_string(i))),
            map.Int("Potions", "PotionX" + std::to_string(i)),
            map.Int("Potions", "PotionY" + std::to_string(i)), 24, itemKey);
    for (int i = 0; i < map.Int("Weapons", "WeaponCount"); ++i) {
        const std::string n = map.Text("Weapons", "Weapon" + std::to_string(i));
        add(pic(n + ".png"), 48, 48, 0, map.Int("Weapons", "WeaponX" + std::to_string(i)),
            map.Int("Weapons", "WeaponY" + std::to_string(i)), 40, itemKey);
    }
    // Fighters as they start: facing down-left, standing.
    const char* fighters[2] = {"Knight.plr", "Elf.plr"};
    for (int k = 0; k < 2; ++k) {
        const TProfile plr(game / "data" / fighters[k]);
        add(pic(plr.Text("Pic", "Image")), 80, 80, plr.Int("Animation", "Stand5"),
            map.Int("Map", "StartY" + std::to_string(k)), map.Int("Map", "StartX" + std::to_string(k)), 70,
            itemKey);
    }
    std::stable_sort(sprites.begin(), sprites.end(),
                     [](const TSprite& a, const TSprite& b) { return a.FootY < b.FootY; });
    for (const TSprite& s : sprites)
        DrawCell(field, s);
    WriteOpaquePng(out.string(), field);
    return 0;
}

} // namespace

int DrawMenu(const std::string& name, const fs::path& out, const fs::path& game) {
    int w = 0, h = 0, n = 0;
    std::unique_ptr<uint8_t, void (*)(void*)> data(
        stbi_load((game / "images" / (name + ".jpg")).string().c_str(), &w, &h, &n, 3), stbi_image_free);
    if (!data) throw std::runtime_error("could not read the background " + name);
    TCanvas screen(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = data.get() + (static_cast<size_t>(y) * w + x) * 3;
            screen.At(x, y) = Rgb(p[0], p[1], p[2]);
        }
    const TPicture fonts[4] = {Load(game / "images" / "24P_Copperplate_Blue.png"),
                               Load(game / "images" / "24P_Arial_NeonYellow.png"),
                               Load(game / "images" / "24P_Copperplate_embosed.png"),
                               Load(game / "images" / "Small_Copperplate_Blue.png")};
    FontText(screen, fonts[1], 100, 5, "Duelmark - a duel of fantasy fighters");
    FontText(screen, fonts[2], 170, 40, "The winner is:");
    const char* help[] = {"The Knight is a good fighter when up close to an opponent",
                          "but he isn't very good when thowing weapons.",
                          "The Elf is a wonderful bow shooter but his defense ",
                          "is low and he cant fight very well when close to an",
                          "opponent. He runs faster than the knight.",
                          "The Orc like fighting up close to his opponents but he ",
                          "isn't as good at it as the knight."};
    const int ys[] = {70, 90, 120, 140, 160, 190, 210};
    for (int i = 0; i < 7; ++i)
        FontText(screen, fonts[3], 50, ys[i] + 20, help[i]);
    FontText(screen, fonts[0], 30, 260, "Player 1        Player 2");
    FontText(screen, fonts[0], 240, 300, "Local Game  Server");
    FontText(screen, fonts[1], 50, 420, "[  QUIT  ]");
    FontText(screen, fonts[1], 250, 420, "[  PLAY  ]");
    FontText(screen, fonts[1], 450, 420, "[  HELP  ]");
    FontText(screen, fonts[3], 0, 465, "Version: 1.12 (Rel 1.1)");
    WriteOpaquePng(out.string(), screen);
    return 0;
}

int DrawPanels(const fs::path& out, const fs::path& game) {
    TCanvas screen(640, 480);
    const TPicture ground = Load(game / "images" / "PlainGround.png");
    for (int y = 0; y < 480; y += 48)
        for (int x = 0; x < 640; x += 64)
            DrawCell(screen, {&ground, 64, 48, 0, x, y, 0, {1, 2, 3}});
    const TPicture boxes[2] = {Load(game / "images" / "PlayerBoxLocal.png"),
                               Load(game / "images" / "PlayerBox.png")};
    const TPicture items = Load(game / "images" / "Items.png"), armor = Load(game / "images" / "Armor.png");
    const TPicture life = Load(game / "images" / "PlayerLife.png");
    const TPicture fighters[2] = {Load(game / "images" / "Knight.png"), Load(game / "images" / "Orc.png")};
    const uint8_t black[3] = {0, 0, 0}, key[3] = {181, 101, 181};
    // The same layout the status display draws, from each panel's top left corner.
    const int magicX[3] = {40, 65, 94};
    const int magicY[3][5] = {{58, 53, 48, 43, 38}, {58, 53, 48, 43, 38}, {62, 55, 49, 43, 38}};
    const int chargeY[5] = {-2, 15, 35, 50, 65};
    for (int k = 0; k < 2; ++k) {
        const int x = k == 0 ? 30 : 240, y = 382;
        DrawCell(screen, {&boxes[k], boxes[k].W, boxes[k].H, 0, x, y, 0, {black[0], black[1], black[2]}});
        DrawCell(screen, {&fighters[k], 80, 80, k == 0 ? 40 : 135, x - 15, y, 0, {key[0], key[1], key[2]}});
        DrawCell(screen, {&life, 48, 8, k == 0 ? 2 : 9, x + 40, y + 7, 0, {0, 0, 0}});
        DrawCell(screen, {&items, 32, 32, 2, x + 40, y + 13, 0, {key[0], key[1], key[2]}});
        DrawCell(screen, {&items, 32, 32, 8, x + 65, y + 13, 0, {key[0], key[1], key[2]}});
        DrawCell(screen, {&armor, 64, 64, 4, x + 77, y - 8, 0, {key[0], key[1], key[2]}});
        for (int m = 1; m <= 15; m += k + 1)
            DrawCell(screen, {&items,
                              32,
                              32,
                              m + 9,
                              x + magicX[(m - 1) / 5],
                              y + magicY[(m - 1) / 5][(m - 1) % 5],
                              0,
                              {key[0], key[1], key[2]}});
        for (int c = 1; c <= 5; ++c)
            for (int j = 1; j <= 6 - c; ++j)
                DrawCell(screen, {&items,
                                  32,
                                  32,
                                  24 + c,
                                  x + 110 + 10 * j,
                                  y + chargeY[c - 1],
                                  0,
                                  {key[0], key[1], key[2]}});
    }
    WriteOpaquePng(out.string(), screen);
    return 0;
}

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--panel") {
        try {
            return DrawPanels(argv[2], argc > 3 ? fs::path(argv[3]) : fs::path("game"));
        } catch (const std::exception& e) {
            std::cerr << "contact-sheet: " << e.what() << "\n";
            return 1;
        }
    }
    if (argc >= 4 && std::string(argv[1]) == "--menu") {
        try {
            return DrawMenu(argv[2], argv[3], argc > 4 ? fs::path(argv[4]) : fs::path("game"));
        } catch (const std::exception& e) {
            std::cerr << "contact-sheet: " << e.what() << "\n";
            return 1;
        }
    }
    if (argc >= 4 && std::string(argv[1]) == "--map") {
        try {
            return DrawMap(argv[2], argv[3], argc > 4 ? fs::path(argv[4]) : fs::path("game"));
        } catch (const std::exception& e) {
            std::cerr << "contact-sheet: " << e.what() << "\n";
            return 1;
        }
    }
    if (argc < 2) {
        std::cerr << "usage: contact-sheet OUT.png [GAME]\n";
        return 2;
    }
    try {
        const fs::path game = argc > 2 ? fs::path(argv[2]) : fs::path("game");
        std::vector<TPicture> pictures, fonts;
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(game / "images"))
            files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& f : files) {
            const std::string ext = f.extension().string();
            if (ext != ".png" && ext != ".PNG") continue;
            (f.filename().string().find("Copperplate") != std::string::npos ||
                     f.filename().string().find("NeonYellow") != std::string::npos
                 ? fonts
                 : pictures)
                .push_back(Load(f));
        }
        // Shelf packing, widest sheets first, on a neutral checker so colour keys show.
        std::sort(pictures.begin(), pictures.end(),
                  [](const TPicture& a, const TPicture& b) { return a.H > b.H; });
        const int width = 1700, gap = 8;
        int x = gap, y = gap, shelf = 0;
        std::vector<std::pair<int, int>> at;
        for (const TPicture& p : pictures) {
            if (x + p.W + gap > width) {
                x = gap;
                y += shelf + gap;
                shelf = 0;
            }
            at.emplace_back(x, y);
            x += p.W + gap;
            shelf = std::max(shelf, p.H);
        }
        const int fontTop = y + shelf + gap;
        int height = fontTop;
        for (const TPicture& f : fonts)
            height += f.H + 6;
        height += gap;
        TCanvas sheet(width, height, Rgb(48, 52, 60));
        for (int yy = 0; yy < height; ++yy)
            for (int xx = 0; xx < width; ++xx)
                if (((xx / 16) + (yy / 16)) % 2) sheet.At(xx, yy) = Rgb(58, 62, 70);
        for (size_t i = 0; i < pictures.size(); ++i)
            for (int yy = 0; yy < pictures[i].H; ++yy)
                for (int xx = 0; xx < pictures[i].W; ++xx) {
                    const uint8_t* p = pictures[i].At(xx, yy);
                    sheet.At(at[i].first + xx, at[i].second + yy) = Rgb(p[0], p[1], p[2]);
                }
        int fy = fontTop;
        for (const TPicture& f : fonts) {
            FontText(sheet, f, gap, fy, "The Knight, Elf, Orc, Ninja & Barbar! 0123456789 {[(<#$%*+=>)]}?");
            fy += f.H + 6;
        }
        WriteOpaquePng(argv[1], sheet);
    } catch (const std::exception& e) {
        std::cerr << "contact-sheet: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
