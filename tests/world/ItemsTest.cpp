// Item position, animation, health bar, ids, ability names, facing and building footprints.
#include "WorldFixture.h"
#include "media/BriskDraws.h"
#include "media/BriskImage.h"
#include "media/SurfaceUtils.h"

#include <gtest/gtest.h>

namespace {

class TPlainItem : public TBaseItem {};

TEST(Item, PositionClampsAndRoundsHalvesToEven) {
    struct TCase {
        float In;
        float X;
        int32_t Pixel;
    };
    const TCase cases[] = {{-100.0f, -28.0f, -28},   {-28.0f, -28.0f, -28},    {-27.5f, -27.5f, -28},
                           {10.5f, 10.5f, 10},       {11.5f, 11.5f, 12},       {12.49f, 12.49f, 12},
                           {1860.0f, 1860.0f, 1860}, {1860.5f, 1860.0f, 1860}, {5000.0f, 1860.0f, 1860}};
    for (const TCase& c : cases) {
        TPlainItem item;
        item.SetOffsetX(16);
        item.SetX(c.In);
        EXPECT_FLOAT_EQ(item.X(), c.X) << c.In;
        EXPECT_EQ(item.PixelX(), c.Pixel) << c.In;
        EXPECT_EQ(item.FootX(), c.Pixel + 16) << c.In;
    }
    const TCase rows[] = {{-49.0f, -48.0f, -48},
                          {-48.0f, -48.0f, -48},
                          {0.5f, 0.5f, 0},
                          {1450.0f, 1450.0f, 1450},
                          {2000.0f, 1450.0f, 1450}};
    for (const TCase& c : rows) {
        TPlainItem item;
        item.SetOffsetY(24);
        item.SetY(c.In);
        EXPECT_FLOAT_EQ(item.Y(), c.X) << c.In;
        EXPECT_EQ(item.FootY(), c.Pixel + 24) << c.In;
    }
}

TEST(Item, OffsetChangesMoveTheFootPoint) {
    TPlainItem item;
    item.SetX(100.4f);
    item.SetY(50.6f);
    item.SetOffsetX(32);
    item.SetOffsetY(48);
    EXPECT_EQ(item.FootX(), 132);
    EXPECT_EQ(item.FootY(), 99);
    // Offsets from a broken data file saturate instead of overflowing.
    item.SetOffsetX(INT32_MAX);
    EXPECT_EQ(item.FootX(), INT32_MAX);
}

TEST(Item, HealthLevelsAndCap) {
    struct TCase {
        float Health;
        float Stored;
        int32_t Level;
    };
    // Tenths of the maximum round halves to even: 9.5 -> 10, 4.5 -> 4, 2.5 -> 2, 0.5 -> 0.
    const TCase cases[] = {{100, 100, 0}, {150, 100, 0}, {96, 96, 0}, {95, 95, 0},  {94, 94, 1},
                           {50, 50, 5},   {45, 45, 6},   {35, 35, 6}, {25, 25, 8},  {15, 15, 8},
                           {5, 5, 9},     {4, 4, 9},     {0, 0, 0},   {-20, -20, 9}};
    for (const TCase& c : cases) {
        TPlainItem item;
        item.SetHealth(c.Health);
        EXPECT_FLOAT_EQ(item.Health(), c.Stored) << c.Health;
        EXPECT_EQ(item.HealthLevel(), c.Level) << c.Health;
    }
}

TEST(Item, HealthAgainstAZeroMaximumStaysInRange) {
    TPlainItem item;
    item.SetMaxHealth(0);
    item.SetHealth(-5);
    EXPECT_EQ(item.HealthLevel(), 9);
}

TEST(Item, FramesWrapToZeroNotModulo) {
    TPlainItem item;
    item.SetMaxFrame(3);
    item.SetFrame(3);
    EXPECT_EQ(item.Frame(), 3);
    item.SetFrame(4);
    EXPECT_EQ(item.Frame(), 0);
    item.SetFrame(2);
    item.NextFrame(3);
    EXPECT_EQ(item.Frame(), 0);
    item.SetFrame(2);
    item.NextFrame(INT32_MAX);
    EXPECT_EQ(item.Frame(), 0);
}

TEST(Item, IdsComeFromTheSequenceStartingAtTwo) {
    TSequence sequence;
    EXPECT_EQ(sequence.Next(), 2);
    EXPECT_EQ(sequence.Next(), 3);
    TPlainItem first;
    TPlainItem second;
    EXPECT_EQ(second.Id(), first.Id() + 1);
}

TEST(Item, AbilityNamesIgnoreCaseButNeverMatchReservedSlots) {
    const std::pair<const char*, int32_t> cases[] = {
        {"WATERWALK", 1}, {"passwall", 2}, {"Speed", 3},  {"INVISIBILITY", 4}, {"strength", 5},
        {"DEXTERITY", 6}, {"None7", -1},   {"NONE7", -1}, {"Nil", -1},         {"", -1}};
    for (const auto& [name, index] : cases)
        EXPECT_EQ(AbilityIndex(name), index) << name;
}

class ItemDrawTest : public WorldTest {};

TEST_F(ItemDrawTest, AnimationAdvancesByElapsedFrames) {
    struct TCase {
        uint32_t ElapsedMs;
        int32_t Frame;
    };
    // With 200 ms a frame: exactly 200 ms advances nothing, 450 ms two frames, and a jump past
    // the last frame lands on 0.
    const TCase cases[] = {{200, 0}, {201, 1}, {450, 2}, {799, 3}, {1000, 0}};
    for (const TCase& c : cases) {
        TPlainItem item;
        item.SetMaxFrame(4);
        Clock().Advance(c.ElapsedMs);
        item.Draw();
        EXPECT_EQ(item.Frame(), c.Frame) << c.ElapsedMs;
    }
}

TEST_F(ItemDrawTest, AFrameDelayOfZeroCountsAsOneMillisecond) {
    TPlainItem item;
    item.SetMaxFrame(9);
    item.SetFrameDelay(0);
    Clock().Advance(3);
    item.Draw();
    EXPECT_EQ(item.Frame(), 3);
}

TEST_F(ItemDrawTest, DrawsItsFrameRelativeToTheCamera) {
    TBriskImage& image = AddPicture("Cells", 8, 8, 4, 1);
    TBaseMap map;
    auto owned = std::make_unique<TPlainItem>();
    TPlainItem& item = map.Add(std::move(owned));
    item.SetImage(&image);
    item.SetFrameBase(2);
    item.SetX(110);
    item.SetY(30);
    map.SetViewX(100);
    item.Draw();
    EXPECT_EQ(ReadColor(Screen->Surface, 10, 30), 3U);
    EXPECT_EQ(ReadColor(Screen->Surface, 9, 30), 0U);
    item.SetVisible(false);
    item.SetX(200);
    item.Draw();
    EXPECT_EQ(ReadColor(Screen->Surface, 100, 30), 0U);
}

class MoveItemTest : public WorldTest {};

TEST_F(MoveItemTest, ActionAndFacingSelectTheAnimation) {
    TTestFighter fighter;
    fighter.AttackFrames = 5;
    fighter.StandFrames = 3;
    fighter.WalkFrames = 7;
    fighter.DieFrames = 9;
    for (int32_t d = 0; d < 8; ++d) {
        fighter.AttackDirFrames[static_cast<size_t>(d)] = 100 + d;
        fighter.StandDirFrames[static_cast<size_t>(d)] = 200 + d;
        fighter.WalkDirFrames[static_cast<size_t>(d)] = 300 + d;
        fighter.DieDirFrames[static_cast<size_t>(d)] = 400 + d;
    }
    struct TCase {
        int32_t Action;
        int32_t Direction;
        int32_t MaxFrame;
        int32_t FrameBase;
    };
    const TCase cases[] = {{kActionAttack, 3, 5, 103},
                           {kActionStand, 0, 3, 200},
                           {kActionWalk, 7, 7, 307},
                           {kActionDie, 5, 9, 405}};
    for (const TCase& c : cases) {
        fighter.SetDirection(c.Direction);
        fighter.SetAction(c.Action);
        EXPECT_EQ(fighter.MaxFrame(), c.MaxFrame) << c.Action;
        EXPECT_EQ(fighter.FrameBase(), c.FrameBase) << c.Action;
    }
    // A direction from a broken message is kept but selects nothing; nor does an unknown action.
    fighter.SetDirection(8);
    EXPECT_EQ(fighter.Direction(), 8);
    EXPECT_EQ(fighter.FrameBase(), 405);
    fighter.SetDirection(-1);
    EXPECT_EQ(fighter.FrameBase(), 405);
    fighter.SetAction(7);
    fighter.SetDirection(2);
    EXPECT_EQ(fighter.FrameBase(), 405);
}

class BuildingTest : public WorldTest {};

TEST_F(BuildingTest, BlocksItsFootprintAroundAndAboveTheFootSquare) {
    struct TCase {
        int32_t BlockLR;
        int32_t BlockU;
        std::string Squares;
    };
    // Foot point at (100, 100): square (3, 4), column 3 of row 4.
    const std::vector<TCase> cases = {
        {1, 2, "......\n......\n..###.\n..###.\n..###.\n"},
        {0, 0, "......\n......\n......\n......\n...#..\n"},
        {-1, 1, "......\n......\n......\n......\n......\n"},
        {2, -1, "......\n......\n......\n......\n......\n"},
    };
    for (const TCase& c : cases) {
        TBaseMap map;
        auto building = std::make_unique<TObstruction>();
        building->BlockLR = c.BlockLR;
        building->BlockU = c.BlockU;
        building->SetX(100);
        building->SetY(100);
        map.Add(std::move(building));
        EXPECT_EQ(SquaresText(map, 0, 0, 5, 4), c.Squares) << c.BlockLR << "," << c.BlockU;
    }
}

TEST_F(BuildingTest, HugeBlockSizesMarkTheWholeGridWithoutEndlessLoops) {
    TBaseMap map;
    auto building = std::make_unique<TObstruction>();
    building->BlockLR = INT32_MAX;
    building->BlockU = INT32_MAX;
    building->SetX(1000);
    building->SetY(1400);
    TObstruction& added = map.Add(std::move(building));
    // Every writable square above and including the foot row is the building's.
    EXPECT_EQ(map.GetSquare(0, 0).Occupant, &added);
    EXPECT_EQ(map.GetSquare(60 * 32, 58 * 24).Occupant, &added);
    EXPECT_EQ(map.GetSquare(61 * 32, 0).Occupant, nullptr);
    map.Remove(added);
    EXPECT_EQ(map.GetSquare(0, 0).Passability, kSquareFree);
}

} // namespace
