#include "ModelFixture.h"

namespace plat {
namespace {

using test::ItemPacket;
using test::StoredValues;
using test::Texts;

class ClientDataSetTest : public test::DataSetFixture {};
class FieldTextTest : public test::DataSetFixture {};

TEST_F(ClientDataSetTest, EventOrderOfEachOperation) {
    using enum TDataSetState;
    // script run on row B, the events, the state and CODE of the current record afterwards
    const std::tuple<const char*, const char*, TDataSetState, const char*> cases[] = {
        {"Edit CODE=X Post", "BeforeEdit AfterEdit BeforePost AfterPost", Browse, "X"},
        {"Edit CODE=X Cancel", "BeforeEdit AfterEdit BeforeCancel AfterCancel", Browse, "B"},
        {"Insert CODE=N Forget Cancel", "BeforeCancel BeforeScroll AfterCancel AfterScroll", Browse,
         "B"},
        {"Delete", "BeforeDelete BeforeScroll AfterDelete AfterScroll", Browse, "C"},
        {"Next", "BeforeScroll AfterScroll", Browse, "C"},
        {"Last Forget Next", "BeforeScroll", Browse, "C"},     // no move at the end
        {"Locate=B", "BeforeScroll AfterScroll", Browse, "B"}, // the current row again
        {"Edit CODE=X Forget Load", "BeforeOpen AfterOpen AfterScroll", Browse, "A"}, // no cancel
        // Moving while editing posts a modified record and cancels an unmodified one.
        {"Edit QTY=9 Next", "BeforeEdit AfterEdit BeforePost AfterPost BeforeScroll AfterScroll",
         Browse, "C"},
        {"Edit Prior", "BeforeEdit AfterEdit BeforeCancel AfterCancel BeforeScroll AfterScroll",
         Browse, "A"},
        {"Insert CODE=N Forget Insert",
         "BeforePost AfterPost BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll",
         Insert, ""},
    };
    for (const auto& [script, events, state, current] : cases) {
        SCOPED_TRACE(script);
        log.Hook(cds);
        LoadAbc();
        Do("Next Forget");
        Do(script);
        EXPECT_EQ(Events(), events);
        EXPECT_EQ(cds.State(), state);
        EXPECT_EQ(code.AsString(), current);
        EXPECT_FALSE(cds.Modified());
    }
}

TEST_F(ClientDataSetTest, RaisingBeforeHandlerStopsTheOperationAndKeepsTheState) {
    using enum TDataSetState;
    using DS = TClientDataSet;
    // the handler that raises, what runs on row B before it does, the operation it stops,
    // and the state and CODE of the current record afterwards
    const std::tuple<DS::Event DS::*, const char*, const char*, TDataSetState, const char*>
        cases[] = {{&DS::BeforeInsert, "", "Insert", Browse, "B"},
                   {&DS::OnNewRecord, "", "Insert", Browse, "B"},
                   {&DS::BeforeEdit, "", "Edit", Browse, "B"},
                   {&DS::BeforePost, "Edit CODE=X", "Post", Edit, "X"},
                   {&DS::BeforePost, "Edit CODE=X", "Next", Edit, "X"}, // the implicit post
                   {&DS::BeforeCancel, "Edit CODE=X", "Cancel", Edit, "X"},
                   {&DS::BeforeDelete, "", "Delete", Browse, "B"},
                   {&DS::BeforeScroll, "", "Last", Browse, "B"}};
    for (const auto& [handler, prepare, action, state, current] : cases) {
        SCOPED_TRACE(std::string(prepare) + " then " + action);
        log.Hook(cds); // drops the raising handler of the case before
        LoadAbc();
        Do(std::string("Next ") + prepare);
        cds.*handler = [this](TClientDataSet&) {
            log.Add("raised");
            Abort();
        };
        log.Clear();
        EXPECT_THROW(Do(action), EAbort);
        EXPECT_TRUE(Events().ends_with("raised")) << "something ran after the raising handler";
        EXPECT_EQ(cds.State(), state);
        EXPECT_EQ(code.AsString(), current);
        EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "B", "C"}));
        EXPECT_EQ(cds.ChangeCount(), 0);
    }
}

