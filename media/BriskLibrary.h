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
    // For the running executable: its name, the settings folder (start-up file) and the log
    // folder.
    TBriskLibrary();
    // For a given folder (with trailing "/") and executable file name; tests use their own.
    // The log goes to logPath when given, else beside the start-up file.
    TBriskLibrary(std::string appPath, std::string exeName, std::string logPath = {});
    ~TBriskLibrary();
    TBriskLibrary(const TBriskLibrary&) = delete;
    TBriskLibrary& operator=(const TBriskLibrary&) = delete;

private:
    void Start(std::string appPath, std::string exeName, std::string logPath);

    std::unique_ptr<TLogger> OwnedLogger;
    std::unique_ptr<TBriskDraw> OwnedScreen;
    std::unique_ptr<TBriskImageList> OwnedImageList;
    bool TrueTypeStarted = false;
    std::unique_ptr<TBriskFontList> OwnedFontList;
    bool AudioOpened = false;
    std::unique_ptr<TBriskSoundEngine> OwnedSoundEngine;
};
