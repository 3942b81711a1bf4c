// The route search's edge cases, each on a grid drawn as text.
#include "PathGrids.h"
#include "TextKeySearch.h"

#include <gtest/gtest.h>

using pathtest::DrawGrid;
using pathtest::Route;
using Steps = std::vector<TPathStep>;

TEST(PathSearch, StraightRunOnOpenGroundKeepsOnlyItsEnds) {
    TPathFinding finder;
    finder.Walkable.Fill(true);
    std::unique_ptr<TPath> path;
    finder.Search(0, 0, 3, 0, path);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(pathtest::Steps(*path), (Steps{{0, 0}, {3, 0}}));
}

// Equally cheap routes abound on open ground; the walk-back's neighbour order picks the one
// that leaves the start straight down, then runs diagonally and ends straight down again.
TEST(PathSearch, CornerToCornerOnTheOpenFieldTakesTheWalkBacksChoice) {
    TPathFinding finder;
    finder.Walkable.Fill(true);
    std::unique_ptr<TPath> path;
    finder.Search(0, 0, 61, 65, path);
    EXPECT_EQ(pathtest::Steps(*path), (Steps{{0, 0}, {0, 1}, {61, 62}, {61, 65}}));
    EXPECT_EQ(pathtest::Steps(*path), pathtest::TextKeySearch(finder.Walkable, 0, 0, 61, 65).Steps);
}

struct TRouteCase {
    const char* Name;
    std::vector<std::string> Grid;
    Steps Expected;
};

class PathRoutes : public testing::TestWithParam<TRouteCase> {};

TEST_P(PathRoutes, GivesTheCornerSquaresOfTheRoute) {
    auto grid = DrawGrid(GetParam().Grid);
    EXPECT_EQ(Route(*grid), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, PathRoutes,
    testing::Values(
        // The other fighter stands on the goal: the route still ends there.
        TRouteCase{"BlockedGoalBesideWalkableSquares", {"S..g", "...."}, {{0, 0}, {3, 0}}},
        TRouteCase{"BlockedGoalReachedOnlyFromBelow", {"S.#g#", "....."}, {{0, 0}, {1, 1}, {3, 1}, {3, 0}}},
        TRouteCase{"EnclosedGoalIsUnreachable", {".....", ".###.", ".#g#.", ".###.", "S...."}, {}},
        // Only the diagonal neighbours are free, and each diagonal would cut a blocked corner.
        TRouteCase{"GoalOpenOnlyDiagonallyIsUnreachable", {"S....", ".....", "..#..", ".#g#.", "..#.."}, {}},
        TRouteCase{"DiagonalBetweenTouchingBlocksIsNotTaken", {"S#", "#G"}, {}},
        TRouteCase{"DiagonalPastOneBlockGoesRoundIt", {"S.", "#G"}, {{0, 0}, {1, 0}, {1, 1}}},
        TRouteCase{"DiagonalPastOneBlockBelow", {"S#", ".G"}, {{0, 0}, {0, 1}, {1, 1}}},
        TRouteCase{"StartBesideTheGoal", {"SG"}, {{0, 0}, {1, 0}}},
        // The start re-enters the open list from its neighbour and is seen again as the goal.
        TRouteCase{"StartEqualsGoalGivesTheGoalAlone", {"...", ".S.", "..."}, {{1, 1}}},
        TRouteCase{"StartEqualsGoalInACorridor", {"#S."}, {{1, 0}}},
        TRouteCase{"StartWithoutWalkableNeighbourHasNoRoute", {"###", "#S#", "###", "..G"}, {}},
        // Among equal estimates the open list takes the square whose key text sorts first, so
        // column 10 is expanded before column 9 and the route runs through (7,2), not (6,3);
        // a numeric tie-break would give (2,3) (1,3) (1,1) (4,1) (6,3) (6,4) (8,4) (9,3) ...
        TRouteCase{"EqualEstimatesTakeColumnTenBeforeNine",
                   {"....#..#..#G..", "......#....#..", "..#.....#..#..", "#.S#...#......", "#..#.#....#..."},
                   {{2, 3},
                    {1, 3},
                    {1, 1},
                    {4, 1},
                    {5, 2},
                    {7, 2},
                    {7, 1},
                    {9, 1},
                    {9, 2},
                    {10, 3},
                    {12, 3},
                    {12, 0},
                    {11, 0}}}),
    [](const testing::TestParamInfo<TRouteCase>& info) { return std::string(info.param.Name); });
