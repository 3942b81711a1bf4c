// The map's items and squares: ownership, the drawing order kept sorted without a per-frame
// sort, the square grid's bounds, the camera, the frame's update and draw, and the path grid.
#include "world/Map.h"

#include "path/GamePath.h"
#include "world/Weapons.h"

#include <algorithm>
#include <deque>
#include <limits>

namespace {

// Restores an item to the drawing order (and its square) when its Move throws, so the map
// stays whole for whoever handles the error.
class TReinsertGuard {
public:
    TReinsertGuard(TBaseMap& map, TBaseItem& item) : Map(map), Item(item) {}
    ~TReinsertGuard() { Map.InsertSorted(Item); }
    TReinsertGuard(const TReinsertGuard&) = delete;
    TReinsertGuard& operator=(const TReinsertGuard&) = delete;

private:
    TBaseMap& Map;
    TBaseItem& Item;
};

} // namespace

TBaseMap::TBaseMap() = default;

// Items go before the path grid and handlers; none of them reaches back into the map.
TBaseMap::~TBaseMap() {
    DrawOrder.clear();
    ItemList.clear();
}

void TBaseMap::AddItem(std::unique_ptr<TBaseItem> item) {
    TBaseItem& added = *item;
    ItemList.push_back(std::move(item));
    InsertSorted(added);
}

std::unique_ptr<TBaseItem> TBaseMap::Remove(TBaseItem& item) {
    const auto owned =
        std::find_if(ItemList.begin(), ItemList.end(), [&](const auto& held) { return held.get() == &item; });
    if (owned == ItemList.end()) return nullptr;
    RemoveFromDrawList(item);
    // An item moved while on the map may still hold the square it marked before; it must
    // hold none once it leaves, or the grid would keep naming it after it is freed.
    for (size_t i = 0; i < Squares.size(); ++i) {
        if (Squares[i].Occupant != &item) continue;
        Squares[i].Occupant = nullptr;
        Squares[i].Passability = Water[i] ? kSquareWater : kSquareFree;
    }
    std::unique_ptr<TBaseItem> released = std::move(*owned);
    ItemList.erase(owned);
    return released;
}

void TBaseMap::InsertSorted(TBaseItem& item) {
    // The first position whose foot y is not smaller: an item is drawn before the items
    // already there with the same foot y.
    int32_t low = 0;
    int32_t high = static_cast<int32_t>(DrawOrder.size()) - 1;
    const int32_t footY = item.FootY();
    while (high >= low) {
        const int32_t mid = (low + high) / 2;
        if (DrawOrder[static_cast<size_t>(mid)]->FootY() < footY)
            low = mid + 1;
        else
            high = mid - 1;
    }
    DrawOrder.insert(DrawOrder.begin() + low, &item);
    item.SetMap(this);
    item.SetPassable(kSquareSolid);
}

void TBaseMap::RemoveFromDrawList(TBaseItem& item) {
    item.SetPassable(kSquareFree);
    // Items only change their foot y while out of the list, so the search by foot y finds it;
    // one moved in place anyway is still found by the full scan.
    auto at =
        std::lower_bound(DrawOrder.begin(), DrawOrder.end(), item.FootY(),
                         [](const TBaseItem* listed, int32_t footY) { return listed->FootY() < footY; });
    while (at != DrawOrder.end() && *at != &item && (*at)->FootY() == item.FootY())
        ++at;
    if (at == DrawOrder.end() || *at != &item) at = std::find(DrawOrder.begin(), DrawOrder.end(), &item);
    if (at != DrawOrder.end()) DrawOrder.erase(at);
}

void TBaseMap::SetSquare(int32_t x, int32_t y, int32_t value, TBaseItem* item) {
    // Division truncates toward zero, so x from -31 to -1 still writes column 0. The last
    // column and row are never written (reads reach them).
    const int32_t column = x / kSquareWidth;
    const int32_t row = y / kSquareHeight;
    if (column < 0 || row < 0 || column > kSquareColumns - 2 || row > kSquareRows - 2) return;
    TSquare& square = SquareAt(column, row);
    if (square.Occupant != nullptr && square.Occupant != item) return;
    // Freeing a square gives back what the ground is there, so water stays water after a
    // water-walking fighter or a pickup has left it.
    if (value == kSquareFree && Water[Index(column, row)]) value = kSquareWater;
    square.Passability = value;
    square.Occupant = value == kSquareFree || value == kSquareWater ? nullptr : item;
}

