// The rounds choice and the score's words.
#include "app/MatchScore.h"

#include <algorithm>

int32_t ValidRounds(int32_t rounds) {
    return std::find(kRoundChoices.begin(), kRoundChoices.end(), rounds) != kRoundChoices.end() ? rounds : 1;
}

int32_t NextRoundsChoice(int32_t rounds) {
    const auto* at = std::find(kRoundChoices.begin(), kRoundChoices.end(), ValidRounds(rounds));
    return ++at == kRoundChoices.end() ? kRoundChoices.front() : *at;
}

std::string TMatchScore::ScoreText() const {
    return std::to_string(Wins[0]) + " : " + std::to_string(Wins[1]);
}

std::string TMatchScore::BannerText() const {
    return "Round " + std::to_string(Round) + " - " + ScoreText();
}

bool TMatchScore::CountRound(int32_t winner) {
    int32_t& wins = Wins.at(static_cast<size_t>(winner));
    ++wins;
    return wins >= WinsNeeded();
}
