#include "shared/Vandrel.h"

#include "shared/HostConfig.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

TEST(VandrelTest, ServerAddressFollowsTheConfigurationAtEveryCall) {
    HostConfig::SetOverride("server.host", "10.0.0.5");
    HostConfig::SetOverride("server.port", "6801");
    EXPECT_EQ(WebURL(), "10.0.0.5");
    EXPECT_EQ(WebPort(), 6801);
    HostConfig::SetOverride("server.port", "6802");
    EXPECT_EQ(WebPort(), 6802);
    HostConfig::ClearOverrides();
}

TEST(VandrelTest, AtualizaLocalCacheRecordsTablesInOrder) {
    TLocalCache& cache = LocalCache();
    cache.Clear();
    std::vector<std::string> told;
    cache.OnNotice = [&](const std::string& table) { told.push_back(table); };
    int changes = 0;
    const int ticket =
        cache.Subscribe([&](TObservable&, Change what) { changes += what == Change::Data; });

    AtualizaLocalCache(nlohmann::json::array({"ITEMS"}));
    AtualizaLocalCache(nlohmann::json::array({"ORDERS", "ITEMS"}));
    AtualizaLocalCache(nlohmann::json::array());
    const std::vector<std::string> expected{"ITEMS", "ORDERS", "ITEMS"};
    EXPECT_EQ(cache.Notices(), expected);
    EXPECT_EQ(told, expected);
    EXPECT_EQ(changes, 3);

    // A list that is not all texts is refused before anything is recorded.
    const nlohmann::json bad[] = {"ITEMS", nlohmann::json::array({1}),
                                  nlohmann::json::array({"ORDERS", nullptr}),
                                  nlohmann::json::object()};
    for (const auto& tables : bad)
        EXPECT_THROW(AtualizaLocalCache(tables), std::invalid_argument) << tables;
    EXPECT_EQ(cache.Notices(), expected);

    cache.Unsubscribe(ticket);
    cache.OnNotice = nullptr;
    cache.Clear();
    EXPECT_TRUE(cache.Notices().empty());
}

} // namespace
} // namespace plat