TEST_F(ClientDataSetTest, EofBofADeleteOfTheLastRowAndTheEmptyDataSet) {
    LoadAbc();
    EXPECT_TRUE(cds.Bof() && !cds.Eof());
    Texts seen;
    for (cds.First(); !cds.Eof(); cds.Next())
        seen.push_back(code.AsString());
    EXPECT_EQ(seen, (Texts{"A", "B", "C"}));
    Do("Prior Prior Prior");
    EXPECT_TRUE(cds.Bof());

    Do("Last Delete");
    EXPECT_EQ(code.AsString(), "B") << "the new last row";
    Do("Delete Delete");
    EXPECT_TRUE(cds.IsEmpty() && cds.Eof() && cds.Bof());
    EXPECT_EQ(cds.RecNo(), 0);
    EXPECT_TRUE(code.IsNull());
    EXPECT_THROW(cds.Delete(), EDatabaseError);

    // An empty dataset stays empty until a row is being inserted.
    log.Hook(cds);
    cds.SetData(ItemPacket({}));
    EXPECT_EQ(Events(), "BeforeOpen AfterOpen AfterScroll") << "an open scrolls, also when empty";
    cds.OnNewRecord = [](TClientDataSet&) { throw EDatabaseError("recusado"); };
    EXPECT_THROW(cds.Insert(), EDatabaseError);
    EXPECT_TRUE(cds.Eof() && cds.Bof() && cds.IsEmpty()) << "a failed new record leaves it";
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
    cds.OnNewRecord = nullptr;

    cds.Insert();
    EXPECT_EQ(cds.RecordCount(), 0) << "a row being inserted is not counted";
    EXPECT_FALSE(cds.IsEmpty());
    cds.Cancel();
    cds.Edit(); // on an empty dataset an edit inserts
    EXPECT_EQ(cds.State(), TDataSetState::Insert);
    Do("CODE=N Post Append Delete"); // deleting a row being inserted drops it
    EXPECT_EQ(StoredValues(cds, "CODE"), Texts{"N"});
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
}

TEST_F(ClientDataSetTest, LocateByTextOrNumberOptionallyIgnoringCase) {
    cds.SetData(ItemPacket({{"ab", 1.0}, {"Ção", 2.5}, {"AB", 3.0}}));
    EXPECT_TRUE(cds.Locate("CODE", "AB", false));
    EXPECT_EQ(cds.RecNo(), 3);
    EXPECT_TRUE(cds.Locate("code", "ção", true)) << "field names ignore case too";
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_FALSE(cds.Locate("CODE", "ção", false));
    EXPECT_EQ(cds.RecNo(), 2) << "a failed locate leaves the cursor";
    EXPECT_TRUE(cds.Locate("QTY", "1", false));
    EXPECT_EQ(cds.RecNo(), 1);
    EXPECT_THROW(cds.Locate("NOPE", "x", false), EDatabaseError);
}

// A move from a row being inserted counts from that row, stored or dropped on the way; a move
// from an edited row counts from where the implicit post's handlers left the cursor.
TEST_F(ClientDataSetTest, MoveFromARowBeingInsertedOrPostedCountsFromThatRow) {
    const std::pair<const char*, const char*> cases[] = {
        {"Locate=C Append CODE=N Prior", "C"}, {"Locate=C Append Prior", "C"},
        {"Locate=B Insert CODE=N Next", "B"},  {"Locate=B Insert Next", "B"},
        {"Locate=B Insert CODE=N Prior", "A"}, {"Locate=B Insert Prior", "A"}};
    for (const auto& [script, current] : cases) {
        SCOPED_TRACE(script);
        LoadAbc();
        Do(script);
        EXPECT_EQ(cds.State(), TDataSetState::Browse);
        EXPECT_EQ(code.AsString(), current);
    }
    LoadAbc();
    cds.AfterPost = [](TClientDataSet& ds) { ds.First(); };
    Do("Last Edit QTY=9");
    EXPECT_EQ(cds.MoveBy(-1), 0);
    EXPECT_TRUE(cds.Bof());
    Do("Edit QTY=8");
    EXPECT_EQ(cds.MoveBy(1), 1);
    EXPECT_EQ(code.AsString(), "B");
}

TEST_F(ClientDataSetTest, MisuseIsRefusedWithAReadableError) {
    EXPECT_THROW(cds.Insert(), EDatabaseError) << "closed";
    EXPECT_THROW(cds.Next(), EDatabaseError) << "closed";
    LoadAbc();
    EXPECT_THROW(code.SetAsString("X"), EDatabaseError) << "not editing";
    EXPECT_THROW(cds.Post(), EDatabaseError) << "nothing to post";
    EXPECT_THROW(cds.FieldByName("NOPE"), EDatabaseError);
    EXPECT_THROW(cds.AddStringField("cdsItemNOVO", "NOVO", 2), EDatabaseError) << "open";
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
}

