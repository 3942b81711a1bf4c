// The route search and its walk-back over the recorded costs.
#include "path/GamePath.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <stdexcept>

namespace {

// Neighbours in the fixed order the search and the walk-back try them; the order decides
// between equally good squares, so it is part of the result.
struct TNeighbour {
    int32_t Dx, Dy, Cost;
};
constexpr TNeighbour kNeighbours[8] = {
    {-1, -1, 14}, {0, -1, 10}, {1, -1, 14}, {-1, 0, 10}, {1, 0, 10}, {-1, 1, 14}, {0, 1, 10}, {1, 1, 14},
};
// [dy + 1][dx + 1] -> neighbour index; the centre is no neighbour.
constexpr int kNeighbourAt[3][3] = {{0, 1, 2}, {3, -1, 4}, {5, 6, 7}};

// The estimate adds five per square of straight distance to the cost so far.
constexpr int32_t kEstimateWeight = 5;
// During the walk-back the start square costs less than any reached square (at least 10),
// so the walk always ends there; costs at or above the ceiling are never stepped on.
constexpr int32_t kStartMark = 5;
constexpr int32_t kCostCeiling = 99999;

// A reached square's cost grows by at most 14 per expansion, and the estimate adds at most
// five times the grid's width plus height, so the open list's keys stay below the limit of
// its numeric order.
constexpr int64_t kMaxCost = int64_t{14} * (TPathFinding::kMaxExpansions + 1);
static_assert(kMaxCost + int64_t{kEstimateWeight} * 2 * TOpenOrder::kCoordinateLimit <
              TOpenOrder::kEstimateLimit);

// The working grid with its border is indexed with int32_t.
constexpr int64_t kMaxBorderedSquares = int64_t{1} << 24;

} // namespace

TWalkableGrid::TWalkableGrid(int32_t columns, int32_t rows) : ColumnCount(columns), RowCount(rows) {
    if (columns < 1 || rows < 1 || columns > TOpenOrder::kCoordinateLimit ||
        rows > TOpenOrder::kCoordinateLimit || int64_t{columns + 2} * int64_t{rows + 2} > kMaxBorderedSquares)
        throw std::invalid_argument("Invalid Grid Size");
    Cells.assign(static_cast<size_t>(columns) * static_cast<size_t>(rows), 0);
}

void TWalkableGrid::Set(int32_t x, int32_t y, bool walkable) {
    if (!Contains(x, y)) throw std::out_of_range("Square outside the grid");
    Cells[static_cast<size_t>(x) * RowCount + y] = walkable ? 1 : 0;
}

bool TWalkableGrid::IsWalkable(int32_t x, int32_t y) const {
    if (!Contains(x, y)) throw std::out_of_range("Square outside the grid");
    return Cells[static_cast<size_t>(x) * RowCount + y] != 0;
}

void TWalkableGrid::Fill(bool walkable) {
    std::fill(Cells.begin(), Cells.end(), walkable ? 1 : 0);
}

TPathFinding::TPathFinding(int32_t columns, int32_t rows)
    : Walkable(columns, rows), Stride(rows + 2), Order(std::max(columns, rows)) {
    Costs.assign(static_cast<size_t>(columns + 2) * static_cast<size_t>(Stride), 0);
    for (int i = 0; i < 8; ++i)
        Offsets[i] = kNeighbours[i].Dx * Stride + kNeighbours[i].Dy;
}

void TPathFinding::Search(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY,
                          std::unique_ptr<TPath>& path) {
    if (!path) path = std::make_unique<TPath>();
    if (!Walkable.Contains(fromX, fromY) || !Walkable.Contains(toX, toY)) {
        LastExpansions = 0;
        path->Clear();
        return;
    }
    FromX = fromX;
    FromY = fromY;
    ToX = toX;
    ToY = toY;
    // The border stays 0 from construction; only the inner squares are copied.
    for (int32_t x = 0; x < Walkable.Columns(); ++x)
        std::ranges::copy(Walkable.Column(x), Costs.begin() + Index(x, 0));
    Open.Clear();

    bool found = false;
    int32_t expansions = 0;
    for (; !found && expansions < kMaxExpansions; ++expansions) {
        if (expansions == 0) {
            found = Expand(fromX, fromY, true);
            continue;
        }
        if (Open.Empty()) break;
        const uint64_t key = Open.TakeFirst();
        const int32_t x = Order.KeyX(key), y = Order.KeyY(key);
        // The start square may come round again from a neighbour; it still counts from 0.
        found = Expand(x, y, x == fromX && y == fromY);
    }
    LastExpansions = expansions;
    if (found) Reconstruct(*path);
}

