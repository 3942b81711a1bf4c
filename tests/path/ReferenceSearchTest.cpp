// The route search against two references on random grids: the literal text-key search it
// must match step for step, and a plain flood fill that says which goals can be reached at all.
#include "PathGrids.h"
#include "TextKeySearch.h"

#include <deque>
#include <gtest/gtest.h>
#include <random>

namespace {

// Which squares can be entered from the start under the same moves: straight always, diagonal
// only past two walkable squares. The goal may be entered even when blocked.
bool Reachable(const TWalkableGrid& grid, TPathStep from, TPathStep to) {
    if (from == to) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if ((dx == 0) != (dy == 0) && grid.Contains(from.X + dx, from.Y + dy) &&
                    grid.IsWalkable(from.X + dx, from.Y + dy))
                    return true;
        return false; // a diagonal neighbour alone needs a walkable straight one beside it
    }
    auto walkable = [&](int32_t x, int32_t y) { return grid.Contains(x, y) && grid.IsWalkable(x, y); };
    std::vector<char> seen(static_cast<size_t>(grid.Columns() * grid.Rows()), 0);
    std::deque<TPathStep> queue{from};
    seen[from.X * grid.Rows() + from.Y] = 1;
    while (!queue.empty()) {
        const TPathStep at = queue.front();
        queue.pop_front();
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                if (dx == 0 && dy == 0) continue;
                if (dx != 0 && dy != 0 && !(walkable(at.X + dx, at.Y) && walkable(at.X, at.Y + dy))) continue;
                const TPathStep next{at.X + dx, at.Y + dy};
                if (next == to) return true;
                if (!walkable(next.X, next.Y) || seen[next.X * grid.Rows() + next.Y]) continue;
                seen[next.X * grid.Rows() + next.Y] = 1;
                queue.push_back(next);
            }
    }
    return false;
}

// Every run between two corner steps is straight or diagonal, crosses only walkable squares
// (the goal excepted) and never cuts the corner of a blocked square.
void ExpectSoundRoute(const TWalkableGrid& grid, const std::vector<TPathStep>& steps, TPathStep from,
                      TPathStep to) {
    ASSERT_FALSE(steps.empty());
    if (from == to) {
        EXPECT_EQ(steps, std::vector<TPathStep>{to});
        return;
    }
    EXPECT_EQ(steps.front(), from);
    EXPECT_EQ(steps.back(), to);
    for (size_t i = 0; i + 1 < steps.size(); ++i) {
        const int32_t dx = steps[i + 1].X - steps[i].X, dy = steps[i + 1].Y - steps[i].Y;
        ASSERT_TRUE(dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy)) << "run " << i;
        ASSERT_FALSE(dx == 0 && dy == 0) << "run " << i;
        const int32_t sx = (dx > 0) - (dx < 0), sy = (dy > 0) - (dy < 0);
        for (TPathStep at = steps[i]; !(at == steps[i + 1]);) {
            if (sx != 0 && sy != 0) {
                ASSERT_TRUE(grid.IsWalkable(at.X + sx, at.Y)) << "corner cut at " << at;
                ASSERT_TRUE(grid.IsWalkable(at.X, at.Y + sy)) << "corner cut at " << at;
            }
            at = {at.X + sx, at.Y + sy};
            if (!(at == to)) {
                ASSERT_TRUE(grid.IsWalkable(at.X, at.Y)) << "blocked square " << at;
            }
        }
    }
}

} // namespace

TEST(ReferenceSearch, RandomGridsMatchTheTextKeySearchAndTheFloodFill) {
    std::mt19937 rng(20261208);
    int found = 0, unreachable = 0;
    for (int trial = 0; trial < 300; ++trial) {
        TPathFinding finder;
        const uint32_t blockedPercent = 5 + trial % 45;
        for (int32_t x = 0; x < kPathColumns; ++x)
            for (int32_t y = 0; y < kPathRows; ++y)
                finder.Walkable.Set(x, y, rng() % 100 >= blockedPercent);
        auto square = [&] {
            return TPathStep{static_cast<int32_t>(rng() % kPathColumns),
                             static_cast<int32_t>(rng() % kPathRows)};
        };
        const TPathStep from = square();
        const TPathStep to = trial % 10 == 0 ? from : square();

        auto path = std::make_unique<TPath>();
        path->AddFirst(-7, -7); // shows whether the search touched the path
        finder.Search(from.X, from.Y, to.X, to.Y, path);
        const auto steps = pathtest::Steps(*path);
        const auto literal = pathtest::TextKeySearch(finder.Walkable, from.X, from.Y, to.X, to.Y);
        SCOPED_TRACE(testing::Message() << "trial " << trial << " from " << from << " to " << to);

        if (literal.Touched)
            ASSERT_EQ(steps, literal.Steps);
        else
            ASSERT_EQ(steps, (std::vector<TPathStep>{{-7, -7}}));
        // The grid has fewer squares than the expansion limit, so only the step cap can
        // turn a reachable goal into an empty route.
        ASSERT_EQ(literal.Touched, Reachable(finder.Walkable, from, to));
        if (literal.Touched && !steps.empty()) {
            ExpectSoundRoute(finder.Walkable, steps, from, to);
            ++found;
        } else if (!literal.Touched) {
            ++unreachable;
        }
    }
    // The densities must give both outcomes often enough for the comparison to mean anything.
    EXPECT_GT(found, 100);
    EXPECT_GT(unreachable, 20);
}
