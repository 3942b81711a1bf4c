// The status panels: the box, the fighter's portrait and health bar, worn items, magic item
// icons and charge markers, read back from the screen's pixels.
#include "PlayersFixture.h"
#include "media/BriskDraws.h"
#include "media/BriskImage.h"
#include "world/GameDisplays.h"

namespace {

constexpr uint32_t kBoxColour = 0xFF0000; // blue
constexpr int32_t kX = 240;
constexpr int32_t kY = 382;

// The colour a test sheet gives cell frame: unique for frames 0..255.
uint32_t CellColour(int32_t frame) {
    return static_cast<uint32_t>(frame) | 0x40u << 8;
}

// A sheet of cells of width by height, columns wide and rows high, each filled with CellColour.
std::unique_ptr<TBriskImage> MakeSheet(const std::string& name, int32_t width, int32_t height,
                                       int32_t columns, int32_t rows) {
    auto sheet = std::make_unique<TBriskImage>();
    sheet->CreateSurface(width * columns, height * rows, 24);
    for (int32_t frame = 0; frame < columns * rows; ++frame) {
        const uint32_t colour = CellColour(frame);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                WritePixel(sheet->Surface.get(), frame % columns * width + x, frame / columns * height + y,
                           static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8), 0);
    }
    sheet->FrameWidth = width;
    sheet->FrameHeight = height;
    sheet->Name = name;
    return sheet;
}

class Displays : public PlayersFixture {
protected:
    void SetUp() override {
        PlayersFixture::SetUp();
        Items = ImageList->Items(ImageList->Add(MakeSheet("Items", 32, 32, 10, 3)));
        Armour = ImageList->Items(ImageList->Add(MakeSheet("Armor", 64, 64, 5, 1)));
        ImageList->Add(MakeSheet("ArmorIcons", 24, 24, 5, 1));
        Body = ImageList->Items(ImageList->Add(MakeSheet("Knight", 80, 80, 20, 7)));
        Bar = ImageList->Items(ImageList->Add(MakeSheet("PlayerLife", 48, 8, 1, 10)));
        Box.CreateSurface(200, 90, 24);
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 200; ++x)
                WritePixel(Box.Surface.get(), x, y, 0, 0, 255);
        Panel.SetBoxImage(&Box);
        Panel.SetX(kX);
        Panel.SetY(kY);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                WritePixel(Screen->Surface, x, y, 0, 0, 0);
    }
    TPlayer& Fighter() {
        TPlayer& fighter = AddPlayer(300, 300);
        fighter.SetImage(Body);
        fighter.SetHealthBarImage(Bar);
        Panel.SetPlayer(&fighter);
        return fighter;
    }
    static uint32_t At(int32_t x, int32_t y) { return ReadColor(Screen->Surface, x, y); }

    TBriskImage* Items = nullptr;
    TBriskImage* Armour = nullptr;
    TBriskImage* Body = nullptr;
    TBriskImage* Bar = nullptr;
    TBriskImage Box;
    TBaseDisplay Panel;
};

TEST_F(Displays, APanelWithoutFighterDrawsOnlyItsBox) {
    Panel.Draw();
    EXPECT_EQ(At(kX, kY), kBoxColour);
    EXPECT_EQ(At(kX + 199, kY + 89), kBoxColour);
    EXPECT_EQ(At(kX - 1, kY), 0u);
    EXPECT_EQ(At(kX + 200, kY), 0u);
    EXPECT_EQ(At(kX - 15, kY + 1), 0u) << "no portrait";
}

TEST_F(Displays, PortraitAndHealthBarFollowActionAndHealth) {
    TPlayer& fighter = Fighter();
    fighter.SetHealth(30); // level 7
    Panel.Draw();
    EXPECT_EQ(At(kX - 15, kY), CellColour(40));
    EXPECT_EQ(At(kX + 40, kY + 7), CellColour(7));
    EXPECT_EQ(At(kX + 87, kY + 14), CellColour(7));
    fighter.SetHealth(0);
    fighter.SetAction(kActionDie);
    Panel.Draw();
    EXPECT_EQ(At(kX - 15, kY), CellColour(135)) << "a dead fighter's portrait";
    EXPECT_EQ(At(kX + 40, kY + 7), CellColour(0)) << "health level 0 all the same";
}

