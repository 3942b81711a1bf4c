// File checksums: the standard CRC-32, and what changes a file set's sum.
#include "platform/FileChecksum.h"

#include "support/MediaFixture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

TEST(FileChecksum, IsTheCrc32OfZipAndPng) {
    TChecksum sum;
    EXPECT_EQ(sum.Value(), 0u);
    sum.Add(std::string_view("123456789"));
    EXPECT_EQ(sum.Value(), 0xCBF43926u);
    // Fed in pieces it gives the same.
    TChecksum pieces;
    pieces.Add(std::string_view("1234"));
    pieces.Add(std::string_view("56789"));
    EXPECT_EQ(pieces.Value(), sum.Value());
}

TEST(FileChecksum, OneChangedByteAMissingFileOrAnotherNameChangesTheSum) {
    const fs::path folder = MakeTestFolder("checksum");
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    fs::create_directory("maps");
    std::ofstream("maps/lake.map", std::ios::binary) << "[Map]\nStartX0=300\n";
    std::ofstream("maps/pond.map", std::ios::binary) << "[Map]\nStartX0=300\n";
    const auto sumOf = [](std::string_view path) {
        TChecksum sum;
        sum.AddFile(path);
        return sum.Value();
    };
    TChecksum first;
    EXPECT_TRUE(first.AddFile("Maps\\Lake.map")); // found whatever the case and separator
    EXPECT_EQ(sumOf("Maps\\Lake.map"), first.Value());
    EXPECT_NE(sumOf("Maps\\Pond.map"), first.Value());
    std::ofstream("maps/lake.map", std::ios::binary) << "[Map]\nStartX0=301\n";
    EXPECT_NE(sumOf("Maps\\Lake.map"), first.Value());
    fs::remove("maps/lake.map");
    TChecksum missing;
    EXPECT_FALSE(missing.AddFile("Maps\\Lake.map"));
    EXPECT_NE(missing.Value(), first.Value());
    // An empty file is not a missing one.
    std::ofstream("maps/lake.map", std::ios::binary).flush();
    EXPECT_NE(sumOf("Maps\\Lake.map"), missing.Value());
    fs::current_path(previous);
    fs::remove_all(folder);
}

} // namespace
