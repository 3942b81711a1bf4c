// Owning handles for SDL surfaces and the pixel helpers the fonts and tests share.
// SDL itself stays out of this header; callers that touch pixels include SDL themselves.
#pragma once

#include <climits>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct SDL_Surface;

struct TSurfaceFree {
    void operator()(SDL_Surface* surface) const;
};
using TSurfacePtr = std::unique_ptr<SDL_Surface, TSurfaceFree>;

// A rectangle with SDL's field widths: positions are signed 16 bits and sizes unsigned 16 bits,
// so coordinates outside that range wrap exactly as they would in an SDL rectangle.
struct TBriskRect {
    int16_t X = 0;
    int16_t Y = 0;
    uint16_t W = 0;
    uint16_t H = 0;
};

[[nodiscard]] TBriskRect MakeRect(int32_t x, int32_t y, int32_t w, int32_t h);

// Where the library's draws landed since the present last took them: rectangles for the
// picture, and for one other surface (the match's backdrop) only whether it was drawn on.
// Every draw of the library into a surface notes itself here, so the present can tell what a
// frame may have changed.
struct TDrawnAreas {
    // More rectangles than this in a frame and the frame counts as changed anywhere: past that
    // many, comparing the whole picture is no dearer.
    static constexpr size_t kMaxAreas = 1024;
    SDL_Surface* Picture = nullptr;
    SDL_Surface* Backdrop = nullptr;
    std::vector<TBriskRect> Areas; // clipped to the picture
    // True when this frame's areas cannot be trusted: too many, or the picture was replaced.
    bool Incomplete = false;
    bool BackdropDrawnOn = false;
    // Set only while the backdrop itself is drawn onto the picture.
    bool Paused = false;

    void Note(SDL_Surface* target, int32_t x, int32_t y, int32_t w, int32_t h);
};
extern TDrawnAreas DrawnAreas;

// Blits source rectangle src of from onto target at (x, y); nothing when either surface is
// absent. The clipped destination is written back into dest when given.
void BlitRect(SDL_Surface* from, const TBriskRect& src, SDL_Surface* target, int32_t x, int32_t y,
              TBriskRect* dest = nullptr);

// The raw pixel value at (x, y) read by the surface's byte width (1 to 4 bytes, 3-byte
// pixels little-endian); 0 outside the surface. Locks the surface when SDL requires it.
[[nodiscard]] uint32_t ReadPixel(SDL_Surface* surface, int32_t x, int32_t y);

// SDL_MapRGB in the surface's own pixel format; 0 for an absent surface.
[[nodiscard]] uint32_t MapColor(SDL_Surface* surface, uint8_t red, uint8_t green, uint8_t blue);

// The red, green and blue bytes of the pixel at (x, y), packed r | g << 8 | b << 16.
[[nodiscard]] uint32_t ReadColor(SDL_Surface* surface, int32_t x, int32_t y);

// Writes one pixel in the surface's format; used by tests and tools that make pictures.
void WritePixel(SDL_Surface* surface, int32_t x, int32_t y, uint8_t red, uint8_t green, uint8_t blue);

// Fills the rectangle, clipped to the surface, with one colour; nothing for an absent surface.
void FillRect(SDL_Surface* surface, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t red, uint8_t green,
              uint8_t blue);

// Nearest-neighbour enlargement: every pixel of from becomes a factor by factor block of to,
// from the top left corner, as far as to reaches; only rowCount rows of from starting at
// firstRow when given. Both surfaces share one pixel format, or from has 3-byte and to 4-byte
// pixels with the same channel masks; nothing is drawn otherwise.
void ScaleUp(SDL_Surface* from, SDL_Surface* to, int32_t factor, int32_t firstRow = 0,
             int32_t rowCount = INT32_MAX);

// Picture rows first to last (both -1 when none).
struct TRowRange {
    int32_t First = -1;
    int32_t Last = -1;
};
// Makes to show from as ScaleUp draws it, writing only the blocks that do not show their pixel
// yet, and returns the rows of from whose blocks were written. To may hold anything before.
[[nodiscard]] TRowRange RefreshScaled(SDL_Surface* from, SDL_Surface* to, int32_t factor);

// Makes to show from as ScaleUp draws it, given shown: from's pixels as to last showed them, rows of from->w
// pixels without padding. Only the pieces of from that differ from shown are enlarged, and copied into
// shown; returns the rows of from whose blocks were written.
// With groups, one word to a row, only the row's groups of kGroupPixels pixels whose bit is set are looked
// at (group g is bit g); whole rows are when from is too wide for a word's bits.
inline constexpr int32_t kGroupPixels = 16;
[[nodiscard]] TRowRange ShowChangedPieces(SDL_Surface* from, uint8_t* shown, SDL_Surface* to, int32_t factor,
                                          std::span<const uint64_t> groups = {});

// Moves the top left width by height pixels of surface by (dx, dy) within that area, as a
// scrolled picture moves; what moves out is lost and the uncovered strips keep their old pixels
// for the caller to repaint. Nothing when the move reaches past the area.
void ScrollArea(SDL_Surface* surface, int32_t width, int32_t height, int32_t dx, int32_t dy);

// A blank software surface of the given size and depth in SDL's default layout for it.
[[nodiscard]] TSurfacePtr NewSurface(int32_t width, int32_t height, int32_t depth);
