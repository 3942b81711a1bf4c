// Names from the peer that become file paths: only plain names pass.
#include "net/PeerNames.h"

#include <gtest/gtest.h>

TEST(PeerNames, PlainNames) {
    const struct {
        const char* Name;
        bool Plain;
    } cases[] = {{"Short Bow", true},  {"Axe", true},         {"Sword-2 (old)", true}, {"a.b", true},
                 {"", false},          {"..", false},         {"..\\x", false},        {"a..b", false},
                 {"data/x", false},    {"data\\x", false},    {"C:x", false},          {"C:\\Windows", false},
                 {"tab\there", false}, {"new\nline", false},  {"\x7f", false},         {"caf\xc3\xa9", false},
                 {"Maps\\x", false},   {"/etc/passwd", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsPlainName(c.Name), c.Plain) << '"' << c.Name << '"';
}

TEST(PeerNames, MapPathsMayStartInTheMapsFolder) {
    const struct {
        const char* Path;
        bool Plain;
    } cases[] = {{"Maps\\Arena.map", true}, {"maps\\Arena.map", true}, {"MAPS\\Arena", true},
                 {"Arena", true},           {"Arena.map", true},       {"Maps\\", false},
                 {"Maps\\..\\x", false},    {"Maps\\a\\b.map", false}, {"Maps/Arena.map", false},
                 {"x\\Maps\\a", false},     {"Maps\\Maps\\a", false},  {"C:\\Maps\\a", false},
                 {"\\Maps\\a", false},      {"Maps\\C:a", false},      {"Maps\\\x01", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsPlainMapPath(c.Path), c.Plain) << '"' << c.Path << '"';
}
