// Pictures with one transparent colour, drawn whole or as one cell of a sprite sheet, and
// named image lists that let every user of a picture share one loaded copy.
#pragma once

#include "media/SurfaceUtils.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TBriskDraw;
class TIniFile;

// The most cells a keyed sheet is cut into; a sheet of more is drawn from the sheet itself.
constexpr int64_t kMaxCutCells = 16384;

class TBriskImage {
public:
    TBriskImage();
    ~TBriskImage();
    TBriskImage(const TBriskImage&) = delete;
    TBriskImage& operator=(const TBriskImage&) = delete;

    // A blank picture in SDL's default layout for the depth (the ground buffer is one).
    void CreateSurface(int32_t width, int32_t height, int32_t depth);
    // A game path ("images\Items.png"); a picture that does not load leaves Surface empty.
    // Names the image after the file when it has no name yet. Sets no colour key.
    void LoadFromFile(std::string_view fileName);
    // Only the low 8 bits of each component count (256 is 0, -1 is 255). Nothing without surface.
    void SetColorKey(int32_t red, int32_t green, int32_t blue);

    void Draw(int32_t x, int32_t y);
    void DrawTo(TBriskDraw& screen, int32_t x, int32_t y);
    // Draws the image whole as the screen's backdrop for this frame (see TBriskDraw::DrawBackdrop).
    void DrawAsBackdrop(int32_t x, int32_t y);
    // Cells count from 0 along each row, then row by row. Without surface, or with a zero
    // cell size, nothing is drawn.
    void DrawFrame(int32_t x, int32_t y, int32_t frame);
    void DrawFrameOn(SDL_Surface* target, int32_t x, int32_t y, int32_t frame);

    // The source rectangle of cell frame; an empty rectangle (W = H = 0) when the image has
    // no surface or no cell size.
    [[nodiscard]] TBriskRect FrameRect(int32_t frame) const;

    std::string Name;
    TSurfacePtr Surface;
    TBriskRect SrcRect;  // source of the last draw
    TBriskRect DestRect; // destination of the last draw, clipped by SDL
    int32_t FrameWidth = 0;
    int32_t FrameHeight = 0;

private:
    // The cell as a surface of its own, or nullptr to blit from the sheet. SDL's run-length
    // blit of a keyed sheet walks every row above the cell, which costs a tall sprite sheet
    // far more than the cell itself; so the cells of a keyed sheet are cut out once, with the
    // sheet's pixels, key and alpha (in the screen's channel order where that differs), and
    // draw the same pixels.
    [[nodiscard]] SDL_Surface* CellSurface(int32_t frame, const TBriskRect& source);
    // The whole keyed picture in the screen's channel order, or nullptr to blit the picture.
    [[nodiscard]] SDL_Surface* WholeSurface();
    // Cuts the cells again when the picture, its key or its cell size changed; false for a
    // picture that is not cut.
    bool CutFresh();
    void CutCells();
    // A new picture or key: the cells are cut again at the next draw.
    void ForgetCells();

    std::vector<TSurfacePtr> Cells;
    TSurfacePtr Whole;
    // What the cells were cut from; any change cuts them again.
    const SDL_Surface* CellsSheet = nullptr;
    int32_t CellsWidth = 0;
    int32_t CellsHeight = 0;
    uint32_t CellsKey = 0;
    uint32_t CellsFlags = 0;
};

class TBriskImageList {
public:
    TBriskImageList() = default;
    ~TBriskImageList(); // frees the images from the last to the first
    TBriskImageList(const TBriskImageList&) = delete;
    TBriskImageList& operator=(const TBriskImageList&) = delete;

    int32_t Add(std::unique_ptr<TBriskImage> image);
    // Logs "Loading:<name>", loads, keys black, names and appends.
    void LoadImage(std::string_view name, std::string_view fileName);
    // The most recently added image of exactly that name (case matters); nullptr when absent.
    [[nodiscard]] TBriskImage* Find(std::string_view name) const;
    [[nodiscard]] TBriskImage* GetImage(std::string_view name) const { return Find(name); }
    [[nodiscard]] int32_t IndexOf(std::string_view name) const;
    // nullptr outside 0..Count()-1.
    [[nodiscard]] TBriskImage* Items(int32_t index) const;
    [[nodiscard]] int32_t Count() const { return static_cast<int32_t>(List.size()); }
    void Clear();

private:
    std::vector<std::unique_ptr<TBriskImage>> List;
};

// The colour key a data file gives a picture: "TransparentColor1..3" of the section (red,
// green, blue; default 0 each, so black), applied to the image.
void ApplyColorKeyFrom(TBriskImage& image, const TIniFile& ini, std::string_view section);

// The shared picture of that name from ImageList; when absent it is loaded from
// "images\" + fileName in the data folder (the working directory), keyed from the data file's
// section, given the cell size and added under the name. Borrowed: the list keeps it.
TBriskImage& SharedImage(std::string_view name, std::string_view fileName, const TIniFile& ini,
                         std::string_view section, int32_t frameWidth, int32_t frameHeight);

extern TBriskImageList* ImageList;
