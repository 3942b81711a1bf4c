// Loading, keying and drawing pictures and cells; the named image list.
#include "media/BriskImage.h"

#include "media/BriskDraws.h"
#include "media/BriskLogger.h"
#include "media/PictureFile.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <SDL.h>
#include <algorithm>

TBriskImageList* ImageList = nullptr;

TBriskImage::TBriskImage() = default;
TBriskImage::~TBriskImage() = default;

void TBriskImage::CreateSurface(int32_t width, int32_t height, int32_t depth) {
    ForgetCells();
    Surface = NewSurface(width, height, depth);
    if (Surface) SrcRect = MakeRect(0, 0, Surface->w, Surface->h);
}

void TBriskImage::LoadFromFile(std::string_view fileName) {
    if (Name.empty()) Name = fileName;
    if (Logger != nullptr)
        Logger->LogStatus("Loading Image: " + std::string(fileName), "TBriskImage.LoadFromFile");
    ForgetCells();
    Surface = LoadPicture(fileName, "TBriskImage.LoadFromFile");
    if (Surface) SrcRect = MakeRect(0, 0, Surface->w, Surface->h);
}

void TBriskImage::SetColorKey(int32_t red, int32_t green, int32_t blue) {
    if (!Surface) return;
    ForgetCells();
    const Uint32 key = SDL_MapRGB(Surface->format, static_cast<Uint8>(red), static_cast<Uint8>(green),
                                  static_cast<Uint8>(blue));
    // Run-length acceleration lets SDL encode the keyed picture once for faster blits.
    SDL_SetColorKey(Surface.get(), SDL_SRCCOLORKEY | SDL_RLEACCEL | SDL_RLEACCELOK, key);
}

void TBriskImage::Draw(int32_t x, int32_t y) {
    if (Screen != nullptr) DrawTo(*Screen, x, y);
}

void TBriskImage::DrawTo(TBriskDraw& screen, int32_t x, int32_t y) {
    if (!Surface) return;
    SrcRect = MakeRect(0, 0, Surface->w, Surface->h);
    SDL_Surface* whole = WholeSurface();
    BlitRect(whole != nullptr ? whole : Surface.get(), SrcRect, screen.Surface, x, y, &DestRect);
}

void TBriskImage::DrawAsBackdrop(int32_t x, int32_t y) {
    if (Screen == nullptr) return;
    // A keyed picture is drawn from a copy that drawing into Surface does not reach, so only
    // an unkeyed one can be watched for change.
    Screen->DrawBackdrop(Surface.get(), WholeSurface() == nullptr, x, y, [&] { DrawTo(*Screen, x, y); });
}

TBriskRect TBriskImage::FrameRect(int32_t frame) const {
    if (!Surface || FrameWidth <= 0 || FrameHeight <= 0) return {};
    // A sheet narrower than one cell would divide by zero below; it holds one cell per row.
    const int64_t cellsPerRow = std::max(1, Surface->w / FrameWidth);
    // Worked out in 64 bits: a frame number near 2^31 rows down passes 32 bits. The rectangle
    // then keeps the low 16 bits of each, as SDL's own fields would.
    return MakeRect(static_cast<int32_t>(frame % cellsPerRow * FrameWidth),
                    static_cast<int32_t>(frame / cellsPerRow * FrameHeight), FrameWidth, FrameHeight);
}

void TBriskImage::DrawFrame(int32_t x, int32_t y, int32_t frame) {
    if (Screen != nullptr) DrawFrameOn(Screen->Surface, x, y, frame);
}

void TBriskImage::DrawFrameOn(SDL_Surface* target, int32_t x, int32_t y, int32_t frame) {
    const TBriskRect source = FrameRect(frame);
    if (source.W == 0 || source.H == 0) return;
    SrcRect = source;
    if (SDL_Surface* cell = CellSurface(frame, source))
        BlitRect(cell, MakeRect(0, 0, source.W, source.H), target, x, y, &DestRect);
    else
        BlitRect(Surface.get(), SrcRect, target, x, y, &DestRect);
}

