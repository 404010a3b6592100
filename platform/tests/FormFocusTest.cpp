#include "ModelFixture.h"
#include "ui/Buttons.h"

#include <memory>

namespace plat {
namespace {

// A handler that replaces itself in slot while it runs, as a screen detaching its own handler
// does, and counts whether that destroyed it under its own run; the replacement counts its runs.
std::weak_ptr<int> running;
int destroyedWhileRunning = 0;
template <class Fn> Fn SelfReplacing(Fn* slot, int* replacementRuns) {
    return [state = std::make_shared<int>(), slot, replacementRuns](auto&&...) {
        running = state;
        *slot = [replacementRuns](auto&&...) { ++*replacementRuns; };
        destroyedWhileRunning += running.expired(); // touches none of the handler's own state
    };
}

// Adds a second dataset shown by dayGrid, on the form beside the others.
class FormFocusTest : public test::GridFormFixture {
public:
    TClientDataSet& cdsDay = form.Create<TClientDataSet>("cdsDay");
    TField& day = cdsDay.AddStringField("cdsDayDAY", "DAY", 2);
    TDataSource& dtsDay = form.Create<TDataSource>("dtsDay");
    TDBGrid& dayGrid = form.Create<TDBGrid>("dbgDay");
    TSpeedButton& button = form.Create<TSpeedButton>("sbtConfirmar");

