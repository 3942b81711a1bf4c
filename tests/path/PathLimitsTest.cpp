// The route search's limits and what it leaves in the caller's path when it gives up.
#include "PathGrids.h"
#include "TextKeySearch.h"

#include <gtest/gtest.h>

using Steps = std::vector<TPathStep>;

namespace {

// A one-square-wide staircase from (0,0): right, down, right, down... Every square of it is
// a corner of the route, so a staircase of n squares gives a route of n steps.
TPathStep StairSquare(int32_t i) {
    return {(i + 1) / 2, i / 2};
}

std::unique_ptr<TPath> SearchStaircase(int32_t squares) {
    TPathFinding finder(130, 130);
    for (int32_t i = 0; i < squares; ++i)
        finder.Walkable.Set(StairSquare(i).X, StairSquare(i).Y, true);
    std::unique_ptr<TPath> path;
    const TPathStep goal = StairSquare(squares - 1);
    finder.Search(0, 0, goal.X, goal.Y, path);
    return path;
}

} // namespace

TEST(PathLimits, RouteOf249StepsIsKeptAnd250IsDiscarded) {
    const auto kept = SearchStaircase(249);
    ASSERT_EQ(kept->Count(), 249);
    EXPECT_EQ(kept->StepAt(0), (TPathStep{0, 0}));
    EXPECT_EQ(kept->StepAt(1), (TPathStep{1, 0}));
    EXPECT_EQ(kept->StepAt(248), StairSquare(248));
    EXPECT_EQ(SearchStaircase(250)->Count(), 0);
}

// On a single row the search walks away from the start one square per expansion; the start
// comes round once more (its key ties with that of column 4 and "0" sorts first), so the goal
// at column n - 1 is seen by expansion n.
TEST(PathLimits, GoalSeenOnThe10000thExpansionIsFoundAndOneLaterIsNot) {
    for (const int32_t columns : {10000, 10001}) {
        TPathFinding finder(columns, 1);
        finder.Walkable.Fill(true);
        std::unique_ptr<TPath> path;
        finder.Search(0, 0, columns - 1, 0, path);
        const auto literal = pathtest::TextKeySearch(finder.Walkable, 0, 0, columns - 1, 0);
        EXPECT_EQ(pathtest::Steps(*path), literal.Steps) << columns;
        if (columns == 10000)
            EXPECT_EQ(pathtest::Steps(*path), (Steps{{0, 0}, {9999, 0}}));
        else
            EXPECT_EQ(path->Count(), 0);
    }
}

TEST(PathLimits, SearchThatRunsDryLeavesThePassedPathAsItWas) {
    auto grid = pathtest::DrawGrid({"S#", "#G"});
    auto path = std::make_unique<TPath>();
    path->AddFirst(7, 8);
    TPath* const passed = path.get();
    grid->Finder.Search(0, 0, 1, 1, path);
    EXPECT_EQ(path.get(), passed);
    EXPECT_EQ(pathtest::Steps(*path), (Steps{{7, 8}}));
}

TEST(PathLimits, FoundRouteReplacesWhatThePathHeld) {
    auto grid = pathtest::DrawGrid({"S.G"});
    auto path = std::make_unique<TPath>();
    path->AddFirst(7, 8);
    grid->Finder.Search(0, 0, 2, 0, path);
    EXPECT_EQ(pathtest::Steps(*path), (Steps{{0, 0}, {2, 0}}));
}

TEST(PathLimits, StartOrGoalOutsideTheGridEmptiesThePath) {
    const struct {
        int32_t FromX, FromY, ToX, ToY;
    } cases[] = {{-1, 0, 5, 5}, {0, -1, 5, 5}, {62, 0, 5, 5}, {0, 66, 5, 5},
                 {5, 5, -1, 0}, {5, 5, 0, -1}, {5, 5, 62, 0}, {5, 5, 0, 66}};
    TPathFinding finder;
    finder.Walkable.Fill(true);
    for (const auto& c : cases) {
        auto path = std::make_unique<TPath>();
        path->AddFirst(1, 1);
        finder.Search(c.FromX, c.FromY, c.ToX, c.ToY, path);
        EXPECT_EQ(path->Count(), 0) << c.FromX << "," << c.FromY << " -> " << c.ToX << "," << c.ToY;
    }
    // The last squares inside are fine.
    std::unique_ptr<TPath> path;
    finder.Search(61, 65, 61, 0, path);
    EXPECT_EQ(pathtest::Steps(*path), (Steps{{61, 65}, {61, 0}}));
}

TEST(PathLimits, EachSearchStartsAfresh) {
    TPathFinding finder;
    finder.Walkable.Fill(true);
    std::unique_ptr<TPath> first, again;
    finder.Search(3, 4, 40, 50, first);
    finder.Search(10, 10, 11, 60, again);
    again.reset();
    finder.Search(3, 4, 40, 50, again);
    EXPECT_EQ(pathtest::Steps(*first), pathtest::Steps(*again));
}

TEST(PathLimits, GridSquaresOutsideAreRefused) {
    TWalkableGrid grid(62, 66);
    EXPECT_THROW(grid.Set(62, 0, true), std::out_of_range);
    EXPECT_THROW(grid.Set(0, -1, true), std::out_of_range);
    EXPECT_THROW((void)grid.IsWalkable(-1, 0), std::out_of_range);
    EXPECT_THROW(TPathFinding(0, 66), std::invalid_argument);
    EXPECT_THROW(TPathFinding(62, 65537), std::invalid_argument);
    EXPECT_THROW(TPathFinding(5000, 5000), std::invalid_argument);
    EXPECT_NO_THROW(TPathFinding(65536, 1));
}
