// What server and client share: error reporting, record hand-over and address texts.
#include "net/BriskNet.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <stdexcept>

std::string FormatAddress(const TNetAddress& ip) {
    uint8_t bytes[4];
    std::memcpy(bytes, &ip.Host, sizeof bytes);
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A piece that is not a decimal number counts as -1, which is out of range.
int PieceValue(std::string_view piece) {
    if (!piece.empty() && piece.front() == '+') piece.remove_prefix(1);
    int value = -1;
    const char* end = piece.data() + piece.size();
    const auto [stop, error] = std::from_chars(piece.data(), end, value);
    return error == std::errc() && stop == end ? value : -1;
}

} // namespace

bool IsDottedQuad(std::string_view text) {
    text = Trim(text);
    for (int piece = 0; piece < 4; ++piece) {
        const size_t dot = text.find('.');
        const int value = PieceValue(text.substr(0, dot));
        if (value < 0 || value > 255) return false;
        text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    }
    return true;
}

void TBriskNetBase::DoError(std::string_view message) {
    if (OnError) OnError(*this, message);
}

void TBriskNetBase::CheckRecordSize(std::span<const uint8_t> data) const {
    if (data.size() != static_cast<size_t>(MessageSize)) throw std::invalid_argument("Wrong message size");
}

void TBriskNetBase::HandData(std::span<const uint8_t> data) {
    if (OnData) OnData(*this, data);
}
