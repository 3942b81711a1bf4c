// Resolving the game's Windows-style paths against the real file system.
#include "platform/Paths.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// The entry of folder whose name equals name without regard to case; the first by sorted
// order when several differ only in case, so the choice does not depend on directory order.
std::string FindNoCase(const fs::path& folder, const std::string& name) {
    std::error_code error;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error);
    if (error) return {};
    std::string best;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        const std::string candidate = it->path().filename().string();
        if (SameTextNoCase(candidate, name) && (best.empty() || candidate < best)) best = candidate;
    }
    return best;
}

// Wildcard match without regard to case: "*" any run, "?" any one character.
bool MatchNoCase(std::string_view pattern, std::string_view text) {
    size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(text[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string ProcSelfExe() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : exe.string();
}

} // namespace

bool SameTextNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool LessTextNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

size_t HashTextNoCase(std::string_view text) {
    // FNV-1a over the lower-cased bytes.
    uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(Lower(c));
        hash *= 1099511628211ULL;
    }
    return static_cast<size_t>(hash);
}

std::string ResolvePath(std::string_view gamePath) {
    std::string text(gamePath);
    std::replace(text.begin(), text.end(), '\\', '/');
    if (text.empty()) return text;

    fs::path resolved = text.front() == '/' ? fs::path("/") : fs::path();
    bool searching = true; // once a folder is missing, nothing below it can be matched
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('/', start), text.size());
        const std::string part = text.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        fs::path next = resolved / part;
        if (searching && part != "." && part != ".." && !Exists(next)) {
            const std::string match = FindNoCase(resolved, part);
            if (match.empty())
                searching = false;
            else
                next = resolved / match;
        }
        resolved = std::move(next);
    }
    std::string result = resolved.string();
    if (text.back() == '/' && !result.empty() && result.back() != '/') result += '/';
    return result;
}

std::vector<std::string> ListFiles(std::string_view pattern) {
    std::string text(pattern);
    std::replace(text.begin(), text.end(), '\\', '/');
    const size_t slash = text.rfind('/');
    const std::string folderPart = slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
    const std::string namePattern = slash == std::string::npos ? text : text.substr(slash + 1);

    std::vector<std::string> names;
    const std::string folder = folderPart.empty() ? std::string(".") : ResolvePath(folderPart);
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return names;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        std::error_code statusError;
        if (!it->is_regular_file(statusError)) continue;
        const std::string name = it->path().filename().string();
        if (MatchNoCase(namePattern, name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        if (LessTextNoCase(a, b)) return true;
        if (LessTextNoCase(b, a)) return false;
        return a < b; // names differing only in case still get one fixed order
    });
    return names;
}

std::string ExecutableFolder() {
    const std::string exe = ProcSelfExe();
    const size_t slash = exe.rfind('/');
    if (slash == std::string::npos) return "./";
    return exe.substr(0, slash + 1);
}

std::string ExecutableFileName() {
    const std::string exe = ProcSelfExe();
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? exe : exe.substr(slash + 1);
}

std::string ExecutableStem() {
    std::string name = ExecutableFileName();
    const size_t dot = name.rfind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}
