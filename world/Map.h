// The play field of one match: the ground tiles and their cached picture, the square grid,
// every item on the field (owned) with its drawing order, the camera, the map file loader and
// the item factories. Fighters and the path search only borrow the map.
#pragma once

#include "platform/IniFileCache.h"
#include "world/Camera.h"
#include "world/Items.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TArmor;
class TBasePlayer;
class TEquipment;
class TBriskImage;
class TMagicItem;
class TPath;
class TPathFinding;
class TPotion;
class TWeapon;

// The fighters' events: raised by a fighter when it is hurt (with the health the hit took) and
// when it strikes (with the weapon template it strikes with).
using THurtEvent = std::function<void(TBasePlayer& fighter, int32_t amount)>;
using TShootEvent = std::function<void(TBasePlayer& fighter, TWeapon& weapon)>;
// Raised by a fighter that has just taken an item from the map, before the item is equipped
// (a magic item is freed right after).
using TPickUpEvent = std::function<void(TBasePlayer& fighter, const TEquipment& item)>;

// Field geometry.
constexpr int32_t kTileWidth = 64;
constexpr int32_t kTileHeight = 48;
constexpr int32_t kTileRows = 34;
constexpr int32_t kTileColumns = 34;
constexpr int32_t kSquareWidth = 32;
constexpr int32_t kSquareHeight = 24;
constexpr int32_t kSquareColumns = 62;
constexpr int32_t kSquareRows = 66;
// The cached ground picture: 12 by 12 tiles from the camera's tile on, enough to cover the
// 640 by 480 screen at any sub-tile offset.
constexpr int32_t kGroundTiles = 12;

struct TSquare {
    int32_t Passability = kSquareFree;
    TBaseItem* Occupant = nullptr;
};

// A ground tile's code "g-f": ground kind g (one digit, an index into the ground pictures),
// any separator, frame f of that picture.
struct TMapTile {
    std::string Code;
};

// Where a tile code draws from: a code shorter than 3 characters draws as "0-1", a kind that is
// not a digit as kind 0, a frame that is not an integer as kind 0 frame 0.
struct TGroundCell {
    int32_t Kind = 0;
    int32_t Frame = 0;
};
[[nodiscard]] TGroundCell GroundCellOf(std::string_view code);

// The pickups a map file places are numbered by the map, from this id on in the order the file
// places them, so the same file loaded on two machines gives each item the same id whatever
// came before. Every other item (fighters, missiles, buildings) takes the sequence's ids, which
// stay far below.
constexpr int32_t kFirstMapItemId = 1 << 30;

// "arena" -> "Maps\arena.map": ".map" appended unless the name holds ".MAP" (any case), then
// "Maps\" put in front unless it holds "MAPS\".
[[nodiscard]] std::string MapFileName(std::string_view name);
// The map list's entry for a map name or path: "Maps\Default.map" -> "Default" (the folder and
// the extension dropped in any case); an entry stays as it is.
[[nodiscard]] std::string MapEntryName(std::string_view name);

class TBaseMap {
public:
    TBaseMap();
    virtual ~TBaseMap();
    TBaseMap(const TBaseMap&) = delete;
    TBaseMap& operator=(const TBaseMap&) = delete;

    // Moves every moving item, follows the camera's item and frees finished missiles.
    virtual void Update();
    // Draws every item from back (smallest foot y) to front.
    virtual void Draw();

    // The map takes the item over: it is sorted into the drawing order, appended to the update
    // order and marks its square.
    template <class T> T& Add(std::unique_ptr<T> item) {
        T& added = *item;
        AddItem(std::move(item));
        return added;
    }
    // Clears the item's square and hands it back; nullptr when the map does not hold it.
    std::unique_ptr<TBaseItem> Remove(TBaseItem& item);
    // Sorted in before the first item whose foot y is not smaller, so among equal foot y the
    // newest is drawn first; then the item marks its square.
    void InsertSorted(TBaseItem& item);
    // Clears the item's square and takes it out of the drawing order only.
    void RemoveFromDrawList(TBaseItem& item);

    // Square (x div 32, y div 24) := value held by item, unless another item holds it. Writes
    // reach columns 0..60 and rows 0..64 only; anything else is ignored.
    void SetSquare(int32_t x, int32_t y, int32_t value, TBaseItem* item);
    // Square (x div 32, y div 24) of the whole grid; outside it, square (0, 0).
    [[nodiscard]] const TSquare& GetSquare(int32_t x, int32_t y) const;
    // The free square (column, row) nearest to square (column, row) by steps across square
    // sides, searched breadth-first among the squares a fighter's foot point can reach;
    // nothing when none is free.
    [[nodiscard]] std::optional<std::pair<int32_t, int32_t>> NearestFreeSquare(int32_t column, int32_t row) const;

    void SetViewX(int32_t x);
    void SetViewY(int32_t y);
    // The camera follows item; partner, when given, is kept in view with it while both fit.
    void SetFollowed(TBaseItem* item, TBaseItem* partner = nullptr) {
        Followed = item;
        Partner = partner;
    }
    void CenterOnFollowed();

    // Renders the 12 by 12 tiles from the camera's tile on into the top left of target (the
    // game's ground buffer) and clears GroundDirty.
    void DrawGround(TBriskImage& target);
    // The same picture for a target that holds what DrawGround or ScrollGround last rendered for
    // this map: the tiles still in view are moved and only the uncovered tile rows and columns
    // are rendered, since a walking camera crosses a tile every few frames. A first rendering,
    // another target or a move of 12 tiles or more renders all.
    void ScrollGround(TBriskImage& target);

