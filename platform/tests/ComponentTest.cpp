#include "core/Component.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

// Writes its name to a shared log when destroyed, before the components it owns go.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string name, std::vector<std::string>* log)
        : TComponent(owner, std::move(name)), log_(log) {}
    ~Probe() override { log_->push_back(Name()); }

private:
    std::vector<std::string>* log_;
};

TEST(ComponentTest, FindComponentIgnoresCaseAndSearchesDepthFirst) {
    std::vector<std::string> log;
    TComponent root(nullptr, "frm");
    auto& grid = root.Create<Probe>("dbgPadrao", &log);
    auto& deep = grid.Create<Probe>("Alvo", &log);
    auto& column = grid.Create<Probe>("Coluna", &log);
    root.Create<Probe>("alvo", &log);

    EXPECT_EQ(root.FindComponent("DBGPADRAO"), &grid);
    EXPECT_EQ(root.FindComponent("coluna"), &column);
    EXPECT_EQ(root.FindComponent("ALVO"), &deep); // the first child's subtree comes first
    EXPECT_EQ(root.FindComponent("Nada"), nullptr);
    EXPECT_EQ(root.FindComponent(""), nullptr);
    EXPECT_EQ(root.Find<Probe>("coluna"), &column);
    EXPECT_EQ(root.Find<Probe>("frm"), nullptr); // a component does not find itself
    EXPECT_EQ(column.Owner(), &grid);
    EXPECT_EQ(grid.Components(), (std::vector<TComponent*>{&deep, &column}));
}

TEST(ComponentTest, OwnerDestroysNewestFirst) {
    std::vector<std::string> log;
    {
        TComponent root(nullptr, "frm");
        auto& first = root.Create<Probe>("A", &log);
        first.Create<Probe>("A1", &log);
        first.Create<Probe>("A2", &log);
        root.Create<Probe>("B", &log);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"B", "A", "A2", "A1"}));
}

} // namespace
} // namespace plat
