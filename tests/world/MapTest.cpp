// The map's drawing order, square grid, camera, update and the path grid it hands the search.
#include "WorldFixture.h"
#include "path/GamePath.h"

#include <gtest/gtest.h>

namespace {

class TPlainItem : public TBaseItem {};

// Moves down by Step pixels each update.
class TFaller : public TBaseItem {
public:
    explicit TFaller(float step) : Step(step) { SetSpeed(1); }
    void Move() override { SetY(Y() + Step); }
    float Step;
};

TBaseItem& AddAt(TBaseMap& map, float x, float footY) {
    auto item = std::make_unique<TPlainItem>();
    item->SetX(x);
    item->SetY(footY);
    return map.Add(std::move(item));
}

class MapTest : public WorldTest {};

TEST_F(MapTest, NewItemsDrawBeforeItemsWithTheSameFootY) {
    TBaseMap map;
    TBaseItem& first = AddAt(map, 0, 100);
    TBaseItem& second = AddAt(map, 40, 50);
    TBaseItem& third = AddAt(map, 80, 100);
    const std::vector<TBaseItem*> expected{&second, &third, &first};
    EXPECT_EQ(map.DrawList(), expected);
    ASSERT_EQ(map.Items().size(), 3U);
    EXPECT_EQ(map.Items()[0].get(), &first);
    EXPECT_EQ(third.Map(), &map);
}

TEST_F(MapTest, UpdateResortsMovedItemsWithoutLosingAny) {
    TBaseMap map;
    TBaseItem& still = AddAt(map, 0, 100);
    auto faller = std::make_unique<TFaller>(60);
    faller->SetY(60);
    TFaller& moving = map.Add(std::move(faller));
    EXPECT_EQ(map.DrawList().front(), &moving);
    map.Update();
    EXPECT_EQ(moving.FootY(), 120);
    const std::vector<TBaseItem*> expected{&still, &moving};
    EXPECT_EQ(map.DrawList(), expected);
    // The moved item holds its new square and no longer its old one.
    EXPECT_EQ(map.GetSquare(0, 120).Occupant, &moving);
    EXPECT_EQ(map.GetSquare(0, 60).Occupant, nullptr);
}

TEST_F(MapTest, SquareWritesKeepTheirHolder) {
    TBaseMap map;
    TPlainItem a;
    TPlainItem b;
    map.SetSquare(40, 30, kSquareSolid, &a);
    EXPECT_EQ(SquaresText(map, 0, 0, 2, 2), "...\n.#.\n...\n");
    map.SetSquare(45, 40, kSquareSolid, &b);
    EXPECT_EQ(map.GetSquare(40, 30).Occupant, &a);
    map.SetSquare(45, 40, kSquareFree, &b);
    EXPECT_EQ(map.GetSquare(40, 30).Passability, kSquareSolid);
    map.SetSquare(40, 30, kSquareFree, &a);
    EXPECT_EQ(map.GetSquare(40, 30).Passability, kSquareFree);
    EXPECT_EQ(map.GetSquare(40, 30).Occupant, nullptr);
}

TEST_F(MapTest, SquareWritesStayInsideTheGrid) {
    struct TCase {
        int32_t X;
        int32_t Y;
        bool Written;
        int32_t Column;
        int32_t Row;
    };
    // Writes reach columns 0..60 and rows 0..64; division truncates toward zero.
    const TCase cases[] = {
        {-1, 0, true, 0, 0},         {-31, -23, true, 0, 0},      {-32, 0, false, 0, 0},
        {0, -24, false, 0, 0},       {1951, 0, true, 60, 0},      {1952, 0, false, 61, 0},
        {0, 1559, true, 0, 64},      {0, 1560, false, 0, 65},     {INT32_MAX, 0, false, 0, 0},
        {INT32_MIN, 0, false, 0, 0}, {0, INT32_MAX, false, 0, 0},
    };
    for (const TCase& c : cases) {
        TBaseMap map;
        TPlainItem item;
        map.SetSquare(c.X, c.Y, kSquareSolid, &item);
        int32_t marked = 0;
        for (int32_t column = 0; column < kSquareColumns; ++column)
            for (int32_t row = 0; row < kSquareRows; ++row)
                marked += map.GetSquare(column * 32, row * 24).Occupant == &item;
        EXPECT_EQ(marked, c.Written ? 1 : 0) << c.X << "," << c.Y;
        if (c.Written) {
            EXPECT_EQ(map.GetSquare(c.Column * 32, c.Row * 24).Occupant, &item) << c.X << "," << c.Y;
        }
    }
}

TEST_F(MapTest, SquareReadsCoverTheWholeGridAndAnswerSquareZeroOutside) {
    TBaseMap map;
    TPlainItem corner;
    map.SetSquare(0, 0, kSquareSolid, &corner);
    // Column 61 and row 65 can be read though never written.
    EXPECT_EQ(map.GetSquare(1952, 0).Occupant, nullptr);
    EXPECT_EQ(map.GetSquare(61 * 32 + 31, 65 * 24 + 23).Occupant, nullptr);
    for (const auto& [x, y] : {std::pair{1984, 0}, {0, 1584}, {-32, 0}, {0, -24}, {INT32_MAX, INT32_MIN}})
        EXPECT_EQ(map.GetSquare(x, y).Occupant, &corner) << x << "," << y;
}

TEST_F(MapTest, CameraClampsAndMarksTheGroundOnlyWhenItCrossesATile) {
    TBaseMap map;
    EXPECT_TRUE(map.GroundDirty());
    TBriskImage& buffer = AddPicture("Buffer", 768, 624, 1, 1);
    map.DrawGround(buffer);
    EXPECT_FALSE(map.GroundDirty());
    map.SetViewX(2000);
    EXPECT_EQ(map.ViewX(), kMaxViewX);
    EXPECT_EQ(map.TileCol(), kMaxViewX / kTileWidth);
    map.SetViewY(-5);
    EXPECT_EQ(map.ViewY(), 0);
    map.SetViewY(5000);
    EXPECT_EQ(map.ViewY(), kMaxViewY);
    EXPECT_EQ(map.TileRow(), kMaxViewY / kTileHeight);
    map.SetViewX(100);
    map.DrawGround(buffer);
    map.SetViewX(120);
    EXPECT_FALSE(map.GroundDirty());
    map.SetViewX(130);
    EXPECT_TRUE(map.GroundDirty());
    map.SetViewY(0);
    map.DrawGround(buffer);
    map.SetViewY(47);
    EXPECT_FALSE(map.GroundDirty());
    map.SetViewY(48);
    EXPECT_TRUE(map.GroundDirty());
}

TEST_F(MapTest, RemoveHandsTheItemBackAndClearsEverySquareItHeld) {
    TBaseMap map;
    TBaseItem& item = AddAt(map, 64, 48);
    // Moved in place: its old square is still marked.
    item.SetX(200);
    map.InsertSorted(item);
    map.RemoveFromDrawList(item);
    std::unique_ptr<TBaseItem> owned = map.Remove(item);
    ASSERT_EQ(owned.get(), &item);
    EXPECT_TRUE(map.Items().empty());
    EXPECT_TRUE(map.DrawList().empty());
    EXPECT_EQ(HeldText(map, item, 0, 0, 8, 3), ".........\n.........\n.........\n.........\n");
    EXPECT_EQ(map.Remove(item), nullptr);
}

TEST_F(MapTest, AMoveThatThrowsLeavesTheItemOnTheMap) {
    class TThrower : public TBaseItem {
    public:
        TThrower() { SetSpeed(1); }
        void Move() override { throw EWorldError("Invalid Speed"); }
    };
    TBaseMap map;
    TThrower& item = map.Add(std::make_unique<TThrower>());
    EXPECT_THROW(map.Update(), EWorldError);
    EXPECT_EQ(map.DrawList().size(), 1U);
    EXPECT_EQ(map.GetSquare(0, 0).Occupant, &item);
}

TEST_F(MapTest, AClientLeavesScriptDrivenFightersAlone) {
    class TScripted : public TTestFighter {
    public:
        void Move() override { ++Moves; }
        [[nodiscard]] bool ScriptDriven() const override { return true; }
        int Moves = 0;
    };
    for (const int32_t mode : {0, 1, 2}) {
        TBaseMap map;
        map.PlayMode = mode;
        TScripted& fighter = map.Add(std::make_unique<TScripted>());
        map.Update();
        EXPECT_EQ(fighter.Moves, mode == 2 ? 0 : 1) << mode;
    }
}

TEST_F(MapTest, PathsAvoidEverySquareThatIsNotFree) {
    TBaseMap map;
    // A wall in column 2, rows 0..2, and a pickup on the way round it.
    TPlainItem wall;
    for (int32_t row = 0; row <= 2; ++row)
        map.SetSquare(2 * 32, row * 24, kSquareSolid, &wall);
    TPlainItem pickup;
    map.SetSquare(2 * 32, 3 * 24, kSquarePickUp, &pickup);
    std::unique_ptr<TPath> path;
    map.FindPath(0, 0, 4, 0, path);
    ASSERT_NE(path, nullptr);
    ASSERT_GT(path->Count(), 2);
    for (int32_t i = 0; i < path->Count(); ++i) {
        const TPathStep& step = path->StepAt(i);
        EXPECT_FALSE(step.X == 2 && step.Y <= 3) << step.X << "," << step.Y;
    }
    EXPECT_EQ(path->StepAt(path->Count() - 1), (TPathStep{4, 0}));
}

} // namespace