TEST_F(FieldTextTest, NumberTextIsItsShortestFormTextIsCutToTheSizeAndTypedTextIsRead) {
    cds.SetData(ItemPacket({{"A", nullptr}}));
    cds.Edit();
    qty.SetAsFloat(1.0 / 3); // written as FloatToStr writes it, at fifteen digits
    for (const std::string& text : {qty.AsString(), qty.Text(), qty.DisplayText()})
        EXPECT_EQ(text, "0.333333333333333");
    qty.SetText("2,5"); // typed numbers are read as StrToFloat reads them
    EXPECT_EQ(qty.AsFloat(), 2.5);
    EXPECT_THROW(qty.SetText("1e999"), EDatabaseError);
    EXPECT_EQ(qty.AsFloat(), 2.5) << "a refused text changes nothing";
    // Text fields hold their size in characters; a number written to one is stored as text.
    code.SetAsString("ÇÃOÉX");
    EXPECT_EQ(code.AsString(), "ÇÃOÉ");
    code.SetAsFloat(2.5);
    EXPECT_EQ(code.AsString(), "2.5");
}

TEST_F(FieldTextTest, TextGoesThroughTheHandlersAndAsStringDoesNot) {
    cds.SetData(ItemPacket({{"M", 1.0}}));
    code.OnGetText = [&](TField& sender, std::string& text, bool display) {
        text = sender.AsString() == "M" ? (display ? "Mensal" : "mensal") : sender.AsString();
    };
    code.OnSetText = [&](TField& sender, const std::string&) { sender.SetAsString("S"); };
    EXPECT_EQ(code.DisplayText(), "Mensal");
    EXPECT_EQ(code.Text(), "mensal");
    EXPECT_EQ(code.AsString(), "M");
    cds.Edit(); // SetText runs OnSetText in the grid tests' field checks
    code.SetAsString("Mensal");
    EXPECT_EQ(code.AsString(), "Mens") << "AsString bypasses the set-text handler";
}

// A write that leaves the value as it was runs no OnChange, announces nothing and leaves the
// record unmodified (leaving the row then cancels); an empty text leaves the field null.
TEST_F(FieldTextTest, OnChangeRunsOnlyWhenTheValueReallyChanges) {
    cds.SetData(ItemPacket({{"A", 1.0}}));
    int changes = 0, notices = 0;
    std::string seen;
    code.OnChange = qty.OnChange = [&](TField& sender) {
        ++changes;
        seen = sender.IsNull() ? "null" : sender.AsString(); // the new value is already in place
    };
    const int ticket = cds.Subscribe([&](TObservable&, Change) { ++notices; });
    cds.Edit();
    notices = 0;
    const std::tuple<const char*, std::function<void()>, int, const char*> writes[] = {
        {"the held values",
         [&] {
             code.SetAsString("A");
             qty.SetAsFloat(1);
             qty.SetText("1,0");
         },
         0, "A"},
        {"longer than the field", [&] { code.SetAsString("ABCDE"); }, 1, "ABCD"},
        {"the same cut as text", [&] { code.SetText("ABCDX"); }, 0, "ABCD"},
        {"no value", [&] { code.SetValue(Value{}); }, 1, "null"},
        {"cleared when null", [&] { code.Clear(); }, 0, "null"},
        {"empty when null", [&] { code.SetAsString(""); }, 0, "null"},
        {"another text", [&] { code.SetAsString("B"); }, 1, "B"},
        {"empty text", [&] { code.SetText(""); }, 1, "null"},
        {"blank number text", [&] { qty.SetText("   "); }, 1, "null"}};
    int expected = 0;
    for (const auto& [name, write, delta, value] : writes) {
        SCOPED_TRACE(name);
        write();
        expected += delta;
        if (expected == 0) {
            EXPECT_EQ(notices, 0);
            EXPECT_FALSE(cds.Modified());
        }
        EXPECT_EQ(changes, expected);
        EXPECT_EQ(code.IsNull() ? "null" : code.AsString(), value);
    }
    EXPECT_EQ(seen, "null");
    cds.Unsubscribe(ticket);
    cds.Post();
    EXPECT_EQ(cds.Delta()["changes"][0]["new"], (nlohmann::json{nullptr, nullptr}));
}

} // namespace
} // namespace plat
