// Where the match camera looks and where the pointer to a fighter out of view stands.
#include "world/Camera.h"

#include "world/Items.h"

#include <algorithm>
#include <cmath>

namespace {

// A fighter's picture (an 80 by 80 cell) around its foot point at (48, 70) of the cell,
// health bar included.
constexpr int32_t kFigureLeft = 48;
constexpr int32_t kFigureRight = 32;
constexpr int32_t kFigureTop = 70;
constexpr int32_t kFigureBottom = 10;
// The followed fighter stays at least this far inside the view's edges.
constexpr int32_t kLeadMargin = 24;
// The pointer stands this far inside the edge of the field's part of the screen.
constexpr int32_t kPointerInset = 20;

// The middle of a fighter's figure, not its feet, is what the view centres.
int32_t FigureMiddleY(const TBaseItem& item) {
    return item.FootY() - (kFigureTop - kFigureBottom) / 2;
}

// The view's corner on one axis: as near wanted as keeps [low, high] within the view of size
// span, with margin; when the figure cannot fit, its low side wins.
int32_t KeepInside(int32_t wanted, int32_t low, int32_t high, int32_t span) {
    const int32_t most = low - kLeadMargin;
    const int32_t least = high + kLeadMargin - span;
    return least > most ? most : std::clamp(wanted, least, most);
}

} // namespace

TViewPoint AimCamera(const TBaseItem* lead, const TBaseItem* other) {
    if (lead == nullptr) return {};
    const TBaseItem& middleOf = other != nullptr ? *other : *lead;
    const int32_t middleX = (lead->FootX() + middleOf.FootX()) / 2;
    const int32_t middleY = (FigureMiddleY(*lead) + FigureMiddleY(middleOf)) / 2;
    int32_t x = middleX - kViewWidth / 2;
    int32_t y = middleY - kFieldViewHeight / 2;
    x = KeepInside(x, lead->FootX() - kFigureLeft, lead->FootX() + kFigureRight, kViewWidth);
    y = KeepInside(y, lead->FootY() - kFigureTop, lead->FootY() + kFigureBottom, kFieldViewHeight);
    return {std::clamp(x, 0, kMaxViewX), std::clamp(y, 0, kMaxViewY)};
}

bool InView(const TBaseItem& item, TViewPoint view) {
    const int32_t left = item.FootX() - kFigureLeft - view.X;
    const int32_t top = item.FootY() - kFigureTop - view.Y;
    return left + kFigureLeft + kFigureRight > 0 && left < kViewWidth && top + kFigureTop + kFigureBottom > 0 &&
           top < kFieldViewHeight;
}

std::optional<TPointer> PointerTo(const TBaseItem& item, TViewPoint view) {
    if (InView(item, view)) return std::nullopt;
    const float centreX = kViewWidth / 2.0f;
    const float centreY = kFieldViewHeight / 2.0f;
    const float dx = static_cast<float>(item.FootX() - view.X) - centreX;
    const float dy = static_cast<float>(FigureMiddleY(item) - view.Y) - centreY;
    const float length = std::hypot(dx, dy);
    if (length < 1.0f) return std::nullopt;
    // Along the line from the centre until it meets the inset edge.
    const float reachX = (centreX - kPointerInset) / std::max(std::fabs(dx), 1e-3f);
    const float reachY = (centreY - kPointerInset) / std::max(std::fabs(dy), 1e-3f);
    const float reach = std::min(reachX, reachY);
    return TPointer{static_cast<int32_t>(std::lround(centreX + dx * reach)),
                    static_cast<int32_t>(std::lround(centreY + dy * reach)), dx / length, dy / length};
}
