// The world tests' shared fighter, files, pictures and grid pictures.
#include "WorldFixture.h"

#include "media/BriskImage.h"
#include "media/BriskSound.h"
#include "media/SurfaceUtils.h"
#include "platform/Random.h"

#include <fstream>
#include <sstream>

TTestFighter::TTestFighter() {
    SetOffsetX(48);
    SetOffsetY(70);
}

void TTestFighter::Hurt(int32_t amount) {
    SetHealth(Health() - static_cast<float>(amount));
    Wounds.push_back(amount);
}

void TTestFighter::PickUp(TEquipment& item) {
    PlaySound("PickUpItem");
    std::unique_ptr<TBaseItem> owned = Map() != nullptr ? Map()->Remove(item) : nullptr;
    if (dynamic_cast<TArmor*>(&item) != nullptr)
        Wear(ArmorItem, std::move(owned));
    else if (dynamic_cast<TWeapon*>(&item) != nullptr)
        Wear(SecondWeapon, std::move(owned));
    else if (dynamic_cast<TGlove*>(&item) != nullptr)
        Wear(GloveItem, std::move(owned));
    else if (dynamic_cast<TBoot*>(&item) != nullptr)
        Wear(BootItem, std::move(owned));
    item.Equip(*this);
    if (auto* magic = dynamic_cast<TMagicItem*>(&item)) {
        const int32_t number = magic->MagicNumber();
        if (number >= 1 && number <= 15) MagicItems[static_cast<size_t>(number)] = true;
        return;
    }
    if (owned != nullptr) KeepItem(std::unique_ptr<TEquipment>(static_cast<TEquipment*>(owned.release())));
}

void WorldTest::SetUp() {
    MediaFixture::SetUp();
}

void WorldTest::TearDown() {
    SetRandomSource({});
    MediaFixture::TearDown();
}

void WorldTest::WriteFile(std::string_view gamePath, std::string_view text) const {
    std::string relative(gamePath);
    for (char& c : relative)
        if (c == '\\') c = '/';
    const auto path = Media->Folder() / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

TBriskImage& WorldTest::AddPicture(std::string_view name, int32_t cellWidth, int32_t cellHeight, int32_t cols,
                                   int32_t rows) {
    auto image = std::make_unique<TBriskImage>();
    image->CreateSurface(cellWidth * cols, cellHeight * rows, 24);
    for (int32_t cell = 0; cell < cols * rows; ++cell)
        for (int32_t y = 0; y < cellHeight; ++y)
            for (int32_t x = 0; x < cellWidth; ++x)
                WritePixel(image->Surface.get(), (cell % cols) * cellWidth + x,
                           (cell / cols) * cellHeight + y, static_cast<uint8_t>(cell + 1), 0, 0);
    image->FrameWidth = cellWidth;
    image->FrameHeight = cellHeight;
    image->Name = name;
    TBriskImage& added = *image;
    ImageList->Add(std::move(image));
    return added;
}

void WorldTest::AddPickUpPictures() {
    AddPicture("Items", 32, 32, 10, 5);
    AddPicture("Armor", 64, 64, 5, 1);
}

bool WorldTest::SoundRequested(std::string_view name) {
    return SoundEngine != nullptr && SoundEngine->Find(name) != nullptr;
}

namespace {

char SquareChar(const TSquare& square) {
    switch (square.Passability) {
    case kSquareFree:
        return '.';
    case kSquareSolid:
        return '#';
    case kSquareWater:
        return '~';
    case kSquarePickUp:
        return 'o';
    default:
        return '?';
    }
}

} // namespace

std::string SquaresText(const TBaseMap& map, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    std::string text;
    for (int32_t row = top; row <= bottom; ++row) {
        for (int32_t column = left; column <= right; ++column)
            text += SquareChar(map.GetSquare(column * kSquareWidth, row * kSquareHeight));
        text += '\n';
    }
    return text;
}

std::string HeldText(const TBaseMap& map, const TBaseItem& item, int32_t left, int32_t top, int32_t right,
                     int32_t bottom) {
    std::string text;
    for (int32_t row = top; row <= bottom; ++row) {
        for (int32_t column = left; column <= right; ++column)
            text += map.GetSquare(column * kSquareWidth, row * kSquareHeight).Occupant == &item ? 'x' : '.';
        text += '\n';
    }
    return text;
}

std::string TileKeys(const std::vector<std::string>& rows) {
    std::string text;
    for (size_t row = 0; row < rows.size(); ++row) {
        std::istringstream codes(rows[row]);
        std::string code;
        for (size_t column = 0; codes >> code; ++column)
            text += "Tile" + std::to_string(row) + "-" + std::to_string(column) + "=" + code + "\n";
    }
    return text;
}
