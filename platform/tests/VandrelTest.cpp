#include "shared/Vandrel.h"

#include "shared/Showavi.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

// The tables a save names are recorded in order and told; a list that is not all texts is
// refused before anything is recorded.
TEST(VandrelTest, AtualizaLocalCacheRecordsTablesInOrder) {
    TLocalCache& cache = LocalCache();
    cache.Clear();
    int changes = 0;
    const int ticket =
        cache.Subscribe([&](TObservable&, Change what) { changes += what == Change::Data; });
    AtualizaLocalCache(nlohmann::json::array({"ITEMS"}));
    AtualizaLocalCache(nlohmann::json::array({"ORDERS", "ITEMS"}));
    for (const auto& bad : {nlohmann::json("ITEMS"), nlohmann::json::array({"ORDERS", nullptr})})
        EXPECT_THROW(AtualizaLocalCache(bad), std::invalid_argument) << bad;
    EXPECT_EQ(cache.Notices(), (std::vector<std::string>{"ITEMS", "ORDERS", "ITEMS"}));
    EXPECT_EQ(changes, 3);
    cache.Unsubscribe(ticket);
    cache.Clear();
}

TEST(ShowaviTest, AnimationRunsBetweenTheTwoCallsAndARestartCountsAsAStart) {
    TWaitIndicator& wait = WaitIndicator();
    DeactiveShowAvi();
    const int before = wait.Activations();
    int changes = 0;
    const int ticket =
        wait.Subscribe([&](TObservable&, Change what) { changes += what == Change::Wait; });
    TComponent form(nullptr, "frmItems");
    ActiveShowAvi(&form, 6);
    ActiveShowAvi(&form, 1);
    EXPECT_EQ(wait.Kind(), 1);
    EXPECT_EQ(wait.Form(), &form);
    DeactiveShowAvi();
    DeactiveShowAvi(); // nothing runs: nothing to tell
    EXPECT_FALSE(wait.Active());
    EXPECT_EQ(wait.Activations(), before + 2);
    EXPECT_EQ(changes, 3);
    wait.Unsubscribe(ticket);
}

} // namespace
} // namespace plat