    void SetUp() override {
        GridFormFixture::SetUp();
        dayGrid.SetParent(&form);
        dayGrid.SetDataSource(&dtsDay);
        dayGrid.AddColumn("DAY");
        dtsDay.SetDataSet(&cdsDay);
        cdsDay.SetData(
            {{"fields", {{{"name", "DAY"}, {"type", "string"}, {"size", 2}}}}, {"rows", {{"01"}}}});
        button.SetParent(&form);
        log.Hook(grid, "grid");
        log.Hook(pageGrid, "page");
        log.Hook(dayGrid, "day");
    }
};

TEST_F(FormFocusTest, MoveRunsTheOldExitThenTheNewEnterAndAFailingExitKeepsTheFocus) {
    EXPECT_TRUE(User([&] { pageGrid.SetFocus(); }));
    EXPECT_EQ(log.Joined(), "grid.Exit page.Enter");
    User([&] { pageGrid.SetFocus(); });
    EXPECT_EQ(log.Joined(), "grid.Exit page.Enter") << "focusing the focused control runs nothing";
    EXPECT_TRUE(pageGrid.Focused() && !grid.Focused());

    form.SetActiveControl(&grid);
    log.Clear();
    grid.OnExit = [&](TControl&) { Abort(); };
    EXPECT_FALSE(User([&] { pageGrid.SetFocus(); }));
    EXPECT_EQ(form.ActiveControl(), &grid);
    EXPECT_EQ(log.Count("page.Enter"), 0);
    EXPECT_TRUE(Dialogs().Transcript().empty()) << "the abort is silent";

    // The focus can go nowhere that cannot take it; the old control is not even left.
    grid.OnExit = [&](TControl&) { log.Add("grid.Exit"); };
    pageGrid.SetEnabled(false);
    EXPECT_FALSE(User([&] { pageGrid.SetFocus(); }));
    EXPECT_EQ(Dialogs().Transcript().size(), 1u);
    EXPECT_EQ(log.Count("grid.Exit"), 0);
    EXPECT_EQ(form.ActiveControl(), &grid);
}

// A field's focus request outside an exit moves the focus quietly to the first grid showing
// the field that can take it, on the page shown; every grid showing the field selects it.
TEST_F(FormFocusTest, FocusRequestOutsideAnExitMovesQuietlyToAGridThatCanTakeIt) {
    const std::tuple<const char*, std::function<void()>, TDBGrid*> cases[] = {
        {"all can", [] {}, &grid},
        {"grid disabled", [&] { grid.SetEnabled(false); }, &pageGrid},
        {"second page shown", [&] { book.SetPageIndex(1); }, &hiddenGrid},
    };
    for (const auto& [name, takeAway, lands] : cases) {
        SCOPED_TRACE(name);
        takeAway(); // cumulative: the grid stays disabled for the page turned
        form.SetActiveControl(&dayGrid);
        grid.SetSelectedIndex(1);
        log.Clear();
        EXPECT_TRUE(User([&] { code.FocusControl(); }));
        EXPECT_EQ(form.ActiveControl(), lands);
        EXPECT_EQ(log.Joined(), "") << "no exit, no enter";
        EXPECT_EQ(grid.SelectedIndex(), 0);
        EXPECT_EQ(pageGrid.SelectedIndex(), 1);
    }
    EXPECT_FALSE(pageGrid.CanFocus()) << "on the page not shown";
}

TEST_F(FormFocusTest, FocusRequestDuringAnExitRedirectsTheMove) {
    // What grid's exit does on the way to pageGrid, whether it then fails, and the events.
    const std::tuple<const char*, std::function<void()>, bool, const char*> cases[] = {
        {"field focus request", [&] { day.FocusControl(); }, false, "Exit Exit-done day.Enter"},
        {"SetFocus", [&] { dayGrid.SetFocus(); }, false, "Exit Exit-done day.Enter"},
        {"request then failure", [&] { day.FocusControl(); }, true, "Exit day.Enter"},
        // A check pointing at a column of the grid being left keeps the focus there.
        {"a column of the grid left", [&] { qty.FocusControl(); }, false, "Exit Exit-done"},
    };
    for (const auto& [name, redirect, aborts, events] : cases) {
        SCOPED_TRACE(name);
        Restart();
        grid.OnExit = [&, redirect = redirect, aborts = aborts](TControl&) {
            log.Add("Exit");
            redirect();
            EXPECT_EQ(form.ActiveControl(), &grid) << "no move while the exit runs";
            if (aborts) Abort();
            log.Add("Exit-done");
        };
        EXPECT_EQ(User([&] { pageGrid.SetFocus(); }), !aborts);
        EXPECT_EQ(log.Joined(), events);
        const bool away = log.Count("day.Enter") == 1;
        EXPECT_EQ(form.ActiveControl(), away ? &dayGrid : &grid);
        EXPECT_EQ(grid.SelectedIndex(), away ? 0 : 1);
        // Leaving the control entered later pairs with that enter.
        grid.OnExit = nullptr;
        EXPECT_TRUE(User([&] { grid.SetFocus(); }));
        EXPECT_EQ(log.Count("day.Exit"), away ? 1 : 0);
    }
}

TEST_F(FormFocusTest, HandlerReplacedWhileItRunsFinishesSafely) {
    int replacementRuns = 0;
    auto replace = [&](auto& slot) { slot = SelfReplacing(&slot, &replacementRuns); };
    auto focus = [&](TDBGrid& from, TDBGrid& to) {
        form.SetActiveControl(&from);
        User([&] { to.SetFocus(); });
    };
    // Each event: how to put the self-replacing handler in, and how to make the event run.
    const std::tuple<const char*, std::function<void()>, std::function<void()>> cases[] = {
        {"OnEnter", [&] { replace(grid.OnEnter); }, [&] { focus(dayGrid, grid); }},
        {"OnExit", [&] { replace(grid.OnExit); }, [&] { focus(grid, dayGrid); }},
        {"OnColExit", [&] { replace(grid.OnColExit); },
         [&] { Key(grid.SelectedIndex() ? VK_LEFT : VK_TAB); }},
        {"OnKeyPress", [&] { replace(grid.OnKeyPress); }, [&] { Type("a"); }},
        {"BeforePost", [&] { replace(cds.BeforePost); },
         [&] { Do("Edit CODE=" + code.AsString() + "X Post"); }},
        {"OnChange", [&] { replace(code.OnChange); },
         [&] { Do("Edit CODE=" + code.AsString() + "X"); }},
        {"OnStateChange", [&] { replace(dts.OnStateChange); },
         [&] { Do(IsEditing(cds.State()) ? "Cancel" : "Edit"); }},
        {"OnClick", [&] { replace(button.OnClick); }, [&] { button.Click(); }},
    };
    for (const auto& [name, install, trigger] : cases) {
        SCOPED_TRACE(name);
        Restart();
        replacementRuns = 0;
        destroyedWhileRunning = 0;
        install();
        trigger();
        trigger();
        EXPECT_EQ(destroyedWhileRunning, 0) << "destroyed while running";
        EXPECT_EQ(replacementRuns, 1) << "the replacement takes over";
    }
    dts.OnStateChange = nullptr;
}

TEST_F(FormFocusTest, ButtonsNeverTakeTheFocus) {
    int clicks = 0;
    button.OnClick = [&](TControl&) { ++clicks; };
    EXPECT_TRUE(User([&] { button.Click(); }));
    button.SetEnabled(false);
    User([&] { button.Click(); });
    EXPECT_EQ(clicks, 1) << "a disabled command does nothing";
    EXPECT_EQ(form.ActiveControl(), &grid);
    EXPECT_EQ(log.Count("grid.Exit"), 0);
}

TEST_F(FormFocusTest, ADisabledOrHiddenControlLosesTheFocusAndTakesNoKeys) {
    // the control focused, how it loses the focus, where the focus goes
    const std::tuple<const char*, TDBGrid*, std::function<void()>, TDBGrid*> cases[] = {
        {"disabled", &grid, [this] { grid.SetEnabled(false); }, &pageGrid},
        {"hidden", &grid, [this] { grid.SetVisible(false); }, &pageGrid},
        {"page turned", &pageGrid, [this] { book.SetPageIndex(1); }, &hiddenGrid}};
    for (const auto& [name, focused, takeAway, next] : cases) {
        SCOPED_TRACE(name);
        Restart();
        form.SetActiveControl(focused);
        takeAway();
        EXPECT_EQ(form.ActiveControl(), next);
        // Should the focus still stand on it, no key reaches it.
        form.SetActiveControl(focused);
        Type("Z");
        Key(VK_DELETE, {.ctrl = true});
        EXPECT_FALSE(focused->EditorModified());
        EXPECT_EQ(cds.State(), TDataSetState::Browse);
        EXPECT_TRUE(DialogTexts().empty()) << "no question about deleting";
    }
}

} // namespace
} // namespace plat
