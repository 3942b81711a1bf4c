// The open list's numeric keys must order squares exactly as their text keys would sort.
#include "TextKeySearch.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

struct TSquareKey {
    int32_t Estimate, X, Y;
};

std::vector<TSquareKey> SampleKeys(std::mt19937& rng, int count, int32_t coordinateLimit) {
    // Mostly few distinct estimates, so that ties on f (where x and y decide) are common,
    // plus the numbers where decimal text changes length.
    const int32_t edges[] = {0, 1, 9, 10, 11, 99, 100, 101, 999, 1000, 9999, 10000, 65535, 99999999};
    std::vector<TSquareKey> keys;
    for (int i = 0; i < count; ++i) {
        auto pick = [&](int32_t limit) {
            if (rng() % 3 == 0) {
                const int32_t edge = edges[rng() % std::size(edges)];
                if (edge < limit) return edge;
            }
            return static_cast<int32_t>(rng() % static_cast<uint32_t>(limit));
        };
        const int32_t estimate =
            rng() % 2 ? static_cast<int32_t>(rng() % 4) : pick(TOpenOrder::kEstimateLimit);
        keys.push_back({estimate, pick(coordinateLimit), pick(coordinateLimit)});
    }
    return keys;
}

} // namespace

TEST(OpenOrder, KeysCompareAsTheirTextOverManyPairs) {
    for (const int32_t limit : {66, 10001, TOpenOrder::kCoordinateLimit}) {
        const TOpenOrder order(limit);
        std::mt19937 rng(static_cast<uint32_t>(limit));
        const auto keys = SampleKeys(rng, 4000, limit);
        for (size_t i = 0; i + 1 < keys.size(); ++i)
            for (size_t j : {i + 1, static_cast<size_t>(rng() % keys.size())}) {
                const TSquareKey& a = keys[i];
                const TSquareKey& b = keys[j];
                const std::string ta = pathtest::TextKey(a.Estimate, a.X, a.Y);
                const std::string tb = pathtest::TextKey(b.Estimate, b.X, b.Y);
                const uint64_t ka = order.Key(a.Estimate, a.X, a.Y), kb = order.Key(b.Estimate, b.X, b.Y);
                ASSERT_EQ(ka < kb, ta < tb) << ta << " vs " << tb;
                ASSERT_EQ(ka == kb, ta == tb) << ta << " vs " << tb;
            }
    }
}

TEST(OpenOrder, KeysGiveBackTheirSquare) {
    const TOpenOrder order(66);
    for (int32_t x = 0; x < 66; ++x)
        for (int32_t y = 0; y < 66; ++y) {
            const uint64_t key = order.Key(12345, x, y);
            ASSERT_EQ(order.KeyX(key), x);
            ASSERT_EQ(order.KeyY(key), y);
        }
}

TEST(OpenOrder, ListHandsOutKeysInTextOrder) {
    const TOpenOrder order(66);
    std::mt19937 rng(5);
    const auto keys = SampleKeys(rng, 3000, 66);
    TOpenList open;
    std::vector<std::string> texts;
    for (const auto& k : keys) {
        open.Add(order.Key(k.Estimate, k.X, k.Y));
        texts.push_back(pathtest::TextKey(k.Estimate, k.X, k.Y));
    }
    std::sort(texts.begin(), texts.end());
    for (const std::string& expected : texts) {
        ASSERT_FALSE(open.Empty());
        const uint64_t key = open.TakeFirst();
        const int32_t estimate = static_cast<int32_t>(key >> 32);
        ASSERT_EQ(pathtest::TextKey(estimate, order.KeyX(key), order.KeyY(key)), expected);
    }
    EXPECT_TRUE(open.Empty());
}

TEST(OpenOrder, ColumnTenComesBeforeNineAndOneBeforeTen) {
    const TOpenOrder order(66);
    TOpenList open;
    open.Add(order.Key(35, 0, 0));
    open.Add(order.Key(34, 9, 5));
    open.Add(order.Key(34, 10, 5));
    open.Add(order.Key(34, 1, 5));
    open.Add(order.Key(34, 10, 10));
    open.Add(order.Key(34, 10, 2));
    const std::pair<int32_t, int32_t> expected[] = {{1, 5}, {10, 10}, {10, 2}, {10, 5}, {9, 5}, {0, 0}};
    for (const auto& [x, y] : expected) {
        const uint64_t key = open.TakeFirst();
        EXPECT_EQ(order.KeyX(key), x);
        EXPECT_EQ(order.KeyY(key), y);
    }
}
