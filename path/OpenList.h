// The route search's open list: squares waiting to be expanded, taken smallest estimate first,
// with ties broken the way the squares' decimal coordinates sort as text.
#pragma once

#include <cstdint>
#include <vector>

// Orders open squares exactly as the text keys "ffffffff:x,y" (estimate padded to eight digits)
// would sort, without building any text. Among equal estimates the decimal text of x decides,
// character by character, then that of y: column 10 comes before column 9, and 1 before 10.
class TOpenOrder {
public:
    // Coordinates run from 0 to limit - 1 on both axes.
    explicit TOpenOrder(int32_t limit);

    // A key whose unsigned order is the text order; estimate must be below 10^8, where the
    // padded text and the number agree.
    [[nodiscard]] uint64_t Key(int32_t estimate, int32_t x, int32_t y) const {
        return (static_cast<uint64_t>(estimate) << 32) | (static_cast<uint64_t>(TextRank[x]) << 16) |
               TextRank[y];
    }
    [[nodiscard]] int32_t KeyX(uint64_t key) const { return ByRank[(key >> 16) & 0xFFFF]; }
    [[nodiscard]] int32_t KeyY(uint64_t key) const { return ByRank[key & 0xFFFF]; }

    // Estimates stay below this bound, so the numeric order is the padded text order.
    static constexpr int32_t kEstimateLimit = 100000000;
    // Ranks are packed in 16 bits.
    static constexpr int32_t kCoordinateLimit = 65536;

private:
    std::vector<uint16_t> TextRank; // coordinate -> its place among all coordinates sorted as text
    std::vector<int32_t> ByRank;    // place -> coordinate
};

// A binary min-heap of keys of one TOpenOrder. A square enters at most once per search (its
// cost is fixed on first reach), so no key can be offered twice and none needs to be ignored.
class TOpenList {
public:
    void Clear() { Heap.clear(); }
    [[nodiscard]] bool Empty() const { return Heap.empty(); }
    void Add(uint64_t key);
    // Removes and returns the smallest key; the list must not be empty.
    uint64_t TakeFirst();

private:
    std::vector<uint64_t> Heap;
};
