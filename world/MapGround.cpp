// The ground: reading a tile code as a ground picture and frame, and rendering the tiles around
// the camera into the game's ground buffer, which is blitted whole every frame.
#include "media/BriskImage.h"
#include "platform/IniFile.h"
#include "world/Map.h"

TGroundCell GroundCellOf(std::string_view code) {
    if (code.size() < 3) return {0, 1};
    const char ground = code[0];
    const int32_t kind = ground >= '0' && ground <= '9' ? ground - '0' : 0;
    const auto frame = ParseProfileInteger(code.substr(2));
    if (!frame) return {0, 0};
    return {kind, *frame};
}

void TBaseMap::DrawGround(TBriskImage& target) {
    for (int32_t c = 0; c < kGroundTiles; ++c) {
        for (int32_t r = 0; r < kGroundTiles; ++r) {
            // The view may reach below the last ground row (under the status panels): plain
            // ground is drawn there.
            const int32_t row = TileRowValue + r;
            const int32_t column = TileColValue + c;
            const TGroundCell cell = row < kTileRows && column < kTileColumns
                                         ? GroundCellOf(Tile(row, column).Code)
                                         : TGroundCell{0, 0};
            TBriskImage* image = cell.Kind >= 0 && cell.Kind < static_cast<int32_t>(GroundImages.size())
                                     ? GroundImages[cell.Kind]
                                     : nullptr;
            int32_t frame = cell.Frame;
            // A ground picture that is missing or cannot be cut into cells draws plain ground.
            if (image == nullptr || image->Surface == nullptr || image->FrameRect(frame).W == 0) {
                image = GroundImages[0];
                frame = 0;
            }
            if (image != nullptr)
                image->DrawFrameOn(target.Surface.get(), c * kTileWidth, r * kTileHeight, frame);
        }
    }
    GroundDirtyValue = false;
}
