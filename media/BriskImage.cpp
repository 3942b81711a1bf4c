// Loading, keying and drawing pictures and cells; the named image list.
#include "media/BriskImage.h"

#include "media/BriskDraws.h"
#include "media/BriskLogger.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <SDL.h>
#include <SDL_image.h>
#include <algorithm>

TBriskImageList* ImageList = nullptr;

TBriskImage::TBriskImage() = default;
TBriskImage::~TBriskImage() = default;

void TBriskImage::CreateSurface(int32_t width, int32_t height, int32_t depth) {
    Surface = NewSurface(width, height, depth);
    if (Surface) SrcRect = MakeRect(0, 0, Surface->w, Surface->h);
}

void TBriskImage::LoadFromFile(std::string_view fileName) {
    if (Name.empty()) Name = fileName;
    if (Logger != nullptr)
        Logger->LogStatus("Loading Image: " + std::string(fileName), "TBriskImage.LoadFromFile");
    Surface.reset(IMG_Load(ResolvePath(fileName).c_str()));
    if (Surface) SrcRect = MakeRect(0, 0, Surface->w, Surface->h);
}

void TBriskImage::SetColorKey(int32_t red, int32_t green, int32_t blue) {
    if (!Surface) return;
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
    BlitRect(Surface.get(), SrcRect, screen.Surface, x, y, &DestRect);
}

TBriskRect TBriskImage::FrameRect(int32_t frame) const {
    if (!Surface || FrameWidth <= 0 || FrameHeight <= 0) return {};
    // A sheet narrower than one cell would divide by zero below; it holds one cell per row.
    const int32_t cellsPerRow = std::max(1, Surface->w / FrameWidth);
    return MakeRect(frame % cellsPerRow * FrameWidth, frame / cellsPerRow * FrameHeight, FrameWidth,
                    FrameHeight);
}

void TBriskImage::DrawFrame(int32_t x, int32_t y, int32_t frame) {
    if (Screen != nullptr) DrawFrameOn(Screen->Surface, x, y, frame);
}

void TBriskImage::DrawFrameOn(SDL_Surface* target, int32_t x, int32_t y, int32_t frame) {
    const TBriskRect source = FrameRect(frame);
    if (source.W == 0 || source.H == 0) return;
    SrcRect = source;
    BlitRect(Surface.get(), SrcRect, target, x, y, &DestRect);
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
    const std::string folder = Screen != nullptr ? Screen->AppPath : std::string();
    image->LoadFromFile(folder + "images\\" + std::string(fileName));
    ApplyColorKeyFrom(*image, ini, section);
    image->FrameWidth = frameWidth;
    image->FrameHeight = frameHeight;
    image->Name = name;
    TBriskImage& shared = *image;
    ImageList->Add(std::move(image));
    return shared;
}
