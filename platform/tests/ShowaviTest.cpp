#include "shared/Showavi.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

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
