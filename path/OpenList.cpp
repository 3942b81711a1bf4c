// The open list's text order and its binary heap.
#include "path/OpenList.h"

#include <algorithm>
#include <cassert>
#include <numeric>
#include <stdexcept>
#include <string>

TOpenOrder::TOpenOrder(int32_t limit) {
    if (limit < 1 || limit > kCoordinateLimit) throw std::invalid_argument("Invalid Grid Size");
    ByRank.resize(static_cast<size_t>(limit));
    std::iota(ByRank.begin(), ByRank.end(), 0);
    // Plain text comparison of the decimal numbers: a shorter prefix sorts first ("1" < "10"),
    // which is also what the key text does, since "," sorts before every digit.
    std::sort(ByRank.begin(), ByRank.end(),
              [](int32_t a, int32_t b) { return std::to_string(a) < std::to_string(b); });
    TextRank.resize(static_cast<size_t>(limit));
    for (int32_t rank = 0; rank < limit; ++rank)
        TextRank[ByRank[rank]] = static_cast<uint16_t>(rank);
}

// A hand-made heap rather than std::push_heap/pop_heap: taking the first key sinks the hole
// to a leaf with one comparison per level and no unpredictable branch, then lifts the last
// key from there, which almost always stays put. The search spends most of its time here.
void TOpenList::Add(uint64_t key) {
    size_t hole = Heap.size();
    Heap.push_back(key);
    while (hole > 0) {
        const size_t parent = (hole - 1) / 2;
        if (Heap[parent] <= key) break;
        Heap[hole] = Heap[parent];
        hole = parent;
    }
    Heap[hole] = key;
}

uint64_t TOpenList::TakeFirst() {
    assert(!Heap.empty());
    const uint64_t first = Heap[0];
    const uint64_t last = Heap.back();
    Heap.pop_back();
    const size_t count = Heap.size();
    if (count == 0) return first;
    size_t hole = 0;
    for (size_t child = 1; child < count; child = 2 * hole + 1) {
        if (child + 1 < count) child += Heap[child + 1] < Heap[child];
        Heap[hole] = Heap[child];
        hole = child;
    }
    while (hole > 0) {
        const size_t parent = (hole - 1) / 2;
        if (Heap[parent] <= last) break;
        Heap[hole] = Heap[parent];
        hole = parent;
    }
    Heap[hole] = last;
    return first;
}
