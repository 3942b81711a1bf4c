// CRC-32 over bytes and files.
#include "platform/FileChecksum.h"

#include "platform/Paths.h"

#include <array>
#include <fstream>

namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u; // reflected 0x04C11DB7

constexpr std::array<uint32_t, 256> kTable = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < table.size(); ++n) {
        uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1u) != 0 ? kPolynomial ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

// Written after a missing file's name; a file never ends a name with a zero byte.
constexpr uint8_t kMissingMark[] = {0, 'M', 'I', 'S', 'S', 'I', 'N', 'G'};
constexpr uint8_t kNameEnd[] = {0};

} // namespace

void TChecksum::Add(std::span<const uint8_t> bytes) {
    uint32_t c = State;
    for (const uint8_t byte : bytes)
        c = kTable[(c ^ byte) & 0xFFu] ^ (c >> 8);
    State = c;
}

void TChecksum::Add(std::string_view text) {
    Add(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool TChecksum::AddFile(std::string_view gamePath) {
    Add(gamePath);
    std::ifstream in(ResolvePath(gamePath), std::ios::binary);
    if (!in) {
        Add(kMissingMark);
        return false;
    }
    Add(kNameEnd);
    std::array<char, 4096> chunk{};
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0)
        Add(std::span(reinterpret_cast<const uint8_t*>(chunk.data()), static_cast<size_t>(in.gcount())));
    return true;
}
