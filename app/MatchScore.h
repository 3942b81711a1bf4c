// The rounds of a match and their score: how long a match is, who has won how many rounds,
// the banner between rounds, and the words the screens and the log use for them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// A match lasts one round (as a match always did), three or five: first to 1, 2 or 3 wins.
constexpr std::array<int32_t, 3> kRoundChoices{1, 3, 5};

// A count that is none of the choices (an edited settings file, a peer's byte) is one round.
[[nodiscard]] int32_t ValidRounds(int32_t rounds);
// The setup screen's next choice after rounds: 1, 3, 5 and round again.
[[nodiscard]] int32_t NextRoundsChoice(int32_t rounds);

struct TMatchScore {
    // Long enough to read "Round 2 - 1 : 0" while the fresh field shows behind it.
    static constexpr uint32_t kBannerMs = 2000;

    int32_t Rounds = 1;
    int32_t Round = 1;             // counted from 1
    std::array<int32_t, 2> Wins{}; // rounds won by player 1 and player 2
    uint32_t BannerUntilTick = 0;  // system ms; the banner shows while before it
    bool BannerShown = false;

    [[nodiscard]] int32_t WinsNeeded() const { return Rounds / 2 + 1; }
    [[nodiscard]] bool BannerShowing(uint32_t now) const {
        return BannerShown && static_cast<int32_t>(BannerUntilTick - now) > 0;
    }
    // "1 : 0", player 1's wins first.
    [[nodiscard]] std::string ScoreText() const;
    // "Round 2 - 1 : 0".
    [[nodiscard]] std::string BannerText() const;
    // Counts a round for the winner (0 player 1, 1 player 2); true when that decides the match.
    bool CountRound(int32_t winner);
};
