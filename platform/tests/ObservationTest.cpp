#include "ModelFixture.h"
#include "ui/Buttons.h"

#include <map>

namespace plat {
namespace {

// Counts the announcements an observable makes, by kind.
class Watch {
public:
    explicit Watch(TObservable& target) : target_(target) {
        ticket_ = target.Subscribe([this](TObservable&, Change what) { ++counts_[what]; });
    }
    ~Watch() { target_.Unsubscribe(ticket_); }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    int operator[](Change what) const {
        auto found = counts_.find(what);
        return found == counts_.end() ? 0 : found->second;
    }
    int Total() const {
        int total = 0;
        for (const auto& [what, count] : counts_)
            total += count;
        return total;
    }
    void Clear() { counts_.clear(); }

private:
    TObservable& target_;
    int ticket_ = 0;
    std::map<Change, int> counts_;
};

class ObservationTest : public test::GridFormFixture {
public:
    TSpeedButton& button = form.Create<TSpeedButton>("sbtIncluir");
};

TEST_F(ObservationTest, EachVisibleChangeIsAnnouncedOnceAndARepeatNotAtAll) {
    struct Case {
        const char* name;
        std::function<TObservable&()> target;
        Change what;
        std::function<void()> action;
    };
    auto onGrid = [this]() -> TObservable& { return grid; };
    auto onData = [this]() -> TObservable& { return cds; };
    auto onForm = [this]() -> TObservable& { return form; };
    const Case cases[] = {
        {"read-only column", onGrid, Change::Columns, [this] { grid.SetColumnReadOnly(1, true); }},
        {"drop-down button", onGrid, Change::Columns,
         [this] { grid.SetColumnButtonStyle(0, TColumnButtonStyle::None); }},
        {"pick list", onGrid, Change::Columns,
         [this] {
             grid.SetColumnPickList(0, {"Atual", "Seguinte"});
         }},
        {"column title", onGrid, Change::Columns, [this] { grid.SetColumnTitle(0, "Código"); }},
        {"selected column", onGrid, Change::Column, [this] { grid.SetSelectedIndex(1); }},
        {"enabled state", [this]() -> TObservable& { return button; }, Change::Enabled,
         [this] { button.SetEnabled(false); }},
        {"notebook page", [this]() -> TObservable& { return book; }, Change::Page,
         [this] { book.SetPageIndex(1); }},
        {"window state", onForm, Change::WindowState,
         [this] { form.SetWindowState(TWindowState::Maximized); }},
        {"focus", onForm, Change::Focus, [this] { User([&] { pageGrid.SetFocus(); }); }},
        {"dataset state", onData, Change::State, [this] { cds.Edit(); }},
        {"field value", onData, Change::Data,
         [this] {
             cds.Edit();
             qty.SetAsFloat(7);
         }},
        {"field value in the grid", onGrid, Change::Data,
         [this] {
             cds.Edit();
             qty.SetAsFloat(7);
         }},
        {"caption", [this]() -> TObservable& { return button; }, Change::Caption,
         [this] { button.SetCaption("Incluir"); }},
        {"visibility", onGrid, Change::Visible, [this] { grid.SetVisible(false); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        Watch watch(c.target());
        c.action();
        EXPECT_GE(watch[c.what], 1);
        watch.Clear();
        c.action();
        EXPECT_EQ(watch.Total(), 0) << "repeating the change announced something";
    }
}

TEST_F(ObservationTest, CurrentRowIsAnnouncedWhenTheCursorMoves) {
    Watch watch(cds);
    cds.Next();
    EXPECT_EQ(watch[Change::Current], 1);
    cds.Last();
    watch.Clear();
    cds.Next();
    EXPECT_EQ(watch.Total(), 0) << "no move at the end";
}

TEST_F(ObservationTest, TypingIsAnnouncedAsEditorChanges) {
    Watch watch(grid);
    Type("AB");
    EXPECT_EQ(watch[Change::Editor], 2);
    watch.Clear();
    Key(VK_ESCAPE);
    EXPECT_GE(watch[Change::Editor], 1);
}

TEST_F(ObservationTest, WritingTheHeldValueAnnouncesAndFiresNothing) {
    cds.Edit();
    Watch dataSet(cds);
    Watch gridWatch(grid);
    int dataChanges = 0;
    dts.OnDataChange = [&](TDataSource&, TField*) { ++dataChanges; };
    int fieldChanges = 0;
    code.OnChange = [&](TField&) { ++fieldChanges; };
    code.SetAsString("A");
    qty.SetAsFloat(1);
    qty.SetText("1,0");
    cds.Edit();
    EXPECT_EQ(dataSet.Total() + gridWatch.Total() + dataChanges + fieldChanges, 0);
    EXPECT_FALSE(cds.Modified());
    dts.OnDataChange = nullptr;
}

TEST_F(ObservationTest, DisabledControlsRepaintOnceWhenTheOutermostEnableComes) {
    Watch gridWatch(grid);
    int dataChanges = 0;
    dts.OnDataChange = [&](TDataSource&, TField*) { ++dataChanges; };
    cds.DisableControls();
    cds.DisableControls();
    cds.Edit();
    code.SetAsString("X");
    cds.Post();
    cds.Next();
    cds.Append();
    cds.Cancel();
    cds.Delete();
    cds.EnableControls();
    EXPECT_TRUE(cds.ControlsDisabled());
    EXPECT_EQ(gridWatch[Change::Data], 0);
    EXPECT_EQ(dataChanges, 0);
    cds.EnableControls();
    EXPECT_FALSE(cds.ControlsDisabled());
    EXPECT_EQ(gridWatch[Change::Data], 1);
    EXPECT_EQ(dataChanges, 1);
    EXPECT_EQ(grid.CellText(0, 0), "X");
    EXPECT_EQ(grid.RowCount(), 2);

    // Nothing changed while disabled: nothing to repaint; a surplus enable does no harm.
    gridWatch.Clear();
    cds.DisableControls();
    cds.EnableControls();
    cds.EnableControls();
    EXPECT_EQ(gridWatch[Change::Data], 0);
    EXPECT_FALSE(cds.ControlsDisabled());
    cds.First();
    EXPECT_EQ(gridWatch[Change::Data], 1);
    dts.OnDataChange = nullptr;
}

} // namespace
} // namespace plat
