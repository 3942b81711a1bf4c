// Route search for the computer opponents: a best-first search over a grid of walkable squares
// that returns only the corner squares of the route. The map fills the grid; nothing here
// knows the map.
#pragma once

#include "path/OpenList.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <vector>

// The map's square grid: 62 columns (pixel x div 32) by 66 rows (pixel y div 24).
constexpr int32_t kPathColumns = 62;
constexpr int32_t kPathRows = 66;

struct TPathStep {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPathStep&, const TPathStep&) = default;
};

// A route from its first step (the start square) to its last (the goal).
class TPath {
public:
    [[nodiscard]] int32_t Count() const { return static_cast<int32_t>(Steps.size()); }
    // 0-based; throws std::out_of_range outside 0..Count() - 1.
    [[nodiscard]] const TPathStep& StepAt(int32_t index) const {
        return Steps.at(static_cast<size_t>(index));
    }
    [[nodiscard]] TPathStep& StepAt(int32_t index) { return Steps.at(static_cast<size_t>(index)); }
    void Clear() { Steps.clear(); }
    void AddFirst(int32_t x, int32_t y) { Steps.push_front(TPathStep{x, y}); }

private:
    std::deque<TPathStep> Steps;
};

// Which squares a route may cross, indexed by column and row; everything starts blocked.
class TWalkableGrid {
public:
    TWalkableGrid(int32_t columns, int32_t rows);

    [[nodiscard]] int32_t Columns() const { return ColumnCount; }
    [[nodiscard]] int32_t Rows() const { return RowCount; }
    [[nodiscard]] bool Contains(int32_t x, int32_t y) const {
        return x >= 0 && x < ColumnCount && y >= 0 && y < RowCount;
    }
    // Both throw std::out_of_range for a square outside the grid.
    void Set(int32_t x, int32_t y, bool walkable);
    [[nodiscard]] bool IsWalkable(int32_t x, int32_t y) const;
    void Fill(bool walkable);

    // Column x as one walkable flag (0 or 1) per row; x must lie inside the grid. The writable
    // form lets the map refill the grid before every search without a bounds test per square.
    [[nodiscard]] std::span<const int32_t> Column(int32_t x) const {
        return std::span(Cells).subspan(static_cast<size_t>(x) * RowCount, static_cast<size_t>(RowCount));
    }
    [[nodiscard]] std::span<int32_t> Column(int32_t x) {
        return std::span(Cells).subspan(static_cast<size_t>(x) * RowCount, static_cast<size_t>(RowCount));
    }

private:
    int32_t ColumnCount;
    int32_t RowCount;
    std::vector<int32_t> Cells; // [x][y], x outer
};

class TPathFinding {
public:
    // The map's grid by default; other sizes (up to 65536 a side and about 16 million squares)
    // serve tests and tools.
    explicit TPathFinding(int32_t columns = kPathColumns, int32_t rows = kPathRows);

    // Written by the map before every search: walkable only where the square is free.
    TWalkableGrid Walkable;

    // Finds a route from square (fromX, fromY) to (toX, toY). A missing path is created first.
    // On success the path lists the start, every square where the direction changes, and the
    // goal. The goal itself need not be walkable (it may hold the other fighter). When the
    // search runs dry or uses up its expansions the path is left as it was; when the walk-back
    // fails or the route has 250 steps or more it is emptied. A start or goal outside the grid
    // empties it too.
    void Search(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY, std::unique_ptr<TPath>& path);
    // The squares the last search expanded (0 for a start or goal outside the grid): the
    // measure of its work, which callers that bound their work charge.
    [[nodiscard]] int32_t Expansions() const { return LastExpansions; }

    // A search gives up after this many expansions.
    static constexpr int32_t kMaxExpansions = 10000;
    // Routes of this many corner steps or more are thrown away; the cap also ends a walk-back
    // that wanders between squares without reaching the start.
    static constexpr int32_t kMaxSteps = 250;

private:
    bool Expand(int32_t x, int32_t y, bool isStart);
    void Reconstruct(TPath& path);
    [[nodiscard]] int32_t Index(int32_t x, int32_t y) const { return (x + 1) * Stride + (y + 1); }

    // One search's working grid with a border of blocked squares around it, so that squares
    // just outside count as blocked without a bounds test: 0 blocked, 1 walkable and not yet
    // reached, above 1 the cost fixed when the square was first reached.
    std::vector<int32_t> Costs;
    int32_t Stride;     // rows plus the two border squares
    int32_t Offsets[8]; // neighbour index -> index step in Costs
    TOpenOrder Order;
    TOpenList Open;
    int32_t FromX = 0, FromY = 0, ToX = 0, ToY = 0;
    int32_t LastExpansions = 0;
};