    // Loads a map file ("arena" finds Maps\arena.map) with its tiles, water, items and
    // buildings. A map that declares a water kind must give every tile a well-formed code;
    // otherwise EWorldError names the file and the tile key.
    void LoadFromFile(std::string_view fileName);

    // Item factories: each builds an item placed at world (x, y) (its top-left corner), not yet
    // on the map; Add puts it there. An unknown equipment kind gives nullptr.
    [[nodiscard]] std::unique_ptr<TEquipment> CreateEquipment(std::string_view kind, std::string_view name,
                                                              int32_t x, int32_t y);
    [[nodiscard]] std::unique_ptr<TMagicItem> CreateMagicItem(std::string_view form, std::string_view element,
                                                              int32_t x, int32_t y);
    [[nodiscard]] std::unique_ptr<TPotion> CreatePotion(std::string_view kind, int32_t x, int32_t y);
    [[nodiscard]] std::unique_ptr<TWeapon> CreateWeapon(std::string_view name, int32_t x, int32_t y);
    // A building from "data\" + name + ".bld", always added to the map.
    TObstruction& CreateObstruction(std::string_view name, int32_t x, int32_t frame, int32_t y);

    // A route between two squares (column, row) over the free squares of the grid; the goal
    // itself may be taken. An empty or missing path is filled; see TPathFinding::Search.
    // Returns the work it took in the measure of a script step: one per square expanded, and
    // one per 16 squares of the grid refilled before the search.
    int32_t FindPath(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY, std::unique_ptr<TPath>& path);

    void SetOnHurt(THurtEvent handler) { OnHurt = std::move(handler); }
    void SetOnShoot(TShootEvent handler) { OnShoot = std::move(handler); }

    [[nodiscard]] int32_t ViewX() const { return ViewXValue; }
    [[nodiscard]] int32_t ViewY() const { return ViewYValue; }
    [[nodiscard]] int32_t TileRow() const { return TileRowValue; }
    [[nodiscard]] int32_t TileCol() const { return TileColValue; }
    [[nodiscard]] bool GroundDirty() const { return GroundDirtyValue; }
    [[nodiscard]] TBaseItem* FollowedItem() const { return Followed; }
    // The update order (insertion order) and the drawing order (ascending foot y).
    [[nodiscard]] const std::vector<std::unique_ptr<TBaseItem>>& Items() const { return ItemList; }
    [[nodiscard]] const std::vector<TBaseItem*>& DrawList() const { return DrawOrder; }
    // Throws std::out_of_range outside 34 by 34.
    [[nodiscard]] const TMapTile& Tile(int32_t row, int32_t column) const;

    // Ground pictures by kind: 0 "PlainGround", 1 "WaterGround", 2 "BrownGround".
    std::array<TBriskImage*, 3> GroundImages{};
    // Fighter starts as the map file gives them; the game swaps the axes when it places them.
    int32_t StartX0 = 300;
    int32_t StartY0 = 380;
    int32_t StartX1 = 250;
    int32_t StartY1 = 350;
    std::array<TBasePlayer*, 2> Players{};
    int32_t PlayMode = 0; // 0 local, 1 server, 2 client

private:
    void AddItem(std::unique_ptr<TBaseItem> item);
    void LoadTiles(const TIniFile& file, const std::string& fileName);
    void LoadItems(const TIniFile& file);
    // Renders the tiles of the cached picture in columns [firstColumn, endColumn) and rows
    // [firstRow, endRow), counted from the camera's tile.
    void DrawGroundTiles(TBriskImage& target, int32_t firstColumn, int32_t endColumn, int32_t firstRow,
                         int32_t endRow);
    [[nodiscard]] static size_t Index(int32_t column, int32_t row) {
        return static_cast<size_t>(column) * kSquareRows + static_cast<size_t>(row);
    }
    [[nodiscard]] TSquare& SquareAt(int32_t column, int32_t row) { return Squares[Index(column, row)]; }
    [[nodiscard]] const TSquare& SquareAt(int32_t column, int32_t row) const {
        return Squares[Index(column, row)];
    }

    int32_t ViewXValue = 0;
    int32_t ViewYValue = 0;
    std::vector<std::unique_ptr<TBaseItem>> ItemList;
    int32_t TileRowValue = 0;
    int32_t TileColValue = 0;
    bool GroundDirtyValue = true;
    // The target and camera tile of the last ground rendering, which ScrollGround moves on from.
    const TBriskImage* GroundTarget = nullptr;
    int32_t GroundTileRow = 0;
    int32_t GroundTileCol = 0;
    TBaseItem* Followed = nullptr;
    TBaseItem* Partner = nullptr;
    std::vector<TBaseItem*> DrawOrder;
    std::array<TMapTile, kTileRows * kTileColumns> Tiles;
    std::array<TSquare, kSquareColumns * kSquareRows> Squares{}; // [column][row]
    // The squares the map file makes water; a freed square returns to water there.
    std::array<bool, kSquareColumns * kSquareRows> Water{};
    std::unique_ptr<TPathFinding> PathFinder;
    THurtEvent OnHurt;
    TShootEvent OnShoot;
    // The data files the factories read: while LoadFromFile runs, each once for all its entries.
    TIniFileCache DataFiles;
};
