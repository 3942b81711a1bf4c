// Reassembles fixed-size records from stream pieces.
#include "net/RecordAssembler.h"

#include <algorithm>

void TRecordAssembler::SetRecordSize(int32_t size) {
    Size = std::max(size, 0);
    Pending.clear();
}

void TRecordAssembler::Feed(std::span<const uint8_t> bytes, const TRecordHandler& onRecord) {
    if (Size == 0) return;
    const size_t size = static_cast<size_t>(Size);
    while (!bytes.empty()) {
        // Whole records straight from the piece need no copy.
        if (Pending.empty() && bytes.size() >= size) {
            onRecord(bytes.first(size));
            bytes = bytes.subspan(size);
            continue;
        }
        const size_t take = std::min(size - Pending.size(), bytes.size());
        Pending.insert(Pending.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
        bytes = bytes.subspan(take);
        if (Pending.size() == size) {
            // Moved out first, so a handler that feeds this assembler again sees it empty.
            const std::vector<uint8_t> record = std::move(Pending);
            Pending.clear();
            onRecord(record);
        }
    }
}