const TSquare& TBaseMap::GetSquare(int32_t x, int32_t y) const {
    const int32_t column = x / kSquareWidth;
    const int32_t row = y / kSquareHeight;
    if (column < 0 || row < 0 || column >= kSquareColumns || row >= kSquareRows) return SquareAt(0, 0);
    return SquareAt(column, row);
}

std::optional<std::pair<int32_t, int32_t>> TBaseMap::NearestFreeSquare(int32_t column, int32_t row) const {
    // A fighter's foot point stays within the item limits: columns 0..59, rows 0..63.
    constexpr int32_t kLastColumn = kSquareColumns - 3;
    constexpr int32_t kLastRow = kSquareRows - 3;
    column = std::clamp(column, 0, kLastColumn);
    row = std::clamp(row, 0, kLastRow);
    std::vector<bool> seen(Squares.size(), false);
    std::deque<std::pair<int32_t, int32_t>> queue{{column, row}};
    seen[Index(column, row)] = true;
    while (!queue.empty()) {
        const auto [c, r] = queue.front();
        queue.pop_front();
        if (SquareAt(c, r).Passability == kSquareFree) return std::pair{c, r};
        for (const auto& [dc, dr] : {std::pair{0, -1}, std::pair{1, 0}, std::pair{0, 1}, std::pair{-1, 0}}) {
            const int32_t nc = c + dc;
            const int32_t nr = r + dr;
            if (nc < 0 || nr < 0 || nc > kLastColumn || nr > kLastRow || seen[Index(nc, nr)]) continue;
            seen[Index(nc, nr)] = true;
            queue.emplace_back(nc, nr);
        }
    }
    return std::nullopt;
}

void TBaseMap::SetViewX(int32_t x) {
    x = std::clamp(x, 0, kMaxViewX);
    ViewXValue = x;
    if (x / kTileWidth != TileColValue) {
        GroundDirtyValue = true;
        TileColValue = x / kTileWidth;
    }
}

void TBaseMap::SetViewY(int32_t y) {
    y = std::clamp(y, 0, kMaxViewY);
    ViewYValue = y;
    if (y / kTileHeight != TileRowValue) {
        GroundDirtyValue = true;
        TileRowValue = y / kTileHeight;
    }
}

void TBaseMap::CenterOnFollowed() {
    if (Followed == nullptr) return;
    const TViewPoint view = AimCamera(Followed, Partner);
    SetViewX(view.X);
    SetViewY(view.Y);
}

void TBaseMap::Update() {
    // The count is read again on every pass: a missile launched during the loop moves in the
    // same frame.
    for (size_t index = 0; index < ItemList.size(); ++index) {
        TBaseItem& item = *ItemList[index];
        if (item.Speed() == 0) continue;
        if (PlayMode == 2) {
            const auto* mover = dynamic_cast<const TMoveItem*>(&item);
            if (mover != nullptr && mover->ScriptDriven()) continue;
        }
        RemoveFromDrawList(item);
        const TReinsertGuard reinsert(*this, item);
        item.Move();
    }
    CenterOnFollowed();
    for (size_t index = ItemList.size(); index-- > 0;) {
        const auto* missile = dynamic_cast<const TWeapon*>(ItemList[index].get());
        if (missile == nullptr || !missile->Done) continue;
        RemoveFromDrawList(*ItemList[index]);
        ItemList.erase(ItemList.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void TBaseMap::Draw() {
    for (TBaseItem* item : DrawOrder)
        item->Draw();
}

const TMapTile& TBaseMap::Tile(int32_t row, int32_t column) const {
    if (row < 0 || row >= kTileRows || column < 0 || column >= kTileColumns) throw std::out_of_range("tile");
    return Tiles[static_cast<size_t>(row) * kTileColumns + static_cast<size_t>(column)];
}

int32_t TBaseMap::FindPath(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY,
                           std::unique_ptr<TPath>& path) {
    if (PathFinder == nullptr) PathFinder = std::make_unique<TPathFinding>(kSquareColumns, kSquareRows);
    // Only free squares are walkable: water, pickups, buildings and both fighters block.
    for (int32_t column = 0; column < kSquareColumns; ++column) {
        const std::span<int32_t> walkable = PathFinder->Walkable.Column(column);
        for (int32_t row = 0; row < kSquareRows; ++row)
            walkable[static_cast<size_t>(row)] = SquareAt(column, row).Passability == kSquareFree ? 1 : 0;
    }
    PathFinder->Search(fromX, fromY, toX, toY, path);
    return PathFinder->Expansions() + kSquareColumns * kSquareRows / 16;
}
