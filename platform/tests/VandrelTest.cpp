#include "shared/Vandrel.h"

#include "shared/Showavi.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

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

TEST(ShowaviTest, AnimationRunsBetweenTheTwoCalls) {
    TWaitIndicator& wait = WaitIndicator();
    DeactiveShowAvi();
    const int before = wait.Activations();
    int changes = 0;
    const int ticket =
        wait.Subscribe([&](TObservable&, Change what) { changes += what == Change::Wait; });
    TComponent form(nullptr, "frmItems");

    ActiveShowAvi(&form, 6);
    EXPECT_TRUE(wait.Active());
    EXPECT_EQ(wait.Kind(), 6);
    EXPECT_EQ(wait.Form(), &form);
    ActiveShowAvi(&form, 1); // a restart counts as a start
    EXPECT_EQ(wait.Kind(), 1);
    DeactiveShowAvi();
    DeactiveShowAvi(); // nothing runs: nothing to tell
    EXPECT_FALSE(wait.Active());
    EXPECT_EQ(wait.Form(), nullptr);
    EXPECT_EQ(wait.Activations(), before + 2);
    EXPECT_EQ(changes, 3);
    wait.Unsubscribe(ticket);
}

} // namespace
} // namespace plat
