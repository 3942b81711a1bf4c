// Finds out, with a time limit, whether a TCP peer answers at all. The network library's own
// connect waits as long as the system lets it (about two minutes against an address where
// nobody answers); asking first keeps the game from freezing.
#pragma once

#include <cstdint>

// host and port in network byte order, as the network library keeps them. True when a
// connection was made (and closed again) within timeoutMs.
[[nodiscard]] bool PeerAnswers(uint32_t host, uint16_t port, int32_t timeoutMs);
