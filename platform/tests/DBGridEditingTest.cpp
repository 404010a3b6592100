#include "ModelFixture.h"

namespace plat {
namespace {

using test::StoredValues;
using test::Texts;

class DBGridEditingTest : public test::GridFormFixture {};

TEST_F(DBGridEditingTest, TypedTextReplacesTheCellAndStaysInTheEditorUntilWritten) {
    ASSERT_TRUE(Type("XÇ"));
    EXPECT_EQ(grid.CellText(0, 0), "XÇ");
    EXPECT_EQ(code.AsString(), "A") << "not yet written";
    EXPECT_FALSE(cds.Modified());
    EXPECT_EQ(pageGrid.CellText(0, 1), "A") << "other grids show the field";
    Key(VK_BACK); // drops the character, not its last byte
    Type("YZW!"); // the field holds four characters
    Key(VK_RETURN);
    EXPECT_EQ(code.AsString(), "XYZW");
    EXPECT_EQ(cds.State(), TDataSetState::Edit) << "Enter writes, it does not post";
    grid.SetSelectedIndex(1);
    Type("50");  // replaces the cell's "1"
    Key(VK_TAB); // on to CODE of the next row, posting the first
    EXPECT_EQ(StoredValues(cds, "QTY")[0], "50");
    Key(VK_F2);
    Type("X");
    EXPECT_EQ(grid.EditorText(), "BX") << "F2 opens the editor on the cell's text";
}

TEST_F(DBGridEditingTest, MasksPickListsAndReadOnlyLimitWhatACellTakes) {
    for (const auto& [mask, typed, shown] :
         {std::tuple{">l;0; ", "1çx", "Ç"}, {"<LL;0; ", "aB", "ab"}, {"99;0; ", "1a23", "12"}}) {
        SCOPED_TRACE(typed);
        code.SetEditMask(mask);
        Key(VK_ESCAPE);
        Type(typed);
        Key(VK_RETURN);
        EXPECT_EQ(code.AsString(), shown);
    }
    // A picked entry goes whole into the editor: the mask applies to typed characters only.
    grid.SetColumnPickList(0, {"Atual", "Seguinte"});
    EXPECT_TRUE(grid.DropDownShown(0));
    EXPECT_TRUE(User([&] { grid.Pick("Seguinte"); }));
    EXPECT_EQ(grid.EditorText(), "Seguinte");
    EXPECT_FALSE(User([&] { grid.Pick("Outro"); })) << "not on the list";
    EXPECT_EQ(Dialogs().Transcript().size(), 1u);
    grid.SetColumnButtonStyle(0, TColumnButtonStyle::None);
    EXPECT_FALSE(grid.DropDownShown(0));
    EXPECT_THROW(grid.Pick("Atual"), EDatabaseError);
    Key(VK_ESCAPE);

    grid.SetColumnReadOnly(0, true);
    Type("X");
    Key(VK_DELETE);
    Key(VK_BACK);
    EXPECT_EQ(Cell(), "Browse 0:1");
    EXPECT_THROW(grid.Pick("X"), EDatabaseError);
    Key(VK_RIGHT);
    Type("7");
    EXPECT_EQ(Cell(), "Edit 1:1 7*") << "the other column still takes text";
    Key(VK_ESCAPE);

    grid.SetReadOnly(true);
    Type("8");
    cds.Last();
    Key(VK_DOWN);
    Key(VK_INSERT);
    Key(VK_DELETE, {.ctrl = true});
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
    EXPECT_EQ(cds.RecordCount(), 3);
    EXPECT_EQ(Dialogs().Transcript().size(), 1u) << "no delete question in a read-only grid";
}

// Every way out of a cell writes the typed text before any handler on the way runs; a write
// that raises stops the move there, with the text still in the editor.
TEST_F(DBGridEditingTest, EachWayOutWritesTheTypedTextFirstAndAFailingWriteStopsIt) {
    // Each way, how many of the handlers on the way out (OnColExit, OnExit, BeforePost) it
    // runs, and whether it posts the row.
    const std::tuple<const char*, std::function<bool()>, int, bool> leaves[] = {
        {"Tab", [this] { return Key(VK_TAB); }, 1, false},
        {"Down", [this] { return Key(VK_DOWN); }, 1, true},
        {"Insert", [this] { return Key(VK_INSERT); }, 1, true},
        {"post by code", [this] { return User([&] { cds.Post(); }); }, 1, true},
        {"focus moving away", [this] { return User([&] { pageGrid.SetFocus(); }); }, 1, false},
        {"Enter", [this] { return Key(VK_RETURN); }, 0, false}};
    for (const auto& [name, leave, handlers, posts] : leaves) {
        SCOPED_TRACE(name);
        Restart();
        Texts seen; // the field as each handler on the way out finds it
        grid.OnColExit = grid.OnExit = [&](TControl&) { seen.push_back(code.AsString()); };
        cds.BeforePost = [&](TClientDataSet&) { seen.push_back(code.AsString()); };
        Type("ZZ");
        EXPECT_TRUE(leave());
        EXPECT_EQ(seen, Texts(handlers, "ZZ"));
        EXPECT_FALSE(grid.EditorModified());
        EXPECT_EQ(StoredValues(cds, "CODE")[0], posts ? "ZZ" : "A");
        EXPECT_TRUE(posts || code.AsString() == "ZZ") << "written to the field";

        Restart();
        int exits = 0;
        grid.OnColExit = grid.OnExit = [&](TControl&) { ++exits; };
        code.OnSetText = [](TField& field, const std::string& text) {
            if (text == "XX") throw EDatabaseError("Código inválido.");
            field.SetAsString(text);
        };
        Type("XX");
        EXPECT_FALSE(leave());
        EXPECT_EQ(DialogTexts(), (Texts{"Código inválido."}));
        EXPECT_EQ(exits + log.Count("BeforePost"), 0);
        EXPECT_EQ(Cell(), "Edit 0:1 XX*");
        EXPECT_EQ(form.ActiveControl(), &grid);
        EXPECT_EQ(code.AsString(), "A");
    }
}

// Down on the last row and Tab on its last cell append a row, but not from a new row that
// holds nothing; Tab lands on the first column unless the new row's hooks focus another.
TEST_F(DBGridEditingTest, MovingPastTheLastRowAppendsOnlyFromAModifiedRow) {
    cds.Last();
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(grid.RowCount(), 4) << "an untouched new row takes no second one";
    Type("N"); // typed only, not yet written
    Key(VK_DOWN);
    EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "B", "C", "N"}));
    EXPECT_EQ(grid.CurrentRow(), 4);
    Key(VK_UP);
    EXPECT_EQ(Cell(), "Browse 0:4") << "Up from the new row goes to the row above it";

    grid.SetSelectedIndex(1);
    Key(VK_TAB);
    EXPECT_EQ(Cell(), "Insert 0:5");
    Key(VK_TAB);
    Key(VK_TAB);
    EXPECT_EQ(grid.RowCount(), 5) << "an untouched new row takes no second one";
    Key(VK_ESCAPE);
    cds.AfterInsert = [&](TClientDataSet&) { qty.FocusControl(); };
    grid.SetSelectedIndex(1);
    Key(VK_TAB);
    EXPECT_EQ(Cell(), "Insert 1:5");
    Key(VK_ESCAPE);
}

