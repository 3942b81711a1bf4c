// Cutting a byte stream back into records, however the pieces fall.
#include "net/RecordAssembler.h"

#include <gtest/gtest.h>
#include <numeric>
#include <random>

using TBytes = std::vector<uint8_t>;

namespace {

std::vector<TBytes> FeedInPieces(TRecordAssembler& assembler, const TBytes& stream,
                                 const std::vector<size_t>& cuts) {
    std::vector<TBytes> records;
    size_t from = 0;
    for (size_t cut : cuts) {
        assembler.Feed(std::span(stream).subspan(from, cut - from), [&](std::span<const uint8_t> record) {
            records.emplace_back(record.begin(), record.end());
        });
        from = cut;
    }
    return records;
}

TBytes Stream(size_t size) {
    TBytes bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    return bytes;
}

std::vector<TBytes> Records(const TBytes& stream, size_t size) {
    std::vector<TBytes> records;
    for (size_t at = 0; at + size <= stream.size(); at += size)
        records.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(at),
                             stream.begin() + static_cast<std::ptrdiff_t>(at + size));
    return records;
}

} // namespace

TEST(RecordAssembler, WholeRecordsOnlyHoweverThePiecesFall) {
    const TBytes stream = Stream(304 * 3 + 17);
    const struct {
        const char* Name;
        std::vector<size_t> Cuts;
        size_t Records;
        size_t Pending;
    } cases[] = {
        {"one short piece", {100}, 0, 100},
        {"one record less a byte", {303}, 0, 303},
        {"exactly one", {304}, 1, 0},
        {"one and a byte", {305}, 1, 1},
        {"100 then 204", {100, 304}, 1, 0},
        {"two at once", {608}, 2, 0},
        {"straddling pieces", {200, 500, 700, 929}, 3, 17},
        {"all at once", {929}, 3, 17},
    };
    for (const auto& c : cases) {
        TRecordAssembler assembler;
        assembler.SetRecordSize(304);
        const auto records = FeedInPieces(assembler, stream, c.Cuts);
        const auto expected =
            Records(TBytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(c.Cuts.back())), 304);
        EXPECT_EQ(records.size(), c.Records) << c.Name;
        EXPECT_EQ(records, expected) << c.Name;
        EXPECT_EQ(assembler.PendingBytes(), c.Pending) << c.Name;
    }
}

TEST(RecordAssembler, RandomPiecesGiveTheSameRecords) {
    std::mt19937 rng(304);
    const TBytes stream = Stream(304 * 40);
    for (int trial = 0; trial < 50; ++trial) {
        std::vector<size_t> cuts;
        for (size_t at = 0; at < stream.size();) {
            at = std::min(stream.size(), at + 1 + rng() % (trial % 2 ? 700 : 40));
            cuts.push_back(at);
        }
        TRecordAssembler assembler;
        assembler.SetRecordSize(304);
        ASSERT_EQ(FeedInPieces(assembler, stream, cuts), Records(stream, 304)) << trial;
        EXPECT_EQ(assembler.PendingBytes(), 0u);
    }
}

TEST(RecordAssembler, NewSizeDropsThePartialRecordAndSizeZeroKeepsNothing) {
    TRecordAssembler assembler;
    assembler.SetRecordSize(304);
    const TBytes stream = Stream(1000);
    EXPECT_TRUE(FeedInPieces(assembler, stream, {100}).empty());
    assembler.SetRecordSize(0);
    EXPECT_EQ(assembler.PendingBytes(), 0u);
    EXPECT_TRUE(FeedInPieces(assembler, stream, {1000}).empty());
    EXPECT_EQ(assembler.PendingBytes(), 0u);
    assembler.SetRecordSize(-5);
    EXPECT_EQ(assembler.RecordSize(), 0);
}
