// What the game keeps about its network peer besides the endpoints: where the check of the
// match's files stands, and what each side has said about the running match.
#pragma once

#include <cstdint>
#include <unordered_map>

struct TNetSession {
    // The peer's last Choose Player carried the file check: a server then waits for its
    // client to take the match before starting it.
    bool PeerChecksFiles = false;
    // Server: the match has been offered and the client's answer is awaited, or has come.
    bool AwaitingAnswer = false;
    bool OfferAccepted = false;
    // Client: its Choose Player has gone out over the current connection.
    bool Announced = false;
    // The running match: a Move Player with our fighter's health gone has reached the peer.
    bool LocalDeathSent = false;
    // Client: the rounds of the match its server offered (1 from a server that does not say).
    int32_t ServerRounds = 1;
    // A match of several rounds: the peer's fighter has been heard alive in this round. Until
    // then what the peer says is about the last round, which ended here a little earlier or
    // later than there, and is dropped.
    bool PeerAliveHeard = false;
    // The map items taken in the running match, with the row of the fighter that took each.
    std::unordered_map<int32_t, int32_t> TakenItems;
};
