// Loading picture files within the size the game can hold. The width and height of a PNG, JPEG,
// BMP or GIF file are read from its header before anything is decoded, so a small file that
// would unpack to gigabytes is refused without taking the memory; other formats SDL_image reads
// are measured once decoded.
#pragma once

#include "media/SurfaceUtils.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The largest width and height of a picture: far beyond the game's own (the sprite sheets are
// 800 by 1440), and a 24-bit picture of this size already takes 192 MB. It also keeps every
// cell offset of a sprite sheet inside the 16 bits of SDL's rectangles.
constexpr int32_t kMaxPictureSide = 8192;

struct TPictureSize {
    int64_t Width = 0;
    int64_t Height = 0;
};

// The size the file's header gives; nullopt when the file is missing, is no PNG, JPEG, BMP or
// GIF, or its header ends early.
[[nodiscard]] std::optional<TPictureSize> PictureFileSize(const std::string& path);

// The picture of a game path as SDL_image decodes it, or nullptr when it is missing or cannot be
// read. A picture wider or taller than kMaxPictureSide is refused with an error line naming the
// file and its size, logged with location.
[[nodiscard]] TSurfacePtr LoadPicture(std::string_view fileName, std::string_view location);
