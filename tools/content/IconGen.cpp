// icon-gen FOLDER SIZE...: writes FOLDER/<size>x<size>/duelmark.png for each size, the desktop icon at
// the sizes the installed game offers.
#include "Icon.h"

#include <charconv>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: icon-gen FOLDER SIZE...\n";
        return 2;
    }
    try {
        for (int i = 2; i < argc; ++i) {
            const std::string_view text = argv[i];
            int size = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
            // The hicolor theme's largest size is 512; past it nobody looks.
            if (error != std::errc() || end != text.data() + text.size() || size < 16 || size > 512) {
                std::cerr << "icon-gen: a size is 16 to 512 pixels, not " << text << "\n";
                return 2;
            }
            const std::filesystem::path folder =
                std::filesystem::path(argv[1]) / (std::string(text) + "x" + std::string(text));
            std::filesystem::create_directories(folder);
            content::WriteAlphaPng((folder / "duelmark.png").string(), content::DrawIcon(size));
        }
    } catch (const std::exception& error) {
        std::cerr << "icon-gen: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
