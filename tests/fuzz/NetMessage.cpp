// Fuzzes what a hostile peer controls: the bytes of a record, and how a stream of them is cut
// into pieces on the way. No input may crash, read out of bounds, or lose the record framing.
#include "net/NetworkUnit.h"
#include "net/PeerNames.h"
#include "net/RecordAssembler.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void CheckRecord(std::span<const uint8_t> bytes) {
    TNetRecord record{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), record.size()), record.begin());
    const TNetMessage message = DecodeMessage(record);
    if (message.Sender.size() > kHeaderTextCapacity || message.Text.size() > kHeaderTextCapacity)
        std::abort();
    // What was decoded encodes back to a record that decodes the same.
    if (DecodeMessage(EncodeMessage(message)) != message) std::abort();
    if (const auto* choose = std::get_if<TChoosePlayerBody>(&message.Body))
        (void)IsPlainMapPath(choose->MapName);
    if (const auto* strike = std::get_if<TStartThrowBody>(&message.Body))
        (void)IsPlainName(strike->WeaponName);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    CheckRecord(input);

    // The first bytes say where the rest is cut into pieces.
    if (size < 4) return 0;
    const std::span<const uint8_t> cuts = input.first(4);
    const std::span<const uint8_t> stream = input.subspan(4);
    TRecordAssembler assembler;
    assembler.SetRecordSize(kNetMessageSize);
    std::vector<uint8_t> handedOn;
    size_t at = 0;
    for (size_t piece = 0; at < stream.size(); ++piece) {
        const size_t length = std::min<size_t>(stream.size() - at, 1 + cuts[piece % cuts.size()] * 3);
        assembler.Feed(stream.subspan(at, length), [&](std::span<const uint8_t> record) {
            if (record.size() != static_cast<size_t>(kNetMessageSize)) std::abort();
            handedOn.insert(handedOn.end(), record.begin(), record.end());
            CheckRecord(record);
        });
        at += length;
    }
    // Every whole record, in order, and nothing else.
    const size_t whole = stream.size() / kNetMessageSize * kNetMessageSize;
    if (handedOn.size() != whole || !std::equal(handedOn.begin(), handedOn.end(), stream.begin()))
        std::abort();
    if (assembler.PendingBytes() != stream.size() - whole) std::abort();
    return 0;
}