bool TPathFinding::Expand(int32_t x, int32_t y, bool isStart) {
    const int32_t square = Index(x, y);
    const int32_t g = isStart ? 0 : Costs[square];
    // Which of the neighbours (bit i for neighbour i) may be stepped to: the straight ones
    // always, a diagonal one only when both squares beside the step are walkable, so a route
    // never cuts the corner of a blocked square. Worked out without branches, since whether a
    // neighbour is free is a coin toss for the processor.
    const uint32_t up = Costs[square - 1] != 0, down = Costs[square + 1] != 0;
    const uint32_t left = Costs[square - Stride] != 0, right = Costs[square + Stride] != 0;
    const uint32_t allowed =
        0b01011010u | (left & up) << 0 | (right & up) << 2 | (left & down) << 5 | (right & down) << 7;
    uint32_t fresh = 0;
    for (int i = 0; i < 8; ++i)
        fresh |= static_cast<uint32_t>(Costs[square + Offsets[i]] == 1) << i;
    fresh &= allowed;
    // Neighbours before the goal in table order are still opened when the goal is seen; the
    // walk-back reads their costs.
    bool found = false;
    const int32_t gx = ToX - x, gy = ToY - y;
    if (gx >= -1 && gx <= 1 && gy >= -1 && gy <= 1 && (gx != 0 || gy != 0)) {
        const int goal = kNeighbourAt[gy + 1][gx + 1];
        if (allowed >> goal & 1) {
            found = true;
            fresh &= (1u << goal) - 1;
        }
    }
    for (; fresh != 0; fresh &= fresh - 1) {
        const int i = std::countr_zero(fresh);
        const TNeighbour& step = kNeighbours[i];
        const int32_t nx = x + step.Dx, ny = y + step.Dy;
        const int32_t cost = g + step.Cost;
        Costs[square + Offsets[i]] = cost;
        const int32_t estimate = cost + kEstimateWeight * (std::abs(nx - ToX) + std::abs(ny - ToY));
        Open.Add(Order.Key(estimate, nx, ny));
    }
    return found;
}

void TPathFinding::Reconstruct(TPath& path) {
    path.Clear();
    path.AddFirst(ToX, ToY);
    Costs[Index(FromX, FromY)] = kStartMark;
    int32_t cx = ToX, cy = ToY;
    int previous = -1;
    while (cx != FromX || cy != FromY) {
        const int32_t square = Index(cx, cy);
        int chosen = -1;
        int32_t chosenCost = 0;
        for (int i = 0; i < 8; ++i) {
            const TNeighbour& step = kNeighbours[i];
            const bool allowed = step.Dx == 0 || step.Dy == 0 ||
                                 (Costs[square + step.Dx * Stride] != 0 && Costs[square + step.Dy] != 0);
            if (!allowed) continue;
            const int32_t cost = Costs[square + Offsets[i]];
            if (cost > 1 && cost < kCostCeiling && (chosen < 0 || cost < chosenCost)) {
                chosen = i;
                chosenCost = cost;
            }
        }
        if (chosen < 0) {
            path.Clear();
            return;
        }
        cx += kNeighbours[chosen].Dx;
        cy += kNeighbours[chosen].Dy;
        // Keep only the ends of each straight run: a step in the same direction as the one
        // before moves the run's end instead of adding a step.
        if (chosen == previous)
            path.StepAt(0) = TPathStep{cx, cy};
        else
            path.AddFirst(cx, cy);
        if (path.Count() >= kMaxSteps) break;
        previous = chosen;
    }
    if (path.Count() >= kMaxSteps) path.Clear();
}
