// Tile drawing to map file: ground codes, start squares and pickups as world positions.
#include "MapBuilder.h"

#include "Ground.h"

#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace content {

namespace {

constexpr int kRows = 31, kColumns = 34;

// Foot-point offsets of each kind of thing, as their data files and classes set them.
struct TOffsets {
    int X, Y;
};
const std::map<std::string, TOffsets>& Offsets() {
    static const std::map<std::string, TOffsets> offsets = {
        {"start", {48, 70}},  {"armor", {32, 48}}, {"glove", {16, 24}},
        {"boot", {16, 24}},   {"magic", {16, 24}}, {"potion", {16, 24}},
        {"weapon", {24, 40}}, {"tree", {64, 116}}, {"ruin", {98, 180}},
    };
    return offsets;
}

[[noreturn]] void Fail(int line, const std::string& what) {
    throw std::runtime_error("map line " + std::to_string(line) + ": " + what);
}

struct TPlaced {
    int Line, FootX, FootY;
};

struct TEntries {
    std::vector<std::string> Lines;
    int Count = 0;
};

} // namespace

std::string BuildMap(const std::string& sourceText) {
    std::istringstream in(sourceText);
    std::vector<std::string> grid;
    std::vector<int> gridLines; // the source line of each tile row, for messages
    std::string line;
    int lineNo = 0;
    std::ostringstream map;
    map << "[Map]\n";
    std::map<std::string, TEntries> sections;
    int starts = 0;
    std::vector<TPlaced> placed;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (static_cast<int>(grid.size()) < kRows) {
            if (static_cast<int>(line.size()) != kColumns) Fail(lineNo, "a tile row needs 34 tiles");
            grid.push_back(line);
            gridLines.push_back(lineNo);
            continue;
        }
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        std::vector<std::string> args;
        for (std::string w; words >> w;)
            args.push_back(w);
        const auto offset = Offsets().find(kind);
        if (offset == Offsets().end()) Fail(lineNo, "unknown thing " + kind);
        const size_t named = kind == "magic" ? 2 : 1;
        if (args.size() != named + 2) Fail(lineNo, "expected a name and a square");
        const int col = std::stoi(args[named]), row = std::stoi(args[named + 1]);
        const int x = col * 32 + 16 - offset->second.X, y = row * 24 + 12 - offset->second.Y;
        if (x < -28 || x > 1860 || y < -48 || y > 1450 || col > 59 || row > 63)
            Fail(lineNo, "the field would move this thing off its square");
        if (kind != "tree" && kind != "ruin") placed.push_back({lineNo, col * 32 + 16, row * 24 + 12});
        const std::string xs = std::to_string(x), ys = std::to_string(y);
        if (kind == "start") {
            if (args[0] != "0" && args[0] != "1") Fail(lineNo, "start 0 or start 1");
            // The game reads StartY as the horizontal and StartX as the vertical coordinate.
            map << "StartY" << args[0] << "=" << xs << "\nStartX" << args[0] << "=" << ys << "\n";
            ++starts;
        } else if (kind == "armor" || kind == "glove" || kind == "boot") {
            const std::string k = kind == "armor" ? "Armor" : kind == "glove" ? "Glove" : "Boot";
            TEntries& e = sections["Objects"];
            const std::string i = std::to_string(e.Count++);
            e.Lines.push_back("Object" + i + "=" + args[0] + "," + k);
            e.Lines.push_back("ObjectX" + i + "=" + xs);
            e.Lines.push_back("ObjectY" + i + "=" + ys);
        } else if (kind == "magic") {
            TEntries& e = sections["MagicItems"];
            const std::string i = std::to_string(e.Count++);
            e.Lines.push_back("Item" + i + "=" + args[0] + "," + args[1]);
            e.Lines.push_back("ItemX" + i + "=" + xs);
            e.Lines.push_back("ItemY" + i + "=" + ys);
        } else if (kind == "weapon" || kind == "potion") {
            const std::string section = kind == "weapon" ? "Weapons" : "Potions";
            const std::string key = kind == "weapon" ? "Weapon" : "Potion";
            TEntries& e = sections[section];
            const std::string i = std::to_string(e.Count++);
            e.Lines.push_back(key + i + "=" + args[0]);
            e.Lines.push_back(key + "X" + i + "=" + xs);
            e.Lines.push_back(key + "Y" + i + "=" + ys);
        } else {
            TEntries& e = sections["Obstructions"];
            const std::string i = std::to_string(e.Count++);
            e.Lines.push_back("Obstruction" + i + "=" + std::string(kind == "tree" ? "Trees" : "Ruins2"));
            e.Lines.push_back("ObstructionX" + i + "=" + xs);
            e.Lines.push_back("ObstructionY" + i + "=" + ys);
            e.Lines.push_back("ObstructionFrame" + i + "=" + args[0]);
        }
    }
    if (static_cast<int>(grid.size()) < kRows) Fail(lineNo, "the drawing needs 31 rows of tiles");
    if (starts != 2) Fail(lineNo, "a map needs start 0 and start 1");

    auto is = [&grid](int r, int c, char kind) {
        return r >= 0 && c >= 0 && r < kRows && c < kColumns && grid[r][c] == kind;
    };
    auto around = [&is](int r, int c, char kind) {
        uint8_t bits = 0;
        const int sides[8][3] = {{kN, -1, 0},  {kE, 0, 1},  {kS, 1, 0},   {kW, 0, -1},
                                 {kNE, -1, 1}, {kSE, 1, 1}, {kSW, 1, -1}, {kNW, -1, -1}};
        for (const auto& s : sides)
            if (is(r + s[1], c + s[2], kind)) bits |= s[0];
        return bits;
    };
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            const char t = grid[r][c];
            const std::string where = " (column " + std::to_string(c) + ")";
            const uint8_t wet = around(r, c, '~'), bare = around(r, c, '#');
            const float h = Hash01(r, c, 77);
            std::string code;
            if (t == '~') {
                code = "1-" + std::to_string(h < 0.15f ? kOpenWaterAlt : kOpenWater);
            } else if (wet != 0) {
                // A tile shows either a shore or an earth verge, so water keeps two tiles
                // of grass between itself and any earth.
                if (t != '.' || bare != 0)
                    Fail(gridLines[r], "water needs a ring of grass around it" + where);
                const int frame = ShoreFrame(wet);
                if (frame < 0) Fail(gridLines[r], "no shore frame for the water around this tile" + where);
                code = "1-" + std::to_string(frame);
            } else if (t == '.' && bare != 0) {
                const int frame = VergeFrame(bare);
                if (frame < 0) Fail(gridLines[r], "no verge frame for the earth around this tile" + where);
                code = "2-" + std::to_string(frame);
            } else if (t == '.') {
                // Mostly plain grass, now and then flowers, stones or tufts.
                const int variant = h < 0.55f   ? 0
                                    : h < 0.75f ? 1
                                                : 2 + static_cast<int>((h - 0.75f) / 0.25f * 6);
                code = "0-" + std::to_string(std::min(variant, kPlainFrames - 1));
            } else if (t == '#') {
                code = "2-" + std::to_string(std::min(kBrownFrames - 1, static_cast<int>(h * kBrownFrames)));
            } else {
                Fail(gridLines[r], std::string("unknown tile '") + t + "'");
            }
            map << "Tile" << r << "-" << c << "=" << code << "\n";
        }
    // Water shows from a tile's picture, half a tile up and left of its squares, to the far
    // corner of its squares; nothing should lie or start where it would be drawn on water.
    for (const TPlaced& p : placed)
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c)
                if (grid[r][c] == '~' && p.FootX >= 64 * c - 40 && p.FootX < 64 * c + 72 &&
                    p.FootY >= 48 * r - 32 && p.FootY < 48 * r + 56)
                    Fail(p.Line, "this stands on or at the edge of the water");
    map << "\n[Ground]\nWater=1\n";
    const std::pair<const char*, const char*> counts[] = {{"Objects", "ObjectCount"},
                                                          {"MagicItems", "ItemCount"},
                                                          {"Weapons", "WeaponCount"},
                                                          {"Potions", "PotionCount"},
                                                          {"Obstructions", "ObstructionCount"}};
    for (const auto& [section, key] : counts) {
        const TEntries& e = sections[section];
        map << "\n[" << section << "]\n" << key << "=" << e.Count << "\n";
        for (const std::string& l : e.Lines)
            map << l << "\n";
    }
    return map.str();
}

} // namespace content
