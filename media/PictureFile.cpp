// Picture sizes from file headers, and the one guarded way pictures are decoded.
#include "media/PictureFile.h"

#include "media/BriskLogger.h"
#include "platform/Paths.h"

#include <SDL.h>
#include <SDL_image.h>
#include <array>
#include <fstream>

namespace {

uint32_t BigEndian(const uint8_t* bytes, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

uint32_t LittleEndian(const uint8_t* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

bool ReadBytes(std::istream& in, uint8_t* bytes, std::streamsize count) {
    in.read(reinterpret_cast<char*>(bytes), count);
    return in.gcount() == count;
}

// The frame header of a JPEG: the markers are walked segment by segment up to the first
// start-of-frame, which holds the height and width.
std::optional<TPictureSize> JpegSize(std::istream& in) {
    in.seekg(2);
    std::array<uint8_t, 7> segment{};
    while (true) {
        int marker = in.get();
        if (marker != 0xFF) return std::nullopt;
        while (marker == 0xFF)
            marker = in.get();
        if (marker == EOF) return std::nullopt;
        // Markers without a segment: restarts, the image start and the padding byte.
        if ((marker >= 0xD0 && marker <= 0xD8) || marker == 0x01) continue;
        // The scan or the end come before any frame: nothing to measure.
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;
        if (!ReadBytes(in, segment.data(), 2)) return std::nullopt;
        const uint32_t length = BigEndian(segment.data(), 2);
        if (length < 2) return std::nullopt;
        // Start of frame: every C0..CF except the table markers C4, C8 and CC.
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            if (!ReadBytes(in, segment.data() + 2, 5)) return std::nullopt;
            return TPictureSize{BigEndian(segment.data() + 5, 2), BigEndian(segment.data() + 3, 2)};
        }
        in.seekg(length - 2, std::ios::cur);
        if (!in) return std::nullopt;
    }
}

} // namespace

std::optional<TPictureSize> PictureFileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::array<uint8_t, 26> head{};
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    const auto got = static_cast<size_t>(in.gcount());
    in.clear();
    constexpr std::array<uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (got >= 24 && std::equal(kPngSignature.begin(), kPngSignature.end(), head.begin()))
        return TPictureSize{BigEndian(&head[16], 4), BigEndian(&head[20], 4)};
    if (got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return JpegSize(in);
    if (got >= 18 && head[0] == 'B' && head[1] == 'M') {
        // The old 12-byte header holds 16-bit sizes; every later one signed 32-bit sizes, the
        // height negative for a picture stored top row first.
        if (LittleEndian(&head[14], 4) == 12)
            return got >= 22
                       ? std::optional(TPictureSize{LittleEndian(&head[18], 2), LittleEndian(&head[20], 2)})
                       : std::nullopt;
        if (got < 26) return std::nullopt;
        const auto height = static_cast<int32_t>(LittleEndian(&head[22], 4));
        return TPictureSize{static_cast<int32_t>(LittleEndian(&head[18], 4)),
                            height < 0 ? -int64_t{height} : int64_t{height}};
    }
    if (got >= 10 && head[0] == 'G' && head[1] == 'I' && head[2] == 'F')
        return TPictureSize{LittleEndian(&head[6], 2), LittleEndian(&head[8], 2)};
    return std::nullopt;
}

TSurfacePtr LoadPicture(std::string_view fileName, std::string_view location) {
    const std::string path = ResolvePath(fileName);
    const auto refuse = [&](int64_t width, int64_t height) {
        if (Logger != nullptr)
            Logger->LogError("Refused picture " + std::string(fileName) + ": " + std::to_string(width) +
                                 " by " + std::to_string(height) + " pixels, at most " +
                                 std::to_string(kMaxPictureSide) + " by " + std::to_string(kMaxPictureSide),
                             location);
    };
    const auto outside = [](int64_t side) { return side < 0 || side > kMaxPictureSide; };
    if (const auto size = PictureFileSize(path); size && (outside(size->Width) || outside(size->Height))) {
        refuse(size->Width, size->Height);
        return nullptr;
    }
    TSurfacePtr picture(IMG_Load(path.c_str()));
    if (picture && (outside(picture->w) || outside(picture->h))) {
        refuse(picture->w, picture->h);
        return nullptr;
    }
    return picture;
}
