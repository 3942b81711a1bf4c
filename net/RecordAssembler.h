// Cuts a TCP byte stream back into the fixed-size records it was sent as. The peer's sends
// may arrive split or joined (100 bytes, then 204; or two records at once); only whole
// records are handed on, in order, and a partial one waits for the rest.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class TRecordAssembler {
public:
    using TRecordHandler = std::function<void(std::span<const uint8_t> record)>;

    // A size of 0 or less hands on nothing and keeps nothing.
    void SetRecordSize(int32_t size);
    [[nodiscard]] int32_t RecordSize() const { return Size; }

    // Appends bytes and hands every record completed by them to onRecord.
    void Feed(std::span<const uint8_t> bytes, const TRecordHandler& onRecord);

    // Bytes of the next record received so far; always fewer than one record.
    [[nodiscard]] size_t PendingBytes() const { return Pending.size(); }

private:
    int32_t Size = 0;
    std::vector<uint8_t> Pending;
};