TEST_F(DBGridEditingTest, EscapeDropsANewRowAndCtrlDeleteAsksBeforeDeleting) {
    cds.Next();
    Key(VK_INSERT);
    EXPECT_EQ(grid.CurrentRow(), 1) << "Insert puts the new row above the current one";
    Type("N");
    Key(VK_ESCAPE);
    EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "B", "C"}));
    EXPECT_EQ(code.AsString(), "B");
    EXPECT_EQ(cds.ChangeCount(), 0);

    for (TModalResult answer : {TModalResult::No, TModalResult::Yes}) {
        Dialogs().QueueAnswer(answer);
        Key(VK_DELETE, {.ctrl = true});
    }
    EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "C"}));
    EXPECT_EQ(DialogTexts(), (Texts{"Excluir registro?", "Excluir registro?"}));
    EXPECT_EQ(Dialogs().Transcript()[0].buttons, (TMsgDlgButtons{TMsgDlgBtn::Yes, TMsgDlgBtn::No}));
    Key(VK_DELETE); // Delete alone empties the cell instead
    EXPECT_EQ(Cell(), "Edit 0:2 *");
}

// The form's key handlers run before the grid's and either may discard a key or its character;
// a key handler writing the cell's field takes the character, whatever delivers it.
TEST_F(DBGridEditingTest, KeyHandlersRunFormFirstAndMayDiscardOrTakeTheCharacter) {
    test::EventLog order;
    Texts chars; // the characters reaching the form
    form.OnKeyDown = [&](TForm&, std::uint16_t& key, TShiftState) {
        order.Add("form.KeyDown");
        if (key == VK_RETURN) key = 0;
        if (key == 'D') Do("Edit CODE=DONE");
    };
    grid.OnKeyDown = [&](TControl&, std::uint16_t& key, TShiftState) {
        order.Add("grid.KeyDown");
        if (key == VK_INSERT) key = 0;
    };
    form.OnKeyPress = [&](TForm&, std::string& ch) {
        order.Add("form.KeyPress");
        chars.push_back(ch);
        if (ch == "#") ch = std::string(1, '\0'); // the character 0 discards too
    };
    grid.OnKeyPress = [&](TControl&, std::string& ch) {
        order.Add("grid.KeyPress");
        if (ch == "x") ch.clear();
        if (ch == "q") Do("Edit QTY=5"); // another field: the character still goes into the cell
    };
    Type("a");
    EXPECT_EQ(order.Joined(), "form.KeyDown grid.KeyDown form.KeyPress grid.KeyPress");
    Type("#xbq");
    EXPECT_EQ(order.Count("grid.KeyPress"), 4) << "a character the form discarded goes no further";
    Key(VK_INSERT);
    EXPECT_EQ(Cell(), "Edit 0:1 abq*") << "a discarded key does nothing";
    EXPECT_EQ(qty.AsFloat(), 5.0);

    using Deliver = std::function<void(std::uint16_t key, const std::string& text)>;
    const std::pair<const char*, Deliver> paths[] = {
        {"key with its text",
         [this](std::uint16_t k, const std::string& t) { form.PressKey(k, {}, t); }},
        {"typed text", [this](std::uint16_t, const std::string& text) { form.TypeText(text); }}};
    for (const auto& [name, deliver] : paths) {
        SCOPED_TRACE(name);
        Restart();
        chars.clear();
        User([&] { deliver(VK_RETURN, "\r"); });
        User([&] { deliver('D', "d"); });
        EXPECT_EQ(code.AsString(), "DONE");
        EXPECT_FALSE(grid.EditorModified()) << "the key handler's write took the character";
        User([&] { deliver(VK_ESCAPE, "\x1b"); });
        EXPECT_EQ(chars, (Texts{"d", "\x1b"})) << "Enter was discarded; Escape makes #27";
        EXPECT_EQ(code.AsString(), "A") << "Escape cancelled";
        EXPECT_EQ(cds.State(), TDataSetState::Browse) << "its character is no typing";
    }
    chars.clear();
    User([&] { form.PressKey(VK_ESCAPE, {}); }); // without a text too
    EXPECT_EQ(chars, Texts{"\x1b"});
    form.OnKeyPress = nullptr;
    form.OnKeyDown = nullptr;
}

