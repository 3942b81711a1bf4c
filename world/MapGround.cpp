// The ground: reading a tile code as a ground picture and frame, and rendering the tiles around
// the camera into the game's ground buffer, which is blitted whole every frame.
#include "media/BriskImage.h"
#include "media/SurfaceUtils.h"
#include "platform/IniFile.h"
#include "world/Map.h"

#include <cstdlib>

TGroundCell GroundCellOf(std::string_view code) {
    if (code.size() < 3) return {0, 1};
    const char ground = code[0];
    const int32_t kind = ground >= '0' && ground <= '9' ? ground - '0' : 0;
    const auto frame = ParseProfileInteger(code.substr(2));
    if (!frame) return {0, 0};
    return {kind, *frame};
}

void TBaseMap::DrawGroundTiles(TBriskImage& target, int32_t firstColumn, int32_t endColumn, int32_t firstRow,
                               int32_t endRow) {
    for (int32_t c = firstColumn; c < endColumn; ++c) {
        for (int32_t r = firstRow; r < endRow; ++r) {
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
}

void TBaseMap::DrawGround(TBriskImage& target) {
    DrawGroundTiles(target, 0, kGroundTiles, 0, kGroundTiles);
    GroundTarget = &target;
    GroundTileRow = TileRowValue;
    GroundTileCol = TileColValue;
    GroundDirtyValue = false;
}

void TBaseMap::ScrollGround(TBriskImage& target) {
    const int32_t columns = TileColValue - GroundTileCol;
    const int32_t rows = TileRowValue - GroundTileRow;
    if (GroundTarget != &target || std::abs(columns) >= kGroundTiles || std::abs(rows) >= kGroundTiles) {
        DrawGround(target);
        return;
    }
    ScrollArea(target.Surface.get(), kGroundTiles * kTileWidth, kGroundTiles * kTileHeight,
               -columns * kTileWidth, -rows * kTileHeight);
    // The uncovered columns span every row; the uncovered rows only the columns kept.
    const int32_t firstNewColumn = columns > 0 ? kGroundTiles - columns : 0;
    const int32_t endNewColumn = columns > 0 ? kGroundTiles : -columns;
    DrawGroundTiles(target, firstNewColumn, endNewColumn, 0, kGroundTiles);
    const int32_t firstKeptColumn = columns > 0 ? 0 : -columns;
    const int32_t endKeptColumn = columns > 0 ? kGroundTiles - columns : kGroundTiles;
    const int32_t firstNewRow = rows > 0 ? kGroundTiles - rows : 0;
    const int32_t endNewRow = rows > 0 ? kGroundTiles : -rows;
    DrawGroundTiles(target, firstKeptColumn, endKeptColumn, firstNewRow, endNewRow);
    GroundTileRow = TileRowValue;
    GroundTileCol = TileColValue;
    GroundDirtyValue = false;
}
