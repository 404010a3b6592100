#pragma once
#include "core/Observable.h"

#include <functional>
#include <string>
#include <vector>

namespace plat {

/// The host's local cache of server tables. It learns which tables changed on the server so
/// that it re-reads them; here it keeps the notices in order for the host and for tests.
class TLocalCache : public TObservable {
public:
    /// Records that table changed on the server; tells OnNotice and the observers (Change::Data).
    void Notice(const std::string& table);
    /// Every table name noticed, oldest first.
    const std::vector<std::string>& Notices() const { return notices_; }
    /// Forgets the notices.
    void Clear();
    /// Called for every table as it is noticed.
    std::function<void(const std::string& table)> OnNotice;

private:
    std::vector<std::string> notices_;
};

/// The process's local cache, shared by the host and every loaded module.
TLocalCache& LocalCache();

} // namespace plat
