#include "ModelFixture.h"

namespace plat {
namespace {

using test::ItemPacket;
using test::StoredValues;
using Texts = std::vector<std::string>;

class ClientDataSetTest : public test::DataSetFixture {};

TEST_F(ClientDataSetTest, EventOrderOfEachOperation) {
    using enum TDataSetState;
    struct Case {
        const char* script; // run on row B
        const char* events;
        TDataSetState state;
        const char* current; // CODE of the current record afterwards
    };
    const Case cases[] = {
        {"Insert", "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll", Insert, ""},
        {"Edit", "BeforeEdit AfterEdit", Edit, "B"},
        {"Edit CODE=X Post", "BeforeEdit AfterEdit BeforePost AfterPost", Browse, "X"},
        {"Edit CODE=X Cancel", "BeforeEdit AfterEdit BeforeCancel AfterCancel", Browse, "B"},
        {"Insert CODE=N Forget Cancel", "BeforeCancel BeforeScroll AfterCancel AfterScroll", Browse,
         "B"},
        {"Delete", "BeforeDelete BeforeScroll AfterDelete AfterScroll", Browse, "C"},
        {"Next", "BeforeScroll AfterScroll", Browse, "C"},
        {"Last Forget Next", "BeforeScroll", Browse, "C"}, // no move at the end
        {"First Forget First", "BeforeScroll AfterScroll", Browse, "A"},
        {"Locate=B", "BeforeScroll AfterScroll", Browse, "B"}, // the current row again
        {"Locate=Z", "", Browse, "B"},
        // Moving while editing posts a modified record and cancels an unmodified one.
        {"Edit QTY=9 Next", "BeforeEdit AfterEdit BeforePost AfterPost BeforeScroll AfterScroll",
         Browse, "C"},
        {"Edit Prior", "BeforeEdit AfterEdit BeforeCancel AfterCancel BeforeScroll AfterScroll",
         Browse, "A"},
        {"Insert CODE=N Forget Insert",
         "BeforePost AfterPost BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll",
         Insert, ""},
        {"Edit CODE=X Forget Delete", "BeforeDelete BeforeScroll AfterDelete AfterScroll", Browse,
         "C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        log.Hook(cds);
        LoadAbc();
        Do("Next Forget");
        Do(c.script);
        EXPECT_EQ(Events(), c.events);
        EXPECT_EQ(cds.State(), c.state);
        EXPECT_EQ(code.AsString(), c.current);
    }
}

TEST_F(ClientDataSetTest, RaisingBeforeHandlerStopsTheOperationAndKeepsTheState) {
    using enum TDataSetState;
    using DS = TClientDataSet;
    struct Case {
        TClientDataSet::Event TClientDataSet::*handler;
        const char* prepare; // run on row B before the handler raises
        const char* action;
        TDataSetState state;
        const char* current;
    };
    const Case cases[] = {
        {&DS::BeforeInsert, "", "Insert", Browse, "B"},
        {&DS::BeforeScroll, "", "Append", Browse, "B"},
        {&DS::OnNewRecord, "", "Insert", Browse, "B"},
        {&DS::BeforeEdit, "", "Edit", Browse, "B"},
        {&DS::BeforePost, "Edit CODE=X", "Post", Edit, "X"},
        {&DS::BeforePost, "Edit CODE=X", "Next", Edit, "X"}, // the implicit post
        {&DS::BeforeCancel, "Edit CODE=X", "Cancel", Edit, "X"},
        {&DS::BeforeDelete, "", "Delete", Browse, "B"},
        {&DS::BeforeScroll, "", "Delete", Browse, "B"},
        {&DS::BeforeScroll, "", "Last", Browse, "B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.prepare) + " then " + c.action);
        log.Hook(cds); // drops the raising handler of the case before
        LoadAbc();
        cds.Next();
        Do(c.prepare);
        cds.*c.handler = [this](TClientDataSet&) {
            log.Add("raised");
            Abort();
        };
        log.Clear();
        EXPECT_THROW(Do(c.action), EAbort);
        EXPECT_EQ(log.Entries().back(), "raised") << "something ran after the raising handler";
        EXPECT_EQ(cds.State(), c.state);
        EXPECT_EQ(code.AsString(), c.current);
        EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "B", "C"}));
        EXPECT_EQ(cds.ChangeCount(), 0);
    }
}

TEST_F(ClientDataSetTest, EofBofTheUsualLoopAndWhereADeleteLeavesTheCursor) {
    LoadAbc();
    EXPECT_TRUE(cds.Bof());
    EXPECT_FALSE(cds.Eof());
    Texts seen;
    for (cds.First(); !cds.Eof(); cds.Next())
        seen.push_back(code.AsString());
    EXPECT_EQ(seen, (Texts{"A", "B", "C"}));
    EXPECT_EQ(code.AsString(), "C");
    EXPECT_EQ(cds.RecNo(), 3);
    cds.Prior();
    EXPECT_FALSE(cds.Eof() || cds.Bof());
    Do("Prior Prior");
    EXPECT_TRUE(cds.Bof());
    EXPECT_EQ(code.AsString(), "A");
    cds.Last();
    EXPECT_TRUE(cds.Eof());

    Do("First Next Delete");
    EXPECT_EQ(code.AsString(), "C") << "the row that followed";
    cds.Delete();
    EXPECT_EQ(code.AsString(), "A") << "the new last row";
    EXPECT_EQ(cds.RecordCount(), 1);
    cds.Delete();
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_EQ(cds.RecNo(), 0);
    EXPECT_TRUE(code.IsNull());
    EXPECT_THROW(cds.Delete(), EDatabaseError);
}

TEST_F(ClientDataSetTest, AnEmptyDataSetStandsAtBothEndsUntilARowIsBeingInserted) {
    log.Hook(cds);
    cds.SetData(ItemPacket({}));
    EXPECT_EQ(Events(), "BeforeOpen AfterOpen AfterScroll") << "an open scrolls, also when empty";
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_TRUE(cds.Eof() && cds.Bof());
    EXPECT_EQ(cds.RecNo(), 0);
    // A new record that fails leaves it as it was.
    cds.OnNewRecord = [](TClientDataSet&) { throw EDatabaseError("recusado"); };
    EXPECT_THROW(cds.Insert(), EDatabaseError);
    EXPECT_TRUE(cds.Eof() && cds.Bof() && cds.IsEmpty());
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
    cds.OnNewRecord = nullptr;

    cds.Insert();
    EXPECT_EQ(cds.RecordCount(), 0) << "a row being inserted is not counted";
    EXPECT_FALSE(cds.IsEmpty());
    cds.Cancel();
    EXPECT_TRUE(cds.IsEmpty());
    cds.Edit(); // on an empty dataset an edit inserts
    EXPECT_EQ(cds.State(), TDataSetState::Insert);
    Do("CODE=N Post");
    EXPECT_EQ(cds.RecordCount(), 1);
    Do("Append Delete"); // deleting a row being inserted drops it
    EXPECT_EQ(cds.RecordCount(), 1);
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
}

TEST_F(ClientDataSetTest, LocateByTextOrNumberOptionallyIgnoringCase) {
    cds.SetData(ItemPacket({{"ab", 1.0}, {"Ção", 2.5}, {"AB", 3.0}}));
    EXPECT_TRUE(cds.Locate("CODE", "AB", false));
    EXPECT_EQ(cds.RecNo(), 3);
    EXPECT_TRUE(cds.Locate("code", "AB", true)) << "field names ignore case too";
    EXPECT_EQ(cds.RecNo(), 1);
    EXPECT_TRUE(cds.Locate("CODE", "ção", true));
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_FALSE(cds.Locate("CODE", "ção", false));
    EXPECT_EQ(cds.RecNo(), 2) << "a failed locate leaves the cursor";
    EXPECT_TRUE(cds.Locate("QTY", "3", false));
    EXPECT_EQ(cds.RecNo(), 3);
    EXPECT_THROW(cds.Locate("NOPE", "x", false), EDatabaseError);
}

// A move made while a row is being inserted counts from the new row as the grid shows it:
// one row up from a new row appended at the end is the old last row, whether the new row
// was stored by the implicit post or dropped by the implicit cancel.
TEST_F(ClientDataSetTest, MoveFromARowBeingInsertedCountsFromThatRow) {
    const std::pair<const char*, const char*> cases[] = {
        {"Locate=C Append CODE=N Prior", "C"}, {"Locate=C Append Prior", "C"},
        {"Locate=B Insert CODE=N Next", "B"},  {"Locate=B Insert Next", "B"},
        {"Locate=B Insert CODE=N Prior", "A"}, {"Locate=B Insert Prior", "A"},
    };
    for (const auto& [script, current] : cases) {
        SCOPED_TRACE(script);
        LoadAbc();
        Do(script);
        EXPECT_EQ(cds.State(), TDataSetState::Browse);
        EXPECT_EQ(code.AsString(), current);
    }
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

TEST_F(ClientDataSetTest, ARelativeMoveCountsFromWhereTheImplicitPostLeftTheCursor) {
    LoadAbc();
    cds.AfterPost = [](TClientDataSet& ds) { ds.First(); };
    Do("Last Edit QTY=9");
    EXPECT_EQ(cds.MoveBy(-1), 0);
    EXPECT_EQ(code.AsString(), "A");
    EXPECT_TRUE(cds.Bof());
    Do("Edit QTY=8");
    EXPECT_EQ(cds.MoveBy(1), 1);
    EXPECT_EQ(code.AsString(), "B");
}

} // namespace
} // namespace plat
