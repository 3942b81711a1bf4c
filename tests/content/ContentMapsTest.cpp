// Every map as the game lays it out: tiles, water squares, building footprints and pickup
// squares on the 62 by 66 grid, and a walk from one start to the other.
#include "ContentSupport.h"
#include "platform/IniFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <map>

namespace {

constexpr int kCols = 62, kRows = 66;
enum TPass { kFree = 0, kSolid = 1, kWater = 2, kPickup = 3 };

struct TPickup {
    std::string What;
    int FootX, FootY;
};

// The field a map file sets up, built the way the map loader and the item classes mark it.
struct TField {
    std::array<std::array<int, kRows>, kCols> Pass{};
    std::vector<TPickup> Pickups;
    std::vector<std::pair<int, int>> WaterTiles; // row, column
    std::vector<std::string> Faults;
    int Start[2][2]{}; // foot x, foot y of each fighter
};

int Clamp(int v, int lo, int hi) {
    return std::max(lo, std::min(hi, v));
}

bool InGrid(int col, int row) {
    return col >= 0 && row >= 0 && col < kCols && row < kRows;
}

TField LoadField(const std::string& mapName) {
    TField f;
    const TIniFile map("maps\\" + mapName + ".map");
    const int waterKind = map.ReadInteger("Ground", "Water", -1);
    for (int r = 0; r <= 30; ++r)
        for (int c = 0; c <= 33; ++c) {
            const std::string code =
                map.ReadString("Map", "Tile" + std::to_string(r) + "-" + std::to_string(c), "0-1");
            if (code.size() < 3 || code[0] < '0' || code[0] > '2') {
                f.Faults.push_back("tile " + std::to_string(r) + "-" + std::to_string(c) + " has the code " +
                                   code);
                continue;
            }
            const int frame = std::stoi(code.substr(2));
            if (code[0] - '0' == waterKind && (frame == 22 || frame == 23)) {
                f.WaterTiles.emplace_back(r, c);
                if (c > 30) continue;
                for (int dc = 0; dc < 2; ++dc)
                    for (int dr = 0; dr < 2; ++dr)
                        f.Pass[2 * c + dc][2 * r + dr] = kWater;
            }
        }
    // Item positions are clamped by the item setters before the foot point is taken.
    auto foot = [](int x, int y, int offX, int offY) {
        return std::pair<int, int>{Clamp(x, -28, 1860) + offX, Clamp(y, -48, 1450) + offY};
    };
    for (int i = 0; i < map.ReadInteger("Obstructions", "ObstructionCount", 0); ++i) {
        const std::string n = map.ReadString("Obstructions", "Obstruction" + std::to_string(i), "");
        const TIniFile bld("data\\" + n + ".bld");
        const auto [fx, fy] = foot(map.ReadInteger("Obstructions", "ObstructionX" + std::to_string(i), 0),
                                   map.ReadInteger("Obstructions", "ObstructionY" + std::to_string(i), 0),
                                   bld.ReadInteger(n, "OffX", 0), bld.ReadInteger(n, "OffY", 0));
        const int col = fx / 32, row = fy / 24, lr = bld.ReadInteger(n, "BlockLR", 0),
                  up = bld.ReadInteger(n, "BlockU", 0);
        if (!InGrid(col, row)) f.Faults.push_back(n + " " + std::to_string(i) + " stands outside the field");
        for (int dc = -lr; dc <= lr; ++dc)
            for (int dr = -up; dr <= 0; ++dr)
                if (InGrid(col + dc, row + dr)) f.Pass[col + dc][row + dr] = kSolid;
    }
    auto pickups = [&](const std::string& section, const std::string& count, const std::string& key,
                       const std::string& kind) {
        for (int i = 0; i < map.ReadInteger(section, count, 0); ++i) {
            const std::string idx = std::to_string(i);
            const std::string value = map.ReadString(section, key + idx, "");
            int offX = 16, offY = 24;
            if (kind == "weapon") {
                const TIniFile wpn("data\\" + value + ".wpn");
                offX = wpn.ReadInteger(value, "OffX", 0);
                offY = wpn.ReadInteger(value, "OffY", 0);
            } else if (value.find(",Armor") != std::string::npos) {
                offX = 32;
                offY = 48;
            }
            const auto [fx, fy] = foot(map.ReadInteger(section, key + "X" + idx, 0),
                                       map.ReadInteger(section, key + "Y" + idx, 0), offX, offY);
            f.Pickups.push_back({kind + " " + value, fx, fy});
        }
    };
    pickups("Objects", "ObjectCount", "Object", "equipment");
    pickups("MagicItems", "ItemCount", "Item", "magic");
    pickups("Weapons", "WeaponCount", "Weapon", "weapon");
    pickups("Potions", "PotionCount", "Potion", "potion");
    for (const TPickup& p : f.Pickups) {
        const int col = p.FootX / 32, row = p.FootY / 24;
        if (!InGrid(col, row) || p.FootX < 0 || p.FootY < 0) {
            f.Faults.push_back(p.What + " lies outside the field");
            continue;
        }
        const int here = f.Pass[col][row];
        if (here == kWater) f.Faults.push_back(p.What + " lies on water");
        if (here == kSolid) f.Faults.push_back(p.What + " lies on a building");
        // A second pickup cannot take a square another holds, so it could never be picked up.
        if (here == kPickup) f.Faults.push_back(p.What + " shares its square with another pickup");
        f.Pass[col][row] = kPickup;
    }
    for (int k = 0; k < 2; ++k) {
        // StartY is the horizontal and StartX the vertical position of a fighter's picture.
        const auto [fx, fy] =
            foot(map.ReadInteger("Map", "StartY" + std::to_string(k), k ? 350 : 380),
                 map.ReadInteger("Map", "StartX" + std::to_string(k), k ? 250 : 300), 48, 70);
        f.Start[k][0] = fx;
        f.Start[k][1] = fy;
    }
    return f;
}

// Squares a fighter can walk to from (col, row), stepping to the four side neighbours.
std::vector<std::vector<bool>> Reachable(const TField& f, int col, int row) {
    std::vector<std::vector<bool>> seen(kCols, std::vector<bool>(kRows, false));
    std::deque<std::pair<int, int>> queue{{col, row}};
    seen[col][row] = true;
    while (!queue.empty()) {
        const auto [c, r] = queue.front();
        queue.pop_front();
        const int step[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& s : step) {
            const int nc = c + s[0], nr = r + s[1];
            if (!InGrid(nc, nr) || seen[nc][nr]) continue;
            if (f.Pass[nc][nr] == kSolid || f.Pass[nc][nr] == kWater) continue;
            // The field's right and bottom edges: a fighter's picture stops at x 1860, y 1450.
            if (nc * 32 > 1860 + 48 || nr * 24 > 1450 + 70) continue;
            seen[nc][nr] = true;
            queue.emplace_back(nc, nr);
        }
    }
    return seen;
}

// A water tile's picture starts half a tile left of and above its water squares, so the
// water shows from its picture's corner to its squares' far corner.
bool DrawnOverWater(const TField& f, int x, int y) {
    return std::any_of(f.WaterTiles.begin(), f.WaterTiles.end(), [x, y](const auto& t) {
        const int x0 = 64 * t.second - 32, y0 = 48 * t.first - 24;
        return x >= x0 - 4 && x < x0 + 96 + 4 && y >= y0 - 4 && y < y0 + 72 + 4;
    });
}

} // namespace