TEST_F(DBGridEditingTest, FieldAssignedByCodeWinsOverTypedTextInThatFieldOnly) {
    // script run from code with "ZZ" typed into CODE of row A; CODE and QTY of row A; OnChange
    // runs of CODE
    const std::tuple<const char*, const char*, const char*, int> cases[] = {
        {"QTY=9", "ZZ", "9", 1},
        {"CODE=XX", "XX", "1", 1},
        {"Disable CODE=XX Post Enable", "XX", "1", 1},
        {"CODE=A", "A", "1", 0}}; // the value it holds
    for (const auto& [script, stored, quantity, changes] : cases) {
        SCOPED_TRACE(script);
        Restart();
        int runs = 0;
        code.OnChange = [&](TField&) { ++runs; };
        ASSERT_TRUE(Type("ZZ"));
        ASSERT_TRUE(User([&] {
            Do(script);
            if (IsEditing(cds.State())) cds.Post();
        }));
        EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{stored, "B", "C"}));
        EXPECT_EQ(StoredValues(cds, "QTY")[0], quantity);
        EXPECT_EQ(runs, changes);
    }
}

// Tab writes the text, runs OnColExit for the column left (an abort keeps the column), then
// moves, unless a focus request meanwhile picked a column. Selecting from code runs no OnColExit.
TEST_F(DBGridEditingTest, ColumnExitSeesTheColumnLeftAndMayKeepItOrPointElsewhere) {
    enum class Exit { Passes, Aborts, PointsBack }; // what OnColExit does
    // column typed into, OnColExit, focus request from the typed field's OnChange, column
    // landed on
    const std::tuple<const char*, int, Exit, TField*, int> cases[] = {
        {"passes", 0, Exit::Passes, nullptr, 1},
        {"OnChange points back", 0, Exit::Passes, &code, 0},
        {"OnColExit points back", 0, Exit::PointsBack, nullptr, 0},
        {"OnColExit aborts", 0, Exit::Aborts, nullptr, 0},
        {"on the last column, OnColExit aborts", 1, Exit::Aborts, nullptr, 1}};
    for (const auto& [name, from, onColExit, focusedOnChange, lands] : cases) {
        SCOPED_TRACE(name);
        Restart();
        grid.SetSelectedIndex(from);
        TField& typedInto = from == 0 ? code : qty;
        typedInto.OnChange = [&, focused = focusedOnChange](TField&) {
            if (focused) focused->FocusControl();
        };
        Texts exits; // the field of the column selected when OnColExit runs, and its value
        grid.OnColExit = [&, what = onColExit](TControl&) {
            TField& field = *grid.SelectedField();
            exits.push_back(field.FieldName() + "=" + field.AsString());
            if (what == Exit::PointsBack) code.FocusControl();
            if (what == Exit::Aborts) Abort();
        };
        ASSERT_TRUE(Type("5"));
        EXPECT_EQ(Key(VK_TAB), onColExit != Exit::Aborts);
        EXPECT_EQ(exits, Texts{typedInto.FieldName() + "=5"}) << "the text is written first";
        EXPECT_EQ(Cell(), "Edit " + std::to_string(lands) + ":1");
        EXPECT_TRUE(Dialogs().Transcript().empty());
    }
    // Shift+Tab on the very first cell leaves nothing: no column exit.
    Restart();
    grid.OnColExit = [&](TControl&) { Abort(); };
    EXPECT_TRUE(Key(VK_TAB, {.shift = true}));
    grid.OnColExit = [&](TControl&) { ADD_FAILURE() << "OnColExit ran for a selection from code"; };
    Type("ZZ");
    grid.SetSelectedIndex(1);
    EXPECT_EQ(code.AsString(), "ZZ") << "pending text is written before the column changes";
    grid.SetSelectedField(code);
    EXPECT_EQ(grid.SelectedIndex(), 0);

    // A field check that points elsewhere then aborts ends the move on the field it named.
    code.OnSetText = [&](TField&, const std::string& text) {
        if (text == "BAD") {
            qty.FocusControl();
            Abort();
        }
        code.SetAsString(text);
    };
    grid.OnColExit = nullptr;
    Key(VK_ESCAPE);
    ASSERT_TRUE(Type("BAD"));
    EXPECT_FALSE(Key(VK_DOWN));
    EXPECT_EQ(Cell(), "Edit 1:1");
    EXPECT_EQ(code.AsString(), "A");
}

