// The match camera: where the view of the field stands so that both fighters can be seen, how
// it keeps its own fighter in sight when the two are too far apart, and where the pointer to a
// fighter out of view goes. The map asks it where to look; the match screen draws the pointer.
#pragma once

#include <cstdint>
#include <optional>

class TBaseItem;

// The part of the 640 by 480 screen that shows the field: the status panels cover the rest.
constexpr int32_t kViewWidth = 640;
constexpr int32_t kFieldViewHeight = 382;
// The view's top-left corner stays within these, so the field's last column and its last row
// (the 62 by 66 squares of 32 by 24 pixels) can still be brought above the panels.
constexpr int32_t kMaxViewX = 62 * 32 - kViewWidth;
constexpr int32_t kMaxViewY = 66 * 24 - kFieldViewHeight;

struct TViewPoint {
    int32_t X = 0;
    int32_t Y = 0;
};

// The view's top-left corner for a fighter followed (lead) and a second one kept in view while
// it can be (other, may be absent). The view centres on the point between the two; when they
// are too far apart for both, it moves only as far from that point as it must to keep the
// lead whole in view, so the lead stays at the side facing the other. Clamped to the field.
[[nodiscard]] TViewPoint AimCamera(const TBaseItem* lead, const TBaseItem* other);

// The item is drawn (at least in part) in the field's part of the screen for this view.
[[nodiscard]] bool InView(const TBaseItem& item, TViewPoint view);

// The pointer to an item out of view: a point on screen just inside the field's part, on the
// line from the view's centre towards the item, and that line's direction (a unit vector).
struct TPointer {
    int32_t X = 0;
    int32_t Y = 0;
    float Dx = 0;
    float Dy = 0;
};
// Nothing while the item is in view.
[[nodiscard]] std::optional<TPointer> PointerTo(const TBaseItem& item, TViewPoint view);
