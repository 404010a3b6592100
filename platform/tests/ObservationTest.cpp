#include "ModelFixture.h"

namespace plat {
namespace {

using test::Texts;

// A notice as a short text: kind, then the particulars the kind carries.
std::string Describe(const TNotice& n) {
    static const char* kinds[] = {"Data",    "State",   "Current", "Focus",   "Column",  "Editor",
                                  "Enabled", "Columns", "Page",    "Window",  "Caption", "Visible",
                                  "Wait",    "Cursor",  "Forms",   "Repaint", "Field"};
    static const char* rows[] = {"All", "Inserted", "Removed", "Changed"};
    static const char* properties[] = {
        "-",        "Added",       "Title",     "Width",        "ReadOnly",
        "PickList", "ButtonStyle", "Alignment", "DisplayLabel", "EditMask"};
    std::string text = kinds[static_cast<int>(n.what)];
    const auto add = [&](const std::string& part) { text += " " + part; };
    if (n.what == Change::Data) add(rows[static_cast<int>(n.rows)]);
    if (n.what == Change::Data && n.rows != RowChange::All) add(std::to_string(n.row));
    if (n.what == Change::Current) add(std::to_string(n.row));
    if (n.what == Change::Column || n.what == Change::Columns) add(std::to_string(n.column));
    if ((n.what == Change::Data || n.what == Change::Field) && n.field) add(n.field->FieldName());
    if (n.what == Change::Columns || n.what == Change::Field)
        add(properties[static_cast<int>(n.property)]);
    return text;
}

// Records what an observable announces, as texts.
struct Recorder {
    explicit Recorder(TObservable& on)
        : target(on), ticket(on.Observe([this](TObservable&, const TNotice& n) {
              notices.push_back(Describe(n));
          })) {}
    ~Recorder() { target.Unsubscribe(ticket); }
    Texts Of(const std::string& kind) const {
        Texts out;
        std::ranges::copy_if(notices, std::back_inserter(out),
                             [&](const std::string& n) { return n.starts_with(kind); });
        return out;
    }
    TObservable& target;
    Texts notices;
    int ticket;
};

class ObservationTest : public test::GridFormFixture {};

TEST_F(ObservationTest, EachVisibleChangeSaysWhatChangedAndARepeatNothing) {
    // what announces, the change, and the notices of the kinds named there, in order
    const std::tuple<TObservable*, std::function<void()>, Texts> cases[] = {
        {&grid, [&] { grid.SetColumnReadOnly(1, true); }, {"Columns 1 ReadOnly"}},
        {&grid, [&] { grid.SetReadOnly(true); }, {"Columns -1 ReadOnly"}},
        {&grid, [&] { grid.SetColumnTitle(0, "Código"); }, {"Columns 0 Title"}},
        {&grid,
         [&] { code.SetDisplayLabel("Código"); },
         {"Field CODE DisplayLabel", "Columns 0 Title"}},
        {&cds, [&] { code.SetEditMask(">l;0; "); }, {"Field CODE EditMask"}},
        {&grid, [&] { grid.SetSelectedIndex(1); }, {"Column 1"}},
        {&grid, [&] { Key(VK_F2); }, {"Editor"}}, // the editor's text is no longer selected
        {&grid, [&] { Do("Edit QTY=7"); }, {"State", "Data Changed 0 QTY"}},
        {&cds, [&] { cds.MoveBy(5); }, {"Current 2"}},
        {&pageGrid, [&] { pageGrid.SetEnabled(false); }, {"Enabled"}},
        {&book, [&] { book.SetPageIndex(1); }, {"Page"}},
        {&form, [&] { form.SetWindowState(TWindowState::Maximized); }, {"Window"}},
    };
    for (const auto& [target, action, expected] : cases) {
        SCOPED_TRACE(expected.back());
        Restart();
        grid.SetColumnTitle(0, {});
        code.SetDisplayLabel({});
        Recorder recorder(*target);
        action();
        Texts kinds;
        for (const std::string& n : recorder.notices)
            for (const std::string& want : expected)
                if (n.substr(0, n.find(' ')) == want.substr(0, want.find(' '))) {
                    kinds.push_back(n);
                    break;
                }
        EXPECT_EQ(kinds, expected);
        recorder.notices.clear();
        action();
        EXPECT_EQ(recorder.Of("Data").size() + recorder.Of("Columns").size() +
                      recorder.Of("Field").size() + recorder.Of("Column ").size(),
                  0u)
            << "repeating the change announced something";
    }
}

TEST_F(ObservationTest, RowNoticesNameTheRowInsertedRemovedOrChanged) {
    const std::pair<const char*, Texts> cases[] = {
        {"Next Insert", {"Data Inserted 1"}},
        {"Append Cancel", {"Data Inserted 3", "Data Removed 3"}},
        {"Next Delete", {"Data Removed 1"}},
        {"Last Edit QTY=9 Post", {"Data Changed 2 QTY", "Data Changed 2"}},
        {"Edit CODE=Z Cancel", {"Data Changed 0 CODE", "Data Changed 0"}},
        {"Insert CODE=N Post", {"Data Inserted 0", "Data Changed 0 CODE", "Data Changed 0"}},
    };
    for (const auto& [script, expected] : cases) {
        SCOPED_TRACE(script);
        Restart();
        Recorder onData(cds);
        Recorder onGrid(grid);
        Do(script);
        EXPECT_EQ(onData.Of("Data"), expected);
        EXPECT_EQ(onGrid.Of("Data"), expected) << "the grid passes the dataset's notices on";
    }
    // A whole new content is announced as such.
    Recorder onData(cds);
    cds.SetData(test::ItemPacket({{"X", 1.0}}));
    EXPECT_EQ(onData.Of("Data").back(), "Data All");
}

TEST_F(ObservationTest, DisabledControlsHoldBackEveryNoticeAndSendOneWholeDataNotice) {
    Recorder onData(cds);
    Recorder onGrid(grid);
    int dataChanges = 0;
    dts.OnDataChange = [&](TDataSource&, TField*) { ++dataChanges; };
    Do("Disable Disable Edit CODE=X Post Next Append Cancel Delete");
    code.SetDisplayLabel("Código");
    cds.EnableControls();
    EXPECT_EQ(onData.notices.size() + dataChanges, 0u);
    cds.EnableControls();
    EXPECT_EQ(onData.notices, (Texts{"Data All"}));
    EXPECT_EQ(onGrid.Of("Data"), (Texts{"Data All"}));
    EXPECT_EQ(dataChanges, 1);
    EXPECT_EQ(grid.CellText(1, 0), "C");

    // Nothing changed while disabled: nothing to send; a surplus enable does no harm.
    onData.notices.clear();
    Do("Disable Enable Enable");
    EXPECT_TRUE(onData.notices.empty());
    EXPECT_FALSE(cds.ControlsDisabled());
    code.SetDisplayLabel({});
    dts.OnDataChange = nullptr;
}

TEST_F(ObservationTest, ARaisingObserverNeitherStopsTheOperationNorOtherObservers) {
    const int failing = cds.Subscribe([](TObservable&, Change what) {
        if (what == Change::Data) throw EDatabaseError("observador falhou");
    });
    Recorder later(cds);
    ASSERT_TRUE(User([&] { Do("Edit CODE=X QTY=8 Post"); }));
    cds.Unsubscribe(failing);
    EXPECT_EQ(test::StoredValues(cds, "QTY"), (Texts{"8", "2", "3"}));
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
    EXPECT_EQ(later.Of("Data").size(), 3u);
    EXPECT_EQ(DialogTexts(), (Texts{"observador falhou"})) << "reported once, afterwards";
}

TEST_F(ObservationTest, AddedColumnsAreAnnouncedAndReadByIndex) {
    Recorder onGrid(pageGrid);
    const int first = pageGrid.AddColumn("CODE");
    const int second = pageGrid.AddColumn("QTY");
    pageGrid.SetColumnWidth(first, 120);
    EXPECT_EQ(onGrid.notices, (Texts{"Columns 2 Added", "Columns 3 Added", "Columns 2 Width"}));
    EXPECT_EQ(pageGrid.Column(second).FieldName, "QTY");
}

} // namespace
} // namespace plat
