// What the world tests share: the media library in a test folder of its own (the working
// folder, so data\, maps\ and images\ land there), files written from text, pictures made in
// memory, a small fighter, and the square grid drawn as text.
#pragma once

#include "support/MediaFixture.h"
#include "world/GameTypes.h"

#include <string>
#include <string_view>
#include <vector>

// A fighter with just enough behaviour for the items: it records its wounds and takes pickups
// the way the game's fighters do.
class TTestFighter : public TMoveItem {
public:
    TTestFighter();

    void Hurt(int32_t amount) override;
    // Worn places take armour, gloves and boots (and a second weapon) in place of the item worn
    // before; potions go to their ability slot; magic items become flags.
    void PickUp(TEquipment& item);
    // Replaces the item worn in a place: unequipped, then freed.
    template <class T> void Wear(std::unique_ptr<T>& place, std::unique_ptr<TBaseItem> item) {
        if (place != nullptr) place->Unequip(*this);
        place.reset(static_cast<T*>(item.release()));
    }

    std::vector<int32_t> Wounds;
    std::unique_ptr<TWeapon> SecondWeapon;
    std::unique_ptr<TArmor> ArmorItem;
    std::unique_ptr<TGlove> GloveItem;
    std::unique_ptr<TBoot> BootItem;
    std::array<bool, 16> MagicItems{};
};

class WorldTest : public MediaFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes text to a path below the test folder ("data\Boot.ini" or "data/Boot.ini").
    void WriteFile(std::string_view gamePath, std::string_view text) const;
    // A picture of cols by rows cells of cellWidth by cellHeight, cell i filled with colour i + 1
    // (red = i + 1, green 0, blue 0), registered in ImageList under name.
    TBriskImage& AddPicture(std::string_view name, int32_t cellWidth, int32_t cellHeight, int32_t cols,
                            int32_t rows);
    // The pickups' shared pictures, as the game loads them at start.
    void AddPickUpPictures();
    // Whether a sound of that name was requested since the library started.
    [[nodiscard]] static bool SoundRequested(std::string_view name);

    TManualClock& Clock() { return Media->Clock; }
};

// Rows top..bottom of the grid from column left to right, one character per square: '.' free,
// '#' solid, '~' water, 'o' pickup; rows end with '\n'.
[[nodiscard]] std::string SquaresText(const TBaseMap& map, int32_t left, int32_t top, int32_t right,
                                      int32_t bottom);
// The same for squares held by one item: 'x' where item is the occupant, '.' elsewhere.
[[nodiscard]] std::string HeldText(const TBaseMap& map, const TBaseItem& item, int32_t left, int32_t top,
                                   int32_t right, int32_t bottom);

// A map file's [Map] tile keys from rows of codes separated by blanks, starting at row 0,
// column 0: {"0-0 1-22", "2-3 1-23"}.
[[nodiscard]] std::string TileKeys(const std::vector<std::string>& rows);