TEST_F(Displays, WornItemsShowTheirOwnPictureAndFrame) {
    TPlayer& fighter = Fighter();
    fighter.PickUp(Map->CreateEquipment("Boot", "Blue", 0, 0));
    fighter.PickUp(Map->CreateEquipment("Glove", "Red", 0, 0));
    fighter.PickUp(Map->CreateEquipment("Armor", "White", 0, 0));
    Panel.Draw();
    EXPECT_EQ(At(kX + 41, kY + 20), CellColour(2)) << "blue boots";
    EXPECT_EQ(At(kX + 66, kY + 20), CellColour(8)) << "red gloves";
    // The armour's small picture fills the panel's armour slot and nothing outside it.
    EXPECT_EQ(At(kX + 98, kY + 13), CellColour(4)) << "white armour, in its slot";
    EXPECT_EQ(At(kX + 121, kY + 36), CellColour(4));
    EXPECT_EQ(At(kX + 100, kY - 8), 0u) << "nothing above the panel";
    EXPECT_EQ(At(kX + 122, kY + 36), kBoxColour);
    EXPECT_EQ(At(kX + 98, kY + 37), kBoxColour);
}

TEST_F(Displays, EachMagicItemShowsItsIconAtItsPlace) {
    struct TIcon {
        int32_t Number;
        int32_t X;
        int32_t Y;
    };
    const TIcon icons[] = {{1, 40, 58},  {2, 40, 53},  {3, 40, 48},  {4, 40, 43},  {5, 40, 38},
                           {6, 65, 58},  {7, 65, 53},  {8, 65, 48},  {9, 65, 43},  {10, 65, 38},
                           {11, 94, 62}, {12, 94, 55}, {13, 94, 49}, {14, 94, 43}, {15, 94, 38}};
    TPlayer& fighter = Fighter();
    for (const TIcon& icon : icons) {
        SCOPED_TRACE(icon.Number);
        fighter.MagicItems.fill(false);
        fighter.MagicItems[static_cast<size_t>(icon.Number)] = true;
        Panel.Draw();
        EXPECT_EQ(At(kX + icon.X, kY + icon.Y), CellColour(icon.Number + 9));
        EXPECT_EQ(At(kX + icon.X + 31, kY + icon.Y + 31), CellColour(icon.Number + 9));
    }
}

TEST_F(Displays, ChargeMarkersRunAlongTheirRowAndAreClampedToFive) {
    const int32_t rowY[] = {0, -2, 15, 35, 50, 65};
    TPlayer& fighter = Fighter();
    for (int32_t k = 1; k <= 5; ++k) {
        for (const int32_t count : {1, 4, 5, 7}) {
            SCOPED_TRACE(::testing::Message() << "counter " << k << " holding " << count);
            fighter.MagicCharges.fill(0);
            fighter.MagicCharges[static_cast<size_t>(k)] = count;
            Panel.Draw();
            const int32_t shown = std::min(count, 5);
            const int32_t y = kY + rowY[k];
            // The j-th marker starts at x + 110 + 10 j; the last one is drawn whole.
            EXPECT_EQ(At(kX + 120, y), CellColour(24 + k));
            EXPECT_EQ(At(kX + 110 + 10 * shown + 31, y), CellColour(24 + k));
            EXPECT_NE(At(kX + 110 + 10 * shown + 32, y), CellColour(24 + k));
            EXPECT_EQ(fighter.MagicCharges[static_cast<size_t>(k)], shown);
        }
    }
}

TEST_F(Displays, NoChargesAndNegativeCountsDrawNoMarkers) {
    TPlayer& fighter = Fighter();
    fighter.MagicCharges = {0, 0, -3, 0, 0, 0};
    Panel.Draw();
    for (int32_t x = kX + 110; x < kX + 200; ++x)
        EXPECT_EQ(At(x, kY + 15), kBoxColour) << x;
}

} // namespace
