#include "ModelFixture.h"
#include "PlatformTestSupport.h"

#include <limits>

namespace plat {
namespace {

using nlohmann::json;
using test::ItemPacket;
using test::StoredValues;
using test::Texts;

// What a dataset takes as data and gives back as data and as the delta of its changes.
class PacketTest : public test::DataSetFixture {};

// A dataset without fields takes them from the packet; columns match defined fields by name in
// any order, whatever size they declare; wider texts are kept as delivered, so the delta matches.
TEST_F(PacketTest, DataRoundTripsAndColumnsAreMatchedByName) {
    const json packet = ItemPacket({{"01", 1.0}, {"Ção", 2.5}, {nullptr, nullptr}, {"", -0.125}});
    TClientDataSet copy(&form, "cdsCopia");
    copy.SetData(packet);
    EXPECT_EQ(copy.Data(), packet);
    EXPECT_EQ(copy.FieldByName("CODE").Size(), 4);
    EXPECT_EQ(copy.FieldByName("QTY").DataType(), TFieldType::Float);
    copy.Next();
    EXPECT_EQ(copy.FieldByName("CODE").AsString(), "Ção");

    cds.SetData({{"fields",
                  {{{"name", "qty"}, {"type", "float"}},
                   {{"name", "EXTRA"}, {"type", "string"}, {"size", 1}},
                   {{"name", "code"}, {"type", "string"}, {"size", 2}}}},
                 {"rows", {{7.0, "x", "LONGCODE"}}}});
    EXPECT_EQ(cds.Data(), ItemPacket({{"LONGCODE", 7.0}}));
    Do("Edit QTY=8 Post");
    EXPECT_EQ(cds.Delta()["changes"],
              (json{{{"op", "update"}, {"old", {"LONGCODE", 7.0}}, {"new", {"LONGCODE", 8.0}}}}));
}

TEST_F(PacketTest, MalformedPacketIsRefusedAndLeavesTheDataSetAsItWas) {
    const json good = ItemPacket({{"Z", 1.0}});
    auto with = [&](const char* where, json value) {
        json packet = good;
        packet[json::json_pointer(where)] = std::move(value);
        return packet;
    };
    json twice = good; // a field named twice, in another letter case
    twice["fields"].push_back({{"name", "code"}, {"type", "string"}, {"size", 4}});
    twice["rows"][0].push_back("Y");
    const std::pair<const char*, json> cases[] = {
        {"not an object", json::array({1, 2})},
        {"no row list", json{{"fields", good["fields"]}}},
        {"field with an empty name", with("/fields/0/name", "")},
        {"text field of size 0", with("/fields/0/size", 0)},
        {"field named twice", twice},
        {"a defined field missing", with("/fields/1/name", "OTHER")},
        {"row too short", with("/rows/0", {"Z"})},
        {"text in a number field", with("/rows/0/1", "1")},
        {"number out of range", with("/rows/0/1", std::numeric_limits<double>::infinity())}};
    for (const auto& [name, packet] : cases) {
        SCOPED_TRACE(name);
        LoadAbc();
        log.Hook(cds);
        Do("Next Edit QTY=9 Post Forget");
        const json before = cds.Data();
        const std::string error = test::ErrorOf<EDatabaseError>([&] { cds.SetData(packet); });
        EXPECT_NE(error.find("Pacote de dados inválido"), std::string::npos) << error;
        EXPECT_EQ(Events(), "") << "events ran for a refused packet";
        EXPECT_EQ(cds.Data(), before);
        EXPECT_EQ(code.AsString(), "B");
        EXPECT_EQ(cds.ChangeCount(), 1);
    }
    // A dataset without fields takes none from a refused packet.
    TClientDataSet copy(&form, "cdsCopia");
    EXPECT_THROW(copy.SetData(with("/rows/0/0", 12)), EDatabaseError);
    EXPECT_TRUE(copy.Fields().empty());
    EXPECT_FALSE(copy.Active());
}

TEST_F(PacketTest, DeltaListsEachChangedRowOnceInTheOrderOfItsFirstChange) {
    LoadAbc();
    Do("Locate=B Edit QTY=20 Post  Append CODE=N QTY=5 Post  Locate=C Delete");
    Do("Locate=N Edit QTY=6 Post  Locate=B Edit QTY=21 Post"); // changed rows change again
    EXPECT_EQ(cds.ChangeCount(), 3);
    const json delta = cds.Delta();
    EXPECT_EQ(delta["changes"], (json{{{"op", "update"}, {"old", {"B", 2.0}}, {"new", {"B", 21.0}}},
                                      {{"op", "insert"}, {"new", {"N", 6.0}}},
                                      {{"op", "delete"}, {"old", {"C", 3.0}}}}));
    EXPECT_EQ(delta["fields"], cds.Data()["fields"]);

    // A deleted row goes with the values it had when loaded, not with its edits.
    LoadAbc();
    Do("Locate=B Edit QTY=20 Post Delete");
    EXPECT_EQ(cds.Delta()["changes"], (json{{{"op", "delete"}, {"old", {"B", 2.0}}}}));
}

TEST_F(PacketTest, ChangesThatCancelOutRecordNothing) {
    for (const char* script : {
             "Edit CODE=A QTY=1 Post",                   // the values it held
             "Edit CODE=X CODE=A Post",                  // changed back before posting
             "Edit QTY=7 Post Edit QTY=1 Post",          // changed back by a second post
             "Append CODE=N QTY=5 Post Locate=N Delete", // a new row deleted before being sent
         }) {
        SCOPED_TRACE(script);
        LoadAbc();
        Do(script);
        EXPECT_EQ(cds.ChangeCount(), 0);
        EXPECT_TRUE(cds.Delta()["changes"].empty());
    }
}

TEST_F(PacketTest, OldValueIsTheValueAsLastLoadedOrMerged) {
    LoadAbc();
    Do("Edit QTY=20 Post");
    EXPECT_EQ(qty.OldValue(), Value(1.0)) << "posting does not accept the change";
    cds.Insert();
    EXPECT_TRUE(IsNullValue(qty.OldValue())) << "a row being inserted has no old value";
    Do("CODE=N Post");
    EXPECT_TRUE(IsNullValue(code.OldValue())) << "a posted new row neither";
    cds.MergeChangeLog();
    EXPECT_EQ(code.OldValue(), Value(std::string("N")));
    EXPECT_EQ(cds.ChangeCount(), 0);
    Do("Locate=A");
    EXPECT_EQ(qty.OldValue(), Value(20.0));
}

// CancelUpdates returns to the data as last loaded or merged; it counts as a move only when
// the current row went away, and cancels an edit in progress.
TEST_F(PacketTest, CancelUpdatesReturnsToTheLastAcceptedData) {
    // steps run after a merge of "Edit QTY=10 Post" on A; events of CancelUpdates itself; CODE
    // and QTY of the current row afterwards
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Locate=B Edit QTY=20 Post", "", "B 2"},            // the edited row comes back
        {"Locate=B Delete", "", "C 3"},                      // a deleted row comes back
        {"Append CODE=N Post", "AfterScroll", "C 3"},        // the posted new row is gone
        {"First Insert CODE=M Post", "AfterScroll", "A 10"}, // likewise at the top
        // The cursor stays on the row that followed the deleted one.
        {"Locate=B Delete Edit QTY=30", "BeforeCancel AfterCancel", "C 3"},
        {"Locate=B Edit QTY=20 Post Append CODE=M Post Locate=C Delete Locate=B", "", "B 2"}};
    for (const auto& [steps, events, current] : cases) {
        SCOPED_TRACE(steps);
        log.Hook(cds);
        LoadAbc();
        Do("Edit QTY=10 Post");
        cds.MergeChangeLog();
        Do(steps);
        log.Clear();
        cds.CancelUpdates();
        EXPECT_EQ(Events(), events);
        EXPECT_EQ(code.AsString() + " " + qty.AsString(), current);
        EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "B", "C"}));
        EXPECT_EQ(StoredValues(cds, "QTY"), (Texts{"10", "2", "3"}));
        EXPECT_EQ(cds.ChangeCount(), 0);
        EXPECT_EQ(cds.State(), TDataSetState::Browse);
    }
}

} // namespace
} // namespace plat