TEST_F(ContentTest, MapsPlacePickupsAndStartsWhereFightersCanReachThem) {
    const std::vector<std::string> maps = GameNames("maps\\*.map");
    ASSERT_GE(maps.size(), 4u);
    for (const std::string& name : maps) {
        SCOPED_TRACE(name);
        const TField f = LoadField(name);
        for (const std::string& fault : f.Faults)
            ADD_FAILURE() << fault;
        int start[2][2];
        for (int k = 0; k < 2; ++k) {
            start[k][0] = f.Start[k][0] / 32;
            start[k][1] = f.Start[k][1] / 24;
            ASSERT_TRUE(InGrid(start[k][0], start[k][1])) << "start " << k;
            EXPECT_EQ(f.Pass[start[k][0]][start[k][1]], kFree) << "start " << k << " is not a free square";
            EXPECT_FALSE(DrawnOverWater(f, f.Start[k][0], f.Start[k][1])) << "start " << k;
        }
        const auto seen = Reachable(f, start[0][0], start[0][1]);
        EXPECT_TRUE(seen[start[1][0]][start[1][1]]) << "no walk leads from one start to the other";
        for (const TPickup& p : f.Pickups) {
            if (!InGrid(p.FootX / 32, p.FootY / 24)) continue;
            EXPECT_TRUE(seen[p.FootX / 32][p.FootY / 24]) << p.What << " cannot be reached";
            EXPECT_FALSE(DrawnOverWater(f, p.FootX, p.FootY)) << p.What << " would be drawn on the water";
        }
        EXPECT_GE(f.Pickups.size(), 12u) << "too little to pick up";
        EXPECT_FALSE(f.WaterTiles.empty()) << "every map has some water";
    }
}

