// Every map the game ships loads, places every item its file lists, and finds its pictures.
#include "WorldFixture.h"
#include "media/BriskImage.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

class ShippedMapsTest : public WorldTest {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.WorkingFolder = DUELMARK_GAME_DIR;
        return options;
    }
    void SetUp() override {
        WorldTest::SetUp();
        // Weapons find their pictures beside the executable, which is the test's folder here.
        std::filesystem::create_directory_symlink(std::filesystem::path(DUELMARK_GAME_DIR) / "images",
                                                  Media->Folder() / "images");
        // The pictures the game loads at start, with their cell sizes.
        const std::tuple<const char*, int32_t, int32_t> pictures[] = {
            {"WaterGround", 64, 48}, {"BrownGround", 64, 48}, {"PlainGround", 64, 48}, {"Trees", 128, 128},
            {"Ruins2", 196, 196},    {"Items", 32, 32},       {"Armor", 64, 64}};
        for (const auto& [name, width, height] : pictures) {
            ImageList->LoadImage(name, std::string("images\\") + name + ".png");
            ImageList->Find(name)->FrameWidth = width;
            ImageList->Find(name)->FrameHeight = height;
        }
    }

    template <class T> [[nodiscard]] static int Count(const TBaseMap& map) {
        int n = 0;
        for (const auto& item : map.Items())
            n += dynamic_cast<const T*>(item.get()) != nullptr;
        return n;
    }
};

TEST_F(ShippedMapsTest, EveryMapPlacesWhatItsFileLists) {
    const std::vector<std::string> maps = ListFiles("maps\\*.map");
    ASSERT_FALSE(maps.empty()) << "no maps in " << DUELMARK_GAME_DIR;
    for (const std::string& name : maps) {
        SCOPED_TRACE(name);
        const TIniFile file("maps\\" + name);
        TBaseMap map;
        ASSERT_NO_THROW(map.LoadFromFile(name));
        const int equipment = Count<TArmor>(map) + Count<TGlove>(map) + Count<TBoot>(map);
        EXPECT_EQ(equipment, file.ReadInteger("Objects", "ObjectCount", 0));
        EXPECT_EQ(Count<TMagicItem>(map), file.ReadInteger("MagicItems", "ItemCount", 0));
        EXPECT_EQ(Count<TWeapon>(map), file.ReadInteger("Weapons", "WeaponCount", 0));
        EXPECT_EQ(Count<TPotion>(map), file.ReadInteger("Potions", "PotionCount", 0));
        EXPECT_EQ(Count<TObstruction>(map), file.ReadInteger("Obstructions", "ObstructionCount", 0));
        for (const auto& item : map.Items()) {
            ASSERT_NE(item->Image(), nullptr);
            EXPECT_NE(item->Image()->Surface, nullptr) << item->Image()->Name;
            EXPECT_GT(item->Image()->FrameWidth, 0) << item->Image()->Name;
            // Every item stands where a fighter can reach it: on the grid the squares cover.
            EXPECT_GE(item->FootX(), 0);
            EXPECT_LT(item->FootX(), kSquareColumns * kSquareWidth);
            EXPECT_LT(item->FootY(), kSquareRows * kSquareHeight);
        }
        for (const auto* image : map.GroundImages)
            EXPECT_NE(image, nullptr);
    }
}

} // namespace
