// What the match screen draws over the field and the status panels: the score of a match of
// several rounds, the banner that names each round, and the pause notice.
#include "app/GameUnit.h"
#include "media/BriskDraws.h"
#include "media/BriskText.h"
#include "media/SurfaceUtils.h"
#include "platform/Clock.h"

#include <string>
#include <string_view>

namespace {

constexpr int32_t kScreenWidth = 640;
// The score sits at the top of the field, centred, clear of the peer status line at the left.
constexpr int32_t kScoreY = 4;
// The banner and the pause notice share a dark band across the middle of the field.
constexpr int32_t kBandTop = 170;
constexpr int32_t kBandHeight = 100;
constexpr int32_t kBandLeft = 100;
constexpr int32_t kBandWidth = 440;
constexpr int32_t kHeadlineY = 185;
constexpr int32_t kSublineY = 235;

void DrawBand() {
    FillRect(Screen->Surface, kBandLeft, kBandTop, kBandWidth, kBandHeight, 16, 12, 24);
}

void DrawCentred(TBriskFont& font, int32_t y, std::string_view text) {
    font.TextOut((kScreenWidth - font.TextWidth(text)) / 2, y, text);
}

} // namespace

void TBriskGame::DrawMatchOverlays() {
    if (Score.Rounds > 1) DrawCentred(FontList->Items(kFontYellow), kScoreY, Score.ScoreText());
    if (Score.BannerShowing(SystemTicks())) {
        DrawBand();
        DrawCentred(FontList->Items(kFontEmbossed), kHeadlineY, Score.BannerText());
        DrawCentred(FontList->Items(kFontSmall), kSublineY,
                    "First to " + std::to_string(Score.WinsNeeded()) + " round wins takes the match");
    }
    if (Paused) {
        DrawBand();
        DrawCentred(FontList->Items(kFontEmbossed), kHeadlineY, "Paused");
        DrawCentred(FontList->Items(kFontSmall), kSublineY, "P resumes, Escape quits");
    }
}
