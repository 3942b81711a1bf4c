// Scoped reuse of INI files read during one load.
#include "platform/IniFileCache.h"

#include <cassert>

TIniFileCache::TScope::TScope(TIniFileCache& cache) : Cache(cache) {
    ++Cache.Depth;
}

TIniFileCache::TScope::~TScope() {
    if (--Cache.Depth == 0) Cache.Files.clear();
}

const TIniFile& TIniFileCache::Get(const std::string& gamePath) {
    assert(Depth > 0 && "files are kept only while a scope is open");
    std::unique_ptr<TIniFile>& file = Files[gamePath];
    if (file == nullptr) file = std::make_unique<TIniFile>(gamePath);
    return *file;
}