TEST_F(ContentTest, MapTilesNameFramesThatExistAndJoinWithoutSeams) {
    const char* files[3] = {"images\\PlainGround.png", "images\\WaterGround.png", "images\\BrownGround.png"};
    TPixels ground[3];
    for (int k = 0; k < 3; ++k)
        ground[k] = LoadPixels(files[k]);
    // One pixel of a tile: ground kind and frame as the ground renderer cuts them.
    auto pixel = [&ground](int kind, int frame, int x, int y) {
        const TPixels& g = ground[kind];
        const int perRow = g.W / 64;
        return g.At((frame % perRow) * 64 + x, (frame / perRow) * 48 + y);
    };
    auto diff = [](uint32_t a, uint32_t b) {
        int d = 0;
        for (int s = 0; s < 24; s += 8)
            d += std::abs(static_cast<int>((a >> s) & 255) - static_cast<int>((b >> s) & 255));
        return d / 3.0;
    };
    for (const std::string& name : GameNames("maps\\*.map")) {
        SCOPED_TRACE(name);
        const TIniFile map("maps\\" + name + ".map");
        int kind[31][34], frame[31][34];
        for (int r = 0; r <= 30; ++r)
            for (int c = 0; c <= 33; ++c) {
                const std::string code =
                    map.ReadString("Map", "Tile" + std::to_string(r) + "-" + std::to_string(c), "");
                ASSERT_GE(code.size(), 3u) << r << "-" << c;
                kind[r][c] = code[0] - '0';
                frame[r][c] = std::stoi(code.substr(2));
                ASSERT_TRUE(kind[r][c] >= 0 && kind[r][c] <= 2) << r << "-" << c;
                ASSERT_LT(frame[r][c], CellCount(ground[kind[r][c]], 64, 48)) << "tile " << r << "-" << c;
            }
        // A seam is an edge where neighbouring tiles differ far more than pixels inside a tile do.
        int seams = 0;
        for (int r = 0; r <= 30; ++r)
            for (int c = 0; c <= 33; ++c) {
                if (c < 33) {
                    double across = 0, inside = 0;
                    for (int y = 0; y < 48; ++y) {
                        across += diff(pixel(kind[r][c], frame[r][c], 63, y),
                                       pixel(kind[r][c + 1], frame[r][c + 1], 0, y));
                        inside += diff(pixel(kind[r][c], frame[r][c], 31, y),
                                       pixel(kind[r][c], frame[r][c], 32, y));
                    }
                    if (across / 48 > std::max(24.0, 3 * inside / 48)) {
                        ++seams;
                        ADD_FAILURE() << "seam right of tile " << r << "-" << c << ": " << across / 48;
                    }
                }
                if (r < 30) {
                    double across = 0, inside = 0;
                    for (int x = 0; x < 64; ++x) {
                        across += diff(pixel(kind[r][c], frame[r][c], x, 47),
                                       pixel(kind[r + 1][c], frame[r + 1][c], x, 0));
                        inside += diff(pixel(kind[r][c], frame[r][c], x, 23),
                                       pixel(kind[r][c], frame[r][c], x, 24));
                    }
                    if (across / 64 > std::max(24.0, 3 * inside / 64)) {
                        ++seams;
                        ADD_FAILURE() << "seam below tile " << r << "-" << c << ": " << across / 64;
                    }
                }
                if (seams > 10) return;
            }
    }
}
