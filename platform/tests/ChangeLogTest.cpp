#include "ModelFixture.h"

namespace plat {
namespace {

using nlohmann::json;
using test::StoredValues;
using Texts = std::vector<std::string>;

class ChangeLogTest : public test::DataSetFixture {};

TEST_F(ChangeLogTest, DeltaListsEachChangedRowOnceInTheOrderOfItsFirstChange) {
    LoadAbc();
    Do("Locate=B Edit QTY=20 Post  Append CODE=N QTY=5 Post  Locate=C Delete");
    Do("Locate=N Edit QTY=6 Post  Locate=B Edit QTY=21 Post"); // changed rows change again
    EXPECT_EQ(cds.ChangeCount(), 3);
    const json expected = {
        {{"op", "update"}, {"old", {"B", 2.0}}, {"new", {"B", 21.0}}},
        {{"op", "insert"}, {"new", {"N", 6.0}}},
        {{"op", "delete"}, {"old", {"C", 3.0}}},
    };
    const json delta = cds.Delta();
    EXPECT_EQ(delta["changes"], expected);
    EXPECT_EQ(delta["fields"], cds.Data()["fields"]);
    EXPECT_EQ(delta["fields"][0], (json{{"name", "CODE"}, {"type", "string"}, {"size", 4}}));

    // A deleted row goes with the values it had when loaded, not with its edits.
    LoadAbc();
    Do("Locate=B Edit QTY=20 Post Delete");
    EXPECT_EQ(cds.Delta()["changes"], (json{{{"op", "delete"}, {"old", {"B", 2.0}}}}));
}

TEST_F(ChangeLogTest, ChangesThatCancelOutRecordNothing) {
    const char* const cases[] = {
        "Edit CODE=A QTY=1 Post",                   // the values it held
        "Edit CODE=X CODE=A Post",                  // changed back before posting
        "Edit QTY=7 Post Edit QTY=1 Post",          // changed back by a second post
        "Append CODE=N QTY=5 Post Locate=N Delete", // a new row deleted before being sent
        "Insert Post Delete",                       // the same without values
    };
    for (const char* script : cases) {
        SCOPED_TRACE(script);
        LoadAbc();
        Do(script);
        EXPECT_EQ(cds.ChangeCount(), 0);
        EXPECT_TRUE(cds.Delta()["changes"].empty());
    }
}

TEST_F(ChangeLogTest, OldValueIsTheValueAsLastLoadedOrMerged) {
    LoadAbc();
    Do("Edit QTY=20");
    EXPECT_EQ(qty.OldValue(), Value(1.0));
    cds.Post();
    EXPECT_EQ(qty.OldValue(), Value(1.0)) << "posting does not accept the change";
    cds.Insert();
    EXPECT_TRUE(IsNullValue(qty.OldValue())) << "a row being inserted has no old value";
    Do("CODE=N Post");
    EXPECT_TRUE(IsNullValue(code.OldValue())) << "a posted new row neither";
    cds.MergeChangeLog();
    EXPECT_EQ(code.OldValue(), Value(std::string("N")));
    Do("Locate=A");
    EXPECT_EQ(qty.OldValue(), Value(20.0));
}

TEST_F(ChangeLogTest, MergeAcceptsAndCancelUpdatesReturnsToTheLastAcceptedData) {
    LoadAbc();
    Do("Edit QTY=10 Post  Append CODE=N QTY=5 Post");
    cds.MergeChangeLog();
    EXPECT_EQ(cds.ChangeCount(), 0);
    EXPECT_TRUE(cds.Delta()["changes"].empty());

    Do("Locate=B Edit QTY=20 Post  Append CODE=M QTY=6 Post  Locate=C Delete");
    Do("Locate=N Edit QTY=50 Post  Locate=B");
    log.Hook(cds);
    cds.CancelUpdates();
    EXPECT_EQ(cds.ChangeCount(), 0);
    EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "B", "C", "N"}));
    EXPECT_EQ(StoredValues(cds, "QTY"), (Texts{"10", "2", "3", "5"}));
    EXPECT_EQ(code.AsString(), "B") << "the current row stays current where it still exists";
    EXPECT_EQ(qty.AsFloat(), 2.0);
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
    EXPECT_EQ(Events(), "");
}

TEST_F(ChangeLogTest, CancelUpdatesCountsAsAMoveOnlyWhenTheCurrentRowWentAway) {
    LoadAbc();
    log.Hook(cds);
    struct Case {
        const char* steps;   // run before CancelUpdates
        const char* events;  // events of CancelUpdates itself
        const char* current; // CODE and QTY of the current row afterwards
    };
    const Case cases[] = {
        {"Locate=B Edit QTY=20 Post", "", "B 2"},           // the edited row comes back
        {"Locate=B Delete", "", "C 3"},                     // a deleted row comes back
        {"Append CODE=N Post", "AfterScroll", "C 3"},       // the posted new row is gone
        {"First Insert CODE=M Post", "AfterScroll", "A 1"}, // likewise at the top
        // An edit in progress is cancelled; the cursor stays on the row that followed the
        // deleted one.
        {"Locate=B Delete Edit QTY=30", "BeforeCancel AfterCancel", "C 3"},
    };
    for (const Case& c : cases) {
        Do(c.steps);
        log.Clear();
        cds.CancelUpdates();
        EXPECT_EQ(Events(), c.events) << c.steps;
        EXPECT_EQ(code.AsString() + " " + qty.AsString(), c.current) << c.steps;
        EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "B", "C"})) << c.steps;
        EXPECT_EQ(cds.ChangeCount(), 0) << c.steps;
    }
}

TEST_F(ChangeLogTest, ValuesLongerThanTheirFieldAreKeptAsDeliveredSoTheDeltaMatchesTheStore) {
    // Data taken over from older systems may hold texts wider than the field.
    cds.SetData(test::ItemPacket({{"LONGCODE", 1.0}}));
    EXPECT_EQ(code.AsString(), "LONGCODE");
    Do("Edit QTY=2 Post");
    const nlohmann::json change = cds.Delta()["changes"][0];
    EXPECT_EQ(change["old"][0], "LONGCODE");
    EXPECT_EQ(change["new"][0], "LONGCODE");
}

} // namespace
} // namespace plat
