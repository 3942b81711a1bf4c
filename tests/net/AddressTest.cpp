// Address texts: the check applied to a typed server address, and the formatting of hosts.
#include "net/BriskNet.h"

#include <cstring>
#include <gtest/gtest.h>

TEST(Address, DottedQuadCheck) {
    const struct {
        const char* Text;
        bool Accepted;
    } cases[] = {
        {"10.0.0.1", true},
        {"  10.0.0.1  ", true},
        {"\t127.0.0.1\t", true},
        {"0.0.0.0", true},
        {"255.255.255.255", true},
        {"1.2.3.4.5", true}, // nothing after the fourth piece is looked at
        {"1.2.3.4.", true},
        {"1.2.3.4.x", true},
        {"+1.2.3.4", true},
        {"999.1.1.1", false},
        {"256.1.1.1", false},
        {"1.2.3.256", false},
        {"1.2.3", false}, // the fourth piece is empty
        {"1.2.3.", false},
        {"1..2.3", false},
        {"", false},
        {"   ", false},
        {"-1.2.3.4", false},
        {"a.b.c.d", false},
        {"1.2.3.4x", false},
        {"1. 2.3.4", false},
        {"$A.1.1.1", false},
        {"99999999999.1.1.1", false},
        {"localhost", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsDottedQuad(c.Text), c.Accepted) << '"' << c.Text << '"';
}

TEST(Address, FormatPutsTheFirstByteInNetworkOrderFirst) {
    const struct {
        uint8_t Bytes[4];
        const char* Text;
    } cases[] = {
        {{0, 0, 0, 0}, "0.0.0.0"},
        {{127, 0, 0, 1}, "127.0.0.1"},
        {{10, 1, 2, 254}, "10.1.2.254"},
        {{255, 255, 255, 255}, "255.255.255.255"},
    };
    for (const auto& c : cases) {
        TNetAddress address;
        std::memcpy(&address.Host, c.Bytes, 4);
        EXPECT_EQ(FormatAddress(address), c.Text);
    }
}
