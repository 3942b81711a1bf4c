// Brings the media library's singletons up in their order (logger, screen, image list,
// TrueType and font list, audio and sound engine) and down in the reverse order.
// The network library's start object (TNetLibrary) is declared after this one by its user.
#pragma once

#include <memory>
#include <string>

class TLogger;
class TBriskDraw;
class TBriskImageList;
class TBriskFontList;
class TBriskSoundEngine;

class TBriskLibrary {
public:
    // For the running executable: its folder and name locate the start-up file and the log.
    TBriskLibrary();
    // For a given folder (with trailing "/") and executable file name; tests use their own.
    TBriskLibrary(std::string appPath, std::string exeName);
    ~TBriskLibrary();
    TBriskLibrary(const TBriskLibrary&) = delete;
    TBriskLibrary& operator=(const TBriskLibrary&) = delete;

private:
    void Start(std::string appPath, std::string exeName);

    std::unique_ptr<TLogger> OwnedLogger;
    std::unique_ptr<TBriskDraw> OwnedScreen;
    std::unique_ptr<TBriskImageList> OwnedImageList;
    bool TrueTypeStarted = false;
    std::unique_ptr<TBriskFontList> OwnedFontList;
    bool AudioOpened = false;
    std::unique_ptr<TBriskSoundEngine> OwnedSoundEngine;
};
