// Walls that a fighter slides along, a PASSWALL that ends inside a building, and the map
// list's entry for a map path.
#include "PlayersFixture.h"

namespace {

using FieldFaults = PlayersFixture;

// A building on one square, given by column and row.
void AddWall(TBaseMap& map, int32_t column, int32_t row) {
    auto wall = std::make_unique<TObstruction>();
    wall->SetX(static_cast<float>(column * 32 + 16));
    wall->SetY(static_cast<float>(row * 24 + 12));
    map.Add(std::move(wall));
}

TEST_F(FieldFaults, ABlockedDiagonalStepSlidesAlongTheWall) {
    struct TCase {
        std::vector<int> Keys;
        std::vector<std::pair<int32_t, int32_t>> Walls; // columns and rows
        int32_t ColumnWay;                               // -1, 0 or 1: where the foot's square goes
        int32_t RowWay;
    };
    // The fighter's foot starts on square (10, 15), at (348, 370), and walks 1.2 s (46 pixels
    // on each axis).
    const TCase cases[] = {
        {{kRight, kDown}, {{11, 15}, {11, 16}, {11, 17}}, 0, 1},   // wall to the right
        {{kRight, kDown}, {{10, 16}, {11, 16}, {12, 16}}, 1, 0},   // wall below
        {{kLeft, kUp}, {{9, 13}, {9, 14}, {9, 15}}, 0, -1},        // wall to the left
        {{kRight, kDown}, {{11, 15}, {10, 16}, {11, 16}}, 0, 0},   // a corner stops it
        {{kRight, kDown}, {}, 1, 1},                               // open field
    };
    const auto way = [](int32_t from, int32_t to) { return to > from ? 1 : to < from ? -1 : 0; };
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.ColumnWay << "," << c.RowWay << " walls " << c.Walls.size());
        Map = std::make_unique<TBaseMap>();
        ClearKeyState();
        for (const auto& [column, row] : c.Walls)
            AddWall(*Map, column, row);
        TPlayer& player = AddPlayer(300, 300);
        for (const int key : c.Keys)
            Hold(key);
        for (int i = 0; i < 60; ++i)
            Step(20);
        EXPECT_EQ(way(10, player.FootX() / 32), c.ColumnWay) << player.FootX();
        EXPECT_EQ(way(15, player.FootY() / 24), c.RowWay) << player.FootY();
    }
}

TEST_F(FieldFaults, APassWallEndingInsideABuildingMovesTheFighterToTheNearestFreeSquare) {
    // A ruin of 3 by 2 squares (columns 9..11, rows 14..15) around the fighter's foot square
    // (10, 15); below it square (10, 16) is free, one step away.
    auto ruin = std::make_unique<TObstruction>();
    ruin->BlockLR = 1;
    ruin->BlockU = 1;
    ruin->SetX(10 * 32 + 16);
    ruin->SetY(15 * 24 + 12);
    Map->Add(std::move(ruin));
    TPlayer& player = AddPlayer(300, 300);
    player.Abilities(kPassWall).Active = true;
    player.Abilities(kPassWall).Expiry = Now() + 100;
    Step(50);
    EXPECT_EQ(player.FootY() / 24, 15) << "still passing walls";
    Step(100);
    EXPECT_FALSE(player.Abilities(kPassWall).Active);
    EXPECT_EQ(player.FootX() / 32, 10);
    EXPECT_EQ(player.FootY() / 24, 16);
    EXPECT_EQ(Map->GetSquare(player.FootX(), player.FootY()).Occupant, &player);
    // Free again: it walks, and a missile reaches it.
    Hold(kDown);
    Step(20);
    Step(200);
    EXPECT_EQ(player.FootY() / 24, 16);
    EXPECT_GT(player.Y(), 10 * 24.0f + 12 - 70 + 24);
}

TEST_F(FieldFaults, AFighterWalledInOnEverySideGoesToTheNearestFreeSquareFoundBreadthFirst) {
    // Squares are free except a block of 5 by 5 around (20, 20); the nearest free squares are
    // three steps away.
    for (int32_t column = 18; column <= 22; ++column)
        for (int32_t row = 18; row <= 22; ++row)
            Map->SetSquare(column * 32, row * 24, kSquareSolid, nullptr);
    const auto free = Map->NearestFreeSquare(20, 20);
    ASSERT_TRUE(free.has_value());
    EXPECT_EQ(std::abs(free->first - 20) + std::abs(free->second - 20), 3);
    EXPECT_EQ(Map->NearestFreeSquare(5, 5), std::pair(5, 5));
}

TEST(MapEntry, AMapPathGivesTheMapListsEntry) {
    EXPECT_EQ(MapEntryName("Maps\\Default.map"), "Default");
    EXPECT_EQ(MapEntryName("maps\\Ruins.MAP"), "Ruins");
    EXPECT_EQ(MapEntryName("Lake"), "Lake");
    EXPECT_EQ(MapEntryName(MapFileName("Forest")), "Forest");
    EXPECT_EQ(MapEntryName(""), "");
}

} // namespace