TEST_F(DBGridEditingTest, AClickOnACellTakesTheFocusPostsTheRowThenLeavesTheColumn) {
    log.Hook(grid, "grid");
    log.Hook(pageGrid, "page");
    pageGrid.OnColExit = [&](TControl&) {
        log.Add("ColExit " + pageGrid.SelectedField()->FieldName() + " " + code.AsString());
    };
    ASSERT_TRUE(Type("ZZ"));
    log.Clear();
    ASSERT_TRUE(User([&] { pageGrid.ClickCell(2, 1); }));
    EXPECT_EQ(log.Joined(), "grid.Exit page.Enter BeforePost AfterPost BeforeScroll AfterScroll "
                            "ColExit QTY C");
    EXPECT_EQ(pageGrid.SelectedIndex(), 1);
    EXPECT_EQ(StoredValues(cds, "CODE")[0], "ZZ");
    // A cell that is not there, or a grid that cannot take the focus: nothing happens.
    log.Clear();
    ASSERT_TRUE(User([&] { pageGrid.ClickCell(7, 0); }));
    grid.SetEnabled(false);
    ASSERT_TRUE(User([&] { grid.ClickCell(0, 1); }));
    EXPECT_EQ(log.Joined(), "");
    EXPECT_EQ(cds.RecNo(), 3);
}

} // namespace
} // namespace plat