bool TBriskImage::CutFresh() {
    SDL_Surface* sheet = Surface.get();
    // Only keyed pictures are cut: the pictures of the field and the panels.
    if (sheet == nullptr || (sheet->flags & SDL_RLEACCELOK) == 0) return false;
    const uint32_t flags = sheet->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA);
    if (CellsSheet != sheet || CellsWidth != FrameWidth || CellsHeight != FrameHeight ||
        CellsKey != sheet->format->colorkey || CellsFlags != flags)
        CutCells();
    return true;
}

SDL_Surface* TBriskImage::CellSurface(int32_t frame, const TBriskRect& source) {
    const SDL_Surface* sheet = Surface.get();
    // A cell reaching past the sheet's edge is clipped by SDL; it stays with the sheet.
    if (frame < 0 || source.X < 0 || source.Y < 0 || source.X + source.W > sheet->w ||
        source.Y + source.H > sheet->h || !CutFresh())
        return nullptr;
    const auto index = static_cast<size_t>(frame);
    return index < Cells.size() ? Cells[index].get() : nullptr;
}

SDL_Surface* TBriskImage::WholeSurface() {
    return CutFresh() ? Whole.get() : nullptr;
}

void TBriskImage::ForgetCells() {
    Cells.clear();
    Whole.reset();
    CellsSheet = nullptr;
}

namespace {

// The picture in the screen's format when its channels lie in another order: a packed 24-bit
// picture would otherwise be converted pixel by pixel on every blit. Every channel keeps its
// 8 bits, so the key (mapped along) still marks exactly the pixels it marked. Empty when no
// conversion is needed or possible.
TSurfacePtr InScreenFormat(SDL_Surface* picture, const SDL_PixelFormat& from, uint32_t flags) {
    SDL_PixelFormat* screen =
        Screen != nullptr && Screen->Surface != nullptr ? Screen->Surface->format : nullptr;
    if (screen == nullptr || from.BytesPerPixel != 3 || screen->BytesPerPixel < 3 || screen->Amask != 0 ||
        (flags & SDL_SRCALPHA) != 0)
        return nullptr;
    if (from.Rmask == screen->Rmask && from.Gmask == screen->Gmask && from.Bmask == screen->Bmask &&
        from.BytesPerPixel == screen->BytesPerPixel)
        return nullptr;
    Uint8 red = 0, green = 0, blue = 0;
    SDL_GetRGB(from.colorkey, const_cast<SDL_PixelFormat*>(&from), &red, &green, &blue);
    TSurfacePtr converted{SDL_ConvertSurface(picture, screen, SDL_SWSURFACE)};
    if (converted && (flags & SDL_SRCCOLORKEY) != 0)
        SDL_SetColorKey(converted.get(), SDL_SRCCOLORKEY | SDL_RLEACCEL | SDL_RLEACCELOK,
                        SDL_MapRGB(converted->format, red, green, blue));
    return converted;
}

} // namespace

