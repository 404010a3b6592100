#include "shared/LocalCache.h"

namespace plat {

void TLocalCache::Notice(const std::string& table) {
    notices_.push_back(table);
    if (OnNotice) OnNotice(table);
    Notify(Change::Data);
}

void TLocalCache::Clear() {
    if (notices_.empty()) return;
    notices_.clear();
    Notify(Change::Data);
}

TLocalCache& LocalCache() {
    static TLocalCache cache;
    return cache;
}

} // namespace plat