void TBriskImage::CutCells() {
    SDL_Surface* sheet = Surface.get();
    const SDL_PixelFormat& format = *sheet->format;
    CellsSheet = sheet;
    CellsWidth = FrameWidth;
    CellsHeight = FrameHeight;
    CellsKey = format.colorkey;
    CellsFlags = sheet->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA);
    Cells.clear();
    Whole = InScreenFormat(sheet, format, CellsFlags);
    if (FrameWidth <= 0 || FrameHeight <= 0) return;
    const int32_t columns = std::max(1, sheet->w / FrameWidth);
    const int32_t rows = sheet->h / FrameHeight;
    // A sheet of tiny cells is drawn from the sheet itself: a surface per cell would cost far
    // more than its pixels (a picture of 1 by 1 cells, millions of them).
    if (int64_t{columns} * rows > kMaxCutCells) return;
    const int32_t width = std::min(FrameWidth, sheet->w);
    // One lock decodes the run-length picture once for every cell.
    if (SDL_LockSurface(sheet) != 0) return;
    for (int32_t frame = 0; frame < columns * rows; ++frame) {
        TSurfacePtr cell(SDL_CreateRGBSurface(SDL_SWSURFACE, width, FrameHeight, format.BitsPerPixel,
                                              format.Rmask, format.Gmask, format.Bmask, format.Amask));
        if (!cell) break;
        if (format.palette != nullptr)
            SDL_SetColors(cell.get(), format.palette->colors, 0, format.palette->ncolors);
        const auto* from = static_cast<const Uint8*>(sheet->pixels) +
                           (frame / columns) * FrameHeight * sheet->pitch +
                           (frame % columns) * width * format.BytesPerPixel;
        for (int32_t y = 0; y < FrameHeight; ++y)
            std::copy_n(from + y * sheet->pitch, width * format.BytesPerPixel,
                        static_cast<Uint8*>(cell->pixels) + y * cell->pitch);
        Cells.push_back(std::move(cell));
    }
    SDL_UnlockSurface(sheet);
    for (TSurfacePtr& cell : Cells) {
        if (TSurfacePtr converted = InScreenFormat(cell.get(), format, CellsFlags)) {
            cell = std::move(converted);
            continue;
        }
        SDL_SetAlpha(cell.get(), CellsFlags & SDL_SRCALPHA, format.alpha);
        if ((CellsFlags & SDL_SRCCOLORKEY) != 0)
            SDL_SetColorKey(cell.get(), SDL_SRCCOLORKEY | SDL_RLEACCEL | SDL_RLEACCELOK, format.colorkey);
    }
}

TBriskImageList::~TBriskImageList() {
    Clear();
}

void TBriskImageList::Clear() {
    while (!List.empty())
        List.pop_back();
}

int32_t TBriskImageList::Add(std::unique_ptr<TBriskImage> image) {
    List.push_back(std::move(image));
    return static_cast<int32_t>(List.size()) - 1;
}

void TBriskImageList::LoadImage(std::string_view name, std::string_view fileName) {
    if (Logger != nullptr) Logger->LogStatus("Loading:" + std::string(name), "ImageList.LoadImage");
    auto image = std::make_unique<TBriskImage>();
    image->LoadFromFile(fileName);
    image->SetColorKey(0, 0, 0);
    image->Name = name;
    Add(std::move(image));
}

int32_t TBriskImageList::IndexOf(std::string_view name) const {
    for (int32_t i = Count() - 1; i >= 0; --i)
        if (List[static_cast<size_t>(i)]->Name == name) return i;
    return -1;
}

TBriskImage* TBriskImageList::Find(std::string_view name) const {
    return Items(IndexOf(name));
}

TBriskImage* TBriskImageList::Items(int32_t index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return List[static_cast<size_t>(index)].get();
}

void ApplyColorKeyFrom(TBriskImage& image, const TIniFile& ini, std::string_view section) {
    image.SetColorKey(ini.ReadInteger(section, "TransparentColor1", 0),
                      ini.ReadInteger(section, "TransparentColor2", 0),
                      ini.ReadInteger(section, "TransparentColor3", 0));
}

TBriskImage& SharedImage(std::string_view name, std::string_view fileName, const TIniFile& ini,
                         std::string_view section, int32_t frameWidth, int32_t frameHeight) {
    if (TBriskImage* found = ImageList->Find(name)) return *found;
    auto image = std::make_unique<TBriskImage>();
    image->LoadFromFile("images\\" + std::string(fileName));
    ApplyColorKeyFrom(*image, ini, section);
    image->FrameWidth = frameWidth;
    image->FrameHeight = frameHeight;
    image->Name = name;
    TBriskImage& shared = *image;
    ImageList->Add(std::move(image));
    return shared;
}
